#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "TestSupport.h"

namespace {
struct LocalePtBR {
    LocalePtBR() { setenv("LC_ALL", "pt_BR.UTF-8", 1); }
    ~LocalePtBR() { unsetenv("LC_ALL"); }
};
std::string Dado(const std::string& n) { return DadosTeste("vetor/" + n); }
}  // namespace

TEST(CliVetor, IdrisiParaVetInfoEDeVolta) {
    LocalePtBR br;
    PastaTemporaria tmp;
    ResultadoCli r = RodarCli({"vetor-importar", Dado("rio.vec"), tmp.Arquivo("rio.vet")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Importação finalizada com sucesso: 2 linhas e 5 pontos gravados em " +
                           tmp.Arquivo("rio.vet") + "\n");

    r = RodarCli({"vetor-info", tmp.Arquivo("rio.vet")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Arquivo: " + tmp.Arquivo("rio.vet") + "\n"
                       "Título: Arquivo gerado da importação do arquivo rio.vec\n"
                       "Unidade: m\n"
                       "Linhas: 2\nPontos: 5\n"
                       "X mínimo: 0\nX máximo: 10\nY mínimo: 0\nY máximo: 10\n"
                       "Linha 1: 3 pontos, comprimento 11,00, cota 100\n"
                       "Linha 2: 2 pontos, comprimento 5,00, cota 95\n"
                       "Comprimento total: 16,00\n");

    // Back to Idrisi: the same blocks, byte for byte, and a .dvc beside them.
    r = RodarCli({"vetor-exportar", tmp.Arquivo("rio.vet"), tmp.Arquivo("volta.vec"), "--titulo", "Volta"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Exportação finalizada com sucesso: " + tmp.Arquivo("volta.vec") + " e " +
                           tmp.Arquivo("volta.dvc") + "\n");
    EXPECT_EQ(LerArquivo(tmp.Arquivo("volta.vec")), LerArquivo(Dado("rio.vec")));
    std::string doc = LerArquivo(tmp.Arquivo("volta.dvc"));
    EXPECT_EQ(doc.substr(0, 21), "file title  : Volta\r\n");
    EXPECT_NE(doc.find("max. X      : 10.00000000\r\n"), std::string::npos);
}

TEST(CliVetor, SurferParaVetEDeVoltaEmQuilometros) {
    PastaTemporaria tmp;
    ResultadoCli r = RodarCli({"vetor-importar", Dado("curvas.txt"), tmp.Arquivo("c.vet"), "--unidade", "km",
                               "--titulo", "Curvas"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Importação finalizada com sucesso: 2 linhas e 5 pontos gravados em " +
                           tmp.Arquivo("c.vet") + "\n");
    r = RodarCli({"vetor-exportar", tmp.Arquivo("c.vet"), tmp.Arquivo("c.txt")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    std::string t = LerArquivo(tmp.Arquivo("c.txt"));
    EXPECT_EQ(t.substr(0, 13 + 71), "\"X\" \"Y\" \"Z\"\r\n"
                                    " 5.00000000000000E+0002 7.00000000000000E+0003 6.10000000000000E+0002\r\n");
    EXPECT_EQ(t.size(), 13u + 5 * 71);
    r = RodarCli({"vetor-importar", tmp.Arquivo("c.txt"), tmp.Arquivo("d.vet"), "--unidade", "km",
                  "--titulo", "Curvas"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerArquivo(tmp.Arquivo("d.vet")), LerArquivo(tmp.Arquivo("c.vet")));
}

TEST(CliVetor, ErrosDeUsoEArquivosDanificados) {
    PastaTemporaria tmp;
    auto erro = [](std::vector<std::string> a) {
        ResultadoCli r = RodarCli(a);
        EXPECT_EQ(r.codigo, 1);
        return r.erro;
    };
    EXPECT_EQ(erro({"vetor-importar", tmp.Arquivo("nao.vec"), tmp.Arquivo("a.vet")}),
              "vandoro-cli: Arquivo de entrada inválido.\n");
    EXPECT_EQ(erro({"vetor-importar", Dado("rio.vec"), tmp.Arquivo("a.txt")}),
              "vandoro-cli: Arquivo de saída inválido.\n");
    EXPECT_EQ(erro({"vetor-importar", Dado("curvas.txt"), tmp.Arquivo("a.vet"), "--unidade", "mi"}),
              "vandoro-cli: Valor inválido para --unidade: 'mi' (use m ou km).\n");
    EXPECT_EQ(erro({"vetor-importar", Dado("rio.dvc"), tmp.Arquivo("a.vet")}),
              "vandoro-cli: Formato de entrada desconhecido: use .vec (Idrisi) ou .txt (Surfer).\n");
    EXPECT_EQ(erro({"vetor-exportar", Dado("rio.vec"), tmp.Arquivo("a.doc")}),
              "vandoro-cli: Formato de saída desconhecido: use .vec (Idrisi), .txt (Surfer), .gpkg (GeoPackage), "
              ".shp (Shapefile), .geojson (GeoJSON), .kml (KML), .gpx (GPX) ou .dxf (DXF).\n");

    GravarArquivo(tmp.Arquivo("curto.vet"), std::string(40, '\1'));
    EXPECT_EQ(erro({"vetor-info", tmp.Arquivo("curto.vet")}),
              "vandoro-cli: Erro ao carregar arquivo. O cabeçalho de 'curto.vet' está incompleto (40 de 527 "
              "bytes).\n");
    std::string v2(527, '\0');
    v2[0] = 2;
    GravarArquivo(tmp.Arquivo("v2.vet"), v2);
    EXPECT_EQ(erro({"vetor-exportar", tmp.Arquivo("v2.vet"), tmp.Arquivo("a.txt")}),
              "vandoro-cli: A versão do arquivo v2.vet é inválida (2; só a versão 1 é lida).\n");

    // A block that announces more points than the file holds; nothing is written.
    float blocos[] = {7, 5000000, 1, 2};
    std::string vec(reinterpret_cast<const char*>(blocos), sizeof blocos);
    GravarArquivo(tmp.Arquivo("t.vec"), vec);
    GravarArquivo(tmp.Arquivo("t.dvc"), LerArquivo(Dado("rio.dvc")));
    EXPECT_EQ(erro({"vetor-importar", tmp.Arquivo("t.vec"), tmp.Arquivo("t.vet")}),
              "vandoro-cli: O arquivo 't.vec' está truncado ou danificado: o bloco 1 anuncia 5000000 pontos e só "
              "há dados para 1.\n");
    EXPECT_FALSE(std::ifstream(tmp.Arquivo("t.vet")).good());
}

#include <gtest/gtest.h>

#include <cstdlib>

#include "TestSupport.h"

namespace {
// The command line takes its number format from the locale.
struct LocalePtBR {
    LocalePtBR() { setenv("LC_ALL", "pt_BR.UTF-8", 1); }
    ~LocalePtBR() { unsetenv("LC_ALL"); }
};
}  // namespace

TEST(CliRaster, InfoMostraCabecalhoFaixaMediaEValidas) {
    LocalePtBR br;
    std::string arq = DadosTeste("raster/canto.asc");
    ResultadoCli r = RodarCli({"raster-info", arq});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro, "");  // no progress bar when stderr is not a terminal
    EXPECT_EQ(r.saida, "Arquivo: " + arq + "\n"
                       "Formato: ArcView ASCII (.asc)\n"
                       "Título: Arquivo importado do ArcView - canto.asc\n"
                       "Tipo de célula: real de 32 bits (R)\n"
                       "Colunas: 3\nLinhas: 2\n"
                       "X mínimo: 100\nX máximo: 130\nY mínimo: 200\nY máximo: 220\n"
                       "Tamanho da célula: 10 x 10\n"
                       "Unidade: m\n"
                       "Sistema de coordenadas: não declarado\n"
                       "Valor sem dado: -9999\n"
                       "Células válidas: 5 de 6\n"
                       "Valor mínimo: 1,5\nValor máximo: 6\nValor médio: 3,75\n");
}

TEST(CliRaster, ConverteEntreFormatosPelaExtensao) {
    LocalePtBR br;
    PastaTemporaria tmp;
    // Surfer -> Idrisi -> ArcView float -> ArcView ASCII keeps cells and row order.
    ResultadoCli r = RodarCli({"raster-converter", DadosTeste("raster/tres.grd"), tmp.Arquivo("a.img")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Imagem de 2 colunas × 3 linhas gravada em " + tmp.Arquivo("a.img") + "\n");
    ASSERT_EQ(RodarCli({"raster-converter", tmp.Arquivo("a.doc"), tmp.Arquivo("b.flt")}).codigo, 0);
    ASSERT_EQ(RodarCli({"raster-converter", tmp.Arquivo("b.hdr"), tmp.Arquivo("c.asc")}).codigo, 0);
    std::string asc = LerArquivo(tmp.Arquivo("c.asc"));
    EXPECT_NE(asc.find("\n5\t6\t\n3\t4\t\n1\t2\t\n"), std::string::npos) << asc;
    r = RodarCli({"raster-info", tmp.Arquivo("c.asc")});
    EXPECT_NE(r.saida.find("Células válidas: 6 de 6\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Valor médio: 3,5\n"), std::string::npos) << r.saida;
}

// No-data survives every conversion: the same valid cells and statistics come back.
TEST(CliRaster, SemDadoAtravesDasConversoes) {
    LocalePtBR br;
    PastaTemporaria tmp;
    auto estatisticas = [](const std::string& arq) {
        std::string s = RodarCli({"raster-info", arq}).saida;
        size_t p = s.find("Células válidas");
        return p == std::string::npos ? s : s.substr(p);
    };
    const std::string origem = DadosTeste("raster/canto.asc");
    const std::string esperado = estatisticas(origem);
    ASSERT_EQ(esperado, "Células válidas: 5 de 6\nValor mínimo: 1,5\nValor máximo: 6\nValor médio: 3,75\n");
    for (const char* meio : {"m.doc", "m.grd", "m.flt"}) {
        SCOPED_TRACE(meio);
        ASSERT_EQ(RodarCli({"raster-converter", origem, tmp.Arquivo(meio)}).codigo, 0);
        EXPECT_EQ(estatisticas(tmp.Arquivo(meio)), esperado);
        ASSERT_EQ(RodarCli({"raster-converter", tmp.Arquivo(meio), tmp.Arquivo("volta.asc")}).codigo, 0);
        EXPECT_EQ(estatisticas(tmp.Arquivo("volta.asc")), esperado);
    }
    // A slope of the Idrisi copy: the steepest cell is 2 m with 5.25 m 10 m below it,
    // 32.5 %; a -9999 taken as elevation would give some hundred thousand per cent.
    ASSERT_EQ(RodarCli({"declividade", tmp.Arquivo("m.doc"), tmp.Arquivo("d.asc")}).codigo, 0);
    EXPECT_NE(estatisticas(tmp.Arquivo("d.asc")).find("Valor máximo: 32,5\n"), std::string::npos)
        << estatisticas(tmp.Arquivo("d.asc"));
}

TEST(CliRaster, ConversaoNaoGravaSobreAEntrada) {
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("a.doc"), LerArquivo(DadosTeste("raster/morro.doc")));
    GravarArquivo(tmp.Arquivo("a.img"), LerArquivo(DadosTeste("raster/morro.img")));
    for (const char* saida : {"a.img", "a.doc", "./a.IMG"}) {
        ResultadoCli r = RodarCli({"raster-converter", tmp.Arquivo("a.doc"), tmp.Arquivo(saida)});
        EXPECT_EQ(r.codigo, 1) << saida;
        EXPECT_EQ(r.erro, "vandoro-cli: A entrada e a saída são o mesmo arquivo.\n") << saida;
    }
    EXPECT_EQ(LerArquivo(tmp.Arquivo("a.img")), LerArquivo(DadosTeste("raster/morro.img")));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("a.doc")), LerArquivo(DadosTeste("raster/morro.doc")));
    ResultadoCli r = RodarCli({"raster-converter", tmp.Arquivo("a.doc"), tmp.Arquivo("b.doc"), "--unidade", "pés"});
    EXPECT_EQ(r.erro, "vandoro-cli: Unidade de distância inválida: 'pés' (use m ou km).\n");
}

TEST(CliRaster, ErrosEmUmaLinha) {
    PastaTemporaria tmp;
    ResultadoCli r = RodarCli({"raster-info", tmp.Arquivo("nada.asc")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: O arquivo " + tmp.Arquivo("nada.asc") + " não existe.\n");
    r = RodarCli({"raster-converter", DadosTeste("raster/canto.asc"), tmp.Arquivo("x.ras")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Formato de saída desconhecido: " + tmp.Arquivo("x.ras") +
                          " (use .asc ou .hdr/.flt do ArcView, .doc/.img do Idrisi, .grd do Surfer ou .tif).\n");
    r = RodarCli({"raster-converter", DadosTeste("raster/canto.asc"), tmp.Arquivo("x.rst")});
    EXPECT_EQ(r.erro, "vandoro-cli: Não implementado.\n");
    r = RodarCli({"raster-info", DadosTeste("raster/truncado.asc")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Erro no arquivo truncado.asc: fim inesperado dos dados "
                      "(esperados 6 valores, lidos 5).\n");
    r = RodarCli({"raster-info"});
    EXPECT_EQ(r.erro, "vandoro-cli: Uso: vandoro-cli raster-info ARQUIVO\n");
}

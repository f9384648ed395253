// Damaged files through the commands that read them: each is refused (or, for a damaged
// terrace table beside a good vector, dropped with a warning) with its own name and the
// fault, and nothing is written. Beside them, valid files with awkward names and
// Windows-1252 text that must be read correctly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

struct Caso {
    std::string comando, entrada, saida, nome, trecho;
    int codigo = 1;
};

std::vector<Caso> Casos() {
    std::ifstream f(DadosTeste("malformados/casos.txt"));
    std::vector<Caso> casos;
    std::string linha;
    while (std::getline(f, linha)) {
        if (linha.empty() || linha[0] == '#') continue;
        std::vector<std::string> c;
        std::stringstream s(linha);
        for (std::string campo; std::getline(s, campo, '|');) c.push_back(campo);
        if (c.size() != 6) {
            ADD_FAILURE() << "linha mal formada em casos.txt: " << linha;
            continue;
        }
        casos.push_back({c[0], c[1], c[2], c[4], c[5], std::stoi(c[3])});
    }
    return casos;
}

}  // namespace

TEST(CliMalformados, CadaArquivoDanificadoERecusadoComSeuNomeESemSaida) {
    const std::vector<Caso> casos = Casos();
    ASSERT_GE(casos.size(), 60u);
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.entrada);
        PastaTemporaria tmp;
        std::vector<std::string> args = {c.comando, DadosTeste("malformados/" + c.entrada)};
        if (!c.saida.empty()) args.push_back(tmp.Arquivo(c.saida));
        // A damaged file is refused at once: no hang, no memory taken by what it claims.
        const ResultadoCli r = RodarCli(args, 60);
        EXPECT_FALSE(r.passouDoTempo);
        EXPECT_LT(r.memoriaKb, 400 * 1024);
        EXPECT_EQ(r.codigo, c.codigo) << r.saida << r.erro;
        if (c.codigo != 0) {
            EXPECT_EQ(r.erro.rfind("vandoro-cli: ", 0), 0u) << r.erro;
            EXPECT_NE(r.erro.find(c.nome), std::string::npos) << r.erro;
            EXPECT_NE(r.erro.find(c.trecho), std::string::npos) << r.erro;
            EXPECT_TRUE(fs::is_empty(tmp.Caminho())) << "saída gravada por " << c.entrada;
        } else {
            // The export goes on without the table and says why.
            EXPECT_NE(r.saida.find("Aviso: A tabela dos terraços " + c.nome + " está danificada"), std::string::npos)
                << r.saida;
            EXPECT_NE(r.saida.find(c.trecho), std::string::npos) << r.saida;
            EXPECT_NE(r.saida.find("A tabela foi ignorada"), std::string::npos) << r.saida;
        }
    }
}

// An ArcView ASCII grid without NODATA_value: -9999 is its no-data value, so an edge of
// -9999 is neither a cliff for the slope nor blurred into the filter's cells.
TEST(CliMalformados, GradeAscSemNodataTemMenos9999ComoSemDado) {
    PastaTemporaria tmp;
    const std::string entrada = DadosTeste("malformados/validos/relevo sem NODATA com bordas -9999.asc");
    ResultadoCli r = RodarCli({"raster-info", entrada});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Valor sem dado: -9999\n"), std::string::npos) << r.saida;
    // Inner 3 x 2 cells of 1000 + 3c + 7r (c = 1..3, r = 1..2).
    EXPECT_NE(r.saida.find("Células válidas: 6 de 20\nValor mínimo: 1010\nValor máximo: 1023\n"), std::string::npos)
        << r.saida;

    r = RodarCli({"declividade", entrada, tmp.Arquivo("d.asc")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    r = RodarCli({"raster-info", tmp.Arquivo("d.asc")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    // Rises of 3 m east and 7 m south over 10 m cells: at most √(0,3² + 0,7²) = 76 %, never
    // the thousands of per cent a -9999 neighbour would give.
    const auto p = r.saida.find("Valor máximo: ");
    ASSERT_NE(p, std::string::npos) << r.saida;
    EXPECT_LT(std::stod(r.saida.substr(p + 14)), 77.0) << r.saida;

    r = RodarCli({"filtro", entrada, tmp.Arquivo("f.asc")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    r = RodarCli({"raster-info", tmp.Arquivo("f.asc")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    // The mean of cells between 1010 and 1023 stays between them.
    const auto mn = r.saida.find("Valor mínimo: ");
    ASSERT_NE(mn, std::string::npos) << r.saida;
    EXPECT_GE(std::stod(r.saida.substr(mn + 14)), 1010.0) << r.saida;
}

TEST(CliMalformados, ArquivosValidosComNomesAcentuadosEComQuebraDeLinha) {
    PastaTemporaria tmp;
    // A folder whose name holds a blank, accents and a newline.
    const std::string pasta = tmp.Arquivo("Fazenda São João\nTalhão 2");
    fs::create_directories(pasta);
    const std::string validos = DadosTeste("malformados/validos/");
    for (const char* n : {"Relevo da Fazenda São João.asc", "São José dos Pinhais.doc", "São José dos Pinhais.img",
                          "curvas de nível.vec", "curvas de nível.dvc", "terraços com tabela.vet",
                          "terraços com tabela.bdt"})
        fs::copy_file(validos + n, pasta + "/" + n);

    // A UTF-8 byte-order mark before the header is no key.
    ResultadoCli r = RodarCli({"raster-info", pasta + "/Relevo da Fazenda São João.asc"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Colunas: 5\nLinhas: 4\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Células válidas: 20 de 20\nValor mínimo: 1000\nValor máximo: 1033\n"),
              std::string::npos)
        << r.saida;

    // The Idrisi title is Windows-1252 in the file, UTF-8 on the screen.
    r = RodarCli({"raster-info", pasta + "/São José dos Pinhais.doc"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Título: Relevo do Córrego Água Branca\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Tamanho da célula: 10 x 10\n"), std::string::npos) << r.saida;
    r = RodarCli({"declividade", pasta + "/São José dos Pinhais.doc", pasta + "/declive ç.asc"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_TRUE(fs::exists(pasta + "/declive ç.asc"));

    // Two blocks of 3 and 2 points become two lines of the .vet.
    r = RodarCli({"vetor-importar", pasta + "/curvas de nível.vec", pasta + "/curvas.vet"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("2 linhas e 5 pontos"), std::string::npos) << r.saida;

    // A good table beside its vector goes into the GIS file with no warning.
    r = RodarCli({"vetor-exportar", pasta + "/terraços com tabela.vet", pasta + "/terraços.geojson"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida.find("danificada"), std::string::npos) << r.saida;
    EXPECT_EQ(r.saida.find("Sem a tabela"), std::string::npos) << r.saida;
    const std::string sig = LerArquivo(pasta + "/terraços.geojson");
    EXPECT_NE(sig.find("1200"), std::string::npos) << sig;  // the area of the table's strips
}

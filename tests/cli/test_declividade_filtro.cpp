#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"

namespace {
const std::string kCabecalho3 =
    "ncols         3\r\nnrows         3\r\n"
    "xllcorner      0.00000000000000E+0000\r\nyllcorner      0.00000000000000E+0000\r\n"
    "cellsize       1.00000000000000E+0001\r\nNODATA_value  -9.90000000000000E+0001\r\n";
}  // namespace

TEST(CliDeclividadeFiltro, DeclividadeRealEInteiraPeloTipoDaEntrada) {
    PastaTemporaria tmp;
    ResultadoCli r = RodarCli({"declividade", DadosTeste("raster/declive3.asc"), tmp.Arquivo("r.asc")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Cálculo de declividade finalizado com sucesso.\n");
    EXPECT_EQ(r.erro, "");  // no progress bar when stderr is not a terminal
    EXPECT_EQ(LerArquivo(tmp.Arquivo("r.asc")),
              kCabecalho3 +
                  "70.7106781005859\t100\t70.7106781005859\t\n"
                  "100\t100\t100\t\n"
                  "70.7106781005859\t100\t70.7106781005859\t\n");

    r = RodarCli({"declividade", DadosTeste("raster/declive3i.doc"), tmp.Arquivo("i.doc"), "--titulo", "Declive"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    std::string doc = LerArquivo(tmp.Arquivo("i.doc"));
    EXPECT_EQ(doc.rfind("file title  : Declive\r\ndata type   : real\r\n", 0), 0u) << doc;
    EXPECT_NE(doc.find("min. value  :  2.35702247619629E+0001\r\n"), std::string::npos) << doc;
    EXPECT_NE(doc.find("max. value  :  1.00000000000000E+0002\r\n"), std::string::npos) << doc;
    // The dialog's title when none is given.
    ASSERT_EQ(RodarCli({"declividade", DadosTeste("raster/declive3i.doc"), tmp.Arquivo("t.doc")}).codigo, 0);
    EXPECT_EQ(LerArquivo(tmp.Arquivo("t.doc")).rfind(
                  "file title  : Imagem declividade gerada do arquivo imagem de eleva\xE7\xE3o declive3i.doc\r\n", 0),
              0u);
}

TEST(CliDeclividadeFiltro, ErrosDaDeclividade) {
    PastaTemporaria tmp;
    ResultadoCli r = RodarCli({"declividade", DadosTeste("raster/byte3.doc"), tmp.Arquivo("s.asc")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Arquivo especificado é do tipo byte. Utilize um arquivo do tipo inteiro ou real.\n");
    r = RodarCli({"declividade", DadosTeste("raster/pes.doc"), tmp.Arquivo("s.asc")});
    EXPECT_EQ(r.erro, "vandoro-cli: A unidade de distância utilizada na imagem é inválida\n");
    r = RodarCli({"declividade", tmp.Arquivo("nada.asc"), tmp.Arquivo("s.asc")});
    EXPECT_EQ(r.erro, "vandoro-cli: Arquivo de entrada inválido.\n");
    r = RodarCli({"declividade", DadosTeste("raster/declive3.asc"), tmp.Arquivo("s.ras")});
    EXPECT_EQ(r.erro, "vandoro-cli: Formato de saída desconhecido: " + tmp.Arquivo("s.ras") +
                          " (use .asc ou .hdr/.flt do ArcView, .doc/.img do Idrisi, .grd do Surfer ou .tif).\n");
    r = RodarCli({"declividade", DadosTeste("raster/declive3.asc"), DadosTeste("raster/declive3.asc")});
    EXPECT_EQ(r.erro, "vandoro-cli: A entrada e a saída são o mesmo arquivo.\n");
    r = RodarCli({"declividade", DadosTeste("raster/declive3.asc")});
    EXPECT_EQ(r.erro, "vandoro-cli: Uso: vandoro-cli declividade ENTRADA SAIDA [--titulo T] [--threads N]\n");
    EXPECT_FALSE(std::filesystem::exists(tmp.Arquivo("s.asc")));
}

TEST(CliDeclividadeFiltro, FiltroPassadasETitulo) {
    PastaTemporaria tmp;
    ResultadoCli r = RodarCli({"filtro", DadosTeste("raster/filtro3.asc"), tmp.Arquivo("um.asc")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Processo de filtragem finalizado com sucesso.\n");
    EXPECT_EQ(r.erro, "");
    EXPECT_EQ(LerArquivo(tmp.Arquivo("um.asc")),
              kCabecalho3 + "3.25\t2.5\t3.25\t\n2.5\t2\t2.5\t\n3.25\t2.5\t3.25\t\n");
    // Two passes are one pass applied to the one-pass result.
    ASSERT_EQ(RodarCli({"filtro", DadosTeste("raster/filtro3.asc"), tmp.Arquivo("dois.asc"), "--passadas", "2"}).codigo, 0);
    ASSERT_EQ(RodarCli({"filtro", tmp.Arquivo("um.asc"), tmp.Arquivo("um_um.asc")}).codigo, 0);
    EXPECT_EQ(LerArquivo(tmp.Arquivo("dois.asc")), LerArquivo(tmp.Arquivo("um_um.asc")));
    EXPECT_NE(LerArquivo(tmp.Arquivo("dois.asc")), LerArquivo(tmp.Arquivo("um.asc")));

    ASSERT_EQ(RodarCli({"filtro", DadosTeste("raster/filtro3i.doc"), tmp.Arquivo("i.doc"), "--titulo", "Suave"}).codigo, 0);
    EXPECT_EQ(LerArquivo(tmp.Arquivo("i.doc")).rfind("file title  : Suave\r\ndata type   : real\r\n", 0), 0u);
    ASSERT_EQ(RodarCli({"filtro", DadosTeste("raster/filtro3.asc"), tmp.Arquivo("r.doc")}).codigo, 0);
    EXPECT_EQ(LerArquivo(tmp.Arquivo("r.doc")).rfind("file title  : Imagem filtrada da imagem filtro3.asc\r\n", 0), 0u);

    for (const char* n : {"0", "51", "99999999999"}) {
        r = RodarCli({"filtro", DadosTeste("raster/filtro3.asc"), tmp.Arquivo("x.asc"), "--passadas", n});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.erro, "vandoro-cli: O número de filtragens deve estar entre 1 e 50.\n") << n;
    }
    r = RodarCli({"filtro", DadosTeste("raster/byte3.doc"), tmp.Arquivo("x.asc")});
    EXPECT_EQ(r.erro, "vandoro-cli: Arquivo especificado é do tipo byte. Utilize um arquivo do tipo inteiro ou real.\n");
    EXPECT_FALSE(std::filesystem::exists(tmp.Arquivo("x.asc")));
}

// An output that reaches a file of the input is refused before anything is written, however
// it is spelt, and the input stays byte for byte.
TEST(CliDeclividadeFiltro, SaidaQueAtingeAEntradaERecusada) {
    PastaTemporaria tmp;
    namespace fs = std::filesystem;
    auto copia = [&](const std::string& de, const std::string& para) {
        GravarArquivo(tmp.Arquivo(para), LerArquivo(DadosTeste("raster/" + de)));
    };
    copia("declive3i.doc", "sqc.doc");
    copia("declive3i.img", "sqc.img");
    copia("plano.hdr", "hc.hdr");
    copia("plano.flt", "hc.flt");
    copia("declive3.asc", "d.asc");
    fs::create_symlink(tmp.Arquivo("d.asc"), tmp.Arquivo("ligacao.asc"));
    fs::create_directory(tmp.Arquivo("sub"));
    const std::vector<std::string> entradas = {"sqc.doc", "sqc.img", "hc.hdr", "hc.flt", "d.asc"};
    std::vector<std::string> antes;
    for (const std::string& n : entradas) antes.push_back(LerArquivo(tmp.Arquivo(n)));
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"sqc.doc", "sqc.img"},  {"sqc.img", "sqc.doc"},    {"hc.hdr", "hc.flt"},
        {"hc.flt", "hc.hdr"},    {"d.asc", "sub/../d.asc"}, {"d.asc", "ligacao.asc"},
        {"ligacao.asc", "d.asc"}};
    for (const char* comando : {"declividade", "filtro"}) {
        for (const auto& [entrada, saida] : casos) {
            SCOPED_TRACE(std::string(comando) + " " + entrada + " " + saida);
            ResultadoCli r = RodarCli({comando, tmp.Arquivo(entrada), tmp.Arquivo(saida)});
            EXPECT_EQ(r.codigo, 1);
            EXPECT_EQ(r.erro, "vandoro-cli: A entrada e a saída são o mesmo arquivo.\n");
            EXPECT_EQ(r.saida, "");
        }
    }
    for (size_t i = 0; i < entradas.size(); ++i) EXPECT_EQ(LerArquivo(tmp.Arquivo(entradas[i])), antes[i]) << entradas[i];
    EXPECT_TRUE(fs::is_symlink(tmp.Arquivo("ligacao.asc")));
}

TEST(CliDeclividadeFiltro, GradeDoSurferPedeConversaoComUnidade) {
    PastaTemporaria tmp;
    const std::string grd = DadosTeste("raster/tres.grd");
    ResultadoCli r = RodarCli({"declividade", grd, tmp.Arquivo("s.asc")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: O arquivo tres.grd é uma grade do Surfer, que não guarda a unidade de "
                      "distância: converta-o para \".asc\" ou \".doc\" com a unidade de distância (m ou km).\n");
    // Done as it says, the slope runs.
    ASSERT_EQ(RodarCli({"raster-converter", grd, tmp.Arquivo("t.doc"), "--unidade", "m"}).codigo, 0);
    EXPECT_NE(LerArquivo(tmp.Arquivo("t.doc")).find("ref. units  : m\r\n"), std::string::npos);
    r = RodarCli({"declividade", tmp.Arquivo("t.doc"), tmp.Arquivo("s.asc")});
    EXPECT_EQ(r.codigo, 0) << r.erro;
}

TEST(CliDeclividadeFiltro, AjudaDescreveAEscolhaPeloTipo) {
    ResultadoCli r = RodarCli({"declividade", "--help"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_NE(r.saida.find("inteiro (I)"), std::string::npos);
    r = RodarCli({"filtro", "--help"});
    EXPECT_NE(r.saida.find("--passadas N"), std::string::npos);
    r = RodarCli({"--help"});
    EXPECT_NE(r.saida.find("declividade"), std::string::npos);
    EXPECT_NE(r.saida.find("filtro"), std::string::npos);
}

TEST(CliDeclividadeFiltro, ThreadsForaDaFaixaSaoRecusados) {
    PastaTemporaria tmp;
    const std::string msg = "vandoro-cli: O número de threads deve ser um inteiro de 1 a 64.\n";
    for (const std::string cmd : {"declividade", "filtro", "raster-converter"}) {
        for (const std::string n : {"0", "abc", "65", "-2", "1.5"}) {
            ResultadoCli r = RodarCli({cmd, DadosTeste("raster/declive3.asc"), tmp.Arquivo("s.asc"), "--threads", n});
            EXPECT_EQ(r.codigo, 1) << cmd << " " << n;
            EXPECT_EQ(r.erro, msg) << cmd << " " << n;
        }
        EXPECT_FALSE(std::filesystem::exists(tmp.Arquivo("s.asc")));
        ResultadoCli r = RodarCli({cmd, DadosTeste("raster/declive3.asc"), tmp.Arquivo(cmd + ".asc"), "--threads", "2"});
        EXPECT_EQ(r.codigo, 0) << r.erro;
    }
    // The same result whatever the count.
    ASSERT_EQ(RodarCli({"declividade", DadosTeste("raster/declive3.asc"), tmp.Arquivo("um.asc"), "--threads", "1"}).codigo, 0);
    EXPECT_EQ(LerArquivo(tmp.Arquivo("um.asc")), LerArquivo(tmp.Arquivo("declividade.asc")));
}

// vandoro-cli dimensionar --relatorio: the report of each example's system, and no file when
// the project or the target cannot be used.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "TestSupport.h"

namespace {

struct LocalePt {
    LocalePt() { setenv("LC_ALL", "pt_BR.UTF-8", 1); }
    ~LocalePt() { unsetenv("LC_ALL"); }
};

std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }
bool Contem(const std::string& t, const std::string& s) { return t.find(s) != std::string::npos; }

TEST(CliDimensionarRelatorio, EachExampleGetsTheReportOfItsSystem) {
    LocalePt pt;
    PastaTemporaria pasta;
    const std::string saida = pasta.Arquivo("relatorio.html");
    struct Caso {
        const char* exemplo;
        const char* titulo;
        const char* linha;
    } casos[] = {
        {"Terraco em nivel.kzp", "<TITLE>Dimensionamento de Sistemas de Terraceamento em Nível</TITLE>",
         "<B>Altura recomendada: </B>50,60 cm</TD>"},
        {"Terraco em gradiente.kzp", "<TITLE>Dimensionamento de Sistemas de Terraceamento com Gradiente</TITLE>",
         "<B>Vazão: </B>310,10 L/s</TD>"},
        {"Bacia de acumulacao.kzp", "<TITLE>Dimensionamento de Barraginhas</TITLE>", "<B>Raio:</B> 13,8 m</TD>"},
    };
    for (const auto& c : casos) {
        auto r = RodarCli({"dimensionar", Exemplo(c.exemplo), "--relatorio", saida});
        ASSERT_EQ(r.codigo, 0) << r.erro;
        EXPECT_TRUE(Contem(r.saida, "Relatório: " + saida + "\n"));
        const std::string html = LerArquivo(saida);
        EXPECT_TRUE(Contem(html, c.titulo)) << c.exemplo;
        EXPECT_TRUE(Contem(html, c.linha)) << c.exemplo;
        EXPECT_TRUE(Contem(html, "charset=UTF-8"));
        EXPECT_TRUE(Contem(html, "<IMG SRC=\"" + std::string(VANDORO_BIN_DIR)));
        EXPECT_FALSE(Contem(html, "SIMULAÇÃO"));
        EXPECT_EQ(html.substr(html.size() - 8), "</HTML>\n");
    }
}

TEST(CliDimensionarRelatorio, NoReportWhenTheProjectOrTargetFails) {
    LocalePt pt;
    PastaTemporaria pasta;
    const std::string saida = pasta.Arquivo("relatorio.html");
    GravarArquivo(saida, "anterior");
    const std::string ruim = pasta.Arquivo("ruim.kzp");
    GravarArquivo(ruim, "[VANDORO4]\r\nVersao=9\r\n");
    auto r = RodarCli({"dimensionar", ruim, "--relatorio", saida});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Não foi possível abrir o arquivo " + ruim +
                          ". O arquivo foi gravado por uma versão mais nova do Vandoro (versão 9).\n");
    EXPECT_EQ(LerArquivo(saida), "anterior");

    // A project that stops at a required field writes no report either.
    std::string texto = LerArquivo(Exemplo("Terraco em nivel.kzp"));
    const auto p = texto.find("Tr=10\r\n");
    ASSERT_NE(p, std::string::npos);
    texto.replace(p, 7, "Tr=0\r\n");
    GravarArquivo(ruim, texto);
    r = RodarCli({"dimensionar", ruim, "--relatorio", saida});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(LerArquivo(saida), "anterior");

    const std::string semPasta = pasta.Arquivo("nao/existe.html");
    r = RodarCli({"dimensionar", Exemplo("Terraco em nivel.kzp"), "--relatorio", semPasta});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Não foi possível gravar o arquivo " + semPasta + ": pasta inexistente.\n");
    EXPECT_FALSE(std::filesystem::exists(semPasta));
}

// A storm the soil takes in whole: the result says that nothing was sized, and a name with
// markup reaches the report as text.
TEST(CliDimensionarRelatorio, NoRunoffAndMarkupInTheName) {
    LocalePt pt;
    PastaTemporaria pasta;
    std::string texto = LerArquivo(Exemplo("Terraco em gradiente.kzp"));
    const auto v = texto.find("\r\nVIB=10\r\n");
    const auto n = texto.find("\r\nNome=");
    ASSERT_NE(v, std::string::npos);
    ASSERT_NE(n, std::string::npos);
    texto.replace(v, 10, "\r\nVIB=500\r\n");
    texto.replace(n + 2, texto.find("\r\n", n + 2) - n - 2, "Nome=<script>alert(1)</script> & Cia");
    const std::string projeto = pasta.Arquivo("p.kzp"), saida = pasta.Arquivo("r.html");
    GravarArquivo(projeto, texto);
    auto r = RodarCli({"dimensionar", projeto, "--relatorio", saida});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_TRUE(Contem(r.saida,
                       "Vazão: 0,00 L/s\n"
                       "Espaçamento vertical: 3,00 m\n"
                       "Espaçamento horizontal: 25,00 m\n"
                       "Altura teórica (H): 0,0 cm\n"
                       "Coef. de desuniformidade: 1,00\n"
                       "Altura recomendada (Hr): 10,0 cm\n"
                       "Não há escoamento superficial para esta chuva e este solo: a altura recomendada é apenas "
                       "a folga de 10 cm, sem canal dimensionado.\n"
                       "Volume de solo movimentado (m³/100 m): "))
        << r.saida;
    const std::string html = LerArquivo(saida);
    EXPECT_TRUE(Contem(html, "<B>Nome: </B>&lt;script&gt;alert(1)&lt;/script&gt; &amp; Cia</TD>"));
    EXPECT_FALSE(Contem(html, "<script>"));
    EXPECT_TRUE(Contem(html, "<B>Não há escoamento superficial para esta chuva e este solo"));
}

}  // namespace

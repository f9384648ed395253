// vandoro-cli dimensionar over the shipped examples and over files that must be refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TestSupport.h"

namespace {

struct LocalePt {
    LocalePt() { setenv("LC_ALL", "pt_BR.UTF-8", 1); }
    ~LocalePt() { unsetenv("LC_ALL"); }
};

std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }

TEST(CliDimensionar, LevelExamplePrintsTheResultPage) {
    LocalePt pt;
    const std::string arq = Exemplo("Terraco em nivel.kzp");
    const std::string antes = LerArquivo(arq);
    auto r = RodarCli({"dimensionar", arq});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Sistema: Terraços em Nível(sem drenagem)\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Espaçamento horizontal: 23,58 m\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Espaçamento vertical: 1,89 m\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Coef. de desuniformidade: 1,20\n"), std::string::npos) << r.saida;
    // What the terraces take to build: always these two lines, with a value or what to enter.
    EXPECT_NE(r.saida.find("\nVolume de solo movimentado (m³/100 m): "), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("\nHoras de máquina (h/100 m): "), std::string::npos) << r.saida;
    EXPECT_EQ(LerArquivo(arq), antes);  // sizing never touches the project
}

TEST(CliDimensionar, GradedAndBasinExamples) {
    LocalePt pt;
    auto g = RodarCli({"dimensionar", Exemplo("Terraco em gradiente.kzp")});
    ASSERT_EQ(g.codigo, 0) << g.erro;
    EXPECT_NE(g.saida.find("Vazão: "), std::string::npos);
    EXPECT_NE(g.saida.find(" L/s\n"), std::string::npos);
    auto b = RodarCli({"dimensionar", Exemplo("Bacia de acumulacao.kzp")});
    ASSERT_EQ(b.codigo, 0) << b.erro;
    EXPECT_NE(b.saida.find("Sistema: Barragens de Contenção(Barraginhas)\nRaio: "), std::string::npos) << b.saida;
    EXPECT_EQ(b.saida.find("Largura:"), std::string::npos);
    // The soil a basin digs is its storage volume.
    const auto v = b.saida.find("\nVolume: ");
    ASSERT_NE(v, std::string::npos) << b.saida;
    const std::string volume = b.saida.substr(v + 9, b.saida.find(' ', v + 9) - v - 9);
    EXPECT_NE(b.saida.find("\nVolume de solo escavado (m³/barraginha): " + volume + "\n"), std::string::npos)
        << b.saida;
}

TEST(CliDimensionar, RefusedProjectsExitWithTheMessage) {
    PastaTemporaria pasta;
    const std::string ruim = pasta.Arquivo("ruim.kzp");
    GravarArquivo(ruim, "[VANDORO4]\r\nVersao=9\r\n");
    auto r = RodarCli({"dimensionar", ruim});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Não foi possível abrir o arquivo " + ruim +
                          ". O arquivo foi gravado por uma versão mais nova do Vandoro (versão 9).\n");

    // A project without a return period stops at its field's message.
    std::string texto = LerArquivo(Exemplo("Terraco em nivel.kzp"));
    const auto p = texto.find("Tr=10\r\n");
    ASSERT_NE(p, std::string::npos);
    texto.replace(p, 7, "Tr=0\r\n");
    GravarArquivo(ruim, texto);
    r = RodarCli({"dimensionar", ruim});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Valor do periodo de retorno inconsistente.\n");
}

}  // namespace

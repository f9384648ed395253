// vandoro-cli dimensionar on a graded project whose channel is longer than a design takes:
// the window's message, and the sizing of the longest channel.
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

std::string GradienteCom(PastaTemporaria& pasta, const std::string& comprimento) {
    std::string texto = LerArquivo(Exemplo("Terraco em gradiente.kzp"));
    const auto c = texto.find("Comprimento=400\r\n", texto.find("[CanalGradiente]\r\n"));
    EXPECT_NE(c, std::string::npos);
    texto.replace(c, 17, "Comprimento=" + comprimento + "\r\n");
    const std::string arquivo = pasta.Arquivo("canal" + comprimento + ".kzp");
    GravarArquivo(arquivo, texto);
    return arquivo;
}

TEST(CliDimensionarComprimento, ChannelOverFifteenHundredMetresIsSizedAtThatLength) {
    LocalePt pt;
    PastaTemporaria pasta;
    const std::string longo = GradienteCom(pasta, "3000");
    const std::string antes = LerArquivo(longo);
    const auto r = RodarCli({"dimensionar", longo});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const std::string mensagem = " O comprimento máximo permitido para o canal é de 1500 metros. \n";
    EXPECT_EQ(r.saida.substr(0, mensagem.size()), mensagem) << r.saida;
    EXPECT_EQ(LerArquivo(longo), antes);  // the project keeps its own length

    // The same results as a project whose channel is 1500 m.
    const auto l = RodarCli({"dimensionar", GradienteCom(pasta, "1500")});
    ASSERT_EQ(l.codigo, 0) << l.erro;
    EXPECT_EQ(l.saida.find("comprimento máximo"), std::string::npos);
    EXPECT_EQ(r.saida.substr(mensagem.size()), l.saida);
    EXPECT_NE(l.saida.find("Vazão: "), std::string::npos);

    const auto c = RodarCli({"dimensionar", Exemplo("Terraco em gradiente.kzp")});
    ASSERT_EQ(c.codigo, 0) << c.erro;
    EXPECT_EQ(c.saida.find("comprimento máximo"), std::string::npos);
    EXPECT_NE(c.saida, l.saida);  // 400 m carry less than 1500 m
}

}  // namespace

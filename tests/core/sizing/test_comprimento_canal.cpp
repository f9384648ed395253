// The longest graded channel: the field rule both front ends apply, and sizing a project
// whose channel is longer than that.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/Dimensionamento.h"
#include "core/sizing/EntradaDimensionamento.h"

namespace {

std::string Exemplo(const char* nome) { return std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/" + nome; }

// The graded example with its channel 'comprimento' metres long.
std::string GradienteCom(PastaTemporaria& pasta, const std::string& comprimento) {
    std::string texto = LerArquivo(Exemplo("Terraco em gradiente.kzp"));
    const auto p = texto.find("[CanalGradiente]\r\n");
    const auto c = texto.find("Comprimento=400\r\n", p);
    EXPECT_NE(c, std::string::npos);
    texto.replace(c, 17, "Comprimento=" + comprimento + "\r\n");
    const std::string arquivo = pasta.Arquivo("gradiente" + comprimento + ".kzp");
    GravarArquivo(arquivo, texto);
    return arquivo;
}

TEST(ComprimentoCanal, FieldAboveFifteenHundredMetresIsCut) {
    RegionalFixo pt(Regional::PtBR());
    EXPECT_STREQ(kMensagemComprimentoCanal, " O comprimento máximo permitido para o canal é de 1500 metros. ");
    struct Caso {
        const char* texto;
        bool cortado;
        const char* depois;
    } casos[] = {
        {"1500", false, "1500"},  {"1500,01", true, "1500"}, {"1500.01", true, "1500"}, {"3000", true, "1500"},
        {"1499,99", false, "1499,99"}, {"", false, ""},       {"abc", false, "abc"},     {"0", false, "0"},
    };
    for (const auto& c : casos) {
        std::string t = c.texto;
        EXPECT_EQ(LimitarComprimentoCanal(t), c.cortado) << c.texto;
        EXPECT_EQ(t, c.depois) << c.texto;
    }
}

TEST(ComprimentoCanal, GradedProjectIsSizedWithTheLongestChannel) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    TModeloProjeto longo, limite;
    longo.AbrirProjetoSemAlterar(GradienteCom(pasta, "3000"));
    limite.AbrirProjetoSemAlterar(GradienteCom(pasta, "1500"));
    const TResultadoDimensionamento r = Dimensionar(longo);
    const TResultadoDimensionamento l = Dimensionar(limite);
    EXPECT_TRUE(r.ComprimentoLimitado);
    EXPECT_FALSE(l.ComprimentoLimitado);
    EXPECT_EQ(longo.TerracosGradiente().Comprimento(), 1500);
    EXPECT_GT(r.Q, 0);
    EXPECT_DOUBLE_EQ(r.Q, l.Q);
    EXPECT_DOUBLE_EQ(r.H, l.H);

    // The shipped 400 m channel is sized as it is.
    TModeloProjeto curto;
    curto.AbrirProjetoSemAlterar(Exemplo("Terraco em gradiente.kzp"));
    EXPECT_FALSE(Dimensionar(curto).ComprimentoLimitado);
    EXPECT_EQ(curto.TerracosGradiente().Comprimento(), 400);
}

TEST(ComprimentoCanal, TypedSlopeSetsStAndShowsTheVerticalSpacing) {
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));
    const int kd = m.Configuracao().KDecli;
    const double st = m.NumeroDaCurva().St();
    for (const char* ruim : {"", "0", "x"}) {
        const TDeclividadeDigitada d = DeclividadeDigitada(m, ruim, "25");
        EXPECT_FALSE(d.valida) << ruim;
        EXPECT_EQ(d.ev, "");
        EXPECT_DOUBLE_EQ(m.NumeroDaCurva().St(), st);  // nothing taken
    }
    const std::string oito = kd == 100 ? "8" : "0,08";
    TDeclividadeDigitada d = DeclividadeDigitada(m, oito, "");
    EXPECT_TRUE(d.valida);
    EXPECT_EQ(d.ev, "");
    EXPECT_DOUBLE_EQ(m.NumeroDaCurva().St(), 0.08);
    d = DeclividadeDigitada(m, oito, "25");
    EXPECT_EQ(d.ev, "2,0");
    EXPECT_DOUBLE_EQ(m.SistemaAtual().Espacamento().EH(), 25);
    d = DeclividadeDigitada(m, oito, "23,58");
    EXPECT_EQ(d.ev, "1,886");
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/Progresso.h"
#include "core/model/EncostaCinematica.h"
#include "core/model/Precipitacao.h"

namespace {

// Nearly constant rain: 50 mm/h for 2 h (rates of 1e-9 barely bend the exponentials).
TPrecipitacaoDuplaExponencial ChuvaConstante(double mmh = 50, double horas = 2) {
    TPrecipitacaoDuplaExponencial s;
    s.SetA(1);
    s.SetB(1e-9);
    s.SetC(1);
    s.SetD(1e-9);
    s.SetDuracao(horas);
    s.SetPrecipitacaoTotal(mmh * horas);
    s.SetTempoPico(0.5);
    s.SetIntensidadePico(mmh);
    return s;
}

TPrecipitacaoExponencialNegativa TempestadeIDF() {
    TPrecipitacaoExponencialNegativa s;
    s.SetK(1000);
    s.SetTr(10);
    s.SetA(0.15);
    s.SetB(10);
    s.SetC(0.75);
    s.SetDuracao(0);
    return s;
}

// Row crop with "Regular" condition: CN 0, so the excess starts at once.
void SemAbstracao(TEncostaCinematica& e, int comprimento, double vib) {
    e.UsoDoSolo().SetIndex(1);
    e.Tratamento().SetIndex(1);
    e.CondicaoHidrologica().SetIndex(2);
    e.SetComprimento(comprimento);
    e.SetVIB(vib);
    e.SetSt(0.05);
    e.nt().SetValue(0.03);
}

struct Contador : IProgresso {
    int status = 0, eventos = 0;
    std::string ultimo;
    void SetStatus(const std::string& t) override {
        ++status;
        ultimo = t;
    }
    void ProcessEvents() override { ++eventos; }
};

}  // namespace

TEST(Encosta, NosEComprimento) {
    TEncostaCinematica e;
    EXPECT_EQ(e.Modo(), TModoEncosta::EncostaInteira);
    e.SetComprimento(40);
    EXPECT_EQ(e.NodeCount(), 100);
    e.SetComprimento(50);
    EXPECT_EQ(e.NodeCount(), 100);
    e.SetComprimento(80);
    EXPECT_EQ(e.NodeCount(), 160);
    e.SetComprimento(0);  // accepted
    EXPECT_EQ(e.Comprimento(), 0);
    EXPECT_ERRO(EVandoro, "O Item do comprimento da encosta não pode ser menor ou igual a zero.",
                e.SetComprimento(-1));
    e.SetModo(TModoEncosta::Trecho);
    EXPECT_ERRO(EVandoro, "O Item do comprimento de um trecho da encosta não pode ser menor ou igual a zero.",
                e.SetComprimento(-1));
    e.Clear();
    EXPECT_EQ(e.Modo(), TModoEncosta::EncostaInteira);
}

TEST(Encosta, EquilibrioDaOndaCinematica) {
    // 40 mm/h of excess on a 40 m plane: equilibrium q = i·L = 40/3.6e6·40 m²/s = 0.444 L/s per m.
    TEncostaCinematica e;
    SemAbstracao(e, 40, 10);
    auto s = ChuvaConstante();
    auto h = e.SilentSlopeHydrograph(e.NodeCount(), s);
    ASSERT_GT(h->Count(), 10);
    const double qe = 40.0 / 3.6e6 * 40 * 1000;
    EXPECT_NEAR(h->Qp(), qe, 0.01 * qe);
    // Half way through the storm the plane is long past its concentration time (~4 min).
    EXPECT_NEAR(h->DischargeAt(60), qe, 0.01 * qe);
    // Volume: 40 mm/h for 2 h on 40 m = 3200 L per m, less what infiltrates during recession.
    EXPECT_NEAR(h->Volume(), 3200, 0.03 * 3200);
    EXPECT_LE(h->Volume(), 3200 * 1.005);
    EXPECT_EQ(h->Points().back().q, 0);
    EXPECT_EQ(h->Point(0).t, 0);
    EXPECT_NEAR(h->Point(1).t - h->Point(0).t, 0.35, 1e-12);  // f = 10 mm/h
    EXPECT_NEAR(e.LaminaEscoada(), h->RunoffDepth(), 1e-15);
    EXPECT_DOUBLE_EQ(h->Alpha(), std::sqrt(0.05) / 0.03);
}

TEST(Encosta, PassoDeTempoPelaInfiltracao) {
    TEncostaCinematica e;
    SemAbstracao(e, 80, 10.5);
    auto s = ChuvaConstante();
    auto h = e.SilentSlopeHydrograph(e.NodeCount(), s);
    ASSERT_GT(h->Count(), 3);
    EXPECT_NEAR(h->Point(2).t - h->Point(1).t, 0.30, 1e-12);
    EXPECT_EQ(h->Points().back().q, 0);
    // Equilibrium of the longer plane: 39.5 mm/h on 80 m.
    EXPECT_NEAR(h->Qp(), 39.5 / 3.6e6 * 80 * 1000, 0.01 * 39.5 / 3.6e6 * 80 * 1000);
}

TEST(Encosta, UmNoDaOHidrogramaDeExcesso) {
    TEncostaCinematica e;
    SemAbstracao(e, 40, 10);
    auto s = ChuvaConstante(50, 0.5);  // 30 min
    auto h = e.SilentSlopeHydrograph(1, s);
    ASSERT_GT(h->Count(), 3);
    // Excess over one strip dx = 0.4 m: 40·0.4/3600 L/s per m.
    EXPECT_NEAR(h->Point(1).q, 40 * 0.4 / 3600, 1e-9);
    EXPECT_EQ(h->Points().back().q, 0);
    EXPECT_NEAR(h->Points().back().t, 30 + 0.35, 0.36);
}

TEST(Encosta, SemEscoamento) {
    RegionalFixo fixo(Regional::PtBR());
    TEncostaCinematica e;
    SemAbstracao(e, 40, 300);  // the IDF storm starts at 251 mm/h
    std::string avisado;
    e.SetOnMensagem([&](const std::string& m) { avisado = m; });
    auto s = TempestadeIDF();
    auto h = e.SlopeHydrograph(s, nullptr, e.NodeCount());
    EXPECT_EQ(h->Count(), 0);
    EXPECT_TRUE(e.SemEscoamento());
    EXPECT_EQ(avisado,
              "Para Tie = 300,0 e para as condições fornecidas não existe escoamento, pois a Tie é maior do "
              "que a intensidade instantânea de precipitação.");

    // Forest in good condition on a fast soil: CN 43, Ia = 67 mm is never filled before te.
    e.UsoDoSolo().SetIndex(5);
    e.CondicaoHidrologica().SetIndex(3);
    e.SetVIB(250.25);
    avisado.clear();
    h = e.SlopeHydrograph(s, nullptr, e.NodeCount());
    EXPECT_EQ(h->Count(), 0);
    EXPECT_EQ(avisado,
              "Para Tie = 250,25 e para as condições fornecidas não existe escoamento, pois o tempo para "
              "preenchimento das abstrações iniciais é maior do que o tempo final do escoamento.");
    EXPECT_EQ(e.Mensagem(), avisado);

    // The double-exponential storm below the infiltration rate; silent: no message.
    avisado.clear();
    auto d = ChuvaConstante(50);
    e.SetVIB(60);
    h = e.SilentSlopeHydrograph(e.NodeCount(), d);
    EXPECT_EQ(h->Count(), 0);
    EXPECT_TRUE(e.SemEscoamento());
    EXPECT_EQ(avisado, "");
}

TEST(Encosta, TempestadeIDFComProgresso) {
    TEncostaCinematica e;
    SemAbstracao(e, 40, 20);
    e.CondicaoHidrologica().SetIndex(3);
    e.Tratamento().SetIndex(2);  // CN 92
    auto s = TempestadeIDF();
    Contador c;
    auto h = e.SlopeHydrograph(s, nullptr, e.NodeCount(), &c);
    ASSERT_GT(h->Count(), 3);
    EXPECT_GT(c.status, 5);
    EXPECT_GE(c.eventos, c.status + 1);  // once before the run, then every 23 steps
    EXPECT_NEAR(h->Point(0).t, e.AbstractionTime(s), 1e-12);
    // The hillslope gives up at most the excess rain, about the curve-number depth.
    const double lamina = h->Volume() / 40.0;  // mm
    EXPECT_GT(lamina, 0.8 * e.RunoffDepth(s));
    EXPECT_LT(lamina, 1.02 * e.RunoffDepth(s));
    EXPECT_EQ(h->Points().back().q, 0);
}

TEST(Encosta, FalhaAritmetica) {
    TEncostaCinematica e;
    SemAbstracao(e, 40, 10);
    e.nt().SetValue(0);  // α = √St/0
    auto s = ChuvaConstante();
    try {
        e.SlopeHydrograph(s, nullptr, e.NodeCount());
        FAIL();
    } catch (const EVandoro& x) {
        const std::string m = x.what();
        EXPECT_EQ(m.substr(0, m.find('\n')), "Ocorreu um erro quando calculando o hidrograma na encosta.");
        EXPECT_NE(m.find('\n'), std::string::npos);
    }
    auto h = e.SilentSlopeHydrograph(e.NodeCount(), s);  // silent: no error, no points
    EXPECT_EQ(h->Count(), 0);
}

TEST(Encosta, TrechoAlimentadoPorMontante) {
    TEncostaCinematica e;
    SemAbstracao(e, 40, 10);
    e.SetModo(TModoEncosta::Trecho);
    auto s = ChuvaConstante(50, 1);
    THidrograma montante;
    montante.AddPoint(0, 0);
    montante.AddPoint(0.2, 5);
    montante.AddPoint(0.2, 90);
    montante.AddPoint(0, 95);
    auto h = e.SlopeHydrograph(s, &montante, e.NodeCount());
    ASSERT_GT(h->Count(), 3);
    EXPECT_DOUBLE_EQ(montante.Beta(), 5.0 / 3.0);
    // Equilibrium: the inflow from above plus the local excess.
    EXPECT_NEAR(h->DischargeAt(50), 0.2 + 40.0 / 3.6e6 * 40 * 1000, 0.02 * 0.644);
    EXPECT_EQ(h->Points().back().q, 0);
}

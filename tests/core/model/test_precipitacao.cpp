#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/common/SerieGrafico.h"
#include "core/model/Precipitacao.h"

namespace {

// An IDF storm of the kind found in Brazilian tables: i = 1000·Tr^0.15/(t+10)^0.75.
TPrecipitacaoExponencialNegativa TempestadeIDF() {
    TPrecipitacaoExponencialNegativa s;
    s.SetK(1000);
    s.SetTr(10);
    s.SetA(0.15);
    s.SetB(10);
    s.SetC(0.75);
    return s;
}

// a=2, b=3, c=16, d=4, P=50 mm over 2 h, peak at 30 % of the duration.
TPrecipitacaoDuplaExponencial TempestadeDupla() {
    TPrecipitacaoDuplaExponencial s;
    s.SetA(2);
    s.SetB(3);
    s.SetC(16);
    s.SetD(4);
    s.SetPrecipitacaoTotal(50);
    s.SetDuracao(2);
    s.SetTempoPico(0.3);
    s.SetIntensidadePico(120);
    return s;
}

struct Serie : ISerieGrafico {
    std::vector<std::pair<double, double>> pts;
    int limpezas = 0;
    void Clear() override {
        pts.clear();
        ++limpezas;
    }
    void AddXY(double x, double y) override { pts.emplace_back(x, y); }
};

struct Eixos : IGraficoHietograma {
    std::string h, v;
    void SetFormatoEixoHorizontal(const std::string& f) override { h = f; }
    void SetFormatoEixoVertical(const std::string& f) override { v = f; }
};

}  // namespace

TEST(Precipitacao, NovaTempestadeNaoTemValores) {
    TPrecipitacaoExponencialNegativa ne;
    EXPECT_EQ(ne.KTr(), -1);
    EXPECT_EQ(ne.K(), -1);
    EXPECT_EQ(ne.Tr(), -1);
    EXPECT_EQ(ne.A(), -1);
    EXPECT_EQ(ne.B(), -1);
    EXPECT_EQ(ne.C(), -1);
    EXPECT_EQ(ne.D(), -1);
    EXPECT_EQ(ne.PrecipitacaoTotal(), -1);
    EXPECT_EQ(ne.Duracao(), -1);
    EXPECT_EQ(ne.IntensidadePico(), -1);
    EXPECT_EQ(ne.TempoPico(), -1);
    EXPECT_EQ(ne.Tag(), -1);
    TPrecipitacaoDuplaExponencial de("_X");
    EXPECT_EQ(de.SectionSuffix(), "_X");
    EXPECT_EQ(de.A(), -1);
}

TEST(Precipitacao, ExponencialNegativaValoresCalculados) {
    auto s = TempestadeIDF();
    EXPECT_NEAR(s.KTr(), 1412.5375446227545, 1e-9);
    EXPECT_EQ(s.D(), -1);  // Update marks D as unused
    EXPECT_NEAR(s.CumulativeDepth(20), 36.73142728886366, 1e-10);
    EXPECT_NEAR(s.Intensity(0), 251.18864315095806, 1e-9);
    EXPECT_NEAR(s.Intensity(20), 55.09714093329549, 1e-9);
    // The intensity is the time derivative of the depth (mm/min -> mm/h) ...
    const double h = 1e-4;
    for (double t : {1.0, 20.0, 300.0}) {
        EXPECT_NEAR(s.Intensity(t), 60 * (s.CumulativeDepth(t + h) - s.CumulativeDepth(t - h)) / (2 * h),
                    1e-5 * s.Intensity(t));
        // ... and IntensitySlope is the derivative of the intensity.
        EXPECT_NEAR(s.IntensitySlope(t), (s.Intensity(t + h) - s.Intensity(t - h)) / (2 * h),
                    1e-5 * std::fabs(s.IntensitySlope(t)));
    }
    EXPECT_NEAR(s.DepthBetween(20, 10), s.CumulativeDepth(20) - s.CumulativeDepth(10), 1e-12);
    EXPECT_LT(s.DepthBetween(10, 20), 0);  // no check of the order for this profile
}

TEST(Precipitacao, ExponencialNegativaRecusaKOuTrZero) {
    auto s = TempestadeIDF();
    EXPECT_EQ(MensagemDe([&] { s.SetK(0); }), "O valor do parâmetro \"K\" deve ser maior que zero.");
    EXPECT_EQ(MensagemDe([&] { s.SetTr(0); }), "O valor do tempo de retorno (Tr) deve ser maior que zero.");
    EXPECT_EQ(s.K(), 1000);
    EXPECT_EQ(s.Tr(), 10);
    EXPECT_NEAR(s.KTr(), 1412.5375446227545, 1e-9);
    s.SetTr(1e-3);  // any positive value
    EXPECT_GT(s.KTr(), 0);

    // A project keeps 0 for an empty field: it still reads, as a value not given (-1).
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("vazio.kzp");
    GravarArquivo(arq, "[PRECIPITACAO]\r\nVersao=3\r\nA=0.15\r\nB=10\r\nC=0.75\r\n"
                       "[PREC_EXPONENCIAL_NEGATIVA]\r\nVersao=3\r\nTr=0\r\nK=1000\r\n");
    TPrecipitacaoExponencialNegativa l;
    ASSERT_TRUE(l.LoadFromProject(arq));
    EXPECT_EQ(l.Tr(), -1);
    EXPECT_EQ(l.K(), 1000);
    EXPECT_EQ(l.KTr(), -1);
    EXPECT_LT(l.CumulativeDepth(10), 0);
}

TEST(Precipitacao, SetoresRejeitamNegativosComAMensagemExata) {
    auto s = TempestadeIDF();
    EXPECT_EQ(MensagemDe([&] { s.SetPrecipitacaoTotal(-1); }),
              "Erro. A lâmina precipitada tem que ser maior ou igual a zero.");
    EXPECT_EQ(MensagemDe([&] { s.SetDuracao(-1); }),
              "Erro. A duração total da precipitação tem que ser maior ou igual a  zero.");
    EXPECT_EQ(MensagemDe([&] { s.SetTempoPico(-1); }),
              "Erro. O tempo de ocorrência do pico da precipitação tem que ser maior ou igual a zero.");
    EXPECT_EQ(MensagemDe([&] { s.SetIntensidadePico(-0.5); }),
              "Erro. A intensidade de pico da precipitação tem que ser ou igual a zero.");
    EXPECT_EQ(MensagemDe([&] { s.SetA(-1); }), "Erro. O parâmetro \"a\" tem que ser maior ou igual a zero.");
    EXPECT_EQ(MensagemDe([&] { s.SetB(NAN); }), "Erro. O parâmetro \"b\" tem que ser maior ou igual a zero.");
    EXPECT_EQ(MensagemDe([&] { s.SetC(-1); }), "Erro. O parâmetro \"c\" tem que ser maior ou igual a zero.");
    EXPECT_EQ(MensagemDe([&] { s.SetTr(-1); }), "O valor do tempo de retorno (Tr) deve ser maior que zero.");
    EXPECT_EQ(MensagemDe([&] { s.SetK(-1); }), "O valor do parâmetro \"K\" deve ser maior que zero.");
    // A rejected value leaves the old one and the derived constants in place.
    EXPECT_EQ(s.B(), 10);
    EXPECT_EQ(s.K(), 1000);
    EXPECT_NEAR(s.KTr(), 1412.5375446227545, 1e-9);
    s.SetDuracao(0);  // zero is allowed
    EXPECT_EQ(s.Duracao(), 0);
}

TEST(Precipitacao, AssignCopiaTudo) {
    auto s = TempestadeIDF();
    s.SetDuracao(45);
    s.SetTag(7);
    TPrecipitacaoExponencialNegativa c;
    c.Assign(s);
    EXPECT_EQ(c.K(), 1000);
    EXPECT_EQ(c.Tr(), 10);
    EXPECT_EQ(c.Duracao(), 45);
    EXPECT_EQ(c.Tag(), 7);
    EXPECT_DOUBLE_EQ(c.KTr(), s.KTr());
}

TEST(Precipitacao, FimDoEscoamentoExponencialNegativa) {
    auto s = TempestadeIDF();
    s.SetDuracao(0);
    EXPECT_EQ(RunoffEndTime(s, s.Intensity(0)), 0);
    EXPECT_EQ(RunoffEndTime(s, 300), 0);
    const double te = RunoffEndTime(s, 20);
    EXPECT_NEAR(te, 62.827876163387714, 1e-7);
    // Started to the right of the root (long storm), Newton overshoots below zero and must
    // still reach the same time.
    s.SetDuracao(1440);
    EXPECT_NEAR(RunoffEndTime(s, 20), te, 1e-7);
    s.SetDuracao(100000);
    EXPECT_NEAR(RunoffEndTime(s, 20), te, 1e-7);
    EXPECT_NEAR(s.Intensity(te), 20, 1e-8);
}

TEST(Precipitacao, FimDoEscoamentoComFalhaAritmetica) {
    auto s = TempestadeIDF();
    s.SetB(0);  // (t + B)^-C at t = 0
    s.SetDuracao(0);
    EXPECT_ERRO(EAritmetico,
                "Erro: divisão por zero ao tentar calcular o tempo do fim do escoamento superficial "
                "utilizando o perfil de precipitação exponencial negativa.",
                RunoffEndTime(s, 20));
}

TEST(Precipitacao, FimDoEscoamentoSemVIBOuSemExpoente) {
    // This profile only tends to zero: with f = 0 (or a constant rain, c = 0) runoff never
    // ends, and the input, not the arithmetic, is what is wrong.
    auto s = TempestadeIDF();
    s.SetDuracao(0);
    EXPECT_EQ(MensagemDe([&] { RunoffEndTime(s, 0); }),
              "Erro. A velocidade de infiltração básica (VIB) tem que ser maior que zero para calcular o "
              "tempo do fim do escoamento superficial.");
    s.SetC(0);
    EXPECT_EQ(MensagemDe([&] { RunoffEndTime(s, 20); }),
              "Erro. O parâmetro \"c\" da equação de chuvas intensas tem que ser maior que zero para "
              "calcular o tempo do fim do escoamento superficial.");
    // A constant rain the soil takes in whole still has no runoff.
    EXPECT_EQ(RunoffEndTime(s, s.Intensity(0)), 0);
}

TEST(Precipitacao, DuplaExponencial) {
    auto s = TempestadeDupla();
    EXPECT_EQ(s.DurationMin(), 120);
    EXPECT_EQ(s.PeakTimeMin(), 36);
    EXPECT_DOUBLE_EQ(s.RiseRate(), 3.0 / 120);
    EXPECT_DOUBLE_EQ(s.FallRate(), -4.0 / 120);
    EXPECT_DOUBLE_EQ(s.RiseCoef(), 50);
    EXPECT_DOUBLE_EQ(s.FallCoef(), 400);
    EXPECT_EQ(s.Intensity(120.001), 0);
    EXPECT_EQ(s.Intensity(-0.001), 0);
    EXPECT_NEAR(s.Intensity(36), 120.47768476488085, 1e-9);  // the falling branch at the peak
    EXPECT_NEAR(s.Intensity(10), 64.20127083438707, 1e-9);
    const double esperado = 50 * ((std::exp(3 * 0.3) - 1) * 2 / 3 + (std::exp(-4 * 0.3) - std::exp(-4.0)) * 16 / 4);
    EXPECT_NEAR(s.CumulativeDepth(120), esperado, 1e-9);
    EXPECT_NEAR(esperado, 105.22915164325859, 1e-9);
    EXPECT_NEAR(s.IntensitySlope(50), s.FallRate() * s.Intensity(50), 1e-12);
    EXPECT_EQ(MensagemDe([&] { s.DepthBetween(10, 20); }),
              "Erro. O tempo inicial é maior ou igual ao tempo final para cálculo da lâmina precipitada.");
    EXPECT_EQ(MensagemDe([&] { s.DepthBetween(121, 0); }),
              "Erro. Intervalo inválido para cálculo da lâmina precipitada.");
    EXPECT_EQ(MensagemDe([&] { s.CumulativeDepth(-1); }),
              "Erro. Intervalo inválido para cálculo da lâmina precipitada.");
    // Falling branch 400·e^(-t/30) = 20 at t = 30·ln 20.
    EXPECT_NEAR(RunoffEndTime(s, 20), 30 * std::log(20.0), 1e-6);
    EXPECT_EQ(RunoffEndTime(s, 120), 0);  // the peak intensity does not exceed f
}

TEST(Precipitacao, Hietogramas) {
    Serie serie;
    auto ne = TempestadeIDF();
    ne.SetDuracao(0);
    ne.PlotHyetograph(serie);
    ASSERT_EQ(serie.pts.size(), 50u);
    EXPECT_EQ(serie.pts.front().first, 1);
    EXPECT_DOUBLE_EQ(serie.pts[19].second, ne.Intensity(20));
    ne.SetDuracao(30.6);
    ne.PlotHyetograph(serie);
    EXPECT_EQ(serie.pts.size(), 31u);

    auto de = TempestadeDupla();
    Eixos eixos;
    de.PlotHyetograph(serie, &eixos);
    ASSERT_EQ(serie.pts.size(), 12001u);
    EXPECT_NEAR(serie.pts.back().first, 120, 1e-9);
    EXPECT_EQ(eixos.h, "0.0");
    EXPECT_EQ(eixos.v, "0");
    de.SetDuracao(0.5);
    de.SetIntensidadePico(4);
    de.PlotHyetograph(serie, &eixos);
    EXPECT_EQ(serie.pts.size(), 3001u);
    EXPECT_EQ(eixos.h, "0.00");
    EXPECT_EQ(eixos.v, "0.0");
    de.SetPrecipitacaoTotal(0);
    const int antes = serie.limpezas;
    de.PlotHyetograph(serie, &eixos);
    EXPECT_TRUE(serie.pts.empty());
    EXPECT_EQ(serie.limpezas, antes + 1);
}

TEST(Regressao, AjustesLinearEPotencia) {
    TRegressao r(4);
    for (int i = 0; i < 4; ++i) {
        r.X()[i] = i + 1;
        r.Y()[i] = 2.5 + 0.5 * (i + 1);
    }
    double a = 0, b = 0;
    r.LinearFit(a, b);
    EXPECT_NEAR(a, 2.5, 1e-12);
    EXPECT_NEAR(b, 0.5, 1e-12);
    for (int i = 0; i < 4; ++i) r.Y()[i] = 3 * std::pow(r.X()[i], 1.5);
    r.PowerFit(a, b);
    EXPECT_NEAR(a, 3, 1e-10);
    EXPECT_NEAR(b, 1.5, 1e-12);
    for (int i = 0; i < 4; ++i) r.X()[i] = 2;
    EXPECT_THROW(r.LinearFit(a, b), EAritmetico);
    r.SetCount(0);
    EXPECT_THROW(r.LinearFit(a, b), EAritmetico);
}

// ------------------------------------------------------------------ project file

class PrecipitacaoArquivo : public ::testing::TestWithParam<bool> {
protected:
    Regional Reg() const { return GetParam() ? Regional::PtBR() : Regional::EnUS(); }
};

TEST_P(PrecipitacaoArquivo, IdaEVoltaExponencialNegativa) {
    RegionalFixo fixo(Reg());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    auto s = TempestadeIDF();
    s.SetDuracao(62.5);
    s.SetPrecipitacaoTotal(33.25);
    s.SetData(46000.5);
    ASSERT_TRUE(s.SaveToProject(arq));
    const std::string texto = LerArquivo(arq);
    EXPECT_NE(texto.find(GetParam() ? "A=0,15\r\n" : "A=0.15\r\n"), std::string::npos) << texto;
    EXPECT_NE(texto.find("[PREC_EXPONENCIAL_NEGATIVA]\r\nVersao=3\r\nTr=10\r\nK=1000\r\n"), std::string::npos);

    TPrecipitacaoExponencialNegativa l;
    ASSERT_TRUE(l.LoadFromProject(arq));
    EXPECT_EQ(l.Duracao(), 62.5);
    EXPECT_EQ(l.PrecipitacaoTotal(), 33.25);
    EXPECT_EQ(l.A(), 0.15);
    EXPECT_EQ(l.B(), 10);
    EXPECT_EQ(l.C(), 0.75);
    EXPECT_EQ(l.D(), -1);
    EXPECT_EQ(l.Tr(), 10);
    EXPECT_EQ(l.K(), 1000);
    EXPECT_NEAR(l.Data(), 46000.5, 1e-6);
    EXPECT_DOUBLE_EQ(l.KTr(), s.KTr());
}

TEST_P(PrecipitacaoArquivo, IdaEVoltaDuplaExponencialComSufixo) {
    RegionalFixo fixo(Reg());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    TPrecipitacaoDuplaExponencial s("_2");
    s.Assign(TempestadeDupla());
    ASSERT_TRUE(s.SaveToProject(arq));
    EXPECT_EQ(s.Duracao(), 2);  // hours again in memory
    IniFile ini(arq);
    EXPECT_EQ(ini.ReadFloat("PRECIPITACAO_2", "Duracao", 0), 120);  // minutes on disk
    EXPECT_EQ(ini.ReadString("PREC_DUPLA_EXPONENCIAL_2", "Versao", ""), "3");
    EXPECT_FALSE(ini.SectionExists("PRECIPITACAO"));

    TPrecipitacaoDuplaExponencial l("_2");
    ASSERT_TRUE(l.LoadFromProject(arq));
    EXPECT_EQ(l.Duracao(), 2);
    EXPECT_EQ(l.A(), 2);
    EXPECT_EQ(l.D(), 4);
    EXPECT_EQ(l.TempoPico(), 0.3);
    EXPECT_EQ(l.IntensidadePico(), 120);
    EXPECT_DOUBLE_EQ(l.Intensity(10), s.Intensity(10));
}

INSTANTIATE_TEST_SUITE_P(Regionais, PrecipitacaoArquivo, ::testing::Values(true, false),
                         [](const auto& i) { return i.param ? "ptBR" : "enUS"; });

TEST(PrecipitacaoArquivo, VersaoAntigaEAtualizadaNoProprioArquivo) {
    RegionalFixo fixo(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("antigo.kzp");
    GravarArquivo(arq,
                  "[QUENDA]\r\nVersao=1\r\nDuracao=60\r\nPrecipitacaoTotal=0\r\nTr=10\r\nK=1000\r\n"
                  "A=0,15\r\nB=10\r\nC=0,75\r\nLatitude=22°00'00\"\r\n"
                  "[PRECIPITACAO]\r\nVersao=1\r\n"
                  "[PREC_EXPONENCIAL_NEGATIVA]\r\nVersao=1\r\n");
    TPrecipitacaoExponencialNegativa s;
    ASSERT_TRUE(s.LoadFromProject(arq));
    EXPECT_EQ(s.Duracao(), 60);
    EXPECT_EQ(s.Tr(), 10);
    EXPECT_EQ(s.C(), 0.75);
    EXPECT_NEAR(s.KTr(), 1412.5375446227545, 1e-9);
    {
        IniFile ini(arq);
        EXPECT_EQ(ini.ReadString("PRECIPITACAO", "Versao", ""), "2");
        EXPECT_EQ(ini.ReadFloat("PRECIPITACAO", "Duracao", -1), 60);
        EXPECT_EQ(ini.ReadString("PREC_EXPONENCIAL_NEGATIVA", "Versao", ""), "2");
        EXPECT_EQ(ini.ReadFloat("PREC_EXPONENCIAL_NEGATIVA", "B", -1), 10);
        EXPECT_EQ(ini.ReadFloat("PREC_EXPONENCIAL_NEGATIVA", "C", -1), 0.75);
        // The moved keys leave the old section; its own keys stay.
        for (const char* k : {"Duracao", "PrecipitacaoTotal", "Tr", "K", "A", "B", "C"})
            EXPECT_FALSE(ini.ValueExists("QUENDA", k)) << k;
        EXPECT_EQ(ini.ReadString("QUENDA", "Versao", ""), "1");
        EXPECT_TRUE(ini.ValueExists("QUENDA", "Latitude"));
    }
    // Reading the upgraded file again gives the same storm and moves the base to "3".
    TPrecipitacaoExponencialNegativa s2;
    ASSERT_TRUE(s2.LoadFromProject(arq));
    EXPECT_EQ(s2.Duracao(), 60);
    EXPECT_EQ(s2.K(), 1000);
    EXPECT_EQ(s2.B(), 10);
    IniFile ini(arq);
    EXPECT_EQ(ini.ReadString("PRECIPITACAO", "Versao", ""), "3");
}

TEST(PrecipitacaoArquivo, VersoesDesconhecidasOuValoresInvalidos) {
    RegionalFixo fixo(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    TPrecipitacaoExponencialNegativa s;
    GravarArquivo(arq, "[PRECIPITACAO]\r\nVersao=7\r\n[PREC_EXPONENCIAL_NEGATIVA]\r\nVersao=3\r\nTr=5\r\nK=9\r\n");
    EXPECT_FALSE(s.LoadFromProject(arq));
    GravarArquivo(arq, "[PRECIPITACAO]\r\nVersao=3\r\n[PREC_EXPONENCIAL_NEGATIVA]\r\nVersao=x\r\n");
    EXPECT_FALSE(s.LoadFromProject(arq));
    // A negative value goes through the setter of version 2 and fails the load.
    GravarArquivo(arq, "[PRECIPITACAO]\r\nVersao=2\r\nDuracao=-5\r\n[PREC_EXPONENCIAL_NEGATIVA]\r\nVersao=3\r\n");
    EXPECT_FALSE(s.LoadFromProject(arq));
    GravarArquivo(arq, "[PRECIPITACAO]\r\nVersao=3\r\nA=abc\r\n[PREC_EXPONENCIAL_NEGATIVA]\r\nVersao=3\r\nTr=5\r\nK=9\r\n");
    ASSERT_TRUE(s.LoadFromProject(arq));  // unreadable numbers take the default
    EXPECT_EQ(s.A(), 0);
    EXPECT_EQ(s.Tr(), 5);
    TPrecipitacaoDuplaExponencial d;
    GravarArquivo(arq, "[PRECIPITACAO]\r\nVersao=3\r\n[PREC_DUPLA_EXPONENCIAL]\r\nVersao=9\r\n");
    EXPECT_FALSE(d.LoadFromProject(arq));
}

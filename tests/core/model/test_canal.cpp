#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/model/Canal.h"
#include "core/model/Hidrograma.h"

namespace {

double Manning(double A, double P, double n, double S) { return A * std::pow(A / P, 2.0 / 3.0) * std::sqrt(S) / n; }

// Constant lateral inflow q (L/s per m) from 0 to 'duracao' min.
THidrograma Bloco(double q, double duracao) {
    THidrograma h;
    h.AddPoint(0, 0);
    h.AddPoint(q, 0.5);
    h.AddPoint(q, duracao);
    h.AddPoint(0, duracao + 0.5);
    return h;
}

}  // namespace

TEST(Canal, ValoresIniciaisESetores) {
    TCanalGradiente c;
    EXPECT_EQ(c.Secao().Index(), 1);
    EXPECT_EQ(c.Secao().Name(), "Triangular");
    EXPECT_EQ(TSecaoCanal::Name(0), "Trapezoidal");
    EXPECT_EQ(c.CDu(), 1);
    EXPECT_EQ(c.Sm().Index(), -1);
    EXPECT_EQ(c.Z().Index(), -1);
    EXPECT_EQ(c.nc().Index(), 0);
    c.SetB(-1);
    EXPECT_EQ(c.B(), 0);
    c.SetH(-0.2);
    EXPECT_EQ(c.H(), 0);
    c.SetHr(0);
    EXPECT_EQ(c.Hr(), 0);
    c.SetCDu(0.9);
    EXPECT_EQ(c.CDu(), 1);
    c.SetCDu(1.2);
    EXPECT_EQ(c.CDu(), 1.2);
    c.SetQ(-3);
    EXPECT_EQ(c.Q(), 0);
    c.SetComprimento(-10);
    EXPECT_EQ(c.Comprimento(), 0);
    c.SetSc(-0.01);  // stored unchanged
    EXPECT_EQ(c.Sc(), -0.01);

    c.SetB(0.4);
    c.SetComprimento(120);
    c.nc() = TReal(0.02, 3);
    c.Sm() = TReal(0.3, -1);
    TCanalGradiente d;
    d.Assign(c);
    EXPECT_EQ(d.B(), 0.4);
    EXPECT_EQ(d.CDu(), 1.2);
    EXPECT_EQ(d.Comprimento(), 120);
    EXPECT_EQ(d.nc().Index(), 3);
    EXPECT_EQ(d.Sm().Value(), 0.3);
    d.Clear();
    EXPECT_EQ(d.Comprimento(), 0);
    EXPECT_EQ(d.nc().Value(), 0);
    EXPECT_EQ(d.CDu(), 1);
}

TEST(Canal, ProfundidadeNormalTriangular) {
    TCanalGradiente c;
    // 45° walls: A = y², P = 2√2·y.
    const double y = c.NormalDepth(1, 1, 0.005, 0.02, 0, 0, 0.05);
    EXPECT_NEAR(Manning(y * y, 2 * std::sqrt(2.0) * y, 0.02, 0.005), 0.05, 1e-6 * 0.05);
    // A typical terrace: steep upstream wall, gentle terrain.
    const double sm = 0.6, st = 0.08, n = 0.03, s = 0.004, q = 0.12;
    const double y2 = c.NormalDepth(sm, st, s, n, 0, 0, q);
    const double A = y2 * y2 * (sm + st) / (2 * sm * st);
    const double P = y2 * (1 / std::sin(std::atan(sm)) + 1 / std::sin(std::atan(st)));
    EXPECT_NEAR(Manning(A, P, n, s), q, 1e-6 * q);
    EXPECT_EQ(c.NormalDepth(sm, st, s, n, 0, 0, 0), 0);
    EXPECT_EQ(MensagemDe([&] { c.NormalDepth(sm, 0, s, n, 0, 0, q); }), "Erro no dimensinamento de canal");
    EXPECT_EQ(MensagemDe([&] { c.NormalDepth(sm, st, -s, n, 0, 0, q); }), "Erro no dimensinamento de canal");
}

TEST(Canal, ProfundidadeNormalTrapezoidal) {
    TCanalGradiente c;
    c.Secao().SetIndex(0);
    const double y = c.NormalDepth(0, 0, 0.005, 0.025, 0.5, 1, 0.1);
    EXPECT_NEAR(Manning(y * (0.5 + y), 0.5 + 2 * y * std::sqrt(2.0), 0.025, 0.005), 0.1, 1e-7);
    EXPECT_GT(y, 0.1);
    EXPECT_LT(y, 1);
    // Rectangle (Z = 0) and a deep, narrow channel well below the starting guess of 1 m.
    const double yr = c.NormalDepth(0, 0, 0.002, 0.015, 1.2, 0, 0.8);
    EXPECT_NEAR(Manning(1.2 * yr, 1.2 + 2 * yr, 0.015, 0.002), 0.8, 1e-6 * 0.8);
    const double yg = c.NormalDepth(0, 0, 0.01, 0.03, 0.2, 2, 5);
    EXPECT_NEAR(Manning(yg * (0.2 + 2 * yg), 0.2 + 2 * yg * std::sqrt(5.0), 0.03, 0.01), 5, 1e-6 * 5);
    EXPECT_EQ(MensagemDe([&] { c.NormalDepth(0, 0, 0, 0.025, 0.5, 1, 0.1); }), "Erro no dimensinamento de canal");
    c.Secao().SetIndex(2);
    EXPECT_EQ(c.NormalDepth(0, 0, 0.005, 0.025, 0.5, 1, 0.1), 0);
}

TEST(Canal, Discretizacao) {
    auto d = TCanalGradiente::Discretiza(600, 60);
    EXPECT_DOUBLE_EQ(d.dx, 2.5);
    EXPECT_DOUBLE_EQ(d.dt, 0.04);
    EXPECT_EQ(d.nodes, 240);
    d = TCanalGradiente::Discretiza(600, 5);
    EXPECT_DOUBLE_EQ(d.dx, 5);
    EXPECT_DOUBLE_EQ(d.dt, 0.4);
    EXPECT_EQ(d.nodes, 120);
    d = TCanalGradiente::Discretiza(50, 150);  // dx 0.5 m, then a fifth
    EXPECT_DOUBLE_EQ(d.dx, 0.1);
    EXPECT_DOUBLE_EQ(d.dt, 0.02);
    EXPECT_EQ(d.nodes, 500);
    d = TCanalGradiente::Discretiza(333, 25);  // n = round(100.4) = 100
    EXPECT_DOUBLE_EQ(d.dx, 3.33);
    EXPECT_DOUBLE_EQ(d.dt, 0.24);
    EXPECT_EQ(d.nodes, 100);
}

TEST(Canal, RoteamentoChegaAoEquilibrio) {
    // Long lateral inflow: at steady state the outlet carries all of it (mass balance),
    // q·L = 0.1 L/s per m × 300 m = 30 L/s.
    TCanalGradiente c;
    c.Sm() = TReal(0.5, -1);
    auto h = Bloco(0.1, 240);
    for (double vib : {5.0, 35.0, 60.0}) {
        const double pico = c.CalculaHidrogramaCanal(300, h, vib, 0.08, 0.004, 0.02);
        EXPECT_NEAR(pico, 30, 0.03 * 30) << vib;
        EXPECT_LE(pico, 30 * 1.005) << vib;
    }
    // Trapezoidal section through the power-law fit of its perimeter.
    c.Secao().SetIndex(0);
    c.SetB(0.5);
    c.Z() = TReal(1, -1);
    EXPECT_NEAR(c.CalculaHidrogramaCanal(300, h, 20, 0.08, 0.004, 0.02), 30, 0.03 * 30);
    // A short burst cannot deliver more than its volume allows.
    c.Secao().SetIndex(1);
    auto curto = Bloco(0.1, 2);
    const double p2 = c.CalculaHidrogramaCanal(300, curto, 20, 0.08, 0.004, 0.02);
    EXPECT_GT(p2, 0);
    EXPECT_LT(p2, 30);
}

TEST(Canal, RoteamentoSemVazaoOuComFalha) {
    TCanalGradiente c;
    c.Sm() = TReal(0.5, -1);
    EXPECT_EQ(c.CalculaHidrogramaCanal(300, THidrograma(), 20, 0.08, 0.004, 0.02), 0);
    EXPECT_EQ(c.CalculaHidrogramaCanal(300, Bloco(0, 60), 20, 0.08, 0.004, 0.02), 0);
    const std::string erro = "Ocorreu um erro em CalculaHidrogramaCanal.";
    EXPECT_EQ(MensagemDe([&] { c.CalculaHidrogramaCanal(0, Bloco(0.1, 60), 20, 0.08, 0.004, 0.02); }), erro);
    EXPECT_EQ(MensagemDe([&] { c.CalculaHidrogramaCanal(300, Bloco(0.1, 60), 20, 0.08, 0.004, 0); }), erro);
    c.Secao().SetIndex(0);  // trapezoid with no width and no side slope: no area
    EXPECT_EQ(MensagemDe([&] { c.CalculaHidrogramaCanal(300, Bloco(0.1, 60), 20, 0.08, 0.004, 0.02); }), erro);
}

class CanalArquivo : public ::testing::TestWithParam<bool> {};

TEST_P(CanalArquivo, IdaEVoltaComSufixo) {
    RegionalFixo fixo(GetParam() ? Regional::PtBR() : Regional::EnUS());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    TCanalGradiente c("_BaciaAcumulacao");
    c.SetH(0.35);
    c.SetHr(47.5);
    c.SetB(0.25);
    c.SetCDu(1.15);
    c.Z() = TReal(1.5, 2);
    c.Sm() = TReal(0.45, -1);
    c.SetComprimento(250);
    c.SetSc(0.0025);
    c.SetQ(12.75);
    c.nc() = TReal(0.018, -1);
    ASSERT_TRUE(c.SaveToProject(arq));
    const std::string texto = LerArquivo(arq);
    EXPECT_NE(texto.find("[Canal_BaciaAcumulacao]\r\nVersao=1\r\n"), std::string::npos) << texto;
    EXPECT_NE(texto.find(GetParam() ? "Sc=0,0025\r\n" : "Sc=0.0025\r\n"), std::string::npos) << texto;
    EXPECT_NE(texto.find("TipoCanal=1\r\n"), std::string::npos);
    TCanalGradiente l("_BaciaAcumulacao");
    ASSERT_TRUE(l.LoadFromProject(arq));
    EXPECT_EQ(l.H(), 0.35);
    EXPECT_EQ(l.Hr(), 47.5);
    EXPECT_EQ(l.B(), 0.25);
    EXPECT_EQ(l.CDu(), 1.15);
    EXPECT_EQ(l.Z().Value(), 1.5);
    EXPECT_EQ(l.Z().Index(), 2);
    EXPECT_EQ(l.Sm().Value(), 0.45);
    EXPECT_EQ(l.Sm().Index(), -1);
    EXPECT_EQ(l.Comprimento(), 250);
    EXPECT_EQ(l.Sc(), 0.0025);
    EXPECT_EQ(l.Q(), 12.75);
    EXPECT_EQ(l.nc().Value(), 0.018);
    EXPECT_EQ(l.nc().Index(), -1);
    // Without the suffix there is nothing to read.
    TCanalGradiente semSufixo;
    EXPECT_FALSE(semSufixo.LoadFromProject(arq));
}

INSTANTIATE_TEST_SUITE_P(Regionais, CanalArquivo, ::testing::Values(true, false),
                         [](const auto& i) { return i.param ? "ptBR" : "enUS"; });

TEST(CanalArquivo, VerificacoesDaLeitura) {
    RegionalFixo fixo(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    const std::string gradiente =
        "[CanalGradiente]\r\nVersao=1\r\nComprimento=-5\r\nSc=0,01\r\nQ=-2\r\nIndnc=1\r\nnc=0,02\r\n";
    auto canal = [](const std::string& extra) {
        return "[Canal]\r\nVersao=1\r\nH=-1\r\nHr=-3\r\nB=0,5\r\nCDu=0,5\r\nIndZ=-1\r\nValorZ=1\r\n"
               "IndSm=0\r\nValorSm=0,3\r\n" + extra;
    };
    TCanalGradiente c;
    // A trapezoid saved as 0 reads back triangular; the setters clamp the values.
    GravarArquivo(arq, canal("TipoCanal=0\r\n") + gradiente);
    c.Secao().SetIndex(0);
    ASSERT_TRUE(c.LoadFromProject(arq));
    EXPECT_EQ(c.Secao().Index(), 1);
    EXPECT_EQ(c.H(), 0);
    EXPECT_EQ(c.Hr(), 0);
    EXPECT_EQ(c.CDu(), 1);
    EXPECT_EQ(c.Comprimento(), 0);
    EXPECT_EQ(c.Q(), 0);
    EXPECT_EQ(c.nc().Index(), 1);
    for (const std::string& ruim : {canal("TipoCanal=2\r\n"), canal(""),
                                    std::string("[Canal]\r\nVersao=2\r\nIndZ=0\r\nIndSm=0\r\nTipoCanal=1\r\n")}) {
        GravarArquivo(arq, ruim + gradiente);
        EXPECT_FALSE(c.LoadFromProject(arq)) << ruim;
    }
    GravarArquivo(arq, "[Canal]\r\nVersao=1\r\nIndSm=0\r\nTipoCanal=1\r\n");  // IndZ missing
    EXPECT_FALSE(c.LoadFromProject(arq));
    // Another version of the graded section is skipped without failing.
    c.SetComprimento(77);
    GravarArquivo(arq, canal("TipoCanal=1\r\n") + "[CanalGradiente]\r\nVersao=9\r\nComprimento=5\r\n");
    EXPECT_TRUE(c.LoadFromProject(arq));
    EXPECT_EQ(c.Comprimento(), 77);
    GravarArquivo(arq, canal("TipoCanal=1\r\n") + "[CanalGradiente]\r\nVersao=1\r\nnc=0,02\r\n");  // no Indnc
    EXPECT_FALSE(c.LoadFromProject(arq));
}

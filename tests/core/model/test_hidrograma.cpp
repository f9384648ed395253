#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/model/Hidrograma.h"

namespace {

// 0 → 2 → 6 → 1 → 0 L/s per m at 0, 10, 20, 30, 40 min.
THidrograma Triangulo() {
    THidrograma h;
    h.AddPoint(0, 0);
    h.AddPoint(2, 10);
    h.AddPoint(6, 20);
    h.AddPoint(1, 30);
    h.AddPoint(0, 40);
    return h;
}

}  // namespace

TEST(Hidrograma, VazaoInterpolada) {
    auto h = Triangulo();
    EXPECT_EQ(h.DischargeAt(5), 1);
    EXPECT_EQ(h.DischargeAt(15), 4);
    EXPECT_EQ(h.DischargeAt(20), 6);
    EXPECT_DOUBLE_EQ(h.DischargeAt(37.5), 0.25);
    // Outside, or on the first or last time: nothing.
    EXPECT_EQ(h.DischargeAt(0), 0);
    EXPECT_EQ(h.DischargeAt(40), 0);
    EXPECT_EQ(h.DischargeAt(-1), 0);
    EXPECT_EQ(h.DischargeAt(41), 0);
    EXPECT_EQ(THidrograma().DischargeAt(3), 0);
    // Times that agree in their leading 32 bits are the same time: a hit, no interpolation.
    EXPECT_EQ(h.DischargeAt(20 * (1 + 1e-9)), 6);
    EXPECT_EQ(h.DischargeAt(40 * (1 + 1e-9)), 0);  // counts as the last time
    EXPECT_NE(h.DischargeAt(20.01), 6);
}

TEST(Hidrograma, VolumeEAnalise) {
    auto h = Triangulo();
    // Trapezoids: (1 + 4 + 3.5 + 0.5)·10 min·60 s = 5400 L per m.
    EXPECT_DOUBLE_EQ(h.Volume(), 5400);
    THidrograma um;
    um.AddPoint(5, 1);
    EXPECT_EQ(um.Volume(), 0);

    h.SetAlpha(2);
    h.SetBeta(5.0 / 3.0);
    h.Analyse(100);
    EXPECT_EQ(h.Qp(), 6);
    EXPECT_EQ(h.PeakTime(), 20);
    EXPECT_NEAR(h.PeakDepth(), std::pow(3.0, 0.6), 1e-12);
    EXPECT_NEAR(h.PeakVelocity(), 6 / std::pow(3.0, 0.6), 1e-12);
    EXPECT_DOUBLE_EQ(h.RunoffDepth(), 54);
    EXPECT_DOUBLE_EQ(h.AnalysedVolume(), 5400);
    h.Analyse(0);  // keeps the area given before
    EXPECT_EQ(h.Area(), 100);

    // The end points are not examined for the peak; ties keep the earlier point.
    THidrograma p;
    p.AddPoint(9, 0);
    p.AddPoint(3, 1);
    p.AddPoint(3, 2);
    p.AddPoint(9, 3);
    p.Analyse(1);
    EXPECT_EQ(p.Qp(), 3);
    EXPECT_EQ(p.PeakTime(), 1);
    EXPECT_EQ(p.PeakDepth(), 0);  // no α, β yet

    // Fewer than 3 points: everything zero.
    THidrograma dois;
    dois.AddPoint(1, 0);
    dois.AddPoint(1, 1);
    dois.Analyse(1);
    EXPECT_EQ(dois.Qp(), 0);
    EXPECT_EQ(dois.AnalysedVolume(), 0);
}

TEST(Hidrograma, ProfundidadePelaFuncaoDoCanal) {
    THidrograma h([](double y) { return 10 * y; });
    const auto base = Triangulo();
    for (auto& p : base.Points()) h.AddPoint(p.q, p.t);
    h.SetAlpha(6);
    h.SetBeta(1);
    h.SetDepthMode(1);
    h.Analyse(1);
    EXPECT_DOUBLE_EQ(h.PeakDepth(), 10);
    EXPECT_DOUBLE_EQ(h.PeakVelocity(), 6);  // from the hillslope depth, before the function
    h.Clear();
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(h.DepthMode(), 0);
}

TEST(Hidrograma, Erros) {
    THidrograma h;
    EXPECT_ERRO(EVandoro, "O coeficiente Alfa ser maior do que zero.", h.SetAlpha(0));
    EXPECT_ERRO(EVandoro, "O expoente Beta deve ser maior do que zero.", h.SetBeta(-1));
    EXPECT_ERRO(EVandoro, "A área de contribuição do escoamento deve ser maior do que zero.", h.Analyse(0));
    h.SetDepthMode(1);
    EXPECT_ERRO(EVandoro, "Erro. Função de determinação da profundidade do canal não definida.", h.Analyse(5));
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "CamposLocacao.h"
#include "TestSupport.h"
#include "core/common/Threads.h"
#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/location/Suavizacao.h"
#include "core/raster/GradeMapa.h"

namespace {

using Ponto = std::pair<double, double>;

// The course a cell-edge trace gives of a curve: its points snapped to the corners of cells
// of side 'celula', joined by steps along the cell edges (a zigzag of about half a cell).
TLinhaMapa Escada(const std::vector<Ponto>& curva, double celula, int id, double level) {
    TLinhaMapa l;
    l.id = id;
    l.level = level;
    auto por = [&](double x, double y) {
        if (!l.x.empty() && l.x.back() == x && l.y.back() == y) return;
        l.x.push_back(x);
        l.y.push_back(y);
    };
    for (const auto& [x, y] : curva) {
        const double cx = std::round(x / celula) * celula, cy = std::round(y / celula) * celula;
        if (!l.x.empty() && l.x.back() != cx && l.y.back() != cy) por(cx, l.y.back());
        por(cx, cy);
    }
    return l;
}

std::vector<Ponto> Amostrar(const std::function<Ponto(double)>& f, double t0, double t1, int n) {
    std::vector<Ponto> v;
    for (int i = 0; i <= n; ++i) v.push_back(f(t0 + (t1 - t0) * i / n));
    return v;
}

bool Fechada(const TLinhaMapa& l) { return l.x.front() == l.x.back() && l.y.front() == l.y.back(); }

struct Medidas {
    double menorRaio = INFINITY, maiorPasso = 0, maiorDesvio = 0;
};
Medidas Medir(const TLinhaMapa& l, const TCotaMapa& cota, double base = 6) {
    Medidas m;
    const bool fechada = Fechada(l);
    for (size_t i = 0; i < l.x.size(); ++i) {
        m.menorRaio = std::min(m.menorRaio, RaioEm(l, i, base, fechada));
        const double e = cota(l.x[i], l.y[i]) - l.level;
        if (std::isfinite(e)) m.maiorDesvio = std::max(m.maiorDesvio, std::fabs(e));
        if (i > 0) m.maiorPasso = std::max(m.maiorPasso, std::hypot(l.x[i] - l.x[i - 1], l.y[i] - l.y[i - 1]));
    }
    return m;
}

// Whether any two segments of the lines cross (a line's own neighbouring segments aside).
bool Cruzam(const TLinhaMapa& a, size_t i, const TLinhaMapa& b, size_t j) {
    auto o = [](double ax, double ay, double bx, double by, double cx, double cy) {
        const double v = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
        return (v > 0) - (v < 0);
    };
    const int o1 = o(a.x[i], a.y[i], a.x[i + 1], a.y[i + 1], b.x[j], b.y[j]);
    const int o2 = o(a.x[i], a.y[i], a.x[i + 1], a.y[i + 1], b.x[j + 1], b.y[j + 1]);
    const int o3 = o(b.x[j], b.y[j], b.x[j + 1], b.y[j + 1], a.x[i], a.y[i]);
    const int o4 = o(b.x[j], b.y[j], b.x[j + 1], b.y[j + 1], a.x[i + 1], a.y[i + 1]);
    return o1 * o2 < 0 && o3 * o4 < 0;
}
int Cruzamentos(const TLinhaMapa& a, const TLinhaMapa& b) {
    int n = 0;
    for (size_t i = 0; i + 1 < a.x.size(); ++i)
        for (size_t j = 0; j + 1 < b.x.size(); ++j) n += Cruzam(a, i, b, j);
    return n;
}

const TDentroCampo kTudo = [](double, double) { return true; };

}  // namespace

TEST(Suavizacao, RadiusOfThreePointsAlongTheLine) {
    // A polygon of 360 one-degree sides round a circle of 40 m: 40 m everywhere, ends of the
    // ring included, less the 0.3 % the points 6 m off lose by lying on the sides (1.5 mm
    // inside the circle, against a sagitta of 0.45 m).
    TLinhaMapa anel;
    for (int k = 0; k <= 360; ++k) {
        anel.x.push_back(40 * std::cos(k * std::numbers::pi / 180));
        anel.y.push_back(40 * std::sin(k * std::numbers::pi / 180));
    }
    for (size_t i : {size_t(0), size_t(90), size_t(360)}) EXPECT_NEAR(RaioEm(anel, i, 6, true), 40 * (1 - 0.0015 / 0.45), 0.02) << i;

    // One corner turning by 60°: the points 6 m either side and the corner give 3/sin(30°).
    TLinhaMapa canto{1, 0, {0, 10, 10 + 10 * 0.5}, {0, 0, 10 * std::sqrt(3.0) / 2}};
    EXPECT_NEAR(RaioEm(canto, 1, 6, false), 6, 1e-9);
    // Open ends: infinite at the end vertex; near it the short side reaches the end only.
    TLinhaMapa reta{1, 0, {0, 1, 2, 3}, {0, 0, 0, 0}};
    EXPECT_TRUE(std::isinf(RaioEm(reta, 0, 6, false)));
    EXPECT_TRUE(std::isinf(RaioEm(reta, 1, 6, false)));
    TLinhaMapa perto{1, 0, {0, 2, 2 + 6 * 0.5}, {0, 0, 6 * std::sqrt(3.0) / 2}};
    // Corner of 60° with 2 m on one side and 6 m on the other: the triangle 2–6 with 120°.
    const double c = std::sqrt(4 + 36 + 2 * 2 * 6 * 0.5);
    EXPECT_NEAR(RaioEm(perto, 1, 6, false), c / (2 * std::sin(2 * std::numbers::pi / 3)), 1e-9);
    EXPECT_TRUE(std::isnan(RaioEm(perto, 3, 6, false)));
}

TEST(Suavizacao, ZeroRadiusLeavesTheTracedLinesAsTheyAre) {
    const TCotaMapa plano = [](double x, double) { return 0.1 * x; };
    const TLinhaMapa l = Escada(Amostrar([](double t) { return Ponto{10 + 0.3 * t, t}; }, 0, 50, 200), 1, 3, 1.0);
    TParametrosSuavizacao p;
    p.raioMinimo = 0;
    const auto r = SuavizarLinhas({l}, plano, kTudo, p);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].linha.x, l.x);
    EXPECT_EQ(r[0].linha.y, l.y);
    EXPECT_EQ(r[0].linha.id, 3);
    EXPECT_TRUE(r[0].travessias.empty());
    EXPECT_GT(r[0].comprimento, std::hypot(15.0, 50.0));
}

TEST(Suavizacao, StaircaseOnAPlaneBecomesStraightAndOnLevel) {
    // A plane rising to the north-east; the level 5 runs along 0.6x + 0.8y = 100.
    const TCotaMapa plano = [](double x, double y) { return 0.05 * (0.6 * x + 0.8 * y); };
    const auto reta = [](double t) { return Ponto{60 - 0.8 * t, 80 + 0.6 * t}; };
    const TLinhaMapa l = Escada(Amostrar(reta, -75, 75, 1500), 1, 1, 5.0);
    ASSERT_GT(Medir(l, plano).maiorDesvio, 0.015);  // the staircase is off by up to ~half a cell

    const auto r = SuavizarLinhas({l}, plano, kTudo, TParametrosSuavizacao{});
    ASSERT_EQ(r.size(), 1u);
    const Medidas m = Medir(r[0].linha, plano);
    EXPECT_LE(m.maiorDesvio, 0.05);
    EXPECT_LE(m.maiorPasso, 2);
    EXPECT_GT(m.menorRaio, 500);  // straight
    EXPECT_TRUE(r[0].travessias.empty());
    EXPECT_EQ(r[0].comprimentoRaioMenor, 0);
    EXPECT_EQ(r[0].linha.level, 5.0);
    // The line's own length, not the staircase's (which is 1.4 times longer).
    EXPECT_NEAR(r[0].comprimento, 150, 2);
}

TEST(Suavizacao, AGradedChannelIsSmoothedOntoItsGradeNotOntoALevel) {
    // A plane rising 8 % to the north; a channel from (0, 0) at 100 m rising 1 % along itself
    // runs east-north-east, sin(a) = 0.01 / 0.08, traced as a staircase of 1 m cells.
    const double Sc = 0.01, seno = Sc / 0.08, cosseno = std::sqrt(1 - seno * seno);
    const TCotaMapa plano = [](double, double y) { return 100 + 0.08 * y; };
    const auto reta = [&](double t) { return Ponto{t * cosseno, t * seno}; };
    const TLinhaMapa l = Escada(Amostrar(reta, 0, 200, 2000), 1, 1, 100.0);

    const auto r = SuavizarLinhas({l}, plano, kTudo, TParametrosSuavizacao{}, {Sc});
    ASSERT_EQ(r.size(), 1u);
    const TLinhaMapa& g = r[0].linha;
    // Every vertex on its design elevation, measured along the smoothed line itself.
    double s = 0, maior = 0;
    for (size_t i = 0; i < g.x.size(); ++i) {
        if (i) s += std::hypot(g.x[i] - g.x[i - 1], g.y[i] - g.y[i - 1]);
        maior = std::max(maior, std::fabs(plano(g.x[i], g.y[i]) - (100 + Sc * s)));
    }
    EXPECT_LE(maior, 0.05);
    EXPECT_TRUE(r[0].travessias.empty());
    EXPECT_NEAR(r[0].comprimento, 200, 2);
    EXPECT_GT(Medir(g, plano).menorRaio, 100);  // straight to the eye
    // It keeps its course: a level line would have been pulled down onto y = 0.
    EXPECT_NEAR(g.x.back(), 200 * cosseno, 1.5);
    EXPECT_NEAR(g.y.back(), 200 * seno, 0.5);
}

TEST(Suavizacao, RingsOfAConeKeepTheirLevelAndTheSmallOneReportsItsRadius) {
    const TCotaMapa cone = [](double x, double y) { return 30 - 0.1 * std::hypot(x - 50, y - 50); };
    auto anel = [](double raio) {
        return [raio](double t) { return Ponto{50 + raio * std::cos(t), 50 + raio * std::sin(t)}; };
    };
    const double dois = 2 * std::numbers::pi;
    const TLinhaMapa grande = Escada(Amostrar(anel(40), 0, dois, 2000), 1, 1, 26.0);
    const TLinhaMapa pequeno = Escada(Amostrar(anel(10), 0, dois, 600), 1, 2, 29.0);
    ASSERT_TRUE(Fechada(grande) && Fechada(pequeno));

    const auto r = SuavizarLinhas({grande, pequeno}, cone, kTudo, TParametrosSuavizacao{});
    ASSERT_EQ(r.size(), 2u);
    for (const auto& s : r) {
        EXPECT_TRUE(Fechada(s.linha)) << s.linha.id;
        EXPECT_TRUE(s.travessias.empty()) << s.linha.id;
        const Medidas m = Medir(s.linha, cone);
        EXPECT_LE(m.maiorDesvio, 0.05) << s.linha.id;
        EXPECT_LE(m.maiorPasso, 2) << s.linha.id;
    }
    EXPECT_GT(Medir(r[0].linha, cone).menorRaio, 30);  // a few centimetres of wave over 12 m tell
    EXPECT_NEAR(r[0].comprimento, dois * 40, 1.5);
    EXPECT_EQ(r[0].comprimentoRaioMenor, 0);
    // A ring of 10 m cannot turn at 15 m: it stays a ring on its level, and all of it is
    // reported under the minimum radius.
    EXPECT_NEAR(Medir(r[1].linha, cone).menorRaio, 10, 1.5);
    EXPECT_NEAR(r[1].comprimento, dois * 10, dois * 0.5);  // the band is 0.5 m either side
    EXPECT_NEAR(r[1].comprimentoRaioMenor, r[1].comprimento, 1e-6);
}

TEST(Suavizacao, LongHillRoundsItsEndsOffLevelOrStaysOnLevelWhenTooNarrow) {
    // A hill three times longer than wide: its rings are ellipses of semi-axes 3b by b.
    const TCotaMapa morro = [](double x, double y) { return 30 - 0.1 * std::hypot((x - 100) / 3, y - 100); };
    auto anel = [](double b) {
        return [b](double t) { return Ponto{100 + 3 * b * std::cos(t), 100 + b * std::sin(t)}; };
    };
    const double dois = 2 * std::numbers::pi;
    // b = 25: the ends turn at b²/3b = 8.3 m. A 15.75 m circle fits inside the end with its
    // apex 4.35 m short of it, where the ground stands 0.1 × 4.35 / 3 = 0.145 m above the
    // level. One passage at each end, the east one across the ring's first vertex.
    const TLinhaMapa largo = Escada(Amostrar(anel(25), 0, dois, 3000), 1, 1, 27.5);
    const auto r = SuavizarLinhas({largo}, morro, kTudo, TParametrosSuavizacao{});
    const TLinhaSuavizada& s = r[0];
    ASSERT_TRUE(Fechada(s.linha));
    EXPECT_GE(Medir(s.linha, morro).menorRaio, 15);
    ASSERT_EQ(s.travessias.size(), 2u);
    for (const TTravessia& t : s.travessias) {
        EXPECT_EQ(t.maiorAterro, 0);
        EXPECT_GT(t.maiorCorte, 0.12);
        EXPECT_LT(t.maiorCorte, 0.2);
        EXPECT_LT(t.comprimento, 40);
    }
    EXPECT_NEAR(s.travessias[0].inicio + s.travessias[0].comprimento / 2, s.comprimento / 2, 2);
    EXPECT_GT(s.travessias[1].inicio + s.travessias[1].comprimento, s.comprimento);

    // b = 15: a ring 30 m wide cannot turn at 15.75 m anywhere near its level; it is put on
    // its level as it is, and its sharp ends are reported.
    const TLinhaMapa estreito = Escada(Amostrar(anel(15), 0, dois, 3000), 1, 2, 28.5);
    const auto q = SuavizarLinhas({estreito}, morro, kTudo, TParametrosSuavizacao{});
    ASSERT_TRUE(Fechada(q[0].linha));
    EXPECT_TRUE(q[0].travessias.empty());
    EXPECT_LE(Medir(q[0].linha, morro).maiorDesvio, 0.05);
    EXPECT_GT(q[0].comprimento, 180);
    EXPECT_GT(q[0].comprimentoRaioMenor, 10);
}

namespace {

// A plane rising 5 % to the north cut by a V-shaped gully along x = 50, 1 m deep at its axis
// and 20 m wide, on a grid of 2 m cells as an elevation model holds it (0 = no data, here a
// border of one cell), sampled bilinearly between cell centres.
struct Vale {
    TImgElevacao img;
    TGradeMapa grade;
    static double Z(double x, double y) { return 0.05 * y + 0.1 * std::min(std::fabs(x - 50), 10.0); }
    Vale() {
        const int n = 60;
        img.SetRowCount(n);
        img.SetColCount(n);
        grade = TGradeMapa{-10, 110, 2, 2, n, n};
        for (int r = 1; r <= n; ++r)
            for (int c = 1; c <= n; ++c) {
                const bool borda = r == 1 || c == 1 || r == n || c == n;
                img.SetCell(r, c, borda ? 0.0f : float(Z(grade.XDoCentro(c - 1), grade.YDoCentro(r - 1))));
            }
    }
    double Cota(double x, double y) const {
        const double c = grade.ColunaDe(x), r = grade.LinhaDe(y);
        const int c0 = int(std::floor(c)), r0 = int(std::floor(r));
        const double fc = c - c0, fr = r - r0;
        const double z00 = img.ElevationAt(c0 + 1, r0 + 1), z10 = img.ElevationAt(c0 + 2, r0 + 1),
                     z01 = img.ElevationAt(c0 + 1, r0 + 2), z11 = img.ElevationAt(c0 + 2, r0 + 2);
        if (z00 == 0 || z10 == 0 || z01 == 0 || z11 == 0) return NAN;
        return (z00 * (1 - fc) + z10 * fc) * (1 - fr) + (z01 * (1 - fc) + z11 * fc) * fr;
    }
};

}  // namespace

TEST(Suavizacao, GullyIsCrossedOffLevelOnceWithTheFillItNeeds) {
    const Vale vale;
    const TCotaMapa cota = [&](double x, double y) { return vale.Cota(x, y); };
    // The level 3 runs along y = 40 outside the gully and up to y = 60 on its axis: a V 20 m
    // deep pointing uphill, 20 m wide at its mouth.
    const auto curva = [](double x) { return Ponto{x, (3 - 0.1 * std::min(std::fabs(x - 50), 10.0)) / 0.05}; };
    const TLinhaMapa l = Escada(Amostrar(curva, 0, 100, 2000), 2, 7, 3.0);

    const auto r = SuavizarLinhas({l}, cota, kTudo, TParametrosSuavizacao{});
    ASSERT_EQ(r.size(), 1u);
    const TLinhaSuavizada& s = r[0];
    const Medidas m = Medir(s.linha, cota);
    EXPECT_GE(m.menorRaio, 15);
    EXPECT_LE(m.maiorPasso, 2);
    ASSERT_EQ(s.travessias.size(), 1u);
    const TTravessia& t = s.travessias[0];
    // Where the gully lies along the line (its course runs from x = 0 to 100).
    EXPECT_GT(t.inicio, 20);
    EXPECT_LT(t.inicio + t.comprimento, s.comprimento - 20);
    // Crossing the gully's axis at least a few metres below the tip of its V needs fill of
    // the order of its depth there: more than a third of a metre, less than the metre the
    // gully is deep.
    EXPECT_GT(t.maiorAterro, 0.3);
    EXPECT_LT(t.maiorAterro, 1.0);
    // Elsewhere on level.
    double inicio = 0;
    for (size_t i = 0; i < s.linha.x.size(); ++i) {
        if (i > 0) inicio += std::hypot(s.linha.x[i] - s.linha.x[i - 1], s.linha.y[i] - s.linha.y[i - 1]);
        if (inicio < t.inicio - 0.5 || inicio > t.inicio + t.comprimento + 0.5) {
            const double e = cota(s.linha.x[i], s.linha.y[i]) - 3;
            EXPECT_FALSE(std::fabs(e) > 0.05) << "x=" << s.linha.x[i];
        }
    }
}

TEST(Suavizacao, CloseLinesStayApart) {
    // Two staircases 1.6 cells apart across a plane: straight, on level, not crossing.
    const TCotaMapa plano = [](double x, double y) { return 0.1 * (y - 0.5 * x); };
    auto reta = [](double b) { return [b](double x) { return Ponto{x, 0.5 * x + b}; }; };
    const TLinhaMapa a = Escada(Amostrar(reta(10), 0, 80, 800), 1, 1, 1.0);
    const TLinhaMapa b = Escada(Amostrar(reta(11.6), 0, 80, 800), 1, 2, 1.16);
    ASSERT_EQ(Cruzamentos(a, b), 0);
    const auto r = SuavizarLinhas({a, b}, plano, kTudo, TParametrosSuavizacao{});
    EXPECT_EQ(Cruzamentos(r[0].linha, r[1].linha), 0);
    for (const auto& s : r) EXPECT_LE(Medir(s.linha, plano).maiorDesvio, 0.05);

    // A right-angled V with a short line across its mouth 3 m above the tip: rounding the tip
    // at 15 m would carry it some 6 m up, right over the short line without touching it. The
    // V keeps below it. (Geometry only: the tolerance takes the level out of play.)
    const TCotaMapa nada = [](double, double) { return 0.0; };
    TLinhaMapa v{1, 0, {}, {}}, curta{2, 0, {}, {}};
    for (int i = 20; i <= 80; ++i) {
        v.x.push_back(i);
        v.y.push_back(1 + std::fabs(i - 50.0));
    }
    for (int i = 0; i <= 10; ++i) {
        curta.x.push_back(47.4 + 0.52 * i);
        curta.y.push_back(4);
    }
    TParametrosSuavizacao p;
    p.tolerancia = 100;
    const auto livre = SuavizarLinhas({v}, nada, kTudo, p);
    auto fundo = [](const TLinhaMapa& l) {
        double y = INFINITY;
        for (size_t i = 0; i < l.x.size(); ++i)
            if (std::fabs(l.x[i] - 50) < 1) y = std::min(y, l.y[i]);
        return y;
    };
    ASSERT_GT(fundo(livre[0].linha), 5);  // alone, the V is rounded above the short line
    const auto q = SuavizarLinhas({v, curta}, nada, kTudo, p);
    EXPECT_EQ(Cruzamentos(q[0].linha, q[1].linha), 0);
    EXPECT_LT(fundo(q[0].linha), 4);
    EXPECT_GT(q[0].comprimentoRaioMenor, 0);
    // Far from the tip it is rounded as before.
    EXPECT_NEAR(q[0].linha.y[q[0].linha.y.size() / 2 - 15], livre[0].linha.y[livre[0].linha.y.size() / 2 - 15], 1);
    // A line 40 km away spreads the lines over more cells than the crossing search counts one
    // by one; the search that sorts instead, and looks at every cell in every round rather than
    // only where the last round changed a line, must find the same, to the last vertex.
    TLinhaMapa longe{3, 0, {}, {}};
    for (int i = 0; i <= 10; ++i) {
        longe.x.push_back(40000 + 2 * i);
        longe.y.push_back(40000);
    }
    const auto q3 = SuavizarLinhas({v, curta, longe}, nada, kTudo, p);
    for (size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(q3[k].linha.x, q[k].linha.x) << k;
        EXPECT_EQ(q3[k].linha.y, q[k].linha.y) << k;
    }
}

TEST(Suavizacao, HairpinTooTightForTheRadiusDoesNotCrossItself) {
    // An open line out 30 m, round a 2 m turn and back 4 m beside itself: widening the turn
    // to 15 m would fold it over itself.
    TLinhaMapa l{1, 0, {}, {}};
    for (int i = 0; i <= 30; ++i) {
        l.x.push_back(i);
        l.y.push_back(0);
    }
    for (int k = 1; k <= 10; ++k) {
        const double a = std::numbers::pi / 2 - std::numbers::pi * k / 10;
        l.x.push_back(30 + 2 * std::cos(a));
        l.y.push_back(2 + 2 * std::sin(a));
    }
    for (int i = 29; i >= 0; --i) {
        l.x.push_back(i);
        l.y.push_back(4);
    }
    TParametrosSuavizacao p;
    p.tolerancia = 100;
    const auto r = SuavizarLinhas({l}, [](double, double) { return 0.0; }, kTudo, p);
    const TLinhaMapa& s = r[0].linha;
    int cruzamentos = 0;
    for (size_t i = 0; i + 1 < s.x.size(); ++i)
        for (size_t j = i + 2; j + 1 < s.x.size(); ++j) cruzamentos += Cruzam(s, i, s, j);
    EXPECT_EQ(cruzamentos, 0);
    EXPECT_GT(*std::max_element(s.x.begin(), s.x.end()), 30);  // still goes round the turn
    EXPECT_GT(r[0].comprimentoRaioMenor, 0);
    EXPECT_LE(Medir(s, [](double, double) { return 0.0; }).maiorPasso, 2);
}

TEST(Suavizacao, LinesStayInsideTheField) {
    // The gully again, with a pond kept out of the field just below the tip of the V, where
    // the rounded line would pass.
    const Vale vale;
    const TCotaMapa cota = [&](double x, double y) { return vale.Cota(x, y); };
    const auto curva = [](double x) { return Ponto{x, (3 - 0.1 * std::min(std::fabs(x - 50), 10.0)) / 0.05}; };
    const TLinhaMapa l = Escada(Amostrar(curva, 0, 100, 2000), 2, 7, 3.0);
    const auto sem = SuavizarLinhas({l}, cota, kTudo, TParametrosSuavizacao{});
    const auto naLagoa = [](double x, double y) { return std::fabs(x - 50) < 2.5 && y > 43 && y < 50; };
    int dentroLagoa = 0;
    for (size_t i = 0; i < sem[0].linha.x.size(); ++i) dentroLagoa += naLagoa(sem[0].linha.x[i], sem[0].linha.y[i]);
    ASSERT_GT(dentroLagoa, 0);  // without the pond the line goes through it

    const TDentroCampo campo = [&](double x, double y) { return !naLagoa(x, y); };
    const auto r = SuavizarLinhas({l}, cota, campo, TParametrosSuavizacao{});
    for (size_t i = 0; i < r[0].linha.x.size(); ++i)
        EXPECT_FALSE(naLagoa(r[0].linha.x[i], r[0].linha.y[i])) << r[0].linha.x[i] << " " << r[0].linha.y[i];
    EXPECT_GT(r[0].comprimentoRaioMenor, 0);
    EXPECT_LE(Medir(r[0].linha, cota).maiorPasso, 2);

    // A line traced up to the field's edge, its first vertex a little outside it: smoothed
    // all the same, not sent back to its zigzag.
    const TCotaMapa plano = [](double x, double y) { return 0.1 * (y - 0.4 * x); };
    const TLinhaMapa borda = Escada(Amostrar([](double t) { return Ponto{t, 0.4 * t}; }, 0, 60, 600), 1, 1, 0);
    const TDentroCampo aLeste = [](double x, double) { return x >= 0.3; };
    ASSERT_FALSE(aLeste(borda.x[0], borda.y[0]));
    const auto b = SuavizarLinhas({borda}, plano, aLeste, TParametrosSuavizacao{});
    EXPECT_EQ(b[0].comprimentoRaioMenor, 0);
    EXPECT_LE(Medir(b[0].linha, plano).maiorDesvio, 0.05);
}

TEST(Suavizacao, OddLinesAndValuesComeBackWithoutHarm) {
    const TCotaMapa semDados = [](double, double) { return NAN; };
    TLinhaMapa anel{5, 0, {0, 1, 1, 0}, {0, 0, 1, 0}};  // a ring of 3.4 m with no data under it
    const std::vector<TLinhaMapa> linhas = {{1, 0, {}, {}}, {2, 0, {5}, {5}}, {3, 0, {0, 1}, {0, 0}}, anel};
    const auto r = SuavizarLinhas(linhas, semDados, nullptr, TParametrosSuavizacao{});
    ASSERT_EQ(r.size(), linhas.size());
    for (size_t k = 0; k < r.size(); ++k) {
        EXPECT_EQ(r[k].linha.id, linhas[k].id);
        EXPECT_EQ(r[k].linha.x, linhas[k].x);
        EXPECT_EQ(r[k].linha.y, linhas[k].y);
        EXPECT_TRUE(r[k].travessias.empty());
    }
    EXPECT_NEAR(r[3].comprimento, 2 + std::sqrt(2.0), 1e-9);

    // A ring whose level lies 5 m above the ground all round: one passage, all of it.
    TLinhaMapa alto{6, 5, {}, {}};
    for (int k = 0; k < 100; ++k) {
        alto.x.push_back(50 * std::cos(2 * std::numbers::pi * k / 100));
        alto.y.push_back(50 * std::sin(2 * std::numbers::pi * k / 100));
    }
    alto.x.push_back(alto.x[0]);
    alto.y.push_back(alto.y[0]);
    const auto a = SuavizarLinhas({alto}, [](double, double) { return 0.0; }, nullptr, TParametrosSuavizacao{});
    ASSERT_EQ(a[0].travessias.size(), 1u);
    EXPECT_EQ(a[0].travessias[0].inicio, 0);
    EXPECT_NEAR(a[0].travessias[0].comprimento, a[0].comprimento, 1e-9);
    EXPECT_EQ(a[0].travessias[0].maiorAterro, 5);
    EXPECT_EQ(a[0].travessias[0].maiorCorte, 0);

    // A step of 0 or a base of 0 would never end or divide by zero: the usual values stand in.
    const TLinhaMapa l = Escada(Amostrar([](double t) { return Ponto{t, 0.4 * t}; }, 0, 60, 600), 1, 1, 0);
    const TCotaMapa plano = [](double x, double y) { return 0.1 * (y - 0.4 * x); };
    TParametrosSuavizacao p;
    p.passoMaximo = 0;
    p.baseRaio = 0;
    const auto q = SuavizarLinhas({l}, plano, nullptr, p);
    const Medidas m = Medir(q[0].linha, plano);
    EXPECT_LE(m.maiorPasso, 2);
    EXPECT_GE(m.menorRaio, 15);
    EXPECT_LE(m.maiorDesvio, 0.05);
}

namespace {

// Two hills on 100 x 100 one-metre cells, located by the engine itself: steep flanks with
// lines a metre or two apart and many short pieces, where much must fall back.
const Campo kMorros = [](double x, double y) {
    const double a = std::hypot(x - 30, y - 35), b = std::hypot(x - 70, y - 65);
    return 10 + 25 * std::exp(-a * a / 400) + 15 * std::exp(-b * b / 300);
};
// The grid holds f at its cells' centres, row 1 to the north.
const TCotaMapa kCotaMorros = [](double x, double y) { return kMorros(x + 0.5, 100.5 - y); };
const TDentroCampo kDentroMorros = [](double x, double y) { return x >= 0 && y >= 0 && x <= 100 && y <= 100; };

struct LocacaoMorros {
    PastaTemporaria pasta;
    TLocacaoNivel loc;
    LocacaoMorros() {
        GravarAsc(pasta.Arquivo("m.asc"), 100, 100, 1.0, kMorros);
        GravarDeclividade(pasta.Arquivo("md.asc"), 100, 100, 1.0, kMorros);
        Modelo m(3, 1.0);
        ProcessarLocacao(loc, pasta.Arquivo("m.asc"), pasta.Arquivo("md.asc"), m.chuva, m.cn, m.terracos,
                         pasta.Arquivo("m.vet"));
    }
    std::string Arquivos() const {
        return LerArquivo(pasta.Arquivo("m.vet")) + LerArquivo(pasta.Arquivo("m.bdt")) +
               LerArquivo(pasta.Arquivo("m.bdc"));
    }
};

void ExpectIguais(const std::vector<TLinhaSuavizada>& a, const std::vector<TLinhaSuavizada>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a[k].linha.id, b[k].linha.id) << k;
        EXPECT_EQ(a[k].linha.x, b[k].linha.x) << k;
        EXPECT_EQ(a[k].linha.y, b[k].linha.y) << k;
        EXPECT_EQ(a[k].comprimento, b[k].comprimento) << k;
        EXPECT_EQ(a[k].comprimentoRaioMenor, b[k].comprimentoRaioMenor) << k;
        ASSERT_EQ(a[k].travessias.size(), b[k].travessias.size()) << k;
        for (size_t i = 0; i < a[k].travessias.size(); ++i) {
            EXPECT_EQ(a[k].travessias[i].inicio, b[k].travessias[i].inicio) << k;
            EXPECT_EQ(a[k].travessias[i].maiorAterro, b[k].travessias[i].maiorAterro) << k;
        }
    }
}

}  // namespace

TEST(Suavizacao, LinesSmoothedAheadComeOutAsTheWholeSetSmoothedAtOnce) {
    const LocacaoMorros x;
    const std::vector<TLinhaMapa>& linhas = x.loc.LinhasMapa();
    ASSERT_GE(linhas.size(), 5u);
    const TParametrosSuavizacao p;
    const auto todas = SuavizarLinhas(linhas, kCotaMorros, kDentroMorros, p);
    // As the run hands them over: line 1 never, line 2 at another level and line 3 with a
    // vertex elsewhere than they end up, and a line whose record the run then drops.
    for (int threads : {1, 2, 3}) {
        TSuavizacaoAntecipada a(kCotaMorros, p, threads);
        for (size_t k = 0; k < linhas.size(); ++k) {
            TLinhaMapa l = linhas[k];
            if (k == 1) continue;
            if (k == 2) l.level += 0.5;
            if (k == 3) l.x[l.x.size() / 2] += 0.5;
            a.Antecipar(l);
        }
        TLinhaMapa largada = linhas[0];
        largada.id = 9999;
        a.Antecipar(largada);
        a.Aguardar();
        ExpectIguais(a.Concluir(linhas, kDentroMorros), todas);
    }
}

TEST(Suavizacao, ARunWritesTheSameFilesOnOneThreadAndOnTwo) {
    // On two threads the run's lines are smoothed while it places the next ones.
    std::string um, dois;
    {
        const ThreadsFixos t(1);
        um = LocacaoMorros().Arquivos();
    }
    {
        const ThreadsFixos t(2);
        dois = LocacaoMorros().Arquivos();
    }
    EXPECT_GT(um.size(), 1000u);
    EXPECT_TRUE(um == dois);
}

TEST(Suavizacao, LinesOfARealRunStayApartSmoothAndOnLevelOutsideTheirPassages) {
    const LocacaoMorros x;
    const std::vector<TLinhaMapa>& tracadas = x.loc.LinhasMapa();
    ASSERT_GE(tracadas.size(), 5u);
    const TCotaMapa& cota = kCotaMorros;
    const TDentroCampo& dentro = kDentroMorros;
    const auto r = SuavizarLinhas(tracadas, cota, dentro, TParametrosSuavizacao{});
    ASSERT_EQ(r.size(), tracadas.size());
    for (size_t k = 0; k < r.size(); ++k) {
        const TLinhaSuavizada& s = r[k];
        EXPECT_EQ(s.linha.id, tracadas[k].id);
        EXPECT_EQ(Fechada(s.linha), Fechada(tracadas[k]));
        // Every vertex off the level lies in a passage; what is under the radius is reported.
        const bool fechada = Fechada(s.linha);
        double pos = 0, raioMenor = 0;
        for (size_t i = 0; i < s.linha.x.size(); ++i) {
            if (i > 0) pos += std::hypot(s.linha.x[i] - s.linha.x[i - 1], s.linha.y[i] - s.linha.y[i - 1]);
            EXPECT_TRUE(dentro(s.linha.x[i], s.linha.y[i]));
            const double e = cota(s.linha.x[i], s.linha.y[i]) - s.linha.level;
            if (std::fabs(e) > 0.05) {
                bool emTravessia = false;
                for (const TTravessia& t : s.travessias) {
                    const double fim = t.inicio + t.comprimento;
                    emTravessia = emTravessia || (pos >= t.inicio - 1e-6 && pos <= fim + 1e-6) ||
                                  (fechada && fim > s.comprimento && pos <= fim - s.comprimento + 1e-6);
                }
                EXPECT_TRUE(emTravessia) << "line " << s.linha.id << " at " << pos;
            }
            if (RaioEm(s.linha, i, 6, fechada) < 15 && i + 1 < s.linha.x.size())
                raioMenor += std::hypot(s.linha.x[i + 1] - s.linha.x[i], s.linha.y[i + 1] - s.linha.y[i]);
        }
        EXPECT_NEAR(raioMenor, s.comprimentoRaioMenor, 2.5) << s.linha.id;
        for (size_t m2 = k + 1; m2 < r.size(); ++m2) EXPECT_EQ(Cruzamentos(s.linha, r[m2].linha), 0) << k << " " << m2;
    }
}

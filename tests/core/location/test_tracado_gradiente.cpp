#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>

#include "core/common/Erros.h"
#include "core/location/TracadoGradiente.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A plane rising at slope S toward angle beta (rad): 100 m at the origin.
TCotaMapa Plano(double S, double beta) {
    return [=](double x, double y) { return 100 + S * (x * std::cos(beta) + y * std::sin(beta)); };
}

// Every vertex on the ground at its design elevation z_saida + Sc*s, no step longer than
// 'passo', and the length their sum.
void ConfereGrade(const TLinhaGradiente& l, const TCotaMapa& cota, const TParametrosGradiente& p) {
    ASSERT_FALSE(l.x.empty());
    ASSERT_EQ(l.x.size(), l.y.size());
    ASSERT_EQ(l.x.size(), l.cota.size());
    double s = 0;
    for (size_t i = 0; i < l.x.size(); ++i) {
        if (i > 0) {
            const double passo = std::hypot(l.x[i] - l.x[i - 1], l.y[i] - l.y[i - 1]);
            EXPECT_LE(passo, p.passo + 1e-9) << "vértice " << i;
            s += passo;
        }
        EXPECT_NEAR(l.cota[i], l.cota[0] + p.declividade * s, 1e-9) << "vértice " << i;
        EXPECT_NEAR(cota(l.x[i], l.y[i]), l.cota[i], 1e-6) << "vértice " << i;
    }
    EXPECT_NEAR(l.comprimento, s, 1e-6);
}

double Angulo(const TLinhaGradiente& l, size_t i) { return std::atan2(l.y[i + 1] - l.y[i], l.x[i + 1] - l.x[i]); }
double DifAngulo(double a, double b) { return std::remainder(a - b, 2 * kPi); }

}  // namespace

// On a plane the line is straight, at asin(Sc/S) from the contour toward the uphill, whichever
// way the outlet's heading leans, and stops exactly at the maximum length.
TEST(TracadoGradiente, PlanoRetoNaDeclividadeAteOComprimentoMaximo) {
    const double S = 0.08, beta = kPi / 6;
    const TCotaMapa cota = Plano(S, beta);
    const TParametrosGradiente p;  // 0.002, 2 m, 1500 m
    const double desvio = std::asin(p.declividade / S);
    struct Caso {
        double saida;    // heading of the outlet, off the uphill
        double esperado; // the line's direction, off the uphill
    };
    // Headings 10° down the slope from either contour, or almost straight down: the line still
    // leaves across the slope. Straight up the slope: the side with the uphill on the left.
    const double grau = kPi / 180;
    for (const Caso c : {Caso{-kPi / 2 - 10 * grau, -kPi / 2 + desvio}, Caso{kPi / 2 + 10 * grau, kPi / 2 - desvio},
                         Caso{-kPi + grau, -kPi / 2 + desvio}, Caso{kPi - grau, kPi / 2 - desvio},
                         Caso{0, -kPi / 2 + desvio}}) {
        SCOPED_TRACE(c.saida);
        const double a = beta + c.saida;
        const TLinhaGradiente l = TracarGradiente(cota, 10, 20, 3 * std::cos(a), 3 * std::sin(a), p);
        ConfereGrade(l, cota, p);
        EXPECT_EQ(l.fim, TFimGradiente::ComprimentoMaximo);
        EXPECT_EQ(l.comprimento, 1500);
        ASSERT_EQ(l.x.size(), 751u);
        EXPECT_EQ(l.x[0], 10);
        EXPECT_EQ(l.y[0], 20);
        EXPECT_TRUE(std::isnan(l.xSeguinte));
        for (size_t i = 0; i + 1 < l.x.size(); i += 50)
            EXPECT_NEAR(DifAngulo(Angulo(l, i), beta + c.esperado), 0, 1e-7);
        // Straight: the far end 1500 m from the outlet, 3 m higher.
        EXPECT_NEAR(std::hypot(l.x.back() - 10, l.y.back() - 20), 1500, 1e-6);
        EXPECT_NEAR(l.cota.back() - l.cota[0], 3, 1e-9);
    }

    // A maximum that is no whole number of steps: the last step is the part left.
    TParametrosGradiente curto = p;
    curto.comprimentoMaximo = 101;
    const TLinhaGradiente l = TracarGradiente(cota, 0, 0, 0, -1, curto);
    ConfereGrade(l, cota, curto);
    ASSERT_EQ(l.x.size(), 52u);
    EXPECT_EQ(l.comprimento, 101);
    EXPECT_NEAR(std::hypot(l.x[51] - l.x[50], l.y[51] - l.y[50]), 1, 1e-9);
    EXPECT_EQ(l.fim, TFimGradiente::ComprimentoMaximo);

    // A maximum a hair beyond a whole number of steps: no step of a nanometre at the end.
    curto.comprimentoMaximo = 10 + 1e-9;
    const TLinhaGradiente justo = TracarGradiente(cota, 0, 0, 0, -1, curto);
    ConfereGrade(justo, cota, curto);
    EXPECT_EQ(justo.x.size(), 6u);
    EXPECT_EQ(justo.comprimento, curto.comprimentoMaximo);
    EXPECT_EQ(justo.fim, TFimGradiente::ComprimentoMaximo);

    // No length at all: the outlet alone.
    curto.comprimentoMaximo = 0;
    const TLinhaGradiente nula = TracarGradiente(cota, 0, 0, 0, -1, curto);
    EXPECT_EQ(nula.x.size(), 1u);
    EXPECT_EQ(nula.fim, TFimGradiente::ComprimentoMaximo);
}

// Ground that cannot rise at the grade in any direction within reach ends the line on its
// outlet: a plane gentler than the grade, a flat field (at any grade, level included).
TEST(TracadoGradiente, SemSubidaPossivelTerminaNoDivisor) {
    TParametrosGradiente p;
    const TLinhaGradiente suave = TracarGradiente(Plano(0.0015, 0), 0, 0, 0, 1, p);
    ASSERT_EQ(suave.x.size(), 1u);
    EXPECT_EQ(suave.comprimento, 0);
    EXPECT_EQ(suave.fim, TFimGradiente::Divisor);

    const TCotaMapa plano = [](double, double) { return 250.0; };
    for (const double Sc : {0.002, 0.0}) {
        p.declividade = Sc;
        const TLinhaGradiente l = TracarGradiente(plano, 5, 5, 1, 1, p);
        ASSERT_EQ(l.x.size(), 1u);
        EXPECT_EQ(l.cota[0], 250);
        EXPECT_EQ(l.fim, TFimGradiente::Divisor);
    }
}

// Leaving a thalweg, the line keeps to the side it was sent to and runs along that flank.
TEST(TracadoGradiente, SaidaNoTalvegueFicaNoLadoPedido) {
    const TCotaMapa vale = [](double x, double y) { return 0.01 * y + 0.1 * std::fabs(x); };
    TParametrosGradiente p;
    p.comprimentoMaximo = 300;
    for (const double lado : {1.0, -1.0}) {
        SCOPED_TRACE(lado);
        const TLinhaGradiente l = TracarGradiente(vale, 0, 0, lado, 0, p);
        ConfereGrade(l, vale, p);
        EXPECT_EQ(l.fim, TFimGradiente::ComprimentoMaximo);
        for (size_t i = 1; i < l.x.size(); ++i) ASSERT_GT(lado * l.x[i], 0) << "vértice " << i;
        // On the flank z = 0.01y + 0.1|x| the contour runs downstream, 10 m for every 1 m out.
        EXPECT_LT(l.y.back(), -250);
    }
}

// Round a hill the line climbs inward, turning the way it was sent, until at the top no
// direction rises enough or its steps cut across its own last turn; in a bowl it climbs
// outward to the field's edge.
TEST(TracadoGradiente, MorroAteOTopoEBaciaAteABorda) {
    const double k = 0.1;
    const TCotaMapa morro = [=](double x, double y) { return 50 - k * std::hypot(x, y); };
    TParametrosGradiente p;
    p.comprimentoMaximo = 10000;
    for (const double giro : {1.0, -1.0}) {
        SCOPED_TRACE(giro);
        const TLinhaGradiente l = TracarGradiente(morro, 60, 0, 0, giro, p);
        ConfereGrade(l, morro, p);
        EXPECT_TRUE(l.fim == TFimGradiente::Divisor || l.fim == TFimGradiente::Linha);
        for (size_t i = 1; i < l.x.size(); ++i) {
            ASSERT_LT(std::hypot(l.x[i], l.y[i]), std::hypot(l.x[i - 1], l.y[i - 1])) << "vértice " << i;
            ASSERT_GT(giro * (l.x[i - 1] * l.y[i] - l.y[i - 1] * l.x[i]), 0) << "vértice " << i;
        }
        // r falls by Sc/k per metre of line: 60 m of radius in 3000 m, less the top's last metres.
        EXPECT_LT(std::hypot(l.x.back(), l.y.back()), 2.5);
        EXPECT_GT(l.comprimento, 2900);
        EXPECT_LT(l.comprimento, 3000);
    }

    const TCotaMapa bacia = [=](double x, double y) {
        const double r = std::hypot(x, y);
        return r > 80 ? NAN : k * r;
    };
    const TLinhaGradiente l = TracarGradiente(bacia, 20, 0, 0, 1, p);
    ConfereGrade(l, bacia, p);
    EXPECT_EQ(l.fim, TFimGradiente::Borda);
    const double r = std::hypot(l.x.back(), l.y.back());
    EXPECT_GT(r, 78);
    EXPECT_LE(r, 80);
    EXPECT_NEAR(l.comprimento, 60 * k / p.declividade, 10);
}

// A strip with no data narrower than a step (a notch in the field's edge) is not jumped.
TEST(TracadoGradiente, FaixaSemDadosNaoESaltada) {
    const TCotaMapa plano = Plano(0.05, kPi / 2);
    const TCotaMapa cota = [&](double x, double y) { return x > 50 && x < 50.3 ? NAN : plano(x, y); };
    const TLinhaGradiente l = TracarGradiente(cota, 0, 0, 1, 0, {});
    ConfereGrade(l, cota, {});
    EXPECT_EQ(l.fim, TFimGradiente::Borda);
    EXPECT_LT(l.x.back(), 50);
    EXPECT_GT(l.x.back(), 48);
}

// A hump on the downhill side and a hollow ahead: between them the ground falls to the left
// across the step's circle, a point at the right elevation that would put the uphill on the
// line's right. The line keeps the uphill on its left at every vertex.
TEST(TracadoGradiente, MorroSempreDoMesmoLado) {
    const double S = 0.05, Sc = 0.002, d = std::asin(Sc / S);
    // Where the tenth vertex lies on the plane alone, and the way the line goes there.
    const double vx = 20 * std::cos(d), vy = 20 * std::sin(d);
    const auto local = [&](double a, double r) {
        return std::pair{vx + r * std::cos(d + a), vy + r * std::sin(d + a)};
    };
    const auto [bx, by] = local(-0.35, 1.6);  // the hump
    const auto [cx, cy] = local(0.2, 1.9);    // the hollow
    const TCotaMapa cota = [=](double x, double y) {
        const auto sino = [](double u, double v, double sg) { return std::exp(-(u * u + v * v) / (2 * sg * sg)); };
        return S * y + 0.3 * sino(x - bx, y - by, 0.3) - 0.3 * sino(x - cx, y - cy, 0.4);
    };
    TParametrosGradiente p;
    p.comprimentoMaximo = 60;
    const TLinhaGradiente l = TracarGradiente(cota, 0, 0, 1, 0, p);
    ConfereGrade(l, cota, p);
    EXPECT_EQ(l.fim, TFimGradiente::ComprimentoMaximo);
    for (size_t i = 0; i + 1 < l.x.size(); ++i) {
        const double a = Angulo(l, i), e = 1e-4;
        const auto z = [&](double da) { return cota(l.x[i] + 2 * std::cos(a + da), l.y[i] + 2 * std::sin(a + da)); };
        EXPECT_GT(z(e), z(-e)) << "vértice " << i + 1;
    }
}

// A spur whose crest rises gently: round its nose the line turns back along the other flank,
// but at a sharp nose the turn exceeds a right angle and the line stops at the crest.
TEST(TracadoGradiente, EspigaoArredondadoContornadoEAgudoTerminaNoDivisor) {
    const auto espigao = [](double c) -> TCotaMapa {
        return [=](double x, double y) { return 0.02 * x - 0.1 * std::sqrt(y * y + c * c); };
    };
    TParametrosGradiente p;
    p.comprimentoMaximo = 800;

    const TCotaMapa redondo = espigao(20);  // nose radius 0.02*20/0.1 = 4 m
    const TLinhaGradiente volta = TracarGradiente(redondo, 0, 50, -1, 0, p);
    ConfereGrade(volta, redondo, p);
    EXPECT_EQ(volta.fim, TFimGradiente::ComprimentoMaximo);
    EXPECT_LT(volta.y.back(), -20);
    EXPECT_GT(volta.x.back(), volta.x[volta.x.size() / 2]);  // heading east again

    // A nose of 0.6 m, tighter than a step: turned in shorter steps.
    const TCotaMapa estreito = espigao(3);
    const TLinhaGradiente curva = TracarGradiente(estreito, 0, 50, -1, 0, p);
    ConfereGrade(curva, estreito, p);
    EXPECT_EQ(curva.fim, TFimGradiente::ComprimentoMaximo);
    EXPECT_LT(curva.y.back(), -20);

    const TCotaMapa agudo = espigao(0);
    const TLinhaGradiente l = TracarGradiente(agudo, 0, 50, -1, 0, p);
    ConfereGrade(l, agudo, p);
    EXPECT_EQ(l.fim, TFimGradiente::Divisor);
    EXPECT_GE(l.y.back(), 0);
    EXPECT_LT(l.y.back(), 2.5);
    for (const double y : l.y) EXPECT_GE(y, 0);
}

// An obstacle ends the line on the last vertex before it, with the reason it gives and the
// vertex it stopped; every segment is put to it, the first one from the outlet.
TEST(TracadoGradiente, ObstaculoTerminaAntesDeCruzar) {
    const TCotaMapa cota = Plano(0.05, kPi / 2);
    const TParametrosGradiente p;
    for (const TFimGradiente motivo : {TFimGradiente::Escoadouro, TFimGradiente::Linha}) {
        int chamadas = 0;
        double x0 = NAN, y0 = NAN;
        const TObstaculoGradiente obstaculo = [&](double xa, double ya, double xb,
                                                  double) -> std::optional<TFimGradiente> {
            if (++chamadas == 1) {
                x0 = xa;
                y0 = ya;
            }
            if (xa < 100.5 && xb >= 100.5) return motivo;
            return std::nullopt;
        };
        const TLinhaGradiente l = TracarGradiente(cota, 0, 0, 1, 0, p, obstaculo);
        ConfereGrade(l, cota, p);
        EXPECT_EQ(l.fim, motivo);
        EXPECT_EQ(x0, 0);
        EXPECT_EQ(y0, 0);
        EXPECT_EQ(chamadas, static_cast<int>(l.x.size()));
        EXPECT_LT(l.x.back(), 100.5);
        EXPECT_GT(l.x.back(), 98.5);
        EXPECT_GE(l.xSeguinte, 100.5);
        EXPECT_NEAR(std::hypot(l.xSeguinte - l.x.back(), l.ySeguinte - l.y.back()), 2, 1e-9);
        EXPECT_NEAR(cota(l.xSeguinte, l.ySeguinte), l.cota.back() + 2 * p.declividade, 1e-6);
    }
}

// A level line round a hill comes back to its outlet: it ends there as crossing itself.
TEST(TracadoGradiente, LinhaQueVoltaSobreSiTerminaComoLinha) {
    const TCotaMapa morro = [](double x, double y) { return 50 - 0.1 * std::hypot(x, y); };
    TParametrosGradiente p;
    p.declividade = 0;
    const TLinhaGradiente l = TracarGradiente(morro, 30, 0, 0, 1, p);
    ConfereGrade(l, morro, p);
    EXPECT_EQ(l.fim, TFimGradiente::Linha);
    // One turn of 2 m chords on a circle of 30 m: 94 steps, the 95th would close it.
    EXPECT_EQ(l.x.size(), 95u);
    EXPECT_LT(l.y.back(), 0);
    EXPECT_GT(l.ySeguinte, 0);
    for (size_t i = 0; i < l.x.size(); ++i) EXPECT_NEAR(std::hypot(l.x[i], l.y[i]), 30, 1e-6);

    // A ring of 1.2 m: a 2 m chord turns 113°, past a right angle, so the line goes round in
    // shorter steps (of 1 m, 49°) where it must, and still closes.
    const TLinhaGradiente anel = TracarGradiente(morro, 1.2, 0, 0, 1, p);
    ConfereGrade(anel, morro, p);
    EXPECT_EQ(anel.fim, TFimGradiente::Linha);
    EXPECT_NEAR(anel.comprimento, 6, 1e-9);  // 2 + 1 + 2 + 1
    for (size_t i = 0; i < anel.x.size(); ++i) EXPECT_NEAR(std::hypot(anel.x[i], anel.y[i]), 1.2, 1e-6);
}

TEST(TracadoGradiente, EntradasInvalidas) {
    const TCotaMapa cota = Plano(0.05, 0);
    const auto mensagem = [&](TParametrosGradiente p, double dx, double dy) {
        try {
            TracarGradiente(cota, 0, 0, dx, dy, p);
        } catch (const EVandoro& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    TParametrosGradiente p;
    p.declividade = -0.001;
    EXPECT_EQ(mensagem(p, 0, 1), "A declividade do canal deve ser maior ou igual a zero.");
    p = {};
    p.passo = 0;
    EXPECT_EQ(mensagem(p, 0, 1), "O passo entre os vértices da linha deve ser maior que zero.");
    p = {};
    p.comprimentoMaximo = INFINITY;
    EXPECT_EQ(mensagem(p, 0, 1), "O comprimento máximo do canal deve ser maior ou igual a zero.");
    EXPECT_EQ(mensagem({}, 0, 0), "A direção de saída da linha com gradiente não é válida.");

    // An outlet off the field: nothing to trace.
    const TCotaMapa fora = [](double x, double) { return x < 0 ? NAN : x; };
    const TLinhaGradiente l = TracarGradiente(fora, -1, 0, 0, 1, {});
    EXPECT_TRUE(l.x.empty());
    EXPECT_EQ(l.fim, TFimGradiente::Borda);
}

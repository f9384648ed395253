// Graded terraces laid out on synthetic fields written by the test and on the shipped real
// field, their lines checked against the ground and their channels against the graded sizing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "GradesSinteticas.h"
#include "ModeloLocacao.h"
#include "TestSupport.h"
#include "core/common/Progresso.h"
#include "core/location/CorridaGradiente.h"
#include "core/location/Escoadouros.h"
#include "core/location/ImgElev.h"
#include "core/project/ModeloProjeto.h"
#include "core/raster/ImgDeclive.h"

namespace {

// The storm and land of the level runs on a soil that takes in 1 mm/h, hillslope roughness
// 0.1, with a graded system: EV 1 m given, channel grade 0.5 %, roughness 0.025, a V-channel
// with walls 1:1, CDu 1.
struct ModeloGradiente : ModeloLocacao {
    TTerracosGradiente gradiente;
    ModeloGradiente() : ModeloLocacao(TMetodologiaEspacamento::EspacamentoArbitrado, 1.0) {
        cn.SetVIB(1);
        cn.nt().SetValue(0.1);
        chuva.SetDuracao(0);
        gradiente.Secao().SetIndex(1);
        gradiente.SetB(0);
        gradiente.Z().SetValue(0);
        gradiente.Espacamento().Metodologia().SetIndex(TMetodologiaEspacamento::EspacamentoArbitrado);
        gradiente.Espacamento().SetEV(1.0);
        gradiente.SetSc(0.005);
        gradiente.nc().SetValue(0.025);
        gradiente.Sm().SetValue(1);
        gradiente.SetCDu(1);
    }
};

struct Campo2 {
    PastaTemporaria pasta;
    TImgElevacao elev;
    TImgDeclive decl;
    Campo2(int rows, int cols, const Campo& f) {
        GravarAsc(pasta.Arquivo("e.asc"), rows, cols, 1.0, f);
        GravarDeclividade(pasta.Arquivo("d.asc"), rows, cols, 1.0, f);
        elev.Load(pasta.Arquivo("e.asc"));
        decl.LoadFromImage(pasta.Arquivo("d.asc"));
    }
};

}  // namespace

TEST(CorridaGradiente, APlaneWithAWaterwayDownItsMiddleIsCrossedAtTheGrade) {
    // 200 m wide, 300 m long, falling 8 % to the south; the waterway down x = 100.
    const double S = 0.08, Sc = 0.005;
    Campo2 c(300, 200, [&](double, double y) { return 100 - S * y; });
    ModeloGradiente m;
    TParametrosGradiente2 p;
    p.plano.comprimentoMinimo = 50;
    const TResultadoGradiente r =
        LocarGradiente(c.elev, c.decl, {TPolilinha{{100, 100}, {300, 0}}}, m.gradiente, m.cn, m.chuva, p);
    // One outlet every EV / S = 12.5 m down the 300 m waterway, a line to each side.
    ASSERT_GE(r.terracos.size(), 2u * 22);
    EXPECT_LE(r.terracos.size(), 2u * 24);
    const double alfa = std::asin(Sc / S);
    for (const TTerracoGradiente& t : r.terracos) {
        SCOPED_TRACE(t.id);
        EXPECT_EQ(t.escoadouro, 1);
        // Straight across at asin(Sc / S) from the contour, rising north; on the ground at its grade.
        const TLinhaMapa& l = t.linha;
        ASSERT_GE(l.x.size(), 2u);
        const double dx = l.x.back() - l.x.front(), dy = l.y.back() - l.y.front();
        EXPECT_NEAR(std::atan2(dy, std::fabs(dx)), alfa, 1e-3);
        EXPECT_NEAR(t.cotaInicio - t.cotaSaida, Sc * t.comprimento, 1e-6);
        // It runs to the field's edge: 99.5 m across to the last cell centre, at most a step short.
        EXPECT_EQ(t.fim, TFimGradiente::Borda);
        EXPECT_NEAR(t.comprimento * std::cos(alfa), 99.5, 2.0);
        EXPECT_EQ(t.ev, 1.0);
        EXPECT_TRUE(t.aviso.empty()) << t.aviso;
    }
    // Below the top strip each strip is the land between two outlets 12.5 m apart, 99.5 m
    // across: its mean width along the line is 12.5 cos(alfa), and its channel carries what the
    // graded sizing gives for that width, the line's length and the grade.
    int interiores = 0;
    for (size_t i = 2; i + 2 < r.terracos.size(); ++i) {
        const TTerracoGradiente& t = r.terracos[i];
        SCOPED_TRACE(t.id);
        EXPECT_NEAR(t.area, 99.5 * 12.5, 0.04 * 99.5 * 12.5);
        EXPECT_NEAR(t.declividade, 8.0, 0.01);
        const double eh = 12.5 * std::cos(alfa);
        EXPECT_NEAR(t.eh, eh, 0.04 * eh);
        // The sizing of the same channel entered by hand: its own length, width, slope and grade.
        m.cn.SetSt(t.declividade / 100);
        const auto hq =
            m.gradiente.HeightAndFlowFor(m.cn, m.chuva, t.eh, Sc, 0.025, int(std::lround(t.comprimento)));
        EXPECT_GT(hq.Q, 10);  // L/s
        EXPECT_NEAR(t.vazao, hq.Q, 1e-9 * hq.Q);
        EXPECT_NEAR(t.h, hq.H, 1e-12);
        EXPECT_NEAR(t.hr, std::sqrt(1.0) * t.h + 0.1, 1e-9);
        ++interiores;
    }
    EXPECT_GT(interiores, 30);
    // Nearly all the field above the lowest line drains to a terrace.
    EXPECT_LT(r.areaDescoberta, 0.08 * r.areaCampo);
}

TEST(CorridaGradiente, AValleyDrainsBothFlanksToItsThalwegAndLongLinesAreFlagged) {
    // A V valley 160 m wide falling 4 % to the south, flanks at 10 %; the waterway in the
    // thalweg at x = 80.
    Campo2 c(200, 160, [](double x, double y) { return 60 + 0.10 * std::fabs(x - 80.5) - 0.04 * y; });
    ModeloGradiente m;
    TParametrosGradiente2 p;
    p.plano.comprimentoMinimo = 20;
    const TResultadoGradiente r =
        LocarGradiente(c.elev, c.decl, {TPolilinha{{80, 80}, {200, 0}}}, m.gradiente, m.cn, m.chuva, p);
    ASSERT_GE(r.terracos.size(), 8u);
    int oeste = 0, leste = 0;
    for (const TTerracoGradiente& t : r.terracos) {
        SCOPED_TRACE(t.id);
        const TLinhaMapa& l = t.linha;
        // Each leaves the thalweg for one flank and stays on it, rising away from its outlet.
        EXPECT_NEAR(l.x.front(), 80, 1.0);
        const bool paraOeste = l.x.back() < l.x.front();
        (paraOeste ? oeste : leste) += 1;
        for (double x : l.x) EXPECT_TRUE(paraOeste ? x <= l.x.front() + 1e-6 : x >= l.x.front() - 1e-6);
        EXPECT_GT(t.cotaInicio, t.cotaSaida);
    }
    EXPECT_EQ(oeste, leste);
    // No two lines cross.
    const auto cruzam = [](double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
        const auto o = [](double px, double py, double qx, double qy, double rx, double ry) {
            return (qx - px) * (ry - py) - (qy - py) * (rx - px);
        };
        const double d1 = o(cx, cy, dx, dy, ax, ay), d2 = o(cx, cy, dx, dy, bx, by);
        const double d3 = o(ax, ay, bx, by, cx, cy), d4 = o(ax, ay, bx, by, dx, dy);
        return d1 * d2 < 0 && d3 * d4 < 0;
    };
    for (size_t a = 0; a < r.terracos.size(); ++a)
        for (size_t b = a + 1; b < r.terracos.size(); ++b) {
            const TLinhaMapa& la = r.terracos[a].linha;
            const TLinhaMapa& lb = r.terracos[b].linha;
            for (size_t i = 1; i < la.x.size(); ++i)
                for (size_t j = 1; j < lb.x.size(); ++j)
                    ASSERT_FALSE(cruzam(la.x[i - 1], la.y[i - 1], la.x[i], la.y[i], lb.x[j - 1], lb.y[j - 1], lb.x[j],
                                        lb.y[j]))
                        << r.terracos[a].id << " x " << r.terracos[b].id;
        }

    // With a 40 m channel at most, a line that would go on ends there and is flagged for
    // another outlet; only the top ones reach the field's north edge before.
    p.plano.comprimentoMaximoCanal = 40;
    const TResultadoGradiente curtos =
        LocarGradiente(c.elev, c.decl, {TPolilinha{{80, 80}, {200, 0}}}, m.gradiente, m.cn, m.chuva, p);
    size_t noMaximo = 0;
    for (const TTerracoGradiente& t : curtos.terracos) {
        if (t.fim == TFimGradiente::ComprimentoMaximo) {
            ++noMaximo;
            EXPECT_NEAR(t.comprimento, 40, 1e-6);
            EXPECT_EQ(t.aviso, "Atinge o comprimento máximo do canal: precisa de outra saída.");
        } else {
            EXPECT_EQ(t.fim, TFimGradiente::Borda);
            EXPECT_LT(t.comprimento, 40);
            EXPECT_EQ(t.aviso, "");
        }
    }
    EXPECT_GE(noMaximo, curtos.terracos.size() * 3 / 4);

    // A stop request ends the placing: the lines so far are kept, sized and mapped; a stop
    // before the first line places nothing and says so.
    struct Parar : IProgresso {
        int linhas = 0, depois = 0;
        void SetCount(int n) override { linhas = n; }
        bool StopRequested() const override { return linhas >= depois; }
    } parar;
    parar.depois = 4;
    p.progresso = &parar;
    const TResultadoGradiente parados =
        LocarGradiente(c.elev, c.decl, {TPolilinha{{80, 80}, {200, 0}}}, m.gradiente, m.cn, m.chuva, p);
    EXPECT_TRUE(parados.parada);
    EXPECT_EQ(parados.terracos.size(), 4u);
    EXPECT_LT(parados.terracos.size(), curtos.terracos.size());
    for (const TTerracoGradiente& t : parados.terracos) EXPECT_GT(t.vazao, 0) << t.id;
    parar.depois = 0;
    EXPECT_ERRO(EVandoro, "Locação cancelada antes do primeiro terraço: nada foi gravado.",
                LocarGradiente(c.elev, c.decl, {TPolilinha{{80, 80}, {200, 0}}}, m.gradiente, m.cn, m.chuva, p));
}

TEST(CorridaGradiente, ALineBetweenTwoWaterwaysDrainsToBothFromItsHighPoint) {
    // Two valleys falling 4 % to the south, their thalwegs at x = 40 and x = 120 with a
    // waterway in each, flanks at 10 %, a ridge between them at x = 80. A line rising from one
    // waterway crosses the ridge as a contour does and comes down to the other: the line back
    // from that one meets it where both have come the same way up, and each drains to its own.
    const auto w = [](double x, double y) {
        return 60 - 0.04 * y + 0.10 * std::min(std::fabs(x - 40.5), std::fabs(x - 120.5));
    };
    Campo2 c(200, 160, w);
    ModeloGradiente m;
    TParametrosGradiente2 p;
    p.plano.comprimentoMinimo = 20;
    const TResultadoGradiente r = LocarGradiente(
        c.elev, c.decl, {TPolilinha{{40, 40}, {200, 0}}, TPolilinha{{120, 120}, {200, 0}}}, m.gradiente, m.cn, m.chuva, p);
    int pares = 0;
    for (size_t a = 0; a < r.terracos.size(); ++a) {
        const TTerracoGradiente& t = r.terracos[a];
        EXPECT_NEAR(t.cotaInicio - t.cotaSaida, 0.005 * t.comprimento, 1e-6) << t.id;
        EXPECT_NEAR(t.linha.x.front(), t.escoadouro == 1 ? 40 : 120, 1.0) << t.id;
        for (size_t b = a + 1; b < r.terracos.size(); ++b) {
            const TTerracoGradiente& u = r.terracos[b];
            if (std::hypot(t.linha.x.back() - u.linha.x.back(), t.linha.y.back() - u.linha.y.back()) > 1e-6) continue;
            // Two features meeting at one high point, one to each waterway, from outlets at one level.
            SCOPED_TRACE(std::to_string(t.id) + " e " + std::to_string(u.id));
            EXPECT_NE(t.escoadouro, u.escoadouro);
            EXPECT_NEAR(t.cotaInicio, u.cotaInicio, 1e-6);
            EXPECT_NEAR(t.cotaSaida, u.cotaSaida, 1e-6);
            EXPECT_NEAR(t.comprimento, u.comprimento, 1e-6);
            EXPECT_EQ(t.fim, TFimGradiente::Divisor);
            EXPECT_EQ(u.fim, TFimGradiente::Divisor);
            // On the ground there (the cells' surface rounds the crest by a few centimetres).
            EXPECT_NEAR(w(t.linha.x.back() + 0.5, 200 - t.linha.y.back() + 0.5), t.cotaInicio, 0.08);
            ++pares;
        }
        EXPECT_TRUE(t.aviso.empty()) << t.id << ": " << t.aviso;
    }
    EXPECT_GE(pares, 2);
}

// The shipped example: the 2 m model of a real catchment and the waterway along its thalweg,
// with the project's own storm, soil, spacing method and channel.
TEST(CorridaGradiente, TheShippedRealFieldIsLaidOutOnTheGroundFromItsThalweg) {
    const std::string pasta = std::string(VANDORO_BIN_DIR) + "/Exemplos/";
    TModeloProjeto projeto;
    ASSERT_TRUE(projeto.LerProjeto(pasta + "Locacao com gradiente.kzp"));
    TImgElevacao elev;
    TImgDeclive decl;
    elev.Load(pasta + "hugo_site_2m.flt");
    decl.LoadFromImage(pasta + "hugo_site_2m_declividade.flt");
    const TGradeMapa grade{elev.MinX(), double(elev.MinY()) + elev.Rows() * double(elev.CellHeight()),
                           elev.CellWidth(), elev.CellHeight(), elev.Columns(), elev.Rows()};
    const std::vector<TPolilinha> escoadouros = LerEscoadouros(pasta + "hugo_site_2m_escoadouro.vet", "", grade);
    ASSERT_EQ(escoadouros.size(), 1u);
    TParametrosGradiente2 p;
    p.plano = projeto.LocacaoNivel().Plano();
    TTerracosGradiente& sistema = projeto.TerracosGradiente();
    TNumeroDaCurva& cn = projeto.NumeroDaCurva();
    const TResultadoGradiente r = LocarGradiente(elev, decl, escoadouros, sistema, cn, projeto.Precipitacao(), p);
    ASSERT_GT(r.terracos.size(), 10u);

    // The ground under a point, as the tracer reads it (bilinear between cell centres).
    const TCotaMapa chao = CotaNaGrade(elev, grade, 1);
    const auto distanciaAoEscoadouro = [&](double x, double y) {
        double menor = INFINITY;
        const TPolilinha& e = escoadouros[0];
        for (size_t i = 1; i < e.x.size(); ++i) {
            const double ux = e.x[i] - e.x[i - 1], uy = e.y[i] - e.y[i - 1];
            const double t = std::clamp(((x - e.x[i - 1]) * ux + (y - e.y[i - 1]) * uy) / (ux * ux + uy * uy), 0.0, 1.0);
            menor = std::min(menor, std::hypot(x - e.x[i - 1] - t * ux, y - e.y[i - 1] - t * uy));
        }
        return menor;
    };
    const double tolerancia = p.plano.toleranciaCm / 100;
    for (const TTerracoGradiente& t : r.terracos) {
        SCOPED_TRACE(t.id);
        const TLinhaMapa& l = t.linha;
        ASSERT_GE(l.x.size(), 2u);
        // It starts on the waterway and rises from there at the channel grade.
        EXPECT_LT(distanciaAoEscoadouro(l.x.front(), l.y.front()), 1.0);
        EXPECT_NEAR(t.cotaInicio - t.cotaSaida, sistema.Sc() * t.comprimento, 1e-6);
        // On the ground at its design elevation over at least 90 % of its length, inside the field.
        double dentro = 0, s = 0;
        for (size_t v = 1; v < l.x.size(); ++v) {
            const double passo = std::hypot(l.x[v] - l.x[v - 1], l.y[v] - l.y[v - 1]);
            const double meio = chao((l.x[v] + l.x[v - 1]) / 2, (l.y[v] + l.y[v - 1]) / 2);
            ASSERT_FALSE(std::isnan(meio));
            const double projeto = t.cotaSaida + sistema.Sc() * (s + passo / 2);
            if (std::fabs(meio - projeto) <= tolerancia) dentro += passo;
            s += passo;
        }
        EXPECT_GE(dentro, 0.9 * t.comprimento);
        // Its channel is the graded sizing of its own length, strip width and slope.
        if (!(t.eh > 0) || t.vazao == 0) continue;
        cn.SetSt(t.declividade / 100);
        const auto hq = sistema.HeightAndFlowFor(cn, projeto.Precipitacao(), t.eh, sistema.Sc(), sistema.nc().Value(),
                                                 int(std::lround(t.comprimento)));
        EXPECT_NEAR(t.vazao, hq.Q, 1e-9 * hq.Q);
    }
    // No two lines cross (the pieces of one line meet only at their common high point).
    const auto cruzam = [](double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
        const auto lado = [](double px, double py, double qx, double qy, double rx, double ry) {
            return (qx - px) * (ry - py) - (qy - py) * (rx - px);
        };
        const double d1 = lado(cx, cy, dx, dy, ax, ay), d2 = lado(cx, cy, dx, dy, bx, by);
        const double d3 = lado(ax, ay, bx, by, cx, cy), d4 = lado(ax, ay, bx, by, dx, dy);
        return d1 * d2 < -1e-9 && d3 * d4 < -1e-9;
    };
    for (size_t i = 0; i < r.terracos.size(); ++i)
        for (size_t j = i + 1; j < r.terracos.size(); ++j) {
            const TLinhaMapa &a = r.terracos[i].linha, &b = r.terracos[j].linha;
            for (size_t u = 1; u < a.x.size(); ++u)
                for (size_t v = 1; v < b.x.size(); ++v)
                    ASSERT_FALSE(cruzam(a.x[u - 1], a.y[u - 1], a.x[u], a.y[u], b.x[v - 1], b.y[v - 1], b.x[v], b.y[v]))
                        << r.terracos[i].id << " x " << r.terracos[j].id;
        }
    // The field drains to the terraces, or straight to the waterway beside them; almost none
    // of it runs off elsewhere.
    double faixas = 0;
    for (const TTerracoGradiente& t : r.terracos) faixas += t.area;
    EXPECT_GE(faixas, 0.9 * r.areaCampo);
    EXPECT_GE(faixas + r.areaDireta, 0.99 * r.areaCampo);
    EXPECT_LT(r.areaDescoberta, 0.01 * r.areaCampo);
}

// Simulation charts: the swept values and their texts, each point against a direct sizing
// with that input changed, shared inputs put back, and the basin chart on copies.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/SerieGrafico.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/Dimensionamento.h"
#include "core/sizing/Simulacao.h"

namespace {

std::string Exemplo(const char* nome) { return std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/" + nome; }

struct Sized {
    TModeloProjeto m;
    explicit Sized(const char* exemplo) {
        m.AbrirProjetoSemAlterar(Exemplo(exemplo));
        Dimensionar(m);
    }
};

class Serie : public ISerieGrafico {
public:
    void Clear() override {
        x.clear();
        y.clear();
        ++limpezas;
    }
    void AddXY(double a, double b) override {
        if (falharEm >= 0 && static_cast<int>(x.size()) == falharEm) throw std::runtime_error("falha no gráfico");
        x.push_back(a);
        y.push_back(b);
    }
    std::vector<double> x, y;
    int limpezas = 0;
    int falharEm = -1;
};

TEST(Simulacao, ChartListsOfEachSystem) {
    const auto g = GraficosSimulacao(TTipoSistema::Gradiente);
    ASSERT_EQ(g.size(), 21u);
    EXPECT_EQ(g[0].Nome, "Q x Comp");
    EXPECT_EQ(g[13].Nome, "H x Tie");
    EXPECT_EQ(g[15].Nome, "Hr x EH");
    EXPECT_EQ(g[15].Grupo, 2);
    EXPECT_EQ(g[15].Item, 1);
    const auto n = GraficosSimulacao(TTipoSistema::Nivel);
    ASSERT_EQ(n.size(), 5u);
    EXPECT_EQ(n[4].Nome, "LES x Tie");
    EXPECT_EQ(n[4].Grupo, 3);
    EXPECT_TRUE(GraficosSimulacao(TTipoSistema::BaciaAcumulacao).empty());
    EXPECT_EQ(LegendaGrupoSimulacao(0), " Vazão ");
    EXPECT_EQ(LegendaGrupoSimulacao(3), " &Gráficos ");
    EXPECT_EQ(ItensGraficoBacia(1).size(), 4u);
    EXPECT_EQ(ItensGraficoBacia(0).back(), "Largura x profundidade");
}

TEST(Simulacao, FlowAgainstLengthOnAFreshPage) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em gradiente.kzp");
    Serie serie;
    const TGraficoSimulacao g = PlotSimulation(s.m, 0, 0, &serie);
    EXPECT_EQ(g.Nome, "Q x Comp");
    EXPECT_EQ(g.TituloX, "Comprimento (m)");
    EXPECT_EQ(g.TituloY, "Vazão (L/s)");
    EXPECT_EQ(g.RotuloX, "Comprimento:");
    EXPECT_EQ(g.UnidadeX, "m");
    EXPECT_TRUE(g.MostraQ);
    ASSERT_EQ(g.X.size(), 21u);
    for (const auto* l : {&g.SimulaQ, &g.SimulaH, &g.SimulaHr, &g.SimulaTudo}) EXPECT_EQ(l->size(), 21u);
    for (int k = 0; k < 21; ++k) EXPECT_DOUBLE_EQ(g.X[k], 50.0 * (k + 1));
    EXPECT_EQ(g.SimulaTudo.front(), "50");
    EXPECT_EQ(g.SimulaTudo.back(), "1050");
    EXPECT_EQ(serie.x, g.X);
    EXPECT_EQ(serie.y, g.Y);
    EXPECT_EQ(serie.limpezas, 1);
    // The design length (400 m) gives the design flow; longer channels carry more.
    EXPECT_NEAR(g.Y[7], s.m.VazaoSalva(), 1e-9);
    EXPECT_EQ(g.SimulaQ[7], FormatFloat(" #0.0", s.m.VazaoSalva()));
    for (int k = 1; k < 21; ++k) EXPECT_GT(g.Y[k], g.Y[k - 1]);
}

TEST(Simulacao, EveryGradedPointEqualsADirectSizing) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em gradiente.kzp");
    const TTerracosGradiente& g0 = s.m.TerracosGradiente();
    const double EH = g0.Espacamento().EH(), Sc = g0.Sc(), nc = g0.nc().Value();
    const int L = g0.Comprimento();
    for (int item = 0; item < 7; ++item) {
        const TGraficoSimulacao q = PlotSimulation(s.m, 0, item);
        const TGraficoSimulacao h = PlotSimulation(s.m, 1, item);
        for (int k : {0, 9, 20}) {
            // An independent project with the swept input set through its own field.
            TModeloProjeto d;
            d.AbrirProjetoSemAlterar(Exemplo("Terraco em gradiente.kzp"));
            TTerracosGradiente& g = d.TerracosGradiente();
            g.Espacamento().SetEH(EH);
            g.SetSc(Sc);
            g.nc().SetValue(nc);
            g.SetComprimento(L);
            switch (item) {
                case 0: g.SetComprimento(50 * (k + 1)); break;
                case 1: g.Espacamento().SetEH(10.0 * (k + 1)); break;
                case 2: g.nc().SetValue(k == 0 ? 0.001 : 0.005 * k); break;
                case 3: d.NumeroDaCurva().nt().SetValue(0.035 + 0.01575 * k); break;
                case 4: g.SetSc(0.0005 * (k + 1)); break;
                case 5: d.NumeroDaCurva().SetSt(0.01 + 0.02 * k); break;
                default: d.NumeroDaCurva().SetVIB(5.0 * (k + 1)); break;
            }
            g.SizeChannel(d.NumeroDaCurva(), d.Precipitacao());
            EXPECT_NEAR(q.Y[k], g.Q(), 1e-9 * (1 + g.Q())) << q.Nome << " k=" << k;
            EXPECT_NEAR(h.Y[k], g.H() * 100, 1e-9) << h.Nome << " k=" << k;
        }
    }
}

TEST(Simulacao, SweptValuesAsShown) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em gradiente.kzp");
    auto g = PlotSimulation(s.m, 1, 2);  // nc
    EXPECT_EQ(g.SimulaTudo[0], "1,0");
    EXPECT_EQ(g.SimulaTudo[1], "5,0");
    EXPECT_EQ(g.SimulaTudo[2], "10,0");
    EXPECT_EQ(g.SimulaTudo[20], "100,0");
    EXPECT_EQ(g.TituloX, "Rugosidade do canal (10E-3)");
    EXPECT_EQ(g.UnidadeX, "10E-3");
    g = PlotSimulation(s.m, 1, 3);  // nt
    EXPECT_EQ(g.SimulaTudo[0], "3,5");
    EXPECT_EQ(g.SimulaTudo[1], "5,08");
    EXPECT_EQ(g.SimulaTudo[20], "35");
    g = PlotSimulation(s.m, 1, 4);  // Sc
    EXPECT_EQ(g.SimulaTudo[0], "5");
    EXPECT_EQ(g.SimulaTudo[20], "105");
    EXPECT_EQ(g.TituloX, "Delcividade do canal (10E-2 %)");
    EXPECT_EQ(g.RotuloX, "Declividade do canal:");
    g = PlotSimulation(s.m, 1, 5);  // St
    EXPECT_EQ(g.SimulaTudo[0], "1");
    EXPECT_EQ(g.SimulaTudo[20], "41");
    g = PlotSimulation(s.m, 1, 1);  // EH
    EXPECT_EQ(g.SimulaTudo[20], "210");

    // Infiltration in the user's unit.
    s.m.Configuracao().UVIB = "m/h";
    s.m.Configuracao().KVIB = 0.001;
    g = PlotSimulation(s.m, 0, 6);
    EXPECT_EQ(g.TituloX, "Tie (m/h)");
    EXPECT_EQ(g.RotuloX, "Tie:");
    EXPECT_EQ(g.UnidadeX, "m/h");
    EXPECT_DOUBLE_EQ(g.X[19], 0.1);
    EXPECT_EQ(g.SimulaTudo[19], "0,1");
    EXPECT_EQ(g.SimulaTudo[0], "0,01");  // 0.005 rounded half away from zero
}

TEST(Simulacao, SharedInputsComeBackAfterEverySweep) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em gradiente.kzp");
    TNumeroDaCurva& cn = s.m.NumeroDaCurva();
    const double vib = cn.VIB(), st = cn.St(), nt = cn.nt().Value();
    const double total = s.m.Precipitacao().PrecipitacaoTotal();
    const double q = s.m.TerracosGradiente().Q(), h = s.m.TerracosGradiente().H();
    for (int item : {3, 5, 6}) {
        PlotSimulation(s.m, 1, item);
        EXPECT_EQ(cn.VIB(), vib);
        EXPECT_EQ(cn.St(), st);
        EXPECT_EQ(cn.nt().Value(), nt);
        EXPECT_EQ(s.m.Precipitacao().PrecipitacaoTotal(), total);
    }
    EXPECT_EQ(s.m.TerracosGradiente().Q(), q);
    EXPECT_EQ(s.m.TerracosGradiente().H(), h);

    // A chart that fails half way keeps the points so far and still puts everything back.
    for (int item : {3, 5, 6}) {
        Serie serie;
        serie.falharEm = 5;
        EXPECT_THROW(PlotSimulation(s.m, 0, item, &serie), std::runtime_error);
        EXPECT_EQ(serie.x.size(), 5u);
        EXPECT_EQ(cn.VIB(), vib);
        EXPECT_EQ(cn.St(), st);
        EXPECT_EQ(cn.nt().Value(), nt);
    }
    // And so does a model failure: a wall slope of 0 leaves no channel to size.
    s.m.TerracosGradiente().Sm().SetValue(0);
    EXPECT_THROW(PlotSimulation(s.m, 0, 6), EVandoro);
    EXPECT_EQ(cn.VIB(), vib);
}

TEST(Simulacao, RecommendedHeightIsTheTheoreticalPlusTenWithUnitCoefficient) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em gradiente.kzp");
    s.m.TerracosGradiente().SetCDu(1);
    const auto h = PlotSimulation(s.m, 1, 1);
    auto hr = PlotSimulation(s.m, 2, 1);
    EXPECT_EQ(hr.TituloY, "Altura recomendada (cm)");
    EXPECT_EQ(hr.RotuloH, "Altura teórica:");
    for (int k = 0; k < 21; ++k) {
        EXPECT_NEAR(hr.Y[k], h.Y[k] + 10.0, 1e-9);
        EXPECT_NEAR(StrToFloat(hr.SimulaHr[k].substr(1)) - StrToFloat(hr.SimulaH[k].substr(1)), 10.0, 1e-9);
        EXPECT_EQ(hr.SimulaHr[k][0], ' ');
    }
    s.m.TerracosGradiente().SetCDu(1.44);
    hr = PlotSimulation(s.m, 2, 1);
    for (int k = 0; k < 21; ++k) EXPECT_NEAR(hr.Y[k], 1.2 * h.Y[k] + 10.0, 1e-9);
}

TEST(Simulacao, LevelChartsAgainstDirectSizing) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em nivel.kzp");
    const double vib = s.m.NumeroDaCurva().VIB(), cdu = s.m.TerracosNivel().CDu();
    const auto h = PlotSimulation(s.m, 3, 0);
    EXPECT_FALSE(h.MostraQ);
    EXPECT_TRUE(h.SimulaQ.empty());
    EXPECT_EQ(h.TituloX, "Tie (mm/h)");
    EXPECT_EQ(h.TituloY, "Altura teórica (cm)");
    const auto hr = PlotSimulation(s.m, 3, 1);
    const auto les = PlotSimulation(s.m, 3, 4);
    EXPECT_EQ(les.TituloY, "LES (mm)");
    EXPECT_EQ(les.SimulaTudo[0], "5");
    for (int k = 0; k < 21; ++k) {
        TModeloProjeto d;
        d.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));
        Dimensionar(d);
        d.NumeroDaCurva().SetVIB(5.0 * (k + 1));
        TTerracosNivel& n = d.TerracosNivel();
        n.SizeChannel(d.NumeroDaCurva(), d.Precipitacao());
        EXPECT_DOUBLE_EQ(h.X[k], 5.0 * (k + 1));
        EXPECT_NEAR(h.Y[k], n.H() * 100, 1e-9);
        EXPECT_NEAR(hr.Y[k], std::sqrt(cdu) * n.H() * 100 + 10, 1e-9);
        EXPECT_NEAR(les.Y[k], d.NumeroDaCurva().RunoffDepth(d.Precipitacao()), 1e-9);
        EXPECT_EQ(les.SimulaH[k], h.SimulaH[k]);  // the H list keeps H, whatever the chart
        if (k) {
            EXPECT_LE(les.Y[k], les.Y[k - 1]);  // more infiltration, less runoff
        }
    }
    EXPECT_EQ(s.m.NumeroDaCurva().VIB(), vib);

    const auto eh = PlotSimulation(s.m, 3, 2);
    EXPECT_EQ(eh.RotuloX, "Espaçamento");
    EXPECT_EQ(PlotSimulation(s.m, 3, 3).RotuloX, "Espaçamento:");
    EXPECT_EQ(eh.SimulaTudo[0], "10");
    EXPECT_EQ(eh.SimulaTudo[20], "210");
    for (int k = 1; k < 21; ++k) EXPECT_GT(eh.Y[k], eh.Y[k - 1]);  // wider strips, more to store
    EXPECT_NEAR(eh.Y[4], s.m.TerracosNivel().HeightFor(s.m.NumeroDaCurva(), s.m.Precipitacao(), 50) * 100, 1e-12);
}

TEST(Simulacao, UnknownChartsAreRefused) {
    Sized s("Terraco em nivel.kzp");
    for (auto [g, i] : {std::pair{3, 5}, {0, 7}, {4, 0}, {-1, 0}, {2, -1}}) {
        EXPECT_ERRO(EVandoro, "Gráfico de simulação inexistente.", PlotSimulation(s.m, g, i)) << g << " " << i;
    }
}

TEST(PaginaSimulacao, CoefficientOkMovesTheChosenItemToTheHrTab) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em gradiente.kzp");
    TPaginaSimulacao p(s.m);
    Serie serie;
    auto g = p.Abrir(1, &serie);
    EXPECT_EQ(g.Nome, "Q x Comp");
    EXPECT_EQ(p.Selecionado(0), 0);
    EXPECT_EQ(p.Selecionado(1), -1);
    g = p.Escolher(1, 4, &serie);
    EXPECT_EQ(g.Nome, "H x Sc");
    EXPECT_EQ(p.Selecionado(0), -1);  // one graded group at a time
    g = p.Escolher(0, 1, &serie);
    EXPECT_EQ(p.Selecionado(1), -1);

    // "OK" while "Q x EH" is shown: "Hr x EH" on the "Hr" tab, with the new coefficient.
    g = p.CalculaHR(1.44, &serie);
    EXPECT_EQ(g.Nome, "Hr x EH");
    EXPECT_EQ(p.GrupoAtivo(), 2);
    EXPECT_EQ(p.Selecionado(0), -1);
    EXPECT_EQ(p.Selecionado(2), 1);
    const TTerracosGradiente& t = s.m.TerracosGradiente();
    EXPECT_DOUBLE_EQ(t.CDu(), 1.44);
    EXPECT_NEAR(t.Hr(), 1.2 * t.H() * 100 + 10, 1e-9);
    EXPECT_EQ(serie.x, g.X);
    // Again from the "Hr" tab: the same chart is redrawn; a coefficient below 1 counts as 1.
    g = p.CalculaHR(0.5, &serie);
    EXPECT_EQ(g.Nome, "Hr x EH");
    EXPECT_DOUBLE_EQ(t.CDu(), 1);
    EXPECT_NEAR(t.Hr(), t.H() * 100 + 10, 1e-9);
    p.Voltar(1.3, &serie);
    EXPECT_DOUBLE_EQ(t.CDu(), 1.3);
    EXPECT_TRUE(serie.x.empty());
    EXPECT_THROW(p.Escolher(2, 7), EVandoro);

    Sized n("Terraco em nivel.kzp");
    TPaginaSimulacao q(n.m);
    EXPECT_EQ(q.Abrir(1.2).Nome, "H x Tie");
    q.Escolher(3, 3);
    EXPECT_EQ(q.CalculaHR(2).Nome, "Hr x EH");
    EXPECT_NEAR(n.m.TerracosNivel().Hr(), std::sqrt(2.0) * n.m.TerracosNivel().H() * 100 + 10, 1e-9);

    EXPECT_EQ(DicaPonto(2.5, 3.14159), "(2,5; 3,14)");
    EXPECT_EQ(DicaPonto(1050, 606.555), "(1050; 606,56)");
}

TEST(SimulacaoBacia, AreaStepFollowsTheContributionArea) {
    const std::pair<double, double> casos[] = {{0, 10},       {99.9, 10},     {100, 50},     {450, 50},
                                               {500, 100},    {999, 100},     {1000, 500},   {4999, 500},
                                               {5000, 1000},  {9999, 1000},   {10000, 5000}, {49999, 5000},
                                               {50000, 10000}, {1e6, 10000}};
    for (auto [a, p] : casos) EXPECT_EQ(PassoAreaBacia(a), p) << a;
}

TEST(SimulacaoBacia, PointsOnCopiesOfTheBasin) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Bacia de acumulacao.kzp");
    TModeloProjeto& m = s.m;
    const double raio = m.BaciaAcumulacao().Raio(), prof = m.BaciaAcumulacao().Profundidade();
    const double vib = m.NumeroDaCurva().VIB();
    const double les = m.NumeroDaCurva().RunoffDepth(m.Precipitacao());
    const double volume = m.BaciaAcumulacao().Volume();
    ASSERT_GT(volume, 200);

    for (auto [A, primeiro] : {std::pair{450.0, 50.0}, {50000.0, 10000.0}}) {
        m.SetAreaContribBacia(A);
        Serie serie;
        const auto g = PlotBasinSimulation(m, 0, &serie);
        ASSERT_EQ(g.X.size(), 10u);
        EXPECT_EQ(g.TituloY, "Volume (m3)");
        EXPECT_EQ(g.TituloX, "Área de contribuição (m2)");
        for (int i = 0; i < 10; ++i) {
            EXPECT_DOUBLE_EQ(g.X[i], primeiro * (i + 1));
            EXPECT_NEAR(g.Y[i], les / 1000 * g.X[i], 1e-9);
        }
        EXPECT_EQ(serie.y, g.Y);
    }
    m.SetAreaContribBacia(5000);
    const auto v = PlotBasinSimulation(m, 1);
    const auto l = PlotBasinSimulation(m, 2);
    EXPECT_EQ(v.TituloX, "Taxa de infiltração (mm/h)");
    EXPECT_EQ(l.TituloY, "LES (mm)");
    for (int i = 0; i < 10; ++i) {
        EXPECT_DOUBLE_EQ(v.X[i], 5.0 * (i + 1));
        EXPECT_NEAR(v.Y[i], l.Y[i] / 1000 * 5000, 1e-9);
    }
    EXPECT_NEAR(l.Y[2], les, 1e-9);  // 15 mm/h is the project's own rate

    const auto r = PlotBasinSimulation(m, 3);
    EXPECT_EQ(r.Nome, "Raio x profundidade");
    EXPECT_EQ(r.TituloY, "Raio (m)");
    EXPECT_EQ(r.TituloX, "Profundidade (m)");
    EXPECT_DOUBLE_EQ(r.X[0], 1.0);
    EXPECT_NEAR(r.X[9], 1.9, 1e-12);
    for (int i = 0; i < 10; ++i) {
        // Half a cone of the stored volume: V = pi R^2 h / 4.
        EXPECT_NEAR(r.Y[i], std::sqrt(4 * volume / (std::acos(-1.0) * r.X[i])), 1e-9);
        if (i) {
            EXPECT_LT(r.Y[i], r.Y[i - 1]);  // deeper basin, smaller radius
        }
    }
    EXPECT_THROW(PlotBasinSimulation(m, 4), EVandoro);  // no width for a semicircle

    // The project's objects did not move.
    EXPECT_EQ(m.BaciaAcumulacao().Raio(), raio);
    EXPECT_EQ(m.BaciaAcumulacao().Profundidade(), prof);
    EXPECT_EQ(m.NumeroDaCurva().VIB(), vib);

    m.BaciaAcumulacao().SetFormato(TBaciaAcumulacao::Retangular);
    m.BaciaAcumulacao().Setm1(2);
    m.BaciaAcumulacao().Setm2(1);
    const auto c = PlotBasinSimulation(m, 3);
    const auto w = PlotBasinSimulation(m, 4);
    EXPECT_EQ(c.TituloY, "Comprimento (m)");
    EXPECT_EQ(w.TituloY, "Largura (m)");
    EXPECT_EQ(w.Nome, "Largura x profundidade");
    for (int i = 0; i < 10; ++i) {
        // Triangular trench: length (m1 + m2) h, width 2 V / (h L).
        EXPECT_NEAR(c.Y[i], 3 * c.X[i], 1e-12);
        EXPECT_NEAR(w.Y[i], 2 * volume / (c.X[i] * c.Y[i]), 1e-9);
    }
}

}  // namespace

TEST(SimulacaoCsv, BytesOfAKnownTableInBothRegionalSettings) {
    TGraficoSimulacao g;
    g.Nome = "Q x nc";
    g.TituloX = "Rugosidade do canal (10E-3)";
    g.TituloY = "Vazão (L/s)";
    g.RotuloX = "Rugosidade do canal:";
    g.UnidadeX = "10E-3";
    g.X = {1, 12.5};
    g.Y = {310.1, 0.25};
    g.SimulaTudo = {"1", "12,5"};
    g.SimulaQ = {" 310,1", "  0,3"};
    g.SimulaH = {" 20,0", " 1,5"};
    g.SimulaHr = {" 30,0"};  // a short list leaves its cell empty
    const TTabelaSimulacao t = TabelaSimulacao(g);
    EXPECT_EQ(t.CabecalhoX, "Rugosidade do canal (10E-3)");
    EXPECT_EQ(t.Q, (std::vector<std::string>{"310,1", "0,3"}));

    const std::string cabecalho = "Gr\xE1" "fico;Eixo X;X;Eixo Y;Y;Vaz\xE3o (L/s);Altura te\xF3rica (cm);"
                                  "Altura recomendada (cm)\r\n";
    // Decimal comma: ';' between fields; the page's texts are written as shown.
    EXPECT_EQ(CsvSimulacao({t}, Regional::PtBR()),
              cabecalho +
                  "Q x nc;Rugosidade do canal (10E-3);1;Vaz\xE3o (L/s);310,1;310,1;20,0;30,0\r\n"
                  "Q x nc;Rugosidade do canal (10E-3);12,5;Vaz\xE3o (L/s);0,25;0,3;1,5;\r\n");
    // Decimal point: ','; the page texts with a comma (made under the other setting) are quoted.
    std::string us = cabecalho;
    for (char& c : us)
        if (c == ';') c = ',';
    EXPECT_EQ(CsvSimulacao({t}, Regional::EnUS()),
              us +
                  "Q x nc,Rugosidade do canal (10E-3),1,Vaz\xE3o (L/s),310.1,\"310,1\",\"20,0\",\"30,0\"\r\n"
                  "Q x nc,Rugosidade do canal (10E-3),12.5,Vaz\xE3o (L/s),0.25,\"0,3\",\"1,5\",\r\n");
    // A quote in a title is doubled inside quotes.
    TTabelaSimulacao aspas = t;
    aspas.TituloX = "Eixo \"x\"";
    aspas.X.resize(1);
    const std::string csv = CsvSimulacao({aspas}, Regional::PtBR());
    EXPECT_NE(csv.find(";\"Eixo \"\"x\"\"\";1;"), std::string::npos) << csv;
}

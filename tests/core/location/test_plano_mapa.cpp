// The location plan's map without drawing: the scale bar and grid series, the sheet's layout and
// orientation, the strips' colours, the line under a point, and the plan gathered from a real
// run of the shipped field (and from its files when the project is reopened without one).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/gdal/Gdal.h"
#include "core/location/Locacao.h"
#include "core/location/PlanoMapa.h"
#include "core/location/Sig.h"
#include "core/project/ModeloProjeto.h"

TEST(PlanoMapa, ScaleBarIsTheLongestOneTwoFiveNotOverTheRoom) {
    const std::pair<double, double> casos[] = {
        {1000, 1000}, {999.9, 500}, {500, 500}, {450, 200}, {199, 100}, {7, 5}, {2, 2}, {1.999, 1},
        {0.3, 0.2},   {1e-3, 1e-3}, {12345, 10000}};
    for (const auto& [maximo, esperado] : casos) EXPECT_DOUBLE_EQ(ComprimentoEscala(maximo), esperado) << maximo;
    EXPECT_EQ(ComprimentoEscala(0), 0);
    EXPECT_EQ(ComprimentoEscala(-5), 0);
    EXPECT_EQ(ComprimentoEscala(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(ComprimentoEscala(std::numeric_limits<double>::infinity()), 0);
}

TEST(PlanoMapa, GridStepGivesAtMostTheLinesAskedAndNoFinerStepWould) {
    EXPECT_DOUBLE_EQ(PassoGrade(760, 6), 200);   // 126.7 a line at the least
    EXPECT_DOUBLE_EQ(PassoGrade(1000, 5), 200);  // exactly on the series
    EXPECT_DOUBLE_EQ(PassoGrade(1000, 10), 100);
    EXPECT_DOUBLE_EQ(PassoGrade(0.9, 3), 0.5);
    EXPECT_EQ(PassoGrade(0, 5), 0);
    EXPECT_EQ(PassoGrade(100, 0), 0);
    // Over six decades: the step is on the series, within the lines asked, and the step below it
    // in the series would give more.
    for (double extensao = 0.37; extensao < 1e6; extensao *= 1.7) {
        const double passo = PassoGrade(extensao, 6);
        const double mantissa = passo / std::pow(10.0, std::floor(std::log10(passo) + 1e-9));
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 || std::fabs(mantissa - 5) < 1e-9)
            << passo;
        EXPECT_LE(extensao / passo, 6 * (1 + 1e-9)) << extensao;
        const double abaixo = std::fabs(mantissa - 1) < 1e-9 ? passo / 2 : std::fabs(mantissa - 2) < 1e-9 ? passo / 2
                                                                                                            : passo * 0.4;
        EXPECT_GT(extensao / abaixo, 6) << extensao;
    }
}

TEST(PlanoMapa, GridAndScaleLabelsInBrazilianForm) {
    RegionalFixo fixo(Regional::PtBR());
    EXPECT_EQ(RotuloGrade(7455200, 200), "7.455.200");
    EXPECT_EQ(RotuloGrade(600, 200), "600");
    EXPECT_EQ(RotuloGrade(12.5, 0.5), "12,5");
    EXPECT_EQ(RotuloGrade(1234.25, 0.05), "1.234,25");
    // A line through zero computed as a hair below it.
    EXPECT_EQ(RotuloGrade(-1e-12, 100), "0");
    EXPECT_EQ(RotuloEscala(500), "500 m");
    EXPECT_EQ(RotuloEscala(2000), "2 km");
    EXPECT_EQ(RotuloEscala(0.5), "0,5 m");
}

TEST(PlanoMapa, SheetLayoutKeepsMapLegendAndTitleApartInsideTheMargins) {
    for (const auto& [w, h] : {std::pair{297.0, 210.0}, std::pair{210.0, 297.0}, std::pair{2339.0, 1654.0}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        const TLayoutFolha l = LayoutFolha(w, h);
        const auto dentro = [&](const TRetangulo& r) {
            EXPECT_GT(r.largura, 0);
            EXPECT_GT(r.altura, 0);
            EXPECT_GE(r.x, l.margem - 1e-9);
            EXPECT_GE(r.y, l.margem - 1e-9);
            EXPECT_LE(r.x + r.largura, w - l.margem + 1e-9);
            EXPECT_LE(r.y + r.altura, h - l.margem + 1e-9);
        };
        dentro(l.titulo);
        dentro(l.mapa);
        dentro(l.legenda);
        const auto separados = [](const TRetangulo& a, const TRetangulo& b) {
            return a.x + a.largura <= b.x || b.x + b.largura <= a.x || a.y + a.altura <= b.y || b.y + b.altura <= a.y;
        };
        EXPECT_TRUE(separados(l.mapa, l.legenda));
        EXPECT_TRUE(separados(l.mapa, l.titulo));
        EXPECT_TRUE(separados(l.legenda, l.titulo));
        // The grid's labels go left of and under the frame: room for them inside the margins.
        EXPECT_GE(l.mapa.x - l.margem, 1.5 * l.texto);
        // Text a printed A4 reads: about 3 mm.
        EXPECT_NEAR(l.texto / std::min(w, h) * 210, 3.36, 1e-9);
    }
    // Landscape: the legend beside the map; portrait: under it.
    const TLayoutFolha deitada = LayoutFolha(297, 210), em_pe = LayoutFolha(210, 297);
    EXPECT_GE(deitada.legenda.x, deitada.mapa.x + deitada.mapa.largura);
    EXPECT_GE(em_pe.legenda.y, em_pe.mapa.y + em_pe.mapa.altura);
}

TEST(PlanoMapa, OrientationFollowsTheFieldsShape) {
    // The shipped field, 760 m by 550 m, lies down; turned, it stands.
    EXPECT_TRUE(PaisagemA4(760, 550));
    EXPECT_FALSE(PaisagemA4(550, 760));
    // A square field is larger on the portrait sheet, whose legend takes height, not width;
    // one a fifth wider than tall already gains on the landscape one.
    EXPECT_FALSE(PaisagemA4(100, 100));
    EXPECT_TRUE(PaisagemA4(120, 100));
    // What the choice compares: the field's scale in each frame.
    const double deitada = EscalaNaFolha(LayoutFolha(297, 210), 760, 550);
    const double em_pe = EscalaNaFolha(LayoutFolha(210, 297), 760, 550);
    EXPECT_GT(deitada, em_pe);
    const TLayoutFolha l = LayoutFolha(297, 210);
    EXPECT_LE(760 * deitada, l.mapa.largura + 1e-9);
    EXPECT_LE(550 * deitada, l.mapa.altura + 1e-9);
    EXPECT_EQ(EscalaNaFolha(l, 0, 10), 0);
}

TEST(PlanoMapa, TouchingStripsNeverShareAColour) {
    // 1 and 2 side by side, 3 under both, 4 under 3 only; 5 touches 2 at a corner alone.
    TMapaFaixas f;
    f.colunas = 5;
    f.linhas = 4;
    f.terraco = {1, 1, 2, 2, 0,  //
                 1, 1, 2, 2, 0,  //
                 3, 3, 3, 3, 5,  //
                 0, 4, 4, -1, 0};
    // 5 is at (4, 2): diagonal to 2 at (3, 1), beside 3.
    const std::map<int, int> c = CoresDasFaixas(f);
    ASSERT_EQ(c.size(), 5u);
    const std::pair<int, int> vizinhos[] = {{1, 2}, {1, 3}, {2, 3}, {3, 4}, {3, 5}, {2, 5}};
    for (const auto& [a, b] : vizinhos) EXPECT_NE(c.at(a), c.at(b)) << a << " " << b;
    // 1, 2 and 3 touch each other: three colours, and no more are needed.
    int maior = 0;
    for (const auto& [t, cor] : c) maior = std::max(maior, cor);
    EXPECT_EQ(maior, 2);

    // Only a corner between them still counts; a lone strip takes the first colour.
    TMapaFaixas d;
    d.colunas = 3;
    d.linhas = 3;
    d.terraco = {7, 0, 0, 0, 8, 0, 0, 0, 9};
    const std::map<int, int> cd = CoresDasFaixas(d);
    EXPECT_NE(cd.at(7), cd.at(8));
    EXPECT_NE(cd.at(8), cd.at(9));
    TMapaFaixas so;
    so.colunas = 2;
    so.linhas = 1;
    so.terraco = {4, 4};
    EXPECT_EQ(CoresDasFaixas(so), (std::map<int, int>{{4, 0}}));
    // A grid whose cells do not match its size is not coloured.
    so.terraco.push_back(4);
    EXPECT_TRUE(CoresDasFaixas(so).empty());
}

TEST(PlanoMapa, NearestTerraceWithinTheTolerance) {
    std::vector<TLinhaPlano> l(2);
    l[0].terraco = 1;
    l[0].x = {0, 10};
    l[0].y = {0, 0};
    l[1].terraco = 2;
    l[1].x = {0, 5, 10};
    l[1].y = {4, 4, 4};
    EXPECT_EQ(TerracoMaisProximo(l, 5, 1, 2), 1);
    EXPECT_EQ(TerracoMaisProximo(l, 5, 3, 2), 2);
    EXPECT_EQ(TerracoMaisProximo(l, 7, 3.9, 0.2), 2);  // on the second segment
    // Halfway between: the first line found stays.
    EXPECT_EQ(TerracoMaisProximo(l, 5, 2, 2), 1);
    EXPECT_EQ(TerracoMaisProximo(l, 5, 2, 1.5), 0);
    // Past a line's end the distance is to its end point: 2 here.
    EXPECT_EQ(TerracoMaisProximo(l, 12, 0, 2.5), 1);
    EXPECT_EQ(TerracoMaisProximo(l, 12, 0, 1.9), 0);
    EXPECT_EQ(TerracoMaisProximo({}, 0, 0, 100), 0);
    // Only the lines named as worth a look are looked at.
    EXPECT_EQ(TerracoMaisProximo(l, 5, 1, 2, [](size_t k) { return k == 1; }), 0);
    EXPECT_EQ(TerracoMaisProximo(l, 5, 3.5, 2, [](size_t k) { return k == 1; }), 2);
}

TEST(PlanoMapa, VisibleVerticesKeepTheShapeWithinTheToleranceAndBothEnds) {
    using V = std::vector<size_t>;
    // A step of 1 m: its corners lie 0.4994 m off the chord from end to end, so at 0.4 m they
    // show and at 2 m (one corner then too near the other) neither does.
    const std::vector<double> x{0, 10, 10, 20}, y{0, 0, 1, 1};
    EXPECT_EQ(VerticesVisiveis(x, y, 0.4), (V{0, 1, 2, 3}));
    EXPECT_EQ(VerticesVisiveis(x, y, 2), (V{0, 3}));
    // A corner 0.974 m off the chord from (0,0) to (20,1) stays at 0.9 and goes at 1.
    EXPECT_EQ(VerticesVisiveis({0, 10, 20}, {0, 1.475, 1}, 0.9), (V{0, 1, 2}));
    EXPECT_EQ(VerticesVisiveis({0, 10, 20}, {0, 1.475, 1}, 1.0), (V{0, 2}));
    // A traced line, 1 m apart with a 0.2 m zigzag, seen at 1 m a pixel: a straight stroke.
    std::vector<double> zx, zy;
    for (int i = 0; i <= 1000; ++i) {
        zx.push_back(i);
        zy.push_back(i % 2 ? 0.2 : 0);
    }
    EXPECT_EQ(VerticesVisiveis(zx, zy, 0.5), (V{0, 1000}));
    // Vertices nearer than the tolerance to the one kept before go, the last always stays
    // (and then the one before it lies 0.1 m off the chord).
    EXPECT_EQ(VerticesVisiveis({0, 0.1, 0.2, 5, 5.1}, {0, 0.3, 0, 0, 0.1}, 0.5), (V{0, 4}));
    // A closed ring (last vertex on the first) keeps its far side, so it is still a ring.
    const std::vector<double> ax{0, 10, 10, 0, 0}, ay{0, 0, 10, 10, 0};
    EXPECT_EQ(VerticesVisiveis(ax, ay, 0.5), (V{0, 1, 2, 3, 4}));
    // No tolerance to speak of: every vertex; a line of one vertex or none as it is.
    EXPECT_EQ(VerticesVisiveis(zx, zy, 0).size(), zx.size());
    EXPECT_EQ(VerticesVisiveis(zx, zy, std::numeric_limits<double>::quiet_NaN()).size(), zx.size());
    EXPECT_EQ(VerticesVisiveis({3}, {4}, 1), (V{0}));
    EXPECT_TRUE(VerticesVisiveis({}, {}, 1).empty());
}

namespace {

// The shipped 2 m field with one of its projects in a scratch folder, in SIRGAS 2000 / UTM 23S
// (its ".prj") with its corner at E 288 000, N 7 465 000; a boundary covers its western part.
struct ExemploMapa {
    PastaTemporaria pasta;
    TModeloProjeto projeto;
    std::string kzp, limite;
    TArquivosLocacao arquivos;
    explicit ExemploMapa(const std::string& nome, bool comLimite) {
        CopiarExemploLocacao(pasta, {nome});
        kzp = pasta.Arquivo(nome);
        if (!projeto.LerProjeto(kzp)) throw std::runtime_error("projeto");
        TLocacaoNivel& loc = projeto.LocacaoNivel();
        if (comLimite) {
            limite = pasta.Arquivo("talhao.geojson");
            GravarArquivo(limite,
                          R"({"type":"FeatureCollection","crs":{"type":"name","properties":{"name":"urn:ogc:def:crs:EPSG::31983"}},)"
                          R"("features":[{"type":"Feature","properties":{},"geometry":{"type":"Polygon","coordinates":)"
                          R"([[[288020,7465020],[288500,7465020],[288500,7465530],[288020,7465530],[288020,7465020]]]}}]})");
            loc.SetfnLimite(limite);
            DefinirLimiteCampo(loc, limite);
        }
        arquivos = ArquivosDaLocacao(loc, kzp, TArquivosLocacao{});
        if (projeto.TipoSistema().Index() == 1)
            LocarComGradiente(loc, arquivos, CaminhoDoProjeto(loc.fnEscoadouro(), kzp), projeto.Precipitacao(),
                              projeto.NumeroDaCurva(), projeto.TerracosGradiente());
        else
            Locar(loc, arquivos, projeto.Precipitacao(), projeto.NumeroDaCurva(), projeto.TerracosNivel());
    }
};

}  // namespace

TEST(PlanoMapa, LevelRunOfTheShippedFieldAndTheSameProjectReopened) {
    ExemploMapa x("Locacao em nivel.kzp", true);
    const TLocacaoNivel& loc = x.projeto.LocacaoNivel();
    const TPlanoMapa p = PlanoMapaDaLocacao(loc, x.kzp);
    EXPECT_EQ(p.elevacao, x.arquivos.elevacao);
    EXPECT_EQ(p.sistema, "SIRGAS 2000 / UTM zone 23S");
    EXPECT_EQ(p.metrosPorUnidade, 1);
    EXPECT_FALSE(p.gradiente);
    EXPECT_TRUE(p.escoadouros.empty());
    // Every line at the engine's precision, in the table's order, with the type the table gives.
    const TBDT& tabela = loc.Registros();
    ASSERT_GT(tabela.Count(), 2);
    ASSERT_EQ(p.linhas.size(), loc.LinhasMapa().size());
    for (size_t i = 0; i < p.linhas.size(); ++i) {
        EXPECT_EQ(p.linhas[i].terraco, loc.LinhasMapa()[i].id);
        EXPECT_EQ(p.linhas[i].x, loc.LinhasMapa()[i].x);
        EXPECT_EQ(p.linhas[i].y, loc.LinhasMapa()[i].y);
    }
    for (int i = 1; i <= tabela.Count(); ++i) {
        const auto l = std::find_if(p.linhas.begin(), p.linhas.end(),
                                    [&](const TLinhaPlano& a) { return a.terraco == tabela.Item(i)->id; });
        ASSERT_NE(l, p.linhas.end());
        EXPECT_EQ(l->tipo, loc.Info()[size_t(i - 1)].tipo);
        EXPECT_FALSE(l->tipo.empty());
    }
    EXPECT_EQ(p.faixas.terraco, loc.MapaFaixas().terraco);
    // The boundary as drawn: one closed ring of the polygon's five vertices; every line inside it.
    ASSERT_EQ(p.limite.size(), 1u);
    EXPECT_EQ(p.limite[0].x, (std::vector<double>{288020, 288500, 288500, 288020, 288020}));
    EXPECT_EQ(p.limite[0].y, (std::vector<double>{7465020, 7465020, 7465530, 7465530, 7465020}));
    for (const TLinhaPlano& l : p.linhas)
        for (size_t k = 0; k < l.x.size(); ++k) {
            EXPECT_TRUE(l.x[k] >= 288020 && l.x[k] <= 288500 && l.y[k] >= 7465020 && l.y[k] <= 7465530) << l.terraco;
        }

    // Reopened without a run: the project's relative paths from its folder, the lines from the
    // ".vet" (32-bit reals), the types from the table's companion; no strips.
    TModeloProjeto reaberto;
    ASSERT_TRUE(reaberto.LerProjeto(x.kzp));
    reaberto.LocacaoNivel().SetfnLimite(x.limite);
    const TPlanoMapa s = PlanoMapaDaLocacao(reaberto.LocacaoNivel(), x.kzp);
    EXPECT_TRUE(MesmoArquivo(s.elevacao, p.elevacao));
    EXPECT_EQ(s.sistema, p.sistema);
    EXPECT_TRUE(s.faixas.terraco.empty());
    EXPECT_EQ(s.limite.size(), 1u);
    ASSERT_EQ(s.linhas.size(), p.linhas.size());
    for (size_t i = 0; i < s.linhas.size(); ++i) {
        const auto l = std::find_if(p.linhas.begin(), p.linhas.end(),
                                    [&](const TLinhaPlano& a) { return a.terraco == s.linhas[i].terraco; });
        ASSERT_NE(l, p.linhas.end());
        EXPECT_EQ(s.linhas[i].terraco, tabela.Item(int(i) + 1)->id);  // the table's order
        EXPECT_EQ(s.linhas[i].tipo, l->tipo);
        ASSERT_EQ(s.linhas[i].x.size(), l->x.size());
        for (size_t k = 0; k < l->x.size(); ++k) {
            EXPECT_NEAR(s.linhas[i].x[k], l->x[k], 1e-3);
            EXPECT_NEAR(s.linhas[i].y[k], l->y[k], 1e-3);
        }
    }
}

TEST(PlanoMapa, GradedRunHasItsWaterwaysRunOrReopened) {
    ExemploMapa x("Locacao com gradiente.kzp", false);
    const TLocacaoNivel& loc = x.projeto.LocacaoNivel();
    const TPlanoMapa p = PlanoMapaDaLocacao(loc, x.kzp);
    EXPECT_TRUE(p.gradiente);
    ASSERT_FALSE(p.escoadouros.empty());
    EXPECT_EQ(p.escoadouros.size(), loc.Escoadouros().size());
    EXPECT_FALSE(p.linhas.empty());
    EXPECT_TRUE(p.limite.empty());

    TModeloProjeto reaberto;
    ASSERT_TRUE(reaberto.LerProjeto(x.kzp));
    const TPlanoMapa s = PlanoMapaDaLocacao(reaberto.LocacaoNivel(), x.kzp);
    EXPECT_TRUE(s.gradiente);
    ASSERT_EQ(s.escoadouros.size(), p.escoadouros.size());
    for (size_t i = 0; i < s.escoadouros.size(); ++i) {
        ASSERT_EQ(s.escoadouros[i].x.size(), p.escoadouros[i].x.size());
        EXPECT_NEAR(s.escoadouros[i].x.front(), p.escoadouros[i].x.front(), 1e-3);
    }
}

TEST(PlanoMapa, MissingPiecesAreLeftOutWithoutAnError) {
    PastaTemporaria pasta;
    TLocacaoNivel loc;
    loc.SetfnImgElev("nao_existe.flt");
    loc.SetfnVetSaida("nao_existe.vet");
    loc.SetfnLimite("nao_existe.geojson");
    TPlanoMapa p;
    ASSERT_NO_THROW(p = PlanoMapaDaLocacao(loc, pasta.Arquivo("projeto.kzp")));
    EXPECT_EQ(p.elevacao, pasta.Arquivo("nao_existe.flt"));
    EXPECT_TRUE(p.linhas.empty());
    EXPECT_TRUE(p.limite.empty());
    EXPECT_EQ(p.sistema, "");
    EXPECT_FALSE(p.gradiente);
    // A damaged vector is no plan either.
    GravarArquivo(pasta.Arquivo("nao_existe.vet"), "lixo");
    ASSERT_NO_THROW(p = PlanoMapaDaLocacao(loc, pasta.Arquivo("projeto.kzp")));
    EXPECT_TRUE(p.linhas.empty());
}

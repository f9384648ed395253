// Whole runs on fields with several hills, saddles and valleys, checked on the strip map and
// the terrace table: strips between their lines, every piece of a level terraced, coverage,
// no degenerate terraces, one field area, intervals as asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "CamposLocacao.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/location/Suavizacao.h"
#include "core/raster/Filtro.h"
#include "core/raster/GradeMapa.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"

namespace {

struct Rodada {
    PastaTemporaria pasta;
    std::string elev, decl, saida;
    TImgElevacao e;
    TLocacaoNivel loc;
    TVET vet;
    Rodada(int rows, int cols, double cell, const Campo& f, Modelo& m, const TPlanoNivel& plano = PlanoTracado()) {
        elev = pasta.Arquivo("elev.asc");
        decl = pasta.Arquivo("decl.asc");
        saida = pasta.Arquivo("saida.vet");
        GravarAsc(elev, rows, cols, cell, f, kX0, kY0);
        GravarDeclividade(decl, rows, cols, cell, f, kX0, kY0);
        e.Load(elev);
        loc.SetPlano(plano);
        ProcessarLocacao(loc, elev, decl, m.chuva, m.cn, m.terracos, saida);
        vet.Load(saida);
    }
    double Z(int c, int r) const { return e.ElevationAt(c + 1, r + 1); }  // 0-based
};

// Elevation steps from a cell to its lowest and highest neighbour with data (8 neighbours).
void Passos(const Rodada& x, int c, int r, double& abaixo, double& acima) {
    const double z = x.Z(c, r);
    abaixo = acima = 0;
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc) {
            const double v = x.Z(c + dc, r + dr);
            if (v == 0) continue;
            abaixo = std::max(abaixo, z - v);
            acima = std::max(acima, v - z);
        }
}

// The invariants of every run, on the strip map and the .bdt written. 'termina': the run
// ended by itself (not cancelled, not at the 46 limit).
void Invariantes(const Rodada& x, double coberturaMinima = 0.95) {
    const TLocacaoNivel& loc = x.loc;
    const TMapaFaixas& mapa = loc.MapaFaixas();
    ASSERT_EQ(mapa.colunas, x.e.Columns());
    ASSERT_EQ(mapa.linhas, x.e.Rows());
    TBDT bdt;
    ASSERT_TRUE(bdt.LoadFromFile(loc.ArquivoBDT()));
    ASSERT_EQ(bdt.Count(), loc.Registros().Count());
    ASSERT_EQ(loc.Origens().size(), size_t(bdt.Count()));
    ASSERT_GT(bdt.Count(), 0);
    std::vector<int> pos(size_t(loc.TerraceCount()) + 1, 0);
    double minimo = std::numeric_limits<double>::infinity();
    for (int i = 1; i <= bdt.Count(); ++i) {
        ASSERT_GE(bdt.Item(i)->id, 1);
        ASSERT_LE(bdt.Item(i)->id, loc.TerraceCount());
        pos[size_t(bdt.Item(i)->id)] = i;
        minimo = std::min(minimo, bdt.Item(i)->level);
    }
    // 4: no line under two cells, no strip without area.
    const double celula = loc.MetresPerUnit() * x.e.CellWidth();
    for (int i = 1; i <= bdt.Count(); ++i) {
        EXPECT_GE(bdt.Item(i)->length, 2 * celula * 0.999) << "terraço " << bdt.Item(i)->id;
        EXPECT_GT(bdt.Item(i)->area, 0) << "terraço " << bdt.Item(i)->id;
    }
    std::vector<long long> pixels(pos.size(), 0);
    long long campo = 0, acimaDoMaisBaixo = 0, descobertos = 0;
    for (int r = 0; r < mapa.linhas; ++r)
        for (int c = 0; c < mapa.colunas; ++c) {
            const int t = mapa.Em(c, r);
            const double z = x.Z(c, r);
            if (z == 0) {
                EXPECT_EQ(t, TMapaFaixas::kSemDado);
                continue;
            }
            ++campo;
            ASSERT_GE(t, 0);
            if (z >= minimo) {
                ++acimaDoMaisBaixo;
                descobertos += t == 0;
            }
            if (t == 0) continue;
            ASSERT_LT(size_t(t), pos.size());
            ASSERT_GT(pos[size_t(t)], 0) << "faixa de um terraço sem registro: " << t;
            ++pixels[size_t(t)];
            // 1: the strip lies between its line and the line above.
            double abaixo, acima;
            Passos(x, c, r, abaixo, acima);
            const TRegTerr& reg = *bdt.Item(pos[size_t(t)]);
            const TOrigemTerraco& o = loc.Origens()[size_t(pos[size_t(t)] - 1)];
            EXPECT_GE(z + abaixo + 1e-6, reg.level) << "terraço " << t << " célula " << c << ',' << r;
            EXPECT_LE(z - acima - 1e-6, o.teto) << "terraço " << t << " célula " << c << ',' << r;
        }
    // 5: one field, the strips' areas are their cells, never more than the field.
    const double a = loc.PixelArea();
    EXPECT_NEAR(loc.FieldArea() * 10000, campo * a, 1e-6 * campo * a);
    EXPECT_EQ(loc.CelulasCampo(), campo);
    double soma = 0;
    for (int i = 1; i <= bdt.Count(); ++i) {
        EXPECT_NEAR(bdt.Item(i)->area, pixels[size_t(bdt.Item(i)->id)] * a, 1e-6) << bdt.Item(i)->id;
        soma += bdt.Item(i)->area;
    }
    EXPECT_LE(soma, campo * a + 1e-6);
    EXPECT_NEAR(soma, loc.CommittedArea(), 1e-6);
    EXPECT_NEAR(loc.AreaDescoberta(), descobertos * a / 10000, 1e-9);
    // 3: coverage when the run ended by itself.
    if (!loc.ParouNoLimiteDeTerracos() && !loc.StopRequested() && !loc.EncerradaNoLimite()) {
        EXPECT_GE(1.0 - double(descobertos) / acimaDoMaisBaixo, coberturaMinima);
    }
    // The lines: one per record, on their level, no crossings.
    const auto linhas = x.vet.Lines();
    ASSERT_EQ(int(linhas.size()), bdt.Count());
    const TGradeMapa g{x.e.MinX(), x.e.MinY() + double(x.e.Rows()) * x.e.CellHeight(), x.e.CellWidth(),
                       x.e.CellHeight(), x.e.Columns(), x.e.Rows()};
    for (size_t i = 0; i < linhas.size(); ++i) {
        EXPECT_EQ(linhas[i].LineId(), bdt.Item(int(i) + 1)->id);
        for (const TRecPonto& p : linhas[i].Pontos()) {
            const double cx = g.ColunaDe(p.X), ry = g.LinhaDe(p.Y);
            const double ci = std::round(cx), ri = std::round(ry);
            const bool xi = std::fabs(cx - ci) < 1e-3, yi = std::fabs(ry - ri) < 1e-3;
            if (xi && yi) continue;
            ASSERT_TRUE(xi || yi);
            double z;
            if (xi) {
                const int r0 = int(std::floor(ry));
                z = x.Z(int(ci), r0) + (ry - r0) * (x.Z(int(ci), r0 + 1) - x.Z(int(ci), r0));
            } else {
                const int c0 = int(std::floor(cx));
                z = x.Z(c0, int(ri)) + (cx - c0) * (x.Z(c0 + 1, int(ri)) - x.Z(c0, int(ri)));
            }
            EXPECT_NEAR(z, p.Z, 2e-3) << "linha " << linhas[i].LineId();
        }
    }
}

// Levels at the interval asked, and rows that explain themselves: numbered 1, 2, ... so that a
// chain reads downhill, each row's line above an earlier row whose level bounds its strip, and
// the EV the drop from it. Down from the line above, up from the line below, or another piece
// of a level in force.
void Intervalos(const TLocacaoNivel& loc) {
    const TBDT& b = loc.Registros();
    ASSERT_EQ(loc.Info().size(), size_t(b.Count()));
    for (int i = 1; i <= b.Count(); ++i) {
        const TRegTerr& r = *b.Item(i);
        const TOrigemTerraco& o = loc.Origens()[size_t(i - 1)];
        const int acima = loc.Info()[size_t(i - 1)].acima;
        ASSERT_EQ(r.id, i);
        ASSERT_EQ(o.id, r.id);
        if (acima > 0) {
            ASSERT_LT(acima, r.id);
            const double nivel = b.Item(acima)->level;
            EXPECT_NEAR(r.EV, nivel - r.level, 1e-9) << r.id;
            EXPECT_EQ(o.teto, nivel) << r.id;
        } else {
            EXPECT_TRUE(std::isinf(o.teto)) << r.id;
        }
        if (o.sentido == TOrigemTerraco::Descida) {
            EXPECT_NEAR(r.level, o.origem - r.EV, 1e-9) << r.id;
        } else if (o.sentido == TOrigemTerraco::Subida) {
            EXPECT_GT(r.level, o.origem) << r.id;
        } else {
            EXPECT_EQ(r.level, o.origem) << r.id;
        }
    }
}

const Campo kCone = [](double x, double y) {
    const double r = std::hypot(x - 60.5, y - 60.5);
    return r > 58 ? 0.0 : 40 - 0.15 * r;
};
// Two hills joined by a saddle at about 22.6 m.
const Campo kDoisMorros = [](double x, double y) {
    const double a = 30 - 0.12 * std::hypot(x - 30.5, y - 40.5);
    const double b = 27 - 0.12 * std::hypot(x - 90.5, y - 40.5);
    return std::max({a, b, 5.0});
};
// A valley running north-south between two slopes that fall towards it and to the south.
const Campo kVale = [](double x, double y) { return 30 + 0.12 * std::fabs(x - 50.5) - 0.05 * y; };

// Twelve hills on a plane tilted to the north-east, 600 x 600 cells of 2 m (144 ha).
const Campo kDozeMorros = [](double x, double y) {
    const double base = 120 + 0.004 * (x + y);
    double z = base;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) {
            const double cx = 150 + 300 * i, cy = 200 + 400 * j, h = 14 + 3 * ((i + 2 * j) % 3);
            z = std::max(z, base + h * std::exp(-((x - cx) * (x - cx) + (y - cy) * (y - cy)) / (2 * 90.0 * 90.0)));
        }
    return z;
};

}  // namespace

TEST(CamposLocacao, SyntheticFieldsKeepTheInvariantsUnderEverySpacingMethod) {
    struct Caso {
        const char* nome;
        int rows, cols;
        const Campo* f;
    };
    const Caso casos[] = {{"cone", 120, 120, &kCone}, {"dois morros", 80, 120, &kDoisMorros}, {"vale", 80, 100, &kVale}};
    for (const Caso& k : casos)
        for (const auto& [metodo, ev] : {std::pair{0, 0.0}, std::pair{1, 0.0}, std::pair{3, 1.0}, std::pair{4, 0.0}}) {
            SCOPED_TRACE(std::string(k.nome) + " método " + std::to_string(metodo));
            Modelo m(metodo, ev);
            m.terracos.SetH(0.5);
            Rodada x(k.rows, k.cols, 1.0, *k.f, m);
            Invariantes(x);
            Intervalos(x.loc);
            EXPECT_GE(x.loc.Registros().Count(), 2);
        }
}

TEST(CamposLocacao, TwoHillsBothCarryLinesAndTheSaddleLandIsShared) {
    Modelo m(3, 1.0);
    Rodada x(80, 120, 1.0, kDoisMorros, m);
    // A closed ring round each top, above the saddle.
    int oeste = 0, leste = 0;
    for (const auto& l : x.vet.Lines()) {
        bool o = true, e = true;
        for (const TRecPonto& p : l.Pontos()) {
            o = o && p.X - 100 < 58;
            e = e && p.X - 100 > 62;
        }
        if (l.Pontos()[0].Z > 23) {
            oeste += o;
            leste += e;
        }
    }
    EXPECT_GE(oeste, 5);
    EXPECT_GE(leste, 2);
    Invariantes(x);
}

TEST(CamposLocacao, TwelveHillsEachCarryLinesAndNoTerraceTakesTheField) {
    // Before, one terrace ran edge to edge and took 43 % of the field, and the land below
    // the lowest line was never terraced.
    Modelo m(3, 4.0);
    Rodada x(600, 600, 2.0, kDozeMorros, m);
    EXPECT_FALSE(x.loc.ParouNoLimiteDeTerracos()) << x.loc.TerraceCount();
    const double campo = x.loc.FieldAreaM2();
    EXPECT_NEAR(campo, 144e4, 1);
    for (int i = 1; i <= x.loc.Registros().Count(); ++i)
        EXPECT_LT(x.loc.Registros().Item(i)->area, 0.15 * campo) << x.loc.Registros().Item(i)->id;
    // Every hill's top is ringed by a line of its own.
    const auto linhas = x.vet.Lines();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) {
            const double cx = 100 + 150 + 300 * i, cy = 200 + 1200 - (200 + 400 * j);  // map units
            bool anel = false;
            for (const auto& l : linhas) {
                bool dentro = true;
                for (const TRecPonto& p : l.Pontos()) dentro = dentro && std::hypot(p.X - cx, p.Y - cy) < 150;
                anel = anel || dentro;
            }
            EXPECT_TRUE(anel) << "morro " << i << ',' << j;
        }
    Invariantes(x);
    Intervalos(x.loc);
}

TEST(CamposLocacao, VertexTracedAtACellCentreLiesOnThatCentreInMapUnits) {
    // A plane falling 0.5 m a column: with a given EV of 1 m from the top (49.5 m in column 1)
    // the first line runs through the centres of column 3 (48.5 m).
    const Campo plano = [](double x, double) { return 50 - 0.5 * x; };
    for (const bool km : {false, true}) {
        PastaTemporaria pasta;
        GravarAsc(pasta.Arquivo("e.asc"), 10, 12, 1.0, plano, kX0, kY0);
        GravarDeclividade(pasta.Arquivo("d.asc"), 10, 12, 1.0, plano, kX0, kY0);
        std::string e = pasta.Arquivo("e.asc"), d = pasta.Arquivo("d.asc");
        if (km) {
            // The same grid in km (cells of 0.001 km) from (0.1, 0.2).
            for (auto [de, para] : {std::pair{e, pasta.Arquivo("e.doc")}, std::pair{d, pasta.Arquivo("d.doc")}}) {
                TImagem img;
                ASSERT_TRUE(img.LoadFromFile(de));
                img.SetRefUnits("km");
                img.SetMinX(0.1f);
                img.SetMaxX(0.112f);
                img.SetMinY(0.2f);
                img.SetMaxY(0.21f);
                img.SaveToFile(para);
            }
            e = pasta.Arquivo("e.doc");
            d = pasta.Arquivo("d.doc");
        }
        Modelo m(3, 1.0);
        TLocacaoNivel loc;
        loc.SetPlano(PlanoTracado());
        ProcessarLocacao(loc, e, d, m.chuva, m.cn, m.terracos, pasta.Arquivo("s.vet"));
        ASSERT_GE(loc.Registros().Count(), 1);
        EXPECT_DOUBLE_EQ(loc.Registros().Item(1)->level, 48.5);
        TVET vet;
        vet.Load(pasta.Arquivo("s.vet"));
        const auto l = vet.Lines()[0];
        ASSERT_GE(l.Count(), 8);
        const double w = km ? 0.001 : 1, x0 = km ? 0.1 : 100, y0 = km ? 0.2 : 200;
        for (const TRecPonto& p : l.Pontos()) {
            EXPECT_NEAR(p.X, x0 + 2.5 * w, 1e-5 * w) << km;  // centre of column 3 (0-based 2)
            // Each vertex on a row centre: Y = MaxY - (row - 1/2) h.
            const double fila = (y0 + 10 * w - p.Y) / w + 0.5;
            EXPECT_NEAR(fila, std::round(fila), 1e-3) << km;
        }
    }
}

TEST(CamposLocacao, StripMapIsWrittenInTheFormatOfItsNameWithTheNoDataOfTheModel) {
    Modelo m(3, 1.0);
    Rodada x(80, 120, 1.0, kDoisMorros, m);
    const TMapaFaixas& mapa = x.loc.MapaFaixas();
    // The field of two hills has no cell without data: take one out with a hole by hand.
    for (const char* ext : {".asc", ".flt", ".doc"}) {
        const std::string arq = x.pasta.Arquivo(std::string("faixas") + ext);
        GravarMapaFaixas(x.loc, arq);
        TImagem lida;
        ASSERT_TRUE(lida.LoadFromFile(arq)) << ext;
        ASSERT_EQ(lida.Columns(), mapa.colunas);
        ASSERT_EQ(lida.Rows(), mapa.linhas);
        EXPECT_FLOAT_EQ(lida.MinX(), x.e.MinX());
        for (int r = 0; r < mapa.linhas; ++r)
            for (int c = 0; c < mapa.colunas; ++c) ASSERT_EQ(lida.GetReal({c, r}), float(mapa.Em(c, r))) << ext;
    }
    // Cells without elevation hold the model's no-data value.
    PastaTemporaria p;
    const Campo furado = [](double x, double y) { return std::hypot(x - 30.5, y - 40.5) < 5 ? 0.0 : kDoisMorros(x, y); };
    Modelo m2(3, 1.0);
    Rodada y(80, 120, 1.0, furado, m2);
    GravarMapaFaixas(y.loc, p.Arquivo("f.asc"));
    TImagem lida;
    ASSERT_TRUE(lida.LoadFromFile(p.Arquivo("f.asc")));
    EXPECT_FLOAT_EQ(lida.FlagValue(), -9999);
    EXPECT_FLOAT_EQ(lida.GetReal({30, 40}), -9999);
    EXPECT_EQ(y.loc.MapaFaixas().Em(30, 40), TMapaFaixas::kSemDado);
    Invariantes(y);
    // An unknown extension writes nothing.
    EXPECT_NE(MensagemDe([&] { GravarMapaFaixas(y.loc, p.Arquivo("f.xyz")); }), "");
    EXPECT_FALSE(ArquivoExiste(p.Arquivo("f.xyz")));
}

TEST(CamposLocacao, MaskedCellsAreOutsideTheFieldEverywhere) {
    // A boundary that takes the western third out of the field.
    Modelo m(3, 1.0);
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("e.asc"), 80, 120, 1.0, kDoisMorros, kX0, kY0);
    GravarDeclividade(pasta.Arquivo("d.asc"), 80, 120, 1.0, kDoisMorros, kX0, kY0);
    TLocacaoNivel loc;
    loc.SetMascaraCampo([](TImgElevacao& e, TImgDeclive&) {
        for (int r = 1; r <= e.Rows(); ++r)
            for (int c = 1; c <= 40; ++c) e.SetCell(r, c, 0);
    });
    ProcessarLocacao(loc, pasta.Arquivo("e.asc"), pasta.Arquivo("d.asc"), m.chuva, m.cn, m.terracos, pasta.Arquivo("s.vet"));
    EXPECT_EQ(loc.CelulasCampo(), 80 * 80);
    EXPECT_NEAR(loc.FieldArea(), 0.64, 1e-12);
    for (int r = 0; r < 80; ++r)
        for (int c = 0; c < 40; ++c) ASSERT_EQ(loc.MapaFaixas().Em(c, r), TMapaFaixas::kSemDado);
    double soma = 0;
    for (int i = 1; i <= loc.Registros().Count(); ++i) soma += loc.Registros().Item(i)->area;
    EXPECT_LE(soma, 6400);
    EXPECT_GT(soma, 0.9 * 6400 * 0.5);
}

namespace {
// Cells of a real model, read as the field function of a run (whole cells of 'cel' metres).
Campo DoModelo(const TImgElevacao& g, double cel) {
    return [&g, cel](double x, double y) { return double(g.ElevationAt(int(std::lround(x / cel)), int(std::lround(y / cel)))); };
}
}  // namespace

TEST(CamposLocacao, RealModelsKeepTheInvariants) {
    // kootenai (landlab): 50 x 37 cells of 1 m, centimetres, a plateau with knolls above a
    // scarp. Before, EV 1 m put lines at 542.81, 542.21 and 540.43 m.
    TImgElevacao k;
    k.Load(std::string(VANDORO_TEST_DATA) + "/dem/kootenai.asc");
    for (const auto& [metodo, ev] : {std::pair{0, 0.0}, std::pair{3, 1.0}, std::pair{1, 0.0}}) {
        SCOPED_TRACE("kootenai método " + std::to_string(metodo));
        Modelo m(metodo, ev);
        Rodada x(k.Rows(), k.Columns(), 1.0, DoModelo(k, 1.0), m);
        Invariantes(x);
        Intervalos(x.loc);
        if (metodo == 3) {
            const TBDT& b = x.loc.Registros();
            ASSERT_GE(b.Count(), 3);
            EXPECT_NEAR(b.Item(1)->level, double(543.81f) - 1, 1e-9);
            for (int i = 1; i <= b.Count(); ++i) EXPECT_EQ(b.Item(i)->EV, 1.0);
        }
    }
    // hugo_site (landlab, 10 m cells, whole metres) smoothed three times and resampled to
    // 2 m, as the other real-terrain test does.
    PastaTemporaria pasta;
    const std::string suave = pasta.Arquivo("suave.asc");
    TFiltroTipoSingle().Compute(std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/hugo_site.asc", suave, 3);
    TImgElevacao g;
    g.Load(suave);
    constexpr int f = 5;
    const Campo fino = [&](double x, double y) {
        const double u = (x / 2 - 0.5) / f + 0.5, v = (y / 2 - 0.5) / f + 0.5;
        const int c0 = std::clamp(int(std::floor(u)), 1, g.Columns() - 1);
        const int r0 = std::clamp(int(std::floor(v)), 1, g.Rows() - 1);
        const double fu = std::clamp(u - c0, 0.0, 1.0), fv = std::clamp(v - r0, 0.0, 1.0);
        const double z00 = g.Cell(r0, c0), z01 = g.Cell(r0, c0 + 1), z10 = g.Cell(r0 + 1, c0),
                     z11 = g.Cell(r0 + 1, c0 + 1);
        if (z00 <= 0 || z01 <= 0 || z10 <= 0 || z11 <= 0) return 0.0;
        return (z00 * (1 - fu) + z01 * fu) * (1 - fv) + (z10 * (1 - fu) + z11 * fu) * fv;
    };
    Modelo m(1, 0.0);
    Rodada x(g.Rows() * f, g.Columns() * f, 2.0, fino, m);
    SCOPED_TRACE("hugo_site 2 m, Lombardi Neto");
    Invariantes(x);
    Intervalos(x.loc);
}

namespace {

bool Cruzam(const TRecPonto& a, const TRecPonto& b, const TRecPonto& c, const TRecPonto& d) {
    const auto lado = [](const TRecPonto& p, const TRecPonto& q, const TRecPonto& r) {
        return (double(q.X) - p.X) * (double(r.Y) - p.Y) - (double(q.Y) - p.Y) * (double(r.X) - p.X);
    };
    const double d1 = lado(a, b, c), d2 = lado(a, b, d), d3 = lado(c, d, a), d4 = lado(c, d, b);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

}  // namespace

TEST(CamposLocacao, TheTwelveHillPlanIsSmoothEnoughForMachineryAndStaysOnLevel) {
    Modelo m(3, 2.0);
    Rodada x(600, 600, 2.0, kDozeMorros, m, TPlanoNivel{});
    const TLocacaoNivel& loc = x.loc;
    EXPECT_FALSE(loc.ParouNoLimiteDeTerracos());
    const auto linhas = x.vet.Lines();
    ASSERT_EQ(int(linhas.size()), loc.Registros().Count());
    ASSERT_GT(linhas.size(), 30u);
    const TGradeMapa g{x.e.MinX(), x.e.MinY() + double(x.e.Rows()) * x.e.CellHeight(), x.e.CellWidth(),
                       x.e.CellHeight(), x.e.Columns(), x.e.Rows()};
    const auto cota = [&](double px, double py) {
        const double cf = g.ColunaDe(px), rf = g.LinhaDe(py);
        const int c0 = int(std::floor(cf)), r0 = int(std::floor(rf));
        const double fc = cf - c0, fr = rf - r0;
        return (x.Z(c0, r0) * (1 - fc) + x.Z(c0 + 1, r0) * fc) * (1 - fr) +
               (x.Z(c0, r0 + 1) * (1 - fc) + x.Z(c0 + 1, r0 + 1) * fc) * fr;
    };
    double total = 0, foraDeNivel = 0;
    // Segments by 20 m bucket, to look for crossings near each other only.
    std::map<std::pair<int, int>, std::vector<std::pair<size_t, size_t>>> baldes;
    for (size_t i = 0; i < linhas.size(); ++i) {
        const auto& p = linhas[i].Pontos();
        TLinhaMapa l;
        for (const TRecPonto& v : p) {
            l.x.push_back(v.X);
            l.y.push_back(v.Y);
        }
        const bool fechada = p.size() > 2 && p.front().X == p.back().X && p.front().Y == p.back().Y;
        double comprimento = 0;
        for (size_t k = 0; k < p.size(); ++k) {
            if (k > 0) {
                const double passo = std::hypot(double(p[k].X) - p[k - 1].X, double(p[k].Y) - p[k - 1].Y);
                EXPECT_LE(passo, 2.0 + 1e-3) << "linha " << linhas[i].LineId();
                comprimento += passo;
                if (std::fabs(cota(p[k].X, p[k].Y) - p[k].Z) > 0.05) foraDeNivel += passo;
                baldes[{int(std::floor(p[k].X / 20)), int(std::floor(p[k].Y / 20))}].push_back({i, k});
            }
        }
        total += comprimento;
        // The table's length is the exported line's.
        EXPECT_NEAR(loc.Registros().Item(int(i) + 1)->length, comprimento, 1e-3 * comprimento);
        // The radius holds wherever the run does not report it short.
        if (loc.Resultado().comprimentoRaioMenor == 0) {
            for (size_t k = 0; k < p.size(); ++k) EXPECT_GE(RaioEm(l, k, 6, fechada), 15 * 0.999);
        }
    }
    EXPECT_LE(loc.Resultado().comprimentoRaioMenor, 0.02 * total);
    // No terrace is shorter than the minimum; the short pieces' land went to the strips below,
    // whose areas are still their cells, and every strip cell names a terrace of the table.
    std::map<int, double> areas;
    for (int i = 1; i <= loc.Registros().Count(); ++i) {
        EXPECT_GE(loc.Registros().Item(i)->length, 50.0) << loc.Registros().Item(i)->id;
        areas[loc.Registros().Item(i)->id] = 0;
    }
    for (int32_t t : loc.MapaFaixas().terraco)
        if (t > 0) {
            ASSERT_TRUE(areas.count(t)) << t;
            areas[t] += loc.PixelArea();
        }
    for (int i = 1; i <= loc.Registros().Count(); ++i)
        EXPECT_NEAR(loc.Registros().Item(i)->area, areas[loc.Registros().Item(i)->id], 1e-6);
    EXPECT_GT(loc.Resultado().pecasUnidas, 0);
    EXPECT_LE(foraDeNivel, 0.10 * total);
    // Nearly the whole field lies in strips once the short pieces are merged.
    long long emFaixas = 0;
    for (int32_t t : loc.MapaFaixas().terraco) emFaixas += t > 0;
    EXPECT_GE(double(emFaixas) / double(loc.CelulasCampo()), 0.95);
    // The rows still read downhill with the short pieces gone: the lines renumbered 1, 2, ...,
    // each measured from an earlier line above it (a merged piece hands on its own).
    for (int i = 1; i <= loc.Registros().Count(); ++i) {
        const TRegTerr& r = *loc.Registros().Item(i);
        EXPECT_EQ(r.id, i);
        EXPECT_EQ(linhas[size_t(i - 1)].LineId(), i);
        const int acima = loc.Info()[size_t(i - 1)].acima;
        if (acima == 0) continue;
        ASSERT_LT(acima, i);
        EXPECT_NEAR(r.EV, loc.Registros().Item(acima)->level - r.level, 1e-9) << i;
    }
    // Every passage the run lists is off level by more than the tolerance.
    for (const TTravessiaNivel& t : loc.Resultado().travessias) EXPECT_GT(std::max(t.aterroCm, t.corteCm), 5.0);
    // No two segments cross, of one line or of two.
    long long cruzamentos = 0;
    for (const auto& [chave, segs] : baldes)
        for (size_t a = 0; a < segs.size(); ++a)
            for (size_t b = a + 1; b < segs.size(); ++b) {
                const auto [la, ka] = segs[a];
                const auto [lb, kb] = segs[b];
                if (la == lb && (ka + 1 >= kb && kb + 1 >= ka)) continue;
                const auto& pa = linhas[la].Pontos();
                const auto& pb = linhas[lb].Pontos();
                cruzamentos += Cruzam(pa[ka - 1], pa[ka], pb[kb - 1], pb[kb]);
            }
    EXPECT_EQ(cruzamentos, 0);
}

TEST(CamposLocacao, ANoisyPlainGivesNoTerraceShorterThanTheMinimum) {
    // A 2 % plain with bumps and survey noise of a few centimetres: its contours break into
    // many small rings and pieces, none of which may stay a terrace.
    const Campo ruidoso = [](double x, double y) {
        const uint32_t h = uint32_t(x * 73856093.0) ^ uint32_t(y * 19349663.0);
        const double ruido = double((h * 2654435761u) >> 16 & 0xFFFF) / 65535.0 - 0.5;
        return 50 - 0.02 * y + 0.25 * std::sin(x * 0.09) * std::sin(y * 0.11) + 0.08 * ruido;
    };
    Modelo m(3, 0.6);
    Rodada x(200, 200, 2.0, ruidoso, m, TPlanoNivel{});
    const TLocacaoNivel& loc = x.loc;
    ASSERT_GT(loc.Registros().Count(), 0);
    for (int i = 1; i <= loc.Registros().Count(); ++i)
        EXPECT_GE(loc.Registros().Item(i)->length, 50.0) << loc.Registros().Item(i)->id;
    EXPECT_GT(loc.Resultado().pecasUnidas, 10);  // some sixty pieces here
    // The lines written are the table's, numbered downhill.
    const auto linhas = x.vet.Lines();
    ASSERT_EQ(int(linhas.size()), loc.Registros().Count());
    for (size_t i = 0; i < linhas.size(); ++i) EXPECT_EQ(linhas[i].LineId(), int(i) + 1);
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <sstream>

#include "CamposLocacao.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/common/Numeros.h"
#include "core/common/Progresso.h"
#include "core/location/ImgApoio.h"
#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/location/TracadoNivel.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/raster/Filtro.h"
#include "core/raster/Imagem.h"
#include "core/raster/ImgDeclive.h"
#include "core/raster/Vetor.h"

namespace {

struct Execucao {
    PastaTemporaria pasta;
    std::string elev, decl, saida;
    TLocacaoNivel loc;
    TVET vet;
    std::string semTerracos;  // the reason of a run that placed nothing
    Execucao(const TImgElevacao&, const std::string& e, const std::string& d, Modelo& m,
             const TPlanoNivel& plano = PlanoTracado())
        : elev(e), decl(d), saida(pasta.Arquivo("saida.vet")) {
        loc.SetPlano(plano);
        ProcessarLocacao(loc, elev, decl, m.chuva, m.cn, m.terracos, saida);
        vet.Load(saida);
    }
    Execucao(int rows, int cols, double cell, const Campo& f, Modelo& m, const TPlanoNivel& plano = PlanoTracado()) {
        loc.SetPlano(plano);
        elev = pasta.Arquivo("elev.asc");
        decl = pasta.Arquivo("decl.asc");
        saida = pasta.Arquivo("saida.vet");
        GravarAsc(elev, rows, cols, cell, f, kX0, kY0);
        GravarDeclividade(decl, rows, cols, cell, f, kX0, kY0);
        try {
            ProcessarLocacao(loc, elev, decl, m.chuva, m.cn, m.terracos, saida);
        } catch (const EVandoro& e) {
            semTerracos = e.what();
            if (semTerracos.rfind("Nenhum terraço foi locado: ", 0) != 0) throw;
            return;
        }
        vet.Load(saida);
    }
};

}  // namespace


namespace {

// Elevation grid read back for the checks (same load as the run).
struct Grade {
    TImgElevacao e;
    explicit Grade(const std::string& arq) { e.Load(arq); }
    double Z(int c, int r) const { return e.Cell(r, c); }
};

// Every vertex that is not a pixel centre lies on a segment between two neighbouring pixel
// centres and interpolates there to its line's level.
void VerticesNoNivel(const TVET& vet, const TImgElevacao& e, bool entrePixels = true) {
    const double cw = e.CellWidth(), ch = e.CellHeight();
    const double topo = e.Rows() * ch + e.MinY();
    int checados = 0;
    for (const TVetorRecPonto& l : vet.Lines())
        for (const TRecPonto& p : l.Pontos()) {
            // Cell centres lie half a cell in from the grid's west and north edges.
            const double x = (p.X - e.MinX()) / cw + 0.5, y = (topo - p.Y) / ch + 0.5;
            const double xi = std::round(x), yi = std::round(y);
            const bool xInteiro = std::fabs(x - xi) < 1e-3, yInteiro = std::fabs(y - yi) < 1e-3;
            if (xInteiro && yInteiro) continue;
            ASSERT_TRUE(xInteiro || yInteiro) << "linha " << l.LineId() << " vértice (" << x << ", " << y << ")";
            double z;
            if (xInteiro) {
                const int r0 = int(std::floor(y));
                z = e.Cell(r0, int(xi)) + (y - r0) * (e.Cell(r0 + 1, int(xi)) - e.Cell(r0, int(xi)));
            } else {
                const int c0 = int(std::floor(x));
                z = e.Cell(int(yi), c0) + (x - c0) * (e.Cell(int(yi), c0 + 1) - e.Cell(int(yi), c0));
            }
            EXPECT_NEAR(z, p.Z, 1e-4) << "linha " << l.LineId();
            ++checados;
        }
    if (entrePixels) {
        EXPECT_GT(checados, 0);
    }
}

bool Cruzam(const TRecPonto& a, const TRecPonto& b, const TRecPonto& c, const TRecPonto& d) {
    const auto o = [](const TRecPonto& p, const TRecPonto& q, const TRecPonto& r) {
        return (double(q.X) - p.X) * (double(r.Y) - p.Y) - (double(q.Y) - p.Y) * (double(r.X) - p.X);
    };
    const double d1 = o(a, b, c), d2 = o(a, b, d), d3 = o(c, d, a), d4 = o(c, d, b);
    return ((d1 > 1e-9 && d2 < -1e-9) || (d1 < -1e-9 && d2 > 1e-9)) &&
           ((d3 > 1e-9 && d4 < -1e-9) || (d3 < -1e-9 && d4 > 1e-9));
}

// No two lines cross (proper crossings of their segments); 'alcance' limits the pairs to
// lines that close in the file.
void SemCruzamentos(const TVET& vet, size_t alcance = 1000) {
    const auto linhas = vet.Lines();
    for (size_t i = 0; i < linhas.size(); ++i)
        for (size_t j = i + 1; j < linhas.size() && j <= i + alcance; ++j) {
            const auto& p = linhas[i].Pontos();
            const auto& q = linhas[j].Pontos();
            for (size_t a = 1; a < p.size(); ++a)
                for (size_t b = 1; b < q.size(); ++b)
                    ASSERT_FALSE(Cruzam(p[a - 1], p[a], q[b - 1], q[b]))
                        << "linhas " << linhas[i].LineId() << " e " << linhas[j].LineId();
        }
}

double SomaAreas(const TBDT& bdt) {
    double s = 0;
    for (int i = 1; i <= bdt.Count(); ++i) s += bdt.Item(i)->area;
    return s;
}

// 'entrePixels': some vertex lies between pixel centres (not so where whole-metre lines
// cross whole-metre ground).
void VerificacoesGerais(Execucao& x, size_t alcance = 1000, bool entrePixels = true) {
    Grade g(x.elev);
    VerticesNoNivel(x.vet, g.e, entrePixels);
    SemCruzamentos(x.vet, alcance);
    // Each strip pixel is assigned once: the strips never hold more than the cells with an
    // elevation (the slope-based field area leaves out cells of slope 0).
    long long celulas = 0;
    for (int r = 1; r <= g.e.Rows(); ++r)
        for (int c = 1; c <= g.e.Columns(); ++c) celulas += g.e.Cell(r, c) != 0;
    EXPECT_LE(SomaAreas(x.loc.Registros()), celulas * x.loc.PixelArea() + 1e-6);
    // ... and to one record only: the records hold exactly the strips closed, as does the
    // progress.
    EXPECT_NEAR(SomaAreas(x.loc.Registros()), x.loc.CommittedArea(), 1e-6);
    EXPECT_NEAR(x.loc.ProcessedArea(), x.loc.CommittedArea(), 1e-6);
    // One line per record, same ids, and the .bdt holds them all.
    const auto linhas = x.vet.Lines();
    ASSERT_EQ(int(linhas.size()), x.loc.Registros().Count());
    for (size_t i = 0; i < linhas.size(); ++i) EXPECT_EQ(linhas[i].LineId(), x.loc.Registros().Item(int(i) + 1)->id);
    EXPECT_EQ(LerArquivo(x.loc.ArquivoBDT()).size(), 5u + 52u * x.loc.Registros().Count());
}

const Campo kCone = [](double x, double y) {
    const double r = std::hypot(x - 40.5, y - 40.5);
    return r > 38 ? 0.0 : 30 - 0.1 * r;
};

}  // namespace

TEST(TracadoNivel, ClosedContourEndsOnItsStartVertex) {
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("c.asc"), 80, 80, 1.0, kCone, kX0, kY0);
    Grade g(pasta.Arquivo("c.asc"));
    TImgApoio apoio(g.e);
    TTracadoNivel t(g.e, apoio);
    TPixelS p(50, 41, 0);  // r = 9.5 m, z = 29.05
    TLinhaPixel linha;
    ASSERT_TRUE(t.TraceLevelLine(p, 29.0, linha));
    EXPECT_TRUE(t.Closed());
    ASSERT_GT(linha.size(), 40u);
    EXPECT_EQ(linha.front().x, linha.back().x);
    EXPECT_EQ(linha.front().y, linha.back().y);
    EXPECT_FLOAT_EQ(p.Value(), float(g.Z(50, 41)));  // the start pixel's own elevation
    // Every vertex near the circle of radius 10 m, and the ring is walked once.
    double comprimento = 0;
    for (size_t i = 0; i < linha.size(); ++i) {
        EXPECT_NEAR(std::hypot(linha[i].x - 40.5, linha[i].y - 40.5), 10, 0.1);
        if (i) comprimento += std::hypot(linha[i].x - linha[i - 1].x, linha[i].y - linha[i - 1].y);
    }
    EXPECT_NEAR(comprimento, 2 * M_PI * 10, 1.5);
}

TEST(TracadoNivel, TiltedPlaneGivesAnOpenLineFromEdgeToEdge) {
    PastaTemporaria pasta;
    // Falls 0.5 m a column eastwards; the field ends at row 9 (row 10 has no data).
    GravarAsc(pasta.Arquivo("p.asc"), 10, 12, 1.0, [](double x, double y) { return y > 9 ? 0 : 50 - 0.5 * x; }, kX0, kY0);
    Grade g(pasta.Arquivo("p.asc"));
    TImgApoio apoio(g.e);
    TTracadoNivel t(g.e, apoio);
    TPixelS p(6, 5, 0);
    TLinhaPixel linha;
    ASSERT_TRUE(t.TraceLevelLine(p, 46.8, linha));  // between columns 6 (47) and 7 (46.5)
    EXPECT_FALSE(t.Closed());
    ASSERT_EQ(linha.size(), 9u);  // one vertex per field row, passes joined at the start
    for (size_t i = 0; i < linha.size(); ++i) {
        EXPECT_NEAR(linha[i].x, 6.4, 1e-9);
        EXPECT_EQ(linha[i].y, 9.0 - i);  // end of the southward pass first
    }
    EXPECT_EQ(p.Col(), 6);  // 6.4 rounds to the start pixel

    // A level equal to whole columns' elevation runs along their centres.
    TPixelS q(6, 5, 0);
    ASSERT_TRUE(t.TraceLevelLine(q, 47.0, linha));
    ASSERT_GE(linha.size(), 8u);
    for (size_t i = 0; i < linha.size(); ++i) {
        EXPECT_EQ(linha[i].x, 6);
        if (i) {
            EXPECT_LT(linha[i].y, linha[i - 1].y);
        }
    }
    EXPECT_EQ(linha.front().y, 9);
    EXPECT_EQ(linha.back().y, 1);

    // No neighbour across the level: no line.
    TPixelS r(2, 5, 0);
    EXPECT_FALSE(t.TraceLevelLine(r, 40.0, linha));
    EXPECT_TRUE(linha.empty());
}

TEST(Locacao, ConeWithGivenSpacing) {
    Modelo m(3, 1.0);
    Execucao x(80, 80, 1.0, kCone, m);
    const TBDT& b = x.loc.Registros();
    // Levels 29.93 - 1, then 1 m below the previous line; the field ends at r = 38 (z 26.2).
    ASSERT_EQ(b.Count(), 3);
    EXPECT_EQ(x.loc.TerraceCount(), 3);
    EXPECT_FALSE(x.loc.ParouNoLimiteDeTerracos());
    EXPECT_NEAR(b.Item(1)->level, 30 - 0.1 * std::hypot(0.5, 0.5) - 1, 1e-6);
    for (int i = 1; i <= b.Count(); ++i) {
        const TRegTerr& r = *b.Item(i);
        EXPECT_EQ(r.id, i);
        EXPECT_EQ(r.EV, 1.0);
        EXPECT_NEAR(r.slope, 10, 0.2);
        const double raio = (30 - r.level) / 0.1;
        EXPECT_NEAR(r.length, 2 * M_PI * raio, 0.02 * 2 * M_PI * raio);
        if (i > 1) {
            EXPECT_NEAR(b.Item(i - 1)->level - r.level, 1.0, 1e-9);
        }
        EXPECT_GT(r.height, 0.1);
    }
    // The cap of the first line is nearly the disc inside it.
    const double r1 = (30 - b.Item(1)->level) / 0.1;
    EXPECT_NEAR(b.Item(1)->area, M_PI * r1 * r1, 0.15 * M_PI * r1 * r1);
    EXPECT_NEAR(x.loc.EV0(), 1.0, 1e-12);
    EXPECT_EQ(x.loc.PixelArea(), 1.0);
    EXPECT_EQ(x.loc.MetresPerUnit(), 1);
    EXPECT_EQ(x.loc.Progress() > 0, true);
    VerificacoesGerais(x);
    // The whole-field slope is handed back in percent for the report.
    EXPECT_NEAR(m.cn.St(), 10, 0.5);
}

TEST(Locacao, SlopeMethodPlacesEachLineAgainWithItsStripInterval) {
    Modelo m(0);
    m.terracos.Espacamento().Solo().SetIndex(0);  // clay soils, X = 2.5
    const Campo cone = [](double x, double y) {
        const double r = std::hypot(x - 60.5, y - 60.5);
        return r > 58 ? 0.0 : 40 - 0.15 * r;
    };
    Execucao x(120, 120, 1.0, cone, m);
    const TBDT& b = x.loc.Registros();
    ASSERT_GE(b.Count(), 3);
    long long n = 0;
    TImgDeclive d;
    d.LoadFromImage(x.decl);
    const double media = d.MeanSlope(n);
    EXPECT_NEAR(x.loc.EV0(), 0.305 * (media / 2.5 + 2), 1e-9);
    for (int i = 1; i <= b.Count(); ++i) {
        const TRegTerr& r = *b.Item(i);
        // EV is the method's value for the record's (trial strip's) slope.
        EXPECT_NEAR(r.EV, 0.305 * (r.slope / 2.5 + 2), 1e-9) << i;
        if (i > 1) {
            EXPECT_NEAR(b.Item(i - 1)->level - r.level, r.EV, 1e-9) << i;
        }
    }
    VerificacoesGerais(x);
}

TEST(Locacao, GivenHeightMethodKeepsTheHeight) {
    Modelo m(4);
    m.terracos.SetH(0.6);
    Execucao x(80, 80, 1.0, kCone, m);
    const TBDT& b = x.loc.Registros();
    ASSERT_GE(b.Count(), 1);
    for (int i = 1; i <= b.Count(); ++i) {
        EXPECT_EQ(b.Item(i)->height, 0.6);
        EXPECT_GT(b.Item(i)->EV, 0);
    }
    VerificacoesGerais(x);
}

TEST(Locacao, ARunCoversTheFieldUnlessTheUserSetsAMaximum) {
    // Levels 0.24 m apart from 29.93 m down to the foot of the cone (about 18 m): some fifty
    // terraces, which the engine once stopped at 46 while reporting success.
    Modelo m(3, 0.24);
    const Campo cone = [](double x, double y) {
        const double r = std::hypot(x - 120.5, y - 120.5);
        return r > 118 ? 0.0 : 30 - 0.1 * r;
    };
    {
        Execucao todo(240, 240, 1.0, cone, m);
        EXPECT_GT(todo.loc.TerraceCount(), 46);
        EXPECT_FALSE(todo.loc.ParouNoLimiteDeTerracos());
        EXPECT_TRUE(ResultadoDaLocacao(todo.loc, TArquivosLocacao{}).notas.empty());
        // Every ring of the cone is a terrace: the lowest lies within one interval of the foot.
        double menor = 1e9;
        for (int i = 1; i <= todo.loc.Registros().Count(); ++i)
            menor = std::min(menor, todo.loc.Registros().Item(i)->level);
        EXPECT_LT(menor, 30 - 0.1 * 118 + 0.24 + 0.01);
    }
    TPlanoNivel plano = PlanoTracado();
    plano.maxTerracos = 46;
    Execucao x(240, 240, 1.0, cone, m, plano);
    EXPECT_EQ(x.loc.TerraceCount(), 46);
    EXPECT_TRUE(x.loc.ParouNoLimiteDeTerracos());
    ASSERT_EQ(x.loc.Registros().Count(), 46);
    EXPECT_EQ(x.loc.Registros().Item(46)->id, 46);
    EXPECT_EQ(x.vet.Lines().back().LineId(), 46);
    VerificacoesGerais(x, 2);
    // What the run reports says so.
    const TResultadoLocacao res = ResultadoDaLocacao(x.loc, TArquivosLocacao{});
    EXPECT_EQ(res.notas, std::vector<std::string>{"Locação interrompida ao atingir o número máximo de 46 terraços; "
                                                  "o restante da área não foi locado."});
    ASSERT_EQ(res.terracos.size(), 46u);
    EXPECT_NEAR(res.areaTotal, SomaAreas(x.loc.Registros()), 1e-9);

    // The terrace table on disk: version 1, the count, 52 bytes a record, read back whole.
    const std::string bytes = LerArquivo(x.loc.ArquivoBDT());
    ASSERT_EQ(bytes.size(), 5u + 52u * 46u);
    EXPECT_EQ(bytes[0], 1);
    TBDT lida;
    ASSERT_TRUE(lida.LoadFromFile(x.loc.ArquivoBDT()));
    ASSERT_EQ(lida.Count(), 46);
    EXPECT_EQ(lida.Item(10)->level, x.loc.Registros().Item(10)->level);
    EXPECT_EQ(lida.Item(46)->area, x.loc.Registros().Item(46)->area);
}

TEST(Locacao, SecondHillIsFoundAsAnotherPieceOfTheLevelsInForce) {
    Modelo m(3, 1.0);
    const Campo dois = [](double x, double y) {
        const double a = 30 - 0.12 * std::hypot(x - 30.5, y - 40.5);
        const double b = 27 - 0.12 * std::hypot(x - 90.5, y - 40.5);
        return std::max({a, b, 5.0});
    };
    Execucao x(80, 120, 1.0, dois, m);
    const TBDT& b = x.loc.Registros();
    // Some line rings the second hill's top (all its vertices east of the saddle) above the
    // saddle's level; the terraces go up that hill too.
    bool anelLeste = false;
    for (const auto& l : x.vet.Lines()) {
        bool leste = true;
        for (const TRecPonto& p : l.Pontos()) leste = leste && p.X - 100 > 62;
        if (leste && l.Pontos()[0].Z > 25.5) anelLeste = true;
    }
    EXPECT_TRUE(anelLeste);
    // The east hill is a second piece of the levels in force from the first level below its
    // top: its rings lie at levels of the west hill's lines.
    int pecas = 0;
    for (int i = 1; i <= b.Count(); ++i)
        for (int j = 1; j < i; ++j) pecas += b.Item(i)->level == b.Item(j)->level;
    EXPECT_GE(pecas, 2);
    VerificacoesGerais(x);
}

TEST(Locacao, HasRoomLooksFiveSquareMetresOfPixelsOut) {
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("p.asc"), 20, 20, 1.0, [](double, double) { return 10.0; }, kX0, kY0);
    Grade g(pasta.Arquivo("p.asc"));
    TImgApoio apoio(g.e);
    // 1 m²: five pixels each way.
    EXPECT_TRUE(TLocacaoNivel::HasRoom(apoio, 1, 6, 6));
    EXPECT_FALSE(TLocacaoNivel::HasRoom(apoio, 1, 5, 10));   // west runs off the raster
    EXPECT_FALSE(TLocacaoNivel::HasRoom(apoio, 1, 10, 16));  // south too
    EXPECT_TRUE(TLocacaoNivel::HasRoom(apoio, 1, 15, 15));
    apoio.SetCell(15, 15, 0);                                 // 5 pixels south-east of (10, 10)
    EXPECT_FALSE(TLocacaoNivel::HasRoom(apoio, 1, 10, 10));
    EXPECT_TRUE(TLocacaoNivel::HasRoom(apoio, 1.3, 10, 10));  // trunc(5 / 1.3) = 3
    apoio.SetCell(15, 15, 31);                                // strip pixels are open
    EXPECT_TRUE(TLocacaoNivel::HasRoom(apoio, 1, 10, 10));
    // Exactly 5 m²: one pixel each way, so not in a corner.
    EXPECT_FALSE(TLocacaoNivel::HasRoom(apoio, 5, 1, 1));
    EXPECT_TRUE(TLocacaoNivel::HasRoom(apoio, 5, 2, 2));
    // Bigger pixels: n = 0, always room, even in a corner or beside closed land.
    apoio.SetCell(1, 2, 0);
    EXPECT_TRUE(TLocacaoNivel::HasRoom(apoio, 5.01, 1, 1));
    EXPECT_TRUE(TLocacaoNivel::HasRoom(apoio, 100, 20, 20));
}

TEST(Locacao, SameLevelPocketsOnIntegerValuedGroundTakeNoAreaTwice) {
    // Whole-metre elevations put many strip pixels exactly on a line's level, so strips keep
    // meeting pockets at the level of their own line; their area is the line's alone.
    struct Caso {
        int metodo;
        Campo f;
    };
    const Caso casos[] = {
        {3, [](double x, double y) { return std::round(100 - 0.05 * y + 3 * std::sin(x / 40) * std::cos(y / 50)); }},
        {0, [](double x, double y) {
             return std::round(100 + 0.005 * ((x - 200) * (x - 200) - (y - 200) * (y - 200)));
         }},
    };
    for (const Caso& k : casos) {
        Modelo m(k.metodo, 1.0);
        Execucao x(40, 40, 10.0, k.f, m);
        EXPECT_GE(x.loc.Registros().Count(), 3) << k.metodo;
        EXPECT_EQ(x.loc.StatusText(), "Número de terraços locados: ") << k.metodo;
        EXPECT_GT(x.loc.CommittedArea(), 0.25 * 40 * 40 * 100) << k.metodo;
        VerificacoesGerais(x, 1000, false);
    }
}

TEST(Locacao, VerticesInMapUnitsOfAKilometreGrid) {
    PastaTemporaria pasta;
    // The same cone on a grid in km (cells of 0.001 km): lengths and areas still in metres.
    std::ostringstream o;
    GravarAsc(pasta.Arquivo("e.asc"), 80, 80, 1.0, kCone, kX0, kY0);
    GravarDeclividade(pasta.Arquivo("d.asc"), 80, 80, 1.0, kCone, kX0, kY0);
    TImagem img, dec;
    ASSERT_TRUE(img.LoadFromFile(pasta.Arquivo("e.asc")));
    ASSERT_TRUE(dec.LoadFromFile(pasta.Arquivo("d.asc")));
    for (TImagem* i : {&img, &dec}) {
        i->SetRefUnits("km");
        i->SetMinX(0.1f);
        i->SetMaxX(0.18f);
        i->SetMinY(0.2f);
        i->SetMaxY(0.28f);
    }
    img.SaveToFile(pasta.Arquivo("e.doc"));
    dec.SaveToFile(pasta.Arquivo("d.doc"));
    Modelo m(3, 1.0);
    TLocacaoNivel loc;
    ProcessarLocacao(loc, pasta.Arquivo("e.doc"), pasta.Arquivo("d.doc"), m.chuva, m.cn, m.terracos, pasta.Arquivo("s.vet"));
    EXPECT_EQ(loc.MetresPerUnit(), 1000);
    EXPECT_NEAR(loc.PixelArea(), 1.0, 1e-6);
    ASSERT_EQ(loc.Registros().Count(), 3);
    const double raio = (30 - loc.Registros().Item(2)->level) / 0.1;
    EXPECT_NEAR(loc.Registros().Item(2)->length, 2 * M_PI * raio, 0.02 * 2 * M_PI * raio);
    TVET vet;
    vet.Load(pasta.Arquivo("s.vet"));
    EXPECT_EQ(vet.Units(), "km");
    // Pixel (c, r) has its centre at X = MinX + (c - 1/2) * CellWidth, Y = MinY + (Rows - r +
    // 1/2) * CellHeight: the first ring is centred on pixel (40.5, 40.5).
    double sx = 0, sy = 0;
    const auto l1 = vet.Lines()[0];
    for (const TRecPonto& p : l1.Pontos()) {
        sx += p.X;
        sy += p.Y;
    }
    EXPECT_NEAR(sx / l1.Count(), 0.1 + 40 * 0.001, 0.0002);
    EXPECT_NEAR(sy / l1.Count(), 0.2 + (80 - 40) * 0.001, 0.0002);
}

TEST(Locacao, StopBeforeTheRunStillWritesEmptyFiles) {
    Modelo m(3, 1.0);
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("e.asc"), 80, 80, 1.0, kCone, kX0, kY0);
    GravarDeclividade(pasta.Arquivo("d.asc"), 80, 80, 1.0, kCone, kX0, kY0);
    TLocacaoNivel loc;
    // A stop asked before the run starts.
    struct Parado : IProgresso {
        bool StopRequested() const override { return true; }
    } parado;
    loc.SetProgresso(&parado);
    ProcessarLocacao(loc, pasta.Arquivo("e.asc"), pasta.Arquivo("d.asc"), m.chuva, m.cn, m.terracos, pasta.Arquivo("s.vet"));
    EXPECT_EQ(loc.TerraceCount(), 0);
    EXPECT_EQ(LerArquivo(pasta.Arquivo("s.vet")).size(), 527u);
    EXPECT_EQ(LerArquivo(pasta.Arquivo("s.bdt")).size(), 5u);
}

TEST(Locacao, FieldWithLessReliefThanTheIntervalFailsAndKeepsTheOldOutput) {
    // A plane rising 0.02 m a metre over 50 one-metre columns: from 10.02 to 11.00 m, a
    // relief of 0.98 m under a given interval of 1 m.
    PastaTemporaria pasta;
    const Campo plano = [](double x, double) { return 10 + 0.02 * x; };
    GravarAsc(pasta.Arquivo("e.asc"), 20, 50, 1.0, plano, kX0, kY0);
    GravarDeclividade(pasta.Arquivo("d.asc"), 20, 50, 1.0, plano, kX0, kY0);
    GravarArquivo(pasta.Arquivo("s.vet"), "anterior");
    Modelo m(3, 1.0);
    TLocacaoNivel loc;
    loc.SetPlano(PlanoTracado());
    EXPECT_EQ(MensagemDe([&] {
                  ProcessarLocacao(loc, pasta.Arquivo("e.asc"), pasta.Arquivo("d.asc"), m.chuva, m.cn, m.terracos,
                                pasta.Arquivo("s.vet"));
              }),
              "Nenhum terraço foi locado: o desnível da área (0,98 m) não passa do espaçamento vertical entre "
              "terraços (1,00 m). Use um espaçamento menor ou uma área maior.");
    EXPECT_EQ(LerArquivo(pasta.Arquivo("s.vet")), "anterior");
    EXPECT_FALSE(ArquivoExiste(pasta.Arquivo("s.bdt")));
    // Half the interval fits, but the 20 m lines are no terraces under a 50 m minimum: that
    // is a failure too, and the old output stays.
    Modelo meio(3, 0.5);
    loc.SetPlano(TPlanoNivel{});
    EXPECT_EQ(MensagemDe([&] {
                  ProcessarLocacao(loc, pasta.Arquivo("e.asc"), pasta.Arquivo("d.asc"), meio.chuva, meio.cn,
                                   meio.terracos, pasta.Arquivo("s.vet"));
              }),
              "Nenhum terraço foi locado: todas as linhas têm menos que o comprimento mínimo do terraço (50,0 m). "
              "Use um comprimento mínimo menor.");
    EXPECT_EQ(LerArquivo(pasta.Arquivo("s.vet")), "anterior");
    TPlanoNivel curto;
    curto.comprimentoMinimo = 15;
    loc.SetPlano(curto);
    ProcessarLocacao(loc, pasta.Arquivo("e.asc"), pasta.Arquivo("d.asc"), meio.chuva, meio.cn, meio.terracos,
                  pasta.Arquivo("s.vet"));
    EXPECT_GE(loc.Registros().Count(), 1);
}

TEST(Locacao, SlopelessFieldIsRefusedAndFlatStripsAreLeftUnsized) {
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("e.asc"), 80, 80, 1.0, kCone, kX0, kY0);
    // No slope anywhere: refused before anything is placed, nothing written.
    GravarAsc(pasta.Arquivo("zero.asc"), 80, 80, 1.0, [](double, double) { return -1.0; }, kX0, kY0);
    Modelo m(0);
    TLocacaoNivel loc;
    EXPECT_ERRO(EVandoro, "A imagem de declividade não tem nenhum valor diferente de zero.",
                ProcessarLocacao(loc, pasta.Arquivo("e.asc"), pasta.Arquivo("zero.asc"), m.chuva, m.cn, m.terracos,
                                 pasta.Arquivo("s.vet")));
    EXPECT_FALSE(ArquivoExiste(pasta.Arquivo("s.vet")));
    EXPECT_FALSE(ArquivoExiste(pasta.Arquivo("s.bdt")));

    // Slope 0 near the top: the strips there cannot be spaced (EV / 0) and are left unsized;
    // the run goes on down the sloping ring and sizes the terraces there.
    GravarAsc(pasta.Arquivo("topo.asc"), 80, 80, 1.0, [](double x, double y) {
        const double r = std::hypot(x - 40.5, y - 40.5);
        return r > 38 ? -1.0 : r < 25 ? 0.0 : 10.0;
    }, kX0, kY0);
    for (int metodo : {0, 3}) {
        Modelo mm(metodo, 1.0);
        TLocacaoNivel l2;
        ProcessarLocacao(l2, pasta.Arquivo("e.asc"), pasta.Arquivo("topo.asc"), mm.chuva, mm.cn, mm.terracos,
                     pasta.Arquivo("t.vet"));
        EXPECT_FALSE(l2.EncerradaNoLimite()) << l2.StatusText();
        EXPECT_EQ(l2.StatusText(), "Número de terraços locados: ");
        const TBDT& b = l2.Registros();
        ASSERT_GE(b.Count(), 2) << metodo;
        EXPECT_EQ(b.Item(1)->slope, 0);
        bool dimensionado = false;
        for (int i = 1; i <= b.Count(); ++i) {
            const TRegTerr& r = *b.Item(i);
            if (r.slope > 0) {
                EXPECT_GT(r.height, 0.1) << metodo << " " << i;
                dimensionado = true;
            } else {
                EXPECT_EQ(r.height, 0) << metodo << " " << i;  // left unsized, not invented
            }
        }
        EXPECT_TRUE(dimensionado) << metodo;
        EXPECT_EQ(LerArquivo(pasta.Arquivo("t.bdt")).size(), 5u + 52u * b.Count());
    }
}

TEST(Locacao, ChannelErrorAbandonsTheRunAndReplacesNothing) {
    Modelo m(3, 1.0);
    m.terracos.Sm().SetValue(-0.01);  // no V-channel has a negative wall
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("e.asc"), 80, 80, 1.0, kCone, kX0, kY0);
    GravarDeclividade(pasta.Arquivo("d.asc"), 80, 80, 1.0, kCone, kX0, kY0);
    GravarArquivo(pasta.Arquivo("s.vet"), "vetor anterior");
    GravarArquivo(pasta.Arquivo("s.bdt"), "tabela anterior");
    TLocacaoNivel loc;
    EXPECT_ERRO(EVandoro, "Erro no dimensinamento de canal",
                ProcessarLocacao(loc, pasta.Arquivo("e.asc"), pasta.Arquivo("d.asc"), m.chuva, m.cn, m.terracos,
                                 pasta.Arquivo("s.vet")));
    // The first line was emitted before its sizing failed, but a failed run writes nothing.
    EXPECT_EQ(LerArquivo(pasta.Arquivo("s.vet")), "vetor anterior");
    EXPECT_EQ(LerArquivo(pasta.Arquivo("s.bdt")), "tabela anterior");
    // Through Locar the wall is refused before the run, with the window's message.
    TArquivosLocacao a;
    a.elevacao = pasta.Arquivo("e.asc");
    a.declividade = pasta.Arquivo("d.asc");
    a.saida = pasta.Arquivo("s.vet");
    EXPECT_EQ(MensagemDe([&] { Locar(loc, a, m.chuva, m.cn, m.terracos); }),
              "Valor da inclinação do murundum inconsistente.");
    m.terracos.Sm().SetValue(1);
    m.terracos.Espacamento().SetEV(0);
    EXPECT_EQ(MensagemDe([&] { Locar(loc, a, m.chuva, m.cn, m.terracos); }),
              "Valor do espaçamento vertical inconsistente.");
    EXPECT_EQ(LerArquivo(pasta.Arquivo("s.vet")), "vetor anterior");
    // A land cover the curve-number table lacks is refused as the sizing refuses it.
    m.terracos.Espacamento().SetEV(1);
    m.cn.UsoDoSolo().SetIndex(1);
    m.cn.Tratamento().SetIndex(1);
    m.cn.CondicaoHidrologica().SetIndex(2);
    EXPECT_EQ(MensagemDe([&] { Locar(loc, a, m.chuva, m.cn, m.terracos); }), TNumeroDaCurva::MensagemCobertura(1, 1, 2));
    EXPECT_NE(TNumeroDaCurva::MensagemCobertura(1, 1, 2), "");
    EXPECT_EQ(LerArquivo(pasta.Arquivo("s.vet")), "vetor anterior");
}

TEST(Locacao, InvalidCellsAreWrittenCleanedBesideTheElevation) {
    PastaTemporaria pasta;
    // A 3 x 3 real grid with one NaN cell.
    const float nan = std::nanf("");
    const float cel[9] = {1, 2, 1, 2, 5, nan, 1, 2, 1};
    GravarArquivo(pasta.Arquivo("e.flt"), std::string(reinterpret_cast<const char*>(cel), sizeof cel));
    GravarArquivo(pasta.Arquivo("e.hdr"),
                  "ncols 3\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -99\nbyteorder LSBFIRST\n");
    GravarAsc(pasta.Arquivo("d.asc"), 3, 3, 1.0, [](double, double) { return 5.0; }, kX0, kY0);
    Modelo m(3, 1.0);
    TLocacaoNivel loc;
    // Too small to hold a line: the run fails with why, and writes no output.
    EXPECT_EQ(MensagemDe([&] {
                  ProcessarLocacao(loc, pasta.Arquivo("e.flt"), pasta.Arquivo("d.asc"), m.chuva, m.cn, m.terracos,
                                pasta.Arquivo("s.vet"));
              }),
              "Nenhum terraço foi locado: nenhuma curva de nível com o espaçamento vertical de 1,00 m pôde ser "
              "traçada a partir do ponto mais alto (5,00 m); a área é pequena ou recortada demais para esse "
              "espaçamento.");
    EXPECT_FALSE(ArquivoExiste(pasta.Arquivo("s.vet")));
    const std::string ras = LerArquivo(pasta.Arquivo("e.flt") + "t1.ras");
    ASSERT_EQ(ras.size(), 540u + 36u);
    EXPECT_EQ(ras[0], 1);
    EXPECT_EQ(ras[1], 'R');
    float v[9];
    std::memcpy(v, ras.data() + 540, sizeof v);
    EXPECT_EQ(v[5], 0.0f);
    EXPECT_EQ(v[4], 5.0f);
}

TEST(Locacao, TheGridsTheCheckReadAreTheRunsOwnAndOnlyForTheirFiles) {
    PastaTemporaria pasta;
    const auto gravar = [&](const std::string& nome, double topo) {
        const auto cone = [topo](double x, double y) { return topo - 0.1 * std::hypot(x - 40.5, y - 40.5); };
        GravarAsc(pasta.Arquivo(nome + ".asc"), 80, 80, 1.0, cone, kX0, kY0);
        GravarDeclividade(pasta.Arquivo(nome + "_d.asc"), 80, 80, 1.0, cone, kX0, kY0);
    };
    gravar("a", 30);
    gravar("b", 32.5);
    const auto locar = [&](const std::string& nome, const std::string& saida, TGradesLocacao* lidas) {
        Modelo m(3, 1.0);
        TLocacaoNivel loc;
        loc.SetPlano(PlanoTracado());
        ProcessarLocacao(loc, pasta.Arquivo(nome + ".asc"), pasta.Arquivo(nome + "_d.asc"), m.chuva, m.cn, m.terracos,
                         pasta.Arquivo(saida), {}, lidas);
        return LerArquivo(pasta.Arquivo(saida)) + LerArquivo(TabelaDaSaida(pasta.Arquivo(saida)));
    };
    const std::string proprio = locar("a", "proprio.vet", nullptr);
    // Taken by the run, which places the very same lines on them.
    TGradesLocacao lidas = LerGradesLocacao(pasta.Arquivo("a.asc"), pasta.Arquivo("a_d.asc"));
    EXPECT_EQ(lidas.elev.Rows(), 80);
    EXPECT_EQ(locar("a", "lidas.vet", &lidas), proprio);
    EXPECT_EQ(lidas.elev.Rows(), 0);
    EXPECT_EQ(lidas.decl.Rows(), 0);
    // Grids of other files are no use to a run: it reads its own.
    TGradesLocacao outras = LerGradesLocacao(pasta.Arquivo("b.asc"), pasta.Arquivo("b_d.asc"));
    EXPECT_EQ(locar("a", "outras.vet", &outras), proprio);
    EXPECT_EQ(outras.elev.Rows(), 80);
    EXPECT_NE(locar("b", "b.vet", &outras), proprio);

    // A read that failed is raised by the run with the message a read of its own gives, after
    // what comes before it (the elevation's cleaned copy before the slope's failure).
    const float nan = std::nanf("");
    const float cel[9] = {1, 2, 1, 2, 5, nan, 1, 2, 1};
    GravarArquivo(pasta.Arquivo("e.flt"), std::string(reinterpret_cast<const char*>(cel), sizeof cel));
    GravarArquivo(pasta.Arquivo("e.hdr"),
                  "ncols 3\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -99\nbyteorder LSBFIRST\n");
    const auto falha = [&](const std::string& elev, const std::string& decl, bool lerAntes) {
        Modelo m(3, 1.0);
        TLocacaoNivel loc;
        TGradesLocacao g = LerGradesLocacao(elev, decl);
        return MensagemDe([&] {
            ProcessarLocacao(loc, elev, decl, m.chuva, m.cn, m.terracos, pasta.Arquivo("f.vet"), {},
                             lerAntes ? &g : nullptr);
        });
    };
    const std::string semDeclividade = falha(pasta.Arquivo("e.flt"), pasta.Arquivo("nada.asc"), false);
    EXPECT_EQ(semDeclividade, "O arquivo nada.asc não existe.");
    ASSERT_EQ(std::remove((pasta.Arquivo("e.flt") + "t1.ras").c_str()), 0);
    EXPECT_EQ(falha(pasta.Arquivo("e.flt"), pasta.Arquivo("nada.asc"), true), semDeclividade);
    EXPECT_TRUE(ArquivoExiste(pasta.Arquivo("e.flt") + "t1.ras"));
    EXPECT_EQ(falha(pasta.Arquivo("nada.asc"), pasta.Arquivo("a_d.asc"), true),
              falha(pasta.Arquivo("nada.asc"), pasta.Arquivo("a_d.asc"), false));
    EXPECT_FALSE(ArquivoExiste(pasta.Arquivo("f.vet")));
}


namespace {
// A real elevation model copied into a scratch folder, with its slope raster beside it. The
// copy's lower-left corner is moved to (0, 0): the vector file keeps coordinates as 32-bit
// floats, too coarse at UTM magnitudes for the 1e-4 m check of the vertices.
struct ModeloReal {
    PastaTemporaria pasta;
    TImgElevacao e;
    std::string elev, decl;
    explicit ModeloReal(const std::string& origem) {
        elev = pasta.Arquivo("elev.asc");
        decl = pasta.Arquivo("decl.asc");
        std::istringstream in(LerArquivo(origem));
        std::ostringstream out;
        for (std::string l; std::getline(in, l);) {
            std::string chave = l.substr(0, l.find_first_of(" \t"));
            for (char& ch : chave) ch = char(std::tolower(static_cast<unsigned char>(ch)));
            out << (chave == "xllcorner" || chave == "yllcorner" ? chave + " 0" : l) << '\n';
        }
        GravarArquivo(elev, out.str());
        e.Load(elev);
        const double cel = e.CellWidth();
        GravarDeclividade(decl, e.Rows(), e.Columns(), cel, [&](double x, double y) {
            return e.ElevationAt(int(std::lround(x / cel)), int(std::lround(y / cel)));
        }, kX0, kY0);
    }
    double CellArea() const {
        long long celulas = 0;
        for (int r = 1; r <= e.Rows(); ++r)
            for (int c = 1; c <= e.Columns(); ++c) celulas += e.Cell(r, c) != 0;
        return celulas * e.CellWidth() * e.CellHeight();
    }
};

const std::string kHugo = std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/hugo_site.asc";
const std::string kKootenai = std::string(VANDORO_TEST_DATA) + "/dem/kootenai.asc";
}  // namespace

TEST(Locacao, RealElevationModel) {
    // landlab's hugo_site: 76 x 55 cells of 10 m with no-data around the catchment.
    ModeloReal h(kHugo);
    for (int metodo : {0, 3, 4}) {
        Modelo m(metodo, 2.0);
        m.terracos.SetH(0.6);
        Execucao x(h.e, h.elev, h.decl, m);
        EXPECT_GE(x.loc.Registros().Count(), 3) << metodo;
        // The integer-valued model meets flat and empty strips; they do not end the run.
        EXPECT_FALSE(x.loc.EncerradaNoLimite()) << x.loc.StatusText();
        EXPECT_EQ(x.loc.StatusText(), "Número de terraços locados: ");
        EXPECT_EQ(x.loc.PixelArea(), 100);
        // Whole-field spacing under two 10 m cells: the run says the model is too coarse.
        const double eh = x.loc.EV0() / (m.cn.St() / 100);
        ASSERT_LT(eh, 20);
        EXPECT_EQ(x.loc.AvisoResolucao(), "O espaçamento horizontal entre terraços (" + FloatToStrFixed(eh, 1) +
                                              " m) é menor que duas células da imagem de elevação (20" +
                                              Regional::Current().DecimalSeparator + "0 m): terraços vizinhos se "
                                              "tocam e a locação pode ficar incompleta. Use uma imagem de "
                                              "elevação de resolução maior.");
        VerificacoesGerais(x);
        for (int i = 1; i <= x.loc.Registros().Count(); ++i) {
            const TRegTerr& r = *x.loc.Registros().Item(i);
            EXPECT_GT(r.length, 0);
            EXPECT_GE(r.area, 0);
            EXPECT_TRUE(std::isfinite(r.height));
        }
    }
}

TEST(Locacao, RealElevationModelArbitrarySpacingCoversTheCatchment) {
    // On whole-metre ground the same-level pocket search must not take pixels of the line
    // being completed for a pocket, and a start pixel whose crossing lies on closed land
    // must not end the run: either left most of the catchment unassigned (6 %).
    ModeloReal h(kHugo);
    Modelo m(3, 2.0);
    Execucao x(h.e, h.elev, h.decl, m);
    EXPECT_GE(x.loc.CommittedArea() / h.CellArea(), 0.25);
    VerificacoesGerais(x);
}

TEST(Locacao, RealTerrainAtFieldResolutionIsTerracedThroughout) {
    // hugo_site smoothed three times and resampled to 2 m cells (bilinear), a resolution
    // at which terraces 2 to 4 m apart in height lie several pixels apart: the strips then
    // cover the catchment from the top down, the north ridge included.
    PastaTemporaria pasta;
    const std::string suave = pasta.Arquivo("suave.asc");
    TFiltroTipoSingle().Compute(kHugo, suave, 3);
    TImgElevacao g;
    g.Load(suave);
    constexpr int k = 5;
    const Campo f = [&](double x, double y) {
        // (x, y) is the fine cell's centre times 2 m; u, v are coarse pixel coordinates.
        const double u = (x / 2 - 0.5) / k + 0.5, v = (y / 2 - 0.5) / k + 0.5;
        const int c0 = std::clamp(int(std::floor(u)), 1, g.Columns() - 1);
        const int r0 = std::clamp(int(std::floor(v)), 1, g.Rows() - 1);
        const double fu = std::clamp(u - c0, 0.0, 1.0), fv = std::clamp(v - r0, 0.0, 1.0);
        const double z00 = g.Cell(r0, c0), z01 = g.Cell(r0, c0 + 1), z10 = g.Cell(r0 + 1, c0),
                     z11 = g.Cell(r0 + 1, c0 + 1);
        if (z00 <= 0 || z01 <= 0 || z10 <= 0 || z11 <= 0) return 0.0;
        return (z00 * (1 - fu) + z01 * fu) * (1 - fv) + (z10 * (1 - fu) + z11 * fu) * fv;
    };
    for (const auto& [metodo, ev] : {std::pair{0, 0.0}, std::pair{3, 2.0}}) {
        Modelo m(metodo, ev);
        Execucao x(g.Rows() * k, g.Columns() * k, 2.0, f, m);
        const TBDT& b = x.loc.Registros();
        Grade fina(x.elev);
        long long celulas = 0;
        for (int r = 1; r <= fina.e.Rows(); ++r)
            for (int c = 1; c <= fina.e.Columns(); ++c) celulas += fina.e.Cell(r, c) != 0;
        const double campo = celulas * x.loc.PixelArea();
        EXPECT_GE(x.loc.CommittedArea() / campo, 0.75) << metodo;
        EXPECT_EQ(x.loc.AvisoResolucao(), "") << metodo;
        EXPECT_GE(b.Count(), 15) << metodo;
        // The north ridge is another piece of the levels in force: some level has several lines.
        int pecas = 0;
        for (int i = 1; i <= b.Count(); ++i)
            for (int j = 1; j < i; ++j) pecas += b.Item(i)->level == b.Item(j)->level;
        EXPECT_GE(pecas, 1) << metodo;
        for (int i = 1; i <= b.Count(); ++i) {
            EXPECT_LT(b.Item(i)->area, 0.15 * campo) << metodo << ' ' << i;
            if (metodo == 3) {
                EXPECT_EQ(b.Item(i)->EV, 2.0);
            }
        }
        VerificacoesGerais(x);
    }
}

TEST(Locacao, RandomFieldsKeepTheInvariants) {
    // Rough random terrain (sums of random bumps, some rounded to whole metres or to
    // centimetres, with holes of no data) under every spacing method: every run ends, and
    // its lines, areas and files obey the whole-run checks.
    std::mt19937 gerador(20261209);
    std::uniform_real_distribution<double> u(0, 1);
    for (int caso = 0; caso < (std::getenv("VCASOS") ? std::atoi(std::getenv("VCASOS")) : 24); ++caso) {
        struct Morro {
            double x, y, h, r;
        };
        std::vector<Morro> morros(3 + caso % 5);
        for (Morro& mo : morros) mo = {u(gerador) * 60, u(gerador) * 50, 2 + 8 * u(gerador), 5 + 20 * u(gerador)};
        const int arredonda = caso % 3;  // 0 none, 1 whole metres, 2 centimetres
        const double buracoX = u(gerador) * 60, buracoY = u(gerador) * 50;
        // Every other field in 10 m cells (pockets then need no room), same shape in pixels.
        const double cel = caso % 2 ? 10.0 : 1.0;
        const Campo f = [&](double xm, double ym) {
            const double x = xm / cel, y = ym / cel;
            if (std::hypot(x - buracoX, y - buracoY) < 4) return 0.0;
            double z = 20 + 0.05 * x;
            for (const Morro& mo : morros) z += mo.h * std::exp(-std::pow(std::hypot(x - mo.x, y - mo.y) / mo.r, 2));
            z *= cel;
            if (arredonda == 1) z = std::round(z);
            if (arredonda == 2) z = std::round(z * 100) / 100;
            return z;
        };
        const int metodo = caso % 5 == 2 ? 0 : caso % 5;  // Paraná needs other inputs: Bentley twice
        Modelo m(metodo, cel * (0.5 + (caso % 4) * 0.5));
        m.terracos.SetH(0.5);
        Execucao x(50, 60, cel, f, m);
        SCOPED_TRACE("caso " + std::to_string(caso) + " método " + std::to_string(metodo));
        // (A method's own interval may exceed the bumps' relief; a given 0.5 to 2 m does not.)
        if (metodo == 3) {
            EXPECT_GE(x.loc.Registros().Count(), 1);
        }
        if (!x.semTerracos.empty()) {
            // An empty run fails and writes nothing.
            EXPECT_EQ(x.loc.Registros().Count(), 0);
            EXPECT_FALSE(ArquivoExiste(x.saida));
            EXPECT_FALSE(ArquivoExiste(x.loc.ArquivoBDT()));
            continue;
        }
        VerificacoesGerais(x, 1000, false);
        for (int i = 1; i <= x.loc.Registros().Count(); ++i) {
            const TRegTerr& r = *x.loc.Registros().Item(i);
            EXPECT_TRUE(std::isfinite(r.height) && std::isfinite(r.slope) && std::isfinite(r.length));
            EXPECT_LT(r.length, 2 * 2 * (50 + 60) * cel);
        }
    }
}

TEST(Locacao, CentimetreElevationModelGivesFiniteLines) {
    // landlab's kootenai: 50 x 37 cells of 1 m, elevations to the centimetre, a plateau
    // with knolls above a scarp. Levels then run through saddles, where a pass used to
    // circle a knoll until the step limit (a 25 km "terrace" on a 50 m field).
    ModeloReal k(kKootenai);
    const double perimetro = 2 * (k.e.Rows() + k.e.Columns());
    for (const auto& [metodo, ev] : {std::pair{3, 0.5}, std::pair{3, 1.0}, std::pair{0, 0.0}}) {
        Modelo m(metodo, ev);
        Execucao x(k.e, k.elev, k.decl, m);
        ASSERT_GE(x.loc.Registros().Count(), 1) << metodo << ' ' << ev;
        // PixelArea 1 m²: pockets need five open pixels all round.
        EXPECT_EQ(x.loc.PixelArea(), 1);
        VerificacoesGerais(x);
        for (int i = 1; i <= x.loc.Registros().Count(); ++i)
            EXPECT_LT(x.loc.Registros().Item(i)->length, 2 * perimetro) << metodo << ' ' << ev << ' ' << i;
    }
}

TEST(TracadoNivel, SaddleCellsNeverSendAPassRoundAKnoll) {
    // 0.3 m below the kootenai summit (543.81 m) the contour passes saddle cells beside
    // small knolls; it runs from the north edge back to it, each point once.
    ModeloReal k(kKootenai);
    const auto naBorda = [&](const TPontoPixel& v) {
        return v.x == 1 || v.y == 1 || v.x == k.e.Columns() || v.y == k.e.Rows();
    };
    {
        TImgApoio apoio(k.e);
        TTracadoNivel t(k.e, apoio);
        TPixelS p(31, 5, 0);
        TLinhaPixel linha;
        ASSERT_TRUE(t.TraceLevelLine(p, double(543.81f) - 0.3, linha));
        EXPECT_FALSE(t.Closed());
        ASSERT_GT(linha.size(), 20u);
        EXPECT_TRUE(naBorda(linha.front()));
        EXPECT_TRUE(naBorda(linha.back()));
        for (size_t i = 0; i < linha.size(); ++i)
            for (size_t j = i + 1; j < linha.size(); ++j)
                EXPECT_FALSE(linha[i].x == linha[j].x && linha[i].y == linha[j].y) << i << ' ' << j;
    }
    {
        // Half a metre below, the level equals the stored value of pixels around it; the
        // widened cells there can still lead a pass round a knoll, which it then leaves
        // after one round instead of circling for ever.
        const double nivel = double(543.81f) - 0.5;
        ASSERT_EQ(nivel, double(543.31f));
        TImgApoio apoio(k.e);
        TTracadoNivel t(k.e, apoio);
        TPixelS p(32, 5, 0);
        TLinhaPixel linha;
        ASSERT_TRUE(t.TraceLevelLine(p, nivel, linha));
        EXPECT_GT(linha.size(), 20u);
        EXPECT_LT(linha.size(), 200u);
        EXPECT_TRUE(naBorda(linha.front()));
    }
}

TEST(TracadoNivel, StartWhoseCrossingIsClosedMovesToTheNearestOpenCrossing) {
    // A plane falling 1 m a column; the level 95.5 crosses between columns 4 and 5. The
    // start pixel's only crossing neighbour is closed land: the trace starts one row up.
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("p.asc"), 9, 9, 1.0, [](double x, double) { return 100 - x; }, kX0, kY0);
    Grade g(pasta.Arquivo("p.asc"));
    TImgApoio apoio(g.e);
    apoio.SetCell(5, 4, 0);
    TTracadoNivel t(g.e, apoio);
    TPixelS p(5, 5, 0);
    TLinhaPixel linha;
    ASSERT_TRUE(t.TraceLevelLine(p, 95.5, linha));
    ASSERT_GE(linha.size(), 2u);
    // Starts between (5, 4) and (4, 4), then runs north to the edge; the south pass stops
    // at the closed pixel.
    EXPECT_DOUBLE_EQ(linha.back().x, 4.5);
    EXPECT_FLOAT_EQ(p.Value(), 95.0f);
    for (const TPontoPixel& v : linha) {
        EXPECT_DOUBLE_EQ(v.x, 4.5);
        EXPECT_LE(v.y, 4.0);
    }
}

namespace {
// Records what the engine reports and asks for a cancel after a number of breaths.
class ProgressoGravado : public IProgresso {
public:
    explicit ProgressoGravado(int pararApos) : pararApos_(pararApos) {}
    void SetStatus(const std::string& t) override { status.push_back(t); }
    void SetPosition(int p) override { posicoes.push_back(p); }
    void ProcessEvents() override { ++respiros; }
    bool StopRequested() const override { return pararApos_ >= 0 && respiros >= pararApos_; }
    std::vector<std::string> status;
    std::vector<int> posicoes;
    int respiros = 0;

private:
    int pararApos_;
};
}  // namespace

TEST(Locacao, ProgressStatusAndCancelFromTheInterface) {
    PastaTemporaria pasta;
    const Campo cone = [](double x, double y) {
        const double r = std::hypot(x - 60.5, y - 60.5);
        return r > 58 ? 0.0 : 40 - 0.1 * r;
    };
    GravarAsc(pasta.Arquivo("e.asc"), 120, 120, 1.0, cone, kX0, kY0);
    GravarDeclividade(pasta.Arquivo("d.asc"), 120, 120, 1.0, cone, kX0, kY0);

    Modelo m(3, 1.0);
    ProgressoGravado todo(-1);
    TLocacaoNivel loc;
    loc.SetProgresso(&todo);
    ProcessarLocacao(loc, pasta.Arquivo("e.asc"), pasta.Arquivo("d.asc"), m.chuva, m.cn, m.terracos, pasta.Arquivo("s.vet"));
    ASSERT_GE(todo.status.size(), 2u);
    EXPECT_EQ(todo.status.front(), "Carregando Imagens");
    EXPECT_EQ(todo.status.back(), "Número de terraços locados: ");
    const int n = loc.TerraceCount();
    ASSERT_GE(n, 5);
    // Progress follows the assigned area: it never falls during the placement.
    // (Loading reports 0, 30, 60, 72, 100, then the placement starts again from 0.)
    ASSERT_GT(todo.posicoes.size(), 6u);
    EXPECT_EQ(todo.posicoes[4], 100);
    for (size_t i = 6; i < todo.posicoes.size(); ++i) EXPECT_GE(todo.posicoes[i], todo.posicoes[i - 1]);
    EXPECT_GT(loc.Progress(), 50);  // the land below the lowest terrace stays unassigned
    EXPECT_LE(loc.Progress(), 100);

    // A cancel a few breaths in stops the placement; the files hold what was placed.
    Modelo m2(3, 1.0);
    ProgressoGravado parar(todo.respiros / 2);
    TLocacaoNivel l2;
    l2.SetProgresso(&parar);
    ProcessarLocacao(l2, pasta.Arquivo("e.asc"), pasta.Arquivo("d.asc"), m2.chuva, m2.cn, m2.terracos, pasta.Arquivo("p.vet"));
    EXPECT_TRUE(l2.StopRequested());
    EXPECT_LT(l2.TerraceCount(), n);
    EXPECT_EQ(LerArquivo(pasta.Arquivo("p.bdt")).size(), 5u + 52u * l2.Registros().Count());
    TVET vet;
    vet.Load(pasta.Arquivo("p.vet"));
    EXPECT_EQ(int(vet.Lines().size()), l2.Registros().Count());
}

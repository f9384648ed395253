#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "GeoTeste.h"
#include "TestSupport.h"
#include "core/gdal/Gdal.h"
#include "core/location/ImgElev.h"
#include "core/raster/Declividade.h"
#include "core/raster/Imagem.h"

using namespace geoteste;

namespace {

// A 1-arc-second grid (SRTM's) of 100 x 100 cells near Campinas, zone 23S.
constexpr double kSeg = 1.0 / 3600, kOeste = -47.5, kNorte = -22.5;
constexpr int kN = 100;

// The ground, defined in UTM 23S metres.
constexpr double kE0 = 240000, kN0 = 7500000;
double Terreno(double e, double n) {
    return 700 + 0.06 * (e - kE0) + 25 * std::sin(2 * M_PI * (n - kN0) / 1200) +
           10 * std::cos(2 * M_PI * (e - kE0) / 900);
}

GradeSintetica GradeEmGraus() {
    GradeSintetica g;
    g.cols = g.rows = kN;
    g.minX = kOeste;
    g.maxY = kNorte;
    g.cell = kSeg;
    std::vector<double> x, y;
    for (int r = 0; r < kN; ++r)
        for (int c = 0; c < kN; ++c) {
            x.push_back(g.CentroX(c));
            y.push_back(g.CentroY(r));
        }
    Transforma(4674, 31983, x, y);
    for (size_t i = 0; i < x.size(); ++i) g.z.push_back(static_cast<float>(Terreno(x[i], y[i])));
    return g;
}

const char* const kMensagemPresumida =
    "O modelo de elevação graus.asc não declara sistema de coordenadas nem unidade, e seus limites e células parecem "
    "estar em graus: a declividade sairia em graus por metro. Reprojete-o para um sistema em metros com "
    "vandoro-cli raster-converter ENTRADA SAIDA --utm (SIRGAS 2000 / UTM do fuso do centro da imagem) ou com "
    "gdalwarp -t_srs. Se as coordenadas estiverem mesmo em metros, declare a unidade com vandoro-cli "
    "raster-converter ENTRADA SAIDA.doc --unidade m.";

// Mean and 95th percentile of the slope cells with data.
std::pair<double, double> MediaP95(const TImagem& d) {
    std::vector<double> v;
    for (long long i = 0; i < static_cast<long long>(d.Columns()) * d.Rows(); ++i) {
        const float s = d.GetReal(i);
        if (s != d.FlagValue() && s > 0) v.push_back(s);
    }
    std::sort(v.begin(), v.end());
    double soma = 0;
    for (double s : v) soma += s;
    return {soma / v.size(), v[static_cast<size_t>(0.95 * (v.size() - 1))]};
}

}  // namespace

TEST(Graus, ModeloEmGrausRecusadoEReprojetadoParaUtm) {
    PastaTemporaria p;
    const GradeSintetica g = GradeEmGraus();
    GravaAsc(p.Arquivo("graus.asc"), g);
    // Refused by slope and by the location's load, with the same words.
    EXPECT_EQ(MensagemDe([&] { CalculaDeclividade(p.Arquivo("graus.asc"), p.Arquivo("d.asc"), "d"); }),
              kMensagemPresumida);
    EXPECT_FALSE(ArquivoExiste(p.Arquivo("d.asc")));
    TImgElevacao e;
    EXPECT_EQ(MensagemDe([&] { e.Load(p.Arquivo("graus.asc")); }), kMensagemPresumida);
    // A geographic system said in the file: its own wording.
    GravaGeoTiff(p.Arquivo("graus.tif"), g, 4674);
    const std::string m = MensagemDe([&] { CalculaDeclividade(p.Arquivo("graus.tif"), p.Arquivo("d.asc"), "d"); });
    EXPECT_EQ(m.rfind("O modelo de elevação graus.tif está em coordenadas geográficas (graus): a declividade sairia em "
                      "graus por metro.", 0),
              0u)
        << m;
    EXPECT_NE(m.find("vandoro-cli raster-converter ENTRADA SAIDA --utm"), std::string::npos);
    EXPECT_NE(m.find("gdalwarp -t_srs"), std::string::npos);

    // --utm: SIRGAS 2000 / UTM 23S, square cells of the ground size at the centre.
    auto u = ConverteImagem(p.Arquivo("graus.asc"), p.Arquivo("utm.tif"), "", nullptr, true);
    TImagem utm(p.Arquivo("utm.tif"));
    EXPECT_EQ(DescreveCrs(utm.Crs()).epsg, 31983);
    EXPECT_EQ(utm.RefUnits(), "m");
    const double cx = kOeste + kN * kSeg / 2, cy = kNorte - kN * kSeg / 2;
    std::vector<double> x{cx, cx + kSeg, cx}, y{cy, cy, cy + kSeg};
    Transforma(4674, 31983, x, y);
    const double gw = std::hypot(x[1] - x[0], y[1] - y[0]), gh = std::hypot(x[2] - x[0], y[2] - y[0]);
    const double celula = std::round(std::sqrt(gw * gh));
    EXPECT_NEAR(gw, 28.6, 0.1);  // one second of longitude at 22.5° S
    EXPECT_NEAR(gh, 30.8, 0.1);
    EXPECT_DOUBLE_EQ(utm.CellWidth(), celula);
    EXPECT_DOUBLE_EQ(utm.CellHeight(), celula);
    // The bounds hold the transformed edges of the model, at most a cell beyond them.
    std::vector<double> bx, by;
    for (int k = 0; k <= kN; ++k) {
        for (double yy : {kNorte, kNorte - kN * kSeg}) {
            bx.push_back(kOeste + k * kSeg);
            by.push_back(yy);
        }
        for (double xx : {kOeste, kOeste + kN * kSeg}) {
            bx.push_back(xx);
            by.push_back(kNorte - k * kSeg);
        }
    }
    Transforma(4674, 31983, bx, by);
    const auto [mnx, mxx] = std::minmax_element(bx.begin(), bx.end());
    const auto [mny, mxy] = std::minmax_element(by.begin(), by.end());
    EXPECT_LE(utm.MinX(), *mnx + 1e-6);
    EXPECT_GT(utm.MinX(), *mnx - celula);
    EXPECT_GE(utm.MaxX(), *mxx - 1e-6);
    EXPECT_LT(utm.MaxX(), *mxx + celula);
    EXPECT_LE(utm.MinY(), *mny + 1e-6);
    EXPECT_GT(utm.MinY(), *mny - celula);
    EXPECT_GE(utm.MaxY(), *mxy - 1e-6);
    EXPECT_LT(utm.MaxY(), *mxy + celula);

    // Slope of the reprojected model against the same ground built in metres on its grid.
    GradeSintetica direta = FazGrade(utm.Columns(), utm.Rows(), utm.MinX(), utm.MaxY(), celula, Terreno);
    for (long long i = 0; i < static_cast<long long>(direta.z.size()); ++i)
        if (utm.GetRealRaw(i) == utm.FlagValue()) direta.z[static_cast<size_t>(i)] = static_cast<float>(direta.nodata);
    GravaGeoTiff(p.Arquivo("direta.tif"), direta, 31983);
    CalculaDeclividade(p.Arquivo("utm.tif"), p.Arquivo("du.tif"), "d");
    CalculaDeclividade(p.Arquivo("direta.tif"), p.Arquivo("dd.tif"), "d");
    const auto [mu, pu] = MediaP95(TImagem(p.Arquivo("du.tif")));
    const auto [md, pd] = MediaP95(TImagem(p.Arquivo("dd.tif")));
    EXPECT_GT(md, 5);
    EXPECT_NEAR(mu, md, 0.01 * md);
    EXPECT_NEAR(pu, pd, 0.01 * pd);
}

TEST(Graus, UnidadeDeclaradaOuGradeGrandeNaoSaoGraus) {
    PastaTemporaria p;
    // Declared in metres (an Idrisi file with its unit): taken at its word.
    const GradeSintetica g = GradeEmGraus();
    GravaAsc(p.Arquivo("graus.asc"), g);
    ConverteImagem(p.Arquivo("graus.asc"), p.Arquivo("m.doc"), "m");
    TImagem doc(p.Arquivo("m.doc"));
    EXPECT_FALSE(ImagemEmGraus(doc));
    // Cells of 0.01 and more, or bounds beyond the globe, are not degrees.
    GradeSintetica h = FazGrade(10, 10, 100, 50, 0.011, [](double, double) { return 1.0; });
    GravaAsc(p.Arquivo("h.asc"), h);
    EXPECT_FALSE(ImagemEmGraus(TImagem(p.Arquivo("h.asc"))));
    GradeSintetica k = FazGrade(10, 10, 300000, 7000000, 0.005, [](double, double) { return 1.0; });
    GravaAsc(p.Arquivo("k.asc"), k);
    EXPECT_FALSE(ImagemEmGraus(TImagem(p.Arquivo("k.asc"))));
    // A system zone outside Brazil's SIRGAS ones has no --utm target.
    EXPECT_EQ(EpsgSirgasUtm(-47.3, -22.6), 31983);
    EXPECT_EQ(EpsgSirgasUtm(-60.1, 2.8), 31974);  // 20N
    EXPECT_EQ(EpsgSirgasUtm(-36.0, -8.0), 31985);
    EXPECT_EQ(MensagemDe([] { EpsgSirgasUtm(10, 45); }).rfind("O centro da imagem (longitude 10.000", 0), 0u);
}

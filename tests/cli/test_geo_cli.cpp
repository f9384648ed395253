#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "GeoTeste.h"

using namespace geoteste;

namespace {
const std::string kExemplos = std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/";
const std::string kProjeto = kExemplos + "Terraco em nivel.kzp";

// The shipped example's cells placed in SIRGAS 2000 / UTM 23S, as a survey GeoTIFF.
void ExemploEmGeoTiff(const std::string& tif) {
    IniciaGdal();
    std::unique_ptr<GDALDataset> asc(
        GDALDataset::Open((kExemplos + "hugo_site.asc").c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    ASSERT_TRUE(asc);
    GradeSintetica g;
    g.cols = asc->GetRasterXSize();
    g.rows = asc->GetRasterYSize();
    g.minX = 300000;
    g.maxY = 7500550;
    g.cell = 10;
    g.z.resize(static_cast<size_t>(g.cols) * g.rows);
    ASSERT_EQ(asc->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, g.cols, g.rows, g.z.data(), g.cols, g.rows,
                                              GDT_Float32, 0, 0),
              CE_None);
    GravaGeoTiff(tif, g, 31983);
}
}  // namespace

TEST(CliGeo, GeoTiffAteGeoPackageEKml) {
    PastaTemporaria t;
    ExemploEmGeoTiff(t.Arquivo("hugo.tif"));
    ResultadoCli r = RodarCli({"declividade", t.Arquivo("hugo.tif"), t.Arquivo("decl.tif")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    r = RodarCli({"locar", kProjeto, "--elevacao", t.Arquivo("hugo.tif"), "--declividade", t.Arquivo("decl.tif"),
                  "--saida", t.Arquivo("terracos.vet"), "--sig", t.Arquivo("terracos.gpkg")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Sistema de coordenadas: " + t.Arquivo("terracos.prj") + "\n"), std::string::npos);
    EXPECT_NE(r.saida.find("SIG: " + t.Arquivo("terracos.gpkg") + " ("), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find(" linhas, SIRGAS 2000 / UTM zone 23S) e " + t.Arquivo("terracos.csv")), std::string::npos);
    auto gpkg = AbreVetor(t.Arquivo("terracos.gpkg"));
    ASSERT_TRUE(gpkg);
    OGRLayer* l = gpkg->GetLayer(0);
    const std::string bdt = LerArquivo(t.Arquivo("terracos.bdt"));
    EXPECT_EQ(l->GetFeatureCount(), static_cast<long long>((bdt.size() - 5) / 52));
    OGRSpatialReference utm = Srs(31983);
    ASSERT_TRUE(l->GetSpatialRef());
    EXPECT_TRUE(l->GetSpatialRef()->IsSame(&utm));

    // From the .vet (32 bits) with its .prj beside: KML in degrees.
    r = RodarCli({"vetor-exportar", t.Arquivo("terracos.vet"), t.Arquivo("terracos.kml"), "--projeto", kProjeto});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    auto kml = AbreVetor(t.Arquivo("terracos.kml"));
    ASSERT_TRUE(kml);
    OGRFeature* f = kml->GetLayer(0)->GetNextFeature();
    ASSERT_TRUE(f);
    const OGRLineString* ls = f->GetGeometryRef()->toLineString();
    EXPECT_NEAR(ls->getX(0), -46.94, 0.01);
    EXPECT_NEAR(ls->getY(0), -22.59, 0.01);
    EXPECT_EQ(f->GetFieldAsInteger("terraco"), 1);
    EXPECT_GT(f->GetFieldAsDouble("h_cm"), 0);
    OGRFeature::DestroyFeature(f);
}

TEST(CliGeo, RecusasComAMensagem) {
    PastaTemporaria t;
    // A 1-arc-second grid without a system: refused by slope and location, then --utm.
    GradeSintetica g = FazGrade(40, 40, -47.5, -22.5, 1.0 / 3600,
                       [](double x, double y) { return 700 + 20000 * (x + 47.5) + 5000 * (y + 22.5); });
    GravaAsc(t.Arquivo("srtm.asc"), g);
    ResultadoCli r = RodarCli({"declividade", t.Arquivo("srtm.asc"), t.Arquivo("d.asc")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("parecem estar em graus"), std::string::npos) << r.erro;
    EXPECT_NE(r.erro.find("vandoro-cli raster-converter ENTRADA SAIDA --utm"), std::string::npos);
    EXPECT_EQ(r.saida.find("finalizado com sucesso"), std::string::npos);
    EXPECT_FALSE(ArquivoExiste(t.Arquivo("d.asc")));
    r = RodarCli({"filtro", t.Arquivo("srtm.asc"), t.Arquivo("f.asc")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("parecem estar em graus"), std::string::npos) << r.erro;
    r = RodarCli({"locar", kProjeto, "--elevacao", t.Arquivo("srtm.asc"), "--declividade", t.Arquivo("srtm.asc"),
                  "--saida", t.Arquivo("t.vet")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("parecem estar em graus"), std::string::npos) << r.erro;
    EXPECT_FALSE(ArquivoExiste(t.Arquivo("t.vet")));

    r = RodarCli({"raster-converter", t.Arquivo("srtm.asc"), t.Arquivo("utm.tif"), "--utm"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Reprojetada para SIRGAS 2000 / UTM zone 23S, células de 30 m."), std::string::npos)
        << r.saida;
    r = RodarCli({"declividade", t.Arquivo("utm.tif"), t.Arquivo("d.tif")});
    EXPECT_EQ(r.codigo, 0) << r.erro;

    // A boundary that misses the model; a GIS output that would replace an input.
    ExemploEmGeoTiff(t.Arquivo("hugo.tif"));
    ASSERT_EQ(RodarCli({"declividade", t.Arquivo("hugo.tif"), t.Arquivo("decl.tif")}).codigo, 0);
    GravaPoligono(t.Arquivo("longe.kml"), "KML", 4326, {{{-50, -10}, {-49.9, -10}, {-49.9, -9.9}}});
    r = RodarCli({"locar", kProjeto, "--elevacao", t.Arquivo("hugo.tif"), "--declividade", t.Arquivo("decl.tif"),
                  "--saida", t.Arquivo("t.vet"), "--limite", t.Arquivo("longe.kml")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("O limite do talhão longe.kml não se sobrepõe ao modelo de elevação."), std::string::npos)
        << r.erro;
    EXPECT_FALSE(ArquivoExiste(t.Arquivo("t.vet")));
    r = RodarCli({"locar", kProjeto, "--elevacao", t.Arquivo("hugo.tif"), "--declividade", t.Arquivo("decl.tif"),
                  "--saida", t.Arquivo("t.vet"), "--sig", t.Arquivo("t.shp")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("O arquivo SIG de saída " + t.Arquivo("t.shp") + " substituiria " + t.Arquivo("t.prj") +
                          ": escolha outro nome. Nada foi gravado."),
              std::string::npos)
        << r.erro;
    EXPECT_FALSE(ArquivoExiste(t.Arquivo("t.vet")));
    // Multi-band image: band 1, and said so.
    GravaGeoTiff(t.Arquivo("rgb.tif"), FazGrade(5, 5, 300000, 7500000, 10, [](double x, double) { return x; }),
                 31983, 3);
    r = RodarCli({"raster-info", t.Arquivo("rgb.tif")});
    EXPECT_NE(r.saida.find("A imagem rgb.tif tem 3 bandas; foi usada a banda 1.\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Sistema de coordenadas: SIRGAS 2000 / UTM zone 23S\n"), std::string::npos);
}

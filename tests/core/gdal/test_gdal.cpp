// The GDAL adapter through the raster layer: a GeoTIFF reads as the same grid as its ".asc"
// (and locates the same terraces), files GDAL cannot read, bands, and GeoTIFF written back.
#include <gtest/gtest.h>

#include "GeoTeste.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/gdal/Gdal.h"
#include "core/location/BDT.h"
#include "core/location/LocNivel.h"
#include "core/location/Sig.h"
#include "core/raster/FormatoImagem.h"
#include "core/raster/Imagem.h"

using namespace geoteste;
using namespace geoteste::utm;

// The same cells as GeoTIFF and as ".asc": same header, cells, slope and terraces.
TEST(Gdal, GeoTiffDaOMesmoQueAsc) {
    PastaTemporaria p;
    const GradeSintetica g = GradeMorro();
    GravaGeoTiff(p.Arquivo("m.tif"), g, 31983);
    GravaAsc(p.Arquivo("m.asc"), g);

    TImagem tif, asc;
    ASSERT_TRUE(tif.LoadFromFile(p.Arquivo("m.tif")));
    ASSERT_TRUE(asc.LoadFromFile(p.Arquivo("m.asc")));
    EXPECT_EQ(tif.Columns(), asc.Columns());
    EXPECT_EQ(tif.Rows(), asc.Rows());
    EXPECT_EQ(tif.MinX(), asc.MinX());
    EXPECT_EQ(tif.MaxX(), asc.MaxX());
    EXPECT_EQ(tif.MinY(), asc.MinY());
    EXPECT_EQ(tif.MaxY(), asc.MaxY());
    EXPECT_EQ(tif.FlagValue(), asc.FlagValue());
    EXPECT_EQ(tif.ValidCount(), asc.ValidCount());
    EXPECT_LT(tif.ValidCount(), static_cast<long long>(kN) * kN);  // the corners have no data
    EXPECT_EQ(tif.RefUnits(), "m");
    EXPECT_EQ(DescreveCrs(tif.Crs()).epsg, 31983);
    EXPECT_TRUE(asc.Crs().empty());
    for (long long i = 0; i < static_cast<long long>(kN) * kN; ++i) ASSERT_EQ(tif.GetRealRaw(i), asc.GetRealRaw(i));

    Modelo m1, m2;
    TLocacaoNivel l1, l2;
    Locar(l1, m1, p.Arquivo("m.tif"), p.Arquivo("d.tif"), p.Arquivo("t1.vet"));
    Locar(l2, m2, p.Arquivo("m.asc"), p.Arquivo("d.asc"), p.Arquivo("t2.vet"));
    // The slope keeps the GeoTIFF's system; the ".asc" one has none to keep.
    TImagem d1, d2;
    ASSERT_TRUE(d1.LoadFromFile(p.Arquivo("d.tif")));
    ASSERT_TRUE(d2.LoadFromFile(p.Arquivo("d.asc")));
    EXPECT_EQ(DescreveCrs(d1.Crs()).epsg, 31983);
    for (long long i = 0; i < static_cast<long long>(kN) * kN; ++i) ASSERT_FLOAT_EQ(d1.GetReal(i), d2.GetReal(i));

    ASSERT_GT(l1.Registros().Count(), 3);
    ASSERT_EQ(l1.Registros().Count(), l2.Registros().Count());
    for (int i = 1; i <= l1.Registros().Count(); ++i) {
        const TRegTerr &a = *l1.Registros().Item(i), &b = *l2.Registros().Item(i);
        EXPECT_EQ(a.id, b.id);
        EXPECT_DOUBLE_EQ(a.level, b.level);
        EXPECT_DOUBLE_EQ(a.length, b.length);
        EXPECT_DOUBLE_EQ(a.area, b.area);
        EXPECT_DOUBLE_EQ(a.height, b.height);
    }
    ASSERT_EQ(l1.LinhasMapa().size(), l2.LinhasMapa().size());
    for (size_t i = 0; i < l1.LinhasMapa().size(); ++i) EXPECT_EQ(l1.LinhasMapa()[i].x, l2.LinhasMapa()[i].x);
    // The ".vet" of the GeoTIFF run has its system beside it.
    EXPECT_EQ(GravarPrjDaLocacao(l1), p.Arquivo("t1.prj"));
    EXPECT_EQ(DescreveCrs(CrsDeTexto(LerArquivo(p.Arquivo("t1.prj")))).epsg, 31983);
    EXPECT_EQ(GravarPrjDaLocacao(l2), "");
    EXPECT_FALSE(ArquivoExiste(p.Arquivo("t2.prj")));
}


TEST(Gdal, ArquivosQueOGdalNaoLeEBandas) {
    PastaTemporaria p;
    GravarArquivo(p.Arquivo("lixo.tif"), "não é uma imagem");
    TImagem img;
    EXPECT_EQ(MensagemDe([&] { img.LoadFromFile(p.Arquivo("lixo.tif")); }),
              "Erro. O arquivo lixo.tif não corresponde a um arquivo válido de imagem.");
    GradeSintetica g = FazGrade(4, 3, 500000, 7000000, 10, [](double x, double) { return x - 500000; });
    GravaGeoTiff(p.Arquivo("tres.tif"), g, 31983, 3);
    ASSERT_TRUE(img.LoadFromFile(p.Arquivo("tres.tif")));
    EXPECT_EQ(img.BandCount(), 3);
    EXPECT_EQ(NotaBandas(img), "A imagem tres.tif tem 3 bandas; foi usada a banda 1.");
    EXPECT_EQ(NotaBandasArquivo(p.Arquivo("tres.tif")), NotaBandas(img));
    EXPECT_FLOAT_EQ(img.GetReal({1, 0}), 15.0f);  // band 1, not band 2 (+1000)
    // Written back as GeoTIFF by the converter: one band, the system kept, whole.
    ConverteImagem(p.Arquivo("tres.tif"), p.Arquivo("um.tif"));
    TImagem um(p.Arquivo("um.tif"));
    EXPECT_EQ(um.BandCount(), 1);
    EXPECT_EQ(DescreveCrs(um.Crs()).epsg, 31983);
    EXPECT_EQ(NotaBandas(um), "");
    // And as ".asc" with its ".prj" beside.
    ConverteImagem(p.Arquivo("tres.tif"), p.Arquivo("um.asc"));
    TImagem a(p.Arquivo("um.asc"));
    EXPECT_EQ(DescreveCrs(a.Crs()).epsg, 31983);
    EXPECT_FLOAT_EQ(a.GetReal({3, 2}), 35.0f);
}

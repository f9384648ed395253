// The waterways a graded layout drains to, read over a UTM model through OGR and from a .vet.
#include <gtest/gtest.h>

#include <cmath>

#include "GeoTeste.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/gdal/Gdal.h"
#include "core/location/Escoadouros.h"
#include "core/raster/Vetor.h"

using namespace geoteste;
using namespace geoteste::utm;

namespace {
const TGradeMapa kGrade{kMinX, kMaxY, kCel, kCel, kN, kN};
const std::string kUtm = CrsDeEpsg(31983);
}  // namespace

TEST(Escoadouros, LinesDrawnInDegreesComeBackOnTheModelsGrid) {
    PastaTemporaria p;
    // A thalweg down the model's centre and a bent one beside it, drawn in WGS 84.
    std::vector<double> x = {kCx, kCx, kCx + 60, kCx + 80, kCx + 100}, y = {kMaxY - 10, kMaxY - 290, kMaxY - 20,
                                                                          kMaxY - 150, kMaxY - 280};
    std::vector<double> lon = x, lat = y;
    Transforma(31983, 4326, lon, lat);
    GravaLinhas(p.Arquivo("e.kml"), "KML", 4326,
                {{{lon[0], lat[0]}, {lon[1], lat[1]}}, {{lon[2], lat[2]}, {lon[3], lat[3]}, {lon[3], lat[3]}, {lon[4], lat[4]}}});
    const std::vector<TPolilinha> l = LerEscoadouros(p.Arquivo("e.kml"), kUtm, kGrade);
    ASSERT_EQ(l.size(), 2u);
    ASSERT_EQ(l[0].x.size(), 2u);
    ASSERT_EQ(l[1].x.size(), 3u);  // the vertex drawn twice counts once
    for (size_t k = 0; k < 2; ++k) {
        EXPECT_NEAR(l[0].x[k], x[k], 1e-3);
        EXPECT_NEAR(l[0].y[k], y[k], 1e-3);
    }
    EXPECT_NEAR(l[1].x[2], x[4], 1e-3);
    EXPECT_NEAR(l[1].y[2], y[4], 1e-3);

    // The program's own vector is taken in the model's system.
    TVET vet("m");
    TVetorRecPonto a;
    a.SetLineId(1);
    a.Add(float(kCx), float(kMaxY - 10), 0);
    a.Add(float(kCx), float(kMaxY - 290), 0);
    vet.AppendLine(a);
    vet.Save(p.Arquivo("e.vet"));
    const std::vector<TPolilinha> v = LerEscoadouros(p.Arquivo("e.vet"), kUtm, kGrade);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_NEAR(v[0].y[1], kMaxY - 290, 0.5);  // a .vet keeps 32-bit reals
}

TEST(Escoadouros, WhatCannotBeWaterwaysIsRefusedByName) {
    PastaTemporaria p;
    EXPECT_EQ(MensagemDe([&] { LerEscoadouros(p.Arquivo("falta.gpkg"), kUtm, kGrade); }),
              "O arquivo dos canais escoadouros " + p.Arquivo("falta.gpkg") + " não existe.");
    // Points only, polygons only: no line.
    GravaLinhas(p.Arquivo("pontos.gpkg"), "GPKG", 31983, {{{kCx, kCy}}});
    EXPECT_EQ(MensagemDe([&] { LerEscoadouros(p.Arquivo("pontos.gpkg"), kUtm, kGrade); }),
              "Os canais escoadouros pontos.gpkg não contêm nenhuma linha: desenhe cada canal como uma linha.");
    GravaPoligono(p.Arquivo("area.gpkg"), "GPKG", 31983, {{{kCx, kCy}, {kCx + 10, kCy}, {kCx, kCy + 10}}});
    EXPECT_EQ(MensagemDe([&] { LerEscoadouros(p.Arquivo("area.gpkg"), kUtm, kGrade); }),
              "Os canais escoadouros area.gpkg não contêm nenhuma linha: desenhe cada canal como uma linha.");
    // Another farm, 50 km east.
    GravaLinhas(p.Arquivo("longe.gpkg"), "GPKG", 31983, {{{360000, 7500000}, {360100, 7500100}}});
    EXPECT_EQ(MensagemDe([&] { LerEscoadouros(p.Arquivo("longe.gpkg"), kUtm, kGrade); }),
              "Os canais escoadouros longe.gpkg não passam sobre o modelo de elevação.");
    // Degrees over a model that declares no system.
    GravaLinhas(p.Arquivo("graus.kml"), "KML", 4326, {{{-46.9, -22.6}, {-46.8, -22.5}}});
    EXPECT_EQ(MensagemDe([&] { LerEscoadouros(p.Arquivo("graus.kml"), "", kGrade); }),
              "Os canais escoadouros graus.kml têm sistema de coordenadas, mas o modelo de elevação não declara o "
              "seu: os canais não podem ser transformados para o modelo.");
    // Not a vector at all, and a damaged .vet.
    GravarArquivo(p.Arquivo("lixo.kml"), "isto não é KML");
    EXPECT_EQ(MensagemDe([&] { LerEscoadouros(p.Arquivo("lixo.kml"), kUtm, kGrade); })
                  .rfind("Não foi possível abrir os canais escoadouros lixo.kml: o arquivo não é um vetor que o "
                         "GDAL/OGR leia", 0),
              0u);
    GravarArquivo(p.Arquivo("ruim.vet"), "xx");
    EXPECT_EQ(MensagemDe([&] { LerEscoadouros(p.Arquivo("ruim.vet"), kUtm, kGrade); })
                  .rfind("Não foi possível abrir os canais escoadouros ruim.vet: ", 0),
              0u);
}

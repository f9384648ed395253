#pragma once
// Geodata the tests write and read through GDAL/OGR/OSR themselves, independent of the
// program's adapter: GeoTIFFs, polygons, transforms; and the hill on a UTM grid the GDAL and
// GIS export tests run the location on.
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GradesSinteticas.h"
#include "ModeloLocacao.h"
#include "TestSupport.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/raster/Declividade.h"

namespace geoteste {

inline void IniciaGdal() {
    static bool feito = false;
    if (!feito) {
        GDALAllRegister();
        feito = true;
    }
}

inline OGRSpatialReference Srs(int epsg) {
    OGRSpatialReference s;
    s.importFromEPSG(epsg);
    s.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return s;
}

// Transforms (x, y) in place (x east/longitude).
inline void Transforma(int de, int para, std::vector<double>& x, std::vector<double>& y) {
    OGRSpatialReference a = Srs(de), b = Srs(para);
    std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&a, &b));
    if (!t || !t->Transform(x.size(), x.data(), y.data())) throw std::runtime_error("transformação falhou");
}

// GeoTIFF written by GDAL: float32, 'bandas' bands (band k holds z + 1000 (k - 1)).
inline void GravaGeoTiff(const std::string& arq, const GradeSintetica& g, int epsg, int bandas = 1) {
    IniciaGdal();
    GDALDriver* d = GetGDALDriverManager()->GetDriverByName("GTiff");
    std::unique_ptr<GDALDataset> ds(d->Create(arq.c_str(), g.cols, g.rows, bandas, GDT_Float32, nullptr));
    double gt[6] = {g.minX, g.cell, 0, g.maxY, 0, -g.cell};
    ds->SetGeoTransform(gt);
    if (epsg) {
        OGRSpatialReference s = Srs(epsg);
        ds->SetSpatialRef(&s);
    }
    for (int k = 1; k <= bandas; ++k) {
        std::vector<float> v = g.z;
        for (float& x : v)
            if (x != g.nodata) x += 1000.0f * (k - 1);
        GDALRasterBand* b = ds->GetRasterBand(k);
        b->SetNoDataValue(g.nodata);
        if (b->RasterIO(GF_Write, 0, 0, g.cols, g.rows, v.data(), g.cols, g.rows, GDT_Float32, 0, 0) != CE_None)
            throw std::runtime_error("RasterIO");
    }
}

// One polygon layer written by OGR ('driver': "KML", "GPKG", ...), rings in 'epsg'.
inline void GravaPoligono(const std::string& arq, const char* driver, int epsg,
                          const std::vector<std::vector<std::pair<double, double>>>& poligonos) {
    IniciaGdal();
    GDALDriver* d = GetGDALDriverManager()->GetDriverByName(driver);
    std::unique_ptr<GDALDataset> ds(d->Create(arq.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    OGRSpatialReference s = Srs(epsg);
    OGRLayer* l = ds->CreateLayer("talhao", &s, wkbPolygon, nullptr);
    for (const auto& p : poligonos) {
        OGRFeature f(l->GetLayerDefn());
        OGRPolygon pol;
        auto* anel = new OGRLinearRing;
        for (const auto& [x, y] : p) anel->addPoint(x, y);
        anel->closeRings();
        pol.addRingDirectly(anel);
        f.SetGeometry(&pol);
        if (l->CreateFeature(&f) != OGRERR_NONE) throw std::runtime_error("CreateFeature");
    }
}

// One line layer written by OGR, lines in 'epsg' (0: no system); a line of one point is a
// point feature, so a layer without lines can be written too.
inline void GravaLinhas(const std::string& arq, const char* driver, int epsg,
                        const std::vector<std::vector<std::pair<double, double>>>& linhas) {
    IniciaGdal();
    GDALDriver* d = GetGDALDriverManager()->GetDriverByName(driver);
    std::unique_ptr<GDALDataset> ds(d->Create(arq.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    OGRSpatialReference s = epsg ? Srs(epsg) : OGRSpatialReference();
    OGRLayer* l = ds->CreateLayer("escoadouros", epsg ? &s : nullptr, wkbUnknown, nullptr);
    for (const auto& linha : linhas) {
        OGRFeature f(l->GetLayerDefn());
        OGRLineString ls;
        OGRPoint pt;
        if (linha.size() == 1) {
            pt.setX(linha[0].first);
            pt.setY(linha[0].second);
            f.SetGeometry(&pt);
        } else {
            for (const auto& [x, y] : linha) ls.addPoint(x, y);
            f.SetGeometry(&ls);
        }
        if (l->CreateFeature(&f) != OGRERR_NONE) throw std::runtime_error("CreateFeature");
    }
}

inline std::unique_ptr<GDALDataset> AbreVetor(const std::string& arq) {
    IniciaGdal();
    return std::unique_ptr<GDALDataset>(GDALDataset::Open(arq.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
}

// A hill on a UTM 23S grid at a northing of 7 500 000 m (5 m cells; corners without data),
// and the run the GDAL and GIS export tests make on it.
namespace utm {

constexpr double kMinX = 310000.0, kMaxY = 7500300.0, kCel = 5.0;
constexpr int kN = 60;
constexpr double kCx = kMinX + 150, kCy = kMaxY - 150;

inline double Morro(double x, double y) {
    const double dx = x - kCx, dy = y - kCy, d2 = dx * dx + dy * dy;
    if (d2 > 145.0 * 145.0) return std::nan("");
    return 600 + 30 * std::exp(-d2 / (2 * 70.0 * 70.0)) + 0.02 * dx;
}

inline GradeSintetica GradeMorro() { return FazGrade(kN, kN, kMinX, kMaxY, kCel, Morro); }

// Spacing by an EV of 2.5 m, CDu 1.2.
struct Modelo : ModeloLocacao {
    Modelo() : ModeloLocacao(TMetodologiaEspacamento::EspacamentoArbitrado, 2.5, 1.2) {}
};

// Slope of 'elev' beside it, then a location run writing 'vet'.
inline void Locar(TLocacaoNivel& loc, Modelo& m, const std::string& elev, const std::string& decl, const std::string& vet) {
    CalculaDeclividade(elev, decl, "declividade");
    ProcessarLocacao(loc, elev, decl, m.chuva, m.cn, m.terracos, vet);
}

inline bool MesmoSistema(const OGRSpatialReference* s, int epsg) {
    if (!s) return false;
    OGRSpatialReference e = Srs(epsg);
    return s->IsSame(&e);
}

}  // namespace utm

}  // namespace geoteste

#pragma once
// Geodata the tests write and read through GDAL/OGR/OSR themselves, independent of the
// program's adapter: GeoTIFFs, polygons, transforms.
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

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

// A grid of cells, north row first.
struct Grade {
    int cols = 0, rows = 0;
    double minX = 0, maxY = 0, cell = 1;
    double nodata = -9999;
    std::vector<float> z;
    double CentroX(int c) const { return minX + (c + 0.5) * cell; }
    double CentroY(int r) const { return maxY - (r + 0.5) * cell; }
    double MinY() const { return maxY - rows * cell; }
};

inline Grade FazGrade(int cols, int rows, double minX, double maxY, double cell,
                      const std::function<double(double x, double y)>& f) {
    Grade g;
    g.cols = cols;
    g.rows = rows;
    g.minX = minX;
    g.maxY = maxY;
    g.cell = cell;
    g.z.resize(static_cast<size_t>(cols) * rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const double v = f(g.CentroX(c), g.CentroY(r));
            g.z[static_cast<size_t>(r) * cols + c] = static_cast<float>(std::isnan(v) ? g.nodata : v);
        }
    return g;
}

// GeoTIFF written by GDAL: float32, 'bandas' bands (band k holds z + 1000 (k - 1)).
inline void GravaGeoTiff(const std::string& arq, const Grade& g, int epsg, int bandas = 1) {
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

// The same cells as an ArcView ASCII grid (no .prj).
inline void GravaAsc(const std::string& arq, const Grade& g) {
    std::ostringstream o;
    o.precision(10);
    o << "ncols " << g.cols << "\nnrows " << g.rows << "\nxllcorner " << g.minX << "\nyllcorner " << g.MinY()
      << "\ncellsize " << g.cell << "\nNODATA_value " << g.nodata << "\n";
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.cols; ++c) o << g.z[static_cast<size_t>(r) * g.cols + c] << ' ';
        o << '\n';
    }
    GravarArquivo(arq, o.str());
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

inline std::unique_ptr<GDALDataset> AbreVetor(const std::string& arq) {
    IniciaGdal();
    return std::unique_ptr<GDALDataset>(GDALDataset::Open(arq.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
}

}  // namespace geoteste

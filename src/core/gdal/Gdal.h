#pragma once
// The program's one door to GDAL/OGR/OSR. Only the files of this folder include GDAL
// headers; the rest of core sees plain grids, point lists and coordinate systems as WKT
// text (empty: none declared).
#include <functional>
#include <string>
#include <vector>

// A raster as the program takes it: band 1 as 32-bit reals, north row first.
struct TGradeGdal {
    int colunas = 0, linhas = 0;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    std::vector<float> celulas;  // colunas * linhas, row-major
    bool temSemDado = false;
    double semDado = 0;
    int bandas = 1;
    std::string crs;     // WKT
    std::string driver;  // GDAL's short name ("GTiff", ...)
    std::string titulo;
    // Read: the file's cells are compressed. Written: compress them (DEFLATE).
    bool compactada = false;
};

// Whether GDAL opens the file as a raster.
bool GdalAbreRaster(const std::string& nome);
// Band 1 of any raster GDAL reads. A file GDAL cannot open, a rotated grid or one too large
// raises EVandoro.
TGradeGdal LerRasterGdal(const std::string& nome);
// The number of bands of a raster GDAL reads, without its cells (0 when GDAL cannot open it).
int BandasRasterGdal(const std::string& nome);
// The coordinate system of a raster GDAL reads, without its cells ("" when none).
std::string CrsRasterGdal(const std::string& nome);
// GeoTIFF (float32, no-data kept, the CRS kept), whole or nothing.
void GravarGeoTiff(const std::string& nome, const TGradeGdal& g);
// The same with the cells of 'cabecalho' left out: linha(r, buf) puts row r (north first,
// colunas values) in buf when GDAL needs it, so the grid is never copied whole.
void GravarGeoTiff(const std::string& nome, const TGradeGdal& cabecalho,
                   const std::function<void(int linha, float* buf)>& linha);

// What the program needs to know of a coordinate system.
struct TInfoCrs {
    bool valido = false;
    bool geografico = false;
    bool projetado = false;
    double metrosPorUnidade = 1;  // of the linear unit (projected systems)
    std::string nome;
    int epsg = 0;  // 0 when it has no EPSG code
};
TInfoCrs DescreveCrs(const std::string& wkt);
// ESRI WKT, the form of a ".prj" file.
std::string CrsEsri(const std::string& wkt);
// The text of a ".prj" (ESRI or OGC WKT, PROJ string, "EPSG:n") as WKT; "" when unreadable.
std::string CrsDeTexto(const std::string& texto);
std::string CrsDeEpsg(int epsg);
// Whether both describe the same system.
bool MesmoCrs(const std::string& a, const std::string& b);

// SIRGAS 2000 / UTM of the zone of (lon, lat) in degrees: EPSG 31965-31976 for zones
// 11N-22N, 6210 and 6211 for 23N and 24N, 31977-31985 for 17S-25S, 5396 for 26S; other
// zones have no SIRGAS code and raise EVandoro.
int EpsgSirgasUtm(double lon, double lat);

// Transforms points in place from 'de' to 'para' (x = east or longitude, y = north or
// latitude). A transformation PROJ cannot build raises EVandoro.
void TransformaPontos(const std::string& de, const std::string& para, std::vector<double>& x,
                      std::vector<double>& y);

// Warps a grid to 'crs' with square cells of 'celula' units, bilinear, aligned to whole
// multiples of the cell; no-data kept.
TGradeGdal ReprojetaGrade(const TGradeGdal& g, const std::string& crs, double celula);

// Line features for a GIS file.
struct TCampoSig {
    std::string nome;  // at most 10 characters (Shapefile)
    bool inteiro = false;
    bool texto = false;  // a text field, its value in the feature's 'textos'
};
struct TFeicaoLinha {
    std::vector<double> x, y;
    double z = 0;
    std::vector<double> valores;  // one per field; NaN leaves the field empty
    std::vector<std::string> textos;  // one per field, read for text fields; "" leaves it empty
    std::string nome, descricao;  // shown by KML viewers and GPS receivers
    std::string cor;              // "#RRGGBB": the KML line's colour ("" leaves it unstyled)
    std::string camadaCad;        // DXF: the drawing layer ("" is layer 0)
    std::string rotulo;           // DXF: a text at the line's middle vertex ("" none)
};
// Writes one layer of 3D lines to 'nome', format by extension (.gpkg, .shp, .geojson, .kml,
// .gpx, .dxf), in 'crs' (KML and GPX in WGS 84 longitude/latitude, reprojected; DXF in 'crs'
// without declaring it), and reads it back. GPX takes a track per line with its name and
// description, and DXF its layer and label, without the attribute fields. 'nome' is
// written as it is, a Shapefile's parts beside it: it is a staged name, and the caller
// replaces the files as one set (TConjuntoArquivos). Raises EFalhaGravacao when GDAL fails.
void EscreverLinhasSig(const std::string& nome, const std::string& camada, const std::vector<TCampoSig>& campos,
                       const std::vector<TFeicaoLinha>& feicoes, const std::string& crs);
// Whether the extension is one EscreverLinhasSig writes.
bool FormatoSigConhecido(const std::string& nome);
// The files a GIS output is made of (a Shapefile's .shp, .shx, .dbf, .prj, .cpg).
std::vector<std::string> ArquivosSig(const std::string& nome);

// A polyline in a grid's map units.
struct TPolilinha {
    std::vector<double> x, y;
    bool operator==(const TPolilinha&) const = default;
};
// The lines of every layer of 'nome' (the waterways a graded layout drains to), after
// reprojection to 'crsGrade' (a layer without a system is taken as the grid's). Repeated
// vertices are dropped, and so are lines left with fewer than two. Raises EVandoro for a file
// OGR cannot open and one whose system cannot be transformed to the grid's.
std::vector<TPolilinha> LerLinhasNoModelo(const std::string& nome, const std::string& crsGrade);

// The rings (outer and holes, each closed) of every polygon of any layer of 'nome', after
// reprojection to 'crsGrade': the field boundary as drawn. Raises as RasterizaPoligonos for a file
// OGR cannot open or whose system cannot be transformed; a file without polygons gives none.
std::vector<TPolilinha> LerPoligonosNoModelo(const std::string& nome, const std::string& crsGrade);

// Cells of a grid (north row first) that lie wholly inside the polygons of any layer of
// 'nome', after reprojection to 'crsGrade' (cells the boundary crosses are outside). 'areaPoligonos' receives their area in grid
// units². Raises EVandoro for a file OGR cannot open, one without polygons, one whose
// system cannot be transformed to the grid's, and one that does not overlap the grid.
std::vector<unsigned char> RasterizaPoligonos(const std::string& nome, const std::string& crsGrade, int colunas,
                                              int linhas, double minX, double maxY, double largura,
                                              double altura, double* areaPoligonos = nullptr);

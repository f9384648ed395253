// Field boundary on arbitrary bytes: any polygon layer OGR opens, through the adapter and
// the rasterising of its polygons over a fixed grid in geographic degrees. A clear error, or
// a mask of the grid's size whose inside cells cover no more than the polygons' area.
//   The first byte picks the extension (GeoJSON, KML, GML, GeoPackage, CSV with WKT, ESRI JSON or TopoJSON);
//   the rest is the file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "core/common/Erros.h"
#include "core/gdal/Gdal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const char* const kExt[] = {".geojson", ".kml", ".gml", ".gpkg", ".csv", ".json"};
    static const std::string base = "/tmp/fuzz_limite_talhao_" + std::to_string(getpid());
    static const std::string crs = CrsDeEpsg(4674);
    const std::string nome = base + kExt[data[0] % 6];
    std::ofstream(nome, std::ios::binary).write(reinterpret_cast<const char*>(data + 1), (std::streamsize)size - 1);
    // 0.1-degree cells over 60..40 W, 30..10 S.
    constexpr int cols = 200, rows = 200;
    constexpr double minX = -60, maxY = -10, w = 0.1, h = 0.1;
    std::vector<unsigned char> m;
    double area = -1;
    try {
        m = RasterizaPoligonos(nome, crs, cols, rows, minX, maxY, w, h, &area);
    } catch (const EVandoro&) {
        std::remove(nome.c_str());
        return 0;
    }
    std::remove(nome.c_str());
    if (m.size() != static_cast<size_t>(cols) * rows || !(area >= 0)) __builtin_trap();
    long long dentro = 0;
    for (unsigned char v : m) {
        if (v > 1) __builtin_trap();
        dentro += v;
    }
    // Only cells wholly inside count, so together they are no larger than the field.
    if (dentro * w * h > area * (1 + 1e-9) + 1e-12) __builtin_trap();
    return 0;
}

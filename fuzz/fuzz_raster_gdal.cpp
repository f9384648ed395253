// The GDAL raster path into the grid (GeoTIFF and the other formats GDAL reads) on arbitrary
// bytes: a clear error, or a grid that survives its GeoTIFF round trip cell for cell.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <vector>
#include <cstring>
#include <fstream>
#include <string>

#include "core/raster/Imagem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string base = "/tmp/fuzz_raster_gdal_" + std::to_string(getpid());
    std::ofstream(base + ".tif", std::ios::binary).write(reinterpret_cast<const char*>(data), (std::streamsize)size);
    TImagem img;
    try {
        if (!img.LoadFromFile(base + ".tif")) __builtin_trap();
    } catch (const EVandoro&) {
        return 0;
    }
    const int cols = img.Columns(), rows = img.Rows();
    if (cols < 1 || rows < 1 || !(img.MaxX() > img.MinX()) || !(img.MaxY() > img.MinY())) __builtin_trap();
    img.ComputeMinMax(true);
    try {
        img.SaveToFile(base + "_2.tif");
    } catch (const EVandoro&) {
        return 0;  // a grid GDAL reads but cannot write (no disk, odd system) is not a fault here
    }
    TImagem volta;
    try {
        if (!volta.LoadFromFile(base + "_2.tif")) __builtin_trap();
    } catch (const EVandoro&) {
        __builtin_trap();
    }
    if (volta.Columns() != cols || volta.Rows() != rows || volta.MinX() != img.MinX() ||
        volta.MaxY() != img.MaxY())
        __builtin_trap();
    std::vector<float> a(static_cast<size_t>(cols)), b(static_cast<size_t>(cols));
    for (int r = 0; r < rows; ++r) {
        img.RawRow(r, a.data());
        volta.RawRow(r, b.data());
        for (int c = 0; c < cols; ++c)
            if (std::memcmp(&a[c], &b[c], 4) != 0 && !(std::isnan(a[c]) && std::isnan(b[c]))) __builtin_trap();
    }
    return 0;
}

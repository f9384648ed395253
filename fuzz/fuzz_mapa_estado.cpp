// State-map bitmap (.bmp) reader on arbitrary bytes: a clear error or a picture that the
// writer gives back pixel for pixel.
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "core/common/Erros.h"
#include "core/rainfall/MapaEstado.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string base = "/tmp/fuzz_mapa_estado_" + std::to_string(getpid());
    std::ofstream(base + ".bmp", std::ios::binary).write(reinterpret_cast<const char*>(data), (std::streamsize)size);
    TBitmapRGB b;
    try {
        b = LerBMP(base + ".bmp");
    } catch (const EVandoro&) {
        return 0;
    }
    if (b.Largura() < 1 || b.Altura() < 1) __builtin_trap();
    GravarBMP(b, base + "_2.bmp");
    TBitmapRGB c = LerBMP(base + "_2.bmp");
    if (c.Largura() != b.Largura() || c.Altura() != b.Altura()) __builtin_trap();
    for (int y = 0; y < b.Altura(); ++y)
        for (int x = 0; x < b.Largura(); ++x)
            if (c.Pixel(x, y) != b.Pixel(x, y) || (b.Pixel(x, y) >> 24) != 0) __builtin_trap();
    return 0;
}

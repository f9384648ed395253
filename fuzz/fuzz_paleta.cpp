// Palette text (.pal) reader on arbitrary bytes: a clear error that leaves the colours as
// they were, or a palette whose own text reads back to the same colours.
#include <cstdint>
#include <string>

#include "core/common/Erros.h"
#include "core/raster/Paleta.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string texto(reinterpret_cast<const char*>(data), size);
    TPaleta p;
    const TPaleta cinza;
    try {
        p.LerTexto(texto, "p.pal");
    } catch (const EVandoro&) {
        if (!(p == cinza)) __builtin_trap();
        return 0;
    }
    for (int i = 0; i < 256; ++i)
        if ((p.Argb(i) >> 24) != 0xFF || (p.Cor(i) >> 24) != 0) __builtin_trap();
    TPaleta q;
    try {
        q.LerTexto(p.Texto(), "q.pal");
    } catch (const EVandoro&) {
        __builtin_trap();
    }
    if (!(q == p)) __builtin_trap();
    return 0;
}

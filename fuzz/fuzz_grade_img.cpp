// Idrisi reader: the input is split into the ".doc" text (up to the first NUL byte) and the
// ".img" cells (the rest).
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "core/raster/Imagem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string base = "/tmp/fuzz_grade_" + std::to_string(getpid());
    const char* p = reinterpret_cast<const char*>(data);
    const void* nul = std::memchr(p, 0, size);
    size_t corte = nul ? static_cast<size_t>(static_cast<const char*>(nul) - p) : size;
    std::ofstream(base + ".doc", std::ios::binary).write(p, (std::streamsize)corte);
    size_t resto = corte < size ? size - corte - 1 : 0;
    std::ofstream(base + ".img", std::ios::binary).write(p + size - resto, (std::streamsize)resto);
    try {
        TImagem img;
        if (img.LoadFromFile(base + ".doc")) {
            img.ComputeMinMax(true);
            if (img.Rows() > 0 && img.Columns() > 0) (void)img.GetValue(img.Index({img.Columns() - 1, img.Rows() - 1}));
        }
    } catch (const EVandoro&) {
    }
    return 0;
}

// ArcView header + float reader: the input is split into the ".hdr" text (up to the first
// NUL byte) and the ".flt" cells (the rest). Both storage modes are exercised.
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
    std::ofstream(base + ".hdr", std::ios::binary).write(p, (std::streamsize)corte);
    size_t resto = corte < size ? size - corte - 1 : 0;
    std::ofstream(base + ".flt", std::ios::binary).write(p + size - resto, (std::streamsize)resto);
    for (TModoArmazenamento modo : {TModoArmazenamento::Memoria, TModoArmazenamento::Arquivo}) {
        try {
            TImagem img(modo);
            if (img.LoadFromFile(base + ".hdr")) {
                img.ComputeMinMax(true);
                if (img.Rows() > 0 && img.Columns() > 0) {
                    float v = img.GetReal(TCelula{img.Columns() - 1, img.Rows() - 1});
                    if (modo == TModoArmazenamento::Arquivo) img.SetReal({0, 0}, v);
                }
            }
        } catch (const EVandoro&) {
        }
    }
    return 0;
}

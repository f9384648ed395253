// ArcView ASCII grid reader on arbitrary bytes: a clear error or a grid, never a crash.
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "core/raster/Imagem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string nome = "/tmp/fuzz_grade_" + std::to_string(getpid()) + ".asc";
    std::ofstream(nome, std::ios::binary).write(reinterpret_cast<const char*>(data), (std::streamsize)size);
    try {
        TImagem img;
        if (img.LoadFromFile(nome)) {
            img.ComputeMinMax(true);
            if (img.Rows() > 0 && img.Columns() > 0) (void)img.GetReal(TCelula{img.Columns() - 1, img.Rows() - 1});
        }
    } catch (const EVandoro&) {
    }
    return 0;
}

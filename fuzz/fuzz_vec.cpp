// Idrisi .vec + .dvc and Surfer .txt readers on arbitrary bytes: a clear error or a
// vector, never a crash or a huge allocation.
//   first byte 'D': the rest up to the first NUL is the .dvc, the remainder the .vec;
//   first byte 'S': the rest is a Surfer text;
//   otherwise: all bytes are the .vec beside a valid .dvc.
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "core/raster/Vetor.h"

namespace {
void Gravar(const std::string& nome, const char* p, size_t n) {
    std::ofstream(nome, std::ios::binary).write(p, (std::streamsize)n);
}
const char kDvc[] =
    "file title  : t\r\nid type     : real\r\nfile type   : binary\r\nobject type : line\r\n"
    "ref. system : plane\r\nref. units  : m\r\nunit dist.  : 1\r\nmin. X      : 0\r\n"
    "max. X      : 1\r\nmin. Y      : 0\r\nmax. Y      : 1\r\npos n error : unknown\r\n"
    "resolution  : unknown\r\n";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string base = "/tmp/fuzz_vec_" + std::to_string(getpid());
    const char* p = reinterpret_cast<const char*>(data);
    TVET vet;
    try {
        if (size > 0 && p[0] == 'S') {
            Gravar(base + ".txt", p + 1, size - 1);
            ImportarSurfer(base + ".txt", "t", "m", vet);
        } else {
            if (size > 0 && p[0] == 'D') {
                const void* nul = std::memchr(p + 1, 0, size - 1);
                size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - (p + 1)) : size - 1;
                Gravar(base + ".dvc", p + 1, n);
                size_t resto = nul ? size - 2 - n : 0;
                Gravar(base + ".vec", p + 2 + n, resto);
            } else {
                Gravar(base + ".dvc", kDvc, sizeof kDvc - 1);
                Gravar(base + ".vec", p, size);
            }
            ImportarIdrisi(base + ".vec", "t", vet);
        }
        for (const auto& l : vet.Lines()) (void)vet.LineLength(l.LineId());
        if (!vet.SaveToFile(base + ".vet")) __builtin_trap();
        TVET w;
        if (!w.LoadFromFile(base + ".vet") || w.RecordCount() != vet.RecordCount()) __builtin_trap();
    } catch (const EVandoro&) {
    }
    return 0;
}

// Project read sequence over arbitrary bytes: it must answer true or false, never crash or hang.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/project/ModeloProjeto.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string arquivo = "/tmp/fuzz_projeto_" + std::to_string(::getpid()) + ".kzp";
    if (FILE* f = std::fopen(arquivo.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    TModeloProjeto m;
    if (m.LerProjeto(arquivo)) {
        // Whatever was read must also be writable and read back.
        m.EscreverProjeto(arquivo);
        TModeloProjeto n;
        if (!n.LerProjeto(arquivo)) __builtin_trap();
    }
    std::remove(arquivo.c_str());
    return 0;
}

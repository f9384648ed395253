// The terrace table's companion (.bdc) on arbitrary bytes: a clear error, or a companion whose
// values are in range and that reads back the same once written again.
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "core/common/Erros.h"
#include "core/location/ComplementoBDT.h"

namespace {
bool Iguais(const TComplementoBDT& a, const TComplementoBDT& b) {
    if (a.terracos.size() != b.terracos.size() || a.travessias.size() != b.travessias.size()) return false;
    for (const auto& [id, t] : a.terracos) {
        const TInfoTerraco* o = b.De(id);
        if (!o || o->acima != t.acima || o->tipo != t.tipo) return false;
    }
    return a.pecasUnidas == b.pecasUnidas && a.limiteTerracos == b.limiteTerracos &&
           a.plano.maxTerracos == b.plano.maxTerracos;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string base = "/tmp/fuzz_complemento_bdt_" + std::to_string(getpid());
    std::ofstream(base + ".bdc", std::ios::binary).write(reinterpret_cast<const char*>(data), (std::streamsize)size);
    TComplementoBDT c;
    try {
        c.Ler(base + ".bdc");
    } catch (const EVandoro&) {
        if (!c.terracos.empty()) __builtin_trap();  // a refused file reads nothing
        return 0;
    }
    std::string fora;
    if (CampoForaDoPlano(c.plano, fora) >= 0) __builtin_trap();
    for (const auto& [id, t] : c.terracos)
        if (id < 1 || t.acima < 0) __builtin_trap();
    c.Gravar(base + "_2.bdc");
    TComplementoBDT d;
    d.Ler(base + "_2.bdc");
    if (!Iguais(c, d)) __builtin_trap();
    return 0;
}

// The terrace table's companion (.bdc) on arbitrary bytes: a clear error, or a companion whose
// values are in range and that reads back the same once written again.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>

#include "core/common/Erros.h"
#include "core/location/ComplementoBDT.h"

namespace {
// The figures are written with 15 significant digits.
bool Perto(double a, double b) { return a == b || std::fabs(a - b) <= 1e-12 * std::fabs(a); }

bool Iguais(const TComplementoBDT& a, const TComplementoBDT& b) {
    if (a.obras.size() != b.obras.size() || a.maquina != b.maquina || a.avisosConstrucao != b.avisosConstrucao)
        return false;
    for (const auto& [id, o] : a.obras) {
        const TObraTerraco* p = b.ObraDe(id);
        if (!p || !Perto(o.volume, p->volume) || !Perto(o.servico.horas, p->servico.horas) ||
            !Perto(o.servico.custo, p->servico.custo))
            return false;
    }
    if (a.terracos.size() != b.terracos.size() || a.travessias.size() != b.travessias.size()) return false;
    for (const auto& [id, t] : a.terracos) {
        const TInfoTerraco* o = b.De(id);
        if (!o || o->acima != t.acima || o->tipo != t.tipo) return false;
    }
    if (a.linhas.size() != b.linhas.size()) return false;
    // Vertices are written to a tenth of a millimetre.
    const auto perto = [](double u, double v) { return std::fabs(u - v) <= 5e-5 + 1e-12 * std::fabs(u); };
    for (size_t k = 0; k < a.linhas.size(); ++k) {
        const TLinhaMapa &u = a.linhas[k], &v = b.linhas[k];
        if (u.id != v.id || u.x.size() != v.x.size() || u.y.size() != v.y.size()) return false;
        for (size_t i = 0; i < u.x.size(); ++i)
            if (!perto(u.x[i], v.x[i]) || !perto(u.y[i], v.y[i])) return false;
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
    // Each terrace's figures: soil, hours and cost known (not below 0, finite) or -1.
    for (const auto& [id, o] : c.obras) {
        const TServicoMaquina& s = o.servico;
        if (!c.De(id) || !(o.volume >= 0 || o.volume == -1) || !std::isfinite(o.volume)) __builtin_trap();
        if (!(s.horas >= 0 || s.horas == -1) || !(s.custo >= 0 || s.custo == -1) || (s.horas < 0 && s.custo >= 0))
            __builtin_trap();
    }
    // Each line: a number and whole vertices, every coordinate finite.
    for (const TLinhaMapa& l : c.linhas) {
        if (l.id < 1 || l.x.empty() || l.x.size() != l.y.size()) __builtin_trap();
        for (size_t i = 0; i < l.x.size(); ++i)
            if (!std::isfinite(l.x[i]) || !std::isfinite(l.y[i])) __builtin_trap();
    }
    c.Gravar(base + "_2.bdc");
    TComplementoBDT d;
    d.Ler(base + "_2.bdc");
    if (!Iguais(c, d)) __builtin_trap();
    return 0;
}

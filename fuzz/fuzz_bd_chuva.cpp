// Rainfall database files on arbitrary bytes, read both as the station file and as the
// locality file: a clear error, or records that the writers give back unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/common/Erros.h"
#include "core/rainfall/BDPrecipitacao.h"

namespace {
bool Igual(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string pasta = "/tmp/fuzz_bd_chuva_" + std::to_string(getpid()) + "/";
    static const std::string copia = "/tmp/fuzz_bd_chuva_" + std::to_string(getpid()) + "_2/";
    std::filesystem::create_directories(pasta);
    std::filesystem::create_directories(copia);
    TBDPrecipitacao bd(pasta), volta(copia);
    for (const std::string& nome : {bd.CaminhoEstacoes(), bd.CaminhoLocalidades()})
        std::ofstream(nome, std::ios::binary).write(reinterpret_cast<const char*>(data), (std::streamsize)size);

    try {
        bd.LoadStations();
        TEstacoesPorEstado todas;
        for (int e = 0; e < kNumEstados; ++e) todas[e] = bd.Stations(e);
        GravarEstacoes(volta.CaminhoEstacoes(), todas);
        volta.LoadStations();
        for (int e = 0; e < kNumEstados; ++e) {
            const auto& a = bd.Stations(e);
            const auto& b = volta.Stations(e);
            if (a.size() != b.size()) __builtin_trap();
            for (size_t k = 0; k < a.size(); ++k)
                if (a[k].Name != b[k].Name || a[k].Source != b[k].Source || a[k].Latitude != b[k].Latitude ||
                    a[k].Longitude != b[k].Longitude || !Igual(a[k].K, b[k].K) || !Igual(a[k].A, b[k].A) ||
                    !Igual(a[k].B, b[k].B) || !Igual(a[k].C, b[k].C))
                    __builtin_trap();
        }
        // The equation at the first station's own place is that station's.
        for (int e = 0; e < kNumEstados; ++e)
            if (!bd.Stations(e).empty()) {
                const StationRecord& s = bd.Stations(e)[0];
                try {
                    (void)bd.InterpolateEquation(s.Latitude, s.Longitude);
                } catch (const EVandoro&) {
                }
                break;
            }
    } catch (const EVandoro&) {
    }

    TLocalidadesPorEstado locais;
    bool todos = true;
    for (int e = 0; e < kNumEstados; ++e) {
        try {
            bd.LoadLocalities(e);
            locais[e] = bd.Localities();
        } catch (const EVandoro&) {
            todos = false;
        }
    }
    if (todos) {
        GravarLocalidades(volta.CaminhoLocalidades(), locais);
        for (int e = 0; e < kNumEstados; ++e) {
            volta.LoadLocalities(e);
            const auto& b = volta.Localities();
            if (b.size() != locais[e].size()) __builtin_trap();
            for (size_t k = 0; k < b.size(); ++k)
                if (b[k].Name != locais[e][k].Name || b[k].Latitude != locais[e][k].Latitude ||
                    b[k].Longitude != locais[e][k].Longitude)
                    __builtin_trap();
        }
    }
    return 0;
}

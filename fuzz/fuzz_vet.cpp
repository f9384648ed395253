// .vet reader on arbitrary bytes: false or a usable file, never a crash; whatever loads
// must survive the walks and both exports.
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "core/raster/Vetor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string base = "/tmp/fuzz_vet_" + std::to_string(getpid());
    std::ofstream(base + ".vet", std::ios::binary).write(reinterpret_cast<const char*>(data), (std::streamsize)size);
    TVET vet;
    if (!vet.LoadFromFile(base + ".vet")) return 0;
    try {
        auto linhas = vet.Lines();
        for (const auto& l : linhas) (void)vet.LineLength(l.LineId());
        (void)vet.GetLine(-1);
        TRegistroVet r;
        vet.First();
        while (vet.ReadRecord(r)) {
        }
        vet.ComputeBounds();
        ExportarSurfer(vet, base + ".txt");
        ExportarIdrisi(vet, base + ".vec", vet.Title());
        TVET a, b;
        ImportarSurfer(base + ".txt", "", "m", a);
        ImportarIdrisi(base + ".vec", "", b);
        // Every record comes back from the Idrisi round trip.
        if (b.RecordCount() != vet.RecordCount()) __builtin_trap();
        if (!vet.SaveToFile(base + "_2.vet")) __builtin_trap();
    } catch (const EVandoro&) {
    }
    return 0;
}

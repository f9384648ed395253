// Terrace table (.bdt) reader on arbitrary bytes: a clear error or a table that the writer
// gives back byte for byte (the format has one way to write each table).
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "core/common/Arquivo.h"
#include "core/location/BDT.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string base = "/tmp/fuzz_tabela_bdt_" + std::to_string(getpid());
    const std::string entrada(reinterpret_cast<const char*>(data), size);
    std::ofstream(base + ".bdt", std::ios::binary).write(entrada.data(), (std::streamsize)size);
    TBDT t;
    try {
        t.Load(base + ".bdt");
    } catch (const EVandoro&) {
        if (t.Count() != 0) __builtin_trap();  // a refused file adds nothing
        return 0;
    }
    if (t.Count() != static_cast<int>((size - 5) / 52)) __builtin_trap();
    for (int i = 1; i <= t.Count(); ++i)
        if (t.Item(i)->id < 1 || !(t.Item(i)->length >= 0)) __builtin_trap();
    t.SaveToFile(base + "_2.bdt");
    if (LerArquivoInteiro(base + "_2.bdt") != entrada) __builtin_trap();
    return 0;
}

// Any bytes as an INI file: reading, writing a key and saving must never crash or hang.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/common/Erros.h"
#include "core/common/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz_ini_" + std::to_string(getpid()) + ".ini";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    {
        IniFile ini(path);
        for (const auto& s : ini.ReadSections()) {
            for (const auto& k : ini.ReadSection(s)) {
                (void)ini.ReadString(s, k, "");
                (void)ini.ReadFloat(s, k, 0);
                (void)ini.ReadInteger(s, k, 0);
                (void)ini.ReadDateTime(s, k, 0);
            }
        }
        ini.WriteFloat("ESPAÇAMENTO", "EV", 1.83);
        ini.DeleteKey("A", "b");
        try {
            ini.UpdateFile();
        } catch (const EVandoro&) {
        }
        IniFile again(path);
        if (again.ReadFloat("espaçamento", "ev", 0) != 1.83) __builtin_trap();
    }
    std::remove(path.c_str());
    return 0;
}

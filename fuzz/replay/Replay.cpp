// Replays a fuzz target's kept inputs without libFuzzer: every regular file of each folder
// named on the command line goes once through LLVMFuzzerTestOneInput. A folder that does not
// exist counts as empty (no crasher kept yet), but at least one input must be found, so a
// corpus that moved away is noticed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> entradas;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (fs::is_regular_file(argv[i], ec)) {
            entradas.emplace_back(argv[i]);
            continue;
        }
        if (!fs::is_directory(argv[i], ec)) continue;
        for (const auto& e : fs::directory_iterator(argv[i], ec))
            if (e.is_regular_file() && e.path().filename().string()[0] != '.') entradas.push_back(e.path());
    }
    std::sort(entradas.begin(), entradas.end());
    if (entradas.empty()) {
        std::fprintf(stderr, "Nenhuma entrada encontrada para reproduzir.\n");
        return 1;
    }
    for (const auto& p : entradas) {
        std::ifstream f(p, std::ios::binary);
        std::vector<uint8_t> dados((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        std::printf("%s (%zu bytes)\n", p.string().c_str(), dados.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(dados.data(), dados.size());
    }
    std::printf("%zu entradas reproduzidas.\n", entradas.size());
    return 0;
}

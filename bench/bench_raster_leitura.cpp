// Reading a 4000 x 4000 ArcView ASCII grid, written once into a temporary folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/raster/Imagem.h"

namespace {

const std::string& ArquivoTeste() {
    static std::string nome = [] {
        auto pasta = std::filesystem::temp_directory_path() / "vandoro_bench_raster";
        std::filesystem::create_directories(pasta);
        std::string n = (pasta / "grade_4000.asc").string();
        std::ofstream f(n, std::ios::binary);
        f << "ncols         4000\r\nnrows         4000\r\nxllcorner     500000\r\n"
             "yllcorner     7400000\r\ncellsize      10\r\nNODATA_value  -9999\r\n";
        std::mt19937 rng(42);
        std::uniform_real_distribution<double> d(0.0, 50.0);
        std::string linha;
        char buf[32];
        for (int r = 0; r < 4000; ++r) {
            linha.clear();
            for (int c = 0; c < 4000; ++c) {
                // Elevations like a real terrain export: a few hundred metres, 3 decimals.
                int n2 = std::snprintf(buf, sizeof buf, "%.3f", 600.0 + 0.01 * r - 0.02 * c + d(rng));
                linha.append(buf, static_cast<size_t>(n2));
                linha += (c + 1 < 4000) ? ' ' : '\n';
            }
            f << linha;
        }
        return n;
    }();
    return nome;
}

void BM_LerAsc4000(benchmark::State& state) {
    const std::string& n = ArquivoTeste();
    for (auto _ : state) {
        TImagem img;
        if (!img.LoadFromFile(n)) state.SkipWithError("arquivo ausente");
        benchmark::DoNotOptimize(img.GetReal({1999, 1999}));
    }
    state.SetItemsProcessed(state.iterations() * 4000LL * 4000LL);
}
BENCHMARK(BM_LerAsc4000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MinMaxMedia4000(benchmark::State& state) {
    TImagem img;
    img.LoadFromFile(ArquivoTeste());
    for (auto _ : state) {
        img.ComputeMinMax(true);
        benchmark::DoNotOptimize(img.MeanValue());
    }
}
BENCHMARK(BM_MinMaxMedia4000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

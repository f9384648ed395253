// Slope of a synthetic 4000 x 4000 elevation grid: the pass in memory and the whole run
// from a float grid file to another.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "raster/Declividade.h"

namespace {

constexpr int kLado = 4000;

// Rolling terrain a few hundred metres high with a little noise and some no-data cells.
void Terreno(TImagem& img, char tipo) {
    img.SetCellType(tipo);
    img.SetColumns(kLado);
    img.SetRows(kLado);
    img.SetMinX(500000);
    img.SetMaxX(500000 + 10.0f * kLado);
    img.SetMinY(7400000);
    img.SetMaxY(7400000 + 10.0f * kLado);
    img.SetRefUnits("m");
    img.SetFlagValue(-99);
    img.Allocate();
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> ruido(0, 0.5f);
    std::vector<float> linha(kLado);
    for (int r = 0; r < kLado; ++r) {
        for (int c = 0; c < kLado; ++c)
            linha[static_cast<size_t>(c)] = (r * 7 + c * 13) % 997 == 0 ? -99.0f
                : 600.0f + 40.0f * std::sin(c * 0.003f) * std::cos(r * 0.002f) + ruido(rng);
        img.WriteRow(r, linha.data());
    }
}

const TImagem& Real() {
    static TImagem img;
    static bool pronto = (Terreno(img, 'R'), true);
    (void)pronto;
    return img;
}

void BM_DeclividadeReal4000(benchmark::State& state) {
    const TImagem& e = Real();
    for (auto _ : state) {
        TImagem s;
        TDecliTipoSingle().Calcula(e, s, "bench");
        benchmark::DoNotOptimize(s.MaxValueReal());
    }
    state.SetItemsProcessed(state.iterations() * kLado * kLado);
}
BENCHMARK(BM_DeclividadeReal4000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DeclividadeInteira4000(benchmark::State& state) {
    static TImagem e;
    static bool pronto = (Terreno(e, 'I'), true);
    (void)pronto;
    for (auto _ : state) {
        TImagem s;
        DecTipoInteger().Calcula(e, s, "bench");
        benchmark::DoNotOptimize(s.MaxValueReal());
    }
    state.SetItemsProcessed(state.iterations() * kLado * kLado);
}
BENCHMARK(BM_DeclividadeInteira4000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Load a .flt, compute, save a .flt.
void BM_DeclividadeArquivoFlt4000(benchmark::State& state) {
    auto pasta = std::filesystem::temp_directory_path() / "vandoro_bench_declividade";
    std::filesystem::create_directories(pasta);
    const std::string ent = (pasta / "elev.flt").string(), sai = (pasta / "decl.flt").string();
    const_cast<TImagem&>(Real()).SaveToFile(ent);
    for (auto _ : state) CalculaDeclividade(ent, sai, "bench");
    std::filesystem::remove_all(pasta);
}
BENCHMARK(BM_DeclividadeArquivoFlt4000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

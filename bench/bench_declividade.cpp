// Slope of a synthetic 4000 x 4000 elevation grid: the pass in memory and the whole run
// from a float grid file to another.
#include <benchmark/benchmark.h>

#include "GradesSinteticas.h"

#include <cmath>
#include <filesystem>
#include <random>

#include "core/raster/Declividade.h"

namespace {

constexpr int kLado = 4000;

void Terreno(TImagem& img, TTipoCelula tipo) { TerrenoSintetico(img, tipo, kLado); }

const TImagem& Real() {
    static TImagem img;
    static bool pronto = (Terreno(img, TTipoCelula::Real), true);
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
    static bool pronto = (Terreno(e, TTipoCelula::Inteiro), true);
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

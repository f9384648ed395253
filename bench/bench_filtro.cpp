// One pass of the 3 x 3 mean over a synthetic 4000 x 4000 elevation grid: in memory, in
// place on a file-backed working copy, and the whole run from a float grid file.
#include <benchmark/benchmark.h>

#include "GradesSinteticas.h"

#include <cmath>
#include <filesystem>
#include <random>

#include "core/raster/Filtro.h"

namespace {

constexpr int kLado = 4000;

void Terreno(TImagem& img, TTipoCelula tipo) { TerrenoSintetico(img, tipo, kLado); }

TImagem& Real() {
    static TImagem img;
    static bool pronto = (Terreno(img, TTipoCelula::Real), true);
    (void)pronto;
    return img;
}

std::filesystem::path Pasta() {
    auto p = std::filesystem::temp_directory_path() / "vandoro_bench_filtro";
    std::filesystem::create_directories(p);
    return p;
}

void BM_FiltroPassadaMemoria4000(benchmark::State& state) {
    const TImagem& e = Real();
    TImagem s;
    s.CopyHeaderFrom(e);
    s.Allocate();
    for (auto _ : state) benchmark::DoNotOptimize(FiltroPassada(e, s, false, -99, -99).max);
    state.SetItemsProcessed(state.iterations() * kLado * kLado);
}
BENCHMARK(BM_FiltroPassadaMemoria4000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The pass as the real worker runs it: in place on the working copy's file.
void BM_FiltroPassadaCopiaTrabalho4000(benchmark::State& state) {
    const std::string flt = (Pasta() / "trab.flt").string();
    Real().SaveToFile(flt);
    TImagem t(TModoArmazenamento::Arquivo);
    t.LoadFromFile(flt);
    for (auto _ : state) benchmark::DoNotOptimize(FiltroPassada(t, t, false, -99, -99).max);
    state.SetItemsProcessed(state.iterations() * kLado * kLado);
}
BENCHMARK(BM_FiltroPassadaCopiaTrabalho4000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Load a .flt, working copy, one pass, save a .flt.
void BM_FiltroArquivoFlt4000(benchmark::State& state) {
    const std::string ent = (Pasta() / "elev.flt").string(), sai = (Pasta() / "filt.flt").string();
    Real().SaveToFile(ent);
    for (auto _ : state) CalculaFiltro(ent, sai, 1, "", nullptr, "Filtro");
    std::filesystem::remove_all(Pasta());
}
BENCHMARK(BM_FiltroArquivoFlt4000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

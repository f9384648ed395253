// Level-terrace location runs: a synthetic 1000 x 1000 hill (1 m cells), a 4000 x 4000
// field of twelve hills (1 m cells) and the shipped real elevation model, each from its
// raster files to the written .vet and .bdt, with the engine's traced lines and with the
// lines smoothed for machinery (the default plan); and a graded layout on a 1000 x 1000
// valley with a waterway in its thalweg, each channel sized on its own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "GradesSinteticas.h"
#include "ModeloLocacao.h"
#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/raster/Vetor.h"

namespace {

std::string Pasta() {
    auto p = std::filesystem::temp_directory_path() / "vandoro_bench_locacao";
    std::filesystem::create_directories(p);
    return p.string();
}

// Slope in percent by central differences, one-sided at the edge of the data.
std::vector<float> Declividade(const std::vector<float>& z, int rows, int cols, double cell) {
    std::vector<float> s(z.size(), -9999.0f);
    const auto at = [&](int r, int c, float padrao) {
        if (r < 0 || c < 0 || r >= rows || c >= cols) return padrao;
        const float v = z[size_t(r) * cols + c];
        return v > 0 ? v : padrao;
    };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const float v = z[size_t(r) * cols + c];
            if (!(v > 0)) continue;
            const double dx = (at(r, c + 1, v) - at(r, c - 1, v)) / (2 * cell);
            const double dy = (at(r + 1, c, v) - at(r - 1, c, v)) / (2 * cell);
            s[size_t(r) * cols + c] = float(100 * std::sqrt(dx * dx + dy * dy));
        }
    return s;
}

struct Arquivos {
    std::string elev, decl;
};

// The model and its slope as .flt grids of 'lado' by 'lado' cells of 1 m.
Arquivos GravarModelo(const std::string& nome, int lado, const std::vector<float>& z) {
    const std::string base = Pasta() + "/" + nome;
    GravarFlt(base, lado, lado, 1.0, z);
    GravarFlt(base + "_decl", lado, lado, 1.0, Declividade(z, lado, lado, 1.0));
    return Arquivos{base + ".flt", base + "_decl.flt"};
}

const Arquivos& Morro() {
    static Arquivos a = [] {
        return GravarModelo("morro", 1000, MorroGaussiano::Cotas(1000));
    }();
    return a;
}

// Twelve hills on a plane tilted to the north-east, 4000 x 4000 cells of 1 m (1 600 ha).
const Arquivos& DozeMorros() {
    static Arquivos a = [] {
        const int n = 4000;
        std::vector<float> z(size_t(n) * n);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c) {
                const double x = c + 0.5, y = r + 0.5, base = 120 + 0.004 * (x + y);
                double v = base;
                for (int i = 0; i < 4; ++i)
                    for (int j = 0; j < 3; ++j) {
                        const double cx = 500 + 1000 * i, cy = 700 + 1300 * j, h = 25 + 5 * ((i + 2 * j) % 3);
                        const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                        v = std::max(v, base + h * std::exp(-d2 / (2 * 300.0 * 300.0)));
                    }
                z[size_t(r) * n + c] = float(v);
            }
        return GravarModelo("doze", n, z);
    }();
    return a;
}

const Arquivos& Hugo() {
    static Arquivos a = [] {
        TImgElevacao e;
        e.Load(std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/hugo_site.asc");
        std::vector<float> z(size_t(e.Rows()) * e.Columns());
        for (int r = 1; r <= e.Rows(); ++r)
            std::memcpy(&z[size_t(r - 1) * e.Columns()], e.Row(r), sizeof(float) * e.Columns());
        const std::string base = Pasta() + "/hugo";
        GravarFlt(base, e.Rows(), e.Columns(), e.CellWidth(), z);
        GravarFlt(base + "_decl", e.Rows(), e.Columns(), e.CellWidth(),
                  Declividade(z, e.Rows(), e.Columns(), e.CellWidth()));
        return Arquivos{base + ".flt", base + "_decl.flt"};
    }();
    return a;
}

void Rodar(benchmark::State& state, const Arquivos& arq, int metodo, double ev, bool suavizar = true) {
    ModeloLocacao m(metodo, ev);
    TLocacaoNivel loc;
    loc.SetPlano(suavizar ? TPlanoNivel{} : PlanoTracado());
    const std::string saida = Pasta() + "/saida.vet";
    for (auto _ : state) {
        ProcessarLocacao(loc, arq.elev, arq.decl, m.chuva, m.cn, m.terracos, saida);
        benchmark::DoNotOptimize(loc.TerraceCount());
    }
    state.counters["terracos"] = loc.TerraceCount();
}

// A valley falling 3 % to the south with flanks at 8 %, 1000 x 1000 cells of 1 m, and its
// thalweg drawn as a waterway (the grid's corner is at 500000, 7400000).
const Arquivos& Vale() {
    static Arquivos a = [] {
        const int n = 1000;
        std::vector<float> z(size_t(n) * n);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c) z[size_t(r) * n + c] = float(100 + 0.08 * std::fabs(c + 0.5 - 500) - 0.03 * r);
        Arquivos arq = GravarModelo("vale", n, z);
        TVET w("m");
        TVetorRecPonto l;
        l.SetLineId(1);
        l.Add(500500, 7401000, 0);
        l.Add(500500, 7400000, 0);
        w.AppendLine(l);
        w.Save(Pasta() + "/vale_escoadouro.vet");
        return arq;
    }();
    return a;
}

void BM_Locacao_Vale1000_Gradiente(benchmark::State& state) {
    ModeloLocacao m(TMetodologiaEspacamento::Bentley);
    m.cn.SetVIB(1);
    m.cn.nt().SetValue(0.1);
    TTerracosGradiente g;
    g.Espacamento().Metodologia().SetIndex(TMetodologiaEspacamento::Bentley);
    g.SetSc(0.005);
    g.nc().SetValue(0.025);
    g.Secao().SetIndex(1);
    g.Sm().SetValue(1);
    g.SetCDu(1);
    TLocacaoNivel loc;
    TArquivosLocacao arq;
    arq.elevacao = Vale().elev;
    arq.declividade = Vale().decl;
    arq.saida = Pasta() + "/vale.vet";
    arq.tabela = TabelaDaSaida(arq.saida);
    for (auto _ : state) {
        const TResultadoLocacao r =
            LocarComGradiente(loc, arq, Pasta() + "/vale_escoadouro.vet", m.chuva, m.cn, g);
        benchmark::DoNotOptimize(r.terracos.size());
        state.counters["terracos"] = double(r.terracos.size());
    }
}

void BM_Locacao_Morro1000_Bentley(benchmark::State& s) { Rodar(s, Morro(), 0, 0); }
void BM_Locacao_Morro1000_Bentley_Tracado(benchmark::State& s) { Rodar(s, Morro(), 0, 0, false); }
void BM_Locacao_Morro1000_EVArbitrado(benchmark::State& s) { Rodar(s, Morro(), 3, 1.0); }
void BM_Locacao_DozeMorros4000_Bentley(benchmark::State& s) { Rodar(s, DozeMorros(), 0, 0); }
void BM_Locacao_DozeMorros4000_Bentley_Tracado(benchmark::State& s) { Rodar(s, DozeMorros(), 0, 0, false); }
void BM_Locacao_Hugo_Bentley(benchmark::State& s) { Rodar(s, Hugo(), 0, 0); }

BENCHMARK(BM_Locacao_Morro1000_Bentley)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Locacao_Morro1000_Bentley_Tracado)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Locacao_Morro1000_EVArbitrado)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Locacao_DozeMorros4000_Bentley)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Locacao_DozeMorros4000_Bentley_Tracado)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Locacao_Hugo_Bentley)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Locacao_Vale1000_Gradiente)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

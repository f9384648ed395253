// Terrace sizing: the graded one runs the hillslope kinematic wave and the channel routing;
// a simulation chart needs 21 of them in a row.
#include <benchmark/benchmark.h>

#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"

namespace {

// IDF storm of a São Paulo interior station order of magnitude: 10-year return period.
TPrecipitacaoExponencialNegativa Chuva() {
    TPrecipitacaoExponencialNegativa s;
    s.SetK(1000);
    s.SetTr(10);
    s.SetA(0.15);
    s.SetB(10);
    s.SetC(0.75);
    s.SetDuracao(0);
    return s;
}

// Row crop on contour lines, good condition, 6 % slope.
TNumeroDaCurva Lavoura(double vib) {
    TNumeroDaCurva cn;
    cn.UsoDoSolo().SetIndex(1);
    cn.Tratamento().SetIndex(2);
    cn.CondicaoHidrologica().SetIndex(3);
    cn.SetVIB(vib);
    cn.SetSt(0.06);
    cn.nt().SetValue(0.1);
    return cn;
}

template <class T>
void Canal(T& s, double eh) {
    s.Secao().SetIndex(1);
    s.Sm().SetValue(1);
    s.SetB(0);
    s.Z().SetValue(0);
    s.Espacamento().Metodologia().SetIndex(3);
    s.Espacamento().SetEH(eh);
}

void BM_GradienteSizeChannel(benchmark::State& state) {
    auto chuva = Chuva();
    const TNumeroDaCurva cn = Lavoura(double(state.range(0)));
    TTerracosGradiente g;
    Canal(g, 25);
    g.SetComprimento(600);
    g.SetSc(0.005);
    g.nc().SetValue(0.03);
    for (auto _ : state) {
        g.SizeChannel(cn, chuva);
        benchmark::DoNotOptimize(g.Q());
    }
    state.counters["Q_Ls"] = g.Q();
    state.counters["H_cm"] = 100 * g.H();
}
BENCHMARK(BM_GradienteSizeChannel)->Arg(20)->Arg(60)->Unit(benchmark::kMillisecond);

void BM_NivelSizeChannel(benchmark::State& state) {
    auto chuva = Chuva();
    const TNumeroDaCurva cn = Lavoura(double(state.range(0)));
    TTerracosNivel n;
    Canal(n, 25);
    for (auto _ : state) {
        n.SizeChannel(cn, chuva);
        benchmark::DoNotOptimize(n.H());
    }
    state.counters["H_cm"] = 100 * n.H();
}
BENCHMARK(BM_NivelSizeChannel)->Arg(20)->Arg(60)->Unit(benchmark::kMicrosecond);

}  // namespace

#pragma once
// Fields written by the location tests: ArcView grids of a function, their slope, and the
// project objects of a run.
#include <cmath>
#include <functional>
#include <sstream>
#include <string>

#include "TestSupport.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"

namespace {

using Campo = std::function<double(double x, double y)>;  // metres from the west and north edges

// An ArcView grid of rows x cols cells of 'cell' metres; cells where f <= 0 are no-data.
void GravarAsc(const std::string& arq, int rows, int cols, double cell, const Campo& f) {
    std::ostringstream o;
    o.precision(9);
    o << "ncols " << cols << "\nnrows " << rows << "\nxllcorner 100\nyllcorner 200\ncellsize " << cell
      << "\nNODATA_value -9999\n";
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= cols; ++c) {
            const double z = f(c * cell, r * cell);
            o << (z > 0 ? z : -9999) << ' ';
        }
        o << '\n';
    }
    GravarArquivo(arq, o.str());
}

// Slope in percent by central differences over the field (0 outside it).
void GravarDeclividade(const std::string& arq, int rows, int cols, double cell, const Campo& f) {
    GravarAsc(arq, rows, cols, cell, [&](double x, double y) {
        const double z = f(x, y);
        if (z <= 0) return -1.0;
        // Beyond the field's edge the ground is taken as level with the cell.
        const auto g = [&](double u, double v) { const double w = f(u, v); return w > 0 ? w : z; };
        const double dx = (g(x + cell, y) - g(x - cell, y)) / (2 * cell);
        const double dy = (g(x, y + cell) - g(x, y - cell)) / (2 * cell);
        return 100 * std::sqrt(dx * dx + dy * dy);
    });
}

// The project objects of a location run.
struct Modelo {
    TPrecipitacaoExponencialNegativa chuva;
    TNumeroDaCurva cn;
    TTerracosNivel terracos;
    Modelo(int metodo, double ev = 0) {
        chuva.SetK(1000);
        chuva.SetTr(10);
        chuva.SetA(0.15);
        chuva.SetB(10);
        chuva.SetC(0.75);
        cn.SetVIB(10);
        cn.UsoDoSolo().SetIndex(5);
        cn.Tratamento().SetIndex(3);
        cn.CondicaoHidrologica().SetIndex(1);
        terracos.Espacamento().Metodologia().SetIndex(metodo);
        terracos.Espacamento().SetEV(ev);
        terracos.Sm().SetValue(1);
        terracos.SetCDu(1);
    }
};

}  // namespace

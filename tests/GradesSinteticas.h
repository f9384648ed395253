#pragma once
// Synthetic grids the tests and the benchmarks write: grids of a function of the ground as
// ArcView ASCII (.asc) or binary (.hdr + .flt) files, the location's hill and the raster
// benchmarks' rolling terrain. Standard library and core only, so a benchmark can use it.
#include <cmath>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/common/Binario.h"
#include "core/raster/Imagem.h"

namespace grade_sintetica {
inline void Gravar(const std::string& arq, const std::string& bytes) {
    std::ofstream f(arq, std::ios::binary | std::ios::trunc);
    f << bytes;
    if (!f) throw std::runtime_error("cannot write " + arq);
}
}  // namespace grade_sintetica

// A height in metres at (x, y), metres from the west and north edges.
using Campo = std::function<double(double x, double y)>;

// An ArcView ASCII grid of rows x cols cells of 'cell' metres with its lower left corner at
// (xll, yll): f(c·cell, r·cell) for the 1-based column c and row r; cells where f <= 0 are
// no-data (-9999).
inline void GravarAsc(const std::string& arq, int rows, int cols, double cell, const Campo& f, double xll = 0,
                      double yll = 0) {
    std::ostringstream o;
    o.precision(9);
    o << "ncols " << cols << "\nnrows " << rows << "\nxllcorner " << xll << "\nyllcorner " << yll << "\ncellsize "
      << cell << "\nNODATA_value -9999\n";
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= cols; ++c) {
            const double z = f(c * cell, r * cell);
            o << (z > 0 ? z : -9999) << ' ';
        }
        o << '\n';
    }
    grade_sintetica::Gravar(arq, o.str());
}

// The slope of f in percent by central differences, as GravarAsc writes it (no-data outside
// the field; beyond the field's edge the ground is taken as level with the cell).
inline void GravarDeclividade(const std::string& arq, int rows, int cols, double cell, const Campo& f,
                              double xll = 0, double yll = 0) {
    GravarAsc(
        arq, rows, cols, cell,
        [&](double x, double y) {
            const double z = f(x, y);
            if (z <= 0) return -1.0;
            const auto g = [&](double u, double v) {
                const double w = f(u, v);
                return w > 0 ? w : z;
            };
            const double dx = (g(x + cell, y) - g(x - cell, y)) / (2 * cell);
            const double dy = (g(x, y + cell) - g(x, y - cell)) / (2 * cell);
            return 100 * std::sqrt(dx * dx + dy * dy);
        },
        xll, yll);
}

// An ArcView binary grid 'base'.hdr + 'base'.flt of rows x cols cells (north row first) at
// (500000, 7400000), no-data -9999, little-endian.
inline void GravarFlt(const std::string& base, int rows, int cols, double cell, const std::vector<float>& v) {
    std::ostringstream h;
    h << "ncols " << cols << "\nnrows " << rows << "\nxllcorner 500000\nyllcorner 7400000\ncellsize " << cell
      << "\nNODATA_value -9999\nbyteorder LSBFIRST\n";
    grade_sintetica::Gravar(base + ".hdr", h.str());
    std::string b;
    b.reserve(v.size() * 4);
    for (float x : v) AcrescentarLE<float>(b, x);
    grade_sintetica::Gravar(base + ".flt", b);
}

// The location benchmark's hill: a Gaussian of 60 m on a base of 10 m over one-metre cells,
// centred at row 480.3, column 520.7, spread 300 m.
struct MorroGaussiano {
    static double Exp(int r, int c) {
        const double dr = r - 480.3, dc = c - 520.7;
        return std::exp(-(dr * dr + dc * dc) / (2 * 300.0 * 300.0));
    }
    static float Z(int r, int c) { return float(10 + 60 * Exp(r, c)); }
    // |grad z| in percent, exactly.
    static double Declividade(int r, int c) {
        return 100 * 60 * Exp(r, c) * std::hypot(r - 480.3, c - 520.7) / (300.0 * 300.0);
    }
    // n x n cells, north row first.
    static std::vector<float> Cotas(int n) {
        std::vector<float> z(size_t(n) * n);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c) z[size_t(r) * n + c] = Z(r, c);
        return z;
    }
};

// A grid of cells, north row first, with its georeference.
struct GradeSintetica {
    int cols = 0, rows = 0;
    double minX = 0, maxY = 0, cell = 1;
    double nodata = -9999;
    std::vector<float> z;
    double CentroX(int c) const { return minX + (c + 0.5) * cell; }
    double CentroY(int r) const { return maxY - (r + 0.5) * cell; }
    double MinY() const { return maxY - rows * cell; }
};

// f at the cell centres (map coordinates); NaN is no-data.
inline GradeSintetica FazGrade(int cols, int rows, double minX, double maxY, double cell,
                      const std::function<double(double x, double y)>& f) {
    GradeSintetica g;
    g.cols = cols;
    g.rows = rows;
    g.minX = minX;
    g.maxY = maxY;
    g.cell = cell;
    g.z.resize(static_cast<size_t>(cols) * rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const double v = f(g.CentroX(c), g.CentroY(r));
            g.z[static_cast<size_t>(r) * cols + c] = static_cast<float>(std::isnan(v) ? g.nodata : v);
        }
    return g;
}

// The grid as an ArcView ASCII file (no .prj).
inline void GravaAsc(const std::string& arq, const GradeSintetica& g) {
    std::ostringstream o;
    o.precision(10);
    o << "ncols " << g.cols << "\nnrows " << g.rows << "\nxllcorner " << g.minX << "\nyllcorner " << g.MinY()
      << "\ncellsize " << g.cell << "\nNODATA_value " << g.nodata << "\n";
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.cols; ++c) o << g.z[static_cast<size_t>(r) * g.cols + c] << ' ';
        o << '\n';
    }
    grade_sintetica::Gravar(arq, o.str());
}

// The raster benchmarks' terrain in 'img': lado x lado cells of 10 m, rolling a few tens of
// metres around 600 m with a little noise and some no-data (-99) cells.
inline void TerrenoSintetico(TImagem& img, TTipoCelula tipo, int lado) {
    img.SetCellType(tipo);
    img.SetColumns(lado);
    img.SetRows(lado);
    img.SetMinX(500000);
    img.SetMaxX(500000 + 10.0f * lado);
    img.SetMinY(7400000);
    img.SetMaxY(7400000 + 10.0f * lado);
    img.SetRefUnits("m");
    img.SetFlagValue(-99);
    img.Allocate();
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> ruido(0, 0.5f);
    std::vector<float> linha(static_cast<size_t>(lado));
    for (int r = 0; r < lado; ++r) {
        for (int c = 0; c < lado; ++c)
            linha[static_cast<size_t>(c)] = (r * 7 + c * 13) % 997 == 0 ? -99.0f
                : 600.0f + 40.0f * std::sin(c * 0.003f) * std::cos(r * 0.002f) + ruido(rng);
        img.WriteRow(r, linha.data());
    }
}

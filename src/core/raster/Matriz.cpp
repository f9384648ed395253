#include "core/raster/Matriz.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <new>

#include "core/common/Binario.h"
#include "core/common/Texto.h"
#include "core/common/Win1252.h"
#include "core/raster/Imagem.h"

namespace {

[[noreturn]] void SemMemoria(long long rows, long long cols) {
    throw EVandoro("Memória insuficiente para uma matriz de " + std::to_string(rows) +
                   " linhas e " + std::to_string(cols) + " colunas.");
}

template <class Linha>
void Redimensiona(std::vector<Linha>& cells, int n, int cols) {
    if (n < 0) n = 0;
    try {
        // New rows are zero-filled when the width is known, else left empty.
        cells.resize(static_cast<size_t>(n), Linha(static_cast<size_t>(cols > 0 ? cols : 0)));
    } catch (const std::bad_alloc&) {
        SemMemoria(n, cols);
    }
}

template <class Linha>
void RedimensionaColunas(std::vector<Linha>& cells, int n) {
    if (n < 0) n = 0;
    try {
        for (auto& l : cells) l.resize(static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
        SemMemoria(static_cast<long long>(cells.size()), n);
    }
}

// Fixed 255-byte text slot: length byte and up to 254 characters.
void EscreveTexto(std::string& out, const std::string& utf8) {
    std::string t = Utf8ToWin1252(utf8).substr(0, 254);
    char slot[255] = {};
    slot[0] = static_cast<char>(t.size());
    std::memcpy(slot + 1, t.data(), t.size());
    out.append(slot, sizeof slot);
}

}  // namespace

void TMatrix::SaveToFile(const std::string&) { throw ENaoImplementado("Não implementado."); }

void TMatrix::SetUnitDist(const std::string& u) {
    std::string up = Maiusculas(u);
    if (up != "M" && up != "KM") throw EUnitDist();
    unitDist_ = u.substr(0, 255);
}

void TMatrix::SetTitle(const std::string& t) { title_ = t.substr(0, 255); }

void TMatrixSingle::SetRowCount(int n) {
    if (n < 0) n = 0;
    if (n == rows_) return;
    try {
        // New rows are zero-filled; no rows at all gives the memory back.
        if (n == 0 || columns_ == 0) std::vector<float>().swap(cells_);
        else cells_.resize(static_cast<size_t>(n) * columns_);
    } catch (const std::bad_alloc&) {
        SemMemoria(n, columns_);
    }
    rows_ = n;
}

void TMatrixSingle::SetColCount(int n) {
    if (n < 0) n = 0;
    if (n == columns_) return;
    // Each row keeps its first cells; new cells are zero.
    std::vector<float> novas;
    try {
        novas.resize(static_cast<size_t>(rows_) * n);
    } catch (const std::bad_alloc&) {
        SemMemoria(rows_, n);
    }
    const size_t manter = static_cast<size_t>(std::min(n, columns_));
    for (int r = 0; r < rows_ && manter > 0; ++r)
        std::copy_n(cells_.data() + static_cast<size_t>(r) * columns_, manter, novas.data() + static_cast<size_t>(r) * n);
    cells_.swap(novas);
    columns_ = n;
}

void TMatrixByte::SetRowCount(int n) {
    if (n == rows_) return;
    Redimensiona(cells_, n, columns_);
    rows_ = n < 0 ? 0 : n;
}

void TMatrixByte::SetColCount(int n) {
    if (n == columns_) return;
    RedimensionaColunas(cells_, n);
    columns_ = n < 0 ? 0 : n;
}

void TMatrixSingle::LoadFromImage(const std::string& fileName) {
    TImagem img;
    if (!img.LoadFromFile(fileName))
        throw EVandoro("O arquivo " + NomeSemCaminho(fileName) + " não existe.");
    SetTitle(img.Title());
    SetMinX(img.MinX());
    SetCellWidth((img.MaxX() - img.MinX()) / img.Columns());
    SetMinY(img.MinY());
    SetCellHeight((img.MaxY() - img.MinY()) / img.Rows());
    if (const std::string m = MensagemSemUnidade(img); !m.empty()) throw EUnitDist(m);
    SetUnitDist(img.RefUnits());
    SetCrs(img.Crs());
    hadInvalid_ = false;
    // Floats read into memory are taken as they lie; other cells are copied row by row.
    cells_ = img.GiveRealCells();
    const bool tomadas = !cells_.empty();
    rows_ = tomadas ? img.Rows() : 0;
    columns_ = tomadas ? img.Columns() : 0;
    if (!tomadas) {
        SetColCount(img.Columns());
        SetRowCount(img.Rows());
    }
    // No-data cells are cells without elevation, also when the no-data value is positive.
    const float semDado = img.FlagValue();
    for (int r = 1; r <= rows_; ++r) {
        float* linha = Row(r);
        if (!tomadas) img.RawRow(r - 1, linha);
        for (int c = 0; c < columns_; ++c) {
            float& v = linha[c];
            if (v == semDado) {
                v = 0;
            } else if (!std::isfinite(v)) {
                if (std::isnan(v) || v > 0) hadInvalid_ = true;
                v = 0;
            } else if (v < 0) {
                v = 0;
            }
        }
    }
    // The range of the image's own cell type; an image that never had one (min above max)
    // takes it from the cleaned cells so the highest point can still be found.
    double mn = img.MinValue(), mx = img.MaxValue();
    if (mn > mx) {
        mn = 0;
        mx = 0;
        bool algum = false;
        for (int r = 1; r <= rows_; ++r)
            for (int c = 1; c <= columns_; ++c) {
                float v = Cell(r, c);
                if (!algum || v < mn) mn = v;
                if (!algum || v > mx) mx = v;
                algum = true;
            }
    }
    maxValue_ = static_cast<float>(mx);
    minValue_ = static_cast<float>(mn);
}

void TMatrixSingle::SaveToFile(const std::string& name) {
    if (rows_ > 65535 || columns_ > 65535)
        throw EVandoro("A matriz de " + std::to_string(columns_) + " colunas × " +
                       std::to_string(rows_) + " linhas não cabe neste formato (máximo 65535).");
    std::string out;
    out.reserve(540 + static_cast<size_t>(rows_) * columns_ * 4);
    out += static_cast<char>(Version());
    out += 'R';
    EscreveTexto(out, Title());
    AcrescentarLE<uint16_t>(out, static_cast<uint16_t>(columns_));
    AcrescentarLE<uint16_t>(out, static_cast<uint16_t>(rows_));
    AcrescentarLE<float>(out, MinX());
    AcrescentarLE<float>(out, MinX() + CellWidth() * columns_);
    AcrescentarLE<float>(out, MinY());
    AcrescentarLE<float>(out, MinY() + CellHeight() * rows_);
    EscreveTexto(out, UnitDist());
    AcrescentarLE<float>(out, minValue_);
    AcrescentarLE<float>(out, maxValue_);
    for (int r = 1; r <= rows_; ++r)
        for (int c = 1; c <= columns_; ++c) {
            float v = Cell(r, c);
            AcrescentarLE<float>(out, (std::isnan(v) || v < 0) ? 0.0f : v);
        }
    GravarArquivoInteiro(name, out, ErroAoGravar(name));
}

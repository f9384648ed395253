#include "core/location/ImgApoio.h"

#include <cmath>

#include "core/location/ImgElev.h"
#include "core/raster/ImgDeclive.h"

TImgApoio::TImgApoio(const TImgElevacao& elev) {
    SetUnitDist(elev.UnitDist());
    SetRowCount(elev.Rows());
    SetColCount(elev.Columns());
    SetMinX(elev.MinX());
    SetMinY(elev.MinY());
    SetCellWidth(elev.CellWidth());
    SetCellHeight(elev.CellHeight());
    maxCode_ = 31;
    minCode_ = 0;
    for (int r = 1; r <= rows_; ++r) {
        const float* z = elev.Row(r);
        uint8_t* a = Row(r);
        // A NaN compares unequal to everything, so test "!= 0" the safe way round.
        for (int c = 0; c < columns_; ++c) a[c] = (z[c] != 0 && !std::isnan(z[c])) ? kLivre : kFechado;
    }
}

TPixelS TImgApoio::FindHighestPixel(const TImgElevacao& elev) {
    const double maximo = elev.MaxValue();
    if (elev.Rows() <= 0 || elev.Columns() <= 0 || !std::isfinite(maximo)) return TPixelS(-1, -1, 0);
    // A float cell differs from any finite float maximum by less than 1e39, so the
    // widening ends within 47 passes.
    for (double t = 1e-7; t < 1e40; t *= 10) {
        int col = -1, row = -1;
        for (int r = 1; r <= elev.Rows(); ++r) {
            const float* z = elev.Row(r);
            for (int c = 0; c < elev.Columns(); ++c)
                if (std::fabs(static_cast<double>(z[c]) - maximo) < t) {
                    col = c + 1;
                    row = r;
                }
        }
        if (col > 0) return TPixelS(col, row, static_cast<float>(maximo));
    }
    return TPixelS(-1, -1, 0);
}

void TImgApoio::FloodStrip(const TImgElevacao& elev, const std::vector<TPixel>& seeds, double lo, double hi) {
    std::vector<TPixel> pilha;
    const auto entra = [&](int c, int r) {
        if (!Inside(c, r)) return;
        uint8_t& v = Row(r)[c - 1];
        if (!Livre(v)) return;
        const float z = elev.Row(r)[c - 1];
        if (z == 0 || !(z >= lo) || !(z < hi)) return;
        faixaCodigo_.push_back(v);
        v = kFaixa;
        faixa_.emplace_back(c, r);
        pilha.emplace_back(c, r);
    };
    for (const TPixel& s : seeds) entra(s.Col(), s.Row());
    while (!pilha.empty()) {
        const TPixel p = pilha.back();
        pilha.pop_back();
        entra(p.Col(), p.Row() - 1);
        entra(p.Col(), p.Row() + 1);
        entra(p.Col() + 1, p.Row());
        entra(p.Col() - 1, p.Row());
    }
}

std::vector<TPixel> TImgApoio::SeedsAbove(const TImgElevacao& elev, const TLinhaPixel& line, double level) const {
    std::vector<TPixel> s;
    const auto tenta = [&](int c, int r) {
        if (!Inside(c, r) || !Livre(Cell(r, c))) return;
        const float z = elev.Cell(r, c);
        if (z != 0 && z >= level) s.emplace_back(c, r);
    };
    for (const TPontoPixel& v : line) {
        const double xi = std::nearbyint(v.x), yi = std::nearbyint(v.y);
        const bool xInt = std::fabs(v.x - xi) < 1e-9, yInt = std::fabs(v.y - yi) < 1e-9;
        if (xInt && yInt) {
            tenta(int(xi), int(yi));
        } else if (xInt) {
            tenta(int(xi), int(std::floor(v.y)));
            tenta(int(xi), int(std::floor(v.y)) + 1);
        } else {
            tenta(int(std::floor(v.x)), int(yi));
            tenta(int(std::floor(v.x)) + 1, int(yi));
        }
    }
    return s;
}

void TImgApoio::ReleaseStrip() {
    for (size_t i = 0; i < faixa_.size(); ++i) Row(faixa_[i].Row())[faixa_[i].Col() - 1] = faixaCodigo_[i];
    faixa_.clear();
    faixaCodigo_.clear();
}

std::vector<TPixel> TImgApoio::TakeStrip() {
    std::vector<TPixel> px;
    px.swap(faixa_);
    faixaCodigo_.clear();
    return px;
}

void TImgApoio::CommitStrip(const std::vector<TPixel>& px) {
    for (const TPixel& p : px) Row(p.Row())[p.Col() - 1] = kFechado;
}

void TImgApoio::BurnLine(const TLinhaPixel& line) {
    std::vector<TPixel> px;
    for (size_t i = 0; i < line.size(); ++i) {
        const TPontoPixel& v = line[i];
        px.emplace_back(int(std::nearbyint(v.x)), int(std::nearbyint(v.y)));
        // A diagonal step between pixel centres (level equal to stored elevations) would let
        // another line cross through the other two pixels of the block.
        if (i > 0 && std::fabs(v.x - line[i - 1].x) == 1 && std::fabs(v.y - line[i - 1].y) == 1 &&
            v.x == std::nearbyint(v.x) && v.y == std::nearbyint(v.y)) {
            px.emplace_back(int(v.x), int(line[i - 1].y));
            px.emplace_back(int(line[i - 1].x), int(v.y));
        }
    }
    for (const TPixel& p : px) {
        if (!Inside(p.Col(), p.Row())) continue;
        uint8_t& code = Row(p.Row())[p.Col() - 1];
        if (code == kLivre) code = kSobLinha;
    }
}

double TImgApoio::MeanSlope(const TImgDeclive& slope, const std::vector<TPixel>& px) {
    if (px.empty()) return 0;
    double soma = 0;
    for (const TPixel& p : px) soma += slope.Row(p.Row())[p.Col() - 1];
    return soma / static_cast<double>(px.size());
}

bool TImgApoio::IsInterior(int col, int row) const {
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc) {
            if (dr == 0 && dc == 0) continue;
            const int c = col + dc, r = row + dr;
            if (!Inside(c, r) || Cell(r, c) / 10 == 0) return false;
        }
    return true;
}

void TImgApoio::ExtremeNeighbour(const TImgElevacao& elev, TPixelS& p, int mode) const {
    static const int kDr[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
    static const int kDc[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
    const int col0 = p.Col(), row0 = p.Row();
    float best = elev.ElevationAt(col0, row0);
    for (int k = 0; k < 8; ++k) {
        const int c = col0 + kDc[k], r = row0 + kDr[k];
        if (!Inside(c, r) || Cell(r, c) / 10 == 0) continue;
        const float z = elev.Cell(r, c);
        if (z == 0) continue;
        if (mode == 0 ? z > best : z < best) {
            best = z;
            p.SetCol(c);
            p.SetRow(r);
        }
    }
}

TPixelS TImgApoio::FindLevelStart(int seedCol, int seedRow, int c, double L, const TImgElevacao& elev) {
    seeds_.clear();
    visited_.clear();
    const auto beyond = [c, L](double z) { return c == 1 ? z < L : z > L; };
    const auto finish = [this](int col, int row, float z) {
        for (const TPixel& v : visited_) TMatrixByte::SetCell(v.Row(), v.Col(), kLivre);
        visited_.clear();
        seeds_.clear();
        return TPixelS(col, row, z);
    };
    if (!Inside(seedCol, seedRow)) return finish(-1, -1, 0);
    seeds_.emplace_back(seedCol, seedRow);
    // As in FloodStrip, entries that became 31 (or closed) are dropped at the front; the seed
    // itself is taken once whatever its code.
    for (size_t head = 0; head < seeds_.size(); ++head) {
        const int sc = seeds_[head].Col(), row = seeds_[head].Row();
        if (head > 0) {
            const int t = Cell(row, sc) / 10;
            if (t == 3 || t == 0) continue;
        }
        const float zs = elev.Cell(row, sc);
        if (beyond(zs) && zs != 0 && IsInterior(sc, row)) return finish(sc, row, zs);
        for (int dir = 1; dir >= -1; dir -= 2) {
            int col = dir > 0 ? sc : sc - 1;
            if (col < 1) continue;
            while (col >= 1 && col <= columns_) {
                const uint8_t v = Cell(row, col);
                if (v / 10 == 0 || v % 10 == 0) break;
                visited_.emplace_back(col, row);
                TMatrixByte::SetCell(row, col, kFaixa);
                if (row - 1 >= 1 && Cell(row - 1, col) == kLivre) seeds_.emplace_back(col, row - 1);
                if (row + 1 <= rows_ && Cell(row + 1, col) == kLivre) seeds_.emplace_back(col, row + 1);
                const int prevCol = col;
                const float zPrev = elev.Cell(row, col);
                col += dir;
                if (col < 1 || col > columns_) break;
                const float zNew = elev.Cell(row, col);
                if (beyond(zNew) && zNew != 0) {
                    if (std::fabs(L - zNew) > std::fabs(L - zPrev)) {
                        if (IsInterior(prevCol, row)) return finish(prevCol, row, zPrev);
                    } else if (IsInterior(col, row)) {
                        return finish(col, row, zNew);
                    }
                }
            }
        }
    }
    return finish(-1, -1, 0);
}

#include "core/location/ImgApoio.h"

#include <cmath>
#include <limits>

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

void TImgApoio::TouchAll() {
    r0_ = 1;
    r1_ = rows_;
    c0_ = 1;
    c1_ = columns_;
}

void TImgApoio::EmptyBox() {
    r0_ = c0_ = 1 << 30;
    r1_ = c1_ = 0;
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

void TImgApoio::FloodStrip(int seedCol, int seedRow) {
    // A closed seed would never turn into 31 and would stay in the list for ever.
    if (!Inside(seedCol, seedRow) || TensAt(seedCol, seedRow) == 0) return;
    seeds_.clear();
    seeds_.emplace_back(seedCol, seedRow);
    // Entries whose pixel has become 31 are dropped when they reach the front, which leaves
    // the others in the same order as deleting them after every row.
    for (size_t head = 0; head < seeds_.size(); ++head) {
        const int c = seeds_[head].Col(), r = seeds_[head].Row();
        if (head > 0 && Cell(r, c) == kFaixa) continue;
        for (int dir = 1; dir >= -1; dir -= 2) {
            int col = dir > 0 ? c : c - 1;
            if (col < 1) continue;
            while (col >= 1 && col <= columns_ && Cell(r, col) / 10 != 0) {
                TMatrixByte::SetCell(r, col, kFaixa);
                Touch(col, r);
                if (r - 1 >= 1) {
                    const int t = Cell(r - 1, col) / 10;
                    if (t != 0 && t != 3) seeds_.emplace_back(col, r - 1);
                }
                if (r + 1 <= rows_) {
                    const int t = Cell(r + 1, col) / 10;
                    if (t != 0 && t != 3) seeds_.emplace_back(col, r + 1);
                }
                col += dir;
            }
        }
    }
    seeds_.clear();
}

void TImgApoio::ReleaseMarks() {
    bool outros = false;
    for (int r = r0_; r <= r1_; ++r) {
        uint8_t* a = Row(r);
        for (int c = c0_ - 1; c < c1_; ++c) {
            uint8_t& v = a[c];
            const int tens = v / 10, units = v % 10;
            if (tens != 0 && units == 0)
                v = kFechado;
            else if (units == 1 && tens != 1)
                v = kLivre;
            if (v != kFechado && v != kLivre) outros = true;
        }
    }
    if (!outros) EmptyBox();
}

void TImgApoio::CommitStrip() {
    bool outros = false;
    for (int r = r0_; r <= r1_; ++r) {
        uint8_t* a = Row(r);
        for (int c = c0_ - 1; c < c1_; ++c) {
            uint8_t& v = a[c];
            const int tens = v / 10, units = v % 10;
            if ((tens == 0 && units != 0) || tens == 3) v = kFechado;
            if (v != kFechado && v != kLivre) outros = true;
        }
    }
    if (!outros) EmptyBox();
}

void TImgApoio::BurnLine(const TLinhaPixel& line, int units) {
    for (const TPontoPixel& p : line) {
        const double x = std::nearbyint(p.x), y = std::nearbyint(p.y);
        if (!(x >= 1 && y >= 1 && x <= columns_ && y <= rows_)) continue;
        SetCell(static_cast<int>(y), static_cast<int>(x), static_cast<uint8_t>(units));
    }
}

long long TImgApoio::StripPixelCount() const {
    long long n = 0;
    for (int r = r0_; r <= r1_; ++r) {
        const uint8_t* a = Row(r);
        for (int c = c0_ - 1; c < c1_; ++c)
            if (a[c] / 10 == 3) ++n;
    }
    return n;
}

double TImgApoio::StripMinElevation(const TImgElevacao& elev) const {
    double m = std::numeric_limits<double>::infinity();
    for (int r = r0_; r <= r1_; ++r) {
        const uint8_t* a = Row(r);
        const float* z = elev.Row(r);
        for (int c = c0_ - 1; c < c1_; ++c)
            if (a[c] / 10 == 3 && z[c] < m) m = z[c];
    }
    return m;
}

void TImgApoio::ClearStrip() {
    for (int r = r0_; r <= r1_; ++r) {
        uint8_t* a = Row(r);
        for (int c = c0_ - 1; c < c1_; ++c)
            if (a[c] / 10 == 3) a[c] = static_cast<uint8_t>(10 + a[c] % 10);
    }
}

double TImgApoio::StripMeanSlope(const TImgDeclive& slope, long long* count) const {
    double soma = 0;
    long long n = 0;
    for (int r = r0_; r <= r1_; ++r) {
        const uint8_t* a = Row(r);
        const float* s = slope.Row(r);
        for (int c = c0_ - 1; c < c1_; ++c)
            if (a[c] / 10 == 3) {
                soma += s[c];
                ++n;
            }
    }
    if (count) *count = n;
    return n > 0 ? soma / static_cast<double>(n) : 0.0;
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
                Touch(col, row);
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

#pragma once
// Support raster of the terrace location: one two-digit code per pixel. The tens digit says
// whether the pixel is open (not 0) or closed (0); the units digit whether a mark is
// provisional.
//    0  closed: outside the field, assigned to a placed terrace, or a permanent line
//    1  provisional line (blocks floods until released or committed)
//   11  free
//   31  strip of the current terrace (also the "visited" mark of FindLevelStart)
// The elevation and slope grids are never changed; every bookkeeping step of the tracing
// lives here.
//
// Every pixel outside Box() holds 0 or 11, so the whole-raster passes (release, commit,
// strip count and slope, pocket search) only scan the box. The operations below and
// SetCell keep the box; a caller writing through Row() must call TouchAll() afterwards.
#include <cstdint>
#include <vector>

#include "core/raster/Matriz.h"
#include "core/raster/Pixel.h"

class TImgElevacao;
class TImgDeclive;

class TPixelD : public TPixel {
public:
    TPixelD() = default;
    TPixelD(int32_t col, int32_t row, uint8_t code = 0) : TPixel(col, row), code_(code) {}
    uint8_t Code() const { return code_; }
    void SetCode(uint8_t c) { code_ = c; }
    int Tens() const { return code_ / 10; }
    int Units() const { return code_ % 10; }
    void SetTens(int d) { code_ = static_cast<uint8_t>(Units() + 10 * d); }
    void SetUnits(int d) { code_ = static_cast<uint8_t>(d + 10 * Tens()); }

private:
    uint8_t code_ = 0;
};

// A vertex of a traced line in pixel coordinates: x = column, y = row (pixel centres are
// whole numbers).
struct TPontoPixel {
    double x = 0, y = 0;
};
using TLinhaPixel = std::vector<TPontoPixel>;

class TImgApoio : public TMatrixByte {
public:
    static constexpr uint8_t kFechado = 0;
    static constexpr uint8_t kProvisorio = 1;
    static constexpr uint8_t kLivre = 11;
    static constexpr uint8_t kFaixa = 31;

    // Same size, unit and georeference as the elevation grid; 11 where the elevation is not
    // 0, else 0. A unit other than m or km raises EUnitDist.
    explicit TImgApoio(const TImgElevacao& elev);

    uint8_t MinCode() const { return minCode_; }
    uint8_t MaxCode() const { return maxCode_; }

    // Hides the base setter so the box follows the write.
    void SetCell(int row, int col, uint8_t v) {
        TMatrixByte::SetCell(row, col, v);
        Touch(col, row);
    }
    void TouchAll();

    bool Inside(int col, int row) const { return col >= 1 && row >= 1 && col <= columns_ && row <= rows_; }
    int TensAt(int col, int row) const { return Cell(row, col) / 10; }
    // Open (tens not 0) and not provisional (units not 0): a tracer step may enter it.
    bool Walkable(int col, int row) const {
        if (!Inside(col, row)) return false;
        const uint8_t c = Cell(row, col);
        return c / 10 != 0 && c % 10 != 0;
    }

    // The pixel whose elevation equals the grid's largest value: scans in row order with a
    // tolerance of 1e-7, widened tenfold until some pixel matches; the last match wins.
    // Value = the grid's largest value. (-1, -1) when the grid is empty or its largest value
    // is not finite.
    static TPixelS FindHighestPixel(const TImgElevacao& elev);

    // Scan-line flood over open pixels from the seed, setting them to 31 (4-neighbour steps,
    // stopped by closed pixels and provisional lines). A closed seed does nothing.
    void FloodStrip(int seedCol, int seedRow);
    // Open tens with units 0 -> 0; otherwise codes 1, 21, 31 -> 11.
    void ReleaseMarks();
    // Provisional lines and the strip -> 0.
    void CommitStrip();
    // Each vertex's pixel (round half to even) gets code 'units' (0 or 1); the segments
    // between vertices are not written.
    void BurnLine(const TLinhaPixel& line, int units);
    long long StripPixelCount() const;
    // Lowest elevation under the strip (+infinity for an empty strip).
    double StripMinElevation(const TImgElevacao& elev) const;
    // The strip back to free (31 -> 11); lines are left as they are.
    void ClearStrip();
    // Mean of the slope values (percent) under the strip; 0 for an empty strip ('count' 0).
    double StripMeanSlope(const TImgDeclive& slope, long long* count = nullptr) const;
    // All eight neighbours inside the raster and open.
    bool IsInterior(int col, int row) const;
    // Moves p to the highest (mode 0) or lowest (mode 1) open neighbour with an elevation,
    // strictly better than the centre; p stays when none is.
    void ExtremeNeighbour(const TImgElevacao& elev, TPixelS& p, int mode) const;
    // The interior pixel nearest to level L on its far side (c = 1 below, c = 0 above),
    // searched over the free region around the seed; (-1, -1) when there is none. The
    // pixels visited are left free (11).
    TPixelS FindLevelStart(int seedCol, int seedRow, int c, double L, const TImgElevacao& elev);

    // Rows and columns that may hold codes other than 0 and 11 (empty when r0 > r1).
    int BoxRow0() const { return r0_; }
    int BoxRow1() const { return r1_; }
    int BoxCol0() const { return c0_; }
    int BoxCol1() const { return c1_; }

private:
    void Touch(int col, int row) {
        if (row < r0_) r0_ = row;
        if (row > r1_) r1_ = row;
        if (col < c0_) c0_ = col;
        if (col > c1_) c1_ = col;
    }
    void EmptyBox();

    uint8_t minCode_ = 0, maxCode_ = 31;
    int r0_ = 1 << 30, r1_ = 0, c0_ = 1 << 30, c1_ = 0;
    // Scratch lists reused between calls (column, row pairs).
    std::vector<TPixel> seeds_;
    std::vector<TPixel> visited_;
};

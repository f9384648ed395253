#pragma once
// Support raster of the terrace location: one two-digit code per pixel. The tens digit says
// whether the pixel is open (not 0) or closed (0); the units digit whether the tracer may step
// on it (not 0).
//    0  closed: outside the field, or assigned to a placed terrace's strip
//   10  free land under a placed line: open to the strips, closed to the tracer
//   11  free
//   31  strip of the current terrace (also the "visited" mark of FindLevelStart)
// The elevation and slope grids are never changed; every bookkeeping step of the tracing
// (the strip being assigned, the lines burnt in) lives here.
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
    static constexpr uint8_t kSobLinha = 10;
    static constexpr uint8_t kLivre = 11;
    static constexpr uint8_t kFaixa = 31;

    // Land a strip may take: free, or free under a placed line.
    static bool Livre(uint8_t code) { return code == kLivre || code == kSobLinha; }

    // Same size, unit and georeference as the elevation grid; 11 where the elevation is not
    // 0, else 0. A unit other than m or km raises EUnitDist.
    explicit TImgApoio(const TImgElevacao& elev);

    uint8_t MinCode() const { return minCode_; }
    uint8_t MaxCode() const { return maxCode_; }

    bool Inside(int col, int row) const { return col >= 1 && row >= 1 && col <= columns_ && row <= rows_; }
    int TensAt(int col, int row) const { return Cell(row, col) / 10; }
    // Open (tens not 0) and not under a line (units not 0): a tracer step may enter it.
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

    // The strip of a line: free land with lo <= z < hi reached from the seeds by 4-neighbour
    // steps becomes 31. Each pixel's code before is kept, so the strip can be given back.
    void FloodStrip(const TImgElevacao& elev, const std::vector<TPixel>& seeds, double lo, double hi);
    // Seeds for the strip above a line at 'level': the free pixels with an elevation at or
    // above it that hold a vertex or lie on either side of the cell edge a vertex is on.
    std::vector<TPixel> SeedsAbove(const TImgElevacao& elev, const TLinhaPixel& line, double level) const;
    // The pixels of the strip, in the order they were flooded.
    const std::vector<TPixel>& Strip() const { return faixa_; }
    // The strip back to the codes it had (a trial strip).
    void ReleaseStrip();
    // Takes the strip's pixels; they stay 31 until closed with CommitStrip.
    std::vector<TPixel> TakeStrip();
    // The pixels -> 0: land of a placed terrace.
    void CommitStrip(const std::vector<TPixel>& px);
    // A placed line: the pixel of each vertex (round half to even), and at a diagonal step
    // between pixel centres the other two pixels of the block, become 10 where free, so no
    // later line crosses it. Strip pixels stay 31 and close with their strip.
    void BurnLine(const TLinhaPixel& line);
    // Mean of the slope values (percent) under the pixels; a flat cell (slope without data)
    // counts as 0; 0 for no pixels.
    static double MeanSlope(const TImgDeclive& slope, const std::vector<TPixel>& px);
    // All eight neighbours inside the raster and open.
    bool IsInterior(int col, int row) const;
    // Moves p to the highest (mode 0) or lowest (mode 1) open neighbour with an elevation,
    // strictly better than the centre; p stays when none is.
    void ExtremeNeighbour(const TImgElevacao& elev, TPixelS& p, int mode) const;
    // The interior pixel nearest to level L on its far side (c = 1 below, c = 0 above),
    // searched over the free region around the seed; (-1, -1) when there is none. The
    // pixels visited are left free (11).
    TPixelS FindLevelStart(int seedCol, int seedRow, int c, double L, const TImgElevacao& elev);

private:
    uint8_t minCode_ = 0, maxCode_ = 31;
    // The strip being assigned and each pixel's code before it.
    std::vector<TPixel> faixa_;
    std::vector<uint8_t> faixaCodigo_;
    // Scratch lists of FindLevelStart, reused between calls (column, row pairs).
    std::vector<TPixel> seeds_;
    std::vector<TPixel> visited_;
};

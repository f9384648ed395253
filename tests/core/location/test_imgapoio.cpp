#include <gtest/gtest.h>

#include <vector>

#include "core/location/ImgApoio.h"
#include "core/location/ImgElev.h"
#include "core/raster/ImgDeclive.h"

namespace {

// An elevation grid from rows written north first; the largest value is the grid's own.
TImgElevacao Elevacao(const std::vector<std::vector<float>>& z) {
    TImgElevacao e;
    e.SetRowCount(static_cast<int>(z.size()));
    e.SetColCount(static_cast<int>(z[0].size()));
    e.SetCellWidth(1);
    e.SetCellHeight(1);
    float mx = 0;
    for (size_t r = 0; r < z.size(); ++r)
        for (size_t c = 0; c < z[r].size(); ++c) {
            e.SetCell(int(r) + 1, int(c) + 1, z[r][c]);
            mx = std::max(mx, z[r][c]);
        }
    e.SetMaxValue(mx);
    return e;
}

TImgElevacao Plano(int rows, int cols, float z = 5) {
    return Elevacao(std::vector<std::vector<float>>(rows, std::vector<float>(cols, z)));
}

// Support codes as rows of text digits pairs, for compact comparisons.
std::vector<std::vector<int>> Codigos(const TImgApoio& a) {
    std::vector<std::vector<int>> v(a.Rows(), std::vector<int>(a.Columns()));
    for (int r = 1; r <= a.Rows(); ++r)
        for (int c = 1; c <= a.Columns(); ++c) v[r - 1][c - 1] = a.Cell(r, c);
    return v;
}

}  // namespace

TEST(ImgApoio, CreationMarksOnlyCellsWithElevation) {
    TImgElevacao e = Elevacao({{0, 0, 0}, {0, 7.5f, 0}, {0, 0, 0}});
    e.SetUnitDist("km");
    e.SetMinX(10);
    e.SetCellWidth(2);
    TImgApoio a(e);
    EXPECT_EQ(Codigos(a), (std::vector<std::vector<int>>{{0, 0, 0}, {0, 11, 0}, {0, 0, 0}}));
    EXPECT_EQ(a.UnitDist(), "km");
    EXPECT_EQ(a.MinX(), 10);
    EXPECT_EQ(a.CellWidth(), 2);
    EXPECT_EQ(a.MaxCode(), 31);
    EXPECT_EQ(a.MinCode(), 0);
    const TPixelS p = TImgApoio::FindHighestPixel(e);
    EXPECT_EQ(p.Col(), 2);
    EXPECT_EQ(p.Row(), 2);
    EXPECT_EQ(p.Value(), 7.5f);
}

TEST(ImgApoio, HighestPixelLastInRowOrderAndWideningTolerance) {
    TImgElevacao e = Elevacao({{9, 3, 9}, {1, 9, 2}, {9, 4, 5}});
    TPixelS p = TImgApoio::FindHighestPixel(e);
    EXPECT_EQ(p.Col(), 1);
    EXPECT_EQ(p.Row(), 3);

    // A stored maximum no cell reaches: the first tolerance that meets a cell decides, so the
    // cell 5e-5 away wins over a later one 5.5e-4 away.
    TImgElevacao f = Elevacao({{10.0f, 1}, {1, 9.9995f}});
    f.SetMaxValue(10.00005f);
    p = TImgApoio::FindHighestPixel(f);
    EXPECT_EQ(p.Col(), 1);
    EXPECT_EQ(p.Row(), 1);
    EXPECT_EQ(p.Value(), 10.00005f);  // the stored maximum, not the cell's value
    f.SetMaxValue(10.02f);            // both cells within 1e-1: the later one wins
    p = TImgApoio::FindHighestPixel(f);
    EXPECT_EQ(p.Col(), 2);
    EXPECT_EQ(p.Row(), 2);
}

TEST(ImgApoio, FloodStaysInsideClosedAndProvisionalPixels) {
    TImgElevacao e = Plano(5, 6);
    TImgApoio a(e);
    // A provisional wall in column 3 with a diagonal-only gap, and a closed pixel.
    for (int r = 1; r <= 5; ++r) a.SetCell(r, 3, r == 3 ? 0 : 1);
    a.SetCell(2, 5, 0);
    const auto antes = Codigos(a);

    a.FloodStrip(3, 3);  // closed seed: nothing, and it returns
    EXPECT_EQ(Codigos(a), antes);

    a.FloodStrip(1, 1);
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(a.Cell(r, 1), 31);
        EXPECT_EQ(a.Cell(r, 2), 31);
        for (int c = 4; c <= 6; ++c) EXPECT_EQ(a.Cell(r, c), antes[r - 1][c - 1]) << r << "," << c;
    }
    EXPECT_EQ(a.StripPixelCount(), 10);

    // A flood along the last column does not wrap to the next row's first column.
    TImgApoio b(e);
    for (int r = 1; r <= 5; ++r)
        for (int c = 1; c <= 6; ++c) b.SetCell(r, c, 0);
    b.SetCell(2, 6, 11);
    b.SetCell(3, 1, 11);
    b.FloodStrip(6, 2);
    EXPECT_EQ(b.Cell(2, 6), 31);
    EXPECT_EQ(b.Cell(3, 1), 11);
    EXPECT_EQ(b.StripPixelCount(), 1);
}

TEST(ImgApoio, ReleaseRestoresTrialAndCommitCloses) {
    TImgElevacao e = Plano(6, 6);
    e.SetCell(1, 1, 0);
    TImgApoio a(e);
    a.BurnLine({{2, 2}, {3, 2}}, 0);  // a permanent line
    const auto antes = Codigos(a);
    a.BurnLine({{2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}}, 1);
    a.FloodStrip(1, 6);
    EXPECT_GT(a.StripPixelCount(), 0);
    a.ReleaseMarks();
    EXPECT_EQ(Codigos(a), antes);

    a.BurnLine({{2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {1, 4}}, 1);
    a.FloodStrip(1, 6);
    a.CommitStrip();
    for (int c = 1; c <= 6; ++c) {
        EXPECT_EQ(a.Cell(4, c), 0);
        EXPECT_EQ(a.Cell(6, c), 0);
        EXPECT_EQ(a.Cell(3, c), antes[2][c - 1]);
    }

    // Codes 10/20/30 close on release; 21 frees.
    TImgApoio b(e);
    b.SetCell(3, 3, 10);
    b.SetCell(3, 4, 21);
    b.SetCell(3, 5, 30);
    b.ReleaseMarks();
    EXPECT_EQ(b.Cell(3, 3), 0);
    EXPECT_EQ(b.Cell(3, 4), 11);
    EXPECT_EQ(b.Cell(3, 5), 0);
}

TEST(ImgApoio, BurnRoundsHalvesToEvenAndWritesOnlyVertices) {
    TImgElevacao e = Plano(6, 6);
    TImgApoio a(e);
    a.BurnLine({{2.5, 3.5}, {4.5, 1.49}, {6, 6}}, 1);
    EXPECT_EQ(a.Cell(4, 2), 1);  // row round(3.5) = 4, column round(2.5) = 2
    EXPECT_EQ(a.Cell(1, 4), 1);
    EXPECT_EQ(a.Cell(6, 6), 1);
    EXPECT_EQ(a.Cell(3, 5), 11);  // between two vertices: untouched
}

TEST(ImgApoio, StripMeanSlopeAndEmptyStrip) {
    TImgElevacao e = Plano(2, 3);
    TImgApoio a(e);
    TImgDeclive d;
    d.SetRowCount(2);
    d.SetColCount(3);
    d.SetCell(1, 1, 2);
    d.SetCell(1, 2, 4);
    d.SetCell(2, 3, 30);
    long long n = -1;
    EXPECT_EQ(a.StripMeanSlope(d, &n), 0);
    EXPECT_EQ(n, 0);
    a.SetCell(1, 1, 31);
    a.SetCell(1, 2, 31);
    a.SetCell(1, 3, 31);  // slope 0 counts in the mean
    EXPECT_DOUBLE_EQ(a.StripMeanSlope(d, &n), 2);
    EXPECT_EQ(n, 3);
}

TEST(ImgApoio, InteriorAndExtremeNeighbour) {
    TImgElevacao e = Elevacao({{5, 6, 6, 1}, {4, 5, 3, 1}, {2, 6, 2, 1}, {1, 1, 1, 1}});
    TImgApoio a(e);
    EXPECT_TRUE(a.IsInterior(2, 2));
    EXPECT_FALSE(a.IsInterior(1, 2));  // beyond the edge counts as closed
    a.SetCell(3, 3, 1);
    EXPECT_FALSE(a.IsInterior(2, 2));

    // Highest: north and north-east tie at 6 -> north (earlier); south (6) ties too.
    TPixelS p(2, 2, 0);
    a.ExtremeNeighbour(e, p, 0);
    EXPECT_EQ(p.Col(), 2);
    EXPECT_EQ(p.Row(), 1);
    // Lowest: the provisional south-east (2) is skipped; south-west holds 2 too.
    p = TPixelS(2, 2, 0);
    a.ExtremeNeighbour(e, p, 1);
    EXPECT_EQ(p.Col(), 1);
    EXPECT_EQ(p.Row(), 3);
    // A local maximum stays where it is.
    TImgElevacao m = Elevacao({{1, 1, 1}, {1, 9, 1}, {1, 1, 1}});
    TImgApoio b(m);
    p = TPixelS(2, 2, 0);
    b.ExtremeNeighbour(m, p, 0);
    EXPECT_EQ(p.Col(), 2);
    EXPECT_EQ(p.Row(), 2);
}

TEST(ImgApoio, LevelStartNearestBeyondTheLevelAndVisitedLeftFree) {
    // z = 10 - column on 5 rows x 7 columns.
    std::vector<std::vector<float>> z(5, std::vector<float>(7));
    for (auto& linha : z)
        for (int c = 0; c < 7; ++c) linha[c] = float(10 - (c + 1));
    TImgElevacao e = Elevacao(z);
    TImgApoio a(e);
    const auto antes = Codigos(a);

    // Below 6.3: column 4 (z 6) is nearer than column 3 (z 7).
    TPixelS p = a.FindLevelStart(2, 3, 1, 6.3, e);
    EXPECT_EQ(p.Col(), 4);
    EXPECT_EQ(p.Row(), 3);
    EXPECT_EQ(p.Value(), 6);
    EXPECT_EQ(Codigos(a), antes);
    // Below 6.8: column 3 (z 7, above the level) is the nearer of the pair and is returned.
    p = a.FindLevelStart(2, 3, 1, 6.8, e);
    EXPECT_EQ(p.Col(), 3);
    EXPECT_EQ(p.Value(), 7);
    // Above 8.5 from the east: the run westwards meets column 1 (z 9) next to column 2
    // (z 8); column 1 is nearer but not interior, column 2 is not beyond; the search goes
    // on until it gives up.
    p = a.FindLevelStart(5, 3, 0, 8.5, e);
    EXPECT_EQ(p.Col(), -1);
    EXPECT_EQ(p.Row(), -1);
    EXPECT_EQ(Codigos(a), antes);
    // A seed already beyond the level and interior is its own answer.
    p = a.FindLevelStart(3, 2, 0, 5, e);
    EXPECT_EQ(p.Col(), 3);
    EXPECT_EQ(p.Row(), 2);
}

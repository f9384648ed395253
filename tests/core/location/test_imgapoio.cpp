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

TEST(ImgApoio, StripTakesTheBandReachedFromTheSeedsAndGivesItBack) {
    // z = column on 4 rows x 6 columns; the band 2 <= z < 5 is columns 2 to 4.
    std::vector<std::vector<float>> z(4, std::vector<float>(6));
    for (auto& linha : z)
        for (int c = 0; c < 6; ++c) linha[c] = float(c + 1);
    TImgElevacao e = Elevacao(z);
    TImgApoio a(e);
    // Column 3 is closed but for row 3, free land under a placed line: strips cross it.
    for (int r : {1, 2, 4}) a.SetCell(r, 3, TImgApoio::kFechado);
    a.SetCell(3, 3, TImgApoio::kSobLinha);
    const auto antes = Codigos(a);

    a.FloodStrip(e, {TPixel(2, 1)}, 2, 5);
    ASSERT_EQ(a.Strip().size(), 9u);
    EXPECT_EQ(a.Strip().front().Col(), 2);
    EXPECT_EQ(a.Strip().front().Row(), 1);
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 6; ++c) {
            const bool faixa = c == 2 || c == 4 || (c == 3 && r == 3);
            EXPECT_EQ(a.Cell(r, c), faixa ? TImgApoio::kFaixa : antes[r - 1][c - 1]) << r << "," << c;
        }
    // A trial strip goes back to the codes it had, the line's pixel included.
    a.ReleaseStrip();
    EXPECT_TRUE(a.Strip().empty());
    EXPECT_EQ(Codigos(a), antes);

    // A mark the tracer left (1) and a closed pixel stop it; a seed outside the band or on
    // closed land floods nothing.
    a.SetCell(3, 3, 1);
    a.FloodStrip(e, {TPixel(5, 2), TPixel(3, 1), TPixel(2, 4)}, 2, 5);
    ASSERT_EQ(a.Strip().size(), 4u);
    for (const TPixel& p : a.Strip()) EXPECT_EQ(p.Col(), 2);

    // Taken, the strip stays 31 until committed, then closes.
    const std::vector<TPixel> px = a.TakeStrip();
    EXPECT_TRUE(a.Strip().empty());
    EXPECT_EQ(px.size(), 4u);
    EXPECT_EQ(a.Cell(2, 2), TImgApoio::kFaixa);
    a.CommitStrip(px);
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(a.Cell(r, 2), TImgApoio::kFechado);
    // Nothing to give back after a take.
    a.ReleaseStrip();
    EXPECT_EQ(a.Cell(2, 2), TImgApoio::kFechado);
}

TEST(ImgApoio, SeedsAboveALineAreTheFreePixelsAtOrAboveItsLevelBesideItsVertices) {
    // z = 10 - row on 5 x 5: the level 7.5 runs between rows 2 (z 8) and 3 (z 7).
    std::vector<std::vector<float>> z(5, std::vector<float>(5));
    for (int r = 0; r < 5; ++r)
        for (auto& v : z[r]) v = float(10 - (r + 1));
    TImgElevacao e = Elevacao(z);
    TImgApoio a(e);
    a.SetCell(2, 5, TImgApoio::kFechado);
    // A vertex on a column's edge between two rows, one between two columns of row 2 (the
    // east one closed), one on a pixel centre.
    const std::vector<TPixel> s = a.SeedsAbove(e, {{3, 2.5}, {4.5, 2}, {2, 2}}, 7.5);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].Col(), 3);
    EXPECT_EQ(s[0].Row(), 2);
    EXPECT_EQ(s[1].Col(), 4);
    EXPECT_EQ(s[1].Row(), 2);
    EXPECT_EQ(s[2].Col(), 2);
    EXPECT_EQ(s[2].Row(), 2);
}

TEST(ImgApoio, BurntLineClosesItsPixelsToTheTracerOnly) {
    TImgElevacao e = Plano(6, 6);
    TImgApoio a(e);
    a.SetCell(1, 1, TImgApoio::kFaixa);
    a.SetCell(1, 2, TImgApoio::kFechado);
    // Halves round to even: (2.5, 3.5) is column 2, row 4. A diagonal step between pixel
    // centres, (4, 4) to (5, 5), takes the other two pixels of the block too.
    a.BurnLine({{2.5, 3.5}, {4, 4}, {5, 5}, {1, 1}, {2, 1}});
    for (auto [c, r] : {std::pair{2, 4}, {4, 4}, {5, 5}, {5, 4}, {4, 5}}) {
        EXPECT_EQ(a.Cell(r, c), TImgApoio::kSobLinha) << c << "," << r;
        EXPECT_FALSE(a.Walkable(c, r));
        EXPECT_TRUE(TImgApoio::Livre(a.Cell(r, c)));
    }
    EXPECT_EQ(a.Cell(4, 3), TImgApoio::kLivre);    // between two vertices: untouched
    EXPECT_EQ(a.Cell(1, 1), TImgApoio::kFaixa);    // a strip pixel closes with its strip
    EXPECT_EQ(a.Cell(1, 2), TImgApoio::kFechado);  // closed land stays closed
}

TEST(ImgApoio, StripMeanSlopeAndEmptyStrip) {
    TImgDeclive d;
    d.SetRowCount(2);
    d.SetColCount(3);
    d.SetCell(1, 1, 2);
    d.SetCell(1, 2, 4);
    d.SetCell(2, 3, 30);
    EXPECT_EQ(TImgApoio::MeanSlope(d, {}), 0);
    // Slope 0 counts in the mean.
    EXPECT_DOUBLE_EQ(TImgApoio::MeanSlope(d, {TPixel(1, 1), TPixel(2, 1), TPixel(3, 1)}), 2);
    EXPECT_DOUBLE_EQ(TImgApoio::MeanSlope(d, {TPixel(3, 2), TPixel(1, 1)}), 16);
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

#include <gtest/gtest.h>

#include "core/raster/GradeMapa.h"
#include "core/raster/Imagem.h"

namespace {

// A 4 x 3 grid of 10 m cells from (500000, 7499970) to (500040, 7500000): UTM magnitudes.
TGradeMapa Grade() {
    TImagem img;
    img.SetColumns(4);
    img.SetRows(3);
    img.SetMinX(500000);
    img.SetMaxX(500040);
    img.SetMinY(7499970);
    img.SetMaxY(7500000);
    return TGradeMapa::De(img);
}

TEST(GradeMapa, CentresAndTheirInverse) {
    const TGradeMapa g = Grade();
    EXPECT_DOUBLE_EQ(g.XDoCentro(0), 500005);
    EXPECT_DOUBLE_EQ(g.YDoCentro(0), 7499995);
    EXPECT_DOUBLE_EQ(g.XDoCentro(3), 500035);
    EXPECT_DOUBLE_EQ(g.YDoCentro(2), 7499975);
    EXPECT_DOUBLE_EQ(g.ColunaDe(g.XDoCentro(2)), 2);
    EXPECT_DOUBLE_EQ(g.LinhaDe(g.YDoCentro(1)), 1);
    // The west edge of column 0 and the north edge of row 0.
    EXPECT_DOUBLE_EQ(g.ColunaDe(500000), -0.5);
    EXPECT_DOUBLE_EQ(g.LinhaDe(7500000), -0.5);
}

TEST(GradeMapa, CellOfAPointAndTheGridEdges) {
    const TGradeMapa g = Grade();
    int c = -1, r = -1;
    ASSERT_TRUE(g.CelulaDe(500015, 7499985, c, r));
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 1);
    // The south-east corner belongs to the last cell; a point beyond it to none.
    ASSERT_TRUE(g.CelulaDe(500040, 7499970, c, r));
    EXPECT_EQ(c, 3);
    EXPECT_EQ(r, 2);
    EXPECT_FALSE(g.CelulaDe(500040.01, 7499985, c, r));
    EXPECT_FALSE(g.CelulaDe(499999.99, 7499985, c, r));
    EXPECT_FALSE(g.CelulaDe(500010, 7500000.01, c, r));
    EXPECT_FALSE(TGradeMapa{}.CelulaDe(0, 0, c, r));
}

}  // namespace

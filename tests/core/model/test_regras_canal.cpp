// The channel's rules that both front ends apply: the least coefficient of unevenness and
// its message, the recommended height and its inverse, and EV = EH·S.
#include <gtest/gtest.h>

#include <cmath>

#include "core/model/Canal.h"
#include "core/model/Espacamento.h"

namespace {

TEST(RegrasCanal, CoefficientOfUnevennessAtLeastOne) {
    EXPECT_TRUE(CDuAceito(1));
    EXPECT_TRUE(CDuAceito(1.2));
    EXPECT_FALSE(CDuAceito(0.99));
    EXPECT_FALSE(CDuAceito(0));  // an unreadable field reads as 0
    EXPECT_FALSE(CDuAceito(std::nan("")));
    EXPECT_STREQ(kMensagemCDuMinimo, "O valor do coeficiente de desuniformidade não pode ser inferior a 1.");
    // The model takes no less either.
    TCanal c;
    c.SetCDu(0.5);
    EXPECT_EQ(c.CDu(), kCDuMinimo);
}

TEST(RegrasCanal, RecommendedHeightAndItsInverse) {
    // √1.44 = 1.2: 0.40 m of channel is 0.48 m, plus 10 cm.
    EXPECT_NEAR(AlturaRecomendadaM(1.44, 0.40), 0.58, 1e-12);
    EXPECT_NEAR(AlturaRecomendada(1.44, 0.40), 58.0, 1e-9);
    EXPECT_DOUBLE_EQ(AlturaRecomendada(1, 0.5), 60.0);
    // With no height the terrace is the freeboard alone.
    EXPECT_DOUBLE_EQ(AlturaRecomendada(2, 0), 10.0);
    EXPECT_DOUBLE_EQ(AlturaRecomendadaM(2, 0), 0.1);
    EXPECT_NEAR(AlturaTeoricaM(1.44, 0.58), 0.40, 1e-12);
    for (double cdu : {1.0, 1.1, 1.5, 2.3})
        for (double h : {0.05, 0.3, 0.87, 1.6}) {
            EXPECT_NEAR(AlturaTeoricaM(cdu, AlturaRecomendadaM(cdu, h)), h, 1e-12) << cdu << " " << h;
            EXPECT_NEAR(AlturaRecomendada(cdu, h), AlturaRecomendadaM(cdu, h) * 100, 1e-9);
        }
    // A terrace lower than its freeboard has a negative theoretical height.
    EXPECT_LT(AlturaTeoricaM(1, 0.05), 0);
}

TEST(RegrasCanal, VerticalSpacingIsHorizontalTimesSlope) {
    EXPECT_DOUBLE_EQ(EspacamentoVertical(25, 0.08), 2.0);
    EXPECT_DOUBLE_EQ(EspacamentoVertical(23.58, 0.08), 23.58 * 0.08);
    EXPECT_EQ(EspacamentoVertical(30, 0), 0);
}

}  // namespace

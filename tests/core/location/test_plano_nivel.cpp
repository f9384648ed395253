#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/location/LocNivel.h"

TEST(PlanoNivel, RoundTripsThroughTheProjectAndOldOrDamagedValuesReadAsTheDefaults) {
    PastaTemporaria pasta;
    const std::string projeto = pasta.Arquivo("p.kzp");
    TLocacaoNivel a;
    a.SetPlano(TPlanoNivel{7, 80.5, 20, 2.5});
    ASSERT_TRUE(a.Save(projeto));
    TLocacaoNivel b;
    ASSERT_TRUE(b.Load(projeto));
    EXPECT_EQ(b.Plano().maxTerracos, 7);
    EXPECT_EQ(b.Plano().comprimentoMinimo, 80.5);
    EXPECT_EQ(b.Plano().raioMinimo, 20);
    EXPECT_EQ(b.Plano().toleranciaCm, 2.5);
    // A project written before the plan existed, and one whose count would wrap an int.
    for (const char* texto : {"[LOCACAONIVEL]\r\nfnImgElev=e.asc\r\n",
                              "[LOCACAONIVEL]\r\nMaxTerracos=4294967299\r\nRaioMinimo=20\r\n"}) {
        std::ofstream(projeto, std::ios::binary | std::ios::trunc) << texto;
        TLocacaoNivel c;
        c.SetPlano(TPlanoNivel{3, 1, 1, 1});
        ASSERT_TRUE(c.Load(projeto));
        EXPECT_EQ(c.Plano().maxTerracos, 0) << texto;
        EXPECT_EQ(c.Plano().comprimentoMinimo, 50) << texto;
        EXPECT_EQ(c.Plano().raioMinimo, 15) << texto;
        EXPECT_EQ(c.Plano().toleranciaCm, 5) << texto;
    }
}

TEST(PlanoNivel, EachValueHasItsLimitsAndACountNeverWraps) {
    EXPECT_EQ(MaxTerracosDe(0), 0);
    EXPECT_EQ(MaxTerracosDe(32767), 32767);
    EXPECT_EQ(MaxTerracosDe(4294967299.0), 32768);
    EXPECT_EQ(MaxTerracosDe(2.5), -1);
    EXPECT_EQ(MaxTerracosDe(-1), -1);
    std::string m;
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{}, m), -1);
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{32768, 50, 15, 5}, m), 0);
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, -1, 15, 5}, m), 1);
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, 50, 500.5, 5}, m), 2);
    EXPECT_EQ(m, "Raio mínimo de curva inválido: use um valor de 0 a 500 m (0 mantém as linhas traçadas).");
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, 0, 0, 100}, m), -1);  // traced lines, no minimum
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, 50, 15, 0}, m), 3);
    EXPECT_ERRO(EVandoro, "Tolerância de nível inválida: use um valor maior que 0 e até 100 cm.",
                ChecaPlanoNivel(TPlanoNivel{0, 50, 15, 100.5}));
}

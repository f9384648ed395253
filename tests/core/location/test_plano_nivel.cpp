#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "GradesSinteticas.h"
#include "ModeloLocacao.h"
#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/raster/Imagem.h"

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

TEST(PlanoNivel, AModelSteppedCoarserThanAThirdOfTheIntervalIsCaughtBeforeTheRun) {
    PastaTemporaria pasta;
    // A cone in whole metres (as a 16-bit integer survey gives it) and the same cone unrounded.
    const auto cone = [](double x, double y) { return 30 - 0.1 * std::hypot(x - 40.5, y - 40.5); };
    const auto degraus = [&](double x, double y) { return std::round(cone(x, y)); };
    TArquivosLocacao inteiro, continuo;
    inteiro.elevacao = pasta.Arquivo("i.asc");
    inteiro.declividade = pasta.Arquivo("i_decl.asc");
    continuo.elevacao = pasta.Arquivo("c.asc");
    continuo.declividade = pasta.Arquivo("c_decl.asc");
    GravarAsc(inteiro.elevacao, 80, 80, 1.0, degraus);
    GravarDeclividade(inteiro.declividade, 80, 80, 1.0, cone);
    GravarAsc(continuo.elevacao, 80, 80, 1.0, cone);
    GravarDeclividade(continuo.declividade, 80, 80, 1.0, cone);
    TImagem img;
    ASSERT_TRUE(img.LoadFromFile(inteiro.elevacao));
    EXPECT_EQ(PassoDeElevacao(img), 1.0);
    ASSERT_TRUE(img.LoadFromFile(continuo.elevacao));
    EXPECT_LT(PassoDeElevacao(img), 0.01);
    // A given interval of 2 m: a 1 m step is half of it.
    ModeloLocacao m(3, 2.0);
    EXPECT_EQ(AvisoModeloEmDegraus(inteiro, m.terracos, m.cn, m.chuva),
              "O modelo de elevação tem valores em degraus de 1,00 m, mais que um terço do espaçamento vertical "
              "entre terraços (2,00 m): as curvas de nível seguirão os degraus, não o terreno. Suavize o modelo com "
              "o Filtro ou use um levantamento mais fino.");
    EXPECT_EQ(AvisoModeloEmDegraus(continuo, m.terracos, m.cn, m.chuva), "");
    // At 4 m the step is a quarter of the interval: no warning.
    ModeloLocacao largo(3, 4.0);
    EXPECT_EQ(AvisoModeloEmDegraus(inteiro, largo.terracos, largo.cn, largo.chuva), "");
    // A model that cannot be read gives no warning: the run reads it and says why.
    TArquivosLocacao ruim = inteiro;
    ruim.elevacao = pasta.Arquivo("ruim.asc");
    std::ofstream(ruim.elevacao) << "ncols x\n";
    EXPECT_EQ(AvisoModeloEmDegraus(ruim, m.terracos, m.cn, m.chuva), "");
}

// The soil a located plan moves: each terrace's own section times its length, summed.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/location/ConstrucaoLocacao.h"
#include "core/model/SistemaConservacao.h"

TEST(ConstrucaoLocacao, ThePlansVolumeIsTheSumOfEachTerracesSectionTimesItsLength) {
    TTerracosNivel sistema;
    sistema.Secao().SetTipo(TTipoSecao::Triangular);
    sistema.Sm().SetValue(0.25);
    TResultadoLocacao r;
    // Two broad-base terraces (types from the run) and one whose type the criterion gives.
    r.terracos = {TRegTerr{1, 100, 5, 200, 200 * 20, 1, 0.5}, TRegTerr{2, 98, 10, 150, 150 * 20, 1, 0.5},
                  TRegTerr{3, 96, 5, 80, 80 * 20, 1, 0.5}};
    r.info = {TInfoTerraco{0, "Terraços de Base Larga"}, TInfoTerraco{1, "Terraços de Base Larga"}, TInfoTerraco{}};
    TSelecaoTipoTerraco selecao;
    selecao.SetMetodoSelecao(TSelecaoTipoTerraco::Parana);  // 5 %: broad base
    const TConstrucaoLocacao c = ConstrucaoDaLocacao(r, sistema, selecao, TConfigConstrucao{});
    // Hr 0.5 m against Sm 0.25: 1.5 m² per metre on 5 % and 2.333 m² on 10 % (the sections
    // worked by hand in the section's own test).
    ASSERT_EQ(c.volumes.size(), 3u);
    EXPECT_NEAR(c.volumes[0], 1.5 * 200, 1e-9);
    EXPECT_NEAR(c.volumes[1], 0.35 * (0.7 / 0.15 + 2) * 150, 1e-9);
    EXPECT_NEAR(c.volumes[2], 1.5 * 80, 1e-9);
    EXPECT_NEAR(c.volumeTotal, c.volumes[0] + c.volumes[1] + c.volumes[2], 1e-9);
    EXPECT_TRUE(c.avisos.empty());
}

// Fields of the location window in the core: fill and collect in the settings' units, which
// method values are kept, the required fields with a typed 0, and the proposed output.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/location/EntradaLocacao.h"
#include "core/location/LocNivel.h"
#include "core/location/RelatorioLocacao.h"
#include "core/project/ModeloProjeto.h"

TEST(EntradaLocacao, CollectAndFillInPercentAndBack) {
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto m;
    m.Configuracao().UDecli = "%";
    m.Configuracao().KDecli = 100;
    TCamposLocacao f = CamposLocacaoVazios();
    EXPECT_EQ(f.edtCoefDesinf, "1");
    f.edtTr = "10";
    f.edtK = "1932,5";
    f.edt_a = "0,162";
    f.edt_b = "17,3";
    f.edt_c = "0,872";
    f.edtSm = "150";  // %: 1.5 m/m
    f.edtCoefDesinf = "1,2";
    f.cbMetodo = 4;
    f.edtEV = "2";  // not the method's: not stored
    f.edtAlturaTerraco = "0,6";
    f.rgTipoTerraco = 3;
    f.tipoArbitrado = 4;
    f.edtTIE = "20";
    f.edtImagemElevacao = "dem.asc";
    f.edtVetorSaida = "dem.vet";
    m.TerracosNivel().Secao().SetIndex(0);
    StoreInputsLocacao(f, m);
    const TTerracosNivel& t = m.TerracosNivel();
    EXPECT_DOUBLE_EQ(t.Sm().Value(), 1.5);
    EXPECT_EQ(t.Secao().Index(), 1);
    EXPECT_DOUBLE_EQ(t.CDu(), 1.2);
    EXPECT_EQ(t.Espacamento().Metodologia().Index(), 4);
    EXPECT_DOUBLE_EQ(t.H(), 0.6);
    EXPECT_EQ(t.Espacamento().EV(), 0);
    EXPECT_EQ(t.Selecao().MetodoSelecao(), 3);
    EXPECT_EQ(t.Selecao().TipoRecomendado(), "Terraço em patamar");
    EXPECT_DOUBLE_EQ(m.Precipitacao().K(), 1932.5);
    EXPECT_EQ(m.LocacaoNivel().fnImgElev(), "dem.asc");
    EXPECT_EQ(m.LocacaoNivel().fnImgDecli(), "");

    const TCamposLocacao g = LoadInputsLocacao(m);
    EXPECT_EQ(g.edtSm, "150,0");
    EXPECT_EQ(g.edtTr, "10,0");
    EXPECT_EQ(g.edt_c, "0,872");
    EXPECT_EQ(g.edtAlturaTerraco, "0,6");
    EXPECT_EQ(g.edtEV, "");  // 0 shows empty
    EXPECT_EQ(g.cbMetodo, 4);
    EXPECT_EQ(g.rgTipoTerraco, 3);
    EXPECT_EQ(g.tipoArbitrado, 4);
    EXPECT_EQ(g.edtVetorSaida, "dem.vet");

    // Method 3 keeps EV and leaves H; a zero return period leaves the stored one.
    f.cbMetodo = 3;
    f.edtTr = "0";
    StoreInputsLocacao(f, m);
    EXPECT_DOUBLE_EQ(t.Espacamento().EV(), 2);
    EXPECT_DOUBLE_EQ(t.H(), 0.6);
    EXPECT_EQ(m.Precipitacao().Tr(), 10);
}

TEST(EntradaLocacao, RequiredFieldsEmptyOrZeroInOrderAndUnreadableText) {
    RegionalFixo pt(Regional::PtBR());
    TCamposLocacao f = CamposLocacaoVazios();
    EXPECT_EQ(PrimeiroCampoVazioLocacao(f).Controle, "edtTr");
    f.edtTr = "0";
    EXPECT_EQ(PrimeiroCampoVazioLocacao(f).Mensagem, "Valor do periodo de retorno inconsistente.");
    f.edtTr = f.edtK = f.edt_a = f.edt_b = f.edt_c = "1";
    f.edtSm = "0,0";
    const TCampoEntrada sm = PrimeiroCampoVazioLocacao(f);
    EXPECT_EQ(sm.Controle, "edtSm");
    EXPECT_EQ(sm.Grupo, "Canal");
    EXPECT_EQ(sm.Mensagem, "Valor da inclinação do murundum inconsistente.");
    f.edtSm = "1";
    EXPECT_EQ(PrimeiroCampoVazioLocacao(f).Grupo, "Solo");
    f.edtTIE = "5";
    EXPECT_TRUE(PrimeiroCampoVazioLocacao(f).Vazio());
    // EV is read only for its method, but unreadable text is caught before anything is stored.
    f.edtEV = "1,2,3";
    const TCampoEntrada ev = PrimeiroCampoInvalidoLocacao(f);
    EXPECT_EQ(ev.Controle, "edtEV");
    EXPECT_EQ(ev.Grupo, "Espaçamento");
    EXPECT_FALSE(ev.Mensagem.empty());
}

TEST(EntradaLocacao, AGradedProjectKeepsItsOwnChannelSpacingAndWaterwaysAndLevelStaysApart) {
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto m;
    m.Configuracao().UDecli = "%";
    m.Configuracao().KDecli = 100;
    m.TerracosNivel().Sm().SetValue(2);
    m.TerracosNivel().Espacamento().Metodologia().SetIndex(4);
    TCamposLocacao f = CamposLocacaoVazios();
    f.gradiente = true;
    f.edtTr = f.edtK = f.edt_a = f.edt_b = f.edt_c = "1";
    f.edtSm = "100";
    f.cbMetodo = 4;  // no graded system spaces by a given height
    f.edtTIE = "20";
    EXPECT_EQ(PrimeiroCampoVazioLocacao(f).Controle, "cbMetodo");
    f.cbMetodo = 3;
    f.edtEV = "1,5";
    // The channel's grade and roughness after Sm, the terrain's before the soil.
    const TCampoEntrada sc = PrimeiroCampoVazioLocacao(f);
    EXPECT_EQ(sc.Controle, "edtDecCanal");
    EXPECT_EQ(sc.Mensagem, "Valor da declividade do canal inconsistente.");
    f.edtDecCanal = "0,5";  // %
    EXPECT_EQ(PrimeiroCampoVazioLocacao(f).Controle, "edtRugCanal");
    f.edtRugCanal = "0,035";
    EXPECT_EQ(PrimeiroCampoVazioLocacao(f).Grupo, "Solo");
    EXPECT_EQ(PrimeiroCampoVazioLocacao(f).Controle, "edtRugTerreno");
    f.edtRugTerreno = "0,1";
    EXPECT_TRUE(PrimeiroCampoVazioLocacao(f).Vazio());
    f.edtEscoadouro = "canais.gpkg";
    StoreInputsLocacao(f, m);
    EXPECT_EQ(m.TipoSistema().Tipo(), TTipoSistema::Gradiente);
    EXPECT_EQ(&SistemaDaLocacao(m), static_cast<TSistemaConservacao*>(&m.TerracosGradiente()));
    const TTerracosGradiente& g = m.TerracosGradiente();
    EXPECT_DOUBLE_EQ(g.Sc(), 0.005);
    EXPECT_DOUBLE_EQ(g.nc().Value(), 0.035);
    EXPECT_DOUBLE_EQ(m.NumeroDaCurva().nt().Value(), 0.1);
    EXPECT_DOUBLE_EQ(g.Sm().Value(), 1);
    EXPECT_EQ(g.Espacamento().Metodologia().Index(), 3);
    EXPECT_DOUBLE_EQ(g.Espacamento().EV(), 1.5);
    EXPECT_EQ(m.LocacaoNivel().fnEscoadouro(), "canais.gpkg");
    // The level system is left as it was.
    EXPECT_DOUBLE_EQ(m.TerracosNivel().Sm().Value(), 2);
    EXPECT_EQ(m.TerracosNivel().Espacamento().Metodologia().Index(), 4);
    const TCamposLocacao lidos = LoadInputsLocacao(m);
    EXPECT_TRUE(lidos.gradiente);
    EXPECT_EQ(lidos.edtDecCanal, "0,5");
    EXPECT_EQ(lidos.edtRugTerreno, "0,1");
    EXPECT_EQ(lidos.edtSm, "100,0");
    EXPECT_EQ(lidos.edtEscoadouro, "canais.gpkg");

    // Back to level: the level system's fields; a basin project is not turned into terraces.
    f.gradiente = false;
    StoreInputsLocacao(f, m);
    EXPECT_EQ(m.TipoSistema().Tipo(), TTipoSistema::Nivel);
    EXPECT_EQ(LoadInputsLocacao(m).edtDecCanal, "");
    m.TipoSistema().SetTipo(TTipoSistema::BaciaAcumulacao);
    StoreInputsLocacao(f, m);
    EXPECT_EQ(m.TipoSistema().Tipo(), TTipoSistema::BaciaAcumulacao);
}

TEST(EntradaLocacao, ElevationProposesItsVectorAndTheTableCellsFollowTheReport) {
    EXPECT_EQ(VetorDaElevacao("/dados/campo/dem.img"), "/dados/campo/dem.vet");
    EXPECT_EQ(VetorDaElevacao("relevo"), "relevo.vet");
    EXPECT_EQ(VetorDaElevacao(""), "");
    RegionalFixo pt(Regional::PtBR());
    TRegTerr r;
    r.id = 3;
    r.level = 712.345;
    r.EV = 1.5;
    r.slope = 7.5;
    r.length = 1234567.891;
    r.area = 12.5;
    r.height = 0.456;
    // Without the companion the line above and the type are blank, never invented.
    EXPECT_EQ(CelulasTerraco(r),
              (std::vector<std::string>{"3", "", "712,35", "1,50", "7,5", "1.234.567,89", "12,5", "0,46", ""}));
    const TInfoTerraco topo{0, "Terraços de Base Larga"}, sob{2, ""};
    EXPECT_EQ(CelulasTerraco(r, &topo)[1], "topo");
    EXPECT_EQ(CelulasTerraco(r, &topo)[8], "Terraços de Base Larga");
    EXPECT_EQ(CelulasTerraco(r, &sob)[1], "2");
    EXPECT_EQ(ComprimentoTotalFormatado(1500), "1.500,0 m");
    EXPECT_EQ(ColunasTabelaTerracos().size(), 9u);
}

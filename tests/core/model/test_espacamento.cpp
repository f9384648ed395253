#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/model/Espacamento.h"

namespace {

}  // namespace

TEST(Espacamento, MetodosEmpiricosExemplosCalculadosAMao) {
    TEspacamento e;
    // Bentley, clay soils X = 2.5, 10 %: 0.305·(10/2.5 + 2) = 1.83 m.
    e.Metodologia().SetIndex(TMetodologiaEspacamento::Bentley);
    e.Solo().SetFamilia(TSolo::FamiliaBentley);
    e.Solo().SetIndex(0);
    e.ComputeSpacing(0.10);
    EXPECT_NEAR(e.EV(), 1.83, 1e-12);
    EXPECT_NEAR(e.EH(), 18.3, 1e-11);

    // Lombardi Neto, K = 1.25, U = 1.25 (milho), M = 0.5 (grupo 1), 5 %.
    e.Metodologia().SetIndex(TMetodologiaEspacamento::LombardiNeto);
    e.Cultura().SelectFromTable(25);
    ASSERT_EQ(e.Cultura().Nome(), "Milho");
    e.ResistenciaErosao().SelectFromTable(0);
    e.PreparoDoSolo().SelectFromTable(0);
    e.ComputeSpacing(0.05);
    EXPECT_NEAR(e.EV(), 1.2568020925661467, 1e-12);
    EXPECT_NEAR(e.EH(), 25.136041851322933, 1e-10);

    // Paraná, terra roxa, 8 %.
    e.Metodologia().SetIndex(TMetodologiaEspacamento::Parana);
    e.Solo().SetFamilia(TSolo::FamiliaParana);
    e.Solo().SetIndex(2);
    e.ComputeSpacing(0.08);
    EXPECT_NEAR(e.EV(), 1.82911511624503, 1e-12);
    EXPECT_NEAR(e.EH(), 22.863938953062874, 1e-10);
}

TEST(Espacamento, SoloDaFamiliaDoMetodoMesmoComObjetoEmOutraFamilia) {
    // A fresh (or just loaded) soil holds Bentley soils; Paraná must still use its own factor.
    TEspacamento e;
    e.Solo().SetIndex(2);
    ASSERT_EQ(e.Solo().Nome(), "Solos de textura grossa");
    e.Metodologia().SetIndex(TMetodologiaEspacamento::Parana);
    e.ComputeSpacing(0.08);
    EXPECT_NEAR(e.EV(), 1.82911511624503, 1e-12);
    EXPECT_EQ(e.Solo().Nome(), "Terra roxa");
    EXPECT_EQ(e.Solo().Familia(), TSolo::FamiliaParana);
}

TEST(Espacamento, FalhasAritmeticasTrazemOMetodo) {
    TEspacamento e;
    e.Metodologia().SetIndex(0);
    EXPECT_EQ(MensagemDe([&] { e.ComputeSpacing(0); }),
              "Erro no cálculo do espaçamento. Medotologia Bentley.");
    e.Metodologia().SetIndex(1);
    EXPECT_EQ(MensagemDe([&] { e.ComputeSpacing(0); }),
              "Erro no cálculo do espaçamento. Medotologia Lombardi Neto.");
    e.Metodologia().SetIndex(2);
    EXPECT_EQ(MensagemDe([&] { e.ComputeSpacing(-0.05); }),
              "Erro no cálculo do espaçamento. Medotologia Paraná.");
    EXPECT_EQ(MensagemDe([&] { e.ComputeSpacing(std::nan("")); }),
              "Erro no cálculo do espaçamento. Medotologia Paraná.");
    // The failing computations left the spacing alone.
    EXPECT_EQ(e.EH(), 0);
    EXPECT_EQ(e.EV(), 0);
}

TEST(Espacamento, MetodosArbitradosECapacidade) {
    TEspacamento e;
    e.SetEH(30);
    e.SetEV(2);
    e.Metodologia().SetIndex(TMetodologiaEspacamento::EspacamentoArbitrado);
    e.ComputeSpacing(0.1);
    EXPECT_EQ(e.EH(), 30);
    EXPECT_EQ(e.EV(), 2);

    // Height given: with LES = 0 nothing changes.
    e.Metodologia().SetIndex(TMetodologiaEspacamento::AlturaArbitrada);
    e.SetCapArmaz(0.5);
    e.ComputeSpacing(0.1);
    EXPECT_EQ(e.EH(), 30);
    EXPECT_EQ(e.EV(), 2);
    // 0.5 m³/m holds 20 mm over 25 m; EV follows the new EH.
    e.SetLES(20);
    e.ComputeSpacing(0.1);
    EXPECT_NEAR(e.EH(), 25, 1e-12);
    EXPECT_NEAR(e.EV(), 2.5, 1e-12);
    e.ComputeSpacing(0);  // no slope: unchanged
    EXPECT_NEAR(e.EH(), 25, 1e-12);

    e.SetEH(-3);
    e.SetEV(-1);
    EXPECT_EQ(e.EH(), 0);
    EXPECT_EQ(e.EV(), 0);
    EXPECT_THROW(e.Metodologia().SetIndex(6), EVandoro);
    EXPECT_EQ(e.Metodologia().Index(), TMetodologiaEspacamento::AlturaArbitrada);
    EXPECT_EQ(TMetodologiaEspacamento::Name(2), "Paraná");
    EXPECT_EQ(TMetodologiaEspacamento::Name(4), "Altura do terraço arbitrada");
    EXPECT_EQ(TMetodologiaEspacamento::Name(5), "");
}

TEST(Espacamento, EspacamentoPelaCapacidadeDoCanal) {
    TEspacamento e;
    // Triangular: g = 0.4 m, Sm = 1, St = 0.08, 20 mm: EH = 500·0.16·1.08/(20·0.08) = 54 m.
    e.SetSecaoTriangular(true);
    e.SpacingFromCapacity(0, 20, 1, 1, 0.5, 0.08);
    EXPECT_NEAR(e.EH(), 54, 1e-10);
    EXPECT_NEAR(e.EV(), 4.32, 1e-11);
    // CDu = 4 halves the useful depth and quarters the spacing.
    e.SpacingFromCapacity(0, 20, 1, 4, 0.5, 0.08);
    EXPECT_NEAR(e.EH(), 13.5, 1e-10);

    // Trapezoidal B = 0.5, Z = 1, g = 0.4: 1000·0.4·0.9/20 = 18 m; rectangular: 10 m.
    e.SetSecaoTriangular(false);
    e.SpacingFromCapacity(0.5, 20, 1, 1, 0.5, 0.08);
    EXPECT_NEAR(e.EH(), 18, 1e-10);
    e.SpacingFromCapacity(0.5, 20, 0, 1, 0.5, 0.08);
    EXPECT_NEAR(e.EH(), 10, 1e-10);
    EXPECT_NEAR(e.EV(), 0.8, 1e-12);

    // Only the freeboard, or less: nothing stored.
    e.SetSecaoTriangular(true);
    e.SpacingFromCapacity(0, 20, 1, 1, 0.1, 0.08);
    EXPECT_EQ(e.EH(), 0);
    e.SpacingFromCapacity(0, 20, 1, 1, 0.05, 0.08);
    EXPECT_EQ(e.EH(), 0);

    e.SetEH(7);
    EXPECT_EQ(MensagemDe([&] { e.SpacingFromCapacity(0, 0, 1, 1, 0.5, 0.08); }),
              "Erro no cálculo do espaçamento.");
    EXPECT_EQ(MensagemDe([&] { e.SpacingFromCapacity(0, 20, 1, 1, 0.5, 0); }),
              "Erro no cálculo do espaçamento.");
    EXPECT_EQ(e.EH(), 7);
}

TEST(Espacamento, TabelasDeSolosEFatores) {
    TSolo s;
    EXPECT_EQ(s.Nome(), "Solos argilosos");
    EXPECT_EQ(s.IndiceSolo(), 2.5);
    s.SetIndex(1);
    EXPECT_EQ(s.Nome(), "Solos de textura média");
    EXPECT_EQ(s.IndiceSolo(), 3.0);
    s.SetFamilia(TSolo::FamiliaParana);
    s.SetIndex(0);
    EXPECT_EQ(s.Nome(), "Terra arenosa");
    EXPECT_EQ(s.IndiceSolo(), 0.835);
    EXPECT_EQ(MensagemDe([&] { s.SetIndex(3); }),
              "Erro. Valor inválido do índice do solo. Valores válidos: 0, 1 ou 2.");
    EXPECT_EQ(MensagemDe([&] { s.SetIndex(-1); }),
              "Erro. Valor inválido do índice do solo. Valores válidos: 0, 1 ou 2.");
    s.SetFamilia(0);
    EXPECT_EQ(MensagemDe([&] { s.SetIndex(1); }), "Erro. Metodologia de espaçamento não definida.");
    EXPECT_EQ(s.Nome(), "Terra arenosa");

    const auto& culturas = TCultura::Tabela();
    ASSERT_EQ(culturas.size(), 33u);
    EXPECT_STREQ(culturas[0].nome, "Abóbora");
    EXPECT_STREQ(culturas[32].nome, "Trigo");
    TCultura c;
    c.SelectFromTable(10);
    EXPECT_EQ(c.Nome(), "Cana-de-açúcar");
    EXPECT_EQ(c.IndiceU(), 1.25);
    c.SelectFromTable(27);
    EXPECT_EQ(c.IndiceU(), 1.75);
    c.SelectFromTable(8);
    EXPECT_EQ(c.Nome(), "Cacau");
    EXPECT_EQ(c.IndiceU(), 2.0);
    EXPECT_THROW(c.SelectFromTable(33), EVandoro);

    TResistenciaErosao r;
    r.SelectFromTable(3);
    EXPECT_EQ(r.Grupo(), " Grupo D - Muito Baixa");
    EXPECT_EQ(r.IndiceK(), 0.75);
    TPreparoDoSolo p;
    p.SelectFromTable(4);
    EXPECT_EQ(p.Grupo(), " Grupo 5");
    EXPECT_EQ(p.PreparoSecundario(),
              "Plantio sem revolvimento do solo, roçadeira rolo-faca, herbicidas  ( plantio direto )");
    EXPECT_EQ(p.IndiceM(), 2.0);
}

namespace {

TEspacamento Exemplo() {
    TEspacamento e;
    e.Metodologia().SetIndex(TMetodologiaEspacamento::LombardiNeto);
    e.SetEH(25.125);
    e.SetEV(1.5);
    e.Cultura().SelectFromTable(9);
    e.ResistenciaErosao().SelectFromTable(1);
    e.PreparoDoSolo().SelectFromTable(3);
    e.Solo().SetIndex(1);
    e.SetCapArmaz(0.75);
    e.SetAlturaTer(0.45);
    e.SetLES(33.3);
    e.SetSecaoTriangular(false);
    e.SetUsarCapArmaz(false);
    return e;
}

void EsperarIguais(const TEspacamento& a, const TEspacamento& b) {
    EXPECT_EQ(a.EH(), b.EH());
    EXPECT_EQ(a.EV(), b.EV());
    EXPECT_EQ(a.Metodologia().Index(), b.Metodologia().Index());
    EXPECT_EQ(a.Cultura().Nome(), b.Cultura().Nome());
    EXPECT_EQ(a.Cultura().Indice(), b.Cultura().Indice());
    EXPECT_EQ(a.Cultura().IndiceU(), b.Cultura().IndiceU());
    EXPECT_EQ(a.ResistenciaErosao().Grupo(), b.ResistenciaErosao().Grupo());
    EXPECT_EQ(a.ResistenciaErosao().Indice(), b.ResistenciaErosao().Indice());
    EXPECT_EQ(a.ResistenciaErosao().IndiceK(), b.ResistenciaErosao().IndiceK());
    EXPECT_EQ(a.PreparoDoSolo().Grupo(), b.PreparoDoSolo().Grupo());
    EXPECT_EQ(a.PreparoDoSolo().PreparoPrimario(), b.PreparoDoSolo().PreparoPrimario());
    EXPECT_EQ(a.PreparoDoSolo().Indice(), b.PreparoDoSolo().Indice());
    EXPECT_EQ(a.PreparoDoSolo().IndiceM(), b.PreparoDoSolo().IndiceM());
    EXPECT_EQ(a.Solo().Index(), b.Solo().Index());
    EXPECT_EQ(a.Solo().Nome(), b.Solo().Nome());
    EXPECT_EQ(a.Solo().IndiceSolo(), b.Solo().IndiceSolo());
    EXPECT_EQ(a.CapArmaz(), b.CapArmaz());
    EXPECT_EQ(a.AlturaTer(), b.AlturaTer());
    EXPECT_EQ(a.LES(), b.LES());
    EXPECT_EQ(a.SecaoTriangular(), b.SecaoTriangular());
    EXPECT_EQ(a.UsarCapArmaz(), b.UsarCapArmaz());
}

}  // namespace

TEST(Espacamento, AssignCopiaTudo) {
    TEspacamento a = Exemplo();
    TEspacamento b;
    b.Assign(a);
    EsperarIguais(a, b);
}

TEST(Espacamento, IdaEVoltaPeloProjetoNasDuasRegionais) {
    for (const Regional& r : {Regional::PtBR(), Regional::EnUS()}) {
        RegionalFixo fixo(r);
        PastaTemporaria pasta;
        const std::string arq = pasta.Arquivo("p.kzp");
        const TEspacamento a = Exemplo();
        ASSERT_TRUE(a.SaveToProject(arq));
        const std::string bytes = LerArquivo(arq);
        // Windows-1252 on disk: "Ç" is the single byte 0xC7.
        EXPECT_NE(bytes.find("[ESPA\xC7" "AMENTO]\r\n"), std::string::npos);
        EXPECT_NE(bytes.find(r.DecimalSeparator == ',' ? "EH=25,125\r\n" : "EH=25.125\r\n"),
                  std::string::npos);
        EXPECT_NE(bytes.find("GrupoSolo= Grupo B - Moderada\r\n"), std::string::npos);

        TEspacamento b;
        ASSERT_TRUE(b.LoadFromProject(arq));
        EsperarIguais(a, b);
    }
}

TEST(Espacamento, LeituraRecusaSecoesInvalidas) {
    RegionalFixo fixo(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    ASSERT_TRUE(Exemplo().SaveToProject(arq));

    auto comChave = [&](const std::string& chave, const std::string* valor) {
        const std::string copia = pasta.Arquivo("c.kzp");
        GravarArquivo(copia, LerArquivo(arq));
        {
            IniFile ini(copia);
            if (valor)
                ini.WriteString("ESPAÇAMENTO", chave, *valor);
            else
                ini.DeleteKey("ESPAÇAMENTO", chave);
        }
        return copia;
    };
    const std::string dois = "2", seis = "6", menosUm = "-1", tres = "3", dezoito = "18,5";

    TEspacamento e;
    e.SetEH(99);
    EXPECT_FALSE(e.LoadFromProject(comChave("Versao", &dois)));
    EXPECT_FALSE(e.LoadFromProject(comChave("Versao", nullptr)));
    EXPECT_FALSE(e.LoadFromProject(comChave("IndMetodologia", &seis)));
    EXPECT_FALSE(e.LoadFromProject(comChave("IndCultura", nullptr)));
    EXPECT_FALSE(e.LoadFromProject(comChave("IndErosao", &menosUm)));
    EXPECT_FALSE(e.LoadFromProject(comChave("IndPreparo", nullptr)));
    EXPECT_FALSE(e.LoadFromProject(comChave("IndSolo", nullptr)));
    EXPECT_FALSE(e.LoadFromProject(pasta.Arquivo("nao-existe.kzp")));
    // A soil index above 2 is the soil object's own error.
    EXPECT_EQ(MensagemDe([&] { e.LoadFromProject(comChave("IndSolo", &tres)); }),
              "Erro. Valor inválido do índice do solo. Valores válidos: 0, 1 ou 2.");
    EXPECT_EQ(e.EH(), 99);  // failed loads left it alone

    // The soil name and factor are recomputed from the index, not read back.
    {
        const std::string c = comChave("TipoSolo", &dezoito);
        ASSERT_TRUE(e.LoadFromProject(c));
        EXPECT_EQ(e.Solo().Nome(), "Solos de textura média");
        EXPECT_EQ(e.Solo().IndiceSolo(), 3.0);
    }
    // Negative spacings read as 0; booleans default to true.
    {
        const std::string c = comChave("EH", &menosUm);
        IniFile ini(c);
        ini.DeleteKey("ESPAÇAMENTO", "SecaoTriangular");
        ini.UpdateFile();
        ASSERT_TRUE(e.LoadFromProject(c));
        EXPECT_EQ(e.EH(), 0);
        EXPECT_TRUE(e.SecaoTriangular());
        EXPECT_FALSE(e.UsarCapArmaz());
        EXPECT_EQ(e.PreparoDoSolo().PreparoPrimario(), "Arado escarificador");
    }
}

TEST(Espacamento, LimitesDeDeclividadePorMetodo) {
    // Paraná: 20 % itself passes, anything above is refused in the unit the slope is shown in.
    EXPECT_NO_THROW(VerificarDeclividadeParana(20.0 / 100));
    EXPECT_EQ(MensagemDe([] { VerificarDeclividadeParana(0.205); }),
              "Para o método de Paraná, a declividade máxima permitida é de 20 %");
    EXPECT_EQ(MensagemDe([] { VerificarDeclividadeParana(0.21, "m/m"); }),
              "Para o método de Paraná, a declividade máxima permitida é de 0,20 m/m");

    // Bentley warns but does not refuse.
    EXPECT_EQ(AvisoDeclividadeBentley(20.0 / 100), "");
    EXPECT_EQ(AvisoDeclividadeBentley(0.25), "Para o metódo de Bentley, a declividade máxima recomendada é de 20 %");
    EXPECT_EQ(AvisoDeclividadeBentley(0.25, "m/m"),
              "Para o metódo de Bentley, a declividade máxima recomendada é de 0,20 m/m");

    // Lombardi Neto by erosion group: A 16 %, B 14 %, C and D 12 %; 15 % warns on B only.
    EXPECT_EQ(DeclividadeMaximaLombardi(0), 0.16);
    EXPECT_EQ(DeclividadeMaximaLombardi(3), 0.12);
    EXPECT_EQ(AvisoDeclividadeLombardi(0, 15.0 / 100), "");
    EXPECT_EQ(AvisoDeclividadeLombardi(0, 16.0 / 100), "");
    EXPECT_EQ(AvisoDeclividadeLombardi(1, 15.0 / 100),
              "Para o método de Lombardi Neto, a declividade máxima recomendada para o tipo de solo B "
              "(moderada resistência à erosão) é de 14%");
    EXPECT_EQ(AvisoDeclividadeLombardi(1, 0.15, "m/m"),
              "Para o método de Lombardi Neto, a declividade máxima recomendada para o tipo de solo B "
              "(moderada resistência à erosão) é de 0,14 m/m");
    EXPECT_EQ(AvisoDeclividadeLombardi(3, 0.13),
              "Para o método de Lombardi Neto, a declividade máxima recomendada para o tipo de solo D "
              "(resistência muito baixa à erosão) é de 12%");
    EXPECT_EQ(MensagemDe([] { DeclividadeMaximaLombardi(4); }),
              "Erro. Valor inválido do índice do grupo de resistência à erosão.");

    EXPECT_EQ(RecusaGrupoLombardiEmNivel(1), "");
    EXPECT_EQ(RecusaGrupoLombardiEmNivel(2),
              "Conforme recomendação de Lombardi Neto, no solo do tipo C não deve ser implantado o sistema de "
              "terraceamento em nível. Neste caso, deve ser utilizado  o terraceamento com gradiente.");
    EXPECT_NE(RecusaGrupoLombardiEmNivel(3).find("solo do tipo D não"), std::string::npos);

    // The warning follows the spacing's method and, for Lombardi Neto, its erosion group.
    TEspacamento e;
    e.Metodologia().SetIndex(TMetodologiaEspacamento::LombardiNeto);
    e.ResistenciaErosao().SelectFromTable(2);
    EXPECT_NE(AvisoDeclividade(e, 0.13).find("tipo de solo C"), std::string::npos);
    e.Metodologia().SetIndex(TMetodologiaEspacamento::Bentley);
    EXPECT_NE(AvisoDeclividade(e, 0.21).find("Bentley"), std::string::npos);
    e.Metodologia().SetIndex(TMetodologiaEspacamento::Parana);
    EXPECT_EQ(AvisoDeclividade(e, 0.5), "");
}

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestSupport.h"
#include "core/common/IniFile.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"

namespace {

TNumeroDaCurva Terreno(int uso, int trat, int cond, double vib) {
    TNumeroDaCurva n(vib);
    n.UsoDoSolo().SetIndex(uint8_t(uso));
    n.Tratamento().SetIndex(uint8_t(trat));
    n.CondicaoHidrologica().SetIndex(uint8_t(cond));
    return n;
}

TPrecipitacaoExponencialNegativa TempestadeIDF(double C = 0.75) {
    TPrecipitacaoExponencialNegativa s;
    s.SetK(1000);
    s.SetTr(10);
    s.SetA(0.15);
    s.SetB(10);
    s.SetC(C);
    s.SetDuracao(0);
    return s;
}

// One infiltration rate inside each class I1..I4.
const double kVib[4] = {2, 20, 100, 250};

struct Caso {
    int uso, trat, cond;
    int cn[4];
};

// The published table, row by row ("any" expanded by the test below).
const Caso kLinhas[] = {
    {1, 1, 1, {97, 95, 92, 86}}, {1, 1, 3, {96, 94, 90, 83}}, {1, 2, 1, {95, 93, 91, 85}},
    {1, 2, 3, {94, 92, 88, 82}}, {1, 3, 1, {92, 91, 88, 82}}, {1, 3, 3, {92, 90, 86, 79}},
    {2, 1, 1, {95, 93, 89, 82}}, {2, 1, 3, {95, 93, 88, 80}}, {2, 2, 1, {94, 92, 88, 80}},
    {2, 2, 0, {93, 92, 87, 78}}, {2, 2, 2, {93, 92, 87, 78}}, {2, 2, 3, {93, 92, 87, 78}},
    {2, 3, 1, {92, 91, 86, 78}}, {2, 3, 3, {92, 90, 85, 77}}, {3, 1, 1, {96, 94, 89, 82}},
    {3, 1, 3, {94, 92, 86, 76}}, {3, 2, 1, {94, 93, 88, 81}}, {3, 2, 3, {93, 90, 84, 74}},
    {3, 3, 1, {93, 91, 87, 80}}, {3, 3, 3, {91, 89, 83, 70}}, {4, 1, 1, {96, 94, 91, 84}},
    {4, 1, 2, {93, 91, 84, 69}}, {4, 1, 3, {91, 88, 78, 59}}, {4, 2, 1, {95, 92, 83, 67}},
    {4, 2, 2, {93, 88, 77, 43}}, {4, 2, 3, {91, 85, 55, 15}},
};

}  // namespace

TEST(NumeroDaCurva, CadaLinhaDaTabela) {
    for (const Caso& c : kLinhas)
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(Terreno(c.uso, c.trat, c.cond, kVib[k]).CurveNumber(), c.cn[k])
                << c.uso << "/" << c.trat << "/" << c.cond << " I" << k + 1;
    // Bare soil: any treatment and condition.
    const int semCultivo[4] = {98, 97, 94, 89};
    const int floresta[3][4] = {{93, 89, 82, 65}, {91, 87, 78, 56}, {89, 85, 74, 43}};
    for (int trat = 0; trat <= 3; ++trat)
        for (int k = 0; k < 4; ++k) {
            for (int cond = 0; cond <= 3; ++cond)
                EXPECT_EQ(Terreno(0, trat, cond, kVib[k]).CurveNumber(), semCultivo[k]);
            // Forest: any treatment, the condition picks the row.
            for (int cond = 1; cond <= 3; ++cond)
                EXPECT_EQ(Terreno(5, trat, cond, kVib[k]).CurveNumber(), floresta[cond - 1][k]);
            EXPECT_EQ(Terreno(5, trat, 0, kVib[k]).CurveNumber(), 0);
        }
}

TEST(NumeroDaCurva, CombinacoesForaDaTabelaDaoZero) {
    for (double vib : kVib) {
        for (int cond : {0, 2}) {
            EXPECT_EQ(Terreno(1, 1, cond, vib).CurveNumber(), 0);
            EXPECT_EQ(Terreno(3, 2, cond, vib).CurveNumber(), 0);
        }
        for (int cond = 0; cond <= 3; ++cond) {
            EXPECT_EQ(Terreno(4, 3, cond, vib).CurveNumber(), 0);  // pasture with terraces
            EXPECT_EQ(Terreno(1, 0, cond, vib).CurveNumber(), 0);  // row crop without treatment
        }
        EXPECT_EQ(Terreno(2, 1, 2, vib).CurveNumber(), 0);
        EXPECT_EQ(Terreno(4, 1, 0, vib).CurveNumber(), 0);
    }
}

TEST(NumeroDaCurva, LimitesDasClassesDeInfiltracao) {
    auto n = Terreno(0, 0, 0, 3);
    EXPECT_EQ(n.CurveNumber(), 98);
    n.SetVIB(3.0001);
    EXPECT_EQ(n.CurveNumber(), 97);
    n.SetVIB(40);
    EXPECT_EQ(n.CurveNumber(), 97);
    n.SetVIB(40.0001);
    EXPECT_EQ(n.CurveNumber(), 94);
    n.SetVIB(190);
    EXPECT_EQ(n.CurveNumber(), 94);
    n.SetVIB(190.0001);
    EXPECT_EQ(n.CurveNumber(), 89);
    n.SetVIB(-5);  // stored as 0, class I1
    EXPECT_EQ(n.VIB(), 0);
    EXPECT_EQ(n.CurveNumber(), 98);
}

TEST(NumeroDaCurva, NomesEValoresIniciais) {
    TNumeroDaCurva n;
    EXPECT_EQ(n.Tratamento().Index(), 1);
    EXPECT_EQ(n.UsoDoSolo().Name(), "Sem cultivo");
    EXPECT_EQ(TUsoDoSolo::Name(3), "Leguminosas em fileiras estreitas");
    EXPECT_EQ(TUsoDoSolo::Name(4), "Pastagem para pastoreio");
    EXPECT_EQ(TTratamento::Name(0), "");
    EXPECT_EQ(TTratamento::Name(3), "Curvas de nível e terraço");
    EXPECT_EQ(TCondicaoHidrologica::Name(0), "-");
    EXPECT_EQ(TCondicaoHidrologica::Name(1), "Má");
    EXPECT_EQ(TCondicaoHidrologica::Name(3), "Boa");
    n.Clear();
    EXPECT_EQ(n.Tratamento().Index(), 0);
}

TEST(NumeroDaCurva, AbstracaoInicial) {
    auto n = Terreno(5, 1, 3, 250);
    EXPECT_EQ(n.CurveNumber(), 43);
    EXPECT_NEAR(n.InitialAbstraction(), 67.33953488372093, 1e-10);
    EXPECT_EQ(Terreno(1, 1, 2, 20).InitialAbstraction(), 0);
}

TEST(NumeroDaCurva, TempoDeAbstracaoELaminaEscoada) {
    // Row crop on contour lines, good condition, 20 mm/h: CN 92, Ia = 4.4174 mm.
    auto n = Terreno(1, 2, 3, 20);
    ASSERT_EQ(n.CurveNumber(), 92);
    auto s = TempestadeIDF();
    const double ta = n.AbstractionTime(s);
    EXPECT_NEAR(ta, 1.1444907682944887, 1e-6);
    EXPECT_NEAR(s.CumulativeDepth(ta), n.InitialAbstraction(), 1e-6);
    // Rain up to te = 62.83 min, minus infiltration from ta to te, minus Ia.
    EXPECT_NEAR(n.RunoffDepth(s), 34.35196473290341, 1e-6);
    // A storm without duration receives the depth fallen up to te.
    EXPECT_NEAR(s.PrecipitacaoTotal(), 59.33048450228231, 1e-6);

    // CN 0: no abstraction, all rain above the infiltration losses runs off.
    auto zero = Terreno(1, 1, 2, 20);
    auto s2 = TempestadeIDF();
    EXPECT_EQ(zero.AbstractionTime(s2), 0);
    EXPECT_NEAR(zero.RunoffDepth(s2), 38.3878591144864, 1e-6);

    // A storm that never exceeds the infiltration rate.
    auto seco = Terreno(1, 2, 3, 300);
    auto s3 = TempestadeIDF();
    EXPECT_EQ(seco.RunoffDepth(s3), 0);
}

TEST(NumeroDaCurva, TempestadeQueNuncaPreencheAAbstracao) {
    // Ia beyond the first 10 min: the bracket widens (CN 15, Ia = 287.9 mm, reached after
    // about 15 days of this storm).
    auto baixo = Terreno(4, 2, 3, 250);
    ASSERT_EQ(baixo.CurveNumber(), 15);
    auto s = TempestadeIDF();
    const double ta = baixo.AbstractionTime(s);
    EXPECT_GT(ta, 10);
    EXPECT_NEAR(s.CumulativeDepth(ta), baixo.InitialAbstraction(), 1e-6);
    // With C = 1 the depth tends to KTr/60 = 23.5 mm and never fills Ia = 67.3 mm, although
    // the intensity starts at KTr/B = 706 mm/h, above the infiltration rate.
    auto floresta = Terreno(5, 1, 3, 250);
    auto limitada = TempestadeIDF(1.0);
    limitada.SetB(2);
    EXPECT_TRUE(std::isinf(floresta.AbstractionTime(limitada)));
    EXPECT_GT(RunoffEndTime(limitada, 250), 1);
    EXPECT_EQ(floresta.RunoffDepth(limitada), 0);
    // The double-exponential storm stops raining at its duration.
    TPrecipitacaoDuplaExponencial d;
    d.SetA(2);
    d.SetB(3);
    d.SetC(16);
    d.SetD(4);
    d.SetPrecipitacaoTotal(100);
    d.SetDuracao(2);
    d.SetTempoPico(0.3);
    d.SetIntensidadePico(300);
    auto pasto = Terreno(4, 2, 3, 250);  // Ia 287.9 mm > 210 mm of the whole storm
    EXPECT_TRUE(std::isinf(pasto.AbstractionTime(d)));
    EXPECT_GT(RunoffEndTime(d, 250), 0);
    EXPECT_EQ(pasto.RunoffDepth(d), 0);
}

TEST(NumeroDaCurva, AssignCopiaTudo) {
    auto n = Terreno(3, 2, 1, 33);
    n.SetSt(0.08);
    n.nt() = TReal(0.035, 4);
    n.SetSectionSuffix("_s");
    TNumeroDaCurva c;
    c.Assign(n);
    EXPECT_EQ(c.UsoDoSolo().Index(), 3);
    EXPECT_EQ(c.Tratamento().Index(), 2);
    EXPECT_EQ(c.CondicaoHidrologica().Index(), 1);
    EXPECT_EQ(c.VIB(), 33);
    EXPECT_EQ(c.St(), 0.08);
    EXPECT_EQ(c.nt().Value(), 0.035);
    EXPECT_EQ(c.nt().Index(), 4);
    EXPECT_EQ(c.SectionSuffix(), "_s");
}

class NumeroDaCurvaArquivo : public ::testing::TestWithParam<bool> {};

TEST_P(NumeroDaCurvaArquivo, IdaEVolta) {
    RegionalFixo fixo(GetParam() ? Regional::PtBR() : Regional::EnUS());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    auto n = Terreno(4, 2, 2, 12.5);
    n.SetSt(0.125);
    n.nt() = TReal(0.03, -1);  // typed by the user
    ASSERT_TRUE(n.SaveToProject(arq));
    const std::string texto = LerArquivo(arq);
    EXPECT_NE(texto.find("[Cobertura]\r\nVersao=1\r\nIndUso=4\r\nIndCond=2\r\nIndTrat=2\r\n"), std::string::npos)
        << texto;
    EXPECT_NE(texto.find(GetParam() ? "VIB=12,5\r\n" : "VIB=12.5\r\n"), std::string::npos) << texto;
    TNumeroDaCurva l;
    ASSERT_TRUE(l.LoadFromProject(arq));
    EXPECT_EQ(l.UsoDoSolo().Index(), 4);
    EXPECT_EQ(l.Tratamento().Index(), 2);
    EXPECT_EQ(l.CondicaoHidrologica().Index(), 2);
    EXPECT_EQ(l.VIB(), 12.5);
    EXPECT_EQ(l.St(), 0.125);
    EXPECT_EQ(l.nt().Value(), 0.03);
    EXPECT_EQ(l.nt().Index(), -1);
    EXPECT_EQ(l.CurveNumber(), 88);
}

INSTANTIATE_TEST_SUITE_P(Regionais, NumeroDaCurvaArquivo, ::testing::Values(true, false),
                         [](const auto& i) { return i.param ? "ptBR" : "enUS"; });

TEST(NumeroDaCurvaArquivo, VerificacoesDaLeitura) {
    RegionalFixo fixo(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    const std::string terreno = "[Terreno]\r\nVersao=1\r\nVIB=-4\r\nSt=0,1\r\nnt=0,02\r\nIndnt=2\r\n";
    TNumeroDaCurva n;
    GravarArquivo(arq, "[Cobertura]\r\nVersao=1\r\nIndUso=1\r\nIndCond=3\r\nIndTrat=2\r\n" + terreno);
    ASSERT_TRUE(n.LoadFromProject(arq));
    EXPECT_EQ(n.VIB(), 0);  // negative read as 0
    EXPECT_EQ(n.nt().Index(), 2);
    for (const char* cob : {"Versao=2\r\nIndUso=1\r\nIndCond=3\r\nIndTrat=2\r\n",
                            "Versao=1\r\nIndUso=6\r\nIndCond=3\r\nIndTrat=2\r\n",
                            "Versao=1\r\nIndUso=1\r\nIndCond=4\r\nIndTrat=2\r\n",
                            "Versao=1\r\nIndUso=1\r\nIndCond=3\r\nIndTrat=-1\r\n",
                            "Versao=1\r\nIndUso=1\r\nIndCond=3\r\n", "Versao=1\r\nIndUso=x\r\nIndCond=3\r\nIndTrat=2\r\n"}) {
        GravarArquivo(arq, std::string("[Cobertura]\r\n") + cob + terreno);
        EXPECT_FALSE(n.LoadFromProject(arq)) << cob;
    }
    const std::string cob = "[Cobertura]\r\nVersao=1\r\nIndUso=1\r\nIndCond=3\r\nIndTrat=2\r\n";
    GravarArquivo(arq, cob + "[Terreno]\r\nVIB=4\r\n");  // no Indnt
    EXPECT_FALSE(n.LoadFromProject(arq));
    GravarArquivo(arq, cob + "[Terreno]\r\nVIB=4\r\nIndnt=-2\r\n");
    EXPECT_FALSE(n.LoadFromProject(arq));
}

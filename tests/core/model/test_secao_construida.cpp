// The terrace as built, worked by hand: ridge and cut of a triangular and a trapezoidal section
// at two terrain slopes, a bench, the checks that refuse a section, and the types a criterion's
// text builds.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/model/DesenhoSecao.h"
#include "core/model/SecaoConstruida.h"

namespace {

TDadosSecao Triangular(double hr, double sm, double st) {
    TDadosSecao d;
    d.hr = hr;
    d.sm = sm;
    d.st = st;
    return d;
}

}  // namespace

TEST(SecaoConstruida, ATriangularSectionByHand) {
    // Hr 0.5 m against a ridge face Sm 0.25 on ground at 5 %. Crest at x = 0, hc over the
    // ground; the upstream face meets the ground at x_u = -hc/(Sm + St) = -hc/0.30, which lies
    // hc·St/(Sm + St) above the ground at the crest, so the water at the face is hc·0.25/0.30
    // deep: hc = 0.5 · 0.30 / 0.25 = 0.6 m. The downstream face meets it at hc/(Sm - St) =
    // 0.6/0.20 = 3 m; x_u = -2 m: a 5 m base, and the triangle is 0.6 · 5 / 2 = 1.5 m².
    TDadosSecao d = Triangular(0.5, 0.25, 0.05);
    d.largura = 12;  // broad base
    TSecaoConstruida s = SecaoConstruida(d);
    EXPECT_NEAR(s.alturaCamalhao, 0.6, 1e-12);
    EXPECT_NEAR(s.baseCamalhao, 5.0, 1e-12);
    EXPECT_NEAR(s.areaAterro, 1.5, 1e-12);
    EXPECT_NEAR(s.areaCorte, 1.5, 1e-12);  // balanced, no swell
    // The cut fills the 12 - 5 = 7 m the ridge leaves, deepest at its toe: 2 · 1.5 / 7.
    EXPECT_NEAR(s.larguraCorte, 7, 1e-12);
    EXPECT_NEAR(s.profundidadeCorte, 3.0 / 7, 1e-12);
    EXPECT_NEAR(s.larguraTotal, 12, 1e-12);
    EXPECT_EQ(s.problema, "");
    // Swollen soil: 1.25 m³ of fill per m³ cut, so 1.2 m² cut for the same ridge.
    d.empolamento = 1.25;
    s = SecaoConstruida(d);
    EXPECT_NEAR(s.areaAterro, 1.5, 1e-12);
    EXPECT_NEAR(s.areaCorte, 1.2, 1e-12);
    EXPECT_NEAR(s.profundidadeCorte, 2.4 / 7, 1e-12);

    // At 10 %: hc = 0.5 · 0.35 / 0.25 = 0.7 m; the faces meet the ground 0.7/0.15 = 4.667 m
    // below and 0.7/0.35 = 2 m above: 6.667 m of base, 0.7 · 6.667 / 2 = 2.333 m².
    s = SecaoConstruida(Triangular(0.5, 0.25, 0.10));
    EXPECT_NEAR(s.alturaCamalhao, 0.7, 1e-12);
    EXPECT_NEAR(s.baseCamalhao, 0.7 / 0.15 + 2, 1e-12);
    EXPECT_NEAR(s.areaAterro, 0.35 * (0.7 / 0.15 + 2), 1e-12);
    // The type's width unknown: the soil moved is known, the cut's shape is not.
    EXPECT_EQ(s.larguraCorte, 0);
    EXPECT_EQ(s.larguraTotal, 0);
}

TEST(SecaoConstruida, ATrapezoidalSectionByHand) {
    // A channel 0.5 m wide at the bottom, sides 1.5 H : 1 V, 0.4 m deep: (0.5 + 1.5 · 0.4) · 0.4
    // = 0.44 m² dug. The ridge takes it as a triangle with faces 1/1.5 = 0.667 V:H; on ground at
    // 5 % its base is hc (1/0.6167 + 1/0.7167) = 3.0170 hc, so 0.44 = 3.0170 hc² / 2 gives
    // hc = 0.5401 m and a 1.6294 m base.
    TDadosSecao d;
    d.triangular = false;
    d.hr = 0.4;
    d.b = 0.5;
    d.z = 1.5;
    d.st = 0.05;
    TSecaoConstruida s = SecaoConstruida(d);
    EXPECT_NEAR(s.areaCorte, 0.44, 1e-12);
    EXPECT_NEAR(s.areaAterro, 0.44, 1e-12);
    EXPECT_NEAR(s.alturaCamalhao, 0.5401, 1e-4);
    EXPECT_NEAR(s.baseCamalhao, 1.6294, 1e-4);
    // At 10 %: 1/0.5667 + 1/0.7667 = 3.0691, hc = √(0.88 / 3.0691) = 0.5355 m.
    d.st = 0.10;
    s = SecaoConstruida(d);
    EXPECT_NEAR(s.areaCorte, 0.44, 1e-12);
    EXPECT_NEAR(s.alturaCamalhao, 0.5355, 1e-4);
    EXPECT_NEAR(s.baseCamalhao, 0.5355 * 3.0691, 1e-3);
    // The cut is the channel: 0.5 + 2 · 1.5 · 0.4 = 1.7 m across, 0.4 m deep; beside the ridge
    // it takes 1.7 + 1.6435 = 3.34 m, more than a narrow base's 3 m.
    EXPECT_NEAR(s.larguraCorte, 1.7, 1e-12);
    EXPECT_NEAR(s.profundidadeCorte, 0.4, 1e-12);
    EXPECT_NEAR(s.larguraTotal, 1.7 + s.baseCamalhao, 1e-12);
    EXPECT_EQ(s.problema, "");
    RegionalFixo pt(Regional::PtBR());
    d.tipo = TTipoConstrutivo::BaseEstreita;
    d.largura = 3;
    EXPECT_EQ(SecaoConstruida(d).problema,
              "O canal (1,70 m) e o camalhão (1,64 m) não cabem na largura de 3,00 m do terraço de base estreita.");
    d.largura = 6;
    EXPECT_EQ(SecaoConstruida(d).problema, "");
}

TEST(SecaoConstruida, ABenchAndTheSectionsThatCannotBeBuilt) {
    RegionalFixo pt(Regional::PtBR());
    // An 8 m level bench on 25 %: each half is a triangle 4 m wide and 1 m high, 2 m².
    TDadosSecao bancada;
    bancada.tipo = TTipoConstrutivo::Patamar;
    bancada.st = 0.25;
    bancada.eh = 8;
    TSecaoConstruida s = SecaoConstruida(bancada);
    EXPECT_NEAR(s.areaCorte, 2, 1e-12);
    EXPECT_NEAR(s.profundidadeCorte, 1, 1e-12);
    EXPECT_NEAR(s.larguraTotal, 8, 1e-12);

    // A ridge face no steeper than the ground never comes back down to it.
    EXPECT_EQ(SecaoConstruida(Triangular(0.5, 0.05, 0.05)).problema,
              "A face do camalhão (0,05 m/m) não é mais inclinada que o terreno (0,05 m/m): o camalhão não se fecha "
              "sobre o terreno.");
    // The 5 m ridge of the worked example in a narrow base's 3 m.
    TDadosSecao d = Triangular(0.5, 0.25, 0.05);
    d.tipo = TTipoConstrutivo::BaseEstreita;
    d.largura = 3;
    EXPECT_EQ(SecaoConstruida(d).problema, "O camalhão (base de 5,00 m) não cabe na largura de 3,00 m do terraço de "
                                           "base estreita.");
    // A broad base of 12 m between terraces 10 m apart.
    d.tipo = TTipoConstrutivo::BaseLarga;
    d.largura = 12;
    d.eh = 10;
    EXPECT_EQ(SecaoConstruida(d).problema, "A faixa movimentada (12,00 m) é mais larga que o espaçamento entre "
                                           "terraços (10,00 m): o corte avançaria sobre o terraço de cima.");
    // Faces steeper than 1:1 in loose soil.
    EXPECT_EQ(SecaoConstruida(Triangular(0.5, 1.5, 0.05)).problema,
              "A face do camalhão é mais íngreme que 1:1: o solo solto não se sustenta.");
    d.empolamento = 0;
    EXPECT_ERRO(EVandoro, "Fator de empolamento inválido: use um valor maior que zero.", SecaoConstruida(d));
}

TEST(SecaoConstruida, EachCriterionTextBuildsItsTypes) {
    const auto partes = [](const std::string& t) { return ComposicaoDoTipo(t).partes; };
    using T = TTipoConstrutivo;
    const auto dois = partes("Dois terraços de base larga e um terraço Tipo murundum (intercalados)");
    ASSERT_EQ(dois.size(), 2u);
    EXPECT_EQ(dois[0].first, T::BaseLarga);
    EXPECT_NEAR(dois[0].second, 2.0 / 3, 1e-12);
    EXPECT_EQ(dois[1].first, T::Murundum);
    EXPECT_NEAR(dois[1].second, 1.0 / 3, 1e-12);
    const auto um = partes("Um terraço de base larga e um terraço Tipo murundum (intercalados)");
    ASSERT_EQ(um.size(), 2u);
    EXPECT_NEAR(um[0].second, 0.5, 1e-12);
    EXPECT_TRUE(ComposicaoDoTipo("Um terraço de base larga e um terraço Tipo murundum (intercalados)").Misto());
    EXPECT_EQ(partes("Terraços de Base Estreita (incluindo terraço Tipo embutido, leirão ou murundum)")[0].first,
              T::BaseEstreita);
    EXPECT_EQ(partes("Terraços de Base Média")[0].first, T::BaseMedia);
    EXPECT_EQ(partes("Terraços de base larga sem captação de água externa à propriedade")[0].first, T::BaseLarga);
    EXPECT_EQ(partes("Terraços Tipo Murundum")[0].first, T::Murundum);
    EXPECT_EQ(partes("Terraço em patamar")[0].first, T::Patamar);
    EXPECT_TRUE(partes("").empty());
}

namespace {
double Area(const std::vector<TPontoSecao>& p) {
    double a = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const TPontoSecao &u = p[i], &v = p[(i + 1) % p.size()];
        a += u.x * v.z - v.x * u.z;
    }
    return std::abs(a) / 2;
}
}  // namespace

TEST(SecaoConstruida, TheDrawingEnclosesTheAreasItsDimensionsName) {
    RegionalFixo pt(Regional::PtBR());
    // The worked triangular section in a broad base: the drawn ridge and cut hold the computed
    // areas, the ridge stands hc over the ground at the crest and Hr over its upstream toe.
    TDadosSecao d = Triangular(0.5, 0.25, 0.05);
    d.largura = 12;
    d.empolamento = 1.2;
    TSecaoConstruida s = SecaoConstruida(d);
    TDesenhoSecao g = DesenhoSecao(d, s);
    EXPECT_NEAR(Area(g.aterro), s.areaAterro, 1e-9);
    EXPECT_NEAR(Area(g.corte), s.areaCorte, 1e-9);
    EXPECT_NEAR(g.aterro[1].z, 0.6, 1e-12);
    EXPECT_NEAR(g.aterro[1].z - g.aterro[0].z, 0.5, 1e-12);
    // The strip spans the type's width, and the figure shows it all.
    EXPECT_NEAR(g.aterro[2].x - g.corte[0].x, 12, 1e-9);
    EXPECT_LT(g.xMin, g.corte[0].x);
    EXPECT_GT(g.xMax, g.aterro[2].x);
    ASSERT_GE(g.cotas.size(), 3u);
    EXPECT_EQ(g.cotas[1].texto, "Hr 0,50 m");
    // The trapezoidal channel on level ground: exactly (B + Z·Hr)·Hr.
    TDadosSecao t;
    t.triangular = false;
    t.hr = 0.4;
    t.b = 0.5;
    t.z = 1.5;
    s = SecaoConstruida(t);
    g = DesenhoSecao(t, s);
    EXPECT_NEAR(Area(g.corte), 0.44, 1e-9);
    EXPECT_NEAR(Area(g.aterro), 0.44, 1e-9);
    // The bench: two triangles of EH²·St/8.
    TDadosSecao b;
    b.tipo = TTipoConstrutivo::Patamar;
    b.st = 0.25;
    b.eh = 8;
    g = DesenhoSecao(b, SecaoConstruida(b));
    EXPECT_NEAR(Area(g.corte), 2, 1e-9);
    EXPECT_NEAR(Area(g.aterro), 2, 1e-9);
    // A ridge that never closes draws nothing.
    EXPECT_TRUE(DesenhoSecao(Triangular(0.5, 0.05, 0.05), SecaoConstruida(Triangular(0.5, 0.05, 0.05))).perfil.empty());
}

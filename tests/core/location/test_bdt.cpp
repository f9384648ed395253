#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"
#include "core/location/BDT.h"

namespace {
TRegTerr* Reg(int id, double base) {
    auto* r = new TRegTerr;
    r->id = id;
    r->level = base;
    r->slope = base + 1;
    r->length = base + 2;
    r->area = base + 3;
    r->EV = base + 4;
    r->height = base + 5;
    return r;
}
}  // namespace

TEST(BDT, IdaEVoltaComLayoutFixo) {
    PastaTemporaria tmp;
    TBDT t;
    t.Add(Reg(1, 100.5));
    t.Add(Reg(2, 99.25));
    t.SaveToFile(tmp.Arquivo("t.bdt"));
    std::string b = LerArquivo(tmp.Arquivo("t.bdt"));
    ASSERT_EQ(b.size(), 5u + 2 * 52u);
    EXPECT_EQ(b[0], 1);
    int32_t n, id2;
    std::memcpy(&n, b.data() + 1, 4);
    std::memcpy(&id2, b.data() + 57, 4);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(id2, 2);
    double ev1;
    std::memcpy(&ev1, b.data() + 5 + 4 + 4 * 8, 8);
    EXPECT_DOUBLE_EQ(ev1, 104.5);

    TBDT l;
    ASSERT_TRUE(l.LoadFromFile(tmp.Arquivo("t.bdt")));
    ASSERT_EQ(l.Count(), 2);
    EXPECT_EQ(l.Item(2)->id, 2);
    EXPECT_DOUBLE_EQ(l.Item(2)->level, 99.25);
    EXPECT_DOUBLE_EQ(l.Item(2)->height, 104.25);
    EXPECT_DOUBLE_EQ(l.Item(1)->slope, 101.5);
    // Loading appends.
    ASSERT_TRUE(l.LoadFromFile(tmp.Arquivo("t.bdt")));
    EXPECT_EQ(l.Count(), 4);
}

TEST(BDT, ArquivoEstranhoOuCurtoDaFalso) {
    PastaTemporaria tmp;
    TBDT t;
    t.Add(Reg(1, 1));
    t.SaveToFile(tmp.Arquivo("t.bdt"));
    std::string b = LerArquivo(tmp.Arquivo("t.bdt"));

    TBDT l;
    l.Add(Reg(9, 9));
    std::string v2 = b;
    v2[0] = 2;
    GravarArquivo(tmp.Arquivo("v2.bdt"), v2);
    EXPECT_FALSE(l.LoadFromFile(tmp.Arquivo("v2.bdt")));
    GravarArquivo(tmp.Arquivo("curto.bdt"), b.substr(0, b.size() - 1));
    EXPECT_FALSE(l.LoadFromFile(tmp.Arquivo("curto.bdt")));
    // A count far beyond the file's size must not allocate or append anything.
    std::string falso = b;
    int32_t enorme = 2000000000;
    std::memcpy(&falso[1], &enorme, 4);
    GravarArquivo(tmp.Arquivo("falso.bdt"), falso);
    EXPECT_FALSE(l.LoadFromFile(tmp.Arquivo("falso.bdt")));
    GravarArquivo(tmp.Arquivo("vazio.bdt"), "");
    EXPECT_FALSE(l.LoadFromFile(tmp.Arquivo("vazio.bdt")));
    EXPECT_FALSE(l.LoadFromFile(tmp.Arquivo("nao_existe.bdt")));
    ASSERT_EQ(l.Count(), 1);
    EXPECT_EQ(l.Item(1)->id, 9);
}

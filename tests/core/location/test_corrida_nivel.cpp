#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "CamposLocacao.h"
#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/Progresso.h"
#include "core/location/CorridaNivel.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"

namespace {

// A cone of slope 0.1 on 80 x 80 one-metre cells, 30 m at the top.
const Campo kCone = [](double x, double y) {
    const double r = std::hypot(x - 40.5, y - 40.5);
    return r > 38 ? 0.0 : 30 - 0.1 * r;
};
// Two hills of different height on 100 x 100 cells.
const Campo kMorros = [](double x, double y) {
    const double a = std::hypot(x - 30, y - 35), b = std::hypot(x - 70, y - 65);
    return 10 + 25 * std::exp(-a * a / 400) + 15 * std::exp(-b * b / 300);
};

// Asks for a stop after a number of breaths, and keeps every count it is told.
class Progresso : public IProgresso {
public:
    explicit Progresso(int pararApos = -1) : pararApos_(pararApos) {}
    void ProcessEvents() override { ++respiros; }
    void SetCount(int n) override { contagens.push_back(n); }
    bool StopRequested() const override { return pararApos_ >= 0 && respiros >= pararApos_; }
    int respiros = 0;
    std::vector<int> contagens;

private:
    int pararApos_;
};

}  // namespace

TEST(CorridaNivel, NothingOfAnEarlierRunCarriesOverToTheNext) {
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("m.asc"), 100, 100, 1.0, kMorros);
    GravarDeclividade(pasta.Arquivo("md.asc"), 100, 100, 1.0, kMorros);
    GravarAsc(pasta.Arquivo("c.asc"), 80, 80, 1.0, kCone);
    GravarDeclividade(pasta.Arquivo("cd.asc"), 80, 80, 1.0, kCone);

    // The same object: a run cancelled a few breaths in, on other land with another method,
    // then the cone.
    TLocacaoNivel usado;
    Modelo m0(0);
    Progresso parar(5);
    usado.SetProgresso(&parar);
    ProcessarLocacao(usado, pasta.Arquivo("m.asc"), pasta.Arquivo("md.asc"), m0.chuva, m0.cn, m0.terracos,
                     pasta.Arquivo("m.vet"));
    ASSERT_TRUE(usado.StopRequested());
    usado.SetProgresso(nullptr);
    Modelo m1(3, 1.0);
    ProcessarLocacao(usado, pasta.Arquivo("c.asc"), pasta.Arquivo("cd.asc"), m1.chuva, m1.cn, m1.terracos,
                     pasta.Arquivo("u.vet"));

    TLocacaoNivel novo;
    Modelo m2(3, 1.0);
    ProcessarLocacao(novo, pasta.Arquivo("c.asc"), pasta.Arquivo("cd.asc"), m2.chuva, m2.cn, m2.terracos,
                     pasta.Arquivo("n.vet"));

    EXPECT_FALSE(usado.StopRequested());
    ASSERT_EQ(usado.Registros().Count(), 3);
    ASSERT_EQ(novo.Registros().Count(), 3);
    for (int i = 1; i <= 3; ++i) {
        const TRegTerr &a = *usado.Registros().Item(i), &b = *novo.Registros().Item(i);
        EXPECT_EQ(a.id, b.id);
        EXPECT_EQ(a.level, b.level);
        EXPECT_EQ(a.slope, b.slope);
        EXPECT_EQ(a.length, b.length);
        EXPECT_EQ(a.area, b.area);
        EXPECT_EQ(a.EV, b.EV);
        EXPECT_EQ(a.height, b.height);
    }
    ASSERT_EQ(usado.LinhasMapa().size(), novo.LinhasMapa().size());
    for (size_t i = 0; i < novo.LinhasMapa().size(); ++i) {
        EXPECT_EQ(usado.LinhasMapa()[i].x, novo.LinhasMapa()[i].x);
        EXPECT_EQ(usado.LinhasMapa()[i].y, novo.LinhasMapa()[i].y);
    }
    EXPECT_EQ(usado.MapaFaixas().colunas, 80);
    EXPECT_EQ(usado.MapaFaixas().terraco, novo.MapaFaixas().terraco);
    EXPECT_EQ(usado.Origens().size(), novo.Origens().size());
    EXPECT_EQ(usado.TerraceCount(), novo.TerraceCount());
    EXPECT_EQ(usado.Progress(), novo.Progress());
    EXPECT_EQ(usado.StatusText(), novo.StatusText());
    EXPECT_EQ(usado.CommittedArea(), novo.CommittedArea());
    EXPECT_EQ(usado.ProcessedArea(), novo.ProcessedArea());
    EXPECT_EQ(usado.CelulasCampo(), novo.CelulasCampo());
    EXPECT_EQ(usado.PecasDescartadas(), novo.PecasDescartadas());
    EXPECT_EQ(usado.AreaDescoberta(), novo.AreaDescoberta());
    EXPECT_EQ(usado.EncerradaNoLimite(), novo.EncerradaNoLimite());
    EXPECT_EQ(usado.ParouNoLimiteDeTerracos(), novo.ParouNoLimiteDeTerracos());
    EXPECT_EQ(usado.AvisoResolucao(), novo.AvisoResolucao());
    EXPECT_EQ(usado.RunElevPath(), pasta.Arquivo("c.asc"));
    EXPECT_EQ(usado.ArquivoBDT(), pasta.Arquivo("u.bdt"));
    EXPECT_EQ(LerArquivo(pasta.Arquivo("u.vet")), LerArquivo(pasta.Arquivo("n.vet")));
    EXPECT_EQ(LerArquivo(pasta.Arquivo("u.bdt")), LerArquivo(pasta.Arquivo("n.bdt")));
}

TEST(CorridaNivel, AFailedRunLeavesTheRunoffSlopeAsItFoundIt) {
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("c.asc"), 80, 80, 1.0, kCone);
    GravarDeclividade(pasta.Arquivo("cd.asc"), 80, 80, 1.0, kCone);
    GravarAsc(pasta.Arquivo("zero.asc"), 80, 80, 1.0, [](double, double) { return -1.0; });
    Modelo m(3, 1.0);
    TLocacaoNivel loc;
    ProcessarLocacao(loc, pasta.Arquivo("c.asc"), pasta.Arquivo("cd.asc"), m.chuva, m.cn, m.terracos,
                     pasta.Arquivo("s.vet"));
    // A finished run leaves the field's mean slope, in %.
    EXPECT_NEAR(m.cn.St(), 10, 0.5);
    m.cn.SetSt(0.05);
    EXPECT_EQ(MensagemDe([&] {
                  ProcessarLocacao(loc, pasta.Arquivo("c.asc"), pasta.Arquivo("zero.asc"), m.chuva, m.cn, m.terracos,
                                   pasta.Arquivo("s.vet"));
              }),
              "A imagem de declividade não tem nenhum valor diferente de zero.");
    EXPECT_EQ(m.cn.St(), 0.05);
    EXPECT_EQ(loc.Registros().Count(), 0);
}

TEST(CorridaNivel, TheChannelHearsEveryLineNumberGivenAndTakenBack) {
    PastaTemporaria pasta;
    GravarAsc(pasta.Arquivo("c.asc"), 80, 80, 1.0, kCone);
    GravarDeclividade(pasta.Arquivo("cd.asc"), 80, 80, 1.0, kCone);
    Modelo m(3, 1.0);
    Progresso p;
    TLocacaoNivel loc;
    loc.SetProgresso(&p);
    ProcessarLocacao(loc, pasta.Arquivo("c.asc"), pasta.Arquivo("cd.asc"), m.chuva, m.cn, m.terracos,
                     pasta.Arquivo("s.vet"));
    ASSERT_FALSE(p.contagens.empty());
    EXPECT_EQ(p.contagens.front(), 1);
    EXPECT_EQ(p.contagens.back(), loc.TerraceCount());
    for (size_t i = 1; i < p.contagens.size(); ++i) EXPECT_EQ(std::abs(p.contagens[i] - p.contagens[i - 1]), 1);
}

TEST(CorridaNivel, EdgeCodesAreFoundAfterTheTableGrowsAndNoneIsInventedOrCountedTwice) {
    // Codes of a 6560-column grid as the lines mark them, some twice, through many doublings.
    std::mt19937_64 gerador(7);
    std::uniform_int_distribution<int64_t> codigo(0, int64_t(6560) * 4560 * 4);
    TConjuntoCodigos c;
    std::set<int64_t> certo;
    EXPECT_FALSE(c.Contem(0));
    for (int i = 0; i < 200000; ++i) {
        const int64_t v = i % 5 == 4 ? *certo.begin() : codigo(gerador);
        c.Inserir(v);
        certo.insert(v);
    }
    c.Inserir(0);
    certo.insert(0);
    EXPECT_EQ(c.Tamanho(), certo.size());
    for (int64_t v : certo) ASSERT_TRUE(c.Contem(v)) << v;
    int fora = 0;
    for (int i = 0; i < 200000; ++i) {
        const int64_t v = codigo(gerador);
        if (!certo.count(v)) fora += c.Contem(v);
    }
    EXPECT_EQ(fora, 0);
}

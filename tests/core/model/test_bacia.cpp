#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/model/BaciaAcumulacao.h"

namespace {

// What the sizing window sets before computing a basin.
void Janela(TBaciaAcumulacao& b, std::uint8_t formato, double h, double m1, double m2, double V) {
    b.SetFormato(formato);
    b.SetProfundidade(h);
    b.Setm1(m1);
    b.Setm2(m2);
    b.SetMultiplicadorVolume(1);
    b.SetVolume(V);
    auto& c = b.Canal();
    c.Z().SetValue(1);
    c.SetB(1);
    c.nc().SetValue(1);
    c.SetSc(1);
    c.Sm().SetValue(1);
}

}  // namespace

TEST(BaciaAcumulacao, DimensoesDosDoisFormatos) {
    TBaciaAcumulacao b;
    EXPECT_EQ(b.Formato(), TBaciaAcumulacao::SemiCircular);
    EXPECT_TRUE(b.CalcularVolume());
    EXPECT_EQ(TBaciaAcumulacao::NomeFormato(0), " Retangular");
    EXPECT_EQ(TBaciaAcumulacao::NomeFormato(1), " Semi-Circular");

    // Trench of triangular section: base (2 + 2)·1 = 4 m, so 100 m³ need 50 m of width.
    Janela(b, TBaciaAcumulacao::Retangular, 1, 2, 2, 100);
    b.ComputeBasin(1);
    EXPECT_DOUBLE_EQ(b.Comprimento(), 4);
    EXPECT_DOUBLE_EQ(b.Largura(), 50);
    EXPECT_DOUBLE_EQ(b.Largura() * b.Comprimento() * b.Profundidade() / 2, 100);
    // Unit channel, 45° walls: A = y², R = y/(2√2), y²·R^(2/3) = 1 gives y = 2^(3/8); in cm.
    EXPECT_NEAR(b.ProfundidadeCanal(), 100 * std::pow(2.0, 3.0 / 8.0), 1e-9);

    // Semicircle: π·R²·h/4 = 100 m³.
    Janela(b, TBaciaAcumulacao::SemiCircular, 1, 0, 0, 100);
    b.ComputeBasin(1);
    EXPECT_NEAR(b.Raio(), 11.28, 0.005);
    EXPECT_DOUBLE_EQ(b.Raio(), std::sqrt(400 / std::numbers::pi));
    EXPECT_DOUBLE_EQ(b.Comprimento(), b.Raio());
    EXPECT_DOUBLE_EQ(b.Largura(), 50);  // left from the rectangle

    // The multiplier scales the stored volume.
    b.SetMultiplicadorVolume(4);
    b.ComputeBasin(1);
    EXPECT_DOUBLE_EQ(b.Raio(), 2 * std::sqrt(400 / std::numbers::pi));

    // Another shape only computes the channel depth.
    b.SetFormato(7);
    b.SetProfundidade(2);
    b.ComputeBasin(1);
    EXPECT_DOUBLE_EQ(b.Raio(), 2 * std::sqrt(400 / std::numbers::pi));
}

TEST(BaciaAcumulacao, FalhasAritmeticas) {
    TBaciaAcumulacao b;
    Janela(b, TBaciaAcumulacao::Retangular, 0, 2, 2, 100);
    EXPECT_THROW(b.ComputeBasin(1), EAritmetico);
    Janela(b, TBaciaAcumulacao::Retangular, 1, 0, 0, 100);
    EXPECT_THROW(b.ComputeBasin(1), EAritmetico);
    Janela(b, TBaciaAcumulacao::SemiCircular, 0, 0, 0, 100);
    EXPECT_THROW(b.ComputeBasin(1), EAritmetico);
    // A cleared basin has no channel to compute with.
    b.Clear();
    EXPECT_ERRO(EVandoro, "Erro no dimensinamento de canal", b.ComputeBasin(1));
    // Negative geometry is not kept.
    b.SetProfundidade(-1);
    b.Setm1(-2);
    b.SetVolume(-5);
    EXPECT_EQ(b.Profundidade(), 0);
    EXPECT_EQ(b.m1(), 0);
    EXPECT_EQ(b.Volume(), 0);
}

TEST(BaciaAcumulacao, ClearEAssign) {
    TBaciaAcumulacao a;
    Janela(a, TBaciaAcumulacao::Retangular, 1, 2, 2, 100);
    a.ComputeBasin(1);
    a.SetCalcularVolume(false);
    TBaciaAcumulacao b;
    b.Assign(a);
    EXPECT_DOUBLE_EQ(b.Largura(), 50);
    EXPECT_DOUBLE_EQ(b.Comprimento(), 4);
    EXPECT_DOUBLE_EQ(b.Volume(), 100);
    EXPECT_EQ(b.MultiplicadorVolume(), 1);
    EXPECT_DOUBLE_EQ(b.Canal().Sc(), 1);
    EXPECT_FALSE(b.CalcularVolume());
    EXPECT_EQ(b.ProfundidadeCanal(), 0);  // a result of the source's own computation
    // The copy computes like the original and leaves it alone.
    b.SetProfundidade(2);
    b.ComputeBasin(1);
    EXPECT_DOUBLE_EQ(b.Comprimento(), 8);
    EXPECT_DOUBLE_EQ(a.Comprimento(), 4);

    a.Clear();
    EXPECT_EQ(a.Largura(), 0);
    EXPECT_EQ(a.Volume(), 0);
    EXPECT_EQ(a.MultiplicadorVolume(), 0);
    EXPECT_EQ(a.Canal().Sc(), 0);
    EXPECT_EQ(a.Formato(), TBaciaAcumulacao::SemiCircular);
    EXPECT_TRUE(a.CalcularVolume());
    EXPECT_DOUBLE_EQ(a.Comprimento(), 4);  // not cleared
}

class BaciaArquivo : public ::testing::TestWithParam<bool> {};

TEST_P(BaciaArquivo, IdaEVoltaComCanal) {
    RegionalFixo fixo(GetParam() ? Regional::PtBR() : Regional::EnUS());
    PastaTemporaria pasta;
    const std::string f = pasta.Arquivo("p.kzp");
    TBaciaAcumulacao b;
    Janela(b, TBaciaAcumulacao::Retangular, 1.25, 2.5, 3.75, 80);
    b.SetCalcularVolume(false);
    b.Canal().SetSc(0.0125);
    ASSERT_TRUE(b.SaveToProject(f));
    const std::string sep = GetParam() ? "," : ".";
    const std::string texto = LerArquivo(f);
    EXPECT_EQ(texto.find("[BaciaAcumulacao]\r\nVersao=1\r\nProfundidade=1" + sep + "25\r\nm1=2" + sep +
                         "5\r\nm2=3" + sep + "75\r\nFormato=0\r\nCalcularVolume=0\r\n[Canal_BaciaAcumulacao]"),
              0u);
    EXPECT_NE(texto.find("[CanalGradiente_BaciaAcumulacao]"), std::string::npos);
    EXPECT_FALSE(IniFile(f).SectionExists("Canal"));

    TBaciaAcumulacao l;
    ASSERT_TRUE(l.LoadFromProject(f));
    EXPECT_DOUBLE_EQ(l.Profundidade(), 1.25);
    EXPECT_DOUBLE_EQ(l.m1(), 2.5);
    EXPECT_DOUBLE_EQ(l.m2(), 3.75);
    EXPECT_EQ(l.Formato(), 0);
    EXPECT_FALSE(l.CalcularVolume());
    EXPECT_DOUBLE_EQ(l.Canal().Sc(), 0.0125);
    EXPECT_DOUBLE_EQ(l.Canal().Z().Value(), 1);

    // A suffix goes on every section name, the channel's included.
    // A copy keeps its own suffix.
    TBaciaAcumulacao s("2");
    s.Assign(b);
    s.SetProfundidade(3);
    ASSERT_TRUE(s.SaveToProject(f));
    IniFile ini(f);
    EXPECT_TRUE(ini.SectionExists("BaciaAcumulacao2"));
    EXPECT_TRUE(ini.SectionExists("Canal_BaciaAcumulacao2"));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("CanalGradiente_BaciaAcumulacao2", "Sc", 0), 0.0125);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("BaciaAcumulacao", "Profundidade", 0), 1.25);
}

INSTANTIATE_TEST_SUITE_P(Regionais, BaciaArquivo, ::testing::Values(true, false),
                         [](const auto& i) { return std::string(i.param ? "ptBR" : "enUS"); });

TEST(BaciaArquivo, VerificacoesEPadroes) {
    RegionalFixo fixo(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string f = pasta.Arquivo("p.kzp");
    TBaciaAcumulacao b;
    ASSERT_TRUE(b.SaveToProject(f));
    {
        IniFile ini(f);
        ini.DeleteKey("BaciaAcumulacao", "Formato");
        ini.DeleteKey("BaciaAcumulacao", "CalcularVolume");
        ini.WriteString("BaciaAcumulacao", "m1", "x");
        ini.UpdateFile();
    }
    TBaciaAcumulacao l;
    l.SetCalcularVolume(false);
    l.Setm1(3);
    ASSERT_TRUE(l.LoadFromProject(f));
    EXPECT_EQ(l.Formato(), 0);  // read default, unlike the cleared shape
    EXPECT_TRUE(l.CalcularVolume());
    EXPECT_EQ(l.m1(), 0);

    auto falha = [&](const std::string& sec, const std::string& chave, const std::string& valor) {
        ASSERT_TRUE(b.SaveToProject(f));
        {
            IniFile ini(f);
            ini.WriteString(sec, chave, valor);
            ini.UpdateFile();
        }
        TBaciaAcumulacao x;
        x.SetProfundidade(7);
        EXPECT_FALSE(x.LoadFromProject(f)) << sec << "/" << chave;
        EXPECT_DOUBLE_EQ(x.Profundidade(), 7) << sec << "/" << chave;
    };
    falha("BaciaAcumulacao", "Versao", "2");
    falha("Canal_BaciaAcumulacao", "Versao", "0");
    falha("Canal_BaciaAcumulacao", "TipoCanal", "2");
    falha("BaciaAcumulacao", "Formato", "300");
}

// Settings file, unit conversion of entry fields and the units component.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestSupport.h"
#include "core/common/Win1252.h"
#include "core/project/Configuracao.h"

TEST(Configuracao, ArquivoAusenteDaOsPadroes) {
    PastaTemporaria t;
    TConfiguracao c;
    c.UDecli = "%";
    EXPECT_TRUE(CarregarConfiguracao(t.Arquivo("VANDORO4.ini"), c));
    EXPECT_EQ(c.UDecli, "m/m");
    EXPECT_EQ(c.KDecli, 1);
    EXPECT_EQ(c.UVIB, "mm/h");
    EXPECT_DOUBLE_EQ(c.KVIB, 1.0);
    EXPECT_EQ(c.IndEstado, 0);
    for (auto& p : c.Paths) EXPECT_EQ(p, "");
}

TEST(Configuracao, GravaNaOrdemFixaELeDeVolta) {
    RegionalFixo r(Regional::PtBR());
    PastaTemporaria t;
    TConfiguracao c;
    AplicarEscolhas(c, 1, 2, 3);
    c.Paths = {"/home/ana/Projetos/Córrego.kzp", "/b.kzp", "", ""};
    ASSERT_TRUE(SalvarConfiguracao(t.Arquivo("VANDORO4.ini"), c));
    EXPECT_EQ(LerArquivo(t.Arquivo("VANDORO4.ini")),
              "[PRINCIPAL]\r\nUDecli=%\r\nKDecli=100\r\nUVIB=m/dia\r\nKVIB=0,024\r\n"
              "path1=/home/ana/Projetos/C\xF3rrego.kzp\r\npath2=/b.kzp\r\npath3=\r\npath4=\r\nIndEstado=3\r\n");
    TConfiguracao d;
    {
        RegionalFixo en(Regional::EnUS());
        ASSERT_TRUE(CarregarConfiguracao(t.Arquivo("VANDORO4.ini"), d));
    }
    EXPECT_EQ(d.UDecli, "%");
    EXPECT_EQ(d.KDecli, 100);
    EXPECT_EQ(d.UVIB, "m/dia");
    EXPECT_DOUBLE_EQ(d.KVIB, 0.024);
    EXPECT_EQ(d.Paths, c.Paths);
    EXPECT_EQ(d.IndEstado, 3);
    EXPECT_EQ(ListaEstados()[d.IndEstado], "Bahia");
}

TEST(Configuracao, ValoresEditadosAMaoNaoQuebramOPrograma) {
    PastaTemporaria t;
    const std::string arq = t.Arquivo("VANDORO4.ini");
    TConfiguracao c;
    // A state that is not an integer, or out of the list, falls back to the first state;
    // a factor that disagrees with its label follows the label.
    GravarArquivo(arq, "[principal]\r\nudecli=%\r\nKDecli=0\r\nUVIB=polegadas\r\nKVIB=abc\r\nIndEstado=3,5\r\n");
    ASSERT_TRUE(CarregarConfiguracao(arq, c));
    EXPECT_EQ(c.UDecli, "%");
    EXPECT_EQ(c.KDecli, 100);
    EXPECT_EQ(c.UVIB, "mm/h");
    EXPECT_DOUBLE_EQ(c.KVIB, 1.0);
    EXPECT_EQ(c.IndEstado, 0);
    GravarArquivo(arq, "[PRINCIPAL]\r\nIndEstado=22\r\n");
    ASSERT_TRUE(CarregarConfiguracao(arq, c));
    EXPECT_EQ(c.IndEstado, 0);
    GravarArquivo(arq, "[PRINCIPAL]\r\nIndEstado= 21 \r\n");
    ASSERT_TRUE(CarregarConfiguracao(arq, c));
    EXPECT_EQ(c.IndEstado, 21);
    GravarArquivo(arq, std::string("\0\xff\xfe[PRINCIPAL\r\n=\r\n\r\n[]", 20));
    EXPECT_TRUE(CarregarConfiguracao(arq, c));
    EXPECT_EQ(c.UDecli, "m/m");
}

TEST(Configuracao, DizQuaisChavesForamCorrigidas) {
    RegionalFixo r(Regional::PtBR());
    PastaTemporaria t;
    const std::string arq = t.Arquivo("VANDORO4.ini");
    TConfiguracao c;
    std::vector<std::string> corrigidas{"sobra"};
    GravarArquivo(arq, "[principal]\r\nudecli=%\r\nKDecli=0\r\nUVIB=polegadas\r\nKVIB=abc\r\nIndEstado=3,5\r\n");
    ASSERT_TRUE(CarregarConfiguracao(arq, c, &corrigidas));
    EXPECT_EQ(corrigidas, (std::vector<std::string>{"KDecli", "UVIB", "KVIB", "IndEstado"}));
    // What the program writes itself reads back clean, in either decimal separator; missing
    // keys are not corrections.
    GravarArquivo(arq, "[PRINCIPAL]\r\nUDecli=%\r\nKDecli=100\r\nUVIB=m/dia\r\nKVIB=0.024\r\nIndEstado=21\r\n");
    ASSERT_TRUE(CarregarConfiguracao(arq, c, &corrigidas));
    EXPECT_TRUE(corrigidas.empty());
    GravarArquivo(arq, "[PRINCIPAL]\r\nUDecli=%\r\n");
    ASSERT_TRUE(CarregarConfiguracao(arq, c, &corrigidas));
    EXPECT_TRUE(corrigidas.empty());
    EXPECT_EQ(c.KDecli, 100);
    GravarArquivo(arq, "[PRINCIPAL]\r\nUDecli=graus\r\nIndEstado=22\r\n");
    ASSERT_TRUE(CarregarConfiguracao(arq, c, &corrigidas));
    EXPECT_EQ(corrigidas, (std::vector<std::string>{"UDecli", "IndEstado"}));
}

TEST(Configuracao, ListaDeEstados) {
    const auto& e = ListaEstados();
    ASSERT_EQ(e.size(), 22u);
    EXPECT_EQ(e.front(), "Acre");
    EXPECT_EQ(e[4], "Ceará");
    EXPECT_EQ(e[13], "Paraná");
    EXPECT_EQ(e.back(), "São Paulo");
}

TEST(Configuracao, TrocaDeUnidadeReescreveSoCamposPreenchidos) {
    RegionalFixo r(Regional::EnUS());
    TConfiguracao c;
    const double st = 0.12;  // model value, m/m
    std::string campo = ReexibirCampo("0.12", st, c.KDecli);
    EXPECT_EQ(campo, "0.12");
    AplicarEscolhas(c, 1, -1, -1);
    campo = ReexibirCampo(campo, st, c.KDecli);
    EXPECT_EQ(campo, "12.0");
    EXPECT_DOUBLE_EQ(ParaInterno(12.0, c.KDecli), 0.12);
    AplicarEscolhas(c, 0, -1, -1);
    EXPECT_EQ(ReexibirCampo(campo, st, c.KDecli), "0.12");

    AplicarEscolhas(c, -1, 2, -1);
    EXPECT_EQ(c.UVIB, "m/dia");
    EXPECT_EQ(ReexibirCampo("10.0", 10.0, c.KVIB), "0.24");
    AplicarEscolhas(c, -1, 1, -1);
    EXPECT_EQ(ReexibirCampo("0.24", 10.0, c.KVIB), "0.01");
    EXPECT_EQ(ReexibirCampo("", 10.0, c.KVIB), "");

    EXPECT_EQ(IndiceDeclividade("%"), 1);
    EXPECT_EQ(IndiceVIB("m/dia"), 2);
    EXPECT_EQ(IndiceVIB("cm/dia"), -1);  // leaves the dialog's list as it was
}

TEST(Configuracao, LocalDoArquivo) {
    PastaTemporaria t;
    EXPECT_EQ(ArquivoConfiguracao(t.Caminho()), t.Caminho() + "/VANDORO4.ini");
    EXPECT_EQ(ArquivoConfiguracao(t.Caminho() + "/"), t.Caminho() + "/VANDORO4.ini");
    // A folder that cannot be written (here: one that does not exist) sends it to the user's
    // configuration folder.
    const char* antigo = std::getenv("XDG_CONFIG_HOME");
    std::string guardado = antigo ? antigo : "";
    setenv("XDG_CONFIG_HOME", t.Caminho().c_str(), 1);
    EXPECT_EQ(ArquivoConfiguracao(t.Caminho() + "/nao/existe"), t.Caminho() + "/Vandoro/VANDORO4.ini");
    if (antigo) setenv("XDG_CONFIG_HOME", guardado.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}

TEST(Unidades, FatoresRotulosEEventos) {
    TUnidades u;
    EXPECT_EQ(u.Declividade(), TUnidadesDeclividade::udMetroPorMetro);
    EXPECT_EQ(u.UnidadeComprimento(), "m");
    EXPECT_EQ(u.UnidadeVI(), "mm/h");
    int decl = 0, comp = 0, vi = 0;
    u.OnChangeDeclividade = [&] { ++decl; };
    u.OnChangeComprimento = [&] { ++comp; };
    u.OnChangeVI = [&] { ++vi; throw std::runtime_error("listener"); };

    u.SetDeclividade(TUnidadesDeclividade::udMetroPorMetro);  // same value: nothing happens
    EXPECT_EQ(decl, 0);
    u.SetDeclividade(TUnidadesDeclividade::udPorcentagem);
    EXPECT_EQ(decl, 1);
    EXPECT_EQ(u.UnidadeDeclividade(), "%");
    EXPECT_DOUBLE_EQ(u.FatorDeclividade(), 100);

    u.SetComprimento(TUnidadesComprimento::ucQuilometro);
    EXPECT_DOUBLE_EQ(u.FatorComprimento(), 1000);
    EXPECT_EQ(u.UnidadeComprimento(), "km");
    u.SetComprimento(TUnidadesComprimento::ucCentimetro);
    EXPECT_DOUBLE_EQ(u.FatorComprimento(), 0.01);
    EXPECT_EQ(comp, 2);

    EXPECT_NO_THROW(u.SetVI(TUnidadesVI::uvCentimetroDia));
    EXPECT_EQ(vi, 1);
    EXPECT_EQ(u.UnidadeVI(), "cm/dia");
    EXPECT_DOUBLE_EQ(u.FatorVI(), 2.4);
    u.SetVI(TUnidadesVI::uvMetroDia);
    EXPECT_DOUBLE_EQ(u.FatorVI(), 0.024);
}

TEST(Configuracao, EstadoPadraoChegaAoBancoComOMesmoNome) {
    // Database order of the 27 federative units.
    const std::vector<std::string> banco = {
        "Acre", "Alagoas", "Amapá", "Amazonas", "Bahia", "Ceará", "Distrito Federal", "Espírito Santo",
        "Goiás", "Maranhão", "Mato Grosso", "Mato Grosso do Sul", "Minas Gerais", "Pará", "Paraíba",
        "Paraná", "Pernambuco", "Piauí", "Rio de Janeiro", "Rio Grande do Norte", "Rio Grande do Sul",
        "Rondônia", "Roraima", "Santa Catarina", "São Paulo", "Sergipe", "Tocantins"};
    for (int i = 0; i < static_cast<int>(ListaEstados().size()); ++i)
        EXPECT_EQ(banco[IndiceEstadoBanco(i)], ListaEstados()[i]) << i;
    EXPECT_EQ(IndiceEstadoBanco(3), 4);  // Bahia
}

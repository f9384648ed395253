// What a design takes to build: the settings that hold widths, swell and machines, the hours
// and cost of a machine, and the shipped level design's soil moved, checked against its own
// section worked from the design's numbers.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/common/IniFile.h"
#include "core/common/Numeros.h"
#include "core/project/Configuracao.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/ConstrucaoDimensionamento.h"

TEST(Construcao, TheSettingsRoundTripAndValuesOutOfRangeKeepTheirDefaults) {
    PastaTemporaria pasta;
    const std::string arquivo = pasta.Arquivo("VANDORO4.ini");
    TConfiguracao cfg;
    EXPECT_EQ(cfg.Construcao.maquinas.size(), 3u);
    EXPECT_EQ(cfg.Construcao.maquinas[0].rendimento, 0);  // no output is invented
    cfg.Construcao.larguras.murundum = 4.5;
    cfg.Construcao.empolamento = 1.25;
    cfg.Construcao.maquinas[1].rendimento = 60;
    cfg.Construcao.maquinas[1].custoHora = 250;
    cfg.Construcao.maquina = 1;
    ASSERT_TRUE(SalvarConfiguracao(arquivo, cfg));
    TConfiguracao lido;
    ASSERT_TRUE(CarregarConfiguracao(arquivo, lido));
    EXPECT_EQ(lido.Construcao.larguras.murundum, 4.5);
    EXPECT_EQ(lido.Construcao.larguras.larga, 12);
    EXPECT_EQ(lido.Construcao.empolamento, 1.25);
    ASSERT_EQ(lido.Construcao.maquinas.size(), 3u);
    EXPECT_EQ(lido.Construcao.maquinas[1].nome, "Motoniveladora");
    EXPECT_EQ(lido.Construcao.maquinas[1].rendimento, 60);
    EXPECT_EQ(lido.Construcao.maquinas[1].custoHora, 250);
    EXPECT_EQ(lido.Construcao.maquina, 1);
    {
        IniFile ini(arquivo);
        ini.WriteString("CONSTRUCAO", "LarguraBaseLarga", "-3");
        ini.WriteString("CONSTRUCAO", "Empolamento", "0");
        ini.WriteString("CONSTRUCAO", "Maquina", "7");
        ini.WriteString("CONSTRUCAO", "Maquina2Rendimento", "-60");
        ini.UpdateFile();
    }
    ASSERT_TRUE(CarregarConfiguracao(arquivo, lido));
    EXPECT_EQ(lido.Construcao.larguras.larga, 12);
    EXPECT_EQ(lido.Construcao.empolamento, 1);
    EXPECT_EQ(lido.Construcao.maquina, 0);
    EXPECT_EQ(lido.Construcao.maquinas[1].rendimento, 0);
}

TEST(Construcao, HoursAndCostFromAMachinesOutputAndPrice) {
    RegionalFixo pt(Regional::PtBR());
    TConfigConstrucao c;
    // 150 m³ at 60 m³/h: 2.5 h; at R$ 250/h, R$ 625.
    c.maquinas[1] = {"Motoniveladora", 60, 250};
    c.maquina = 1;
    const TServicoMaquina s = ServicoMaquina(150, 100, c);
    EXPECT_DOUBLE_EQ(s.horas, 2.5);
    EXPECT_DOUBLE_EQ(s.custo, 625);
    EXPECT_EQ(s.TextoHoras(2), "2,50");
    EXPECT_EQ(s.TextoCusto(2), "625,00");
    // An output in metres of terrace: 100 m at 40 m/h is 2.5 h whatever the soil moved.
    c.maquinas[1] = {"Motoniveladora", 40, 250, TUnidadeRendimento::Metros};
    EXPECT_DOUBLE_EQ(ServicoMaquina(150, 100, c).horas, 2.5);
    EXPECT_DOUBLE_EQ(ServicoMaquina(999, 100, c).custo, 625);
    // Without a price the hours stand and the cost asks for it; without an output, both do.
    c.maquinas[1].custoHora = 0;
    EXPECT_EQ(ServicoMaquina(150, 100, c).TextoCusto(2), "informe o custo horário da máquina nas configurações");
    c.maquina = 0;
    EXPECT_EQ(ServicoMaquina(150, 100, c).TextoHoras(2), "informe o rendimento da máquina nas configurações");
    EXPECT_EQ(ServicoMaquina(150, 100, c).TextoCusto(2), "informe o rendimento da máquina nas configurações");
    c.maquina = 9;
    EXPECT_EQ(ServicoMaquina(150, 100, c).horas, -1);
}

TEST(Construcao, ADesignKeepsItsMachineByNameAndFallsBackToTheDefault) {
    PastaTemporaria pasta;
    TConfigConstrucao c;
    c.maquina = 2;
    EXPECT_EQ(c.ParaODesign("Motoniveladora").maquina, 1);
    EXPECT_EQ(c.ParaODesign("").maquina, 2);
    EXPECT_EQ(c.ParaODesign("Retroescavadeira").maquina, 2);  // renamed or removed since
    // The project keeps the name; a project without one is written without the key.
    TModeloProjeto m;
    ASSERT_TRUE(m.LerProjeto(std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/Terraco em nivel.kzp"));
    EXPECT_EQ(m.Maquina(), "");
    const std::string sem = pasta.Arquivo("sem.kzp"), com = pasta.Arquivo("com.kzp");
    m.EscreverProjeto(sem);
    EXPECT_EQ(LerArquivo(sem).find("Maquina="), std::string::npos);
    m.SetMaquina("Motoniveladora");
    m.EscreverProjeto(com);
    TModeloProjeto lido;
    ASSERT_TRUE(lido.LerProjeto(com));
    EXPECT_EQ(lido.Maquina(), "Motoniveladora");
    ASSERT_TRUE(lido.LerProjeto(sem));
    EXPECT_EQ(lido.Maquina(), "");
}

TEST(Construcao, TheShippedLevelDesignMovesItsOwnSectionsSoil) {
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto m;
    ASSERT_TRUE(m.LerProjeto(std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/Terraco em nivel.kzp"));
    const TResultadoDimensionamento r = Dimensionar(m);
    TConfigConstrucao c;
    c.maquinas[0] = {"Trator agrícola com terraceador de discos", 40, 180};
    c.maquina = 2;  // the project names none: the default machine
    c.maquinas[2].rendimento = 1;
    m.SetMaquina(c.maquinas[0].nome);
    const TConstrucaoDimensionamento k = ConstrucaoDoDimensionamento(m, r, c);
    // The design's own section: Hr, its ridge face and slope, at the criterion's type.
    const std::string tipo = m.TerracosNivel().Selecao().TipoPara(m.NumeroDaCurva().St() * 100);
    EXPECT_EQ(k.terraco.tipo, tipo);
    TDadosSecao d;
    d.hr = r.Hr / 100;
    d.sm = m.TerracosNivel().Sm().Value();
    d.st = m.NumeroDaCurva().St();
    d.eh = r.EH;
    d.tipo = ComposicaoDoTipo(tipo).partes.at(0).first;
    d.largura = c.larguras.De(d.tipo);
    const TSecaoConstruida s = SecaoConstruida(d);
    ASSERT_GT(s.areaCorte, 0);
    EXPECT_NEAR(k.volume100, 100 * s.areaCorte, 1e-9);
    // A hectare at the design's spacing holds 10 000 / EH metres of terrace.
    EXPECT_NEAR(k.volumeHa, s.areaCorte * 10000 / r.EH, 1e-9);
    EXPECT_NEAR(k.servico100.horas, k.volume100 / 40, 1e-9);
    EXPECT_NEAR(k.servicoHa.custo, k.volumeHa / 40 * 180, 1e-6);
    const std::vector<TLinhaResultado> linhas = LinhasConstrucao(k);
    ASSERT_GE(linhas.size(), 2u);
    EXPECT_EQ(linhas[0].Rotulo, "Volume de solo movimentado (m³/100 m):");
    EXPECT_EQ(linhas[0].Valor, FloatToStrFixed(k.volume100, 1));
    EXPECT_EQ(linhas[1].Rotulo, "Horas de máquina (h/100 m):");
    // A basin design builds no terraces.
    TModeloProjeto b;
    ASSERT_TRUE(b.LerProjeto(std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/Bacia de acumulacao.kzp"));
    EXPECT_EQ(ConstrucaoDoDimensionamento(b, Dimensionar(b), c).volume100, 0);
}

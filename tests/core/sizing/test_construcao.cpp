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
    const TConstrucaoDimensionamento k = ConstrucaoDoDimensionamento(m, r.TipoSistema, c);
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
    EXPECT_EQ(ConstrucaoDoDimensionamento(b, Dimensionar(b).TipoSistema, c).volume100, 0);
}

TEST(Construcao, TheSettingsWindowRefusesTheFirstBadValueAndSaysWhere) {
    using C = TProblemaConstrucao::TCampo;
    const TConfigConstrucao boa;
    EXPECT_EQ(ProblemaConstrucao(boa).texto, "");
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string largura = "A largura do terraço deve ser um número maior ou igual a zero.";
    const std::string empolamento = "O fator de empolamento deve ser um número maior que zero.";
    const std::string rendimento =
        "O rendimento de cada máquina deve ser um número maior ou igual a zero, ou ficar em branco.";
    const std::string custo =
        "O custo horário de cada máquina deve ser um número maior ou igual a zero, ou ficar em branco.";
    const struct {
        void (*mudar)(TConfigConstrucao&);
        std::string texto;
        C campo;
        int indice;
    } casos[] = {
        {[](TConfigConstrucao& c) { c.larguras.murundum = -0.5; }, largura, C::Largura, 3},
        {[](TConfigConstrucao& c) { c.larguras.media = nan; }, largura, C::Largura, 1},
        {[](TConfigConstrucao& c) { c.empolamento = 0; }, empolamento, C::Empolamento, -1},
        {[](TConfigConstrucao& c) { c.empolamento = nan; }, empolamento, C::Empolamento, -1},
        {[](TConfigConstrucao& c) { c.maquinas.clear(); }, "Inclua ao menos uma máquina.", C::Maquinas, -1},
        {[](TConfigConstrucao& c) { c.maquinas.resize(21, {"x"}); }, "O programa guarda no máximo 20 máquinas.",
         C::Maquinas, 20},
        {[](TConfigConstrucao& c) { c.maquinas[1].nome = "  "; }, "Dê um nome a cada máquina.", C::Nome, 1},
        {[](TConfigConstrucao& c) { c.maquinas[2].nome = "Motoniveladora"; },
         "Duas máquinas têm o mesmo nome: Motoniveladora.", C::Nome, 2},
        {[](TConfigConstrucao& c) { c.maquinas[2].rendimento = -1; }, rendimento, C::Rendimento, 2},
        {[](TConfigConstrucao& c) { c.maquinas[0].custoHora = nan; }, custo, C::Custo, 0},
        {[](TConfigConstrucao& c) { c.maquina = 3; }, "Escolha a máquina padrão.", C::Padrao, -1},
        // Both bad: the earlier field is the one named.
        {[](TConfigConstrucao& c) { c.empolamento = -1, c.maquinas.clear(); }, empolamento, C::Empolamento, -1},
    };
    for (const auto& k : casos) {
        TConfigConstrucao c;
        k.mudar(c);
        const TProblemaConstrucao p = ProblemaConstrucao(c);
        EXPECT_EQ(p.texto, k.texto);
        EXPECT_EQ(p.campo, k.campo) << k.texto;
        EXPECT_EQ(p.indice, k.indice) << k.texto;
    }
    // At the limits: every width 0 (not known), twenty machines, names that differ only in case.
    TConfigConstrucao limite;
    limite.larguras = {0, 0, 0, 0};
    limite.empolamento = 1e-3;
    limite.maquinas.clear();
    for (int i = 0; i < kMaxMaquinas; ++i) limite.maquinas.push_back({"Trator " + std::to_string(i), 0, 0});
    limite.maquinas[1].nome = "trator 0";
    limite.maquina = kMaxMaquinas - 1;
    EXPECT_EQ(ProblemaConstrucao(limite).texto, "");
}

TEST(Construcao, ABasinDigsItsOwnVolumeAndAMixedRowSaysHowItIsCosted) {
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto b;
    ASSERT_TRUE(b.LerProjeto(std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/Bacia de acumulacao.kzp"));
    Dimensionar(b);
    TConfigConstrucao c;
    c.maquinas[2] = {"Trator de esteiras", 80, 300};
    c.maquina = 2;
    const double v = b.BaciaAcumulacao().Volume();
    ASSERT_GT(v, 0);
    TConstrucaoDimensionamento k = ConstrucaoDoDimensionamento(b, TTipoSistema::BaciaAcumulacao, c);
    EXPECT_EQ(k.volumeBacia, v);
    EXPECT_NEAR(k.servicoBacia.horas, v / 80, 1e-9);
    EXPECT_NEAR(k.servicoBacia.custo, v / 80 * 300, 1e-9);
    std::vector<TLinhaResultado> l = LinhasConstrucao(k);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].Rotulo, "Volume de solo escavado (m³/barraginha):");
    EXPECT_EQ(l[2].Valor, FloatToStrFixed(v / 80 * 300, 2));
    // A machine measured in metres of terrace cannot say how long a basin takes.
    c.maquinas[2].unidade = TUnidadeRendimento::Metros;
    k = ConstrucaoDoDimensionamento(b, TTipoSistema::BaciaAcumulacao, c);
    EXPECT_EQ(LinhasConstrucao(k)[1].Valor, "—");
    EXPECT_EQ(AvisosConstrucao(k).at(0), "O rendimento desta máquina é em metros de terraço: para as barraginhas, "
                                         "escolha uma máquina com rendimento em m³/h.");

    EXPECT_EQ(TextoComposicao(ComposicaoDoTipo("Dois terraços de base larga e um terraço Tipo murundum (intercalados)")),
              "Custeado como 2/3 de base larga e 1/3 de murundum.");
    EXPECT_EQ(TextoComposicao(ComposicaoDoTipo("Terraços de Base Média")), "");
}

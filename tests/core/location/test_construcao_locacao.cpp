// What a located plan takes to build: each terrace's own section times its length, the design
// machine's hours and cost, summed; the cells and notes every front end shows; the figures a
// run keeps in its companion.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "GradesSinteticas.h"
#include "ModeloLocacao.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/ConstrucaoLocacao.h"
#include "core/location/EntradaLocacao.h"
#include "core/location/Locacao.h"
#include "core/location/RelatorioLocacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/project/ModeloProjeto.h"

namespace {

// Two broad-base terraces (types from the run) and one whose type the criterion gives (Paraná,
// 5 %: broad base). Hr 0.5 m against Sm 0.25: 1.5 m² per metre on 5 % and 2.333 m² on 10 % (the
// sections worked by hand in the section's own test): 300, 350 and 120 m³.
struct Plano {
    TTerracosNivel sistema;
    TSelecaoTipoTerraco selecao;
    std::vector<TRegTerr> terracos = {TRegTerr{1, 100, 5, 200, 200 * 20, 1, 0.5}, TRegTerr{2, 98, 10, 150, 150 * 20, 1, 0.5},
                                      TRegTerr{3, 96, 5, 80, 80 * 20, 1, 0.5}};
    std::vector<TInfoTerraco> info = {TInfoTerraco{0, "Terraços de Base Larga"}, TInfoTerraco{1, "Terraços de Base Larga"},
                                      TInfoTerraco{}};
    Plano() {
        sistema.Secao().SetTipo(TTipoSecao::Triangular);
        sistema.Sm().SetValue(0.25);
        selecao.SetMetodoSelecao(TSelecaoTipoTerraco::Parana);
    }
    TConstrucaoLocacao Com(const TMaquina& m) const {
        TConfigConstrucao c;
        c.maquinas = {{"Outra", 1, 1}, m};
        c.maquina = 1;
        return ConstrucaoDaLocacao(terracos, info, sistema, selecao, c);
    }
};

// A section's soil by hand: the ridge of crest hc = Hr (Sm + St) / Sm over the ground, whose two
// faces at Sm cover hc (1/(Sm - St) + 1/(Sm + St)); no swell, so the cut is the fill.
double AreaTriangular(double hr, double sm, double st) {
    const double hc = hr * (sm + st) / sm;
    return hc / 2 * hc * (1 / (sm - st) + 1 / (sm + st));
}

}  // namespace

TEST(ConstrucaoLocacao, ThePlansFiguresAreEachTerracesSummedWithTheDesignsMachine) {
    const Plano p;
    // 50 m³/h at R$ 200/h: V/50 hours and 4·V reais.
    const TConstrucaoLocacao c = p.Com({"Trator de esteiras", 50, 200});
    ASSERT_EQ(c.terracos.size(), 3u);
    const double v[] = {300, 350, 120};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(c.terracos[i].volume, v[i], 1e-9);
        EXPECT_NEAR(c.terracos[i].servico.horas, v[i] / 50, 1e-12);
        EXPECT_NEAR(c.terracos[i].servico.custo, 4 * v[i], 1e-9);
    }
    EXPECT_NEAR(c.volumeTotal, 770, 1e-9);
    EXPECT_NEAR(c.servicoTotal.horas, 15.4, 1e-12);
    EXPECT_NEAR(c.servicoTotal.custo, 3080, 1e-9);
    EXPECT_EQ(c.maquina, "Trator de esteiras");
    EXPECT_TRUE(c.avisos.empty());
    // A machine measured in metres of terrace: the length over its output, whatever the soil.
    const TConstrucaoLocacao m = p.Com({"Motoniveladora", 100, 150, TUnidadeRendimento::Metros});
    const double h[] = {2, 1.5, 0.8};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(m.terracos[i].servico.horas, h[i], 1e-12) << i;
        EXPECT_NEAR(m.terracos[i].servico.custo, 150 * h[i], 1e-9) << i;
    }
    EXPECT_NEAR(m.servicoTotal.horas, 4.3, 1e-12);
    EXPECT_NEAR(m.servicoTotal.custo, 645, 1e-9);
    // A saved table's figures add up to the same totals.
    const TConstrucaoLocacao s = SomaDaConstrucao(c.terracos, c.maquina);
    EXPECT_NEAR(s.volumeTotal, 770, 1e-9);
    EXPECT_NEAR(s.servicoTotal.horas, 15.4, 1e-12);
    EXPECT_NEAR(s.servicoTotal.custo, 3080, 1e-9);
}

TEST(ConstrucaoLocacao, CellsShowTheValuesOrADashAndOneNoteSaysWhatTheSettingsLack) {
    RegionalFixo pt(Regional::PtBR());
    const Plano p;
    EXPECT_EQ(ColunasConstrucao(), (std::vector<std::string>{"Volume (m³)", "Horas (h)", "Custo (R$)"}));
    const TObraTerraco grande{12345.678, {246.9136, 49382.712}};
    EXPECT_EQ(CelulasConstrucao(grande), (std::vector<std::string>{"12.345,7", "246,91", "49.382,71"}));
    EXPECT_EQ(CelulasConstrucao(grande, false), (std::vector<std::string>{"12345,7", "246,91", "49382,71"}));
    const TConstrucaoLocacao c = p.Com({"Trator de esteiras", 50, 200});
    EXPECT_EQ(NotaConstrucao(c.servicoTotal), "");
    EXPECT_EQ(ServicoTotalFormatado(c), "Máquina: Trator de esteiras    Horas de máquina: 15,40 h    Custo: R$ 3.080,00");
    EXPECT_EQ(VolumeTotalFormatado(c.volumeTotal), "770,0 m³");

    // Without output neither hours nor cost; without price, the cost.
    const TConstrucaoLocacao semRendimento = p.Com({"Trator de esteiras", 0, 200});
    EXPECT_EQ(CelulasConstrucao(semRendimento.terracos[0]), (std::vector<std::string>{"300,0", "—", "—"}));
    EXPECT_EQ(NotaConstrucao(semRendimento.servicoTotal),
              "Horas e custo (—): informe o rendimento da máquina nas configurações.");
    EXPECT_EQ(ServicoTotalFormatado(semRendimento), "Máquina: Trator de esteiras    Horas de máquina: —    Custo: —");
    const TConstrucaoLocacao semCusto = p.Com({"Trator de esteiras", 50, 0});
    EXPECT_EQ(CelulasConstrucao(semCusto.terracos[1], false), (std::vector<std::string>{"350,0", "7,00", "—"}));
    EXPECT_EQ(NotaConstrucao(semCusto.servicoTotal), "Custo (—): informe o custo horário da máquina nas configurações.");
    // A saved table with one terrace unknown has unknown totals.
    std::vector<TObraTerraco> t = p.Com({"x", 50, 200}).terracos;
    t[2].servico = {};
    EXPECT_EQ(SomaDaConstrucao(t, "x").servicoTotal.horas, -1);
    EXPECT_EQ(SomaDaConstrucao(t, "x").servicoTotal.custo, -1);
    // A section that cannot be reckoned leaves its terrace unknown and named, not the plan.
    Plano q;
    q.terracos[1].height = std::nan("");
    const TConstrucaoLocacao falha = q.Com({"x", 50, 200});
    EXPECT_EQ(falha.terracos[1].volume, -1);
    EXPECT_EQ(CelulasConstrucao(falha.terracos[1]), (std::vector<std::string>{"—", "—", "—"}));
    EXPECT_NEAR(falha.volumeTotal, 420, 1e-9);
    EXPECT_NEAR(falha.servicoTotal.horas, 420.0 / 50, 1e-12);
    ASSERT_EQ(falha.avisos.size(), 1u);
    EXPECT_EQ(falha.avisos[0].rfind("Terraço 2: ", 0), 0u);
    EXPECT_NEAR(SomaDaConstrucao(falha.terracos, "x").servicoTotal.custo, 4 * 420, 1e-9);
    // No machine in the settings at all.
    TConfigConstrucao nenhuma;
    nenhuma.maquinas.clear();
    const TConstrucaoLocacao n = ConstrucaoDaLocacao(p.terracos, p.info, p.sistema, p.selecao, nenhuma);
    EXPECT_EQ(n.maquina, "");
    EXPECT_EQ(ServicoTotalFormatado(n), "Máquina: nenhuma    Horas de máquina: —    Custo: —");

    // The window's table: the three columns after the numbers, the level type still last.
    const std::vector<std::string> nivel = ColunasResultadoLocacao(false);
    ASSERT_EQ(nivel.size(), 12u);
    EXPECT_EQ(nivel[8], "Volume (m³)");
    EXPECT_EQ(nivel[11], "Tipo de terraço");
    EXPECT_EQ(ColunasResultadoLocacao(true).back(), "Custo (R$)");
    TResultadoLocacao r;
    r.terracos = p.terracos;
    r.info = p.info;
    r.construcao = c;
    const std::vector<std::string> linha = CelulasResultadoLocacao(r, 1, nullptr);
    EXPECT_EQ(std::vector<std::string>(linha.begin() + 8, linha.end()),
              (std::vector<std::string>{"350,0", "7,00", "1.400,00", "Terraços de Base Larga"}));
}

// A run reckons its terraces with the machine set before it, and its companion keeps them.
TEST(ConstrucaoLocacao, ARunKeepsEachTerracesFiguresInItsResultAndCompanion) {
    PastaTemporaria pasta;
    TArquivosLocacao a;
    a.elevacao = pasta.Arquivo("e.asc");
    a.declividade = pasta.Arquivo("d.asc");
    a.saida = pasta.Arquivo("s.vet");
    a.tabela = TabelaDaSaida(a.saida);
    a.complemento = ComplementoDaTabela(a.tabela);
    const auto plano = [](double, double y) { return 20 - 0.05 * y; };
    GravarAsc(a.elevacao, 100, 60, 1.0, plano);
    GravarDeclividade(a.declividade, 100, 60, 1.0, plano);
    ModeloLocacao m(3, 0.4);
    m.terracos.Selecao().SetMetodoSelecao(TSelecaoTipoTerraco::Parana);  // 5 %: broad base
    TLocacaoNivel loc;
    loc.SetPlano(PlanoTracado());
    TConfigConstrucao c;
    c.maquinas[0] = {"Trator agrícola com terraceador de discos", 50, 200};
    c.maquina = 0;
    loc.SetConstrucao(c, m.terracos.Selecao());
    const TResultadoLocacao r = Locar(loc, a, m.chuva, m.cn, m.terracos);
    ASSERT_GE(r.terracos.size(), 2u);
    ASSERT_EQ(r.construcao.terracos.size(), r.terracos.size());
    EXPECT_EQ(r.construcao.maquina, "Trator agrícola com terraceador de discos");
    double volume = 0;
    for (size_t i = 0; i < r.terracos.size(); ++i) {
        const TRegTerr& t = r.terracos[i];
        const TObraTerraco& o = r.construcao.terracos[i];
        // Sm 1 on the strip's own slope, times the smoothed line's length.
        EXPECT_NEAR(o.volume, AreaTriangular(t.height, 1, t.slope / 100) * t.length, 1e-6 * o.volume) << i;
        EXPECT_NEAR(o.servico.horas, o.volume / 50, 1e-9) << i;
        EXPECT_NEAR(o.servico.custo, 4 * o.volume, 1e-9) << i;
        volume += o.volume;
    }
    EXPECT_NEAR(r.construcao.volumeTotal, volume, 1e-9 * volume);
    EXPECT_NEAR(r.construcao.servicoTotal.custo, 4 * volume, 1e-8 * volume);

    // The companion: the same figures and machine, read where the decimal point differs.
    TComplementoBDT k;
    {
        RegionalFixo en(Regional::EnUS());
        k.Ler(a.complemento);
    }
    EXPECT_EQ(k.maquina, "Trator agrícola com terraceador de discos");
    ASSERT_EQ(k.obras.size(), r.terracos.size());
    for (size_t i = 0; i < r.terracos.size(); ++i) {
        const TObraTerraco* o = k.ObraDe(r.terracos[i].id);
        ASSERT_NE(o, nullptr) << i;
        EXPECT_NEAR(o->volume, r.construcao.terracos[i].volume, 1e-12 * o->volume) << i;
        EXPECT_NEAR(o->servico.horas, r.construcao.terracos[i].servico.horas, 1e-12 * o->servico.horas) << i;
        EXPECT_NEAR(o->servico.custo, r.construcao.terracos[i].servico.custo, 1e-12 * o->servico.custo) << i;
    }
    TBDT tabela;
    ASSERT_TRUE(tabela.LoadFromFile(a.tabela));
    const TConstrucaoLocacao lida = k.ConstrucaoDe(tabela);
    EXPECT_NEAR(lida.volumeTotal, volume, 1e-9 * volume);
    EXPECT_NEAR(lida.servicoTotal.horas, volume / 50, 1e-9 * volume);
}

TEST(ConstrucaoLocacao, TheCompanionKeepsUnknownHoursEmptyAndOneWrittenBeforeStillReads) {
    PastaTemporaria pasta;
    const std::string arquivo = pasta.Arquivo("t.bdc");
    TComplementoBDT c;
    c.terracos[1] = {0, "Terraços de Base Larga"};
    c.terracos[2] = {1, "Terraços de Base Larga"};
    c.obras[1] = {300.25, {}};
    c.obras[2] = {350.5, {7.01, -1}};
    c.terracos[3] = {2, ""};
    c.obras[3] = {-1, {}};
    c.maquina = "Motoniveladora";
    c.avisosConstrucao = {"Terraço 2: não cabe."};
    c.Gravar(arquivo);
    const std::string texto = LerArquivo(arquivo);
    // Unknown hours and cost are empty keys, never 0 or -1.
    EXPECT_NE(texto.find("[Terraco 1]\r\nAcima=topo\r\nTipo=Terra\xe7os de Base Larga\r\nVolume=300"),
              std::string::npos)
        << texto;
    EXPECT_NE(texto.find("Horas=\r\nCusto=\r\n"), std::string::npos);
    EXPECT_EQ(texto.find("=-1"), std::string::npos);
    TComplementoBDT l;
    l.Ler(arquivo);
    ASSERT_EQ(l.obras.size(), 3u);
    EXPECT_EQ(l.ObraDe(3)->volume, -1);
    EXPECT_EQ(l.ObraDe(1)->volume, 300.25);
    EXPECT_EQ(l.ObraDe(1)->servico.horas, -1);
    EXPECT_EQ(l.ObraDe(1)->servico.custo, -1);
    EXPECT_EQ(l.ObraDe(2)->servico.horas, 7.01);
    EXPECT_EQ(l.ObraDe(2)->servico.custo, -1);
    EXPECT_EQ(l.maquina, "Motoniveladora");
    EXPECT_EQ(l.avisosConstrucao, c.avisosConstrucao);

    // A companion from before: no figures, the rest as it was; a report of its table reckons
    // them with the project.
    GravarArquivo(arquivo, "[Plano]\r\nVersao=1\r\nMaxTerracos=0\r\n[Terraco 1]\r\nAcima=topo\r\nTipo=x\r\n");
    l.Ler(arquivo);
    EXPECT_TRUE(l.obras.empty());
    EXPECT_EQ(l.maquina, "");
    ASSERT_NE(l.De(1), nullptr);
    EXPECT_EQ(l.De(1)->tipo, "x");
    TBDT tabela;
    tabela.Add(std::make_unique<TRegTerr>(TRegTerr{1, 100, 1, 50, 500, 5, 0.5}));
    EXPECT_TRUE(l.ConstrucaoDe(tabela).terracos.empty());

    // A figure that is no number, or is negative, is refused by name.
    const std::string prefixo = "Não foi possível ler o complemento da tabela de terraços " + arquivo + ": ";
    GravarArquivo(arquivo, "[Plano]\r\nVersao=1\r\n[Terraco 3]\r\nAcima=topo\r\nVolume=muito\r\n");
    EXPECT_ERRO(EVandoro, prefixo + "a seção [Terraco 3] tem um valor inválido em Volume.", l.Ler(arquivo));
    GravarArquivo(arquivo, "[Plano]\r\nVersao=1\r\n[Terraco 3]\r\nAcima=topo\r\nVolume=1\r\nHoras=-2\r\n");
    EXPECT_ERRO(EVandoro, prefixo + "a seção [Terraco 3] tem um valor inválido em Horas.", l.Ler(arquivo));
}

// The location window's fields carry the project's machine; the project keeps it by name.
TEST(ConstrucaoLocacao, TheProjectsMachineIsChosenInThePlanAndKeptInTheProject) {
    PastaTemporaria pasta;
    TModeloProjeto m;
    TConfigConstrucao& c = m.Configuracao().Construcao;
    c.maquinas[1].rendimento = 40;
    c.maquina = 2;
    // None named: the settings' default, which a collection leaves unnamed.
    TCamposLocacao f = LoadInputsLocacao(m);
    EXPECT_EQ(f.cbMaquina, 2);
    StoreInputsLocacao(f, m);
    EXPECT_EQ(m.Maquina(), "");
    f.cbMaquina = 1;
    StoreInputsLocacao(f, m);
    EXPECT_EQ(m.Maquina(), "Motoniveladora");
    EXPECT_EQ(LoadInputsLocacao(m).cbMaquina, 1);
    // A run of the project reckons with that machine.
    PrepararConstrucao(m, c);
    EXPECT_EQ(m.LocacaoNivel().ConfigConstrucao().maquina, 1);
    const std::string projeto = pasta.Arquivo("p.kzp");
    m.SetModulo("Locacao");
    m.EscreverProjeto(projeto);
    TModeloProjeto lido;
    ASSERT_TRUE(lido.LerProjeto(projeto));
    EXPECT_EQ(lido.Maquina(), "Motoniveladora");
    // A field with no list shown changes nothing.
    f.cbMaquina = -1;
    StoreInputsLocacao(f, lido);
    EXPECT_EQ(lido.Maquina(), "Motoniveladora");
}

// The report's section: the machine, each terrace's figures in a table of their own, the totals;
// a table saved before the figures has none.
TEST(ConstrucaoLocacao, TheReportListsEachTerracesSoilHoursAndCostUnderItsMachine) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    TModeloProjeto m;
    PrepararProjetoLocacao(m, 3, 0.4);
    m.NumeroDaCurva().UsoDoSolo().SetIndex(5);
    m.NumeroDaCurva().Tratamento().SetIndex(3);
    m.NumeroDaCurva().CondicaoHidrologica().SetIndex(1);
    TArquivosLocacao a;
    a.elevacao = pasta.Arquivo("e.asc");
    a.declividade = pasta.Arquivo("d.asc");
    a.saida = pasta.Arquivo("s.vet");
    a.tabela = TabelaDaSaida(a.saida);
    const auto plano = [](double, double y) { return 20 - 0.05 * y; };
    GravarAsc(a.elevacao, 100, 60, 1.0, plano);
    GravarDeclividade(a.declividade, 100, 60, 1.0, plano);
    m.LocacaoNivel().SetPlano(PlanoTracado());
    m.LocacaoNivel().SetfnVetSaida(a.saida);
    TConfigConstrucao& c = m.Configuracao().Construcao;
    c.maquinas[1] = {"Motoniveladora", 50, 200};
    m.SetMaquina("Motoniveladora");
    PrepararConstrucao(m, c);
    const TResultadoLocacao r = Locar(m.LocacaoNivel(), a, m.Precipitacao(), m.NumeroDaCurva(), m.TerracosNivel());
    ASSERT_GE(r.terracos.size(), 2u);
    const auto secao = [](const std::string& html) {
        const size_t i = html.find("CONSTRUÇÃO DOS TERRAÇOS");
        return i == std::string::npos ? std::string() : html.substr(i, html.find("</TABLE>", i) - i);
    };
    const std::string html = secao(RelatorioLocacao(m, m.LocacaoNivel()));
    ASSERT_FALSE(html.empty());
    EXPECT_NE(html.find("<B>Máquina: </B>Motoniveladora"), std::string::npos);
    for (size_t i = 0; i < r.terracos.size(); ++i)
        for (const std::string& celula : CelulasConstrucao(r.construcao.terracos[i]))
            EXPECT_NE(html.find(">" + celula + "</TD>"), std::string::npos) << i << " " << celula;
    const std::string total = html.substr(html.find("<B>Total</B>"));
    for (const std::string& celula : CelulasConstrucao({r.construcao.volumeTotal, r.construcao.servicoTotal}))
        EXPECT_NE(total.find("<B>" + celula + "</B>"), std::string::npos) << celula;
    EXPECT_EQ(html.find("informe"), std::string::npos);

    // The same table saved: a project opened later reads the run's figures from the companion,
    // even with another machine chosen since.
    const std::string projeto = pasta.Arquivo("p.kzp");
    m.SetModulo("Locacao");
    m.EscreverProjeto(projeto);
    TModeloProjeto outro;
    ASSERT_TRUE(outro.LerProjeto(projeto));
    outro.SetMaquina("");
    EXPECT_EQ(secao(RelatorioLocacao(outro, outro.LocacaoNivel())), html);
    // A companion from before the figures: no section, nothing made up.
    std::string antigo = LerArquivo(ComplementoDaTabela(a.tabela));
    antigo = antigo.substr(0, antigo.find("[Construcao]"));
    for (const char* chave : {"Volume=", "Horas=", "Custo="})
        for (size_t k; (k = antigo.find(chave)) != std::string::npos;) antigo.erase(k, antigo.find('\n', k) + 1 - k);
    GravarArquivo(ComplementoDaTabela(a.tabela), antigo);
    const std::string antes = RelatorioLocacao(outro, outro.LocacaoNivel());
    EXPECT_EQ(secao(antes), "");
    EXPECT_NE(antes.find("<B>Comprimento total de terraços: </B>"), std::string::npos);
}

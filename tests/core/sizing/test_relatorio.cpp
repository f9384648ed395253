// Design and location reports: the three example designs and a hand-made terrace table
// against checked-in HTML, the rows that depend on choices, and files that must not appear.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/location/BDT.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/RelatorioLocacao.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/Dimensionamento.h"
#include "core/sizing/RelatorioDimensionamento.h"

namespace fs = std::filesystem;

namespace {

std::string Exemplo(const char* nome) { return std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/" + nome; }

TOpcoesRelatorio Fixas() {
    TOpcoesRelatorio o;
    o.PastaPrograma = "/opt/vandoro/bin/";
    o.DataEmissao = "08/12/2026";
    return o;
}

bool Contem(const std::string& texto, const std::string& trecho) { return texto.find(trecho) != std::string::npos; }

struct Sized {
    TModeloProjeto m;
    explicit Sized(const char* exemplo) {
        m.AbrirProjetoSemAlterar(Exemplo(exemplo));
        Dimensionar(m);
    }
};

TEST(Relatorio, ExampleDesignsMatchTheCheckedReports) {
    RegionalFixo pt(Regional::PtBR());
    {
        Sized s("Terraco em nivel.kzp");
        ConfereReferencia(RelatorioDimensionamento(s.m, Fixas()), "nivel.html");
    }
    {
        // From the simulation page: the chart closes the report.
        Sized s("Terraco em gradiente.kzp");
        TOpcoesRelatorio o = Fixas();
        o.Simulacao = TFiguraGrafico{"Bit.bmp", 313, 587};
        ConfereReferencia(RelatorioDimensionamento(s.m, o), "gradiente.html");
    }
    {
        Sized s("Bacia de acumulacao.kzp");
        ConfereReferencia(RelatorioDimensionamento(s.m, Fixas()), "bacia.html");
    }
}

TEST(Relatorio, CommonHeaderFooterAndStormBlock) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em nivel.kzp");
    const std::string t = RelatorioNivel(s.m, Fixas());
    EXPECT_EQ(t.rfind("<HTML>\n<HEAD>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n", 0), 0u);
    EXPECT_TRUE(Contem(t, "<TITLE>Dimensionamento de Sistemas de Terraceamento em Nível</TITLE>\n</HEAD>\n"));
    EXPECT_TRUE(Contem(t, "Data de emissão do relatório: 08/12/2026</FONT></FONT></FONT>\n<P>\n"));
    EXPECT_TRUE(Contem(t, "<CENTER><IMG SRC=\"/opt/vandoro/bin/Cabecalho.jpg\" HEIGHT=83 WIDTH=382></CENTER>\n<HR>\n"));
    EXPECT_EQ(t.substr(t.size() - 27), "<P>\n</FONT></BODY>\n</HTML>\n");
    // K with thousands grouping, a..c with three decimals, Tr in shortest form.
    EXPECT_TRUE(Contem(t, "<B>T: </B>10 anos</TD>\n<TD><B>Estado: </B>São Paulo</TD>"));
    EXPECT_TRUE(Contem(t, "<B>K: </B>1.932,5</TD>"));
    EXPECT_TRUE(Contem(t, "<B>b: </B>17,300</TD>\n<TD><B>Longitude: </B>47°03'39\"</TD>"));
    EXPECT_TRUE(Contem(t, "<B>c: </B>0,872</TD>\n</TR>"));
    EXPECT_EQ(LegendaJanelaRelatorio(kTituloRelatorioBacia), "Relatório - Dimensionamento de Barraginhas");

    // Without a date or folder of its own the report takes today's and the component's.
    s.m.Quenda().SetPastaPrograma("/outro/");
    const std::string hoje = RelatorioNivel(s.m);
    EXPECT_TRUE(Contem(hoje, "<IMG SRC=\"/outro/Cabecalho.jpg\""));
    EXPECT_FALSE(Contem(hoje, "relatório: </FONT>"));
}

TEST(Relatorio, MethodRowsFollowTheSpacingMethod) {
    RegionalFixo pt(Regional::PtBR());
    Sized nivel("Terraco em nivel.kzp");  // Lombardi Neto
    std::string t = RelatorioNivel(nivel.m, Fixas());
    EXPECT_TRUE(Contem(t, "<B>Cultura: </B>Soja</TD>\n<TD colspan=2><B>Resistência à erosão: </B> Grupo A - Alta</TD>"));
    EXPECT_TRUE(Contem(t, "<B>Preparo do solo: </B> Grupo 3</TD>"));
    EXPECT_FALSE(Contem(t, "Tipo de solo"));

    nivel.m.TerracosNivel().Espacamento().Metodologia().SetIndex(TMetodologiaEspacamento::Bentley);
    t = RelatorioNivel(nivel.m, Fixas());
    EXPECT_TRUE(Contem(t, "<TR>\n<TD colspan=2>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<B>Tipo de solo: </B>Solos argilosos</TD>"));
    EXPECT_FALSE(Contem(t, "Cultura"));

    Sized grad("Terraco em gradiente.kzp");  // typed spacing: no method rows
    t = RelatorioGradiente(grad.m, Fixas());
    EXPECT_TRUE(Contem(t, "<U><B>Método para cálculo de espaçamento entre terraços</B></U> -  Espaçamento arbitrado</TD>"));
    EXPECT_FALSE(Contem(t, "Tipo de solo") || Contem(t, "Cultura") || Contem(t, "Preparo"));
    grad.m.TerracosGradiente().Espacamento().Metodologia().SetIndex(TMetodologiaEspacamento::Parana);
    t = RelatorioGradiente(grad.m, Fixas());
    EXPECT_TRUE(Contem(t, "<TR colspan=2> \n<TD>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<B>Tipo de solo: </B>"));
}

TEST(Relatorio, SimulationBlockOnlyFromTheSimulationPage) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em nivel.kzp");
    EXPECT_FALSE(Contem(RelatorioNivel(s.m, Fixas()), "SIMULAÇÃO"));
    TOpcoesRelatorio o = Fixas();
    o.Simulacao = TFiguraGrafico{"Bit.bmp", 300, 612};
    const std::string t = RelatorioNivel(s.m, o);
    EXPECT_TRUE(Contem(t, "</TABLE></FONT>\n<P>\n<FONT SIZE=2 FACE=\"Arial\"><B>SIMULAÇÃO</B></FONT><P>\n<CENTER>\n"
                          "<FONT FACE = \"Arial\"><TABLE CELLPADDING=3>\n<TR>\n<TD>\n"
                          "<CENTER><IMG SRC=\"Bit.bmp\" HEIGHT=300 WIDTH=612></CENTER>\n</TD>\n</TR>\n"
                          "</TABLE></FONTE>\n</CENTER>\n<P>\n</FONT></BODY>\n</HTML>\n"));
    // Basins have no chart, whatever the caller says.
    Sized b("Bacia de acumulacao.kzp");
    EXPECT_FALSE(Contem(RelatorioBacia(b.m, o), "IMG SRC=\"Bit.bmp\""));
}

TEST(Relatorio, ChartPictureDimensionsHaveAtMostFourDigits) {
    TRelatorio r;
    r.InsertChartImage({"Bit.bmp", 12345, -3});
    EXPECT_EQ(r.Text(), "<CENTER><IMG SRC=\"Bit.bmp\" HEIGHT=9999 WIDTH=0></CENTER>\n");
}

TEST(Relatorio, PercentSlopesWithAPointSeparator) {
    RegionalFixo us(Regional::EnUS());
    Sized s("Terraco em gradiente.kzp");
    s.m.Configuracao().UDecli = "%";
    s.m.Configuracao().KDecli = 100;
    s.m.NumeroDaCurva().SetSt(0.05);
    const std::string t = RelatorioGradiente(s.m, Fixas());
    EXPECT_TRUE(Contem(t, "<B>Declividade: </B>5.0 %</TD>\n<TD colspan=2><B>Rugosidade: </B>0.1</TD>")) << t;
    EXPECT_TRUE(Contem(t, "<B>Declividade: </B>0.5 %</TD>"));  // channel slope 0.005 m/m
    EXPECT_TRUE(Contem(t, "<B>Declividade da parede do canal: </B>100.0 %</TD>"));
    EXPECT_TRUE(Contem(t, "<B>K: </B>1,932.5</TD>"));
}

TEST(Relatorio, TrapezoidalSectionPrintsBaseAndSideSlope) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em nivel.kzp");
    TTerracosNivel& n = s.m.TerracosNivel();
    n.Secao().SetIndex(0);
    n.SetB(0.5);
    n.Z().SetValue(1.25);
    const std::string t = RelatorioNivel(s.m, Fixas());
    EXPECT_TRUE(Contem(t, "<B>Seção: </B>Trapezoidal</TD>"));
    EXPECT_TRUE(Contem(t, "<B>Base: </B>0,5 m</TD>\n<TD colspan=2>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
                          "<B>Inverso da declividade das faces laterais: </B>1,25</TD>"));
    EXPECT_FALSE(Contem(t, "parede do canal"));
}

TEST(Relatorio, GradedReportPutsTheSavedFlowBack) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em gradiente.kzp");
    s.m.TerracosGradiente().SetQ(0);  // a later simulation may leave another value
    const std::string t = RelatorioDimensionamento(s.m, Fixas());
    EXPECT_TRUE(Contem(t, "<TD >&nbsp;&nbsp;&nbsp;&nbsp;<B>Vazão: </B>310,10 L/s</TD>"));
    EXPECT_DOUBLE_EQ(s.m.TerracosGradiente().Q(), s.m.VazaoSalva());
}

TEST(Relatorio, BasinShapesPrintTheirOwnRows) {
    RegionalFixo pt(Regional::PtBR());
    Sized semi("Bacia de acumulacao.kzp");
    std::string t = RelatorioBacia(semi.m, Fixas());
    EXPECT_TRUE(Contem(t, "<B>Formato:</B> Semi-circular</TD>"));
    EXPECT_TRUE(Contem(t, "<B>Raio:</B> 13,8 m</TD>"));
    EXPECT_FALSE(Contem(t, "m1:") || Contem(t, "Comprimento:") || Contem(t, "Largura:"));

    TModeloProjeto& m = semi.m;
    m.BaciaAcumulacao().SetFormato(TBaciaAcumulacao::Retangular);
    m.BaciaAcumulacao().Setm1(2);
    m.BaciaAcumulacao().Setm2(1);
    m.BaciaAcumulacao().ComputeBasin(1);
    t = RelatorioBacia(m, Fixas());
    EXPECT_TRUE(Contem(t, "  <TR>\n    <TD>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<B>Formato:</B> Retangular</TD>\n  </TR>\n"
                          "  <TR>\n    <TD>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<B>m1:</B> 2,000</TD>\n  </TR>\n"));
    EXPECT_TRUE(Contem(t, "<B>m2:</B> 1,000</TD>"));
    EXPECT_TRUE(Contem(t, "      <TD>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<B>Comprimento:</B> "));
    EXPECT_TRUE(Contem(t, "<B>Largura:</B> "));
    EXPECT_FALSE(Contem(t, "Raio:"));
}

TEST(Relatorio, FileAppearsOnlyWhenComplete) {
    PastaTemporaria pasta;
    const std::string alvo = pasta.Arquivo("r.html");
    GravarRelatorio("<HTML>á</HTML>\n", alvo);
    EXPECT_EQ(LerArquivo(alvo), "<HTML>á</HTML>\n");

    const std::string semPasta = pasta.Arquivo("nao/existe.html");
    EXPECT_ERRO(EVandoro, "Não foi possível gravar o arquivo " + semPasta + ": pasta inexistente.",
                GravarRelatorio("x", semPasta));
    // A folder in the way: nothing replaces it and no scratch file stays behind.
    fs::create_directory(pasta.Arquivo("d.html"));
    EXPECT_THROW(GravarRelatorio("x", pasta.Arquivo("d.html")), EVandoro);
    EXPECT_TRUE(fs::is_directory(pasta.Arquivo("d.html")));
    EXPECT_EQ(std::distance(fs::directory_iterator(pasta.Caminho()), fs::directory_iterator()), 2);
}

TEST(Relatorio, UserTextsCannotBreakTheHtml) {
    RegionalFixo pt(Regional::PtBR());
    Sized s("Terraco em nivel.kzp");
    s.m.Identificacao().SetNome("<script>alert(1)</script> & Cia");
    s.m.Identificacao().SetEmpresa("Sítio \"Boa Vista\"");
    s.m.Quenda().SetStrCidade("A<B>");
    TOpcoesRelatorio o = Fixas();
    o.PastaPrograma = "/opt/a&b \"x\"/";
    const std::string t = RelatorioNivel(s.m, o);
    EXPECT_TRUE(Contem(t, "<B>Nome: </B>&lt;script&gt;alert(1)&lt;/script&gt; &amp; Cia</TD>"));
    EXPECT_TRUE(Contem(t, "<B>Empresa: </B>Sítio &quot;Boa Vista&quot;</TD>"));
    EXPECT_TRUE(Contem(t, "<B>Localidade: </B>A&lt;B&gt;</TD>"));
    EXPECT_TRUE(Contem(t, "<IMG SRC=\"/opt/a&amp;b &quot;x&quot;/Cabecalho.jpg\" HEIGHT=83"));
    EXPECT_FALSE(Contem(t, "<script>") || Contem(t, "<B>>"));
}

// The Paraná soils are their own table: a project saved with one reopens, reports and saves
// it again, not the Bentley soil of the same index.
TEST(Relatorio, ParanaSoilSurvivesLoadReportAndSave) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("parana.kzp");
    {
        TModeloProjeto m;
        m.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));
        TEspacamento& e = m.TerracosNivel().Espacamento();
        e.Metodologia().SetIndex(TMetodologiaEspacamento::Parana);
        e.Solo().SetFamilia(TSolo::FamiliaParana);
        e.Solo().SetIndex(2);
        e.ComputeSpacing(m.NumeroDaCurva().St());
        m.EscreverProjeto(arq);
    }
    TModeloProjeto m;
    ASSERT_TRUE(m.LerProjeto(arq));
    EXPECT_EQ(m.TerracosNivel().Espacamento().Solo().Nome(), "Terra roxa");
    EXPECT_DOUBLE_EQ(m.TerracosNivel().Espacamento().Solo().IndiceSolo(), 1.212);
    Dimensionar(m);
    EXPECT_TRUE(Contem(RelatorioNivel(m, Fixas()), "<B>Tipo de solo: </B>Terra roxa</TD>"));
    m.EscreverProjeto(arq);
    const std::string texto = LerArquivo(arq);
    EXPECT_TRUE(Contem(texto, "IndSolo=2\r\nTipoSolo=Terra roxa\r\nIndiceSolo=1,212\r\n")) << texto;
    // The method decides the table even when the soil object was last set for another one.
    TEspacamento& e = m.TerracosNivel().Espacamento();
    e.Metodologia().SetIndex(TMetodologiaEspacamento::Bentley);
    EXPECT_TRUE(Contem(RelatorioNivel(m, Fixas()), "<B>Tipo de solo: </B>Solos de textura grossa</TD>"));
}

TEST(Relatorio, NoRunoffIsSaidInTheResults) {
    RegionalFixo pt(Regional::PtBR());
    Sized g("Terraco em gradiente.kzp");
    EXPECT_FALSE(Contem(RelatorioGradiente(g.m, Fixas()), "Não há escoamento"));
    g.m.NumeroDaCurva().SetVIB(500);  // above the storm's peak intensity
    const TResultadoDimensionamento r = Dimensionar(g.m);
    EXPECT_TRUE(r.SemEscoamento);
    EXPECT_EQ(r.Q, 0);
    EXPECT_DOUBLE_EQ(r.Hr, 10);
    EXPECT_EQ(AvisoResultado(r),
              "Não há escoamento superficial para esta chuva e este solo: a altura recomendada é apenas a "
              "folga de 10 cm, sem canal dimensionado.");
    const std::string linha = std::string("<TR>\n<TD colspan=3>&nbsp;&nbsp;&nbsp;&nbsp;<B>") + kTextoSemEscoamento +
                              "</B></TD>\n</TR>\n</TABLE></FONT>\n";
    EXPECT_TRUE(Contem(RelatorioGradiente(g.m, Fixas()), linha));

    Sized n("Terraco em nivel.kzp");
    EXPECT_FALSE(Dimensionar(n.m).SemEscoamento);
    n.m.NumeroDaCurva().SetVIB(500);
    const TResultadoDimensionamento rn = Dimensionar(n.m);
    EXPECT_TRUE(rn.SemEscoamento);
    EXPECT_EQ(rn.LES, 0);
    EXPECT_TRUE(Contem(RelatorioNivel(n.m, Fixas()), linha));
}

// ---------------------------------------------------------------- location report

struct Locacao {
    PastaTemporaria pasta;
    TModeloProjeto m;
    Locacao() {
        m.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));
        TLocacaoNivel& loc = m.LocacaoNivel();
        loc.SetfnImgElev(pasta.Arquivo("elevacao.img"));
        loc.SetfnImgDecli(pasta.Arquivo("declividade.img"));
        loc.SetfnVetSaida(pasta.Arquivo("terracos.vet"));
        m.NumeroDaCurva().SetSt(7.5);  // a run leaves the mean slope here, in per cent
        m.TerracosNivel().Selecao().SetArbitraryType(0);
    }
    void Tabela(const std::vector<TRegTerr>& regs) {
        TBDT t;
        for (const auto& r : regs) t.Add(std::make_unique<TRegTerr>(r));
        t.SaveToFile(pasta.Arquivo("terracos.bdt"));
    }
    void Complemento(const TComplementoBDT& c) { c.Gravar(pasta.Arquivo("terracos.bdc")); }
    std::string Relatorio() { return RelatorioLocacao(m, Fixas()); }
};

TEST(RelatorioLocacao, ThreeTerracesMatchTheCheckedReport) {
    RegionalFixo pt(Regional::PtBR());
    Locacao l;
    l.Tabela({{1, 812.5, 7.25, 1234.5, 40123.456, 1.2, 0.456},
              {2, 811.3, 8.0, 987.25, 35000, 1.2, 0.5},
              {3, 810.1, 6.125, 15.0, 999.995, 1.2, 0.44}});
    // The companion of a run saved earlier: each row's line above and type, a passage and
    // the pieces merged, printed as that run said them.
    TComplementoBDT comp;
    comp.terracos[1] = {0, "Terraço de base estreita"};
    comp.terracos[2] = {1, "Terraço de base estreita"};
    comp.terracos[3] = {2, ""};
    comp.travessias.push_back({2, 120.5, 8.25, 6.5, 0});
    comp.pecasUnidas = 2;
    l.Complemento(comp);
    std::string t = l.Relatorio();
    // The scratch folder's name changes from run to run.
    for (size_t p; (p = t.find(l.pasta.Caminho())) != std::string::npos;) t.replace(p, l.pasta.Caminho().size(), "@PASTA@");
    ConfereReferencia(t, "locacao.html");

    EXPECT_TRUE(Contem(t, "<B>Declividade média da área (%): </B>7,50</TD>"));
    // Light, dark, light, then the summed length; a type's line takes its row's colour.
    const std::string claro = "CENTER BGCOLOR = \"#EEEEEE\"", escuro = "CENTER BGCOLOR = \"#CCCCCC\"";
    const auto a = t.find(claro), b = t.find(escuro), c = t.find(claro, a + 1);
    ASSERT_NE(c, std::string::npos);
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_EQ(t.find(escuro, b + 1), std::string::npos);
    EXPECT_TRUE(Contem(t, "<TR BGCOLOR = \"#CCCCCC\" STYLE=\"page-break-inside: avoid\" ><TD></TD><TD colspan=7>"
                          "<FONT SIZE=2>Tipo de terraço: Terraço de base estreita</FONT></TD></TR>"));
    EXPECT_EQ(t.find("Tipo de terraço: ", c), std::string::npos);  // the third row has none
    EXPECT_TRUE(Contem(t, "<TD colspan=8 NOWRAP STYLE=\"white-space: nowrap\"><B>Comprimento total de terraços: </B>2.236,75 m</TD>"));
    EXPECT_TRUE(Contem(t, "<TD NOWRAP STYLE=\"white-space: nowrap\">1.234,5</TD>\n<TD NOWRAP STYLE=\"white-space: nowrap\">40.123,46</TD>\n<TD NOWRAP STYLE=\"white-space: nowrap\">0,46</TD>\n</TR>\n<TR BGCOLOR = \"#EEEEEE\" STYLE=\"page-break-inside: avoid\" ><TD></TD><TD colspan=7><FONT SIZE=2>Tipo de terraço: Terraço de base estreita</FONT></TD></TR>"));
    EXPECT_TRUE(Contem(t, "<TD NOWRAP STYLE=\"white-space: nowrap\">1</TD>\n<TD NOWRAP STYLE=\"white-space: nowrap\">topo</TD>"));
    EXPECT_TRUE(Contem(t, "<B>OBSERVAÇÕES</B></FONT>\n<BR><FONT SIZE=2 FACE = \"Arial\">Linhas com menos de 50,0 m unidas "
                          "à faixa do terraço abaixo: 2.</FONT>\n<BR><FONT SIZE=2 FACE = \"Arial\">Travessia fora de "
                          "nível: terraço 2, a 120,5 m do início, 8,3 m, aterro de até 7 cm</FONT>"));
    EXPECT_TRUE(Contem(t, "Acima: o terraço cuja linha limita a faixa por cima"));
    EXPECT_TRUE(Contem(t, "<TD NOWRAP STYLE=\"white-space: nowrap\">3</TD>\n<TD NOWRAP STYLE=\"white-space: nowrap\">2</TD>\n<TD NOWRAP STYLE=\"white-space: nowrap\">810,10</TD>\n<TD NOWRAP STYLE=\"white-space: nowrap\">1,20</TD>\n<TD NOWRAP STYLE=\"white-space: nowrap\">6,13</TD>\n<TD NOWRAP STYLE=\"white-space: nowrap\">15,0</TD>\n<TD NOWRAP STYLE=\"white-space: nowrap\">1.000,0</TD>"));
}

TEST(RelatorioLocacao, MethodRowsSpanTheWholeTable) {
    RegionalFixo pt(Regional::PtBR());
    Locacao l;
    l.Tabela({});
    std::string t = l.Relatorio();  // Lombardi Neto
    EXPECT_TRUE(Contem(t, "<TD>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<B>Cultura: </B>Soja</TD>\n"
                          "<TD><B>Resistência à erosão: </B> Grupo A - Alta</TD>"));
    EXPECT_TRUE(Contem(t, "<TD colspan=8 NOWRAP STYLE=\"white-space: nowrap\"><B>Comprimento total de terraços: </B>,0 m</TD>"));
    l.m.TerracosNivel().Espacamento().Metodologia().SetIndex(TMetodologiaEspacamento::Bentley);
    t = l.Relatorio();
    EXPECT_TRUE(Contem(t, "<TR colspan=3> \n<TD colspan=3>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<B>Tipo de solo: </B>"));
}

TEST(RelatorioLocacao, FileNamesAreEscaped) {
    RegionalFixo pt(Regional::PtBR());
    Locacao l;
    l.m.LocacaoNivel().SetfnImgElev(l.pasta.Arquivo("a&b<1>.img"));
    l.Tabela({});
    EXPECT_TRUE(Contem(l.Relatorio(), "<B>Imagem de elevação: </B>" + l.pasta.Caminho() + "/a&amp;b&lt;1&gt;.img</TD>"));
}

TEST(RelatorioLocacao, MissingOrDamagedTableGivesNoReport) {
    RegionalFixo pt(Regional::PtBR());
    Locacao l;
    const std::string saida = l.pasta.Arquivo("locacao.html");
    const std::string esperado = "Não foi possível ler a tabela de terraços " + l.pasta.Arquivo("terracos.bdt") + ".";
    auto mensagem = [&]() -> std::string {
        try {
            GravarRelatorioLocacao(l.m, l.m.LocacaoNivel(), saida, Fixas());
        } catch (const EVandoro& e) {
            return e.what();
        }
        return "";
    };
    EXPECT_EQ(mensagem(), esperado);
    EXPECT_FALSE(fs::exists(saida));

    l.Tabela({{1, 800, 5, 100, 1000, 1, 0.4}, {2, 799, 5, 100, 1000, 1, 0.4}});
    std::string bytes = LerArquivo(l.pasta.Arquivo("terracos.bdt"));
    GravarArquivo(l.pasta.Arquivo("terracos.bdt"), bytes.substr(0, bytes.size() - 10));  // cut short
    EXPECT_EQ(mensagem(), esperado);
    EXPECT_FALSE(fs::exists(saida));
    bytes[0] = 2;  // another version
    GravarArquivo(l.pasta.Arquivo("terracos.bdt"), bytes);
    EXPECT_EQ(mensagem(), esperado);
    EXPECT_FALSE(fs::exists(saida));

    bytes[0] = 1;
    GravarArquivo(l.pasta.Arquivo("terracos.bdt"), bytes);
    EXPECT_EQ(mensagem(), "");
    EXPECT_TRUE(Contem(LerArquivo(saida), "Comprimento total de terraços: </B>200,0 m"));

    // No output vector named at all.
    l.m.LocacaoNivel().SetfnVetSaida("");
    EXPECT_THROW(RelatorioLocacao(l.m, Fixas()), EVandoro);
}

}  // namespace

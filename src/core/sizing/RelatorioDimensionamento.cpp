#include "core/sizing/RelatorioDimensionamento.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/common/Arquivo.h"
#include "core/common/DataHora.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/ConstrucaoDimensionamento.h"
#include "core/sizing/Dimensionamento.h"

namespace fs = std::filesystem;

using namespace html;

const char* const kTituloRelatorioNivel = "Dimensionamento de Sistemas de Terraceamento em Nível";
const char* const kTituloRelatorioGradiente = "Dimensionamento de Sistemas de Terraceamento com Gradiente";
const char* const kTituloRelatorioBacia = "Dimensionamento de Barraginhas";

// ---------------------------------------------------------------- sizing reports

namespace {

TOpcoesRelatorio Completar(TModeloProjeto& m, TOpcoesRelatorio o) {
    if (o.PastaPrograma.empty()) o.PastaPrograma = m.Quenda().PastaPrograma();
    return o;
}

void Linha(TRelatorio& r, std::initializer_list<std::string> celulas, const char* abertura = "<TR>") {
    r.Add(abertura);
    for (const auto& c : celulas) r.Add(c);
    r.Add("</TR>");
}

// A group accepted as the dialog proposed it may be saved without its name: the factor
// used is the table row's, so is the name printed.
template <class T>
std::string GrupoUsado(const std::string& nome, std::int32_t indice, const std::vector<T>& tabela) {
    if (!nome.empty() || indice < 0 || indice >= static_cast<std::int32_t>(tabela.size())) return nome;
    return tabela[static_cast<size_t>(indice)].grupo;
}

// Rows of the method-specific spacing inputs shared by both terrace reports.
void LinhasMetodo(TRelatorio& r, const TEspacamento& e, bool gradiente) {
    const int metodo = e.Metodologia().Index();
    if (metodo == TMetodologiaEspacamento::Bentley || metodo == TMetodologiaEspacamento::Parana) {
        if (gradiente)
            Linha(r, {TRelatorio::Cell(kTD, 8, "Tipo de solo: ", e.SoloDoMetodo().Nome())}, "<TR colspan=2> ");
        else
            Linha(r, {TRelatorio::Cell(kTD2, 8, "Tipo de solo: ", e.SoloDoMetodo().Nome())});
    } else if (metodo == TMetodologiaEspacamento::LombardiNeto) {
        // Crop and groups come back from the project file as text.
        Linha(r, {TRelatorio::Cell(kTD, 8, "Cultura: ", EscaparHtml(e.Cultura().Nome())),
                  TRelatorio::Cell(kTD2, 0, "Resistência à erosão: ",
                                   EscaparHtml(GrupoUsado(e.ResistenciaErosao().Grupo(), e.ResistenciaErosao().Indice(),
                                                          TResistenciaErosao::Tabela())))});
        Linha(r, {TRelatorio::Cell(kTD2, 8, "Preparo do solo: ",
                                   EscaparHtml(GrupoUsado(e.PreparoDoSolo().Grupo(), e.PreparoDoSolo().Indice(),
                                                          TPreparoDoSolo::Tabela())))});
    }
}

std::string Parede(const TSistemaConservacao& s, const TConfiguracao& cfg) {
    return TRelatorio::Cell(kTD2, 8, "Declividade da parede do canal: ",
                            FormatFloat("#0.0##", cfg.KDecli * s.Sm().Value()), " " + cfg.UDecli);
}

// The results' own row when the storm gives no runoff: the height is not a sized channel.
std::string LinhaSemEscoamento() {
    return "<TD colspan=3>" + TRelatorio::Indent(4) + "<B>" + kTextoSemEscoamento + "</B></TD>";
}

bool Triangular(const TSistemaConservacao& s) { return s.Secao().Triangular(); }

void BlocoSimulacao(TRelatorio& r, bool gradiente) {
    const auto& f = r.Opcoes().Simulacao;
    if (!f) return;
    if (gradiente) {
        r.Add("<FONT SIZE=2><B>SIMULAÇÃO</B></FONT>");
        r.Add("<P>");
    } else {
        r.Add("<FONT SIZE=2 FACE=\"Arial\"><B>SIMULAÇÃO</B></FONT><P>");
    }
    r.Add("<CENTER>");
    r.Add("<FONT FACE = \"Arial\"><TABLE CELLPADDING=3>");
    r.Add("<TR>");
    r.Add("<TD>");
    r.InsertChartImage(*f);
    r.Add("</TD>");
    r.Add("</TR>");
    if (gradiente) {
        r.Add("</TABLE></FONT>");
        r.Add("</CENTER>");
        r.Add("</TD>");
    } else {
        r.Add("</TABLE></FONTE>");
        r.Add("</CENTER>");
    }
}

// What building it takes, with the settings the model holds: the terrace type, the machine, the
// figures the results give, the section's dimensions and, from the window, its drawing.
void BlocoConstrucao(TRelatorio& r, const TModeloProjeto& m, TTipoSistema sistema) {
    const TConstrucaoDimensionamento c = ConstrucaoDoDimensionamento(m, sistema, m.Configuracao().Construcao);
    r.Add("<FONT SIZE=2 FACE=\"Arial\"><B>CONSTRUÇÃO</B></FONT>");
    r.Add(kTabela);
    if (sistema != TTipoSistema::BaciaAcumulacao)
        Linha(r, {TRelatorio::Cell(kTD2, 4, "Tipo de terraço: ", EscaparHtml(c.terraco.tipo.empty() ? "base larga"
                                                                                                 : c.terraco.tipo))});
    Linha(r, {TRelatorio::Cell(kTD2, 4, "Máquina: ", c.maquina.empty() ? "-" : EscaparHtml(c.maquina))});
    for (const TLinhaResultado& l : LinhasConstrucao(c))
        Linha(r, {TRelatorio::Cell(kTD2, 4, l.Rotulo + " ", EscaparHtml(l.Valor))});
    if (sistema != TTipoSistema::BaciaAcumulacao && !c.terraco.secoes.empty()) {
        const TSecaoConstruida& s = c.terraco.secoes.front();
        auto m2 = [](double v) { return FormatFloat("0.00", v); };
        Linha(r, {TRelatorio::Cell(kTD, 4, "Camalhão: ", "altura " + m2(s.alturaCamalhao) + " m, base " +
                                                           m2(s.baseCamalhao) + " m"),
                  TRelatorio::Cell(kTD2, 4, "Corte e aterro: ", m2(s.areaCorte) + " e " + m2(s.areaAterro),
                                   " m<sup>2</sup>/m")});
        if (s.larguraCorte > 0)
            Linha(r, {TRelatorio::Cell(kTD, 4, "Corte: ", "largura " + m2(s.larguraCorte) + " m, profundidade " +
                                                           m2(s.profundidadeCorte) + " m"),
                      TRelatorio::Cell(kTD2, 4, "Faixa ocupada: ", m2(s.larguraTotal), " m")});
    }
    for (const std::string& a : AvisosConstrucao(c)) Linha(r, {TRelatorio::Cell(kTD2, 4, "Aviso: ", EscaparHtml(a))});
    r.Add(kFimTabela);
    if (const auto& f = r.Opcoes().Secao) r.InsertChartImage(*f);
    r.Paragraph();
}

// The land cover and what the curve number makes of the storm: printed beside the
// infiltration rate, so the runoff of the results can be followed by hand.
struct TLinhaCobertura {
    std::string Rotulo, Valor, Unidade;
};
std::vector<TLinhaCobertura> LinhasCobertura(TModeloProjeto& m) {
    const TNumeroDaCurva& cn = m.NumeroDaCurva();
    auto& storm = m.Precipitacao();
    // The runoff depth sets the depth of a storm without duration (rain up to its end).
    cn.RunoffDepth(storm);
    const std::string trat = cn.Tratamento().Name();
    return {{"Uso do solo: ", EscaparHtml(cn.UsoDoSolo().Name()), ""},
            {"Tratamento: ", trat.empty() ? "-" : EscaparHtml(trat), ""},
            {"Condição hidrológica: ", EscaparHtml(cn.CondicaoHidrologica().Name()), ""},
            {"Número da curva (CN): ", IntToStr(cn.CurveNumber()), ""},
            {"Abstração inicial (Ia): ", FormatFloat("0.00", cn.InitialAbstraction()), " mm"},
            {"Precipitação de projeto: ", FormatFloat("0.00", storm.PrecipitacaoTotal()), " mm"}};
}

// Two cells a row, as the terrace reports lay out their inputs.
void LinhasSolo(TRelatorio& r, TModeloProjeto& m) {
    const TConfiguracao& cfg = m.Configuracao();
    std::vector<std::string> celulas = {TRelatorio::Cell(kTD, 8, "Taxa de infiltração estável (Tie): ",
                                                         FormatFloat("##0.0##", cfg.KVIB * m.NumeroDaCurva().VIB()),
                                                         " " + cfg.UVIB)};
    for (const auto& l : LinhasCobertura(m))
        celulas.push_back(TRelatorio::Cell(celulas.size() % 2 ? kTD2 : kTD, celulas.size() % 2 ? 0 : 8, l.Rotulo,
                                           l.Valor, l.Unidade));
    for (size_t i = 0; i < celulas.size(); i += 2) {
        if (i + 1 < celulas.size())
            Linha(r, {celulas[i], celulas[i + 1]});
        else
            Linha(r, {celulas[i]});
    }
}

}  // namespace

std::string RelatorioNivel(TModeloProjeto& m, const TOpcoesRelatorio& opcoes) {
    TRelatorio r(Completar(m, opcoes));
    const TConfiguracao& cfg = m.Configuracao();
    TTerracosNivel& s = m.TerracosNivel();
    const TNumeroDaCurva& cn = m.NumeroDaCurva();
    const TEspacamento& e = s.Espacamento();

    r.BeginReport(kTituloRelatorioNivel);
    r.Add("<FONT SIZE=2 FACE=\"Arial\" ><B>IDENTIFICAÇÃO DO PROJETO</B></FONT>");
    r.WriteProjectIdentification(m.Identificacao());
    r.Paragraph();

    r.Add("<FONT SIZE=2 FACE=\"Arial\"><B>DADOS DE ENTRADA</B></FONT>");
    r.Add(kTabela);
    r.WriteStorm(m.Quenda());
    Linha(r, {std::string(kTD2) + TRelatorio::Indent(4) +
              "<U><B>Método para cálculo do espaçamento entre terraços:</B></U> " + e.Metodologia().Name() +
              "</TD>"});
    LinhasMetodo(r, e, false);
    Linha(r, {TRelatorio::Heading(kTD2, 4, "Canal")});
    Linha(r, {TRelatorio::Cell(kTD, 8, "Seção: ", s.Secao().Name())});
    if (Triangular(s)) {
        Linha(r, {Parede(s, cfg)});
    } else {
        Linha(r, {TRelatorio::Cell(kTD, 8, "Base: ", FormatFloat("#0.0##", s.B()), " m"),
                  TRelatorio::Cell(kTD2, 8, "Inverso da declividade das faces laterais: ",
                                   FormatFloat("#0.0##", s.Z().Value()))});
    }
    Linha(r, {TRelatorio::Cell(kTD2, 8, "Coeficiente de desuniformidade: ", FloatToStr(s.CDu()))});
    Linha(r, {TRelatorio::Heading(kTD2, 4, "Terreno")});
    Linha(r, {TRelatorio::Cell(kTD2, 8, "Declividade: ", FormatFloat("#0.0##", cfg.KDecli * cn.St()),
                               " " + cfg.UDecli)});
    Linha(r, {TRelatorio::Heading(kTD2, 4, "Solo")});
    LinhasSolo(r, m);
    r.Add(kFimTabela);
    r.Paragraph();

    r.Add("<FONT SIZE=2 FACE=\"Arial\"><B>RESULTADOS</B></FONT>");
    r.Add("<FONT FACE = \"Arial\"><TABLE WIDTH=\"100%\" COLS=3>");
    const double les = cn.RunoffDepth(m.Precipitacao());
    Linha(r, {TRelatorio::Cell(kTD, 4, "Lâmina de escoamento superficial: ", FormatFloat("0.0", les), " mm"),
              TRelatorio::Cell(kTD2, 0, "Espaçamento horizontal: ", FormatFloat("0.00", e.EH()), " m")});
    Linha(r, {TRelatorio::Cell(kTD, 4, "Altura teórica: ", FormatFloat("0.00", s.H() * 100), " cm"),
              TRelatorio::Cell(kTD2, 0, "Espaçamento vertical: ", FormatFloat("0.00", e.EV()), " m")});
    Linha(r, {TRelatorio::Cell(kTD, 4, "Altura recomendada: ", FormatFloat("0.00", s.Hr()), " cm")});
    if (SemEscoamentoSuperficial(les)) Linha(r, {LinhaSemEscoamento()});
    r.Add(kFimTabela);
    r.Paragraph();

    BlocoConstrucao(r, m, TTipoSistema::Nivel);
    BlocoSimulacao(r, false);
    r.EndReport();
    return r.Text();
}

std::string RelatorioGradiente(TModeloProjeto& m, const TOpcoesRelatorio& opcoes) {
    TRelatorio r(Completar(m, opcoes));
    const TConfiguracao& cfg = m.Configuracao();
    const TTerracosGradiente& s = m.TerracosGradiente();
    const TNumeroDaCurva& cn = m.NumeroDaCurva();
    const TEspacamento& e = s.Espacamento();
    const std::string decli = " " + cfg.UDecli;

    r.BeginReport(kTituloRelatorioGradiente);
    r.Add("<FONT SIZE=2><B>IDENTIFICAÇÃO DO PROJETO</B></FONT>");
    r.WriteProjectIdentification(m.Identificacao());
    r.Paragraph();

    r.Add("<FONT SIZE=2><B>DADOS DE ENTRADA</B></FONT>");
    r.Add(kTabela);
    r.WriteStorm(m.Quenda());
    Linha(r, {std::string(kTD2) + TRelatorio::Indent(4) +
              "<U><B>Método para cálculo de espaçamento entre terraços</B></U> -  " + e.Metodologia().Name() +
              "</TD>"});
    LinhasMetodo(r, e, true);
    Linha(r, {TRelatorio::Heading(kTD2, 4, "Canal")});
    Linha(r, {TRelatorio::Cell(kTD, 8, "Seção: ", s.Secao().Name()),
              TRelatorio::Cell(kTD, 0, "Declividade: ", FormatFloat("#0.0##", cfg.KDecli * s.Sc()), decli)});
    Linha(r, {TRelatorio::Cell(kTD, 8, "Rugosidade: ", FormatFloat("0.0#######", s.nc().Value())),
              TRelatorio::Cell(kTD, 0, "Comprimento: ", FormatFloat("#0.0##", s.Comprimento()), " m")});
    if (Triangular(s)) {
        Linha(r, {Parede(s, cfg)});
    } else {
        Linha(r, {TRelatorio::Cell(kTD, 8, "Inverso da declividade das faces laterais: ",
                                   FormatFloat("#0.0##", s.Z().Value())),
                  TRelatorio::Cell(kTD, 0, "Base: ", FormatFloat("#0.0##", s.B()), " m")});
    }
    Linha(r, {TRelatorio::Cell(kTD2, 8, "Coeficiente de desuniformidade: ", FloatToStr(s.CDu()))});
    Linha(r, {TRelatorio::Heading(kTD2, 4, "Terreno")});
    Linha(r, {TRelatorio::Cell(kTD, 8, "Declividade: ", FormatFloat("#0.0##", cfg.KDecli * cn.St()), decli),
              TRelatorio::Cell(kTD2, 0, "Rugosidade: ", FormatFloat("0.0######", cn.nt().Value()))});
    Linha(r, {TRelatorio::Heading(kTD2, 4, "Solo")});
    LinhasSolo(r, m);
    r.Add(kFimTabela);
    r.Paragraph();

    r.Add("<FONT SIZE=2><B>RESULTADOS</B></FONT>");
    r.Add(kTabela);
    Linha(r, {TRelatorio::Cell("<TD >", 4, "Vazão: ", FormatFloat("0.00", s.Q()), " L/s"),
              TRelatorio::Cell(kTD2, 0, "Espaçamento horizontal: ", FormatFloat("0.00", e.EH()), " m")});
    Linha(r, {TRelatorio::Cell("<TD >", 4, "Altura teórica: ", FormatFloat("0.00", s.H() * 100), " cm"),
              TRelatorio::Cell(kTD2, 0, "Espaçamento vertical: ", FormatFloat("0.00", e.EV()), " m")});
    Linha(r, {TRelatorio::Cell(kTD2, 4, "Altura recomendada: ", FormatFloat("0.00", s.Hr()), " cm")});
    if (SemEscoamentoSuperficial(s.Q())) Linha(r, {LinhaSemEscoamento()});
    r.Add(kFimTabela);
    r.Paragraph();

    BlocoConstrucao(r, m, TTipoSistema::Gradiente);
    BlocoSimulacao(r, true);
    r.EndReport();
    return r.Text();
}

std::string RelatorioBacia(TModeloProjeto& m, const TOpcoesRelatorio& opcoes) {
    TOpcoesRelatorio o = Completar(m, opcoes);
    o.Simulacao.reset();  // the basin report has no chart
    TRelatorio r(o);
    const TConfiguracao& cfg = m.Configuracao();
    const TBaciaAcumulacao& b = m.BaciaAcumulacao();
    const TNumeroDaCurva& cn = m.NumeroDaCurva();
    const bool semi = b.Formato() == TBaciaAcumulacao::SemiCircular;
    const std::string tabela = std::string("  ") + kTabela;
    const std::string heading = TRelatorio::Indent(4) + "<B><U>Bacia de acumula&ccedil;&atilde;o</U></B></TD>";

    r.BeginReport(kTituloRelatorioBacia);
    r.WriteProjectIdentification(m.Identificacao());
    r.Paragraph();

    r.Add("<FONT SIZE=2><B>DADOS DE ENTRADA</B></FONT>");
    r.Add(kTabela);
    r.WriteStorm(m.Quenda());
    r.Add(kFimTabela);
    r.Paragraph();

    // Rows of this table are indented in the text: "  <TR>", cells after four blanks.
    auto linha = [&r](const std::string& abertura, const std::string& conteudo) {
        r.Add("  <TR>");
        r.Add("    " + abertura + conteudo);
        r.Add("  </TR>");
    };
    const std::string i8 = TRelatorio::Indent(8);
    r.Add(tabela);
    linha(kTD, heading);
    linha(kTD, i8 + (semi ? "<B>Formato:</B> Semi-circular" : "<B>Formato:</B> Retangular") + "</TD>");
    if (!semi) {
        linha(kTD, i8 + "<B>m1:</B> " + FormatFloat("0.000", b.m1()) + "</TD>");
        linha(kTD, i8 + "<B>m2:</B> " + FormatFloat("0.000", b.m2()) + "</TD>");
    }
    linha(kTD, i8 + "<strong>Profundidade</strong>: " + FormatFloat("0.000", b.Profundidade()) + " m </TD>");
    linha(kTD, i8 + "<B>&Aacute;rea de contribui&ccedil;&atilde;o:</B> " + FormatFloat("0.000", m.AreaContribBacia()) +
                   " m<sup>2</sup></TD>");
    linha("<TD colspan=3>", TRelatorio::Indent(4) + "<U><B>Solo</B></U></TD>");
    linha("<TD colspan=3>", i8 + "<B>Taxa de infiltração estável (Tie): </B>" + FloatToStr(cfg.KVIB * cn.VIB()) +
                                " " + cfg.UVIB + "</TD>");
    for (const auto& l : LinhasCobertura(m))
        linha("<TD colspan=3>", i8 + "<B>" + l.Rotulo + "</B>" + l.Valor + l.Unidade + "</TD>");
    r.Add("  </TABLE></FONT>");

    // Results: rows after four blanks, cells after six.
    auto res = [&r](const std::string& conteudo) {
        r.Add("    <TR>");
        r.Add("      <TD>" + conteudo);
        r.Add("    </TR>");
    };
    const double les = cn.RunoffDepth(m.Precipitacao());
    r.Add("    <p><FONT SIZE=2 FACE=\"Arial\"><B>RESULTADOS</B></FONT></p>");
    r.Add(tabela);
    res(heading);
    res(i8 + "<B>LES:</B> " + FormatFloat("0.0", les) + " mm </TD>");
    res(i8 + "<strong>Volume</strong>: " + FormatFloat("0.0", b.Volume()) + " m<sup>3</sup></TD>");
    if (semi) {
        res(i8 + "<B>Raio:</B> " + FormatFloat("0.0", b.Raio()) + " m</TD>");
    } else {
        res(i8 + "<B>Comprimento:</B> " + FormatFloat("0.0", b.Comprimento()) + " m</TD>");
        res(i8 + "<B>Largura:</B> " + FormatFloat("0.0", b.Largura()) + " m</TD>");
    }
    r.Add("  </TABLE></FONT>");
    r.Paragraph();
    BlocoConstrucao(r, m, TTipoSistema::BaciaAcumulacao);
    r.EndReport();
    return r.Text();
}

std::string RelatorioDimensionamento(TModeloProjeto& m, const TOpcoesRelatorio& opcoes) {
    m.TerracosGradiente().SetQ(m.VazaoSalva());
    // Codes the sizing list cannot show are read as its last item, as Calcular does.
    switch (CodigoSistema(IndiceSistema(m.TipoSistema().Tipo()))) {
        case TTipoSistema::Nivel: return RelatorioNivel(m, opcoes);
        case TTipoSistema::Gradiente: return RelatorioGradiente(m, opcoes);
        default: return RelatorioBacia(m, opcoes);
    }
}

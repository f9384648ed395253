#include "core/project/Relatorio.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/common/Arquivo.h"
#include "core/common/DataHora.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/project/IdentProjeto.h"
#include "core/rainfall/Quenda21.h"

namespace fs = std::filesystem;

std::string LegendaJanelaRelatorio(const std::string& titulo) { return "Relatório - " + titulo; }

std::string EscaparHtml(const std::string& texto) {
    std::string r;
    r.reserve(texto.size());
    for (const char c : texto) {
        switch (c) {
            case '&': r += "&amp;"; break;
            case '<': r += "&lt;"; break;
            case '>': r += "&gt;"; break;
            case '"': r += "&quot;"; break;
            default: r += c;
        }
    }
    return r;
}

namespace {

using namespace html;
const char* const kFmtK = "###,###,###,###,###,###.0#";

// Coordinates keep their seconds sign: a double quote is harmless in a cell's text, and the
// DD°MM'SS" form is how the reports have always shown them.
std::string CoordenadaHtml(const std::string& s) {
    std::string r;
    for (const char c : s) {
        if (c == '"')
            r += c;
        else
            r += EscaparHtml(std::string(1, c));
    }
    return r;
}

// Picture dimensions go out as at most four digits.
std::string Dimensao(int v) { return IntToStr(std::clamp(v, 0, 9999)); }

}  // namespace

// ---------------------------------------------------------------- TRelatorio

TRelatorio::TRelatorio(TOpcoesRelatorio opcoes) : opcoes_(std::move(opcoes)) {}

void TRelatorio::Add(const std::string& linha) {
    texto_ += linha;
    texto_ += '\n';
}

std::string TRelatorio::Indent(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "&nbsp;";
    return s;
}

std::string TRelatorio::Cell(const std::string& abertura, int indent, const std::string& rotulo,
                             const std::string& valor, const std::string& sufixo) {
    return abertura + Indent(indent) + "<B>" + rotulo + "</B>" + valor + sufixo + "</TD>";
}

std::string TRelatorio::Heading(const std::string& abertura, int indent, const std::string& rotulo) {
    return abertura + Indent(indent) + "<U><B>" + rotulo + "</B></U></TD>";
}

void TRelatorio::BeginReport(const std::string& titulo) {
    texto_.clear();
    const std::string data = opcoes_.DataEmissao.empty() ? DateToStr(Date()) : opcoes_.DataEmissao;
    Add("<HTML>");
    Add("<HEAD>");
    Add("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">");
    Add("<META NAME=\"Author\" CONTENT=\"Vandoro 4.1\">");
    Add("<TITLE>" + titulo + "</TITLE>");
    Add("</HEAD>");
    Add("<FONT FACE=\"Arial\"><FONT COLOR=\"#000099\"><FONT SIZE=2>Data de emissão do relatório: " + data +
        "</FONT></FONT></FONT>");
    Add("<P>");
    Add("<CENTER><IMG SRC=\"" + EscaparHtml(opcoes_.PastaPrograma) + "Cabecalho.jpg\" HEIGHT=83 WIDTH=382></CENTER>");
    Add("<HR>");
    Add("<BODY TEXT=\"#000000\" BGCOLOR=\"#FFFFFF\" LINK=\"#0000FF\" VLINK=\"#800080\" ALINK=\"#FF0000\" "
        "><FONT SIZE = 2>");
    Add("<CENTER><FONT FACE=\"Arial\"><FONT SIZE=2><B>RELATÓRIO</B></FONT></FONT></CENTER>");
    Add("<CENTER><FONT FACE=\"Arial\"><FONT SIZE=2><B>" + titulo + "</B></FONT></FONT></CENTER>");
    Add("<HR>");
    Add("<P>");
}

void TRelatorio::EndReport() {
    Add("<P>");
    Add("</FONT></BODY>");
    Add("</HTML>");
}

void TRelatorio::WriteProjectIdentification(const TIDProjeto& id) {
    Add(kTabela);
    const std::pair<std::string, std::string> linhas[3][2] = {
        {{"Nome: ", id.Nome()}, {"Empresa: ", id.Empresa()}},
        {{"Técnico: ", id.Tecnico()}, {"Local: ", id.Local()}},
        {{"Estado: ", id.Estado()}, {"Data: ", id.Data()}},
    };
    for (const auto& l : linhas) {
        Add("<TR>");
        Add(Cell(kTD, 4, l[0].first, EscaparHtml(l[0].second)));
        Add(Cell(kTD, 0, l[1].first, EscaparHtml(l[1].second)));
        Add("</TR>");
    }
    Add("</TABLE> </FONT>");
}

void TRelatorio::WriteStorm(const TQuenda21& q) {
    const auto& p = q.Precipitacao();
    Add("<TR>");
    Add(std::string(kTD2) + Indent(4) + "<B><U>Parâmetros da equação de chuvas intensas</U></B></TD>");
    Add("</TR>");
    const std::string linhas[5][4] = {
        {"T: ", FloatToStr(p.Tr()) + " anos", "Estado: ", EscaparHtml(q.StrEstado())},
        {"K: ", FormatFloat(kFmtK, p.K()), "Localidade: ", EscaparHtml(q.StrCidade())},
        {"a: ", FormatFloat("#0.000", p.A()), "Latitude: ", CoordenadaHtml(q.Latitude())},
        {"b: ", FormatFloat("#0.000", p.B()), "Longitude: ", CoordenadaHtml(q.Longitude())},
        {"c: ", FormatFloat("#0.000", p.C()), "", ""},
    };
    for (const auto& l : linhas) {
        Add("<TR>");
        Add(Cell(kTD, 8, l[0], l[1]));
        if (!l[2].empty()) Add(Cell(kTD, 0, l[2], l[3]));
        Add("</TR>");
    }
}

void TRelatorio::InsertChartImage(const TFiguraGrafico& f) {
    Add("<CENTER><IMG SRC=\"" + EscaparHtml(f.Arquivo) + "\" HEIGHT=" + Dimensao(f.Altura) + " WIDTH=" + Dimensao(f.Largura) +
        "></CENTER>");
}

void GravarRelatorio(const std::string& texto, const std::string& arquivo) {
    GravarArquivoInteiro(arquivo, texto);
}

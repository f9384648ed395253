#include "core/rainfall/RelatorioQuenda.h"

#include <algorithm>

#include "core/common/DataHora.h"
#include "core/common/Numeros.h"
#include "core/rainfall/ConsultaQuenda.h"

const char* const kTituloRelatorioQuenda =
    "Parâmetros da Equação de Intensidade, Duração e Frequência da Precipitação";
const char* const kImagemMapaQuenda = "Bit.bmp";

namespace {

const char* const kTabela = "<FONT FACE = \"Arial\"><TABLE COLS=2 WIDTH=\"100%\">";
const char* const kFimTabela = "</TABLE></FONT>";
const char* const kTD = "<TD>";

std::string Secao(const std::string& titulo) { return "<FONT SIZE=2 FACE=\"Arial\"><B>" + titulo + "</B></FONT>"; }

// A titled section of two rows of two labelled values.
void SecaoDePares(TRelatorio& r, const std::string& titulo, const std::pair<const char*, std::string> (&pares)[4]) {
    r.Add(Secao(titulo));
    r.Add(kTabela);
    for (int i = 0; i < 4; i += 2) {
        r.Add("<TR>");
        r.Add(TRelatorio::Cell(kTD, 4, pares[i].first, pares[i].second));
        r.Add(TRelatorio::Cell(kTD, 0, pares[i + 1].first, pares[i + 1].second));
        r.Add("</TR>");
    }
    r.Add(kFimTabela);
    r.Paragraph();
}

}  // namespace

TDadosRelatorioQuenda DadosRelatorioQuenda(const TConsultaQuenda& c) {
    TDadosRelatorioQuenda d{.Localidade = c.StrCidade(), .Estado = c.StrEstado(), .Latitude = c.Latitude(),
                            .Longitude = c.Longitude(), .K = c.TextoK(), .A = c.TextoA(), .B = c.TextoB(),
                            .C = c.TextoC()};
    if (c.Mapa()) {
        d.ComMapa = true;
        d.LarguraMapa = c.BitmapEstado().Largura();
        d.AlturaMapa = c.BitmapEstado().Altura();
    }
    return d;
}

std::string RelatorioQuenda(const TDadosRelatorioQuenda& d, const TOpcoesRelatorio& o) {
    TRelatorio r(o);
    const std::string titulo = kTituloRelatorioQuenda;
    const std::string data = o.DataEmissao.empty() ? DateToStr(Date()) : o.DataEmissao;
    r.Add("<HTML>");
    r.Add("<HEAD>");
    r.Add("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">");
    r.Add("<META NAME=\"Author\" CONTENT=\"Quenda 2.1\">");
    r.Add("<TITLE>" + titulo + "</TITLE>");
    r.Add("</HEAD>");
    r.Add("<BODY TEXT=\"#000000\" BGCOLOR=\"#FFFFFF\">");
    r.Add("<FONT FACE=\"Arial\"><FONT COLOR=\"#000099\"><FONT SIZE=2>Data de emissão do relatório: " + data +
          "</FONT></FONT></FONT>");
    r.Add("<P>");
    r.Add("<CENTER><IMG SRC=\"" + o.PastaPrograma + "../Arquivos Comuns/Cabecalho_Quenda21.jpg\" HEIGHT=73 WIDTH=550></CENTER>");
    r.Add("<HR>");
    r.Add("<CENTER><FONT FACE=\"Arial\"><FONT SIZE=2><B>RELATÓRIO</B></FONT></FONT></CENTER>");
    r.Add("<CENTER><FONT FACE=\"Arial\"><FONT SIZE=2><B>" + titulo + "</B></FONT></FONT></CENTER>");
    r.Add("<HR>");
    r.Add("<P>");

    SecaoDePares(r, "LOCALIZAÇÃO:",
                 {{"Localidade: ", d.Localidade}, {"Estado: ", d.Estado}, {"Latitude: ", d.Latitude},
                  {"Longitude: ", d.Longitude}});
    SecaoDePares(r, "PARÂMETROS DA EQUAÇÃO:", {{"K: ", d.K}, {"a: ", d.A}, {"b: ", d.B}, {"c: ", d.C}});

    if (d.ComMapa) {
        r.Add(Secao("MAPA DE LOCALIZAÇÃO:"));
        r.Add("<P>");
        r.Add("<CENTER><IMG SRC=\"" + std::string(kImagemMapaQuenda) + "\" HEIGHT=" +
              IntToStr(std::clamp(d.AlturaMapa, 0, 9999)) + " WIDTH=" + IntToStr(std::clamp(d.LarguraMapa, 0, 9999)) +
              "></CENTER>");
        r.Paragraph();
    }
    r.Add("</BODY>");
    r.Add("</HTML>");
    return r.Text();
}

#pragma once
// The HTML report builder every report shares (sizing, location, rainfall): header, footer,
// identification table and storm block. The text is built in memory; a file is written only
// when it is complete. Text is UTF-8 and the head declares it.
#include <memory>
#include <optional>
#include <string>

class TIDProjeto;
class TQuenda21;
struct TFigurasLocacao;

// The simulation chart's picture, saved by the caller before the report is built.
struct TFiguraGrafico {
    std::string Arquivo = "Bit.bmp";
    int Altura = 0;
    int Largura = 0;
};

// The built section's picture in the sizing reports, whoever draws it.
inline TFiguraGrafico FiguraSecaoRelatorio() { return {"secao.png", 210, 540}; }

struct TOpcoesRelatorio {
    // Folder of the header picture, '/'-terminated; empty: the rainfall component's program folder.
    std::string PastaPrograma;
    // Issue date as printed; empty: today in the regional short-date format.
    std::string DataEmissao;
    // Present when the sizing window shows its simulation page: the report ends with the chart.
    std::optional<TFiguraGrafico> Simulacao;
    // Present when the window drew the built section: the construction block shows it.
    std::optional<TFiguraGrafico> Secao;
    // Present when the front end draws a location's pictures: the plan's page after the
    // identification and the terraces' profiles after the observations.
    std::shared_ptr<const TFigurasLocacao> Locacao;
};

// Fragments of the three-column tables the reports are made of.
namespace html {
inline constexpr const char* kTabela = "<FONT FACE = \"Arial\"><TABLE COLS=3 WIDTH=\"100%\">";
inline constexpr const char* kFimTabela = "</TABLE></FONT>";
inline constexpr const char* kTD = "<TD>";
inline constexpr const char* kTD2 = "<TD colspan=2>";
}  // namespace html

// Builder of one report: the common header, footer, identification table and storm block.
class TRelatorio {
public:
    explicit TRelatorio(TOpcoesRelatorio opcoes = {});

    void BeginReport(const std::string& titulo);
    void EndReport();
    void WriteProjectIdentification(const TIDProjeto& id);
    // First rows of every input table: the intensity-duration-frequency equation.
    void WriteStorm(const TQuenda21& quenda);
    void Paragraph() { Add("<P>"); }
    void InsertChartImage(const TFiguraGrafico& figura);

    // One line of the text.
    void Add(const std::string& linha);
    const std::string& Text() const { return texto_; }
    const TOpcoesRelatorio& Opcoes() const { return opcoes_; }

    // "&nbsp;" repeated; reports use 0, 4 or 8.
    static std::string Indent(int n);
    // A cell: opening tag, indentation, bold label, value and suffix, "</TD>".
    static std::string Cell(const std::string& abertura, int indent, const std::string& rotulo,
                            const std::string& valor, const std::string& sufixo = "");
    // A sub-heading cell, label inside <U><B>...</B></U>.
    static std::string Heading(const std::string& abertura, int indent, const std::string& rotulo);

private:
    TOpcoesRelatorio opcoes_;
    std::string texto_;
};

// A user's text (names, places, file names) made safe inside the report: & < > and " become
// their entities. The report's own fragments never go through here.
std::string EscaparHtml(const std::string& texto);

// "Relatório - " + title: the report window's caption.
std::string LegendaJanelaRelatorio(const std::string& titulo);

// Writes the finished text through a temporary file beside 'arquivo'; on any failure the
// target is untouched and EVandoro("Não foi possível gravar o arquivo " + arquivo + ".") raised.
void GravarRelatorio(const std::string& texto, const std::string& arquivo);

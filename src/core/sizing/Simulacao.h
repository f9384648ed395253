#pragma once
// Sensitivity charts of a sized design: one input swept while the others keep their design
// values. Terrace charts have 21 points and four linked value lists; the basin chart 10 points.
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/Regional.h"

enum class TTipoSistema : std::uint8_t;
class ISerieGrafico;
class TModeloProjeto;
class TSistemaConservacao;

// Chart groups of the simulation page: 0 flow, 1 theoretical height, 2 recommended height
// (graded terraces), 3 level terraces.
constexpr int kGruposGradiente = 3;
constexpr int kGrupoNivel = 3;
constexpr int kPontosSimulacao = 21;
constexpr int kPontosBacia = 10;

struct TItemGrafico {
    int Grupo = 0;
    int Item = 0;
    std::string Nome;  // "Q x Comp"
};
// Caption of a group (" Vazão ", ..., " &Gráficos ").
std::string LegendaGrupoSimulacao(int grupo);
// Items of a group, in order (empty outside 0..3).
std::vector<std::string> ItensGrupoSimulacao(int grupo);
// Every chart of a system type: graded (1) groups 0..2, level (0) group 3; none for others.
std::vector<TItemGrafico> GraficosSimulacao(TTipoSistema tipoSistema);

// What PlotSimulation draws: the points and the four lists, with titles and labels.
struct TGraficoSimulacao {
    int Grupo = 0, Item = 0;
    std::string Nome;
    std::string TituloX, TituloY;
    std::string RotuloX, UnidadeX;                      // beside SimulaTudo
    std::string RotuloH = "Altura teórica:", UnidadeH = "cm";
    std::string RotuloHr = "Altura recomendada:", UnidadeHr = "cm";
    bool MostraQ = false;  // the flow list belongs to graded terraces only
    std::vector<double> X, Y;
    std::vector<std::string> SimulaQ, SimulaH, SimulaHr, SimulaTudo;
};

// Draws one chart of the project's terrace system (group 0..2 graded, 3 level) with the
// system's current design values and CDu. The terrain roughness, terrain slope and
// infiltration rate a sweep writes into the shared runoff object, and the storm's scratch
// total, are put back afterwards, also when a point fails; the failure then propagates with
// the points so far already in 'serie'. Bad group or item numbers raise EVandoro.
TGraficoSimulacao PlotSimulation(TModeloProjeto& m, int grupo, int item, ISerieGrafico* serie = nullptr);

// Hint of a clicked chart point: "(" + X shortest + "; " + Y "0.00" + ")".
std::string DicaPonto(double x, double y);

// The simulation page's sequences over its selection state, for the window to mirror: which
// item each group shows (-1 none; at most one graded group has one) and the active tab.
class TPaginaSimulacao {
public:
    explicit TPaginaSimulacao(TModeloProjeto& m) : m_(m) {}

    // Opening the page: CDu of the current system := cdu; the first chart of the system is
    // selected and drawn (graded "Q x Comp" on the "Q" tab, level "H x Tie").
    TGraficoSimulacao Abrir(double cdu, ISerieGrafico* serie = nullptr);
    // Choosing an item: the other graded groups lose their selection.
    TGraficoSimulacao Escolher(int grupo, int item, ISerieGrafico* serie = nullptr);
    // "OK" of the coefficient: CDu and Hr of the system are set; on graded terraces the item
    // chosen on the "Q" or "H" tab moves to the "Hr" tab, otherwise the current chart is redrawn.
    TGraficoSimulacao CalculaHR(double cdu, ISerieGrafico* serie = nullptr);
    // Back to the result page: CDu := cdu, the series is cleared.
    void Voltar(double cdu, ISerieGrafico* serie = nullptr);

    bool Gradiente() const;
    int Selecionado(int grupo) const { return grupo >= 0 && grupo < 4 ? selecao_[grupo] : -1; }
    int GrupoAtivo() const { return grupoAtivo_; }

private:
    TSistemaConservacao& Sistema() const;
    TGraficoSimulacao Desenhar(int grupo, ISerieGrafico* serie);

    TModeloProjeto& m_;
    int selecao_[4] = {-1, -1, -1, -1};
    int grupoAtivo_ = 0;
};

// Basin chart items for a basin shape (0 rectangular: five, 1 semicircular: four).
std::vector<std::string> ItensGraficoBacia(int formato);
// Step of the contribution-area sweep for a contribution area A (m²).
double PassoAreaBacia(double A);

struct TGraficoBacia {
    int Item = 0;
    std::string Nome, TituloX, TituloY;
    std::vector<double> X, Y;
    std::string Aviso;  // why a runoff chart is all zeros; empty otherwise
};
// The basin chart; works on copies of the basin, the runoff object and the storm, so the
// project is never changed.
TGraficoBacia PlotBasinSimulation(const TModeloProjeto& m, int item, ISerieGrafico* serie = nullptr);

// One chart as rows of text and numbers: what the command line prints and the export writes.
struct TTabelaSimulacao {
    std::string Nome, TituloX, TituloY;
    std::string CabecalhoX;  // heading of the X column in a printed table: "Comprimento (m)"
    std::vector<double> X, Y;
    // As the page shows them; Q, H and Hr are empty where the chart has no such list.
    std::vector<std::string> TextosX, Q, H, Hr;
};
TTabelaSimulacao TabelaSimulacao(const TGraficoSimulacao& g);
TTabelaSimulacao TabelaSimulacao(const TGraficoBacia& g, const Regional& r = Regional::Current());
// The export of the tables: Windows-1252, lines ending CR LF, one header line and one line per
// point. Under a decimal comma the fields are separated by ';', otherwise by ','; a field that
// holds the separator or a quote is quoted.
std::string CsvSimulacao(const std::vector<TTabelaSimulacao>& tabelas, const Regional& r = Regional::Current());

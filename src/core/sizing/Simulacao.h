#pragma once
// Sensitivity charts of a sized design: one input swept while the others keep their design
// values. Terrace charts have 21 points and four linked value lists; the basin chart 10 points.
#include <string>
#include <vector>

class ISerieGrafico;
class TModeloProjeto;

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
std::vector<TItemGrafico> GraficosSimulacao(int tipoSistema);

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

// Basin chart items for a basin shape (0 rectangular: five, 1 semicircular: four).
std::vector<std::string> ItensGraficoBacia(int formato);
// Step of the contribution-area sweep for a contribution area A (m²).
double PassoAreaBacia(double A);

struct TGraficoBacia {
    int Item = 0;
    std::string Nome, TituloX, TituloY;
    std::vector<double> X, Y;
};
// The basin chart; works on copies of the basin, the runoff object and the storm, so the
// project is never changed.
TGraficoBacia PlotBasinSimulation(const TModeloProjeto& m, int item, ISerieGrafico* serie = nullptr);

#pragma once
// What a located plan takes to build: each terrace's soil moved from its own length, height,
// strip slope and type (a graded run's strips take the level criterion's type at their slope),
// the hours and cost of the design's machine, and the plan's totals; and how every front end
// (the window, the report, locar, the GIS table) writes them.
#include <string>
#include <vector>

#include "core/project/Construcao.h"

struct TRegTerr;
struct TInfoTerraco;
class TSistemaConservacao;
class TSelecaoTipoTerraco;
class TModeloProjeto;

inline constexpr size_t kAvisosConstrucao = 3;

// One terrace.
struct TObraTerraco {
    double volume = 0;        // m³ (-1 unknown: its section could not be reckoned, a warning says why)
    TServicoMaquina servico;  // hours and cost (-1 unknown)
};

struct TConstrucaoLocacao {
    std::vector<TObraTerraco> terracos;  // one per terrace in the result's order
    double volumeTotal = 0;              // m³, of the terraces known
    TServicoMaquina servicoTotal;
    std::string maquina;  // the machine the hours are of ("" when the settings list none)
    // "Terraço N: " and why its section cannot be built so, for the first kAvisosConstrucao; then
    // how many more.
    std::vector<std::string> avisos;
};

// 'c' as the design sees it (TConfigConstrucao::ParaODesign): its machine gives the hours.
// 'info' (same order, may be shorter) gives each terrace's type; without one, 'selecao' types it
// at its strip's slope.
TConstrucaoLocacao ConstrucaoDaLocacao(const std::vector<TRegTerr>& terracos, const std::vector<TInfoTerraco>& info,
                                       const TSistemaConservacao& sistema, const TSelecaoTipoTerraco& selecao,
                                       const TConfigConstrucao& c);
// The plan's totals and machine over terraces already reckoned (a saved table's), of those whose
// soil is known: the hours and cost are known only when every one's are.
TConstrucaoLocacao SomaDaConstrucao(const std::vector<TObraTerraco>& terracos, const std::string& maquina);

// What the next runs of the project's location reckon with: the settings 'c' with the project's
// machine, and the level criterion, which also types a graded strip. Every front end calls it
// before a run.
void PrepararConstrucao(TModeloProjeto& m, const TConfigConstrucao& c);

// The three columns each terrace table ends with, and one terrace's cells: the volume with one
// decimal, hours and cost with two, kSemValor for what the settings lack (NotaConstrucao, once
// under the table, says what). 'milhares' groups the thousands (the window and the report; locar
// keeps the plain numbers of its other columns).
const std::vector<std::string>& ColunasConstrucao();
std::vector<std::string> CelulasConstrucao(const TObraTerraco& t, bool milhares = true);
// The machine's name, or "nenhuma" when the settings list none.
std::string NomeMaquina(const std::string& nome);

// The totals as locar prints them, before its last line kRotuloVolumeTotal.
inline constexpr const char* kRotuloMaquina = "Máquina: ";
inline constexpr const char* kRotuloHorasMaquina = "Horas de máquina (h): ";
inline constexpr const char* kRotuloCustoTotal = "Custo (R$): ";
inline constexpr const char* kRotuloVolumeTotal = "Volume total de solo movimentado (m³): ";
// The total as the window and the report show it: thousands grouped, one decimal, " m³".
std::string VolumeTotalFormatado(double m3);
// The machine's line of the window and the report: "Máquina: X    Horas de máquina: 12,50 h    Custo:
// R$ 2.500,00", kSemValor for what is not known.
std::string ServicoTotalFormatado(const TConstrucaoLocacao& c);

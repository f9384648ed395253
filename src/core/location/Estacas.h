#pragma once
// Stake-out of a located plan: the points where the technician drives a stake along each
// terrace line (its start, every so many metres, its end), each with the elevation the
// channel must have there and the ground's, and the files a spreadsheet or a GPS receiver
// takes them in.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/common/Regional.h"
#include "core/location/LocNivel.h"

inline constexpr double kEspacamentoEstacas = 20;  // m, the usual stake interval
inline constexpr const char* kRotuloEspacamentoEstacas = "Espaçamento das estacas (m)";
inline constexpr const char* kFiltroEstacas = "Planilha CSV (*.csv);;GPX (*.gpx);;KML (*.kml)";

struct TEstaca {
    int terraco = 0;
    int numero = 0;           // 1, 2, ... along the line
    double estaca = 0;        // m from the line's start; the last one is the line's length
    double e = 0, n = 0;      // the elevation model's map coordinates
    double cotaProjeto = 0;   // m: the level, or a graded channel's elevation there
    double cotaTerreno = 0;   // m; NaN when semTerreno
    bool semTerreno = false;  // off the model or on a cell without data
};

// The ground's elevation at a map point; nullopt where it is not known.
using TTerrenoEstacas = std::function<std::optional<double>(double e, double n)>;

// Raises "O espaçamento das estacas deve ser um número maior ou igual a 1 m." for a spacing
// under 1 m (or not a number) and "O espaçamento das estacas deve ser no máximo 1000 m."
// above 1000 m.
void ChecaEspacamentoEstacas(double espacamento);

// The stakes of one line: terrace number linha.id, its design elevation linha.level at the
// first vertex rising by 'declividade' (m/m, 0 for a level line) per metre along it. Stakes at
// 0, N, 2N, ... metres and at the end; a last gap shorter than N is kept as it is, and one under
// a millimetre is taken into the end stake. 'metrosPorUnidade' converts the map units
// (1000 for a model in km). A line without vertices has no stakes; one of no length has one.
std::vector<TEstaca> EstacasDaLinha(const TLinhaMapa& linha, double espacamento, double declividade,
                                    const TTerrenoEstacas& terreno, double metrosPorUnidade = 1);

struct TEstacasLocacao {
    std::vector<TEstaca> estacas;  // terraces in the table's order
    std::string crs;               // the elevation model's coordinate system (WKT); "" none
};

// The ground of both is the elevation model's, bilinear between cell centres as the location
// reads it; on a cell at the edge of the data, over the neighbouring cells that have data.

// The stakes of the last run of 'loc' (its lines at full precision), on the run's elevation
// model. Raises for a spacing out of range and when there is no run.
TEstacasLocacao EstacasDaLocacao(const TLocacaoNivel& loc, double espacamento);

// The stakes of a saved plan: the lines of 'vet' (32-bit coordinates), the table beside it for
// the order and the levels, and its companion for a graded channel's grade (without it, the
// grade the vertices' elevations show); the ground from 'elevacao'. Raises for a spacing out of
// range, and with the readers' messages for a vector or table that cannot be read.
TEstacasLocacao EstacasDoPlano(const std::string& vet, const std::string& elevacao, double espacamento);

// Writes the stakes whole or not at all, the format by the extension:
// .csv  in the model's coordinates, the regional separators (';' between fields where the
//       decimal separator is ',', else ','), CR LF, Windows-1252, an empty cell for unknown ground;
// .gpx  GPX 1.1, a route "Terraço N" per terrace with the stakes "T<terraço>-<estaca>", WGS 84,
//       the design elevation as <ele>;
// .kml  a folder "Terraço N" per terrace with a point per stake, WGS 84.
// 'crs' is the model's system (WKT): GPX and KML are refused without one. Any other extension
// is refused: "Formato de estacas desconhecido: use .csv, .gpx ou .kml."
void GravarEstacas(const std::string& arquivo, const std::vector<TEstaca>& estacas, const std::string& crs,
                   const Regional& r = Regional::Current());
// Before a run, so a run is not spent on a file that would be refused: the extension, GPX and
// KML on an elevation model without a coordinate system, and a name that is the model's or one
// of 'outros' (the project, the run's other outputs).
void ChecaSaidaEstacas(const std::string& saida, const std::string& elevacao, const std::vector<std::string>& outros);

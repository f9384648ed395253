#pragma once
// What the location plan's map shows, gathered from a run (or from the files of a saved one),
// and the sheet's geometry that needs no drawing: scale bar, grid step, orientation on A4,
// the strips' colours and the line under a point. The drawing itself is render/MapaPlano.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/gdal/Gdal.h"
#include "core/location/LocNivel.h"

class TLocacaoNivel;

// One terrace line in map units, with its number and its terrace type ("" unknown).
struct TLinhaPlano {
    int terraco = 0;
    std::string tipo;
    std::vector<double> x, y;
    bool operator==(const TLinhaPlano&) const = default;
};

struct TPlanoMapa {
    std::string elevacao;             // the elevation model, read by the drawing
    std::vector<TLinhaPlano> linhas;  // in the table's order when there is one
    TMapaFaixas faixas;               // empty without a run
    std::vector<TLinhaMapa> escoadouros;
    std::vector<TPolilinha> limite;   // the field boundary's rings, in the model's units (empty: none)
    bool gradiente = false;
    std::string sistema;              // the coordinate system's name ("" none declared)
    double metrosPorUnidade = 1;      // of the map units, for the scale bar
    bool operator==(const TPlanoMapa&) const = default;
};

// The plan of the last run of 'loc', or of the files its project names when there was no run
// ('projeto' resolves the paths the project keeps relative to its folder). A piece that cannot
// be read is left out; nothing here raises.
TPlanoMapa PlanoMapaDaLocacao(const TLocacaoNivel& loc, const std::string& projeto = {});

// The longest bar of 1, 2 or 5 times a power of ten not longer than 'maximo' (> 0); 0 for a
// non-positive or non-finite maximum.
double ComprimentoEscala(double maximo);
// The grid step of that series giving at most 'linhas' lines across 'extensao'; 0 when
// either is not positive.
double PassoGrade(double extensao, int linhas);
// A grid coordinate as the sheet labels it: thousands grouped, decimals only as fine as the
// step needs ("7.455.200", "12,5" with the pt-BR separators).
std::string RotuloGrade(double valor, double passo);
// A scale bar's length in metres as its label: "500 m", "2 km", "0,5 m".
std::string RotuloEscala(double metros);

// Where the map goes on a sheet of 'largura' x 'altura' (any unit): the frame left by the
// margins, the title and the legend (beside the map on a landscape sheet, under it on a
// portrait one).
struct TRetangulo {
    double x = 0, y = 0, largura = 0, altura = 0;
};
struct TLayoutFolha {
    TRetangulo titulo, mapa, legenda;
    double margem = 0;
    double texto = 0;  // the body text's height
};
TLayoutFolha LayoutFolha(double largura, double altura);
// The map scale (sheet units per map unit) a field of that extent gets in the frame.
double EscalaNaFolha(const TLayoutFolha& l, double larguraCampo, double alturaCampo);
// Whether the field is drawn larger on a landscape A4 sheet than on a portrait one.
bool PaisagemA4(double larguraCampo, double alturaCampo);

// Colour indices for the strips: every terrace number of the map gets one (0, 1, ...), strips
// that touch (side by side in the grid) never share one; the fewest colours greedy finds.
std::map<int, int> CoresDasFaixas(const TMapaFaixas& f);

// The terrace number of the line nearest to (x, y) within 'tolerancia' map units; 0 when
// none is that near. 'talvez', when given, names by index the lines that may be that near (the
// others are not looked at): the map asks on every move of the mouse over a whole farm.
int TerracoMaisProximo(const std::vector<TLinhaPlano>& linhas, double x, double y, double tolerancia,
                       const std::function<bool(size_t)>& talvez = {});

// The vertices of a line worth drawing where 'tolerancia' map units are too small to see (half
// a pixel): none nearer than that to the vertex kept before it, then none within it of the
// chord its kept neighbours span (Douglas-Peucker); both ends always, indices rising. Every
// vertex for a tolerance that is not positive. A whole farm's lines hold millions of vertices a
// metre apart: drawn all, each with its round join, they froze the map for seconds.
std::vector<size_t> VerticesVisiveis(const std::vector<double>& x, const std::vector<double>& y, double tolerancia);

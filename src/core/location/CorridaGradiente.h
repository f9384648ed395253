#pragma once
// A graded-terrace layout on the elevation model: terraces that start on the waterways the
// user drew and cross the slope rising at the channel grade, so that each channel carries its
// runoff back to its outlet; each is sized as a graded channel with its own length, strip and
// slope. Fed the grids already loaded and normalised as the level run is (an elevation of 0 is
// a cell without data), and the waterways in the model's map units.
#include <string>
#include <vector>

#include "core/gdal/Gdal.h"
#include "core/location/LocNivel.h"
#include "core/location/TracadoGradiente.h"
#include "core/model/SistemaConservacao.h"

class IProgresso;
class TImgElevacao;
class TImgDeclive;
class TNumeroDaCurva;
class TPrecipitacao;

// One graded terrace of a layout.
struct TTerracoGradiente {
    int id = 0;
    int escoadouro = 0;        // which waterway it drains to, 1 for the file's first line
    int acima = 0;             // the terrace from the outlet above on the same side (0 none)
    TLinhaMapa linha;          // map units, from the outlet; level = the outlet's elevation
    double cotaSaida = 0;      // m, at the outlet
    double cotaInicio = 0;     // m, at the line's far end (its highest point)
    double comprimento = 0;    // m
    double area = 0;           // m², its strip
    double declividade = 0;    // %, its strip's mean
    double ev = 0;             // m, the drop from the outlet above it on its waterway
    double eh = 0;             // m, the strip's mean width (area / length)
    double h = 0, hr = 0;      // m, flow depth and recommended height
    double vazao = 0;          // L/s at the outlet
    TFimGradiente fim = TFimGradiente::Borda;
    std::string aviso;         // what the technician must see to ("" none)
};

struct TResultadoGradiente {
    std::vector<TTerracoGradiente> terracos;  // numbered down each waterway in turn
    TMapaFaixas mapaFaixas;
    double areaCampo = 0;         // m²
    double areaDescoberta = 0;    // m² of field whose runoff meets neither a terrace nor a waterway
    double areaDireta = 0;        // m² of field whose runoff reaches a waterway before any terrace
    int linhasCurtas = 0;         // lines under the plan's minimum length, left out
    bool parada = false;          // a stop request ended the placing: the lines so far are kept
    std::vector<TTravessiaNivel> travessias;  // of the smoothed lines: off their grade by more than the tolerance
    double comprimentoRaioMenor = 0;          // m of smoothed line still under the minimum radius
};

struct TParametrosGradiente2 {
    TPlanoNivel plano;  // its longest channel ends the lines
    IProgresso* progresso = nullptr;  // how far the outlets are, the lines placed; a stop request ends the placing
};

// Graded channels take their spacing from a method or a given EV, never from a given height.
inline constexpr const char* kMensagemAlturaNoGradiente =
    "A locação de terraços com gradiente não usa o espaçamento pela altura arbitrada: escolha um método de "
    "espaçamento ou arbitre o espaçamento vertical.";

// The layout. Raises EVandoro when the system's spacing cannot be used on the model (a spacing
// from a given height), when no waterway crosses the field, or when no terrace could be placed
// (also when a stop came before the first).
TResultadoGradiente LocarGradiente(const TImgElevacao& elev, const TImgDeclive& decl,
                                   const std::vector<TPolilinha>& escoadouros, const TTerracosGradiente& sistema,
                                   TNumeroDaCurva& cn, TPrecipitacao& chuva, const TParametrosGradiente2& p);

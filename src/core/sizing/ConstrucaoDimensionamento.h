#pragma once
// What a sized design costs to build: its terrace as built (the type the level system's
// criterion gives at the design's slope), the soil moved per 100 m of terrace and per hectare
// of field at the design's spacing, and the hours and cost of the design's machine (the
// settings' default when it names none the settings hold).
#include <string>
#include <vector>

#include "core/project/Construcao.h"
#include "core/sizing/Dimensionamento.h"

class TModeloProjeto;

struct TConstrucaoDimensionamento {
    TConstrucaoTerraco terraco;
    double volume100 = 0;    // m³ per 100 m of terrace
    double volumeHa = 0;     // m³ per hectare of field: 10 000 / EH m of terrace
    TServicoMaquina servico100, servicoHa;
    std::string maquina;     // the machine's name ("" none)
};

// Terraces only (level or graded); a basin design gives an empty terrace type and no figures.
TConstrucaoDimensionamento ConstrucaoDoDimensionamento(const TModeloProjeto& m, const TResultadoDimensionamento& r,
                                                       const TConfigConstrucao& c);

// The lines the results add, always these labels: "Volume de solo movimentado (m³/100 m):",
// "Horas de máquina (h/100 m):", "Custo (R$/100 m):", "Custo (R$/ha):", each with its value or
// what the user must enter first.
inline constexpr const char* kRotuloVolume100 = "Volume de solo movimentado (m³/100 m):";
inline constexpr const char* kRotuloHoras100 = "Horas de máquina (h/100 m):";
std::vector<TLinhaResultado> LinhasConstrucao(const TConstrucaoDimensionamento& c);

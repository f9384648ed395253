#pragma once
// What a sized design costs to build. Terraces: the terrace as built (the type the level
// system's criterion gives at the design's slope), the soil moved per 100 m of terrace and per
// hectare of field at the design's spacing, and the hours and cost of the design's machine (the
// settings' default when it names none the settings hold). Basins: each basin's soil dug, which
// is its storage volume, and the hours and cost of digging it.
#include <string>
#include <vector>

#include "core/model/DesenhoSecao.h"
#include "core/project/Construcao.h"
#include "core/sizing/Dimensionamento.h"

class TModeloProjeto;

struct TConstrucaoDimensionamento {
    TTipoSistema sistema = TTipoSistema::Nivel;
    TConstrucaoTerraco terraco;
    double volume100 = 0;    // m³ per 100 m of terrace
    double volumeHa = 0;     // m³ per hectare of field: 10 000 / EH m of terrace
    TServicoMaquina servico100, servicoHa;
    double volumeBacia = 0;  // m³ dug per basin
    TServicoMaquina servicoBacia;
    std::string maquina;     // the machine's name ("" none)
    std::string nota;        // why a figure cannot be given with this machine ("" none)
};

// Over a model sized by Calcular: the system's recommended height and spacing as they stand
// (a coefficient applied since counts).
TConstrucaoDimensionamento ConstrucaoDoDimensionamento(const TModeloProjeto& m, TTipoSistema sistema,
                                                       const TConfigConstrucao& c);

// The lines the results add, with their value or what the user must enter first. Terraces
// always start with "Volume de solo movimentado (m³/100 m):" and "Horas de máquina (h/100 m):",
// then the cost per 100 m, the volume and cost per hectare; basins give the soil dug, hours and
// cost per basin.
inline constexpr const char* kRotuloVolume100 = "Volume de solo movimentado (m³/100 m):";
inline constexpr const char* kRotuloHoras100 = "Horas de máquina (h/100 m):";
std::vector<TLinhaResultado> LinhasConstrucao(const TConstrucaoDimensionamento& c);
// The warnings under those lines: the section that does not fit, the mix a row is costed as, a
// width or machine the settings lack.
std::vector<std::string> AvisosConstrucao(const TConstrucaoDimensionamento& c);

// The drawing of the design's main type (a mixed row's first) as built; empty for a basin.
TDesenhoSecao DesenhoDaConstrucao(const TConstrucaoDimensionamento& c);

#pragma once
// The built terrace drawn across its axis, in metres (x downhill, z up, the ground under the
// crest at 0), with the dimensions a machine operator stakes: the figure of the sizing results
// and of the reports. Only geometry and texts: the windows paint it.
#include <string>
#include <vector>

#include "core/model/SecaoConstruida.h"

struct TPontoSecao {
    double x = 0, z = 0;
};

// A dimension line from 'a' to 'b' (horizontal or vertical) with its text: "hc", "Hr" and "p"
// name the ridge's height, the recommended height over its toe and the cut's depth.
struct TCotaSecao {
    TPontoSecao a, b;
    std::string texto;
    bool vertical = false;
};

struct TDesenhoSecao {
    std::vector<TPontoSecao> terreno;  // the ground before the work
    std::vector<TPontoSecao> perfil;   // the ground as built
    std::vector<TPontoSecao> corte;    // polygon of the soil cut (empty when its width is unknown)
    std::vector<TPontoSecao> aterro;   // polygon of the fill
    std::vector<TCotaSecao> cotas;
    double xMin = 0, xMax = 0, zMin = 0, zMax = 0;  // what the figure must show
    double declive = 0;  // m/m, the ground's: a figure may exaggerate heights over it alone
};

// Empty (no points) for a section that cannot be built as calculated (s.problema with no ridge).
TDesenhoSecao DesenhoSecao(const TDadosSecao& d, const TSecaoConstruida& s);

#pragma once
// The terrace as the machine builds it: the ridge raised with the soil cut on its uphill side,
// cut and fill balanced, on ground of slope St. The model, across the terrace (x downhill,
// ground z = -St x):
// - Triangular section (the sizing's V between the ground and the ridge's upstream face Sm):
//   the ridge is a triangle with both faces at Sm whose upstream face stands Hr over its
//   upstream toe, so its crest is hc = Hr (Sm + St) / Sm over the ground under it; it covers
//   hc (1/(Sm - St) + 1/(Sm + St)) of ground and its area is hc / 2 times that.
// - Trapezoidal section: the channel (bottom B, sides Z horizontal to 1 vertical, depth Hr) is
//   dug into the ground, area (B + Z Hr) Hr, and the ridge is the same triangle with faces 1/Z;
//   the channel's top width and the ridge's base, side by side, are what it takes of the field.
// - Bench ("patamar"): a level bench as wide as the spacing, cut from its uphill half and filled
//   on its downhill half: each is b² St / 8 per metre.
// The soil cut is loose once moved: the fill takes the cut times the swell factor. In the
// triangular section the cut lies on the uphill side of the ridge, across what the terrace
// type's width leaves, deepest at the ridge; its depth is twice its area over its width.
#include <string>
#include <utility>
#include <vector>

// The constructive types the selection criteria name.
enum class TTipoConstrutivo { BaseEstreita, BaseMedia, BaseLarga, Murundum, Patamar };

// The width of ground each type moves (m). Lombardi Neto et al. (1994), "Terraceamento
// agrícola" (CATI, Boletim Técnico 206): narrow base up to 3 m, medium 3 to 6 m, broad 6 to 12 m
// (the upper bounds). No public source gives the murundum's: 0 until the user sets it. A bench
// is as wide as the spacing.
struct TLargurasTerraco {
    double estreita = 3, media = 6, larga = 12, murundum = 0;
    double De(TTipoConstrutivo t) const;  // 0 for a bench
};

// What a criterion's text builds: each type with its share of the terraces. A mixed Emater/RS
// row ("Dois terraços de base larga e um terraço Tipo murundum (intercalados)") is 2/3 broad
// base and 1/3 murundum. Empty for a text that names no type.
struct TComposicaoTerraco {
    std::vector<std::pair<TTipoConstrutivo, double>> partes;
    bool Misto() const { return partes.size() > 1; }
};
TComposicaoTerraco ComposicaoDoTipo(const std::string& texto);
std::string NomeTipoConstrutivo(TTipoConstrutivo t);  // "base larga", "murundum", ...

struct TDadosSecao {
    TTipoConstrutivo tipo = TTipoConstrutivo::BaseLarga;
    bool triangular = true;
    double hr = 0;            // m, the recommended height: the channel's depth at the ridge
    double sm = 0;            // m/m, the ridge's upstream face (triangular)
    double st = 0;            // m/m, the terrain across the terrace
    double b = 0, z = 0;      // m and H:V, the trapezoidal channel
    double empolamento = 1;   // loose m³ per m³ cut
    double largura = 0;       // m, the type's width (0 unknown)
    double eh = 0;            // m, the spacing: the bench's width, and the strip the terrace must fit
};

struct TSecaoConstruida {
    double alturaCamalhao = 0;     // m, crest over the ground under it
    double baseCamalhao = 0;       // m
    double areaAterro = 0;         // m² per m, loose
    double areaCorte = 0;          // m² per m: the soil moved
    double larguraCorte = 0;       // m (0 when the type's width is unknown)
    double profundidadeCorte = 0;  // m, deepest (0 when unknown)
    double larguraTotal = 0;       // m taken from the field (0 when unknown)
    std::string problema;          // why it cannot be built so ("" when it can)
};

// Raises EVandoro for a height, slope or swell factor that is negative, not finite, or (swell)
// not positive.
TSecaoConstruida SecaoConstruida(const TDadosSecao& d);

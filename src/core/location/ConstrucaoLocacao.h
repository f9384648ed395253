#pragma once
// What a located plan takes to build: each terrace's soil moved from its own length, height,
// strip slope and type (a graded run's strips take the level criterion's type at their slope),
// and the plan's total.
#include <string>
#include <vector>

#include "core/location/Locacao.h"
#include "core/project/Construcao.h"

class TSistemaConservacao;
class TSelecaoTipoTerraco;

inline constexpr size_t kAvisosConstrucao = 3;

struct TConstrucaoLocacao {
    std::vector<double> volumes;  // m³, one per terrace in the result's order
    double volumeTotal = 0;       // m³
    // "Terraço N: " and why its section cannot be built so, for the first kAvisosConstrucao; then
    // how many more.
    std::vector<std::string> avisos;
};

TConstrucaoLocacao ConstrucaoDaLocacao(const TResultadoLocacao& r, const TSistemaConservacao& sistema,
                                       const TSelecaoTipoTerraco& selecao, const TConfigConstrucao& c);

inline constexpr const char* kRotuloVolumeTotal = "Volume total de solo movimentado (m³): ";
// The total as the window and the report show it: thousands grouped, one decimal, " m³".
std::string VolumeTotalFormatado(double m3);

#include "core/location/ConstrucaoLocacao.h"

#include "core/common/Numeros.h"
#include "core/model/SistemaConservacao.h"

std::string VolumeTotalFormatado(double m3) { return FormatFloat("###,###,###,###,##0.0", m3) + " m³"; }

TConstrucaoLocacao ConstrucaoDaLocacao(const TResultadoLocacao& r, const TSistemaConservacao& sistema,
                                       const TSelecaoTipoTerraco& selecao, const TConfigConstrucao& c) {
    TConstrucaoLocacao res;
    int outros = 0;
    for (size_t i = 0; i < r.terracos.size(); ++i) {
        const TRegTerr& t = r.terracos[i];
        const std::string tipo = i < r.info.size() && !r.info[i].tipo.empty() ? r.info[i].tipo : selecao.TipoPara(t.slope);
        TDadosSecao d;
        d.triangular = sistema.Secao().Triangular();
        d.hr = t.height;
        d.sm = sistema.Sm().Value();
        d.st = t.slope / 100;
        d.b = sistema.B();
        d.z = sistema.Z().Value();
        d.eh = t.length > 0 ? t.area / t.length : 0;
        const TConstrucaoTerraco k = ConstrucaoDoTerraco(tipo, d, c);
        res.volumes.push_back(k.areaCorte * t.length);
        res.volumeTotal += res.volumes.back();
        // The first few with their reason; the rest counted.
        if (!k.problema.empty()) {
            if (res.avisos.size() < kAvisosConstrucao) res.avisos.push_back("Terraço " + std::to_string(t.id) + ": " + k.problema);
            else ++outros;
        }
    }
    if (outros > 0)
        res.avisos.push_back("Outros " + std::to_string(outros) + " terraços com seção construída que não cabe como " +
                             "calculada.");
    return res;
}

#include "core/location/ConstrucaoLocacao.h"

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/location/BDT.h"
#include "core/location/LocNivel.h"
#include "core/model/SistemaConservacao.h"
#include "core/project/ModeloProjeto.h"

std::string VolumeTotalFormatado(double m3) { return CelulaConstrucao(m3, 1) + " m³"; }

TConstrucaoLocacao ConstrucaoDaLocacao(const std::vector<TRegTerr>& terracos, const std::vector<TInfoTerraco>& info,
                                       const TSistemaConservacao& sistema, const TSelecaoTipoTerraco& selecao,
                                       const TConfigConstrucao& c) {
    TConstrucaoLocacao res;
    if (c.maquina >= 0 && c.maquina < static_cast<int>(c.maquinas.size()))
        res.maquina = c.maquinas[static_cast<size_t>(c.maquina)].nome;
    int outros = 0;
    double comprimento = 0;
    for (size_t i = 0; i < terracos.size(); ++i) {
        const TRegTerr& t = terracos[i];
        const std::string tipo = i < info.size() && !info[i].tipo.empty() ? info[i].tipo : selecao.TipoPara(t.slope);
        TDadosSecao d;
        d.triangular = sistema.Secao().Triangular();
        d.hr = t.height;
        d.sm = sistema.Sm().Value();
        d.st = t.slope / 100;
        d.b = sistema.B();
        d.z = sistema.Z().Value();
        d.eh = t.length > 0 ? t.area / t.length : 0;
        TConstrucaoTerraco k;
        TObraTerraco o;
        try {
            k = ConstrucaoDoTerraco(tipo, d, c);
            o.volume = k.areaCorte * t.length;
            o.servico = ServicoMaquina(o.volume, t.length, c);
            res.volumeTotal += o.volume;
            comprimento += t.length;
        } catch (const EVandoro& e) {
            // A section the settings cannot give leaves this terrace unknown, not the run failed.
            o.volume = -1;
            k.problema = e.what();
        }
        res.terracos.push_back(o);
        // The first few with their reason; the rest counted.
        if (!k.problema.empty()) {
            if (res.avisos.size() < kAvisosConstrucao) res.avisos.push_back("Terraço " + std::to_string(t.id) + ": " + k.problema);
            else ++outros;
        }
    }
    res.servicoTotal = ServicoMaquina(res.volumeTotal, comprimento, c);
    if (outros > 0)
        res.avisos.push_back("Outros " + std::to_string(outros) + " terraços com seção construída que não cabe como " +
                             "calculada.");
    return res;
}

TConstrucaoLocacao SomaDaConstrucao(const std::vector<TObraTerraco>& terracos, const std::string& maquina) {
    TConstrucaoLocacao res;
    res.terracos = terracos;
    res.maquina = maquina;
    bool horas = !terracos.empty(), custo = horas;
    res.servicoTotal.horas = res.servicoTotal.custo = 0;
    for (const TObraTerraco& t : terracos) {
        if (t.volume < 0) continue;  // its warning says why, as when it was reckoned
        res.volumeTotal += t.volume;
        horas = horas && t.servico.horas >= 0;
        custo = custo && t.servico.custo >= 0;
        if (horas) res.servicoTotal.horas += t.servico.horas;
        if (custo) res.servicoTotal.custo += t.servico.custo;
    }
    if (!horas) res.servicoTotal.horas = -1;
    if (!horas || !custo) res.servicoTotal.custo = -1;
    return res;
}

void PrepararConstrucao(TModeloProjeto& m, const TConfigConstrucao& c) {
    m.LocacaoNivel().SetConstrucao(c.ParaODesign(m.Maquina()), m.TerracosNivel().Selecao());
}

const std::vector<std::string>& ColunasConstrucao() {
    static const std::vector<std::string> c = {"Volume (m³)", "Horas (h)", "Custo (R$)"};
    return c;
}

std::vector<std::string> CelulasConstrucao(const TObraTerraco& t, bool milhares) {
    return {CelulaConstrucao(t.volume, 1, milhares), CelulaConstrucao(t.servico.horas, 2, milhares),
            CelulaConstrucao(t.servico.horas < 0 ? -1 : t.servico.custo, 2, milhares)};
}

std::string NomeMaquina(const std::string& nome) { return nome.empty() ? std::string("nenhuma") : nome; }

std::string ServicoTotalFormatado(const TConstrucaoLocacao& c) {
    const TServicoMaquina& s = c.servicoTotal;
    return kRotuloMaquina + NomeMaquina(c.maquina) + "    Horas de máquina: " +
           (s.horas >= 0 ? CelulaConstrucao(s.horas, 2) + " h" : std::string(kSemValor)) +
           "    Custo: " + (s.horas >= 0 && s.custo >= 0 ? "R$ " + CelulaConstrucao(s.custo, 2) : std::string(kSemValor));
}

#include "core/location/PerfisTerracos.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/Locacao.h"
#include "core/location/RelatorioLocacao.h"

namespace {

// Fine enough for a chart a page wide, coarse enough for a farm's kilometres of line.
constexpr double kPasso = 2;  // m

std::vector<TPerfilTerraco> PerfisDasEstacas(const std::vector<TEstaca>& estacas,
                                             const std::vector<TTravessiaNivel>& travessias, bool gradiente) {
    std::vector<TPerfilTerraco> perfis;
    double desvio = 0;  // stations of a later piece run on from the one before
    for (const TEstaca& e : estacas) {
        if (perfis.empty() || perfis.back().terraco != e.terraco) {
            perfis.push_back({e.terraco, {}, {}, gradiente});
            desvio = 0;
            for (const TTravessiaNivel& t : travessias)
                if (t.terraco == e.terraco) perfis.back().travessias.push_back(t);
        }
        std::vector<TEstaca>& p = perfis.back().pontos;
        TEstaca ponto = e;
        if (!p.empty() && e.estaca + desvio < p.back().estaca) {
            desvio = p.back().estaca;
            TEstaca quebra = p.back();
            quebra.semTerreno = true;
            quebra.cotaTerreno = std::numeric_limits<double>::quiet_NaN();
            p.push_back(quebra);
        }
        ponto.estaca += desvio;
        p.push_back(ponto);
    }
    return perfis;
}

}  // namespace

std::string TFigurasLocacao::NomePerfis(int pagina) { return "perfis-" + std::to_string(pagina) + ".png"; }

std::vector<const TPerfilTerraco*> TFigurasLocacao::PerfisDaPagina(int pagina) const {
    std::vector<const TPerfilTerraco*> r;
    for (size_t i = size_t(pagina - 1) * kPerfisPorPagina; pagina >= 1 && i < perfis.size() && r.size() < kPerfisPorPagina;
         ++i)
        r.push_back(&perfis[i]);
    return r;
}

TFigurasLocacao FigurasDaLocacao(const TLocacaoNivel& loc, const std::string& projeto) {
    TFigurasLocacao f;
    try {
        if (!loc.LinhasMapa().empty() && loc.Registros().Count() > 0) {
            const TResultadoNivel& r = loc.Resultado();
            f.perfis = PerfisDasEstacas(EstacasDaLocacao(loc, kPasso).estacas, r.travessias, !r.canais.empty());
        } else if (const std::string vet = CaminhoDoProjeto(loc.fnVetSaida(), projeto);
                   !loc.fnVetSaida().empty() && ArquivoExiste(vet)) {
            TComplementoBDT c;
            const std::string complemento = ComplementoDaTabela(ArquivoTabelaTerracos(vet));
            if (ArquivoExiste(complemento)) c.Ler(complemento);
            f.perfis = PerfisDasEstacas(
                EstacasDoPlano(vet, CaminhoDoProjeto(loc.fnImgElev(), projeto), kPasso).estacas, c.travessias,
                !c.canais.empty());
        }
    } catch (const EVandoro&) {
        f.perfis.clear();
    }
    return f;
}

std::vector<TLugarRotulo> DisporRotulos(const std::vector<TRotuloPerfil>& rotulos, double inicio, double fim,
                                        double folga, int maxFilas) {
    // A stretch read from a damaged plan may have no place: at the chart's start, and sortable.
    std::vector<TRotuloPerfil> rs = rotulos;
    for (TRotuloPerfil& k : rs) {
        if (!std::isfinite(k.centro)) k.centro = inicio;
        if (!std::isfinite(k.largura)) k.largura = 0;
    }
    std::vector<TLugarRotulo> r(rs.size());
    std::vector<size_t> ordem(rs.size());
    for (size_t i = 0; i < ordem.size(); ++i) ordem[i] = i;
    std::stable_sort(ordem.begin(), ordem.end(), [&](size_t a, size_t b) { return rs[a].centro < rs[b].centro; });
    std::vector<double> fimDaFila;  // right edge of each row's last label
    for (const size_t i : ordem) {
        const TRotuloPerfil& k = rs[i];
        // Wider than the chart: from its start, as far as it goes.
        const double desejada = std::max(inicio, std::min(k.centro - k.largura / 2, fim - k.largura));
        TLugarRotulo lugar{desejada, -1};
        for (size_t f = 0; f < fimDaFila.size() && lugar.fila < 0; ++f) {
            const double x = std::max(desejada, fimDaFila[f] + folga);
            if (x <= std::max(desejada, k.centro) && x + k.largura <= std::max(fim, desejada + k.largura)) lugar = {x, int(f)};
        }
        if (lugar.fila < 0 && int(fimDaFila.size()) < std::max(1, maxFilas)) {
            fimDaFila.push_back(-std::numeric_limits<double>::infinity());
            lugar.fila = int(fimDaFila.size()) - 1;
        }
        if (lugar.fila < 0)  // no room left: where it overlaps least
            lugar.fila = int(std::min_element(fimDaFila.begin(), fimDaFila.end()) - fimDaFila.begin());
        fimDaFila[size_t(lugar.fila)] = std::max(fimDaFila[size_t(lugar.fila)], lugar.esquerda + k.largura);
        r[i] = lugar;
    }
    return r;
}

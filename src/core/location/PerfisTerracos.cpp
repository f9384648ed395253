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
    std::vector<size_t> ordem(rs.size());
    for (size_t i = 0; i < ordem.size(); ++i) ordem[i] = i;
    std::stable_sort(ordem.begin(), ordem.end(), [&](size_t a, size_t b) { return rs[a].centro < rs[b].centro; });

    struct Ocupado {
        double de, ate;
    };
    std::vector<std::vector<Ocupado>> filas;
    // The free place of row f nearest to x0 within [a, b] for a label w wide; NaN when none.
    const auto Livre = [&](size_t f, double x0, double w, double a, double b) {
        const auto cabe = [&](double x) {
            if (!(x >= a && x <= b)) return false;
            for (const Ocupado& o : filas[f])
                if (x + w + folga > o.de && x < o.ate + folga) return false;
            return true;
        };
        double melhor = NAN;
        const auto tenta = [&](double x) {
            if (cabe(x) && !(std::fabs(x - x0) >= std::fabs(melhor - x0))) melhor = x;
        };
        tenta(std::clamp(x0, a, b));
        for (const Ocupado& o : filas[f]) {
            tenta(o.ate + folga);
            tenta(o.de - folga - w);
        }
        return melhor;
    };

    std::vector<TLugarRotulo> r(rs.size());
    const size_t limite = size_t(std::max(1, maxFilas));
    for (const size_t i : ordem) {
        const TRotuloPerfil& k = rs[i];
        const double w = k.largura, ultimo = std::max(inicio, fim - w);
        // Wider than the chart: from its start, as far as it goes.
        const double desejada = std::max(inicio, std::min(k.centro - w / 2, fim - w));
        TLugarRotulo lugar{desejada, -1};
        // Over its stretch's centre, on the first row with room; a new row while rows are left.
        const double a = std::max(inicio, std::min(k.centro - w, ultimo)), b = std::min(ultimo, std::max(k.centro, a));
        for (size_t f = 0; f < filas.size() && lugar.fila < 0; ++f)
            if (const double x = Livre(f, desejada, w, a, b); !std::isnan(x)) lugar = {x, int(f)};
        if (lugar.fila < 0 && filas.size() < limite) {
            filas.emplace_back();
            lugar.fila = int(filas.size()) - 1;
        }
        // Every row taken: the nearest room that still comes within a label's width of the
        // stretch's centre; none that near, it is left out rather than put over another or far
        // from its stretch.
        if (lugar.fila < 0) {
            const double de = std::max(inicio, k.centro - 2 * w), ate = std::min(ultimo, k.centro + w);
            for (size_t f = 0; f < filas.size(); ++f) {
                const double x = Livre(f, desejada, w, de, ate);
                if (!std::isnan(x) && (lugar.fila < 0 || std::fabs(x - desejada) < std::fabs(lugar.esquerda - desejada)))
                    lugar = {x, int(f)};
            }
        }
        if (lugar.fila >= 0) filas[size_t(lugar.fila)].push_back({lugar.esquerda, lugar.esquerda + w});
        r[i] = lugar;
    }
    return r;
}

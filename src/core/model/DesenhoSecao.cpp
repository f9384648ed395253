#include "core/model/DesenhoSecao.h"

#include <algorithm>

#include "core/common/Numeros.h"

namespace {

std::string Metros(double v) { return FloatToStrFixed(v, 2) + " m"; }

}  // namespace

TDesenhoSecao DesenhoSecao(const TDadosSecao& d, const TSecaoConstruida& s) {
    TDesenhoSecao r;
    const double st = d.st;
    auto chao = [st](double x) { return TPontoSecao{x, -st * x}; };

    if (d.tipo == TTipoConstrutivo::Patamar) {
        if (!(d.eh > 0)) return r;
        // A level bench: the uphill half cut, the downhill half filled.
        const double h = d.eh / 2;
        r.corte = {chao(-h), {-h, 0}, {0, 0}};
        r.aterro = {{0, 0}, {h, 0}, chao(h)};
        r.perfil = {{-h, 0}, {h, 0}};
        r.cotas.push_back({{-h, 0}, {h, 0}, "patamar " + Metros(d.eh), false});
        r.cotas.push_back({{-h, 0}, chao(-h), "p " + Metros(s.profundidadeCorte), true});
    } else {
        const double hc = s.alturaCamalhao;
        if (!(hc > 0)) return r;
        const double face = d.triangular ? d.sm : 1 / d.z;
        const double xu = -hc / (face + st), xd = hc / (face - st);
        r.aterro = {chao(xu), {0, hc}, chao(xd)};
        r.perfil = {chao(xu), {0, hc}, chao(xd)};
        r.cotas.push_back({{0, 0}, {0, hc}, "hc " + Metros(hc), true});
        r.cotas.push_back({chao(xu), {xu, hc}, "Hr " + Metros(d.hr), true});
        r.cotas.push_back({{xu, 0}, {xd, 0}, "base " + Metros(s.baseCamalhao), false});
        if (s.larguraCorte > 0) {
            const TPontoSecao pe = chao(xu);
            const double xc = xu - s.larguraCorte;
            if (d.triangular) {
                // Deepest at the ridge, as the cut is taken.
                const TPontoSecao fundo{xu, pe.z - s.profundidadeCorte};
                r.corte = {chao(xc), fundo, pe};
                r.perfil.insert(r.perfil.begin(), {chao(xc), fundo});
            } else {
                // The dug channel, its bottom Hr under the ridge's toe.
                const double zf = pe.z - d.hr;
                const TPontoSecao a = chao(xc);
                const TPontoSecao b{std::min(xc + d.z * (a.z - zf), xu - d.z * d.hr), zf};
                const TPontoSecao c{xu - d.z * d.hr, zf};
                r.corte = {a, b, c, pe};
                r.perfil.insert(r.perfil.begin(), {a, b, c});
            }
            r.cotas.push_back({{xc, 0}, {xu, 0}, "corte " + Metros(s.larguraCorte), false});
            r.cotas.push_back({pe, {xu, pe.z - s.profundidadeCorte}, "p " + Metros(s.profundidadeCorte), true});
            if (s.larguraTotal > 0)
                r.cotas.push_back({{xd - s.larguraTotal, 0}, {xd, 0}, "faixa " + Metros(s.larguraTotal), false});
        }
    }
    // The ground before, a little beyond the work on both sides.
    const double x0 = r.perfil.front().x, x1 = r.perfil.back().x;
    const double margem = 0.08 * (x1 - x0);
    r.perfil.insert(r.perfil.begin(), chao(x0 - margem));
    if (d.tipo == TTipoConstrutivo::Patamar) r.perfil.insert(r.perfil.begin() + 1, chao(x0));
    if (d.tipo == TTipoConstrutivo::Patamar) r.perfil.push_back(chao(x1));
    r.perfil.push_back(chao(x1 + margem));
    r.terreno = {chao(x0 - margem), chao(x1 + margem)};
    r.declive = st;
    r.xMin = x0 - margem;
    r.xMax = x1 + margem;
    r.zMin = r.zMax = 0;
    for (const auto* v : {&r.perfil, &r.terreno, &r.corte})
        for (const TPontoSecao& p : *v) {
            r.zMin = std::min(r.zMin, p.z);
            r.zMax = std::max(r.zMax, p.z);
        }
    return r;
}

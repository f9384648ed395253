#include "core/model/SecaoConstruida.h"

#include <cmath>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Texto.h"

namespace {

std::string M(double v) { return FloatToStrFixed(v, 2); }

// The ridge of fill area 'area' (loose) with both faces at 's' (V:H) on ground of slope st:
// its crest over the ground and its base.
void Camalhao(double area, double s, double st, TSecaoConstruida& r) {
    const double k = 1 / (s - st) + 1 / (s + st);
    r.alturaCamalhao = std::sqrt(2 * area / k);
    r.baseCamalhao = r.alturaCamalhao * k;
}

}  // namespace

double TLargurasTerraco::De(TTipoConstrutivo t) const {
    switch (t) {
        case TTipoConstrutivo::BaseEstreita: return estreita;
        case TTipoConstrutivo::BaseMedia: return media;
        case TTipoConstrutivo::BaseLarga: return larga;
        case TTipoConstrutivo::Murundum: return murundum;
        case TTipoConstrutivo::Patamar: return 0;
    }
    return 0;
}

std::string NomeTipoConstrutivo(TTipoConstrutivo t) {
    switch (t) {
        case TTipoConstrutivo::BaseEstreita: return "base estreita";
        case TTipoConstrutivo::BaseMedia: return "base média";
        case TTipoConstrutivo::BaseLarga: return "base larga";
        case TTipoConstrutivo::Murundum: return "murundum";
        case TTipoConstrutivo::Patamar: return "patamar";
    }
    return {};
}

TComposicaoTerraco ComposicaoDoTipo(const std::string& texto) {
    const std::string t = Minusculas(texto);
    const bool murundum = t.find("murundum") != std::string::npos;
    TComposicaoTerraco c;
    // The Emater/RS rows that alternate broad-base terraces with murunduns.
    if (t.find("intercalados") != std::string::npos && murundum) {
        const double larga = t.rfind("dois", 0) == 0 ? 2 : 1;
        c.partes = {{TTipoConstrutivo::BaseLarga, larga / (larga + 1)}, {TTipoConstrutivo::Murundum, 1 / (larga + 1)}};
        return c;
    }
    // Lombardi Neto's narrow-base row names murundum among its kinds: it is a narrow base.
    if (t.find("estreita") != std::string::npos) c.partes = {{TTipoConstrutivo::BaseEstreita, 1}};
    else if (t.find("média") != std::string::npos) c.partes = {{TTipoConstrutivo::BaseMedia, 1}};
    else if (t.find("larga") != std::string::npos) c.partes = {{TTipoConstrutivo::BaseLarga, 1}};
    else if (murundum) c.partes = {{TTipoConstrutivo::Murundum, 1}};
    else if (t.find("patamar") != std::string::npos) c.partes = {{TTipoConstrutivo::Patamar, 1}};
    return c;
}

TSecaoConstruida SecaoConstruida(const TDadosSecao& d) {
    for (double v : {d.hr, d.sm, d.st, d.b, d.z, d.largura, d.eh})
        if (!(v >= 0) || !std::isfinite(v)) throw EVandoro("Dados da seção construída inválidos.");
    if (!(d.empolamento > 0) || !std::isfinite(d.empolamento))
        throw EVandoro("Fator de empolamento inválido: use um valor maior que zero.");
    TSecaoConstruida r;
    if (d.tipo == TTipoConstrutivo::Patamar) {
        if (!(d.eh > 0)) {
            r.problema = "O terraço em patamar precisa do espaçamento horizontal, que dá a largura do patamar.";
            return r;
        }
        r.areaCorte = d.eh * d.eh * d.st / 8;
        r.areaAterro = r.areaCorte * d.empolamento;
        r.larguraCorte = r.baseCamalhao = d.eh / 2;
        r.profundidadeCorte = r.alturaCamalhao = d.eh * d.st / 2;
        r.larguraTotal = d.eh;
        return r;
    }
    const double face = d.triangular ? d.sm : (d.z > 0 ? 1 / d.z : 0);
    if (!(face > d.st)) {
        r.problema = "A face do camalhão (" + M(face) + " m/m) não é mais inclinada que o terreno (" + M(d.st) +
                     " m/m): o camalhão não se fecha sobre o terreno.";
        return r;
    }
    if (d.triangular) {
        // The crest that gives the depth Hr over the upstream toe.
        const double hc = d.hr * (d.sm + d.st) / d.sm;
        const double k = 1 / (d.sm - d.st) + 1 / (d.sm + d.st);
        r.alturaCamalhao = hc;
        r.baseCamalhao = hc * k;
        r.areaAterro = hc * hc * k / 2;
        r.areaCorte = r.areaAterro / d.empolamento;
    } else {
        r.areaCorte = (d.b + d.z * d.hr) * d.hr;
        r.areaAterro = r.areaCorte * d.empolamento;
        Camalhao(r.areaAterro, face, d.st, r);
    }
    if (face > 1) r.problema = "A face do camalhão é mais íngreme que 1:1: o solo solto não se sustenta.";
    if (!d.triangular) {
        // The dug channel is the cut: it and the ridge side by side take the field.
        r.larguraCorte = d.b + 2 * d.z * d.hr;
        r.profundidadeCorte = d.hr;
        r.larguraTotal = r.larguraCorte + r.baseCamalhao;
        if (d.largura > 0 && r.larguraTotal > d.largura)
            r.problema = "O canal (" + M(r.larguraCorte) + " m) e o camalhão (" + M(r.baseCamalhao) +
                         " m) não cabem na largura de " + M(d.largura) + " m do terraço de " +
                         NomeTipoConstrutivo(d.tipo) + ".";
    } else if (d.largura > 0) {
        r.larguraCorte = d.largura - r.baseCamalhao;
        if (!(r.larguraCorte > 0)) {
            r.problema = "O camalhão (base de " + M(r.baseCamalhao) + " m) não cabe na largura de " + M(d.largura) +
                         " m do terraço de " + NomeTipoConstrutivo(d.tipo) + ".";
            r.larguraCorte = 0;
            return r;
        }
        r.profundidadeCorte = 2 * r.areaCorte / r.larguraCorte;
        r.larguraTotal = d.largura;
    }
    if (d.eh > 0 && r.larguraTotal > d.eh)
        r.problema = "A faixa movimentada (" + M(r.larguraTotal) + " m) é mais larga que o espaçamento entre " +
                     "terraços (" + M(d.eh) + " m): o corte avançaria sobre o terraço de cima.";
    return r;
}

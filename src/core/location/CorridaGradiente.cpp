#include "core/location/CorridaGradiente.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <unordered_map>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Progresso.h"
#include "core/common/Texto.h"
#include "core/location/ImgElev.h"
#include "core/model/Canal.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/raster/ImgDeclive.h"

namespace {

// Waterways are walked in steps of this many metres to find their outlets.
constexpr double kPassoEscoadouro = 1.0;

struct Ponto {
    double x = 0, y = 0;
};

double Orient(Ponto a, Ponto b, Ponto c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); }
bool Cruzam(Ponto a, Ponto b, Ponto c, Ponto d) {
    const double d1 = Orient(c, d, a), d2 = Orient(c, d, b), d3 = Orient(a, b, c), d4 = Orient(a, b, d);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

// Segments of the waterways and of the lines placed, found by the cells of a coarse grid they
// pass over, so a new step is checked against its neighbours only.
class Segmentos {
public:
    explicit Segmentos(double celula) : celula_(celula) {}
    // 'dono': -k for waterway k, +id for a terrace.
    void Add(Ponto a, Ponto b, int dono) {
        const size_t i = segs_.size();
        segs_.push_back({a, b, dono});
        ParaCelulas(a, b, [&](int64_t k) { baldes_[k].push_back(i); });
    }
    // The owner of a segment that (a, b) crosses, or 0; 'ignora' tells which to pass over.
    template <class F>
    int Cruzado(Ponto a, Ponto b, F ignora) const {
        int achado = 0;
        ParaCelulas(a, b, [&](int64_t k) {
            if (achado) return;
            const auto it = baldes_.find(k);
            if (it == baldes_.end()) return;
            for (size_t i : it->second) {
                const Seg& s = segs_[i];
                if (!ignora(s.dono, s.a, s.b) && Cruzam(a, b, s.a, s.b)) {
                    achado = s.dono;
                    return;
                }
            }
        });
        return achado;
    }

private:
    struct Seg {
        Ponto a, b;
        int dono;
    };
    template <class F>
    void ParaCelulas(Ponto a, Ponto b, F f) const {
        const int64_t c0 = int64_t(std::floor(std::min(a.x, b.x) / celula_)), c1 = int64_t(std::floor(std::max(a.x, b.x) / celula_));
        const int64_t r0 = int64_t(std::floor(std::min(a.y, b.y) / celula_)), r1 = int64_t(std::floor(std::max(a.y, b.y) / celula_));
        for (int64_t r = r0; r <= r1; ++r)
            for (int64_t c = c0; c <= c1; ++c) f(r * 4000037 + c);
    }
    double celula_;
    std::vector<Seg> segs_;
    std::unordered_map<int64_t, std::vector<size_t>> baldes_;
};

// A waterway walked at even steps: points, their elevation (NaN off the field).
struct Caminho {
    std::vector<Ponto> p;
    std::vector<double> z;
};

Caminho Adensar(const TPolilinha& l, double m, const TCotaMapa& cota) {
    Caminho c;
    for (size_t i = 1; i < l.x.size(); ++i) {
        const Ponto a{l.x[i - 1] * m, l.y[i - 1] * m}, b{l.x[i] * m, l.y[i] * m};
        const double d = std::hypot(b.x - a.x, b.y - a.y);
        const int n = std::max(1, int(std::ceil(d / kPassoEscoadouro)));
        for (int k = (i == 1 ? 0 : 1); k <= n; ++k) {
            const double t = double(k) / n;
            c.p.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
            c.z.push_back(cota(c.p.back().x, c.p.back().y));
        }
    }
    return c;
}

// The plan's longest channel is the sizing's cap.
static_assert(kComprimentoMaximoCanalPlano == kComprimentoMaximoCanal);

}  // namespace

TResultadoGradiente LocarGradiente(const TImgElevacao& elev, const TImgDeclive& decl,
                                   const std::vector<TPolilinha>& escoadouros, const TTerracosGradiente& sistema,
                                   TNumeroDaCurva& cn, TPrecipitacao& chuva, const TParametrosGradiente2& p) {
    const int metodo = sistema.Espacamento().Metodologia().Index();
    if (metodo == TMetodologiaEspacamento::AlturaArbitrada)
        throw EVandoro(kMensagemAlturaNoGradiente);
    TResultadoGradiente res;
    const int W = elev.Columns(), H = elev.Rows();
    const double m = Maiusculas(elev.UnitDist()) == "KM" ? 1000 : 1;
    const TGradeMapa g{elev.MinX(), double(elev.MinY()) + H * double(elev.CellHeight()), elev.CellWidth(),
                       elev.CellHeight(), W, H};
    const double celula = m * std::max<double>(g.largura, g.altura);
    const double areaCelula = m * g.largura * m * g.altura;
    const auto z = [&](int c, int r) { return elev.ElevationAt(c + 1, r + 1); };
    const TCotaMapa cota = CotaNaGrade(elev, g, m);
    const auto declividade = [&](double x, double y) {
        int c = 0, r = 0;
        return g.CelulaDe(x / m, y / m, c, r) ? double(decl.Row(r + 1)[c]) : 0.0;
    };

    // The spacing the system's method gives at a slope (%), on a copy: the project keeps its own.
    TTerracosGradiente trabalho;
    trabalho.Assign(sistema);
    const auto evEm = [&](double s) {
        TEspacamento& e = trabalho.Espacamento();
        if (metodo != TMetodologiaEspacamento::EspacamentoArbitrado && s > 0) e.ComputeSpacing(s / 100);
        return e.EV();
    };
    long long nCampo = 0;
    double somaDecl = 0;
    for (int r = 1; r <= H; ++r)
        for (int c = 0; c < W; ++c)
            if (elev.Row(r)[c] != 0) {
                ++nCampo;
                somaDecl += decl.Row(r)[c];
            }
    res.areaCampo = double(nCampo) * areaCelula;
    const double ev0 = evEm(nCampo ? somaDecl / double(nCampo) : 0);
    if (!(ev0 > 0) || !std::isfinite(ev0)) throw EVandoro("Espaçamento vertical inválido: o valor deve ser maior que zero.");

    Segmentos segs(std::max(celula * 4, 20.0));
    std::vector<Caminho> caminhos;
    for (size_t k = 0; k < escoadouros.size(); ++k) {
        caminhos.push_back(Adensar(escoadouros[k], m, cota));
        const Caminho& c = caminhos.back();
        for (size_t i = 1; i < c.p.size(); ++i) segs.Add(c.p[i - 1], c.p[i], -int(k + 1));
    }

    // Where the runoff goes: each field cell's steepest-descent (D8) neighbour, the cells from
    // the lowest up, and the cells the waterways (-k) and later the terraces (+id) cross.
    std::vector<size_t> abaixo(size_t(W) * H, SIZE_MAX);
    std::vector<size_t> ordem;
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            const double z0 = z(c, r);
            if (z0 == 0) continue;
            const size_t idx = size_t(r) * W + c;
            ordem.push_back(idx);
            double melhor = 0;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc) {
                    if (!dr && !dc) continue;
                    const double zv = z(c + dc, r + dr);
                    if (zv == 0) continue;
                    const double queda = (z0 - zv) / std::hypot(dc * g.largura, dr * g.altura);
                    if (queda > melhor) melhor = queda, abaixo[idx] = size_t(r + dr) * W + size_t(c + dc);
                }
        }
    std::stable_sort(ordem.begin(), ordem.end(), [&](size_t a, size_t b) {
        return z(int(a % W), int(a / W)) < z(int(b % W), int(b / W));
    });
    std::vector<int32_t> marca(size_t(W) * H, 0);
    const auto marcar = [&](double x0, double y0, double x1, double y1, int32_t v) {
        const double d = std::hypot(x1 - x0, y1 - y0);
        const int n = std::max(1, int(std::ceil(d / (0.25 * std::min(g.largura, g.altura) * m))));
        int cAnt = -1, rAnt = -1;
        for (int s = 0; s <= n; ++s) {
            const double t = double(s) / n;
            int c = 0, r = 0;
            if (!g.CelulaDe((x0 + (x1 - x0) * t) / m, (y0 + (y1 - y0) * t) / m, c, r)) continue;
            // Diagonal moves fill the corner too, so no runoff slips between two marked cells.
            if (cAnt >= 0 && c != cAnt && r != rAnt && !marca[size_t(rAnt) * W + c]) marca[size_t(rAnt) * W + c] = v;
            if (!marca[size_t(r) * W + c] || v > 0) marca[size_t(r) * W + c] = v;
            cAnt = c, rAnt = r;
        }
    };
    for (size_t k = 0; k < caminhos.size(); ++k)
        for (size_t i = 1; i < caminhos[k].p.size(); ++i)
            marcar(caminhos[k].p[i - 1].x, caminhos[k].p[i - 1].y, caminhos[k].p[i].x, caminhos[k].p[i].y, -int32_t(k + 1));
    // The top of each waterway's catchment: the highest field cell whose runoff reaches it.
    std::vector<double> topoBacia(caminhos.size(), -std::numeric_limits<double>::infinity());
    {
        std::vector<int32_t> destino(size_t(W) * H, 0);
        for (size_t idx : ordem) {
            destino[idx] = marca[idx] < 0 ? -marca[idx] : abaixo[idx] != SIZE_MAX ? destino[abaixo[idx]] : 0;
            if (destino[idx] > 0)
                topoBacia[size_t(destino[idx] - 1)] =
                    std::max(topoBacia[size_t(destino[idx] - 1)], double(z(int(idx % W), int(idx / W))));
        }
    }

    TParametrosGradiente tp;
    tp.declividade = sistema.Sc();
    tp.comprimentoMaximo = p.plano.comprimentoMaximoCanal;
    int proximoId = 1;
    // A line from an outlet: its own waterway near the outlet is no obstacle.
    // 'atingido' receives the waterway a line ran into (1-based), 0 for none; 'tambem' is one
    // more line it may not cross (the line it comes back to, for a line between two waterways).
    int atingido = 0;
    const TLinhaGradiente* tambem = nullptr;
    const auto tracar = [&](int k, Ponto saida, Ponto direcao) {
        atingido = 0;
        const auto obstaculo = [&](double x0, double y0, double x1, double y1) -> std::optional<TFimGradiente> {
            const int dono = segs.Cruzado({x0, y0}, {x1, y1}, [&](int d, Ponto a, Ponto b) {
                if (d != -k) return false;
                const double dist = std::min(std::hypot(a.x - saida.x, a.y - saida.y), std::hypot(b.x - saida.x, b.y - saida.y));
                return dist <= 2 * kPassoEscoadouro + tp.passo;
            });
            if (dono < 0) {
                atingido = -dono;
                return TFimGradiente::Escoadouro;
            }
            if (dono > 0) return TFimGradiente::Linha;
            if (tambem)
                for (size_t v = 1; v < tambem->x.size(); ++v)
                    if (Cruzam({x0, y0}, {x1, y1}, {tambem->x[v - 1], tambem->y[v - 1]}, {tambem->x[v], tambem->y[v]}))
                        return TFimGradiente::Linha;
            return std::nullopt;
        };
        return TracarGradiente(cota, saida.x, saida.y, direcao.x, direcao.y, tp, obstaculo);
    };
    const auto mediaDeclividade = [&](const std::vector<const TLinhaGradiente*>& linhas) {
        double s = 0;
        long long n = 0;
        for (const TLinhaGradiente* l : linhas)
            for (size_t i = 0; i < l->x.size(); ++i) {
                const double d = declividade(l->x[i], l->y[i]);
                if (d > 0) s += d, ++n;
            }
        return n ? s / double(n) : 0.0;
    };

    // A terrace from its line: numbered, its segments kept for the lines after it. Gives its number.
    const auto emitir = [&](const TLinhaGradiente& l, int escoadouro, int acima, double ev) {
        TTerracoGradiente t;
        t.id = proximoId++;
        t.escoadouro = escoadouro;
        t.acima = acima;
        t.cotaSaida = l.cota.front();
        t.cotaInicio = l.cota.back();
        t.comprimento = l.comprimento;
        t.ev = ev;
        t.fim = l.fim;
        t.linha.id = t.id;
        t.linha.level = t.cotaSaida;
        for (size_t v = 0; v < l.x.size(); ++v) {
            t.linha.x.push_back(l.x[v] / m);
            t.linha.y.push_back(l.y[v] / m);
            if (v) segs.Add({l.x[v - 1], l.y[v - 1]}, {l.x[v], l.y[v]}, t.id);
        }
        res.terracos.push_back(std::move(t));
        return res.terracos.back().id;
    };
    // The line back from waterway 'kb' to 'l', which ran into it; both cut at their meeting.
    // Gives kb, or 0 when no line comes back to meet it ('l' then stays as it was).
    const auto VoltaDoEscoadouro = [&](TLinhaGradiente& l, const Caminho& cb, int kb, TLinhaGradiente& volta) {
        const double z0 = l.cota.front();
        const Ponto fim{l.x.back(), l.y.back()};
        // The point of waterway kb at the outlet's elevation nearest to where the line met it.
        Ponto q{};
        double melhor = std::numeric_limits<double>::infinity();
        for (size_t j = 1; j < cb.p.size(); ++j) {
            const double a = cb.z[j - 1], b = cb.z[j];
            if (std::isnan(a) || std::isnan(b) || (a - z0) * (b - z0) > 0 || a == b) continue;
            const double t = (a - z0) / (a - b);
            const Ponto e{cb.p[j - 1].x + (cb.p[j].x - cb.p[j - 1].x) * t, cb.p[j - 1].y + (cb.p[j].y - cb.p[j - 1].y) * t};
            const double d = std::hypot(e.x - fim.x, e.y - fim.y);
            if (d < melhor) melhor = d, q = e;
        }
        if (!std::isfinite(melhor) || l.x.size() < 2) return 0;
        tambem = &l;
        volta = tracar(kb, q, {l.x[l.x.size() - 2] - fim.x, l.y[l.y.size() - 2] - fim.y});
        tambem = nullptr;
        if (volta.fim != TFimGradiente::Linha || std::isnan(volta.xSeguinte) || volta.x.empty()) return 0;
        // Where the last step back crosses the line: both end there.
        const Ponto a{volta.x.back(), volta.y.back()}, b{volta.xSeguinte, volta.ySeguinte};
        for (size_t v = 1; v < l.x.size(); ++v) {
            const Ponto c{l.x[v - 1], l.y[v - 1]}, d{l.x[v], l.y[v]};
            if (!Cruzam(a, b, c, d)) continue;
            const double den = (b.x - a.x) * (d.y - c.y) - (b.y - a.y) * (d.x - c.x);
            const double u = ((c.x - a.x) * (d.y - c.y) - (c.y - a.y) * (d.x - c.x)) / den;
            const Ponto x{a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u};
            double sl = 0;
            for (size_t w = 1; w < v; ++w) sl += std::hypot(l.x[w] - l.x[w - 1], l.y[w] - l.y[w - 1]);
            sl += std::hypot(x.x - c.x, x.y - c.y);
            l.x.resize(v);
            l.y.resize(v);
            l.cota.resize(v);
            l.x.push_back(x.x);
            l.y.push_back(x.y);
            l.cota.push_back(z0 + sistema.Sc() * sl);
            l.comprimento = sl;
            l.fim = TFimGradiente::Divisor;
            const double sv = volta.comprimento + std::hypot(x.x - a.x, x.y - a.y);
            volta.x.push_back(x.x);
            volta.y.push_back(x.y);
            volta.cota.push_back(volta.cota.front() + sistema.Sc() * sv);
            volta.comprimento = sv;
            volta.fim = TFimGradiente::Divisor;
            return kb;
        }
        return 0;
    };

    // Progress by waterway and, along each, by the drop from its top; a stop ends the placing.
    const auto parar = [&](size_t k, double fracao) {
        if (!p.progresso) return false;
        p.progresso->SetPosition(int(std::lround(100 * (double(k) + std::clamp(fracao, 0.0, 1.0)) / double(caminhos.size()))));
        p.progresso->SetCount(int(res.terracos.size()));
        p.progresso->ProcessEvents();
        if (p.progresso->StopRequested()) res.parada = true;
        return res.parada;
    };
    if (p.progresso) {
        p.progresso->SetMax(100);
        p.progresso->SetStatus("Locando terraços com gradiente");
    }
    for (size_t k = 0; k < caminhos.size() && !res.parada; ++k) {
        const Caminho& c = caminhos[k];
        // The top of the waterway in the field; its outlets are spaced down from there.
        size_t topo = c.z.size();
        for (size_t i = 0; i < c.z.size(); ++i)
            if (!std::isnan(c.z[i]) && (topo == c.z.size() || c.z[i] > c.z[topo])) topo = i;
        if (topo == c.z.size()) continue;
        for (int sentido : {1, -1}) {
            // A waterway whose top is one of its ends runs one way only.
            if ((sentido > 0 && topo + 1 == c.z.size()) || (sentido < 0 && topo == 0)) continue;
            // The outlets lie one spacing apart from the top of the land draining to the waterway;
            // the first is the highest of them the waterway reaches.
            double acima = c.z[topo];
            if (topoBacia[k] > acima) {
                acima = topoBacia[k] - std::max(0.0, std::ceil((topoBacia[k] - c.z[topo]) / ev0) - 1) * ev0;
                if (acima - ev0 > c.z[topo] - 1e-3) acima = c.z[topo] + ev0 - 1e-3;  // not at the very top
            }
            double ev = ev0;
            std::vector<TLinhaGradiente> linhasAcima;
            int anterior[2] = {0, 0};  // the last terrace on each side of the waterway
            size_t i = topo;
            double fundo = c.z[topo];
            for (double zc : c.z)
                if (!std::isnan(zc)) fundo = std::min(fundo, zc);
            while (!parar(k, fundo < c.z[topo] ? (c.z[topo] - acima) / (c.z[topo] - fundo) : 1)) {
                // The outlet: the first point down the waterway at the level, between two steps.
                const auto saidaEm = [&](double nivel, size_t desde, size_t& onde, Ponto& s, Ponto& direcao) {
                    for (size_t j = desde; j < c.z.size(); j = sentido > 0 ? j + 1 : j - 1) {
                        const size_t ant = sentido > 0 ? j - 1 : j + 1;
                        if (j == desde || ant >= c.z.size() || std::isnan(c.z[j]) || std::isnan(c.z[ant])) continue;
                        if (!(c.z[j] <= nivel && c.z[ant] > nivel)) continue;
                        const double t = (c.z[ant] - nivel) / (c.z[ant] - c.z[j]);
                        s = {c.p[ant].x + (c.p[j].x - c.p[ant].x) * t, c.p[ant].y + (c.p[j].y - c.p[ant].y) * t};
                        direcao = {c.p[j].x - c.p[ant].x, c.p[j].y - c.p[ant].y};
                        onde = j;
                        return true;
                    }
                    return false;
                };
                size_t onde = 0;
                Ponto saida, dir;
                if (!saidaEm(acima - ev, i, onde, saida, dir)) break;
                if (metodo != TMetodologiaEspacamento::EspacamentoArbitrado) {
                    // The line again at the interval the slope between it and the line above gives.
                    const TLinhaGradiente a = tracar(int(k + 1), saida, {-dir.y, dir.x});
                    const TLinhaGradiente b = tracar(int(k + 1), saida, {dir.y, -dir.x});
                    std::vector<const TLinhaGradiente*> faixa{&a, &b};
                    for (const TLinhaGradiente& l : linhasAcima) faixa.push_back(&l);
                    const double novo = evEm(mediaDeclividade(faixa));
                    if (novo > 0 && std::isfinite(novo)) ev = novo;
                    if (!saidaEm(acima - ev, i, onde, saida, dir)) break;
                }
                linhasAcima.clear();
                for (int ladoIdx = 0; ladoIdx < 2; ++ladoIdx) {
                    const Ponto lado = ladoIdx == 0 ? Ponto{-dir.y, dir.x} : Ponto{dir.y, -dir.x};
                    TLinhaGradiente l = tracar(int(k + 1), saida, lado);
                    // A line that runs into another waterway drains to both: the line from
                    // that waterway, from its point at this outlet's elevation, meets it where
                    // both have come the same way up, their high point; each ends there.
                    TLinhaGradiente volta;
                    int outro = 0;
                    if (l.fim == TFimGradiente::Escoadouro && atingido > 0 && atingido != int(k + 1))
                        outro = VoltaDoEscoadouro(l, caminhos[size_t(atingido - 1)], atingido, volta);
                    if (l.x.size() < 2) continue;
                    if (l.comprimento + (outro ? volta.comprimento : 0) < p.plano.comprimentoMinimo) {
                        ++res.linhasCurtas;
                        continue;
                    }
                    anterior[ladoIdx] = emitir(l, int(k + 1), anterior[ladoIdx], ev);
                    if (outro) {
                        emitir(volta, outro, 0, ev);
                    } else if (l.fim == TFimGradiente::Escoadouro && atingido > 0) {
                        res.terracos.back().aviso = "Encontra o escoadouro " + std::to_string(atingido) +
                                                    " sem uma linha que volte dele: drena só para a sua saída.";
                    }
                    linhasAcima.push_back(std::move(l));
                }
                acima -= ev;
                i = onde;
            }
        }
    }
    if (res.terracos.empty() && res.parada) throw EVandoro("Locação cancelada antes do primeiro terraço: nada foi gravado.");
    if (res.terracos.empty())
        throw EVandoro("Nenhum terraço com gradiente foi locado: nenhum canal escoadouro desce pela área o bastante "
                       "para um espaçamento vertical de " + FloatToStrFixed(ev0, 2) + " m.");

    // The lines smoothed for machinery at the plan's radius, each kept on its grade within the
    // tolerance (its outlet stays on the waterway); the strips and the sizing take them as built.
    if (p.plano.raioMinimo > 0) {
        std::vector<TLinhaMapa> emMetros;
        for (const TTerracoGradiente& t : res.terracos) {
            TLinhaMapa l = t.linha;
            for (double& x : l.x) x *= m;
            for (double& y : l.y) y *= m;
            emMetros.push_back(std::move(l));
        }
        const std::vector<TLinhaSuavizada> suaves =
            SuavizarLinhas(emMetros, cota, DentroDaGrade(elev, g, m), TParametrosSuavizacao::DoPlano(p.plano),
                           std::vector<double>(emMetros.size(), sistema.Sc()));
        for (size_t i = 0; i < suaves.size(); ++i) {
            TTerracoGradiente& t = res.terracos[i];
            // A channel off its grade over more than a tenth of its length would not drain as
            // sized: it stays as traced, on its grade at every vertex.
            double fora = 0;
            for (const TTravessia& v : suaves[i].travessias) fora += v.comprimento;
            if (fora > 0.1 * suaves[i].comprimento) continue;
            t.linha.x = suaves[i].linha.x;
            t.linha.y = suaves[i].linha.y;
            for (double& x : t.linha.x) x /= m;
            for (double& y : t.linha.y) y /= m;
            t.comprimento = suaves[i].comprimento;
            t.cotaInicio = t.cotaSaida + sistema.Sc() * t.comprimento;
            for (const TTravessia& v : suaves[i].travessias)
                res.travessias.push_back({t.id, v.inicio, v.comprimento, v.maiorAterro * 100, v.maiorCorte * 100});
            res.comprimentoRaioMenor += suaves[i].comprimentoRaioMenor;
        }
    }

    // The strips: each cell to the first terrace its runoff meets going down the steepest
    // way; runoff that reaches a waterway first goes to it directly, and runoff that reaches a
    // pit or the field's edge first meets neither.
    TMapaFaixas& mapa = res.mapaFaixas;
    mapa.colunas = W;
    mapa.linhas = H;
    mapa.grade = g;
    mapa.unidade = elev.UnitDist();
    mapa.terraco.assign(size_t(W) * H, 0);
    std::vector<uint8_t> direto(size_t(W) * H, 0);  // the runoff reaches a waterway before any terrace
    for (const TTerracoGradiente& t : res.terracos)
        for (size_t v = 1; v < t.linha.x.size(); ++v)
            marcar(t.linha.x[v - 1] * m, t.linha.y[v - 1] * m, t.linha.x[v] * m, t.linha.y[v] * m, t.id);
    for (size_t idx : ordem) {
        int32_t& dono = mapa.terraco[idx];
        if (marca[idx] > 0) {
            dono = marca[idx];
        } else if (marca[idx] < 0) {  // on a waterway
            direto[idx] = 1;
        } else if (abaixo[idx] != SIZE_MAX) {
            dono = std::max<int32_t>(0, mapa.terraco[abaixo[idx]]);
            direto[idx] = dono == 0 && direto[abaixo[idx]];
        }
    }
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c)
            if (z(c, r) == 0) mapa.terraco[size_t(r) * W + c] = TMapaFaixas::kSemDado;

    // Each terrace sized as a graded channel with its own length, strip and slope.
    std::vector<double> area(size_t(proximoId), 0), soma(area.size(), 0);
    std::vector<long long> n(area.size(), 0);
    long long descobertas = 0, diretas = 0;
    for (size_t idx = 0; idx < mapa.terraco.size(); ++idx) {
        const int32_t t = mapa.terraco[idx];
        if (t == TMapaFaixas::kSemDado) continue;
        if (t <= 0) {
            ++(direto[idx] ? diretas : descobertas);
            continue;
        }
        ++n[size_t(t)];
        soma[size_t(t)] += decl.Row(int(idx / W) + 1)[idx % W];
    }
    res.areaDescoberta = double(descobertas) * areaCelula;
    res.areaDireta = double(diretas) * areaCelula;
    const double stAntes = cn.St();
    for (TTerracoGradiente& t : res.terracos) {
        t.area = double(n[size_t(t.id)]) * areaCelula;
        t.declividade = n[size_t(t.id)] ? soma[size_t(t.id)] / double(n[size_t(t.id)]) : 0;
        t.eh = t.comprimento > 0 ? t.area / t.comprimento : 0;
        if (t.fim == TFimGradiente::ComprimentoMaximo)
            t.aviso = "Atinge o comprimento máximo do canal: precisa de outra saída.";
        if (!(t.eh > 0) || !(t.declividade > 0)) {
            if (t.aviso.empty()) t.aviso = "Faixa sem área ou sem declividade: o canal não foi dimensionado.";
            continue;
        }
        try {
            cn.SetSt(t.declividade / 100);
            const TTerracosGradiente::AlturaVazao hq = sistema.HeightAndFlowFor(
                cn, chuva, t.eh, sistema.Sc(), sistema.nc().Value(), int(std::lround(t.comprimento)));
            t.h = hq.H;
            t.vazao = hq.Q;
            t.hr = AlturaRecomendadaM(sistema.CDu(), t.h);
        } catch (const EVandoro& e) {
            t.aviso = e.what();
        }
    }
    cn.SetSt(stAntes);
    return res;
}

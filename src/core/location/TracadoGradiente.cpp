#include "core/location/TracadoGradiente.h"

#include <algorithm>
#include <cstdint>
#include <numbers>
#include <unordered_map>
#include <utility>

#include "core/common/Erros.h"

namespace {

constexpr int kLado = 45;                                // samples on each side of the heading
constexpr double kDelta = std::numbers::pi / 2 / kLado;  // 2°: a right angle at most
constexpr double kTolCota = 1e-9;                        // m, the root's elevation
constexpr int kBissecoes = 200;

struct Pt {
    double x = 0, y = 0;
};
double Cross(Pt a, Pt b) { return a.x * b.y - a.y * b.x; }
Pt Girar(Pt u, double a) { return {u.x * std::cos(a) - u.y * std::sin(a), u.x * std::sin(a) + u.y * std::cos(a)}; }

// Whether segments a-b and c-d meet; touching counts, as a line that comes back onto
// itself at one point has closed a loop all the same.
bool Cruzam(Pt a, Pt b, Pt c, Pt d) {
    if (std::max(a.x, b.x) < std::min(c.x, d.x) || std::max(c.x, d.x) < std::min(a.x, b.x) ||
        std::max(a.y, b.y) < std::min(c.y, d.y) || std::max(c.y, d.y) < std::min(a.y, b.y))
        return false;
    const auto lado = [](Pt p, Pt q, Pt r) {
        const double v = Cross({q.x - p.x, q.y - p.y}, {r.x - p.x, r.y - p.y});
        return (v > 0) - (v < 0);
    };
    const int o1 = lado(a, b, c), o2 = lado(a, b, d), o3 = lado(c, d, a), o4 = lado(c, d, b);
    if (o1 == 0 && o2 == 0) return true;  // in line, boxes overlap
    return o1 != o2 && o3 != o4;
}

// The line's segments in cells of the step's size, so that a long line is checked against
// its own nearby segments only.
class TSegmentos {
public:
    explicit TSegmentos(double lado) : lado_(lado) {}

    // Whether a-b meets a segment already added, but the one ending at a.
    bool Cruza(Pt a, Pt b) const {
        const int n = static_cast<int>(segs_.size());
        bool cruza = false;
        Celulas(a, b, [&](uint64_t k) {
            const auto it = celulas_.find(k);
            if (it == celulas_.end()) return;
            for (int i : it->second)
                if (i != n - 1 && Cruzam(a, b, segs_[i].first, segs_[i].second)) cruza = true;
        });
        return cruza;
    }
    void Adicionar(Pt a, Pt b) {
        const int n = static_cast<int>(segs_.size());
        segs_.emplace_back(a, b);
        Celulas(a, b, [&](uint64_t k) { celulas_[k].push_back(n); });
    }

private:
    template <class F>
    void Celulas(Pt a, Pt b, F&& f) const {
        const auto ix = [&](double v) { return static_cast<int64_t>(std::floor(v / lado_)); };
        for (int64_t i = ix(std::min(a.x, b.x)); i <= ix(std::max(a.x, b.x)); ++i)
            for (int64_t j = ix(std::min(a.y, b.y)); j <= ix(std::max(a.y, b.y)); ++j)
                f((static_cast<uint64_t>(i) << 32) ^ static_cast<uint64_t>(j & 0xffffffff));
    }
    double lado_;
    std::vector<std::pair<Pt, Pt>> segs_;
    std::unordered_map<uint64_t, std::vector<int>> celulas_;
};

struct TRaiz {
    bool achou = false;
    bool semDados = false;  // the search met ground with no elevation
    double angulo = 0;      // off the heading, rad
    int lado = 0;
};

// The point on the circle of radius r around p where the ground reaches 'alvo', at most a
// right angle off heading u, nearest to it. Going counter-clockwise across the root the
// ground rises when the uphill is on the line's left (lado +1), falls when on its right (-1);
// lado 0 takes either.
TRaiz Procurar(const TCotaMapa& cota, Pt p, Pt u, double r, double alvo, int lado) {
    const auto F = [&](double a) {
        const Pt d = Girar(u, a);
        const double z = cota(p.x + r * d.x, p.y + r * d.y);
        return std::isfinite(z) ? z - alvo : NAN;
    };
    double f[2 * kLado + 1];
    TRaiz res;
    for (int j = -kLado; j <= kLado; ++j) {
        f[j + kLado] = F(j * kDelta);
        if (std::isnan(f[j + kLado])) res.semDados = true;
    }
    double melhor = INFINITY;
    for (int j = -kLado; j < kLado; ++j) {
        double aA = j * kDelta, aB = (j + 1) * kDelta;
        double fA = f[j + kLado], fB = f[j + kLado + 1];
        if (std::isnan(fA) || std::isnan(fB)) continue;
        const int o = (fA < 0 && fB >= 0) ? 1 : (fA >= 0 && fB < 0) ? -1 : 0;
        if (o == 0 || (lado != 0 && o != lado)) continue;
        if (std::min(std::fabs(aA), std::fabs(aB)) >= melhor) continue;
        double raiz = NAN;
        if (std::fabs(fA) <= kTolCota) {
            raiz = aA;
        } else if (std::fabs(fB) <= kTolCota) {
            raiz = aB;
        } else {
            for (int i = 0; i < kBissecoes; ++i) {
                const double m = 0.5 * (aA + aB), fm = F(m);
                if (std::isnan(fm)) {
                    res.semDados = true;
                    break;
                }
                raiz = m;
                if (std::fabs(fm) <= kTolCota || aB - aA < 1e-15) break;
                if ((fm < 0) == (fA < 0)) {
                    aA = m;
                    fA = fm;
                } else {
                    aB = m;
                }
            }
        }
        if (!std::isnan(raiz) && std::fabs(raiz) < melhor) {
            melhor = std::fabs(raiz);
            res.achou = true;
            res.angulo = raiz;
            res.lado = o;
        }
    }
    return res;
}

// Whether the ground has data all along a step, looked at every 25 cm or so.
bool DentroDoCampo(const TCotaMapa& cota, Pt a, Pt b) {
    constexpr int kPartes = 8;
    for (int i = 1; i < kPartes; ++i) {
        const double t = static_cast<double>(i) / kPartes;
        if (!std::isfinite(cota(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)))) return false;
    }
    return true;
}

// The first heading: (dx, dy) turned to the contour on its side, so that the line leaves the
// waterway across the slope and not down it. 'lado' says on which side the uphill lies.
Pt Saida(const TCotaMapa& cota, Pt p0, double z0, double dx, double dy, double h, int& lado) {
    const double e = h / 2;
    const auto derivada = [&](double ax, double ay) {
        const double zp = cota(p0.x + e * ax, p0.y + e * ay), zm = cota(p0.x - e * ax, p0.y - e * ay);
        if (std::isfinite(zp) && std::isfinite(zm)) return (zp - zm) / (2 * e);
        if (std::isfinite(zp)) return (zp - z0) / e;
        if (std::isfinite(zm)) return (z0 - zm) / e;
        return 0.0;
    };
    const double gx = derivada(1, 0), gy = derivada(0, 1), g = std::hypot(gx, gy);
    if (g == 0) {
        lado = 0;
        const double n = std::hypot(dx, dy);
        return {dx / n, dy / n};
    }
    const Pt esquerda{gy / g, -gx / g};  // the contour with the uphill on its left
    // Straight up or down the slope, to rounding: the uphill on the left.
    if (dx * esquerda.x + dy * esquerda.y >= -1e-9 * std::hypot(dx, dy)) {
        lado = 1;
        return esquerda;
    }
    lado = -1;
    return {-esquerda.x, -esquerda.y};
}

}  // namespace

TLinhaGradiente TracarGradiente(const TCotaMapa& cota, double x0, double y0, double dx, double dy,
                                const TParametrosGradiente& p, const TObstaculoGradiente& obstaculo) {
    const double Sc = p.declividade, h = p.passo, L = p.comprimentoMaximo;
    if (!std::isfinite(Sc) || Sc < 0)
        throw EVandoro("A declividade do canal deve ser maior ou igual a zero.");
    if (!std::isfinite(h) || h <= 0) throw EVandoro("O passo entre os vértices da linha deve ser maior que zero.");
    if (!std::isfinite(L) || L < 0) throw EVandoro("O comprimento máximo do canal deve ser maior ou igual a zero.");
    if (!std::isfinite(dx) || !std::isfinite(dy) || (dx == 0 && dy == 0))
        throw EVandoro("A direção de saída da linha com gradiente não é válida.");

    TLinhaGradiente l;
    const double z0 = cota(x0, y0);
    if (!std::isfinite(z0)) return l;
    l.x.push_back(x0);
    l.y.push_back(y0);
    l.cota.push_back(z0);

    int lado = 0;
    Pt u = Saida(cota, {x0, y0}, z0, dx, dy, h, lado);
    Pt q{x0, y0};
    TSegmentos segmentos(h);
    double s = 0;
    while (s < L) {
        // A bend tighter than a step (the nose of a narrow spur, the head of a gully) is
        // followed in shorter steps, down to a quarter. The step that would pass the maximum
        // ends exactly on it, and so does one that would leave less than a micrometre to go:
        // a step that short finds no slope to climb.
        TRaiz raiz;
        bool semDados = false;
        double r = 0, sNovo = 0;
        for (const double fracao : {1.0, 0.5, 0.25}) {
            r = h * fracao;
            sNovo = s + r;
            if (L - sNovo < 1e-6) {
                r = L - s;
                sNovo = L;
            }
            raiz = Procurar(cota, q, u, r, z0 + Sc * sNovo, lado);
            semDados = semDados || raiz.semDados;
            if (raiz.achou) break;
        }
        if (!raiz.achou) {
            l.fim = semDados ? TFimGradiente::Borda : TFimGradiente::Divisor;
            return l;
        }
        const Pt d = Girar(u, raiz.angulo);
        const Pt n{q.x + r * d.x, q.y + r * d.y};
        // A step that jumps a gap in the data (a notch in the field's edge) leaves the field.
        if (!DentroDoCampo(cota, q, n)) {
            l.fim = TFimGradiente::Borda;
            return l;
        }
        std::optional<TFimGradiente> fim;
        if (segmentos.Cruza(q, n)) fim = TFimGradiente::Linha;
        else if (obstaculo) fim = obstaculo(q.x, q.y, n.x, n.y);
        if (fim) {
            l.fim = *fim;
            l.xSeguinte = n.x;
            l.ySeguinte = n.y;
            return l;
        }
        segmentos.Adicionar(q, n);
        s = sNovo;
        l.x.push_back(n.x);
        l.y.push_back(n.y);
        l.cota.push_back(z0 + Sc * s);
        l.comprimento = s;
        q = n;
        u = d;
        if (lado == 0) lado = raiz.lado;
    }
    l.fim = TFimGradiente::ComprimentoMaximo;
    return l;
}

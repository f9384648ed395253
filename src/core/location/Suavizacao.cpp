#include "core/location/Suavizacao.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <tuple>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Pt {
    double x = 0, y = 0;
};
Pt operator+(Pt a, Pt b) { return {a.x + b.x, a.y + b.y}; }
Pt operator-(Pt a, Pt b) { return {a.x - b.x, a.y - b.y}; }
Pt operator*(Pt a, double k) { return {a.x * k, a.y * k}; }
double Dot(Pt a, Pt b) { return a.x * b.x + a.y * b.y; }
double Cross(Pt a, Pt b) { return a.x * b.y - a.y * b.x; }
double Dist(Pt a, Pt b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Radius of the circle through three points; infinite when they are in line.
double Circunraio(Pt a, Pt v, Pt b) {
    const double la = Dist(v, b), lb = Dist(a, v), lc = Dist(a, b);
    const double dobroArea = std::fabs(Cross(v - a, b - a));
    if (dobroArea <= 1e-12 * std::max(1.0, la * lb)) return kInf;
    return la * lb * lc / (2 * dobroArea);
}

// A polyline measured along its length. A closed one holds no repeated last vertex: its
// closing segment runs from the last vertex back to the first.
struct Curva {
    std::vector<Pt> p;
    bool fechada = false;
    std::vector<double> s;  // length up to each vertex; s[n] is the whole ring's when closed
    double total = 0;

    size_t N() const { return p.size(); }
    void Medir() {
        const size_t n = p.size();
        s.assign(n + (fechada ? 1 : 0), 0.0);
        for (size_t i = 1; i < n; ++i) s[i] = s[i - 1] + Dist(p[i - 1], p[i]);
        if (fechada && n > 0) s[n] = s[n - 1] + Dist(p[n - 1], p[0]);
        total = s.empty() ? 0 : s.back();
    }
    // Length u along the line: wrapped around a ring, held to the ends of an open line.
    double Ajustar(double u) const {
        if (fechada) {
            u = std::fmod(u, total);
            return u < 0 ? u + total : u;
        }
        return std::clamp(u, 0.0, total);
    }
    const Pt& Vert(size_t k) const { return p[k == p.size() ? 0 : k]; }
    Pt Em(double u) const {
        u = Ajustar(u);
        size_t k = static_cast<size_t>(std::upper_bound(s.begin(), s.end(), u) - s.begin());
        k = k == 0 ? 0 : k - 1;
        if (k + 1 >= s.size()) return Vert(s.size() - 1);
        const double seg = s[k + 1] - s[k];
        const double f = seg > 0 ? (u - s[k]) / seg : 0;
        return Vert(k) + (Vert(k + 1) - Vert(k)) * f;
    }
    // The points 'base' before and after vertex i; false where the radius is infinite by
    // definition (an open line's ends, or a ring of nothing).
    bool Vizinhos(size_t i, double base, Pt& a, Pt& b) const {
        if (N() < 3 || total <= 0) return false;
        if (!fechada && (i == 0 || i + 1 == N())) return false;
        const double d = fechada ? std::min(base, total / 3) : base;
        a = Em(s[i] - d);
        b = Em(s[i] + d);
        return true;
    }
    double Raio(size_t i, double base) const {
        Pt a, b;
        return Vizinhos(i, base, a, b) ? Circunraio(a, p[i], b) : kInf;
    }
    // Integral of the position along the line from its start to u (beyond the seam of a ring
    // it goes on round).
    Pt Integral(double u, const std::vector<Pt>& acumulada) const {
        double voltas = 0;
        if (fechada) {
            voltas = std::floor(u / total);
            u -= voltas * total;
        } else {
            u = std::clamp(u, 0.0, total);
        }
        size_t k = static_cast<size_t>(std::upper_bound(s.begin(), s.end(), u) - s.begin());
        k = k == 0 ? 0 : k - 1;
        Pt r = acumulada[k];
        if (k + 1 < s.size()) r = r + (Vert(k) + Em(u)) * (0.5 * (u - s[k]));
        return r + acumulada.back() * voltas;
    }
};

Curva CurvaDe(const TLinhaMapa& l, bool fechada) {
    Curva c;
    c.fechada = fechada;
    const size_t n = std::min(l.x.size(), l.y.size());
    for (size_t i = 0; i < n; ++i) {
        const Pt q{l.x[i], l.y[i]};
        if (c.p.empty() || Dist(c.p.back(), q) > 1e-9) c.p.push_back(q);
    }
    if (fechada)
        while (c.p.size() > 1 && Dist(c.p.front(), c.p.back()) <= 1e-9) c.p.pop_back();
    c.Medir();
    return c;
}

bool Fechada(const TLinhaMapa& l) {
    const size_t n = std::min(l.x.size(), l.y.size());
    return n >= 4 && std::hypot(l.x[0] - l.x[n - 1], l.y[0] - l.y[n - 1]) <= 1e-9;
}

// The traced course with points added so that no two vertices lie more than 'h' apart; the
// traced vertices themselves are all kept, so this course is the traced line.
Curva Adensar(const Curva& c, double h) {
    Curva d;
    d.fechada = c.fechada;
    const size_t n = c.N();
    const size_t segs = c.fechada ? n : n - 1;
    for (size_t i = 0; i < segs; ++i) {
        const Pt a = c.p[i], b = c.Vert(i + 1);
        const int partes = std::max(1, static_cast<int>(std::ceil(Dist(a, b) / h)));
        for (int k = 0; k < partes; ++k) d.p.push_back(a + (b - a) * (double(k) / partes));
    }
    if (!c.fechada) d.p.push_back(c.p.back());
    d.Medir();
    return d;
}

// The size of the cells the line was traced on, as its typical step.
double PassoTracado(const Curva& c) {
    std::vector<double> passos;
    for (size_t i = 1; i < c.s.size(); ++i) passos.push_back(c.s[i] - c.s[i - 1]);
    if (passos.empty()) return 1;
    std::nth_element(passos.begin(), passos.begin() + passos.size() / 2, passos.end());
    return passos[passos.size() / 2];
}

struct Ajuste {
    const TCotaMapa& cota;
    double level;
    TParametrosSuavizacao p;
    double celula;  // the traced line's cell size
    double RaioAlvo() const { return p.raioMinimo * 1.02; }

    // Average of the line over a window of about a cell either side: takes out the cell-edge
    // zigzag. Near an open line's ends the window narrows so the ends stay put.
    void Alisar(Curva& c) const {
        const double w = std::clamp(celula, 0.5, 20.0);
        std::vector<Pt> acum(c.s.size());
        for (size_t k = 1; k < c.s.size(); ++k)
            acum[k] = acum[k - 1] + (c.Vert(k - 1) + c.Vert(k)) * (0.5 * (c.s[k] - c.s[k - 1]));
        std::vector<Pt> novo = c.p;
        for (size_t i = 0; i < c.N(); ++i) {
            const double wi = c.fechada ? std::min(w, c.total / 4) : std::min({w, c.s[i], c.total - c.s[i]});
            if (wi <= 1e-9) continue;
            novo[i] = (c.Integral(c.s[i] + wi, acum) - c.Integral(c.s[i] - wi, acum)) * (1 / (2 * wi));
        }
        c.p = std::move(novo);
        c.Medir();
    }

    // Moves the vertices that lie off the level by more than most of the tolerance along the
    // line's normal, to well inside it.
    void Projetar(Curva& c) const {
        const double tol = p.tolerancia;
        const double delta = std::max(0.1, 0.25 * celula), passoMax = std::max(1.0, celula);
        std::vector<Pt> novo = c.p;
        for (size_t i = 0; i < c.N(); ++i) {
            const Pt v = c.p[i];
            const double e = cota(v.x, v.y) - level;
            if (!std::isfinite(e) || std::fabs(e) <= 0.8 * tol) continue;
            Pt t = c.Em(c.s[i] + delta) - c.Em(c.s[i] - delta);
            const double lt = std::hypot(t.x, t.y);
            if (lt <= 1e-12) continue;
            const Pt n{-t.y / lt, t.x / lt};
            const Pt mais = v + n * delta, menos = v - n * delta;
            const double g = (cota(mais.x, mais.y) - cota(menos.x, menos.y)) / (2 * delta);
            if (!std::isfinite(g) || std::fabs(g) < 1e-9) continue;
            const double alvo = std::copysign(0.4 * tol, e);
            double d = std::clamp(-(e - alvo) / g, -passoMax, passoMax);
            for (int k = 0; k < 4; ++k, d *= 0.5) {
                const Pt q = v + n * d;
                const double e2 = cota(q.x, q.y) - level;
                if (std::isfinite(e2) && std::fabs(e2) < std::fabs(e)) {
                    novo[i] = q;
                    break;
                }
            }
        }
        c.p = std::move(novo);
        c.Medir();
    }

    // Moves every vertex whose radius is under the target toward the chord of its neighbours,
    // onto the arc of the target radius; gives how many moved.
    int Limitar(Curva& c) const {
        const double r = RaioAlvo();
        std::vector<Pt> novo = c.p;
        int movidos = 0;
        for (size_t i = 0; i < c.N(); ++i) {
            Pt a, b;
            if (!c.Vizinhos(i, p.baseRaio, a, b)) continue;
            const Pt v = c.p[i];
            if (Circunraio(a, v, b) >= r * 0.999) continue;
            const Pt ab = b - a;
            const double l2 = Dot(ab, ab);
            if (l2 <= 1e-12) continue;
            const double meia = std::sqrt(l2) / 2;
            if (meia >= r) continue;
            const double f = Dot(v - a, ab) / l2;
            const Pt pe = a + ab * f;
            const double u = (f - 0.5) * 2 * meia;
            const double altura = std::fabs(u) < meia ? std::sqrt(r * r - u * u) - std::sqrt(r * r - meia * meia) : 0;
            const double h = Dist(v, pe);
            if (h <= altura) continue;
            novo[i] = pe + (v - pe) * (altura / h);
            ++movidos;
        }
        c.p = std::move(novo);
        c.Medir();
        return movidos;
    }

    // Slides each vertex along the line toward the middle of its neighbours: where a bend
    // is widened its vertices bunch up, and bunched vertices measure their radius badly.
    static void Espalhar(Curva& c) {
        const size_t n = c.N();
        if (n < 3) return;
        std::vector<Pt> novo = c.p;
        for (size_t i = 0; i < n; ++i) {
            if (!c.fechada && (i == 0 || i + 1 == n)) continue;
            const double antes = i > 0 ? c.s[i - 1] : c.s[n - 1] - c.total;
            const double depois = c.s[i + 1];
            novo[i] = c.Em(0.5 * c.s[i] + 0.25 * (antes + depois));
        }
        c.p = std::move(novo);
        c.Medir();
    }

    // Smoothing toward the level; with the radius, the bends too sharp for it are widened last
    // so that the radius wins over the level.
    void Suavizar(Curva& c, bool comRaio) const {
        for (int k = 0; k < 30; ++k) {
            Alisar(c);
            Projetar(c);
            if (comRaio) Limitar(c);
            Espalhar(c);
        }
        for (int k = 0; k < 20; ++k) {
            Projetar(c);
            if (comRaio) Limitar(c);
            Espalhar(c);
        }
        if (comRaio)
            for (int k = 0; k < 800; ++k) {
                if (Limitar(c) == 0) break;
                Espalhar(c);
            }
    }
    bool RaioAtendido(const Curva& c) const {
        for (size_t i = 0; i < c.N(); ++i)
            if (c.Raio(i, p.baseRaio) < p.raioMinimo) return false;
        return true;
    }
};

// One line in the works: the smoothed course and the traced one vertex for vertex, and how
// far each vertex has gone from the traced toward the smoothed (1 = all the way).
struct Obra {
    Curva suave, tracada;
    std::vector<double> t;
    bool mexer = true;  // false: left as traced
    std::vector<Pt> Final() const {
        std::vector<Pt> f(suave.N());
        for (size_t i = 0; i < f.size(); ++i) f[i] = tracada.p[i] + (suave.p[i] - tracada.p[i]) * t[i];
        return f;
    }
};

double Orient(Pt a, Pt b, Pt c) { return Cross(b - a, c - a); }
bool NoSegmento(Pt a, Pt b, Pt c) {
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}
bool Cruzam(Pt a, Pt b, Pt c, Pt d) {
    const double o1 = Orient(a, b, c), o2 = Orient(a, b, d), o3 = Orient(c, d, a), o4 = Orient(c, d, b);
    if (((o1 > 0 && o2 < 0) || (o1 < 0 && o2 > 0)) && ((o3 > 0 && o4 < 0) || (o3 < 0 && o4 > 0))) return true;
    return (o1 == 0 && NoSegmento(a, b, c)) || (o2 == 0 && NoSegmento(a, b, d)) || (o3 == 0 && NoSegmento(c, d, a)) ||
           (o4 == 0 && NoSegmento(c, d, b));
}

// Vertices (line, index) at the ends of segments that cross a segment of another line, or
// a part of their own line that is not next to them; and vertices whose way from the traced
// course to where they are now crosses another line (a bend carried right over a short line
// beside it crosses nothing, but has jumped it).
std::vector<std::pair<size_t, size_t>> Cruzamentos(const std::vector<std::vector<Pt>>& linhas,
                                                   const std::vector<std::vector<Pt>>& origens,
                                                   const std::vector<bool>& fechadas) {
    constexpr double kCelula = 4;
    struct Entrada {
        int64_t cx, cy;
        uint32_t linha, seg;
        bool caminho;  // a vertex's way from its traced place, not a segment of the line
    };
    std::vector<Entrada> ents;
    auto indexar = [&](Pt a, Pt b, size_t k, size_t j, bool caminho) {
        const int64_t x0 = static_cast<int64_t>(std::floor(std::min(a.x, b.x) / kCelula)),
                      x1 = static_cast<int64_t>(std::floor(std::max(a.x, b.x) / kCelula)),
                      y0 = static_cast<int64_t>(std::floor(std::min(a.y, b.y) / kCelula)),
                      y1 = static_cast<int64_t>(std::floor(std::max(a.y, b.y) / kCelula));
        for (int64_t cx = x0; cx <= x1; ++cx)
            for (int64_t cy = y0; cy <= y1; ++cy)
                ents.push_back({cx, cy, static_cast<uint32_t>(k), static_cast<uint32_t>(j), caminho});
    };
    std::vector<std::vector<double>> comp(linhas.size());
    for (size_t k = 0; k < linhas.size(); ++k) {
        const auto& l = linhas[k];
        const size_t n = l.size(), segs = fechadas[k] ? n : (n == 0 ? 0 : n - 1);
        comp[k].assign(segs + 1, 0.0);
        for (size_t j = 0; j < segs; ++j) {
            comp[k][j + 1] = comp[k][j] + Dist(l[j], l[(j + 1) % n]);
            indexar(l[j], l[(j + 1) % n], k, j, false);
        }
        for (size_t i = 0; i < n; ++i)
            if (Dist(origens[k][i], l[i]) > 1e-9) indexar(origens[k][i], l[i], k, i, true);
    }
    std::sort(ents.begin(), ents.end(), [](const Entrada& a, const Entrada& b) {
        return std::tie(a.cx, a.cy, a.linha, a.caminho, a.seg) < std::tie(b.cx, b.cy, b.linha, b.caminho, b.seg);
    });
    // Segments of one line with nothing but zero-length ones between them meet at a vertex.
    auto vizinhos = [&](size_t k, size_t j, size_t m) {
        const auto& c = comp[k];
        const size_t segs = c.size() - 1;
        if (c[m] - c[j + 1] <= 1e-9) return true;
        return fechadas[k] && (c[segs] - c[m + 1]) + c[j] <= 1e-9;
    };
    std::vector<std::pair<size_t, size_t>> r;
    for (size_t i = 0; i < ents.size();) {
        size_t f = i;
        while (f < ents.size() && ents[f].cx == ents[i].cx && ents[f].cy == ents[i].cy) ++f;
        for (size_t a = i; a < f; ++a)
            for (size_t b = a + 1; b < f; ++b) {
                const Entrada &ea = ents[a], &eb = ents[b];
                const size_t k = ea.linha, m = eb.linha, j = ea.seg, l = eb.seg;
                const auto &la = linhas[k], &lb = linhas[m];
                if (ea.caminho || eb.caminho) {
                    if (k == m || (ea.caminho && eb.caminho)) continue;
                    const Entrada& c = ea.caminho ? ea : eb;
                    const Entrada& s = ea.caminho ? eb : ea;
                    const auto& ls = linhas[s.linha];
                    if (Cruzam(origens[c.linha][c.seg], linhas[c.linha][c.seg], ls[s.seg], ls[(s.seg + 1) % ls.size()]))
                        r.push_back({c.linha, c.seg});
                    continue;
                }
                if (k == m && vizinhos(k, j, l)) continue;
                if (Cruzam(la[j], la[(j + 1) % la.size()], lb[l], lb[(l + 1) % lb.size()])) {
                    r.push_back({k, j});
                    r.push_back({k, (j + 1) % la.size()});
                    r.push_back({m, l});
                    r.push_back({m, (l + 1) % lb.size()});
                }
            }
        i = f;
    }
    return r;
}

// Brings the lines back toward their traced course around every crossing and every vertex
// outside the field, a quarter of the way at a time and easing off over a stretch either side,
// until they are clear. Traced lines never cross, so a line all the way back is clear of the
// others; the last rounds send whole lines back.
void Desembaracar(std::vector<Obra>& obras, const TDentroCampo& dentro, double zona) {
    std::vector<bool> fechadas(obras.size());
    for (size_t k = 0; k < obras.size(); ++k) fechadas[k] = obras[k].suave.fechada;
    constexpr int kRodadas = 12;
    for (int rodada = 0;; ++rodada) {
        std::vector<std::vector<Pt>> linhas(obras.size()), origens(obras.size());
        for (size_t k = 0; k < obras.size(); ++k) {
            linhas[k] = obras[k].Final();
            origens[k] = obras[k].tracada.p;
        }
        std::vector<std::pair<size_t, size_t>> marcas = Cruzamentos(linhas, origens, fechadas);
        for (size_t k = 0; k < obras.size(); ++k)
            for (size_t i = 0; i < linhas[k].size(); ++i)
                if (obras[k].t[i] > 0 && dentro && !dentro(linhas[k][i].x, linhas[k][i].y)) marcas.push_back({k, i});
        // What the traced lines do themselves is not ours to mend.
        std::erase_if(marcas, [&](const auto& m) { return obras[m.first].t[m.second] <= 0; });
        if (marcas.empty()) return;
        if (rodada >= kRodadas) {
            for (const auto& m : marcas) std::fill(obras[m.first].t.begin(), obras[m.first].t.end(), 0.0);
            continue;
        }
        std::vector<std::vector<double>> antes(obras.size());
        for (size_t k = 0; k < obras.size(); ++k) antes[k] = obras[k].t;
        for (const auto& [k, i] : marcas) {
            Obra& o = obras[k];
            const Curva& c = o.tracada;
            const double nucleo = std::max(0.0, antes[k][i] - 0.25);
            o.t[i] = std::min(o.t[i], nucleo);
            // Ease off both ways along the line.
            for (int lado : {-1, 1}) {
                const size_t n = c.N();
                size_t j = i;
                for (size_t passo = 1; passo < n; ++passo) {
                    if (lado < 0) {
                        if (j == 0 && !c.fechada) break;
                        j = j == 0 ? n - 1 : j - 1;
                    } else {
                        if (j + 1 == n && !c.fechada) break;
                        j = j + 1 == n ? 0 : j + 1;
                    }
                    double d = std::fabs(c.s[j] - c.s[i]);
                    if (c.fechada) d = std::min(d, c.total - d);
                    if (d >= zona) break;
                    o.t[j] = std::min(o.t[j], nucleo + (1 - nucleo) * d / zona);
                }
            }
        }
    }
}

double Comprimento(const std::vector<Pt>& v) {
    double s = 0;
    for (size_t i = 1; i < v.size(); ++i) s += Dist(v[i - 1], v[i]);
    return s;
}

// The off-level stretches of a finished line: runs of vertices off by more than the
// tolerance, from where the line leaves the band to where it comes back, joined when less
// than two radius bases apart.
std::vector<TTravessia> Travessias(const std::vector<Pt>& v, bool fechada, const TCotaMapa& cota, double level,
                                   const TParametrosSuavizacao& p) {
    const size_t n = fechada ? v.size() - 1 : v.size();
    std::vector<double> e(n), s(v.size(), 0.0);
    for (size_t i = 1; i < v.size(); ++i) s[i] = s[i - 1] + Dist(v[i - 1], v[i]);
    const double total = s.back();
    std::vector<bool> fora(n);
    bool algum = false;
    for (size_t i = 0; i < n; ++i) {
        e[i] = cota(v[i].x, v[i].y) - level;
        fora[i] = std::isfinite(e[i]) && std::fabs(e[i]) > p.tolerancia;
        algum = algum || fora[i];
    }
    if (!algum) return {};
    // Where along segment a→b (a in the band, b out of it) the line crosses the band's edge.
    auto borda = [&](size_t a, size_t b, double sa, double sb) {
        if (!std::isfinite(e[a])) return sb;
        const double alvo = std::copysign(p.tolerancia, e[b]);
        const double f = std::clamp((alvo - e[a]) / (e[b] - e[a]), 0.0, 1.0);
        return sa + (sb - sa) * f;
    };
    struct Trecho {
        double ini, fim;
        size_t i0, i1;
    };
    std::vector<Trecho> trechos;
    for (size_t i = 0; i < n;) {
        if (!fora[i]) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j + 1 < n && fora[j + 1]) ++j;
        Trecho t{s[i], s[j], i, j};
        if (i > 0) t.ini = borda(i - 1, i, s[i - 1], s[i]);
        else if (fechada && !fora[n - 1]) t.ini = borda(n - 1, 0, s[n - 1], total) - total;
        if (j + 1 < n) t.fim = borda(j + 1, j, s[j + 1], s[j]);
        else if (fechada && !fora[0]) t.fim = borda(0, j, total, s[j]);
        trechos.push_back(t);
        i = j + 1;
    }
    std::vector<Trecho> juntos;
    for (const Trecho& t : trechos) {
        if (!juntos.empty() && t.ini - juntos.back().fim < 2 * p.baseRaio) {
            juntos.back().fim = t.fim;
            juntos.back().i1 = t.i1;
        } else {
            juntos.push_back(t);
        }
    }
    // Round a ring, the last stretch may run on into the first.
    bool emenda = false;
    if (fechada && juntos.size() > 1 && juntos.front().ini + total - juntos.back().fim < 2 * p.baseRaio) emenda = true;
    std::vector<TTravessia> r;
    auto pior = [&](size_t i0, size_t i1, TTravessia& t) {
        for (size_t i = i0; i <= i1; ++i)
            if (fora[i]) {
                t.maiorAterro = std::max(t.maiorAterro, -e[i]);
                t.maiorCorte = std::max(t.maiorCorte, e[i]);
            }
    };
    for (size_t k = emenda ? 1 : 0; k < juntos.size(); ++k) {
        const Trecho& q = juntos[k];
        TTravessia t;
        t.inicio = q.ini < 0 ? q.ini + total : q.ini;
        t.comprimento = q.fim - q.ini;
        pior(q.i0, q.i1, t);
        if (emenda && k + 1 == juntos.size()) {
            t.comprimento = juntos.front().fim + total - q.ini;
            pior(juntos.front().i0, juntos.front().i1, t);
        }
        r.push_back(t);
    }
    if (r.size() == 1 && fechada && r[0].comprimento > total) {
        r[0].inicio = 0;
        r[0].comprimento = total;
    }
    return r;
}

// Length of the line whose radius is under the minimum, each vertex standing for half of
// each segment beside it.
double ComprimentoRaioMenor(const TLinhaMapa& l, bool fechada, const TParametrosSuavizacao& p) {
    const Curva c = CurvaDe(l, fechada);
    double soma = 0;
    for (size_t i = 0; i < c.N(); ++i) {
        if (!(c.Raio(i, p.baseRaio) < p.raioMinimo)) continue;
        const double antes = i > 0 ? c.s[i] - c.s[i - 1] : (fechada ? c.s[c.N()] - c.s[c.N() - 1] : 0);
        const double depois = i + 1 < c.s.size() ? c.s[i + 1] - c.s[i] : 0;
        soma += 0.5 * (antes + depois);
    }
    return soma;
}

}  // namespace

double RaioEm(const TLinhaMapa& l, size_t i, double base, bool fechada) {
    const size_t n = std::min(l.x.size(), l.y.size());
    if (i >= n) return std::numeric_limits<double>::quiet_NaN();
    const Curva c = CurvaDe(l, fechada);
    // The index among the vertices kept (repeated vertices give one).
    size_t k = 0;
    for (size_t j = 1; j <= i; ++j)
        if (std::hypot(l.x[j] - l.x[j - 1], l.y[j] - l.y[j - 1]) > 1e-9) ++k;
    if (k >= c.N()) k = fechada ? 0 : c.N() - 1;
    return c.Raio(k, base);
}

std::vector<TLinhaSuavizada> SuavizarLinhas(const std::vector<TLinhaMapa>& tracadas, const TCotaMapa& cota,
                                            const TDentroCampo& dentro, const TParametrosSuavizacao& p) {
    std::vector<TLinhaSuavizada> r(tracadas.size());
    if (!(p.raioMinimo > 0)) {
        for (size_t k = 0; k < tracadas.size(); ++k) {
            r[k].linha = tracadas[k];
            const auto& l = tracadas[k];
            for (size_t i = 1; i < std::min(l.x.size(), l.y.size()); ++i)
                r[k].comprimento += std::hypot(l.x[i] - l.x[i - 1], l.y[i] - l.y[i - 1]);
        }
        return r;
    }
    const double h = std::clamp(0.5 * p.passoMaximo, 0.05, 1.0);
    std::vector<Obra> obras(tracadas.size());
    for (size_t k = 0; k < tracadas.size(); ++k) {
        const TLinhaMapa& l = tracadas[k];
        Obra& o = obras[k];
        const bool fechada = Fechada(l);
        const Curva c = CurvaDe(l, fechada);
        o.tracada = c.N() >= 3 ? Adensar(c, h) : c;
        o.suave = o.tracada;
        o.t.assign(o.tracada.N(), 1.0);
        o.mexer = c.N() >= 3 && c.total > 0;
        if (!o.mexer) continue;
        const Ajuste aj{cota, l.level, p, PassoTracado(c)};
        // A ring too short to turn round at the minimum radius can only be put on its level.
        const bool comRaio = !fechada || c.total >= 2 * std::numbers::pi * p.raioMinimo;
        aj.Suavizar(o.suave, comRaio);
        if (comRaio && fechada && !aj.RaioAtendido(o.suave)) {
            o.suave = o.tracada;
            aj.Suavizar(o.suave, false);
        }
    }
    Desembaracar(obras, dentro, 2 * p.baseRaio);

    for (size_t k = 0; k < tracadas.size(); ++k) {
        const Obra& o = obras[k];
        TLinhaSuavizada& s = r[k];
        s.linha.id = tracadas[k].id;
        s.linha.level = tracadas[k].level;
        if (!o.mexer) {
            s.linha = tracadas[k];
            s.comprimento = Comprimento(o.tracada.p);
            continue;
        }
        // Where a bend was widened its vertices lie bunched; a few centimetres apart on a smooth
        // stretch add nothing. Vertices of the traced course are all kept.
        std::vector<Pt> v;
        const std::vector<Pt> f = o.Final();
        for (size_t i = 0; i < f.size(); ++i) {
            const double minimo = o.t[i] >= 1 && i + 1 < f.size() ? 0.1 : 1e-9;
            if (v.empty() || Dist(v.back(), f[i]) > minimo) v.push_back(f[i]);
        }
        const bool fechada = o.suave.fechada;
        if (fechada) v.push_back(v.front());
        // Points on the long segments, which leaves the line where it was.
        std::vector<Pt> w;
        for (size_t i = 0; i < v.size(); ++i) {
            if (i > 0) {
                const int partes = static_cast<int>(std::ceil(Dist(v[i - 1], v[i]) / p.passoMaximo));
                for (int j = 1; j < partes; ++j) w.push_back(v[i - 1] + (v[i] - v[i - 1]) * (double(j) / partes));
            }
            w.push_back(v[i]);
        }
        for (const Pt& q : w) {
            s.linha.x.push_back(q.x);
            s.linha.y.push_back(q.y);
        }
        s.comprimento = Comprimento(w);
        s.travessias = Travessias(w, fechada, cota, s.linha.level, p);
        s.comprimentoRaioMenor = ComprimentoRaioMenor(s.linha, fechada, p);
    }
    return r;
}

#include "core/location/Suavizacao.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <limits>
#include <numbers>
#include <mutex>
#include <numeric>
#include <optional>
#include <span>
#include <thread>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "core/common/Threads.h"
#include "core/location/ImgElev.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Pt {
    double x = 0, y = 0;
};
Pt operator+(Pt a, Pt b) { return {a.x + b.x, a.y + b.y}; }
Pt operator-(Pt a, Pt b) { return {a.x - b.x, a.y - b.y}; }
Pt operator*(Pt a, double k) { return {a.x * k, a.y * k}; }
bool operator==(Pt a, Pt b) { return a.x == b.x && a.y == b.y; }
double Dot(Pt a, Pt b) { return a.x * b.x + a.y * b.y; }
double Cross(Pt a, Pt b) { return a.x * b.y - a.y * b.x; }
double Dist(Pt a, Pt b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y)); }

// Radius of the circle through three points; infinite when they are in line.
double Circunraio(Pt a, Pt v, Pt b) {
    const double la2 = Dot(v - b, v - b), lb2 = Dot(a - v, a - v), lc2 = Dot(a - b, a - b);
    const double dobroArea = std::fabs(Cross(v - a, b - a));
    if (dobroArea <= 1e-12 * std::max(1.0, std::sqrt(la2 * lb2))) return kInf;
    return std::sqrt(la2 * lb2 * lc2) / (2 * dobroArea);
}

// Circunraio(a, v, b) < r, told by the squares where the answer is plain (most vertices are
// far from the edge) and by Circunraio itself within a hair of it, so the answer is the same.
bool RaioMenorQue(Pt a, Pt v, Pt b, double r) {
    constexpr double folga = 1e-9;  // far beyond the rounding of either way
    const double la2 = Dot(v - b, v - b), lb2 = Dot(a - v, a - v), lc2 = Dot(a - b, a - b);
    const double dobroArea = std::fabs(Cross(v - a, b - a));
    const double p2 = la2 * lb2, emLinha = 1e-24 * std::max(1.0, p2), a2 = dobroArea * dobroArea;
    if (a2 > emLinha * (1 + folga)) {
        const double num = p2 * lc2, den = 2 * dobroArea * r;
        if (num < den * den * (1 - folga)) return true;
        if (num > den * den * (1 + folga)) return false;
    } else if (a2 < emLinha * (1 - folga)) {
        return false;  // in line: infinite
    }
    return Circunraio(a, v, b) < r;
}

// A polyline measured along its length. A closed one holds no repeated last vertex: its
// closing segment runs from the last vertex back to the first.
struct Curva {
    std::vector<Pt> p;
    bool fechada = false;
    std::vector<double> s;  // length up to each vertex; s[n] is the whole ring's when closed
    double total = 0;
    std::vector<double> d;  // while vertices are moved a few at a time: segment lengths, d[i] ending at i

    size_t N() const { return p.size(); }
    void Medir() {
        const size_t n = p.size();
        s.assign(n + (fechada ? 1 : 0), 0.0);
        for (size_t i = 1; i < n; ++i) s[i] = s[i - 1] + Dist(p[i - 1], p[i]);
        if (fechada && n > 0) s[n] = s[n - 1] + Dist(p[n - 1], p[0]);
        total = s.empty() ? 0 : s.back();
        std::vector<double>().swap(d);
    }
    // Moves computed against the line as it stood, put in at once (by rising index). A long
    // line's late rounds move a handful of vertices: only the segments beside them are
    // measured again, and the lengths summed from the first.
    void Mover(const std::vector<std::pair<size_t, Pt>>& mudas) {
        if (mudas.empty()) return;
        for (const auto& [i, v] : mudas) p[i] = v;
        const size_t n = p.size();
        if (s.size() != n + (fechada ? 1 : 0)) {
            Medir();
            return;
        }
        // A round that moves most vertices measures each segment once, not once per end.
        if (d.size() != s.size() || 2 * mudas.size() >= n) {
            d.assign(s.size(), 0.0);
            for (size_t i = 1; i < n; ++i) d[i] = Dist(p[i - 1], p[i]);
            if (fechada && n > 0) d[n] = Dist(p[n - 1], p[0]);
        } else {
            for (const auto& [i, v] : mudas) {
                if (i > 0) d[i] = Dist(p[i - 1], p[i]);
                if (i + 1 < n) d[i + 1] = Dist(p[i], p[i + 1]);
                if (fechada && (i == 0 || i + 1 == n)) d[n] = Dist(p[n - 1], p[0]);
            }
        }
        for (size_t i = std::max<size_t>(mudas.front().first, 1); i < s.size(); ++i) s[i] = s[i - 1] + d[i];
        total = s.empty() ? 0 : s.back();
    }
    // Length u along the line: wrapped around a ring, held to the ends of an open line.
    double Ajustar(double u) const {
        if (fechada) {
            // Within one turn either way fmod would give u itself: the same, without the call.
            if (!(u > -total && u < total)) u = std::fmod(u, total);
            return u < 0 ? u + total : u;
        }
        return std::clamp(u, 0.0, total);
    }
    const Pt& Vert(size_t k) const { return p[k == p.size() ? 0 : k]; }
    // Walks from vertex i one way and then the other (around a ring, to an open line's end),
    // calling f(j, distance along the line) while it returns true.
    template <class F>
    void AoRedor(size_t i, F f) const {
        const size_t n = N();
        for (int lado : {-1, 1}) {
            size_t j = i;
            for (size_t passo = 1; passo < n; ++passo) {
                if (lado < 0) {
                    if (j == 0 && !fechada) break;
                    j = j == 0 ? n - 1 : j - 1;
                } else {
                    if (j + 1 == n && !fechada) break;
                    j = j + 1 == n ? 0 : j + 1;
                }
                double d = std::fabs(s[j] - s[i]);
                if (fechada) d = std::min(d, total - d);
                if (!f(j, d)) break;
            }
        }
    }
    // The segment holding length u (within the line), walking from segment k: a sweep along
    // the line, or a look a few metres either side of a vertex, finds it in a few steps.
    size_t Segmento(double u, size_t k) const {
        const size_t ultimo = s.size() - 2;
        k = std::min(k, ultimo);
        if (std::fabs(s[k] - u) > total / 2) k = u < total / 2 ? 0 : ultimo;  // across a ring's seam
        while (k > 0 && u < s[k]) --k;
        while (k < ultimo && u >= s[k + 1]) ++k;
        return k;
    }
    Pt NoSegmento(double u, size_t k) const {
        const double seg = s[k + 1] - s[k];
        const double f = seg > 0 ? (u - s[k]) / seg : 0;
        return Vert(k) + (Vert(k + 1) - Vert(k)) * f;
    }
    // The point at length u, looked for from segment k; k comes back as the segment found.
    Pt EmDesde(double u, size_t& k) const {
        if (s.size() < 2) return p.empty() ? Pt{} : p[0];
        u = Ajustar(u);
        k = Segmento(u, k);
        return NoSegmento(u, k);
    }
    Pt Em(double u, size_t k) const { return EmDesde(u, k); }
    Pt Em(double u) const {
        if (s.size() < 2) return p.empty() ? Pt{} : p[0];
        const double v = Ajustar(u);
        const size_t k = static_cast<size_t>(std::upper_bound(s.begin(), s.end(), v) - s.begin());
        return Em(u, k == 0 ? 0 : k - 1);
    }
    // Where the last look 'base' before and after a vertex ended: a sweep along the line
    // starts the next look there instead of walking the base again from the vertex. Any start
    // finds the same segment.
    struct Dica {
        size_t antes = 0, depois = 0;
    };
    // The points 'base' before and after vertex i; false where the radius is infinite by
    // definition (an open line's ends, or a ring of nothing).
    bool Vizinhos(size_t i, double base, Pt& a, Pt& b, Dica* dica = nullptr) const {
        if (N() < 3 || total <= 0) return false;
        if (!fechada && (i == 0 || i + 1 == N())) return false;
        const double d = fechada ? std::min(base, total / 3) : base;
        Dica local{i, i};
        Dica& k = dica ? *dica : local;
        a = EmDesde(s[i] - d, k.antes);
        b = EmDesde(s[i] + d, k.depois);
        return true;
    }
    double Raio(size_t i, double base, Dica* dica = nullptr) const {
        Pt a, b;
        return Vizinhos(i, base, a, b, dica) ? Circunraio(a, p[i], b) : kInf;
    }
    // Integral of the position along the line from its start to u (beyond the seam of a ring
    // it goes on round), looked for from segment k.
    Pt Integral(double u, const std::vector<Pt>& acumulada, size_t k) const {
        if (s.size() < 2) return acumulada[0];
        double voltas = 0;
        if (fechada) {
            // Within a turn either side of the start the quotient cannot round to a whole
            // turn: the same count, without the division.
            voltas = u > 0 && u < total ? 0.0 : u < 0 && u > -total ? -1.0 : std::floor(u / total);
            u -= voltas * total;
        } else {
            u = std::clamp(u, 0.0, total);
        }
        k = Segmento(u, k);
        return acumulada[k] + (Vert(k) + NoSegmento(u, k)) * (0.5 * (u - s[k])) + acumulada.back() * voltas;
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

// The vertices worth a look in the late rounds, in rising order. Those rounds move a handful
// of vertices of a long line: the look goes to them, not along the whole line. 'marca' is 0
// between rounds and names each vertex once while the next list is made.
struct Ativos {
    std::vector<size_t> lista;
    std::vector<char> marca;
    void Todos(size_t n) {
        lista.resize(n);
        std::iota(lista.begin(), lista.end(), size_t{0});
        marca.assign(n, 0);
    }
    // f(i) for the vertices named, in rising order; for all n when there is no list.
    template <class F>
    static void Visitar(const Ativos* a, size_t n, F f) {
        if (!a)
            for (size_t i = 0; i < n; ++i) f(i);
        else
            for (size_t i : a->lista) f(i);
    }
};

struct Ajuste {
    const TCotaMapa& cota;
    double level;
    double declividade;  // m/m: the design elevation rises from the first vertex (graded channels)
    TParametrosSuavizacao p;
    double celula;  // the traced line's cell size
    // Bends are widened a little past the minimum, so that the small moves of their neighbours
    // do not bring them back under it at once.
    double RaioAlvo() const { return p.raioMinimo * 1.05; }

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
            novo[i] = (c.Integral(c.s[i] + wi, acum, i) - c.Integral(c.s[i] - wi, acum, i)) * (1 / (2 * wi));
        }
        c.p = std::move(novo);
        c.Medir();
    }

    // Moves the vertices that lie off the level by more than most of the tolerance along the
    // line's normal, to well inside it. The moves are evened out along the line first, so
    // that vertices a cell apart do not go their own ways and bring back the zigzag.
    void Projetar(Curva& c) const {
        const double tol = p.tolerancia;
        const double delta = std::max(0.1, 0.25 * celula), passoMax = std::max(1.0, celula);
        const size_t n = c.N();
        // The unit normal at vertex i, from the line as it stands; zero where it has no direction.
        const auto normalEm = [&](size_t i) {
            const Pt t = c.Em(c.s[i] + delta, i) - c.Em(c.s[i] - delta, i);
            const double lt = std::sqrt(Dot(t, t));
            return lt <= 1e-12 ? Pt{} : Pt{-t.y / lt, t.x / lt};
        };
        // Few vertices of a round are off by that much: the normals are taken only where a
        // move reaches, the others' would only be multiplied by 0.
        std::vector<Pt> normal;
        std::vector<double> d;
        for (size_t i = 0; i < n; ++i) {
            const Pt v = c.p[i];
            const double e = cota(v.x, v.y) - (level + declividade * c.s[i]);
            if (!std::isfinite(e) || std::fabs(e) <= 0.8 * tol) continue;
            const Pt ni = normalEm(i);
            if (ni == Pt{}) continue;
            const Pt mais = v + ni * delta, menos = v - ni * delta;
            const double g = (cota(mais.x, mais.y) - cota(menos.x, menos.y)) / (2 * delta);
            if (!std::isfinite(g) || std::fabs(g) < 1e-9) continue;
            if (d.empty()) {
                d.assign(n, 0.0);
                normal.assign(n, Pt{});
            }
            normal[i] = ni;
            d[i] = std::clamp(-(e - std::copysign(0.4 * tol, e)) / g, -passoMax, passoMax);
        }
        if (d.empty()) return;
        for (int passada = 0; passada < 2; ++passada) {
            std::vector<double> m = d;
            for (size_t i = 0; i < n; ++i) {
                if (!c.fechada && (i == 0 || i + 1 == n)) continue;
                m[i] = 0.5 * d[i] + 0.25 * (d[i == 0 ? n - 1 : i - 1] + d[i + 1 == n ? 0 : i + 1]);
            }
            d = std::move(m);
        }
        for (size_t i = 0; i < n; ++i)
            if (d[i] != 0 && normal[i] == Pt{}) normal[i] = normalEm(i);
        for (size_t i = 0; i < n; ++i)
            if (d[i] != 0) c.p[i] = c.p[i] + normal[i] * d[i];
        c.Medir();
    }

    // Moves every vertex whose radius is under the target toward the chord of its neighbours,
    // onto the arc of the target radius; gives how many moved.
    // 'ativos', when given, names the vertices worth a look, and comes back naming those near
    // the ones moved.
    int Limitar(Curva& c, Ativos* ativos = nullptr) const {
        const double r = RaioAlvo();
        std::vector<std::pair<size_t, Pt>> mudas;
        std::vector<size_t> movidos;
        // A late round's first vertex may lie far along a long line: the looks start there,
        // not at the line's start.
        Curva::Dica dica;
        if (ativos && !ativos->lista.empty()) dica = {ativos->lista.front(), ativos->lista.front()};
        Ativos::Visitar(ativos, c.N(), [&](size_t i) {
            Pt a, b;
            if (!c.Vizinhos(i, p.baseRaio, a, b, &dica)) return;
            const Pt v = c.p[i];
            if (!RaioMenorQue(a, v, b, p.raioMinimo * 1.005)) return;
            const Pt ab = b - a;
            const double l2 = Dot(ab, ab);
            if (l2 <= 1e-12) return;
            const double meia = std::sqrt(l2) / 2;
            if (meia >= r) return;
            const double f = Dot(v - a, ab) / l2;
            const Pt pe = a + ab * f;
            const double u = (f - 0.5) * 2 * meia;
            const double altura = std::fabs(u) < meia ? std::sqrt(r * r - u * u) - std::sqrt(r * r - meia * meia) : 0;
            const double h = Dist(v, pe);
            if (h <= altura) return;
            mudas.push_back({i, pe + (v - pe) * (altura / h)});
            movidos.push_back(i);
        });
        c.Mover(mudas);
        if (ativos) {
            // A move changes the radius of the vertices whose neighbours it is, and theirs.
            const double zona = 2 * p.baseRaio + 1;
            std::vector<char>& marca = ativos->marca;
            std::vector<size_t>& lista = ativos->lista;
            lista.clear();
            const auto marcar = [&](size_t j) {
                if (marca[j]) return false;
                marca[j] = 1;
                lista.push_back(j);
                return true;
            };
            for (size_t i : movidos) {
                marcar(i);
                c.AoRedor(i, [&](size_t j, double d) { return !(d > zona) && marcar(j); });
            }
            std::sort(lista.begin(), lista.end());
            for (size_t j : lista) marca[j] = 0;
        }
        return static_cast<int>(movidos.size());
    }

    // Slides each vertex (of those named, when given) along the line toward the middle of its
    // neighbours: where a bend is widened its vertices bunch up, and bunched vertices measure
    // their radius badly.
    static void Espalhar(Curva& c, const Ativos* ativos = nullptr) {
        const size_t n = c.N();
        if (n < 3) return;
        std::vector<std::pair<size_t, Pt>> mudas;
        Ativos::Visitar(ativos, n, [&](size_t i) {
            if (!c.fechada && (i == 0 || i + 1 == n)) return;
            const double antes = i > 0 ? c.s[i - 1] : c.s[n - 1] - c.total;
            const double depois = c.s[i + 1];
            mudas.push_back({i, c.Em(0.5 * c.s[i] + 0.25 * (antes + depois), i)});
        });
        c.Mover(mudas);
    }

    // Smoothing toward the level; with the radius, the bends too sharp for it are widened last
    // so that the radius wins over the level.
    void Suavizar(Curva& c, bool comRaio) const {
        for (int k = 0; k < 20; ++k) {
            Alisar(c);
            Projetar(c);
            if (comRaio) Limitar(c);
            Espalhar(c);
        }
        for (int k = 0; k < 10; ++k) {
            Projetar(c);
            if (comRaio) Limitar(c);
            Espalhar(c);
        }
        if (comRaio) {
            Ativos ativos;
            ativos.Todos(c.N());
            for (int k = 0; k < 800; ++k) {
                // The slides reach a little beyond the vertices looked at: a quiet round
                // is confirmed over the whole line.
                if (Limitar(c, &ativos) == 0) {
                    ativos.Todos(c.N());
                    if (Limitar(c, &ativos) == 0) break;
                }
                Espalhar(c, &ativos);
            }
        }
        std::vector<double>().swap(c.d);
    }
    bool RaioAtendido(const Curva& c) const {
        Curva::Dica dica;
        for (size_t i = 0; i < c.N(); ++i)
            if (c.Raio(i, p.baseRaio, &dica) < p.raioMinimo) return false;
        return true;
    }
};

// One line in the works: the smoothed course, the traced one, the point of the traced course
// nearest to each smoothed vertex, and how far each vertex has gone from there toward the
// smoothed course (1 = all the way). A line sent back whole is its traced course exactly.
struct Obra {
    Curva suave, tracada;
    std::vector<Pt> ancora;
    std::vector<double> t;
    bool mexer = true;     // false: left as traced
    bool inteira = false;  // sent back whole
    double celula = 0;     // of the grid it was traced on
    std::vector<Pt> Final() const {
        if (inteira) return tracada.p;
        std::vector<Pt> f(suave.N());
        for (size_t i = 0; i < f.size(); ++i) f[i] = ancora[i] + (suave.p[i] - ancora[i]) * t[i];
        return f;
    }
    const std::vector<Pt>& Origens() const { return inteira ? tracada.p : ancora; }
};

// The nearest point of the traced course to each smoothed vertex, looked for a little way
// either side of the last one found: smoothing slides vertices along the line, so vertex i
// of one is not vertex i of the other.
std::vector<Pt> Ancorar(const Curva& suave, const Curva& tracada) {
    const size_t n = tracada.N(), segs = tracada.fechada ? n : n - 1;
    std::vector<Pt> r(suave.N(), tracada.p.empty() ? Pt{} : tracada.p[0]);
    if (segs == 0 || n == 0) return r;
    size_t atual = 0;
    auto procurar = [&](size_t i, long long de, long long ate, double& melhor) {
        const Pt v = suave.p[i];
        const long long nsegs = static_cast<long long>(segs);
        size_t achado = atual;
        // Around a ring the segment wraps: once by division, then step by step.
        if (!tracada.fechada) {
            de = std::max(de, 0LL);
            ate = std::min(ate, nsegs - 1);
        }
        long long j = tracada.fechada ? ((de % nsegs) + nsegs) % nsegs : de;
        // A segment whose box lies farther than the best (by far more than any rounding of
        // the coordinates) cannot be nearer: it is passed over without its projection.
        const double folga = 1e-9 * (std::fabs(v.x) + std::fabs(v.y) + 1);
        for (long long jj = de; jj <= ate; ++jj, j = j + 1 == nsegs ? 0 : j + 1) {
            const Pt a = tracada.p[size_t(j)], b = tracada.Vert(size_t(j) + 1);
            const double fx = std::max({std::min(a.x, b.x) - v.x, v.x - std::max(a.x, b.x), 0.0});
            const double fy = std::max({std::min(a.y, b.y) - v.y, v.y - std::max(a.y, b.y), 0.0});
            const double limite = melhor + folga;
            if (fx * fx + fy * fy > limite * limite) continue;
            const Pt ab = b - a;
            const double l2 = Dot(ab, ab);
            const double f = l2 > 0 ? std::clamp(Dot(v - a, ab) / l2, 0.0, 1.0) : 0;
            const Pt q = a + ab * f;
            // The square root only for a point no farther than the best: any other is farther.
            const double d2 = Dot(q - v, q - v);
            if (!(d2 <= melhor * melhor)) continue;
            const double d = std::sqrt(d2);
            if (d < melhor) {
                melhor = d;
                r[i] = q;
                achado = size_t(j);
            }
        }
        atual = achado;
    };
    for (size_t i = 0; i < suave.N(); ++i) {
        double melhor = kInf;
        const long long a = static_cast<long long>(atual);
        if (i == 0 && tracada.fechada) {
            procurar(i, 0, static_cast<long long>(segs) - 1, melhor);
            continue;
        }
        // Most vertices are a step or two from where the last one was; a bend cut across
        // leaves a stretch of the traced course behind.
        procurar(i, a - 10, a + 40, melhor);
        if (melhor > 2) procurar(i, a - 60, a + 300, melhor);
    }
    return r;
}

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

// Where a point lies beside a polyline: the nearest point of one of its segments, and on
// which side of that segment.
struct Lado {
    double dist = kInf, afastamento = 0;
    size_t seg = 0;
    int lado = 0;
    bool ponta = false;  // the nearest point is an open line's end: no side to speak of
};
void Comparar(Lado& melhor, Pt v, Pt a, Pt b, size_t seg, bool inicio, bool fim) {
    const Pt ab = b - a;
    const double l2 = Dot(ab, ab);
    const double f = l2 > 0 ? std::clamp(Dot(v - a, ab) / l2, 0.0, 1.0) : 0;
    const double d = Dist(a + ab * f, v);
    const double c = Cross(ab, v - a);
    // At a vertex two segments are as near; the one the point stands squarely off tells
    // the side.
    const double afast = l2 > 0 ? std::fabs(c) / std::sqrt(l2) : 0;
    if (d < melhor.dist - 1e-12 || (d <= melhor.dist + 1e-12 && afast > melhor.afastamento)) {
        melhor = {d, afast, seg, (c > 0) - (c < 0), (inicio && f <= 0) || (fim && f >= 1)};
    }
}

// Vertices (line, index) at the ends of segments that cross a segment of another line or a
// part of their own line that is not next to them; and, where a line has moved across another
// line's vertex without touching that line (a bend carried right over a short line beside
// it), the moved line's vertices there.
// 'mudaram' names the lines changed since the last look (all of them at the first). What two
// unchanged lines do to each other was found then and either moved one of them or lies on a
// line already sent back whole: only the cells the changed lines pass through, and those
// around the vertices to be checked for passages, are looked at again.
using Vistas = std::vector<std::span<const Pt>>;
std::vector<std::pair<size_t, size_t>> Cruzamentos(const Vistas& linhas, const Vistas& tracadas, const Vistas& origens,
                                                   const std::vector<double>& folgas,
                                                   const std::vector<bool>& fechadas,
                                                   const std::vector<char>& mudaram) {
    constexpr double kCelula = 4;
    constexpr int kAlcance = 2;  // cells either side looked at for the lines beside a vertex
    auto celula = [](double v) { return static_cast<int64_t>(std::floor(v / kCelula)); };
    // Cells are kept from the lowest one any point falls in, so that an entry takes 16 bytes:
    // a large field has tens of millions of them.
    int64_t baseX = std::numeric_limits<int64_t>::max(), baseY = baseX, fimX = std::numeric_limits<int64_t>::min(),
            fimY = fimX;
    // The cells only grow with the coordinates: the extreme points give the extreme cells.
    double menorX = kInf, menorY = kInf, maiorX = -kInf, maiorY = -kInf;
    {
        // Line by line on every thread; the least and the greatest do not depend on the order.
        std::vector<std::array<double, 4>> extremos(linhas.size(), {kInf, kInf, -kInf, -kInf});
        ParaCada(static_cast<int>(linhas.size()), NumeroThreads(), [&](int kk) {
            std::array<double, 4>& e = extremos[static_cast<size_t>(kk)];
            for (const auto* grupo : {&linhas, &tracadas, &origens})
                for (const Pt& v : (*grupo)[static_cast<size_t>(kk)]) {
                    e[0] = std::min(e[0], v.x);
                    e[1] = std::min(e[1], v.y);
                    e[2] = std::max(e[2], v.x);
                    e[3] = std::max(e[3], v.y);
                }
        });
        for (const auto& e : extremos) {
            menorX = std::min(menorX, e[0]);
            menorY = std::min(menorY, e[1]);
            maiorX = std::max(maiorX, e[2]);
            maiorY = std::max(maiorY, e[3]);
        }
    }
    if (menorX <= maiorX) {
        baseX = celula(menorX);
        baseY = celula(menorY);
        fimX = celula(maiorX);
        fimY = celula(maiorY);
    }
    struct Entrada {
        int32_t cx, cy;
        uint32_t linha;
        uint32_t segTracado;  // segment << 1, | 1 for a segment of the traced course
        size_t seg() const { return segTracado >> 1; }
        // Of the traced course, not of the line as it is now.
        bool tracado() const { return segTracado & 1; }
    };
    // The entries go by rows of cells, so that the cells beside a point in one row are found
    // at one go, and within a cell by (traced, line, segment). They are counted first, then
    // filled: per cell when the field's cells are few enough to count, each entry straight to
    // its place with no sort (non-traced segments of every line first, so a cell's entries
    // come in their order); otherwise in one block, sorted afterwards.
    constexpr int64_t kMaxCelulasContadas = int64_t(1) << 23;
    const int64_t largura = fimX - baseX + 1, altura = fimY - baseY + 1;
    const bool porCelula = fimX >= baseX && fimY >= baseY && largura <= kMaxCelulasContadas / altura;
    std::vector<uint32_t> lugar;  // by cell: counted, then where its next entry goes
    if (porCelula) lugar.assign(static_cast<size_t>(largura * altura), 0);
    const auto celulaDe = [&](int64_t cx, int64_t cy) { return static_cast<size_t>((cy - baseY) * largura + (cx - baseX)); };
    std::vector<Entrada> ents;
    auto segmentos = [&](std::span<const Pt> l, size_t k) { return fechadas[k] ? l.size() : (l.empty() ? 0 : l.size() - 1); };

    // Only a line that moved by more than its zigzag can have passed over another's vertex:
    // the vertices in the cells within reach of such moves are the ones to check. Those cells
    // are marked in a grid when the cells are counted, listed otherwise.
    std::vector<char> movida(lugar.size(), 0);
    std::vector<std::pair<int64_t, int64_t>> movidas;
    // The cells of such vertices, found line by line on every thread, then marked.
    std::vector<std::vector<std::pair<int64_t, int64_t>>> centros(linhas.size());
    ParaCada(static_cast<int>(linhas.size()), NumeroThreads(), [&](int mm) {
        const size_t m = static_cast<size_t>(mm);
        for (size_t i = 0; i < linhas[m].size(); ++i)
            if (Dist(linhas[m][i], origens[m][i]) > folgas[m]) {
                const std::pair c{celula(linhas[m][i].x), celula(linhas[m][i].y)};
                // Vertices a cell apart mostly fall in one of these: a cell just listed is not again.
                if (centros[m].empty() || centros[m].back() != c) centros[m].push_back(c);
            }
    });
    for (const auto& lista : centros)
        for (const auto& [cx, cy] : lista)
            for (int64_t x = cx - kAlcance; x <= cx + kAlcance; ++x)
                for (int64_t y = cy - kAlcance; y <= cy + kAlcance; ++y)
                    if (!porCelula) movidas.push_back({x, y});
                    else if (x >= baseX && x <= fimX && y >= baseY && y <= fimY) movida[celulaDe(x, y)] = 1;
    std::vector<std::vector<std::pair<int64_t, int64_t>>>().swap(centros);
    std::sort(movidas.begin(), movidas.end());
    movidas.erase(std::unique(movidas.begin(), movidas.end()), movidas.end());
    std::vector<std::vector<size_t>> aChecar(linhas.size());
    ParaCada(static_cast<int>(linhas.size()), NumeroThreads(), [&](int kk) {
        const size_t k = static_cast<size_t>(kk);
        for (size_t i = 0; i < linhas[k].size(); ++i) {
            const int64_t cx = celula(linhas[k][i].x), cy = celula(linhas[k][i].y);
            if (porCelula ? movida[celulaDe(cx, cy)] != 0 : std::binary_search(movidas.begin(), movidas.end(), std::pair{cx, cy}))
                aChecar[k].push_back(i);
        }
    });
    std::vector<std::pair<size_t, size_t>> checar;
    for (size_t k = 0; k < linhas.size(); ++k)
        for (size_t i : aChecar[k]) checar.push_back({k, i});
    std::vector<std::vector<size_t>>().swap(aChecar);
    std::vector<char>().swap(movida);
    // The cells worth indexing (all of them past the counted size): for the lines as they are
    // now, where a changed line passes and around the vertices to check and their traced
    // places; for the traced courses, only around those places, the one use of them.
    constexpr char kAgora = 1, kTracado = 2;
    std::vector<char> quente;
    if (porCelula) {
        quente.assign(lugar.size(), 0);
        const auto aquecer = [&](int64_t x0, int64_t x1, int64_t y0, int64_t y1, char quais) {
            for (int64_t cx = std::max(x0, baseX); cx <= std::min(x1, fimX); ++cx)
                for (int64_t cy = std::max(y0, baseY); cy <= std::min(y1, fimY); ++cy) quente[celulaDe(cx, cy)] |= quais;
        };
        for (size_t k = 0; k < linhas.size(); ++k) {
            if (!mudaram[k]) continue;
            const auto& l = linhas[k];
            std::array<int64_t, 4> ultima{};
            for (size_t j = 0; j < segmentos(l, k); ++j) {
                const Pt a = l[j], b = l[(j + 1) % l.size()];
                const std::array<int64_t, 4> caixa{celula(std::min(a.x, b.x)), celula(std::max(a.x, b.x)),
                                                   celula(std::min(a.y, b.y)), celula(std::max(a.y, b.y))};
                // Most segments lie in the cell of the one before.
                if (j > 0 && caixa == ultima) continue;
                ultima = caixa;
                aquecer(caixa[0], caixa[1], caixa[2], caixa[3], kAgora);
            }
        }
        const auto emVolta = [&](Pt v, char quais) {
            aquecer(celula(v.x) - kAlcance, celula(v.x) + kAlcance, celula(v.y) - kAlcance, celula(v.y) + kAlcance, quais);
        };
        for (const auto& [k, i] : checar) {
            emVolta(linhas[k][i], kAgora);
            emVolta(origens[k][i], kAgora | kTracado);
        }
    }
    size_t total = 0;
    bool contar = true;
    auto indexar = [&](Pt a, Pt b, size_t k, size_t j, bool tracado) {
        const int64_t x0 = celula(std::min(a.x, b.x)), x1 = celula(std::max(a.x, b.x));
        const int64_t y0 = celula(std::min(a.y, b.y)), y1 = celula(std::max(a.y, b.y));
        const char quais = tracado ? kTracado : kAgora;
        if (contar) {
            if (porCelula) {
                for (int64_t cx = x0; cx <= x1; ++cx)
                    for (int64_t cy = y0; cy <= y1; ++cy)
                        if (quente[celulaDe(cx, cy)] & quais) {
                            ++lugar[celulaDe(cx, cy)];
                            ++total;
                        }
            } else {
                total += static_cast<size_t>((x1 - x0 + 1) * (y1 - y0 + 1));
            }
            return;
        }
        for (int64_t cx = x0; cx <= x1; ++cx)
            for (int64_t cy = y0; cy <= y1; ++cy) {
                if (porCelula && !(quente[celulaDe(cx, cy)] & quais)) continue;
                const Entrada e{static_cast<int32_t>(cx - baseX), static_cast<int32_t>(cy - baseY),
                                static_cast<uint32_t>(k), static_cast<uint32_t>(j << 1 | (tracado ? 1 : 0))};
                if (porCelula) ents[lugar[celulaDe(cx, cy)]++] = e;
                else ents.push_back(e);
            }
    };
    std::vector<std::vector<double>> comp(linhas.size());
    ParaCada(static_cast<int>(linhas.size()), NumeroThreads(), [&](int kk) {
        const size_t k = static_cast<size_t>(kk);
        const auto& l = linhas[k];
        const size_t n = l.size(), segs = segmentos(l, k);
        comp[k].assign(segs + 1, 0.0);
        for (size_t j = 0; j < segs; ++j) comp[k][j + 1] = comp[k][j] + Dist(l[j], l[(j + 1) % n]);
    });
    // Blocks of cells holding a cell worth indexing, by kind: after the first round most of a
    // line lies far from them, and a run of its segments in none of them is passed over whole.
    constexpr int64_t kBloco = 8;
    constexpr size_t kTrecho = 64;
    const int64_t largBlocos = (largura + kBloco - 1) / kBloco;
    std::vector<char> blocos;
    if (porCelula) {
        blocos.assign(static_cast<size_t>(largBlocos * ((altura + kBloco - 1) / kBloco)), 0);
        for (int64_t cy = 0; cy < altura; ++cy)
            for (int64_t cx = 0; cx < largura; ++cx)
                blocos[static_cast<size_t>(cy / kBloco * largBlocos + cx / kBloco)] |= quente[static_cast<size_t>(cy * largura + cx)];
    }
    // Whether segments j0 to j1 - 1 of l have nothing to index (their cells lie within the
    // cells of the points they join).
    const auto frios = [&](std::span<const Pt> l, size_t j0, size_t j1, char quais) {
        if (!porCelula) return false;
        double x0 = kInf, y0 = kInf, x1 = -kInf, y1 = -kInf;
        for (size_t j = j0; j <= j1; ++j) {
            const Pt& v = l[j % l.size()];
            x0 = std::min(x0, v.x);
            y0 = std::min(y0, v.y);
            x1 = std::max(x1, v.x);
            y1 = std::max(y1, v.y);
        }
        for (int64_t by = (celula(y0) - baseY) / kBloco; by <= (celula(y1) - baseY) / kBloco; ++by)
            for (int64_t bx = (celula(x0) - baseX) / kBloco; bx <= (celula(x1) - baseX) / kBloco; ++bx)
                if (blocos[static_cast<size_t>(by * largBlocos + bx)] & quais) return false;
        return true;
    };
    // The counting pass tells which runs are cold, in the order the filling pass meets them.
    std::vector<char> frio;
    size_t trecho = 0;
    const auto indexarLinha = [&](std::span<const Pt> l, size_t k, bool tracado) {
        const size_t segs = segmentos(l, k);
        for (size_t j0 = 0; j0 < segs; j0 += kTrecho) {
            const size_t j1 = std::min(segs, j0 + kTrecho);
            if (contar) frio.push_back(frios(l, j0, j1, tracado ? kTracado : kAgora));
            if (frio[trecho++]) continue;
            for (size_t j = j0; j < j1; ++j) indexar(l[j], l[(j + 1) % l.size()], k, j, tracado);
        }
    };
    std::vector<char> moveu(linhas.size());
    ParaCada(static_cast<int>(linhas.size()), NumeroThreads(), [&](int kk) {
        const size_t k = static_cast<size_t>(kk);
        moveu[k] = !std::ranges::equal(tracadas[k], linhas[k]);
    });
    const auto indexarTodas = [&] {
        trecho = 0;
        for (size_t k = 0; k < linhas.size(); ++k) indexarLinha(linhas[k], k, false);
        for (size_t k = 0; k < linhas.size(); ++k)
            if (moveu[k]) indexarLinha(tracadas[k], k, true);
    };
    indexarTodas();
    contar = false;
    if (porCelula) {
        uint32_t antes = 0;
        for (uint32_t& q : lugar) antes += std::exchange(q, antes);
        ents.resize(total);
    } else {
        ents.reserve(total);
    }
    indexarTodas();
    std::vector<uint32_t>().swap(lugar);
    std::vector<char>().swap(quente);
    std::vector<char>().swap(blocos);
    if (!porCelula)
        std::sort(ents.begin(), ents.end(), [](const Entrada& a, const Entrada& b) {
            return std::make_tuple(a.cy, a.cx, a.tracado(), a.linha, a.seg()) <
                   std::make_tuple(b.cy, b.cx, b.tracado(), b.linha, b.seg());
        });
    // Segments of one line with nothing but zero-length ones between them meet at a vertex.
    auto vizinhos = [&](size_t k, size_t j, size_t m) {
        const auto& c = comp[k];
        const size_t segs = c.size() - 1;
        if (c[m] - c[j + 1] <= 1e-9) return true;
        return fechadas[k] && (c[segs] - c[m + 1]) + c[j] <= 1e-9;
    };
    // The pairs in a cell and the vertices to check are shared among the threads in
    // consecutive parts, each finding its own and put together in order: the same list as one
    // thread's.
    const int partes = 4 * NumeroThreads();
    std::vector<std::vector<std::pair<size_t, size_t>>> achados(static_cast<size_t>(2 * partes));
    // Part p of the entries, from a cell's first entry to the next part's.
    const auto inicioDaParte = [&](int p) {
        size_t i = ents.size() * static_cast<size_t>(p) / static_cast<size_t>(partes);
        while (i > 0 && i < ents.size() && ents[i].cx == ents[i - 1].cx && ents[i].cy == ents[i - 1].cy) ++i;
        return i;
    };
    const auto pares = [&](size_t de, size_t ate, std::vector<std::pair<size_t, size_t>>& r) {
        for (size_t i = de; i < ate;) {
            size_t f = i;
            while (f < ate && ents[f].cx == ents[i].cx && ents[f].cy == ents[i].cy && !ents[f].tracado()) ++f;
            for (size_t a = i; a < f; ++a)
                for (size_t b = a + 1; b < f; ++b) {
                    const size_t k = ents[a].linha, m = ents[b].linha, j = ents[a].seg(), l = ents[b].seg();
                    if (k == m && vizinhos(k, j, l)) continue;
                    const auto &la = linhas[k], &lb = linhas[m];
                    if (Cruzam(la[j], la[(j + 1) % la.size()], lb[l], lb[(l + 1) % lb.size()])) {
                        r.push_back({k, j});
                        r.push_back({k, (j + 1) % la.size()});
                        r.push_back({m, l});
                        r.push_back({m, (l + 1) % lb.size()});
                    }
                }
            while (f < ate && ents[f].cx == ents[i].cx && ents[f].cy == ents[i].cy) ++f;
            i = f;
        }
    };

    // Each vertex against the other lines near it: as it lies now beside them as they are now,
    // so its traced place lay beside their traced courses.
    struct Perto {
        size_t linha;
        Lado agora, antes;
    };
    auto olhar = [&](Pt v, size_t k, bool tracado, std::vector<Perto>& perto) {
        const int64_t cx = celula(v.x) - baseX, cy = celula(v.y) - baseY;
        for (int64_t y = cy - kAlcance; y <= cy + kAlcance; ++y) {
            const Entrada chave{static_cast<int32_t>(cx - kAlcance), static_cast<int32_t>(y), 0, 0};
            auto it = std::lower_bound(ents.begin(), ents.end(), chave,
                                       [](const Entrada& a, const Entrada& b) { return std::tie(a.cy, a.cx) < std::tie(b.cy, b.cx); });
            for (; it != ents.end() && it->cy == y && it->cx <= cx + kAlcance; ++it) {
                const size_t m = it->linha;
                // A line that has not moved stands for its traced course.
                if (m == k || it->tracado() != (tracado && moveu[m])) continue;
                auto p = std::find_if(perto.begin(), perto.end(), [m](const Perto& q) { return q.linha == m; });
                if (p == perto.end()) {
                    if (tracado) continue;
                    p = perto.insert(perto.end(), Perto{m, {}, {}});
                }
                const auto& l = it->tracado() ? tracadas[m] : linhas[m];
                const size_t segs = segmentos(l, m), j = it->seg();
                Comparar(tracado ? p->antes : p->agora, v, l[j], l[(j + 1) % l.size()], j, !fechadas[m] && j == 0,
                         !fechadas[m] && j + 1 == segs);
            }
        }
    };
    const auto passagens = [&](size_t de, size_t ate, std::vector<std::pair<size_t, size_t>>& r) {
        std::vector<Perto> perto;
        for (size_t q = de; q < ate; ++q) {
            const auto [k, i] = checar[q];
            perto.clear();
            olhar(linhas[k][i], k, false, perto);
            if (perto.empty()) continue;
            olhar(origens[k][i], k, true, perto);
            for (const Perto& p : perto) {
                if (std::isinf(p.agora.dist) || std::isinf(p.antes.dist) || p.agora.ponta || p.antes.ponta) continue;
                if (p.agora.lado != 0 && p.antes.lado != 0 && p.agora.lado != p.antes.lado) {
                    const size_t n = linhas[p.linha].size();
                    r.push_back({p.linha, p.agora.seg});
                    r.push_back({p.linha, (p.agora.seg + 1) % n});
                }
            }
        }
    };
    ParaCada(2 * partes, NumeroThreads(), [&](int t) {
        auto& r = achados[static_cast<size_t>(t)];
        const auto parte = [&](size_t total, int p) { return total * static_cast<size_t>(p) / static_cast<size_t>(partes); };
        if (t < partes) pares(inicioDaParte(t), inicioDaParte(t + 1), r);
        else passagens(parte(checar.size(), t - partes), parte(checar.size(), t - partes + 1), r);
    });
    std::vector<std::pair<size_t, size_t>> r;
    for (const auto& a : achados) r.insert(r.end(), a.begin(), a.end());
    return r;
}

// The line as it is handed over: the vertices bunched where a bend was widened thinned out
// (a few centimetres apart on a smooth stretch add nothing; those of the traced course are
// all kept), and points put on the long segments. 'origem' names the vertex in the works each
// comes from (for an added point, the one its segment starts at). A closed line does not
// repeat its first vertex here.
std::vector<Pt> Montar(const Obra& o, double passoMaximo, std::vector<size_t>& origem) {
    const std::vector<Pt> f = o.Final();
    std::vector<Pt> v;
    std::vector<size_t> iv;
    for (size_t i = 0; i < f.size(); ++i) {
        const double minimo = o.mexer && !o.inteira && o.t[i] >= 1 && i + 1 < f.size() ? 0.1 : 1e-9;
        if (v.empty() || Dist(v.back(), f[i]) > minimo) {
            v.push_back(f[i]);
            iv.push_back(i);
        }
    }
    const bool fechada = o.suave.fechada;
    if (fechada && v.size() > 1 && Dist(v.back(), v.front()) <= 1e-9) {
        v.pop_back();
        iv.pop_back();
    }
    std::vector<Pt> w;
    origem.clear();
    const size_t segs = v.empty() ? 0 : (fechada ? v.size() : v.size() - 1);
    for (size_t i = 0; i < v.size(); ++i) {
        w.push_back(v[i]);
        origem.push_back(iv[i]);
        if (i >= segs) continue;
        const Pt b = v[(i + 1) % v.size()];
        const int partes = static_cast<int>(std::ceil(Dist(v[i], b) / passoMaximo));
        for (int j = 1; j < partes; ++j) {
            w.push_back(v[i] + (b - v[i]) * (double(j) / partes));
            origem.push_back(iv[i]);
        }
    }
    return w;
}

// Brings the lines back toward their traced course around every crossing and every vertex
// outside the field, a quarter of the way at a time and easing off over a stretch either side,
// until they are clear. Traced lines never cross, so a line all the way back is clear of the
// others; the last rounds send whole lines back.
void Desembaracar(std::vector<Obra>& obras, const TDentroCampo& dentro, double zona, double passoMaximo) {
    std::vector<bool> fechadas(obras.size());
    std::vector<double> folgas(obras.size());
    for (size_t k = 0; k < obras.size(); ++k) {
        fechadas[k] = obras[k].suave.fechada;
        folgas[k] = obras[k].celula;
    }
    constexpr int kRodadas = 12;
    std::vector<std::vector<Pt>> linhas(obras.size()), origens(obras.size());
    std::vector<std::vector<size_t>> mapa(obras.size());
    // The search reads the lines where they are held.
    Vistas vLinhas(obras.size()), vTracadas(obras.size()), vOrigens(obras.size());
    for (size_t k = 0; k < obras.size(); ++k) vTracadas[k] = obras[k].tracada.p;
    // The lines a round changed; a line that did not change offends as it did before, where it
    // either was mended or was sent back whole.
    std::vector<char> mudaram(obras.size(), 1);
    for (int rodada = 0;; ++rodada) {
        ParaCada(static_cast<int>(obras.size()), NumeroThreads(), [&](int kk) {
            const size_t k = static_cast<size_t>(kk);
            if (!mudaram[k]) return;
            linhas[k] = Montar(obras[k], passoMaximo, mapa[k]);
            const std::vector<Pt>& o = obras[k].Origens();
            origens[k].clear();
            for (size_t i : mapa[k]) origens[k].push_back(o[i]);
            vLinhas[k] = linhas[k];
            vOrigens[k] = origens[k];
        });
        std::vector<std::pair<size_t, size_t>> achados = Cruzamentos(vLinhas, vTracadas, vOrigens, folgas, fechadas, mudaram);
        std::vector<std::vector<size_t>> fora(obras.size());
        ParaCada(static_cast<int>(obras.size()), NumeroThreads(), [&](int kk) {
            const size_t k = static_cast<size_t>(kk);
            for (size_t i = 0; i < linhas[k].size() && mudaram[k] && dentro; ++i)
                // A line's end traced on the field's edge may lie just outside it already.
                if (!dentro(linhas[k][i].x, linhas[k][i].y) && dentro(origens[k][i].x, origens[k][i].y))
                    fora[k].push_back(i);
        });
        for (size_t k = 0; k < obras.size(); ++k)
            for (size_t i : fora[k]) achados.push_back({k, i});
        // To the vertices in the works (both ends of the segment an added point lies on).
        std::vector<std::pair<size_t, size_t>> marcas;
        for (const auto& [k, i] : achados) {
            marcas.push_back({k, mapa[k][i]});
            if (i > 0 && mapa[k][i] == mapa[k][i - 1]) marcas.push_back({k, (mapa[k][i] + 1) % obras[k].t.size()});
        }
        // What the traced lines do themselves is not ours to mend. A vertex already on the
        // traced course that still offends lies on a corner cut of it: its line goes back whole.
        std::erase_if(marcas, [&](const auto& m) { return obras[m.first].inteira; });
        if (marcas.empty()) return;
        std::fill(mudaram.begin(), mudaram.end(), 0);
        bool inteiras = false;
        for (const auto& [k, i] : marcas)
            if (rodada >= kRodadas || obras[k].t[i] <= 0) {
                obras[k].inteira = true;
                mudaram[k] = 1;
                inteiras = true;
            }
        if (inteiras) continue;
        std::vector<std::vector<double>> antes(obras.size());
        for (size_t k = 0; k < obras.size(); ++k) antes[k] = obras[k].t;
        for (const auto& [k, i] : marcas) {
            Obra& o = obras[k];
            mudaram[k] = 1;
            const Curva& c = o.suave;
            const double nucleo = std::max(0.0, antes[k][i] - 0.25);
            o.t[i] = std::min(o.t[i], nucleo);
            // Ease off both ways along the line.
            c.AoRedor(i, [&](size_t j, double d) {
                if (d >= zona) return false;
                o.t[j] = std::min(o.t[j], nucleo + (1 - nucleo) * d / zona);
                return true;
            });
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
                                   double declividade, const TParametrosSuavizacao& p) {
    const size_t n = fechada ? v.size() - 1 : v.size();
    std::vector<double> e(n), s(v.size(), 0.0);
    for (size_t i = 1; i < v.size(); ++i) s[i] = s[i - 1] + Dist(v[i - 1], v[i]);
    const double total = s.back();
    std::vector<bool> fora(n);
    bool algum = false;
    for (size_t i = 0; i < n; ++i) {
        e[i] = cota(v[i].x, v[i].y) - (level + declividade * s[i]);
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
    // A ring off its level all round is one passage of its whole length.
    if (r.size() == 1 && fechada && (r[0].comprimento > total || (juntos[0].i0 == 0 && juntos[0].i1 + 1 == n))) {
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
    Curva::Dica dica;
    for (size_t i = 0; i < c.N(); ++i) {
        if (!(c.Raio(i, p.baseRaio, &dica) < p.raioMinimo)) continue;
        const double antes = i > 0 ? c.s[i] - c.s[i - 1] : (fechada ? c.s[c.N()] - c.s[c.N() - 1] : 0);
        const double depois = i + 1 < c.s.size() ? c.s[i + 1] - c.s[i] : 0;
        soma += 0.5 * (antes + depois);
    }
    return soma;
}

}  // namespace

TCotaMapa CotaNaGrade(const TImgElevacao& elev, const TGradeMapa& g, double metros) {
    // The smoothing asks this tens of millions of times: a grid in metres is read without
    // dividing by 1, and a point with its four cells inside from their two rows at once.
    // A cell a power of two wide (1 m, the usual) is divided by as a product by its inverse:
    // the same bits, at a fraction of a division's cost.
    const auto inversa = [](double w) {
        int e = 0;
        return std::frexp(w, &e) == 0.5 ? 1 / w : 0.0;
    };
    const double invL = inversa(g.largura), invA = inversa(g.altura);
    return [&elev, &g, metros, invL, invA](double x, double y) {
        if (metros != 1) {
            x /= metros;
            y /= metros;
        }
        const double cf = invL != 0 ? (x - g.minX) * invL - 0.5 : g.ColunaDe(x);
        const double rf = invA != 0 ? (g.maxY - y) * invA - 0.5 : g.LinhaDe(y);
        const int c0 = static_cast<int>(std::floor(cf)), r0 = static_cast<int>(std::floor(rf));
        const double fc = cf - c0, fr = rf - r0;
        float a, b, c, d;
        if (c0 >= 0 && r0 >= 0 && c0 + 1 < elev.Columns() && r0 + 1 < elev.Rows()) {
            const float *acima = elev.Row(r0 + 1), *abaixo = elev.Row(r0 + 2);
            a = acima[c0], b = acima[c0 + 1], c = abaixo[c0], d = abaixo[c0 + 1];
        } else {
            const auto z = [&](int col, int row) { return elev.ElevationAt(col + 1, row + 1); };
            a = z(c0, r0), b = z(c0 + 1, r0), c = z(c0, r0 + 1), d = z(c0 + 1, r0 + 1);
        }
        if (a == 0 || b == 0 || c == 0 || d == 0) return std::numeric_limits<double>::quiet_NaN();
        return (a * (1 - fc) + b * fc) * (1 - fr) + (c * (1 - fc) + d * fc) * fr;
    };
}

TDentroCampo DentroDaGrade(const TImgElevacao& elev, const TGradeMapa& g, double metros) {
    return [&elev, &g, metros](double x, double y) {
        int c = 0, r = 0;
        return g.CelulaDe(x / metros, y / metros, c, r) && elev.ElevationAt(c + 1, r + 1) != 0;
    };
}

TParametrosSuavizacao TParametrosSuavizacao::DoPlano(const TPlanoNivel& plano) {
    TParametrosSuavizacao p;
    p.raioMinimo = plano.raioMinimo;
    p.tolerancia = plano.toleranciaCm / 100;
    return p;
}

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

namespace {

// The fields' values where they cannot be used: the usual ones rather than a loop or a
// division by 0. False when the radius gives no smoothing at all.
bool Saneados(TParametrosSuavizacao& p) {
    const TParametrosSuavizacao usual;
    if (!(p.passoMaximo > 0) || !std::isfinite(p.passoMaximo)) p.passoMaximo = usual.passoMaximo;
    if (!(p.baseRaio > 0) || !std::isfinite(p.baseRaio)) p.baseRaio = usual.baseRaio;
    if (!(p.tolerancia >= 0) || !std::isfinite(p.tolerancia)) p.tolerancia = usual.tolerancia;
    return p.raioMinimo > 0 && std::isfinite(p.raioMinimo);
}

// One line smoothed on its own, before the lines are kept apart from one another.
Obra Preparar(const TLinhaMapa& l, const TCotaMapa& cota, const TParametrosSuavizacao& p, double declividade) {
    Obra o;
    const bool fechada = Fechada(l);
    const Curva c = CurvaDe(l, fechada);
    o.tracada = c.N() >= 3 ? Adensar(c, std::clamp(0.5 * p.passoMaximo, 0.05, 1.0)) : c;
    o.suave = o.tracada;
    o.ancora = o.tracada.p;
    o.t.assign(o.tracada.N(), 1.0);
    o.mexer = c.N() >= 3 && c.total > 0;
    if (!o.mexer) return o;
    o.celula = PassoTracado(c);
    const Ajuste aj{cota, l.level, declividade, p, o.celula};
    // A ring too short to turn round at the minimum radius can only be put on its level.
    const double voltaMinima = 2 * std::numbers::pi * p.raioMinimo;
    const bool comRaio = !fechada || c.total >= voltaMinima;
    aj.Suavizar(o.suave, comRaio);
    // A ring narrower than the radius everywhere shrinks away as its ends are widened.
    if (comRaio && fechada && (!aj.RaioAtendido(o.suave) || o.suave.total < voltaMinima)) {
        o.suave = o.tracada;
        aj.Suavizar(o.suave, false);
    }
    // Without the ground to hold it (no data under it) a small ring shrinks as it is
    // smoothed: it stays as traced.
    if (fechada && o.suave.total < 0.5 * o.tracada.total) {
        o.suave = o.tracada;
        o.mexer = false;
    }
    o.ancora = Ancorar(o.suave, o.tracada);
    return o;
}

// The lines whose own smoothing is already done ('prontas', by position; may be empty) and
// the others smoothed, then all kept apart and finished.
std::vector<TLinhaSuavizada> SuavizarTodas(const std::vector<TLinhaMapa>& tracadas, const TCotaMapa& cota,
                                           const TDentroCampo& dentro, TParametrosSuavizacao p,
                                           const std::vector<double>& declividades,
                                           std::vector<std::optional<Obra>> prontas) {
    const auto declividade = [&](size_t k) { return k < declividades.size() ? declividades[k] : 0.0; };
    std::vector<TLinhaSuavizada> r(tracadas.size());
    if (!Saneados(p)) {
        for (size_t k = 0; k < tracadas.size(); ++k) {
            r[k].linha = tracadas[k];
            const auto& l = tracadas[k];
            for (size_t i = 1; i < std::min(l.x.size(), l.y.size()); ++i)
                r[k].comprimento += std::hypot(l.x[i] - l.x[i - 1], l.y[i] - l.y[i - 1]);
        }
        return r;
    }
    prontas.resize(tracadas.size());
    std::vector<Obra> obras(tracadas.size());
    // Each line is smoothed on its own, so the lines are shared among the threads, the longest
    // first: one long line taken last would leave the other threads idle.
    std::vector<size_t> ordem;
    for (size_t k = 0; k < tracadas.size(); ++k) {
        if (prontas[k]) obras[k] = std::move(*prontas[k]);
        else ordem.push_back(k);
    }
    std::vector<std::optional<Obra>>().swap(prontas);
    std::stable_sort(ordem.begin(), ordem.end(),
                     [&](size_t a, size_t b) { return tracadas[a].x.size() > tracadas[b].x.size(); });
    ParaCada(static_cast<int>(ordem.size()), NumeroThreads(), [&](int i) {
        const size_t k = ordem[static_cast<size_t>(i)];
        obras[k] = Preparar(tracadas[k], cota, p, declividade(k));
    });
    Desembaracar(obras, dentro, 2 * p.baseRaio, p.passoMaximo);

    ParaCada(static_cast<int>(tracadas.size()), NumeroThreads(), [&](int i) {
        const size_t k = static_cast<size_t>(i);
        const Obra& o = obras[k];
        TLinhaSuavizada& s = r[k];
        s.linha.id = tracadas[k].id;
        s.linha.level = tracadas[k].level;
        if (!o.mexer) {
            s.linha = tracadas[k];
            s.comprimento = o.tracada.total;
            return;
        }
        std::vector<size_t> mapa;
        std::vector<Pt> w = Montar(o, p.passoMaximo, mapa);
        const bool fechada = o.suave.fechada;
        if (fechada) w.push_back(w.front());
        for (const Pt& q : w) {
            s.linha.x.push_back(q.x);
            s.linha.y.push_back(q.y);
        }
        s.comprimento = Comprimento(w);
        s.travessias = Travessias(w, fechada, cota, s.linha.level, declividade(k), p);
        s.comprimentoRaioMenor = ComprimentoRaioMenor(s.linha, fechada, p);
    });
    return r;
}

}  // namespace

std::vector<TLinhaSuavizada> SuavizarLinhas(const std::vector<TLinhaMapa>& tracadas, const TCotaMapa& cota,
                                            const TDentroCampo& dentro, const TParametrosSuavizacao& p,
                                            const std::vector<double>& declividades) {
    return SuavizarTodas(tracadas, cota, dentro, p, declividades, {});
}

// The lines handed over and not yet taken, and each taken one with its own smoothing.
struct TSuavizacaoAntecipada::Estado {
    TCotaMapa cota;
    TParametrosSuavizacao p;
    std::mutex m;
    std::condition_variable cv;
    std::deque<TLinhaMapa> fila;
    struct Pronta {
        TLinhaMapa linha;
        Obra obra;
    };
    std::unordered_map<int, Pronta> prontas;  // by line id
    int ocupados = 0;  // threads smoothing a line
    bool fim = false;
    std::vector<std::thread> threads;

    void Trabalhar() {
        for (;;) {
            TLinhaMapa l;
            {
                std::unique_lock lk(m);
                cv.wait(lk, [&] { return fim || !fila.empty(); });
                if (fim) return;
                l = std::move(fila.front());
                fila.pop_front();
                ++ocupados;
            }
            std::optional<Obra> o;
            try {
                o = Preparar(l, cota, p, 0);
            } catch (...) {
                // Out of memory, most likely: the line is smoothed again at the end, and
                // raises there if it must.
            }
            {
                const std::lock_guard lk(m);
                if (o) prontas.insert_or_assign(l.id, Pronta{std::move(l), std::move(*o)});
                --ocupados;
            }
            cv.notify_all();
        }
    }
    void Parar() {
        {
            const std::lock_guard lk(m);
            fim = true;
            fila.clear();
        }
        cv.notify_all();
        for (std::thread& t : threads) t.join();
        threads.clear();
    }
};

TSuavizacaoAntecipada::TSuavizacaoAntecipada(TCotaMapa cota, const TParametrosSuavizacao& p, int threads)
    : e_(std::make_unique<Estado>()) {
    e_->cota = std::move(cota);
    e_->p = p;
    if (!Saneados(e_->p)) return;
    try {
        for (int k = 1; k < std::min(threads, kMaxThreads); ++k)
            e_->threads.emplace_back([e = e_.get()] { e->Trabalhar(); });
    } catch (...) {
        e_->Parar();  // no thread to spare: Concluir does it all
    }
}

TSuavizacaoAntecipada::~TSuavizacaoAntecipada() { e_->Parar(); }

void TSuavizacaoAntecipada::Aguardar() {
    std::unique_lock lk(e_->m);
    e_->cv.wait(lk, [e = e_.get()] { return e->threads.empty() || (e->fila.empty() && e->ocupados == 0); });
}

void TSuavizacaoAntecipada::Antecipar(TLinhaMapa linha) {
    if (e_->threads.empty()) return;
    {
        const std::lock_guard lk(e_->m);
        if (e_->fim) return;
        e_->fila.push_back(std::move(linha));
    }
    e_->cv.notify_one();
}

std::vector<TLinhaSuavizada> TSuavizacaoAntecipada::Concluir(const std::vector<TLinhaMapa>& tracadas,
                                                             const TDentroCampo& dentro) {
    // The lines no thread took yet are shared out with the rest, the longest first.
    e_->Parar();
    std::vector<std::optional<Obra>> prontas(tracadas.size());
    for (size_t k = 0; k < tracadas.size(); ++k) {
        const auto it = e_->prontas.find(tracadas[k].id);
        if (it == e_->prontas.end()) continue;
        // Only a line handed over exactly as it stands now.
        const TLinhaMapa& l = it->second.linha;
        if (l.level == tracadas[k].level && l.x == tracadas[k].x && l.y == tracadas[k].y)
            prontas[k] = std::move(it->second.obra);
        e_->prontas.erase(it);
    }
    e_->prontas.clear();
    return SuavizarTodas(tracadas, e_->cota, dentro, e_->p, {}, std::move(prontas));
}

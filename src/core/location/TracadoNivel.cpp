#include "core/location/TracadoNivel.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

#include "core/location/ImgElev.h"

namespace {

// Direction states: 1 east, 2 west, 3 south, 4 north.
constexpr int kDc[5] = {0, 1, -1, 0, 0};
constexpr int kDr[5] = {0, 0, 0, 1, -1};
constexpr int kRight[5] = {0, 3, 4, 2, 1};  // side of A, and the state of a right turn
constexpr int kLeft[5] = {0, 4, 3, 1, 2};   // side of B, and the state of a left turn

bool Between(double L, double z1, double z2) { return std::min(z1, z2) <= L && L <= std::max(z1, z2); }
// L in (z1, z2]: on z2's side of z1, at most z2.
bool OpenAtFirst(double L, double z1, double z2) { return L != z1 && Between(L, z1, z2); }

}  // namespace

// Everything a cell step depends on; a pass that meets the same state again would repeat
// itself for ever.
uint64_t TTracadoNivel::StateKey() const {
    const int dc = b_.c - a_.c + 1, dr = b_.r - a_.r + 1;  // B is a 4-neighbour of A
    uint64_t k = static_cast<uint64_t>(a_.r) * static_cast<uint64_t>(apoio_.Columns() + 2) + a_.c;
    k = k * 9 + static_cast<uint64_t>(dr * 3 + dc);
    k = k * 5 + static_cast<uint64_t>(d_);
    return k * 4 + (markA_ ? 2u : 0u) + (markB_ ? 1u : 0u);
}

bool TTracadoNivel::Step(Px& p, int dir) const {
    const int c = p.c + kDc[dir], r = p.r + kDr[dir];
    if (!apoio_.Walkable(c, r)) return false;
    p.c = c;
    p.r = r;
    p.z = elev_.Cell(r, c);
    return true;
}

// The crossing on the segment u-v, always computed from the same end (the one first in row
// order), so a pass that comes back over the segment it started on meets the start vertex
// bit for bit.
TPontoPixel TTracadoNivel::EdgePoint(const Px& u, const Px& v) const {
    const bool uPrimeiro = u.r < v.r || (u.r == v.r && u.c < v.c);
    const Px& lo = uPrimeiro ? u : v;
    const Px& hi = uPrimeiro ? v : u;
    const double dz = static_cast<double>(hi.z) - lo.z;
    const double f = dz == 0 ? 0.0 : std::fabs((L_ - lo.z) / dz);
    return TPontoPixel{lo.c + f * (hi.c - lo.c), lo.r + f * (hi.r - lo.r)};
}

TTracadoNivel::Fim TTracadoNivel::Append(const TPontoPixel& p) {
    line_->push_back(p);
    return (p.x == start_.x && p.y == start_.y) ? Fim::Fechada : Fim::Continua;
}

TTracadoNivel::Fim TTracadoNivel::CellStep() {
    Px A1 = a_, B1 = b_;
    if (!Step(A1, d_) || !Step(B1, d_)) return Fim::Termina;
    const Px A = a_, B = b_;
    const int D = d_;

    struct Cand {
        bool cruza;
        Px p1, p2;    // the point lies at fraction f from p1
        Px na, nb;    // new pair
        int estado;   // new state
    };
    const auto choose = [](const Cand* cs, int n) {
        int escolha = -1;
        double melhor = 0;
        for (int i = 0; i < n; ++i) {
            if (!cs[i].cruza) continue;
            const double dif = std::fabs(static_cast<double>(cs[i].p1.z) - cs[i].p2.z);
            if (escolha < 0 || dif <= melhor) {
                escolha = i;
                melhor = dif;
            }
        }
        return escolha;
    };
    const auto take = [this](const Cand& c) {
        const TPontoPixel p = EdgePoint(c.p1, c.p2);
        a_ = c.na;
        b_ = c.nb;
        d_ = c.estado;
        return Append(p);
    };
    // Nearest in elevation to L, strict improvement in the given order.
    const auto nearest = [this](const Px* ps, int n) {
        int k = 0;
        for (int i = 1; i < n; ++i)
            if (std::fabs(L_ - ps[i].z) < std::fabs(L_ - ps[k].z)) k = i;
        return k;
    };

    if (!(L_ == A.z || L_ == B.z || markA_ || markB_)) {
        const Cand cs[3] = {
            {OpenAtFirst(L_, B.z, B1.z), B, B1, B1, B, kLeft[D]},
            {Between(L_, B1.z, A1.z), B1, A1, A1, B1, D},
            {OpenAtFirst(L_, A.z, A1.z), A, A1, A, A1, kRight[D]},
        };
        // A saddle (A' on B's side and B' on A's side) is crossed on all three new edges.
        // Which two sides meet in the middle is a property of the cell, decided by its mean
        // elevation, so that the two lines through it never cross and a pass entering
        // from either side leaves by the matching edge; the smallest-difference choice
        // could send a pass round a knoll for ever.
        const bool acimaA = A.z > L_, acimaB = B.z > L_;
        if (acimaA != acimaB && L_ != A1.z && L_ != B1.z && (A1.z > L_) == acimaB && (B1.z > L_) == acimaA) {
            const double media = (static_cast<double>(A.z) + B.z + A1.z + B1.z) / 4;
            return take(cs[(media > L_) == acimaA ? 0 : 2]);
        }
        const int k = choose(cs, 3);
        if (k >= 0) return take(cs[k]);
        // Flat cell: stop at the centre of the pixel nearest to the level.
        const Px ps[4] = {A, A1, B, B1};
        const int n = nearest(ps, 4);
        if (n <= 1)
            markA_ = true;
        else
            markB_ = true;
        if (n == 1 || n == 3) {
            a_ = A1;
            b_ = B1;
        }
        return Append(TPontoPixel{static_cast<double>(ps[n].c), static_cast<double>(ps[n].r)});
    }

    // Widened cell: the level touches a pixel of the pair, so look one pixel further aside.
    const bool ladoA = L_ == A.z || markA_;
    if (ladoA)
        markA_ = false;
    else
        markB_ = false;
    if (ladoA) {
        Px A0 = A, A2 = A1;
        if (!Step(A0, kRight[D]) || !Step(A2, kRight[D])) return Fim::Termina;
        const Cand cs[4] = {
            {OpenAtFirst(L_, B.z, B1.z), B, B1, B1, B, kLeft[D]},
            {Between(L_, A0.z, A2.z), A0, A2, A0, A2, kRight[D]},
            {Between(L_, B1.z, A1.z), B1, A1, A1, B1, D},
            {Between(L_, A1.z, A2.z), A1, A2, A2, A1, D},
        };
        const int k = choose(cs, 4);
        if (k >= 0) return take(cs[k]);
        const Px ps[4] = {B1, A1, A2, A0};
        const int n = nearest(ps, 4);
        markA_ = true;
        if (n == 3) {
            a_ = A0;
            b_ = A2;
            d_ = kRight[D];
        } else if (n == 2) {
            a_ = A2;
            b_ = A1;
        } else {
            a_ = A1;
            b_ = B1;
        }
        return Append(TPontoPixel{static_cast<double>(ps[n].c), static_cast<double>(ps[n].r)});
    }
    Px B0 = B, B2 = B1;
    if (!Step(B0, kLeft[D]) || !Step(B2, kLeft[D])) return Fim::Termina;
    const Cand cs[4] = {
        {Between(L_, B2.z, B1.z), B2, B1, B1, B2, D},
        {Between(L_, B0.z, B2.z), B0, B2, B2, B0, kLeft[D]},
        {Between(L_, B1.z, A1.z), B1, A1, A1, B1, D},
        {OpenAtFirst(L_, A.z, A1.z), A, A1, A, A1, kRight[D]},
    };
    const int k = choose(cs, 4);
    if (k >= 0) return take(cs[k]);
    const Px ps[4] = {A1, B1, B2, B0};
    const int n = nearest(ps, 4);
    markB_ = true;
    if (n == 3) {
        a_ = B2;
        b_ = B0;
        d_ = kLeft[D];
    } else if (n == 2) {
        a_ = B1;
        b_ = B2;
    } else {
        a_ = A1;
        b_ = B1;
    }
    return Append(TPontoPixel{static_cast<double>(ps[n].c), static_cast<double>(ps[n].r)});
}

bool TTracadoNivel::TraceLevelLine(TPixelS& P, double L, TLinhaPixel& line) {
    line.clear();
    closed_ = false;
    L_ = L;
    line_ = &line;
    if (!apoio_.Inside(P.Col(), P.Row())) return false;

    // First crossing: the neighbours north, south, east, west (direction codes 4, 2, 1, 3).
    static const int kViz[4] = {4, 3, 1, 2};  // step direction of each neighbour
    static const int kCodigo[4] = {4, 2, 1, 3};
    struct Viz {
        bool alcancado = false, cruza = false;
        double d = 0;
        Px px;
    } viz[4];
    Px p0{P.Col(), P.Row(), elev_.Cell(P.Row(), P.Col())};
    int escolha = -1;
    const auto firstCrossing = [&]() {
        for (int i = 0; i < 4; ++i) {
            viz[i] = Viz{};
            viz[i].px = p0;
            if (!Step(viz[i].px, kViz[i])) continue;
            viz[i].alcancado = true;
            viz[i].d = std::fabs(static_cast<double>(p0.z) - viz[i].px.z);
            viz[i].cruza = std::min<double>(p0.z, viz[i].px.z) < L && L < std::max<double>(p0.z, viz[i].px.z);
        }
        escolha = -1;
        for (int i = 0; i < 4; ++i)
            if ((p0.z != L ? viz[i].cruza : viz[i].alcancado) && (escolha < 0 || viz[escolha].d > viz[i].d))
                escolha = i;
        return escolha >= 0;
    };
    // A start pixel whose open neighbours all lie on its side of the level (the level runs
    // along closed land, or diagonally on steep ground) takes the nearest pixel, in
    // 4-neighbour steps over open land, that lies on the same side and has a neighbour
    // across the level, or that lies exactly at the level.
    if (!firstCrossing() && p0.z != L) {
        const bool abaixo = p0.z < L;
        const int w = apoio_.Columns();
        // One bit a cell: on a 30 M-cell model a byte each is 30 MB to clear for every
        // start that needs this search.
        std::vector<bool> visto(static_cast<size_t>(w) * apoio_.Rows(), false);
        std::vector<Px> fila{p0};
        visto[static_cast<size_t>(p0.r - 1) * w + (p0.c - 1)] = true;
        bool achou = false;
        for (size_t k = 0; k < fila.size() && !achou; ++k) {
            const Px u = fila[k];
            for (int i = 0; i < 4; ++i) {
                Px v = u;
                if (!Step(v, kViz[i])) continue;
                const size_t m = static_cast<size_t>(v.r - 1) * w + (v.c - 1);
                if (visto[m]) continue;
                visto[m] = true;
                fila.push_back(v);
                if (v.z != L && (v.z < L) != abaixo) continue;
                p0 = v;
                if (firstCrossing()) {
                    achou = true;
                    break;
                }
            }
        }
        if (!achou) p0 = fila.front();
    }
    P.SetCol(p0.c);
    P.SetRow(p0.r);
    P.SetValue(p0.z);
    if (escolha < 0) return false;
    if (p0.z != L) {
        start_ = EdgePoint(p0, viz[escolha].px);
        P.SetCol(static_cast<int>(std::nearbyint(start_.x)));
        P.SetRow(static_cast<int>(std::nearbyint(start_.y)));
    } else {
        start_ = TPontoPixel{static_cast<double>(p0.c), static_cast<double>(p0.r)};
    }
    line.push_back(start_);
    const Px A0 = p0, B0 = viz[escolha].px;

    static const int kPrimeira[5] = {0, 3, 2, 4, 1};
    static const int kSegunda[5] = {0, 4, 1, 3, 2};
    const int codigo = kCodigo[escolha];
    std::unordered_set<uint64_t> estados;
    for (int passo = 0; passo < 2; ++passo) {
        if (passo == 0) {
            a_ = A0;
            b_ = B0;
            d_ = kPrimeira[codigo];
        } else {
            std::reverse(line.begin(), line.end());
            a_ = B0;
            b_ = A0;
            d_ = kSegunda[codigo];
        }
        markA_ = markB_ = false;
        Fim fim = Fim::Continua;
        estados.clear();
        // Flat and widened cells can lead a pass round a loop that never meets the start
        // vertex (a knoll exactly at the level); the pass ends after one round of it.
        while (fim == Fim::Continua && estados.insert(StateKey()).second) fim = CellStep();
        if (fim == Fim::Fechada) {
            // A closed line needs no second pass.
            closed_ = true;
            break;
        }
    }
    line_ = nullptr;
    return true;
}

#include "core/model/Hidrograma.h"

#include <cmath>
#include <cstring>

#include "core/common/Aritmetica.h"
#include "core/common/Erros.h"

namespace {

uint32_t Alto(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return uint32_t(bits >> 32);
}

// -1, 0, 1; equal when the sign, exponent and upper 20 fraction bits agree.
int Comparar(double a, double b) {
    if (Alto(a) == Alto(b)) return 0;
    return a < b ? -1 : 1;
}

}  // namespace

void THidrograma::Clear() {
    points_.clear();
    depthMode_ = 0;
}

void THidrograma::AddPoint(double q, double t) { points_.push_back({t, q}); }

void THidrograma::SetAlpha(double x) {
    if (!(x > 0)) throw EVandoro("O coeficiente Alfa ser maior do que zero.");
    alpha_ = x;
}

void THidrograma::SetBeta(double x) {
    if (!(x > 0)) throw EVandoro("O expoente Beta deve ser maior do que zero.");
    beta_ = x;
}

double THidrograma::DischargeAt(double t) const {
    if (points_.empty()) return 0;
    if (Comparar(t, points_.front().t) <= 0 || Comparar(t, points_.back().t) >= 0) return 0;
    size_t lo = 0, hi = points_.size() - 1;
    while (hi - lo > 1) {
        const size_t mid = (lo + hi) / 2;
        const int c = Comparar(t, points_[mid].t);
        if (c == 0) return points_[mid].q;
        if (c < 0)
            hi = mid;
        else
            lo = mid;
    }
    const TPontoHidrograma& a = points_[lo];
    const TPontoHidrograma& b = points_[hi];
    if (b.t == a.t) return a.q;
    return a.q + (t - a.t) / (b.t - a.t) * (b.q - a.q);
}

double THidrograma::Volume() const {
    double v = 0;
    for (size_t k = 0; k + 1 < points_.size(); ++k)
        v += (points_[k + 1].t - points_[k].t) * (points_[k].q + points_[k + 1].q) * 30.0;
    return v;
}

void THidrograma::Analyse(double area) {
    if (area > 0)
        area_ = area;
    else if (!(area_ > 0))
        throw EVandoro("A área de contribuição do escoamento deve ser maior do que zero.");
    if (depthMode_ == 1 && !depthFunction_)
        throw EVandoro("Erro. Função de determinação da profundidade do canal não definida.");
    qp_ = peakTime_ = peakDepth_ = peakVelocity_ = runoffDepth_ = volume_ = 0;
    if (points_.size() < 3) return;
    for (size_t k = 1; k + 1 < points_.size(); ++k) {
        if (points_[k].q > qp_) {
            qp_ = points_[k].q;
            peakTime_ = points_[k].t;
        }
    }
    if (alpha_ > 0 && beta_ > 0 && qp_ > 0) peakDepth_ = aritmetica::Power(qp_ / alpha_, 1.0 / beta_);
    peakVelocity_ = peakDepth_ > 0 ? qp_ / peakDepth_ : 0;
    if (depthMode_ == 1 && peakDepth_ != 0) peakDepth_ = depthFunction_(peakDepth_);
    volume_ = Volume();
    runoffDepth_ = volume_ / area_;
}

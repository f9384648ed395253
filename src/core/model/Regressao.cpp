#include "core/model/Regressao.h"

#include <cmath>

#include "core/common/Aritmetica.h"

void TRegressao::SetCount(int n) {
    if (n < 0) n = 0;
    count_ = n;
    x_.assign(size_t(n), 0.0);
    y_.assign(size_t(n), 0.0);
}

void TRegressao::LinearFit(double& intercept, double& slope) const {
    const double n = count_;
    double sx = 0, sy = 0, sxy = 0, sxx = 0;
    for (int i = 0; i < count_; ++i) {
        sx += x_[i];
        sy += y_[i];
        sxy += x_[i] * y_[i];
        sxx += x_[i] * x_[i];
    }
    slope = aritmetica::Div(sxy - aritmetica::Div(sx * sy, n), sxx - sx * sx / n);
    intercept = sy / n - slope * sx / n;
}

void TRegressao::PowerFit(double& coefficient, double& exponent) const {
    TRegressao logs(count_);
    for (int i = 0; i < count_; ++i) {
        logs.x_[i] = aritmetica::Ln(x_[i]) / std::log(10.0);
        logs.y_[i] = y_[i] == 0 ? 0.0 : aritmetica::Ln(y_[i]) / std::log(10.0);
    }
    double intercept = 0;
    logs.LinearFit(intercept, exponent);
    coefficient = std::pow(10.0, intercept);
}

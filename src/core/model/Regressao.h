#pragma once
#include <vector>

// Least-squares straight-line and power-law fits.
class TRegressao {
public:
    TRegressao() = default;
    explicit TRegressao(int n) { SetCount(n); }
    int Count() const { return count_; }
    void SetCount(int n);
    std::vector<double>& X() { return x_; }
    std::vector<double>& Y() { return y_; }
    const std::vector<double>& X() const { return x_; }
    const std::vector<double>& Y() const { return y_; }
    // Raise EAritmetico when the fit is undefined (no points, all X equal, log of X <= 0).
    void LinearFit(double& intercept, double& slope) const;
    void PowerFit(double& coefficient, double& exponent) const;

private:
    int count_ = 0;
    std::vector<double> x_, y_;
};

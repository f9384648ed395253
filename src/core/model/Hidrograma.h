#pragma once
// A time/discharge series (time in min, discharge in L/s per metre) with peak, volume and
// interpolation.
#include <cstdint>
#include <functional>
#include <vector>

struct TPontoHidrograma {
    double t = 0;  // min
    double q = 0;  // L/s per m
};

class THidrograma {
public:
    using TDepthFunction = std::function<double(double)>;

    THidrograma() = default;
    explicit THidrograma(TDepthFunction depthFunction) : depthFunction_(std::move(depthFunction)) {}

    void Clear();
    void AddPoint(double q, double t);
    int Count() const { return int(points_.size()); }
    const TPontoHidrograma& Point(int i) const { return points_[size_t(i)]; }
    const std::vector<TPontoHidrograma>& Points() const { return points_; }

    // Interpolated discharge; 0 without points or when t is not strictly inside the series.
    // Times that agree in the leading 32 bits of their doubles count as equal.
    double DischargeAt(double t) const;
    // Litres per metre under the series (trapezoids); 0 with fewer than two points.
    double Volume() const;
    void Analyse(double area);

    double Qp() const { return qp_; }
    double PeakTime() const { return peakTime_; }
    double PeakDepth() const { return peakDepth_; }
    double PeakVelocity() const { return peakVelocity_; }
    double RunoffDepth() const { return runoffDepth_; }
    double AnalysedVolume() const { return volume_; }
    double Area() const { return area_; }

    double Alpha() const { return alpha_; }
    void SetAlpha(double x);
    double Beta() const { return beta_; }
    void SetBeta(double x);
    uint8_t DepthMode() const { return depthMode_; }
    void SetDepthMode(uint8_t m) { depthMode_ = m; }
    void SetDepthFunction(TDepthFunction f) { depthFunction_ = std::move(f); }

private:
    std::vector<TPontoHidrograma> points_;
    double qp_ = 0, peakTime_ = 0, peakDepth_ = 0, peakVelocity_ = 0;
    double runoffDepth_ = 0, volume_ = 0, area_ = 0;
    double alpha_ = 0, beta_ = 0;
    uint8_t depthMode_ = 0;
    TDepthFunction depthFunction_;
};

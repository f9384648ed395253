#pragma once
// A chart series the model can fill (hyetograph, simulations); the GUI maps it to a chart.
#include <string>

class ISerieGrafico {
public:
    virtual ~ISerieGrafico() = default;
    virtual void Clear() = 0;
    virtual void AddXY(double x, double y) = 0;
    virtual void SetTitle(const std::string& title) { (void)title; }
};

#pragma once
// "Filtro": an elevation raster smoothed by 1 to 50 passes of a 3 x 3 mean.
#include "gui/raster/FerramentaRaster.h"

class QSpinBox;

class TFFiltro : public TFFerramentaRaster {
    Q_OBJECT
public:
    static constexpr int kTopicoAjuda = 24;
    explicit TFFiltro(QWidget* pai = nullptr);

    QSpinBox* SpinEditFiltragens() const { return filtragens_; }

protected:
    void TomarParametros() override;
    void Calcular(const std::string& entrada, const std::string& saida, const std::string& titulo,
                  const std::string& legenda, IProgresso& progresso) override;

private:
    QSpinBox* filtragens_;
    int passadas_ = 1;  // taken from the box before the work starts
};

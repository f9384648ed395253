#pragma once
// "Declividade": a slope raster, in percent, from an elevation raster.
#include "gui/raster/FerramentaRaster.h"

class TFDeclividade : public TFFerramentaRaster {
    Q_OBJECT
public:
    static constexpr int kTopicoAjuda = 20;
    explicit TFDeclividade(QWidget* pai = nullptr);

protected:
    void Calcular(const std::string& entrada, const std::string& saida, const std::string& titulo,
                  const std::string& legenda, IProgresso& progresso) override;
};

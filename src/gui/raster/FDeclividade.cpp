#include "gui/raster/FDeclividade.h"

#include "core/raster/Declividade.h"

TFDeclividade::TFDeclividade(QWidget* pai)
    : TFFerramentaRaster({QStringLiteral("FDeclividade"), QStringLiteral("Declividade"), kTopicoAjuda,
                          TituloDeclividade, QStringLiteral("Cálculo de declividade finalizado com sucesso."), false},
                         pai) {}

void TFDeclividade::Calcular(const std::string& entrada, const std::string& saida, const std::string& titulo,
                             const std::string&, IProgresso& progresso) {
    CalculaDeclividade(entrada, saida, titulo, &progresso);
}

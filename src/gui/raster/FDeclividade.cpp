#include "gui/raster/FDeclividade.h"

#include "core/raster/Declividade.h"
#include "gui/common/Dialogos.h"

TFDeclividade::TFDeclividade(QWidget* pai)
    : TFFerramentaRaster(QStringLiteral("FDeclividade"), QStringLiteral("Declividade"), kTopicoAjuda, pai) {}

std::string TFDeclividade::TituloPadrao(const std::string& entrada) const { return TituloDeclividade(entrada); }

void TFDeclividade::Verificar(const std::string& entrada, const std::string& saida) {
    ChecaNomesEntradaSaida(entrada, saida);
}

void TFDeclividade::Calcular(const std::string& entrada, const std::string& saida, const std::string& titulo,
                             const std::string&, IProgresso& progresso) {
    CalculaDeclividade(entrada, saida, titulo, &progresso);
}

QString TFDeclividade::MensagemSucesso() const {
    return QStringLiteral("Cálculo de declividade finalizado com sucesso.");
}

void TFDeclividade::MostrarByte(const QString& texto) { Dialogos().Aviso(this, texto); }

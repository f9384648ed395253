#include "gui/raster/FFiltro.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include "core/raster/Filtro.h"
#include "gui/common/Dialogos.h"

TFFiltro::TFFiltro(QWidget* pai)
    : TFFerramentaRaster({QStringLiteral("FFiltro"), QStringLiteral("Filtro"), kTopicoAjuda, TituloFiltro,
                          QStringLiteral("Processo de filtragem finalizado com sucesso."), true},
                         pai) {
    filtragens_ = new QSpinBox(this);
    filtragens_->setObjectName("SpinEditFiltragens");
    filtragens_->setRange(1, kMaxFiltragens);
    filtragens_->setValue(1);
    filtragens_->setMinimumWidth(70);
    auto* rotulo = new QLabel(QStringLiteral("&Número de filtragens da imagem"), this);
    rotulo->setBuddy(filtragens_);
    auto* linha = new QHBoxLayout;
    linha->addWidget(rotulo);
    linha->addWidget(filtragens_);
    linha->addStretch();
    Grade()->addLayout(linha, 3, 0, 1, 3);
}

void TFFiltro::TomarParametros() { passadas_ = filtragens_->value(); }

void TFFiltro::Calcular(const std::string& entrada, const std::string& saida, const std::string& titulo,
                        const std::string& legenda, IProgresso& progresso) {
    CalculaFiltro(entrada, saida, passadas_, titulo, &progresso, legenda);
}

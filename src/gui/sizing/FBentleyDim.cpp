#include "gui/sizing/FBentleyDim.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/common/Erros.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Formulario.h"
#include "gui/sizing/FParanaDim.h"

TFSoloDim::TFSoloDim(QWidget* pai, const QString& titulo, int ajuda, int maximo, const QString& rotulo,
                     const QString& mensagemZero, int familia, int metodo, const QStringList& solos)
    : TFEspacamentoDim(pai, titulo, ajuda, maximo, rotulo, mensagemZero), familia_(familia), metodo_(metodo) {
    rgSolo_ = new QButtonGroup(this);
    corpo_->addWidget(CaixaDeOpcoes(QStringLiteral(" Tipo de solo "), "rgSolo", solos, rgSolo_, "rbSolo"));
    connect(rgSolo_, &QButtonGroup::idClicked, this, [this] {
        if (!preparando_) Recalcular();
    });
    MontarRodape();
}

QRadioButton* TFSoloDim::Solo(int i) const { return qobject_cast<QRadioButton*>(rgSolo_->button(i)); }

void TFSoloDim::ClicarSolo(int i) {
    if (QRadioButton* r = Solo(i)) r->click();
}

void TFSoloDim::Preparar() {
    trabalho_.Solo().SetFamilia(static_cast<std::uint8_t>(familia_));
    const int i = trabalho_.Solo().Index() < rgSolo_->buttons().size() ? trabalho_.Solo().Index() : 0;
    if (QRadioButton* r = Solo(i)) r->setChecked(true);
    Recalcular();
}

void TFSoloDim::Recalcular() {
    if (!DecliveValido()) return;
    try {
        trabalho_.Solo().SetFamilia(static_cast<std::uint8_t>(familia_));
        trabalho_.Solo().SetIndex(rgSolo_->checkedId() >= 0 ? rgSolo_->checkedId() : 0);
        trabalho_.Metodologia().SetIndex(metodo_);
        trabalho_.ComputeSpacing(Declividade() / 100.0);
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    // Paraná leaves a field as it was when its result is zero; Bentley empties it.
    MostrarResultado("0.0##", metodo_ == TMetodologiaEspacamento::Parana);
}

TFBentleyDim::TFBentleyDim(QWidget* pai)
    : TFSoloDim(pai, QStringLiteral("Método Bentley"), 45, 100, QStringLiteral("&Declividade do terreno"),
                QStringLiteral("Não é permitido valor 0 para a declividade do terreno."), TSolo::FamiliaBentley,
                TMetodologiaEspacamento::Bentley,
                {QStringLiteral("Solos arg&ilosos"), QStringLiteral("Solos de textura &média"),
                 QStringLiteral("Solos de textura &grossa")}) {
    setObjectName(QStringLiteral("FBentleyDim"));
}

TFParanaDim::TFParanaDim(QWidget* pai)
    : TFSoloDim(pai, QStringLiteral("Método Paraná"), 37, 20, QStringLiteral("&Declividade do terreno:"),
                QStringLiteral("Não é permitiodo valor 0 para a declividade do terreno."), TSolo::FamiliaParana,
                TMetodologiaEspacamento::Parana,
                {QStringLiteral("Terra ar&enosa"), QStringLiteral("Terra ar&gilosa"), QStringLiteral("Terra &roxa")}) {
    setObjectName(QStringLiteral("FParanaDim"));
}

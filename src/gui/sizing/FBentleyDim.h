#pragma once
// Bentley and Paraná spacing dialogs: slope and one soil class.
#include "gui/sizing/FEspacamentoDim.h"

class QButtonGroup;
class QRadioButton;

class TFSoloDim : public TFEspacamentoDim {
    Q_OBJECT
public:
    int EditSpacing(TEspacamento& e) { return Editar(e); }
    QRadioButton* Solo(int i) const;
    void ClicarSolo(int i);

protected:
    TFSoloDim(QWidget* pai, const QString& titulo, int ajuda, int maximo, const QString& rotulo,
              const QString& mensagemZero, int familia, int metodo, const QStringList& solos);
    void Preparar() override;
    void Recalcular() override;

    QButtonGroup* rgSolo_ = nullptr;
    int familia_, metodo_;
};

class TFBentleyDim : public TFSoloDim {
    Q_OBJECT
public:
    explicit TFBentleyDim(QWidget* pai = nullptr);
};

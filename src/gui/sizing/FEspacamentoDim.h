#pragma once
// Common part of the spacing-method dialogs: a private working copy of the spacing, the
// whole-percent slope spin, the two result fields and Ok/Cancelar/Ajuda. EditSpacing hands
// the copy back only on OK.
#include <QDialog>

#include "core/model/Espacamento.h"

class QGridLayout;
class QLineEdit;
class QSpinBox;
class QVBoxLayout;

class TFEspacamentoDim : public QDialog {
    Q_OBJECT
public:
    // Whole percent, within the spin's range.
    void SetDeclividade(int pct);
    int Declividade() const;
    QSpinBox* Spin() const { return seDeclividade_; }
    const TEspacamento& Trabalho() const { return trabalho_; }
    QLineEdit* CampoEV() const { return edtEV_; }
    QLineEdit* CampoEH() const { return edtEH_; }

protected:
    TFEspacamentoDim(QWidget* pai, const QString& titulo, int ajuda, int maximo, const QString& rotuloDeclive,
                     const QString& mensagemZero);
    // Runs the dialog on 'e': copy in, Preparar, modal run, copy back on OK.
    int Editar(TEspacamento& e);
    virtual void Preparar() = 0;
    virtual void Recalcular() = 0;
    virtual void AoAceitar() {}
    // Shows EV and EH with 'formato'; a zero value empties its field, or leaves it as it
    // was when 'manterZero'.
    void MostrarResultado(const char* formato, bool manterZero = false);
    // The slope (m/m) of the spin; false (after the message) when its text is "0".
    bool DecliveValido();
    void MontarRodape();
    bool eventFilter(QObject* o, QEvent* e) override;

    TEspacamento trabalho_;
    QVBoxLayout* corpo_ = nullptr;
    QSpinBox* seDeclividade_ = nullptr;
    QLineEdit *edtEV_ = nullptr, *edtEH_ = nullptr;
    int ajuda_ = 0;
    QString mensagemZero_;
    bool preparando_ = false;
};

#pragma once
// Storage-capacity spacing dialog: EH from the channel's storage, given either as the real
// terrace height with its non-uniformity coefficient or directly as a capacity per metre.
#include <memory>

#include "gui/sizing/FEspacamentoDim.h"

class QTabWidget;
class TSistemaConservacao;
class TTerracosNivel;

class TFCapacidadeArmazenamento : public TFEspacamentoDim {
    Q_OBJECT
public:
    explicit TFCapacidadeArmazenamento(QWidget* pai = nullptr);
    ~TFCapacidadeArmazenamento() override;
    // On OK the spacing and the system's CDu take the dialog's values. les: runoff depth (mm).
    int EditSpacing(TEspacamento& e, TSistemaConservacao& sistema, double les);

    QTabWidget* Abas() const { return tcDefinir_; }
    QLineEdit* CampoAltura() const { return edtAltura_; }
    QLineEdit* CampoCoef() const { return edtCoef_; }
    QLineEdit* CampoCapacidade() const { return edtCapacidade_; }

protected:
    void Preparar() override;
    void Recalcular() override;

private:
    void AlturaMudou();
    void CapacidadeMudou();

    std::unique_ptr<TTerracosNivel> privado_;
    QTabWidget* tcDefinir_ = nullptr;
    QLineEdit *edtAltura_, *edtCoef_, *edtCapacidade_;
    double les_ = 0;
};

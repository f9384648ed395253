#pragma once
// "Construção dos Terraços": the width each terrace type moves, the soil's swell factor and
// the machines with their output and hourly cost. "&Ok" checks everything and keeps the
// window open on the first bad value; only then does Aplicar have new values to give.
#include <QDialog>
#include <array>

#include "core/project/Construcao.h"

class QComboBox;
class QPushButton;
class QTableWidget;
class TEditNumero;

class TFConfiguracaoConstrucao : public QDialog {
    Q_OBJECT
public:
    explicit TFConfiguracaoConstrucao(const TConfigConstrucao& c, QWidget* pai = nullptr);

    // Writes what "&Ok" accepted into 'c'; before that, the values the window started from.
    void Aplicar(TConfigConstrucao& c) const;

    static constexpr int kTopicoAjuda = 118;

private:
    enum Coluna { kNome, kRendimento, kUnidade, kCusto };
    void IncluirLinha(const TMaquina& m);
    void IncluirMaquina();
    void ExcluirMaquina();
    void Confirmar();
    // The window's values as settings; a text that is not a number reads as NaN, which the
    // check refuses.
    TConfigConstrucao Lidos() const;
    void Apontar(const TProblemaConstrucao& p);

    std::array<TEditNumero*, 4> edtLarguras_{};
    TEditNumero* edtEmpolamento_;
    QTableWidget* tblMaquinas_;
    QPushButton *btnIncluir_, *btnExcluir_;
    QComboBox* cbMaquinaPadrao_;
    TConfigConstrucao aceitos_;
};

#pragma once
// "Configuração do Sistema": slope unit, infiltration unit and default state. The lists
// start from the settings; only "&Ok" writes the choices back (Cancel changes nothing).
#include <QDialog>

#include "core/project/Configuracao.h"

class QComboBox;

class TFConfiguracaoSistema : public QDialog {
    Q_OBJECT
public:
    explicit TFConfiguracaoSistema(const TConfiguracao& cfg, QWidget* pai = nullptr);

    // Writes the chosen items into 'cfg' (units, factors and state index).
    void Aplicar(TConfiguracao& cfg) const;

    static constexpr int kTopicoAjuda = 13;

private:
    QComboBox *cbDecli_, *cbVIB_, *cbEstado_;
};

#pragma once
// Read-only tables of the terrace types recommended by slope (Paraná, Emater/RS and
// Lombardi Neto), also opened from the location window.
#include <QDialog>
#include <vector>

#include "core/sizing/TabelasAssistentes.h"

class QTableWidget;

class TFTipoTerraco : public QDialog {
    Q_OBJECT
public:
    // In the order of the location window's choices.
    enum TFonte { Parana, EmaterRS, LombardiNeto };
    explicit TFTipoTerraco(TFonte fonte, QWidget* pai = nullptr);

    QTableWidget* Tabela() const { return tabela_; }
    int HelpContext() const { return ajuda_; }

private:
    QTableWidget* tabela_;
    int ajuda_;
};

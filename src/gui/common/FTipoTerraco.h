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
    QTableWidget* Tabela() const { return tabela_; }
    int HelpContext() const { return ajuda_; }

protected:
    TFTipoTerraco(QWidget* pai, const QString& titulo, int ajuda, const std::vector<TLinhaTipoTerraco>& linhas,
                  const QString& fonte);

private:
    QTableWidget* tabela_;
    int ajuda_;
};

class TFTipoParana : public TFTipoTerraco {
    Q_OBJECT
public:
    explicit TFTipoParana(QWidget* pai = nullptr);
};

class TFTipoRio : public TFTipoTerraco {
    Q_OBJECT
public:
    explicit TFTipoRio(QWidget* pai = nullptr);
};

class TFTipoLombardi : public TFTipoTerraco {
    Q_OBJECT
public:
    explicit TFTipoLombardi(QWidget* pai = nullptr);
};

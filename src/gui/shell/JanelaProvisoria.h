#pragma once
// Stand-in for a data-entry window that is not built yet: an MDI child with the caption
// the real window will have and a line saying it comes later. It implements the same
// interface, so the module switch and the settings refresh already run through it.
#include <QWidget>

#include "shell/JanelaDados.h"

class TJanelaProvisoria : public QWidget, public IJanelaDados {
    Q_OBJECT
public:
    TJanelaProvisoria(const QString& modulo, const QString& titulo, QWidget* pai = nullptr);

    QString Modulo() const override { return modulo_; }
    void OnLerCamposDados() override {}
    void PreencherCampos() override {}
    void AtualizarUnidades() override {}

private:
    QString modulo_;
};

// The location window ("Locacao") as it is today.
QWidget* CriarLocacaoProvisoria(QWidget* pai);

#pragma once
// "Identificação do Projeto": the six texts of the project's identification. The dialog
// edits a private copy; only "&Ok" puts it back into the model.
#include <QDialog>

#include "core/project/IdentProjeto.h"

class QLineEdit;
class TGerenteSis;

class TFIdentificacao : public QDialog {
    Q_OBJECT
public:
    TFIdentificacao(TIDProjeto& id, TGerenteSis& gerente, QWidget* pai = nullptr);

    static constexpr int kTopicoAjuda = 5;

private:
    void Confirmar();
    QLineEdit* Campo(const char* nome);

    TIDProjeto& id_;
    TGerenteSis& gerente_;
    TIDProjeto copia_;
    QLineEdit *edtNome_, *edtEmpresa_, *edtLocal_, *edtEstado_, *edtTecnico_, *edtData_;
};

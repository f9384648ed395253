#pragma once
// The "&Ok", "&Cancelar", "Aj&uda" row of the program's dialogs.
class QDialog;
class QDialogButtonBox;
class QPushButton;

struct TBotoesDialogo {
    QDialogButtonBox* caixa;
    QPushButton* ok;  // the caller connects it (accept, or its own check first)
};

// "&Cancelar" rejects, "Aj&uda" and F1 open 'topicoAjuda'; "&Ok" is the default button.
TBotoesDialogo BotoesOkCancelarAjuda(QDialog& d, int topicoAjuda);

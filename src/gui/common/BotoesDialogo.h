#pragma once
// The "&Ok", "&Cancelar", "Aj&uda" row of the program's dialogs.
#include <QString>
#include <functional>

class QBoxLayout;
class QDialog;
class QDialogButtonBox;
class QPushButton;

struct TBotoesDialogo {
    QDialogButtonBox* caixa;
    QPushButton* ok;  // the caller connects it (accept, or its own check first)
};

// "&Cancelar" rejects, "Aj&uda" and F1 open 'topicoAjuda'; "&Ok" is the default button.
TBotoesDialogo BotoesOkCancelarAjuda(QDialog& d, int topicoAjuda);

// The same three buttons laid by hand at the right of a row appended to 'v', as the
// method, table and assistant dialogs show them. "&Ok" is the default button and accepts
// unless the caller connects 'aoOk' instead; "Aj&uda" and F1 open the topic 'topico' gives
// at the moment of the click (an assistant learns its topic after it is built).
struct TRodapeDialogo {
    QPushButton* ok;
    QPushButton* cancelar;
    QPushButton* ajuda;
};
TRodapeDialogo RodapeOkCancelarAjuda(QDialog& d, QBoxLayout* v, std::function<int()> topico,
                                     const QString& textoCancelar = QStringLiteral("&Cancelar"),
                                     std::function<void()> aoOk = {});

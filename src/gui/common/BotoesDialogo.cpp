#include "gui/common/BotoesDialogo.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "gui/common/Ajuda.h"

TBotoesDialogo BotoesOkCancelarAjuda(QDialog& d, int topicoAjuda) {
    auto* botoes = new QDialogButtonBox(&d);
    auto* ok = botoes->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    auto* cancelar = botoes->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
    auto* ajuda = botoes->addButton(QStringLiteral("Aj&uda"), QDialogButtonBox::HelpRole);
    ok->setObjectName("btnOk");
    cancelar->setObjectName("btnCancelar");
    ajuda->setObjectName("btnAjuda");
    ok->setDefault(true);
    QObject::connect(cancelar, &QPushButton::clicked, &d, &QDialog::reject);
    QObject::connect(ajuda, &QPushButton::clicked, &d, [&d, topicoAjuda] { AbrirAjuda(&d, topicoAjuda); });
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_F1), &d), &QShortcut::activated, ajuda, &QPushButton::click);
    return {botoes, ok};
}

#include "gui/common/BotoesDialogo.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
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

TRodapeDialogo RodapeOkCancelarAjuda(QDialog& d, QBoxLayout* v, std::function<int()> topico,
                                     const QString& textoCancelar, std::function<void()> aoOk) {
    auto* h = new QHBoxLayout;
    h->addStretch(1);
    TRodapeDialogo r{new QPushButton(QStringLiteral("&Ok")), new QPushButton(textoCancelar),
                     new QPushButton(QStringLiteral("Aj&uda"))};
    r.ok->setObjectName(QStringLiteral("btnOk"));
    r.ok->setDefault(true);
    r.cancelar->setObjectName(QStringLiteral("btnCancelar"));
    r.ajuda->setObjectName(QStringLiteral("btnAjuda"));
    for (QPushButton* b : {r.ok, r.cancelar, r.ajuda}) h->addWidget(b);
    v->addLayout(h);
    if (aoOk)
        QObject::connect(r.ok, &QPushButton::clicked, &d, std::move(aoOk));
    else
        QObject::connect(r.ok, &QPushButton::clicked, &d, &QDialog::accept);
    QObject::connect(r.cancelar, &QPushButton::clicked, &d, &QDialog::reject);
    QObject::connect(r.ajuda, &QPushButton::clicked, &d, [&d, topico = std::move(topico)] { AbrirAjuda(&d, topico()); });
    QObject::connect(new QShortcut(QKeySequence::HelpContents, &d), &QShortcut::activated, r.ajuda, &QPushButton::click);
    return r;
}

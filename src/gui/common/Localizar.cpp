#include "gui/common/Localizar.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFLocalizar::TFLocalizar(QWidget* pai) : QDialog(pai) {
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(QStringLiteral("Localizar"));
    auto* v = new QVBoxLayout(this);
    auto* linha = new QHBoxLayout;
    auto* rotulo = new QLabel(QStringLiteral("&Localizar:"), this);
    edtTexto_ = new QLineEdit(this);
    edtTexto_->setObjectName(QStringLiteral("edtTexto"));
    edtTexto_->setMinimumWidth(220);
    rotulo->setBuddy(edtTexto_);
    linha->addWidget(rotulo);
    linha->addWidget(edtTexto_, 1);
    v->addLayout(linha);
    chkMaiusculas_ = new QCheckBox(QStringLiteral("&Diferenciar maiúsculas e minúsculas"), this);
    chkMaiusculas_->setObjectName(QStringLiteral("chkMaiusculas"));
    v->addWidget(chkMaiusculas_);
    auto* botoes = new QDialogButtonBox(this);
    btnProxima_ = botoes->addButton(QStringLiteral("Localizar &próxima"), QDialogButtonBox::ActionRole);
    btnProxima_->setObjectName(QStringLiteral("btnProxima"));
    btnProxima_->setDefault(true);
    btnProxima_->setEnabled(false);
    auto* fechar = botoes->addButton(QStringLiteral("&Fechar"), QDialogButtonBox::RejectRole);
    fechar->setObjectName(QStringLiteral("btnFechar"));
    v->addWidget(botoes);
    connect(edtTexto_, &QLineEdit::textChanged, this, [this](const QString& t) { btnProxima_->setEnabled(!t.isEmpty()); });
    connect(btnProxima_, &QPushButton::clicked, this, [this] { emit Proxima(Texto(), DiferenciarMaiusculas()); });
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString TFLocalizar::Texto() const { return edtTexto_->text(); }
bool TFLocalizar::DiferenciarMaiusculas() const { return chkMaiusculas_->isChecked(); }

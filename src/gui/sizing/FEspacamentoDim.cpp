#include "gui/sizing/FEspacamentoDim.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "gui/common/BotoesDialogo.h"
#include "gui/common/Dialogos.h"

TFEspacamentoDim::TFEspacamentoDim(QWidget* pai, const QString& titulo, int ajuda, int maximo,
                                   const QString& rotuloDeclive, const QString& mensagemZero)
    : QDialog(pai), ajuda_(ajuda), mensagemZero_(mensagemZero) {
    setWindowTitle(titulo);
    auto* v = new QVBoxLayout(this);
    auto* h = new QHBoxLayout;
    seDeclividade_ = new QSpinBox;
    seDeclividade_->setObjectName(QStringLiteral("seDeclividade"));
    seDeclividade_->setRange(1, maximo);
    seDeclividade_->setValue(1);
    seDeclividade_->setMinimumWidth(70);
    auto* rotulo = new QLabel(rotuloDeclive);
    rotulo->setBuddy(seDeclividade_);
    h->addWidget(rotulo);
    h->addWidget(seDeclividade_);
    h->addWidget(new QLabel(QStringLiteral("%")));
    h->addStretch(1);
    v->addLayout(h);
    corpo_ = new QVBoxLayout;
    v->addLayout(corpo_, 1);
    if (auto* e = seDeclividade_->findChild<QLineEdit*>()) e->installEventFilter(this);
    connect(seDeclividade_, &QSpinBox::textChanged, this, [this](const QString& t) {
        if (t.trimmed() == QStringLiteral("0")) {
            seDeclividade_->setValue(1);
            if (auto* e = seDeclividade_->findChild<QLineEdit*>()) e->setText(QStringLiteral("1"));
            Dialogos().Erro(this, mensagemZero_);
        }
    });
    connect(seDeclividade_, &QSpinBox::valueChanged, this, [this] {
        if (!preparando_) Recalcular();
    });
}

void TFEspacamentoDim::MontarRodape() {
    auto* res = new QGroupBox(QStringLiteral("Resultado"));
    auto* g = new QGridLayout(res);
    edtEV_ = new QLineEdit;
    edtEV_->setObjectName(QStringLiteral("edtEspVertical"));
    edtEH_ = new QLineEdit;
    edtEH_->setObjectName(QStringLiteral("edtEspHorizontal"));
    int r = 0;
    for (auto [rotulo, campo] : {std::pair{QStringLiteral("Espaçamento vertical:"), edtEV_},
                                 std::pair{QStringLiteral("Espaçamento horizontal:"), edtEH_}}) {
        campo->setReadOnly(true);
        campo->setAlignment(Qt::AlignRight);
        campo->setMaximumWidth(100);
        g->addWidget(new QLabel(rotulo), r, 0);
        g->addWidget(campo, r, 1);
        g->addWidget(new QLabel(QStringLiteral("m")), r, 2);
        ++r;
    }
    g->setColumnStretch(3, 1);
    layout()->addWidget(res);
    RodapeOkCancelarAjuda(*this, static_cast<QVBoxLayout*>(layout()), [this] { return ajuda_; },
                          QStringLiteral("Ca&ncelar"), [this] {
                              AoAceitar();
                              accept();
                          });
}

void TFEspacamentoDim::SetDeclividade(int pct) {
    preparando_ = true;
    seDeclividade_->setValue(pct);  // clamped to the range: below 1 gives 1
    preparando_ = false;
}

int TFEspacamentoDim::Declividade() const { return seDeclividade_->value(); }

bool TFEspacamentoDim::DecliveValido() { return seDeclividade_->value() >= 1; }

int TFEspacamentoDim::Editar(TEspacamento& e) {
    trabalho_.Assign(e);
    preparando_ = true;
    try {
        Preparar();
    } catch (const EVandoro& ex) {
        Dialogos().Erro(this, Q(ex.what()));
    }
    preparando_ = false;
    const int r = Dialogos().Executar(*this);
    if (r == QDialog::Accepted) e.Assign(trabalho_);
    return r;
}

void TFEspacamentoDim::MostrarResultado(const char* formato, bool manterZero) {
    for (auto [campo, v] : {std::pair{edtEV_, trabalho_.EV()}, std::pair{edtEH_, trabalho_.EH()}}) {
        if (v != 0)
            campo->setText(Q(FormatFloat(formato, v)));
        else if (!manterZero)
            campo->clear();
    }
}

bool TFEspacamentoDim::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        const QString t = k->text();
        // The spin takes digits and Backspace; arrows and navigation keep working.
        if (!t.isEmpty() && t.at(0).isPrint() && !t.at(0).isDigit()) return true;
    }
    return QDialog::eventFilter(o, e);
}

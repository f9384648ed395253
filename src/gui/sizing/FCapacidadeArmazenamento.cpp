#include "gui/sizing/FCapacidadeArmazenamento.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/model/SistemaConservacao.h"
#include "gui/common/Dialogos.h"
#include "gui/common/EditNumero.h"

namespace {

QLineEdit* Campo(const char* nome) {
    auto* e = new TEditNumero;
    e->setObjectName(QString::fromLatin1(nome));
    e->setMaximumWidth(100);
    e->setAlignment(Qt::AlignRight);
    return e;
}

}  // namespace

TFCapacidadeArmazenamento::TFCapacidadeArmazenamento(QWidget* pai)
    : TFEspacamentoDim(pai, QStringLiteral("Método da capacidade de armazenamento"), 0, 100,
                       QStringLiteral("&Declividade do terreno"),
                       QStringLiteral("Não é permitiodo valor 0 para a declividade do terreno.")),
      privado_(std::make_unique<TTerracosNivel>()) {
    setObjectName(QStringLiteral("FCapacidadeArmazenamento"));
    auto* caixa = new QGroupBox(QStringLiteral(" Def&inir "));
    auto* v = new QVBoxLayout(caixa);
    tcDefinir_ = new QTabWidget;
    tcDefinir_->setObjectName(QStringLiteral("tcDefinir"));
    auto* altura = new QWidget;
    auto* ga = new QGridLayout(altura);
    edtAltura_ = Campo("edtAlturaReal");
    edtCoef_ = Campo("edtCoefDesuniformidade");
    ga->addWidget(new QLabel(QStringLiteral("Altura real:")), 0, 0);
    ga->addWidget(edtAltura_, 0, 1);
    ga->addWidget(new QLabel(QStringLiteral("cm")), 0, 2);
    ga->addWidget(new QLabel(QStringLiteral("Coef. desuniformidade:")), 1, 0);
    ga->addWidget(edtCoef_, 1, 1);
    ga->setColumnStretch(3, 1);
    ga->setRowStretch(2, 1);
    auto* cap = new QWidget;
    auto* gc = new QGridLayout(cap);
    edtCapacidade_ = Campo("edtCapacidade");
    gc->addWidget(new QLabel(QStringLiteral("Capac. armazenamento:")), 0, 0);
    gc->addWidget(edtCapacidade_, 0, 1);
    gc->addWidget(new QLabel(QStringLiteral("m3/m")), 0, 2);
    gc->setColumnStretch(3, 1);
    gc->setRowStretch(1, 1);
    tcDefinir_->addTab(altura, QStringLiteral("Altura do terraço"));
    tcDefinir_->addTab(cap, QStringLiteral("Capacidade de armazenamento"));
    // Both tab captions whole: the tabs are the choice between the two ways.
    tcDefinir_->setElideMode(Qt::ElideNone);
    tcDefinir_->setUsesScrollButtons(false);
    tcDefinir_->setMinimumWidth(tcDefinir_->tabBar()->sizeHint().width() + 16);
    v->addWidget(tcDefinir_);
    corpo_->addWidget(caixa);
    MontarRodape();
    connect(edtAltura_, &QLineEdit::textEdited, this, &TFCapacidadeArmazenamento::AlturaMudou);
    connect(edtCoef_, &QLineEdit::textEdited, this, &TFCapacidadeArmazenamento::AlturaMudou);
    connect(edtCapacidade_, &QLineEdit::textEdited, this, &TFCapacidadeArmazenamento::CapacidadeMudou);
}

TFCapacidadeArmazenamento::~TFCapacidadeArmazenamento() = default;

int TFCapacidadeArmazenamento::EditSpacing(TEspacamento& e, TSistemaConservacao& sistema, double les) {
    privado_->TSistemaConservacao::Assign(sistema);
    les_ = les;
    const int r = Editar(e);
    if (r == QDialog::Accepted) sistema.SetCDu(privado_->CDu());
    return r;
}

void TFCapacidadeArmazenamento::Preparar() {
    trabalho_.SetLES(les_);
    trabalho_.Metodologia().SetIndex(TMetodologiaEspacamento::AlturaArbitrada);
    if (trabalho_.UsarCapArmaz()) {
        tcDefinir_->setCurrentIndex(1);
        edtCapacidade_->setText(Q(FormatFloat("0.00", trabalho_.CapArmaz())));
    } else {
        tcDefinir_->setCurrentIndex(0);
        edtAltura_->setText(Q(FormatFloat("0.0", trabalho_.AlturaTer() * 100)));
        edtCoef_->setText(Q(FormatFloat("0.00", privado_->CDu())));
    }
    Recalcular();
}

void TFCapacidadeArmazenamento::Recalcular() {
    if (!DecliveValido()) return;
    if (trabalho_.UsarCapArmaz())
        CapacidadeMudou();
    else
        AlturaMudou();
}

void TFCapacidadeArmazenamento::AlturaMudou() {
    trabalho_.SetUsarCapArmaz(false);
    if (edtAltura_->text().isEmpty() || edtCoef_->text().isEmpty()) return;
    try {
        trabalho_.SetAlturaTer(StrToFloat(S(edtAltura_->text())) / 100.0);
        privado_->SetCDu(StrToFloat(S(edtCoef_->text())));
        const double parede = privado_->Secao().Triangular() ? privado_->Sm().Value() : privado_->Z().Value();
        trabalho_.SpacingFromCapacity(privado_->B(), trabalho_.LES(), parede, privado_->CDu(), trabalho_.AlturaTer(),
                                      Declividade() / 100.0);
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    MostrarResultado("0.00");
}

void TFCapacidadeArmazenamento::CapacidadeMudou() {
    trabalho_.SetUsarCapArmaz(true);
    if (edtCapacidade_->text().isEmpty()) return;
    try {
        trabalho_.SetCapArmaz(StrToFloat(S(edtCapacidade_->text())));
        trabalho_.ComputeSpacing(Declividade() / 100.0);
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    MostrarResultado("0.00");
}


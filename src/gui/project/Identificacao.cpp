#include "gui/project/Identificacao.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/project/GerenteSis.h"
#include "gui/common/BotoesDialogo.h"
#include "gui/common/Dialogos.h"

TFIdentificacao::TFIdentificacao(TIDProjeto& id, TGerenteSis& gerente, QWidget* pai)
    : QDialog(pai), id_(id), gerente_(gerente) {
    setObjectName("FIdentificacao");
    setWindowTitle(QStringLiteral("Identificação do Projeto"));
    copia_.Assign(id_);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const struct {
        const char* nome;
        const char* rotulo;
        QLineEdit** campo;
        std::string valor;
    } campos[] = {
        {"edtNome", "&Nome:", &edtNome_, copia_.Nome()},
        {"edtEmpresa", "&Empresa:", &edtEmpresa_, copia_.Empresa()},
        {"edtLocal", "&Localidade:", &edtLocal_, copia_.Local()},
        {"edtEstado", "E&stado:", &edtEstado_, copia_.Estado()},
        {"edtTecnico", "&Técnico:", &edtTecnico_, copia_.Tecnico()},
        {"edtData", "&Data:", &edtData_, copia_.Data()},
    };
    for (const auto& c : campos) {
        *c.campo = Campo(c.nome);
        (*c.campo)->setText(Q(c.valor));
        auto* rotulo = new QLabel(QString::fromUtf8(c.rotulo), this);
        rotulo->setBuddy(*c.campo);
        form->addRow(rotulo, *c.campo);
    }
    edtData_->setMaximumWidth(120);

    const TBotoesDialogo botoes = BotoesOkCancelarAjuda(*this, kTopicoAjuda);
    connect(botoes.ok, &QPushButton::clicked, this, &TFIdentificacao::Confirmar);

    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addSpacing(8);
    v->addWidget(botoes.caixa);
    resize(460, sizeHint().height());
}

QLineEdit* TFIdentificacao::Campo(const char* nome) {
    auto* e = new QLineEdit(this);
    e->setObjectName(nome);
    // Typing in any field marks the project as changed, as a key press always did.
    connect(e, &QLineEdit::textEdited, this, [this] { gerente_.SetAlterado(true); });
    return e;
}

void TFIdentificacao::Confirmar() {
    copia_.SetNome(S(edtNome_->text()));
    copia_.SetEmpresa(S(edtEmpresa_->text()));
    copia_.SetLocal(S(edtLocal_->text()));
    copia_.SetEstado(S(edtEstado_->text()));
    copia_.SetTecnico(S(edtTecnico_->text()));
    copia_.SetData(S(edtData_->text()));
    id_.Assign(copia_);
    accept();
}

#include "gui/common/Formulario.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/common/EditCoordenada.h"
#include "gui/common/EditNumero.h"

void TLinhaFormulario::Visivel(bool v) const {
    for (QWidget* w : Partes)
        if (w) w->setVisible(v);
}

TFormulario::TFormulario(QGridLayout* grade, const TEstiloFormulario& estilo) : grade_(grade), estilo_(estilo) {}

QLineEdit* TFormulario::Numero(const char* nome) const {
    auto* e = new TEditNumero;
    e->setObjectName(QString::fromLatin1(nome));
    if (estilo_.Numero) estilo_.Numero(e);
    return e;
}

QLineEdit* TFormulario::Coordenada(const char* nome) const {
    auto* e = new TEditCoordenada(nullptr, TEditCoordenada::SemSinal);
    e->setObjectName(QString::fromLatin1(nome));
    if (estilo_.Coordenada) estilo_.Coordenada(e);
    return e;
}

QLabel* TFormulario::Unidade(const char* nome, const QString& texto) const {
    auto* l = new QLabel(texto);
    l->setObjectName(QString::fromLatin1(nome));
    l->setMinimumWidth(estilo_.LarguraUnidade);
    return l;
}

QPushButton* TFormulario::Assistente(const char* nome) {
    auto* b = new QPushButton(QStringLiteral("..."));
    b->setObjectName(QString::fromLatin1(nome));
    b->setFixedWidth(28);
    return b;
}

TLinhaFormulario TFormulario::Linha(const QString& rotulo, QWidget* campo, QWidget* unidade, QWidget* botao) {
    const int r = grade_->rowCount();
    auto* l = new QLabel(rotulo);
    l->setBuddy(campo);
    grade_->addWidget(l, r, 0);
    grade_->addWidget(campo, r, 1);
    if (unidade) grade_->addWidget(unidade, r, 2);
    if (botao) grade_->addWidget(botao, r, 3);
    return {l, {l, campo, unidade, botao}};
}

void TFormulario::Cabecalho(const QString& rotulo, QWidget* campo) {
    auto* l = new QLabel(rotulo);
    l->setBuddy(campo);
    grade_->addWidget(l, 0, 0);
    grade_->addWidget(campo, 0, 1, 1, 2);
}

void TFormulario::Sozinho(QWidget* w, int coluna) { grade_->addWidget(w, grade_->rowCount(), coluna, Qt::AlignLeft); }

void TFormulario::Fim() { grade_->setRowStretch(grade_->rowCount(), 1); }

QGridLayout* GradeDoGrupo(QWidget* caixa) {
    if (auto* g = qobject_cast<QGridLayout*>(caixa->layout())) return g;
    auto* g = new QGridLayout(caixa);
    g->setColumnStretch(1, 1);
    return g;
}

QLineEdit* CampoResultado(const char* nome) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(nome));
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    e->setMaximumWidth(110);
    return e;
}

QLineEdit* CampoLeitura(const char* nome, int largura) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(nome));
    e->setReadOnly(true);
    if (largura) e->setMaximumWidth(largura);
    return e;
}

QGroupBox* CaixaDeOpcoes(const QString& titulo, const char* nome, const QStringList& opcoes, QButtonGroup* grupo,
                         const char* prefixo) {
    auto* caixa = new QGroupBox(titulo);
    caixa->setObjectName(QString::fromLatin1(nome));
    auto* v = new QVBoxLayout(caixa);
    for (int i = 0; i < opcoes.size(); ++i) {
        auto* r = new QRadioButton(opcoes[i]);
        r->setObjectName(QString::fromLatin1(prefixo) + QString::number(i));
        grupo->addButton(r, i);
        v->addWidget(r);
    }
    return caixa;
}

QPushButton* BotaoRodape(QHBoxLayout* rodape, const QString& texto, const char* nome) {
    auto* b = new QPushButton(texto);
    b->setObjectName(QString::fromLatin1(nome));
    b->setMinimumWidth(90);
    rodape->addWidget(b);
    return b;
}

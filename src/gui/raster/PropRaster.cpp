#include "gui/raster/PropRaster.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/raster/Imagem.h"
#include "core/raster/PropriedadesRaster.h"
#include "core/raster/Vetor.h"
#include "gui/common/Dialogos.h"
#include "gui/raster/Visualizar.h"

QPointer<TFPropRaster> TFPropRaster::instancia_;

namespace {
QLineEdit* Somente(QWidget* pai, const char* nome) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(nome);
    e->setReadOnly(true);
    return e;
}
}  // namespace

TFPropRaster::TFPropRaster(QWidget* pai) : QDialog(pai) {
    setObjectName("FPropRaster");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    auto* v = new QVBoxLayout(this);
    cbImagens_ = new QComboBox(this);
    cbImagens_->setObjectName("cbImagens");
    v->addWidget(cbImagens_);
    auto* f = new QFormLayout;
    const struct {
        const char* nome;
        const char* rotulo;
    } campos[] = {{"edtTipoArquivo", "Tipo:"},      {"edtTitulo", "Título:"},
                  {"edtUnitRef", "Unidade:"},       {"edtMinX", "X mínimo:"},
                  {"edtMaxX", "X máximo:"},         {"edtMinY", "Y mínimo:"},
                  {"edtMaxY", "Y máximo:"},         {"edtColunas", "Colunas:"},
                  {"edtLinhas", "Linhas:"},         {"edtValMin", "Valor mínimo:"},
                  {"edtValMax", "Valor máximo:"},   {"edtTamPixel", "Tamanho do pixel (m):"},
                  {"edtArea", "Área (m²):"}};
    for (const auto& c : campos) f->addRow(QString::fromUtf8(c.rotulo), Somente(this, c.nome));
    v->addLayout(f);
    auto* botoes = new QDialogButtonBox(this);
    auto* fechar = botoes->addButton("&Fechar", QDialogButtonBox::RejectRole);
    fechar->setObjectName("btnFechar");
    connect(fechar, &QPushButton::clicked, this, &QDialog::close);
    v->addWidget(botoes);
    connect(cbImagens_, &QComboBox::activated, this, [this](int i) {
        auto* viz = qobject_cast<TFVisualizar*>(cbImagens_->itemData(i).value<QObject*>());
        if (viz) Preencher(viz);
    });
    resize(380, sizeHint().height());
}

TFPropRaster* TFPropRaster::Instancia() { return instancia_.data(); }

TFPropRaster* TFPropRaster::Mostrar(TFVisualizar* v) {
    if (!instancia_) {
        instancia_ = new TFPropRaster(v ? v->window() : nullptr);
        instancia_->setWindowFlag(Qt::Tool);
        instancia_->Listar();
    }
    instancia_->Selecionar(v);
    instancia_->show();
    instancia_->raise();
    return instancia_;
}

void TFPropRaster::Listar() {
    cbImagens_->clear();
    for (TFVisualizar* v : TFVisualizar::Abertos())
        cbImagens_->addItem(v->windowTitle(), QVariant::fromValue<QObject*>(v));
}

TFVisualizar* TFPropRaster::Atual() const {
    return qobject_cast<TFVisualizar*>(cbImagens_->currentData().value<QObject*>());
}

void TFPropRaster::Selecionar(TFVisualizar* v) {
    const int i = cbImagens_->findData(QVariant::fromValue<QObject*>(v));
    if (i < 0) return;
    cbImagens_->setCurrentIndex(i);
    Preencher(v);
}

void TFPropRaster::Acrescentar(TFVisualizar* v) {
    if (!instancia_) return;
    if (instancia_->cbImagens_->findData(QVariant::fromValue<QObject*>(v)) < 0)
        instancia_->cbImagens_->addItem(v->windowTitle(), QVariant::fromValue<QObject*>(v));
    instancia_->Selecionar(v);
}

void TFPropRaster::Atualizar(TFVisualizar* v) {
    if (!instancia_) return;
    const int i = instancia_->cbImagens_->findData(QVariant::fromValue<QObject*>(v));
    if (i >= 0) instancia_->cbImagens_->setItemText(i, v->windowTitle());
    if (instancia_->Atual() == v) instancia_->Preencher(v);
}

void TFPropRaster::Remover(TFVisualizar* v) {
    if (!instancia_) return;
    const int i = instancia_->cbImagens_->findData(QVariant::fromValue<QObject*>(v));
    if (i < 0) return;
    const bool eraAtual = instancia_->cbImagens_->currentIndex() == i;
    instancia_->cbImagens_->removeItem(i);
    if (instancia_->cbImagens_->count() == 0) {
        // Nothing left to describe.
        instancia_->close();
        return;
    }
    if (eraAtual) {
        instancia_->cbImagens_->setCurrentIndex(0);
        if (TFVisualizar* outro = instancia_->Atual()) instancia_->Preencher(outro);
    }
}

QLineEdit* TFPropRaster::Campo(const char* nome) const { return findChild<QLineEdit*>(nome); }

void TFPropRaster::Preencher(TFVisualizar* v) {
    if (!v) return;
    setWindowTitle("Propriedades da imagem " + v->windowTitle());
    const TPropriedadesRaster p = TPropriedadesRaster::De(v->Imagem());
    const struct {
        const char* nome;
        const std::string& valor;
    } campos[] = {{"edtTipoArquivo", p.tipo}, {"edtTitulo", p.titulo},    {"edtUnitRef", p.unidade},
                  {"edtMinX", p.minX},        {"edtMaxX", p.maxX},        {"edtMinY", p.minY},
                  {"edtMaxY", p.maxY},        {"edtColunas", p.colunas},  {"edtLinhas", p.linhas},
                  {"edtValMin", p.valMin},    {"edtValMax", p.valMax},    {"edtTamPixel", p.tamPixel},
                  {"edtArea", p.area}};
    for (const auto& c : campos)
        if (QLineEdit* e = Campo(c.nome)) {
            e->setText(Q(c.valor));
            e->setCursorPosition(0);
        }
    if (auto* s = qobject_cast<QMdiSubWindow*>(v->parentWidget())) {
        if (s->mdiArea()) s->mdiArea()->setActiveSubWindow(s);
    } else {
        v->raise();
    }
}

// ---------------------------------------------------------------------------------------

TFPropVetor::TFPropVetor(const TVET& vet, const QString& nome, QWidget* pai) : QDialog(pai) {
    setObjectName("FPropVetor");
    setWindowTitle("Propriedades do vetor " + nome);
    const TPropriedadesVetor p = TPropriedadesVetor::De(vet);
    auto* v = new QVBoxLayout(this);
    auto* f = new QFormLayout;
    const struct {
        const char* nome;
        const char* rotulo;
        const std::string& valor;
    } campos[] = {{"Titulo", "Título:", p.titulo}, {"UnitRef", "Unidade:", p.unidade},
                  {"MinX", "X mínimo:", p.minX},   {"MaxX", "X máximo:", p.maxX},
                  {"MinY", "Y mínimo:", p.minY},   {"MaxY", "Y máximo:", p.maxY}};
    for (const auto& c : campos) {
        QLineEdit* e = Somente(this, c.nome);
        e->setText(Q(c.valor));
        e->setCursorPosition(0);
        f->addRow(QString::fromUtf8(c.rotulo), e);
    }
    v->addLayout(f);
    auto* botoes = new QDialogButtonBox(this);
    auto* fechar = botoes->addButton("&Fechar", QDialogButtonBox::AcceptRole);
    fechar->setObjectName("btnFechar");
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    v->addWidget(botoes);
    resize(380, sizeHint().height());
}

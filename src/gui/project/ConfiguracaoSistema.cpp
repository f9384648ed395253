#include "gui/project/ConfiguracaoSistema.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "gui/common/BotoesDialogo.h"
#include "gui/common/Dialogos.h"

namespace {
QComboBox* Lista(QWidget* pai, const char* nome, const std::vector<std::string>& itens) {
    auto* c = new QComboBox(pai);
    c->setObjectName(nome);
    c->setEditable(false);  // only its own items
    for (const auto& i : itens) c->addItem(Q(i));
    return c;
}
}  // namespace

TFConfiguracaoSistema::TFConfiguracaoSistema(const TConfiguracao& cfg, QWidget* pai) : QDialog(pai) {
    setObjectName("FConfiguracao");
    setWindowTitle(QStringLiteral("Configuração do Sistema"));

    cbDecli_ = Lista(this, "cbDecli", UnidadesDeclividade());
    cbVIB_ = Lista(this, "cbVIB", UnidadesVIB());
    cbEstado_ = Lista(this, "cbEstado", ListaEstados());
    cbEstado_->setMaxVisibleItems(22);

    // A label the lists do not know leaves the list on its first item.
    if (const int d = IndiceDeclividade(cfg.UDecli); d >= 0) cbDecli_->setCurrentIndex(d);
    if (const int v = IndiceVIB(cfg.UVIB); v >= 0) cbVIB_->setCurrentIndex(v);
    if (cfg.IndEstado >= 0 && cfg.IndEstado < cbEstado_->count()) cbEstado_->setCurrentIndex(cfg.IndEstado);

    auto* form = new QFormLayout;
    const struct {
        const char* rotulo;
        QComboBox* lista;
    } linhas[] = {{"Unidade da &declividade:", cbDecli_}, {"Unidade da &Tie:", cbVIB_}, {"&Estado:", cbEstado_}};
    for (const auto& l : linhas) {
        auto* r = new QLabel(QString::fromUtf8(l.rotulo), this);
        r->setBuddy(l.lista);
        form->addRow(r, l.lista);
    }

    const TBotoesDialogo botoes = BotoesOkCancelarAjuda(*this, kTopicoAjuda);
    connect(botoes.ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addSpacing(8);
    v->addWidget(botoes.caixa);
    resize(380, sizeHint().height());
}

void TFConfiguracaoSistema::Aplicar(TConfiguracao& cfg) const {
    AplicarEscolhas(cfg, cbDecli_->currentIndex(), cbVIB_->currentIndex(), cbEstado_->currentIndex());
}

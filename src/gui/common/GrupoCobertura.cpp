#include "gui/common/GrupoCobertura.h"

#include <QComboBox>
#include <algorithm>
#include <QGridLayout>
#include <QLabel>

#include "core/model/NumeroDaCurva.h"
#include "render/Texto.h"

namespace {

QComboBox* Lista(const char* nome, int n, std::string (*nomeDe)(int)) {
    auto* c = new QComboBox;
    c->setObjectName(QString::fromLatin1(nome));
    for (int i = 0; i < n; ++i) c->addItem(Q(nomeDe(i)));
    return c;
}

}  // namespace

TGrupoCobertura::TGrupoCobertura(QWidget* pai) : QGroupBox(QStringLiteral("Cobertura do solo"), pai) {
    setObjectName(QStringLiteral("gbCobertura"));
    uso_ = Lista("cbUsoDoSolo", 6, &TUsoDoSolo::Name);
    tratamento_ = Lista("cbTratamento", 4, &TTratamento::Name);
    condicao_ = Lista("cbCondicaoHidrologica", 4, &TCondicaoHidrologica::Name);
    cn_ = new QLabel;
    cn_->setObjectName(QStringLiteral("lblNumeroDaCurva"));
    cn_->setWordWrap(true);
    auto* g = new QGridLayout(this);
    const QString rotulos[] = {QStringLiteral("Uso do solo:"), QStringLiteral("Tratamento:"),
                               QStringLiteral("Condição hidrológica:")};
    QComboBox* listas[] = {uso_, tratamento_, condicao_};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(rotulos[i]);
        l->setBuddy(listas[i]);
        // Each label above its list: the table's names are long and the soil sections narrow.
        g->addWidget(l, 2 * i, 0);
        g->addWidget(listas[i], 2 * i + 1, 0);
        connect(listas[i], &QComboBox::activated, this, [this] {
            Atualizar();
            emit Alterado();
        });
    }
    g->addWidget(cn_, 6, 0);
    g->setColumnStretch(0, 1);
    Atualizar();
}

void TGrupoCobertura::Carregar(const TNumeroDaCurva& cn) {
    SetIndices(cn.UsoDoSolo().Index(), cn.Tratamento().Index(), cn.CondicaoHidrologica().Index());
}

void TGrupoCobertura::Gravar(TNumeroDaCurva& cn) const {
    cn.UsoDoSolo().SetIndex(static_cast<uint8_t>(UsoDoSolo()));
    cn.Tratamento().SetIndex(static_cast<uint8_t>(Tratamento()));
    cn.CondicaoHidrologica().SetIndex(static_cast<uint8_t>(CondicaoHidrologica()));
}

int TGrupoCobertura::UsoDoSolo() const { return std::max(0, uso_->currentIndex()); }
int TGrupoCobertura::Tratamento() const { return std::max(0, tratamento_->currentIndex()); }
int TGrupoCobertura::CondicaoHidrologica() const { return std::max(0, condicao_->currentIndex()); }

void TGrupoCobertura::SetIndices(int uso, int tratamento, int condicao) {
    // A project's index outside the lists shows the list's first item.
    auto por = [](QComboBox* c, int i) { c->setCurrentIndex(i >= 0 && i < c->count() ? i : 0); };
    por(uso_, uso);
    por(tratamento_, tratamento);
    por(condicao_, condicao);
    Atualizar();
}

void TGrupoCobertura::SetVIB(double vib) {
    vib_ = vib;
    Atualizar();
}

QString TGrupoCobertura::Recusa() const {
    return Q(TNumeroDaCurva::MensagemCobertura(UsoDoSolo(), Tratamento(), CondicaoHidrologica()));
}

void TGrupoCobertura::Atualizar() {
    const QString recusa = Recusa();
    if (!recusa.isEmpty()) {
        cn_->setText(recusa);
        cn_->setStyleSheet(QStringLiteral("color: #800000"));
        return;
    }
    cn_->setStyleSheet(QString());
    // The column of the table follows the infiltration rate, typed in the soil section.
    if (!(vib_ >= 0)) {
        cn_->setText(QStringLiteral("Número da curva (CN): informe a taxa de infiltração estável."));
        return;
    }
    TNumeroDaCurva cn(vib_);
    Gravar(cn);
    cn_->setText(QStringLiteral("Número da curva (CN): %1").arg(cn.CurveNumber()));
}

#include "gui/project/ConfiguracaoConstrucao.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "core/common/Numeros.h"
#include "gui/common/BotoesDialogo.h"
#include "gui/common/Dialogos.h"
#include "gui/common/EditNumero.h"

namespace {

// An empty field is 0 (unknown); text that is not a number is NaN, for the check to refuse.
double Numero(const QString& texto) {
    const QString t = texto.trimmed();
    double v = 0;
    if (t.isEmpty()) return 0;
    return TryStrToFloat(S(t), v) ? v : std::numeric_limits<double>::quiet_NaN();
}

// 0 is "not known" and shows as nothing: a zero would read as a free machine.
QString TextoValor(double v) { return v > 0 && std::isfinite(v) ? Q(FloatToStr(v)) : QString(); }

// Output and price cells are edited in the program's number field.
class TDelegadoNumero : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* pai, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* e = new TEditNumero(pai);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFrame(false);
        return e;
    }
};

const TUnidadeRendimento kUnidades[] = {TUnidadeRendimento::MetrosCubicos, TUnidadeRendimento::Metros};

}  // namespace

TFConfiguracaoConstrucao::TFConfiguracaoConstrucao(const TConfigConstrucao& c, QWidget* pai)
    : QDialog(pai), aceitos_(c) {
    setObjectName("FConfiguracaoConstrucao");
    setWindowTitle(QStringLiteral("Construção dos Terraços"));

    // Widths of the strip each type moves.
    auto* grupoLarguras = new QGroupBox(QStringLiteral("Largura da faixa movimentada por tipo (m)"), this);
    auto* formLarguras = new QFormLayout;
    const struct {
        const char* nome;
        const char* rotulo;
        double valor;
    } larguras[] = {{"edtLarguraEstreita", "Base &estreita:", c.larguras.estreita},
                    {"edtLarguraMedia", "Base mé&dia:", c.larguras.media},
                    {"edtLarguraLarga", "Base &larga:", c.larguras.larga},
                    {"edtLarguraMurundum", "Mu&rundum:", c.larguras.murundum}};
    for (size_t i = 0; i < edtLarguras_.size(); ++i) {
        auto* e = new TEditNumero(grupoLarguras);
        e->setObjectName(larguras[i].nome);
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(80);
        e->SetValor(larguras[i].valor);
        auto* r = new QLabel(QString::fromUtf8(larguras[i].rotulo), grupoLarguras);
        r->setBuddy(e);
        formLarguras->addRow(r, e);
        edtLarguras_[i] = e;
    }
    auto* fonte = new QLabel(QStringLiteral("Fonte: Lombardi Neto et al. (1994), Terraceamento agrícola, CATI, Boletim "
                                            "Técnico 206. Murundum: sem fonte pública; informe a largura usada na sua "
                                            "região."),
                             grupoLarguras);
    fonte->setObjectName("lblFonteLarguras");
    fonte->setWordWrap(true);
    auto* vLarguras = new QVBoxLayout(grupoLarguras);
    vLarguras->addLayout(formLarguras);
    vLarguras->addWidget(fonte);

    edtEmpolamento_ = new TEditNumero(this);
    edtEmpolamento_->setObjectName("edtEmpolamento");
    edtEmpolamento_->setAlignment(Qt::AlignRight);
    edtEmpolamento_->setFixedWidth(80);
    edtEmpolamento_->SetValor(c.empolamento, "0.00####");
    auto* rotEmpolamento = new QLabel(QStringLiteral("Fator de empolamento do &solo:"), this);
    rotEmpolamento->setBuddy(edtEmpolamento_);
    const QString dicaEmpolamento = "Volume de solo solto por volume cortado (" + Q(FloatToStrFixed(1, 2)) +
                                    " = sem empolamento; " + Q(FloatToStrFixed(1.25, 2)) +
                                    " = o solo solto ocupa 25% a mais).";
    edtEmpolamento_->setToolTip(dicaEmpolamento);
    rotEmpolamento->setToolTip(dicaEmpolamento);
    auto* formEmpolamento = new QFormLayout;
    formEmpolamento->addRow(rotEmpolamento, edtEmpolamento_);

    // Machines: a table the user edits, the default kept in step with its names.
    auto* grupoMaquinas = new QGroupBox(QStringLiteral("&Máquinas"), this);
    tblMaquinas_ = new QTableWidget(0, 4, grupoMaquinas);
    tblMaquinas_->setObjectName("tblMaquinas");
    tblMaquinas_->setHorizontalHeaderLabels(
        {QStringLiteral("Máquina"), QStringLiteral("Rendimento"), QStringLiteral("Unidade"), QStringLiteral("Custo (R$/h)")});
    tblMaquinas_->verticalHeader()->hide();
    tblMaquinas_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblMaquinas_->setSelectionMode(QAbstractItemView::SingleSelection);
    tblMaquinas_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                  QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    auto* delegado = new TDelegadoNumero(tblMaquinas_);
    tblMaquinas_->setItemDelegateForColumn(kRendimento, delegado);
    tblMaquinas_->setItemDelegateForColumn(kCusto, delegado);
    QHeaderView* cab = tblMaquinas_->horizontalHeader();
    cab->setSectionResizeMode(kNome, QHeaderView::Stretch);
    for (int col : {kRendimento, kUnidade, kCusto}) cab->setSectionResizeMode(col, QHeaderView::ResizeToContents);
    tblMaquinas_->horizontalHeaderItem(kUnidade)->setToolTip(
        QStringLiteral("Rendimento em m³/h: solo movimentado por hora; em m/h: metros de terraço construídos por hora."));

    btnIncluir_ = new QPushButton(QStringLiteral("&Incluir"), grupoMaquinas);
    btnIncluir_->setObjectName("btnIncluirMaquina");
    btnExcluir_ = new QPushButton(QStringLiteral("E&xcluir"), grupoMaquinas);
    btnExcluir_->setObjectName("btnExcluirMaquina");
    btnExcluir_->setEnabled(false);
    for (QPushButton* b : {btnIncluir_, btnExcluir_}) b->setAutoDefault(false);  // Enter is "&Ok"
    auto* vBotoes = new QVBoxLayout;
    vBotoes->addWidget(btnIncluir_);
    vBotoes->addWidget(btnExcluir_);
    vBotoes->addStretch(1);
    auto* hTabela = new QHBoxLayout;
    hTabela->addWidget(tblMaquinas_, 1);
    hTabela->addLayout(vBotoes);

    cbMaquinaPadrao_ = new QComboBox(grupoMaquinas);
    cbMaquinaPadrao_->setObjectName("cbMaquinaPadrao");
    cbMaquinaPadrao_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbMaquinaPadrao_->setMinimumContentsLength(30);
    auto* rotPadrao = new QLabel(QStringLiteral("Máquina &padrão:"), grupoMaquinas);
    rotPadrao->setBuddy(cbMaquinaPadrao_);
    auto* formPadrao = new QFormLayout;
    formPadrao->addRow(rotPadrao, cbMaquinaPadrao_);

    auto* nota = new QLabel(
        QStringLiteral("Rendimento ou custo em branco: os resultados pedem que sejam informados aqui."), grupoMaquinas);
    nota->setObjectName("lblNotaMaquinas");
    nota->setWordWrap(true);
    auto* vMaquinas = new QVBoxLayout(grupoMaquinas);
    vMaquinas->addLayout(hTabela, 1);
    vMaquinas->addLayout(formPadrao);
    vMaquinas->addWidget(nota);

    for (const TMaquina& m : c.maquinas) IncluirLinha(m);
    if (c.maquina >= 0 && c.maquina < cbMaquinaPadrao_->count()) cbMaquinaPadrao_->setCurrentIndex(c.maquina);

    connect(tblMaquinas_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        const int col = item->column();
        if (col == kNome) {
            cbMaquinaPadrao_->setItemText(item->row(), item->text().trimmed());
        } else if (col == kRendimento || col == kCusto) {
            // A readable number takes the program's form ("0" and "" alike: not known); anything
            // else stays as typed for "&Ok" to point at.
            const double v = Numero(item->text());
            if (!std::isnan(v) && TextoValor(v) != item->text()) item->setText(TextoValor(v));
        }
    });
    connect(tblMaquinas_, &QTableWidget::currentCellChanged, this,
            [this](int linha) { btnExcluir_->setEnabled(linha >= 0); });
    connect(btnIncluir_, &QPushButton::clicked, this, &TFConfiguracaoConstrucao::IncluirMaquina);
    connect(btnExcluir_, &QPushButton::clicked, this, &TFConfiguracaoConstrucao::ExcluirMaquina);

    const TBotoesDialogo botoes = BotoesOkCancelarAjuda(*this, kTopicoAjuda);
    connect(botoes.ok, &QPushButton::clicked, this, &TFConfiguracaoConstrucao::Confirmar);

    auto* v = new QVBoxLayout(this);
    v->addWidget(grupoLarguras);
    v->addLayout(formEmpolamento);
    v->addWidget(grupoMaquinas, 1);
    v->addSpacing(4);
    v->addWidget(botoes.caixa);
    resize(660, 560);
}

void TFConfiguracaoConstrucao::IncluirLinha(const TMaquina& m) {
    // The default list first: the table's change signal renames its item.
    cbMaquinaPadrao_->addItem(Q(m.nome));
    const int r = tblMaquinas_->rowCount();
    tblMaquinas_->insertRow(r);
    tblMaquinas_->setItem(r, kNome, new QTableWidgetItem(Q(m.nome)));
    for (const auto& [col, valor] : {std::pair{kRendimento, m.rendimento}, std::pair{kCusto, m.custoHora}}) {
        auto* item = new QTableWidgetItem(TextoValor(valor));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        tblMaquinas_->setItem(r, col, item);
    }
    auto* unidade = new QComboBox;
    unidade->setObjectName("cbUnidade");
    for (TUnidadeRendimento u : kUnidades) unidade->addItem(Q(TextoUnidadeRendimento(u)));
    unidade->setCurrentIndex(m.unidade == TUnidadeRendimento::Metros ? 1 : 0);
    tblMaquinas_->setCellWidget(r, kUnidade, unidade);
}

void TFConfiguracaoConstrucao::IncluirMaquina() {
    if (tblMaquinas_->rowCount() >= kMaxMaquinas) {
        Dialogos().Erro(this, QString::fromUtf8(kMaquinasDemais));
        return;
    }
    IncluirLinha({"", 0, 0});
    const int r = tblMaquinas_->rowCount() - 1;
    tblMaquinas_->setCurrentCell(r, kNome);
    tblMaquinas_->setFocus();
    tblMaquinas_->editItem(tblMaquinas_->item(r, kNome));
}

void TFConfiguracaoConstrucao::ExcluirMaquina() {
    const int r = tblMaquinas_->currentRow();
    if (r < 0) return;
    tblMaquinas_->removeRow(r);
    cbMaquinaPadrao_->removeItem(r);
    btnExcluir_->setEnabled(tblMaquinas_->currentRow() >= 0);
}

TConfigConstrucao TFConfiguracaoConstrucao::Lidos() const {
    TConfigConstrucao c;
    double TLargurasTerraco::*const membros[] = {&TLargurasTerraco::estreita, &TLargurasTerraco::media,
                                                 &TLargurasTerraco::larga, &TLargurasTerraco::murundum};
    for (size_t i = 0; i < edtLarguras_.size(); ++i) c.larguras.*membros[i] = Numero(edtLarguras_[i]->text());
    c.empolamento = Numero(edtEmpolamento_->text());
    c.maquinas.clear();
    for (int r = 0; r < tblMaquinas_->rowCount(); ++r) {
        TMaquina m;
        m.nome = S(tblMaquinas_->item(r, kNome)->text().trimmed());
        m.rendimento = Numero(tblMaquinas_->item(r, kRendimento)->text());
        m.custoHora = Numero(tblMaquinas_->item(r, kCusto)->text());
        const auto* u = qobject_cast<QComboBox*>(tblMaquinas_->cellWidget(r, kUnidade));
        m.unidade = kUnidades[u && u->currentIndex() == 1 ? 1 : 0];
        c.maquinas.push_back(m);
    }
    c.maquina = cbMaquinaPadrao_->currentIndex();
    return c;
}

void TFConfiguracaoConstrucao::Confirmar() {
    // A cell still being edited counts as typed.
    const QModelIndex atual = tblMaquinas_->currentIndex();
    if (QWidget* editor = tblMaquinas_->indexWidget(atual); editor && atual.column() != kUnidade) {
        QAbstractItemDelegate* delegado = tblMaquinas_->itemDelegateForIndex(atual);
        emit delegado->commitData(editor);
        emit delegado->closeEditor(editor);
    }
    const TConfigConstrucao c = Lidos();
    const TProblemaConstrucao p = ProblemaConstrucao(c);
    if (!p.texto.empty()) {
        Dialogos().Erro(this, Q(p.texto));
        Apontar(p);
        return;
    }
    aceitos_ = c;
    accept();
}

void TFConfiguracaoConstrucao::Apontar(const TProblemaConstrucao& p) {
    using C = TProblemaConstrucao::TCampo;
    auto celula = [this, &p](int col) {
        tblMaquinas_->setCurrentCell(p.indice, col);
        tblMaquinas_->setFocus();
    };
    switch (p.campo) {
        case C::Largura:
            edtLarguras_.at(static_cast<size_t>(p.indice))->setFocus();
            edtLarguras_.at(static_cast<size_t>(p.indice))->selectAll();
            break;
        case C::Empolamento:
            edtEmpolamento_->setFocus();
            edtEmpolamento_->selectAll();
            break;
        case C::Maquinas: btnIncluir_->setFocus(); break;
        case C::Nome: celula(kNome); break;
        case C::Rendimento: celula(kRendimento); break;
        case C::Custo: celula(kCusto); break;
        case C::Padrao: cbMaquinaPadrao_->setFocus(); break;
        case C::Nenhum: break;
    }
}

void TFConfiguracaoConstrucao::Aplicar(TConfigConstrucao& c) const { c = aceitos_; }

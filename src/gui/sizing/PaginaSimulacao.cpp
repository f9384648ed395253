#include "gui/sizing/PaginaSimulacao.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/project/ModeloProjeto.h"
#include "gui/common/Ajuda.h"
#include "gui/common/CursorEspera.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Grafico.h"

namespace {

// Wait cursor and the top window disabled while a chart is computed, both restored however
// the computation ends.
class TEspera {
public:
    explicit TEspera(QWidget* w) : janela_(w ? w->window() : nullptr) {
        if (janela_) janela_->setEnabled(false);
    }
    ~TEspera() {
        if (janela_) janela_->setEnabled(true);
    }

private:
    TCursorEspera cursor_;
    QWidget* janela_;
};

QGroupBox* Grupo(int g, QButtonGroup*& botoes, QObject* dono) {
    auto* caixa = new QGroupBox(Q(LegendaGrupoSimulacao(g)));
    caixa->setObjectName(QStringLiteral("rgSimula%1").arg(g));
    auto* l = new QVBoxLayout(caixa);
    botoes = new QButtonGroup(dono);
    const std::vector<std::string> itens = ItensGrupoSimulacao(g);
    for (int i = 0; i < int(itens.size()); ++i) {
        auto* r = new QRadioButton(Q(itens[size_t(i)]));
        r->setObjectName(QStringLiteral("rbSimula%1_%2").arg(g).arg(i));
        botoes->addButton(r, i);
        l->addWidget(r);
    }
    l->addStretch(1);
    return caixa;
}

void Marcar(QButtonGroup* b, int item) {
    const QSignalBlocker bloqueio(b);
    if (item < 0) {
        b->setExclusive(false);
        for (QAbstractButton* r : b->buttons()) r->setChecked(false);
        b->setExclusive(true);
    } else if (QAbstractButton* r = b->button(item)) {
        r->setChecked(true);
    }
}

}  // namespace

TfrmPaginaSimulacao::TfrmPaginaSimulacao(TModeloProjeto& m, QWidget* pai)
    : QWidget(pai), m_(m), pagina_(std::make_unique<TPaginaSimulacao>(m)) {
    setObjectName(QStringLiteral("pgSimulacao"));
    auto* v = new QVBoxLayout(this);
    auto* cima = new QHBoxLayout;

    auto* esquerda = new QVBoxLayout;
    abas_ = new QTabWidget;
    abas_->setObjectName(QStringLiteral("tabSimulacao"));
    const char* nomes[] = {"Q", "H", "Hr"};
    for (int g = 0; g < kGruposGradiente; ++g) {
        auto* folha = new QWidget;
        auto* l = new QVBoxLayout(folha);
        l->setContentsMargins(2, 2, 2, 2);
        l->addWidget(Grupo(g, grupos_[g], this));
        abas_->addTab(folha, QString::fromLatin1(nomes[g]));
    }
    esquerda->addWidget(abas_);
    grupoNivel_ = Grupo(kGrupoNivel, grupos_[kGrupoNivel], this);
    grupoNivel_->hide();  // only one of the tabs and the level group is ever shown
    esquerda->addWidget(grupoNivel_);
    for (int g = 0; g < 4; ++g)
        connect(grupos_[g], &QButtonGroup::idClicked, this, [this, g](int item) { Escolher(g, item); });
    cima->addLayout(esquerda);

    grafico_ = new TGrafico;
    grafico_->setMinimumSize(300, 200);
    cima->addWidget(grafico_, 1);
    v->addLayout(cima, 1);

    // The lists, the coefficient and the section picture.
    auto* baixo = new QHBoxLayout;
    auto* gr = new QGridLayout;
    auto lista = [&](const char* nome, QLabel*& rotulo, QLabel*& unidade, int linha, int coluna) {
        auto* c = new QComboBox;
        c->setObjectName(QString::fromLatin1(nome));
        c->setMinimumWidth(70);
        rotulo = new QLabel;
        rotulo->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(nome));
        unidade = new QLabel;
        unidade->setObjectName(QStringLiteral("lblUn") + QString::fromLatin1(nome));
        rotulo->setBuddy(c);
        gr->addWidget(rotulo, linha, coluna);
        gr->addWidget(c, linha, coluna + 1);
        gr->addWidget(unidade, linha, coluna + 2);
        connect(c, &QComboBox::currentIndexChanged, this, &TfrmPaginaSimulacao::SelecionarLinha);
        return c;
    };
    SimulaTudo_ = lista("SimulaTudo", lblTudo_, lblUnTudo_, 0, 0);
    SimulaQ_ = lista("SimulaQ", lblQ_, lblUnQ_, 1, 0);
    SimulaH_ = lista("SimulaH", lblH_, lblUnH_, 0, 3);
    SimulaHr_ = lista("SimulaHr", lblHr_, lblUnHr_, 1, 3);
    SimulaCDu_ = new QLineEdit;
    SimulaCDu_->setObjectName(QStringLiteral("SimulaCDu"));
    SimulaCDu_->setMaximumWidth(80);
    SimulaCDu_->setAlignment(Qt::AlignRight);
    SimulaCDu_->installEventFilter(this);
    auto* lblCDu = new QLabel(QStringLiteral("Coef. de &desuniformidade:"));
    lblCDu->setBuddy(SimulaCDu_);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("CalculaHR"));
    ok->setMaximumWidth(50);
    gr->addWidget(lblCDu, 2, 0);
    gr->addWidget(SimulaCDu_, 2, 1);
    gr->addWidget(ok, 2, 2);
    connect(ok, &QPushButton::clicked, this, &TfrmPaginaSimulacao::CalculaHRClick);
    connect(SimulaCDu_, &QLineEdit::returnPressed, this, &TfrmPaginaSimulacao::CalculaHRClick);
    baixo->addLayout(gr, 1);
    imgSecao_ = new QLabel;
    imgSecao_->setObjectName(QStringLiteral("imgSecaoSimulacao"));
    imgSecao_->setFixedSize(120, 60);
    imgSecao_->setScaledContents(true);
    baixo->addWidget(imgSecao_);
    v->addLayout(baixo);

    auto* rodape = new QHBoxLayout;
    auto botao = [&](const QString& texto, const char* nome) {
        auto* b = new QPushButton(texto);
        b->setObjectName(QString::fromLatin1(nome));
        rodape->addWidget(b);
        return b;
    };
    connect(botao(QStringLiteral("Copiar gráfico"), "btnCopiarGrafico"), &QPushButton::clicked, grafico_, &TGrafico::Copiar);
    connect(botao(QStringLiteral("Salvar gráfico"), "btnSalvarGrafico"), &QPushButton::clicked, grafico_, &TGrafico::SalvarPng);
    connect(botao(QStringLiteral("Exportar CSV"), "btnExportarCsv"), &QPushButton::clicked, this,
            [this] { grafico_->ExportarCsv(Csv(), Q(atual_.Nome)); });
    rodape->addStretch(1);
    connect(botao(QStringLiteral("&Voltar"), "btnVoltarSimula"), &QPushButton::clicked, this, [this] {
        if (AoVoltar) AoVoltar();
    });
    connect(botao(QStringLiteral("&Relatório"), "btnRelatorioSimula"), &QPushButton::clicked, this, [this] {
        if (AoRelatorio) AoRelatorio();
    });
    connect(botao(QStringLiteral("Aj&uda"), "btnAjudaSimula"), &QPushButton::clicked, this,
            [this] { AbrirAjuda(this, pagina_->Gradiente() ? 77 : 71); });
    v->addLayout(rodape);
}

TfrmPaginaSimulacao::~TfrmPaginaSimulacao() = default;

double TfrmPaginaSimulacao::CDu() const {
    double v = 0;
    TryStrToFloat(S(SimulaCDu_->text()), v);
    return v;
}

std::string TfrmPaginaSimulacao::Csv() const { return CsvSimulacao({TabelaSimulacao(atual_)}); }

void TfrmPaginaSimulacao::Desenhar(const std::function<TGraficoSimulacao()>& f) {
    grafico_->LimparDica();
    try {
        TEspera espera(this);
        atual_ = f();
    } catch (const EVandoro& e) {
        atual_ = {};
        Mostrar(atual_);
        Sincronizar();
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    Mostrar(atual_);
    Sincronizar();
}

void TfrmPaginaSimulacao::Abrir(const QString& cdu, const QPixmap& secao) {
    SimulaCDu_->setText(cdu);
    imgSecao_->setPixmap(secao);
    const bool gradiente = pagina_->Gradiente();
    abas_->setVisible(gradiente);
    grupoNivel_->setVisible(!gradiente);
    Desenhar([&] { return pagina_->Abrir(CDu(), &grafico_->Serie()); });
    if (gradiente) {
        abas_->setCurrentIndex(0);
        abas_->setFocus();
    }
}

void TfrmPaginaSimulacao::Escolher(int grupo, int item) {
    Desenhar([&] { return pagina_->Escolher(grupo, item, &grafico_->Serie()); });
}

void TfrmPaginaSimulacao::CalculaHRClick() {
    Desenhar([&] { return pagina_->CalculaHR(CDu(), &grafico_->Serie()); });
    if (pagina_->Gradiente()) {
        abas_->setCurrentIndex(2);
        if (QAbstractButton* b = grupos_[2]->checkedButton()) b->setFocus();
    }
}

QString TfrmPaginaSimulacao::Voltar() {
    pagina_->Voltar(CDu(), &grafico_->Serie());
    grafico_->Limpar();
    return SimulaCDu_->text();
}

// The radio groups, the tab and the lists follow the core's state.
void TfrmPaginaSimulacao::Sincronizar() {
    for (int g = 0; g < 4; ++g) Marcar(grupos_[g], pagina_->Selecionado(g));
    if (pagina_->Gradiente()) abas_->setCurrentIndex(std::clamp(pagina_->GrupoAtivo(), 0, 2));
}

void TfrmPaginaSimulacao::Mostrar(const TGraficoSimulacao& g) {
    sincronizando_ = true;
    auto encher = [](QComboBox* c, const std::vector<std::string>& linhas) {
        c->clear();
        for (const std::string& l : linhas) c->addItem(Q(l));
    };
    encher(SimulaQ_, g.SimulaQ);
    encher(SimulaH_, g.SimulaH);
    encher(SimulaHr_, g.SimulaHr);
    encher(SimulaTudo_, g.SimulaTudo);
    for (QWidget* w : {static_cast<QWidget*>(SimulaQ_), static_cast<QWidget*>(lblQ_), static_cast<QWidget*>(lblUnQ_)})
        w->setVisible(g.MostraQ);
    lblQ_->setText(QStringLiteral("Vazão:"));
    lblUnQ_->setText(QStringLiteral("L/s"));
    lblH_->setText(Q(g.RotuloH));
    lblUnH_->setText(Q(g.UnidadeH));
    lblHr_->setText(Q(g.RotuloHr));
    lblUnHr_->setText(Q(g.UnidadeHr));
    lblTudo_->setText(Q(g.RotuloX));
    lblUnTudo_->setText(Q(g.UnidadeX));
    sincronizando_ = false;
    grafico_->Ajustar(Q(g.TituloX), Q(g.TituloY));
    SelecionarLinha(0);
}

void TfrmPaginaSimulacao::SelecionarLinha(int linha) {
    if (sincronizando_) return;
    sincronizando_ = true;
    for (QComboBox* c : {SimulaQ_, SimulaH_, SimulaHr_, SimulaTudo_})
        if (linha >= 0 && linha < c->count()) c->setCurrentIndex(linha);
    sincronizando_ = false;
}

bool TfrmPaginaSimulacao::VerificarCDu() {
    if (CDuAceito(CDu())) return true;
    Dialogos().Informacao(this, Q(kMensagemCDuMinimo));
    SimulaCDu_->setText(Q(FloatToStr(kCDuMinimo)));
    SimulaCDu_->setFocus();
    return false;
}

bool TfrmPaginaSimulacao::eventFilter(QObject* o, QEvent* e) {
    if (o == SimulaCDu_) {
        if (e->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            if (k != Qt::Key_Return && k != Qt::Key_Enter) SimulaHr_->setCurrentIndex(-1);  // Hr no longer holds
        } else if (e->type() == QEvent::FocusOut && isVisible()) {
            VerificarCDu();
        }
    }
    return QWidget::eventFilter(o, e);
}

#include "gui/sizing/FrmDimensionamento.h"

#include <QApplication>
#include <QChart>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/common/Numeros.h"
#include "core/common/Regional.h"
#include "core/project/Configuracao.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/EntradaDimensionamento.h"
#include "core/sizing/RelatorioDimensionamento.h"
#include "core/sizing/Simulacao.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Aplicacao.h"
#include "gui/common/Assistentes.h"
#include "gui/common/Dialogos.h"
#include "gui/common/EditCoordenada.h"
#include "gui/common/EditNumero.h"
#include "gui/common/FRelatorio.h"
#include "gui/common/FiguraMapa.h"
#include "gui/common/Grafico.h"
#include "gui/common/GrupoCobertura.h"
#include "gui/sizing/FBentleyDim.h"
#include "gui/sizing/FCapacidadeArmazenamento.h"
#include "gui/sizing/FLombNetoDim.h"
#include "gui/sizing/FParanaDim.h"
#include "gui/sizing/PaginaSimulacao.h"

namespace {

const char* const kFmt = "0.0######";
const QString kTituloEntrada = QStringLiteral("Módulo para o dimensionamento - entrada de dados");
const QString kTituloResultados = QStringLiteral("Módulo para o dimensionamento - resultados");
const QString kTituloSimulacao = QStringLiteral("Módulo para o dimensionamento - simulação");

QString Fmt(const char* padrao, double v) { return Q(FormatFloat(padrao, v)); }

enum Metodo { Bentley = 0, LombardiNeto = 1, Parana = 2, Arbitrado = 3, Capacidade = 4 };

// A user's action ends in the error box, never in an escaping exception: the model's
// setters and solvers raise on values no field check foresaw.
template <class F>
auto Seguro(QWidget* janela, F f) {
    return [janela, f] { Protegido(janela, f); };
}

}  // namespace

struct TfrmDimensionamento::Grupo {
    QString Nome;
    QPushButton* Botao = nullptr;
    QWidget* Pagina = nullptr;
};

// One row of a group: label, field, unit and assistant button, hidden together.
struct TfrmDimensionamento::Linha {
    QList<QWidget*> Partes;
    void Visivel(bool v) const {
        for (QWidget* w : Partes)
            if (w) w->setVisible(v);
    }
};

TfrmDimensionamento::TfrmDimensionamento(TModeloProjeto& modelo, TGerenteSis& gerente, QWidget* pai,
                                         TAssistentes assistentes)
    : QWidget(pai), m_(modelo), gerente_(gerente), assist_(assistentes) {
    setObjectName(QStringLiteral("frmDimensionamento"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (!assist_.RugCan1) assist_.RugCan1 = (rugCan_ = std::make_unique<TRugCan>()).get();
    if (!assist_.RugTer1) assist_.RugTer1 = (rugTer_ = std::make_unique<TRugTer>()).get();
    if (!assist_.Sm1) assist_.Sm1 = (sm_ = std::make_unique<TSm>()).get();
    if (!assist_.Z1) assist_.Z1 = (z_ = std::make_unique<TZ>()).get();
    pastaFiguras_ = QCoreApplication::applicationDirPath();
    Lancador = [] { QProcess::startDetached(QCoreApplication::applicationDirPath() + "/vandoro", {}); };
    Montar();
    Titulo(kTituloEntrada);
    resize(755, 455);
    move(5, 5);
    PreencherCampos();
}

TfrmDimensionamento::~TfrmDimensionamento() = default;

// ---- building ----

QLineEdit* TfrmDimensionamento::NovoCampo(const char* nome, bool numero) {
    QLineEdit* e = numero ? new TEditNumero : new QLineEdit;
    e->setObjectName(QString::fromLatin1(nome));
    // A value such as "0,12" or "1500" is read whole beside the long labels.
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000,000")) + 12);
    if (numero) e->installEventFilter(this);
    return e;
}

void TfrmDimensionamento::Montar() {
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(6, 6, 6, 6);
    paginas_ = new QStackedWidget;
    paginas_->setObjectName(QStringLiteral("paginas"));
    paginas_->addWidget(MontarEntrada());
    paginas_->addWidget(MontarResultadoTerracos());
    paginas_->addWidget(MontarResultadoBacia());
    simulacao_ = new TfrmPaginaSimulacao(m_);
    simulacao_->AoVoltar = Seguro(this, [this] { VoltarSimulacao(); });
    simulacao_->AoRelatorio = Seguro(this, [this] { Relatorio(true); });
    paginas_->addWidget(simulacao_);
    raiz->addWidget(paginas_);
}

// F1 is the "Ajuda" button of the page shown. It is taken before the shortcuts, so the main
// window's F1 (the program's help) does not answer for this window.
bool TfrmDimensionamento::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1) {
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void TfrmDimensionamento::keyPressEvent(QKeyEvent* e) {
    if (e->key() != Qt::Key_F1) {
        QWidget::keyPressEvent(e);
        return;
    }
    static const char* const botoes[] = {"btnAjuda", "btnAjudaResultado", "btnAjudaBacia", "btnAjudaSimula"};
    const int p = paginas_->currentIndex();
    if (p >= 0 && p <= 3)
        if (auto* b = paginas_->currentWidget()->findChild<QPushButton*>(QString::fromLatin1(botoes[p]))) b->click();
    e->accept();
}

QWidget* TfrmDimensionamento::MontarEntrada() {
    auto* pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("pgEntrada"));
    auto* v = new QVBoxLayout(pagina);

    auto* topo = new QHBoxLayout;
    auto* lblSistema = new QLabel(QStringLiteral("Sistema: "));
    cbSistema_ = new QComboBox;
    cbSistema_->setObjectName(QStringLiteral("cbSistema"));
    cbSistema_->addItems({QStringLiteral(" Terraços em Nível(sem drenagem)"),
                          QStringLiteral(" Terraços com Gradiente(com drenagem)"),
                          QStringLiteral(" Barragens de Contenção(Barraginhas)")});
    lblSistema->setBuddy(cbSistema_);
    topo->addWidget(lblSistema);
    topo->addWidget(cbSistema_, 1);
    v->addLayout(topo);

    auto* meio = new QHBoxLayout;
    auto* botoes = new QVBoxLayout;
    grupos_ = new QStackedWidget;
    grupos_->setObjectName(QStringLiteral("grupos"));

    auto novoGrupo = [&](const QString& nome, const char* botao) {
        auto g = std::make_unique<Grupo>();
        g->Nome = nome;
        g->Botao = new QPushButton(nome);
        g->Botao->setObjectName(QString::fromLatin1(botao));
        g->Botao->setCheckable(true);
        g->Botao->setAutoExclusive(true);
        g->Botao->setMinimumWidth(110);
        auto* caixa = new QGroupBox(nome);
        caixa->setObjectName(QStringLiteral("gb") + QString::fromLatin1(botao + 3));
        g->Pagina = caixa;
        botoes->addWidget(g->Botao);
        grupos_->addWidget(caixa);
        connect(g->Botao, &QPushButton::clicked, this, [this, nome] { AbrirGrupo(nome); });
        auto* grade = new QGridLayout(caixa);
        grade->setColumnStretch(1, 1);
        listaGrupos_.push_back(std::move(g));
        return grade;
    };
    auto linha = [&](QGridLayout* grade, const QString& rotulo, QLineEdit* campo, QLabel* unidade = nullptr,
                     QPushButton* botao = nullptr) {
        const int r = grade->rowCount();
        auto* l = new QLabel(rotulo);
        l->setBuddy(campo);
        grade->addWidget(l, r, 0);
        grade->addWidget(campo, r, 1);
        if (unidade) grade->addWidget(unidade, r, 2);
        if (botao) grade->addWidget(botao, r, 3);
        auto ln = std::make_unique<Linha>();
        ln->Partes = {l, campo, unidade, botao};
        linhas_.push_back(std::move(ln));
        return linhas_.back().get();
    };
    auto unidade = [](const char* nome, const QString& texto = QString()) {
        auto* l = new QLabel(texto);
        l->setObjectName(QString::fromLatin1(nome));
        l->setMinimumWidth(40);
        return l;
    };
    auto assistente = [this](const char* nome) {
        auto* b = new QPushButton(QStringLiteral("..."));
        b->setObjectName(QString::fromLatin1(nome));
        b->setFixedWidth(28);
        return b;
    };

    // Precipitação
    QGridLayout* g = novoGrupo(QStringLiteral("Precipitação"), "btnPrecipitacao");
    edtTr_ = NovoCampo("edtTr");
    edtK_ = NovoCampo("edtK");
    edt_a_ = NovoCampo("edt_a");
    edt_b_ = NovoCampo("edt_b");
    edt_c_ = NovoCampo("edt_c");
    meLatitude_ = new TEditCoordenada(nullptr, TEditCoordenada::SemSinal);
    meLongitude_ = new TEditCoordenada(nullptr, TEditCoordenada::SemSinal);
    meLatitude_->setObjectName(QStringLiteral("meLatitude"));
    meLongitude_->setObjectName(QStringLiteral("meLongitude"));
    for (QLineEdit* c : {meLatitude_, meLongitude_})
        connect(c, &QLineEdit::textEdited, this, &TfrmDimensionamento::Alterou);
    linha(g, QStringLiteral("Tr:"), edtTr_, unidade("lblUnTr", QStringLiteral("anos")));
    linha(g, QStringLiteral("K:"), edtK_);
    linha(g, QStringLiteral("a:"), edt_a_);
    linha(g, QStringLiteral("b:"), edt_b_);
    linha(g, QStringLiteral("c:"), edt_c_);
    linha(g, QStringLiteral("Latitude:"), meLatitude_);
    linha(g, QStringLiteral("Longitude:"), meLongitude_);
    btnConsulta_ = new QPushButton(QStringLiteral("C&onsulta"));
    btnConsulta_->setObjectName(QStringLiteral("btnConsulta"));
    btnConsulta_->setEnabled(false);
    btnConsulta_->setToolTip(QStringLiteral("Consulta ao banco de equações de chuvas intensas"));
    g->addWidget(btnConsulta_, g->rowCount(), 1, 1, 1, Qt::AlignLeft);
    connect(btnConsulta_, &QPushButton::clicked, this, Seguro(this, [this] { btnConsultaClick(); }));
    g->setRowStretch(g->rowCount(), 1);

    // Canal
    g = novoGrupo(QStringLiteral("Canal"), "btnCanal");
    edtDecCanal_ = NovoCampo("edtDecCanal");
    edtCompCanal_ = NovoCampo("edtCompCanal");
    edtRugCanal_ = NovoCampo("edtRugCanal");
    edtSt_ = NovoCampo("edtSt");
    edtSm_ = NovoCampo("edtSm");
    lblUnDecCanal_ = unidade("lblUnDecCanal");
    lblUnSt_ = unidade("lblUnSt");
    lblUnSm_ = unidade("lblUnSm");
    auto* btnRugCanal = assistente("btnRugCanal");
    auto* btnSm = assistente("btnSm");
    Linha* lDecCanal = linha(g, QStringLiteral("Declividade:"), edtDecCanal_, lblUnDecCanal_);
    Linha* lCompCanal = linha(g, QStringLiteral("Comprimento:"), edtCompCanal_, unidade("lblUnCompCanal", "m"));
    Linha* lRugCanal = linha(g, QStringLiteral("Rugosidade:"), edtRugCanal_, nullptr, btnRugCanal);
    linha(g, QStringLiteral("St: "), edtSt_, lblUnSt_);
    linha(g, QStringLiteral("Sm:"), edtSm_, lblUnSm_, btnSm);
    g->setRowStretch(g->rowCount(), 1);
    connect(btnRugCanal, &QPushButton::clicked, this, Seguro(this, [this] { AssistenteRugCanal(); }));
    connect(btnSm, &QPushButton::clicked, this, Seguro(this, [this] { AssistenteSm(); }));

    // Terreno
    g = novoGrupo(QStringLiteral("Terreno"), "btnTerreno");
    edtDecTerreno_ = NovoCampo("edtDecTerreno");
    edtRugTerreno_ = NovoCampo("edtRugTerreno");
    lblUnDecTerreno_ = unidade("lblUnDecTerreno");
    auto* btnRugTer = assistente("btnValRugTerreno");
    linha(g, QStringLiteral("Declividade do Terreno: "), edtDecTerreno_, lblUnDecTerreno_);
    Linha* lRugTerreno = linha(g, QStringLiteral("Rugosidade do Terreno: "), edtRugTerreno_, nullptr, btnRugTer);
    g->setRowStretch(g->rowCount(), 1);
    connect(btnRugTer, &QPushButton::clicked, this, Seguro(this, [this] { AssistenteRugTerreno(); }));

    // Espaçamento
    g = novoGrupo(QStringLiteral("Espaçamento"), "btnEspacamento");
    cbMetodo_ = new QComboBox;
    cbMetodo_->setObjectName(QStringLiteral("cbMetodo"));
    cbMetodo_->addItems({QStringLiteral("Bentley"), QStringLiteral("Lombardi Neto"), QStringLiteral("Paraná"),
                         QStringLiteral("Espaçamento arbitrado")});
    // Wide enough for "Capacidade de armazenamento", added for level terraces.
    cbMetodo_->setMinimumContentsLength(27);
    cbMetodo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    {
        auto* l = new QLabel(QStringLiteral("Método: "));
        l->setBuddy(cbMetodo_);
        g->addWidget(l, 0, 0);
        g->addWidget(cbMetodo_, 0, 1, 1, 2);
    }
    edtHorizontal_ = NovoCampo("edtHorizontal");
    edtVertical_ = NovoCampo("edtVertical");
    linha(g, QStringLiteral("Horizontal:"), edtHorizontal_, unidade("lblUnHorizontal", "m"));
    linha(g, QStringLiteral("Vertical:"), edtVertical_, unidade("lblUnVertical", "m"));
    btnDefinir_ = new QPushButton(QStringLiteral("&Definir"));
    btnDefinir_->setObjectName(QStringLiteral("btnDefinir"));
    g->addWidget(btnDefinir_, g->rowCount(), 1, 1, 1, Qt::AlignLeft);
    g->setRowStretch(g->rowCount(), 1);
    connect(btnDefinir_, &QPushButton::clicked, this, Seguro(this, [this] { btnDefinirClick(); }));
    connect(cbMetodo_, &QComboBox::activated, this, &TfrmDimensionamento::MetodoMudou);

    // Solo
    g = novoGrupo(QStringLiteral("Solo"), "btnSolo");
    edtTIE_ = NovoCampo("edtTIE");
    lblUnTIE_ = unidade("lblUnTIE");
    // The longest label of the section wraps rather than being cut at the panel's edge.
    if (auto* l = qobject_cast<QLabel*>(linha(g, QStringLiteral("Taxa de infiltração estável:"), edtTIE_, lblUnTIE_)
                                            ->Partes[0]))
        l->setWordWrap(true);
    cobertura_ = new TGrupoCobertura;
    g->addWidget(cobertura_, g->rowCount(), 0, 1, 4);
    g->setRowStretch(g->rowCount(), 1);
    connect(cobertura_, &TGrupoCobertura::Alterado, this, &TfrmDimensionamento::Alterou);
    connect(edtTIE_, &QLineEdit::textChanged, this, &TfrmDimensionamento::VIBCobertura);

    // Barraginha
    g = novoGrupo(QStringLiteral("Barraginha"), "btnBarraginha");
    cbFormato_ = new QComboBox;
    cbFormato_->setObjectName(QStringLiteral("cbFormatoBarraginha"));
    cbFormato_->addItems({QStringLiteral(" Retangular"), QStringLiteral(" Semi-Circular")});
    {
        auto* l = new QLabel(QStringLiteral("Formato: "));
        l->setBuddy(cbFormato_);
        g->addWidget(l, 0, 0);
        g->addWidget(cbFormato_, 0, 1, 1, 2);
    }
    edtProfundidade_ = NovoCampo("edtProfundidade");
    edtAreaContribuicao_ = NovoCampo("edtAreaContribuicao");
    edtM1_ = NovoCampo("edtM1");
    edtM2_ = NovoCampo("edtM2");
    linha(g, QStringLiteral("Profundidade (H): "), edtProfundidade_, unidade("lblUnProfundidade", "m"));
    linha(g, QStringLiteral("Área de Contribuição: "), edtAreaContribuicao_, unidade("lblUnArea", "m2"));
    Linha* lM1 = linha(g, QStringLiteral("m1: "), edtM1_);
    Linha* lM2 = linha(g, QStringLiteral("m2: "), edtM2_);
    g->setRowStretch(g->rowCount(), 1);
    connect(cbFormato_, &QComboBox::activated, this, &TfrmDimensionamento::FormatoMudou);
    connect(cbSistema_, &QComboBox::activated, this, [this](int i) {
        AplicarSistema(i);
        Alterou();
    });

    // Rows that depend on the system or the basin shape.
    soGradiente_ = {lDecCanal, lCompCanal, lRugCanal, lRugTerreno};
    soRetangular_ = {lM1, lM2};

    botoes->addStretch(1);
    meio->addLayout(botoes);
    meio->addWidget(grupos_, 3);
    figura_ = new TFiguraMapa;
    figura_->setObjectName(QStringLiteral("imgFigura"));
    figura_->setMinimumSize(300, 240);
    figura_->Significado = [this](QRgb c) {
        TFiguraMapa::TSignificado s;
        switch (c) {
            case 0x808000:
            case 0x00FFFF:
            case 0xFFFFFF: s.Acao = true; break;
            case 0x800000:
            case 0x00FF00:
            case 0x0000FF: s.Acao = !bacia_; break;
            case 0xFFFF00:
            case 0x008080: s.Normal = !bacia_; break;
            case 0xC0C0C0: s.Normal = true; break;
            default: break;
        }
        return s;
    };
    figura_->Executar = [this](QRgb c) { ExecutarMapa(c); };
    meio->addWidget(figura_, 4);
    v->addLayout(meio, 1);

    // Edits that follow the spacing rules.
    connect(edtHorizontal_, &QLineEdit::textEdited, this, &TfrmDimensionamento::HorizontalEditado);
    connect(edtDecTerreno_, &QLineEdit::textEdited, this, [this] { DeclividadeEditada(false); });
    connect(edtSt_, &QLineEdit::textEdited, this, [this](const QString& t) {
        edtDecTerreno_->setText(t);
        DeclividadeEditada(true);
    });

    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    auto botao = [&](const QString& texto, const char* nome) {
        auto* b = new QPushButton(texto);
        b->setObjectName(QString::fromLatin1(nome));
        b->setMinimumWidth(90);
        rodape->addWidget(b);
        return b;
    };
    auto* btnCalcular = botao(QStringLiteral("Ca&lcular"), "btnCalcular");
    auto* btnCancelar = botao(QStringLiteral("Ca&ncelar"), "btnCancelar");
    auto* btnAjuda = botao(QStringLiteral("Aj&uda"), "btnAjuda");
    btnCalcular->setDefault(true);
    connect(btnCalcular, &QPushButton::clicked, this, Seguro(this, [this] { btnCalcularClick(); }));
    connect(btnCancelar, &QPushButton::clicked, this, &QWidget::close);
    connect(btnAjuda, &QPushButton::clicked, this, [this] { AbrirAjuda(this, 28); });
    v->addLayout(rodape);
    return pagina;
}

QWidget* TfrmDimensionamento::MontarResultadoTerracos() {
    auto* pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("pgResultadoTerracos"));
    auto* v = new QVBoxLayout(pagina);
    auto* cima = new QHBoxLayout;
    imgResultado_ = new QLabel;
    imgResultado_->setObjectName(QStringLiteral("imgResultado"));
    imgResultado_->setFixedSize(260, 200);
    imgResultado_->setScaledContents(true);
    imgResultado_->setFrameShape(QFrame::StyledPanel);
    cima->addWidget(imgResultado_, 0, Qt::AlignTop);

    auto* caixa = new QGroupBox(QStringLiteral("Resultados"));
    auto* grade = new QGridLayout(caixa);
    auto campo = [this](const char* nome) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(nome));
        e->setReadOnly(true);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(110);
        return e;
    };
    auto linha = [&](QGridLayout* gr, QLabel* rotulo, QLineEdit* e, QLabel* un) {
        const int r = gr->rowCount();
        rotulo->setBuddy(e);
        gr->addWidget(rotulo, r, 0);
        gr->addWidget(e, r, 1);
        if (un) gr->addWidget(un, r, 2);
    };
    lblLQ_ = new QLabel(QStringLiteral("LES:"));
    lblLQ_->setObjectName(QStringLiteral("lblLQ"));
    lblUnLQ_ = new QLabel(QStringLiteral("mm"));
    lblUnLQ_->setObjectName(QStringLiteral("lblUnLQ"));
    LQ_ = campo("LQ");
    edtResultEV_ = campo("edtResultEV");
    edtResultEH_ = campo("edtResultEH");
    HUni_ = campo("HUni");
    linha(grade, lblLQ_, LQ_, lblUnLQ_);
    linha(grade, new QLabel(QStringLiteral("Espaçamento vertical:")), edtResultEV_, new QLabel("m"));
    linha(grade, new QLabel(QStringLiteral("Espaçamento horizontal:")), edtResultEH_, new QLabel("m"));
    linha(grade, new QLabel(QStringLiteral("Altura teór&ica (H):")), HUni_, new QLabel("cm"));
    lblAviso_ = new QLabel;
    lblAviso_->setObjectName(QStringLiteral("lblAvisoResultado"));
    lblAviso_->setWordWrap(true);
    lblAviso_->setStyleSheet(QStringLiteral("color: #800000"));
    lblAviso_->hide();
    grade->addWidget(lblAviso_, grade->rowCount(), 0, 1, 3);
    grade->setRowStretch(grade->rowCount(), 1);
    cima->addWidget(caixa, 1);
    v->addLayout(cima);

    auto* real = new QGroupBox(QStringLiteral("Seção real"));
    auto* h = new QHBoxLayout(real);
    auto* gr = new QGridLayout;
    CoefUni_ = new TEditNumero;
    CoefUni_->setObjectName(QStringLiteral("CoefUni"));
    CoefUni_->setMaximumWidth(110);
    CoefUni_->setAlignment(Qt::AlignRight);
    CoefUni_->installEventFilter(this);
    HR_ = campo("HR");
    auto* btnCDu = new QPushButton(QStringLiteral("OK"));
    btnCDu->setObjectName(QStringLiteral("BtnCDu"));
    btnCDu->setMaximumWidth(50);
    auto* lblCoef = new QLabel(QStringLiteral("Coef. de &desuniformidade:"));
    lblCoef->setBuddy(CoefUni_);
    auto* lblHr = new QLabel(QStringLiteral("Altura recomendada (&Hr):"));
    lblHr->setBuddy(HR_);
    gr->addWidget(lblCoef, 0, 0);
    gr->addWidget(CoefUni_, 0, 1);
    gr->addWidget(btnCDu, 0, 2);
    gr->addWidget(lblHr, 1, 0);
    gr->addWidget(HR_, 1, 1);
    gr->addWidget(new QLabel("cm"), 1, 2);
    auto* btnAjudaSecao = new QPushButton(QStringLiteral("Ajuda"));
    btnAjudaSecao->setObjectName(QStringLiteral("btnAjudaSecao"));
    btnAjudaSecao->setMaximumWidth(70);
    gr->addWidget(btnAjudaSecao, 2, 0, Qt::AlignLeft);
    gr->setColumnStretch(3, 1);
    gr->setRowStretch(3, 1);
    h->addLayout(gr, 1);
    imgSecao_ = new QLabel;
    imgSecao_->setObjectName(QStringLiteral("imgSecao"));
    imgSecao_->setFixedSize(220, 110);
    imgSecao_->setScaledContents(true);
    h->addWidget(imgSecao_);
    v->addWidget(real);
    connect(btnCDu, &QPushButton::clicked, this, Seguro(this, [this] { BtnCDuClick(); }));
    connect(CoefUni_, &QLineEdit::returnPressed, this, Seguro(this, [this] { BtnCDuClick(); }));
    connect(CoefUni_, &QLineEdit::textEdited, HR_, &QLineEdit::clear);
    connect(btnAjudaSecao, &QPushButton::clicked, this, [this] { AbrirAjuda(this, 8); });

    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    auto botao = [&](const QString& texto, const char* nome) {
        auto* b = new QPushButton(texto);
        b->setObjectName(QString::fromLatin1(nome));
        b->setMinimumWidth(90);
        rodape->addWidget(b);
        return b;
    };
    auto* voltar = botao(QStringLiteral("&Voltar"), "btnVoltar");
    auto* relatorio = botao(QStringLiteral("&Relatório"), "btnRelatorio");
    auto* simulacao = botao(QStringLiteral("&Simulação"), "btnSimulacao");
    auto* fechar = botao(QStringLiteral("F&echar"), "btnFechar");
    auto* ajuda = botao(QStringLiteral("Aj&uda"), "btnAjudaResultado");
    connect(relatorio, &QPushButton::clicked, this, Seguro(this, [this] { Relatorio(false); }));
    connect(simulacao, &QPushButton::clicked, this, Seguro(this, [this] { BtnSimulaClick(); }));
    connect(voltar, &QPushButton::clicked, this, Seguro(this, [this] { Voltar(); }));
    connect(fechar, &QPushButton::clicked, this, &QWidget::close);
    connect(ajuda, &QPushButton::clicked, this,
            [this] { AbrirAjuda(this, resultado_.TipoSistema == TTipoSistema::Gradiente ? 78 : 76); });
    v->addLayout(rodape);
    return pagina;
}

QWidget* TfrmDimensionamento::MontarResultadoBacia() {
    auto* pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("pgResultadoBacia"));
    auto* v = new QVBoxLayout(pagina);
    auto* h = new QHBoxLayout;
    auto* caixa = new QGroupBox(QStringLiteral("Resultados"));
    auto* grade = new QGridLayout(caixa);
    auto campo = [](const char* nome) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(nome));
        e->setReadOnly(true);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(110);
        return e;
    };
    lblRaioComp_ = new QLabel(QStringLiteral("Comprimento:"));
    lblRaioComp_->setObjectName(QStringLiteral("lblRaioComp"));
    lblLargura_ = new QLabel(QStringLiteral("Largura:"));
    lblLargura_->setObjectName(QStringLiteral("lblLargura"));
    lblUnLargura_ = new QLabel("m");
    edtRaioCompBarraginha_ = campo("edtRaioCompBarraginha");
    edtResultLargBarraginha_ = campo("edtResultLargBarraginha");
    edtLESBarraginha_ = campo("edtLESBarraginha");
    edtVolumeBarraginha_ = campo("edtVolumeBarraginha");
    grade->addWidget(lblRaioComp_, 0, 0);
    grade->addWidget(edtRaioCompBarraginha_, 0, 1);
    grade->addWidget(new QLabel("m"), 0, 2);
    grade->addWidget(lblLargura_, 1, 0);
    grade->addWidget(edtResultLargBarraginha_, 1, 1);
    grade->addWidget(lblUnLargura_, 1, 2);
    grade->addWidget(new QLabel(QStringLiteral("LES:")), 2, 0);
    grade->addWidget(edtLESBarraginha_, 2, 1);
    grade->addWidget(new QLabel("mm"), 2, 2);
    grade->addWidget(new QLabel(QStringLiteral("Volume:")), 3, 0);
    grade->addWidget(edtVolumeBarraginha_, 3, 1);
    grade->addWidget(new QLabel("m3"), 3, 2);
    lblAvisoBacia_ = new QLabel;
    lblAvisoBacia_->setObjectName(QStringLiteral("lblAvisoBacia"));
    lblAvisoBacia_->setWordWrap(true);
    lblAvisoBacia_->hide();
    grade->addWidget(lblAvisoBacia_, 4, 0, 1, 3);
    grade->setRowStretch(5, 1);
    h->addWidget(caixa, 1);
    auto* graficos = new QGroupBox(QStringLiteral("Simulação"));
    auto* gv = new QVBoxLayout(graficos);
    rgSimulaBarraginha_ = new QListWidget;
    rgSimulaBarraginha_->setObjectName(QStringLiteral("rgSimulaBarraginha"));
    rgSimulaBarraginha_->setMaximumHeight(100);
    gv->addWidget(rgSimulaBarraginha_);
    graficoBacia_ = new TGrafico;
    graficoBacia_->setObjectName(QStringLiteral("GraficoBacia"));
    graficoBacia_->setMinimumSize(250, 160);
    gv->addWidget(graficoBacia_, 1);
    auto* bg = new QHBoxLayout;
    auto botaoGrafico = [&](const QString& texto, const char* nome) {
        auto* b = new QPushButton(texto);
        b->setObjectName(QString::fromLatin1(nome));
        bg->addWidget(b);
        return b;
    };
    connect(botaoGrafico(QStringLiteral("Copiar gráfico"), "btnCopiarGraficoBacia"), &QPushButton::clicked, graficoBacia_,
            &TGrafico::Copiar);
    connect(botaoGrafico(QStringLiteral("Salvar gráfico"), "btnSalvarGraficoBacia"), &QPushButton::clicked, graficoBacia_,
            &TGrafico::SalvarPng);
    connect(botaoGrafico(QStringLiteral("Exportar CSV"), "btnExportarCsvBacia"), &QPushButton::clicked, this, [this] {
        graficoBacia_->ExportarCsv(CsvSimulacao({TabelaSimulacao(graficoBaciaAtual_)}), Q(graficoBaciaAtual_.Nome));
    });
    gv->addLayout(bg);
    connect(rgSimulaBarraginha_, &QListWidget::currentRowChanged, this, &TfrmDimensionamento::rgSimulaBarraginhaClick);
    h->addWidget(graficos, 2);
    v->addLayout(h, 1);

    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    auto botao = [&](const QString& texto, const char* nome) {
        auto* b = new QPushButton(texto);
        b->setObjectName(QString::fromLatin1(nome));
        b->setMinimumWidth(90);
        rodape->addWidget(b);
        return b;
    };
    auto* voltar = botao(QStringLiteral("&Voltar"), "btnVoltarBacia");
    auto* relatorio = botao(QStringLiteral("&Relatório"), "btnRelatorioBacia");
    auto* fechar = botao(QStringLiteral("F&echar"), "btnFecharBacia");
    auto* ajuda = botao(QStringLiteral("Aj&uda"), "btnAjudaBacia");
    connect(relatorio, &QPushButton::clicked, this, Seguro(this, [this] { Relatorio(false); }));
    connect(voltar, &QPushButton::clicked, this, Seguro(this, [this] { Voltar(); }));
    connect(fechar, &QPushButton::clicked, this, &QWidget::close);
    connect(ajuda, &QPushButton::clicked, this, [this] { AbrirAjuda(this, 85); });
    v->addLayout(rodape);
    return pagina;
}

// ---- state ----

void TfrmDimensionamento::Alterou() {
    if (carregando_) return;
    gerente_.SetAlterado(true);
    setWindowModified(true);
}

// Each page has its size. Inside the main window the frame is what is resized: the page
// alone would shrink inside a frame that keeps its size.
void TfrmDimensionamento::Redimensionar(int largura, int altura) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->resize(sub->size() - size() + QSize(largura, altura));
        return;
    }
    resize(largura, altura);
}

void TfrmDimensionamento::Titulo(const QString& t) { setWindowTitle(t + QStringLiteral("[*]")); }

int TfrmDimensionamento::PaginaAtual() const { return paginas_->currentIndex(); }

QString TfrmDimensionamento::GrupoAberto() const {
    for (const auto& g : listaGrupos_)
        if (grupos_->currentWidget() == g->Pagina) return g->Nome;
    return {};
}

void TfrmDimensionamento::AbrirGrupo(const QString& nome) {
    for (const auto& g : listaGrupos_) {
        if (g->Nome != nome) continue;
        if (g->Botao->isHidden()) return;
        grupos_->setCurrentWidget(g->Pagina);
        g->Botao->setChecked(true);
        AtualizarFigura();
        return;
    }
}

void TfrmDimensionamento::SetJanelaConsulta(std::function<IJanelaConsulta*()> fabrica) {
    consulta_ = std::move(fabrica);
    btnConsulta_->setEnabled(static_cast<bool>(consulta_));
}

void TfrmDimensionamento::SetPastaFiguras(const QString& pasta) {
    pastaFiguras_ = pasta;
    AtualizarFigura();
}

void TfrmDimensionamento::AtualizarFigura() {
    const QString p = pastaFiguras_ + "/";
    if (bacia_)
        figura_->Carregar(p + "bacia.bmp", p + "bacia_mapa.bmp");
    else if (GrupoAberto() == QStringLiteral("Canal"))
        figura_->Carregar(p + "canal.bmp", p + "terraco_mapa.bmp");
    else
        figura_->Carregar(p + "terraco.bmp", p + "terraco_mapa.bmp");
}

void TfrmDimensionamento::ExecutarMapa(unsigned cor) {
    switch (cor) {
        case 0x800000: AbrirGrupo(QStringLiteral("Espaçamento")); break;
        case 0x808000: AbrirGrupo(QStringLiteral("Solo")); break;
        case 0x00FF00: AbrirGrupo(QStringLiteral("Terreno")); break;
        case 0x0000FF:
            if (Lancador) Lancador();
            break;
        case 0x00FFFF: AbrirGrupo(bacia_ ? QStringLiteral("Barraginha") : QStringLiteral("Canal")); break;
        case 0xFFFFFF: AbrirGrupo(QStringLiteral("Precipitação")); break;
        default: break;
    }
}

void TfrmDimensionamento::AplicarSistema(int indice) {
    const TTipoSistema tipo = CodigoSistema(indice);
    const bool eraBacia = bacia_;
    bacia_ = tipo == TTipoSistema::BaciaAcumulacao;
    const QString aberto = GrupoAberto();
    for (const auto& g : listaGrupos_) {
        const bool terraco = g->Nome == QStringLiteral("Canal") || g->Nome == QStringLiteral("Terreno") ||
                             g->Nome == QStringLiteral("Espaçamento");
        if (terraco) g->Botao->setVisible(!bacia_);
        if (g->Nome == QStringLiteral("Barraginha")) g->Botao->setVisible(bacia_);
    }
    if (bacia_ && aberto != QStringLiteral("Precipitação") && aberto != QStringLiteral("Solo"))
        AbrirGrupo(QStringLiteral("Precipitação"));
    if (!bacia_ && eraBacia)
        AbrirGrupo(aberto == QStringLiteral("Solo") ? QStringLiteral("Solo") : QStringLiteral("Precipitação"));
    for (Linha* l : soGradiente_) l->Visivel(tipo == TTipoSistema::Gradiente);

    m_.TipoSistema().SetTipo(tipo);
    if (tipo == TTipoSistema::Nivel && cbMetodo_->count() == 4) {
        cbMetodo_->addItem(QStringLiteral("Capacidade de armazenamento"));
    } else if (tipo != TTipoSistema::Nivel && cbMetodo_->count() == 5) {
        // The storage method exists only for level terraces: back to Bentley.
        const bool eraCapacidade = cbMetodo_->currentIndex() == Capacidade;
        cbMetodo_->removeItem(Capacidade);
        if (eraCapacidade) {
            cbMetodo_->setCurrentIndex(Bentley);
            MetodoMudou(Bentley);
        }
    }
    AtualizarFigura();
}

void TfrmDimensionamento::MetodoMudou(int indice) {
    if (indice < 0) return;
    m_.SistemaAtual().Espacamento().Metodologia().SetIndex(indice);
    const bool arbitrado = indice == Arbitrado;
    edtHorizontal_->setReadOnly(!arbitrado);
    edtVertical_->setReadOnly(!arbitrado);
    edtVertical_->clear();
    if (arbitrado) {
        if (!carregando_ && edtHorizontal_->isEnabled()) edtHorizontal_->setFocus();
        HorizontalEditado();
    } else {
        edtHorizontal_->clear();
    }
    Alterou();
}

void TfrmDimensionamento::HorizontalEditado() {
    edtVertical_->setText(
        Q(EVAoVivo(S(edtHorizontal_->text()), S(edtDecTerreno_->text()), m_.Configuracao().KDecli, "0.0#")));
}

void TfrmDimensionamento::DeclividadeEditada(bool pelaSt) {
    edtVertical_->clear();
    if (cbMetodo_->currentIndex() != Arbitrado) edtHorizontal_->clear();
    if (!pelaSt) edtSt_->setText(edtDecTerreno_->text());
    const TDeclividadeDigitada d = DeclividadeDigitada(m_, S(edtDecTerreno_->text()), S(edtHorizontal_->text()));
    edtHorizontal_->setEnabled(d.valida);
    if (!d.ev.empty()) edtVertical_->setText(Q(d.ev));
    Alterou();
}

void TfrmDimensionamento::FormatoMudou(int indice) {
    if (indice < 0) return;
    m_.BaciaAcumulacao().SetFormato(static_cast<std::uint8_t>(indice));
    const bool semi = indice == 1;
    lblRaioComp_->setText(semi ? QStringLiteral("Raio:") : QStringLiteral("Comprimento:"));
    lblLargura_->setVisible(!semi);
    edtResultLargBarraginha_->setVisible(!semi);
    lblUnLargura_->setVisible(!semi);
    for (Linha* l : soRetangular_) l->Visivel(!semi);
    Alterou();
}

// The curve number beside the land cover follows the infiltration rate being typed.
void TfrmDimensionamento::VIBCobertura() {
    cobertura_->SetVIB(VIBDoCampo(S(edtTIE_->text()), m_.Configuracao().KVIB));
}

void TfrmDimensionamento::Unidades() {
    const QString ud = Q(m_.Configuracao().UDecli);
    for (QLabel* l : {lblUnDecCanal_, lblUnSt_, lblUnSm_, lblUnDecTerreno_}) l->setText(ud);
    lblUnTIE_->setText(Q(m_.Configuracao().UVIB));
}

// ---- fields and model ----

TCamposDimensionamento TfrmDimensionamento::Campos() const {
    TCamposDimensionamento f;
    f.cbSistema = cbSistema_->currentIndex();
    f.cbMetodo = cbMetodo_->currentIndex();
    f.cbFormatoBarraginha = cbFormato_->currentIndex();
    f.cbUsoDoSolo = cobertura_->UsoDoSolo();
    f.cbTratamento = cobertura_->Tratamento();
    f.cbCondicaoHidrologica = cobertura_->CondicaoHidrologica();
    const std::pair<std::string TCamposDimensionamento::*, QLineEdit*> campos[] = {
        {&TCamposDimensionamento::edtTr, edtTr_},
        {&TCamposDimensionamento::edtK, edtK_},
        {&TCamposDimensionamento::edt_a, edt_a_},
        {&TCamposDimensionamento::edt_b, edt_b_},
        {&TCamposDimensionamento::edt_c, edt_c_},
        {&TCamposDimensionamento::meLatitude, meLatitude_},
        {&TCamposDimensionamento::meLongitude, meLongitude_},
        {&TCamposDimensionamento::edtDecCanal, edtDecCanal_},
        {&TCamposDimensionamento::edtCompCanal, edtCompCanal_},
        {&TCamposDimensionamento::edtRugCanal, edtRugCanal_},
        {&TCamposDimensionamento::edtSt, edtSt_},
        {&TCamposDimensionamento::edtSm, edtSm_},
        {&TCamposDimensionamento::edtDecTerreno, edtDecTerreno_},
        {&TCamposDimensionamento::edtRugTerreno, edtRugTerreno_},
        {&TCamposDimensionamento::edtHorizontal, edtHorizontal_},
        {&TCamposDimensionamento::edtVertical, edtVertical_},
        {&TCamposDimensionamento::edtTIE, edtTIE_},
        {&TCamposDimensionamento::edtProfundidade, edtProfundidade_},
        {&TCamposDimensionamento::edtAreaContribuicao, edtAreaContribuicao_},
        {&TCamposDimensionamento::edtM1, edtM1_},
        {&TCamposDimensionamento::edtM2, edtM2_},
    };
    for (const auto& [membro, campo] : campos) f.*membro = S(campo->text());
    // A coordinate mask with no digit typed is no coordinate.
    for (auto* c : {&f.meLatitude, &f.meLongitude})
        if (c->find_first_of("0123456789") == std::string::npos) c->clear();
    return f;
}

void TfrmDimensionamento::LoadInputs() {
    carregando_ = true;
    const TCamposDimensionamento f = ::LoadInputs(m_);
    Unidades();
    cbSistema_->setCurrentIndex(f.cbSistema);
    AplicarSistema(f.cbSistema);
    edtTr_->setText(Q(f.edtTr));
    edtK_->setText(Q(f.edtK));
    edt_a_->setText(Q(f.edt_a));
    edt_b_->setText(Q(f.edt_b));
    edt_c_->setText(Q(f.edt_c));
    meLatitude_->setText(Q(f.meLatitude));
    meLongitude_->setText(Q(f.meLongitude));
    cobertura_->SetIndices(f.cbUsoDoSolo, f.cbTratamento, f.cbCondicaoHidrologica);
    edtTIE_->setText(Q(f.edtTIE));
    VIBCobertura();
    edtDecTerreno_->setText(Q(f.edtDecTerreno));
    edtSt_->setText(Q(f.edtSt));
    edtSm_->setText(Q(f.edtSm));
    // A method the list cannot show ("Nenhuma") leaves the list without a choice.
    const int metodo = f.cbMetodo < cbMetodo_->count() ? f.cbMetodo : -1;
    cbMetodo_->setCurrentIndex(metodo);
    MetodoMudou(metodo);
    edtRugTerreno_->setText(Q(f.edtRugTerreno));
    edtDecCanal_->setText(Q(f.edtDecCanal));
    edtRugCanal_->setText(Q(f.edtRugCanal));
    edtCompCanal_->setText(Q(f.edtCompCanal));
    edtHorizontal_->setEnabled(true);
    edtHorizontal_->setText(Q(f.edtHorizontal));
    edtVertical_->setText(Q(f.edtVertical));
    cbFormato_->setCurrentIndex(f.cbFormatoBarraginha);
    FormatoMudou(f.cbFormatoBarraginha);
    edtProfundidade_->setText(Q(f.edtProfundidade));
    edtM1_->setText(Q(f.edtM1));
    edtM2_->setText(Q(f.edtM2));
    edtAreaContribuicao_->setText(Q(f.edtAreaContribuicao));
    carregando_ = false;
    // Only the window's own marker: the project may hold changes made elsewhere (identification).
    setWindowModified(false);
}

void TfrmDimensionamento::Focar(const std::string& controle, const std::string& grupo) {
    paginas_->setCurrentIndex(Entrada);
    AbrirGrupo(Q(grupo));
    if (auto* w = findChild<QWidget*>(Q(controle))) w->setFocus();
}

bool TfrmDimensionamento::StoreInputs() {
    TCamposDimensionamento f = Campos();
    const TCampoEntrada ruim = PrimeiroCampoInvalido(f);
    if (!ruim.Vazio()) {
        Dialogos().Erro(this, Q(ruim.Mensagem));
        Focar(ruim.Controle, ruim.Grupo);
        return false;
    }
    const std::pair<std::string*, const char*> coords[] = {{&f.meLatitude, "latitude"}, {&f.meLongitude, "longitude"}};
    for (const auto& [texto, nome] : coords) {
        try {
            *texto = CoordenadaDoCampo(*texto, nome);
        } catch (const EVandoro& e) {
            Dialogos().Erro(this, Q(e.what()));
            Focar(texto == &f.meLatitude ? "meLatitude" : "meLongitude", "Precipitação");
            return false;
        }
    }
    try {
        ::StoreInputs(f, m_);
    } catch (const std::exception& e) {
        Dialogos().Erro(this, Q(e.what()));
        return false;
    }
    return true;
}

bool TfrmDimensionamento::ValidateInputs() {
    const TCampoEntrada vazio = PrimeiroCampoVazio(Campos());
    if (vazio.Vazio()) return true;
    Dialogos().Erro(this, Q(vazio.Mensagem));
    Focar(vazio.Controle, vazio.Grupo);
    return false;
}

double TfrmDimensionamento::Numero(const QLineEdit* campo) const { return NumeroDoCampo(S(campo->text())); }

void TfrmDimensionamento::OnLerCamposDados() { StoreInputs(); }

void TfrmDimensionamento::PreencherCampos() {
    LoadInputs();
    AbrirGrupo(QStringLiteral("Precipitação"));
}

void TfrmDimensionamento::MostrarInicio() {
    Titulo(kTituloEntrada);
    paginas_->setCurrentIndex(Entrada);
    Redimensionar(755, 455);
}

void TfrmDimensionamento::AtualizarUnidades() {
    const TConfiguracao& cfg = m_.Configuracao();
    const bool salvo = carregando_;
    carregando_ = true;
    Unidades();
    const TNumeroDaCurva& cn = m_.NumeroDaCurva();
    auto reexibir = [](QLineEdit* e, double interno, double fator) {
        e->setText(Q(ReexibirCampo(S(e->text()), interno, fator)));
    };
    reexibir(edtDecCanal_, m_.TerracosGradiente().Sc(), cfg.KDecli);
    reexibir(edtDecTerreno_, cn.St(), cfg.KDecli);
    reexibir(edtSm_, m_.SistemaAtual().Sm().Value(), cfg.KDecli);
    reexibir(edtSt_, cn.St(), cfg.KDecli);
    reexibir(edtTIE_, cn.VIB(), cfg.KVIB);
    VIBCobertura();
    carregando_ = salvo;
}

// ---- buttons ----

void TfrmDimensionamento::VerificarComprimento() {
    std::string comprimento = S(edtCompCanal_->text());
    if (!LimitarComprimentoCanal(comprimento)) return;
    Dialogos().Informacao(this, Q(kMensagemComprimentoCanal));
    edtCompCanal_->setText(Q(comprimento));
    edtCompCanal_->setFocus();
}

bool TfrmDimensionamento::VerificarCoefUni() {
    double v = 0;
    TryStrToFloat(S(CoefUni_->text()), v);
    if (CDuAceito(v)) return true;
    Dialogos().Informacao(this, Q(kMensagemCDuMinimo));
    CoefUni_->setText(Q(FloatToStr(kCDuMinimo)));
    CoefUni_->setFocus();
    return false;
}

void TfrmDimensionamento::btnCalcularClick() {
    if (CodigoSistema(cbSistema_->currentIndex()) == TTipoSistema::Gradiente) VerificarComprimento();
    if (!StoreInputs()) return;
    if (!ValidateInputs()) return;
    try {
        resultado_ = ::Calcular(m_);
    } catch (const EErroCalculo& e) {
        Dialogos().ErroDetalhado(this, Q(e.what()), Q(e.Detalhe()));
        return;
    } catch (const std::exception& e) {
        // A rule checked before the computation: its message says what to change.
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    MostrarResultado();
}

void TfrmDimensionamento::MostrarResultado() {
    const std::vector<TLinhaResultado> l = LinhasResultado(resultado_);
    auto avisos = [&](size_t desde, QLabel* rotulo) {
        QStringList t;
        for (size_t i = desde; i < l.size(); ++i)
            t << Q(l[i].Rotulo + (l[i].Valor.empty() ? "" : " " + l[i].Valor) +
                   (l[i].Unidade.empty() ? "" : " " + l[i].Unidade));
        const std::string aviso = AvisoResultado(resultado_);
        if (!aviso.empty()) t << Q(aviso);
        rotulo->setText(t.join('\n'));
        rotulo->setVisible(!t.isEmpty());
    };
    Titulo(kTituloResultados);
    const QString p = pastaFiguras_ + "/";
    if (resultado_.TipoSistema == TTipoSistema::BaciaAcumulacao) {
        const bool semi = resultado_.Formato == 1;
        size_t i = 0;
        lblRaioComp_->setText(Q(l[i].Rotulo));
        edtRaioCompBarraginha_->setText(Q(l[i++].Valor));
        if (!semi) edtResultLargBarraginha_->setText(Q(l[i++].Valor));
        lblLargura_->setVisible(!semi);
        edtResultLargBarraginha_->setVisible(!semi);
        lblUnLargura_->setVisible(!semi);
        edtLESBarraginha_->setText(Q(l[i++].Valor));
        edtVolumeBarraginha_->setText(Q(l[i++].Valor));
        avisos(i, lblAvisoBacia_);
        {
            const QSignalBlocker bloqueio(rgSimulaBarraginha_);
            rgSimulaBarraginha_->clear();
            for (const std::string& item : ItensGraficoBacia(resultado_.Formato)) rgSimulaBarraginha_->addItem(Q(item));
        }
        paginas_->setCurrentIndex(ResultadoBacia);
        Redimensionar(660, 475);
        rgSimulaBarraginha_->setCurrentRow(0);
        rgSimulaBarraginhaClick(0);
        return;
    }
    imgResultado_->setPixmap(QPixmap(p + (resultado_.TipoSistema == TTipoSistema::Gradiente ? "grad.bmp" : "nivel.bmp")));
    imgSecao_->setPixmap(QPixmap(p + (m_.SistemaAtual().Secao().Triangular() ? "secao_triangular.bmp"
                                                                              : "secao_trapezoidal.bmp")));
    lblLQ_->setText(Q(l[0].Rotulo));
    LQ_->setText(Q(l[0].Valor));
    lblUnLQ_->setText(Q(l[0].Unidade));
    edtResultEV_->setText(Q(l[1].Valor));
    edtResultEH_->setText(Q(l[2].Valor));
    HUni_->setText(Q(l[3].Valor));
    CoefUni_->setText(Q(l[4].Valor));
    HR_->setText(Q(l[5].Valor));
    avisos(6, lblAviso_);
    paginas_->setCurrentIndex(ResultadoTerracos);
    Redimensionar(660, 465);
    CoefUni_->setFocus();
}

void TfrmDimensionamento::BtnCDuClick() {
    double cdu = 0;
    TryStrToFloat(S(CoefUni_->text()), cdu);
    DefinirAlturaRecomendada(m_.SistemaAtual(), cdu);
    MostrarAlturaRecomendada();
}

// The coefficient and its height as the model holds them: what "Relatório" prints.
void TfrmDimensionamento::MostrarAlturaRecomendada() {
    const TSistemaConservacao& s = m_.SistemaAtual();
    CoefUni_->setText(Fmt("0.00", s.CDu()));
    HR_->setText(Fmt("0.0", s.Hr()));
}

void TfrmDimensionamento::Voltar() {
    if (paginas_->currentIndex() == ResultadoTerracos) BtnCDuClick();
    MostrarInicio();
}

void TfrmDimensionamento::btnDefinirClick() {
    const TConfiguracao& cfg = m_.Configuracao();
    TSistemaConservacao& s = m_.SistemaAtual();
    TEspacamento copia;
    copia.Assign(s.Espacamento());
    double declive = 0;
    try {
        declive = Numero(edtDecTerreno_) / cfg.KDecli;
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        Focar("edtDecTerreno", "Terreno");
        return;
    }
    const int pct = DeclividadeInteira(declive);
    int resultado = QDialog::Rejected;
    int pctFinal = pct;
    switch (cbMetodo_->currentIndex()) {
        case Bentley: {
            const std::string aviso = AvisoDeclividadeBentley(declive, cfg.UDecli);
            if (!aviso.empty()) Dialogos().Informacao(this, Q(aviso));
            TFBentleyDim d(this);
            d.SetDeclividade(pct);
            resultado = d.EditSpacing(copia);
            pctFinal = d.Declividade();
            break;
        }
        case LombardiNeto: {
            TFLombNetoDim d(this);
            d.SetDeclividade(pct);
            d.SetSistemas(&m_.TerracosNivel(), &m_.TerracosGradiente());
            d.SetNivel(m_.TipoSistema().Tipo() == TTipoSistema::Nivel);
            d.SetUnidade(cfg.UDecli);
            resultado = d.EditSpacing(copia);
            pctFinal = d.Declividade();
            break;
        }
        case Parana: {
            try {
                VerificarDeclividadeParana(declive, cfg.UDecli);
            } catch (const EVandoro& e) {
                Dialogos().Informacao(this, Q(e.what()));
                break;
            }
            TFParanaDim d(this);
            d.SetDeclividade(pct);
            resultado = d.EditSpacing(copia);
            pctFinal = d.Declividade();
            break;
        }
        case Capacidade: {
            if (!StoreInputs()) return;
            double les = 0;
            try {
                les = m_.NumeroDaCurva().RunoffDepth(m_.Precipitacao());
            } catch (const EVandoro& e) {
                Dialogos().Erro(this, Q(e.what()));
                break;
            }
            TFCapacidadeArmazenamento d(this);
            d.SetDeclividade(pct);
            resultado = d.EditSpacing(copia, s, les);
            pctFinal = d.Declividade();
            break;
        }
        default: break;
    }
    if (resultado == QDialog::Accepted) {
        const double novo = pctFinal / 100.0;
        m_.NumeroDaCurva().SetSt(novo);
        s.Espacamento().Assign(copia);
        edtDecTerreno_->setText(Fmt(kFmt, cfg.KDecli * novo));
        edtVertical_->setText(Fmt("0.0##", s.Espacamento().EV()));
        edtHorizontal_->setText(Fmt("0.0#", s.Espacamento().EH()));
        edtHorizontal_->setEnabled(true);
        edtSt_->setText(edtDecTerreno_->text());
    }
    Alterou();
}

void TfrmDimensionamento::btnConsultaClick() {
    if (!consulta_) return;
    IJanelaConsulta* janela = consulta_();
    if (!janela) return;
    try {
        // The consultation is the tool that fills K, a, b, c: empty fields open it with empty
        // boxes instead of being refused by the storm's setters.
        TCamposConsulta campos{Numero(edtK_), Numero(edt_a_), Numero(edt_b_), Numero(edt_c_), {}, {}};
        const TCamposDimensionamento f = Campos();
        campos.Latitude = CoordenadaDoCampo(f.meLatitude, "latitude");
        campos.Longitude = CoordenadaDoCampo(f.meLongitude, "longitude");
        if (!m_.Quenda().Execute(*janela, campos)) return;
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    const auto& p = m_.Precipitacao();
    edtK_->setText(Fmt(kFmt, p.K()));
    edt_a_->setText(Fmt(kFmt, p.A()));
    edt_b_->setText(Fmt(kFmt, p.B()));
    edt_c_->setText(Fmt(kFmt, p.C()));
    meLatitude_->setText(Q(m_.Quenda().Latitude()));
    meLongitude_->setText(Q(m_.Quenda().Longitude()));
    Alterou();
}

void TfrmDimensionamento::AssistenteRugCanal() {
    TRugCan& a = *assist_.RugCan1;
    TReal& nc = m_.TerracosGradiente().nc();
    a.HelpContext = 12;
    a.Valor = nc.Value();
    a.Indice = nc.Index();
    if (!a.Execute(this)) return;
    nc = TReal(a.Valor, static_cast<std::int8_t>(a.Indice));
    edtRugCanal_->setText(Fmt(kFmt, a.Valor));
    Alterou();
}

void TfrmDimensionamento::AssistenteRugTerreno() {
    TRugTer& a = *assist_.RugTer1;
    TReal& nt = m_.NumeroDaCurva().nt();
    a.HelpContext = 30;
    a.Valor = nt.Value();
    a.Indice = nt.Index();
    if (!a.Execute(this)) return;
    nt = TReal(a.Valor, static_cast<std::int8_t>(a.Indice));
    edtRugTerreno_->setText(Fmt(kFmt, a.Valor));
    Alterou();
}

void TfrmDimensionamento::AssistenteSm() {
    TSm& a = *assist_.Sm1;
    if (!EscolherSm(this, a, m_.Configuracao(), m_.SistemaAtual().Sm())) return;
    edtSm_->setText(Fmt(kFmt, a.Valor));
    Alterou();
}

// ---- events ----

void TfrmDimensionamento::closeEvent(QCloseEvent* e) {
    if (!StoreInputs()) {
        e->ignore();
        return;
    }
    e->accept();
}

bool TfrmDimensionamento::eventFilter(QObject* o, QEvent* e) {
    auto* campo = qobject_cast<QLineEdit*>(o);
    if (!campo) return QWidget::eventFilter(o, e);
    if (e->type() == QEvent::FocusOut) {
        if (campo == edtCompCanal_) VerificarComprimento();
        if (campo == CoefUni_ && paginas_->currentIndex() == ResultadoTerracos) VerificarCoefUni();
    } else if (e->type() == QEvent::FocusIn && campo == edtHorizontal_ && !edtHorizontal_->isReadOnly()) {
        HorizontalEditado();
    } else if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() != Qt::Key_F1) {
        // Every key in a number field counts as an edit, refused or not (F1 is help).
        Alterou();
        return false;
    }
    return QWidget::eventFilter(o, e);
}

// ---- report and charts ----

void TfrmDimensionamento::Relatorio(bool comSimulacao) {
    // A coefficient typed on the result page counts as applied: the report and the page agree.
    if (paginas_->currentIndex() == ResultadoTerracos) {
        VerificarCoefUni();
        BtnCDuClick();
    }
    TOpcoesRelatorio o;
    // The header comes from the program folder the rainfall component knows, else the window's
    // picture folder (the program's); either may come without its final separator.
    o.PastaPrograma = m_.Quenda().PastaPrograma();
    if (o.PastaPrograma.empty()) o.PastaPrograma = S(pastaFiguras_);
    if (o.PastaPrograma.back() != '/') o.PastaPrograma += '/';
    QMap<QString, QImage> imagens;
    if (comSimulacao) {
        const QImage img = simulacao_->Grafico()->Imagem();
        o.Simulacao = TFiguraGrafico{};
        o.Simulacao->Altura = img.height();
        o.Simulacao->Largura = img.width();
        imagens.insert(Q(o.Simulacao->Arquivo), img);
    }
    const TTipoSistema tipo = resultado_.TipoSistema;
    const char* titulo = tipo == TTipoSistema::Nivel       ? kTituloRelatorioNivel
                         : tipo == TTipoSistema::Gradiente ? kTituloRelatorioGradiente
                                                           : kTituloRelatorioBacia;
    std::string texto;
    try {
        texto = RelatorioDimensionamento(m_, o);
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    MostrarRelatorio(this, Q(LegendaJanelaRelatorio(titulo)), Q(texto), imagens);
}

void TfrmDimensionamento::BtnSimulaClick() {
    Titulo(kTituloSimulacao);
    paginas_->setCurrentIndex(Simulacao);
    Redimensionar(660, 475);
    simulacao_->Abrir(CoefUni_->text(), imgSecao_->pixmap());
}

void TfrmDimensionamento::VoltarSimulacao() {
    Titulo(kTituloResultados);
    simulacao_->Voltar();
    MostrarAlturaRecomendada();
    paginas_->setCurrentIndex(ResultadoTerracos);
    Redimensionar(660, 465);
    CoefUni_->setFocus();
}

void TfrmDimensionamento::rgSimulaBarraginhaClick(int item) {
    if (item < 0) return;
    graficoBacia_->Limpar();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        graficoBaciaAtual_ = PlotBasinSimulation(m_, item, &graficoBacia_->Serie());
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        graficoBaciaAtual_ = {};
        graficoBacia_->Ajustar({}, {});
        graficoBacia_->chart()->setTitle({});
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    QApplication::restoreOverrideCursor();
    graficoBacia_->Ajustar(Q(graficoBaciaAtual_.TituloX), Q(graficoBaciaAtual_.TituloY));
    graficoBacia_->chart()->setTitle(Q(graficoBaciaAtual_.Aviso));
}

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
#include "core/model/DesenhoSecao.h"
#include "core/sizing/ConstrucaoDimensionamento.h"
#include "core/sizing/EntradaDimensionamento.h"
#include "core/sizing/RelatorioDimensionamento.h"
#include "core/sizing/Simulacao.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Aplicacao.h"
#include "gui/common/Assistentes.h"
#include "gui/common/Dialogos.h"
#include "gui/common/EditNumero.h"
#include "gui/common/FRelatorio.h"
#include "gui/common/FiguraMapa.h"
#include "render/FiguraSecao.h"
#include "gui/common/Grafico.h"
#include "gui/common/GrupoCobertura.h"
#include "gui/common/GrupoPrecipitacao.h"
#include "gui/sizing/FBentleyDim.h"
#include "gui/sizing/FCapacidadeArmazenamento.h"
#include "gui/sizing/FLombNetoDim.h"
#include "gui/sizing/FParanaDim.h"
#include "gui/sizing/GrupoConstrucao.h"
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

TfrmDimensionamento::TfrmDimensionamento(TModeloProjeto& modelo, TGerenteSis& gerente, QWidget* pai,
                                         TAssistentes assistentes)
    : QWidget(pai), m_(modelo), gerente_(gerente), assist_(assistentes) {
    setObjectName(QStringLiteral("frmDimensionamento"));
    setAttribute(Qt::WA_DeleteOnClose);
    proprios_.Completar(assist_);
    estilo_.Numero = [this](QLineEdit* e) {
        // A value such as "0,12" or "1500" is read whole beside the long labels.
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000,000")) + 12);
        e->installEventFilter(this);
    };
    estilo_.Coordenada = [this](QLineEdit* e) { connect(e, &QLineEdit::textEdited, this, &TfrmDimensionamento::Alterou); };
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
    botoesGrupos_ = new QVBoxLayout;
    grupos_ = new QStackedWidget;
    grupos_->setObjectName(QStringLiteral("grupos"));
    precipitacao_ = new TGrupoPrecipitacao(m_, estilo_, QStringLiteral("Precipitação"), QStringLiteral("C&onsulta"));
    TFormulario(precipitacao_->Grade(), estilo_).Fim();
    precipitacao_->Ligar(campos_);
    NovoGrupo(QStringLiteral("Precipitação"), "btnPrecipitacao", precipitacao_);
    connect(precipitacao_, &TGrupoPrecipitacao::Alterado, this, &TfrmDimensionamento::Alterou);
    MontarCanal();
    MontarTerreno();
    MontarEspacamento();
    MontarSolo();
    MontarBarraginha();
    connect(cbSistema_, &QComboBox::activated, this, [this](int i) {
        AplicarSistema(i);
        Alterou();
    });
    botoesGrupos_->addStretch(1);
    meio->addLayout(botoesGrupos_);
    meio->addWidget(grupos_, 3);
    meio->addWidget(MontarFigura(), 4);
    v->addLayout(meio, 1);

    // Edits that follow the spacing rules.
    connect(edtHorizontal_, &QLineEdit::textEdited, this, &TfrmDimensionamento::HorizontalEditado);
    connect(edtDecTerreno_, &QLineEdit::textEdited, this, [this] { DeclividadeEditada(false); });
    connect(edtSt_, &QLineEdit::textEdited, this, [this](const QString& t) {
        edtDecTerreno_->setText(t);
        DeclividadeEditada(true);
    });
    v->addLayout(MontarRodapeEntrada());
    return pagina;
}

QGridLayout* TfrmDimensionamento::NovoGrupo(const QString& nome, const char* botao, QGroupBox* caixa) {
    auto g = std::make_unique<Grupo>();
    g->Nome = nome;
    g->Botao = new QPushButton(nome);
    g->Botao->setObjectName(QString::fromLatin1(botao));
    g->Botao->setCheckable(true);
    g->Botao->setAutoExclusive(true);
    g->Botao->setMinimumWidth(110);
    if (!caixa) caixa = new QGroupBox(nome);
    caixa->setObjectName(QStringLiteral("gb") + QString::fromLatin1(botao + 3));
    g->Pagina = caixa;
    botoesGrupos_->addWidget(g->Botao);
    grupos_->addWidget(caixa);
    connect(g->Botao, &QPushButton::clicked, this, [this, nome] { AbrirGrupo(nome); });
    listaGrupos_.push_back(std::move(g));
    return GradeDoGrupo(caixa);
}

void TfrmDimensionamento::MontarCanal() {
    TFormulario f(NovoGrupo(QStringLiteral("Canal"), "btnCanal"), estilo_);
    edtDecCanal_ = campos_.Ligar(&TCamposDimensionamento::edtDecCanal, f.Numero("edtDecCanal"));
    edtCompCanal_ = campos_.Ligar(&TCamposDimensionamento::edtCompCanal, f.Numero("edtCompCanal"));
    edtRugCanal_ = campos_.Ligar(&TCamposDimensionamento::edtRugCanal, f.Numero("edtRugCanal"));
    edtSt_ = campos_.Ligar(&TCamposDimensionamento::edtSt, f.Numero("edtSt"));
    edtSm_ = campos_.Ligar(&TCamposDimensionamento::edtSm, f.Numero("edtSm"));
    lblUnDecCanal_ = f.Unidade("lblUnDecCanal");
    lblUnSt_ = f.Unidade("lblUnSt");
    lblUnSm_ = f.Unidade("lblUnSm");
    auto* btnRugCanal = TFormulario::Assistente("btnRugCanal");
    auto* btnSm = TFormulario::Assistente("btnSm");
    soGradiente_.push_back(f.Linha(QStringLiteral("Declividade:"), edtDecCanal_, lblUnDecCanal_));
    soGradiente_.push_back(f.Linha(QStringLiteral("Comprimento:"), edtCompCanal_, f.Unidade("lblUnCompCanal", "m")));
    soGradiente_.push_back(f.Linha(QStringLiteral("Rugosidade:"), edtRugCanal_, nullptr, btnRugCanal));
    f.Linha(QStringLiteral("St: "), edtSt_, lblUnSt_);
    f.Linha(QStringLiteral("Sm:"), edtSm_, lblUnSm_, btnSm);
    f.Fim();
    connect(btnRugCanal, &QPushButton::clicked, this, Seguro(this, [this] { AssistenteRugCanal(); }));
    connect(btnSm, &QPushButton::clicked, this, Seguro(this, [this] { AssistenteSm(); }));
}

void TfrmDimensionamento::MontarTerreno() {
    TFormulario f(NovoGrupo(QStringLiteral("Terreno"), "btnTerreno"), estilo_);
    edtDecTerreno_ = campos_.Ligar(&TCamposDimensionamento::edtDecTerreno, f.Numero("edtDecTerreno"));
    edtRugTerreno_ = campos_.Ligar(&TCamposDimensionamento::edtRugTerreno, f.Numero("edtRugTerreno"));
    lblUnDecTerreno_ = f.Unidade("lblUnDecTerreno");
    auto* btnRugTer = TFormulario::Assistente("btnValRugTerreno");
    f.Linha(QStringLiteral("Declividade do Terreno: "), edtDecTerreno_, lblUnDecTerreno_);
    soGradiente_.push_back(f.Linha(QStringLiteral("Rugosidade do Terreno: "), edtRugTerreno_, nullptr, btnRugTer));
    f.Fim();
    connect(btnRugTer, &QPushButton::clicked, this, Seguro(this, [this] { AssistenteRugTerreno(); }));
}

void TfrmDimensionamento::MontarEspacamento() {
    TFormulario f(NovoGrupo(QStringLiteral("Espaçamento"), "btnEspacamento"), estilo_);
    cbMetodo_ = new QComboBox;
    cbMetodo_->setObjectName(QStringLiteral("cbMetodo"));
    cbMetodo_->addItems({QStringLiteral("Bentley"), QStringLiteral("Lombardi Neto"), QStringLiteral("Paraná"),
                         QStringLiteral("Espaçamento arbitrado")});
    // Wide enough for "Capacidade de armazenamento", added for level terraces.
    cbMetodo_->setMinimumContentsLength(27);
    cbMetodo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    f.Cabecalho(QStringLiteral("Método: "), cbMetodo_);
    edtHorizontal_ = campos_.Ligar(&TCamposDimensionamento::edtHorizontal, f.Numero("edtHorizontal"));
    edtVertical_ = campos_.Ligar(&TCamposDimensionamento::edtVertical, f.Numero("edtVertical"));
    f.Linha(QStringLiteral("Horizontal:"), edtHorizontal_, f.Unidade("lblUnHorizontal", "m"));
    f.Linha(QStringLiteral("Vertical:"), edtVertical_, f.Unidade("lblUnVertical", "m"));
    btnDefinir_ = new QPushButton(QStringLiteral("&Definir"));
    btnDefinir_->setObjectName(QStringLiteral("btnDefinir"));
    f.Sozinho(btnDefinir_);
    f.Fim();
    connect(btnDefinir_, &QPushButton::clicked, this, Seguro(this, [this] { btnDefinirClick(); }));
    connect(cbMetodo_, &QComboBox::activated, this, &TfrmDimensionamento::MetodoMudou);
}

void TfrmDimensionamento::MontarSolo() {
    TFormulario f(NovoGrupo(QStringLiteral("Solo"), "btnSolo"), estilo_);
    edtTIE_ = campos_.Ligar(&TCamposDimensionamento::edtTIE, f.Numero("edtTIE"));
    lblUnTIE_ = f.Unidade("lblUnTIE");
    // The longest label of the section wraps rather than being cut at the panel's edge.
    f.Linha(QStringLiteral("Taxa de infiltração estável:"), edtTIE_, lblUnTIE_).Rotulo->setWordWrap(true);
    cobertura_ = new TGrupoCobertura;
    f.Grade()->addWidget(cobertura_, f.Grade()->rowCount(), 0, 1, 4);
    f.Fim();
    connect(cobertura_, &TGrupoCobertura::Alterado, this, &TfrmDimensionamento::Alterou);
    connect(edtTIE_, &QLineEdit::textChanged, this, &TfrmDimensionamento::VIBCobertura);
}

void TfrmDimensionamento::MontarBarraginha() {
    TFormulario f(NovoGrupo(QStringLiteral("Barraginha"), "btnBarraginha"), estilo_);
    cbFormato_ = new QComboBox;
    cbFormato_->setObjectName(QStringLiteral("cbFormatoBarraginha"));
    cbFormato_->addItems({QStringLiteral(" Retangular"), QStringLiteral(" Semi-Circular")});
    f.Cabecalho(QStringLiteral("Formato: "), cbFormato_);
    edtProfundidade_ = campos_.Ligar(&TCamposDimensionamento::edtProfundidade, f.Numero("edtProfundidade"));
    edtAreaContribuicao_ = campos_.Ligar(&TCamposDimensionamento::edtAreaContribuicao, f.Numero("edtAreaContribuicao"));
    edtM1_ = campos_.Ligar(&TCamposDimensionamento::edtM1, f.Numero("edtM1"));
    edtM2_ = campos_.Ligar(&TCamposDimensionamento::edtM2, f.Numero("edtM2"));
    f.Linha(QStringLiteral("Profundidade (H): "), edtProfundidade_, f.Unidade("lblUnProfundidade", "m"));
    f.Linha(QStringLiteral("Área de Contribuição: "), edtAreaContribuicao_, f.Unidade("lblUnArea", "m2"));
    // Rows of the rectangular shape only.
    soRetangular_.push_back(f.Linha(QStringLiteral("m1: "), edtM1_));
    soRetangular_.push_back(f.Linha(QStringLiteral("m2: "), edtM2_));
    f.Fim();
    connect(cbFormato_, &QComboBox::activated, this, &TfrmDimensionamento::FormatoMudou);
}

TFiguraMapa* TfrmDimensionamento::MontarFigura() {
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
    return figura_;
}

QLayout* TfrmDimensionamento::MontarRodapeEntrada() {
    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    auto* btnCalcular = BotaoRodape(rodape, QStringLiteral("Ca&lcular"), "btnCalcular");
    auto* btnCancelar = BotaoRodape(rodape, QStringLiteral("Ca&ncelar"), "btnCancelar");
    auto* btnAjuda = BotaoRodape(rodape, QStringLiteral("Aj&uda"), "btnAjuda");
    btnCalcular->setDefault(true);
    connect(btnCalcular, &QPushButton::clicked, this, Seguro(this, [this] { btnCalcularClick(); }));
    connect(btnCancelar, &QPushButton::clicked, this, &QWidget::close);
    connect(btnAjuda, &QPushButton::clicked, this, [this] { AbrirAjuda(this, 28); });
    return rodape;
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
    auto linha = [&](QLabel* rotulo, QLineEdit* e, QLabel* un) {
        const int r = grade->rowCount();
        rotulo->setBuddy(e);
        grade->addWidget(rotulo, r, 0);
        grade->addWidget(e, r, 1);
        if (un) grade->addWidget(un, r, 2);
    };
    lblLQ_ = new QLabel(QStringLiteral("LES:"));
    lblLQ_->setObjectName(QStringLiteral("lblLQ"));
    lblUnLQ_ = new QLabel(QStringLiteral("mm"));
    lblUnLQ_->setObjectName(QStringLiteral("lblUnLQ"));
    LQ_ = CampoResultado("LQ");
    edtResultEV_ = CampoResultado("edtResultEV");
    edtResultEH_ = CampoResultado("edtResultEH");
    HUni_ = CampoResultado("HUni");
    linha(lblLQ_, LQ_, lblUnLQ_);
    linha(new QLabel(QStringLiteral("Espaçamento vertical:")), edtResultEV_, new QLabel("m"));
    linha(new QLabel(QStringLiteral("Espaçamento horizontal:")), edtResultEH_, new QLabel("m"));
    linha(new QLabel(QStringLiteral("Altura teór&ica (H):")), HUni_, new QLabel("cm"));
    lblAviso_ = new QLabel;
    lblAviso_->setObjectName(QStringLiteral("lblAvisoResultado"));
    lblAviso_->setWordWrap(true);
    lblAviso_->setStyleSheet(QStringLiteral("color: #800000"));
    lblAviso_->hide();
    grade->addWidget(lblAviso_, grade->rowCount(), 0, 1, 3);
    grade->setRowStretch(grade->rowCount(), 1);
    cima->addWidget(caixa, 1);
    v->addLayout(cima);
    v->addWidget(MontarSecaoReal());
    construcao_ = new TGrupoConstrucao(false);
    v->addWidget(construcao_);
    connect(construcao_, &TGrupoConstrucao::MaquinaEscolhida, this,
            [this](const QString& n) { Protegido(this, [&] { EscolherMaquina(n); }); });

    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    auto* voltar = BotaoRodape(rodape, QStringLiteral("&Voltar"), "btnVoltar");
    auto* relatorio = BotaoRodape(rodape, QStringLiteral("&Relatório"), "btnRelatorio");
    auto* simulacao = BotaoRodape(rodape, QStringLiteral("&Simulação"), "btnSimulacao");
    auto* fechar = BotaoRodape(rodape, QStringLiteral("F&echar"), "btnFechar");
    auto* ajuda = BotaoRodape(rodape, QStringLiteral("Aj&uda"), "btnAjudaResultado");
    connect(relatorio, &QPushButton::clicked, this, Seguro(this, [this] { Relatorio(false); }));
    connect(simulacao, &QPushButton::clicked, this, Seguro(this, [this] { BtnSimulaClick(); }));
    connect(voltar, &QPushButton::clicked, this, Seguro(this, [this] { Voltar(); }));
    connect(fechar, &QPushButton::clicked, this, &QWidget::close);
    connect(ajuda, &QPushButton::clicked, this,
            [this] { AbrirAjuda(this, resultado_.TipoSistema == TTipoSistema::Gradiente ? 78 : 76); });
    v->addLayout(rodape);
    return pagina;
}

// The coefficient of unevenness typed over the result, and the height it recommends.
QWidget* TfrmDimensionamento::MontarSecaoReal() {
    auto* real = new QGroupBox(QStringLiteral("Seção real"));
    auto* h = new QHBoxLayout(real);
    auto* gr = new QGridLayout;
    CoefUni_ = new TEditNumero;
    CoefUni_->setObjectName(QStringLiteral("CoefUni"));
    CoefUni_->setMaximumWidth(110);
    CoefUni_->setAlignment(Qt::AlignRight);
    CoefUni_->installEventFilter(this);
    HR_ = CampoResultado("HR");
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
    imgSecao_->setFixedSize(kTamanhoSecao);
    imgSecao_->setFrameShape(QFrame::StyledPanel);
    imgSecao_->setToolTip(QStringLiteral("O terraço construído: corte (claro) e camalhão (escuro) sobre o terreno "
                                         "original (tracejado).\nhc: altura do camalhão; Hr: altura recomendada; "
                                         "p: profundidade do corte."));
    h->addWidget(imgSecao_);
    connect(btnCDu, &QPushButton::clicked, this, Seguro(this, [this] { BtnCDuClick(); }));
    connect(CoefUni_, &QLineEdit::returnPressed, this, Seguro(this, [this] { BtnCDuClick(); }));
    connect(CoefUni_, &QLineEdit::textEdited, HR_, &QLineEdit::clear);
    connect(btnAjudaSecao, &QPushButton::clicked, this, [this] { AbrirAjuda(this, 8); });
    return real;
}

QWidget* TfrmDimensionamento::MontarResultadoBacia() {
    auto* pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("pgResultadoBacia"));
    auto* v = new QVBoxLayout(pagina);
    auto* h = new QHBoxLayout;
    auto* caixa = new QGroupBox(QStringLiteral("Resultados"));
    auto* grade = new QGridLayout(caixa);
    lblRaioComp_ = new QLabel(QStringLiteral("Comprimento:"));
    lblRaioComp_->setObjectName(QStringLiteral("lblRaioComp"));
    lblLargura_ = new QLabel(QStringLiteral("Largura:"));
    lblLargura_->setObjectName(QStringLiteral("lblLargura"));
    lblUnLargura_ = new QLabel("m");
    edtRaioCompBarraginha_ = CampoResultado("edtRaioCompBarraginha");
    edtResultLargBarraginha_ = CampoResultado("edtResultLargBarraginha");
    edtLESBarraginha_ = CampoResultado("edtLESBarraginha");
    edtVolumeBarraginha_ = CampoResultado("edtVolumeBarraginha");
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
    auto* esquerda = new QVBoxLayout;
    esquerda->addWidget(caixa, 1);
    construcaoBacia_ = new TGrupoConstrucao(true);
    esquerda->addWidget(construcaoBacia_);
    connect(construcaoBacia_, &TGrupoConstrucao::MaquinaEscolhida, this,
            [this](const QString& n) { Protegido(this, [&] { EscolherMaquina(n); }); });
    h->addLayout(esquerda, 1);
    h->addWidget(MontarGraficoBacia(), 1);
    v->addLayout(h, 1);

    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    auto* voltar = BotaoRodape(rodape, QStringLiteral("&Voltar"), "btnVoltarBacia");
    auto* relatorio = BotaoRodape(rodape, QStringLiteral("&Relatório"), "btnRelatorioBacia");
    auto* fechar = BotaoRodape(rodape, QStringLiteral("F&echar"), "btnFecharBacia");
    auto* ajuda = BotaoRodape(rodape, QStringLiteral("Aj&uda"), "btnAjudaBacia");
    connect(relatorio, &QPushButton::clicked, this, Seguro(this, [this] { Relatorio(false); }));
    connect(voltar, &QPushButton::clicked, this, Seguro(this, [this] { Voltar(); }));
    connect(fechar, &QPushButton::clicked, this, &QWidget::close);
    connect(ajuda, &QPushButton::clicked, this, [this] { AbrirAjuda(this, 85); });
    v->addLayout(rodape);
    return pagina;
}

// The basin's simulations: the list of charts, the chart and its copy, save and export.
QWidget* TfrmDimensionamento::MontarGraficoBacia() {
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
    return graficos;
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
    precipitacao_->SetJanelaConsulta(std::move(fabrica));
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
    for (const TLinhaFormulario& l : soGradiente_) l.Visivel(tipo == TTipoSistema::Gradiente);

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
    for (const TLinhaFormulario& l : soRetangular_) l.Visivel(!semi);
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
    campos_.Coletar(f);
    return f;
}

void TfrmDimensionamento::LoadInputs() {
    carregando_ = true;
    const TCamposDimensionamento f = ::LoadInputs(m_);
    Unidades();
    cbSistema_->setCurrentIndex(f.cbSistema);
    AplicarSistema(f.cbSistema);
    cobertura_->SetIndices(f.cbUsoDoSolo, f.cbTratamento, f.cbCondicaoHidrologica);
    // A method the list cannot show ("Nenhuma") leaves the list without a choice.
    const int metodo = f.cbMetodo < cbMetodo_->count() ? f.cbMetodo : -1;
    cbMetodo_->setCurrentIndex(metodo);
    MetodoMudou(metodo);
    cbFormato_->setCurrentIndex(f.cbFormatoBarraginha);
    FormatoMudou(f.cbFormatoBarraginha);
    // The choices above clear the spacing they govern: the texts come after them.
    edtHorizontal_->setEnabled(true);
    campos_.Preencher(f);
    VIBCobertura();
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
    const TMostrarCampo mostrar = [this](const std::string& c, const std::string& g) { Focar(c, g); };
    return CampoAceito(this, PrimeiroCampoInvalido(f), mostrar) &&
           CampoAceito(this, precipitacao_->ConverterCoordenadas(f.meLatitude, f.meLongitude), mostrar) &&
           Gravado(this, [&] { ::StoreInputs(f, m_); });
}

bool TfrmDimensionamento::ValidateInputs() {
    return CampoAceito(this, PrimeiroCampoVazio(Campos()),
                       [this](const std::string& c, const std::string& g) { Focar(c, g); });
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

void TfrmDimensionamento::AtualizarConstrucao() {
    const int p = paginas_->currentIndex();
    if (p == ResultadoTerracos || p == ResultadoBacia) MostrarConstrucao();
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
        MostrarConstrucao();
        {
            const QSignalBlocker bloqueio(rgSimulaBarraginha_);
            rgSimulaBarraginha_->clear();
            for (const std::string& item : ItensGraficoBacia(resultado_.Formato)) rgSimulaBarraginha_->addItem(Q(item));
        }
        paginas_->setCurrentIndex(ResultadoBacia);
        Redimensionar(kLarguraResultadoBacia, kAlturaResultadoBacia);
        rgSimulaBarraginha_->setCurrentRow(0);
        rgSimulaBarraginhaClick(0);
        return;
    }
    imgResultado_->setPixmap(QPixmap(p + (resultado_.TipoSistema == TTipoSistema::Gradiente ? "grad.bmp" : "nivel.bmp")));
    secaoHidraulica_ = QPixmap(p + (m_.SistemaAtual().Secao().Triangular() ? "secao_triangular.bmp"
                                                                           : "secao_trapezoidal.bmp"));
    lblLQ_->setText(Q(l[0].Rotulo));
    LQ_->setText(Q(l[0].Valor));
    lblUnLQ_->setText(Q(l[0].Unidade));
    edtResultEV_->setText(Q(l[1].Valor));
    edtResultEH_->setText(Q(l[2].Valor));
    HUni_->setText(Q(l[3].Valor));
    CoefUni_->setText(Q(l[4].Valor));
    HR_->setText(Q(l[5].Valor));
    avisos(6, lblAviso_);
    MostrarConstrucao();
    paginas_->setCurrentIndex(ResultadoTerracos);
    Redimensionar(kLarguraResultado, kAlturaResultado);
    CoefUni_->setFocus();
}

void TfrmDimensionamento::BtnCDuClick() {
    double cdu = 0;
    TryStrToFloat(S(CoefUni_->text()), cdu);
    DefinirAlturaRecomendada(m_.SistemaAtual(), cdu);
    MostrarAlturaRecomendada();
    MostrarConstrucao();  // the ridge follows the height
}

TConstrucaoDimensionamento TfrmDimensionamento::Construcao() const {
    return ConstrucaoDoDimensionamento(m_, resultado_.TipoSistema, m_.Configuracao().Construcao);
}

void TfrmDimensionamento::MostrarConstrucao() {
    const TConstrucaoDimensionamento c = Construcao();
    const auto& maquinas = m_.Configuracao().Construcao.maquinas;
    if (resultado_.TipoSistema == TTipoSistema::BaciaAcumulacao) {
        construcaoBacia_->Mostrar(c, maquinas);
        return;
    }
    construcao_->Mostrar(c, maquinas);
    imgSecao_->setPixmap(QPixmap::fromImage(ImagemSecao(DesenhoDaConstrucao(c), kTamanhoSecao)));
}

void TfrmDimensionamento::EscolherMaquina(const QString& nome) {
    if (S(nome) == m_.Maquina()) return;
    m_.SetMaquina(S(nome));
    Alterou();
    MostrarConstrucao();
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

void TfrmDimensionamento::btnConsultaClick() { precipitacao_->Consultar(); }

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

// The window closes only with its fields in the model, once: the frame's deletion closes it
// again, after another window may have changed the model.
void TfrmDimensionamento::closeEvent(QCloseEvent* e) {
    if (!fechada_) fechada_ = StoreInputs();
    e->setAccepted(fechada_);
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
    QMap<QString, QImage> imagens;
    QString texto;
    try {
        texto = TextoRelatorio(comSimulacao, imagens);
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    const TTipoSistema tipo = resultado_.TipoSistema;
    const char* titulo = tipo == TTipoSistema::Nivel       ? kTituloRelatorioNivel
                         : tipo == TTipoSistema::Gradiente ? kTituloRelatorioGradiente
                                                           : kTituloRelatorioBacia;
    MostrarRelatorio(this, Q(LegendaJanelaRelatorio(titulo)), texto, imagens);
}

QString TfrmDimensionamento::TextoRelatorio(bool comSimulacao, QMap<QString, QImage>& imagens) {
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
    if (comSimulacao) {
        const QImage img = simulacao_->Grafico()->Imagem();
        o.Simulacao = TFiguraGrafico{};
        o.Simulacao->Altura = img.height();
        o.Simulacao->Largura = img.width();
        imagens.insert(Q(o.Simulacao->Arquivo), img);
    }
    if (resultado_.TipoSistema != TTipoSistema::BaciaAcumulacao) {
        o.Secao = FiguraSecaoRelatorio();
        imagens.insert(Q(o.Secao->Arquivo), ImagemSecao(DesenhoDaConstrucao(Construcao()), QSize(o.Secao->Largura, o.Secao->Altura)));
    }
    return Q(RelatorioDimensionamento(m_, o));
}

void TfrmDimensionamento::BtnSimulaClick() {
    Titulo(kTituloSimulacao);
    paginas_->setCurrentIndex(Simulacao);
    Redimensionar(660, 475);
    simulacao_->Abrir(CoefUni_->text(), secaoHidraulica_);
}

void TfrmDimensionamento::VoltarSimulacao() {
    Titulo(kTituloResultados);
    simulacao_->Voltar();
    MostrarAlturaRecomendada();
    paginas_->setCurrentIndex(ResultadoTerracos);
    Redimensionar(kLarguraResultado, kAlturaResultado);
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

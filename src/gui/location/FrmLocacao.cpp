#include "gui/location/FrmLocacao.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/common/Arquivo.h"
#include "core/common/Numeros.h"
#include "core/location/ConstrucaoLocacao.h"
#include "core/location/Estacas.h"
#include "core/location/LocNivel.h"
#include "core/location/PlanoMapa.h"
#include "core/location/RelatorioLocacao.h"
#include "core/location/Sig.h"
#include "core/project/Configuracao.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/raster/FormatoImagem.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Aplicacao.h"
#include "gui/common/Assistentes.h"
#include "gui/common/BotoesDialogo.h"
#include "gui/common/CursorEspera.h"
#include "gui/common/Dialogos.h"
#include "gui/common/EditNumero.h"
#include "gui/common/ExtensaoPadrao.h"
#include "gui/common/FRelatorio.h"
#include "gui/common/FTipoTerraco.h"
#include "gui/common/FiguraMapa.h"
#include "gui/common/GrupoCobertura.h"
#include "gui/common/GrupoPrecipitacao.h"
#include "gui/common/TrabalhoComProgresso.h"
#include "gui/location/FMetodosLoc.h"
#include "gui/location/MapaLocacao.h"

namespace {

const char* const kFmt = "0.0######";
// The progress windows of a run: the read of the grids, then the engine.
const char* const kCarregandoImagens = "Carregando imagens";
// Modal over the whole program: nothing may read or write the shared model meanwhile.
void PrepararProgresso(TJanelaProgresso& janela, const std::function<void(TJanelaProgresso&)>& aoIniciar) {
    janela.setWindowTitle(QStringLiteral("Aguarde, processando..."));
    janela.setObjectName(QStringLiteral("TFPercent"));
    janela.setWindowModality(Qt::ApplicationModal);
    if (aoIniciar) QTimer::singleShot(0, &janela, [&janela, aoIniciar] { aoIniciar(janela); });
}
const QString kPrecipitacao = QStringLiteral("Precipitação"), kCanal = QStringLiteral("Canal"),
              kEspacamento = QStringLiteral("Espaçamento"), kTipoTerraco = QStringLiteral("Tipo de Terraço"),
              kSolo = QStringLiteral("Solo"), kTerreno = QStringLiteral("Terreno"),
              kPlano = QStringLiteral("Plano de terraços");

QString Fmt(double v) { return Q(FormatFloat(kFmt, v)); }

// The window's help topic ("Ajuda" and F1).
constexpr int kTopicoAjuda = 53;

// A column title in narrow lines: the unit in brackets on a line of its own, and words longer
// than a short title split near the middle.
QString TituloEmLinhas(QString t) {
    QString unidade;
    if (const int parentese = t.indexOf('('); parentese > 0) {
        unidade = '\n' + t.mid(parentese);
        t = t.left(parentese).trimmed();
    }
    if (t.size() > 12) {
        int melhor = -1;
        for (int i = t.indexOf(' '); i > 0; i = t.indexOf(' ', i + 1))
            if (melhor < 0 || std::abs(i - t.size() / 2) < std::abs(melhor - t.size() / 2)) melhor = i;
        if (melhor > 0) t[melhor] = '\n';
    }
    return t + unidade;
}

// The stake spacing last accepted, for the rest of the session.
double espacamentoEstacas = kEspacamentoEstacas;

// Layout of the section column.
constexpr int kTopo = 10, kPasso = 40, kAlturaBotao = 30, kLargura = 380;

}  // namespace

struct TfrmLocacao::Secao {
    QString Nome;
    QPushButton* Botao = nullptr;
    QWidget* Painel = nullptr;
};

TfrmLocacao::TfrmLocacao(TModeloProjeto& modelo, TGerenteSis& gerente, QWidget* pai, TAssistentes assistentes)
    : QWidget(pai), m_(modelo), gerente_(gerente), assist_(assistentes) {
    setObjectName(QStringLiteral("frmLocacao"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Módulo para a Locação[*]"));
    proprios_.Completar(assist_);
    estilo_.Numero = [this](QLineEdit* e) {
        e->installEventFilter(this);
        e->setMaximumWidth(130);
        connect(e, &QLineEdit::textEdited, this, &TfrmLocacao::Alterou);
    };
    estilo_.Coordenada = [this](QLineEdit* e) {
        e->setMaximumWidth(130);
        connect(e, &QLineEdit::textEdited, this, &TfrmLocacao::Alterou);
    };
    estilo_.LarguraUnidade = 36;
    pastaFiguras_ = QCoreApplication::applicationDirPath();
    Lancador = [] { QProcess::startDetached(QCoreApplication::applicationDirPath() + "/vandoro", {}); };
    Montar();
    Limpar();
    // As wide as the frame allows (it bounds a child to its area): the results table needs it.
    resize(1360, 700);
    AbrirSecao(kPrecipitacao);
}

TfrmLocacao::~TfrmLocacao() = default;

// ---- building ----

void TfrmLocacao::Montar() {
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(6, 6, 6, 6);
    auto* meio = new QHBoxLayout;
    esquerda_ = new QWidget;
    esquerda_->setObjectName(QStringLiteral("pnlSecoes"));
    esquerda_->setFixedWidth(kLargura);
    meio->addWidget(esquerda_);

    precipitacao_ = new TGrupoPrecipitacao(m_, estilo_, {}, QStringLiteral("Consulta"));
    NovaSecao(kPrecipitacao, "btnPrecipitacao", precipitacao_);
    precipitacao_->Ligar(campos_);
    connect(precipitacao_, &TGrupoPrecipitacao::Alterado, this, &TfrmLocacao::Alterou);
    // A change of return period makes the last report stale.
    connect(precipitacao_->Tr(), &QLineEdit::textEdited, this, [this] { btnRelatorio_->setEnabled(false); });
    MontarCanal();
    MontarEspacamento();
    MontarTipoTerraco();
    MontarSolo();
    MontarTerreno();
    MontarPlano();

    for (const auto& s : secoes_) {
        s->Painel->setFixedWidth(kLargura - 20);
        s->Painel->adjustSize();
    }
    int maior = 0;
    for (const auto& s : secoes_) maior = std::max(maior, s->Painel->sizeHint().height());
    esquerda_->setMinimumHeight(kTopo + int(secoes_.size()) * kPasso + maior + 10);

    meio->addWidget(MontarAbas(), 1);
    raiz->addLayout(meio, 1);
    raiz->addLayout(MontarRodape());
    SetPastaFiguras(pastaFiguras_);
}

QGridLayout* TfrmLocacao::NovaSecao(const QString& nome, const char* botao, QGroupBox* painel) {
    auto s = std::make_unique<Secao>();
    s->Nome = nome;
    s->Botao = new QPushButton(nome, esquerda_);
    s->Botao->setObjectName(QString::fromLatin1(botao));
    s->Botao->setCheckable(true);
    if (painel) painel->setParent(esquerda_);
    else painel = new QGroupBox(esquerda_);
    s->Painel = painel;
    s->Painel->setObjectName(QStringLiteral("gb") + QString::fromLatin1(botao + 3));
    s->Painel->hide();
    connect(s->Botao, &QPushButton::clicked, this, [this, nome] { AbrirSecao(nome); });
    secoes_.push_back(std::move(s));
    return GradeDoGrupo(painel);
}

QPushButton* TfrmLocacao::BotaoAjuda(const char* nome, int topico) {
    auto* b = new QPushButton(QStringLiteral("Ajuda"));
    b->setObjectName(QString::fromLatin1(nome));
    connect(b, &QPushButton::clicked, this, [this, topico] { AbrirAjuda(this, topico); });
    return b;
}

void TfrmLocacao::MontarCanal() {
    TFormulario f(NovaSecao(kCanal, "btnCanal"), estilo_);
    cbSistema_ = new QComboBox;
    cbSistema_->setObjectName(QStringLiteral("cbSistema"));
    cbSistema_->addItems({QStringLiteral(" Terraços em nível"), QStringLiteral(" Terraços com gradiente")});
    {
        auto* l = new QLabel(QStringLiteral("Sistema:"));
        l->setBuddy(cbSistema_);
        f.Grade()->addWidget(l, 0, 0);
        f.Grade()->addWidget(cbSistema_, 0, 1, 1, 3);  // the whole width: its items are long
    }
    connect(cbSistema_, &QComboBox::activated, this, &TfrmLocacao::SistemaMudou);
    edtSm_ = campos_.Ligar(&TCamposLocacao::edtSm, f.Numero("edtSm"));
    edtCoefDesinf_ = campos_.Ligar(&TCamposLocacao::edtCoefDesinf, f.Numero("edtCoefDesinf"));
    lblUnSm_ = f.Unidade("lblUnSm");
    auto* btnSm = new QPushButton(QStringLiteral("Valores de Sm"));
    btnSm->setObjectName(QStringLiteral("btnValoresSm"));
    f.Linha(QStringLiteral("Sm:"), edtSm_, lblUnSm_, btnSm);
    // Short labels: the column beside the fields, units and "Valores de Sm" is narrow.
    f.Linha(QStringLiteral("CDu:"), edtCoefDesinf_);
    edtCoefDesinf_->setToolTip(QStringLiteral("Coeficiente de desuniformidade"));
    // The graded channel: its grade toward the outlet, its roughness and its section.
    edtDecCanal_ = campos_.Ligar(&TCamposLocacao::edtDecCanal, f.Numero("edtDecCanal"));
    lblUnSc_ = f.Unidade("lblUnSc");
    edtDecCanal_->setToolTip(QStringLiteral("Declividade do canal, com que ele desce até a saída no escoadouro"));
    linhasGradiente_.push_back(f.Linha(QStringLiteral("Sc:"), edtDecCanal_, lblUnSc_));
    edtRugCanal_ = campos_.Ligar(&TCamposLocacao::edtRugCanal, f.Numero("edtRugCanal"));
    edtRugCanal_->setToolTip(QStringLiteral("Coeficiente de rugosidade (n de Manning) do canal"));
    linhasGradiente_.push_back(f.Linha(QStringLiteral("n do canal:"), edtRugCanal_));
    auto* secao = new QLabel(QStringLiteral("triangular"));
    secao->setObjectName(QStringLiteral("lblSecao"));
    linhasGradiente_.push_back(f.Linha(QStringLiteral("Seção:"), secao));
    f.Sozinho(BotaoAjuda("btnAjudaCanal", 8), 0);
    connect(btnSm, &QPushButton::clicked, this, &TfrmLocacao::btnValoresSmClick);
}

void TfrmLocacao::MontarEspacamento() {
    TFormulario f(NovaSecao(kEspacamento, "btnEspacamento"), estilo_);
    cbMetodo_ = new QComboBox;
    cbMetodo_->setObjectName(QStringLiteral("cbMetodo"));
    cbMetodo_->addItems({QStringLiteral(" Bentley"), QStringLiteral(" Lombardi Neto"), QStringLiteral(" Paraná"),
                         QStringLiteral(" Espaçamento arbitrado"), QStringLiteral(" Altura do terraço arbitrada")});
    f.Linha(QStringLiteral("Método:"), cbMetodo_);
    pnlMetodo_ = new QWidget;
    pnlMetodo_->setObjectName(QStringLiteral("pnlMetodo"));
    {
        auto* h = new QHBoxLayout(pnlMetodo_);
        h->setContentsMargins(0, 0, 0, 0);
        btnDefinir_ = new QPushButton(QStringLiteral("Definir"));
        btnDefinir_->setObjectName(QStringLiteral("btnDefinir"));
        h->addWidget(btnDefinir_);
        h->addStretch(1);
    }
    pnlEV_ = new QWidget;
    pnlEV_->setObjectName(QStringLiteral("pnlEV"));
    {
        auto* h = new QHBoxLayout(pnlEV_);
        h->setContentsMargins(0, 0, 0, 0);
        lblEV_ = new QLabel(QStringLiteral("EV:"));
        lblEV_->setObjectName(QStringLiteral("lblEV"));
        edtEV_ = campos_.Ligar(&TCamposLocacao::edtEV, f.Numero("edtEV"));
        edtAlturaTerraco_ = campos_.Ligar(&TCamposLocacao::edtAlturaTerraco, f.Numero("edtAlturaTerraco"));
        lblUnEV_ = f.Unidade("lblUnEV", QStringLiteral("m"));
        h->addWidget(lblEV_);
        h->addWidget(edtEV_);
        h->addWidget(edtAlturaTerraco_);
        h->addWidget(lblUnEV_);
        h->addStretch(1);
    }
    QGridLayout* g = f.Grade();
    const int r = g->rowCount();
    g->addWidget(pnlMetodo_, r, 0, 1, 3);
    g->addWidget(pnlEV_, r + 1, 0, 1, 3);
    connect(btnDefinir_, &QPushButton::clicked, this, &TfrmLocacao::btnDefinirClick);
    connect(cbMetodo_, &QComboBox::activated, this, [this](int i) {
        MetodoMudou(i, true);
        Alterou();
    });
}

void TfrmLocacao::MontarTipoTerraco() {
    QGridLayout* g = NovaSecao(kTipoTerraco, "btnTipoTerraco");
    rgTipoTerraco_ = new QButtonGroup(this);
    g->addWidget(CaixaDeOpcoes(QStringLiteral(" Critério de seleção: "), "rgTipoTerraco",
                               {QStringLiteral(" Paraná"), QStringLiteral(" Emater/RS"),
                                QStringLiteral(" Lombardi Neto"), QStringLiteral(" Tipo arbitrado")},
                               rgTipoTerraco_, "rbCriterio"),
                 0, 0, 1, 3);
    auto* btnTipo = new QPushButton(QStringLiteral("Consulta"));
    btnTipo->setObjectName(QStringLiteral("btnConsultaTipoTerraco"));
    g->addWidget(btnTipo, 1, 0, Qt::AlignLeft);
    connect(rgTipoTerraco_, &QButtonGroup::idClicked, this, [this](int i) {
        CriterioMudou(i);
        Alterou();
    });
    connect(btnTipo, &QPushButton::clicked, this, &TfrmLocacao::btnConsultaTipoTerracoClick);
}

void TfrmLocacao::MontarSolo() {
    TFormulario f(NovaSecao(kSolo, "btnSolo"), estilo_);
    edtTIE_ = campos_.Ligar(&TCamposLocacao::edtTIE, f.Numero("edtTIE"));
    lblUnTIE_ = f.Unidade("lblUnTIE");
    f.Linha(QStringLiteral("Taxa de infiltração estável(Tie):"), edtTIE_, lblUnTIE_);
    edtRugTerreno_ = campos_.Ligar(&TCamposLocacao::edtRugTerreno, f.Numero("edtRugTerreno"));
    linhasGradiente_.push_back(f.Linha(QStringLiteral("Rugosidade do terreno (n):"), edtRugTerreno_));
    cobertura_ = new TGrupoCobertura;
    QGridLayout* g = f.Grade();
    g->addWidget(cobertura_, g->rowCount(), 0, 1, g->columnCount());
    connect(cobertura_, &TGrupoCobertura::Alterado, this, &TfrmLocacao::Alterou);
    // The curve number's column follows the rate being typed.
    connect(edtTIE_, &QLineEdit::textChanged, cobertura_,
            [this](const QString& t) { cobertura_->SetVIB(VIBDoCampo(S(t), m_.Configuracao().KVIB)); });
}

QLineEdit* TfrmLocacao::NovoCaminho(QGridLayout* g, const char* nome, const QString& rotulo, const char* botao,
                                    void (TfrmLocacao::*escolher)(),
                                    void (TLocacaoNivel::*definir)(const std::string&), TLinhaFormulario* linha) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(nome));
    auto* b = TFormulario::Assistente(botao);
    const int r = g->rowCount();
    auto* l = new QLabel(rotulo);
    l->setBuddy(e);
    g->addWidget(l, r, 0, 1, 2);
    g->addWidget(e, r + 1, 0, 1, 2);
    g->addWidget(b, r + 1, 2);
    connect(b, &QPushButton::clicked, this, escolher);
    if (linha) *linha = TLinhaFormulario{l, {l, e, b}};
    // Saved in the project as typed.
    connect(e, &QLineEdit::textEdited, this, [this, definir](const QString& t) {
        (m_.LocacaoNivel().*definir)(S(t));
        Alterou();
    });
    return e;
}

void TfrmLocacao::MontarTerreno() {
    QGridLayout* g = NovaSecao(kTerreno, "btnTerreno");
    edtImagemElevacao_ = campos_.Ligar(
        &TCamposLocacao::edtImagemElevacao,
        NovoCaminho(g, "edtImagemElevacao", QStringLiteral("Imagem de elevação"), "btnImagemElevacao",
                    &TfrmLocacao::EscolherElevacao, &TLocacaoNivel::SetfnImgElev));
    edtImagemDec_ = campos_.Ligar(
        &TCamposLocacao::edtImagemDec,
        NovoCaminho(g, "edtImagemDec", QStringLiteral("Imagem de declividade"), "btnImagemDec",
                    &TfrmLocacao::EscolherDeclividade, &TLocacaoNivel::SetfnImgDecli));
    edtVetorSaida_ = campos_.Ligar(&TCamposLocacao::edtVetorSaida,
                                   NovoCaminho(g, "edtVetorSaida", QStringLiteral("Vetor de saída"), "btnVetorSaida",
                                               &TfrmLocacao::EscolherSaida, &TLocacaoNivel::SetfnVetSaida));
    edtLimite_ = campos_.Ligar(
        &TCamposLocacao::edtLimite,
        NovoCaminho(g, "edtLimite", QStringLiteral("Limite do talhão (opcional)"), "btnLimite",
                    &TfrmLocacao::EscolherLimite, &TLocacaoNivel::SetfnLimite));
    edtLimite_->setToolTip(QStringLiteral("Polígono do talhão: só as células inteiras dentro dele entram na locação"));
    TLinhaFormulario escoadouro;
    edtEscoadouro_ = campos_.Ligar(&TCamposLocacao::edtEscoadouro,
                                   NovoCaminho(g, "edtEscoadouro", QStringLiteral("Canais escoadouros"), "btnEscoadouro",
                                               &TfrmLocacao::EscolherEscoadouro, &TLocacaoNivel::SetfnEscoadouro,
                                               &escoadouro));
    edtEscoadouro_->setToolTip(
        QStringLiteral("Linhas dos canais escoadouros para onde os terraços com gradiente drenam"));
    linhasGradiente_.push_back(escoadouro);
    g->addWidget(BotaoAjuda("btnAjudaTerreno", 54), g->rowCount(), 0, Qt::AlignLeft);
}

// What makes the located plan one a farmer can build.
void TfrmLocacao::MontarPlano() {
    TFormulario f(NovaSecao(kPlano, "btnPlano"), estilo_);
    const auto campo = [&](std::string TCamposLocacao::*membro, const char* nome, const QString& rotulo,
                           const QString& dica) {
        QLineEdit* e = campos_.Ligar(membro, f.Numero(nome));
        e->setToolTip(dica);
        return f.Linha(rotulo, e);
    };
    campo(&TCamposLocacao::edtMaxTerracos, "edtMaxTerracos", QStringLiteral("Número máximo de terraços"),
          QStringLiteral("Vazio: tantos terraços quantos a área pedir"));
    campo(&TCamposLocacao::edtComprimentoMinimo, "edtComprimentoMinimo",
          QStringLiteral("Comprimento mínimo do terraço (m)"),
          QStringLiteral("Um trecho de curva mais curto que isto não é um terraço"));
    campo(&TCamposLocacao::edtRaioMinimo, "edtRaioMinimo", QStringLiteral("Raio mínimo de curva (m)"),
          QStringLiteral("Curvas que as máquinas fazem; 0 mantém as linhas traçadas sobre as células"));
    campo(&TCamposLocacao::edtTolerancia, "edtTolerancia", QStringLiteral("Tolerância de nível (cm)"),
          QStringLiteral("Quanto a linha suavizada pode se afastar do nível (ou da declividade do canal)"));
    linhasGradiente_.push_back(campo(&TCamposLocacao::edtComprimentoMaximo, "edtComprimentoMaximo",
                                     QStringLiteral("Comprimento máximo do canal (m)"),
                                     QStringLiteral("Um canal com gradiente termina neste comprimento e é marcado como "
                                                    "precisando de outra saída")));
    // The machine's name is long: the label above, the list the section's whole width.
    cbMaquina_ = new QComboBox;
    cbMaquina_->setObjectName(QStringLiteral("cbMaquina"));
    cbMaquina_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbMaquina_->setMinimumContentsLength(20);
    cbMaquina_->setToolTip(QStringLiteral("A máquina que constrói os terraços: o seu rendimento e o seu custo horário, "
                                          "das configurações, dão as horas e o custo de cada terraço"));
    {
        QGridLayout* g = f.Grade();
        const int r = g->rowCount();
        auto* l = new QLabel(QStringLiteral("Máquina:"));
        l->setBuddy(cbMaquina_);
        g->addWidget(l, r, 0, 1, g->columnCount());
        g->addWidget(cbMaquina_, r + 1, 0, 1, g->columnCount());
    }
    connect(cbMaquina_, &QComboBox::activated, this, [this] {
        btnRelatorio_->setEnabled(false);
        Alterou();
    });
    f.Sozinho(BotaoAjuda("btnAjudaPlano", 55), 0);
}

void TfrmLocacao::PreencherMaquinas(int indice) {
    const QString antes = cbMaquina_->currentText();
    cbMaquina_->clear();
    for (const TMaquina& k : m_.Configuracao().Construcao.maquinas) cbMaquina_->addItem(Q(k.nome));
    if (indice < 0) indice = cbMaquina_->findText(antes);
    if (indice < 0) indice = m_.Configuracao().Construcao.IndiceMaquina(m_.Maquina());
    cbMaquina_->setCurrentIndex(indice < cbMaquina_->count() ? indice : -1);
}

// The picture and, after a run, the results.
QTabWidget* TfrmLocacao::MontarAbas() {
    abas_ = new QTabWidget;
    abas_->setObjectName(QStringLiteral("abas"));
    figura_ = new TFiguraMapa;
    figura_->setObjectName(QStringLiteral("imgFigura"));
    figura_->setMinimumSize(300, 240);
    // Colours of the map (RGB): each opens a section or starts the program.
    figura_->Significado = [](QRgb c) {
        TFiguraMapa::TSignificado s;
        switch (c) {
            case 0x800000:
            case 0x808000:
            case 0xFFFF00:
            case 0x008080:
            case 0x0000FF:
            case 0x00FFFF:
            case 0xFFFFFF: s.Acao = true; break;
            case 0x00FF00: s.Normal = s.Clique = true; break;
            case 0xC0C0C0: s.Normal = true; break;
            default: break;
        }
        return s;
    };
    figura_->Executar = [this](QRgb c) { ExecutarMapa(c); };
    abas_->addTab(figura_, QStringLiteral("Figura"));
    abas_->addTab(MontarResultados(), QStringLiteral("Resultados"));
    abas_->setTabEnabled(1, false);
    return abas_;
}

QWidget* TfrmLocacao::MontarResultados() {
    auto* resultados = new QWidget;
    resultados->setObjectName(QStringLiteral("pgResultados"));
    auto* rv = new QVBoxLayout(resultados);
    auto* divisor = new QSplitter(Qt::Vertical);
    mapa_ = new TMapaLocacao;
    divisor->addWidget(mapa_);
    auto* baixo = new QWidget;
    auto* bv = new QVBoxLayout(baixo);
    bv->setContentsMargins(0, 0, 0, 0);
    lblNotas_ = new QLabel;
    lblNotas_->setObjectName(QStringLiteral("lblNotas"));
    lblNotas_->setWordWrap(true);
    lblNotas_->setStyleSheet(QStringLiteral("color: #800000"));
    lblNotas_->hide();
    bv->addWidget(lblNotas_);
    tabela_ = new QTableWidget;
    tabela_->setObjectName(QStringLiteral("tabTerracos"));
    TitulosDaTabela(false);
    tabela_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabela_->verticalHeader()->hide();
    tabela_->setWordWrap(false);
    // The lines are broken here; the header must not break them again inside a word.
    tabela_->horizontalHeader()->setTextElideMode(Qt::ElideNone);
    tabela_->horizontalHeader()->setMinimumHeight(3 * fontMetrics().lineSpacing() + 8);
    tabela_->setAlternatingRowColors(true);
    bv->addWidget(tabela_, 1);
    lblTotal_ = new QLabel;
    lblTotal_->setObjectName(QStringLiteral("lblTotal"));
    lblTotal_->setWordWrap(true);  // many waterways make a long line of flows
    bv->addWidget(lblTotal_);
    divisor->addWidget(baixo);
    // The table, its notes and totals take the larger share: the map is read at a glance.
    divisor->setStretchFactor(0, 2);
    divisor->setStretchFactor(1, 3);
    rv->addWidget(divisor);
    return resultados;
}

// Long titles in narrow lines, so the numeric columns fit beside the section column; the last
// column (the level table's type, a phrase) takes what is left.
void TfrmLocacao::TitulosDaTabela(bool gradiente) {
    const std::vector<std::string> colunas = ColunasResultadoLocacao(gradiente);
    tabela_->setColumnCount(int(colunas.size()));
    QStringList titulos;
    for (const std::string& c : colunas) titulos << TituloEmLinhas(Q(c));
    tabela_->setHorizontalHeaderLabels(titulos);
    if (!gradiente) tabela_->horizontalHeaderItem(1)->setToolTip(Q(kLegendaAcima));
    tabela_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tabela_->horizontalHeader()->setSectionResizeMode(tabela_->columnCount() - 1, QHeaderView::Stretch);
}

QLayout* TfrmLocacao::MontarRodape() {
    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    // Accelerators: one letter each, none of the menu bar's (P, T, F, C, J, A).
    btnProcessar_ = BotaoRodape(rodape, QStringLiteral("Pr&ocessar"), "btnProcessar");
    btnRelatorio_ = BotaoRodape(rodape, QStringLiteral("&Relatório"), "btnRelatorio");
    btnExportarSig_ = BotaoRodape(rodape, QStringLiteral("E&xportar para SIG"), "btnExportarSig");
    btnExportarSig_->setToolTip(QStringLiteral("Grava as linhas dos terraços em GeoPackage, Shapefile, GeoJSON ou KML"));
    btnExportarSig_->setEnabled(false);
    connect(btnExportarSig_, &QPushButton::clicked, this, &TfrmLocacao::btnExportarSigClick);
    btnExportarEstacas_ = BotaoRodape(rodape, QStringLiteral("Exportar &estacas"), "btnExportarEstacas");
    btnExportarEstacas_->setToolTip(
        QStringLiteral("Grava as estacas de cada terraço, a cada tantos metros, em CSV, GPX ou KML"));
    btnExportarEstacas_->setEnabled(false);
    connect(btnExportarEstacas_, &QPushButton::clicked, this, &TfrmLocacao::btnExportarEstacasClick);
    auto* fechar = BotaoRodape(rodape, QStringLiteral("Fec&har"), "btnFechar");
    auto* ajuda = BotaoRodape(rodape, QStringLiteral("Aj&uda"), "btnAjuda");
    connect(btnProcessar_, &QPushButton::clicked, this, &TfrmLocacao::btnProcessarClick);
    connect(btnRelatorio_, &QPushButton::clicked, this, &TfrmLocacao::btnRelatorioClick);
    connect(fechar, &QPushButton::clicked, this, &QWidget::close);
    connect(ajuda, &QPushButton::clicked, this, [this] { AbrirAjuda(this, kTopicoAjuda); });
    // F1 anywhere in the window opens the same topic.
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f1, &QShortcut::activated, this, [this] { AbrirAjuda(this, kTopicoAjuda); });
    return rodape;
}

// The buttons 40 px apart from the top; the open section under its button pushes the
// buttons below it down by its height + 10.
void TfrmLocacao::Arrumar() {
    int desvio = 0;
    for (int i = 0; i < int(secoes_.size()); ++i) {
        Secao& s = *secoes_[size_t(i)];
        const int topo = kTopo + i * kPasso + desvio;
        s.Botao->setGeometry(10, topo, kLargura - 20, kAlturaBotao);
        const bool aberta = i == aberta_;
        s.Botao->setChecked(aberta);
        s.Painel->setVisible(aberta);
        if (aberta) {
            const int h = s.Painel->sizeHint().height();
            s.Painel->setGeometry(10, topo + kPasso, kLargura - 20, h);
            desvio = h + 10;
        }
    }
}

void TfrmLocacao::AbrirSecao(const QString& nome) {
    for (int i = 0; i < int(secoes_.size()); ++i)
        if (secoes_[size_t(i)]->Nome == nome) {
            aberta_ = i;
            Arrumar();
            return;
        }
}

QString TfrmLocacao::SecaoAberta() const {
    return aberta_ >= 0 && aberta_ < int(secoes_.size()) ? secoes_[size_t(aberta_)]->Nome : QString();
}

void TfrmLocacao::SetJanelaConsulta(std::function<IJanelaConsulta*()> fabrica) {
    precipitacao_->SetJanelaConsulta(std::move(fabrica));
}

void TfrmLocacao::SetPastaFiguras(const QString& pasta) {
    pastaFiguras_ = pasta;
    figura_->Carregar(pasta + "/locacao.bmp", pasta + "/locacao_mapa.bmp");
}

void TfrmLocacao::ExecutarMapa(unsigned cor) {
    switch (cor) {
        case 0x800000: AbrirSecao(kEspacamento); break;
        case 0x808000: AbrirSecao(kSolo); break;
        case 0x00FF00: AbrirSecao(kTerreno); break;
        case 0x008080: AbrirSecao(kTipoTerraco); break;
        case 0x00FFFF: AbrirSecao(kCanal); break;
        case 0xFFFFFF: AbrirSecao(kPrecipitacao); break;
        case 0x0000FF:
            if (Lancador) Lancador();
            break;
        default: break;
    }
}

// ---- state ----

void TfrmLocacao::Alterou() {
    if (carregando_) return;
    gerente_.SetAlterado(true);
    setWindowModified(true);
}

void TfrmLocacao::Focar(QWidget* campo, const QString& secao) {
    AbrirSecao(secao);
    if (campo) campo->setFocus();
}

void TfrmLocacao::Unidades() {
    lblUnSm_->setText(Q(m_.Configuracao().UDecli));
    lblUnSc_->setText(Q(m_.Configuracao().UDecli));
    lblUnTIE_->setText(Q(m_.Configuracao().UVIB));
}

TCamposLocacao TfrmLocacao::Campos() const {
    TCamposLocacao f;
    campos_.Coletar(f);
    f.cbMetodo = cbMetodo_->currentIndex();
    f.rgTipoTerraco = rgTipoTerraco_->checkedId() >= 0 ? rgTipoTerraco_->checkedId() : 0;
    f.tipoArbitrado = tipoArbitrado_;
    f.gradiente = gradiente_;
    f.cbMaquina = cbMaquina_->currentIndex();
    return f;
}

void TfrmLocacao::Preencher(const TCamposLocacao& f) {
    const bool salvo = carregando_;
    carregando_ = true;
    Unidades();
    cobertura_->Carregar(m_.NumeroDaCurva());
    campos_.Preencher(f);
    arquivoSaida_ = edtVetorSaida_->text();
    cbMetodo_->setCurrentIndex(f.cbMetodo);
    if (QAbstractButton* b = rgTipoTerraco_->button(f.rgTipoTerraco)) b->setChecked(true);
    tipoArbitrado_ = f.tipoArbitrado;
    // An empty window chooses the settings' default.
    PreencherMaquinas(f.cbMaquina >= 0 ? f.cbMaquina : m_.Configuracao().Construcao.maquina);
    MostrarSistema(f.gradiente);
    carregando_ = salvo;
}

void TfrmLocacao::Limpar() {
    Preencher(CamposLocacaoVazios());
    const bool salvo = carregando_;
    carregando_ = true;
    MetodoMudou(0, false, false);  // a new window shows Bentley; the model is filled in later
    carregando_ = salvo;
    btnRelatorio_->setEnabled(true);
}

void TfrmLocacao::PreencherCampos() {
    carregando_ = true;
    const TCamposLocacao f = LoadInputsLocacao(m_);
    Preencher(f);
    // The method as a change, without its dialog: panels, soil table, EV or H shown.
    const bool relatorio = btnRelatorio_->isEnabled();
    MetodoMudou(f.cbMetodo, false);
    btnRelatorio_->setEnabled(relatorio);
    carregando_ = false;
    setWindowModified(false);
    AbrirSecao(kPrecipitacao);
}

void TfrmLocacao::MostrarInicio() { AbrirSecao(kPrecipitacao); }

void TfrmLocacao::AtualizarUnidades() {
    const TConfiguracao& cfg = m_.Configuracao();
    const bool salvo = carregando_;
    carregando_ = true;
    Unidades();
    edtSm_->setText(Q(ReexibirCampo(S(edtSm_->text()), SistemaDaLocacao(m_).Sm().Value(), cfg.KDecli)));
    if (gradiente_) edtDecCanal_->setText(Q(ReexibirCampo(S(edtDecCanal_->text()), m_.TerracosGradiente().Sc(), cfg.KDecli)));
    edtTIE_->setText(Q(ReexibirCampo(S(edtTIE_->text()), m_.NumeroDaCurva().VIB(), cfg.KVIB)));
    carregando_ = salvo;
}

bool TfrmLocacao::Coletar() {
    TCamposLocacao f = Campos();
    return CampoAceito(this, PrimeiroCampoInvalidoLocacao(f), MostrarCampo()) &&
           CampoAceito(this, precipitacao_->ConverterCoordenadas(f.meLatitude, f.meLongitude), MostrarCampo()) &&
           Gravado(this, [&] {
               StoreInputsLocacao(f, m_);
               cobertura_->Gravar(m_.NumeroDaCurva());
           });
}

bool TfrmLocacao::Validar() { return CampoAceito(this, PrimeiroCampoVazioLocacao(Campos()), MostrarCampo()); }

TMostrarCampo TfrmLocacao::MostrarCampo() {
    return [this](const std::string& controle, const std::string& secao) {
        Focar(findChild<QWidget*>(Q(controle)), Q(secao));
    };
}

// ---- spacing and terrace type ----

void TfrmLocacao::MetodoMudou(int indice, bool daLista, bool gravar) {
    if (indice < 0 || indice > TMetodologiaEspacamento::AlturaArbitrada) return;
    const bool dialogo = indice <= TMetodologiaEspacamento::Parana;
    pnlMetodo_->setVisible(dialogo);
    btnDefinir_->setEnabled(dialogo);
    pnlEV_->setVisible(!dialogo);
    const bool altura = indice == TMetodologiaEspacamento::AlturaArbitrada;
    lblEV_->setText(altura ? QStringLiteral("Altura do terraço:") : QStringLiteral("EV:"));
    lblEV_->setBuddy(altura ? edtAlturaTerraco_ : edtEV_);
    edtEV_->setVisible(indice == TMetodologiaEspacamento::EspacamentoArbitrado);
    edtAlturaTerraco_->setVisible(altura);
    if (!dialogo && !carregando_) (altura ? edtAlturaTerraco_ : edtEV_)->setFocus();
    Arrumar();

    btnRelatorio_->setEnabled(false);
    if (!gravar) return;
    TEspacamento& e = SistemaDaLocacao(m_).Espacamento();
    e.Metodologia().SetIndex(indice);
    // The soil table follows the method's family: Paraná's own soils, Bentley's otherwise.
    e.Solo().SetFamilia(TSolo::FamiliaDoMetodo(indice));
    if (daLista && dialogo) btnDefinirClick();
}

void TfrmLocacao::btnDefinirClick() {
    Protegido(this, [&] {
        TEspacamento& e = SistemaDaLocacao(m_).Espacamento();
        int r = QDialog::Rejected;
        switch (cbMetodo_->currentIndex()) {
            case TMetodologiaEspacamento::Bentley: {
                TFSoloLoc d(TSolo::FamiliaBentley, this);
                r = d.EditSpacing(e);
                break;
            }
            case TMetodologiaEspacamento::LombardiNeto: {
                TFLombNetoLoc d(this);
                r = d.EditSpacing(e);
                break;
            }
            case TMetodologiaEspacamento::Parana: {
                TFSoloLoc d(TSolo::FamiliaParana, this);
                r = d.EditSpacing(e);
                break;
            }
            default: return;
        }
        if (r == QDialog::Accepted) Alterou();
    });
}

void TfrmLocacao::SistemaMudou(int indice) {
    const bool gradiente = indice == 1;
    if (gradiente == gradiente_) return;
    if (!Coletar()) {
        cbSistema_->setCurrentIndex(gradiente_ ? 1 : 0);
        return;
    }
    m_.TipoSistema().SetTipo(gradiente ? TTipoSistema::Gradiente : TTipoSistema::Nivel);
    const bool salvo = carregando_;
    carregando_ = true;
    const TCamposLocacao f = LoadInputsLocacao(m_);
    Preencher(f);
    MetodoMudou(f.cbMetodo, false, false);
    carregando_ = salvo;
    Alterou();
}

void TfrmLocacao::MostrarSistema(bool gradiente) {
    gradiente_ = gradiente;
    cbSistema_->setCurrentIndex(gradiente ? 1 : 0);
    for (const TLinhaFormulario& l : linhasGradiente_) l.Visivel(gradiente);
    // A graded channel takes no spacing from a given height.
    if (auto* itens = qobject_cast<QStandardItemModel*>(cbMetodo_->model()))
        if (QStandardItem* altura = itens->item(TMetodologiaEspacamento::AlturaArbitrada))
            altura->setEnabled(!gradiente);
    Arrumar();
}

void TfrmLocacao::CriterioMudou(int indice) {
    if (indice < 0 || indice > 3) return;
    m_.TerracosNivel().Selecao().SetMetodoSelecao(static_cast<std::int8_t>(indice));
    btnRelatorio_->setEnabled(false);
}

void TfrmLocacao::btnConsultaTipoTerracoClick() {
    btnRelatorio_->setEnabled(false);
    switch (rgTipoTerraco_->checkedId()) {
        case TFTipoTerraco::Parana:
        case TFTipoTerraco::EmaterRS:
        case TFTipoTerraco::LombardiNeto: {
            TFTipoTerraco d(static_cast<TFTipoTerraco::TFonte>(rgTipoTerraco_->checkedId()), this);
            Dialogos().Executar(d);
            break;
        }
        case 3: {
            TFTipoNenhum d(this);
            d.SetEscolha(tipoArbitrado_);
            if (d.Executar() != QDialog::Accepted) break;
            tipoArbitrado_ = d.Escolha();
            m_.TerracosNivel().Selecao().SetArbitraryType(tipoArbitrado_);
            Alterou();
            break;
        }
        default: break;
    }
}

// ---- storm, Sm, files ----

void TfrmLocacao::btnConsultaClick() { precipitacao_->Consultar(); }

void TfrmLocacao::btnValoresSmClick() {
    TSm& a = *assist_.Sm1;
    if (!EscolherSm(this, a, m_.Configuracao(), SistemaDaLocacao(m_).Sm())) return;
    edtSm_->setText(Fmt(a.Valor));
    Alterou();
}

QString TfrmLocacao::AbrirImagem(const QString& titulo) {
    const QString c = ComExtensaoPadrao(Dialogos().ArquivoAbrir(this, titulo, pastaImagens_, Q(FiltroImagens())),
                                        QStringLiteral(".ras"));
    // The next image choice starts in this one's folder.
    if (!c.isEmpty()) pastaImagens_ = QFileInfo(c).absolutePath();
    return c;
}

void TfrmLocacao::EscolherElevacao() {
    const QString c = AbrirImagem(QStringLiteral("Abrir imagem de elevação"));
    if (c.isEmpty()) return;
    edtImagemElevacao_->setText(c);
    edtVetorSaida_->setText(Q(VetorDaElevacao(S(c))));
    arquivoSaida_ = edtVetorSaida_->text();
    m_.LocacaoNivel().SetfnImgElev(S(c));
    m_.LocacaoNivel().SetfnVetSaida(S(edtVetorSaida_->text()));
    Alterou();
}

void TfrmLocacao::EscolherDeclividade() {
    const QString c = AbrirImagem(QStringLiteral("Abrir imagem de declividades"));
    if (c.isEmpty()) return;
    edtImagemDec_->setText(c);
    m_.LocacaoNivel().SetfnImgDecli(S(c));
    Alterou();
}

void TfrmLocacao::EscolherSaida() {
    const QString c = ComExtensaoPadrao(Dialogos().ArquivoSalvar(this, QStringLiteral("Salvar arquivo vetor"), arquivoSaida_,
                                                           QStringLiteral("*.vet (*.vet)")),
                                  QStringLiteral(".vet"));
    if (c.isEmpty()) return;
    arquivoSaida_ = c;
    edtVetorSaida_->setText(c);
    m_.LocacaoNivel().SetfnVetSaida(S(c));
    Alterou();
}

void TfrmLocacao::EscolherLimite() {
    const QString c = Dialogos().ArquivoAbrir(this, QStringLiteral("Abrir limite do talhão"), pastaImagens_,
                                              Q(kFiltroSigLimite));
    if (c.isEmpty()) return;
    edtLimite_->setText(c);
    m_.LocacaoNivel().SetfnLimite(S(c));
    Alterou();
}

void TfrmLocacao::EscolherEscoadouro() {
    const QString c = Dialogos().ArquivoAbrir(this, QStringLiteral("Abrir canais escoadouros"), pastaImagens_,
                                              Q(kFiltroSigEscoadouros));
    if (c.isEmpty()) return;
    edtEscoadouro_->setText(c);
    m_.LocacaoNivel().SetfnEscoadouro(S(c));
    Alterou();
}

void TfrmLocacao::btnExportarSigClick() {
    Protegido(this, [&] {
        const TArquivosLocacao& a = resultado_.arquivos;
        // The run's own output under the GIS extension.
        const QString proposto =
            a.saida.empty() ? QFileInfo(arquivoSaida_).path() : Q(TrocaExtensao(a.saida, ".gpkg"));
        const QString c = ComExtensaoPadrao(
            Dialogos().ArquivoSalvar(this, QStringLiteral("Exportar para SIG"), proposto, Q(kFiltroSigLinhas)),
            QStringLiteral(".gpkg"));
        if (c.isEmpty()) return;
        try {
            // No input of the run, under any name, before the replace question.
            ChecaSaidaSigLocacao(S(c), a, limiteExecucao_, gerente_.PathProjeto());
            if (!escoadouroExecucao_.empty()) ChecaSaidaSig(S(c), {escoadouroExecucao_});
        } catch (const EVandoro& e) {
            Dialogos().Erro(this, Q(e.what()));
            return;
        }
        if (QFileInfo::exists(c) &&
            !Dialogos().SimNao(this, QStringLiteral("O arquivo ") + c + QStringLiteral(" já existe. Deseja substituí-lo?")))
            return;
        try {
            TResumoSig r;
            {
                const TCursorEspera espera;  // a whole farm's lines take seconds, in KML over ten
                r = ExportarLocacaoSig(m_.LocacaoNivel(), S(c));
            }
            QString texto = QStringLiteral("%1 linhas gravadas em %2").arg(r.feicoes).arg(Q(r.arquivo));
            if (!r.crs.empty()) texto += QStringLiteral(" (") + Q(r.crs) + QStringLiteral(")");
            texto += QStringLiteral(", e a tabela dos terraços em ") + Q(r.tabela) + QStringLiteral(".");
            for (const std::string& aviso : r.avisos) texto += QStringLiteral("\n") + Q(aviso);
            Dialogos().Informacao(this, texto);
        } catch (const EVandoro& e) {
            Dialogos().Erro(this, Q(e.what()));
        }
    });
}

void TfrmLocacao::btnExportarEstacasClick() {
    Protegido(this, [&] {
        QDialog d(this);
        d.setObjectName(QStringLiteral("frmEspacamentoEstacas"));
        d.setWindowTitle(QStringLiteral("Exportar estacas"));
        auto* v = new QVBoxLayout(&d);
        auto* linha = new QHBoxLayout;
        auto* campo = new TEditNumero;
        campo->setObjectName(QStringLiteral("edtEspacamentoEstacas"));
        campo->SetValor(espacamentoEstacas);
        auto* rotulo = new QLabel(QString::fromUtf8(kRotuloEspacamentoEstacas));
        rotulo->setBuddy(campo);
        linha->addWidget(rotulo);
        linha->addWidget(campo);
        v->addLayout(linha);
        const TBotoesDialogo botoes = BotoesOkCancelarAjuda(d, kTopicoAjuda);
        connect(botoes.ok, &QPushButton::clicked, &d, &QDialog::accept);
        v->addWidget(botoes.caixa);
        if (Dialogos().Executar(d) != QDialog::Accepted) return;
        try {
            const double espacamento = campo->Valor();
            ChecaEspacamentoEstacas(espacamento);
            espacamentoEstacas = espacamento;
            const TArquivosLocacao& a = resultado_.arquivos;
            const QString proposto = a.saida.empty() ? QFileInfo(arquivoSaida_).path()
                                                     : Q(TrocaExtensao(a.saida, "_estacas.csv"));
            const QString c = ComExtensaoPadrao(Dialogos().ArquivoSalvar(this, QStringLiteral("Exportar estacas"),
                                                                         proposto, QString::fromUtf8(kFiltroEstacas)),
                                                QStringLiteral(".csv"));
            if (c.isEmpty()) return;
            // Nothing the run read or wrote, before the replace question.
            ChecaSaidaEstacas(S(c), a.elevacao,
                              {a.declividade, a.saida, a.tabela, a.complemento, a.relatorio, a.faixas,
                               a.saida.empty() ? std::string() : TrocaExtensao(a.saida, ".prj"), limiteExecucao_,
                               escoadouroExecucao_, gerente_.PathProjeto()});
            if (QFileInfo::exists(c) &&
                !Dialogos().SimNao(this, QStringLiteral("O arquivo ") + c + QStringLiteral(" já existe. Deseja substituí-lo?")))
                return;
            TEstacasLocacao e;
            {
                const TCursorEspera espera;
                e = EstacasDaLocacao(m_.LocacaoNivel(), espacamento);
                GravarEstacas(S(c), e.estacas, e.crs);
            }
            Dialogos().Informacao(this, QStringLiteral("Estacas gravadas: %1 pontos em %2.").arg(e.estacas.size()).arg(c));
        } catch (const EVandoro& e) {
            Dialogos().Erro(this, Q(e.what()));
        }
    });
}

// ---- running ----

void TfrmLocacao::btnProcessarClick() {
    Protegido(this, [&] {
        if (!Coletar() || !Validar()) return;
        const std::string projeto = gerente_.PathProjeto();
        const auto caminho = [&](QLineEdit* e) { return CaminhoDoProjeto(S(e->text().trimmed()), projeto); };
        TArquivosLocacao pedidos;
        pedidos.elevacao = caminho(edtImagemElevacao_);
        pedidos.declividade = caminho(edtImagemDec_);
        pedidos.saida = caminho(edtVetorSaida_);
        const std::pair<const std::string*, std::pair<QLineEdit*, QString>> imagens[] = {
            {&pedidos.elevacao, {edtImagemElevacao_, QStringLiteral("Imagem de Elevação inválida")}},
            {&pedidos.declividade, {edtImagemDec_, QStringLiteral("Imagem de Declividade inválida")}},
        };
        for (const auto& [nome, campo] : imagens) {
            std::error_code ec;
            if (nome->empty() || !std::filesystem::is_regular_file(*nome, ec)) {
                Dialogos().Informacao(this, campo.second);
                Focar(campo.first, kTerreno);
                return;
            }
        }
        try {
            // Every value the run needs, before a file is touched or the replace question asked.
            ChecaEntradasLocacao(m_.Precipitacao(), m_.NumeroDaCurva(), SistemaDaLocacao(m_));
        } catch (const EVandoro& e) {
            Dialogos().Erro(this, Q(e.what()));
            return;
        }
        TArquivosLocacao arquivos;
        try {
            arquivos = ArquivosDaLocacao(m_.LocacaoNivel(), projeto, pedidos);
        } catch (const EVandoro& e) {
            Dialogos().Erro(this, Q(e.what()));
            Focar(edtVetorSaida_, kTerreno);
            return;
        }
        if (arquivos.saidaExiste &&
            !Dialogos().SimNao(this, QStringLiteral("Arquivo de saída já existente. Deseja substituir o arquivo?"))) {
            Focar(edtVetorSaida_, kTerreno);
            return;
        }
        const std::string limite = caminho(edtLimite_);
        std::error_code ec;
        if (!limite.empty() && !std::filesystem::is_regular_file(limite, ec)) {
            Dialogos().Informacao(this, QStringLiteral("Limite do talhão inválido"));
            Focar(edtLimite_, kTerreno);
            return;
        }
        const std::string escoadouro = gradiente_ ? caminho(edtEscoadouro_) : std::string();
        if (gradiente_ && (escoadouro.empty() || !std::filesystem::is_regular_file(escoadouro, ec))) {
            Dialogos().Informacao(this, QStringLiteral("Canais escoadouros inválidos: indique as linhas dos canais "
                                                       "para onde os terraços com gradiente drenam."));
            Focar(edtEscoadouro_, kTerreno);
            return;
        }
        // A model stepped coarser than the interval gives contours that follow its steps. The
        // run goes on from the grids the check read; a whole farm's take seconds to read, so
        // the progress window shows it. The read cannot stop halfway: a cancel ends it there.
        TGradesLocacao grades;
        {
            TJanelaProgresso leitura(
                this, {}, [] { return TLeituraProgresso{0, QString::fromUtf8(kCarregandoImagens), {}}; }, [] {});
            PrepararProgresso(leitura, AoIniciarLeitura);
            leitura.Executar([&] { grades = LerGradesLocacao(arquivos.elevacao, arquivos.declividade); });
            if (leitura.CancelamentoPedido()) return;
        }
        const std::string aviso =
            AvisoModeloEmDegraus(grades, SistemaDaLocacao(m_), m_.NumeroDaCurva(), m_.Precipitacao());
        if (!aviso.empty() && !Dialogos().SimNao(this, Q(aviso) + QStringLiteral("\n\nLocar assim mesmo?"))) return;
        DefinirLimiteCampo(m_.LocacaoNivel(), limite);
        limiteExecucao_ = limite;
        escoadouroExecucao_ = escoadouro;
        Executar(arquivos, grades);
    });
}

void TfrmLocacao::Executar(const TArquivosLocacao& arquivos, TGradesLocacao& grades) {
    TLocacaoNivel& loc = m_.LocacaoNivel();
    TProgressoCompartilhado progresso;
    const auto ler = [&progresso] {
        const TProgressoCompartilhado::TEstado e = progresso.Estado();
        TLeituraProgresso l;
        l.percentual = e.max > 0 ? 100.0 * e.posicao / e.max : 0;
        const std::string status = e.status.empty() ? kCarregandoImagens : e.status;
        // The number of lines placed follows the status after two spaces.
        l.texto = Q(e.contagem != 0 ? status + "  " + std::to_string(e.contagem) : status);
        return l;
    };
    TJanelaProgresso janela(this, {}, ler, [&progresso] { progresso.Parar(); });
    PrepararProgresso(janela, AoIniciarExecucao);
    erro_.clear();
    bool terminou = false;
    // The project's machine with the settings' output and price, for the table and its files.
    PrepararConstrucao(m_, m_.Configuracao().Construcao);
    loc.SetProgresso(&progresso);
    try {
        janela.Executar([&] {
            resultado_ = escoadouroExecucao_.empty()
                             ? Locar(loc, arquivos, m_.Precipitacao(), m_.NumeroDaCurva(), m_.TerracosNivel(), {},
                                     &grades)
                             : LocarComGradiente(loc, arquivos, escoadouroExecucao_, m_.Precipitacao(),
                                                 m_.NumeroDaCurva(), m_.TerracosGradiente(), {}, &grades);
        });
        terminou = true;
    } catch (const std::exception& e) {
        erro_ = QString::fromUtf8(e.what());
    } catch (...) {
        loc.SetProgresso(nullptr);
        throw;
    }
    loc.SetProgresso(nullptr);
    // A run that failed wrote nothing: there is no new result to show.
    if (!terminou) {
        resultado_ = TResultadoLocacao{};
        resultado_.arquivos = arquivos;
    }
    {
        const TCursorEspera espera;  // a whole farm's table and map take a second or two
        MostrarResultado();
    }
    if (!erro_.isEmpty()) Dialogos().Erro(this, erro_);
    for (const std::string& a : resultado_.avisos) Dialogos().Informacao(this, Q(a));
    std::error_code ec;
    const bool tabela = !resultado_.terracos.empty() && std::filesystem::is_regular_file(arquivos.tabela, ec);
    btnRelatorio_->setEnabled(tabela);
    btnExportarSig_->setEnabled(!resultado_.terracos.empty());
    btnExportarEstacas_->setEnabled(btnExportarSig_->isEnabled());
    if (tabela) btnRelatorioClick();
}

void TfrmLocacao::MostrarResultado() {
    TLocacaoNivel& loc = m_.LocacaoNivel();
    const auto& t = resultado_.terracos;
    const std::vector<TCanalLocado>& canais = loc.Canais();
    const bool gradiente = !t.empty() && canais.size() == t.size();
    TitulosDaTabela(gradiente);
    tabela_->setRowCount(int(t.size()));
    for (int i = 0; i < int(t.size()); ++i) {
        const size_t k = size_t(i);
        const std::vector<std::string> c = CelulasResultadoLocacao(resultado_, k, gradiente ? &canais[k] : nullptr);
        for (int j = 0; j < int(c.size()); ++j) {
            auto* item = new QTableWidgetItem(Q(c[size_t(j)]));
            // The level type is a phrase, read from its start; a channel's far end is in its tip.
            const bool tipo = !gradiente && j + 1 == int(c.size());
            item->setTextAlignment(tipo ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            if (tipo) item->setToolTip(item->text());
            if (gradiente) item->setToolTip(Q(TextoFimDoCanal(canais[k])));
            tabela_->setItem(i, j, item);
        }
    }
    QString total = QStringLiteral("Comprimento total de terraços: ") + Q(ComprimentoTotalFormatado(resultado_.comprimentoTotal));
    const TConstrucaoLocacao& construcao = resultado_.construcao;
    if (!t.empty()) {
        // The soil the plan moves, with the settings' widths and swell; the machine's hours and
        // cost on a line of their own, and once what the settings lack.
        total += QStringLiteral("    Volume de solo movimentado: ") + Q(VolumeTotalFormatado(construcao.volumeTotal));
        total += '\n' + Q(ServicoTotalFormatado(construcao));
        if (const std::string nota = NotaConstrucao(construcao.servicoTotal); !nota.empty()) total += '\n' + Q(nota);
    }
    // The flows on a line of their own: with many waterways they would not fit beside the totals.
    if (gradiente) {
        QStringList vazoes;
        for (const auto& [e, q] : VazaoPorEscoadouro(canais))
            vazoes << QStringLiteral("Vazão recebida pelo escoadouro %1: %2 L/s").arg(e).arg(Q(FormatFloat("0.0", q)));
        total += '\n' + vazoes.join(QStringLiteral("    "));
    }
    lblTotal_->setText(total);

    QStringList notas;
    if (!erro_.isEmpty()) notas << erro_;
    else if (t.empty()) notas << QStringLiteral("Nenhum terraço foi locado.");
    for (const std::string& n : resultado_.notas) notas << Q(n);
    for (const std::string& a : resultado_.avisos) notas << Q(a);
    if (!t.empty())
        for (const std::string& a : construcao.avisos) notas << Q(a);
    if (!resultado_.travessias.empty())
        notas << Q(TextoResumoTravessias(resultado_.travessias.size()));
    if (gradiente) {
        if (resultado_.areaDireta > 0) notas << Q(kRotuloAreaDireta + FloatToStrFixed(resultado_.areaDireta, 4));
        if (resultado_.areaDescoberta > 0)
            notas << Q(kRotuloAreaSemEscoadouro + FloatToStrFixed(resultado_.areaDescoberta, 4));
    } else if (resultado_.areaDescoberta > 0) {
        notas << Q(TextoAreaDescoberta(resultado_.areaDescoberta));
    }
    if (resultado_.pecasDescartadas > 0) notas << Q(TextoPecasDescartadas(resultado_.pecasDescartadas));
    lblNotas_->setText(notas.join('\n'));
    lblNotas_->setVisible(!notas.isEmpty());

    if (!resultado_.arquivos.elevacao.empty()) {
        TPlanoMapa plano = PlanoMapaDaLocacao(loc, gerente_.PathProjeto());
        if (t.empty()) plano.linhas.clear();
        mapa_->NomeProposto =
            resultado_.arquivos.saida.empty() ? QString() : Q(TrocaExtensao(resultado_.arquivos.saida, "_mapa.png"));
        mapa_->Carregar(plano);
    } else {
        mapa_->Limpar();
    }
    abas_->setTabEnabled(1, true);
    abas_->setCurrentIndex(1);
}

void TfrmLocacao::btnRelatorioClick() {
    Protegido(this, [&] { MostrarRelatorioLocacao(this, m_, m_.LocacaoNivel(), gerente_.PathProjeto(), mapa_->Mapa()); });
}

// ---- events ----

// The window closes only with its fields in the model, once: the frame's deletion closes it
// again, after another window may have changed the model.
void TfrmLocacao::closeEvent(QCloseEvent* e) {
    if (!fechada_) fechada_ = Coletar();
    e->setAccepted(fechada_);
}

bool TfrmLocacao::eventFilter(QObject* o, QEvent* e) {
    auto* campo = qobject_cast<QLineEdit*>(o);
    if (!campo) return QWidget::eventFilter(o, e);
    if (e->type() == QEvent::KeyPress) {
        // Every key in a number field counts as an edit, refused or not.
        Alterou();
    } else if (e->type() == QEvent::FocusIn && campo == precipitacao_->K()) {
        QTimer::singleShot(0, campo, [campo] { campo->selectAll(); });
    }
    return QWidget::eventFilter(o, e);
}

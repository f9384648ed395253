#include "gui/shell/Principal.h"

#include <QAction>
#include <QApplication>
#include <QChildEvent>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <utility>

#include "core/common/DataHora.h"
#include "core/project/Exemplos.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Assistentes.h"
#include "gui/common/Browser.h"
#include "gui/common/Impressora.h"
#include "gui/common/JanelaDados.h"
#include "gui/location/FrmLocacao.h"
#include "gui/project/ConfiguracaoConstrucao.h"
#include "gui/project/ConfiguracaoSistema.h"
#include "gui/project/Identificacao.h"
#include "gui/rainfall/ConsultaChuva.h"
#include "gui/raster/AbrirArq.h"
#include "gui/raster/Ferramentas.h"
#include "gui/raster/Visualizar.h"
#include "gui/common/Icones.h"
#include "gui/shell/Inicial.h"
#include "gui/sizing/FrmDimensionamento.h"

namespace {
const char* const kDimensionamento = "Dimensionamento";
const char* const kLocacao = "Locacao";

QString ComBarra(QString p) {
    if (!p.endsWith('/')) p += '/';
    return p;
}
}  // namespace

TFPrincipal::TFPrincipal(const QString& pastaPrograma, const QString& arquivoConfiguracao, QWidget* pai)
    : QMainWindow(pai),
      rugCan1_(std::make_unique<TRugCan>()),
      rugTer1_(std::make_unique<TRugTer>()),
      sm1_(std::make_unique<TSm>()),
      z1_(std::make_unique<TZ>()),
      dialogosProjeto_(this) {
    setObjectName("FPrincipal");
    pasta_ = ComBarra(QFileInfo(pastaPrograma.isEmpty() ? QCoreApplication::applicationDirPath() : pastaPrograma)
                          .absoluteFilePath());
    arquivoConfiguracao_ = arquivoConfiguracao;

    // The design storm comes first: the model creates it before the other objects.
    modelo_ = std::make_unique<TModeloProjeto>();
    modelo_->Quenda().SetPastaPrograma(S(pasta_));

    gerente_.SetTituloPrograma("Vandoro 4.1");
    gerente_.SetNomeDefault("PROJETO1.kzp");
    setWindowTitle(Q(gerente_.TituloPrograma()));
    QApplication::setWindowIcon(IconePrograma());

    area_ = new QMdiArea(this);
    area_->setObjectName("Area");
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->viewport()->installEventFilter(this);  // to place each child window as it comes
    barra_ = new QProgressBar(this);
    barra_->setObjectName("ProgressBar1");
    barra_->hide();
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(area_, 1);
    v->addWidget(barra_);
    setCentralWidget(central);

    CriarAcoes();
    CriarMenus();
    CriarBarras();

    CarregarConfiguracaoInicial();
    RotularRecentes();

    gerente_.SetNomeProjeto(gerente_.NomeDefault());
    gerente_.SetPastaPrograma(S(pasta_));
    gerente_.SetPathProjeto(S(pasta_));

    // Projects start in the examples; saving starts in the user's home.
    const QString exemplos = pasta_ + "Exemplos";
    gerente_.SaveDialog().PastaInicial = S(QDir::homePath());
    gerente_.OpenDialog().PastaInicial = S(QFileInfo(exemplos).isDir() ? exemplos : QDir::homePath());

    LigarGerente();
    HabilitarCampos(false);
    // A shipped example opens as the user's own copy: nobody writes into the installed tree.
    gerente_.CaminhoParaAbrir = [this](const std::string& c) {
        return CaminhoEditavel(c, S(pasta_), S(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    };

    CriarDimensionamento = [](TFPrincipal& p) {
        auto* w = new TfrmDimensionamento(p.Modelo(), p.GerenteSis1(), nullptr, p.Assistentes());
        w->SetJanelaConsulta(FabricaConsultaChuva(w, S(p.PastaPrograma())));
        return w;
    };
    CriarLocacao = [](TFPrincipal& p) {
        auto* w = new TfrmLocacao(p.Modelo(), p.GerenteSis1(), nullptr, p.Assistentes());
        w->SetJanelaConsulta(FabricaConsultaChuva(w, S(p.PastaPrograma())));
        return w;
    };

    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &TFPrincipal::AtualizarRelogio);
    timer_->start(1000);
    AtualizarRelogio();
    resize(1024, 700);
}

TAssistentes TFPrincipal::Assistentes() const { return {rugCan1_.get(), rugTer1_.get(), sm1_.get(), z1_.get()}; }

TFPrincipal::~TFPrincipal() {
    // Child windows work on the model by reference: they go before it.
    const auto filhos = area_->subWindowList();
    for (QMdiSubWindow* s : filhos) delete s;
}

QAction* TFPrincipal::Acao(const char* nome, const QString& texto, const QString& dica, std::function<void()> f,
                           const QKeySequence& atalho) {
    auto* a = new QAction(texto, this);
    a->setObjectName(nome);
    a->setStatusTip(dica);
    if (!atalho.isEmpty()) a->setShortcut(atalho);
    if (f) connect(a, &QAction::triggered, this, [this, f] { Proteger(f); });
    return a;
}

void TFPrincipal::CriarAcoes() {
    actNovo_ = Acao("actNovo", "&Novo", "Começa um projeto novo", [this] { Novo(); }, Qt::Key_F4);
    actAbrir_ = Acao("actAbrir", "&Abrir", "Abre um projeto gravado", [this] { Abrir(); }, Qt::Key_F3);
    actSalvar_ = Acao("actSalvar", "&Salvar", "Grava o projeto", [this] { Salvar(); }, Qt::Key_F2);
    actSalvarComo_ = Acao("actSalvarComo", "&Salvar &Como...", "Grava o projeto com outro nome", [this] { SalvarComo(); });
    actFechar_ = Acao("actFechar", "&Fechar", "Fecha o projeto", [this] { Fechar(); });
    actIdentificacao_ = Acao("actIdentificacao", "&Identificação",
                             "Nome, empresa, localidade, estado, técnico e data do projeto", [this] { Identificacao(); },
                             Qt::Key_F5);
    for (int i = 0; i < 4; ++i) {
        const QByteArray nome = "actRecente" + QByteArray::number(i + 1);
        actRecente_[i] = Acao(nome.constData(), {}, {}, [this, i] { AbrirRecente(i + 1); });
    }
    actSair_ = Acao("actSair", "&Sair", "Encerra o programa", [this] { close(); });

    actDimensionamento_ = Acao("actDimensionamento", "&Dimensionamento de Terraços",
                               "Dimensiona terraços em nível, com gradiente ou bacias de acumulação",
                               [this] { Dimensionamento(); }, Qt::Key_F6);
    actLocacao_ = Acao("actLocacao", "&Locação de Terraços", "Loca terraços em nível ou com gradiente sobre um modelo de elevação",
                       [this] { Locacao(); }, Qt::Key_F8);
    actPraticas_ = Acao("actPraticas", "&Descrição das Práticas",
                        "Descreve os terraços, as bacias de acumulação e os métodos de espaçamento",
                        [this] { DescricaoPraticas(); });

    // Windows of the raster tools come later; their commands are there, switched off.
    actVisualizar_ = Acao("actVisualizar", "&Visualizar", "Abre uma imagem para visualizar", [this] {
        AbrirVisualizador({area_, statusBar(), barra_, pasta_, Q(gerente_.OpenDialog().PastaInicial),
                           CarregarImagensNaMemoria()});
    });
    actImportacao_ = Acao("actImportacao", "&Importação", "Importa uma imagem de outro formato", {});
    actExportacao_ = Acao("actExportacao", "&Exportação", "Exporta uma imagem para outro formato", {});
    actDeclividade_ = Acao("actDeclividade", "&Declividade", "Calcula a declividade de um modelo de elevação", {});
    actFiltro_ = Acao("actFiltro", "&Filtro", "Suaviza uma imagem com um filtro", {});
    for (QAction* a : {actImportacao_, actExportacao_, actDeclividade_, actFiltro_}) a->setEnabled(false);
    actDeclividade_->setVisible(false);

    actConfiguracao_ = Acao("actConfiguracao", "Configuração do &Sistema", "Unidades e estado padrão do programa",
                            [this] { ConfiguracaoSistema(); });
    actConstrucao_ = Acao("actConstrucao", "Construção dos &Terraços",
                          "Larguras dos terraços, empolamento do solo e máquinas", [this] { ConfiguracaoConstrucao(); });
    actImpressora_ = Acao("actImpressora", "Configurar &Impressora", "Escolhe e configura a impressora",
                          [this] { ConfigurarImpressora(); });
    actCarregarImagens_ = Acao("actCarregarImagens", "Carregar imagens na memória",
                               "Lê as imagens inteiras na memória ao abri-las", {});
    actCarregarImagens_->setCheckable(true);

    actCascata_ = Acao("actCascata", "&Cascata", "Organiza as janelas em cascata", [this] { Cascata(); });
    actLadoALado_ = Acao("actLadoALado", "&Lado a lado", "Organiza as janelas lado a lado", [this] { LadoALado(); });
    actMinimizadas_ = Acao("actMinimizadas", "&Minimizadas", "Minimiza todas as janelas", [this] { Minimizadas(); });
    actArranjarIcones_ = Acao("actArranjarIcones", "&Arranjar ícones",
                              "Alinha as janelas minimizadas na parte de baixo", [this] { ArranjarIcones(); });

    actConteudo_ = Acao("actConteudo", "&Conteúdo", "Mostra o conteúdo da ajuda", [this] { AbrirAjuda(this, 0); },
                        Qt::Key_F1);
    actComoUsar_ = Acao("actComoUsar", "Como usar a &ajuda..", "Explica como usar a ajuda",
                        [this] { AbrirAjuda(this, 6); });
    actSobre_ = Acao("actSobre", "&Sobre o Vandoro 4.1...", "Mostra a versão do programa", [this] { Sobre(); });

    // Slope, filter and vector conversion; the slope is shown too, as the location window
    // needs a slope raster and nothing else makes one.
    const std::pair<QAction*, TFerramenta> ferramentas[] = {{actDeclividade_, TFerramenta::Declividade},
                                                            {actFiltro_, TFerramenta::Filtro},
                                                            {actImportacao_, TFerramenta::Importacao},
                                                            {actExportacao_, TFerramenta::Exportacao}};
    for (const auto& [a, f] : ferramentas) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [this, f = f] {
            Proteger([this, f] { AbrirFerramenta(f, this, Q(gerente_.OpenDialog().PastaInicial)); });
        });
    }
    actDeclividade_->setVisible(true);
    actImportacao_->setStatusTip("Importa um arquivo vetor do Idrisi ou do Surfer");
    actExportacao_->setStatusTip("Exporta um arquivo vetor para o Idrisi ou o Surfer");
}

void TFPrincipal::CriarMenus() {
    QMenu* projeto = menuBar()->addMenu("&Projeto");
    projeto->setObjectName("mnuProjeto");
    projeto->addActions({actNovo_, actAbrir_, actSalvar_, actSalvarComo_, actFechar_});
    projeto->addSeparator();
    projeto->addAction(actIdentificacao_);
    projeto->addSeparator();
    for (QAction* a : actRecente_) projeto->addAction(a);
    projeto->addSeparator();
    projeto->addAction(actSair_);

    QMenu* terr = menuBar()->addMenu("&Terraceamento");
    terr->setObjectName("mnuTerraceamento");
    terr->addActions({actDimensionamento_, actLocacao_});
    terr->addSeparator();
    terr->addAction(actPraticas_);

    QMenu* ferr = menuBar()->addMenu("&Ferramentas");
    ferr->setObjectName("mnuFerramentas");
    ferr->addActions({actVisualizar_, actImportacao_, actExportacao_, actDeclividade_, actFiltro_});

    QMenu* conf = menuBar()->addMenu("&Configurações");
    conf->setObjectName("mnuConfiguracoes");
    conf->addActions({actConfiguracao_, actConstrucao_, actImpressora_});
    conf->addSeparator();
    conf->addAction(actCarregarImagens_);

    QMenu* jan = menuBar()->addMenu("&Janelas");
    jan->setObjectName("mnuJanelas");
    jan->addActions({actCascata_, actLadoALado_, actMinimizadas_, actArranjarIcones_});

    QMenu* ajuda = menuBar()->addMenu("&Ajuda");
    ajuda->setObjectName("mnuAjuda");
    ajuda->addActions({actConteudo_, actComoUsar_});
    ajuda->addSeparator();
    ajuda->addAction(actSobre_);
}

void TFPrincipal::CriarBarras() {
    QStyle* st = style();
    const struct {
        QAction* acao;
        QStyle::StandardPixmap icone;
        const char* rotulo;
    } botoes[] = {
        {actNovo_, QStyle::SP_FileIcon, "Novo"},
        {actAbrir_, QStyle::SP_DialogOpenButton, "Abrir"},
        {actSalvar_, QStyle::SP_DialogSaveButton, "Salvar"},
        {actFechar_, QStyle::SP_DialogCloseButton, "Fechar"},
        {nullptr, {}, nullptr},
        {actVisualizar_, QStyle::SP_FileDialogContentsView, "Visualizar"},
        {actImportacao_, QStyle::SP_ArrowDown, "Importar"},
        {actExportacao_, QStyle::SP_ArrowUp, "Exportar"},
        {actFiltro_, QStyle::SP_FileDialogDetailedView, "Filtro"},
        {nullptr, {}, nullptr},
        {actConfiguracao_, QStyle::SP_CustomBase, "Configurar"},
        {actImpressora_, QStyle::SP_CustomBase, "Impressora"},
        {actSobre_, QStyle::SP_MessageBoxInformation, "Sobre"},
        {actSair_, QStyle::SP_CustomBase, "Sair"},
    };
    actConfiguracao_->setIcon(IconeConfiguracao());
    actImpressora_->setIcon(IconeImpressora());
    actSair_->setIcon(IconeSair());
    QToolBar* barra = addToolBar("Ferramentas");
    barra->setObjectName("ToolBar1");
    barra->setMovable(false);
    barra->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    barra->setIconSize(QSize(24, 24));
    for (const auto& b : botoes) {
        if (!b.acao) {
            barra->addSeparator();
            continue;
        }
        if (b.icone != QStyle::SP_CustomBase) b.acao->setIcon(st->standardIcon(b.icone));
        b.acao->setIconText(QString::fromUtf8(b.rotulo));
        barra->addAction(b.acao);
    }

    relogio_ = new QLabel(this);
    relogio_->setObjectName("Relogio");
    relogio_->setFixedWidth(100);
    relogio_->setAlignment(Qt::AlignCenter);
    statusBar()->setObjectName("StatusBar1");
    statusBar()->addPermanentWidget(relogio_);
}

void TFPrincipal::AtualizarRelogio() { relogio_->setText(Q(FormatDateTime(Regional::Current().LongTimeFormat, Now()))); }

void TFPrincipal::CarregarConfiguracaoInicial() {
    if (arquivoConfiguracao_.isEmpty()) arquivoConfiguracao_ = Q(::ArquivoConfiguracao(S(pasta_)));
    TConfiguracao& cfg = modelo_->Configuracao();
    std::vector<std::string> corrigidas;
    if (!CarregarConfiguracao(S(arquivoConfiguracao_), cfg, &corrigidas)) {
        avisos_ << "Não foi possível ler o arquivo de configuração " + arquivoConfiguracao_ +
                       ". O programa usa os valores padrão.";
    } else if (!corrigidas.empty()) {
        QStringList chaves;
        for (const auto& c : corrigidas) chaves << Q(c);
        avisos_ << "O arquivo de configuração " + arquivoConfiguracao_ + " tem valores inválidos em " +
                       chaves.join(", ") + ". O programa usa os valores padrão no lugar deles.";
    }
    gerente_.SetRecentes(cfg.Paths);
    modelo_->Quenda().SetIndEstado(IndiceEstadoBanco(cfg.IndEstado));
}

bool TFPrincipal::GravarConfiguracao() {
    TConfiguracao& cfg = modelo_->Configuracao();
    cfg.Paths = gerente_.Recentes();
    if (SalvarConfiguracao(S(arquivoConfiguracao_), cfg)) return true;
    Dialogos().Erro(this, "Não foi possível gravar o arquivo " + arquivoConfiguracao_ + ".");
    return false;
}

void TFPrincipal::MostrarAvisosIniciais(QWidget* inicial) {
    QStringList faltam;
    for (const char* p : {"Exemplos", "texto", "ajuda", "../Arquivos Comuns/Quenda"}) {
        const QString pasta = QDir::cleanPath(pasta_ + p);
        if (!QFileInfo(pasta).isDir()) faltam << pasta;
    }
    if (!faltam.isEmpty())
        avisos_ << (faltam.size() == 1 ? QStringLiteral("Pasta de dados não encontrada:\n")
                                       : QStringLiteral("Pastas de dados não encontradas:\n")) +
                       faltam.join('\n') +
                       QStringLiteral("\nO programa continua, mas o que depende delas não estará disponível.");
    if (avisos_.isEmpty()) return;
    if (inicial) inicial->close();
    const QStringList avisos = std::exchange(avisos_, {});
    for (const QString& a : avisos) Dialogos().Aviso(this, a);
}

void TFPrincipal::LigarGerente() {
    modelo_->LigarGerente(gerente_);
    gerente_.SetDialogos(&dialogosProjeto_);
    gerente_.DefinirTitulo = [this](const std::string& t) { setWindowTitle(Q(t)); };
    gerente_.OnAbilitarCampos = [this] { HabilitarCampos(true); };
    gerente_.OnDesabilitarCampos = [this] {
        HabilitarCampos(false);
        setWindowTitle(Q(gerente_.TituloPrograma()));
    };
    gerente_.OnLerCamposDados = [this] { LerCamposDados(); };
    gerente_.OnLimparCamposDados = [this] { DescartarModulos(); };
    // Once the project is on disk, no window shows it as modified any more.
    gerente_.OnEscreverArquivo = [this, escrever = gerente_.OnEscreverArquivo] {
        if (escrever) escrever();
        for (QMdiSubWindow* s : area_->subWindowList())
            if (dynamic_cast<IJanelaDados*>(s->widget())) s->widget()->setWindowModified(false);
    };
    gerente_.OnPreencherCamposDados = [this] {
        if (modelo_->Modulo() == kDimensionamento) Dimensionamento();
        else if (modelo_->Modulo() == kLocacao) Locacao();
    };
}

void TFPrincipal::Proteger(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        Dialogos().Erro(this, QString::fromStdString(e.what()));
    }
}

void TFPrincipal::HabilitarCampos(bool sim) {
    for (QAction* a : {actFechar_, actSalvar_, actSalvarComo_, actIdentificacao_, actDimensionamento_, actLocacao_})
        a->setEnabled(sim);
}

void TFPrincipal::RotularRecentes() {
    const auto& r = gerente_.Recentes();
    for (int i = 0; i < 4; ++i) {
        const QString prefixo = "&" + QString::number(i + 1) + "/ ";
        QString nome = Q(gerente_.RotuloRecente(i + 1)).mid(prefixo.size());
        nome.replace('&', "&&");  // a file name is not a shortcut
        actRecente_[i]->setText(prefixo + nome);
        actRecente_[i]->setStatusTip(r[i].empty() ? QString() : "Abre o projeto " + Q(r[i]));
        actRecente_[i]->setEnabled(!r[i].empty());
    }
}

bool TFPrincipal::CarregarImagensNaMemoria() const { return actCarregarImagens_->isChecked(); }

// ---- module windows ----

QMdiSubWindow* TFPrincipal::SubJanelaModulo(const QString& modulo) const {
    for (QMdiSubWindow* s : area_->subWindowList()) {
        const auto* j = dynamic_cast<const IJanelaDados*>(s->widget());
        if (j && j->Modulo() == modulo) return s;
    }
    return nullptr;
}

IJanelaDados* TFPrincipal::JanelaModulo(const QString& modulo) const {
    QMdiSubWindow* s = SubJanelaModulo(modulo);
    return s ? dynamic_cast<IJanelaDados*>(s->widget()) : nullptr;
}

void TFPrincipal::LerCamposDados() {
    const auto lista = area_->subWindowList(QMdiArea::CreationOrder);
    for (auto it = lista.crbegin(); it != lista.crend(); ++it) {
        if (auto* j = dynamic_cast<IJanelaDados*>((*it)->widget())) {
            j->OnLerCamposDados();
            return;
        }
    }
}

void TFPrincipal::FecharModulo(const QString& modulo) {
    // The window's own close collects what was typed; a window that refuses stays.
    if (QMdiSubWindow* s = SubJanelaModulo(modulo)) s->close();
}

void TFPrincipal::DescartarModulos() {
    for (QMdiSubWindow* s : area_->subWindowList()) {
        if (!dynamic_cast<IJanelaDados*>(s->widget())) continue;
        // Gone at once, so the window the project reopens is a new one. Only the menus of
        // this window get here, never a handler of the window being deleted.
        delete s;
    }
}

void TFPrincipal::FecharModulos() {
    FecharModulo(kDimensionamento);
    FecharModulo(kLocacao);
}

void TFPrincipal::AbrirModulo(const QString& modulo) {
    const QString outro = modulo == kDimensionamento ? kLocacao : kDimensionamento;
    FecharModulo(outro);
    if (SubJanelaModulo(outro)) return;  // it would not close: only one of the two at a time
    if (QMdiSubWindow* s = SubJanelaModulo(modulo)) {
        if (s->isMinimized()) s->showNormal();
        area_->setActiveSubWindow(s);
        JanelaModulo(modulo)->MostrarInicio();
        return;
    }
    auto& fabrica = modulo == kDimensionamento ? CriarDimensionamento : CriarLocacao;
    QWidget* w = fabrica(*this);
    auto* j = dynamic_cast<IJanelaDados*>(w);
    if (!j) {
        delete w;
        return;
    }
    w->setAttribute(Qt::WA_DeleteOnClose);
    const bool temTamanho = w->testAttribute(Qt::WA_Resized);
    const QSize tamanho = w->size();
    QMdiSubWindow* s = area_->addSubWindow(w);
    // A window that closes itself ("Cancelar", "Fechar") takes its frame with it: the frame
    // owns the delete-on-close, the window alone would only hide inside it.
    w->installEventFilter(this);
    j->PreencherCampos();
    s->show();
    // The window's own size is for its contents; the frame comes on top of it.
    if (temTamanho) s->resize(tamanho + (s->size() - w->size()));
    Encaixar(s);
    area_->setActiveSubWindow(s);
}

// ---- commands ----

// The data-entry windows close inside the manager, once the user's choice is final (a
// cancelled question or file dialog leaves them as they were).
void TFPrincipal::Novo() {
    if (gerente_.New()) Identificacao();
}

void TFPrincipal::Abrir() {
    const bool leu = gerente_.Open();
    RotularRecentes();
    if (leu) AvisarCamposIlegiveis();
    // The next project dialog starts where this project came from.
    if (leu) {
        const std::string pasta = S(QFileInfo(Q(gerente_.PathProjeto())).absolutePath());
        gerente_.OpenDialog().PastaInicial = pasta;
        gerente_.SaveDialog().PastaInicial = pasta;
    }
}

bool TFPrincipal::AbrirArquivo(const QString& caminho) {
    const bool leu = gerente_.OpenFile(S(caminho));
    RotularRecentes();
    if (leu) AvisarCamposIlegiveis();
    return leu;
}

void TFPrincipal::AbrirRecente(int n) {
    if (n < 1 || n > 4 || gerente_.Recentes()[n - 1].empty()) return;
    AbrirArquivo(Q(gerente_.Recentes()[n - 1]));
}

void TFPrincipal::Salvar() {
    gerente_.Save();
    RotularRecentes();
}

void TFPrincipal::SalvarComo() {
    gerente_.SaveAs();
    RotularRecentes();
}

bool TFPrincipal::Fechar() {
    if (!gerente_.Close()) return false;
    RotularRecentes();
    FecharModulos();
    return true;
}

void TFPrincipal::Identificacao() {
    TFIdentificacao d(modelo_->Identificacao(), gerente_, this);
    Dialogos().Executar(d);
}

void TFPrincipal::Dimensionamento() {
    modelo_->SetModulo(kDimensionamento);
    AbrirModulo(kDimensionamento);
}

void TFPrincipal::Locacao() {
    // The sizing window keeps what it shows first: its system must not come back over the one
    // chosen here.
    FecharModulo(kDimensionamento);
    if (SubJanelaModulo(kDimensionamento)) return;
    // Location lays out level or graded terraces; a project of another system starts on level ones.
    if (modelo_->TipoSistema().Tipo() != TTipoSistema::Gradiente) modelo_->TipoSistema().SetTipo(TTipoSistema::Nivel);
    modelo_->SetModulo(kLocacao);
    AbrirModulo(kLocacao);
}

void TFPrincipal::DescricaoPraticas() {
    const QString pagina = pasta_ + "texto/praticas.htm";
    if (!QFileInfo::exists(pagina)) {
        Dialogos().Erro(this, "Não foi possível encontrar o arquivo " + pagina + ".");
        return;
    }
    TBrowser b(this);
    b.show(pagina);
}

void TFPrincipal::ConfiguracaoSistema() {
    // What is typed goes into the model first, so the unit change rewrites it, not loses it.
    LerCamposDados();
    TConfiguracao& cfg = modelo_->Configuracao();
    TFConfiguracaoSistema d(cfg, this);
    if (Dialogos().Executar(d) != QDialog::Accepted) return;
    d.Aplicar(cfg);
    for (QMdiSubWindow* s : area_->subWindowList())
        if (auto* j = dynamic_cast<IJanelaDados*>(s->widget())) j->AtualizarUnidades();
}

// Written to the settings file at shut-down with the rest of the settings; the results use the
// new values from their next calculation.
void TFPrincipal::ConfiguracaoConstrucao() {
    TConfigConstrucao& c = modelo_->Configuracao().Construcao;
    TFConfiguracaoConstrucao d(c, this);
    if (Dialogos().Executar(d) != QDialog::Accepted) return;
    d.Aplicar(c);
    for (QMdiSubWindow* s : area_->subWindowList())
        if (auto* j = dynamic_cast<IJanelaDados*>(s->widget())) j->AtualizarConstrucao();
}

void TFPrincipal::ConfigurarImpressora() { Dialogos().ConfigurarImpressora(this, ImpressoraPrograma()); }

void TFPrincipal::AvisarCamposIlegiveis() {
    const std::string aviso = TModeloProjeto::AvisoCamposIlegiveis(modelo_->CamposIlegiveis());
    if (!aviso.empty()) Dialogos().Aviso(this, Q(aviso));
}

void TFPrincipal::Cascata() {
    area_->cascadeSubWindows();
    for (QMdiSubWindow* s : area_->subWindowList()) Encaixar(s);
}

void TFPrincipal::Encaixar(QMdiSubWindow* s) const {
    if (!s || s->isMaximized() || s->isMinimized()) return;
    const QSize vista = area_->viewport()->size();
    if (vista.isEmpty()) return;
    // Never below what its contents need: a squeezed window would clip its own buttons.
    s->resize(s->size().boundedTo(vista).expandedTo(s->minimumSizeHint()));
    const int x = std::clamp(s->x(), 0, std::max(0, vista.width() - s->width()));
    const int y = std::clamp(s->y(), 0, std::max(0, vista.height() - s->height()));
    s->move(x, y);
}

bool TFPrincipal::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::Close && dynamic_cast<IJanelaDados*>(o)) {
        auto* w = static_cast<QWidget*>(o);
        if (auto* s = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
            // Known only once the window has answered: a refused close leaves it shown.
            QTimer::singleShot(0, s, [s, w = QPointer<QWidget>(w)] {
                if (w && w->isHidden() && !s->isMinimized()) s->close();
            });
        }
    } else if (o == area_->viewport() && e->type() == QEvent::ChildAdded) {
        if (auto* s = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(e)->child())) s->installEventFilter(this);
    } else if (e->type() == QEvent::Show) {
        if (auto* s = qobject_cast<QMdiSubWindow*>(o)) {
            Encaixar(s);
            // Once more after the window has sized itself to what it shows.
            QTimer::singleShot(0, s, [this, s] { Encaixar(s); });
        }
    }
    return QMainWindow::eventFilter(o, e);
}
void TFPrincipal::LadoALado() { area_->tileSubWindows(); }

void TFPrincipal::Minimizadas() {
    for (QMdiSubWindow* s : area_->subWindowList()) s->showMinimized();
}

void TFPrincipal::ArranjarIcones() {
    // Minimised children in a row along the bottom, the next row above when one is full.
    const int largura = area_->viewport()->width();
    int x = 0, base = area_->viewport()->height();
    for (QMdiSubWindow* s : area_->subWindowList(QMdiArea::CreationOrder)) {
        if (!s->isMinimized()) continue;
        const QSize t = s->size();
        if (x > 0 && x + t.width() > largura) {
            x = 0;
            base -= t.height();
        }
        s->move(x, base - t.height());
        x += t.width();
    }
}

void TFPrincipal::Sobre() { MostrarSobre(this); }

void TFPrincipal::closeEvent(QCloseEvent* e) {
    if (encerrado_) {
        e->accept();
        return;
    }
    // Unsaved cell edits of a viewer are asked about first.
    if (!FecharVisualizadores() || !gerente_.Close()) {  // the user cancelled: the program goes on
        e->ignore();
        return;
    }
    RotularRecentes();
    FecharModulos();
    GravarConfiguracao();
    encerrado_ = true;
    e->accept();
}

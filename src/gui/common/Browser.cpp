#include "gui/common/Browser.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/common/DataHora.h"
#include "core/common/Erros.h"
#include "core/common/Regional.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Icones.h"
#include "gui/common/Impressora.h"
#include "gui/common/Localizar.h"
#include "gui/common/VisualizadorHtml.h"

TFBrowser::TFBrowser(QWidget* pai) : QDialog(pai) {
    setObjectName(QStringLiteral("FBrowser"));
    setWindowIcon(QApplication::windowIcon());
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);

    QStyle* s = style();
    acVoltar_ = Acao("mnuVoltar", QStringLiteral("&Voltar"), s->standardIcon(QStyle::SP_ArrowBack),
                     QKeySequence(Qt::ALT | Qt::Key_Left));
    acAvancar_ = Acao("mnuAvancar", QStringLiteral("&Avançar"), s->standardIcon(QStyle::SP_ArrowForward),
                      QKeySequence(Qt::ALT | Qt::Key_Right));
    acInicio_ = Acao("mnuInicio", QStringLiteral("&Início"), s->standardIcon(QStyle::SP_DirHomeIcon),
                     QKeySequence(Qt::ALT | Qt::Key_Home));
    acLocalizar_ = Acao("mnuLocalizar", QStringLiteral("&Localizar..."),
                        s->standardIcon(QStyle::SP_FileDialogContentsView), QKeySequence::Find);
    acImprimir_ = Acao("mnuImprimir", QStringLiteral("&Imprimir..."),
                       QIcon::fromTheme(QStringLiteral("document-print"), IconeImpressora()), QKeySequence::Print);
    acPdf_ = Acao("mnuExportarPdf", QStringLiteral("&Exportar PDF..."), s->standardIcon(QStyle::SP_DialogSaveButton), {});
    acAjuda_ = Acao("mnuAjuda", QStringLiteral("&Ajuda"), s->standardIcon(QStyle::SP_DialogHelpButton),
                    QKeySequence::HelpContents);
    acSobre_ = Acao("mnuSobre", QStringLiteral("&Sobre"), {}, {});
    acSair_ = Acao("mnuSair", QStringLiteral("&Sair"), IconeSair(), {});

    auto* menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* arquivo = menu->addMenu(QStringLiteral("&Arquivo"));
    arquivo->addAction(acImprimir_);
    arquivo->addAction(acPdf_);
    arquivo->addSeparator();
    arquivo->addAction(acSair_);
    QMenu* navegar = menu->addMenu(QStringLiteral("&Navegar"));
    navegar->addAction(acVoltar_);
    navegar->addAction(acAvancar_);
    navegar->addAction(acInicio_);
    QMenu* editar = menu->addMenu(QStringLiteral("&Editar"));
    editar->addAction(acLocalizar_);
    QMenu* ajuda = menu->addMenu(QStringLiteral("Aj&uda"));
    ajuda->addAction(acAjuda_);
    acSepSobre_ = ajuda->addSeparator();
    ajuda->addAction(acSobre_);

    auto* barra = new QToolBar(this);
    barra->setObjectName(QStringLiteral("ToolBar1"));
    barra->setIconSize(QSize(20, 20));
    barra->addWidget(Botao("btnVoltar", acVoltar_, QStringLiteral("Voltar")));
    barra->addWidget(Botao("btnAvancar", acAvancar_, QStringLiteral("Avançar")));
    barra->addWidget(Botao("btnInicio", acInicio_, QStringLiteral("Início")));
    barra->addSeparator();
    barra->addWidget(Botao("btnLocalizar", acLocalizar_, QStringLiteral("Localizar")));
    barra->addWidget(Botao("btnImprimir", acImprimir_, QStringLiteral("Imprimir")));
    barra->addWidget(Botao("btnExportarPdf", acPdf_, QStringLiteral("Exportar PDF")));
    barra->addSeparator();
    barra->addWidget(Botao("btnAjuda", acAjuda_, QStringLiteral("Ajuda")));
    barra->addWidget(Botao("btnSair", acSair_, QStringLiteral("      Sair       ")));

    html_ = new TVisualizadorHtml(this);
    html_->setObjectName(QStringLiteral("HTMLViewer1"));
    html_->SetMaxHistorico(15);

    status_ = new QStatusBar(this);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setSizeGripEnabled(false);
    lblTexto_ = new QLabel(this);
    lblTexto_->setObjectName(QStringLiteral("lblTexto"));
    lblRelogio_ = new QLabel(this);
    lblRelogio_->setObjectName(QStringLiteral("lblRelogio"));
    lblRelogio_->setFixedWidth(100);
    lblRelogio_->setAlignment(Qt::AlignCenter);
    status_->addWidget(lblTexto_, 1);
    status_->addPermanentWidget(lblRelogio_);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->setMenuBar(menu);
    v->addWidget(barra);
    v->addWidget(html_, 1);
    v->addWidget(status_);

    localizar_ = new TFLocalizar(this);

    connect(acVoltar_, &QAction::triggered, this, &TFBrowser::Voltar);
    connect(acAvancar_, &QAction::triggered, this, &TFBrowser::Avancar);
    connect(acInicio_, &QAction::triggered, this, &TFBrowser::Inicio);
    connect(acLocalizar_, &QAction::triggered, this, &TFBrowser::AbrirLocalizar);
    connect(acImprimir_, &QAction::triggered, this, &TFBrowser::Imprimir);
    connect(acPdf_, &QAction::triggered, this, &TFBrowser::ExportarPdf);
    connect(acAjuda_, &QAction::triggered, this, &TFBrowser::Ajuda);
    connect(acSobre_, &QAction::triggered, this, &TFBrowser::Sobre);
    connect(acSair_, &QAction::triggered, this, &QDialog::accept);
    connect(localizar_, &TFLocalizar::Proxima, this, &TFBrowser::LocalizarProxima);
    connect(html_, &TVisualizadorHtml::Ocupado, this, [this] { AjustarBotoes(true); });
    connect(html_, &TVisualizadorHtml::Livre, this, [this] { AjustarBotoes(false); });
    connect(html_, &TVisualizadorHtml::HistoricoMudou, this, [this] {
        AjustarBotoes(false);
        AtualizarLegenda();
        html_->setFocus();
    });
    connect(html_, qOverload<const QUrl&>(&QTextBrowser::highlighted), this, [this](const QUrl& u) {
        lblTexto_->setText(u.isLocalFile() ? QFileInfo(u.toLocalFile()).fileName() : u.toString());
    });

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TFBrowser::AtualizarRelogio);
    timer_->start();
    AtualizarRelogio();

    // At least three quarters of the screen in each direction, at most all of it.
    if (QScreen* tela = screen()) {
        const QSize t = tela->geometry().size();
        setMaximumSize(t);
        setMinimumSize(int(std::lround(t.width() * 0.75)), int(std::lround(t.height() * 0.75)));
        resize(minimumSize());
    }
    AjustarBotoes(false);
}

QAction* TFBrowser::Acao(const char* nome, const QString& texto, const QIcon& icone, const QKeySequence& atalho) {
    auto* a = new QAction(icone, texto, this);
    a->setObjectName(QLatin1String(nome));
    if (!atalho.isEmpty()) a->setShortcut(atalho);
    addAction(a);  // shortcuts work wherever the focus is in the window
    return a;
}

QToolButton* TFBrowser::Botao(const char* nome, QAction* acao, const QString& texto) {
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(nome));
    b->setDefaultAction(acao);
    b->setText(texto);
    b->setToolTip(QString(acao->text()).remove('&').remove(QStringLiteral("...")));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return b;
}

void TFBrowser::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (ativado_) return;
    ativado_ = true;
    acSobre_->setVisible(showAbout_);
    acSepSobre_->setVisible(showAbout_);
    Centralizar();
    if (!inicial_.isEmpty()) html_->Carregar(inicial_);
}

void TFBrowser::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange) return;
    const auto antes = static_cast<QWindowStateChangeEvent*>(e)->oldState();
    if ((antes & (Qt::WindowMinimized | Qt::WindowMaximized)) && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        QTimer::singleShot(0, this, &TFBrowser::Centralizar);  // after the platform has restored the size
}

void TFBrowser::Centralizar() {
    QScreen* tela = screen();
    if (!tela) return;
    QRect r = frameGeometry();
    r.moveCenter(tela->availableGeometry().center());
    move(r.topLeft());
}

void TFBrowser::AjustarBotoes(bool ocupado) {
    const int n = html_->TamanhoHistorico(), i = html_->IndiceHistorico();
    acAvancar_->setEnabled(!ocupado && i > 0);
    acVoltar_->setEnabled(!ocupado && i < n - 1);
    const bool doc = !ocupado && html_->TemDocumento();
    acImprimir_->setEnabled(doc);
    acLocalizar_->setEnabled(doc);
    acPdf_->setEnabled(doc);
}

void TFBrowser::AtualizarLegenda() {
    QString t = html_->Titulo();
    if (t.isEmpty()) t = QFileInfo(html_->Arquivo()).fileName();
    setWindowTitle(t);
}

void TFBrowser::AtualizarRelogio() {
    lblRelogio_->setText(Q(FormatDateTime(Regional::Current().LongTimeFormat, Now())));
}

void TFBrowser::Voltar() {
    html_->IrParaHistorico(html_->IndiceHistorico() + 1);
    AtualizarLegenda();
}

void TFBrowser::Avancar() {
    html_->IrParaHistorico(html_->IndiceHistorico() - 1);
    AtualizarLegenda();
}

void TFBrowser::Inicio() { html_->Carregar(inicial_); }

void TFBrowser::AbrirLocalizar() {
    localizar_->show();
    localizar_->raise();
    localizar_->activateWindow();
}

void TFBrowser::LocalizarProxima(const QString& texto, bool diferenciarMaiusculas) {
    if (!html_->Localizar(texto, diferenciarMaiusculas))
        Dialogos().Informacao(localizar_->isVisible() ? static_cast<QWidget*>(localizar_) : this,
                              QStringLiteral("Nenhuma ocorrência a mais de \"") + texto + QStringLiteral("\""));
}

void TFBrowser::Imprimir() {
    QPrinter& impressora = ImpressoraPrograma();
    impressora.setDocName(html_->Titulo());
    html_->ImprimirPeloDialogo(this, impressora);
}

void TFBrowser::ExportarPdf() {
    QString nome = QFileInfo(html_->Arquivo()).completeBaseName();
    if (nome.isEmpty()) nome = QStringLiteral("documento");
    QString caminho = Dialogos().ArquivoSalvar(this, QStringLiteral("Exportar PDF"), QDir::homePath() + '/' + nome + ".pdf",
                                              QStringLiteral("Documentos PDF (*.pdf)"));
    if (caminho.isEmpty()) return;
    if (QFileInfo(caminho).suffix().isEmpty()) caminho += QStringLiteral(".pdf");
    if (QFileInfo::exists(caminho) &&
        !Dialogos().SimNao(this, QStringLiteral("O arquivo '") + QFileInfo(caminho).fileName() +
                                     QStringLiteral("' já existe. Deseja substituir o arquivo existente ?")))
        return;
    try {
        html_->ExportarPdf(caminho, ImpressoraPrograma());
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
    }
}

void TFBrowser::Ajuda() { AbrirAjuda(this, helpContext_); }

void TFBrowser::Sobre() {
    if (sobre_) sobre_(this);
}

bool TBrowser::show(const QString& caminho) {
    if (!QFileInfo::exists(caminho)) {
        Dialogos().Erro(pai_, QStringLiteral("Não foi possível abrir o arquivo ") + caminho + QStringLiteral("."));
        return false;
    }
    TFBrowser d(pai_);
    d.SetHelpContext(HelpContext);
    d.SetShowAbout(ShowAbout);
    d.SetSobre(Sobre);
    d.SetPaginaInicial(caminho);
    return Dialogos().Executar(d) == QDialog::Accepted;
}

#include "gui/common/FRelatorio.h"

#include <QBuffer>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include "core/common/Erros.h"
#include "core/location/PerfisTerracos.h"
#include "core/location/RelatorioLocacao.h"
#include "core/project/Relatorio.h"
#include "gui/common/CursorEspera.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Impressora.h"
#include "gui/common/VisualizadorHtml.h"
#include "render/DocumentoRelatorio.h"
#include "render/FigurasLocacao.h"

namespace {

QByteArray Png(const QImage& img) {
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return b;
}

}  // namespace

TFRelatorio::TFRelatorio(const QString& legenda, const QString& html, QWidget* pai) : QDialog(pai), texto_(html) {
    setObjectName(QStringLiteral("FRelatorio"));
    setWindowTitle(legenda);
    auto* l = new QVBoxLayout(this);
    visualizador_ = new TVisualizadorHtml;
    visualizador_->setObjectName(QStringLiteral("htmlRelatorio"));
    QTextDocument* doc = visualizador_->document();
    PrepararRelatorio(*doc);
    QPalette pal = visualizador_->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    visualizador_->setPalette(pal);
    l->addWidget(visualizador_, 1);

    auto* botoes = new QHBoxLayout;
    auto botao = [&](const QString& texto, const char* nome, const QString& dica, void (TFRelatorio::*f)()) {
        auto* b = new QPushButton(texto);
        b->setObjectName(QString::fromLatin1(nome));
        if (!dica.isEmpty()) b->setToolTip(dica);
        botoes->addWidget(b);
        connect(b, &QPushButton::clicked, this, f);
        return b;
    };
    botao(QStringLiteral("Configurar página"), "btnConfigurarPagina", {}, &TFRelatorio::ConfigurarPagina);
    botao(QStringLiteral("Exportar PDF"), "btnExportarPdf", {}, &TFRelatorio::ExportarPdf);
    botao(QStringLiteral("Salvar HTML"), "btnSalvarHtml", {}, &TFRelatorio::SalvarHtml);
    botoes->addStretch(1);
    botao(QStringLiteral("&Imprimir"), "btnImprimir", QStringLiteral("Imprime texto"), &TFRelatorio::Imprimir);
    auto* fechar = new QPushButton(QStringLiteral("Fechar"));
    fechar->setObjectName(QStringLiteral("btnFechar"));
    fechar->setToolTip(QStringLiteral("Fecha texto ativo"));
    botoes->addWidget(fechar);
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    l->addLayout(botoes);

    // Pictures named by a file path (the header) are read now; a missing one is left out.
    arquivos_ = ArquivosDeImagem(html);
    for (auto it = arquivos_.begin(); it != arquivos_.end(); ++it) {
        const QImage img = QImage::fromData(it.value());
        imagens_.insert(it.key(), img);
        doc->addResource(QTextDocument::ImageResource, QUrl(it.key()), img);
    }

    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        const QSize s = tela->availableGeometry().size();
        setMinimumSize(s * 0.8);
        setMaximumSize(s);
        resize(s);
    }
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TFRelatorio::AdicionarImagem(const QString& nome, const QImage& imagem) {
    imagens_.insert(nome, imagem);
    arquivos_.remove(nome);
    visualizador_->document()->addResource(QTextDocument::ImageResource, QUrl(nome), imagem);
}

void TFRelatorio::Carregar() {
    if (carregado_) return;
    carregado_ = true;
    visualizador_->setHtml(texto_);
}

// The first activation loads the text; showing counts too, as a window shown offscreen or
// behind another is never activated.
bool TFRelatorio::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) Carregar();
    return QDialog::event(e);
}

// Restored from maximized: centred on the screen.
void TFRelatorio::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange) return;
    const auto* m = static_cast<QWindowStateChangeEvent*>(e);
    if ((m->oldState() & Qt::WindowMaximized) && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
        if (const QScreen* tela = screen()) {
            QRect r = frameGeometry();
            r.moveCenter(tela->availableGeometry().center());
            move(r.topLeft());
        }
    }
}

void TFRelatorio::Imprimir() {
    Carregar();
    QPrinter& impressora = ImpressoraPrograma();
    impressora.setPrintRange(QPrinter::AllPages);
    visualizador_->ImprimirPeloDialogo(this, impressora);
}

void TFRelatorio::ConfigurarPagina() { Dialogos().ConfigurarImpressora(this, ImpressoraPrograma()); }

bool TFRelatorio::ConfirmarSubstituir(const QString& caminho) {
    return !QFileInfo::exists(caminho) ||
           Dialogos().SimNao(this, QStringLiteral("O arquivo '") + QFileInfo(caminho).fileName() +
                                       QStringLiteral("' já existe. Deseja substituir o arquivo existente ?"));
}

QString TFRelatorio::Caminho(const QString& titulo, const QString& extensao, const QString& filtro) {
    QString nome = windowTitle();
    nome.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    QString caminho = Dialogos().ArquivoSalvar(this, titulo, QDir::homePath() + '/' + nome + extensao, filtro);
    if (caminho.isEmpty()) return {};
    if (QFileInfo(caminho).suffix().isEmpty()) caminho += extensao;
    return ConfirmarSubstituir(caminho) ? caminho : QString();
}

void TFRelatorio::ExportarPdf() {
    Carregar();
    const QString caminho = Caminho(QStringLiteral("Exportar PDF"), QStringLiteral(".pdf"), QStringLiteral("Documentos PDF (*.pdf)"));
    if (caminho.isEmpty()) return;
    try {
        visualizador_->ExportarPdf(caminho, ImpressoraPrograma());
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
    }
}

// Pictures go inside the file as data URLs: the header's program-folder path and the chart
// held in memory would not travel with a saved report.
QString TFRelatorio::HtmlAutonomo() const {
    QString t = texto_;
    QString r;
    qsizetype desde = 0;
    for (auto it = ExpImagem().globalMatch(t); it.hasNext();) {
        const QRegularExpressionMatch c = it.next();
        const QString src = SemEntidades(c.captured(1));
        r += t.mid(desde, c.capturedStart(1) - desde);
        if (arquivos_.contains(src)) {
            const QByteArray& dados = arquivos_[src];
            const QString tipo = dados.startsWith("\xFF\xD8") ? QStringLiteral("image/jpeg") : QStringLiteral("image/png");
            r += QStringLiteral("data:") + tipo + QStringLiteral(";base64,") + QString::fromLatin1(dados.toBase64());
        } else if (imagens_.contains(src)) {
            r += QStringLiteral("data:image/png;base64,") + QString::fromLatin1(Png(imagens_[src]).toBase64());
        } else {
            r += c.captured(1);
        }
        desde = c.capturedEnd(1);
    }
    r += t.mid(desde);
    return r;
}

void TFRelatorio::SalvarHtml() {
    const QString caminho = Caminho(QStringLiteral("Salvar HTML"), QStringLiteral(".htm"), QStringLiteral("Documentos HTML (*.htm *.html)"));
    if (caminho.isEmpty()) return;
    try {
        GravarRelatorio(S(HtmlAutonomo()), S(caminho));
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
    }
}

void MostrarRelatorio(QWidget* pai, const QString& legenda, const QString& html, const QMap<QString, QImage>& imagens) {
    TFRelatorio janela(legenda, html, pai);
    for (auto it = imagens.begin(); it != imagens.end(); ++it) janela.AdicionarImagem(it.key(), it.value());
    Dialogos().Executar(janela);
}

bool MostrarRelatorioLocacao(QWidget* pai, TModeloProjeto& m, const TLocacaoNivel& loc, const std::string& projeto,
                             const TMapaPlano* mapa) {
    // A whole farm's report takes seconds to make: the wait cursor shows it, and is given
    // back before the error box or the report's window.
    std::string texto, erro;
    bool gradiente = false;
    QMap<QString, QImage> imagens;
    {
        const TCursorEspera espera;
        const auto figuras = std::make_shared<const TFigurasLocacao>(FigurasDaLocacao(loc, projeto));
        try {
            TOpcoesRelatorio o;
            o.Locacao = figuras;
            texto = RelatorioDaLocacao(m, loc, o, &gradiente);
        } catch (const EVandoro& e) {
            erro = e.what();
        }
        if (erro.empty()) imagens = ImagensDaLocacao(loc, *figuras, projeto, mapa);
    }
    if (!erro.empty()) {
        Dialogos().Erro(pai, Q(erro));
        return false;
    }
    MostrarRelatorio(pai,
                     Q(LegendaJanelaRelatorio(gradiente ? kTituloRelatorioLocacaoGradiente : kTituloRelatorioLocacao)),
                     Q(texto), imagens);
    return true;
}

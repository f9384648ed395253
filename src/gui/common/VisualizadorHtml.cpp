#include "common/VisualizadorHtml.h"

#include <QAbstractTextDocumentLayout>
#include <QPalette>
#include <algorithm>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTextDocument>
#include <memory>

#include "common/Arquivo.h"
#include "common/DataHora.h"
#include "common/Dialogos.h"
#include "common/Erros.h"

namespace {
// Margins around the body, in 1/96 inch; the header and footer sit in them at 40 from the
// paper's edge.
constexpr double kMargemLado = 50, kMargemTopo = 64, kMargemBase = 64, kTexto = 40;
constexpr double kUnidade = 96.0;
}  // namespace

TVisualizadorHtml::TVisualizadorHtml(QWidget* pai) : QTextBrowser(pai) {
    setOpenExternalLinks(true);
    document()->setDocumentMargin(12);
}

void TVisualizadorHtml::Carregar(const QString& caminho) { Carregar(QUrl::fromLocalFile(QFileInfo(caminho).absoluteFilePath())); }

void TVisualizadorHtml::Carregar(const QUrl& url) { setSource(url); }

void TVisualizadorHtml::SetMaxHistorico(int n) {
    maxHistorico_ = std::max(1, n);
    if (int(historico_.size()) > maxHistorico_) {
        historico_.resize(size_t(maxHistorico_));
        indice_ = std::min(indice_, maxHistorico_ - 1);
        emit HistoricoMudou();
    }
}

bool TVisualizadorHtml::TemDocumento() const { return !document()->isEmpty(); }

void TVisualizadorHtml::IrParaHistorico(int i) {
    if (i < 0 || i >= TamanhoHistorico() || i == indice_) return;
    indice_ = i;
    navegandoHistorico_ = true;
    setSource(historico_[size_t(i)]);
    navegandoHistorico_ = false;
}

void TVisualizadorHtml::doSetSource(const QUrl& url, QTextDocument::ResourceType tipo) {
    emit Ocupado();
    QTextBrowser::doSetSource(url, tipo);
    if (!navegandoHistorico_) Registrar(source());
    emit Livre();
    emit HistoricoMudou();
}

// A new page drops the pages ahead of the current one, goes to the front, and the oldest
// fall off beyond the maximum. Reloading the current page adds nothing.
void TVisualizadorHtml::Registrar(const QUrl& url) {
    if (!url.isValid() || url.isEmpty()) return;
    if (!historico_.empty() && historico_[size_t(indice_)] == url) return;
    historico_.erase(historico_.begin(), historico_.begin() + indice_);
    historico_.insert(historico_.begin(), url);
    if (int(historico_.size()) > maxHistorico_) historico_.resize(size_t(maxHistorico_));
    indice_ = 0;
}

bool TVisualizadorHtml::Localizar(const QString& texto, bool diferenciarMaiusculas) {
    if (texto.isEmpty()) return false;
    const int h = horizontalScrollBar()->value(), v = verticalScrollBar()->value();
    const bool achou = find(texto, diferenciarMaiusculas ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags());
    if (!achou) {
        horizontalScrollBar()->setValue(h);
        verticalScrollBar()->setValue(v);
    }
    return achou;
}

int TVisualizadorHtml::Imprimir(QPrinter& impressora, int de, int ate, const TDesenhoPagina& cabecalho,
                                const TDesenhoPagina& rodape) const {
    // A copy laid out on the paper; parented to this view so that its pictures load the
    // same way as on screen.
    std::unique_ptr<QTextDocument> doc(document()->clone(const_cast<TVisualizadorHtml*>(this)));
    impressora.setFullPage(true);
    const QRectF papel = impressora.pageLayout().fullRect(QPageLayout::Inch);
    const double largura = papel.width() * kUnidade, altura = papel.height() * kUnidade;
    const QSizeF corpo(largura - 2 * kMargemLado, altura - kMargemTopo - kMargemBase);
    doc->setPageSize(corpo);
    const int total = doc->pageCount();
    de = std::max(de, 1);
    ate = std::min(ate, total);
    if (de > ate) return 0;

    QPainter p;
    if (!p.begin(&impressora)) throw EVandoro("Não foi possível iniciar a impressão.");
    const double escala = impressora.resolution() / kUnidade;
    p.scale(escala, escala);
    int impressas = 0;
    for (int n = de; n <= ate; ++n) {
        if (impressas > 0) impressora.newPage();
        p.save();
        p.translate(kMargemLado, kMargemTopo);
        const QRectF janela(0, (n - 1) * corpo.height(), corpo.width(), corpo.height());
        p.setClipRect(QRectF(QPointF(0, 0), corpo));
        p.translate(0, -janela.top());
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = janela;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&p, ctx);
        p.restore();
        const TPagina pagina{n, largura, altura};
        if (cabecalho) cabecalho(p, pagina);
        if (rodape) rodape(p, pagina);
        ++impressas;
    }
    p.end();
    return impressas;
}

void TVisualizadorHtml::ImprimirPeloDialogo(QWidget* pai, QPrinter& impressora) const {
    if (!Dialogos().Imprimir(pai, impressora)) return;
    int de = 1, ate = 9999;
    if (impressora.printRange() == QPrinter::PageRange) {
        de = impressora.fromPage();
        ate = impressora.toPage();
    }
    try {
        ImprimirComTitulo(impressora, de, ate);
    } catch (const EVandoro& e) {
        Dialogos().Erro(pai, Q(e.what()));
    }
}

int TVisualizadorHtml::ImprimirComTitulo(QPrinter& impressora, int de, int ate) const {
    const QString titulo = Titulo();
    const QString data = Q(DateToStr(Date()));
    // The painter is scaled to 1/96 inch, and a font resolves its points at the device's
    // resolution before that scale: 8 pt has to be asked for in scaled terms.
    auto fonte = [](QPainter& p) {
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(8.0 * kUnidade / p.device()->logicalDpiY());
        p.setFont(f);
        p.setPen(Qt::black);
    };
    auto cabecalho = [&](QPainter& p, const TPagina&) {
        fonte(p);
        p.drawText(QPointF(kMargemLado, kTexto), titulo);
    };
    auto rodape = [&](QPainter& p, const TPagina& pg) {
        fonte(p);
        const double y = pg.altura - kTexto;
        p.drawText(QPointF(kMargemLado, y), data);
        const QString numero = QStringLiteral("Página ") + QString::number(pg.numero);
        p.drawText(QPointF(pg.largura - kMargemLado - QFontMetricsF(p.font(), p.device()).horizontalAdvance(numero), y), numero);
    };
    return Imprimir(impressora, de, ate, cabecalho, rodape);
}

int TVisualizadorHtml::ExportarPdf(const QString& caminho, const QPrinter& modelo) const {
    int paginas = 0;
    SubstituirArquivo(S(caminho), [&](const std::string& temporario) {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setPageLayout(modelo.pageLayout());
        pdf.setDocName(Titulo());
        pdf.setOutputFileName(Q(temporario));
        try {
            paginas = ImprimirComTitulo(pdf, 1, 9999);
        } catch (const EVandoro&) {  // the PDF writer could not open the file
            throw EVandoro("Não foi possível gravar o arquivo " + S(caminho) + ".");
        }
    });
    return paginas;
}

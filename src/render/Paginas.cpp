#include "render/Paginas.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "core/common/Arquivo.h"
#include "core/common/DataHora.h"
#include "core/common/Erros.h"
#include "render/Texto.h"

namespace {

// Margins around the body, in 1/96 inch; the header and footer sit in them at 40 from the
// paper's edge.
constexpr double kMargemLado = 50, kMargemTopo = 64, kMargemBase = 64, kTexto = 40;
constexpr double kUnidade = 96.0;
// A page of the layout can always be fixed in fewer moves than this; the cap only guards
// against a layout that keeps changing its mind.
constexpr int kMaxAjustes = 2000;

bool QuebraAntes(const QTextBlock& b) { return b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore; }

void QuebrarAntes(const QTextBlock& b) {
    QTextCursor c(b);
    QTextBlockFormat f = c.blockFormat();
    f.setPageBreakPolicy(f.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    c.setBlockFormat(f);
}

void Tabelas(QTextFrame* f, std::vector<QTextTable*>& r) {
    for (QTextFrame* filho : f->childFrames()) {
        if (auto* t = qobject_cast<QTextTable*>(filho)) r.push_back(t);
        Tabelas(filho, r);
    }
}

// A section heading: a short line wholly bold and without lower-case letters ("RESULTADOS",
// "SIMULAÇÃO").
bool Titulo(const QTextBlock& b) {
    const QString t = b.text().trimmed();
    if (t.isEmpty() || t.size() > 60) return false;
    bool letra = false;
    for (QChar c : t) {
        if (c.isLower() || c == QChar::ObjectReplacementCharacter) return false;
        letra = letra || c.isLetter();
    }
    if (!letra) return false;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment fr = it.fragment();
        if (fr.isValid() && !fr.text().trimmed().isEmpty() && fr.charFormat().fontWeight() < QFont::Bold) return false;
    }
    return true;
}

// The next block that shows something: text or a picture.
QTextBlock ProximoComConteudo(QTextBlock b) {
    for (b = b.next(); b.isValid(); b = b.next())
        if (!b.text().trimmed().isEmpty()) return b;
    return {};
}

void Fonte8(QPainter& p) {
    // The painter is scaled to 1/96 inch, and a font resolves its points at the device's
    // resolution before that scale: 8 pt has to be asked for in scaled terms.
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.0 * kUnidade / p.device()->logicalDpiY());
    p.setFont(f);
    p.setPen(Qt::black);
}

struct TComTitulo {
    QString titulo, data;
    TDesenhoPagina cabecalho() const {
        return [t = titulo](QPainter& p, const TPaginaImpressa&) {
            Fonte8(p);
            p.drawText(QPointF(kMargemLado, kTexto), t);
        };
    }
    TDesenhoPagina rodape() const {
        return [d = data](QPainter& p, const TPaginaImpressa& pg) {
            Fonte8(p);
            const double y = pg.altura - kTexto;
            p.drawText(QPointF(kMargemLado, y), d);
            const QString numero = QStringLiteral("Página ") + QString::number(pg.numero);
            p.drawText(QPointF(pg.largura - kMargemLado - QFontMetricsF(p.font(), p.device()).horizontalAdvance(numero), y),
                       numero);
        };
    }
};

TComTitulo ComTitulo(const QString& titulo) { return {titulo, Q(DateToStr(Date()))}; }

void DesenharPagina(QPainter& p, const TDocumentoPaginado& d, int n, const TDesenhoPagina& cabecalho,
                    const TDesenhoPagina& rodape) {
    d.DesenharCorpo(p, n);
    const TPaginaImpressa pagina{n, d.Papel().width(), d.Papel().height()};
    if (cabecalho) cabecalho(p, pagina);
    if (rodape) rodape(p, pagina);
}

QSizeF PapelDe(const QPageLayout& l) { return l.fullRect(QPageLayout::Inch).size() * kUnidade; }

}  // namespace

// ---------------------------------------------------------------- TDocumentoPaginado

TDocumentoPaginado::TDocumentoPaginado(const QTextDocument& doc, QSizeF papel, QObject* recursos)
    // Parented to the view that shows the original, so that its pictures load the same way.
    : doc_(doc.clone(recursos)), papel_(papel) {
    doc_->setPageSize(Corpo());
    Arrumar();
}

TDocumentoPaginado::~TDocumentoPaginado() = default;

QSizeF TDocumentoPaginado::Corpo() const {
    return {std::max(1.0, papel_.width() - 2 * kMargemLado), std::max(1.0, papel_.height() - kMargemTopo - kMargemBase)};
}

int TDocumentoPaginado::Paginas() const { return doc_->pageCount(); }

int TDocumentoPaginado::PaginaDe(double y) const { return int(std::floor(y / Corpo().height())) + 1; }

int TDocumentoPaginado::PaginaDoTexto(const QString& texto) const {
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next())
        if (b.text().contains(texto)) return PaginaDe(doc_->documentLayout()->blockBoundingRect(b).top());
    return 0;
}

void TDocumentoPaginado::Arrumar() {
    QAbstractTextDocumentLayout* layout = doc_->documentLayout();
    auto topo = [&](const QTextBlock& b) { return layout->blockBoundingRect(b).top(); };
    auto base = [&](const QTextBlock& b) { return layout->blockBoundingRect(b).bottom() - 0.01; };

    for (int ajuste = 0; ajuste < kMaxAjustes; ++ajuste) {
        doc_->pageCount();  // lays the whole document out
        // The fault nearest the top is mended first: mending it moves everything below.
        std::optional<double> primeiro;
        std::function<void()> mendar;
        auto falta = [&](double y, std::function<void()> f) {
            if (!primeiro || y < *primeiro) primeiro = y, mendar = std::move(f);
        };

        std::vector<QTextTable*> tabelas;
        Tabelas(doc_->rootFrame(), tabelas);
        for (QTextTable* t : tabelas) {
            const int cabecalho = t->format().headerRowCount();
            const bool tabelaQuebrada = t->format().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
            auto moverTabela = [t] {
                QTextTableFormat f = t->format();
                f.setPageBreakPolicy(f.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
                t->setFormat(f);
            };
            for (int r = 0; r < t->rows(); ++r) {
                double cima = 1e300, baixo = -1e300;
                std::vector<QTextBlock> primeiros;
                for (int c = 0; c < t->columns(); ++c) {
                    const QTextTableCell cel = t->cellAt(r, c);
                    if (!cel.isValid() || cel.row() != r || cel.column() != c) continue;
                    const QTextBlock b = cel.firstCursorPosition().block();
                    primeiros.push_back(b);
                    cima = std::min(cima, topo(b));
                    baixo = std::max(baixo, base(cel.lastCursorPosition().block()));
                }
                if (primeiros.empty()) continue;
                // Header rows left alone at a page's foot: the table starts on the next page.
                if (r == cabecalho && cabecalho > 0 && !tabelaQuebrada &&
                    PaginaDe(cima) != PaginaDe(topo(t->cellAt(0, 0).firstCursorPosition().block())))
                    falta(cima, moverTabela);
                if (PaginaDe(cima) == PaginaDe(baixo)) continue;
                if (r < std::max(cabecalho, 1)) {
                    if (!tabelaQuebrada) falta(cima, moverTabela);
                } else if (!QuebraAntes(primeiros.front())) {
                    falta(cima, [primeiros] {
                        for (const QTextBlock& b : primeiros) QuebrarAntes(b);
                    });
                }
            }
        }
        for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next()) {
            if (!Titulo(b) || QuebraAntes(b)) continue;
            const QTextBlock seguinte = ProximoComConteudo(b);
            if (seguinte.isValid() && PaginaDe(topo(b)) != PaginaDe(base(seguinte)) &&
                PaginaDe(topo(seguinte)) != PaginaDe(topo(b)))
                falta(topo(b), [b] { QuebrarAntes(b); });
        }
        if (!primeiro) return;
        mendar();
    }
}

void TDocumentoPaginado::DesenharCorpo(QPainter& p, int n) const {
    const QSizeF corpo = Corpo();
    p.save();
    p.translate(kMargemLado, kMargemTopo);
    const QRectF janela(0, (n - 1) * corpo.height(), corpo.width(), corpo.height());
    p.setClipRect(QRectF(QPointF(0, 0), corpo));
    p.translate(0, -janela.top());
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = janela;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    doc_->documentLayout()->draw(&p, ctx);
    p.restore();
}

// ---------------------------------------------------------------- printing

int ImprimirPaginas(QPagedPaintDevice& dispositivo, const QTextDocument& doc, int de, int ate,
                    const TDesenhoPagina& cabecalho, const TDesenhoPagina& rodape, QObject* recursos) {
    QPageLayout layout = dispositivo.pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    dispositivo.setPageLayout(layout);
    const TDocumentoPaginado d(doc, PapelDe(layout), recursos);
    de = std::max(de, 1);
    ate = std::min(ate, d.Paginas());
    if (de > ate) return 0;

    QPainter p;
    if (!p.begin(&dispositivo)) throw EVandoro("Não foi possível iniciar a impressão.");
    p.scale(dispositivo.logicalDpiX() / kUnidade, dispositivo.logicalDpiY() / kUnidade);
    int impressas = 0;
    for (int n = de; n <= ate; ++n) {
        if (impressas > 0) dispositivo.newPage();
        DesenharPagina(p, d, n, cabecalho, rodape);
        ++impressas;
    }
    p.end();
    return impressas;
}

int ImprimirComTitulo(QPagedPaintDevice& dispositivo, const QTextDocument& doc, const QString& titulo, int de, int ate,
                      QObject* recursos) {
    const TComTitulo t = ComTitulo(titulo);
    return ImprimirPaginas(dispositivo, doc, de, ate, t.cabecalho(), t.rodape(), recursos);
}

int GravarPdf(const QString& caminho, const QTextDocument& doc, const QString& titulo, const QPageLayout& layout,
              QObject* recursos) {
    int paginas = 0;
    const std::string nome = caminho.toStdString();
    SubstituirArquivo(nome, [&](const std::string& temporario) {
        QPdfWriter pdf(QString::fromStdString(temporario));
        pdf.setResolution(1200);
        pdf.setPageLayout(layout);
        pdf.setTitle(titulo);
        pdf.setCreator(QStringLiteral("Vandoro"));
        try {
            paginas = ImprimirComTitulo(pdf, doc, titulo, 1, 9999, recursos);
        } catch (const EVandoro&) {  // the PDF writer could not open the file
            throw EVandoro("Não foi possível gravar o arquivo " + nome + ".");
        }
    });
    return paginas;
}

QImage ImagemDaPagina(const QTextDocument& doc, const QString& titulo, int n, const QPageLayout& layout, double dpi,
                      QObject* recursos) {
    const TDocumentoPaginado d(doc, PapelDe(layout), recursos);
    if (n < 1 || n > d.Paginas()) return {};
    QImage img((d.Papel() * dpi / kUnidade).toSize(), QImage::Format_RGB32);
    img.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    img.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(dpi / kUnidade, dpi / kUnidade);
    const TComTitulo t = ComTitulo(titulo);
    DesenharPagina(p, d, n, t.cabecalho(), t.rodape());
    p.end();
    return img;
}

#pragma once
// The program's HTML documents on paper: the body laid out on the page less its margins, a
// table's header rows repeated on every page and never left alone at a page's foot, a table
// row never split across two pages, a section heading kept with what follows it. The printer,
// PDF files and page pictures all take their pages from here. Uses no widget, so a program
// without windows renders the very same pages.
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>

class QImage;
class QObject;
class QPageLayout;
class QPagedPaintDevice;
class QPainter;
class QTextDocument;

// Paper size in the document's own units (1/96 inch).
struct TPaginaImpressa {
    int numero;
    double largura, altura;
};
using TDesenhoPagina = std::function<void(QPainter&, const TPaginaImpressa&)>;

class TDocumentoPaginado {
public:
    // A copy of 'doc' laid out on paper of 'papel' (1/96 inch). 'recursos' answers the
    // pictures the copy asks for (the view that shows the document), or none.
    TDocumentoPaginado(const QTextDocument& doc, QSizeF papel, QObject* recursos = nullptr);
    ~TDocumentoPaginado();

    int Paginas() const;
    QSizeF Papel() const { return papel_; }
    QSizeF Corpo() const;
    const QTextDocument& Documento() const { return *doc_; }
    // 1-based page of a vertical position of the laid-out body.
    int PaginaDe(double y) const;
    // Page of the first block holding 'texto'; 0 when none does.
    int PaginaDoTexto(const QString& texto) const;
    // Page n's body on a painter in 1/96 inch with its origin at the paper's corner.
    void DesenharCorpo(QPainter& p, int n) const;

private:
    // Moves to the next page whatever the layout left badly cut, one fault at a time.
    void Arrumar();

    std::unique_ptr<QTextDocument> doc_;
    QSizeF papel_;
};

// Prints pages de..ate (clipped to the document's pages) on 'dispositivo', in full-page mode;
// header and footer are drawn on each page after its body. Returns the pages printed;
// EVandoro when the device cannot be painted on.
int ImprimirPaginas(QPagedPaintDevice& dispositivo, const QTextDocument& doc, int de, int ate,
                    const TDesenhoPagina& cabecalho, const TDesenhoPagina& rodape, QObject* recursos = nullptr);
// The program's pages: 'titulo' top left, the date bottom left and "Página N" bottom right,
// Arial 8 pt.
int ImprimirComTitulo(QPagedPaintDevice& dispositivo, const QTextDocument& doc, const QString& titulo, int de,
                      int ate, QObject* recursos = nullptr);
// The whole document as a PDF file with those pages on the paper of 'layout', written whole
// or not at all (EVandoro "Não foi possível gravar o arquivo X." on failure).
int GravarPdf(const QString& caminho, const QTextDocument& doc, const QString& titulo, const QPageLayout& layout,
              QObject* recursos = nullptr);
// Page n as printed (body, header and footer) on white, at 'dpi'; a null image when the
// document has no such page.
QImage ImagemDaPagina(const QTextDocument& doc, const QString& titulo, int n, const QPageLayout& layout, double dpi,
                      QObject* recursos = nullptr);

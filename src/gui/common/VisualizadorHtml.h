#pragma once
// HTML view of the program's pages and reports: a QTextBrowser with its own bounded history
// (index 0 is the newest page), find, and paged printing with a header and a footer drawn
// on every page. Printer and PDF take their pages from the one paged rendering.
#include <QTextBrowser>
#include <QUrl>
#include <functional>
#include <vector>

#include "render/Paginas.h"

class QPainter;
class QPrinter;

class TVisualizadorHtml : public QTextBrowser {
    Q_OBJECT
public:
    explicit TVisualizadorHtml(QWidget* pai = nullptr);
    // Pixels a page may run past the view's width without a horizontal scroll bar.
    static constexpr int kSobraSemBarra = 2;

    // Loads a local file (or URL) as a new page of the history.
    void Carregar(const QString& caminho);
    void Carregar(const QUrl& url);

    int MaxHistorico() const { return maxHistorico_; }
    void SetMaxHistorico(int n);
    int TamanhoHistorico() const { return int(historico_.size()); }
    int IndiceHistorico() const { return indice_; }
    QUrl Historico(int i) const { return historico_.at(size_t(i)); }
    void IrParaHistorico(int i);  // out-of-range indices are ignored

    QString Titulo() const { return documentTitle(); }
    QString Arquivo() const { return source().toLocalFile(); }
    bool TemDocumento() const;

    // Forward from the cursor; false (cursor and view unchanged) when nothing more is found.
    bool Localizar(const QString& texto, bool diferenciarMaiusculas);

    // Page geometry of printing, in the document's own units (1/96 inch), origin at the
    // paper's corner.
    using TPagina = TPaginaImpressa;
    using TDesenhoPagina = ::TDesenhoPagina;
    // Prints pages de..ate (clipped to the document's pages) on 'impressora'; header and
    // footer are called on each page after its body. Returns the pages printed.
    int Imprimir(QPrinter& impressora, int de, int ate, const TDesenhoPagina& cabecalho,
                 const TDesenhoPagina& rodape) const;
    // The program's pages: the document title top left, the date bottom left and
    // "Página N" bottom right, Arial 8 pt.
    int ImprimirComTitulo(QPrinter& impressora, int de, int ate) const;
    // The print dialog on 'impressora', then the chosen page range (every page without one);
    // an error becomes a box over 'pai'.
    void ImprimirPeloDialogo(QWidget* pai, QPrinter& impressora) const;
    // The whole document as a PDF file with the layout of 'modelo', written whole or not
    // at all (EVandoro on failure).
    int ExportarPdf(const QString& caminho, const QPrinter& modelo) const;

signals:
    void Ocupado();
    void Livre();
    void HistoricoMudou();

protected:
    void doSetSource(const QUrl& url, QTextDocument::ResourceType tipo) override;

private:
    void Registrar(const QUrl& url);

    std::vector<QUrl> historico_;
    int indice_ = 0;
    int maxHistorico_ = 15;
    bool navegandoHistorico_ = false;
};

#include "gui/common/VisualizadorHtml.h"

#include <QAbstractTextDocumentLayout>
#include <QPalette>
#include <algorithm>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTextDocument>
#include <memory>

#include "core/common/Arquivo.h"
#include "core/common/DataHora.h"
#include "core/common/Erros.h"
#include "gui/common/Dialogos.h"
#include "render/Paginas.h"

TVisualizadorHtml::TVisualizadorHtml(QWidget* pai) : QTextBrowser(pai) {
    setOpenExternalLinks(true);
    document()->setDocumentMargin(12);
    // A page laid out to the view's width can come out a pixel or two wider (tables of 100 %
    // round up): that is no reason for a scroll bar. A picture wider than the view still has one.
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int maximo) {
        const auto politica = maximo <= kSobraSemBarra ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
        if (horizontalScrollBarPolicy() != politica) setHorizontalScrollBarPolicy(politica);
    });
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
    return ImprimirPaginas(impressora, *document(), de, ate, cabecalho, rodape, const_cast<TVisualizadorHtml*>(this));
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
    return ::ImprimirComTitulo(impressora, *document(), Titulo(), de, ate, const_cast<TVisualizadorHtml*>(this));
}

int TVisualizadorHtml::ExportarPdf(const QString& caminho, const QPrinter& modelo) const {
    return GravarPdf(caminho, *document(), Titulo(), modelo.pageLayout(), const_cast<TVisualizadorHtml*>(this));
}

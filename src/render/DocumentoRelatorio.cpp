#include "render/DocumentoRelatorio.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

#include "render/Paginas.h"

namespace {
// Print margins "2.0" read as centimetres, in the document's 1/96 inch.
constexpr double kMargemDocumento = 2.0 / 2.54 * 96.0;
}  // namespace

const QRegularExpression& ExpImagem() {
    static const QRegularExpression img(QStringLiteral("<IMG SRC=\"([^\"]*)\""), QRegularExpression::CaseInsensitiveOption);
    return img;
}

QString SemEntidades(QString s) {
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return s;
}

void PrepararRelatorio(QTextDocument& doc) {
    doc.setDefaultFont(QFont(QStringLiteral("Times New Roman")));
    doc.setDocumentMargin(kMargemDocumento);
    doc.setDefaultStyleSheet(QStringLiteral("pre, tt, code, kbd { font-family: \"Courier New\"; }"));
}

QMap<QString, QByteArray> ArquivosDeImagem(const QString& html, const QMap<QString, QImage>& excluir) {
    QMap<QString, QByteArray> r;
    for (auto it = ExpImagem().globalMatch(html); it.hasNext();) {
        const QString src = SemEntidades(it.next().captured(1));
        if (excluir.contains(src) || r.contains(src)) continue;
        QFile f(src);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray dados = f.readAll();
        if (!QImage::fromData(dados).isNull()) r.insert(src, dados);
    }
    return r;
}

void CarregarRelatorio(QTextDocument& doc, const QString& html, const QMap<QString, QImage>& imagens) {
    PrepararRelatorio(doc);
    for (auto it = imagens.begin(); it != imagens.end(); ++it)
        doc.addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
    const QMap<QString, QByteArray> arquivos = ArquivosDeImagem(html, imagens);
    for (auto it = arquivos.begin(); it != arquivos.end(); ++it)
        doc.addResource(QTextDocument::ImageResource, QUrl(it.key()), QImage::fromData(it.value()));
    doc.setHtml(html);
}

QPageLayout PaginaPadrao() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

int GravarRelatorioPdf(const QString& saida, const QString& html, const QMap<QString, QImage>& imagens,
                       const QPageLayout& layout) {
    QTextDocument doc;
    CarregarRelatorio(doc, html, imagens);
    return GravarPdf(saida, doc, doc.metaInformation(QTextDocument::DocumentTitle), layout, &doc);
}

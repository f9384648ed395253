#include "gui/rainfall/FoRelatQuenda.h"

#include "core/project/Relatorio.h"
#include "core/rainfall/MapaEstado.h"
#include "core/rainfall/RelatorioQuenda.h"
#include "gui/common/Dialogos.h"

QImage ImagemDe(const TBitmapRGB& b) {
    if (b.Largura() <= 0 || b.Altura() <= 0) return {};
    QImage img(b.Largura(), b.Altura(), QImage::Format_RGB32);
    for (int y = 0; y < b.Altura(); ++y) {
        auto* linha = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < b.Largura(); ++x) {
            const TCor c = b.Pixel(x, y);  // 0x00BBGGRR
            linha[x] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        }
    }
    return img;
}

TfrmFoRelatQuenda::TfrmFoRelatQuenda(const QString& html, const QImage& mapa, QWidget* pai)
    : TFRelatorio(Q(LegendaJanelaRelatorio(kTituloRelatorioQuenda)), html, pai) {
    setObjectName("frmFoRelatQuenda");
    // The map is never written to disk: it is the document's image of that name.
    if (!mapa.isNull()) AdicionarImagem(kImagemMapaQuenda, mapa);
    // The consultation reads the report back before showing it.
    Carregar();
}

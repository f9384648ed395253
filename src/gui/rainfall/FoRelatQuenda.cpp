#include "rainfall/FoRelatQuenda.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>

#include "common/Dialogos.h"
#include "common/VisualizadorHtml.h"
#include "rainfall/MapaEstado.h"
#include "sizing/Relatorio.h"
#include "sizing/RelatorioQuenda.h"

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

TfrmFoRelatQuenda::TfrmFoRelatQuenda(const QString& html, const QImage& mapa, QWidget* pai) : QDialog(pai) {
    setObjectName("frmFoRelatQuenda");
    setWindowTitle(Q(LegendaJanelaRelatorio(kTituloRelatorioQuenda)));
    auto* l = new QVBoxLayout(this);
    visualizador_ = new TVisualizadorHtml;
    visualizador_->setObjectName("htmlRelatorio");
    QTextDocument* doc = visualizador_->document();
    // Pictures go to the document as resources: the map is never written to disk, and the
    // header is found whatever the spaces in its folder.
    if (!mapa.isNull()) doc->addResource(QTextDocument::ImageResource, QUrl(kImagemMapaQuenda), mapa);
    static const QRegularExpression img("<IMG SRC=\"([^\"]+)\"", QRegularExpression::CaseInsensitiveOption);
    for (auto it = img.globalMatch(html); it.hasNext();) {
        const QString src = it.next().captured(1);
        if (src == kImagemMapaQuenda) continue;
        const QImage figura(src);
        if (!figura.isNull()) doc->addResource(QTextDocument::ImageResource, QUrl(src), figura);
    }
    visualizador_->setHtml(html);
    l->addWidget(visualizador_, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    auto* imprimir = new QPushButton("&Imprimir");
    imprimir->setObjectName("btnImprimir");
    auto* fechar = new QPushButton("Fechar");
    fechar->setObjectName("btnFechar");
    botoes->addWidget(imprimir);
    botoes->addWidget(fechar);
    l->addLayout(botoes);
    connect(imprimir, &QPushButton::clicked, this, &TfrmFoRelatQuenda::Imprimir);
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);

    // Maximised, and kept between 80 % and 100 % of the screen.
    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        const QSize s = tela->availableGeometry().size();
        setMinimumSize(s * 0.8);
        setMaximumSize(s);
        resize(s);
    }
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmFoRelatQuenda::Imprimir() {
    QPrinter impressora;
    if (!Dialogos().Imprimir(this, impressora)) return;
    int de = 1, ate = 9999;
    if (impressora.printRange() == QPrinter::PageRange) {
        de = impressora.fromPage();
        ate = impressora.toPage();
    }
    // The report carries its own header.
    visualizador_->Imprimir(impressora, de, ate, {}, {});
}

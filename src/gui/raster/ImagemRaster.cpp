#include "gui/raster/ImagemRaster.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "core/raster/RenderImagem.h"
#include "core/raster/Vetor.h"

TImagemRaster::TImagemRaster(QWidget* pai) : QWidget(pai) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImagemRaster::DefinirImagem(const QImage& imagem, const TGradeMapa& grade) {
    imagem_ = imagem.format() == QImage::Format_RGB32 || imagem.format() == QImage::Format_ARGB32
                  ? imagem
                  : imagem.convertToFormat(QImage::Format_RGB32);
    grade_ = grade;
    if (!camada_.isNull() && camada_.size() != imagem_.size()) camada_ = QImage();
    DefinirZoom(zoom_);
    update();
}

void TImagemRaster::DefinirZoom(int zoom) {
    zoom_ = std::clamp(zoom, kZoomMinimo, kZoomMaximo);
    const QSize s(TamanhoExibido(imagem_.width(), zoom_), TamanhoExibido(imagem_.height(), zoom_));
    setFixedSize(s);
    update();
}

void TImagemRaster::DefinirLinhas(QVector<TLinhaSobreposta> linhas, bool rotulos) {
    linhas_ = std::move(linhas);
    rotulos_ = rotulos;
    update();
}

void TImagemRaster::RemoverLinhas() {
    linhas_.clear();
    rotulos_ = false;
    update();
}

QVector<TLinhaSobreposta> TImagemRaster::LinhasDe(const TVET& vet, const TGradeMapa& grade) {
    QVector<TLinhaSobreposta> r;
    for (const TVetorRecPonto& l : vet.Lines()) {
        TLinhaSobreposta s;
        s.id = l.LineId();
        s.pontos.reserve(l.Count());
        for (const TRecPonto& p : l.Pontos()) {
            const TPixelMapa px = PixelDoPonto(grade, p.X, p.Y, 100);
            s.pontos.push_back(QPointF(px.x, px.y));
        }
        if (!s.pontos.isEmpty()) s.limites = QPolygonF(s.pontos).boundingRect();
        r.push_back(std::move(s));
    }
    return r;
}

void TImagemRaster::DefinirCamada(const QImage& camada) {
    camada_ = camada.isNull() ? QImage() : camada.convertToFormat(QImage::Format_ARGB32);
    update();
}

bool TImagemRaster::CelulaEm(const QPoint& pixel, int& coluna, int& linha) const {
    if (pixel.x() < 0 || pixel.y() < 0) return false;
    coluna = CelulaDoPixel(pixel.x(), zoom_);
    linha = CelulaDoPixel(pixel.y(), zoom_);
    return coluna < imagem_.width() && linha < imagem_.height();
}

namespace {
void Amostra(const QImage& origem, int zoom, const QRect& area, QImage& destino, QImage::Format formato,
             uint32_t fundo) {
    if (destino.size() != area.size() || destino.format() != formato) destino = QImage(area.size(), formato);
    destino.fill(fundo);
    AmostraVista(reinterpret_cast<const uint32_t*>(origem.constBits()), origem.width(), origem.height(), zoom,
                 area.x(), area.y(), area.width(), area.height(), reinterpret_cast<uint32_t*>(destino.bits()),
                 static_cast<int>(destino.bytesPerLine() / 4));
}
}  // namespace

void TImagemRaster::Desenhar(QPainter& p, const QRect& area) const {
    if (area.isEmpty()) return;
    // Sampled here, never scaled by the painter: the pixel shown is the cell the read-out names.
    Amostra(imagem_, zoom_, area, vista_, QImage::Format_RGB32, palette().color(QPalette::Window).rgb());
    p.drawImage(area.topLeft(), vista_);
    if (!camada_.isNull()) {
        Amostra(camada_, zoom_, area, vistaCamada_, QImage::Format_ARGB32, 0);
        p.drawImage(area.topLeft(), vistaCamada_);
    }
    const int largura = zoom_ < 100 ? 1 : static_cast<int>(std::lround(zoom_ / 100.0));
    // Labels grow with the zoom up to a size that still leaves the lines readable.
    const int fonte = zoom_ < 100 ? 8 : std::min(14, static_cast<int>(std::lround(zoom_ * 8 / 100.0)));
    DesenharLinhas(p, area, zoom_ / 100.0, largura, fonte);
}

void TImagemRaster::DesenharLinhas(QPainter& p, const QRect& area, double escala, int largura, int fonte) const {
    if (linhas_.isEmpty()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(CorLinhas, largura));
    // A little wider than the painted part, so a line crossing its edge is drawn whole there.
    const double m = largura + 1.0;
    const QRectF visivel(area.x() - m, area.y() - m, area.width() + 2 * m, area.height() + 2 * m);
    const double vx0 = visivel.left(), vx1 = visivel.right(), vy0 = visivel.top(), vy1 = visivel.bottom();
    QPolygonF trecho;
    for (const TLinhaSobreposta& l : linhas_) {
        const QRectF lim(l.limites.x() * escala, l.limites.y() * escala, l.limites.width() * escala,
                         l.limites.height() * escala);
        if (!lim.adjusted(-1, -1, 1, 1).intersects(visivel)) continue;
        // A line wholly inside needs no test per segment.
        const bool inteira = visivel.contains(lim);
        // Only the runs of segments that touch the painted part go to the painter.
        trecho.clear();
        const int n = static_cast<int>(l.pontos.size());
        double ax = l.pontos[0].x() * escala, ay = l.pontos[0].y() * escala;
        if (n == 1 && inteira) p.drawPoint(QPointF(ax, ay));
        double ux = 0, uy = 0;  // pixel of the last point kept
        for (int i = 1; i < n; ++i) {
            const double bx = l.pontos[i].x() * escala, by = l.pontos[i].y() * escala;
            const bool toca = inteira || !(std::max(ax, bx) < vx0 || std::min(ax, bx) > vx1 ||
                                           std::max(ay, by) < vy0 || std::min(ay, by) > vy1);
            if (toca) {
                if (trecho.isEmpty()) {
                    trecho << QPointF(ax, ay);
                    ux = std::floor(ax);
                    uy = std::floor(ay);
                }
                // Zoomed out, many vertices share a screen pixel: one of them is enough
                // (the last point of the line is always kept).
                const double px = std::floor(bx), py = std::floor(by);
                if (!(escala < 1 && i + 1 < n && px == ux && py == uy)) {
                    trecho << QPointF(bx, by);
                    ux = px;
                    uy = py;
                }
            } else if (!trecho.isEmpty()) {
                p.drawPolyline(trecho);
                trecho.clear();
            }
            ax = bx;
            ay = by;
        }
        if (!trecho.isEmpty()) p.drawPolyline(trecho);
    }
    if (rotulos_) {
        QFont f = p.font();
        f.setPointSize(std::max(1, fonte));
        p.setFont(f);
        p.setPen(CorRotulos);
        for (const TLinhaSobreposta& l : linhas_) {
            if (l.pontos.isEmpty()) continue;
            const QPointF meio = l.pontos[l.pontos.size() / 2] * escala;
            if (visivel.adjusted(-100, -40, 100, 40).contains(meio)) p.drawText(meio, QString::number(l.id));
        }
    }
    p.restore();
}

QImage TImagemRaster::Figura() const {
    QImage f = imagem_.convertToFormat(QImage::Format_RGB32);
    QPainter p(&f);
    if (!camada_.isNull()) p.drawImage(0, 0, camada_);
    DesenharLinhas(p, f.rect(), 1.0, 1, 8);
    p.end();
    return f;
}

void TImagemRaster::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    Desenhar(p, e->rect());
}

void TImagemRaster::mouseMoveEvent(QMouseEvent* e) {
    int c = 0, r = 0;
    if (CelulaEm(e->position().toPoint(), c, r))
        emit Leitura(true, c, r, grade_.XDoCentro(c), grade_.YDoCentro(r));
    else
        emit Leitura(false, 0, 0, 0, 0);
    QWidget::mouseMoveEvent(e);
}

void TImagemRaster::mousePressEvent(QMouseEvent* e) {
    int c = 0, r = 0;
    if (e->button() == Qt::LeftButton && CelulaEm(e->position().toPoint(), c, r)) emit CelulaClicada(c, r);
    QWidget::mousePressEvent(e);
}

void TImagemRaster::leaveEvent(QEvent* e) {
    emit Leitura(false, 0, 0, 0, 0);
    QWidget::leaveEvent(e);
}

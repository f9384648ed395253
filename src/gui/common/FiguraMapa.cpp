#include "gui/common/FiguraMapa.h"

#include <QMouseEvent>
#include <QPainter>

TFiguraMapa::TFiguraMapa(QWidget* pai) : QWidget(pai) { setMouseTracking(true); }

void TFiguraMapa::Carregar(const QString& figura, const QString& mapa) {
    SetImagens(QPixmap(figura), QImage(mapa));
}

void TFiguraMapa::SetImagens(const QPixmap& figura, const QImage& mapa) {
    figura_ = figura;
    mapa_ = mapa.convertToFormat(QImage::Format_RGB32);
    update();
}

QSize TFiguraMapa::sizeHint() const { return figura_.isNull() ? QSize(300, 240) : figura_.size(); }

QRect TFiguraMapa::AreaDaFigura() const {
    if (figura_.isNull()) return {};
    QSize s = figura_.size();
    s.scale(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
}

QPoint TFiguraMapa::PixelDoMapa(const QPoint& p) const {
    const QRect a = AreaDaFigura();
    if (mapa_.isNull() || a.isEmpty() || !a.contains(p)) return {-1, -1};
    const int x = int(qint64(p.x() - a.x()) * mapa_.width() / a.width());
    const int y = int(qint64(p.y() - a.y()) * mapa_.height() / a.height());
    if (x < 0 || y < 0 || x >= mapa_.width() || y >= mapa_.height()) return {-1, -1};
    return {x, y};
}

QRgb TFiguraMapa::CorEm(const QPoint& p) const {
    const QPoint m = PixelDoMapa(p);
    if (m.x() < 0) return 0;
    return mapa_.pixel(m) & 0xFFFFFF;
}

void TFiguraMapa::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!figura_.isNull()) p.drawPixmap(AreaDaFigura(), figura_);
}

void TFiguraMapa::mouseMoveEvent(QMouseEvent* e) {
    if (!Significado || PixelDoMapa(e->position().toPoint()).x() < 0) return;
    const TSignificado s = Significado(CorEm(e->position().toPoint()));
    if (s.Acao)
        setCursor(Qt::PointingHandCursor);
    else if (s.Normal)
        setCursor(Qt::ArrowCursor);
}

void TFiguraMapa::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !Significado || !Executar) return;
    const QPoint m = PixelDoMapa(e->position().toPoint());
    if (m.x() < 0) return;
    const QRgb c = CorEm(e->position().toPoint());
    const TSignificado s = Significado(c);
    if (s.Acao || s.Clique) Executar(c);
}

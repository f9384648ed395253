#include "gui/common/Icones.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace {
QIcon Desenhado(const std::function<void(QPainter&)>& desenhar) {
    QIcon icone;
    for (int lado : {16, 24, 32, 48}) {
        QPixmap pm(lado, lado);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(lado / 32.0, lado / 32.0);  // drawn on a 32×32 grid
        desenhar(p);
        p.end();
        icone.addPixmap(pm);
    }
    return icone;
}
}  // namespace

QIcon IconeConfiguracao() {
    return Desenhado([](QPainter& p) {
        QPainterPath roda;
        const int dentes = 8;
        for (int i = 0; i < dentes * 2; ++i) {
            const double a0 = (i - 0.5) * M_PI / dentes, a1 = (i + 0.5) * M_PI / dentes;
            const double r = (i % 2 == 0) ? 14.0 : 10.5;
            const QPointF p0(16 + r * std::cos(a0), 16 + r * std::sin(a0));
            const QPointF p1(16 + r * std::cos(a1), 16 + r * std::sin(a1));
            if (i == 0) roda.moveTo(p0);
            else roda.lineTo(p0);
            roda.lineTo(p1);
        }
        roda.closeSubpath();
        roda.addEllipse(QPointF(16, 16), 4.5, 4.5);
        roda.setFillRule(Qt::OddEvenFill);
        p.setPen(QPen(QColor(60, 70, 80), 1.2));
        p.setBrush(QColor(130, 145, 160));
        p.drawPath(roda);
    });
}

QIcon IconeImpressora() {
    return Desenhado([](QPainter& p) {
        p.setPen(QPen(QColor(70, 70, 70), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));  // paper going in
        p.setBrush(QColor(120, 125, 135));
        p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);  // body
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 19, 16, 10));  // printed sheet
        p.setPen(QPen(QColor(150, 150, 150), 1));
        for (int y : {22, 25}) p.drawLine(QPointF(11, y), QPointF(21, y));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(80, 200, 90));
        p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
    });
}

QIcon IconeSair() {
    return Desenhado([](QPainter& p) {
        p.setPen(QPen(QColor(90, 60, 30), 1.2));
        p.setBrush(QColor(170, 120, 70));
        p.drawRect(QRectF(4, 3, 14, 26));  // door
        p.setBrush(QColor(240, 210, 90));
        p.drawEllipse(QPointF(15, 16), 1.4, 1.4);
        QPainterPath seta;
        seta.moveTo(17, 13);
        seta.lineTo(24, 13);
        seta.lineTo(24, 9);
        seta.lineTo(30, 16);
        seta.lineTo(24, 23);
        seta.lineTo(24, 19);
        seta.lineTo(17, 19);
        seta.closeSubpath();
        p.setPen(QPen(QColor(150, 30, 30), 1));
        p.setBrush(QColor(210, 60, 50));
        p.drawPath(seta);
    });
}

QIcon IconePrograma() {
    return Desenhado([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(232, 242, 250));
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
        QPainterPath morro;
        morro.moveTo(1, 31);
        morro.cubicTo(8, 8, 22, 4, 31, 10);
        morro.lineTo(31, 31);
        morro.closeSubpath();
        p.setBrush(QColor(96, 150, 66));
        p.drawPath(morro);
        p.setClipPath(morro);
        p.setPen(QPen(QColor(93, 62, 35), 2));
        for (int y : {14, 20, 26}) p.drawLine(QPointF(0, y + 1), QPointF(32, y - 1));
    });
}

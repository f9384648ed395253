#include "render/FiguraSecao.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "core/model/DesenhoSecao.h"
#include "render/Texto.h"

QImage ImagemSecao(const TDesenhoSecao& d, QSize tamanho) {
    QImage img(tamanho, QImage::Format_RGB32);
    img.fill(Qt::white);
    if (d.perfil.empty() || !(d.xMax > d.xMin)) return img;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont fonte = p.font();
    fonte.setPixelSize(std::clamp(tamanho.height() / 12, 10, 13));
    p.setFont(fonte);
    const QFontMetrics fm(fonte);
    const int linha = fm.height() + 2;

    int horizontais = 0;
    for (const TCotaSecao& c : d.cotas) horizontais += c.vertical ? 0 : 1;
    const double margem = 6;
    const QRectF area(margem, margem + linha, tamanho.width() - 2 * margem,
                      tamanho.height() - 2 * margem - linha - horizontais * linha);
    const double sx = area.width() / (d.xMax - d.xMin);
    // Heights over the ground are exaggerated by the largest round factor that fits; the
    // ground keeps its true slope, so the vertical dimensions stay in proportion.
    const auto exibida = [&d](const TPontoSecao& q, double e) {
        const double chao = -d.declive * q.x;
        return chao + e * (q.z - chao);
    };
    const auto faixa = [&](double e) {
        double lo = 0, hi = 0;
        bool primeiro = true;
        for (const auto* v : {&d.perfil, &d.terreno, &d.corte, &d.aterro})
            for (const TPontoSecao& q : *v) {
                const double z = exibida(q, e);
                lo = primeiro ? z : std::min(lo, z);
                hi = primeiro ? z : std::max(hi, z);
                primeiro = false;
            }
        return std::pair{lo, hi};
    };
    double exagero = 1;
    for (double e : {50.0, 20.0, 10.0, 5.0, 2.0})
        if (const auto [lo, hi] = faixa(e); (hi - lo) * sx <= area.height()) {
            exagero = e;
            break;
        }
    // Plain names, not a structured binding: the lambda below captures them.
    const std::pair<double, double> zs = faixa(exagero);
    const double zLo = zs.first, zHi = zs.second;
    const double sz = std::min(sx, area.height() / std::max(zHi - zLo, 1e-9));
    const double topo = area.top() + (area.height() - (zHi - zLo) * sz) / 2;
    auto ponto = [&](const TPontoSecao& q) {
        return QPointF(area.left() + (q.x - d.xMin) * sx, topo + (zHi - exibida(q, exagero)) * sz);
    };
    auto poligono = [&](const std::vector<TPontoSecao>& v) {
        QPolygonF r;
        for (const TPontoSecao& q : v) r << ponto(q);
        return r;
    };

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE8, 0xC5, 0x8A));  // the soil cut
    p.drawPolygon(poligono(d.corte));
    p.setBrush(QColor(0xA0, 0x6A, 0x3A));  // the ridge
    p.drawPolygon(poligono(d.aterro));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
    p.drawPolyline(poligono(d.terreno));
    p.setPen(QPen(QColor(0x40, 0x28, 0x10), 1.6));
    p.drawPolyline(poligono(d.perfil));

    p.setPen(QPen(QColor(0x10, 0x40, 0x80), 1));
    int nivel = 0;
    const double base = topo + (zHi - zLo) * sz + linha * 0.6;
    for (const TCotaSecao& c : d.cotas) {
        QPointF a = ponto(c.a), b = ponto(c.b);
        const QString texto = Q(c.texto);
        const int largura = fm.horizontalAdvance(texto);
        if (c.vertical) {
            p.drawLine(a, b);
            for (const QPointF& e : {a, b}) p.drawLine(e + QPointF(-3, 0), e + QPointF(3, 0));
            // Uphill of the crest the text goes left; at the crest and downhill, right, or over
            // the line's top when it would run off the picture: the texts never meet.
            const double meio = (a.y() + b.y()) / 2 + fm.ascent() / 2.0 - 1;
            const double esquerda = a.x() - 4 - largura, direita = a.x() + 4;
            QPointF onde(std::min(a.x() - largura / 2.0, tamanho.width() - largura - 1.0), std::min(a.y(), b.y()) - 3);
            if (c.a.x < 0 && esquerda >= 0) onde = QPointF(esquerda, meio);
            else if (direita + largura <= tamanho.width()) onde = QPointF(direita, meio);
            // Over the fill the text keeps a light ground of its own.
            p.fillRect(QRectF(onde.x() - 1, onde.y() - fm.ascent(), largura + 2, fm.ascent() + 2),
                       QColor(255, 255, 255, 200));
            p.drawText(onde, texto);
        } else {
            const double y = base + nivel++ * linha;
            a.setY(y);
            b.setY(y);
            p.drawLine(a, b);
            for (const QPointF& e : {a, b}) p.drawLine(e + QPointF(0, -3), e + QPointF(0, 3));
            const double x = std::clamp((a.x() + b.x() - largura) / 2, 0.0, double(tamanho.width() - largura));
            p.fillRect(QRectF(x - 2, y - fm.ascent() / 2.0 - 1, largura + 4, fm.ascent() + 2), Qt::white);
            p.drawText(QPointF(x, y + fm.ascent() / 2.0 - 1), texto);
        }
    }
    p.setPen(Qt::black);
    p.drawText(QPointF(margem, margem + fm.ascent()),
               exagero > 1 ? QStringLiteral("Alturas exageradas %1×").arg(exagero, 0, 'f', 0)
                           : QStringLiteral("Sem exagero vertical"));
    return img;
}

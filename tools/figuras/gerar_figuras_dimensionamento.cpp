// Draws the sizing window's pictures into the program folder: the terrace, channel and
// basin figures with their colour maps, the result pictures "nivel.bmp" and "grad.bmp" and
// the two channel sections. A figure and its map are painted from the same shapes, so they
// line up; maps are painted without antialiasing in the action colours only.
//
//   gerar_figuras_dimensionamento <pasta>
#include <QFont>
#include <algorithm>
#include <cmath>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>

namespace {

constexpr int W = 360, H = 280;
const QColor kEspacamento(0x80, 0x00, 0x00), kSolo(0x80, 0x80, 0x00), kTerreno(0x00, 0xFF, 0x00),
    kPrograma(0x00, 0x00, 0xFF), kCanal(0x00, 0xFF, 0xFF), kChuva(0xFF, 0xFF, 0xFF), kMoldura(0xC0, 0xC0, 0xC0);

// Ground of the terrace figures: a straight slope with two terraces (channel cut above, ridge below).
double Chao(double x) { return 110 + 0.35 * x; }

struct Terraco {
    QPolygonF canal, camalhao;
};

Terraco TerracoEm(double x) {
    Terraco t;
    t.canal << QPointF(x - 34, Chao(x - 34)) << QPointF(x, Chao(x) + 12) << QPointF(x, Chao(x));
    t.camalhao << QPointF(x, Chao(x)) << QPointF(x, Chao(x) - 18) << QPointF(x + 40, Chao(x + 40));
    return t;
}

const double kTerracos[] = {120, 270};

QPolygonF SoloPoligono() {
    QPolygonF p;
    p << QPointF(0, Chao(0));
    for (double x : kTerracos) {
        const Terraco t = TerracoEm(x);
        p << t.canal[0] << t.canal[1] << t.camalhao[1] << t.camalhao[2];
    }
    p << QPointF(W, Chao(W)) << QPointF(W, H) << QPointF(0, H);
    return p;
}

// Shapes shared by the terrace figure, the channel figure and their one map.
struct Regioes {
    QRectF rotuloEH{140, 52, 110, 26};   // the spacing dimension and its label
    QRectF rotuloEV{300, 150, 46, 60};
    QRectF programa{W - 92, H - 34, 84, 26};
    QRectF rotuloSolo{30, 225, 140, 30};
};

void Moldura(QPainter& p, const QColor& c) {
    p.setPen(QPen(c, 4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 2, W - 4, H - 4));
}

QImage MapaTerraco() {
    QImage m(W, H, QImage::Format_RGB32);
    m.fill(kChuva);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(kSolo);
    p.drawPolygon(SoloPoligono());
    // A band along the surface is the terrain.
    QPainterPath sup;
    sup.moveTo(0, Chao(0));
    sup.lineTo(W, Chao(W));
    p.strokePath(sup, QPen(kTerreno, 14));
    for (double x : kTerracos) {
        const Terraco t = TerracoEm(x);
        p.setBrush(kCanal);
        p.drawPolygon(t.canal);
        p.drawPolygon(t.camalhao);
        p.drawRect(QRectF(x - 36, Chao(x) - 22, 80, 36));
    }
    const Regioes r;
    p.setBrush(kEspacamento);
    p.drawRect(r.rotuloEH);
    p.drawRect(r.rotuloEV);
    p.setBrush(kPrograma);
    p.drawRect(r.programa);
    Moldura(p, kMoldura);
    return m;
}

void Seta(QPainter& p, QPointF a, QPointF b) {
    p.drawLine(a, b);
    const QPointF d = (b - a) / std::max(1.0, std::hypot(b.x() - a.x(), b.y() - a.y()));
    const QPointF n(-d.y(), d.x());
    for (auto [o, s] : {std::pair{a, 1.0}, std::pair{b, -1.0}}) {
        QPolygonF t;
        t << o << o + s * 7 * d + 3 * n << o + s * 7 * d - 3 * n;
        p.setBrush(p.pen().color());
        p.drawPolygon(t);
    }
}

void Rotulo(QPainter& p, const QRectF& r, const QString& t, int tamanho = 11, bool negrito = true) {
    QFont f(QStringLiteral("DejaVu Sans"), tamanho);
    f.setBold(negrito);
    p.setFont(f);
    p.drawText(r, Qt::AlignCenter, t);
}

QImage FiguraTerraco(bool canal) {
    QImage m(W, H, QImage::Format_RGB32);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient ceu(0, 0, 0, H);
    ceu.setColorAt(0, QColor(0xcf, 0xe6, 0xf7));
    ceu.setColorAt(1, QColor(0xf4, 0xfa, 0xff));
    p.fillRect(m.rect(), ceu);
    // Rain.
    p.setPen(QPen(QColor(0x5a, 0x8f, 0xc8), 1.4));
    for (int i = 0; i < 26; ++i) {
        const double x = 14 + i * 13.5, y = 14 + (i * 37) % 40;
        p.drawLine(QPointF(x, y), QPointF(x - 4, y + 11));
    }
    p.setPen(QPen(QColor(0x5b, 0x3a, 0x1e), 1.5));
    p.setBrush(QColor(0xa8, 0x7a, 0x4c));
    p.drawPolygon(SoloPoligono());
    QPainterPath sup;
    sup.moveTo(0, Chao(0));
    sup.lineTo(W, Chao(W));
    p.strokePath(sup, QPen(QColor(0x4c, 0x9a, 0x2a), 5));
    for (double x : kTerracos) {
        const Terraco t = TerracoEm(x);
        p.setPen(QPen(QColor(0x5b, 0x3a, 0x1e), 1.5));
        p.setBrush(QColor(0x8a, 0x5e, 0x34));
        p.drawPolygon(t.camalhao);
        QPolygonF agua;
        agua << QPointF(x - 16, Chao(x) + 6.5) << t.canal[1] << QPointF(x, Chao(x) + 6.5);
        p.setBrush(QColor(0x3d, 0x86, 0xd6));
        p.setPen(Qt::NoPen);
        p.drawPolygon(agua);
    }
    const Regioes r;
    p.setPen(QPen(QColor(0x80, 0x00, 0x00), 1.5));
    Seta(p, QPointF(kTerracos[0], 80), QPointF(kTerracos[1], 80));
    p.setPen(QColor(0x80, 0x00, 0x00));
    Rotulo(p, r.rotuloEH.adjusted(0, -4, 0, -4), QStringLiteral("EH"));
    p.setPen(QPen(QColor(0x80, 0x00, 0x00), 1.5));
    Seta(p, QPointF(312, Chao(kTerracos[0])), QPointF(312, Chao(kTerracos[1])));
    p.setPen(QColor(0x80, 0x00, 0x00));
    Rotulo(p, QRectF(314, 150, 32, 60), QStringLiteral("EV"));
    p.setPen(QColor(0x20, 0x40, 0x10));
    Rotulo(p, QRectF(40, Chao(40) - 30, 60, 20), QStringLiteral("St"));
    p.setPen(QColor(0x00, 0x4a, 0x80));
    const double x = kTerracos[0];
    if (canal) {
        // The channel figure names the section: wall slope, terrain slope and height.
        p.setPen(QPen(QColor(0x00, 0x4a, 0x80), 1.2));
        Seta(p, QPointF(x + 50, Chao(x) - 18), QPointF(x + 50, Chao(x) + 12));
        p.setPen(QColor(0x00, 0x4a, 0x80));
        Rotulo(p, QRectF(x + 52, Chao(x) - 14, 22, 20), QStringLiteral("H"), 10);
        Rotulo(p, QRectF(x - 40, Chao(x) - 44, 40, 20), QStringLiteral("Sm"), 10);
        Rotulo(p, QRectF(x - 10, Chao(x) + 22, 70, 18), QStringLiteral("canal"), 9, false);
    } else {
        Rotulo(p, QRectF(x - 40, Chao(x) - 42, 90, 18), QStringLiteral("terraço"), 9, false);
    }
    p.setPen(QColor(0xf5, 0xf0, 0xdc));
    Rotulo(p, r.rotuloSolo, QStringLiteral("solo"), 11, false);
    p.setPen(QColor(0x1a, 0x3c, 0x7a));
    Rotulo(p, QRectF(20, 50, 110, 22), QStringLiteral("chuva"), 10, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x9c));
    p.drawRoundedRect(r.programa, 5, 5);
    p.setPen(Qt::white);
    Rotulo(p, r.programa, QStringLiteral("Vandoro"), 10);
    Moldura(p, QColor(0x9a, 0x9a, 0x9a));
    return m;
}

// Basin: a pit in the ground below a road, seen in section.
QPolygonF Cova() {
    QPolygonF c;
    c << QPointF(110, 150) << QPointF(140, 205) << QPointF(240, 205) << QPointF(270, 150);
    return c;
}

QImage MapaBacia() {
    QImage m(W, H, QImage::Format_RGB32);
    m.fill(kChuva);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(kSolo);
    p.drawRect(QRectF(0, 150, W, H - 150));
    p.setBrush(kCanal);
    p.drawPolygon(Cova());
    p.drawRect(QRectF(110, 130, 160, 20));
    Moldura(p, kMoldura);
    return m;
}

QImage FiguraBacia() {
    QImage m(W, H, QImage::Format_RGB32);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(m.rect(), QColor(0xe4, 0xf1, 0xfb));
    p.setPen(QPen(QColor(0x5a, 0x8f, 0xc8), 1.4));
    for (int i = 0; i < 26; ++i) {
        const double x = 14 + i * 13.5, y = 20 + (i * 29) % 50;
        p.drawLine(QPointF(x, y), QPointF(x - 4, y + 11));
    }
    p.setPen(QPen(QColor(0x5b, 0x3a, 0x1e), 1.5));
    p.setBrush(QColor(0xa8, 0x7a, 0x4c));
    p.drawRect(QRectF(-2, 150, W + 4, H - 148));
    p.setBrush(QColor(0xe4, 0xf1, 0xfb));
    p.drawPolygon(Cova());
    QPolygonF agua;
    agua << QPointF(124, 175) << QPointF(140, 205) << QPointF(240, 205) << QPointF(256, 175);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3d, 0x86, 0xd6));
    p.drawPolygon(agua);
    p.setPen(QColor(0x00, 0x4a, 0x80));
    Rotulo(p, QRectF(110, 128, 160, 20), QStringLiteral("barraginha"), 10, false);
    p.setPen(QPen(QColor(0x00, 0x4a, 0x80), 1.2));
    Seta(p, QPointF(282, 150), QPointF(282, 205));
    p.setPen(QColor(0x00, 0x4a, 0x80));
    Rotulo(p, QRectF(286, 165, 22, 20), QStringLiteral("H"), 10);
    p.setPen(QColor(0xf5, 0xf0, 0xdc));
    Rotulo(p, QRectF(20, 225, 140, 30), QStringLiteral("solo"), 11, false);
    p.setPen(QColor(0x1a, 0x3c, 0x7a));
    Rotulo(p, QRectF(20, 90, 110, 22), QStringLiteral("chuva"), 10, false);
    Moldura(p, QColor(0x9a, 0x9a, 0x9a));
    return m;
}

// Result pictures: terraces in plan view, level (closed ends) or graded (towards an outlet).
QImage Planta(bool gradiente) {
    QImage m(260, 200, QImage::Format_RGB32);
    m.fill(QColor(0xee, 0xf5, 0xe6));
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < 4; ++i) {
        QPainterPath l;
        const double y = 30 + i * 42;
        l.moveTo(20, y);
        l.cubicTo(90, y - 18, 170, y + 18, gradiente ? 225 : 240, y + (gradiente ? 10 : 0));
        p.strokePath(l, QPen(QColor(0x8a, 0x5e, 0x34), 6));
        p.strokePath(l.translated(0, -5), QPen(QColor(0x3d, 0x86, 0xd6), 2));
    }
    if (gradiente) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3d, 0x86, 0xd6));
        p.drawRect(QRectF(228, 10, 14, 180));
        p.setPen(QColor(0x1a, 0x3c, 0x7a));
        Rotulo(p, QRectF(120, 176, 110, 20), QStringLiteral("escoadouro →"), 9, false);
    }
    p.setPen(QColor(0x2f, 0x5d, 0x1e));
    Rotulo(p, QRectF(0, 2, 260, 18), gradiente ? QStringLiteral("Terraços com gradiente") : QStringLiteral("Terraços em nível"), 10);
    return m;
}

QImage Secao(bool trapezoidal) {
    QImage m(220, 110, QImage::Format_RGB32);
    m.fill(Qt::white);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF s;
    if (trapezoidal)
        s << QPointF(20, 30) << QPointF(70, 85) << QPointF(150, 85) << QPointF(200, 30);
    else
        s << QPointF(15, 40) << QPointF(120, 90) << QPointF(170, 22) << QPointF(205, 40);
    p.setPen(QPen(QColor(0x5b, 0x3a, 0x1e), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(s);
    p.setPen(QPen(QColor(0x00, 0x4a, 0x80), 1.2));
    Seta(p, QPointF(trapezoidal ? 110 : 120, trapezoidal ? 30 : 22), QPointF(trapezoidal ? 110 : 120, trapezoidal ? 85 : 90));
    p.setPen(QColor(0x00, 0x4a, 0x80));
    Rotulo(p, QRectF(trapezoidal ? 112 : 122, 44, 30, 18), QStringLiteral("H"), 10);
    if (trapezoidal) {
        Rotulo(p, QRectF(70, 88, 80, 18), QStringLiteral("B"), 10);
        Rotulo(p, QRectF(2, 50, 50, 18), QStringLiteral("Z"), 10);
    } else {
        Rotulo(p, QRectF(30, 70, 60, 18), QStringLiteral("St"), 10);
        Rotulo(p, QRectF(150, 60, 50, 18), QStringLiteral("Sm"), 10);
    }
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: gerar_figuras_dimensionamento <pasta>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString pasta = QString::fromLocal8Bit(argv[1]) + "/";
    const std::pair<const char*, QImage> figuras[] = {
        {"terraco.bmp", FiguraTerraco(false)}, {"canal.bmp", FiguraTerraco(true)},
        {"terraco_mapa.bmp", MapaTerraco()},   {"bacia.bmp", FiguraBacia()},
        {"bacia_mapa.bmp", MapaBacia()},       {"nivel.bmp", Planta(false)},
        {"grad.bmp", Planta(true)},            {"secao_triangular.bmp", Secao(false)},
        {"secao_trapezoidal.bmp", Secao(true)},
    };
    for (const auto& [nome, img] : figuras) {
        if (!img.convertToFormat(QImage::Format_RGB888).save(pasta + nome, "BMP")) {
            std::fprintf(stderr, "Não foi possível gravar %s\n", nome);
            return 1;
        }
    }
    return 0;
}

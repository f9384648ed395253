// Draws the location window's side picture and its colour map into the program folder: a
// storm cloud over a hill with level terrace lines, the soil under it, a terrace section, the
// spacing between two lines and the program's own mark. The map is painted from the same
// shapes without antialiasing, in the action colours only.
//
//   gerar_figuras_locacao <pasta>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <cstdio>

namespace {

constexpr int W = 360, H = 280;
// Map colours (RGB): each opens a section of the window or starts the program.
const QColor kChuva(0xFF, 0xFF, 0xFF), kCanal(0x00, 0xFF, 0xFF), kEspacamento(0x80, 0x00, 0x00),
    kSolo(0x80, 0x80, 0x00), kTerreno(0x00, 0xFF, 0x00), kTipo(0x00, 0x80, 0x80), kPrograma(0x00, 0x00, 0xFF),
    kSol(0xFF, 0xFF, 0x00), kMoldura(0xC0, 0xC0, 0xC0);

// The hill seen from above: closed level lines around a top at (150, 150).
QPolygonF Curva(double raio) {
    QPolygonF p;
    for (int i = 0; i <= 72; ++i) {
        const double a = i * M_PI / 36;
        const double r = raio * (1 + 0.12 * std::sin(3 * a) + 0.06 * std::cos(5 * a));
        p << QPointF(150 + r * std::cos(a), 150 + 0.72 * r * std::sin(a));
    }
    return p;
}

const double kRaios[] = {24, 48, 72, 96};

QPainterPath Nuvem() {
    QPainterPath p;
    p.addEllipse(QRectF(18, 14, 56, 30));
    p.addEllipse(QRectF(44, 6, 50, 34));
    p.addEllipse(QRectF(74, 16, 44, 26));
    return p.simplified();
}

QRectF Sol() { return {300, 14, 40, 40}; }
QRectF Programa() { return {292, 226, 56, 40}; }
QRectF Secao() { return {268, 84, 84, 52}; }
QRectF Solo() { return {12, 246, 262, 24}; }
QPolygonF Espacamento() {
    // The arrow between the two outer lines on the east side.
    QPolygonF p;
    p << QPointF(150 + 72 * 1.0, 150 - 6) << QPointF(150 + 100, 150 - 6) << QPointF(150 + 100, 150 + 6)
      << QPointF(150 + 72 * 1.0, 150 + 6);
    return p;
}

void Desenhar(QPainter& p, bool mapa) {
    const auto cor = [&](const QColor& acao, const QColor& figura) { return mapa ? acao : figura; };
    p.fillRect(QRect(0, 0, W, H), cor(kMoldura, QColor(0xEE, 0xF3, 0xE8)));
    // Field.
    QPainterPath campo;
    campo.addPolygon(Curva(118));
    p.setPen(mapa ? Qt::NoPen : QPen(QColor(0x55, 0x77, 0x33), 1));
    p.setBrush(cor(kTerreno, QColor(0xB8, 0xD8, 0x90)));
    p.drawPath(campo);
    // Terrace lines (the channels).
    for (double r : kRaios) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(cor(kCanal, QColor(0x1F, 0x5F, 0xA8)), mapa ? 5 : 2.2));
        p.drawPolyline(Curva(r));
    }
    // Soil strip.
    p.setPen(mapa ? Qt::NoPen : QPen(QColor(0x5A, 0x3A, 0x1A)));
    p.setBrush(cor(kSolo, QColor(0x9A, 0x6A, 0x3A)));
    p.drawRect(Solo());
    // Storm cloud with rain.
    p.setPen(mapa ? Qt::NoPen : QPen(QColor(0x70, 0x78, 0x88)));
    p.setBrush(cor(kChuva, QColor(0xD0, 0xD6, 0xE0)));
    p.drawPath(Nuvem());
    if (!mapa) {
        p.setPen(QPen(QColor(0x40, 0x70, 0xC0), 1.5));
        for (int i = 0; i < 6; ++i) p.drawLine(QPointF(32 + 14 * i, 48), QPointF(26 + 14 * i, 64));
    }
    // Sun.
    p.setPen(Qt::NoPen);
    p.setBrush(cor(kSol, QColor(0xF5, 0xC8, 0x30)));
    p.drawEllipse(Sol());
    // Terrace section: channel and ridge on the slope.
    const QRectF s = Secao();
    p.setPen(mapa ? Qt::NoPen : QPen(QColor(0x33, 0x33, 0x33)));
    p.setBrush(cor(kTipo, QColor(0xFF, 0xFF, 0xFF)));
    p.drawRect(s);
    if (!mapa) {
        QPolygonF chao;
        chao << QPointF(s.left() + 4, s.top() + 14) << QPointF(s.left() + 30, s.top() + 26)
             << QPointF(s.left() + 40, s.top() + 36) << QPointF(s.left() + 46, s.top() + 22)
             << QPointF(s.right() - 4, s.top() + 42) << QPointF(s.right() - 4, s.bottom() - 2)
             << QPointF(s.left() + 4, s.bottom() - 2);
        p.setBrush(QColor(0x9A, 0x6A, 0x3A));
        p.drawPolygon(chao);
        QFont f = p.font();
        f.setPixelSize(10);
        p.setFont(f);
        p.setPen(QColor(0x22, 0x22, 0x22));
        p.drawText(QRectF(s.left(), s.bottom() + 2, s.width(), 14), Qt::AlignCenter, QStringLiteral("Tipo de terraço"));
    }
    // Spacing arrow.
    p.setPen(mapa ? Qt::NoPen : QPen(QColor(0x80, 0x00, 0x00)));
    p.setBrush(cor(kEspacamento, QColor(0xC0, 0x30, 0x30)));
    p.drawPolygon(Espacamento());
    // Program mark.
    const QRectF g = Programa();
    p.setPen(mapa ? Qt::NoPen : QPen(QColor(0x10, 0x30, 0x70)));
    p.setBrush(cor(kPrograma, QColor(0x2A, 0x5C, 0xB0)));
    p.drawRoundedRect(g, 6, 6);
    if (!mapa) {
        QFont f = p.font();
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(g, Qt::AlignCenter, QStringLiteral("Vandoro"));
    }
}

QImage Figura(bool mapa) {
    QImage img(W, H, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, !mapa);
    Desenhar(p, mapa);
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: gerar_figuras_locacao <pasta>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString pasta = QString::fromLocal8Bit(argv[1]) + "/";
    for (const auto& [nome, mapa] : {std::pair{"locacao.bmp", false}, std::pair{"locacao_mapa.bmp", true}}) {
        if (!Figura(mapa).convertToFormat(QImage::Format_RGB888).save(pasta + nome, "BMP")) {
            std::fprintf(stderr, "Não foi possível gravar %s\n", nome);
            return 1;
        }
    }
    return 0;
}

// Draws the figures of the practice pages: cross-sections of a level and a graded terrace,
// an accumulation basin, the spacing between terraces and a plan of terraces on contour.
//
//   gerar_figuras_praticas <pasta de saída>
//
// Written as PNG through Qt's painter, rendered offscreen so that it runs without a display.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QColor kCeu(236, 244, 250), kSolo(176, 132, 92), kSoloEscuro(140, 100, 66), kGrama(96, 150, 70),
    kAgua(80, 150, 210, 200), kTexto(40, 40, 40), kTerraco(120, 80, 40);

QFont Fonte(int px, bool negrito = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(px);
    f.setBold(negrito);
    return f;
}

// Arrow from a to b with a filled head at b.
void Seta(QPainter& p, QPointF a, QPointF b, QColor cor = kTexto, double cabeca = 8) {
    p.setPen(QPen(cor, 1.6));
    p.drawLine(a, b);
    const double ang = std::atan2(b.y() - a.y(), b.x() - a.x());
    QPolygonF c;
    c << b << b - QPointF(std::cos(ang - 0.4) * cabeca, std::sin(ang - 0.4) * cabeca)
      << b - QPointF(std::cos(ang + 0.4) * cabeca, std::sin(ang + 0.4) * cabeca);
    p.setBrush(cor);
    p.drawPolygon(c);
    p.setBrush(Qt::NoBrush);
}

// Dimension line with arrows at both ends and its label beside the middle.
void Cota(QPainter& p, QPointF a, QPointF b, const QString& rotulo, QPointF desloc) {
    Seta(p, (a + b) / 2, a, kTexto, 7);
    Seta(p, (a + b) / 2, b, kTexto, 7);
    p.setFont(Fonte(14, true));
    p.drawText((a + b) / 2 + desloc, rotulo);
}

void Rotulo(QPainter& p, QPointF onde, const QString& texto, int px = 13) {
    p.setFont(Fonte(px));
    p.setPen(kTexto);
    p.drawText(onde, texto);
}

// Label starting at 'texto' (left end of its baseline), with a leader line from its nearer
// end to the point it names.
void Chamada(QPainter& p, QPointF texto, QPointF alvo, const QString& s) {
    const QFontMetrics fm(Fonte(13));
    const double w = fm.horizontalAdvance(s);
    const QPointF inicio = alvo.x() > texto.x() + w ? texto + QPointF(w + 3, -4) : texto + QPointF(-3, -4);
    p.setPen(QPen(kTexto, 1));
    p.drawLine(inicio, alvo);
    p.setBrush(kTexto);
    p.drawEllipse(alvo, 2.2, 2.2);
    p.setBrush(Qt::NoBrush);
    Rotulo(p, texto, s);
}

// A terrain profile z(x) in screen coordinates, filled as soil below and grass on top.
void Terreno(QPainter& p, int w, int h, const std::function<double(double)>& z) {
    QPainterPath solo;
    solo.moveTo(0, h);
    for (int x = 0; x <= w; ++x) solo.lineTo(x, z(x));
    solo.lineTo(w, h);
    solo.closeSubpath();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kSolo);
    g.setColorAt(1, kSoloEscuro);
    p.fillPath(solo, g);
    QPainterPath topo;
    topo.moveTo(0, z(0));
    for (int x = 1; x <= w; ++x) topo.lineTo(x, z(x));
    p.setPen(QPen(kGrama, 4));
    p.drawPath(topo);
}

// Terrace profile added to the ground line: a channel cut upslope of a ridge, both smooth.
// c: ridge centre; largura: half-width; fundo: depth of the channel; crista: ridge height.
double Terraco(double x, double c, double largura, double fundo, double crista) {
    const double u = (x - c) / largura;
    if (u < -1.6 || u > 1.6) return 0;
    const double canal = -fundo * std::exp(-std::pow((u + 0.55) / 0.42, 2));
    const double dique = crista * std::exp(-std::pow((u - 0.35) / 0.45, 2));
    return canal + dique;
}

QImage Nova(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kCeu);
    return img;
}

void Titulo(QPainter& p, const QString& t) {
    p.setFont(Fonte(15, true));
    p.setPen(kTexto);
    p.drawText(QPointF(14, 24), t);
}

// Water surface in the channel between the two crossings of level 'nivel'.
void Agua(QPainter& p, int w, const std::function<double(double)>& z, double x0, double x1, double nivel) {
    QPainterPath a;
    bool dentro = false;
    for (int x = int(x0); x <= int(x1) && x < w; ++x) {
        if (z(x) > nivel) {
            if (!dentro) {
                a.moveTo(x, nivel);
                dentro = true;
            }
            a.lineTo(x, z(x));
        } else if (dentro) {
            a.lineTo(x, nivel);
            a.closeSubpath();
            dentro = false;
        }
    }
    p.fillPath(a, kAgua);
    p.setPen(QPen(QColor(40, 100, 170), 1.5));
    p.drawPath(a);
}

QImage CorteNivel() {
    const int w = 700, h = 320;
    QImage img = Nova(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    auto chao = [](double x) { return 90 + 0.25 * x; };
    // Screen y grows downwards: the ridge rises above the ground, the channel sinks below it.
    auto perfil = [&](double x) { return chao(x) - 60 * Terraco(x, 360, 110, 0.55, 0.75); };
    Terreno(p, w, h, perfil);
    p.setPen(QPen(QColor(90, 60, 30), 1.5, Qt::DashLine));
    p.drawLine(QPointF(150, chao(150)), QPointF(570, chao(570)));
    Agua(p, w, perfil, 200, 380, perfil(300) - 20);
    for (double x : {262.0, 288.0, 314.0}) Seta(p, QPointF(x, perfil(x) + 8), QPointF(x, perfil(x) + 42), QColor(40, 100, 170));
    Titulo(p, QStringLiteral("Terraço em nível (de infiltração): corte transversal"));
    Chamada(p, QPointF(20, 66), QPointF(290, perfil(290) - 6), QStringLiteral("Canal: a enxurrada fica retida"));
    Chamada(p, QPointF(470, 110), QPointF(400, perfil(400)), QStringLiteral("Camalhão (dique de terra)"));
    Chamada(p, QPointF(545, 258), QPointF(520, chao(520)), QStringLiteral("Terreno original"));
    Rotulo(p, QPointF(300, 300), QStringLiteral("Infiltração no solo"));
    Seta(p, QPointF(560, 52), QPointF(640, 72));
    Rotulo(p, QPointF(560, 44), QStringLiteral("declive"));
    Rotulo(p, QPointF(14, 312), QStringLiteral("Escala vertical exagerada"), 11);
    return img;
}

QImage CorteGradiente() {
    const int w = 700, h = 440;
    QImage img = Nova(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    auto chao = [](double x) { return 80 + 0.25 * x; };
    auto perfil = [&](double x) { return chao(x) - 60 * Terraco(x, 340, 100, 0.45, 0.6); };
    p.save();
    p.setClipRect(0, 0, w, 250);
    Terreno(p, w, 250, perfil);
    Agua(p, w, perfil, 180, 360, perfil(285) - 12);
    p.restore();
    p.setPen(QPen(QColor(90, 60, 30), 1.5, Qt::DashLine));
    p.drawLine(QPointF(150, chao(150)), QPointF(550, chao(550)));
    Titulo(p, QStringLiteral("Terraço com gradiente (de drenagem)"));
    Rotulo(p, QPointF(14, 46), QStringLiteral("Corte transversal"), 13);
    Chamada(p, QPointF(14, 68), QPointF(270, perfil(270) - 8), QStringLiteral("Canal: a água escoa ao longo dele"));
    Chamada(p, QPointF(450, 110), QPointF(372, perfil(372)), QStringLiteral("Camalhão"));
    // Flow into the page: the usual circled dot.
    const QPointF c(288, perfil(288) - 14);
    p.setPen(QPen(kTexto, 1.5));
    p.drawEllipse(c, 7, 7);
    p.setBrush(kTexto);
    p.drawEllipse(c, 2, 2);
    p.setBrush(Qt::NoBrush);

    // Along the channel: the bottom falls gently to the outlet.
    p.fillRect(QRectF(0, 256, w, h - 256), QColor(250, 250, 245));
    p.setPen(QPen(QColor(200, 200, 200), 1));
    p.drawLine(0, 256, w, 256);
    Rotulo(p, QPointF(14, 280), QStringLiteral("Perfil ao longo do canal"), 13);
    QPainterPath fundo, agua;
    fundo.moveTo(40, 320);
    fundo.lineTo(560, 370);
    agua.moveTo(40, 318);
    agua.lineTo(560, 356);
    agua.lineTo(560, 370);
    agua.lineTo(40, 320);
    p.fillPath(agua, kAgua);
    p.setPen(QPen(kSoloEscuro, 4));
    p.drawPath(fundo);
    for (double x : {120.0, 260.0, 400.0}) Seta(p, QPointF(x, 316 + (x - 40) * 0.075), QPointF(x + 60, 320 + (x + 20) * 0.075), QColor(40, 100, 170));
    p.fillRect(QRectF(560, 300, 100, 100), QColor(120, 175, 90));
    Rotulo(p, QPointF(566, 322), QStringLiteral("Canal"), 13);
    Rotulo(p, QPointF(566, 340), QStringLiteral("escoadouro"), 13);
    Rotulo(p, QPointF(566, 358), QStringLiteral("vegetado"), 13);
    Rotulo(p, QPointF(120, 408), QStringLiteral("Declive do fundo pequeno e uniforme, em geral de 0,1 % a 0,5 %"));
    return img;
}

QImage Bacia() {
    const int w = 700, h = 330;
    QImage img = Nova(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    auto chao = [](double x) { return 120 + 0.12 * x; };
    auto perfil = [&](double x) {
        double z = chao(x);
        if (x < 130) z -= 10 * std::exp(-std::pow((x - 70) / 45, 2));  // road crown
        const double u = (x - 400) / 110;
        if (std::fabs(u) < 1) z += 95 * (1 - u * u);                      // the excavated basin
        z -= 38 * std::exp(-std::pow((x - 540) / 32, 2));                 // embankment below it
        return z;
    };
    Terreno(p, w, h, perfil);
    p.fillRect(QRectF(20, perfil(70) - 2, 100, 5), QColor(120, 110, 100));
    Agua(p, w, perfil, 290, 520, perfil(300) + 8);
    for (double x : {360.0, 400.0, 440.0}) Seta(p, QPointF(x, perfil(x) + 10), QPointF(x, perfil(x) + 40), QColor(40, 100, 170));
    Seta(p, QPointF(140, chao(140) - 14), QPointF(270, chao(270) - 6), QColor(40, 100, 170));
    Titulo(p, QStringLiteral("Bacia de acumulação (barraginha): corte"));
    Chamada(p, QPointF(14, 70), QPointF(70, perfil(70) - 4), QStringLiteral("Estrada ou carreador"));
    Rotulo(p, QPointF(140, chao(140) - 24), QStringLiteral("enxurrada desviada"));
    Chamada(p, QPointF(220, 60), QPointF(400, perfil(300) + 10), QStringLiteral("Água armazenada"));
    Chamada(p, QPointF(560, 100), QPointF(540, perfil(540) + 2), QStringLiteral("Aterro compactado"));
    Rotulo(p, QPointF(330, 318), QStringLiteral("Infiltração e recarga do lençol freático"));
    return img;
}

QImage Espacamento() {
    const int w = 700, h = 340;
    QImage img = Nova(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    auto chao = [](double x) { return 70 + 0.36 * x; };
    const double c1 = 200, c2 = 480;
    auto perfil = [&](double x) {
        return chao(x) - 40 * (Terraco(x, c1, 50, 0.4, 0.55) + Terraco(x, c2, 50, 0.4, 0.55));
    };
    Terreno(p, w, h, perfil);
    const QPointF a(c1 + 18, chao(c1 + 18)), b(c2 + 18, chao(c2 + 18));
    p.setPen(QPen(kTexto, 1, Qt::DashLine));
    p.drawLine(a, QPointF(b.x() + 40, a.y()));
    p.drawLine(b, QPointF(b.x() + 40, b.y()));
    Cota(p, QPointF(a.x(), a.y() - 30), QPointF(b.x(), a.y() - 30), QStringLiteral("EH"), QPointF(-10, -8));
    p.setPen(QPen(kTexto, 1, Qt::DashLine));
    p.drawLine(a, QPointF(a.x(), a.y() - 38));
    p.drawLine(b, QPointF(b.x(), a.y() - 38));
    Cota(p, QPointF(b.x() + 30, a.y()), QPointF(b.x() + 30, b.y()), QStringLiteral("EV"), QPointF(10, 5));
    Titulo(p, QStringLiteral("Espaçamento entre terraços"));
    Rotulo(p, QPointF(14, 300), QStringLiteral("EV: espaçamento vertical (diferença de nível entre dois terraços, m)"));
    Rotulo(p, QPointF(14, 318), QStringLiteral("EH: espaçamento horizontal (distância entre eles, m);  EH = EV / declive (m/m)"));
    return img;
}

// Plan of a field: contour lines every metre, terraces on every other one, draining to an
// outlet channel on the right.
QImage Planta() {
    const int w = 700, h = 440;
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(232, 240, 214));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double xOut = 600;
    auto curva = [&](int k, double x) {
        return 70 + 42 * k + (16 + 1.5 * k) * std::sin(x / 120.0 + 0.4) + 7 * std::sin(x / 47.0 + 0.2 * k);
    };
    p.fillRect(QRectF(xOut, 40, 44, h - 80), QColor(120, 175, 90));
    for (int k = 0; k < 8; ++k) {
        QPainterPath c;
        c.moveTo(20, curva(k, 20));
        for (int x = 21; x <= xOut; ++x) c.lineTo(x, curva(k, x));
        const bool terraco = k % 2 == 1;
        p.setPen(terraco ? QPen(kTerraco, 5, Qt::SolidLine, Qt::RoundCap) : QPen(QColor(150, 120, 80), 1.2));
        p.drawPath(c);
        p.setFont(Fonte(11));
        p.setPen(kTexto);
        p.drawText(QPointF(24, curva(k, 24) - 5), QString::number(110 - k) + QStringLiteral(" m"));
        if (terraco) Seta(p, QPointF(xOut - 50, curva(k, xOut - 50) - 8), QPointF(xOut - 6, curva(k, xOut - 6) - 8), QColor(40, 100, 170), 6);
    }
    Seta(p, QPointF(330, 60), QPointF(330, 130));
    Rotulo(p, QPointF(338, 84), QStringLiteral("sentido do declive"));
    Cota(p, QPointF(200, curva(1, 200)), QPointF(200, curva(3, 200)), QStringLiteral("EH"), QPointF(8, 4));
    p.save();
    p.translate(xOut + 28, h - 60);
    p.rotate(-90);
    Rotulo(p, QPointF(0, 0), QStringLiteral("Canal escoadouro"), 13);
    p.restore();
    p.fillRect(QRectF(0, h - 34, w, 34), QColor(250, 250, 245));
    QPen fina(QColor(150, 120, 80), 1.2), grossa(kTerraco, 5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(fina);
    p.drawLine(20, h - 17, 60, h - 17);
    Rotulo(p, QPointF(68, h - 12), QStringLiteral("curva de nível (1 m)"));
    p.setPen(grossa);
    p.drawLine(230, h - 17, 270, h - 17);
    Rotulo(p, QPointF(278, h - 12), QStringLiteral("terraço"));
    Seta(p, QPointF(370, h - 17), QPointF(410, h - 17), QColor(40, 100, 170), 6);
    Rotulo(p, QPointF(418, h - 12), QStringLiteral("escoamento (terraços com gradiente)"));
    p.setFont(Fonte(15, true));
    p.setPen(kTexto);
    p.drawText(QPointF(14, 24), QStringLiteral("Terraços locados em contorno: vista em planta"));
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: gerar_figuras_praticas <pasta de saída>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString pasta = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(pasta);
    const std::pair<const char*, QImage> figuras[] = {
        {"corte_nivel.png", CorteNivel()}, {"corte_gradiente.png", CorteGradiente()}, {"bacia.png", Bacia()},
        {"espacamento.png", Espacamento()}, {"planta_terracos.png", Planta()}};
    for (const auto& [nome, img] : figuras) {
        const QString caminho = pasta + '/' + QLatin1String(nome);
        if (!img.save(caminho, "PNG")) {
            std::fprintf(stderr, "Não foi possível gravar o arquivo %s.\n", qPrintable(caminho));
            return 1;
        }
    }
    return 0;
}

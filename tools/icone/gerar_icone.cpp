// Draws the program's icon: a green hillside with terraces on contour under a sky with a sun.
//
//   gerar_icone <pasta hicolor>
//
// writes <pasta>/scalable/apps/vandoro.svg and <pasta>/NxN/apps/vandoro.png for the sizes of
// the hicolor theme. The drawing is described once, as paths on a 256-unit square; the SVG
// text and the PNG pictures (Qt's painter, offscreen) are both made from that description,
// so the two can never show different icons.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "core/common/Arquivo.h"

#include <cstdio>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One step of a path: 'M' move, 'L' line, 'Q' quadratic, 'C' cubic, 'Z' close.
struct Passo {
    char op;
    std::vector<double> v;
};
using Caminho = std::vector<Passo>;

struct Camada {
    Caminho caminho;
    std::string preenchimento;  // "#rrggbb" or empty
    std::string traco;          // "#rrggbb" or empty
    double largura = 0;
    std::vector<Caminho> recortes;  // drawn only inside all of them
};

constexpr double kLado = 256;

Caminho Retangulo(double x, double y, double w, double h, double r) {
    return {{'M', {x + r, y}},
            {'L', {x + w - r, y}},
            {'Q', {x + w, y, x + w, y + r}},
            {'L', {x + w, y + h - r}},
            {'Q', {x + w, y + h, x + w - r, y + h}},
            {'L', {x + r, y + h}},
            {'Q', {x, y + h, x, y + h - r}},
            {'L', {x, y + r}},
            {'Q', {x, y, x + r, y}},
            {'Z', {}}};
}

Caminho Circulo(double cx, double cy, double r) {
    // Four cubic quarters; 0.5523 puts the control points where a circle needs them.
    const double k = 0.5523 * r;
    return {{'M', {cx + r, cy}},
            {'C', {cx + r, cy + k, cx + k, cy + r, cx, cy + r}},
            {'C', {cx - k, cy + r, cx - r, cy + k, cx - r, cy}},
            {'C', {cx - r, cy - k, cx - k, cy - r, cx, cy - r}},
            {'C', {cx + k, cy - r, cx + r, cy - k, cx + r, cy}},
            {'Z', {}}};
}

std::vector<Camada> Desenho() {
    const Caminho fundo = Retangulo(8, 8, 240, 240, 40);
    const Caminho morro = {{'M', {0, 256}}, {'C', {56, 96, 168, 52, 256, 92}}, {'L', {256, 256}}, {'Z', {}}};
    std::vector<Camada> d;
    d.push_back({fundo, "#e8f2fa", "", 0, {}});
    d.push_back({Circulo(188, 62, 24), "#f2c14e", "", 0, {fundo}});
    d.push_back({morro, "#60963f", "", 0, {fundo}});
    // Terraces on contour: each ridge is a dark line with a lighter channel above it.
    for (double y : {132.0, 172.0, 212.0}) {
        const Caminho linha = {{'M', {-8, y + 20}}, {'Q', {128, y - 22, 264, y - 6}}};
        Caminho canal = linha;
        for (auto& p : canal)
            for (size_t i = 1; i < p.v.size(); i += 2) p.v[i] -= 9;
        d.push_back({canal, "", "#8cc063", 6, {fundo, morro}});
        d.push_back({linha, "", "#5d3e23", 9, {fundo, morro}});
    }
    d.push_back({fundo, "", "#34495e", 6, {}});
    return d;
}

std::string Numero(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

std::string D(const Caminho& c) {
    std::string r;
    for (const Passo& p : c) {
        if (!r.empty()) r += ' ';
        r += p.op;
        for (size_t i = 0; i < p.v.size(); ++i) r += (i ? "," : "") + Numero(p.v[i]);
    }
    return r;
}

std::string Svg(const std::vector<Camada>& desenho) {
    std::string defs, corpo;
    int n = 0;
    for (const Camada& c : desenho) {
        std::string abre, fecha;
        for (const Caminho& r : c.recortes) {
            const std::string id = "r" + std::to_string(n++);
            defs += "    <clipPath id=\"" + id + "\"><path d=\"" + D(r) + "\"/></clipPath>\n";
            abre += "<g clip-path=\"url(#" + id + ")\">";
            fecha += "</g>";
        }
        std::string estilo = " fill=\"" + (c.preenchimento.empty() ? std::string("none") : c.preenchimento) + "\"";
        if (!c.traco.empty())
            estilo += " stroke=\"" + c.traco + "\" stroke-width=\"" + Numero(c.largura) +
                      "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        corpo += "  " + abre + "<path d=\"" + D(c.caminho) + "\"" + estilo + "/>" + fecha + "\n";
    }
    const std::string lado = Numero(kLado);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + lado + "\" height=\"" + lado +
           "\" viewBox=\"0 0 " + lado + " " + lado + "\">\n  <title>Vandoro 4.1</title>\n  <defs>\n" + defs +
           "  </defs>\n" + corpo + "</svg>\n";
}

QPainterPath Trajeto(const Caminho& c) {
    QPainterPath p;
    for (const Passo& s : c) {
        const auto& v = s.v;
        switch (s.op) {
            case 'M': p.moveTo(v[0], v[1]); break;
            case 'L': p.lineTo(v[0], v[1]); break;
            case 'Q': p.quadTo(v[0], v[1], v[2], v[3]); break;
            case 'C': p.cubicTo(v[0], v[1], v[2], v[3], v[4], v[5]); break;
            case 'Z': p.closeSubpath(); break;
        }
    }
    return p;
}

QImage Png(const std::vector<Camada>& desenho, int lado) {
    QImage img(lado, lado, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / kLado, lado / kLado);
    for (const Camada& c : desenho) {
        p.save();
        bool primeiro = true;
        for (const Caminho& r : c.recortes) {
            p.setClipPath(Trajeto(r), primeiro ? Qt::ReplaceClip : Qt::IntersectClip);
            primeiro = false;
        }
        p.setBrush(c.preenchimento.empty() ? QBrush(Qt::NoBrush) : QBrush(QColor(QString::fromStdString(c.preenchimento))));
        if (c.traco.empty()) p.setPen(Qt::NoPen);
        else p.setPen(QPen(QColor(QString::fromStdString(c.traco)), c.largura, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(Trajeto(c.caminho));
        p.restore();
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Uso: gerar_icone <pasta hicolor>\n");
        return 2;
    }
    const QString pasta = QString::fromLocal8Bit(argv[1]);
    const auto desenho = Desenho();
    int falhas = 0;

    const QString svg = pasta + "/scalable/apps/vandoro.svg";
    QDir().mkpath(pasta + "/scalable/apps");
    try {
        GravarArquivoInteiro(svg.toStdString(), Svg(desenho));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gerar_icone: %s\n", e.what());
        ++falhas;
    }
    for (int lado : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString sub = QStringLiteral("%1/%2x%2/apps").arg(pasta).arg(lado);
        QDir().mkpath(sub);
        if (!Png(desenho, lado).save(sub + "/vandoro.png", "PNG")) {
            std::fprintf(stderr, "gerar_icone: não foi possível gravar %s/vandoro.png\n", sub.toUtf8().constData());
            ++falhas;
        }
    }
    return falhas ? 1 : 0;
}

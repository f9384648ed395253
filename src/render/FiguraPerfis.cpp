#include "render/FiguraPerfis.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/common/Numeros.h"
#include "core/location/Locacao.h"
#include "core/location/PerfisTerracos.h"
#include "core/location/PlanoMapa.h"
#include "render/Texto.h"

namespace {

constexpr double kUnidade = 96.0;
// A level line on flat ground would fill the chart with centimetres: the vertical scale spans
// at least this much.
constexpr double kFaixaMinima = 0.5;  // m

const QColor kTerreno(0x6B, 0x4A, 0x2B);
const QColor kProjeto(0x10, 0x50, 0xC0);
const QColor kTravessia(0xD0, 0x20, 0x20);

// A round step giving about 'n' intervals over 'faixa' (1, 2 or 5 times a power of ten).
double PassoRedondo(double faixa, int n) {
    const double bruto = faixa / std::max(1, n);
    const double p = std::pow(10.0, std::floor(std::log10(bruto)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * p >= bruto) return m * p;
    return 10 * p;
}

void DesenharPerfil(QPainter& p, const TPerfilTerraco& perfil, const QRectF& caixa) {
    const QFontMetricsF fm(p.font());
    const double linha = fm.height();
    double smax = 0, zmin = 1e300, zmax = -1e300;
    for (const TEstaca& e : perfil.pontos) {
        smax = std::max(smax, e.estaca);
        zmin = std::min(zmin, e.cotaProjeto);
        zmax = std::max(zmax, e.cotaProjeto);
        if (!e.semTerreno) {
            zmin = std::min(zmin, e.cotaTerreno);
            zmax = std::max(zmax, e.cotaTerreno);
        }
    }
    if (!(zmax >= zmin) || !(smax > 0)) return;
    if (zmax - zmin < kFaixaMinima) {
        const double meio = (zmax + zmin) / 2;
        zmin = meio - kFaixaMinima / 2;
        zmax = meio + kFaixaMinima / 2;
    }
    const double passoZ = PassoRedondo(zmax - zmin, 4);
    const double topoDados = zmax;
    zmin = std::floor(zmin / passoZ) * passoZ;
    zmax = std::ceil(zmax / passoZ) * passoZ;

    // The fill or cut of each stretch off level, laid in rows at the top of the plot; the
    // elevations reach up only to under the last row, so no label sits on the lines.
    QStringList rotulos;
    std::vector<TRotuloPerfil> medidas;
    for (const TTravessiaNivel& t : perfil.travessias) {
        QStringList partes;
        if (t.aterroCm > 0) partes << QStringLiteral("aterro %1 cm").arg(Q(FloatToStrFixed(t.aterroCm, 0)));
        if (t.corteCm > 0) partes << QStringLiteral("corte %1 cm").arg(Q(FloatToStrFixed(t.corteCm, 0)));
        rotulos << partes.join(QStringLiteral(", "));
        medidas.push_back({t.inicio + t.comprimento / 2, fm.horizontalAdvance(rotulos.back())});
    }
    const auto Area = [&] {
        const double esquerda = fm.horizontalAdvance(Q(FloatToStrFixed(zmax, 1))) + 10;
        return QRectF(caixa.left() + esquerda, caixa.top() + 1.5 * linha + 4, caixa.width() - esquerda - 6,
                      caixa.height() - 2.5 * linha - 10);
    };
    QRectF area;
    std::vector<TLugarRotulo> lugares;
    const auto Dispor = [&] {  // gives the rows taken
        area = Area();
        std::vector<TRotuloPerfil> emX = medidas;
        for (TRotuloPerfil& m : emX) m.centro = area.left() + m.centro / smax * area.width();
        lugares = DisporRotulos(emX, area.left() + 2, area.right() - 2, 8, std::max(1, int(0.4 * area.height() / linha)));
        int filas = 0;
        for (const TLugarRotulo& l : lugares) filas = std::max(filas, l.fila + 1);
        return filas;
    };
    // A higher top may widen the elevations' labels, and so narrow the plot and add a row.
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
        const double faixa = medidas.empty() ? 0 : Dispor() * linha + 3;
        const double antes = zmax;
        for (int k = 0; k < 100 && (zmax - topoDados) / (zmax - zmin) * area.height() < faixa; ++k) zmax += passoZ;
        if (zmax == antes) break;
    }
    Dispor();

    // Title, then the plot with the elevations at its left and the distances under it.
    p.setPen(Qt::black);
    QFont negrito = p.font();
    negrito.setBold(true);
    p.save();
    p.setFont(negrito);
    const QString titulo = QStringLiteral("Terraço %1").arg(perfil.terraco);
    p.drawText(QPointF(caixa.left(), caixa.top() + fm.ascent()), titulo);
    const double depoisTitulo = QFontMetricsF(negrito).horizontalAdvance(titulo) + 8;
    p.restore();
    const TEstaca &inicio = perfil.pontos.front(), &fim = perfil.pontos.back();
    const QString cota = Q(FloatToStrFixed(inicio.cotaProjeto, 2));
    const QString resumo =
        QStringLiteral("comprimento %1 m; %2")
            .arg(Q(FloatToStrFixed(smax, 1)))
            .arg(perfil.gradiente
                     ? QStringLiteral("canal com gradiente de %1 %, saída na cota %2 m")
                           .arg(Q(FloatToStrFixed(100 * (fim.cotaProjeto - inicio.cotaProjeto) / smax, 2)), cota)
                     : QStringLiteral("canal em nível, cota %1 m").arg(cota));
    p.drawText(QPointF(caixa.left() + depoisTitulo, caixa.top() + fm.ascent()), resumo);

    const auto X = [&](double s) { return area.left() + s / smax * area.width(); };
    const auto Y = [&](double z) { return area.bottom() - (z - zmin) / (zmax - zmin) * area.height(); };

    // Grid and axis labels.
    p.setPen(QPen(QColor(0xD8, 0xD8, 0xD8), 0.5));
    const int casasZ = passoZ >= 1 ? 0 : passoZ >= 0.1 ? 1 : 2;
    // Room made for the labels' rows adds lines: an elevation too close to the last one
    // written keeps its line and goes without its number.
    double ultimoRotulo = 1e300;
    for (double z = zmin; z <= zmax + passoZ / 2; z += passoZ) {
        p.setPen(QPen(QColor(0xD8, 0xD8, 0xD8), 0.5));
        p.drawLine(QPointF(area.left(), Y(z)), QPointF(area.right(), Y(z)));
        if (ultimoRotulo - Y(z) < linha) continue;
        ultimoRotulo = Y(z);
        p.setPen(Qt::black);
        const QString t = Q(FloatToStrFixed(z, casasZ));
        p.drawText(QPointF(area.left() - 4 - fm.horizontalAdvance(t), Y(z) + fm.ascent() / 2 - 1), t);
    }
    const double passoS = PassoRedondo(smax, 8);
    for (double s = 0; s <= smax + 1e-9; s += passoS) {
        p.setPen(QPen(QColor(0xD8, 0xD8, 0xD8), 0.5));
        p.drawLine(QPointF(X(s), area.top()), QPointF(X(s), area.bottom()));
        p.setPen(Qt::black);
        const QString t = Q(FloatToStrFixed(s, 0));
        const double x = std::min(X(s) - fm.horizontalAdvance(t) / 2, area.right() - fm.horizontalAdvance(t));
        p.drawText(QPointF(x, area.bottom() + fm.ascent() + 2), t);
    }
    p.drawText(QPointF(area.right() - fm.horizontalAdvance(QStringLiteral("distância (m)")),
                       area.bottom() + linha + fm.ascent() + 2),
               QStringLiteral("distância (m)"));
    p.setPen(QPen(Qt::black, 0.7));
    p.drawRect(area);

    // The stretches off level, under the lines.
    for (size_t i = 0; i < perfil.travessias.size(); ++i) {
        const TTravessiaNivel& t = perfil.travessias[i];
        const QRectF faixa(QPointF(X(t.inicio), area.top()), QPointF(X(t.inicio + t.comprimento), area.bottom()));
        p.fillRect(faixa, QColor(kTravessia.red(), kTravessia.green(), kTravessia.blue(), 40));
        if (lugares[i].fila < 0) continue;  // no room near its stretch: the text lists it
        p.setPen(kTravessia);
        p.drawText(QPointF(lugares[i].esquerda, area.top() + fm.ascent() + 2 + lugares[i].fila * linha), rotulos[int(i)]);
    }

    p.save();
    p.setClipRect(area);
    // A profile has a point every 2 m, a long terrace a thousand and more across the chart: only
    // those that show are stroked (half a device pixel), as a farm's 130 pages took seconds.
    const double tolerancia = 0.5 / std::max(1e-9, p.transform().m11());
    std::vector<double> x, y;
    const auto Tracar = [&](QPainterPath& caminho) {
        for (const size_t i : VerticesVisiveis(x, y, tolerancia)) {
            if (i == 0) caminho.moveTo(x[i], y[i]);
            else caminho.lineTo(x[i], y[i]);
        }
        x.clear();
        y.clear();
    };
    QPainterPath terreno, projeto;
    for (const TEstaca& e : perfil.pontos) {
        if (e.semTerreno) {
            Tracar(terreno);
            continue;
        }
        x.push_back(X(e.estaca));
        y.push_back(Y(e.cotaTerreno));
    }
    Tracar(terreno);
    for (const TEstaca& e : perfil.pontos) {
        x.push_back(X(e.estaca));
        y.push_back(Y(e.cotaProjeto));
    }
    Tracar(projeto);
    p.setPen(QPen(kProjeto, 1.2, Qt::DashLine));
    p.drawPath(projeto);
    p.setPen(QPen(kTerreno, 1.2));
    p.drawPath(terreno);
    p.restore();
}

}  // namespace

QImage ImagemPerfis(const std::vector<const TPerfilTerraco*>& perfis, QSizeF tamanho, double dpi) {
    // 16 bits a pixel: a farm's report holds a hundred and more of these pages at once, and
    // lines on white lose nothing a printer shows.
    QImage img((tamanho * dpi / kUnidade).toSize(), QImage::Format_RGB16);
    img.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    img.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(dpi / kUnidade, dpi / kUnidade);
    QFont fonte(QStringLiteral("Arial"));
    fonte.setPixelSize(10);
    p.setFont(fonte);
    const double altura = tamanho.height() / TFigurasLocacao::kPerfisPorPagina;
    for (size_t i = 0; i < perfis.size(); ++i)
        DesenharPerfil(p, *perfis[i], QRectF(0, double(i) * altura, tamanho.width(), altura - 12));
    return img;
}

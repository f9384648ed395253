#include "render/MapaPlano.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>
#include <optional>

#include "core/common/Threads.h"
#include "core/location/ImgElev.h"
#include "render/Texto.h"

namespace {

// Terrace lines by type: colour and dash both differ, so the print reads in grey too.
struct EstiloLinha {
    QRgb cor;
    Qt::PenStyle estilo;
};
constexpr EstiloLinha kEstilos[] = {{0xB00000, Qt::SolidLine},   {0x1A237E, Qt::DashLine},
                                    {0x6A1B9A, Qt::DashDotLine}, {0xD84315, Qt::DotLine},
                                    {0x004D40, Qt::DashDotDotLine}};
constexpr int kNumEstilos = int(std::size(kEstilos));
const QColor kEscoadouro(0x00, 0x60, 0xFF);

// Strip tints: light enough for the lines and numbers to stay readable over them.
QColor CorDaFaixa(int indice) {
    static const int matizes[] = {45, 200, 120, 300, 0, 260, 165, 85};
    return QColor::fromHsv(matizes[indice % 8], 140, 255, 80);
}

// Hill shading from the north-west on the elevation's own range; cells without data white.
// 'caixa' gets the cells with data (columns and rows, 0-based).
QImage Sombreado(const TImgElevacao& e, QRect& caixa) {
    const int nc = e.Columns(), nl = e.Rows();
    float zmin = 0, zmax = 0;
    bool primeiro = true;
    int c0 = nc, c1 = -1, r0 = nl, r1 = -1;
    for (int r = 1; r <= nl; ++r)
        for (int c = 1; c <= nc; ++c) {
            const float z = e.Cell(r, c);
            if (z == 0) continue;
            if (primeiro) zmin = zmax = z, primeiro = false;
            zmin = std::min(zmin, z);
            zmax = std::max(zmax, z);
            c0 = std::min(c0, c - 1), c1 = std::max(c1, c - 1);
            r0 = std::min(r0, r - 1), r1 = std::max(r1, r - 1);
        }
    caixa = c1 < 0 ? QRect() : QRect(QPoint(c0, r0), QPoint(c1, r1));
    const double faixaZ = zmax > zmin ? zmax - zmin : 1;
    const double w = e.CellWidth() > 0 ? e.CellWidth() : 1, h = e.CellHeight() > 0 ? e.CellHeight() : 1;
    QImage img(nc, nl, QImage::Format_RGB32);
    img.fill(Qt::white);
    // Each row on its own scan line: a whole farm's 30 million cells share the threads. The
    // pixels are taken once here, as QImage's scanLine() is not to be called from two threads.
    uchar* const pixels = img.bits();
    const qsizetype porLinha = img.bytesPerLine();
    ParaFaixas(nl, NumeroThreads(), [&](int, int inicio, int fim) {
        for (int r = inicio + 1; r <= fim; ++r) {
            auto* px = reinterpret_cast<QRgb*>(pixels + (r - 1) * porLinha);
            for (int c = 1; c <= nc; ++c) {
                const float z = e.Cell(r, c);
                if (z == 0) continue;
                const auto at = [&](int rr, int cc) {
                    const float v = e.ElevationAt(cc, rr);
                    return v != 0 ? double(v) : double(z);
                };
                const double nx = -(at(r, c + 1) - at(r, c - 1)) / (2 * w), ny = -(at(r - 1, c) - at(r + 1, c)) / (2 * h);
                const double luz =
                    std::clamp((nx * -0.5 + ny * 0.5 + 0.7071) / std::sqrt(nx * nx + ny * ny + 1), 0.0, 1.0);
                const double t = (z - zmin) / faixaZ, k = 0.5 + 0.5 * luz;
                px[c - 1] = qRgb(int(255 * k * (0.62 + 0.3 * t)), int(255 * k * (0.68 + 0.22 * t)),
                                 int(255 * k * (0.52 + 0.25 * t)));
            }
        }
    });
    return img;
}

QRectF Uniao(const QRectF& a, const QRectF& b) {
    if (a.isNull()) return b;
    if (b.isNull()) return a;
    return a.united(b);
}

template <class L>
QRectF CaixaDaLinha(const L& l) {
    if (l.x.empty() || l.y.empty()) return {};
    const auto [x0, x1] = std::minmax_element(l.x.begin(), l.x.end());
    const auto [y0, y1] = std::minmax_element(l.y.begin(), l.y.end());
    return QRectF(QPointF(*x0, *y0), QPointF(*x1, *y1));
}

// Whether two boxes overlap, edges included: a straight level line's box has no height.
bool Cruzam(const QRectF& a, const QRectF& b) {
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

template <class L>
QRectF CaixaDe(const std::vector<L>& linhas) {
    QRectF r;
    for (const L& l : linhas) r = Uniao(r, CaixaDaLinha(l));
    return r;
}

// The vertices of a line that show at 'tolerancia' map units, still in map units.
QPolygonF Visiveis(const std::vector<double>& x, const std::vector<double>& y, double tolerancia) {
    QPolygonF q;
    for (const size_t i : VerticesVisiveis(x, y, tolerancia)) q << QPointF(x[i], y[i]);
    return q;
}

// Strokes only the stretches of 'pol' that pass through 'janela', each taking up the dash
// pattern where the whole line has it there, so the dashes stay put as the view moves.
void DesenharVisivel(QPainter& p, const QPolygonF& pol, QPen caneta, const QRectF& janela) {
    const double largura = caneta.widthF() > 0 ? caneta.widthF() : 1;
    const double offset = caneta.dashOffset();
    const bool tracejada = caneta.style() != Qt::SolidLine;
    double percorrido = 0;
    int inicio = -1;
    double emInicio = 0;
    const auto tracar = [&](int fim) {
        if (inicio < 0) return;
        if (tracejada) caneta.setDashOffset(offset + emInicio / largura);
        p.setPen(caneta);
        p.drawPolyline(pol.constData() + inicio, fim - inicio + 1);
        inicio = -1;
    };
    for (int i = 0; i + 1 < pol.size(); ++i) {
        const QPointF a = pol[i], b = pol[i + 1];
        const bool visivel = std::min(a.x(), b.x()) <= janela.right() && std::max(a.x(), b.x()) >= janela.left() &&
                             std::min(a.y(), b.y()) <= janela.bottom() && std::max(a.y(), b.y()) >= janela.top();
        if (visivel && inicio < 0) {
            inicio = i;
            emInicio = percorrido;
        } else if (!visivel) {
            tracar(i);
        }
        percorrido += QLineF(a, b).length();
    }
    tracar(int(pol.size()) - 1);
}

QFont Fonte(double altura, bool negrito = false) {
    QFont f;
    f.setPixelSize(std::max(1, int(std::lround(altura))));
    f.setBold(negrito);
    return f;
}

// Dark text on a white outline: readable over the shading, the strips and the lines.
void TextoComHalo(QPainter& p, QPointF centro, const QString& s, const QFont& f, const QColor& cor, double halo) {
    QPainterPath caminho;
    caminho.addText(0, 0, f, s);
    caminho.translate(centro - caminho.boundingRect().center());
    p.strokePath(caminho, QPen(QColor(255, 255, 255, 230), 2 * halo, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(caminho, cor);
}

double AlturaTexto(const QFont& f, double largura, const QString& s) {
    return QFontMetricsF(f).boundingRect(QRectF(0, 0, largura, 1e6), Qt::TextWordWrap, s).height();
}

QString TituloFolha(bool gradiente) {
    return gradiente ? QStringLiteral("Planta de locação dos terraços com gradiente")
                     : QStringLiteral("Planta de locação dos terraços em nível");
}

}  // namespace

TMapaPlano::TMapaPlano(const TPlanoMapa& plano) : plano_(plano) {
    QRectF campo;
    try {
        TImgElevacao e;
        e.Load(plano_.elevacao);
        if (e.Columns() > 0 && e.Rows() > 0 && e.CellWidth() > 0 && e.CellHeight() > 0) {
            QRect caixa;
            relevo_ = Sombreado(e, caixa);
            const double w = e.CellWidth(), h = e.CellHeight();
            celulas_ = QTransform(w, 0, 0, -h, e.MinX(), e.MinY() + h * e.Rows());
            if (!caixa.isNull())
                campo = celulas_.mapRect(QRectF(caixa.left(), caixa.top(), caixa.width(), caixa.height()));
        }
    } catch (const std::exception&) {
        relevo_ = QImage();
    }

    const TMapaFaixas& f = plano_.faixas;
    if (f.colunas > 0 && f.linhas > 0 && f.terraco.size() == size_t(f.colunas) * size_t(f.linhas)) {
        const TGradeMapa& g = f.grade;
        if (g.largura > 0 && g.altura > 0) celulasFaixas_ = QTransform(g.largura, 0, 0, -g.altura, g.minX, g.maxY);
        else if (relevo_.width() == f.colunas && relevo_.height() == f.linhas) celulasFaixas_ = celulas_;
        else return;
        const std::map<int, int> cores = CoresDasFaixas(f);
        faixas_ = QImage(f.colunas, f.linhas, QImage::Format_ARGB32);
        faixas_.fill(Qt::transparent);
        // Looked up where the strip changes along a row, not in every one of a farm's cells.
        int32_t ultimo = 0;
        std::optional<QRgb> cor;
        for (int r = 0; r < f.linhas; ++r) {
            auto* px = reinterpret_cast<QRgb*>(faixas_.scanLine(r));
            for (int c = 0; c < f.colunas; ++c) {
                const int32_t id = f.Em(c, r);
                if (id <= 0) continue;
                if (id != ultimo) {
                    ultimo = id;
                    const auto k = cores.find(id);
                    cor = k != cores.end() ? std::optional(CorDaFaixa(k->second).rgba()) : std::nullopt;
                }
                if (cor) px[c] = *cor;
            }
        }
    }

    // The field: the cells with data, within the boundary when there is one, and every line.
    if (!plano_.limite.empty()) {
        const QRectF limite = CaixaDe(plano_.limite);
        campo = campo.isNull() ? limite : campo.intersected(limite);
    }
    for (const TLinhaPlano& l : plano_.linhas) caixas_.push_back(CaixaDaLinha(l));
    mundo_ = Uniao(Uniao(campo, CaixaDe(plano_.linhas)), CaixaDe(plano_.escoadouros));

    // Styled by type only when the run gave types; lines without one get a style of their own.
    bool algumTipo = false;
    for (const TLinhaPlano& l : plano_.linhas) algumTipo = algumTipo || !l.tipo.empty();
    if (algumTipo)
        for (const TLinhaPlano& l : plano_.linhas)
            if (std::find(tipos_.begin(), tipos_.end(), l.tipo) == tipos_.end()) tipos_.push_back(l.tipo);
}

const QPolygonF& TMapaPlano::LinhaNaEscala(size_t k, double tolerancia) const {
    if (tolerancia != toleranciaLinhas_ || linhasNaEscala_.size() != plano_.linhas.size()) {
        linhasNaEscala_.assign(plano_.linhas.size(), QPolygonF());
        feitas_.assign(plano_.linhas.size(), 0);
        toleranciaLinhas_ = tolerancia;
    }
    if (!feitas_[k]) {
        linhasNaEscala_[k] = Visiveis(plano_.linhas[k].x, plano_.linhas[k].y, tolerancia);
        feitas_[k] = 1;
    }
    return linhasNaEscala_[k];
}

bool TMapaPlano::Vazio() const { return relevo_.isNull() && plano_.linhas.empty(); }

bool TMapaPlano::Paisagem() const { return PaisagemA4(mundo_.width(), mundo_.height()); }

QTransform TMapaPlano::Transformacao(const QRectF& destino, const QRectF& mundo) {
    if (mundo.width() <= 0 || mundo.height() <= 0) return {};
    const double sx = destino.width() / mundo.width(), sy = destino.height() / mundo.height();
    return QTransform(sx, 0, 0, -sy, destino.left() - mundo.left() * sx, destino.top() + mundo.bottom() * sy);
}

int TMapaPlano::TerracoEm(QPointF mundo, double tolerancia) const {
    const QRectF ponto(mundo, mundo);
    return TerracoMaisProximo(plano_.linhas, mundo.x(), mundo.y(), tolerancia, [&](size_t k) {
        return Cruzam(caixas_[k].adjusted(-tolerancia, -tolerancia, tolerancia, tolerancia), ponto);
    });
}

QString TMapaPlano::TipoDe(int terraco) const {
    for (const TLinhaPlano& l : plano_.linhas)
        if (l.terraco == terraco) return Q(l.tipo);
    return {};
}

QPen TMapaPlano::CanetaDaLinha(const TLinhaPlano& l, double u) const {
    const auto i = std::find(tipos_.begin(), tipos_.end(), l.tipo);
    const EstiloLinha e = kEstilos[i == tipos_.end() ? 0 : int(i - tipos_.begin()) % kNumEstilos];
    return QPen(QColor(e.cor), 2 * u, e.estilo, Qt::FlatCap, Qt::RoundJoin);
}

void TMapaPlano::Desenhar(QPainter& p, const QRectF& destino, const QRectF& mundo) const {
    DesenharCom(p, destino, mundo, 1.5, 12, destaque_);
}

void TMapaPlano::DesenharCom(QPainter& p, const QRectF& destino, const QRectF& mundo, double u, double t,
                             int destaque) const {
    p.save();
    p.setClipRect(destino, Qt::IntersectClip);
    p.fillRect(destino, Qt::white);
    const QTransform t0 = p.transform();
    const QTransform m = Transformacao(destino, mundo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // Only the cells in view, so a deep zoom never scales the whole picture.
    const auto imagem = [&](const QImage& img, const QTransform& celulas) {
        if (img.isNull()) return;
        const QTransform paraTela = celulas * m;
        bool inversivel = false;
        const QTransform daTela = paraTela.inverted(&inversivel);
        if (!inversivel) return;
        const QRectF visivel = daTela.mapRect(destino).adjusted(-1, -1, 1, 1);
        const QRectF fonte = QRectF(std::floor(visivel.left()), std::floor(visivel.top()),
                                    std::ceil(visivel.width()) + 1, std::ceil(visivel.height()) + 1)
                                 .intersected(QRectF(img.rect()));
        if (fonte.isEmpty()) return;
        p.drawImage(paraTela.mapRect(fonte), img, fonte);
    };
    imagem(relevo_, celulas_);
    imagem(faixas_, celulasFaixas_);

    // Half a device pixel shows nothing; the strokes reach a little past the frame.
    const double pixels = std::max(std::fabs(m.m11()), std::fabs(m.m22())) *
                          std::sqrt(std::fabs(p.deviceTransform().determinant()));
    const double tolerancia = pixels > 0 ? 0.5 / pixels : 0;
    const QRectF janela = destino.adjusted(-8 * u, -8 * u, 8 * u, 8 * u);
    for (const TPolilinha& anel : plano_.limite) {
        const QPolygonF pol = m.map(Visiveis(anel.x, anel.y, tolerancia));
        DesenharVisivel(p, pol, QPen(QColor(255, 255, 255, 200), 3.2 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin),
                        janela);
        DesenharVisivel(p, pol, QPen(Qt::black, 1.4 * u, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin), janela);
    }
    for (const TLinhaMapa& e : plano_.escoadouros)
        DesenharVisivel(p, m.map(Visiveis(e.x, e.y, tolerancia)),
                        QPen(kEscoadouro, 2.5 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin), janela);
    // Only the lines whose box reaches the view: a deep zoom into a whole farm shows a few.
    bool inversivel = false;
    const QTransform paraMapa = m.inverted(&inversivel);
    const QRectF vista = inversivel ? paraMapa.mapRect(janela) : QRectF();
    for (size_t k = 0; k < plano_.linhas.size(); ++k) {
        const TLinhaPlano& l = plano_.linhas[k];
        if (!Cruzam(caixas_[k], vista)) continue;
        const QPolygonF pol = m.map(LinhaNaEscala(k, tolerancia));
        if (destaque != 0 && l.terraco == destaque)
            DesenharVisivel(p, pol, QPen(QColor(255, 230, 0, 220), 6 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin),
                            janela);
        DesenharVisivel(p, pol, CanetaDaLinha(l, u), janela);
    }
    // Each number a little past its line's end, along the line, so it does not cover it; where
    // lines crowd (ends along the field's edge) it goes farther out, or is left to the other end.
    const QFont f = Fonte(t, true);
    const QFontMetricsF fm(f);
    std::vector<QRectF> ocupados;
    for (const TLinhaPlano& l : plano_.linhas) {
        const size_t n = std::min(l.x.size(), l.y.size());
        if (n < 2) continue;
        const auto vertice = [&](size_t i) { return m.map(QPointF(l.x[i], l.y[i])); };
        const QString numero = QString::number(l.terraco);
        const QSizeF tamanho(fm.horizontalAdvance(numero) + 0.2 * t, 0.95 * t);
        const QColor cor = CanetaDaLinha(l, u).color();
        for (const bool inicio : {true, false}) {
            const QPointF ponta = vertice(inicio ? 0 : n - 1);
            QPointF antes = ponta;
            // The first vertex far enough from the end gives the direction.
            for (size_t j = 1; j < n && QLineF(ponta, antes).length() < t; ++j)
                antes = vertice(inicio ? j : n - 1 - j);
            const QLineF d(antes, ponta);
            const QPointF rumo = d.length() > 0 ? (d.p2() - d.p1()) / d.length() : QPointF();
            for (const double distancia : {0.9, 1.9, 2.9}) {
                const QPointF centro = ponta + rumo * (distancia * t);
                const QRectF caixa(centro - QPointF(tamanho.width() / 2, tamanho.height() / 2), tamanho);
                if (std::any_of(ocupados.begin(), ocupados.end(), [&](const QRectF& o) { return o.intersects(caixa); }))
                    continue;
                ocupados.push_back(caixa);
                if (destino.adjusted(-t, -t, t, t).contains(centro)) TextoComHalo(p, centro, numero, f, cor, 0.18 * t);
                break;
            }
        }
    }
    p.setTransform(t0);
    p.restore();
}

void TMapaPlano::DesenharEscalaEm(QPainter& p, QPointF base, double larguraMaxima, double pixelsPorUnidade,
                                  double u, double t) const {
    if (!(pixelsPorUnidade > 0)) return;
    const double mpu = plano_.metrosPorUnidade > 0 ? plano_.metrosPorUnidade : 1;
    const double metros = ComprimentoEscala(larguraMaxima / pixelsPorUnidade * mpu);
    if (metros <= 0) return;
    const double w = metros / mpu * pixelsPorUnidade, h = 0.45 * t;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF barra(base.x(), base.y() - h, w, h);
    p.setPen(QPen(Qt::black, 0.8 * u));
    p.setBrush(Qt::white);
    p.drawRect(barra);
    p.setBrush(Qt::black);
    p.drawRect(QRectF(barra.left(), barra.top(), w / 2, h));
    p.setBrush(Qt::NoBrush);
    p.setFont(Fonte(t));
    const double alt = 1.3 * t;
    const QRectF acima(0, barra.top() - alt - 0.15 * t, 0, alt);
    const auto rotulo = [&](double x, const QString& s) {
        const double lw = QFontMetricsF(p.font()).horizontalAdvance(s) + 2;
        p.drawText(QRectF(x - lw / 2, acima.top(), lw, alt), Qt::AlignCenter, s);
    };
    rotulo(barra.left(), QStringLiteral("0"));
    rotulo(barra.right(), Q(RotuloEscala(metros)));
    p.restore();
}

void TMapaPlano::DesenharEscala(QPainter& p, const QRectF& destino, const QRectF& mundo) const {
    if (mundo.width() <= 0 || destino.width() <= 0) return;
    const double t = 11, larguraMaxima = std::min(180.0, destino.width() * 0.35);
    const QRectF fundo(destino.left() + 6, destino.bottom() - 3.2 * t - 6, larguraMaxima + 3 * t, 3.2 * t);
    p.fillRect(fundo, QColor(255, 255, 255, 200));
    DesenharEscalaEm(p, QPointF(fundo.left() + 1.2 * t, fundo.bottom() - 0.5 * t), larguraMaxima,
                     destino.width() / mundo.width(), 1, t);
}

void TMapaPlano::DesenharLegenda(QPainter& p, const QRectF& r, double escala, double passo, double u,
                                 double t) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 0.8 * u));
    p.drawRect(r);
    const double pad = 0.8 * t;
    const QRectF dentro = r.adjusted(pad, pad, -pad, -pad);
    const bool deitada = r.width() > 2.2 * r.height();  // a portrait sheet's band under the map
    // References (north, scale, grid, system) and the list of symbols: stacked on a landscape
    // sheet, side by side on a portrait one.
    const QRectF referencias = deitada ? QRectF(dentro.left() + dentro.width() * 0.6, dentro.top(),
                                                dentro.width() * 0.4, dentro.height())
                                       : dentro;
    const QRectF simbolos = deitada ? QRectF(dentro.left(), dentro.top(), dentro.width() * 0.57, dentro.height())
                                    : dentro;

    // North arrow and the scale bar beside it.
    double y = referencias.top();
    const double hn = 3.2 * t, wn = 1.6 * t;
    const QPointF topo(referencias.left() + wn / 2, y + 1.3 * t);
    QPolygonF seta;
    seta << topo << QPointF(topo.x() + wn / 2, y + hn) << QPointF(topo.x(), y + hn - 0.6 * t)
         << QPointF(topo.x() - wn / 2, y + hn);
    p.setBrush(Qt::black);
    p.drawPolygon(seta);
    p.setBrush(Qt::NoBrush);
    p.setFont(Fonte(1.1 * t, true));
    p.drawText(QRectF(topo.x() - wn, y, 2 * wn, 1.3 * t), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("N"));
    const double xEscala = referencias.left() + wn + 1.6 * t;
    DesenharEscalaEm(p, QPointF(xEscala, y + hn), referencias.right() - xEscala - 2.5 * t, escala, u, t);
    y += hn + 0.9 * t;

    p.setPen(Qt::black);
    const QFont corpo = Fonte(t);
    p.setFont(corpo);
    const auto paragrafo = [&](const QRectF& col, double& yy, const QString& s) {
        const double h = AlturaTexto(corpo, col.width(), s);
        p.drawText(QRectF(col.left(), yy, col.width(), h), Qt::TextWordWrap, s);
        yy += h + 0.4 * t;
    };
    if (passo > 0) {
        const double mpu = plano_.metrosPorUnidade > 0 ? plano_.metrosPorUnidade : 1;
        // The number keeps its unit on its line.
        paragrafo(referencias, y,
                  QStringLiteral("Grade de coordenadas a cada ") + Q(RotuloEscala(passo * mpu)).replace(u' ', QChar(0x00A0)));
    }
    paragrafo(referencias, y,
              plano_.sistema.empty() ? QStringLiteral("Sem sistema de coordenadas")
                                     : QStringLiteral("Sistema de coordenadas: ") + Q(plano_.sistema));

    // The symbols, under the references or in their own column.
    double ys = deitada ? simbolos.top() : y + 0.6 * t;
    p.setFont(Fonte(1.1 * t, true));
    p.drawText(QRectF(simbolos.left(), ys, simbolos.width(), 1.4 * t), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Legenda"));
    ys += 1.7 * t;
    p.setFont(corpo);
    const double amostra = 3 * t, xTexto = simbolos.left() + amostra + 0.6 * t;
    const double larguraTexto = simbolos.right() - xTexto;
    const auto item = [&](const QString& texto, const std::function<void(const QRectF&)>& desenhar) {
        const double h = std::max(1.3 * t, AlturaTexto(corpo, larguraTexto, texto));
        if (ys + std::min(h, 1.3 * t) > simbolos.bottom()) return;  // no room left: the rest would spill
        p.save();
        desenhar(QRectF(simbolos.left(), ys + 0.65 * t - 0.5 * t, amostra, t));
        p.restore();
        p.setPen(Qt::black);
        p.drawText(QRectF(xTexto, ys, larguraTexto, h), Qt::TextWordWrap | Qt::AlignVCenter, texto);
        ys += h + 0.35 * t;
    };
    const auto linha = [&](const QPen& caneta) {
        return [&, caneta](const QRectF& a) {
            p.setPen(caneta);
            p.drawLine(QPointF(a.left(), a.center().y()), QPointF(a.right(), a.center().y()));
        };
    };
    if (tipos_.empty()) {
        if (!plano_.linhas.empty())
            item(QStringLiteral("Linha de terraço e seu número"), linha(CanetaDaLinha(TLinhaPlano{}, u)));
    } else {
        for (const std::string& tipo : tipos_) {
            TLinhaPlano l;
            l.tipo = tipo;
            item(tipo.empty() ? QStringLiteral("Terraço sem tipo definido") : QStringLiteral("Terraço: ") + Q(tipo),
                 linha(CanetaDaLinha(l, u)));
        }
    }
    if (!faixas_.isNull())
        item(QStringLiteral("Faixa de contribuição de cada terraço"), [&](const QRectF& a) {
            p.setPen(Qt::NoPen);
            for (int k = 0; k < 3; ++k) {
                const QRectF q(a.left() + k * a.width() / 3, a.top(), a.width() / 3, a.height());
                p.fillRect(q, QColor(0xEE, 0xEE, 0xDD));
                p.fillRect(q, CorDaFaixa(k));
            }
        });
    if (!plano_.escoadouros.empty())
        item(QStringLiteral("Canal escoadouro"), linha(QPen(kEscoadouro, 2.5 * u, Qt::SolidLine, Qt::FlatCap)));
    if (!plano_.limite.empty())
        item(QStringLiteral("Limite do talhão"), linha(QPen(Qt::black, 1.4 * u, Qt::DashLine, Qt::FlatCap)));
    p.restore();
}

QImage TMapaPlano::Folha(QSize tamanho) const {
    QImage img(tamanho.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double largura = img.width(), altura = img.height();
    const TLayoutFolha l = LayoutFolha(largura, altura);
    const double t = l.texto, u = std::min(largura, altura) / 700;
    p.setPen(Qt::black);
    p.setFont(Fonte(1.5 * t, true));
    p.drawText(QRectF(l.titulo.x, l.titulo.y, l.titulo.largura, l.titulo.altura), Qt::AlignLeft | Qt::AlignVCenter,
               TituloFolha(plano_.gradiente));
    const QRectF quadro(l.mapa.x, l.mapa.y, l.mapa.largura, l.mapa.altura);
    double escala = 0, passo = 0;
    if (!mundo_.isEmpty() && !quadro.isEmpty()) {
        // The field with a little land around it, centred; the frame's spare room shows more land.
        const double folga = 0.03 * std::max(mundo_.width(), mundo_.height());
        escala = EscalaNaFolha(l, mundo_.width() + 2 * folga, mundo_.height() + 2 * folga);
        const QSizeF vista(quadro.width() / escala, quadro.height() / escala);
        const QRectF mundo(mundo_.center() - QPointF(vista.width() / 2, vista.height() / 2), vista);
        DesenharCom(p, quadro, mundo, u, 0.85 * t, 0);

        // The grid of map coordinates, labelled below (east) and to the left (north).
        passo = PassoGrade(std::max(vista.width(), vista.height()), 6);
        const QTransform m = Transformacao(quadro, mundo);
        const QFont fr = Fonte(0.85 * t);
        p.setFont(fr);
        const QFontMetricsF fm(fr);
        const double largo = fm.horizontalAdvance(Q(RotuloGrade(mundo.bottom(), passo))) + t;
        // Labels every so many lines when they would touch.
        const int cada = std::max(1, int(std::ceil(largo / (passo * escala))));
        const QPen grade(QColor(60, 60, 60, 150), 0.6 * u);
        const auto marcas = [&](double de, double ate) {
            std::vector<long long> k;
            for (long long i = (long long)std::ceil(de / passo); i * passo <= ate && k.size() < 1000; ++i) k.push_back(i);
            return k;
        };
        for (const long long i : marcas(mundo.left(), mundo.right())) {
            const double x = m.map(QPointF(i * passo, 0)).x();
            p.setPen(grade);
            p.drawLine(QPointF(x, quadro.top()), QPointF(x, quadro.bottom()));
            const QString s = Q(RotuloGrade(i * passo, passo));
            const double w = fm.horizontalAdvance(s) + 2;
            if (i % cada != 0 || x - w / 2 < quadro.left() || x + w / 2 > quadro.right()) continue;
            p.setPen(Qt::black);
            p.drawText(QRectF(x - w / 2, quadro.bottom() + 0.2 * t, w, 1.4 * t), Qt::AlignHCenter | Qt::AlignTop, s);
        }
        for (const long long i : marcas(mundo.top(), mundo.bottom())) {
            const double y = m.map(QPointF(0, i * passo)).y();
            p.setPen(grade);
            p.drawLine(QPointF(quadro.left(), y), QPointF(quadro.right(), y));
            const QString s = Q(RotuloGrade(i * passo, passo));
            const double w = fm.horizontalAdvance(s) + 2;
            if (i % cada != 0 || y - w / 2 < quadro.top() || y + w / 2 > quadro.bottom()) continue;
            p.save();
            p.setPen(Qt::black);
            p.translate(quadro.left() - 0.2 * t, y);
            p.rotate(-90);
            p.drawText(QRectF(-w / 2, -1.4 * t, w, 1.4 * t), Qt::AlignHCenter | Qt::AlignBottom, s);
            p.restore();
        }
    }
    p.setPen(QPen(Qt::black, 1.2 * u));
    p.setBrush(Qt::NoBrush);
    p.drawRect(quadro);
    DesenharLegenda(p, QRectF(l.legenda.x, l.legenda.y, l.legenda.largura, l.legenda.altura), escala, passo, u, t);
    return img;
}

#include "location/MapaLocacao.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "location/ImgElev.h"
#include "location/LocNivel.h"
#include "raster/Vetor.h"

namespace {

// Strip colours: neighbouring terraces differ in hue.
QColor CorDaFaixa(int terraco) {
    const int matiz = (terraco * 137) % 360;
    return QColor::fromHsv(matiz, 200, 255, 90);
}

}  // namespace

TMapaLocacao::TMapaLocacao(QWidget* pai) : QWidget(pai) {
    setObjectName(QStringLiteral("mapaLocacao"));
    setMinimumSize(240, 180);
}

void TMapaLocacao::Limpar() {
    relevo_ = QImage();
    linhas_.clear();
    temFaixas_ = false;
    grade_ = {};
    update();
}

void TMapaLocacao::Carregar(const std::string& elevacao, const std::string& vetor, const TMapaFaixas& faixas) {
    Limpar();
    TImgElevacao e;
    try {
        e.Load(elevacao);
    } catch (...) {
        return;
    }
    const int nc = e.Columns(), nl = e.Rows();
    if (nc <= 0 || nl <= 0) return;
    grade_.minX = e.MinX();
    grade_.largura = e.CellWidth();
    grade_.altura = e.CellHeight();
    grade_.maxY = e.MinY() + double(e.CellHeight()) * nl;
    grade_.colunas = nc;
    grade_.linhas = nl;

    // Hill shading from the north-west, on the elevation's own range; no data stays white.
    float zmin = 0, zmax = 0;
    bool primeiro = true;
    for (int r = 1; r <= nl; ++r)
        for (int c = 1; c <= nc; ++c) {
            const float z = e.Cell(r, c);
            if (z == 0) continue;
            if (primeiro) zmin = zmax = z, primeiro = false;
            zmin = std::min(zmin, z);
            zmax = std::max(zmax, z);
        }
    const double faixaZ = zmax > zmin ? zmax - zmin : 1;
    const double w = grade_.largura > 0 ? grade_.largura : 1, h = grade_.altura > 0 ? grade_.altura : 1;
    relevo_ = QImage(nc, nl, QImage::Format_RGB32);
    relevo_.fill(Qt::white);
    const bool comFaixas = faixas.colunas == nc && faixas.linhas == nl &&
                           faixas.terraco.size() == size_t(nc) * size_t(nl);
    for (int r = 1; r <= nl; ++r) {
        auto* px = reinterpret_cast<QRgb*>(relevo_.scanLine(r - 1));
        for (int c = 1; c <= nc; ++c) {
            const float z = e.Cell(r, c);
            if (z == 0) continue;
            const auto at = [&](int rr, int cc) {
                const float v = e.ElevationAt(cc, rr);
                return v != 0 ? double(v) : double(z);
            };
            const double dzdx = (at(r, c + 1) - at(r, c - 1)) / (2 * w);
            const double dzdy = (at(r - 1, c) - at(r + 1, c)) / (2 * h);
            // Lambert shading, light from the north-west at 45°.
            const double nx = -dzdx, ny = -dzdy, nz = 1, n = std::sqrt(nx * nx + ny * ny + nz * nz);
            const double luz = std::clamp((nx * -0.5 + ny * 0.5 + nz * 0.7071) / n, 0.0, 1.0);
            const double t = (z - zmin) / faixaZ;
            QColor base = QColor::fromRgbF(float(0.55 + 0.35 * t), float(0.62 + 0.25 * t), float(0.45 + 0.25 * t));
            const double k = 0.45 + 0.55 * luz;
            QColor cor = QColor::fromRgbF(float(base.redF() * k), float(base.greenF() * k), float(base.blueF() * k));
            if (comFaixas) {
                const int32_t id = faixas.terraco[size_t(r - 1) * size_t(nc) + size_t(c - 1)];
                if (id > 0) {
                    const QColor f = CorDaFaixa(id);
                    const double a = f.alphaF();
                    cor = QColor::fromRgbF(float(cor.redF() * (1 - a) + f.redF() * a),
                                           float(cor.greenF() * (1 - a) + f.greenF() * a),
                                           float(cor.blueF() * (1 - a) + f.blueF() * a));
                    temFaixas_ = true;
                }
            }
            px[c - 1] = cor.rgb();
        }
    }

    TVET v;
    if (!vetor.empty() && v.LoadFromFile(vetor)) {
        for (const TVetorRecPonto& l : v.Lines()) {
            QPolygonF p;
            for (const TRecPonto& q : l.Pontos())
                p << QPointF(grade_.ColunaDe(q.X) + 0.5, grade_.LinhaDe(q.Y) + 0.5);
            if (p.size() >= 2) linhas_.push_back(p);
        }
    }
    update();
}

QRectF TMapaLocacao::AreaDesenho() const {
    if (relevo_.isNull()) return {};
    const QSizeF s = QSizeF(relevo_.size()).scaled(QSizeF(size()) - QSizeF(4, 4), Qt::KeepAspectRatio);
    return {QPointF((width() - s.width()) / 2, (height() - s.height()) / 2), s};
}

void TMapaLocacao::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (relevo_.isNull()) return;
    const QRectF a = AreaDesenho();
    p.drawImage(a, relevo_);
    const double sx = a.width() / relevo_.width(), sy = a.height() / relevo_.height();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x20, 0x20, 0xA0), 1.5));
    for (const QPolygonF& l : linhas_) {
        QPolygonF t;
        t.reserve(l.size());
        for (const QPointF& q : l) t << QPointF(a.left() + q.x() * sx, a.top() + q.y() * sy);
        p.drawPolyline(t);
    }
}

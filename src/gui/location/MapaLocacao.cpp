#include "gui/location/MapaLocacao.h"

#include <QPainter>
#include <QPolygonF>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/raster/Vetor.h"

namespace {

// Strip colours: neighbouring terraces differ in hue.
QRgb CorDaFaixa(int terraco) { return QColor::fromHsv((terraco * 137) % 360, 200, 255, 90).rgba(); }

// Hill shading from the north-west on the elevation's own range; cells without data white.
QImage Sombreado(const TImgElevacao& e) {
    const int nc = e.Columns(), nl = e.Rows();
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
    const double w = e.CellWidth() > 0 ? e.CellWidth() : 1, h = e.CellHeight() > 0 ? e.CellHeight() : 1;
    QImage img(nc, nl, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int r = 1; r <= nl; ++r) {
        auto* px = reinterpret_cast<QRgb*>(img.scanLine(r - 1));
        for (int c = 1; c <= nc; ++c) {
            const float z = e.Cell(r, c);
            if (z == 0) continue;
            const auto at = [&](int rr, int cc) {
                const float v = e.ElevationAt(cc, rr);
                return v != 0 ? double(v) : double(z);
            };
            const double nx = -(at(r, c + 1) - at(r, c - 1)) / (2 * w), ny = -(at(r - 1, c) - at(r + 1, c)) / (2 * h);
            const double luz = std::clamp((nx * -0.5 + ny * 0.5 + 0.7071) / std::sqrt(nx * nx + ny * ny + 1), 0.0, 1.0);
            const double t = (z - zmin) / faixaZ, k = 0.45 + 0.55 * luz;
            px[c - 1] = qRgb(int(255 * k * (0.55 + 0.35 * t)), int(255 * k * (0.62 + 0.25 * t)),
                             int(255 * k * (0.45 + 0.25 * t)));
        }
    }
    return img;
}

}  // namespace

TMapaLocacao::TMapaLocacao(QWidget* pai) : QScrollArea(pai), vista_(new TImagemRaster) {
    setObjectName(QStringLiteral("mapaLocacao"));
    setMinimumSize(240, 180);
    setAlignment(Qt::AlignCenter);
    vista_->CorLinhas = QColor(0x20, 0x20, 0xA0);
    setWidget(vista_);
}

void TMapaLocacao::Limpar() {
    vista_->RemoverLinhas();
    vista_->DefinirCamada(QImage());
    vista_->DefinirImagem(QImage(), TGradeMapa{});
}

void TMapaLocacao::Carregar(const std::string& elevacao, const std::string& vetor, const TMapaFaixas& faixas,
                            const std::vector<TLinhaMapa>& escoadouros) {
    Limpar();
    TImgElevacao e;
    try {
        e.Load(elevacao);
    } catch (...) {
        return;
    }
    const int nc = e.Columns(), nl = e.Rows();
    if (nc <= 0 || nl <= 0) return;
    TGradeMapa grade;
    grade.minX = e.MinX();
    grade.largura = e.CellWidth();
    grade.altura = e.CellHeight();
    grade.maxY = e.MinY() + double(e.CellHeight()) * nl;
    grade.colunas = nc;
    grade.linhas = nl;
    vista_->DefinirImagem(Sombreado(e), grade);

    QImage camada(nc, nl, QImage::Format_ARGB32);
    camada.fill(Qt::transparent);
    bool alguma = false;
    if (faixas.colunas == nc && faixas.linhas == nl && faixas.terraco.size() == size_t(nc) * size_t(nl)) {
        for (int r = 0; r < nl; ++r) {
            auto* px = reinterpret_cast<QRgb*>(camada.scanLine(r));
            for (int c = 0; c < nc; ++c)
                if (const int32_t id = faixas.terraco[size_t(r) * size_t(nc) + size_t(c)]; id > 0) {
                    px[c] = CorDaFaixa(id);
                    alguma = true;
                }
        }
    }
    // The waterways in solid blue, a cell wide, under the terrace lines.
    if (!escoadouros.empty()) {
        QPainter p(&camada);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x00, 0x60, 0xFF), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const TLinhaMapa& l : escoadouros) {
            QPolygonF linha;
            for (size_t i = 0; i < l.x.size() && i < l.y.size(); ++i)
                linha << QPointF(grade.ColunaDe(l.x[i]) + 0.5, grade.LinhaDe(l.y[i]) + 0.5);
            p.drawPolyline(linha);
            alguma = true;
        }
    }
    if (alguma) vista_->DefinirCamada(camada);

    TVET v;
    if (!vetor.empty() && v.LoadFromFile(vetor)) vista_->DefinirLinhas(TImagemRaster::LinhasDe(v, grade), false);
    AjustarZoom();
}

void TMapaLocacao::resizeEvent(QResizeEvent* e) {
    QScrollArea::resizeEvent(e);
    AjustarZoom();
}

// The whole field in view at the largest zoom that fits, within the widget's range.
void TMapaLocacao::AjustarZoom() {
    const QImage& img = vista_->Imagem();
    if (img.isNull()) return;
    const QSize area = viewport()->size() - QSize(4, 4);
    const double cabe = std::min(double(area.width()) / img.width(), double(area.height()) / img.height());
    vista_->DefinirZoom(std::max(1, int(std::floor(cabe * 100))));
}

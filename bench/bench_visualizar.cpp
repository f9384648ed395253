// The viewer on a 4000 x 4000 grid: one 1600 x 1000 viewport with 50 overlay lines at 25,
// 100 and 500 %, and the full render after opening (range + colours) or a palette change
// (colours only). Offscreen, through the real image widget. Also the location plan's map of a
// whole farm, panned and zoomed.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "GradesSinteticas.h"
#include "core/gdal/Gdal.h"
#include "core/raster/Paleta.h"
#include "core/raster/RenderImagem.h"
#include "gui/raster/AbrirArq.h"
#include "gui/raster/ImagemRaster.h"
#include "gui/raster/Visualizar.h"
#include "render/MapaPlano.h"
#include "render/Texto.h"

namespace {

constexpr int kLado = 4000;

struct Cena {
    TImagem img;
    TPaleta paleta;
    TFaixaCores faixa;
    QImage figura;
    std::unique_ptr<TImagemRaster> vista;

    Cena() {
        TerrenoSintetico(img, TTipoCelula::Real, kLado);
        for (int i = 0; i < 256; ++i) paleta.SetCor(i, i, 255 - i, (i * 3) % 256);
        faixa = CalculaFaixa(img);
        figura = QImage(kLado, kLado, QImage::Format_RGB32);
        RenderizaImagem(img, paleta, faixa, reinterpret_cast<uint32_t*>(figura.bits()),
                        static_cast<int>(figura.bytesPerLine() / 4));
        vista = std::make_unique<TImagemRaster>();
        const TGradeMapa g = TGradeMapa::De(img);
        vista->DefinirImagem(figura, g);
        // 50 wavy lines across the grid, a vertex every cell: terrace lines of a big field.
        QVector<TLinhaSobreposta> linhas;
        for (int k = 0; k < 50; ++k) {
            TLinhaSobreposta l;
            l.id = k + 1;
            const double r0 = 40 + k * 78.0;
            for (int c = 0; c < kLado; ++c) l.pontos.push_back(QPointF(c + 0.5, r0 + 30 * std::sin(c * 0.01 + k) + 0.5));
            l.limites = QPolygonF(l.pontos).boundingRect();
            linhas.push_back(std::move(l));
        }
        vista->DefinirLinhas(std::move(linhas), true);
    }
};

Cena& A() {
    static Cena c;
    return c;
}

void BM_Viewport(benchmark::State& st) {
    Cena& c = A();
    const int zoom = static_cast<int>(st.range(0));
    c.vista->DefinirZoom(zoom);
    const QSize exib = c.vista->size();
    const int w = std::min(1600, exib.width()), h = std::min(1000, exib.height());
    const QRect area((exib.width() - w) / 2, (exib.height() - h) / 2, w, h);
    QImage tela(w, h, QImage::Format_RGB32);
    for (auto _ : st) {
        QPainter p(&tela);
        p.translate(-area.topLeft());
        c.vista->Desenhar(p, area);
        p.end();
        benchmark::DoNotOptimize(tela.constBits());
    }
    st.SetLabel(std::to_string(w) + "x" + std::to_string(h));
}
BENCHMARK(BM_Viewport)->Arg(25)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

// The same without the lines, to see what the overlay costs.
void BM_ViewportSemLinhas(benchmark::State& st) {
    Cena& c = A();
    const QVector<TLinhaSobreposta> linhas = c.vista->Linhas();
    c.vista->RemoverLinhas();
    BM_Viewport(st);
    c.vista->DefinirLinhas(linhas, true);
}
BENCHMARK(BM_ViewportSemLinhas)->Arg(25)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

// After opening: the range pass and the colours.
void BM_RenderCompleto(benchmark::State& st) {
    Cena& c = A();
    for (auto _ : st) {
        c.faixa = CalculaFaixa(c.img);
        RenderizaImagem(c.img, c.paleta, c.faixa, reinterpret_cast<uint32_t*>(c.figura.bits()),
                        static_cast<int>(c.figura.bytesPerLine() / 4));
        benchmark::DoNotOptimize(c.figura.constBits());
    }
}
BENCHMARK(BM_RenderCompleto)->Unit(benchmark::kMillisecond);

// A palette change: the colours only.
void BM_TrocaPaleta(benchmark::State& st) {
    Cena& c = A();
    for (auto _ : st) {
        RenderizaImagem(c.img, c.paleta, c.faixa, reinterpret_cast<uint32_t*>(c.figura.bits()),
                        static_cast<int>(c.figura.bytesPerLine() / 4));
        benchmark::DoNotOptimize(c.figura.constBits());
    }
}
BENCHMARK(BM_TrocaPaleta)->Unit(benchmark::kMillisecond);

// The first picture of a 1 m model of a whole farm, 6560 x 4560 cells (30 M) as a GeoTIFF,
// plain (0) and compressed (1): the viewer window opens the file (read, range, colours) and
// paints itself once, offscreen.
void BM_PrimeiraFiguraGeoTiff30M(benchmark::State& st) {
    const bool compactada = st.range(0) != 0;
    const std::string arq =
        (std::filesystem::temp_directory_path() / (compactada ? "vandoro_bench_30m_z.tif" : "vandoro_bench_30m.tif"))
            .string();
    if (!ArquivoExiste(arq)) {
        TImagem img;
        img.SetCellType(TTipoCelula::Real);
        img.SetColumns(6560);
        img.SetRows(4560);
        img.SetMinX(300000);
        img.SetMaxX(306560);
        img.SetMinY(7400000);
        img.SetMaxY(7404560);
        img.SetFlagValue(-9999);
        img.SetCrs(CrsDeEpsg(31983));
        img.SetCompressed(compactada);
        img.Allocate();
        float* z = img.RealCells();
        for (int r = 0; r < 4560; ++r)
            for (int c = 0; c < 6560; ++c)
                z[size_t(r) * 6560 + c] = float(600 + 40 * std::sin(c / 97.0) * std::cos(r / 131.0) + 0.013 * c);
        img.ComputeMinMax();
        img.SaveToFile(arq);
    }
    const QString paletas = PastaPaletas(QStringLiteral(VANDORO_BIN_DIR "/"));
    for (auto _ : st) {
        TFVisualizar v(paletas, TModoArmazenamento::Memoria);
        v.resize(1366, 700);
        v.Abrir(Q(arq), 0, 0);
        const QImage tela = v.grab().toImage();
        benchmark::DoNotOptimize(tela.constBits());
    }
}
BENCHMARK(BM_PrimeiraFiguraGeoTiff30M)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The location plan's map of a whole farm in the location window (930 x 250): 650 waving
// terrace lines 2 km long with a vertex every 0.5 m (2.6 M, as a 1 m model's run gives them)
// over 6.5 x 4.5 km, some 22 m apart, half of them dashed. Arg 0: the zoom. Arg 1: 0 pans a tenth of the view each
// time (the lines as the scale shows them are kept), 1 zooms in and back each time (made again).
const TMapaPlano& MapaFazenda() {
    static const TMapaPlano mapa = [] {
        TPlanoMapa p;
        for (int k = 0; k < 650; ++k) {
            TLinhaPlano l;
            l.terraco = k + 1;
            l.tipo = k % 2 ? "Base larga" : "Base estreita";
            const double x0 = (k * 997) % 4560, y0 = 7 * k;
            for (int i = 0; i <= 4000; ++i) {
                const double x = x0 + 0.5 * i;
                l.x.push_back(x);
                l.y.push_back(y0 + 20 * std::sin(x / 40.0 + k) + (i % 2 ? 0.2 : 0));
            }
            p.linhas.push_back(std::move(l));
        }
        return TMapaPlano(p);
    }();
    return mapa;
}

void BM_MapaLocacaoFazenda(benchmark::State& st) {
    const TMapaPlano& mapa = MapaFazenda();
    const double zoom = double(st.range(0));
    const bool rezoom = st.range(1) != 0;
    QImage tela(930, 250, QImage::Format_RGB32);
    const QRectF mundo = mapa.Mundo();
    const double porPixel = std::max(mundo.width() / tela.width(), mundo.height() / tela.height()) / zoom;
    QRectF vista(mundo.center() - QPointF(tela.width(), tela.height()) * porPixel / 2,
                 QSizeF(tela.width(), tela.height()) * porPixel);
    int vez = 0;
    for (auto _ : st) {
        QRectF v = vista;
        if (rezoom && ++vez % 2) v = QRectF(v.center() - QPointF(v.width(), v.height()) / 2.5, v.size() / 1.25);
        else vista.translate(vista.width() / 10 * (vez % 20 < 10 ? 1 : -1), 0);
        QPainter p(&tela);
        mapa.Desenhar(p, QRectF(tela.rect()), v);
        p.end();
        benchmark::DoNotOptimize(tela.constBits());
    }
}
BENCHMARK(BM_MapaLocacaoFazenda)->Args({1, 0})->Args({1, 1})->Args({8, 0})->Args({64, 0})->Args({64, 1})
    ->Unit(benchmark::kMillisecond);

// The terrace under the mouse, asked on every move over the map: 6 pixels at the whole field.
void BM_MapaLocacaoFazendaApontar(benchmark::State& st) {
    const TMapaPlano& mapa = MapaFazenda();
    const QRectF mundo = mapa.Mundo();
    const double tolerancia = 6 * std::max(mundo.width() / 930, mundo.height() / 250);
    int k = 0;
    for (auto _ : st) {
        ++k;
        const QPointF ponto(mundo.left() + mundo.width() * (k % 97) / 97.0, mundo.top() + mundo.height() * (k % 89) / 89.0);
        benchmark::DoNotOptimize(mapa.TerracoEm(ponto, tolerancia));
    }
}
BENCHMARK(BM_MapaLocacaoFazendaApontar)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

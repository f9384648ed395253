#include "core/raster/RenderImagem.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Progresso.h"
#include "core/raster/Imagem.h"

namespace {
void Avanca(IProgresso* p, int linha) {
    if (!p) return;
    p->SetPosition(linha);
    // Once in a while is enough to keep the window alive.
    if ((linha & 63) == 0) p->ProcessEvents();
}
}  // namespace

TFaixaCores CalculaFaixa(const TImagem& img, const TEdicoesCelulas* edicoes, IProgresso* progresso) {
    const int cols = std::max(img.Columns(), 0), linhas = std::max(img.Rows(), 0);
    std::vector<float> buf(static_cast<size_t>(cols));
    double mn = std::numeric_limits<double>::infinity(), mx = -mn;
    if (progresso) progresso->SetMax(linhas);
    for (int r = 0; r < linhas; ++r) {
        img.ReadRow(r, buf.data());
        if (edicoes) edicoes->AplicaNaLinha(r, cols, buf.data());
        for (float v : buf) {
            if (img.IsFlag(v)) continue;
            if (v < mn) mn = v;
            if (v > mx) mx = v;
        }
        Avanca(progresso, r + 1);
    }
    if (!(mn <= mx)) mn = mx = 0;  // no valid cell: every cell is white anyway
    TFaixaCores f = TFaixaCores::De(mn, mx, img.CellType());
    f.algumValido = std::isfinite(mn) && mn <= mx;
    return f;
}

void RenderizaImagem(const TImagem& img, const TPaleta& paleta, const TFaixaCores& faixa, uint32_t* destino,
                     int passoLinha, const TEdicoesCelulas* edicoes, IProgresso* progresso) {
    const int cols = std::max(img.Columns(), 0), linhas = std::max(img.Rows(), 0);
    std::vector<float> buf(static_cast<size_t>(cols));
    uint32_t argb[256];
    for (int i = 0; i < 256; ++i) argb[i] = paleta.Argb(i);
    if (progresso) progresso->SetMax(linhas);
    for (int r = 0; r < linhas; ++r) {
        img.ReadRow(r, buf.data());
        if (edicoes) edicoes->AplicaNaLinha(r, cols, buf.data());
        uint32_t* px = destino + (long long)r * passoLinha;
        for (int c = 0; c < cols; ++c) {
            const float v = buf[static_cast<size_t>(c)];
            px[c] = img.IsFlag(v) ? kBrancoArgb : argb[faixa.Indice(v)];
        }
        Avanca(progresso, r + 1);
    }
}

void AmostraVista(const uint32_t* origem, int largura, int altura, int zoom, int x0, int y0, int w, int h,
                  uint32_t* destino, int passoDestino) {
    if (zoom <= 0 || w <= 0 || h <= 0) return;
    // The column of each view pixel once, then every row reuses it.
    std::vector<int> coluna(static_cast<size_t>(w));
    for (int i = 0; i < w; ++i) coluna[static_cast<size_t>(i)] = x0 + i < 0 ? -1 : CelulaDoPixel(x0 + i, zoom);
    int linhaAnterior = -1;
    const uint32_t* copiada = nullptr;
    for (int j = 0; j < h; ++j) {
        uint32_t* d = destino + (long long)j * passoDestino;
        const int y = y0 + j;
        const int r = y < 0 ? -1 : CelulaDoPixel(y, zoom);
        if (r < 0 || r >= altura) continue;
        if (r == linhaAnterior && copiada) {
            std::copy(copiada, copiada + w, d);  // a zoomed cell repeats its row
            continue;
        }
        const uint32_t* o = origem + (long long)r * largura;
        for (int i = 0; i < w; ++i) {
            const int c = coluna[static_cast<size_t>(i)];
            if (c >= 0 && c < largura) d[i] = o[c];
        }
        // Only a fully drawn row may be repeated as it is.
        const bool inteira = coluna.front() >= 0 && coluna.back() < largura;
        linhaAnterior = inteira ? r : -1;
        copiada = inteira ? d : nullptr;
    }
}

int ZoomMais(int zoom) { return std::min(kZoomMaximo, zoom < 100 ? zoom + 25 : zoom + 50); }
int ZoomMenos(int zoom) { return std::max(kZoomMinimo, zoom <= 100 ? zoom - 25 : zoom - 50); }

int TamanhoExibido(int celulas, int zoom) {
    return static_cast<int>(std::nearbyint(static_cast<double>(celulas) * zoom / 100.0));
}

TPixelMapa PixelDoPonto(const TGradeMapa& g, double x, double y, double zoom) {
    return {(g.ColunaDe(x) + 0.5) * zoom / 100.0, (g.LinhaDe(y) + 0.5) * zoom / 100.0};
}

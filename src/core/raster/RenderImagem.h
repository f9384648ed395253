#pragma once
// Drawing a raster for the screen without widgets: cell values through a palette into a
// 32-bit buffer at one pixel a cell, the part of it a zoomed view shows, the zoom steps, and
// where map points and mouse pixels fall at a zoom.
#include <cstdint>
#include <string>

#include "core/raster/EdicaoCelulas.h"
#include "core/raster/GradeMapa.h"
#include "core/raster/Paleta.h"

class IProgresso;
class TImagem;

// Min and max of the valid cells with the edits over them, row by row; the image keeps
// its range fields (the caller copies them when it wants).
TFaixaCores CalculaFaixa(const TImagem& img, const TEdicoesCelulas* edicoes = nullptr,
                         IProgresso* progresso = nullptr);

// Every cell into 'destino' (Rows lines of 'passoLinha' pixels, 0xFFRRGGBB), row by row
// through ReadRow: a valid cell takes its palette entry, a no-data cell is white.
void RenderizaImagem(const TImagem& img, const TPaleta& paleta, const TFaixaCores& faixa, uint32_t* destino,
                     int passoLinha, const TEdicoesCelulas* edicoes = nullptr, IProgresso* progresso = nullptr);

// The image 'origem' (largura x altura pixels, one a cell) seen at 'zoom' percent: pixel
// (x, y) of the view shows cell (x * 100 / zoom, y * 100 / zoom) (whole-number division),
// the same cell the mouse read-out names. Fills the w x h block whose top-left view pixel is
// (x0, y0); pixels beyond the image are left as they are.
void AmostraVista(const uint32_t* origem, int largura, int altura, int zoom, int x0, int y0, int w, int h,
                  uint32_t* destino, int passoDestino);

// Zoom steps: below 100 % by 25, from 100 % by 50, between 25 and 500 %.
inline constexpr int kZoomMinimo = 25;
inline constexpr int kZoomMaximo = 500;
int ZoomMais(int zoom);
int ZoomMenos(int zoom);
// Displayed size of 'celulas' cells at 'zoom': Round(celulas * zoom / 100).
int TamanhoExibido(int celulas, int zoom);
// The cell under view pixel 'p' (whole-number division).
inline int CelulaDoPixel(int p, int zoom) { return zoom > 0 ? static_cast<int>((long long)p * 100 / zoom) : 0; }

// Where a map point falls in a view at 'zoom': the cell centre of (c, r) is the centre of
// the zoomed block of that cell, ((c + 1/2) * zoom / 100, (r + 1/2) * zoom / 100).
struct TPixelMapa {
    double x = 0, y = 0;
};
TPixelMapa PixelDoPonto(const TGradeMapa& grade, double x, double y, double zoom);

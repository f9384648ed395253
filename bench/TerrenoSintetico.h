#pragma once
// The synthetic elevation grid the raster benchmarks share: rolling terrain a few hundred
// metres high with a little noise and some no-data cells, 10 m cells.
#include <cmath>
#include <random>
#include <vector>

#include "core/raster/Imagem.h"

inline void TerrenoSintetico(TImagem& img, char tipo, int lado) {
    img.SetCellType(tipo);
    img.SetColumns(lado);
    img.SetRows(lado);
    img.SetMinX(500000);
    img.SetMaxX(500000 + 10.0f * lado);
    img.SetMinY(7400000);
    img.SetMaxY(7400000 + 10.0f * lado);
    img.SetRefUnits("m");
    img.SetFlagValue(-99);
    img.Allocate();
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> ruido(0, 0.5f);
    std::vector<float> linha(static_cast<size_t>(lado));
    for (int r = 0; r < lado; ++r) {
        for (int c = 0; c < lado; ++c)
            linha[static_cast<size_t>(c)] = (r * 7 + c * 13) % 997 == 0 ? -99.0f
                : 600.0f + 40.0f * std::sin(c * 0.003f) * std::cos(r * 0.002f) + ruido(rng);
        img.WriteRow(r, linha.data());
    }
}

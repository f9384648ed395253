#include "core/raster/GradeMapa.h"

#include <algorithm>

#include "core/raster/Imagem.h"

TGradeMapa TGradeMapa::De(const TImagem& img) {
    return {img.MinX(), img.MaxY(), img.CellWidth(), img.CellHeight(), img.Columns(), img.Rows()};
}

bool TGradeMapa::CelulaDe(double x, double y, int& coluna, int& linha) const {
    if (largura <= 0 || altura <= 0) return false;
    const double c = (x - minX) / largura, r = (maxY - y) / altura;
    if (!(c >= 0 && r >= 0 && c <= colunas && r <= linhas)) return false;
    coluna = std::min(static_cast<int>(c), colunas - 1);
    linha = std::min(static_cast<int>(r), linhas - 1);
    return true;
}

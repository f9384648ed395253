#include "core/raster/GradeMapa.h"

#include <algorithm>

#include "core/raster/Imagem.h"

TGradeMapa TGradeMapa::De(const TImagem& img) {
    TGradeMapa g;
    g.minX = img.MinX();
    g.maxY = img.MaxY();
    g.largura = img.CellWidth();
    g.altura = img.CellHeight();
    g.colunas = img.Columns();
    g.linhas = img.Rows();
    return g;
}

bool TGradeMapa::CelulaDe(double x, double y, int& coluna, int& linha) const {
    if (largura <= 0 || altura <= 0) return false;
    const double c = (x - minX) / largura, r = (maxY - y) / altura;
    if (!(c >= 0 && r >= 0 && c <= colunas && r <= linhas)) return false;
    coluna = std::min(static_cast<int>(c), colunas - 1);
    linha = std::min(static_cast<int>(r), linhas - 1);
    return true;
}

#pragma once
// Where a grid's cells lie on the map. Cells are counted 0-based from the north-west corner
// (column eastward, row southward); a cell's value stands for its centre, so cell (c, r) has
// its centre at MinX + (c + 1/2)·w, MaxY - (r + 1/2)·h. Every conversion between map units and
// cells (vertices written by the location engine, lines drawn over a raster, a read-out of
// the cell under the mouse) goes through here.
class TImagem;

struct TGradeMapa {
    double minX = 0, maxY = 0;
    double largura = 0, altura = 0;  // cell width and height, map units
    int colunas = 0, linhas = 0;
    bool operator==(const TGradeMapa&) const = default;

    static TGradeMapa De(const TImagem& img);

    // Centre of a cell; fractional indices give points inside it (c - 1/2 is its west edge).
    double XDoCentro(double coluna) const { return minX + (coluna + 0.5) * largura; }
    double YDoCentro(double linha) const { return maxY - (linha + 0.5) * altura; }
    // The inverse: the fractional column and row of a map point, cell centres at whole numbers.
    double ColunaDe(double x) const { return (x - minX) / largura - 0.5; }
    double LinhaDe(double y) const { return (maxY - y) / altura - 0.5; }
    // The cell holding a map point; false outside the grid (east and south edges belong to
    // the last cell).
    bool CelulaDe(double x, double y, int& coluna, int& linha) const;
};

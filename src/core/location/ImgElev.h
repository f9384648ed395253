#pragma once
// Elevation grid of the terrace location. After loading, an elevation of exactly 0 means the
// cell has no data (invalid and negative cells are turned into 0 by the load), so such
// cells lie outside the field.
#include <string>

#include "core/raster/Matriz.h"

class TImgElevacao : public TMatrixSingle {
public:
    // Loads a raster file of any grid format (see TMatrixSingle::LoadFromImage).
    void Load(const std::string& fileName) { LoadFromImage(fileName); }

    bool Inside(int col, int row) const { return col >= 1 && row >= 1 && col <= columns_ && row <= rows_; }
    // 0 outside the raster, like a cell without data.
    float ElevationAt(int col, int row) const { return Inside(col, row) ? Cell(row, col) : 0.0f; }
};

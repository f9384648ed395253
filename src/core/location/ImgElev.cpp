#include "core/location/ImgElev.h"

float TImgElevacao::ElevationAt(int col, int row) const {
    return Inside(col, row) ? Cell(row, col) : 0.0f;
}

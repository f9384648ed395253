#pragma once
// The slope grid (percent; 0 = no slope) of the terrace location.
#include "core/raster/Matriz.h"

class TImgDeclive : public TMatrixSingle {
public:
    // Mean of the cells different from 0; 'count' receives how many there are.
    // No such cell: 0 with count 0.
    double MeanSlope(long long& count) const;
};

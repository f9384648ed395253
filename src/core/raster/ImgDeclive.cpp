#include "core/raster/ImgDeclive.h"

double TImgDeclive::MeanSlope(long long& count) const {
    double soma = 0;
    count = 0;
    for (int r = 1; r <= Rows(); ++r) {
        const float* linha = Row(r);
        for (int c = 0; c < Columns(); ++c)
            if (linha[c] != 0) {
                soma += linha[c];
                ++count;
            }
    }
    return count > 0 ? soma / static_cast<double>(count) : 0.0;
}

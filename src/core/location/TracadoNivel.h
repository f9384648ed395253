#pragma once
// Level-line tracer: follows the contour of a level through the elevation grid by walking a
// pair of pixels that straddle it (A on the right of the direction of travel, B on the
// left). Vertices are linear-interpolation points on the segments joining pixel centres,
// or pixel centres where the level runs through flat ground. Only pixels that are open and
// not provisional in the support raster can be entered.
#include <cstdint>

#include "core/location/ImgApoio.h"

class TImgElevacao;

class TTracadoNivel {
public:
    TTracadoNivel(const TImgElevacao& elev, const TImgApoio& apoio) : elev_(elev), apoio_(apoio) {}

    // Traces level L through P into 'line' (pixel coordinates). On return P's Value holds
    // the elevation of the start pixel and P's position is the first vertex rounded to a
    // pixel. When no open neighbour of P straddles the level, the trace starts from the
    // nearest pixel (4-neighbour steps over open land) on P's side of the level, or at it,
    // that has one. False, with an empty line, when there is none. A pass that would repeat
    // a state ends there (a knoll at the level can hold it in a loop).
    bool TraceLevelLine(TPixelS& P, double L, TLinhaPixel& line);

    // Whether the last trace closed on its start vertex.
    bool Closed() const { return closed_; }

    // A pixel of the walking pair.
    struct Px {
        int c = 0, r = 0;
        float z = 0;
    };

private:
    enum class Fim { Continua, Termina, Fechada };
    bool Step(Px& p, int dir) const;
    TPontoPixel EdgePoint(const Px& u, const Px& v) const;
    Fim CellStep();
    Fim Append(const TPontoPixel& p);
    uint64_t StateKey() const;

    const TImgElevacao& elev_;
    const TImgApoio& apoio_;
    double L_ = 0;
    Px a_, b_;
    int d_ = 1;
    bool markA_ = false, markB_ = false;
    bool closed_ = false;
    TPontoPixel start_;
    TLinhaPixel* line_ = nullptr;
};

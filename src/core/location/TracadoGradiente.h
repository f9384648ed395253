#pragma once
// Graded-line tracer: from an outlet on a waterway, a terrace channel runs across the slope
// rising at the channel grade, so that the water it catches flows back to the outlet. The
// line is followed on the elevation surface itself (not the cell grid), one vertex every
// step, each where the ground stands at the line's design elevation.
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "core/location/Suavizacao.h"

// Why a graded line ended.
enum class TFimGradiente { Borda, Divisor, Escoadouro, Linha, ComprimentoMaximo };

struct TParametrosGradiente {
    double declividade = 0.002;       // channel grade Sc, m/m: the line rises away from its outlet
    double passo = 2;                 // m between vertices (exported lines have one at least every 2 m)
    double comprimentoMaximo = 1500;  // m, the channel's longest
};

// What else may stop a line: the segment (x0,y0)-(x1,y1) about to be added crosses a waterway
// other than the line's own outlet (Escoadouro) or a line already placed (Linha); nullopt when free.
using TObstaculoGradiente =
    std::function<std::optional<TFimGradiente>(double x0, double y0, double x1, double y1)>;

struct TLinhaGradiente {
    std::vector<double> x, y;   // from the outlet (first vertex) outwards
    std::vector<double> cota;   // design elevation of each vertex: z_saida + Sc * s
    double comprimento = 0;     // m
    TFimGradiente fim = TFimGradiente::Borda;
    // When an obstacle or the line itself stopped it (Escoadouro, Linha): the vertex that
    // would have come next, so that the segment from the last vertex to it crosses what
    // stopped the line (the caller can end the line on the crossing). NaN otherwise.
    double xSeguinte = NAN, ySeguinte = NAN;
};

// From the outlet (x0, y0) on a waterway, heading first along (dx, dy) (the side of the
// waterway the line goes to; not necessarily a unit vector), the line crosses the slope rising
// at the grade: the vertex at distance s along the line lies where the ground's elevation is
// cota(x0,y0) + Sc*s. It ends at the field's edge (cota NaN), where no direction within the
// turn it may take reaches the next elevation (a ridge or a spur it cannot cross at that
// grade: Divisor), at an obstacle, or at the maximum length (then flagged ComprimentoMaximo).
//
// Vertices are 'passo' apart along the line, the last one closer (or, by under a micrometre,
// farther) when that makes the length exactly the maximum; a bend too tight for a whole step
// is taken in half or quarter steps. The first step leaves across the
// slope: (dx, dy) is turned to the contour on its side (a heading straight up or down the
// slope takes the side with the uphill on its left; on ground with no slope at the outlet it
// is kept as it is). Each next vertex is the point, on the circle of one step around the
// last, where the ground reaches the next design elevation, at most a right angle off the way
// the line goes and with the uphill on the same side as before, the one nearest straight
// ahead; the line never turns back nor crosses itself (a self-crossing ends it as Linha: a
// level line closing round a hill, or a graded one whose steps cut across its last turn near
// a small top). On flat ground, or at a summit, no such point exists: Divisor. When the
// search met ground with no data instead, or a step would pass over some, Borda. An outlet
// with no elevation gives an empty line (Borda); a line that cannot leave its outlet holds
// the outlet alone. Throws EVandoro when the grade or the maximum length is negative, the
// step is not positive, the heading is zero, or any of them is not finite.
TLinhaGradiente TracarGradiente(const TCotaMapa& cota, double x0, double y0, double dx, double dy,
                                const TParametrosGradiente& p, const TObstaculoGradiente& obstaculo = {});

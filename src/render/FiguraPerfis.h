#pragma once
// The terraces' profile charts of the location report, one under the other on a page: the
// ground along the located line (solid), the channel's design elevation (dashed, level or on
// its grade) and the stretches off level shaded red with the fill or cut they ask for.
#include <QImage>
#include <QSizeF>
#include <vector>

struct TPerfilTerraco;

// 'tamanho' in the report's units (1/96 inch), drawn at 'dpi'.
QImage ImagemPerfis(const std::vector<const TPerfilTerraco*>& perfis, QSizeF tamanho, double dpi);

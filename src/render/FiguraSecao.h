#pragma once
// The built terrace's cross-section painted with its dimensions: the results page's section
// picture and the reports' figure. The height is exaggerated so a half-metre ridge on a
// twelve-metre strip can be read; the picture says by how much.
#include <QImage>
#include <QSize>

struct TDesenhoSecao;

// A blank picture for a drawing with no points.
QImage ImagemSecao(const TDesenhoSecao& d, QSize tamanho);

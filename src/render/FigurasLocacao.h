#pragma once
// The pictures of a location report by the names its text gives them: the plan's sheet and
// the pages of profiles. The report window and the PDF module draw them alike.
#include <QImage>
#include <QMap>
#include <QString>
#include <string>

class TLocacaoNivel;
class TMapaPlano;
struct TFigurasLocacao;

// At 'dpi' on paper; the sheet turned upright when the field is wider than tall, so it fills
// the page. A plan without lines has no sheet. 'projeto' resolves a saved plan's paths.
// 'mapa', a map already built (the window's), draws the sheet when it holds the same plan.
QMap<QString, QImage> ImagensDaLocacao(const TLocacaoNivel& loc, const TFigurasLocacao& f, const std::string& projeto,
                                       const TMapaPlano* mapa = nullptr, double dpi = 200);

#pragma once
// The location plan's map: the shaded elevation, the strips, the terrace lines numbered at both
// ends, the waterways and the field boundary. One drawing serves the location window (any part,
// any zoom), the report and the PNG export (the whole sheet with its grid, scale bar, north
// arrow, legend and coordinate system).
#include <QImage>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>
#include <vector>

#include "core/location/PlanoMapa.h"

class QPainter;

class TMapaPlano {
public:
    // Loads and shades the model once.
    explicit TMapaPlano(const TPlanoMapa& plano);

    // Nothing to show: neither the model nor any line could be read.
    bool Vazio() const;
    // The field fits an A4 landscape sheet better than a portrait one.
    bool Paisagem() const;
    // The field's extent in map coordinates (y north).
    QRectF Mundo() const { return mundo_; }
    const TPlanoMapa& Plano() const { return plano_; }

    // The whole sheet filling 'tamanho' pixels; text and strokes are sized from the sheet, so
    // an A4 sheet at print resolution reads as printed.
    QImage Folha(QSize tamanho) const;
    // The map part only, for the window: draws the part 'mundo' of the map into 'destino'.
    void Desenhar(QPainter& p, const QRectF& destino, const QRectF& mundo) const;
    // A scale bar in the lower left corner of 'destino', for a view of 'mundo' drawn there.
    void DesenharEscala(QPainter& p, const QRectF& destino, const QRectF& mundo) const;

    // Terrace number of the line nearest to a map point within 'tolerancia' map units; 0 none.
    int TerracoEm(QPointF mundo, double tolerancia) const;
    // The line the window draws over a bright band (the one under the mouse); 0 none.
    void SetDestaque(int terraco) { destaque_ = terraco; }
    int Destaque() const { return destaque_; }
    // The terrace's type ("" unknown or no such line).
    QString TipoDe(int terraco) const;

    // The transformation drawing 'mundo' into 'destino' (north up, each axis stretched to fit).
    static QTransform Transformacao(const QRectF& destino, const QRectF& mundo);

private:
    // 'u' the stroke unit and 't' the numbers' height, in the painter's pixels; the sheet
    // highlights no line.
    void DesenharCom(QPainter& p, const QRectF& destino, const QRectF& mundo, double u, double t, int destaque) const;
    void DesenharLegenda(QPainter& p, const QRectF& r, double escala, double passo, double u, double t) const;
    // The bar's left end at 'base', at most 'larguraMaxima' long.
    void DesenharEscalaEm(QPainter& p, QPointF base, double larguraMaxima, double pixelsPorUnidade, double u,
                          double t) const;
    QPen CanetaDaLinha(const TLinhaPlano& l, double u) const;
    // Terrace line k with the vertices that show at 'tolerancia' map units, in map units: made
    // when first in view and kept while the scale stays (a pan), made again at another. So one
    // map is drawn by one thread at a time.
    const QPolygonF& LinhaNaEscala(size_t k, double tolerancia) const;

    TPlanoMapa plano_;
    QImage relevo_;    // one pixel a cell, north row first
    QTransform celulas_;  // relevo_'s pixels to map coordinates
    QImage faixas_;    // the strips' tint on their grid
    QTransform celulasFaixas_;
    QRectF mundo_;
    std::vector<std::string> tipos_;  // the types the lines are styled by, in order of appearance
    int destaque_ = 0;
    std::vector<QRectF> caixas_;  // each terrace line's box, map units
    mutable double toleranciaLinhas_ = -1;
    mutable std::vector<QPolygonF> linhasNaEscala_;
    mutable std::vector<char> feitas_;
};

#pragma once
// The lines and strips of a location run over a shaded picture of the elevation raster. One
// raster cell is one picture pixel, so a cell centre lies on a pixel centre; map coordinates
// go through TGradeMapa.
#include <QImage>
#include <QPolygonF>
#include <QWidget>
#include <string>
#include <vector>

#include "raster/GradeMapa.h"

struct TMapaFaixas;

class TMapaLocacao : public QWidget {
    Q_OBJECT
public:
    explicit TMapaLocacao(QWidget* pai = nullptr);

    // Reads the elevation raster and the ".vet" lines; the strips come from the engine. An
    // unreadable file leaves the picture empty (the run has reported it already).
    void Carregar(const std::string& elevacao, const std::string& vetor, const TMapaFaixas& faixas);
    void Limpar();

    const QImage& Relevo() const { return relevo_; }
    const TGradeMapa& Grade() const { return grade_; }
    // The lines in picture pixels (cell (c, r) centre at (c + 1/2, r + 1/2)).
    const std::vector<QPolygonF>& Linhas() const { return linhas_; }
    bool TemFaixas() const { return temFaixas_; }
    // Where the picture is drawn inside the widget.
    QRectF AreaDesenho() const;

    QSize sizeHint() const override { return {420, 320}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage relevo_;
    TGradeMapa grade_;
    std::vector<QPolygonF> linhas_;
    bool temFaixas_ = false;
};

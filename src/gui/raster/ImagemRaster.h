#pragma once
// A raster on screen: the picture rendered once at one pixel a cell, shown at a zoom by
// sampling only the part being painted, with lines of a vector file over it and an optional
// translucent colour layer, and a read-out of the cell under the mouse. The viewer and the
// location window both show their grids in it.
#include <QImage>
#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>

#include "core/raster/GradeMapa.h"

class TImagem;
class TVET;

// One line drawn over the raster, its points in cell units (cell (c, r) spans c..c+1,
// r..r+1, so a point at a cell centre is (c + 1/2, r + 1/2)).
struct TLinhaSobreposta {
    int id = 0;
    QVector<QPointF> pontos;
    QRectF limites;  // of the points, to skip lines outside the painted part
};

class TImagemRaster : public QWidget {
    Q_OBJECT
public:
    explicit TImagemRaster(QWidget* pai = nullptr);

    // The picture, one pixel a cell (Format_RGB32 or ARGB32), and the grid it covers.
    void DefinirImagem(const QImage& imagem, const TGradeMapa& grade);
    const QImage& Imagem() const { return imagem_; }
    const TGradeMapa& Grade() const { return grade_; }

    int Zoom() const { return zoom_; }
    void DefinirZoom(int zoom);  // percent; the widget takes the displayed size

    // Lines over the raster; 'rotulos' draws each line's identifier at its middle point.
    void DefinirLinhas(QVector<TLinhaSobreposta> linhas, bool rotulos);
    // The lines of a ".vet" (every point of every line), mapped through the grid.
    static QVector<TLinhaSobreposta> LinhasDe(const TVET& vet, const TGradeMapa& grade);
    void RemoverLinhas();
    bool TemLinhas() const { return !linhas_.isEmpty(); }
    const QVector<TLinhaSobreposta>& Linhas() const { return linhas_; }
    bool Rotulos() const { return rotulos_; }
    QColor CorLinhas = Qt::black;
    QColor CorRotulos = Qt::blue;

    // A translucent colour per cell (ARGB32, same size as the picture; alpha 0 lets the
    // raster through) drawn over the picture and under the lines. An empty image removes it.
    void DefinirCamada(const QImage& camada);
    const QImage& Camada() const { return camada_; }

    // The picture with the layer and the lines at one pixel a cell (pen 1, labels 8 pt):
    // what is saved as a figure or printed.
    QImage Figura() const;

    // Draws the view of pixels 'area' (widget coordinates) onto 'p' at its origin; the paint
    // handler and the benchmark use it.
    void Desenhar(QPainter& p, const QRect& area) const;

    // The cell under a widget pixel; false outside the picture.
    bool CelulaEm(const QPoint& pixel, int& coluna, int& linha) const;

signals:
    // The mouse over the picture: cell and the map position of its centre. 'dentro' false
    // when it left the picture.
    void Leitura(bool dentro, int coluna, int linha, double x, double y);
    void CelulaClicada(int coluna, int linha);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void DesenharLinhas(QPainter& p, const QRect& area, double escala, int largura, int fonte) const;

    QImage imagem_;
    QImage camada_;
    TGradeMapa grade_;
    int zoom_ = 100;
    QVector<TLinhaSobreposta> linhas_;
    bool rotulos_ = false;
    mutable QImage vista_;  // reused between paints
    mutable QImage vistaCamada_;
};

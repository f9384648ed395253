#pragma once
// The location plan's map in the results tab: the drawing of TMapaPlano, fitted to the field at
// first, zoomed with the wheel about the cursor (or "+"/"-"), panned by dragging, naming the
// terrace under the mouse, and exported as an A4 sheet in PNG.
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <memory>

#include "core/location/PlanoMapa.h"

class QLabel;
class QPushButton;
class QToolButton;
class TMapaPlano;

class TMapaLocacao : public QWidget {
    Q_OBJECT
public:
    explicit TMapaLocacao(QWidget* pai = nullptr);
    ~TMapaLocacao() override;

    // Draws this plan, the whole field in view.
    void Carregar(const TPlanoMapa& plano);
    void Limpar();
    // Null before a plan is loaded.
    const TMapaPlano* Mapa() const { return mapa_.get(); }
    bool TemFaixas() const;

    // The canvas the map is drawn on (wheel, drag and hover go to it).
    QWidget* Vista() const { return vista_; }
    // The part of the map in view, in map coordinates (y north).
    QRectF Visivel() const;
    QPointF MundoDe(QPointF pixel) const;  // a point of the canvas
    QPointF PixelDe(QPointF mundo) const;
    // The whole field in view.
    void Ajustar();
    // Zooms by 'fator' (> 1 closer) keeping the map point under 'pixel' where it is.
    void Zoom(double fator, QPointF pixel);
    void Mover(QPointF deslocamentoPixels);
    // What the line under the mouse says ("Terraço 3 — tipo"), or the coordinates there.
    QString Estado() const;

    // The file the export dialog proposes.
    QString NomeProposto;
    // The sheet the export writes: A4 at 200 dpi, turned as the field fits; null without a map.
    QImage FolhaA4() const;
    // "Exportar mapa": that sheet as PNG.
    void ExportarMapa();

    QSize sizeHint() const override { return {420, 320}; }

private:
    friend class TVistaMapa;
    void Pintar(QPainter& p);
    void Apontar(QPointF pixel);  // the mouse at a point of the canvas
    void Limites();               // keeps the zoom in a useful range

    std::unique_ptr<TMapaPlano> mapa_;
    QWidget* vista_ = nullptr;
    QLabel* lblEstado_ = nullptr;
    QToolButton *btnMais_ = nullptr, *btnMenos_ = nullptr, *btnAjustar_ = nullptr;
    QPushButton* btnExportar_ = nullptr;
    QPointF centro_;         // map point at the canvas's centre
    double escala_ = 0;      // map units per pixel; 0 before the first fit
    bool ajustado_ = false;  // the view follows the canvas's size until the user zooms or pans
};

#pragma once
// A picture with a hidden colour map of the same size: the map's colour under the mouse
// decides what a left click does and whether the hand cursor shows. The picture may be
// drawn at any size; the mouse is mapped back to the map's own pixel.
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <functional>

class TFiguraMapa : public QWidget {
    Q_OBJECT
public:
    explicit TFiguraMapa(QWidget* pai = nullptr);

    // Missing or unreadable files leave the picture blank and the map inert.
    void Carregar(const QString& figura, const QString& mapa);
    void SetImagens(const QPixmap& figura, const QImage& mapa);
    const QPixmap& Figura() const { return figura_; }
    const QImage& Mapa() const { return mapa_; }

    // What a colour (RGB, no alpha) means: Acao true shows the hand cursor and makes a left
    // click call Executar; Normal true shows the arrow; neither leaves the cursor as it was.
    struct TSignificado {
        bool Acao = false;
        bool Normal = false;
        bool Clique = false;  // a left click calls Executar whatever the cursor
    };
    std::function<TSignificado(QRgb)> Significado;
    std::function<void(QRgb)> Executar;

    // Map pixel under a widget position, or (-1, -1) outside the picture.
    QPoint PixelDoMapa(const QPoint& posicao) const;
    QRgb CorEm(const QPoint& posicao) const;  // 0xFFFFFFFF-free RGB; 0 outside
    // Where the picture is drawn inside the widget (kept in proportion, centred).
    QRect AreaDaFigura() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    QPixmap figura_;
    QImage mapa_;
};

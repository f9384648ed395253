#pragma once
// The rainfall report window: the report's HTML with the state map given to the document as
// an image, "&Imprimir" and "Fechar".
#include <QDialog>
#include <QImage>

class TVisualizadorHtml;

class TfrmFoRelatQuenda : public QDialog {
    Q_OBJECT
public:
    // mapa: the state map with the place marked, null when the report has none.
    TfrmFoRelatQuenda(const QString& html, const QImage& mapa, QWidget* pai = nullptr);
    TVisualizadorHtml* Visualizador() const { return visualizador_; }
    void Imprimir();

private:
    TVisualizadorHtml* visualizador_;
};

QImage ImagemDe(const class TBitmapRGB& b);

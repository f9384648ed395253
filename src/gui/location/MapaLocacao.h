#pragma once
// The lines and strips of a location run over a shaded picture of the elevation raster, shown
// in the raster widget the viewer uses (one cell a picture pixel, map coordinates through
// TGradeMapa), zoomed to fit the results area.
#include <QImage>
#include <QScrollArea>
#include <string>
#include <vector>

#include "gui/raster/ImagemRaster.h"

struct TMapaFaixas;
struct TLinhaMapa;

class TMapaLocacao : public QScrollArea {
    Q_OBJECT
public:
    explicit TMapaLocacao(QWidget* pai = nullptr);

    // Reads the elevation raster and the ".vet" lines; the strips and the waterways (map units)
    // come from the engine. An unreadable file leaves the picture empty (the run has reported
    // it already).
    void Carregar(const std::string& elevacao, const std::string& vetor, const TMapaFaixas& faixas,
                  const std::vector<TLinhaMapa>& escoadouros = {});
    void Limpar();

    TImagemRaster* Vista() const { return vista_; }
    const QImage& Relevo() const { return vista_->Imagem(); }
    const TGradeMapa& Grade() const { return vista_->Grade(); }
    // In cell units: cell (c, r) centre at (c + 1/2, r + 1/2).
    const QVector<TLinhaSobreposta>& Linhas() const { return vista_->Linhas(); }
    bool TemFaixas() const { return !vista_->Camada().isNull(); }

    QSize sizeHint() const override { return {420, 320}; }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void AjustarZoom();
    TImagemRaster* vista_;
};

#pragma once
// The rainfall report window: the program's report window with the state map given to the
// document as the image the text names.
#include <QImage>

#include "gui/common/FRelatorio.h"

class TfrmFoRelatQuenda : public TFRelatorio {
    Q_OBJECT
public:
    // mapa: the state map with the place marked, null when the report has none.
    TfrmFoRelatQuenda(const QString& html, const QImage& mapa, QWidget* pai = nullptr);
};

QImage ImagemDe(const class TBitmapRGB& b);

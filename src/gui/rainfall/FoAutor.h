#pragma once
// "Autor": the reference behind a citation of the rainfall database.
#include <QDialog>

#include "core/rainfall/BDPrecipitacao.h"

class TfrmFoAutor : public QDialog {
    Q_OBJECT
public:
    TfrmFoAutor(const std::string& citacao, const TReferencia& ref, QWidget* pai = nullptr);
};

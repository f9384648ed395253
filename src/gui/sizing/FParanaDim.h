#pragma once
#include "gui/sizing/FBentleyDim.h"

class TFParanaDim : public TFSoloDim {
    Q_OBJECT
public:
    explicit TFParanaDim(QWidget* pai = nullptr);
};

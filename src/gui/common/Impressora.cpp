#include "common/Impressora.h"

#include <QPrinter>

QPrinter& ImpressoraComum() {
    static QPrinter impressora(QPrinter::HighResolution);
    return impressora;
}

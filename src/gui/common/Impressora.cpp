#include "gui/common/Impressora.h"

#include <QCoreApplication>
#include <QPrinter>

namespace {
QPrinter* impressora = nullptr;
// Destroyed with the application, not after it: a printer outliving the application
// would reach for a platform that is gone.
void Liberar() {
    delete impressora;
    impressora = nullptr;
}
}  // namespace

QPrinter& ImpressoraPrograma() {
    if (!impressora) {
        impressora = new QPrinter(QPrinter::HighResolution);
        qAddPostRoutine(Liberar);
    }
    return *impressora;
}

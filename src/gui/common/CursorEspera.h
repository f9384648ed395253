#pragma once
// The wait cursor over the whole program while a scope works on the window's thread, given
// back however the scope ends. End the scope before a box or a window shows.
#include <QApplication>

class TCursorEspera {
public:
    explicit TCursorEspera(Qt::CursorShape forma = Qt::WaitCursor) { QApplication::setOverrideCursor(forma); }
    ~TCursorEspera() { QApplication::restoreOverrideCursor(); }
    TCursorEspera(const TCursorEspera&) = delete;
    TCursorEspera& operator=(const TCursorEspera&) = delete;
};

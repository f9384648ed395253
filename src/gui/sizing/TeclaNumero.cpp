#include "sizing/TeclaNumero.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "common/Regional.h"

bool FiltrarTeclaNumero(QLineEdit* campo, QKeyEvent* k) {
    const QString t = k->text();
    switch (k->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape: return false;
        default: break;
    }
    // Navigation and shortcuts carry no text, or a control character.
    if (t.isEmpty() || !t.at(0).isPrint() || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
    const QChar c = t.at(0);
    if (c.isDigit()) return false;
    const Regional& r = Regional::Current();
    const QChar dec = QChar::fromLatin1(r.DecimalSeparator);
    if (c == dec || c == QChar::fromLatin1(r.ThousandSeparator) || c == '.' || c == ',') {
        const QString s = campo->selectedText().isEmpty() ? campo->text() : QString(campo->text()).remove(campo->selectedText());
        if (!campo->isReadOnly() && !s.contains(',') && !s.contains('.')) {
            campo->insert(dec);
            emit campo->textEdited(campo->text());
        }
        return true;
    }
    return true;
}

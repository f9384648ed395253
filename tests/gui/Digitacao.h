#pragma once
// A field typed over as the user does: focus, select all, erase, then key by key (the
// field's key filter and edit rules included). QTest's key table knows only ASCII.
#include <QLineEdit>
#include <QString>
#include <QTest>

inline void Redigitar(QLineEdit* e, const QString& texto) {
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    if (!texto.isEmpty()) QTest::keyClicks(e, texto);
}

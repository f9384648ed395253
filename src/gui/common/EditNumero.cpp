#include "gui/common/EditNumero.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <cmath>

#include "core/common/Numeros.h"
#include "core/common/Regional.h"
#include "gui/common/Dialogos.h"

TEditNumero::TEditNumero(QWidget* pai) : QLineEdit(pai) {
    // Pasted text obeys the same rule as typed text.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*([.,][0-9]*)?")), this));
}

double TEditNumero::Valor() const { return TextToReal(S(text())); }

void TEditNumero::SetValor(double v) {
    if (!(v > 0) || !std::isfinite(v)) clear();
    else setText(Q(FloatToStr(v)));
}

void TEditNumero::SetValor(double v, std::string_view padrao) {
    if (!(v > 0) || !std::isfinite(v)) clear();
    else setText(Q(FormatFloat(padrao, v)));
}

void TEditNumero::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    const bool controle = t.isEmpty() || t[0].unicode() < 0x20 || t[0].unicode() == 0x7f ||
                          (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (controle || e->key() == Qt::Key_Backspace) {  // editing, navigation, shortcuts
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (t.size() == 1 && t[0] >= '0' && t[0] <= '9') {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (t == QLatin1String(",") || t == QLatin1String(".")) {
        const QChar sep = QLatin1Char(Regional::Current().DecimalSeparator);
        QString resto = text();
        if (hasSelectedText()) resto.remove(selectionStart(), selectedText().size());
        if (!resto.contains(',') && !resto.contains('.')) {
            insert(QString(sep));
            emit textEdited(text());
        }
    }
    e->accept();  // anything else is swallowed
}

#include "gui/common/EditCoordenada.h"

#include <QKeyEvent>

#include "core/rainfall/BDPrecipitacao.h"
#include "gui/common/Dialogos.h"

namespace {
constexpr QChar kVazio = QLatin1Char('_');
}

TEditCoordenada::TEditCoordenada(QWidget* pai, TForma forma) : QLineEdit(pai) {
    if (forma == SemSinal) {
        setInputMask(QStringLiteral("99°99'99\";_"));
        setText(QString());
        return;
    }
    // '#': digit or sign, not required; '9': digit required.
    setInputMask(QStringLiteral("#9°99'99\";_"));
    SetTexto(QStringLiteral("00°00'00\""));
}

QString TEditCoordenada::Texto() const {
    QString t = displayText();
    t.replace(kVazio, QLatin1Char(' '));
    return t;
}

void TEditCoordenada::SetTexto(const QString& coordenada) {
    QString t = coordenada;
    t.replace(QLatin1Char(' '), kVazio);
    setText(t);
}

double TEditCoordenada::Graus() const { return CoordenadaParaGraus(S(Texto())); }

void TEditCoordenada::SetGraus(double graus) { SetTexto(Q(GrausParaCoordenada(graus))); }

void TEditCoordenada::keyPressEvent(QKeyEvent* e) {
    // The mask lets '+' into the sign place; the database form has no plus sign.
    if (e->text() == QLatin1String("+")) {
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

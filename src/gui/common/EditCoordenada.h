#pragma once
// Masked entry of a coordinate GG°MM'SS" (degrees south or west without sign; a minus sign
// in the first degree place marks north or east, as the rainfall database writes it).
#include <QLineEdit>

class TEditCoordenada : public QLineEdit {
    Q_OBJECT
public:
    explicit TEditCoordenada(QWidget* pai = nullptr);

    // Always nine characters, unfilled places as blanks: the form the core reader takes.
    QString Texto() const;
    void SetTexto(const QString& coordenada);
    // Decimal degrees; a malformed text raises EConversao with the core's message.
    double Graus() const;
    // Raises EVandoro for values that do not fit the mask.
    void SetGraus(double graus);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

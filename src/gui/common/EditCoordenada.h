#pragma once
// Masked entry of a coordinate GG°MM'SS" (degrees south or west without sign; a minus sign
// in the first degree place marks north or east, as the rainfall database writes it). The
// project windows keep the place of a design storm in two digits each and may leave it
// unset: they take the form without sign, empty until typed.
#include <QLineEdit>

class TEditCoordenada : public QLineEdit {
    Q_OBJECT
public:
    enum TForma { ComSinal, SemSinal };
    explicit TEditCoordenada(QWidget* pai = nullptr, TForma forma = ComSinal);

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

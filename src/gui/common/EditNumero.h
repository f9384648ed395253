#pragma once
// Numeric entry field of the data windows: digits, Backspace and one decimal separator.
// Both ',' and '.' are taken and shown as the regional decimal separator, so the thousands
// key of the keypad types a decimal point the user can read.
#include <QLineEdit>
#include <string_view>

class TEditNumero : public QLineEdit {
    Q_OBJECT
public:
    explicit TEditNumero(QWidget* pai = nullptr);

    // Empty reads 0. Text that is not a number (only reachable through setText) raises EConversao.
    double Valor() const;
    // A value <= 0 (or not finite) leaves the field empty; otherwise the shortest form, or the
    // FormatFloat pattern given.
    void SetValor(double v);
    void SetValor(double v, std::string_view padrao);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

#pragma once
// The start screen: a borderless 600×240 picture, on top of the others and centred, that
// closes itself after five seconds, on a key or on a click. Shown modally with its timer
// stopped it is the About box.
#include <QDialog>
#include <QPixmap>
#include <QTimer>

class TFInicial : public QDialog {
    Q_OBJECT
public:
    explicit TFInicial(QWidget* pai = nullptr);

    QTimer& Timer1() { return timer_; }
    // The picture, drawn by the program itself.
    static QPixmap Desenhar();

    static constexpr int kLargura = 600, kAltura = 240, kTempoMs = 5000;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void showEvent(QShowEvent*) override;

private:
    void Fechar();

    QTimer timer_;
    QPixmap figura_;
};

// "Sobre o Vandoro 4.1": the start screen, modal, without its timer.
void MostrarSobre(QWidget* pai);

#include "gui/shell/Inicial.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <cmath>

#include "gui/common/Dialogos.h"

TFInicial::TFInicial(QWidget* pai)
    : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), figura_(Desenhar()) {
    setObjectName("FInicial");
    setWindowTitle(QStringLiteral("Vandoro 4.1"));
    setFixedSize(kLargura, kAltura);
    timer_.setSingleShot(true);
    timer_.setInterval(kTempoMs);
    connect(&timer_, &QTimer::timeout, this, &TFInicial::Fechar);
}

void TFInicial::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    const QScreen* tela = screen() ? screen() : QGuiApplication::primaryScreen();
    if (tela) move(tela->geometry().center() - rect().center());
}

void TFInicial::Fechar() {
    timer_.stop();
    done(QDialog::Accepted);
}

void TFInicial::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, figura_);
}

void TFInicial::mousePressEvent(QMouseEvent*) { Fechar(); }
void TFInicial::keyPressEvent(QKeyEvent*) { Fechar(); }

QPixmap TFInicial::Desenhar() {
    QPixmap pm(kLargura, kAltura);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    // Sky above a hillside.
    QLinearGradient ceu(0, 0, 0, kAltura);
    ceu.setColorAt(0, QColor(232, 242, 250));
    ceu.setColorAt(1, QColor(250, 250, 244));
    p.fillRect(pm.rect(), ceu);

    // The hillside on the right with its terraces: level lines that follow the slope.
    QPainterPath morro;
    morro.moveTo(250, kAltura);
    for (int x = 250; x <= kLargura; x += 5) {
        const double t = (x - 250) / 350.0;
        morro.lineTo(x, kAltura - 30 - 150 * std::sin(t * 3.14159 * 0.75));
    }
    morro.lineTo(kLargura, kAltura);
    morro.closeSubpath();
    QLinearGradient verde(0, 60, 0, kAltura);
    verde.setColorAt(0, QColor(126, 176, 84));
    verde.setColorAt(1, QColor(74, 128, 52));
    p.fillPath(morro, verde);

    p.setClipPath(morro);
    for (int i = 1; i <= 7; ++i) {
        QPainterPath linha;
        const double nivel = kAltura - 20.0 - i * 20.0;
        bool primeiro = true;
        for (int x = 240; x <= kLargura + 10; x += 4) {
            const double y = nivel + 6.0 * std::sin((x + i * 37) / 55.0);
            if (primeiro) linha.moveTo(x, y);
            else linha.lineTo(x, y);
            primeiro = false;
        }
        p.setPen(QPen(QColor(93, 62, 35, 200), 3.0));
        p.drawPath(linha);
        p.setPen(QPen(QColor(190, 220, 150, 180), 1.2));
        p.drawPath(linha.translated(0, -3));
    }
    p.setClipping(false);

    // Title and subtitle on the left.
    p.setPen(QColor(30, 70, 35));
    QFont titulo(QStringLiteral("DejaVu Sans"), 30, QFont::Bold);
    p.setFont(titulo);
    p.drawText(QRect(28, 36, 360, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vandoro 4.1"));
    QFont sub(QStringLiteral("DejaVu Sans"), 11);
    p.setFont(sub);
    p.setPen(QColor(40, 60, 40));
    p.drawText(QRect(30, 92, 300, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Planejamento de terraços para a conservação do solo"));
    QFont menor(QStringLiteral("DejaVu Sans"), 9);
    p.setFont(menor);
    p.setPen(QColor(80, 90, 80));
    p.drawText(QRect(30, 150, 260, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Dimensionamento e locação de terraços em nível, com gradiente e bacias de acumulação"));

    p.setPen(QPen(QColor(60, 90, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    return pm;
}

void MostrarSobre(QWidget* pai) {
    TFInicial sobre(pai);
    sobre.Timer1().stop();
    Dialogos().Executar(sobre);
}

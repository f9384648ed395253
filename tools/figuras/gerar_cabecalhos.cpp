// Draws the report header pictures: a soft green band with a contour-line motif and the
// program's name, in the distribution's DejaVu Sans, saved as JPEG at the sizes the reports
// ask for (382 x 83 and 550 x 73).
//
//   gerar_cabecalhos <Cabecalho.jpg> <Cabecalho_Quenda21.jpg>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Vertical gradient from a pale to a soft green, crossed by wavy "level lines" like a
// topographic map.
void DesenharFundo(QPainter& p, const QSize& s) {
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, QColor(226, 240, 220));
    g.setColorAt(1, QColor(184, 216, 176));
    p.fillRect(QRect(QPoint(0, 0), s), g);
    const int linhas = 7;
    const double passo = double(s.height()) / (linhas - 2);
    p.setPen(QPen(QColor(96, 150, 92, 150), 1.1));
    for (int k = 0; k < linhas; ++k) {
        const double y0 = (k - 0.5) * passo, fase = 0.9 * k;
        QPainterPath curva;
        for (int x = 0; x <= s.width(); x += 2) {
            const double y = y0 + 0.22 * passo * std::sin(2 * kPi * x / 170.0 + fase) +
                             0.12 * passo * std::sin(2 * kPi * x / 61.0 + 2.3 * fase);
            if (x == 0) curva.moveTo(x, y);
            else curva.lineTo(x, y);
        }
        p.drawPath(curva);
    }
}

// Centred in 'caixa', at 'pixels' high or smaller when the text would not fit its width.
void Escrever(QPainter& p, const QRect& caixa, const QString& texto, int pixels, bool negrito) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(negrito);
    for (f.setPixelSize(pixels); pixels > 8; f.setPixelSize(--pixels))
        if (QFontMetrics(f).horizontalAdvance(texto) <= caixa.width() - 24) break;
    p.setFont(f);
    p.setPen(QColor(24, 64, 30));
    p.drawText(caixa, Qt::AlignCenter, texto);
}

bool Gravar(const QImage& img, const char* caminho) {
    if (img.save(QString::fromLocal8Bit(caminho), "JPEG", 92)) return true;
    std::fprintf(stderr, "Não foi possível gravar \"%s\".\n", caminho);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Uso: gerar_cabecalhos <Cabecalho.jpg> <Cabecalho_Quenda21.jpg>\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QImage relatorio(382, 83, QImage::Format_RGB32);
    {
        QPainter p(&relatorio);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        DesenharFundo(p, relatorio.size());
        Escrever(p, QRect(0, 4, 382, 44), QStringLiteral("Vandoro 4.1"), 34, true);
        Escrever(p, QRect(0, 48, 382, 28), QStringLiteral("Dimensionamento e locação de terraços"), 16, false);
    }
    QImage chuva(550, 73, QImage::Format_RGB32);
    {
        QPainter p(&chuva);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        DesenharFundo(p, chuva.size());
        Escrever(p, QRect(0, 0, 550, 73), QStringLiteral("Vandoro 4.1 - Equações de chuvas intensas"), 24, true);
    }
    return Gravar(relatorio, argv[1]) && Gravar(chuva, argv[2]) ? 0 : 1;
}

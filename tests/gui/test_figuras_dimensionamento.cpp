// The figures the build draws for the sizing window: each clickable map holds only the
// colours of its actions and matches its figure.
#include <gtest/gtest.h>

#include <QImage>
#include <QSet>
#include <QString>

namespace {

const QString kBin = QStringLiteral(VANDORO_BIN_DIR);

}  // namespace

TEST(FigurasDimensionamento, MapsHoldOnlyTheActionColoursAndMatchTheirFigures) {
    const QSet<QRgb> permitidas = {0x800000, 0x808000, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFFFFFF, 0xFFFF00, 0x008080, 0xC0C0C0};
    for (const char* par : {"terraco", "bacia"}) {
        const QImage mapa(kBin + "/" + par + "_mapa.bmp");
        const QImage figura(kBin + "/" + par + ".bmp");
        ASSERT_FALSE(mapa.isNull()) << par;
        EXPECT_EQ(mapa.size(), figura.size()) << par;
        QSet<QRgb> vistas;
        for (int y = 0; y < mapa.height(); ++y)
            for (int x = 0; x < mapa.width(); ++x) vistas.insert(mapa.pixel(x, y) & 0xFFFFFF);
        EXPECT_TRUE(vistas.subtract(permitidas).isEmpty()) << par;
    }
    // The channel figure shares the terrace map, so it has the same size.
    EXPECT_EQ(QImage(kBin + "/canal.bmp").size(), QImage(kBin + "/terraco_mapa.bmp").size());
    // Every group of the terrace figure has somewhere to click, and the program button is there.
    const QImage mapa(kBin + "/terraco_mapa.bmp");
    QSet<QRgb> vistas;
    for (int y = 0; y < mapa.height(); ++y)
        for (int x = 0; x < mapa.width(); ++x) vistas.insert(mapa.pixel(x, y) & 0xFFFFFF);
    for (QRgb c : {0x800000u, 0x808000u, 0x00FF00u, 0x0000FFu, 0x00FFFFu, 0xFFFFFFu}) EXPECT_TRUE(vistas.contains(c)) << std::hex << c;
}

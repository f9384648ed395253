// The pictures the build draws for the sizing window, and screenshots of its pages and
// dialogs (build/telas-dimensionamento) for a person to look at.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QSet>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "gui/common/Assistentes.h"
#include "gui/common/FTipoTerraco.h"
#include "gui/sizing/FBentleyDim.h"
#include "gui/sizing/FCapacidadeArmazenamento.h"
#include "gui/sizing/FLombNetoDim.h"
#include "gui/sizing/FParanaDim.h"
#include "gui/sizing/FrmDimensionamento.h"

namespace {

const QString kBin = QStringLiteral(VANDORO_BIN_DIR);

QString PastaTelas() {
    const QString p = kBin + "/../telas-dimensionamento";
    QDir().mkpath(p);
    return p;
}

void Gravar(QWidget& w, const QString& nome) {
    w.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.grab().save(PastaTelas() + "/" + nome + ".png")) << nome.toStdString();
}

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

TEST(FigurasDimensionamento, ScreenshotsOfThePagesAndDialogs) {
    TDialogosRoteiro roteiro;
    const char* exemplos[] = {"Terraco em nivel.kzp", "Terraco em gradiente.kzp", "Bacia de acumulacao.kzp"};
    const char* nomes[] = {"entrada_nivel", "entrada_gradiente", "entrada_bacia"};
    for (int i = 0; i < 3; ++i) {
        TModeloProjeto m;
        m.AbrirProjetoSemAlterar((kBin + "/Exemplos/" + exemplos[i]).toStdString());
        TGerenteSis g;
        auto* w = new TfrmDimensionamento(m, g);
        w->SetPastaFiguras(kBin);
        if (i == 1) w->AbrirGrupo(QStringLiteral("Canal"));
        Gravar(*w, nomes[i]);
        if (i == 1) {
            w->AbrirGrupo(QStringLiteral("Espaçamento"));
            Gravar(*w, "entrada_gradiente_espacamento");
        }
        w->btnCalcularClick();
        Gravar(*w, QString(nomes[i]).replace("entrada", "resultado"));
        delete w;
    }
    TEspacamento e;
    {
        TFBentleyDim d;
        d.SetDeclividade(12);
        roteiro.dialogos.push_back([&](QDialog& dd) {
            Gravar(dd, "bentley");
            return 0;
        });
        d.EditSpacing(e);
    }
    {
        TFParanaDim d;
        d.SetDeclividade(8);
        roteiro.dialogos.push_back([&](QDialog& dd) {
            Gravar(dd, "parana");
            return 0;
        });
        d.EditSpacing(e);
    }
    {
        TFLombNetoDim d;
        d.SetDeclividade(10);
        roteiro.dialogos.push_back([&](QDialog& dd) {
            Gravar(dd, "lombardi");
            return 0;
        });
        d.EditSpacing(e);
    }
    {
        TModeloProjeto m;
        m.AbrirProjetoSemAlterar((kBin + "/Exemplos/Terraco em nivel.kzp").toStdString());
        TFCapacidadeArmazenamento d;
        d.SetDeclividade(8);
        roteiro.dialogos.push_back([&](QDialog& dd) {
            Gravar(dd, "capacidade");
            return 0;
        });
        d.EditSpacing(m.TerracosNivel().Espacamento(), m.TerracosNivel(), 39.3);
    }
    TFTipoParana tp;
    Gravar(tp, "tipo_parana");
    TFTipoRio tr;
    Gravar(tr, "tipo_rio");
    TFTipoLombardi tl;
    Gravar(tl, "tipo_lombardi");
    const std::pair<const char*, std::function<void()>> assistentes[] = {
        {"rugcan", [] { TRugCan a; a.Indice = 3; a.Execute(); }},
        {"rugter", [] { TRugTer a; a.Indice = 5; a.Execute(); }},
        {"sm", [] { TSm a; a.UDeclive = "%"; a.KDeclive = 100; a.Indice = 1; a.Execute(); }},
        {"z", [] { TZ a; a.Indice = 3; a.Execute(); }},
    };
    for (const auto& [nome, rodar] : assistentes) {
        const QString n = nome;
        roteiro.dialogos.push_back([n](QDialog& dd) {
            Gravar(dd, n);
            return 0;
        });
        rodar();
    }
    // Each figure beside its map.
    for (const char* par : {"terraco", "canal", "bacia"}) {
        const QImage f(kBin + "/" + par + ".bmp");
        const QImage mp(kBin + "/" + (QString(par) == "canal" ? QString("terraco") : QString(par)) + "_mapa.bmp");
        QImage junto(f.width() * 2 + 10, f.height(), QImage::Format_RGB32);
        junto.fill(Qt::white);
        QPainter p(&junto);
        p.drawImage(0, 0, f);
        p.drawImage(f.width() + 10, 0, mp);
        p.end();
        EXPECT_TRUE(junto.save(PastaTelas() + "/figura_" + par + ".png"));
    }
}

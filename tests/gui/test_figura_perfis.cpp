// The location report's pictures: a profile with a point every few centimetres of the page
// draws as the same profile sampled coarsely, and the pages drawn on several threads, or with
// the window's map, are the very pictures one thread and a fresh map give.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <vector>

#include "PixelsTeste.h"
#include "TestSupport.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/location/PerfisTerracos.h"
#include "core/location/PlanoMapa.h"
#include "core/project/ModeloProjeto.h"
#include "render/FiguraPerfis.h"
#include "render/FigurasLocacao.h"
#include "render/MapaPlano.h"

namespace {

// A level terrace 2 km long over ground waving 30 cm about its level, off the model from 900
// to 952 m; a point every 'passo' metres, each second one raised by 'ziguezague'.
TPerfilTerraco Perfil(double passo, double ziguezague) {
    TPerfilTerraco p;
    p.terraco = 7;
    const int n = int(std::lround(2000 / passo));
    for (int i = 0; i <= n; ++i) {
        TEstaca e;
        e.estaca = i * passo;
        e.cotaProjeto = 100;
        e.semTerreno = e.estaca > 900 && e.estaca < 952;
        e.cotaTerreno = e.semTerreno ? NAN : 100 + 0.3 * std::sin(e.estaca / 37) + (i % 2 ? ziguezague : 0);
        p.pontos.push_back(e);
    }
    return p;
}

QImage Pagina(const TPerfilTerraco& p) {
    return ImagemPerfis({&p}, QSizeF(TFigurasLocacao::kLargura, TFigurasLocacao::kAlturaPerfis), 200);
}

}  // namespace

TEST(FiguraPerfis, ADenseProfileDrawsAsTheSameProfileSampledCoarsely) {
    // 8 000 points over 1 100 pixels, with a zigzag of a fifth of a pixel, against a point
    // every 4 m (2 pixels): as much ink within 2 %, every stroke within a pixel of the other's,
    // and the dashes of the level where they were.
    const QImage densa = Pagina(Perfil(0.25, 0.0005)), rala = Pagina(Perfil(4, 0));
    const int tinta = Escuros(rala);
    EXPECT_NEAR(Escuros(densa), tinta, tinta / 50);
    EXPECT_EQ(SemPar(densa, rala, 0, rala.width()), 0);
    EXPECT_EQ(SemPar(rala, densa, 0, rala.width()), 0);
    EXPECT_LT(Diferentes(densa, rala, 0, 0, rala.width(), 60), tinta / 50);

    // The wave is drawn, not its chord: its ends alone (and the gap's) leave far less ink.
    TPerfilTerraco corda = Perfil(4, 0);
    std::vector<TEstaca> pontas;
    for (const TEstaca& e : corda.pontos)
        if (e.estaca == 0 || e.estaca == 2000 || e.semTerreno || std::abs(e.estaca - 900) < 2 ||
            std::abs(e.estaca - 952) < 2)
            pontas.push_back(e);
    corda.pontos = pontas;
    EXPECT_GT(tinta - Escuros(Pagina(corda)), tinta / 5);
}

TEST(FiguraPerfis, PagesOnManyThreadsAndTheWindowsMapGiveTheSamePictures) {
    PastaTemporaria pasta;
    CopiarExemploLocacao(pasta, {"Locacao em nivel.kzp"});
    const std::string kzp = pasta.Arquivo("Locacao em nivel.kzp");
    TModeloProjeto m;
    ASSERT_TRUE(m.LerProjeto(kzp));
    TLocacaoNivel& loc = m.LocacaoNivel();
    Locar(loc, ArquivosDaLocacao(loc, kzp, TArquivosLocacao{}), m.Precipitacao(), m.NumeroDaCurva(), m.TerracosNivel());
    const TFigurasLocacao f = FigurasDaLocacao(loc, kzp);
    ASSERT_GE(f.PaginasPerfis(), 2);

    QMap<QString, QImage> sozinho;
    {
        ThreadsFixos um(1);
        sozinho = ImagensDaLocacao(loc, f, kzp);
    }
    ASSERT_EQ(sozinho.size(), 1 + f.PaginasPerfis());
    ThreadsFixos tres(3);
    const TMapaPlano daJanela(PlanoMapaDaLocacao(loc, kzp));
    EXPECT_EQ(ImagensDaLocacao(loc, f, kzp, &daJanela), sozinho);
    // A map left over from another plan is not the report's.
    TPlanoMapa outro = PlanoMapaDaLocacao(loc, kzp);
    outro.linhas.pop_back();
    const TMapaPlano velho(outro);
    const QMap<QString, QImage> comVelho = ImagensDaLocacao(loc, f, kzp, &velho);
    EXPECT_EQ(comVelho, sozinho);
    EXPECT_NE(velho.Folha(QSize(600, 400)), daJanela.Folha(QSize(600, 400)));
}

TEST(FiguraPerfis, FillAndCutLabelsStayAboveTheLinesAndClearOfOneAnother) {
    // Ground waving 50 cm about the level, its crest on the chart's top line, and three stretches
    // off level 20 m apart on a 1 km chart: their labels are far wider than the gap.
    TPerfilTerraco p;
    p.terraco = 3;
    for (int i = 0; i <= 500; ++i) {
        TEstaca e;
        e.estaca = 2.0 * i;
        e.cotaProjeto = 100;
        e.cotaTerreno = 100 + 0.5 * std::sin(e.estaca / 50);
        p.pontos.push_back(e);
    }
    p.travessias = {{3, 500, 10, 30, 0}, {3, 520, 10, 0, 12}, {3, 540, 10, 45, 0}};
    const QImage img = Pagina(p);
    const auto Vermelho = [](QRgb c) { return qRed(c) > 150 && qGreen(c) < 110 && qBlue(c) < 110; };
    const auto Linha = [](QRgb c) {
        return (qRed(c) < 150 && qGreen(c) < 120 && qBlue(c) < 90 && qRed(c) > qBlue(c) + 30) ||  // ground
               (qBlue(c) > 150 && qRed(c) < 100);                                               // design
    };
    int textoTopo = img.height(), textoBase = -1, linhasTopo = img.height();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (Vermelho(c)) {
                textoTopo = std::min(textoTopo, y);
                textoBase = std::max(textoBase, y);
            } else if (Linha(c)) {
                linhasTopo = std::min(linhasTopo, y);
            }
        }
    ASSERT_GE(textoBase, 0);
    EXPECT_LT(textoBase, linhasTopo);
    // Three rows of 10-unit text at 200 dpi: well over two rows' height.
    EXPECT_GT(textoBase - textoTopo, 2 * 10 * 200 / 96);
}

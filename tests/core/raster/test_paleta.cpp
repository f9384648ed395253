// Palettes, the value -> colour rule, the legend and where points and pixels fall in a view.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestSupport.h"
#include "core/raster/EdicaoCelulas.h"
#include "core/raster/GradeMapa.h"
#include "core/raster/Imagem.h"
#include "core/raster/Paleta.h"
#include "core/raster/PropriedadesRaster.h"
#include "core/raster/RenderImagem.h"

namespace {

const std::string kPaletas = std::string(VANDORO_BIN_DIR) + "/../Arquivos Comuns/Paletas/";

TEST(Paleta, RoundTripThroughTheFile) {
    PastaTemporaria pasta;
    TPaleta p;
    for (int i = 0; i < 256; ++i) p.SetCor(i, 255 - i, (i * 7) % 256, i / 2);
    const std::string nome = pasta.Arquivo("teste.pal");
    p.SaveToFile(nome);
    const std::string texto = LerArquivo(nome);
    EXPECT_EQ(texto.substr(0, 15), "0 255 0 0\r\n1 25");
    TPaleta q;
    q.LoadFromFile(nome);
    EXPECT_TRUE(q == p);
    EXPECT_EQ(q.Red(3), 252);
    EXPECT_EQ(q.Green(3), 21);
    EXPECT_EQ(q.Blue(3), 1);
    // Red in the low byte; the render layout is 0xFFRRGGBB.
    EXPECT_EQ(q.Cor(3), 252u | (21u << 8) | (1u << 16));
    EXPECT_EQ(q.Argb(3), 0xFFFC1501u);
}

TEST(Paleta, TheGeneratedPalettesHave256ValidLines) {
    for (const char* n : {"idris256.pal", "qual256.pal", "bimod256.pal", "cinza1.pal", "paleta6.pal"}) {
        SCOPED_TRACE(n);
        const std::string texto = LerArquivo(kPaletas + n);
        int linhas = 0;
        for (char c : texto) linhas += c == '\n';
        EXPECT_EQ(linhas, 256);
        TPaleta p;
        EXPECT_NO_THROW(p.LoadFromFile(kPaletas + n));
    }
    TPaleta cinza;
    cinza.LoadFromFile(kPaletas + "cinza1.pal");
    EXPECT_EQ(cinza.Cor(0), 0u);
    EXPECT_EQ(cinza.Argb(255), 0xFFFFFFFFu);
    EXPECT_EQ(cinza.Red(128), 128);
    // The spectral ramp runs from blue to red.
    TPaleta esp;
    esp.LoadFromFile(kPaletas + "idris256.pal");
    EXPECT_GT(esp.Blue(0), esp.Red(0));
    EXPECT_GT(esp.Red(255), esp.Blue(255));
}

TEST(Paleta, ADamagedFileIsRefusedAndThePaletteKept) {
    PastaTemporaria pasta;
    TPaleta boa;
    boa.SetCor(0, 1, 2, 3);
    std::string linhas;
    for (int i = 0; i < 256; ++i) linhas += std::to_string(i) + " 10 20 30\n";

    const std::string curta = pasta.Arquivo("curta.pal");
    GravarArquivo(curta, "0 1 2 3\n1 4 5 6\n");
    TPaleta p = boa;
    const std::string msg = MensagemDe([&] { p.LoadFromFile(curta); });
    EXPECT_EQ(msg.rfind("O arquivo de paleta curta.pal está danificado: tem 2 linhas de cores.", 0), 0u) << msg;
    EXPECT_NE(msg.find("256 linhas"), std::string::npos);
    EXPECT_TRUE(p == boa);

    std::string fora = linhas;
    fora.replace(fora.find("5 10 20 30"), 10, "5 10 256 30");
    GravarArquivo(pasta.Arquivo("fora.pal"), fora);
    EXPECT_NE(MensagemDe([&] { p.LoadFromFile(pasta.Arquivo("fora.pal")); })
                  .find("a linha 6 tem uma cor fora de 0 a 255."),
              std::string::npos);

    std::string tres = linhas;
    tres.replace(tres.find("7 10 20 30"), 10, "7 10 20");
    GravarArquivo(pasta.Arquivo("tres.pal"), tres);
    EXPECT_NE(MensagemDe([&] { p.LoadFromFile(pasta.Arquivo("tres.pal")); })
                  .find("a linha 8 não tem quatro números inteiros."),
              std::string::npos);

    std::string real = linhas;
    real.replace(real.find("9 10 20 30"), 10, "9 10.5 20 30");
    GravarArquivo(pasta.Arquivo("real.pal"), real);
    EXPECT_NE(MensagemDe([&] { p.LoadFromFile(pasta.Arquivo("real.pal")); }).find("a linha 10 não tem"),
              std::string::npos);

    GravarArquivo(pasta.Arquivo("longa.pal"), linhas + "256 1 1 1\n");
    EXPECT_NE(MensagemDe([&] { p.LoadFromFile(pasta.Arquivo("longa.pal")); }).find("mais de 256"),
              std::string::npos);
    EXPECT_TRUE(p == boa);

    EXPECT_EQ(MensagemDe([&] { p.LoadFromFile(pasta.Arquivo("nada.pal")); }),
              "Erro. O arquivo de paleta " + pasta.Arquivo("nada.pal") + " não existe.");
    // CR LF, tabs and a trailing blank line are fine.
    std::string crlf;
    for (int i = 0; i < 256; ++i) crlf += std::to_string(i) + "\t1 2  3\r\n";
    GravarArquivo(pasta.Arquivo("crlf.pal"), crlf + "\r\n");
    EXPECT_NO_THROW(p.LoadFromFile(pasta.Arquivo("crlf.pal")));
    EXPECT_EQ(p.Blue(255), 3);
}

// A real image of 4 x 2 cells with the range 100..355 and one no-data cell.
void Imagem100a355(TImagem& img) {
    img.SetCellType(TTipoCelula::Real);
    img.SetColumns(4);
    img.SetRows(2);
    img.SetMinX(0);
    img.SetMaxX(40);
    img.SetMinY(0);
    img.SetMaxY(20);
    img.SetFlagValue(-99);
    img.Allocate();
    const float l0[] = {100, 355, 227.5f, -99}, l1[] = {100.5f, 354.9f, 101.5f, 102.5f};
    img.WriteRow(0, l0);
    img.WriteRow(1, l1);
}

TEST(RenderImagem, ValuesTakeTheirEntryAndFlagCellsAreWhite) {
    TImagem img;
    Imagem100a355(img);
    const TFaixaCores f = CalculaFaixa(img);
    EXPECT_DOUBLE_EQ(f.min, 100);
    EXPECT_DOUBLE_EQ(f.max, 355);
    EXPECT_DOUBLE_EQ(f.passo, 1);
    EXPECT_EQ(f.Indice(100), 0);
    EXPECT_EQ(f.Indice(355), 255);
    EXPECT_EQ(f.Indice(227.5), 128);  // halves to the even neighbour
    EXPECT_EQ(f.Indice(101.5), 2);
    EXPECT_EQ(f.Indice(102.5), 2);
    // Beyond the range (an edit before the range is taken again) stays on the palette.
    EXPECT_EQ(f.Indice(99), 0);
    EXPECT_EQ(f.Indice(400), 255);

    TPaleta p;
    for (int i = 0; i < 256; ++i) p.SetCor(i, i, 255 - i, 7);
    std::vector<uint32_t> buf(8, 0);
    RenderizaImagem(img, p, f, buf.data(), 4);
    EXPECT_EQ(buf[0], p.Argb(0));
    EXPECT_EQ(buf[1], p.Argb(255));
    EXPECT_EQ(buf[2], p.Argb(128));
    EXPECT_EQ(buf[3], kBrancoArgb);
    EXPECT_EQ(buf[6], p.Argb(2));
    EXPECT_EQ(buf[7], p.Argb(2));

    // An edit over a cell is drawn without touching the image.
    TEdicoesCelulas ed;
    ed.Define(3, 355);
    RenderizaImagem(img, p, f, buf.data(), 4, &ed);
    EXPECT_EQ(buf[3], p.Argb(255));
    EXPECT_FLOAT_EQ(img.GetReal(3), -99);
}

TEST(RenderImagem, EqualMinAndMaxGiveEntryZeroAndEqualLabels) {
    TImagem img;
    Imagem100a355(img);
    const float igual[] = {7, 7, 7, -99};
    img.WriteRow(0, igual);
    img.WriteRow(1, igual);
    const TFaixaCores f = CalculaFaixa(img);
    EXPECT_DOUBLE_EQ(f.passo, 0);
    EXPECT_EQ(f.Indice(7), 0);
    TPaleta p;
    p.SetCor(0, 200, 10, 10);
    std::vector<uint32_t> buf(8, 0);
    RenderizaImagem(img, p, f, buf.data(), 4);
    EXPECT_EQ(buf[0], p.Argb(0));
    EXPECT_EQ(buf[2], p.Argb(0));
    EXPECT_EQ(buf[3], kBrancoArgb);
    const auto r = RotulosLegenda(f);
    EXPECT_EQ(r[0], "7");
    EXPECT_EQ(r[1], "7");
    EXPECT_EQ(r[2], "7");
}

TEST(RenderImagem, LegendRunsFromMaxAtTheTopToMinAtTheBottom) {
    EXPECT_EQ(EntradaLegenda(0), 255);
    EXPECT_EQ(EntradaLegenda(104), 0);
    EXPECT_EQ(EntradaLegenda(52), 128);  // 52 * 255 / 104 = 127.5 -> even
    for (int k = 1; k < kAlturaLegenda; ++k) EXPECT_LE(EntradaLegenda(k), EntradaLegenda(k - 1));
    RegionalFixo pt(Regional::PtBR());
    const auto r = RotulosLegenda(TFaixaCores::De(100, 355.12345, TTipoCelula::Real));
    EXPECT_EQ(r[0], "355,123");
    EXPECT_EQ(r[1], "227,562");
    EXPECT_EQ(r[2], "100");
    // Integer images: whole-number midpoint.
    EXPECT_EQ(RotulosLegenda(TFaixaCores::De(3, 8, TTipoCelula::Inteiro))[1], "5");
}

TEST(RenderImagem, ViewPixelsZoomStepsAndMapPoints) {
    // At 200 % pixel (10, 7) shows column 5, row 3.
    EXPECT_EQ(CelulaDoPixel(10, 200), 5);
    EXPECT_EQ(CelulaDoPixel(7, 200), 3);
    EXPECT_EQ(CelulaDoPixel(3, 25), 12);
    EXPECT_EQ(CelulaDoPixel(149, 150), 99);

    // A 3 x 2 image seen at 200 % from view pixel (1, 1): 4 x 3 pixels.
    const uint32_t o[] = {1, 2, 3, 4, 5, 6};
    std::vector<uint32_t> d(12, 0);
    AmostraVista(o, 3, 2, 200, 1, 1, 4, 3, d.data(), 4);
    EXPECT_EQ(d, (std::vector<uint32_t>{1, 2, 2, 3, 4, 5, 5, 6, 4, 5, 5, 6}));
    // Past the image's east edge the view is left alone.
    std::vector<uint32_t> e(3, 9);
    AmostraVista(o, 3, 2, 100, 2, 0, 3, 1, e.data(), 3);
    EXPECT_EQ(e, (std::vector<uint32_t>{3, 9, 9}));

    int z = 25;
    EXPECT_EQ(ZoomMenos(z), 25);
    for (int esperado : {50, 75, 100, 150, 200}) EXPECT_EQ(z = ZoomMais(z), esperado);
    EXPECT_EQ(ZoomMais(450), 500);
    EXPECT_EQ(ZoomMais(500), 500);
    EXPECT_EQ(ZoomMenos(150), 100);
    EXPECT_EQ(ZoomMenos(100), 75);
    EXPECT_EQ(TamanhoExibido(4000, 25), 1000);
    EXPECT_EQ(TamanhoExibido(3, 75), 2);  // 2.25

    // A vertex at the centre of cell (2, 1) of 10 m cells lands on that pixel's centre.
    TImagem img;
    Imagem100a355(img);
    const TGradeMapa g = TGradeMapa::De(img);
    const TPixelMapa p100 = PixelDoPonto(g, g.XDoCentro(2), g.YDoCentro(1), 100);
    EXPECT_DOUBLE_EQ(p100.x, 2.5);
    EXPECT_DOUBLE_EQ(p100.y, 1.5);
    const TPixelMapa p400 = PixelDoPonto(g, g.XDoCentro(2), g.YDoCentro(1), 400);
    EXPECT_DOUBLE_EQ(p400.x, 10);  // block 8..12
    EXPECT_DOUBLE_EQ(p400.y, 6);
    EXPECT_EQ(CelulaDoPixel(static_cast<int>(p400.x), 400), 2);
    EXPECT_EQ(CelulaDoPixel(static_cast<int>(p400.y), 400), 1);
}

TEST(EdicaoCelulas, ValuesAreCheckedAgainstTheCellType) {
    TImagem b, i, r;
    b.SetCellType(TTipoCelula::Byte);
    i.SetCellType(TTipoCelula::Inteiro);
    r.SetCellType(TTipoCelula::Real);
    EXPECT_FLOAT_EQ(ValorAtributo(b, "255"), 255);
    EXPECT_FLOAT_EQ(ValorAtributo(b, "12,6"), 13);
    EXPECT_FLOAT_EQ(ValorAtributo(i, "32767"), 32767);
    EXPECT_FLOAT_EQ(ValorAtributo(r, "1.25"), 1.25f);
    EXPECT_FLOAT_EQ(ValorAtributo(r, "1,25"), 1.25f);
    for (auto [img, texto] : {std::pair<TImagem*, const char*>{&b, "256"}, {&i, "32768"}, {&r, "1e40"},
                              {&r, "abc"}, {&r, ""}, {&b, "1,2,3"}})
        EXPECT_EQ(MensagemDe([&] { ValorAtributo(*img, texto); }), "Valor inválido para atributo") << texto;
}

TEST(EdicaoCelulas, EditsReachOnlyTheFileWrittenAndTheImageStays) {
    PastaTemporaria pasta;
    const std::string nome = pasta.Arquivo("a.asc");
    GravarArquivo(nome, "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -99\n1 2 3\n4 5 6\n");
    TImagem img(TModoArmazenamento::Arquivo);
    ASSERT_TRUE(img.LoadFromFile(nome));
    TEdicoesCelulas ed;
    ed.Define(4, 50);
    float v = 0;
    ASSERT_TRUE(ed.Valor(4, v));
    EXPECT_FALSE(ed.Valor(3, v));
    const std::string saida = pasta.Arquivo("b.asc");
    GravaComEdicoes(img, ed, saida);
    TImagem lida;
    ASSERT_TRUE(lida.LoadFromFile(saida));
    EXPECT_FLOAT_EQ(lida.GetReal(4), 50);
    EXPECT_FLOAT_EQ(lida.GetReal(5), 6);
    EXPECT_FLOAT_EQ(lida.MaxValueReal(), 50);
    EXPECT_FLOAT_EQ(img.GetReal(4), 5);
}

}  // namespace

namespace {

TEST(PropriedadesRaster, AKilometreGridShowsMetresAndItsArea) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    // 30 x 40 cells of 0.03 km, 1000 of them valid.
    std::string asc = "ncols 30\nnrows 40\nxllcorner 0\nyllcorner 0\ncellsize 0.03\nNODATA_value -99\n";
    for (int i = 0; i < 1200; ++i) asc += std::string(i < 1000 ? (i == 7 ? "12.5" : "3") : "-99") + (i % 30 == 29 ? "\n" : " ");
    GravarArquivo(pasta.Arquivo("km.asc"), asc);
    TImagem img;
    ASSERT_TRUE(img.LoadFromFile(pasta.Arquivo("km.asc")));
    img.SetRefUnits("km");
    img.ComputeMinMax();
    const TPropriedadesRaster p = TPropriedadesRaster::De(img);
    EXPECT_EQ(p.tipo, "Real");
    EXPECT_EQ(p.tamPixel, "30 x 30");
    EXPECT_EQ(p.area, "900.000,0");
    EXPECT_EQ(p.valMin, "3,0");
    EXPECT_EQ(p.valMax, "12,5");
    EXPECT_EQ(p.maxX, "0,9");
    EXPECT_EQ(p.maxY, "1,2");
    EXPECT_EQ(p.colunas, "30");
    EXPECT_EQ(p.linhas, "40");
    // The same grid in metres: cells of 0.03 m.
    img.SetRefUnits("m");
    EXPECT_EQ(TPropriedadesRaster::De(img).tamPixel, "0,03 x 0,03");
}

}  // namespace

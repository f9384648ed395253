#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/rainfall/MapaEstado.h"

namespace {

const std::string kPastaQuenda = std::string(VANDORO_BIN_DIR) + "/../Arquivos Comuns/Quenda/";

struct Cidade {
    const char* nome;
    double lat, lon;  // degrees south and west, positive
};

TBitmapRGB MapaGerado(const std::string& arquivo) {
    const std::string path = kPastaQuenda + arquivo;
    return LerBMP(path);  // the build draws them; a missing file fails with its path
}

TCor PixelEm(const TGeorrefMapa& m, const TBitmapRGB& b, const Cidade& c) {
    int x = 0, y = 0;
    CoordParaPixel(m, c.lat, c.lon, x, y);
    EXPECT_TRUE(b.Dentro(x, y)) << c.nome;
    return b.Dentro(x, y) ? b.Pixel(x, y) : 0xFFFFFFFFu;
}

std::string Hex(TCor c) {
    char s[16];
    std::snprintf(s, sizeof s, "0x%06X", c);
    return s;
}

}  // namespace

TEST(MapaEstado, PixelDeCoordenadaCalculadoAMao) {
    const TGeorrefMapa* mg = MapaDoEstado(12);
    ASSERT_NE(mg, nullptr);
    int x = 0, y = 0;
    // Belo Horizonte: x = 420 - 420*(39.856471-43.9266)/(39.856471-51.046220) + 16 = 283.23,
    // y = (19.9102-14.232664)*327/(22.922378-14.232664) + 64 = 277.65.
    CoordParaPixel(*mg, 19.9102, 43.9266, x, y);
    EXPECT_EQ(x, 283);
    EXPECT_EQ(y, 278);
    // The corners of the extent fall on the offsets and on offset + size.
    const TGeorrefMapa* ba = MapaDoEstado(4);
    ASSERT_NE(ba, nullptr);
    CoordParaPixel(*ba, ba->LatN, ba->LonE, x, y);
    EXPECT_EQ(x, 414 + 16);
    EXPECT_EQ(y, 5);
    CoordParaPixel(*ba, ba->LatS, ba->LonW, x, y);
    EXPECT_EQ(x, 16);
    EXPECT_EQ(y, 436 + 5);

    EXPECT_EQ(MapaDoEstado(8), nullptr);  // Goiás has no state map
    EXPECT_EQ(MapaDoEstado(-1), nullptr);
    EXPECT_EQ(ArquivoMapaEstado(*MapaDoEstado(26)), "TO.bmp");
}

TEST(MapaEstado, PixelParaCoordenadaEVoltaDaOMesmoPixel) {
    std::vector<TGeorrefMapa> mapas = MapasEstados();
    mapas.push_back(MapaBrasil());
    for (const auto& m : mapas)
        for (int y = 0; y < 450; y += 7)
            for (int x = 0; x < 450; x += 11) {
                double lat = 0, lon = 0;
                PixelParaCoord(m, x, y, lat, lon);
                int x2 = -1, y2 = -1;
                CoordParaPixel(m, lat, lon, x2, y2);
                ASSERT_EQ(x2, x) << m.Sigla << " " << x << "," << y;
                ASSERT_EQ(y2, y) << m.Sigla << " " << x << "," << y;
            }
}

TEST(MapaEstado, TabelaDeCoresDoBrasil) {
    const std::set<int> semCor = {2, 6, 22, 25};  // Amapá, Distrito Federal, Roraima, Sergipe
    std::set<TCor> usadas;
    for (int i = 0; i < 27; ++i) {
        TCor c = 0;
        const bool tem = CorDoEstado(i, c);
        EXPECT_EQ(tem, semCor.count(i) == 0) << i;
        if (!tem) continue;
        EXPECT_EQ(EstadoDaCor(c), i);
        EXPECT_FALSE(CorComSetaNormal(c)) << i;  // every clickable state shows the hand
        usadas.insert(c);
    }
    EXPECT_EQ(usadas.size(), 23u);
    EXPECT_EQ(EstadoDaCor(0xFF0000), 12);  // pure blue in 0xBBGGRR is Minas Gerais
    EXPECT_EQ(EstadoDaCor(0x0000FF), -1);  // pure red is nobody
    for (TCor c : {0x000000u, 0xFFFFFFu, 0x0D0D0Du, 0x006666u, 0x00CC33u, 0x00CC00u}) {
        EXPECT_TRUE(CorComSetaNormal(c));
        EXPECT_EQ(EstadoDaCor(c), -1);
    }
}

TEST(MapaEstado, CidadesDoEstadoCaemNoAzulDoMapa) {
    struct Caso {
        int ind;
        std::vector<Cidade> dentro;
        Cidade vizinha;  // a city of another state inside the map's frame
    };
    const std::vector<Caso> casos = {
        {4,
         {{"Feira de Santana", 12.2664, 38.9663},
          {"Vitória da Conquista", 14.8615, 40.8442},
          {"Barreiras", 12.1439, 44.9968}},
         {"Montes Claros (MG)", 16.7282, 43.8578}},
        {7,
         {{"Colatina", 19.5493, 40.6269},
          {"Cachoeiro de Itapemirim", 20.8462, 41.1198},
          {"Linhares", 19.3946, 40.0643}},
         {"Conselheiro Pena (MG)", 19.1789, 41.4736}},
        {12,
         {{"Belo Horizonte", 19.9102, 43.9266},
          {"Uberlândia", 18.9141, 48.2749},
          {"Montes Claros", 16.7282, 43.8578},
          {"Juiz de Fora", 21.7595, 43.3398}},
         {"Goiânia (GO)", 16.6864, 49.2643}},
        {15,
         {{"Curitiba", 25.4195, 49.2646},
          {"Londrina", 23.304, 51.1691},
          {"Cascavel", 24.9573, 53.459},
          {"Maringá", 23.4205, 51.9333}},
         {"Joinville (SC)", 26.3045, 48.8487}},
        {18,
         {{"Nova Friburgo", 22.2932, 42.5377},
          {"Volta Redonda", 22.5202, 44.0996},
          {"Campos dos Goytacazes", 21.7622, 41.3181}},
         {"Juiz de Fora (MG)", 21.7595, 43.3398}},
        {24,
         {{"São Paulo", 23.5329, 46.6395},
          {"Campinas", 22.9053, 47.0659},
          {"Bauru", 22.3246, 49.0871},
          {"Presidente Prudente", 22.1207, 51.3925},
          {"Ribeirão Preto", 21.1699, 47.8099}},
         {"Londrina (PR)", 23.304, 51.1691}},
        {26,
         {{"Palmas", 10.24, 48.3558}, {"Araguaína", 7.19238, 48.2044}, {"Gurupi", 11.7279, 49.068}},
         {"Balsas (MA)", 7.53214, 46.0372}},
    };
    ASSERT_EQ(casos.size(), MapasEstados().size());
    for (const auto& caso : casos) {
        const TGeorrefMapa* m = MapaDoEstado(caso.ind);
        ASSERT_NE(m, nullptr);
        const TBitmapRGB b = MapaGerado(ArquivoMapaEstado(*m));
        ASSERT_EQ(b.Largura(), LarguraBitmapEstado);
        ASSERT_EQ(b.Altura(), AlturaBitmapEstado);
        for (const auto& c : caso.dentro)
            EXPECT_EQ(Hex(PixelEm(*m, b, c)), Hex(CorDentroEstado)) << m->Sigla << ": " << c.nome;
        EXPECT_NE(PixelEm(*m, b, caso.vizinha), CorDentroEstado) << m->Sigla << ": " << caso.vizinha.nome;
    }
}

TEST(MapaEstado, AzulDoMapaOcupaOEnquadramentoDoEstado) {
    // The table's extent is the state's own bounding box, so the blue area must reach the
    // offsets on every side, short only by rounding and by capes and island tips thinner
    // than a pixel (the south of São Paulo ends in one, 3 pixels long).
    for (const auto& m : MapasEstados()) {
        const TBitmapRGB b = MapaGerado(ArquivoMapaEstado(m));
        int xmin = 9999, xmax = -1, ymin = 9999, ymax = -1;
        for (int y = 0; y < b.Altura(); ++y)
            for (int x = 0; x < b.Largura(); ++x)
                if (b.Pixel(x, y) == CorDentroEstado) {
                    xmin = std::min(xmin, x);
                    xmax = std::max(xmax, x);
                    ymin = std::min(ymin, y);
                    ymax = std::max(ymax, y);
                }
        EXPECT_NEAR(xmin, m.OffX, 3) << m.Sigla;
        EXPECT_NEAR(xmax, m.OffX + m.Largura, 3) << m.Sigla;
        EXPECT_NEAR(ymin, m.OffY, 3) << m.Sigla;
        EXPECT_NEAR(ymax, m.OffY + m.Altura, 3) << m.Sigla;
    }
}

TEST(MapaEstado, MapaDoBrasilTemACorDoEstadoNasCapitais) {
    const TBitmapRGB b = MapaGerado(std::string("Mapas/") + ArquivoMapaBrasil);
    ASSERT_EQ(b.Largura(), LarguraBitmapBrasil);
    ASSERT_EQ(b.Altura(), AlturaBitmapBrasil);
    const TGeorrefMapa& m = MapaBrasil();
    const struct {
        Cidade c;
        int ind;
    } capitais[] = {
        {{"Belo Horizonte", 19.9102, 43.9266}, 12}, {{"São Paulo", 23.5329, 46.6395}, 24},
        {{"Curitiba", 25.4195, 49.2646}, 15},       {{"Goiânia", 16.6864, 49.2643}, 8},
        {{"Cuiabá", 15.601, 56.0974}, 10},          {{"Campo Grande", 20.4486, 54.6295}, 11},
        {{"Manaus", 3.11866, 60.0212}, 3},          {{"Porto Velho", 8.76077, 63.8999}, 21},
        {{"Palmas", 10.24, 48.3558}, 26},           {{"Rio Branco", 9.97499, 67.8243}, 0},
        {{"Porto Alegre", 30.0318, 51.2065}, 20},   {{"Feira de Santana (BA)", 12.2664, 38.9663}, 4},
    };
    for (const auto& k : capitais) {
        const TCor c = PixelEm(m, b, k.c);
        EXPECT_EQ(EstadoDaCor(c), k.ind) << k.c.nome << " " << Hex(c);
    }
    // Brasília (a state chosen from the list only) and the open sea keep the arrow.
    EXPECT_TRUE(CorComSetaNormal(PixelEm(m, b, {"Brasília", 15.7795, 47.9297})));
    EXPECT_TRUE(CorComSetaNormal(PixelEm(m, b, {"Atlântico", 25.0, 40.0})));
    // Every pixel either selects a state or keeps the arrow; nothing in between.
    for (int y = 0; y < b.Altura(); ++y)
        for (int x = 0; x < b.Largura(); ++x) {
            const TCor c = b.Pixel(x, y);
            ASSERT_TRUE(EstadoDaCor(c) >= 0 || CorComSetaNormal(c)) << x << "," << y << " " << Hex(c);
        }
}

TEST(Bitmap, GravaELeDeVoltaComLinhasAlinhadas) {
    PastaTemporaria pasta;
    const std::string path = pasta.Arquivo("t.bmp");
    TBitmapRGB b(3, 2, 0x000000);  // 3 pixels = 9 bytes, padded to 12 per row
    b.SetPixel(0, 0, 0xFF0000);
    b.SetPixel(2, 0, 0x123456);
    b.SetPixel(1, 1, 0x0000FF);
    GravarBMP(b, path);
    const std::string s = LerArquivo(path);
    ASSERT_EQ(s.size(), 54u + 2 * 12);
    EXPECT_EQ(s.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(s[2]), 78);
    EXPECT_EQ(static_cast<unsigned char>(s[28]), 24);
    // Bottom row first; each pixel blue, green, red.
    EXPECT_EQ(static_cast<unsigned char>(s[54 + 3 + 2]), 0xFF);  // (1,1) red byte
    EXPECT_EQ(static_cast<unsigned char>(s[54 + 12 + 0]), 0xFF); // (0,0) blue byte
    EXPECT_EQ(static_cast<unsigned char>(s[54 + 12 + 6]), 0x12); // (2,0) blue byte
    EXPECT_EQ(static_cast<unsigned char>(s[54 + 12 + 8]), 0x56); // (2,0) red byte

    const TBitmapRGB r = LerBMP(path);
    ASSERT_EQ(r.Largura(), 3);
    ASSERT_EQ(r.Altura(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(r.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;

    // The same picture stored top-down (negative height) reads the same.
    std::string td = s;
    const std::int32_t menos2 = -2;
    for (int i = 0; i < 4; ++i) td[22 + i] = static_cast<char>((static_cast<std::uint32_t>(menos2) >> (8 * i)) & 0xFF);
    td = td.substr(0, 54) + s.substr(54 + 12, 12) + s.substr(54, 12);
    GravarArquivo(path, td);
    const TBitmapRGB t = LerBMP(path);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(t.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
}

TEST(Bitmap, LinhaECirculoDoMarcador) {
    auto contar = [](const TBitmapRGB& b) {
        int n = 0;
        for (int y = 0; y < b.Altura(); ++y)
            for (int x = 0; x < b.Largura(); ++x) n += b.Pixel(x, y) == 0;
        return n;
    };
    // Radius 3: 7 + 2*5 + 2*5 + 2 integer points with dx^2 + dy^2 <= 9.
    TBitmapRGB b(9, 9);
    b.CirculoCheio(4, 4, 3, 0x000000);
    EXPECT_EQ(contar(b), 29);
    EXPECT_EQ(b.Pixel(4, 1), 0u);
    EXPECT_EQ(b.Pixel(2, 2), 0u);  // 2^2 + 2^2 <= 9
    EXPECT_NE(b.Pixel(2, 1), 0u);  // 2^2 + 3^2 > 9
    // At a corner only the quarter inside the picture is drawn.
    TBitmapRGB c(9, 9);
    c.CirculoCheio(0, 0, 3, 0x000000);
    EXPECT_EQ(contar(c), 11);
    // A line covers both ends and one pixel per column of its longer side.
    TBitmapRGB l(9, 9);
    l.Linha(6, 4, 0, 1, 0x000000);
    EXPECT_EQ(contar(l), 7);
    EXPECT_EQ(l.Pixel(0, 1), 0u);
    EXPECT_EQ(l.Pixel(6, 4), 0u);
}

TEST(Bitmap, RecusaArquivosQueNaoSabeLer) {
    PastaTemporaria pasta;
    const std::string path = pasta.Arquivo("t.bmp");
    GravarBMP(TBitmapRGB(4, 4), path);
    const std::string bom = LerArquivo(path);

    auto mensagem = [&](const std::string& bytes) {
        GravarArquivo(path, bytes);
        try {
            LerBMP(path);
        } catch (const EVandoro& e) {
            return std::string(e.what());
        }
        return std::string("aceito");
    };
    const std::string invalido = "Erro. O arquivo " + path + " não é um bitmap válido.";
    EXPECT_EQ(mensagem(bom.substr(0, bom.size() - 1)), invalido);  // pixels cut short
    std::string s = bom;
    s[28] = 32;  // 32 bits per pixel
    EXPECT_EQ(mensagem(s), "Erro. O arquivo " + path + " não é um bitmap de 24 bits sem compressão.");
    s = bom;
    s[30] = 1;  // run-length compressed
    EXPECT_EQ(mensagem(s), "Erro. O arquivo " + path + " não é um bitmap de 24 bits sem compressão.");
    s = bom;
    s[21] = 0x7F;  // absurd width
    EXPECT_EQ(mensagem(s), invalido);
    EXPECT_EQ(mensagem("GIF89a" + std::string(60, '\0')), invalido);
    EXPECT_THROW(LerBMP(pasta.Arquivo("nao_existe.bmp")), EVandoro);
}

TEST(PreencherPoligono, QuadradoComFuroETriangulo) {
    auto contar = [](const TBitmapRGB& b, TCor c) {
        int n = 0;
        for (int y = 0; y < b.Altura(); ++y)
            for (int x = 0; x < b.Largura(); ++x) n += b.Pixel(x, y) == c;
        return n;
    };
    const TCor azul = CorDentroEstado;
    // Square 1..5: integer positions 1 <= x,y < 5 are inside, 16 pixels.
    TBitmapRGB b(8, 8);
    const TAnel quadrado = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
    PreencherPoligono(b, {quadrado}, azul);
    EXPECT_EQ(contar(b, azul), 16);
    EXPECT_EQ(b.Pixel(1, 1), azul);
    EXPECT_EQ(b.Pixel(4, 4), azul);
    EXPECT_NE(b.Pixel(5, 5), azul);

    // With a hole 2..4 (wound either way, ring closed explicitly): 4 pixels fewer.
    TBitmapRGB f(8, 8);
    const TAnel furo = {{2, 2}, {2, 4}, {4, 4}, {4, 2}, {2, 2}};
    PreencherPoligono(f, {quadrado, furo}, azul);
    EXPECT_EQ(contar(f, azul), 12);
    EXPECT_NE(f.Pixel(2, 2), azul);
    EXPECT_NE(f.Pixel(3, 3), azul);
    EXPECT_EQ(f.Pixel(4, 4), azul);

    // Right triangle with legs 4: rows give 4 + 3 + 2 + 1 pixels.
    TBitmapRGB t(8, 8);
    PreencherPoligono(t, {{{0, 0}, {4, 0}, {0, 4}}}, azul);
    EXPECT_EQ(contar(t, azul), 10);
    EXPECT_EQ(t.Pixel(3, 0), azul);
    EXPECT_NE(t.Pixel(4, 0), azul);

    // A ring reaching far beyond the picture fills just the picture; degenerate rings nothing.
    TBitmapRGB g(5, 4);
    PreencherPoligono(g, {{{-1e12, -3}, {1e12, -3}, {1e12, 1e9}, {-1e12, 1e9}}, {{1, 1}, {3, 3}}}, azul);
    EXPECT_EQ(contar(g, azul), 20);
}

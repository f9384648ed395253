#include <gtest/gtest.h>

#include <cstring>

#include "GradesSinteticas.h"
#include "TestSupport.h"
#include "core/common/Threads.h"
#include "core/gdal/Gdal.h"
#include "core/raster/Declividade.h"
#include "core/raster/Filtro.h"
#include "core/raster/FormatoImagem.h"

namespace {

// Every cell of a grid file, NaN and no-data included, as its 32-bit pattern.
std::vector<uint32_t> Bits(const std::string& arq) {
    TImagem img;
    EXPECT_TRUE(img.LoadFromFile(arq)) << arq;
    std::vector<uint32_t> b(static_cast<size_t>(img.Columns()) * img.Rows());
    std::vector<float> linha(static_cast<size_t>(img.Columns()));
    for (int r = 0; r < img.Rows(); ++r) {
        img.RawRow(r, linha.data());
        std::memcpy(b.data() + static_cast<size_t>(r) * img.Columns(), linha.data(), linha.size() * 4);
    }
    return b;
}

// A terrain tall enough for several bands, saved as 'arq'.
void Terreno(const std::string& arq, TTipoCelula tipo, int lado) {
    TImagem img;
    TerrenoSintetico(img, tipo, lado);
    img.SetCrs(CrsDeEpsg(31983));
    img.SaveToFile(arq);
}

}  // namespace

TEST(RasterThreads, DeclividadeIgualComUmEDoisThreads) {
    PastaTemporaria tmp;
    Terreno(tmp.Arquivo("real.flt"), TTipoCelula::Real, 401);
    Terreno(tmp.Arquivo("inteiro.doc"), TTipoCelula::Inteiro, 389);
    Terreno(tmp.Arquivo("real.tif"), TTipoCelula::Real, 333);
    for (const auto& [entrada, ext] : std::vector<std::pair<std::string, std::string>>{
             {"real.flt", ".flt"}, {"inteiro.doc", ".doc"}, {"real.tif", ".tif"}}) {
        std::string saida[2];
        for (int n = 1; n <= 2; ++n) {
            ThreadsFixos t(n);
            saida[n - 1] = tmp.Arquivo("d" + std::to_string(n) + "_" + entrada + ext);
            CalculaDeclividade(tmp.Arquivo(entrada), saida[n - 1], "Declividade");
        }
        const std::vector<uint32_t> um = Bits(saida[0]);
        EXPECT_GT(um.size(), 100000u);
        EXPECT_TRUE(um == Bits(saida[1])) << entrada;
        // Files of the program's own formats are the same byte for byte, header included.
        if (ext != ".tif") {
            const std::vector<std::string> a = ArquivosDaImagem(saida[0]), b = ArquivosDaImagem(saida[1]);
            ASSERT_EQ(a.size(), b.size());
            for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(LerArquivo(a[i]), LerArquivo(b[i])) << a[i];
        }
    }
}

TEST(RasterThreads, FiltroIgualComUmEDoisThreads) {
    PastaTemporaria tmp;
    Terreno(tmp.Arquivo("real.flt"), TTipoCelula::Real, 300);
    Terreno(tmp.Arquivo("inteiro.doc"), TTipoCelula::Inteiro, 290);
    for (const std::string entrada : {"real.flt", "inteiro.doc"}) {
        std::string saida[2];
        for (int n = 1; n <= 2; ++n) {
            ThreadsFixos t(n);
            saida[n - 1] = tmp.Arquivo("f" + std::to_string(n) + "_" + entrada + ".flt");
            CalculaFiltro(tmp.Arquivo(entrada), saida[n - 1], 3, "Filtrada");
        }
        EXPECT_EQ(LerArquivo(saida[0]), LerArquivo(saida[1])) << entrada;
        EXPECT_EQ(LerArquivo(TrocaExtensao(saida[0], ".hdr")), LerArquivo(TrocaExtensao(saida[1], ".hdr")));
    }
}

// The GeoTIFF route (read, computed in bands, written in tiles) against the cells the
// program gave before either changed: the slope of the shipped example, kept as a file.
TEST(RasterThreads, DeclividadeGeoTiffDoExemploIgualAAnterior) {
    PastaTemporaria tmp;
    TImagem asc;
    ASSERT_TRUE(asc.LoadFromFile(VANDORO_SOURCE_DIR "/data/Exemplos/hugo_site.asc"));
    asc.SaveToFile(tmp.Arquivo("hugo.tif"));
    const std::vector<uint32_t> antes = Bits(DadosTeste("raster/hugo_site_declividade.flt"));
    for (int n = 1; n <= 2; ++n) {
        ThreadsFixos t(n);
        const std::string saida = tmp.Arquivo("d" + std::to_string(n) + ".tif");
        CalculaDeclividade(tmp.Arquivo("hugo.tif"), saida, "Declividade");
        EXPECT_TRUE(Bits(saida) == antes) << n;
        TImagem d;
        ASSERT_TRUE(d.LoadFromFile(saida));
        EXPECT_EQ(d.Columns(), 76);
        EXPECT_EQ(d.Rows(), 55);
        EXPECT_EQ(d.MaxX(), 760.0);
        EXPECT_EQ(d.MaxY(), 550.0);
        EXPECT_EQ(d.FlagValue(), -9999.0f);
    }
}

// A GeoTIFF result is compressed exactly when its input was: slope, filter and conversion,
// from a compressed and a plain GeoTIFF, and from the program's own format.
TEST(RasterThreads, GeoTiffCompactadoComoAEntrada) {
    PastaTemporaria tmp;
    TImagem asc;
    ASSERT_TRUE(asc.LoadFromFile(VANDORO_SOURCE_DIR "/data/Exemplos/hugo_site.asc"));
    EXPECT_FALSE(asc.Compressed());
    asc.SaveToFile(tmp.Arquivo("simples.tif"));
    asc.SaveToFile(tmp.Arquivo("hugo.flt"));
    asc.SetCompressed(true);
    asc.SaveToFile(tmp.Arquivo("compactada.tif"));
    EXPECT_FALSE(LerRasterGdal(tmp.Arquivo("simples.tif")).compactada);
    ASSERT_TRUE(LerRasterGdal(tmp.Arquivo("compactada.tif")).compactada);
    for (const auto& [entrada, compactada] : std::vector<std::pair<std::string, bool>>{
             {"simples.tif", false}, {"compactada.tif", true}, {"hugo.flt", false}}) {
        const std::string e = tmp.Arquivo(entrada);
        CalculaDeclividade(e, tmp.Arquivo("d_" + entrada + ".tif"), "Declividade");
        CalculaFiltro(e, tmp.Arquivo("f_" + entrada + ".tif"), 1, "Filtrada");
        ConverteImagem(e, tmp.Arquivo("c_" + entrada + ".tif"));
        for (const char* p : {"d_", "f_", "c_"}) {
            const TGradeGdal g = LerRasterGdal(tmp.Arquivo(p + entrada + ".tif"));
            EXPECT_EQ(g.compactada, compactada) << p << entrada;
            EXPECT_EQ(g.colunas, 76);
        }
        // The cells do not depend on it.
        EXPECT_TRUE(Bits(tmp.Arquivo("d_" + entrada + ".tif")) == Bits(DadosTeste("raster/hugo_site_declividade.flt")));
    }
    // A compressed file of many blocks, decoded on one thread and on two: the same cells.
    TImagem grande;
    TerrenoSintetico(grande, TTipoCelula::Real, 700);
    grande.SetCompressed(true);
    grande.SaveToFile(tmp.Arquivo("grande.tif"));
    std::vector<uint32_t> lidas[2];
    for (int n = 1; n <= 2; ++n) {
        ThreadsFixos t(n);
        lidas[n - 1] = Bits(tmp.Arquivo("grande.tif"));
    }
    EXPECT_EQ(lidas[0].size(), 700u * 700u);
    EXPECT_TRUE(lidas[0] == lidas[1]);
    EXPECT_TRUE(lidas[0] == Bits(tmp.Arquivo("grande.tif")));
}

// The command writes the slope over the elevations it read; the file must be the one the
// copying worker writes, byte for byte, header included, in every format it reads.
TEST(RasterThreads, DeclividadeNoLugarIgualAACopia) {
    PastaTemporaria tmp;
    for (const std::string ext : {".flt", ".doc", ".asc", ".tif"}) {
        const std::string e = tmp.Arquivo("e" + ext);
        Terreno(e, TTipoCelula::Real, 211);
        for (int n = 1; n <= 2; ++n) {
            ThreadsFixos t(n);
            const std::string lugar = tmp.Arquivo("l" + std::to_string(n) + ext);
            const std::string copia = tmp.Arquivo("c" + std::to_string(n) + ext);
            CalculaDeclividade(e, lugar, "Declividade");
            TDecliTipoSingle().Compute(e, copia, "Declividade");
            if (ext == ".tif") {
                EXPECT_TRUE(Bits(lugar) == Bits(copia)) << ext << n;
                continue;
            }
            const std::vector<std::string> a = ArquivosDaImagem(lugar), b = ArquivosDaImagem(copia);
            ASSERT_EQ(a.size(), b.size());
            for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(LerArquivo(a[i]), LerArquivo(b[i])) << a[i];
        }
    }
}


// The format table: which format a name is, and the open dialogs' filter built from it.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/raster/FormatoImagem.h"

TEST(Formatos, ANameIsItsFormatByTheTable) {
    const struct {
        const char* nome;
        TFormatoImagem formato;
    } casos[] = {
        {"a.asc", TFormatoImagem::ArcViewAscii},   {"d/A.ASC", TFormatoImagem::ArcViewAscii},
        {"a.hdr", TFormatoImagem::ArcViewBinario}, {"a.Flt", TFormatoImagem::ArcViewBinario},
        {"a.doc", TFormatoImagem::Idrisi},         {"a.IMG", TFormatoImagem::Idrisi},
        {"a.rst", TFormatoImagem::Idrisi32},       {"a.RDC", TFormatoImagem::Idrisi32},
        {"a.grd", TFormatoImagem::Surfer},         {"a.tif", TFormatoImagem::GeoTiff},
        {"a.TIFF", TFormatoImagem::GeoTiff},       {"a.ras", TFormatoImagem::Desconhecido},
        {"a.txt", TFormatoImagem::Desconhecido},   {"tif", TFormatoImagem::Desconhecido},
        // The program's own formats go by the last three characters, GeoTIFF by its extension.
        {"mapaasc", TFormatoImagem::ArcViewAscii}, {"mapatif", TFormatoImagem::Desconhecido},
    };
    for (const auto& c : casos) EXPECT_EQ(FormatoDe(c.nome), c.formato) << c.nome;
}

// The four open dialogs once had two lists, one with ".ras": no reader takes that name.
TEST(Formatos, TheOpenDialogsFilterListsEveryFormatOfTheTable) {
    EXPECT_EQ(FiltroImagens(),
              "Imagens válidas (*.img *.rst *.flt *.asc *.grd *.tif *.tiff);;Imagens do Idrisi 16 bits (*.img);;"
              "Imagens do Idrisi 32 bits (*.rst);;Imagens do ArcView (*.flt);;Imagens do ArcView (*.asc);;"
              "Imagens do Surfer (*.grd);;GeoTIFF (*.tif *.tiff)");
}

// A pair's other half: the same name with the partner's extension, in lower case unless only
// the upper-case file is there.
TEST(Formatos, ThePairsOtherHalfInEitherCase) {
    PastaTemporaria p;
    const std::string img = p.Arquivo("m.IMG");
    EXPECT_EQ(ArquivosDaImagem(img), (std::vector<std::string>{p.Arquivo("m.doc"), img}));
    GravarArquivo(p.Arquivo("m.DOC"), "");
    EXPECT_EQ(ArquivosDaImagem(img), (std::vector<std::string>{p.Arquivo("m.DOC"), img}));
    GravarArquivo(p.Arquivo("m.doc"), "");
    EXPECT_EQ(ArquivosDaImagem(img), (std::vector<std::string>{p.Arquivo("m.doc"), img}));
    EXPECT_EQ(ArquivosDaImagem("a.b/c.flt"), (std::vector<std::string>{"a.b/c.hdr", "a.b/c.flt"}));
    EXPECT_EQ(ArquivosDaImagem("c.asc"), (std::vector<std::string>{"c.asc"}));
}

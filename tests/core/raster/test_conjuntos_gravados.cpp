// A grid's files (cells, header, .prj) and a vector's .vec/.dvc are replaced as one set: a
// member that cannot be replaced leaves every old file, and a new grid never keeps the .prj of
// the one it replaces.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "TestSupport.h"
#include "core/gdal/Gdal.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"

namespace fs = std::filesystem;

namespace {

void SomenteLeitura(const std::string& a, bool sim) {
    if (sim) fs::permissions(a, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    else fs::permissions(a, fs::perms::owner_write, fs::perm_options::add);
}

// A 2 x 2 grid of 10 m cells whose west edge is 'x0'.
void Grade(TImagem& img, float v, const std::string& crs, double x0 = 500000) {
    img.SetCellType(TTipoCelula::Real);
    img.SetColumns(2);
    img.SetRows(2);
    img.SetMinX(x0);
    img.SetMaxX(x0 + 20);
    img.SetMinY(7500000);
    img.SetMaxY(7500020);
    img.SetFlagValue(-9999);
    img.SetRefUnits("m");
    img.SetCrs(crs);
    img.Allocate();
    for (int i = 0; i < 4; ++i) img.SetReal(i, v + static_cast<float>(i));
    img.ComputeMinMax();
}

}  // namespace

TEST(ConjuntosGravados, AGridReplacesHeaderCellsAndPrjTogether) {
    PastaTemporaria p;
    const std::string flt = p.Arquivo("g.flt");
    TImagem antiga;
    Grade(antiga, 100, CrsDeEpsg(31983));
    antiga.SaveToFile(flt);
    const auto velho = ConteudoDaPasta(p.Caminho());
    ASSERT_EQ(velho.size(), 3u);  // g.flt, g.hdr, g.prj

    // Any member that cannot be replaced leaves the whole old grid.
    TImagem nova;
    Grade(nova, 200, CrsDeEpsg(31982), 600000);
    for (const char* membro : {"g.flt", "g.hdr", "g.prj"}) {
        SCOPED_TRACE(membro);
        SomenteLeitura(p.Arquivo(membro), true);
        EXPECT_EQ(MensagemDe([&] { nova.SaveToFile(flt); }),
                  "Não foi possível gravar o arquivo " + p.Arquivo(membro) + ": o arquivo está marcado como somente leitura.");
        SomenteLeitura(p.Arquivo(membro), false);
        EXPECT_EQ(ConteudoDaPasta(p.Caminho()), velho);
    }
    nova.SaveToFile(flt);
    const auto novo = ConteudoDaPasta(p.Caminho());
    for (const char* membro : {"g.flt", "g.hdr", "g.prj"}) EXPECT_NE(novo.at(membro), velho.at(membro)) << membro;

    // A grid without a system does not inherit the old one's .prj.
    TImagem semCrs;
    Grade(semCrs, 300, "");
    semCrs.SaveToFile(flt);
    EXPECT_FALSE(fs::exists(p.Arquivo("g.prj")));
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()).size(), 2u);
    TImagem lida;
    ASSERT_TRUE(lida.LoadFromFile(flt));
    EXPECT_TRUE(lida.Crs().empty());
    EXPECT_FLOAT_EQ(lida.GetReal(0), 300);
}

TEST(ConjuntosGravados, AVecAndItsDvcReplaceTheOldPairTogether) {
    PastaTemporaria p;
    TVET v("m");
    TVetorRecPonto l;
    l.SetLineId(1);
    l.Add(1, 2, 100);
    l.Add(3, 4, 100);
    v.AppendLine(l);
    ExportarIdrisi(v, p.Arquivo("s.vec"), "Antigo");
    const auto velho = ConteudoDaPasta(p.Caminho());
    ASSERT_EQ(velho.size(), 2u);
    SomenteLeitura(p.Arquivo("s.dvc"), true);
    EXPECT_NE(MensagemDe([&] { ExportarIdrisi(v, p.Arquivo("s.vec"), "Novo"); }), "");
    SomenteLeitura(p.Arquivo("s.dvc"), false);
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()), velho);
    ExportarIdrisi(v, p.Arquivo("s.vec"), "Novo");
    EXPECT_NE(ConteudoDaPasta(p.Caminho()).at("s.dvc"), velho.at("s.dvc"));
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()).size(), 2u);
}

// The system a grid's ".prj" declares travels to the grids written from it, read into WKT
// only where something asks what it is.
#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"
#include "core/gdal/Gdal.h"
#include "core/raster/Imagem.h"

namespace {

// A 3 x 2 grid with the given bounds, saved as 'nome' with 'prj' beside it ("" none).
void GradeComPrj(const std::string& nome, const std::string& prj, double x0, double y0, double celula) {
    TImagem img;
    img.SetCellType(TTipoCelula::Real);
    img.SetColumns(3);
    img.SetRows(2);
    img.SetMinX(x0);
    img.SetMaxX(x0 + 3 * celula);
    img.SetMinY(y0);
    img.SetMaxY(y0 + 2 * celula);
    img.SetFlagValue(-9999);
    img.Allocate();
    for (int i = 0; i < 6; ++i) img.SetReal(i, 700.0f + static_cast<float>(i));
    img.SaveToFile(nome);
    if (!prj.empty()) GravarArquivo(TrocaExtensao(nome, ".prj"), prj);
}

std::string Copia(const PastaTemporaria& p, const std::string& de, const std::string& para) {
    TImagem img;
    EXPECT_TRUE(img.LoadFromFile(p.Arquivo(de)));
    TImagem saida;
    saida.CopyHeaderFrom(img);
    saida.Allocate();
    for (int r = 0; r < img.Rows(); ++r) {
        std::vector<float> linha(static_cast<size_t>(img.Columns()));
        img.RawRow(r, linha.data());
        saida.WriteRow(r, linha.data());
    }
    saida.SaveToFile(p.Arquivo(para));
    return LerArquivo(p.Arquivo(TrocaExtensao(para, ".prj")));
}

}  // namespace

TEST(SistemaGrade, AWktPrjGoesOutAsItCameInAndAnotherFormIsWrittenAsEsri) {
    PastaTemporaria p;
    // An ESRI .prj as a GIS leaves it, with a line end GDAL would not write.
    const std::string esri = CrsEsri(CrsDeEpsg(31983)) + "\r\n";
    GradeComPrj(p.Arquivo("e.flt"), esri, 500000, 7500000, 10);
    // The output's old .prj, of another zone, is replaced.
    GradeComPrj(p.Arquivo("s.flt"), CrsEsri(CrsDeEpsg(31982)), 500000, 7500000, 10);
    EXPECT_EQ(Copia(p, "e.flt", "s.flt"), esri);
    TImagem s;
    ASSERT_TRUE(s.LoadFromFile(p.Arquivo("s.flt")));
    EXPECT_EQ(DescreveCrs(s.Crs()).epsg, 31983);
    EXPECT_TRUE(s.UnitDeclared());
    // Into a ".asc" of the same name the .prj is the one already there, left as it is.
    EXPECT_EQ(Copia(p, "e.flt", "e.asc"), esri);

    // "EPSG:n" in a .prj is read by the program but by few others: written out as ESRI WKT.
    GradeComPrj(p.Arquivo("c.flt"), "EPSG:31982\n", 500000, 7500000, 10);
    const std::string escrito = Copia(p, "c.flt", "d.flt");
    EXPECT_EQ(escrito, CrsEsri(CrsDeEpsg(31982)));
    EXPECT_EQ(DescreveCrs(CrsDeTexto(escrito)).epsg, 31982);

    // A WKT .prj PROJ cannot read declares nothing to the program, and goes out as it came.
    const std::string lixo = "PROJCS[\"sem fim\"";
    GradeComPrj(p.Arquivo("l.flt"), lixo, 500000, 7500000, 10);
    TImagem l;
    ASSERT_TRUE(l.LoadFromFile(p.Arquivo("l.flt")));
    EXPECT_TRUE(l.Crs().empty());
    EXPECT_FALSE(l.UnitDeclared());
    EXPECT_EQ(Copia(p, "l.flt", "m.flt"), lixo);
}

TEST(SistemaGrade, DegreesAreToldFromThePrjAndFromTheBoundsAlike) {
    PastaTemporaria p;
    const std::string geo = CrsEsri(CrsDeEpsg(4674)), utm = CrsEsri(CrsDeEpsg(31983));
    struct Caso {
        const char* nome;
        std::string prj;
        double x0, y0, celula;
        bool graus;
    } casos[] = {
        {"utm.flt", utm, 500000, 7500000, 10, false},
        {"geo.flt", geo, -47.5, -22.5, 0.0001, true},
        // Bounds in metres do not make a geographic .prj projected.
        {"geo_m.flt", geo, 500000, 7500000, 10, true},
        // Bounds that look like degrees do not make a projected .prj geographic.
        {"utm_g.flt", utm, -47.5, -22.5, 0.0001, false},
        {"nada_g.flt", "", -47.5, -22.5, 0.0001, true},
        // A .prj that cannot be read leaves the bounds to tell.
        {"lixo_g.flt", "PROJCS[\"sem fim\"", -47.5, -22.5, 0.0001, true},
        {"lixo_m.flt", "PROJCS[\"sem fim\"", 500000, 7500000, 10, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        GradeComPrj(p.Arquivo(c.nome), c.prj, c.x0, c.y0, c.celula);
        TImagem img;
        ASSERT_TRUE(img.LoadFromFile(p.Arquivo(c.nome)));
        EXPECT_EQ(ImagemEmGraus(img), c.graus);
        EXPECT_EQ(MensagemSemUnidade(img).empty(), !c.graus);
    }
}

TEST(SistemaGrade, CopiesReadTheSharedPrjOnceFromAnyThread) {
    PastaTemporaria p;
    GradeComPrj(p.Arquivo("e.flt"), CrsEsri(CrsDeEpsg(31983)), 500000, 7500000, 10);
    TImagem img;
    ASSERT_TRUE(img.LoadFromFile(p.Arquivo("e.flt")));
    TImagem a, b;
    a.CopyHeaderFrom(img);
    b.CopyHeaderFrom(img);
    std::string wa, wb;
    std::thread ta([&] { wa = a.Crs(); });
    std::thread tb([&] { wb = b.Crs(); });
    ta.join();
    tb.join();
    EXPECT_FALSE(wa.empty());
    EXPECT_EQ(wa, wb);
    EXPECT_EQ(&a.Crs(), &img.Crs());  // one reading for all
    EXPECT_EQ(DescreveCrs(img.Crs()).epsg, 31983);
}

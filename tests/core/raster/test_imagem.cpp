#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>

#include "TestSupport.h"
#include "core/raster/Imagem.h"

namespace {

std::string Dado(const std::string& n) { return DadosTeste("raster/" + n); }

// Records status texts and progress calls.
struct Gravador : IProgresso {
    std::vector<std::string> status;
    int max = -1, ultimaPosicao = -1, eventos = 0;
    void SetMax(int m) override { max = m; }
    void SetPosition(int p) override { ultimaPosicao = p; }
    void SetStatus(const std::string& t) override { status.push_back(t); }
    void ProcessEvents() override { ++eventos; }
};

std::string Floats(std::initializer_list<float> v) {
    std::string s(v.size() * 4, '\0');
    size_t i = 0;
    for (float f : v) std::memcpy(&s[4 * i++], &f, 4);
    return s;
}

// A 3 x 2 real image with bounds (0,0)-(30,20).
void Preenche(TImagem& img, TTipoCelula tipo = TTipoCelula::Real) {
    img.SetCellType(tipo);
    img.SetColumns(3);
    img.SetRows(2);
    img.SetMinX(0);
    img.SetMaxX(30);
    img.SetMinY(0);
    img.SetMaxY(20);
    img.SetFlagValue(-99);
    img.SetTitle("Teste");
    img.SetRefUnits("m");
    const float v[] = {1, 2.5f, -99, 4, 5, 6};
    for (int i = 0; i < 6; ++i) img.SetReal(i, v[i]);
}

}  // namespace

TEST(Imagem, AscComCantoLeCabecalhoCelulasEEstatisticas) {
    TImagem img;
    ASSERT_TRUE(img.LoadFromFile(Dado("canto.asc")));
    EXPECT_EQ(img.Columns(), 3);
    EXPECT_EQ(img.Rows(), 2);
    EXPECT_EQ(img.CellType(), TTipoCelula::Real);
    EXPECT_EQ(img.CellSize(), 4);
    EXPECT_FLOAT_EQ(img.MinX(), 100);
    EXPECT_FLOAT_EQ(img.MinY(), 200);
    EXPECT_FLOAT_EQ(img.MaxX(), 130);
    EXPECT_FLOAT_EQ(img.MaxY(), 220);
    EXPECT_FLOAT_EQ(img.FlagValue(), -9999);
    EXPECT_EQ(img.Title(), "Arquivo importado do ArcView - canto.asc");
    EXPECT_EQ(img.RefUnits(), "m");
    EXPECT_EQ(img.FormatCode(), TCodigoFormato::ArcView);
    EXPECT_EQ(img.StorageMode(), TModoArmazenamento::Memoria);
    // Row 0 is the first (northern) line of the file.
    EXPECT_FLOAT_EQ(img.GetReal({0, 0}), 1.5f);
    EXPECT_FLOAT_EQ(img.GetReal({2, 0}), -9999);
    EXPECT_FLOAT_EQ(img.GetReal({1, 1}), 5.25f);
    EXPECT_EQ(img.ValidCount(), 5);
    EXPECT_FLOAT_EQ(img.MinValueReal(), 1.5f);
    EXPECT_FLOAT_EQ(img.MaxValueReal(), 6);
    EXPECT_DOUBLE_EQ(img.ComputeMean(), (1.5 + 2 + 4 + 5.25 + 6) / 5);
}

TEST(Imagem, AscComCentroDesceMeiaCelula) {
    TImagem img(Dado("centro.asc"));
    EXPECT_FLOAT_EQ(img.MinX(), 100);
    EXPECT_FLOAT_EQ(img.MinY(), 200);
    EXPECT_FLOAT_EQ(img.MaxX(), 120);
    EXPECT_FLOAT_EQ(img.MaxY(), 220);
    EXPECT_FLOAT_EQ(img.GetReal({1, 1}), 4);
}

TEST(Imagem, AscChavesEmQualquerOrdemESemValorNulo) {
    TImagem img(Dado("chaves.asc"));
    EXPECT_EQ(img.Columns(), 3);
    EXPECT_EQ(img.Rows(), 2);
    EXPECT_FLOAT_EQ(img.MaxX(), 6);
    EXPECT_FLOAT_EQ(img.MaxY(), 14);
    // Without NODATA_value the format's own default holds.
    EXPECT_EQ(img.FlagValue(), -9999.0f);
    // The rest of a row's line is skipped: row 1 starts on the next line.
    EXPECT_FLOAT_EQ(img.GetReal({2, 0}), 9);
    EXPECT_FLOAT_EQ(img.GetReal({0, 1}), 10);
    EXPECT_EQ(img.ValidCount(), 6);
    // Written back, the default is declared and reads the same.
    PastaTemporaria tmp;
    img.SaveToFile(tmp.Arquivo("s.asc"));
    EXPECT_NE(LerArquivo(tmp.Arquivo("s.asc")).find("NODATA_value  -9.99900000000000E+0003"), std::string::npos);
    TImagem de(tmp.Arquivo("s.asc"));
    EXPECT_EQ(de.FlagValue(), -9999.0f);
    EXPECT_FLOAT_EQ(de.GetReal({2, 1}), 12);
}

TEST(Imagem, AscGravadaByteAByte) {
    TImagem img;
    Preenche(img);
    img.SetFormatCode(TCodigoFormato::Surfer);
    PastaTemporaria tmp;
    img.SaveToFile(tmp.Arquivo("a.asc"));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("a.asc")),
              "ncols         3\r\n"
              "nrows         2\r\n"
              "xllcorner      0.00000000000000E+0000\r\n"
              "yllcorner      0.00000000000000E+0000\r\n"
              "cellsize       1.00000000000000E+0001\r\n"
              "NODATA_value  -9.90000000000000E+0001\r\n"
              "1\t2.5\t-99\t\n4\t5\t6\t\n");
    EXPECT_EQ(img.FormatCode(), TCodigoFormato::ArcView);
}

TEST(Imagem, AscRealUsaQuinzeAlgarismosDoValorDe32Bits) {
    TImagem img;
    img.SetColumns(1);
    img.SetRows(1);
    img.SetMaxX(1);
    img.SetMaxY(1);
    img.SetReal(0, 0.1f);
    PastaTemporaria tmp;
    img.SaveToFile(tmp.Arquivo("a.asc"));
    std::string s = LerArquivo(tmp.Arquivo("a.asc"));
    EXPECT_NE(s.find("\n0.100000001490116\t\n"), std::string::npos) << s;
    // Written in a comma locale too, the data keep '.'.
    RegionalFixo br(Regional::PtBR());
    img.SaveToFile(tmp.Arquivo("b.asc"));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("b.asc")), s);
}

TEST(Imagem, IdaEVoltaDeTodosOsFormatosETipos) {
    PastaTemporaria tmp;
    for (TTipoCelula tipo : {TTipoCelula::Byte, TTipoCelula::Inteiro, TTipoCelula::Real}) {
        for (const char* ext : {"asc", "flt", "hdr", "img", "doc", "grd"}) {
            SCOPED_TRACE(std::string(1, static_cast<char>(tipo)) + " " + ext);
            TImagem img;
            Preenche(img, tipo);
            img.ComputeMinMax();
            std::string nome = tmp.Arquivo(std::string("ida_") + static_cast<char>(tipo) + "." + ext);
            img.SaveToFile(nome);
            TImagem de;
            ASSERT_TRUE(de.LoadFromFile(nome));
            std::string e = ext;
            bool idrisi = e == "img" || e == "doc";
            EXPECT_EQ(de.CellType(), idrisi ? tipo : TTipoCelula::Real);
            EXPECT_EQ(de.Columns(), 3);
            EXPECT_EQ(de.Rows(), 2);
            EXPECT_FLOAT_EQ(de.MinX(), 0);
            EXPECT_FLOAT_EQ(de.MaxX(), 30);
            EXPECT_FLOAT_EQ(de.MinY(), 0);
            EXPECT_FLOAT_EQ(de.MaxY(), 20);
            for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(de.GetReal(i), img.GetReal(i)) << i;
            if (idrisi) {
                EXPECT_EQ(de.Title(), "Teste");
                EXPECT_DOUBLE_EQ(de.MinValue(), img.MinValue());
                EXPECT_DOUBLE_EQ(de.MaxValue(), img.MaxValue());
            }
            if (e == "asc" || e == "flt" || e == "hdr") {
                EXPECT_FLOAT_EQ(de.FlagValue(), -99);
            }
        }
    }
}

TEST(Imagem, HdrFltLeCabecalhoECelulas) {
    for (const char* n : {"plano.hdr", "plano.flt"}) {
        TImagem img;
        ASSERT_TRUE(img.LoadFromFile(Dado(n)));
        EXPECT_EQ(img.FileName(), Dado("plano.flt"));
        EXPECT_FLOAT_EQ(img.MaxX(), 60);
        EXPECT_FLOAT_EQ(img.MaxY(), 70);
        EXPECT_FLOAT_EQ(img.GetReal({1, 1}), 13);
        EXPECT_EQ(img.ValidCount(), 3);
        EXPECT_FLOAT_EQ(img.MinValueReal(), 10);
        EXPECT_FLOAT_EQ(img.MaxValueReal(), 13);
    }
}

TEST(Imagem, HdrFltGravadoByteAByte) {
    TImagem img;
    Preenche(img);
    PastaTemporaria tmp;
    img.SaveToFile(tmp.Arquivo("p.flt"));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("p.hdr")),
              "ncols         3\r\nnrows         2\r\n"
              "xllcorner      0.00000000000000E+0000\r\n"
              "yllcorner      0.00000000000000E+0000\r\n"
              "cellsize       1.00000000000000E+0001\r\n"
              "NODATA_value  -9.90000000000000E+0001\r\n"
              "byteorder     LSBFIRST\r\n");
    EXPECT_EQ(LerArquivo(tmp.Arquivo("p.flt")), Floats({1, 2.5f, -99, 4, 5, 6}));
}

TEST(Imagem, HdrComByteorderMsbfirst) {
    for (TModoArmazenamento modo : {TModoArmazenamento::Memoria, TModoArmazenamento::Arquivo}) {
        PastaTemporaria tmp;
        GravarArquivo(tmp.Arquivo("m.hdr"), LerArquivo(Dado("msb.hdr")));
        GravarArquivo(tmp.Arquivo("m.flt"), LerArquivo(Dado("msb.flt")));
        TImagem img(modo);
        ASSERT_TRUE(img.LoadFromFile(tmp.Arquivo("m.flt")));
        EXPECT_FLOAT_EQ(img.GetReal({0, 0}), 1.5f);
        EXPECT_FLOAT_EQ(img.GetReal({2, 0}), 3);
        EXPECT_EQ(img.ValidCount(), 2);
        if (modo == TModoArmazenamento::Arquivo) {
            // Writes keep the file's byte order.
            img.SetReal({1, 0}, 2.0f);
            std::string b = LerArquivo(tmp.Arquivo("m.flt"));
            EXPECT_EQ(b.substr(4, 4), std::string("\x40\x00\x00\x00", 4));
        }
    }
}

TEST(Imagem, HdrNaFormaDoGdalLeOMesmoLugar) {
    // The header gdal_translate -of EHdr writes for a 3 x 2 grid whose lower-left corner is
    // (100, 200) with 10 m cells: ULXMAP/ULYMAP name the upper-left cell's centre (105, 215).
    const std::string gdal = "BYTEORDER      I\nLAYOUT         BIL\nNROWS          2\nNCOLS          3\n"
                             "NBANDS         1\nNBITS          32\nBANDROWBYTES   12\nTOTALROWBYTES  12\n"
                             "PIXELTYPE      FLOAT\nULXMAP         105\nULYMAP         215\nXDIM           10\n"
                             "YDIM           10\nNODATA         -9999\n";
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("g.hdr"), gdal);
    GravarArquivo(tmp.Arquivo("g.flt"), Floats({1.5f, 2, 3, 4, 5, -9999}));
    TImagem img;
    ASSERT_TRUE(img.LoadFromFile(tmp.Arquivo("g.flt")));
    EXPECT_EQ(img.MinX(), 100);
    EXPECT_EQ(img.MaxX(), 130);
    EXPECT_EQ(img.MinY(), 200);
    EXPECT_EQ(img.MaxY(), 220);
    EXPECT_EQ(img.CellWidth(), 10);
    EXPECT_FLOAT_EQ(img.GetReal({0, 0}), 1.5f);
    EXPECT_FLOAT_EQ(img.GetReal({1, 1}), 5);
    EXPECT_EQ(img.ValidCount(), 5);
    // What the reader cannot take is refused by name rather than read as something else.
    const auto recusa = [&](const std::string& de, const std::string& para) {
        std::string h = gdal;
        h.replace(h.find(de), de.size(), para);
        GravarArquivo(tmp.Arquivo("g.hdr"), h);
        return MensagemDe([&] { TImagem i(tmp.Arquivo("g.flt")); });
    };
    EXPECT_EQ(recusa("PIXELTYPE      FLOAT", "PIXELTYPE      SIGNEDINT"),
              "Erro no cabeçalho do arquivo g.hdr: só são aceitas células reais (pixeltype SIGNEDINT).");
    EXPECT_EQ(recusa("NBANDS         1", "NBANDS         3"),
              "Erro no cabeçalho do arquivo g.hdr: só são aceitas grades de uma banda (nbands 3).");
    EXPECT_EQ(recusa("BANDROWBYTES   12\nTOTALROWBYTES  12", "BANDROWBYTES   16\nTOTALROWBYTES  16"),
              "Erro no cabeçalho do arquivo g.hdr: cada linha deve ter as 3 células de 4 bytes, sem nada entre "
              "elas (rowbytes 16).");
}

TEST(Imagem, IdrisiLeInteiros) {
    TImagem img(Dado("morro.img"));
    EXPECT_EQ(img.CellType(), TTipoCelula::Inteiro);
    EXPECT_EQ(img.CellSize(), 2);
    EXPECT_EQ(img.FormatCode(), TCodigoFormato::Idrisi16);
    EXPECT_EQ(img.Title(), "Morro teste");
    EXPECT_EQ(img.RefUnits(), "m");
    EXPECT_FLOAT_EQ(img.FlagValue(), 0);
    EXPECT_FLOAT_EQ(img.MaxX(), 30);
    EXPECT_FLOAT_EQ(img.MaxY(), 20);
    // The header's range 0..700 cannot hold the cell -5: the range comes from the cells.
    EXPECT_EQ(img.MinValueInt(), -5);
    EXPECT_EQ(img.MaxValueInt(), 700);
    EXPECT_EQ(img.GetInt({0, 1}), -5);
    EXPECT_EQ(img.GetInt({1, 1}), 700);
    EXPECT_EQ(img.GetInt({2, 0}), 0);
    EXPECT_FLOAT_EQ(img.GetReal({0, 1}), -5);  // typed getters convert
    EXPECT_EQ(img.ValidCount(), 5);          // the 0 cell is the flag
    EXPECT_EQ(img.FileName(), Dado("morro.img"));
}

TEST(Imagem, IdrisiGravadoByteAByte) {
    TImagem img;
    Preenche(img, TTipoCelula::Inteiro);
    img.ComputeMinMax();
    PastaTemporaria tmp;
    img.SaveToFile(tmp.Arquivo("i.doc"));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("i.doc")),
              "file title  : Teste\r\n"
              "data type   : integer\r\n"
              "file type   : binary\r\n"
              "columns     : 3\r\n"
              "rows        : 2\r\n"
              "ref. system : plane\r\n"
              "ref. units  : m\r\n"
              "unit dist.  :  1.00000000000000E+0000\r\n"
              "min. X      :  0.00000000000000E+0000\r\n"
              "max. X      :  3.00000000000000E+0001\r\n"
              "min. Y      :  0.00000000000000E+0000\r\n"
              "max. Y      :  2.00000000000000E+0001\r\n"
              "pos n error : unknown\r\n"
              "resolution  : unknown\r\n"
              "min. value  : 1\r\n"
              "max. value  : 6\r\n"
              "value units : unspecified\r\n"
              "value error : unknown\r\n"
              "flag value  : -99\r\n"
              "flag def'n  : missing data\r\n"
              "legend cats : 0\r\n");
    // 2.5 rounds to the even 2.
    EXPECT_EQ(LerArquivo(tmp.Arquivo("i.img")),
              std::string("\x01\x00\x02\x00\x9d\xff\x04\x00\x05\x00\x06\x00", 12));
}

// Valid-cell count, range and mean of a grid after a round trip through every format.
TEST(Imagem, SemDadoSobreviveATodosOsFormatos) {
    PastaTemporaria tmp;
    TImagem origem(Dado("canto.asc"));  // NODATA -9999 at one of six cells
    origem.ComputeMinMax(true);
    ASSERT_EQ(origem.ValidCount(), 5);
    for (const char* ext : {"doc", "img", "grd", "hdr", "flt", "asc"}) {
        SCOPED_TRACE(ext);
        const std::string meio = tmp.Arquivo(std::string("m.") + ext);
        const std::string volta = tmp.Arquivo(std::string("v_") + ext + ".asc");
        origem.ExportAs(meio, CodigoFormato(FormatoDe(meio)));
        TImagem m(meio);
        m.ExportArcView(volta);
        for (const std::string& n : {meio, volta}) {
            TImagem de(n);
            de.ComputeMinMax(true);
            EXPECT_EQ(de.ValidCount(), 5) << n;
            EXPECT_FLOAT_EQ(de.MinValueReal(), 1.5f) << n;
            EXPECT_FLOAT_EQ(de.MaxValueReal(), 6) << n;
            EXPECT_DOUBLE_EQ(de.MeanValue(), origem.MeanValue()) << n;
        }
    }
    // In the forms the formats' other readers know.
    EXPECT_NE(LerArquivo(tmp.Arquivo("m.doc")).find("flag value  : -9.99900000000000E+0003\r\n"
                                                    "flag def'n  : missing data\r\n"),
              std::string::npos);
    EXPECT_EQ(LerArquivo(tmp.Arquivo("m.grd")).substr(LerArquivo(tmp.Arquivo("m.grd")).rfind('\n') + 1),
              "4.00000 5.25000 6.00000 1.50000 2.00000 1.70141e+38 ");
    EXPECT_NE(LerArquivo(tmp.Arquivo("m.hdr")).find("NODATA_value  -9.99900000000000E+0003\r\n"),
              std::string::npos);
}

TEST(Imagem, CabecalhosAntigosESemDadoDeOutrosProgramas) {
    PastaTemporaria tmp;
    const std::string celulas("\x00\x00\x05\x00\x07\x00", 6);
    auto doc = [&](const std::string& nome, const std::string& faixa, const std::string& flag) {
        GravarArquivo(tmp.Arquivo(nome + ".doc"),
                      "file title  : t\r\ndata type   : integer\r\nfile type   : binary\r\n"
                      "columns     : 3\r\nrows        : 1\r\nref. system : plane\r\n"
                      "ref. units  : m\r\nunit dist.  : 1\r\nmin. X      : 0\r\n"
                      "max. X      : 30\r\nmin. Y      : 0\r\nmax. Y      : 10\r\n"
                      "pos n error : unknown\r\nresolution  : 10\r\n" + faixa +
                      "value units : m\r\nvalue error : unknown\r\n" + flag + "legend cats : 0\r\n");
        GravarArquivo(tmp.Arquivo(nome + ".img"), celulas);
        return TImagem(tmp.Arquivo(nome + ".doc"));
    };
    const std::string faixa = "min. value  : 0\r\nmax. value  : 7\r\n";
    // Written by older versions: no flag, so 0 is no-data as it always was.
    TImagem antigo = doc("antigo", faixa, "flag value  : none\r\nflag def n  : none\r\n");
    EXPECT_FLOAT_EQ(antigo.FlagValue(), 0);
    EXPECT_EQ(antigo.ValidCount(), 2);
    // Idrisi's own background flag, and a flag whose definition is "none" (ignored).
    TImagem fundo = doc("fundo", faixa, "flag value  : 5\r\nflag def'n  : background\r\n");
    EXPECT_FLOAT_EQ(fundo.FlagValue(), 5);
    EXPECT_EQ(fundo.ValidCount(), 2);
    EXPECT_FLOAT_EQ(doc("nenhum", faixa, "flag value  : 5\r\nflag def'n  : none\r\n").FlagValue(), 0);
    // A range left at 0 and 0 is taken from the cells; one that holds them is kept.
    TImagem zero = doc("zero", "min. value  : 0\r\nmax. value  : 0\r\n", "");
    EXPECT_EQ(zero.MinValueInt(), 5);
    EXPECT_EQ(zero.MaxValueInt(), 7);
    TImagem largo = doc("largo", "min. value  : 0\r\nmax. value  : 100\r\n", "");
    EXPECT_EQ(largo.MinValueInt(), 0);
    EXPECT_EQ(largo.MaxValueInt(), 100);
    // A Surfer range that cannot hold the nodes is recomputed too.
    GravarArquivo(tmp.Arquivo("s.grd"), "DSAA\n2 1\n0 20\n0 10\n0 0\n3 1.70141e38\n");
    TImagem s(tmp.Arquivo("s.grd"));
    EXPECT_EQ(s.ValidCount(), 1);
    EXPECT_FLOAT_EQ(s.MinValueReal(), 3);
    EXPECT_FLOAT_EQ(s.MaxValueReal(), 3);
    EXPECT_FLOAT_EQ(s.GetReal({1, 0}), -99);
}

TEST(Imagem, SurferInverteAsLinhasNaLeituraENaGravacao) {
    TImagem img(Dado("tres.grd"));
    EXPECT_EQ(img.FormatCode(), TCodigoFormato::Surfer);
    EXPECT_EQ(img.Columns(), 2);
    EXPECT_EQ(img.Rows(), 3);
    EXPECT_FLOAT_EQ(img.MaxX(), 20);
    EXPECT_FLOAT_EQ(img.MaxY(), 30);
    EXPECT_FLOAT_EQ(img.MinValueReal(), 1);
    EXPECT_FLOAT_EQ(img.MaxValueReal(), 6);
    EXPECT_FLOAT_EQ(img.FlagValue(), -99);
    // The file's first data row (south) is the image's last row.
    EXPECT_FLOAT_EQ(img.GetReal({0, 2}), 1);
    EXPECT_FLOAT_EQ(img.GetReal({1, 2}), 2);
    EXPECT_FLOAT_EQ(img.GetReal({0, 0}), 5);
    PastaTemporaria tmp;
    img.SaveToFile(tmp.Arquivo("s.grd"));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("s.grd")),
              "DSAA\r\n2  3\r\n"
              " 0.00000000000000E+0000   2.00000000000000E+0001\r\n"
              " 0.00000000000000E+0000   3.00000000000000E+0001\r\n"
              " 1.00000000000000E+0000   6.00000000000000E+0000\r\n"
              "1.00000 2.00000 3.00000 4.00000 5.00000 6.00000 ");
}

TEST(Imagem, ExtensaoDecideOFormato) {
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("x.ras"), "qualquer");
    GravarArquivo(tmp.Arquivo("x.txt"), "qualquer");
    GravarArquivo(tmp.Arquivo("x.rst"), "qualquer");
    TImagem img(Dado("canto.asc"));
    EXPECT_EQ(MensagemDe([&] { img.LoadFromFile(tmp.Arquivo("x.ras")); }),
              "Erro. O arquivo x.ras não corresponde a um arquivo válido de imagem.");
    EXPECT_EQ(MensagemDe([&] { img.SaveToFile(tmp.Arquivo("y.txt")); }),
              "Erro. O arquivo y.txt não corresponde a um arquivo válido de imagem.");
    EXPECT_FALSE(std::filesystem::exists(tmp.Arquivo("y.txt")));
    // The refused load left the image as it was.
    EXPECT_EQ(img.Columns(), 3);
    EXPECT_FLOAT_EQ(img.GetReal({1, 1}), 5.25f);
    EXPECT_ERRO(ENaoImplementado, "Ainda não implementado.", img.LoadFromFile(tmp.Arquivo("x.rst")));
    EXPECT_THROW(img.SaveToFile(tmp.Arquivo("z.rdc")), ENaoImplementado);
    EXPECT_EQ(MensagemDe([&] { img.SaveToFile(tmp.Arquivo("z.RDC")); }), "Não implementado.");
    EXPECT_FALSE(std::filesystem::exists(tmp.Arquivo("z.rdc")));
    // A missing file is only "false" and changes nothing.
    EXPECT_FALSE(img.LoadFromFile(tmp.Arquivo("nao_existe.asc")));
    EXPECT_EQ(img.Rows(), 2);
    // Upper-case extensions work.
    img.SaveToFile(tmp.Arquivo("M.ASC"));
    TImagem de;
    EXPECT_TRUE(de.LoadFromFile(tmp.Arquivo("M.ASC")));
    EXPECT_EQ(de.Columns(), 3);
}

TEST(Imagem, FormatoPeloNomeEOsSeusNomes) {
    EXPECT_EQ(FormatoDe("a/b.ASC"), TFormatoImagem::ArcViewAscii);
    EXPECT_EQ(FormatoDe("b.Flt"), TFormatoImagem::ArcViewBinario);
    EXPECT_EQ(FormatoDe("b.hdr"), TFormatoImagem::ArcViewBinario);
    EXPECT_EQ(FormatoDe("b.img"), TFormatoImagem::Idrisi);
    EXPECT_EQ(FormatoDe("b.rdc"), TFormatoImagem::Idrisi32);
    EXPECT_EQ(FormatoDe("b.grd"), TFormatoImagem::Surfer);
    EXPECT_EQ(FormatoDe("b.ras"), TFormatoImagem::Desconhecido);
    EXPECT_EQ(FormatoDe("gr"), TFormatoImagem::Desconhecido);
    // The code ExportAs takes, matching the FormatCode a load of that file gives.
    for (const char* n : {"canto.asc", "plano.hdr", "morro.doc", "tres.grd"}) {
        TImagem img(Dado(n));
        EXPECT_EQ(CodigoFormato(FormatoDe(n)), img.FormatCode()) << n;
    }
    EXPECT_EQ(NomeFormato(TFormatoImagem::ArcViewBinario), "ArcView binário (.hdr + .flt)");
    EXPECT_EQ(NomeTipoCelula(TTipoCelula::Inteiro), "inteiro de 16 bits (I)");
    PastaTemporaria tmp;
    EXPECT_EQ(MensagemDe([&] { ChecaSaidaDiferente(tmp.Arquivo("a.hdr"), tmp.Arquivo("a.flt")); }),
              "A entrada e a saída são o mesmo arquivo.");
    EXPECT_EQ(MensagemDe([&] { ChecaSaidaDiferente(tmp.Arquivo("a.hdr"), tmp.Arquivo("a.asc")); }), "(sem erro)");
}

TEST(Imagem, TipoDeCelula) {
    TImagem img;
    img.SetCellType(TipoCelulaDeLetra('r'));
    EXPECT_EQ(img.CellType(), TTipoCelula::Real);
    img.SetCellType(TipoCelulaDeLetra('b'));
    EXPECT_EQ(img.CellSize(), 1);
    img.SetCellType(TTipoCelula::Inteiro);
    EXPECT_EQ(img.CellSize(), 2);
    EXPECT_EQ(MensagemDe([&] { img.SetCellType(TipoCelulaDeLetra('X')); }),
              "Erro durante a definição do tipo do arquivo raster: real, inteiro ou byte.\n"
              "Tentativa de atribuir novo tipo: X");
    EXPECT_EQ(img.CellType(), TTipoCelula::Inteiro);
}

TEST(Imagem, NaNLeComoZeroETudoNuloNaoConta) {
    TImagem img;
    img.SetColumns(2);
    img.SetRows(1);
    img.SetFlagValue(-99);
    img.SetReal(0, std::numeric_limits<float>::quiet_NaN());
    img.SetReal(1, -99);
    EXPECT_EQ(img.GetReal(0), 0.0f);
    EXPECT_TRUE(std::isnan(img.GetRealRaw(0)));
    img.SetReal(0, -99);
    img.CountValid();
    EXPECT_EQ(img.ValidCount(), 0);
    // No valid cell: the mean is 0 and the range stays empty.
    EXPECT_EQ(img.ComputeMean(), 0.0);
    img.ComputeMinMax();
    EXPECT_FLOAT_EQ(img.MinValueReal(), 1.0e10f);
    EXPECT_FLOAT_EQ(img.MaxValueReal(), -1.0e10f);
}

TEST(Imagem, GradesDefeituosasDaoErroClaro) {
    EXPECT_EQ(MensagemDe([] { TImagem i(Dado("truncado.asc")); }),
              "Erro no arquivo truncado.asc: fim inesperado dos dados (esperados 6 valores, lidos 5).");
    EXPECT_EQ(MensagemDe([] { TImagem i(Dado("texto.asc")); }),
              "Erro no arquivo texto.asc: valor inválido 'abc' na linha 7.");
    EXPECT_EQ(MensagemDe([] { TImagem i(Dado("enorme.asc")); }),
              "Erro no arquivo enorme.asc: o arquivo é pequeno demais para uma grade de "
              "100000 colunas × 100000 linhas.");
    EXPECT_EQ(MensagemDe([] { TImagem i(Dado("grande.hdr")); }),
              "Erro no arquivo grande.flt: o arquivo tem 16 bytes, mas a grade de 5000 colunas × "
              "5000 linhas precisa de 100000000 bytes.");
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("f.asc"), "ncols 2\nnrows 1\nxllcorner 0\ncellsize 1\n1 2\n");
    EXPECT_EQ(MensagemDe([&] { TImagem i(tmp.Arquivo("f.asc")); }),
              "Erro no cabeçalho do arquivo f.asc: falta a chave yllcorner.");
    GravarArquivo(tmp.Arquivo("g.asc"), "ncols -2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n1 2\n");
    EXPECT_EQ(MensagemDe([&] { TImagem i(tmp.Arquivo("g.asc")); }),
              "Erro no cabeçalho do arquivo g.asc: valor inválido para ncols.");
    GravarArquivo(tmp.Arquivo("h.grd"), "DSAA\n2 2\n0 1\n0 1\n0 1\n1 2 3\n");
    EXPECT_EQ(MensagemDe([&] { TImagem i(tmp.Arquivo("h.grd")); }),
              "Erro no arquivo h.grd: fim inesperado dos dados (esperados 4 valores, lidos 3).");
    GravarArquivo(tmp.Arquivo("c.doc"), "file title  : x\r\ndata type   : integer\r\n");
    GravarArquivo(tmp.Arquivo("c.img"), "");
    EXPECT_EQ(MensagemDe([&] { TImagem i(tmp.Arquivo("c.img")); }),
              "Erro no arquivo c.doc: cabeçalho Idrisi incompleto.");
    // A failed load leaves an empty image, never a header without its cells.
    TImagem img(Dado("canto.asc"));
    EXPECT_THROW(img.LoadFromFile(Dado("truncado.asc")), EVandoro);
    EXPECT_EQ(img.Rows(), 0);
    EXPECT_EQ(img.Columns(), 0);
}

TEST(Imagem, TextoAceitaMaisDe65535Colunas) {
    PastaTemporaria tmp;
    std::string s = "ncols 70000\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n";
    for (int i = 0; i < 70000; ++i) s += (i == 69999 ? "7\n" : "1 ");
    GravarArquivo(tmp.Arquivo("l.asc"), s);
    TImagem img(tmp.Arquivo("l.asc"));
    EXPECT_EQ(img.Columns(), 70000);
    EXPECT_FLOAT_EQ(img.GetReal({69999, 0}), 7);
    EXPECT_EQ(img.ValidCount(), 70000);
}

TEST(Imagem, ModoArquivoGravaDiretoNoDisco) {
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("p.hdr"), LerArquivo(Dado("plano.hdr")));
    GravarArquivo(tmp.Arquivo("p.flt"), LerArquivo(Dado("plano.flt")));
    {
        TImagem img(TModoArmazenamento::Arquivo);
        ASSERT_TRUE(img.LoadFromFile(tmp.Arquivo("p.hdr")));
        EXPECT_EQ(img.StorageMode(), TModoArmazenamento::Arquivo);
        EXPECT_EQ(img.RealCells(), nullptr);
        img.SetReal({1, 0}, 7.0f);
        // Already in the file while the image is open.
        EXPECT_EQ(LerArquivo(tmp.Arquivo("p.flt")), Floats({10, 7, 12.5f, 13}));
        float linha[2] = {1, 2};
        img.WriteRow(1, linha);
        float lida[2];
        img.ReadRow(1, lida);
        EXPECT_FLOAT_EQ(lida[1], 2);
    }
    EXPECT_EQ(LerArquivo(tmp.Arquivo("p.flt")), Floats({10, 7, 1, 2}));
    // A mode-0 image changes nothing on disk until it is saved.
    TImagem mem(tmp.Arquivo("p.flt"));
    mem.SetReal({0, 0}, 3.0f);
    EXPECT_EQ(LerArquivo(tmp.Arquivo("p.flt")), Floats({10, 7, 1, 2}));
    // Creating a file-backed store where it cannot be created names the file.
    TImagem nova(TModoArmazenamento::Arquivo);
    EXPECT_EQ(MensagemDe([&] { nova.OpenStore(tmp.Arquivo("sem/pasta.flt")); }),
              "Erro ao tentar criar o arquivo pasta.flt");
}

// A grid the user may only read (a shared folder, a disc) opens in the file-backed store, the
// viewer's own; a write to it fails naming the file, and the file stays as it was.
TEST(Imagem, ModoArquivoAbreGradeSomenteLeitura) {
    PastaTemporaria tmp;
    const std::string hdr = tmp.Arquivo("p.hdr"), flt = tmp.Arquivo("p.flt");
    GravarArquivo(hdr, LerArquivo(Dado("plano.hdr")));
    GravarArquivo(flt, LerArquivo(Dado("plano.flt")));
    for (const std::string& a : {hdr, flt})
        std::filesystem::permissions(a, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
    std::filesystem::permissions(tmp.Arquivo(""), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                                      std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                                      std::filesystem::perms::others_exec);
    // What the user sees, as a code: 0 when all is as it should be.
    const auto abrir = [&]() -> int {
        try {
            TImagem img(TModoArmazenamento::Arquivo);
            if (!img.LoadFromFile(hdr) || img.GetReal({1, 1}) != 13.0f) return 1;
            std::string msg;
            try {
                img.SetReal({1, 0}, 7.0f);
            } catch (const EFalhaGravacao& e) {
                msg = e.what();
            }
            if (msg != "Erro ao gravar o arquivo p.flt: sem permissão.") return 2;
            return LerArquivo(flt) == Floats({10, -99, 12.5f, 13}) ? 0 : 3;
        } catch (...) {
            return 4;
        }
    };
    // Permissions do not hold for root: the check runs as nobody.
    if (::geteuid() != 0) {
        EXPECT_EQ(abrir(), 0);
        return;
    }
    const pid_t filho = ::fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) _exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? abrir() : 5);
    int estado = 0;
    ASSERT_EQ(::waitpid(filho, &estado, 0), filho);
    ASSERT_TRUE(WIFEXITED(estado));
    EXPECT_EQ(WEXITSTATUS(estado), 0);
}

TEST(Imagem, ParGravadoInteiroOuNada) {
    PastaTemporaria tmp;
    TImagem img;
    Preenche(img, TTipoCelula::Inteiro);
    img.ComputeMinMax();
    for (const char* par : {"x.doc", "y.hdr"}) {
        SCOPED_TRACE(par);
        const std::vector<std::string> arqs = ArquivosDaImagem(tmp.Arquivo(par));
        img.SaveToFile(arqs[0]);
        const std::string cab = LerArquivo(arqs[0]), dados = LerArquivo(arqs[1]);
        img.SetTitle("Outro");
        img.SetInt(0, 9);
        // Either half marked read-only makes the whole pair stay as it was.
        for (const std::string& bloqueado : arqs) {
            namespace fs = std::filesystem;
            fs::permissions(bloqueado, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
            EXPECT_EQ(MensagemDe([&] { img.SaveToFile(arqs[0]); }),
                      "Não foi possível gravar o arquivo " + bloqueado + ": o arquivo está marcado como somente leitura.");
            fs::permissions(bloqueado, fs::perms::owner_write, fs::perm_options::add);
            EXPECT_EQ(LerArquivo(arqs[0]), cab);
            EXPECT_EQ(LerArquivo(arqs[1]), dados);
            for (const auto& e : std::filesystem::directory_iterator(tmp.Caminho()))
                EXPECT_EQ(e.path().string().find(kSufixoTemporario), std::string::npos) << e.path();
        }
        img.SetInt(0, 1);
    }
}

TEST(Imagem, ModoArquivoGravadoSobreSiMesmo) {
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("m.doc"), LerArquivo(Dado("morro.doc")));
    GravarArquivo(tmp.Arquivo("m.img"), LerArquivo(Dado("morro.img")));
    // A hard link to the data file sees whether the save wrote into the old file.
    std::filesystem::create_hard_link(tmp.Arquivo("m.img"), tmp.Arquivo("ligado.img"));
    const std::string antes = LerArquivo(tmp.Arquivo("m.img"));
    TImagem img(TModoArmazenamento::Arquivo);
    ASSERT_TRUE(img.LoadFromFile(tmp.Arquivo("m.doc")));
    img.SetTitle("Novo");
    img.SaveToFile(tmp.Arquivo("m.doc"));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("ligado.img")), antes);
    // The store follows the new file: later writes land in it.
    img.SetInt({0, 0}, 42);
    EXPECT_EQ(LerArquivo(tmp.Arquivo("m.img")).substr(0, 2), std::string("\x2a\x00", 2));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("ligado.img")), antes);
    EXPECT_EQ(TImagem(tmp.Arquivo("m.doc")).Title(), "Novo");
}

TEST(Imagem, AcessoRapidoPorLinhaEVetor) {
    TImagem img;
    img.SetColumns(3);
    img.SetRows(2);
    img.Allocate();
    float* c = img.RealCells();
    ASSERT_NE(c, nullptr);
    c[4] = 8;
    EXPECT_FLOAT_EQ(img.GetReal({1, 1}), 8);
    const float linha[3] = {1.4f, 300, -2.6f};
    img.WriteRow(0, linha);
    EXPECT_FLOAT_EQ(img.GetReal({2, 0}), -2.6f);
    // Byte cells round and clamp.
    TImagem b;
    b.SetCellType(TTipoCelula::Byte);
    b.SetColumns(3);
    b.SetRows(1);
    b.WriteRow(0, linha);
    EXPECT_EQ(b.GetByte(0), 1);
    EXPECT_EQ(b.GetByte(1), 255);
    EXPECT_EQ(b.GetByte(2), 0);
    EXPECT_EQ(b.RealCells(), nullptr);
    float lida[3];
    b.ReadRow(0, lida);
    EXPECT_FLOAT_EQ(lida[1], 255);
}

TEST(Imagem, CopiaDeCabecalhoEPreenchimento) {
    TImagem a(Dado("morro.img"));
    TImagem b;
    b.CopyHeaderFrom(a);
    EXPECT_EQ(b.CellType(), TTipoCelula::Inteiro);
    EXPECT_EQ(b.Columns(), 3);
    EXPECT_EQ(b.Rows(), 2);
    EXPECT_EQ(b.Title(), "Morro teste");
    EXPECT_EQ(b.MaxValueInt(), 700);
    EXPECT_EQ(b.FormatCode(), TCodigoFormato::Idrisi16);
    EXPECT_EQ(b.ValidCount(), 5);
    EXPECT_EQ(b.StoreSize(), 0);  // a fresh, empty store
    b.SetFlagValue(-7);
    b.FillWithFlag();
    EXPECT_EQ(b.StoreSize(), 12);
    EXPECT_EQ(b.GetInt({2, 1}), -7);
    b.CountValid();
    EXPECT_EQ(b.ValidCount(), 0);
}

TEST(Imagem, ExportaComTextosDeStatus) {
    TImagem img(Dado("tres.grd"));
    Gravador g;
    img.SetProgresso(&g);
    PastaTemporaria tmp;
    img.ExportArcView(tmp.Arquivo("e.asc"));
    ASSERT_GE(g.status.size(), 2u);
    EXPECT_EQ(g.status[0], "Exportando a imagem do Surfer para ArcView.");
    EXPECT_EQ(g.status[1], "Gravando a imagem no disco rígido ...");
    EXPECT_EQ(g.status.back(), "");
    EXPECT_EQ(img.FormatCode(), TCodigoFormato::Surfer);  // the source keeps its format
    TImagem de(tmp.Arquivo("e.asc"));
    EXPECT_FLOAT_EQ(de.GetReal({0, 2}), 1);
    g.status.clear();
    img.ExportIdrisi32(tmp.Arquivo("e.img"));
    EXPECT_EQ(g.status[0], "Exportando a imagem do Surfer para Idrisi 32 bits.");
    g.status.clear();
    img.LoadFromFile(Dado("canto.asc"));
    EXPECT_EQ(g.status.front(), "Carregando a imagem ...");
    EXPECT_EQ(g.status.back(), "");
    EXPECT_EQ(g.ultimaPosicao, 2);  // one step per row
    img.ComputeMinMax(true);
    EXPECT_EQ(g.status.back(), "Calculando valor médio dos valores da imagem");
    EXPECT_EQ(g.max, 2);
    EXPECT_NEAR(img.MeanValue(), 3.75, 1e-12);
}

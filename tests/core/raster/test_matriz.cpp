#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "TestSupport.h"
#include "core/raster/Imagem.h"
#include "core/raster/ImgDeclive.h"
#include "core/raster/Lista.h"
#include "core/raster/Matriz.h"
#include "core/raster/Pixel.h"

TEST(Matriz, UnidadeDeDistancia) {
    TMatrixSingle m;
    EXPECT_EQ(m.UnitDist(), "m");
    m.SetUnitDist("km");
    EXPECT_EQ(m.UnitDist(), "km");
    m.SetUnitDist("M");
    EXPECT_EQ(m.UnitDist(), "M");
    for (const char* u : {"M ", "ft", "", "metro"}) {
        EXPECT_ERRO(EUnitDist, "Unidade de distância inválida.", m.SetUnitDist(u)) << u;
    }
    EXPECT_EQ(m.UnitDist(), "M");
}

TEST(Matriz, LinhasAntesDasColunas) {
    TMatrixSingle m;
    m.SetRowCount(3);
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Columns(), 0);
    m.SetColCount(4);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c) EXPECT_EQ(m.Cell(r, c), 0.0f);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c) m.SetCell(r, c, float(10 * r + c));
    // Growing keeps every old cell in its row and column and zero-fills the new ones;
    // narrowing keeps each row's first cells.
    m.SetColCount(6);
    m.SetRowCount(5);
    for (int r = 1; r <= 5; ++r)
        for (int c = 1; c <= 6; ++c) EXPECT_EQ(m.Cell(r, c), r <= 3 && c <= 4 ? float(10 * r + c) : 0.0f) << r << c;
    m.SetColCount(2);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(m.Row(r)[1], float(10 * r + 2)) << r;
    m.SetRowCount(2);
    EXPECT_EQ(m.Rows(), 2);
    m.SetRowCount(0);
    m.SetRowCount(1);
    EXPECT_EQ(m.Cell(1, 1), 0.0f);
    TMatrixByte b;
    b.SetColCount(2);
    b.SetRowCount(2);
    b.SetCell(2, 2, 31);
    EXPECT_EQ(b.Row(2)[1], 31);
    EXPECT_EQ(b.Cell(1, 1), 0);
}

TEST(Matriz, CarregaImagemLimpandoNegativosENaN) {
    PastaTemporaria tmp;
    TImagem img;
    img.SetColumns(3);
    img.SetRows(2);
    img.SetMinX(1000);
    img.SetMaxX(1030);
    img.SetMinY(2000);
    img.SetMaxY(2040);
    img.SetTitle("Elevação");
    img.SetRefUnits("m");
    const float v[] = {-99, -3.5f, 12, std::numeric_limits<float>::quiet_NaN(), 0, 20};
    for (int i = 0; i < 6; ++i) img.SetReal(i, v[i]);
    img.ComputeMinMax();
    img.SaveToFile(tmp.Arquivo("e.flt"));

    TMatrixSingle m;
    m.LoadFromImage(tmp.Arquivo("e.flt"));
    EXPECT_EQ(m.Rows(), 2);
    EXPECT_EQ(m.Columns(), 3);
    EXPECT_FLOAT_EQ(m.CellWidth(), 10);
    EXPECT_FLOAT_EQ(m.CellHeight(), 20);  // non-square cells survive the ArcView pair
    EXPECT_FLOAT_EQ(m.MinX(), 1000);
    EXPECT_FLOAT_EQ(m.MinY(), 2000);
    EXPECT_EQ(m.UnitDist(), "m");
    EXPECT_EQ(m.Cell(1, 1), 0.0f);
    EXPECT_EQ(m.Cell(1, 2), 0.0f);
    EXPECT_EQ(m.Cell(1, 3), 12.0f);
    EXPECT_EQ(m.Cell(2, 1), 0.0f);
    EXPECT_EQ(m.Cell(2, 3), 20.0f);
    EXPECT_TRUE(m.HadInvalid());
    EXPECT_FLOAT_EQ(m.MaxValue(), 20);
    EXPECT_FLOAT_EQ(m.MinValue(), -3.5f);  // the image's own range

    // A grid read into a matrix that held another takes its shape and cells whole.
    TMatrixSingle limpo;
    limpo.SetColCount(7);
    limpo.SetRowCount(9);
    limpo.SetCell(1, 3, 50);
    limpo.LoadFromImage(DadosTeste("raster/canto.asc"));
    EXPECT_FALSE(limpo.HadInvalid());
    ASSERT_EQ(limpo.Rows(), 2);
    ASSERT_EQ(limpo.Columns(), 3);
    const float esperadas[] = {1.5f, 2, 0, 4, 5.25f, 6};  // -9999, the no-data value, is 0
    for (int i = 0; i < 6; ++i) EXPECT_EQ(limpo.Cell(i / 3 + 1, i % 3 + 1), esperadas[i]) << i;
    EXPECT_EQ(limpo.Title(), "Arquivo importado do ArcView - canto.asc");
    // An integer grid is copied cell by cell into the same matrix.
    limpo.LoadFromImage(DadosTeste("raster/morro.doc"));
    EXPECT_EQ(limpo.Cell(2, 2), 700.0f);
    EXPECT_EQ(limpo.Row(limpo.Rows())[limpo.Columns() - 1], limpo.Cell(limpo.Rows(), limpo.Columns()));
}

TEST(Matriz, CarregaImagemComUnidadeInvalidaOuAusente) {
    TMatrixSingle m;
    EXPECT_THROW(m.LoadFromImage(DadosTeste("raster/pes.img")), EUnitDist);
    EXPECT_THROW(m.LoadFromImage(DadosTeste("raster/nao_existe.asc")), EVandoro);
    // An integer image gives its integer range.
    m.LoadFromImage(DadosTeste("raster/morro.doc"));
    EXPECT_FLOAT_EQ(m.MaxValue(), 700);
    EXPECT_EQ(m.Cell(2, 1), 0.0f);  // -5
    EXPECT_EQ(m.Cell(2, 2), 700.0f);
}

TEST(Matriz, SemDadoPositivoEGradeSemUnidade) {
    PastaTemporaria tmp;
    // A positive no-data value is no elevation either: it must not become the highest cell.
    GravarArquivo(tmp.Arquivo("p.asc"), "ncols 2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 10\n"
                                         "NODATA_value 9999\n5 9999\n");
    TMatrixSingle m;
    m.LoadFromImage(tmp.Arquivo("p.asc"));
    EXPECT_EQ(m.Cell(1, 2), 0.0f);
    EXPECT_FLOAT_EQ(m.MaxValue(), 5);
    // Surfer grids keep no distance unit: the message names the file and the way out.
    EXPECT_ERRO(EUnitDist,
                "O arquivo tres.grd é uma grade do Surfer, que não guarda a unidade de "
                "distância: converta-o para \".asc\" ou \".doc\" com a unidade de "
                "distância (m ou km).",
                m.LoadFromImage(DadosTeste("raster/tres.grd")));
}

TEST(Matriz, DeclividadeMedia) {
    TImgDeclive d;
    d.SetColCount(3);
    d.SetRowCount(1);
    d.SetCell(1, 2, 2);
    d.SetCell(1, 3, 4);
    long long n = -1;
    EXPECT_DOUBLE_EQ(d.MeanSlope(n), 3.0);
    EXPECT_EQ(n, 2);
    TImgDeclive vazio;
    EXPECT_EQ(vazio.MeanSlope(n), 0.0);
    EXPECT_EQ(n, 0);
}

TEST(Matriz, ArquivoBinarioDaMatriz) {
    TMatrixSingle m;
    m.SetRowCount(1);
    m.SetColCount(2);
    m.SetTitle("T");
    m.SetUnitDist("km");
    m.SetMinX(1);
    m.SetMinY(2);
    m.SetCellWidth(0.5f);
    m.SetCellHeight(0.25f);
    m.SetCell(1, 1, -4);
    m.SetCell(1, 2, 7);
    PastaTemporaria tmp;
    m.SaveToFile(tmp.Arquivo("m.ras"));
    std::string b = LerArquivo(tmp.Arquivo("m.ras"));
    ASSERT_EQ(b.size(), 540u + 8u);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[1], 'R');
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[3], 'T');
    auto f32 = [&](size_t o) {
        float v;
        std::memcpy(&v, b.data() + o, 4);
        return v;
    };
    uint16_t cols, rows;
    std::memcpy(&cols, b.data() + 257, 2);
    std::memcpy(&rows, b.data() + 259, 2);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(rows, 1);
    EXPECT_FLOAT_EQ(f32(261), 1);
    EXPECT_FLOAT_EQ(f32(265), 2);     // MinX + 2 x 0.5
    EXPECT_FLOAT_EQ(f32(269), 2);
    EXPECT_FLOAT_EQ(f32(273), 2.25f);  // MinY + 1 x 0.25
    EXPECT_EQ(b.substr(277, 3), std::string("\x02km", 3));
    EXPECT_FLOAT_EQ(f32(540), 0);  // negative cell written as 0
    EXPECT_FLOAT_EQ(f32(544), 7);
}

TEST(Lista, ContagemECrescimento) {
    TLista<TPixelS> l;
    EXPECT_TRUE(l.IsEmpty());
    l.Add(new TPixelS(1, 2, 3.5f));
    l.Add(std::make_unique<TPixelS>(4, 5, 6));
    EXPECT_EQ(l.Count(), 2);
    EXPECT_EQ(l.Item(2)->Row(), 5);
    l.SetCount(4);
    EXPECT_EQ(l.Item(3), nullptr);
    EXPECT_EQ(l.Item(1)->Value(), 3.5f);
    l.SetCount(1);
    EXPECT_EQ(l.Count(), 1);
    l.Clear();
    EXPECT_TRUE(l.IsEmpty());
    TPixelS a(7, 8, 9), b;
    EXPECT_EQ(b.Col(), 0);
    b.Assign(a);
    EXPECT_EQ(b.Col(), 7);
    EXPECT_EQ(b.Row(), 8);
    EXPECT_EQ(b.Value(), 9.0f);
}

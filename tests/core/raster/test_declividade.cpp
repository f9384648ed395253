#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>

#include "TestSupport.h"
#include "core/raster/Declividade.h"

namespace {

std::string Dado(const std::string& n) { return DadosTeste("raster/" + n); }

struct Gravador : IProgresso {
    std::vector<std::string> status;
    std::vector<int> posicoes;
    int max = -1;
    void SetMax(int m) override { max = m; }
    void SetPosition(int p) override { posicoes.push_back(p); }
    void SetStatus(const std::string& t) override { status.push_back(t); }
};

// A cols x rows grid, row 0 north, with cell size dx by dy.
void Monta(TImagem& img, int cols, int rows, const std::vector<float>& v, double dx, double dy,
           TTipoCelula tipo = TTipoCelula::Real, const std::string& unidade = "m", float flag = -99) {
    img.SetCellType(tipo);
    img.SetColumns(cols);
    img.SetRows(rows);
    img.SetMinX(0);
    img.SetMaxX(static_cast<float>(cols * dx));
    img.SetMinY(0);
    img.SetMaxY(static_cast<float>(rows * dy));
    img.SetRefUnits(unidade);
    img.SetFlagValue(flag);
    img.Allocate();
    for (size_t i = 0; i < v.size(); ++i) img.SetReal(static_cast<long long>(i), v[i]);
}

std::vector<float> Celulas(const TImagem& img) {
    std::vector<float> v(static_cast<size_t>(img.Columns()) * img.Rows());
    for (size_t i = 0; i < v.size(); ++i) v[i] = img.GetRealRaw(static_cast<long long>(i));
    return v;
}

// Slope straight from its definition: every present neighbour through TFFunc::Gradient.
std::vector<float> Referencia(const std::vector<float>& z0, int C, int R, double dx, double dy,
                              float flag, bool inteiro) {
    std::vector<float> z = z0;
    if (!inteiro)
        for (float& v : z)
            if (v == flag) v = 0;
    const double dd = std::sqrt(dx * dx + dy * dy);
    std::vector<float> out(z.size());
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            float zc = z[static_cast<size_t>(r * C + c)];
            float s = 0;
            double soma = 0;
            int presentes = 0;
            for (int i = -1; i <= 1; ++i)
                for (int j = -1; j <= 1; ++j) {
                    if ((i == 0 && j == 0) || r + i < 0 || r + i >= R || c + j < 0 || c + j >= C) continue;
                    float zn = z[static_cast<size_t>((r + i) * C + c + j)];
                    if (zn == 0 || zc == 0) continue;
                    double d = i == 0 ? dx : j == 0 ? dy : dd;
                    float g = TFFunc::Gradient(d, zn, zc);
                    s = std::max(s, g);
                    if (i <= 0 && j <= 0) {  // left, upper, upper-left
                        soma += g;
                        ++presentes;
                    }
                }
            float& o = out[static_cast<size_t>(r * C + c)];
            if (inteiro) {
                o = static_cast<float>(s * 100.0);
                if (r == R - 1 && c == C - 1)
                    o = presentes ? static_cast<float>(soma / presentes * 100.0) : 0;
            } else {
                o = s != 0 ? static_cast<float>(s * 100.0) : (r == R - 1 ? 0.0f : flag);
            }
        }
    return out;
}

constexpr float k7071 = 70.710678f;

}  // namespace

TEST(Declividade, GradeTresPorTresComCentroElevadoReal) {
    PastaTemporaria tmp;
    TDecliTipoSingle d;
    d.Compute(Dado("declive3.asc"), tmp.Arquivo("dec.asc"), "Declividade teste");
    TImagem out;
    ASSERT_TRUE(out.LoadFromFile(tmp.Arquivo("dec.asc")));
    std::vector<float> v = Celulas(out);
    // Centre 10/10; orthogonal neighbours 10/10; corners 10/sqrt(200); also on the last row.
    const float esperado[] = {k7071, 100, k7071, 100, 100, 100, k7071, 100, k7071};
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(v[static_cast<size_t>(i)], esperado[i], 1e-4) << i;
    EXPECT_FLOAT_EQ(out.FlagValue(), -99);
    EXPECT_FLOAT_EQ(d.NoData(), -99);

    // Header from the input, range from the slopes.
    TImagem mem;
    TImagem ent;
    ASSERT_TRUE(ent.LoadFromFile(Dado("declive3.asc")));
    d.Calcula(ent, mem, "Declividade teste");
    EXPECT_EQ(mem.Title(), "Declividade teste");
    EXPECT_EQ(mem.CellType(), TTipoCelula::Real);
    EXPECT_EQ(mem.RefUnits(), "m");
    EXPECT_FLOAT_EQ(mem.MaxX(), 30);
    EXPECT_FLOAT_EQ(mem.MaxY(), 30);
    EXPECT_NEAR(mem.MinValueReal(), k7071, 1e-4);
    EXPECT_FLOAT_EQ(mem.MaxValueReal(), 100);
}

TEST(Declividade, VarianteInteiraMediaNaUltimaCelula) {
    PastaTemporaria tmp;
    DecTipoInteger().Compute(Dado("declive3i.doc"), tmp.Arquivo("dec.doc"), "Título do diálogo");
    TImagem out;
    ASSERT_TRUE(out.LoadFromFile(tmp.Arquivo("dec.doc")));
    EXPECT_EQ(out.CellType(), TTipoCelula::Real);
    EXPECT_EQ(out.Title(), "Título do diálogo");
    std::vector<float> v = Celulas(out);
    const float esperado[] = {k7071, 100, k7071, 100, 100, 100, k7071, 100, 23.570226f};
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(v[static_cast<size_t>(i)], esperado[i], 1e-4) << i;
    // Range: smallest positive and largest slope, the mean included.
    EXPECT_NEAR(out.MinValueReal(), 23.570226f, 1e-4);
    EXPECT_FLOAT_EQ(out.MaxValueReal(), 100);
}

TEST(Declividade, PlanoSemDadoEZeroNasDuasVariantes) {
    // Flat 4 x 3 area: no slope anywhere.
    std::vector<float> plano(12, 50.0f);
    TImagem e, s;
    Monta(e, 4, 3, plano, 10, 10);
    TDecliTipoSingle().Calcula(e, s, "");
    std::vector<float> v = Celulas(s);
    for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(v[static_cast<size_t>(i)], -99) << i;
    for (int i = 8; i < 12; ++i) EXPECT_FLOAT_EQ(v[static_cast<size_t>(i)], 0) << i;  // last row
    EXPECT_FLOAT_EQ(s.MinValueReal(), 0);
    EXPECT_FLOAT_EQ(s.MaxValueReal(), 0);

    TImagem ei, si;
    Monta(ei, 4, 3, plano, 10, 10, TTipoCelula::Inteiro);
    DecTipoInteger().Calcula(ei, si, "");
    for (float x : Celulas(si)) EXPECT_FLOAT_EQ(x, 0);

    // A no-data neighbour is ignored by the real variant; an elevation of 0 has no slope.
    const std::vector<float> g = {-99, 100, 100, 100, 0, 100, 100, 100, 100};
    TImagem e2, s2;
    Monta(e2, 3, 3, g, 10, 10);
    TDecliTipoSingle().Calcula(e2, s2, "");
    v = Celulas(s2);
    EXPECT_FLOAT_EQ(v[1], -99);  // its only differing neighbours are missing
    EXPECT_FLOAT_EQ(v[4], -99);  // centre missing
    EXPECT_FLOAT_EQ(v[0], -99);  // the no-data cell itself
    // The integer variant knows only 0 as missing: -99 is an elevation there.
    TImagem e3, s3;
    Monta(e3, 3, 3, g, 10, 10, TTipoCelula::Inteiro);
    DecTipoInteger().Calcula(e3, s3, "");
    EXPECT_NEAR(Celulas(s3)[1], 1990, 1e-3);
    EXPECT_FLOAT_EQ(Celulas(s3)[4], 0);
}

TEST(Declividade, EspacamentoEmQuilometrosEUnidadeInvalida) {
    TImagem km;
    Monta(km, 3, 1, {100, 103, 103}, 1, 1, TTipoCelula::Real, "km");
    km.SetMaxX(0.09f);
    km.SetMaxY(0.03f);
    TEspacamentoCelulas e = EspacamentoCelulas(km);
    EXPECT_NEAR(e.dx, 30, 1e-4);
    EXPECT_NEAR(e.dy, 30, 1e-4);
    EXPECT_NEAR(e.diagonal, std::sqrt(1800.0), 1e-4);
    TImagem s;
    TDecliTipoSingle().Calcula(km, s, "");
    EXPECT_NEAR(Celulas(s)[0], 10, 1e-4);  // 3 m over 30 m

    // Units checked before any work; nothing is written.
    PastaTemporaria tmp;
    const std::string msg = "A unidade de distância utilizada na imagem é inválida";
    EXPECT_EQ(MensagemDe([&] { VerificaEntradaDeclividade(Dado("pes.doc"), tmp.Arquivo("x.asc")); }), msg);
    EXPECT_EQ(MensagemDe([&] { CalculaDeclividade(Dado("pes.doc"), tmp.Arquivo("x.asc"), "t"); }), msg);
    EXPECT_EQ(MensagemDe([&] { TDecliTipoSingle().Compute(Dado("pes.doc"), tmp.Arquivo("x.asc"), "t"); }), msg);
    EXPECT_FALSE(std::filesystem::exists(tmp.Arquivo("x.asc")));
    TImagem ft, out;
    Monta(ft, 2, 2, {1, 2, 3, 4}, 10, 10, TTipoCelula::Real, "M ");
    EXPECT_THROW(TDecliTipoSingle().Calcula(ft, out, ""), EUnidadeImagem);
    ft.SetRefUnits("Km");
    EXPECT_NO_THROW(EspacamentoCelulas(ft));
    // Zero-width bounds would divide by zero.
    ft.SetMaxX(0);
    EXPECT_NE(MensagemDe([&] { EspacamentoCelulas(ft); }).find("tamanho da célula"), std::string::npos);
}

TEST(Declividade, VerificacoesDoDialogoNaOrdem) {
    PastaTemporaria tmp;
    EXPECT_EQ(MensagemDe([&] { AbreEntradaRaster(tmp.Arquivo("nada.asc"), ""); }), "Arquivo de entrada inválido.");
    EXPECT_EQ(MensagemDe([&] { AbreEntradaRaster("", "x.asc"); }), "Arquivo de entrada inválido.");
    EXPECT_EQ(MensagemDe([&] { AbreEntradaRaster(Dado("declive3.asc"), ""); }), "Arquivo de saída inválido.");
    const std::string byte = "Arquivo especificado é do tipo byte. Utilize um arquivo do tipo inteiro ou real.";
    EXPECT_ERRO(EArquivoByte, byte, CalculaDeclividade(Dado("byte3.doc"), tmp.Arquivo("x.asc"), ""));
    EXPECT_FALSE(std::filesystem::exists(tmp.Arquivo("x.asc")));
    // The variant follows the cell type.
    EXPECT_EQ(CalculaDeclividade(Dado("declive3i.doc"), tmp.Arquivo("i.asc"), ""), TTipoCelula::Inteiro);
    EXPECT_EQ(CalculaDeclividade(Dado("declive3.asc"), tmp.Arquivo("r.asc"), ""), TTipoCelula::Real);
    TImagem i, r;
    ASSERT_TRUE(i.LoadFromFile(tmp.Arquivo("i.asc")));
    ASSERT_TRUE(r.LoadFromFile(tmp.Arquivo("r.asc")));
    EXPECT_NEAR(i.GetReal(8), 23.570226f, 1e-4);
    EXPECT_NEAR(r.GetReal(8), k7071, 1e-4);
    // The raster layer refuses an unknown output format when saving.
    EXPECT_EQ(MensagemDe([&] { CalculaDeclividade(Dado("declive3.asc"), tmp.Arquivo("d.ras"), ""); }),
              "Erro. O arquivo d.ras não corresponde a um arquivo válido de imagem.");
    // ... before the input is even read: a byte input gets the format error, not its own,
    // and nothing is written.
    EXPECT_EQ(MensagemDe([&] { CalculaDeclividade(Dado("byte3.doc"), tmp.Arquivo("b.ras"), ""); }),
              "Erro. O arquivo b.ras não corresponde a um arquivo válido de imagem.");
    EXPECT_EQ(MensagemDe([&] { AbreEntradaRaster(Dado("byte3.doc"), tmp.Arquivo("b.rst")); }), "Não implementado.");
    EXPECT_FALSE(std::filesystem::exists(tmp.Arquivo("b.ras")));
    EXPECT_EQ(TituloDeclividade("/a/b/morro.doc"), "Imagem declividade gerada do arquivo imagem de elevação morro.doc");
}

TEST(Declividade, PlanoInclinadoCelulasRetangulares) {
    // z = 0.03 x + 0.04 y (x east, y north) on 10 m x 20 m cells: east 0.03, north 0.04,
    // diagonal (0.3 + 0.8) / sqrt(500) = 0.0492 -> 4.919 % everywhere inside.
    const int C = 7, R = 6;
    std::vector<float> z;
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) z.push_back(static_cast<float>(500 + 0.03 * 10 * c + 0.04 * 20 * (R - 1 - r)));
    TImagem e, s;
    Monta(e, C, R, z, 10, 20);
    TDecliTipoSingle().Calcula(e, s, "");
    const double esperado = 1.1 / std::sqrt(500.0) * 100;
    for (int r = 1; r < R - 1; ++r)
        for (int c = 1; c < C - 1; ++c) EXPECT_NEAR(s.GetReal({c, r}), esperado, 1e-3) << r << "," << c;
    // North-west corner: its only diagonal climbs 0.8 and falls 0.3, so the 4 % towards
    // the south wins; the north-east corner keeps the steep south-west diagonal.
    EXPECT_NEAR(s.GetReal({0, 0}), 4, 1e-3);
    EXPECT_NEAR(s.GetReal({C - 1, 0}), esperado, 1e-3);
}

TEST(Declividade, TextosDeStatusEProgresso) {
    std::vector<float> z(12);
    for (size_t i = 0; i < z.size(); ++i) z[i] = 100.0f + static_cast<float>(i);
    PastaTemporaria tmp;
    TImagem e;
    Monta(e, 3, 4, z, 10, 10);
    e.SaveToFile(tmp.Arquivo("e.asc"));
    Gravador g;
    TDecliTipoSingle(&g).Compute(tmp.Arquivo("e.asc"), tmp.Arquivo("s.asc"), "t");
    const std::vector<std::string> esperado = {
        "Carregando arquivo e.asc",
        "Calculando declividade para os pixels intermediários da primeira linha.",
        "Calculando a declividade para a linha 2.",
        "Calculando a declividade para a linha 3.",
        "Calculando a declividade para a última linha.",
        "Salvando o arquivo de declividade em s.asc",
        ""};
    EXPECT_EQ(g.status, esperado);
    EXPECT_EQ(g.max, 4);
    EXPECT_EQ(g.posicoes, (std::vector<int>{2, 3, 0}));
    // The integer worker reports nothing.
    Gravador gi;
    TImagem ei, si;
    Monta(ei, 3, 4, z, 10, 10, TTipoCelula::Inteiro);
    DecTipoInteger(&gi).Calcula(ei, si, "");
    EXPECT_TRUE(gi.status.empty());
    EXPECT_TRUE(gi.posicoes.empty());
}

TEST(Declividade, FuncoesDeFaixaEGradiente) {
    EXPECT_FLOAT_EQ(TFFunc::Gradient(10, 100, 110), 1);
    EXPECT_FLOAT_EQ(TFFunc::Gradient(10, 110, 100), 1);
    const float a[] = {-3, -1, -2};
    EXPECT_FLOAT_EQ(TFFunc::RowMax(a, 3), -1);
    // Every value counts, the first one too, so the range never misses the smallest slope.
    const float b[] = {0.5f, 2, 0, 1};
    EXPECT_FLOAT_EQ(TFFunc::RowMinPositive(b, 4), 0.5f);
    const float c[] = {0, -1};
    EXPECT_FLOAT_EQ(TFFunc::RowMinPositive(c, 2), TFFunc::kSemPositivo);
    EXPECT_FLOAT_EQ(TFFunc::kSemPositivo, 999999986991104.0f);

    // Smallest slope in the first cell of the first row reaches the header.
    TImagem e, s;
    Monta(e, 3, 2, {100, 100.1f, 103, 100, 104, 110}, 10, 10);
    TDecliTipoSingle().Calcula(e, s, "");
    float menor = 1e30f;
    for (float v : Celulas(s))
        if (v > 0) menor = std::min(menor, v);
    EXPECT_FLOAT_EQ(s.MinValueReal(), menor);
}

TEST(Declividade, GradeSemValorSemDadoGravaMenos99) {
    PastaTemporaria tmp;
    // A header + float pair may declare no no-data value (an ASCII grid always has one).
    GravarArquivo(tmp.Arquivo("e.hdr"), "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 10\n");
    const float um[4] = {1, 1, 1, 1};
    GravarArquivo(tmp.Arquivo("e.flt"), std::string(reinterpret_cast<const char*>(um), sizeof um));
    TDecliTipoSingle d;
    d.Compute(tmp.Arquivo("e.hdr"), tmp.Arquivo("s.asc"), "");
    EXPECT_FLOAT_EQ(d.NoData(), -99);
    TImagem s;
    ASSERT_TRUE(s.LoadFromFile(tmp.Arquivo("s.asc")));
    EXPECT_FLOAT_EQ(s.FlagValue(), -99);
    EXPECT_FLOAT_EQ(s.GetReal(0), -99);
    EXPECT_FLOAT_EQ(s.GetReal(2), 0);
}

TEST(Declividade, GradeLargaAlemDeCincoMilColunas) {
    const int C = 6001, R = 3;
    std::vector<float> z(static_cast<size_t>(C) * R);
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) z[static_cast<size_t>(r * C + c)] = 1000.0f + 0.5f * c;
    TImagem e, s;
    Monta(e, C, R, z, 10, 10);
    TDecliTipoSingle().Calcula(e, s, "");
    EXPECT_NEAR(s.GetReal({C - 2, 1}), 5, 1e-4);  // 0.5 m per 10 m
    EXPECT_NEAR(s.GetReal({C - 1, 2}), 5, 1e-4);
}

TEST(Declividade, IgualADefinicaoEmGradesAleatorias) {
    for (unsigned semente = 1; semente <= 200; ++semente) {
        std::mt19937 rng(semente);
        const int C = 1 + static_cast<int>(rng() % 9), R = 1 + static_cast<int>(rng() % 9);
        const double dx = 1 + rng() % 30, dy = 1 + rng() % 30;
        std::vector<float> z(static_cast<size_t>(C) * R);
        for (float& v : z) {
            unsigned k = rng() % 10;
            v = k == 0 ? 0.0f : k == 1 ? -99.0f : static_cast<float>(std::uniform_real_distribution<double>(-50, 900)(rng));
        }
        for (bool inteiro : {false, true}) {
            if (inteiro)
                for (float& v : z) v = std::nearbyint(v);
            TImagem e, s;
            Monta(e, C, R, z, dx, dy, inteiro ? TTipoCelula::Inteiro : TTipoCelula::Real);
            if (inteiro) DecTipoInteger().Calcula(e, s, "");
            else TDecliTipoSingle().Calcula(e, s, "");
            std::vector<float> esperado = Referencia(z, C, R, dx, dy, -99, inteiro);
            std::vector<float> obtido = Celulas(s);
            for (size_t i = 0; i < z.size(); ++i)
                ASSERT_EQ(obtido[i], esperado[i]) << "semente " << semente << " inteiro " << inteiro
                                                  << " célula " << i << " (" << C << "x" << R << ")";
        }
    }
}

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>

#include "TestSupport.h"
#include "core/gdal/Gdal.h"
#include "core/raster/Filtro.h"

namespace fs = std::filesystem;

namespace {

std::string Dado(const std::string& n) { return DadosTeste("raster/" + n); }

size_t Arquivos(const std::string& pasta) {
    size_t n = 0;
    for (auto& e : fs::directory_iterator(pasta)) {
        (void)e;
        ++n;
    }
    return n;
}

// Records captions and statuses.
struct Gravador : IProgresso {
    std::vector<std::string> status, legendas;
    int max = -1;
    void SetMax(int m) override { max = m; }
    void SetStatus(const std::string& t) override { status.push_back(t); }
    void SetCaption(const std::string& t) override { legendas.push_back(t); }
};

void Monta(TImagem& img, int cols, int rows, const std::vector<float>& v, TTipoCelula tipo = TTipoCelula::Real,
           float flag = -99) {
    img.SetCellType(tipo);
    img.SetColumns(cols);
    img.SetRows(rows);
    img.SetMinX(0);
    img.SetMaxX(static_cast<float>(cols * 10));
    img.SetMinY(0);
    img.SetMaxY(static_cast<float>(rows * 10));
    img.SetRefUnits("m");
    img.SetFlagValue(flag);
    img.Allocate();
    for (size_t i = 0; i < v.size(); ++i) img.SetReal(static_cast<long long>(i), v[i]);
}

std::vector<float> Celulas(const TImagem& img) {
    std::vector<float> v(static_cast<size_t>(img.Columns()) * img.Rows());
    for (size_t i = 0; i < v.size(); ++i) v[i] = img.GetRealRaw(static_cast<long long>(i));
    return v;
}

std::vector<float> Celulas(const std::string& arq) {
    TImagem img;
    EXPECT_TRUE(img.LoadFromFile(arq)) << arq;
    return Celulas(img);
}

// The mean straight from its definition, one cell at a time.
std::vector<float> Referencia(const std::vector<float>& z0, int C, int R, float flag, bool inteiro) {
    std::vector<float> z = z0;
    if (!inteiro)
        for (float& v : z)
            if (v == flag) v = 0;
    std::vector<float> out(z.size());
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            double soma = 0;
            int janela = 0, faltam = 0;
            for (int i = -1; i <= 1; ++i)
                for (int j = -1; j <= 1; ++j) {
                    if (r + i < 0 || r + i >= R || c + j < 0 || c + j >= C) continue;
                    float v = z[static_cast<size_t>((r + i) * C + c + j)];
                    ++janela;
                    if (v == 0) ++faltam;
                    soma += v;
                }
            float centro = z[static_cast<size_t>(r * C + c)];
            float o = centro == 0 ? 0.0f : static_cast<float>(soma / (janela - faltam));
            out[static_cast<size_t>(r * C + c)] = o != 0 ? o : (inteiro ? 0.0f : flag);
        }
    return out;
}

}  // namespace

TEST(Filtro, GradeDeUnsComCentroDez) {
    PastaTemporaria tmp;
    TFiltroTipoSingle f;
    f.Compute(Dado("filtro3.asc"), tmp.Arquivo("f.asc"), 1);
    TImagem out;
    ASSERT_TRUE(out.LoadFromFile(tmp.Arquivo("f.asc")));
    std::vector<float> v = Celulas(out);
    // Centre (8 + 10) / 9, corners (1 + 1 + 1 + 10) / 4, edges (5 + 10) / 6.
    const float esperado[] = {3.25f, 2.5f, 3.25f, 2.5f, 2, 2.5f, 3.25f, 2.5f, 3.25f};
    for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(v[static_cast<size_t>(i)], esperado[i]) << i;
    EXPECT_FLOAT_EQ(out.FlagValue(), -99);
    EXPECT_FLOAT_EQ(f.NoData(), -99);

    // Header of the result: range of the pass, fixed title; written in Idrisi to see both.
    f.Compute(Dado("filtro3.asc"), tmp.Arquivo("f.doc"), 1);
    TImagem doc;
    ASSERT_TRUE(doc.LoadFromFile(tmp.Arquivo("f.doc")));
    EXPECT_EQ(doc.CellType(), TTipoCelula::Real);
    EXPECT_EQ(doc.Title(), "Imagem filtrada da imagem filtro3.asc");
    EXPECT_FLOAT_EQ(doc.MinValueReal(), 2);
    EXPECT_FLOAT_EQ(doc.MaxValueReal(), 3.25f);
    EXPECT_FLOAT_EQ(doc.MaxX(), 30);
}

TEST(Filtro, CelulasSemDadoEIsoladas) {
    // An isolated cell keeps its value; a missing centre (0 or no-data) stays missing.
    const std::vector<float> z = {7, 0, -99, 0, 0, 0, 5, 5, 5};
    TImagem e;
    Monta(e, 3, 3, z);
    PastaTemporaria tmp;
    e.SaveToFile(tmp.Arquivo("e.asc"));
    TFiltroTipoSingle f;
    f.Compute(tmp.Arquivo("e.asc"), tmp.Arquivo("s.asc"), 1);
    std::vector<float> v = Celulas(tmp.Arquivo("s.asc"));
    EXPECT_FLOAT_EQ(v[0], 7);
    EXPECT_FLOAT_EQ(v[1], -99);
    EXPECT_FLOAT_EQ(v[2], -99);
    EXPECT_FLOAT_EQ(v[4], -99);
    EXPECT_FLOAT_EQ(v[6], 5);
    // Integer variant: only 0 is missing and stays 0; -99 is a value.
    TImagem ei, si;
    Monta(ei, 3, 3, z, TTipoCelula::Inteiro);
    FiltroTipoInteger().Calcula(ei, si, 1, "t");
    v = Celulas(si);
    EXPECT_FLOAT_EQ(v[1], 0);
    EXPECT_FLOAT_EQ(v[4], 0);
    EXPECT_FLOAT_EQ(v[0], 7);
    EXPECT_FLOAT_EQ(v[2], -99);
}

TEST(Filtro, DuasPassadasIgualAUmaPassadaDuasVezes) {
    PastaTemporaria tmp;
    std::mt19937 rng(7);
    std::vector<float> z(6 * 5);
    for (float& v : z) v = (rng() % 6 == 0) ? 0.0f : static_cast<float>(300 + rng() % 1000 / 7.0);
    TImagem e;
    Monta(e, 6, 5, z);
    e.SaveToFile(tmp.Arquivo("e.flt"));
    TFiltroTipoSingle f;
    f.Compute(tmp.Arquivo("e.flt"), tmp.Arquivo("dois.flt"), 2);
    f.Compute(tmp.Arquivo("e.flt"), tmp.Arquivo("um.flt"), 1);
    f.Compute(tmp.Arquivo("um.flt"), tmp.Arquivo("um_um.flt"), 1);
    EXPECT_EQ(Celulas(tmp.Arquivo("dois.flt")), Celulas(tmp.Arquivo("um_um.flt")));
    EXPECT_NE(Celulas(tmp.Arquivo("dois.flt")), Celulas(tmp.Arquivo("um.flt")));

    // The integer variant: the second pass filters the real result of the first.
    TImagem ei, dois, um, umUm;
    Monta(ei, 6, 5, z, TTipoCelula::Inteiro);
    FiltroTipoInteger().Calcula(ei, dois, 2, "");
    FiltroTipoInteger().Calcula(ei, um, 1, "");
    EXPECT_EQ(Celulas(dois), Referencia(Celulas(um), 6, 5, 0, true));
}

// The working copy lives in memory: nothing is written but the result, not even in the
// temporary folder, also when the save fails; an error still resets status and caption.
TEST(Filtro, SoOResultadoEGravado) {
    PastaTemporaria tmp, temporaria;
    const char* antes = std::getenv("TMPDIR");
    const std::string tmpdir = antes ? antes : "";
    setenv("TMPDIR", temporaria.Caminho().c_str(), 1);
    Gravador g;
    TFiltroTipoSingle f(&g, "Filtro");
    f.Compute(Dado("filtro3.asc"), tmp.Arquivo("s.grd"), 2);
    EXPECT_EQ(Arquivos(tmp.Caminho()), 1u);

    Gravador g2;
    TFiltroTipoSingle f2(&g2, "Filtro");
    EXPECT_EQ(MensagemDe([&] { f2.Compute(Dado("filtro3.asc"), tmp.Arquivo("s.ras"), 1); }),
              "Erro. O arquivo s.ras não corresponde a um arquivo válido de imagem.");
    EXPECT_EQ(g2.status.back(), "");
    EXPECT_EQ(g2.legendas.back(), "Filtro");
    EXPECT_THROW(CalculaFiltro(Dado("filtro3.asc"), tmp.Arquivo("s.ras"), 3, "", nullptr, "Filtro"), EVandoro);
    EXPECT_EQ(Arquivos(tmp.Caminho()), 1u);
    EXPECT_EQ(Arquivos(temporaria.Caminho()), 0u);
    if (antes) setenv("TMPDIR", tmpdir.c_str(), 1);
    else unsetenv("TMPDIR");
}

// An input the caller gives up lends its cells to the working copy and gives the same
// result as one copied; the unit and the system of the input stay with the result (a model
// in km once came out in m).
TEST(Filtro, EntradaEmprestaAsCelulasEAUnidadeFica) {
    PastaTemporaria tmp;
    std::mt19937 rng(11);
    std::vector<float> z(40 * 30);
    for (float& v : z) v = (rng() % 9 == 0) ? -99.0f : static_cast<float>(0.3 + rng() % 1000 / 3000.0);
    TImagem e;
    Monta(e, 40, 30, z);
    e.SetRefUnits("km");
    e.SetCrs(CrsDeEpsg(31983));
    e.SaveToFile(tmp.Arquivo("e.doc"));
    TImagem copiada, emprestada;
    ASSERT_TRUE(copiada.LoadFromFile(tmp.Arquivo("e.doc")));
    ASSERT_TRUE(emprestada.LoadFromFile(tmp.Arquivo("e.doc")));
    TFiltroTipoSingle().Compute(copiada, "e.doc", tmp.Arquivo("c.doc"), 3);
    EXPECT_EQ(Celulas(copiada), Celulas(tmp.Arquivo("e.doc")));  // not given up: untouched
    TFiltroTipoSingle f;
    f.SetLiberaEntrada(true);
    f.Compute(emprestada, "e.doc", tmp.Arquivo("l.doc"), 3);
    EXPECT_EQ(emprestada.StoreSize(), 0);
    EXPECT_EQ(Celulas(tmp.Arquivo("c.doc")), Celulas(tmp.Arquivo("l.doc")));
    TImagem r;
    ASSERT_TRUE(r.LoadFromFile(tmp.Arquivo("l.doc")));
    EXPECT_EQ(r.RefUnits(), "km");
    EXPECT_TRUE(MesmoCrs(r.Crs(), CrsDeEpsg(31983)));
    EXPECT_FLOAT_EQ(r.FlagValue(), -99);
}

TEST(Filtro, LegendasEStatus) {
    PastaTemporaria tmp;
    Gravador g;
    TFiltroTipoSingle f(&g, "Filtro");
    f.Compute(Dado("filtro3.asc"), tmp.Arquivo("s.asc"), 2);
    EXPECT_EQ(g.status, (std::vector<std::string>{"Criando arquivo temporário.", "Carregando arquivo temporário.",
                                                  "Processando filtro número 1", "Processando filtro número 2", ""}));
    EXPECT_EQ(g.legendas, (std::vector<std::string>{"Filtro - Processando filtro número 1",
                                                    "Filtro - Processando filtro número 2", "Filtro"}));
    EXPECT_EQ(g.max, 2);

    // The integer worker shows the pass only in the caption.
    Gravador gi;
    FiltroTipoInteger(&gi, "Filtro").Compute(Dado("filtro3i.doc"), tmp.Arquivo("i.asc"), 2, "Meu título");
    EXPECT_TRUE(gi.status.empty());
    EXPECT_EQ(gi.legendas, (std::vector<std::string>{"Filtro - Processando filtro número 1",
                                                     "Filtro - Processando filtro número 2", "Filtro"}));
}

TEST(Filtro, VarianteInteiraGravaReal) {
    PastaTemporaria tmp;
    FiltroTipoInteger().Compute(Dado("filtro3i.doc"), tmp.Arquivo("i.doc"), 1, "Meu título");
    TImagem out;
    ASSERT_TRUE(out.LoadFromFile(tmp.Arquivo("i.doc")));
    EXPECT_EQ(out.CellType(), TTipoCelula::Real);
    EXPECT_EQ(out.Title(), "Meu título");
    EXPECT_FLOAT_EQ(out.MinValueReal(), 2);
    EXPECT_FLOAT_EQ(out.MaxValueReal(), 3.25f);
    const float esperado[] = {3.25f, 2.5f, 3.25f, 2.5f, 2, 2.5f, 3.25f, 2.5f, 3.25f};
    std::vector<float> v = Celulas(out);
    for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(v[static_cast<size_t>(i)], esperado[i]) << i;
    // The dispatcher picks it by the cell type and gives it the dialog's default title.
    EXPECT_EQ(CalculaFiltro(Dado("filtro3i.doc"), tmp.Arquivo("d.doc"), 1, ""), TTipoCelula::Inteiro);
    ASSERT_TRUE(out.LoadFromFile(tmp.Arquivo("d.doc")));
    EXPECT_EQ(out.Title(), "Imagem filtrada do arquivo de imagem filtro3i.doc");
    EXPECT_EQ(CalculaFiltro(Dado("filtro3.asc"), tmp.Arquivo("r.doc"), 1, "", nullptr, "Filtro"), TTipoCelula::Real);
    ASSERT_TRUE(out.LoadFromFile(tmp.Arquivo("r.doc")));
    EXPECT_EQ(out.Title(), "Imagem filtrada da imagem filtro3.asc");
}

TEST(Filtro, RecusasEPassadasForaDaFaixa) {
    PastaTemporaria tmp;
    const std::string faixa = "O número de filtragens deve estar entre 1 e 50.";
    EXPECT_EQ(MensagemDe([&] { CalculaFiltro(Dado("filtro3.asc"), tmp.Arquivo("s.asc"), 0, ""); }), faixa);
    EXPECT_EQ(MensagemDe([&] { CalculaFiltro(Dado("filtro3.asc"), tmp.Arquivo("s.asc"), 51, ""); }), faixa);
    TImagem e, s;
    Monta(e, 2, 2, {1, 2, 3, 4}, TTipoCelula::Inteiro);
    EXPECT_EQ(MensagemDe([&] { FiltroTipoInteger().Calcula(e, s, 0, ""); }), faixa);
    EXPECT_EQ(MensagemDe([&] { CalculaFiltro(Dado("byte3.doc"), tmp.Arquivo("s.asc"), 1, ""); }),
              "Arquivo especificado é do tipo byte. Utilize um arquivo do tipo inteiro ou real.");
    EXPECT_EQ(MensagemDe([&] { CalculaFiltro(tmp.Arquivo("nada.asc"), tmp.Arquivo("s.asc"), 1, ""); }),
              "Arquivo de entrada inválido.");
    EXPECT_EQ(MensagemDe([&] { CalculaFiltro(Dado("filtro3.asc"), "", 1, ""); }), "Arquivo de saída inválido.");
    EXPECT_FALSE(fs::exists(tmp.Arquivo("s.asc")));
    // Fifty passes of a smooth plane change nothing inside.
    std::vector<float> plano(25, 42.0f);
    TImagem p, q;
    Monta(p, 5, 5, plano, TTipoCelula::Inteiro);
    FiltroTipoInteger().Calcula(p, q, kMaxFiltragens, "");
    for (float v : Celulas(q)) EXPECT_FLOAT_EQ(v, 42);
}

TEST(Filtro, IgualADefinicaoEmGradesAleatorias) {
    for (unsigned semente = 1; semente <= 200; ++semente) {
        std::mt19937 rng(semente);
        const int C = 1 + static_cast<int>(rng() % 9), R = 1 + static_cast<int>(rng() % 9);
        std::vector<float> z(static_cast<size_t>(C) * R);
        for (float& v : z) {
            unsigned k = rng() % 8;
            v = k == 0 ? 0.0f : k == 1 ? -99.0f : static_cast<float>(std::uniform_real_distribution<double>(-20, 900)(rng));
        }
        // Real cells through one pass, in place as the working copy is filtered.
        TImagem e;
        Monta(e, C, R, z);
        FiltroPassada(e, e, false, -99, -99);
        ASSERT_EQ(Celulas(e), Referencia(z, C, R, -99, false)) << "semente " << semente << " (" << C << "x" << R << ")";
        // Integer cells into a separate real image.
        for (float& v : z) v = std::nearbyint(v);
        TImagem ei, si;
        Monta(ei, C, R, z, TTipoCelula::Inteiro);
        FiltroTipoInteger().Calcula(ei, si, 1, "");
        ASSERT_EQ(Celulas(si), Referencia(z, C, R, -99, true)) << "semente " << semente;
    }
}

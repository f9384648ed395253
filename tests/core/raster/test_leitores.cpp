// Readers that refuse what they cannot read, and read what they can.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"

namespace {
const std::string kCab = "ncols 3\nnrows 2\nxllcorner 500000\nyllcorner 7000000\ncellsize 10\n";
}  // namespace

TEST(Leitores, AscSemNodataUsaMenos9999ApenasNoAsc) {
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("a.asc"), kCab + "-9999 5 6\n7 8 -9999\n");
    TImagem a;
    ASSERT_TRUE(a.LoadFromFile(tmp.Arquivo("a.asc")));
    EXPECT_EQ(a.FlagValue(), -9999.0f);
    a.ComputeMinMax(false);
    EXPECT_EQ(a.ValidCount(), 4);
    EXPECT_EQ(a.MinValue(), 5);
    // Written back, the value is declared, so any reader sees the same no-data.
    a.SaveToFile(tmp.Arquivo("b.asc"));
    EXPECT_NE(LerArquivo(tmp.Arquivo("b.asc")).find("NODATA_value"), std::string::npos);

    // A header + float pair has no such default.
    GravarArquivo(tmp.Arquivo("c.hdr"), kCab);
    const float cel[6] = {-9999, 5, 6, 7, 8, 9};
    GravarArquivo(tmp.Arquivo("c.flt"), std::string(reinterpret_cast<const char*>(cel), sizeof cel));
    TImagem c;
    ASSERT_TRUE(c.LoadFromFile(tmp.Arquivo("c.hdr")));
    EXPECT_TRUE(std::isnan(c.FlagValue()));
    EXPECT_EQ(c.ValidCount(), 6);
}

TEST(Leitores, GradeRecusadaDeixaAImagemVazia) {
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("d.asc"), kCab + "ncols 2\n1 2 3\n4 5 6\n");
    TImagem d;
    EXPECT_EQ(MensagemDe([&] { d.LoadFromFile(tmp.Arquivo("d.asc")); }),
              "Erro no cabeçalho do arquivo d.asc: a chave ncols aparece mais de uma vez.");
    EXPECT_EQ(d.Columns(), 0);
    GravarArquivo(tmp.Arquivo("i.asc"), kCab + "1 2 3\n4 -inf 6\n");
    EXPECT_EQ(MensagemDe([&] { d.LoadFromFile(tmp.Arquivo("i.asc")); }),
              "Erro no arquivo i.asc: a célula da coluna 2, linha 2 tem valor infinito (-INF).");
    // The rest of a row's line is skipped, but a row more than the header declares is not.
    GravarArquivo(tmp.Arquivo("s.asc"), kCab + "1 2 3 99\n4 5 6\n");
    EXPECT_TRUE(d.LoadFromFile(tmp.Arquivo("s.asc")));
    EXPECT_EQ(d.GetReal(TCelula{0, 1}), 4.0f);
    GravarArquivo(tmp.Arquivo("m.asc"), kCab + "1 2 3\n4 5 6\n7 8 9\n");
    EXPECT_EQ(MensagemDe([&] { d.LoadFromFile(tmp.Arquivo("m.asc")); }),
              "Erro no arquivo m.asc: há mais valores do que os 6 que o cabeçalho declara.");
}

TEST(Leitores, VetCortadoERecusadoEOSalvoVoltaInteiro) {
    PastaTemporaria tmp;
    TVET v("m");
    for (int id = 1; id <= 4; ++id) {
        TVetorRecPonto l;
        l.SetLineId(id);
        for (int k = 0; k < 3; ++k) l.Add(500000.0f + 10 * k, 7000000.0f + 20 * id, 900.0f - id);
        v.AppendLine(l);
    }
    ASSERT_TRUE(v.SaveToFile(tmp.Arquivo("v.vet")));
    TVET w;
    ASSERT_TRUE(w.LoadFromFile(tmp.Arquivo("v.vet")));
    EXPECT_EQ(w.LineCount(), 4);
    EXPECT_EQ(w.RecordCount(), 12);

    const std::string b = LerArquivo(tmp.Arquivo("v.vet"));
    // Cut after the sixth record (two whole lines): the bounds still speak of four.
    GravarArquivo(tmp.Arquivo("c.vet"), b.substr(0, 527 + 6 * 14));
    EXPECT_EQ(MensagemDe([&] { w.Load(tmp.Arquivo("c.vet")); }),
              "Erro ao carregar arquivo. O arquivo 'c.vet' está incompleto ou danificado: os limites do cabeçalho "
              "não correspondem aos 6 registros.");
    GravarArquivo(tmp.Arquivo("p.vet"), b.substr(0, b.size() - 3));
    EXPECT_EQ(MensagemDe([&] { w.Load(tmp.Arquivo("p.vet")); }),
              "Erro ao carregar arquivo. O arquivo 'p.vet' está incompleto: o último registro tem 11 de 14 bytes.");
    EXPECT_EQ(w.RecordCount(), 12);  // a refused file leaves the one read before
}

// A damaged terrace table is refused with its name and the fault; the list keeps what it had.
#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"
#include "core/location/BDT.h"

namespace {
std::string Tabela(std::initializer_list<TRegTerr> regs) {
    std::string b(1, '\x01');
    int32_t n = static_cast<int32_t>(regs.size());
    b.append(reinterpret_cast<const char*>(&n), 4);
    for (const TRegTerr& r : regs) {
        b.append(reinterpret_cast<const char*>(&r.id), 4);
        for (double v : {r.level, r.slope, r.length, r.area, r.EV, r.height})
            b.append(reinterpret_cast<const char*>(&v), 8);
    }
    return b;
}
}  // namespace

TEST(BDTDanificada, RecusadaComNomeEMotivoSemAlterarALista) {
    PastaTemporaria tmp;
    const TRegTerr bom{1, 998.5, 6.2, 140.0, 4200.0, 1.1, 0.45};
    TBDT l;
    GravarArquivo(tmp.Arquivo("bom.bdt"), Tabela({bom}));
    l.Load(tmp.Arquivo("bom.bdt"));
    ASSERT_EQ(l.Count(), 1);

    // Bytes of something else read as a record: id 0 and a subnormal elevation.
    GravarArquivo(tmp.Arquivo("zero.bdt"), Tabela({bom, TRegTerr{0, 1.06e-314, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(MensagemDe([&] { l.Load(tmp.Arquivo("zero.bdt")); }),
              "A tabela dos terraços zero.bdt está danificada: o registro 2 tem o número de terraço 0.");
    GravarArquivo(tmp.Arquivo("sub.bdt"), Tabela({TRegTerr{2, 1.06e-314, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(MensagemDe([&] { l.Load(tmp.Arquivo("sub.bdt")); }),
              "A tabela dos terraços sub.bdt está danificada: o registro 1 tem um valor que não é uma medida.");
    GravarArquivo(tmp.Arquivo("dup.bdt"), Tabela({bom, bom}));
    EXPECT_EQ(MensagemDe([&] { l.Load(tmp.Arquivo("dup.bdt")); }),
              "A tabela dos terraços dup.bdt está danificada: o registro 2 tem o número de terraço 1.");
    // A byte too many is a table that is not what its count says.
    GravarArquivo(tmp.Arquivo("longa.bdt"), Tabela({bom}) + '\0');
    EXPECT_EQ(MensagemDe([&] { l.Load(tmp.Arquivo("longa.bdt")); }),
              "A tabela dos terraços longa.bdt está danificada: declara 1 terraços, mas tem 58 bytes.");
    EXPECT_FALSE(l.LoadFromFile(tmp.Arquivo("longa.bdt")));
    EXPECT_EQ(l.Count(), 1);
    // Zero terraces is a valid (empty) table.
    GravarArquivo(tmp.Arquivo("vazia.bdt"), Tabela({}));
    EXPECT_TRUE(l.LoadFromFile(tmp.Arquivo("vazia.bdt")));
    EXPECT_EQ(l.Count(), 1);
}

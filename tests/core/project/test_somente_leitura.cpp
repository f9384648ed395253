// A project or settings file the user marked read-only is not replaced by a save.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/project/Configuracao.h"
#include "core/project/ModeloProjeto.h"

namespace fs = std::filesystem;

namespace {
void SoLeitura(const std::string& a) {
    fs::permissions(a, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}
}  // namespace

TEST(SomenteLeitura, ASaveOverAReadOnlyProjectOrSettingsFileTellsTheUser) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria p;
    const std::string kzp = p.Arquivo("p.kzp");
    TModeloProjeto m;
    m.Identificacao().SetNome("Antigo");
    m.EscreverProjeto(kzp);
    const std::string antes = LerArquivo(kzp);
    SoLeitura(kzp);
    m.Identificacao().SetNome("Novo");
    EXPECT_EQ(MensagemDe([&] { m.EscreverProjeto(kzp); }),
              "Não foi possível gravar o arquivo " + kzp + ": o arquivo está marcado como somente leitura.");
    EXPECT_EQ(LerArquivo(kzp), antes);

    const std::string ini = p.Arquivo("VANDORO4.ini");
    TConfiguracao cfg;
    ASSERT_TRUE(SalvarConfiguracao(ini, cfg));
    const std::string cfgAntes = LerArquivo(ini);
    SoLeitura(ini);
    cfg.IndEstado = 3;
    EXPECT_FALSE(SalvarConfiguracao(ini, cfg));
    EXPECT_EQ(LerArquivo(ini), cfgAntes);
}

// locar --relatorio: the location report written after a run, and no report after a failure.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TestSupport.h"

namespace {

const std::string kExemplos = std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/";

TEST(CliLocarRelatorio, WritesTheReportOfTheRun) {
    PastaTemporaria tmp;
    const std::string decl = tmp.Arquivo("decl.asc"), vet = tmp.Arquivo("t.vet"), html = tmp.Arquivo("locacao.html");
    ASSERT_EQ(RodarCli({"declividade", kExemplos + "hugo_site.asc", decl}).codigo, 0);
    ResultadoCli r = RodarCli({"locar", kExemplos + "Terraco em nivel.kzp", "--elevacao", kExemplos + "hugo_site.asc",
                               "--declividade", decl, "--saida", vet, "--relatorio", html});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Relatório: " + html + "\n"), std::string::npos);
    const std::string rel = LerArquivo(html);
    EXPECT_NE(rel.find("charset=UTF-8"), std::string::npos);
    EXPECT_NE(rel.find("hugo_site.asc"), std::string::npos);
    EXPECT_NE(rel.find("</HTML>"), std::string::npos);
    // The same figures of what the run left as the command printed.
    EXPECT_NE(rel.find("Área acima do terraço mais baixo fora de qualquer faixa (ha): </B>"), std::string::npos);
    const size_t d = r.saida.find("(descartados): ") + 15;
    EXPECT_NE(rel.find("(descartados): </B>" + r.saida.substr(d, r.saida.find('\n', d) - d) + "<"), std::string::npos);

    // A run that fails writes no report.
    const std::string outro = tmp.Arquivo("outro.html");
    r = RodarCli({"locar", kExemplos + "Terraco em nivel.kzp", "--elevacao", tmp.Arquivo("falta.asc"), "--declividade",
                  decl, "--saida", vet, "--relatorio", outro});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_FALSE(std::ifstream(outro).good());
}

}  // namespace

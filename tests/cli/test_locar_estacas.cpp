// locar --estacas: the stake-out points of the run, written beside its lines, and the files it
// refuses before spending a run on them.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/common/Win1252.h"

namespace {
const std::string kExemplos = std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/";

std::vector<std::string> Linhas(const std::string& texto) {
    std::vector<std::string> l;
    std::istringstream in(texto);
    for (std::string s; std::getline(in, s);) {
        if (!s.empty() && s.back() == '\r') s.pop_back();
        l.push_back(s);
    }
    return l;
}
}  // namespace

TEST(CliLocarEstacas, TheRunsStakesStepAlongEachLineAndTheRefusalsComeFirst) {
    PastaTemporaria tmp;
    const std::string decl = tmp.Arquivo("decl.asc"), vet = tmp.Arquivo("t.vet"), csv = tmp.Arquivo("estacas.csv");
    ASSERT_EQ(RodarCli({"declividade", kExemplos + "hugo_site.asc", decl}).codigo, 0);
    const std::string projeto = kExemplos + "Terraco em nivel.kzp";
    const std::vector<std::string> base = {"locar", projeto, "--elevacao", kExemplos + "hugo_site.asc",
                                           "--declividade", decl, "--saida", vet};
    auto com = [&](std::vector<std::string> extra) {
        std::vector<std::string> a = base;
        a.insert(a.end(), extra.begin(), extra.end());
        return RodarCli(a);
    };

    // Refused before the run: nothing is written.
    ResultadoCli r = com({"--estacas", csv, "--espacamento-estacas", "0,5"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: O espaçamento das estacas deve ser um número maior ou igual a 1 m.\n");
    r = com({"--estacas", tmp.Arquivo("e.txt")});
    EXPECT_EQ(r.erro, "vandoro-cli: Formato de estacas desconhecido: use .csv, .gpx ou .kml.\n");
    // The example model has no coordinate system: degrees cannot be given.
    r = com({"--estacas", tmp.Arquivo("e.gpx")});
    EXPECT_EQ(r.erro, "vandoro-cli: O modelo de elevação não tem sistema de coordenadas: as estacas só podem ser "
                      "gravadas em CSV.\n");
    // Not over another file of the same run.
    r = com({"--relatorio", tmp.Arquivo("r.csv"), "--estacas", tmp.Arquivo("r.csv")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("O arquivo de estacas " + tmp.Arquivo("r.csv") + " substituiria"), std::string::npos)
        << r.erro;
    EXPECT_FALSE(ArquivoExiste(vet));

    r = com({"--estacas", csv, "--espacamento-estacas", "25"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const std::vector<std::string> l = Linhas(Win1252ToUtf8(LerArquivo(csv)));
    ASSERT_GT(l.size(), 3u);
    // C locale: ',' between fields and '.' for decimals.
    EXPECT_EQ(l[0], "Terraço,Estaca,Distância (m),E,N,Cota de projeto (m),Cota do terreno (m)");
    EXPECT_NE(r.saida.find("\nEstacas: " + std::to_string(l.size() - 1) + " pontos a cada 25.0 m em " + csv + "\n"),
              std::string::npos)
        << r.saida;
    // Terrace 1 starts at station 0 and steps by 25 m; each stake's design elevation is its level.
    double anterior = -1, cota = 0;
    for (size_t i = 1; i < l.size(); ++i) {
        std::vector<std::string> c;
        std::istringstream in(l[i]);
        for (std::string s; std::getline(in, s, ',');) c.push_back(s);
        ASSERT_GE(c.size(), 6u) << l[i];
        if (c[0] != "1") break;
        const double estaca = std::stod(c[2]);
        if (anterior < 0) {
            EXPECT_EQ(c[1], "1");
            EXPECT_EQ(estaca, 0);
            cota = std::stod(c[5]);
        } else {
            EXPECT_LE(estaca - anterior, 25 + 1e-9);
            EXPECT_EQ(std::stod(c[5]), cota);
        }
        anterior = estaca;
    }
    EXPECT_GT(anterior, 25);
}

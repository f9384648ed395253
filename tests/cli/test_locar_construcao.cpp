// What locar says the plan takes to build, with the machine of the settings file beside the
// program: each row's soil, hours and cost, and the totals that end with the soil.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "GeoTeste.h"
#include "GradesSinteticas.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/location/BDT.h"
#include "core/location/ComplementoBDT.h"
#include "core/project/Configuracao.h"
#include "core/raster/Vetor.h"

namespace fs = std::filesystem;

namespace {

const std::string kExemplos = std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/";

std::string Aspas(const std::string& s) {
    std::string r = "'";
    for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

// The command line in a folder of its own, with a settings file that lists one machine.
struct CliComMaquina {
    PastaTemporaria pasta;
    std::string programa = pasta.Arquivo("vandoro-cli");
    explicit CliComMaquina(const TMaquina& m) {
        std::error_code ec;
        fs::create_hard_link(std::string(VANDORO_BIN_DIR) + "/vandoro-cli", programa, ec);
        if (ec) fs::copy_file(std::string(VANDORO_BIN_DIR) + "/vandoro-cli", programa);
        TConfiguracao cfg;
        cfg.Construcao.maquinas = {m};
        cfg.Construcao.maquina = 0;
        EXPECT_TRUE(SalvarConfiguracao(pasta.Arquivo("VANDORO4.ini"), cfg));
    }
    ResultadoCli Rodar(const std::vector<std::string>& args) const {
        std::string cmd = "export LC_ALL=C.UTF-8\nexec " + Aspas(programa);
        for (const auto& a : args) cmd += " " + Aspas(a);
        GravarArquivo(pasta.Arquivo("s.sh"), cmd + " >" + Aspas(pasta.Arquivo("out")) + " 2>" +
                                                 Aspas(pasta.Arquivo("err")) + "\n");
        const int st = std::system(("bash " + Aspas(pasta.Arquivo("s.sh"))).c_str());
        ResultadoCli r;
        r.codigo = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        r.saida = LerArquivo(pasta.Arquivo("out"));
        r.erro = LerArquivo(pasta.Arquivo("err"));
        return r;
    }
};

std::vector<std::string> Campos(const std::string& linha) {
    std::vector<std::string> c;
    std::stringstream ss(linha);
    for (std::string x; std::getline(ss, x, ';');) c.push_back(x);
    if (!linha.empty() && linha.back() == ';') c.push_back("");
    return c;
}

// The table's rows (after the header) and the totals' lines, up to the first line after them.
struct Saida {
    std::string cabecalho;
    std::vector<std::vector<std::string>> linhas;
    std::vector<std::string> totais;
    explicit Saida(const std::string& texto) {
        std::istringstream s(texto);
        std::getline(s, cabecalho);
        std::string l;
        while (std::getline(s, l) && l.rfind("Total de terraços", 0) != 0) linhas.push_back(Campos(l));
        totais.push_back(l);
        while (std::getline(s, l) && l.rfind("Arquivos:", 0) != 0) totais.push_back(l);
    }
    // The number after a label of the totals, or NaN.
    double Total(const std::string& rotulo) const {
        for (const std::string& t : totais)
            if (t.rfind(rotulo, 0) == 0) return std::stod(t.substr(rotulo.size()));
        return NAN;
    }
};

// Each row: hours V/50 and cost 4·V of its own soil, to the printed decimals.
void ConfereLinhas(const Saida& s, size_t colunas, bool comCusto) {
    ASSERT_FALSE(s.linhas.empty());
    double volume = 0;
    for (const std::vector<std::string>& c : s.linhas) {
        ASSERT_EQ(c.size(), colunas);
        const double v = std::stod(c[colunas - 3]);
        EXPECT_GT(v, 0);
        EXPECT_NEAR(std::stod(c[colunas - 2]), v / 50, 0.005 + 0.05 / 50) << c[0];
        if (comCusto) {
            EXPECT_NEAR(std::stod(c[colunas - 1]), 4 * v, 0.005 + 4 * 0.05) << c[0];
        } else {
            EXPECT_EQ(c[colunas - 1], "—") << c[0];
        }
        volume += v;
    }
    const double total = s.Total("Volume total de solo movimentado (m³): ");
    EXPECT_NEAR(total, volume, 0.05 * double(s.linhas.size()) + 0.05);
    EXPECT_NEAR(s.Total("Horas de máquina (h): "), total / 50, 0.005 + 0.05 / 50);
}

}  // namespace

TEST(CliLocarConstrucao, ALevelPlansRowsAndTotalsGiveTheMachinesHoursAndCost) {
    const CliComMaquina cli({"Trator de esteiras", 50, 200});
    const std::string decl = cli.pasta.Arquivo("decl.asc");
    ASSERT_EQ(cli.Rodar({"declividade", kExemplos + "hugo_site.asc", decl}).codigo, 0);
    const ResultadoCli r = cli.Rodar({"locar", kExemplos + "Terraco em nivel.kzp", "--elevacao",
                                      kExemplos + "hugo_site.asc", "--declividade", decl, "--saida",
                                      cli.pasta.Arquivo("t.vet")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const Saida s(r.saida);
    EXPECT_EQ(s.cabecalho.substr(s.cabecalho.find(";Tipo de terraço")),
              ";Tipo de terraço;Volume (m³);Horas (h);Custo (R$)");
    ConfereLinhas(s, 12, true);
    // The machine, its hours and cost, and the soil last.
    ASSERT_GE(s.totais.size(), 4u);
    const std::vector<std::string> fim(s.totais.end() - 4, s.totais.end());
    EXPECT_EQ(fim[0], "Máquina: Trator de esteiras");
    EXPECT_EQ(fim[1].rfind("Horas de máquina (h): ", 0), 0u);
    EXPECT_EQ(fim[2].rfind("Custo (R$): ", 0), 0u);
    EXPECT_EQ(fim[3].rfind("Volume total de solo movimentado (m³): ", 0), 0u);
    const double total = s.Total("Volume total de solo movimentado (m³): ");
    EXPECT_NEAR(s.Total("Custo (R$): "), 4 * total, 0.005 + 4 * 0.05);
    size_t volumes = 0;
    std::istringstream linhas(r.saida);
    for (std::string l; std::getline(linhas, l);) volumes += l.rfind("Volume", 0) == 0;
    EXPECT_EQ(volumes, 1u);
    // The companion keeps the figures at full precision.
    TComplementoBDT c;
    c.Ler(cli.pasta.Arquivo("t.bdc"));
    EXPECT_EQ(c.maquina, "Trator de esteiras");
    ASSERT_EQ(c.obras.size(), s.linhas.size());
    for (const auto& [id, o] : c.obras) EXPECT_NEAR(o.servico.custo, 4 * o.volume, 1e-9 * o.volume) << id;
}

TEST(CliLocarConstrucao, AGradedPlanWithoutTheMachinesPriceSaysSoOnceAndLeavesTheCostEmpty) {
    const CliComMaquina cli({"Motoniveladora", 50, 0});
    const auto plano = [](double, double y) { return 100 - 0.08 * y; };
    GravarAsc(cli.pasta.Arquivo("e.asc"), 300, 200, 1.0, plano);
    GravarDeclividade(cli.pasta.Arquivo("d.asc"), 300, 200, 1.0, plano);
    TVET w("m");
    TVetorRecPonto l;
    l.SetLineId(1);
    l.Add(100, 300, 0);
    l.Add(100, 0, 0);
    w.AppendLine(l);
    w.Save(cli.pasta.Arquivo("w.vet"));
    const ResultadoCli r =
        cli.Rodar({"locar", kExemplos + "Terraco em gradiente.kzp", "--elevacao", cli.pasta.Arquivo("e.asc"),
                   "--declividade", cli.pasta.Arquivo("d.asc"), "--saida", cli.pasta.Arquivo("g.vet"), "--escoadouro",
                   cli.pasta.Arquivo("w.vet"), "--sig", cli.pasta.Arquivo("g.gpkg"), "--relatorio",
                   cli.pasta.Arquivo("g.html")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const Saida s(r.saida);
    EXPECT_EQ(s.cabecalho.substr(s.cabecalho.find(";Altura (m)")), ";Altura (m);Volume (m³);Horas (h);Custo (R$)");
    ConfereLinhas(s, 14, false);
    ASSERT_GE(s.totais.size(), 4u);
    EXPECT_EQ(s.totais[s.totais.size() - 4], "Máquina: Motoniveladora");
    EXPECT_EQ(s.totais[s.totais.size() - 2], "Custo (R$): informe o custo horário da máquina nas configurações");
    EXPECT_EQ(s.totais.back().rfind("Volume total de solo movimentado (m³): ", 0), 0u);
    // The GIS lines: each its soil and hours; the cost empty, never 0.
    TComplementoBDT c;
    c.Ler(cli.pasta.Arquivo("g.bdc"));
    auto ds = geoteste::AbreVetor(cli.pasta.Arquivo("g.gpkg"));
    ASSERT_TRUE(ds);
    int n = 0;
    for (auto& f : *ds->GetLayer(0)) {
        const TObraTerraco* o = c.ObraDe(f->GetFieldAsInteger("terraco"));
        ASSERT_NE(o, nullptr);
        const double v = f->GetFieldAsDouble("volume_m3");
        EXPECT_NEAR(v, o->volume, 1e-9 * v);
        EXPECT_NEAR(f->GetFieldAsDouble("horas"), v / 50, 1e-9 * v);
        EXPECT_FALSE(f->IsFieldSetAndNotNull(f->GetFieldIndex("custo_rs")));
        ++n;
    }
    EXPECT_EQ(n, int(s.linhas.size()));
    // The graded report: its own section, and the one note on the price.
    const std::string html = LerArquivo(cli.pasta.Arquivo("g.html"));
    EXPECT_NE(html.find("CONSTRUÇÃO DOS TERRAÇOS"), std::string::npos);
    EXPECT_NE(html.find("<B>Máquina: </B>Motoniveladora"), std::string::npos);
    const std::string nota = "Custo (—): informe o custo horário da máquina nas configurações.";
    ASSERT_NE(html.find(nota), std::string::npos);
    EXPECT_EQ(html.find(nota, html.find(nota) + 1), std::string::npos);
}

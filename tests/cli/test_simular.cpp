// vandoro-cli simular over the shipped examples: one chart, every chart, CSV in both
// regional settings, and names or projects that must be refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "TestSupport.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/Dimensionamento.h"
#include "core/sizing/Simulacao.h"

namespace {

struct Locale {
    explicit Locale(const char* nome) { setenv("LC_ALL", nome, 1); }
    ~Locale() { unsetenv("LC_ALL"); }
};

std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }

std::vector<std::string> Linhas(const std::string& t, const char* fim = "\n") {
    std::vector<std::string> r;
    size_t i = 0, j;
    while ((j = t.find(fim, i)) != std::string::npos) {
        r.push_back(t.substr(i, j - i));
        i = j + std::string(fim).size();
    }
    return r;
}

std::vector<std::string> Campos(const std::string& l, char sep) {
    std::vector<std::string> r(1);
    for (char ch : l) {
        if (ch == sep)
            r.emplace_back();
        else
            r.back() += ch;
    }
    return r;
}

double Numero(std::string s) {
    for (char& ch : s)
        if (ch == ',') ch = '.';
    return std::stod(s);
}

size_t Contar(const std::string& t, const std::string& s) {
    size_t n = 0;
    for (size_t p = t.find(s); p != std::string::npos; p = t.find(s, p + 1)) ++n;
    return n;
}

TEST(CliSimular, HelpListsTheCharts) {
    auto r = RodarCli({"simular", "--help"});
    ASSERT_EQ(r.codigo, 0);
    for (const char* n : {"Q x Comp", "Hr x Tie", "LES x Tie", "Volume x área de contribuição", "Largura x profundidade"})
        EXPECT_NE(r.saida.find(n), std::string::npos) << n;
}

TEST(CliSimular, OneGradedChartByNameInAnySpelling) {
    Locale pt("pt_BR.UTF-8");
    auto r = RodarCli({"simular", Exemplo("Terraco em gradiente.kzp"), "--grafico", "q x COMP"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const auto l = Linhas(r.saida);
    ASSERT_EQ(l.size(), 3u + 3u + 1u + 21u) << r.saida;
    EXPECT_EQ(l[1], "Sistema: Terraços com Gradiente(com drenagem)");
    EXPECT_EQ(l[3], "Gráfico: Q x Comp");
    EXPECT_EQ(l[4], "Eixo X: Comprimento (m)");
    EXPECT_EQ(l[5], "Eixo Y: Vazão (L/s)");
    EXPECT_EQ(l[6], "Comprimento (m)  Vazão (L/s)  Vazão (L/s)  Altura teórica (cm)  Altura recomendada (cm)");
    EXPECT_EQ(l[7].substr(0, 15), "             50");
    EXPECT_EQ(l[27].substr(0, 15), "           1050");
    // The design length of the example (400 m) shows the design flow.
    EXPECT_NE(l[14].find("310,10        310,1"), std::string::npos) << l[14];
}

TEST(CliSimular, EveryChartOfTheSystem) {
    Locale pt("pt_BR.UTF-8");
    auto n = RodarCli({"simular", Exemplo("Terraco em nivel.kzp")});
    ASSERT_EQ(n.codigo, 0) << n.erro;
    EXPECT_EQ(Contar(n.saida, "Gráfico: "), 5u);
    EXPECT_NE(n.saida.find("Gráfico: LES x Tie\nEixo X: Tie (mm/h)\nEixo Y: LES (mm)\n"), std::string::npos);
    EXPECT_EQ(n.saida.find("Vazão"), std::string::npos);  // no flow list for level terraces
    auto b = RodarCli({"simular", Exemplo("Bacia de acumulacao.kzp")});
    ASSERT_EQ(b.codigo, 0) << b.erro;
    EXPECT_EQ(Contar(b.saida, "Gráfico: "), 4u);  // semicircular: no width chart
    EXPECT_NE(b.saida.find("Gráfico: Raio x profundidade\n"), std::string::npos);
}

TEST(CliSimular, CsvFollowsTheRegionalSettings) {
    PastaTemporaria pasta;
    const std::string csv = pasta.Arquivo("s.csv");
    {
        Locale pt("pt_BR.UTF-8");
        auto r = RodarCli({"simular", Exemplo("Terraco em gradiente.kzp"), "--grafico", "H x nc", "--csv", csv});
        ASSERT_EQ(r.codigo, 0) << r.erro;
        EXPECT_EQ(r.saida, "");
        const auto l = Linhas(LerArquivo(csv), "\r\n");
        ASSERT_EQ(l.size(), 22u);
        // Windows-1252 bytes: "á" is 0xE1, "é" 0xE9.
        EXPECT_EQ(l[0], "Gr\xE1" "fico;Eixo X;X;Eixo Y;Y;Vaz\xE3o (L/s);Altura te\xF3rica (cm);Altura recomendada (cm)");
        EXPECT_EQ(l[1].substr(0, 44), "H x nc;Rugosidade do canal (10E-3);1;Altura ");
        EXPECT_EQ(l[21].substr(0, 40), "H x nc;Rugosidade do canal (10E-3);100;A");
        for (size_t i = 1; i < l.size(); ++i) {
            const auto c = Campos(l[i], ';');
            ASSERT_EQ(c.size(), 8u) << l[i];
            // Decimal commas; the example's coefficient is 1, so Hr = H + 10 and Y is H.
            EXPECT_NEAR(Numero(c[7]) - Numero(c[6]), 10.0, 1e-9) << l[i];
            EXPECT_NEAR(Numero(c[4]), Numero(c[6]), 0.05) << l[i];
        }
    }
    {
        Locale us("en_US.UTF-8");
        auto r = RodarCli({"simular", Exemplo("Terraco em nivel.kzp"), "--grafico", "LESxTie", "--csv", csv});
        ASSERT_EQ(r.codigo, 0) << r.erro;
        const auto l = Linhas(LerArquivo(csv), "\r\n");
        ASSERT_EQ(l.size(), 22u);
        EXPECT_EQ(l[0], "Gr\xE1" "fico,Eixo X,X,Eixo Y,Y,Vaz\xE3o (L/s),Altura te\xF3rica (cm),Altura recomendada (cm)");
        EXPECT_EQ(l[1].substr(0, 29), "LES x Tie,Tie (mm/h),5,LES (m");
        const auto c = Campos(l[1], ',');
        ASSERT_EQ(c.size(), 8u) << l[1];
        EXPECT_EQ(c[5], "");  // no flow list for level terraces
        EXPECT_NE(c[6].find('.'), std::string::npos);  // point decimals
    }
}

TEST(CliSimular, CsvIsTheCoreExportByteForByte) {
    // What the simulation window exports for the same charts, in both regional settings.
    PastaTemporaria pasta;
    const std::string csv = pasta.Arquivo("s.csv");
    for (const char* local : {"pt_BR.UTF-8", "en_US.UTF-8"}) {
        Locale l(local);
        const Regional r = Regional::FromLocaleName(local);
        RegionalFixo fixo(r);
        auto c = RodarCli({"simular", Exemplo("Terraco em gradiente.kzp"), "--grafico", "Hr x St", "--csv", csv});
        ASSERT_EQ(c.codigo, 0) << c.erro;
        TModeloProjeto m;
        m.AbrirProjetoSemAlterar(Exemplo("Terraco em gradiente.kzp"));
        Dimensionar(m);
        const std::string esperado = CsvSimulacao({TabelaSimulacao(PlotSimulation(m, 2, 5))}, r);
        EXPECT_EQ(LerArquivo(csv), esperado) << local;
    }
}

TEST(CliSimular, RefusedNamesAndProjectsWriteNothing) {
    Locale pt("pt_BR.UTF-8");
    PastaTemporaria pasta;
    const std::string csv = pasta.Arquivo("s.csv");
    auto r = RodarCli({"simular", Exemplo("Terraco em nivel.kzp"), "--grafico", "Q x Comp", "--csv", csv});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro,
              "vandoro-cli: Gráfico desconhecido para Terraços em Nível(sem drenagem): Q x Comp. "
              "Gráficos: H x Tie, Hr x Tie, H x EH, Hr x EH, LES x Tie.\n");
    EXPECT_FALSE(std::filesystem::exists(csv));

    const std::string ruim = pasta.Arquivo("ruim.kzp");
    GravarArquivo(ruim, "[VANDORO4]\r\nVersao=9\r\n");
    r = RodarCli({"simular", ruim, "--csv", csv});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Não foi possível abrir o arquivo " + ruim +
                          ". O arquivo foi gravado por uma versão mais nova do Vandoro (versão 9).\n");
    EXPECT_FALSE(std::filesystem::exists(csv));
}

}  // namespace

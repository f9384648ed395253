#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

struct Idioma {
    explicit Idioma(const char* nome) { setenv("LC_ALL", nome, 1); }
    ~Idioma() { unsetenv("LC_ALL"); }
};

}  // namespace

TEST(CliEspacamento, ExemploDaAjudaEMetodos) {
    Idioma en("en_US.UTF-8");
    // Bentley, clay soils, 10 %: EV = 0.305·(10/2.5 + 2) = 1.83 m, EH = 18.3 m.
    auto r = RodarCli({"espacamento", "--metodo", "bentley", "--declividade", "10", "--solo", "0"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const std::string esperado =
        "Método: Bentley\n"
        "Declividade do terreno: 10 %\n"
        "Solo: Solos argilosos (índice 2.5)\n"
        "Espaçamento vertical (EV): 1.83 m\n"
        "Espaçamento horizontal (EH): 18.30 m\n";
    EXPECT_EQ(r.saida, esperado);
    EXPECT_EQ(r.erro, "");
    auto h = RodarCli({"espacamento", "--help"});
    EXPECT_EQ(h.codigo, 0);
    EXPECT_NE(h.saida.find("  vandoro-cli espacamento --metodo bentley --declividade 10 --solo 0\n"),
              std::string::npos);
    EXPECT_NE(h.saida.find("  Espaçamento horizontal (EH): 18.30 m\n"), std::string::npos);

    // Paraná, "Terra roxa", 8 %: EV = 0.4518·1.212·8^0.58 = 1.829 m; the method number works too.
    r = RodarCli({"espacamento", "--metodo", "2", "--declividade", "8", "--solo", "2"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Método: Paraná\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Solo: Terra roxa (índice 1.212)\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Espaçamento vertical (EV): 1.83 m\nEspaçamento horizontal (EH): 22.86 m\n"),
              std::string::npos)
        << r.saida;

    // Typed spacing: EV follows from the slope.
    r = RodarCli({"espacamento", "--metodo", "arbitrado", "--declividade", "6", "--eh", "30"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("(EV): 1.80 m\nEspaçamento horizontal (EH): 30.00 m\n"), std::string::npos) << r.saida;

    // Bentley above 20 % computes but warns.
    r = RodarCli({"espacamento", "--metodo", "bentley", "--declividade", "25", "--solo", "2"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro, "Aviso: Para o metódo de Bentley, a declividade máxima recomendada é de 20 %\n");
    EXPECT_NE(r.saida.find("(EV): 2.79 m\n"), std::string::npos) << r.saida;
}

TEST(CliEspacamento, LombardiNetoComVirgulaETipoDeTerraco) {
    Idioma br("pt_BR.UTF-8");
    // K = 1.25, U = 1.25 (Milho), M = 0.5, 5 %: EV = 0.4518·1.25·5^0.58·0.875 = 1.257 m.
    auto r = RodarCli({"espacamento", "--metodo", "lombardi", "--declividade", "5", "--cultura", "25",
                       "--erosao", "0", "--preparo", "0", "--tipo-terraco", "2"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida,
              "Método: Lombardi Neto\n"
              "Declividade do terreno: 5 %\n"
              "Cultura: Milho (U = 1,25)\n"
              "Resistência à erosão: Grupo A - Alta (K = 1,25)\n"
              "Preparo do solo: Grupo 1 (M = 0,5)\n"
              "Espaçamento vertical (EV): 1,26 m\n"
              "Espaçamento horizontal (EH): 25,14 m\n"
              "Tipo de terraço recomendado (Lombardi Neto): Terraços de Base Larga\n");
    // Paraná selection at its lower bound and outside its range.
    r = RodarCli({"espacamento", "--metodo", "arbitrado", "--declividade", "1,5", "--eh", "40",
                  "--tipo-terraco", "0"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Tipo de terraço recomendado (Paraná): nenhum para esta declividade\n"),
              std::string::npos)
        << r.saida;
}

TEST(CliEspacamento, CapacidadeDeArmazenamento) {
    Idioma en("en_US.UTF-8");
    // Triangular, H = 50 cm: g = 0.4 m, EH = 500·0.16·(0.08 + 1)/(40·0.08·1) = 27 m, EV = 2.16 m.
    auto r = RodarCli({"espacamento", "--metodo", "parana", "--declividade", "8", "--solo", "2", "--altura", "50",
                       "--les", "40", "--sm", "1"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("(EH): 22.86 m\n"
                           "Espaçamento pela capacidade de armazenamento (canal triangular, Sm = 1 m/m):\n"
                           "  Altura do terraço: 50.0 cm\n"
                           "  Lâmina escoada de projeto: 40.0 mm\n"
                           "  Coeficiente de desuniformidade: 1.00\n"
                           "  Espaçamento vertical (EV): 2.16 m\n"
                           "  Espaçamento horizontal (EH): 27.00 m\n"),
              std::string::npos)
        << r.saida;
    // Trapezoid B = 0.5, Z = 2: EH = 1000·0.4·(0.5 + 0.8)/40 = 13 m. CDu 4 halves the useful depth.
    r = RodarCli({"espacamento", "--metodo", "capacidade", "--declividade", "6", "--altura", "90", "--les", "40",
                  "--base", "0.5", "--z", "2", "--cdu", "4"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Método: Capacidade de armazenamento\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("(canal trapezoidal, B = 0.5 m, Z = 2)"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("  Espaçamento vertical (EV): 0.78 m\n  Espaçamento horizontal (EH): 13.00 m\n"),
              std::string::npos)
        << r.saida;
    // Z = 0 is the rectangular channel: EH = 1000·0.4·0.5/40 = 5 m, EV = 0.3 m.
    r = RodarCli({"espacamento", "--metodo", "capacidade", "--declividade", "6", "--altura", "50", "--les", "40",
                  "--base", "0.5", "--z", "0"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("(canal retangular, B = 0.5 m):\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("  Espaçamento vertical (EV): 0.30 m\n  Espaçamento horizontal (EH): 5.00 m\n"),
              std::string::npos)
        << r.saida;
}

TEST(CliEspacamento, AvisoDeLombardiNetoPeloGrupoDeSolo) {
    Idioma en("en_US.UTF-8");
    // 15 % is within group A's 16 % but above group B's 14 %: computed, with the warning.
    auto args = [](const char* grupo) {
        return std::vector<std::string>{"espacamento", "--metodo", "lombardi", "--declividade", "15", "--cultura",
                                        "25", "--erosao", grupo, "--preparo", "0"};
    };
    auto r = RodarCli(args("0"));
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro, "");
    r = RodarCli(args("1"));
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro,
              "Aviso: Para o método de Lombardi Neto, a declividade máxima recomendada para o tipo de solo B "
              "(moderada resistência à erosão) é de 14%\n");
    EXPECT_NE(r.saida.find("Espaçamento horizontal (EH): "), std::string::npos) << r.saida;
}

TEST(CliEspacamento, EntradasInvalidas) {
    Idioma en("en_US.UTF-8");
    struct Caso {
        std::vector<std::string> args;
        std::string erro;
    };
    const std::vector<Caso> casos = {
        {{"espacamento", "--declividade", "5"}, "Falta a opção --metodo."},
        {{"espacamento", "--metodo", "x", "--declividade", "5"},
         "Método de espaçamento desconhecido: 'x'. Use bentley, lombardi, parana, arbitrado ou capacidade."},
        {{"espacamento", "--metodo", "bentley", "--declividade", "0", "--solo", "0"},
         "A declividade do terreno (--declividade) deve ser maior que zero."},
        {{"espacamento", "--metodo", "bentley", "--declividade", "5", "--solo", "3"},
         "O índice do solo (--solo) deve estar entre 0 e 2."},
        {{"espacamento", "--metodo", "bentley", "--declividade", "5"}, "Falta a opção --solo."},
        {{"espacamento", "--metodo", "parana", "--declividade", "20.5", "--solo", "0"},
         "Para o método de Paraná, a declividade máxima permitida é de 20 %"},
        {{"espacamento", "--metodo", "lombardi", "--declividade", "5", "--cultura", "33", "--erosao", "0",
          "--preparo", "0"},
         "O índice da cultura (--cultura) deve estar entre 0 e 32."},
        {{"espacamento", "--metodo", "capacidade", "--declividade", "5", "--altura", "50", "--les", "0", "--sm",
          "1"},
         "A lâmina escoada (--les) deve ser maior que zero."},
        {{"espacamento", "--metodo", "capacidade", "--declividade", "5", "--altura", "50", "--les", "30", "--sm",
          "1", "--cdu", "0.9"},
         "O valor do coeficiente de desuniformidade não pode ser inferior a 1."},
        {{"espacamento", "--metodo", "capacidade", "--declividade", "5", "--altura", "50", "--les", "30", "--z",
          "0"},
         "O canal retangular (--z 0) precisa de largura do fundo (--base) maior que zero."},
        {{"espacamento", "--metodo", "capacidade", "--declividade", "5", "--altura", "50", "--les", "30", "--base",
          "1", "--z", "-1"},
         "O talude do canal trapezoidal (--z) não pode ser negativo."},
        {{"espacamento", "--metodo", "arbitrado", "--declividade", "5", "--eh", "abc"},
         "Valor inválido para --eh: 'abc'."},
    };
    for (const auto& c : casos) {
        auto r = RodarCli(c.args);
        EXPECT_EQ(r.codigo, 1) << c.erro;
        EXPECT_EQ(r.erro, "vandoro-cli: " + c.erro + "\n");
        EXPECT_EQ(r.saida, "");
    }
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

struct Locale {
    explicit Locale(const char* nome) { setenv("LC_ALL", nome, 1); }
    ~Locale() { unsetenv("LC_ALL"); }
};

std::vector<std::string> Args(const std::string& vib, const std::string& uso, const std::string& trat,
                              const std::string& cond) {
    return {"escoamento", "--k", "1000", "--tr", "10", "--a", "0.15", "--b", "10", "--c", "0.75",
            "--vib", vib, "--uso", uso, "--tratamento", trat, "--condicao", cond};
}

}  // namespace

TEST(CliEscoamento, ExemploDaAjuda) {
    Locale en("en_US.UTF-8");
    auto r = RodarCli(Args("20", "1", "2", "3"));
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const std::string esperado =
        "Número da curva (CN): 92 (classe de infiltração I2)\n"
        "Abstração inicial (Ia): 4.42 mm\n"
        "Tempo do fim do escoamento: 62.83 min\n"
        "Tempo de preenchimento de Ia: 1.14 min\n"
        "Lâmina escoada de projeto: 34.35 mm\n";
    EXPECT_EQ(r.saida, esperado);
    // The help shows the same example and output.
    auto h = RodarCli({"escoamento", "--help"});
    EXPECT_EQ(h.codigo, 0);
    EXPECT_NE(h.saida.find("--k 1000 --tr 10 --a 0.15 --b 10 --c 0.75 --vib 20"), std::string::npos);
    EXPECT_NE(h.saida.find("  " + esperado.substr(0, esperado.find('\n'))), std::string::npos);
}

TEST(CliEscoamento, SeparadorDecimalESemEscoamento) {
    Locale br("pt_BR.UTF-8");
    // Forest in good condition on a fast soil: Ia = 67.34 mm, filled only after te.
    auto r = RodarCli({"escoamento", "--k", "1000", "--tr", "10", "--a", "0,15", "--b", "10", "--c", "0,75",
                       "--vib", "250", "--uso", "5", "--tratamento", "1", "--condicao", "3"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Número da curva (CN): 43 (classe de infiltração I4)\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Abstração inicial (Ia): 67,34 mm\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("Lâmina escoada de projeto: 0,00 mm\n"), std::string::npos) << r.saida;
    // Intensity never above the infiltration rate.
    r = RodarCli(Args("300", "1", "2", "3"));
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Tempo do fim do escoamento: 0,00 min (a intensidade nunca supera a VIB)"),
              std::string::npos)
        << r.saida;
    // A storm that never fills Ia (C = 1: the depth is bounded by 23.5 mm).
    r = RodarCli({"escoamento", "--k", "1000", "--tr", "10", "--a", "0.15", "--b", "2", "--c", "1",
                  "--vib", "250", "--uso", "5", "--tratamento", "1", "--condicao", "3"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Tempo de preenchimento de Ia: a chuva não preenche a abstração inicial\n"),
              std::string::npos)
        << r.saida;
    // Outside the table: refused, not sized as if there were no initial abstraction.
    r = RodarCli(Args("20", "1", "1", "2"));
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro,
              "vandoro-cli: A tabela do número da curva não tem valor para o uso do solo \"Cultivo em fileiras\" "
              "com o tratamento \"Fileiras retas\" e a condição hidrológica \"Regular\". Escolha a condição "
              "\"Má\" ou \"Boa\".\n");
    EXPECT_EQ(r.saida, "");
}

TEST(CliEscoamento, EntradasInvalidas) {
    Locale en("en_US.UTF-8");
    struct Caso {
        std::vector<std::string> args;
        std::string erro;
    };
    auto trocar = [](std::vector<std::string> a, const std::string& opcao, const std::string& valor) {
        for (size_t i = 0; i + 1 < a.size(); ++i)
            if (a[i] == opcao) a[i + 1] = valor;
        return a;
    };
    const auto base = Args("20", "1", "2", "3");
    const std::vector<Caso> casos = {
        {trocar(base, "--uso", "6"), "O índice de uso do solo (--uso) deve estar entre 0 e 5."},
        {trocar(base, "--tratamento", "-1"), "O índice de tratamento (--tratamento) deve estar entre 0 e 3."},
        {trocar(base, "--condicao", "4"), "O índice de condição hidrológica (--condicao) deve estar entre 0 e 3."},
        {trocar(base, "--vib", "-1"), "A velocidade de infiltração básica (--vib) não pode ser negativa."},
        {trocar(base, "--k", "0"), "O valor do parâmetro \"K\" deve ser maior que zero."},
        {trocar(base, "--tr", "0"), "O valor do tempo de retorno (Tr) deve ser maior que zero."},
        // The storm has no duration of its own: the option that suggested one is gone.
        {[&] {
             auto a = base;
             a.insert(a.end(), {"--duracao", "60"});
             return a;
         }(),
         "Opção desconhecida: --duracao."},
        {trocar(base, "--c", "-0.5"), "Erro. O parâmetro \"c\" tem que ser maior ou igual a zero."},
        {trocar(base, "--vib", "0"),
         "Erro. A velocidade de infiltração básica (VIB) tem que ser maior que zero para calcular o tempo do fim "
         "do escoamento superficial."},
        {trocar(base, "--c", "0"), "O valor do parâmetro \"c\" deve ser maior que zero."},
        {trocar(base, "--b", "abc"), "Valor inválido para --b: 'abc'."},
        {trocar(base, "--b", "0"), "O valor do parâmetro \"b\" deve ser maior que zero."},
        {trocar(base, "--a", "0"), "O valor do parâmetro \"a\" deve ser maior que zero."},
        {trocar(base, "--condicao", "2"),
         "A tabela do número da curva não tem valor para o uso do solo \"Cultivo em fileiras\" com o tratamento "
         "\"Com curvas de nível\" e a condição hidrológica \"Regular\". Escolha a condição \"Má\" ou "
         "\"Boa\"."},
        {{"escoamento", "--k", "1000", "--tr", "10", "--a", "0.15", "--b", "10", "--c", "0.75", "--vib", "20",
          "--uso", "4", "--tratamento", "3", "--condicao", "1"},
         "A tabela do número da curva não tem valor para o uso do solo \"Pastagem para pastoreio\" com o "
         "tratamento \"Curvas de nível e terraço\" e a condição hidrológica \"Má\". Escolha o tratamento "
         "\"Fileiras retas\" ou \"Com curvas de nível\"."},
        {{"escoamento", "--k", "1000"}, "Falta a opção --tr."},
    };
    for (const auto& c : casos) {
        auto r = RodarCli(c.args);
        EXPECT_EQ(r.codigo, 1) << c.erro;
        EXPECT_EQ(r.erro, "vandoro-cli: " + c.erro + "\n");
        EXPECT_EQ(r.saida, "");
    }
}

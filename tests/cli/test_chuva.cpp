#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/rainfall/BDPrecipitacao.h"

namespace {

struct Locale {
    explicit Locale(const char* nome) { setenv("LC_ALL", nome, 1); }
    ~Locale() { unsetenv("LC_ALL"); }
};

int Linhas(const std::string& s) {
    int n = 0;
    for (char c : s) n += c == '\n';
    return n;
}

bool Tem(const std::string& s, const std::string& parte) { return s.find(parte) != std::string::npos; }

}  // namespace

TEST(CliChuva, ListaDeEstadosConfereComOBanco) {
    auto r = RodarCli({"chuva"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(Linhas(r.saida), 28);
    EXPECT_TRUE(Tem(r.saida, "    12  MG  Minas Gerais               218          853\n")) << r.saida;
    EXPECT_TRUE(Tem(r.saida, "     6  DF  Distrito Federal            14            1\n"));
    EXPECT_TRUE(Tem(r.saida, "    26  TO  Tocantins                   28          139\n"));
}

TEST(CliChuva, EstacoesELocalidadesDeUmEstado) {
    auto r = RodarCli({"chuva", "--estado", "sp"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida.rfind("Estações de São Paulo (141):\n", 0), 0u);
    EXPECT_EQ(Linhas(r.saida), 1 + 1 + 141);
    // By index and by name the same state.
    EXPECT_EQ(RodarCli({"chuva", "--estado", "24"}).saida, r.saida);
    EXPECT_EQ(RodarCli({"chuva", "--estado", "Sao Paulo"}).saida, r.saida);

    auto l = RodarCli({"chuva", "--estado", "TO", "--localidades"});
    ASSERT_EQ(l.codigo, 0) << l.erro;
    EXPECT_EQ(l.saida.rfind("Localidades de Tocantins (139):\n", 0), 0u);
    EXPECT_TRUE(Tem(l.saida, "\nPalmas "));
    // Sorted by name, accents folded: Abreulândia first.
    EXPECT_EQ(l.saida.substr(l.saida.find('\n', l.saida.find('\n') + 1) + 1, std::string("Abreulândia").size()), "Abreulândia");
}

TEST(CliChuva, EquacaoDeUmaEstacaoEChuvaDeProjeto) {
    Locale en("en_US.UTF-8");
    // Rio Branco: K 5366.444, a 0.1646, b 40.739, c 1.0051; Tr 2, 10 min:
    // 5366.444 · 2^0.1646 / 50.739^1.0051 = 116.20 mm/h, 116.20 · 10/60 = 19.37 mm.
    auto r = RodarCli({"chuva", "--estacao", "rio branco", "--tr", "2", "--duracao", "10"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida.rfind("Estação: RIO BRANCO (Acre)\nLatitude: 09°58'32\"\nLongitude: 67°48'00\"\n"
                            "K: 5366.444\na: 0.1646\nb: 40.739\nc: 1.0051\nFonte: GRIDF-BR (2025)\n"
                            "Referência: Marcus N. Gomes Jr. Gridded Bias-Corrected",
                            0),
              0u)
        << r.saida;
    EXPECT_TRUE(Tem(r.saida, "Intensidade média (Tr = 2 anos, t = 10 min): 116.20 mm/h\n"
                             "Altura de chuva: 19.37 mm\n"))
        << r.saida;
    // The regional decimal separator.
    Locale pt("pt_BR.UTF-8");
    auto p = RodarCli({"chuva", "--estacao", "RIO BRANCO", "--tr", "2", "--duracao", "10"});
    EXPECT_TRUE(Tem(p.saida, "K: 5366,444\n")) << p.saida;
    EXPECT_TRUE(Tem(p.saida, ": 116,20 mm/h\n"));
}

TEST(CliChuva, LocalidadeEPontoInterpolados) {
    Locale en("en_US.UTF-8");
    auto r = RodarCli({"chuva", "--estado", "MG", "--localidade", "belo horizonte", "--tr", "10", "--duracao", "60"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida.rfind("Localidade: Belo Horizonte (Minas Gerais)\nLatitude: 19°54'36\"\n", 0), 0u) << r.saida;
    // The intensity shown is that of the core's interpolation at the same texts.
    TBDPrecipitacao bd(PastaBancoChuva(std::string(VANDORO_BIN_DIR) + "/"));
    bd.LoadStations();
    EXPECT_TRUE(Tem(r.saida, "\nFonte: Interpolação\n" + bd.TextoInterpolacao() + "\n"));
    const StationRecord e = bd.InterpolateEquation("19°54'36\"", "43°55'35\"");
    const double i = e.K * std::pow(10.0, e.A) / std::pow(60 + e.B, e.C);
    EXPECT_TRUE(Tem(r.saida, "Intensidade média (Tr = 10 anos, t = 60 min): " + FormatFloat("0.00", i, Regional::EnUS()) +
                                 " mm/h\n"))
        << r.saida;

    // A point typed without the closing quote; at a station's own texts, that station.
    auto p = RodarCli({"chuva", "--latitude", "18°29'27", "--longitude", "47°24'23\""});
    ASSERT_EQ(p.codigo, 0) << p.erro;
    EXPECT_EQ(p.saida.rfind("Estação no ponto: ABADIA DOS DOURADOS\n", 0), 0u) << p.saida;
    EXPECT_TRUE(Tem(p.saida, "Fonte: GRIDF-BR (2025)\n"));
}

TEST(CliChuva, Erros) {
    struct Caso {
        std::vector<std::string> args;
        std::string erro;
    };
    const Caso casos[] = {
        {{"chuva", "--estado", "27"}, " Não existe estado com índice igual a 27"},
        {{"chuva", "--estado", "-1"}, " Não existe estado com índice igual a -1"},
        {{"chuva", "--estado", "XX"}, "Estado desconhecido: XX."},
        {{"chuva", "--estacao", "sobral"},
         "Há mais de uma estação com o nome sobral em Ceará: SOBRAL (00340045), SOBRAL (00340064)."},
        {{"chuva", "--estacao", "sobral", "--estado", "PR"}, "Estação não encontrada: sobral."},
        {{"chuva", "--localidade", "Santa Luzia"},
         "Há localidades com o nome Santa Luzia em mais de um estado (BA, MA, MG, PB); escolha com --estado."},
        {{"chuva", "--latitude", "19 55 00", "--longitude", "43°56'00\""},
         "Latitude 19 55 00 inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59."},
        // The window's rules: an invalid minute, a point off the map, a point outside the state.
        {{"chuva", "--latitude", "19°75'00", "--longitude", "43°56'00\""},
         "Latitude 19°75'00 inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59."},
        {{"chuva", "--latitude", "19°55'00\"", "--longitude", "80°00'00"}, "Longitude 80°00'00 não definida."},
        {{"chuva", "--estado", "SP", "--latitude", "19°55'00\"", "--longitude", "43°56'00\""},
         "O ponto 19°55'00\", 43°56'00\" fica fora de São Paulo (fica em Minas Gerais)."},
        {{"chuva", "--latitude", "19°55'00\""}, "Informe --latitude e --longitude juntas."},
        {{"chuva", "--estacao", "RIO BRANCO", "--tr", "0", "--duracao", "5"},
         "O valor do tempo de retorno (Tr) deve ser maior que zero."},
        {{"chuva", "--estacao", "RIO BRANCO", "--tr", "10"}, "Falta a opção --duracao."},
        {{"chuva", "--localidades"}, "--localidades pede --estado."},
        {{"chuva", "--tr", "10", "--duracao", "5"}, "--tr e --duracao pedem uma estação, uma localidade ou um ponto."},
    };
    for (const Caso& c : casos) {
        auto r = RodarCli(c.args);
        EXPECT_EQ(r.codigo, 1) << c.erro;
        EXPECT_EQ(r.erro, "vandoro-cli: " + c.erro + "\n");
        EXPECT_EQ(r.saida, "") << c.erro;  // nothing half-printed before the error
    }
}

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"

namespace {
const Regional br = Regional::PtBR();
const Regional us = Regional::EnUS();

struct CasoFormato {
    const char* padrao;
    double valor;
    const char* br;
    const char* us;
};

TEST(FormatFloat, TabelaDePadroes) {
    const CasoFormato casos[] = {
        {"0.0", 0.25, "0,3", "0.3"},
        {"0.0", 0.15, "0,2", "0.2"},
        {"0.00", 1.005, "1,01", "1.01"},
        {"0.0", -0.01, "0,0", "0.0"},
        {"0.0", -2.45, "-2,5", "-2.5"},
        {"0.0######", 1.83, "1,83", "1.83"},
        {"0.0######", 18.0, "18,0", "18.0"},
        {"0.0######", 0.123456789, "0,1234568", "0.1234568"},
        {"0.0#", 0.5, "0,5", "0.5"},
        {"0.0#", 12.345, "12,35", "12.35"},
        {"#0.000", 1.2566, "1,257", "1.257"},
        {"#0.000", 0, "0,000", "0.000"},
        {"0.###", 2.5, "2,5", "2.5"},
        {"0.##", 3, "3", "3"},
        {" #0.0", 7.25, " 7,3", " 7.3"},
        {"###,###,###,###,###,###.0#", 1234567.891, "1.234.567,89", "1,234,567.89"},
        {"###,###,###,###,###,###.0#", 0.5, ",5", ".5"},
        {"#,##0.00", 1234.5, "1.234,50", "1,234.50"},
        {"####.000", 12.3456, "12,346", "12.346"},
        {"0", 2.5, "3", "3"},
        {"0", 99.5, "100", "100"},
        {"0.00 %", 7.5, "7,50 %", "7.50 %"},
        {"0.00E+00", 12345, "1,23E+04", "1.23E+04"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(FormatFloat(c.padrao, c.valor, br), c.br) << c.padrao << " " << c.valor;
        EXPECT_EQ(FormatFloat(c.padrao, c.valor, us), c.us) << c.padrao << " " << c.valor;
    }
}

TEST(FormatFloat, SecoesNegativaEZero) {
    EXPECT_EQ(FormatFloat("0.0;(0.0);zero", -1.25, br), "(1,3)");
    EXPECT_EQ(FormatFloat("0.0;(0.0);\"zero\"", 0, br), "zero");
}

TEST(FloatToStr, FormaMaisCurta) {
    EXPECT_EQ(FloatToStr(0.1, br), "0,1");
    EXPECT_EQ(FloatToStr(0.1, us), "0.1");
    EXPECT_EQ(FloatToStr(25, br), "25");
    EXPECT_EQ(FloatToStr(-3.5, br), "-3,5");
    EXPECT_EQ(FloatToStr(1.0 / 3.0, us), "0.333333333333333");
    EXPECT_EQ(FloatToStr(1e20, us), "1E20");
    EXPECT_EQ(FloatToStr(1.5e-5, br), "0,000015");
    EXPECT_EQ(FloatToStr(1.5e-6, br), "1,5E-6");
    EXPECT_EQ(FloatToStr(0.0001, us), "0.0001");
    EXPECT_EQ(FloatToStr(0, us), "0");
    EXPECT_EQ(FloatToStrG(123.456, 4, us), "123.5");
    EXPECT_EQ(FloatToStrFixed(2.345, 2, br), "2,35");
    EXPECT_EQ(FloatToStrFixed(-0.001, 2, us), "0.00");
}

TEST(FormatR, VinteETresCaracteres) {
    EXPECT_EQ(FormatR(1), " 1.00000000000000E+0000");
    EXPECT_EQ(FormatR(-1234.5), "-1.23450000000000E+0003");
    EXPECT_EQ(FormatR(0.001), " 1.00000000000000E-0003");
    EXPECT_EQ(FormatR(0), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatR(3.4e38).size(), 23u);
}

TEST(TextToReal, AceitaOsDoisSeparadores) {
    EXPECT_DOUBLE_EQ(TextToReal(" 1,5 "), 1.5);
    EXPECT_DOUBLE_EQ(TextToReal("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(TextToReal(""), 0);
    EXPECT_DOUBLE_EQ(TextToReal("-2e3"), -2000);
    EXPECT_ERRO(EConversao, "'abc' não é um valor numérico válido.", TextToReal("abc"));
    EXPECT_THROW(TextToReal("inf"), EConversao);
    EXPECT_THROW(TextToReal("1.5x"), EConversao);
}

TEST(StrToFloat, EstritoComMensagem) {
    double v = 0;
    EXPECT_TRUE(TryStrToFloat("12,5", v, br));
    EXPECT_DOUBLE_EQ(v, 12.5);
    EXPECT_TRUE(TryStrToFloat("12.5", v, br));
    EXPECT_FALSE(TryStrToFloat("", v, br));
    EXPECT_FALSE(TryStrToFloat("1,2,3", v, br));
    EXPECT_FALSE(TryStrToFloat("nan", v, br));
    EXPECT_ERRO(EConversao, "'x1' não é um valor numérico válido.", StrToFloat("x1", br));
    long long i = 0;
    EXPECT_TRUE(TryStrToInt(" 42 ", i));
    EXPECT_EQ(i, 42);
    EXPECT_FALSE(TryStrToInt("4.2", i));
    EXPECT_ERRO(EConversao, "'dois' não é um valor inteiro válido.", StrToInt("dois"));
}
}  // namespace

// The coordinates of a plan's lines: the same text as to_chars, ties and all.
TEST(EscreverFixo, TheVeryTextOfToChars) {
    const auto referencia = [](double v, int casas) {
        char b[400];
        return std::string(b, std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, casas).ptr);
    };
    const auto nosso = [](double v, int casas) {
        char b[400];
        return std::string(b, EscreverFixo(b, b + sizeof b, v, casas));
    };
    std::mt19937_64 gerador(33);
    std::uniform_real_distribution<double> expoente(-8, 13);
    std::vector<double> valores = {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.00005, 0.00015, -0.00004, 0.99995, 9.99995,
                                   123456.78905, 7654321.12345, 1e12, 1.0995e12, 1e300, -1e300, 5e-324, 0.125,
                                   0.0625, 1234.5, 1234.50005};
    for (int i = 0; i < 50000; ++i) {
        const double v = std::pow(10.0, expoente(gerador)) * (i % 2 ? -1 : 1);
        valores.push_back(v);
        // On and beside a tie of the fourth decimal, where the rounding of the scaling matters.
        const double empate = (std::floor(std::fabs(v) * 1e4) + 0.5) / 1e4;
        for (double d : {0.0, 1e-12, -1e-12}) valores.push_back(empate + d * empate);
    }
    for (double v : valores)
        for (int casas = 0; casas <= 7; ++casas) ASSERT_EQ(nosso(v, casas), referencia(v, casas)) << v << " " << casas;
}

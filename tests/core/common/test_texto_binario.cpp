// The shared text and binary helpers: blanks trimmed by every reader, little-endian numbers
// byte by byte, and the whole-file read into the caller's memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/common/Binario.h"
#include "core/common/Texto.h"

TEST(Texto, TrimTakesEveryBlankAtBothEndsAndNoneInside) {
    EXPECT_EQ(Trim(" \t\r\n\f\vchave = valor \t\r\n"), "chave = valor");
    EXPECT_EQ(Trim("sem brancos"), "sem brancos");
    EXPECT_EQ(Trim(" \r\n "), "");
    EXPECT_EQ(Trim(""), "");
    // Windows-1252's no-break space (0xA0) is a character, not a blank.
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
    EXPECT_EQ(Maiusculas("km ç"), "KM ç");
    EXPECT_EQ(Minusculas("ASCII Ç"), "ascii Ç");
}

TEST(Binario, NumbersAreLittleEndianByteByByte) {
    const auto bytes = [](const std::string& s) {
        std::vector<int> v;
        for (unsigned char c : s) v.push_back(c);
        return v;
    };
    std::string s;
    AcrescentarLE<uint16_t>(s, 0x1234);
    AcrescentarLE<int32_t>(s, -2);
    AcrescentarLE<float>(s, 1.0f);
    AcrescentarLE<double>(s, -2.5);
    EXPECT_EQ(bytes(s), (std::vector<int>{0x34, 0x12,                                       // 0x1234
                                          0xFE, 0xFF, 0xFF, 0xFF,                           // -2
                                          0x00, 0x00, 0x80, 0x3F,                           // 1.0f
                                          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0}));  // -2.5
    EXPECT_EQ(LerLE<uint16_t>(s.data()), 0x1234);
    EXPECT_EQ(LerLE<int32_t>(s.data() + 2), -2);
    EXPECT_EQ(LerLE<float>(s.data() + 6), 1.0f);
    EXPECT_EQ(LerLE<double>(s.data() + 10), -2.5);
    // Signed values round trip through their unsigned bits.
    unsigned char b[2];
    GravarLE<int16_t>(b, -32768);
    EXPECT_EQ(b[0], 0x00);
    EXPECT_EQ(b[1], 0x80);
    EXPECT_EQ(LerLE<int16_t>(b), -32768);
    EXPECT_EQ(LerLE<uint32_t>("\x01\x02\x03\x04"), 0x04030201u);
}

TEST(Arquivo, ReadIntoTheCallersMemory) {
    PastaTemporaria p;
    const std::string f = p.Arquivo("dez.bin");
    GravarArquivo(f, "0123456789");
    std::vector<char> destino;
    long long pedido = -1;
    LerArquivoInteiro(f, [&](long long n) {
        pedido = n;
        destino.resize(static_cast<size_t>(n));
        return destino.data();
    });
    EXPECT_EQ(pedido, 10);
    EXPECT_EQ(std::string(destino.begin(), destino.end()), "0123456789");
    // The same refusals as the read into a string; an empty file asks for no room.
    const auto nada = [](long long) -> char* { throw std::logic_error("não devia pedir"); };
    EXPECT_ERRO(EArquivoGrandeDemais, "O arquivo dez.bin é grande demais para ser lido.",
                LerArquivoInteiro(f, nada, 9));
    EXPECT_ERRO(EVandoro, "Erro ao abrir o arquivo nada.bin.", LerArquivoInteiro(p.Arquivo("nada.bin"), nada));
    GravarArquivo(p.Arquivo("vazio.bin"), "");
    EXPECT_NO_THROW(LerArquivoInteiro(p.Arquivo("vazio.bin"), nada));
    EXPECT_EQ(TamanhoArquivo(f), 10);
    EXPECT_EQ(TamanhoArquivo(p.Arquivo("nada.bin")), -1);
    EXPECT_EQ(ErroAoGravar("a/b/c.asc"), "Erro ao gravar o arquivo c.asc.");
}

// The tests' own check of an error: type and exact message together.
TEST(LancaErro, TypeAndMessageMustBothMatch) {
    const auto conversao = [] { throw EConversao("'x' não é um valor numérico válido."); };
    EXPECT_TRUE(LancaErro<EConversao>(conversao, "'x' não é um valor numérico válido."));
    EXPECT_TRUE(LancaErro<EVandoro>(conversao, "'x' não é um valor numérico válido."));  // a base class
    EXPECT_FALSE(LancaErro<EConversao>(conversao, "'x' não é um valor numérico válido"));
    EXPECT_FALSE(LancaErro<EArquivoGrandeDemais>(conversao, "'x' não é um valor numérico válido."));
    EXPECT_FALSE(LancaErro<EVandoro>([] {}, ""));
}

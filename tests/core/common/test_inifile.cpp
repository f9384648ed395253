#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/common/Aritmetica.h"
#include "core/common/DataHora.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/common/Win1252.h"

namespace {

TEST(Win1252, TodosOsBytesIdaEVolta) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += char(b);
    std::string utf8 = Win1252ToUtf8(bytes);
    EXPECT_EQ(Utf8ToWin1252(utf8), bytes);
    EXPECT_EQ(Win1252ToUtf8("\xC7\x80"), "Ç€");
    EXPECT_EQ(Utf8ToWin1252("ção°"), "\xE7\xE3o\xB0");
    EXPECT_EQ(Utf8ToWin1252("日"), "?");
    // Bytes that are no UTF-8 stay as they are, also after characters that shrank before them
    // and at the end, cut short.
    EXPECT_EQ(Utf8ToWin1252("ção\xE7x日\xE2\x82"), "\xE7\xE3o\xE7x?\xE2\x82");
    EXPECT_EQ(Utf8ToWin1252("€\xC3"), "\x80\xC3");
    // Long runs of ASCII go across in words: an accent at every place in and after a word.
    for (size_t antes = 0; antes < 20; ++antes)
        for (size_t depois = 0; depois < 20; ++depois)
            EXPECT_EQ(Utf8ToWin1252(std::string(antes, 'a') + "ç" + std::string(depois, 'b') + "€"),
                      std::string(antes, 'a') + "\xE7" + std::string(depois, 'b') + "\x80")
                << antes << " " << depois;
    for (size_t antes = 0; antes < 20; ++antes)
        for (size_t depois = 0; depois < 20; ++depois)
            EXPECT_EQ(Win1252ToUtf8(std::string(antes, 'a') + "\xE7" + std::string(depois, 'b') + "\x80"),
                      std::string(antes, 'a') + "ç" + std::string(depois, 'b') + "€")
                << antes << " " << depois;
}

TEST(IniFile, IdaEVoltaNasDuasRegionais) {
    for (const Regional& r : {Regional::PtBR(), Regional::EnUS()}) {
        PastaTemporaria tmp;
        std::string p = tmp.Arquivo("a.ini");
        {
            IniFile ini(p, r);
            ini.WriteString("Seção", "Nome", "Fazenda São João");
            ini.WriteFloat("Seção", "Valor", 0.125);
            ini.WriteInteger("Seção", "Inteiro", -7);
            ini.WriteBool("Seção", "Ligado", true);
            ini.WriteDateTime("Seção", "Data", EncodeDateTime(2026, 12, 8, 14, 30, 5));
            ini.UpdateFile();
        }
        IniFile ini(p, r);
        EXPECT_EQ(ini.ReadString("SEÇÃO", "nome", ""), "Fazenda São João");
        EXPECT_DOUBLE_EQ(ini.ReadFloat("seção", "VALOR", 0), 0.125);
        EXPECT_EQ(ini.ReadInteger("Seção", "Inteiro", 0), -7);
        EXPECT_TRUE(ini.ReadBool("Seção", "Ligado", false));
        EXPECT_DOUBLE_EQ(ini.ReadDateTime("Seção", "Data", 0), EncodeDateTime(2026, 12, 8, 14, 30, 5));
        std::string bytes = LerArquivo(p);
        EXPECT_NE(bytes.find(r.DecimalSeparator == ',' ? "Valor=0,125\r\n" : "Valor=0.125\r\n"), std::string::npos);
    }
}

TEST(IniFile, ArquivoBrasileiroLidoComRegionalAmericana) {
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("p.ini"), "[A]\r\nx=1,5\r\ny=2.25\r\nz=abc\r\n");
    IniFile ini(tmp.Arquivo("p.ini"), Regional::EnUS());
    EXPECT_DOUBLE_EQ(ini.ReadFloat("A", "x", 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("A", "y", 0), 2.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("A", "z", 9), 9);
    EXPECT_EQ(ini.ReadInteger("A", "z", 3), 3);
    EXPECT_EQ(ini.ReadInteger("A", "falta", 4), 4);
}

TEST(IniFile, SecaoComCedilhaEmUmByte) {
    PastaTemporaria tmp;
    {
        IniFile ini(tmp.Arquivo("e.kzp"));
        ini.WriteFloat("ESPAÇAMENTO", "EV", 1.83);
    }
    std::string bytes = LerArquivo(tmp.Arquivo("e.kzp"));
    EXPECT_EQ(bytes, "[ESPA\xC7" "AMENTO]\r\nEV=1,83\r\n");
    IniFile ini(tmp.Arquivo("e.kzp"));
    EXPECT_TRUE(ini.SectionExists("espaçamento"));
}

TEST(IniFile, PreservaLinhasAlheiasEOrdem) {
    PastaTemporaria tmp;
    std::string p = tmp.Arquivo("c.ini");
    GravarArquivo(p, "; comentário\n[A]\nk1 = v1\nlixo sem igual\n\n[B]\nk=1\n");
    {
        IniFile ini(p);
        ini.WriteString("a", "K1", "novo");
        ini.WriteString("A", "k2", "v2");
        ini.WriteString("C", "x", "y");
        ini.DeleteKey("B", "k");
        ini.UpdateFile();
    }
    EXPECT_EQ(LerArquivo(p), "; comentário\r\n[A]\r\nk1=novo\r\nlixo sem igual\r\nk2=v2\r\n\r\n[B]\r\n[C]\r\nx=y\r\n");
}

TEST(IniFile, WritesGoToTheFirstSectionOfTheirNameAsSectionsComeAndGo) {
    PastaTemporaria tmp;
    std::string p = tmp.Arquivo("r.ini");
    // A hand-edited file may repeat a section: a key goes to the first of that name, also
    // after a section before it is erased and the others move up.
    GravarArquivo(p, "[X]\n[A]\nk=1\n[Y]\n[a]\nk=3\n");
    {
        IniFile ini(p);
        ini.WriteString("a", "k", "2");
        ini.WriteString("Y", "j", "y");
        ini.EraseSection("X");
        ini.WriteString("a", "j", "novo");
        ini.WriteString("Z", "k", "z");
        ini.WriteString("A", "k", "4");
        ini.UpdateFile();
    }
    EXPECT_EQ(LerArquivo(p), "[A]\r\nk=4\r\nj=novo\r\n[Y]\r\nj=y\r\n[a]\r\nk=3\r\n[Z]\r\nk=z\r\n");
}

TEST(IniFile, KeysAreFoundByTheirFirstLineAsLinesComeAndGo) {
    PastaTemporaria tmp;
    std::string p = tmp.Arquivo("k.ini");
    // A repeated key reads and takes writes at its first line; deleting that one uncovers the
    // next. Lines are kept as written until they change, quotes and blanks included.
    GravarArquivo(p, "[S]\nk=1\nA\xC7\xC3O = 'x y'\nk=2\nm=\"q\"\n");
    {
        IniFile ini(p);
        EXPECT_EQ(ini.ReadString("s", "K", ""), "1");
        EXPECT_EQ(ini.ReadString("S", "ação", ""), "x y");
        EXPECT_EQ(ini.ReadString("S", "m", ""), "q");
        ini.WriteString("S", "m", "q");
        ini.WriteString("S", "k", "1");
        EXPECT_FALSE(ini.Modified());
        ini.DeleteKey("S", "K");
        EXPECT_EQ(ini.ReadString("S", "k", ""), "2");
        ini.WriteString("S", "n", "novo");
        ini.WriteString("S", "k", "3");
        EXPECT_EQ(ini.ReadString("S", "n", ""), "novo");
        EXPECT_EQ(ini.ReadSection("S"), (std::vector<std::string>{"AÇÃO", "k", "m", "n"}));
        ini.UpdateFile();
    }
    EXPECT_EQ(LerArquivo(p), "[S]\r\nA\xC7\xC3O = 'x y'\r\nk=3\r\nm=\"q\"\r\nn=novo\r\n");
}

TEST(IniFile, GravacaoQueFalhaPreservaOArquivo) {
    PastaTemporaria tmp;
    std::string p = tmp.Arquivo("pasta");
    std::filesystem::create_directory(p);
    IniFile ini(p);
    ini.WriteString("A", "b", "c");
    EXPECT_ERRO(EVandoro, "Não foi possível gravar o arquivo " + p + ": já existe uma pasta com esse nome.",
                ini.UpdateFile());
    EXPECT_TRUE(std::filesystem::is_directory(p));
}

TEST(IniFile, ConteudoBinarioNaoQuebra) {
    PastaTemporaria tmp;
    std::string lixo;
    for (int i = 0; i < 5000; ++i) lixo += char((i * 7919) % 256);
    lixo += std::string("[\0=]\n==\n[", 9);
    GravarArquivo(tmp.Arquivo("b.ini"), lixo);
    IniFile ini(tmp.Arquivo("b.ini"));
    EXPECT_EQ(ini.ReadString("X", "y", "d"), "d");
}

TEST(DataHora, CalendarioEFormatos) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30), 0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1), 36526);
    double dt = EncodeDateTime(2024, 2, 29, 6, 5, 4);
    int y, m, d, h, mi, s, ms;
    DecodeDateTime(dt, y, m, d, h, mi, s, ms);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
    EXPECT_EQ(h * 10000 + mi * 100 + s, 60504);
    EXPECT_EQ(FormatDDMMYYYY(dt), "29/02/2024");
    EXPECT_EQ(DateTimeToStr(dt, Regional::PtBR()), "29/02/2024 06:05:04");
    EXPECT_EQ(DateTimeToStr(dt, Regional::EnUS()), "2/29/2024 6:05:04 AM");
    double back = 0;
    EXPECT_TRUE(TryStrToDateTime("2/29/2024 6:05:04 PM", back, Regional::EnUS()));
    EXPECT_DOUBLE_EQ(back, EncodeDateTime(2024, 2, 29, 18, 5, 4));
    EXPECT_FALSE(TryStrToDateTime("31/02/2023", back, Regional::PtBR()));
}

TEST(DataHora, SemConfiguracaoRegionalAsDatasSaoBrasileiras) {
    // The project's own dates are dd/mm/yyyy: a machine without regional settings must not
    // print today's as m/d/yyyy beside them.
    const double dt = EncodeDateTime(2026, 12, 8, 9, 30, 0);
    for (const char* nome : {"C", "C.UTF-8", "POSIX", "", "xx_YY"}) {
        const Regional r = Regional::FromLocaleName(nome);
        EXPECT_EQ(DateToStr(dt, r), "08/12/2026") << nome;
        EXPECT_EQ(DateTimeToStr(dt, r), "08/12/2026 09:30:00") << nome;
    }
    // Numbers keep the point there; the named regions keep all of theirs.
    EXPECT_EQ(Regional::FromLocaleName("C.UTF-8").DecimalSeparator, '.');
    EXPECT_EQ(Regional::FromLocaleName("pt_BR.UTF-8").DecimalSeparator, ',');
    EXPECT_EQ(DateToStr(dt, Regional::FromLocaleName("en_US.UTF-8")), "12/8/2026");
}

TEST(Aritmetica, FalhasLevantamAMensagem) {
    EXPECT_DOUBLE_EQ(aritmetica::Power(8, 1.0 / 3.0), 2.0);
    EXPECT_THROW(aritmetica::Power(0, 2), EAritmetico);
    EXPECT_THROW(aritmetica::Div(1, 0), EAritmetico);
    EXPECT_THROW(aritmetica::Ln(-1), EAritmetico);
    EXPECT_ERRO(EAritmetico, "Erro no dimensinamento de canal",
                aritmetica::Div(1, 0, "Erro no dimensinamento de canal"));
}
}  // namespace

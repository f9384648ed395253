// The numeric and coordinate entry fields, driven by real key presses.
#include <QTest>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "gui/common/EditCoordenada.h"
#include "gui/common/EditNumero.h"

TEST(EditNumero, AsDuasTeclasDeSeparadorDaoOSeparadorRegionalUmaVezSo) {
    struct Caso {
        Regional r;
        const char* digitado;
        const char* mostrado;
        double valor;
    };
    const Caso casos[] = {
        {Regional::PtBR(), "12.5", "12,5", 12.5},   // the thousands key gives the decimal comma
        {Regional::PtBR(), "0,12", "0,12", 0.12},
        {Regional::PtBR(), "1,2.3", "1,23", 1.23},  // a second separator is refused
        {Regional::EnUS(), "12,5", "12.5", 12.5},
        {Regional::EnUS(), "3.x-7 e", "3.7", 3.7},   // letters, signs and blanks are refused
        {Regional::EnUS(), "", "", 0.0},            // empty reads 0
    };
    for (const Caso& c : casos) {
        RegionalFixo fixo(c.r);
        TEditNumero e;
        QTest::keyClicks(&e, QString::fromUtf8(c.digitado));
        EXPECT_EQ(e.text(), QString::fromUtf8(c.mostrado)) << c.digitado;
        EXPECT_DOUBLE_EQ(e.Valor(), c.valor) << c.digitado;
    }
}

TEST(EditNumero, BackspaceESelecaoLiberamOSeparador) {
    TEditNumero e;
    QTest::keyClicks(&e, "2,5");
    QTest::keyClick(&e, Qt::Key_Backspace);
    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_EQ(e.text(), "2");
    QTest::keyClicks(&e, ".75");
    EXPECT_EQ(e.text(), "2,75");
    e.selectAll();  // typing over a selection that holds the separator
    QTest::keyClicks(&e, ".5");
    EXPECT_EQ(e.text(), ",5");
    EXPECT_DOUBLE_EQ(e.Valor(), 0.5);
}

TEST(EditNumero, ValoresNaoPositivosFicamVazios) {
    TEditNumero e;
    e.SetValor(0.12);
    EXPECT_EQ(e.text(), "0,12");
    e.SetValor(12, "0.0######");
    EXPECT_EQ(e.text(), "12,0");
    e.SetValor(0);
    EXPECT_EQ(e.text(), "");
    e.SetValor(3);
    e.SetValor(-1.5);
    EXPECT_EQ(e.text(), "");
    EXPECT_EQ(e.Valor(), 0.0);
}

TEST(EditCoordenada, IdaEVoltaEntreTextoEGraus) {
    TEditCoordenada e;
    EXPECT_EQ(e.Texto(), "00°00'00\"");
    const std::pair<double, const char*> casos[] = {
        {22.5, "22°30'00\""}, {47.0 + 3.0 / 60 + 15.0 / 3600, "47°03'15\""}, {-4.5, "-4°30'00\""}, {0, "00°00'00\""}};
    for (const auto& [graus, texto] : casos) {
        e.SetGraus(graus);
        EXPECT_EQ(e.Texto(), QString::fromUtf8(texto));
        EXPECT_NEAR(e.Graus(), graus, 0.5 / 3600);
    }
    e.SetTexto(" 5°16'00\"");  // blank in the first place, as the database may hold it
    EXPECT_EQ(e.Texto(), " 5°16'00\"");
    EXPECT_NEAR(e.Graus(), 5 + 16 / 60.0, 1e-12);
}

TEST(EditCoordenada, DigitacaoPelaMascara) {
    TEditCoordenada e;
    e.clear();
    e.setCursorPosition(0);
    QTest::keyClicks(&e, "223015");
    EXPECT_EQ(e.Texto(), "22°30'15\"");
    EXPECT_NEAR(e.Graus(), 22 + 30 / 60.0 + 15 / 3600.0, 1e-12);

    e.clear();
    e.setCursorPosition(0);
    QTest::keyClicks(&e, "+-43000");  // no plus sign; minus marks north
    EXPECT_EQ(e.Texto(), "-4°30'00\"");
    EXPECT_DOUBLE_EQ(e.Graus(), -4.5);

    e.clear();
    e.setCursorPosition(0);
    QTest::keyClicks(&e, "227");  // incomplete: the core reader refuses it
    EXPECT_EQ(e.Texto(), "22°7 '  \"");
    EXPECT_THROW(e.Graus(), EConversao);
    EXPECT_THROW(e.SetGraus(100), EVandoro);
}

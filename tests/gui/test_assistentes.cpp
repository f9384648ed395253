// Parameter assistants under pt-BR: what each dialog shows for a given row and value, what
// typing does to the row, when "&Ok" may be pressed and what comes back.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "DialogosRoteiro.h"
#include "Digitacao.h"
#include "TestSupport.h"
#include "core/common/Erros.h"
#include "gui/common/Assistentes.h"

namespace {

// Runs 'passo' on the dialog, then presses the button if it is enabled.
std::function<int(QDialog&)> Roteiro(std::function<void(TFTabelaAssistente&)> passo, const char* botao = "btnOk") {
    return [=](QDialog& d) {
        auto& t = static_cast<TFTabelaAssistente&>(d);
        passo(t);
        QPushButton* b = d.findChild<QPushButton*>(botao);
        if (b->isEnabled()) b->click();
        return d.result();
    };
}

void Digitar(QLineEdit* e, const QString& t) { Redigitar(e, t); }

}  // namespace

TEST(Assistentes, ChannelRoughnessShowsTheRowOrTheGivenValueAndTypingClearsTheRow) {
    TDialogosRoteiro roteiro;
    TRugCan a;
    a.Indice = 3;
    QString visto;
    bool marcado = false;
    roteiro.dialogos.push_back(Roteiro([&](TFTabelaAssistente& d) {
        visto = d.Campo()->text();
        marcado = d.Opcao(3)->isChecked();
    }, "btnCancelar"));
    EXPECT_FALSE(a.Execute());
    EXPECT_EQ(visto, "0,025");
    EXPECT_TRUE(marcado);
    EXPECT_EQ(a.Indice, 3);  // cancel leaves both
    a.Valor = 0.03;
    roteiro.dialogos.push_back(Roteiro([&](TFTabelaAssistente& d) {
        visto = d.Campo()->text();
        Digitar(d.Campo(), "0.02");
    }));
    EXPECT_TRUE(a.Execute());
    EXPECT_EQ(visto, "0,03");
    EXPECT_EQ(a.Indice, 0);
    EXPECT_DOUBLE_EQ(a.Valor, 0.02);
    // A row clicked gives its Normal value and its number.
    roteiro.dialogos.push_back(Roteiro([](TFTabelaAssistente& d) { d.Opcao(7)->click(); }));
    EXPECT_TRUE(a.Execute());
    EXPECT_EQ(a.Indice, 7);
    EXPECT_DOUBLE_EQ(a.Valor, 0.035);
}

TEST(Assistentes, TerrainRoughnessKeepsTheLastClickedRowWhenTyping) {
    TDialogosRoteiro roteiro;
    TRugTer a;
    roteiro.dialogos.push_back(Roteiro([](TFTabelaAssistente& d) {
        d.Opcao(13)->click();
        EXPECT_EQ(d.Campo()->text(), "0,2");
        Digitar(d.Campo(), "0,18");
    }));
    EXPECT_TRUE(a.Execute());
    EXPECT_EQ(a.Indice, 13);
    EXPECT_DOUBLE_EQ(a.Valor, 0.18);
    // Ok is off while the field is empty.
    bool ok = true;
    roteiro.dialogos.push_back(Roteiro([&](TFTabelaAssistente& d) {
        Digitar(d.Campo(), "");
        ok = d.BotaoOk()->isEnabled();
    }, "btnCancelar"));
    EXPECT_FALSE(a.Execute());
    EXPECT_FALSE(ok);
    EXPECT_DOUBLE_EQ(a.Valor, 0.18);
}

TEST(Assistentes, SmInPercentShowsTheRangeRowAndJudgesItByLength) {
    TDialogosRoteiro roteiro;
    TSm a;
    a.UDeclive = "%";
    a.KDeclive = 100;
    bool ok = true;
    roteiro.dialogos.push_back(Roteiro([&](TFTabelaAssistente& d) {
        d.Opcao(1)->click();
        EXPECT_EQ(d.Campo()->text(), " 72,1");
        d.Opcao(7)->click();
        EXPECT_EQ(d.Campo()->text(), " 18,6 a 22,1");
        ok = d.BotaoOk()->isEnabled();
    }, "btnCancelar"));
    EXPECT_FALSE(a.Execute());
    EXPECT_FALSE(ok);
    // Row 7 keeps its row when typed into; a text longer than 5 characters is refused.
    roteiro.dialogos.push_back(Roteiro([&](TFTabelaAssistente& d) {
        d.Opcao(7)->click();
        Digitar(d.Campo(), "20,0001");
        d.BotaoOk()->click();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        Digitar(d.Campo(), "20");
    }));
    EXPECT_TRUE(a.Execute());
    EXPECT_EQ(roteiro.Mensagens("aviso"),
              QStringList{"Valor de Sm inconsistente. Forneça um valor compreendido entre:[18,6 .. 22,1]."});
    EXPECT_EQ(a.Indice, 7);
    EXPECT_DOUBLE_EQ(a.Valor, 20);
    // Another row typed into becomes -1; the given value shows on opening.
    roteiro.dialogos.push_back(Roteiro([&](TFTabelaAssistente& d) {
        EXPECT_EQ(d.Campo()->text(), "20");
        d.Opcao(2)->click();
        Digitar(d.Campo(), "65");
    }));
    EXPECT_TRUE(a.Execute());
    EXPECT_EQ(a.Indice, -1);
    a.UDeclive = "cm";
    EXPECT_EQ(MensagemDe([&] { a.Execute(); }), "É necessário entrar com uma unidade de declividade (% ou m/m)");
    a.UDeclive = "m/m";
    a.KDeclive = 10;
    EXPECT_EQ(MensagemDe([&] { a.Execute(); }),
              "É necessário entrar com um multiplicador de unidade de declividade (1 ou 100)");
}

TEST(Assistentes, ZOtherRowWaitsForANumber) {
    TDialogosRoteiro roteiro;
    TZ a;
    bool ok = true;
    roteiro.dialogos.push_back(Roteiro([&](TFTabelaAssistente& d) {
        d.Opcao(4)->click();
        EXPECT_EQ(d.Campo()->text(), " 1,50");
        d.Campo()->setText("---");
        d.Opcao(6)->click();
        ok = d.BotaoOk()->isEnabled();
        Digitar(d.Campo(), "3");
        EXPECT_TRUE(d.Opcao(6)->isChecked());
    }));
    EXPECT_TRUE(a.Execute());
    EXPECT_FALSE(ok);
    EXPECT_EQ(a.Indice, 6);
    EXPECT_DOUBLE_EQ(a.Valor, 3);
}

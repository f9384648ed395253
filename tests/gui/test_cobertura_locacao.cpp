// The land cover group in the location window's soil section: filled from the project,
// written back with the other fields.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPointer>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "gui/location/FrmLocacao.h"

TEST(CoberturaLocacao, TheProjectsCoverIsShownAndStoredBack) {
    TDialogosRoteiro roteiro;
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(std::string(VANDORO_BIN_DIR) + "/Exemplos/Locacao em nivel.kzp");
    TGerenteSis g;
    QPointer<TfrmLocacao> w = new TfrmLocacao(m, g);
    w->PreencherCampos();
    auto* uso = w->findChild<QComboBox*>("cbUsoDoSolo");
    auto* cond = w->findChild<QComboBox*>("cbCondicaoHidrologica");
    ASSERT_TRUE(uso && cond);
    EXPECT_EQ(uso->currentIndex(), 1);
    EXPECT_EQ(w->findChild<QComboBox*>("cbTratamento")->currentIndex(), 2);
    EXPECT_EQ(cond->currentIndex(), 3);
    // Row crop on the contour, good condition, 20 mm/h.
    EXPECT_EQ(w->findChild<QLabel*>("lblNumeroDaCurva")->text(), QStringLiteral("Número da curva (CN): 92"));
    uso->setCurrentIndex(5);
    cond->setCurrentIndex(1);
    emit cond->activated(1);
    EXPECT_EQ(w->findChild<QLabel*>("lblNumeroDaCurva")->text(), QStringLiteral("Número da curva (CN): 89"));
    EXPECT_TRUE(g.Alterado());
    ASSERT_TRUE(w->Coletar()) << roteiro.registro.join('|').toStdString();
    EXPECT_EQ(m.NumeroDaCurva().UsoDoSolo().Index(), 5);
    EXPECT_EQ(m.NumeroDaCurva().CondicaoHidrologica().Index(), 1);
    EXPECT_EQ(m.NumeroDaCurva().CurveNumber(), 89);
    delete w.data();
}

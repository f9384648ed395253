// Every dialog that opens an image offers the same list of formats, the one core builds from
// its format table.
#include <gtest/gtest.h>

#include <QPushButton>

#include "DialogosRoteiro.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/raster/FormatoImagem.h"
#include "gui/location/FrmLocacao.h"
#include "gui/raster/AbrirArq.h"
#include "gui/raster/FDeclividade.h"
#include "gui/raster/FFiltro.h"

TEST(FiltroImagens, EveryImageOpenDialogOffersTheFormatTable) {
    TDialogosRoteiro roteiro;
    const QString filtro = QString::fromStdString(FiltroImagens());

    TModeloProjeto m;
    TGerenteSis g;
    auto* locacao = new TfrmLocacao(m, g);
    locacao->findChild<QPushButton*>("btnImagemElevacao")->click();
    locacao->findChild<QPushButton*>("btnImagemDec")->click();
    delete locacao;

    TFDeclividade declividade;
    declividade.BitBtnAbrirClick();
    declividade.BitBtn2Click();
    TFFiltro filtragem;
    filtragem.BitBtnAbrirClick();
    TFAbrirArq abrir(PastaPaletas(QStringLiteral(VANDORO_BIN_DIR "/")), QString());
    abrir.EscolherImagem();

    EXPECT_EQ(roteiro.registro,
              (QStringList{"abrir: Abrir imagem de elevação", "abrir: Abrir imagem de declividades", "abrir: Abrir",
                           "salvar: Salvar", "abrir: Abrir", "abrir: Abrir imagem"}));
    EXPECT_EQ(roteiro.filtros, QStringList(6, filtro));
}

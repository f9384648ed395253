// The small dialogs of the sizing and location windows: the same Ok/Cancelar/Ajuda row, each
// opening its own help topic, and the terrace-type tables each criterion opens, whole.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/model/Espacamento.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/TabelasAssistentes.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Assistentes.h"
#include "gui/common/FTipoTerraco.h"
#include "gui/location/FMetodosLoc.h"
#include "gui/location/FrmLocacao.h"
#include "gui/sizing/FBentleyDim.h"
#include "gui/sizing/FLombNetoDim.h"
#include "gui/sizing/FParanaDim.h"

namespace {

struct Caso {
    const char* nome;
    std::function<std::unique_ptr<QDialog>()> criar;
    int topico;
    const char* cancelar;
};

// The test program has no help folder beside it: the topic shows in the missing page's name.
QString AjudaAberta(int topico) { return QStringLiteral("Arquivo de ajuda não encontrado\r") + PaginaAjuda(topico); }

}  // namespace

TEST(RodapeDialogos, EachDialogHasTheRowAndOpensItsOwnHelpTopic) {
    const Caso casos[] = {
        {"Paraná", [] { return std::make_unique<TFTipoTerraco>(TFTipoTerraco::Parana); }, 46, "Ca&ncelar"},
        {"Emater/RS", [] { return std::make_unique<TFTipoTerraco>(TFTipoTerraco::EmaterRS); }, 57, "Ca&ncelar"},
        {"Lombardi", [] { return std::make_unique<TFTipoTerraco>(TFTipoTerraco::LombardiNeto); }, 46, "Ca&ncelar"},
        {"solo Bentley", [] { return std::make_unique<TFSoloLoc>(TSolo::FamiliaBentley); }, 59, "&Cancelar"},
        {"solo Paraná", [] { return std::make_unique<TFSoloLoc>(TSolo::FamiliaParana); }, 60, "&Cancelar"},
        {"tipo arbitrado", [] { return std::make_unique<TFTipoNenhum>(); }, 117, "&Cancelar"},
        {"Lombardi loc", [] { return std::make_unique<TFLombNetoLoc>(); }, 61, "&Cancelar"},
        {"Bentley dim", [] { return std::make_unique<TFBentleyDim>(); }, 45, "Ca&ncelar"},
        {"Paraná dim", [] { return std::make_unique<TFParanaDim>(); }, 37, "Ca&ncelar"},
        {"Lombardi dim", [] { return std::make_unique<TFLombNetoDim>(); }, 38, "Ca&ncelar"},
        // An assistant learns its topic after it is built.
        {"Z",
         [] {
             auto d = std::make_unique<TFZ>();
             d->SetDados(77, 0, 0);
             return d;
         },
         77, "Ca&ncelar"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        TDialogosRoteiro roteiro;
        std::unique_ptr<QDialog> d = c.criar();
        d->show();
        auto* ok = d->findChild<QPushButton*>("btnOk");
        auto* cancelar = d->findChild<QPushButton*>("btnCancelar");
        auto* ajuda = d->findChild<QPushButton*>("btnAjuda");
        ASSERT_TRUE(ok && cancelar && ajuda);
        EXPECT_EQ(ok->text(), "&Ok");
        EXPECT_EQ(cancelar->text(), QString::fromUtf8(c.cancelar));
        EXPECT_EQ(ajuda->text(), "Aj&uda");
        EXPECT_TRUE(ok->isDefault());
        // Right to left on one row under the contents: Ajuda, Cancelar, Ok.
        EXPECT_LT(ok->geometry().right(), cancelar->geometry().left());
        EXPECT_LT(cancelar->geometry().right(), ajuda->geometry().left());
        EXPECT_EQ(ok->y(), ajuda->y());

        ReiniciarAvisoAjuda();
        ajuda->click();
        EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{AjudaAberta(c.topico)});
        d->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
        ReiniciarAvisoAjuda();
        QTest::keyClick(d.get(), Qt::Key_F1);
        EXPECT_EQ(roteiro.Mensagens("erro"), (QStringList{AjudaAberta(c.topico), AjudaAberta(c.topico)}));

        cancelar->click();
        EXPECT_EQ(d->result(), QDialog::Rejected);
    }
}

TEST(RodapeDialogos, EachCriterionOpensItsTableWithEveryRecommendationWhole) {
    TDialogosRoteiro roteiro;
    TModeloProjeto m;
    TGerenteSis g;
    TfrmLocacao w(m, g);
    w.show();
    const struct {
        const std::vector<TLinhaTipoTerraco>& linhas;
        const char* titulo;
    } criterios[] = {{TiposParana(), "Tipos de Terraços Recomendados por Paraná"},
                     {TiposEmaterRS(), "Tipos de Terraços Recomendados pela Emater/RS"},
                     {TiposLombardiNeto(), "Tipos de Terraços Recomendados por Lombardi Neto"}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        w.findChild<QRadioButton*>(QStringLiteral("rbCriterio%1").arg(i))->click();
        roteiro.dialogos.push_back([&](QDialog& d) {
            auto* t = d.findChild<QTableWidget*>("tabTipos");
            EXPECT_EQ(t->rowCount(), static_cast<int>(criterios[i].linhas.size()));
            d.show();
            QCoreApplication::processEvents();
            // Each recommendation wraps to the column's final width and its row holds all of it.
            const int largura = t->columnWidth(1) - 8;
            for (int r = 0; r < t->rowCount(); ++r) {
                EXPECT_EQ(t->item(r, 0)->text(), QString::fromUtf8(criterios[i].linhas[size_t(r)].Declividade));
                const QString texto = t->item(r, 1)->text();
                EXPECT_EQ(texto, QString::fromUtf8(criterios[i].linhas[size_t(r)].Tipos));
                const int altura = QFontMetrics(t->font()).boundingRect(QRect(0, 0, largura, 0), Qt::TextWordWrap, texto).height();
                EXPECT_GE(t->rowHeight(r), altura) << texto.toStdString();
            }
            return int(QDialog::Rejected);
        });
        w.btnConsultaTipoTerracoClick();
        EXPECT_EQ(roteiro.registro.last(), QStringLiteral("dialogo: ") + QString::fromUtf8(criterios[i].titulo));
    }
    EXPECT_TRUE(roteiro.dialogos.empty());
}

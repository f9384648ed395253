// The storm group the sizing and location windows share: "Consulta" in the location window
// opens, as in the sizing window, on empty equation fields and on the state of the point
// typed; a half-typed coordinate is refused by either window with its field shown; a
// coordinate mask left untouched is no coordinate.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "gui/common/CamposJanela.h"
#include "gui/common/EditCoordenada.h"
#include "gui/location/FrmLocacao.h"
#include "gui/rainfall/ConsultaChuva.h"
#include "gui/sizing/FrmDimensionamento.h"

namespace {

const std::string kPrograma = std::string(VANDORO_BIN_DIR) + "/";
const QString kLatBH = QString::fromUtf8("19°55'00\"");

QLineEdit* Campo(QWidget& w, const char* nome) {
    auto* e = w.findChild<QLineEdit*>(nome);
    EXPECT_NE(e, nullptr) << nome;
    return e;
}

QLineEdit* Digitar(QWidget& w, const char* nome, const char* texto) {
    QLineEdit* e = Campo(w, nome);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, texto);
    return e;
}

}  // namespace

TEST(GrupoPrecipitacao, LocationConsultaOpensOnEmptyFieldsAndTheTypedPointsState) {
    RegionalFixo pt(Regional::PtBR());
    TDialogosRoteiro roteiro;
    TModeloProjeto m;  // a new project: K, a, b, c empty, Acre on record
    m.Quenda().SetPastaPrograma(kPrograma);
    m.Quenda().SetIndEstado(0);
    TGerenteSis g;
    QPointer<TfrmLocacao> w = new TfrmLocacao(m, g);
    w->SetJanelaConsulta(FabricaConsultaChuva(w, kPrograma));
    w->show();
    QLineEdit* k = Campo(*w, "edtK");
    ASSERT_TRUE(k->text().isEmpty());
    QLineEdit* lat = Digitar(*w, "meLatitude", "195500");
    Digitar(*w, "meLongitude", "435600");
    QString estado, kJanela;
    roteiro.dialogos = {[&](QDialog& d) {
        estado = d.findChild<QComboBox*>("cbEstados")->currentText();
        kJanela = Campo(d, "edtK")->text();
        d.findChild<QPushButton*>("btnFechar")->click();
        return d.result();
    }};
    w->findChild<QPushButton*>("btnConsulta")->click();
    EXPECT_TRUE(roteiro.Mensagens("erro").isEmpty()) << S(roteiro.registro.join("|"));
    EXPECT_EQ(estado, "Minas Gerais");
    ASSERT_FALSE(kJanela.isEmpty());
    EXPECT_NEAR(StrToFloat(S(k->text())), StrToFloat(S(kJanela)), 0.06);
    EXPECT_EQ(m.Quenda().IndEstado(), 12);
    EXPECT_EQ(lat->text(), kLatBH);
    delete w.data();
}

TEST(GrupoPrecipitacao, AHalfTypedCoordinateIsRefusedByBothWindowsWithTheFieldShown) {
    RegionalFixo pt(Regional::PtBR());
    TDialogosRoteiro roteiro;
    TModeloProjeto m;
    TGerenteSis g;
    QPointer<TfrmDimensionamento> dim = new TfrmDimensionamento(m, g);
    QPointer<TfrmLocacao> loc = new TfrmLocacao(m, g);
    const auto recusada = [&](QWidget& w, const std::function<bool()>& gravar, const std::function<QString()>& grupo) {
        w.show();
        QLineEdit* lon = Digitar(w, "meLongitude", "43");
        const std::string antes = m.Quenda().Longitude();
        EXPECT_FALSE(gravar());
        ASSERT_FALSE(roteiro.Mensagens("erro").isEmpty());
        const QString msg = roteiro.Mensagens("erro").last();
        EXPECT_TRUE(msg.startsWith("A longitude \"43")) << S(msg);
        EXPECT_TRUE(msg.endsWith("\" está incompleta: preencha graus, minutos e segundos.")) << S(msg);
        EXPECT_EQ(grupo(), QString::fromUtf8("Precipitação"));
        EXPECT_EQ(w.focusWidget(), lon);
        EXPECT_EQ(m.Quenda().Longitude(), antes);  // nothing stored
        w.hide();
    };
    dim->AbrirGrupo("Canal");
    recusada(*dim, [&] { return dim->StoreInputs(); }, [&] { return dim->GrupoAberto(); });
    loc->AbrirSecao("Canal");
    recusada(*loc, [&] { return loc->Coletar(); }, [&] { return loc->SecaoAberta(); });
    delete dim.data();
    delete loc.data();
}

TEST(GrupoPrecipitacao, AnUntouchedCoordinateMaskIsNoCoordinate) {
    TEditCoordenada vazia(nullptr, TEditCoordenada::SemSinal);
    vazia.setText(QString::fromUtf8("  °  '  \""));
    EXPECT_EQ(TextoDoCampo(&vazia), "");
    TEditCoordenada cheia(nullptr, TEditCoordenada::SemSinal);
    cheia.setText(kLatBH);
    EXPECT_EQ(TextoDoCampo(&cheia), S(kLatBH));
    // A number field keeps its text, digits or not.
    QLineEdit texto;
    texto.setText("abc");
    EXPECT_EQ(TextoDoCampo(&texto), "abc");
}

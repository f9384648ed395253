// The rainfall consultation window with a typed point for any state, its help key and
// accelerators, its buttons fed what the rules refuse, and the sizing window's "Consulta"
// opened with the equation still empty.
#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/rainfall/Quenda21.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Dialogos.h"
#include "gui/rainfall/ConsultaChuva.h"
#include "gui/rainfall/FoConsulta.h"
#include "gui/sizing/FrmDimensionamento.h"

namespace {

const std::string kPrograma = std::string(VANDORO_BIN_DIR) + "/";
const QString kLatBH = QString::fromUtf8("19°55'00\""), kLonBH = QString::fromUtf8("43°56'00\"");
const QString kLatGoiania = QString::fromUtf8("16°40'00\""), kLonGoiania = QString::fromUtf8("49°15'00\"");

template <class W>
W* Filho(QWidget& w, const char* nome) {
    W* r = w.findChild<W*>(nome);
    EXPECT_NE(r, nullptr) << nome;
    return r;
}

QString Texto(QWidget& w, const char* nome) { return Filho<QLineEdit>(w, nome)->text(); }

void Ponto(QWidget& d, const QString& lat, const QString& lon) {
    Filho<QLineEdit>(d, "edtLatitude")->setText(lat);
    Filho<QLineEdit>(d, "edtLongitude")->setText(lon);
    Filho<QPushButton>(d, "btnCalcular")->click();
}

// The letter after a single '&' of a control's text.
QChar Tecla(const QString& t) {
    for (int i = 0; i + 1 < t.size(); ++i) {
        if (t[i] != '&') continue;
        if (t[i + 1] == '&') {
            ++i;
            continue;
        }
        return t[i + 1].toUpper();
    }
    return {};
}

// Every accelerator of a window: buttons, labels with a buddy, tabs.
std::multimap<QChar, QString> Teclas(QWidget& w) {
    std::multimap<QChar, QString> r;
    auto juntar = [&](const QString& t) {
        if (const QChar c = Tecla(t); !c.isNull()) r.emplace(c, t);
    };
    for (auto* b : w.findChildren<QAbstractButton*>()) juntar(b->text());
    for (auto* l : w.findChildren<QLabel*>())
        if (l->buddy()) juntar(l->text());
    for (auto* t : w.findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i) juntar(t->tabText(i));
    return r;
}

}  // namespace

TEST(ConsultaChuvaPonto, ATypedPointWorksInEveryStateAndOutsideItIsRefused) {
    RegionalFixo pt(Regional::PtBR());
    TDialogosRoteiro roteiro;
    TQuenda21 q;
    q.SetPastaPrograma(kPrograma);
    q.SetIndEstado(8);  // Goiás, without a state map
    q.SetIndEstacao(-1);
    q.SetIndLocalidade(-1);
    roteiro.dialogos = {[&](QDialog& d) {
        EXPECT_TRUE(Filho<QLineEdit>(d, "edtLatitude")->isEnabled());
        EXPECT_TRUE(Filho<QPushButton>(d, "btnCalcular")->isEnabled());
        Ponto(d, kLatGoiania, kLonGoiania);
        const QString k = Texto(d, "edtK");
        EXPECT_FALSE(k.isEmpty());
        EXPECT_EQ(Filho<QLabel>(d, "lblCidade")->text(), QString::fromUtf8("Não definida"));
        // Belo Horizonte lies in Minas Gerais: said, and the Goiânia equation stays.
        Ponto(d, kLatBH, kLonBH);
        EXPECT_EQ(Texto(d, "edtK"), k);
        // An invalid minute, then a point off the map of Brazil.
        Ponto(d, QString::fromUtf8("16°75'00\""), kLonGoiania);
        Ponto(d, kLatGoiania, QString::fromUtf8("99°00'00\""));
        EXPECT_EQ(Texto(d, "edtK"), k);
        EXPECT_TRUE(d.isVisible() || d.result() == 0);  // the window goes on
        Filho<QPushButton>(d, "btnFechar")->click();
        return d.result();
    }};
    ASSERT_TRUE(ConsultarChuva(nullptr, q));
    EXPECT_EQ(roteiro.Mensagens("erro"),
              QStringList({QString::fromUtf8("O ponto 19°55'00\", 43°56'00\" fica fora de Goiás (fica em Minas Gerais)."),
                           QString::fromUtf8("Latitude 16°75'00\" inválida: escreva GG°MM'SS\", com minutos e "
                                             "segundos de 00 a 59."),
                           QString::fromUtf8("Longitude 99°00'00\" não definida.")}));
    EXPECT_EQ(q.IndEstado(), 8);
    EXPECT_EQ(q.Latitude(), S(kLatGoiania));
    EXPECT_EQ(q.StrCidade(), "Não definida");
    EXPECT_GT(q.Precipitacao().K(), 0);
}

TEST(ConsultaChuvaPonto, MainButtonsFedWhatCoreRefusesShowTheBoxAndGoOn) {
    RegionalFixo pt(Regional::PtBR());
    TDialogosRoteiro roteiro;
    TfrmFoConsulta j(kPrograma);
    j.SetIndEstado(24);
    j.SetIndEstacao(-1);
    j.SetIndLocalidade(-1);
    j.Ativar();
    j.show();
    // Nothing typed, "Calcular"; no equation yet, "Fechar"; then a state whose picture is
    // fine and a report of what is shown.
    Ponto(j, QString(), QString());
    Filho<QPushButton>(j, "btnFechar")->click();
    EXPECT_TRUE(j.isVisible());
    EXPECT_EQ(j.result(), 0);
    ASSERT_EQ(roteiro.Mensagens("erro").size(), 2);
    EXPECT_TRUE(roteiro.Mensagens("erro")[0].contains(QString::fromUtf8("inválida"))) << S(roteiro.Mensagens("erro")[0]);
    EXPECT_EQ(roteiro.Mensagens("erro")[1], QString::fromUtf8(kMsgSemEquacao));
    // The window still answers: a good point gives an equation.
    Ponto(j, QString::fromUtf8("22°54'20\""), QString::fromUtf8("47°03'39\""));
    EXPECT_FALSE(Texto(j, "edtK").isEmpty());
    EXPECT_EQ(roteiro.Mensagens("erro").size(), 2);
}

TEST(ConsultaChuvaPonto, F1OpensItsHelpAndAcceleratorsAreUniqueAndLeaveTheMenus) {
    TDialogosRoteiro roteiro;
    TfrmFoConsulta j(kPrograma);
    j.SetIndEstado(24);
    j.Ativar();
    j.show();
    j.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&j));
    ReiniciarAvisoAjuda();
    roteiro.registro.clear();
    QTest::keyClick(&j, Qt::Key_F1);
    ASSERT_EQ(roteiro.registro.size(), 1);
    if (QFileInfo::exists(PaginaAjuda(7)))
        EXPECT_TRUE(roteiro.registro[0].startsWith("dialogo: ")) << S(roteiro.registro[0]);
    else
        EXPECT_EQ(roteiro.registro[0], "erro: Arquivo de ajuda não encontrado\r" + PaginaAjuda(7));

    const auto teclas = Teclas(j);
    EXPECT_GE(teclas.size(), 12u);
    for (auto it = teclas.begin(); it != teclas.end(); ++it) {
        EXPECT_EQ(teclas.count(it->first), 1u) << S(it->second);
        EXPECT_FALSE(QString("PTFCJA").contains(it->first)) << S(it->second);  // the menu bar's
    }
}

TEST(ConsultaChuvaPonto, ConsultaFromTheSizingWindowOpensOnEmptyFieldsAndTypedCoordinates) {
    RegionalFixo pt(Regional::PtBR());
    TDialogosRoteiro roteiro;
    TModeloProjeto m;  // a new project: K, a, b, c empty, Acre on record
    m.Quenda().SetPastaPrograma(kPrograma);
    m.Quenda().SetIndEstado(0);
    TGerenteSis g;
    QPointer<TfrmDimensionamento> w = new TfrmDimensionamento(m, g);
    w->SetJanelaConsulta(FabricaConsultaChuva(w, kPrograma));
    w->show();
    auto* k = Filho<QLineEdit>(*w, "edtK");
    ASSERT_TRUE(k->text().isEmpty());
    auto digitar = [&](const char* nome, const char* texto) {
        QLineEdit* e = Filho<QLineEdit>(*w, nome);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, texto);
        return e;
    };
    auto* lat = digitar("meLatitude", "195500");
    digitar("meLongitude", "435600");
    QString estado, cidade, kJanela;
    roteiro.dialogos = {[&](QDialog& d) {
        estado = Filho<QComboBox>(d, "cbEstados")->currentText();
        cidade = Filho<QLabel>(d, "lblCidade")->text();
        kJanela = Texto(d, "edtK");
        EXPECT_EQ(Texto(d, "edtLatitude"), kLatBH);
        Filho<QPushButton>(d, "btnFechar")->click();
        return d.result();
    }};
    Filho<QPushButton>(*w, "btnConsulta")->click();
    EXPECT_TRUE(roteiro.Mensagens("erro").isEmpty()) << S(roteiro.registro.join("|"));
    EXPECT_EQ(estado, "Minas Gerais");
    EXPECT_EQ(cidade, QString::fromUtf8("Não definida"));
    ASSERT_FALSE(kJanela.isEmpty());
    EXPECT_NEAR(StrToFloat(S(k->text())), StrToFloat(S(kJanela)), 0.06);
    EXPECT_EQ(m.Quenda().IndEstado(), 12);
    EXPECT_EQ(lat->text(), kLatBH);
    delete w.data();
}

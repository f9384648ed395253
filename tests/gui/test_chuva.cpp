// The rainfall consultation window over the shipped database, driven offscreen; every
// message and modal window answered by the scripted dialog service.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/rainfall/Quenda21.h"
#include "gui/rainfall/ConsultaChuva.h"
#include "gui/rainfall/FoConsulta.h"
#include "gui/rainfall/FoRelatQuenda.h"

namespace fs = std::filesystem;

namespace {

const std::string kPrograma = std::string(VANDORO_BIN_DIR) + "/";

template <class W>
W* Filho(QWidget& w, const char* nome) {
    W* r = w.findChild<W*>(nome);
    EXPECT_NE(r, nullptr) << nome;
    return r;
}

int Clicar(QDialog& d, const char* botao) {
    Filho<QPushButton>(d, botao)->click();
    return d.result();
}

TfrmFoConsulta& Janela(QDialog& d) { return dynamic_cast<TfrmFoConsulta&>(d); }

// A component on São Paulo with an equation of its own and no place chosen.
void Projeto(TQuenda21& q, int estado = 24) {
    q.SetPastaPrograma(kPrograma);
    q.SetIndEstado(estado);
    q.SetIndEstacao(-1);
    q.SetIndLocalidade(-1);
    q.SetAutoria("Projeto (1990)");
    q.Precipitacao().SetK(812.5);
    q.Precipitacao().SetA(0.1);
    q.Precipitacao().SetB(10);
    q.Precipitacao().SetC(0.7);
}

void EsperarIgual(const TQuenda21& q) {
    EXPECT_EQ(q.IndEstado(), 24);
    EXPECT_EQ(q.IndEstacao(), -1);
    EXPECT_EQ(q.Autoria(), "Projeto (1990)");
    EXPECT_EQ(q.Latitude(), "");
    EXPECT_DOUBLE_EQ(q.Precipitacao().K(), 812.5);
    EXPECT_DOUBLE_EQ(q.Precipitacao().C(), 0.7);
}

}  // namespace

TEST(ConsultaChuva, AStateIndexIsNeededBeforeAnyWindow) {
    TDialogosRoteiro roteiro;
    TQuenda21 q;
    q.SetPastaPrograma(kPrograma);
    EXPECT_FALSE(ConsultarChuva(nullptr, q));
    EXPECT_EQ(roteiro.registro, QStringList({"erro: É necessário entrar com um índice para o estado"}));
}

TEST(ConsultaChuva, CancelKeepsTheProjectAndFecharWithEmptyBoxesIsRefused) {
    TDialogosRoteiro roteiro;
    TQuenda21 q;
    Projeto(q);
    q.SetShowAbout(true);
    roteiro.dialogos = {[](QDialog& d) {
        // Another station, then cancelled.
        Filho<QListWidget>(d, "lbEstacoes")->setCurrentRow(2);
        EXPECT_NE(Filho<QLineEdit>(d, "edtK")->text(), "812,500");
        return Clicar(d, "btnCancelar");
    }};
    EXPECT_FALSE(ConsultarChuva(nullptr, q));
    EsperarIgual(q);
    ASSERT_EQ(roteiro.registro.size(), 2);
    EXPECT_EQ(roteiro.registro[0], "info: " + QString(kTextoSobreQuenda));
    EXPECT_EQ(roteiro.registro[1], "dialogo: Quenda 2.1 - Estado: São Paulo     ");

    // A point typed outside the state is refused, the project's equation stays on show.
    roteiro.registro.clear();
    roteiro.dialogos = {[](QDialog& d) {
        EXPECT_EQ(Filho<QLineEdit>(d, "edtK")->text(), "812,500");  // the project's equation on show
        Filho<QLineEdit>(d, "edtLatitude")->setText("20°00'00\"");
        Filho<QLineEdit>(d, "edtLongitude")->setText("44°30'00\"");
        Filho<QPushButton>(d, "btnCalcular")->click();
        EXPECT_EQ(Filho<QLineEdit>(d, "edtK")->text(), "812,500");
        return Clicar(d, "btnCancelar");
    }};
    EXPECT_FALSE(ConsultarChuva(nullptr, q));
    EsperarIgual(q);
    EXPECT_EQ(roteiro.Mensagens("erro"),
              QStringList({"O ponto 20°00'00\", 44°30'00\" fica fora de São Paulo (fica em Minas Gerais)."}));

    // No equation yet: empty boxes, and "Fechar" says why and stays open.
    roteiro.registro.clear();
    TQuenda21 nova;
    nova.SetPastaPrograma(kPrograma);
    nova.SetIndEstado(24);
    nova.SetIndEstacao(-1);
    nova.SetIndLocalidade(-1);
    roteiro.dialogos = {[](QDialog& d) {
        EXPECT_EQ(Filho<QLineEdit>(d, "edtK")->text(), "");
        EXPECT_EQ(Clicar(d, "btnFechar"), QDialog::Rejected);
        EXPECT_FALSE(d.isHidden() && d.result() == QDialog::Accepted);
        return Clicar(d, "btnCancelar");
    }};
    EXPECT_FALSE(ConsultarChuva(nullptr, nova));
    EXPECT_EQ(roteiro.Mensagens("erro"), QStringList({kMsgSemEquacao}));
}

TEST(ConsultaChuva, FecharHandsTheChoiceToTheProject) {
    TDialogosRoteiro roteiro;
    TQuenda21 q;
    Projeto(q);
    std::string k, a, cidade, lat, fonte;
    int registro = -1;
    roteiro.dialogos = {[&](QDialog& d) {
        auto* lista = Filho<QListWidget>(d, "lbEstacoes");
        lista->setCurrentRow(3);
        registro = lista->currentItem()->data(Qt::UserRole).toInt();
        cidade = S(lista->currentItem()->text());
        k = S(Filho<QLineEdit>(d, "edtK")->text());
        a = S(Filho<QLineEdit>(d, "edtA")->text());
        lat = S(Filho<QLineEdit>(d, "edtLatitude")->text());
        fonte = S(Filho<QPushButton>(d, "btnAutor")->text());
        // The source's reference window, then "Interpolação" and its text.
        roteiro.dialogos.push_back([](QDialog& autor) { return Clicar(autor, "btnOK"); });
        Filho<QPushButton>(d, "btnAutor")->click();
        Filho<QListWidget>(d, "lbLocalidades")->setCurrentRow(0);
        Filho<QPushButton>(d, "btnAutor")->click();
        lista->setCurrentRow(3);
        return Clicar(d, "btnFechar");
    }};
    ASSERT_TRUE(ConsultarChuva(nullptr, q));
    EXPECT_EQ(roteiro.Mensagens("dialogo").value(1), "Autor");
    EXPECT_EQ(roteiro.Mensagens("info").size(), 1);
    EXPECT_TRUE(roteiro.Mensagens("info").value(0).startsWith("Interpolação realizada utilizando"));
    EXPECT_TRUE(roteiro.Mensagens("info").value(0).contains("Rio Grande do Sul"));
    EXPECT_DOUBLE_EQ(q.Precipitacao().K(), StrToFloat(k));
    EXPECT_DOUBLE_EQ(q.Precipitacao().A(), StrToFloat(a));
    EXPECT_EQ(q.Autoria(), fonte);
    EXPECT_EQ(q.IndEstacao(), registro);
    EXPECT_EQ(q.IndLocalidade(), -1);
    EXPECT_EQ(q.StrCidade(), cidade);
    EXPECT_EQ(q.Latitude(), lat);
    EXPECT_EQ(q.StrEstado(), "São Paulo");

    // Goiás with nothing chosen: the source button still reads "Autor", handed back as empty.
    Projeto(q, 8);
    q.SetIndEstacao(-1);
    roteiro.dialogos = {[](QDialog& d) {
        EXPECT_EQ(Filho<QPushButton>(d, "btnAutor")->text(), "Autor");
        EXPECT_TRUE(Filho<QLineEdit>(d, "edtLatitude")->isEnabled());
        EXPECT_TRUE(Filho<QPushButton>(d, "btnCalcular")->isEnabled());
        return Clicar(d, "btnFechar");
    }};
    ASSERT_TRUE(ConsultarChuva(nullptr, q));
    EXPECT_EQ(q.Autoria(), "");
    EXPECT_EQ(q.IndEstado(), 8);
    EXPECT_DOUBLE_EQ(q.Precipitacao().K(), 812.5);
}

TEST(ConsultaChuva, BrazilMapGoesByColourAndAMissingStateMapIsReported) {
    TDialogosRoteiro roteiro;
    TfrmFoConsulta j(kPrograma);
    j.SetIndEstado(8);
    j.Ativar();
    auto* brasil = Filho<TMapaQuenda>(j, "imgBrasil");
    const TBitmapRGB& b = brasil->Bitmap();
    QPoint sp(-1, -1), mar(-1, -1);
    for (int y = 0; y < b.Altura(); ++y)
        for (int x = 0; x < b.Largura(); ++x) {
            if (sp.x() < 0 && b.Pixel(x, y) == 0x990000) sp = QPoint(x, y);
            // (0, 0) would make QTest click the widget's centre.
            if (mar.x() < 0 && x > 0 && y > 0 && b.Pixel(x, y) == 0xFFFFFF) mar = QPoint(x, y);
        }
    ASSERT_GE(sp.x(), 0);
    ASSERT_GE(mar.x(), 0);
    auto* lista = Filho<QListWidget>(j, "lbEstacoes");
    lista->setCurrentRow(lista->count() - 1);
    QTest::mouseClick(brasil, Qt::LeftButton, {}, mar);
    EXPECT_EQ(j.IndEstado(), 8);
    EXPECT_EQ(lista->currentRow(), 0);  // Goiás again, from its first station
    QTest::mouseClick(brasil, Qt::LeftButton, {}, sp);
    EXPECT_EQ(j.IndEstado(), 24);
    EXPECT_EQ(Filho<QComboBox>(j, "cbEstados")->currentIndex(), 24);
    EXPECT_EQ(j.windowTitle(), "Quenda 2.1 - Estado: São Paulo     ");
    EXPECT_TRUE(roteiro.registro.isEmpty());

    // A copy of the database without SP.bmp.
    PastaTemporaria raiz;
    fs::create_directories(raiz.Arquivo("bin"));
    fs::copy(kPrograma + "../Arquivos Comuns", raiz.Arquivo("Arquivos Comuns"), fs::copy_options::recursive);
    fs::remove(raiz.Arquivo("Arquivos Comuns/Quenda/SP.bmp"));
    TfrmFoConsulta copia(raiz.Arquivo("bin"));
    copia.SetIndEstado(8);
    copia.Ativar();
    Filho<QListWidget>(copia, "lbEstacoes")->setCurrentRow(1);
    const QString cidade = Filho<QLabel>(copia, "lblCidade")->text();
    Filho<QComboBox>(copia, "cbEstados")->setCurrentIndex(24);
    EXPECT_EQ(roteiro.Mensagens("erro"),
              QStringList({"Erro. Não foi possível localizar o arquivo BMP do estado selecinado (São Paulo)."}));
    EXPECT_EQ(Filho<QComboBox>(copia, "cbEstados")->currentIndex(), 8);
    EXPECT_EQ(copia.windowTitle(), "Quenda 2.1 - Estado: Goiás     ");
    EXPECT_EQ(Filho<QLabel>(copia, "lblCidade")->text(), cidade);
}

TEST(ConsultaChuva, SearchKeepsRecordsAndTheTableIsTheStorm) {
    TDialogosRoteiro roteiro;
    TfrmFoConsulta j(kPrograma);
    j.SetIndEstado(24);
    j.Ativar();
    auto* locs = Filho<QListWidget>(j, "lbLocalidades");
    const int todas = locs->count();
    QTest::keyClicks(Filho<QLineEdit>(j, "edtBusca"), "sao jose");
    ASSERT_GT(locs->count(), 0);
    ASSERT_LT(locs->count(), todas);
    locs->setCurrentRow(locs->count() - 1);
    const int registro = locs->currentItem()->data(Qt::UserRole).toInt();
    EXPECT_EQ(j.IndLocalidade(), registro);
    const std::string nome = j.Consulta().Banco().Localities()[static_cast<size_t>(registro)].Name;
    EXPECT_EQ(nome.substr(0, j.StrCidade().size()), j.StrCidade());
    EXPECT_EQ(S(locs->currentItem()->text()), j.StrCidade());
    Filho<QLineEdit>(j, "edtBusca")->clear();
    EXPECT_EQ(locs->count(), todas);
    EXPECT_EQ(locs->currentItem()->data(Qt::UserRole).toInt(), registro);

    auto* tabela = Filho<QTableWidget>(j, "tabIntensidades");
    ASSERT_EQ(tabela->rowCount(), 9);
    ASSERT_EQ(tabela->columnCount(), 6);
    TPrecipitacaoExponencialNegativa chuva;
    chuva.SetK(StrToFloat(j.TextoK()));
    chuva.SetA(StrToFloat(j.TextoA()));
    chuva.SetB(StrToFloat(j.TextoB()));
    chuva.SetC(StrToFloat(j.TextoC()));
    const double tr[] = {2, 5, 10, 25, 50, 100}, t[] = {5, 10, 15, 30, 60, 120, 360, 720, 1440};
    for (int c = 0; c < 6; ++c) {
        chuva.SetTr(tr[c]);
        for (int r = 0; r < 9; ++r) {
            const double i = chuva.K() * std::pow(tr[c], chuva.A()) / std::pow(t[r] + chuva.B(), chuva.C());
            EXPECT_NEAR(tabela->item(r, c)->data(Qt::UserRole).toDouble(), i, 1e-9);
            EXPECT_EQ(S(tabela->item(r, c)->text()), FormatFloat("0.0", i));
        }
    }
    // A point outside the state: said, and the locality's equation stays on show.
    const std::string antes = j.Latitude();
    Filho<QLineEdit>(j, "edtLatitude")->setText("20°00'00\"");
    Filho<QLineEdit>(j, "edtLongitude")->setText("44°30'00\"");
    Filho<QPushButton>(j, "btnCalcular")->click();
    EXPECT_EQ(tabela->rowCount(), 9);
    EXPECT_EQ(j.Latitude(), antes);

    // Half a coordinate typed into the mask: refused, the previous texts stay.
    auto* lat = Filho<QLineEdit>(j, "edtLatitude");
    lat->clear();
    lat->home(false);
    QTest::keyClicks(lat, "22");
    Filho<QPushButton>(j, "btnCalcular")->click();
    EXPECT_EQ(roteiro.Mensagens("erro"),
              QStringList({"O ponto 20°00'00\", 44°30'00\" fica fora de São Paulo (fica em Minas Gerais).",
                           "Latitude 22°  '  \" inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59."}));
    EXPECT_EQ(j.Latitude(), antes);
    EXPECT_EQ(S(lat->text()), antes);
}

TEST(ConsultaChuva, TheExampleProjectsPointAndItsReportWithoutFiles) {
    TDialogosRoteiro roteiro;
    TQuenda21 q;
    q.SetPastaPrograma(kPrograma);
    ASSERT_TRUE(q.Load(kPrograma + "Exemplos/Terraco em nivel.kzp"));
    q.SetIndEstado(24);  // São Paulo, whatever index the example's file was written with
    PastaTemporaria trabalho;
    const QString antes = QDir::currentPath();
    QDir::setCurrent(Q(trabalho.Caminho()));
    roteiro.dialogos = {[&](QDialog& d) {
        TfrmFoConsulta& j = Janela(d);
        const StationRecord r = j.Consulta().Banco().InterpolateEquation("22°54'20\"", "47°03'39\"");
        EXPECT_EQ(j.TextoK(), FormatFloat("###0.000", r.K));
        EXPECT_EQ(j.TextoB(), FormatFloat("#0.000", r.B));
        EXPECT_EQ(S(Filho<QPushButton>(d, "btnAutor")->text()), "Interpolação");
        EXPECT_TRUE(j.Consulta().Mira().Visivel);
        EXPECT_EQ(S(Filho<QLabel>(d, "lblLatitude")->text()), "22°54'20\"");
        EXPECT_TRUE(Filho<QLabel>(d, "lblLongitude")->isVisibleTo(&d));
        roteiro.dialogos.push_back([&](QDialog& rel) {
            auto* html = Filho<QTextBrowser>(rel, "htmlRelatorio");
            const QVariant mapa = html->document()->resource(QTextDocument::ImageResource, QUrl("Bit.bmp"));
            EXPECT_EQ(mapa.value<QImage>().size(), QSize(450, 450));
            EXPECT_TRUE(html->toPlainText().contains("Localidade: Não definida"));
            EXPECT_TRUE(html->toPlainText().contains("K: " + Q(j.TextoK())));
            EXPECT_FALSE(fs::exists(trabalho.Arquivo("Bit.bmp")));
            Filho<QPushButton>(rel, "btnImprimir")->click();
            return Clicar(rel, "btnFechar");
        });
        roteiro.imprimir = false;
        Filho<QPushButton>(d, "btnRelatorio")->click();
        return Clicar(d, "btnFechar");
    }};
    const bool ok = ConsultarChuva(nullptr, q);
    QDir::setCurrent(antes);
    ASSERT_TRUE(ok);
    EXPECT_EQ(roteiro.Mensagens("dialogo").value(1),
              "Relatório - Parâmetros da Equação de Intensidade, Duração e Frequência da Precipitação");
    EXPECT_TRUE(roteiro.registro.contains("imprimir"));
    EXPECT_TRUE(fs::is_empty(trabalho.Caminho()));
    EXPECT_EQ(q.Autoria(), "Interpolação");
    EXPECT_EQ(q.StrCidade(), "Não definida");
    EXPECT_EQ(q.Latitude(), "22°54'20\"");
    EXPECT_EQ(q.Longitude(), "47°03'39\"");
    TBDPrecipitacao bd(PastaBancoChuva(kPrograma));
    bd.LoadStations();
    const StationRecord r = bd.InterpolateEquation("22°54'20\"", "47°03'39\"");
    EXPECT_NEAR(q.Precipitacao().K(), r.K, 5e-4);
    EXPECT_NEAR(q.Precipitacao().C(), r.C, 5e-4);
}

TEST(ConsultaChuva, TheFactoryGivesAFreshWindowEachTime) {
    TDialogosRoteiro roteiro;
    QWidget pai;
    const auto fabrica = FabricaConsultaChuva(&pai, kPrograma);
    QPointer<TfrmFoConsulta> primeira = dynamic_cast<TfrmFoConsulta*>(fabrica());
    ASSERT_TRUE(primeira);
    EXPECT_EQ(primeira->parentWidget(), &pai);
    TQuenda21 q;
    Projeto(q);
    roteiro.dialogos = {[](QDialog& d) { return Clicar(d, "btnCancelar"); }};
    EXPECT_FALSE(q.Execute(*primeira));
    QPointer<TfrmFoConsulta> segunda = dynamic_cast<TfrmFoConsulta*>(fabrica());
    EXPECT_FALSE(primeira);
    ASSERT_TRUE(segunda);
    EXPECT_FALSE(segunda->Consulta().Ativado());
}

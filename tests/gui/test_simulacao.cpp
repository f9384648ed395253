// The simulation page and the basin chart over the shipped examples: the core's sweeps drawn
// and listed, the linked lists, the coefficient, the point hint, the exports.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QGroupBox>
#include <QValueAxis>
#include <cmath>
#include <cstdlib>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/Simulacao.h"
#include "gui/common/Grafico.h"
#include "gui/sizing/FrmDimensionamento.h"
#include "gui/sizing/PaginaSimulacao.h"

namespace {

const QString kBin = QStringLiteral(VANDORO_BIN_DIR);
std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }

struct Simulacao {
    TModeloProjeto m;
    TGerenteSis g;
    TfrmDimensionamento* w;
    explicit Simulacao(const char* exemplo, bool abrir = true) {
        m.AbrirProjetoSemAlterar(Exemplo(exemplo));
        w = new TfrmDimensionamento(m, g);
        w->SetPastaFiguras(kBin);
        w->show();
        w->btnCalcularClick();
        if (abrir) w->BtnSimulaClick();
    }
    ~Simulacao() { delete w; }
    TfrmPaginaSimulacao* P() const { return w->PaginaSimulacao(); }
    QComboBox* L(const char* nome) const { return w->findChild<QComboBox*>(nome); }
    QRadioButton* R(int g, int i) const { return w->findChild<QRadioButton*>(QStringLiteral("rbSimula%1_%2").arg(g).arg(i)); }
    QStringList Linhas(const char* nome) const {
        QStringList r;
        for (int i = 0; i < L(nome)->count(); ++i) r << L(nome)->itemText(i);
        return r;
    }
};

QStringList Q(const std::vector<std::string>& v) {
    QStringList r;
    for (const auto& s : v) r << QString::fromStdString(s);
    return r;
}

}  // namespace

TEST(Simulacao, GradedPageOpensOnQxCompWithTheCoresPointsListsAndAxes) {
    TDialogosRoteiro roteiro;
    Simulacao s("Terraco em gradiente.kzp");
    EXPECT_EQ(s.w->windowTitle(), QStringLiteral("Módulo para o dimensionamento - simulação[*]"));
    // The page fits the window's 660 x 475 inside its margins (the entry page is wider).
    EXPECT_LE(s.P()->minimumSizeHint().width(), 648);
    EXPECT_LE(s.P()->minimumSizeHint().height(), 463);
    EXPECT_EQ(s.P()->Atual().Nome, "Q x Comp");
    EXPECT_TRUE(s.R(0, 0)->isChecked());
    EXPECT_EQ(s.w->findChild<QTabWidget*>("tabSimulacao")->currentIndex(), 0);

    TModeloProjeto outro;
    outro.AbrirProjetoSemAlterar(Exemplo("Terraco em gradiente.kzp"));
    Simulacao calc("Terraco em gradiente.kzp", false);
    const TGraficoSimulacao g = PlotSimulation(calc.m, 0, 0);
    const QList<QPointF> p = s.P()->Grafico()->SerieQt()->points();
    ASSERT_EQ(p.size(), 21);
    for (int k = 0; k < 21; ++k) {
        EXPECT_DOUBLE_EQ(p[k].x(), 50.0 * (k + 1));
        EXPECT_DOUBLE_EQ(p[k].y(), g.Y[size_t(k)]);
    }
    EXPECT_EQ(s.Linhas("SimulaQ"), Q(g.SimulaQ));
    EXPECT_EQ(s.Linhas("SimulaH"), Q(g.SimulaH));
    EXPECT_EQ(s.Linhas("SimulaHr"), Q(g.SimulaHr));
    EXPECT_EQ(s.Linhas("SimulaTudo"), Q(g.SimulaTudo));
    for (const char* l : {"SimulaQ", "SimulaH", "SimulaHr", "SimulaTudo"}) EXPECT_EQ(s.L(l)->currentIndex(), 0) << l;
    const TGrafico* gr = s.P()->Grafico();
    EXPECT_EQ(gr->EixoX()->titleText(), QStringLiteral("Comprimento (m)"));
    EXPECT_EQ(gr->EixoY()->titleText(), QStringLiteral("Vazão (L/s)"));
    for (const QPointF& q : p) {
        EXPECT_TRUE(q.x() >= gr->EixoX()->min() && q.x() <= gr->EixoX()->max());
        EXPECT_TRUE(q.y() >= gr->EixoY()->min() && q.y() <= gr->EixoY()->max());
    }

    // A row chosen in one list is chosen in the other three.
    s.L("SimulaH")->setCurrentIndex(7);
    for (const char* l : {"SimulaQ", "SimulaH", "SimulaHr", "SimulaTudo"}) EXPECT_EQ(s.L(l)->currentIndex(), 7) << l;
}

TEST(Simulacao, SweepsPutTheTerrainBackAndTheCoefficientMovesTheChartToHr) {
    TDialogosRoteiro roteiro;
    Simulacao s("Terraco em gradiente.kzp");
    const double nt = s.m.NumeroDaCurva().nt().Value(), st = s.m.NumeroDaCurva().St(), vib = s.m.NumeroDaCurva().VIB();
    for (int item : {3, 5, 6}) {
        s.R(1, item)->click();
        EXPECT_TRUE(s.R(1, item)->isChecked());
        EXPECT_FALSE(s.R(0, 0)->isChecked());
    }
    EXPECT_EQ(s.P()->Atual().Nome, "H x Tie");
    EXPECT_EQ(s.m.NumeroDaCurva().nt().Value(), nt);
    EXPECT_EQ(s.m.NumeroDaCurva().St(), st);
    EXPECT_EQ(s.m.NumeroDaCurva().VIB(), vib);

    // "OK" during "Q x EH": "Hr x EH" on the "Hr" tab, each Hr row H + 10 with a coefficient of 1.
    s.R(0, 1)->click();
    auto* cdu = s.w->findChild<QLineEdit*>("SimulaCDu");
    cdu->setText("1");
    s.w->findChild<QPushButton*>("CalculaHR")->click();
    EXPECT_EQ(s.P()->Atual().Nome, "Hr x EH");
    EXPECT_TRUE(s.R(2, 1)->isChecked());
    EXPECT_FALSE(s.R(0, 1)->isChecked());
    EXPECT_EQ(s.w->findChild<QTabWidget*>("tabSimulacao")->currentIndex(), 2);
    const QStringList h = s.Linhas("SimulaH"), hr = s.Linhas("SimulaHr");
    ASSERT_EQ(hr.size(), 21);
    for (int i = 0; i < 21; ++i) EXPECT_NEAR(StrToFloat(S(hr[i])), StrToFloat(S(h[i])) + 10.0, 0.051) << i;

    // A key empties the Hr text; a coefficient below 1 becomes 1 when the field is left.
    s.L("SimulaHr")->setCurrentIndex(3);
    cdu->setFocus();
    QTest::keyClick(cdu, Qt::Key_0);
    EXPECT_EQ(s.L("SimulaHr")->currentText(), QString());
    cdu->setText("0,5");
    QFocusEvent saida(QEvent::FocusOut);
    QApplication::sendEvent(cdu, &saida);
    EXPECT_EQ(roteiro.Mensagens("info"), QStringList{QString::fromUtf8(kMensagemCDuMinimo)});
    EXPECT_EQ(cdu->text(), QStringLiteral("1"));

    cdu->setText("1,3");
    s.w->findChild<QPushButton*>("btnVoltarSimula")->click();
    EXPECT_EQ(s.w->windowTitle(), QStringLiteral("Módulo para o dimensionamento - resultados[*]"));
    EXPECT_EQ(s.w->PaginaAtual(), TfrmDimensionamento::ResultadoTerracos);
    EXPECT_EQ(s.w->focusWidget(), s.w->findChild<QLineEdit*>("CoefUni"));
    EXPECT_DOUBLE_EQ(s.m.SistemaAtual().CDu(), 1.3);
    EXPECT_TRUE(s.P()->Grafico()->SerieQt()->points().isEmpty());
}

TEST(Simulacao, LevelPageHidesTheFlowAndDrawsHxTie) {
    TDialogosRoteiro roteiro;
    Simulacao s("Terraco em nivel.kzp");
    EXPECT_EQ(s.P()->Atual().Nome, "H x Tie");
    EXPECT_TRUE(s.R(3, 0)->isChecked());
    EXPECT_TRUE(s.L("SimulaQ")->isHidden());
    EXPECT_TRUE(s.w->findChild<QTabWidget*>("tabSimulacao")->isHidden());
    EXPECT_EQ(s.P()->Grafico()->SerieQt()->count(), 21);
}

TEST(Simulacao, AClickOnAPointShowsItsHintAndMovingClearsIt) {
    TDialogosRoteiro roteiro;
    Simulacao s("Terraco em gradiente.kzp");
    TGrafico* g = s.P()->Grafico();
    QApplication::processEvents();
    const QPoint primeiro = g->PosicaoDe(g->SerieQt()->at(0));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, primeiro + QPoint(2, 1));
    EXPECT_EQ(g->Dica(), QStringLiteral("(50; 49,26)"));
    QMouseEvent mover(QEvent::MouseMove, QPointF(primeiro + QPoint(40, 40)), g->viewport()->mapToGlobal(QPointF(primeiro)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &mover);
    EXPECT_EQ(g->Dica(), QString());
    // A click beside every point shows nothing.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, primeiro + QPoint(30, -60));
    EXPECT_EQ(g->Dica(), QString());
}

TEST(Simulacao, CsvEqualsTheCommandLinesAndTheChartExportsAsPictures) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    Simulacao s("Terraco em gradiente.kzp");
    s.R(1, 2)->click();
    ASSERT_EQ(s.P()->Atual().Nome, "H x nc");
    const std::string janela = pasta.Arquivo("janela.csv"), cli = pasta.Arquivo("cli.csv");
    roteiro.arquivos.push_back(QString::fromStdString(janela));
    s.w->findChild<QPushButton*>("btnExportarCsv")->click();
    setenv("LC_ALL", "pt_BR.UTF-8", 1);
    const ResultadoCli r = RodarCli({"simular", Exemplo("Terraco em gradiente.kzp"), "--grafico", "H x nc", "--csv", cli});
    unsetenv("LC_ALL");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerArquivo(janela), LerArquivo(cli));
    EXPECT_EQ(LerArquivo(janela), s.P()->Csv());

    roteiro.arquivos.push_back(QString::fromStdString(pasta.Arquivo("g.png")));
    s.w->findChild<QPushButton*>("btnSalvarGrafico")->click();
    EXPECT_EQ(QImage(QString::fromStdString(pasta.Arquivo("g.png"))).size(), s.P()->Grafico()->size());
    QApplication::clipboard()->clear();
    s.w->findChild<QPushButton*>("btnCopiarGrafico")->click();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());

    roteiro.arquivos.push_back(QStringLiteral("/proc/nao/pode/g.csv"));
    s.w->findChild<QPushButton*>("btnExportarCsv")->click();
    EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{QStringLiteral("Não foi possível gravar o arquivo /proc/nao/pode/g.csv: pasta inexistente.")});
}

TEST(Simulacao, BasinChartListsItsItemsAndLeavesTheBasinAlone) {
    TDialogosRoteiro roteiro;
    Simulacao s("Bacia de acumulacao.kzp", false);
    auto* lista = s.w->findChild<QListWidget*>("rgSimulaBarraginha");
    const double area = s.m.BaciaAcumulacao().Profundidade();
    ASSERT_EQ(lista->count(), 4);
    EXPECT_EQ(lista->item(0)->text(), QStringLiteral("Volume x área de contribuição"));
    const QList<QPointF> p = s.w->GraficoBacia()->SerieQt()->points();
    ASSERT_EQ(p.size(), 10);
    EXPECT_DOUBLE_EQ(p.front().x(), 1000);
    EXPECT_DOUBLE_EQ(p.back().x(), 10000);
    EXPECT_EQ(s.w->GraficoBacia()->EixoX()->titleText(), QStringLiteral("Área de contribuição (m2)"));
    // The last area is a round number: the axis runs a step past it, so its marker is whole. The
    // column beside the chart is narrow, and the machine's name still shows whole.
    QApplication::processEvents();
    const TGrafico* gb = s.w->GraficoBacia();
    EXPECT_GT(gb->EixoX()->max(), 10000);
    EXPECT_LT(gb->EixoX()->max(), 10500);
    EXPECT_DOUBLE_EQ(gb->EixoX()->tickInterval(), 2000);
    const QPointF fim = gb->chart()->mapToPosition(p.back(), gb->SerieQt());
    EXPECT_LE(fim.x() + gb->SerieQt()->markerSize() / 2, gb->chart()->plotArea().right());
    auto* maquina = s.w->findChild<QGroupBox*>("grpConstrucaoBacia")->findChild<QComboBox*>("cbMaquina");
    ASSERT_FALSE(maquina->currentText().isEmpty());
    EXPECT_GE(maquina->width(), maquina->fontMetrics().horizontalAdvance(maquina->currentText()) + 30)
        << maquina->currentText().toStdString();
    lista->setCurrentRow(3);
    EXPECT_EQ(s.w->GraficoBacia()->SerieQt()->count(), 10);
    EXPECT_EQ(s.w->GraficoBaciaAtual().Nome, "Raio x profundidade");
    EXPECT_EQ(s.m.BaciaAcumulacao().Profundidade(), area);
}

TEST(Simulacao, AFlatOrEmptySeriesStillHasValidAxes) {
    TGrafico g;
    g.resize(400, 300);
    for (double x : {5.0, 10.0, 15.0}) g.Serie().AddXY(x, 0.0);  // no runoff anywhere
    g.Ajustar(QStringLiteral("Tie (mm/h)"), QStringLiteral("LES (mm)"));
    EXPECT_TRUE(std::isfinite(g.EixoY()->min()) && std::isfinite(g.EixoY()->max()));
    EXPECT_LT(g.EixoY()->min(), 0.0 + 1e-12);
    EXPECT_GT(g.EixoY()->max(), 0.0);
    g.Limpar();
    g.Ajustar({}, {});
    EXPECT_LT(g.EixoX()->min(), g.EixoX()->max());
    EXPECT_EQ(g.grab().size(), QSize(400, 300));
}

TEST(Simulacao, AFailedChartShowsTheErrorRestoresTheCursorAndLeavesThePageUsable) {
    TDialogosRoteiro roteiro;
    Simulacao s("Terraco em gradiente.kzp");
    const double vib = s.m.NumeroDaCurva().VIB(), st = s.m.NumeroDaCurva().St();
    s.P()->Escolher(0, 99);  // no such chart: the core refuses it
    EXPECT_EQ(roteiro.Mensagens("erro").size(), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(s.w->isEnabled());
    EXPECT_EQ(s.m.NumeroDaCurva().VIB(), vib);
    EXPECT_EQ(s.m.NumeroDaCurva().St(), st);
    s.R(1, 0)->click();
    EXPECT_EQ(s.P()->Atual().Nome, "H x Comp");
    EXPECT_EQ(s.P()->Grafico()->SerieQt()->count(), 21);
}

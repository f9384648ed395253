// What the located terraces take to build, in the location window: the plan's machine, chosen
// from the settings' list and kept in the project, and the soil, hours and cost of each terrace
// in the results table with the totals and the one note under it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <cmath>

#include "DialogosRoteiro.h"
#include "GradesSinteticas.h"
#include "ModeloLocacao.h"
#include "TestSupport.h"
#include "core/location/ConstrucaoLocacao.h"
#include "core/location/LocNivel.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "gui/location/FrmLocacao.h"

namespace {

// A cone of 80 x 80 one-metre cells sloping 10 %: three terraces at an interval of 1 m.
struct Janela {
    PastaTemporaria pasta;
    std::string elev = pasta.Arquivo("cone.asc"), decl = pasta.Arquivo("cone_decl.asc"),
                saida = pasta.Arquivo("cone.vet");
    TModeloProjeto m;
    TGerenteSis g;
    QPointer<TfrmLocacao> w;
    // The settings' machines: the default (the second) without output; the third at 50 m³/h and
    // R$ 200/h.
    explicit Janela(const std::string& maquina = "") {
        const auto cone = [](double x, double y) {
            const double r = std::hypot(x - 40.5, y - 40.5);
            return r > 38 ? 0.0 : 30 - 0.1 * r;
        };
        GravarAsc(elev, 80, 80, 1.0, cone);
        GravarDeclividade(decl, 80, 80, 1.0, cone);
        PrepararProjetoLocacao(m, 3, 1.0);
        m.LocacaoNivel().SetfnImgElev(elev);
        m.LocacaoNivel().SetfnImgDecli(decl);
        m.LocacaoNivel().SetfnVetSaida(saida);
        TConfigConstrucao& c = m.Configuracao().Construcao;
        c.maquinas[2] = {"Trator de esteiras", 50, 200};
        c.maquina = 1;
        m.SetMaquina(maquina);
        m.SetModulo("Locacao");
        w = new TfrmLocacao(m, g);
        w->SetPastaFiguras(QString::fromUtf8(VANDORO_BIN_DIR));
        w->resize(1366 - 16, 640);  // the frame's child at 1366 x 768
        w->show();
        w->PreencherCampos();
    }
    ~Janela() { delete w.data(); }
    QComboBox* Maquina() const { return w->findChild<QComboBox*>(QStringLiteral("cbMaquina")); }
    QString Total() const { return w->findChild<QLabel*>(QStringLiteral("lblTotal"))->text(); }
    void Processar(TDialogosRoteiro& r) {
        r.respostas.push_back(TResposta::Sim);  // replace the old output, if there is one
        r.dialogos.push_back([](QDialog&) { return int(QDialog::Accepted); });  // the report
        w->btnProcessarClick();
        ASSERT_EQ(w->ErroExecucao(), QString());
        ASSERT_EQ(m.LocacaoNivel().Registros().Count(), 3);
    }
};

QStringList Itens(QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
}

}  // namespace

TEST(FrmLocacaoConstrucao, ThePlansMachineComesFromTheSettingsAndIsSavedInTheProject) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const std::string projeto = pasta.Arquivo("p.kzp");
    {
        Janela j;
        QComboBox* c = j.Maquina();
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(Itens(c), (QStringList{QStringLiteral("Trator agrícola com terraceador de discos"),
                                         QStringLiteral("Motoniveladora"), QStringLiteral("Trator de esteiras")}));
        // A project that names none shows the settings' default.
        EXPECT_EQ(c->currentIndex(), 1);
        j.w->AbrirSecao(QStringLiteral("Plano de terraços"));
        EXPECT_TRUE(c->isVisible());
        c->setCurrentIndex(2);
        emit c->activated(2);
        EXPECT_TRUE(j.g.Alterado());
        j.Processar(roteiro);
        EXPECT_EQ(j.m.Maquina(), "Trator de esteiras");
        // The run reckoned with it: each terrace's hours are its soil over 50 m³/h.
        const TConstrucaoLocacao& k = j.m.LocacaoNivel().Construcao();
        ASSERT_EQ(k.terracos.size(), 3u);
        for (const TObraTerraco& o : k.terracos) {
            EXPECT_NEAR(o.servico.horas, o.volume / 50, 1e-9);
            EXPECT_NEAR(o.servico.custo, 4 * o.volume, 1e-9);
        }
        const QString total = j.Total();
        EXPECT_TRUE(total.contains(QString::fromStdString(ServicoTotalFormatado(k)))) << total.toStdString();
        EXPECT_FALSE(total.contains(QStringLiteral("informe")));
        // Settings changed while the window is open: the list follows, the choice stays.
        j.m.Configuracao().Construcao.maquinas.erase(j.m.Configuracao().Construcao.maquinas.begin());
        j.w->AtualizarConstrucao();
        EXPECT_EQ(c->count(), 2);
        EXPECT_EQ(c->currentText(), QStringLiteral("Trator de esteiras"));
        j.m.EscreverProjeto(projeto);
    }
    // The project keeps the name; its window shows it again.
    Janela k;
    ASSERT_TRUE(k.m.LerProjeto(projeto));
    EXPECT_EQ(k.m.Maquina(), "Trator de esteiras");
    k.w->PreencherCampos();
    EXPECT_EQ(k.Maquina()->currentText(), QStringLiteral("Trator de esteiras"));
    // Left as it is, the default stays unnamed in a project that named none.
    Janela d;
    ASSERT_TRUE(d.w->Coletar());
    EXPECT_EQ(d.m.Maquina(), "");
}

TEST(FrmLocacaoConstrucao, WithoutTheMachinesOutputEachRowShowsADashAndOneNoteSaysWhy) {
    TDialogosRoteiro roteiro;
    Janela j;
    j.Processar(roteiro);
    QTableWidget* t = j.w->Tabela();
    ASSERT_EQ(t->columnCount(), 12);
    EXPECT_EQ(t->horizontalHeaderItem(8)->text(), QStringLiteral("Volume\n(m³)"));
    EXPECT_EQ(t->horizontalHeaderItem(9)->text(), QStringLiteral("Horas\n(h)"));
    EXPECT_EQ(t->horizontalHeaderItem(10)->text(), QStringLiteral("Custo\n(R$)"));
    const TConstrucaoLocacao& k = j.m.LocacaoNivel().Construcao();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(t->item(i, 8)->text(), QString::fromStdString(CelulasConstrucao(k.terracos[size_t(i)])[0]));
        EXPECT_GT(k.terracos[size_t(i)].volume, 0);
        EXPECT_EQ(t->item(i, 9)->text(), QStringLiteral("—"));
        EXPECT_EQ(t->item(i, 10)->text(), QStringLiteral("—"));
    }
    const QString total = j.Total();
    EXPECT_TRUE(total.contains(QStringLiteral("Máquina: Motoniveladora    Horas de máquina: —    Custo: —")))
        << total.toStdString();
    const QString nota = QStringLiteral("Horas e custo (—): informe o rendimento da máquina nas configurações.");
    EXPECT_EQ(total.count(nota), 1);
    // At 1366 pixels every column fits without scrolling, each number whole in its column.
    EXPECT_EQ(t->horizontalScrollBar()->maximum(), 0);
    for (int c = 0; c + 1 < t->columnCount(); ++c)
        for (int i = 0; i < t->rowCount(); ++i)
            EXPECT_LE(t->fontMetrics().horizontalAdvance(t->item(i, c)->text()), t->horizontalHeader()->sectionSize(c))
                << c;
}

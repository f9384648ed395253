// The sizing results' construction box driven on the shipped examples: the settings' machines,
// the figures the core gives, the machine chosen kept in the project, the section's drawing
// following the coefficient, and the report that carries both.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "DialogosRoteiro.h"
#include "Digitacao.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/ConstrucaoDimensionamento.h"
#include "gui/sizing/FrmDimensionamento.h"

namespace {

std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }

struct Janela {
    TModeloProjeto m;
    TGerenteSis g;
    QPointer<TfrmDimensionamento> w;
    explicit Janela(const char* exemplo) {
        m.AbrirProjetoSemAlterar(Exemplo(exemplo));
        TConfigConstrucao& c = m.Configuracao().Construcao;
        c.maquinas[1] = {"Motoniveladora", 50, 200};
        c.maquinas[2] = {"Trator de esteiras", 25, 0, TUnidadeRendimento::Metros};
        w = new TfrmDimensionamento(m, g);
        w->show();
        w->btnCalcularClick();
    }
    ~Janela() { delete w.data(); }
    // The construction boxes of both pages name their fields alike: 'grupo' says which.
    QString T(const char* nome, const char* grupo = "grpConstrucao") const {
        return w->findChild<QWidget*>(grupo)->findChild<QLineEdit*>(nome)->text();
    }
    QComboBox* Maquina(const char* grupo) const {
        return w->findChild<QWidget*>(grupo)->findChild<QComboBox*>("cbMaquina");
    }
    QString Nota(const char* grupo) const {
        return w->findChild<QWidget*>(grupo)->findChild<QLabel*>("lblNotaConstrucao")->text();
    }
};

}  // namespace

TEST(GrupoConstrucao, TheLevelDesignShowsWhatItTakesWithTheMachineChosen) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em nivel.kzp");
    QComboBox* cb = j.Maquina("grpConstrucao");
    ASSERT_EQ(cb->count(), 3);
    EXPECT_EQ(cb->currentText(), "Trator agrícola com terraceador de discos");  // the default
    const TConstrucaoDimensionamento k0 = ConstrucaoDoDimensionamento(j.m, TTipoSistema::Nivel, j.m.Configuracao().Construcao);
    EXPECT_EQ(S(j.T("edtVolume100")), FormatFloat("#,##0.0", k0.volume100));
    EXPECT_EQ(j.T("edtHoras100"), "—");
    EXPECT_EQ(S(j.Nota("grpConstrucao")), "Horas e custo (—): informe o rendimento da máquina nas configurações.");
    EXPECT_FALSE(j.w->isWindowModified());

    // The grader: 50 m³/h at R$ 200/h, by hand from the volume.
    cb->setCurrentIndex(1);
    emit cb->activated(1);
    EXPECT_EQ(j.m.Maquina(), "Motoniveladora");
    EXPECT_TRUE(j.w->isWindowModified());
    EXPECT_EQ(S(j.T("edtHoras100")), FloatToStrFixed(k0.volume100 / 50, 2));
    EXPECT_EQ(S(j.T("edtCusto100")), FormatFloat("#,##0.00", k0.volume100 / 50 * 200));
    EXPECT_EQ(S(j.T("edtCustoHa")), FormatFloat("#,##0.00", k0.volumeHa / 50 * 200));
    EXPECT_TRUE(j.Nota("grpConstrucao").isEmpty());

    // A crawler measured in metres: 100 m at 25 m/h is 4 h whatever the soil; no price.
    cb->setCurrentIndex(2);
    emit cb->activated(2);
    EXPECT_EQ(j.T("edtHoras100"), "4,00");
    EXPECT_EQ(j.T("edtCusto100"), "—");
    EXPECT_EQ(S(j.Nota("grpConstrucao")), "Custo (—): informe o custo horário da máquina nas configurações.");

    // A price entered in the settings reaches the open results.
    j.m.Configuracao().Construcao.maquinas[2].custoHora = 100;
    j.w->AtualizarConstrucao();
    EXPECT_EQ(j.T("edtCusto100"), "400,00");
    EXPECT_TRUE(j.Nota("grpConstrucao").isEmpty());

    // A higher coefficient raises Hr, so the ridge and the soil moved grow, picture and all.
    const QImage antes = j.w->findChild<QLabel*>("imgSecao")->pixmap().toImage();
    const double volume = NumeroDoCampo(S(j.T("edtVolume100")));
    Redigitar(j.w->findChild<QLineEdit*>("CoefUni"), "2,00");
    j.w->findChild<QPushButton*>("BtnCDu")->click();
    EXPECT_GT(NumeroDoCampo(S(j.T("edtVolume100"))), volume);
    EXPECT_NE(j.w->findChild<QLabel*>("imgSecao")->pixmap().toImage(), antes);

    // The report names the machine and carries the drawing it shows.
    QMap<QString, QImage> imagens;
    const QString html = j.w->TextoRelatorio(false, imagens);
    EXPECT_TRUE(html.contains("<B>Máquina: </B>Trator de esteiras"));
    EXPECT_TRUE(html.contains("<IMG SRC=\"secao.png\""));
    ASSERT_TRUE(imagens.contains("secao.png"));
    EXPECT_FALSE(imagens["secao.png"].isNull());
}

TEST(GrupoConstrucao, ABasinIsDugAtItsVolumeAndAMachineInMetresIsRefusedForIt) {
    TDialogosRoteiro roteiro;
    Janela j("Bacia de acumulacao.kzp");
    QComboBox* cb = j.Maquina("grpConstrucaoBacia");
    EXPECT_EQ(j.T("edtVolume100", "grpConstrucaoBacia"), j.T("edtVolumeBarraginha", "pgResultadoBacia"));
    cb->setCurrentIndex(1);
    emit cb->activated(1);
    const double v = NumeroDoCampo(S(j.T("edtVolumeBarraginha", "pgResultadoBacia")));
    EXPECT_NEAR(NumeroDoCampo(S(j.T("edtHoras100", "grpConstrucaoBacia"))), v / 50, 0.006);
    cb->setCurrentIndex(2);
    emit cb->activated(2);
    EXPECT_EQ(j.T("edtHoras100", "grpConstrucaoBacia"), "—");
    EXPECT_TRUE(j.Nota("grpConstrucaoBacia").startsWith("O rendimento desta máquina é em metros de terraço"));
    // The choice is the project's: written and read back.
    PastaTemporaria pasta;
    j.m.EscreverProjeto(pasta.Arquivo("b.kzp"));
    TModeloProjeto lido;
    lido.AbrirProjeto(pasta.Arquivo("b.kzp"));
    EXPECT_EQ(lido.Maquina(), "Trator de esteiras");
}

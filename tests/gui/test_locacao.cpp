// The location window on real files: required fields, images and the output question, the
// file choices, decimal separators, the method panels and dialogs, the report button, the
// fields across a save, and runs behind the progress window (a cone, a cancelled hill, a slope
// raster of another size, the coarse real model).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <filesystem>

#include "DialogosRoteiro.h"
#include "Digitacao.h"
#include "GradesSinteticas.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/location/BDT.h"
#include "core/location/ConstrucaoLocacao.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/location/RelatorioLocacao.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/raster/Declividade.h"
#include "core/raster/Vetor.h"
#include "gui/common/FRelatorio.h"
#include "gui/common/FiguraMapa.h"
#include "gui/common/TrabalhoComProgresso.h"
#include "gui/location/FMetodosLoc.h"
#include "gui/location/FrmLocacao.h"
#include "gui/location/MapaLocacao.h"
#include "render/MapaPlano.h"

namespace {

const Campo kCone = [](double x, double y) {
    const double r = std::hypot(x - 40.5, y - 40.5);
    return r > 38 ? 0.0 : 30 - 0.1 * r;
};

struct Janela {
    TModeloProjeto m;
    TGerenteSis g;
    QPointer<TfrmLocacao> w;
    Janela() {
        w = new TfrmLocacao(m, g);
        w->SetPastaFiguras(QString::fromUtf8(VANDORO_BIN_DIR));
        w->show();
    }
    ~Janela() { delete w.data(); }
    // A storm, soil and channel that size terraces, and a given vertical interval.
    void Modelo(int metodo = 3, double ev = 1.0) {
        auto& p = m.Precipitacao();
        p.SetTr(10);
        p.SetK(1000);
        p.SetA(0.15);
        p.SetB(10);
        p.SetC(0.75);
        TNumeroDaCurva& cn = m.NumeroDaCurva();
        cn.SetVIB(10);
        cn.UsoDoSolo().SetIndex(5);
        cn.Tratamento().SetIndex(3);
        cn.CondicaoHidrologica().SetIndex(1);
        TTerracosNivel& t = m.TerracosNivel();
        t.Espacamento().Metodologia().SetIndex(metodo);
        t.Espacamento().SetEV(ev);
        t.Sm().SetValue(1);
        t.SetCDu(1);
    }
    void Arquivos(const std::string& e, const std::string& d, const std::string& s) {
        m.LocacaoNivel().SetfnImgElev(e);
        m.LocacaoNivel().SetfnImgDecli(d);
        m.LocacaoNivel().SetfnVetSaida(s);
    }
    QLineEdit* E(const char* nome) const { return w->findChild<QLineEdit*>(nome); }
    QPushButton* B(const char* nome) const { return w->findChild<QPushButton*>(nome); }
    QComboBox* C(const char* nome) const { return w->findChild<QComboBox*>(nome); }
    QString Foco() const { return w->focusWidget() ? w->focusWidget()->objectName() : QString(); }
    void Digitar(const char* nome, const QString& texto) const { Redigitar(E(nome), texto); }
    void Metodo(int i) const {
        C("cbMetodo")->setCurrentIndex(i);
        emit C("cbMetodo")->activated(i);
    }
};

// Answers the report window, keeping its text.
std::function<int(QDialog&)> GuardarRelatorio(QString& texto) {
    return [&texto](QDialog& d) {
        if (auto* r = qobject_cast<TFRelatorio*>(&d)) texto = r->Texto();
        return int(QDialog::Accepted);
    };
}

std::function<int(QDialog&)> Clicar(const char* botao, std::function<void(QDialog&)> antes = {}) {
    return [=](QDialog& d) {
        if (antes) antes(d);
        d.findChild<QPushButton*>(botao)->click();
        return d.result();
    };
}

struct Cone {
    PastaTemporaria pasta;
    std::string elev = pasta.Arquivo("cone.asc"), decl = pasta.Arquivo("cone_decl.asc"),
                saida = pasta.Arquivo("cone.vet");
    Cone() {
        GravarAsc(elev, 80, 80, 1.0, kCone);
        GravarDeclividade(decl, 80, 80, 1.0, kCone);
    }
};

}  // namespace

TEST(FrmLocacao, RequiredFieldsInOrderEachWithItsSectionAndFocus) {
    TDialogosRoteiro roteiro;
    Janela j;
    EXPECT_EQ(j.w->windowTitle(), QStringLiteral("Módulo para a Locação[*]"));
    EXPECT_EQ(j.E("edtCoefDesinf")->text(), QStringLiteral("1"));
    EXPECT_EQ(j.C("cbMetodo")->currentText(), QStringLiteral(" Bentley"));
    const struct {
        const char* campo;
        const char* secao;
        const char* mensagem;
        const char* valor;
    } casos[] = {
        {"edtTr", "Precipitação", "Valor do periodo de retorno inconsistente.", "10"},
        {"edtK", "Precipitação", "Valor do parâmetro \"K\" inconsistente.", "1000"},
        {"edt_a", "Precipitação", "Valor do parâmetro \"a\" inconsistente.", "0,15"},
        {"edt_b", "Precipitação", "Valor do parâmetro \"b\" inconsistente.", "10"},
        {"edt_c", "Precipitação", "Valor do parâmetro \"c\" inconsistente.", "0,75"},
        {"edtSm", "Canal", "Valor da inclinação do murundum inconsistente.", "1"},
        {"edtTIE", "Solo", "Valor da taxa de infiltração estável inconsistente.", "10"},
    };
    for (const auto& c : casos) {
        j.w->AbrirSecao(QStringLiteral("Terreno"));
        roteiro.registro.clear();
        j.w->btnProcessarClick();
        EXPECT_EQ(roteiro.registro, QStringList{"erro: " + QString::fromUtf8(c.mensagem)}) << c.campo;
        EXPECT_EQ(j.w->SecaoAberta(), QString::fromUtf8(c.secao)) << c.campo;
        EXPECT_EQ(j.Foco(), QString::fromLatin1(c.campo));
        // A typed 0 is an empty field to the model: the same message.
        j.Digitar(c.campo, QStringLiteral("0"));
        roteiro.registro.clear();
        j.w->btnProcessarClick();
        EXPECT_EQ(roteiro.registro, QStringList{"erro: " + QString::fromUtf8(c.mensagem)}) << c.campo << " 0";
        j.Digitar(c.campo, QString::fromUtf8(c.valor));
    }
    // Then the images: none named, then a missing one.
    roteiro.registro.clear();
    j.w->btnProcessarClick();
    EXPECT_EQ(roteiro.registro, QStringList{"info: Imagem de Elevação inválida"});
    EXPECT_EQ(j.w->SecaoAberta(), QStringLiteral("Terreno"));
    EXPECT_EQ(j.Foco(), QStringLiteral("edtImagemElevacao"));
    Cone cone;
    j.E("edtImagemElevacao")->setText(QString::fromStdString(cone.elev));
    j.E("edtImagemDec")->setText(QString::fromStdString(cone.pasta.Arquivo("nada.asc")));
    j.w->AbrirSecao(QStringLiteral("Solo"));
    roteiro.registro.clear();
    j.w->btnProcessarClick();
    EXPECT_EQ(roteiro.registro, QStringList{"info: Imagem de Declividade inválida"});
    EXPECT_EQ(j.w->SecaoAberta(), QStringLiteral("Terreno"));
    EXPECT_EQ(j.Foco(), QStringLiteral("edtImagemDec"));
    // What was typed reached the model through the collection.
    EXPECT_EQ(j.m.Precipitacao().Tr(), 10);
    EXPECT_EQ(j.m.Precipitacao().A(), 0.15);
    EXPECT_EQ(j.m.NumeroDaCurva().VIB(), 10);
    EXPECT_EQ(j.m.TerracosNivel().Secao().Index(), 1);
    EXPECT_TRUE(j.g.Alterado());
}

TEST(FrmLocacao, AnExistingOutputAnsweredNoIsLeftUntouched) {
    TDialogosRoteiro roteiro;
    Cone cone;
    GravarArquivo(cone.saida, "vetor anterior");
    Janela j;
    j.Modelo();
    j.Arquivos(cone.elev, cone.decl, cone.saida);
    j.w->PreencherCampos();
    roteiro.respostas = {TResposta::Nao};
    j.w->btnProcessarClick();
    EXPECT_EQ(roteiro.registro,
              QStringList{"pergunta: Arquivo de saída já existente. Deseja substituir o arquivo?"});
    EXPECT_EQ(LerArquivo(cone.saida), "vetor anterior");
    EXPECT_FALSE(std::filesystem::exists(TabelaDaSaida(cone.saida)));
    EXPECT_EQ(j.w->SecaoAberta(), QStringLiteral("Terreno"));
    EXPECT_EQ(j.Foco(), QStringLiteral("edtVetorSaida"));
    // An output that would replace an input is refused before anything runs.
    j.E("edtVetorSaida")->setText(QString::fromStdString(cone.pasta.Arquivo("cone.asc")));
    roteiro.registro.clear();
    j.w->btnProcessarClick();
    ASSERT_EQ(roteiro.registro.size(), 1);
    EXPECT_TRUE(roteiro.registro[0].startsWith("erro: ")) << roteiro.registro[0].toStdString();
    EXPECT_EQ(j.Foco(), QStringLiteral("edtVetorSaida"));
}

TEST(FrmLocacao, FileChoicesProposeTheVectorOfTheElevation) {
    TDialogosRoteiro roteiro;
    Janela j;
    roteiro.arquivos = {QStringLiteral("/dados/campo/dem.img"), QStringLiteral("/dados/campo/declive"),
                        QStringLiteral("/dados/saida/linhas")};
    j.B("btnImagemElevacao")->click();
    EXPECT_EQ(j.E("edtImagemElevacao")->text(), QStringLiteral("/dados/campo/dem.img"));
    EXPECT_EQ(j.E("edtVetorSaida")->text(), QStringLiteral("/dados/campo/dem.vet"));
    EXPECT_EQ(j.m.LocacaoNivel().fnVetSaida(), "/dados/campo/dem.vet");
    j.B("btnImagemDec")->click();
    // A name typed without extension takes the dialog's default one.
    EXPECT_EQ(j.E("edtImagemDec")->text(), QStringLiteral("/dados/campo/declive.ras"));
    EXPECT_EQ(j.m.LocacaoNivel().fnImgDecli(), "/dados/campo/declive.ras");
    j.B("btnVetorSaida")->click();
    EXPECT_EQ(j.E("edtVetorSaida")->text(), QStringLiteral("/dados/saida/linhas.vet"));
    EXPECT_EQ(roteiro.registro, (QStringList{"abrir: Abrir imagem de elevação", "abrir: Abrir imagem de declividades",
                                             "salvar: Salvar arquivo vetor"}));
    // Typing a path sets the engine's too; a cancelled choice changes nothing.
    j.g.SetAlterado(false);
    j.Digitar("edtImagemElevacao", QStringLiteral("relevo.asc"));
    EXPECT_EQ(j.m.LocacaoNivel().fnImgElev(), "relevo.asc");
    EXPECT_TRUE(j.g.Alterado());
    j.B("btnImagemElevacao")->click();
    EXPECT_EQ(j.E("edtImagemElevacao")->text(), QStringLiteral("relevo.asc"));
}

TEST(FrmLocacao, DecimalSeparatorOfEachLocale) {
    TDialogosRoteiro roteiro;
    for (const auto& [regional, texto] :
         {std::pair{Regional::PtBR(), QStringLiteral("1,5")}, std::pair{Regional::EnUS(), QStringLiteral("1.5")}}) {
        RegionalFixo fixo(regional);
        Janela j;
        j.Digitar("edtTIE", texto);
        EXPECT_EQ(j.E("edtTIE")->text(), texto);
        // A second separator is refused.
        QTest::keyClicks(j.E("edtTIE"), texto.right(2));
        EXPECT_EQ(j.E("edtTIE")->text(), texto + "5");
        j.Digitar("edtTIE", texto);
        ASSERT_TRUE(j.w->Coletar());
        EXPECT_EQ(j.m.NumeroDaCurva().VIB(), 1.5);
    }
}

TEST(FrmLocacao, MethodChangeShowsItsPanelAndOpensItsDialog) {
    TDialogosRoteiro roteiro;
    Janela j;
    j.w->AbrirSecao(QStringLiteral("Espaçamento"));
    auto* pnlEV = j.w->findChild<QWidget*>("pnlEV");
    auto* pnlMetodo = j.w->findChild<QWidget*>("pnlMetodo");
    auto* lblEV = j.w->findChild<QLabel*>("lblEV");
    j.Metodo(3);
    EXPECT_TRUE(pnlEV->isVisible());
    EXPECT_FALSE(pnlMetodo->isVisible());
    EXPECT_FALSE(j.B("btnDefinir")->isEnabled());
    EXPECT_EQ(lblEV->text(), QStringLiteral("EV:"));
    EXPECT_TRUE(j.E("edtEV")->isVisible());
    EXPECT_EQ(j.Foco(), QStringLiteral("edtEV"));
    j.Metodo(4);
    EXPECT_EQ(lblEV->text(), QStringLiteral("Altura do terraço:"));
    EXPECT_FALSE(j.E("edtEV")->isVisible());
    EXPECT_EQ(j.Foco(), QStringLiteral("edtAlturaTerraco"));
    EXPECT_EQ(j.m.TerracosNivel().Espacamento().Metodologia().Index(), 4);
    EXPECT_TRUE(roteiro.registro.isEmpty());

    // Bentley from the list opens its dialog; OK stores the soil with Bentley's table.
    EXPECT_EQ(TFSoloLoc(TSolo::FamiliaBentley).Escolha(), 1);  // the dialog's own default
    roteiro.dialogos.push_back(Clicar("btnOk", [](QDialog& d) {
        EXPECT_TRUE(static_cast<TFSoloLoc&>(d).Opcao(0)->isChecked());  // the model's soil
        static_cast<TFSoloLoc&>(d).Opcao(2)->setChecked(true);
    }));
    j.Metodo(0);
    EXPECT_EQ(roteiro.registro, QStringList{"dialogo: Método Bentley"});
    EXPECT_TRUE(pnlMetodo->isVisible());
    EXPECT_FALSE(pnlEV->isVisible());
    EXPECT_TRUE(j.B("btnDefinir")->isEnabled());
    const TEspacamento& e = j.m.TerracosNivel().Espacamento();
    EXPECT_EQ(e.Metodologia().Index(), 0);
    EXPECT_EQ(e.Solo().Familia(), TSolo::FamiliaBentley);
    EXPECT_EQ(e.Solo().Index(), 2);
    EXPECT_EQ(e.Solo().Nome(), e.SoloDoMetodo().Nome());

    // Paraná: its own table; closing without OK changes nothing.
    roteiro.dialogos.push_back(Clicar("btnCancelar", [](QDialog& d) {
        static_cast<TFSoloLoc&>(d).Opcao(0)->setChecked(true);
    }));
    j.Metodo(2);
    EXPECT_EQ(e.Solo().Familia(), TSolo::FamiliaParana);
    EXPECT_EQ(e.Solo().Index(), 2);
    roteiro.dialogos.push_back(Clicar("btnOk", [](QDialog& d) {
        auto& p = static_cast<TFSoloLoc&>(d);
        EXPECT_EQ(p.Opcao(1)->text(), QStringLiteral("Terra a&rgilosa"));
        p.Opcao(1)->setChecked(true);
    }));
    j.B("btnDefinir")->click();
    EXPECT_EQ(e.Solo().Index(), 1);
    EXPECT_EQ(e.Solo().Familia(), TSolo::FamiliaParana);

    // Lombardi Neto: each list shows its index; OK stores the three choices.
    roteiro.dialogos.push_back(Clicar("btnOk", [](QDialog& d) {
        auto& l = static_cast<TFLombNetoLoc&>(d);
        l.EscolherCultura(30);
        l.EscolherGrupo(1);
        l.EscolherPreparo(2);
        EXPECT_EQ(l.IndiceU()->text(), QString::fromStdString(FloatToStr(TCultura::Tabela()[30].u)));
        EXPECT_FALSE(l.IndiceK()->text().isEmpty());
        EXPECT_FALSE(l.IndiceM()->text().isEmpty());
    }));
    j.Metodo(1);
    EXPECT_EQ(e.Metodologia().Index(), 1);
    EXPECT_EQ(e.Cultura().Indice(), 30);
    EXPECT_EQ(e.ResistenciaErosao().Indice(), 1);
    EXPECT_EQ(e.PreparoDoSolo().Indice(), 2);
    EXPECT_EQ(e.Solo().Familia(), TSolo::FamiliaBentley);
    EXPECT_TRUE(roteiro.dialogos.empty());
}

TEST(FrmLocacao, TerraceTypeConsultationAndTheArbitraryType) {
    TDialogosRoteiro roteiro;
    Janela j;
    j.w->findChild<QRadioButton*>("rbCriterio1")->click();
    EXPECT_EQ(j.m.TerracosNivel().Selecao().MetodoSelecao(), 1);
    roteiro.dialogos.push_back([](QDialog&) { return int(QDialog::Rejected); });
    j.B("btnConsultaTipoTerraco")->click();
    j.w->findChild<QRadioButton*>("rbCriterio3")->click();
    roteiro.dialogos.push_back(Clicar("btnOk", [](QDialog& d) {
        EXPECT_TRUE(static_cast<TFTipoNenhum&>(d).Opcao(0)->isChecked());
        static_cast<TFTipoNenhum&>(d).Opcao(3)->setChecked(true);
    }));
    j.B("btnConsultaTipoTerraco")->click();
    EXPECT_EQ(roteiro.registro, (QStringList{"dialogo: Tipos de Terraços Recomendados pela Emater/RS",
                                             "dialogo: Tipo de Terraço Arbitrado"}));
    EXPECT_EQ(j.m.TerracosNivel().Selecao().TipoArbitradoIndex(), 3);
    EXPECT_EQ(j.m.TerracosNivel().Selecao().TipoRecomendado(), TSelecaoTipoTerraco::NomeTipoArbitrado(3));
}

TEST(FrmLocacao, FieldsSurviveASaveAndReopen) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const std::string projeto = pasta.Arquivo("loc.kzp");
    {
        Janela j;
        j.m.SetModulo("Locacao");  // as the shell does: the paths are saved for this module
        j.Digitar("edtTr", "25");
        j.Digitar("edtK", "1932,5");
        j.Digitar("edt_a", "0,162");
        j.Digitar("edt_b", "17,3");
        j.Digitar("edt_c", "0,872");
        j.E("meLatitude")->setText(QStringLiteral("22°54'20\""));
        j.E("meLongitude")->setText(QStringLiteral("47°03'39\""));
        j.Digitar("edtSm", "1,25");
        j.Digitar("edtCoefDesinf", "1,3");
        j.Metodo(3);
        j.Digitar("edtEV", "1,75");
        j.w->findChild<QRadioButton*>("rbCriterio2")->click();
        j.Digitar("edtTIE", "22,5");
        j.Digitar("edtImagemElevacao", "dem.asc");
        j.Digitar("edtImagemDec", "dec.asc");
        j.Digitar("edtVetorSaida", "linhas.vet");
        j.w->OnLerCamposDados();
        j.m.EscreverProjeto(projeto);
    }
    Janela k;
    ASSERT_TRUE(k.m.LerProjeto(projeto));
    k.w->PreencherCampos();
    const std::pair<const char*, const char*> esperado[] = {
        {"edtTr", "25,0"},          {"edtK", "1932,5"},          {"edt_a", "0,162"},     {"edt_b", "17,3"},
        {"edt_c", "0,872"},         {"edtSm", "1,25"},           {"edtCoefDesinf", "1,3"}, {"edtEV", "1,75"},
        {"edtTIE", "22,5"},         {"edtImagemElevacao", "dem.asc"}, {"edtImagemDec", "dec.asc"},
        {"edtVetorSaida", "linhas.vet"},
    };
    for (const auto& [nome, texto] : esperado) EXPECT_EQ(k.E(nome)->text(), QString::fromUtf8(texto)) << nome;
    EXPECT_EQ(k.E("meLatitude")->text(), QStringLiteral("22°54'20\""));
    EXPECT_EQ(k.C("cbMetodo")->currentIndex(), 3);
    EXPECT_FALSE(k.E("edtEV")->isHidden());
    EXPECT_TRUE(k.E("edtAlturaTerraco")->isHidden());
    EXPECT_TRUE(k.w->findChild<QRadioButton*>("rbCriterio2")->isChecked());
    EXPECT_EQ(k.w->SecaoAberta(), QStringLiteral("Precipitação"));
    EXPECT_FALSE(k.g.Alterado());
}

TEST(FrmLocacao, ConeRunFillsTheTableTheMapAndTheReport) {
    TDialogosRoteiro roteiro;
    Cone cone;
    Janela j;
    j.Modelo(3, 1.0);
    j.Arquivos(cone.elev, cone.decl, cone.saida);
    j.w->PreencherCampos();
    // Changes that make the last report stale.
    EXPECT_TRUE(j.B("btnRelatorio")->isEnabled());
    j.Digitar("edtTr", "10");
    EXPECT_FALSE(j.B("btnRelatorio")->isEnabled());
    j.B("btnRelatorio")->setEnabled(true);
    j.w->findChild<QRadioButton*>("rbCriterio1")->click();
    EXPECT_FALSE(j.B("btnRelatorio")->isEnabled());
    j.B("btnRelatorio")->setEnabled(true);
    roteiro.dialogos.push_back([](QDialog&) { return int(QDialog::Rejected); });
    j.B("btnConsultaTipoTerraco")->click();
    EXPECT_FALSE(j.B("btnRelatorio")->isEnabled());
    j.B("btnRelatorio")->setEnabled(true);
    j.Metodo(3);
    EXPECT_FALSE(j.B("btnRelatorio")->isEnabled());

    QString relatorio;
    QString titulo, rotulo;
    roteiro.dialogos.push_back(GuardarRelatorio(relatorio));
    j.w->AoIniciarExecucao = [&](TJanelaProgresso& p) {
        titulo = p.windowTitle();
        EXPECT_EQ(p.objectName(), QStringLiteral("TFPercent"));
        EXPECT_EQ(p.windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(p.BotaoCancelar()->text(), QStringLiteral("&Cancelar"));
    };
    roteiro.registro.clear();
    j.w->btnProcessarClick();
    EXPECT_EQ(titulo, QStringLiteral("Aguarde, processando..."));
    EXPECT_EQ(j.w->ErroExecucao(), QString());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const TBDT& b = j.m.LocacaoNivel().Registros();
    ASSERT_EQ(b.Count(), 3);
    QTableWidget* t = j.w->Tabela();
    ASSERT_EQ(t->rowCount(), b.Count());
    ASSERT_EQ(t->columnCount(), 12);
    EXPECT_EQ(t->horizontalHeaderItem(3)->text(), QStringLiteral("Espaçamento\nvertical\n(m)"));
    double total = 0;
    ASSERT_EQ(j.m.LocacaoNivel().Info().size(), size_t(b.Count()));
    ASSERT_EQ(j.m.LocacaoNivel().Construcao().terracos.size(), size_t(b.Count()));
    for (int i = 1; i <= b.Count(); ++i) {
        // The report's cells, then what building it takes, then the type.
        std::vector<std::string> c = CelulasTerraco(*b.Item(i), &j.m.LocacaoNivel().Info()[size_t(i - 1)]);
        const std::vector<std::string> obra = CelulasConstrucao(j.m.LocacaoNivel().Construcao().terracos[size_t(i - 1)]);
        c.insert(c.end() - 1, obra.begin(), obra.end());
        for (int k = 0; k < 12; ++k) EXPECT_EQ(t->item(i - 1, k)->text(), QString::fromStdString(c[size_t(k)]));
        total += b.Item(i)->length;
    }
    // One chain down the cone: the summit's strip, then each line under the one before.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(t->item(i, 0)->text(), QString::number(i + 1));
        EXPECT_EQ(t->item(i, 1)->text(), i == 0 ? QStringLiteral("topo") : QString::number(i));
        // The cone slopes 9 to 10 %: the Emater/RS row for that slope.
        EXPECT_EQ(t->item(i, 11)->text(),
                  QStringLiteral("Dois terraços de base larga e um terraço Tipo murundum (intercalados)")) << i;
    }
    EXPECT_EQ(t->item(0, 3)->text(), QStringLiteral("1,00"));
    // The length first, then the soil the plan moves.
    EXPECT_TRUE(j.w->findChild<QLabel*>("lblTotal")->text().startsWith(
        QStringLiteral("Comprimento total de terraços: ") + QString::fromStdString(ComprimentoTotalFormatado(total)) +
        QStringLiteral("    Volume de solo movimentado: ")));
    // Files of the run, read back.
    TBDT lido;
    ASSERT_TRUE(lido.LoadFromFile(TabelaDaSaida(cone.saida)));
    EXPECT_EQ(lido.Count(), 3);
    TVET vet;
    vet.Load(cone.saida);
    EXPECT_EQ(vet.LineCount(), 3);
    // The report opened by itself, and the button is back.
    EXPECT_TRUE(roteiro.registro.contains(
        QStringLiteral("dialogo: Relatório - Locação de Sistemas de Terraceamento em Nível")));
    EXPECT_TRUE(relatorio.contains(QStringLiteral("<B>Comprimento total de terraços: </B>") +
                                   QString::fromStdString(ComprimentoTotalFormatado(total))));
    EXPECT_TRUE(j.B("btnRelatorio")->isEnabled());
    // Lines over the shaded elevation: one polyline a terrace, vertices on the cone's circles
    // round its top, at map (40, 40) between the four middle cells.
    const TMapaPlano* mapa = j.w->Mapa()->Mapa();
    ASSERT_NE(mapa, nullptr);
    EXPECT_EQ(mapa->Mundo(), QRectF(2, 2, 76, 76));  // the cells with data, within 38 of the top
    ASSERT_EQ(mapa->Plano().linhas.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const TLinhaPlano& l = mapa->Plano().linhas[size_t(i)];
        const double raio = (30 - b.Item(i + 1)->level) / 0.1;
        for (size_t k = 0; k < l.x.size(); ++k) EXPECT_NEAR(std::hypot(l.x[k] - 40, l.y[k] - 40), raio, 1.5);
    }
    EXPECT_EQ(j.w->Abas()->currentIndex(), 1);
    // The button opens it again.
    roteiro.dialogos.push_back(GuardarRelatorio(relatorio));
    j.B("btnRelatorio")->click();
    EXPECT_TRUE(roteiro.dialogos.empty());
}

TEST(FrmLocacao, CancelAtTheSecondTerraceKeepsTheLinesSoFar) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const int n = 1000;
    std::vector<float> s(size_t(n) * n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) s[size_t(r) * n + c] = float(MorroGaussiano::Declividade(r, c) + 0.01);
    GravarFlt(pasta.Arquivo("morro"), n, n, 1, MorroGaussiano::Cotas(n));
    GravarFlt(pasta.Arquivo("morro_decl"), n, n, 1, s);
    Janela j;
    j.Modelo(3, 5.0);
    j.Arquivos(pasta.Arquivo("morro.flt"), pasta.Arquivo("morro_decl.flt"), pasta.Arquivo("morro.vet"));
    j.w->PreencherCampos();
    TLocacaoNivel& loc = j.m.LocacaoNivel();
    int vistoAoCancelar = 0;
    QStringList rotulos;
    j.w->AoIniciarExecucao = [&](TJanelaProgresso& p) {
        auto* t = new QTimer(&p);
        // The engine's count itself, not the label's: the label follows it a tick late, and a
        // small field is all placed by then.
        const auto* progresso = dynamic_cast<const TProgressoCompartilhado*>(loc.Progresso());
        ASSERT_NE(progresso, nullptr);
        QObject::connect(t, &QTimer::timeout, &p, [&, progresso] {
            rotulos << p.Rotulo()->text();
            const int locadas = progresso->Estado().contagem;
            if (locadas >= 2 && !vistoAoCancelar) {
                vistoAoCancelar = locadas;
                p.BotaoCancelar()->click();
            }
        });
        t->start(1);
    };
    QString relatorio;
    roteiro.dialogos.push_back(GuardarRelatorio(relatorio));
    j.w->btnProcessarClick();
    ASSERT_GE(vistoAoCancelar, 2);
    const int locados = loc.Registros().Count();
    EXPECT_GE(locados, 2);
    // The label shows the engine's status, with the line count after two spaces once there is one.
    const QRegularExpression contagem(QStringLiteral("^Número de terraços locados: (  [1-9][0-9]*)?$"));
    ASSERT_FALSE(rotulos.isEmpty());
    for (const QString& r : rotulos)
        EXPECT_TRUE(r.startsWith(QStringLiteral("Carregando ")) || contagem.match(r).hasMatch()) << r.toStdString();
    TVET vet;
    vet.Load(pasta.Arquivo("morro.vet"));
    EXPECT_EQ(vet.LineCount(), locados);
    TBDT lido;
    ASSERT_TRUE(lido.LoadFromFile(pasta.Arquivo("morro.bdt")));
    EXPECT_EQ(lido.Count(), locados);
    EXPECT_EQ(j.w->Tabela()->rowCount(), locados);
    // A full run of the same field places more lines.
    TNumeroDaCurva cn;
    cn.Assign(j.m.NumeroDaCurva());
    TTerracosNivel t;
    t.Assign(j.m.TerracosNivel());
    TLocacaoNivel inteira;
    ProcessarLocacao(inteira, pasta.Arquivo("morro.flt"), pasta.Arquivo("morro_decl.flt"), j.m.Precipitacao(), cn, t,
                      pasta.Arquivo("inteira.vet"));
    EXPECT_LT(locados, inteira.Registros().Count());
}

TEST(FrmLocacao, SlopeRasterOfAnotherSizeIsReportedAndNothingHangs) {
    TDialogosRoteiro roteiro;
    Cone cone;
    GravarDeclividade(cone.decl, 70, 80, 1.0, kCone);
    Janela j;
    j.Modelo();
    j.Arquivos(cone.elev, cone.decl, cone.saida);
    j.w->PreencherCampos();
    j.w->btnProcessarClick();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(roteiro.registro, QStringList{QStringLiteral("erro: As imagens de elevação e de declividade não têm o "
                                                           "mesmo número de linhas e colunas.")});
    EXPECT_FALSE(std::filesystem::exists(cone.saida));
    EXPECT_FALSE(j.B("btnRelatorio")->isEnabled());
    EXPECT_EQ(j.w->Tabela()->rowCount(), 0);
}

TEST(FrmLocacao, CoarseRealModelShowsTheResolutionWarning) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const std::string elev = pasta.Arquivo("hugo_site.asc"), decl = pasta.Arquivo("hugo_decl.flt");
    GravarArquivo(elev, LerArquivo(std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/hugo_site.asc"));
    TDecliTipoSingle().Compute(elev, decl, "Declividade");
    Janela j;
    j.Modelo(0);
    j.Arquivos(elev, decl, pasta.Arquivo("hugo.vet"));
    j.w->PreencherCampos();
    QString relatorio;
    roteiro.dialogos.push_back(GuardarRelatorio(relatorio));
    j.w->btnProcessarClick();
    const std::string aviso = j.m.LocacaoNivel().AvisoResolucao();
    ASSERT_FALSE(aviso.empty());
    EXPECT_TRUE(roteiro.Mensagens("info").contains(QString::fromStdString(aviso)));
    EXPECT_TRUE(j.w->findChild<QLabel*>("lblNotas")->text().contains(QString::fromStdString(aviso)));
    EXPECT_GT(j.w->Tabela()->rowCount(), 0);
    EXPECT_TRUE(j.w->Mapa()->TemFaixas() || j.m.LocacaoNivel().MapaFaixas().terraco.empty());
}

TEST(FrmLocacao, SectionsStackUnderTheirButtonsAndThePictureLinksOpenThem) {
    TDialogosRoteiro roteiro;
    Janela j;
    const char* const botoes[] = {"btnPrecipitacao", "btnCanal", "btnEspacamento", "btnTipoTerraco", "btnSolo",
                                  "btnTerreno"};
    j.w->AbrirSecao(QStringLiteral("Canal"));
    auto* painel = j.w->findChild<QWidget*>("gbCanal");
    ASSERT_TRUE(painel->isVisible());
    for (int i = 0; i < 6; ++i) {
        const int esperado = 10 + 40 * i + (i > 1 ? painel->height() + 10 : 0);
        EXPECT_EQ(j.B(botoes[i])->y(), esperado) << botoes[i];
    }
    EXPECT_EQ(painel->y(), 50 + 40);
    EXPECT_FALSE(j.w->findChild<QWidget*>("gbPrecipitacao")->isVisible());
    // Picture colours (RGB): sections, the program, and the arrow-only terrain.
    TFiguraMapa* f = j.w->Figura();
    int lancou = 0;
    j.w->Lancador = [&] { ++lancou; };
    const std::pair<QRgb, const char*> cores[] = {{0x800000, "Espaçamento"}, {0x808000, "Solo"},
                                                  {0x008080, "Tipo de Terraço"}, {0x00FFFF, "Canal"},
                                                  {0xFFFFFF, "Precipitação"}, {0x00FF00, "Terreno"}};
    for (const auto& [cor, secao] : cores) {
        const auto s = f->Significado(cor);
        EXPECT_TRUE(s.Acao || s.Clique) << std::hex << cor;
        f->Executar(cor);
        EXPECT_EQ(j.w->SecaoAberta(), QString::fromUtf8(secao));
    }
    EXPECT_FALSE(f->Significado(0x00FF00).Acao);
    EXPECT_TRUE(f->Significado(0x00FF00).Normal);
    EXPECT_TRUE(f->Significado(0xC0C0C0).Normal);
    EXPECT_TRUE(f->Significado(0xFFFF00).Acao);
    f->Executar(0x0000FF);
    EXPECT_EQ(lancou, 1);
    // The picture drawn for the window carries those colours in its map.
    ASSERT_FALSE(f->Mapa().isNull());
    QSet<QRgb> vistas;
    for (int y = 0; y < f->Mapa().height(); ++y)
        for (int x = 0; x < f->Mapa().width(); ++x) vistas.insert(f->Mapa().pixel(x, y) & 0xFFFFFF);
    for (QRgb c : {0x800000u, 0x808000u, 0x008080u, 0x00FFFFu, 0xFFFFFFu, 0x00FF00u, 0x0000FFu})
        EXPECT_TRUE(vistas.contains(c)) << std::hex << c;
}

TEST(FrmLocacao, ShippedExampleOpensFilledAndGivesTheCommandLinesTable) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    CopiarExemploLocacao(pasta);
    const std::string projeto = pasta.Arquivo("Locacao em nivel.kzp");
    Janela j;
    j.m.AbrirProjetoSemAlterar(projeto);
    j.g.SetPathProjeto(projeto);
    EXPECT_EQ(j.m.Modulo(), "Locacao");
    j.w->PreencherCampos();
    EXPECT_EQ(j.E("edtImagemElevacao")->text(), QStringLiteral("hugo_site_2m.flt"));
    EXPECT_EQ(j.E("edtTr")->text(), QStringLiteral("10,0"));
    EXPECT_EQ(j.C("cbMetodo")->currentIndex(), 0);
    QString relatorio;
    roteiro.dialogos.push_back(GuardarRelatorio(relatorio));
    j.w->btnProcessarClick();
    EXPECT_EQ(j.w->ErroExecucao(), QString());
    // The relative paths were read from the project's folder.
    EXPECT_TRUE(std::filesystem::exists(pasta.Arquivo("hugo_site_2m.bdt")));
    // The command line's run: the same project, its files, the same core call.
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(projeto);
    TArquivosLocacao pedidos;
    pedidos.saida = pasta.Arquivo("cli.vet");
    const TArquivosLocacao a = ArquivosDaLocacao(m.LocacaoNivel(), projeto, pedidos);
    PrepararConstrucao(m, j.m.Configuracao().Construcao);
    const TResultadoLocacao r = Locar(m.LocacaoNivel(), a, m.Precipitacao(), m.NumeroDaCurva(), m.TerracosNivel());
    ASSERT_GT(r.terracos.size(), 10u);
    ASSERT_EQ(j.w->Tabela()->rowCount(), int(r.terracos.size()));
    for (int i = 0; i < int(r.terracos.size()); ++i) {
        const std::vector<std::string> c = CelulasResultadoLocacao(r, size_t(i), nullptr);
        ASSERT_EQ(c.size(), 12u);
        for (int k = 0; k < 12; ++k) EXPECT_EQ(j.w->Tabela()->item(i, k)->text(), QString::fromStdString(c[size_t(k)]));
    }
    EXPECT_TRUE(relatorio.contains(QString::fromStdString(ComprimentoTotalFormatado(r.comprimentoTotal))));
    // At 2 m cells the spacing spans several cells: no coarse-model warning.
    EXPECT_TRUE(roteiro.Mensagens("info").isEmpty());
}

TEST(FrmLocacao, TheShippedGradedExampleLaysItsChannelsFromTheWaterwayAsTheCommandLineDoes) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const std::string exemplos = std::string(VANDORO_BIN_DIR) + "/Exemplos/";
    for (const char* f : {"Locacao com gradiente.kzp", "hugo_site_2m.flt", "hugo_site_2m.hdr",
                          "hugo_site_2m_declividade.flt", "hugo_site_2m_declividade.hdr", "hugo_site_2m_escoadouro.vet"})
        std::filesystem::copy_file(exemplos + f, pasta.Arquivo(f));
    const std::string projeto = pasta.Arquivo("Locacao com gradiente.kzp");
    Janela j;
    j.m.AbrirProjetoSemAlterar(projeto);
    j.g.SetPathProjeto(projeto);
    j.w->PreencherCampos();
    EXPECT_EQ(j.C("cbSistema")->currentIndex(), 1);
    EXPECT_EQ(j.E("edtEscoadouro")->text(), QStringLiteral("hugo_site_2m_escoadouro.vet"));
    EXPECT_EQ(j.E("edtRugCanal")->text(), QStringLiteral("0,035"));
    EXPECT_EQ(j.E("edtRugTerreno")->text(), QStringLiteral("0,1"));
    EXPECT_FALSE(j.E("edtDecCanal")->text().isEmpty());
    j.w->AbrirSecao(QStringLiteral("Canal"));
    EXPECT_TRUE(j.E("edtDecCanal")->isVisible());
    j.w->AbrirSecao(QStringLiteral("Plano de terraços"));
    EXPECT_TRUE(j.E("edtComprimentoMaximo")->isVisible());
    EXPECT_EQ(j.E("edtComprimentoMaximo")->text(), QStringLiteral("1500"));

    // Without its waterways a graded run does not start.
    j.Digitar("edtEscoadouro", QString());
    j.w->btnProcessarClick();
    ASSERT_EQ(roteiro.Mensagens("info").size(), 1);
    EXPECT_TRUE(roteiro.Mensagens("info")[0].startsWith(QStringLiteral("Canais escoadouros inválidos")));
    EXPECT_EQ(j.Foco(), QStringLiteral("edtEscoadouro"));
    EXPECT_FALSE(std::filesystem::exists(pasta.Arquivo("hugo_site_2m_gradiente.bdt")));
    j.Digitar("edtEscoadouro", QStringLiteral("hugo_site_2m_escoadouro.vet"));

    QString relatorio;
    roteiro.dialogos.push_back(GuardarRelatorio(relatorio));
    j.w->btnProcessarClick();
    EXPECT_EQ(j.w->ErroExecucao(), QString());
    // The command line's run: the same project and files, the same core call.
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(projeto);
    TArquivosLocacao pedidos;
    pedidos.saida = pasta.Arquivo("cli.vet");
    const TArquivosLocacao a = ArquivosDaLocacao(m.LocacaoNivel(), projeto, pedidos);
    PrepararConstrucao(m, j.m.Configuracao().Construcao);
    const TResultadoLocacao r = LocarComGradiente(m.LocacaoNivel(), a, pasta.Arquivo("hugo_site_2m_escoadouro.vet"),
                                                  m.Precipitacao(), m.NumeroDaCurva(), m.TerracosGradiente());
    ASSERT_GT(r.terracos.size(), 5u);
    ASSERT_EQ(j.w->Tabela()->rowCount(), int(r.terracos.size()));
    ASSERT_EQ(j.w->Tabela()->columnCount(), int(ColunasTabelaCanais().size()) + 3);
    for (int i = 0; i < int(r.terracos.size()); ++i) {
        const std::vector<std::string> c =
            CelulasResultadoLocacao(r, size_t(i), &m.LocacaoNivel().Canais()[size_t(i)]);
        ASSERT_EQ(int(c.size()), j.w->Tabela()->columnCount());
        for (int k = 0; k < int(c.size()); ++k)
            EXPECT_EQ(j.w->Tabela()->item(i, k)->text(), QString::fromStdString(c[size_t(k)]));
    }
    EXPECT_TRUE(relatorio.contains(QString::fromUtf8(kTituloRelatorioLocacaoGradiente)));
    EXPECT_TRUE(roteiro.registro.contains(
        QStringLiteral("dialogo: ") + Q(LegendaJanelaRelatorio(kTituloRelatorioLocacaoGradiente))));
    EXPECT_TRUE(relatorio.contains(QStringLiteral("Vazão recebida pelo escoadouro 1")));
    const QString total = j.w->findChild<QLabel*>(QStringLiteral("lblTotal"))->text();
    EXPECT_TRUE(total.contains(QStringLiteral("escoadouro 1")));
    // The soil the plan moves and the machine's line, as the command line's total.
    EXPECT_TRUE(total.contains(QString::fromStdString(VolumeTotalFormatado(r.construcao.volumeTotal))))
        << total.toStdString();
    EXPECT_TRUE(total.contains(QString::fromStdString(ServicoTotalFormatado(r.construcao)))) << total.toStdString();

    // Level terraces show the level system's fields and hide the channel's; back again, the
    // graded ones are as they were.
    const QString sc = j.E("edtDecCanal")->text();
    j.C("cbSistema")->setCurrentIndex(0);
    emit j.C("cbSistema")->activated(0);
    EXPECT_EQ(j.m.TipoSistema().Tipo(), TTipoSistema::Nivel);
    EXPECT_FALSE(j.E("edtDecCanal")->isVisible());
    EXPECT_FALSE(j.E("edtComprimentoMaximo")->isVisible());
    j.w->AbrirSecao(QStringLiteral("Terreno"));
    EXPECT_FALSE(j.E("edtEscoadouro")->isVisible());
    for (QLabel* l : j.w->findChildren<QLabel*>())
        EXPECT_FALSE(l->isVisible() && l->text() == QStringLiteral("Canais escoadouros"));
    EXPECT_EQ(j.E("edtDecCanal")->text(), QString());
    j.C("cbSistema")->setCurrentIndex(1);
    emit j.C("cbSistema")->activated(1);
    EXPECT_EQ(j.m.TipoSistema().Tipo(), TTipoSistema::Gradiente);
    EXPECT_EQ(j.E("edtDecCanal")->text(), sc);
    EXPECT_EQ(j.m.LocacaoNivel().fnEscoadouro(), "hugo_site_2m_escoadouro.vet");
}

TEST(FrmLocacao, ABoundaryThatIsNoFileIsRefusedAndTheLinesGoToAGisFile) {
    TDialogosRoteiro roteiro;
    Cone cone;
    Janela j;
    j.Modelo(3, 1.0);
    j.Arquivos(cone.elev, cone.decl, cone.saida);
    j.w->PreencherCampos();
    EXPECT_FALSE(j.B("btnExportarSig")->isEnabled());
    j.E("edtLimite")->setText(QString::fromStdString(cone.pasta.Arquivo("talhao.kml")));
    j.w->btnProcessarClick();
    EXPECT_EQ(roteiro.registro.last(), QStringLiteral("info: Limite do talhão inválido"));
    EXPECT_EQ(j.Foco(), QStringLiteral("edtLimite"));
    EXPECT_EQ(j.m.LocacaoNivel().Registros().Count(), 0);

    j.E("edtLimite")->clear();
    roteiro.dialogos.push_back([](QDialog&) { return int(QDialog::Accepted); });  // the report
    j.w->btnProcessarClick();
    ASSERT_EQ(j.m.LocacaoNivel().Registros().Count(), 3);
    ASSERT_TRUE(j.B("btnExportarSig")->isEnabled());
    const QString sig = QString::fromStdString(cone.pasta.Arquivo("terracos.geojson"));
    roteiro.arquivos.push_back(sig);
    roteiro.registro.clear();
    j.B("btnExportarSig")->click();
    ASSERT_FALSE(roteiro.Mensagens("info").isEmpty()) << roteiro.registro.join("|").toStdString();
    EXPECT_TRUE(roteiro.Mensagens("info").last().startsWith(QStringLiteral("3 linhas gravadas em ") + sig));
    QFile f(sig);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()).count(QStringLiteral("\"Feature\"")), 3);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(cone.pasta.Arquivo("terracos.csv"))));
}

TEST(FrmLocacao, ThePlanFieldsAreCheckedSavedAndCapTheRun) {
    TDialogosRoteiro roteiro;
    Cone cone;
    PastaTemporaria pasta;
    const std::string projeto = pasta.Arquivo("plano.kzp");
    {
        Janela j;
        // A new window proposes the defaults: no maximum, 50 m, 15 m, 5 cm.
        EXPECT_EQ(j.E("edtMaxTerracos")->text(), QString());
        EXPECT_EQ(j.E("edtComprimentoMinimo")->text(), QStringLiteral("50"));
        EXPECT_EQ(j.E("edtRaioMinimo")->text(), QStringLiteral("15"));
        EXPECT_EQ(j.E("edtTolerancia")->text(), QStringLiteral("5"));
        j.m.SetModulo("Locacao");
        j.Modelo(3, 1.0);
        j.Arquivos(cone.elev, cone.decl, cone.saida);
        j.w->PreencherCampos();
        // A tolerance of 0 is refused on its own field, in its own section, before any run.
        j.Digitar("edtTolerancia", "0");
        roteiro.registro.clear();
        j.w->btnProcessarClick();
        EXPECT_EQ(roteiro.registro,
                  QStringList{"erro: Tolerância de nível inválida: use um valor maior que 0 e até 100 cm."});
        EXPECT_EQ(j.w->SecaoAberta(), QStringLiteral("Plano de terraços"));
        EXPECT_EQ(j.Foco(), QStringLiteral("edtTolerancia"));
        EXPECT_FALSE(std::filesystem::exists(cone.saida));
        // A maximum of two stops the cone's run there, and the window says so.
        j.Digitar("edtTolerancia", "4");
        j.Digitar("edtMaxTerracos", "2");
        j.Digitar("edtRaioMinimo", "10");
        QString relatorio;
        roteiro.dialogos.push_back(GuardarRelatorio(relatorio));
        j.w->btnProcessarClick();
        EXPECT_EQ(j.w->ErroExecucao(), QString());
        EXPECT_EQ(j.m.LocacaoNivel().Registros().Count(), 2);
        const QString nota = QString::fromStdString(TextoLimiteTerracos(2));
        EXPECT_TRUE(j.w->findChild<QLabel*>("lblNotas")->text().contains(nota));
        EXPECT_TRUE(relatorio.contains(nota));
        EXPECT_TRUE(relatorio.contains(QStringLiteral("Tolerância de nível: </B>4 cm")));
        j.m.EscreverProjeto(projeto);
    }
    Janela k;
    ASSERT_TRUE(k.m.LerProjeto(projeto));
    k.w->PreencherCampos();
    EXPECT_EQ(k.E("edtMaxTerracos")->text(), QStringLiteral("2"));
    EXPECT_EQ(k.E("edtRaioMinimo")->text(), QStringLiteral("10"));
    EXPECT_EQ(k.E("edtTolerancia")->text(), QStringLiteral("4"));
    EXPECT_EQ(k.E("edtComprimentoMinimo")->text(), QStringLiteral("50"));
}

TEST(FrmLocacao, AModelInWholeMetresAsksBeforeTheRunAndNoKeepsEverything) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const Campo cone = [](double x, double y) { return 40 - 0.05 * std::hypot(x - 40.5, y - 40.5); };
    const std::string elev = pasta.Arquivo("e.asc"), decl = pasta.Arquivo("d.asc"), saida = pasta.Arquivo("t.vet");
    GravarAsc(elev, 80, 80, 1.0, [&](double x, double y) { return std::round(cone(x, y)); });
    GravarDeclividade(decl, 80, 80, 1.0, cone);
    Janela j;
    j.Modelo(3, 2.0);
    j.Arquivos(elev, decl, saida);
    j.w->PreencherCampos();
    // The grids are read in a progress window of their own, before the question.
    QStringList janelas;
    j.w->AoIniciarLeitura = [&](TJanelaProgresso& p) {
        EXPECT_EQ(p.windowTitle(), QStringLiteral("Aguarde, processando..."));
        EXPECT_EQ(p.windowModality(), Qt::ApplicationModal);
        janelas << QStringLiteral("leitura: ") + p.Rotulo()->text();
    };
    j.w->AoIniciarExecucao = [&](TJanelaProgresso&) { janelas << QStringLiteral("execução"); };
    roteiro.respostas.push_back(TResposta::Nao);
    roteiro.registro.clear();
    j.w->btnProcessarClick();
    EXPECT_EQ(janelas, QStringList{QStringLiteral("leitura: Carregando imagens")});
    ASSERT_EQ(roteiro.registro.size(), 1);
    EXPECT_EQ(roteiro.registro[0],
              QStringLiteral("pergunta: O modelo de elevação tem valores em degraus de 1,00 m, mais que um terço do "
                             "espaçamento vertical entre terraços (2,00 m): as curvas de nível seguirão os degraus, "
                             "não o terreno. Suavize o modelo com o Filtro ou use um levantamento mais fino.\n\n"
                             "Locar assim mesmo?"));
    EXPECT_FALSE(std::filesystem::exists(saida));
    // Insisting runs it.
    roteiro.respostas.push_back(TResposta::Sim);
    QString relatorio;
    roteiro.dialogos.push_back(GuardarRelatorio(relatorio));
    j.w->btnProcessarClick();
    EXPECT_EQ(j.w->ErroExecucao(), QString());
    EXPECT_EQ(janelas, (QStringList{QStringLiteral("leitura: Carregando imagens"),
                                    QStringLiteral("leitura: Carregando imagens"), QStringLiteral("execução")}));
    EXPECT_TRUE(std::filesystem::exists(saida));
}

// The sizing window driven through real cases: the shipped examples loaded, computed and
// shown; the required-field order; the entry rules; "Definir" through each method dialog;
// the project flag and the units.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "DialogosRoteiro.h"
#include "Digitacao.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/model/BaciaAcumulacao.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/rainfall/Quenda21.h"
#include "core/sizing/EntradaDimensionamento.h"
#include "gui/common/FiguraMapa.h"
#include "gui/sizing/FCapacidadeArmazenamento.h"
#include "gui/sizing/FLombNetoDim.h"
#include "gui/sizing/FrmDimensionamento.h"

namespace {

std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }

struct Janela {
    TModeloProjeto m;
    TGerenteSis g;
    QPointer<TfrmDimensionamento> w;
    explicit Janela(const char* exemplo = nullptr) {
        if (exemplo) m.AbrirProjetoSemAlterar(Exemplo(exemplo));
        w = new TfrmDimensionamento(m, g);
        w->show();
    }
    ~Janela() { delete w.data(); }
    QLineEdit* E(const char* nome) const { return w->findChild<QLineEdit*>(nome); }
    QComboBox* C(const char* nome) const { return w->findChild<QComboBox*>(nome); }
    void Clicar(const char* botao) const { w->findChild<QPushButton*>(botao)->click(); }
    QString Foco() const { return w->focusWidget() ? w->focusWidget()->objectName() : QString(); }
    void Digitar(const char* nome, const QString& texto) const { Redigitar(E(nome), texto); }
};

QString Ultima(const TDialogosRoteiro& r) { return r.registro.isEmpty() ? QString() : r.registro.last(); }

// Closes a scripted dialog with its "&Ok" (or "&Cancelar") and returns its result.
std::function<int(QDialog&)> Fechar(const char* botao, std::function<void(QDialog&)> antes = {}) {
    return [=](QDialog& d) {
        if (antes) antes(d);
        d.findChild<QPushButton*>(botao)->click();
        return d.result();
    };
}

}  // namespace

TEST(FrmDimensionamento, TheThreeExamplesShowTheCoresResults) {
    TDialogosRoteiro roteiro;
    struct Caso {
        const char* exemplo;
        std::vector<std::pair<const char*, QString>> esperado;
    };
    const Caso casos[] = {
        {"Terraco em nivel.kzp", {{"LQ", "39,3"}, {"HR", "50,6"}}},
        {"Terraco em gradiente.kzp", {{"LQ", "310,10"}, {"edtResultEH", "25,00"}, {"HUni", "33,5"}, {"HR", "43,5"}}},
        {"Bacia de acumulacao.kzp", {{"edtRaioCompBarraginha", "13,8"}, {"edtVolumeBarraginha", "224,9"}}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.exemplo);
        Janela j(c.exemplo);
        // The fields are the core's LoadInputs of the same project.
        TModeloProjeto outro;
        outro.AbrirProjetoSemAlterar(Exemplo(c.exemplo));
        const TCamposDimensionamento f = LoadInputs(outro);
        const TCamposDimensionamento w = j.w->Campos();
        EXPECT_EQ(w.cbSistema, f.cbSistema);
        EXPECT_EQ(w.edtTr, f.edtTr);
        EXPECT_EQ(w.edtSm, f.edtSm);
        EXPECT_EQ(w.edtDecCanal, f.edtDecCanal);
        EXPECT_EQ(w.edtHorizontal, f.edtHorizontal);
        EXPECT_EQ(w.edtAreaContribuicao, f.edtAreaContribuicao);
        EXPECT_EQ(w.edtTIE, f.edtTIE);
        EXPECT_EQ(j.w->GrupoAberto(), "Precipitação");
        EXPECT_EQ(j.w->windowTitle(), "Módulo para o dimensionamento - entrada de dados[*]");
        EXPECT_FALSE(j.g.Alterado());

        j.Clicar("btnCalcular");
        EXPECT_TRUE(roteiro.registro.isEmpty()) << roteiro.registro.join("|").toStdString();
        EXPECT_EQ(j.w->windowTitle(), "Módulo para o dimensionamento - resultados[*]");
        for (const auto& [campo, valor] : c.esperado) EXPECT_EQ(j.E(campo)->text(), valor) << campo;
        // Every line of a second, independent sizing is on the page.
        const auto linhas = LinhasResultado(Dimensionar(outro));
        if (f.cbSistema == 2) {
            EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::ResultadoBacia);
            EXPECT_EQ(j.E("edtLESBarraginha")->text(), Q(linhas[linhas.size() - 2].Valor));
            EXPECT_EQ(j.w->findChild<QListWidget*>("rgSimulaBarraginha")->count(), f.cbFormatoBarraginha == 1 ? 4 : 5);
            continue;
        }
        EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::ResultadoTerracos);
        const char* campos[] = {"LQ", "edtResultEV", "edtResultEH", "HUni", "CoefUni", "HR"};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(j.E(campos[i])->text(), Q(linhas[i].Valor)) << campos[i];
        EXPECT_EQ(j.w->findChild<QLabel*>("lblLQ")->text(), Q(linhas[0].Rotulo));
        EXPECT_EQ(j.Foco(), "CoefUni");
        // CDu 1: Hr = H + 10 cm.
        j.E("CoefUni")->setText("1");
        j.Clicar("BtnCDu");
        EXPECT_EQ(j.E("HR")->text(), Q(FormatFloat("0.0", j.w->Resultado().H * 100 + 10)));
        // Back to the entry page.
        j.Clicar("btnVoltar");
        EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::Entrada);
        EXPECT_DOUBLE_EQ(j.m.SistemaAtual().CDu(), 1);
    }
}

TEST(FrmDimensionamento, EmptyFieldsAreNamedOneAtATimeWithTheirGroupOpenAndFocused) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em gradiente.kzp");
    const std::vector<std::pair<const char*, const char*>> ordem = {
        {"edtTr", "Precipitação"}, {"edtK", "Precipitação"},   {"edt_a", "Precipitação"},
        {"edt_b", "Precipitação"}, {"edt_c", "Precipitação"},  {"edtTIE", "Solo"},
        {"edtSm", "Canal"},        {"edtSt", "Canal"},         {"edtRugTerreno", "Terreno"},
        {"edtDecCanal", "Canal"},  {"edtCompCanal", "Canal"},  {"edtRugCanal", "Canal"},
        {"edtDecTerreno", "Terreno"}, {"edtVertical", "Espaçamento"}, {"edtHorizontal", "Espaçamento"}};
    for (auto it = ordem.rbegin(); it != ordem.rend(); ++it) {
        j.E(it->first)->clear();
        j.Clicar("btnCalcular");
        EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::Entrada);
        EXPECT_EQ(j.w->GrupoAberto(), it->second) << it->first;
        EXPECT_EQ(j.Foco(), it->first);
        EXPECT_TRUE(Ultima(roteiro).startsWith("erro: Valor ")) << Ultima(roteiro).toStdString();
    }
    EXPECT_EQ(Ultima(roteiro), "erro: Valor do periodo de retorno inconsistente.");
}

TEST(FrmDimensionamento, SemicircularBasinsNeverAskForM1AndM2) {
    TDialogosRoteiro roteiro;
    Janela j("Bacia de acumulacao.kzp");
    j.C("cbFormatoBarraginha")->setCurrentIndex(1);
    emit j.C("cbFormatoBarraginha")->activated(1);
    EXPECT_TRUE(j.E("edtM1")->isHidden());
    j.E("edtM1")->clear();
    j.E("edtM2")->clear();
    j.Clicar("btnCalcular");
    EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::ResultadoBacia);
    EXPECT_EQ(j.w->findChild<QLabel*>("lblRaioComp")->text(), "Raio:");
    j.Clicar("btnVoltarBacia");
    j.E("edtProfundidade")->clear();
    j.Clicar("btnCalcular");
    EXPECT_EQ(Ultima(roteiro), "erro: Valor da profundidade da barraginha inconsistente.");
    EXPECT_EQ(j.w->GrupoAberto(), "Barraginha");
    EXPECT_EQ(j.Foco(), "edtProfundidade");
}

TEST(FrmDimensionamento, AFieldThatIsOnlyASeparatorStoresNothingAndKeepsTheWindowOpen) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em nivel.kzp");
    const double tr = j.m.Precipitacao().Tr();
    j.E("edtTr")->setText("99");
    j.E("edtSm")->setText(",");
    j.Clicar("btnCalcular");
    EXPECT_EQ(Ultima(roteiro), "erro: ',' não é um valor numérico válido.");
    EXPECT_EQ(j.Foco(), "edtSm");
    EXPECT_EQ(j.w->GrupoAberto(), "Canal");
    EXPECT_DOUBLE_EQ(j.m.Precipitacao().Tr(), tr);  // all or none
    EXPECT_FALSE(j.w->close());
    EXPECT_FALSE(j.w.isNull());
    // A partly typed coordinate is refused the same way.
    j.E("edtSm")->setText("0,5");
    j.E("meLatitude")->setText("22°5");
    j.Clicar("btnCalcular");
    EXPECT_TRUE(Ultima(roteiro).startsWith("erro: A latitude ")) << Ultima(roteiro).toStdString();
    EXPECT_EQ(j.Foco(), "meLatitude");
}

TEST(FrmDimensionamento, EntryRulesOfSpacingSlopeLengthAndCoefficient) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em nivel.kzp");
    QComboBox* metodo = j.C("cbMetodo");
    EXPECT_EQ(metodo->count(), 5);
    ASSERT_FALSE(j.E("edtHorizontal")->text().isEmpty());
    // A slope typed empties both spacing fields and mirrors into St.
    j.Digitar("edtDecTerreno", "0.1");
    EXPECT_EQ(j.E("edtDecTerreno")->text(), "0,1");
    EXPECT_EQ(j.E("edtSt")->text(), "0,1");
    EXPECT_TRUE(j.E("edtHorizontal")->text().isEmpty());
    EXPECT_TRUE(j.E("edtVertical")->text().isEmpty());
    EXPECT_TRUE(j.g.Alterado());
    EXPECT_TRUE(j.w->isWindowModified());
    // Letters, signs and a second separator never reach a number field.
    j.Digitar("edtSt", "-1a.2,3");
    EXPECT_EQ(j.E("edtSt")->text(), "1,23");
    EXPECT_EQ(j.E("edtDecTerreno")->text(), "1,23");
    // Arbitrary spacing: EH is typed and EV follows, also when the slope changes.
    metodo->setCurrentIndex(3);
    emit metodo->activated(3);
    EXPECT_FALSE(j.E("edtHorizontal")->isReadOnly());
    j.Digitar("edtDecTerreno", "0,08");
    j.Digitar("edtHorizontal", "25");
    EXPECT_EQ(j.E("edtVertical")->text(), "2,0");
    j.Digitar("edtDecTerreno", "0,1");
    EXPECT_EQ(j.E("edtHorizontal")->text(), "25");
    EXPECT_EQ(j.E("edtVertical")->text(), "2,5");
    // Graded: four methods; the storage method chosen before goes back to Bentley.
    metodo->setCurrentIndex(4);
    emit metodo->activated(4);
    j.C("cbSistema")->setCurrentIndex(1);
    emit j.C("cbSistema")->activated(1);
    EXPECT_EQ(metodo->count(), 4);
    EXPECT_EQ(metodo->currentIndex(), 0);
    EXPECT_TRUE(j.E("edtHorizontal")->isReadOnly());
    j.C("cbSistema")->setCurrentIndex(0);
    emit j.C("cbSistema")->activated(0);
    EXPECT_EQ(metodo->count(), 5);
    EXPECT_EQ(metodo->itemText(4), "Capacidade de armazenamento");
    // Channel length above 1500 m.
    j.C("cbSistema")->setCurrentIndex(1);
    emit j.C("cbSistema")->activated(1);
    j.E("edtCompCanal")->setText("1600");
    QFocusEvent saida(QEvent::FocusOut);
    QCoreApplication::sendEvent(j.E("edtCompCanal"), &saida);
    EXPECT_EQ(Ultima(roteiro), "info:  O comprimento máximo permitido para o canal é de 1500 metros. ");
    EXPECT_EQ(j.E("edtCompCanal")->text(), "1500");
}

TEST(FrmDimensionamento, CalculateByKeyboardCorrectsTheLengthFirstAndCoefficientBelowOneBecomesOne) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em gradiente.kzp");
    j.E("edtCompCanal")->setText("1600");
    j.w->btnCalcularClick();
    ASSERT_EQ(roteiro.registro.size(), 1);
    EXPECT_EQ(j.m.TerracosGradiente().Comprimento(), 1500);
    EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::ResultadoTerracos);
    j.Digitar("CoefUni", "0.5");
    EXPECT_TRUE(j.E("HR")->text().isEmpty());  // an accepted key empties Hr
    QFocusEvent saida(QEvent::FocusOut);
    QCoreApplication::sendEvent(j.E("CoefUni"), &saida);
    EXPECT_EQ(Ultima(roteiro), "info: O valor do coeficiente de desuniformidade não pode ser inferior a 1.");
    EXPECT_EQ(j.E("CoefUni")->text(), "1");
}

TEST(FrmDimensionamento, DefinirWithBentleyParanaAndTheirLimits) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em nivel.kzp");
    TEspacamento antes;
    antes.Assign(j.m.TerracosNivel().Espacamento());
    j.E("edtDecTerreno")->setText("0,12");
    j.C("cbMetodo")->setCurrentIndex(0);
    emit j.C("cbMetodo")->activated(0);
    j.g.SetAlterado(false);
    // Cancel: the caller's spacing as it was, the flag set all the same.
    roteiro.dialogos.push_back(Fechar("btnCancelar"));
    j.Clicar("btnDefinir");
    EXPECT_EQ(Ultima(roteiro), "dialogo: Método Bentley");
    EXPECT_DOUBLE_EQ(j.m.TerracosNivel().Espacamento().EH(), antes.EH());
    EXPECT_TRUE(j.g.Alterado());
    // OK with "Solos argilosos" at 12 %: the core's spacing, shown at once on opening.
    TEspacamento e;
    e.Solo().SetFamilia(TSolo::FamiliaBentley);
    e.Solo().SetIndex(0);
    e.Metodologia().SetIndex(TMetodologiaEspacamento::Bentley);
    e.ComputeSpacing(0.12);
    QString evDialogo;
    roteiro.dialogos.push_back(Fechar("btnOk", [&](QDialog& d) {
        d.findChild<QRadioButton*>("rbSolo0")->click();
        EXPECT_EQ(d.findChild<QSpinBox*>("seDeclividade")->value(), 12);
        evDialogo = d.findChild<QLineEdit*>("edtEspVertical")->text();
    }));
    j.Clicar("btnDefinir");
    EXPECT_EQ(evDialogo, Q(FormatFloat("0.0##", e.EV())));
    EXPECT_EQ(j.E("edtHorizontal")->text(), Q(FormatFloat("0.0#", e.EH())));
    EXPECT_EQ(j.E("edtVertical")->text(), Q(FormatFloat("0.0##", e.EV())));
    EXPECT_DOUBLE_EQ(j.m.TerracosNivel().Espacamento().EH(), e.EH());
    EXPECT_EQ(j.E("edtSt")->text(), "0,12");

    // In "%": 25 refuses Paraná with its message and opens no dialog; Bentley warns, then opens.
    j.m.Configuracao().UDecli = "%";
    j.m.Configuracao().KDecli = 100;
    j.w->AtualizarUnidades();
    j.E("edtDecTerreno")->setText("25");
    j.C("cbMetodo")->setCurrentIndex(2);
    emit j.C("cbMetodo")->activated(2);
    const qsizetype n = roteiro.registro.size();
    j.Clicar("btnDefinir");
    EXPECT_EQ(roteiro.registro.mid(n), QStringList{"info: Para o método de Paraná, a declividade máxima permitida é de 20 %"});
    j.C("cbMetodo")->setCurrentIndex(0);
    emit j.C("cbMetodo")->activated(0);
    roteiro.dialogos.push_back(Fechar("btnCancelar"));
    j.Clicar("btnDefinir");
    EXPECT_EQ(roteiro.registro.mid(n + 1), QStringList({"info: Para o metódo de Bentley, a declividade máxima recomendada é de 20 %",
                                                        "dialogo: Método Bentley"}));
}

TEST(FrmDimensionamento, LombardiNetoRefusesGroupCOnLevelTerracesAndWarnsOnceBySlope) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em nivel.kzp");
    j.E("edtDecTerreno")->setText("0,15");
    j.C("cbMetodo")->setCurrentIndex(1);
    emit j.C("cbMetodo")->activated(1);
    QStringList vistos;
    roteiro.dialogos.push_back(Fechar("btnOk", [&](QDialog& d) {
        auto& l = static_cast<TFLombNetoDim&>(d);
        const qsizetype n = roteiro.registro.size();
        l.EscolherGrupo(2);
        EXPECT_EQ(l.Grupo()->currentIndex(), 0);
        // The slope warning of the chosen group comes first, then the refusal.
        EXPECT_EQ(roteiro.registro.mid(n).join("\n").toStdString(),
                  QStringList({"info: Para o método de Lombardi Neto, a declividade máxima recomendada para o tipo de "
                               "solo C (baixa resistência à erosão) é de 0,12 m/m",
                               "info: Conforme recomendação de Lombardi Neto, no solo do tipo C não deve ser implantado o "
                              "sistema de terraceamento em nível. Neste caso, deve ser utilizado  o terraceamento com "
                               "gradiente."})
                      .join("\n")
                      .toStdString());
        const qsizetype m = roteiro.registro.size();
        l.EscolherGrupo(0);  // 15 % on group A: within its 16 %
        EXPECT_EQ(roteiro.registro.size(), m);
        l.EscolherGrupo(1);  // group B: above its 14 %, said once
        vistos = roteiro.registro.mid(m);
        l.EscolherCultura(16);  // "Frutíferas de ciclo curto"
        EXPECT_EQ(d.findChild<QLineEdit*>("edtIndiceU")->text(), "1,25");
    }));
    j.Clicar("btnDefinir");
    EXPECT_EQ(vistos, QStringList{"info: Para o método de Lombardi Neto, a declividade máxima recomendada para o tipo de "
                                  "solo B (moderada resistência à erosão) é de 0,14 m/m"});
    // OK wrote the working spacing into both shared systems.
    EXPECT_EQ(j.m.TerracosGradiente().Espacamento().ResistenciaErosao().Indice(), 1);
    EXPECT_DOUBLE_EQ(j.m.TerracosGradiente().Espacamento().EH(), j.m.TerracosNivel().Espacamento().EH());
    EXPECT_FALSE(j.E("edtHorizontal")->text().isEmpty());
}

TEST(FrmDimensionamento, StorageCapacityReopensOnTheCapacityTab) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em nivel.kzp");
    j.C("cbMetodo")->setCurrentIndex(4);
    emit j.C("cbMetodo")->activated(4);
    j.m.TerracosNivel().Espacamento().SetUsarCapArmaz(false);
    int aba = -1;
    roteiro.dialogos.push_back(Fechar("btnOk", [&](QDialog& d) {
        auto& c = static_cast<TFCapacidadeArmazenamento&>(d);
        aba = c.Abas()->currentIndex();
        c.CampoCapacidade()->setText("1,5");
        emit c.CampoCapacidade()->textEdited("1,5");
    }));
    j.Clicar("btnDefinir");
    EXPECT_EQ(aba, 0);
    const double les = j.m.NumeroDaCurva().RunoffDepth(j.m.Precipitacao());
    EXPECT_NEAR(j.m.TerracosNivel().Espacamento().EH(), 1000 * 1.5 / les, 1e-9);
    roteiro.dialogos.push_back(Fechar("btnCancelar", [&](QDialog& d) {
        aba = static_cast<TFCapacidadeArmazenamento&>(d).Abas()->currentIndex();
    }));
    j.Clicar("btnDefinir");
    EXPECT_EQ(aba, 1);
}

TEST(FrmDimensionamento, EditsSetTheFlagLoadAndUnitsDoNotAndCloseStores) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    Janela j("Terraco em nivel.kzp");
    EXPECT_FALSE(j.g.Alterado());
    // m/m -> %: 0.08 shows as 8.0; empty fields stay empty; no edit is counted.
    j.E("edtTIE")->clear();
    j.m.Configuracao().UDecli = "%";
    j.m.Configuracao().KDecli = 100;
    j.w->AtualizarUnidades();
    EXPECT_EQ(j.E("edtDecTerreno")->text(), "8,0");
    EXPECT_EQ(j.E("edtSt")->text(), "8,0");
    EXPECT_EQ(j.w->findChild<QLabel*>("lblUnDecTerreno")->text(), "%");
    EXPECT_TRUE(j.E("edtTIE")->text().isEmpty());
    EXPECT_FALSE(j.g.Alterado());
    // A typed value survives a save and a reopen.
    j.Digitar("edtTr", "7");
    EXPECT_TRUE(j.g.Alterado());
    j.E("edtTIE")->setText("10");
    j.w->OnLerCamposDados();
    const std::string arquivo = pasta.Arquivo("p.kzp");
    j.m.EscreverProjeto(arquivo);
    TModeloProjeto outro;
    outro.AbrirProjeto(arquivo);
    EXPECT_DOUBLE_EQ(outro.Precipitacao().Tr(), 7);
    // Reloading clears the window's marker, never the project's flag: only a save does.
    j.w->LoadInputs();
    EXPECT_TRUE(j.g.Alterado());
    EXPECT_FALSE(j.w->isWindowModified());
    // Closing stores the fields and the window goes away.
    j.Digitar("edtTr", "9");
    EXPECT_TRUE(j.w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(j.w.isNull());
    EXPECT_DOUBLE_EQ(j.m.Precipitacao().Tr(), 9);
}

TEST(FrmDimensionamento, ColourMapsOpenTheirGroupsAndOnlyTheLeftButtonActs) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    // A map of vertical stripes, one per colour, behind a plain figure of the same size.
    const QRgb cores[] = {0x800000, 0x808000, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFFFFFF, 0xFFFF00, 0xC0C0C0};
    QImage mapa(80, 20, QImage::Format_RGB32);
    for (int x = 0; x < 80; ++x)
        for (int y = 0; y < 20; ++y) mapa.setPixel(x, y, 0xFF000000 | cores[x / 10]);
    QImage figura(80, 20, QImage::Format_RGB32);
    figura.fill(Qt::lightGray);
    for (const char* n : {"terraco", "canal", "bacia"}) ASSERT_TRUE(figura.save(Q(pasta.Arquivo(std::string(n) + ".bmp"))));
    for (const char* n : {"terraco_mapa", "bacia_mapa"}) ASSERT_TRUE(mapa.save(Q(pasta.Arquivo(std::string(n) + ".bmp"))));
    Janela j("Terraco em gradiente.kzp");
    int lancado = 0;
    j.w->Lancador = [&] { ++lancado; };
    j.w->SetPastaFiguras(Q(pasta.Caminho()));
    TFiguraMapa* f = j.w->Figura();
    f->resize(400, 100);  // drawn five times larger: clicks map back to the stripes
    auto clicar = [&](int faixa, Qt::MouseButton b = Qt::LeftButton) {
        const QRect a = f->AreaDaFigura();
        QTest::mouseClick(f, b, {}, QPoint(a.x() + (faixa * 10 + 5) * a.width() / 80, a.y() + a.height() / 2));
    };
    clicar(0);
    EXPECT_EQ(j.w->GrupoAberto(), "Espaçamento");
    clicar(1, Qt::RightButton);
    EXPECT_EQ(j.w->GrupoAberto(), "Espaçamento");
    clicar(1);
    EXPECT_EQ(j.w->GrupoAberto(), "Solo");
    clicar(2);
    EXPECT_EQ(j.w->GrupoAberto(), "Terreno");
    clicar(4);
    EXPECT_EQ(j.w->GrupoAberto(), "Canal");
    clicar(5);
    EXPECT_EQ(j.w->GrupoAberto(), "Precipitação");
    clicar(3);
    EXPECT_EQ(lancado, 1);
    // Hand cursor only where a colour acts.
    auto cursor = [&](int faixa) {
        const QRect a = f->AreaDaFigura();
        QTest::mouseMove(f, QPoint(a.x() + (faixa * 10 + 5) * a.width() / 80, a.y() + a.height() / 2));
        QMouseEvent m(QEvent::MouseMove, QPointF(a.x() + (faixa * 10 + 5) * a.width() / 80.0, a.y() + a.height() / 2.0),
                      QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f, &m);
        return f->cursor().shape();
    };
    EXPECT_EQ(cursor(0), Qt::PointingHandCursor);
    EXPECT_EQ(cursor(6), Qt::ArrowCursor);
    // Basins: only Solo, Barraginha and Precipitação act.
    j.C("cbSistema")->setCurrentIndex(2);
    emit j.C("cbSistema")->activated(2);
    clicar(4);
    EXPECT_EQ(j.w->GrupoAberto(), "Barraginha");
    clicar(0);
    clicar(3);
    EXPECT_EQ(j.w->GrupoAberto(), "Barraginha");
    EXPECT_EQ(lancado, 1);
    EXPECT_EQ(cursor(4), Qt::PointingHandCursor);
    EXPECT_EQ(cursor(6), Qt::PointingHandCursor);  // yellow leaves the cursor as it was
}

namespace {

// The consultation window as the user leaves it: a place picked, "&Fechar" pressed.
struct ConsultaEscolhida : IJanelaConsulta {
    double kRecebido = 0;
    std::string latitudeRecebida;
    bool fechar = true;
    void SetHelpContext(int) override {}
    void SetIndEstado(int) override {}
    void SetIndEstacao(int) override {}
    void SetIndLocalidade(int) override {}
    void SetShowAbout(bool) override {}
    void SetK(double v) override { kRecebido = v; }
    void SetA(double) override {}
    void SetB(double) override {}
    void SetC(double) override {}
    void SetLatitude(const std::string& t) override { latitudeRecebida = t; }
    void SetLongitude(const std::string&) override {}
    void SetTextosParametros(const std::string&, const std::string&, const std::string&, const std::string&) override {}
    bool ExecutarModal() override { return fechar; }
    int IndEstado() const override { return 24; }
    std::string StrEstado() const override { return "SP"; }
    std::string TextoK() const override { return "2345,678"; }
    std::string TextoA() const override { return "0,1590"; }
    std::string TextoB() const override { return "15,000"; }
    std::string TextoC() const override { return "0,9360"; }
    std::string Autoria() const override { return "Autor"; }
    std::string Latitude() const override { return "22°54'00\""; }
    std::string Longitude() const override { return "47°03'00\""; }
    int IndEstacao() const override { return 3; }
    int IndLocalidade() const override { return -1; }
    std::string StrCidade() const override { return "Campinas"; }
};

}  // namespace

TEST(FrmDimensionamento, ConsultaTakesTheEquationAndPlaceBackAndLeavesTrAlone) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em nivel.kzp");
    j.m.Quenda().SetPastaPrograma(std::string(VANDORO_BIN_DIR) + "/");
    ConsultaEscolhida consulta;
    j.w->SetJanelaConsulta([&] { return &consulta; });
    const QString tr = j.E("edtTr")->text();
    // A K typed in the window reaches the consultation before it opens.
    j.Digitar("edtK", "1000");
    j.Digitar("meLatitude", "210000");
    j.g.SetAlterado(false);
    j.Clicar("btnConsulta");
    EXPECT_DOUBLE_EQ(consulta.kRecebido, 1000);
    EXPECT_EQ(consulta.latitudeRecebida, "21°00'00\"");
    EXPECT_EQ(j.E("edtK")->text(), "2345,678");
    EXPECT_EQ(j.E("edt_a")->text(), "0,159");
    EXPECT_EQ(j.E("edt_b")->text(), "15,0");
    EXPECT_EQ(j.E("edt_c")->text(), "0,936");
    EXPECT_EQ(j.E("meLatitude")->text(), "22°54'00\"");
    EXPECT_EQ(j.E("meLongitude")->text(), "47°03'00\"");
    EXPECT_EQ(j.E("edtTr")->text(), tr);
    EXPECT_TRUE(j.g.Alterado());
    // Closed without "&Fechar": nothing comes back.
    consulta.fechar = false;
    j.Digitar("edtK", "1000");
    j.Clicar("btnConsulta");
    EXPECT_EQ(j.E("edtK")->text(), "1000");
    EXPECT_TRUE(roteiro.registro.isEmpty()) << roteiro.registro.join("|").toStdString();
}

TEST(FrmDimensionamento, WallSlopesThatShowAsZeroAreNamedBeforeTheModelFails) {
    TDialogosRoteiro roteiro;
    Janela j("Bacia de acumulacao.kzp");
    j.m.BaciaAcumulacao().SetFormato(TBaciaAcumulacao::Retangular);
    j.m.BaciaAcumulacao().Setm1(0.0000001);
    j.m.BaciaAcumulacao().Setm2(0.0000001);
    j.w->LoadInputs();
    j.Clicar("btnCalcular");
    // The field shows "0,00": the value sized would be 0, which the basin cannot take.
    EXPECT_EQ(Ultima(roteiro), "erro: O valor do parâmetro \"m1\" da barraginha deve ser maior que zero.");
    EXPECT_TRUE(roteiro.detalhes.isEmpty());
    EXPECT_EQ(j.w->findChild<QWidget*>("paginas")->property("currentIndex").toInt(), 0);
}

// The sizing window when the input is wrong or the model fails: every button ends in the
// error box naming the field and the window goes on; the result page, the simulation and
// the report agree on the recommended height; the land cover group; F1 and the keys.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QChart>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include "DialogosRoteiro.h"
#include "Digitacao.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/model/NumeroDaCurva.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/project/Relatorio.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Dialogos.h"
#include "gui/common/FRelatorio.h"
#include "gui/common/Grafico.h"
#include "gui/common/GrupoCobertura.h"
#include "gui/sizing/FBentleyDim.h"
#include "gui/sizing/FCapacidadeArmazenamento.h"
#include "gui/sizing/FLombNetoDim.h"
#include "gui/sizing/FParanaDim.h"
#include "gui/sizing/FrmDimensionamento.h"

namespace {

std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }

struct Janela {
    TModeloProjeto m;
    TGerenteSis g;
    QPointer<TfrmDimensionamento> w;
    explicit Janela(const char* exemplo) {
        m.AbrirProjetoSemAlterar(Exemplo(exemplo));
        w = new TfrmDimensionamento(m, g);
        w->SetPastaFiguras(QString::fromUtf8(VANDORO_BIN_DIR));
        w->show();
    }
    ~Janela() { delete w.data(); }
    QLineEdit* E(const char* nome) const { return w->findChild<QLineEdit*>(nome); }
    QPushButton* B(const char* nome) const { return w->findChild<QPushButton*>(nome); }
    void Clicar(const char* botao) const { QTest::mouseClick(B(botao), Qt::LeftButton); }
    QString Foco() const { return w->focusWidget() ? w->focusWidget()->objectName() : QString(); }
    void Digitar(const char* nome, const QString& texto) const { Redigitar(E(nome), texto); }
};

QString Ultima(const TDialogosRoteiro& r) { return r.registro.isEmpty() ? QString() : r.registro.last(); }

// The report's text, as "Relatório" shows it.
std::function<int(QDialog&)> Guardar(QString& texto) {
    return [&texto](QDialog& d) {
        texto = static_cast<TFRelatorio&>(d).Texto();
        return 0;
    };
}

}  // namespace

TEST(FrmDimensionamentoErros, ZeroInAnyStormFieldIsNamedAndTheWindowGoesOn) {
    const struct {
        const char* exemplo;
        const char* resultado;  // a field of the result page
    } exemplos[] = {{"Terraco em nivel.kzp", "LQ"},
                    {"Terraco em gradiente.kzp", "LQ"},
                    {"Bacia de acumulacao.kzp", "edtVolumeBarraginha"}};
    const struct {
        const char* campo;
        const char* mensagem;
    } zeros[] = {{"edtTr", "O valor do tempo de retorno (Tr) deve ser maior que zero."},
                 {"edtK", "O valor do parâmetro \"K\" deve ser maior que zero."},
                 {"edt_a", "O valor do parâmetro \"a\" deve ser maior que zero."},
                 {"edt_b", "O valor do parâmetro \"b\" deve ser maior que zero."},
                 {"edt_c", "O valor do parâmetro \"c\" deve ser maior que zero."}};
    for (const auto& ex : exemplos) {
        SCOPED_TRACE(ex.exemplo);
        TDialogosRoteiro roteiro;
        Janela j(ex.exemplo);
        for (const auto& z : zeros) {
            const QString antes = j.E(z.campo)->text();
            j.Digitar(z.campo, QStringLiteral("0"));
            j.Clicar("btnCalcular");
            EXPECT_EQ(Ultima(roteiro), QStringLiteral("erro: ") + QString::fromUtf8(z.mensagem));
            EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::Entrada);
            EXPECT_EQ(j.Foco(), z.campo);
            EXPECT_GT(j.m.Precipitacao().Tr(), 0);
            EXPECT_GT(j.m.Precipitacao().K(), 0);
            j.Digitar(z.campo, antes);
        }
        const int mensagens = roteiro.registro.size();
        j.Clicar("btnCalcular");
        EXPECT_EQ(roteiro.registro.size(), mensagens) << roteiro.registro.join('|').toStdString();
        EXPECT_FALSE(j.E(ex.resultado)->text().isEmpty());
    }
}

TEST(FrmDimensionamentoErros, AModelThatFailsUnderEveryButtonGivesTheErrorBox) {
    // A storm that raises once computed (b = 0 divides by zero), set behind the fields'
    // backs after a good computation: the report, the simulation and the charts meet it.
    for (const char* exemplo : {"Terraco em nivel.kzp", "Terraco em gradiente.kzp"}) {
        SCOPED_TRACE(exemplo);
        TDialogosRoteiro roteiro;
        Janela j(exemplo);
        j.Clicar("btnCalcular");
        ASSERT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::ResultadoTerracos);
        j.m.Precipitacao().SetB(0);
        j.Clicar("btnRelatorio");
        EXPECT_TRUE(Ultima(roteiro).startsWith(QStringLiteral("erro: "))) << Ultima(roteiro).toStdString();
        const int antes = roteiro.registro.size();
        j.Clicar("btnSimulacao");
        EXPECT_GT(roteiro.registro.size(), antes);
        EXPECT_TRUE(Ultima(roteiro).startsWith(QStringLiteral("erro: ")));
        j.w->findChild<QPushButton*>("btnVoltarSimula")->click();
        j.Clicar("btnVoltar");
        EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::Entrada);
        // The fields still hold the good storm: storing them mends the model.
        j.Clicar("btnCalcular");
        EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::ResultadoTerracos);
    }

    // The storage-capacity method computes the runoff before its dialog opens.
    TDialogosRoteiro roteiro;
    Janela j("Terraco em nivel.kzp");
    auto* metodo = j.w->findChild<QComboBox*>("cbMetodo");
    metodo->setCurrentIndex(4);
    emit metodo->activated(4);
    j.m.Precipitacao().SetB(0);
    j.w->AbrirGrupo(QStringLiteral("Espaçamento"));
    const QString b = j.E("edt_b")->text();
    j.E("edt_b")->setText(QString());  // stored as 0: the model's own error
    j.Clicar("btnDefinir");
    EXPECT_TRUE(Ultima(roteiro).startsWith(QStringLiteral("erro: "))) << Ultima(roteiro).toStdString();
    EXPECT_TRUE(roteiro.dialogos.empty());
    // The assistants still open and close.
    j.E("edt_b")->setText(b);
    roteiro.dialogos.push_back([](QDialog& d) {
        d.findChild<QPushButton*>("btnCancelar")->click();
        return d.result();
    });
    j.w->AbrirGrupo(QStringLiteral("Canal"));
    j.Clicar("btnSm");
    EXPECT_TRUE(roteiro.dialogos.empty());
    // The method's spacing was never defined: the window asks for it and goes on.
    j.Clicar("btnCalcular");
    EXPECT_EQ(Ultima(roteiro), QStringLiteral("erro: Valor do espaçamento vertical inconsistente."));
    EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::Entrada);
}

TEST(FrmDimensionamentoErros, ABasinWithoutRunoffSaysWhyOnItsPageAndChart) {
    TDialogosRoteiro roteiro;
    Janela j("Bacia de acumulacao.kzp");
    j.w->AbrirGrupo(QStringLiteral("Solo"));
    j.Digitar("edtTIE", QStringLiteral("5000"));
    j.Clicar("btnCalcular");
    ASSERT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::ResultadoBacia);
    EXPECT_EQ(j.E("edtVolumeBarraginha")->text(), QStringLiteral("0,0"));
    auto* aviso = j.w->findChild<QLabel*>("lblAvisoBacia");
    EXPECT_TRUE(aviso->isVisible());
    EXPECT_EQ(aviso->text(), QString::fromUtf8(kTextoBaciaSemEscoamento));
    EXPECT_EQ(j.w->GraficoBacia()->chart()->title(),
              QStringLiteral("Não há escoamento superficial para esta chuva e este solo: o volume é zero para "
                             "qualquer área de contribuição."));
}

TEST(FrmDimensionamentoErros, TheResultPageShowsTheHeightTheReportPrints) {
    TDialogosRoteiro roteiro;
    Janela j("Terraco em gradiente.kzp");
    j.Clicar("btnCalcular");
    ASSERT_EQ(j.E("HR")->text(), QStringLiteral("43,5"));
    j.Clicar("btnSimulacao");
    auto* cdu = j.w->findChild<QLineEdit*>("SimulaCDu");
    cdu->selectAll();
    QTest::keyClicks(cdu, QStringLiteral("1,5"));
    j.w->findChild<QPushButton*>("CalculaHR")->click();
    j.w->findChild<QPushButton*>("btnVoltarSimula")->click();
    ASSERT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::ResultadoTerracos);
    QString texto;
    roteiro.dialogos.push_back(Guardar(texto));
    j.Clicar("btnRelatorio");
    const double hr = j.m.TerracosGradiente().Hr();
    EXPECT_EQ(FormatFloat("0.00", hr), "50,98");
    EXPECT_TRUE(texto.contains(QStringLiteral("Altura recomendada: </B>50,98 cm")));
    EXPECT_EQ(j.E("CoefUni")->text(), QStringLiteral("1,50"));
    EXPECT_EQ(j.E("HR")->text(), QStringLiteral("51,0"));

    // A coefficient typed on the simulation page and left without "OK".
    j.Clicar("btnSimulacao");
    cdu->selectAll();
    QTest::keyClicks(cdu, QStringLiteral("2"));
    j.w->findChild<QPushButton*>("btnVoltarSimula")->click();
    EXPECT_EQ(j.E("CoefUni")->text(), QStringLiteral("2,00"));
    EXPECT_EQ(j.E("HR")->text(), Q(FormatFloat("0.0", j.m.TerracosGradiente().Hr())));
    EXPECT_NEAR(j.m.TerracosGradiente().Hr(), std::sqrt(2.0) * j.m.TerracosGradiente().H() * 100 + 10, 1e-9);

    // And one typed on the result page, "Relatório" pressed at once.
    j.E("CoefUni")->selectAll();
    QTest::keyClicks(j.E("CoefUni"), QStringLiteral("3"));
    EXPECT_TRUE(j.E("HR")->text().isEmpty());
    roteiro.dialogos.push_back(Guardar(texto));
    j.Clicar("btnRelatorio");
    const double hr3 = std::sqrt(3.0) * j.m.TerracosGradiente().H() * 100 + 10;
    EXPECT_TRUE(texto.contains(Q("Altura recomendada: </B>" + FormatFloat("0.00", hr3) + " cm")));
    EXPECT_EQ(j.E("HR")->text(), Q(FormatFloat("0.0", hr3)));
}

TEST(FrmDimensionamentoErros, LandCoverChosenShownRefusedAndSaved) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    Janela j("Terraco em nivel.kzp");
    j.w->AbrirGrupo(QStringLiteral("Solo"));
    auto* grupo = j.w->findChild<TGrupoCobertura*>();
    ASSERT_TRUE(grupo);
    auto* uso = j.w->findChild<QComboBox*>("cbUsoDoSolo");
    auto* trat = j.w->findChild<QComboBox*>("cbTratamento");
    auto* cond = j.w->findChild<QComboBox*>("cbCondicaoHidrologica");
    auto* cn = j.w->findChild<QLabel*>("lblNumeroDaCurva");
    // The table's own names, the example's choices and its curve number.
    EXPECT_EQ(uso->count(), 6);
    EXPECT_EQ(uso->itemText(4), QStringLiteral("Pastagem para pastoreio"));
    EXPECT_EQ(trat->itemText(3), QStringLiteral("Curvas de nível e terraço"));
    EXPECT_EQ(cond->itemText(1), QStringLiteral("Má"));
    EXPECT_EQ(uso->currentIndex(), 1);
    EXPECT_EQ(trat->currentIndex(), 2);
    EXPECT_EQ(cond->currentIndex(), 3);
    EXPECT_EQ(cn->text(), QStringLiteral("Número da curva (CN): 92"));
    // The column follows the rate typed: 250 mm/h is class I4.
    j.Digitar("edtTIE", QStringLiteral("250"));
    EXPECT_EQ(cn->text(), QStringLiteral("Número da curva (CN): 82"));
    j.Digitar("edtTIE", QStringLiteral("20"));

    // "Regular" is no row for row crops: said beside the lists and refused by "Calcular".
    cond->setCurrentIndex(2);
    emit cond->activated(2);
    const QString recusa = Q(TNumeroDaCurva::MensagemCobertura(1, 2, 2));
    EXPECT_EQ(cn->text(), recusa);
    EXPECT_TRUE(j.g.Alterado());
    j.Clicar("btnCalcular");
    EXPECT_EQ(Ultima(roteiro), "erro: " + recusa);
    EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::Entrada);
    EXPECT_EQ(j.w->GrupoAberto(), QStringLiteral("Solo"));
    EXPECT_EQ(j.Foco(), QStringLiteral("cbUsoDoSolo"));

    // Pasture, contour, fair: CN 88 on this soil; sized with it and saved with it.
    uso->setCurrentIndex(4);
    cond->setCurrentIndex(2);
    emit cond->activated(2);
    EXPECT_EQ(cn->text(), QStringLiteral("Número da curva (CN): 88"));
    j.Clicar("btnCalcular");
    EXPECT_EQ(j.w->PaginaAtual(), TfrmDimensionamento::ResultadoTerracos);
    EXPECT_EQ(j.m.NumeroDaCurva().CurveNumber(), 88);
    const std::string arq = pasta.Caminho() + "/cobertura.kzp";
    ASSERT_TRUE(j.m.NumeroDaCurva().SaveToProject(arq));
    TNumeroDaCurva lido;
    ASSERT_TRUE(lido.LoadFromProject(arq));
    EXPECT_EQ(lido.UsoDoSolo().Index(), 4);
    EXPECT_EQ(lido.Tratamento().Index(), 2);
    EXPECT_EQ(lido.CondicaoHidrologica().Index(), 2);
    // Read back into a new window.
    Janela k("Terraco em nivel.kzp");
    k.m.NumeroDaCurva().Assign(lido);
    k.w->PreencherCampos();
    EXPECT_EQ(k.w->findChild<QComboBox*>("cbUsoDoSolo")->currentIndex(), 4);
    EXPECT_EQ(k.w->findChild<QComboBox*>("cbCondicaoHidrologica")->currentIndex(), 2);
}

namespace {

// Letters after '&' in the captions of the visible buttons, buddy labels and group boxes.
QStringList Teclas(QWidget* w) {
    QStringList t;
    auto letra = [&t](const QString& texto) {
        for (int i = 0; i + 1 < texto.size(); ++i) {
            if (texto[i] != '&') continue;
            if (texto[i + 1] == '&') {
                ++i;
                continue;
            }
            t << texto[i + 1].toUpper();
            break;
        }
    };
    for (auto* b : w->findChildren<QAbstractButton*>())
        if (b->isVisibleTo(w)) letra(b->text());
    for (auto* l : w->findChildren<QLabel*>())
        if (l->isVisibleTo(w) && l->buddy()) letra(l->text());
    for (auto* g : w->findChildren<QGroupBox*>())
        if (g->isVisibleTo(w)) letra(g->title());
    return t;
}

void ConferirTeclas(QWidget* w, const char* onde) {
    const QStringList t = Teclas(w);
    EXPECT_EQ(QSet<QString>(t.begin(), t.end()).size(), t.size()) << onde << ": " << t.join(',').toStdString();
    for (const QString& l : t)
        EXPECT_FALSE(QStringLiteral("PTFCJA").contains(l)) << onde << ": " << l.toStdString();
}

}  // namespace

TEST(FrmDimensionamentoErros, KeysAreUniqueAndLeaveTheMenuBarsLettersAndF1OpensThePagesTopic) {
    TDialogosRoteiro roteiro;
    for (const char* exemplo : {"Terraco em nivel.kzp", "Terraco em gradiente.kzp", "Bacia de acumulacao.kzp"}) {
        SCOPED_TRACE(exemplo);
        Janela j(exemplo);
        const bool bacia = j.m.TipoSistema().Tipo() == TTipoSistema::BaciaAcumulacao;
        const bool gradiente = j.m.TipoSistema().Tipo() == TTipoSistema::Gradiente;
        ConferirTeclas(j.w, "entrada");
        ReiniciarAvisoAjuda();
        QTest::keyClick(j.E("edtTr"), Qt::Key_F1);
        EXPECT_EQ(Ultima(roteiro), "erro: Arquivo de ajuda não encontrado\r" + PaginaAjuda(28));
        j.Clicar("btnCalcular");
        ConferirTeclas(j.w, "resultados");
        ReiniciarAvisoAjuda();
        QTest::keyClick(j.w->focusWidget(), Qt::Key_F1);
        EXPECT_EQ(Ultima(roteiro),
                  "erro: Arquivo de ajuda não encontrado\r" + PaginaAjuda(bacia ? 85 : gradiente ? 78 : 76));
        if (bacia) continue;
        j.Clicar("btnSimulacao");
        ConferirTeclas(j.w, "simulação");
        ReiniciarAvisoAjuda();
        QTest::keyClick(j.w->findChild<QLineEdit*>("SimulaCDu"), Qt::Key_F1);
        EXPECT_EQ(Ultima(roteiro), "erro: Arquivo de ajuda não encontrado\r" + PaginaAjuda(gradiente ? 77 : 71));
    }
    // The method dialogs.
    TFBentleyDim bentley;
    ConferirTeclas(&bentley, "Bentley");
    TFParanaDim parana;
    ConferirTeclas(&parana, "Paraná");
    TFLombNetoDim lombardi;
    ConferirTeclas(&lombardi, "Lombardi Neto");
    TFCapacidadeArmazenamento capacidade;
    ConferirTeclas(&capacidade, "capacidade de armazenamento");
    ReiniciarAvisoAjuda();
    bentley.show();
    bentley.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bentley));
    QTest::keyClick(&bentley, Qt::Key_F1);
    EXPECT_TRUE(Ultima(roteiro).startsWith(QStringLiteral("erro: Arquivo de ajuda não encontrado\r")));
}

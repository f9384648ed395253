// The "Construção dos Terraços" settings window driven as the user does: fields typed key by
// key, machine cells edited in their own editors, the error boxes answered by the script; and
// the choice through the main window's menu into the settings file and back at the next start.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "DialogosRoteiro.h"
#include "Digitacao.h"
#include "TestSupport.h"
#include "gui/project/ConfiguracaoConstrucao.h"
#include "gui/shell/Principal.h"

namespace {

enum { kNome, kRendimento, kUnidade, kCusto };

// Key by key, accents included (QTest's key table knows only ASCII).
void Digitar(QWidget* e, const QString& texto) {
    for (const QChar c : texto) {
        QKeyEvent aperta(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent solta(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &aperta);
        QApplication::sendEvent(e, &solta);
    }
}

// A cell typed over in the editor the table opens for it; Enter closes it unless 'aberto'.
void EditarCelula(QTableWidget* t, int linha, int coluna, const QString& texto, bool aberto = false) {
    t->setCurrentCell(linha, coluna);
    t->editItem(t->item(linha, coluna));
    auto* e = qobject_cast<QLineEdit*>(t->indexWidget(t->model()->index(linha, coluna)));
    ASSERT_NE(e, nullptr) << linha << "," << coluna;
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    Digitar(e, texto);
    if (aberto) return;
    QTest::keyClick(e, Qt::Key_Return);
    QCoreApplication::processEvents();  // the table takes an edit ended by Enter through its queue
}

QComboBox* Unidade(QTableWidget* t, int linha) { return qobject_cast<QComboBox*>(t->cellWidget(linha, kUnidade)); }

// What the window shows, row by row: name | output | unit | price.
QStringList Linhas(QTableWidget* t) {
    QStringList r;
    for (int i = 0; i < t->rowCount(); ++i)
        r << t->item(i, kNome)->text() + " | " + t->item(i, kRendimento)->text() + " | " +
                 Unidade(t, i)->currentText() + " | " + t->item(i, kCusto)->text();
    return r;
}

QStringList Itens(QComboBox* c) {
    QStringList r;
    for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
    return r;
}

struct Janela {
    explicit Janela(const TConfigConstrucao& c = {}) : d(c) {
        d.show();
        tbl = d.findChild<QTableWidget*>("tblMaquinas");
        padrao = d.findChild<QComboBox*>("cbMaquinaPadrao");
    }
    QLineEdit* E(const char* nome) { return d.findChild<QLineEdit*>(nome); }
    void Clicar(const char* botao) { d.findChild<QPushButton*>(botao)->click(); }
    TFConfiguracaoConstrucao d;
    QTableWidget* tbl;
    QComboBox* padrao;
};

void EsperarIgual(const TConfigConstrucao& a, const TConfigConstrucao& b) {
    EXPECT_EQ(a.larguras.estreita, b.larguras.estreita);
    EXPECT_EQ(a.larguras.media, b.larguras.media);
    EXPECT_EQ(a.larguras.larga, b.larguras.larga);
    EXPECT_EQ(a.larguras.murundum, b.larguras.murundum);
    EXPECT_EQ(a.empolamento, b.empolamento);
    EXPECT_EQ(a.maquinas, b.maquinas);
    EXPECT_EQ(a.maquina, b.maquina);
}

}  // namespace

TEST(ConfiguracaoConstrucao, OkGuardaOQueFoiDigitadoEValorEmBrancoFicaDesconhecido) {
    TDialogosRoteiro roteiro;
    Janela j;
    EXPECT_EQ(j.d.objectName(), "FConfiguracaoConstrucao");
    EXPECT_EQ(j.d.windowTitle(), "Construção dos Terraços");
    // The defaults as the user sees them: an unknown width, output or price is empty, never 0.
    QStringList larguras;
    for (const char* n : {"edtLarguraEstreita", "edtLarguraMedia", "edtLarguraLarga", "edtLarguraMurundum"})
        larguras << j.E(n)->text();
    EXPECT_EQ(larguras, QStringList({"3", "6", "12", ""}));
    EXPECT_EQ(j.E("edtEmpolamento")->text(), "1,00");
    EXPECT_EQ(Linhas(j.tbl), QStringList({"Trator agrícola com terraceador de discos |  | m³/h | ",
                                          "Motoniveladora |  | m³/h | ", "Trator de esteiras |  | m³/h | "}));
    EXPECT_EQ(Itens(j.padrao), QStringList({"Trator agrícola com terraceador de discos", "Motoniveladora",
                                            "Trator de esteiras"}));
    EXPECT_EQ(j.padrao->currentIndex(), 0);
    EXPECT_EQ(Itens(Unidade(j.tbl, 0)), QStringList({"m³/h", "m/h"}));

    // Either separator key types the decimal comma.
    Redigitar(j.E("edtLarguraEstreita"), "3.5");
    Redigitar(j.E("edtLarguraMurundum"), "2,25");
    Redigitar(j.E("edtEmpolamento"), "1.3");
    EXPECT_EQ(j.E("edtLarguraEstreita")->text(), "3,5");

    // A new machine in metres of terrace per hour with its price, made the default: the list of
    // the default follows the name as it is typed.
    j.Clicar("btnIncluirMaquina");
    ASSERT_EQ(j.tbl->rowCount(), 4);
    EditarCelula(j.tbl, 3, kNome, "  Escavadeira hidráulica ");
    EditarCelula(j.tbl, 3, kRendimento, "40,5");
    Unidade(j.tbl, 3)->setCurrentIndex(1);
    EXPECT_EQ(Itens(j.padrao).last(), "Escavadeira hidráulica");
    j.padrao->setCurrentIndex(3);
    // An output with no price: the price stays unknown. A typed 0 is "unknown" too, and shows so.
    EditarCelula(j.tbl, 1, kRendimento, "60");
    EditarCelula(j.tbl, 2, kCusto, "0");
    EXPECT_EQ(j.tbl->item(2, kCusto)->text(), "");
    // Letters never reach a number cell; the price is still being typed when "&Ok" is clicked.
    EditarCelula(j.tbl, 3, kCusto, "2x80.5", true);
    j.Clicar("btnOk");
    EXPECT_EQ(j.d.result(), QDialog::Accepted);
    EXPECT_TRUE(roteiro.registro.isEmpty()) << roteiro.registro.join("\n").toStdString();

    TConfigConstrucao c;
    j.d.Aplicar(c);
    TConfigConstrucao esperado;
    esperado.larguras = {3.5, 6, 12, 2.25};
    esperado.empolamento = 1.3;
    esperado.maquinas[1].rendimento = 60;
    esperado.maquinas.push_back({"Escavadeira hidráulica", 40.5, 280.5, TUnidadeRendimento::Metros});
    esperado.maquina = 3;
    EsperarIgual(c, esperado);

    // Opened again on what was kept, it shows it in the same form.
    Janela k(c);
    EXPECT_EQ(Linhas(k.tbl).mid(1), QStringList({"Motoniveladora | 60 | m³/h | ", "Trator de esteiras |  | m³/h | ",
                                                 "Escavadeira hidráulica | 40,5 | m/h | 280,5"}));
    EXPECT_EQ(k.padrao->currentText(), "Escavadeira hidráulica");
    EXPECT_EQ(k.E("edtEmpolamento")->text(), "1,30");
}

TEST(ConfiguracaoConstrucao, ValorRuimDaAvisoApontaOCampoENadaEAplicado) {
    TDialogosRoteiro roteiro;
    TConfigConstrucao original;
    original.maquina = 1;
    Janela j(original);
    // Clicks "&Ok" and expects the window to stay open on 'mensagem', with 'foco' focused.
    auto Recusado = [&](const QString& mensagem, QWidget* foco) {
        roteiro.registro.clear();
        j.Clicar("btnOk");
        EXPECT_NE(j.d.result(), QDialog::Accepted) << mensagem.toStdString();
        EXPECT_TRUE(j.d.isVisible());
        EXPECT_EQ(roteiro.registro, QStringList{"erro: " + mensagem});
        EXPECT_EQ(j.d.focusWidget(), foco) << mensagem.toStdString();
        TConfigConstrucao c;
        c.empolamento = 7;
        j.d.Aplicar(c);
        EsperarIgual(c, original);
    };

    Redigitar(j.E("edtEmpolamento"), "0");
    Recusado("O fator de empolamento deve ser um número maior que zero.", j.E("edtEmpolamento"));
    Redigitar(j.E("edtEmpolamento"), "");
    Recusado("O fator de empolamento deve ser um número maior que zero.", j.E("edtEmpolamento"));
    // Only a pasted-in text could be something other than digits; it is refused all the same.
    j.E("edtLarguraLarga")->setText("-2");
    Recusado("A largura do terraço deve ser um número maior ou igual a zero.", j.E("edtLarguraLarga"));
    j.E("edtLarguraLarga")->setText("12");
    Redigitar(j.E("edtEmpolamento"), "1,1");

    // Designs keep their machine by name: a second one with the same name is refused.
    EditarCelula(j.tbl, 2, kNome, "Motoniveladora");
    Recusado("Duas máquinas têm o mesmo nome: Motoniveladora.", j.tbl);
    EXPECT_EQ(j.tbl->currentRow(), 2);
    EXPECT_EQ(j.tbl->currentColumn(), kNome);
    j.tbl->item(2, kRendimento)->setText("abc");
    EditarCelula(j.tbl, 2, kNome, "Trator de esteiras");
    Recusado("O rendimento de cada máquina deve ser um número maior ou igual a zero, ou ficar em branco.", j.tbl);
    EXPECT_EQ(j.tbl->currentColumn(), kRendimento);
    j.tbl->item(2, kRendimento)->setText("");

    // Up to twenty machines, the file's limit; a new one starts without a name.
    for (int i = 3; i < 20; ++i) j.Clicar("btnIncluirMaquina");
    ASSERT_EQ(j.tbl->rowCount(), 20);
    roteiro.registro.clear();
    j.Clicar("btnIncluirMaquina");
    EXPECT_EQ(roteiro.registro, QStringList{"erro: O programa guarda no máximo 20 máquinas."});
    EXPECT_EQ(j.tbl->rowCount(), 20);
    EXPECT_EQ(j.padrao->count(), 20);
    Recusado("Dê um nome a cada máquina.", j.tbl);
    EXPECT_EQ(j.tbl->currentRow(), 3);

    // Deleting keeps the default on its machine; with none left there is nothing to build with.
    j.tbl->setCurrentCell(3, kNome);
    while (j.tbl->rowCount() > 3) j.Clicar("btnExcluirMaquina");
    j.tbl->setCurrentCell(0, kNome);
    j.Clicar("btnExcluirMaquina");
    EXPECT_EQ(Itens(j.padrao), QStringList({"Motoniveladora", "Trator de esteiras"}));
    EXPECT_EQ(j.padrao->currentText(), "Motoniveladora");
    j.Clicar("btnExcluirMaquina");
    j.Clicar("btnExcluirMaquina");
    EXPECT_EQ(j.tbl->rowCount(), 0);
    EXPECT_FALSE(j.d.findChild<QPushButton*>("btnExcluirMaquina")->isEnabled());
    Recusado("Inclua ao menos uma máquina.", j.d.findChild<QPushButton*>("btnIncluirMaquina"));

    j.Clicar("btnIncluirMaquina");
    EditarCelula(j.tbl, 0, kNome, "Pá carregadeira");
    j.Clicar("btnOk");
    EXPECT_EQ(j.d.result(), QDialog::Accepted);
    TConfigConstrucao c;
    j.d.Aplicar(c);
    EXPECT_EQ(c.maquinas, std::vector<TMaquina>({{"Pá carregadeira", 0, 0}}));
    EXPECT_EQ(c.maquina, 0);
    EXPECT_EQ(c.empolamento, 1.1);
}

TEST(ConfiguracaoConstrucao, PeloMenuChegaAoArquivoDeConfiguracaoEVoltaNaProximaExecucao) {
    PastaTemporaria t;
    TDialogosRoteiro roteiro;
    const std::string ini = t.Arquivo("VANDORO4.ini");
    auto w = std::make_unique<TFPrincipal>(VANDORO_BIN_DIR, Q(ini));
    auto* acao = w->findChild<QAction*>("actConstrucao");
    ASSERT_NE(acao, nullptr);
    EXPECT_EQ(acao->text(), "Construção dos &Terraços");
    EXPECT_EQ(acao->statusTip(), "Larguras dos terraços, empolamento do solo e máquinas");
    const QList<QAction*> menu = w->findChild<QMenu*>("mnuConfiguracoes")->actions();
    ASSERT_GE(menu.size(), 3);
    EXPECT_EQ(menu[0]->objectName(), "actConfiguracao");
    EXPECT_EQ(menu[1], acao);

    // Cancel leaves the settings as they were, whatever was typed.
    roteiro.dialogos = {[](QDialog& d) {
        Redigitar(d.findChild<QLineEdit*>("edtEmpolamento"), "1,4");
        d.findChild<QTableWidget*>("tblMaquinas")->item(0, kCusto)->setText("200");
        d.findChild<QPushButton*>("btnCancelar")->click();
        return d.result();
    }};
    acao->trigger();
    EsperarIgual(w->Modelo().Configuracao().Construcao, TConfigConstrucao{});

    roteiro.dialogos = {[](QDialog& d) {
        Redigitar(d.findChild<QLineEdit*>("edtLarguraMurundum"), "4");
        Redigitar(d.findChild<QLineEdit*>("edtEmpolamento"), "1,25");
        auto* tbl = d.findChild<QTableWidget*>("tblMaquinas");
        tbl->item(2, kRendimento)->setText("45");
        tbl->item(2, kCusto)->setText("310");
        Unidade(tbl, 2)->setCurrentIndex(1);
        d.findChild<QComboBox*>("cbMaquinaPadrao")->setCurrentIndex(2);
        d.findChild<QPushButton*>("btnOk")->click();
        return d.result();
    }};
    acao->trigger();
    EXPECT_EQ(roteiro.registro, QStringList({"dialogo: Construção dos Terraços", "dialogo: Construção dos Terraços"}));
    TConfigConstrucao esperado;
    esperado.larguras.murundum = 4;
    esperado.empolamento = 1.25;
    esperado.maquinas[2] = {"Trator de esteiras", 45, 310, TUnidadeRendimento::Metros};
    esperado.maquina = 2;
    EsperarIgual(w->Modelo().Configuracao().Construcao, esperado);

    w->show();
    ASSERT_TRUE(w->close());
    const std::string arquivo = LerArquivo(ini);
    const size_t secao = arquivo.find("[CONSTRUCAO]\r\n");
    ASSERT_NE(secao, std::string::npos) << arquivo;
    for (const char* linha : {"LarguraMurundum=4\r\n", "Empolamento=1,25\r\n", "Maquina3Rendimento=45\r\n",
                              "Maquina3CustoHora=310\r\n", "Maquina3Unidade=m/h\r\n", "Maquina=2\r\n"})
        EXPECT_NE(arquivo.find(linha, secao), std::string::npos) << linha;

    w = std::make_unique<TFPrincipal>(VANDORO_BIN_DIR, Q(ini));
    EsperarIgual(w->Modelo().Configuracao().Construcao, esperado);
    EXPECT_TRUE(roteiro.Mensagens("erro").isEmpty());
}

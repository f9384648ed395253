// The main window driven through its menus, with the scripted dialog service.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "gui/common/Impressora.h"
#include "gui/common/JanelaDados.h"
#include "gui/shell/Inicial.h"
#include "gui/shell/Principal.h"

namespace {

const QString kExemplo = QStringLiteral(VANDORO_BIN_DIR "/Exemplos/Terraco em nivel.kzp");

// Types 'texto' key by key, accents included (QTest's key table knows only ASCII).
void Digitar(QLineEdit* e, const QString& texto) {
    for (const QChar c : texto) {
        QKeyEvent aperta(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent solta(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &aperta);
        QApplication::sendEvent(e, &solta);
    }
}

// Fills the identification dialog: field name -> text typed, then the button clicked.
std::function<int(QDialog&)> Identificar(std::vector<std::pair<const char*, QString>> campos,
                                         const char* botao = "btnOk") {
    return [campos, botao](QDialog& d) {
        for (const auto& [nome, texto] : campos) {
            auto* e = d.findChild<QLineEdit*>(nome);
            if (!e) {
                ADD_FAILURE() << "campo ausente: " << nome;
                continue;
            }
            e->clear();
            Digitar(e, texto);
        }
        d.findChild<QPushButton*>(botao)->click();
        return d.result();
    };
}

// Reads the identification dialog into 'lido' and cancels it.
std::function<int(QDialog&)> LerIdentificacao(QStringList& lido) {
    return [&lido](QDialog& d) {
        lido.clear();
        for (const char* n : {"edtNome", "edtEmpresa", "edtLocal", "edtEstado", "edtTecnico", "edtData"})
            lido << d.findChild<QLineEdit*>(n)->text();
        d.findChild<QPushButton*>("btnCancelar")->click();
        return d.result();
    };
}

// Chooses items of the settings dialog (-1 leaves a list alone) and clicks 'botao'.
std::function<int(QDialog&)> Configurar(int decli, int vib, int estado, const char* botao = "btnOk",
                                        QStringList* vistos = nullptr) {
    return [=](QDialog& d) {
        auto* cd = d.findChild<QComboBox*>("cbDecli");
        auto* cv = d.findChild<QComboBox*>("cbVIB");
        auto* ce = d.findChild<QComboBox*>("cbEstado");
        if (vistos) *vistos = {cd->currentText(), cv->currentText(), ce->currentText()};
        if (decli >= 0) cd->setCurrentIndex(decli);
        if (vib >= 0) cv->setCurrentIndex(vib);
        if (estado >= 0) ce->setCurrentIndex(estado);
        d.findChild<QPushButton*>(botao)->click();
        return d.result();
    };
}

// A data-entry window as the sizing window will be: terrain slope, channel slope and Tie.
class TJanelaTeste : public QWidget, public IJanelaDados {
public:
    explicit TJanelaTeste(TFPrincipal& p) : principal_(p) {
        setWindowTitle("Janela de teste");
        for (auto** e : {&edtSt, &edtSc, &edtVIB}) *e = new QLineEdit(this);
        for (auto** l : {&lblSt, &lblSc, &lblVIB}) *l = new QLabel(this);
    }
    QString Modulo() const override { return "Dimensionamento"; }
    void OnLerCamposDados() override {
        TModeloProjeto& m = principal_.Modelo();
        const TConfiguracao& c = m.Configuracao();
        if (!edtSt->text().isEmpty()) m.NumeroDaCurva().SetSt(ParaInterno(TextToReal(S(edtSt->text())), c.KDecli));
        if (!edtSc->text().isEmpty()) m.TerracosGradiente().SetSc(ParaInterno(TextToReal(S(edtSc->text())), c.KDecli));
        if (!edtVIB->text().isEmpty()) m.NumeroDaCurva().SetVIB(ParaInterno(TextToReal(S(edtVIB->text())), c.KVIB));
        ++lidas;
    }
    void PreencherCampos() override { ++preenchidas; }
    void AtualizarUnidades() override {
        TModeloProjeto& m = principal_.Modelo();
        const TConfiguracao& c = m.Configuracao();
        lblSt->setText(Q(c.UDecli));
        lblSc->setText(Q(c.UDecli));
        lblVIB->setText(Q(c.UVIB));
        edtSt->setText(Q(ReexibirCampo(S(edtSt->text()), m.NumeroDaCurva().St(), c.KDecli)));
        edtSc->setText(Q(ReexibirCampo(S(edtSc->text()), m.TerracosGradiente().Sc(), c.KDecli)));
        edtVIB->setText(Q(ReexibirCampo(S(edtVIB->text()), m.NumeroDaCurva().VIB(), c.KVIB)));
    }
    QLineEdit *edtSt, *edtSc, *edtVIB;
    QLabel *lblSt, *lblSc, *lblVIB;
    int lidas = 0, preenchidas = 0;

private:
    TFPrincipal& principal_;
};

class Principal : public ::testing::Test {
protected:
    void SetUp() override { Criar(VANDORO_BIN_DIR); }
    void Criar(const QString& pasta, const QString& ini = {}) {
        w.reset();
        w = std::make_unique<TFPrincipal>(pasta, ini.isEmpty() ? Q(t.Arquivo("VANDORO4.ini")) : ini);
    }
    QAction* A(const char* nome) {
        auto* a = w->findChild<QAction*>(nome);
        EXPECT_NE(a, nullptr) << nome;
        return a;
    }
    void Acionar(const char* nome) {
        QAction* a = A(nome);
        ASSERT_TRUE(a->isEnabled()) << nome;
        a->trigger();
    }
    QStringList Janelas() const {
        QStringList r;
        for (QMdiSubWindow* s : w->Area()->subWindowList()) r << s->windowTitle().remove("[*]");
        return r;
    }
    std::string CopiaDoExemplo(const std::string& nome = "nivel.kzp") {
        const std::string c = t.Arquivo(nome);
        std::filesystem::copy_file(S(kExemplo), c);
        return c;
    }

    PastaTemporaria t;
    TDialogosRoteiro roteiro;
    std::unique_ptr<TFPrincipal> w;
};

const char* const kProjeto[] = {"actFechar", "actSalvar", "actSalvarComo", "actIdentificacao", "actDimensionamento",
                                "actLocacao"};

TEST_F(Principal, CicloDeVidaPelosMenus) {
    EXPECT_EQ(w->windowTitle(), "Vandoro 4.1");
    roteiro.dialogos = {Identificar({{"edtNome", "Fazenda Boa Vista"}, {"edtTecnico", "Ana Sá"}})};
    Acionar("actNovo");
    EXPECT_EQ(w->windowTitle(), "Vandoro 4.1 (\"PROJETO1.kzp\")");
    EXPECT_EQ(w->Modelo().Identificacao().Nome(), "Fazenda Boa Vista");
    EXPECT_EQ(w->Modelo().Identificacao().Tecnico(), "Ana Sá");
    EXPECT_TRUE(w->GerenteSis1().Alterado());

    // Cancel keeps the model as it was, though typing marked the project.
    roteiro.dialogos = {Identificar({{"edtEmpresa", "Cooperativa"}}, "btnCancelar")};
    Acionar("actIdentificacao");
    EXPECT_EQ(w->Modelo().Identificacao().Empresa(), "");

    // A name typed without the extension gets ".kzp".
    roteiro.arquivos = {Q(t.Arquivo("boa vista"))};
    Acionar("actSalvarComo");
    const std::string arquivo = t.Arquivo("boa vista.kzp");
    EXPECT_TRUE(std::filesystem::exists(arquivo));
    EXPECT_EQ(w->windowTitle(), "Vandoro 4.1 ('boa vista.kzp')");
    EXPECT_FALSE(w->GerenteSis1().Alterado());
    EXPECT_EQ(A("actRecente1")->text(), "&1/ boa vista.kzp");

    Acionar("actFechar");
    EXPECT_EQ(w->windowTitle(), "Vandoro 4.1");
    EXPECT_EQ(w->Modelo().Identificacao().Nome(), "");
    for (const char* n : kProjeto) EXPECT_FALSE(A(n)->isEnabled()) << n;

    Acionar("actRecente1");
    EXPECT_EQ(w->windowTitle(), "Vandoro 4.1 ('boa vista.kzp')");
    QStringList lido;
    roteiro.dialogos = {LerIdentificacao(lido)};
    Acionar("actIdentificacao");
    ASSERT_EQ(lido.size(), 6);
    EXPECT_EQ(lido[0], "Fazenda Boa Vista");
    EXPECT_EQ(lido[1], "");
    EXPECT_EQ(lido[4], "Ana Sá");
    EXPECT_EQ(lido[5], Q(w->Modelo().Identificacao().Data()));
    EXPECT_EQ(lido[5].size(), 10);  // dd/mm/yyyy
    // Nothing was asked along the way: every change had been saved.
    EXPECT_EQ(roteiro.registro,
              QStringList({"dialogo: Identificação do Projeto", "dialogo: Identificação do Projeto",
                           "salvar: Salvar Como", "dialogo: Identificação do Projeto"}));
}

TEST_F(Principal, AlteracoesNaoSalvasECancelarMantemProjetoEJanela) {
    roteiro.dialogos = {Identificar({{"edtNome", "Sítio"}})};
    Acionar("actNovo");
    Acionar("actDimensionamento");
    ASSERT_EQ(Janelas(), QStringList{"Módulo para o dimensionamento - entrada de dados"});

    roteiro.respostas = {TResposta::Cancelar};
    Acionar("actFechar");
    EXPECT_EQ(roteiro.Mensagens("pergunta"), QStringList{"Deseja salvar as alterações em \"PROJETO1.kzp\""});
    EXPECT_EQ(w->windowTitle(), "Vandoro 4.1 (\"PROJETO1.kzp\")");
    EXPECT_TRUE(w->GerenteSis1().Alterado());
    EXPECT_EQ(Janelas().size(), 1);

    // Leaving the program: Cancel keeps it running, with the settings not yet written.
    w->show();
    roteiro.respostas = {TResposta::Cancelar};
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Janelas().size(), 1);
    EXPECT_EQ(w->Modelo().Identificacao().Nome(), "Sítio");
    EXPECT_FALSE(std::filesystem::exists(t.Arquivo("VANDORO4.ini")));

    // No: the project is dropped, the module windows close, the program ends.
    roteiro.respostas = {TResposta::Nao};
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(Janelas().isEmpty());
    EXPECT_TRUE(std::filesystem::exists(t.Arquivo("VANDORO4.ini")));
}

TEST_F(Principal, ProjetoDanificadoDaAvisoEDeixaOAbertoComoEstava) {
    const std::string lixo = t.Arquivo("estragado.kzp");
    GravarArquivo(lixo, "[VANDORO4]\r\nVersao=4.0\r\n[IDENTIFICACAO]\r\nVersao=9\r\n");
    const std::string versao = t.Arquivo("futuro.kzp");
    GravarArquivo(versao, "[VANDORO4]\r\nVersao=5.0\r\n");

    // With a project open, a bad one says why and leaves it open, its window too.
    ASSERT_TRUE(w->AbrirArquivo(Q(CopiaDoExemplo())));
    ASSERT_EQ(Janelas().size(), 1);
    const std::pair<std::string, std::string> ruins[] = {
        {lixo, "O arquivo está danificado: não foi possível ler a identificação do projeto."},
        {versao, "O arquivo foi gravado por uma versão mais nova do Vandoro (versão 5.0)."}};
    for (const auto& [ruim, motivo] : ruins) {
        roteiro.registro.clear();
        roteiro.arquivos = {Q(ruim)};
        Acionar("actAbrir");
        EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{Q("Não foi possível abrir o arquivo " + ruim + ". " + motivo)});
        EXPECT_EQ(w->windowTitle(), "Vandoro 4.1 ('nivel.kzp')");
        for (const char* n : kProjeto) EXPECT_TRUE(A(n)->isEnabled()) << n;
        EXPECT_EQ(Janelas().size(), 1);
        EXPECT_EQ(A("actRecente1")->text(), "&1/ nivel.kzp");  // never listed
    }
    Acionar("actFechar");
    roteiro.registro.clear();
    EXPECT_FALSE(w->AbrirArquivo(Q(t.Arquivo("nao existe.kzp"))));
    EXPECT_EQ(roteiro.Mensagens("erro"),
              QStringList{Q("Não foi possível abrir o arquivo " + t.Arquivo("nao existe.kzp") + ". O arquivo não existe.")});
    EXPECT_FALSE(A("actSalvar")->isEnabled());
}

TEST_F(Principal, GravacaoQueFalhaMantemDadosEAlteracao) {
    roteiro.dialogos = {Identificar({{"edtNome", "Córrego Fundo"}})};
    Acionar("actNovo");
    GravarArquivo(t.Arquivo("arquivo.txt"), "x");
    const std::string destino = t.Arquivo("arquivo.txt/p.kzp");  // runs through a regular file
    roteiro.arquivos = {Q(destino)};
    Acionar("actSalvarComo");
    EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{Q("Não foi possível gravar o arquivo " + destino + ": pasta inexistente.")});
    EXPECT_EQ(w->windowTitle(), "Vandoro 4.1 (\"PROJETO1.kzp\")");
    EXPECT_TRUE(w->GerenteSis1().Alterado());
    EXPECT_EQ(w->Modelo().Identificacao().Nome(), "Córrego Fundo");
    EXPECT_FALSE(A("actRecente1")->isEnabled());
    EXPECT_TRUE(A("actSalvar")->isEnabled());
}

TEST_F(Principal, ComandosComandosDesligadosEAtalhos) {
    for (const char* n : kProjeto) EXPECT_FALSE(A(n)->isEnabled()) << n;
    for (const char* n : {"actNovo", "actAbrir", "actSair", "actPraticas", "actConfiguracao", "actImpressora",
                          "actCarregarImagens", "actCascata", "actSobre", "actConteudo", "actVisualizar"})
        EXPECT_TRUE(A(n)->isEnabled()) << n;
    // Slope, filter and vector conversion are on, the slope shown too.
    for (const char* n : {"actImportacao", "actExportacao", "actFiltro", "actDeclividade"})
        EXPECT_TRUE(A(n)->isEnabled()) << n;
    EXPECT_TRUE(A("actDeclividade")->isVisible());
    EXPECT_TRUE(A("actVisualizar")->isVisible());
    for (int i = 1; i <= 4; ++i) {
        const QByteArray n = "actRecente" + QByteArray::number(i);
        EXPECT_EQ(A(n.constData())->text(), "&" + QString::number(i) + "/ ");
        EXPECT_FALSE(A(n.constData())->isEnabled());
    }
    const std::pair<const char*, Qt::Key> atalhos[] = {{"actSalvar", Qt::Key_F2},        {"actAbrir", Qt::Key_F3},
                                                       {"actNovo", Qt::Key_F4},          {"actIdentificacao", Qt::Key_F5},
                                                       {"actDimensionamento", Qt::Key_F6}, {"actLocacao", Qt::Key_F8}};
    for (const auto& [n, k] : atalhos) EXPECT_EQ(A(n)->shortcut(), QKeySequence(k)) << n;

    // An opened project switches them on and brings back the window it was saved from.
    roteiro.arquivos = {Q(CopiaDoExemplo())};
    Acionar("actAbrir");
    EXPECT_EQ(w->windowTitle(), "Vandoro 4.1 ('nivel.kzp')");
    for (const char* n : kProjeto) EXPECT_TRUE(A(n)->isEnabled()) << n;
    EXPECT_EQ(Janelas(), QStringList{"Módulo para o dimensionamento - entrada de dados"});

    // Only one of the two data-entry windows at a time.
    Acionar("actLocacao");
    QApplication::processEvents();
    EXPECT_EQ(Janelas(), QStringList{"Módulo para a Locação"});
    EXPECT_EQ(w->Modelo().Modulo(), "Locacao");
    Acionar("actLocacao");
    EXPECT_EQ(Janelas().size(), 1);
    Acionar("actDimensionamento");
    EXPECT_EQ(Janelas(), QStringList{"Módulo para o dimensionamento - entrada de dados"});
    EXPECT_EQ(w->Modelo().Modulo(), "Dimensionamento");

    // One printer for the whole program, set up through the service.
    Acionar("actImpressora");
    EXPECT_EQ(roteiro.registro.last(), "configurar impressora");
    EXPECT_EQ(&ImpressoraPrograma(), &ImpressoraPrograma());

    Acionar("actFechar");
    EXPECT_TRUE(Janelas().isEmpty());
    for (const char* n : kProjeto) EXPECT_FALSE(A(n)->isEnabled()) << n;
}

TEST_F(Principal, ConfiguracaoReescreveAsJanelasAbertas) {
    RegionalFixo en(Regional::EnUS());
    TJanelaTeste* j = nullptr;
    w->CriarDimensionamento = [&j](TFPrincipal& p) { return j = new TJanelaTeste(p); };
    roteiro.dialogos = {Identificar({})};
    Acionar("actNovo");
    Acionar("actDimensionamento");
    ASSERT_NE(j, nullptr);
    EXPECT_EQ(j->preenchidas, 1);
    j->edtSt->setText("0.12");
    j->edtVIB->setText("10");

    QStringList vistos;
    roteiro.dialogos = {Configurar(1, 2, -1, "btnOk", &vistos)};
    Acionar("actConfiguracao");
    EXPECT_EQ(vistos, QStringList({"m/m", "mm/h", "Acre"}));
    EXPECT_EQ(j->lidas, 1);  // what was typed reached the model before the change
    EXPECT_EQ(j->edtSt->text(), "12.0");
    EXPECT_EQ(j->edtVIB->text(), "0.24");
    EXPECT_EQ(j->edtSc->text(), "");  // empty stays empty, only its label changes
    EXPECT_EQ(j->lblSc->text(), "%");
    EXPECT_EQ(j->lblVIB->text(), "m/dia");
    EXPECT_DOUBLE_EQ(w->Modelo().NumeroDaCurva().St(), 0.12);

    // Cancel changes nothing, whatever was chosen in the lists.
    j->edtSt->setText("20");  // typed in %
    roteiro.dialogos = {Configurar(0, 0, 5, "btnCancelar", &vistos)};
    Acionar("actConfiguracao");
    EXPECT_EQ(vistos, QStringList({"%", "m/dia", "Acre"}));
    EXPECT_EQ(j->edtSt->text(), "20");
    EXPECT_EQ(j->lblSt->text(), "%");
    EXPECT_EQ(w->Modelo().Configuracao().UDecli, "%");
    EXPECT_EQ(w->Modelo().Configuracao().IndEstado, 0);

    roteiro.dialogos = {Configurar(0, 0, -1)};
    Acionar("actConfiguracao");
    EXPECT_EQ(j->edtSt->text(), "0.2");
    EXPECT_EQ(j->edtVIB->text(), "10.0");
    EXPECT_EQ(j->lblSt->text(), "m/m");
    EXPECT_EQ(w->Modelo().Configuracao().KDecli, 1);
    EXPECT_DOUBLE_EQ(w->Modelo().Configuracao().KVIB, 1.0);
}

TEST_F(Principal, ConfiguracaoGravadaAoEncerrar) {
    const std::string projeto = CopiaDoExemplo();
    ASSERT_TRUE(w->AbrirArquivo(Q(projeto)));
    const int estadoDoProjeto = w->Modelo().Quenda().IndEstado();
    roteiro.dialogos = {Configurar(1, 1, 3)};  // %, m/h, Bahia
    Acionar("actConfiguracao");
    EXPECT_EQ(w->Modelo().Quenda().IndEstado(), estadoDoProjeto);  // the default is for new projects
    w->show();
    ASSERT_TRUE(w->close());
    EXPECT_EQ(LerArquivo(t.Arquivo("VANDORO4.ini")),
              "[PRINCIPAL]\r\nUDecli=%\r\nKDecli=100\r\nUVIB=m/h\r\nKVIB=0,001\r\npath1=" + projeto +
                  "\r\npath2=\r\npath3=\r\npath4=\r\nIndEstado=3\r\n");

    // The next run starts from them: units, state and the recent list.
    Criar(VANDORO_BIN_DIR);
    EXPECT_EQ(w->Modelo().Configuracao().UDecli, "%");
    EXPECT_EQ(w->Modelo().Quenda().IndEstado(), IndiceEstadoBanco(3));
    EXPECT_EQ(A("actRecente1")->text(), "&1/ nivel.kzp");
    EXPECT_TRUE(A("actRecente1")->isEnabled());
}

TEST_F(Principal, EntradaRuimDaAvisoEOProgramaSegue) {
    // Settings with nonsense values: one box naming the keys; the defaults stand in.
    const std::string ini = t.Arquivo("ruim.ini");
    GravarArquivo(ini, "[PRINCIPAL]\r\nUDecli=graus\r\nKDecli=7\r\nIndEstado=abc\r\npath1=/x/antigo.kzp\r\n");
    PastaTemporaria vazia;  // a program folder without its data folders
    Criar(Q(vazia.Caminho()), Q(ini));
    w->MostrarAvisosIniciais();
    const QStringList avisos = roteiro.Mensagens("aviso");
    ASSERT_EQ(avisos.size(), 2);
    EXPECT_EQ(avisos[0], Q("O arquivo de configuração " + ini +
                           " tem valores inválidos em UDecli, KDecli, IndEstado. O programa usa os valores padrão no "
                           "lugar deles."));
    const QString p = Q(vazia.Caminho());
    EXPECT_EQ(avisos[1], "Pastas de dados não encontradas:\n" + p + "/Exemplos\n" + p + "/texto\n" + p + "/ajuda\n" +
                             QDir::cleanPath(p + "/../Arquivos Comuns/Quenda") +
                             "\nO programa continua, mas o que depende delas não estará disponível.");
    EXPECT_EQ(w->Modelo().Configuracao().UDecli, "m/m");
    EXPECT_EQ(A("actRecente1")->text(), "&1/ antigo.kzp");

    Acionar("actPraticas");
    EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{"Não foi possível encontrar o arquivo " + p + "/texto/praticas.htm."});
    roteiro.dialogos = {Identificar({{"edtNome", "Ainda funciona"}})};
    Acionar("actNovo");
    EXPECT_EQ(w->Modelo().Identificacao().Nome(), "Ainda funciona");

    // A settings "file" that is a folder: it reads as empty (the defaults) and cannot be
    // written at shut-down; that gives a box and the program ends normally all the same.
    roteiro.registro.clear();
    const std::string pasta = t.Arquivo("pasta.ini");
    std::filesystem::create_directory(pasta);
    Criar(VANDORO_BIN_DIR, Q(pasta));
    EXPECT_EQ(w->Modelo().Configuracao().UDecli, "m/m");
    w->show();
    EXPECT_TRUE(w->close());
    EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{Q("Não foi possível gravar o arquivo " + pasta + ".")});
}

TEST_F(Principal, JanelasMinimizadasEmFilaEmbaixo) {
    w->resize(1000, 700);
    w->show();
    // Two small children (the sizing window is wider than half of this area).
    w->Area()->addSubWindow(new QLabel("uma"))->show();
    auto* outra = w->Area()->addSubWindow(new QLabel("outra"));
    outra->resize(300, 200);
    outra->show();
    Acionar("actMinimizadas");
    const auto lista = w->Area()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(lista.size(), 2);
    for (auto* s : lista) EXPECT_TRUE(s->isMinimized());
    Acionar("actArranjarIcones");
    const int base = w->Area()->viewport()->height();
    EXPECT_EQ(lista[0]->geometry().bottom() + 1, base);
    EXPECT_EQ(lista[1]->geometry().bottom() + 1, base);
    EXPECT_EQ(lista[0]->x(), 0);
    EXPECT_EQ(lista[1]->x(), lista[0]->width());
    // Tiled, the two restored windows share the area without overlapping.
    for (auto* s : lista) s->showNormal();
    Acionar("actLadoALado");
    EXPECT_FALSE(lista[0]->geometry().intersects(lista[1]->geometry()));
    EXPECT_EQ(lista[0]->width() + lista[1]->width(), w->Area()->viewport()->width());
    Acionar("actCascata");
    EXPECT_LT(lista[0]->y(), lista[1]->y());
}

TEST(Inicial, FechaComTeclaCliqueOuTempoESobreSemTempo) {
    TFInicial s;
    EXPECT_EQ(s.size(), QSize(600, 240));
    EXPECT_TRUE(s.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(s.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(s.Timer1().interval(), 5000);
    s.show();
    s.Timer1().start();
    QTest::keyClick(&s, Qt::Key_Space);
    EXPECT_FALSE(s.isVisible());
    EXPECT_FALSE(s.Timer1().isActive());

    s.show();
    s.Timer1().start();
    QTest::mouseClick(&s, Qt::LeftButton);
    EXPECT_FALSE(s.isVisible());
    EXPECT_FALSE(s.Timer1().isActive());

    s.show();
    s.Timer1().start(10);
    for (int i = 0; i < 100 && s.isVisible(); ++i) QTest::qWait(20);
    EXPECT_FALSE(s.isVisible());

    TDialogosRoteiro roteiro;
    bool parado = false;
    roteiro.dialogos = {[&](QDialog& d) {
        auto* i = dynamic_cast<TFInicial*>(&d);
        parado = i && !i->Timer1().isActive();
        return 0;
    }};
    MostrarSobre(nullptr);
    EXPECT_EQ(roteiro.registro, QStringList{"dialogo: Vandoro 4.1"});
    EXPECT_TRUE(parado);
}

}  // namespace

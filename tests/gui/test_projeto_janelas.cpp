// The main window's project commands as a user meets them: windows that close whole, a
// cancelled or failed open that changes nothing, a new project that starts clean, child
// windows inside the area, the start-up warnings above the start screen, the folders the
// file dialogs remember, and the recent list.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/IniFile.h"
#include "gui/shell/Inicial.h"
#include "gui/shell/Principal.h"

namespace fs = std::filesystem;

namespace {

const std::string kExemplos = VANDORO_BIN_DIR "/Exemplos/";
const char* const kDimensionamento = "Módulo para o dimensionamento - entrada de dados";

class ProjetoJanelas : public ::testing::Test {
protected:
    void SetUp() override {
        w = std::make_unique<TFPrincipal>(VANDORO_BIN_DIR, Q(t.Arquivo("VANDORO4.ini")));
        w->resize(1366, 768);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    void Acionar(const char* nome) {
        auto* a = w->findChild<QAction*>(nome);
        ASSERT_NE(a, nullptr) << nome;
        ASSERT_TRUE(a->isEnabled()) << nome;
        a->trigger();
        QTest::qWait(10);
    }
    QString Texto(const char* acao) const { return w->findChild<QAction*>(acao)->text(); }
    QStringList Janelas() const {
        QStringList r;
        for (QMdiSubWindow* s : w->Area()->subWindowList()) r << s->windowTitle().remove("[*]");
        return r;
    }
    std::string Copia(const std::string& exemplo, const std::string& nome) {
        const std::string c = t.Arquivo(nome);
        fs::create_directories(fs::path(c).parent_path());
        fs::copy_file(kExemplos + exemplo, c);
        return c;
    }
    // The area's visible rectangle holds the whole window, or the window is as small as it
    // can be and starts at the area's corner (the scroll bars reach the rest).
    void DentroDaArea(QMdiSubWindow* s) {
        ASSERT_NE(s, nullptr);
        const QRect area(QPoint(0, 0), w->Area()->viewport()->size());
        if (area.contains(s->geometry())) return;
        EXPECT_TRUE(s->width() <= area.width() || s->width() == s->minimumSizeHint().width()) << s->width();
        EXPECT_TRUE(s->height() <= area.height() || s->height() == s->minimumSizeHint().height()) << s->height();
        EXPECT_TRUE(s->x() + s->width() <= area.width() || s->x() == 0);
        EXPECT_TRUE(s->y() + s->height() <= area.height() || s->y() == 0);
    }

    PastaTemporaria t;
    TDialogosRoteiro roteiro;
    std::unique_ptr<TFPrincipal> w;
};

TEST_F(ProjetoJanelas, CancelarFechaAJanelaInteiraENovoMaisF6DeixaUma) {
    ASSERT_TRUE(w->AbrirArquivo(Q(Copia("Terraco em nivel.kzp", "nivel.kzp"))));
    ASSERT_EQ(Janelas(), QStringList{kDimensionamento});
    QMdiSubWindow* s = w->SubJanelaModulo("Dimensionamento");
    QTest::mouseClick(s->widget()->findChild<QPushButton*>("btnCancelar"), Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_TRUE(w->Area()->subWindowList().isEmpty());

    roteiro.dialogos = {[](QDialog& d) {
        d.reject();
        return int(QDialog::Rejected);
    }};
    Acionar("actNovo");
    Acionar("actDimensionamento");
    EXPECT_EQ(Janelas(), QStringList{kDimensionamento});
    Acionar("actDimensionamento");
    EXPECT_EQ(Janelas().size(), 1);
}

TEST_F(ProjetoJanelas, AbrirCanceladoOuQueFalhaNaoMexeEmNada) {
    const std::string nivel = Copia("Terraco em nivel.kzp", "nivel.kzp");
    ASSERT_TRUE(w->AbrirArquivo(Q(nivel)));
    QMdiSubWindow* janela = w->SubJanelaModulo("Dimensionamento");
    ASSERT_NE(janela, nullptr);
    auto* tr = janela->widget()->findChild<QLineEdit*>("edtTr");
    ASSERT_NE(tr, nullptr);
    const QString titulo = w->windowTitle();
    const QString trLido = tr->text();
    ASSERT_FALSE(trLido.isEmpty());

    // Cancel in the file dialog: the window and what it shows are untouched.
    roteiro.arquivos = {QString()};
    Acionar("actAbrir");
    EXPECT_EQ(w->SubJanelaModulo("Dimensionamento"), janela);
    EXPECT_EQ(tr->text(), trLido);

    const std::string vazio = t.Arquivo("vazio.kzp"), futuro = t.Arquivo("futuro.kzp"), lixo = t.Arquivo("lixo.kzp");
    GravarArquivo(vazio, "");
    GravarArquivo(futuro, "[VANDORO4]\r\nVersao=4.5\r\n");
    GravarArquivo(lixo, "%PDF-1.4\n\x80\x81\x82\n");
    const std::pair<std::string, QString> casos[] = {
        {t.Arquivo("sumiu.kzp"), "O arquivo não existe."},
        {vazio, "O arquivo está vazio."},
        {lixo, "O arquivo não é um projeto do Vandoro."},
        {futuro, "O arquivo foi gravado por uma versão mais nova do Vandoro (versão 4.5)."}};
    for (const auto& [arquivo, motivo] : casos) {
        roteiro.registro.clear();
        roteiro.arquivos = {Q(arquivo)};
        Acionar("actAbrir");
        EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{Q("Não foi possível abrir o arquivo " + arquivo + ". ") + motivo});
        EXPECT_EQ(w->SubJanelaModulo("Dimensionamento"), janela);
        EXPECT_EQ(tr->text(), trLido);
        EXPECT_EQ(w->windowTitle(), titulo);
        EXPECT_TRUE(w->findChild<QAction*>("actSalvar")->isEnabled());
    }
    EXPECT_EQ(w->Modelo().Precipitacao().Tr(), 10);

    // A recent entry whose file has gone: the box, and the entry leaves the list.
    const std::string outro = Copia("Terraco em gradiente.kzp", "outro.kzp");
    ASSERT_TRUE(w->AbrirArquivo(Q(outro)));
    ASSERT_TRUE(w->AbrirArquivo(Q(nivel)));
    janela = w->SubJanelaModulo("Dimensionamento");
    EXPECT_EQ(Texto("actRecente2"), "&2/ outro.kzp");
    fs::remove(outro);
    roteiro.registro.clear();
    Acionar("actRecente2");
    EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{Q("Não foi possível abrir o arquivo " + outro + ". O arquivo não existe.")});
    EXPECT_EQ(Texto("actRecente1"), "&1/ nivel.kzp");
    EXPECT_EQ(Texto("actRecente2"), "&2/ ");
    EXPECT_FALSE(w->findChild<QAction*>("actRecente2")->isEnabled());
    EXPECT_EQ(w->SubJanelaModulo("Dimensionamento"), janela);
}

TEST_F(ProjetoJanelas, NovoNaoLevaNadaDoProjetoAnterior) {
    ASSERT_TRUE(w->AbrirArquivo(Q(Copia("Bacia de acumulacao.kzp", "bacia.kzp"))));
    roteiro.dialogos = {[](QDialog& d) {
        d.reject();
        return int(QDialog::Rejected);
    }};
    Acionar("actNovo");
    EXPECT_TRUE(w->Area()->subWindowList().isEmpty());
    const std::string novo = t.Arquivo("novo.kzp");
    roteiro.arquivos = {Q(novo)};
    Acionar("actSalvar");
    IniFile ini(novo);
    EXPECT_EQ(ini.ReadString("BaciaAcumulacao", "Profundidade", "?"), "0");
    EXPECT_EQ(ini.ReadString("BaciaAcumulacao", "m1", "?"), "0");
    EXPECT_EQ(ini.ReadString("VANDORO4", "AreaContribBacia", "?"), "0");
    EXPECT_EQ(ini.ReadString("VANDORO4", "MODULO", "?"), "");
}

TEST_F(ProjetoJanelas, CamposIlegiveisDaoAvisoAoAbrir) {
    const std::string arq = Copia("Terraco em nivel.kzp", "nivel.kzp");
    {
        IniFile ini(arq);
        ini.WriteString("PREC_EXPONENCIAL_NEGATIVA", "K", "abc");
        ini.WriteString("PREC_EXPONENCIAL_NEGATIVA", "Tr", "-5");
        ini.UpdateFile();
    }
    roteiro.arquivos = {Q(arq)};
    Acionar("actAbrir");
    EXPECT_EQ(roteiro.Mensagens("aviso"),
              QStringList{"O projeto foi aberto, mas os valores destes campos não puderam ser lidos e ficaram em "
                          "branco: Tr, K."});
    auto* j = w->SubJanelaModulo("Dimensionamento");
    ASSERT_NE(j, nullptr);
    EXPECT_EQ(j->widget()->findChild<QLineEdit*>("edtTr")->text(), "");
    EXPECT_EQ(j->widget()->findChild<QLineEdit*>("edtK")->text(), "");
}

TEST_F(ProjetoJanelas, JanelasDentroDaAreaEmCascataTambem) {
    ASSERT_TRUE(w->AbrirArquivo(Q(Copia("Locacao em nivel.kzp", "locacao.kzp"))));
    DentroDaArea(w->SubJanelaModulo("Locacao"));
    Acionar("actDimensionamento");
    DentroDaArea(w->SubJanelaModulo("Dimensionamento"));
    // A window placed off the area by hand comes back inside on "Cascata".
    w->SubJanelaModulo("Dimensionamento")->move(1200, 600);
    Acionar("actCascata");
    DentroDaArea(w->SubJanelaModulo("Dimensionamento"));
    EXPECT_LE(w->SubJanelaModulo("Dimensionamento")->geometry().bottom(),
              std::max(w->Area()->viewport()->height(), w->SubJanelaModulo("Dimensionamento")->minimumSizeHint().height()));
}

TEST_F(ProjetoJanelas, ALocationOfAGradedDesignStaysGradedAndOneOfBasinsStartsOnLevelTerraces) {
    ASSERT_TRUE(w->AbrirArquivo(Q(Copia("Terraco em gradiente.kzp", "gradiente.kzp"))));
    Acionar("actLocacao");
    EXPECT_EQ(w->Modelo().TipoSistema().Tipo(), TTipoSistema::Gradiente);
    auto* j = w->SubJanelaModulo("Locacao");
    ASSERT_NE(j, nullptr);
    EXPECT_EQ(j->widget()->findChild<QComboBox*>("cbSistema")->currentIndex(), 1);
    EXPECT_EQ(j->widget()->findChild<QLineEdit*>("edtRugCanal")->text(), "0,035");
    w->GerenteSis1().SetAlterado(false);
    ASSERT_TRUE(w->AbrirArquivo(Q(Copia("Bacia de acumulacao.kzp", "bacia.kzp"))));
    Acionar("actLocacao");
    EXPECT_EQ(w->Modelo().TipoSistema().Tipo(), TTipoSistema::Nivel);
    EXPECT_EQ(w->SubJanelaModulo("Locacao")->widget()->findChild<QComboBox*>("cbSistema")->currentIndex(), 0);
}

TEST_F(ProjetoJanelas, SalvarTiraOAsteriscoDaJanela) {
    ASSERT_TRUE(w->AbrirArquivo(Q(Copia("Terraco em nivel.kzp", "nivel.kzp"))));
    QWidget* j = w->SubJanelaModulo("Dimensionamento")->widget();
    auto* tr = j->findChild<QLineEdit*>("edtTr");
    tr->setFocus();
    tr->selectAll();
    QTest::keyClicks(tr, "25");
    ASSERT_TRUE(j->isWindowModified());
    ASSERT_TRUE(w->GerenteSis1().Alterado());
    Acionar("actSalvar");
    EXPECT_FALSE(w->GerenteSis1().Alterado());
    EXPECT_FALSE(j->isWindowModified());
    EXPECT_EQ(IniFile(t.Arquivo("nivel.kzp")).ReadString("PREC_EXPONENCIAL_NEGATIVA", "Tr", ""), "25");
}

TEST_F(ProjetoJanelas, ListaRecenteSemRepetirEComPastas) {
    const std::string a = Copia("Terraco em nivel.kzp", "A/nivel.kzp");
    const std::string b = Copia("Terraco em nivel.kzp", "B/nivel.kzp");
    ASSERT_TRUE(w->AbrirArquivo(Q(a)));
    ASSERT_TRUE(w->AbrirArquivo(Q(b)));
    ASSERT_TRUE(w->AbrirArquivo(Q(t.Arquivo("B/../A/./nivel.kzp"))));
    EXPECT_EQ(Texto("actRecente1"), Q("&1/ nivel.kzp (" + t.Arquivo("A") + ")"));
    EXPECT_EQ(Texto("actRecente2"), Q("&2/ nivel.kzp (" + t.Arquivo("B") + ")"));
    EXPECT_EQ(Texto("actRecente3"), "&3/ ");
}

TEST(AvisosIniciais, AparecemSemATelaInicialPorCima) {
    PastaTemporaria t;
    const std::string ini = t.Arquivo("ruim.ini");
    GravarArquivo(ini, "[PRINCIPAL]\r\nUDecli=graus\r\n");
    class TRoteiroComTela : public TDialogosRoteiro {
    public:
        QWidget* inicial = nullptr;
        QList<bool> visivel;
        void Aviso(QWidget* pai, const QString& texto) override {
            visivel << inicial->isVisible();
            TDialogosRoteiro::Aviso(pai, texto);
        }
    } roteiro;
    TFInicial inicial;
    roteiro.inicial = &inicial;
    inicial.show();
    TFPrincipal w(VANDORO_BIN_DIR, Q(ini));
    w.show();
    w.MostrarAvisosIniciais(&inicial);
    ASSERT_FALSE(roteiro.visivel.isEmpty());
    EXPECT_FALSE(roteiro.visivel.contains(true));
}

TEST(PastasDosDialogos, CadaTipoComecaOndeOUsuarioEsteve) {
    PastaTemporaria t;
    fs::create_directories(t.Arquivo("dados"));
    const QString grades = "Grades (*.asc)", projetos = "Projetos do Vandoro (*.kzp)";
    const QString exemplos = QStringLiteral(VANDORO_BIN_DIR "/Exemplos");
    // Nothing remembered: the caller's proposal stands.
    EXPECT_EQ(InicioDialogoArquivo("Nunca (*.nada)", exemplos), exemplos);

    LembrarPastaDialogo(grades, Q(t.Arquivo("dados/mde.asc")));
    LembrarPastaDialogo(projetos, QString());  // a cancelled dialog changes nothing
    EXPECT_EQ(InicioDialogoArquivo(grades, exemplos), Q(t.Arquivo("dados")));
    EXPECT_EQ(InicioDialogoArquivo(grades, QString()), Q(t.Arquivo("dados")));
    EXPECT_EQ(InicioDialogoArquivo(grades, "declividade.asc"), Q(t.Arquivo("dados/declividade.asc")));
    EXPECT_EQ(InicioDialogoArquivo(grades, "/outra/pasta/saida.asc"), "/outra/pasta/saida.asc");
    EXPECT_EQ(InicioDialogoArquivo(projetos, exemplos), exemplos);
}

}  // namespace

// The safety net under every slot and event: an error that reaches the event loop becomes
// the error box and the program goes on. The raster tools' main buttons pressed with files
// the core refuses end in a box, never in a crash.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/Erros.h"
#include "gui/common/Aplicacao.h"
#include "gui/raster/AbrirArq.h"
#include "gui/raster/FDeclividade.h"
#include "gui/raster/FFiltro.h"
#include "gui/raster/FImportExport.h"
#include "gui/raster/Visualizar.h"

namespace {

// A button whose press throws from inside its own event handler.
class TBotaoQueFalha : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void mousePressEvent(QMouseEvent*) override { throw EVandoro("O botão falhou."); }
};

TEST(RedeSeguranca, AnErrorFromASlotOrAnEventBecomesTheErrorBox) {
    TDialogosRoteiro roteiro;
    int depois = 0;
    QTimer::singleShot(0, [] { throw EVandoro("O valor do parâmetro \"Tr\" deve ser maior que zero."); });
    QTimer::singleShot(0, [] { throw std::out_of_range("vector::at"); });
    QTimer::singleShot(0, [] { throw std::bad_alloc(); });
    QTimer::singleShot(0, [] { throw 42; });
    QTimer::singleShot(0, [&] { ++depois; });  // the loop goes on after them
    QTest::qWait(50);
    EXPECT_EQ(roteiro.registro, (QStringList{"erro: O valor do parâmetro \"Tr\" deve ser maior que zero.",
                                             "erro: vector::at",
                                             "erro: Memória insuficiente para esta operação. A operação foi "
                                             "interrompida.",
                                             "erro: Ocorreu um erro inesperado. A operação foi interrompida."}));
    EXPECT_EQ(depois, 1);

    // A button of a window: the box, and the window is still there to be used.
    roteiro.registro.clear();
    QWidget janela;
    auto* b = new TBotaoQueFalha("&Calcular", &janela);
    int cliques = 0;
    auto* bom = new QPushButton("&Outro", &janela);
    bom->move(0, 40);
    QObject::connect(bom, &QPushButton::clicked, [&] { ++cliques; });
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::mouseClick(bom, Qt::LeftButton);
    EXPECT_EQ(roteiro.registro, QStringList{"erro: O botão falhou."});
    EXPECT_EQ(cliques, 1);
    EXPECT_TRUE(janela.isVisible());
}

TEST(TraducoesQt, OsDialogosDoQtFalamPortugues) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_TRUE(CarregarTraducoesQt(*app));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancelar");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), "&Nome do arquivo:");
    // The other tests expect Qt as it was.
    for (auto* t : app->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

// The tools' own buttons, pressed as a user does, on a file that is not there and on a grid
// that is not a grid. Whatever the message, it is a box, and the window is still usable.
class FerramentasComArquivosRuins : public ::testing::Test {
protected:
    void SetUp() override {
        GravarArquivo(lixo, "ncols abc\nnrows -3\nisto não é uma grade\n\x01\x02\x03");
        GravarArquivo(vetorLixo, "IDRISI? \xff\xfe\nnada\n");
    }
    void Processar(QDialog& d, const char* botao, const QString& entrada) {
        roteiro.registro.clear();
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        d.findChild<QLineEdit*>("edtArqEntrada")->setText(entrada);
        d.findChild<QLineEdit*>("edtArqSaida")->setText(Q(t.Arquivo("saida.asc")));
        QTest::mouseClick(d.findChild<QPushButton*>(botao), Qt::LeftButton);
        QTest::qWait(20);
        EXPECT_EQ(roteiro.Mensagens("erro").size() + roteiro.Mensagens("aviso").size(), 1) << roteiro.registro.join("\n").toStdString();
        EXPECT_TRUE(d.isVisible());
    }
    PastaTemporaria t;
    TDialogosRoteiro roteiro;
    const std::string lixo = t.Arquivo("lixo.asc");
    const std::string vetorLixo = t.Arquivo("lixo.vec");
};

TEST_F(FerramentasComArquivosRuins, DeclividadeEFiltro) {
    for (const QString& entrada : {Q(t.Arquivo("nao existe.asc")), Q(lixo)}) {
        TFDeclividade declividade;
        Processar(declividade, "BitBtnCalcular", entrada);
        TFFiltro filtro;
        Processar(filtro, "BitBtnCalcular", entrada);
    }
    EXPECT_FALSE(std::filesystem::exists(t.Arquivo("saida.asc")));
}

TEST_F(FerramentasComArquivosRuins, ImportacaoEExportacao) {
    const std::pair<const char*, const char*> modos[] = {{kLegendaImportacao, "BitBtnImport"},
                                                         {kLegendaExportacao, "BitBtnExport"}};
    for (const auto& [legenda, botao] : modos) {
        for (const std::string& entrada : {t.Arquivo("nao existe.vec"), vetorLixo}) {
            roteiro.registro.clear();
            TFImportExport d;
            d.setWindowTitle(QString::fromUtf8(legenda));
            d.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
            roteiro.arquivos = {Q(entrada), Q(t.Arquivo("saida.vet"))};
            d.BitBtnAbrirClick();
            d.BitBtnSalvarClick();
            QTest::mouseClick(d.findChild<QPushButton*>(botao), Qt::LeftButton);
            QTest::qWait(20);
            EXPECT_GE(roteiro.Mensagens("erro").size() + roteiro.Mensagens("aviso").size(), 1)
                << legenda << " " << entrada << "\n" << roteiro.registro.join("\n").toStdString();
            EXPECT_TRUE(d.isVisible());
        }
    }
}

TEST_F(FerramentasComArquivosRuins, VisualizadorAbre) {
    TContextoVisualizar ctx;
    ctx.pastaPrograma = QStringLiteral(VANDORO_BIN_DIR "/");
    const QString paleta = PastaPaletas(QStringLiteral(VANDORO_BIN_DIR "/")) + "cinza1.pal";
    for (const QString& imagem : {Q(t.Arquivo("nao existe.asc")), Q(lixo)}) {
        roteiro.registro.clear();
        EXPECT_EQ(AbrirVisualizador(ctx, imagem, paleta, 100), nullptr);
        EXPECT_EQ(roteiro.Mensagens("erro").size(), 1) << roteiro.registro.join("\n").toStdString();
    }
    EXPECT_TRUE(TFVisualizar::Abertos().isEmpty());
}

}  // namespace

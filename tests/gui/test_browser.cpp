// The document browser on real pages: history, find, printing to PDF, help and the shipped
// pages.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Browser.h"
#include "gui/common/Impressora.h"
#include "gui/common/Localizar.h"
#include "gui/common/VisualizadorHtml.h"

namespace {

QString Pagina(const PastaTemporaria& pasta, const QString& nome, const QString& titulo, const QString& corpo) {
    const QString caminho = QString::fromStdString(pasta.Arquivo(nome.toStdString()));
    QFile f(caminho);
    f.open(QIODevice::WriteOnly);
    f.write(("<html><head><meta charset=\"utf-8\"><title>" + titulo + "</title></head><body>" + corpo + "</body></html>")
                .toUtf8());
    return caminho;
}

bool Ativo(const TFBrowser& b, const char* botao) { return b.findChild<QToolButton*>(botao)->isEnabled(); }
void Clicar(const TFBrowser& b, const char* botao) { QTest::mouseClick(b.findChild<QToolButton*>(botao), Qt::LeftButton); }

// Page objects of a PDF file (not the /Pages tree node).
int PaginasPdf(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return int(QString::fromLatin1(f.readAll()).count(QRegularExpression("/Type\\s*/Page(?![s\\w])")));
}

// n sections, each ending in a page break but the last.
QString Secoes(int n) {
    QString s;
    for (int i = 1; i <= n; ++i)
        s += QString("<p style=\"%1\">Seção %2</p>").arg(i < n ? "page-break-after: always" : "").arg(i);
    return s;
}

}  // namespace

TEST(Browser, HistoricoDeQuinzePaginasComVoltarEAvancar) {
    PastaTemporaria pasta;
    QStringList paginas;
    for (int i = 1; i <= 17; ++i)
        paginas << Pagina(pasta, QString("p%1.htm").arg(i), QString("Página %1").arg(i), "texto");
    TFBrowser b;
    b.SetPaginaInicial(paginas[0]);
    b.show();
    EXPECT_EQ(b.windowTitle(), "Página 1");
    EXPECT_FALSE(Ativo(b, "btnVoltar"));
    EXPECT_FALSE(Ativo(b, "btnAvancar"));
    EXPECT_TRUE(Ativo(b, "btnImprimir"));

    b.Html()->Carregar(paginas[1]);
    b.Html()->Carregar(paginas[2]);
    Clicar(b, "btnVoltar");
    EXPECT_EQ(b.windowTitle(), "Página 2");
    EXPECT_TRUE(Ativo(b, "btnVoltar"));
    EXPECT_TRUE(Ativo(b, "btnAvancar"));
    Clicar(b, "btnVoltar");
    EXPECT_EQ(b.windowTitle(), "Página 1");
    EXPECT_FALSE(Ativo(b, "btnVoltar"));
    Clicar(b, "btnAvancar");
    EXPECT_EQ(b.windowTitle(), "Página 2");

    // A new page from the middle drops the pages ahead of it.
    b.Html()->Carregar(paginas[3]);
    EXPECT_EQ(b.Html()->TamanhoHistorico(), 3);
    EXPECT_FALSE(Ativo(b, "btnAvancar"));
    b.Html()->Carregar(paginas[3]);  // the same page again adds nothing
    EXPECT_EQ(b.Html()->TamanhoHistorico(), 3);

    for (int i = 4; i < 16; ++i) b.Html()->Carregar(paginas[i]);
    // 1, 2, 4..16 in the history: 15, none dropped yet.
    ASSERT_EQ(b.Html()->TamanhoHistorico(), 15);
    EXPECT_EQ(b.Html()->Historico(14).toLocalFile(), paginas[0]);
    b.Html()->Carregar(paginas[16]);  // the sixteenth drops page 1
    ASSERT_EQ(b.Html()->TamanhoHistorico(), 15);
    EXPECT_EQ(b.Html()->Historico(0).toLocalFile(), paginas[16]);
    EXPECT_EQ(b.Html()->Historico(14).toLocalFile(), paginas[1]);
    for (int i = 0; i < 14; ++i) Clicar(b, "btnVoltar");
    EXPECT_EQ(b.windowTitle(), "Página 2");
    EXPECT_FALSE(Ativo(b, "btnVoltar"));

    Clicar(b, "btnInicio");
    EXPECT_EQ(b.windowTitle(), "Página 1");
    EXPECT_EQ(b.Html()->TamanhoHistorico(), 2);  // the pages ahead of page 2 were dropped
}

TEST(Browser, LocalizarAteOFimAvisaEDeixaAVistaOndeEstava) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    QString corpo = "<p>Terraço em nível.</p>";
    for (int i = 0; i < 200; ++i) corpo += "<p>linha de enchimento</p>";
    corpo += "<p>O terraço com gradiente.</p>";
    TFBrowser b;
    b.SetPaginaInicial(Pagina(pasta, "a.htm", "Busca", corpo));
    b.show();
    b.AbrirLocalizar();
    TFLocalizar* d = b.DialogoLocalizar();
    ASSERT_TRUE(d->isVisible());
    d->findChild<QLineEdit*>("edtTexto")->setText("terraço");
    QPushButton* proxima = d->findChild<QPushButton*>("btnProxima");

    QTest::mouseClick(proxima, Qt::LeftButton);  // case ignored: the capital one first
    EXPECT_EQ(b.Html()->textCursor().selectedText(), "Terraço");
    QTest::mouseClick(proxima, Qt::LeftButton);
    EXPECT_EQ(b.Html()->textCursor().selectedText(), "terraço");
    const int posicao = b.Html()->textCursor().position();
    const int rolagem = b.Html()->verticalScrollBar()->value();
    EXPECT_GT(rolagem, 0);
    EXPECT_TRUE(roteiro.registro.isEmpty());

    QTest::mouseClick(proxima, Qt::LeftButton);
    EXPECT_EQ(roteiro.registro, QStringList{"info: Nenhuma ocorrência a mais de \"terraço\""});
    EXPECT_EQ(b.Html()->textCursor().position(), posicao);
    EXPECT_EQ(b.Html()->verticalScrollBar()->value(), rolagem);

    // Matching case from the top finds only the lower-case word.
    b.Html()->moveCursor(QTextCursor::Start);
    d->findChild<QCheckBox*>("chkMaiusculas")->setChecked(true);
    d->findChild<QLineEdit*>("edtTexto")->setText("Terraço");
    QTest::mouseClick(proxima, Qt::LeftButton);
    QTest::mouseClick(proxima, Qt::LeftButton);
    EXPECT_EQ(roteiro.Mensagens("info").size(), 2);
}

TEST(Browser, ImprimeNaImpressoraProgramaTodasAsPaginasOuOIntervalo) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    TFBrowser b;
    b.SetPaginaInicial(Pagina(pasta, "s.htm", "Seções", Secoes(5)));
    b.show();
    QPrinter& impressora = ImpressoraPrograma();
    impressora.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = QString::fromStdString(pasta.Arquivo("impresso.pdf"));
    impressora.setOutputFileName(pdf);

    impressora.setPrintRange(QPrinter::AllPages);
    Clicar(b, "btnImprimir");
    EXPECT_EQ(PaginasPdf(pdf), 5);

    impressora.setPrintRange(QPrinter::PageRange);
    impressora.setFromTo(2, 3);
    Clicar(b, "btnImprimir");
    EXPECT_EQ(PaginasPdf(pdf), 2);

    QFile::remove(pdf);
    roteiro.imprimir = false;  // cancelled in the print dialog
    Clicar(b, "btnImprimir");
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_EQ(roteiro.registro, QStringList({"imprimir", "imprimir", "imprimir"}));
    impressora.setPrintRange(QPrinter::AllPages);
    impressora.setOutputFileName({});
}

TEST(Browser, PaginaLongaCabecalhoERodapeEmCadaFolha) {
    PastaTemporaria pasta;
    QString corpo;
    for (int i = 0; i < 400; ++i) corpo += QString("<p>Parágrafo %1 de uma página longa.</p>").arg(i);
    TVisualizadorHtml v;
    v.Carregar(Pagina(pasta, "longa.htm", "Longa", corpo));
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    const QString arquivo = QString::fromStdString(pasta.Arquivo("longa.pdf"));
    pdf.setOutputFileName(arquivo);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    QList<int> cabecalhos, rodapes;
    double largura = 0;
    const int n = v.Imprimir(
        pdf, 1, 9999, [&](QPainter&, const TVisualizadorHtml::TPagina& p) { cabecalhos << p.numero; largura = p.largura; },
        [&](QPainter&, const TVisualizadorHtml::TPagina& p) { rodapes << p.numero; });
    // 400 lines of about 20 units on an A4 body of about 995 units: several pages.
    EXPECT_GT(n, 5);
    EXPECT_EQ(PaginasPdf(arquivo), n);
    QList<int> esperado;
    for (int i = 1; i <= n; ++i) esperado << i;
    EXPECT_EQ(cabecalhos, esperado);
    EXPECT_EQ(rodapes, esperado);
    EXPECT_NEAR(largura, 210 / 25.4 * 96, 1);  // A4 width in 1/96 inch

    // A range beyond the end prints what there is.
    QList<int> poucos;
    EXPECT_EQ(v.Imprimir(pdf, n - 1, n + 5, [&](QPainter&, const auto& p) { poucos << p.numero; }, {}), 2);
    EXPECT_EQ(poucos, QList<int>({n - 1, n}));
}

TEST(Browser, ExportarPdfComAsMesmasPaginasDaImpressao) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    TFBrowser b;
    b.SetPaginaInicial(Pagina(pasta, "s.htm", "Seções", Secoes(3)));
    b.show();
    const QString base = QString::fromStdString(pasta.Arquivo("saida"));
    roteiro.arquivos = {base};  // typed without the extension
    Clicar(b, "btnExportarPdf");
    EXPECT_EQ(PaginasPdf(base + ".pdf"), 3);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(NomeTemporario(base.toStdString() + ".pdf"))));

    // Over an existing file: asked first; "Não" keeps it.
    QFile f(base + ".pdf");
    f.open(QIODevice::WriteOnly);
    f.write("antigo");
    f.close();
    roteiro.arquivos = {base + ".pdf"};
    roteiro.respostas = {TResposta::Nao};
    Clicar(b, "btnExportarPdf");
    EXPECT_EQ(LerArquivo(S(base + ".pdf")), "antigo");
    EXPECT_EQ(roteiro.Mensagens("pergunta"),
              QStringList{"O arquivo 'saida.pdf' já existe. Deseja substituir o arquivo existente ?"});

    // A folder that cannot hold the file: the error box, nothing left behind.
    roteiro.arquivos = {QString::fromStdString(pasta.Arquivo("s.htm/x.pdf"))};
    Clicar(b, "btnExportarPdf");
    ASSERT_EQ(roteiro.Mensagens("erro").size(), 1);
    EXPECT_TRUE(roteiro.Mensagens("erro")[0].startsWith("Não foi possível gravar o arquivo"));
}

TEST(Browser, ComponenteSobreAjudaESairTamanho) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const QString inicio = Pagina(pasta, "i.htm", "Início das práticas", "<p>x</p>");
    int sobre = 0;
    TBrowser c;
    c.HelpContext = 13;
    c.Sobre = [&](QWidget*) { ++sobre; };
    roteiro.dialogos.push_back([&](QDialog& d) {
        d.show();
        EXPECT_EQ(d.windowTitle(), "Início das práticas");
        EXPECT_FALSE(d.findChild<QAction*>("mnuSobre")->isVisible());
        const QSize tela = d.screen()->geometry().size();
        EXPECT_EQ(d.maximumSize(), tela);
        EXPECT_EQ(d.minimumSize(), QSize(qRound(tela.width() * 0.75), qRound(tela.height() * 0.75)));
        EXPECT_EQ(d.findChild<QToolButton*>("btnSair")->text(), "      Sair       ");
        ReiniciarAvisoAjuda();
        QTest::mouseClick(d.findChild<QToolButton*>("btnAjuda"), Qt::LeftButton);
        QTest::mouseClick(d.findChild<QToolButton*>("btnSair"), Qt::LeftButton);
        return d.result();
    });
    EXPECT_TRUE(c.show(inicio));
    // The test program has no help folder beside it: topic 13 is reported missing.
    EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{"Arquivo de ajuda não encontrado\r" + PaginaAjuda(13)});

    c.ShowAbout = true;
    roteiro.dialogos.push_back([&](QDialog& d) {
        d.show();
        QAction* a = d.findChild<QAction*>("mnuSobre");
        EXPECT_TRUE(a->isVisible());
        a->trigger();
        d.reject();  // closed by the window's own button: not OK
        return d.result();
    });
    EXPECT_FALSE(c.show(inicio));
    EXPECT_EQ(sobre, 1);

    EXPECT_FALSE(c.show(inicio + ".nao"));
    EXPECT_EQ(roteiro.Mensagens("erro").last(), "Não foi possível abrir o arquivo " + inicio + ".nao.");
}

TEST(Ajuda, PaginaAusenteAvisadaUmaVezSo) {
    TDialogosRoteiro roteiro;
    ReiniciarAvisoAjuda();
    AbrirAjuda(nullptr, 9998);
    AbrirAjuda(nullptr, 9999);
    EXPECT_EQ(roteiro.registro, QStringList{"erro: Arquivo de ajuda não encontrado\r" + PaginaAjuda(9998)});
}

// Every link and picture of the shipped pages reaches a file beside the program, and every
// help topic of the shell has its page with a title.
TEST(Paginas, LinksEFigurasDasPaginasDoProgramaExistem) {
    const QDir bin(VANDORO_BIN_DIR);
    for (int topico : {0, kTopicoNavegador, 5, 6, 13})
        EXPECT_TRUE(bin.exists(QString("ajuda/%1.htm").arg(topico))) << topico;
    int links = 0;
    for (const QString& pasta : {QString("texto"), QString("ajuda")}) {
        for (const QFileInfo& f : QDir(bin.filePath(pasta)).entryInfoList({"*.htm"})) {
            TVisualizadorHtml v;
            v.Carregar(f.absoluteFilePath());
            EXPECT_FALSE(v.Titulo().isEmpty()) << f.fileName().toStdString();
            QFile arq(f.absoluteFilePath());
            arq.open(QIODevice::ReadOnly);
            const QString html = QString::fromUtf8(arq.readAll());
            QRegularExpression re("(?:href|src)=\"([^\"#]+)\"");
            for (auto it = re.globalMatch(html); it.hasNext();) {
                const QString alvo = it.next().captured(1);
                if (alvo.contains(':')) continue;
                ++links;
                EXPECT_TRUE(QFileInfo::exists(f.dir().filePath(alvo))) << f.fileName().toStdString() << " -> "
                                                                        << alvo.toStdString();
            }
        }
    }
    EXPECT_GT(links, 20);
}

TEST(Browser, UmaPaginaQueSoPassaDaLarguraPorArredondamentoNaoGanhaBarraHorizontal) {
    // A picture as wide as the text's room plus one pixel runs one pixel past the view, as a
    // 100 % table's rounding can; one 60 pixels wider really needs the bar.
    TVisualizadorHtml v;
    v.resize(600, 300);
    v.show();
    QApplication::processEvents();
    const int sala = v.viewport()->width() - 2 * int(v.document()->documentMargin());
    const auto Pagina = [&](int largura) {
        QImage img(largura, 20, QImage::Format_RGB32);
        img.fill(Qt::gray);
        v.document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("f.png")), img);
        v.setHtml(QStringLiteral("<p>texto</p><img src=\"f.png\">"));
        QApplication::processEvents();
        return std::pair{v.horizontalScrollBar()->maximum(), v.horizontalScrollBar()->isVisible()};
    };
    EXPECT_EQ(Pagina(sala), std::pair(0, false));
    EXPECT_EQ(Pagina(sala + 1), std::pair(1, false));
    const auto [maximo, visivel] = Pagina(sala + 60);
    EXPECT_GT(maximo, TVisualizadorHtml::kSobraSemBarra);
    EXPECT_TRUE(visivel);
    // Back to a page that fits, the bar goes again.
    EXPECT_EQ(Pagina(sala).second, false);
}

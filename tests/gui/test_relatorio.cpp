// The report window over the shipped examples: the core's text, pictures as resources, the
// one print path (page ranges, PDF export), the saved HTML and the location report.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextDocument>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/location/BDT.h"
#include "core/location/RelatorioLocacao.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/RelatorioDimensionamento.h"
#include "gui/common/FRelatorio.h"
#include "gui/common/Grafico.h"
#include "gui/common/Impressora.h"
#include "gui/common/VisualizadorHtml.h"
#include "gui/sizing/FrmDimensionamento.h"
#include "gui/sizing/PaginaSimulacao.h"

namespace {

const QString kBin = QStringLiteral(VANDORO_BIN_DIR);
std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }

struct Calculado {
    TModeloProjeto m;
    TGerenteSis g;
    TfrmDimensionamento* w;
    explicit Calculado(const char* exemplo) {
        m.AbrirProjetoSemAlterar(Exemplo(exemplo));
        w = new TfrmDimensionamento(m, g);
        w->SetPastaFiguras(kBin);
        w->show();
        w->btnCalcularClick();
    }
    ~Calculado() { delete w; }
};

TOpcoesRelatorio Opcoes() {
    TOpcoesRelatorio o;
    o.PastaPrograma = S(kBin) + "/";
    return o;
}

// What a scripted run of the window saw.
struct Visto {
    QString legenda, texto, html;
    bool maximizada = false, carregada = false, cabecalho = false;
    QSize minimo;
    QImage bit;
};

std::function<int(QDialog&)> Ver(Visto& v) {
    return [&v](QDialog& d) {
        auto& r = static_cast<TFRelatorio&>(d);
        d.show();
        v.legenda = d.windowTitle();
        v.texto = r.Texto();
        v.html = r.Visualizador()->toHtml();
        v.carregada = r.Carregado();
        v.maximizada = d.windowState() & Qt::WindowMaximized;
        v.minimo = d.minimumSize();
        v.cabecalho = !r.Imagem(kBin + "/Cabecalho.jpg").isNull();
        v.bit = r.Imagem("Bit.bmp");
        return 0;
    };
}

int PaginasPdf(const QByteArray& pdf) { return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page>")); }

QByteArray Ler(const QString& f) {
    QFile a(f);
    return a.open(QIODevice::ReadOnly) ? a.readAll() : QByteArray();
}

// Prints pages de..ate (0: every page) as the print dialog would have chosen.
class RoteiroImpressao : public TDialogosRoteiro {
public:
    int de = 0, ate = 0;
    bool Imprimir(QWidget* w, QPrinter& p) override {
        if (de > 0) {
            p.setPrintRange(QPrinter::PageRange);
            p.setFromTo(de, ate);
        }
        return TDialogosRoteiro::Imprimir(w, p);
    }
};

}  // namespace

TEST(FRelatorio, EachExampleShowsTheCoresReportMaximizedWithItsHeader) {
    TDialogosRoteiro roteiro;
    const struct {
        const char* exemplo;
        const char* titulo;
        const char* botao;
    } casos[] = {{"Terraco em nivel.kzp", kTituloRelatorioNivel, "btnRelatorio"},
                 {"Terraco em gradiente.kzp", kTituloRelatorioGradiente, "btnRelatorio"},
                 {"Bacia de acumulacao.kzp", kTituloRelatorioBacia, "btnRelatorioBacia"}};
    const QSize tela = QGuiApplication::primaryScreen()->availableGeometry().size();
    for (const auto& c : casos) {
        Calculado a(c.exemplo), b(c.exemplo);
        Visto v;
        roteiro.dialogos.push_back(Ver(v));
        a.w->findChild<QPushButton*>(c.botao)->click();
        EXPECT_TRUE(roteiro.dialogos.empty()) << c.exemplo;
        EXPECT_EQ(v.legenda, Q(LegendaJanelaRelatorio(c.titulo)));
        // The terraces' report carries the window's drawing of the built section.
        TOpcoesRelatorio o = Opcoes();
        if (std::string(c.botao) == "btnRelatorio") o.Secao = FiguraSecaoRelatorio();
        EXPECT_EQ(S(v.texto), RelatorioDimensionamento(b.m, o)) << c.exemplo;
        EXPECT_TRUE(v.carregada);
        EXPECT_TRUE(v.html.contains(QStringLiteral("RELATÓRIO")));
        EXPECT_TRUE(v.maximizada);
        EXPECT_EQ(v.minimo, tela * 0.8);
        EXPECT_TRUE(v.cabecalho) << c.exemplo;
        EXPECT_FALSE(v.texto.contains(QStringLiteral("SIMULAÇÃO")));
    }
}

TEST(FRelatorio, FromTheSimulationPageTheChartIsAResourceAndNoFileIsWritten) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const QString antes = QDir::currentPath();
    QDir::setCurrent(Q(pasta.Caminho()));
    Calculado a("Terraco em gradiente.kzp");
    a.w->BtnSimulaClick();
    Visto v;
    roteiro.dialogos.push_back(Ver(v));
    a.w->findChild<QPushButton*>("btnRelatorioSimula")->click();
    QDir::setCurrent(antes);
    ASSERT_FALSE(v.bit.isNull());
    EXPECT_EQ(v.bit.size(), a.w->PaginaSimulacao()->Grafico()->size());
    EXPECT_TRUE(v.texto.contains(QStringLiteral("<B>SIMULAÇÃO</B>")));
    EXPECT_TRUE(v.texto.contains(QStringLiteral("<IMG SRC=\"Bit.bmp\" HEIGHT=%1 WIDTH=%2>").arg(v.bit.height()).arg(v.bit.width())));
    EXPECT_TRUE(QDir(Q(pasta.Caminho())).entryList(QDir::Files).isEmpty());
}

TEST(FRelatorio, PrintsPageRangesAndExportsTheSamePagesToPdf) {
    RoteiroImpressao roteiro;
    PastaTemporaria pasta;
    Calculado a("Terraco em gradiente.kzp");
    a.w->BtnSimulaClick();
    const QImage grafico = a.w->PaginaSimulacao()->Grafico()->Imagem();
    TOpcoesRelatorio o = Opcoes();
    o.Simulacao = TFiguraGrafico{"Bit.bmp", grafico.height(), grafico.width()};
    TFRelatorio r(Q(LegendaJanelaRelatorio(kTituloRelatorioGradiente)), Q(RelatorioDimensionamento(a.m, o)));
    r.AdicionarImagem("Bit.bmp", grafico);
    r.show();

    QPrinter& p = ImpressoraPrograma();
    const QPageLayout anterior = p.pageLayout();
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setPageSize(QPageSize(QPageSize::A6));
    const QString todas = Q(pasta.Arquivo("todas.pdf")), uma = Q(pasta.Arquivo("uma.pdf"));
    p.setOutputFileName(todas);
    r.Imprimir();
    p.setOutputFileName(uma);
    roteiro.de = roteiro.ate = 2;
    r.Imprimir();
    const int paginas = PaginasPdf(Ler(todas));
    EXPECT_GE(paginas, 2);
    EXPECT_EQ(PaginasPdf(Ler(uma)), 1);

    const QString exportado = Q(pasta.Arquivo("relatorio.pdf"));
    roteiro.arquivos.push_back(exportado);
    r.findChild<QPushButton*>("btnExportarPdf")->click();
    const QByteArray pdf = Ler(exportado);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(PaginasPdf(pdf), paginas);
    // Both pictures are in it at their own pixel sizes.
    const QImage cabecalho(kBin + "/Cabecalho.jpg");
    auto temImagem = [&](const QSize& s) {
        return pdf.contains(QStringLiteral("/Width %1\n/Height %2").arg(s.width()).arg(s.height()).toLatin1()) ||
               pdf.contains(QStringLiteral("/Width %1 /Height %2").arg(s.width()).arg(s.height()).toLatin1());
    };
    EXPECT_TRUE(temImagem(cabecalho.size())) << cabecalho.width() << "x" << cabecalho.height();
    EXPECT_TRUE(temImagem(grafico.size())) << grafico.width() << "x" << grafico.height();
    // Page set-up goes to the same printer.
    r.findChild<QPushButton*>("btnConfigurarPagina")->click();
    EXPECT_TRUE(roteiro.registro.contains("configurar impressora"));
    p.setOutputFileName({});
    p.setOutputFormat(QPrinter::NativeFormat);
    p.setPageLayout(anterior);
}

TEST(FRelatorio, SavedHtmlCarriesItsPicturesAndAnUnwritableFolderIsReported) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    Calculado a("Terraco em nivel.kzp");
    const std::string texto = RelatorioDimensionamento(a.m, Opcoes());
    TFRelatorio r(QStringLiteral("Relatório"), Q(texto));
    const QString arquivo = Q(pasta.Arquivo("rel.htm"));
    roteiro.arquivos.push_back(arquivo);
    r.SalvarHtml();
    const QString salvo = QString::fromUtf8(Ler(arquivo));
    // The core's text, with the header's program path replaced by the picture itself.
    EXPECT_FALSE(salvo.contains(kBin));
    EXPECT_TRUE(salvo.contains(QStringLiteral("<IMG SRC=\"data:image/jpeg;base64,")));
    QString semFigura = salvo;
    semFigura.replace(QRegularExpression(QStringLiteral("data:image/jpeg;base64,[A-Za-z0-9+/=]+")), kBin + "/Cabecalho.jpg");
    EXPECT_EQ(S(semFigura), texto);
    // A browser elsewhere decodes the picture from the file alone.
    QTextDocument outro;
    outro.setHtml(salvo);
    EXPECT_TRUE(outro.toPlainText().contains(QStringLiteral("RELATÓRIO")));

    const QString proibido = QStringLiteral("/proc/nao/pode/rel.htm");
    roteiro.arquivos.push_back(proibido);
    r.SalvarHtml();
    EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{"Não foi possível gravar o arquivo " + proibido + ": pasta inexistente."});
}

TEST(FRelatorio, LocationReportOfThreeTerracesAndAMissingTable) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));
    TLocacaoNivel& loc = m.LocacaoNivel();
    loc.SetfnImgElev(pasta.Arquivo("elevacao.img"));
    loc.SetfnImgDecli(pasta.Arquivo("declividade.img"));
    loc.SetfnVetSaida(pasta.Arquivo("terracos.vet"));
    m.NumeroDaCurva().SetSt(7.5);
    {
        TBDT t;
        t.Add(std::make_unique<TRegTerr>(TRegTerr{1, 812.5, 7.25, 1234.5, 40123.456, 1.2, 0.456}));
        t.Add(std::make_unique<TRegTerr>(TRegTerr{2, 811.3, 8.0, 987.25, 35000, 1.2, 0.5}));
        t.Add(std::make_unique<TRegTerr>(TRegTerr{3, 810.1, 6.125, 15.0, 999.995, 1.2, 0.44}));
        t.SaveToFile(pasta.Arquivo("terracos.bdt"));
    }
    Visto v;
    roteiro.dialogos.push_back(Ver(v));
    EXPECT_TRUE(MostrarRelatorioLocacao(nullptr, m, loc));
    EXPECT_EQ(v.legenda, QStringLiteral("Relatório - Locação de Sistemas de Terraceamento em Nível"));
    EXPECT_EQ(S(v.texto), RelatorioLocacao(m, loc));
    EXPECT_TRUE(v.texto.contains(QStringLiteral("BGCOLOR = \"#CCCCCC\"")));

    loc.SetfnVetSaida(pasta.Arquivo("outro.vet"));
    EXPECT_FALSE(MostrarRelatorioLocacao(nullptr, m, loc));
    EXPECT_EQ(roteiro.Mensagens("erro"),
              QStringList{Q("Não foi possível ler a tabela de terraços " + pasta.Arquivo("outro.bdt") + ".")});
}

TEST(FRelatorio, HeaderFromAFolderWithBlanksAccentsAndAmpersandAndAMissingOne) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const QString estranha = Q(pasta.Caminho()) + QStringLiteral("/Programa & Ação 1/");
    ASSERT_TRUE(QDir().mkpath(estranha));
    ASSERT_TRUE(QFile::copy(kBin + "/Cabecalho.jpg", estranha + "Cabecalho.jpg"));
    Calculado a("Terraco em nivel.kzp");
    TOpcoesRelatorio o;
    o.PastaPrograma = S(estranha);
    const QString texto = Q(RelatorioDimensionamento(a.m, o));
    ASSERT_TRUE(texto.contains(QStringLiteral("Programa &amp; Ação 1/Cabecalho.jpg")));
    TFRelatorio r(QStringLiteral("Relatório"), texto);
    r.show();
    const QImage cabecalho = r.Imagem(estranha + "Cabecalho.jpg");
    EXPECT_EQ(cabecalho.size(), QImage(kBin + "/Cabecalho.jpg").size());
    const QVariant doc = r.Visualizador()->document()->resource(QTextDocument::ImageResource, QUrl(estranha + "Cabecalho.jpg"));
    EXPECT_EQ(doc.value<QImage>().size(), cabecalho.size());

    // Without the picture the report still shows and prints.
    o.PastaPrograma = pasta.Caminho() + "/nada/";
    TFRelatorio sem(QStringLiteral("Relatório"), Q(RelatorioDimensionamento(a.m, o)));
    sem.show();
    EXPECT_TRUE(sem.Visualizador()->toPlainText().contains(QStringLiteral("RESULTADOS")));
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(Q(pasta.Arquivo("sem.pdf")));
    EXPECT_GE(sem.Visualizador()->ImprimirComTitulo(pdf, 1, 9999), 1);
}

TEST(Cabecalhos, BothHeaderPicturesAreJpegAtTheReportsSizesWithTheirText) {
    const struct {
        QString arquivo;
        QSize tamanho;
    } casos[] = {{kBin + "/Cabecalho.jpg", {382, 83}}, {kBin + "/../Arquivos Comuns/Cabecalho_Quenda21.jpg", {550, 73}}};
    for (const auto& c : casos) {
        QFile f(c.arquivo);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.arquivo.toStdString();
        EXPECT_TRUE(f.read(3) == QByteArray("\xFF\xD8\xFF", 3)) << c.arquivo.toStdString();
        const QImage img(c.arquivo);
        EXPECT_EQ(img.size(), c.tamanho);
        // The dark ink of the title sits on the pale green band.
        int escuros = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) escuros += qGray(img.pixel(x, y)) < 90;
        EXPECT_GT(escuros, 200) << c.arquivo.toStdString();
    }
}

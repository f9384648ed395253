// Reports on paper: the location report's terrace table across pages (width, whole numbers,
// header on every page, rows never split), headings kept with what follows them, and the
// PDF file holding the same pages.
#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

#include "TestSupport.h"
#include "core/location/BDT.h"
#include "core/location/LocNivel.h"
#include "core/location/RelatorioLocacao.h"
#include "core/project/ModeloProjeto.h"
#include "gui/common/Dialogos.h"
#include "render/Paginas.h"

namespace {

const QPageLayout kA4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
const QSizeF kPapel = kA4.fullRect(QPageLayout::Inch).size() * 96.0;

std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }

// The level example with a run of n terraces of four-figure lengths.
std::string RelatorioComTerracos(const PastaTemporaria& pasta, int n) {
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));
    TLocacaoNivel& loc = m.LocacaoNivel();
    loc.SetfnImgElev(pasta.Arquivo("elevacao.img"));
    loc.SetfnImgDecli(pasta.Arquivo("declividade.img"));
    loc.SetfnVetSaida(pasta.Arquivo("terracos.vet"));
    TBDT t;
    for (int i = 1; i <= n; ++i)
        t.Add(std::make_unique<TRegTerr>(TRegTerr{i, 800.0 - i, 6.13, 1645.98, 40123.46, 1.2, 0.46}));
    t.SaveToFile(pasta.Arquivo("terracos.bdt"));
    return RelatorioLocacao(m, loc, {});
}

std::vector<QTextTable*> Tabelas(QTextFrame* f) {
    std::vector<QTextTable*> r;
    for (QTextFrame* filho : f->childFrames()) {
        if (auto* t = qobject_cast<QTextTable*>(filho)) r.push_back(t);
        for (QTextTable* t : Tabelas(filho)) r.push_back(t);
    }
    return r;
}

struct Linha {
    int de, ate;  // pages of its top and its bottom
};

// Pages of each row of a table as laid out.
std::vector<Linha> Linhas(const TDocumentoPaginado& d, QTextTable* t) {
    QAbstractTextDocumentLayout* l = d.Documento().documentLayout();
    std::vector<Linha> r;
    for (int i = 0; i < t->rows(); ++i) {
        Linha x{1 << 30, 0};
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cel = t->cellAt(i, c);
            if (cel.row() != i || cel.column() != c) continue;
            x.de = std::min(x.de, d.PaginaDe(l->blockBoundingRect(cel.firstCursorPosition().block()).top()));
            x.ate = std::max(x.ate, d.PaginaDe(l->blockBoundingRect(cel.lastCursorPosition().block()).bottom() - 0.01));
        }
        r.push_back(x);
    }
    return r;
}

// Rows of the table whole on their page, and the header never alone at a page's foot.
void ConferirTabela(const TDocumentoPaginado& d, QTextTable* t, const std::string& caso) {
    const std::vector<Linha> linhas = Linhas(d, t);
    ASSERT_GE(linhas.size(), 2u);
    for (size_t i = 0; i < linhas.size(); ++i) EXPECT_EQ(linhas[i].de, linhas[i].ate) << caso << " linha " << i;
    EXPECT_EQ(linhas[0].ate, linhas[1].de) << caso;
}

std::string Rodar(const std::string& comando) {
    std::string r;
    if (FILE* p = popen(comando.c_str(), "r")) {
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.append(buf, n);
        pclose(p);
    }
    return r;
}

int Contar(const std::string& texto, const std::string& parte) {
    int n = 0;
    for (size_t p = texto.find(parte); p != std::string::npos; p = texto.find(parte, p + 1)) ++n;
    return n;
}

}  // namespace

TEST(PaginasImpressas, TheLocationTableTakesThePageWidthRepeatsItsHeaderAndKeepsRowsAndNumbersWhole) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    QTextDocument doc;
    doc.setDocumentMargin(2.0 / 2.54 * 96.0);  // as the report window sets it
    doc.setHtml(Q(RelatorioComTerracos(pasta, 70)));
    const TDocumentoPaginado d(doc, kPapel);
    ASSERT_GE(d.Paginas(), 3);

    QTextTable* terracos = nullptr;
    for (QTextTable* t : Tabelas(d.Documento().rootFrame()))
        if (t->rows() == 72) terracos = t;
    ASSERT_NE(terracos, nullptr);
    EXPECT_EQ(terracos->format().headerRowCount(), 1);
    QAbstractTextDocumentLayout* l = d.Documento().documentLayout();
    const double largura = l->frameBoundingRect(terracos).width();
    EXPECT_GT(largura, 0.95 * (d.Corpo().width() - 2 * doc.documentMargin()));
    // "1.645,98" on one line in every cell.
    for (int r = 1; r <= 70; ++r)
        for (int c = 0; c < 7; ++c) {
            const QTextBlock b = terracos->cellAt(r, c).firstCursorPosition().block();
            EXPECT_EQ(b.layout()->lineCount(), 1) << r << "," << c << " " << S(b.text());
        }
    ConferirTabela(d, terracos, "relatório");
    const std::vector<Linha> linhas = Linhas(d, terracos);
    EXPECT_GT(linhas.back().de, linhas[1].de);  // the table does run over pages

    // The PDF holds those pages, every one of the table's with its header.
    const std::string pdf = pasta.Arquivo("locacao.pdf");
    EXPECT_EQ(GravarPdf(Q(pdf), doc, "Locação", kA4), d.Paginas());
    EXPECT_NE(Rodar("pdfinfo '" + pdf + "'").find("Pages:           " + std::to_string(d.Paginas()) + "\n"),
              std::string::npos);
    const std::string texto = Rodar("pdftotext -layout '" + pdf + "' -");
    EXPECT_EQ(Contar(texto, "1.645,98"), 70);
    EXPECT_EQ(Contar(texto, "40.123,46"), 70);
    for (int p = linhas[0].de; p <= linhas.back().ate; ++p) {
        const std::string pagina =
            Rodar("pdftotext -layout -f " + std::to_string(p) + " -l " + std::to_string(p) + " '" + pdf + "' -");
        EXPECT_NE(pagina.find("Cota"), std::string::npos) << "página " << p;
        EXPECT_NE(pagina.find("Página " + std::to_string(p)), std::string::npos);
    }
}

TEST(PaginasImpressas, WhereverATableFallsItsHeaderStaysWithItsRowsAndNoRowSplits) {
    // Rows of two lines, after a varying amount of text: some page foot meets every kind of row.
    for (int antes = 0; antes < 40; antes += 3) {
        QString h;
        for (int i = 0; i < antes; ++i) h += "<p>linha de texto " + QString::number(i) + "</p>";
        h += "<table width=\"100%\"><thead><tr><td><b>Terraço</b></td><td><b>Altura</b></td></tr></thead>";
        for (int i = 0; i < 40; ++i)
            h += "<tr><td>" + QString::number(i) + "</td><td>" + QString::number(i) + ",46<br>m</td></tr>";
        h += "</table>";
        QTextDocument doc;
        doc.setHtml(h);
        const TDocumentoPaginado d(doc, QSizeF(500, 600));
        const auto tabelas = Tabelas(d.Documento().rootFrame());
        ASSERT_EQ(tabelas.size(), 1u);
        ConferirTabela(d, tabelas[0], "antes " + std::to_string(antes));
    }
}

TEST(PaginasImpressas, AHeadingStaysWithTheChartBelowIt) {
    int juntos = 0;
    for (int antes = 10; antes < 40; ++antes) {
        QString h;
        for (int i = 0; i < antes; ++i) h += "<p>linha de texto " + QString::number(i) + "</p>";
        h += QString::fromUtf8("<FONT SIZE=2><B>SIMULAÇÃO</B></FONT><P><CENTER><TABLE><TR><TD>"
                               "<IMG SRC=\"grafico\" WIDTH=300 HEIGHT=250></TD></TR></TABLE></CENTER>");
        QTextDocument doc;
        QImage grafico(300, 250, QImage::Format_RGB32);
        grafico.fill(Qt::blue);
        doc.addResource(QTextDocument::ImageResource, QUrl("grafico"), grafico);
        doc.setHtml(h);
        const TDocumentoPaginado d(doc, QSizeF(500, 600));
        QAbstractTextDocumentLayout* l = d.Documento().documentLayout();
        int titulo = 0, imagem = 0;
        for (QTextBlock b = d.Documento().begin(); b.isValid(); b = b.next()) {
            if (b.text() == QString::fromUtf8("SIMULAÇÃO")) titulo = d.PaginaDe(l->blockBoundingRect(b).top());
            if (b.text().contains(QChar::ObjectReplacementCharacter))
                imagem = d.PaginaDe(l->blockBoundingRect(b).top());
        }
        ASSERT_GT(titulo, 0);
        EXPECT_EQ(titulo, imagem) << antes;
        juntos += titulo > 1;
    }
    EXPECT_GT(juntos, 0);  // some cases did reach a second page
}

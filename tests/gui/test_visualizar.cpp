// The raster viewer, its open dialog and the properties windows, driven offscreen with the
// dialogs answered by the script.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Impressora.h"
#include "gui/raster/AbrirArq.h"
#include "gui/raster/ImagemRaster.h"
#include "gui/raster/PropRaster.h"
#include "gui/raster/Visualizar.h"
#include "gui/shell/Principal.h"

namespace {

const QString kPaletas = PastaPaletas(QStringLiteral(VANDORO_BIN_DIR "/"));

// A grid of 'cols' x 'rows' cells of 'lado' map units, values from 'valor' (0 = no data in
// Idrisi files), written in the format of the name.
void Grade(const std::string& nome, TTipoCelula tipo, int cols, int rows, double lado, const std::string& unidade,
           const std::function<float(int, int)>& valor) {
    TImagem img;
    img.SetCellType(tipo);
    img.SetColumns(cols);
    img.SetRows(rows);
    img.SetMinX(0);
    img.SetMaxX(static_cast<float>(cols * lado));
    img.SetMinY(0);
    img.SetMaxY(static_cast<float>(rows * lado));
    img.SetRefUnits(unidade);
    img.SetTitle("grade de teste");
    img.SetFlagValue(0);
    img.Allocate();
    std::vector<float> l(static_cast<size_t>(cols));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) l[static_cast<size_t>(c)] = valor(c, r);
        img.WriteRow(r, l.data());
    }
    img.ComputeMinMax();
    img.CountValid();
    img.SaveToFile(nome);
}

std::unique_ptr<TFVisualizar> Abrir(const QString& arq, int zoom = 100,
                                    TModoArmazenamento modo = TModoArmazenamento::Memoria, int paleta = 0) {
    auto v = std::make_unique<TFVisualizar>(kPaletas, modo);
    v->setAttribute(Qt::WA_DeleteOnClose, false);
    v->Abrir(arq, paleta, zoom);
    return v;
}

QAction* Acao(QWidget& w, const char* nome) { return w.findChild<QAction*>(nome); }
QString Rotulo(QWidget& w, const char* nome) { return w.findChild<QLabel*>(nome)->text(); }

void MoverMouse(QWidget* alvo, QPoint p) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), alvo->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(alvo, &e);
}

TEST(Visualizar, RasterPropertiesOfAKilometreGridAndTheListOfViewers) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    // 30 x 40 cells of 0.03 km; the first 1000 cells valid.
    const std::string km = pasta.Arquivo("km.doc");
    Grade(km, TTipoCelula::Real, 30, 40, 0.03, "km", [](int c, int r) { return r * 30 + c < 1000 ? 3.0f + c : 0.0f; });
    Grade(pasta.Arquivo("outra.asc"), TTipoCelula::Real, 3, 2, 10, "m", [](int c, int) { return 1.0f + c; });
    auto v1 = Abrir(Q(km));
    auto v2 = Abrir(Q(pasta.Arquivo("outra.asc")));
    EXPECT_EQ(v1->windowTitle(), "km.doc");

    TFPropRaster* p = TFPropRaster::Mostrar(v1.get());
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->isModal());
    EXPECT_EQ(p->windowTitle(), "Propriedades da imagem km.doc");
    EXPECT_EQ(p->Campo("edtTamPixel")->text(), "30 x 30");
    EXPECT_EQ(p->Campo("edtArea")->text(), "900.000,0");
    EXPECT_EQ(p->Campo("edtTipoArquivo")->text(), "Real");
    EXPECT_EQ(p->Campo("edtColunas")->text(), "30");
    EXPECT_EQ(p->Campo("edtLinhas")->text(), "40");
    EXPECT_EQ(p->Campo("edtUnitRef")->text(), "km");
    EXPECT_EQ(p->Campo("edtValMin")->text(), "3,0");
    EXPECT_EQ(p->Campo("edtValMax")->text(), "32,0");
    EXPECT_EQ(p->Campo("edtMaxY")->text(), "1,2");
    ASSERT_EQ(p->Imagens()->count(), 2);
    // One window at a time: asking again gives the same one.
    EXPECT_EQ(TFPropRaster::Mostrar(v2.get()), p);
    EXPECT_EQ(p->Imagens()->currentText(), "outra.asc");
    EXPECT_EQ(p->Campo("edtTamPixel")->text(), "10 x 10");

    // A third viewer joins the list and is selected; a closed one leaves it.
    auto v3 = Abrir(Q(km));
    EXPECT_EQ(p->Imagens()->count(), 3);
    EXPECT_EQ(p->Atual(), v3.get());
    v3.reset();
    v2.reset();
    ASSERT_EQ(p->Imagens()->count(), 1);
    EXPECT_EQ(p->Atual(), v1.get());
    EXPECT_EQ(p->Campo("edtTamPixel")->text(), "30 x 30");
    QPointer<TFPropRaster> guarda(p);
    p->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guarda.isNull());
    EXPECT_EQ(TFPropRaster::Instancia(), nullptr);
}

TEST(Visualizar, ZoomStepsAndTheirEnabling) {
    PastaTemporaria pasta;
    Grade(pasta.Arquivo("z.asc"), TTipoCelula::Real, 40, 20, 10, "m", [](int c, int r) { return 1.0f + c + r; });
    auto v = Abrir(Q(pasta.Arquivo("z.asc")), 25);
    QAction *mais = Acao(*v, "actZoomMais"), *menos = Acao(*v, "actZoomMenos");
    EXPECT_FALSE(menos->isEnabled());
    EXPECT_TRUE(mais->isEnabled());
    EXPECT_EQ(v->Vista()->size(), QSize(10, 5));
    mais->trigger();
    EXPECT_EQ(v->Zoom(), 50);
    EXPECT_TRUE(menos->isEnabled());
    menos->trigger();
    EXPECT_EQ(v->Zoom(), 25);
    EXPECT_FALSE(menos->isEnabled());

    auto w = Abrir(Q(pasta.Arquivo("z.asc")), 400);
    mais = Acao(*w, "actZoomMais");
    menos = Acao(*w, "actZoomMenos");
    mais->trigger();
    EXPECT_EQ(w->Zoom(), 450);
    EXPECT_TRUE(mais->isEnabled());
    mais->trigger();
    EXPECT_EQ(w->Zoom(), 500);
    EXPECT_FALSE(mais->isEnabled());
    EXPECT_EQ(w->Vista()->size(), QSize(200, 100));
    menos->trigger();
    EXPECT_EQ(w->Zoom(), 450);
    EXPECT_TRUE(mais->isEnabled());
}

TEST(Visualizar, ReadOutAt200PercentAndInTheShellStatusBar) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    // 10 m cells from (0, 0); cell (c, r) holds c + 10 r + 0.25, cell (9, 9) no data.
    Grade(pasta.Arquivo("l.doc"), TTipoCelula::Real, 10, 10, 10, "m",
          [](int c, int r) { return c == 9 && r == 9 ? 0.0f : c + 10.0f * r + 0.25f; });
    auto v = Abrir(Q(pasta.Arquivo("l.doc")), 200);
    QStatusBar shell;
    QObject::connect(v.get(), &TFVisualizar::Leitura, &shell, [&shell](const QString& d) { shell.showMessage(d); });
    MoverMouse(v->Vista(), QPoint(10, 7));
    EXPECT_EQ(Rotulo(*v, "lblColuna"), "5");
    EXPECT_EQ(Rotulo(*v, "lblLinha"), "3");
    // The cell's centre.
    EXPECT_EQ(Rotulo(*v, "lblX"), "55");
    EXPECT_EQ(Rotulo(*v, "lblY"), "65");
    EXPECT_EQ(Rotulo(*v, "lblValor"), "35,25");
    EXPECT_EQ(shell.currentMessage(), "Coluna: 5; Linha: 3; 35,25");
    EXPECT_EQ(v->Vista()->toolTip(), "Coluna: 5; Linha: 3; 35,25");
    // A no-data cell shows no value; outside the image the fields are cleared.
    MoverMouse(v->Vista(), QPoint(19, 19));
    EXPECT_EQ(Rotulo(*v, "lblColuna"), "9");
    EXPECT_EQ(Rotulo(*v, "lblValor"), "");
    v->Ler(false, 0, 0);
    EXPECT_EQ(Rotulo(*v, "lblColuna"), "0");
    EXPECT_EQ(Rotulo(*v, "lblX"), "");
}

// A 4 x 3 integer Idrisi grid; cell (1, 1) is edited to 77 and the close answered 'resposta'.
void EditaEFecha(TModoArmazenamento modo, TResposta resposta, bool& gravou, std::string& antes, std::string& depois,
                 float& lido) {
    PastaTemporaria pasta;
    const std::string doc = pasta.Arquivo("e.doc"), img = pasta.Arquivo("e.img");
    Grade(doc, TTipoCelula::Inteiro, 4, 3, 10, "m", [](int c, int r) { return 10.0f + c + 4 * r; });
    antes = LerArquivo(doc) + LerArquivo(img);
    TDialogosRoteiro roteiro;
    QPointer<TFVisualizar> v = new TFVisualizar(kPaletas, modo);
    v->Abrir(Q(doc), 0, 100);
    EXPECT_EQ(v->ModoArmazenamento(), modo);
    Acao(*v, "actAtributo")->trigger();
    EXPECT_EQ(Acao(*v, "actAtributo")->text(), "Parar altereção de a&tributos");
    v->SelecionarCelula(1, 1);
    auto* edt = v->findChild<QLineEdit*>("edtAtributo");
    auto* btn = v->findChild<QPushButton*>("btnAlterarAtributo");
    EXPECT_FALSE(v->findChild<QWidget*>("pnlAtributo")->isHidden());
    EXPECT_FALSE(btn->isEnabled());
    // Out of the integer range: refused, nothing kept.
    QTest::keyClicks(edt, "-40000");
    EXPECT_EQ(edt->text(), "40000");  // no minus sign
    EXPECT_TRUE(btn->isEnabled());
    btn->click();
    EXPECT_EQ(roteiro.Mensagens("erro"), QStringList{"Valor inválido para atributo"});
    EXPECT_FALSE(v->Modificado());
    edt->clear();
    QTest::keyClicks(edt, "77x");
    EXPECT_EQ(edt->text(), "77");
    QTest::keyClick(edt, Qt::Key_Return);
    EXPECT_TRUE(v->Modificado());
    EXPECT_EQ(v->Edicoes().Quantidade(), 1);
    // Shown at once (the range now reaches 77), and still nothing written.
    EXPECT_DOUBLE_EQ(v->Faixa().max, 77);
    EXPECT_EQ(LerArquivo(doc) + LerArquivo(img), antes);

    roteiro.respostas.push_back(resposta);
    v->close();
    EXPECT_EQ(roteiro.Mensagens("pergunta"), QStringList{"Deseja salvar alterações em e.doc"});
    gravou = resposta == TResposta::Sim;
    if (resposta == TResposta::Cancelar) {
        EXPECT_FALSE(v.isNull());
        EXPECT_TRUE(v->Modificado());
        delete v.data();
    } else {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(v.isNull());
    }
    depois = LerArquivo(doc) + LerArquivo(img);
    TImagem lida;
    EXPECT_TRUE(lida.LoadFromFile(doc));
    lido = lida.GetInt({1, 1});
}

TEST(Visualizar, AnEditedCellReachesTheFileOnlyWhenSaved) {
    for (TModoArmazenamento modo : {TModoArmazenamento::Memoria, TModoArmazenamento::Arquivo}) {
        SCOPED_TRACE(static_cast<int>(modo));
        bool gravou = false;
        std::string antes, depois;
        float lido = 0;
        EditaEFecha(modo, TResposta::Nao, gravou, antes, depois, lido);
        EXPECT_EQ(depois, antes);
        EXPECT_FLOAT_EQ(lido, 15);
        EditaEFecha(modo, TResposta::Cancelar, gravou, antes, depois, lido);
        EXPECT_EQ(depois, antes);
        EditaEFecha(modo, TResposta::Sim, gravou, antes, depois, lido);
        EXPECT_NE(depois, antes);
        EXPECT_FLOAT_EQ(lido, 77);
    }
}

TEST(Visualizar, OpeningErrorsPaletteChangeAndPictures) {
    PastaTemporaria pasta;
    TDialogosRoteiro roteiro;
    const std::string asc = pasta.Arquivo("p.asc");
    Grade(asc, TTipoCelula::Real, 6, 4, 10, "m", [](int c, int r) { return 100.0f + c * 51 + r; });
    TContextoVisualizar ctx;
    ctx.pastaPrograma = QStringLiteral(VANDORO_BIN_DIR "/");
    EXPECT_EQ(AbrirVisualizador(ctx, Q(pasta.Arquivo("nada.asc")), kPaletas + "cinza1.pal", 100), nullptr);
    EXPECT_EQ(AbrirVisualizador(ctx, Q(asc), Q(pasta.Arquivo("nada.pal")), 100), nullptr);
    EXPECT_EQ(roteiro.Mensagens("erro"),
              (QStringList{"Erro. A imagem " + Q(pasta.Arquivo("nada.asc")) + " não existe.",
                           "Erro. O arquivo de paleta " + Q(pasta.Arquivo("nada.pal")) + " não existe."}));
    EXPECT_TRUE(TFVisualizar::Abertos().isEmpty());

    auto v = Abrir(Q(asc), 100, TModoArmazenamento::Memoria, 0);
    // Palette mode: raster fixed, zoom off, no vector group; grey chosen.
    roteiro.dialogos.push_back([](QDialog& d) {
        auto* dlg = static_cast<TFAbrirArq*>(&d);
        EXPECT_FALSE(dlg->findChild<QLineEdit*>("edtImagem")->isEnabled());
        EXPECT_FALSE(dlg->findChild<QComboBox*>("cbZoom")->isEnabled());
        EXPECT_TRUE(dlg->findChild<QWidget*>("gbVetor")->isHidden());
        EXPECT_EQ(dlg->ComboPaletas()->currentText(), "idris256.pal");
        EXPECT_EQ(dlg->ComboPaletas()->count(), 5);
        dlg->ComboPaletas()->setCurrentIndex(3);
        return int(QDialog::Accepted);
    });
    Acao(*v, "actPaleta")->trigger();
    EXPECT_TRUE(v->ArquivoPaleta().endsWith("cinza1.pal"));
    // Max (cell 5, 3) white, min (0, 0) black in grey.
    EXPECT_EQ(v->Vista()->Imagem().pixel(5, 3), 0xFFFFFFFFu);
    EXPECT_EQ(v->Vista()->Imagem().pixel(0, 0), 0xFF000000u);

    // A damaged palette file is refused with its message; the list stays.
    GravarArquivo(pasta.Arquivo("ruim.pal"), "0 1 2 3\n");
    TFAbrirArq dlg(kPaletas, Q(pasta.Caminho()));
    roteiro.arquivos.push_back(Q(pasta.Arquivo("ruim.pal")));
    dlg.CarregarPaleta();
    EXPECT_EQ(dlg.ComboPaletas()->count(), 5);
    ASSERT_EQ(roteiro.Mensagens("erro").size(), 3);
    EXPECT_TRUE(roteiro.Mensagens("erro").last().startsWith("O arquivo de paleta ruim.pal está danificado"));

    // Pictures: ".JPG" in any case is JPEG, anything else a bitmap; one pixel a cell.
    roteiro.arquivos = {Q(pasta.Arquivo("f.JpG")), Q(pasta.Arquivo("f.bmp"))};
    Acao(*v, "actSalvarFigura")->trigger();
    Acao(*v, "actSalvarFigura")->trigger();
    EXPECT_EQ(LerArquivo(pasta.Arquivo("f.JpG")).substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(LerArquivo(pasta.Arquivo("f.bmp")).substr(0, 2), "BM");
    EXPECT_EQ(QImage(Q(pasta.Arquivo("f.bmp"))).size(), QSize(6, 4));

    // Save as: Surfer; the viewer follows the new file.
    roteiro.arquivos = {Q(pasta.Arquivo("copia.grd"))};
    EXPECT_TRUE(v->SalvarRasterComo());
    EXPECT_EQ(v->windowTitle(), "copia.grd");
    TImagem g;
    ASSERT_TRUE(g.LoadFromFile(pasta.Arquivo("copia.grd")));
    EXPECT_FLOAT_EQ(g.GetReal({5, 3}), 100 + 5 * 51 + 3);

    // Printing goes through the print dialog of the service, titled with the raster's name.
    QPrinter& impressora = ImpressoraPrograma();
    impressora.setOutputFormat(QPrinter::PdfFormat);
    impressora.setOutputFileName(Q(pasta.Arquivo("p.pdf")));
    roteiro.imprimir = false;
    Acao(*v, "actImprimir")->trigger();
    EXPECT_FALSE(ArquivoExiste(pasta.Arquivo("p.pdf")));
    roteiro.imprimir = true;
    Acao(*v, "actImprimir")->trigger();
    EXPECT_EQ(roteiro.registro.filter("imprimir").size(), 2);
    EXPECT_EQ(impressora.docName(), "copia.grd");
    EXPECT_EQ(LerArquivo(pasta.Arquivo("p.pdf")).substr(0, 4), "%PDF");
    impressora.setOutputFileName({});

    // Legend toggle.
    Acao(*v, "actLegenda")->trigger();
    EXPECT_EQ(Acao(*v, "actLegenda")->text(), "Visualizar legenda");
    EXPECT_TRUE(v->findChild<QWidget*>("Legenda")->isHidden());
}

TEST(Visualizar, OverlayLinesSitOnCellCentresWithEveryPoint) {
    PastaTemporaria pasta;
    TDialogosRoteiro roteiro;
    const std::string asc = pasta.Arquivo("o.asc");
    Grade(asc, TTipoCelula::Real, 20, 10, 10, "m", [](int c, int) { return 1.0f + c; });
    // Line 1 through the centres of cells (2, 3) .. (12, 3); line 2 with 60001 points.
    TVET vet("m");
    TVetorRecPonto l1;
    l1.SetLineId(1);
    for (int c = 2; c <= 12; ++c) l1.Add(10.0f * c + 5, 100.0f - 35, 500);
    vet.AppendLine(l1);
    TVetorRecPonto l2;
    l2.SetLineId(2);
    for (int i = 0; i <= 60000; ++i) l2.Add(5 + i * (190.0f / 60000), 15, 400);
    vet.AppendLine(l2);
    const std::string arqVet = pasta.Arquivo("o.vet");
    ASSERT_TRUE(vet.SaveToFile(arqVet));
    GravarArquivo(pasta.Arquivo("o.bdt"), "x");

    auto v = Abrir(Q(asc), 300);
    EXPECT_FALSE(Acao(*v, "actRemover")->isEnabled());
    ASSERT_TRUE(v->SobreporVetor(Q(arqVet)));
    EXPECT_FALSE(Acao(*v, "actSobrepor")->isEnabled());
    EXPECT_TRUE(Acao(*v, "actRemover")->isEnabled());
    const auto& linhas = v->Vista()->Linhas();
    ASSERT_EQ(linhas.size(), 2);
    EXPECT_EQ(linhas[0].pontos.front(), QPointF(2.5, 3.5));
    EXPECT_EQ(linhas[0].pontos.back(), QPointF(12.5, 3.5));
    EXPECT_EQ(linhas[1].pontos.size(), 60001);
    EXPECT_TRUE(v->Vista()->Rotulos());  // the .bdt beside it
    // The picture at one pixel a cell: row 3 black along the line, row 2 not.
    const QImage f = v->Vista()->Figura();
    EXPECT_EQ(f.pixel(7, 3), 0xFF000000u);
    EXPECT_NE(f.pixel(7, 2), 0xFF000000u);
    EXPECT_NE(f.pixel(7, 4), 0xFF000000u);
    // The zoomed view draws it in the same row, 3 pixels a cell.
    QImage tela(60, 30, QImage::Format_RGB32);
    {
        QPainter p(&tela);
        v->Vista()->Desenhar(p, tela.rect());
    }
    EXPECT_EQ(tela.pixel(22, 10), 0xFF000000u);
    EXPECT_NE(tela.pixel(22, 7), 0xFF000000u);

    roteiro.dialogos.push_back([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Propriedades do vetor o.vet");
        EXPECT_EQ(d.findChild<QLineEdit*>("UnitRef")->text(), "m");
        EXPECT_EQ(d.findChild<QLineEdit*>("MaxX")->text(), "195.0");
        return int(QDialog::Accepted);
    });
    {
        RegionalFixo en(Regional::EnUS());
        Acao(*v, "actPropVetor")->trigger();
    }
    Acao(*v, "actRemover")->trigger();
    EXPECT_FALSE(v->Vista()->TemLinhas());
    EXPECT_TRUE(Acao(*v, "actSobrepor")->isEnabled());
}

TEST(Visualizar, TheShellOpensAViewerWithItsStorageMode) {
    PastaTemporaria pasta;
    TDialogosRoteiro roteiro;
    const std::string asc = pasta.Arquivo("s.asc");
    Grade(asc, TTipoCelula::Real, 5, 5, 10, "m", [](int c, int r) { return 1.0f + c * r; });
    TFPrincipal w(QStringLiteral(VANDORO_BIN_DIR), Q(pasta.Arquivo("VANDORO4.ini")));
    auto* ver = w.findChild<QAction*>("actVisualizar");
    ASSERT_TRUE(ver->isEnabled());
    for (bool memoria : {true, false}) {
        w.findChild<QAction*>("actCarregarImagens")->setChecked(memoria);
        roteiro.dialogos.push_back([&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Abrir imagem");
            d.findChild<QLineEdit*>("edtImagem")->setText(Q(asc));
            d.findChild<QComboBox*>("cbZoom")->setCurrentText("200%");
            return int(QDialog::Accepted);
        });
        ver->trigger();
        ASSERT_EQ(TFVisualizar::Abertos().size(), 1);
        TFVisualizar* v = TFVisualizar::Abertos().front();
        EXPECT_EQ(v->ModoArmazenamento(), memoria ? TModoArmazenamento::Memoria : TModoArmazenamento::Arquivo);
        EXPECT_EQ(v->Zoom(), 200);
        EXPECT_EQ(w.Area()->subWindowList().size(), 1);
        MoverMouse(v->Vista(), QPoint(4, 6));
        EXPECT_EQ(w.statusBar()->currentMessage(), "Coluna: 2; Linha: 3; 7");
        w.Area()->closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(TFVisualizar::Abertos().isEmpty());
    }
    // Closing the program with an edited cell asks first; Cancelar keeps it running.
    roteiro.dialogos.push_back([&](QDialog& d) {
        d.findChild<QLineEdit*>("edtImagem")->setText(Q(asc));
        return int(QDialog::Accepted);
    });
    ver->trigger();
    TFVisualizar* v = TFVisualizar::Abertos().front();
    v->AlterarAtributo();
    v->SelecionarCelula(0, 0);
    QTest::keyClicks(v->findChild<QLineEdit*>("edtAtributo"), "9");
    ASSERT_TRUE(v->AplicarAtributo());
    roteiro.respostas = {TResposta::Cancelar};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(TFVisualizar::Abertos().size(), 1);
    roteiro.respostas = {TResposta::Nao};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(roteiro.Mensagens("pergunta"),
              (QStringList{"Deseja salvar alterações em s.asc", "Deseja salvar alterações em s.asc"}));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(TFVisualizar::Abertos().isEmpty());
}

}  // namespace

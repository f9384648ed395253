// The location plan's map: the window's results tab after a run of the shipped field (fit, wheel
// zoom about the cursor, drag, the terrace under the mouse, the PNG sheet and its refusals), and
// the sheet itself drawn over a small model (the line's pixels, the turn of the page).
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <filesystem>

#include "DialogosRoteiro.h"
#include "GradesSinteticas.h"
#include "PixelsTeste.h"
#include "TestSupport.h"
#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/location/PlanoMapa.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "gui/common/FRelatorio.h"
#include "gui/location/FrmLocacao.h"
#include "gui/location/MapaLocacao.h"
#include "render/MapaPlano.h"

namespace {

void Roda(QWidget* w, QPointF onde, int graus) {
    QWheelEvent e(onde, w->mapToGlobal(onde), QPoint(), QPoint(0, graus * 8), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// 'botao' the button pressed or released; 'segurados' those held during the event.
void Mouse(QWidget* w, QEvent::Type tipo, QPointF onde, Qt::MouseButton botao = Qt::NoButton,
           Qt::MouseButtons segurados = Qt::NoButton) {
    QMouseEvent e(tipo, onde, w->mapToGlobal(onde), botao, segurados, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

bool Perto(const QRectF& a, const QRectF& b, double tol) {
    return std::fabs(a.left() - b.left()) < tol && std::fabs(a.top() - b.top()) < tol &&
           std::fabs(a.width() - b.width()) < tol && std::fabs(a.height() - b.height()) < tol;
}

}  // namespace

TEST(MapaPlano, ShippedFieldMapZoomsPansNamesTheTerraceAndExportsTheSheet) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    CopiarExemploLocacao(pasta);
    const std::string projeto = pasta.Arquivo("Locacao em nivel.kzp");
    TModeloProjeto m;
    TGerenteSis g;
    m.AbrirProjetoSemAlterar(projeto);
    g.SetPathProjeto(projeto);
    QPointer<TfrmLocacao> w = new TfrmLocacao(m, g);
    w->resize(1200, 800);
    w->show();
    w->PreencherCampos();
    roteiro.dialogos.push_back([](QDialog&) { return int(QDialog::Accepted); });  // the report
    w->btnProcessarClick();
    ASSERT_EQ(w->ErroExecucao(), QString());
    QApplication::processEvents();
    TMapaLocacao* mapa = w->Mapa();
    QWidget* vista = mapa->Vista();
    ASSERT_TRUE(vista->isVisible());
    ASSERT_NE(mapa->Mapa(), nullptr);
    const TLocacaoNivel& loc = m.LocacaoNivel();
    ASSERT_EQ(mapa->Mapa()->Plano().linhas.size(), loc.LinhasMapa().size());
    EXPECT_TRUE(mapa->TemFaixas());
    // The field: the cells of 2 m that have an elevation (the model's 380 x 275 hold a watershed
    // in its east), every line inside; the view fits it, centred.
    TImgElevacao e;
    e.Load(pasta.Arquivo("hugo_site_2m.flt"));
    QRectF dados;
    for (int r = 1; r <= e.Rows(); ++r)
        for (int c = 1; c <= e.Columns(); ++c)
            if (e.Cell(r, c) != 0) dados |= QRectF(e.MinX() + 2.0 * (c - 1), e.MinY() + 2.0 * (e.Rows() - r), 2, 2);
    const QRectF campo = mapa->Mapa()->Mundo();
    EXPECT_TRUE(Perto(campo, dados, 1e-6));
    for (const TLinhaMapa& l : loc.LinhasMapa())
        for (size_t k = 0; k < l.x.size(); ++k) EXPECT_TRUE(campo.contains(QPointF(l.x[k], l.y[k])));
    const QRectF inteiro = mapa->Visivel();
    EXPECT_TRUE(inteiro.contains(mapa->Mapa()->Mundo()));
    EXPECT_NEAR(inteiro.center().x(), campo.center().x(), 1e-6);
    EXPECT_NEAR(inteiro.center().y(), campo.center().y(), 1e-6);
    EXPECT_TRUE(std::fabs(inteiro.width() / campo.width() - 1) < 0.05 ||
                std::fabs(inteiro.height() / campo.height() - 1) < 0.05);

    // One notch of the wheel: a quarter closer, the ground under the cursor stays under it.
    const QPointF cursor(vista->width() * 0.3, vista->height() * 0.65);
    const QPointF chao = mapa->MundoDe(cursor);
    Roda(vista, cursor, 15);
    const QRectF perto = mapa->Visivel();
    EXPECT_NEAR(inteiro.width() / perto.width(), 1.25, 1e-9);
    EXPECT_NEAR(inteiro.height() / perto.height(), 1.25, 1e-9);
    EXPECT_NEAR(mapa->MundoDe(cursor).x(), chao.x(), 1e-6);
    EXPECT_NEAR(mapa->MundoDe(cursor).y(), chao.y(), 1e-6);
    EXPECT_FALSE(perto.contains(mapa->Mapa()->Mundo()));
    // Back out with the wheel: where it started.
    Roda(vista, cursor, -15);
    EXPECT_TRUE(Perto(mapa->Visivel(), inteiro, 1e-6));
    Roda(vista, cursor, 30);

    // Dragging 50 px right and 20 px down moves the ground with the mouse.
    const QRectF antes = mapa->Visivel();
    const double porPixel = antes.width() / vista->width();
    Mouse(vista, QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton, Qt::LeftButton);
    Mouse(vista, QEvent::MouseMove, {350, 220}, Qt::NoButton, Qt::LeftButton);
    Mouse(vista, QEvent::MouseButtonRelease, {350, 220}, Qt::LeftButton);
    EXPECT_NEAR(mapa->Visivel().left(), antes.left() - 50 * porPixel, 1e-6);
    EXPECT_NEAR(mapa->Visivel().top(), antes.top() + 20 * porPixel, 1e-6);

    // The mouse over the middle of the fifth line names it, with its type; over bare ground,
    // the coordinates.
    mapa->Ajustar();
    const TLinhaMapa& quinta = loc.LinhasMapa()[4];
    const size_t meio = quinta.x.size() / 2;
    const QPointF sobre = mapa->PixelDe(QPointF(quinta.x[meio], quinta.y[meio]));
    // Closer still about it, so the neighbours are well apart.
    Roda(vista, sobre, 45);
    const QPointF agora = mapa->PixelDe(QPointF(quinta.x[meio], quinta.y[meio]));
    ASSERT_TRUE(vista->rect().contains(agora.toPoint()));
    Mouse(vista, QEvent::MouseMove, agora + QPointF(2, 1));
    QString tipo;
    for (int i = 1; i <= loc.Registros().Count(); ++i)
        if (loc.Registros().Item(i)->id == quinta.id) tipo = QString::fromStdString(loc.Info()[size_t(i - 1)].tipo);
    ASSERT_FALSE(tipo.isEmpty());
    EXPECT_EQ(mapa->Estado(), QStringLiteral("Terraço %1 — ").arg(quinta.id) + tipo);
    EXPECT_EQ(vista->toolTip(), mapa->Estado());
    // A point of the view with no line within 20 px.
    const double porPixelAgora = mapa->Visivel().width() / vista->width();
    QPointF longe(-1, -1);
    for (int y = 5; y < vista->height() && longe.x() < 0; y += 10)
        for (int x = 5; x < vista->width() && longe.x() < 0; x += 10) {
            const QPointF q = mapa->MundoDe(QPointF(x, y));
            if (TerracoMaisProximo(mapa->Mapa()->Plano().linhas, q.x(), q.y(), 20 * porPixelAgora) == 0) longe = {double(x), double(y)};
        }
    ASSERT_GE(longe.x(), 0);
    Mouse(vista, QEvent::MouseMove, longe);
    EXPECT_TRUE(mapa->Estado().startsWith(QStringLiteral("E "))) << mapa->Estado().toStdString();
    EXPECT_TRUE(vista->toolTip().isEmpty());

    // The buttons: farther about the middle, then the whole field again.
    const QRectF v = mapa->Visivel();
    mapa->findChild<QToolButton*>(QStringLiteral("btnAfastar"))->click();
    EXPECT_NEAR(mapa->Visivel().width() / v.width(), 1.25, 1e-9);
    EXPECT_NEAR(mapa->Visivel().center().x(), v.center().x(), 1e-6);
    mapa->findChild<QToolButton*>(QStringLiteral("btnAjustarMapa"))->click();
    EXPECT_TRUE(Perto(mapa->Visivel(), inteiro, 1e-6));

    // Export: the name beside the run's vector, ".png" added; an A4 landscape sheet at 200 dpi.
    EXPECT_EQ(mapa->NomeProposto, QString::fromStdString(pasta.Arquivo("hugo_site_2m_mapa.png")));
    auto* exportar = w->findChild<QPushButton*>(QStringLiteral("btnExportarMapa"));
    ASSERT_TRUE(exportar && exportar->isEnabled());
    const QString png = QString::fromStdString(pasta.Arquivo("planta.png"));
    roteiro.registro.clear();
    roteiro.arquivos.push_back(QString::fromStdString(pasta.Arquivo("planta")));
    exportar->click();
    EXPECT_EQ(roteiro.registro, (QStringList{QStringLiteral("salvar: Exportar mapa"),
                                             QStringLiteral("info: Mapa gravado em ") + png + QStringLiteral(".")}));
    EXPECT_EQ(roteiro.filtros.back(), QStringLiteral("Imagem PNG (*.png)"));
    QImageReader leitor(png);
    EXPECT_EQ(leitor.format(), QByteArray("png"));
    const QImage folha = leitor.read();
    ASSERT_FALSE(folha.isNull());
    EXPECT_EQ(folha.size(), QSize(2339, 1654));
    EXPECT_NEAR(double(folha.width()) / folha.height(), 297.0 / 210.0, 0.002);
    EXPECT_NEAR(folha.dotsPerMeterX() * 0.0254, 200, 0.5);
    const std::string gravado = LerArquivo(png.toStdString());

    // The same name again: asked, and "Não" leaves the file as it was.
    roteiro.registro.clear();
    roteiro.arquivos.push_back(png);
    roteiro.respostas.push_back(TResposta::Nao);
    exportar->click();
    EXPECT_EQ(roteiro.registro, (QStringList{QStringLiteral("salvar: Exportar mapa"),
                                             QStringLiteral("pergunta: O arquivo ") + png +
                                                 QStringLiteral(" já existe. Deseja substituí-lo?")}));
    EXPECT_EQ(LerArquivo(png.toStdString()), gravado);
    // Another format is refused; a folder that cannot be made leaves an error box, and nothing.
    roteiro.registro.clear();
    roteiro.arquivos.push_back(QString::fromStdString(pasta.Arquivo("planta.jpg")));
    exportar->click();
    EXPECT_EQ(roteiro.registro.last(), QStringLiteral("erro: O mapa é gravado como imagem PNG: use a extensão .png."));
    EXPECT_FALSE(std::filesystem::exists(pasta.Arquivo("planta.jpg")));
    GravarArquivo(pasta.Arquivo("arquivo.txt"), "x");
    roteiro.registro.clear();
    roteiro.arquivos.push_back(QString::fromStdString(pasta.Arquivo("arquivo.txt/planta.png")));
    exportar->click();
    ASSERT_EQ(roteiro.registro.size(), 2);
    EXPECT_TRUE(roteiro.registro[1].startsWith(QStringLiteral("erro: Não foi possível gravar o arquivo")))
        << roteiro.registro[1].toStdString();
    delete w.data();
}

TEST(MapaPlano, SheetDrawsTheLinesOverTheModelAndTurnsWithTheField) {
    PastaTemporaria pasta;
    // A plane rising east, 100 m by 50 m in 1 m cells, and one level line across its middle.
    const Campo plano = [](double x, double) { return 10 + 0.05 * x; };
    GravarAsc(pasta.Arquivo("deitado.asc"), 50, 100, 1.0, plano);
    TPlanoMapa p;
    p.elevacao = pasta.Arquivo("deitado.asc");
    TLinhaPlano l;
    l.terraco = 1;
    l.x = {5, 95};
    l.y = {25, 25};
    TPlanoMapa sem = p;
    p.linhas.push_back(l);
    const TMapaPlano com(p), fundo(sem);
    ASSERT_FALSE(com.Vazio());
    EXPECT_TRUE(Perto(com.Mundo(), QRectF(0, 0, 100, 50), 1e-9));
    EXPECT_TRUE(com.Paisagem());
    const QSize tamanho(1169, 827);  // A4 at 100 dpi
    const QImage a = com.Folha(tamanho), b = fundo.Folha(tamanho);
    ASSERT_EQ(a.size(), tamanho);
    // The field is centred in the frame, and the line runs through the field's centre.
    const TLayoutFolha lay = LayoutFolha(tamanho.width(), tamanho.height());
    const QPoint centro(int(lay.mapa.x + lay.mapa.largura / 2), int(lay.mapa.y + lay.mapa.altura / 2));
    const QRgb linha = a.pixel(centro), chao = b.pixel(centro);
    EXPECT_GT(qRed(linha), 120);
    EXPECT_LT(qGreen(linha), 60);
    EXPECT_LT(qBlue(linha), 60);
    EXPECT_GT(qGreen(chao), 100);  // the shaded ground
    // Above and below the line, the same ground with or without it.
    EXPECT_EQ(a.pixel(centro + QPoint(0, 40)), b.pixel(centro + QPoint(0, 40)));
    EXPECT_EQ(a.pixel(centro - QPoint(0, 40)), b.pixel(centro - QPoint(0, 40)));

    // The same field turned stands on a portrait sheet.
    GravarAsc(pasta.Arquivo("em_pe.asc"), 100, 50, 1.0, plano);
    TPlanoMapa alto;
    alto.elevacao = pasta.Arquivo("em_pe.asc");
    const TMapaPlano m(alto);
    EXPECT_TRUE(Perto(m.Mundo(), QRectF(0, 0, 50, 100), 1e-9));
    EXPECT_FALSE(m.Paisagem());

    // Nothing readable: empty, and the sheet still comes out blank at its size.
    TPlanoMapa nada;
    nada.elevacao = pasta.Arquivo("nao_existe.asc");
    const TMapaPlano vazio(nada);
    EXPECT_TRUE(vazio.Vazio());
    EXPECT_EQ(vazio.Folha(QSize(210, 297)).size(), QSize(210, 297));
}


TEST(MapaPlano, ADenseLineDrawsAsItsWholeStrokeAndItsDashesStayPutAsTheViewMoves) {
    // Two waving lines 2 km long with a vertex every 0.25 m and a 5 cm zigzag, as a fine
    // model's run gives them: the first solid (its type comes first), the second dashed.
    TPlanoMapa p;
    p.elevacao = "nao_existe.asc";
    for (int k = 0; k < 2; ++k) {
        TLinhaPlano l;
        l.terraco = k + 1;
        l.tipo = k == 0 ? "A" : "B";
        for (int i = 0; i <= 8000; ++i) {
            const double x = 0.25 * i;
            l.x.push_back(x);
            l.y.push_back(100 + 150 * k + 30 * std::sin(x / 50) + (i % 2 ? 0.05 : 0));
        }
        p.linhas.push_back(l);
    }
    const TMapaPlano mapa(p);
    ASSERT_FALSE(mapa.Vazio());
    const QRectF mundo = mapa.Mundo();
    const QSize tamanho(600, 300);
    const auto desenhar = [&](const QRectF& vista, QSize tamanho) {
        QImage img(tamanho, QImage::Format_RGB32);
        QPainter pintor(&img);
        mapa.Desenhar(pintor, QRectF(img.rect()), vista);
        return img;
    };

    // The solid line, at 3.3 m a pixel, as the same wave drawn a vertex every 10 m shows it:
    // as much ink, and every stroke within a pixel of the other's (the numbers at the ends
    // left out).
    const QSize faixa(600, 60);
    const QRectF solida(mundo.left(), 0, mundo.width(), mundo.width() / 10);
    const QImage nossa = desenhar(solida, faixa);
    QPolygonF onda;
    for (double x = 0; x <= 2000; x += 10) onda << QPointF(x, 100 + 30 * std::sin(x / 50));
    QImage inteira(faixa, QImage::Format_RGB32);
    inteira.fill(Qt::white);
    {
        QPainter pintor(&inteira);
        pintor.setRenderHint(QPainter::Antialiasing);
        pintor.setPen(QPen(QColor(0xB00000), 3, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        pintor.drawPolyline(TMapaPlano::Transformacao(QRectF(inteira.rect()), solida).map(onda));
    }
    const int tinta = Escuros(inteira);
    ASSERT_GT(tinta, 1500);
    EXPECT_NEAR(Escuros(nossa), tinta, tinta / 50);
    EXPECT_EQ(SemPar(nossa, inteira, 30, 570), 0);
    EXPECT_EQ(SemPar(inteira, nossa, 30, 570), 0);

    // Zoomed in on the dashed line, with most of it out of view: a pan by 40 pixels moves
    // every dash by 40 pixels, none starts afresh where the view now begins.
    const double porPixel = mundo.width() / 3 / tamanho.width();
    const QRectF vista(mundo.left() + mundo.width() / 3, 200, mundo.width() / 3, porPixel * tamanho.height());
    const QImage antes = desenhar(vista, tamanho), depois = desenhar(vista.translated(40 * porPixel, 0), tamanho);
    const int tracos = Escuros(depois);
    ASSERT_GT(tracos, 500);
    EXPECT_LT(Diferentes(antes, depois, 40, 0, tamanho.width() - 40, 60), tracos / 50);
}

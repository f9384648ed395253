// The location window never loses a file: a run refused at its inputs or failing leaves every
// old output byte for byte, the GIS export refuses every input of the run under any name and
// proposes the run's output, the field boundary survives a save, and the keys (F1, the
// accelerators) reach what they name.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <map>

#include "DialogosRoteiro.h"
#include "Digitacao.h"
#include "GradesSinteticas.h"
#include "ModeloLocacao.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/location/LocNivel.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "gui/common/Ajuda.h"
#include "gui/location/FrmLocacao.h"

namespace fs = std::filesystem;

namespace {

const QString kSobre = QStringLiteral(": escolha outro nome. Nada foi gravado.");

// A cone of 80 x 80 one-metre cells as ArcView ASCII grids, with a slope of 10 % on it.
void GravarCone(const std::string& elev, const std::string& decl) {
    const auto z = [](double x, double y) {
        const double r = std::hypot(x - 40.5, y - 40.5);
        return r > 38 ? -9999.0 : 30 - 0.1 * r;
    };
    GravarAsc(elev, 80, 80, 1.0, z);
    GravarAsc(decl, 80, 80, 1.0, [&](double x, double y) { return z(x, y) > 0 ? 10.0 : -9999.0; });
}

// Keeps the name each save dialog proposes.
struct Roteiro : TDialogosRoteiro {
    QStringList propostos;
    QString ArquivoSalvar(QWidget* p, const QString& titulo, const QString& proposto, const QString& f) override {
        propostos << proposto;
        return TDialogosRoteiro::ArquivoSalvar(p, titulo, proposto, f);
    }
};

struct Janela {
    PastaTemporaria pasta;
    std::string elev = pasta.Arquivo("cone.asc"), decl = pasta.Arquivo("cone_decl.asc"),
                saida = pasta.Arquivo("cone.vet");
    TModeloProjeto m;
    TGerenteSis g;
    QPointer<TfrmLocacao> w;
    Janela() {
        GravarCone(elev, decl);
        PrepararProjetoLocacao(m, 3, 1.0);
        m.LocacaoNivel().SetfnImgElev(elev);
        m.LocacaoNivel().SetfnImgDecli(decl);
        m.LocacaoNivel().SetfnVetSaida(saida);
        w = new TfrmLocacao(m, g);
        w->SetPastaFiguras(QString::fromUtf8(VANDORO_BIN_DIR));
        w->show();
        w->PreencherCampos();
    }
    ~Janela() { delete w.data(); }
    QLineEdit* E(const char* nome) const { return w->findChild<QLineEdit*>(nome); }
    QPushButton* B(const char* nome) const { return w->findChild<QPushButton*>(nome); }
    void Digitar(const char* nome, const QString& texto) const { Redigitar(E(nome), texto); }
    // A good run, its report answered.
    void Processar(Roteiro& r) {
        r.respostas.push_back(TResposta::Sim);  // replace the old output, if there is one
        r.dialogos.push_back([](QDialog&) { return int(QDialog::Accepted); });
        w->btnProcessarClick();
        ASSERT_EQ(w->ErroExecucao(), QString());
        ASSERT_GT(m.LocacaoNivel().Registros().Count(), 0);
    }
};

}  // namespace

TEST(FrmLocacaoArquivos, ARunRefusedAtItsInputsOrFailingLeavesEveryOldOutput) {
    Roteiro roteiro;
    Janela j;
    j.Processar(roteiro);
    const auto antes = ConteudoDaPasta(j.pasta.Caminho());
    ASSERT_TRUE(antes.count("cone.vet") && antes.count("cone.bdt"));

    // "Espaçamento arbitrado" with EV empty: the message names EV, and focuses it.
    j.Digitar("edtEV", QString());
    roteiro.registro.clear();
    roteiro.respostas = {TResposta::Sim};
    j.w->btnProcessarClick();
    EXPECT_EQ(roteiro.registro, QStringList{QStringLiteral("erro: Valor do espaçamento vertical inconsistente.")});
    EXPECT_EQ(j.w->focusWidget()->objectName(), QStringLiteral("edtEV"));
    EXPECT_EQ(ConteudoDaPasta(j.pasta.Caminho()), antes);

    // A slope raster of another size fails inside the run: nothing replaced, no result shown.
    roteiro.respostas.clear();
    j.Digitar("edtEV", QStringLiteral("1"));
    GravarArquivo(j.pasta.Arquivo("outra.asc"),
                  "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n1 1\n1 1\n");
    j.E("edtImagemDec")->setText(QString::fromStdString(j.pasta.Arquivo("outra.asc")));
    const auto antes2 = ConteudoDaPasta(j.pasta.Caminho());
    roteiro.registro.clear();
    roteiro.respostas = {TResposta::Sim};
    j.w->btnProcessarClick();
    EXPECT_EQ(roteiro.registro,
              (QStringList{QStringLiteral("pergunta: Arquivo de saída já existente. Deseja substituir o arquivo?"),
                           QStringLiteral("erro: As imagens de elevação e de declividade não têm o mesmo número de "
                                          "linhas e colunas.")}));
    EXPECT_EQ(ConteudoDaPasta(j.pasta.Caminho()), antes2);
    EXPECT_EQ(j.w->Tabela()->rowCount(), 0);
    EXPECT_FALSE(j.B("btnRelatorio")->isEnabled());
    EXPECT_FALSE(j.B("btnExportarSig")->isEnabled());
}

TEST(FrmLocacaoArquivos, TheGisExportRefusesEveryInputOfTheRunAndProposesItsOutput) {
    Roteiro roteiro;
    Janela j;
    const std::string projeto = j.pasta.Arquivo("p.kzp");
    j.g.SetPathProjeto(projeto);
    GravarArquivo(projeto, "[IDENTIFICACAO]\r\n");
    // A boundary that keeps the whole cone, in the grid's own units (no coordinate system).
    const std::string talhao = j.pasta.Arquivo("talhao.csv");
    GravarArquivo(talhao, "WKT,nome\n\"POLYGON ((0 0,80 0,80 80,0 80,0 0))\",talhao\n");
    j.E("edtLimite")->setText(QString::fromStdString(talhao));
    j.Processar(roteiro);
    const auto antes = ConteudoDaPasta(j.pasta.Caminho());

    fs::create_symlink(j.elev, j.pasta.Arquivo("ligacao.geojson"));
    fs::create_symlink(projeto, j.pasta.Arquivo("proj.csv"));
    const std::pair<std::string, std::string> recusas[] = {
        {j.pasta.Arquivo("talhao.geojson"), talhao},          // the boundary, as the export's table
        {j.pasta.Arquivo("ligacao.geojson"), j.elev},         // the elevation through a link
        {j.pasta.Caminho() + "/./ligacao.geojson", j.elev},   // and by another spelling
        {j.pasta.Arquivo("proj.geojson"), projeto},           // the project, through the table's link
    };
    for (const auto& [nome, entrada] : recusas) {
        roteiro.registro.clear();
        roteiro.arquivos = {QString::fromStdString(nome)};
        j.B("btnExportarSig")->click();
        const QString esperado = QStringLiteral("erro: O arquivo SIG de saída ") + QString::fromStdString(nome) +
                                 QStringLiteral(" substituiria ") + QString::fromStdString(entrada) + kSobre;
        EXPECT_EQ(roteiro.registro, (QStringList{QStringLiteral("salvar: Exportar para SIG"), esperado})) << nome;
    }
    auto esperado = antes;
    esperado["ligacao.geojson"] = LerArquivo(j.elev);
    esperado["proj.csv"] = LerArquivo(projeto);
    EXPECT_EQ(ConteudoDaPasta(j.pasta.Caminho()), esperado);

    // Every dialog proposed the run's output under the GIS extension; a good name is written.
    for (const QString& p : roteiro.propostos) EXPECT_EQ(p, QString::fromStdString(j.pasta.Arquivo("cone.gpkg")));
    roteiro.registro.clear();
    roteiro.arquivos = {QString::fromStdString(j.pasta.Arquivo("cone.geojson"))};
    j.B("btnExportarSig")->click();
    ASSERT_EQ(roteiro.Mensagens("info").size(), 1) << roteiro.registro.join("|").toStdString();
    EXPECT_TRUE(ArquivoExiste(j.pasta.Arquivo("cone.geojson")));
    EXPECT_TRUE(ArquivoExiste(j.pasta.Arquivo("cone.csv")));
}

TEST(FrmLocacaoArquivos, TheFieldBoundaryIsSavedInTheProjectAndReadBack) {
    TDialogosRoteiro roteiro;
    PastaTemporaria pasta;
    const std::string projeto = pasta.Arquivo("loc.kzp");
    {
        TModeloProjeto m;
        TGerenteSis g;
        TfrmLocacao w(m, g);
        m.SetModulo("Locacao");
        w.show();
        QLineEdit* e = w.findChild<QLineEdit*>("edtLimite");
        e->setFocus();
        QTest::keyClicks(e, QStringLiteral("limites/talh"));
        QKeyEvent til(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ã"));
        QApplication::sendEvent(e, &til);
        QTest::keyClicks(e, QStringLiteral("o 1.kml"));
        EXPECT_TRUE(g.Alterado());
        w.OnLerCamposDados();
        m.EscreverProjeto(projeto);
    }
    EXPECT_NE(LerArquivo(projeto).find("fnLimite=limites/talh\xE3o 1.kml\r\n"), std::string::npos);
    TModeloProjeto m;
    TGerenteSis g;
    ASSERT_TRUE(m.LerProjeto(projeto));
    TfrmLocacao w(m, g);
    w.PreencherCampos();
    EXPECT_EQ(w.findChild<QLineEdit*>("edtLimite")->text(), QStringLiteral("limites/talhão 1.kml"));

    // An older project, without the key: no boundary.
    std::string texto = LerArquivo(projeto);
    texto.erase(texto.find("fnLimite="), std::string("fnLimite=limites/talh\xE3o 1.kml\r\n").size());
    GravarArquivo(projeto, texto);
    TModeloProjeto velho;
    ASSERT_TRUE(velho.LerProjeto(projeto));
    EXPECT_EQ(velho.LocacaoNivel().fnLimite(), "");
    TfrmLocacao w2(velho, g);
    w2.PreencherCampos();
    EXPECT_EQ(w2.findChild<QLineEdit*>("edtLimite")->text(), QString());
}

TEST(FrmLocacaoArquivos, F1OpensTheHelpAndTheAcceleratorsAreTheWindowsOwn) {
    TDialogosRoteiro roteiro;
    Janela j;
    QStringList pelaTecla, peloBotao;
    const auto registrar = [&](QStringList& onde) {
        roteiro.dialogos.push_back([&onde](QDialog& d) {
            onde << d.windowTitle();
            return int(QDialog::Rejected);
        });
    };
    ReiniciarAvisoAjuda();
    registrar(pelaTecla);
    j.w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(j.w));
    j.E("edtTr")->setFocus();
    QTest::keyClick(j.E("edtTr"), Qt::Key_F1);
    ReiniciarAvisoAjuda();
    registrar(peloBotao);
    const QStringList viaTecla = roteiro.registro;
    roteiro.registro.clear();
    j.B("btnAjuda")->click();
    EXPECT_FALSE(viaTecla.isEmpty());
    EXPECT_EQ(viaTecla, roteiro.registro);
    EXPECT_EQ(pelaTecla, peloBotao);
    roteiro.dialogos.clear();

    // Each accelerator letter once, none of the menu bar's.
    QMap<QChar, QString> letras;
    const auto letra = [](const QString& t) {
        const int i = t.indexOf('&');
        return i >= 0 && i + 1 < t.size() && t[i + 1] != '&' ? t[i + 1].toUpper() : QChar();
    };
    QStringList textos;
    for (auto* b : j.w->findChildren<QAbstractButton*>()) textos << b->text();
    for (auto* l : j.w->findChildren<QLabel*>()) textos << l->text();
    for (const QString& t : textos) {
        const QChar c = letra(t);
        if (c.isNull()) continue;
        EXPECT_FALSE(QStringLiteral("PTFCJA").contains(c)) << t.toStdString();
        EXPECT_FALSE(letras.contains(c)) << t.toStdString() << " e " << letras.value(c).toStdString();
        letras[c] = t;
    }
    EXPECT_GE(letras.size(), 5);
    // Alt+O processes, as the button says.
    EXPECT_EQ(j.B("btnProcessar")->text(), QStringLiteral("Pr&ocessar"));
}

TEST(FrmLocacaoArquivos, TheTableHeaderBreaksOnlyBetweenWords) {
    Roteiro roteiro;
    Janela j;
    j.Processar(roteiro);
    QTableWidget* t = j.w->Tabela();
    QStringList titulos;
    for (int c = 0; c < t->columnCount(); ++c) titulos << t->horizontalHeaderItem(c)->text();
    EXPECT_EQ(titulos, (QStringList{QStringLiteral("Terraço"), QStringLiteral("Acima"), QStringLiteral("Cota"),
                                    QStringLiteral("Espaçamento\nvertical\n(m)"),
                                    QStringLiteral("Declividade\nmédia\n(%)"),
                                    QStringLiteral("Comprimento\ndo terraço\n(m)"),
                                    QStringLiteral("Área de\ninfluência\n(m2)"),
                                    QStringLiteral("Altura do\nterraço\n(m)"), QStringLiteral("Volume\n(m³)"),
                                    QStringLiteral("Horas\n(h)"), QStringLiteral("Custo\n(R$)"),
                                    QStringLiteral("Tipo de\nterraço")}));
    // Each line fits its column, so the header never wraps a line again.
    QHeaderView* h = t->horizontalHeader();
    for (int c = 0; c < t->columnCount(); ++c)
        for (const QString& linha : titulos[c].split('\n'))
            EXPECT_LE(h->fontMetrics().horizontalAdvance(linha), h->sectionSize(c)) << linha.toStdString();
    EXPECT_GE(h->height(), 3 * h->fontMetrics().lineSpacing());
}

TEST(FrmLocacaoArquivos, MainButtonsOnValuesTheModelRefusesShowTheErrorAndTouchNoFile) {
    Roteiro roteiro;
    Janela j;
    j.Processar(roteiro);
    const auto antes = ConteudoDaPasta(j.pasta.Caminho());

    // GIS export: a format no writer knows, and a KML of a model without a coordinate system.
    roteiro.registro.clear();
    roteiro.arquivos = {QString::fromStdString(j.pasta.Arquivo("cone.dwg")),
                        QString::fromStdString(j.pasta.Arquivo("cone.kml"))};
    j.B("btnExportarSig")->click();
    j.B("btnExportarSig")->click();
    const QStringList erros = roteiro.Mensagens("erro");
    ASSERT_EQ(erros.size(), 2) << roteiro.registro.join("|").toStdString();
    EXPECT_EQ(erros[0], QStringLiteral("Formato de saída desconhecido: use .gpkg (GeoPackage), .shp (Shapefile), "
                                       ".geojson (GeoJSON), .kml (KML), .gpx (GPX) ou .dxf (DXF)."));
    EXPECT_TRUE(erros[1].contains(QStringLiteral("GPX e KML exigem um"))) << erros[1].toStdString();
    EXPECT_EQ(ConteudoDaPasta(j.pasta.Caminho()), antes);

    // The report of a table damaged since the run.
    GravarArquivo(j.pasta.Arquivo("cone.bdt"), "lixo");
    roteiro.registro.clear();
    j.B("btnRelatorio")->click();
    EXPECT_EQ(roteiro.registro, QStringList{QStringLiteral("erro: Não foi possível ler a tabela de terraços ") +
                                            QString::fromStdString(j.pasta.Arquivo("cone.bdt")) + "."});
    EXPECT_EQ(LerArquivo(j.pasta.Arquivo("cone.bdt")), "lixo");

    // The method dialogs of a project without choices open on their first rows; "Processar"
    // with a height method and no height names the field.
    for (int metodo : {0, 1, 2}) {
        QComboBox* cb = j.w->findChild<QComboBox*>("cbMetodo");
        roteiro.dialogos.push_back([](QDialog&) { return int(QDialog::Rejected); });
        cb->setCurrentIndex(metodo);
        emit cb->activated(metodo);
        EXPECT_TRUE(roteiro.dialogos.empty()) << metodo;
    }
    QComboBox* cb = j.w->findChild<QComboBox*>("cbMetodo");
    cb->setCurrentIndex(4);
    emit cb->activated(4);
    roteiro.registro.clear();
    j.B("btnProcessar")->click();
    EXPECT_EQ(roteiro.registro, QStringList{QStringLiteral("erro: Valor da altura do terraço inconsistente.")});
    EXPECT_EQ(j.w->focusWidget()->objectName(), QStringLiteral("edtAlturaTerraco"));
    auto depois = antes;
    depois["cone.bdt"] = "lixo";
    EXPECT_EQ(ConteudoDaPasta(j.pasta.Caminho()), depois);
    EXPECT_TRUE(j.w->isVisible());
}

// The slope, filter and vector import/export windows, driven through their buttons with the
// file choices and questions answered by the scripted dialog service; results read back.
#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"
#include "gui/raster/FDeclividade.h"
#include "gui/raster/FFiltro.h"
#include "gui/raster/FImportExport.h"
#include "gui/shell/Principal.h"

namespace {

QString Raster(const char* nome) { return Q(DadosTeste(std::string("raster/") + nome)); }
QString Vetor(const char* nome) { return Q(DadosTeste(std::string("vetor/") + nome)); }
bool Existe(const std::string& n) { return std::filesystem::exists(n); }
QString Foco(QWidget& w) { return w.focusWidget() ? w.focusWidget()->objectName() : QString(); }

const QString kByte =
    QStringLiteral("Arquivo especificado é do tipo byte. Utilize um arquivo do tipo inteiro ou real.");

TEST(FerramentasRaster, DeclividadePelosDialogos) {
    TDialogosRoteiro roteiro;
    PastaTemporaria tmp;
    TFDeclividade d;
    EXPECT_EQ(d.windowTitle(), "Declividade");
    const QString saida = Q(tmp.Arquivo("declive"));  // no extension: ".asc" is added
    roteiro.arquivos = {Raster("declive3.asc"), saida};
    d.BitBtnAbrirClick();
    d.BitBtn2Click();
    EXPECT_EQ(d.EdtArqEntrada()->text(), Raster("declive3.asc"));
    EXPECT_EQ(d.EdtTitulo()->text(), "Imagem declividade gerada do arquivo imagem de elevação declive3.asc");
    EXPECT_EQ(d.EdtArqSaida()->text(), saida + ".asc");
    d.EdtTitulo()->setText("Declive de teste");
    d.BitBtnCalcularClick();
    EXPECT_EQ(roteiro.registro.last(), "info: Cálculo de declividade finalizado com sucesso.");
    EXPECT_TRUE(roteiro.Mensagens("erro").isEmpty());
    EXPECT_EQ(d.windowTitle(), "Declividade");

    TImagem r;
    ASSERT_TRUE(r.LoadFromFile(S(saida) + ".asc"));
    ASSERT_EQ(r.Columns(), 3);
    EXPECT_NEAR(r.GetReal({1, 1}), 100.0, 1e-4);                         // centre: 10 m over 10 m
    EXPECT_NEAR(r.GetReal({1, 0}), 100.0, 1e-4);                         // orthogonal neighbour
    EXPECT_NEAR(r.GetReal({0, 0}), 100.0 * 10 / std::sqrt(200.0), 1e-3);  // corner: 70.71 %
    EXPECT_NEAR(r.GetReal({2, 2}), 70.71, 1e-2);

    // The existing file: No keeps the field as it was, Yes takes the name.
    d.EdtArqSaida()->clear();
    roteiro.arquivos = {saida + ".asc"};
    roteiro.respostas = {TResposta::Nao};
    d.BitBtn2Click();
    EXPECT_EQ(roteiro.Mensagens("pergunta").last(),
              "O arquivo 'declive.asc' já existe. Deseja substituir o arquivo existente ?");
    EXPECT_TRUE(d.EdtArqSaida()->text().isEmpty());
    roteiro.arquivos = {saida + ".asc"};
    roteiro.respostas = {TResposta::Sim};
    d.BitBtn2Click();
    EXPECT_EQ(d.EdtArqSaida()->text(), saida + ".asc");

    // Closing empties the three fields.
    d.BitBtn4Click();
    EXPECT_TRUE(d.EdtArqEntrada()->text().isEmpty());
    EXPECT_TRUE(d.EdtArqSaida()->text().isEmpty());
    EXPECT_TRUE(d.EdtTitulo()->text().isEmpty());
}

TEST(FerramentasRaster, FiltroUmaPassadaPelosDialogos) {
    TDialogosRoteiro roteiro;
    PastaTemporaria tmp;
    TFFiltro d;
    EXPECT_EQ(d.windowTitle(), "Filtro");
    EXPECT_EQ(d.SpinEditFiltragens()->minimum(), 1);
    EXPECT_EQ(d.SpinEditFiltragens()->maximum(), 50);
    EXPECT_EQ(d.SpinEditFiltragens()->value(), 1);

    // An Idrisi output keeps the title, so it can be read back.
    const std::string saida = tmp.Arquivo("f.doc");
    roteiro.arquivos = {Raster("filtro3.asc"), Q(saida)};
    d.BitBtnAbrirClick();
    d.BitBtn2Click();
    EXPECT_EQ(d.EdtTitulo()->text(), "Imagem filtrada do arquivo de imagem filtro3.asc");
    d.BitBtnCalcularClick();
    EXPECT_EQ(roteiro.registro.last(), "info: Processo de filtragem finalizado com sucesso.");
    EXPECT_EQ(d.windowTitle(), "Filtro");

    TImagem r;
    ASSERT_TRUE(r.LoadFromFile(saida));
    EXPECT_EQ(r.Title(), "Imagem filtrada do arquivo de imagem filtro3.asc");
    EXPECT_NEAR(r.GetReal({1, 1}), 2.0, 1e-5);   // (8 + 10) / 9
    EXPECT_NEAR(r.GetReal({0, 0}), 3.25, 1e-5);  // (1 + 1 + 1 + 10) / 4
    EXPECT_NEAR(r.GetReal({2, 2}), 3.25, 1e-5);
    EXPECT_NEAR(r.GetReal({1, 0}), 2.5, 1e-5);  // (5 + 10) / 6
    EXPECT_NEAR(r.GetReal({0, 1}), 2.5, 1e-5);
    // Nothing but the result was written.
    std::set<std::string> escritos;
    for (const auto& e : std::filesystem::directory_iterator(tmp.Caminho())) escritos.insert(e.path().filename().string());
    EXPECT_EQ(escritos, (std::set<std::string>{"f.doc", "f.img"}));

    // Two passes equal the one-pass result filtered again.
    roteiro.registro.clear();
    const std::string duas = tmp.Arquivo("f2.asc"), outra = tmp.Arquivo("f11.asc");
    d.EdtArqEntrada()->setText(Raster("filtro3.asc"));
    d.EdtArqSaida()->setText(Q(duas));
    d.SpinEditFiltragens()->setValue(2);
    d.BitBtnCalcularClick();
    d.EdtArqEntrada()->setText(Q(saida));
    d.EdtArqSaida()->setText(Q(outra));
    d.SpinEditFiltragens()->setValue(1);
    d.BitBtnCalcularClick();
    EXPECT_EQ(roteiro.Mensagens("info").size(), 2);
    TImagem a, b;
    ASSERT_TRUE(a.LoadFromFile(duas));
    ASSERT_TRUE(b.LoadFromFile(outra));
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(a.GetReal(i), b.GetReal(i), 1e-5) << i;
}

// Each check, in order, with its box and where the focus goes; nothing is written.
void ChecaVerificacoes(TFFerramentaRaster& d, bool declividade) {
    TDialogosRoteiro roteiro;
    PastaTemporaria tmp;
    d.show();
    const std::string saida = tmp.Arquivo("s.asc");
    auto processar = [&](const QString& entrada, const QString& s) {
        roteiro.registro.clear();
        d.EdtArqEntrada()->setText(entrada);
        d.EdtArqSaida()->setText(s);
        d.BitBtnCalcularClick();
        EXPECT_EQ(roteiro.registro.size(), 1) << S(roteiro.registro.join(" | "));
        return roteiro.registro.value(0);
    };
    EXPECT_EQ(processar("", Q(saida)), "erro: Arquivo de entrada inválido.");
    EXPECT_EQ(Foco(d), "BitBtnAbrir");
    EXPECT_EQ(processar(Q(tmp.Arquivo("nada.asc")), Q(saida)), "erro: Arquivo de entrada inválido.");
    EXPECT_EQ(processar(Raster("declive3.asc"), ""), "erro: Arquivo de saída inválido.");
    EXPECT_EQ(Foco(d), "BitBtn2");
    // A name no writer takes is refused before any work, with the raster layer's words.
    EXPECT_EQ(processar(Raster("byte3.doc"), Q(tmp.Arquivo("s.ras"))),
              "erro: Erro. O arquivo s.ras não corresponde a um arquivo válido de imagem.");
    EXPECT_EQ(Foco(d), "BitBtn2");
    EXPECT_EQ(processar(Raster("declive3.asc"), Q(tmp.Arquivo("s.rst"))), "erro: Não implementado.");
    EXPECT_EQ(processar(Raster("declive3.asc"), Raster("declive3.asc")),
              "erro: A entrada e a saída são o mesmo arquivo.");
    // A byte image: its box, and no success box.
    EXPECT_EQ(processar(Raster("byte3.doc"), Q(saida)), (declividade ? "aviso: " : "erro: ") + kByte);
    if (declividade) {
        EXPECT_EQ(processar(Raster("pes.doc"), Q(saida)),
                  "erro: A unidade de distância utilizada na imagem é inválida");
    }
    EXPECT_FALSE(Existe(saida));
    EXPECT_FALSE(Existe(tmp.Arquivo("s.ras")));
    EXPECT_EQ(d.windowTitle(), declividade ? "Declividade" : "Filtro");
    d.hide();
}

TEST(FerramentasRaster, VerificacoesDaDeclividade) {
    TFDeclividade d;
    ChecaVerificacoes(d, true);
}

TEST(FerramentasRaster, VerificacoesDoFiltro) {
    TFFiltro d;
    ChecaVerificacoes(d, false);
}

// ---------------------------------------------------------------------------------------

struct Janela {
    TFImportExport d;
    explicit Janela(const char* legenda) {
        d.SetDirecao(std::string(legenda) == kLegendaImportacao ? TFImportExport::TDirecao::Importacao
                                                                : TFImportExport::TDirecao::Exportacao);
        d.show();
    }
    template <class T>
    T* F(const char* nome) {
        T* w = d.findChild<T*>(nome);
        EXPECT_TRUE(w) << nome;
        return w;
    }
    bool Visivel(const char* nome) { return F<QWidget>(nome)->isVisibleTo(&d); }
    QString Texto(const char* nome) { return F<QLineEdit>(nome)->text(); }
};

TEST(FerramentasRaster, ImportExportModosPelaLegenda) {
    {
        Janela j(kLegendaImportacao);
        EXPECT_TRUE(j.Visivel("BitBtnImport"));
        EXPECT_FALSE(j.Visivel("BitBtnExport"));
        EXPECT_EQ(j.F<QPushButton>("BitBtnImport")->text(), "&Importar");
        EXPECT_EQ(j.F<QGroupBox>("gbFormato")->title(), " Importar arquivo vetor do ");
        EXPECT_TRUE(j.F<QRadioButton>("RadioButtonIdrisi")->isChecked());
        EXPECT_FALSE(j.Visivel("gbUnidade"));
        // Surfer asks for the distance unit, Metro by default; fields are cleared.
        j.F<QLineEdit>("edtTituloArq")->setText("x");
        QTest::mouseClick(j.F<QRadioButton>("RadioButtonSurfer"), Qt::LeftButton);
        EXPECT_TRUE(j.Visivel("gbUnidade"));
        EXPECT_TRUE(j.F<QGroupBox>("gbTitulo")->isEnabled());
        EXPECT_TRUE(j.F<QRadioButton>("RadioButtonMetro")->isChecked());
        EXPECT_EQ(j.F<QRadioButton>("RadioButtonKilom")->text(), "Quilômetro");
        EXPECT_TRUE(j.Texto("edtTituloArq").isEmpty());
        QTest::mouseClick(j.F<QRadioButton>("RadioButtonIdrisi"), Qt::LeftButton);
        EXPECT_FALSE(j.Visivel("gbUnidade"));
    }
    {
        Janela j(kLegendaExportacao);
        EXPECT_FALSE(j.Visivel("BitBtnImport"));
        EXPECT_TRUE(j.Visivel("BitBtnExport"));
        EXPECT_EQ(j.F<QPushButton>("BitBtnExport")->text(), "&Exportar");
        EXPECT_EQ(j.F<QGroupBox>("gbFormato")->title(), " Exportar arquivo vetor para ");
        // Surfer keeps no title: the title group is switched off, and on again for Idrisi.
        QTest::mouseClick(j.F<QRadioButton>("RadioButtonSurfer"), Qt::LeftButton);
        EXPECT_FALSE(j.F<QGroupBox>("gbTitulo")->isEnabled());
        EXPECT_FALSE(j.Visivel("gbUnidade"));
        QTest::mouseClick(j.F<QRadioButton>("RadioButtonIdrisi"), Qt::LeftButton);
        EXPECT_TRUE(j.F<QGroupBox>("gbTitulo")->isEnabled());
        // Showing again starts from Idrisi.
        QTest::mouseClick(j.F<QRadioButton>("RadioButtonSurfer"), Qt::LeftButton);
        j.d.hide();
        j.d.show();
        EXPECT_TRUE(j.F<QRadioButton>("RadioButtonIdrisi")->isChecked());
        EXPECT_TRUE(j.F<QGroupBox>("gbTitulo")->isEnabled());
    }
}

std::vector<TRegistroVet> Registros(const std::string& vet) {
    TVET v;
    v.Load(vet);
    std::vector<TRegistroVet> r;
    for (int i = 0; i < v.RecordCount(); ++i) r.push_back(v.Record(i));
    return r;
}

void Iguais(const std::vector<TRegistroVet>& a, const std::vector<TRegistroVet>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Id, b[i].Id) << i;
        EXPECT_FLOAT_EQ(a[i].X, b[i].X) << i;
        EXPECT_FLOAT_EQ(a[i].Y, b[i].Y) << i;
        EXPECT_FLOAT_EQ(a[i].Z, b[i].Z) << i;
    }
}

// Import 'entrada' into a .vet, export it back, import that again: the same lines.
void IdaEVolta(bool surfer, const QString& entrada, const char* extensao) {
    TDialogosRoteiro roteiro;
    PastaTemporaria tmp;
    const std::string vet = tmp.Arquivo("a.vet"), volta = tmp.Arquivo(std::string("b") + extensao),
                      vet2 = tmp.Arquivo("c.vet");
    const char* radio = surfer ? "RadioButtonSurfer" : "RadioButtonIdrisi";
    {
        Janela j(kLegendaImportacao);
        QTest::mouseClick(j.F<QRadioButton>(radio), Qt::LeftButton);
        if (surfer) QTest::mouseClick(j.F<QRadioButton>("RadioButtonKilom"), Qt::LeftButton);
        roteiro.arquivos = {entrada, Q(tmp.Arquivo("a"))};  // ".vet" added
        j.d.BitBtnAbrirClick();
        j.d.BitBtnSalvarClick();
        EXPECT_EQ(j.Texto("edtArqEntrada"), QFileInfo(entrada).fileName());
        EXPECT_EQ(j.Texto("edtArqSaida"), "a.vet");
        EXPECT_EQ(j.Texto("edtTituloArq"), "Arquivo gerado da importação do arquivo " + QFileInfo(entrada).fileName());
        EXPECT_EQ(j.d.ArquivoSaida(), Q(vet));
        j.d.BitBtnImportClick();
        EXPECT_EQ(roteiro.registro.last(), "info: Importação finalizada com sucesso.");
        EXPECT_EQ(j.d.windowTitle(), kLegendaImportacao);
    }
    TVET a;
    a.Load(vet);
    EXPECT_EQ(a.Title(), "Arquivo gerado da importação do arquivo " + S(QFileInfo(entrada).fileName()));
    EXPECT_EQ(a.Units(), surfer ? "km" : "m");
    EXPECT_EQ(a.LineCount(), 2);
    {
        Janela j(kLegendaExportacao);
        QTest::mouseClick(j.F<QRadioButton>(radio), Qt::LeftButton);
        roteiro.arquivos = {Q(vet), Q(tmp.Arquivo("b"))};
        j.d.BitBtnAbrirClick();
        j.d.BitBtnSalvarClick();
        EXPECT_EQ(j.Texto("edtArqSaida"), QString("b") + extensao);
        EXPECT_EQ(j.Texto("edtTituloArq"), "Arquivo gerado da exportação do arquivo a.vet");
        j.d.BitBtnExportClick();
        EXPECT_EQ(roteiro.registro.last(), "info: Exportação finalizada com sucesso.");
    }
    {
        Janela j(kLegendaImportacao);
        QTest::mouseClick(j.F<QRadioButton>(radio), Qt::LeftButton);
        if (surfer) QTest::mouseClick(j.F<QRadioButton>("RadioButtonKilom"), Qt::LeftButton);
        roteiro.arquivos = {Q(volta), Q(vet2)};
        j.d.BitBtnAbrirClick();
        j.d.BitBtnSalvarClick();
        j.d.BitBtnImportClick();
    }
    EXPECT_TRUE(roteiro.Mensagens("erro").isEmpty()) << S(roteiro.Mensagens("erro").join(" | "));
    Iguais(Registros(vet), Registros(vet2));
    if (!surfer) {
        TInfArqDocVet doc;
        ASSERT_TRUE(doc.Load(tmp.Arquivo("b.dvc")));
        EXPECT_EQ(doc.Title, "Arquivo gerado da exportação do arquivo a.vet");
    }
}

TEST(FerramentasRaster, IdrisiImportadoEExportadoDeVolta) { IdaEVolta(false, Vetor("rio.vec"), ".vec"); }
TEST(FerramentasRaster, SurferImportadoEExportadoDeVolta) { IdaEVolta(true, Vetor("curvas.txt"), ".txt"); }

TEST(FerramentasRaster, ImportacaoRecusadaNadaGravado) {
    TDialogosRoteiro roteiro;
    PastaTemporaria tmp;
    Janela j(kLegendaImportacao);
    auto importar = [&] {
        roteiro.registro.clear();
        j.d.BitBtnImportClick();
        EXPECT_EQ(roteiro.registro.size(), 1) << S(roteiro.registro.join(" | "));
        return roteiro.registro.value(0);
    };
    EXPECT_EQ(importar(), "erro: Arquivo de entrada inválido.");
    EXPECT_EQ(Foco(j.d), "BitBtnAbrir");
    roteiro.arquivos = {Vetor("rio.vec")};
    j.d.BitBtnAbrirClick();
    EXPECT_EQ(importar(), "erro: Arquivo de saída inválido.");
    EXPECT_EQ(Foco(j.d), "BitBtnSalvar");

    // A ".vec" whose ".dvc" is missing: the documentation's own load error.
    const std::string vec = tmp.Arquivo("so.vec"), vet = tmp.Arquivo("so.vet");
    GravarArquivo(vec, LerArquivo(DadosTeste("vetor/rio.vec")));
    roteiro.arquivos = {Q(vec), Q(vet)};
    j.d.BitBtnAbrirClick();
    j.d.BitBtnSalvarClick();
    TInfArqDocVet doc;
    ASSERT_FALSE(doc.Load(tmp.Arquivo("so.dvc")));
    EXPECT_EQ(importar(), "erro: " + Q(doc.LastError()));
    EXPECT_FALSE(Existe(vet));
    // Its attributes refused: points are no lines.
    std::string dvc = LerArquivo(DadosTeste("vetor/rio.dvc"));
    dvc.replace(dvc.find("object type : line"), 18, "object type : point");
    GravarArquivo(tmp.Arquivo("so.dvc"), dvc);
    EXPECT_EQ(importar(), "erro: Atributo do arquivo 'so.vec' inválido.");
    EXPECT_FALSE(Existe(vet));
    EXPECT_EQ(j.d.windowTitle(), kLegendaImportacao);
}

TEST(FerramentasRaster, MenuFerramentasAbreAsJanelas) {
    TDialogosRoteiro roteiro;
    PastaTemporaria tmp;
    TFPrincipal w(Q(VANDORO_BIN_DIR), Q(tmp.Arquivo("VANDORO4.ini")));
    QStringList vistos;
    auto olhar = [&](QDialog& d) {
        d.show();
        QString botoes;
        for (const char* b : {"BitBtnImport", "BitBtnExport", "BitBtnCalcular"})
            if (auto* p = d.findChild<QPushButton*>(b); p && p->isVisibleTo(&d)) botoes += b;
        vistos << d.windowTitle() + ":" + botoes;
        return QDialog::Rejected;
    };
    roteiro.dialogos = {olhar, olhar, olhar, olhar};
    for (const char* a : {"actDeclividade", "actFiltro", "actImportacao", "actExportacao"}) {
        auto* acao = w.findChild<QAction*>(a);
        ASSERT_TRUE(acao) << a;
        EXPECT_TRUE(acao->isEnabled() && acao->isVisible()) << a;
        acao->trigger();
    }
    EXPECT_EQ(vistos, (QStringList{"Declividade:BitBtnCalcular", "Filtro:BitBtnCalcular",
                                   "Importação de arquivo:BitBtnImport", "Exportação de arquivo:BitBtnExport"}));
    // Each has its help page beside the program.
    for (int topico : {TFDeclividade::kTopicoAjuda, TFFiltro::kTopicoAjuda, TFImportExport::kTopicoAjuda})
        EXPECT_TRUE(QFileInfo::exists(QString(VANDORO_BIN_DIR "/ajuda/%1.htm").arg(topico))) << topico;
}

}  // namespace

// The location window's stake-out export on the shipped level example: the spacing asked and
// remembered, the spreadsheet read back, and what cannot be written refused with nothing on disk.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>

#include "DialogosRoteiro.h"
#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/common/Regional.h"
#include "core/common/Win1252.h"
#include "core/location/Estacas.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "gui/location/FrmLocacao.h"

namespace {

// The shipped level project and its model copied to a scratch folder, open in the window.
struct Exemplo {
    PastaTemporaria pasta;
    TModeloProjeto m;
    TGerenteSis g;
    QPointer<TfrmLocacao> w;
    Exemplo() {
        // The model without its ".prj": a field surveyed in local coordinates.
        CopiarExemploLocacao(pasta);
        for (const char* prj : {"hugo_site_2m.prj", "hugo_site_2m_declividade.prj"}) std::filesystem::remove(pasta.Arquivo(prj));
        const std::string projeto = pasta.Arquivo("Locacao em nivel.kzp");
        m.AbrirProjetoSemAlterar(projeto);
        g.SetPathProjeto(projeto);
        w = new TfrmLocacao(m, g);
        w->SetPastaFiguras(QString::fromUtf8(VANDORO_BIN_DIR));
        w->show();
        w->PreencherCampos();
    }
    ~Exemplo() { delete w.data(); }
    QPushButton* B(const char* nome) const { return w->findChild<QPushButton*>(QString::fromLatin1(nome)); }
};

// Answers the spacing dialog: checks what it shows, types 'valor' and presses "Ok".
std::function<int(QDialog&)> Espacamento(const QString& valor, QString* mostrado = nullptr) {
    return [=](QDialog& d) {
        auto* campo = d.findChild<QLineEdit*>(QStringLiteral("edtEspacamentoEstacas"));
        if (!campo) {
            ADD_FAILURE() << "sem o campo do espaçamento";
            return int(QDialog::Rejected);
        }
        bool rotulo = false;
        for (QLabel* l : d.findChildren<QLabel*>())
            rotulo = rotulo || (l->text() == QString::fromUtf8(kRotuloEspacamentoEstacas) && l->buddy() == campo);
        EXPECT_TRUE(rotulo);
        if (mostrado) *mostrado = campo->text();
        campo->setText(valor);
        d.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        return d.result();
    };
}

std::vector<std::string> Campos(const std::string& linha, char sep) {
    std::vector<std::string> r(1);
    for (char c : linha) {
        if (c == sep) r.emplace_back();
        else r.back() += c;
    }
    return r;
}

std::vector<std::string> Linhas(const std::string& texto) {
    std::vector<std::string> r;
    size_t i = 0;
    for (size_t fim; (fim = texto.find("\r\n", i)) != std::string::npos; i = fim + 2) r.push_back(texto.substr(i, fim - i));
    EXPECT_EQ(i, texto.size()) << "a última linha não termina em CR LF";
    return r;
}

}  // namespace

TEST(FrmLocacaoEstacas, TheLevelExampleIsStakedToASpreadsheetAndWhatCannotBeWrittenIsRefused) {
    TDialogosRoteiro roteiro;
    Exemplo j;
    QPushButton* estacas = j.B("btnExportarEstacas");
    ASSERT_NE(estacas, nullptr);
    EXPECT_EQ(estacas->text(), QStringLiteral("Exportar &estacas"));
    EXPECT_FALSE(estacas->isEnabled());
    EXPECT_EQ(estacas->isEnabled(), j.B("btnExportarSig")->isEnabled());

    roteiro.dialogos.push_back([](QDialog&) { return int(QDialog::Accepted); });  // the report
    j.w->btnProcessarClick();
    ASSERT_EQ(j.w->ErroExecucao(), QString());
    const int terracos = j.w->Tabela()->rowCount();
    ASSERT_GT(terracos, 10);
    EXPECT_TRUE(estacas->isEnabled());
    EXPECT_TRUE(j.B("btnExportarSig")->isEnabled());

    PastaTemporaria saida;
    const std::string csv = saida.Arquivo("estacas.csv");

    // A spacing out of range: its message, no file asked for, nothing written.
    roteiro.registro.clear();
    QString mostrado;
    roteiro.dialogos.push_back(Espacamento(QStringLiteral("0"), &mostrado));
    roteiro.arquivos.push_back(QString::fromStdString(csv));
    estacas->click();
    EXPECT_EQ(mostrado, QStringLiteral("20"));
    EXPECT_EQ(roteiro.registro,
              (QStringList{QStringLiteral("dialogo: Exportar estacas"),
                           QStringLiteral("erro: O espaçamento das estacas deve ser um número maior ou igual a 1 m.")}));
    EXPECT_TRUE(ConteudoDaPasta(saida.Caminho()).empty());
    roteiro.arquivos.clear();

    // Every 25 m: the spreadsheet read back.
    roteiro.registro.clear();
    roteiro.dialogos.push_back(Espacamento(QStringLiteral("25"), &mostrado));
    roteiro.arquivos.push_back(QString::fromStdString(csv));
    estacas->click();
    EXPECT_EQ(mostrado, QStringLiteral("20"));  // the refused value is not kept
    EXPECT_EQ(roteiro.filtros.last(), QString::fromUtf8(kFiltroEstacas));
    ASSERT_TRUE(std::filesystem::exists(csv));
    const Regional& r = Regional::Current();
    const char sep = r.DecimalSeparator == ',' ? ';' : ',';
    const std::vector<std::string> linhas = Linhas(Win1252ToUtf8(LerArquivo(csv)));
    ASSERT_GT(linhas.size(), size_t(terracos) + 1);
    const std::string s(1, sep);
    EXPECT_EQ(linhas[0], "Terraço" + s + "Estaca" + s + "Distância (m)" + s + "E" + s + "N" + s +
                             "Cota de projeto (m)" + s + "Cota do terreno (m)");
    EXPECT_EQ(roteiro.registro.last(), QStringLiteral("info: Estacas gravadas: %1 pontos em %2.")
                                           .arg(linhas.size() - 1)
                                           .arg(QString::fromStdString(csv)));
    const std::vector<std::string> primeira = Campos(linhas[1], sep);
    ASSERT_EQ(primeira.size(), 7u);
    EXPECT_EQ(primeira[0], "1");
    EXPECT_EQ(primeira[1], "1");
    EXPECT_EQ(primeira[2], FloatToStrFixed(0, 2, r));
    int vistos = 0;
    for (size_t i = 1; i < linhas.size(); ++i) {
        const std::vector<std::string> c = Campos(linhas[i], sep);
        ASSERT_EQ(c.size(), 7u) << linhas[i];
        EXPECT_FALSE(c[6].empty()) << linhas[i];  // the example's lines lie on its data
        const double estaca = StrToFloat(c[2], r);
        if (c[1] == "1") {
            ++vistos;
            EXPECT_EQ(estaca, 0) << linhas[i];
            continue;
        }
        const std::vector<std::string> antes = Campos(linhas[i - 1], sep);
        ASSERT_EQ(antes[0], c[0]) << linhas[i];
        EXPECT_EQ(std::stoi(c[1]), std::stoi(antes[1]) + 1) << linhas[i];
        const double passo = estaca - StrToFloat(antes[2], r);
        const bool ultima = i + 1 == linhas.size() || Campos(linhas[i + 1], sep)[0] != c[0];
        if (ultima) {
            EXPECT_GT(passo, 0) << linhas[i];
            EXPECT_LE(passo, 25.005) << linhas[i];
        } else {
            EXPECT_NEAR(passo, 25, 0.005) << linhas[i];
        }
    }
    EXPECT_EQ(vistos, terracos);

    // This copy of the model has no coordinate system: a GPX is refused before anything is written,
    // and the spacing accepted last is proposed again.
    ASSERT_EQ(EstacasDaLocacao(j.m.LocacaoNivel(), 25).crs, "");
    const auto antes = ConteudoDaPasta(saida.Caminho());
    roteiro.registro.clear();
    roteiro.dialogos.push_back(Espacamento(QStringLiteral("25"), &mostrado));
    roteiro.arquivos.push_back(QString::fromStdString(saida.Arquivo("estacas.gpx")));
    estacas->click();
    EXPECT_EQ(mostrado, QStringLiteral("25"));
    EXPECT_EQ(roteiro.registro.last(), QStringLiteral("erro: O modelo de elevação não tem sistema de coordenadas: "
                                                      "as estacas só podem ser gravadas em CSV."));
    EXPECT_EQ(ConteudoDaPasta(saida.Caminho()), antes);

    // A format the program does not write.
    roteiro.registro.clear();
    roteiro.dialogos.push_back(Espacamento(QStringLiteral("25")));
    roteiro.arquivos.push_back(QString::fromStdString(saida.Arquivo("estacas.txt")));
    estacas->click();
    EXPECT_EQ(roteiro.registro.last(), QStringLiteral("erro: Formato de estacas desconhecido: use .csv, .gpx ou .kml."));
    EXPECT_EQ(ConteudoDaPasta(saida.Caminho()), antes);

    // Cancelling the spacing asks nothing more.
    roteiro.registro.clear();
    roteiro.dialogos.push_back([](QDialog&) { return int(QDialog::Rejected); });
    estacas->click();
    EXPECT_EQ(roteiro.registro, QStringList{QStringLiteral("dialogo: Exportar estacas")});
}

#include "telas/Telas.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "gui/common/Assistentes.h"
#include "gui/common/Dialogos.h"
#include "gui/common/DialogosTexto.h"
#include "gui/shell/Inicial.h"
#include "gui/shell/Principal.h"
#include "gui/sizing/FrmDimensionamento.h"
#include "telas/TelasChuva.h"
#include "telas/TelasFerramentas.h"
#include "telas/TelasLocacao.h"
#include "telas/TelasPdf.h"
#include "telas/TelasSimulacao.h"
#include "telas/TelasVisualizar.h"

void Esperar(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

namespace {

// The screen has no window manager: the caption the window carries is drawn above its
// picture as a plain title strip, so the reviewer sees it. Frameless windows go as they are.
QPixmap ComTitulo(QWidget& w) {
    const QPixmap corpo = w.grab();
    if (w.windowFlags() & Qt::FramelessWindowHint) return corpo;
    const int altura = 26;
    QPixmap r(corpo.width(), corpo.height() + altura);
    r.fill(QColor(52, 73, 94));
    QPainter p(&r);
    QFont f = w.font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(10, 0, corpo.width() - 20, altura), Qt::AlignVCenter | Qt::AlignLeft,
               // As a window manager shows it: the modified marker becomes '*' or nothing.
               w.windowTitle().replace(QStringLiteral("[*]"), w.isWindowModified() ? QStringLiteral("*") : QString()));
    p.drawPixmap(0, altura, corpo);
    return r;
}

// Answers every question with "no" and photographs every modal dialog of the program
// under the name the next picture is to have.
class TServicoTelas : public TDialogosTexto {
public:
    QString pasta, nome;
    QStringList gravadas;

    TServicoTelas() : TDialogosTexto(QStringLiteral("vandoro-telas")) {}

    bool Gravar(QWidget& w) {
        if (nome.isEmpty()) return false;
        const QString arquivo = pasta + "/" + nome + ".png";
        const bool ok = ComTitulo(w).save(arquivo, "PNG");
        if (ok) gravadas << nome;
        else Relatar("erro", "não foi possível gravar " + arquivo);
        nome.clear();
        return ok;
    }
    int Executar(QDialog& d) override {
        d.show();
        Esperar(400);
        Gravar(d);
        d.reject();
        return QDialog::Rejected;
    }
};

// The sizing window on each shipped example: entry page, result page, and the spacing-method
// dialog of each method (the service photographs each dialog and closes it).
void TelasDimensionamento(TFPrincipal& w, TServicoTelas& servico) {
    const struct {
        const char* exemplo;
        const char* nome;
        const char* grupo;
    } exemplos[] = {{"Terraco em nivel.kzp", "nivel", "Espaçamento"},
                    {"Terraco em gradiente.kzp", "gradiente", "Canal"},
                    {"Bacia de acumulacao.kzp", "bacia", "Barraginha"}};
    for (const auto& e : exemplos) {
        if (!w.AbrirArquivo(w.PastaPrograma() + "Exemplos/" + e.exemplo)) continue;
        w.Dimensionamento();
        auto* j = dynamic_cast<TfrmDimensionamento*>(w.JanelaModulo(QStringLiteral("Dimensionamento")));
        QMdiSubWindow* s = w.SubJanelaModulo(QStringLiteral("Dimensionamento"));
        if (!j || !s) continue;
        j->AbrirGrupo(QString::fromUtf8(e.grupo));
        Esperar(300);
        servico.nome = QStringLiteral("dimensionamento_%1").arg(e.nome);
        servico.Gravar(w);
        if (e.nome == std::string("nivel")) {  // the soil section with the land cover
            j->AbrirGrupo(QStringLiteral("Solo"));
            Esperar(300);
            servico.nome = QStringLiteral("dimensionamento_nivel_solo");
            servico.Gravar(w);
        }
        j->btnCalcularClick();
        Esperar(300);
        servico.nome = QStringLiteral("resultado_%1").arg(e.nome);
        servico.Gravar(w);
        j->MostrarInicio();
        if (e.nome == std::string("nivel")) {
            auto* metodo = j->findChild<QComboBox*>(QStringLiteral("cbMetodo"));
            for (int i = 0; metodo && i < metodo->count(); ++i) {
                metodo->setCurrentIndex(i);
                servico.nome = QStringLiteral("metodo_%1").arg(i);
                j->btnDefinirClick();
                Esperar(100);
            }
            for (const char* assistente : {"btnRugCanal", "btnSm", "btnValRugTerreno"}) {
                j->AbrirGrupo(QString::fromUtf8(assistente == std::string("btnValRugTerreno") ? "Terreno" : "Canal"));
                servico.nome = QStringLiteral("assistente_%1").arg(assistente + 3);
                if (auto* b = j->findChild<QPushButton*>(QString::fromLatin1(assistente))) b->click();
                Esperar(100);
            }
            // No entry field opens the side-slope table yet: shown as its component runs it,
            // on a chosen row.
            TZ z;
            z.Indice = 3;
            servico.nome = QStringLiteral("assistente_Z");
            z.Execute(&w);
        }
        w.GerenteSis1().SetAlterado(false);  // the pictures change nothing worth keeping
    }
}

// Qt's own dialogs, to show they speak Portuguese: the file dialog drawn by Qt (not the
// desktop's, which a picture of the program could not hold) and a Yes/No/Cancel box.
void TelasDialogosQt(const QString& pastaPrograma, TServicoTelas& servico) {
    const QString exemplos = (pastaPrograma.isEmpty() ? QCoreApplication::applicationDirPath() : pastaPrograma) +
                             QStringLiteral("/Exemplos");
    {
        QFileDialog d(nullptr, QStringLiteral("Abrir Projeto"), exemplos, QStringLiteral("Projetos do Vandoro (*.kzp)"));
        d.setOption(QFileDialog::DontUseNativeDialog);
        d.setFileMode(QFileDialog::ExistingFile);
        d.resize(760, 460);
        d.show();
        Esperar(500);
        servico.nome = QStringLiteral("dialogo_arquivo");
        servico.Gravar(d);
    }
    {
        QMessageBox caixa(QMessageBox::Question, QStringLiteral("Vandoro 4.1"),
                          QStringLiteral("Deseja salvar as alterações em \"PROJETO1.kzp\""),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        caixa.setDetailedText(QStringLiteral("Um texto de detalhes, para mostrar o botão que o abre."));
        caixa.show();
        Esperar(300);
        servico.nome = QStringLiteral("pergunta_qt");
        servico.Gravar(caixa);
    }
}

}  // namespace

int GerarTelas(const QString& pasta, const QString& pastaPrograma) {
    QDir().mkpath(pasta);
    TServicoTelas servico;
    servico.pasta = QFileInfo(pasta).absoluteFilePath();
    InstalarDialogos(&servico);

    // A window that runs its own event loop instead of the service's is photographed and
    // closed by this watchdog, so the run never waits for a hand.
    QTimer vigia;
    vigia.setInterval(1500);
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        // A progress window closes by itself when its work ends: closing it would cancel the work.
        if (auto* m = qobject_cast<QDialog*>(QApplication::activeModalWidget()); m && m->objectName() != "TFPercent") {
            servico.Gravar(*m);
            m->reject();
        }
    });
    vigia.start();

    {
        TFInicial inicial;
        inicial.Timer1().stop();
        inicial.show();
        Esperar(300);
        servico.nome = "inicial";
        servico.Gravar(inicial);
    }

    // A scratch settings file: taking the pictures leaves the user's settings alone.
    QTemporaryDir temp;
    {
        TFPrincipal w(pastaPrograma, temp.filePath("VANDORO4.ini"));
        if (const QScreen* tela = QGuiApplication::primaryScreen()) w.setGeometry(tela->availableGeometry());
        w.show();
        Esperar(300);
        w.MostrarAvisosIniciais();
        w.AbrirArquivo(w.PastaPrograma() + "Exemplos/Terraco em nivel.kzp");
        Esperar(500);
        servico.nome = "principal";
        servico.Gravar(w);

        // A machine with its output and price, as a user who has entered them sees the list
        // (the scratch settings file is thrown away afterwards).
        TConfigConstrucao& construcao = w.Modelo().Configuracao().Construcao;
        const TConfigConstrucao construcaoAntes = construcao;
        construcao.maquinas[1] = {"Motoniveladora", 40, 250, TUnidadeRendimento::Metros};
        construcao.maquina = 1;
        const struct {
            const char* nome;
            const char* acao;
        } passos[] = {{"identificacao", "actIdentificacao"},
                      {"configuracao", "actConfiguracao"},
                      {"configuracao_construcao", "actConstrucao"},
                      {"praticas", "actPraticas"},
                      {"ajuda", "actConteudo"}};
        for (const auto& p : passos) {
            servico.nome = p.nome;
            if (auto* a = w.findChild<QAction*>(p.acao)) a->trigger();
            Esperar(200);
        }
        construcao = construcaoAntes;
        TelasDimensionamento(w, servico);
        TelasLocacao(w, [&](QWidget& j, const QString& n) { servico.nome = n; servico.Gravar(j); },
                     [&](const QString& n) { servico.nome = n; });
        TelasVisualizar(w, [&](QWidget& janela, const QString& n) { servico.nome = n; servico.Gravar(janela); });
        w.close();
    }
    TelasConsultaChuva(pastaPrograma.isEmpty() ? QCoreApplication::applicationDirPath() : pastaPrograma,
                       [&](QWidget& janela, const QString& nome) {
                           servico.nome = nome;
                           servico.Gravar(janela);
                       });
    TelasSimulacao(pastaPrograma, servico.pasta, [&](QWidget& janela, const QString& n) {
        servico.nome = n;
        servico.Gravar(janela);
    });
    TelasRaster(pastaPrograma, [&](QWidget& janela, const QString& n) { servico.nome = n; servico.Gravar(janela); });
    TelasPdf((pastaPrograma.isEmpty() ? QCoreApplication::applicationDirPath() : pastaPrograma) + "/", servico.pasta);
    TelasDialogosQt(pastaPrograma, servico);
    vigia.stop();
    InstalarDialogos(nullptr);

    int faltam = 0;
    for (const char* n :
         {"inicial", "principal", "identificacao", "configuracao", "configuracao_construcao", "praticas", "ajuda"}) {
        if (!servico.gravadas.contains(n)) {
            servico.Relatar("faltou", n);
            ++faltam;
        }
    }
    std::fprintf(stderr, "%lld telas em %s\n", static_cast<long long>(servico.gravadas.size()),
                 servico.pasta.toUtf8().constData());
    return faltam == 0 ? 0 : 1;
}

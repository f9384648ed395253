#include "telas/TelasSimulacao.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>

#include "core/common/Erros.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/RelatorioDimensionamento.h"
#include "gui/common/Dialogos.h"
#include "gui/common/FRelatorio.h"
#include "gui/common/Grafico.h"
#include "gui/common/Impressora.h"
#include "gui/common/VisualizadorHtml.h"
#include "gui/sizing/FrmDimensionamento.h"
#include "gui/sizing/PaginaSimulacao.h"
#include "telas/Telas.h"


void TelasSimulacao(const QString& pastaPrograma, const QString& pastaSaida,
                    const std::function<void(QWidget&, const QString&)>& gravar) {
    const QString programa = QDir(pastaPrograma).absolutePath() + '/';
    auto janela = [&](const char* exemplo, const std::function<void(TModeloProjeto&, TfrmDimensionamento&)>& f) {
        TModeloProjeto m;
        m.AbrirProjetoSemAlterar(S(programa) + "Exemplos/" + exemplo);
        m.Quenda().SetPastaPrograma(S(programa));
        TGerenteSis g;
        TfrmDimensionamento w(m, g);
        w.SetPastaFiguras(programa);
        w.show();
        w.btnCalcularClick();
        Esperar(200);
        f(m, w);
        w.hide();
    };
    // The window's report with its pictures: its top photographed as 'topo' (when given), then
    // its end as 'fim'; 'depois' works on it while it is open.
    auto relatorio = [&](TfrmDimensionamento& w, const char* titulo, bool comSimulacao, const QString& topo,
                         const QString& fim, const std::function<void(TFRelatorio&)>& depois) {
        QMap<QString, QImage> imagens;
        TFRelatorio r(Q(LegendaJanelaRelatorio(titulo)), w.TextoRelatorio(comSimulacao, imagens));
        for (auto i = imagens.begin(); i != imagens.end(); ++i) r.AdicionarImagem(i.key(), i.value());
        r.setWindowState(Qt::WindowNoState);
        r.show();
        Esperar(300);
        if (!topo.isEmpty()) gravar(r, topo);
        QScrollBar* barra = r.Visualizador()->verticalScrollBar();
        barra->setValue(barra->maximum());
        Esperar(100);
        gravar(r, fim);
        if (depois) depois(r);
        r.hide();
    };
    janela("Terraco em gradiente.kzp", [&](TModeloProjeto&, TfrmDimensionamento& w) {
        w.BtnSimulaClick();
        Esperar(300);
        gravar(w, QStringLiteral("simulacao-gradiente"));
        // The report of this page, with its section and chart, and the same report as PDF pages.
        relatorio(w, kTituloRelatorioGradiente, true, QStringLiteral("relatorio-simulacao"),
                  QStringLiteral("relatorio-simulacao-grafico"), [&](TFRelatorio& r) {
                      const QString pdf = QDir(pastaSaida).absoluteFilePath(QStringLiteral("relatorio-simulacao.pdf"));
                      try {
                          r.Visualizador()->ExportarPdf(pdf, ImpressoraPrograma());
                          QProcess::execute(QStringLiteral("pdftoppm"),
                                            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), pdf,
                                             QDir(pastaSaida).absoluteFilePath(QStringLiteral("relatorio-simulacao-pdf"))});
                      } catch (const EVandoro&) {
                      }
                  });
    });
    janela("Terraco em nivel.kzp", [&](TModeloProjeto&, TfrmDimensionamento& w) {
        // The report's construction section, with the built section's drawing.
        relatorio(w, kTituloRelatorioNivel, false, {}, QStringLiteral("relatorio-construcao"), {});
        w.BtnSimulaClick();
        Esperar(300);
        gravar(w, QStringLiteral("simulacao-nivel"));
    });
    janela("Bacia de acumulacao.kzp", [&](TModeloProjeto&, TfrmDimensionamento& w) {
        Esperar(200);
        gravar(w, QStringLiteral("resultado-bacia-grafico"));
    });
}

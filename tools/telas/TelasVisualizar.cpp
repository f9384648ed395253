#include "telas/TelasVisualizar.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>

#include "gui/raster/AbrirArq.h"
#include "gui/raster/PropRaster.h"
#include "gui/raster/Visualizar.h"
#include "gui/shell/Principal.h"
#include "telas/Telas.h"

void TelasVisualizar(TFPrincipal& w, const std::function<void(QWidget&, const QString&)>& gravar) {
    const QString exemplo = w.PastaPrograma() + "Exemplos/hugo_site.asc";
    const QString paletas = PastaPaletas(w.PastaPrograma());
    {
        TFAbrirArq dlg(paletas, w.PastaPrograma() + "Exemplos", &w);
        dlg.findChild<QWidget*>("edtImagem")->setProperty("text", exemplo);
        dlg.show();
        Esperar(300);
        gravar(dlg, "visualizar_abrir");
        dlg.reject();
    }
    TContextoVisualizar ctx{w.Area(), w.statusBar(), w.BarraProgresso(), w.PastaPrograma(),
                            w.PastaPrograma() + "Exemplos", w.CarregarImagensNaMemoria()};
    const struct {
        const char* paleta;
        int zoom;
        const char* nome;
    } vistas[] = {{"idris256.pal", 25, "visualizar_25"}, {"paleta6.pal", 400, "visualizar_400"}};
    for (const auto& v : vistas) {
        TFVisualizar* viz = AbrirVisualizador(ctx, exemplo, paletas + v.paleta, v.zoom);
        if (!viz) continue;
        Esperar(300);
        // The read-out of a cell near the middle, as a mouse over it shows.
        viz->Ler(true, 38, 27);
        Esperar(100);
        gravar(w, v.nome);
    }
    // Terrace lines of the example located by the command line, laid over it with labels.
    QTemporaryDir temp;
    const QString cli = w.PastaPrograma() + "vandoro-cli";
    const QString decl = temp.filePath("decl.asc"), vet = temp.filePath("hugo_site.vet");
    auto rodar = [&](const QStringList& args) {
        QProcess p;
        p.start(cli, args);
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    if (temp.isValid() && rodar({"declividade", exemplo, decl}) &&
        rodar({"locar", w.PastaPrograma() + "Exemplos/Terraco em nivel.kzp", "--elevacao", exemplo,
               "--declividade", decl, "--saida", vet}) &&
        QFileInfo::exists(vet)) {
        if (TFVisualizar* v = AbrirVisualizador(ctx, exemplo, paletas + "cinza1.pal", 400, vet)) {
            // In full view, over the others.
            if (auto* s = qobject_cast<QMdiSubWindow*>(v->parentWidget())) s->move(0, 0);
            Esperar(300);
            gravar(w, "visualizar_vetor");
        }
    }
    if (!TFVisualizar::Abertos().isEmpty()) {
        TFPropRaster* p = TFPropRaster::Mostrar(TFVisualizar::Abertos().front());
        Esperar(300);
        gravar(*p, "visualizar_propriedades");
        p->close();
    }
    w.Area()->closeAllSubWindows();
    Esperar(100);
}

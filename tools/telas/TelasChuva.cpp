#include "telas/TelasChuva.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QTabWidget>

#include "core/rainfall/RelatorioQuenda.h"
#include "gui/common/Dialogos.h"
#include "gui/rainfall/FoConsulta.h"
#include "gui/rainfall/FoRelatQuenda.h"
#include "telas/Telas.h"


void TelasConsultaChuva(const QString& pastaPrograma, const std::function<void(QWidget&, const QString&)>& gravar) {
    const std::string programa = S(pastaPrograma.endsWith('/') ? pastaPrograma : pastaPrograma + "/");
    TfrmFoConsulta j(programa);
    // The example project's place: Campinas, typed as a point.
    j.SetIndEstado(24);
    j.SetIndEstacao(-1);
    j.SetIndLocalidade(-1);
    j.SetLatitude("22°54'20\"");
    j.SetLongitude("47°03'39\"");
    j.Ativar();
    j.show();
    Esperar(300);
    gravar(j, "chuva-sao-paulo");

    auto* estacoes = j.findChild<QListWidget*>("lbEstacoes");
    auto* paginas = j.findChild<QTabWidget*>("pcPaginas");
    if (estacoes) estacoes->setCurrentRow(std::min(5, estacoes->count() - 1));
    Esperar(200);
    gravar(j, "chuva-estacao");
    if (paginas) paginas->setCurrentIndex(1);
    Esperar(300);
    gravar(j, "chuva-equacao");
    if (paginas) paginas->setCurrentIndex(0);

    {
        TOpcoesRelatorio o;
        o.PastaPrograma = programa;
        TBitmapRGB b;
        const QImage mapa = j.Consulta().MapaRelatorio(b) ? ImagemDe(b) : QImage();
        TfrmFoRelatQuenda r(Q(RelatorioQuenda(DadosRelatorioQuenda(j.Consulta()), o)), mapa, &j);
        r.show();
        Esperar(300);
        gravar(r, "chuva-relatorio");
        r.close();
    }

    if (auto* estados = j.findChild<QComboBox*>("cbEstados")) estados->setCurrentIndex(8);
    Esperar(200);
    gravar(j, "chuva-goias");
    j.close();
}

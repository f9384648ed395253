#include "telas/TelasFerramentas.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "core/raster/Declividade.h"
#include "core/raster/Filtro.h"
#include "gui/common/Dialogos.h"
#include "gui/raster/FDeclividade.h"
#include "gui/raster/FFiltro.h"
#include "gui/raster/FImportExport.h"
#include "telas/Telas.h"

void TelasRaster(const QString& pastaPrograma, const std::function<void(QWidget&, const QString&)>& gravar) {
    const QString programa = pastaPrograma.isEmpty() ? QCoreApplication::applicationDirPath() : pastaPrograma;
    const QString exemplos = QDir(programa).absoluteFilePath(QStringLiteral("Exemplos"));
    const QString elevacao = exemplos + QStringLiteral("/hugo_site.asc");
    auto preencher = [&](TFFerramentaRaster& d, const QString& saida, const std::string& titulo) {
        d.SetPastaInicial(exemplos);
        d.EdtArqEntrada()->setText(elevacao);
        d.EdtArqSaida()->setText(exemplos + "/" + saida);
        d.EdtTitulo()->setText(Q(titulo));
        d.show();
        Esperar(300);
    };
    {
        TFDeclividade d;
        preencher(d, QStringLiteral("hugo_site_declividade.asc"), TituloDeclividade(S(elevacao)));
        gravar(d, QStringLiteral("declividade"));
    }
    {
        TFFiltro d;
        preencher(d, QStringLiteral("hugo_site_filtrado.asc"), TituloFiltro(S(elevacao)));
        d.SpinEditFiltragens()->setValue(3);
        Esperar(100);
        gravar(d, QStringLiteral("filtro"));
    }
    for (const bool importacao : {true, false}) {
        TFImportExport d(nullptr, importacao ? TFImportExport::TDirecao::Importacao : TFImportExport::TDirecao::Exportacao);
        d.show();
        // Importing from Surfer shows the distance-unit group too.
        if (importacao) {
            if (auto* r = d.findChild<QRadioButton*>(QStringLiteral("RadioButtonSurfer"))) r->click();
        }
        Esperar(300);
        gravar(d, importacao ? QStringLiteral("importacao") : QStringLiteral("exportacao"));
    }
}

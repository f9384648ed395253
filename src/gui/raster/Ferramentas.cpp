#include "gui/raster/Ferramentas.h"

#include "gui/common/Dialogos.h"
#include "gui/raster/FDeclividade.h"
#include "gui/raster/FFiltro.h"
#include "gui/raster/FImportExport.h"

void AbrirFerramenta(TFerramenta f, QWidget* pai, const QString& pasta) {
    switch (f) {
        case TFerramenta::Declividade: {
            TFDeclividade d(pai);
            d.SetPastaInicial(pasta);
            Dialogos().Executar(d);
            break;
        }
        case TFerramenta::Filtro: {
            TFFiltro d(pai);
            d.SetPastaInicial(pasta);
            Dialogos().Executar(d);
            break;
        }
        case TFerramenta::Importacao:
        case TFerramenta::Exportacao: {
            TFImportExport d(pai, f == TFerramenta::Importacao ? TFImportExport::TDirecao::Importacao
                                                                : TFImportExport::TDirecao::Exportacao);
            d.SetPastaInicial(pasta);
            Dialogos().Executar(d);
            break;
        }
    }
}

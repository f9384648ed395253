#pragma once
// The raster tools of the "&Ferramentas" menu, each shown modally through the dialog
// service with its file choices starting in 'pasta'.
#include <QString>

class QWidget;

enum class TFerramenta { Declividade, Filtro, Importacao, Exportacao };

void AbrirFerramenta(TFerramenta f, QWidget* pai, const QString& pasta);

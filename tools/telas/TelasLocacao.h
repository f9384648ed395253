#pragma once
// Pictures of the location window for the screenshot tool, on the shipped location
// example: "Precipitação" and "Terreno" open, the progress window during the run, the results
// with lines and strips, and the report. 'gravar' photographs a window under a name; 'proximo'
// names the next dialog the program opens through the dialog service.
#include <QString>
#include <functional>

class QWidget;
class TFPrincipal;

void TelasLocacao(TFPrincipal& w, const std::function<void(QWidget&, const QString&)>& gravar,
                  const std::function<void(const QString&)>& proximo);

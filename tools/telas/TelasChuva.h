#pragma once
// Pictures of the rainfall consultation for the screenshot tool: São Paulo at the
// example project's point, a station, the equation page, Goiás on the map of Brazil and the
// report. 'gravar' receives each window shown, under the picture's name.
#include <QString>
#include <functional>

class QWidget;

void TelasConsultaChuva(const QString& pastaPrograma, const std::function<void(QWidget&, const QString&)>& gravar);

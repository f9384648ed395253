#pragma once
// Pictures of the raster tools for the screenshot tool: the slope and filter
// windows filled in for the shipped elevation model, and the vector import and export
// windows. 'gravar' receives each window shown, under the picture's name.
#include <QString>
#include <functional>

class QWidget;

void TelasRaster(const QString& pastaPrograma, const std::function<void(QWidget&, const QString&)>& gravar);

#pragma once
// Pictures of the raster viewer for the screenshot tool: the shipped elevation example with
// two palettes at 25 % and 400 %, the image-opening dialog and the properties window.
#include <QString>
#include <functional>

class QWidget;
class TFPrincipal;

void TelasVisualizar(TFPrincipal& w, const std::function<void(QWidget&, const QString&)>& gravar);

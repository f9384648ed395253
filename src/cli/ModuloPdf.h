#pragma once
// Reports as PDF through the module beside the executable: Qt is loaded only by the commands
// that write one.
#include <string>

#include "render/PedidoPdf.h"

// Whether a report's file name asks for a PDF (".pdf", any case).
bool RelatorioEmPdf(const std::string& arquivo);
// Writes the PDF; raises EVandoro with the module's message, or saying why the module could
// not be opened. Returns the pages.
int GravarPdfPeloModulo(TPedidoPdf pedido);

#pragma once
// What the command line asks of the PDF module, which it opens at run time (the commands that
// write no PDF never load Qt). No Qt here: the command line includes this.
#include <string>

#include "core/common/Regional.h"

class TLocacaoNivel;
struct TDesenhoSecao;
struct TFigurasLocacao;

struct TPedidoPdf {
    std::string html;   // the report's text; its title heads the pages
    std::string saida;  // the PDF file, written whole or not at all
    Regional regional;   // the module keeps its own copy of the settings
    // Pictures the text names, drawn by the module: the built section (FiguraSecaoRelatorio),
    // and a location's plan and profiles.
    const TDesenhoSecao* secao = nullptr;
    const TLocacaoNivel* locacao = nullptr;
    std::string projeto;  // the project file, against which a location's paths are resolved
    const TFigurasLocacao* figurasLocacao = nullptr;
};

// The module's one entry: the pages written; 0 with the message in 'erro' on failure.
using TGravarPdf = int (*)(const TPedidoPdf* pedido, std::string* erro);
inline constexpr const char* kModuloPdf = "vandoro-pdf.so";
inline constexpr const char* kEntradaPdf = "VandoroGravarPdf";

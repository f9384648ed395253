#pragma once
// One-page report of the rainfall consultation: the place, the equation's parameters and,
// with a state map, the map with the place marked.
#include <string>

#include "core/project/Relatorio.h"
#include "core/rainfall/MapaEstado.h"

class TConsultaQuenda;

extern const char* const kTituloRelatorioQuenda;  // "Parâmetros da Equação de ... da Precipitação"
// Name under which the report's HTML finds the map picture; the window gives it to the
// document as an image, nothing is written to disk.
extern const char* const kImagemMapaQuenda;  // "Bit.bmp"

struct TDadosRelatorioQuenda {
    std::string Localidade, Estado, Latitude, Longitude;
    std::string K, A, B, C;  // as shown in the boxes
    bool ComMapa = false;
    int LarguraMapa = 0, AlturaMapa = 0;
};

// What the window shows, as the report prints it.
TDadosRelatorioQuenda DadosRelatorioQuenda(const TConsultaQuenda& c);
// opcoes.PastaPrograma: the program folder ('/'-terminated); the header picture is
// "../Arquivos Comuns/Cabecalho_Quenda21.jpg" from it.
std::string RelatorioQuenda(const TDadosRelatorioQuenda& d, const TOpcoesRelatorio& opcoes = {});

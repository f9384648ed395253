#pragma once
// The three sizing reports (level, graded, basins) over the shared model objects.
#include <string>

#include "core/project/Relatorio.h"

class TModeloProjeto;

// Window captions and titles.
extern const char* const kTituloRelatorioNivel;       // "Dimensionamento de Sistemas de ... em Nível"
extern const char* const kTituloRelatorioGradiente;
extern const char* const kTituloRelatorioBacia;

// The three sizing reports over a model sized by Calcular. They read only.
std::string RelatorioNivel(TModeloProjeto& m, const TOpcoesRelatorio& opcoes = {});
std::string RelatorioGradiente(TModeloProjeto& m, const TOpcoesRelatorio& opcoes = {});
std::string RelatorioBacia(TModeloProjeto& m, const TOpcoesRelatorio& opcoes = {});
// The "Relatório" button: the graded flow of the last sizing is put back, then the report of
// the project's system (level, graded, or basins for any other type).
std::string RelatorioDimensionamento(TModeloProjeto& m, const TOpcoesRelatorio& opcoes = {});


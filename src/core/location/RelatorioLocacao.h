#pragma once
// Report of a level-terrace location run: the inputs, the field's results and the terrace
// table read back from the ".bdt" beside the output vector file.
#include <map>
#include <string>
#include <vector>

#include "core/project/Relatorio.h"

class TModeloProjeto;
class TLocacaoNivel;
struct TRegTerr;
struct TInfoTerraco;
struct TCanalLocado;
struct TResultadoLocacao;

extern const char* const kTituloRelatorioLocacao;  // "Locação de Sistemas de Terraceamento em Nível"

// The engine's model objects are used when it has them, the project's otherwise. A missing or
// unreadable terrace table raises EVandoro("Não foi possível ler a tabela de terraços " +
// path + ".").
std::string RelatorioLocacao(TModeloProjeto& m, const TLocacaoNivel& loc, const TOpcoesRelatorio& opcoes = {});
std::string RelatorioLocacao(TModeloProjeto& m, const TOpcoesRelatorio& opcoes = {});
// Builds the report and writes it to 'saida' only when complete (see GravarRelatorio).
void GravarRelatorioLocacao(TModeloProjeto& m, const TLocacaoNivel& loc, const std::string& saida,
                            const TOpcoesRelatorio& opcoes = {});
// The report of a graded layout: the storm, method, channel and files, then each terrace's
// waterway, outlet, length, strip, flow and height, and the flow each waterway receives.
// Raises EVandoro for a table that cannot be read or whose companion says no channel.
extern const char* const kTituloRelatorioLocacaoGradiente;  // "Locação de Sistemas de Terraceamento com Gradiente"
std::string RelatorioLocacaoGradiente(TModeloProjeto& m, const TLocacaoNivel& loc, const TOpcoesRelatorio& opcoes = {});
// Whether the last run's table (before any run, the project's) is a graded layout's: its
// companion names the channels. A table that cannot be read counts as level.
bool LocacaoComGradiente(const TLocacaoNivel& loc);
// The report of that table: the graded or the level one; 'gradiente', when given, learns which
// (a whole farm's companion takes a quarter of a second to read again).
std::string RelatorioDaLocacao(TModeloProjeto& m, const TLocacaoNivel& loc, const TOpcoesRelatorio& opcoes = {},
                               bool* gradiente = nullptr);
// The terrace table of an output vector file: its name with the extension ".bdt".
std::string ArquivoTabelaTerracos(const std::string& vetorSaida);

// The terrace table as the report prints it (the location window's table shows the same):
// the nine column titles, one terrace's cells (the line above and the type empty without
// 'info'), and the total length in its format with " m".
const std::vector<std::string>& ColunasTabelaTerracos();
std::vector<std::string> CelulasTerraco(const TRegTerr& t, const TInfoTerraco* info = nullptr);
// What the "Acima" column means, as the report's legend and the window's tip say it.
extern const char* const kLegendaAcima;
std::string ComprimentoTotalFormatado(double total);
// The graded table as the report prints it and the location window shows it: the nine column
// titles, one channel's cells, and what goes under its row (the far end's elevation and what to
// see to).
const std::vector<std::string>& ColunasTabelaCanais();
std::vector<std::string> CelulasCanal(const TRegTerr& t, const TCanalLocado& k);
std::string TextoFimDoCanal(const TCanalLocado& k);
// The location window's table: the level or graded columns above with the construction's three
// after the numbers (the level type, a phrase, stays last), and one terrace's cells ('canal' null
// for a level run).
std::vector<std::string> ColunasResultadoLocacao(bool gradiente);
std::vector<std::string> CelulasResultadoLocacao(const TResultadoLocacao& r, size_t i, const TCanalLocado* canal);
// The peak flows (L/s) each waterway receives, by its number.
std::map<int, double> VazaoPorEscoadouro(const std::vector<TCanalLocado>& canais);

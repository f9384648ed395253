#pragma once
// A location run as every front end starts it: which files it reads and writes, the checks
// that keep it from writing over its own inputs, loading the rasters the run is fed,
// writing what it placed, and what it reports when done.
#include <exception>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/location/BDT.h"
#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/raster/ImgDeclive.h"

class TPrecipitacao;
class TNumeroDaCurva;
class TTerracosNivel;
class TTerracosGradiente;
class TSistemaConservacao;

// Extension of the vector output; the terrace table goes beside it with kExtensaoTabela.
inline constexpr const char* kExtensaoVetor = ".vet";
inline constexpr const char* kExtensaoTabela = ".bdt";

struct TArquivosLocacao {
    std::string elevacao, declividade, saida;
    std::string relatorio;       // empty: no report
    std::string faixas;          // empty: no strip map
    std::string tabela;          // filled in: the terrace table beside 'saida'
    std::string complemento;     // filled in: the table's companion beside it
    bool saidaExiste = false;    // filled in: the vector output is already there
};

// One of the three names that neither the caller nor the project gives.
class EArquivoLocacaoAusente : public EVandoro {
public:
    enum Qual { Elevacao, Declividade, Saida };
    EArquivoLocacaoAusente(Qual q, const std::string& msg) : EVandoro(msg), qual(q) {}
    Qual qual;
};

// A path kept in the project: relative ones are read from the project's folder; Windows
// separators are taken as '/'.
std::string CaminhoDoProjeto(const std::string& caminho, const std::string& projeto);

// The terrace table written beside the vector output.
std::string TabelaDaSaida(const std::string& saida);

// The files of a run of the project 'projeto' (already loaded into 'loc'): each empty name of
// 'escolhidos' takes the project's. Raises EArquivoLocacaoAusente for a missing name, and
// EVandoro when the output lacks the .vet extension or when any file the run writes (vector,
// table, report, strip map) would replace an input (either image, counting both halves of a header/data
// pair, or the project) or the other output, under any spelling or link.
TArquivosLocacao ArquivosDaLocacao(const TLocacaoNivel& loc, const std::string& projeto,
                                   const TArquivosLocacao& escolhidos);

// What a finished run reports.
struct TResultadoLocacao {
    TArquivosLocacao arquivos;
    std::vector<TRegTerr> terracos;  // numbered downhill
    std::vector<TInfoTerraco> info;  // same order
    double comprimentoTotal = 0;     // m
    double areaTotal = 0;            // m², of the strips
    double areaImagem = 0;           // ha, cells with slope
    double declividadeMedia = 0;     // %, over the field
    double areaDescoberta = 0;       // ha, field above the lowest line in no strip (graded: draining nowhere)
    double areaDireta = 0;           // ha, graded layouts: field draining straight to a waterway
    int pecasDescartadas = 0;        // contour pieces too short or strips too small to be terraces
    int pecasUnidas = 0;             // lines under the plan's minimum length, joined to the strip below
    std::vector<std::string> notas;   // how the run ended when it did not reach the end of the field
    std::vector<std::string> avisos;  // warnings about the result
    std::string prj;                  // the coordinate system beside the vector ("" none)
    std::vector<std::string> travessias;  // the off-level passages of the smoothed lines, as text
    TConstrucaoLocacao construcao;        // soil, hours and cost, per terrace (same order) and in all
};

TResultadoLocacao ResultadoDaLocacao(const TLocacaoNivel& loc, const TArquivosLocacao& arquivos);

// The warning naming the terraces whose strip slope the criterion's table has no type for;
// empty when every one has its type.
std::string TextoSemTipo(const std::vector<TRegTerr>& terracos, const std::vector<TInfoTerraco>& info,
                         const TTerracosNivel* sistema);

// The strip map of the last run as a raster on the elevation model's grid, in the format of
// the name's extension: each cell holds its terrace number, 0 outside every strip and the
// elevation model's no-data value where it has no elevation. Written whole or not at all.
void GravarMapaFaixas(const TLocacaoNivel& loc, const std::string& saida);

// The short lines a run's output gives about what it left: the field above the lowest line
// in no strip, and the pieces too small to be terraces.
inline constexpr const char* kRotuloAreaDescoberta = "Área acima do terraço mais baixo fora de qualquer faixa (ha): ";
inline constexpr const char* kRotuloPecasDescartadas =
    "Trechos de curva ou faixas pequenos demais para um terraço (descartados): ";
std::string TextoAreaDescoberta(double hectares);
// The report's observation on that land, with why it lies in no strip (the plan's maximum
// reached, short lines with no terrace below, pieces too small, else the field's edges); empty
// when there is none to four decimals.
std::string TextoAreaDescobertaComMotivos(double hectares, bool limiteAtingido, double hectaresSemReceptor,
                                          int pecasDescartadas);
// The same two for a graded layout: the land whose runoff reaches a waterway before any
// terrace, and the land whose runoff reaches neither (a pit or the field's edge).
inline constexpr const char* kRotuloAreaDireta =
    "Área que escoa direto para um escoadouro, sem passar por terraço (ha): ";
inline constexpr const char* kRotuloAreaSemEscoadouro = "Área cujo escoamento não chega a terraço nem a escoadouro (ha): ";
// Both rasters of a run as read from their files (TMatrixSingle::LoadFromImage), before the
// field boundary: the stepped-model check reads them and the run goes on from them, so a
// whole farm is read once. A failed read is kept, and raised by the run where a read of its
// own would raise it.
struct TGradesLocacao {
    std::string elevacao, declividade;  // the files read
    TImgElevacao elev;
    TImgDeclive decl;
    std::exception_ptr falha[2];  // elevation, slope
};
// Reads both at once. Never raises: a failure waits in the result for the run.
TGradesLocacao LerGradesLocacao(const std::string& elevacao, const std::string& declividade);

// The smallest positive difference between distinct elevations of the model (read from a sample
// of at most a million cells); 0 for a flat or empty model.
double PassoDeElevacao(const TMatrixSingle& elev);
// The warning before a run on a model stepped coarser than a third of the EV in force (the one
// given, or the one the method gives at the field's mean slope): its contours follow the steps,
// not the ground. Empty when the model is fine or could not be read (the run then says why).
std::string AvisoModeloEmDegraus(const TGradesLocacao& grades, const TSistemaConservacao& terracos,
                                 TNumeroDaCurva& escoamento, TPrecipitacao& chuva);

// One off-level passage as the run lists it.
std::string TextoTravessia(const TTravessiaNivel& t);
// The window's one line for them: how many, and where the list is.
std::string TextoResumoTravessias(size_t n);
// What a run that reached the plan's maximum number of terraces says.
std::string TextoLimiteTerracos(int maximo);
std::string TextoPecasDescartadas(int pecas);
// The lines under the minimum length and, when some had no terrace below, their land.
std::string TextoPecasUnidas(int pecas, double comprimentoMinimo, double hectaresSemReceptor);
// A graded layout leaves such lines out: their land drains to the terrace below or the waterway.
std::string TextoLinhasCurtasGradiente(int linhas, double comprimentoMinimo);

// The messages of an arbitrated spacing or height that is missing.
inline constexpr const char* kMensagemEV = "Valor do espaçamento vertical inconsistente.";
inline constexpr const char* kMensagemAltura = "Valor da altura do terraço inconsistente.";

// Refuses, with the window's own message for the field, a storm, channel, spacing or soil
// value a run cannot use: Tr, K, a, b, c, Sm, the arbitrated EV or H, the infiltration rate;
// for a graded system also its channel's grade and roughness, the terrain's roughness and a
// spacing from a given height.
void ChecaEntradasLocacao(const TPrecipitacao& chuva, const TNumeroDaCurva& escoamento,
                          const TSistemaConservacao& terracos);

// The ".prj" beside the vector: the elevation model's system in ESRI WKT, or empty when the
// model has none. 'daEntrada' when that name is an input's own ".prj" (x.asc beside x.vet),
// which is then neither written nor removed; raises when the input's holds another system.
struct TPrjLocacao {
    std::string arquivo, conteudo;
    bool daEntrada = false;
};
TPrjLocacao PrjDaLocacao(const TArquivosLocacao& arquivos);

// The run on the files as given: loads the elevation and slope rasters (an elevation with
// invalid cells is also written cleaned beside itself, as name + "t1.ras"), applies the
// field boundary, normalises both (no elevation or a negative one -> 0; a slope without data,
// or where there is no elevation -> 0), runs TCorridaNivel on them and replaces the lines
// (.vet), the terrace table beside them (.bdt) and what 'extras' adds, as one set. Progress
// goes to loc's channel, the result into loc. Any error, and a run that places no terrace
// (and was not cancelled), writes nothing: the previous outputs stay as they were; a cancel
// writes the terraces located so far. 'lidas', when it holds these two files, is taken
// instead of reading them again (and left empty).
void ProcessarLocacao(TLocacaoNivel& loc, const std::string& elevPath, const std::string& slopePath,
                      TPrecipitacao& rainfall, TNumeroDaCurva& runoff, TTerracosNivel& terracos,
                      const std::string& outputPath, const TLocacaoNivel::TSaidasExtras& extras = {},
                      TGradesLocacao* lidas = nullptr);

// Checks the inputs, runs the engine on checked files (ArquivosDaLocacao) and replaces the
// vector, the table, the ".prj" beside them (removed when the model has no system), the strip
// map when one is named and what 'extras' adds, as one set: a run that fails replaces
// nothing; a cancel writes the terraces located so far. A run that places no terrace raises
// the reason (the engine's). 'lidas' as for ProcessarLocacao.
TResultadoLocacao Locar(TLocacaoNivel& loc, const TArquivosLocacao& arquivos, TPrecipitacao& chuva,
                        TNumeroDaCurva& escoamento, TTerracosNivel& terracos,
                        const TLocacaoNivel::TSaidasExtras& extras = {}, TGradesLocacao* lidas = nullptr);

// The graded layout of a project whose system is "Terraços com gradiente": the same checked
// files as Locar, plus the waterways the terraces drain to ('escoadouros', any line file OGR
// reads or a .vet). The lines (each vertex at its channel's design elevation), the table (the
// outlet's elevation as each terrace's level, its Hr as the height), the companion (each
// channel's waterway, far-end elevation, grade and peak flow), the ".prj", the strip map and
// what 'extras' adds are replaced as one set. Raises, writing nothing, without waterways, with
// a channel grade that is not positive, and when no terrace can be placed.
TResultadoLocacao LocarComGradiente(TLocacaoNivel& loc, const TArquivosLocacao& arquivos, const std::string& escoadouros,
                                    TPrecipitacao& chuva, TNumeroDaCurva& escoamento, const TTerracosGradiente& sistema,
                                    const TLocacaoNivel::TSaidasExtras& extras = {}, TGradesLocacao* lidas = nullptr);

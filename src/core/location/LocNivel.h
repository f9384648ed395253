#pragma once
// Level-terrace location as the project holds it: the files the project names, the field
// boundary, the progress channel of a run, and what the last run left (terraces, lines and
// strips) for the report, the GIS export and the windows. The run itself is TCorridaNivel;
// the files are read and written by the location facade (Locacao).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/location/BDT.h"
#include "core/location/ConstrucaoLocacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/project/Construcao.h"
#include "core/raster/GradeMapa.h"

// The longest graded channel a layout draws unless the plan says less (m): the graded
// sizing's cap, kComprimentoMaximoCanal.
inline constexpr double kComprimentoMaximoCanalPlano = 1500;

class IProgresso;
class IniFile;
class TImgApoio;
class TNumeroDaCurva;
class TPrecipitacao;
class TImgElevacao;
class TImgDeclive;
class TConjuntoArquivos;

// Which terrace each cell of the elevation raster drains to (row-major, 0-based rows and
// columns of the elevation raster): 0 outside every strip, kSemDado where the elevation has
// no data.
struct TMapaFaixas {
    static constexpr int32_t kSemDado = -1;
    int colunas = 0, linhas = 0;
    std::vector<int32_t> terraco;
    // Where the grid lies, in the elevation raster's distance unit.
    TGradeMapa grade;
    std::string unidade;
    bool operator==(const TMapaFaixas&) const = default;
    int32_t Em(int coluna, int linha) const { return terraco[static_cast<size_t>(linha) * colunas + coluna]; }
};

// How a terrace's level was set: from the line above (down: level = origem - EV), from the
// line below (up: level = origem + EV), or as another piece of a level already in force
// (level = origem).
struct TOrigemTerraco {
    enum Sentido { Peca = 0, Descida = -1, Subida = 1 };
    int32_t id = 0;
    int sentido = Peca;
    double origem = 0;
    double teto = 0;  // its strip lies below this elevation (+infinity for a hill's cap)
};

// What the table says of a terrace beyond its .bdt record: the line above its strip, from
// which its EV is measured (0 for a summit, "topo"), and the terrace type the criterion gives
// at the strip's slope ("" where the criterion's table has no row for it).
struct TInfoTerraco {
    int32_t acima = 0;
    std::string tipo;
};

// What a graded layout adds to a terrace's record: the waterway it drains to (1 for the file's
// first line), the elevation at its far end, the channel's grade and peak flow, and what the
// technician must see to ("" none).
struct TCanalLocado {
    int escoadouro = 0;
    double cotaInicio = 0;   // m
    double declividade = 0;  // m/m
    double vazao = 0;        // L/s
    std::string aviso;
};

// A terrace line of the last run in map units at double precision (the ".vet" keeps 32-bit
// reals, half a metre at UTM northings).
struct TLinhaMapa {
    int id = 0;
    double level = 0;
    std::vector<double> x, y;
    bool operator==(const TLinhaMapa&) const = default;
};

// What makes a located plan one a farmer can build: how many terraces at most (0 = as many
// as the field takes), and the lines smoothed for machinery within a level tolerance; a graded
// layout also ends its channels at a longest length (the graded sizing's own cap at most).
struct TPlanoNivel {
    int maxTerracos = 0;
    double comprimentoMinimo = 50;  // m
    double raioMinimo = 15;         // m; 0 = the traced lines as they are
    double toleranciaCm = 5;        // cm
    double comprimentoMaximoCanal = kComprimentoMaximoCanalPlano;  // m
};
// The first of the plan's values out of range, as the window orders them (0 maximum, 1 minimum
// length, 2 radius, 3 tolerance, 4 longest channel) with the message naming it; -1 when all
// are in range.
int CampoForaDoPlano(const TPlanoNivel& p, std::string& mensagem);
// Raises that message.
void ChecaPlanoNivel(const TPlanoNivel& p);
// The plan's keys in a section of an INI file: read with the defaults for what is missing, and
// all the defaults when any value is out of range.
TPlanoNivel LerPlano(const IniFile& ini, const std::string& secao);
void GravarPlano(IniFile& ini, const std::string& secao, const TPlanoNivel& p);
// A typed maximum as the plan holds it: a negative or fractional number gives -1 and a huge one
// 32768, both refused by the check rather than wrapped into range.
int MaxTerracosDe(double v);

// A stretch of an exported line off its level by more than the tolerance, where a bend too
// sharp for the minimum radius is cut across ("travessia fora de nível").
struct TTravessiaNivel {
    int terraco = 0;
    double inicio = 0;       // m along the line
    double comprimento = 0;  // m
    double aterroCm = 0, corteCm = 0;
};

// What a run leaves, kept until the next run starts; a run that failed leaves what it had
// reached.
struct TResultadoNivel {
    // Inputs of the run (printed by the location report).
    std::string elevacao, declividade, saida;
    std::string tabela;  // the terrace table beside 'saida'
    // The project's model objects the run used (not owned).
    TPrecipitacao* chuva = nullptr;
    TNumeroDaCurva* escoamento = nullptr;
    TTerracosNivel* terracos = nullptr;

    // Records in the order the lines were emitted, their lines at full precision and how
    // each level was set (same order).
    TBDT registros;
    std::vector<TLinhaMapa> linhasMapa;
    std::vector<TOrigemTerraco> origens;
    std::vector<TInfoTerraco> info;  // same order
    std::vector<TCanalLocado> canais;  // same order, graded layouts only
    std::vector<TLinhaMapa> escoadouros;  // map units, graded layouts only: the waterways drained to
    TMapaFaixas mapaFaixas;

    double ev0 = 0;
    double pixelArea = 0;       // m²
    double processedArea = 0;   // m²
    double committedArea = 0;   // m², each strip pixel once
    int32_t metresPerUnit = 0;
    double fieldArea = 0;       // ha
    double fieldAreaM2 = 0;     // m²
    long long celulasCampo = 0;
    int pecasDescartadas = 0;
    int pecasUnidas = 0;        // lines under the minimum length, their land joined below or uncovered
    double areaSemReceptor = 0; // ha of those pieces' land with no terrace below to receive it
    double areaDescoberta = 0;  // ha
    double areaDireta = 0;      // ha, graded layouts: field whose runoff reaches a waterway before any terrace
    std::string avisoResolucao;

    TPlanoNivel plano;          // the plan the run was asked for
    std::vector<TTravessiaNivel> travessias;  // of the exported (smoothed) lines
    double comprimentoRaioMenor = 0;          // m of line under the minimum radius
    TConstrucaoLocacao construcao;            // what building the terraces takes (records' order)

    int32_t terraceCount = 0;   // numbers given to lines
    double progresso = 0;       // % of the field assigned
    std::string status;         // the last status the run gave
    bool parada = false;        // stopped by a cancel (or the downhill limit at the summit)
    bool fim = false;           // ended at the line-number limit
    bool limiteDescida = false; // the run reached the plan's maximum number of terraces
};

class TLocacaoNivel {
public:
    TLocacaoNivel();
    ~TLocacaoNivel();
    TLocacaoNivel(const TLocacaoNivel&) = delete;
    TLocacaoNivel& operator=(const TLocacaoNivel&) = delete;

    // "LOCACAONIVEL" keys of the project file; any read error gives false.
    bool Load(const std::string& projectPath);
    bool Save(const std::string& projectPath) const;
    // Called when a project is closed or a new one begun.
    void Reset();

    const std::string& fnImgElev() const { return fnImgElev_; }
    const std::string& fnImgDecli() const { return fnImgDecli_; }
    const std::string& fnVetSaida() const { return fnVetSaida_; }
    void SetfnImgElev(const std::string& s) { fnImgElev_ = s; }
    void SetfnImgDecli(const std::string& s) { fnImgDecli_ = s; }
    void SetfnVetSaida(const std::string& s) { fnVetSaida_ = s; }
    // The field boundary's polygon file ("" for the whole model), kept as the other paths.
    const std::string& fnLimite() const { return fnLimite_; }
    void SetfnLimite(const std::string& s) { fnLimite_ = s; }
    // The waterways a graded layout drains to ("" none), kept as the other paths.
    const std::string& fnEscoadouro() const { return fnEscoadouro_; }
    void SetfnEscoadouro(const std::string& s) { fnEscoadouro_ = s; }
    const TPlanoNivel& Plano() const { return plano_; }
    void SetPlano(const TPlanoNivel& p) { plano_ = p; }
    // What building the terraces takes, reckoned by each run for its table, companion and GIS
    // files: the settings as the design sees them (its machine), and the criterion that types
    // a graded strip (the level system's). PrepararConstrucao sets both from a project.
    void SetConstrucao(const TConfigConstrucao& c, const TSelecaoTipoTerraco& selecao) {
        configConstrucao_ = c;
        selecaoConstrucao_ = selecao;
    }
    const TConfigConstrucao& ConfigConstrucao() const { return configConstrucao_; }
    const TSelecaoTipoTerraco& SelecaoConstrucao() const { return selecaoConstrucao_; }

    // Where a run reports progress and status and asks whether to stop (not owned).
    void SetProgresso(IProgresso* p) { progresso_ = p; }
    IProgresso* Progresso() const { return progresso_; }

    // Further files a run writes with its vector and table, as one set (strip map, .prj, GIS).
    using TSaidasExtras = std::function<void(TConjuntoArquivos&)>;

    // Called on every run right after both rasters have loaded (same size), before anything
    // is measured: a field boundary takes the cells outside it out of the run this way.
    using TMascaraCampo = std::function<void(TImgElevacao& elevacao, TImgDeclive& declividade)>;
    void SetMascaraCampo(TMascaraCampo m) { mascara_ = std::move(m); }
    const TMascaraCampo& MascaraCampo() const { return mascara_; }

    // Whether a pocket may start at (col, row): the trunc(5 / pixelArea) pixels stepping away
    // in each of the eight directions lie inside the raster and are open.
    static bool HasRoom(const TImgApoio& apoio, double pixelArea, int col, int row);

    // A run begins: the last run's result is dropped, and the new one fills this.
    TResultadoNivel& NovaCorrida();
    const TResultadoNivel& Resultado() const { return ultima_; }

    // The last run, read through Resultado().
    double EV0() const { return ultima_.ev0; }
    double PixelArea() const { return ultima_.pixelArea; }
    double ProcessedArea() const { return ultima_.processedArea; }
    int32_t MetresPerUnit() const { return ultima_.metresPerUnit; }
    double FieldArea() const { return ultima_.fieldArea; }      // ha
    double FieldAreaM2() const { return ultima_.fieldAreaM2; }  // m²
    // Area of the strip pixels closed by the terraces of the last run (m²); each pixel once.
    double CommittedArea() const { return ultima_.committedArea; }
    TTerracosNivel* TerracosNivel() const { return ultima_.terracos; }
    TNumeroDaCurva* NumeroDaCurva() const { return ultima_.escoamento; }
    TPrecipitacao* Precipitacao() const { return ultima_.chuva; }
    const std::string& RunElevPath() const { return ultima_.elevacao; }
    const std::string& RunSlopePath() const { return ultima_.declividade; }
    const std::string& RunOutputPath() const { return ultima_.saida; }
    const std::string& ArquivoBDT() const { return ultima_.tabela; }
    const std::string& StatusText() const { return ultima_.status; }
    int32_t TerraceCount() const { return ultima_.terraceCount; }
    double Progress() const { return ultima_.progresso; }
    // True when the last run was stopped before the end of the field.
    bool StopRequested() const { return ultima_.parada; }
    const TBDT& Registros() const { return ultima_.registros; }
    const TMapaFaixas& MapaFaixas() const { return ultima_.mapaFaixas; }
    const std::vector<TLinhaMapa>& LinhasMapa() const { return ultima_.linhasMapa; }
    const std::vector<TOrigemTerraco>& Origens() const { return ultima_.origens; }
    const std::vector<TInfoTerraco>& Info() const { return ultima_.info; }
    // Empty for a level run.
    const std::vector<TCanalLocado>& Canais() const { return ultima_.canais; }
    const TConstrucaoLocacao& Construcao() const { return ultima_.construcao; }
    const std::vector<TLinhaMapa>& Escoadouros() const { return ultima_.escoadouros; }
    // Contour pieces and strips of the last run too small to be terraces (a line under two
    // cells, a strip without area); their land joined a neighbour strip or stayed uncovered.
    int PecasDescartadas() const { return ultima_.pecasDescartadas; }
    // Lines shorter than the plan's minimum length, taken out with their land given to the
    // strip below (or left uncovered).
    int PecasUnidas() const { return ultima_.pecasUnidas; }
    // Field above the lowest line's level that lies in no strip (ha).
    double AreaDescoberta() const { return ultima_.areaDescoberta; }
    double AreaDireta() const { return ultima_.areaDireta; }
    // Cells with an elevation (the field).
    long long CelulasCampo() const { return ultima_.celulasCampo; }
    // True when the last run ended at the line-number limit rather than at the end of the
    // field or a cancel; StatusText then says why. (Flat or empty strips do not end a run.)
    bool EncerradaNoLimite() const { return ultima_.fim; }
    // True when the run stopped at the plan's maximum number of terraces (land below the last
    // terrace is then not located).
    bool ParouNoLimiteDeTerracos() const { return ultima_.limiteDescida; }
    // Set by a run whose whole-field horizontal spacing is under two cells of the elevation
    // raster: neighbouring lines then share pixels and stop against each other, so the
    // location comes out incomplete. Empty otherwise.
    const std::string& AvisoResolucao() const { return ultima_.avisoResolucao; }

private:
    std::string fnImgElev_, fnImgDecli_, fnVetSaida_, fnLimite_, fnEscoadouro_;
    TPlanoNivel plano_;
    TConfigConstrucao configConstrucao_;
    TSelecaoTipoTerraco selecaoConstrucao_;
    TMascaraCampo mascara_;
    IProgresso* progresso_ = nullptr;
    TResultadoNivel ultima_;
};

#pragma once
// Level-terrace location engine: state, project keys and the fields a progress window
// polls. The polled fields are atomic (the status text behind a mutex) so a window may
// read them, and set StopRequested, while the engine runs on a worker thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_set>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/location/BDT.h"
#include "core/location/ImgApoio.h"
#include "core/raster/GradeMapa.h"

class IProgresso;
class TTerracosNivel;
class TNumeroDaCurva;
class TPrecipitacao;
class TImgElevacao;
class TImgDeclive;
class TVET;
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

// A terrace line of the last run in map units at double precision (the ".vet" keeps 32-bit
// reals, half a metre at UTM northings).
struct TLinhaMapa {
    int id = 0;
    double level = 0;
    std::vector<double> x, y;
};

// Most terraces the downhill procedure places in one run.
constexpr int kMaxTerracosDescida = 46;

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

    double EV0() const { return ev0_; }
    double PixelArea() const { return pixelArea_; }
    double ProcessedArea() const { return processedArea_; }
    int32_t MetresPerUnit() const { return metresPerUnit_; }
    double FieldArea() const { return fieldArea_; }      // ha
    double FieldAreaM2() const { return fieldAreaM2_; }  // m²
    // Area of the strip pixels closed by the terraces of the last run (m²); each pixel once.
    double CommittedArea() const { return committedArea_; }

    TTerracosNivel* TerracosNivel() const { return terracos_; }
    TNumeroDaCurva* NumeroDaCurva() const { return runoff_; }
    TPrecipitacao* Precipitacao() const { return rainfall_; }

    // Inputs of the last run (printed by the location report).
    const std::string& RunElevPath() const { return runElev_; }
    const std::string& RunSlopePath() const { return runSlope_; }
    const std::string& RunOutputPath() const { return runOutput_; }

    const std::string& fnImgElev() const { return fnImgElev_; }
    const std::string& fnImgDecli() const { return fnImgDecli_; }
    const std::string& fnVetSaida() const { return fnVetSaida_; }
    void SetfnImgElev(const std::string& s) { fnImgElev_ = s; }
    void SetfnImgDecli(const std::string& s) { fnImgDecli_ = s; }
    void SetfnVetSaida(const std::string& s) { fnVetSaida_ = s; }
    // The field boundary's polygon file ("" for the whole model), kept as the other paths.
    const std::string& fnLimite() const { return fnLimite_; }
    void SetfnLimite(const std::string& s) { fnLimite_ = s; }

    std::string StatusText() const;
    void SetStatusText(const std::string& text);  // assigns only when different
    int32_t TerraceCount() const { return terraceCount_.load(); }
    double Progress() const { return progress_.load(); }
    bool StopRequested() const { return stopRequested_.load(); }
    void SetStopRequested(bool v) { stopRequested_.store(v); }

    // Optional second channel for progress and cancellation (not owned).
    void SetProgresso(IProgresso* p) { progresso_ = p; }
    IProgresso* Progresso() const { return progresso_; }

    // Further files a run writes with its vector and table, as one set (strip map, .prj, GIS).
    using TSaidasExtras = std::function<void(TConjuntoArquivos&)>;

    // Places level terraces on the elevation raster, from its highest point down, and writes
    // the lines to outputPath (.vet) and the terrace table beside it (.bdt), with 'extras',
    // replacing the old files as one set. The field is the
    // cells with an elevation; each line's level is the line above's minus the interval (the
    // summit for the first), its strip the land between it and that line; every piece of a
    // level in the unassigned land is a terrace. Records without area are dropped. The three model
    // objects are the project's (not owned; the runoff's St is overwritten). Returns when
    // done, stopped (the terraces located so far are written) or at the end of the field.
    // Any error, and a run that places no terrace (and was not cancelled), writes nothing:
    // the previous outputs stay as they were.
    void Processar(const std::string& elevPath, const std::string& slopePath, TPrecipitacao& rainfall,
                   TNumeroDaCurva& runoff, TTerracosNivel& terracos, const std::string& outputPath,
                   const TSaidasExtras& extras = {});
    // Called on every run right after both rasters have loaded (same size), before anything
    // is measured: a field boundary takes the cells outside it out of the run this way.
    using TMascaraCampo = std::function<void(TImgElevacao& elevacao, TImgDeclive& declividade)>;
    void SetMascaraCampo(TMascaraCampo m) { mascara_ = std::move(m); }

    // Hands the engine the model objects without running (the window sets them up first).
    void SetModelo(TPrecipitacao* rainfall, TNumeroDaCurva* runoff, TTerracosNivel* terracos);

    // Whether a pocket may start at (col, row): the trunc(5 / pixelArea) pixels stepping away
    // in each of the eight directions lie inside the raster and are open.
    static bool HasRoom(const TImgApoio& apoio, double pixelArea, int col, int row);

    // Records of the last run, in the order the lines were emitted (kept until the next run).
    const TBDT& Registros() const { return *registros_; }
    // Strip map of the last run.
    const TMapaFaixas& MapaFaixas() const { return mapaFaixas_; }
    // Lines of the last run as written, at full precision (kept until the next run).
    const std::vector<TLinhaMapa>& LinhasMapa() const { return linhasMapa_; }
    // How each record's level was set (same order as Registros()).
    const std::vector<TOrigemTerraco>& Origens() const { return origens_; }
    // Contour pieces and strips of the last run too small to be terraces (a line under two
    // cells, a strip without area); their land joined a neighbour strip or stayed uncovered.
    int PecasDescartadas() const { return pecasDescartadas_; }
    // Field above the lowest line's level that lies in no strip (ha).
    double AreaDescoberta() const { return areaDescoberta_; }
    // Cells with an elevation (the field).
    long long CelulasCampo() const { return celulasCampo_; }
    // Output files of the last run.
    const std::string& ArquivoBDT() const { return arquivoBDT_; }
    // True when the last run ended at the line-number limit rather than at the end of the
    // field or a cancel; StatusText then says why. (Flat or empty strips do not end a run.)
    bool EncerradaNoLimite() const { return fim_; }
    // True when the downhill procedure stopped at its 46-terrace limit (land below the last
    // terrace is then not located).
    bool ParouNoLimiteDeTerracos() const { return limiteDescida_; }
    // Set by a run whose whole-field horizontal spacing is under two cells of the elevation
    // raster: neighbouring lines then share pixels and stop against each other, so the
    // location comes out incomplete. Empty otherwise.
    const std::string& AvisoResolucao() const { return avisoResolucao_; }

private:
    // Run steps.
    bool Parar();
    void Respirar();
    void Encerrar(const std::string& motivo);
    bool RecomputeSpacing(double s);
    void CompleteRecord(TRegTerr& r);
    void AddProgress(double area);
    TRegTerr* AddRecord(int id, double level, double slope, double length);
    TRegTerr* RecordById(int id);
    bool NextTerrace();
    bool PassouLimiteDescida();
    int MetodoEspacamento() const;
    double EV() const;

    // A level line found at a strip's edge.
    struct TPeca {
        TLinhaPixel linha;
        TPixelS inicio;
        double nivel = 0;
    };
    void LocateDownhill(TPixelS P, double acima, int depth, const TLinhaPixel* linhaAcima = nullptr);
    bool PlaceDown(TPixelS& P, double nivel, double teto, TLinhaPixel& linha, const TLinhaPixel* acima);
    bool PlaceUp(TPixelS& P, double nivel, double abaixo, const TLinhaPixel& linhaAbaixo, TLinhaPixel& linha);
    void CompleteStrip(int id, double lo, double hi, const TLinhaPixel& linha, int depth);
    void LocateUphill(TPeca L, int depth);
    bool TracePiece(int c, int r, int cq, int rq, double nivel, TPeca& p);
    void FindAllPieces(double nivel, int depth);
    bool TraceLine(TPixelS& P, double L, TLinhaPixel& line);
    double LengthInCells(const TLinhaPixel& line) const;
    void MarkLine(const TLinhaPixel& line, double level);
    bool OnLine(int c1, int r1, int c2, int r2, double level) const;
    std::vector<TPixel> SeedsAbove(const TLinhaPixel& line, double level) const;
    void FloodBand(const std::vector<TPixel>& seeds, double lo, double hi);
    void ReleaseStrip();
    void BurnPlaced(const TLinhaPixel& line);
    double StripSlope(const std::vector<TPixel>& px) const;
    int Emit(int id, const TLinhaPixel& line, double level, double slope, int sentido, double origem);
    void JoinRemainder();
    void DropEmptyRecords();
    void Measure();
    void SaveOutputs(const TSaidasExtras& extras);
    std::string MotivoSemTerracos(double topo) const;

    std::unique_ptr<TImgElevacao> elev_;
    std::unique_ptr<TImgDeclive> decl_;
    std::unique_ptr<TImgApoio> apoio_;
    std::unique_ptr<TVET> vet_;
    std::unique_ptr<TBDT> registros_;
    TMapaFaixas mapaFaixas_;
    // Lines of the records, by record position, written to the vector file at the end.
    std::vector<TLinhaPixel> linhas_;
    std::vector<TOrigemTerraco> origens_;
    std::vector<TLinhaMapa> linhasMapa_;
    std::vector<double> tetos_;  // upper elevation bound of each record's strip
    std::vector<TPixel> faixa_;  // the strip being assigned
    std::vector<uint8_t> faixaCodigo_;  // and each pixel's code before
    // Crossed cell edges of the lines placed, by level (2 * cell + 0 east, + 1 south).
    std::map<double, std::unordered_set<int64_t>> marcas_;
    long long celulasCampo_ = 0;
    int pecasDescartadas_ = 0;
    double areaDescoberta_ = 0;
    TGradeMapa grade_;
    TMascaraCampo mascara_;
    std::string arquivoBDT_;
    double minElev_ = 0;
    double slopeMean_ = 0;
    double lastSlope_ = 0;
    double TrialSlope();
    bool fim_ = false;
    bool limiteDescida_ = false;
    std::string avisoResolucao_;
    long long pockets_ = 0;

    double ev0_ = 0;
    double pixelArea_ = 0;
    double processedArea_ = 0;
    double committedArea_ = 0;
    int32_t metresPerUnit_ = 0;
    double fieldArea_ = 0;
    double fieldAreaM2_ = 0;
    TTerracosNivel* terracos_ = nullptr;
    TNumeroDaCurva* runoff_ = nullptr;
    TPrecipitacao* rainfall_ = nullptr;
    mutable std::mutex statusMutex_;
    std::string statusText_;
    std::string runElev_, runSlope_, runOutput_;
    std::string fnImgElev_, fnImgDecli_, fnVetSaida_, fnLimite_;
    std::atomic<int32_t> terraceCount_{0};
    std::atomic<double> progress_{0};
    std::atomic<bool> stopRequested_{false};
    IProgresso* progresso_ = nullptr;
};

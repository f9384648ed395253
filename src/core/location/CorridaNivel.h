#pragma once
// One level-terrace location run: the algorithm, fed the elevation and slope grids already
// loaded and normalised (an elevation of 0 is a cell without data, a slope without data is
// 0), with all its working state. A new object for every run, so nothing carries over from
// the last one. It reads and writes no file: the location facade (Locacao) loads the grids,
// and writes the lines and the table the run leaves in its TResultadoNivel.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/location/ImgApoio.h"
#include "core/location/LocNivel.h"
#include "core/raster/GradeMapa.h"

class IProgresso;
class TImgElevacao;
class TImgDeclive;
class TPrecipitacao;
class TNumeroDaCurva;
class TTerracosNivel;

// A set of codes (>= 0) in one flat table: the lines of a whole farm mark millions of cell
// edges, which a node for each made slow to look up and heavy to hold.
class TConjuntoCodigos {
public:
    void Inserir(int64_t codigo);
    bool Contem(int64_t codigo) const;
    size_t Tamanho() const { return n_; }

private:
    std::vector<int64_t> tabela_;  // -1 where empty
    size_t n_ = 0;
    int bits_ = 0;
    size_t Lugar(int64_t codigo) const {
        return static_cast<size_t>((static_cast<uint64_t>(codigo) * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
    }
};

class TCorridaNivel {
public:
    // The run fills 'resultado' with what it places; 'progresso' (may be null) hears its
    // status and position and may ask it to stop.
    TCorridaNivel(TResultadoNivel& resultado, TPrecipitacao& rainfall, TNumeroDaCurva& runoff,
                  TTerracosNivel& terracos, IProgresso* progresso);
    ~TCorridaNivel();
    TCorridaNivel(const TCorridaNivel&) = delete;
    TCorridaNivel& operator=(const TCorridaNivel&) = delete;

    // Progress of the caller's own steps (loading), on the run's channel: the status is
    // passed on only when it changes; Etapa sets the position and lets the interface breathe.
    void SetStatusText(const std::string& text);
    void Inicio();
    void Etapa(double percentual);
    void Respirar();

    // Places level terraces from the highest point down. The field is the cells with an
    // elevation; each line's level is the line above's minus the interval (the summit for
    // the first), its strip the land between it and that line; every piece of a level in the
    // unassigned land is a terrace. Records without area are dropped. The runoff's St is
    // overwritten (the field's mean slope, in %, when done). Returns when done, stopped or
    // at the end of the field, with the lines in map units in the result; a run that places
    // no terrace and was not cancelled raises why.
    // 'tracada', when given, hears each line as it is placed (in map units, with its id and
    // level), records that end up without area included.
    void Executar(const TImgElevacao& elev, const TImgDeclive& decl,
                  std::function<void(TLinhaMapa)> tracada = {});
    // After the lines are smoothed (their lengths final), while the elevation still lives:
    // pieces shorter than the plan's minimum join the strip below them or leave their land
    // uncovered.
    void UnirPecasCurtas();
    // Last: the terraces numbered so that each chain reads downhill (a line before the lines
    // whose strips lie under it, higher summits first), in the table, the lines, the strip
    // map and the passages alike.
    void Numerar();

private:
    bool Parar();
    void Encerrar(const std::string& motivo);
    bool RecomputeSpacing(double s);
    // 'largura' scales the strip's width (a strip that took in short pieces drains more).
    void CompleteRecord(TRegTerr& r, double largura = 1);
    void AddProgress(double area);
    TRegTerr* AddRecord(int id, double level, double slope, double length);
    TRegTerr* RecordById(int id);
    bool NextTerrace();
    int MetodoEspacamento() const;
    double EV() const;
    double TrialSlope();
    void Localizar();

    // A level line found at a strip's edge.
    struct TPeca {
        TLinhaPixel linha;
        TPixelS inicio;
        double nivel = 0;
    };
    void LocateDownhill(TPixelS P, double acima, int depth, const TLinhaPixel* linhaAcima = nullptr,
                        int idAcima = 0);
    bool PlaceDown(TPixelS& P, double nivel, double teto, TLinhaPixel& linha, const TLinhaPixel* acima);
    bool PlaceUp(TPixelS& P, double nivel, double abaixo, const TLinhaPixel& linhaAbaixo, TLinhaPixel& linha);
    // 'acima' is the line above the strip (0 at a summit).
    void CompleteStrip(int id, double lo, double hi, const TLinhaPixel& linha, int depth, int acima);
    void SetAcima(int id, int acima);
    void FecharFaixas();
    void LocateUphill(TPeca L, int depth);
    bool TracePiece(int c, int r, int cq, int rq, double nivel, TPeca& p);
    void FindAllPieces(double nivel, int depth);
    bool TraceLine(TPixelS& P, double L, TLinhaPixel& line);
    double LengthInCells(const TLinhaPixel& line) const;
    void MarkLine(const TLinhaPixel& line, double level);
    bool OnLine(int c1, int r1, int c2, int r2, double level) const;
    int Emit(int id, const TLinhaPixel& line, double level, double slope, int sentido, double origem);
    void JoinRemainder();
    void DropEmptyRecords();
    void Measure();
    void MapLines();
    TLinhaMapa LinhaNoMapa(int id, double level, const TLinhaPixel& linha) const;
    std::string MotivoSemTerracos(double topo) const;

    TResultadoNivel& res_;
    TPrecipitacao* rainfall_;
    TNumeroDaCurva* runoff_;
    TTerracosNivel* terracos_;
    IProgresso* progresso_;

    const TImgElevacao* elev_ = nullptr;
    const TImgDeclive* decl_ = nullptr;
    std::unique_ptr<TImgApoio> apoio_;
    TGradeMapa grade_;
    // Lines of the records, by record position, in pixel coordinates.
    std::vector<TLinhaPixel> linhas_;
    std::function<void(TLinhaMapa)> tracada_;
    std::vector<double> tetos_;  // upper elevation bound of each record's strip
    std::vector<int32_t> acimaDe_;  // by terrace number: the line above its strip, 0 at a summit
    // Crossed cell edges of the lines placed, by level (4 * cell + 0 east, 1 south, 2 centre).
    std::map<double, TConjuntoCodigos> marcas_;
    std::vector<float> maiorDoBloco_;  // FindAllPieces' look: the highest cell of each block of a row
    double minElev_ = 0;
    double slopeMean_ = 0;
    double lastSlope_ = 0;
    long long pockets_ = 0;
};

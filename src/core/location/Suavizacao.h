#pragma once
// Smoothing of traced level lines into lines a tractor can drive: no bend tighter than a
// minimum radius, every point within a tolerance of its level except where a sharp bend (a
// gully, the nose of a ridge) cannot be passed on level at that radius, and the lines of one
// run still apart from one another and inside the field. Map units are metres here.
#include <functional>
#include <memory>
#include <vector>

#include "core/location/LocNivel.h"
#include "core/raster/GradeMapa.h"

// Bilinear elevation between cell centres at map point (x, y); NaN where there is no data.
using TCotaMapa = std::function<double(double x, double y)>;
// Whether a map point lies inside the field (boundary and data). Both are asked from several
// threads at once.
using TDentroCampo = std::function<bool(double x, double y)>;

class TImgElevacao;
// Both on an elevation grid 'g' whose map units are 'metros' metres, the points given in
// metres (an elevation of 0 is a cell without data). They keep references to the grid.
TCotaMapa CotaNaGrade(const TImgElevacao& elev, const TGradeMapa& g, double metros);
TDentroCampo DentroDaGrade(const TImgElevacao& elev, const TGradeMapa& g, double metros);

struct TParametrosSuavizacao {
    double raioMinimo = 15;    // m; 0 = the traced line as it is (no change at all)
    double tolerancia = 0.05;  // m
    double passoMaximo = 2;    // m: the lines have a vertex at least this often
    double baseRaio = 6;       // m: the radius at a point is that of the circle through the
                               //    points this far before and after it along the line

    // The plan's radius and tolerance.
    static TParametrosSuavizacao DoPlano(const TPlanoNivel& plano);
};

// A stretch of a line that lies off its level by more than the tolerance ("travessia fora
// de nível"): where a bend too sharp for the radius is cut across, or where the line had to
// fall back toward its traced course.
struct TTravessia {
    double inicio = 0;       // m along the smoothed line from its first vertex
    double comprimento = 0;  // m
    double maiorAterro = 0;  // m, largest fill needed (ground below the level), >= 0
    double maiorCorte = 0;   // m, largest cut needed (ground above the level), >= 0
};

struct TLinhaSuavizada {
    TLinhaMapa linha;  // same id and level, smoothed vertices
    std::vector<TTravessia> travessias;
    double comprimento = 0;  // m
    // m of the line whose radius stays under the minimum: a hill's ring too small for it, or a
    // stretch that fell back toward its traced course to keep clear of another line or of the
    // field's edge.
    double comprimentoRaioMenor = 0;
};

// Radius (m) of the circle through vertex i and the points 'base' metres before and after it
// along the line; infinity on a straight run. Near the ends of an open line the point on the
// short side is the line's end, and at an end vertex the radius is infinite. On a closed line
// (first and last vertices alike; i may name either) the points wrap around, at a third of
// the ring's length when the ring is shorter than 3 × base. NaN when i is not a vertex.
double RaioEm(const TLinhaMapa& l, size_t i, double base, bool fechada);

// All lines of one run at once, so that smoothed lines never cross one another and never
// leave the field: where smoothing would make them cross, pass over a short line beside them
// or leave the field, the line falls back locally toward its traced course, and a line that
// still offends goes back whole (traced lines never cross). A line whose first and last
// vertices coincide is a closed ring and stays closed; a ring that cannot turn round at the
// minimum radius (shorter than its circle, or narrower than it) is put on its level only, its
// radius reported. Off-level stretches less than two radius bases apart make one passage.
// Lines of fewer than three vertices come back as they are. The result holds one line per
// traced line, in order. 'declividades' (m/m, one per line; missing ones 0) makes a line a
// graded channel: its design elevation at distance s from its first vertex is level + grade·s,
// and its "level" above means that.
std::vector<TLinhaSuavizada> SuavizarLinhas(const std::vector<TLinhaMapa>& tracadas, const TCotaMapa& cota,
                                            const TDentroCampo& dentro, const TParametrosSuavizacao& p,
                                            const std::vector<double>& declividades = {});

// The lines of a level run smoothed while the run still traces the next ones, on the threads
// it leaves free: each line handed over is smoothed on its own as it comes, and Concluir gives
// exactly what SuavizarLinhas gives for the run's final lines (level lines, no grade). A line
// that changed, or was never handed over, is smoothed there.
class TSuavizacaoAntecipada {
public:
    // 'threads' counts the caller's: with one, nothing is done ahead. The grid 'cota' reads
    // must outlive this.
    TSuavizacaoAntecipada(TCotaMapa cota, const TParametrosSuavizacao& p, int threads);
    ~TSuavizacaoAntecipada();
    TSuavizacaoAntecipada(const TSuavizacaoAntecipada&) = delete;
    TSuavizacaoAntecipada& operator=(const TSuavizacaoAntecipada&) = delete;
    // A traced line in metres, known by its id.
    void Antecipar(TLinhaMapa linha);
    // Until every line handed over has been smoothed ahead.
    void Aguardar();
    std::vector<TLinhaSuavizada> Concluir(const std::vector<TLinhaMapa>& tracadas, const TDentroCampo& dentro);

private:
    struct Estado;
    std::unique_ptr<Estado> e_;
};

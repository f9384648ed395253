#pragma once
// Smoothing of an elevation raster: a 3 x 3 moving mean that ignores missing cells, repeated
// 1 to 50 times. TFiltroTipoSingle serves real images, FiltroTipoInteger 16-bit integer
// images; byte images are refused. The result is always a real raster, written in the
// format of the output name's extension.
//
// A cell of exactly 0 is missing (the real worker also treats no-data cells so). A missing
// centre gives 0; otherwise the output is the mean of the centre and its present neighbours
// inside the grid.
#include <string>
#include <utility>

#include "core/common/Progresso.h"
#include "core/raster/Declividade.h"
#include "core/raster/Imagem.h"

inline constexpr int kMaxFiltragens = 50;

// The number of passes must lie in 1..kMaxFiltragens.
void ChecaFiltragens(long long passadas);

// Range of one pass: smallest positive and largest output (0 and 0 when none is positive).
struct TFaixaFiltro {
    float min = 0, max = 0;
};

// One pass from 'origem' into 'destino', which must already have origem's size and cells
// allocated. Both may be the same image: every row is buffered before it is overwritten,
// and the rows bordering each thread's band are copied before any band starts.
// inteiro: origem's cells are rounded to integers. Cells equal to noDataLeitura are missing
// (NaN: none). Outputs of 0 are written as valorZero.
TFaixaFiltro FiltroPassada(const TImagem& origem, TImagem& destino, bool inteiro,
                           float noDataLeitura, float valorZero, IProgresso* progresso = nullptr);

class TFiltroTipoSingle {
public:
    // 'legenda' is the caption of the window that runs the filter; it is shown with the
    // pass number during the run and given back at the end.
    explicit TFiltroTipoSingle(IProgresso* progresso = nullptr, std::string legenda = "Filtro")
        : progresso_(progresso), legenda_(std::move(legenda)) {}

    // The input gives its cells to the working copy (the caller does not need them after
    // the run), so a large grid is not held twice.
    void SetLiberaEntrada(bool libera) { liberaEntrada_ = libera; }

    // Empty title: "Imagem filtrada da imagem " + the input name.
    void Compute(const std::string& entrada, const std::string& saida, int passadas,
                 const std::string& titulo = "");
    // From an input already loaded; 'nomeEntrada' names it in the title.
    void Compute(TImagem& entrada, const std::string& nomeEntrada, const std::string& saida,
                 int passadas, const std::string& titulo = "");

    float NoData() const { return noData_; }

private:
    void Status(const std::string& texto);
    IProgresso* progresso_;
    std::string legenda_;
    float noData_ = kSemDadoPadrao;
    bool liberaEntrada_ = false;
};

// Differences from the real worker: the first pass reads the input's cells as integers,
// no no-data substitution, outputs of 0 are written as 0, the output header is a copy of
// the input's with real cells, the title is the one given, no status texts or progress
// (the caption still shows the pass). Between passes the result stays in memory.
class FiltroTipoInteger {
public:
    explicit FiltroTipoInteger(IProgresso* progresso = nullptr, std::string legenda = "Filtro")
        : progresso_(progresso), legenda_(std::move(legenda)) {}

    void Compute(const std::string& entrada, const std::string& saida, int passadas,
                 const std::string& titulo);
    void Compute(const TImagem& entrada, const std::string& saida, int passadas,
                 const std::string& titulo);
    // In memory: 'saida' (a fresh image) receives header and cells.
    void Calcula(const TImagem& entrada, TImagem& saida, int passadas, const std::string& titulo);

private:
    IProgresso* progresso_;
    std::string legenda_;
};

// The whole filter command: passes checked, the dialog's checks (input loaded once), the
// worker chosen by the input's cell type, the result saved. An empty title gives each
// worker its default (see TituloFiltro for the integer one). Returns the input's cell type.
TTipoCelula CalculaFiltro(const std::string& entrada, const std::string& saida, int passadas,
                   const std::string& titulo, IProgresso* progresso = nullptr,
                   const std::string& legenda = "Filtro");

// Title the dialog proposes for an input file.
std::string TituloFiltro(const std::string& entrada);

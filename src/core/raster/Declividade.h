#pragma once
// Slope of an elevation raster, in percent: for every cell the steepest absolute gradient
// towards any of its up to eight neighbours. Two workers: TDecliTipoSingle for real
// elevations and DecTipoInteger for 16-bit integer elevations; byte images are refused.
//
// An elevation of exactly 0 is a missing cell (the real worker also turns no-data cells
// into 0); a missing neighbour contributes nothing and a missing centre has slope 0.
//
// Grids of any size that fit in memory are accepted. The rows are shared out in bands, one
// per thread (NumeroThreads); a band keeps three padded input rows and one output row and
// sweeps its cells in order, so the result is the same on any number of threads.
#include <memory>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/common/Progresso.h"
#include "core/raster/Imagem.h"

// The checks of the slope and filter dialogs; each failure has its own class so that a
// window can show the right kind of box and move the focus.
class EArquivoEntrada : public EVandoro {
public:
    EArquivoEntrada() : EVandoro("Arquivo de entrada inválido.") {}
};
class EArquivoSaida : public EVandoro {
public:
    EArquivoSaida() : EVandoro("Arquivo de saída inválido.") {}
};
class EArquivoByte : public EVandoro {
public:
    EArquivoByte()
        : EVandoro("Arquivo especificado é do tipo byte. Utilize um arquivo do tipo inteiro "
                   "ou real.") {}
};
class EUnidadeImagem : public EVandoro {
public:
    EUnidadeImagem() : EVandoro("A unidade de distância utilizada na imagem é inválida") {}
    explicit EUnidadeImagem(const std::string& mensagem) : EVandoro(mensagem) {}
};

// The user asked to stop; raised between rows, before anything is written.
class ECalculoInterrompido : public EVandoro {
public:
    ECalculoInterrompido() : EVandoro("Cálculo interrompido. Nenhum arquivo foi gravado.") {}
};
inline void ChecaInterrupcao(const IProgresso* progresso) {
    if (progresso && progresso->StopRequested()) throw ECalculoInterrompido();
}

// Gradient and row-range helpers shared by the slope and the filters.
class TFFunc {
public:
    // |z2 - z1| / d, rounded to a 32-bit real.
    static float Gradient(double d, double z1, double z2);
    // Largest of the first n values (n >= 1).
    static float RowMax(const float* values, long long n);
    // Smallest value greater than 0 among the first n; kSemPositivo when there is none.
    static float RowMinPositive(const float* values, long long n);
    static constexpr float kSemPositivo = 1.0e15f;
};

// Cell spacing in metres: dx between columns, dy between rows, and the diagonal.
struct TEspacamentoCelulas {
    double dx = 0, dy = 0, diagonal = 0;
};
// Units "M" or "KM" (any case; km are turned into metres), else EUnidadeImagem. A grid
// without a positive, finite cell size raises its own error instead of dividing by zero.
TEspacamentoCelulas EspacamentoCelulas(const TImagem& img);

// The checks that need no loading, in the dialog's order: the input exists
// (EArquivoEntrada), an output name is given (EArquivoSaida), the output shares no file with
// the input (ChecaSaidaDiferente) and names a format that can be written
// (ChecaFormatoGravavel).
void ChecaNomesEntradaSaida(const std::string& entrada, const std::string& saida);
// Those checks, then the input loads and is not a byte image (EArquivoByte). Returns
// the loaded input; format errors of the file propagate. With a progress receiver the
// load shows "Carregando arquivo " + the name.
std::unique_ptr<TImagem> AbreEntradaRaster(const std::string& entrada, const std::string& saida,
                                           IProgresso* progresso = nullptr);
// The same plus the distance unit and cell size of the slope (EUnidadeImagem).
std::unique_ptr<TImagem> VerificaEntradaDeclividade(const std::string& entrada,
                                                    const std::string& saida,
                                                    IProgresso* progresso = nullptr);

// No-data value written by a worker whose input declares none: a slope or a filtered
// elevation is never negative enough to meet it, and every grid format can carry it.
inline constexpr float kSemDadoPadrao = -99.0f;

class TDecliTipoSingle {
public:
    explicit TDecliTipoSingle(IProgresso* progresso = nullptr) : progresso_(progresso) {}

    // Loads the input, computes, saves the output in the format of its extension.
    void Compute(const std::string& entrada, const std::string& saida, const std::string& titulo);
    // From an input already loaded; 'saida' is the file written.
    void Compute(const TImagem& entrada, const std::string& saida, const std::string& titulo);
    // In memory: 'saida' receives header and cells (units, spacing checked first).
    void Calcula(const TImagem& entrada, TImagem& saida, const std::string& titulo);

    // The no-data value of the last input (kSemDadoPadrao when it declared none).
    float NoData() const { return noData_; }

private:
    void Status(const std::string& texto);
    float noData_ = kSemDadoPadrao;
    IProgresso* progresso_;
};

// Differences from the real worker: cells are taken as integers with no no-data
// substitution, every zero slope is written as 0, the output header is a copy of the
// input's with real cells, the last cell of the last row gets the mean of its neighbour
// gradients, and there are no status texts.
class DecTipoInteger {
public:
    // The progress receiver only lets the interface breathe between rows.
    explicit DecTipoInteger(IProgresso* progresso = nullptr) : progresso_(progresso) {}

    void Compute(const std::string& entrada, const std::string& saida, const std::string& titulo);
    void Compute(const TImagem& entrada, const std::string& saida, const std::string& titulo);
    void Calcula(const TImagem& entrada, TImagem& saida, const std::string& titulo);

private:
    IProgresso* progresso_;
};

// The whole slope command: the checks above (the input loaded once), the worker chosen by
// the input's cell type ('R' real, 'I' integer), the result saved. Returns the cell type
// of the input.
TTipoCelula CalculaDeclividade(const std::string& entrada, const std::string& saida,
                        const std::string& titulo, IProgresso* progresso = nullptr);

// Default title the dialog proposes for an input file.
std::string TituloDeclividade(const std::string& entrada);

// Shared by the slope and the filters.
#include "core/raster/Vetoriza.h"  // VANDORO_VETORIZA, for the row kernels
// Image row 'row' into buf[1..Columns]; buf[0] and buf[Columns + 1] are left alone (the
// caller keeps them 0, so a cell outside the grid reads like a missing one). NaN cells
// read as 0. inteiro: cells rounded to 16-bit integers, no no-data substitution; otherwise
// cells equal to noData become 0.
void LeLinhaComBorda(const TImagem& img, int row, float* buf, bool inteiro, float noData);

// The padded rows just outside each of the nf bands ParaFaixas makes of the image's rows
// (zeros beyond the grid), read as LeLinhaComBorda does before any band starts: a pass that
// writes over its own source overwrites the rows its neighbour bands need.
struct TBordasFaixas {
    std::vector<std::vector<float>> antes, depois;
};
TBordasFaixas BordasDasFaixas(const TImagem& img, int nf, bool inteiro, float noData);
// ChecaSaidaDiferente for an image already loaded (by the file its cells came from).
void ChecaSaidaDaImagem(const TImagem& entrada, const std::string& saida);
// The message of an image too large for the memory left.
[[noreturn]] void SemMemoria(const TImagem& img);

#pragma once
// Sizing of the project's current system as the sizing window's "Calcular" does it: the
// entry fields are filled from the model and stored back (so values carry the fields'
// precision), the required fields are checked, and the system is computed. The window
// and the command line both go through here.
#include <string>
#include <utility>
#include <vector>

#include "core/common/Erros.h"
#include "core/model/SistemaConservacao.h"

class TModeloProjeto;

// A model failure during the computation. what() is the window's " Erro no cálculo ";
// Detalhe() the model's own message.
class EErroCalculo : public EVandoro {
public:
    explicit EErroCalculo(std::string detalhe) : EVandoro(" Erro no cálculo "), detalhe_(std::move(detalhe)) {}
    const std::string& Detalhe() const { return detalhe_; }

private:
    std::string detalhe_;
};

// Texts of the sizing window's entry fields (empty = no value): model values times the
// display unit factors, in the fields' formats. Named after the window's controls.
struct TCamposDimensionamento {
    int cbSistema = 0;            // list index: 0 level, 1 graded, 2 basins
    int cbMetodo = 0;             // spacing-method list index
    int cbFormatoBarraginha = 0;  // 0 rectangular, 1 semicircular
    // Land cover lists: indices of land use, treatment and hydrologic condition.
    int cbUsoDoSolo = 0, cbTratamento = 0, cbCondicaoHidrologica = 0;
    std::string edtTr, edtK, edt_a, edt_b, edt_c, meLatitude, meLongitude;
    std::string edtDecCanal, edtCompCanal, edtRugCanal, edtSt, edtSm;
    std::string edtDecTerreno, edtRugTerreno, edtHorizontal, edtVertical, edtTIE;
    std::string edtProfundidade, edtAreaContribuicao, edtM1, edtM2;
};

// System type of a list index of cbSistema and back; types the list cannot show are read
// as its last item, the basins.
TTipoSistema CodigoSistema(int indiceLista);
int IndiceSistema(TTipoSistema tipo);

TCamposDimensionamento LoadInputs(TModeloProjeto& m);
void StoreInputs(const TCamposDimensionamento& f, TModeloProjeto& m);
// The message of the first required field that is empty, or "" when all are filled.
std::string ValidateInputs(const TCamposDimensionamento& f);

// What the result pages show.
struct TResultadoDimensionamento {
    TTipoSistema TipoSistema = TTipoSistema::Nivel;  // Nivel, Gradiente or BaciaAcumulacao
    double LES = 0;         // mm: level runoff depth, or the basin's
    double Q = 0;           // L/s, graded
    double EV = 0, EH = 0;  // m
    double H = 0;           // m
    double CDu = 1;
    double Hr = 0;  // cm
    int Formato = 0;
    double ComprimentoOuRaio = 0, Largura = 0, Volume = 0;  // m, m, m³
    // The storm gives no runoff on this soil (no depth, or no flow): a terrace's height is
    // the freeboard alone and no channel was sized; a basin has nothing to hold.
    bool SemEscoamento = false;
    // The graded channel was longer than kComprimentoMaximoCanal and was sized at that length.
    bool ComprimentoLimitado = false;
};

// The result line that says so, for terraces and for basins.
extern const char* const kTextoSemEscoamento;
extern const char* const kTextoBaciaSemEscoamento;
// kTextoSemEscoamento when the result has no runoff, else "".
std::string AvisoResultado(const TResultadoDimensionamento& r);
// The rule of SemEscoamento, for whoever holds only the runoff: a graded system's flow Q
// (L/s), a level system's runoff depth (mm).
bool SemEscoamentoSuperficial(double escoamento);

// The computation proper (steps after the check); throws EErroCalculo.
TResultadoDimensionamento Calcular(TModeloProjeto& m);
// Load, store, check and compute in the window's order; an empty required field throws
// EVandoro with the window's message for it. A graded channel is cut to its longest length
// first, as the window does (ComprimentoLimitado).
TResultadoDimensionamento Dimensionar(TModeloProjeto& m);

// Label, value and unit of each result field, as the result page shows them.
struct TLinhaResultado {
    std::string Rotulo, Valor, Unidade;
};
std::vector<TLinhaResultado> LinhasResultado(const TResultadoDimensionamento& r);
// The system's item of the cbSistema list, without its leading blank.
std::string NomeSistema(TTipoSistema tipoSistema);

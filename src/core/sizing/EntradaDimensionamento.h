#pragma once
// Rules of the sizing window's entry page that do not need a widget: which field is
// missing or unreadable (with its control and group, so the window can open the group
// and focus the field), the longest graded channel, the recommended height, the slope and
// vertical spacing taken while the user types, the coordinate texts and the whole-percent
// slope of the method dialogs.
#include <string>

#include "core/sizing/Dimensionamento.h"

class TModeloProjeto;
class TSistemaConservacao;

// A field the entry page must point the user to. Empty Controle: nothing to report.
struct TCampoEntrada {
    std::string Controle;  // object name of the field ("edtSt")
    std::string Grupo;     // caption of its group button ("Canal")
    std::string Mensagem;  // the error box's text
    bool Vazio() const { return Controle.empty(); }
};

// The first required field that is empty or not above zero, in the window's checking order.
TCampoEntrada PrimeiroCampoVazio(const TCamposDimensionamento& f);
// "O valor <campo> deve ser maior que zero." (campo: "do parâmetro "b"").
std::string MensagemNaoPositivo(const std::string& campo);
// The first field whose text does not convert to a number (the conversion's own message),
// checked before anything is stored so that a bad field stores nothing.
TCampoEntrada PrimeiroCampoInvalido(const TCamposDimensionamento& f);

// A graded channel's length field reading above kComprimentoMaximoCanal becomes "1500";
// true when it was cut (the caller says kMensagemComprimentoCanal).
bool LimitarComprimentoCanal(std::string& comprimento);

// SetCDu(cdu), then SetHr from the system's own CDu and H; returns Hr (cm).
double DefinirAlturaRecomendada(TSistemaConservacao& s, double cdu);

// The vertical spacing shown while EH or the terrain slope is typed: EH × slope ÷ factor,
// in 'formato'; empty when either text is empty or unreadable or the product is not above 0.
std::string EVAoVivo(const std::string& eh, const std::string& declive, int kdecli, const char* formato);

// The terrain slope typed (in the settings' unit): St := slope ÷ KDecli and, when the EH
// text is readable, EH := it. 'valida' is false for an empty, unreadable or zero slope (the
// EH field then waits for one); 'ev' is the vertical spacing to show ("0.0##"), or empty.
struct TDeclividadeDigitada {
    bool valida = false;
    std::string ev;
};
TDeclividadeDigitada DeclividadeDigitada(TModeloProjeto& m, const std::string& declive, const std::string& eh);

// The infiltration rate (internal unit) of the rate field being typed in the settings'
// unit (factor kvib), for the curve number beside the land cover; -1 while it reads none.
double VIBDoCampo(const std::string& texto, double kvib);

// Slope (m/m) as the spacing dialogs' whole-percent spin takes it: rounded half to even.
int DeclividadeInteira(double declive);


// A coordinate field's text as the storm holder keeps it: empty for an untouched mask,
// the text itself when complete. A partly filled or unreadable text raises EVandoro
// naming the field ("latitude" or "longitude").
std::string CoordenadaDoCampo(const std::string& texto, const std::string& nome);

#pragma once
#include "core/location/LocNivel.h"
// Rules of the location window's fields that need no widget: what a new window shows, the
// fields filled from the model, the fields collected into it, the required fields with the
// section to open, and the output proposed for an elevation raster.
#include <string>

#include "core/sizing/EntradaDimensionamento.h"  // TCampoEntrada

class TModeloProjeto;
class TSistemaConservacao;

// The window's fields as text, by control name; list fields as indices.
struct TCamposLocacao {
    std::string edtTr, edtK, edt_a, edt_b, edt_c, meLatitude, meLongitude;
    std::string edtSm, edtCoefDesinf;
    int cbMetodo = 0;  // 0..4
    std::string edtEV, edtAlturaTerraco;
    int rgTipoTerraco = 0;  // 0..3
    int tipoArbitrado = 0;  // 0..4, the arbitrary-type dialog's choice
    std::string edtTIE;
    std::string edtImagemElevacao, edtImagemDec, edtVetorSaida;
    std::string edtLimite;  // the field boundary's polygon file, empty for the whole model
    // The plan: maximum number of terraces (empty = none), minimum length (m), minimum radius
    // (m) and level tolerance (cm).
    std::string edtMaxTerracos, edtComprimentoMinimo, edtRaioMinimo, edtTolerancia;
    std::string edtComprimentoMaximo;  // m, the longest graded channel
    // The machine the terraces are built with: its place in the settings' list (-1 none shown).
    int cbMaquina = -1;
    // "Terraços com gradiente": the channel's grade (settings' slope unit) and roughness, the
    // terrain's roughness and the waterways the terraces drain to.
    bool gradiente = false;
    std::string edtDecCanal, edtRugCanal, edtRugTerreno, edtEscoadouro;
};

// The system a location of the project lays out and sizes: the graded one for a graded project,
// the level one otherwise.
TSistemaConservacao& SistemaDaLocacao(TModeloProjeto& m);

// A new window: every edit empty, coefficient "1", method Bentley, criterion Paraná.
TCamposLocacao CamposLocacaoVazios();
// From the model: storm, channel, spacing (of SistemaDaLocacao), selection, soil (in the
// settings' units), the graded channel when the project is graded, the engine's paths and the
// plan with the project's machine (or the settings' default); values not above 0 show empty.
TCamposLocacao LoadInputsLocacao(TModeloProjeto& m);
// Into the model: the system (graded, or level when the project was graded), method (EV for 3,
// H for 4; a graded system keeps its own for 4), storm (Tr and K only when above 0: an empty or
// zero field is left to the required-field check), coordinates when not empty, selection
// (with the arbitrary type for 3), CDu, the triangular section, Sm and VIB (÷ unit factor),
// the graded channel's Sc, n and the terrain's n, the engine's paths and the plan, whose machine
// is the project's once another than the one it names (or the settings' default) is chosen. Raises the conversion's EVandoro for unreadable text; check with
// PrimeiroCampoInvalidoLocacao first.
void StoreInputsLocacao(const TCamposLocacao& f, TModeloProjeto& m);

// The first required field that is empty or not above 0, in the checking order; the
// arbitrated EV or height of methods 3 and 4 comes after the storm and the channel; a graded
// system also needs its channel's grade and roughness and the terrain's, and refuses method 4.
TCampoEntrada PrimeiroCampoVazioLocacao(const TCamposLocacao& f);
// The first number field whose text does not convert (the conversion's message).
TCampoEntrada PrimeiroCampoInvalidoLocacao(const TCamposLocacao& f);

// The plan the fields give (an empty field is 0: no maximum, no minimum length, traced lines),
// and the first of its fields out of range with the plan's message.
TPlanoNivel PlanoDosCampos(const TCamposLocacao& f);
TCampoEntrada CampoInvalidoDoPlano(const TCamposLocacao& f);

// The vector output proposed for an elevation raster: the same name with ".vet".
std::string VetorDaElevacao(const std::string& elevacao);

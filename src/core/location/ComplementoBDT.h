#pragma once
// The terrace table's companion: what a run knows beyond the .bdt records (whose layout stays
// as it is) — each terrace's line above and type, the soil it moves with the machine's hours and
// cost, the plan it was asked for, the off-level passages and the short pieces merged — in an
// INI text file beside the table, read by the report and the GIS export of a saved run.
#include <map>
#include <string>
#include <vector>

#include "core/location/ConstrucaoLocacao.h"
#include "core/location/LocNivel.h"

class TBDT;
class TVET;

inline constexpr const char* kExtensaoComplemento = ".bdc";

// The companion beside a table (x.bdt -> x.bdc) or a vector output.
std::string ComplementoDaTabela(const std::string& tabela);

// "topo" for a strip under no line, else the terrace number.
std::string TextoAcima(int acima);

struct TComplementoBDT {
    TPlanoNivel plano;
    std::map<int, TInfoTerraco> terracos;  // by terrace number
    std::map<int, TCanalLocado> canais;    // by terrace number, graded layouts only
    // What building each takes, by terrace number (companions written before hold none), the
    // machine of its hours and the run's warnings about the sections.
    std::map<int, TObraTerraco> obras;
    std::string maquina;
    std::vector<std::string> avisosConstrucao;
    std::vector<TTravessiaNivel> travessias;
    // The vector's lines at full precision, in its order (older companions hold none): a .vet
    // keeps 32-bit coordinates, half a metre apart at UTM northings.
    std::vector<TLinhaMapa> linhas;
    int pecasUnidas = 0;
    double areaSemReceptor = 0;       // ha
    double comprimentoRaioMenor = 0;  // m
    bool limiteTerracos = false;      // the run stopped at the plan's maximum

    static TComplementoBDT DoResultado(const TResultadoNivel& r);
    // The terrace's entry, or null.
    const TInfoTerraco* De(int id) const;
    const TCanalLocado* CanalDe(int id) const;
    const TObraTerraco* ObraDe(int id) const;
    // The construction of the table's terraces in its order; empty (no terraces) unless every
    // one has its figures here.
    TConstrucaoLocacao ConstrucaoDe(const TBDT& tabela) const;
    // Write errors raise EVandoro.
    void Gravar(const std::string& arquivo) const;
    // A file that cannot be read, or is not a companion, raises EVandoro naming it.
    void Ler(const std::string& arquivo);
};

// The lines of a saved plan's vector, in its order, each with its first vertex's elevation as
// 'level': the vertices at full precision from the companion when it holds this very vector's
// lines (same numbers and vertices, each within a metre), else as the vector has them.
std::vector<TLinhaMapa> LinhasDoVet(const TVET& v, const TComplementoBDT& c);

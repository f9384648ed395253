#pragma once
// The terrace table's companion: what a run knows beyond the .bdt records (whose layout stays
// as it is) — each terrace's line above and type, the plan it was asked for, the off-level
// passages and the short pieces merged — in an INI text file beside the table, read by the
// report and the GIS export of a saved run.
#include <map>
#include <string>
#include <vector>

#include "core/location/LocNivel.h"

inline constexpr const char* kExtensaoComplemento = ".bdc";

// The companion beside a table (x.bdt -> x.bdc) or a vector output.
std::string ComplementoDaTabela(const std::string& tabela);

// "topo" for a strip under no line, else the terrace number.
std::string TextoAcima(int acima);

struct TComplementoBDT {
    TPlanoNivel plano;
    std::map<int, TInfoTerraco> terracos;  // by terrace number
    std::map<int, TCanalLocado> canais;    // by terrace number, graded layouts only
    std::vector<TTravessiaNivel> travessias;
    int pecasUnidas = 0;
    double areaSemReceptor = 0;       // ha
    double comprimentoRaioMenor = 0;  // m
    bool limiteTerracos = false;      // the run stopped at the plan's maximum

    static TComplementoBDT DoResultado(const TResultadoNivel& r);
    // The terrace's entry, or null.
    const TInfoTerraco* De(int id) const;
    const TCanalLocado* CanalDe(int id) const;
    // Write errors raise EVandoro.
    void Gravar(const std::string& arquivo) const;
    // A file that cannot be read, or is not a companion, raises EVandoro naming it.
    void Ler(const std::string& arquivo);
};

#pragma once
// Finding a station or a locality of the rainfall-equation database by the name a user types,
// the order in which the lists show them, and the text that cites an equation's source.
//
// Names match by ChaveDeBusca: case, accents and runs of blanks do not count. A station name
// repeated within a state carries its gauge code, "SOBRAL (00340045)"; when no name matches
// as typed, the bare name finds those too.
#include <cstddef>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/rainfall/BDPrecipitacao.h"

// The name belongs to places of several states: the caller lets the user pick one of them.
class ENomeEmVariosEstados : public EVandoro {
public:
    ENomeEmVariosEstados(const std::string& descricao, std::vector<int> estados);
    // What was found, without the advice: "Há estações com o nome X em mais de um estado (BA, MA)".
    const std::string& Descricao() const { return descricao_; }
    // In state order.
    const std::vector<int>& Estados() const { return estados_; }

private:
    std::string descricao_;
    std::vector<int> estados_;
};

struct TEstacaoEncontrada {
    int Estado = -1;
    std::size_t Indice = 0;  // in the state's station array
    StationRecord Estacao;
};

struct TLocalidadeEncontrada {
    int Estado = -1;
    std::size_t Indice = 0;  // in the state's locality array
    LocalityRecord Localidade;
};

// The one station of that name, in the given state or (estado -1) in any. Raises EVandoro
// "Estação não encontrada: N.", "Há mais de uma estação com o nome N em Ceará: A, B." when the
// name stays ambiguous within one state, or ENomeEmVariosEstados. The stations must be loaded.
TEstacaoEncontrada AcharEstacao(const TBDPrecipitacao& bd, const std::string& nome, int estado = -1);
// The same for localities ("Localidade não encontrada: N.", "Há mais de uma localidade ...").
// Loads the localities of each state searched; the database keeps those of the last one.
TLocalidadeEncontrada AcharLocalidade(TBDPrecipitacao& bd, const std::string& nome, int estado = -1);

// Row order of the lists: by search key, ties by the name itself. Each entry is an index
// into the given array.
std::vector<std::size_t> OrdemPorNome(const std::vector<StationRecord>& estacoes);
std::vector<std::size_t> OrdemPorNome(const std::vector<LocalityRecord>& localidades);

// Authors, title and publication joined as sentences (". " unless the part already ends
// with a full stop); empty parts left out.
std::string TextoReferencia(const TReferencia& ref);
// The reference of a station's short citation (trailing blanks ignored); false when the
// citation table lacks it, or for an interpolated equation, whose text is TBDPrecipitacao::TextoInterpolacao().
bool ReferenciaDaFonte(const std::string& pasta, const std::string& fonte, std::string& texto);

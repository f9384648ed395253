#pragma once
// The 27 federative units, in the order of the database blocks and of the state list.
#include <cstdint>
#include <string>

#include "core/common/Erros.h"

// A state index outside 0..26.
class ENumeroEstado : public EVandoro {
public:
    using EVandoro::EVandoro;
};

constexpr int kNumEstados = 27;

class TEstado {
public:
    int16_t Index() const { return index_; }
    // Out of range: ENumeroEstado, index unchanged.
    void SetIndex(int i);
    std::string StateName() const { return Nome(index_); }
    std::string Sigla() const { return Sigla(index_); }

    // Names and two-letter codes by index; ENumeroEstado when out of range.
    static std::string Nome(int i);
    static std::string Sigla(int i);
    // Index of a two-letter code (either case), or -1.
    static int IndiceDaSigla(const std::string& sigla);
    // Index of a full name; case and accents of the Windows-1252 letters do not matter
    // ("SÃO PAULO" finds São Paulo). -1 when none.
    static int IndiceDoNome(const std::string& nome);

private:
    int16_t index_ = 0;
};

// Upper case without accents (Windows-1252 letters folded to their base letter) and with
// runs of blanks made one, trimmed: the key by which typed names are matched.
std::string ChaveDeBusca(const std::string& utf8);

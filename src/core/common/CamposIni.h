#pragma once
// A section's keys bound to the members that hold them: a class spells each key once, and
// reading, writing, copying and clearing all follow that one table (in its order, which is
// the order the keys take in the file).
#include <cstddef>
#include <string>
#include <variant>

#include "core/common/IniFile.h"

template <class T>
struct TCampoIni {
    const char* chave;
    std::variant<std::string T::*, double T::*> membro;
};

namespace campos_ini {
inline void Gravar(IniFile& ini, const std::string& s, const char* k, double v) { ini.WriteFloat(s, k, v); }
inline void Gravar(IniFile& ini, const std::string& s, const char* k, const std::string& v) { ini.WriteString(s, k, v); }
// A missing key reads as 0 or "".
inline void Ler(const IniFile& ini, const std::string& s, const char* k, double& v) { v = ini.ReadFloat(s, k, 0); }
inline void Ler(const IniFile& ini, const std::string& s, const char* k, std::string& v) { v = ini.ReadString(s, k, ""); }
inline void Limpar(double& v, double real) { v = real; }
inline void Limpar(std::string& v, double) { v.clear(); }

template <class T, std::size_t N, class F>
void ParaCada(const TCampoIni<T> (&campos)[N], F f) {
    for (const auto& c : campos) std::visit([&](auto m) { f(c.chave, m); }, c.membro);
}
}  // namespace campos_ini

template <class T, std::size_t N>
void GravarCampos(IniFile& ini, const std::string& secao, const T& obj, const TCampoIni<T> (&campos)[N]) {
    campos_ini::ParaCada(campos, [&](const char* k, auto m) { campos_ini::Gravar(ini, secao, k, obj.*m); });
}

template <class T, std::size_t N>
void LerCampos(const IniFile& ini, const std::string& secao, T& obj, const TCampoIni<T> (&campos)[N]) {
    campos_ini::ParaCada(campos, [&](const char* k, auto m) { campos_ini::Ler(ini, secao, k, obj.*m); });
}

template <class T, std::size_t N>
void CopiarCampos(T& destino, const T& origem, const TCampoIni<T> (&campos)[N]) {
    campos_ini::ParaCada(campos, [&](const char*, auto m) { destino.*m = origem.*m; });
}

// Reals take 'real', texts are emptied.
template <class T, std::size_t N>
void LimparCampos(T& obj, double real, const TCampoIni<T> (&campos)[N]) {
    campos_ini::ParaCada(campos, [&](const char*, auto m) { campos_ini::Limpar(obj.*m, real); });
}

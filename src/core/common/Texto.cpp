#include "core/common/Texto.h"

#include <cctype>

namespace {
bool Branco(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
}  // namespace

std::string_view Aparar(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && Branco(s[a])) ++a;
    while (b > a && Branco(s[b - 1])) --b;
    return s.substr(a, b - a);
}

std::string Trim(std::string_view s) { return std::string(Aparar(s)); }

std::string Minusculas(std::string s) {
    for (auto& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

std::string Maiusculas(std::string s) {
    for (auto& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

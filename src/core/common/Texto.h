#pragma once
// Small text helpers every reader shares: blanks trimmed, ASCII case.
#include <string>
#include <string_view>

// Without the leading and trailing blanks (space, tab, CR, LF, form feed, vertical tab).
std::string Trim(std::string_view s);
std::string_view Aparar(std::string_view s);  // the same, without a copy
std::string Minusculas(std::string s);  // ASCII only
std::string Maiusculas(std::string s);  // ASCII only

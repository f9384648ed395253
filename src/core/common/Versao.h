#pragma once
// The program's version, as every front end prints it and as the package is named.
// The build reads kVersao from this file for the package, so there is one place to change.
inline constexpr const char* kVersao = "4.1.0";
inline constexpr const char* kNomeVersao = "Vandoro 4.1.0";

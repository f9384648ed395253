#pragma once
// Safe arithmetic: C++ does not raise on x/0, log(0) or overflow; the model needs it to.
// Each helper throws EAritmetico("Erro aritmético.") unless the caller passes its own message.
#include <string>

namespace aritmetica {

extern const char* const kMensagemPadrao;  // "Erro aritmético."

// x^k computed as exp(k ln x); throws on x <= 0 or a non-finite result.
double Power(double x, double k, const char* msg = nullptr);
// a / b; throws on b == 0 or a non-finite result.
double Div(double a, double b, const char* msg = nullptr);
// ln x; throws on x <= 0.
double Ln(double x, const char* msg = nullptr);
// sqrt x; throws on x < 0.
double Sqrt(double x, const char* msg = nullptr);
// exp x; throws on overflow.
double Exp(double x, const char* msg = nullptr);
// Returns v, throws when v is NaN or infinite.
double Finite(double v, const char* msg = nullptr);

}  // namespace aritmetica

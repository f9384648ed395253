#include "core/common/Aritmetica.h"

#include <cmath>

#include "core/common/Erros.h"

namespace aritmetica {

const char* const kMensagemPadrao = "Erro aritmético.";

namespace {
[[noreturn]] void Falha(const char* msg) { throw EAritmetico(msg ? msg : kMensagemPadrao); }
}  // namespace

double Finite(double v, const char* msg) {
    if (!std::isfinite(v)) Falha(msg);
    return v;
}

double Power(double x, double k, const char* msg) {
    if (!(x > 0) || !std::isfinite(x) || !std::isfinite(k)) Falha(msg);
    return Finite(std::exp(k * std::log(x)), msg);
}

double Div(double a, double b, const char* msg) {
    if (b == 0 || std::isnan(b)) Falha(msg);
    return Finite(a / b, msg);
}

double Ln(double x, const char* msg) {
    if (!(x > 0) || !std::isfinite(x)) Falha(msg);
    return std::log(x);
}

double Sqrt(double x, const char* msg) {
    if (!(x >= 0) || !std::isfinite(x)) Falha(msg);
    return std::sqrt(x);
}

double Exp(double x, const char* msg) { return Finite(std::exp(Finite(x, msg)), msg); }

}  // namespace aritmetica

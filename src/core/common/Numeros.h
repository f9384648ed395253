#pragma once
// Number <-> text with the program's format patterns and the regional separators.
#include <string>
#include <string_view>

#include "core/common/Regional.h"

// Delphi FormatFloat patterns: '0' required digit, '#' optional digit, ',' thousands
// grouping, '.' decimal separator, 'E+00'/'e-00' exponent, "..."/'...' quoted literals,
// ';' separates positive;negative;zero sections, other characters literal. Rounding works on
// the value's 15-significant-digit decimal form with halves away from zero.
std::string FormatFloat(std::string_view pattern, double value,
                        const Regional& r = Regional::Current());

// Shortest form: up to 15 significant digits, no trailing zeros; scientific ("1E20",
// "1,5E-5") only when the fixed form would need more than 15 digits.
std::string FloatToStr(double value, const Regional& r = Regional::Current());

// General form with 'digits' significant digits (Delphi FloatToStrF(v, ffGeneral, digits, 0)).
std::string FloatToStrG(double value, int digits, const Regional& r = Regional::Current());

// Fixed form with 'decimals' decimals and no grouping (FloatToStrF(v, ffFixed, 15, decimals)).
std::string FloatToStrFixed(double value, int decimals, const Regional& r = Regional::Current());

// 23-character scientific form of raster headers: " 1.00000000000000E+0000" (blank or '-',
// one digit, '.', 14 digits, 'E', sign, 4 exponent digits). Always '.' as separator.
std::string FormatR(double value);

// Lenient text to number: blanks trimmed, ',' and '.' both taken as the decimal separator,
// empty text gives 0. Unreadable text throws EConversao.
double TextToReal(std::string_view text);

// Strict: the whole text must be a number written with the regional decimal separator
// (either ',' or '.' is accepted). Throws EConversao ("'abc' não é um valor numérico válido.").
double StrToFloat(std::string_view text, const Regional& r = Regional::Current());
bool TryStrToFloat(std::string_view text, double& out, const Regional& r = Regional::Current());
// An entry field's number: an empty field is 0, any other text as StrToFloat.
double NumeroDoCampo(std::string_view text);

// Strict integer (optional sign, decimal digits, blanks trimmed); throws EConversao
// ("'abc' não é um valor inteiro válido.").
long long StrToInt(std::string_view text);
bool TryStrToInt(std::string_view text, long long& out);

std::string IntToStr(long long v);

// A finite value in fixed form with 'decimals' digits after a '.', whatever the region: the
// very text of std::to_chars(fixed, decimals), written at 'out', before 'end'. Gives the end.
// The largest doubles take 330 characters. For the millions of coordinates of a plan's lines.
char* EscreverFixo(char* out, char* end, double value, int decimals);

#include "core/common/Numeros.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/common/Texto.h"

namespace {

// A finite value as its 'sig'-significant-digit decimal form: 0.d1d2...dn × 10^exp10.
struct Decimal {
    bool neg = false;
    std::string digits;  // no leading zeros; "" for zero
    int exp10 = 0;       // value = 0.digits × 10^exp10
};

Decimal ToDecimal(double v, int sig) {
    Decimal d;
    if (sig < 1) sig = 1;
    if (sig > 17) sig = 17;
    d.neg = std::signbit(v);
    v = std::fabs(v);
    if (v == 0) return d;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", sig - 1, v);
    std::string s = buf;
    auto e = s.find('e');
    for (size_t i = 0; i < e; ++i)
        if (s[i] >= '0' && s[i] <= '9') d.digits += s[i];
    d.exp10 = std::atoi(s.c_str() + e + 1) + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// Integer and fraction digit strings with 'decimals' fraction digits, halves away from zero.
void Fixed(const Decimal& d, int decimals, std::string& ip, std::string& fp) {
    // All digits placed: position p (0-based) of digit has weight 10^(exp10-1-p).
    int nInt = d.exp10 > 0 ? d.exp10 : 0;
    std::string all;  // integer digits followed by fraction digits (decimals + 1 for rounding)
    for (int k = 0; k < nInt; ++k) {
        int p = k;
        all += p < (int)d.digits.size() ? d.digits[p] : '0';
    }
    for (int k = 1; k <= decimals + 1; ++k) {
        int p = d.exp10 - 1 + k;  // index into digits of weight 10^-k
        all += (p >= 0 && p < (int)d.digits.size()) ? d.digits[p] : '0';
    }
    bool up = all.back() >= '5';
    all.pop_back();
    if (up) {
        int i = (int)all.size() - 1;
        while (i >= 0 && all[i] == '9') all[i--] = '0';
        if (i >= 0) all[i]++;
        else {
            all.insert(all.begin(), '1');
            ++nInt;
        }
    }
    ip = all.substr(0, nInt);
    fp = all.substr(nInt);
    size_t nz = ip.find_first_not_of('0');
    ip = nz == std::string::npos ? "" : ip.substr(nz);
}

std::string Group(const std::string& ip, char sep) {
    std::string r;
    int n = (int)ip.size();
    for (int i = 0; i < n; ++i) {
        r += ip[i];
        int rest = n - 1 - i;
        if (rest > 0 && rest % 3 == 0) r += sep;
    }
    return r;
}

bool ParseReal(std::string s, double& out) {
    for (auto& c : s)
        if (c == ',') c = '.';
    if (s.empty()) return false;
    const char* b = s.data();
    const char* e = b + s.size();
    if (*b == '+') ++b;
    if (b == e) return false;
    // from_chars would accept "inf"/"nan"; a number must start with a digit or a point.
    const char* q = (*b == '-') ? b + 1 : b;
    if (q == e || !(std::isdigit((unsigned char)*q) || *q == '.')) return false;
    double v = 0;
    auto r = std::from_chars(b, e, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        v = std::strtod(std::string(b, e).c_str(), nullptr);
        r.ec = std::errc();
    }
    if (r.ec != std::errc() || r.ptr != e) return false;
    out = v;
    return true;
}

// One section of a pattern, formatted for |value| (the sign is the caller's business).
std::string FormatSection(std::string_view pat, double value, const Regional& r, bool& allZero) {
    // Split literals (quoted or plain) from the number part.
    std::string prefix, suffix;
    int intZeros = 0, intHashes = 0, decZeros = 0, decMax = 0;
    bool grouping = false, seenPoint = false, seenDigit = false, sci = false;
    bool sciPlus = false, sciUpper = true;
    int expDigits = 0;
    for (size_t i = 0; i < pat.size(); ++i) {
        char c = pat[i];
        std::string& lit = seenDigit ? suffix : prefix;
        if (c == '"' || c == '\'') {
            size_t j = pat.find(c, i + 1);
            if (j == std::string_view::npos) j = pat.size();
            lit += std::string(pat.substr(i + 1, j - i - 1));
            i = j;
        } else if ((c == '0' || c == '#') && !sci && suffix.empty()) {
            seenDigit = true;
            if (seenPoint) {
                ++decMax;
                if (c == '0') decZeros = decMax;
            } else if (c == '0') {
                ++intZeros;
            } else {
                if (intZeros == 0) ++intHashes;
            }
        } else if (c == '.' && !seenPoint && suffix.empty() && !sci) {
            seenPoint = true;
            seenDigit = true;
        } else if (c == ',' && !seenPoint && suffix.empty() && !sci) {
            grouping = true;
        } else if ((c == 'E' || c == 'e') && seenDigit && suffix.empty() && i + 1 < pat.size() &&
                   (pat[i + 1] == '+' || pat[i + 1] == '-')) {
            sci = true;
            sciUpper = c == 'E';
            sciPlus = pat[i + 1] == '+';
            ++i;
            while (i + 1 < pat.size() && pat[i + 1] == '0') {
                ++expDigits;
                ++i;
            }
        } else {
            lit += c;
        }
    }
    double a = std::fabs(value);
    std::string body;
    if (sci) {
        Decimal d = ToDecimal(a, 15);
        int e10 = d.digits.empty() ? 0 : d.exp10 - 1;  // one integer digit
        Decimal m = d;
        m.exp10 = d.digits.empty() ? 0 : 1;
        std::string ip, fp;
        Fixed(m, decMax, ip, fp);
        if (ip.size() > 1) {  // 9.99 rounded to 10.0
            ip = "1";
            fp = std::string(decMax, '0');
            ++e10;
        }
        if (ip.empty()) ip = "0";
        while ((int)fp.size() > decZeros && !fp.empty() && fp.back() == '0') fp.pop_back();
        allZero = d.digits.empty();
        body = ip + (fp.empty() ? "" : std::string(1, r.DecimalSeparator) + fp);
        std::string ex = std::to_string(std::abs(e10));
        while ((int)ex.size() < expDigits) ex = "0" + ex;
        body += sciUpper ? 'E' : 'e';
        if (e10 < 0) body += '-';
        else if (sciPlus) body += '+';
        body += ex;
        return prefix + body + suffix;
    }
    Decimal d = ToDecimal(a, 15);
    std::string ip, fp;
    Fixed(d, decMax, ip, fp);
    while ((int)fp.size() > decZeros && fp.back() == '0') fp.pop_back();
    allZero = ip.find_first_not_of('0') == std::string::npos && fp.find_first_not_of('0') == std::string::npos;
    while ((int)ip.size() < intZeros) ip = "0" + ip;
    if (grouping) ip = Group(ip, r.ThousandSeparator);
    body = ip;
    if (!fp.empty()) body += std::string(1, r.DecimalSeparator) + fp;
    if (!seenDigit) body.clear();
    (void)intHashes;
    return prefix + body + suffix;
}

std::vector<std::string_view> Sections(std::string_view pattern) {
    std::vector<std::string_view> out;
    size_t start = 0;
    char quote = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            out.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(pattern.substr(start));
    return out;
}

}  // namespace

std::string FormatFloat(std::string_view pattern, double value, const Regional& r) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    auto secs = Sections(pattern);
    bool allZero = false;
    if (value < 0 && secs.size() >= 2 && !secs[1].empty()) return FormatSection(secs[1], value, r, allZero);
    std::string s = FormatSection(secs[0], value, r, allZero);
    if (allZero && secs.size() >= 3 && !secs[2].empty()) return FormatSection(secs[2], 0, r, allZero);
    if (value < 0 && !allZero) s = "-" + s;
    return s;
}

std::string FloatToStrG(double value, int digits, const Regional& r) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (digits < 1) digits = 1;
    if (digits > 15) digits = 15;
    Decimal d = ToDecimal(value, digits);
    if (d.digits.empty()) return "0";
    std::string sign = d.neg ? "-" : "";
    int e = d.exp10 - 1;  // exponent of the first digit
    if (e < -5 || e >= digits) {
        std::string m = d.digits.substr(0, 1);
        if (d.digits.size() > 1) m += std::string(1, r.DecimalSeparator) + d.digits.substr(1);
        return sign + m + "E" + (e < 0 ? "-" : "") + std::to_string(std::abs(e));
    }
    std::string ip, fp;
    if (d.exp10 <= 0) {
        ip = "0";
        fp = std::string(-d.exp10, '0') + d.digits;
    } else if ((int)d.digits.size() <= d.exp10) {
        ip = d.digits + std::string(d.exp10 - d.digits.size(), '0');
    } else {
        ip = d.digits.substr(0, d.exp10);
        fp = d.digits.substr(d.exp10);
    }
    return sign + ip + (fp.empty() ? "" : std::string(1, r.DecimalSeparator) + fp);
}

std::string FloatToStr(double value, const Regional& r) { return FloatToStrG(value, 15, r); }

std::string FloatToStrFixed(double value, int decimals, const Regional& r) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    Decimal d = ToDecimal(value, 15);
    std::string ip, fp;
    Fixed(d, decimals, ip, fp);
    if (ip.empty()) ip = "0";
    bool zero = ip == "0" && fp.find_first_not_of('0') == std::string::npos;
    std::string s = ip + (decimals > 0 ? std::string(1, r.DecimalSeparator) + fp : "");
    return (d.neg && !zero ? "-" : "") + s;
}

std::string FormatR(double value) {
    if (!std::isfinite(value)) value = 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14E", std::fabs(value));
    std::string s = buf;
    auto e = s.find('E');
    int ex = std::atoi(s.c_str() + e + 1);
    char x[16];
    std::snprintf(x, sizeof x, "E%c%04d", ex < 0 ? '-' : '+', std::abs(ex));
    return std::string(value < 0 ? "-" : " ") + s.substr(0, e) + x;
}

double TextToReal(std::string_view text) {
    std::string s = Trim(text);
    if (s.empty()) return 0;
    double v = 0;
    if (!ParseReal(s, v)) throw EConversao("'" + s + "' não é um valor numérico válido.");
    return v;
}

bool TryStrToFloat(std::string_view text, double& out, const Regional&) {
    std::string s = Trim(text);
    return ParseReal(s, out);
}

double StrToFloat(std::string_view text, const Regional& r) {
    double v = 0;
    if (!TryStrToFloat(text, v, r)) throw EConversao("'" + Trim(text) + "' não é um valor numérico válido.");
    return v;
}

double NumeroDoCampo(std::string_view text) { return text.empty() ? 0.0 : StrToFloat(text); }

bool TryStrToInt(std::string_view text, long long& out) {
    std::string s = Trim(text);
    if (s.empty()) return false;
    const char* b = s.data();
    const char* e = b + s.size();
    if (*b == '+') ++b;
    long long v = 0;
    auto r = std::from_chars(b, e, v, 10);
    if (r.ec != std::errc() || r.ptr != e) return false;
    out = v;
    return true;
}

long long StrToInt(std::string_view text) {
    long long v = 0;
    if (!TryStrToInt(text, v)) throw EConversao("'" + Trim(text) + "' não é um valor inteiro válido.");
    return v;
}

std::string IntToStr(long long v) { return std::to_string(v); }

char* EscreverFixo(char* out, char* end, double value, int decimals) {
    static constexpr double kPotencias[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    // Scaled and rounded as an integer. Below 2^40 a tie (k + 1/2) is a double and rounding
    // the product cannot carry it past one: a product off the tie lies on the exact value's
    // side of it. Products on a tie, large values and many decimals go to to_chars itself.
    if (decimals >= 0 && decimals <= 6 && end - out >= 40) {
        const double e = std::fabs(value) * kPotencias[decimals];
        const double inteiro = std::trunc(e), resto = e - inteiro;
        if (e < 1099511627776.0 && resto != 0.5) {
            uint64_t q = static_cast<uint64_t>(inteiro) + (resto > 0.5 ? 1 : 0);
            // Two digits a step, the last first.
            static constexpr char kPares[] =
                "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                "8081828384858687888990919293949596979899";
            char digitos[24];
            int n = 0;
            for (; q >= 10; q /= 100) {
                const size_t par = static_cast<size_t>(q % 100) * 2;
                digitos[n++] = kPares[par + 1];
                digitos[n++] = kPares[par];
            }
            if (q != 0 || n == 0) digitos[n++] = static_cast<char>('0' + q);
            while (n <= decimals) digitos[n++] = '0';  // one digit at least before the point
            if (std::signbit(value)) *out++ = '-';
            while (n > decimals) *out++ = digitos[--n];
            if (decimals > 0) *out++ = '.';
            while (n > 0) *out++ = digitos[--n];
            return out;
        }
    }
    return std::to_chars(out, end, value, std::chars_format::fixed, decimals).ptr;
}

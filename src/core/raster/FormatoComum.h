#pragma once
// Helpers shared by the grid store and the format readers and writers; not for callers
// outside the raster unit.
#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Regional.h"
#include "core/common/Texto.h"
#include "core/common/Win1252.h"
#include "core/raster/Imagem.h"

namespace raster_interno {

namespace fs = std::filesystem;

inline constexpr const char* kCRLF = "\r\n";

// The program's own formats go by the name's last three characters, in any case.
inline std::string Ext3(const std::string& name) {
    return Maiusculas(name.size() >= 3 ? name.substr(name.size() - 3) : name);
}

inline Regional PontoDecimal() {
    Regional r = Regional::EnUS();
    r.DecimalSeparator = '.';
    r.ThousandSeparator = ',';
    return r;
}

// '.' as decimal point in every formatted number of the text formats.
inline std::string ComPonto(std::string s) {
    for (auto& ch : s)
        if (ch == ',') ch = '.';
    return s;
}

// Out-of-range doubles become infinities instead of an undefined conversion.
inline float F32(double v) {
    if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

inline uint8_t ToByte(double v) {
    if (std::isnan(v)) return 0;
    v = std::nearbyint(v);
    return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}

inline int16_t ToInt16(double v) {
    if (std::isnan(v)) return 0;
    v = std::nearbyint(v);
    return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
}

inline void SwapCells(uint8_t* p, long long n, int size) {
    if (size < 2) return;
    for (long long i = 0; i + size <= n; i += size) std::reverse(p + i, p + i + size);
}

inline std::string Tamanho(long long cols, long long rows) {
    return IntToStr(cols) + " colunas × " + IntToStr(rows) + " linhas";
}

[[noreturn]] inline void GrandeDemais(long long cols, long long rows) {
    throw EVandoro("A imagem de " + Tamanho(cols, rows) +
                   " é grande demais para a memória disponível.");
}

// Header text the readers can take: Windows-1252 (or plain ASCII) without NUL bytes. A
// UTF-8 byte-order mark is dropped; UTF-16 and binary data are refused by name, not read
// as a run of unknown keys.
inline void ChecaTextoLegivel(std::string& text, const std::string& arq) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0 ||
        (text.size() >= 2 && ((text[0] == '\0' && std::isprint(static_cast<unsigned char>(text[1]))) ||
                              (text[1] == '\0' && std::isprint(static_cast<unsigned char>(text[0]))))))
        throw EVandoro("Erro no arquivo " + arq + ": o texto está em UTF-16; grave-o como texto comum "
                       "(ANSI/Windows-1252).");
    if (text.find('\0') != std::string::npos)
        throw EVandoro("Erro no arquivo " + arq + ": não é um arquivo de texto (tem bytes nulos).");
}

// Grid size read from a header: a whole number, positive, and within the cell limit.
inline int TamanhoGrade(double v, const std::string& chave, const std::string& arq) {
    if (!std::isfinite(v) || v < 1 || v > 2147483647.0 || v != std::nearbyint(v))
        throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": valor inválido para " + chave +
                       ".");
    return static_cast<int>(std::lround(v));
}

inline void ChecaCelulas(long long cols, long long rows) {
    if (cols <= 0 || rows <= 0 || cols * rows > kMaxCelulasImagem) GrandeDemais(cols, rows);
}

// Blank-separated numbers of the text formats, read from a whole-file buffer.
class Leitor {
public:
    Leitor(const std::string& text, size_t pos, std::string arq)
        : s_(text), p_(pos), arq_(std::move(arq)) {
        for (size_t i = 0; i < pos && i < s_.size(); ++i)
            if (s_[i] == '\n') ++linha_;
    }
    size_t Pos() const { return p_; }
    size_t Restante() const { return s_.size() - p_; }
    // False at the end of the text.
    bool Proximo(double& v) {
        while (p_ < s_.size()) {
            char ch = s_[p_];
            if (ch == '\n') ++linha_;
            else if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\f' && ch != '\v') break;
            ++p_;
        }
        if (p_ >= s_.size()) return false;
        const char* a = s_.data() + p_;
        const char* fim = s_.data() + s_.size();
        const char* b = a;
        if (*b == '+' && b + 1 < fim && *(b + 1) != '-') ++b;
        auto r = std::from_chars(b, fim, v);
        const char* e = r.ptr;
        bool separado = e == fim || *e == ' ' || *e == '\t' || *e == '\r' || *e == '\n' ||
                        *e == '\f' || *e == '\v';
        if (r.ec == std::errc::result_out_of_range && separado) {
            // Beyond double range: keep the sign as an infinity, like a 32-bit read would.
            v = (*b == '-') ? -HUGE_VAL : HUGE_VAL;
        } else if (r.ec != std::errc() || !separado) {
            const char* t = a;
            while (t < fim && t - a < 40 && *t != ' ' && *t != '\t' && *t != '\r' && *t != '\n') ++t;
            throw EConversao("Erro no arquivo " + arq_ + ": valor inválido '" +
                             Win1252ToUtf8(std::string(a, t)) + "' na linha " +
                             IntToStr(linha_) + ".");
        }
        p_ = static_cast<size_t>(e - s_.data());
        return true;
    }
    void PulaLinha() {
        while (p_ < s_.size() && s_[p_] != '\n') ++p_;
        if (p_ < s_.size()) {
            ++p_;
            ++linha_;
        }
    }

private:
    const std::string& s_;
    size_t p_;
    std::string arq_;
    long long linha_ = 1;
};

// Bounds a 32-bit real could not hold are refused, as the files' own readers always did.
inline void ChecaLimites(double a, double b, double c, double d, const std::string& arq) {
    if (!std::isfinite(F32(a)) || !std::isfinite(F32(b)) || !std::isfinite(F32(c)) || !std::isfinite(F32(d)))
        throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": coordenadas fora da faixa.");
    if (!(b > a) || !(d > c))
        throw EVandoro("Erro no cabeçalho do arquivo " + arq +
                       ": os limites dão um tamanho de célula nulo ou negativo.");
}

// Numbers left after the last row: the header declares fewer rows than the file holds.
inline void ChecaSobra(Leitor& le, const std::string& arq, long long esperados) {
    double v;
    if (le.Proximo(v))
        throw EVandoro("Erro no arquivo " + arq + ": há mais valores do que os " + IntToStr(esperados) +
                       " que o cabeçalho declara.");
}

[[noreturn]] inline void FimInesperado(const std::string& arq, long long esperados, long long lidos) {
    throw EVandoro("Erro no arquivo " + arq + ": fim inesperado dos dados (esperados " +
                   IntToStr(esperados) + " valores, lidos " + IntToStr(lidos) + ").");
}

// Text formats need at least two characters per value (digit and separator).
inline void ChecaTexto(long long cells, size_t restante, const std::string& arq, long long cols,
                long long rows) {
    if (cells > static_cast<long long>(restante / 2) + 1)
        throw EVandoro("Erro no arquivo " + arq + ": o arquivo é pequeno demais para uma grade de " +
                       Tamanho(cols, rows) + ".");
}

// The partner file of a pair format: the name itself when it already has that extension;
// otherwise the lower-case extension, or the upper-case one when only that file exists.
inline std::string Parceiro(const std::string& name, const std::string& ext) {
    if (Ext3(name) == Maiusculas(ext)) return name;
    std::string p = TrocaExtensao(name, "." + ext);
    if (!ArquivoExiste(p)) {
        std::string u = TrocaExtensao(name, "." + Maiusculas(ext));
        if (ArquivoExiste(u)) return u;
    }
    return p;
}

// Header and data of a pair format, written as they are: TImagem::SaveToFile hands the writers
// a staging name and replaces the grid's files as one set.
void GravaPar(const std::string& cabecalho, std::string_view textoCabecalho,
              const std::string& dados, std::string_view bytesDados);

}  // namespace raster_interno

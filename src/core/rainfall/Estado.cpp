#include "core/rainfall/Estado.h"

#include <cctype>

#include "core/common/Numeros.h"
#include "core/common/Win1252.h"

namespace {

struct TUf {
    const char* nome;
    const char* sigla;
};

const TUf kEstados[kNumEstados] = {
    {"Acre", "AC"},           {"Alagoas", "AL"},
    {"Amapá", "AP"},          {"Amazonas", "AM"},
    {"Bahia", "BA"},          {"Ceará", "CE"},
    {"Distrito Federal", "DF"}, {"Espírito Santo", "ES"},
    {"Goiás", "GO"},          {"Maranhão", "MA"},
    {"Mato Grosso", "MT"},    {"Mato Grosso do Sul", "MS"},
    {"Minas Gerais", "MG"},   {"Pará", "PA"},
    {"Paraíba", "PB"},        {"Paraná", "PR"},
    {"Pernambuco", "PE"},     {"Piauí", "PI"},
    {"Rio de Janeiro", "RJ"}, {"Rio Grande do Norte", "RN"},
    {"Rio Grande do Sul", "RS"}, {"Rondônia", "RO"},
    {"Roraima", "RR"},        {"Santa Catarina", "SC"},
    {"São Paulo", "SP"},      {"Sergipe", "SE"},
    {"Tocantins", "TO"},
};

void Verificar(int i) {
    if (i > kNumEstados - 1 || i < 0)
        throw ENumeroEstado(" Não existe estado com índice igual a " + IntToStr(i));
}

// Base letter of a Windows-1252 byte, upper case.
char Dobrar(unsigned char c) {
    if (c < 0x80) return char(std::toupper(c));
    if (c >= 0xE0 && c != 0xF7 && c != 0xFF) c = static_cast<unsigned char>(c - 0x20);
    if (c >= 0xC0 && c <= 0xC5) return 'A';
    if (c == 0xC7) return 'C';
    if (c >= 0xC8 && c <= 0xCB) return 'E';
    if (c >= 0xCC && c <= 0xCF) return 'I';
    if (c == 0xD1) return 'N';
    if ((c >= 0xD2 && c <= 0xD6) || c == 0xD8) return 'O';
    if (c >= 0xD9 && c <= 0xDC) return 'U';
    if (c == 0xDD || c == 0xFF || c == 0x9F) return 'Y';
    return char(c);
}

}  // namespace

void TEstado::SetIndex(int i) {
    Verificar(i);
    index_ = static_cast<int16_t>(i);
}

std::string TEstado::Nome(int i) {
    Verificar(i);
    return kEstados[i].nome;
}

std::string TEstado::Sigla(int i) {
    Verificar(i);
    return kEstados[i].sigla;
}

int TEstado::IndiceDaSigla(const std::string& sigla) {
    const std::string k = ChaveDeBusca(sigla);
    for (int i = 0; i < kNumEstados; ++i)
        if (k == kEstados[i].sigla) return i;
    return -1;
}

int TEstado::IndiceDoNome(const std::string& nome) {
    const std::string k = ChaveDeBusca(nome);
    for (int i = 0; i < kNumEstados; ++i)
        if (k == ChaveDeBusca(kEstados[i].nome)) return i;
    return -1;
}

std::string ChaveDeBusca(const std::string& utf8) {
    const std::string w = Utf8ToWin1252(utf8);
    std::string r;
    r.reserve(w.size());
    for (unsigned char c : w) {
        if (c == ' ' || c == '\t' || c == 0xA0) {
            if (!r.empty() && r.back() != ' ') r += ' ';
            continue;
        }
        r += Dobrar(c);
    }
    if (!r.empty() && r.back() == ' ') r.pop_back();
    return r;
}

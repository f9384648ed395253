#include "core/raster/Paleta.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"

TPaleta::TPaleta() {
    for (int i = 0; i < 256; ++i) SetCor(i, i, i, i);
}

void TPaleta::SetCor(int i, int red, int green, int blue) {
    auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    cores_[static_cast<size_t>(i)] = c(red) | (c(green) << 8) | (c(blue) << 16);
}

uint32_t TPaleta::Argb(int i) const {
    return 0xFF000000u | (static_cast<uint32_t>(Red(i)) << 16) | (static_cast<uint32_t>(Green(i)) << 8) |
           static_cast<uint32_t>(Blue(i));
}

namespace {

[[noreturn]] void Danificada(const std::string& nome, const std::string& motivo) {
    throw EVandoro("O arquivo de paleta " + NomeSemCaminho(nome) + " está danificado: " + motivo +
                   " Uma paleta tem 256 linhas, cada uma com quatro números inteiros (índice, vermelho, "
                   "verde e azul, as cores de 0 a 255).");
}

bool InteiroDe(const std::string& t, long long& v) {
    if (t.empty()) return false;
    size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size() || t.size() > 12) return false;
    for (size_t k = i; k < t.size(); ++k)
        if (t[k] < '0' || t[k] > '9') return false;
    v = std::stoll(t);
    return true;
}

}  // namespace

void TPaleta::LerTexto(const std::string& texto, const std::string& nome) {
    TPaleta nova;
    std::istringstream in(texto);
    std::string linha;
    int n = 0, numLinha = 0;
    while (std::getline(in, linha)) {
        ++numLinha;
        if (!linha.empty() && linha.back() == '\r') linha.pop_back();
        std::istringstream campos(linha);
        std::vector<std::string> t;
        for (std::string c; campos >> c;) t.push_back(c);
        if (t.empty()) continue;  // blank lines (a final line end) carry nothing
        if (n == 256) Danificada(nome, "tem mais de 256 linhas de cores.");
        long long v[4];
        if (t.size() != 4 || !InteiroDe(t[0], v[0]) || !InteiroDe(t[1], v[1]) || !InteiroDe(t[2], v[2]) ||
            !InteiroDe(t[3], v[3]))
            Danificada(nome, "a linha " + std::to_string(numLinha) + " não tem quatro números inteiros.");
        for (int k = 1; k < 4; ++k)
            if (v[k] < 0 || v[k] > 255)
                Danificada(nome, "a linha " + std::to_string(numLinha) + " tem uma cor fora de 0 a 255.");
        nova.SetCor(n++, static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3]));
    }
    if (n < 256) Danificada(nome, "tem " + std::to_string(n) + " linhas de cores.");
    cores_ = nova.cores_;
}

void TPaleta::LoadFromFile(const std::string& nome) {
    if (!ArquivoExiste(nome)) throw EVandoro("Erro. O arquivo de paleta " + nome + " não existe.");
    // A palette is a few kilobytes; anything large is not one.
    std::string texto;
    try {
        texto = LerArquivoInteiro(nome, 1 << 20);
    } catch (const EArquivoGrandeDemais&) {
        Danificada(nome, "é grande demais para uma paleta.");
    }
    LerTexto(texto, nome);
}

std::string TPaleta::Texto() const {
    std::string s;
    s.reserve(256 * 16);
    for (int i = 0; i < 256; ++i)
        s += std::to_string(i) + ' ' + std::to_string(Red(i)) + ' ' + std::to_string(Green(i)) + ' ' +
             std::to_string(Blue(i)) + "\r\n";
    return s;
}

void TPaleta::SaveToFile(const std::string& nome) const { GravarArquivoInteiro(nome, Texto()); }

int TFaixaCores::Indice(double v) const {
    if (!(passo > 0)) return 0;
    const double i = std::nearbyint((v - min) / passo);
    if (!(i > 0)) return 0;  // also NaN
    return i >= 255 ? 255 : static_cast<int>(i);
}

TFaixaCores TFaixaCores::De(double mn, double mx, TTipoCelula tipoCelula) {
    TFaixaCores f;
    f.min = mn;
    f.max = mx;
    f.algumValido = mn <= mx;
    f.passo = mx > mn ? (mx - mn) / 255.0 : 0.0;
    if (tipoCelula == TTipoCelula::Real)
        f.media = (mn + mx) / 2.0;
    else
        f.media = static_cast<double>((static_cast<long long>(mn) + static_cast<long long>(mx)) / 2);
    return f;
}

int EntradaLegenda(int linha) {
    // Spread over the whole palette so the top row is the colour of the maximum itself.
    const int k = std::clamp(linha, 0, kAlturaLegenda - 1);
    return static_cast<int>(std::nearbyint((kAlturaLegenda - 1 - k) * 255.0 / (kAlturaLegenda - 1)));
}

std::array<std::string, 3> RotulosLegenda(const TFaixaCores& f) {
    return {FormatFloat("0.###", f.max), FormatFloat("0.###", f.media), FormatFloat("0.###", f.min)};
}

#include "cli/ProgressoTerminal.h"

#include <unistd.h>

#include <cstdio>

namespace {
constexpr int kLargura = 30;
constexpr size_t kTextoMax = 40;

// Cuts UTF-8 text at a character boundary.
std::string Corta(const std::string& s, size_t max) {
    size_t n = 0, i = 0;
    for (; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == max) break;
            ++n;
        }
    }
    return s.substr(0, i);
}
}  // namespace

ProgressoTerminal::ProgressoTerminal() : ativo_(isatty(STDERR_FILENO) != 0) {}

ProgressoTerminal::~ProgressoTerminal() { Concluir(); }

void ProgressoTerminal::SetMax(int max) {
    max_ = max;
    ultimoPercentual_ = -1;
}

void ProgressoTerminal::SetPosition(int pos) {
    pos_ = pos;
    if (max_ <= 0) return;
    int p = static_cast<int>(100LL * (pos_ < 0 ? 0 : pos_) / max_);
    if (p > 100) p = 100;
    if (p == ultimoPercentual_) return;  // redraw only when the figure changes
    ultimoPercentual_ = p;
    Desenhar();
}

void ProgressoTerminal::SetStatus(const std::string& text) {
    if (text == status_) return;
    status_ = text;
    if (!text.empty()) Desenhar();
}

void ProgressoTerminal::SetCaption(const std::string& text) { SetStatus(text); }

void ProgressoTerminal::Desenhar() {
    if (!ativo_) return;
    std::string linha = "\r\x1b[K" + Corta(status_, kTextoMax);
    if (max_ > 0) {
        int p = ultimoPercentual_ < 0 ? 0 : ultimoPercentual_;
        int cheio = p * kLargura / 100;
        linha += " [" + std::string(static_cast<size_t>(cheio), '#') +
                 std::string(static_cast<size_t>(kLargura - cheio), ' ') + "] " +
                 std::to_string(p) + "%";
    }
    std::fputs(linha.c_str(), stderr);
    std::fflush(stderr);
    desenhado_ = true;
}

void ProgressoTerminal::Concluir() {
    if (ativo_ && desenhado_) {
        std::fputs("\r\x1b[K", stderr);
        std::fflush(stderr);
    }
    desenhado_ = false;
}

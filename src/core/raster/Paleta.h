#pragma once
// Colour palettes of the raster viewer and the value -> colour rule.
//
// A palette is 256 colours held as 32-bit values with red in the low byte, then green, then
// blue. Its ".pal" file is text: 256 lines of four integers — an index (not used), red,
// green and blue, each colour 0..255.
#include <array>
#include <cstdint>
#include <string>
#include "core/raster/TipoCelula.h"

class TImagem;

class TPaleta {
public:
    TPaleta();  // a grey ramp, so a palette is never undefined

    uint32_t Cor(int i) const { return cores_[static_cast<size_t>(i)]; }
    int Red(int i) const { return static_cast<int>(Cor(i) & 0xFF); }
    int Green(int i) const { return static_cast<int>((Cor(i) >> 8) & 0xFF); }
    int Blue(int i) const { return static_cast<int>((Cor(i) >> 16) & 0xFF); }
    void SetCor(int i, int red, int green, int blue);  // each clamped to 0..255
    // The colour as 0xFFRRGGBB, the pixel layout of the 32-bit render buffers.
    uint32_t Argb(int i) const;

    // Replaces the colours with those of 'nome'. A missing file raises
    // "Erro. O arquivo de paleta " + nome + " não existe."; a damaged one says which line is
    // wrong and why. On any error the palette keeps its colours.
    void LoadFromFile(const std::string& nome);
    // Reads palette text (what LoadFromFile does after reading the file); 'nome' names the
    // file in the messages.
    void LerTexto(const std::string& texto, const std::string& nome);
    // 256 lines "i r g b", CR LF; written whole or not at all.
    void SaveToFile(const std::string& nome) const;
    std::string Texto() const;

    bool operator==(const TPaleta& o) const { return cores_ == o.cores_; }

private:
    std::array<uint32_t, 256> cores_{};
};

// White, the colour of a no-data cell, in the render layout.
inline constexpr uint32_t kBrancoArgb = 0xFFFFFFFFu;

// The value range a render colours: min and max of the image's cell type, the step between
// palette entries and the legend's midpoint.
struct TFaixaCores {
    double min = 0, max = 0;
    double passo = 0;  // (max - min) / 255; 0 when min = max
    double media = 0;  // (min + max) / 2, whole-number division for byte and integer images
    bool algumValido = false;

    // Palette entry of a valid value: Round((v - min) / passo), halves to the even
    // neighbour, kept inside 0..255. A zero step (min = max) gives entry 0.
    int Indice(double v) const;

    static TFaixaCores De(double min, double max, TTipoCelula tipoCelula);
};

// The legend strip: 105 rows, maximum at the top. Entry of legend row k (0 = top).
inline constexpr int kLarguraLegenda = 25;
inline constexpr int kAlturaLegenda = 105;
int EntradaLegenda(int linha);
// The three legend labels in "0.###": {max (top), media, min (bottom)}.
std::array<std::string, 3> RotulosLegenda(const TFaixaCores& f);

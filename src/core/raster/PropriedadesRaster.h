#pragma once
// The header of a raster and of a vector file as the properties windows show it: every
// field already as text.
#include <string>

class TImagem;
class TVET;

struct TPropriedadesRaster {
    std::string tipo;  // "Real", "Inteiro", "Byte"
    std::string valMin, valMax;
    std::string titulo, unidade;
    std::string minX, maxX, minY, maxY;
    std::string colunas, linhas;
    std::string tamPixel;  // w + " x " + h, in metres for a grid in km
    std::string area;      // valid cells x w x h, m²

    static TPropriedadesRaster De(const TImagem& img);
};

struct TPropriedadesVetor {
    std::string titulo, unidade;
    std::string minX, maxX, minY, maxY;

    static TPropriedadesVetor De(const TVET& vet);
};

#include "core/raster/PropriedadesRaster.h"

#include <cmath>

#include "core/common/Arquivo.h"
#include "core/common/Numeros.h"
#include "core/common/Texto.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"

namespace {
std::string Coord(double v) { return FormatFloat("#0.0###", v); }

// Bounds are 32-bit reals: a 0.03 km cell comes back as 29.9999992 m. Seven significant
// digits are all the bounds carry, so the size is rounded to them.
double Sig7(double v) {
    if (v == 0 || !std::isfinite(v)) return v;
    const double escala = std::pow(10.0, 6 - std::floor(std::log10(std::fabs(v))));
    return std::round(v * escala) / escala;
}
}  // namespace

TPropriedadesRaster TPropriedadesRaster::De(const TImagem& img) {
    TPropriedadesRaster p;
    switch (img.CellType()) {
        case TTipoCelula::Byte:
            p.tipo = "Byte";
            p.valMin = IntToStr(img.MinValueByte());
            p.valMax = IntToStr(img.MaxValueByte());
            break;
        case TTipoCelula::Inteiro:
            p.tipo = "Inteiro";
            p.valMin = IntToStr(img.MinValueInt());
            p.valMax = IntToStr(img.MaxValueInt());
            break;
        default:
            p.tipo = "Real";
            p.valMin = FormatFloat("#0.0###", img.MinValueReal());
            p.valMax = FormatFloat("#0.0###", img.MaxValueReal());
            break;
    }
    p.titulo = img.Title();
    p.unidade = img.RefUnits();
    p.minX = Coord(img.MinX());
    p.maxX = Coord(img.MaxX());
    p.minY = Coord(img.MinY());
    p.maxY = Coord(img.MaxY());
    p.colunas = IntToStr(img.Columns());
    p.linhas = IntToStr(img.Rows());
    double w = img.Columns() > 0 ? (static_cast<double>(img.MaxX()) - img.MinX()) / img.Columns() : 0.0;
    double h = img.Rows() > 0 ? (static_cast<double>(img.MaxY()) - img.MinY()) / img.Rows() : 0.0;
    if (Maiusculas(img.RefUnits()) == "KM") {
        w *= 1000;
        h *= 1000;
    }
    w = Sig7(w);
    h = Sig7(h);
    p.tamPixel = FloatToStr(w) + " x " + FloatToStr(h);
    const double valid = img.ValidCount() > 0 ? static_cast<double>(img.ValidCount()) : 0.0;
    p.area = FormatFloat("###,###,###,###,###,###.0##", valid * w * h);
    return p;
}

TPropriedadesVetor TPropriedadesVetor::De(const TVET& vet) {
    TPropriedadesVetor p;
    p.titulo = vet.Title();
    p.unidade = vet.Units();
    p.minX = Coord(vet.MinX());
    p.maxX = Coord(vet.MaxX());
    p.minY = Coord(vet.MinY());
    p.maxY = Coord(vet.MaxY());
    return p;
}

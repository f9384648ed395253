// Writes the viewer's built-in palettes into the folder given: a spectral ramp, a
// qualitative set, a diverging ramp, a grey ramp and an elevation ramp, each made from a
// few colour stops or a small table here.
#include <cstdio>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/raster/Paleta.h"

namespace {

struct Parada {
    int indice, r, g, b;
};

// Straight lines between the stops (the first at 0, the last at 255).
TPaleta Rampa(const std::vector<Parada>& p) {
    TPaleta pal;
    for (size_t k = 0; k + 1 < p.size(); ++k) {
        const Parada& a = p[k];
        const Parada& z = p[k + 1];
        for (int i = a.indice; i <= z.indice; ++i) {
            const double t = z.indice == a.indice ? 0.0 : double(i - a.indice) / (z.indice - a.indice);
            auto m = [t](int u, int v) { return static_cast<int>(u + (v - u) * t + 0.5); };
            pal.SetCor(i, m(a.r, z.r), m(a.g, z.g), m(a.b, z.b));
        }
    }
    return pal;
}

TPaleta Espectral() {
    return Rampa({{0, 0, 0, 128}, {32, 0, 0, 255}, {96, 0, 255, 255}, {128, 0, 255, 0},
                  {160, 255, 255, 0}, {224, 255, 0, 0}, {255, 128, 0, 0}});
}

// Twelve well-separated colours, repeated: neighbouring classes never look alike.
TPaleta Qualitativa() {
    static const int t[12][3] = {{166, 206, 227}, {31, 120, 180}, {178, 223, 138}, {51, 160, 44},
                                 {251, 154, 153}, {227, 26, 28},  {253, 191, 111}, {255, 127, 0},
                                 {202, 178, 214}, {106, 61, 154}, {255, 255, 153}, {177, 89, 40}};
    TPaleta pal;
    for (int i = 0; i < 256; ++i) pal.SetCor(i, t[i % 12][0], t[i % 12][1], t[i % 12][2]);
    return pal;
}

// Blue below the middle, red above it, near white between.
TPaleta Divergente() {
    return Rampa({{0, 33, 102, 172}, {64, 103, 169, 207}, {127, 247, 247, 247}, {128, 247, 247, 247},
                  {192, 239, 138, 98}, {255, 178, 24, 43}});
}

TPaleta Cinza() { return Rampa({{0, 0, 0, 0}, {255, 255, 255, 255}}); }

// Low valleys green, slopes tan and brown, tops white.
TPaleta Elevacao() {
    return Rampa({{0, 0, 97, 71}, {64, 16, 122, 47}, {128, 232, 215, 125}, {192, 161, 67, 0},
                  {224, 130, 30, 30}, {255, 255, 255, 255}});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: gerar_paletas <pasta>\n");
        return 2;
    }
    const std::string pasta = argv[1];
    const struct {
        const char* nome;
        TPaleta (*fazer)();
    } paletas[] = {{"idris256.pal", Espectral}, {"qual256.pal", Qualitativa}, {"bimod256.pal", Divergente},
                   {"cinza1.pal", Cinza},       {"paleta6.pal", Elevacao}};
    try {
        for (const auto& p : paletas) p.fazer().SaveToFile(pasta + "/" + p.nome);
    } catch (const EVandoro& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

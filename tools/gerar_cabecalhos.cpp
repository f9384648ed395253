// Draws the report header pictures: a soft green band with a contour-line motif and the
// program's name, written as baseline JPEG files by the small encoder below.
//
//   gerar_cabecalhos <Cabecalho.jpg> <Cabecalho_Quenda21.jpg>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

// ---- picture ----

struct Cor {
    double r, g, b;
};

struct Quadro {
    int w, h;
    std::vector<Cor> px;
    Quadro(int largura, int altura) : w(largura), h(altura), px(size_t(largura) * size_t(altura)) {}
    Cor& at(int x, int y) { return px[size_t(y) * size_t(w) + size_t(x)]; }
    const Cor& at(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
    void Misturar(int x, int y, Cor c, double alfa) {
        if (x < 0 || y < 0 || x >= w || y >= h || alfa <= 0) return;
        alfa = std::min(alfa, 1.0);
        Cor& p = at(x, y);
        p.r += (c.r - p.r) * alfa;
        p.g += (c.g - p.g) * alfa;
        p.b += (c.b - p.b) * alfa;
    }
};

constexpr double kPi = 3.14159265358979323846;

// Vertical gradient from a pale to a soft green, with wavy "level lines" like a
// topographic map; the lines are anti-aliased by their distance to the curve.
void DesenharFundo(Quadro& q) {
    const Cor topo{226, 240, 220}, base{184, 216, 176}, linha{96, 150, 92};
    for (int y = 0; y < q.h; ++y) {
        double t = q.h > 1 ? double(y) / (q.h - 1) : 0;
        Cor c{topo.r + (base.r - topo.r) * t, topo.g + (base.g - topo.g) * t,
              topo.b + (base.b - topo.b) * t};
        for (int x = 0; x < q.w; ++x) q.at(x, y) = c;
    }
    const int nLinhas = 7;
    const double passo = double(q.h) / (nLinhas - 2);
    for (int k = 0; k < nLinhas; ++k) {
        double y0 = (k - 0.5) * passo;
        double fase = 0.9 * k;
        auto f = [&](double x) {
            return y0 + 0.22 * passo * std::sin(2 * kPi * x / 170.0 + fase) +
                   0.12 * passo * std::sin(2 * kPi * x / 61.0 + 2.3 * fase);
        };
        auto df = [&](double x) {
            return 0.22 * passo * (2 * kPi / 170.0) * std::cos(2 * kPi * x / 170.0 + fase) +
                   0.12 * passo * (2 * kPi / 61.0) * std::cos(2 * kPi * x / 61.0 + 2.3 * fase);
        };
        for (int x = 0; x < q.w; ++x) {
            double cx = x + 0.5, yc = f(cx), d1 = df(cx);
            double norma = std::sqrt(1 + d1 * d1);
            for (int y = int(yc) - 4; y <= int(yc) + 4; ++y) {
                double dist = std::fabs(y + 0.5 - yc) / norma;
                q.Misturar(x, y, linha, 0.45 * std::clamp(1.2 - dist, 0.0, 1.0));
            }
        }
    }
}

// ---- bitmap font ----
// Each glyph is up to 9 rows of 5 columns ('#' set), rows separated by '|': rows 0-6 sit
// above the baseline (lower-case letters use rows 2-6), rows 7-8 hold descenders. Accents
// are added from above row 0 down to row 1, so they clear the letter by one row.

struct GlifoFonte {
    char c;
    const char* linhas;
};

const GlifoFonte kFonte[] = {
    {' ', ""},
    {'.', "|||||##|##"},
    {'-', "||||#####"},
    {'0', " ### |#   #|#  ##|# # #|##  #|#   #| ### "},
    {'1', "  #  | ##  |  #  |  #  |  #  |  #  | ### "},
    {'2', " ### |#   #|    #|   # |  #  | #   |#####"},
    {'3', "#####|   # |  #  |   # |    #|#   #| ### "},
    {'4', "   # |  ## | # # |#  # |#####|   # |   # "},
    {'5', "#####|#    |#### |    #|    #|#   #| ### "},
    {'6', "  ## | #   |#    |#### |#   #|#   #| ### "},
    {'7', "#####|    #|   # |  #  | #   | #   | #   "},
    {'8', " ### |#   #|#   #| ### |#   #|#   #| ### "},
    {'9', " ### |#   #|#   #| ####|    #|   # | ##  "},
    {'A', " ### |#   #|#   #|#####|#   #|#   #|#   #"},
    {'B', "#### |#   #|#   #|#### |#   #|#   #|#### "},
    {'C', " ### |#   #|#    |#    |#    |#   #| ### "},
    {'D', "#### |#   #|#   #|#   #|#   #|#   #|#### "},
    {'E', "#####|#    |#    |#### |#    |#    |#####"},
    {'F', "#####|#    |#    |#### |#    |#    |#    "},
    {'G', " ### |#   #|#    |# ###|#   #|#   #| ####"},
    {'H', "#   #|#   #|#   #|#####|#   #|#   #|#   #"},
    {'I', "###| # | # | # | # | # |###"},
    {'J', "  ###|   # |   # |   # |   # |#  # | ##  "},
    {'K', "#   #|#  # |# #  |##   |# #  |#  # |#   #"},
    {'L', "#    |#    |#    |#    |#    |#    |#####"},
    {'M', "#   #|## ##|# # #|# # #|#   #|#   #|#   #"},
    {'N', "#   #|#   #|##  #|# # #|#  ##|#   #|#   #"},
    {'O', " ### |#   #|#   #|#   #|#   #|#   #| ### "},
    {'P', "#### |#   #|#   #|#### |#    |#    |#    "},
    {'Q', " ### |#   #|#   #|#   #|# # #|#  # | ## #"},
    {'R', "#### |#   #|#   #|#### |# #  |#  # |#   #"},
    {'S', " ####|#    |#    | ### |    #|    #|#### "},
    {'T', "#####|  #  |  #  |  #  |  #  |  #  |  #  "},
    {'U', "#   #|#   #|#   #|#   #|#   #|#   #| ### "},
    {'V', "#   #|#   #|#   #|#   #|#   #| # # |  #  "},
    {'W', "#   #|#   #|#   #|# # #|# # #|# # #| # # "},
    {'X', "#   #|#   #| # # |  #  | # # |#   #|#   #"},
    {'Y', "#   #|#   #| # # |  #  |  #  |  #  |  #  "},
    {'Z', "#####|    #|   # |  #  | #   |#    |#####"},
    {'a', "||| ### |    #| ####|#   #| ####"},
    {'b', "#    |#    |# ## |##  #|#   #|#   #|#### "},
    {'c', "||| ### |#    |#    |#   #| ### "},
    {'d', "    #|    #| ## #|#  ##|#   #|#   #| ####"},
    {'e', "||| ### |#   #|#####|#    | ### "},
    {'f', "  ## | #  #| #   |###  | #   | #   | #   "},
    {'g', "|| ####|#   #|#   #| ####|    #|    #| ### "},
    {'h', "#    |#    |# ## |##  #|#   #|#   #|#   #"},
    {'i', " # ||## | # | # | # |###"},
    {'j', "   #||  ##|   #|   #|   #|#  #| ## "},
    {'k', "#   |#   |#  #|# # |##  |# # |#  #"},
    {'l', "## | # | # | # | # | # |###"},
    {'m', "|||## # |# # #|# # #|#   #|#   #"},
    {'n', "|||# ## |##  #|#   #|#   #|#   #"},
    {'o', "||| ### |#   #|#   #|#   #| ### "},
    {'p', "|||#### |#   #|#   #|#### |#    |#    "},
    {'q', "||| ####|#   #|#   #| ####|    #|    #"},
    {'r', "|||# ## |##  #|#    |#    |#    "},
    {'s', "||| ####|#    | ### |    #|#### "},
    {'t', " #  | #  |### | #  | #  | #  #|  ## "},
    {'u', "|||#   #|#   #|#   #|#  ##| ## #"},
    {'v', "|||#   #|#   #|#   #| # # |  #  "},
    {'w', "|||#   #|#   #|# # #|# # #| # # "},
    {'x', "|||#   #| # # |  #  | # # |#   #"},
    {'y', "|||#   #|#   #|#   #| ####|    #| ### "},
    {'z', "|||#####|   # |  #  | #   |#####"},
};

// Marks placed over a lower-case base or under it (rows 7-8).
const char* const kAgudo = "   # |  #  ";
const char* const kGrave = " #   |  #  ";
const char* const kCircunflexo = "  #  | # # ";
const char* const kTil = " # # |# #  ";
const char* const kTrema = " # # |     ";
const char* const kCedilha = "  #  | ##  ";

struct Glifo {
    std::vector<std::string> linhas;  // 10 rows (one above row 0 of the table), same width
    int largura = 0;
};

std::vector<std::string> Dividir(const char* s) {
    std::vector<std::string> r(1);
    for (; *s; ++s) {
        if (*s == '|')
            r.emplace_back();
        else
            r.back() += *s;
    }
    r.resize(9);
    return r;
}

Glifo Normalizar(std::vector<std::string> linhas) {
    Glifo g;
    for (auto& l : linhas) g.largura = std::max<int>(g.largura, int(l.size()));
    for (auto& l : linhas) l.resize(size_t(g.largura), ' ');
    g.linhas = std::move(linhas);
    return g;
}

std::map<std::string, Glifo> MontarFonte() {
    std::map<std::string, Glifo> fonte;
    for (const auto& f : kFonte) {
        auto linhas = Dividir(f.linhas);
        linhas.insert(linhas.begin(), std::string());
        fonte[std::string(1, f.c)] = Normalizar(linhas);
    }
    fonte[" "].largura = 3;
    fonte[" "].linhas.assign(10, "   ");
    // The accented letters are composed from their base; 'i' drops its dot first.
    struct Composto {
        const char* utf8;
        char base;
        const char* marca;
        bool abaixo;
    };
    const Composto compostos[] = {
        {"á", 'a', kAgudo, false},     {"à", 'a', kGrave, false}, {"â", 'a', kCircunflexo, false},
        {"ã", 'a', kTil, false},       {"é", 'e', kAgudo, false}, {"ê", 'e', kCircunflexo, false},
        {"í", 'i', kAgudo, false},     {"ó", 'o', kAgudo, false}, {"ô", 'o', kCircunflexo, false},
        {"õ", 'o', kTil, false},       {"ú", 'u', kAgudo, false}, {"ü", 'u', kTrema, false},
        {"ç", 'c', kCedilha, true},
    };
    for (const auto& c : compostos) {
        std::vector<std::string> linhas = fonte[std::string(1, c.base)].linhas;
        std::vector<std::string> marca = Dividir(c.marca);
        int desloc = 0;
        if (c.base == 'i') {
            linhas[1].assign(linhas[1].size(), ' ');
            desloc = -1;  // centre the 5-wide mark over the 3-wide letter
        }
        for (int k = 0; k < 2; ++k) {
            std::string& destino = linhas[size_t(c.abaixo ? 8 + k : k)];
            const std::string& m = marca[size_t(k)];
            for (int x = 0; x < int(m.size()); ++x) {
                if (m[size_t(x)] != '#') continue;
                int xd = x + desloc;
                if (xd < 0) continue;
                if (int(destino.size()) <= xd) destino.resize(size_t(xd) + 1, ' ');
                destino[size_t(xd)] = '#';
            }
        }
        fonte[c.utf8] = Normalizar(linhas);
    }
    return fonte;
}

// Splits UTF-8 text into the keys of the font (one code point each).
std::vector<std::string> Caracteres(const std::string& texto) {
    std::vector<std::string> r;
    for (size_t i = 0; i < texto.size();) {
        unsigned char c = static_cast<unsigned char>(texto[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        r.push_back(texto.substr(i, n));
        i += n;
    }
    return r;
}

const Glifo& Buscar(const std::map<std::string, Glifo>& fonte, const std::string& c) {
    auto it = fonte.find(c);
    if (it == fonte.end()) {
        std::fprintf(stderr, "Caractere sem desenho na fonte: \"%s\"\n", c.c_str());
        std::exit(1);
    }
    return it->second;
}

double LarguraTexto(const std::map<std::string, Glifo>& fonte, const std::string& texto,
                    double escala, double negrito) {
    double w = 0;
    auto cs = Caracteres(texto);
    for (size_t i = 0; i < cs.size(); ++i)
        w += Buscar(fonte, cs[i]).largura + negrito + (i + 1 < cs.size());
    return w * escala;
}

// Draws text at any scale, centred on the column xc, with the top of the capitals at
// yTopo (accents rise one font unit above it); each pixel is covered by 4x4 samples so scaled edges come out smooth. Single-unit
// strokes look thin when enlarged, so `negrito` widens them (in font units).
void Escrever(Quadro& q, const std::map<std::string, Glifo>& fonte, const std::string& texto,
              double xc, double yTopo, double escala, double negrito, Cor cor) {
    double x0 = xc - LarguraTexto(fonte, texto, escala, negrito) / 2;
    const double y0 = yTopo - escala;
    for (const auto& c : Caracteres(texto)) {
        const Glifo& g = Buscar(fonte, c);
        const double largura = g.largura + negrito;
        int px0 = int(std::floor(x0)), px1 = int(std::ceil(x0 + largura * escala));
        int py0 = int(std::floor(y0)), py1 = int(std::ceil(y0 + 10 * escala));
        for (int py = py0; py < py1; ++py) {
            for (int px = px0; px < px1; ++px) {
                int dentro = 0;
                for (int sy = 0; sy < 4; ++sy) {
                    for (int sx = 0; sx < 4; ++sx) {
                        double fx = (px + (sx + 0.5) / 4 - x0) / escala;
                        double fy = (py + (sy + 0.5) / 4 - y0) / escala;
                        if (fx < 0 || fy < 0 || fx >= largura || fy >= 10) continue;
                        const std::string& linha = g.linhas[size_t(fy)];
                        auto aceso = [&](double u) {
                            return u >= 0 && u < g.largura && linha[size_t(u)] == '#';
                        };
                        if (aceso(fx) || aceso(fx - negrito)) ++dentro;
                    }
                }
                q.Misturar(px, py, cor, dentro / 16.0);
            }
        }
        x0 += (largura + 1) * escala;
    }
}

// ---- baseline JPEG (JFIF, YCbCr 4:4:4, the example tables of the standard) ----

const uint8_t kBitsDcLum[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
const uint8_t kValDcLum[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
const uint8_t kBitsDcCrom[16] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
const uint8_t kValDcCrom[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
const uint8_t kBitsAcLum[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d};
const uint8_t kValAcLum[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
    0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52,
    0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25,
    0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45,
    0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64,
    0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6,
    0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3,
    0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8,
    0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};
const uint8_t kBitsAcCrom[16] = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
const uint8_t kValAcCrom[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
    0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33,
    0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18,
    0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44,
    0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63,
    0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
    0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4,
    0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca,
    0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7,
    0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

// Quantisation tables in natural (row-major) order.
const int kQuantLum[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                           14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                           18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                           49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
const int kQuantCrom[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                            24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                            99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                            99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

struct TabelaHuffman {
    const uint8_t* bits;
    const uint8_t* valores;
    int nValores;
    std::array<uint16_t, 256> codigo{};
    std::array<uint8_t, 256> tamanho{};
};

// Canonical codes from the bit counts (Annex C of the standard).
void GerarCodigos(TabelaHuffman& t) {
    uint16_t codigo = 0;
    int k = 0;
    for (int comp = 1; comp <= 16; ++comp) {
        for (int i = 0; i < t.bits[comp - 1]; ++i, ++k) {
            t.codigo[t.valores[k]] = codigo++;
            t.tamanho[t.valores[k]] = uint8_t(comp);
        }
        codigo = uint16_t(codigo << 1);
    }
}

class EscritorBits {
public:
    explicit EscritorBits(std::vector<uint8_t>& saida) : saida_(saida) {}
    void Escrever(uint32_t valor, int n) {
        for (int i = n - 1; i >= 0; --i) {
            acum_ = (acum_ << 1) | ((valor >> i) & 1);
            if (++nBits_ == 8) Emitir();
        }
    }
    // Pads the last byte with one-bits, as decoders expect.
    void Completar() {
        while (nBits_ != 0) Escrever(1, 1);
    }

private:
    void Emitir() {
        saida_.push_back(uint8_t(acum_));
        if (acum_ == 0xFF) saida_.push_back(0);  // a data 0xFF must not read as a marker
        acum_ = 0;
        nBits_ = 0;
    }
    std::vector<uint8_t>& saida_;
    uint32_t acum_ = 0;
    int nBits_ = 0;
};

// Number of bits of |v| (the "category" of a DC difference or AC value).
int Categoria(int v) {
    int a = v < 0 ? -v : v, n = 0;
    while (a) {
        ++n;
        a >>= 1;
    }
    return n;
}

void EscreverValor(EscritorBits& bits, int v, int n) {
    // Negative values are sent as the one's complement of |v| in n bits.
    bits.Escrever(uint32_t(v < 0 ? v + (1 << n) - 1 : v), n);
}

// Natural index of each zigzag position: even diagonals run up-right, odd ones down-left.
std::array<int, 64> OrdemZigueZague() {
    std::array<int, 64> ordem{};
    size_t k = 0;
    for (int s = 0; s < 15; ++s) {
        for (int i = std::min(s, 7); i >= std::max(0, s - 7); --i) {
            int lin = s % 2 == 0 ? i : s - i;
            ordem[k++] = lin * 8 + (s - lin);
        }
    }
    return ordem;
}

std::array<int, 64> TabelaQualidade(const int* base, int qualidade) {
    int fator = qualidade < 50 ? 5000 / qualidade : 200 - 2 * qualidade;
    std::array<int, 64> q{};
    for (int i = 0; i < 64; ++i) q[size_t(i)] = std::clamp((base[i] * fator + 50) / 100, 1, 255);
    return q;
}

class CodificadorJpeg {
public:
    explicit CodificadorJpeg(int qualidade)
        : zz_(OrdemZigueZague()),
          qLum_(TabelaQualidade(kQuantLum, qualidade)),
          qCrom_(TabelaQualidade(kQuantCrom, qualidade)) {
        dcLum_ = {kBitsDcLum, kValDcLum, 12, {}, {}};
        acLum_ = {kBitsAcLum, kValAcLum, 162, {}, {}};
        dcCrom_ = {kBitsDcCrom, kValDcCrom, 12, {}, {}};
        acCrom_ = {kBitsAcCrom, kValAcCrom, 162, {}, {}};
        for (auto* t : {&dcLum_, &acLum_, &dcCrom_, &acCrom_}) GerarCodigos(*t);
        for (int u = 0; u < 8; ++u)
            for (int x = 0; x < 8; ++x)
                cos_[u][x] = std::cos((2 * x + 1) * u * kPi / 16) * (u == 0 ? std::sqrt(0.5) : 1.0);
    }

    std::vector<uint8_t> Codificar(const Quadro& q) {
        std::vector<uint8_t> s;
        auto marcador = [&](uint8_t m) {
            s.push_back(0xFF);
            s.push_back(m);
        };
        auto u16 = [&](int v) {
            s.push_back(uint8_t(v >> 8));
            s.push_back(uint8_t(v & 0xFF));
        };
        marcador(0xD8);
        marcador(0xE0);  // JFIF 1.01, square pixels
        u16(16);
        for (char c : std::string("JFIF")) s.push_back(uint8_t(c));
        s.insert(s.end(), {0, 1, 1, 0});
        u16(1);
        u16(1);
        s.insert(s.end(), {0, 0});
        marcador(0xDB);
        u16(2 + 2 * 65);
        for (int id = 0; id < 2; ++id) {
            s.push_back(uint8_t(id));
            const auto& t = id == 0 ? qLum_ : qCrom_;
            for (int k = 0; k < 64; ++k) s.push_back(uint8_t(t[size_t(zz_[size_t(k)])]));
        }
        marcador(0xC0);
        u16(8 + 3 * 3);
        s.push_back(8);
        u16(q.h);
        u16(q.w);
        s.push_back(3);
        for (int c = 1; c <= 3; ++c) s.insert(s.end(), {uint8_t(c), 0x11, uint8_t(c == 1 ? 0 : 1)});
        marcador(0xC4);
        u16(2 + 4 * 17 + 12 + 162 + 12 + 162);
        const std::pair<uint8_t, const TabelaHuffman*> tabelas[] = {
            {0x00, &dcLum_}, {0x10, &acLum_}, {0x01, &dcCrom_}, {0x11, &acCrom_}};
        for (const auto& [classe, t] : tabelas) {
            s.push_back(classe);
            s.insert(s.end(), t->bits, t->bits + 16);
            s.insert(s.end(), t->valores, t->valores + t->nValores);
        }
        marcador(0xDA);
        u16(6 + 2 * 3);
        s.push_back(3);
        s.insert(s.end(), {1, 0x00, 2, 0x11, 3, 0x11});
        s.insert(s.end(), {0, 63, 0});

        EscritorBits bits(s);
        int dcAnterior[3] = {0, 0, 0};
        double bloco[3][64];
        for (int by = 0; by < q.h; by += 8) {
            for (int bx = 0; bx < q.w; bx += 8) {
                for (int y = 0; y < 8; ++y) {
                    for (int x = 0; x < 8; ++x) {
                        // Edge blocks repeat the last row and column.
                        const Cor& p = q.at(std::min(bx + x, q.w - 1), std::min(by + y, q.h - 1));
                        double r = std::clamp(p.r, 0.0, 255.0), g = std::clamp(p.g, 0.0, 255.0),
                               b = std::clamp(p.b, 0.0, 255.0);
                        bloco[0][y * 8 + x] = 0.299 * r + 0.587 * g + 0.114 * b - 128;
                        bloco[1][y * 8 + x] = -0.168736 * r - 0.331264 * g + 0.5 * b;
                        bloco[2][y * 8 + x] = 0.5 * r - 0.418688 * g - 0.081312 * b;
                    }
                }
                for (int c = 0; c < 3; ++c)
                    CodificarBloco(bits, bloco[c], c == 0 ? qLum_ : qCrom_, dcAnterior[c],
                                   c == 0 ? dcLum_ : dcCrom_, c == 0 ? acLum_ : acCrom_);
            }
        }
        bits.Completar();
        marcador(0xD9);
        return s;
    }

private:
    void CodificarBloco(EscritorBits& bits, const double* amostras, const std::array<int, 64>& quant,
                        int& dcAnterior, const TabelaHuffman& dc, const TabelaHuffman& ac) {
        double linhas[64];
        for (int y = 0; y < 8; ++y)
            for (int u = 0; u < 8; ++u) {
                double soma = 0;
                for (int x = 0; x < 8; ++x) soma += amostras[y * 8 + x] * cos_[u][x];
                linhas[y * 8 + u] = soma / 2;
            }
        int coef[64];
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u) {
                double soma = 0;
                for (int y = 0; y < 8; ++y) soma += linhas[y * 8 + u] * cos_[v][y];
                coef[v * 8 + u] = int(std::lround(soma / 2 / quant[size_t(v * 8 + u)]));
            }

        int diff = coef[0] - dcAnterior;
        dcAnterior = coef[0];
        int n = Categoria(diff);
        bits.Escrever(dc.codigo[size_t(n)], dc.tamanho[size_t(n)]);
        EscreverValor(bits, diff, n);

        int zeros = 0;
        for (int k = 1; k < 64; ++k) {
            int v = coef[zz_[size_t(k)]];
            if (v == 0) {
                ++zeros;
                continue;
            }
            while (zeros >= 16) {
                bits.Escrever(ac.codigo[0xF0], ac.tamanho[0xF0]);
                zeros -= 16;
            }
            n = Categoria(v);
            int simbolo = (zeros << 4) | n;
            bits.Escrever(ac.codigo[size_t(simbolo)], ac.tamanho[size_t(simbolo)]);
            EscreverValor(bits, v, n);
            zeros = 0;
        }
        if (zeros > 0) bits.Escrever(ac.codigo[0x00], ac.tamanho[0x00]);
    }

    std::array<int, 64> zz_;
    std::array<int, 64> qLum_, qCrom_;
    TabelaHuffman dcLum_{}, acLum_{}, dcCrom_{}, acCrom_{};
    double cos_[8][8];
};

bool Gravar(const std::string& caminho, const std::vector<uint8_t>& dados) {
    std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(dados.data()), std::streamsize(dados.size()));
    f.close();
    if (!f) {
        std::fprintf(stderr, "Não foi possível gravar \"%s\".\n", caminho.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Uso: gerar_cabecalhos <Cabecalho.jpg> <Cabecalho_Quenda21.jpg>\n");
        return 1;
    }
    const auto fonte = MontarFonte();
    const Cor tinta{24, 64, 30};
    CodificadorJpeg jpeg(90);

    Quadro relatorio(382, 83);
    DesenharFundo(relatorio);
    Escrever(relatorio, fonte, "Vandoro 4.1", 191, 8, 3.5, 0.5, tinta);
    Escrever(relatorio, fonte, "Dimensionamento e locação de terraços", 191, 50, 1.5, 0.3, tinta);

    Quadro chuva(550, 73);
    DesenharFundo(chuva);
    Escrever(chuva, fonte, "Vandoro 4.1 - Equações de chuvas intensas", 275, 26, 2.0, 0.4, tinta);

    if (!Gravar(argv[1], jpeg.Codificar(relatorio))) return 1;
    if (!Gravar(argv[2], jpeg.Codificar(chuva))) return 1;
    return 0;
}

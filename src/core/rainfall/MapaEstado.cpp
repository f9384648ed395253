#include "core/rainfall/MapaEstado.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "core/common/Arquivo.h"
#include "core/common/Binario.h"
#include "core/common/Erros.h"

namespace {

const std::vector<TGeorrefMapa> kMapas = {
    {4, "BA", 37.339722, 46.629028, 8.532272, 18.349041, 436, 414, 16, 5},
    {7, "ES", 39.664805, 41.879249, 17.891117, 21.301478, 429, 278, 86, 10},
    {12, "MG", 39.856471, 51.046220, 14.232664, 22.922378, 327, 420, 16, 64},
    {15, "PR", 48.023056, 54.618958, 22.516105, 26.715944, 267, 420, 27, 101},
    {18, "RJ", 40.956445, 44.888529, 20.763474, 23.368490, 284, 430, 10, 82},
    {24, "SP", 44.160556, 53.109609, 19.779323, 25.311931, 265, 430, 10, 92},
    {26, "TO", 45.695667, 50.741611, 5.168047, 13.467389, 437, 266, 93, 7},
};

// 12 pixels per degree both ways, from Fernando de Noronha to the far west of Acre and from
// the north of Roraima to the south of Rio Grande do Sul; latitudes north are negative.
const TGeorrefMapa kBrasil = {-1, "BR", 32.0, 74.5, -5.5, 34.0, 474, 510, 5, 5};

struct TCorEstado {
    TCor cor;
    int ind;
};
const TCorEstado kCores[] = {
    {0xFF0000, 12}, {0xFFFF00, 7},  {0xFF9900, 18}, {0x990000, 24}, {0x000066, 20},
    {0x000099, 23}, {0x0000CC, 15}, {0x0099FF, 19}, {0xA1A1A1, 10}, {0x434343, 11},
    {0x666666, 8},  {0x99FFFF, 4},  {0x00FFFF, 1},  {0x00CCCC, 16}, {0x66CCFF, 14},
    {0x0066CC, 5},  {0x006699, 17}, {0x003366, 9},  {0x003300, 0},  {0x006600, 3},
    {0x009900, 13}, {0x33FF66, 21}, {0x99FF99, 26},
};
const TCor kSetaNormal[] = {0x000000, 0xFFFFFF, 0x0D0D0D, 0x006666, 0x00CC33, 0x00CC00};

// Large enough for any map; keeps a corrupt header from asking for gigabytes.
constexpr long long kMaxLado = 16384;
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

int Arredonda(double v) {
    // Halves to the even neighbour, as the coordinate round trips expect everywhere else.
    if (std::isnan(v)) return std::numeric_limits<int>::min();
    return static_cast<int>(std::nearbyint(std::clamp(v, -1e9, 1e9)));
}

}  // namespace

const std::vector<TGeorrefMapa>& MapasEstados() { return kMapas; }

const TGeorrefMapa* MapaDoEstado(int indEstado) {
    for (const auto& m : kMapas)
        if (m.IndEstado == indEstado) return &m;
    return nullptr;
}

std::string ArquivoMapaEstado(const TGeorrefMapa& m) { return std::string(m.Sigla) + ".bmp"; }

const TGeorrefMapa& MapaBrasil() { return kBrasil; }

TPontoMapa CoordParaPonto(const TGeorrefMapa& m, double lat, double lon) {
    TPontoMapa p;
    p.X = m.Largura - m.Largura * (m.LonE - lon) / (m.LonE - m.LonW) + m.OffX;
    p.Y = (lat - m.LatN) * m.Altura / (m.LatS - m.LatN) + m.OffY;
    return p;
}

void CoordParaPixel(const TGeorrefMapa& m, double lat, double lon, int& x, int& y) {
    TPontoMapa p = CoordParaPonto(m, lat, lon);
    x = Arredonda(p.X);
    y = Arredonda(p.Y);
}

void PixelParaCoord(const TGeorrefMapa& m, int x, int y, double& lat, double& lon) {
    lat = m.LatN + (m.LatS - m.LatN) * (y - m.OffY) / m.Altura;
    lon = m.LonE - (m.LonE - m.LonW) * (m.Largura - (x - m.OffX)) / m.Largura;
}

int EstadoDaCor(TCor cor) {
    for (const auto& c : kCores)
        if (c.cor == cor) return c.ind;
    return -1;
}

bool CorDoEstado(int indEstado, TCor& cor) {
    for (const auto& c : kCores)
        if (c.ind == indEstado) {
            cor = c.cor;
            return true;
        }
    return false;
}

bool CorComSetaNormal(TCor cor) {
    return std::find(std::begin(kSetaNormal), std::end(kSetaNormal), cor) != std::end(kSetaNormal);
}

// ---- picture ----

TBitmapRGB::TBitmapRGB(int largura, int altura, TCor fundo) {
    if (largura <= 0 || altura <= 0 || largura > kMaxLado || altura > kMaxLado ||
        static_cast<long long>(largura) * altura > kMaxPixels)
        throw EVandoro("Erro. Tamanho de imagem inválido: " + std::to_string(largura) + " x " +
                       std::to_string(altura) + ".");
    largura_ = largura;
    altura_ = altura;
    cor_.assign(static_cast<size_t>(largura) * altura, fundo & 0xFFFFFF);
}

TCor TBitmapRGB::Pixel(int x, int y) const {
    if (!Dentro(x, y))
        throw EVandoro("Erro. Pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                       ") fora da imagem.");
    return cor_[static_cast<size_t>(y) * largura_ + x];
}

void TBitmapRGB::SetPixel(int x, int y, TCor cor) {
    if (Dentro(x, y)) cor_[static_cast<size_t>(y) * largura_ + x] = cor & 0xFFFFFF;
}

void TBitmapRGB::Linha(int x0, int y0, int x1, int y1, TCor cor) {
    // Far-off end points would make the walk long; nothing beyond the picture is drawn anyway.
    const long long lim = 4 * kMaxLado;
    if (std::llabs(x0) > lim || std::llabs(x1) > lim || std::llabs(y0) > lim || std::llabs(y1) > lim)
        return;
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        SetPixel(x0, y0, cor);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void TBitmapRGB::CirculoCheio(int cx, int cy, int raio, TCor cor) {
    for (int dy = -raio; dy <= raio; ++dy)
        for (int dx = -raio; dx <= raio; ++dx)
            if (dx * dx + dy * dy <= raio * raio) SetPixel(cx + dx, cy + dy, cor);
}

// ---- BMP ----

void GravarBMP(const TBitmapRGB& b, const std::string& path) {
    if (b.Largura() <= 0 || b.Altura() <= 0)
        throw EVandoro("Não foi possível gravar o arquivo " + path + ": imagem vazia.");
    const std::uint32_t linha = (static_cast<std::uint32_t>(b.Largura()) * 3 + 3) & ~3u;
    const std::uint32_t dados = linha * static_cast<std::uint32_t>(b.Altura());
    std::string s;
    s.reserve(54 + dados);
    s += "BM";
    AcrescentarLE<std::uint32_t>(s, 54 + dados);
    AcrescentarLE<std::uint32_t>(s, 0);
    AcrescentarLE<std::uint32_t>(s, 54);
    AcrescentarLE<std::uint32_t>(s, 40);
    AcrescentarLE<std::uint32_t>(s, static_cast<std::uint32_t>(b.Largura()));
    AcrescentarLE<std::uint32_t>(s, static_cast<std::uint32_t>(b.Altura()));  // positive: bottom row first
    AcrescentarLE<std::uint16_t>(s, 1);
    AcrescentarLE<std::uint16_t>(s, 24);
    AcrescentarLE<std::uint32_t>(s, 0);  // no compression
    AcrescentarLE<std::uint32_t>(s, dados);
    AcrescentarLE<std::uint32_t>(s, 2835);  // 72 dpi
    AcrescentarLE<std::uint32_t>(s, 2835);
    AcrescentarLE<std::uint32_t>(s, 0);
    AcrescentarLE<std::uint32_t>(s, 0);
    for (int y = b.Altura() - 1; y >= 0; --y) {
        for (int x = 0; x < b.Largura(); ++x) {
            TCor c = b.Pixel(x, y);
            s.push_back(static_cast<char>((c >> 16) & 0xFF));  // blue
            s.push_back(static_cast<char>((c >> 8) & 0xFF));   // green
            s.push_back(static_cast<char>(c & 0xFF));          // red
        }
        s.append(linha - static_cast<std::uint32_t>(b.Largura()) * 3, '\0');
    }
    GravarArquivoInteiro(path, s);
}

TBitmapRGB LerBMP(const std::string& path) {
    std::string s;
    try {
        s = LerArquivoInteiro(path);
    } catch (const EArquivoGrandeDemais&) {
        throw;
    } catch (const EVandoro&) {
        throw EVandoro("O arquivo " + path + " não existe.");
    }
    const std::string invalido = "Erro. O arquivo " + path + " não é um bitmap válido.";
    if (s.size() < 54 || s[0] != 'B' || s[1] != 'M') throw EVandoro(invalido);
    const std::uint32_t inicio = LerLE<std::uint32_t>(s.data() + 10);
    const std::uint32_t cab = LerLE<std::uint32_t>(s.data() + 14);
    if (cab < 40 || 14ull + cab > s.size()) throw EVandoro(invalido);
    const long long largura = LerLE<std::int32_t>(s.data() + 18);
    const long long alturaBruta = LerLE<std::int32_t>(s.data() + 22);
    const bool deCimaParaBaixo = alturaBruta < 0;
    const long long altura = std::llabs(alturaBruta);
    if (LerLE<std::uint16_t>(s.data() + 26) != 1) throw EVandoro(invalido);
    if (LerLE<std::uint16_t>(s.data() + 28) != 24 || LerLE<std::uint32_t>(s.data() + 30) != 0)
        throw EVandoro("Erro. O arquivo " + path +
                       " não é um bitmap de 24 bits sem compressão.");
    if (largura <= 0 || altura <= 0 || largura > kMaxLado || altura > kMaxLado ||
        largura * altura > kMaxPixels)
        throw EVandoro(invalido);
    const unsigned long long linha = (static_cast<unsigned long long>(largura) * 3 + 3) & ~3ull;
    if (inicio < 14ull + cab || inicio + linha * static_cast<unsigned long long>(altura) > s.size())
        throw EVandoro(invalido);
    TBitmapRGB b(static_cast<int>(largura), static_cast<int>(altura));
    for (long long r = 0; r < altura; ++r) {
        const int y = static_cast<int>(deCimaParaBaixo ? r : altura - 1 - r);
        size_t p = inicio + static_cast<size_t>(r * linha);
        for (int x = 0; x < largura; ++x, p += 3) {
            const TCor azul = static_cast<unsigned char>(s[p]);
            const TCor verde = static_cast<unsigned char>(s[p + 1]);
            const TCor vermelho = static_cast<unsigned char>(s[p + 2]);
            b.SetPixel(x, y, (azul << 16) | (verde << 8) | vermelho);
        }
    }
    return b;
}

// ---- polygon fill ----

void PreencherPoligono(TBitmapRGB& b, const std::vector<TAnel>& aneis, TCor cor) {
    struct Aresta {
        double x0, y0, x1, y1;
    };
    std::vector<Aresta> arestas;
    double ymin = HUGE_VAL, ymax = -HUGE_VAL;
    for (const auto& anel : aneis) {
        const size_t n = anel.size();
        if (n < 3) continue;
        for (size_t i = 0; i < n; ++i) {
            const TPontoMapa& a = anel[i];
            const TPontoMapa& c = anel[(i + 1) % n];  // closes the ring whether or not it repeats
            if (!std::isfinite(a.X) || !std::isfinite(a.Y) || !std::isfinite(c.X) || !std::isfinite(c.Y))
                continue;
            if (a.Y == c.Y) continue;  // a horizontal edge never crosses a scan line once
            arestas.push_back({a.X, a.Y, c.X, c.Y});
            ymin = std::min({ymin, a.Y, c.Y});
            ymax = std::max({ymax, a.Y, c.Y});
        }
    }
    if (arestas.empty()) return;
    const double hMax = b.Altura() - 1;
    const int yIni = static_cast<int>(std::clamp(std::ceil(ymin), 0.0, hMax + 1));
    const int yFim = static_cast<int>(std::clamp(std::floor(ymax), -1.0, hMax));
    std::vector<double> xs;
    for (int y = yIni; y <= yFim; ++y) {
        xs.clear();
        for (const auto& e : arestas) {
            // Half-open in y, so a vertex shared by two edges is counted once.
            const bool cruza = (e.y0 <= y && y < e.y1) || (e.y1 <= y && y < e.y0);
            if (cruza) xs.push_back(e.x0 + (y - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            // Pixels whose position x satisfies xs[i] <= x < xs[i+1].
            const double w = b.Largura();
            const double a = std::clamp(std::ceil(xs[i]), 0.0, w);
            const double c = std::clamp(std::ceil(xs[i + 1]), 0.0, w);
            for (int x = static_cast<int>(a); x < static_cast<int>(c); ++x) b.SetPixel(x, y, cor);
        }
    }
}

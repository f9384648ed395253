#pragma once
// State maps of the rainfall consultation: where each state bitmap sits on the globe, the
// flat colours of the map of Brazil, a plain 24-bit BMP file and an even-odd polygon filler
// to draw the pictures with.
#include <cstdint>
#include <string>
#include <vector>

// Colours in Windows order 0x00BBGGRR (red in the low byte): 0xFF0000 is pure blue.
using TCor = std::uint32_t;
constexpr TCor CorDentroEstado = 0xFF0000;  // inside pixels of a state bitmap

// Extent in degrees south and west (positive), size and offset in pixels.
struct TGeorrefMapa {
    int IndEstado;  // -1 for the map of Brazil
    const char* Sigla;
    double LonE, LonW, LatN, LatS;
    int Altura, Largura, OffX, OffY;
};

// Every state bitmap (and the map of Brazil) is this size; the table's extents fit in it.
constexpr int LarguraBitmapEstado = 450;
constexpr int AlturaBitmapEstado = 450;

// The seven states that have a bitmap, in state-index order.
const std::vector<TGeorrefMapa>& MapasEstados();
// nullptr when the state has no bitmap.
const TGeorrefMapa* MapaDoEstado(int indEstado);
// File name of a state's bitmap in the database folder: code + ".bmp".
std::string ArquivoMapaEstado(const TGeorrefMapa& m);

// The map of Brazil: 12 pixels per degree; a click goes by colour, not by coordinates.
const TGeorrefMapa& MapaBrasil();
constexpr int LarguraBitmapBrasil = 520;
constexpr int AlturaBitmapBrasil = 484;
constexpr const char* ArquivoMapaBrasil = "Brasil.bmp";

struct TPontoMapa {
    double X = 0, Y = 0;
};

// Degrees (south and west, positive) to the pixel: rounded, and unrounded for drawing.
void CoordParaPixel(const TGeorrefMapa& m, double lat, double lon, int& x, int& y);
TPontoMapa CoordParaPonto(const TGeorrefMapa& m, double lat, double lon);
void PixelParaCoord(const TGeorrefMapa& m, int x, int y, double& lat, double& lon);

// Map of Brazil: state index of a flat colour, -1 for any other colour.
int EstadoDaCor(TCor cor);
// Colour of a state on the map of Brazil; false for the states chosen from the list only.
bool CorDoEstado(int indEstado, TCor& cor);
// Colours over which the pointer stays the normal arrow (background, borders, sea).
bool CorComSetaNormal(TCor cor);

// A picture held as colours, row 0 at the top.
class TBitmapRGB {
public:
    TBitmapRGB() = default;
    TBitmapRGB(int largura, int altura, TCor fundo = 0xFFFFFF);
    int Largura() const { return largura_; }
    int Altura() const { return altura_; }
    bool Dentro(int x, int y) const { return x >= 0 && y >= 0 && x < largura_ && y < altura_; }
    TCor Pixel(int x, int y) const;          // throws outside the picture
    void SetPixel(int x, int y, TCor cor);   // ignores points outside the picture
    void Linha(int x0, int y0, int x1, int y1, TCor cor);
    void CirculoCheio(int cx, int cy, int raio, TCor cor);

private:
    int largura_ = 0;
    int altura_ = 0;
    std::vector<TCor> cor_;
};

// 24-bit uncompressed Windows bitmap. The reader accepts bottom-up and top-down files and
// rejects anything else with a Portuguese message.
void GravarBMP(const TBitmapRGB& b, const std::string& path);
TBitmapRGB LerBMP(const std::string& path);

// Fills, even-odd over all the rings together (outer rings and holes alike), every pixel
// whose integer position lies inside. Rings are in pixel units and need not be closed.
using TAnel = std::vector<TPontoMapa>;
void PreencherPoligono(TBitmapRGB& b, const std::vector<TAnel>& aneis, TCor cor);

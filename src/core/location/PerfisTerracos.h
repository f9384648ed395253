#pragma once
// The terraces' profiles the location report draws: the ground along each exported line
// against its design (the level, or the channel's grade), with the stretches the smoothing
// left off level and the fill or cut each asks for; and how the report lays them on pages.
#include <string>
#include <vector>

#include "core/location/Estacas.h"
#include "core/location/LocNivel.h"

// What the profile charts show, as the report says it above them.
inline constexpr const char* kLegendaPerfis =
    "Terreno ao longo da linha locada (linha cheia) e cota de projeto do canal (tracejada), em função da "
    "distância ao início da linha; em vermelho, os trechos fora de nível, com o aterro ou o corte que pedem.";

struct TPerfilTerraco {
    int terraco = 0;
    // Along the line every 2 m; a terrace in several pieces runs on across them,
    // a point with semTerreno between two pieces.
    std::vector<TEstaca> pontos;
    std::vector<TTravessiaNivel> travessias;
    bool gradiente = false;
};

// The fill or cut labels over a profile chart, in the chart's units: each is wanted centred over
// its stretch and inside [inicio, fim], 'folga' clear of any other on its row. From left to
// right, a label takes the first row, from the top, with room for it over its stretch's centre,
// as near as it can to where it is wanted; when 'maxFilas' rows are taken, the room nearest to
// that which still comes within a label's width of the stretch's centre. A label with no room
// that near is left out (fila -1): the report lists every stretch in its text.
struct TRotuloPerfil {
    double centro = 0, largura = 0;
};
struct TLugarRotulo {
    double esquerda = 0;
    int fila = 0;  // 0 = the top row; -1 = left out
};
std::vector<TLugarRotulo> DisporRotulos(const std::vector<TRotuloPerfil>& rotulos, double inicio, double fim,
                                        double folga, int maxFilas);

// The report's pictures of a location: the plan on a page of its own and the profiles, so
// many to a page, each page a picture. Sizes in the report's units (1/96 inch): the body of an
// A4 page inside the report's margins, less a heading.
struct TFigurasLocacao {
    static constexpr int kPerfisPorPagina = 5;
    static constexpr int kLargura = 540, kAltura = 780;
    static constexpr int kAlturaPerfis = 740;  // the first shares its page with the heading and legend
    static constexpr const char* kMapa = "mapa.png";

    std::vector<TPerfilTerraco> perfis;  // the table's order

    int PaginasPerfis() const { return int((perfis.size() + kPerfisPorPagina - 1) / kPerfisPorPagina); }
    // "perfis-N.png", N from 1.
    static std::string NomePerfis(int pagina);
    // The profiles on page N (from 1).
    std::vector<const TPerfilTerraco*> PerfisDaPagina(int pagina) const;
};

// The profiles of the last run of 'loc' or, before any, of the plan its files hold (relative
// to the project's folder). Nothing that cannot be read stops the report: a plan whose lines
// or model cannot be read has no profiles, and then no plan's page either.
TFigurasLocacao FigurasDaLocacao(const TLocacaoNivel& loc, const std::string& projeto = {});

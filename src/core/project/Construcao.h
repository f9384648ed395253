#pragma once
// What building the terraces takes, as the user keeps it in the settings file: the width each
// terrace type moves, the soil's swell factor, and the machines with their output and hourly
// cost. Nothing here is invented: a machine whose output or price no public source gives has
// none until the user enters it, and the figures that need it say so.
#include <string>
#include <vector>

#include "core/model/SecaoConstruida.h"

class IniFile;

// How a machine's output is measured: soil moved, or terrace built.
enum class TUnidadeRendimento { MetrosCubicos, Metros };

struct TMaquina {
    std::string nome;
    double rendimento = 0;  // per hour, in 'unidade' (0 unknown)
    double custoHora = 0;   // R$ per hour (0 unknown)
    TUnidadeRendimento unidade = TUnidadeRendimento::MetrosCubicos;
    bool operator==(const TMaquina&) const = default;
};
// "m³/h" or "m/h", as the settings file and the settings window write them.
std::string TextoUnidadeRendimento(TUnidadeRendimento u);

struct TConfigConstrucao {
    TLargurasTerraco larguras;
    double empolamento = 1;  // loose m³ per m³ cut
    // The machines the conservation agencies list for terrace building (the CODASP sections
    // of the Sm table name them), with no output or price of their own.
    std::vector<TMaquina> maquinas = {{"Trator agrícola com terraceador de discos", 0, 0},
                                      {"Motoniveladora", 0, 0},
                                      {"Trator de esteiras", 0, 0}};
    int maquina = 0;  // the one a new design takes

    // The machine a design names, by its name; a name the list no longer holds (or "") gives
    // the default machine.
    int IndiceMaquina(const std::string& nome) const;
    // The settings as a design sees them: its machine in place of the default.
    TConfigConstrucao ParaODesign(const std::string& nomeMaquina) const;
};

// The settings file keeps at most this many machines.
inline constexpr int kMaxMaquinas = 20;
inline constexpr const char* kMaquinasDemais = "O programa guarda no máximo 20 máquinas.";

// The first value the settings window must refuse, and where it is, so the window can point
// at it. A design finds its machine by name, so names must be given and distinct.
struct TProblemaConstrucao {
    enum class TCampo { Nenhum, Largura, Empolamento, Maquinas, Nome, Rendimento, Custo, Padrao };
    std::string texto;  // "" when all is well
    TCampo campo = TCampo::Nenhum;
    int indice = -1;  // the width (narrow, medium, broad, murundum) or the machine
};
TProblemaConstrucao ProblemaConstrucao(const TConfigConstrucao& c);

// Section "CONSTRUCAO" of the settings file. Missing keys keep the defaults; a value out of
// range (a negative width, output or price, a swell factor not above 0, a machine index
// outside the list) keeps its default too.
void LerConstrucao(const IniFile& ini, TConfigConstrucao& c);
void GravarConstrucao(IniFile& ini, const TConfigConstrucao& c);

// The figures of one metre of terrace and of a machine, as the results show them: a value, or
// what the user must enter first.
inline constexpr const char* kInformeRendimento = "informe o rendimento da máquina nas configurações";
inline constexpr const char* kInformeCusto = "informe o custo horário da máquina nas configurações";
inline constexpr const char* kInformeLargura = "informe a largura do terraço nas configurações";

// A design's terraces as built: the section of each type the criterion's text names, weighted by
// its share, per metre of terrace.
struct TConstrucaoTerraco {
    std::string tipo;                 // the criterion's text
    TComposicaoTerraco composicao;
    std::vector<TDadosSecao> dados;        // one per part of the composition
    std::vector<TSecaoConstruida> secoes;  // one per part of the composition
    double areaCorte = 0;             // m² per m, the soil moved, weighted
    std::string problema;             // the first part's reason it cannot be built ("" none)
    bool larguraDesconhecida = false;  // a part's width is not in the settings
};
// 'base' holds the section's data (height, slopes, channel, spacing); its type and width are
// taken from each part of 'tipo'. A text that names no type is costed as broad base.
TConstrucaoTerraco ConstrucaoDoTerraco(const std::string& tipo, TDadosSecao base, const TConfigConstrucao& c);
// How a mixed row is costed: "Custeado como 2/3 de base larga e 1/3 de murundum."; "" for one type.
std::string TextoComposicao(const TComposicaoTerraco& c);

// Hours and cost of 'volume' m³ of soil over 'comprimento' m of terrace with the settings'
// current machine (c.maquina); -1 when it has no output (or price), or there is none.
struct TServicoMaquina {
    double horas = -1, custo = -1;  // -1 unknown
    std::string TextoHoras(int casas) const;  // the value, or kInformeRendimento
    std::string TextoCusto(int casas) const;  // the value, or kInformeCusto / kInformeRendimento
};
TServicoMaquina ServicoMaquina(double volume, double comprimento, const TConfigConstrucao& c);

// A table cell or a short field stands for what the settings lack with kSemValor; one note,
// NotaConstrucao, says once what to enter ("" when hours and cost are known).
inline constexpr const char* kSemValor = "—";
std::string NotaConstrucao(const TServicoMaquina& s);
// A figure as a cell or a short field shows it: 'casas' decimals, the thousands grouped unless
// 'milhares' is false, kSemValor when unknown (negative).
std::string CelulaConstrucao(double v, int casas, bool milhares = true);

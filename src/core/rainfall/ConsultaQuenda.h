#pragma once
// What the rainfall consultation window shows and how it answers the user, without widgets:
// the state, its station and locality lists, the chosen place, the coordinate texts, the
// four parameter texts, the source, the crosshair on the state map and what is enabled.
// The window draws this state and hands the user's actions to it.
#include <functional>
#include <string>
#include <vector>

#include "core/rainfall/BDPrecipitacao.h"
#include "core/rainfall/Estado.h"
#include "core/rainfall/MapaEstado.h"
#include "core/rainfall/Quenda21.h"

enum class TPaginaConsulta { Brasil, Estado };
enum class TPonteiroMapa { Seta, Mao, Cruz };

// One row of a list: the name shown and the record it stands for in the state's array.
struct TLinhaConsulta {
    std::string Nome;
    int Indice = -1;
};

// A label on the map. With AncoraDireita, X is its right edge, else its left edge.
struct TRotuloMapa {
    std::string Texto;
    int X = 0, Y = 0;
    bool AncoraDireita = false;
    bool Visivel = false;
};

struct TMiraMapa {
    bool Visivel = false;
    int X = 0, Y = 0;
};

extern const char* const kLegendaConsulta;       // "Quenda 2.1"
extern const char* const kFonteSemCitacao;       // "Autor": the source button before a source
extern const char* const kLocalNaoDefinido;      // "Não definida"
extern const char* const kCoordenadaZero;        // 00°00'00"
extern const char* const kAvisoGoias;            // "Dados obtidos por desagragação ..."
extern const char* const kCitacaoAvisoGoias;     // the citation that shows it
extern const char* const kTextoSobreQuenda;      // the information box of the first activation
extern const char* const kMsgSemEquacao;         // "&Fechar" with a parameter box empty

// Intensities (mm/h) of an equation over the usual return periods and durations.
struct TTabelaIntensidades {
    std::vector<double> Tr;       // years
    std::vector<double> Duracao;  // min
    std::vector<std::vector<double>> I;  // I[tr][duração]
};
TTabelaIntensidades TabelaIntensidades(double K, double a, double b, double c);

// A typed coordinate DD°MM'SS" with every digit filled and minutes and seconds below 60.
bool LerCoordenadaDigitada(const std::string& texto, double& graus);

enum class TEixoCoordenada { Latitude, Longitude };
// A coordinate the user typed, checked against the map it is typed over (a state's map, or
// the map of Brazil when the state has none). Raises EVandoro "Latitude X inválida: ..."
// when the text is not GG°MM'SS" with minutes and seconds below 60, and "Latitude X não
// definida." when the map does not reach it. Degrees south or west, positive.
double ConferirCoordenada(TEixoCoordenada eixo, const std::string& texto, const TGeorrefMapa& mapa);

// The state a point lies in: the state maps first (the finer pictures), then the colours of
// the map of Brazil; -1 when the pictures do not tell (a border, the sea, a state chosen from
// the list only, pictures missing). pastaBanco: the database folder, '/'-terminated.
int EstadoDoPonto(const std::string& pastaBanco, double lat, double lon);
// A typed point and the chosen state: with a state map the point must fall on the state's
// blue; without one, the map of Brazil refuses it only where its colour is another state's
// (a border or the sea lets it through; a state chosen from the list only has no colour and
// takes any point). Raises EVandoro "O ponto X, Y fica fora de <estado>."
// naming the state it lies in when the maps tell.
void ConferirPontoNoEstado(const std::string& pastaBanco, int estado, const std::string& lat, const std::string& lon);

// Rows of records sorted by their search key, each keeping its record index.
std::vector<TLinhaConsulta> LinhasPorNome(const std::vector<StationRecord>& registros);
std::vector<TLinhaConsulta> LinhasPorNome(const std::vector<LocalityRecord>& registros);

class TConsultaQuenda : public IJanelaConsulta {
public:
    // pastaBanco: the database folder. Nothing is read before Carregar.
    explicit TConsultaQuenda(std::string pastaBanco);
    // Reads the station file, once per window (EVandoro when missing or damaged).
    void Carregar();

    // ---- what the component passes and reads back
    void SetHelpContext(int topico) override { helpContext_ = topico; }
    void SetIndEstado(int ind) override { passado_.estado = ind; }
    void SetIndEstacao(int ind) override { passado_.estacao = ind; }
    void SetIndLocalidade(int ind) override { passado_.localidade = ind; }
    void SetShowAbout(bool mostrar) override { showAbout_ = mostrar; }
    void SetK(double v) override { passado_.k = v; }
    void SetA(double v) override { passado_.a = v; }
    void SetB(double v) override { passado_.b = v; }
    void SetC(double v) override { passado_.c = v; }
    // Before activation the text is only taken over; with a state map shown it is checked
    // ("Latitude " + texto + " não definida.", previous coordinates kept).
    void SetLatitude(const std::string& texto) override;
    void SetLongitude(const std::string& texto) override;
    void SetTextosParametros(const std::string& k, const std::string& a, const std::string& b,
                             const std::string& c) override;
    // Loads the stations, then runs 'AoExecutar' (a test's script of the window's life).
    bool ExecutarModal() override;
    std::function<bool()> AoExecutar;

    int IndEstado() const override { return v_.temEstado ? v_.estado.Index() : passado_.estado; }
    std::string StrEstado() const override { return v_.temEstado ? v_.estado.StateName() : std::string(); }
    std::string TextoK() const override { return v_.k; }
    std::string TextoA() const override { return v_.a; }
    std::string TextoB() const override { return v_.b; }
    std::string TextoC() const override { return v_.c; }
    std::string Autoria() const override { return v_.fonte == kFonteSemCitacao ? std::string() : v_.fonte; }
    std::string Latitude() const override { return v_.latitude; }
    std::string Longitude() const override { return v_.longitude; }
    int IndEstacao() const override { return v_.indEstacao; }
    int IndLocalidade() const override { return v_.indLocalidade; }
    std::string StrCidade() const override { return v_.cidade; }

    // ---- the user's actions
    // First activation: the passed state, then its station, locality or point. Errors are
    // raised after as much as could be shown.
    void Ativar();
    bool Ativado() const { return ativado_; }
    // List "&Estados :" or a click on the map of Brazil. A missing state bitmap raises
    // "Erro. Não foi possível localizar o arquivo BMP do estado selecinado (" + nome + ")."
    // with everything as before.
    void MudarEstado(int indice, bool ativando = false);
    // A click on the map of Brazil: the state of the colour, or the current one again.
    void CliqueBrasil(TCor cor);
    // Record indices; outside the state's arrays nothing happens.
    void EscolherEstacao(int indice);
    void EscolherLocalidade(int indice);
    // Mouse release on the state map; false (nothing changed) outside the blue.
    bool PontoNoMapa(int x, int y);
    // "&Calcular" with the texts typed in the coordinate boxes, for any state: the equation
    // interpolated over the whole database. A point outside the chosen state is refused
    // (ConferirPontoNoEstado), and the choice before it stays.
    void Calcular(const std::string& latitude, const std::string& longitude);
    // "&Fechar": kMsgSemEquacao when a parameter box does not hold a number.
    void Fechar() const;

    // ---- what is shown
    TPaginaConsulta Pagina() const { return v_.pagina; }
    const TGeorrefMapa* Mapa() const { return v_.mapa; }
    const TBitmapRGB& BitmapEstado() const { return v_.bitmap; }
    std::string Legenda() const { return v_.legenda; }
    // Rows narrowed by the search text (case and accents ignored).
    std::vector<TLinhaConsulta> LinhasEstacoes() const { return Filtrar(v_.estacoes); }
    std::vector<TLinhaConsulta> LinhasLocalidades() const { return Filtrar(v_.localidades); }
    bool TemLocalidades() const { return !v_.localidades.empty(); }
    void SetFiltro(const std::string& texto) { filtro_ = texto; }
    const std::string& Filtro() const { return filtro_; }
    std::string CaixaLatitude() const { return v_.caixaLat; }
    std::string CaixaLongitude() const { return v_.caixaLon; }
    bool CoordenadasHabilitadas() const { return v_.coordenadasHabilitadas; }
    std::string Fonte() const { return v_.fonte; }
    bool FonteHabilitada() const { return v_.fonteHabilitada; }
    bool AvisoGoiasVisivel() const { return v_.avisoGoias; }
    const TMiraMapa& Mira() const { return v_.mira; }
    const TRotuloMapa& RotuloLatitude() const { return v_.rotLat; }
    const TRotuloMapa& RotuloLongitude() const { return v_.rotLon; }
    const TRotuloMapa& RotuloNome() const { return v_.rotNome; }
    int HelpContext() const { return helpContext_; }
    bool ShowAbout() const { return showAbout_; }
    // Pointer over a pixel of the page shown.
    TPonteiroMapa PonteiroBrasil(TCor cor) const;
    TPonteiroMapa PonteiroEstado(int x, int y) const;
    // The equation of the four boxes; false while one of them does not hold a number.
    bool Intensidades(TTabelaIntensidades& t) const;
    // The state bitmap with a black dot at the crosshair; false without a state map.
    bool MapaRelatorio(TBitmapRGB& b) const;
    const TBDPrecipitacao& Banco() const { return bd_; }
    const std::string& PastaBanco() const { return pasta_; }  // '/'-terminated

private:
    struct TPassado {
        int estado = -1, estacao = -1, localidade = -1;
        double k = 0, a = 0, b = 0, c = 0;
        std::string lat, lon;
    };
    // Everything a failed change of state puts back.
    struct TVista {
        TEstado estado;
        bool temEstado = false;
        const TGeorrefMapa* mapa = nullptr;
        TBitmapRGB bitmap;
        TPaginaConsulta pagina = TPaginaConsulta::Brasil;
        std::vector<TLinhaConsulta> estacoes, localidades;
        int indEstacao = -1, indLocalidade = -1;
        std::string cidade;
        std::string latitude, longitude;  // taken over by the setters
        std::string caixaLat, caixaLon;   // the coordinate boxes
        bool coordenadasHabilitadas = false;
        std::string k, a, b, c;
        std::string fonte = kFonteSemCitacao;
        bool fonteHabilitada = true;
        bool avisoGoias = false;
        TMiraMapa mira;
        TRotuloMapa rotLat, rotLon, rotNome;
        std::string legenda = kLegendaConsulta;
    };

    std::vector<TLinhaConsulta> Filtrar(const std::vector<TLinhaConsulta>& linhas) const;
    void LimparParametros();
    // The place of a record: texts taken over, crosshair where the map shows it.
    void MostrarLugar(const std::string& lat, const std::string& lon);
    void MostrarPonto(const std::string& lat, const std::string& lon, int x, int y);
    void PosicionarMira(int x, int y);
    void EsconderMira();
    bool DentroDoEstado(int x, int y) const;
    // The map typed coordinates are checked against: the state's, or that of Brazil.
    const TGeorrefMapa& MapaDigitacao() const;
    void MostrarInterpolada(const StationRecord& r, const char* formatoK, const char* formatoB);
    void SetCoordenada(TEixoCoordenada eixo, const std::string& texto, std::string& passado, std::string& campo);

    std::string pasta_;
    TBDPrecipitacao bd_;
    TPassado passado_;
    TVista v_;
    int helpContext_ = 0;
    bool showAbout_ = false;
    bool ativado_ = false;
    bool carregado_ = false;
    std::string filtro_;
};

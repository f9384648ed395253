#include "core/rainfall/ConsultaQuenda.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/model/Precipitacao.h"
#include "core/rainfall/ConsultaLocal.h"

namespace fs = std::filesystem;

const char* const kLegendaConsulta = "Quenda 2.1";
const char* const kFonteSemCitacao = "Autor";
const char* const kLocalNaoDefinido = "Não definida";
const char* const kCoordenadaZero = "00°00'00\"";
const char* const kAvisoGoias =
    "Dados obtidos por desagragação da chuva de um dia em chuvas de menor duração, segundo metodologia "
    "proposta pelo DAEE-CETESB.";
const char* const kCitacaoAvisoGoias = "Oliveira et al. (2005)";
const char* const kTextoSobreQuenda =
    "Quenda 2.1 - Equações de intensidade, duração e frequência da precipitação.\n\n"
    "Escolha o estado na lista ou no mapa do Brasil; depois uma estação (equação conhecida), uma "
    "localidade (equação interpolada) ou um ponto do mapa do estado, clicado ou digitado em "
    "latitude e longitude. \"Fechar\" leva os parâmetros K, a, b e c ao projeto.";
const char* const kMsgSemEquacao =
    "Os parâmetros K, a, b e c da equação não estão definidos. Escolha uma estação, uma localidade ou "
    "um ponto dentro do mapa do estado.";

namespace {

// States chosen from the list only, without a colour on the map of Brazil nor a state map.
bool SemCor(int i) { return i == 2 || i == 6 || i == 22 || i == 25; }

std::string SemBrancosFinais(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

template <class R>
std::vector<TLinhaConsulta> Ordenar(const std::vector<R>& v) {
    std::vector<TLinhaConsulta> r;
    r.reserve(v.size());
    for (std::size_t i : OrdemPorNome(v)) r.push_back({SemBrancosFinais(v[i].Name), static_cast<int>(i)});
    return r;
}

bool DoisDigitos(const std::string& s, size_t p, int& v) {
    if (s[p] < '0' || s[p] > '9' || s[p + 1] < '0' || s[p + 1] > '9') return false;
    v = (s[p] - '0') * 10 + (s[p + 1] - '0');
    return true;
}

}  // namespace

std::vector<TLinhaConsulta> LinhasPorNome(const std::vector<StationRecord>& r) { return Ordenar(r); }
std::vector<TLinhaConsulta> LinhasPorNome(const std::vector<LocalityRecord>& r) { return Ordenar(r); }

bool LerCoordenadaDigitada(const std::string& t, double& graus) {
    // "DD°MM'SS\"": the degree sign takes two bytes in UTF-8.
    if (t.size() != 10 || t.compare(2, 2, "°") != 0 || t[6] != '\'' || t[9] != '"') return false;
    int g, m, s;
    if (!DoisDigitos(t, 0, g) || !DoisDigitos(t, 4, m) || !DoisDigitos(t, 7, s) || m >= 60 || s >= 60)
        return false;
    graus = g + m / 60.0 + s / 3600.0;
    return true;
}

double ConferirCoordenada(TEixoCoordenada eixo, const std::string& texto, const TGeorrefMapa& mapa) {
    const std::string nome = eixo == TEixoCoordenada::Latitude ? "Latitude " : "Longitude ";
    double g = 0;
    try {
        g = CoordenadaParaGraus(texto);
    } catch (const EConversao&) {
        throw EVandoro(nome + texto + " inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59.");
    }
    const bool fora = eixo == TEixoCoordenada::Latitude ? (g < mapa.LatN || g > mapa.LatS)
                                                          : (g < mapa.LonE || g > mapa.LonW);
    if (fora) throw EVandoro(nome + texto + " não definida.");
    return g;
}

namespace {

int EstadoNoBrasil(const TBitmapRGB& brasil, double lat, double lon) {
    int x = 0, y = 0;
    CoordParaPixel(MapaBrasil(), lat, lon, x, y);
    return brasil.Dentro(x, y) ? EstadoDaCor(brasil.Pixel(x, y)) : -1;
}

TBitmapRGB LerSeExistir(const std::string& arquivo) {
    std::error_code ec;
    if (!fs::is_regular_file(arquivo, ec)) return {};
    try {
        return LerBMP(arquivo);
    } catch (const std::exception&) {
        return {};  // a damaged picture tells nothing
    }
}

}  // namespace

int EstadoDoPonto(const std::string& pasta, double lat, double lon) {
    for (const TGeorrefMapa& m : MapasEstados()) {
        if (lat < m.LatN || lat > m.LatS || lon < m.LonE || lon > m.LonW) continue;
        const TBitmapRGB b = LerSeExistir(pasta + ArquivoMapaEstado(m));
        int x = 0, y = 0;
        CoordParaPixel(m, lat, lon, x, y);
        if (b.Dentro(x, y) && b.Pixel(x, y) == CorDentroEstado) return m.IndEstado;
    }
    return EstadoNoBrasil(LerSeExistir(pasta + "Mapas/" + ArquivoMapaBrasil), lat, lon);
}

void ConferirPontoNoEstado(const std::string& pasta, int estado, const std::string& lat, const std::string& lon) {
    const double phi = CoordenadaParaGraus(lat), lambda = CoordenadaParaGraus(lon);
    bool fora = false;
    const TBitmapRGB* usado = nullptr;
    TBitmapRGB b;
    if (const TGeorrefMapa* m = MapaDoEstado(estado)) {
        b = LerSeExistir(pasta + ArquivoMapaEstado(*m));
        if (b.Largura() > 0) {
            int x = 0, y = 0;
            CoordParaPixel(*m, phi, lambda, x, y);
            fora = !b.Dentro(x, y) || b.Pixel(x, y) != CorDentroEstado;
            usado = &b;
        }
    }
    int noPonto = -1;
    TCor cor = 0;
    if (!usado && !CorDoEstado(estado, cor)) {
        // Drawn inside its neighbours on the map of Brazil: nothing tells its border.
        return;
    } else if (!usado) {
        noPonto = EstadoNoBrasil(LerSeExistir(pasta + "Mapas/" + ArquivoMapaBrasil), phi, lambda);
        fora = noPonto >= 0 && noPonto != estado;
    } else if (fora) {
        noPonto = EstadoDoPonto(pasta, phi, lambda);
    }
    if (!fora) return;
    std::string m = "O ponto " + lat + ", " + lon + " fica fora de " + TEstado::Nome(estado);
    if (noPonto >= 0 && noPonto != estado) m += " (fica em " + TEstado::Nome(noPonto) + ")";
    throw EVandoro(m + ".");
}

TTabelaIntensidades TabelaIntensidades(double K, double a, double b, double c) {
    TTabelaIntensidades t;
    t.Tr = {2, 5, 10, 25, 50, 100};
    t.Duracao = {5, 10, 15, 30, 60, 120, 360, 720, 1440};
    TPrecipitacaoExponencialNegativa chuva;
    chuva.SetK(K);
    chuva.SetA(a);
    chuva.SetB(b);
    chuva.SetC(c);
    for (double tr : t.Tr) {
        chuva.SetTr(tr);
        std::vector<double> linha;
        // Mean intensity over the duration, as the command line gives it.
        for (double d : t.Duracao) linha.push_back(chuva.CumulativeDepth(d) * 60.0 / d);
        t.I.push_back(std::move(linha));
    }
    return t;
}

// ---------------------------------------------------------------- TConsultaQuenda

TConsultaQuenda::TConsultaQuenda(std::string pastaBanco)
    : pasta_(pastaBanco.empty() || pastaBanco.back() == '/' ? pastaBanco : pastaBanco + "/"), bd_(pasta_) {}

void TConsultaQuenda::Carregar() {
    if (carregado_) return;
    bd_.LoadStations();
    carregado_ = true;
}

bool TConsultaQuenda::ExecutarModal() {
    Carregar();
    return AoExecutar ? AoExecutar() : false;
}

void TConsultaQuenda::SetTextosParametros(const std::string& k, const std::string& a, const std::string& b,
                                          const std::string& c) {
    v_.k = k, v_.a = a, v_.b = b, v_.c = c;
}

const TGeorrefMapa& TConsultaQuenda::MapaDigitacao() const { return v_.mapa ? *v_.mapa : MapaBrasil(); }

void TConsultaQuenda::SetLatitude(const std::string& texto) {
    SetCoordenada(TEixoCoordenada::Latitude, texto, passado_.lat, v_.latitude);
}

void TConsultaQuenda::SetLongitude(const std::string& texto) {
    SetCoordenada(TEixoCoordenada::Longitude, texto, passado_.lon, v_.longitude);
}

// Before the query opens, a text is only kept for its opening; after, it is checked first.
void TConsultaQuenda::SetCoordenada(TEixoCoordenada eixo, const std::string& texto, std::string& passado,
                                    std::string& campo) {
    if (!ativado_) {
        passado = texto;
        return;
    }
    ConferirCoordenada(eixo, texto, MapaDigitacao());
    campo = texto;
}

std::vector<TLinhaConsulta> TConsultaQuenda::Filtrar(const std::vector<TLinhaConsulta>& linhas) const {
    const std::string f = ChaveDeBusca(filtro_);
    if (f.empty()) return linhas;
    std::vector<TLinhaConsulta> r;
    for (const auto& l : linhas)
        if (ChaveDeBusca(l.Nome).find(f) != std::string::npos) r.push_back(l);
    return r;
}

void TConsultaQuenda::LimparParametros() { v_.k.clear(), v_.a.clear(), v_.b.clear(), v_.c.clear(); }

void TConsultaQuenda::EsconderMira() {
    v_.mira.Visivel = false;
    v_.rotLat.Visivel = v_.rotLon.Visivel = v_.rotNome.Visivel = false;
}

bool TConsultaQuenda::DentroDoEstado(int x, int y) const {
    return v_.mapa && v_.bitmap.Dentro(x, y) && v_.bitmap.Pixel(x, y) == CorDentroEstado;
}

void TConsultaQuenda::PosicionarMira(int x, int y) {
    v_.mira = {true, x, y};
    // Labels stay clear of the lines and inside the 450-pixel map.
    v_.rotLon = {v_.longitude, x > 200 ? x - 3 : x + 3, y > 100 ? 15 : 420, x > 200, true};
    v_.rotLat = {v_.latitude, x > 100 ? 10 : 385, y > 30 ? y - 20 : y + 10, false, true};
    v_.rotNome.Visivel = false;
}

void TConsultaQuenda::MostrarLugar(const std::string& lat, const std::string& lon) {
    v_.latitude = lat;
    v_.longitude = lon;
    if (v_.mapa) {
        v_.caixaLat = lat;
        v_.caixaLon = lon;
        EsconderMira();
        try {
            int x = 0, y = 0;
            CoordParaPixel(*v_.mapa, CoordenadaParaGraus(lat), CoordenadaParaGraus(lon), x, y);
            if (DentroDoEstado(x, y)) PosicionarMira(x, y);
        } catch (const EConversao&) {
            // A place whose texts cannot be read has no pixel.
        }
    } else {
        EsconderMira();
        v_.rotNome = {v_.cidade, 10, 410, false, true};
        v_.rotLat = {"Latitude: " + lat, 10, 430, false, true};
        v_.rotLon = {"Longitude: " + lon, 10, 450, false, true};
    }
}

// An interpolated equation in the boxes; each caller keeps the K and b formats it always showed.
void TConsultaQuenda::MostrarInterpolada(const StationRecord& r, const char* formatoK, const char* formatoB) {
    v_.k = FormatFloat(formatoK, r.K);
    v_.a = FormatFloat("0.000", r.A);
    v_.b = FormatFloat(formatoB, r.B);
    v_.c = FormatFloat("0.000", r.C);
    v_.fonte = kFonteInterpolacao;
    v_.fonteHabilitada = true;
    v_.avisoGoias = false;
}

void TConsultaQuenda::MostrarPonto(const std::string& lat, const std::string& lon, int x, int y) {
    const StationRecord r = bd_.InterpolateEquation(lat, lon);
    v_.cidade = kLocalNaoDefinido;
    v_.indEstacao = v_.indLocalidade = -1;
    v_.latitude = lat;
    v_.longitude = lon;
    v_.caixaLat = lat;
    v_.caixaLon = lon;
    MostrarInterpolada(r, "###0.000", "#0.000");
    if (v_.mapa)
        PosicionarMira(x, y);
    else
        MostrarLugar(lat, lon);
}

void TConsultaQuenda::MudarEstado(int indice, bool ativando) {
    const TVista anterior = v_;
    try {
        EsconderMira();
        LimparParametros();
        v_.cidade.clear();
        v_.caixaLat = v_.caixaLon = kCoordenadaZero;
        v_.indEstacao = v_.indLocalidade = -1;
        v_.avisoGoias = false;

        TEstado e;
        e.SetIndex(indice);
        v_.estado = e;
        v_.temEstado = true;
        v_.localidades.clear();
        v_.legenda = std::string(kLegendaConsulta) + " - Estado: " + e.StateName() + "     ";
        v_.fonteHabilitada = true;

        if (const TGeorrefMapa* m = MapaDoEstado(indice)) {
            const std::string bmp = pasta_ + ArquivoMapaEstado(*m);
            std::error_code ec;
            if (!fs::is_regular_file(bmp, ec))
                throw EVandoro("Erro. Não foi possível localizar o arquivo BMP do estado selecinado (" +
                               e.StateName() + ").");
            v_.bitmap = LerBMP(bmp);
            v_.mapa = m;
            v_.pagina = TPaginaConsulta::Estado;
            v_.coordenadasHabilitadas = true;
        } else {
            if (SemCor(indice)) {
                v_.fonte.clear();
                v_.fonteHabilitada = false;
            }
            v_.mapa = nullptr;
            v_.bitmap = TBitmapRGB();
            v_.pagina = TPaginaConsulta::Brasil;
            // A typed point is interpolated over the whole database, map or no map.
            v_.coordenadasHabilitadas = true;
        }
        // Last, so that a failure before leaves the previous state's localities loaded.
        bd_.LoadLocalities(indice);
        v_.localidades = LinhasPorNome(bd_.Localities());
        v_.estacoes = LinhasPorNome(bd_.Stations(indice));
    } catch (...) {
        v_ = anterior;
        throw;
    }
    if (!ativando && !v_.estacoes.empty()) EscolherEstacao(v_.estacoes.front().Indice);
}

void TConsultaQuenda::CliqueBrasil(TCor cor) {
    const int i = EstadoDaCor(cor);
    if (i >= 0)
        MudarEstado(i);
    else if (v_.temEstado)
        MudarEstado(v_.estado.Index());
}

void TConsultaQuenda::EscolherEstacao(int indice) {
    if (!v_.temEstado) return;
    const auto& estacoes = bd_.Stations(v_.estado.Index());
    if (indice < 0 || indice >= static_cast<int>(estacoes.size())) return;
    const StationRecord& r = estacoes[static_cast<size_t>(indice)];
    v_.indEstacao = indice;
    v_.indLocalidade = -1;
    v_.cidade = SemBrancosFinais(r.Name);
    v_.k = FloatToStr(r.K);
    v_.a = FloatToStr(r.A);
    v_.b = FloatToStr(r.B);
    v_.c = FloatToStr(r.C);
    v_.fonte = SemBrancosFinais(r.Source);
    v_.fonteHabilitada = true;
    v_.avisoGoias = v_.estado.Index() == 8 && v_.fonte == kCitacaoAvisoGoias;
    MostrarLugar(r.Latitude, r.Longitude);
}

void TConsultaQuenda::EscolherLocalidade(int indice) {
    if (!v_.temEstado || bd_.LocalitiesState() != v_.estado.Index()) return;
    const auto& locs = bd_.Localities();
    if (indice < 0 || indice >= static_cast<int>(locs.size())) return;
    const LocalityRecord& l = locs[static_cast<size_t>(indice)];
    const StationRecord r = bd_.InterpolateEquation(l.Latitude, l.Longitude);
    v_.indLocalidade = indice;
    v_.indEstacao = -1;
    v_.cidade = SemBrancosFinais(l.Name);
    // Interpolated wherever the place lies, even at a station's own coordinates.
    MostrarInterpolada(r, "####.000", "##.000");
    MostrarLugar(l.Latitude, l.Longitude);
}

bool TConsultaQuenda::PontoNoMapa(int x, int y) {
    if (v_.pagina != TPaginaConsulta::Estado || !DentroDoEstado(x, y)) return false;
    double lat = 0, lon = 0;
    PixelParaCoord(*v_.mapa, x, y, lat, lon);
    MostrarPonto(GrausParaCoordenada(lat), GrausParaCoordenada(lon), x, y);
    return true;
}

void TConsultaQuenda::Calcular(const std::string& latitude, const std::string& longitude) {
    if (!v_.temEstado) return;
    // Both are checked before anything changes: a refused text leaves the previous choice.
    const double lat = ConferirCoordenada(TEixoCoordenada::Latitude, latitude, MapaDigitacao());
    const double lon = ConferirCoordenada(TEixoCoordenada::Longitude, longitude, MapaDigitacao());
    ConferirPontoNoEstado(pasta_, v_.estado.Index(), latitude, longitude);
    int x = 0, y = 0;
    if (v_.mapa) CoordParaPixel(*v_.mapa, lat, lon, x, y);
    MostrarPonto(latitude, longitude, x, y);
}

void TConsultaQuenda::Ativar() {
    const TPassado p = passado_;
    const std::string k = v_.k, a = v_.a, b = v_.b, c = v_.c;
    Carregar();
    ativado_ = true;
    MudarEstado(p.estado, true);
    if (p.estacao >= 0 && p.estacao < static_cast<int>(bd_.Stations(p.estado).size())) {
        EscolherEstacao(p.estacao);
        return;
    }
    if (p.localidade >= 0 && p.localidade < static_cast<int>(bd_.Localities().size())) {
        EscolherLocalidade(p.localidade);
        return;
    }
    // Nothing chosen in the database: the equation the project holds stays on show.
    SetTextosParametros(k, a, b, c);
    if (p.lat.empty() || p.lon.empty()) return;
    v_.latitude = v_.caixaLat = p.lat;
    v_.longitude = v_.caixaLon = p.lon;
    Calcular(p.lat, p.lon);
}

void TConsultaQuenda::Fechar() const {
    for (const std::string* t : {&v_.k, &v_.a, &v_.b, &v_.c}) {
        double x = 0;
        if (!TryStrToFloat(*t, x)) throw EVandoro(kMsgSemEquacao);
    }
}

TPonteiroMapa TConsultaQuenda::PonteiroBrasil(TCor cor) const {
    return CorComSetaNormal(cor) ? TPonteiroMapa::Seta : TPonteiroMapa::Mao;
}

TPonteiroMapa TConsultaQuenda::PonteiroEstado(int x, int y) const {
    return v_.pagina == TPaginaConsulta::Estado && DentroDoEstado(x, y) ? TPonteiroMapa::Cruz : TPonteiroMapa::Seta;
}

bool TConsultaQuenda::Intensidades(TTabelaIntensidades& t) const {
    double k = 0, a = 0, b = 0, c = 0;
    if (!TryStrToFloat(v_.k, k) || !TryStrToFloat(v_.a, a) || !TryStrToFloat(v_.b, b) || !TryStrToFloat(v_.c, c))
        return false;
    try {
        t = TabelaIntensidades(k, a, b, c);
    } catch (const EVandoro&) {
        return false;
    }
    return true;
}

bool TConsultaQuenda::MapaRelatorio(TBitmapRGB& b) const {
    if (!v_.mapa) return false;
    b = v_.bitmap;
    if (v_.mira.Visivel) b.CirculoCheio(v_.mira.X, v_.mira.Y, 3, 0x000000);
    return true;
}

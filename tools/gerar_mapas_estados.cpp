// Draws the pictures of the rainfall consultation from the state boundaries (GeoJSON):
// the map of Brazil with each state in its flat colour, and the bitmaps of the states that
// have one, inside pixels pure blue, framed by their georeference so that a station's
// coordinates land on its place.
//
//   gerar_mapas_estados <brazil-states.geojson> <pasta dos estados> <pasta do mapa do Brasil>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/rainfall/MapaEstado.h"

namespace {

// ---- just enough JSON: a small tree of values ----

struct JValor {
    enum Tipo { Nulo, Logico, Numero, Texto, Lista, Objeto } tipo = Nulo;
    double num = 0;
    std::string texto;
    std::vector<JValor> itens;  // Lista, or the values of an Objeto
    // Member names of an Objeto, one per value in 'itens' (a vector of pairs holding the
    // type itself is not accepted by every compiler).
    std::vector<std::string> nomes;

    const JValor* Membro(const std::string& nome) const {
        for (size_t i = 0; i < nomes.size(); ++i)
            if (nomes[i] == nome) return &itens[i];
        return nullptr;
    }
};

class LeitorJson {
public:
    explicit LeitorJson(const std::string& s) : s_(s) {}

    JValor Ler() {
        JValor v = Valor(0);
        Espacos();
        if (p_ != s_.size()) Falha("texto depois do fim");
        return v;
    }

private:
    static constexpr int kProfundidadeMax = 64;
    const std::string& s_;
    size_t p_ = 0;

    [[noreturn]] void Falha(const std::string& o_que) const {
        throw EVandoro("Erro no GeoJSON (posição " + std::to_string(p_) + "): " + o_que + ".");
    }
    void Espacos() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\n' || s_[p_] == '\r')) ++p_;
    }
    void Espera(char c) {
        Espacos();
        if (p_ >= s_.size() || s_[p_] != c) Falha(std::string("esperado '") + c + "'");
        ++p_;
    }
    bool Palavra(const char* w) {
        size_t n = std::char_traits<char>::length(w);
        if (s_.compare(p_, n, w) != 0) return false;
        p_ += n;
        return true;
    }

    JValor Valor(int prof) {
        if (prof > kProfundidadeMax) Falha("aninhamento profundo demais");
        Espacos();
        if (p_ >= s_.size()) Falha("fim inesperado");
        JValor v;
        const char c = s_[p_];
        if (c == '{') {
            v.tipo = JValor::Objeto;
            ++p_;
            Espacos();
            if (p_ < s_.size() && s_[p_] == '}') {
                ++p_;
                return v;
            }
            for (;;) {
                Espacos();
                if (p_ >= s_.size() || s_[p_] != '"') Falha("esperado nome de membro");
                std::string nome = TextoJson();
                Espera(':');
                v.nomes.push_back(std::move(nome));
                v.itens.push_back(Valor(prof + 1));
                Espacos();
                if (p_ < s_.size() && s_[p_] == ',') {
                    ++p_;
                    continue;
                }
                Espera('}');
                return v;
            }
        }
        if (c == '[') {
            v.tipo = JValor::Lista;
            ++p_;
            Espacos();
            if (p_ < s_.size() && s_[p_] == ']') {
                ++p_;
                return v;
            }
            for (;;) {
                v.itens.push_back(Valor(prof + 1));
                Espacos();
                if (p_ < s_.size() && s_[p_] == ',') {
                    ++p_;
                    continue;
                }
                Espera(']');
                return v;
            }
        }
        if (c == '"') {
            v.tipo = JValor::Texto;
            v.texto = TextoJson();
            return v;
        }
        if (Palavra("true")) {
            v.tipo = JValor::Logico;
            v.num = 1;
            return v;
        }
        if (Palavra("false")) {
            v.tipo = JValor::Logico;
            return v;
        }
        if (Palavra("null")) return v;
        v.tipo = JValor::Numero;
        v.num = NumeroJson();
        return v;
    }

    double NumeroJson() {
        const size_t ini = p_;
        auto digitos = [&] {
            size_t d = p_;
            while (p_ < s_.size() && s_[p_] >= '0' && s_[p_] <= '9') ++p_;
            return p_ > d;
        };
        if (p_ < s_.size() && s_[p_] == '-') ++p_;
        if (!digitos()) Falha("valor inválido");
        if (p_ < s_.size() && s_[p_] == '.') {
            ++p_;
            if (!digitos()) Falha("número inválido");
        }
        if (p_ < s_.size() && (s_[p_] == 'e' || s_[p_] == 'E')) {
            ++p_;
            if (p_ < s_.size() && (s_[p_] == '+' || s_[p_] == '-')) ++p_;
            if (!digitos()) Falha("número inválido");
        }
        double v = 0;
        // from_chars, unlike strtod, ignores the locale's decimal separator.
        auto r = std::from_chars(s_.data() + ini, s_.data() + p_, v);
        if (r.ec != std::errc() || r.ptr != s_.data() + p_) Falha("número fora da faixa");
        return v;
    }

    static void PoeUtf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    unsigned Hex4() {
        if (p_ + 4 > s_.size()) Falha("escape \\u incompleto");
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = s_[p_++];
            v <<= 4;
            if (h >= '0' && h <= '9') v |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f') v |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F') v |= static_cast<unsigned>(h - 'A' + 10);
            else Falha("escape \\u inválido");
        }
        return v;
    }
    std::string TextoJson() {
        ++p_;  // opening quote
        std::string out;
        for (;;) {
            if (p_ >= s_.size()) Falha("texto sem fim");
            const char c = s_[p_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) Falha("caractere de controle em texto");
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (p_ >= s_.size()) Falha("texto sem fim");
            const char e = s_[p_++];
            switch (e) {
                case '"': out.push_back('"'); break;
                case '\\': out.push_back('\\'); break;
                case '/': out.push_back('/'); break;
                case 'b': out.push_back('\b'); break;
                case 'f': out.push_back('\f'); break;
                case 'n': out.push_back('\n'); break;
                case 'r': out.push_back('\r'); break;
                case 't': out.push_back('\t'); break;
                case 'u': {
                    unsigned cp = Hex4();
                    if (cp >= 0xD800 && cp < 0xDC00 && s_.compare(p_, 2, "\\u") == 0) {
                        p_ += 2;
                        const unsigned baixo = Hex4();
                        if (baixo < 0xDC00 || baixo > 0xDFFF) Falha("par substituto inválido");
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (baixo - 0xDC00);
                    }
                    PoeUtf8(out, cp);
                    break;
                }
                default: Falha("escape inválido");
            }
        }
    }
};

// ---- states from the GeoJSON ----

// State codes in state-index order.
const char* const kSiglas[27] = {"AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO",
                                  "MA", "MT", "MS", "MG", "PA", "PB", "PR", "PE", "PI",
                                  "RJ", "RN", "RS", "RO", "RR", "SC", "SP", "SE", "TO"};

struct TPontoGeo {
    double lon, lat;  // as in the file: degrees, negative south and west
};
using TAnelGeo = std::vector<TPontoGeo>;
using TPoligonoGeo = std::vector<TAnelGeo>;  // outer ring, then holes

TAnelGeo LerAnel(const JValor& v, const std::string& sigla) {
    if (v.tipo != JValor::Lista) throw EVandoro("Erro no GeoJSON: anel inválido em " + sigla + ".");
    TAnelGeo anel;
    for (const auto& p : v.itens) {
        if (p.tipo != JValor::Lista || p.itens.size() < 2 || p.itens[0].tipo != JValor::Numero ||
            p.itens[1].tipo != JValor::Numero)
            throw EVandoro("Erro no GeoJSON: ponto inválido em " + sigla + ".");
        const double lon = p.itens[0].num, lat = p.itens[1].num;
        if (lon < -180 || lon > 180 || lat < -90 || lat > 90)
            throw EVandoro("Erro no GeoJSON: coordenada fora da faixa em " + sigla + ".");
        anel.push_back({lon, lat});
    }
    return anel;
}

TPoligonoGeo LerPoligono(const JValor& v, const std::string& sigla) {
    if (v.tipo != JValor::Lista) throw EVandoro("Erro no GeoJSON: polígono inválido em " + sigla + ".");
    TPoligonoGeo pol;
    for (const auto& a : v.itens) pol.push_back(LerAnel(a, sigla));
    return pol;
}

std::map<std::string, std::vector<TPoligonoGeo>> LerEstados(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw EVandoro("O arquivo " + path + " não existe.");
    const std::string texto((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const JValor raiz = LeitorJson(texto).Ler();
    const JValor* feats = raiz.Membro("features");
    if (!feats || feats->tipo != JValor::Lista)
        throw EVandoro("Erro no GeoJSON: falta a lista \"features\".");
    std::map<std::string, std::vector<TPoligonoGeo>> estados;
    for (const auto& ft : feats->itens) {
        const JValor* props = ft.Membro("properties");
        const JValor* sig = props ? props->Membro("sigla") : nullptr;
        const JValor* geom = ft.Membro("geometry");
        if (!sig || sig->tipo != JValor::Texto || !geom)
            throw EVandoro("Erro no GeoJSON: elemento sem \"sigla\" ou sem geometria.");
        const JValor* tipo = geom->Membro("type");
        const JValor* coords = geom->Membro("coordinates");
        if (!tipo || tipo->tipo != JValor::Texto || !coords || coords->tipo != JValor::Lista)
            throw EVandoro("Erro no GeoJSON: geometria inválida em " + sig->texto + ".");
        auto& lista = estados[sig->texto];
        if (tipo->texto == "Polygon") {
            lista.push_back(LerPoligono(*coords, sig->texto));
        } else if (tipo->texto == "MultiPolygon") {
            for (const auto& p : coords->itens) lista.push_back(LerPoligono(p, sig->texto));
        } else {
            throw EVandoro("Erro no GeoJSON: geometria " + tipo->texto + " não suportada em " +
                           sig->texto + ".");
        }
    }
    for (const char* s : kSiglas)
        if (estados.find(s) == estados.end())
            throw EVandoro(std::string("Erro no GeoJSON: falta o estado ") + s + ".");
    return estados;
}

// ---- drawing ----

std::vector<TAnel> Aneis(const TGeorrefMapa& m, const std::vector<TPoligonoGeo>& pols) {
    std::vector<TAnel> aneis;
    for (const auto& pol : pols)
        for (const auto& anel : pol) {
            TAnel a;
            a.reserve(anel.size());
            // The maps count degrees south and west as positive.
            for (const auto& p : anel) a.push_back(CoordParaPonto(m, -p.lat, -p.lon));
            aneis.push_back(std::move(a));
        }
    return aneis;
}

int Arred(double v) { return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6))); }

void Contornos(TBitmapRGB& b, const std::vector<TAnel>& aneis, TCor cor) {
    for (const auto& a : aneis)
        for (size_t i = 0; a.size() > 1 && i < a.size(); ++i) {
            const TPontoMapa& p = a[i];
            const TPontoMapa& q = a[(i + 1) % a.size()];
            b.Linha(Arred(p.X), Arred(p.Y), Arred(q.X), Arred(q.Y), cor);
        }
}

// Colours of our own, all among those over which the pointer stays an arrow or away
// from the state colours.
constexpr TCor kFundo = 0xFFFFFF;          // sea and neighbouring countries
constexpr TCor kBorda = 0x0D0D0D;          // state borders on the map of Brazil
constexpr TCor kSemCor = 0x00CC00;         // states chosen from the list only
constexpr TCor kVizinho = 0xE6E6E6;        // neighbouring states on a state bitmap
constexpr TCor kBordaVizinho = 0xA0A0A0;

TBitmapRGB DesenharBrasil(const std::map<std::string, std::vector<TPoligonoGeo>>& estados) {
    const TGeorrefMapa& m = MapaBrasil();
    TBitmapRGB b(LarguraBitmapBrasil, AlturaBitmapBrasil, kFundo);
    for (int i = 0; i < 27; ++i) {
        TCor cor = kSemCor;
        CorDoEstado(i, cor);
        PreencherPoligono(b, Aneis(m, estados.at(kSiglas[i])), cor);
    }
    for (int i = 0; i < 27; ++i) Contornos(b, Aneis(m, estados.at(kSiglas[i])), kBorda);
    return b;
}

TBitmapRGB DesenharEstado(const TGeorrefMapa& m,
                          const std::map<std::string, std::vector<TPoligonoGeo>>& estados) {
    TBitmapRGB b(LarguraBitmapEstado, AlturaBitmapEstado, kFundo);
    for (const auto& [sigla, pols] : estados) {
        if (sigla == m.Sigla) continue;
        auto aneis = Aneis(m, pols);
        PreencherPoligono(b, aneis, kVizinho);
        Contornos(b, aneis, kBordaVizinho);
    }
    // Last and without an outline, so every pixel inside the state stays blue.
    PreencherPoligono(b, Aneis(m, estados.at(m.Sigla)), CorDentroEstado);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "uso: gerar_mapas_estados <brazil-states.geojson> <pasta dos estados> "
                     "<pasta do mapa do Brasil>\n");
        return 2;
    }
    try {
        const auto estados = LerEstados(argv[1]);
        const std::filesystem::path pastaEstados = argv[2], pastaBrasil = argv[3];
        std::filesystem::create_directories(pastaEstados);
        std::filesystem::create_directories(pastaBrasil);
        for (const auto& m : MapasEstados())
            GravarBMP(DesenharEstado(m, estados), (pastaEstados / ArquivoMapaEstado(m)).string());
        GravarBMP(DesenharBrasil(estados), (pastaBrasil / ArquivoMapaBrasil).string());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

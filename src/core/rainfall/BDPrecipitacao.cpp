#include "core/rainfall/BDPrecipitacao.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>

#include "core/common/Arquivo.h"
#include "core/common/Binario.h"
#include "core/common/IniFile.h"
#include "core/common/Numeros.h"
#include "core/common/Win1252.h"

namespace fs = std::filesystem;

std::string TBDPrecipitacao::TextoInterpolacao() const {
    std::vector<int> estados;
    for (int e = 0; e < kNumEstados; ++e)
        if (!stations_[e].empty()) estados.push_back(e);
    std::string lista;
    for (std::size_t k = 0; k < estados.size(); ++k) {
        if (k > 0) lista += k + 1 == estados.size() ? " e " : ", ";
        lista += TEstado::Nome(estados[k]);
    }
    if (lista.empty()) lista = "nenhuma";
    return "Interpolação realizada utilizando o Método do Inverso da Quinta Potência da Distância e "
           "considerando as informações de todas as localidades em que a equação de "
           "intensidade-duração-freqüência da precipitação é conhecida nas unidades da federação "
           "com estações no banco de dados: " +
           lista + ".";
}

namespace {

const char* const kGrau = "\xC2\xB0";  // degree sign in UTF-8

[[noreturn]] void CoordenadaInvalida(const std::string& texto) {
    throw EConversao("'" + texto + "' não é uma coordenada válida (GG°MM'SS\").");
}

// One two-character field: optional leading blanks, then digits (a minus sign allowed
// before the digits when 'sinal').
int Campo(const std::string& w, std::size_t pos, bool sinal, bool& negativo, const std::string& texto) {
    std::size_t i = pos, fim = pos + 2;
    while (i < fim && w[i] == ' ') ++i;
    if (sinal && i < fim && w[i] == '-') {
        negativo = true;
        ++i;
    }
    if (i == fim) CoordenadaInvalida(texto);
    int v = 0;
    for (; i < fim; ++i) {
        if (w[i] < '0' || w[i] > '9') CoordenadaInvalida(texto);
        v = v * 10 + (w[i] - '0');
    }
    return v;
}

// Bounds-checked cursor over a file read whole.
class Leitor {
public:
    Leitor(const std::string& buf, const std::string& path) : buf_(buf), path_(path) {}

    void SetOnde(const std::string& onde) { onde_ = onde; }
    [[noreturn]] void Danificado(const std::string& porque) const {
        throw EVandoro("O arquivo " + path_ + " está danificado ou incompleto (" + porque +
                       (onde_.empty() ? "" : ", " + onde_) + ").");
    }
    void Exigir(std::size_t n) const {
        if (buf_.size() - pos_ < n) Danificado("fim inesperado");
    }
    void Pular(std::size_t n) {
        Exigir(n);
        pos_ += n;
    }
    uint8_t U8() {
        Exigir(1);
        return static_cast<uint8_t>(buf_[pos_++]);
    }
    uint16_t U16() {
        Exigir(2);
        const uint16_t v = LerLE<uint16_t>(buf_.data() + pos_);
        pos_ += 2;
        return v;
    }
    double F64() {
        Exigir(8);
        const double v = LerLE<double>(buf_.data() + pos_);
        pos_ += 8;
        if (!std::isfinite(v)) Danificado("número inválido");
        return v;
    }
    std::string Texto(std::size_t cap) {
        Exigir(1 + cap);
        const std::size_t n = uint8_t(buf_[pos_]);
        if (n > cap) Danificado("texto maior que o campo");
        std::string r = Win1252ToUtf8(std::string_view(buf_).substr(pos_ + 1, n));
        pos_ += 1 + cap;
        return r;
    }

private:
    const std::string& buf_;
    const std::string& path_;
    std::string onde_;
    std::size_t pos_ = 0;
};

std::string LerTudo(const std::string& path, std::size_t maximo) {
    std::error_code ec;
    if (!fs::exists(path, ec)) throw EArquivoNaoExiste("O arquivo " + path + " não existe.");
    // No valid file is bigger: a huge one is not read into memory.
    try {
        return LerArquivoInteiro(path, static_cast<long long>(maximo));
    } catch (const EArquivoGrandeDemais&) {
        throw EVandoro("O arquivo " + path + " está danificado ou incompleto (tamanho impossível).");
    } catch (const EVandoro&) {
        throw EVandoro("Não foi possível ler o arquivo " + path + ".");
    }
}

constexpr std::size_t TamanhoMaximo(std::size_t registro) { return 1 + kNumEstados * (2 + registro * 65535); }

std::string OndeRegistro(int estado, std::size_t registro) {
    return "estado " + IntToStr(estado) + ", registro " + IntToStr((long long)registro + 1);
}

LocalityRecord LerLocalidade(Leitor& l) {
    LocalityRecord r;
    r.Name = l.Texto(kCapNome);
    r.Latitude = l.Texto(kCapCoordenada);
    r.Longitude = l.Texto(kCapCoordenada);
    return r;
}

// --- writing

void PorTexto(std::string& out, const std::string& utf8, std::size_t cap) {
    const std::string w = Utf8ToWin1252(utf8);
    if (w.size() > cap)
        throw EVandoro("O texto \"" + utf8 + "\" tem mais de " + IntToStr((long long)cap) + " caracteres.");
    out += char(w.size());
    out += w;
    out.append(cap - w.size(), '\0');
}

void PorContagem(std::string& out, std::size_t n, int estado) {
    if (n > 65535)
        throw EVandoro("O estado " + TEstado::Nome(estado) + " tem mais de 65535 registros.");
    AcrescentarLE<uint16_t>(out, static_cast<uint16_t>(n));
}

// Whole file through a temporary, so a failed write never leaves half a database.
void GravarTudo(const std::string& path, const std::string& bytes) {
    GravarArquivoInteiro(path, bytes);
}

// Points at which an interpolated equation must follow the stations' curves: the return
// periods and durations of design storms.
const double kTrs[] = {2, 5, 10, 25, 50, 100};
const double kDuracoes[] = {5, 10, 15, 20, 30, 45, 60, 90, 120, 180, 240, 360, 720, 1440};
constexpr double kToleranciaMedia = 0.01;

double Intensidade(double K, double a, double b, double c, double tr, double t) {
    return K * std::pow(tr, a) / std::pow(t + b, c);
}

// For a fixed b: ln i = ln K + a ln Tr - c ln(t + b), linear in (ln K, a, c).
bool AjustarComB(const std::vector<double>& tr, const std::vector<double>& t, const std::vector<double>& lni,
                 double b, double x[3], double& sse) {
    double M[3][4] = {};
    for (std::size_t j = 0; j < tr.size(); ++j) {
        const double f[3] = {1.0, std::log(tr[j]), -std::log(t[j] + b)};
        for (int r = 0; r < 3; ++r) {
            for (int k = 0; k < 3; ++k) M[r][k] += f[r] * f[k];
            M[r][3] += f[r] * lni[j];
        }
    }
    for (int col = 0; col < 3; ++col) {  // Gauss with partial pivoting
        int piv = col;
        for (int r = col + 1; r < 3; ++r)
            if (std::fabs(M[r][col]) > std::fabs(M[piv][col])) piv = r;
        if (!(std::fabs(M[piv][col]) > 1e-12)) return false;
        for (int k = 0; k < 4; ++k) std::swap(M[col][k], M[piv][k]);
        for (int r = 0; r < 3; ++r) {
            if (r == col) continue;
            const double fator = M[r][col] / M[col][col];
            for (int k = col; k < 4; ++k) M[r][k] -= fator * M[col][k];
        }
    }
    for (int r = 0; r < 3; ++r) x[r] = M[r][3] / M[r][r];
    sse = 0;
    for (std::size_t j = 0; j < tr.size(); ++j) {
        const double e = x[0] + x[1] * std::log(tr[j]) - x[2] * std::log(t[j] + b) - lni[j];
        sse += e * e;
    }
    return std::isfinite(sse);
}

}  // namespace

bool AjustarEquacao(const std::vector<double>& tr, const std::vector<double>& t, const std::vector<double>& i,
                    double& K, double& a, double& b, double& c) {
    if (tr.size() < 4 || t.size() != tr.size() || i.size() != tr.size()) return false;
    std::vector<double> lni(i.size());
    for (std::size_t j = 0; j < i.size(); ++j) {
        if (!(i[j] > 0) || !std::isfinite(i[j]) || !(tr[j] > 0) || !(t[j] > 0)) return false;
        lni[j] = std::log(i[j]);
    }
    // Coarse scan of b (0 and a geometric ladder up to 400 min), then golden-section search
    // between the neighbours of the best step; both bounded.
    std::vector<double> bs{0.0};
    for (double v = 0.1; v <= 400.0; v *= 1.15) bs.push_back(v);
    double x[3], sse = 0, melhor = std::numeric_limits<double>::infinity();
    std::size_t im = 0;
    for (std::size_t k = 0; k < bs.size(); ++k)
        if (AjustarComB(tr, t, lni, bs[k], x, sse) && sse < melhor) {
            melhor = sse;
            im = k;
        }
    if (!std::isfinite(melhor)) return false;
    double lo = bs[im == 0 ? 0 : im - 1], hi = bs[std::min(im + 1, bs.size() - 1)];
    const double g = (std::sqrt(5.0) - 1) / 2;
    auto custo = [&](double bb) {
        double y[3], s = 0;
        return AjustarComB(tr, t, lni, bb, y, s) ? s : std::numeric_limits<double>::infinity();
    };
    double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo), f1 = custo(x1), f2 = custo(x2);
    for (int it = 0; it < 60 && hi - lo > 1e-6; ++it) {
        if (f1 < f2) {
            hi = x2;
            x2 = x1;
            f2 = f1;
            x1 = hi - g * (hi - lo);
            f1 = custo(x1);
        } else {
            lo = x1;
            x1 = x2;
            f1 = f2;
            x2 = lo + g * (hi - lo);
            f2 = custo(x2);
        }
    }
    double bFinal = bs[im];
    if (std::min(f1, f2) < melhor) bFinal = f1 < f2 ? x1 : x2;
    if (!AjustarComB(tr, t, lni, bFinal, x, sse)) return false;
    K = std::exp(x[0]);
    a = x[1];
    b = bFinal;
    c = x[2];
    return std::isfinite(K) && std::isfinite(a) && std::isfinite(c);
}

double CoordenadaParaGraus(const std::string& texto) {
    std::string w = Utf8ToWin1252(texto);
    while (!w.empty() && w.back() == ' ') w.pop_back();
    if (w.size() != kCapCoordenada || w[2] != '\xB0' || w[5] != '\'' || w[8] != '"') CoordenadaInvalida(texto);
    bool negativo = false, nada = false;
    const int dd = Campo(w, 0, true, negativo, texto);
    const int mm = Campo(w, 3, false, nada, texto);
    const int ss = Campo(w, 6, false, nada, texto);
    if (mm > 59 || ss > 59) CoordenadaInvalida(texto);
    const double v = dd + mm / 60.0 + ss / 3600.0;
    return negativo ? -v : v;
}

std::string GrausParaCoordenada(double graus) {
    if (!std::isfinite(graus) || std::fabs(graus) >= 100)
        throw EVandoro("A coordenada " + FloatToStr(graus) + " não pode ser escrita como GG°MM'SS\".");
    // The small allowance keeps 3.05 from becoming 03°02'59" through binary rounding.
    const long long total = (long long)std::floor(std::fabs(graus) * 3600.0 + 1e-6);
    const long long dd = total / 3600, mm = (total / 60) % 60, ss = total % 60;
    const bool negativo = graus < 0 && total > 0;
    if (negativo && dd >= 10)
        throw EVandoro("A coordenada " + FloatToStr(graus) + " não pode ser escrita como GG°MM'SS\".");
    auto dois = [](long long v) { return std::string(1, char('0' + v / 10)) + char('0' + v % 10); };
    const std::string graus2 = negativo ? "-" + std::string(1, char('0' + dd)) : dois(dd);
    return graus2 + kGrau + dois(mm) + "'" + dois(ss) + "\"";
}

std::string CortarTexto(const std::string& utf8, std::size_t n) {
    std::size_t i = 0, chars = 0;
    while (i < utf8.size() && chars < n) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
        i += len;
        ++chars;
    }
    return utf8.substr(0, std::min(i, utf8.size()));
}

std::string PastaBancoChuva(const std::string& programa) {
    std::string p = programa;
    if (!p.empty() && p.back() != '/') p += '/';
    return p + kPastaQuenda;
}

TBDPrecipitacao::TBDPrecipitacao(std::string pasta) : pasta_(std::move(pasta)) {
    if (!pasta_.empty() && pasta_.back() != '/') pasta_ += '/';
}

std::string TBDPrecipitacao::CaminhoEstacoes() const { return pasta_ + kArquivoEstacoes; }
std::string TBDPrecipitacao::CaminhoLocalidades() const { return pasta_ + kArquivoLocalidades; }

const std::vector<StationRecord>& TBDPrecipitacao::Stations(int i) const {
    TEstado e;
    e.SetIndex(i);
    return stations_[i];
}

void TBDPrecipitacao::LoadStations() {
    const std::string path = CaminhoEstacoes();
    const std::string buf = LerTudo(path, TamanhoMaximo(kTamRegistroEstacao));
    Leitor l(buf, path);
    l.Pular(1);  // header byte, not interpreted
    TEstacoesPorEstado lidos;
    for (int e = 0; e < kNumEstados; ++e) {
        l.SetOnde("estado " + IntToStr(e));
        const std::size_t n = l.U16();
        l.Exigir(n * kTamRegistroEstacao);
        lidos[e].resize(n);
        for (std::size_t k = 0; k < n; ++k) {
            l.SetOnde(OndeRegistro(e, k));
            StationRecord& r = lidos[e][k];
            r.Name = l.Texto(kCapNome);
            r.K = l.F64();
            r.A = l.F64();
            r.B = l.F64();
            r.C = l.F64();
            r.Source = l.Texto(kCapFonte);
            r.Latitude = l.Texto(kCapCoordenada);
            r.Longitude = l.Texto(kCapCoordenada);
        }
    }
    std::array<std::vector<TCurva>, kNumEstados> curvas;
    for (int e = 0; e < kNumEstados; ++e)
        for (const StationRecord& r : lidos[e]) {
            TCurva c;
            try {
                c.phi = CoordenadaParaGraus(r.Latitude);
                c.lambda = CoordenadaParaGraus(r.Longitude);
            } catch (const EConversao&) {
                c.phi = c.lambda = std::nan("");
            }
            for (double tr : kTrs)
                for (double t : kDuracoes) c.i.push_back(Intensidade(r.K, r.A, r.B, r.C, tr, t));
            curvas[e].push_back(std::move(c));
        }
    stations_ = std::move(lidos);
    curvas_ = std::move(curvas);
}

void TBDPrecipitacao::LoadLocalities(int i) {
    TEstado estado;
    estado.SetIndex(i);
    const std::string path = CaminhoLocalidades();
    const std::string buf = LerTudo(path, TamanhoMaximo(kTamRegistroLocalidade));
    Leitor l(buf, path);
    l.Pular(1);
    for (int e = 0; e < i; ++e) {
        l.SetOnde("estado " + IntToStr(e));
        const std::size_t n = l.U16();
        l.Pular(n * kTamRegistroLocalidade);
    }
    l.SetOnde("estado " + IntToStr(i));
    const std::size_t n = l.U16();
    l.Exigir(n * kTamRegistroLocalidade);
    std::vector<LocalityRecord> lidos(n);
    for (std::size_t k = 0; k < n; ++k) {
        l.SetOnde(OndeRegistro(i, k));
        lidos[k] = LerLocalidade(l);
    }
    localities_ = std::move(lidos);
    localitiesState_ = i;
}

StationRecord TBDPrecipitacao::InterpolateEquation(const std::string& lat, const std::string& lon) const {
    const double phi = CoordenadaParaGraus(lat);
    const double lambda = CoordenadaParaGraus(lon);

    const StationRecord* noLugar = nullptr;  // first station at zero distance
    double W = 0, K = 0, A = 0, B = 0, C = 0;
    constexpr std::size_t nTr = std::size(kTrs), nT = std::size(kDuracoes);
    std::vector<double> media(nTr * nT, 0.0);  // weighted sum of the stations' intensities
    for (int e = 0; e < kNumEstados; ++e) {
        for (std::size_t k = 0; k < stations_[e].size(); ++k) {
            const StationRecord& s = stations_[e][k];
            if (s.Latitude == lat && s.Longitude == lon) return s;
            const TCurva& cs = curvas_[e][k];
            if (std::isnan(cs.phi)) {
                try {
                    CoordenadaParaGraus(s.Latitude);
                    CoordenadaParaGraus(s.Longitude);
                } catch (const EConversao& ex) {
                    throw EVandoro("Coordenada inválida da estação " + s.Name + " (" + TEstado::Nome(e) +
                                   ") no banco de dados: " + ex.what());
                }
            }
            const double d = std::sqrt((cs.phi - phi) * (cs.phi - phi) + (cs.lambda - lambda) * (cs.lambda - lambda));
            if (d == 0) {
                // Written differently but the same place: its weight would be infinite.
                if (!noLugar) noLugar = &s;
                continue;
            }
            // Texts hold whole seconds, so d >= 1/3600 degree and 1/d^5 stays finite.
            const double w = 1.0 / std::pow(d, 5);
            W += w;
            K += w * s.K;
            A += w * s.A;
            B += w * s.B;
            C += w * s.C;
            for (std::size_t j = 0; j < media.size(); ++j) media[j] += w * cs.i[j];
        }
    }
    if (noLugar) return *noLugar;
    if (!(W > 0)) throw EVandoro("Não há estações no banco de dados para a interpolação.");

    StationRecord r;
    r.K = K / W;
    r.A = A / W;
    r.B = B / W;
    r.C = C / W;

    std::vector<double> trs, ts;
    bool fiel = true;
    for (std::size_t p = 0; p < nTr; ++p)
        for (std::size_t q = 0; q < nT; ++q) {
            double& m = media[p * nT + q];
            m /= W;
            trs.push_back(kTrs[p]);
            ts.push_back(kDuracoes[q]);
            const double i = Intensidade(r.K, r.A, r.B, r.C, kTrs[p], kDuracoes[q]);
            if (!(std::fabs(i / m - 1) <= kToleranciaMedia)) fiel = false;
        }
    double k = 0, a = 0, b = 0, c = 0;
    if (!fiel && AjustarEquacao(trs, ts, media, k, a, b, c)) {
        r.K = k;
        r.A = a;
        r.B = b;
        r.C = c;
    }
    r.Source = kFonteInterpolacao;
    r.Latitude = CortarTexto(lat, kCapCoordenada);
    r.Longitude = CortarTexto(lon, kCapCoordenada);
    return r;
}

void GravarEstacoes(const std::string& path, const TEstacoesPorEstado& estados) {
    std::string out(1, '\x01');
    for (int e = 0; e < kNumEstados; ++e) {
        PorContagem(out, estados[e].size(), e);
        for (const StationRecord& r : estados[e]) {
            PorTexto(out, r.Name, kCapNome);
            AcrescentarLE<double>(out, r.K);
            AcrescentarLE<double>(out, r.A);
            AcrescentarLE<double>(out, r.B);
            AcrescentarLE<double>(out, r.C);
            PorTexto(out, r.Source, kCapFonte);
            PorTexto(out, r.Latitude, kCapCoordenada);
            PorTexto(out, r.Longitude, kCapCoordenada);
        }
    }
    GravarTudo(path, out);
}

void GravarLocalidades(const std::string& path, const TLocalidadesPorEstado& estados) {
    std::string out(1, '\x01');
    for (int e = 0; e < kNumEstados; ++e) {
        PorContagem(out, estados[e].size(), e);
        for (const LocalityRecord& r : estados[e]) {
            PorTexto(out, r.Name, kCapNome);
            PorTexto(out, r.Latitude, kCapCoordenada);
            PorTexto(out, r.Longitude, kCapCoordenada);
        }
    }
    GravarTudo(path, out);
}

bool LerReferencia(const std::string& pasta, const std::string& citacao, TReferencia& ref) {
    std::string p = pasta;
    if (!p.empty() && p.back() != '/') p += '/';
    p += kArquivoReferencias;
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) return false;
    std::string chave = citacao;
    while (!chave.empty() && chave.back() == ' ') chave.pop_back();
    if (chave.empty()) return false;
    IniFile ini(p);
    if (!ini.Loaded() || !ini.SectionExists(chave)) return false;
    ref.Autores = ini.ReadString(chave, "Autores", "");
    ref.Titulo = ini.ReadString(chave, "Titulo", "");
    ref.Publicacao = ini.ReadString(chave, "Publicacao", "");
    return true;
}

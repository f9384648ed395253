#include "core/project/Configuracao.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <system_error>

#include "core/common/IniFile.h"
#include "core/common/Numeros.h"

namespace {
const char* const kSecao = "PRINCIPAL";
const char* const kNomeArquivo = "VANDORO4.ini";
const int kFatoresDecli[] = {1, 100};
const double kFatoresVIB[] = {1.0, 0.001, 0.024};
}  // namespace

const std::vector<std::string>& ListaEstados() {
    static const std::vector<std::string> estados = {
        "Acre",         "Alagoas",        "Amazonas",       "Bahia",
        "Ceará",        "Espírito Santo", "Goiás",          "Maranhão",
        "Mato Grosso",  "Mato Grosso do Sul", "Minas Gerais", "Pará",
        "Paraíba",      "Paraná",         "Pernambuco",     "Piauí",
        "Rio de Janeiro", "Rio Grande do Norte", "Rio Grande do Sul", "Rondônia",
        "Santa Catarina", "São Paulo"};
    return estados;
}

int IndiceEstadoBanco(int i) {
    static const int banco[] = {0, 1, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 23, 24};
    if (i < 0 || i >= static_cast<int>(sizeof banco / sizeof banco[0])) return banco[0];
    return banco[i];
}

const std::vector<std::string>& UnidadesDeclividade() {
    static const std::vector<std::string> u = {"m/m", "%"};
    return u;
}

const std::vector<std::string>& UnidadesVIB() {
    static const std::vector<std::string> u = {"mm/h", "m/h", "m/dia"};
    return u;
}

int FatorDeclividade(int indice) { return indice == 1 ? kFatoresDecli[1] : kFatoresDecli[0]; }

double FatorVIB(int indice) { return (indice >= 0 && indice <= 2) ? kFatoresVIB[indice] : 1.0; }

int IndiceDeclividade(const std::string& rotulo) {
    const auto& u = UnidadesDeclividade();
    for (size_t i = 0; i < u.size(); ++i)
        if (u[i] == rotulo) return static_cast<int>(i);
    return -1;
}

int IndiceVIB(const std::string& rotulo) {
    const auto& u = UnidadesVIB();
    for (size_t i = 0; i < u.size(); ++i)
        if (u[i] == rotulo) return static_cast<int>(i);
    return -1;
}

void TConfiguracao::Normalizar() {
    int d = IndiceDeclividade(UDecli);
    if (d < 0) d = 0;
    UDecli = UnidadesDeclividade()[d];
    KDecli = FatorDeclividade(d);
    int v = IndiceVIB(UVIB);
    if (v < 0) v = 0;
    UVIB = UnidadesVIB()[v];
    KVIB = FatorVIB(v);
    if (IndEstado < 0 || IndEstado >= static_cast<int>(ListaEstados().size())) IndEstado = 0;
}

void AplicarEscolhas(TConfiguracao& cfg, int indDecli, int indVIB, int indEstado) {
    if (indDecli >= 0 && indDecli < static_cast<int>(UnidadesDeclividade().size())) {
        cfg.UDecli = UnidadesDeclividade()[indDecli];
        cfg.KDecli = FatorDeclividade(indDecli);
    }
    if (indVIB >= 0 && indVIB < static_cast<int>(UnidadesVIB().size())) {
        cfg.UVIB = UnidadesVIB()[indVIB];
        cfg.KVIB = FatorVIB(indVIB);
    }
    if (indEstado >= 0 && indEstado < static_cast<int>(ListaEstados().size())) cfg.IndEstado = indEstado;
}

namespace {
// The keys whose written value differs from what the record now holds.
std::vector<std::string> ChavesCorrigidas(const IniFile& ini, const TConfiguracao& cfg) {
    std::vector<std::string> r;
    const auto escrita = [&](const char* chave, std::string& valor) {
        if (!ini.ValueExists(kSecao, chave)) return false;
        valor = ini.ReadString(kSecao, chave, "");
        return true;
    };
    std::string v;
    if (escrita("UDecli", v) && v != cfg.UDecli) r.push_back("UDecli");
    long long n = 0;
    if (escrita("KDecli", v) && (!TryStrToInt(v, n) || n != cfg.KDecli)) r.push_back("KDecli");
    if (escrita("UVIB", v) && v != cfg.UVIB) r.push_back("UVIB");
    double x = 0;
    if (escrita("KVIB", v) && (!TryStrToFloat(v, x) || std::fabs(x - cfg.KVIB) > 1e-12)) r.push_back("KVIB");
    if (escrita("IndEstado", v) && (!TryStrToInt(v, n) || n != cfg.IndEstado)) r.push_back("IndEstado");
    return r;
}
}  // namespace

bool CarregarConfiguracao(const std::string& arquivo, TConfiguracao& cfg, std::vector<std::string>* corrigidas) {
    cfg = TConfiguracao{};
    if (corrigidas) corrigidas->clear();
    try {
        IniFile ini(arquivo);
        if (!ini.Loaded()) return false;
        cfg.UDecli = ini.ReadString(kSecao, "UDecli", "m/m");
        cfg.KDecli = static_cast<int>(ini.ReadInteger(kSecao, "KDecli", 1));
        cfg.UVIB = ini.ReadString(kSecao, "UVIB", "mm/h");
        cfg.KVIB = ini.ReadFloat(kSecao, "KVIB", 1.0);
        for (int i = 0; i < 4; ++i) cfg.Paths[i] = ini.ReadString(kSecao, "path" + std::to_string(i + 1), "");
        long long ind = 0;
        if (!TryStrToInt(ini.ReadString(kSecao, "IndEstado", "0"), ind)) ind = 0;
        cfg.IndEstado = (ind >= 0 && ind < static_cast<long long>(ListaEstados().size())) ? static_cast<int>(ind) : 0;
        cfg.Normalizar();
        LerConstrucao(ini, cfg.Construcao);
        if (corrigidas) *corrigidas = ChavesCorrigidas(ini, cfg);
        return true;
    } catch (const std::exception&) {
        cfg = TConfiguracao{};
        if (corrigidas) corrigidas->clear();
        return false;
    }
}

bool SalvarConfiguracao(const std::string& arquivo, const TConfiguracao& cfg) {
    try {
        IniFile ini(arquivo);
        ini.WriteString(kSecao, "UDecli", cfg.UDecli);
        ini.WriteInteger(kSecao, "KDecli", cfg.KDecli);
        ini.WriteString(kSecao, "UVIB", cfg.UVIB);
        ini.WriteFloat(kSecao, "KVIB", cfg.KVIB);
        for (int i = 0; i < 4; ++i) ini.WriteString(kSecao, "path" + std::to_string(i + 1), cfg.Paths[i]);
        ini.WriteInteger(kSecao, "IndEstado", cfg.IndEstado);
        GravarConstrucao(ini, cfg.Construcao);
        ini.UpdateFile();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string ArquivoConfiguracao(const std::string& pastaPrograma) {
    std::string pasta = pastaPrograma.empty() ? std::string(".") : pastaPrograma;
    if (::access(pasta.c_str(), W_OK) == 0) {
        if (pasta.back() != '/') pasta += '/';
        return pasta + kNomeArquivo;
    }
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.config";
    else base = std::filesystem::temp_directory_path().generic_string();
    const std::string dir = base + "/Vandoro";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir + "/" + kNomeArquivo;
}

double ParaExibicao(double valorInterno, double fator) { return valorInterno * fator; }

double ParaInterno(double valorExibido, double fator) { return fator != 0 ? valorExibido / fator : valorExibido; }

std::string ReexibirCampo(const std::string& textoAtual, double valorInterno, double fator) {
    if (textoAtual.empty()) return textoAtual;
    return FormatFloat("0.0######", ParaExibicao(valorInterno, fator));
}

// ---- TUnidades ----

TUnidades::TUnidades()
    : declividade_(TUnidadesDeclividade::udMetroPorMetro),
      comprimento_(TUnidadesComprimento::ucMetro),
      vi_(TUnidadesVI::uvMilimetroHora),
      unidadeDeclividade_("m/m"),
      unidadeComprimento_("m"),
      unidadeVI_("mm/h") {}

void TUnidades::Disparar(const std::function<void()>& evento) {
    if (!evento) return;
    try {
        evento();
    } catch (...) {
        // A faulty listener must not undo the unit change itself.
    }
}

void TUnidades::SetDeclividade(TUnidadesDeclividade u) {
    if (u == declividade_) return;
    declividade_ = u;
    if (u == TUnidadesDeclividade::udPorcentagem) {
        fatorDeclividade_ = 100;
        unidadeDeclividade_ = "%";
    } else {
        fatorDeclividade_ = 1;
        unidadeDeclividade_ = "m/m";
    }
    Disparar(OnChangeDeclividade);
}

void TUnidades::SetComprimento(TUnidadesComprimento u) {
    if (u == comprimento_) return;
    comprimento_ = u;
    switch (u) {
        case TUnidadesComprimento::ucCentimetro: fatorComprimento_ = 0.01; unidadeComprimento_ = "cm"; break;
        case TUnidadesComprimento::ucMilimetro: fatorComprimento_ = 0.001; unidadeComprimento_ = "mm"; break;
        case TUnidadesComprimento::ucMetro: fatorComprimento_ = 1; unidadeComprimento_ = "m"; break;
        case TUnidadesComprimento::ucQuilometro: fatorComprimento_ = 1000; unidadeComprimento_ = "km"; break;
    }
    Disparar(OnChangeComprimento);
}

void TUnidades::SetVI(TUnidadesVI u) {
    if (u == vi_) return;
    vi_ = u;
    switch (u) {
        case TUnidadesVI::uvMetroHora: fatorVI_ = 0.001; unidadeVI_ = "m/h"; break;
        case TUnidadesVI::uvMilimetroHora: fatorVI_ = 1; unidadeVI_ = "mm/h"; break;
        case TUnidadesVI::uvMetroDia: fatorVI_ = 0.024; unidadeVI_ = "m/dia"; break;
        case TUnidadesVI::uvCentimetroDia: fatorVI_ = 2.4; unidadeVI_ = "cm/dia"; break;
    }
    Disparar(OnChangeVI);
}

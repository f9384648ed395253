#include "core/rainfall/Quenda21.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/common/Numeros.h"
#include "core/rainfall/BDPrecipitacao.h"
#include "core/rainfall/ConsultaQuenda.h"

namespace fs = std::filesystem;

const char* const TQuenda21::kMascaraVazia = "  °  '  \"";

namespace {

const char* const kSecao = "QUENDA";
const int kUltimoEstado = 26;  // 27 states in the database files
const int kMaiorIndice = 32767;

bool CoordenadaPreenchida(const std::string& s) {
    if (s.empty() || s == TQuenda21::kMascaraVazia) return false;
    // Only blanks and the mask's own signs: nothing was typed.
    std::string resto = s;
    for (const char* sinal : {"°", "'", "\"", " "}) {
        for (size_t p; (p = resto.find(sinal)) != std::string::npos;) resto.erase(p, std::string(sinal).size());
    }
    return !resto.empty();
}

int IndiceLido(long long v, int maior) { return (v < -1 || v > maior) ? -1 : static_cast<int>(v); }

}  // namespace

TQuenda21::TQuenda21() : precipitacao_(std::make_unique<TPrecipitacaoExponencialNegativa>()) { Reset(); }

void TQuenda21::SetPastaPrograma(const std::string& s) {
    pastaPrograma_ = s;
    if (!pastaPrograma_.empty() && pastaPrograma_.back() != '/') pastaPrograma_ += '/';
}

std::string TQuenda21::PastaBanco() const { return pastaPrograma_ + "../Arquivos Comuns/Quenda"; }

void TQuenda21::Reset() {
    precipitacao_->Clear();
    helpContext_ = 0;
    latitude_.clear();
    longitude_.clear();
    indLocalidade_ = 0;
    indEstacao_ = 0;
    strCidade_.clear();
    indEstado_ = -1;
    strEstado_.clear();
    showAbout_ = false;
    secao_.clear();
}

void TQuenda21::Assign(const TQuenda21& o) {
    precipitacao_->Assign(*o.precipitacao_);
    pastaPrograma_ = o.pastaPrograma_;
    helpContext_ = o.helpContext_;
    autoria_ = o.autoria_;
    latitude_ = o.latitude_;
    longitude_ = o.longitude_;
    indLocalidade_ = o.indLocalidade_;
    indEstacao_ = o.indEstacao_;
    strCidade_ = o.strCidade_;
    indEstado_ = o.indEstado_;
    strEstado_ = o.strEstado_;
    showAbout_ = o.showAbout_;
    secao_ = o.secao_;
}

void TQuenda21::ConferirBanco() const {
    const std::string pasta = PastaBanco();
    std::error_code ec;
    if (!fs::is_directory(pasta, ec))
        throw EVandoro("Erro. Não foi possível localizar a pasta contendo o banco de dados.");
    if (!fs::exists(pasta + "/Estados_Qnd21.bin", ec))
        throw EVandoro("Erro. Não foi possível localizar o banco de dados contendo os estados.");
    if (!fs::exists(pasta + "/Localidades_Qnd21.bin", ec))
        throw EVandoro("Erro. Não foi possível localizar o banco de dados contendo as localidades.");
}

bool TQuenda21::Execute(IJanelaConsulta& janela) {
    const TPrecipitacaoExponencialNegativa& p = *precipitacao_;
    return Executar(janela, indEstado_, indEstacao_, indLocalidade_, {p.K(), p.A(), p.B(), p.C(), latitude_, longitude_});
}

bool TQuenda21::Execute(IJanelaConsulta& janela, const TCamposConsulta& campos) {
    int estado = indEstado_, estacao = indEstacao_, localidade = indLocalidade_;
    TCamposConsulta c = campos;
    if (!CoordenadaPreenchida(c.Latitude) || !CoordenadaPreenchida(c.Longitude)) {
        // Half a point is no point: the place chosen before stays.
        c.Latitude = latitude_;
        c.Longitude = longitude_;
    } else if (!NoLugarEscolhido(c.Latitude, c.Longitude)) {
        ConferirBanco();
        estacao = localidade = -1;
        try {
            const int e = EstadoDoPonto(PastaBanco() + "/", CoordenadaParaGraus(c.Latitude),
                                        CoordenadaParaGraus(c.Longitude));
            if (e >= 0) estado = e;
        } catch (const EConversao&) {
            // Unreadable texts are the window's to refuse, with its own message.
        }
    }
    return Executar(janela, estado, estacao, localidade, c);
}

bool TQuenda21::NoLugarEscolhido(const std::string& lat, const std::string& lon) const {
    if (indEstado_ < 0 || (indEstacao_ < 0 && indLocalidade_ < 0)) return false;
    try {
        TBDPrecipitacao bd(PastaBanco() + "/");
        std::string la, lo;
        if (indEstacao_ >= 0) {
            bd.LoadStations();
            const auto& v = bd.Stations(indEstado_);
            if (indEstacao_ >= static_cast<int>(v.size())) return false;
            la = v[size_t(indEstacao_)].Latitude, lo = v[size_t(indEstacao_)].Longitude;
        } else {
            bd.LoadLocalities(indEstado_);
            const auto& v = bd.Localities();
            if (indLocalidade_ >= static_cast<int>(v.size())) return false;
            la = v[size_t(indLocalidade_)].Latitude, lo = v[size_t(indLocalidade_)].Longitude;
        }
        return CoordenadaParaGraus(la) == CoordenadaParaGraus(lat) && CoordenadaParaGraus(lo) == CoordenadaParaGraus(lon);
    } catch (const std::exception&) {
        return false;
    }
}

bool TQuenda21::Executar(IJanelaConsulta& janela, int estado, int estacao, int localidade, const TCamposConsulta& c) {
    ConferirBanco();
    janela.SetHelpContext(helpContext_);
    if (estado < 0) throw EVandoro("É necessário entrar com um índice para o estado");

    janela.SetIndEstado(estado);
    janela.SetIndEstacao(estacao);
    janela.SetIndLocalidade(localidade);
    janela.SetShowAbout(showAbout_);
    if (c.K != 0) janela.SetK(c.K);
    if (c.A != 0) janela.SetA(c.A);
    if (c.B != 0) janela.SetB(c.B);
    if (c.C != 0) janela.SetC(c.C);
    if (CoordenadaPreenchida(c.Latitude)) janela.SetLatitude(c.Latitude);
    if (CoordenadaPreenchida(c.Longitude)) janela.SetLongitude(c.Longitude);
    // A parameter not yet set shows as an empty box, as an empty field does.
    auto texto = [](const char* formato, double v) { return v > 0 ? FormatFloat(formato, v) : std::string(); };
    janela.SetTextosParametros(texto("0.000", c.K), texto("0.0000", c.A), texto("0.000", c.B), texto("0.0000", c.C));
    if (!janela.ExecutarModal()) return false;

    // All four numbers first: a box that holds none leaves state, equation and place as they were.
    TPrecipitacaoExponencialNegativa& p = *precipitacao_;
    const double k = StrToFloat(janela.TextoK());
    const double a = StrToFloat(janela.TextoA());
    const double b = StrToFloat(janela.TextoB());
    const double cc = StrToFloat(janela.TextoC());
    indEstado_ = janela.IndEstado();
    strEstado_ = janela.StrEstado();
    p.SetK(k);
    p.SetA(a);
    p.SetB(b);
    p.SetC(cc);
    autoria_ = janela.Autoria();
    latitude_ = janela.Latitude();
    longitude_ = janela.Longitude();
    indEstacao_ = janela.IndEstacao();
    indLocalidade_ = janela.IndLocalidade();
    strCidade_ = janela.StrCidade();
    return true;
}

bool TQuenda21::Load(const std::string& arquivo) {
    try {
        {
            IniFile ini(arquivo);
            if (!ini.Loaded()) return false;
            if (ini.ReadString(kSecao, "Versao", "0") != "1") return false;
        }
        // The storm may move old keys between sections while it reads; a storm it cannot
        // read fails this load, or a damaged equation would pass for the project's.
        if (!precipitacao_->LoadFromProject(arquivo)) return false;

        IniFile ini(arquivo);
        if (!ini.Loaded()) return false;
        const std::string s = kSecao + secao_;
        latitude_ = ini.ReadString(s, "Latitude", "");
        longitude_ = ini.ReadString(s, "Longitude", "");
        indEstacao_ = IndiceLido(ini.ReadInteger(s, "IndEstacao", -1), kMaiorIndice);
        indLocalidade_ = IndiceLido(ini.ReadInteger(s, "IndLocalidade", -1), kMaiorIndice);
        strCidade_ = ini.ReadString(s, "StrCidade", "");
        indEstado_ = IndiceLido(ini.ReadInteger(s, "IndEstado", -1), kUltimoEstado);
        strEstado_ = ini.ReadString(s, "StrEstado", "");
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TQuenda21::Save(const std::string& arquivo) {
    try {
        {
            IniFile ini(arquivo);
            if (!ini.Loaded()) return false;
            ini.WriteString(kSecao, "Versao", "1");
            ini.UpdateFile();
        }
        if (!precipitacao_->SaveToProject(arquivo)) return false;
        IniFile ini(arquivo);
        if (!ini.Loaded()) return false;
        const std::string s = kSecao + secao_;
        ini.WriteString(s, "Latitude", latitude_);
        ini.WriteString(s, "Longitude", longitude_);
        ini.WriteInteger(s, "IndEstacao", indEstacao_);
        ini.WriteInteger(s, "IndLocalidade", indLocalidade_);
        ini.WriteString(s, "StrCidade", strCidade_);
        ini.WriteInteger(s, "IndEstado", indEstado_);
        ini.WriteString(s, "StrEstado", strEstado_);
        ini.UpdateFile();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

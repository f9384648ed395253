#include "rainfall/Quenda21.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "common/Erros.h"
#include "common/IniFile.h"
#include "common/Numeros.h"

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

bool TQuenda21::Execute(IJanelaConsulta& janela) {
    const std::string pasta = PastaBanco();
    std::error_code ec;
    if (!fs::is_directory(pasta, ec))
        throw EVandoro("Erro. Não foi possível localizar a pasta contendo o banco de dados.");
    if (!fs::exists(pasta + "/Estados_Qnd21.bin", ec))
        throw EVandoro("Erro. Não foi possível localizar o banco de dados contendo os estados.");
    if (!fs::exists(pasta + "/Localidades_Qnd21.bin", ec))
        throw EVandoro("Erro. Não foi possível localizar o banco de dados contendo as localidades.");

    janela.SetHelpContext(helpContext_);
    if (indEstado_ < 0) throw EVandoro("É necessário entrar com um índice para o estado");

    TPrecipitacaoExponencialNegativa& p = *precipitacao_;
    janela.SetIndEstado(indEstado_);
    janela.SetIndEstacao(indEstacao_);
    janela.SetIndLocalidade(indLocalidade_);
    janela.SetShowAbout(showAbout_);
    if (p.K() != 0) janela.SetK(p.K());
    if (p.A() != 0) janela.SetA(p.A());
    if (p.B() != 0) janela.SetB(p.B());
    if (p.C() != 0) janela.SetC(p.C());
    if (CoordenadaPreenchida(latitude_)) janela.SetLatitude(latitude_);
    if (CoordenadaPreenchida(longitude_)) janela.SetLongitude(longitude_);
    janela.SetTextosParametros(FormatFloat("0.000", p.K()), FormatFloat("0.0000", p.A()),
                               FormatFloat("0.000", p.B()), FormatFloat("0.0000", p.C()));
    if (!janela.ExecutarModal()) return false;

    // All four numbers first: a box that holds none leaves state, equation and place as they were.
    const double k = StrToFloat(janela.TextoK());
    const double a = StrToFloat(janela.TextoA());
    const double b = StrToFloat(janela.TextoB());
    const double c = StrToFloat(janela.TextoC());
    indEstado_ = janela.IndEstado();
    strEstado_ = janela.StrEstado();
    p.SetK(k);
    p.SetA(a);
    p.SetB(b);
    p.SetC(c);
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

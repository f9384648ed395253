#include "core/model/SistemaConservacao.h"

#include <cmath>
#include <exception>
#include <memory>

#include "core/common/Aritmetica.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/model/EncostaCinematica.h"
#include "core/model/Hidrograma.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"

const char* const kMensagemComprimentoCanal = " O comprimento máximo permitido para o canal é de 1500 metros. ";

namespace {
const char* const kErroNivel = "Erro no dimensinamento de canal";
const char* const kErroGradiente = "Erro no dimensinamento dos canais";
const char* const kSecaoTerracos = "Terracos";
const char* const kSecaoNivel = "TerracosNivel";
const char* const kSecaoTipo = "TipoSistema";
}  // namespace

// ---------------------------------------------------------- TTipoSistemaConservacao

std::string TTipoSistemaConservacao::Name(int i) {
    static const char* const nomes[] = {"Terraços em Nível (sem drenagem)",
                                        "Terraços com Gradiente (com drenagem)",
                                        "Barraginha",
                                        "Drenagem de Superfície com Inundação Parcial",
                                        "Drenagem de Superfície sem Inundação Parcial",
                                        "Bacia Acumulação"};
    return i >= 0 && i < Count ? nomes[i] : "";
}

bool TTipoSistemaConservacao::LoadIni(const IniFile& ini) {
    const std::string sec = kSecaoTipo + sectionSuffix_;
    if (ini.ReadString(sec, "Versao", "0") != "1") return false;
    const long long tipo = ini.ReadInteger(sec, "Tipo", -1);
    if (tipo < 0 || tipo >= Count) return false;
    SetIndex(std::uint8_t(tipo));
    return true;
}

void TTipoSistemaConservacao::SaveIni(IniFile& ini) const {
    const std::string sec = kSecaoTipo + sectionSuffix_;
    ini.WriteString(sec, "Versao", "1");
    ini.WriteInteger(sec, "Tipo", Index());
}

bool TTipoSistemaConservacao::LoadFromProject(const std::string& fileName) {
    return LerIni(fileName, [this](IniFile& ini) { return LoadIni(ini); });
}

bool TTipoSistemaConservacao::SaveToProject(const std::string& fileName) const {
    return GravarIni(fileName, [this](IniFile& ini) { SaveIni(ini); });
}

// -------------------------------------------------------------- TSelecaoTipoTerraco

std::string TSelecaoTipoTerraco::NomeMetodo(int m) {
    static const char* const nomes[] = {"Paraná", "Emater/RS", "Lombardi Neto", "Tipo Arbitrado"};
    return m >= 0 && m <= 3 ? nomes[m] : "";
}

std::string TSelecaoTipoTerraco::NomeTipoArbitrado(int i) {
    static const char* const nomes[] = {"Terraço de base estreita", "Terraço de base média",
                                        "Terraço de base larga", "Terraço do Tipo murundum",
                                        "Terraço em patamar"};
    return i >= 0 && i <= 4 ? nomes[i] : "";
}

void TSelecaoTipoTerraco::Clear() {
    tipoRecomendado_.clear();
    tipoArbitrado_ = 0;
    metodo_ = 0;
}

void TSelecaoTipoTerraco::SetArbitraryType(int i) {
    tipoArbitrado_ = std::int8_t(i);
    tipoRecomendado_ = NomeTipoArbitrado(i);
}

void TSelecaoTipoTerraco::Recommend(double S) {
    if (metodo_ == TipoArbitrado) return;  // keeps the arbitrary-type text
    tipoRecomendado_ = TipoPara(S);
}

std::string TSelecaoTipoTerraco::TipoPara(double S) const {
    if (metodo_ == TipoArbitrado) return NomeTipoArbitrado(tipoArbitrado_);
    if (std::isnan(S)) return {};  // no slope, no recommendation
    if (metodo_ == Parana) {
        if (S >= 2 && S <= 8) return "Terraços de Base Larga";
        if (S > 8 && S <= 12) return "Terraço com lado posterior do dique íngreme e Terraços de base média";
        if (S > 12 && S <= 18) return "Terraços de Base Estreita";
        if (S > 18 && S <= 50) return "Terraços em Patamar";
    } else if (metodo_ == EmaterRS) {
        if (S < 9) return "Terraços de base larga sem captação de água externa à propriedade";
        if (S < 10) return "Dois terraços de base larga e um terraço Tipo murundum (intercalados)";
        if (S < 12) return "Um terraço de base larga e um terraço Tipo murundum (intercalados)";
        return "Terraços Tipo Murundum";
    } else if (metodo_ == LombardiNeto) {
        if (S < 8) return "Terraços de Base Larga";
        if (S < 12) return "Terraços de Base Média";
        if (S < 18) return "Terraços de Base Estreita (incluindo terraço Tipo embutido, leirão ou murundum)";
        return "Terraços em Patamar";
    }
    return {};
}

// -------------------------------------------------------------- TSistemaConservacao

TSistemaConservacao::TSistemaConservacao(TTipoSistema tipo, const std::string& suffix)
    : TCanalGradiente(suffix), tipoProprio_(tipo) {
    espacamento_.SectionSuffix = suffix;
    tipo_.SetSectionSuffix(suffix);
    TSistemaConservacao::Clear();
}

void TSistemaConservacao::Clear() {
    TCanalGradienteCustom::Clear();
    espacamento_.Clear();
    capacidadeArmazenamento_ = 1.5;
    // A loaded project may have left another index; a fresh system is of its own kind.
    tipo_.SetTipo(tipoProprio_);
}

void TSistemaConservacao::Assign(const TSistemaConservacao& s) {
    if (&s == this) return;
    TCanalGradienteCustom::Assign(s);
    espacamento_.Assign(s.espacamento_);
    tipo_.Assign(s.tipo_);
    capacidadeArmazenamento_ = s.capacidadeArmazenamento_;
}

bool TSistemaConservacao::LoadIni(const IniFile& ini) {
    if (!TCanalGradienteCustom::LoadIni(ini)) return false;
    try {
        if (!espacamento_.LoadFromIni(ini)) return false;
    } catch (const std::exception&) {
        return false;  // a soil index beyond the table
    }
    const std::string sec = kSecaoTerracos + sectionSuffix_;
    if (ini.ReadString(sec, "Versao", "0") != "1") return true;  // an unknown version is skipped
    const long long tipo = ini.ReadInteger(sec, "TipoSistema", 0);
    if (tipo < 0 || tipo > 3) return false;
    tipo_.SetIndex(std::uint8_t(tipo));
    const double cap = ini.ReadFloat(sec, "CapacidadeArmazenamento", 0);
    capacidadeArmazenamento_ = cap > 0 && std::isfinite(cap) ? cap : 1.0;
    return true;
}

void TSistemaConservacao::SaveIni(IniFile& ini) const {
    TCanalGradienteCustom::SaveIni(ini);
    const std::string sec = kSecaoTerracos + sectionSuffix_;
    ini.WriteString(sec, "Versao", "1");
    espacamento_.SaveToIni(ini);
    ini.WriteInteger(sec, "TipoSistema", tipo_.Index());
    ini.WriteFloat(sec, "CapacidadeArmazenamento", capacidadeArmazenamento_);
}

// -------------------------------------------------------------------- TTerracosNivel

TTerracosNivel::TTerracosNivel() : TTerracosNivel("") {}

TTerracosNivel::TTerracosNivel(const std::string& suffix)
    : TSistemaConservacao(TTipoSistema::Nivel, suffix) {
    selecao_.Clear();
}

void TTerracosNivel::Clear() {
    TSistemaConservacao::Clear();
    selecao_.Clear();
}

void TTerracosNivel::Assign(const TTerracosNivel& s) {
    TSistemaConservacao::Assign(s);
    selecao_.Assign(s.selecao_);
}

bool TTerracosNivel::LoadIni(const IniFile& ini) {
    if (!TSistemaConservacao::LoadIni(ini)) return false;
    const std::string sec = kSecaoNivel + sectionSuffix_;
    if (ini.ReadString(sec, "Versao", "0") != "1") return false;
    const long long metodo = ini.ReadInteger(sec, "MetTipoTerraco", -1);
    if (metodo < -1 || metodo > 3) return false;
    const long long tipo = ini.ReadInteger(sec, "TipoArbitrado", -2);
    if (tipo < -2 || tipo > 127) return false;  // the index is held in 8 bits
    selecao_.SetMetodoSelecao(std::int8_t(metodo));
    selecao_.SetArbitraryType(int(tipo));
    return true;
}

void TTerracosNivel::SaveIni(IniFile& ini) const {
    TSistemaConservacao::SaveIni(ini);
    const std::string sec = kSecaoNivel + sectionSuffix_;
    ini.WriteString(sec, "Versao", "1");
    ini.WriteInteger(sec, "MetTipoTerraco", selecao_.MetodoSelecao());
    ini.WriteInteger(sec, "TipoArbitrado", selecao_.TipoArbitradoIndex());
}

void TTerracosNivel::SizeChannel(const TNumeroDaCurva& cn, TPrecipitacao& storm) {
    double les;
    try {
        les = cn.RunoffDepth(storm);
    } catch (const std::exception&) {
        throw EVandoro(kErroNivel);
    }
    SizeForRunoff(les, cn.St());
}

void TTerracosNivel::SizeForRunoff(double les, double St) {
    using namespace aritmetica;
    try {
        Finite(les);
        const double EH = espacamento_.EH();
        double h;
        if (secao_.Triangular()) {
            // V-channel whose walls rise with St and Sm holds LES/1000·EH per metre.
            const double Sm = sm_.Value();
            h = Sqrt(Div(les * EH * St * Sm, 500 * (St + Sm)));
        } else {
            const double Z = z_.Value(), B = b_;
            if (Z != 0)
                h = Div(Sqrt(EH * 4 * Z * les / 1000 + B * B) - B, 2 * Z);
            else
                h = Div(EH * (les / 1000), B);  // rectangular
        }
        SetH(Finite(h));
    } catch (const std::exception&) {
        throw EVandoro(kErroNivel);
    }
}

double TTerracosNivel::HeightFor(const TNumeroDaCurva& cn, TPrecipitacao& storm, double EH) const {
    TTerracosNivel copia;
    copia.Assign(*this);
    copia.espacamento_.SetEH(EH);
    copia.SizeChannel(cn, storm);
    return copia.H();
}

// ---------------------------------------------------------------- TTerracosGradiente

TTerracosGradiente::TTerracosGradiente() : TTerracosGradiente("") {}

TTerracosGradiente::TTerracosGradiente(const std::string& suffix)
    : TSistemaConservacao(TTipoSistema::Gradiente, suffix) {}

void TTerracosGradiente::SizeChannel(const TNumeroDaCurva& cn, TPrecipitacao& storm) {
    SetH(0);
    try {
        const double EH = espacamento_.EH();
        // Beyond these lengths the kinematic-wave grids would take minutes and gigabytes.
        if (!(EH >= 0) || EH > kMaxComprimentoGradiente || comprimento_ > kMaxComprimentoGradiente)
            throw EAritmetico(kErroGradiente);
        TEncostaCinematica encosta;
        encosta.UsoDoSolo().SetIndex(cn.UsoDoSolo().Index());
        encosta.Tratamento().SetIndex(cn.Tratamento().Index());
        encosta.CondicaoHidrologica().SetIndex(cn.CondicaoHidrologica().Index());
        encosta.SetComprimento(int32_t(std::nearbyint(EH)));  // the strip, in whole metres
        encosta.nt().SetValue(cn.nt().Value());
        encosta.SetVIB(cn.VIB());
        encosta.SetSt(cn.St());
        const int N = encosta.NodeCount();
        std::unique_ptr<THidrograma> hidrograma = encosta.SilentSlopeHydrograph(N, storm);
        const double q = aritmetica::Finite(
            CalculaHidrogramaCanal(comprimento_, *hidrograma, cn.VIB(), cn.St(), sc_, nc_.Value()) / 1000.0);
        SetQ(q);
        hidrograma.reset();
        // No discharge needs no channel (and would make the normal depth meaningless).
        const double h = q > 0 ? NormalDepth(sm_.Value(), cn.St(), sc_, nc_.Value(), b_, z_.Value(), q) : 0.0;
        SetH(aritmetica::Finite(h));
        SetQ(q * 1000);
    } catch (const std::exception&) {
        throw EVandoro(kErroGradiente);
    }
}

TTerracosGradiente::AlturaVazao TTerracosGradiente::HeightAndFlowFor(const TNumeroDaCurva& cn,
                                                                     TPrecipitacao& storm, double EH,
                                                                     double Sc, double nc,
                                                                     int comprimento) const {
    // Sized on a copy so that the design values of this system stay untouched.
    TTerracosGradiente copia;
    copia.Assign(*this);
    copia.espacamento_.SetEH(EH);
    copia.SetSc(Sc);
    copia.nc_.SetValue(nc);
    copia.SetComprimento(comprimento);
    copia.SizeChannel(cn, storm);
    return {copia.H(), copia.Q()};
}

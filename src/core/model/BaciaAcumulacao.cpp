#include "core/model/BaciaAcumulacao.h"

#include <cmath>
#include <numbers>

#include "core/common/Aritmetica.h"
#include "core/common/IniFile.h"

namespace {
const char* const kSecao = "BaciaAcumulacao";
}

TBaciaAcumulacao::TBaciaAcumulacao(const std::string& suffix)
    : sectionSuffix_(suffix), canal_("_BaciaAcumulacao" + suffix) {
    Clear();
}

std::string TBaciaAcumulacao::NomeFormato(int f) {
    if (f == Retangular) return " Retangular";
    if (f == SemiCircular) return " Semi-Circular";
    return "";
}

void TBaciaAcumulacao::Clear() {
    // The length and the channel depth are results that a new computation replaces.
    largura_ = raio_ = 0;
    m1_ = m2_ = 0;
    profundidade_ = 0;
    volume_ = 0;
    multiplicador_ = 0;
    canal_.Clear();
    formato_ = SemiCircular;
    calcularVolume_ = true;
}

void TBaciaAcumulacao::Assign(const TBaciaAcumulacao& s) {
    if (&s == this) return;  // the suffix names this object's own sections
    comprimento_ = s.comprimento_;
    largura_ = s.largura_;
    raio_ = s.raio_;
    m1_ = s.m1_;
    m2_ = s.m2_;
    profundidade_ = s.profundidade_;
    volume_ = s.volume_;
    multiplicador_ = s.multiplicador_;
    canal_.Assign(s.canal_);
    formato_ = s.formato_;
    calcularVolume_ = s.calcularVolume_;
}

void TBaciaAcumulacao::ComputeBasin(double q) {
    using namespace aritmetica;
    // The channel's Z value serves both as terrain slope and as side slope.
    const double z = canal_.Z().Value();
    profundidadeCanal_ =
        100 * canal_.NormalDepth(canal_.Sm().Value(), z, canal_.Sc(), canal_.nc().Value(), canal_.B(), z, q);
    const double k = multiplicador_, V = volume_, h = profundidade_;
    if (formato_ == Retangular) {
        // A trench of triangular cross-section (base (m1 + m2)·h, height h) and width W.
        const double L = (m1_ + m2_) * h;
        const double W = Div(2 * k * V, h * L);
        comprimento_ = L;
        largura_ = W;
    } else if (formato_ == SemiCircular) {
        const double R = Sqrt(Div(4 * k * V, std::numbers::pi * h));
        raio_ = R;
        comprimento_ = R;
    }
}

bool TBaciaAcumulacao::LoadIni(const IniFile& ini) {
    const std::string sec = kSecao + sectionSuffix_;
    if (ini.ReadString(sec, "Versao", "0") != "1") return false;
    const double prof = ini.ReadFloat(sec, "Profundidade", 0);
    const double m1 = ini.ReadFloat(sec, "m1", 0);
    const double m2 = ini.ReadFloat(sec, "m2", 0);
    const long long formato = ini.ReadInteger(sec, "Formato", 0);
    if (formato < 0 || formato > 255) return false;  // the shape is held in 8 bits
    const bool calcular = ini.ReadBool(sec, "CalcularVolume", true);
    if (!canal_.LoadIni(ini)) return false;
    SetProfundidade(std::isfinite(prof) ? prof : 0);
    Setm1(std::isfinite(m1) ? m1 : 0);
    Setm2(std::isfinite(m2) ? m2 : 0);
    formato_ = std::uint8_t(formato);
    calcularVolume_ = calcular;
    return true;
}

void TBaciaAcumulacao::SaveIni(IniFile& ini) const {
    const std::string sec = kSecao + sectionSuffix_;
    ini.WriteString(sec, "Versao", "1");
    ini.WriteFloat(sec, "Profundidade", profundidade_);
    ini.WriteFloat(sec, "m1", m1_);
    ini.WriteFloat(sec, "m2", m2_);
    ini.WriteInteger(sec, "Formato", formato_);
    ini.WriteBool(sec, "CalcularVolume", calcularVolume_);
    canal_.SaveIni(ini);
}

bool TBaciaAcumulacao::LoadFromProject(const std::string& fileName) {
    return LerIni(fileName, [this](IniFile& ini) { return LoadIni(ini); });
}

bool TBaciaAcumulacao::SaveToProject(const std::string& fileName) const {
    return GravarIni(fileName, [this](IniFile& ini) { SaveIni(ini); });
}

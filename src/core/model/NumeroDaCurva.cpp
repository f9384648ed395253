#include "core/model/NumeroDaCurva.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/model/Precipitacao.h"

// ------------------------------------------------------------------ choice names

std::string TUsoDoSolo::Name(int index) {
    static const char* const nomes[] = {"Sem cultivo",
                                        "Cultivo em fileiras",
                                        "Cultivo em fileiras estreitas",
                                        "Leguminosas em fileiras estreitas",
                                        "Pastagem para pastoreio",
                                        "Floresta"};
    return index >= 0 && index <= 5 ? nomes[index] : "";
}
std::string TUsoDoSolo::Name() const { return Name(index_); }

std::string TTratamento::Name(int index) {
    static const char* const nomes[] = {"", "Fileiras retas", "Com curvas de nível",
                                        "Curvas de nível e terraço"};
    return index >= 0 && index <= 3 ? nomes[index] : "";
}
std::string TTratamento::Name() const { return Name(index_); }

std::string TCondicaoHidrologica::Name(int index) {
    static const char* const nomes[] = {"-", "Má", "Regular", "Boa"};
    return index >= 0 && index <= 3 ? nomes[index] : "";
}
std::string TCondicaoHidrologica::Name() const { return Name(index_); }

// ------------------------------------------------------------------ TNumeroDaCurva

void TNumeroDaCurva::Clear() {
    vib_ = 0;
    usoDoSolo_.SetIndex(0);
    tratamento_.SetIndex(0);
    condicao_.SetIndex(0);
    nt_ = TReal(0, 0);
    st_ = 0;
}

void TNumeroDaCurva::Assign(const TNumeroDaCurva& s) {
    usoDoSolo_.SetIndex(s.usoDoSolo_.Index());
    tratamento_.SetIndex(s.tratamento_.Index());
    condicao_.SetIndex(s.condicao_.Index());
    SetVIB(s.vib_);
    st_ = s.st_;
    sectionSuffix_ = s.sectionSuffix_;
    nt_ = s.nt_;
}

int TNumeroDaCurva::ClasseInfiltracao() const {
    if (std::isnan(vib_)) return 0;
    if (vib_ <= 3) return 1;
    if (vib_ <= 40) return 2;
    if (vib_ <= 190) return 3;
    return 4;
}

namespace {

struct Linha {
    int uso, trat, cond;  // -1: any
    int cn[4];
};

// Land use, treatment, condition -> CN for the infiltration classes I1..I4. The first
// matching row wins, so the catch-all row of use 2, treatment 2 comes after its "Má" row.
const Linha kTabela[] = {
    {0, -1, -1, {98, 97, 94, 89}},
    {1, 1, 1, {97, 95, 92, 86}},
    {1, 1, 3, {96, 94, 90, 83}},
    {1, 2, 1, {95, 93, 91, 85}},
    {1, 2, 3, {94, 92, 88, 82}},
    {1, 3, 1, {92, 91, 88, 82}},
    {1, 3, 3, {92, 90, 86, 79}},
    {2, 1, 1, {95, 93, 89, 82}},
    {2, 1, 3, {95, 93, 88, 80}},
    {2, 2, 1, {94, 92, 88, 80}},
    {2, 2, -1, {93, 92, 87, 78}},
    {2, 3, 1, {92, 91, 86, 78}},
    {2, 3, 3, {92, 90, 85, 77}},
    {3, 1, 1, {96, 94, 89, 82}},
    {3, 1, 3, {94, 92, 86, 76}},
    {3, 2, 1, {94, 93, 88, 81}},
    {3, 2, 3, {93, 90, 84, 74}},
    {3, 3, 1, {93, 91, 87, 80}},
    {3, 3, 3, {91, 89, 83, 70}},
    {4, 1, 1, {96, 94, 91, 84}},
    {4, 1, 2, {93, 91, 84, 69}},
    {4, 1, 3, {91, 88, 78, 59}},
    {4, 2, 1, {95, 92, 83, 67}},
    {4, 2, 2, {93, 88, 77, 43}},
    {4, 2, 3, {91, 85, 55, 15}},
    {5, -1, 1, {93, 89, 82, 65}},
    {5, -1, 2, {91, 87, 78, 56}},
    {5, -1, 3, {89, 85, 74, 43}},
};

}  // namespace

int TNumeroDaCurva::CurveNumber() const {
    const int classe = ClasseInfiltracao();
    if (classe == 0) return 0;
    const int uso = usoDoSolo_.Index(), trat = tratamento_.Index(), cond = condicao_.Index();
    for (const Linha& l : kTabela) {
        if (l.uso != uso) continue;
        if (l.trat != -1 && l.trat != trat) continue;
        if (l.cond != -1 && l.cond != cond) continue;
        return l.cn[classe - 1];
    }
    return 0;
}

bool TNumeroDaCurva::CoberturaNaTabela(int uso, int trat, int cond) {
    for (const Linha& l : kTabela)
        if (l.uso == uso && (l.trat == -1 || l.trat == trat) && (l.cond == -1 || l.cond == cond)) return true;
    return false;
}

std::string TNumeroDaCurva::MensagemCobertura(int uso, int trat, int cond) {
    if (CoberturaNaTabela(uso, trat, cond)) return {};
    auto aspas = [](const std::string& s) { return "\"" + s + "\""; };
    auto lista = [&](const std::vector<std::string>& nomes) {
        std::string t;
        for (size_t i = 0; i < nomes.size(); ++i)
            t += (i == 0 ? "" : i + 1 == nomes.size() ? " ou " : ", ") + aspas(nomes[i]);
        return t;
    };
    std::string m = "A tabela do número da curva não tem valor para o uso do solo " + aspas(TUsoDoSolo::Name(uso)) +
                    (trat == 0 ? std::string(" sem tratamento") : " com o tratamento " + aspas(TTratamento::Name(trat))) +
                    " e a condição hidrológica " + aspas(TCondicaoHidrologica::Name(cond)) + ".";
    // Point the user to what the table has: conditions for this treatment, else treatments.
    std::vector<std::string> condicoes, tratamentos;
    for (int c = 0; c <= 3; ++c)
        if (CoberturaNaTabela(uso, trat, c)) condicoes.push_back(TCondicaoHidrologica::Name(c));
    for (int t = 1; t <= 3; ++t)
        if (CoberturaNaTabela(uso, t, 1) || CoberturaNaTabela(uso, t, 3)) tratamentos.push_back(TTratamento::Name(t));
    if (!condicoes.empty())
        m += " Escolha a condição " + lista(condicoes) + ".";
    else if (!tratamentos.empty())
        m += " Escolha o tratamento " + lista(tratamentos) + ".";
    return m;
}

void TNumeroDaCurva::VerificarCobertura() const {
    const std::string m = MensagemCobertura(usoDoSolo_.Index(), tratamento_.Index(), condicao_.Index());
    if (!m.empty()) throw EVandoro(m);
}

double TNumeroDaCurva::InitialAbstraction() const {
    const int cn = CurveNumber();
    if (cn == 0) return 0;
    return (100.0 / cn - 1.0) * 50.8;
}

double TNumeroDaCurva::AbstractionTime(const TPrecipitacao& storm) const {
    const double ia = InitialAbstraction();
    if (ia <= 0) return 0;
    // The double-exponential storm has no rain (and no depth) after its duration.
    double tMax = 1e6;
    if (auto* de = dynamic_cast<const TPrecipitacaoDuplaExponencial*>(&storm)) tMax = de->DurationMin();
    double low = 0, high = std::min(5.0, tMax);
    // Widen the bracket until it holds Ia; a storm that never gets there gives no runoff.
    while (storm.CumulativeDepth(high) <= ia) {
        if (high >= tMax) return kSemPreenchimentoAbstracao;
        low = high;
        high = std::min(2 * high, tMax);
    }
    double mid = (low + high) / 2;
    for (int it = 0; it < 300; ++it) {
        const double p = storm.CumulativeDepth(mid);
        if (std::fabs(p - ia) < 1e-7) break;
        if (p > ia)
            high = mid;
        else
            low = mid;
        const double next = (low + high) / 2;
        if (next == mid) break;  // the bracket cannot shrink any further
        mid = next;
    }
    return mid;
}

double TNumeroDaCurva::RunoffDepth(TPrecipitacao& storm) const {
    const double te = RunoffEndTime(storm, vib_);
    if (!(storm.Duracao() > 0)) storm.SetPrecipitacaoTotal(storm.CumulativeDepth(te));
    const double ta = AbstractionTime(storm);
    if (te <= 0 || te - ta <= 0) return 0;
    const double q = storm.DepthBetween(te, 0) - (te - ta) * vib_ / 60.0 - InitialAbstraction();
    return q >= 0 ? q : 0;
}

// ------------------------------------------------------------------ persistence

bool TNumeroDaCurva::LoadIni(const IniFile& ini) {
    const std::string cob = "Cobertura" + sectionSuffix_;
    const std::string ter = "Terreno" + sectionSuffix_;
    if (ini.ReadString(cob, "Versao", "0") != "1") return false;
    const long long uso = ini.ReadInteger(cob, "IndUso", -1);
    const long long cond = ini.ReadInteger(cob, "IndCond", -1);
    const long long trat = ini.ReadInteger(cob, "IndTrat", -1);
    if (uso < 0 || uso > 5 || cond < 0 || cond > 3 || trat < 0 || trat > 3) return false;
    usoDoSolo_.SetIndex(uint8_t(uso));
    condicao_.SetIndex(uint8_t(cond));
    tratamento_.SetIndex(uint8_t(trat));
    SetVIB(ini.ReadFloat(ter, "VIB", 0));
    SetSt(ini.ReadFloat(ter, "St", 0));
    nt_.SetValue(ini.ReadFloat(ter, "nt", 0));
    // -1 marks a value typed by the user, so it must read back; a missing key fails.
    const long long ind = ini.ReadInteger(ter, "Indnt", -2);
    if (ind < -1 || ind > 127) return false;
    nt_.SetIndex(int8_t(ind));
    return true;
}

void TNumeroDaCurva::SaveIni(IniFile& ini) const {
    const std::string cob = "Cobertura" + sectionSuffix_;
    const std::string ter = "Terreno" + sectionSuffix_;
    ini.WriteString(cob, "Versao", "1");
    ini.WriteInteger(cob, "IndUso", usoDoSolo_.Index());
    ini.WriteInteger(cob, "IndCond", condicao_.Index());
    ini.WriteInteger(cob, "IndTrat", tratamento_.Index());
    ini.WriteString(ter, "Versao", "1");
    ini.WriteFloat(ter, "VIB", vib_);
    ini.WriteFloat(ter, "St", st_);
    ini.WriteFloat(ter, "nt", nt_.Value());
    ini.WriteInteger(ter, "Indnt", nt_.Index());
}

bool TNumeroDaCurva::LoadFromProject(const std::string& fileName) {
    return LerIni(fileName, [this](IniFile& ini) { return LoadIni(ini); });
}

bool TNumeroDaCurva::SaveToProject(const std::string& fileName) {
    return GravarIni(fileName, [this](IniFile& ini) { SaveIni(ini); });
}

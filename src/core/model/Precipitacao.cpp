#include "core/model/Precipitacao.h"

#include <cmath>
#include <exception>
#include <functional>

#include "core/common/Aritmetica.h"
#include "core/common/DataHora.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/common/SerieGrafico.h"

namespace {

const char* const kANegativo = "Erro. O parâmetro \"a\" tem que ser maior ou igual a zero.";
const char* const kBNegativo = "Erro. O parâmetro \"b\" tem que ser maior ou igual a zero.";
const char* const kCNegativo = "Erro. O parâmetro \"c\" tem que ser maior ou igual a zero.";
const char* const kLaminaNegativa = "Erro. A lâmina precipitada tem que ser maior ou igual a zero.";
const char* const kDuracaoNegativa = "Erro. A duração total da precipitação tem que ser maior ou igual a  zero.";
const char* const kPicoNegativo = "Erro. A intensidade de pico da precipitação tem que ser ou igual a zero.";
const char* const kTempoPicoNegativo = "Erro. O tempo de ocorrência do pico da precipitação tem que ser maior ou igual a zero.";

const char* const kIntervaloInvalido = "Erro. Intervalo inválido para cálculo da lâmina precipitada.";
const char* const kTempoInicialMaior =
    "Erro. O tempo inicial é maior ou igual ao tempo final para cálculo da lâmina precipitada.";
const char* const kDivisaoFimEscoamento =
    "Erro: divisão por zero ao tentar calcular o tempo do fim do escoamento superficial "
    "utilizando o perfil de precipitação exponencial negativa.";

const char* const kVIBFimEscoamento =
    "Erro. A velocidade de infiltração básica (VIB) tem que ser maior que zero para calcular o tempo "
    "do fim do escoamento superficial.";
const char* const kCFimEscoamento =
    "Erro. O parâmetro \"c\" da equação de chuvas intensas tem que ser maior que zero para calcular o "
    "tempo do fim do escoamento superficial.";

}  // namespace

// ---------------------------------------------------------------- TPrecipitacao

const TCampoIni<TPrecipitacao> TPrecipitacao::kCampos[8] = {
    {"Duracao", &TPrecipitacao::duracao_},
    {"PrecipitacaoTotal", &TPrecipitacao::precipitacaoTotal_},
    {"IntensidadePico", &TPrecipitacao::intensidadePico_},
    {"TempoPico", &TPrecipitacao::tempoPico_},
    {"A", &TPrecipitacao::a_}, {"B", &TPrecipitacao::b_}, {"C", &TPrecipitacao::c_}, {"D", &TPrecipitacao::d_}};

TPrecipitacao::TPrecipitacao(const std::string& suffix) : sectionSuffix_(suffix) { TPrecipitacao::Clear(); }

void TPrecipitacao::Clear() {
    tag_ = -1;
    LimparCampos(*this, -1, kCampos);
}

void TPrecipitacao::Assign(const TPrecipitacao& s) {
    CopiarCampos(*this, s, kCampos);
    data_ = s.data_;
    tag_ = s.tag_;
}

// Every validated storm setter: negative values and NaN are refused and keep the old value.
void TPrecipitacao::Definir(double& campo, double x, const char* msg) {
    if (!(x >= 0)) throw EVandoro(msg);
    campo = x;
    Update();
}

void TPrecipitacao::SetA(double x) { Definir(a_, x, kANegativo); }
void TPrecipitacao::SetB(double x) { Definir(b_, x, kBNegativo); }
void TPrecipitacao::SetC(double x) { Definir(c_, x, kCNegativo); }
void TPrecipitacao::SetD(double x) {
    d_ = x;
    Update();
}
void TPrecipitacao::SetPrecipitacaoTotal(double x) { Definir(precipitacaoTotal_, x, kLaminaNegativa); }
void TPrecipitacao::SetDuracao(double x) { Definir(duracao_, x, kDuracaoNegativa); }
void TPrecipitacao::SetIntensidadePico(double x) { Definir(intensidadePico_, x, kPicoNegativo); }
void TPrecipitacao::SetTempoPico(double x) { Definir(tempoPico_, x, kTempoPicoNegativo); }

double TPrecipitacao::DepthBetween(double tEnd, double tStart) const {
    return CumulativeDepth(tEnd) - CumulativeDepth(tStart);
}

bool TPrecipitacao::LoadFromProject(const std::string& fileName) {
    return LerIni(fileName, [this](IniFile& ini) { return LoadIni(ini); });
}

bool TPrecipitacao::SaveToProject(const std::string& fileName) {
    return GravarIni(fileName, [this](IniFile& ini) { SaveIni(ini); });
}

bool TPrecipitacao::LoadIni(IniFile& ini) {
    Clear();
    const std::string prec = "PRECIPITACAO" + sectionSuffix_;
    const std::string quenda = "QUENDA" + sectionSuffix_;
    const std::string versao = ini.ReadString(prec, "Versao", "QUENDA");
    return LerSecao([&] {
        if (versao == "QUENDA" || versao == "1" || versao == "2") {
            const std::string& origem = versao == "2" ? prec : quenda;
            SetDuracao(ini.ReadFloat(origem, "Duracao", 0));
            SetPrecipitacaoTotal(ini.ReadFloat(origem, "PrecipitacaoTotal", 0));
            ini.WriteString(prec, "Versao", versao == "2" ? "3" : "2");
            ini.WriteFloat(prec, "Duracao", duracao_);
            ini.WriteFloat(prec, "PrecipitacaoTotal", precipitacaoTotal_);
            ini.DeleteKey(quenda, "Duracao");
            ini.DeleteKey(quenda, "PrecipitacaoTotal");
            return true;
        }
        if (versao != "3") return false;
        LerCampos(ini, prec, *this, kCampos);
        data_ = ini.ReadDateTime(prec, "Data", Now());
        return true;
    });
}

// A value the read refuses fails it; the storm is brought up to date either way.
bool TPrecipitacao::LerSecao(const std::function<bool()>& ler) {
    bool ok = false;
    try {
        ok = ler();
    } catch (const std::exception&) {
        ok = false;
    }
    Update();
    return ok;
}

void TPrecipitacao::SaveIni(IniFile& ini) {
    const std::string prec = "PRECIPITACAO" + sectionSuffix_;
    ini.WriteString(prec, "Versao", "3");
    GravarCampos(ini, prec, *this, kCampos);
    ini.WriteDateTime(prec, "Data", data_);
}

// ---------------------------------------------- TPrecipitacaoExponencialNegativa

TPrecipitacaoExponencialNegativa::TPrecipitacaoExponencialNegativa(const std::string& suffix) : TPrecipitacao(suffix) { Clear(); }

void TPrecipitacaoExponencialNegativa::Clear() {
    TPrecipitacao::Clear();
    tr_ = -1;
    k_ = -1;
    ktr_ = -1;
}

void TPrecipitacaoExponencialNegativa::Assign(const TPrecipitacao& source) {
    TPrecipitacao::Assign(source);
    if (auto* s = dynamic_cast<const TPrecipitacaoExponencialNegativa*>(&source)) {
        tr_ = s->tr_;
        k_ = s->k_;
    }
    Update();
}

void TPrecipitacaoExponencialNegativa::Update() {
    d_ = -1;
    if (k_ > 0 && tr_ > 0 && a_ > 0)
        ktr_ = k_ * std::exp(a_ * std::log(tr_));
    else
        ktr_ = -1;
    cktr_ = c_ * ktr_;
    c1_ = c_ + 1;
}

namespace {

const char* const kTrPositivo = "O valor do tempo de retorno (Tr) deve ser maior que zero.";
const char* const kKPositivo = "O valor do parâmetro \"K\" deve ser maior que zero.";

// A storm with no return period or no K has no intensity at all: both must be positive.
void AtribuirPositivo(double& campo, double x, const char* msg) {
    if (!(x > 0)) throw EVandoro(msg);
    campo = x;
}
}  // namespace

void TPrecipitacaoExponencialNegativa::SetTr(double x) {
    AtribuirPositivo(tr_, x, kTrPositivo);
    Update();
}

void TPrecipitacaoExponencialNegativa::SetK(double x) {
    AtribuirPositivo(k_, x, kKPositivo);
    Update();
}

double TPrecipitacaoExponencialNegativa::CumulativeDepth(double t) const {
    return ktr_ / aritmetica::Power(t + b_, c_) * t / 60.0;
}

double TPrecipitacaoExponencialNegativa::Intensity(double t) const {
    return ktr_ * aritmetica::Power(t + b_, -c_) * (1.0 - c_ * t / (t + b_));
}

double TPrecipitacaoExponencialNegativa::IntensitySlope(double t) const {
    return cktr_ / aritmetica::Power(t + b_, c1_) * (c1_ * t / (t + b_) - 2.0);
}

void TPrecipitacaoExponencialNegativa::PlotHyetograph(ISerieGrafico& series, IGraficoHietograma*) const {
    series.Clear();
    long n = duracao_ <= 0 ? 50 : static_cast<long>(std::nearbyint(duracao_));
    for (long t = 1; t <= n; ++t) series.AddXY(double(t), Intensity(double(t)));
}

// A storm never given is saved with Tr and K at -1 (older saves may hold 0): such a value
// reads back as not given, for the sizing to ask for, rather than as a damaged section.
void TPrecipitacaoExponencialNegativa::LerTrK(double tr, double k) {
    if (tr > 0)
        SetTr(tr);
    else
        tr_ = -1;
    if (k > 0)
        SetK(k);
    else
        k_ = -1;
}

bool TPrecipitacaoExponencialNegativa::LoadIni(IniFile& ini) {
    const bool ok = TPrecipitacao::LoadIni(ini);
    const std::string sec = "PREC_EXPONENCIAL_NEGATIVA" + sectionSuffix_;
    const std::string quenda = "QUENDA" + sectionSuffix_;
    const std::string versao = ini.ReadString(sec, "Versao", "QUENDA");
    static const char* const chaves[] = {"Tr", "K", "A", "B", "C"};
    const bool proprio = LerSecao([&] {
        if (versao == "QUENDA" || versao == "1" || versao == "2") {
            const std::string& origem = versao == "2" ? sec : quenda;
            double v[5];
            for (int i = 0; i < 5; ++i) v[i] = ini.ReadFloat(origem, chaves[i], 0);
            LerTrK(v[0], v[1]);
            SetA(v[2]);
            SetB(v[3]);
            SetC(v[4]);
            if (versao != "2") {
                ini.WriteString(sec, "Versao", "2");
                for (int i = 0; i < 5; ++i) {
                    ini.WriteFloat(sec, chaves[i], v[i]);
                    ini.DeleteKey(quenda, chaves[i]);
                }
            }
            return true;
        }
        if (versao != "3") return false;
        LerTrK(ini.ReadFloat(sec, "Tr", 0), ini.ReadFloat(sec, "K", 0));
        return true;
    });
    return ok && proprio;
}

void TPrecipitacaoExponencialNegativa::SaveIni(IniFile& ini) {
    TPrecipitacao::SaveIni(ini);
    const std::string sec = "PREC_EXPONENCIAL_NEGATIVA" + sectionSuffix_;
    ini.WriteString(sec, "Versao", "3");
    ini.WriteFloat(sec, "Tr", tr_);
    ini.WriteFloat(sec, "K", k_);
}

// ------------------------------------------------- TPrecipitacaoDuplaExponencial

TPrecipitacaoDuplaExponencial::TPrecipitacaoDuplaExponencial(const std::string& suffix) : TPrecipitacao(suffix) { Clear(); }

void TPrecipitacaoDuplaExponencial::Clear() {
    TPrecipitacao::Clear();
    Update();
}

void TPrecipitacaoDuplaExponencial::Assign(const TPrecipitacao& source) {
    TPrecipitacao::Assign(source);
    Update();
}

void TPrecipitacaoDuplaExponencial::Update() {
    durationMin_ = 60.0 * duracao_;
    peakTimeMin_ = tempoPico_ * durationMin_;
    // A constant whose condition fails keeps its previous value.
    if (duracao_ != 0) {
        riseRate_ = b_ / durationMin_;
        fallRate_ = -d_ / durationMin_;
        riseCoef_ = a_ * precipitacaoTotal_ / duracao_;
        fallCoef_ = c_ * precipitacaoTotal_ / duracao_;
    }
    if (b_ != 0) riseRatio_ = a_ / b_;
    if (d_ != 0) fallRatio_ = c_ / d_;
}

double TPrecipitacaoDuplaExponencial::Intensity(double t) const {
    if (t > durationMin_ || t < 0) return 0;
    if (t < peakTimeMin_) return riseCoef_ * std::exp(riseRate_ * t);
    return fallCoef_ * std::exp(fallRate_ * t);
}

double TPrecipitacaoDuplaExponencial::CumulativeDepth(double t) const {
    if (t < 0 || t > durationMin_) throw EVandoro(kIntervaloInvalido);
    const double p = precipitacaoTotal_;
    if (t <= peakTimeMin_) return p * (std::exp(riseRate_ * t) - 1.0) * riseRatio_;
    return p * ((std::exp(riseRate_ * peakTimeMin_) - 1.0) * riseRatio_ +
                (std::exp(fallRate_ * peakTimeMin_) - std::exp(fallRate_ * t)) * fallRatio_);
}

double TPrecipitacaoDuplaExponencial::DepthBetween(double tEnd, double tStart) const {
    if (tStart < 0 || tEnd > durationMin_) throw EVandoro(kIntervaloInvalido);
    if (tStart > tEnd) throw EVandoro(kTempoInicialMaior);
    return CumulativeDepth(tEnd) - CumulativeDepth(tStart);
}

double TPrecipitacaoDuplaExponencial::IntensitySlope(double t) const {
    if (t > peakTimeMin_) return fallRate_ * fallCoef_ * std::exp(fallRate_ * t);
    return riseRate_ * riseCoef_ * std::exp(riseRate_ * t);
}

void TPrecipitacaoDuplaExponencial::PlotHyetograph(ISerieGrafico& series, IGraficoHietograma* chart) const {
    series.Clear();
    if (precipitacaoTotal_ <= 0) return;
    if (chart) {
        chart->SetFormatoEixoHorizontal(duracao_ < 1 ? "0.00" : duracao_ < 3 ? "0.0" : "0");
        chart->SetFormatoEixoVertical(intensidadePico_ >= 5 ? "0" : "0.0");
    }
    const long n = static_cast<long>(std::nearbyint(durationMin_ / 0.01)) + 1;
    for (long i = 0; i < n; ++i) {
        const double t = 0.01 * double(i);
        series.AddXY(t, Intensity(t));
    }
}

bool TPrecipitacaoDuplaExponencial::LoadIni(IniFile& ini) {
    const bool ok = TPrecipitacao::LoadIni(ini);
    duracao_ /= 60.0;  // the file holds minutes
    Update();
    const std::string sec = "PREC_DUPLA_EXPONENCIAL" + sectionSuffix_;
    const std::string versao = ini.ReadString(sec, "Versao", "2");
    const bool proprio = LerSecao([&] {
        if (versao == "2") {
            a_ = ini.ReadFloat(sec, "a", 0);
            b_ = ini.ReadFloat(sec, "b", 0);
            c_ = ini.ReadFloat(sec, "c", 0);
            d_ = ini.ReadFloat(sec, "d", 0);
            SetTempoPico(ini.ReadFloat(sec, "TempoPico", 0));
            SetIntensidadePico(ini.ReadFloat(sec, "IntensidadePico", 0));
        }
        return versao == "2" || versao == "3";
    });
    return ok && proprio;
}

void TPrecipitacaoDuplaExponencial::SaveIni(IniFile& ini) {
    const double horas = duracao_;
    duracao_ = horas * 60.0;
    try {
        TPrecipitacao::SaveIni(ini);
    } catch (...) {
        duracao_ = horas;
        throw;
    }
    duracao_ = horas;
    ini.WriteString("PREC_DUPLA_EXPONENCIAL" + sectionSuffix_, "Versao", "3");
}

// ---------------------------------------------------------------- RunoffEndTime

double RunoffEndTime(const TPrecipitacao& storm, double f) {
    if (auto* ne = dynamic_cast<const TPrecipitacaoExponencialNegativa*>(&storm)) {
        try {
            if (f >= ne->Intensity(0)) return 0;
            // This profile's intensity only tends to zero (c = 0: it stays constant), so
            // the rain would never fall below the infiltration rate.
            if (!(f > 0)) throw EVandoro(kVIBFimEscoamento);
            if (!(ne->C() > 0)) throw EVandoro(kCFimEscoamento);
            double t = ne->Duracao() / 2.0;
            if (!(t >= 0)) t = 0;
            for (int it = 0; it < kMaxIteracoesFimEscoamento; ++it) {
                ne->scratchValue_ = ne->Intensity(t) - f;
                ne->scratchSlope_ = ne->IntensitySlope(t);
                double next = t - aritmetica::Div(ne->scratchValue_, ne->scratchSlope_);
                // The intensity is convex and decreasing: from the left of the root Newton
                // climbs to it monotonically, so an overshoot below t = 0 restarts at 0.
                if (next < 0) next = 0;
                if (std::fabs(next - t) < 1e-10) return next;
                t = next;
            }
        } catch (const EAritmetico&) {
            throw EAritmetico(kDivisaoFimEscoamento);
        }
        throw EVandoro(
            "Erro: o cálculo do tempo do fim do escoamento superficial não convergiu "
            "(perfil de precipitação exponencial negativa).");
    }
    if (auto* de = dynamic_cast<const TPrecipitacaoDuplaExponencial*>(&storm)) {
        if (de->IntensidadePico() <= f) return 0;
        de->bracketLow_ = de->PeakTimeMin();
        de->bracketHigh_ = de->DurationMin();
        double mid = 0;
        // Halving always settles; the cap only guards against a NaN bracket.
        for (int it = 0; it < 400 && !(std::fabs(de->bracketLow_ - de->bracketHigh_) <= 1e-7); ++it) {
            mid = (de->bracketLow_ + de->bracketHigh_) / 2.0;
            double g = de->Intensity(mid) - f;
            if (!std::isfinite(g)) g = 0;
            if (g > 0)
                de->bracketLow_ = mid;
            else
                de->bracketHigh_ = mid;
        }
        return mid < 0 ? 0 : mid;
    }
    return 0;
}

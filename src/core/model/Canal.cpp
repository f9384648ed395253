#include "core/model/Canal.h"

#include <cmath>
#include <exception>
#include <vector>

#include "core/common/Aritmetica.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/common/Numeros.h"
#include "core/model/Hidrograma.h"
#include "core/model/Precipitacao.h"

const char* const kMensagemCDuMinimo = "O valor do coeficiente de desuniformidade não pode ser inferior a 1.";

bool CDuAceito(double cdu) { return cdu >= kCDuMinimo; }

double AlturaRecomendadaM(double cdu, double H) { return std::sqrt(cdu) * H + kFolgaAltura; }
double AlturaTeoricaM(double cdu, double Hr) { return (Hr - kFolgaAltura) / std::sqrt(cdu); }
// Written apart from the metres' form so that a sizing result keeps its own rounding.
double AlturaRecomendada(double cdu, double H) { return std::sqrt(cdu) * H * 100.0 + kFolgaAltura * 100.0; }

namespace {
const char* const kErroDimensionamento = "Erro no dimensinamento de canal";
const char* const kErroRoteamento = "Ocorreu um erro em CalculaHidrogramaCanal.";
}  // namespace

std::string TSecaoCanal::Name(int index) {
    if (index == 0) return "Trapezoidal";
    if (index == 1) return "Triangular";
    return "";
}
std::string TSecaoCanal::Name() const { return Name(Index()); }

// ------------------------------------------------------------------------ TCanal

TCanal::TCanal() { Init(""); }
TCanal::TCanal(const std::string& suffix) { Init(suffix); }

void TCanal::Init(const std::string& suffix) {
    sectionSuffix_ = suffix;
    TCanal::Clear();
}

void TCanal::Clear() {
    b_ = h_ = hr_ = 0;
    cdu_ = 1;
    secao_.SetTipo(TTipoSecao::Triangular);
    sm_ = TReal(0, -1);
    z_ = TReal(0, -1);
}

void TCanal::Assign(const TCanal& s) {
    b_ = s.b_;
    h_ = s.h_;
    hr_ = s.hr_;
    cdu_ = s.cdu_;
    secao_.SetTipo(s.secao_.Tipo());
    sm_ = s.sm_;
    z_ = s.z_;
}

namespace {

// A value picked from a table is kept as its row ("Ind…", -1 for a value typed) and the value
// ("Valor…"); a row out of range fails the read.
bool LerEscolha(const IniFile& ini, const std::string& sec, const std::string& nome, TReal& v) {
    const long long ind = ini.ReadInteger(sec, "Ind" + nome, -2);
    if (ind < -1 || ind > 127) return false;
    v = TReal(ini.ReadFloat(sec, "Valor" + nome, 0), int8_t(ind));
    return true;
}

void GravarEscolha(IniFile& ini, const std::string& sec, const std::string& nome, const TReal& v) {
    ini.WriteInteger(sec, "Ind" + nome, v.Index());
    ini.WriteFloat(sec, "Valor" + nome, v.Value());
}

}  // namespace

bool TCanal::LoadIni(const IniFile& ini) {
    const std::string sec = "Canal" + sectionSuffix_;
    if (ini.ReadString(sec, "Versao", "0") != "1") return false;
    SetH(ini.ReadFloat(sec, "H", 0));
    SetHr(ini.ReadFloat(sec, "Hr", 0));
    SetB(ini.ReadFloat(sec, "B", 0));
    SetCDu(ini.ReadFloat(sec, "CDu", 0));
    if (!LerEscolha(ini, sec, "Z", z_) || !LerEscolha(ini, sec, "Sm", sm_)) return false;
    const long long tipo = ini.ReadInteger(sec, "TipoCanal", -1);
    if (tipo < 0 || tipo > 1) return false;
    secao_.SetTipo(TTipoSecao::Triangular);  // the program designs triangular channels only; 0 reads back as 1
    return true;
}

void TCanal::SaveIni(IniFile& ini) const {
    const std::string sec = "Canal" + sectionSuffix_;
    ini.WriteString(sec, "Versao", "1");
    ini.WriteFloat(sec, "H", h_);
    ini.WriteFloat(sec, "Hr", hr_);
    ini.WriteFloat(sec, "B", b_);
    ini.WriteFloat(sec, "CDu", cdu_);
    GravarEscolha(ini, sec, "Z", z_);
    GravarEscolha(ini, sec, "Sm", sm_);
    ini.WriteInteger(sec, "TipoCanal", secao_.Index());
}

bool TCanal::LoadFromProject(const std::string& fileName) {
    return LerIni(fileName, [this](IniFile& ini) { return LoadIni(ini); });
}

bool TCanal::SaveToProject(const std::string& fileName) {
    return GravarIni(fileName, [this](IniFile& ini) { SaveIni(ini); });
}

// --------------------------------------------------------- TCanalGradienteCustom

TCanalGradienteCustom::TCanalGradienteCustom() { TCanalGradienteCustom::Clear(); }
TCanalGradienteCustom::TCanalGradienteCustom(const std::string& suffix) : TCanal(suffix) {
    TCanalGradienteCustom::Clear();
}

void TCanalGradienteCustom::Clear() {
    nc_ = TReal(0, 0);
    comprimento_ = 0;
    sc_ = 0;
    q_ = 0;
    TCanal::Clear();
    secao_.SetTipo(TTipoSecao::Triangular);
}

void TCanalGradienteCustom::Assign(const TCanalGradienteCustom& s) {
    TCanal::Assign(s);
    sc_ = s.sc_;
    q_ = s.q_;
    comprimento_ = s.comprimento_;
    nc_ = s.nc_;
}

bool TCanalGradienteCustom::LoadIni(const IniFile& ini) {
    if (!TCanal::LoadIni(ini)) return false;
    const std::string sec = "CanalGradiente" + sectionSuffix_;
    if (ini.ReadString(sec, "Versao", "0") != "1") return true;  // an unknown version is skipped
    const long long comp = ini.ReadInteger(sec, "Comprimento", 0);
    SetComprimento(comp > INT32_MAX ? INT32_MAX : comp < 0 ? 0 : int32_t(comp));
    SetSc(ini.ReadFloat(sec, "Sc", 0));
    SetQ(ini.ReadFloat(sec, "Q", 0));
    const long long ind = ini.ReadInteger(sec, "Indnc", -2);
    if (ind < -1 || ind > 127) return false;
    nc_ = TReal(ini.ReadFloat(sec, "nc", 0), int8_t(ind));
    return true;
}

void TCanalGradienteCustom::SaveIni(IniFile& ini) const {
    TCanal::SaveIni(ini);
    const std::string sec = "CanalGradiente" + sectionSuffix_;
    ini.WriteString(sec, "Versao", "1");
    ini.WriteInteger(sec, "Comprimento", comprimento_);
    ini.WriteFloat(sec, "Sc", sc_);
    ini.WriteFloat(sec, "Q", q_);
    ini.WriteInteger(sec, "Indnc", nc_.Index());
    ini.WriteFloat(sec, "nc", nc_.Value());
}

double TCanalGradienteCustom::NormalDepth(double Sm, double St, double Sc, double nc, double B, double Z,
                                          double Q) const {
    using aritmetica::Power;
    if (Q == 0) return 0;  // no flow, no depth
    try {
        if (secao_.Triangular()) {
            const double s1 = std::sin(std::atan(Sm)), s2 = std::sin(std::atan(St));
            const double v = Q * nc * Power(2 * Sm * St, 5.0 / 3.0) *
                             Power(aritmetica::Div(s1 + s2, s1 * s2), 2.0 / 3.0) /
                             (aritmetica::Sqrt(Sc) * Power(Sm + St, 5.0 / 3.0));
            return Power(aritmetica::Finite(v), 3.0 / 8.0);
        }
        if (secao_.Trapezoidal()) {
            // Newton on A·R^(2/3) = Q·n/√S, in plain units so that Z = 0 (rectangle) works too.
            const double alvo = aritmetica::Div(Q * nc, aritmetica::Sqrt(Sc));
            const double w = 2 * std::sqrt(1 + Z * Z);
            double y = 1;
            for (int it = 0; it < 200; ++it) {
                const double A = y * (B + Z * y);
                const double P = B + w * y;
                const double R = aritmetica::Div(A, P);
                const double R23 = Power(R, 2.0 / 3.0);
                const double dA = B + 2 * Z * y;
                const double dR = (dA * P - A * w) / (P * P);
                const double deriv = dA * R23 + A * (2.0 / 3.0) * R23 / R * dR;
                const double delta = aritmetica::Div(A * R23 - alvo, deriv);
                double next = y - delta;
                if (next <= 0) next = y / 2;  // stay on the physical side
                y = next;
                if (std::fabs(delta) < 1e-7) return y;
            }
            throw EVandoro(std::string(kErroDimensionamento) +
                           ": a profundidade normal do canal trapezoidal não convergiu.");
        }
        return 0;
    } catch (const EAritmetico&) {
        throw EVandoro(kErroDimensionamento);
    }
}

// ---------------------------------------------------------------- TCanalGradiente

TCanalGradiente::Discretizacao TCanalGradiente::Discretiza(int L, double VIB) {
    Discretizacao d;
    if (L <= 0) return d;
    double dx = L / 100.0;
    if (dx > 5) dx = 5;
    const double n = std::nearbyint(L / dx + 0.4);
    dx = L / n;
    double dt0;
    if (VIB <= 10)
        dt0 = 0.1;
    else if (VIB <= 20)
        dt0 = 0.08;
    else if (VIB <= 30)
        dt0 = 0.06;
    else if (VIB <= 40)
        dt0 = 0.04;
    else if (VIB <= 50)
        dt0 = 0.02;
    else if (VIB <= 100) {
        dt0 = 0.01;
        dx /= 2;
    } else {
        dt0 = 0.005;
        dx /= 5;
    }
    d.dx = dx;
    d.dt = 4 * dt0;
    d.nodes = int(std::nearbyint(L / dx));
    return d;
}

double TCanalGradiente::CalculaHidrogramaCanal(int L, const THidrograma& hydrograph, double VIB, double St,
                                               double Sc, double nc) {
    using aritmetica::Div;
    using aritmetica::Power;
    bool temFluxo = false;
    for (const auto& p : hydrograph.Points())
        if (p.q > 0) temFluxo = true;
    if (!temFluxo) return 0;  // nothing ever enters the channel
    try {
        if (L <= 0) throw EAritmetico(kErroRoteamento);
        // Kinematic coefficients of Q = α·A^m for the section.
        double alpha, m;
        const double Sm = sm_.Value();
        if (secao_.Triangular()) {
            const double W = std::sqrt(1 + Sm * Sm) + std::sqrt(1 + St * St);
            alpha = Div(aritmetica::Sqrt(Sc), nc) * Power(Div(St + Sm, 2 * W * W), 1.0 / 3.0);
            m = 4.0 / 3.0;
        } else {
            TRegressao reg(25);
            const double B = b_, Z = z_.Value();
            for (int i = 1; i <= 25; ++i) {
                const double y = 0.2 * i;
                reg.X()[size_t(i - 1)] = y * (B + Z * y);
                reg.Y()[size_t(i - 1)] = B + 2 * y * std::sqrt(Z * Z + 1);
            }
            double a, b;
            reg.PowerFit(a, b);
            alpha = Div(aritmetica::Sqrt(Sc), nc * Power(a, 2.0 / 3.0));
            m = 5.0 / 3.0 - 2.0 / 3.0 * b;
        }
        aritmetica::Finite(alpha);
        // Grid along the channel and time step.
        const Discretizacao d = Discretiza(L, VIB);
        const double dx = d.dx, dt = d.dt, Dt = 60 * dt;
        const int N = d.nodes;
        if (N < 2) throw EAritmetico(kErroRoteamento);
        // Courant number and the flow-area threshold between the two schemes.
        const double c = alpha * Dt / dx;
        const double invM = Div(1.0, m);
        const double theta = Div(2.0, Power(c * m, Div(1.0, m - 1)));
        const double dxAlpha = dx / alpha, dxAlphaDt = dx / (alpha * Dt);
        // Flow area and discharge term at every node, empty at the start.
        std::vector<double> aOld(size_t(N), 0.0), aNew(size_t(N), 0.0), kOld(size_t(N), 0.0),
            kNew(size_t(N), 0.0);
        double t = hydrograph.Point(0).t;
        const double tLast = hydrograph.Points().back().t;
        // March in time until the outlet discharge starts to fall: that peak is the answer.
        for (long passo = 0; passo < kMaxPassosCanal; ++passo) {
            const double qL = t < tLast ? hydrograph.DischargeAt(t) / 1000.0 : 0.0;
            for (int i = 0; i + 1 < N; ++i) {
                double A;
                if (aOld[i] + aNew[i + 1] > theta) {
                    const double X = qL * dxAlpha + dxAlphaDt * (aOld[i] - aNew[i]) + kNew[i];
                    A = X > 0 ? Power(X, invM) : 0;
                } else {
                    A = qL * Dt + aOld[i + 1] + c * (kOld[i] - kOld[i + 1]);
                }
                aritmetica::Finite(A);
                if (i + 1 == N - 1 && A < aOld[N - 1]) return 1000 * alpha * std::pow(aOld[N - 1], m);
                if (A > 0) {
                    aNew[i + 1] = A;
                    kNew[i + 1] = Power(A, m);
                } else {
                    aNew[i + 1] = kNew[i + 1] = 0;
                }
            }
            t += dt;
            aOld = aNew;
            kOld = kNew;
            SetQ(hydrograph.DischargeAt(t) / 1000.0);
            if (q_ > 0) {
                kNew[0] = q_ * dx / alpha;
                aNew[0] = Power(kNew[0], invM);
            } else {
                kNew[0] = aNew[0] = 0;
            }
            for (int i = 1; i < N; ++i) aNew[i] = kNew[i] = 0;
        }
        throw EVandoro(std::string(kErroRoteamento) + " O cálculo não terminou após " +
                       IntToStr(kMaxPassosCanal) + " passos de tempo.");
    } catch (const EAritmetico&) {
        throw EVandoro(kErroRoteamento);
    } catch (const std::bad_alloc&) {
        throw EVandoro(kErroRoteamento);
    }
}

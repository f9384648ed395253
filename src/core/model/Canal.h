#pragma once
// Terrace channel cross-sections: Manning normal depth and kinematic-wave routing of the
// hillslope inflow along a graded channel. Lengths in m, slopes m/m, discharge m³/s.
#include <cstdint>
#include <string>

#include "core/model/NumeroDaCurva.h"  // TReal

class IniFile;
class THidrograma;

// The coefficient of unevenness: a channel built no more even than designed is 1.
constexpr double kCDuMinimo = 1;
extern const char* const kMensagemCDuMinimo;
// A coefficient a user may type (not below kCDuMinimo; NaN is refused).
bool CDuAceito(double cdu);

// The recommended height of a channel: √CDu·H plus 10 cm of freeboard, in metres of H in
// metres; its inverse gives back H. AlturaRecomendada is the same in centimetres.
constexpr double kFolgaAltura = 0.1;  // m
double AlturaRecomendadaM(double cdu, double H);
double AlturaTeoricaM(double cdu, double Hr);
double AlturaRecomendada(double cdu, double H);

enum class TTipoSecao : uint8_t { Trapezoidal = 0, Triangular = 1 };

class TSecaoCanal {
public:
    TTipoSecao Tipo() const { return tipo_; }
    void SetTipo(TTipoSecao t) { tipo_ = t; }
    bool Triangular() const { return tipo_ == TTipoSecao::Triangular; }
    bool Trapezoidal() const { return tipo_ == TTipoSecao::Trapezoidal; }
    // The project file's code ("TipoCanal"): 0 trapezoidal, 1 triangular; another code is
    // kept and is neither section.
    uint8_t Index() const { return static_cast<uint8_t>(tipo_); }
    void SetIndex(uint8_t i) { tipo_ = static_cast<TTipoSecao>(i); }
    std::string Name() const;           // "Trapezoidal" or "Triangular"
    static std::string Name(int index);  // empty for other indices

private:
    TTipoSecao tipo_ = TTipoSecao::Triangular;
};

class TCanal {
public:
    TCanal();
    explicit TCanal(const std::string& suffix);
    virtual ~TCanal() = default;

    virtual void Clear();
    void Assign(const TCanal& source);
    virtual bool LoadFromProject(const std::string& fileName);
    virtual bool SaveToProject(const std::string& fileName);
    // The same through an open file (for objects that add sections to one pass).
    virtual bool LoadIni(const IniFile& ini);
    virtual void SaveIni(IniFile& ini) const;

    double B() const { return b_; }
    void SetB(double x) { b_ = x >= 0 ? x : 0; }
    double H() const { return h_; }
    void SetH(double x) { h_ = x >= 0 ? x : 0; }
    double Hr() const { return hr_; }
    void SetHr(double x) { hr_ = x > 0 ? x : 0; }
    double CDu() const { return cdu_; }
    void SetCDu(double x) { cdu_ = x > 1 ? x : 1; }
    const std::string& SectionSuffix() const { return sectionSuffix_; }
    void SetSectionSuffix(const std::string& s) { sectionSuffix_ = s; }

    TSecaoCanal& Secao() { return secao_; }
    const TSecaoCanal& Secao() const { return secao_; }
    TReal& Sm() { return sm_; }
    const TReal& Sm() const { return sm_; }
    TReal& Z() { return z_; }
    const TReal& Z() const { return z_; }

protected:
    void Init(const std::string& suffix);

    double b_ = 0, h_ = 0, hr_ = 0, cdu_ = 1;
    std::string sectionSuffix_;
    TSecaoCanal secao_;
    TReal sm_{0, -1};
    TReal z_{0, -1};
};

class TCanalGradienteCustom : public TCanal {
public:
    TCanalGradienteCustom();
    explicit TCanalGradienteCustom(const std::string& suffix);

    void Clear() override;
    void Assign(const TCanalGradienteCustom& source);
    bool LoadIni(const IniFile& ini) override;
    void SaveIni(IniFile& ini) const override;

    double Sc() const { return sc_; }
    void SetSc(double x) { sc_ = x; }
    double Q() const { return q_; }
    void SetQ(double x) { q_ = x >= 0 ? x : 0; }
    int32_t Comprimento() const { return comprimento_; }
    void SetComprimento(int32_t x) { comprimento_ = x < 0 ? 0 : x; }
    TReal& nc() { return nc_; }
    const TReal& nc() const { return nc_; }

    // Manning normal depth (m) of discharge Q (m³/s) in the current section kind. Sm and St
    // are the wall slopes of the triangular section (vertical over horizontal), B and Z the
    // bottom width and side slope of the trapezoidal one. Raises EVandoro
    // ("Erro no dimensinamento de canal...") when the depth cannot be computed.
    double NormalDepth(double Sm, double St, double Sc, double nc, double B, double Z, double Q) const;

protected:
    double sc_ = 0;
    double q_ = 0;
    int32_t comprimento_ = 0;
    TReal nc_{0, 0};
};

class TCanalGradiente : public TCanalGradienteCustom {
public:
    TCanalGradiente() = default;
    explicit TCanalGradiente(const std::string& suffix) : TCanalGradienteCustom(suffix) {}

    // Peak discharge (L/s) at the outlet of a channel of length L (m) whose lateral inflow is
    // the hillslope hydrograph (min, L/s per m). 0 when the hydrograph carries no flow.
    // Leaves the last upstream inflow in Q. Raises EVandoro
    // ("Ocorreu um erro em CalculaHidrogramaCanal.") on arithmetic failure or when the
    // routing exceeds kMaxPassosCanal steps.
    double CalculaHidrogramaCanal(int L, const THidrograma& hydrograph, double VIB, double St, double Sc,
                                  double nc);

    // Discretisation the routing uses for a channel length and infiltration rate.
    struct Discretizacao {
        double dx = 0;   // m
        double dt = 0;   // min
        int nodes = 0;
    };
    static Discretizacao Discretiza(int L, double VIB);
};

constexpr long kMaxPassosCanal = 5000000;

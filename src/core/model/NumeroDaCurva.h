#pragma once
// Land description of the contributing hillslope and the curve-number runoff of a storm.
#include <cstdint>
#include <limits>
#include <string>

class IniFile;
class TPrecipitacao;

// A value chosen in an assistant table (Index = its row) or typed directly (Index = -1).
class TReal {
public:
    TReal() = default;
    TReal(double value, int8_t index) : value_(value), index_(index) {}
    double Value() const { return value_; }
    void SetValue(double v) { value_ = v; }
    int8_t Index() const { return index_; }
    void SetIndex(int8_t i) { index_ = i; }
    void Assign(const TReal& s) { *this = s; }

private:
    double value_ = 0;
    int8_t index_ = 0;
};

class TUsoDoSolo {
public:
    uint8_t Index() const { return index_; }
    void SetIndex(uint8_t i) { index_ = i; }
    std::string Name() const;
    static std::string Name(int index);  // empty outside 0..5

private:
    uint8_t index_ = 0;
};

class TTratamento {
public:
    uint8_t Index() const { return index_; }
    void SetIndex(uint8_t i) { index_ = i; }
    std::string Name() const;
    static std::string Name(int index);  // 0 is the empty text (no treatment)

private:
    uint8_t index_ = 1;
};

class TCondicaoHidrologica {
public:
    uint8_t Index() const { return index_; }
    void SetIndex(uint8_t i) { index_ = i; }
    std::string Name() const;
    static std::string Name(int index);

private:
    uint8_t index_ = 0;
};

// AbstractionTime's answer when the storm never fills the initial abstraction.
constexpr double kSemPreenchimentoAbstracao = std::numeric_limits<double>::infinity();

class TNumeroDaCurva {
public:
    TNumeroDaCurva() = default;
    explicit TNumeroDaCurva(double vib) { SetVIB(vib); }
    virtual ~TNumeroDaCurva() = default;

    virtual void Clear();
    void Assign(const TNumeroDaCurva& source);
    // Sections "Cobertura"+suffix and "Terreno"+suffix; any error gives false.
    virtual bool LoadFromProject(const std::string& fileName);
    virtual bool SaveToProject(const std::string& fileName);
    bool LoadIni(const IniFile& ini);  // throws nothing; false when a check fails
    void SaveIni(IniFile& ini) const;

    double VIB() const { return vib_; }
    void SetVIB(double x) { vib_ = x >= 0 ? x : 0; }
    double St() const { return st_; }
    void SetSt(double x) { st_ = x; }
    const std::string& SectionSuffix() const { return sectionSuffix_; }
    void SetSectionSuffix(const std::string& s) { sectionSuffix_ = s; }

    TUsoDoSolo& UsoDoSolo() { return usoDoSolo_; }
    const TUsoDoSolo& UsoDoSolo() const { return usoDoSolo_; }
    TTratamento& Tratamento() { return tratamento_; }
    const TTratamento& Tratamento() const { return tratamento_; }
    TCondicaoHidrologica& CondicaoHidrologica() { return condicao_; }
    const TCondicaoHidrologica& CondicaoHidrologica() const { return condicao_; }
    TReal& nt() { return nt_; }
    const TReal& nt() const { return nt_; }

    // Table value 0..98 for the land choices and the infiltration class of VIB.
    int CurveNumber() const;
    // Whether the table has a row for a land use, treatment and condition (any class).
    static bool CoberturaNaTabela(int uso, int trat, int cond);
    // Why a combination cannot be sized, naming what the table offers; "" when it can.
    static std::string MensagemCobertura(int uso, int trat, int cond);
    // Raises EVandoro with MensagemCobertura for the current choices: a combination the
    // table lacks would silently give CN 0 (no initial abstraction).
    void VerificarCobertura() const;
    // Infiltration class 1..4 of VIB (0 when VIB is not a number).
    int ClasseInfiltracao() const;
    double InitialAbstraction() const;  // mm
    // Minutes until the storm's cumulative depth reaches Ia; kSemPreenchimentoAbstracao
    // when it never does (no runoff).
    double AbstractionTime(const TPrecipitacao& storm) const;
    // Design runoff depth, mm. May set the storm's PrecipitacaoTotal (storm without duration).
    double RunoffDepth(TPrecipitacao& storm) const;

protected:
    double vib_ = 0;
    double st_ = 0;
    std::string sectionSuffix_;
    TUsoDoSolo usoDoSolo_;
    TTratamento tratamento_;
    TCondicaoHidrologica condicao_;
    TReal nt_{0, 0};
};

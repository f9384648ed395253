#pragma once
// Design storms: the negative-exponential profile read from an IDF equation and the
// double-exponential hyetograph. Times in minutes, intensities in mm/h, depths in mm.
#include <functional>
#include <string>
#include <vector>

#include "core/common/CamposIni.h"
#include "core/model/Regressao.h"  // the channel routing fits its section with it

class IniFile;
class ISerieGrafico;

// Axis formats of the chart that shows a hyetograph (the series alone cannot set them).
class IGraficoHietograma {
public:
    virtual ~IGraficoHietograma() = default;
    virtual void SetFormatoEixoHorizontal(const std::string& formato) = 0;
    virtual void SetFormatoEixoVertical(const std::string& formato) = 0;
};

class TPrecipitacao {
public:
    explicit TPrecipitacao(const std::string& suffix = "");
    virtual ~TPrecipitacao() = default;

    virtual void Update() = 0;
    virtual double IntensitySlope(double t) const = 0;
    virtual void Assign(const TPrecipitacao& source);
    virtual void Clear();
    // Opens the project file, reads (upgrading old storm sections in place) and writes back.
    virtual bool LoadFromProject(const std::string& fileName);
    virtual bool SaveToProject(const std::string& fileName);
    virtual void PlotHyetograph(ISerieGrafico& series, IGraficoHietograma* chart = nullptr) const = 0;
    virtual double Intensity(double t) const = 0;
    virtual double CumulativeDepth(double t) const = 0;
    // Note the order: end time first.
    // Depth fallen between two instants; this base takes no check of the interval.
    virtual double DepthBetween(double tEnd, double tStart) const;

    const std::string& SectionSuffix() const { return sectionSuffix_; }
    void SetSectionSuffix(const std::string& s) { sectionSuffix_ = s; }
    int Tag() const { return tag_; }
    void SetTag(int t) { tag_ = t; }

    double A() const { return a_; }
    double B() const { return b_; }
    double C() const { return c_; }
    double D() const { return d_; }
    double PrecipitacaoTotal() const { return precipitacaoTotal_; }
    double Duracao() const { return duracao_; }
    double IntensidadePico() const { return intensidadePico_; }
    double TempoPico() const { return tempoPico_; }
    double Data() const { return data_; }

    // Validating setters: a negative or NaN value raises EVandoro and keeps the old value.
    void SetA(double x);
    void SetB(double x);
    void SetC(double x);
    void SetD(double x);  // not validated
    void SetPrecipitacaoTotal(double x);
    void SetDuracao(double x);
    void SetIntensidadePico(double x);
    void SetTempoPico(double x);
    void SetData(double x) { data_ = x; }

    // Working values of RunoffEndTime, kept as fields of the storm.
    double ScratchValue() const { return scratchValue_; }
    double ScratchSlope() const { return scratchSlope_; }

protected:
    // Read/write through an already open file, so a profile adds its own section to the same
    // pass. They throw on read errors; the public operations turn that into false.
    virtual bool LoadIni(IniFile& ini);
    void Definir(double& campo, double x, const char* msg);
    bool LerSecao(const std::function<bool()>& ler);
    virtual void SaveIni(IniFile& ini);

    mutable double scratchValue_ = 0, scratchSlope_ = 0;
    mutable double bracketLow_ = 0, bracketHigh_ = 0;
    std::string sectionSuffix_;
    int tag_ = -1;
    double a_ = -1, b_ = -1, c_ = -1, d_ = -1;
    double precipitacaoTotal_ = -1;
    double duracao_ = -1;
    double intensidadePico_ = -1;
    double tempoPico_ = -1;
    double data_ = 0;
    // The storm's reals, as its section keeps them.
    static const TCampoIni<TPrecipitacao> kCampos[8];

    friend double RunoffEndTime(const TPrecipitacao& storm, double f);
};

class TPrecipitacaoExponencialNegativa : public TPrecipitacao {
public:
    explicit TPrecipitacaoExponencialNegativa(const std::string& suffix = "");

    void Update() override;
    double IntensitySlope(double t) const override;
    void Assign(const TPrecipitacao& source) override;
    void Clear() override;
    void PlotHyetograph(ISerieGrafico& series, IGraficoHietograma* chart = nullptr) const override;
    double Intensity(double t) const override;
    double CumulativeDepth(double t) const override;

    double KTr() const { return ktr_; }
    double Tr() const { return tr_; }
    double K() const { return k_; }
    void SetTr(double x);
    void SetK(double x);

protected:
    bool LoadIni(IniFile& ini) override;
    void SaveIni(IniFile& ini) override;

private:
    void LerTrK(double tr, double k);
    double ktr_ = -1;
    double cktr_ = 0;
    double c1_ = 0;
    double tr_ = -1;
    double k_ = -1;
};

// Duracao is held in hours here (the project file keeps minutes).
class TPrecipitacaoDuplaExponencial : public TPrecipitacao {
public:
    explicit TPrecipitacaoDuplaExponencial(const std::string& suffix = "");

    void Update() override;
    double IntensitySlope(double t) const override;
    void Assign(const TPrecipitacao& source) override;
    void Clear() override;
    void PlotHyetograph(ISerieGrafico& series, IGraficoHietograma* chart = nullptr) const override;
    double Intensity(double t) const override;
    double CumulativeDepth(double t) const override;
    double DepthBetween(double tEnd, double tStart) const override;

    double DurationMin() const { return durationMin_; }
    double PeakTimeMin() const { return peakTimeMin_; }
    double RiseRatio() const { return riseRatio_; }
    double FallRatio() const { return fallRatio_; }
    double RiseRate() const { return riseRate_; }
    double FallRate() const { return fallRate_; }
    double RiseCoef() const { return riseCoef_; }
    double FallCoef() const { return fallCoef_; }

protected:
    bool LoadIni(IniFile& ini) override;
    void SaveIni(IniFile& ini) override;

private:
    double durationMin_ = 0, peakTimeMin_ = 0;
    double riseRatio_ = 0, fallRatio_ = 0;
    double riseRate_ = 0, fallRate_ = 0;
    double riseCoef_ = 0, fallCoef_ = 0;
};

// Time (min) at which the storm's intensity falls to the infiltration rate f (mm/h); 0 when
// the storm never exceeds f. Raises EAritmetico/EVandoro when the search fails.
double RunoffEndTime(const TPrecipitacao& storm, double f);
// Iteration cap of the Newton search above.
constexpr int kMaxIteracoesFimEscoamento = 500;

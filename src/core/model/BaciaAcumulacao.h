#pragma once
// Small runoff-retention basin: plan dimensions that store the runoff volume of its
// contributing area at a chosen depth.
#include <cstdint>
#include <string>

#include "core/model/Canal.h"

class IniFile;

class TBaciaAcumulacao {
public:
    enum : std::uint8_t { Retangular = 0, SemiCircular = 1 };

    TBaciaAcumulacao() : TBaciaAcumulacao("") {}
    explicit TBaciaAcumulacao(const std::string& suffix);

    void Clear();
    void Assign(const TBaciaAcumulacao& source);  // everything but the channel depth
    // Section "BaciaAcumulacao"+suffix and the channel's sections; any error gives false.
    bool LoadFromProject(const std::string& fileName);
    bool SaveToProject(const std::string& fileName) const;
    bool LoadIni(const IniFile& ini);
    void SaveIni(IniFile& ini) const;

    // Channel depth (cm) for discharge q and the basin dimensions for the stored volume.
    // h = 0 or m1 + m2 = 0 raise an arithmetic error (EAritmetico).
    void ComputeBasin(double q);

    static std::string NomeFormato(int f);  // " Retangular", " Semi-Circular"

    const std::string& SectionSuffix() const { return sectionSuffix_; }
    double Comprimento() const { return comprimento_; }  // m; the radius for a semicircle
    double Largura() const { return largura_; }          // m
    double Raio() const { return raio_; }                // m
    double m1() const { return m1_; }
    void Setm1(double x) { m1_ = x >= 0 ? x : 0; }
    double m2() const { return m2_; }
    void Setm2(double x) { m2_ = x >= 0 ? x : 0; }
    double ProfundidadeCanal() const { return profundidadeCanal_; }  // cm
    double Profundidade() const { return profundidade_; }            // m
    void SetProfundidade(double x) { profundidade_ = x >= 0 ? x : 0; }
    double Volume() const { return volume_; }  // m³
    void SetVolume(double x) { volume_ = x >= 0 ? x : 0; }
    int32_t MultiplicadorVolume() const { return multiplicador_; }
    void SetMultiplicadorVolume(int32_t k) { multiplicador_ = k; }
    TCanalGradienteCustom& Canal() { return canal_; }
    const TCanalGradienteCustom& Canal() const { return canal_; }
    std::uint8_t Formato() const { return formato_; }
    void SetFormato(std::uint8_t f) { formato_ = f; }
    bool CalcularVolume() const { return calcularVolume_; }
    void SetCalcularVolume(bool b) { calcularVolume_ = b; }

private:
    std::string sectionSuffix_;
    double comprimento_ = 0;
    double largura_ = 0;
    double raio_ = 0;
    double m1_ = 0, m2_ = 0;
    double profundidadeCanal_ = 0;
    double profundidade_ = 0;
    double volume_ = 0;
    int32_t multiplicador_ = 0;
    TCanalGradienteCustom canal_;
    std::uint8_t formato_ = SemiCircular;
    bool calcularVolume_ = true;
};

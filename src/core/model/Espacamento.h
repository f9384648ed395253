#pragma once
// Spacing between consecutive terraces: vertical (EV) and horizontal (EH), by an empirical
// method, typed by the user, or derived from the storage capacity of the terrace channel.
#include <cstdint>
#include <string>
#include <vector>

class IniFile;

class TMetodologiaEspacamento {
public:
    enum : std::uint8_t {
        Bentley = 0,
        LombardiNeto = 1,
        Parana = 2,
        EspacamentoArbitrado = 3,
        AlturaArbitrada = 4,
        Nenhuma = 5
    };
    static constexpr int Count = 6;

    std::uint8_t Index() const { return index_; }
    // 0..5; anything else raises EVandoro and keeps the current index.
    void SetIndex(int i);
    std::string Name() const { return Name(index_); }
    static std::string Name(int i);  // empty outside 0..4

private:
    std::uint8_t index_ = 1;
};

// Crop factor U of the Lombardi Neto method.
class TCultura {
public:
    struct Linha {
        const char* nome;
        double u;
    };
    static const std::vector<Linha>& Tabela();  // in list order; the crop index is the row

    const std::string& Nome() const { return nome_; }
    void SetNome(const std::string& s) { nome_ = s; }
    std::int32_t Indice() const { return indice_; }
    void SetIndice(std::int32_t i) { indice_ = i; }
    double IndiceU() const { return indiceU_; }
    void SetIndiceU(double u) { indiceU_ = u; }
    // Takes name, index and U from the table; an index outside it raises EVandoro.
    void SelectFromTable(int i);

private:
    std::string nome_;
    std::int32_t indice_ = 0;
    double indiceU_ = 0.5;
};

// Soil erosion-resistance factor K of the Lombardi Neto method.
class TResistenciaErosao {
public:
    struct Linha {
        const char* grupo;
        const char* solos;
        double k;
    };
    static const std::vector<Linha>& Tabela();

    const std::string& Grupo() const { return grupo_; }
    void SetGrupo(const std::string& s) { grupo_ = s; }
    std::int32_t Indice() const { return indice_; }
    void SetIndice(std::int32_t i) { indice_ = i; }
    double IndiceK() const { return indiceK_; }
    void SetIndiceK(double k) { indiceK_ = k; }
    void SelectFromTable(int i);

private:
    std::string grupo_;
    std::int32_t indice_ = 0;
    double indiceK_ = 1.25;
};

// Tillage and crop-residue factor M of the Lombardi Neto method.
class TPreparoDoSolo {
public:
    struct Linha {
        const char* grupo;
        const char* primario;
        const char* secundario;
        const char* residuos;
        double m;
    };
    static const std::vector<Linha>& Tabela();

    const std::string& Grupo() const { return grupo_; }
    void SetGrupo(const std::string& s) { grupo_ = s; }
    const std::string& PreparoPrimario() const { return primario_; }
    void SetPreparoPrimario(const std::string& s) { primario_ = s; }
    const std::string& PreparoSecundario() const { return secundario_; }
    void SetPreparoSecundario(const std::string& s) { secundario_ = s; }
    const std::string& Residuos() const { return residuos_; }
    void SetResiduos(const std::string& s) { residuos_ = s; }
    std::int32_t Indice() const { return indice_; }
    void SetIndice(std::int32_t i) { indice_ = i; }
    double IndiceM() const { return indiceM_; }
    void SetIndiceM(double m) { indiceM_ = m; }
    void SelectFromTable(int i);

private:
    std::string grupo_, primario_, secundario_, residuos_;
    std::int32_t indice_ = 0;
    double indiceM_ = 0.5;
};

// Soil class of the Bentley (family 1) and Paraná (family 2) methods.
class TSolo {
public:
    static constexpr std::uint8_t FamiliaBentley = 1;
    static constexpr std::uint8_t FamiliaParana = 2;

    TSolo();
    const std::string& Nome() const { return nome_; }
    double IndiceSolo() const { return indiceSolo_; }
    std::uint8_t Index() const { return index_; }
    std::uint8_t Familia() const { return familia_; }
    void SetFamilia(std::uint8_t f) { familia_ = f; }
    // The family whose table a spacing method reads: Paraná's own soils, Bentley's otherwise.
    static std::uint8_t FamiliaDoMetodo(int metodo);
    // Fills name and IndiceSolo from the table of the current family.
    void SetIndex(int i);
    // Table entry without touching the object; raises like SetIndex.
    static void Consultar(int familia, int i, std::string& nome, double& indice);

private:
    std::string nome_;
    double indiceSolo_ = 0;
    std::uint8_t index_ = 0;
    std::uint8_t familia_ = FamiliaBentley;
};

// The vertical spacing of a horizontal spacing EH (m) on a terrain slope S (m/m).
double EspacamentoVertical(double EH, double S);

class TEspacamento {
public:
    TEspacamento();

    double EH() const { return eh_; }
    void SetEH(double x);
    double EV() const { return ev_; }
    void SetEV(double x);

    TMetodologiaEspacamento& Metodologia() { return metodologia_; }
    const TMetodologiaEspacamento& Metodologia() const { return metodologia_; }
    TCultura& Cultura() { return cultura_; }
    const TCultura& Cultura() const { return cultura_; }
    TResistenciaErosao& ResistenciaErosao() { return erosao_; }
    const TResistenciaErosao& ResistenciaErosao() const { return erosao_; }
    TPreparoDoSolo& PreparoDoSolo() { return preparo_; }
    const TPreparoDoSolo& PreparoDoSolo() const { return preparo_; }
    TSolo& Solo() { return solo_; }
    const TSolo& Solo() const { return solo_; }
    // The soil of the current index in the table of the current method's family.
    TSolo SoloDoMetodo() const;

    double CapArmaz() const { return capArmaz_; }
    void SetCapArmaz(double x) { capArmaz_ = x; }
    double AlturaTer() const { return alturaTer_; }
    void SetAlturaTer(double x) { alturaTer_ = x; }
    double LES() const { return les_; }
    void SetLES(double x) { les_ = x; }
    bool UsarCapArmaz() const { return usarCapArmaz_; }
    void SetUsarCapArmaz(bool b) { usarCapArmaz_ = b; }
    bool SecaoTriangular() const { return secaoTriangular_; }
    void SetSecaoTriangular(bool b) { secaoTriangular_ = b; }

    std::string SectionSuffix;

    void Clear();
    void Assign(const TEspacamento& src);

    // slope in m/m; dispatches on the method index.
    void ComputeSpacing(double slope);
    // Storage method: B bottom width (m), les runoff depth (mm), wall the upstream wall slope
    // Sm (triangular) or side slope Z (trapezoidal), cdu >= 1, height (m), slope (m/m).
    void SpacingFromCapacity(double B, double les, double wall, double cdu, double height,
                             double slope);

    bool LoadFromProject(const std::string& fileName);
    bool SaveToProject(const std::string& fileName) const;
    // The same on an open file (the terrace systems write it in the middle of their section).
    bool LoadFromIni(const IniFile& ini);
    void SaveToIni(IniFile& ini) const;

    std::string Section() const;

private:
    double eh_ = 0, ev_ = 0;
    TMetodologiaEspacamento metodologia_;
    TCultura cultura_;
    TResistenciaErosao erosao_;
    TPreparoDoSolo preparo_;
    TSolo solo_;
    double capArmaz_ = 0, alturaTer_ = 0, les_ = 0;
    bool usarCapArmaz_ = true, secaoTriangular_ = true;
};

// Slope limits of the empirical methods, as the sizing window and the spacing dialogs apply
// them. s is the terrain slope in m/m. unidade is the label the slope is shown with: "m/m"
// gives the messages in m/m ("0,20 m/m"), any other label in per cent ("20 %").
constexpr double kDeclividadeMaximaBentleyParana = 0.20;
// Paraná's equation is not used above 20 %: raises EVandoro with the method's message.
void VerificarDeclividadeParana(double s, const std::string& unidade = "%");
// Bentley above 20 % still computes; the warning, or empty within the limit.
std::string AvisoDeclividadeBentley(double s, const std::string& unidade = "%");
// Lombardi Neto: the recommended maximum slope (m/m) of an erosion-resistance group 0..3
// (A 0.16, B 0.14, C and D 0.12); another group raises the group-index error.
double DeclividadeMaximaLombardi(int grupo);
// The group's warning when s exceeds its maximum, else empty.
std::string AvisoDeclividadeLombardi(int grupo, double s, const std::string& unidade = "%");
// Level terraces are not recommended on soils of groups C and D (2, 3): the message that says
// so, empty for groups A and B.
std::string RecusaGrupoLombardiEmNivel(int grupo);
// The warning for the method of e (Bentley or Lombardi Neto with e's erosion group) at
// slope s; empty for the other methods and within the limits. Paraná refuses instead.
std::string AvisoDeclividade(const TEspacamento& e, double s, const std::string& unidade = "%");

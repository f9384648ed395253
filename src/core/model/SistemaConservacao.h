#pragma once
// Terrace systems: the spacing, the design runoff and the channel put together. Level
// terraces store the runoff of the strip above them; graded terraces carry it to an outlet.
#include <cstdint>
#include <string>

#include "core/model/Canal.h"
#include "core/model/Espacamento.h"

class IniFile;
class TNumeroDaCurva;
class TPrecipitacao;

// Kind of conservation system a project designs; the project file writes it as 0..5.
enum class TTipoSistema : std::uint8_t {
    Nivel = 0,
    Gradiente = 1,
    Barraginha = 2,
    DrenagemComInundacao = 3,
    DrenagemSemInundacao = 4,
    BaciaAcumulacao = 5
};

class TTipoSistemaConservacao {
public:
    static constexpr int Count = 6;

    TTipoSistema Tipo() const { return tipo_; }
    void SetTipo(TTipoSistema t) { tipo_ = t; }
    // The file's code of the type.
    std::uint8_t Index() const { return static_cast<std::uint8_t>(tipo_); }
    void SetIndex(std::uint8_t i) { tipo_ = static_cast<TTipoSistema>(i); }
    std::string Name() const { return Name(Index()); }
    static std::string Name(int i);  // empty outside 0..5

    void Clear() { tipo_ = TTipoSistema::Nivel; }
    void Assign(const TTipoSistemaConservacao& s) { tipo_ = s.tipo_; }
    // Section "TipoSistema"+suffix: "Versao" must be "1" and "Tipo" lie in 0..5.
    bool LoadFromProject(const std::string& fileName);
    bool SaveToProject(const std::string& fileName) const;
    bool LoadIni(const IniFile& ini);
    void SaveIni(IniFile& ini) const;

    const std::string& SectionSuffix() const { return sectionSuffix_; }
    void SetSectionSuffix(const std::string& s) { sectionSuffix_ = s; }

private:
    TTipoSistema tipo_ = TTipoSistema::Nivel;
    std::string sectionSuffix_;
};

// Constructive type of a level terrace recommended for a terrain slope.
class TSelecaoTipoTerraco {
public:
    enum : std::int8_t { Nenhum = -1, Parana = 0, EmaterRS = 1, LombardiNeto = 2, TipoArbitrado = 3 };

    const std::string& TipoRecomendado() const { return tipoRecomendado_; }
    std::int8_t MetodoSelecao() const { return metodo_; }
    void SetMetodoSelecao(std::int8_t m) { metodo_ = m; }
    std::int8_t TipoArbitradoIndex() const { return tipoArbitrado_; }

    // S = terrain slope in per cent; sets the text by the selection method.
    void Recommend(double S);
    // The text the selection gives at slope S (per cent): the method's row, or the arbitrary
    // type; empty where the method's table has no row for S.
    std::string TipoPara(double S) const;
    // Stores i and the matching arbitrary-type text (empty outside 0..4).
    void SetArbitraryType(int i);

    void Clear();
    void Assign(const TSelecaoTipoTerraco& s) { *this = s; }

    static std::string NomeMetodo(int m);       // "Paraná", ...; empty outside 0..3
    static std::string NomeTipoArbitrado(int i);  // "Terraço de base estreita", ...

private:
    std::string tipoRecomendado_;
    std::int8_t tipoArbitrado_ = 0;
    std::int8_t metodo_ = 0;
};

// Common part of both terrace kinds. The system is also its own channel.
class TSistemaConservacao : public TCanalGradiente {
public:
    TSistemaConservacao(const TSistemaConservacao&) = delete;
    TSistemaConservacao& operator=(const TSistemaConservacao&) = delete;

    void Clear() override;
    void Assign(const TSistemaConservacao& source);
    // Channel, spacing and the "Terracos" section in one pass; any error gives false.
    bool LoadIni(const IniFile& ini) override;
    void SaveIni(IniFile& ini) const override;

    // Sizes the channel for the design storm; cn carries the land and terrain data.
    virtual void SizeChannel(const TNumeroDaCurva& cn, TPrecipitacao& storm) = 0;

    double CapacidadeArmazenamento() const { return capacidadeArmazenamento_; }
    void SetCapacidadeArmazenamento(double x) { capacidadeArmazenamento_ = x; }
    TEspacamento& Espacamento() { return espacamento_; }
    const TEspacamento& Espacamento() const { return espacamento_; }
    // The system's own type: 0 level, 1 graded (a project may store 0..3).
    TTipoSistemaConservacao& TipoSistema() { return tipo_; }
    const TTipoSistemaConservacao& TipoSistema() const { return tipo_; }

protected:
    TSistemaConservacao(TTipoSistema tipo, const std::string& suffix);

    double capacidadeArmazenamento_ = 1.5;
    TEspacamento espacamento_;
    TTipoSistemaConservacao tipo_;
    TTipoSistema tipoProprio_;
};

// Level terraces ("sem drenagem"): H is the height that stores the runoff of one strip.
class TTerracosNivel : public TSistemaConservacao {
public:
    TTerracosNivel();
    explicit TTerracosNivel(const std::string& suffix);

    void Clear() override;
    void Assign(const TTerracosNivel& source);
    bool LoadIni(const IniFile& ini) override;
    void SaveIni(IniFile& ini) const override;

    // H (m) for the runoff depth of the storm and the spacing EH. Raises EVandoro
    // ("Erro no dimensinamento de canal") on failure.
    void SizeChannel(const TNumeroDaCurva& cn, TPrecipitacao& storm) override;
    // The same for a known runoff depth LES (mm) and terrain slope St (m/m).
    void SizeForRunoff(double LES, double St);
    // H (m) the sizing would give with horizontal spacing EH; the object is not changed.
    double HeightFor(const TNumeroDaCurva& cn, TPrecipitacao& storm, double EH) const;

    TSelecaoTipoTerraco& Selecao() { return selecao_; }
    const TSelecaoTipoTerraco& Selecao() const { return selecao_; }

private:
    TSelecaoTipoTerraco selecao_;
};

// Graded terraces ("com drenagem"): Q is the peak outlet discharge (L/s after sizing) and
// H its Manning flow depth.
constexpr double kMaxComprimentoGradiente = 10000;  // m
// The longest graded channel a design takes (m): a longer one is sized at this length,
// and the user is told so with kMensagemComprimentoCanal.
constexpr double kComprimentoMaximoCanal = 1500;
extern const char* const kMensagemComprimentoCanal;

class TTerracosGradiente : public TSistemaConservacao {
public:
    TTerracosGradiente();
    explicit TTerracosGradiente(const std::string& suffix);

    // Kinematic wave on the strip of width EH, routed along the channel. Raises EVandoro
    // ("Erro no dimensinamento dos canais") on failure, also when EH or the channel length
    // exceeds kMaxComprimentoGradiente. No runoff gives Q = 0 and H = 0.
    void SizeChannel(const TNumeroDaCurva& cn, TPrecipitacao& storm) override;

    struct AlturaVazao {
        double H = 0;  // m
        double Q = 0;  // L/s
    };
    // The sizing with these spacing (m), channel slope (m/m), roughness and length (m)
    // instead of the stored ones; the object is not changed, also when it raises.
    AlturaVazao HeightAndFlowFor(const TNumeroDaCurva& cn, TPrecipitacao& storm, double EH, double Sc,
                                 double nc, int comprimento) const;
};

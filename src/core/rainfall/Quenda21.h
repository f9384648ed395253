#pragma once
// Holds the design storm that the sizing and location windows use, remembers which place of
// the rainfall-equation database its equation came from, and keeps both in the project.
#include <memory>
#include <string>

#include "core/model/Precipitacao.h"

// What the component needs of the consultation window. The window implements it; the
// component drives it in a fixed order and reads the user's choice back.
class IJanelaConsulta {
public:
    virtual ~IJanelaConsulta() = default;
    virtual void SetHelpContext(int topico) = 0;
    virtual void SetIndEstado(int ind) = 0;
    virtual void SetIndEstacao(int ind) = 0;
    virtual void SetIndLocalidade(int ind) = 0;
    virtual void SetShowAbout(bool mostrar) = 0;
    virtual void SetK(double v) = 0;
    virtual void SetA(double v) = 0;
    virtual void SetB(double v) = 0;
    virtual void SetC(double v) = 0;
    virtual void SetLatitude(const std::string& texto) = 0;
    virtual void SetLongitude(const std::string& texto) = 0;
    // Texts of the four parameter boxes.
    virtual void SetTextosParametros(const std::string& k, const std::string& a, const std::string& b,
                                     const std::string& c) = 0;
    // Runs modally; true when closed with "&Fechar".
    virtual bool ExecutarModal() = 0;

    virtual int IndEstado() const = 0;
    virtual std::string StrEstado() const = 0;
    virtual std::string TextoK() const = 0;
    virtual std::string TextoA() const = 0;
    virtual std::string TextoB() const = 0;
    virtual std::string TextoC() const = 0;
    virtual std::string Autoria() const = 0;
    virtual std::string Latitude() const = 0;
    virtual std::string Longitude() const = 0;
    virtual int IndEstacao() const = 0;
    virtual int IndLocalidade() const = 0;
    virtual std::string StrCidade() const = 0;
};

// What a data-entry window holds when the user opens the consultation from it: the four
// parameters (0 for an empty field) and the coordinate texts typed (empty when none).
struct TCamposConsulta {
    double K = 0, A = 0, B = 0, C = 0;
    std::string Latitude, Longitude;
};

class TQuenda21 {
public:
    TQuenda21();
    TQuenda21(const TQuenda21&) = delete;
    TQuenda21& operator=(const TQuenda21&) = delete;

    // Clears the storm and brings the properties back to their reset values (Autoria kept).
    void Reset();
    void Assign(const TQuenda21& origem);

    // Opens the consultation window. Throws EVandoro when the database is missing or no
    // state index is set; true when the user closed it with "&Fechar".
    bool Execute(IJanelaConsulta& janela);
    // The same from a data-entry window, on what the window holds rather than on the storm:
    // an empty parameter shows as an empty box and never reaches a setter; coordinates typed
    // that are not those of the station or locality chosen before open on their own point,
    // in the state the maps put it in. "&Cancelar" changes nothing.
    bool Execute(IJanelaConsulta& janela, const TCamposConsulta& campos);

    // The "QUENDA" keys and the storm's own sections. Load: any failure gives false.
    bool Load(const std::string& arquivo);
    bool Save(const std::string& arquivo);
    bool LoadFromProject(const std::string& arquivo) { return Load(arquivo); }
    bool SaveToProject(const std::string& arquivo) { return Save(arquivo); }

    TPrecipitacaoExponencialNegativa& Precipitacao() { return *precipitacao_; }
    const TPrecipitacaoExponencialNegativa& Precipitacao() const { return *precipitacao_; }

    // Program folder ('/'-terminated); the database lives in "../Arquivos Comuns/Quenda" from it.
    const std::string& PastaPrograma() const { return pastaPrograma_; }
    void SetPastaPrograma(const std::string& s);
    std::string PastaBanco() const;

    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int v) { helpContext_ = v; }
    const std::string& Autoria() const { return autoria_; }
    void SetAutoria(const std::string& s) { autoria_ = s; }
    const std::string& Latitude() const { return latitude_; }
    void SetLatitude(const std::string& s) { latitude_ = s; }
    const std::string& Longitude() const { return longitude_; }
    void SetLongitude(const std::string& s) { longitude_ = s; }
    int IndLocalidade() const { return indLocalidade_; }
    void SetIndLocalidade(int v) { indLocalidade_ = v; }
    int IndEstacao() const { return indEstacao_; }
    void SetIndEstacao(int v) { indEstacao_ = v; }
    const std::string& StrCidade() const { return strCidade_; }
    void SetStrCidade(const std::string& s) { strCidade_ = s; }
    int IndEstado() const { return indEstado_; }
    void SetIndEstado(int v) { indEstado_ = v; }
    const std::string& StrEstado() const { return strEstado_; }
    void SetStrEstado(const std::string& s) { strEstado_ = s; }
    bool ShowAbout() const { return showAbout_; }
    void SetShowAbout(bool v) { showAbout_ = v; }
    const std::string& Secao() const { return secao_; }
    void SetSecao(const std::string& s) { secao_ = s; }

    // Text of an untouched coordinate field: blanks where the digits go.
    static const char* const kMascaraVazia;

private:
    void ConferirBanco() const;
    // The texts are the coordinates of the station or locality chosen before.
    bool NoLugarEscolhido(const std::string& lat, const std::string& lon) const;
    bool Executar(IJanelaConsulta& janela, int estado, int estacao, int localidade, const TCamposConsulta& campos);

    std::unique_ptr<TPrecipitacaoExponencialNegativa> precipitacao_;
    std::string pastaPrograma_;
    int helpContext_ = 0;
    std::string autoria_;
    std::string latitude_, longitude_;
    int indLocalidade_ = 0;
    int indEstacao_ = 0;
    std::string strCidade_;
    int indEstado_ = -1;
    std::string strEstado_;
    bool showAbout_ = false;
    std::string secao_;
};

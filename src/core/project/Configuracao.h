#pragma once
// The user's preferences that outlive a run: display units, default state, recent projects.
// The model always holds slopes in m/m and infiltration rates in mm/h; only entry fields
// follow the units here (shown = internal × factor, internal = typed ÷ factor).
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/project/Construcao.h"

struct TConfiguracao {
    std::string UDecli = "m/m";
    int KDecli = 1;
    std::string UVIB = "mm/h";
    double KVIB = 1.0;
    std::array<std::string, 4> Paths;  // path1..path4, most recent first
    int IndEstado = 0;                  // index into ListaEstados()
    TConfigConstrucao Construcao;       // section "CONSTRUCAO": what building the terraces takes

    // Makes a label and its factor agree: a known label sets its factor, an unknown label
    // falls back to the internal unit. A hand-edited file can therefore never give a
    // factor of 0 or a factor that contradicts the label beside the field.
    void Normalizar();
};

// "VANDORO4.ini", section "PRINCIPAL". A missing file or missing keys give the defaults;
// an "IndEstado" that is not an integer in 0..21 gives 0. False only when the file exists
// but cannot be read (the record then holds the defaults). 'corrigidas', when given,
// receives the keys present with a value that had to be replaced (an unknown unit, a
// factor that disagrees with its unit, a state that is not in the list).
bool CarregarConfiguracao(const std::string& arquivo, TConfiguracao& cfg,
                          std::vector<std::string>* corrigidas = nullptr);
// Writes the keys in their fixed order; false when the file cannot be written.
bool SalvarConfiguracao(const std::string& arquivo, const TConfiguracao& cfg);

// Where the settings live: beside the executable when that folder is writable, otherwise
// $XDG_CONFIG_HOME/Vandoro (or ~/.config/Vandoro), created on demand.
std::string ArquivoConfiguracao(const std::string& pastaPrograma);

// The 22 states of the settings dialog, index 0 first.
const std::vector<std::string>& ListaEstados();

// The settings list leaves out five of the 27 federative units of the rainfall database;
// this gives the database index of the same state (Bahia, 3 here, is 4 there).
int IndiceEstadoBanco(int indiceConfiguracao);

// Slope units: list index 0 "m/m" (factor 1), 1 "%" (100).
const std::vector<std::string>& UnidadesDeclividade();
int FatorDeclividade(int indice);
int IndiceDeclividade(const std::string& rotulo);  // -1 when it matches none
// Infiltration units: 0 "mm/h" (1.0), 1 "m/h" (0.001), 2 "m/dia" (0.024).
const std::vector<std::string>& UnidadesVIB();
double FatorVIB(int indice);
int IndiceVIB(const std::string& rotulo);  // -1 when it matches none

// Applies the choices of the settings dialog's OK (list indices; -1 keeps the current one).
void AplicarEscolhas(TConfiguracao& cfg, int indDecli, int indVIB, int indEstado);

// Text of an entry field after a unit change: an empty field stays empty, any other is
// rewritten from the model value in the new unit with "0.0######".
std::string ReexibirCampo(const std::string& textoAtual, double valorInterno, double fator);
double ParaExibicao(double valorInterno, double fator);
double ParaInterno(double valorExibido, double fator);

// Units component: a plain value with change events. No computation reads it.
enum class TUnidadesDeclividade { udPorcentagem, udMetroPorMetro };
enum class TUnidadesComprimento { ucCentimetro, ucMilimetro, ucMetro, ucQuilometro };
enum class TUnidadesVI { uvMetroHora, uvMilimetroHora, uvMetroDia, uvCentimetroDia };

class TUnidades {
public:
    TUnidades();

    TUnidadesDeclividade Declividade() const { return declividade_; }
    TUnidadesComprimento Comprimento() const { return comprimento_; }
    TUnidadesVI VI() const { return vi_; }
    void SetDeclividade(TUnidadesDeclividade u);
    void SetComprimento(TUnidadesComprimento u);
    void SetVI(TUnidadesVI u);

    double FatorDeclividade() const { return fatorDeclividade_; }
    const std::string& UnidadeDeclividade() const { return unidadeDeclividade_; }
    double FatorComprimento() const { return fatorComprimento_; }
    const std::string& UnidadeComprimento() const { return unidadeComprimento_; }
    double FatorVI() const { return fatorVI_; }
    const std::string& UnidadeVI() const { return unidadeVI_; }

    std::function<void()> OnChangeDeclividade;
    std::function<void()> OnChangeComprimento;
    std::function<void()> OnChangeVI;

private:
    static void Disparar(const std::function<void()>& evento);

    TUnidadesDeclividade declividade_;
    TUnidadesComprimento comprimento_;
    TUnidadesVI vi_;
    double fatorDeclividade_ = 1, fatorComprimento_ = 1, fatorVI_ = 1;
    std::string unidadeDeclividade_, unidadeComprimento_, unidadeVI_;
};

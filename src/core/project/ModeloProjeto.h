#pragma once
// The program's shared model objects and the project file's write and read sequences.
// The main window owns one; so does the command line. Windows work on it by reference.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/location/LocNivel.h"
#include "core/model/BaciaAcumulacao.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/project/Configuracao.h"
#include "core/project/IdentProjeto.h"
#include "core/rainfall/Quenda21.h"

class TGerenteSis;

class TModeloProjeto {
public:
    TModeloProjeto();
    ~TModeloProjeto();
    TModeloProjeto(const TModeloProjeto&) = delete;
    TModeloProjeto& operator=(const TModeloProjeto&) = delete;

    // Back to a new project: identification (today's date), both terrace systems, the
    // location engine, the curve-number object and the rainfall component (which gets the
    // default state index again); system type level. The basin, its contribution area,
    // the module and TipoPrec are left as they are.
    void Reset();
    // A new project: Reset, and the basin, its contribution area, the module and TipoPrec
    // back to their defaults too, so nothing of the previous project is carried into it.
    void Novo();

    // Writes every object into a temporary file beside 'arquivo' and renames it over the
    // target in one step; throws EVandoro("Não foi possível gravar o arquivo " + arquivo + ".")
    // and leaves the previous file untouched when any step fails.
    void EscreverProjeto(const std::string& arquivo);
    void EscreverObjetos(const std::string& arquivo);  // raises on the first object that fails
    // True when the file is a readable project of version "3.0" or "4.0" whose required
    // objects all loaded; the objects may be partly filled after a false.
    bool LerProjeto(const std::string& arquivo);
    // LerProjeto that throws EVandoro(MensagemNaoAbre(arquivo, why)).
    void AbrirProjeto(const std::string& arquivo);
    // Why 'arquivo' cannot be opened as a project, or "" when it can. The trial read runs
    // on a scratch model and a scratch copy: this model and the file stay as they are.
    std::string MotivoNaoAbre(const std::string& arquivo) const;
    // "Não foi possível abrir o arquivo " + arquivo + "." followed by the reason, if any.
    static std::string MensagemNaoAbre(const std::string& arquivo, const std::string& motivo);

    // The fields of the last project read whose values could not be read (not a number, or
    // a value no field may hold); they read as not given. Empty when all were read.
    const std::vector<std::string>& CamposIlegiveis() const { return camposIlegiveis_; }
    // The warning shown after such a project opened; "" when 'campos' is empty.
    static std::string AvisoCamposIlegiveis(const std::vector<std::string>& campos);
    // AbrirProjeto on a scratch copy: old storm sections are upgraded in the copy, never in
    // the user's file (for batch runs that must not touch their input).
    void AbrirProjetoSemAlterar(const std::string& arquivo);

    // Wires the manager's data events to this model, as the main window does: the trial
    // read of a chosen file (one that fails is refused before the current project is
    // touched), reset, a new project, read (a read that still fails closes the project
    // through the manager and raises the open message) and write.
    void LigarGerente(TGerenteSis& gerente);

    TQuenda21& Quenda() { return quenda_; }
    const TQuenda21& Quenda() const { return quenda_; }
    // The design storm of every sizing and location run.
    TPrecipitacaoExponencialNegativa& Precipitacao() { return quenda_.Precipitacao(); }
    TPrecipitacaoDuplaExponencial& PrecipitacaoDupla() { return *precipitacaoDupla_; }
    TTerracosNivel& TerracosNivel() { return *nivel_; }
    const TTerracosNivel& TerracosNivel() const { return *nivel_; }
    TTerracosGradiente& TerracosGradiente() { return *gradiente_; }
    const TTerracosGradiente& TerracosGradiente() const { return *gradiente_; }
    TBaciaAcumulacao& BaciaAcumulacao() { return *bacia_; }
    const TBaciaAcumulacao& BaciaAcumulacao() const { return *bacia_; }
    TNumeroDaCurva& NumeroDaCurva() { return *numeroDaCurva_; }
    const TNumeroDaCurva& NumeroDaCurva() const { return *numeroDaCurva_; }
    TTipoSistemaConservacao& TipoSistema() { return *tipoSistema_; }
    const TTipoSistemaConservacao& TipoSistema() const { return *tipoSistema_; }
    TIDProjeto& Identificacao() { return identificacao_; }
    const TIDProjeto& Identificacao() const { return identificacao_; }
    TLocacaoNivel& LocacaoNivel() { return *locacao_; }
    TConfiguracao& Configuracao() { return configuracao_; }
    const TConfiguracao& Configuracao() const { return configuracao_; }

    // The system the project designs: the level system for type 0, the graded one otherwise.
    TSistemaConservacao& SistemaAtual();

    const std::string& Modulo() const { return modulo_; }
    void SetModulo(const std::string& m) { modulo_ = m; }
    double AreaContribBacia() const { return areaContribBacia_; }
    void SetAreaContribBacia(double a) { areaContribBacia_ = a; }
    std::uint8_t TipoPrec() const { return tipoPrec_; }
    void SetTipoPrec(std::uint8_t t) { tipoPrec_ = t; }
    // The machine the design is built with, by its name in the settings ("" the default one).
    // Written only when chosen, so projects without one stay as they were.
    const std::string& Maquina() const { return maquina_; }
    void SetMaquina(const std::string& nome) { maquina_ = nome; }
    // Graded flow (L/s) of the last sizing, put back into the graded system before a report.
    double VazaoSalva() const { return vazaoSalva_; }
    void SetVazaoSalva(double q) { vazaoSalva_ = q; }

    // Project files larger than this are refused as unreadable.
    static constexpr std::uintmax_t kTamanhoMaximo = 4u * 1024u * 1024u;

private:
    // "" on success, otherwise why the file could not be read.
    std::string Ler(const std::string& arquivo);
    std::string LerCadeia(const std::string& arquivo);

    TQuenda21 quenda_;
    std::unique_ptr<TPrecipitacaoDuplaExponencial> precipitacaoDupla_;
    std::unique_ptr<TTerracosNivel> nivel_;
    std::unique_ptr<TTerracosGradiente> gradiente_;
    std::unique_ptr<TBaciaAcumulacao> bacia_;
    std::unique_ptr<TNumeroDaCurva> numeroDaCurva_;
    std::unique_ptr<TTipoSistemaConservacao> tipoSistema_;
    std::unique_ptr<TLocacaoNivel> locacao_;
    TIDProjeto identificacao_;
    TConfiguracao configuracao_;
    std::string modulo_;
    double areaContribBacia_ = 0;
    std::uint8_t tipoPrec_ = 0;
    double vazaoSalva_ = 0;
    std::string maquina_;
    std::vector<std::string> camposIlegiveis_;
};

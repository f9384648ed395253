#pragma once
// Kinematic-wave overland flow on a plane of unit width: the hydrograph that the strip
// between two terraces delivers to the channel below it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/model/Hidrograma.h"
#include "core/model/NumeroDaCurva.h"

class IProgresso;
class TPrecipitacao;

// What the plane is: a whole slope, or a reach of slope fed by an upstream hydrograph.
enum class TModoEncosta : std::uint8_t { EncostaInteira, Trecho };

class TEncostaCinematicaCustom : public TNumeroDaCurva {
public:
    TEncostaCinematicaCustom() { Clear(); }
    void Clear() override;

    int32_t Comprimento() const { return comprimento_; }
    // A negative length raises EVandoro; 0 is accepted.
    void SetComprimento(int32_t x);
    TModoEncosta Modo() const { return modo_; }
    void SetModo(TModoEncosta m) { modo_ = m; }
    const std::string& Texto() const { return texto_; }
    void SetTexto(const std::string& s) { texto_ = s; }
    double LaminaEscoada() const { return laminaEscoada_; }  // runoff depth of the last run

protected:
    std::string texto_;
    int32_t comprimento_ = 0;
    TModoEncosta modo_ = TModoEncosta::EncostaInteira;
    double laminaEscoada_ = 0;
};

class TEncostaCinematica : public TEncostaCinematicaCustom {
public:
    // Messages that the window shows to the user (the no-runoff notices).
    using TMensagem = std::function<void(const std::string&)>;

    TEncostaCinematica() { Clear(); }

    int NodeCount() const;
    // The kinematic-wave run. upstream and progress may be null. A run that finds no runoff
    // returns an empty hydrograph, sets SemEscoamento() and reports the reason through
    // OnMensagem (also kept in Mensagem()). An arithmetic failure raises EVandoro with the
    // contact lines; a run longer than kMaxPassosEncosta steps raises EVandoro.
    std::unique_ptr<THidrograma> SlopeHydrograph(const TPrecipitacao& storm, THidrograma* upstream, int N,
                                                 IProgresso* progress = nullptr);
    // Same run without upstream hydrograph, progress or messages; an arithmetic failure keeps
    // the points computed so far.
    std::unique_ptr<THidrograma> SilentSlopeHydrograph(int N, const TPrecipitacao& storm);

    bool SemEscoamento() const { return semEscoamento_; }
    const std::string& Mensagem() const { return mensagem_; }
    void SetOnMensagem(TMensagem m) { onMensagem_ = std::move(m); }

    static const char* const kErroCalculo;

private:
    std::unique_ptr<THidrograma> Run(const TPrecipitacao& storm, THidrograma* upstream, int N,
                                     IProgresso* progress, bool silent);
    void Avisar(const std::string& msg, bool silent);

    bool semEscoamento_ = false;
    std::string mensagem_;
    TMensagem onMensagem_;
};

constexpr long kMaxPassosEncosta = 2000000;

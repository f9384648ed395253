#pragma once
// Level-terrace location engine: state, project keys and the fields a progress window
// polls. The polled fields are atomic (the status text behind a mutex) so a window may
// read them, and set StopRequested, while the engine runs on a worker thread.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

class IProgresso;
class TTerracosNivel;
class TNumeroDaCurva;
class TPrecipitacao;

class TLocacaoNivel {
public:
    TLocacaoNivel() = default;
    TLocacaoNivel(const TLocacaoNivel&) = delete;
    TLocacaoNivel& operator=(const TLocacaoNivel&) = delete;

    // "LOCACAONIVEL" keys of the project file; any read error gives false.
    bool Load(const std::string& projectPath);
    bool Save(const std::string& projectPath) const;
    // Called when a project is closed or a new one begun.
    void Reset();

    double EV0() const { return ev0_; }
    double PixelArea() const { return pixelArea_; }
    double ProcessedArea() const { return processedArea_; }
    int32_t MetresPerUnit() const { return metresPerUnit_; }
    double FieldArea() const { return fieldArea_; }      // ha
    double FieldAreaM2() const { return fieldAreaM2_; }  // m²

    TTerracosNivel* TerracosNivel() const { return terracos_; }
    TNumeroDaCurva* NumeroDaCurva() const { return runoff_; }
    TPrecipitacao* Precipitacao() const { return rainfall_; }

    // Inputs of the last run (printed by the location report).
    const std::string& RunElevPath() const { return runElev_; }
    const std::string& RunSlopePath() const { return runSlope_; }
    const std::string& RunOutputPath() const { return runOutput_; }

    const std::string& fnImgElev() const { return fnImgElev_; }
    const std::string& fnImgDecli() const { return fnImgDecli_; }
    const std::string& fnVetSaida() const { return fnVetSaida_; }
    void SetfnImgElev(const std::string& s) { fnImgElev_ = s; }
    void SetfnImgDecli(const std::string& s) { fnImgDecli_ = s; }
    void SetfnVetSaida(const std::string& s) { fnVetSaida_ = s; }

    std::string StatusText() const;
    void SetStatusText(const std::string& text);  // assigns only when different
    int32_t TerraceCount() const { return terraceCount_.load(); }
    double Progress() const { return progress_.load(); }
    bool StopRequested() const { return stopRequested_.load(); }
    void SetStopRequested(bool v) { stopRequested_.store(v); }

    // Optional second channel for progress and cancellation (not owned).
    void SetProgresso(IProgresso* p) { progresso_ = p; }
    IProgresso* Progresso() const { return progresso_; }

private:
    double ev0_ = 0;
    double pixelArea_ = 0;
    double processedArea_ = 0;
    int32_t metresPerUnit_ = 0;
    double fieldArea_ = 0;
    double fieldAreaM2_ = 0;
    TTerracosNivel* terracos_ = nullptr;
    TNumeroDaCurva* runoff_ = nullptr;
    TPrecipitacao* rainfall_ = nullptr;
    mutable std::mutex statusMutex_;
    std::string statusText_;
    std::string runElev_, runSlope_, runOutput_;
    std::string fnImgElev_, fnImgDecli_, fnVetSaida_;
    std::atomic<int32_t> terraceCount_{0};
    std::atomic<double> progress_{0};
    std::atomic<bool> stopRequested_{false};
    IProgresso* progresso_ = nullptr;
};

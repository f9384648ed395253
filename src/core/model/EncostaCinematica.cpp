#include "core/model/EncostaCinematica.h"

#include <cmath>
#include <vector>

#include "core/common/Aritmetica.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Progresso.h"
#include "core/model/Precipitacao.h"

const char* const TEncostaCinematica::kErroCalculo =
    "Ocorreu um erro quando calculando o hidrograma na encosta.\n"
    "Por favor, entre em contato com a equipe do Vandoro informando as condições da simulação\n"
    "(chuva, solo, cobertura, declividade, rugosidade e comprimento da encosta):\n"
    "Equipe de desenvolvimento do Vandoro 4.1 (os contatos estão em Ajuda > Sobre o Vandoro).";

void TEncostaCinematicaCustom::Clear() {
    TNumeroDaCurva::Clear();
    laminaEscoada_ = 0;
    comprimento_ = 0;
    modo_ = TModoEncosta::EncostaInteira;
}

void TEncostaCinematicaCustom::SetComprimento(int32_t x) {
    if (x < 0) {
        if (modo_ == TModoEncosta::EncostaInteira)
            throw EVandoro("O Item do comprimento da encosta não pode ser menor ou igual a zero.");
        throw EVandoro("O Item do comprimento de um trecho da encosta não pode ser menor ou igual a zero.");
    }
    comprimento_ = x;
}

int TEncostaCinematica::NodeCount() const {
    if (comprimento_ > 50) return int(std::nearbyint(comprimento_ / 0.5));
    return 100;
}

void TEncostaCinematica::Avisar(const std::string& msg, bool silent) {
    if (silent) return;
    mensagem_ = msg;
    if (onMensagem_) onMensagem_(msg);
}

std::unique_ptr<THidrograma> TEncostaCinematica::SlopeHydrograph(const TPrecipitacao& storm,
                                                                 THidrograma* upstream, int N,
                                                                 IProgresso* progress) {
    return Run(storm, upstream, N, progress, false);
}

std::unique_ptr<THidrograma> TEncostaCinematica::SilentSlopeHydrograph(int N, const TPrecipitacao& storm) {
    return Run(storm, nullptr, N, nullptr, true);
}

namespace {

double PassoTempo(double f) {
    if (f <= 10) return 0.35;
    if (f <= 30) return 0.30;
    if (f <= 60) return 0.25;
    if (f <= 90) return 0.20;
    if (f <= 120) return 0.15;
    return 0.10;
}

}  // namespace

std::unique_ptr<THidrograma> TEncostaCinematica::Run(const TPrecipitacao& storm, THidrograma* upstream,
                                                     int N, IProgresso* progress, bool silent) {
    using aritmetica::Power;
    semEscoamento_ = false;
    mensagem_.clear();
    const double f = vib_;
    const std::string tie = "Para Tie = " + FormatFloat("0.0#", f);
    auto semEscoamento = [&](const std::string& msg) {
        semEscoamento_ = true;
        Avisar(msg, silent);
        return std::make_unique<THidrograma>();
    };
    const std::string tieMaior = tie +
                                 " e para as condições fornecidas não existe escoamento, pois a "
                                 "Tie é maior do que a intensidade instantânea de precipitação.";

    // Storms that never rain faster than the soil takes in.
    if (auto* ne = dynamic_cast<const TPrecipitacaoExponencialNegativa*>(&storm)) {
        if (modo_ == TModoEncosta::EncostaInteira) {
            bool abaixo = false;
            try {
                abaixo = ne->KTr() / Power(ne->B(), ne->C()) < f;
            } catch (const EAritmetico&) {
                abaixo = false;  // B = 0: the intensity at the start is unbounded
            }
            if (abaixo) return semEscoamento(tieMaior);
        }
    } else if (auto* de = dynamic_cast<const TPrecipitacaoDuplaExponencial*>(&storm)) {
        if (de->IntensidadePico() < f) return semEscoamento(tieMaior);
    }

    // Runoff window: from the filling of the initial abstraction to the end of runoff.
    const double te = RunoffEndTime(storm, f);
    const double ta = AbstractionTime(storm);
    if ((modo_ == TModoEncosta::EncostaInteira && ta > te) || std::isinf(ta))
        return semEscoamento(tie + " e para as condições" +
                             " fornecidas não existe escoamento, pois o tempo para preenchimento das" +
                             " abstrações iniciais é maior do que o tempo final do escoamento.");

    if (progress) progress->ProcessEvents();
    if (N < 1) throw EVandoro("O número de nós da encosta deve ser maior do que zero.");

    // Grid and time step.
    const double L = comprimento_;
    double dx = L / 100.0;
    if (dx > 0.5) dx = 0.5;
    const double dt = PassoTempo(f);
    const double Dt = 60.0 * dt;
    const bool comMontante = upstream != nullptr;

    auto result = std::make_unique<THidrograma>();
    THidrograma& R = *result;
    double alpha = 0;
    bool limite = false;
    try {
        alpha = aritmetica::Div(aritmetica::Sqrt(st_), nt_.Value());
        // The upstream strip is read with this strip's kinematic coefficients.
        if (upstream) {
            upstream->SetAlpha(alpha);
            upstream->SetBeta(5.0 / 3.0);
        }
        // A single node is the excess hydrograph itself.
        if (N == 1) {
            R.AddPoint(0, ta);
            double t = ta;
            for (long k = 0;; ++k) {
                if (k >= kMaxPassosEncosta) {
                    limite = true;
                    break;
                }
                t += dt;
                double p = (storm.Intensity(t) - f) * dx / 3600.0;
                if (upstream) p += upstream->DischargeAt(t);
                aritmetica::Finite(p);
                R.AddPoint(p > 0 ? p : 0, t);
                if (p <= 0) break;
            }
        } else {
            const size_t n = size_t(N);
            std::vector<double> hOld(n, 0.0), hNew(n, 0.0), kOld(n, 0.0), kNew(n, 0.0);
            R.AddPoint(0, ta);
            double t = ta + dt;
            auto fronteira = [&](double tempo) {
                double d = (storm.Intensity(tempo) - f) * dx / 3600.0;
                if (upstream && upstream->Count() > 0) d += upstream->DischargeAt(tempo);
                aritmetica::Finite(d);
                if (d > 0) {
                    kNew[0] = d / (1000.0 * alpha);
                    hNew[0] = Power(kNew[0], 0.6);
                } else {
                    kNew[0] = hNew[0] = 0;
                }
                return d;
            };
            const double D = fronteira(t);
            const double c1 = aritmetica::Div(dx, alpha * Dt);
            const double c2 = aritmetica::Div(1.0, c1);
            const double theta = 1.0 / Power(5.0 / 3.0 * c2, 1.5);
            if (D >= 0) {
                for (long k = 1;; ++k) {
                    if (k > kMaxPassosEncosta) {
                        limite = true;
                        break;
                    }
                    if (progress && k % 23 == 0) {
                        progress->SetStatus(FormatFloat("0.0", t));
                        progress->ProcessEvents();
                    }
                    const double r = (storm.Intensity(t) - f) / 3600000.0;
                    double h = 0;
                    for (size_t i = 1; i < n; ++i) {
                        if (hNew[i - 1] + hOld[i] > theta) {
                            const double X = (hOld[i - 1] - hNew[i - 1]) * c1 + r * dx / alpha + kNew[i - 1];
                            h = X > 0 ? Power(X, 0.6) : 0;
                        } else {
                            h = hOld[i] + r * Dt + (kOld[i - 1] - kOld[i]) * c2;
                        }
                        aritmetica::Finite(h);
                        if (h > 0) {
                            hNew[i] = h;
                            kNew[i] = Power(h, 5.0 / 3.0);
                        } else {
                            hNew[i] = kNew[i] = 0;
                        }
                    }
                    if (h <= 0 && (modo_ == TModoEncosta::EncostaInteira || (!comMontante && R.Count() > 1) ||
                                   (comMontante && upstream->Count() == 0)))
                        break;
                    t += dt;
                    if (h > 0) R.AddPoint(1000.0 * alpha * Power(h, 5.0 / 3.0), t - dt);
                    hOld = hNew;
                    kOld = kNew;
                    fronteira(t);
                    for (size_t i = 1; i < n; ++i) hNew[i] = kNew[i] = 0;
                    if (modo_ != TModoEncosta::EncostaInteira && comMontante && upstream->Count() > 0 &&
                        t > upstream->Points().back().t && h <= 0)
                        break;
                }
            }
        }
        // Close the hydrograph at zero discharge.
        if (R.Count() > 0 && R.Points().back().q != 0) R.AddPoint(0, R.Points().back().t + dt);
    } catch (const EAritmetico&) {
        if (!silent) throw EVandoro(kErroCalculo);
    }
    if (limite)
        throw EVandoro("O cálculo do hidrograma na encosta não terminou após " + IntToStr(kMaxPassosEncosta) +
                       " passos de tempo.");
    // Fewer than three points make no hydrograph; otherwise its peak and runoff depth.
    if (R.Count() < 3) {
        R.Clear();
    } else {
        R.SetAlpha(alpha);
        R.SetBeta(5.0 / 3.0);
        R.Analyse(N * dx * 1000.0);
        laminaEscoada_ = R.RunoffDepth();
    }
    return result;
}

#include "core/raster/Filtro.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

#include "core/common/Numeros.h"
#include "core/common/Threads.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Gives the caption back and clears status and progress however the run ends.
struct Restaura {
    IProgresso* p;
    const std::string& legenda;
    bool status;
    ~Restaura() {
        if (!p) return;
        try {
            if (status) {
                p->SetStatus("");
                p->SetPosition(0);
            }
            p->SetCaption(legenda);
        } catch (...) {
        }
    }
};

// One output row of the mean from the padded rows above, current and below. Column sums
// first, so each cell adds three sums instead of nine values.
VANDORO_VETORIZA void FiltroLinha(const float* a, const float* m, const float* b, long long n,
                                  std::vector<double>& soma, std::vector<int>& conta, float* out) {
    double* s = soma.data();
    int* k = conta.data();
    for (long long i = 0; i < n + 2; ++i) {
        s[i] = static_cast<double>(a[i]) + m[i] + b[i];
        k[i] = (a[i] != 0.0f) + (m[i] != 0.0f) + (b[i] != 0.0f);
    }
    for (long long i = 1; i <= n; ++i) {
        const double t = s[i - 1] + s[i] + s[i + 1];
        const int c0 = k[i - 1] + k[i] + k[i + 1];
        const double c = c0 > 0 ? c0 : 1;
        out[i - 1] = m[i] != 0.0f ? static_cast<float>(t / c) : 0.0f;
    }
}

std::unique_ptr<TImagem> Carrega(const std::string& entrada) {
    auto img = std::make_unique<TImagem>();
    if (entrada.empty() || !img->LoadFromFile(entrada)) throw EArquivoEntrada();
    return img;
}

std::string Legenda(const std::string& legenda, int n) {
    return legenda + " - Processando filtro número " + IntToStr(n);
}

}  // namespace

void ChecaFiltragens(long long passadas) {
    if (passadas < 1 || passadas > kMaxFiltragens)
        throw EVandoro("O número de filtragens deve estar entre 1 e " + IntToStr(kMaxFiltragens) + ".");
}

std::string TituloFiltro(const std::string& entrada) {
    return "Imagem filtrada do arquivo de imagem " + NomeSemCaminho(entrada);
}

TFaixaFiltro FiltroPassada(const TImagem& origem, TImagem& destino, bool inteiro,
                           float noDataLeitura, float valorZero, IProgresso* progresso) {
    const int rows = origem.Rows();
    const long long cols = origem.Columns();
    const size_t largura = static_cast<size_t>(cols + 2);
    TFaixaFiltro f;
    try {
        // Rows of a file store go through one stream: one thread for those.
        const bool memoria = origem.StorageMode() == TModoArmazenamento::Memoria &&
                             destino.StorageMode() == TModoArmazenamento::Memoria;
        const int nf = NumeroFaixas(rows, memoria ? NumeroThreads() : 1);
        // The destination may be the source.
        const TBordasFaixas bordas = BordasDasFaixas(origem, nf, inteiro, noDataLeitura);
        std::vector<float> maximos(static_cast<size_t>(nf), 0.0f), minimos(static_cast<size_t>(nf), TFFunc::kSemPositivo);
        std::atomic<bool> parar{false};
        ParaFaixas(rows, nf, [&](int k, int ini, int fim) {
            std::vector<float> buf[3];
            for (auto& b : buf) b.assign(largura, 0.0f);
            std::vector<double> soma(largura);
            std::vector<int> conta(largura);
            std::vector<float> out(static_cast<size_t>(cols)), grava(static_cast<size_t>(cols));
            const std::vector<float>& depoisFaixa = bordas.depois[static_cast<size_t>(k)];
            float* a = buf[0].data();
            float* m = buf[1].data();
            float* b = buf[2].data();
            std::copy(bordas.antes[static_cast<size_t>(k)].begin(), bordas.antes[static_cast<size_t>(k)].end(), a);
            // Row r + 1 into b: from the source inside the band, else the copy taken above.
            auto seguinte = [&](int r) {
                if (r + 1 < fim) LeLinhaComBorda(origem, r + 1, b, inteiro, noDataLeitura);
                else std::copy(depoisFaixa.begin(), depoisFaixa.end(), b);
            };
            LeLinhaComBorda(origem, ini, m, inteiro, noDataLeitura);
            seguinte(ini);
            float mx = 0, mn = TFFunc::kSemPositivo;
            for (int r = ini; r < fim; ++r) {
                if (k == 0 && progresso && progresso->StopRequested()) parar = true;
                if (parar) throw ECalculoInterrompido();
                if (r > ini) {
                    std::swap(a, m);
                    std::swap(m, b);  // a = old m, m = old b, b = old a (reused)
                    seguinte(r);
                }
                FiltroLinha(a, m, b, cols, soma, conta, out.data());
                float rmx = TFFunc::RowMax(out.data(), cols);
                mx = r == ini ? rmx : std::max(mx, rmx);
                mn = std::min(mn, TFFunc::RowMinPositive(out.data(), cols));
                for (long long i = 0; i < cols; ++i) {
                    float v = out[static_cast<size_t>(i)];
                    grava[static_cast<size_t>(i)] = v != 0.0f ? v : valorZero;
                }
                // Row r of the source is already in the buffers, so writing over it is safe.
                destino.WriteRow(r, grava.data());
                if (k == 0 && progresso) progresso->ProcessEvents();
            }
            maximos[static_cast<size_t>(k)] = mx;
            minimos[static_cast<size_t>(k)] = mn;
        });
        float mx = 0, mn = TFFunc::kSemPositivo;
        for (int k = 0; k < nf; ++k) {
            mx = k == 0 ? maximos[0] : std::max(mx, maximos[static_cast<size_t>(k)]);
            mn = std::min(mn, minimos[static_cast<size_t>(k)]);
        }
        f.max = mx;
        f.min = mn == TFFunc::kSemPositivo ? 0.0f : mn;
    } catch (const std::bad_alloc&) {
        SemMemoria(origem);
    }
    return f;
}

// ---------------------------------------------------------------------------------------

void TFiltroTipoSingle::Status(const std::string& texto) {
    if (!progresso_) return;
    progresso_->SetStatus(texto);
    progresso_->ProcessEvents();
}

void TFiltroTipoSingle::Compute(const std::string& entrada, const std::string& saida, int passadas,
                                const std::string& titulo) {
    ChecaFiltragens(passadas);
    auto img = Carrega(entrada);
    Compute(*img, entrada, saida, passadas, titulo);
}

void TFiltroTipoSingle::Compute(TImagem& entrada, const std::string& nomeEntrada,
                                const std::string& saida, int passadas, const std::string& titulo) {
    ChecaFiltragens(passadas);
    ChecaSaidaDiferente(nomeEntrada, saida);
    ChecaSaidaDaImagem(entrada, saida);
    Restaura restaura{progresso_, legenda_, true};
    Status("Criando arquivo temporário.");
    // The working copy holds 32-bit reals whatever the input's format and is filtered in
    // place: each pass reads the previous pass's result from it. It lives in memory, where
    // the passes share the rows among threads; an input the caller gives up lends its cells.
    TImagem trab(TModoArmazenamento::Memoria);
    try {
        trab.CopyHeaderFrom(entrada);
        trab.SetStorageMode(TModoArmazenamento::Memoria);
        trab.SetCellType(TTipoCelula::Real);
        if (!(liberaEntrada_ && trab.TakeRealCells(entrada))) {
            trab.Reset();
            trab.Allocate();
            float* z = trab.RealCells();
            for (int r = 0; r < entrada.Rows(); ++r) entrada.RawRow(r, z + static_cast<size_t>(r) * entrada.Columns());
            if (liberaEntrada_) entrada.Reset();
        }
    } catch (const std::bad_alloc&) {
        SemMemoria(entrada);
    }
    Status("Carregando arquivo temporário.");
    noData_ = std::isnan(trab.FlagValue()) ? kSemDadoPadrao : trab.FlagValue();
    trab.SetFlagValue(noData_);
    if (progresso_) progresso_->SetMax(passadas);
    TFaixaFiltro faixa;
    for (int n = 1; n <= passadas; ++n) {
        if (progresso_) {
            progresso_->SetCaption(Legenda(legenda_, n));
            progresso_->SetPosition(n);
        }
        Status("Processando filtro número " + IntToStr(n));
        faixa = FiltroPassada(trab, trab, false, noData_, noData_, progresso_);
    }
    trab.SetMinValueReal(faixa.min);
    trab.SetMaxValueReal(faixa.max);
    trab.SetTitle(titulo.empty() ? "Imagem filtrada da imagem " + NomeSemCaminho(nomeEntrada) : titulo);
    trab.SaveToFile(saida);
}

// ---------------------------------------------------------------------------------------

void FiltroTipoInteger::Compute(const std::string& entrada, const std::string& saida, int passadas,
                                const std::string& titulo) {
    ChecaFiltragens(passadas);
    auto img = Carrega(entrada);
    Compute(*img, saida, passadas, titulo);
}

void FiltroTipoInteger::Compute(const TImagem& entrada, const std::string& saida, int passadas,
                                const std::string& titulo) {
    ChecaSaidaDaImagem(entrada, saida);
    TImagem out;
    Calcula(entrada, out, passadas, titulo);
    out.SaveToFile(saida);
}

void FiltroTipoInteger::Calcula(const TImagem& entrada, TImagem& saida, int passadas,
                                const std::string& titulo) {
    ChecaFiltragens(passadas);
    Restaura restaura{progresso_, legenda_, false};
    try {
        saida.CopyHeaderFrom(entrada);
        const float mn = static_cast<float>(entrada.MinValue());
        const float mx = static_cast<float>(entrada.MaxValue());
        saida.SetCellType(TTipoCelula::Real);
        saida.SetMinValueReal(mn);
        saida.SetMaxValueReal(mx);
        saida.SetTitle(titulo);
        saida.Reset();
        saida.Allocate();
    } catch (const std::bad_alloc&) {
        SemMemoria(entrada);
    }
    TFaixaFiltro faixa;
    for (int n = 1; n <= passadas; ++n) {
        if (progresso_) progresso_->SetCaption(Legenda(legenda_, n));
        if (n == 1) faixa = FiltroPassada(entrada, saida, true, kNaN, 0.0f, progresso_);
        else faixa = FiltroPassada(saida, saida, false, kNaN, 0.0f, progresso_);
    }
    saida.SetMinValueReal(faixa.min);
    saida.SetMaxValueReal(faixa.max);
}

// ---------------------------------------------------------------------------------------

TTipoCelula CalculaFiltro(const std::string& entrada, const std::string& saida, int passadas,
                   const std::string& titulo, IProgresso* progresso, const std::string& legenda) {
    ChecaFiltragens(passadas);
    std::unique_ptr<TImagem> img;
    {
        Restaura restaura{progresso, legenda, true};
        img = AbreEntradaRaster(entrada, saida, progresso);
    }
    RecusaImagemEmGraus(*img);
    const TTipoCelula tipo = img->CellType();
    if (tipo == TTipoCelula::Inteiro) {
        FiltroTipoInteger(progresso, legenda)
            .Compute(*img, saida, passadas, titulo.empty() ? TituloFiltro(entrada) : titulo);
    } else {
        TFiltroTipoSingle f(progresso, legenda);
        f.SetLiberaEntrada(true);
        f.Compute(*img, entrada, saida, passadas, titulo);
    }
    return tipo;
}

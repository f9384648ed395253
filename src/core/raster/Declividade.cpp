#include "core/raster/Declividade.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <new>
#include <vector>

#include "core/common/Numeros.h"
#include "core/common/Texto.h"
#include "core/common/Threads.h"

namespace {

// Clears status and progress however the work ends; nested guards leave it to the outer.
struct LimpaProgresso {
    IProgresso* p;
    static inline thread_local int profundidade = 0;
    explicit LimpaProgresso(IProgresso* prog) : p(prog) { ++profundidade; }
    ~LimpaProgresso() {
        if (--profundidade > 0 || !p) return;
        try {
            p->SetStatus("");
            p->SetPosition(0);
        } catch (...) {
        }
    }
};

// Three input rows with a zero cell at each end, moved down the image one row per step
// without copying; above the first row and below the last is a row of zeros.
class TresLinhas {
public:
    // Rows 'primeira' to 'fim' - 1. 'antes' and 'depois', when given, are the padded rows
    // just outside them, read before any band started: a band that writes over its own
    // source overwrites the rows its neighbours need.
    TresLinhas(const TImagem& img, bool inteiro, float noData, int primeira = 0, int fim = -1,
               const float* antes = nullptr, const float* depois = nullptr)
        : img_(img), inteiro_(inteiro), noData_(noData), n_(img.Columns()), r_(primeira),
          fim_(fim < 0 ? img.Rows() : fim), depois_(depois) {
        for (auto& b : buf_) b.assign(static_cast<size_t>(n_ + 2), 0.0f);
        if (r_ > 0) {
            if (antes) std::copy(antes, antes + n_ + 2, Acima());
            else LeLinhaComBorda(img_, r_ - 1, Acima(), inteiro_, noData_);
        }
        LeLinhaComBorda(img_, r_, Atual(), inteiro_, noData_);
        Seguinte(r_ + 1);
    }
    float* Acima() { return buf_[(i_ + 0) % 3].data(); }
    float* Atual() { return buf_[(i_ + 1) % 3].data(); }
    float* Abaixo() { return buf_[(i_ + 2) % 3].data(); }
    // Centres the rows on r (called with the first row, then each next one in turn).
    void Centra(int r) {
        if (r == r_) return;
        r_ = r;
        i_ = (i_ + 1) % 3;
        Seguinte(r + 1);
    }

private:
    void Seguinte(int r) {
        if (r >= img_.Rows())
            std::fill(Abaixo(), Abaixo() + n_ + 2, 0.0f);
        else if (r == fim_ && depois_)
            std::copy(depois_, depois_ + n_ + 2, Abaixo());
        else
            LeLinhaComBorda(img_, r, Abaixo(), inteiro_, noData_);
    }
    const TImagem& img_;
    bool inteiro_;
    float noData_;
    long long n_;
    int r_;
    int fim_;
    const float* depois_;
    int i_ = 0;
    std::vector<float> buf_[3];
};

// Slopes (m/m) of one row from the padded rows above, current and below. Division by a
// positive spacing is monotone, so the steepest gradient is the largest |dz| of each
// distance class divided once: the same value as dividing every neighbour.
VANDORO_VETORIZA void DeclividadeLinha(const float* a, const float* m, const float* b, long long n,
                      const TEspacamentoCelulas& e, float* out) {
    const double dx = e.dx, dy = e.dy, dd = e.diagonal;
    // Plain expressions, no helper calls: a function of its own would not be inlined here.
#define VANDORO_G(v) ((v) != 0.0f ? std::fabs(z - static_cast<double>(v)) : 0.0)
#define VANDORO_MAX(p, q) ((p) > (q) ? (p) : (q))
    for (long long i = 1; i <= n; ++i) {
        const double z = m[i];
        const double h = VANDORO_MAX(VANDORO_G(m[i - 1]), VANDORO_G(m[i + 1]));
        const double v = VANDORO_MAX(VANDORO_G(a[i]), VANDORO_G(b[i]));
        const double d1 = VANDORO_MAX(VANDORO_G(a[i - 1]), VANDORO_G(a[i + 1]));
        const double d2 = VANDORO_MAX(VANDORO_G(b[i - 1]), VANDORO_G(b[i + 1]));
        const float sh = static_cast<float>(h / dx), sv = static_cast<float>(v / dy);
        const float sd = static_cast<float>(VANDORO_MAX(d1, d2) / dd);
        const float s1 = VANDORO_MAX(sh, sv);
        const float s = VANDORO_MAX(s1, sd);
        out[i - 1] = z != 0.0 ? s : 0.0f;
    }
#undef VANDORO_G
#undef VANDORO_MAX
}

float Percentual(float s) { return static_cast<float>(static_cast<double>(s) * 100.0); }

// Slopes to percent; a zero slope becomes 'zero'.
VANDORO_VETORIZA void Percentuais(const float* dec, long long n, float zero, float* out) {
    for (long long i = 0; i < n; ++i) {
        const float p = static_cast<float>(static_cast<double>(dec[i]) * 100.0);
        out[i] = dec[i] != 0.0f ? p : zero;
    }
}

VANDORO_VETORIZA void TrocaSemDado(float* c, long long n, float noData) {
    for (long long i = 0; i < n; ++i) c[i] = c[i] == noData ? 0.0f : c[i];
}

// Running range of the written slopes (per row, then over the rows).
struct Faixa {
    float max = 0;
    float minPositivo = TFFunc::kSemPositivo;
    bool primeira = true;
    void Linha(const float* v, long long n) {
        float mx = TFFunc::RowMax(v, n);
        max = primeira ? mx : std::max(max, mx);
        primeira = false;
        minPositivo = std::min(minPositivo, TFFunc::RowMinPositive(v, n));
    }
    // The range of a later band joined to this one.
    void Junta(const Faixa& f) {
        if (f.primeira) return;
        max = primeira ? f.max : std::max(max, f.max);
        primeira = false;
        minPositivo = std::min(minPositivo, f.minPositivo);
    }
    // A grid without any positive value gets the range 0 to 0.
    float Min() const { return minPositivo == TFFunc::kSemPositivo ? 0.0f : minPositivo; }
};

void DefineFaixa(TImagem& img, float mn, float mx) {
    auto i16 = [](float v) {
        return static_cast<int16_t>(std::clamp(std::nearbyint(static_cast<double>(v)), -32768.0, 32767.0));
    };
    auto u8 = [](float v) {
        return static_cast<uint8_t>(std::clamp(std::nearbyint(static_cast<double>(v)), 0.0, 255.0));
    };
    switch (img.CellType()) {
        case TTipoCelula::Byte: img.SetMinValueByte(u8(mn)); img.SetMaxValueByte(u8(mx)); break;
        case TTipoCelula::Inteiro: img.SetMinValueInt(i16(mn)); img.SetMaxValueInt(i16(mx)); break;
        default: img.SetMinValueReal(mn); img.SetMaxValueReal(mx); break;
    }
}

// Rows of an image kept in its file go through one stream: one thread for those.
int ThreadsPara(const TImagem& entrada, const TImagem& saida) {
    const bool memoria = entrada.StorageMode() == TModoArmazenamento::Memoria &&
                         saida.StorageMode() == TModoArmazenamento::Memoria;
    return memoria ? NumeroThreads() : 1;
}

std::unique_ptr<TImagem> Carrega(const std::string& entrada) {
    auto img = std::make_unique<TImagem>();
    if (entrada.empty() || !img->LoadFromFile(entrada)) throw EArquivoEntrada();
    return img;
}

}  // namespace

// ---------------------------------------------------------------------------------------

float TFFunc::Gradient(double d, double z1, double z2) {
    return static_cast<float>(std::fabs(z2 - z1) / d);
}

float TFFunc::RowMax(const float* values, long long n) {
    float m = values[0];
    for (long long i = 1; i < n; ++i) m = std::max(m, values[i]);
    return m;
}

float TFFunc::RowMinPositive(const float* values, long long n) {
    float m = kSemPositivo;
    for (long long i = 0; i < n; ++i)
        if (values[i] > 0.0f && values[i] < m) m = values[i];
    return m;
}

TEspacamentoCelulas EspacamentoCelulas(const TImagem& img) {
    std::string u = Maiusculas(img.RefUnits());
    double fator;
    if (u == "KM") fator = 1000.0;
    else if (u == "M") fator = 1.0;
    else if (const std::string m = MensagemSemUnidade(img); !m.empty()) throw EUnidadeImagem(m);
    else throw EUnidadeImagem();
    TEspacamentoCelulas e;
    if (img.Columns() > 0 && img.Rows() > 0) {
        e.dx = (static_cast<double>(img.MaxX()) - img.MinX()) / img.Columns() * fator;
        e.dy = (static_cast<double>(img.MaxY()) - img.MinY()) / img.Rows() * fator;
    }
    if (!(e.dx > 0) || !(e.dy > 0) || !std::isfinite(e.dx) || !std::isfinite(e.dy))
        throw EVandoro("O tamanho da célula da imagem é inválido: os limites ou o número de "
                       "linhas e colunas estão errados.");
    e.diagonal = std::sqrt(e.dx * e.dx + e.dy * e.dy);
    return e;
}

void ChecaNomesEntradaSaida(const std::string& entrada, const std::string& saida) {
    std::error_code ec;
    if (entrada.empty() || !std::filesystem::exists(entrada, ec)) throw EArquivoEntrada();
    if (saida.empty()) throw EArquivoSaida();
    ChecaSaidaDiferente(entrada, saida);
    // A name no writer takes is refused now, not after the whole computation.
    ChecaFormatoGravavel(saida);
}

std::unique_ptr<TImagem> AbreEntradaRaster(const std::string& entrada, const std::string& saida,
                                           IProgresso* progresso) {
    ChecaNomesEntradaSaida(entrada, saida);
    if (progresso) {
        progresso->SetStatus("Carregando arquivo " + NomeSemCaminho(entrada));
        progresso->ProcessEvents();
    }
    auto img = Carrega(entrada);
    if (img->CellType() == TTipoCelula::Byte) throw EArquivoByte();
    return img;
}

std::unique_ptr<TImagem> VerificaEntradaDeclividade(const std::string& entrada,
                                                    const std::string& saida,
                                                    IProgresso* progresso) {
    auto img = AbreEntradaRaster(entrada, saida, progresso);
    EspacamentoCelulas(*img);
    return img;
}

void LeLinhaComBorda(const TImagem& img, int row, float* buf, bool inteiro, float noData) {
    float* c = buf + 1;
    img.ReadRow(row, c);
    const int n = img.Columns();
    if (inteiro) {
        if (img.CellType() == TTipoCelula::Real)
            for (int i = 0; i < n; ++i)
                c[i] = static_cast<float>(std::clamp(std::nearbyint(static_cast<double>(c[i])), -32768.0, 32767.0));
    } else if (!std::isnan(noData) && noData != 0.0f) {
        TrocaSemDado(c, n, noData);
    }
}

TBordasFaixas BordasDasFaixas(const TImagem& img, int nf, bool inteiro, float noData) {
    const int rows = img.Rows();
    const size_t largura = static_cast<size_t>(img.Columns()) + 2;
    TBordasFaixas b;
    b.antes.assign(static_cast<size_t>(nf), std::vector<float>(largura, 0.0f));
    b.depois.assign(static_cast<size_t>(nf), std::vector<float>(largura, 0.0f));
    for (int k = 0; k < nf; ++k) {
        const int ini = InicioFaixa(rows, nf, k), fim = InicioFaixa(rows, nf, k + 1);
        if (ini > 0) LeLinhaComBorda(img, ini - 1, b.antes[static_cast<size_t>(k)].data(), inteiro, noData);
        if (fim < rows) LeLinhaComBorda(img, fim, b.depois[static_cast<size_t>(k)].data(), inteiro, noData);
    }
    return b;
}

void SemMemoria(const TImagem& img) {
    throw EVandoro("A imagem de " + IntToStr(img.Columns()) + " colunas × " + IntToStr(img.Rows()) +
                   " linhas é grande demais para a memória disponível.");
}

void ChecaSaidaDaImagem(const TImagem& entrada, const std::string& saida) {
    if (!entrada.FileName().empty()) ChecaSaidaDiferente(entrada.FileName(), saida);
}

std::string TituloDeclividade(const std::string& entrada) {
    return "Imagem declividade gerada do arquivo imagem de elevação " + NomeSemCaminho(entrada);
}

// ---------------------------------------------------------------------------------------

void TDecliTipoSingle::Status(const std::string& texto) {
    if (!progresso_) return;
    progresso_->SetStatus(texto);
    progresso_->ProcessEvents();
}

void TDecliTipoSingle::Compute(const std::string& entrada, const std::string& saida,
                               const std::string& titulo) {
    LimpaProgresso limpa{progresso_};
    Status("Carregando arquivo " + NomeSemCaminho(entrada));
    auto img = Carrega(entrada);
    Compute(*img, saida, titulo);
}

void TDecliTipoSingle::Compute(const TImagem& entrada, const std::string& saida,
                               const std::string& titulo) {
    ChecaSaidaDaImagem(entrada, saida);
    LimpaProgresso limpa{progresso_};
    TImagem out;
    Calcula(entrada, out, titulo);
    Status("Salvando o arquivo de declividade em " + NomeSemCaminho(saida));
    out.SaveToFile(saida);
}

void TDecliTipoSingle::Calcula(const TImagem& entrada, TImagem& saida, const std::string& titulo) {
    const TEspacamentoCelulas e = EspacamentoCelulas(entrada);
    const float flag = entrada.FlagValue();
    noData_ = std::isnan(flag) ? kSemDadoPadrao : flag;
    const int rows = entrada.Rows();
    const long long cols = entrada.Columns();
    // The slope may be written over the elevations themselves, row by row: one grid held.
    const bool noLugar = &saida == &entrada;
    try {
        if (noLugar) {
            if (!saida.RealCells()) throw EVandoro("Erro ao preparar a imagem: ela não está na memória.");
            saida.SetFlagValue(noData_);
            saida.SetTitle(titulo);
        } else {
            saida.SetFlagValue(noData_);
            saida.SetCellType(entrada.CellType());
            saida.SetColumns(entrada.Columns());
            saida.SetRows(rows);
            saida.SetMinX(entrada.MinX());
            saida.SetMaxX(entrada.MaxX());
            saida.SetMinY(entrada.MinY());
            saida.SetMaxY(entrada.MaxY());
            saida.SetRefUnits(entrada.RefUnits());
            saida.SetSistema(entrada.Sistema());
            saida.SetCompressed(entrada.Compressed());
            saida.SetTitle(titulo);
            saida.Reset();
            saida.Allocate();
        }
        if (progresso_) progresso_->SetMax(rows);

        const int nf = NumeroFaixas(rows, ThreadsPara(entrada, saida));
        std::vector<Faixa> faixas(static_cast<size_t>(nf));
        const TBordasFaixas bordas = BordasDasFaixas(entrada, nf, false, flag);
        std::atomic<bool> parar{false};
        std::atomic<int> feitas{0};
        ParaFaixas(rows, nf, [&](int k, int inicio, int fim) {
            TresLinhas lin(entrada, false, flag, inicio, fim, bordas.antes[static_cast<size_t>(k)].data(),
                           bordas.depois[static_cast<size_t>(k)].data());
            std::vector<float> dec(static_cast<size_t>(cols)), grava(static_cast<size_t>(cols));
            Faixa& faixa = faixas[static_cast<size_t>(k)];
            for (int r = inicio; r < fim; ++r) {
                if (k == 0 && progresso_ && progresso_->StopRequested()) parar = true;
                if (parar) throw ECalculoInterrompido();
                const bool ultima = r == rows - 1;
                lin.Centra(r);
                if (k == 0) {
                    const int mostrada = nf == 1 ? r + 1 : feitas.load() + 1;
                    if (ultima) {
                        Status("Calculando a declividade para a última linha.");
                    } else if (r == 0) {
                        Status("Calculando declividade para os pixels intermediários da primeira linha.");
                    } else {
                        Status("Calculando a declividade para a linha " + IntToStr(mostrada) + ".");
                        if (progresso_) progresso_->SetPosition(mostrada);
                    }
                }
                DeclividadeLinha(lin.Acima(), lin.Atual(), lin.Abaixo(), cols, e, dec.data());
                faixa.Linha(dec.data(), cols);
                // The last row keeps its flat cells as 0, the others mark them as no-data.
                Percentuais(dec.data(), cols, ultima ? 0.0f : noData_, grava.data());
                saida.WriteRow(r, grava.data());
                feitas.fetch_add(1, std::memory_order_relaxed);
            }
        });
        Faixa faixa;
        for (const Faixa& f : faixas) faixa.Junta(f);
        DefineFaixa(saida, Percentual(faixa.Min()), Percentual(faixa.max));
    } catch (const std::bad_alloc&) {
        SemMemoria(entrada);
    }
}

// ---------------------------------------------------------------------------------------

void DecTipoInteger::Compute(const std::string& entrada, const std::string& saida,
                             const std::string& titulo) {
    auto img = Carrega(entrada);
    Compute(*img, saida, titulo);
}

void DecTipoInteger::Compute(const TImagem& entrada, const std::string& saida,
                             const std::string& titulo) {
    ChecaSaidaDaImagem(entrada, saida);
    TImagem out;
    Calcula(entrada, out, titulo);
    out.SaveToFile(saida);
}

void DecTipoInteger::Calcula(const TImagem& entrada, TImagem& saida, const std::string& titulo) {
    const TEspacamentoCelulas e = EspacamentoCelulas(entrada);
    const int rows = entrada.Rows();
    const long long cols = entrada.Columns();
    try {
        saida.CopyHeaderFrom(entrada);
        saida.SetCellType(TTipoCelula::Real);
        saida.SetTitle(titulo);
        saida.Reset();
        saida.Allocate();

        const int nf = NumeroFaixas(rows, ThreadsPara(entrada, saida));
        std::vector<Faixa> faixas(static_cast<size_t>(nf));
        std::atomic<bool> parar{false};
        ParaFaixas(rows, nf, [&](int k, int inicio, int fim) {
            TresLinhas lin(entrada, true, 0, inicio);
            std::vector<float> dec(static_cast<size_t>(cols));
            Faixa& faixa = faixas[static_cast<size_t>(k)];
            for (int r = inicio; r < fim; ++r) {
                if (k == 0 && progresso_ && progresso_->StopRequested()) parar = true;
                if (parar) throw ECalculoInterrompido();
                const bool ultima = r == rows - 1;
                lin.Centra(r);
                DeclividadeLinha(lin.Acima(), lin.Atual(), lin.Abaixo(), cols, e, dec.data());
                Percentuais(dec.data(), cols, 0.0f, dec.data());
                if (ultima) {
                    // The last cell: mean of the gradients towards its left, upper and
                    // upper-left neighbours that are present.
                    const float* a = lin.Acima();
                    const float* m = lin.Atual();
                    const float z = m[cols];
                    const float viz[3] = {m[cols - 1], a[cols], a[cols - 1]};
                    const double dist[3] = {e.dx, e.dy, e.diagonal};
                    double soma = 0;
                    int presentes = 0;
                    for (int j = 0; j < 3; ++j) {
                        if (viz[j] == 0.0f) continue;
                        soma += TFFunc::Gradient(dist[j], viz[j], z);
                        ++presentes;
                    }
                    dec[static_cast<size_t>(cols - 1)] =
                        (z != 0.0f && presentes > 0) ? static_cast<float>(soma / presentes * 100.0) : 0.0f;
                }
                faixa.Linha(dec.data(), cols);
                saida.WriteRow(r, dec.data());
                if (k == 0 && progresso_) progresso_->ProcessEvents();
            }
        });
        Faixa faixa;
        for (const Faixa& f : faixas) faixa.Junta(f);
        DefineFaixa(saida, faixa.Min(), faixa.max);
    } catch (const std::bad_alloc&) {
        SemMemoria(entrada);
    }
}

// ---------------------------------------------------------------------------------------

TTipoCelula CalculaDeclividade(const std::string& entrada, const std::string& saida,
                        const std::string& titulo, IProgresso* progresso) {
    LimpaProgresso limpa{progresso};
    auto img = VerificaEntradaDeclividade(entrada, saida, progresso);
    const TTipoCelula tipo = img->CellType();
    ChecaSaidaDaImagem(*img, saida);
    TImagem out;
    if (tipo == TTipoCelula::Inteiro) {
        DecTipoInteger(progresso).Calcula(*img, out, titulo);
        // The elevations are not needed any more: the grid written is the only one held.
        img.reset();
        out.SaveToFile(saida);
        return tipo;
    }
    // Real cells in memory become the slope in place; a grid kept in its file is never
    // written over.
    TImagem& destino = img->RealCells() ? *img : out;
    TDecliTipoSingle(progresso).Calcula(*img, destino, titulo);
    if (progresso) {
        progresso->SetStatus("Salvando o arquivo de declividade em " + NomeSemCaminho(saida));
        progresso->ProcessEvents();
    }
    if (&destino == &out) img.reset();
    destino.SaveToFile(saida);
    return tipo;
}

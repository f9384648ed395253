// Surfer ASCII grids (.grd, "DSAA").
#include "core/raster/Imagem.h"

#include <cstring>
#include <new>

#include "core/raster/FormatoComum.h"

using namespace raster_interno;

namespace {

// Surfer's blanking value: a node at or above it has no data. Written in the form Surfer
// itself writes; read with a little room for the rounding of other writers.
constexpr double kBrancoSurfer = 1.70141e38;
const char* const kTextoBranco = "1.70141e+38";
bool EmBranco(double v) { return v >= kBrancoSurfer * (1 - 1e-6); }

}  // namespace


void TImagem::ReadSurfer(const std::string& name) {
    std::string arq = NomeSemCaminho(name);
    storageMode_ = TModoArmazenamento::Memoria;
    FreeStore();
    formatCode_ = TCodigoFormato::Surfer;
    std::string text = LerArquivoInteiro(name);
    ChecaTextoLegivel(text, arq);
    size_t pos = text.find('\n');
    pos = pos == std::string::npos ? text.size() : pos + 1;
    Leitor le(text, pos, arq);
    double h[8];
    for (int i = 0; i < 8; ++i)
        if (!le.Proximo(h[i]))
            throw EVandoro("Erro no arquivo " + arq + ": cabeçalho Surfer incompleto.");
    for (double v : h)
        if (!std::isfinite(v))
            throw EVandoro("Erro no arquivo " + arq + ": valor inválido no cabeçalho Surfer.");
    columns_ = TamanhoGrade(h[0], "colunas", arq);
    rows_ = TamanhoGrade(h[1], "linhas", arq);
    minX_ = h[2];
    maxX_ = h[3];
    minY_ = h[4];
    maxY_ = h[5];
    ChecaLimites(minX_, maxX_, minY_, maxY_, arq);
    minR_ = F32(h[6]);
    maxR_ = F32(h[7]);
    SetCellType(TTipoCelula::Real);
    long long total = (long long)columns_ * rows_;
    ChecaTexto(total, le.Restante(), arq, columns_, rows_);
    ChecaCelulas(columns_, rows_);
    ResizeMem(total * 4);
    float* cel = mem_.data();
    if (progresso_) progresso_->SetMax(rows_);
    long long lidos = 0;
    // The file runs from south to north.
    for (int k = 0; k < rows_; ++k) {
        float* linha = cel + (long long)(rows_ - 1 - k) * columns_;
        for (int c = 0; c < columns_; ++c) {
            double d;
            if (!le.Proximo(d)) FimInesperado(arq, total, lidos);
            // A blank node takes the image's no-data value (-99 for these grids).
            linha[c] = EmBranco(d) ? flagValue_ : F32(d);
            ++lidos;
        }
        Progress(k + 1);
    }
    ChecaSobra(le, arq, total);
    AjustaFaixaAsCelulas();
}

void TImagem::WriteSurfer(const std::string& name) {
    formatCode_ = TCodigoFormato::Surfer;
    std::string s;
    s += "DSAA";
    s += kCRLF;
    s += IntToStr(columns_) + "  " + IntToStr(rows_) + kCRLF;
    s += FormatR(minX_) + "  " + FormatR(maxX_) + kCRLF;
    s += FormatR(minY_) + "  " + FormatR(maxY_) + kCRLF;
    s += FormatR(MinValue()) + "  " + FormatR(MaxValue()) + kCRLF;
    const Regional ponto = PontoDecimal();
    std::vector<float> row(static_cast<size_t>(std::max(columns_, 0)));
    for (int r = rows_ - 1; r >= 0; --r) {
        ReadRow(r, row.data());
        for (float v : row) {
            if (IsFlag(v)) s += kTextoBranco;
            else s += ComPonto(FloatToStrFixed(v, 5, ponto));
            s += ' ';
        }
    }
    GravarArquivoInteiro(name, s, ErroAoGravar(name));
}

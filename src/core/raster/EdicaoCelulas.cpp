#include "core/raster/EdicaoCelulas.h"

#include <cmath>
#include <limits>
#include <vector>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/raster/Imagem.h"

bool TEdicoesCelulas::Valor(long long indice, float& v) const {
    const auto it = valores_.find(indice);
    if (it == valores_.end()) return false;
    v = it->second;
    return true;
}

void TEdicoesCelulas::AplicaNaLinha(int linha, int colunas, float* buf) const {
    if (valores_.empty()) return;
    const long long inicio = (long long)linha * colunas, fim = inicio + colunas;
    for (auto it = valores_.lower_bound(inicio); it != valores_.end() && it->first < fim; ++it)
        buf[it->first - inicio] = it->second;
}

float ValorAtributo(const TImagem& img, const std::string& texto) {
    const EVandoro invalido("Valor inválido para atributo");
    double v = 0;
    bool vazio = true;
    for (char c : texto)
        if (c != ' ' && c != '\t') vazio = false;
    if (vazio) throw invalido;
    try {
        v = TextToReal(texto);
    } catch (const EVandoro&) {
        throw invalido;
    }
    if (!std::isfinite(v)) throw invalido;
    switch (img.CellType()) {
        case TTipoCelula::Byte:
        case TTipoCelula::Inteiro: {
            const double inteiro = std::nearbyint(v);
            const double mn = img.CellType() == TTipoCelula::Byte ? 0 : -32768, mx = img.CellType() == TTipoCelula::Byte ? 255 : 32767;
            if (inteiro < mn || inteiro > mx) throw invalido;
            return static_cast<float>(inteiro);
        }
        default:
            if (std::fabs(v) > std::numeric_limits<float>::max()) throw invalido;
            return static_cast<float>(v);
    }
}

void GravaComEdicoes(const TImagem& img, const TEdicoesCelulas& edicoes, const std::string& nome) {
    TImagem copia;
    copia.CopyHeaderFrom(img);
    copia.SetStorageMode(TModoArmazenamento::Memoria);
    copia.SetFormatCode(img.FormatCode());
    copia.Allocate();
    const int cols = img.Columns();
    std::vector<float> buf(static_cast<size_t>(cols > 0 ? cols : 0));
    for (int r = 0; r < img.Rows(); ++r) {
        img.RawRow(r, buf.data());
        edicoes.AplicaNaLinha(r, cols, buf.data());
        copia.WriteRow(r, buf.data());
    }
    // The header's range must hold the edited values.
    copia.ComputeMinMax(false);
    copia.CountValid();
    copia.SaveToFile(nome);
}

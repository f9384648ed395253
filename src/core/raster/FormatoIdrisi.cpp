// Idrisi images: text header (.doc) + raw cells (.img).
#include "core/raster/Imagem.h"

#include <cstring>
#include <new>

#include "core/raster/FormatoComum.h"

using namespace raster_interno;

namespace {

// The flag lines of an Idrisi header, looked up by label after the sixteen fixed lines.
// A flag counts only when its definition is something other than "none" (Idrisi's
// "missing data" or "background"); headers without these lines keep 0 as their no-data.
bool FlagDoCabecalho(const std::vector<std::string>& linhas, double& flag) {
    std::string valor, definicao;
    bool temValor = false, temDefinicao = false;
    for (size_t i = 16; i < linhas.size(); ++i) {
        const size_t p = linhas[i].find(':');
        if (p == std::string::npos) continue;
        const std::string chave = Minusculas(Trim(linhas[i].substr(0, p)));
        const std::string resto = Trim(linhas[i].substr(p + 1));
        if (chave == "flag value") {
            valor = resto;
            temValor = true;
        } else if (chave.rfind("flag def", 0) == 0) {
            definicao = Minusculas(resto);
            temDefinicao = true;
        }
    }
    if (!temValor || !temDefinicao || definicao.empty() || definicao == "none") return false;
    try {
        flag = TextToReal(valor);
    } catch (const EVandoro&) {
        return false;
    }
    return std::isfinite(flag);
}

}  // namespace

void TImagem::ReadIdrisi(const std::string& name) {
    std::string doc = Parceiro(name, "doc");
    std::string img = Parceiro(name, "img");
    std::string arq = NomeSemCaminho(doc);
    if (std::error_code ec; !fs::exists(doc, ec)) throw EVandoro("O arquivo " + arq + " não existe.");
    if (std::error_code ec; !fs::exists(img, ec)) throw EVandoro("O arquivo " + NomeSemCaminho(img) + " não existe.");
    formatCode_ = TCodigoFormato::Idrisi16;
    flagValue_ = 0;
    std::string text = LerArquivoInteiro(doc);
    ChecaTextoLegivel(text, arq);
    std::vector<std::string> linhas;
    size_t pos = 0;
    while (pos < text.size() && linhas.size() < 64) {
        size_t fim = text.find('\n', pos);
        if (fim == std::string::npos) fim = text.size();
        std::string l = text.substr(pos, fim - pos);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        linhas.push_back(l);
        pos = fim + 1;
    }
    if (linhas.size() < 16)
        throw EVandoro("Erro no arquivo " + arq + ": cabeçalho Idrisi incompleto.");
    auto valor = [&](int n) { return linhas[n - 1].size() > 14 ? linhas[n - 1].substr(14) : std::string(); };
    auto numero = [&](int n) {
        double v;
        try {
            v = TextToReal(valor(n));
        } catch (const EVandoro&) {
            throw EConversao("Erro no arquivo " + arq + ": valor inválido '" +
                             Win1252ToUtf8(Trim(valor(n)).substr(0, 40)) + "' na linha " +
                             IntToStr(n) + ".");
        }
        if (!std::isfinite(v))
            throw EConversao("Erro no arquivo " + arq + ": valor inválido na linha " + IntToStr(n) + ".");
        return v;
    };
    auto semFinal = [](std::string t) {
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
        return t;
    };
    title_ = Win1252ToUtf8(semFinal(valor(1))).substr(0, 255);
    std::string tipo = Trim(valor(2));
    const std::string tipoMin = Minusculas(tipo);
    if (tipoMin != "byte" && tipoMin != "integer" && tipoMin != "real")
        throw EVandoro("Erro no arquivo " + arq + ": tipo de dado '" + Win1252ToUtf8(tipo.substr(0, 40)) +
                       "' desconhecido (use byte, integer ou real).");
    SetCellType(TipoCelulaDeLetra(tipo[0]));
    if (Minusculas(Trim(valor(3))).find("ascii") != std::string::npos)
        throw EVandoro("Erro no arquivo " + arq + ": imagens Idrisi em texto (ASCII) não são aceitas.");
    columns_ = TamanhoGrade(numero(4), "columns", arq);
    rows_ = TamanhoGrade(numero(5), "rows", arq);
    refUnits_ = Win1252ToUtf8(semFinal(valor(7))).substr(0, 255);
    minX_ = numero(9);
    maxX_ = numero(10);
    minY_ = numero(11);
    maxY_ = numero(12);
    ChecaLimites(minX_, maxX_, minY_, maxY_, arq);
    ResetRanges();
    double mn = numero(15), mx = numero(16);
    switch (cellType_) {
        case TTipoCelula::Byte: minB_ = ToByte(mn); maxB_ = ToByte(mx); break;
        case TTipoCelula::Inteiro: minI_ = ToInt16(mn); maxI_ = ToInt16(mx); break;
        default: minR_ = F32(mn); maxR_ = F32(mx); break;
    }
    double flag;
    if (FlagDoCabecalho(linhas, flag)) flagValue_ = F32(flag);
    CheckSize(TamanhoArquivo(img), img);
    ChecaCelulas(columns_, rows_);
    OpenStore(img);
    AjustaFaixaAsCelulas();
}

void TImagem::WriteIdrisi(const std::string& name) {
    std::string doc = Parceiro(name, "doc");
    std::string img = Parceiro(name, "img");
    auto faixa = [&](bool max) -> std::string {
        switch (cellType_) {
            case TTipoCelula::Byte: return IntToStr(max ? maxB_ : minB_);
            case TTipoCelula::Inteiro: return IntToStr(max ? maxI_ : minI_);
            default: return FormatR(max ? maxR_ : minR_);
        }
    };
    const char* tipo = cellType_ == TTipoCelula::Byte ? "byte" : cellType_ == TTipoCelula::Inteiro ? "integer" : "real";
    std::string s;
    auto linha = [&](const std::string& t) { s += t + kCRLF; };
    linha("file title  : " + Utf8ToWin1252(title_));
    linha(std::string("data type   : ") + tipo);
    linha("file type   : binary");
    linha("columns     : " + IntToStr(columns_));
    linha("rows        : " + IntToStr(rows_));
    linha("ref. system : plane");
    linha("ref. units  : " + Utf8ToWin1252(refUnits_));
    linha("unit dist.  :  1.00000000000000E+0000");
    linha("min. X      : " + FormatR(minX_));
    linha("max. X      : " + FormatR(maxX_));
    linha("min. Y      : " + FormatR(minY_));
    linha("max. Y      : " + FormatR(maxY_));
    linha("pos n error : unknown");
    linha("resolution  : unknown");
    linha("min. value  : " + faixa(false));
    linha("max. value  : " + faixa(true));
    linha("value units : unspecified");
    linha("value error : unknown");
    // The no-data value, when the cell type can hold it, as Idrisi and its other readers
    // (GDAL among them) expect it; otherwise the lines older versions wrote.
    if (FlagCabeNoTipo()) {
        linha("flag value  : " + (cellType_ == TTipoCelula::Real ? FormatR(flagValue_) : IntToStr(std::lround(flagValue_))));
        linha("flag def'n  : missing data");
    } else {
        linha("flag value  : none");
        linha("flag def n  : none");
    }
    linha("legend cats : 0");
    // The cell file always holds exactly Rows x Columns cells.
    std::vector<uint8_t> b = StoreBytes();
    b.resize(static_cast<size_t>((long long)columns_ * rows_ * cellSize_), 0);
    GravaPar(doc, s, img, std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
    formatCode_ = TCodigoFormato::Idrisi16;
}

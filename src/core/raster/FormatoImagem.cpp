#include "raster/FormatoImagem.h"

#include "raster/Imagem.h"

#include <cstring>
#include <new>

#include "raster/FormatoComum.h"

using namespace raster_interno;

std::vector<std::string> ArquivosDaImagem(const std::string& name) {
    const std::string e = Ext3(name);
    if (e == "DOC" || e == "IMG") return {Parceiro(name, "doc"), Parceiro(name, "img")};
    if (e == "HDR" || e == "FLT") return {Parceiro(name, "hdr"), Parceiro(name, "flt")};
    return {name};
}

bool ImagensCompartilhamArquivo(const std::string& a, const std::string& b) {
    for (const std::string& x : ArquivosDaImagem(a))
        for (const std::string& y : ArquivosDaImagem(b))
            if (MesmoArquivo(x, y)) return true;
    return false;
}

std::string TrocaExtensao3(const std::string& name, const std::string& ext) {
    if (name.size() < 3) return name;
    return name.substr(0, name.size() - 3) + ext;
}

// ---------------------------------------------------------------------------------------
// Dispatch

TFormatoImagem FormatoDe(const std::string& nome) {
    const std::string e = Ext3(nome);
    if (e == "ASC") return TFormatoImagem::ArcViewAscii;
    if (e == "HDR" || e == "FLT") return TFormatoImagem::ArcViewBinario;
    if (e == "DOC" || e == "IMG") return TFormatoImagem::Idrisi;
    if (e == "RST" || e == "RDC") return TFormatoImagem::Idrisi32;
    if (e == "GRD") return TFormatoImagem::Surfer;
    return TFormatoImagem::Desconhecido;
}

int CodigoFormato(TFormatoImagem f) {
    switch (f) {
        case TFormatoImagem::ArcViewAscii:
        case TFormatoImagem::ArcViewBinario: return 0;
        case TFormatoImagem::Idrisi: return 1;
        case TFormatoImagem::Idrisi32: return 2;
        case TFormatoImagem::Surfer: return 3;
        default: return -1;
    }
}

std::string NomeFormato(TFormatoImagem f) {
    switch (f) {
        case TFormatoImagem::ArcViewAscii: return "ArcView ASCII (.asc)";
        case TFormatoImagem::ArcViewBinario: return "ArcView binário (.hdr + .flt)";
        case TFormatoImagem::Idrisi: return "Idrisi (.doc + .img)";
        case TFormatoImagem::Idrisi32: return "Idrisi 32 bits";
        case TFormatoImagem::Surfer: return "Surfer ASCII (.grd)";
        default: return "desconhecido";
    }
}

std::string NomeTipoCelula(char tipo) {
    switch (tipo) {
        case 'B': return "byte (B)";
        case 'I': return "inteiro de 16 bits (I)";
        default: return "real de 32 bits (R)";
    }
}

bool UnidadeDistanciaValida(const std::string& unidade) {
    const std::string u = Upper(unidade);
    return u == "M" || u == "KM";
}

std::string MensagemSemUnidade(const TImagem& img) {
    if (img.FormatCode() != 3 || UnidadeDistanciaValida(img.RefUnits())) return {};
    return "O arquivo " + NomeSemCaminho(img.FileName()) +
           " é uma grade do Surfer, que não guarda a unidade de distância: converta-o para "
           "\".asc\" ou \".doc\" com a unidade de distância (m ou km).";
}

void ChecaSaidaDiferente(const std::string& entrada, const std::string& saida) {
    if (ImagensCompartilhamArquivo(entrada, saida))
        throw EVandoro("A entrada e a saída são o mesmo arquivo.");
}

std::unique_ptr<TImagem> CarregaImagem(const std::string& nome, IProgresso* progresso) {
    auto img = std::make_unique<TImagem>();
    img->SetProgresso(progresso);
    if (!img->LoadFromFile(nome)) throw EVandoro("O arquivo " + nome + " não existe.");
    img->ComputeMinMax(true);
    img->SetProgresso(nullptr);
    return img;
}

std::unique_ptr<TImagem> ConverteImagem(const std::string& entrada, const std::string& saida,
                                        const std::string& unidade, IProgresso* progresso) {
    ChecaSaidaDiferente(entrada, saida);
    if (!unidade.empty() && !UnidadeDistanciaValida(unidade))
        throw EVandoro("Unidade de distância inválida: '" + unidade + "' (use m ou km).");
    auto img = std::make_unique<TImagem>();
    img->SetProgresso(progresso);
    if (!img->LoadFromFile(entrada)) throw EVandoro("O arquivo " + entrada + " não existe.");
    if (!unidade.empty()) img->SetRefUnits(Minusculas(unidade));
    img->ExportAs(saida, CodigoFormato(FormatoDe(saida)));
    img->SetProgresso(nullptr);
    return img;
}

namespace {

[[noreturn]] void ImagemInvalida(const std::string& name) {
    throw EVandoro("Erro. O arquivo " + NomeSemCaminho(name) +
                   " não corresponde a um arquivo válido de imagem.");
}

// Clears the status however the operation ends.
struct LimpaStatus {
    TImagem& img;
    ~LimpaStatus() {
        try {
            img.SetStatus("");
        } catch (...) {
        }
    }
};
}  // namespace

bool TImagem::LoadFromFile(const std::string& name) {
    if (!Exists(name)) return false;
    const TFormatoImagem f = FormatoDe(name);
    if (f == TFormatoImagem::Desconhecido) ImagemInvalida(name);
    if (f == TFormatoImagem::Idrisi32) throw ENaoImplementado("Ainda não implementado.");
    SetStatus("Carregando a imagem ...");
    LimpaStatus limpa{*this};
    flagValue_ = -99.0f;
    meanValue_ = -99.0;
    // Surfer grids carry neither: they must not keep those of the file loaded before.
    title_.clear();
    refUnits_.clear();
    Reset();
    FreeStore();
    fileName_ = name;
    try {
        switch (f) {
            case TFormatoImagem::ArcViewAscii: ReadAsc(name); break;
            case TFormatoImagem::ArcViewBinario: ReadHdrFlt(name); break;
            case TFormatoImagem::Idrisi: ReadIdrisi(name); break;
            default: ReadSurfer(name); break;
        }
    } catch (...) {
        // Never leave a header that does not match its cells.
        FreeStore();
        columns_ = rows_ = 0;
        validCount_ = -1;
        throw;
    }
    return true;
}

void ChecaFormatoGravavel(const std::string& nome) {
    const TFormatoImagem f = FormatoDe(nome);
    if (f == TFormatoImagem::Desconhecido) ImagemInvalida(nome);
    if (f == TFormatoImagem::Idrisi32) throw ENaoImplementado("Não implementado.");
}

void TImagem::SaveToFile(const std::string& name) {
    ChecaFormatoGravavel(name);
    const TFormatoImagem f = FormatoDe(name);
    SetStatus("Gravando a imagem no disco rígido ...");
    LimpaStatus limpa{*this};
    switch (f) {
        case TFormatoImagem::ArcViewAscii:
        case TFormatoImagem::ArcViewBinario: WriteArcView(name); break;
        case TFormatoImagem::Idrisi: WriteIdrisi(name); break;
        default: WriteSurfer(name); break;
    }
    SegueArquivoNovo(name);
}

void TImagem::ExportAs(const std::string& name, int code) {
    static const char* const origem[] = {"do ArcView", "do Idrisi 16 bits", "do Idrisi 32 bits",
                                         "do Surfer"};
    static const char* const destino[] = {"ArcView.", "Idrisi 16 bits.", "Idrisi 32 bits.",
                                          "Surfer."};
    auto texto = [](const char* const* t, int c) { return (c >= 0 && c <= 3) ? t[c] : ""; };
    SetStatus(std::string("Exportando a imagem ") + texto(origem, formatCode_) + " para " +
              texto(destino, code));
    TImagem tmp;
    tmp.CopyHeaderFrom(*this);
    tmp.SetStorageMode(0);
    tmp.formatCode_ = code;
    tmp.meanValue_ = meanValue_;
    std::vector<uint8_t> b = StoreBytes();
    tmp.ResizeMem(static_cast<long long>(b.size()));
    if (!b.empty()) std::memcpy(tmp.MemBytes(), b.data(), b.size());
    tmp.SetProgresso(progresso_);
    tmp.SaveToFile(name);
    SegueArquivoNovo(name);
}

// Written over its own data file (storage mode 1): the file was replaced whole, so the
// store leaves the old one it still holds open and follows the new file.
void TImagem::SegueArquivoNovo(const std::string& gravado) {
    if (!file_) return;
    for (const std::string& a : ArquivosDaImagem(gravado))
        if (MesmoArquivo(a, fileName_)) {
            OpenStore(fileName_);
            return;
        }
}

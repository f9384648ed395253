#pragma once
// The grid formats the program knows, chosen by the file name alone, and the files each
// image is made of. TImagem::LoadFromFile, SaveToFile and ExportAs dispatch through here;
// the windows and the command line ask the same functions.
#include <string>
#include <vector>

enum class TFormatoImagem {
    ArcViewAscii,    // .asc
    ArcViewBinario,  // .hdr + .flt
    Idrisi,          // .doc + .img, 16-bit handler
    Idrisi32,        // .rst, .rdc: recognised, not handled
    Surfer,          // .grd, ASCII "DSAA"
    Desconhecido
};

// By the last three characters of the name, in any case.
TFormatoImagem FormatoDe(const std::string& nome);
// The image's FormatCode for a format: 0 ArcView, 1 Idrisi 16 bits, 2 Idrisi 32 bits,
// 3 Surfer; -1 for an unknown one.
int CodigoFormato(TFormatoImagem f);
// "ArcView ASCII (.asc)", "Idrisi (.doc + .img)", ...; "desconhecido" for an unknown one.
std::string NomeFormato(TFormatoImagem f);
// "byte (B)", "inteiro de 16 bits (I)", "real de 32 bits (R)".
std::string NomeTipoCelula(char tipo);

// Every file that makes up the image 'name': both halves of a header/data pair
// (.doc+.img, .hdr+.flt), otherwise the file itself.
std::vector<std::string> ArquivosDaImagem(const std::string& name);
// True when the two images share any file (same name, other spelling, link, other half).
bool ImagensCompartilhamArquivo(const std::string& a, const std::string& b);
// The name with its last three characters replaced by 'ext' (partner files).
std::string TrocaExtensao3(const std::string& name, const std::string& ext);

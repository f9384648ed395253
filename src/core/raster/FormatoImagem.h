#pragma once
// The grid formats the program knows, chosen by the file name alone, and the files each
// image is made of. TImagem::LoadFromFile, SaveToFile and ExportAs dispatch through here;
// the windows and the command line ask the same functions.
#include <memory>
#include <string>
#include <vector>

#include "core/common/Progresso.h"
#include "core/raster/TipoCelula.h"

enum class TCodigoFormato : int;  // core/raster/Imagem.h

enum class TFormatoImagem {
    ArcViewAscii,    // .asc
    ArcViewBinario,  // .hdr + .flt
    Idrisi,          // .doc + .img, 16-bit handler
    Idrisi32,        // .rst, .rdc: recognised, not handled
    Surfer,          // .grd, ASCII "DSAA"
    GeoTiff,         // .tif, .tiff, through GDAL
    Desconhecido     // read through GDAL when it opens the file
};

// By the extension of the name, in any case (the last three characters for the program's
// own formats).
TFormatoImagem FormatoDe(const std::string& nome);
// The open dialogs' filter: "Imagens válidas (*.img *.rst ...)" and then one entry a format,
// as "Imagens do Surfer (*.grd)", entries apart by ";;". The formats above only; another
// file GDAL opens is still read when its name is typed.
std::string FiltroImagens();
// The image's FormatCode for a format (GeoTIFF and the other GDAL formats: Gdal).
TCodigoFormato CodigoFormato(TFormatoImagem f);
// "ArcView ASCII (.asc)", "Idrisi (.doc + .img)", ...; "desconhecido" for an unknown one.
std::string NomeFormato(TFormatoImagem f);
// "byte (B)", "inteiro de 16 bits (I)", "real de 32 bits (R)".
std::string NomeTipoCelula(TTipoCelula tipo);

class TImagem;
// A distance unit the slope and the location accept: "M" or "KM", in any case.
bool UnidadeDistanciaValida(const std::string& unidade);
// For an image loaded from a format that keeps no distance unit (Surfer) and given none
// since, the message that names the file and says what to do; empty for any other image.
// A model in degrees (a geographic coordinate system, a unit in degrees, or neither a system
// nor a unit with bounds within ±180°/±90° and cells under 0.01) gives its own message
// that names the reprojection.
std::string MensagemSemUnidade(const TImagem& img);
// Whether the image is taken as being in degrees (see MensagemSemUnidade).
bool ImagemEmGraus(const TImagem& img);
// The refusal of an elevation model in degrees (the message above); nothing otherwise.
void RecusaImagemEmGraus(const TImagem& img);
// "A imagem X tem N bandas; foi usada a banda 1." for a multi-band file; empty otherwise.
std::string NotaBandas(const TImagem& img);
// The same for a file, without reading its cells.
std::string NotaBandasArquivo(const std::string& nome);
// The coordinate system of a raster file (WKT), without reading its cells; "" when none.
std::string CrsDoArquivoImagem(const std::string& nome);

// Every file that makes up the image 'name': both halves of a header/data pair
// (.doc+.img, .hdr+.flt), otherwise the file itself. The ".prj" beside is not counted: it
// is written only when it would hold the same system (see TImagem::SaveToFile).
std::vector<std::string> ArquivosDaImagem(const std::string& name);
// True when the two images share any file (same name, other spelling, link, other half).
bool ImagensCompartilhamArquivo(const std::string& a, const std::string& b);

// Refuses a name no writer handles, before anything is computed for it, with the message
// SaveToFile would give: the invalid-image error, or ENaoImplementado "Não implementado."
// for the Idrisi 32-bit names.
void ChecaFormatoGravavel(const std::string& nome);

// Refuses an output that shares any file with the input (see ImagensCompartilhamArquivo):
// "A entrada e a saída são o mesmo arquivo.". Every tool that reads one image and writes
// another asks this before it writes anything.
void ChecaSaidaDiferente(const std::string& entrada, const std::string& saida);

// An image opened to be shown or described: loaded (a missing file raises "O arquivo " +
// the name as given + " não existe."), with its range, mean and valid-cell count.
std::unique_ptr<TImagem> CarregaImagem(const std::string& nome, IProgresso* progresso = nullptr);

// The conversion tool: input and output checked apart, the input loaded, 'unidade' (when
// given; "m" or "km") set as its distance unit, with 'utm' reprojected to SIRGAS 2000 /
// UTM of the zone at its centre (ReprojetaUtm), then written in the format of the output
// name. Returns the image written.
std::unique_ptr<TImagem> ConverteImagem(const std::string& entrada, const std::string& saida,
                                        const std::string& unidade = "",
                                        IProgresso* progresso = nullptr, bool utm = false);

// The image warped to SIRGAS 2000 / UTM of the zone at its centre, bilinear, with square
// cells of the nearest whole metre of its ground cell size (at least 1 m). A model without
// a coordinate system is taken as SIRGAS 2000 geographic. 'epsg' receives the code used.
std::unique_ptr<TImagem> ReprojetaUtm(const TImagem& img, int* epsg = nullptr);

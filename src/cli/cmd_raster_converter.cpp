// raster-converter: any grid format to any other, chosen by the extensions.
#include <iostream>

#include "cli/Comando.h"
#include "cli/ProgressoTerminal.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/gdal/Gdal.h"
#include "core/raster/Imagem.h"

namespace {

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--unidade", "--threads"}, {"--utm"});
    if (a.Posicionais().size() != 2)
        throw EVandoro("Uso: vandoro-cli raster-converter ENTRADA SAIDA [--unidade U] [--utm] [--threads N]");
    const std::string& saida = a.Posicionais()[1];
    ChecaSaidaImagem(saida);
    AplicaThreads(a);
    ProgressoTerminal prog;
    const bool utm = a.Tem("--utm");
    auto img = ConverteImagem(a.Posicionais()[0], saida, a.Valor("--unidade"), &prog, utm);
    prog.Concluir();
    std::cout << "Imagem de " << img->Columns() << " colunas × " << img->Rows()
              << " linhas gravada em " << saida << "\n";
    if (utm)
        std::cout << "Reprojetada para " << DescreveCrs(img->Crs()).nome << ", células de "
                  << FloatToStr(img->CellWidth()) << " m.\n";
    if (const std::string n = NotaBandasArquivo(a.Posicionais()[0]); !n.empty()) std::cout << n << "\n";
    return 0;
}

RegistroComando reg{
    "raster-converter", "converte uma imagem raster de um formato para outro",
    "Uso: vandoro-cli raster-converter ENTRADA SAIDA [--unidade U] [--utm] [--threads N]\n\n"
    "Lê ENTRADA e grava SAIDA; os formatos são escolhidos pelas extensões:\n"
    "  .doc/.img  Idrisi        .asc  ArcView ASCII\n"
    "  .hdr/.flt  ArcView binário    .grd  Surfer ASCII\n"
    "  .tif/.tiff GeoTIFF\n"
    "ENTRADA pode ser também qualquer outra imagem que o GDAL leia (JPEG2000, VRT, NetCDF,\n"
    "BIL, ...; .img é sempre do Idrisi); de uma imagem com várias bandas é usada a 1.\n\n"
    "O valor sem dado e o sistema de coordenadas passam de um formato a outro (o sistema\n"
    "vai no próprio GeoTIFF ou num arquivo .prj ao lado dos outros formatos).\n\n"
    "  --utm        reprojeta a imagem para SIRGAS 2000 / UTM do fuso do centro dela\n"
    "               (interpolação bilinear, células quadradas do metro inteiro mais\n"
    "               próximo do tamanho da célula no terreno); use-a com modelos em graus\n"
    "               (SRTM, ALOS, Copernicus); sem sistema declarado, a imagem é tomada\n"
    "               em SIRGAS 2000 geográfico\n"
    "  --unidade U  unidade de distância da imagem (m ou km); use-a ao converter uma\n"
    "               grade do Surfer, que não guarda unidade, para .doc (o .asc é lido\n"
    "               sempre em metros)\n"
    VANDORO_AJUDA_THREADS,
    Executar};

}  // namespace

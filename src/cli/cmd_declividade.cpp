// declividade: slope raster, in percent, of an elevation raster.
#include <iostream>

#include "cli/Comando.h"
#include "cli/ProgressoTerminal.h"
#include "core/common/Erros.h"
#include "core/raster/Declividade.h"
#include "core/raster/FormatoImagem.h"

namespace {

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--titulo", "--threads"});
    if (a.Posicionais().size() != 2)
        throw EVandoro("Uso: vandoro-cli declividade ENTRADA SAIDA [--titulo T] [--threads N]");
    const std::string& entrada = a.Posicionais()[0];
    const std::string& saida = a.Posicionais()[1];
    ChecaSaidaImagem(saida);
    AplicaThreads(a);
    ProgressoTerminal prog;
    CalculaDeclividade(entrada, saida, a.Valor("--titulo", TituloDeclividade(entrada)), &prog);
    prog.Concluir();
    if (const std::string n = NotaBandasArquivo(entrada); !n.empty()) std::cout << n << "\n";
    std::cout << "Cálculo de declividade finalizado com sucesso.\n";
    return 0;
}

RegistroComando reg{
    "declividade", "imagem de declividade (%) de uma imagem de elevação",
    "Uso: vandoro-cli declividade ENTRADA SAIDA [--titulo T] [--threads N]\n\n"
    "Calcula, para cada célula da imagem de elevação ENTRADA, a maior declividade (%)\n"
    "em relação às até oito células vizinhas e grava a imagem SAIDA. Os formatos são\n"
    "escolhidos pelas extensões (.doc/.img Idrisi, .asc ou .hdr/.flt ArcView, .grd Surfer,\n"
    ".tif GeoTIFF; a entrada pode ser qualquer imagem que o GDAL leia, banda 1). O sistema\n"
    "de coordenadas da entrada vai para a saída. Um modelo em graus é recusado: reprojete-o\n"
    "com vandoro-cli raster-converter ENTRADA SAIDA --utm.\n\n"
    "Elevação 0 é célula sem dado e não entra no cálculo. A unidade de distância da imagem\n"
    "deve ser m ou km. O cálculo segue o tipo de célula da entrada:\n"
    "  real (R)     células iguais ao valor sem dado também ficam sem dado; declividade 0\n"
    "               é gravada como o valor sem dado (0 na última linha);\n"
    "  inteiro (I)  declividade 0 é gravada como 0; a última célula recebe a média das\n"
    "               declividades em relação às suas vizinhas;\n"
    "  byte (B)     não aceito.\n\n"
    "  --titulo T   título da imagem gravada (padrão: \"Imagem declividade gerada do\n"
    "               arquivo imagem de elevação\" + o nome da entrada)\n"
    VANDORO_AJUDA_THREADS,
    Executar};

}  // namespace

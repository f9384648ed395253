// filtro: 3 x 3 moving mean of an elevation raster, repeated a number of times.
#include <iostream>

#include "cli/Comando.h"
#include "cli/ProgressoTerminal.h"
#include "core/common/Erros.h"
#include "core/raster/Filtro.h"
#include "core/raster/FormatoImagem.h"

namespace {

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--passadas", "--titulo", "--threads"});
    if (a.Posicionais().size() != 2)
        throw EVandoro("Uso: vandoro-cli filtro ENTRADA SAIDA [--passadas N] [--titulo T] [--threads N]");
    const std::string& entrada = a.Posicionais()[0];
    const std::string& saida = a.Posicionais()[1];
    ChecaSaidaImagem(saida);
    AplicaThreads(a);
    const long long passadas = a.Inteiro("--passadas", 1);
    ChecaFiltragens(passadas);
    ProgressoTerminal prog;
    CalculaFiltro(entrada, saida, static_cast<int>(passadas), a.Valor("--titulo"), &prog, "Filtro");
    prog.Concluir();
    if (const std::string n = NotaBandasArquivo(entrada); !n.empty()) std::cout << n << "\n";
    std::cout << "Processo de filtragem finalizado com sucesso.\n";
    return 0;
}

RegistroComando reg{
    "filtro", "suaviza uma imagem de elevação com a média móvel 3 x 3",
    "Uso: vandoro-cli filtro ENTRADA SAIDA [--passadas N] [--titulo T] [--threads N]\n\n"
    "Substitui cada célula da imagem ENTRADA pela média dela e das vizinhas (janela 3 x 3)\n"
    "que têm dado, e grava a imagem real SAIDA. Os formatos são escolhidos pelas extensões\n"
    "(.doc/.img Idrisi, .asc ou .hdr/.flt ArcView, .grd Surfer, .tif GeoTIFF; a entrada pode\n"
    "ser qualquer imagem que o GDAL leia, banda 1). Valor 0 é célula sem dado e continua sem\n"
    "dado. O sistema de coordenadas da entrada vai para a saída; um modelo em graus é\n"
    "recusado (reprojete-o com vandoro-cli raster-converter ENTRADA SAIDA --utm).\n\n"
    "O tratamento segue o tipo de célula da entrada:\n"
    "  real (R)     células iguais ao valor sem dado também ficam sem dado; resultado 0 é\n"
    "               gravado como o valor sem dado;\n"
    "  inteiro (I)  resultado 0 é gravado como 0;\n"
    "  byte (B)     não aceito.\n\n"
    "  --passadas N  número de filtragens, de 1 a 50 (padrão 1); cada uma filtra o\n"
    "                resultado da anterior\n"
    "  --titulo T    título da imagem gravada (padrão: \"Imagem filtrada da imagem\" + o nome\n"
    "                da entrada para entrada real, \"Imagem filtrada do arquivo de imagem\" +\n"
    "                o nome para entrada inteira)\n"
    VANDORO_AJUDA_THREADS,
    Executar};

}  // namespace

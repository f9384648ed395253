// raster-converter: any grid format to any other, chosen by the extensions.
#include <iostream>

#include "Comando.h"
#include "ProgressoTerminal.h"
#include "common/Erros.h"
#include "raster/Imagem.h"

namespace {

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--unidade"});
    if (a.Posicionais().size() != 2)
        throw EVandoro("Uso: vandoro-cli raster-converter ENTRADA SAIDA [--unidade U]");
    const std::string& saida = a.Posicionais()[1];
    ProgressoTerminal prog;
    auto img = ConverteImagem(a.Posicionais()[0], saida, a.Valor("--unidade"), &prog);
    prog.Concluir();
    std::cout << "Imagem de " << img->Columns() << " colunas × " << img->Rows()
              << " linhas gravada em " << saida << "\n";
    return 0;
}

RegistroComando reg{
    "raster-converter", "converte uma imagem raster de um formato para outro",
    "Uso: vandoro-cli raster-converter ENTRADA SAIDA [--unidade U]\n\n"
    "Lê ENTRADA e grava SAIDA; os formatos são escolhidos pelas extensões:\n"
    "  .doc/.img  Idrisi        .asc  ArcView ASCII\n"
    "  .hdr/.flt  ArcView binário    .grd  Surfer ASCII\n\n"
    "O valor sem dado passa de um formato a outro.\n\n"
    "  --unidade U  unidade de distância da imagem (m ou km); use-a ao converter uma\n"
    "               grade do Surfer, que não guarda unidade, para .doc (o .asc é lido\n"
    "               sempre em metros)\n",
    Executar};

}  // namespace

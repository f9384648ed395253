// raster-converter: any grid format to any other, chosen by the extensions.
#include <filesystem>
#include <iostream>

#include "Comando.h"
#include "ProgressoTerminal.h"
#include "common/Erros.h"
#include "raster/Imagem.h"

namespace {

int Codigo(const std::string& nome) {
    std::string e = nome.size() >= 3 ? nome.substr(nome.size() - 3) : nome;
    for (auto& c : e) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (e == "DOC" || e == "IMG") return 1;
    if (e == "RST" || e == "RDC") return 2;
    if (e == "GRD") return 3;
    return 0;
}

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {});
    if (a.Posicionais().size() != 2)
        throw EVandoro("Uso: vandoro-cli raster-converter ENTRADA SAIDA");
    const std::string& entrada = a.Posicionais()[0];
    const std::string& saida = a.Posicionais()[1];
    std::error_code ec;
    if (std::filesystem::equivalent(entrada, saida, ec))
        throw EVandoro("A entrada e a saída são o mesmo arquivo.");
    ProgressoTerminal prog;
    TImagem img;
    img.SetProgresso(&prog);
    if (!img.LoadFromFile(entrada)) throw EVandoro("O arquivo " + entrada + " não existe.");
    img.ExportAs(saida, Codigo(saida));
    prog.Concluir();
    std::cout << "Imagem de " << img.Columns() << " colunas × " << img.Rows()
              << " linhas gravada em " << saida << "\n";
    return 0;
}

RegistroComando reg{
    "raster-converter", "converte uma imagem raster de um formato para outro",
    "Uso: vandoro-cli raster-converter ENTRADA SAIDA\n\n"
    "Lê ENTRADA e grava SAIDA; os formatos são escolhidos pelas extensões:\n"
    "  .doc/.img  Idrisi        .asc  ArcView ASCII\n"
    "  .hdr/.flt  ArcView binário    .grd  Surfer ASCII\n",
    Executar};

}  // namespace

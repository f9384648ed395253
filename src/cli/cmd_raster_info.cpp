// raster-info: header, value range, mean and valid-cell count of a grid file.
#include <cmath>
#include <iostream>

#include "cli/Comando.h"
#include "cli/ProgressoTerminal.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/gdal/Gdal.h"
#include "core/raster/Imagem.h"

namespace {

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {});
    if (a.Posicionais().size() != 1) throw EVandoro("Uso: vandoro-cli raster-info ARQUIVO");
    const std::string& arq = a.Posicionais()[0];
    ProgressoTerminal prog;
    auto imagem = CarregaImagem(arq, &prog);
    prog.Concluir();
    const TImagem& img = *imagem;

    auto num = [](double v) { return FloatToStr(v); };
    std::cout << "Arquivo: " << arq << "\n"
              << "Formato: " << NomeFormato(FormatoDe(arq)) << "\n"
              << "Título: " << img.Title() << "\n"
              << "Tipo de célula: " << NomeTipoCelula(img.CellType()) << "\n"
              << "Colunas: " << img.Columns() << "\n"
              << "Linhas: " << img.Rows() << "\n"
              << "X mínimo: " << num(img.MinX()) << "\n"
              << "X máximo: " << num(img.MaxX()) << "\n"
              << "Y mínimo: " << num(img.MinY()) << "\n"
              << "Y máximo: " << num(img.MaxY()) << "\n"
              << "Tamanho da célula: " << num(img.CellWidth())
              << " x " << num(img.CellHeight()) << "\n"
              << "Unidade: " << img.RefUnits() << "\n"
              << "Sistema de coordenadas: " << (img.Crs().empty() ? std::string("não declarado") : DescreveCrs(img.Crs()).nome)
              << "\n"
              << "Valor sem dado: " << (std::isnan(img.FlagValue()) ? std::string("nenhum") : num(img.FlagValue()))
              << "\n";
    long long total = static_cast<long long>(img.Columns()) * img.Rows();
    if (const std::string n = NotaBandas(img); !n.empty()) std::cout << n << "\n";
    std::cout << "Células válidas: " << img.ValidCount() << " de " << total << "\n";
    if (img.ValidCount() > 0) {
        std::cout << "Valor mínimo: " << num(img.MinValue()) << "\n"
                  << "Valor máximo: " << num(img.MaxValue()) << "\n"
                  << "Valor médio: " << num(img.MeanValue()) << "\n";
    } else {
        std::cout << "Valor mínimo: -\nValor máximo: -\nValor médio: -\n";
    }
    return 0;
}

RegistroComando reg{
    "raster-info", "cabeçalho, faixa de valores, média e células válidas de uma imagem",
    "Uso: vandoro-cli raster-info ARQUIVO\n\n"
    "Mostra o cabeçalho de uma imagem raster (Idrisi .doc/.img, ArcView .asc ou .hdr/.flt,\n"
    "Surfer .grd), a faixa de valores, o valor médio e o número de células válidas\n"
    "(diferentes do valor sem dado). O formato é escolhido pela extensão.\n",
    Executar};

}  // namespace

// vetor-importar / vetor-exportar / vetor-info: line-vector files (.vet) and their Idrisi
// (.vec + .dvc) and Surfer (.txt) counterparts.
#include <cmath>
#include <filesystem>
#include <iostream>

#include "cli/Comando.h"
#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/gdal/Gdal.h"
#include "core/location/Sig.h"
#include "core/project/ModeloProjeto.h"
#include "core/raster/Vetor.h"

namespace {

std::string Extensao(const std::string& nome) {
    auto p = nome.find_last_of('.');
    auto b = nome.find_last_of("/\\");
    if (p == std::string::npos || (b != std::string::npos && p < b)) return "";
    std::string e = nome.substr(p + 1);
    for (auto& c : e) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return e;
}

std::string SemPasta(const std::string& nome) {
    auto p = nome.find_last_of("/\\");
    return p == std::string::npos ? nome : nome.substr(p + 1);
}

// An Idrisi vector is its .vec and the .dvc beside it.
std::vector<std::string> ArquivosVetor(const std::string& nome) {
    if (Extensao(nome) == "VEC") return {nome, NomeDocDeVec(nome)};
    return {nome};
}

void RecusaSobreEntrada(const std::string& entrada, const std::string& saida) {
    RecusaSaidaSobreEntradas({saida, "O vetor de saída ", ArquivosVetor(saida)},
                             {{entrada, "o vetor de entrada ", ArquivosVetor(entrada)}});
}

void ExigeEntrada(const std::string& nome) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(nome, ec)) throw EVandoro("Arquivo de entrada inválido.");
}

int Importar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--titulo", "--unidade"});
    if (a.Posicionais().size() != 2)
        throw EVandoro("Uso: vandoro-cli vetor-importar ENTRADA SAIDA.vet [--titulo T] [--unidade m|km]");
    const std::string& entrada = a.Posicionais()[0];
    const std::string& saida = a.Posicionais()[1];
    ExigeEntrada(entrada);
    if (Extensao(saida) != "VET") throw EVandoro("Arquivo de saída inválido.");
    RecusaSobreEntrada(entrada, saida);
    std::string titulo = a.Valor("--titulo", "Arquivo gerado da importação do arquivo " + SemPasta(entrada));
    TVET vet;
    std::string e = Extensao(entrada);
    if (e == "VEC") {
        if (a.Tem("--unidade")) throw EVandoro("A unidade de um arquivo do Idrisi vem do seu arquivo .dvc.");
        ImportarIdrisi(entrada, titulo, vet);
    } else if (e == "TXT") {
        std::string u = a.Valor("--unidade", "m");
        if (u != "m" && u != "km") throw EVandoro("Valor inválido para --unidade: '" + u + "' (use m ou km).");
        ImportarSurfer(entrada, titulo, u, vet);
    } else {
        throw EVandoro("Formato de entrada desconhecido: use .vec (Idrisi) ou .txt (Surfer).");
    }
    vet.Save(saida);
    std::cout << "Importação finalizada com sucesso: " << vet.LineCount() << " linhas e " << vet.RecordCount()
              << " pontos gravados em " << saida << "\n";
    return 0;
}

int ExportarSig(const Argumentos& a, const std::string& entrada, const std::string& saida) {
    if (a.Tem("--titulo")) throw EVandoro("O título não vai para os arquivos de SIG.");
    TModeloProjeto modelo;
    const TTerracosNivel* sistema = nullptr;
    if (a.Tem("--projeto")) {
        if (a.Valor("--projeto").empty()) throw EVandoro("Falta o valor da opção --projeto.");
        std::vector<std::string> escritos = ArquivosSig(saida);
        escritos.push_back(TabelaSig(saida));
        RecusaSaidaSobreEntradas({saida, "O arquivo SIG de saída ", escritos}, {{a.Valor("--projeto"), "o projeto "}});
        AbrirProjeto(modelo, a.Valor("--projeto"));
        sistema = &modelo.TerracosNivel();
    }
    const TResumoSig r = ExportarVetSig(entrada, saida, sistema);
    std::cout << "Exportação finalizada com sucesso: " << r.feicoes << " linhas em " << r.arquivo
              << (r.crs.empty() ? std::string() : " (" + r.crs + ")") << " e a tabela em " << r.tabela << "\n";
    for (const std::string& w : r.avisos) std::cout << "Aviso: " << w << "\n";
    return 0;
}

int Exportar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--titulo", "--projeto"});
    if (a.Posicionais().size() != 2)
        throw EVandoro("Uso: vandoro-cli vetor-exportar ENTRADA.vet SAIDA [--titulo T] [--projeto P.kzp]");
    const std::string& entrada = a.Posicionais()[0];
    const std::string& saida = a.Posicionais()[1];
    ExigeEntrada(entrada);
    RecusaSobreEntrada(entrada, saida);
    std::string e = Extensao(saida);
    if (FormatoSigConhecido(saida)) return ExportarSig(a, entrada, saida);
    if (a.Tem("--projeto")) throw EVandoro("O projeto só é usado na exportação para SIG.");
    if (e != "VEC" && e != "TXT")
        throw EVandoro("Formato de saída desconhecido: use .vec (Idrisi), .txt (Surfer), .gpkg (GeoPackage), "
                       ".shp (Shapefile), .geojson (GeoJSON), .kml (KML), .gpx (GPX) ou .dxf (DXF).");
    TVET vet;
    vet.Load(entrada);
    if (e == "VEC") {
        std::string doc = NomeDocDeVec(saida);
        ExportarIdrisi(vet, saida, a.Valor("--titulo", "Arquivo gerado da exportação do arquivo " + SemPasta(entrada)));
        std::cout << "Exportação finalizada com sucesso: " << saida << " e " << doc << "\n";
    } else {
        if (a.Tem("--titulo")) throw EVandoro("O arquivo do Surfer não guarda título.");
        ExportarSurfer(vet, saida);
        std::cout << "Exportação finalizada com sucesso: " << saida << "\n";
    }
    return 0;
}

int Info(const std::vector<std::string>& args) {
    Argumentos a(args, {});
    if (a.Posicionais().size() != 1) throw EVandoro("Uso: vandoro-cli vetor-info ARQUIVO.vet");
    const std::string& arq = a.Posicionais()[0];
    TVET vet;
    vet.Load(arq);
    auto num = [](double v) { return FloatToStr(v); };
    std::cout << "Arquivo: " << arq << "\n"
              << "Título: " << vet.Title() << "\n"
              << "Unidade: " << vet.Units() << "\n"
              << "Linhas: " << vet.LineCount() << "\n"
              << "Pontos: " << vet.RecordCount() << "\n"
              << "X mínimo: " << num(vet.MinX()) << "\n"
              << "X máximo: " << num(vet.MaxX()) << "\n"
              << "Y mínimo: " << num(vet.MinY()) << "\n"
              << "Y máximo: " << num(vet.MaxY()) << "\n";
    // Length of each run on its own: an id that occurs twice is two lines.
    double total = 0, c = 0;
    long long pontos = 0;
    const int n = vet.RecordCount();
    for (int i = 0; i < n; ++i) {
        TRegistroVet r = vet.Record(i);
        if (pontos > 0) {
            TRegistroVet ant = vet.Record(i - 1);
            double dx = (double)r.X - ant.X, dy = (double)r.Y - ant.Y;
            c += std::sqrt(dx * dx + dy * dy);
        }
        ++pontos;
        if (i + 1 == n || vet.Record(i + 1).Id != r.Id) {
            std::cout << "Linha " << r.Id << ": " << pontos << " pontos, comprimento " << FormatFloat("0.00", c)
                      << ", cota " << num(vet.Record(i + 1 - (int)pontos).Z) << "\n";
            total += c;
            c = 0;
            pontos = 0;
        }
    }
    std::cout << "Comprimento total: " << FormatFloat("0.00", total) << "\n";
    return 0;
}

RegistroComando regImportar{
    "vetor-importar", "converte um vetor do Idrisi (.vec) ou do Surfer (.txt) para .vet",
    "Uso: vandoro-cli vetor-importar ENTRADA SAIDA.vet [--titulo T] [--unidade m|km]\n\n"
    "ENTRADA .vec: vetor do Idrisi; o arquivo de documentação .dvc ao lado dele precisa\n"
    "  descrever linhas ou polígonos binários, sistema plano, em m ou km. Cada bloco vira\n"
    "  uma linha, numerada em ordem; a cota de cada ponto é o identificador do bloco.\n"
    "ENTRADA .txt: pontos X Y Z do Surfer (a primeira linha é ignorada); cada mudança de Z\n"
    "  começa uma nova linha. --unidade dá a unidade das distâncias (m, padrão, ou km).\n"
    "--titulo: título do arquivo gravado.\n",
    Importar};

RegistroComando regExportar{
    "vetor-exportar", "converte um vetor .vet para o Idrisi, o Surfer ou um SIG (.gpkg, .shp, .geojson, .kml, .gpx, .dxf)",
    "Uso: vandoro-cli vetor-exportar ENTRADA.vet SAIDA [--titulo T] [--projeto P.kzp]\n\n"
    "SAIDA .vec: vetor do Idrisi, um bloco por linha (identificador = cota do primeiro\n"
    "  ponto), e o seu arquivo de documentação .dvc com o título dado.\n"
    "SAIDA .txt: pontos X Y Z do Surfer, um por linha.\n"
    "SAIDA .gpkg, .shp, .geojson ou .kml: uma linha por terraço, com o número, a cota, os\n"
    "  espaçamentos vertical e horizontal, a declividade média, o comprimento, a área de\n"
    "  influência e as alturas H e Hr tirados da tabela .bdt ao lado do vetor, no sistema de\n"
    "  coordenadas do .prj ao lado dele (o KML em WGS 84); a tabela dos terraços vai ao lado,\n"
    "  com extensão .csv. Sem .prj as coordenadas vão como estão, sem sistema (o KML e o GPX\n"
    "  são recusados).\n"
    "SAIDA .gpx: uma trilha por terraço, em WGS 84 (pede o .prj).\n"
    "SAIDA .dxf: as linhas nas coordenadas do vetor, uma camada por tipo de terraço, com o\n"
    "  número de cada terraço escrito sobre ele.\n"
    "O .vet guarda reais de 32 bits (meio metro nas coordenadas UTM): para a\n"
    "  precisão total use locar --sig. --projeto dá a altura teórica H (método e CDu).\n",
    Exportar};

RegistroComando regInfo{
    "vetor-info", "título, unidade, limites e linhas de um arquivo vetor .vet",
    "Uso: vandoro-cli vetor-info ARQUIVO.vet\n\n"
    "Mostra o título, a unidade, o número de linhas e de pontos, os limites gravados e,\n"
    "para cada linha, o número de pontos, o comprimento e a cota do primeiro ponto.\n",
    Info};

}  // namespace

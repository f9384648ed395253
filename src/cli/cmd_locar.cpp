// locar: places level terraces on a project's elevation raster, as "Processar" of the
// location window does, and prints the terrace table.
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "Comando.h"
#include "ProgressoTerminal.h"
#include "common/Erros.h"
#include "common/Numeros.h"
#include "location/BDT.h"
#include "location/LocNivel.h"
#include "project/ModeloProjeto.h"
#include "sizing/RelatorioLocacao.h"

namespace {

const char* const kAjuda =
    "Uso: vandoro-cli locar PROJETO.kzp [--elevacao ARQ] [--declividade ARQ] [--saida ARQ.vet]\n"
    "                         [--relatorio ARQ.html]\n\n"
    "Abre o projeto e loca terraços em nível sobre a imagem de elevação, do ponto mais alto\n"
    "para baixo, com o método de espaçamento, a chuva de projeto, o solo e o canal do\n"
    "projeto. Grava as linhas dos terraços no arquivo vetorial (.vet) e a tabela dos\n"
    "terraços ao lado dele, com extensão .bdt, e mostra a tabela. O projeto não é alterado.\n\n"
    "  --elevacao ARQ     imagem de elevação (padrão: a do projeto)\n"
    "  --declividade ARQ  imagem de declividade em % (padrão: a do projeto)\n"
    "  --saida ARQ.vet    arquivo vetorial de saída (padrão: o do projeto)\n"
    "  --relatorio ARQ.html  grava também o relatório da locação\n\n"
    "Caminhos relativos guardados no projeto valem a partir da pasta do projeto.\n";

// A path kept in the project, read from the project's own folder when relative.
std::string DoProjeto(const std::string& caminho, const std::string& projeto) {
    if (caminho.empty()) return caminho;
    std::string c = caminho;
    for (char& ch : c)
        if (ch == '\\') ch = '/';
    const std::filesystem::path p(c);
    if (p.is_absolute()) return c;
    return (std::filesystem::path(projeto).parent_path() / p).string();
}

std::string Num(double v, int casas) { return FloatToStrFixed(v, casas); }

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--elevacao", "--declividade", "--saida", "--relatorio"});
    if (a.Posicionais().size() != 1)
        throw EVandoro("Uso: vandoro-cli locar PROJETO.kzp [--elevacao ARQ] [--declividade ARQ] [--saida ARQ.vet]");
    const std::string& arquivo = a.Posicionais()[0];
    for (const char* op : {"--elevacao", "--declividade", "--saida", "--relatorio"})
        if (a.Tem(op) && a.Valor(op).empty()) throw EVandoro(std::string("Falta o valor da opção ") + op + ".");

    TModeloProjeto modelo;
    modelo.Quenda().SetPastaPrograma(PastaPrograma());
    modelo.AbrirProjetoSemAlterar(arquivo);
    TLocacaoNivel& loc = modelo.LocacaoNivel();
    const std::string elev = a.Tem("--elevacao") ? a.Valor("--elevacao") : DoProjeto(loc.fnImgElev(), arquivo);
    const std::string decl = a.Tem("--declividade") ? a.Valor("--declividade") : DoProjeto(loc.fnImgDecli(), arquivo);
    const std::string saida = a.Tem("--saida") ? a.Valor("--saida") : DoProjeto(loc.fnVetSaida(), arquivo);
    if (elev.empty()) throw EVandoro("O projeto não indica a imagem de elevação (use --elevacao).");
    if (decl.empty()) throw EVandoro("O projeto não indica a imagem de declividade (use --declividade).");
    if (saida.empty()) throw EVandoro("O projeto não indica o arquivo de saída (use --saida).");

    ProgressoTerminal progresso;
    loc.SetProgresso(&progresso);
    loc.SetStopRequested(false);
    try {
        loc.Processar(elev, decl, modelo.Precipitacao(), modelo.NumeroDaCurva(), modelo.TerracosNivel(), saida);
    } catch (...) {
        loc.SetProgresso(nullptr);
        progresso.Concluir();
        throw;
    }
    loc.SetProgresso(nullptr);
    progresso.Concluir();

    const TBDT& b = loc.Registros();
    std::ostringstream o;
    o << "Terraço;Cota (m);Espaçamento vertical (m);Declividade média (%);Comprimento (m);"
         "Área (m2);Altura (m)\n";
    double comprimento = 0, area = 0;
    for (int i = 1; i <= b.Count(); ++i) {
        const TRegTerr& r = *b.Item(i);
        o << r.id << ';' << Num(r.level, 2) << ';' << Num(r.EV, 2) << ';' << Num(r.slope, 2) << ';'
          << Num(r.length, 1) << ';' << Num(r.area, 0) << ';' << Num(r.height, 2) << '\n';
        comprimento += r.length;
        area += r.area;
    }
    o << "Total de terraços: " << b.Count() << "\n";
    o << "Comprimento total (m): " << Num(comprimento, 1) << "\n";
    o << "Área total (m2): " << Num(area, 0) << "\n";
    o << "Área da imagem (ha): " << Num(loc.FieldArea(), 4) << "\n";
    o << "Declividade média da área (%): " << Num(modelo.NumeroDaCurva().St(), 2) << "\n";
    o << "Arquivos: " << saida << " e " << loc.ArquivoBDT() << "\n";
    if (loc.EncerradaNoLimite()) o << loc.StatusText() << "\n";
    if (loc.ParouNoLimiteDeTerracos())
        o << "Locação interrompida no limite de " << kMaxTerracosDescida
          << " terraços; o restante da área não foi locado.\n";
    if (!loc.AvisoResolucao().empty()) o << "Aviso: " << loc.AvisoResolucao() << "\n";
    if (a.Tem("--relatorio")) {
        TOpcoesRelatorio opcoes;
        opcoes.PastaPrograma = PastaPrograma();
        GravarRelatorioLocacao(modelo, loc, a.Valor("--relatorio"), opcoes);
        o << "Relatório: " << a.Valor("--relatorio") << "\n";
    }
    std::cout << o.str();
    return 0;
}

RegistroComando reg{"locar", "loca terraços em nível sobre a imagem de elevação do projeto", kAjuda, Executar};

}  // namespace

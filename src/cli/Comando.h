#pragma once
// Sub-commands of vandoro-cli register themselves here, one file per command (cmd_*.cpp):
//   static RegistroComando reg{"escoamento", "resumo de uma linha", ajuda, Executar};
#include <functional>
#include <string>
#include <vector>

struct Comando {
    std::string nome;
    std::string resumo;   // one line for the general --help
    std::string ajuda;    // full help of the command (Portuguese)
    // args: the arguments after the command name. Returns the exit code.
    // Throwing EVandoro prints "vandoro-cli: <mensagem>" and exits 1.
    std::function<int(const std::vector<std::string>& args)> executar;
};

std::vector<Comando>& Comandos();

struct RegistroComando {
    RegistroComando(std::string nome, std::string resumo, std::string ajuda,
                    std::function<int(const std::vector<std::string>&)> executar);
};

// Small argument helper: positional args and --option value / --flag.
class Argumentos {
public:
    // 'opcoesComValor': options that take a value (e.g. "--tr"); 'flags': options without one.
    // Unknown options throw EVandoro("Opção desconhecida: --x").
    Argumentos(const std::vector<std::string>& args, const std::vector<std::string>& opcoesComValor,
               const std::vector<std::string>& flags = {});
    const std::vector<std::string>& Posicionais() const { return posicionais_; }
    bool Tem(const std::string& opcao) const;
    std::string Valor(const std::string& opcao, const std::string& padrao = "") const;
    // Number with either decimal separator; missing option throws
    // "Falta a opção --x." and bad text "Valor inválido para --x: 'abc'."
    double Numero(const std::string& opcao) const;
    double Numero(const std::string& opcao, double padrao) const;
    long long Inteiro(const std::string& opcao) const;
    long long Inteiro(const std::string& opcao, long long padrao) const;

private:
    std::vector<std::string> posicionais_;
    std::vector<std::pair<std::string, std::string>> valores_;
};

// --threads N of the grid commands: the count the passes use (1 to 64).
void AplicaThreads(const Argumentos& a);
#define VANDORO_AJUDA_THREADS \
    "  --threads N  número de threads do cálculo, de 1 a 64 (padrão: os processadores\n" \
    "               da máquina, ou a variável VANDORO_THREADS); o resultado não depende dele\n"

// Refuses an output image name no writer handles, as an output (not as a bad input).
void ChecaSaidaImagem(const std::string& saida);

class TModeloProjeto;
struct TResultadoDimensionamento;

// Opens a project for reading only (a copy is read, so old sections upgraded on the way never
// reach the user's file) and warns on stderr of the fields that could not be read.
void AbrirProjeto(TModeloProjeto& modelo, const std::string& arquivo);
// Sizes the project's system; a failure of the calculation says so by its detail.
TResultadoDimensionamento DimensionarProjeto(TModeloProjeto& modelo);

// The program's folder (where vandoro-cli lives), with '/' separators and a trailing '/'.
std::string PastaPrograma();
// What building terraces takes, as the settings file beside the program (or the user's) says;
// the defaults without one.
struct TConfigConstrucao;
TConfigConstrucao ConstrucaoConfigurada();

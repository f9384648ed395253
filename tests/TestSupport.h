#pragma once
// Helpers shared by the tests: scratch folders, whole-file reads and writes, running the CLI.
#include <functional>
#include <string>
#include <vector>

#include "core/common/Regional.h"

// A fresh empty folder under the system temp dir, removed when the object dies.
class PastaTemporaria {
public:
    PastaTemporaria();
    ~PastaTemporaria();
    const std::string& Caminho() const { return path_; }
    std::string Arquivo(const std::string& nome) const { return path_ + "/" + nome; }

private:
    std::string path_;
};

std::string LerArquivo(const std::string& path);                       // bytes
void GravarArquivo(const std::string& path, const std::string& bytes);  // bytes
std::string DadosTeste(const std::string& relativo);  // tests/data/<relativo>

// The message of the EVandoro that 'f' raises, or "(sem erro)" when it raises none.
std::string MensagemDe(const std::function<void()>& f);

// Pins the regional settings for the life of the object and restores the previous ones.
class RegionalFixo {
public:
    explicit RegionalFixo(const Regional& r);
    ~RegionalFixo();

private:
    Regional anterior_;
};

struct ResultadoCli {
    int codigo = 0;
    std::string saida;  // stdout
    std::string erro;   // stderr
    long memoriaKb = 0;          // the run's peak resident size
    bool passouDoTempo = false;  // still running after the limit: killed (codigo -1)
};
// Runs build/bin/vandoro-cli with the arguments; a run that takes more than 'limiteSegundos'
// is killed, so a hang fails the test instead of stalling the suite.
ResultadoCli RodarCli(const std::vector<std::string>& args, int limiteSegundos = 300);

#pragma once
// Helpers shared by the tests: scratch folders, whole-file reads and writes, checked report
// files, errors with their exact message, running the CLI.
#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/common/Regional.h"
#include "core/common/Threads.h"

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

// The shipped 2 m location example (model and slope with their ".prj", the waterway) and the
// named projects, copied into 'pasta': a run writes beside its project, and the shipped files
// stay as they are.
void CopiarExemploLocacao(const PastaTemporaria& pasta,
                          const std::vector<std::string>& projetos = {"Locacao em nivel.kzp"});

std::string LerArquivo(const std::string& path);                       // bytes
void GravarArquivo(const std::string& path, const std::string& bytes);  // bytes
std::string DadosTeste(const std::string& relativo);  // tests/data/<relativo>
// Everything in a folder, name -> bytes ("<pasta>" for a folder): what a failed or
// interrupted write must leave as it was.
std::map<std::string, std::string> ConteudoDaPasta(const std::string& pasta);

// Compares 'texto' with the checked file tests/data/relatorios/<nome>. With
// VANDORO_ATUALIZAR_REFERENCIAS=1 (`make atualizar-referencias`; ctest unsets it) the file is
// rewritten first, to be reviewed before it is committed.
void ConfereReferencia(const std::string& texto, const std::string& nome);

// The message of the EVandoro that 'f' raises, or "(sem erro)" when it raises none.
std::string MensagemDe(const std::function<void()>& f);

// Success when 'f' raises a 'Tipo' (or a class derived from it) whose message is exactly
// 'mensagem'; otherwise what it raised, or that it raised nothing.
template <class Tipo>
::testing::AssertionResult LancaErro(const std::function<void()>& f, const std::string& mensagem) {
    try {
        f();
    } catch (const Tipo& e) {
        if (e.what() == mensagem) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "a mensagem é\n  \"" << e.what() << "\"\nesperada\n  \"" << mensagem
                                             << "\"";
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "lançou " << typeid(e).name() << " (\"" << e.what() << "\"), não "
                                             << typeid(Tipo).name();
    } catch (...) {
        return ::testing::AssertionFailure() << "lançou algo que não é uma std::exception";
    }
    return ::testing::AssertionFailure() << "não lançou nada; esperado " << typeid(Tipo).name() << " \"" << mensagem
                                         << "\"";
}
// EXPECT_ERRO(EConversao, "'x' não é um valor numérico válido.", StrToFloat("x")): the
// statement (commas allowed) raises that type with that message.
#define EXPECT_ERRO(Tipo, mensagem, ...) EXPECT_TRUE(LancaErro<Tipo>([&] { __VA_ARGS__; }, mensagem))
#define ASSERT_ERRO(Tipo, mensagem, ...) ASSERT_TRUE(LancaErro<Tipo>([&] { __VA_ARGS__; }, mensagem))

// Pins the regional settings for the life of the object and restores the previous ones.
class RegionalFixo {
public:
    explicit RegionalFixo(const Regional& r);
    ~RegionalFixo();

private:
    Regional anterior_;
};

// The thread count set by hand for one test, given back to the environment at the end.
struct ThreadsFixos {
    explicit ThreadsFixos(int n) { DefineThreads(n); }
    ~ThreadsFixos() { DefineThreads(0); }
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

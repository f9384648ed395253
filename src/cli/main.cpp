#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>

#include "cli/Comando.h"
#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Regional.h"
#include "core/common/Threads.h"
#include "core/common/Versao.h"
#include "core/project/Configuracao.h"
#include "core/project/ModeloProjeto.h"
#include "core/raster/FormatoImagem.h"
#include "core/sizing/Dimensionamento.h"

namespace {
std::string g_pastaPrograma;
}

std::vector<Comando>& Comandos() {
    static std::vector<Comando> lista;
    return lista;
}

RegistroComando::RegistroComando(std::string nome, std::string resumo, std::string ajuda,
                                 std::function<int(const std::vector<std::string>&)> executar) {
    Comandos().push_back({std::move(nome), std::move(resumo), std::move(ajuda), std::move(executar)});
}

Argumentos::Argumentos(const std::vector<std::string>& args,
                       const std::vector<std::string>& opcoesComValor,
                       const std::vector<std::string>& flags) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::string nome = a, valor;
            auto eq = a.find('=');
            bool temIgual = eq != std::string::npos;
            if (temIgual) {
                nome = a.substr(0, eq);
                valor = a.substr(eq + 1);
            }
            bool comValor = std::find(opcoesComValor.begin(), opcoesComValor.end(), nome) != opcoesComValor.end();
            bool flag = std::find(flags.begin(), flags.end(), nome) != flags.end();
            if (comValor) {
                if (!temIgual) {
                    if (i + 1 >= args.size()) throw EVandoro("Falta o valor da opção " + nome + ".");
                    valor = args[++i];
                }
                valores_.emplace_back(nome, valor);
            } else if (flag) {
                valores_.emplace_back(nome, "1");
            } else {
                throw EVandoro("Opção desconhecida: " + nome + ".");
            }
        } else {
            posicionais_.push_back(a);
        }
    }
}

bool Argumentos::Tem(const std::string& opcao) const {
    for (auto& [n, v] : valores_)
        if (n == opcao) return true;
    return false;
}

std::string Argumentos::Valor(const std::string& opcao, const std::string& padrao) const {
    std::string r = padrao;
    for (auto& [n, v] : valores_)
        if (n == opcao) r = v;  // the last one wins
    return r;
}

double Argumentos::Numero(const std::string& opcao) const {
    if (!Tem(opcao)) throw EVandoro("Falta a opção " + opcao + ".");
    return Numero(opcao, 0.0);
}

double Argumentos::Numero(const std::string& opcao, double padrao) const {
    if (!Tem(opcao)) return padrao;
    std::string v = Valor(opcao);
    double d = 0;
    if (!TryStrToFloat(v, d)) throw EVandoro("Valor inválido para " + opcao + ": '" + v + "'.");
    return d;
}

long long Argumentos::Inteiro(const std::string& opcao) const {
    if (!Tem(opcao)) throw EVandoro("Falta a opção " + opcao + ".");
    return Inteiro(opcao, 0);
}

long long Argumentos::Inteiro(const std::string& opcao, long long padrao) const {
    if (!Tem(opcao)) return padrao;
    std::string v = Valor(opcao);
    long long d = 0;
    if (!TryStrToInt(v, d)) throw EVandoro("Valor inválido para " + opcao + ": '" + v + "'.");
    return d;
}

std::string PastaPrograma() { return g_pastaPrograma; }

TConfigConstrucao ConstrucaoConfigurada() {
    TConfiguracao cfg;
    CarregarConfiguracao(ArquivoConfiguracao(PastaPrograma()), cfg);
    return cfg.Construcao;
}

void AbrirProjeto(TModeloProjeto& modelo, const std::string& arquivo) {
    modelo.Quenda().SetPastaPrograma(PastaPrograma());
    modelo.AbrirProjetoSemAlterar(arquivo);
    if (const std::string aviso = TModeloProjeto::AvisoCamposIlegiveis(modelo.CamposIlegiveis()); !aviso.empty())
        std::cerr << "Aviso: " << aviso << "\n";
}

TResultadoDimensionamento DimensionarProjeto(TModeloProjeto& modelo) {
    try {
        return Dimensionar(modelo);
    } catch (const EErroCalculo& e) {
        throw EVandoro("Erro no cálculo: " + e.Detalhe());
    }
}

void ChecaSaidaImagem(const std::string& saida) {
    if (FormatoDe(saida) == TFormatoImagem::Desconhecido)
        throw EVandoro("Formato de saída desconhecido: " + saida +
                       " (use .asc ou .hdr/.flt do ArcView, .doc/.img do Idrisi, .grd do Surfer ou .tif).");
}

void AplicaThreads(const Argumentos& a) {
    if (a.Tem("--threads")) DefineThreads(LeNumeroThreads(a.Valor("--threads")));
}

namespace {
void AjudaGeral() {
    std::cout << "Vandoro 4.1 — projeto de terraços agrícolas (linha de comando)\n\n"
                 "Uso: vandoro-cli COMANDO [argumentos]\n"
                 "     vandoro-cli COMANDO --help\n"
                 "     vandoro-cli --version\n\nComandos:\n";
    auto lista = Comandos();
    std::sort(lista.begin(), lista.end(), [](auto& a, auto& b) { return a.nome < b.nome; });
    for (auto& c : lista) {
        std::string n = c.nome;
        n.resize(std::max<size_t>(n.size() + 2, 18), ' ');
        std::cout << "  " << n << c.resumo << "\n";
    }
}
}  // namespace

int main(int argc, char** argv) {
    std::error_code ec;
    auto exe = std::filesystem::canonical("/proc/self/exe", ec);
    g_pastaPrograma = ec ? std::string("./") : exe.parent_path().generic_string() + "/";

    const char* lc = std::getenv("LC_ALL");
    if (!lc || !*lc) lc = std::getenv("LC_NUMERIC");
    if (!lc || !*lc) lc = std::getenv("LANG");
    Regional::SetCurrent(Regional::FromLocaleName(lc ? lc : ""));

    if (argc >= 2 && std::string(argv[1]) == "--version") {
        std::cout << kNomeVersao << "\n";
        return 0;
    }
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h" ||
        std::string(argv[1]) == "ajuda") {
        AjudaGeral();
        return argc < 2 ? 1 : 0;
    }
    std::string nome = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    for (auto& c : Comandos()) {
        if (c.nome != nome) continue;
        if (std::find(args.begin(), args.end(), "--help") != args.end() ||
            std::find(args.begin(), args.end(), "-h") != args.end()) {
            std::cout << c.ajuda;
            if (!c.ajuda.empty() && c.ajuda.back() != '\n') std::cout << "\n";
            return 0;
        }
        try {
            return c.executar(args);
        } catch (const EFalhaGravacao& e) {
            std::cerr << "vandoro-cli: " << e.what() << "\n";
            // The library's own words, for whoever reports the problem.
            if (!e.detalhe.empty()) std::cerr << "  detalhe: " << e.detalhe << "\n";
            return 1;
        } catch (const std::exception& e) {
            std::cerr << "vandoro-cli: " << e.what() << "\n";
            return 1;
        }
    }
    std::cerr << "vandoro-cli: comando desconhecido: " << nome << ". Use vandoro-cli --help.\n";
    return 1;
}

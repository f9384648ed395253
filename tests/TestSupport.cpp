#include "TestSupport.h"

#include "core/common/Erros.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

PastaTemporaria::PastaTemporaria() {
    static std::atomic<int> contador{0};
    std::random_device rd;
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        fs::path p = fs::temp_directory_path() /
                     ("vandoro-teste-" + std::to_string(rd()) + "-" + std::to_string(contador++));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p.generic_string();
            return;
        }
    }
    throw std::runtime_error("cannot create temp dir");
}

PastaTemporaria::~PastaTemporaria() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string LerArquivo(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void GravarArquivo(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) throw std::runtime_error("cannot write " + path);
    f << bytes;
}

std::string DadosTeste(const std::string& relativo) { return std::string(VANDORO_TEST_DATA) + "/" + relativo; }

std::map<std::string, std::string> ConteudoDaPasta(const std::string& pasta) {
    std::map<std::string, std::string> r;
    for (const auto& e : fs::directory_iterator(pasta))
        r[e.path().filename().string()] = e.is_directory() ? "<pasta>" : LerArquivo(e.path().string());
    return r;
}

void ConfereReferencia(const std::string& texto, const std::string& nome) {
    const std::string arq = DadosTeste("relatorios/" + nome);
    const char* atualizar = std::getenv("VANDORO_ATUALIZAR_REFERENCIAS");
    if (atualizar && std::string(atualizar) == "1") GravarArquivo(arq, texto);
    EXPECT_EQ(texto, LerArquivo(arq)) << nome;
}

RegionalFixo::RegionalFixo(const Regional& r) : anterior_(Regional::Current()) { Regional::SetCurrent(r); }
RegionalFixo::~RegionalFixo() { Regional::SetCurrent(anterior_); }

ResultadoCli RodarCli(const std::vector<std::string>& args, int limiteSegundos) {
    PastaTemporaria tmp;
    const std::string programa = std::string(VANDORO_BIN_DIR) + "/vandoro-cli";
    const std::string out = tmp.Arquivo("out"), err = tmp.Arquivo("err");
    std::vector<char*> argv{const_cast<char*>(programa.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0) _exit(127);
        execv(programa.c_str(), argv.data());
        _exit(127);
    }
    ResultadoCli r;
    int st = 0;
    struct rusage uso {};
    const auto fim = std::chrono::steady_clock::now() + std::chrono::seconds(limiteSegundos);
    while (pid > 0 && wait4(pid, &st, WNOHANG, &uso) == 0) {
        if (std::chrono::steady_clock::now() > fim) {
            kill(pid, SIGKILL);
            wait4(pid, &st, 0, &uso);
            r.passouDoTempo = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    r.memoriaKb = uso.ru_maxrss;
    r.codigo = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.saida = LerArquivo(tmp.Arquivo("out"));
    r.erro = LerArquivo(tmp.Arquivo("err"));
    return r;
}

std::string MensagemDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const EVandoro& e) {
        return e.what();
    }
    return "(sem erro)";
}

void CopiarExemploLocacao(const PastaTemporaria& pasta, const std::vector<std::string>& projetos) {
    const std::string exemplos = std::string(VANDORO_BIN_DIR) + "/Exemplos/";
    std::vector<std::string> arquivos = projetos;
    for (const char* f : {"hugo_site_2m.flt", "hugo_site_2m.hdr", "hugo_site_2m.prj", "hugo_site_2m_declividade.flt",
                          "hugo_site_2m_declividade.hdr", "hugo_site_2m_declividade.prj", "hugo_site_2m_escoadouro.vet"})
        arquivos.push_back(f);
    for (const std::string& f : arquivos) std::filesystem::copy_file(exemplos + f, pasta.Arquivo(f));
}

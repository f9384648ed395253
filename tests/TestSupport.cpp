#include "TestSupport.h"

#include "core/common/Erros.h"

#include <sys/wait.h>

#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

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

void ConfereReferencia(const std::string& texto, const std::string& nome) {
    const std::string arq = DadosTeste("relatorios/" + nome);
    const char* atualizar = std::getenv("VANDORO_ATUALIZAR_REFERENCIAS");
    if (atualizar && std::string(atualizar) == "1") GravarArquivo(arq, texto);
    EXPECT_EQ(texto, LerArquivo(arq)) << nome;
}

RegionalFixo::RegionalFixo(const Regional& r) : anterior_(Regional::Current()) { Regional::SetCurrent(r); }
RegionalFixo::~RegionalFixo() { Regional::SetCurrent(anterior_); }

namespace {
std::string Aspas(const std::string& s) {
    std::string r = "'";
    for (char c : s) {
        if (c == '\'') r += "'\\''";
        else r += c;
    }
    return r + "'";
}
}  // namespace

ResultadoCli RodarCli(const std::vector<std::string>& args) {
    PastaTemporaria tmp;
    std::string cmd = Aspas(std::string(VANDORO_BIN_DIR) + "/vandoro-cli");
    for (auto& a : args) cmd += " " + Aspas(a);
    cmd += " >" + Aspas(tmp.Arquivo("out")) + " 2>" + Aspas(tmp.Arquivo("err"));
    int st = std::system(cmd.c_str());
    ResultadoCli r;
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

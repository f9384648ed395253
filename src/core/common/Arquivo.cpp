#include "common/Arquivo.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <new>

#include "common/Erros.h"

namespace fs = std::filesystem;

std::string LerArquivoInteiro(const std::string& nome, long long limite) {
    std::ifstream f(nome, std::ios::binary);
    std::error_code ec;
    if (!f || fs::is_directory(nome, ec)) throw EVandoro("Erro ao abrir o arquivo " + NomeSemCaminho(nome) + ".");
    const auto tamanho = fs::file_size(nome, ec);
    const long long n = ec ? -1 : static_cast<long long>(tamanho);
    if (n > limite)
        throw EArquivoGrandeDemais("O arquivo " + NomeSemCaminho(nome) + " é grande demais para ser lido.", n);
    std::string s;
    if (n > 0) {
        try {
            s.resize(static_cast<size_t>(n));
        } catch (const std::bad_alloc&) {
            throw EVandoro("Memória insuficiente para ler o arquivo " + NomeSemCaminho(nome) + ".");
        }
        f.read(s.data(), n);
        s.resize(static_cast<size_t>(f.gcount()));
    }
    if (f.bad()) throw EVandoro("Erro de leitura no arquivo " + NomeSemCaminho(nome) + ".");
    return s;
}

namespace {

// Beside the target, so the rename never crosses file systems.
std::string NomeTemporario(const std::string& nome) { return nome + kSufixoTemporario; }

}  // namespace

void SubstituirArquivo(const std::string& nome, const std::function<void(const std::string&)>& escrever,
                       const std::string& erro, bool partirDoAtual) {
    const std::string mensagem = erro.empty() ? "Não foi possível gravar o arquivo " + nome + "." : erro;
    const std::string tmp = NomeTemporario(nome);
    std::error_code ec;
    auto descartar = [&] {
        std::error_code e;
        if (fs::is_regular_file(tmp, e)) fs::remove(tmp, e);
    };
    descartar();  // left by a write that was cut short
    try {
        if (partirDoAtual && fs::is_regular_file(nome, ec)) {
            fs::copy_file(nome, tmp, fs::copy_options::overwrite_existing, ec);
            if (ec) throw EVandoro(mensagem);
        }
        escrever(tmp);
    } catch (const EVandoro&) {
        descartar();
        throw;
    } catch (...) {
        descartar();
        throw EVandoro(mensagem);
    }
    fs::rename(tmp, nome, ec);
    if (ec) {
        descartar();
        throw EVandoro(mensagem);
    }
}

void GravarArquivoInteiro(const std::string& nome, std::string_view bytes, const std::string& erro) {
    const std::string mensagem = erro.empty() ? "Não foi possível gravar o arquivo " + nome + "." : erro;
    SubstituirArquivo(
        nome,
        [&](const std::string& tmp) {
            std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
            if (!f) throw EVandoro(mensagem);
            f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            f.flush();
            if (!f) throw EVandoro(mensagem);
        },
        mensagem);
}

bool MesmoArquivo(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) {
        const bool igual = fs::equivalent(a, b, ec);
        if (!ec) return igual;
    }
    const fs::path pa = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path pb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return pa.lexically_normal() == pb.lexically_normal();
}

bool ArquivoExiste(const std::string& nome) {
    std::error_code ec;
    return !nome.empty() && fs::is_regular_file(nome, ec);
}

std::string NomeSemCaminho(const std::string& caminho) {
    const size_t p = caminho.find_last_of("/\\");
    return p == std::string::npos ? caminho : caminho.substr(p + 1);
}

std::string PastaDe(const std::string& caminho) {
    const size_t p = caminho.find_last_of("/\\");
    return p == std::string::npos ? std::string() : caminho.substr(0, p);
}

std::string ExtensaoDe(const std::string& nome) {
    const std::string base = NomeSemCaminho(nome);
    const size_t p = base.find_last_of('.');
    return p == std::string::npos || p == 0 ? std::string() : Minusculas(base.substr(p));
}

std::string TrocaExtensao(const std::string& nome, const std::string& ext) {
    const size_t barra = nome.find_last_of("/\\");
    const size_t p = nome.find_last_of('.');
    // A leading dot starts a name (".vet"), not an extension, as in ExtensaoDe.
    const size_t inicio = barra == std::string::npos ? 0 : barra + 1;
    const bool temExt = p != std::string::npos && p > inicio;
    return (temExt ? nome.substr(0, p) : nome) + ext;
}

std::string Minusculas(std::string s) {
    for (auto& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

std::string Maiusculas(std::string s) {
    for (auto& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

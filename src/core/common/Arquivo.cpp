#include "core/common/Arquivo.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>

#include <unistd.h>

#include "core/common/ConjuntoArquivos.h"
#include "core/common/Erros.h"
#include "core/common/Texto.h"

namespace fs = std::filesystem;

namespace {

// Opens 'nome', checks it against 'limite' and reads it where 'lugar' says; the bytes read.
long long LerPara(const std::string& nome, const std::function<char*(long long)>& lugar, long long limite) {
    std::ifstream f(nome, std::ios::binary);
    std::error_code ec;
    if (!f || fs::is_directory(nome, ec)) throw EVandoro("Erro ao abrir o arquivo " + NomeSemCaminho(nome) + ".");
    const auto tamanho = fs::file_size(nome, ec);
    const long long n = ec ? -1 : static_cast<long long>(tamanho);
    if (n > limite)
        throw EArquivoGrandeDemais("O arquivo " + NomeSemCaminho(nome) + " é grande demais para ser lido.", n);
    long long lidos = 0;
    if (n > 0) {
        f.read(lugar(n), n);
        lidos = static_cast<long long>(f.gcount());
    }
    if (f.bad()) throw EVandoro("Erro de leitura no arquivo " + NomeSemCaminho(nome) + ".");
    return lidos;
}

}  // namespace

std::string LerArquivoInteiro(const std::string& nome, long long limite) {
    std::string s;
    const long long lidos = LerPara(
        nome,
        [&](long long n) {
            try {
                s.resize(static_cast<size_t>(n));
            } catch (const std::bad_alloc&) {
                throw EVandoro("Memória insuficiente para ler o arquivo " + NomeSemCaminho(nome) + ".");
            }
            return s.data();
        },
        limite);
    // A file that shrank while it was read gives what it had.
    s.resize(static_cast<size_t>(lidos));
    return s;
}

void LerArquivoInteiro(const std::string& nome, const std::function<char*(long long)>& lugar, long long limite) {
    const long long n = TamanhoArquivo(nome);
    if (LerPara(nome, lugar, limite) != std::max(n, 0LL))
        throw EVandoro("Erro de leitura no arquivo " + NomeSemCaminho(nome) + ".");
}

// Beside the target, so the rename never crosses file systems; the writer's process id in
// the name tells a leftover of a dead run from the file another run is still writing.
std::string NomeTemporario(const std::string& nome) {
    return nome + "." + std::to_string(::getpid()) + kSufixoTemporario;
}

std::string CausaFalhaGravacao(const std::string& nome, int erro) {
    std::error_code ec;
    const fs::path alvo(nome);
    const fs::path pasta = alvo.parent_path().empty() ? fs::path(".") : alvo.parent_path();
    switch (erro) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return "disco cheio";
        case EFBIG: return "disco cheio (o arquivo passa do tamanho permitido)";
        case EACCES:
        case EPERM: return "sem permissão";
        case EROFS: return "sem permissão (o disco é somente para leitura)";
        default: break;
    }
    // The rest is told by what is there now (an errno may also be left from an earlier call).
    if (!fs::is_directory(pasta, ec)) return "pasta inexistente";
    if (fs::is_directory(alvo, ec)) return "já existe uma pasta com esse nome";
    if (fs::is_directory(NomeTemporario(nome), ec))
        return "uma pasta ocupa o nome do arquivo temporário " + NomeSemCaminho(NomeTemporario(nome));
    const fs::space_info espaco = fs::space(pasta, ec);
    if (!ec && espaco.available < (1u << 16)) return "disco cheio";
    const fs::perms modo = fs::status(pasta, ec).permissions();
    if (!ec && (modo & fs::perms::owner_write) == fs::perms::none) return "sem permissão";
    return "erro de gravação";
}

std::string ComCausa(const std::string& mensagem, const std::string& causa) {
    if (causa.empty()) return mensagem;
    if (!mensagem.empty() && mensagem.back() == '.') return mensagem.substr(0, mensagem.size() - 1) + ": " + causa + ".";
    return mensagem + ": " + causa;
}

bool SomenteLeitura(const std::string& nome) {
    std::error_code ec;
    const fs::file_status st = fs::status(nome, ec);
    if (ec || !fs::is_regular_file(st)) return false;
    const fs::perms w = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (st.permissions() & w) == fs::perms::none;
}

void RecusaSomenteLeitura(const std::string& nome, const std::string& mensagem) {
    // Renaming over a file the user marked read-only would succeed: it is refused instead.
    if (SomenteLeitura(nome))
        throw EFalhaGravacao(ComCausa(mensagem, "o arquivo está marcado como somente leitura"), EACCES);
}

void EscreverArquivo(const std::string& caminho, std::string_view bytes, const std::string& mostrado) {
    const std::string msg = "Não foi possível gravar o arquivo " + mostrado + ".";
    errno = 0;
    std::FILE* f = std::fopen(caminho.c_str(), "wb");
    if (!f) throw EFalhaGravacao(msg, errno);
    const size_t n = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), f);
    int erro = n == bytes.size() ? 0 : (errno ? errno : EIO);
    if (!erro && std::fflush(f) != 0) erro = errno ? errno : EIO;
    // A full disk may show only when the buffers are handed over, at the close.
    if (std::fclose(f) != 0 && !erro) erro = errno ? errno : EIO;
    if (erro) throw EFalhaGravacao(msg, erro);
}

void SubstituirArquivo(const std::string& nome, const std::function<void(const std::string&)>& escrever,
                       const std::string& erro, bool partirDoAtual) {
    const std::string mensagem = erro.empty() ? "Não foi possível gravar o arquivo " + nome + "." : erro;
    const std::string tmp = NomeTemporario(nome);
    std::error_code ec;
    RecusaSomenteLeitura(nome, mensagem);
    auto descartar = [&] {
        std::error_code e;
        if (fs::is_regular_file(tmp, e)) fs::remove(tmp, e);
    };
    // What runs killed in this folder left behind goes first (sets rolled forward or back,
    // temporaries of dead writers removed).
    RecuperarPasta(fs::path(nome).has_parent_path() ? fs::path(nome).parent_path().string() : ".");
    descartar();
    try {
        if (partirDoAtual && fs::is_regular_file(nome, ec)) {
            fs::copy_file(nome, tmp, fs::copy_options::overwrite_existing, ec);
            if (ec) throw EFalhaGravacao(mensagem, ec.value());
        }
        escrever(tmp);
    } catch (const EFalhaGravacao& f) {
        descartar();
        // Named after the user's file, never the temporary.
        throw EFalhaGravacao(ComCausa(mensagem, CausaFalhaGravacao(nome, f.erro)), f.erro, f.detalhe);
    } catch (const EVandoro&) {
        descartar();
        throw;
    } catch (...) {
        const int e = errno;
        descartar();
        throw EFalhaGravacao(ComCausa(mensagem, CausaFalhaGravacao(nome, e)), e);
    }
    fs::rename(tmp, nome, ec);
    if (ec) {
        descartar();
        throw EFalhaGravacao(ComCausa(mensagem, CausaFalhaGravacao(nome, ec.value())), ec.value());
    }
}

void GravarArquivoInteiro(const std::string& nome, std::string_view bytes, const std::string& erro) {
    SubstituirArquivo(
        nome, [&](const std::string& tmp) { EscreverArquivo(tmp, bytes, nome); }, erro);
}

void RecusaSaidaSobreEntradas(const TPapelArquivo& saida, const std::vector<TPapelArquivo>& entradas) {
    if (saida.nome.empty()) return;
    const std::vector<std::string> escritos = saida.arquivos.empty() ? std::vector{saida.nome} : saida.arquivos;
    for (const TPapelArquivo& e : entradas) {
        if (e.nome.empty()) continue;
        const std::vector<std::string> lidos = e.arquivos.empty() ? std::vector{e.nome} : e.arquivos;
        for (const std::string& s : escritos)
            for (const std::string& l : lidos) {
                if (!MesmoArquivo(s, l)) continue;
                std::string quem = e.oQue;
                if (!MesmoArquivo(l, e.nome)) {
                    // "a" + the article: "ao projeto", "à imagem de entrada".
                    if (quem.rfind("o ", 0) == 0) quem = "ao " + quem.substr(2);
                    else if (quem.rfind("a ", 0) == 0) quem = "à " + quem.substr(2);
                    else quem = "a " + quem;
                    quem = NomeSemCaminho(l) + ", que pertence " + quem;
                }
                throw EVandoro(saida.oQue + saida.nome + " substituiria " + quem + e.nome +
                               ": escolha outro nome. Nada foi gravado.");
            }
    }
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

long long TamanhoArquivo(const std::string& nome) {
    std::error_code ec;
    const auto n = fs::file_size(nome, ec);
    return ec ? -1 : static_cast<long long>(n);
}

std::string ErroAoGravar(const std::string& nome) { return "Erro ao gravar o arquivo " + NomeSemCaminho(nome) + "."; }

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


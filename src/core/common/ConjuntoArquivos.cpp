#include "core/common/ConjuntoArquivos.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"

namespace fs = std::filesystem;

namespace {

const char* const kCabecalho = "VANDORO-CONJUNTO 1\n";
const char* const kFim = "FIM\n";

// The user's file and why it failed ("disco cheio", "pasta inexistente", ...).
EFalhaGravacao Falha(const std::string& nome, int erro = 0) {
    return EFalhaGravacao(ComCausa("Não foi possível gravar o arquivo " + nome + ".", CausaFalhaGravacao(nome, erro)),
                          erro);
}

// A writer's message names the staged file; the user knows only the target.
std::string ComAlvo(std::string msg, const std::string& preparado, const std::string& alvo) {
    for (size_t i = msg.find(preparado); i != std::string::npos; i = msg.find(preparado, i + alvo.size()))
        msg.replace(i, preparado.size(), alvo);
    return msg;
}

// Contents and names reach the disk before the next step counts on them.
bool Sincronizar(const fs::path& p, bool pasta) {
    const int fd = ::open(p.c_str(), pasta ? (O_RDONLY | O_DIRECTORY) : O_RDONLY);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
    ::close(fd);
    return ok;
}

unsigned long long Inode(const fs::path& p) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    return static_cast<unsigned long long>(st.st_ino);
}

bool ProcessoVivo(long pid) {
    if (pid <= 0) return false;
    if (pid == static_cast<long>(::getpid())) return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// The process id in a staging folder's name, or -1 when the name is not one.
long PidDoNome(const std::string& nome) {
    const std::string pre = kPrefixoConjunto, suf = kSufixoConjunto;
    if (nome.size() <= pre.size() + suf.size() || nome.compare(0, pre.size(), pre) != 0 ||
        nome.compare(nome.size() - suf.size(), suf.size(), suf) != 0)
        return -1;
    const std::string meio = nome.substr(pre.size(), nome.size() - pre.size() - suf.size());
    const size_t traco = meio.find('-');
    if (traco == 0 || traco == std::string::npos) return -1;
    long pid = 0;
    for (size_t i = 0; i < traco; ++i) {
        if (meio[i] < '0' || meio[i] > '9' || pid > 100000000) return -1;
        pid = pid * 10 + (meio[i] - '0');
    }
    return pid;
}

// The process id of a single file's temporary ("x.flt.1234.gravando"), or -1.
long PidDoTemporario(const std::string& nome) {
    const std::string suf = kSufixoConjunto;
    if (nome.size() <= suf.size() || nome.compare(nome.size() - suf.size(), suf.size(), suf) != 0) return -1;
    const std::string resto = nome.substr(0, nome.size() - suf.size());
    const size_t ponto = resto.find_last_of('.');
    if (ponto == std::string::npos || ponto + 1 == resto.size() || resto.size() - ponto > 10) return -1;
    long pid = 0;
    for (size_t i = ponto + 1; i < resto.size(); ++i) {
        if (resto[i] < '0' || resto[i] > '9') return -1;
        pid = pid * 10 + (resto[i] - '0');
    }
    return pid;
}

fs::path PastaAlvo(const std::string& nome) {
    const fs::path p(nome);
    return p.has_parent_path() ? p.parent_path() : fs::path(".");
}

// Names may hold any byte, newlines included: each is written as its length and its bytes.
void Campo(std::string& o, const std::string& s) {
    o += std::to_string(s.size());
    o += ':';
    o += s;
}

struct TDiario {
    std::vector<std::string> pastas;  // every staging folder of the set
    struct TItem {
        std::string preparado, alvo;
        unsigned long long inode = 0;
    };
    std::vector<TItem> membros;
    std::vector<std::string> remover;
};

std::string TextoDiario(const TDiario& d) {
    std::string o = kCabecalho;
    for (const std::string& p : d.pastas) {
        o += "P ";
        Campo(o, p);
        o += '\n';
    }
    for (const TDiario::TItem& m : d.membros) {
        o += "M ";
        Campo(o, m.preparado);
        o += ' ';
        Campo(o, m.alvo);
        o += ' ' + std::to_string(m.inode) + '\n';
    }
    for (const std::string& r : d.remover) {
        o += "R ";
        Campo(o, r);
        o += '\n';
    }
    return o + kFim;
}

// False for a journal cut short or damaged: its set never reached the renames.
bool LerDiario(const fs::path& arquivo, TDiario& d) {
    std::string s;
    try {
        s = LerArquivoInteiro(arquivo.string());
    } catch (const EVandoro&) {
        return false;
    }
    const std::string cab = kCabecalho, fim = kFim;
    if (s.size() < cab.size() + fim.size() || s.compare(0, cab.size(), cab) != 0 ||
        s.compare(s.size() - fim.size(), fim.size(), fim) != 0)
        return false;
    size_t i = cab.size();
    const size_t n = s.size() - fim.size();
    const auto campo = [&](std::string& out) {
        size_t len = 0;
        bool digito = false;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            if (len > (1u << 20)) return false;
            len = len * 10 + static_cast<size_t>(s[i++] - '0');
            digito = true;
        }
        if (!digito || i >= n || s[i] != ':' || n - i - 1 < len) return false;
        out = s.substr(i + 1, len);
        i += 1 + len;
        return true;
    };
    const auto literal = [&](char c) { return i < n && s[i++] == c; };
    while (i < n) {
        const char tipo = s[i++];
        if (!literal(' ')) return false;
        if (tipo == 'P') {
            std::string p;
            if (!campo(p) || !literal('\n')) return false;
            d.pastas.push_back(p);
        } else if (tipo == 'M') {
            TDiario::TItem m;
            if (!campo(m.preparado) || !literal(' ') || !campo(m.alvo) || !literal(' ')) return false;
            bool digito = false;
            while (i < n && s[i] >= '0' && s[i] <= '9') {
                m.inode = m.inode * 10 + static_cast<unsigned long long>(s[i++] - '0');
                digito = true;
            }
            if (!digito || !literal('\n')) return false;
            d.membros.push_back(m);
        } else if (tipo == 'R') {
            std::string r;
            if (!campo(r) || !literal('\n')) return false;
            d.remover.push_back(r);
        } else {
            return false;
        }
    }
    return !d.membros.empty() || !d.remover.empty();
}

void Apagar(const fs::path& p) {
    std::error_code ec;
    fs::remove_all(p, ec);
}

// Finishes the renames of a committed set; false when a rename failed (the journals stay
// for the next run).
bool Avancar(const TDiario& d) {
    std::set<fs::path> pastas;
    bool ok = true;
    for (const TDiario::TItem& m : d.membros) {
        if (Inode(m.preparado) == m.inode) {
            std::error_code ec;
            fs::rename(m.preparado, m.alvo, ec);
            if (ec) ok = false;
        }
        pastas.insert(PastaAlvo(m.alvo));
    }
    for (const std::string& r : d.remover) {
        std::error_code ec;
        if (fs::is_regular_file(fs::symlink_status(r, ec))) fs::remove(r, ec);
        pastas.insert(PastaAlvo(r));
    }
    for (const fs::path& p : pastas) Sincronizar(p, true);
    if (!ok) return false;
    // The journals go first: a staging folder without one is only ever rolled back.
    for (const std::string& p : d.pastas) {
        std::error_code ec;
        fs::remove(fs::path(p) / kNomeDiario, ec);
    }
    for (const std::string& p : d.pastas) Sincronizar(p, true);
    for (const std::string& p : d.pastas) Apagar(p);
    return true;
}

void RecuperarConjunto(const fs::path& preparo) {
    TDiario d;
    if (!LerDiario(preparo / kNomeDiario, d)) {
        Apagar(preparo);
        return;
    }
    // Forward only when every new member is whole: still staged, or already in place.
    for (const TDiario::TItem& m : d.membros)
        if (Inode(m.preparado) != m.inode && Inode(m.alvo) != m.inode) {
            Apagar(preparo);
            return;
        }
    Avancar(d);
}

std::atomic<int> gSequencia{0};

}  // namespace

void RecuperarPasta(const std::string& pasta) {
    std::error_code ec;
    const fs::path base = pasta.empty() ? fs::path(".") : fs::path(pasta);
    std::vector<fs::path> abandonados;
    for (fs::directory_iterator it(base, ec), fim; !ec && it != fim; it.increment(ec)) {
        const std::string nome = it->path().filename().string();
        std::error_code e;
        if (it->is_directory(e)) {
            const long pid = PidDoNome(nome);
            if (pid >= 0 && !ProcessoVivo(pid)) abandonados.push_back(it->path());
        } else if (it->is_regular_file(e)) {
            const long pid = PidDoTemporario(nome);
            if (pid >= 0 && !ProcessoVivo(pid)) fs::remove(it->path(), e);
        }
    }
    for (const fs::path& p : abandonados) {
        try {
            RecuperarConjunto(p);
        } catch (...) {
        }
    }
}

void TConjuntoArquivos::Membro(const std::string& nome, TEscritor escrever) {
    membros_.push_back({nome, std::move(escrever)});
}

void TConjuntoArquivos::Remover(const std::string& nome) { remover_.push_back(nome); }

void TConjuntoArquivos::Gravar() {
    // One staging folder per target folder: a rename never crosses file systems.
    std::map<std::string, fs::path> preparos;  // target folder -> staging folder
    std::vector<fs::path> ordem;
    const auto limpar = [&] {
        for (const auto& [alvo, p] : preparos) Apagar(p);
    };
    for (const TMembro& m : membros_) {
        std::error_code ec;
        const fs::path pasta = PastaAlvo(m.nome);
        const std::string chave = fs::weakly_canonical(fs::absolute(pasta, ec), ec).string();
        if (preparos.count(chave)) continue;
        RecuperarPasta(pasta.string());
        const fs::path p = pasta / (std::string(kPrefixoConjunto) + std::to_string(::getpid()) + "-" +
                                    std::to_string(++gSequencia) + kSufixoConjunto);
        Apagar(p);
        if (!fs::create_directory(p, ec) || ec) {
            limpar();
            throw Falha(m.nome, ec.value());
        }
        preparos.emplace(chave, p);
        ordem.push_back(p);
    }

    TDiario d;
    try {
        for (const TMembro& m : membros_) {
            std::error_code ec;
            const fs::path pasta = PastaAlvo(m.nome);
            const fs::path& p = preparos.at(fs::weakly_canonical(fs::absolute(pasta, ec), ec).string());
            const std::string preparado = (p / fs::path(m.nome).filename()).string();
            try {
                m.escrever(preparado);
            } catch (const EFalhaGravacao& e) {
                // Why it failed, unless a write inside the writer already said so.
                std::string msg = ComAlvo(e.what(), preparado, m.nome);
                const std::string causa = CausaFalhaGravacao(m.nome, e.erro);
                if (msg.find(": " + causa) == std::string::npos) msg = ComCausa(msg, causa);
                throw EFalhaGravacao(msg, e.erro, ComAlvo(e.detalhe, preparado, m.nome));
            } catch (const EVandoro& e) {
                throw EVandoro(ComAlvo(e.what(), preparado, m.nome));
            } catch (...) {
                throw Falha(m.nome);
            }
        }
        // Every file a writer left is a member, synced before the journal names it.
        std::set<std::string> novos;
        for (const auto& [chave, p] : preparos) {
            const fs::path pasta = p.parent_path();
            std::error_code ec;
            for (fs::directory_iterator it(p, ec), fim; !ec && it != fim; it.increment(ec)) {
                std::error_code e;
                if (!it->is_regular_file(e) || it->path().filename() == kNomeDiario) continue;
                const fs::path alvo = pasta / it->path().filename();
                // A rename over a folder would fail halfway through the set: refused now.
                if (fs::is_directory(fs::symlink_status(alvo, e)) || !Sincronizar(it->path(), false))
                    throw Falha(alvo.string());
                RecusaSomenteLeitura(alvo.string(), "Não foi possível gravar o arquivo " + alvo.string() + ".");
                d.membros.push_back({it->path().string(), alvo.string(), Inode(it->path())});
                novos.insert(fs::weakly_canonical(fs::absolute(alvo, e), e).string());
            }
            if (ec) throw Falha(pasta.string());
        }
        for (const std::string& r : remover_) {
            std::error_code e;
            if (!novos.count(fs::weakly_canonical(fs::absolute(r, e), e).string())) d.remover.push_back(r);
        }
        for (const fs::path& p : ordem) d.pastas.push_back(p.string());
        // The journal in every staging folder, each whole before any rename.
        const std::string texto = TextoDiario(d);
        for (const fs::path& p : ordem) {
            const fs::path tmp = p / (std::string(kNomeDiario) + ".tmp");
            {
                std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
                f.write(texto.data(), static_cast<std::streamsize>(texto.size()));
                f.flush();
                if (!f) throw Falha(d.membros.empty() ? p.string() : d.membros.front().alvo);
            }
            std::error_code ec;
            if (!Sincronizar(tmp, false)) throw Falha(d.membros.empty() ? p.string() : d.membros.front().alvo);
            fs::rename(tmp, p / kNomeDiario, ec);
            if (ec || !Sincronizar(p, true))
                throw Falha(d.membros.empty() ? p.string() : d.membros.front().alvo);
        }
    } catch (...) {
        limpar();
        throw;
    }
    if (!Avancar(d)) {
        std::string nomes;
        for (const TDiario::TItem& m : d.membros)
            if (Inode(m.preparado) == m.inode) nomes = m.alvo;
        throw EVandoro("Não foi possível substituir o arquivo " + nomes +
                       "; a gravação será concluída na próxima execução nesta pasta.");
    }
}

#pragma once
// Whole-file reads and writes, and the name rules every reader and writer shares.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/common/Erros.h"

// Largest file read whole; anything larger is refused instead of exhausting memory.
inline constexpr long long kLimiteLeitura = 4LL << 30;

// A file over the limit of a read; a reader with its own wording catches this one apart.
class EArquivoGrandeDemais : public EVandoro {
public:
    EArquivoGrandeDemais(const std::string& msg, long long bytes) : EVandoro(msg), tamanho(bytes) {}
    long long tamanho;
};

// The file's bytes. Missing or unreadable files raise EVandoro, files over 'limite' bytes
// EArquivoGrandeDemais, each naming the file without its folder.
std::string LerArquivoInteiro(const std::string& nome, long long limite = kLimiteLeitura);
// The same read into the caller's memory: 'lugar(n)' gives room for the file's n bytes (and
// may raise its own error); a file that yields fewer bytes than its size is a read error.
void LerArquivoInteiro(const std::string& nome, const std::function<char*(long long)>& lugar,
                       long long limite = kLimiteLeitura);

// A write the system refused; 'erro' is its errno (0 when not known) and 'detalhe' a
// library's own text (English, for a detail line at most).
class EFalhaGravacao : public EVandoro {
public:
    EFalhaGravacao(const std::string& msg, int codigo, std::string texto = {})
        : EVandoro(msg), erro(codigo), detalhe(std::move(texto)) {}
    int erro;
    std::string detalhe;
};

// Why writing 'nome' failed, in the user's words: "disco cheio", "sem permissão", "pasta
// inexistente", ... From 'erro' (an errno) when it tells, otherwise from what the folder
// and the name are now; "erro de gravação" when nothing does.
std::string CausaFalhaGravacao(const std::string& nome, int erro);
// 'mensagem' with ": <causa>" before its final full stop.
std::string ComCausa(const std::string& mensagem, const std::string& causa);

// Whether the file's mode bits forbid writing it (a file marked read-only). Checked by
// the bits themselves: root may write anyway, but the user marked it so.
bool SomenteLeitura(const std::string& nome);
// Raises EFalhaGravacao("<mensagem>: o arquivo está marcado como somente leitura.") for one.
void RecusaSomenteLeitura(const std::string& nome, const std::string& mensagem);

// Writes 'bytes' to 'caminho' as it is (no temporary): for a writer that already holds a
// temporary. A failure raises EFalhaGravacao with the errno, naming 'mostrado'.
void EscreverArquivo(const std::string& caminho, std::string_view bytes, const std::string& mostrado);

// Replaces 'nome' atomically: 'escrever' fills a temporary file in the same folder
// (its path is the argument), which is then renamed over 'nome'. On any failure the
// temporary is removed and the old file stays as it was; an EVandoro from 'escrever'
// passes through, a failed write (EFalhaGravacao, a failed rename or any other failure)
// raises EFalhaGravacao(erro with its cause: "Não foi possível gravar o arquivo <nome>:
// disco cheio.").
// With 'partirDoAtual' the temporary starts as a copy of the current file (INI updates).
void SubstituirArquivo(const std::string& nome, const std::function<void(const std::string& temporario)>& escrever,
                       const std::string& erro = {}, bool partirDoAtual = false);

// The temporary of a write is the target's name, the writer's process id and this suffix
// ("x.flt.1234.gravando"); the next write into the folder removes those of dead writers.
inline constexpr const char* kSufixoTemporario = ".gravando";
std::string NomeTemporario(const std::string& nome);

// "Erro ao gravar o arquivo <nome without its folder>.": the message of the format writers.
std::string ErroAoGravar(const std::string& nome);

// SubstituirArquivo with the whole content at once.
void GravarArquivoInteiro(const std::string& nome, std::string_view bytes, const std::string& erro = {});

// True when both names reach the same file: another spelling, a link, a relative path.
// Names of files that do not exist yet compare by their absolute, normalised form.
bool MesmoArquivo(const std::string& a, const std::string& b);

bool ArquivoExiste(const std::string& nome);  // a regular file
// Its size in bytes; -1 when it cannot be known.
long long TamanhoArquivo(const std::string& nome);

// A file a command reads or writes, as its messages name it ("o projeto ", "O relatório ");
// 'arquivos' lists every file it is made of (empty: the name alone).
struct TPapelArquivo {
    std::string nome;
    std::string oQue;
    std::vector<std::string> arquivos = {};
};
// Refuses an output any of whose files is one of an input's (another spelling, a link,
// "sub/../x"): "<Saída> substituiria <entrada>: escolha outro nome. Nada foi gravado.",
// and for a companion file of the input "<Saída> substituiria <arquivo>, que pertence a
// <entrada>: ...". Every command asks this before it writes anything.
void RecusaSaidaSobreEntradas(const TPapelArquivo& saida, const std::vector<TPapelArquivo>& entradas);

std::string NomeSemCaminho(const std::string& caminho);  // "a/b/c.asc" -> "c.asc"
std::string PastaDe(const std::string& caminho);         // "a/b/c.asc" -> "a/b", "" without a folder
std::string ExtensaoDe(const std::string& nome);         // lower case with the dot: ".asc", "" if none
std::string TrocaExtensao(const std::string& nome, const std::string& ext);  // ext with its dot

#pragma once
// Whole-file reads and writes, and the name rules every reader and writer shares.
#include <functional>
#include <string>
#include <string_view>

#include "common/Erros.h"

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

// Replaces 'nome' atomically: 'escrever' fills a temporary file in the same folder
// (its path is the argument), which is then renamed over 'nome'. On any failure the
// temporary is removed and the old file stays as it was; an EVandoro from 'escrever'
// passes through, any other failure raises EVandoro(erro) (empty: "Não foi possível
// gravar o arquivo <nome>.").
// With 'partirDoAtual' the temporary starts as a copy of the current file (INI updates).
void SubstituirArquivo(const std::string& nome, const std::function<void(const std::string& temporario)>& escrever,
                       const std::string& erro = {}, bool partirDoAtual = false);

// The temporary of a write is the target's name with this suffix.
inline constexpr const char* kSufixoTemporario = ".gravando";

// SubstituirArquivo with the whole content at once.
void GravarArquivoInteiro(const std::string& nome, std::string_view bytes, const std::string& erro = {});

// True when both names reach the same file: another spelling, a link, a relative path.
// Names of files that do not exist yet compare by their absolute, normalised form.
bool MesmoArquivo(const std::string& a, const std::string& b);

bool ArquivoExiste(const std::string& nome);

std::string NomeSemCaminho(const std::string& caminho);  // "a/b/c.asc" -> "c.asc"
std::string PastaDe(const std::string& caminho);         // "a/b/c.asc" -> "a/b", "" without a folder
std::string ExtensaoDe(const std::string& nome);         // lower case with the dot: ".asc", "" if none
std::string TrocaExtensao(const std::string& nome, const std::string& ext);  // ext with its dot
std::string Minusculas(std::string s);                   // ASCII only
std::string Maiusculas(std::string s);                   // ASCII only

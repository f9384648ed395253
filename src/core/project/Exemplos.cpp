#include "core/project/Exemplos.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"

namespace fs = std::filesystem;

std::string PastaExemplosUsuario(const std::string& pastaDocumentos) {
    return (fs::path(pastaDocumentos) / "Vandoro" / "Exemplos").generic_string();
}

bool PastaGravavel(const std::string& pasta) { return ::access(pasta.c_str(), W_OK) == 0; }

namespace {

// Absolute and without "..", links resolved where the path exists.
fs::path Normal(const std::string& p) {
    std::error_code ec;
    fs::path r = fs::weakly_canonical(fs::absolute(p, ec), ec);
    return ec ? fs::absolute(p).lexically_normal() : r;
}

bool Dentro(const fs::path& rel) { return !rel.empty() && *rel.begin() != ".." && rel.is_relative(); }

}  // namespace

std::string CaminhoEditavel(const std::string& caminho, const std::string& pastaPrograma,
                            const std::string& pastaDocumentos, const std::function<bool(const std::string&)>& gravavel) {
    std::error_code ec;
    const fs::path exemplos = Normal((fs::path(pastaPrograma) / "Exemplos").string());
    const fs::path arquivo = Normal(caminho);
    const fs::path rel = arquivo.lexically_relative(exemplos);
    if (!Dentro(rel) || !fs::is_regular_file(arquivo, ec)) return caminho;
    if (gravavel(exemplos.string())) return caminho;

    const fs::path destino(PastaExemplosUsuario(pastaDocumentos));
    std::vector<fs::path> faltam;
    for (auto it = fs::recursive_directory_iterator(exemplos, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const fs::path alvo = destino / it->path().lexically_relative(exemplos);
        if (!fs::exists(alvo, ec)) faltam.push_back(it->path());
    }
    if (faltam.empty()) return (destino / rel).generic_string();
    fs::create_directories(destino, ec);
    if (ec || !fs::is_directory(destino, ec))
        throw EVandoro("Não foi possível criar a pasta " + destino.generic_string() + ".");
    for (const fs::path& origem : faltam) {
        const fs::path alvo = destino / origem.lexically_relative(exemplos);
        fs::create_directories(alvo.parent_path(), ec);
        if (ec) throw EVandoro("Não foi possível criar a pasta " + alvo.parent_path().generic_string() + ".");
        GravarArquivoInteiro(alvo.string(), LerArquivoInteiro(origem.string()),
                             "Não foi possível copiar o exemplo " + origem.filename().string() + " para " +
                                 alvo.parent_path().generic_string() + ".");
    }
    return (destino / rel).generic_string();
}

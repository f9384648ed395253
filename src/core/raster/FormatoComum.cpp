#include "core/raster/FormatoComum.h"

#include <optional>

namespace raster_interno {

void GravaPar(const std::string& cabecalho, std::string_view textoCabecalho,
              const std::string& dados, std::string_view bytesDados) {
    std::optional<std::string> antigo;
    if (ArquivoExiste(cabecalho)) antigo = LerArquivoInteiro(cabecalho);
    bool cabecalhoNovo = false;
    try {
        SubstituirArquivo(
            dados,
            [&](const std::string& temporario) {
                // Already the temporary: a failure names the user's file, not this one.
                EscreverArquivo(temporario, bytesDados, NomeSemCaminho(dados));
                GravarArquivoInteiro(cabecalho, textoCabecalho, ErroAoGravar(cabecalho));
                cabecalhoNovo = true;
            },
            "Erro ao gravar o arquivo " + NomeSemCaminho(dados) + ".");
    } catch (...) {
        if (cabecalhoNovo) {
            try {
                if (antigo) {
                    GravarArquivoInteiro(cabecalho, *antigo, ErroAoGravar(cabecalho));
                } else {
                    std::error_code ec;
                    fs::remove(cabecalho, ec);
                }
            } catch (...) {
            }
        }
        throw;
    }
}

}  // namespace raster_interno

#include "core/raster/FormatoComum.h"

namespace raster_interno {

void GravaPar(const std::string& cabecalho, std::string_view textoCabecalho,
              const std::string& dados, std::string_view bytesDados) {
    EscreverArquivo(dados, bytesDados, NomeSemCaminho(dados));
    EscreverArquivo(cabecalho, textoCabecalho, NomeSemCaminho(cabecalho));
}

}  // namespace raster_interno

#include "core/location/Escoadouros.h"

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/raster/Vetor.h"

const char* const kFiltroEscoadouros =
    "Linhas (*.gpkg *.shp *.geojson *.json *.kml *.kmz *.gml *.vet);;Todos os arquivos (*)";

namespace {

std::vector<TPolilinha> LerVet(const std::string& arquivo) {
    TVET vet;
    try {
        vet.Load(arquivo);
    } catch (const EVandoro& e) {
        throw EVandoro("Não foi possível abrir os canais escoadouros " + NomeSemCaminho(arquivo) + ": " + e.what());
    }
    std::vector<TPolilinha> linhas;
    for (const TVetorRecPonto& l : vet.Lines()) {
        TPolilinha pl;
        for (const TRecPonto& p : l.Pontos()) {
            if (!pl.x.empty() && pl.x.back() == p.X && pl.y.back() == p.Y) continue;
            pl.x.push_back(p.X);
            pl.y.push_back(p.Y);
        }
        if (pl.x.size() >= 2) linhas.push_back(std::move(pl));
    }
    return linhas;
}

}  // namespace

std::vector<TPolilinha> LerEscoadouros(const std::string& arquivo, const std::string& crsModelo,
                                       const TGradeMapa& grade) {
    const std::string nome = NomeSemCaminho(arquivo);
    if (!ArquivoExiste(arquivo)) throw EVandoro("O arquivo dos canais escoadouros " + arquivo + " não existe.");
    const std::vector<TPolilinha> linhas =
        ExtensaoDe(arquivo) == ".vet" ? LerVet(arquivo) : LerLinhasNoModelo(arquivo, crsModelo);
    if (linhas.empty())
        throw EVandoro("Os canais escoadouros " + nome + " não contêm nenhuma linha: desenhe cada canal como uma linha.");
    const double maxX = grade.minX + grade.colunas * grade.largura, minY = grade.maxY - grade.linhas * grade.altura;
    for (const TPolilinha& pl : linhas)
        for (size_t k = 0; k < pl.x.size(); ++k)
            if (pl.x[k] >= grade.minX && pl.x[k] <= maxX && pl.y[k] >= minY && pl.y[k] <= grade.maxY) return linhas;
    throw EVandoro("Os canais escoadouros " + nome + " não passam sobre o modelo de elevação.");
}

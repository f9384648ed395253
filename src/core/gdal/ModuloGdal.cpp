// The GDAL module's one export: the table of Gdal.h's functions.
#include "core/common/Threads.h"
#include "core/gdal/TabelaGdal.h"

namespace {
TTabelaGdal Montar() {
    TTabelaGdal t{};
    t.defineThreads = DefineThreads;
#define VANDORO_PREENCHE_GDAL(campo, funcao, retorno, parametros, argumentos) \
    t.campo = static_cast<retorno(*) parametros>(&funcao);
    VANDORO_FUNCOES_GDAL(VANDORO_PREENCHE_GDAL)
#undef VANDORO_PREENCHE_GDAL
    return t;
}
}  // namespace

extern "C" __attribute__((visibility("default"))) const TTabelaGdal* VandoroTabelaGdal() {
    static const TTabelaGdal tabela = Montar();
    return &tabela;
}

// The program's side of the GDAL module: opened on the first call, every call forwarded.
#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "core/common/Erros.h"
#include "core/common/Threads.h"
#include "core/gdal/TabelaGdal.h"

namespace {

// Beside the executable, as installed; else in the build's program folder, where the tests
// and benchmarks that run from other folders find it.
const TTabelaGdal* Abrir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    std::string erro;
    for (const std::string& pasta : {ec ? std::string() : exe.parent_path().string() + "/",
                                    std::string(VANDORO_PASTA_MODULOS)}) {
        const std::string modulo = pasta + kModuloGdal;
        if (pasta.empty() || !std::filesystem::exists(modulo, ec)) continue;
        void* h = dlopen(modulo.c_str(), RTLD_NOW | RTLD_LOCAL);  // never closed
        auto entrada = h ? reinterpret_cast<TEntradaGdal>(dlsym(h, kEntradaGdal)) : nullptr;
        if (entrada) return entrada();
        const char* e = dlerror();
        if (erro.empty()) erro = modulo + (e ? std::string(": ") + e : std::string());
    }
    if (erro.empty()) erro = exe.parent_path().string() + "/" + kModuloGdal + ": o arquivo não existe";
    throw EVandoro("Não foi possível carregar o módulo do GDAL " + erro + ".");
}

const TTabelaGdal& Tabela() {
    static const TTabelaGdal* const tabela = Abrir();
    // A bad VANDORO_THREADS is the module's to report, where the count is used.
    int n = 0;
    try {
        n = NumeroThreads();
    } catch (const EVandoro&) {
    }
    tabela->defineThreads(n);
    return *tabela;
}

}  // namespace

#define VANDORO_REPASSA_GDAL(campo, funcao, retorno, parametros, argumentos) \
    retorno funcao parametros { return Tabela().campo argumentos; }
VANDORO_FUNCOES_GDAL(VANDORO_REPASSA_GDAL)
#undef VANDORO_REPASSA_GDAL

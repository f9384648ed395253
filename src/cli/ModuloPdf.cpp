#include "cli/ModuloPdf.h"

#include <dlfcn.h>

#include "cli/Comando.h"
#include "core/common/Arquivo.h"
#include "core/common/Erros.h"

bool RelatorioEmPdf(const std::string& arquivo) { return ExtensaoDe(arquivo) == ".pdf"; }

int GravarPdfPeloModulo(TPedidoPdf pedido) {
    const std::string modulo = PastaPrograma() + kModuloPdf;
    // Never closed: Qt, once loaded, stays until the process ends.
    void* h = dlopen(modulo.c_str(), RTLD_NOW | RTLD_LOCAL);
    const char* falha = h ? nullptr : dlerror();
    auto gravar = h ? reinterpret_cast<TGravarPdf>(dlsym(h, kEntradaPdf)) : nullptr;
    if (!gravar)
        throw EVandoro("Não foi possível carregar o módulo de PDF " + modulo + (falha ? std::string(": ") + falha : "") +
                       ".");
    pedido.regional = Regional::Current();
    std::string erro;
    const int paginas = gravar(&pedido, &erro);
    if (paginas <= 0) throw EVandoro(erro.empty() ? "Não foi possível gravar o arquivo " + pedido.saida + "." : erro);
    return paginas;
}

// vandoro-telas: pictures of the desktop program's windows for review (`make telas`). It
// lives beside `vandoro` in the build's program folder, since the windows find their
// figures, help pages and rainfall database beside the running executable; it is never
// installed.
#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

#include "gui/common/Aplicacao.h"
#include "telas/Telas.h"

namespace {

const char* const kUso =
    "Uso: vandoro-telas PASTA   grava em PASTA uma imagem PNG de cada janela do programa,\n"
    "                           aberta sobre os exemplos\n";

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUso, stdout);
            return 0;
        }
    }
    TAplicacao app(argc, argv);
    PrepararPrograma(app);
    // Qt has taken its own options (-platform, -style, ...) out of the list already.
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::fputs(kUso, stderr);
        return 2;
    }
    return GerarTelas(args[1], QApplication::applicationDirPath());
}

// vandoro-telas: pictures of the desktop program's windows for review (`make telas`). It
// lives beside `vandoro` in the build's program folder, since the windows find their
// figures, help pages and rainfall database beside the running executable; it is never
// installed.
#include <QApplication>

#include <cstdio>

#include "gui/common/Aplicacao.h"
#include "telas/Telas.h"

int main(int argc, char** argv) {
    TAplicacao app(argc, argv);
    PrepararPrograma(app);
    // Qt has taken its own options (-platform, -style, ...) out of the list already.
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fputs("Uso: vandoro-telas PASTA   grava em PASTA uma imagem PNG de cada janela do programa,\n"
                   "                           aberta sobre os exemplos\n",
                   stderr);
        return 2;
    }
    return GerarTelas(args[1], QApplication::applicationDirPath());
}

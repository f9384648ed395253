// The desktop program: start screen, then the main window; `vandoro ARQUIVO.kzp` opens that
// project. `--telas PASTA` (for the build) saves pictures of the windows and ends.
#include <QApplication>
#include <QFileInfo>

#include <cstdlib>

#include "common/Regional.h"
#include "shell/Inicial.h"
#include "shell/Principal.h"
#include "shell/Telas.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The application's name, not its display name: Qt appends a display name to every
    // window caption, and the captions already carry the title.
    QApplication::setApplicationName(QStringLiteral("Vandoro 4.1"));

    const char* lc = std::getenv("LC_ALL");
    if (!lc || !*lc) lc = std::getenv("LC_NUMERIC");
    if (!lc || !*lc) lc = std::getenv("LANG");
    Regional::SetCurrent(Regional::FromLocaleName(lc ? lc : ""));

    const QStringList args = QApplication::arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("--telas"))
        return GerarTelas(args[2], QApplication::applicationDirPath());

    TFInicial inicial;
    inicial.show();
    inicial.Timer1().start();
    QApplication::processEvents();

    TFPrincipal principal;
    principal.showMaximized();
    inicial.raise();
    principal.MostrarAvisosIniciais();
    if (args.size() >= 2) principal.AbrirArquivo(QFileInfo(args[1]).absoluteFilePath());
    return QApplication::exec();
}

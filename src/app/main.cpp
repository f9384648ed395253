// The desktop program: start screen, then the main window; `vandoro ARQUIVO.kzp` opens that
// project (the file manager starts it so). `--version` prints the version; `--legenda` opens
// the project without showing anything, prints the main window's caption and ends (for the
// installation check).
#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

#include "core/common/Versao.h"
#include "gui/common/Aplicacao.h"
#include "gui/common/Dialogos.h"
#include "gui/common/DialogosTexto.h"
#include "gui/shell/Inicial.h"
#include "gui/shell/Principal.h"

namespace {

const char* const kUso =
    "Uso: vandoro [ARQUIVO.kzp]            abre o programa (e o projeto)\n"
    "     vandoro --legenda [ARQUIVO.kzp]  abre o projeto sem mostrar janelas, escreve o\n"
    "                                      título da janela principal e termina\n"
    "     vandoro --version                escreve a versão\n";

int Legenda(const QString& projeto) {
    TDialogosTexto servico(QStringLiteral("vandoro"));
    InstalarDialogos(&servico);
    int codigo = 0;
    {
        TFPrincipal principal;
        if (!projeto.isEmpty() && !principal.AbrirArquivo(QFileInfo(projeto).absoluteFilePath())) codigo = 1;
        std::printf("%s\n", principal.windowTitle().toUtf8().constData());
    }
    InstalarDialogos(nullptr);
    return codigo;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt looks for a screen, so they work without one.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", kNomeVersao);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUso, stdout);
            return 0;
        }
    }

    TAplicacao app(argc, argv);
    PrepararPrograma(app);

    // Qt has taken its own options (-platform, -style, ...) out of the list already.
    const QStringList args = QApplication::arguments();
    bool legenda = false;
    QString projeto;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--legenda")) {
            legenda = true;
        } else if (args[i].startsWith(QLatin1String("--"))) {
            std::fprintf(stderr, "vandoro: opção desconhecida: %s.\n%s", args[i].toUtf8().constData(), kUso);
            return 2;
        } else if (projeto.isEmpty()) {
            projeto = args[i];
        } else {
            std::fprintf(stderr, "vandoro: o programa abre um projeto por vez.\n%s", kUso);
            return 2;
        }
    }
    if (legenda) return Legenda(projeto);

    TFInicial inicial;
    inicial.show();
    inicial.Timer1().start();
    QApplication::processEvents();

    TFPrincipal principal;
    principal.showMaximized();
    inicial.raise();
    principal.MostrarAvisosIniciais(&inicial);
    if (!projeto.isEmpty()) principal.AbrirArquivo(QFileInfo(projeto).absoluteFilePath());
    return QApplication::exec();
}

#include "common/Ajuda.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "common/Dialogos.h"
#include "shell/Browser.h"

void AbrirAjuda(QWidget* pai, int topico) {
    const QString pagina = QCoreApplication::applicationDirPath() + "/ajuda/" + QString::number(topico) + ".htm";
    if (!QFileInfo::exists(pagina)) {
        Dialogos().Erro(pai, "Arquivo de ajuda não encontrado\r" + pagina);
        return;
    }
    TBrowser b(pai);
    b.HelpContext = topico;
    b.show(pagina);
}

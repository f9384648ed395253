#include "gui/common/Ajuda.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "gui/common/Browser.h"
#include "gui/common/Dialogos.h"

namespace {
bool avisado = false;  // a missing page is reported once per run
}

QString PaginaAjuda(int topico) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ajuda/") + QString::number(topico) +
           QStringLiteral(".htm");
}

void AbrirAjuda(QWidget* pai, int topico) {
    const QString pagina = PaginaAjuda(topico);
    if (!QFileInfo::exists(pagina)) {
        if (!avisado) Dialogos().Erro(pai, QStringLiteral("Arquivo de ajuda não encontrado\r") + pagina);
        avisado = true;
        return;
    }
    TBrowser b(pai);
    b.HelpContext = kTopicoNavegador;
    b.show(pagina);
}

void ReiniciarAvisoAjuda() { avisado = false; }

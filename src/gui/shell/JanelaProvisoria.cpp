#include "shell/JanelaProvisoria.h"

#include <QLabel>
#include <QVBoxLayout>

TJanelaProvisoria::TJanelaProvisoria(const QString& modulo, const QString& titulo, QWidget* pai)
    : QWidget(pai), modulo_(modulo) {
    setWindowTitle(titulo);
    auto* v = new QVBoxLayout(this);
    auto* l = new QLabel(QStringLiteral("Esta janela chega em uma próxima versão do programa."), this);
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    v->addWidget(l);
}

QWidget* CriarLocacaoProvisoria(QWidget* pai) {
    auto* j = new TJanelaProvisoria(QStringLiteral("Locacao"), QStringLiteral("Módulo para a Locação"), pai);
    j->setObjectName("frmLocacao");
    j->resize(640, 480);
    return j;
}

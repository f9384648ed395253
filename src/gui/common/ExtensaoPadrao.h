#pragma once
// The default extension of the file dialogs: a name typed without one takes it.
#include <QFileInfo>
#include <QString>

// 'nome' with 'extensao' (".asc") added when it has none; an empty choice stays empty.
inline QString ComExtensaoPadrao(const QString& nome, const QString& extensao) {
    if (nome.isEmpty() || !QFileInfo(nome).suffix().isEmpty()) return nome;
    return nome + extensao;
}

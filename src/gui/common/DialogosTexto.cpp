#include "gui/common/DialogosTexto.h"

#include <cstdio>

TResposta TDialogosTexto::SimNaoCancelar(QWidget*, const QString& t) {
    Relatar("pergunta", t);
    return TResposta::Nao;
}

bool TDialogosTexto::SimNao(QWidget*, const QString& t) {
    Relatar("pergunta", t);
    return false;
}

void TDialogosTexto::Relatar(const char* tipo, const QString& texto) const {
    std::fprintf(stderr, "%s: %s: %s\n", programa_.toUtf8().constData(), tipo, texto.toUtf8().constData());
}

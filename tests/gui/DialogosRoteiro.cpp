#include "DialogosRoteiro.h"

#include <gtest/gtest.h>

QStringList TDialogosRoteiro::Mensagens(const QString& tipo) const {
    QStringList r;
    for (const QString& l : registro)
        if (l.startsWith(tipo + ": ")) r << l.mid(tipo.size() + 2);
    return r;
}

TResposta TDialogosRoteiro::SimNaoCancelar(QWidget*, const QString& texto) {
    registro << "pergunta: " + texto;
    if (respostas.empty()) {
        ADD_FAILURE() << "pergunta sem resposta no roteiro: " << texto.toStdString();
        return TResposta::Cancelar;
    }
    const TResposta r = respostas.front();
    respostas.pop_front();
    return r;
}

bool TDialogosRoteiro::SimNao(QWidget* pai, const QString& texto) { return SimNaoCancelar(pai, texto) == TResposta::Sim; }

QString TDialogosRoteiro::ArquivoAbrir(QWidget*, const QString& titulo, const QString&, const QString& filtro) {
    registro << "abrir: " + titulo;
    filtros << filtro;
    if (arquivos.empty()) return {};
    const QString r = arquivos.front();
    arquivos.pop_front();
    return r;
}

QString TDialogosRoteiro::ArquivoSalvar(QWidget*, const QString& titulo, const QString&, const QString& filtro) {
    filtros << filtro;
    registro << "salvar: " + titulo;
    if (arquivos.empty()) return {};
    const QString r = arquivos.front();
    arquivos.pop_front();
    return r;
}

int TDialogosRoteiro::Executar(QDialog& d) {
    registro << "dialogo: " + d.windowTitle();
    if (dialogos.empty()) {
        ADD_FAILURE() << "diálogo sem roteiro: " << d.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    auto f = dialogos.front();
    dialogos.pop_front();
    return f(d);
}

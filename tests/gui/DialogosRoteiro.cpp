#include "DialogosRoteiro.h"

#include <gtest/gtest.h>

#include <QApplication>

TDialogosRoteiro::~TDialogosRoteiro() {
    InstalarDialogos(nullptr);
    if (!QApplication::overrideCursor()) return;
    ADD_FAILURE() << "cursor de espera deixado ativo";
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void TDialogosRoteiro::Anotar(const QString& linha) {
    registro << linha;
    if (QApplication::overrideCursor())
        ADD_FAILURE() << "mostrado sob o cursor de espera: " << linha.toStdString();
}

QStringList TDialogosRoteiro::Mensagens(const QString& tipo) const {
    QStringList r;
    for (const QString& l : registro)
        if (l.startsWith(tipo + ": ")) r << l.mid(tipo.size() + 2);
    return r;
}

TResposta TDialogosRoteiro::SimNaoCancelar(QWidget*, const QString& texto) {
    Anotar("pergunta: " + texto);
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
    Anotar("abrir: " + titulo);
    filtros << filtro;
    if (arquivos.empty()) return {};
    const QString r = arquivos.front();
    arquivos.pop_front();
    return r;
}

QString TDialogosRoteiro::ArquivoSalvar(QWidget*, const QString& titulo, const QString&, const QString& filtro) {
    filtros << filtro;
    Anotar("salvar: " + titulo);
    if (arquivos.empty()) return {};
    const QString r = arquivos.front();
    arquivos.pop_front();
    return r;
}

int TDialogosRoteiro::Executar(QDialog& d) {
    Anotar("dialogo: " + d.windowTitle());
    if (dialogos.empty()) {
        ADD_FAILURE() << "diálogo sem roteiro: " << d.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    auto f = dialogos.front();
    dialogos.pop_front();
    return f(d);
}

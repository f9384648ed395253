#pragma once
// A dialog service for window tests: answers from a script, records every question.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "gui/common/Dialogos.h"

class TDialogosRoteiro : public TServicoDialogos {
public:
    TDialogosRoteiro() { InstalarDialogos(this); }
    // A wait cursor still set at the end fails the test (and is cleared for the next one).
    ~TDialogosRoteiro() override;

    // Answers, taken in order; an unscripted question fails the test and answers Cancelar / "".
    std::deque<TResposta> respostas;
    std::deque<QString> arquivos;
    // Fills in and closes a modal dialog of the program; returns its result code.
    std::deque<std::function<int(QDialog&)>> dialogos;
    bool imprimir = true;  // answer of the print and page set-up dialogs

    // Everything asked or shown, in order: "erro: ...", "aviso: ...", "info: ...",
    // "pergunta: ...", "abrir: <título>", "salvar: <título>", "imprimir", "dialogo: <título>".
    QStringList registro;
    QStringList detalhes;  // of the error boxes that have them
    QStringList filtros;   // of every file dialog, in order
    QStringList Mensagens(const QString& tipo) const;  // texts of one kind, without the prefix

    TResposta SimNaoCancelar(QWidget*, const QString& texto) override;
    bool SimNao(QWidget*, const QString& texto) override;
    void Erro(QWidget*, const QString& texto) override { Anotar("erro: " + texto); }
    void ErroDetalhado(QWidget*, const QString& texto, const QString& detalhe) override {
        Anotar("erro: " + texto);
        detalhes << detalhe;
    }
    void Aviso(QWidget*, const QString& texto) override { Anotar("aviso: " + texto); }
    void Informacao(QWidget*, const QString& texto) override { Anotar("info: " + texto); }
    QString ArquivoAbrir(QWidget*, const QString& titulo, const QString&, const QString&) override;
    QString ArquivoSalvar(QWidget*, const QString& titulo, const QString&, const QString&) override;
    bool Imprimir(QWidget*, QPrinter&) override {
        Anotar("imprimir");
        return imprimir;
    }
    bool ConfigurarImpressora(QWidget*, QPrinter&) override {
        Anotar("configurar impressora");
        return imprimir;
    }
    int Executar(QDialog& d) override;

private:
    // Records what is shown; one shown under the wait cursor fails the test, as the user
    // would take the box for work still going on.
    void Anotar(const QString& linha);
};

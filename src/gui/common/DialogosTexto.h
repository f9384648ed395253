#pragma once
// The dialog service of a run with nobody at the screen (the installation check, the
// pictures of the windows): a box would wait for nobody, so every message goes to stderr
// under the program's name, every question is answered "Não", no file is chosen and none of
// the program's own dialogs is shown.
#include <utility>

#include "gui/common/Dialogos.h"

class TDialogosTexto : public TServicoDialogos {
public:
    explicit TDialogosTexto(QString programa) : programa_(std::move(programa)) {}
    TResposta SimNaoCancelar(QWidget*, const QString& t) override;
    bool SimNao(QWidget*, const QString& t) override;
    void Erro(QWidget*, const QString& t) override { Relatar("erro", t); }
    void Aviso(QWidget*, const QString& t) override { Relatar("aviso", t); }
    void Informacao(QWidget*, const QString& t) override { Relatar("info", t); }
    QString ArquivoAbrir(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString ArquivoSalvar(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    bool Imprimir(QWidget*, QPrinter&) override { return false; }
    bool ConfigurarImpressora(QWidget*, QPrinter&) override { return false; }
    int Executar(QDialog&) override { return 0; }

    // One line on stderr: "programa: tipo: texto".
    void Relatar(const char* tipo, const QString& texto) const;

private:
    QString programa_;
};

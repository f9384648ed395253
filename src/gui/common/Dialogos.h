#pragma once
// Every question, message box, file choice and print dialog of the program goes through the
// one installed service, so that a test can answer them and see what was asked.
#include <QString>

#include "core/project/GerenteSis.h"  // TResposta
#include "render/Texto.h"

class QDialog;
class QPrinter;
class QWidget;

class TServicoDialogos {
public:
    virtual ~TServicoDialogos() = default;
    virtual TResposta SimNaoCancelar(QWidget* pai, const QString& texto) = 0;
    virtual bool SimNao(QWidget* pai, const QString& texto) = 0;  // true = Sim
    virtual void Erro(QWidget* pai, const QString& texto) = 0;
    // An error box whose details (the model's own message) open under "Mostrar detalhes".
    // A service without details shows the text alone.
    virtual void ErroDetalhado(QWidget* pai, const QString& texto, const QString& detalhe) {
        (void)detalhe;
        Erro(pai, texto);
    }
    virtual void Aviso(QWidget* pai, const QString& texto) = 0;
    virtual void Informacao(QWidget* pai, const QString& texto) = 0;
    // The chosen path, or empty when the user cancelled. 'inicial' is a folder or a file name;
    // 'filtro' in Qt's form ("Projetos do Vandoro (*.kzp)").
    virtual QString ArquivoAbrir(QWidget* pai, const QString& titulo, const QString& inicial, const QString& filtro) = 0;
    virtual QString ArquivoSalvar(QWidget* pai, const QString& titulo, const QString& inicial, const QString& filtro) = 0;
    // Print dialog and page set-up on the given printer; false when cancelled.
    virtual bool Imprimir(QWidget* pai, QPrinter& impressora) = 0;
    virtual bool ConfigurarImpressora(QWidget* pai, QPrinter& impressora) = 0;
    // Runs one of the program's own modal dialogs; returns its result code.
    virtual int Executar(QDialog& dialogo) = 0;
};

// File dialogs start where the user last went for the same kind of file (the kind is the
// dialog's filter). 'inicial' is what the caller proposes: a folder, a bare file name or
// nothing gives way to the remembered folder (the name kept); a path to a file is kept.
QString InicioDialogoArquivo(const QString& filtro, const QString& inicial);
// Remembers the folder of 'escolhido' for the kind 'filtro'; an empty choice changes nothing.
void LembrarPastaDialogo(const QString& filtro, const QString& escolhido);

TServicoDialogos& Dialogos();
// Installs 's' (not owned) as the service; nullptr brings back the real one.
void InstalarDialogos(TServicoDialogos* s);

// The project manager's questions, answered through the service.
class TDialogosProjetoQt : public IDialogosProjeto {
public:
    explicit TDialogosProjetoQt(QWidget* pai) : pai_(pai) {}
    TResposta PerguntarSimNaoCancelar(const std::string& texto) override;
    bool PerguntarSimNao(const std::string& texto) override;
    bool EscolherArquivoAbrir(const TDialogoArquivo& dlg, std::string& caminho) override;
    bool EscolherArquivoSalvar(const TDialogoArquivo& dlg, std::string& caminho) override;
    void MostrarErro(const std::string& texto) override;
    void MostrarInformacao(const std::string& texto) override;

private:
    QWidget* pai_;
};


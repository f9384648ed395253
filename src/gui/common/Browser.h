#pragma once
// The document browser: the modal window TFBrowser over the program's HTML view, and the
// component TBrowser that opens it on a start page.
#include <QDialog>
#include <QString>
#include <functional>

class QAction;
class QIcon;
class QKeySequence;
class QLabel;
class QStatusBar;
class QTimer;
class QToolButton;
class TFLocalizar;
class TVisualizadorHtml;
class QWidget;

class TFBrowser : public QDialog {
    Q_OBJECT
public:
    explicit TFBrowser(QWidget* pai = nullptr);

    void SetPaginaInicial(const QString& caminho) { inicial_ = caminho; }
    void SetHelpContext(int topico) { helpContext_ = topico; }
    void SetShowAbout(bool mostrar) { showAbout_ = mostrar; }
    // What "Sobre" shows (the program's About box); nothing when unset.
    void SetSobre(std::function<void(QWidget*)> f) { sobre_ = std::move(f); }

    TVisualizadorHtml* Html() const { return html_; }
    TFLocalizar* DialogoLocalizar() const { return localizar_; }

    // The window's commands, also reachable from its buttons and menu.
    void Voltar();
    void Avancar();
    void Inicio();
    void AbrirLocalizar();
    void LocalizarProxima(const QString& texto, bool diferenciarMaiusculas);
    void Imprimir();
    void ExportarPdf();
    void Ajuda();
    void Sobre();

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QAction* Acao(const char* nome, const QString& texto, const QIcon& icone, const QKeySequence& atalho);
    QToolButton* Botao(const char* nome, QAction* acao, const QString& texto);
    void AjustarBotoes(bool ocupado);
    void AtualizarLegenda();
    void Centralizar();
    void AtualizarRelogio();

    QString inicial_;
    int helpContext_ = 0;
    bool showAbout_ = false;
    bool ativado_ = false;
    std::function<void(QWidget*)> sobre_;

    TVisualizadorHtml* html_;
    TFLocalizar* localizar_;
    QAction *acVoltar_, *acAvancar_, *acInicio_, *acLocalizar_, *acImprimir_, *acPdf_, *acAjuda_, *acSobre_,
        *acSepSobre_, *acSair_;
    QStatusBar* status_;
    QLabel* lblTexto_;
    QLabel* lblRelogio_;
    QTimer* timer_;
};

class TBrowser {
public:
    explicit TBrowser(QWidget* pai = nullptr) : pai_(pai) {}
    int HelpContext = 0;     // help topic of the window
    bool ShowAbout = false;  // whether "Sobre" is offered
    std::function<void(QWidget*)> Sobre;  // shows the About box over the given window
    // Opens 'caminho' modally; true when the window closed with OK ("Sair").
    bool show(const QString& caminho);

private:
    QWidget* pai_;
};

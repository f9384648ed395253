#pragma once
// Parameter assistants: a coefficient picked from a published table instead of typed.
// Each component keeps Indice (the table row, 1-based) and Valor between calls; Execute
// shows its dialog and copies the choice back only on OK.
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class TReal;
struct TConfiguracao;

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QGridLayout;

// Common part of the four table dialogs: options, the value field, Ok/Cancelar/Ajuda.
class TFTabelaAssistente : public QDialog {
    Q_OBJECT
public:
    void SetDados(int helpContext, int indice, double valor);
    int Indice() const { return indice_; }
    double Valor() const { return valor_; }
    QLineEdit* Campo() const { return edtValor_; }
    QRadioButton* Opcao(int linha) const;  // 1-based
    void ClicarOpcao(int linha);           // as a click on the option
    QPushButton* BotaoOk() const { return btnOk_; }
    void Ok();

protected:
    // 'mensagemVazio': the error of an OK with the value field empty.
    TFTabelaAssistente(QWidget* pai, const QString& titulo, const QString& rotuloCampo, const QString& mensagemVazio);
    // The options and their value cells, built by each dialog into its grid. 'valor' is what
    // a click on the option writes in the value field; a null one only moves the focus there.
    QRadioButton* NovaOpcao(const QString& texto, const QString& valor);
    void Terminar(const QString& fonte);
    QString TextoDaLinha(int linha) const;
    // What typing in the value field does to the options.
    virtual void Digitado() {}
    virtual bool OkPermitido() const { return true; }
    // Extra check before OK is accepted (false keeps the dialog open).
    virtual bool ConfirmarOk() { return true; }
    virtual void AoMostrar() {}
    void Desmarcar();
    void AtualizarOk();

    QGridLayout* grade_ = nullptr;
    QLineEdit* edtValor_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QButtonGroup* grupo_ = nullptr;
    std::vector<QRadioButton*> opcoes_;
    std::vector<QString> valores_;
    QString mensagemVazio_;
    int helpContext_ = 0;
    int indice_ = 0;
    int linhaAtual_ = 0;
    double valor_ = 0;
};

class TFRugCan : public TFTabelaAssistente {
    Q_OBJECT
public:
    explicit TFRugCan(QWidget* pai = nullptr);

protected:
    void Digitado() override;
};

class TFRugTer : public TFTabelaAssistente {
    Q_OBJECT
public:
    explicit TFRugTer(QWidget* pai = nullptr);
};

class TFSm : public TFTabelaAssistente {
    Q_OBJECT
public:
    TFSm(QWidget* pai, const std::string& unidade, int fator);

protected:
    void Digitado() override;
    bool OkPermitido() const override;
    bool ConfirmarOk() override;

private:
    std::string unidade_;
    int fator_;
};

class TFZ : public TFTabelaAssistente {
    Q_OBJECT
public:
    explicit TFZ(QWidget* pai = nullptr);

protected:
    void Digitado() override;
    bool OkPermitido() const override;
    void AoMostrar() override;
};

// The components. HelpContext is the dialog's help topic.
struct TAssistente {
    int HelpContext = 0;
    int Indice = 0;
    double Valor = 0;

protected:
    bool Rodar(TFTabelaAssistente& d);
};

struct TRugCan : TAssistente {
    bool Execute(QWidget* pai = nullptr);
};
struct TRugTer : TAssistente {
    bool Execute(QWidget* pai = nullptr);
};
struct TSm : TAssistente {
    std::string UDeclive = "m/m";
    int KDeclive = 1;
    // Raises EVandoro for a unit other than "%"/"m/m" or a factor other than 1/100.
    bool Execute(QWidget* pai = nullptr);
};
// Sm of a terrace system through its assistant, in the configuration's slope unit: true
// when the user chose a value, written into 'sm' (the assistant's Valor is what the field
// shows); the assistant's refusals are shown as error boxes.
bool EscolherSm(QWidget* pai, TSm& a, const TConfiguracao& cfg, TReal& sm);

struct TZ : TAssistente {
    bool Execute(QWidget* pai = nullptr);
};

// The assistants the main window owns: a row chosen in one window is where the next one
// opens. A window built without them (a test, a tool) completes them with its own.
struct TAssistentes {
    TRugCan* RugCan1 = nullptr;
    TRugTer* RugTer1 = nullptr;
    TSm* Sm1 = nullptr;
    TZ* Z1 = nullptr;
};

class TAssistentesProprios {
public:
    // Points every assistant 'a' lacks at one kept here.
    void Completar(TAssistentes& a);

private:
    std::unique_ptr<TRugCan> rugCan_;
    std::unique_ptr<TRugTer> rugTer_;
    std::unique_ptr<TSm> sm_;
    std::unique_ptr<TZ> z_;
};

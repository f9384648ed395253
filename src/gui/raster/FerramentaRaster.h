#pragma once
// What the slope and filter windows share: input, output and title fields with their file
// choices, the overwrite question, "&Processar", "&Fechar" and "Aj&uda", and the run of the
// computation on a worker thread behind the progress window, its errors shown with the
// focus on the field they concern.
#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class IProgresso;
class QGridLayout;
class QLineEdit;
class QPushButton;

// A filter in the "Descrição|*.a;*.b|..." form, as the file dialogs want it.
QString FiltroArquivos(const QString& filtro);
// The folder of the file 'nome' when there is one, else 'padrao': after a choice the next
// one starts where that file is.
QString PastaDoArquivo(const QString& nome, const QString& padrao);
// True when 'nome' may be written: it does not exist, or the user answered Yes to
// "O arquivo '<nome>' já existe. Deseja substituir o arquivo existente ?".
bool PodeSubstituir(QWidget* pai, const QString& nome);

// What sets one tool's window apart, besides its computation.
struct TDescricaoFerramenta {
    QString objeto;
    QString legenda;
    int topicoAjuda;
    std::string (*tituloPadrao)(const std::string& entrada);  // the title a chosen input suggests
    QString mensagemSucesso;
    bool byteEhErro;  // the byte-image refusal: an error (filter) or a warning (slope)
};

class TFFerramentaRaster : public QDialog {
    Q_OBJECT
public:
    // Handlers, public so that the menu, the tests and the screenshots can press them.
    void BitBtnAbrirClick();
    void BitBtn2Click();
    void BitBtnCalcularClick();
    void BitBtn4Click() { reject(); }
    void BitBtn5Click();

    // Folder the file choices start in until a file has been chosen.
    void SetPastaInicial(const QString& pasta) { pasta_ = pasta; }

    QLineEdit* EdtArqEntrada() const { return edtArqEntrada_; }
    QLineEdit* EdtArqSaida() const { return edtArqSaida_; }
    QLineEdit* EdtTitulo() const { return edtTitulo_; }

protected:
    // Both file choices list the image formats (FiltroImagens).
    TFFerramentaRaster(const TDescricaoFerramenta& descricao, QWidget* pai);

    // Rows below the title (the filter's number of passes).
    QGridLayout* Grade() const { return grade_; }
    void done(int r) override;  // FormClose: the three fields emptied

    // On the interface thread, after the names are checked and before the work: the values
    // the work needs are taken here.
    virtual void TomarParametros() {}
    // The whole command, on the worker thread.
    virtual void Calcular(const std::string& entrada, const std::string& saida, const std::string& titulo,
                          const std::string& legenda, IProgresso& progresso) = 0;

private:
    TDescricaoFerramenta descricao_;
    QString pasta_;
    QGridLayout* grade_;
    QLineEdit *edtArqEntrada_, *edtArqSaida_, *edtTitulo_;
    QPushButton *btnAbrir_, *btnSalvar_, *btnCalcular_;
};

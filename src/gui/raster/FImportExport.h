#pragma once
// Vector conversion between the program's ".vet" and Idrisi (".vec" + ".dvc") or Surfer
// (".txt") vectors. The caller chooses the direction before showing the window; the caption
// says it: "Importação de arquivo" or "Exportação de arquivo".
#include <QDialog>
#include <QString>

#include <functional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

inline const char* const kLegendaImportacao = "Importação de arquivo";
inline const char* const kLegendaExportacao = "Exportação de arquivo";

class TFImportExport : public QDialog {
    Q_OBJECT
public:
    // The help page of the window.
    static constexpr int kTopicoAjuda = 22;

    enum class TDirecao { Importacao, Exportacao };

    explicit TFImportExport(QWidget* pai = nullptr, TDirecao direcao = TDirecao::Importacao);

    // The direction and its caption; the group titles follow when the window is shown.
    void SetDirecao(TDirecao direcao);
    TDirecao Direcao() const { return direcao_; }

    // Folder the file choices start in until a file has been chosen.
    void SetPastaInicial(const QString& pasta) { pasta_ = pasta; }

    // Handlers, public so that the menu, the tests and the screenshots can press them.
    void FormShow();
    void RadioButtonIdrisiClick();
    void RadioButtonSurferClick();
    void BitBtnAbrirClick();
    void BitBtnSalvarClick();
    void BitBtnImportClick();
    void BitBtnExportClick();
    void btnAjudaClick();

    // Full names behind the two fields, which show them without their folder.
    const QString& ArquivoEntrada() const { return entrada_; }
    const QString& ArquivoSaida() const { return saida_; }

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;  // FormClose

private:
    bool Importacao() const;
    void LimparCampos();
    // The checks of both commands; false (box shown, focus moved) when one fails.
    bool Verificar(bool comDocumentacao);
    void Executar(const std::function<void()>& conversao, const QString& sucesso);

    TDirecao direcao_ = TDirecao::Importacao;
    QString pasta_, entrada_, saida_;
    QGroupBox *gbFormato_, *gbTitulo_, *gbUnidade_;
    QRadioButton *RadioButtonIdrisi_, *RadioButtonSurfer_, *RadioButtonMetro_, *RadioButtonKilom_;
    QLineEdit *edtTituloArq_, *edtArqEntrada_, *edtArqSaida_;
    QPushButton *BitBtnAbrir_, *BitBtnSalvar_, *BitBtnImport_, *BitBtnExport_;
};

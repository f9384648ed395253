#pragma once
// The location window's small dialogs: the soil of Bentley and Paraná, the three lists of
// Lombardi Neto and the arbitrary terrace type. They take no slope and compute no spacing:
// the location run does that strip by strip. Each works on a copy that EditSpacing hands
// back only on OK.
#include <QDialog>

#include "core/model/Espacamento.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QVBoxLayout;

// One list of choices (radio buttons) and "&Ok" / "&Cancelar" / "Aj&uda".
class TFEscolhaLoc : public QDialog {
    Q_OBJECT
public:
    int Escolha() const;
    void SetEscolha(int i);
    QRadioButton* Opcao(int i) const;
    int Executar();  // modal, through the dialog service

protected:
    TFEscolhaLoc(QWidget* pai, const QString& titulo, const QString& caixa, const QStringList& opcoes, int ajuda);
    QButtonGroup* grupo_;
};

// Soil of Bentley (TSolo::FamiliaBentley) or Paraná (TSolo::FamiliaParana).
class TFSoloLoc : public TFEscolhaLoc {
    Q_OBJECT
public:
    explicit TFSoloLoc(int familia, QWidget* pai = nullptr);
    int EditSpacing(TEspacamento& e);

private:
    int familia_;
};

// The arbitrary terrace type (0..4) of criterion 3.
class TFTipoNenhum : public TFEscolhaLoc {
    Q_OBJECT
public:
    explicit TFTipoNenhum(QWidget* pai = nullptr);
};

class TFLombNetoLoc : public QDialog {
    Q_OBJECT
public:
    explicit TFLombNetoLoc(QWidget* pai = nullptr);
    int EditSpacing(TEspacamento& e);

    QComboBox* Cultura() const { return cbCultura_; }
    QComboBox* Grupo() const { return cbGrupo_; }
    QComboBox* Preparo() const { return cbPreparo_; }
    QLineEdit* IndiceU() const { return edtIndiceU_; }
    QLineEdit* IndiceK() const { return edtIndiceK_; }
    QLineEdit* IndiceM() const { return edtIndiceM_; }
    const TEspacamento& Trabalho() const { return trabalho_; }
    // As the user choosing in each list.
    void EscolherCultura(int i);
    void EscolherGrupo(int i);
    void EscolherPreparo(int i);

private:
    void Mostrar();

    TEspacamento trabalho_;
    QComboBox *cbCultura_, *cbGrupo_, *cbPreparo_;
    QLineEdit *edtIndiceU_, *edtGruposSolo_, *edtIndiceK_, *edtPreparos_, *edtIndiceM_;
};

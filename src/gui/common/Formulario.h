#pragma once
// Builds the entry groups of the data windows on a grid, one row at a time: the label (its
// buddy the field), the field, its unit and an assistant button. Each window dresses its
// fields its own way (widths, which edits mark the project changed) through the style.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// What a window does to each field it makes.
struct TEstiloFormulario {
    std::function<void(QLineEdit*)> Numero;      // a number field, once named
    std::function<void(QLineEdit*)> Coordenada;  // a latitude or longitude field, once named
    int LarguraUnidade = 40;                      // least width of a unit label
};

// The widgets of one row, shown or hidden together.
struct TLinhaFormulario {
    QLabel* Rotulo = nullptr;
    QList<QWidget*> Partes;
    void Visivel(bool v) const;
};

class TFormulario {
public:
    TFormulario(QGridLayout* grade, const TEstiloFormulario& estilo);

    QLineEdit* Numero(const char* nome) const;
    // Degrees, minutes and seconds without sign, empty until typed.
    QLineEdit* Coordenada(const char* nome) const;
    QLabel* Unidade(const char* nome, const QString& texto = {}) const;
    // The "..." button that opens a field's assistant or file choice.
    static QPushButton* Assistente(const char* nome);

    // A row at the bottom: label, field and the optional unit and button.
    TLinhaFormulario Linha(const QString& rotulo, QWidget* campo, QWidget* unidade = nullptr,
                           QWidget* botao = nullptr);
    // The first row: a label and a choice two columns wide.
    void Cabecalho(const QString& rotulo, QWidget* campo);
    // A widget on a row of its own, under the fields.
    void Sozinho(QWidget* w, int coluna = 1);
    // The rows keep their height; what is left goes below them.
    void Fim();
    QGridLayout* Grade() const { return grade_; }

private:
    QGridLayout* grade_;
    const TEstiloFormulario& estilo_;
};

// The grid of an entry group's box: the one it has, or a new one whose field column stretches.
QGridLayout* GradeDoGrupo(QWidget* caixa);
// A read-only result field, right aligned.
QLineEdit* CampoResultado(const char* nome);
// A read-only field for what a choice implies; 'largura' > 0 caps its width.
QLineEdit* CampoLeitura(const char* nome, int largura = 0);
// A box of radio buttons, one an option, in 'grupo' with ids 0, 1, ...; each named
// 'prefixo' and its id.
QGroupBox* CaixaDeOpcoes(const QString& titulo, const char* nome, const QStringList& opcoes, QButtonGroup* grupo,
                         const char* prefixo);
// A button of a window's bottom row, appended to 'rodape'.
QPushButton* BotaoRodape(QHBoxLayout* rodape, const QString& texto, const char* nome);

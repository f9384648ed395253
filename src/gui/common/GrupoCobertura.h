#pragma once
// Land use, treatment and hydrologic condition of the contributing hillslope, as three
// lists with the curve-number table's own names and the curve number they give beside
// them. The sizing and location windows both place it in their soil section.
#include <QGroupBox>

class QComboBox;
class QLabel;
class TNumeroDaCurva;

class TGrupoCobertura : public QGroupBox {
    Q_OBJECT
public:
    explicit TGrupoCobertura(QWidget* pai = nullptr);

    void Carregar(const TNumeroDaCurva& cn);
    // Writes the three choices; the infiltration rate is the soil field's, not the group's.
    void Gravar(TNumeroDaCurva& cn) const;

    int UsoDoSolo() const;
    int Tratamento() const;
    int CondicaoHidrologica() const;
    void SetIndices(int uso, int tratamento, int condicao);

    // The infiltration rate (mm/h) that picks the table's column; negative: not known yet.
    void SetVIB(double vib);
    // "" when the table has the combination, else the core's reason.
    QString Recusa() const;

    QComboBox* cbUsoDoSolo() const { return uso_; }

signals:
    void Alterado();

private:
    void Atualizar();

    QComboBox *uso_, *tratamento_, *condicao_;
    QLabel* cn_;
    double vib_ = -1;
};

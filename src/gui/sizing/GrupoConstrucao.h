#pragma once
// The "Construção" box of the sizing results: the design's machine, and what building takes
// per 100 m of terrace and per hectare (terraces) or per basin, with the one note that says
// what the settings still lack. Choosing a machine is the design's choice: the window keeps it
// in the project and shows the figures again.
#include <QGroupBox>

struct TConstrucaoDimensionamento;
struct TMaquina;
class QComboBox;
class QLabel;
class QLineEdit;

class TGrupoConstrucao : public QGroupBox {
    Q_OBJECT
public:
    explicit TGrupoConstrucao(bool bacia, QWidget* pai = nullptr);

    // The settings' machines, the design's selected.
    void Mostrar(const TConstrucaoDimensionamento& c, const std::vector<TMaquina>& maquinas);

signals:
    void MaquinaEscolhida(const QString& nome);

private:
    bool bacia_;
    QComboBox* cbMaquina_;
    QLineEdit* campos_[3][2] = {};  // volume, hours, cost; per 100 m and per hectare (or per basin)
    QLabel* nota_;
};

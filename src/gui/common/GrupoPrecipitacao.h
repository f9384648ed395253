#pragma once
// The design storm of the sizing and location windows: return period, the intense-rainfall
// equation's K, a, b, c and the place (latitude, longitude), with "Consulta", which opens the
// rainfall consultation on what is typed and brings its equation and place back.
#include <QGroupBox>
#include <functional>
#include <string>

#include "core/sizing/EntradaDimensionamento.h"  // TCampoEntrada
#include "gui/common/CamposJanela.h"
#include "gui/common/EditNumero.h"

class QGridLayout;
class QLineEdit;
class QPushButton;
class TModeloProjeto;
class IJanelaConsulta;
struct TEstiloFormulario;

class TGrupoPrecipitacao : public QGroupBox {
    Q_OBJECT
public:
    TGrupoPrecipitacao(TModeloProjeto& modelo, const TEstiloFormulario& estilo, const QString& titulo,
                       const QString& legendaConsulta);

    QLineEdit* Tr() const { return tr_; }
    QLineEdit* K() const { return k_; }
    QGridLayout* Grade() const { return grade_; }

    // The seven fields, bound to the members of the window's record that bear their names.
    template <class T>
    void Ligar(TCamposJanela<T>& c) const {
        c.Ligar(&T::edtTr, Tr());
        c.Ligar(&T::edtK, K());
        c.Ligar(&T::edt_a, a_);
        c.Ligar(&T::edt_b, b_);
        c.Ligar(&T::edt_c, c_);
        c.Ligar(&T::meLatitude, latitude_);
        c.Ligar(&T::meLongitude, longitude_);
    }
    // The coordinates typed, as the storm keeps them; the first unreadable one is named with
    // its message (the texts are left as they were).
    TCampoEntrada ConverterCoordenadas(std::string& latitude, std::string& longitude) const;

    // The rainfall consultation window; "Consulta" stays disabled without it.
    void SetJanelaConsulta(std::function<IJanelaConsulta*()> fabrica);
    void Consultar();

signals:
    // K, a, b, c and the place came back from the consultation.
    void Alterado();

private:
    TModeloProjeto& m_;
    std::function<IJanelaConsulta*()> consulta_;
    QGridLayout* grade_;
    TEditNumero *tr_, *k_, *a_, *b_, *c_;
    QLineEdit *latitude_, *longitude_;
    QPushButton* btnConsulta_;
};

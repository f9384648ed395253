#include "gui/common/GrupoPrecipitacao.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <tuple>

#include "core/common/Numeros.h"
#include "core/project/ModeloProjeto.h"
#include "core/rainfall/Quenda21.h"
#include "gui/common/Aplicacao.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Formulario.h"

namespace {

QString Fmt(double v) { return Q(FormatFloat("0.0######", v)); }

}  // namespace

TGrupoPrecipitacao::TGrupoPrecipitacao(TModeloProjeto& modelo, const TEstiloFormulario& estilo, const QString& titulo,
                                       const QString& legendaConsulta)
    : QGroupBox(titulo), m_(modelo), grade_(GradeDoGrupo(this)) {
    TFormulario f(grade_, estilo);
    tr_ = static_cast<TEditNumero*>(f.Numero("edtTr"));
    k_ = static_cast<TEditNumero*>(f.Numero("edtK"));
    a_ = static_cast<TEditNumero*>(f.Numero("edt_a"));
    b_ = static_cast<TEditNumero*>(f.Numero("edt_b"));
    c_ = static_cast<TEditNumero*>(f.Numero("edt_c"));
    latitude_ = f.Coordenada("meLatitude");
    longitude_ = f.Coordenada("meLongitude");
    f.Linha(QStringLiteral("Tr:"), tr_, f.Unidade("lblUnTr", QStringLiteral("anos")));
    f.Linha(QStringLiteral("K:"), k_);
    f.Linha(QStringLiteral("a:"), a_);
    f.Linha(QStringLiteral("b:"), b_);
    f.Linha(QStringLiteral("c:"), c_);
    f.Linha(QStringLiteral("Latitude:"), latitude_);
    f.Linha(QStringLiteral("Longitude:"), longitude_);
    btnConsulta_ = new QPushButton(legendaConsulta);
    btnConsulta_->setObjectName(QStringLiteral("btnConsulta"));
    btnConsulta_->setEnabled(false);
    btnConsulta_->setToolTip(QStringLiteral("Consulta ao banco de equações de chuvas intensas"));
    f.Sozinho(btnConsulta_);
    connect(btnConsulta_, &QPushButton::clicked, this, [this] { Protegido(this, [this] { Consultar(); }); });
}

TCampoEntrada TGrupoPrecipitacao::ConverterCoordenadas(std::string& latitude, std::string& longitude) const {
    const std::tuple<std::string*, const char*, QLineEdit*> coords[] = {{&latitude, "latitude", latitude_},
                                                                        {&longitude, "longitude", longitude_}};
    std::string convertidas[2];
    for (int i = 0; i < 2; ++i) {
        const auto& [texto, nome, campo] = coords[i];
        try {
            convertidas[i] = CoordenadaDoCampo(*texto, nome);
        } catch (const EVandoro& e) {
            return {S(campo->objectName()), "Precipitação", e.what()};
        }
    }
    latitude = convertidas[0];
    longitude = convertidas[1];
    return {};
}

void TGrupoPrecipitacao::SetJanelaConsulta(std::function<IJanelaConsulta*()> fabrica) {
    consulta_ = std::move(fabrica);
    btnConsulta_->setEnabled(static_cast<bool>(consulta_));
}

void TGrupoPrecipitacao::Consultar() {
    if (!consulta_) return;
    IJanelaConsulta* janela = consulta_();
    if (!janela) return;
    try {
        // The consultation is the tool that fills K, a, b, c: empty fields open it with empty
        // boxes instead of being refused by the storm's setters.
        TCamposConsulta campos{k_->Valor(), a_->Valor(), b_->Valor(), c_->Valor(), {}, {}};
        campos.Latitude = CoordenadaDoCampo(TextoDoCampo(latitude_), "latitude");
        campos.Longitude = CoordenadaDoCampo(TextoDoCampo(longitude_), "longitude");
        if (!m_.Quenda().Execute(*janela, campos)) return;
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    const auto& p = m_.Precipitacao();
    k_->setText(Fmt(p.K()));
    a_->setText(Fmt(p.A()));
    b_->setText(Fmt(p.B()));
    c_->setText(Fmt(p.C()));
    latitude_->setText(Q(m_.Quenda().Latitude()));
    longitude_->setText(Q(m_.Quenda().Longitude()));
    emit Alterado();
}

#include "gui/rainfall/ConsultaChuva.h"

#include <QCoreApplication>
#include <QPointer>
#include <memory>
#include <exception>

#include "core/rainfall/Quenda21.h"
#include "gui/common/Dialogos.h"
#include "gui/rainfall/FoConsulta.h"

bool ConsultarChuva(QWidget* pai, TQuenda21& q) {
    try {
        if (q.PastaPrograma().empty()) q.SetPastaPrograma(S(QCoreApplication::applicationDirPath()));
        TfrmFoConsulta janela(q.PastaPrograma(), pai);
        return q.Execute(janela);
    } catch (const std::exception& e) {
        Dialogos().Erro(pai, Q(e.what()));
        return false;
    }
}

std::function<IJanelaConsulta*()> FabricaConsultaChuva(QWidget* pai, const std::string& pastaPrograma) {
    auto ultima = std::make_shared<QPointer<TfrmFoConsulta>>();
    return [pai, pastaPrograma, ultima]() -> IJanelaConsulta* {
        delete ultima->data();  // null once its parent has taken it away
        *ultima = new TfrmFoConsulta(pastaPrograma, pai);
        return ultima->data();
    };
}

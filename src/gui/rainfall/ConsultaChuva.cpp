#include "rainfall/ConsultaChuva.h"

#include <QCoreApplication>
#include <exception>

#include "common/Dialogos.h"
#include "rainfall/FoConsulta.h"
#include "rainfall/Quenda21.h"

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

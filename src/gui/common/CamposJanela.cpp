#include "gui/common/CamposJanela.h"

#include "core/common/Erros.h"
#include "gui/common/EditCoordenada.h"

std::string TextoDoCampo(const QLineEdit* campo) {
    std::string t = S(campo->text());
    if (qobject_cast<const TEditCoordenada*>(campo) && t.find_first_of("0123456789") == std::string::npos) t.clear();
    return t;
}

bool CampoAceito(QWidget* janela, const TCampoEntrada& c, const TMostrarCampo& mostrar) {
    if (c.Vazio()) return true;
    Dialogos().Erro(janela, Q(c.Mensagem));
    mostrar(c.Controle, c.Grupo);
    return false;
}

bool Gravado(QWidget* janela, const std::function<void()>& gravar) {
    try {
        gravar();
    } catch (const EVandoro& e) {
        Dialogos().Erro(janela, Q(e.what()));
        return false;
    }
    return true;
}

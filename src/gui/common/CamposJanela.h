#pragma once
// The verbs a data window uses on its text fields. The fields are bound once to the members
// of the core's record of their texts; collecting and filling go through the binding, and
// a field the core refuses is told in the error box with the user taken to it.
#include <QLineEdit>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/sizing/EntradaDimensionamento.h"  // TCampoEntrada
#include "gui/common/Dialogos.h"

// A field's text for the core: a coordinate mask with no digit typed is no coordinate.
std::string TextoDoCampo(const QLineEdit* campo);

// Opens the field's group and focuses it: (object name, group caption).
using TMostrarCampo = std::function<void(const std::string& controle, const std::string& grupo)>;

// False, after the core's message and with the field shown, when 'c' names a field.
bool CampoAceito(QWidget* janela, const TCampoEntrada& c, const TMostrarCampo& mostrar);
// Runs 'gravar' (fields into the model): false, after the error box, when it raises
// the core's error.
bool Gravado(QWidget* janela, const std::function<void()>& gravar);

template <class T>
class TCamposJanela {
public:
    // Bound where the field is built: a field cannot be made and left out of the record.
    template <class C>
    C* Ligar(std::string T::*membro, C* campo) {
        ligacoes_.emplace_back(membro, campo);
        return campo;
    }
    void Coletar(T& f) const {
        for (const auto& [membro, campo] : ligacoes_) f.*membro = TextoDoCampo(campo);
    }
    void Preencher(const T& f) const {
        for (const auto& [membro, campo] : ligacoes_) campo->setText(Q(f.*membro));
    }

private:
    std::vector<std::pair<std::string T::*, QLineEdit*>> ligacoes_;
};

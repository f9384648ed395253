#pragma once
// "Consulta" of the sizing and location windows: the rainfall consultation over the project's
// design-storm holder.
#include <functional>
#include <string>

class IJanelaConsulta;
class QWidget;
class TQuenda21;

// Opens the consultation window; true when the user closed it with "&Fechar" and the
// equation was taken over. Any error is shown through the message service.
bool ConsultarChuva(QWidget* pai, TQuenda21& q);

// For a window that runs TQuenda21::Execute itself (the sizing window's "Consulta"): each
// call gives a fresh consultation window, a child of 'pai'; the one before it is freed.
std::function<IJanelaConsulta*()> FabricaConsultaChuva(QWidget* pai, const std::string& pastaPrograma);

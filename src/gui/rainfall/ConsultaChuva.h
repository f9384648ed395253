#pragma once
// "Consulta" of the sizing and location windows: the rainfall consultation over the project's
// design-storm holder.
class QWidget;
class TQuenda21;

// Opens the consultation window; true when the user closed it with "&Fechar" and the
// equation was taken over. Any error is shown through the message service.
bool ConsultarChuva(QWidget* pai, TQuenda21& q);

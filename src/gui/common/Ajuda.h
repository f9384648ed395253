#pragma once
// Help: one HTML page per topic number in the program's "ajuda" folder, shown in the
// program's own browser.
#include <QString>

class QWidget;

// The help topic of the document browser itself (how to move, find and print in it).
inline constexpr int kTopicoNavegador = 4;

// <program folder>/ajuda/<topico>.htm
QString PaginaAjuda(int topico);

// Shows topic 'topico'; a missing page is reported once per run, and the program goes on.
void AbrirAjuda(QWidget* pai, int topico);

// Lets the next missing page be reported again (tests).
void ReiniciarAvisoAjuda();

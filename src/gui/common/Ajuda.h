#pragma once
// Help: one HTML page per topic number in the program's "ajuda" folder, shown in the
// program's own browser.
class QWidget;

// Shows topic 'topico'; a missing page is reported once, and the program goes on.
void AbrirAjuda(QWidget* pai, int topico);

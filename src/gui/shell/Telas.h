#pragma once
// Pictures of the program's windows for review: the real program opens each window in turn
// on the shipped examples and saves it as PNG. Boxes it would show are written to stderr.
#include <QString>

// Saves the pictures into 'pasta'; returns 0 when every expected picture was written.
int GerarTelas(const QString& pasta, const QString& pastaPrograma);

// Lets the windows paint for 'ms' milliseconds before a picture is taken.
void Esperar(int ms);

#pragma once
// Pictures of the program's windows for review: the tool opens the program's real windows in
// turn on the shipped examples and saves each as PNG. Boxes they would show go to stderr.
#include <QString>

// Saves the pictures into 'pasta'; returns 0 when every expected picture was written.
int GerarTelas(const QString& pasta, const QString& pastaPrograma);

// Lets the windows paint for 'ms' milliseconds before a picture is taken.
void Esperar(int ms);

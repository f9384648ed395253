#pragma once
// Tool-bar pictures the style does not offer, drawn by the program itself.
#include <QIcon>

QIcon IconeConfiguracao();  // a gear
QIcon IconeImpressora();    // a printer
QIcon IconeSair();          // a door with an arrow leaving it
QIcon IconePrograma();      // terraces on a hillside

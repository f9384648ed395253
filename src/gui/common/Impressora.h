#pragma once
// The one printer of the program: "Configurar Impressora" sets it up, and the browser, the
// reports, the viewer and the rainfall report print on it.
class QPrinter;

QPrinter& ImpressoraComum();

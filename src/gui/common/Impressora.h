#pragma once
// The one printer of the program: set up once from "Configurar Impressora", used by the
// browser, the reports, the viewer and the rainfall report.
class QPrinter;

QPrinter& ImpressoraPrograma();

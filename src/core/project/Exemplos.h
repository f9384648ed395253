#pragma once
// The shipped examples sit in the program folder, which an installed program cannot write
// to: a user edits copies of them in a folder of their own, made the first time one is opened.
#include <functional>
#include <string>

// Where the user's copies go: <documentos>/Vandoro/Exemplos.
std::string PastaExemplosUsuario(const std::string& pastaDocumentos);

// True when the current user may create files in 'pasta'.
bool PastaGravavel(const std::string& pasta);

// The file to open for 'caminho'. It is 'caminho' itself unless it lies in the shipped
// examples, <pastaPrograma>/Exemplos, and that folder is not writable ('gravavel' decides;
// by default PastaGravavel). Then it is the same name under PastaExemplosUsuario, and every
// shipped file that folder lacks is copied into it first (the first time the whole folder,
// so a project finds the rasters beside it). A copy that exists is never replaced: the
// user's edits stay. A name that is not a shipped file is given back as it is, for the
// open to report. Raises EVandoro when a copy cannot be made.
std::string CaminhoEditavel(const std::string& caminho, const std::string& pastaPrograma,
                            const std::string& pastaDocumentos,
                            const std::function<bool(const std::string&)>& gravavel = PastaGravavel);

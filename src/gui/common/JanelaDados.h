#pragma once
// What the main window asks of a data-entry child window (sizing, location). The window
// works on the shared model by reference and owns no design data; the shell only tells it
// when to move values between its fields and the model.
#include <QString>

class IJanelaDados {
public:
    virtual ~IJanelaDados() = default;
    // "Dimensionamento" or "Locacao": the module the window belongs to.
    virtual QString Modulo() const = 0;
    // Copies what is typed into the model (before a save and before a unit change), so
    // nothing typed is lost.
    virtual void OnLerCamposDados() = 0;
    // Fills the fields from the model (after the window opens on a loaded project).
    virtual void PreencherCampos() = 0;
    // The units in the settings changed: unit labels follow them and every non-empty field
    // is rewritten from the model in the new unit ("0.0######"); empty fields stay empty.
    virtual void AtualizarUnidades() = 0;
    // Brought forward again from the menu: back to its first page.
    virtual void MostrarInicio() {}
    // The settings' widths, swell or machines changed: figures shown from them follow.
    virtual void AtualizarConstrucao() {}
};

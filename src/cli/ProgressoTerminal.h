#pragma once
// Progress bar and status on stderr for the command line. Draws only when stderr is a
// terminal, so pipes and test captures stay clean.
#include <string>

#include "core/common/Progresso.h"

class ProgressoTerminal : public IProgresso {
public:
    ProgressoTerminal();
    ~ProgressoTerminal() override;
    void SetMax(int max) override;
    void SetPosition(int pos) override;
    void SetStatus(const std::string& text) override;
    void SetCaption(const std::string& text) override;
    // Ends the bar's line (also done by the destructor).
    void Concluir();
    bool Ativo() const { return ativo_; }

private:
    void Desenhar();
    bool ativo_ = false;
    bool desenhado_ = false;
    int max_ = 0;
    int pos_ = 0;
    int ultimoPercentual_ = -1;
    std::string status_;
};

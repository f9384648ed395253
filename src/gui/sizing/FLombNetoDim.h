#pragma once
// Lombardi Neto spacing dialog: crop, erosion-resistance group, slope and tillage group.
#include <string>

#include "gui/sizing/FEspacamentoDim.h"

class QComboBox;
class TSistemaConservacao;

class TFLombNetoDim : public TFEspacamentoDim {
    Q_OBJECT
public:
    explicit TFLombNetoDim(QWidget* pai = nullptr);
    // The shared terrace systems that receive the working spacing on activation and on OK.
    void SetSistemas(TSistemaConservacao* nivel, TSistemaConservacao* gradiente);
    void SetNivel(bool nivel) { nivel_ = nivel; }
    // Stores the unit label for the warnings and runs the slope warning once.
    void SetUnidade(const std::string& unidade);
    int EditSpacing(TEspacamento& e) { return Editar(e); }

    QComboBox* Cultura() const { return cbCultura_; }
    QComboBox* Grupo() const { return cbGrupo_; }
    QComboBox* Preparo() const { return cbPreparo_; }
    // As a choice of the user in each list.
    void EscolherCultura(int i);
    void EscolherGrupo(int i);
    void EscolherPreparo(int i);

protected:
    void Preparar() override;
    void Recalcular() override;
    void AoAceitar() override;

private:
    void CulturaClick();
    void GrupoClick();
    void PreparoClick();
    void WarnSlopeLimit();
    void Compartilhar();

    QComboBox *cbCultura_, *cbGrupo_, *cbPreparo_;
    QLineEdit *edtIndiceU_, *edtGruposSolo_, *edtIndiceK_, *edtPrimario_, *edtSecundario_, *edtRestos_, *edtIndiceM_;
    TSistemaConservacao *nivelSis_ = nullptr, *gradienteSis_ = nullptr;
    bool nivel_ = false;
    std::string unidade_ = "m/m";
    // The last (slope, group) warned about: the same warning is not repeated.
    int avisadoDeclive_ = -1, avisadoGrupo_ = -1;
};

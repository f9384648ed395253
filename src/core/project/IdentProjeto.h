#pragma once
// Project identification: who the design is for, where and when.
#include <string>

#include "core/common/CamposIni.h"

class TIDProjeto {
public:
    TIDProjeto();

    // Empties the five texts and stamps today's date ("dd/mm/yyyy").
    void Clear();
    void Assign(const TIDProjeto& origem);
    // Section "IDENTIFICACAO"; false unless its "Versao" is "1" or when the file is unreadable.
    bool LoadFromProject(const std::string& arquivo);
    bool SaveToProject(const std::string& arquivo) const;

    const std::string& SectionSuffix() const { return sectionSuffix_; }
    void SetSectionSuffix(const std::string& s) { sectionSuffix_ = s; }

    const std::string& Nome() const { return nome_; }
    const std::string& Empresa() const { return empresa_; }
    const std::string& Local() const { return local_; }
    const std::string& Estado() const { return estado_; }
    const std::string& Tecnico() const { return tecnico_; }
    const std::string& Data() const { return data_; }
    void SetNome(const std::string& s) { nome_ = s; }
    void SetEmpresa(const std::string& s) { empresa_ = s; }
    void SetLocal(const std::string& s) { local_ = s; }
    void SetEstado(const std::string& s) { estado_ = s; }
    void SetTecnico(const std::string& s) { tecnico_ = s; }
    void SetData(const std::string& s) { data_ = s; }

private:
    std::string sectionSuffix_;
    std::string nome_, empresa_, local_, estado_, tecnico_, data_;
    static const TCampoIni<TIDProjeto> kCampos[6];
};

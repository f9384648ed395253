#include "core/project/IdentProjeto.h"

#include <exception>

#include "core/common/DataHora.h"
#include "core/common/IniFile.h"

namespace {
const char* const kSecao = "IDENTIFICACAO";
}

TIDProjeto::TIDProjeto() { Clear(); }

void TIDProjeto::Clear() {
    nome_.clear();
    empresa_.clear();
    local_.clear();
    estado_.clear();
    tecnico_.clear();
    data_ = FormatDDMMYYYY(::Date());
}

void TIDProjeto::Assign(const TIDProjeto& o) {
    nome_ = o.nome_;
    empresa_ = o.empresa_;
    local_ = o.local_;
    estado_ = o.estado_;
    tecnico_ = o.tecnico_;
    data_ = o.data_;
}

bool TIDProjeto::LoadFromProject(const std::string& arquivo) {
    try {
        IniFile ini(arquivo);
        if (!ini.Loaded()) return false;
        const std::string s = kSecao + sectionSuffix_;
        if (ini.ReadString(s, "Versao", "0") != "1") return false;
        nome_ = ini.ReadString(s, "Nome", "");
        empresa_ = ini.ReadString(s, "Empresa", "");
        local_ = ini.ReadString(s, "Local", "");
        estado_ = ini.ReadString(s, "Estado", "");
        tecnico_ = ini.ReadString(s, "Tecnico", "");
        data_ = ini.ReadString(s, "Data", "");
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TIDProjeto::SaveToProject(const std::string& arquivo) const {
    try {
        IniFile ini(arquivo);
        if (!ini.Loaded()) return false;
        const std::string s = kSecao + sectionSuffix_;
        ini.WriteString(s, "Versao", "1");
        ini.WriteString(s, "Nome", nome_);
        ini.WriteString(s, "Empresa", empresa_);
        ini.WriteString(s, "Local", local_);
        ini.WriteString(s, "Estado", estado_);
        ini.WriteString(s, "Tecnico", tecnico_);
        ini.WriteString(s, "Data", data_);
        ini.UpdateFile();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

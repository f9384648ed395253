#include "core/project/IdentProjeto.h"

#include <exception>

#include "core/common/DataHora.h"
#include "core/common/IniFile.h"

namespace {
const char* const kSecao = "IDENTIFICACAO";
}

const TCampoIni<TIDProjeto> TIDProjeto::kCampos[6] = {
    {"Nome", &TIDProjeto::nome_},   {"Empresa", &TIDProjeto::empresa_}, {"Local", &TIDProjeto::local_},
    {"Estado", &TIDProjeto::estado_}, {"Tecnico", &TIDProjeto::tecnico_}, {"Data", &TIDProjeto::data_}};

TIDProjeto::TIDProjeto() { Clear(); }

void TIDProjeto::Clear() {
    LimparCampos(*this, 0, kCampos);
    data_ = FormatDDMMYYYY(::Date());
}

void TIDProjeto::Assign(const TIDProjeto& o) { CopiarCampos(*this, o, kCampos); }

bool TIDProjeto::LoadFromProject(const std::string& arquivo) {
    try {
        IniFile ini(arquivo);
        if (!ini.Loaded()) return false;
        const std::string s = kSecao + sectionSuffix_;
        if (ini.ReadString(s, "Versao", "0") != "1") return false;
        LerCampos(ini, s, *this, kCampos);
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
        GravarCampos(ini, s, *this, kCampos);
        ini.UpdateFile();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

#include "location/LocNivel.h"

#include "common/IniFile.h"
#include "common/Progresso.h"

namespace {
const char* const kSecao = "LOCACAONIVEL";
}

bool TLocacaoNivel::Load(const std::string& projectPath) {
    try {
        IniFile ini(projectPath);
        if (!ini.Loaded()) return false;
        fnImgElev_ = ini.ReadString(kSecao, "fnImgElev", "");
        fnImgDecli_ = ini.ReadString(kSecao, "fnImgDecli", "");
        fnVetSaida_ = ini.ReadString(kSecao, "fnVetSaida", "");
        return true;
    } catch (...) {
        return false;
    }
}

bool TLocacaoNivel::Save(const std::string& projectPath) const {
    try {
        IniFile ini(projectPath);
        ini.WriteString(kSecao, "fnImgElev", fnImgElev_);
        ini.WriteString(kSecao, "fnImgDecli", fnImgDecli_);
        ini.WriteString(kSecao, "fnVetSaida", fnVetSaida_);
        ini.UpdateFile();
        return true;
    } catch (...) {
        return false;
    }
}

void TLocacaoNivel::Reset() {
    progress_.store(0);
    std::lock_guard<std::mutex> lock(statusMutex_);
    statusText_.clear();
}

std::string TLocacaoNivel::StatusText() const {
    std::lock_guard<std::mutex> lock(statusMutex_);
    return statusText_;
}

void TLocacaoNivel::SetStatusText(const std::string& text) {
    {
        std::lock_guard<std::mutex> lock(statusMutex_);
        if (statusText_ == text) return;
        statusText_ = text;
    }
    if (progresso_) progresso_->SetStatus(text);
}

#include "core/location/LocNivel.h"

#include <algorithm>
#include <cmath>

#include "core/common/IniFile.h"
#include "core/location/ImgApoio.h"

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
        // Older projects have no boundary: the whole model.
        fnLimite_ = ini.ReadString(kSecao, "fnLimite", "");
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
        // Only a field that has one: a project without stays as older versions wrote it.
        if (fnLimite_.empty()) ini.DeleteKey(kSecao, "fnLimite");
        else ini.WriteString(kSecao, "fnLimite", fnLimite_);
        ini.UpdateFile();
        return true;
    } catch (...) {
        return false;
    }
}

void TLocacaoNivel::Reset() {
    ultima_.progresso = 0;
    ultima_.status.clear();
}

TLocacaoNivel::TLocacaoNivel() = default;
TLocacaoNivel::~TLocacaoNivel() = default;

TResultadoNivel& TLocacaoNivel::NovaCorrida() {
    ultima_ = TResultadoNivel{};
    return ultima_;
}

bool TLocacaoNivel::HasRoom(const TImgApoio& apoio, double pixelArea, int col, int row) {
    const double n0 = std::trunc(5 / pixelArea);
    const int limite = std::max(apoio.Rows(), apoio.Columns()) + 1;
    const int n = n0 > limite ? limite : static_cast<int>(n0);
    // North, south, east, west, north-west, north-east, south-west, south-east.
    static const int kDc[8] = {0, 0, 1, -1, -1, 1, -1, 1};
    static const int kDr[8] = {-1, 1, 0, 0, -1, -1, 1, 1};
    for (int k = 0; k < 8; ++k)
        for (int i = 1; i <= n; ++i) {
            const int c = col + i * kDc[k], r = row + i * kDr[k];
            if (!apoio.Inside(c, r) || apoio.TensAt(c, r) == 0) return false;
        }
    return true;
}

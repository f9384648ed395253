#include "core/location/LocNivel.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/location/ImgApoio.h"

namespace {
const char* const kSecao = "LOCACAONIVEL";
}

TPlanoNivel LerPlano(const IniFile& ini, const std::string& secao) {
    // Older files have no plan: the defaults. A value out of range is not read.
    const TPlanoNivel padrao;
    TPlanoNivel p;
    p.maxTerracos = MaxTerracosDe(ini.ReadFloat(secao, "MaxTerracos", padrao.maxTerracos));
    p.comprimentoMinimo = ini.ReadFloat(secao, "ComprimentoMinimo", padrao.comprimentoMinimo);
    p.raioMinimo = ini.ReadFloat(secao, "RaioMinimo", padrao.raioMinimo);
    p.toleranciaCm = ini.ReadFloat(secao, "ToleranciaCm", padrao.toleranciaCm);
    p.comprimentoMaximoCanal = ini.ReadFloat(secao, "ComprimentoMaximoCanal", padrao.comprimentoMaximoCanal);
    std::string fora;
    return CampoForaDoPlano(p, fora) < 0 ? p : padrao;
}

void GravarPlano(IniFile& ini, const std::string& secao, const TPlanoNivel& p) {
    ini.WriteInteger(secao, "MaxTerracos", p.maxTerracos);
    ini.WriteFloat(secao, "ComprimentoMinimo", p.comprimentoMinimo);
    ini.WriteFloat(secao, "RaioMinimo", p.raioMinimo);
    ini.WriteFloat(secao, "ToleranciaCm", p.toleranciaCm);
    // Only when set: the files of level layouts stay as they were.
    if (p.comprimentoMaximoCanal == TPlanoNivel{}.comprimentoMaximoCanal)
        ini.DeleteKey(secao, "ComprimentoMaximoCanal");
    else
        ini.WriteFloat(secao, "ComprimentoMaximoCanal", p.comprimentoMaximoCanal);
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
        fnEscoadouro_ = ini.ReadString(kSecao, "fnEscoadouro", "");
        plano_ = LerPlano(ini, kSecao);
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
        if (fnEscoadouro_.empty()) ini.DeleteKey(kSecao, "fnEscoadouro");
        else ini.WriteString(kSecao, "fnEscoadouro", fnEscoadouro_);
        GravarPlano(ini, kSecao, plano_);
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

int MaxTerracosDe(double v) {
    if (!(v >= 0) || v != std::floor(v)) return -1;
    return v > 32767 ? 32768 : static_cast<int>(v);
}

int CampoForaDoPlano(const TPlanoNivel& p, std::string& mensagem) {
    const std::pair<bool, const char*> campos[] = {
        {p.maxTerracos >= 0 && p.maxTerracos <= 32767,
         "Número máximo de terraços inválido: use um número inteiro de 1 a 32767, ou deixe o campo vazio."},
        {p.comprimentoMinimo >= 0 && p.comprimentoMinimo <= 10000,
         "Comprimento mínimo do terraço inválido: use um valor de 0 a 10000 m."},
        {p.raioMinimo >= 0 && p.raioMinimo <= 500,
         "Raio mínimo de curva inválido: use um valor de 0 a 500 m (0 mantém as linhas traçadas)."},
        {p.toleranciaCm > 0 && p.toleranciaCm <= 100, "Tolerância de nível inválida: use um valor maior que 0 e até 100 cm."},
        {p.comprimentoMaximoCanal > 0 && p.comprimentoMaximoCanal <= kComprimentoMaximoCanalPlano,
         "Comprimento máximo do canal inválido: use um valor maior que 0 e até 1500 m."},
    };
    for (int i = 0; i < 5; ++i)
        if (!campos[i].first) {
            mensagem = campos[i].second;
            return i;
        }
    return -1;
}

void ChecaPlanoNivel(const TPlanoNivel& p) {
    std::string mensagem;
    if (CampoForaDoPlano(p, mensagem) >= 0) throw EVandoro(mensagem);
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

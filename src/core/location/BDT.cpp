#include "location/BDT.h"

#include <cstring>
#include <vector>

#include "common/Arquivo.h"
#include "common/Erros.h"

namespace {
constexpr size_t kRegistro = 52;
}  // namespace

void TBDT::SaveToFile(const std::string& name) const {
    std::string out;
    out += static_cast<char>(1);
    int32_t n = Count();
    char b[8];
    std::memcpy(b, &n, 4);
    out.append(b, 4);
    for (int i = 1; i <= Count(); ++i) {
        TRegTerr vazio;
        const TRegTerr* r = Item(i) ? Item(i) : &vazio;
        std::memcpy(b, &r->id, 4);
        out.append(b, 4);
        for (double v : {r->level, r->slope, r->length, r->area, r->EV, r->height}) {
            std::memcpy(b, &v, 8);
            out.append(b, 8);
        }
    }
    GravarArquivoInteiro(name, out, "Erro ao gravar o arquivo " + NomeSemCaminho(name) + ".");
}

bool TBDT::LoadFromFile(const std::string& name) {
    std::string dados;
    try {
        dados = LerArquivoInteiro(name);
    } catch (const EVandoro&) {
        return false;
    }
    if (dados.size() < 5 || static_cast<uint8_t>(dados[0]) != 1) return false;
    int32_t n;
    std::memcpy(&n, dados.data() + 1, 4);
    // The count must match what the file holds, so a damaged file never asks for more.
    if (n < 0 || static_cast<unsigned long long>(n) * kRegistro > dados.size() - 5) return false;
    std::vector<TRegTerr> lidos(static_cast<size_t>(n));
    const char* b = dados.data() + 5;
    for (auto& r : lidos) {
        std::memcpy(&r.id, b, 4);
        double* campos[] = {&r.level, &r.slope, &r.length, &r.area, &r.EV, &r.height};
        for (int k = 0; k < 6; ++k) std::memcpy(campos[k], b + 4 + 8 * k, 8);
        b += kRegistro;
    }
    for (auto& r : lidos) Add(std::make_unique<TRegTerr>(r));
    return true;
}

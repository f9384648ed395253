#include "core/location/BDT.h"

#include <cmath>
#include <set>
#include <vector>

#include "core/common/Arquivo.h"
#include "core/common/Binario.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"

namespace {
constexpr size_t kRegistro = 52;
}  // namespace

void TBDT::SaveToFile(const std::string& name) const {
    std::string out;
    out += static_cast<char>(1);
    AcrescentarLE<int32_t>(out, Count());
    for (int i = 1; i <= Count(); ++i) {
        TRegTerr vazio;
        const TRegTerr* r = Item(i) ? Item(i) : &vazio;
        AcrescentarLE<int32_t>(out, r->id);
        for (double v : {r->level, r->slope, r->length, r->area, r->EV, r->height}) AcrescentarLE<double>(out, v);
    }
    GravarArquivoInteiro(name, out, ErroAoGravar(name));
}

void TBDT::Load(const std::string& name) {
    const std::string arq = NomeSemCaminho(name);
    const std::string dados = LerArquivoInteiro(name);
    auto danificado = [&](const std::string& motivo) {
        return EVandoro("A tabela dos terraços " + arq + " está danificada: " + motivo);
    };
    if (dados.size() < 5) throw danificado("tem só " + IntToStr((long long)dados.size()) + " bytes.");
    if (static_cast<uint8_t>(dados[0]) != 1)
        throw danificado("versão " + IntToStr(static_cast<uint8_t>(dados[0])) + " desconhecida.");
    const int32_t n = LerLE<int32_t>(dados.data() + 1);
    // The count must match what the file holds exactly, so a damaged file never asks for
    // more and a cut or padded one is noticed.
    if (n < 0 || static_cast<unsigned long long>(n) * kRegistro != dados.size() - 5)
        throw danificado("declara " + IntToStr(n) + " terraços, mas tem " + IntToStr((long long)dados.size()) +
                         " bytes.");
    std::vector<TRegTerr> lidos(static_cast<size_t>(n));
    std::set<int32_t> ids;
    const char* b = dados.data() + 5;
    for (size_t i = 0; i < lidos.size(); ++i) {
        TRegTerr& r = lidos[i];
        r.id = LerLE<int32_t>(b);
        double* campos[] = {&r.level, &r.slope, &r.length, &r.area, &r.EV, &r.height};
        for (int k = 0; k < 6; ++k) *campos[k] = LerLE<double>(b + 4 + 8 * k);
        b += kRegistro;
        const std::string qual = "o registro " + IntToStr((long long)i + 1);
        // Terraces are numbered from 1, as the lines of their vector file (16-bit ids).
        if (r.id < 1 || r.id > 32767 || !ids.insert(r.id).second)
            throw danificado(qual + " tem o número de terraço " + IntToStr(r.id) + ".");
        // A real measure is never infinite, NaN or subnormal (bytes of another kind read as doubles).
        for (double v : {r.level, r.slope, r.length, r.area, r.EV, r.height}) {
            const int classe = std::fpclassify(v);
            if (classe == FP_NAN || classe == FP_INFINITE || classe == FP_SUBNORMAL)
                throw danificado(qual + " tem um valor que não é uma medida.");
        }
        if (r.length < 0 || r.area < 0 || r.EV < 0 || r.height < 0)
            throw danificado(qual + " tem uma medida negativa.");
    }
    for (auto& r : lidos) Add(std::make_unique<TRegTerr>(r));
}

bool TBDT::LoadFromFile(const std::string& name) {
    try {
        Load(name);
    } catch (const EVandoro&) {
        return false;
    }
    return true;
}

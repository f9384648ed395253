#include "core/project/Construcao.h"

#include <cmath>

#include "core/common/IniFile.h"
#include "core/common/Numeros.h"

namespace {

const char* const kSecao = "CONSTRUCAO";

struct Largura {
    const char* chave;
    double TLargurasTerraco::*membro;
};
const Largura kLarguras[] = {{"LarguraBaseEstreita", &TLargurasTerraco::estreita},
                             {"LarguraBaseMedia", &TLargurasTerraco::media},
                             {"LarguraBaseLarga", &TLargurasTerraco::larga},
                             {"LarguraMurundum", &TLargurasTerraco::murundum}};

bool NaoNegativo(double v) { return v >= 0 && std::isfinite(v); }

}  // namespace

void LerConstrucao(const IniFile& ini, TConfigConstrucao& c) {
    const TConfigConstrucao padrao;
    for (const Largura& l : kLarguras) {
        const double v = ini.ReadFloat(kSecao, l.chave, padrao.larguras.*l.membro);
        c.larguras.*l.membro = NaoNegativo(v) ? v : padrao.larguras.*l.membro;
    }
    const double e = ini.ReadFloat(kSecao, "Empolamento", padrao.empolamento);
    c.empolamento = e > 0 && std::isfinite(e) ? e : padrao.empolamento;
    const long long n = ini.ReadInteger(kSecao, "Maquinas", -1);
    if (n >= 0 && n <= kMaxMaquinas) {
        c.maquinas.clear();
        for (long long i = 1; i <= n; ++i) {
            const std::string k = "Maquina" + std::to_string(i);
            TMaquina m;
            m.nome = ini.ReadString(kSecao, k + "Nome", "");
            const double r = ini.ReadFloat(kSecao, k + "Rendimento", 0), p = ini.ReadFloat(kSecao, k + "CustoHora", 0);
            m.rendimento = NaoNegativo(r) ? r : 0;
            m.custoHora = NaoNegativo(p) ? p : 0;
            if (ini.ReadString(kSecao, k + "Unidade", "") == TextoUnidadeRendimento(TUnidadeRendimento::Metros))
                m.unidade = TUnidadeRendimento::Metros;
            if (!m.nome.empty()) c.maquinas.push_back(m);
        }
    }
    const long long i = ini.ReadInteger(kSecao, "Maquina", padrao.maquina);
    c.maquina = i >= 0 && i < static_cast<long long>(c.maquinas.size()) ? static_cast<int>(i) : 0;
}

TProblemaConstrucao ProblemaConstrucao(const TConfigConstrucao& c) {
    using C = TProblemaConstrucao::TCampo;
    for (int i = 0; i < 4; ++i)
        if (!NaoNegativo(c.larguras.*kLarguras[i].membro))
            return {"A largura do terraço deve ser um número maior ou igual a zero.", C::Largura, i};
    if (!(c.empolamento > 0) || !std::isfinite(c.empolamento))
        return {"O fator de empolamento deve ser um número maior que zero.", C::Empolamento};
    if (c.maquinas.empty()) return {"Inclua ao menos uma máquina.", C::Maquinas};
    if (c.maquinas.size() > static_cast<size_t>(kMaxMaquinas)) return {kMaquinasDemais, C::Maquinas, kMaxMaquinas};
    for (size_t i = 0; i < c.maquinas.size(); ++i) {
        const TMaquina& m = c.maquinas[i];
        const int k = static_cast<int>(i);
        if (m.nome.find_first_not_of(" \t") == std::string::npos) return {"Dê um nome a cada máquina.", C::Nome, k};
        for (size_t j = 0; j < i; ++j)
            if (c.maquinas[j].nome == m.nome) return {"Duas máquinas têm o mesmo nome: " + m.nome + ".", C::Nome, k};
        if (!NaoNegativo(m.rendimento))
            return {"O rendimento de cada máquina deve ser um número maior ou igual a zero, ou ficar em branco.",
                    C::Rendimento, k};
        if (!NaoNegativo(m.custoHora))
            return {"O custo horário de cada máquina deve ser um número maior ou igual a zero, ou ficar em branco.",
                    C::Custo, k};
    }
    if (c.maquina < 0 || c.maquina >= static_cast<int>(c.maquinas.size())) return {"Escolha a máquina padrão.", C::Padrao};
    return {};
}

void GravarConstrucao(IniFile& ini, const TConfigConstrucao& c) {
    // Nothing changed: no section, so a settings file from before stays as it was.
    const TConfigConstrucao padrao;
    bool igual = c.empolamento == padrao.empolamento && c.maquina == padrao.maquina && c.maquinas == padrao.maquinas;
    for (const Largura& l : kLarguras) igual = igual && c.larguras.*l.membro == padrao.larguras.*l.membro;
    if (igual) {
        ini.EraseSection(kSecao);
        return;
    }
    for (const Largura& l : kLarguras) ini.WriteFloat(kSecao, l.chave, c.larguras.*l.membro);
    ini.WriteFloat(kSecao, "Empolamento", c.empolamento);
    ini.WriteInteger(kSecao, "Maquinas", static_cast<long long>(c.maquinas.size()));
    for (size_t i = 0; i < c.maquinas.size(); ++i) {
        const std::string k = "Maquina" + std::to_string(i + 1);
        ini.WriteString(kSecao, k + "Nome", c.maquinas[i].nome);
        ini.WriteFloat(kSecao, k + "Rendimento", c.maquinas[i].rendimento);
        ini.WriteFloat(kSecao, k + "CustoHora", c.maquinas[i].custoHora);
        ini.WriteString(kSecao, k + "Unidade", TextoUnidadeRendimento(c.maquinas[i].unidade));
    }
    ini.WriteInteger(kSecao, "Maquina", c.maquina);
}

TConstrucaoTerraco ConstrucaoDoTerraco(const std::string& tipo, TDadosSecao base, const TConfigConstrucao& c) {
    TConstrucaoTerraco r;
    r.tipo = tipo;
    r.composicao = ComposicaoDoTipo(tipo);
    if (r.composicao.partes.empty()) r.composicao.partes = {{TTipoConstrutivo::BaseLarga, 1}};
    base.empolamento = c.empolamento;
    for (const auto& [t, parte] : r.composicao.partes) {
        base.tipo = t;
        base.largura = c.larguras.De(t);
        if (!(base.largura > 0) && t != TTipoConstrutivo::Patamar) r.larguraDesconhecida = true;
        r.dados.push_back(base);
        r.secoes.push_back(SecaoConstruida(base));
        r.areaCorte += parte * r.secoes.back().areaCorte;
        if (r.problema.empty()) r.problema = r.secoes.back().problema;
    }
    return r;
}

std::string TextoUnidadeRendimento(TUnidadeRendimento u) {
    return u == TUnidadeRendimento::Metros ? "m/h" : "m³/h";
}

int TConfigConstrucao::IndiceMaquina(const std::string& nome) const {
    for (size_t i = 0; i < maquinas.size() && !nome.empty(); ++i)
        if (maquinas[i].nome == nome) return static_cast<int>(i);
    return maquina;
}

TConfigConstrucao TConfigConstrucao::ParaODesign(const std::string& nomeMaquina) const {
    TConfigConstrucao c = *this;
    c.maquina = IndiceMaquina(nomeMaquina);
    return c;
}

std::string TextoComposicao(const TComposicaoTerraco& c) {
    if (!c.Misto()) return {};
    // Shares of a few terraces: thirds and halves.
    auto fracao = [](double f) {
        for (int d = 2; d <= 6; ++d)
            for (int n = 1; n < d; ++n)
                if (std::abs(f - static_cast<double>(n) / d) < 1e-9) return std::to_string(n) + "/" + std::to_string(d);
        return FloatToStrFixed(f, 2);
    };
    std::string t = "Custeado como ";
    for (size_t i = 0; i < c.partes.size(); ++i)
        t += (i == 0 ? "" : i + 1 == c.partes.size() ? " e " : ", ") + fracao(c.partes[i].second) + " de " +
             NomeTipoConstrutivo(c.partes[i].first);
    return t + ".";
}

TServicoMaquina ServicoMaquina(double volume, double comprimento, const TConfigConstrucao& c) {
    TServicoMaquina s;
    if (c.maquina < 0 || c.maquina >= static_cast<int>(c.maquinas.size())) return s;
    const TMaquina& m = c.maquinas[static_cast<size_t>(c.maquina)];
    if (!(m.rendimento > 0)) return s;
    s.horas = (m.unidade == TUnidadeRendimento::Metros ? comprimento : volume) / m.rendimento;
    if (m.custoHora > 0) s.custo = s.horas * m.custoHora;
    return s;
}

std::string TServicoMaquina::TextoHoras(int casas) const {
    return horas >= 0 ? FloatToStrFixed(horas, casas) : std::string(kInformeRendimento);
}

std::string TServicoMaquina::TextoCusto(int casas) const {
    if (custo >= 0) return FloatToStrFixed(custo, casas);
    return horas >= 0 ? std::string(kInformeCusto) : std::string(kInformeRendimento);
}

std::string NotaConstrucao(const TServicoMaquina& s) {
    if (s.horas < 0) return std::string("Horas e custo (") + kSemValor + "): " + kInformeRendimento + ".";
    if (s.custo < 0) return std::string("Custo (") + kSemValor + "): " + kInformeCusto + ".";
    return {};
}

std::string CelulaConstrucao(double v, int casas, bool milhares) {
    if (v < 0) return kSemValor;
    if (!milhares) return FloatToStrFixed(v, casas);
    return FormatFloat(casas == 1 ? "###,###,###,###,##0.0" : "###,###,###,###,##0.00", v);
}

#include "core/location/ComplementoBDT.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/common/Numeros.h"
#include "core/common/Threads.h"
#include "core/location/BDT.h"
#include "core/raster/Vetor.h"

namespace {
const char* const kPlano = "Plano";
const std::string kTerraco = "Terraco ";
const std::string kTravessia = "Travessia ";
const char* const kConstrucao = "Construcao";
const char* const kLinhas = "Linhas";
// A tenth of a millimetre: finer than any survey, and the same text in every region.
constexpr int kCasasLinhas = 4;

// "id x y x y ..." with '.' whatever the region.
std::string TextoDaLinha(const TLinhaMapa& l) {
    std::string t = IntToStr(l.id);
    const size_t n = std::min(l.x.size(), l.y.size());
    t.reserve(t.size() + n * 24);
    char buf[330];  // the longest double in fixed form, 309 digits before the point
    const auto numero = [&](double v) {
        t += ' ';
        if (!std::isfinite(v)) {
            t += std::isnan(v) ? "NAN" : v > 0 ? "INF" : "-INF";
            return;
        }
        std::string_view s(buf, static_cast<size_t>(EscreverFixo(buf, buf + sizeof buf, v, kCasasLinhas) - buf));
        // No "-0.0000": a coordinate that rounds to zero has no sign.
        if (s.front() == '-' && s.find_first_not_of("-0.") == std::string_view::npos) s.remove_prefix(1);
        t += s;
    };
    for (size_t i = 0; i < n; ++i) {
        numero(l.x[i]);
        numero(l.y[i]);
    }
    return t;
}

// from_chars, not strtod: the desktop program runs with the user's numeric locale.
bool LinhaDoTexto(const std::string& t, TLinhaMapa& l) {
    const char* p = t.data();
    const char* const fim = p + t.size();
    const auto espacos = [&] {
        while (p < fim && *p == ' ') ++p;
    };
    auto [q, e] = std::from_chars(p, fim, l.id);
    if (e != std::errc() || l.id <= 0) return false;
    p = q;
    for (bool x = true;; x = !x) {
        espacos();
        if (p == fim) return x && !l.x.empty();
        double v = 0;
        auto [q2, e2] = std::from_chars(p, fim, v);
        if (e2 != std::errc() || !std::isfinite(v)) return false;
        p = q2;
        (x ? l.x : l.y).push_back(v);
    }
}
constexpr int kVersao = 1;
}  // namespace

std::string ComplementoDaTabela(const std::string& tabela) { return TrocaExtensao(tabela, kExtensaoComplemento); }

std::string TextoAcima(int acima) { return acima > 0 ? IntToStr(acima) : std::string("topo"); }

TComplementoBDT TComplementoBDT::DoResultado(const TResultadoNivel& r) {
    TComplementoBDT c;
    c.plano = r.plano;
    for (int i = 1; i <= r.registros.Count() && size_t(i) <= r.info.size(); ++i)
        c.terracos[r.registros.Item(i)->id] = r.info[size_t(i - 1)];
    for (int i = 1; i <= r.registros.Count() && size_t(i) <= r.canais.size(); ++i)
        c.canais[r.registros.Item(i)->id] = r.canais[size_t(i - 1)];
    // Only a run that reckoned every terrace.
    if (r.construcao.terracos.size() == size_t(r.registros.Count())) {
        for (int i = 1; i <= r.registros.Count(); ++i)
            c.obras[r.registros.Item(i)->id] = r.construcao.terracos[size_t(i - 1)];
        c.maquina = r.construcao.maquina;
        c.avisosConstrucao = r.construcao.avisos;
    }
    c.travessias = r.travessias;
    c.linhas = r.linhasMapa;
    c.pecasUnidas = r.pecasUnidas;
    c.areaSemReceptor = r.areaSemReceptor;
    c.comprimentoRaioMenor = r.comprimentoRaioMenor;
    c.limiteTerracos = r.limiteDescida;
    return c;
}

const TInfoTerraco* TComplementoBDT::De(int id) const {
    const auto it = terracos.find(id);
    return it == terracos.end() ? nullptr : &it->second;
}

const TCanalLocado* TComplementoBDT::CanalDe(int id) const {
    const auto it = canais.find(id);
    return it == canais.end() ? nullptr : &it->second;
}

const TObraTerraco* TComplementoBDT::ObraDe(int id) const {
    const auto it = obras.find(id);
    return it == obras.end() ? nullptr : &it->second;
}

TConstrucaoLocacao TComplementoBDT::ConstrucaoDe(const TBDT& tabela) const {
    std::vector<TObraTerraco> t;
    for (int i = 1; i <= tabela.Count(); ++i) {
        const TObraTerraco* o = tabela[i] ? ObraDe(tabela[i]->id) : nullptr;
        if (!o) return {};
        t.push_back(*o);
    }
    TConstrucaoLocacao c = SomaDaConstrucao(t, maquina);
    c.avisos = avisosConstrucao;
    return c;
}

void TComplementoBDT::Gravar(const std::string& arquivo) const {
    // A fresh file: the sections of an older one must not stay.
    std::error_code ec;
    std::filesystem::remove(arquivo, ec);
    IniFile ini(arquivo);
    ini.WriteInteger(kPlano, "Versao", kVersao);
    GravarPlano(ini, kPlano, plano);
    ini.WriteBool(kPlano, "LimiteAtingido", limiteTerracos);
    ini.WriteInteger(kPlano, "PecasUnidas", pecasUnidas);
    ini.WriteFloat(kPlano, "AreaSemReceptor", areaSemReceptor);
    ini.WriteFloat(kPlano, "ComprimentoRaioMenor", comprimentoRaioMenor);
    for (const auto& [id, t] : terracos) {
        const std::string s = kTerraco + IntToStr(id);
        ini.WriteString(s, "Acima", TextoAcima(t.acima));
        ini.WriteString(s, "Tipo", t.tipo);
        if (const TObraTerraco* o = ObraDe(id)) {
            // Hours and cost the settings could not give stay empty.
            if (o->volume >= 0) ini.WriteFloat(s, "Volume", o->volume);
            else ini.WriteString(s, "Volume", "");
            if (o->servico.horas >= 0) ini.WriteFloat(s, "Horas", o->servico.horas);
            else ini.WriteString(s, "Horas", "");
            if (o->servico.horas >= 0 && o->servico.custo >= 0) ini.WriteFloat(s, "Custo", o->servico.custo);
            else ini.WriteString(s, "Custo", "");
        }
        if (const TCanalLocado* k = CanalDe(id)) {
            ini.WriteInteger(s, "Escoadouro", k->escoadouro);
            ini.WriteFloat(s, "CotaInicio", k->cotaInicio);
            ini.WriteFloat(s, "DeclividadeCanal", k->declividade);
            ini.WriteFloat(s, "VazaoLs", k->vazao);
            ini.WriteString(s, "Aviso", k->aviso);
        }
    }
    if (!obras.empty()) {
        ini.WriteString(kConstrucao, "Maquina", maquina);
        for (size_t k = 0; k < avisosConstrucao.size() && k <= kAvisosConstrucao; ++k)
            ini.WriteString(kConstrucao, "Aviso" + IntToStr(static_cast<long long>(k + 1)), avisosConstrucao[k]);
    }
    for (size_t k = 0; k < travessias.size(); ++k) {
        const TTravessiaNivel& t = travessias[k];
        const std::string s = kTravessia + IntToStr(static_cast<long long>(k + 1));
        ini.WriteInteger(s, "Terraco", t.terraco);
        ini.WriteFloat(s, "Inicio", t.inicio);
        ini.WriteFloat(s, "Comprimento", t.comprimento);
        ini.WriteFloat(s, "AterroCm", t.aterroCm);
        ini.WriteFloat(s, "CorteCm", t.corteCm);
    }
    // A whole farm's lines are tens of megabytes of text: formatted on every thread.
    std::vector<std::string> textos(linhas.size());
    ParaCada(static_cast<int>(linhas.size()), NumeroThreads(),
             [&](int k) { textos[size_t(k)] = TextoDaLinha(linhas[size_t(k)]); });
    for (size_t k = 0; k < linhas.size(); ++k)
        ini.WriteString(kLinhas, "Linha" + IntToStr(static_cast<long long>(k + 1)), std::move(textos[k]));
    ini.UpdateFile();
}

void TComplementoBDT::Ler(const std::string& arquivo) {
    const auto falha = [&](const std::string& porque) {
        throw EVandoro("Não foi possível ler o complemento da tabela de terraços " + arquivo + ": " + porque);
    };
    if (!ArquivoExiste(arquivo)) falha("o arquivo não existe.");
    IniFile ini(arquivo);
    if (!ini.Loaded()) falha("o arquivo não pôde ser lido.");
    const long long versao = ini.ReadInteger(kPlano, "Versao", 0);
    if (versao != kVersao) falha("não é um complemento desta versão do programa.");
    TComplementoBDT c;
    c.plano = LerPlano(ini, kPlano);
    c.limiteTerracos = ini.ReadBool(kPlano, "LimiteAtingido", false);
    c.pecasUnidas = static_cast<int>(ini.ReadInteger(kPlano, "PecasUnidas", 0));
    c.areaSemReceptor = ini.ReadFloat(kPlano, "AreaSemReceptor", 0);
    c.comprimentoRaioMenor = ini.ReadFloat(kPlano, "ComprimentoRaioMenor", 0);
    for (const std::string& s : ini.ReadSections()) {
        const auto numero = [&](const std::string& prefixo) -> long long {
            if (s.size() <= prefixo.size() || s.compare(0, prefixo.size(), prefixo) != 0) return -1;
            const std::string n = s.substr(prefixo.size());
            if (n.find_first_not_of("0123456789") != std::string::npos || n.size() > 9) return -1;
            return std::stoll(n);
        };
        if (const long long id = numero(kTerraco); id > 0) {
            TInfoTerraco t;
            const std::string acima = ini.ReadString(s, "Acima", "topo");
            const long long a = acima == "topo" ? 0 : ini.ReadInteger(s, "Acima", -1);
            if (a < 0 || a > 1000000000) falha("a seção [" + s + "] tem um valor inválido em Acima.");
            t.acima = static_cast<int32_t>(a);
            t.tipo = ini.ReadString(s, "Tipo", "");
            c.terracos[static_cast<int>(id)] = t;
            // Older companions have no figures; an empty one is not known.
            if (ini.ValueExists(s, "Volume")) {
                const auto numero = [&](const char* chave) {
                    if (ini.ReadString(s, chave, "").empty()) return -1.0;
                    const double v = ini.ReadFloat(s, chave, -1);
                    if (!(v >= 0) || !std::isfinite(v))
                        falha("a seção [" + s + "] tem um valor inválido em " + chave + ".");
                    return v;
                };
                TObraTerraco o;
                o.volume = numero("Volume");
                o.servico.horas = numero("Horas");
                o.servico.custo = o.servico.horas >= 0 ? numero("Custo") : -1;
                c.obras[static_cast<int>(id)] = o;
            }
            if (ini.ValueExists(s, "Escoadouro")) {
                TCanalLocado k;
                k.escoadouro = static_cast<int>(ini.ReadInteger(s, "Escoadouro", 0));
                k.cotaInicio = ini.ReadFloat(s, "CotaInicio", 0);
                k.declividade = ini.ReadFloat(s, "DeclividadeCanal", 0);
                k.vazao = ini.ReadFloat(s, "VazaoLs", 0);
                k.aviso = ini.ReadString(s, "Aviso", "");
                c.canais[static_cast<int>(id)] = k;
            }
        } else if (numero(kTravessia) > 0) {
            TTravessiaNivel t;
            t.terraco = static_cast<int>(ini.ReadInteger(s, "Terraco", 0));
            t.inicio = ini.ReadFloat(s, "Inicio", 0);
            t.comprimento = ini.ReadFloat(s, "Comprimento", 0);
            t.aterroCm = ini.ReadFloat(s, "AterroCm", 0);
            t.corteCm = ini.ReadFloat(s, "CorteCm", 0);
            c.travessias.push_back(t);
        }
    }
    for (long long k = 1; ini.ValueExists(kLinhas, "Linha" + IntToStr(k)); ++k) {
        const std::string chave = "Linha" + IntToStr(k);
        TLinhaMapa l;
        if (!LinhaDoTexto(ini.ReadString(kLinhas, chave, ""), l))
            falha("a seção [" + std::string(kLinhas) + "] tem um valor inválido em " + chave + ".");
        c.linhas.push_back(std::move(l));
    }
    if (!c.obras.empty()) {
        c.maquina = ini.ReadString(kConstrucao, "Maquina", "");
        for (size_t k = 1; k <= kAvisosConstrucao + 1; ++k) {
            const std::string a = ini.ReadString(kConstrucao, "Aviso" + IntToStr(static_cast<long long>(k)), "");
            if (a.empty()) break;
            c.avisosConstrucao.push_back(a);
        }
    }
    *this = std::move(c);
}

std::vector<TLinhaMapa> LinhasDoVet(const TVET& v, const TComplementoBDT& c) {
    std::vector<TLinhaMapa> r;
    for (const TVetorRecPonto& p : v.Lines()) {
        TLinhaMapa l;
        l.id = p.LineId();
        l.level = p.Count() > 0 ? p.Ponto(0).Z : 0;
        for (const TRecPonto& q : p.Pontos()) {
            l.x.push_back(q.X);
            l.y.push_back(q.Y);
        }
        r.push_back(std::move(l));
    }
    // A companion written for another vector (the .vet replaced by hand) must not move its lines.
    const auto mesma = [&](const TLinhaMapa& a, const TLinhaMapa& b) {
        if (a.id != b.id || a.x.size() != b.x.size() || b.y.size() != b.x.size()) return false;
        for (size_t i = 0; i < a.x.size(); ++i)
            if (!(std::hypot(a.x[i] - b.x[i], a.y[i] - b.y[i]) <= 1)) return false;
        return true;
    };
    if (c.linhas.size() != r.size()) return r;
    for (size_t k = 0; k < r.size(); ++k)
        if (!mesma(r[k], c.linhas[k])) return r;
    for (size_t k = 0; k < r.size(); ++k) {
        r[k].x = c.linhas[k].x;
        r[k].y = c.linhas[k].y;
    }
    return r;
}

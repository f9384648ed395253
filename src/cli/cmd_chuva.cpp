// vandoro-cli chuva: the rainfall-equation database beside the program — states, stations,
// localities, and the IDF equation at a station, a locality or any point.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Comando.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Win1252.h"
#include "core/model/Precipitacao.h"
#include "core/rainfall/BDPrecipitacao.h"
#include "core/rainfall/ConsultaLocal.h"
#include "core/rainfall/ConsultaQuenda.h"
#include "core/rainfall/Estado.h"
#include "core/rainfall/MapaEstado.h"

namespace {

const char* const kAjuda =
    "Uso: vandoro-cli chuva\n"
    "     vandoro-cli chuva --estado UF|N [--localidades]\n"
    "     vandoro-cli chuva [--estado UF|N] --estacao NOME [--tr ANOS --duracao MIN]\n"
    "     vandoro-cli chuva [--estado UF|N] --localidade NOME [--tr ANOS --duracao MIN]\n"
    "     vandoro-cli chuva [--estado UF|N] --latitude GG°MM'SS\" --longitude GG°MM'SS\" [--tr ANOS --duracao MIN]\n"
    "\n"
    "Consulta o banco de dados de equações de intensidade-duração-frequência da chuva,\n"
    "i = K·Tr^a/(t+b)^c (i em mm/h, t em min, Tr em anos).\n"
    "\n"
    "  (sem opções)       lista os estados com o número de estações e de localidades\n"
    "  --estado UF|N      estado pela sigla (MG), pelo nome ou pelo índice 0 a 26; sozinho,\n"
    "                     lista as estações do estado (equação conhecida)\n"
    "  --localidades      com --estado, lista as localidades do estado\n"
    "  --estacao NOME     K, a, b, c e a fonte da equação da estação\n"
    "  --localidade NOME  K, a, b, c interpolados para a localidade\n"
    "  --latitude, --longitude\n"
    "                     K, a, b, c interpolados para o ponto; graus sul e oeste, sem sinal;\n"
    "                     com --estado, o ponto deve ficar dentro do estado\n"
    "                     (ao norte do equador, sinal de menos no lugar do primeiro dígito:\n"
    "                     -2°30'00\"); as aspas finais podem ser omitidas\n"
    "  --tr ANOS, --duracao MIN\n"
    "                     também a intensidade média (mm/h) e a altura de chuva (mm)\n"
    "\n"
    "Nomes valem sem distinção de maiúsculas e acentos. A interpolação usa o inverso da\n"
    "quinta potência da distância sobre todas as estações do banco de dados.\n"
    "\n"
    "Exemplo:\n"
    "  vandoro-cli chuva --latitude \"19°55'00\\\"\" --longitude \"43°56'00\\\"\" --tr 10 --duracao 60\n";

// Width of a UTF-8 text in characters.
std::size_t Largura(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string Preencher(const std::string& s, std::size_t largura) {
    const std::size_t l = Largura(s);
    return l >= largura ? s : s + std::string(largura - l, ' ');
}

std::string SemBrancosFinais(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

int Estado(const std::string& texto) {
    long long n = 0;
    if (TryStrToInt(texto, n)) {
        TEstado e;
        e.SetIndex(n < -32768 || n > 32767 ? 32767 : int(n));
        return e.Index();
    }
    int i = TEstado::IndiceDaSigla(texto);
    if (i < 0) i = TEstado::IndiceDoNome(texto);
    if (i < 0) throw EVandoro("Estado desconhecido: " + texto + ".");
    return i;
}

// A typed coordinate; the closing quote is the awkward one in a shell, so it may be left off.
// The window's rules and messages: a malformed text, or a point off the map of Brazil.
std::string Coordenada(TEixoCoordenada eixo, const std::string& texto) {
    std::string t = texto;
    if (Utf8ToWin1252(t).size() == kCapCoordenada - 1) t += '"';
    try {
        ConferirCoordenada(eixo, t, MapaBrasil());
    } catch (const EVandoro& e) {
        std::string m = e.what();  // quoting what was typed
        if (const auto p = m.find(t); t != texto && p != std::string::npos) m.replace(p, t.size(), texto);
        throw EVandoro(m);
    }
    return t;
}

void ListarEstados(const std::string& pasta) {
    TBDPrecipitacao bd(pasta);
    bd.LoadStations();
    std::cout << "Índice  UF  Estado                Estações  Localidades\n";
    for (int e = 0; e < kNumEstados; ++e) {
        bd.LoadLocalities(e);
        std::string i = IntToStr(e);
        std::cout << std::string(6 - i.size(), ' ') << i << "  " << TEstado::Sigla(e) << "  "
                  << Preencher(TEstado::Nome(e), 20) << " ";
        const std::string ne = IntToStr((long long)bd.Stations(e).size());
        const std::string nl = IntToStr((long long)bd.Localities().size());
        std::cout << std::string(9 - std::min<std::size_t>(9, ne.size()), ' ') << ne
                  << std::string(13 - std::min<std::size_t>(13, nl.size()), ' ') << nl << "\n";
    }
}

template <class R>
std::vector<const R*> PorNome(const std::vector<R>& v) {
    std::vector<const R*> r;
    for (std::size_t i : OrdemPorNome(v)) r.push_back(&v[i]);
    return r;
}

void ListarEstacoes(const TBDPrecipitacao& bd, int e) {
    const auto lista = PorNome(bd.Stations(e));
    std::cout << "Estações de " << TEstado::Nome(e) << " (" << lista.size() << "):\n";
    if (lista.empty()) return;
    std::size_t w = 4;
    for (auto* s : lista) w = std::max(w, Largura(SemBrancosFinais(s->Name)));
    std::cout << Preencher("Nome", w) << "  Latitude   Longitude  " << Preencher("K", 11) << Preencher("a", 8)
              << Preencher("b", 9) << Preencher("c", 8) << "Fonte\n";
    for (auto* s : lista)
        std::cout << Preencher(SemBrancosFinais(s->Name), w) << "  " << Preencher(s->Latitude, 9) << "  "
                  << Preencher(s->Longitude, 9) << "  " << Preencher(FloatToStrFixed(s->K, 3), 11)
                  << Preencher(FloatToStrFixed(s->A, 4), 8) << Preencher(FloatToStrFixed(s->B, 3), 9)
                  << Preencher(FloatToStrFixed(s->C, 4), 8) << SemBrancosFinais(s->Source) << "\n";
}

void ListarLocalidades(TBDPrecipitacao& bd, int e) {
    bd.LoadLocalities(e);
    const auto lista = PorNome(bd.Localities());
    std::cout << "Localidades de " << TEstado::Nome(e) << " (" << lista.size() << "):\n";
    if (lista.empty()) return;
    std::size_t w = 4;
    for (auto* l : lista) w = std::max(w, Largura(SemBrancosFinais(l->Name)));
    std::cout << Preencher("Nome", w) << "  Latitude   Longitude\n";
    for (auto* l : lista)
        std::cout << Preencher(SemBrancosFinais(l->Name), w) << "  " << Preencher(l->Latitude, 9) << "  "
                  << l->Longitude << "\n";
}

// The command's way to pick one of the states.
[[noreturn]] void EscolherEstado(const ENomeEmVariosEstados& e) {
    throw EVandoro(e.Descricao() + "; escolha com --estado.");
}

struct Chuva {
    bool pedida = false;
    double tr = 0, t = 0;
};

Chuva LerChuva(const Argumentos& a) {
    Chuva c;
    if (!a.Tem("--tr") && !a.Tem("--duracao")) return c;
    c.pedida = true;
    c.tr = a.Numero("--tr");
    c.t = a.Numero("--duracao");
    // The storm's own check, before anything is printed.
    TPrecipitacaoExponencialNegativa().SetTr(c.tr);
    if (!(c.t > 0)) throw EVandoro("A duração da chuva (--duracao) deve ser maior que zero.");
    return c;
}

void MostrarEquacao(const StationRecord& r, const TBDPrecipitacao& bd, const std::string& pasta, const Chuva& pedido) {
    std::cout << "Latitude: " << r.Latitude << "\nLongitude: " << r.Longitude << "\n";
    std::cout << "K: " << FloatToStrFixed(r.K, 3) << "\na: " << FloatToStrFixed(r.A, 4)
              << "\nb: " << FloatToStrFixed(r.B, 3) << "\nc: " << FloatToStrFixed(r.C, 4) << "\n";
    const std::string fonte = SemBrancosFinais(r.Source);
    std::cout << "Fonte: " << fonte << "\n";
    std::string referencia;
    if (fonte == kFonteInterpolacao)
        std::cout << bd.TextoInterpolacao() << "\n";
    else if (ReferenciaDaFonte(pasta, fonte, referencia))
        std::cout << "Referência: " << referencia << "\n";

    if (!pedido.pedida) return;
    const double tr = pedido.tr, t = pedido.t;
    TPrecipitacaoExponencialNegativa chuva;
    chuva.SetK(r.K);
    chuva.SetTr(tr);
    chuva.SetA(r.A);
    chuva.SetB(r.B);
    chuva.SetC(r.C);
    const double altura = chuva.CumulativeDepth(t);
    std::cout << "Intensidade média (Tr = " << FloatToStr(tr) << " anos, t = " << FloatToStr(t)
              << " min): " << FormatFloat("0.00", altura * 60.0 / t) << " mm/h\n";
    std::cout << "Altura de chuva: " << FormatFloat("0.00", altura) << " mm\n";
}

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--estado", "--estacao", "--localidade", "--latitude", "--longitude", "--tr", "--duracao"},
                 {"--localidades"});
    if (!a.Posicionais().empty()) throw EVandoro("Argumento inesperado: " + a.Posicionais().front() + ".");
    const std::string pasta = PastaBancoChuva(PastaPrograma());

    const bool estacao = a.Tem("--estacao"), localidade = a.Tem("--localidade");
    const bool ponto = a.Tem("--latitude") || a.Tem("--longitude");
    if (int(estacao) + int(localidade) + int(ponto) > 1)
        throw EVandoro("Use apenas uma de --estacao, --localidade ou --latitude/--longitude.");
    if ((a.Tem("--tr") || a.Tem("--duracao")) && !(estacao || localidade || ponto))
        throw EVandoro("--tr e --duracao pedem uma estação, uma localidade ou um ponto.");
    if (a.Tem("--localidades") && !a.Tem("--estado"))
        throw EVandoro("--localidades pede --estado.");
    if (a.Tem("--localidades") && (estacao || localidade || ponto))
        throw EVandoro("--localidades só lista; não se combina com uma consulta.");
    const int estado = a.Tem("--estado") ? Estado(a.Valor("--estado")) : -1;
    const Chuva pedido = LerChuva(a);

    if (!estacao && !localidade && !ponto) {
        if (estado < 0) {
            ListarEstados(pasta);
            return 0;
        }
        TBDPrecipitacao bd(pasta);
        if (a.Tem("--localidades")) {
            ListarLocalidades(bd, estado);
        } else {
            bd.LoadStations();
            ListarEstacoes(bd, estado);
        }
        return 0;
    }

    TBDPrecipitacao bd(pasta);
    bd.LoadStations();
    if (estacao) {
        TEstacaoEncontrada s;
        try {
            s = AcharEstacao(bd, a.Valor("--estacao"), estado);
        } catch (const ENomeEmVariosEstados& e) {
            EscolherEstado(e);
        }
        std::cout << "Estação: " << SemBrancosFinais(s.Estacao.Name) << " (" << TEstado::Nome(s.Estado) << ")\n";
        MostrarEquacao(s.Estacao, bd, pasta, pedido);
    } else if (localidade) {
        TLocalidadeEncontrada l;
        try {
            l = AcharLocalidade(bd, a.Valor("--localidade"), estado);
        } catch (const ENomeEmVariosEstados& e) {
            EscolherEstado(e);
        }
        std::cout << "Localidade: " << SemBrancosFinais(l.Localidade.Name) << " (" << TEstado::Nome(l.Estado)
                  << ")\n";
        MostrarEquacao(bd.InterpolateEquation(l.Localidade.Latitude, l.Localidade.Longitude), bd, pasta, pedido);
    } else {
        if (!a.Tem("--latitude") || !a.Tem("--longitude"))
            throw EVandoro("Informe --latitude e --longitude juntas.");
        const std::string lat = Coordenada(TEixoCoordenada::Latitude, a.Valor("--latitude"));
        const std::string lon = Coordenada(TEixoCoordenada::Longitude, a.Valor("--longitude"));
        if (estado >= 0) ConferirPontoNoEstado(pasta, estado, lat, lon);
        const StationRecord r = bd.InterpolateEquation(lat, lon);
        if (r.Source != kFonteInterpolacao) std::cout << "Estação no ponto: " << SemBrancosFinais(r.Name) << "\n";
        MostrarEquacao(r, bd, pasta, pedido);
    }
    return 0;
}

RegistroComando reg{"chuva", "banco de dados de equações de chuva (estados, estações, localidades)", kAjuda,
                    Executar};

}  // namespace

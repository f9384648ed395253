// vandoro-cli espacamento: spacing between terraces by an empirical method, typed, or from
// the storage capacity of the terrace channel.
#include <cmath>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/Comando.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/model/Espacamento.h"
#include "core/model/SistemaConservacao.h"

namespace {

const char* const kAjuda =
    "Uso: vandoro-cli espacamento --metodo METODO --declividade S [opções do método]\n"
    "                             [--altura H --les LES --sm SM [--cdu CDU] [--base B --z Z]]\n"
    "                             [--tipo-terraco T]\n"
    "\n"
    "Calcula o espaçamento vertical (EV) e horizontal (EH) entre terraços.\n"
    "\n"
    "  --metodo M        bentley (0), lombardi (1), parana (2), arbitrado (3) ou\n"
    "                    capacidade (4: pela capacidade de armazenamento do canal)\n"
    "  --declividade S   declividade do terreno, %, maior que zero\n"
    "Bentley e Paraná:\n"
    "  --solo I          Bentley: 0 Solos argilosos, 1 Solos de textura média,\n"
    "                    2 Solos de textura grossa; Paraná: 0 Terra arenosa,\n"
    "                    1 Terra argilosa, 2 Terra roxa\n"
    "Lombardi Neto:\n"
    "  --cultura I       cultura, 0 a 32 na ordem da tabela (0 Abóbora ... 25 Milho ...\n"
    "                    30 Soja ... 32 Trigo)\n"
    "  --erosao I        resistência à erosão: 0 Grupo A - Alta, 1 Grupo B - Moderada,\n"
    "                    2 Grupo C - Baixa, 3 Grupo D - Muito Baixa\n"
    "  --preparo I       preparo do solo e manejo dos restos culturais: 0 a 4 (Grupo 1 a 5)\n"
    "Paraná recusa declividades acima de 20 %; Bentley acima de 20 % e Lombardi Neto acima\n"
    "do máximo do grupo (A 16 %, B 14 %, C e D 12 %) calculam com um aviso.\n"
    "Espaçamento arbitrado:\n"
    "  --eh EH           espaçamento horizontal, m\n"
    "Capacidade de armazenamento (com o método capacidade, ou além do método escolhido\n"
    "quando --altura é dada):\n"
    "  --altura H        altura do terraço, cm (10 cm de borda livre)\n"
    "  --les LES         lâmina escoada de projeto, mm\n"
    "  --sm SM           inclinação do talude de montante do canal triangular, m/m\n"
    "  --cdu CDU         coeficiente de desuniformidade, no mínimo 1 (padrão 1)\n"
    "  --base B --z Z    canal trapezoidal: largura do fundo, m, e talude, H/V\n"
    "Tipo de terraço:\n"
    "  --tipo-terraco T  recomenda o tipo construtivo pela declividade: 0 Paraná,\n"
    "                    1 Emater/RS, 2 Lombardi Neto\n"
    "\n"
    "Exemplo (Bentley, solo argiloso, 10 %):\n"
    "  vandoro-cli espacamento --metodo bentley --declividade 10 --solo 0\n"
    "  Método: Bentley\n"
    "  Declividade do terreno: 10 %\n"
    "  Solo: Solos argilosos (índice 2.5)\n"
    "  Espaçamento vertical (EV): 1.83 m\n"
    "  Espaçamento horizontal (EH): 18.30 m\n"
    "(com o separador decimal do sistema)\n";

// The capacity route is the "terrace height given" method of the spacing.
constexpr int kCapacidade = TMetodologiaEspacamento::AlturaArbitrada;

int Metodo(const std::string& v) {
    static const char* const nomes[] = {"bentley", "lombardi", "parana", "arbitrado", "capacidade"};
    static const int metodos[] = {TMetodologiaEspacamento::Bentley, TMetodologiaEspacamento::LombardiNeto,
                                  TMetodologiaEspacamento::Parana, TMetodologiaEspacamento::EspacamentoArbitrado,
                                  kCapacidade};
    for (int i = 0; i < 5; ++i)
        if (v == nomes[i] || v == IntToStr(metodos[i])) return metodos[i];
    if (v == "paraná") return TMetodologiaEspacamento::Parana;
    throw EVandoro("Método de espaçamento desconhecido: '" + v +
                   "'. Use bentley, lombardi, parana, arbitrado ou capacidade.");
}

int Indice(const Argumentos& a, const std::string& opcao, int max, const std::string& nome) {
    const long long v = a.Inteiro(opcao);
    if (v < 0 || v > max)
        throw EVandoro("O índice " + nome + " (" + opcao + ") deve estar entre 0 e " + IntToStr(max) + ".");
    return int(v);
}

// Group names carry a leading blank for the lists of the windows.
std::string SemBranco(std::string s) {
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

std::string Numero(double v) { return FormatFloat("0.###", v); }

void Espacamentos(std::ostream& out, const TEspacamento& e, const std::string& recuo) {
    out << recuo << "Espaçamento vertical (EV): " << FormatFloat("0.00", e.EV()) << " m\n";
    out << recuo << "Espaçamento horizontal (EH): " << FormatFloat("0.00", e.EH()) << " m\n";
}

double Positivo(const Argumentos& a, const std::string& opcao, const std::string& nome) {
    const double v = a.Numero(opcao);
    if (!(v > 0) || !std::isfinite(v)) throw EVandoro(nome + " (" + opcao + ") deve ser maior que zero.");
    return v;
}

void Capacidade(std::ostream& out, const Argumentos& a, TEspacamento& e, double s) {
    const double alturaCm = Positivo(a, "--altura", "A altura do terraço");
    const double les = Positivo(a, "--les", "A lâmina escoada");
    const double cdu = a.Numero("--cdu", 1);
    if (!CDuAceito(cdu)) throw EVandoro(kMensagemCDuMinimo);
    const bool trapezoidal = a.Tem("--base") || a.Tem("--z");
    double B = 0, parede;
    if (trapezoidal) {
        B = a.Numero("--base", 0);
        if (!(B >= 0)) throw EVandoro("A largura do fundo do canal (--base) não pode ser negativa.");
        // Z = 0 is the rectangular channel, which stores only over its bottom width.
        parede = a.Numero("--z");
        if (!(parede >= 0) || !std::isfinite(parede))
            throw EVandoro("O talude do canal trapezoidal (--z) não pode ser negativo.");
        if (parede == 0 && !(B > 0))
            throw EVandoro("O canal retangular (--z 0) precisa de largura do fundo (--base) maior que zero.");
    } else {
        parede = Positivo(a, "--sm", "A inclinação do talude de montante");
    }
    e.SetSecaoTriangular(!trapezoidal);
    e.SetLES(les);
    e.SetAlturaTer(alturaCm / 100);
    e.SpacingFromCapacity(B, les, parede, cdu, alturaCm / 100, s);
    std::string canal;
    if (!trapezoidal)
        canal = "triangular, Sm = " + Numero(parede) + " m/m";
    else if (parede == 0)
        canal = "retangular, B = " + Numero(B) + " m";
    else
        canal = "trapezoidal, B = " + Numero(B) + " m, Z = " + Numero(parede);
    out << "Espaçamento pela capacidade de armazenamento (canal " << canal << "):\n";
    out << "  Altura do terraço: " << FormatFloat("0.0", alturaCm) << " cm\n";
    out << "  Lâmina escoada de projeto: " << FormatFloat("0.0#", les) << " mm\n";
    out << "  Coeficiente de desuniformidade: " << FormatFloat("0.00", cdu) << "\n";
    Espacamentos(out, e, "  ");
}

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--metodo", "--declividade", "--solo", "--cultura", "--erosao", "--preparo", "--eh",
                        "--altura", "--les", "--sm", "--cdu", "--base", "--z", "--tipo-terraco"});
    if (!a.Posicionais().empty()) throw EVandoro("Argumento inesperado: " + a.Posicionais().front() + ".");
    if (!a.Tem("--metodo")) throw EVandoro("Falta a opção --metodo.");
    const int metodo = Metodo(a.Valor("--metodo"));
    const double S = Positivo(a, "--declividade", "A declividade do terreno");
    const double s = S / 100;
    // Printed only when everything went through, so an error leaves no partial result.
    std::ostringstream out;

    TEspacamento e;
    e.Metodologia().SetIndex(metodo);
    out << "Método: " << (metodo == kCapacidade ? "Capacidade de armazenamento" : e.Metodologia().Name()) << "\n";
    out << "Declividade do terreno: " << FormatFloat("0.##", S) << " %\n";
    switch (metodo) {
        case TMetodologiaEspacamento::Bentley:
        case TMetodologiaEspacamento::Parana: {
            if (metodo == TMetodologiaEspacamento::Parana) VerificarDeclividadeParana(s);
            e.Solo().SetFamilia(metodo == TMetodologiaEspacamento::Bentley ? TSolo::FamiliaBentley
                                                                           : TSolo::FamiliaParana);
            e.Solo().SetIndex(Indice(a, "--solo", 2, "do solo"));
            out << "Solo: " << e.Solo().Nome() << " (índice " << Numero(e.Solo().IndiceSolo()) << ")\n";
            break;
        }
        case TMetodologiaEspacamento::LombardiNeto: {
            e.Cultura().SelectFromTable(Indice(a, "--cultura", int(TCultura::Tabela().size()) - 1, "da cultura"));
            e.ResistenciaErosao().SelectFromTable(
                Indice(a, "--erosao", int(TResistenciaErosao::Tabela().size()) - 1, "da resistência à erosão"));
            e.PreparoDoSolo().SelectFromTable(
                Indice(a, "--preparo", int(TPreparoDoSolo::Tabela().size()) - 1, "do preparo do solo"));
            out << "Cultura: " << e.Cultura().Nome() << " (U = " << Numero(e.Cultura().IndiceU()) << ")\n";
            out << "Resistência à erosão: " << SemBranco(e.ResistenciaErosao().Grupo())
                      << " (K = " << Numero(e.ResistenciaErosao().IndiceK()) << ")\n";
            out << "Preparo do solo: " << SemBranco(e.PreparoDoSolo().Grupo())
                      << " (M = " << Numero(e.PreparoDoSolo().IndiceM()) << ")\n";
            break;
        }
        case TMetodologiaEspacamento::EspacamentoArbitrado: {
            e.SetEH(Positivo(a, "--eh", "O espaçamento horizontal"));
            e.SetEV(EspacamentoVertical(e.EH(), s));
            break;
        }
        default:
            break;
    }
    const std::string aviso = AvisoDeclividade(e, s);
    if (metodo <= TMetodologiaEspacamento::Parana) e.ComputeSpacing(s);
    if (metodo == kCapacidade)
        Capacidade(out, a, e, s);
    else {
        Espacamentos(out, e, "");
        if (a.Tem("--altura")) {
            TEspacamento c;
            Capacidade(out, a, c, s);
        }
    }
    if (a.Tem("--tipo-terraco")) {
        TSelecaoTipoTerraco sel;
        sel.SetMetodoSelecao(std::int8_t(Indice(a, "--tipo-terraco", 2, "do método de seleção do tipo de terraço")));
        sel.Recommend(S);
        out << "Tipo de terraço recomendado (" << TSelecaoTipoTerraco::NomeMetodo(sel.MetodoSelecao())
                  << "): " << (sel.TipoRecomendado().empty() ? "nenhum para esta declividade" : sel.TipoRecomendado())
                  << "\n";
    }
    if (!aviso.empty()) std::cerr << "Aviso: " << aviso << "\n";
    std::cout << out.str();
    return 0;
}

RegistroComando reg{"espacamento", "espaçamento entre terraços (Bentley, Lombardi Neto, Paraná, capacidade)",
                    kAjuda, Executar};

}  // namespace

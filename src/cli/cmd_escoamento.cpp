// vandoro-cli escoamento: design runoff depth of an IDF storm on a described hillslope.
#include <cmath>
#include <iostream>
#include <string>

#include "cli/Comando.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/sizing/EntradaDimensionamento.h"

namespace {

const char* const kAjuda =
    "Uso: vandoro-cli escoamento --k K --tr TR --a A --b B --c C --vib VIB\n"
    "                            --uso USO --tratamento TRAT --condicao COND\n"
    "\n"
    "Calcula a lâmina de escoamento superficial de projeto pelo método do número da curva,\n"
    "com a chuva de projeto dada pela equação de intensidade-duração-frequência\n"
    "i = K·Tr^A/(t+B)^C (i em mm/h, t em min). A chuva não tem duração própria: o\n"
    "escoamento dura até a intensidade cair abaixo da VIB.\n"
    "\n"
    "Chuva:\n"
    "  --k K            coeficiente K da equação (mm/h·min^C), maior que zero\n"
    "  --tr TR          tempo de retorno, anos, maior que zero\n"
    "  --a A            expoente do tempo de retorno, maior que zero\n"
    "  --b B            parâmetro B, min, maior que zero\n"
    "  --c C            expoente C, maior que zero\n"
    "Solo e cobertura:\n"
    "  --vib VIB        velocidade de infiltração básica, mm/h; escolhe a coluna da tabela:\n"
    "                   I1 até 3, I2 até 40, I3 até 190, I4 acima de 190 mm/h\n"
    "  --uso USO        uso do solo: 0 Sem cultivo, 1 Cultivo em fileiras,\n"
    "                   2 Cultivo em fileiras estreitas, 3 Leguminosas em fileiras estreitas,\n"
    "                   4 Pastagem para pastoreio, 5 Floresta\n"
    "  --tratamento T   0 nenhum, 1 Fileiras retas, 2 Com curvas de nível,\n"
    "                   3 Curvas de nível e terraço\n"
    "  --condicao C     condição hidrológica: 0 -, 1 Má, 2 Regular, 3 Boa\n"
    "\n"
    "Mostra o número da curva, a abstração inicial Ia, o tempo do fim do escoamento (quando a\n"
    "intensidade cai abaixo da VIB), o tempo de preenchimento de Ia e a lâmina escoada.\n"
    "Uma combinação de uso, tratamento e condição que a tabela não tem é recusada.\n"
    "\n"
    "Exemplo (cultivo em fileiras com curvas de nível, condição boa, VIB 20 mm/h):\n"
    "  vandoro-cli escoamento --k 1000 --tr 10 --a 0.15 --b 10 --c 0.75 --vib 20 \\\n"
    "      --uso 1 --tratamento 2 --condicao 3\n"
    "  Número da curva (CN): 92 (classe de infiltração I2)\n"
    "  Abstração inicial (Ia): 4.42 mm\n"
    "  Tempo do fim do escoamento: 62.83 min\n"
    "  Tempo de preenchimento de Ia: 1.14 min\n"
    "  Lâmina escoada de projeto: 34.35 mm\n"
    "(com o separador decimal do sistema)\n";

int Indice(const Argumentos& a, const std::string& opcao, int max, const std::string& nome) {
    const long long v = a.Inteiro(opcao);
    if (v < 0 || v > max)
        throw EVandoro("O índice de " + nome + " (" + opcao + ") deve estar entre 0 e " + IntToStr(max) + ".");
    return int(v);
}

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--k", "--tr", "--a", "--b", "--c", "--vib", "--uso", "--tratamento", "--condicao"});
    if (!a.Posicionais().empty()) throw EVandoro("Argumento inesperado: " + a.Posicionais().front() + ".");

    TPrecipitacaoExponencialNegativa chuva;
    const double k = a.Numero("--k"), tr = a.Numero("--tr");
    chuva.SetK(k);
    chuva.SetTr(tr);
    chuva.SetA(a.Numero("--a"));
    chuva.SetB(a.Numero("--b"));
    chuva.SetC(a.Numero("--c"));
    // The same rule as the sizing window's fields: no parameter of the equation can be 0.
    const std::pair<const char*, const char*> parametros[] = {{"--a", "do parâmetro \"a\""},
                                                              {"--b", "do parâmetro \"b\""},
                                                              {"--c", "do parâmetro \"c\""}};
    for (const auto& [opcao, nome] : parametros)
        if (!(a.Numero(opcao) > 0)) throw EVandoro(MensagemNaoPositivo(nome));

    TNumeroDaCurva cn;
    const double vib = a.Numero("--vib");
    if (!(vib >= 0)) throw EVandoro("A velocidade de infiltração básica (--vib) não pode ser negativa.");
    cn.SetVIB(vib);
    cn.UsoDoSolo().SetIndex(uint8_t(Indice(a, "--uso", 5, "uso do solo")));
    cn.Tratamento().SetIndex(uint8_t(Indice(a, "--tratamento", 3, "tratamento")));
    cn.CondicaoHidrologica().SetIndex(uint8_t(Indice(a, "--condicao", 3, "condição hidrológica")));
    cn.VerificarCobertura();

    const double te = RunoffEndTime(chuva, vib);
    const double ta = cn.AbstractionTime(chuva);
    const double q = cn.RunoffDepth(chuva);

    std::cout << "Número da curva (CN): " << cn.CurveNumber() << " (classe de infiltração I"
              << cn.ClasseInfiltracao() << ")";
    std::cout << "\nAbstração inicial (Ia): " << FormatFloat("0.00", cn.InitialAbstraction()) << " mm\n";
    std::cout << "Tempo do fim do escoamento: " << FormatFloat("0.00", te) << " min";
    if (te <= 0) std::cout << " (a intensidade nunca supera a VIB)";
    std::cout << "\nTempo de preenchimento de Ia: ";
    if (std::isinf(ta))
        std::cout << "a chuva não preenche a abstração inicial";
    else
        std::cout << FormatFloat("0.00", ta) << " min";
    std::cout << "\nLâmina escoada de projeto: " << FormatFloat("0.00", q) << " mm\n";
    return 0;
}

RegistroComando reg{"escoamento", "lâmina escoada de projeto (número da curva e chuva IDF)", kAjuda, Executar};

}  // namespace

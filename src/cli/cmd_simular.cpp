// simular: sizes a project and prints (or writes as CSV) the simulation charts of its system.
#include <algorithm>
#include <cctype>
#include <iostream>

#include "cli/Comando.h"
#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/project/ModeloProjeto.h"
#include "core/project/Relatorio.h"
#include "core/sizing/Dimensionamento.h"
#include "core/sizing/Simulacao.h"

namespace {

const char* const kAjuda =
    "Uso: vandoro-cli simular PROJETO.kzp [--grafico NOME] [--csv SAIDA.csv]\n\n"
    "Dimensiona o sistema do projeto como o botão \"Calcular\" e mostra a tabela de pontos de\n"
    "um gráfico de simulação (--grafico) ou de todos os gráficos do sistema: o valor variado\n"
    "como no eixo X, o valor do eixo Y e as listas de vazão (gradiente), altura teórica e\n"
    "altura recomendada. O projeto não é alterado.\n\n"
    "  --grafico NOME   um gráfico; maiúsculas e espaços não contam (\"q x comp\" = \"QxComp\")\n"
    "  --csv SAIDA.csv  grava a tabela em CSV (Windows-1252, linhas CR LF) em vez de mostrá-la.\n"
    "                   Com vírgula decimal o separador de campos é ';', com ponto é ','.\n"
    "                   Colunas: Gráfico, Eixo X, X, Eixo Y, Y, Vazão (L/s), Altura teórica\n"
    "                   (cm), Altura recomendada (cm); as três últimas ficam vazias onde o\n"
    "                   gráfico não tem a lista.\n\n"
    "Gráficos dos terraços com gradiente:\n"
    "  Q x Comp, Q x EH, Q x nc, Q x nt, Q x Sc, Q x St, Q x Tie,\n"
    "  H x Comp, H x EH, H x nc, H x nt, H x Sc, H x St, H x Tie,\n"
    "  Hr x Comp, Hr x EH, Hr x nc, Hr x nt, Hr x Sc, Hr x St, Hr x Tie\n"
    "Gráficos dos terraços em nível:\n"
    "  H x Tie, Hr x Tie, H x EH, Hr x EH, LES x Tie\n"
    "Gráficos das barraginhas:\n"
    "  Volume x área de contribuição, Volume x taxa de infiltração, LES x taxa de infiltração,\n"
    "  Raio x profundidade (semicircular) ou Comprimento x profundidade e\n"
    "  Largura x profundidade (retangular)\n";

std::string Chave(const std::string& s) {
    std::string r;
    for (unsigned char c : s)
        if (c != ' ') r += static_cast<char>(std::tolower(c));
    return r;
}

std::string Celula(const std::vector<std::string>& v, size_t i) { return i < v.size() ? v[i] : std::string(); }

void Imprimir(const TTabelaSimulacao& t) {
    std::vector<std::string> cab = {t.CabecalhoX, t.TituloY};
    if (!t.Q.empty()) cab.emplace_back("Vazão (L/s)");
    if (!t.H.empty()) cab.emplace_back("Altura teórica (cm)");
    if (!t.Hr.empty()) cab.emplace_back("Altura recomendada (cm)");
    std::vector<std::vector<std::string>> linhas;
    for (size_t i = 0; i < t.X.size(); ++i) {
        std::vector<std::string> l = {Celula(t.TextosX, i), FormatFloat("0.00", t.Y[i])};
        if (!t.Q.empty()) l.push_back(Celula(t.Q, i));
        if (!t.H.empty()) l.push_back(Celula(t.H, i));
        if (!t.Hr.empty()) l.push_back(Celula(t.Hr, i));
        linhas.push_back(std::move(l));
    }
    // Widths count characters, not bytes, so accented headers line up.
    auto largura = [](const std::string& s) {
        size_t n = 0;
        for (unsigned char c : s) n += (c & 0xC0) != 0x80;
        return n;
    };
    std::vector<size_t> w(cab.size());
    for (size_t c = 0; c < cab.size(); ++c) {
        w[c] = largura(cab[c]);
        for (const auto& l : linhas) w[c] = std::max(w[c], largura(l[c]));
    }
    std::cout << "Gráfico: " << t.Nome << "\n";
    std::cout << "Eixo X: " << t.TituloX << "\nEixo Y: " << t.TituloY << "\n";
    auto linha = [&](const std::vector<std::string>& l) {
        std::string s;
        for (size_t c = 0; c < l.size(); ++c) {
            if (c) s += "  ";
            s += std::string(w[c] - largura(l[c]), ' ') + l[c];
        }
        std::cout << s << "\n";
    };
    linha(cab);
    for (const auto& l : linhas) linha(l);
}

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--grafico", "--csv"});
    if (a.Posicionais().size() != 1)
        throw EVandoro("Uso: vandoro-cli simular PROJETO.kzp [--grafico NOME] [--csv SAIDA.csv]");
    const std::string& arquivo = a.Posicionais()[0];
    if (a.Tem("--csv") && a.Valor("--csv").empty()) throw EVandoro("Falta o valor da opção --csv.");
    RecusaSaidaSobreEntradas({a.Valor("--csv"), "A tabela CSV "}, {{arquivo, "o projeto "}});

    TModeloProjeto modelo;
    AbrirProjeto(modelo, arquivo);
    const TResultadoDimensionamento r = DimensionarProjeto(modelo);

    // The charts of the system, by name.
    std::vector<std::string> nomes;
    const bool bacia = r.TipoSistema == TTipoSistema::BaciaAcumulacao;
    const auto terracos = GraficosSimulacao(r.TipoSistema);
    if (bacia)
        nomes = ItensGraficoBacia(modelo.BaciaAcumulacao().Formato());
    else
        for (const auto& g : terracos) nomes.push_back(g.Nome);
    std::vector<size_t> escolhidos;
    if (a.Tem("--grafico")) {
        const std::string pedido = Chave(a.Valor("--grafico"));
        for (size_t i = 0; i < nomes.size(); ++i)
            if (Chave(nomes[i]) == pedido) escolhidos.push_back(i);
        if (escolhidos.empty()) {
            std::string lista;
            for (const auto& n : nomes) lista += (lista.empty() ? "" : ", ") + n;
            throw EVandoro("Gráfico desconhecido para " + NomeSistema(r.TipoSistema) + ": " + a.Valor("--grafico") +
                           ". Gráficos: " + lista + ".");
        }
    } else {
        for (size_t i = 0; i < nomes.size(); ++i) escolhidos.push_back(i);
    }

    std::vector<TTabelaSimulacao> tabelas;
    try {
        for (size_t i : escolhidos) {
            if (bacia)
                tabelas.push_back(TabelaSimulacao(PlotBasinSimulation(modelo, static_cast<int>(i))));
            else
                tabelas.push_back(TabelaSimulacao(PlotSimulation(modelo, terracos[i].Grupo, terracos[i].Item)));
        }
    } catch (const std::exception& e) {
        throw EVandoro("Erro no cálculo: " + std::string(e.what()));
    }

    if (a.Tem("--csv")) {
        GravarRelatorio(CsvSimulacao(tabelas), a.Valor("--csv"));
        return 0;
    }
    const TIDProjeto& id = modelo.Identificacao();
    if (!id.Nome().empty()) std::cout << "Projeto: " << id.Nome() << "\n";
    std::cout << "Sistema: " << NomeSistema(r.TipoSistema) << "\n";
    for (const auto& t : tabelas) {
        std::cout << "\n";
        Imprimir(t);
    }
    return 0;
}

RegistroComando reg{"simular", "tabelas dos gráficos de simulação do sistema de um projeto", kAjuda, Executar};

}  // namespace

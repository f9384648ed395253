// simular: sizes a project and prints (or writes as CSV) the simulation charts of its system.
#include <algorithm>
#include <cctype>
#include <iostream>
#include <sstream>

#include "Comando.h"
#include "common/Erros.h"
#include "common/Numeros.h"
#include "common/Win1252.h"
#include "project/ModeloProjeto.h"
#include "sizing/Dimensionamento.h"
#include "sizing/Relatorio.h"
#include "sizing/Simulacao.h"

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

// One chart ready for output.
struct Tabela {
    std::string nome, tituloX, tituloY, cabecalhoX;
    std::vector<double> x, y;
    std::vector<std::string> xs, q, h, hr;  // page lists, as shown (may be empty)
};

std::string Aparar(const std::string& s) {
    const auto i = s.find_first_not_of(' ');
    return i == std::string::npos ? std::string() : s.substr(i);
}

std::string Chave(const std::string& s) {
    std::string r;
    for (unsigned char c : s)
        if (c != ' ') r += static_cast<char>(std::tolower(c));
    return r;
}

Tabela DeTerraco(const TGraficoSimulacao& g) {
    Tabela t;
    t.nome = g.Nome;
    t.tituloX = g.TituloX;
    t.tituloY = g.TituloY;
    std::string rotulo = g.RotuloX;
    if (!rotulo.empty() && rotulo.back() == ':') rotulo.pop_back();
    t.cabecalhoX = rotulo + " (" + g.UnidadeX + ")";
    t.x = g.X;
    t.y = g.Y;
    t.xs = g.SimulaTudo;
    for (const auto& s : g.SimulaQ) t.q.push_back(Aparar(s));
    for (const auto& s : g.SimulaH) t.h.push_back(Aparar(s));
    for (const auto& s : g.SimulaHr) t.hr.push_back(Aparar(s));
    return t;
}

Tabela DeBacia(const TGraficoBacia& g) {
    Tabela t;
    t.nome = g.Nome;
    t.tituloX = g.TituloX;
    t.tituloY = g.TituloY;
    t.cabecalhoX = g.TituloX;
    t.x = g.X;
    t.y = g.Y;
    for (double v : g.X) t.xs.push_back(FloatToStr(v));
    return t;
}

std::string Celula(const std::vector<std::string>& v, size_t i) { return i < v.size() ? v[i] : std::string(); }

void Imprimir(const Tabela& t) {
    std::vector<std::string> cab = {t.cabecalhoX, t.tituloY};
    if (!t.q.empty()) cab.emplace_back("Vazão (L/s)");
    if (!t.h.empty()) cab.emplace_back("Altura teórica (cm)");
    if (!t.hr.empty()) cab.emplace_back("Altura recomendada (cm)");
    std::vector<std::vector<std::string>> linhas;
    for (size_t i = 0; i < t.x.size(); ++i) {
        std::vector<std::string> l = {Celula(t.xs, i), FormatFloat("0.00", t.y[i])};
        if (!t.q.empty()) l.push_back(Celula(t.q, i));
        if (!t.h.empty()) l.push_back(Celula(t.h, i));
        if (!t.hr.empty()) l.push_back(Celula(t.hr, i));
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
    std::cout << "Gráfico: " << t.nome << "\n";
    std::cout << "Eixo X: " << t.tituloX << "\nEixo Y: " << t.tituloY << "\n";
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

std::string Csv(const std::vector<Tabela>& tabelas) {
    const char sep = Regional::Current().DecimalSeparator == ',' ? ';' : ',';
    auto campo = [sep](const std::string& s) {
        if (s.find(sep) == std::string::npos && s.find('"') == std::string::npos) return s;
        std::string r = "\"";
        for (char c : s) r += c == '"' ? std::string("\"\"") : std::string(1, c);
        return r + "\"";
    };
    std::ostringstream o;
    const char* const cab[] = {"Gráfico", "Eixo X", "X", "Eixo Y", "Y", "Vazão (L/s)", "Altura teórica (cm)",
                               "Altura recomendada (cm)"};
    for (size_t c = 0; c < 8; ++c) o << (c ? std::string(1, sep) : "") << cab[c];
    o << "\r\n";
    for (const auto& t : tabelas) {
        for (size_t i = 0; i < t.x.size(); ++i) {
            const std::string l[] = {t.nome,          t.tituloX,       FloatToStr(t.x[i]), t.tituloY,
                                     FloatToStr(t.y[i]), Celula(t.q, i), Celula(t.h, i),   Celula(t.hr, i)};
            for (size_t c = 0; c < 8; ++c) o << (c ? std::string(1, sep) : "") << campo(l[c]);
            o << "\r\n";
        }
    }
    return Utf8ToWin1252(o.str());
}

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--grafico", "--csv"});
    if (a.Posicionais().size() != 1)
        throw EVandoro("Uso: vandoro-cli simular PROJETO.kzp [--grafico NOME] [--csv SAIDA.csv]");
    const std::string& arquivo = a.Posicionais()[0];
    if (a.Tem("--csv") && a.Valor("--csv").empty()) throw EVandoro("Falta o valor da opção --csv.");

    TModeloProjeto modelo;
    modelo.Quenda().SetPastaPrograma(PastaPrograma());
    modelo.AbrirProjetoSemAlterar(arquivo);
    TResultadoDimensionamento r;
    try {
        r = Dimensionar(modelo);
    } catch (const EErroCalculo& e) {
        throw EVandoro("Erro no cálculo: " + e.Detalhe());
    }

    // The charts of the system, by name.
    std::vector<std::string> nomes;
    const bool bacia = r.TipoSistema == 5;
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

    std::vector<Tabela> tabelas;
    try {
        for (size_t i : escolhidos) {
            if (bacia)
                tabelas.push_back(DeBacia(PlotBasinSimulation(modelo, static_cast<int>(i))));
            else
                tabelas.push_back(DeTerraco(PlotSimulation(modelo, terracos[i].Grupo, terracos[i].Item)));
        }
    } catch (const std::exception& e) {
        throw EVandoro("Erro no cálculo: " + std::string(e.what()));
    }

    if (a.Tem("--csv")) {
        GravarRelatorio(Csv(tabelas), a.Valor("--csv"));
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

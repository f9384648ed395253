#include "core/sizing/Simulacao.h"

#include <algorithm>
#include <cmath>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/SerieGrafico.h"
#include "core/common/Win1252.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/EntradaDimensionamento.h"

namespace {

const char* const kFmtLista = " #0.0";

// The graded sweeps, in item order: item name suffix, X title, list label and unit. The
// infiltration entries take the user's unit label.
struct Varredura {
    const char* sufixo;
    const char* tituloX;
    const char* rotulo;
    const char* unidade;
};
const Varredura kVarreduras[7] = {
    {"Comp", "Comprimento (m)", "Comprimento:", "m"},
    {"EH", "Espaçamento (m)", "Espaçamento:", "m"},
    {"nc", "Rugosidade do canal (10E-3)", "Rugosidade do canal:", "10E-3"},
    {"nt", "Rugosidade do terreno (10E-2)", "Rugosidade do terreno:", "10E-2"},
    {"Sc", "Delcividade do canal (10E-2 %)", "Declividade do canal:", "10E-2 %"},
    {"St", "Declividade do terreno (%)", "Declividade do terreno:", "%"},
    {"Tie", nullptr, "Tie:", nullptr},
};
const char* const kPrefixoGrupo[3] = {"Q x ", "H x ", "Hr x "};
const char* const kItensNivel[5] = {"H x Tie", "Hr x Tie", "H x EH", "Hr x EH", "LES x Tie"};

// Puts back what a sweep writes into shared objects, whatever way the sweep ends.
class TRestauraEntradas {
public:
    TRestauraEntradas(TNumeroDaCurva& cn, TPrecipitacaoExponencialNegativa& storm)
        : cn_(cn), storm_(storm), vib_(cn.VIB()), st_(cn.St()), nt_(cn.nt().Value()) {
        copia_.Assign(storm);
    }
    ~TRestauraEntradas() {
        cn_.SetVIB(vib_);
        cn_.SetSt(st_);
        cn_.nt().SetValue(nt_);
        try {
            storm_.Assign(copia_);
        } catch (...) {
            // Assigning back values the storm held a moment ago cannot be refused.
        }
    }
    TRestauraEntradas(const TRestauraEntradas&) = delete;
    TRestauraEntradas& operator=(const TRestauraEntradas&) = delete;

private:
    TNumeroDaCurva& cn_;
    TPrecipitacaoExponencialNegativa& storm_;
    TPrecipitacaoExponencialNegativa copia_;
    double vib_, st_, nt_;
};

void Acrescentar(TGraficoSimulacao& g, ISerieGrafico* serie, double x, const std::string& xs, double y, double q,
                 double h, double cdu) {
    g.X.push_back(x);
    g.Y.push_back(y);
    if (serie) serie->AddXY(x, y);
    if (g.MostraQ) g.SimulaQ.push_back(FormatFloat(kFmtLista, q));
    g.SimulaH.push_back(FormatFloat(kFmtLista, h * 100.0));
    g.SimulaHr.push_back(FormatFloat(kFmtLista, AlturaRecomendada(cdu, h)));
    g.SimulaTudo.push_back(xs);
}

std::string TituloTie(const TConfiguracao& cfg) { return "Tie (" + cfg.UVIB + ")"; }

void Gradiente(TModeloProjeto& m, TGraficoSimulacao& g, ISerieGrafico* serie) {
    const TConfiguracao& cfg = m.Configuracao();
    const TTerracosGradiente& s = m.TerracosGradiente();
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    auto& storm = m.Precipitacao();
    const Varredura& v = kVarreduras[g.Item];
    g.Nome = std::string(kPrefixoGrupo[g.Grupo]) + v.sufixo;
    g.TituloX = v.tituloX ? v.tituloX : TituloTie(cfg);
    g.RotuloX = v.rotulo;
    g.UnidadeX = v.unidade ? v.unidade : cfg.UVIB;
    g.TituloY = g.Grupo == 0 ? "Vazão (L/s)" : g.Grupo == 1 ? "Altura teórica (cm)" : "Altura recomendada (cm)";
    g.MostraQ = true;
    const double cdu = s.CDu();

    TRestauraEntradas guarda(cn, storm);
    for (int k = 0; k < kPontosSimulacao; ++k) {
        double eh = s.Espacamento().EH(), sc = s.Sc(), nc = s.nc().Value();
        int comp = s.Comprimento();
        double x = 0;
        std::string xs;
        switch (g.Item) {
            case 0:
                comp = 50 * (k + 1);
                x = comp;
                xs = FormatFloat("0", x);
                break;
            case 1:
                eh = 10.0 * (k + 1);
                x = eh;
                xs = FormatFloat("0", x);
                break;
            case 2:
                nc = k == 0 ? 0.001 : 0.005 * k;
                x = nc * 1000.0;
                xs = FormatFloat("0.0###", x);
                break;
            case 3:
                cn.nt().SetValue(0.035 + 0.01575 * k);
                x = cn.nt().Value() * 100.0;
                xs = FormatFloat("0.##", x);
                break;
            case 4:
                sc = 0.0005 * (k + 1);
                x = sc * 10000.0;
                xs = FormatFloat("0.##", x);
                break;
            case 5:
                cn.SetSt(0.01 + 0.02 * k);
                x = cn.St() * 100.0;
                xs = FormatFloat("0.##", x);
                break;
            default:
                cn.SetVIB(5.0 * (k + 1));
                x = cfg.KVIB * cn.VIB();
                xs = FormatFloat("0.##", x);
                break;
        }
        const auto r = s.HeightAndFlowFor(cn, storm, eh, sc, nc, comp);
        const double y = g.Grupo == 0 ? r.Q : g.Grupo == 1 ? r.H * 100.0 : AlturaRecomendada(cdu, r.H);
        Acrescentar(g, serie, x, xs, y, r.Q, r.H, cdu);
    }
}

void Nivel(TModeloProjeto& m, TGraficoSimulacao& g, ISerieGrafico* serie) {
    const TConfiguracao& cfg = m.Configuracao();
    const TTerracosNivel& s = m.TerracosNivel();
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    auto& storm = m.Precipitacao();
    const bool porEH = g.Item == 2 || g.Item == 3;
    g.Nome = kItensNivel[g.Item];
    g.TituloX = porEH ? "Espaçamento (m)" : TituloTie(cfg);
    g.TituloY = g.Item == 4 ? "LES (mm)" : (g.Item == 0 || g.Item == 2) ? "Altura teórica (cm)" : "Altura recomendada (cm)";
    g.RotuloX = porEH ? (g.Item == 2 ? "Espaçamento" : "Espaçamento:") : "Tie:";
    g.UnidadeX = porEH ? "m" : cfg.UVIB;
    g.MostraQ = false;
    const double cdu = s.CDu();

    TRestauraEntradas guarda(cn, storm);
    for (int k = 0; k < kPontosSimulacao; ++k) {
        double eh = s.Espacamento().EH(), x = 0;
        std::string xs;
        if (porEH) {
            eh = 10.0 * (k + 1);
            x = eh;
            xs = FormatFloat("0.##", x);
        } else {
            cn.SetVIB(5.0 * (k + 1));
            x = cfg.KVIB * cn.VIB();
            xs = FormatFloat(g.Item == 4 ? "0.#" : "0.##", x);
        }
        const double h = s.HeightFor(cn, storm, eh);
        double y = 0;
        if (g.Item == 4)
            y = cn.RunoffDepth(storm);
        else if (g.Item == 0 || g.Item == 2)
            y = h * 100.0;
        else
            y = AlturaRecomendada(cdu, h);
        Acrescentar(g, serie, x, xs, y, 0, h, cdu);
    }
}

}  // namespace

std::string LegendaGrupoSimulacao(int grupo) {
    static const char* const legendas[4] = {" Vazão ", "Altura teórica", "Altura recomendada", " &Gráficos "};
    return grupo >= 0 && grupo < 4 ? legendas[grupo] : "";
}

std::vector<std::string> ItensGrupoSimulacao(int grupo) {
    std::vector<std::string> r;
    if (grupo >= 0 && grupo < kGruposGradiente) {
        for (const auto& v : kVarreduras) r.push_back(std::string(kPrefixoGrupo[grupo]) + v.sufixo);
    } else if (grupo == kGrupoNivel) {
        for (const char* n : kItensNivel) r.emplace_back(n);
    }
    return r;
}

std::vector<TItemGrafico> GraficosSimulacao(TTipoSistema tipoSistema) {
    std::vector<TItemGrafico> r;
    auto grupo = [&r](int g) {
        const auto itens = ItensGrupoSimulacao(g);
        for (int i = 0; i < static_cast<int>(itens.size()); ++i) r.push_back({g, i, itens[static_cast<size_t>(i)]});
    };
    if (tipoSistema == TTipoSistema::Nivel) {
        grupo(kGrupoNivel);
    } else if (tipoSistema == TTipoSistema::Gradiente) {
        for (int g = 0; g < kGruposGradiente; ++g) grupo(g);
    }
    return r;
}

TGraficoSimulacao PlotSimulation(TModeloProjeto& m, int grupo, int item, ISerieGrafico* serie) {
    const int itens = static_cast<int>(ItensGrupoSimulacao(grupo).size());
    if (item < 0 || item >= itens) throw EVandoro("Gráfico de simulação inexistente.");
    TGraficoSimulacao g;
    g.Grupo = grupo;
    g.Item = item;
    if (serie) serie->Clear();
    if (grupo == kGrupoNivel)
        Nivel(m, g, serie);
    else
        Gradiente(m, g, serie);
    return g;
}

std::string DicaPonto(double x, double y) { return "(" + FloatToStr(x) + "; " + FormatFloat("0.00", y) + ")"; }

// ---------------------------------------------------------------- TPaginaSimulacao

bool TPaginaSimulacao::Gradiente() const { return m_.TipoSistema().Tipo() != TTipoSistema::Nivel; }

TSistemaConservacao& TPaginaSimulacao::Sistema() const { return m_.SistemaAtual(); }

TGraficoSimulacao TPaginaSimulacao::Desenhar(int grupo, ISerieGrafico* serie) {
    if (selecao_[grupo] < 0) selecao_[grupo] = 0;
    grupoAtivo_ = grupo;
    return PlotSimulation(m_, grupo, selecao_[grupo], serie);
}

TGraficoSimulacao TPaginaSimulacao::Abrir(double cdu, ISerieGrafico* serie) {
    Sistema().SetCDu(cdu);
    for (int& s : selecao_) s = -1;
    return Desenhar(Gradiente() ? 0 : kGrupoNivel, serie);
}

TGraficoSimulacao TPaginaSimulacao::Escolher(int grupo, int item, ISerieGrafico* serie) {
    if (item < 0 || item >= static_cast<int>(ItensGrupoSimulacao(grupo).size()))
        throw EVandoro("Gráfico de simulação inexistente.");
    if (grupo < kGruposGradiente)
        for (int g = 0; g < kGruposGradiente; ++g)
            if (g != grupo) selecao_[g] = -1;
    selecao_[grupo] = item;
    return Desenhar(grupo, serie);
}

TGraficoSimulacao TPaginaSimulacao::CalculaHR(double cdu, ISerieGrafico* serie) {
    TSistemaConservacao& s = Sistema();
    DefinirAlturaRecomendada(s, cdu);
    if (!Gradiente()) return Desenhar(kGrupoNivel, serie);
    const int lembrado = selecao_[0] >= 0 ? selecao_[0] : selecao_[1];
    selecao_[0] = selecao_[1] = -1;
    if (lembrado >= 0) selecao_[2] = lembrado;
    return Desenhar(2, serie);
}

void TPaginaSimulacao::Voltar(double cdu, ISerieGrafico* serie) {
    // The coefficient left on the page and its recommended height go together, as the
    // result page and the report show them.
    TSistemaConservacao& s = Sistema();
    DefinirAlturaRecomendada(s, cdu);
    if (serie) serie->Clear();
}

std::vector<std::string> ItensGraficoBacia(int formato) {
    std::vector<std::string> r = {"Volume x área de contribuição", "Volume x taxa de infiltração",
                                  "LES x taxa de infiltração"};
    if (formato == TBaciaAcumulacao::SemiCircular) {
        r.emplace_back("Raio x profundidade");
    } else {
        r.emplace_back("Comprimento x profundidade");
        r.emplace_back("Largura x profundidade");
    }
    return r;
}

double PassoAreaBacia(double A) {
    if (A < 100) return 10;
    if (A < 500) return 50;
    if (A < 1000) return 100;
    if (A < 5000) return 500;
    if (A < 10000) return 1000;
    if (A < 50000) return 5000;
    return 10000;
}

TGraficoBacia PlotBasinSimulation(const TModeloProjeto& m, int item, ISerieGrafico* serie) {
    const TBaciaAcumulacao& original = m.BaciaAcumulacao();
    const bool semi = original.Formato() == TBaciaAcumulacao::SemiCircular;
    const auto itens = ItensGraficoBacia(original.Formato());
    if (item < 0 || item >= static_cast<int>(itens.size())) throw EVandoro("Gráfico de simulação inexistente.");

    // Copies: the chart must leave the project as it is.
    TBaciaAcumulacao b;
    b.Assign(original);
    TNumeroDaCurva cn;
    cn.Assign(m.NumeroDaCurva());
    TPrecipitacaoExponencialNegativa storm;
    storm.Assign(m.Quenda().Precipitacao());
    const double A = m.AreaContribBacia();

    TGraficoBacia g;
    g.Item = item;
    g.Nome = itens[static_cast<size_t>(item)];
    switch (item) {
        case 0:
            g.TituloY = "Volume (m3)";
            g.TituloX = "Área de contribuição (m2)";
            break;
        case 1:
            g.TituloY = "Volume (m3)";
            g.TituloX = "Taxa de infiltração (mm/h)";
            break;
        case 2:
            g.TituloY = "LES (mm)";
            g.TituloX = "Taxa de infiltração (mm/h)";
            break;
        case 3:
            g.TituloY = semi ? "Raio (m)" : "Comprimento (m)";
            g.TituloX = "Profundidade (m)";
            break;
        default:
            g.TituloY = "Largura (m)";
            g.TituloX = "Profundidade (m)";
            break;
    }
    if (serie) serie->Clear();
    const double passo = PassoAreaBacia(A);
    const double les = item == 0 ? cn.RunoffDepth(storm) : 0;
    for (int i = 1; i <= kPontosBacia; ++i) {
        double x = 0, y = 0;
        if (item == 0) {
            x = i * passo;
            y = les / 1000.0 * x;
        } else if (item == 1 || item == 2) {
            x = 5.0 * i;
            cn.SetVIB(x);
            const double d = cn.RunoffDepth(storm);
            y = item == 1 ? d / 1000.0 * A : d;
        } else {
            x = 1.0 + 0.1 * (i - 1);
            b.SetProfundidade(x);
            b.ComputeBasin(1);
            y = item == 4 ? b.Largura() : semi ? b.Raio() : b.Comprimento();
        }
        g.X.push_back(x);
        g.Y.push_back(y);
        if (serie) serie->AddXY(x, y);
    }
    // A flat line at zero says nothing by itself: the runoff charts say why.
    if (item <= 2 && std::all_of(g.Y.begin(), g.Y.end(), [](double y) { return !(y > 0); }))
        g.Aviso = item == 0 ? "Não há escoamento superficial para esta chuva e este solo: o volume é zero para "
                              "qualquer área de contribuição."
                            : "Não há escoamento superficial para esta chuva em nenhuma das taxas de infiltração "
                              "do gráfico.";
    return g;
}

// ---------------------------------------------------------------- tables and export

namespace {

std::string SemBrancosIniciais(const std::string& s) {
    const auto i = s.find_first_not_of(' ');
    return i == std::string::npos ? std::string() : s.substr(i);
}

std::string Celula(const std::vector<std::string>& v, std::size_t i) { return i < v.size() ? v[i] : std::string(); }

}  // namespace

TTabelaSimulacao TabelaSimulacao(const TGraficoSimulacao& g) {
    TTabelaSimulacao t;
    t.Nome = g.Nome;
    t.TituloX = g.TituloX;
    t.TituloY = g.TituloY;
    std::string rotulo = g.RotuloX;
    if (!rotulo.empty() && rotulo.back() == ':') rotulo.pop_back();
    t.CabecalhoX = rotulo + " (" + g.UnidadeX + ")";
    t.X = g.X;
    t.Y = g.Y;
    t.TextosX = g.SimulaTudo;
    // The page's lists are right-aligned with leading blanks; the table aligns them itself.
    for (const auto& s : g.SimulaQ) t.Q.push_back(SemBrancosIniciais(s));
    for (const auto& s : g.SimulaH) t.H.push_back(SemBrancosIniciais(s));
    for (const auto& s : g.SimulaHr) t.Hr.push_back(SemBrancosIniciais(s));
    return t;
}

TTabelaSimulacao TabelaSimulacao(const TGraficoBacia& g, const Regional& r) {
    TTabelaSimulacao t;
    t.Nome = g.Nome;
    t.TituloX = g.TituloX;
    t.TituloY = g.TituloY;
    t.CabecalhoX = g.TituloX;
    t.X = g.X;
    t.Y = g.Y;
    for (double v : g.X) t.TextosX.push_back(FloatToStr(v, r));
    return t;
}

std::string CsvSimulacao(const std::vector<TTabelaSimulacao>& tabelas, const Regional& r) {
    const char sep = r.DecimalSeparator == ',' ? ';' : ',';
    auto campo = [sep](const std::string& s) {
        if (s.find(sep) == std::string::npos && s.find('"') == std::string::npos) return s;
        std::string q = "\"";
        for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
        return q + "\"";
    };
    std::string o;
    auto linha = [&](const std::string (&l)[8]) {
        for (std::size_t c = 0; c < 8; ++c) {
            if (c) o += sep;
            o += campo(l[c]);
        }
        o += "\r\n";
    };
    linha({"Gráfico", "Eixo X", "X", "Eixo Y", "Y", "Vazão (L/s)", "Altura teórica (cm)", "Altura recomendada (cm)"});
    for (const auto& t : tabelas)
        for (std::size_t i = 0; i < t.X.size(); ++i)
            linha({t.Nome, t.TituloX, FloatToStr(t.X[i], r), t.TituloY, FloatToStr(t.Y[i], r), Celula(t.Q, i),
                   Celula(t.H, i), Celula(t.Hr, i)});
    return Utf8ToWin1252(o);
}

#include "core/location/PlanoMapa.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <set>

#include "core/common/Arquivo.h"
#include "core/common/Numeros.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/Escoadouros.h"
#include "core/location/Locacao.h"
#include "core/raster/FormatoImagem.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"

namespace {

// A piece of the map that cannot be read is left out: the map shows what there is.
template <class F>
void SeDer(F f) {
    try {
        f();
    } catch (const std::exception&) {
    }
}

std::string Resolvido(const std::string& caminho, const std::string& projeto) {
    return CaminhoDoProjeto(caminho, projeto);
}

// The ".vet" lines of a saved plan (at full precision when its companion keeps them), in its
// table's order (lines the table lacks after).
std::vector<TLinhaPlano> LinhasDoVetor(const std::string& vet) {
    TVET v;
    v.Load(vet);
    TComplementoBDT c;
    try {
        c.Ler(ComplementoDaTabela(TabelaDaSaida(vet)));
    } catch (const EVandoro&) {
        c = TComplementoBDT{};
    }
    std::vector<TLinhaPlano> linhas;
    for (TLinhaMapa& m : LinhasDoVet(v, c)) {
        if (m.x.size() < 2) continue;
        TLinhaPlano l;
        l.terraco = m.id;
        l.x = std::move(m.x);
        l.y = std::move(m.y);
        linhas.push_back(std::move(l));
    }
    TBDT tabela;
    if (tabela.LoadFromFile(TabelaDaSaida(vet))) {
        std::vector<int> ordem;
        for (int i = 1; i <= tabela.Count(); ++i) ordem.push_back(tabela.Item(i)->id);
        const auto posicao = [&](int id) { return std::find(ordem.begin(), ordem.end(), id) - ordem.begin(); };
        std::stable_sort(linhas.begin(), linhas.end(),
                         [&](const TLinhaPlano& a, const TLinhaPlano& b) { return posicao(a.terraco) < posicao(b.terraco); });
    }
    return linhas;
}

}  // namespace

TPlanoMapa PlanoMapaDaLocacao(const TLocacaoNivel& loc, const std::string& projeto) {
    TPlanoMapa p;
    const bool corrida = !loc.RunElevPath().empty();
    p.elevacao = corrida ? loc.RunElevPath() : Resolvido(loc.fnImgElev(), projeto);
    const std::string vet = corrida ? loc.RunOutputPath() : Resolvido(loc.fnVetSaida(), projeto);
    std::string crs;
    SeDer([&] { crs = CrsDoArquivoImagem(p.elevacao); });
    SeDer([&] {
        if (crs.empty()) return;
        const TInfoCrs info = DescreveCrs(crs);
        if (!info.valido) return;
        p.sistema = info.nome;
        if (info.projetado && info.metrosPorUnidade > 0) p.metrosPorUnidade = info.metrosPorUnidade;
    });

    if (corrida) {
        std::map<int, std::string> tipos;
        const TBDT& tabela = loc.Registros();
        for (int i = 1; i <= tabela.Count(); ++i)
            if (size_t(i) <= loc.Info().size()) tipos[tabela.Item(i)->id] = loc.Info()[size_t(i - 1)].tipo;
        for (const TLinhaMapa& l : loc.LinhasMapa()) {
            if (l.x.size() < 2 || l.x.size() != l.y.size()) continue;
            TLinhaPlano lp;
            lp.terraco = l.id;
            lp.x = l.x;
            lp.y = l.y;
            if (const auto t = tipos.find(l.id); t != tipos.end()) lp.tipo = t->second;
            p.linhas.push_back(std::move(lp));
        }
        p.faixas = loc.MapaFaixas();
        p.escoadouros = loc.Escoadouros();
        p.gradiente = !loc.Canais().empty();
        if (loc.MetresPerUnit() > 0) p.metrosPorUnidade = loc.MetresPerUnit();
    } else if (!vet.empty()) {
        SeDer([&] { p.linhas = LinhasDoVetor(vet); });
        SeDer([&] {
            TComplementoBDT c;
            c.Ler(ComplementoDaTabela(TabelaDaSaida(vet)));
            for (TLinhaPlano& l : p.linhas)
                if (const TInfoTerraco* i = c.De(l.terraco)) l.tipo = i->tipo;
            p.gradiente = !c.canais.empty();
        });
        // The waterways of a saved graded plan are read over the model, as its run read them.
        if (p.gradiente && !loc.fnEscoadouro().empty())
            SeDer([&] {
                TImagem elev;
                if (!elev.LoadFromFile(p.elevacao)) return;
                int id = 0;
                for (const TPolilinha& e : LerEscoadouros(Resolvido(loc.fnEscoadouro(), projeto), crs,
                                                          TGradeMapa::De(elev))) {
                    TLinhaMapa l;
                    l.id = ++id;
                    l.x = e.x;
                    l.y = e.y;
                    p.escoadouros.push_back(std::move(l));
                }
            });
    }
    if (!loc.fnLimite().empty())
        SeDer([&] { p.limite = LerPoligonosNoModelo(Resolvido(loc.fnLimite(), projeto), crs); });
    return p;
}

double ComprimentoEscala(double maximo) {
    if (!(maximo > 0) || !std::isfinite(maximo)) return 0;
    double potencia = std::pow(10.0, std::floor(std::log10(maximo)));
    // log10 may land a hair under a power of ten.
    if (potencia * 10 <= maximo) potencia *= 10;
    if (potencia > maximo) potencia /= 10;
    for (const double m : {5.0, 2.0, 1.0})
        if (m * potencia <= maximo * (1 + 1e-12)) return m * potencia;
    return potencia;
}

double PassoGrade(double extensao, int linhas) {
    if (!(extensao > 0) || !std::isfinite(extensao) || linhas <= 0) return 0;
    // The smallest step of the series at least extensao / linhas.
    const double minimo = extensao / linhas;
    double potencia = std::pow(10.0, std::floor(std::log10(minimo)));
    if (potencia * 10 <= minimo) potencia *= 10;
    for (;;) {
        for (const double m : {1.0, 2.0, 5.0})
            if (m * potencia >= minimo * (1 - 1e-12)) return m * potencia;
        potencia *= 10;
    }
}

std::string RotuloGrade(double valor, double passo) {
    int decimais = 0;
    // A step of the 1-2-5 series has as many decimals as its power of ten below 1.
    while (decimais < 6 && passo > 0 && std::fabs(passo * std::pow(10.0, decimais) -
                                                   std::nearbyint(passo * std::pow(10.0, decimais))) > 1e-6)
        ++decimais;
    std::string padrao = "#,##0";
    if (decimais > 0) padrao += "." + std::string(size_t(decimais), '0');
    // No "-0" for a line through zero.
    if (std::fabs(valor) < passo * 1e-6) valor = 0;
    return FormatFloat(padrao, valor);
}

std::string RotuloEscala(double metros) {
    if (metros >= 1000) return FormatFloat("#,##0.###", metros / 1000) + " km";
    return FormatFloat("#,##0.###", metros) + " m";
}

TLayoutFolha LayoutFolha(double largura, double altura) {
    TLayoutFolha l;
    const double s = std::min(largura, altura);
    l.margem = 0.04 * s;
    l.texto = 0.016 * s;
    const double m = l.margem, t = l.texto;
    const double rotulos = 1.8 * t;  // the grid's labels outside the frame, left and below
    const double espaco = 0.03 * s;
    l.titulo = {m, m, largura - 2 * m, 2 * t};
    const double y0 = m + 2.8 * t;
    if (largura >= altura) {
        const double w = 0.32 * s;
        l.legenda = {largura - m - w, y0, w, altura - m - y0};
        l.mapa = {m + rotulos, y0, largura - 2 * m - w - espaco - rotulos, altura - m - y0 - rotulos};
    } else {
        const double h = 0.27 * s;
        l.legenda = {m, altura - m - h, largura - 2 * m, h};
        l.mapa = {m + rotulos, y0, largura - 2 * m - rotulos, altura - m - h - espaco - y0 - rotulos};
    }
    return l;
}

double EscalaNaFolha(const TLayoutFolha& l, double larguraCampo, double alturaCampo) {
    if (!(larguraCampo > 0) || !(alturaCampo > 0)) return 0;
    return std::min(l.mapa.largura / larguraCampo, l.mapa.altura / alturaCampo);
}

bool PaisagemA4(double larguraCampo, double alturaCampo) {
    return EscalaNaFolha(LayoutFolha(297, 210), larguraCampo, alturaCampo) >
           EscalaNaFolha(LayoutFolha(210, 297), larguraCampo, alturaCampo);
}

std::map<int, int> CoresDasFaixas(const TMapaFaixas& f) {
    std::map<int, std::set<int>> vizinhos;
    const size_t n = size_t(f.colunas) * size_t(f.linhas);
    if (f.colunas <= 0 || f.linhas <= 0 || f.terraco.size() != n) return {};
    // A whole farm's grid has tens of millions of cells, nearly all beside cells of their own
    // strip: the map is touched only where the strip or the pair of strips changes.
    int32_t anterior = 0;
    std::pair<int32_t, int32_t> par{0, 0};
    const auto liga = [&](int32_t a, int32_t b) {
        if (a <= 0 || b <= 0 || a == b || par == std::pair{a, b}) return;
        par = {a, b};
        vizinhos[a].insert(b);
        vizinhos[b].insert(a);
    };
    for (int r = 0; r < f.linhas; ++r)
        for (int c = 0; c < f.colunas; ++c) {
            const int32_t t = f.Em(c, r);
            if (t > 0 && t != anterior) vizinhos[t];
            anterior = t;
            liga(t, c + 1 < f.colunas ? f.Em(c + 1, r) : 0);
            liga(t, r + 1 < f.linhas ? f.Em(c, r + 1) : 0);
            // Corners touch too: the tint must not run on across a diagonal.
            liga(t, c + 1 < f.colunas && r + 1 < f.linhas ? f.Em(c + 1, r + 1) : 0);
            liga(t, c > 0 && r + 1 < f.linhas ? f.Em(c - 1, r + 1) : 0);
        }
    // Most-connected first (Welsh-Powell), each the lowest colour its coloured neighbours leave.
    std::vector<int> ordem;
    for (const auto& [t, v] : vizinhos) ordem.push_back(t);
    std::stable_sort(ordem.begin(), ordem.end(),
                     [&](int a, int b) { return vizinhos[a].size() > vizinhos[b].size(); });
    std::map<int, int> cor;
    for (const int t : ordem) {
        std::set<int> usadas;
        for (const int v : vizinhos[t])
            if (const auto c = cor.find(v); c != cor.end()) usadas.insert(c->second);
        int c = 0;
        while (usadas.count(c)) ++c;
        cor[t] = c;
    }
    return cor;
}

int TerracoMaisProximo(const std::vector<TLinhaPlano>& linhas, double x, double y, double tolerancia,
                       const std::function<bool(size_t)>& talvez) {
    int melhor = 0;
    double menor = tolerancia;
    for (size_t k = 0; k < linhas.size(); ++k) {
        if (talvez && !talvez(k)) continue;
        const TLinhaPlano& l = linhas[k];
        for (size_t i = 0; i + 1 < l.x.size() && i + 1 < l.y.size(); ++i) {
            const double ax = l.x[i], ay = l.y[i], dx = l.x[i + 1] - ax, dy = l.y[i + 1] - ay;
            const double d2 = dx * dx + dy * dy;
            const double t = d2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / d2, 0.0, 1.0) : 0;
            const double d = std::hypot(x - (ax + t * dx), y - (ay + t * dy));
            if (d < menor || (melhor == 0 && d == menor)) {
                menor = d;
                melhor = l.terraco;
            }
        }
    }
    return melhor;
}

std::vector<size_t> VerticesVisiveis(const std::vector<double>& x, const std::vector<double>& y, double tolerancia) {
    const size_t n = std::min(x.size(), y.size());
    std::vector<size_t> v;
    v.reserve(n);
    const bool reduzir = tolerancia > 0 && std::isfinite(tolerancia);
    for (size_t i = 0; i < n; ++i) {
        if (reduzir && !v.empty() && i + 1 < n && std::hypot(x[i] - x[v.back()], y[i] - y[v.back()]) < tolerancia)
            continue;
        v.push_back(i);
    }
    if (!reduzir || v.size() < 3) return v;
    std::vector<char> manter(v.size(), 0);
    manter.front() = manter.back() = 1;
    std::vector<std::pair<size_t, size_t>> pilha{{0, v.size() - 1}};
    while (!pilha.empty()) {
        const auto [a, b] = pilha.back();
        pilha.pop_back();
        const double ax = x[v[a]], ay = y[v[a]], dx = x[v[b]] - ax, dy = y[v[b]] - ay;
        const double l = std::hypot(dx, dy);
        double maior = -1;
        size_t k = 0;
        for (size_t i = a + 1; i < b; ++i) {
            const double px = x[v[i]] - ax, py = y[v[i]] - ay;
            // To the chord; to its end where the chord is a point (round a closed ring).
            const double d = l > 0 ? std::fabs(dx * py - dy * px) / l : std::hypot(px, py);
            if (d > maior) {
                maior = d;
                k = i;
            }
        }
        if (maior <= tolerancia) continue;
        manter[k] = 1;
        pilha.push_back({a, k});
        pilha.push_back({k, b});
    }
    std::vector<size_t> r;
    for (size_t i = 0; i < v.size(); ++i)
        if (manter[i]) r.push_back(v[i]);
    return r;
}

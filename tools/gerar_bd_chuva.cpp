// Builds the rainfall-equation database from the public sources in data/fontes/chuva:
//   gerar_bd_chuva PASTA_FONTES PASTA_SAIDA
// Stations: every rain gauge of the ANA inventory inside Brazil, with K, a, b, c of the
// GRIDF-BR grids at the gauge. Localities: every municipality seat. Plus the citation table.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/rainfall/BDPrecipitacao.h"
#include "core/rainfall/Estado.h"

namespace fs = std::filesystem;

namespace {

const char* const kCitacao = "GRIDF-BR (2025)";
// Coastal gauges may sit on a cell without value; no gauge is farther than this from one.
constexpr int kRaioBusca = 30;

std::string Ler(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw EVandoro("Não foi possível ler o arquivo " + path + ".");
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

double Numero(const std::string& s, const std::string& onde) {
    const char* p = s.c_str();
    char* fim = nullptr;
    const double v = std::strtod(p, &fim);
    if (fim == p || *fim != '\0' || !std::isfinite(v))
        throw EVandoro("Número inválido '" + s + "' em " + onde + ".");
    return v;
}

struct Grade {
    int ncols = 0, nrows = 0;
    double xll = 0, yll = 0, cell = 0, nodata = 0;
    std::vector<double> v;  // row 0 = north

    bool Valida(int r, int c) const {
        if (r < 0 || c < 0 || r >= nrows || c >= ncols) return false;
        const double x = v[std::size_t(r) * ncols + c];
        return x != nodata && std::isfinite(x);
    }
    double At(int r, int c) const { return v[std::size_t(r) * ncols + c]; }
};

Grade LerGrade(const std::string& path) {
    const std::string txt = Ler(path);
    const char* p = txt.c_str();
    Grade g;
    std::map<std::string, double> cab;
    for (int i = 0; i < 6; ++i) {
        while (*p == ' ' || *p == '\r' || *p == '\n' || *p == '\t') ++p;
        std::string chave;
        while (*p && *p != ' ' && *p != '\t') chave += char(std::tolower(static_cast<unsigned char>(*p++)));
        char* fim = nullptr;
        const double v = std::strtod(p, &fim);
        if (fim == p) throw EVandoro("Cabeçalho inválido em " + path + ".");
        cab[chave] = v;
        p = fim;
    }
    for (const char* k : {"ncols", "nrows", "xllcorner", "yllcorner", "cellsize", "nodata_value"})
        if (!cab.count(k)) throw EVandoro(std::string("Falta ") + k + " em " + path + ".");
    g.ncols = int(cab["ncols"]);
    g.nrows = int(cab["nrows"]);
    g.xll = cab["xllcorner"];
    g.yll = cab["yllcorner"];
    g.cell = cab["cellsize"];
    g.nodata = cab["nodata_value"];
    if (g.ncols <= 0 || g.nrows <= 0 || g.ncols > 10000 || g.nrows > 10000 || !(g.cell > 0))
        throw EVandoro("Dimensões inválidas em " + path + ".");
    const std::size_t n = std::size_t(g.ncols) * g.nrows;
    g.v.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        char* fim = nullptr;
        g.v[i] = std::strtod(p, &fim);
        if (fim == p) throw EVandoro("Faltam valores em " + path + ".");
        p = fim;
    }
    return g;
}

std::vector<std::vector<std::string>> LerCsv(const std::string& path) {
    std::string txt = Ler(path);
    if (txt.compare(0, 3, "\xEF\xBB\xBF") == 0) txt.erase(0, 3);
    std::vector<std::vector<std::string>> linhas;
    std::istringstream in(txt);
    std::string linha;
    while (std::getline(in, linha)) {
        if (!linha.empty() && linha.back() == '\r') linha.pop_back();
        if (linha.empty()) continue;
        std::vector<std::string> campos;
        std::string campo;
        for (char c : linha) {
            if (c == ',') {
                campos.push_back(campo);
                campo.clear();
            } else {
                campo += c;
            }
        }
        campos.push_back(campo);
        linhas.push_back(std::move(campos));
    }
    if (linhas.empty()) throw EVandoro("Arquivo vazio: " + path + ".");
    for (auto& l : linhas)
        if (l.size() != linhas[0].size()) throw EVandoro("Linha com número errado de campos em " + path + ".");
    return linhas;
}

std::size_t Coluna(const std::vector<std::string>& cab, const std::string& nome, const std::string& path) {
    for (std::size_t i = 0; i < cab.size(); ++i)
        if (cab[i] == nome) return i;
    throw EVandoro("Falta a coluna " + nome + " em " + path + ".");
}

std::string Aparar(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return s.substr(i);
}

// One inventory name carries a stray U+0081 (a broken accent); control characters are dropped.
std::string SemControles(const std::string& s) {
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F) continue;
        if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(s[i + 1]) < 0xA0) {
            ++i;
            continue;
        }
        r += char(c);
    }
    return r;
}

struct Parametros {
    double k, a, b, c;
    bool vizinha;
};

// Cell of the gauge, or the nearest cell (by distance to its centre) where all four grids
// have a value.
Parametros Amostrar(const Grade* g[4], double lat, double lon, const std::string& nome) {
    const Grade& r = *g[0];
    const int col = int(std::floor((lon - r.xll) / r.cell));
    const int row = r.nrows - 1 - int(std::floor((lat - r.yll) / r.cell));
    auto valida = [&](int rr, int cc) {
        for (int i = 0; i < 4; ++i)
            if (!g[i]->Valida(rr, cc)) return false;
        return true;
    };
    int br = row, bc = col;
    bool vizinha = false;
    if (!valida(row, col)) {
        double melhor = 1e300;
        br = -1;
        for (int rr = row - kRaioBusca; rr <= row + kRaioBusca; ++rr)
            for (int cc = col - kRaioBusca; cc <= col + kRaioBusca; ++cc) {
                if (!valida(rr, cc)) continue;
                const double clon = r.xll + (cc + 0.5) * r.cell;
                const double clat = r.yll + (r.nrows - 1 - rr + 0.5) * r.cell;
                const double d = (clon - lon) * (clon - lon) + (clat - lat) * (clat - lat);
                if (d < melhor) {
                    melhor = d;
                    br = rr;
                    bc = cc;
                }
            }
        if (br < 0) throw EVandoro("Nenhuma célula com valor perto do pluviômetro " + nome + ".");
        vizinha = true;
    }
    return {g[0]->At(br, bc), g[1]->At(br, bc), g[2]->At(br, bc), g[3]->At(br, bc), vizinha};
}

int Executar(const std::string& fontes, const std::string& saida) {
    Grade gk = LerGrade(fontes + "/IDF_k.asc");
    Grade ga = LerGrade(fontes + "/IDF_a.asc");
    Grade gb = LerGrade(fontes + "/IDF_b.asc");
    Grade gc = LerGrade(fontes + "/IDF_c.asc");
    const Grade* g[4] = {&gk, &ga, &gb, &gc};
    for (const Grade* x : g)
        if (x->ncols != gk.ncols || x->nrows != gk.nrows || x->xll != gk.xll || x->yll != gk.yll ||
            x->cell != gk.cell)
            throw EVandoro("As grades de K, a, b e c não coincidem.");

    // Stations.
    const std::string inv = fontes + "/estacoes_ANA_inventario.csv";
    auto linhas = LerCsv(inv);
    const auto& cab = linhas[0];
    const std::size_t cCod = Coluna(cab, "Code", inv), cNome = Coluna(cab, "Name", inv),
                      cUf = Coluna(cab, "State", inv), cLat = Coluna(cab, "Latitude", inv),
                      cLon = Coluna(cab, "Longitude", inv);
    struct Gauge {
        int estado;
        std::string codigo, nome;
        double lat, lon;
    };
    std::vector<Gauge> gauges;
    int fora = 0;
    for (std::size_t i = 1; i < linhas.size(); ++i) {
        const auto& l = linhas[i];
        const int e = TEstado::IndiceDoNome(Aparar(l[cUf]));
        if (e < 0) {
            if (ChaveDeBusca(l[cUf]) == "BOLIVIA") {
                ++fora;
                continue;
            }
            throw EVandoro("Estado desconhecido '" + l[cUf] + "' no inventário.");
        }
        const std::string onde = inv + ", linha " + std::to_string(i + 1);
        gauges.push_back({e, Aparar(l[cCod]), SemControles(Aparar(l[cNome])), Numero(l[cLat], onde), Numero(l[cLon], onde)});
    }
    std::map<std::pair<int, std::string>, int> repeticoes;
    for (const Gauge& x : gauges) ++repeticoes[{x.estado, x.nome}];

    TEstacoesPorEstado estacoes;
    int vizinhas = 0;
    for (const Gauge& x : gauges) {
        StationRecord r;
        std::string sufixo;
        if (repeticoes[{x.estado, x.nome}] > 1) sufixo = " (" + x.codigo + ")";
        r.Name = CortarTexto(x.nome, kCapNome - sufixo.size()) + sufixo;
        const Parametros p = Amostrar(g, x.lat, x.lon, x.nome);
        vizinhas += p.vizinha;
        r.K = p.k;
        r.A = p.a;
        r.B = p.b;
        r.C = p.c;
        r.Source = kCitacao;
        r.Latitude = GrausParaCoordenada(-x.lat);
        r.Longitude = GrausParaCoordenada(-x.lon);
        estacoes[x.estado].push_back(r);
    }

    // Localities.
    const std::string est = fontes + "/estados.csv", mun = fontes + "/municipios.csv";
    auto le = LerCsv(est);
    std::map<std::string, int> porCodigo;
    {
        const std::size_t cc = Coluna(le[0], "codigo_uf", est), cs = Coluna(le[0], "uf", est);
        for (std::size_t i = 1; i < le.size(); ++i) {
            const int e = TEstado::IndiceDaSigla(le[i][cs]);
            if (e < 0) throw EVandoro("Sigla desconhecida '" + le[i][cs] + "' em " + est + ".");
            porCodigo[Aparar(le[i][cc])] = e;
        }
    }
    auto lm = LerCsv(mun);
    const std::size_t mNome = Coluna(lm[0], "nome", mun), mLat = Coluna(lm[0], "latitude", mun),
                      mLon = Coluna(lm[0], "longitude", mun), mUf = Coluna(lm[0], "codigo_uf", mun);
    TLocalidadesPorEstado localidades;
    std::array<std::vector<std::string>, kNumEstados> chaves;
    std::size_t nLoc = 0;
    for (std::size_t i = 1; i < lm.size(); ++i) {
        const auto& l = lm[i];
        auto it = porCodigo.find(Aparar(l[mUf]));
        if (it == porCodigo.end()) throw EVandoro("Estado desconhecido '" + l[mUf] + "' em " + mun + ".");
        const std::string onde = mun + ", linha " + std::to_string(i + 1);
        LocalityRecord r;
        r.Name = CortarTexto(SemControles(Aparar(l[mNome])), kCapNome);
        r.Latitude = GrausParaCoordenada(-Numero(l[mLat], onde));
        r.Longitude = GrausParaCoordenada(-Numero(l[mLon], onde));
        localidades[it->second].push_back(r);
        ++nLoc;
    }
    for (auto& v : localidades)
        std::stable_sort(v.begin(), v.end(), [](const LocalityRecord& a, const LocalityRecord& b) {
            const std::string ka = ChaveDeBusca(a.Name), kb = ChaveDeBusca(b.Name);
            return ka != kb ? ka < kb : a.Name < b.Name;
        });

    fs::create_directories(saida);
    GravarEstacoes(saida + "/" + kArquivoEstacoes, estacoes);
    GravarLocalidades(saida + "/" + kArquivoLocalidades, localidades);

    const std::string ref = saida + "/" + kArquivoReferencias;
    std::error_code ec;
    fs::remove(ref, ec);
    {
        IniFile ini(ref);
        ini.WriteString(kCitacao, "Autores", "Marcus N. Gomes Jr.");
        ini.WriteString(kCitacao, "Titulo",
                        "Gridded Bias-Corrected Intensity–Duration–Frequency Curves for Brazil using "
                        "BR-DWGD, IMERG, CHIRPS, and PERSIANN datasets with Locally-Derived "
                        "Disaggregation Coefficients");
        ini.WriteString(kCitacao, "Publicacao",
                        "GRIDF-BR: Gridded Intensity–Duration–Frequency Curves for Brazil. Repositório "
                        "público marcusnobrega-eng/GRIDF (GitHub), licença MIT, 2025. Produto BR-DWGD "
                        "com correção de viés e desagregação por estação.");
        ini.UpdateFile();
    }

    std::cout << "gerar_bd_chuva: " << gauges.size() << " estações (" << vizinhas
              << " com a célula vizinha, " << fora << " fora do Brasil), " << nLoc << " localidades em "
              << saida << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Uso: gerar_bd_chuva PASTA_FONTES PASTA_SAIDA\n";
        return 2;
    }
    try {
        return Executar(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "gerar_bd_chuva: " << e.what() << "\n";
        return 1;
    }
}

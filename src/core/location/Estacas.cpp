#include "core/location/Estacas.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Texto.h"
#include "core/common/Win1252.h"
#include "core/gdal/Gdal.h"
#include "core/location/BDT.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/ImgElev.h"
#include "core/location/Locacao.h"
#include "core/location/Suavizacao.h"
#include "core/raster/FormatoImagem.h"
#include "core/raster/GradeMapa.h"
#include "core/raster/Vetor.h"

namespace {

// A last gap shorter than this is no stake of its own: the end stake stands there.
constexpr double kFolga = 1e-3;  // m
// A bogus coordinate must not turn into billions of stakes.
constexpr double kMaximoEstacasLinha = 1e7;

const char* const kFormatoDesconhecido = "Formato de estacas desconhecido: use .csv, .gpx ou .kml.";
const char* const kSemCrs =
    "O modelo de elevação não tem sistema de coordenadas: as estacas só podem ser gravadas em CSV.";

struct LinhaPlano {
    TLinhaMapa linha;  // level = the design elevation at its first vertex
    double declividade = 0;
};

// The ground as the location engine reads it: bilinear between cell centres.
struct Terreno {
    TImgElevacao elev;
    TGradeMapa grade;
    double metros = 1;

    explicit Terreno(const std::string& arquivo) {
        elev.Load(arquivo);
        grade = TGradeMapa{elev.MinX(), elev.MinY() + elev.Rows() * elev.CellHeight(), elev.CellWidth(),
                           elev.CellHeight(), elev.Columns(), elev.Rows()};
        metros = Maiusculas(elev.UnitDist()) == "KM" ? 1000 : 1;
    }
    Terreno(const Terreno&) = delete;
    Terreno& operator=(const Terreno&) = delete;

    TTerrenoEstacas Funcao() const {
        return [this, cota = CotaNaGrade(elev, grade, metros)](double e, double n) -> std::optional<double> {
            const double z = cota(e * metros, n * metros);
            if (!std::isnan(z)) return z;
            // Lines run to the field's edge: a stake on a cell with data takes the corners
            // that have data, weighted as the bilinear would.
            int c = 0, r = 0;
            if (!grade.CelulaDe(e, n, c, r) || elev.ElevationAt(c + 1, r + 1) == 0) return std::nullopt;
            const double cf = grade.ColunaDe(e), rf = grade.LinhaDe(n);
            const int c0 = int(std::floor(cf)), r0 = int(std::floor(rf));
            double soma = 0, pesos = 0;
            for (int dc = 0; dc < 2; ++dc)
                for (int dr = 0; dr < 2; ++dr) {
                    const float v = elev.ElevationAt(c0 + dc + 1, r0 + dr + 1);
                    const double w = (dc ? cf - c0 : 1 - (cf - c0)) * (dr ? rf - r0 : 1 - (rf - r0));
                    if (v != 0 && w > 0) {
                        soma += w * v;
                        pesos += w;
                    }
                }
            if (!(pesos > 0)) return std::nullopt;
            return soma / pesos;
        };
    }
};

// The lines in the table's order (several pieces of one terrace one after the other, as they
// come); lines the table lacks go last. A terrace's stakes are numbered on across its pieces so
// every name is one stake.
std::vector<TEstaca> EstacasEmOrdem(const std::vector<int>& ordem, std::vector<LinhaPlano> linhas,
                                    double espacamento, const TTerrenoEstacas& terreno, double metros) {
    const auto posicao = [&](int id) {
        return size_t(std::find(ordem.begin(), ordem.end(), id) - ordem.begin());
    };
    std::stable_sort(linhas.begin(), linhas.end(),
                     [&](const LinhaPlano& a, const LinhaPlano& b) { return posicao(a.linha.id) < posicao(b.linha.id); });
    std::vector<TEstaca> todas;
    for (const LinhaPlano& l : linhas) {
        const std::vector<TEstaca> e = EstacasDaLinha(l.linha, espacamento, l.declividade, terreno, metros);
        const int antes = !todas.empty() && todas.back().terraco == l.linha.id ? todas.back().numero : 0;
        for (TEstaca t : e) {
            t.numero += antes;
            todas.push_back(t);
        }
    }
    return todas;
}

// Points as the XML formats write them: '.' whatever the region.
std::string Xml(double v, int casas) { return FloatToStrFixed(v, casas, Regional::EnUS()); }

// Longitudes and latitudes of the stakes, in order.
void ParaWgs84(const std::vector<TEstaca>& estacas, const std::string& crs, std::vector<double>& lon,
               std::vector<double>& lat) {
    if (crs.empty()) throw EVandoro(kSemCrs);
    lon.clear();
    lat.clear();
    for (const TEstaca& t : estacas) {
        lon.push_back(t.e);
        lat.push_back(t.n);
    }
    TransformaPontos(crs, "EPSG:4326", lon, lat);
    for (size_t i = 0; i < lon.size(); ++i)
        if (!std::isfinite(lon[i]) || !std::isfinite(lat[i]))
            throw EVandoro("Não foi possível converter a estaca T" + IntToStr(estacas[i].terraco) + "-" +
                           IntToStr(estacas[i].numero) + " para latitude e longitude.");
}

std::string NomeEstaca(const TEstaca& t) { return "T" + IntToStr(t.terraco) + "-" + IntToStr(t.numero); }
std::string NomeTerraco(int terraco) { return "Terraço " + IntToStr(terraco); }

std::string Csv(const std::vector<TEstaca>& estacas, const Regional& r) {
    const std::string sep(1, r.DecimalSeparator == ',' ? ';' : ',');
    std::string o = "Terraço" + sep + "Estaca" + sep + "Distância (m)" + sep + "E" + sep + "N" + sep +
                    "Cota de projeto (m)" + sep + "Cota do terreno (m)\r\n";
    for (const TEstaca& t : estacas) {
        o += IntToStr(t.terraco) + sep + IntToStr(t.numero) + sep + FloatToStrFixed(t.estaca, 2, r) + sep +
             FloatToStrFixed(t.e, 3, r) + sep + FloatToStrFixed(t.n, 3, r) + sep +
             FloatToStrFixed(t.cotaProjeto, 3, r) + sep +
             (t.semTerreno ? std::string() : FloatToStrFixed(t.cotaTerreno, 3, r)) + "\r\n";
    }
    return Utf8ToWin1252(o);
}

std::string Gpx(const std::vector<TEstaca>& estacas, const std::string& crs) {
    std::vector<double> lon, lat;
    ParaWgs84(estacas, crs, lon, lat);
    std::string o = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<gpx version=\"1.1\" creator=\"Vandoro\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (size_t i = 0; i < estacas.size(); ++i) {
        const TEstaca& t = estacas[i];
        if (i == 0 || estacas[i - 1].terraco != t.terraco) {
            if (i) o += "  </rte>\n";
            o += "  <rte>\n    <name>" + NomeTerraco(t.terraco) + "</name>\n";
        }
        o += "    <rtept lat=\"" + Xml(lat[i], 9) + "\" lon=\"" + Xml(lon[i], 9) + "\"><ele>" + Xml(t.cotaProjeto, 3) +
             "</ele><name>" + NomeEstaca(t) + "</name></rtept>\n";
    }
    if (!estacas.empty()) o += "  </rte>\n";
    return o + "</gpx>\n";
}

std::string Kml(const std::vector<TEstaca>& estacas, const std::string& crs) {
    std::vector<double> lon, lat;
    ParaWgs84(estacas, crs, lon, lat);
    std::string o = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>Estacas dos terraços</name>\n";
    for (size_t i = 0; i < estacas.size(); ++i) {
        const TEstaca& t = estacas[i];
        if (i == 0 || estacas[i - 1].terraco != t.terraco) {
            if (i) o += "</Folder>\n";
            o += "<Folder>\n  <name>" + NomeTerraco(t.terraco) + "</name>\n";
        }
        o += "  <Placemark><name>" + NomeEstaca(t) + "</name><Point><coordinates>" + Xml(lon[i], 9) + "," +
             Xml(lat[i], 9) + "," + Xml(t.cotaProjeto, 3) + "</coordinates></Point></Placemark>\n";
    }
    if (!estacas.empty()) o += "</Folder>\n";
    return o + "</Document>\n</kml>\n";
}

}  // namespace

void ChecaEspacamentoEstacas(double espacamento) {
    if (!(espacamento >= 1)) throw EVandoro("O espaçamento das estacas deve ser um número maior ou igual a 1 m.");
    if (espacamento > 1000) throw EVandoro("O espaçamento das estacas deve ser no máximo 1000 m.");
}

std::vector<TEstaca> EstacasDaLinha(const TLinhaMapa& linha, double espacamento, double declividade,
                                    const TTerrenoEstacas& terreno, double metrosPorUnidade) {
    ChecaEspacamentoEstacas(espacamento);
    const size_t nv = std::min(linha.x.size(), linha.y.size());
    std::vector<TEstaca> r;
    if (nv == 0) return r;
    const auto adiciona = [&](double s, double e, double n) {
        TEstaca t;
        t.terraco = linha.id;
        t.numero = int(r.size()) + 1;
        t.estaca = s;
        t.e = e;
        t.n = n;
        t.cotaProjeto = linha.level + declividade * s;
        const std::optional<double> z = terreno ? terreno(e, n) : std::nullopt;
        t.semTerreno = !z || !std::isfinite(*z);
        t.cotaTerreno = t.semTerreno ? std::numeric_limits<double>::quiet_NaN() : *z;
        r.push_back(t);
    };
    // Station of each vertex, m.
    std::vector<double> s(nv, 0);
    for (size_t i = 1; i < nv; ++i)
        s[i] = s[i - 1] + std::hypot(linha.x[i] - linha.x[i - 1], linha.y[i] - linha.y[i - 1]) * metrosPorUnidade;
    const double comprimento = s.back();
    if (!std::isfinite(comprimento) || comprimento / espacamento > kMaximoEstacasLinha)
        throw EVandoro("A linha do terraço " + IntToStr(linha.id) + " é longa demais para ser estaqueada.");
    adiciona(0, linha.x[0], linha.y[0]);
    // Each station from k·N itself, so that no error builds up along a long line.
    size_t i = 1;
    for (long long k = 1; double(k) * espacamento < comprimento - kFolga; ++k) {
        const double alvo = double(k) * espacamento;
        while (s[i] < alvo) ++i;  // s[i-1] < alvo <= s[i]: the segment has a length
        const double f = (alvo - s[i - 1]) / (s[i] - s[i - 1]);
        adiciona(alvo, linha.x[i - 1] + f * (linha.x[i] - linha.x[i - 1]),
                 linha.y[i - 1] + f * (linha.y[i] - linha.y[i - 1]));
    }
    if (comprimento > kFolga) adiciona(comprimento, linha.x[nv - 1], linha.y[nv - 1]);
    return r;
}

TEstacasLocacao EstacasDaLocacao(const TLocacaoNivel& loc, double espacamento) {
    ChecaEspacamentoEstacas(espacamento);
    const TBDT& tabela = loc.Registros();
    if (tabela.Count() == 0 || loc.LinhasMapa().empty())
        throw EVandoro("Nenhuma locação com terraços para estaquear: loque os terraços primeiro.");
    std::vector<int> ordem;
    std::vector<LinhaPlano> linhas;
    for (int i = 1; i <= tabela.Count(); ++i) {
        const TRegTerr& reg = *tabela.Item(i);
        ordem.push_back(reg.id);
        // A graded channel's record holds its outlet's elevation, where its line begins.
        const double grade = size_t(i) <= loc.Canais().size() ? loc.Canais()[size_t(i - 1)].declividade : 0;
        for (const TLinhaMapa& l : loc.LinhasMapa())
            if (l.id == reg.id) {
                linhas.push_back({l, grade});
                linhas.back().linha.level = reg.level;
            }
    }
    for (const TLinhaMapa& l : loc.LinhasMapa())
        if (std::find(ordem.begin(), ordem.end(), l.id) == ordem.end()) linhas.push_back({l, 0});
    const Terreno chao(loc.RunElevPath());
    TEstacasLocacao r;
    r.crs = chao.elev.Crs();
    r.estacas = EstacasEmOrdem(ordem, std::move(linhas), espacamento, chao.Funcao(),
                               loc.MetresPerUnit() > 0 ? loc.MetresPerUnit() : chao.metros);
    return r;
}

TEstacasLocacao EstacasDoPlano(const std::string& vet, const std::string& elevacao, double espacamento) {
    ChecaEspacamentoEstacas(espacamento);
    TVET v;
    v.Load(vet);
    TBDT tabela;
    tabela.Load(TabelaDaSaida(vet));
    // An older table has no companion, and a level plan's has no channels.
    const std::string bdc = ComplementoDaTabela(TabelaDaSaida(vet));
    TComplementoBDT complemento;
    try {
        if (ArquivoExiste(bdc)) complemento.Ler(bdc);
    } catch (const EVandoro&) {
        complemento = TComplementoBDT{};
    }
    const Terreno chao(elevacao);
    std::vector<int> ordem;
    for (int i = 1; i <= tabela.Count(); ++i) ordem.push_back(tabela.Item(i)->id);
    std::vector<LinhaPlano> linhas;
    const std::vector<TLinhaMapa> doVet = LinhasDoVet(v, complemento);
    const std::vector<TVetorRecPonto> pontos = v.Lines();
    for (size_t k = 0; k < doVet.size(); ++k) {
        const TVetorRecPonto& p = pontos[k];
        if (p.Count() == 0) continue;
        LinhaPlano l{doVet[k], 0};
        double s = 0;
        for (size_t i = 1; i < l.linha.x.size(); ++i)
            s += std::hypot(l.linha.x[i] - l.linha.x[i - 1], l.linha.y[i] - l.linha.y[i - 1]) * chao.metros;
        // Each vertex was written at its design elevation: a graded line rises from its outlet.
        const double z0 = p.Ponto(0).Z, z1 = p.Ponto(p.Count() - 1).Z;
        l.declividade = s > 0 ? (z1 - z0) / s : 0;
        const auto it = std::find(ordem.begin(), ordem.end(), l.linha.id);
        if (it != ordem.end()) {
            l.linha.level = tabela.Item(int(it - ordem.begin()) + 1)->level;
            if (const TCanalLocado* c = complemento.CanalDe(l.linha.id)) l.declividade = c->declividade;
        }
        linhas.push_back(std::move(l));
    }
    TEstacasLocacao r;
    r.crs = chao.elev.Crs();
    r.estacas = EstacasEmOrdem(ordem, std::move(linhas), espacamento, chao.Funcao(), chao.metros);
    return r;
}

void GravarEstacas(const std::string& arquivo, const std::vector<TEstaca>& estacas, const std::string& crs,
                   const Regional& r) {
    const std::string ext = ExtensaoDe(arquivo);
    std::string conteudo;
    if (ext == ".csv") conteudo = Csv(estacas, r);
    else if (ext == ".gpx") conteudo = Gpx(estacas, crs);
    else if (ext == ".kml") conteudo = Kml(estacas, crs);
    else throw EVandoro(kFormatoDesconhecido);
    GravarArquivoInteiro(arquivo, conteudo);
}

void ChecaSaidaEstacas(const std::string& saida, const std::string& elevacao, const std::vector<std::string>& outros) {
    const std::string ext = ExtensaoDe(saida);
    if (ext != ".csv" && ext != ".gpx" && ext != ".kml") throw EVandoro(kFormatoDesconhecido);
    if (ext != ".csv" && CrsDoArquivoImagem(elevacao).empty()) throw EVandoro(kSemCrs);
    std::vector<std::string> entradas = outros;
    entradas.push_back(elevacao);
    for (const std::string& e : entradas) {
        if (e.empty()) continue;
        for (const std::string& parte : ArquivosDaImagem(e))
            if (MesmoArquivo(saida, parte))
                throw EVandoro("O arquivo de estacas " + saida + " substituiria " + e +
                               ": escolha outro nome. Nada foi gravado.");
    }
}

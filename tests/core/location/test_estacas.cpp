// Stake-out points of a located plan: worked lines, the ground under a stake read by hand from
// a tiny model, the files read back (the XML ones through OGR), and the shipped field's runs;
// the report's profiles, drawn from the same stakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "GeoTeste.h"
#include "TestSupport.h"
#include "core/common/Win1252.h"
#include "core/gdal/Gdal.h"
#include "core/location/BDT.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/Estacas.h"
#include "core/location/Locacao.h"
#include "core/location/PerfisTerracos.h"
#include "core/location/RelatorioLocacao.h"
#include "core/project/ModeloProjeto.h"
#include "core/raster/Vetor.h"

namespace {

TLinhaMapa Linha(int id, double level, std::vector<double> x, std::vector<double> y) {
    return TLinhaMapa{id, level, std::move(x), std::move(y)};
}

std::vector<double> Estacoes(const std::vector<TEstaca>& v) {
    std::vector<double> s;
    for (const TEstaca& t : v) s.push_back(t.estaca);
    return s;
}

double DistanciaALinha(const TLinhaMapa& l, double x, double y) {
    double menor = INFINITY;
    for (size_t i = 1; i < l.x.size(); ++i) {
        const double ux = l.x[i] - l.x[i - 1], uy = l.y[i] - l.y[i - 1], uu = ux * ux + uy * uy;
        const double t = uu > 0 ? std::clamp(((x - l.x[i - 1]) * ux + (y - l.y[i - 1]) * uy) / uu, 0.0, 1.0) : 0;
        menor = std::min(menor, std::hypot(x - l.x[i - 1] - t * ux, y - l.y[i - 1] - t * uy));
    }
    return menor;
}

// A saved plan made by hand beside a 3 x 3 model of 10 m cells whose corner is (1000, 2000):
//        E 1005  1015  1025   (cell centres)
// N 2025   110   112    --
// N 2015   104   106   108
// N 2005   100   101   102
// Terrace 1 is level at 105 m along N 2009 from E 1002 to 1032; terrace 2 is a graded channel
// of 0.5 % from its outlet at (1022, 2022), 109 m, to (1012, 2022). The table lists 2 first.
struct PlanoPequeno {
    PastaTemporaria p;
    std::string elev = p.Arquivo("m.asc"), vet = p.Arquivo("plano.vet");
    PlanoPequeno() {
        GravarArquivo(elev, "ncols 3\nnrows 3\nxllcorner 1000\nyllcorner 2000\ncellsize 10\nNODATA_value -9999\n"
                            "110 112 -9999\n104 106 108\n100 101 102\n");
        TVET v("m");
        TVetorRecPonto l1, l2;
        l1.SetLineId(1);
        l1.Add(1002, 2009, 105);
        l1.Add(1032, 2009, 105);
        l2.SetLineId(2);
        l2.Add(1022, 2022, 109);
        l2.Add(1012, 2022, 109.05f);
        v.AppendLine(l1);
        v.AppendLine(l2);
        v.Save(vet);
        TBDT t;
        t.Add(std::make_unique<TRegTerr>(TRegTerr{2, 109, 8, 10, 100, 1, 0.4}));
        t.Add(std::make_unique<TRegTerr>(TRegTerr{1, 105, 8, 30, 300, 1, 0.4}));
        t.SaveToFile(TabelaDaSaida(vet));
        TComplementoBDT c;
        c.terracos[1] = TInfoTerraco{};
        c.terracos[2] = TInfoTerraco{};
        c.canais[2] = TCanalLocado{1, 109.05, 0.005, 12, ""};
        c.Gravar(ComplementoDaTabela(TabelaDaSaida(vet)));
    }
};

}  // namespace

TEST(Estacas, AnLShapedLineIsStakedEveryTwentyMetresAndAtItsEnd) {
    // (0,0) -> (30,0) -> (30,25): 55 m; the stake at 40 m is 10 m up the second leg.
    const auto terreno = [](double e, double n) -> std::optional<double> {
        if (n > 20) return std::nullopt;
        return 200 + e / 10;
    };
    const std::vector<TEstaca> v = EstacasDaLinha(Linha(7, 100, {0, 30, 30}, {0, 0, 25}), 20, 0, terreno);
    ASSERT_EQ(v.size(), 4u);
    const double e[] = {0, 20, 30, 30}, n[] = {0, 0, 10, 25}, s[] = {0, 20, 40, 55};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(v[i].terraco, 7);
        EXPECT_EQ(v[i].numero, int(i) + 1);
        EXPECT_DOUBLE_EQ(v[i].estaca, s[i]);
        EXPECT_DOUBLE_EQ(v[i].e, e[i]);
        EXPECT_DOUBLE_EQ(v[i].n, n[i]);
        EXPECT_EQ(v[i].cotaProjeto, 100);
    }
    EXPECT_DOUBLE_EQ(v[2].cotaTerreno, 203);
    EXPECT_FALSE(v[2].semTerreno);
    EXPECT_TRUE(v[3].semTerreno);
    EXPECT_TRUE(std::isnan(v[3].cotaTerreno));

    // The same line on a model in kilometres: stations in metres, points in the map's units.
    const std::vector<TEstaca> km = EstacasDaLinha(Linha(7, 100, {0, 0.03, 0.03}, {0, 0, 0.025}), 20, 0, {}, 1000);
    EXPECT_EQ(Estacoes(km), Estacoes(v));
    EXPECT_NEAR(km[2].e, 0.03, 1e-15);
    EXPECT_NEAR(km[2].n, 0.01, 1e-15);
}

TEST(Estacas, TheEndOfALineIsStakedOnceWhateverItsLength) {
    // An exact multiple: no second stake at the end.
    EXPECT_EQ(Estacoes(EstacasDaLinha(Linha(1, 0, {0, 40}, {0, 0}), 20, 0, {})), (std::vector<double>{0, 20, 40}));
    // Under a millimetre past it: the end stake stands there; a centimetre is a gap of its own.
    EXPECT_EQ(Estacoes(EstacasDaLinha(Linha(1, 0, {0, 40.0005}, {0, 0}), 20, 0, {})),
              (std::vector<double>{0, 20, 40.0005}));
    EXPECT_EQ(Estacoes(EstacasDaLinha(Linha(1, 0, {0, 40.01}, {0, 0}), 20, 0, {})),
              (std::vector<double>{0, 20, 40, 40.01}));
    // Shorter than the spacing: start and end.
    EXPECT_EQ(Estacoes(EstacasDaLinha(Linha(1, 0, {0, 0}, {0, 7}), 20, 0, {})), (std::vector<double>{0, 7}));
    // A repeated vertex changes nothing.
    const std::vector<TEstaca> r = EstacasDaLinha(Linha(1, 0, {0, 10, 10, 30}, {0, 0, 0, 0}), 20, 0, {});
    ASSERT_EQ(Estacoes(r), (std::vector<double>{0, 20, 30}));
    EXPECT_DOUBLE_EQ(r[1].e, 20);
    // One vertex: one stake; none: none.
    EXPECT_EQ(Estacoes(EstacasDaLinha(Linha(1, 0, {5}, {5}), 20, 0, {})), (std::vector<double>{0}));
    EXPECT_TRUE(EstacasDaLinha(Linha(1, 0, {}, {}), 20, 0, {}).empty());
}

TEST(Estacas, AGradedChannelRisesFromItsOutletAndALevelLineDoesNot) {
    const TLinhaMapa l = Linha(3, 500, {0, 100}, {0, 0});
    const std::vector<TEstaca> g = EstacasDaLinha(Linha(3, 500, {0, 50}, {0, 0}), 20, 0.005, {});
    ASSERT_EQ(g.size(), 4u);
    const double esperada[] = {500, 500.1, 500.2, 500.25};
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(g[i].cotaProjeto, esperada[i], 1e-12) << i;
    for (const TEstaca& t : EstacasDaLinha(l, 20, 0, {})) EXPECT_EQ(t.cotaProjeto, 500);
}

TEST(Estacas, ASpacingOutOfRangeIsRefused) {
    const char* const menor = "O espaçamento das estacas deve ser um número maior ou igual a 1 m.";
    const TLinhaMapa l = Linha(1, 0, {0, 10}, {0, 0});
    for (double e : {0.0, 0.999, -20.0, std::nan("")}) EXPECT_ERRO(EVandoro, menor, EstacasDaLinha(l, e, 0, {})) << e;
    EXPECT_ERRO(EVandoro, "O espaçamento das estacas deve ser no máximo 1000 m.", EstacasDaLinha(l, 1000.5, 0, {}));
    EXPECT_ERRO(EVandoro, "O espaçamento das estacas deve ser no máximo 1000 m.", EstacasDaLinha(l, INFINITY, 0, {}));
    EXPECT_EQ(EstacasDaLinha(l, 1, 0, {}).size(), 11u);
    EXPECT_EQ(EstacasDaLinha(l, 1000, 0, {}).size(), 2u);
    // Before any file is read, and before a run is asked for.
    EXPECT_ERRO(EVandoro, menor, EstacasDoPlano("nao-existe.vet", "nao-existe.asc", 0.5));
    TLocacaoNivel loc;
    EXPECT_ERRO(EVandoro, menor, EstacasDaLocacao(loc, 0));
    EXPECT_ERRO(EVandoro, "Nenhuma locação com terraços para estaquear: loque os terraços primeiro.",
                EstacasDaLocacao(loc, 20));
}

TEST(Estacas, ASavedPlanIsStakedInTableOrderOnTheModelsGround) {
    PlanoPequeno p;
    const TEstacasLocacao r = EstacasDoPlano(p.vet, p.elev, 10);
    EXPECT_EQ(r.crs, "");
    ASSERT_EQ(r.estacas.size(), 6u);
    // Terrace 2 first, as the table lists it, from its outlet: 109 m there, 109.05 m 10 m on.
    EXPECT_EQ(r.estacas[0].terraco, 2);
    EXPECT_NEAR(r.estacas[1].cotaProjeto, 109.05, 1e-9);
    // (1012, 2009): column 0.7 and row 1.6 between centres;
    // (104·0.3 + 106·0.7)·0.4 + (100·0.3 + 101·0.7)·0.6 = 102.58.
    EXPECT_NEAR(r.estacas[3].cotaTerreno, 102.58, 1e-5);
    // (1002, 2009) lies within half a cell of the model's west edge: the corners off it are left
    // out, 104·0.4 + 100·0.6 = 101.6. (1032, 2009) is off the model and (1022, 2022) on the cell
    // without data: the ground is not known there.
    EXPECT_NEAR(r.estacas[2].cotaTerreno, 101.6, 1e-5);
    EXPECT_TRUE(r.estacas[5].semTerreno);
    EXPECT_TRUE(r.estacas[0].semTerreno);
    EXPECT_EQ(std::count_if(r.estacas.begin(), r.estacas.end(), [](const TEstaca& t) { return t.semTerreno; }), 2);

    // The whole table as a spreadsheet in Brazil takes it, and in the point convention.
    const std::string csv = p.p.Arquivo("estacas.csv");
    GravarEstacas(csv, r.estacas, r.crs, Regional::PtBR());
    EXPECT_EQ(LerArquivo(csv), Utf8ToWin1252("Terraço;Estaca;Distância (m);E;N;Cota de projeto (m);Cota do terreno (m)\r\n"
                                             "2;1;0,00;1022,000;2022,000;109,000;\r\n"
                                             "2;2;10,00;1012,000;2022,000;109,050;109,600\r\n"
                                             "1;1;0,00;1002,000;2009,000;105,000;101,600\r\n"
                                             "1;2;10,00;1012,000;2009,000;105,000;102,580\r\n"
                                             "1;3;20,00;1022,000;2009,000;105,000;103,980\r\n"
                                             "1;4;30,00;1032,000;2009,000;105,000;\r\n"));
    GravarEstacas(csv, {r.estacas[1]}, r.crs, Regional::EnUS());
    EXPECT_EQ(LerArquivo(csv), Utf8ToWin1252("Terraço,Estaca,Distância (m),E,N,Cota de projeto (m),Cota do terreno (m)\r\n"
                                             "2,2,10.00,1012.000,2022.000,109.050,109.600\r\n"));

    // Without the companion the channel's grade is the one its vertices were written at.
    std::filesystem::remove(ComplementoDaTabela(TabelaDaSaida(p.vet)));
    const TEstacasLocacao sem = EstacasDoPlano(p.vet, p.elev, 10);
    ASSERT_EQ(sem.estacas.size(), 6u);
    EXPECT_NEAR(sem.estacas[1].cotaProjeto, 109.05, 1e-5);
    EXPECT_EQ(sem.estacas[3].cotaProjeto, 105);
    // A plan without its table is refused by the table's reader.
    std::filesystem::remove(TabelaDaSaida(p.vet));
    EXPECT_NE(MensagemDe([&] { EstacasDoPlano(p.vet, p.elev, 10); }), "(sem erro)");
}

TEST(Estacas, GpxAndKmlHoldTheStakesInDegreesAndNeedTheModelsSystem) {
    // Two terraces in SIRGAS 2000 / UTM 23S. cs2cs -f %.9f EPSG:31983 EPSG:4326 gives
    // 523456.789 7412345.678 -> -23.398508558 -44.770433003 and 500000 7400000 -> -23.510194716 -45.
    std::vector<TEstaca> v;
    const auto estaca = [&](int terraco, int numero, double s, double e, double n) {
        v.push_back(TEstaca{terraco, numero, s, e, n, 600 + s / 100, 601, false});
    };
    estaca(1, 1, 0, 523456.789, 7412345.678);
    estaca(1, 2, 20, 523476.789, 7412345.678);
    estaca(1, 3, 30, 523486.789, 7412345.678);
    estaca(2, 1, 0, 500000, 7400000);
    estaca(2, 2, 20, 500000, 7400020);
    const std::string crs = CrsDeEpsg(31983);
    PastaTemporaria p;
    const std::string gpx = p.Arquivo("e.gpx"), kml = p.Arquivo("e.KML");
    GravarEstacas(gpx, v, crs);
    GravarEstacas(kml, v, crs);

    auto ds = geoteste::AbreVetor(gpx);
    ASSERT_TRUE(ds) << LerArquivo(gpx);
    OGRLayer* rotas = ds->GetLayerByName("routes");
    OGRLayer* pontos = ds->GetLayerByName("route_points");
    ASSERT_TRUE(rotas && pontos);
    std::vector<std::string> nomes;
    for (auto& f : *rotas) nomes.push_back(f->GetFieldAsString("name"));
    EXPECT_EQ(nomes, (std::vector<std::string>{"Terraço 1", "Terraço 2"}));
    nomes.clear();
    std::vector<double> lon, lat, ele;
    for (auto& f : *pontos) {
        nomes.push_back(f->GetFieldAsString("name"));
        const OGRPoint* pt = f->GetGeometryRef()->toPoint();
        lon.push_back(pt->getX());
        lat.push_back(pt->getY());
        ele.push_back(f->GetFieldAsDouble("ele"));
    }
    EXPECT_EQ(nomes, (std::vector<std::string>{"T1-1", "T1-2", "T1-3", "T2-1", "T2-2"}));
    ASSERT_EQ(lon.size(), 5u);
    EXPECT_NEAR(lat[0], -23.398508558, 1e-6);
    EXPECT_NEAR(lon[0], -44.770433003, 1e-6);
    EXPECT_NEAR(lat[3], -23.510194716, 1e-6);
    EXPECT_NEAR(lon[3], -45, 1e-9);  // the zone's central meridian
    EXPECT_DOUBLE_EQ(ele[1], 600.2);

    ds = geoteste::AbreVetor(kml);
    ASSERT_TRUE(ds) << LerArquivo(kml);
    ASSERT_EQ(ds->GetLayerCount(), 2);
    std::vector<std::string> pastas;
    nomes.clear();
    for (int k = 0; k < 2; ++k) {
        OGRLayer* l = ds->GetLayer(k);
        pastas.push_back(l->GetName());
        for (auto& f : *l) {
            const int i = f->GetFieldIndex("Name") >= 0 ? f->GetFieldIndex("Name") : f->GetFieldIndex("name");
            nomes.push_back(f->GetFieldAsString(i));
            if (nomes.size() == 1) {
                const OGRPoint* pt = f->GetGeometryRef()->toPoint();
                EXPECT_NEAR(pt->getY(), -23.398508558, 1e-6);
                EXPECT_NEAR(pt->getX(), -44.770433003, 1e-6);
            }
        }
    }
    EXPECT_EQ(pastas, (std::vector<std::string>{"Terraço 1", "Terraço 2"}));
    EXPECT_EQ(nomes, (std::vector<std::string>{"T1-1", "T1-2", "T1-3", "T2-1", "T2-2"}));

    // Without a system only the CSV can be written; an unknown extension never. Nothing is
    // written by a refusal: the earlier file stays as it was.
    const std::string antes = LerArquivo(gpx);
    for (const std::string& nome : {gpx, kml})
        EXPECT_ERRO(EVandoro,
                    "O modelo de elevação não tem sistema de coordenadas: as estacas só podem ser gravadas em CSV.",
                    GravarEstacas(nome, v, ""));
    EXPECT_EQ(LerArquivo(gpx), antes);
    EXPECT_ERRO(EVandoro, "Formato de estacas desconhecido: use .csv, .gpx ou .kml.",
                GravarEstacas(p.Arquivo("e.txt"), v, crs));
    EXPECT_FALSE(std::filesystem::exists(p.Arquivo("e.txt")));
    GravarEstacas(p.Arquivo("e.csv"), v, "");
    EXPECT_TRUE(std::filesystem::exists(p.Arquivo("e.csv")));
}

namespace {

// The shipped 2 m field with one of its projects, run in a scratch folder.
struct ExemploLocado {
    PastaTemporaria pasta;
    TModeloProjeto projeto;
    TArquivosLocacao arquivos;
    explicit ExemploLocado(const std::string& kzp) {
        CopiarExemploLocacao(pasta, {kzp});
        const std::string kzpCopia = pasta.Arquivo(kzp);
        if (!projeto.LerProjeto(kzpCopia)) throw std::runtime_error("projeto");
        TLocacaoNivel& loc = projeto.LocacaoNivel();
        arquivos = ArquivosDaLocacao(loc, kzpCopia, TArquivosLocacao{});
        if (projeto.TipoSistema().Index() == 1)
            LocarComGradiente(loc, arquivos, CaminhoDoProjeto(loc.fnEscoadouro(), kzpCopia), projeto.Precipitacao(),
                              projeto.NumeroDaCurva(), projeto.TerracosGradiente());
        else
            Locar(loc, arquivos, projeto.Precipitacao(), projeto.NumeroDaCurva(), projeto.TerracosNivel());
    }
};

// Every stake on its line, stations stepping by the spacing to the line's length, the
// terraces in the table's order; the saved plan gives the same stakes. Returns the stakes.
std::vector<TEstaca> ConfereEstacas(ExemploLocado& x, double espacamento, double grade) {
    const TLocacaoNivel& loc = x.projeto.LocacaoNivel();
    const TEstacasLocacao r = EstacasDaLocacao(loc, espacamento);
    const TBDT& tabela = loc.Registros();
    std::vector<int> ordem;
    for (const TEstaca& t : r.estacas)
        if (ordem.empty() || ordem.back() != t.terraco) ordem.push_back(t.terraco);
    std::vector<int> esperada;
    for (int i = 1; i <= tabela.Count(); ++i) esperada.push_back(tabela.Item(i)->id);
    EXPECT_EQ(ordem, esperada);
    for (size_t i = 0; i < r.estacas.size(); ++i) {
        const TEstaca& t = r.estacas[i];
        SCOPED_TRACE(std::to_string(t.terraco) + "-" + std::to_string(t.numero));
        const auto linha = std::find_if(loc.LinhasMapa().begin(), loc.LinhasMapa().end(),
                                         [&](const TLinhaMapa& l) { return l.id == t.terraco; });
        if (linha == loc.LinhasMapa().end()) {
            ADD_FAILURE() << "sem linha";
            continue;
        }
        EXPECT_LT(DistanciaALinha(*linha, t.e, t.n), 1e-3);
        const TRegTerr* reg = nullptr;
        for (int k = 1; k <= tabela.Count(); ++k)
            if (tabela.Item(k)->id == t.terraco) reg = tabela.Item(k);
        EXPECT_NEAR(t.cotaProjeto, reg->level + grade * t.estaca, 1e-9);
        const bool fim = i + 1 == r.estacas.size() || r.estacas[i + 1].terraco != t.terraco;
        if (t.numero == 1) {
            EXPECT_EQ(t.estaca, 0);
            EXPECT_LT(std::hypot(t.e - linha->x.front(), t.n - linha->y.front()), 1e-9);
        } else {
            const double passo = t.estaca - r.estacas[i - 1].estaca;
            if (fim) {
                EXPECT_GT(passo, 0);
                EXPECT_LE(passo, espacamento + 1e-9);
                EXPECT_NEAR(t.estaca, reg->length, 1e-6);
                EXPECT_LT(std::hypot(t.e - linha->x.back(), t.n - linha->y.back()), 1e-9);
            } else {
                EXPECT_NEAR(passo, espacamento, 1e-9);
            }
        }
    }
    // Reopened from its files: the companion's full-precision lines, not the 32-bit vertices that
    // step by half a metre at these northings.
    const TEstacasLocacao salvo = EstacasDoPlano(x.arquivos.saida, x.arquivos.elevacao, espacamento);
    EXPECT_EQ(salvo.estacas.size(), r.estacas.size());
    for (size_t i = 0; i < std::min(salvo.estacas.size(), r.estacas.size()); ++i) {
        const TEstaca &a = salvo.estacas[i], &b = r.estacas[i];
        EXPECT_EQ(a.terraco, b.terraco);
        EXPECT_EQ(a.numero, b.numero);
        EXPECT_NEAR(a.estaca, b.estaca, 1e-3);
        EXPECT_NEAR(std::hypot(a.e - b.e, a.n - b.n), 0, 1e-3);
        EXPECT_NEAR(a.cotaProjeto, b.cotaProjeto, 1e-6);
        EXPECT_EQ(a.semTerreno, b.semTerreno);
        if (!a.semTerreno && !b.semTerreno) {
            EXPECT_NEAR(a.cotaTerreno, b.cotaTerreno, 1e-3);
        }
    }
    return r.estacas;
}

// Stakes whose ground lies within 'tolerancia' of their design elevation, as a fraction.
double NoProjeto(const std::vector<TEstaca>& v, double tolerancia) {
    size_t n = 0;
    for (const TEstaca& t : v) n += !t.semTerreno && std::fabs(t.cotaTerreno - t.cotaProjeto) <= tolerancia;
    return double(n) / double(v.size());
}

}  // namespace

TEST(Estacas, TheShippedLevelPlanIsStakedOnItsLinesAndOnLevelGround) {
    ExemploLocado x("Locacao em nivel.kzp");
    const std::vector<TEstaca> v = ConfereEstacas(x, kEspacamentoEstacas, 0);
    ASSERT_GT(v.size(), 50u);
    // Smoothed lines keep their level within the plan's tolerance but where they cut a bend.
    EXPECT_GE(NoProjeto(v, x.projeto.LocacaoNivel().Plano().toleranciaCm / 100 + 1e-3), 0.9);
    // Lines run to the field's edge, and every stake still has its ground.
    EXPECT_TRUE(std::none_of(v.begin(), v.end(), [](const TEstaca& t) { return t.semTerreno; }));
    // The example's model lies in SIRGAS 2000 / UTM 23S: the stakes go to the GPS too.
    const std::string crs = EstacasDaLocacao(x.projeto.LocacaoNivel(), 20).crs;
    EXPECT_EQ(DescreveCrs(crs).epsg, 31983);
    GravarEstacas(x.pasta.Arquivo("e.gpx"), v, crs);
    EXPECT_TRUE(std::filesystem::exists(x.pasta.Arquivo("e.gpx")));
}

TEST(Estacas, TheShippedGradedPlanIsStakedFromEachOutletUpItsGrade) {
    ExemploLocado x("Locacao com gradiente.kzp");
    const double sc = x.projeto.TerracosGradiente().Sc();
    ASSERT_GT(sc, 0);
    const std::vector<TEstaca> v = ConfereEstacas(x, 25, sc);
    ASSERT_GT(v.size(), 50u);
    // The ground follows the channel's rise from the outlet; read the other way round it would
    // miss by the grade times the line's length (all but 2 % of the stakes).
    EXPECT_GE(NoProjeto(v, x.projeto.LocacaoNivel().Plano().toleranciaCm / 100 + 1e-3), 0.95);
}

// The report's profiles are the stakes at a fine step, one profile a terrace in the table's
// order, each with the passages off level of its own line; the report places them.
TEST(PerfisTerracos, TheShippedRunsGiveAProfilePerTerraceAndTheReportPlacesThem) {
    for (const char* kzp : {"Locacao em nivel.kzp", "Locacao com gradiente.kzp"}) {
        SCOPED_TRACE(kzp);
        ExemploLocado x(kzp);
        TLocacaoNivel& loc = x.projeto.LocacaoNivel();
        const bool gradiente = !loc.Canais().empty();
        const TFigurasLocacao f = FigurasDaLocacao(loc);
        const TBDT& tabela = loc.Registros();
        ASSERT_EQ(f.perfis.size(), size_t(tabela.Count()));
        size_t travessias = 0;
        for (int i = 1; i <= tabela.Count(); ++i) {
            const TRegTerr& reg = *tabela.Item(i);
            const TPerfilTerraco& p = f.perfis[size_t(i - 1)];
            EXPECT_EQ(p.terraco, reg.id);
            EXPECT_EQ(p.gradiente, gradiente);
            ASSERT_GE(p.pontos.size(), 2u);
            EXPECT_NEAR(p.pontos.back().estaca, reg.length, 1e-6);
            const double grade = gradiente ? loc.Canais()[size_t(i - 1)].declividade : 0;
            for (const TEstaca& e : p.pontos) EXPECT_NEAR(e.cotaProjeto, reg.level + grade * e.estaca, 1e-9);
            for (const TTravessiaNivel& t : p.travessias) {
                EXPECT_EQ(t.terraco, reg.id);
                EXPECT_LE(t.inicio + t.comprimento, reg.length + 1e-6);
            }
            travessias += p.travessias.size();
        }
        EXPECT_EQ(travessias, loc.Resultado().travessias.size());

        // Five to a page: the last page holds what is left, none past it.
        const int paginas = f.PaginasPerfis();
        EXPECT_EQ(paginas, (tabela.Count() + 4) / 5);
        EXPECT_EQ(f.PerfisDaPagina(paginas).size(), size_t(tabela.Count() - 5 * (paginas - 1)));
        EXPECT_EQ(f.PerfisDaPagina(paginas).front(), &f.perfis[size_t(5 * (paginas - 1))]);
        EXPECT_TRUE(f.PerfisDaPagina(0).empty());
        EXPECT_TRUE(f.PerfisDaPagina(paginas + 1).empty());

        // The saved plan, reopened without a run, gives the same profiles and passages.
        TLocacaoNivel reaberta;
        reaberta.SetfnVetSaida(x.arquivos.saida);
        reaberta.SetfnImgElev(x.arquivos.elevacao);
        const TFigurasLocacao s = FigurasDaLocacao(reaberta);
        ASSERT_EQ(s.perfis.size(), f.perfis.size());
        for (size_t i = 0; i < s.perfis.size(); ++i) {
            EXPECT_EQ(s.perfis[i].terraco, f.perfis[i].terraco);
            EXPECT_EQ(s.perfis[i].travessias.size(), f.perfis[i].travessias.size());
            EXPECT_EQ(s.perfis[i].gradiente, gradiente);
        }

        // The plan's page comes right after the identification, the profiles after everything.
        TOpcoesRelatorio o;
        const std::string sem = RelatorioDaLocacao(x.projeto, loc, o);
        EXPECT_EQ(sem.find("<IMG SRC=\"mapa.png\""), std::string::npos);
        o.Locacao = std::make_shared<const TFigurasLocacao>(f);
        const std::string com = RelatorioDaLocacao(x.projeto, loc, o);
        const size_t mapa = com.find("<IMG SRC=\"mapa.png\" WIDTH=540 HEIGHT=780>");
        ASSERT_NE(mapa, std::string::npos);
        EXPECT_LT(com.find("IDENTIFICAÇÃO DO PROJETO"), mapa);
        EXPECT_GT(com.find("DADOS DE ENTRADA"), mapa);
        size_t antes = com.find("CONSTRUÇÃO DOS TERRAÇOS");
        ASSERT_NE(antes, std::string::npos);
        for (int k = 1; k <= paginas; ++k) {
            const size_t p = com.find("<IMG SRC=\"" + TFigurasLocacao::NomePerfis(k) + "\"");
            EXPECT_GT(p, antes);
            antes = p;
        }
        EXPECT_EQ(com.find(TFigurasLocacao::NomePerfis(paginas + 1)), std::string::npos);
    }
}

TEST(PerfisTerracos, APlanThatCannotBeReadHasNoProfiles) {
    TLocacaoNivel loc;
    EXPECT_TRUE(FigurasDaLocacao(loc).perfis.empty());
    PastaTemporaria p;
    GravarArquivo(p.Arquivo("x.vet"), "não é um vetor");
    loc.SetfnVetSaida(p.Arquivo("x.vet"));
    loc.SetfnImgElev(p.Arquivo("falta.asc"));
    EXPECT_TRUE(FigurasDaLocacao(loc).perfis.empty());
    EXPECT_EQ(FigurasDaLocacao(loc).PaginasPerfis(), 0);
}

TEST(PerfisTerracos, FillAndCutLabelsAreLaidInRowsWithoutOverlapping) {
    const auto Dispor = [](std::vector<TRotuloPerfil> r, int maxFilas = 3) {
        return DisporRotulos(r, 0, 500, 8, maxFilas);
    };
    const auto Em = [](double esquerda, int fila) { return std::pair{esquerda, fila}; };
    const auto Pares = [](const std::vector<TLugarRotulo>& v) {
        std::vector<std::pair<double, int>> r;
        for (const TLugarRotulo& l : v) r.push_back({l.esquerda, l.fila});
        return r;
    };
    // Far apart: centred over their stretches, on the top row; at the ends, held inside.
    EXPECT_EQ(Pares(Dispor({{100, 40}, {300, 40}, {5, 40}, {495, 40}})),
              (std::vector{Em(80, 0), Em(280, 0), Em(0, 0), Em(460, 0)}));
    // From left to right: [70, 130]; one wanted at [80, 140] would have to slide past its
    // centre (110): the next row, centred; one wanted at [120, 180] slides to 138 on the top
    // row, still starting before its centre (150). The order given does not matter.
    EXPECT_EQ(Pares(Dispor({{100, 60}, {150, 60}, {110, 60}})), (std::vector{Em(70, 0), Em(138, 0), Em(80, 1)}));
    EXPECT_EQ(Pares(Dispor({{150, 60}, {110, 60}, {100, 60}})), (std::vector{Em(138, 0), Em(80, 1), Em(70, 0)}));
    // Past the last row allowed: the room nearest to where it is wanted that still comes within
    // a label's width of its centre (on a tie, the first found: after the row's label, then
    // before it); none that near, left out, never over another nor far from its stretch.
    EXPECT_EQ(Pares(Dispor({{100, 60}, {100, 60}, {100, 60}, {100, 60}, {100, 60}}, 2)),
              (std::vector{Em(70, 0), Em(70, 1), Em(138, 0), Em(2, 0), Em(138, 1)}));
    EXPECT_EQ(Pares(Dispor({{100, 60}, {100, 60}, {480, 60}}, 1)), (std::vector{Em(70, 0), Em(138, 0), Em(440, 0)}));
    EXPECT_EQ(Pares(Dispor({{100, 60}, {104, 60}, {108, 60}, {112, 60}}, 1)),
              (std::vector{Em(70, 0), Em(138, 0), Em(2, 0), Em(82, -1)}));
    EXPECT_EQ(Pares(Dispor({{100, 300}, {100, 300}}, 1)), (std::vector{Em(0, 0), Em(0, -1)}));
    EXPECT_EQ(Pares(Dispor({{250, 600}})), (std::vector{Em(0, 0)}));
    EXPECT_TRUE(Dispor({}).empty());
    // A stretch with no place (a damaged plan) goes to the start, the others as before.
    EXPECT_EQ(Pares(Dispor({{300, 40}, {NAN, 40}, {100, 40}})), (std::vector{Em(280, 0), Em(0, 0), Em(80, 0)}));

    // Many labels crowded together never overlap on a row: with rows to spare all are placed,
    // each over its stretch's centre; with three, some move aside, within a label's width of
    // their centre, and the rest are left out.
    std::vector<TRotuloPerfil> muitos;
    for (int i = 0; i < 20; ++i) muitos.push_back({40.0 + 23 * i, 50.0 + (i % 3) * 10});
    for (const int filas : {10, 3}) {
        const std::vector<TLugarRotulo> lugares = DisporRotulos(muitos, 0, 500, 8, filas);
        int colocados = 0;
        for (size_t i = 0; i < muitos.size(); ++i) {
            if (lugares[i].fila < 0) continue;
            ++colocados;
            const TRotuloPerfil& k = muitos[i];
            EXPECT_GE(lugares[i].esquerda, 0);
            EXPECT_LE(lugares[i].esquerda + k.largura, 500);
            EXPECT_LT(lugares[i].fila, filas);
            const double alem = filas == 10 ? 0 : k.largura;  // how far it may end short of or start past the centre
            EXPECT_LE(lugares[i].esquerda, k.centro + alem) << i;
            EXPECT_GE(lugares[i].esquerda + k.largura, k.centro - alem) << i;
            for (size_t j = 0; j < i; ++j) {
                if (lugares[i].fila != lugares[j].fila) continue;
                EXPECT_TRUE(lugares[i].esquerda >= lugares[j].esquerda + muitos[j].largura + 8 ||
                            lugares[j].esquerda >= lugares[i].esquerda + k.largura + 8)
                    << filas << ": " << i << " e " << j;
            }
        }
        EXPECT_GE(colocados, filas == 10 ? 20 : 15);
    }
}

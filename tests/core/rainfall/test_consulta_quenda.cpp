// The rainfall consultation without its window: the shipped database (rows and records,
// pages, typed coordinates, map points) and a small database of known contents (label
// placement, sources, a missing state bitmap, activation, the report).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/rainfall/ConsultaQuenda.h"
#include "core/rainfall/Quenda21.h"
#include "core/rainfall/RelatorioQuenda.h"

namespace fs = std::filesystem;

namespace {

const std::string kProgramaInstalado = std::string(VANDORO_BIN_DIR) + "/";

TConsultaQuenda Instalada() { return TConsultaQuenda(PastaBancoChuva(kProgramaInstalado)); }

StationRecord Estacao(const std::string& nome, const std::string& lat, const std::string& lon,
                      const std::string& fonte) {
    // One equation for every station: any weighting of the stations gives it back.
    return {nome, 1500, 0.16, 15, 0.85, fonte, lat, lon};
}

// A database of five places and a São Paulo map that is blue except for a white strip along
// its west edge (x < 50).
struct BancoTeste {
    PastaTemporaria raiz;
    std::string programa = raiz.Arquivo("bin") + "/";
    std::string pasta = PastaBancoChuva(programa);

    explicit BancoTeste(bool mapaSP = true) {
        fs::create_directories(pasta);
        TEstacoesPorEstado e;
        e[24] = {Estacao("ZETA", "23°00'00\"", "47°00'00\"", "Autor A (1999)"),
                 Estacao("ALFA", "21°00'00\"", "49°00'00\"", "Autor B (2001)  ")};
        e[8] = {Estacao("GOIÂNIA", "16°40'00\"", "49°15'00\"", kCitacaoAvisoGoias),
                Estacao("ANÁPOLIS", "16°20'00\"", "48°57'00\"", "Autor C (2003)")};
        GravarEstacoes(pasta + kArquivoEstacoes, e);
        TLocalidadesPorEstado l;
        l[24] = {{"Centro", "23°00'00\"", "47°00'00\""}, {"Borda", "22°00'00\"", "52°40'00\""}};
        l[8] = {{"Goiás Velho", "15°56'00\"", "50°08'00\""}};
        GravarLocalidades(pasta + kArquivoLocalidades, l);
        if (mapaSP) {
            TBitmapRGB b(LarguraBitmapEstado, AlturaBitmapEstado, CorDentroEstado);
            for (int y = 0; y < b.Altura(); ++y)
                for (int x = 0; x < 50; ++x) b.SetPixel(x, y, 0xFFFFFF);
            GravarBMP(b, pasta + "SP.bmp");
        }
    }
};

// The first blue pixel of a row, scanning from the centre of the map outwards.
bool PixelAzul(const TBitmapRGB& b, int& x, int& y) {
    for (y = b.Altura() / 2; y < b.Altura(); ++y)
        for (x = b.Largura() / 2; x < b.Largura(); ++x)
            if (b.Pixel(x, y) == CorDentroEstado) return true;
    return false;
}

}  // namespace

// ---------------------------------------------------------------- shipped database

TEST(ConsultaQuenda, EveryRowStandsForTheRecordNamedOnIt) {
    RegionalFixo pt(Regional::PtBR());
    TConsultaQuenda c = Instalada();
    c.SetIndEstado(8);
    c.Ativar();
    const auto linhas = c.LinhasEstacoes();
    const auto& est = c.Banco().Stations(8);
    ASSERT_EQ(linhas.size(), est.size());
    ASSERT_GT(linhas.size(), 3u);
    // The file is not in name order, so row and record differ somewhere.
    bool diferem = false;
    for (size_t n = 0; n < linhas.size(); ++n) {
        diferem |= linhas[n].Indice != static_cast<int>(n);
        if (n > 0) {
            EXPECT_LE(ChaveDeBusca(linhas[n - 1].Nome), ChaveDeBusca(linhas[n].Nome));
        }
    }
    EXPECT_TRUE(diferem);

    const TLinhaConsulta escolhida = linhas[linhas.size() / 2];
    c.EscolherEstacao(escolhida.Indice);
    const StationRecord& r = est[static_cast<size_t>(escolhida.Indice)];
    EXPECT_EQ(c.StrCidade(), escolhida.Nome);
    EXPECT_EQ(r.Name.substr(0, escolhida.Nome.size()), escolhida.Nome);
    EXPECT_EQ(c.TextoK(), FloatToStr(r.K));
    EXPECT_EQ(c.TextoC(), FloatToStr(r.C));
    EXPECT_EQ(c.IndEstacao(), escolhida.Indice);
    EXPECT_EQ(c.IndLocalidade(), -1);

    // Handed back through the component and opened again: the same station.
    TQuenda21 q;
    q.SetPastaPrograma(kProgramaInstalado);
    q.SetIndEstado(8);
    q.SetIndEstacao(escolhida.Indice);
    TConsultaQuenda c2 = Instalada();
    std::string nome;
    c2.AoExecutar = [&] {
        c2.Ativar();
        nome = c2.StrCidade();
        c2.Fechar();
        return true;
    };
    ASSERT_TRUE(q.Execute(c2));
    EXPECT_EQ(nome, escolhida.Nome);
    EXPECT_EQ(q.IndEstacao(), escolhida.Indice);
    EXPECT_EQ(q.StrCidade(), escolhida.Nome);
    EXPECT_DOUBLE_EQ(q.Precipitacao().K(), r.K);
}

TEST(ConsultaQuenda, GoiasShowsTheBrazilPageWithItsStations) {
    RegionalFixo pt(Regional::PtBR());
    TConsultaQuenda c = Instalada();
    c.SetIndEstado(24);
    c.SetIndEstacao(-1);
    c.SetIndLocalidade(-1);
    c.Ativar();
    EXPECT_EQ(c.Pagina(), TPaginaConsulta::Estado);
    EXPECT_TRUE(c.CoordenadasHabilitadas());
    c.MudarEstado(8);
    EXPECT_EQ(c.Pagina(), TPaginaConsulta::Brasil);
    EXPECT_EQ(c.Mapa(), nullptr);
    EXPECT_TRUE(c.CoordenadasHabilitadas());  // a typed point is interpolated all the same
    EXPECT_FALSE(c.LinhasEstacoes().empty());
    EXPECT_EQ(c.Legenda(), "Quenda 2.1 - Estado: Goiás     ");
    // The first row's station is shown, with its place at the fixed labels.
    EXPECT_EQ(c.StrCidade(), c.LinhasEstacoes().front().Nome);
    EXPECT_FALSE(c.Mira().Visivel);
    EXPECT_TRUE(c.RotuloLatitude().Visivel);
    EXPECT_EQ(c.RotuloLatitude().Texto, "Latitude: " + c.Latitude());
    EXPECT_EQ(c.CaixaLatitude(), kCoordenadaZero);
}

TEST(ConsultaQuenda, TypedCoordinatesAreCheckedAgainstTheMap) {
    RegionalFixo pt(Regional::PtBR());
    TConsultaQuenda c = Instalada();
    c.SetIndEstado(24);
    c.SetIndEstacao(-1);
    c.SetIndLocalidade(-1);
    c.SetLatitude("22°54'20\"");
    c.SetLongitude("47°03'39\"");
    c.Ativar();
    // The stored point is worked out at activation, as the command line gives it.
    const StationRecord r = c.Banco().InterpolateEquation("22°54'20\"", "47°03'39\"");
    EXPECT_EQ(c.StrCidade(), "Não definida");
    EXPECT_EQ(c.Fonte(), "Interpolação");
    EXPECT_EQ(c.TextoK(), FormatFloat("###0.000", r.K));
    EXPECT_EQ(c.TextoA(), FormatFloat("0.000", r.A));
    EXPECT_EQ(c.TextoB(), FormatFloat("#0.000", r.B));
    EXPECT_TRUE(c.Mira().Visivel);
    int x = 0, y = 0;
    CoordParaPixel(*MapaDoEstado(24), CoordenadaParaGraus("22°54'20\""), CoordenadaParaGraus("47°03'39\""), x, y);
    EXPECT_EQ(c.Mira().X, x);
    EXPECT_EQ(c.Mira().Y, y);

    const std::string k = c.TextoK();
    struct {
        std::string lat, lon, msg;
    } ruins[] = {
        {"19°00'00\"", "47°03'39\"", "Latitude 19°00'00\" não definida."},  // north of the map
        {"26°00'00\"", "47°03'39\"", "Latitude 26°00'00\" não definida."},  // south of it
        {"22°54'20\"", "43°00'00\"", "Longitude 43°00'00\" não definida."},
        {"22°54'20\"", "54°00'00\"", "Longitude 54°00'00\" não definida."},
        {"  °  '  \"", "47°03'39\"", "Latitude   °  '  \" inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59."},  // nothing typed
        {"22°5 '20\"", "47°03'39\"", "Latitude 22°5 '20\" inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59."},
        {"22°60'00\"", "47°03'39\"", "Latitude 22°60'00\" inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59."},
        {"22°54'20\"", "47°03'60\"", "Longitude 47°03'60\" inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59."},
        {"abc", "47°03'39\"", "Latitude abc inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59."},
    };
    for (const auto& t : ruins) {
        EXPECT_EQ(MensagemDe([&] { c.Calcular(t.lat, t.lon); }), t.msg);
        EXPECT_EQ(c.CaixaLatitude(), "22°54'20\"");
        EXPECT_EQ(c.Latitude(), "22°54'20\"");
        EXPECT_EQ(c.Longitude(), "47°03'39\"");
        EXPECT_EQ(c.TextoK(), k);
    }
    // The setters after activation check the same way.
    EXPECT_EQ(MensagemDe([&] { c.SetLatitude("19°00'00\""); }), "Latitude 19°00'00\" não definida.");
    EXPECT_EQ(c.Latitude(), "22°54'20\"");
}

TEST(ConsultaQuenda, MapPointsInsideTheBlueOnly) {
    RegionalFixo pt(Regional::PtBR());
    TConsultaQuenda c = Instalada();
    c.SetIndEstado(24);
    c.Ativar();
    const std::string cidade = c.StrCidade();
    const int estacao = c.IndEstacao();
    ASSERT_NE(c.BitmapEstado().Pixel(0, 0), CorDentroEstado);
    EXPECT_EQ(c.PonteiroEstado(0, 0), TPonteiroMapa::Seta);
    EXPECT_FALSE(c.PontoNoMapa(0, 0));
    EXPECT_FALSE(c.PontoNoMapa(-5, 1000));
    EXPECT_EQ(c.StrCidade(), cidade);
    EXPECT_EQ(c.IndEstacao(), estacao);

    int x = 0, y = 0;
    ASSERT_TRUE(PixelAzul(c.BitmapEstado(), x, y));
    EXPECT_EQ(c.PonteiroEstado(x, y), TPonteiroMapa::Cruz);
    ASSERT_TRUE(c.PontoNoMapa(x, y));
    double lat = 0, lon = 0;
    PixelParaCoord(*MapaDoEstado(24), x, y, lat, lon);
    const std::string tl = GrausParaCoordenada(lat), tn = GrausParaCoordenada(lon);
    const StationRecord r = c.Banco().InterpolateEquation(tl, tn);
    EXPECT_EQ(c.StrCidade(), "Não definida");
    EXPECT_EQ(c.IndEstacao(), -1);
    EXPECT_EQ(c.IndLocalidade(), -1);
    EXPECT_EQ(c.CaixaLatitude(), tl);
    EXPECT_EQ(c.CaixaLongitude(), tn);
    EXPECT_EQ(c.RotuloLatitude().Texto, tl);
    EXPECT_EQ(c.TextoK(), FormatFloat("###0.000", r.K));
    EXPECT_EQ(c.TextoC(), FormatFloat("0.000", r.C));
    EXPECT_EQ(c.Autoria(), "Interpolação");
    EXPECT_EQ(c.Mira().X, x);
    EXPECT_EQ(c.Mira().Y, y);
}

TEST(ConsultaQuenda, BrazilMapClicksGoByColour) {
    RegionalFixo pt(Regional::PtBR());
    TConsultaQuenda c = Instalada();
    c.SetIndEstado(8);
    c.Ativar();
    c.CliqueBrasil(0x990000);
    EXPECT_EQ(c.IndEstado(), 24);
    EXPECT_EQ(c.Pagina(), TPaginaConsulta::Estado);
    c.EscolherEstacao(c.LinhasEstacoes().back().Indice);
    c.CliqueBrasil(0xFFFFFF);  // the sea: São Paulo again, from its first station
    EXPECT_EQ(c.IndEstado(), 24);
    EXPECT_EQ(c.IndEstacao(), c.LinhasEstacoes().front().Indice);
    EXPECT_EQ(c.PonteiroBrasil(0x0D0D0D), TPonteiroMapa::Seta);
    EXPECT_EQ(c.PonteiroBrasil(0x666666), TPonteiroMapa::Mao);
}

TEST(ConsultaQuenda, SearchNarrowsTheListsAndKeepsTheRecords) {
    TConsultaQuenda c = Instalada();
    c.SetIndEstado(24);
    c.Ativar();
    const auto todas = c.LinhasLocalidades();
    c.SetFiltro("sao jose");
    const auto achadas = c.LinhasLocalidades();
    ASSERT_FALSE(achadas.empty());
    EXPECT_LT(achadas.size(), todas.size());
    for (const auto& l : achadas) {
        EXPECT_NE(ChaveDeBusca(l.Nome).find("SAO JOSE"), std::string::npos) << l.Nome;
        EXPECT_EQ(c.Banco().Localities()[static_cast<size_t>(l.Indice)].Name.substr(0, l.Nome.size()), l.Nome);
    }
    c.EscolherLocalidade(achadas.front().Indice);
    EXPECT_EQ(c.StrCidade(), achadas.front().Nome);
    c.SetFiltro("");
    EXPECT_EQ(c.LinhasLocalidades().size(), todas.size());
}

// ---------------------------------------------------------------- small database

TEST(ConsultaQuenda, LabelsKeepClearOfTheCrosshair) {
    RegionalFixo pt(Regional::PtBR());
    BancoTeste bd;
    TConsultaQuenda c(bd.pasta);
    c.SetIndEstado(24);
    c.Ativar();
    struct {
        int x, y;
        bool lonADireita;
        int lonX, lonY, latX, latY;
    } casos[] = {
        {201, 150, true, 198, 15, 10, 130},  // near column 450: longitude left of the line
        {200, 150, false, 203, 15, 10, 130},
        {150, 100, false, 153, 420, 10, 80},  // line high up: longitude at the bottom
        {150, 101, false, 153, 15, 10, 81},
        {100, 50, false, 103, 420, 385, 30},  // line at the left: latitude to the right
        {101, 50, false, 104, 420, 10, 30},
        {150, 30, false, 153, 420, 10, 40},  // line at the top: latitude below it
        {150, 31, false, 153, 420, 10, 11},
    };
    for (const auto& t : casos) {
        ASSERT_TRUE(c.PontoNoMapa(t.x, t.y));
        const TRotuloMapa &lon = c.RotuloLongitude(), &lat = c.RotuloLatitude();
        SCOPED_TRACE(std::to_string(t.x) + "," + std::to_string(t.y));
        EXPECT_TRUE(lon.Visivel && lat.Visivel);
        EXPECT_EQ(lon.AncoraDireita, t.lonADireita);
        EXPECT_EQ(lon.X, t.lonX);
        EXPECT_EQ(lon.Y, t.lonY);
        EXPECT_EQ(lat.X, t.latX);
        EXPECT_EQ(lat.Y, t.latY);
        EXPECT_EQ(lon.Texto, c.Longitude());
    }
}

TEST(ConsultaQuenda, SourcesOfStationsLocalitiesAndStatesWithoutMap) {
    RegionalFixo pt(Regional::PtBR());
    BancoTeste bd;
    TConsultaQuenda c(bd.pasta);
    c.SetIndEstado(24);
    c.SetIndEstacao(0);
    c.Ativar();
    // Rows by name: ALFA is the second record.
    ASSERT_EQ(c.LinhasEstacoes().size(), 2u);
    EXPECT_EQ(c.LinhasEstacoes()[0].Nome, "ALFA");
    EXPECT_EQ(c.LinhasEstacoes()[0].Indice, 1);
    EXPECT_EQ(c.IndEstacao(), 0);  // the passed row 0 is ZETA, the first record
    EXPECT_EQ(c.Fonte(), "Autor A (1999)");
    EXPECT_EQ(c.TextoK(), "1500");
    EXPECT_EQ(c.TextoA(), "0,16");
    c.EscolherEstacao(1);
    EXPECT_EQ(c.Fonte(), "Autor B (2001)");  // trailing blanks removed

    // A locality outside the state's blue, and one at a station's own place.
    c.EscolherLocalidade(1);
    EXPECT_EQ(c.StrCidade(), "Borda");
    EXPECT_FALSE(c.Mira().Visivel);
    EXPECT_EQ(c.Fonte(), "Interpolação");
    EXPECT_EQ(c.TextoK(), "1500,000");
    EXPECT_EQ(c.TextoB(), "15,000");
    EXPECT_EQ(c.IndEstacao(), -1);
    EXPECT_EQ(c.IndLocalidade(), 1);
    c.EscolherLocalidade(0);
    EXPECT_EQ(c.Fonte(), "Interpolação");
    EXPECT_TRUE(c.Mira().Visivel);
    c.EscolherLocalidade(7);  // beyond the list: nothing happens
    EXPECT_EQ(c.IndLocalidade(), 0);

    // Goiás: the warning belongs to one citation.
    c.MudarEstado(8);
    EXPECT_EQ(c.StrCidade(), "ANÁPOLIS");
    EXPECT_FALSE(c.AvisoGoiasVisivel());
    c.EscolherEstacao(0);
    EXPECT_TRUE(c.AvisoGoiasVisivel());
    c.EscolherLocalidade(0);
    EXPECT_FALSE(c.AvisoGoiasVisivel());
    EXPECT_EQ(c.Fonte(), "Interpolação");

    // States chosen from the list only: no source until a station is shown.
    c.MudarEstado(25);
    EXPECT_EQ(c.Fonte(), "");
    EXPECT_FALSE(c.FonteHabilitada());
    EXPECT_EQ(c.Autoria(), "");
    EXPECT_EQ(c.Pagina(), TPaginaConsulta::Brasil);
    EXPECT_EQ(MensagemDe([&] { c.Fechar(); }), kMsgSemEquacao);
}

TEST(ConsultaQuenda, MissingStateBitmapBringsThePreviousStateBack) {
    RegionalFixo pt(Regional::PtBR());
    BancoTeste bd(false);
    TConsultaQuenda c(bd.pasta);
    c.SetIndEstado(8);
    c.Ativar();
    c.EscolherEstacao(0);
    EXPECT_EQ(MensagemDe([&] { c.MudarEstado(24); }),
              "Erro. Não foi possível localizar o arquivo BMP do estado selecinado (São Paulo).");
    EXPECT_EQ(c.IndEstado(), 8);
    EXPECT_EQ(c.StrCidade(), "GOIÂNIA");
    EXPECT_EQ(c.Legenda(), "Quenda 2.1 - Estado: Goiás     ");
    EXPECT_EQ(c.LinhasLocalidades().size(), 1u);
    c.EscolherLocalidade(0);
    EXPECT_EQ(c.StrCidade(), "Goiás Velho");
}

TEST(ConsultaQuenda, ActivationKeepsAnEquationTypedElsewhere) {
    RegionalFixo pt(Regional::PtBR());
    BancoTeste bd;
    TQuenda21 q;
    q.SetPastaPrograma(bd.programa);
    auto abrir = [&](auto&& depois) {
        TConsultaQuenda c(bd.pasta);
        c.AoExecutar = [&] {
            c.Ativar();
            depois(c);
            c.Fechar();
            return true;
        };
        return q.Execute(c);
    };
    // No place stored: the project's own numbers stay, as do the stored indices beyond the lists.
    q.SetIndEstado(24);
    q.SetIndEstacao(9);
    q.SetIndLocalidade(-1);
    q.Precipitacao().SetK(812.5);
    q.Precipitacao().SetA(0.1);
    q.Precipitacao().SetB(10);
    q.Precipitacao().SetC(0.7);
    ASSERT_TRUE(abrir([](TConsultaQuenda& c) {
        EXPECT_EQ(c.TextoK(), "812,500");
        EXPECT_EQ(c.TextoC(), "0,7000");
        EXPECT_FALSE(c.Mira().Visivel);
    }));
    EXPECT_DOUBLE_EQ(q.Precipitacao().K(), 812.5);
    EXPECT_EQ(q.IndEstacao(), -1);
    EXPECT_EQ(q.Autoria(), "");

    // A stored point on a map: worked out again.
    q.SetLatitude("22°00'00\"");
    q.SetLongitude("48°00'00\"");
    ASSERT_TRUE(abrir([](TConsultaQuenda& c) {
        EXPECT_EQ(c.Fonte(), "Interpolação");
        EXPECT_EQ(c.TextoK(), "1500,000");
        EXPECT_TRUE(c.Mira().Visivel);
    }));
    EXPECT_DOUBLE_EQ(q.Precipitacao().K(), 1500);
    EXPECT_EQ(q.StrCidade(), "Não definida");
    EXPECT_EQ(q.Latitude(), "22°00'00\"");
    EXPECT_EQ(q.Autoria(), "Interpolação");

    // A stored point in a state without a map: worked out all the same, over the whole database.
    q.SetIndEstado(8);
    q.Precipitacao().SetK(900);
    ASSERT_TRUE(abrir([](TConsultaQuenda& c) {
        EXPECT_EQ(c.TextoK(), "1500,000");
        EXPECT_EQ(c.RotuloLatitude().Texto, "Latitude: 22°00'00\"");
        EXPECT_TRUE(c.RotuloLatitude().Visivel);
    }));
    EXPECT_EQ(q.IndEstado(), 8);
    EXPECT_EQ(q.Latitude(), "22°00'00\"");
}

TEST(ConsultaQuenda, EquationTableIsTheStormsIntensity) {
    const TTabelaIntensidades t = TabelaIntensidades(1500, 0.16, 15, 0.85);
    ASSERT_EQ(t.Tr.size(), 6u);
    ASSERT_EQ(t.Duracao.size(), 9u);
    EXPECT_EQ(t.Duracao.back(), 1440);
    for (size_t r = 0; r < t.Tr.size(); ++r)
        for (size_t d = 0; d < t.Duracao.size(); ++d)
            EXPECT_NEAR(t.I[r][d], 1500 * std::pow(t.Tr[r], 0.16) / std::pow(t.Duracao[d] + 15, 0.85), 1e-9);
    // Hand-checked: Tr 10 years, 60 min.
    EXPECT_NEAR(t.I[2][4], 55.2445, 1e-4);
}

// ---------------------------------------------------------------- report

TEST(RelatorioQuenda, StationLocalityAndPointAgainstCheckedInPages) {
    RegionalFixo pt(Regional::PtBR());
    BancoTeste bd;
    TConsultaQuenda c(bd.pasta);
    c.SetIndEstado(24);
    c.Ativar();
    TOpcoesRelatorio o;
    o.DataEmissao = "09/12/2026";
    o.PastaPrograma = "/opt/vandoro/bin/";
    auto confere = [&](const std::string& arquivo) {
        ConfereReferencia(RelatorioQuenda(DadosRelatorioQuenda(c), o), arquivo);
    };
    c.EscolherEstacao(1);
    confere("quenda_estacao.html");
    c.EscolherLocalidade(0);
    confere("quenda_localidade.html");
    ASSERT_TRUE(c.PontoNoMapa(300, 200));
    confere("quenda_ponto.html");

    // The map carries a black dot of radius 3 at the crosshair.
    TBitmapRGB b;
    ASSERT_TRUE(c.MapaRelatorio(b));
    EXPECT_EQ(b.Pixel(300, 200), 0x000000u);
    EXPECT_EQ(b.Pixel(303, 200), 0x000000u);
    EXPECT_EQ(b.Pixel(302, 202), 0x000000u);
    EXPECT_EQ(b.Pixel(304, 200), CorDentroEstado);
    EXPECT_EQ(b.Pixel(303, 201), CorDentroEstado);
    EXPECT_EQ(c.BitmapEstado().Pixel(300, 200), CorDentroEstado);  // the window's map untouched

    // Without a state map there is no map section.
    c.MudarEstado(8);
    const std::string html = RelatorioQuenda(DadosRelatorioQuenda(c), o);
    EXPECT_EQ(html.find("MAPA DE LOCALIZAÇÃO"), std::string::npos);
    EXPECT_NE(html.find("<B>Localidade: </B>ANÁPOLIS"), std::string::npos);
    EXPECT_FALSE(c.MapaRelatorio(b));
}

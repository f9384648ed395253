// A point typed in the rainfall consultation, for any state: its checks and messages, the
// state the maps put it in, and the consultation opened from a data-entry window on the
// fields it holds.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/common/Numeros.h"
#include "core/rainfall/ConsultaQuenda.h"
#include "core/rainfall/Quenda21.h"

namespace {

const std::string kPrograma = std::string(VANDORO_BIN_DIR) + "/";
const std::string kPasta = PastaBancoChuva(kPrograma);

// Belo Horizonte, well inside Minas Gerais on every map; Goiânia, inside Goiás.
const std::string kLatBH = "19°55'00\"", kLonBH = "43°56'00\"";
const std::string kLatGoiania = "16°40'00\"", kLonGoiania = "49°15'00\"";

TConsultaQuenda Consulta(int estado) {
    TConsultaQuenda c(kPasta);
    c.SetIndEstado(estado);
    c.SetIndEstacao(-1);
    c.SetIndLocalidade(-1);
    c.Ativar();
    return c;
}

}  // namespace

TEST(ConsultaPonto, AnInvalidMinuteAndAPointOffTheMapAreToldApart) {
    const TGeorrefMapa& sp = *MapaDoEstado(24);
    EXPECT_DOUBLE_EQ(ConferirCoordenada(TEixoCoordenada::Latitude, "22°30'36\"", sp), 22.51);
    EXPECT_EQ(MensagemDe([&] { ConferirCoordenada(TEixoCoordenada::Latitude, "22°60'00\"", sp); }),
              "Latitude 22°60'00\" inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59.");
    EXPECT_EQ(MensagemDe([&] { ConferirCoordenada(TEixoCoordenada::Longitude, "47°03'60\"", sp); }),
              "Longitude 47°03'60\" inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59.");
    EXPECT_EQ(MensagemDe([&] { ConferirCoordenada(TEixoCoordenada::Latitude, "  °  '  \"", sp); }),
              "Latitude   °  '  \" inválida: escreva GG°MM'SS\", com minutos e segundos de 00 a 59.");
    // The same minute in range but north of São Paulo's map, then of Brazil's.
    EXPECT_EQ(MensagemDe([&] { ConferirCoordenada(TEixoCoordenada::Latitude, "19°00'00\"", sp); }),
              "Latitude 19°00'00\" não definida.");
    EXPECT_DOUBLE_EQ(ConferirCoordenada(TEixoCoordenada::Latitude, "19°00'00\"", MapaBrasil()), 19.0);
    EXPECT_EQ(MensagemDe([&] { ConferirCoordenada(TEixoCoordenada::Latitude, "35°00'00\"", MapaBrasil()); }),
              "Latitude 35°00'00\" não definida.");
    EXPECT_EQ(MensagemDe([&] { ConferirCoordenada(TEixoCoordenada::Longitude, "31°00'00\"", MapaBrasil()); }),
              "Longitude 31°00'00\" não definida.");
}

TEST(ConsultaPonto, TheMapsTellTheStateOfAPoint) {
    EXPECT_EQ(EstadoDoPonto(kPasta, 19 + 55 / 60.0, 43 + 56 / 60.0), 12);      // Minas Gerais, on its own map
    EXPECT_EQ(EstadoDoPonto(kPasta, 16 + 40 / 60.0, 49 + 15 / 60.0), 8);       // Goiás, on the map of Brazil
    EXPECT_EQ(EstadoDoPonto(kPasta, 23.55, 46.63), 24);                        // São Paulo
    EXPECT_EQ(EstadoDoPonto(kPasta, 20.0, 25.0), -1);                          // the Atlantic
    EXPECT_EQ(EstadoDoPonto(kPrograma + "nada/", 19 + 55 / 60.0, 43 + 56 / 60.0), -1);  // no pictures
}

TEST(ConsultaPonto, EveryStateInterpolatesATypedPointAsTheCommandLineDoes) {
    RegionalFixo pt(Regional::PtBR());
    TConsultaQuenda c = Consulta(8);  // Goiás: no state map
    EXPECT_EQ(c.Pagina(), TPaginaConsulta::Brasil);
    EXPECT_TRUE(c.CoordenadasHabilitadas());
    c.Calcular(kLatGoiania, kLonGoiania);
    const StationRecord r = c.Banco().InterpolateEquation(kLatGoiania, kLonGoiania);
    EXPECT_EQ(c.TextoK(), FormatFloat("###0.000", r.K));
    EXPECT_EQ(c.TextoC(), FormatFloat("0.000", r.C));
    EXPECT_EQ(c.StrCidade(), "Não definida");
    EXPECT_EQ(c.Fonte(), "Interpolação");
    EXPECT_EQ(c.Latitude(), kLatGoiania);
    EXPECT_EQ(c.CaixaLongitude(), kLonGoiania);
    EXPECT_EQ(c.IndEstacao(), -1);
    EXPECT_FALSE(c.Mira().Visivel);
    EXPECT_EQ(c.RotuloLatitude().Texto, "Latitude: " + kLatGoiania);
    EXPECT_NO_THROW(c.Fechar());

    // A state chosen from the list only has no colour of its own (the Federal District lies
    // inside Goiás's): any point of Brazil is taken.
    TConsultaQuenda df = Consulta(6);
    EXPECT_TRUE(df.CoordenadasHabilitadas());
    df.Calcular(kLatGoiania, kLonGoiania);
    EXPECT_EQ(df.TextoK(), FormatFloat("###0.000", r.K));
}

TEST(ConsultaPonto, APointOutsideTheChosenStateSaysSoAndKeepsTheChoice) {
    RegionalFixo pt(Regional::PtBR());
    // Without and with a state map; each time a point of Minas Gerais the map reaches.
    for (int estado : {8, 24}) {
        const std::string lat = estado == 8 ? kLatBH : "20°00'00\"", lon = estado == 8 ? kLonBH : "44°30'00\"";
        TConsultaQuenda c = Consulta(estado);
        c.Calcular(estado == 8 ? kLatGoiania : "22°54'20\"", estado == 8 ? kLonGoiania : "47°03'39\"");
        const std::string k = c.TextoK(), antes = c.Latitude();
        ASSERT_FALSE(k.empty());
        const std::string msg =
            "O ponto " + lat + ", " + lon + " fica fora de " + TEstado::Nome(estado) + " (fica em Minas Gerais).";
        EXPECT_EQ(MensagemDe([&] { c.Calcular(lat, lon); }), msg) << estado;
        EXPECT_EQ(c.TextoK(), k);
        EXPECT_EQ(c.Latitude(), antes);
        // Same rule on the command line's path.
        EXPECT_EQ(MensagemDe([&] { ConferirPontoNoEstado(kPasta, estado, lat, lon); }), msg);
    }
    // The sea beside São Paulo's coast lies on its map but outside the state.
    TConsultaQuenda sp = Consulta(24);
    EXPECT_EQ(MensagemDe([&] { sp.Calcular("25°00'00\"", "45°00'00\""); }),
              "O ponto 25°00'00\", 45°00'00\" fica fora de São Paulo.");
}

namespace {

// The consultation as a user leaves it after looking: closed with "Fechar" or cancelled.
struct Roteiro {
    TConsultaQuenda c{kPasta};
    bool fechar = true;
    std::string k;
    Roteiro() {
        c.AoExecutar = [this] {
            c.Ativar();
            k = c.TextoK();
            if (!fechar) return false;
            c.Fechar();
            return true;
        };
    }
};

}  // namespace

TEST(ConsultaPonto, ADataEntryWindowOpensTheConsultationOnItsOwnFields) {
    RegionalFixo pt(Regional::PtBR());
    // A new project: Acre's first station is the place on record, and the storm is unset.
    TQuenda21 q;
    q.SetPastaPrograma(kPrograma);
    q.SetIndEstado(0);
    {
        // Nothing typed yet: the empty fields open as empty boxes.
        Roteiro r;
        TCamposConsulta campos;
        r.fechar = false;
        EXPECT_FALSE(q.Execute(r.c, campos));
        EXPECT_EQ(r.c.IndEstado(), 0);
        EXPECT_EQ(r.c.IndEstacao(), 0);
        EXPECT_FALSE(r.k.empty());  // Acre's station shows its equation
    }
    {
        // The farm's coordinates typed: the consultation opens on them, in Minas Gerais.
        Roteiro r;
        r.fechar = false;
        TCamposConsulta campos{0, 0, 0, 0, kLatBH, kLonBH};
        EXPECT_FALSE(q.Execute(r.c, campos));
        EXPECT_EQ(r.c.IndEstado(), 12);
        EXPECT_EQ(r.c.StrCidade(), "Não definida");
        const StationRecord e = r.c.Banco().InterpolateEquation(kLatBH, kLonBH);
        EXPECT_EQ(r.k, FormatFloat("###0.000", e.K));
        // Cancelled: the project is as it was.
        EXPECT_EQ(q.IndEstado(), 0);
        EXPECT_EQ(q.Latitude(), "");
        EXPECT_DOUBLE_EQ(q.Precipitacao().K(), -1);

        Roteiro f;
        ASSERT_TRUE(q.Execute(f.c, campos));
        EXPECT_EQ(q.IndEstado(), 12);
        EXPECT_EQ(q.StrEstado(), "Minas Gerais");
        EXPECT_EQ(q.IndEstacao(), -1);
        EXPECT_EQ(q.Latitude(), kLatBH);
        EXPECT_NEAR(q.Precipitacao().K(), e.K, 0.0005);
    }
    {
        // A station chosen, its own coordinates in the fields: it opens on that station.
        TConsultaQuenda c(kPasta);
        c.Carregar();
        const StationRecord& s = c.Banco().Stations(24).at(3);
        q.SetIndEstado(24);
        q.SetIndEstacao(3);
        q.SetIndLocalidade(-1);
        Roteiro r;
        r.fechar = false;
        EXPECT_FALSE(q.Execute(r.c, {1000, 0.1, 10, 0.7, s.Latitude, s.Longitude}));
        EXPECT_EQ(r.c.IndEstacao(), 3);
        EXPECT_EQ(r.k, FloatToStr(s.K));
    }
}

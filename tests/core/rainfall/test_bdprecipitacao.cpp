#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <sstream>

#include "TestSupport.h"
#include "core/common/Win1252.h"
#include "core/rainfall/BDPrecipitacao.h"
#include "core/rainfall/Estado.h"

namespace {

StationRecord Estacao(const std::string& nome, double k, double a, double b, double c, const std::string& lat,
                      const std::string& lon, const std::string& fonte = "Fonte (2000)") {
    StationRecord r;
    r.Name = nome;
    r.K = k;
    r.A = a;
    r.B = b;
    r.C = c;
    r.Source = fonte;
    r.Latitude = lat;
    r.Longitude = lon;
    return r;
}

LocalityRecord Localidade(const std::string& nome, const std::string& lat, const std::string& lon) {
    return {nome, lat, lon};
}

template <class F>
std::string MensagemDe(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(sem exceção)";
}

double Intensidade(const StationRecord& r, double tr, double t) {
    return r.K * std::pow(tr, r.A) / std::pow(t + r.B, r.C);
}

}  // namespace

// ---------------------------------------------------------------- coordinate texts

TEST(CoordenadaTexto, ValorDecimalDosTextos) {
    EXPECT_DOUBLE_EQ(CoordenadaParaGraus("22°54'30\""), 22 + 54 / 60.0 + 30 / 3600.0);
    EXPECT_DOUBLE_EQ(CoordenadaParaGraus("00°00'00\""), 0.0);
    EXPECT_DOUBLE_EQ(CoordenadaParaGraus(" 5°07'09\""), 5 + 7 / 60.0 + 9 / 3600.0);
    // North of the equator: the whole value is negative.
    EXPECT_DOUBLE_EQ(CoordenadaParaGraus("-4°30'00\""), -4.5);
    EXPECT_DOUBLE_EQ(CoordenadaParaGraus("-0°02'42\""), -0.045);
    // The same text as it is stored in a file (degree sign as one Windows-1252 byte).
    EXPECT_DOUBLE_EQ(CoordenadaParaGraus(Win1252ToUtf8("47\xB0" "21'12\"")), 47 + 21 / 60.0 + 12 / 3600.0);
}

TEST(CoordenadaTexto, TextosMalformadosDaoErroClaro) {
    for (const char* t : {"", "22°54'30", "22°54'30\"x", "2x°54'30\"", "22°5 '30\"", "22°61'00\"",
                          "22°00'60\"", "  °  '  \"", "--°00'00\"", "22 54 30\"", "22°54\"30'"}) {
        SCOPED_TRACE(t);
        EXPECT_THROW(CoordenadaParaGraus(t), EConversao);
    }
    EXPECT_EQ(MensagemDe([] { CoordenadaParaGraus("2x°54'30\""); }),
              "'2x°54'30\"' não é uma coordenada válida (GG°MM'SS\").");
}

TEST(CoordenadaTexto, GrausParaTextoTruncaEVolta) {
    EXPECT_EQ(GrausParaCoordenada(47.3536), "47°21'12\"");  // 12.96 s truncated
    EXPECT_EQ(GrausParaCoordenada(3.05), "03°03'00\"");     // not 03°02'59" by binary rounding
    EXPECT_EQ(GrausParaCoordenada(0), "00°00'00\"");
    EXPECT_EQ(GrausParaCoordenada(-0.045), "-0°02'42\"");
    EXPECT_EQ(GrausParaCoordenada(-4.1667), "-4°10'00\"");
    EXPECT_EQ(GrausParaCoordenada(99.99), "99°59'24\"");
    EXPECT_THROW(GrausParaCoordenada(100), EVandoro);
    EXPECT_THROW(GrausParaCoordenada(-10.5), EVandoro);  // no room for the sign
    EXPECT_THROW(GrausParaCoordenada(std::nan("")), EVandoro);
    for (double g = -9.99; g < 75; g += 0.0137) {
        const std::string t = GrausParaCoordenada(g);
        EXPECT_EQ(Utf8ToWin1252(t).size(), 9u) << t;
        const double v = CoordenadaParaGraus(t);
        EXPECT_LE(std::fabs(v), std::fabs(g) + 1e-9) << t;  // truncation towards zero
        EXPECT_LT(std::fabs(v - g), 1 / 3600.0 + 1e-9) << t;
    }
}

// ---------------------------------------------------------------- states

TEST(Estado, IndicesForaDoIntervaloEMensagens) {
    TEstado e;
    EXPECT_EQ(e.Index(), 0);
    EXPECT_EQ(e.StateName(), "Acre");
    e.SetIndex(24);
    EXPECT_EQ(e.StateName(), "São Paulo");
    EXPECT_EQ(e.Sigla(), "SP");
    EXPECT_EQ(MensagemDe([&] { e.SetIndex(27); }), " Não existe estado com índice igual a 27");
    EXPECT_EQ(MensagemDe([&] { e.SetIndex(-1); }), " Não existe estado com índice igual a -1");
    EXPECT_THROW(e.SetIndex(27), ENumeroEstado);
    EXPECT_EQ(e.Index(), 24);  // unchanged
    e.SetIndex(26);
    EXPECT_EQ(e.StateName(), "Tocantins");
}

TEST(Estado, BuscaPorSiglaENomeSemAcentos) {
    EXPECT_EQ(TEstado::IndiceDaSigla("mg"), 12);
    EXPECT_EQ(TEstado::IndiceDaSigla("XX"), -1);
    EXPECT_EQ(TEstado::IndiceDoNome("SÃO PAULO"), 24);
    EXPECT_EQ(TEstado::IndiceDoNome("espirito  santo"), 7);
    EXPECT_EQ(TEstado::IndiceDoNome("Goiás"), 8);
    EXPECT_EQ(TEstado::IndiceDoNome("BOLÍVIA"), -1);
    EXPECT_EQ(ChaveDeBusca("  Água   Boa "), "AGUA BOA");
}

// ---------------------------------------------------------------- file layout

TEST(ArquivosBanco, RegistroDeEstacaoByteAByte) {
    PastaTemporaria tmp;
    TEstacoesPorEstado e;
    e[1].push_back(Estacao("São João", 1234.5, 0.25, 10.0, 0.75, "22°54'30\"", "47°03'00\"", "Autor (1999)"));
    GravarEstacoes(tmp.Arquivo(kArquivoEstacoes), e);
    const std::string b = LerArquivo(tmp.Arquivo(kArquivoEstacoes));
    ASSERT_EQ(b.size(), 1 + 27 * 2 + 152u);
    EXPECT_EQ(b[0], '\x01');
    EXPECT_EQ(b.substr(1, 2), std::string("\0\0", 2));    // Acre: none
    EXPECT_EQ(b.substr(3, 2), std::string("\x01\0", 2));  // Alagoas: one
    const std::string r = b.substr(5, 152);
    EXPECT_EQ(r[0], '\x08');
    EXPECT_EQ(r.substr(1, 8), "S\xE3o Jo\xE3o");
    EXPECT_EQ(r.substr(9, 60), std::string(60, '\0'));
    double k = 0;
    std::memcpy(&k, r.data() + 69, 8);  // the test host is little-endian
    EXPECT_EQ(k, 1234.5);
    EXPECT_EQ(r.substr(77, 8), std::string("\0\0\0\0\0\0\xD0\x3F", 8));  // 0.25
    EXPECT_EQ(r.substr(85, 8), std::string("\0\0\0\0\0\0\x24\x40", 8));  // 10
    EXPECT_EQ(r.substr(101, 13), "\x0C" "Autor (1999)");
    EXPECT_EQ(r.substr(132, 10), "\x09" "22\xB0" "54'30\"");
    EXPECT_EQ(r.substr(142, 10), "\x09" "47\xB0" "03'00\"");
    EXPECT_EQ(b.substr(157), std::string(25 * 2, '\0'));  // the other 25 states, empty
}

TEST(ArquivosBanco, RegistroDeLocalidadeByteAByte) {
    PastaTemporaria tmp;
    TLocalidadesPorEstado l;
    l[26].push_back(Localidade("Palmas", "10°10'08\"", "48°19'54\""));
    GravarLocalidades(tmp.Arquivo(kArquivoLocalidades), l);
    const std::string b = LerArquivo(tmp.Arquivo(kArquivoLocalidades));
    ASSERT_EQ(b.size(), 1 + 27 * 2 + 89u);
    const std::size_t p = 1 + 26 * 2;
    EXPECT_EQ(b.substr(p, 2), std::string("\x01\0", 2));
    EXPECT_EQ(b.substr(p + 2, 7), "\x06Palmas");
    EXPECT_EQ(b.substr(p + 2 + 69, 10), "\x09" "10\xB0" "10'08\"");
    EXPECT_EQ(b.substr(p + 2 + 79, 10), "\x09" "48\xB0" "19'54\"");
}

TEST(ArquivosBanco, IdaEVoltaComEstadosVazios) {
    PastaTemporaria tmp;
    TEstacoesPorEstado e;
    e[4].push_back(Estacao("Salvador", 1000, 0.1, 5, 0.8, "12°58'18\"", "38°30'03\""));
    e[4].push_back(Estacao(std::string(68, 'X'), 2000, 0.2, 6, 0.9, "-1°00'00\"", "50°00'00\"", std::string(30, 'F')));
    e[26].push_back(Estacao("Palmas", 3000, 0.3, 7, 1.1, "10°10'08\"", "48°19'54\""));
    TLocalidadesPorEstado l;
    l[0].push_back(Localidade("Rio Branco", "09°58'29\"", "67°48'36\""));
    l[3].push_back(Localidade("Manaus", "03°07'07\"", "60°01'18\""));
    l[3].push_back(Localidade("Tabatinga", "04°15'09\"", "69°56'18\""));
    l[26].push_back(Localidade("Araguaína", "07°11'28\"", "48°12'26\""));
    GravarEstacoes(tmp.Arquivo(kArquivoEstacoes), e);
    GravarLocalidades(tmp.Arquivo(kArquivoLocalidades), l);

    TBDPrecipitacao bd(tmp.Caminho());
    bd.LoadStations();
    for (int i = 0; i < kNumEstados; ++i) {
        ASSERT_EQ(bd.Stations(i).size(), e[i].size()) << i;
        for (std::size_t k = 0; k < e[i].size(); ++k) {
            const StationRecord &a = bd.Stations(i)[k], &b = e[i][k];
            EXPECT_EQ(a.Name, b.Name);
            EXPECT_EQ(a.K, b.K);
            EXPECT_EQ(a.A, b.A);
            EXPECT_EQ(a.B, b.B);
            EXPECT_EQ(a.C, b.C);
            EXPECT_EQ(a.Source, b.Source);
            EXPECT_EQ(a.Latitude, b.Latitude);
            EXPECT_EQ(a.Longitude, b.Longitude);
        }
    }
    // Every block is skipped by its own count, empty ones included.
    for (int i : {0, 1, 3, 25, 26}) {
        bd.LoadLocalities(i);
        EXPECT_EQ(bd.LocalitiesState(), i);
        ASSERT_EQ(bd.Localities().size(), l[i].size()) << i;
        for (std::size_t k = 0; k < l[i].size(); ++k) {
            EXPECT_EQ(bd.Localities()[k].Name, l[i][k].Name);
            EXPECT_EQ(bd.Localities()[k].Latitude, l[i][k].Latitude);
            EXPECT_EQ(bd.Localities()[k].Longitude, l[i][k].Longitude);
        }
    }
    EXPECT_EQ(MensagemDe([&] { bd.LoadLocalities(27); }), " Não existe estado com índice igual a 27");
}

TEST(ArquivosBanco, GravadorNaoCortaTextos) {
    PastaTemporaria tmp;
    TEstacoesPorEstado e;
    e[0].push_back(Estacao(std::string(69, 'N'), 1, 0.1, 1, 1, "01°00'00\"", "50°00'00\""));
    EXPECT_EQ(MensagemDe([&] { GravarEstacoes(tmp.Arquivo("e.bin"), e); }),
              "O texto \"" + std::string(69, 'N') + "\" tem mais de 68 caracteres.");
    e[0][0].Name = "Ok";
    e[0][0].Source = std::string(31, 'F');
    EXPECT_THROW(GravarEstacoes(tmp.Arquivo("e.bin"), e), EVandoro);
    e[0][0].Source = "F";
    e[0][0].Latitude = "01°00'00\"x";
    EXPECT_THROW(GravarEstacoes(tmp.Arquivo("e.bin"), e), EVandoro);
    // 68 accented characters are 68 bytes on disk and fit.
    TLocalidadesPorEstado l;
    std::string nome;
    for (int i = 0; i < 68; ++i) nome += "ã";
    l[5].push_back(Localidade(nome, "05°00'00\"", "40°00'00\""));
    GravarLocalidades(tmp.Arquivo(kArquivoLocalidades), l);
    TBDPrecipitacao bd(tmp.Caminho());
    bd.LoadLocalities(5);
    ASSERT_EQ(bd.Localities().size(), 1u);
    EXPECT_EQ(bd.Localities()[0].Name, nome);
}

// ---------------------------------------------------------------- damaged files

TEST(ArquivosBanco, ArquivoAusente) {
    PastaTemporaria tmp;
    TBDPrecipitacao bd(tmp.Caminho());
    const std::string esperado = "O arquivo " + tmp.Caminho() + "/Estados_Qnd21.bin não existe.";
    EXPECT_EQ(MensagemDe([&] { bd.LoadStations(); }), esperado);
    EXPECT_THROW(bd.LoadStations(), EArquivoNaoExiste);
    EXPECT_THROW(bd.LoadLocalities(0), EArquivoNaoExiste);
    EXPECT_EQ(PastaBancoChuva("/opt/vandoro/bin/"), "/opt/vandoro/bin/../Arquivos Comuns/Quenda/");
}

TEST(ArquivosBanco, ArquivosDanificadosDaoErroSemLerForaDoBuffer) {
    PastaTemporaria tmp;
    TEstacoesPorEstado e;
    e[2].push_back(Estacao("A", 1, 0.1, 1, 1, "01°00'00\"", "50°00'00\""));
    e[20].push_back(Estacao("B", 2, 0.2, 2, 1, "30°00'00\"", "51°00'00\""));
    const std::string arq = tmp.Arquivo(kArquivoEstacoes);
    GravarEstacoes(arq, e);
    const std::string bom = LerArquivo(arq);

    TBDPrecipitacao bd(tmp.Caminho());
    bd.LoadStations();
    ASSERT_EQ(bd.Stations(20).size(), 1u);

    const std::string prefixo = "O arquivo " + arq + " está danificado ou incompleto (";
    // Every truncation, including an empty file and the header alone.
    for (std::size_t n = 0; n < bom.size(); n += (n < 60 ? 1 : 37)) {
        GravarArquivo(arq, bom.substr(0, n));
        const std::string m = MensagemDe([&] { bd.LoadStations(); });
        EXPECT_EQ(m.rfind(prefixo, 0), 0u) << n << ": " << m;
    }
    // The data loaded before survives a failed load.
    ASSERT_EQ(bd.Stations(20).size(), 1u);
    EXPECT_EQ(bd.Stations(20)[0].Name, "B");

    // A count far beyond the file.
    std::string x = bom;
    x[1] = '\xFF';
    x[2] = '\xFF';
    GravarArquivo(arq, x);
    EXPECT_EQ(MensagemDe([&] { bd.LoadStations(); }), prefixo + "fim inesperado, estado 0).");
    // A text length beyond its field.
    x = bom;
    const std::size_t reg = 1 + 2 * 3;  // record of state 2
    x[reg] = char(69);
    GravarArquivo(arq, x);
    EXPECT_EQ(MensagemDe([&] { bd.LoadStations(); }),
              prefixo + "texto maior que o campo, estado 2, registro 1).");
    x = bom;
    x[reg + 132] = char(10);
    GravarArquivo(arq, x);
    EXPECT_THROW(bd.LoadStations(), EVandoro);
    // A number that is not finite.
    x = bom;
    for (int i = 0; i < 8; ++i) x[reg + 69 + i] = '\xFF';
    GravarArquivo(arq, x);
    EXPECT_EQ(MensagemDe([&] { bd.LoadStations(); }), prefixo + "número inválido, estado 2, registro 1).");

    // Locality file cut inside a block that is only skipped.
    TLocalidadesPorEstado l;
    l[1].push_back(Localidade("L", "01°00'00\"", "50°00'00\""));
    const std::string arqL = tmp.Arquivo(kArquivoLocalidades);
    GravarLocalidades(arqL, l);
    const std::string bomL = LerArquivo(arqL);
    GravarArquivo(arqL, bomL.substr(0, 1 + 2 + 2 + 50));
    EXPECT_EQ(MensagemDe([&] { bd.LoadLocalities(10); }),
              "O arquivo " + arqL + " está danificado ou incompleto (fim inesperado, estado 1).");
}

TEST(ArquivosBanco, BytesAleatoriosNuncaDerrubamALeitura) {
    PastaTemporaria tmp;
    TEstacoesPorEstado e;
    TLocalidadesPorEstado l;
    for (int i = 0; i < kNumEstados; i += 3) {
        e[i].push_back(Estacao("E" + std::to_string(i), 1000 + i, 0.1, 10, 0.8, "20°00'00\"", "45°00'00\""));
        l[i].push_back(Localidade("L" + std::to_string(i), "20°00'00\"", "45°00'00\""));
    }
    GravarEstacoes(tmp.Arquivo(kArquivoEstacoes), e);
    GravarLocalidades(tmp.Arquivo(kArquivoLocalidades), l);
    const std::string bomE = LerArquivo(tmp.Arquivo(kArquivoEstacoes));
    const std::string bomL = LerArquivo(tmp.Arquivo(kArquivoLocalidades));
    const unsigned semente = 20261208;
    std::mt19937 rnd(semente);
    TBDPrecipitacao bd(tmp.Caminho());
    for (int it = 0; it < 300; ++it) {
        std::string x = it % 2 ? bomE : bomL;
        const int n = 1 + int(rnd() % 6);
        for (int k = 0; k < n; ++k) x[rnd() % x.size()] = char(rnd() & 0xFF);
        if (rnd() % 4 == 0) x.resize(rnd() % x.size());
        GravarArquivo(tmp.Arquivo(it % 2 ? kArquivoEstacoes : kArquivoLocalidades), x);
        try {
            if (it % 2) {
                bd.LoadStations();
                bd.InterpolateEquation("19°00'00\"", "44°00'00\"");
            } else {
                bd.LoadLocalities(int(rnd() % kNumEstados));
            }
        } catch (const EVandoro&) {
            // a clear message is all that is asked
        } catch (const std::exception& ex) {
            ADD_FAILURE() << "semente " << semente << ", passo " << it << ": " << ex.what();
        }
    }
}

// ---------------------------------------------------------------- interpolation

class Interpolacao : public ::testing::Test {
protected:
    void SetUp() override {
        // Target 20°S 45°W. Distances 1°, 2° and 2°; weights 1, 1/32, 1/32 (sum 1.0625).
        // Close equations: their parameter mean follows their mean curve.
        e_[12].push_back(Estacao("Sul", 1000, 0.15, 10, 0.75, "21°00'00\"", "45°00'00\"", "Fonte MG"));
        e_[24].push_back(Estacao("Oeste", 1200, 0.16, 11, 0.76, "20°00'00\"", "47°00'00\"", "Fonte SP"));
        e_[4].push_back(Estacao("Norte", 1500, 0.17, 12, 0.77, "18°00'00\"", "45°00'00\"", "Fonte BA"));
    }
    TBDPrecipitacao Gravar() {
        GravarEstacoes(tmp_.Arquivo(kArquivoEstacoes), e_);
        TBDPrecipitacao bd(tmp_.Caminho());
        bd.LoadStations();
        return bd;
    }
    PastaTemporaria tmp_;
    TEstacoesPorEstado e_;
};

TEST_F(Interpolacao, InversoDaQuintaPotenciaCalculadoAMao) {
    TBDPrecipitacao bd = Gravar();
    const StationRecord r = bd.InterpolateEquation("20°00'00\"", "45°00'00\"");
    EXPECT_NEAR(r.K, 1084.375 / 1.0625, 1e-9);  // 1020.588...
    EXPECT_NEAR(r.K, 1020.5882352941177, 1e-9);
    EXPECT_NEAR(r.A, 0.1603125 / 1.0625, 1e-12);
    EXPECT_NEAR(r.B, 10.71875 / 1.0625, 1e-12);
    EXPECT_NEAR(r.C, 0.7978125 / 1.0625, 1e-12);
    EXPECT_EQ(r.Name, "");
    EXPECT_EQ(r.Source, "Interpolação");
    EXPECT_EQ(r.Latitude, "20°00'00\"");
    EXPECT_EQ(r.Longitude, "45°00'00\"");
}

TEST_F(Interpolacao, EstacoesDeTodosOsEstadosEntram) {
    // Goiás and Ceará, 1° east and 1° north: weight 1 each, whatever state holds them.
    e_[8].push_back(Estacao("Goiás", 1100, 0.15, 10, 0.75, "20°00'00\"", "44°00'00\""));
    e_[5].push_back(Estacao("Ceará", 1300, 0.15, 10, 0.75, "19°00'00\"", "45°00'00\""));
    TBDPrecipitacao bd = Gravar();
    const StationRecord r = bd.InterpolateEquation("20°00'00\"", "45°00'00\"");
    EXPECT_NEAR(r.K, (1000 + 1100 + 1300 + 1200 / 32.0 + 1500 / 32.0) / 3.0625, 1e-9);
}

TEST_F(Interpolacao, TextoNomeiaOsEstadosComEstacoes) {
    TBDPrecipitacao bd = Gravar();
    EXPECT_EQ(bd.TextoInterpolacao(),
              "Interpolação realizada utilizando o Método do Inverso da Quinta Potência da Distância e "
              "considerando as informações de todas as localidades em que a equação de "
              "intensidade-duração-freqüência da precipitação é conhecida nas unidades da federação com "
              "estações no banco de dados: Bahia, Minas Gerais e São Paulo.");
    e_ = {};
    e_[20].push_back(Estacao("Sul", 1000, 0.15, 10, 0.75, "30°00'00\"", "51°00'00\""));
    EXPECT_TRUE(Gravar().TextoInterpolacao().ends_with("banco de dados: Rio Grande do Sul."));
}

TEST_F(Interpolacao, CoincidenciaExataDevolveAEstacao) {
    TBDPrecipitacao bd = Gravar();
    const StationRecord r = bd.InterpolateEquation("20°00'00\"", "47°00'00\"");
    EXPECT_EQ(r.Name, "Oeste");
    EXPECT_EQ(r.Source, "Fonte SP");
    EXPECT_EQ(r.K, 1200);
    EXPECT_EQ(r.C, 0.76);
    // Any state's station is found at its own coordinates.
    e_[20].push_back(Estacao("Gaúcha", 900, 0.15, 10, 0.75, "30°00'00\"", "51°00'00\"", "Fonte RS"));
    EXPECT_EQ(Gravar().InterpolateEquation("30°00'00\"", "51°00'00\"").Source, "Fonte RS");
}

TEST_F(Interpolacao, EquacoesIncompativeisSeguemAMediaDasIntensidades) {
    // Two equations that trade K, b and c off (as fitted grids do), 1° from the target each.
    e_ = {};
    e_[7].push_back(Estacao("b pequeno", 1500, 0.15, 1, 0.85, "20°00'00\"", "41°00'00\""));
    e_[12].push_back(Estacao("b grande", 200000, 0.20, 190, 1.44, "20°00'00\"", "43°00'00\""));
    TBDPrecipitacao bd = Gravar();
    const StationRecord r = bd.InterpolateEquation("20°00'00\"", "42°00'00\"");
    EXPECT_EQ(r.Source, "Interpolação");
    const StationRecord& s1 = e_[7][0];
    const StationRecord& s2 = e_[12][0];
    StationRecord mediaParametros = Estacao("", (s1.K + s2.K) / 2, (s1.A + s2.A) / 2, (s1.B + s2.B) / 2,
                                            (s1.C + s2.C) / 2, "", "");
    for (double tr : {2.0, 10.0, 100.0})
        for (double t : {5.0, 30.0, 60.0, 240.0, 1440.0}) {
            const double media = (Intensidade(s1, tr, t) + Intensidade(s2, tr, t)) / 2;
            // Two curves of different shapes have no exact mean equation; the fit stays close.
            EXPECT_NEAR(Intensidade(r, tr, t) / media, 1.0, 0.25) << tr << " " << t;
            // The plain mean of the parameters would be far from both stations.
            if (tr == 10 && t == 60) {
                EXPECT_GT(Intensidade(mediaParametros, tr, t) / media, 4.0);
            }
        }
}

TEST(AjusteEquacao, RecuperaUmaEquacaoDosSeusPontos) {
    std::vector<double> tr, t, i;
    for (double x : {2.0, 5.0, 10.0, 50.0})
        for (double y : {5.0, 15.0, 60.0, 180.0, 720.0}) {
            tr.push_back(x);
            t.push_back(y);
            i.push_back(1234.0 * std::pow(x, 0.17) / std::pow(y + 14.3, 0.81));
        }
    double K = 0, a = 0, b = 0, c = 0;
    ASSERT_TRUE(AjustarEquacao(tr, t, i, K, a, b, c));
    EXPECT_NEAR(K / 1234.0, 1.0, 1e-5);
    EXPECT_NEAR(a, 0.17, 1e-7);
    EXPECT_NEAR(b, 14.3, 1e-4);
    EXPECT_NEAR(c, 0.81, 1e-6);
    // Points that cannot make an equation.
    EXPECT_FALSE(AjustarEquacao({2, 5}, {10, 20}, {100, 90}, K, a, b, c));
    i[3] = -1;
    EXPECT_FALSE(AjustarEquacao(tr, t, i, K, a, b, c));
    std::vector<double> mesmoTr(tr.size(), 10.0);  // a cannot be told from K
    i[3] = 50;
    EXPECT_FALSE(AjustarEquacao(mesmoTr, t, i, K, a, b, c));
}

TEST_F(Interpolacao, TextoComOutroEspacamentoNaoCoincide) {
    // Two stations at the same place, written differently; the one visited first (BA) is
    // only at zero distance, the later one (SP) has the very texts asked for.
    e_[4].push_back(Estacao("Mesmo lugar", 5000, 0.5, 50, 1.5, "05°00'00\"", "40°00'00\"", "Fonte 1"));
    e_[24].push_back(Estacao("Mesmo texto", 6000, 0.6, 60, 1.6, " 5°00'00\"", "40°00'00\"", "Fonte 2"));
    TBDPrecipitacao bd = Gravar();
    EXPECT_EQ(bd.InterpolateEquation(" 5°00'00\"", "40°00'00\"").Name, "Mesmo texto");
    EXPECT_EQ(bd.InterpolateEquation("05°00'00\"", "40°00'00\"").Name, "Mesmo lugar");
    // Zero distance without equal texts: taken as the station itself, not an infinite weight.
    const StationRecord r = bd.InterpolateEquation("05°00'00\" ", "40°00'00\"");
    EXPECT_EQ(r.Name, "Mesmo lugar");
    EXPECT_EQ(r.K, 5000);
    EXPECT_TRUE(std::isfinite(r.K));
}

TEST_F(Interpolacao, SemEstacoesOuCoordenadaInvalida) {
    TBDPrecipitacao vazio(tmp_.Caminho());
    EXPECT_EQ(MensagemDe([&] { vazio.InterpolateEquation("20°00'00\"", "45°00'00\""); }),
              "Não há estações no banco de dados para a interpolação.");
    TBDPrecipitacao bd = Gravar();
    EXPECT_THROW(bd.InterpolateEquation("20 00 00", "45°00'00\""), EConversao);
    // A station with an unreadable text is named in the message.
    e_[18].push_back(Estacao("Quebrada", 1, 0.1, 1, 1, "2?°00'00\"", "43°00'00\""));
    TBDPrecipitacao bd2 = Gravar();
    const std::string m = MensagemDe([&] { bd2.InterpolateEquation("20°00'00\"", "45°00'00\""); });
    EXPECT_NE(m.find("Quebrada (Rio de Janeiro)"), std::string::npos) << m;
}

// ---------------------------------------------------------------- the shipped database

namespace {

std::string PastaEntregue() { return PastaBancoChuva(std::string(VANDORO_BIN_DIR) + "/"); }
std::string Fontes(const std::string& arq) { return std::string(VANDORO_SOURCE_DIR) + "/data/fontes/chuva/" + arq; }

std::vector<std::vector<std::string>> Csv(const std::string& path) {
    std::string t = LerArquivo(path);
    if (t.rfind("\xEF\xBB\xBF", 0) == 0) t.erase(0, 3);
    std::vector<std::vector<std::string>> r;
    std::istringstream in(t);
    std::string linha;
    while (std::getline(in, linha)) {
        if (!linha.empty() && linha.back() == '\r') linha.pop_back();
        if (linha.empty()) continue;
        std::vector<std::string> c(1);
        for (char ch : linha) {
            if (ch == ',')
                c.emplace_back();
            else
                c.back().push_back(ch);
        }
        r.push_back(c);
    }
    return r;
}

struct GradeAsc {
    int nc = 0, nr = 0;
    double xll = 0, yll = 0, cs = 0, nd = 0;
    std::vector<double> v;
    // Value of the cell holding the point, NaN outside or without data.
    double Em(double lat, double lon) const {
        const int c = int(std::floor((lon - xll) / cs)), r = nr - 1 - int(std::floor((lat - yll) / cs));
        if (c < 0 || r < 0 || c >= nc || r >= nr) return std::nan("");
        const double x = v[std::size_t(r) * nc + c];
        return x == nd ? std::nan("") : x;
    }
};

GradeAsc LerGrade(const std::string& path) {
    std::istringstream in(LerArquivo(path));
    GradeAsc g;
    std::string k;
    in >> k >> g.nc >> k >> g.nr >> k >> g.xll >> k >> g.yll >> k >> g.cs >> k >> g.nd;
    g.v.resize(std::size_t(g.nc) * g.nr);
    for (double& x : g.v) in >> x;
    EXPECT_TRUE(in) << path;
    return g;
}

class BancoEntregue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bd_ = new TBDPrecipitacao(PastaEntregue());
        bd_->LoadStations();
    }
    static void TearDownTestSuite() {
        delete bd_;
        bd_ = nullptr;
    }
    static TBDPrecipitacao* bd_;
};
TBDPrecipitacao* BancoEntregue::bd_ = nullptr;

}  // namespace

TEST_F(BancoEntregue, TodosOsEstadosTemEstacoes) {
    for (int e = 0; e < kNumEstados; ++e) {
        EXPECT_GT(bd_->Stations(e).size(), 0u) << TEstado::Nome(e);
        EXPECT_NE(bd_->TextoInterpolacao().find(TEstado::Nome(e)), std::string::npos) << TEstado::Nome(e);
    }
    EXPECT_TRUE(bd_->TextoInterpolacao().ends_with(": Acre, Alagoas, Amapá, Amazonas, Bahia, Ceará, Distrito Federal, "
                                                   "Espírito Santo, Goiás, Maranhão, Mato Grosso, Mato Grosso do Sul, "
                                                   "Minas Gerais, Pará, Paraíba, Paraná, Pernambuco, Piauí, Rio de "
                                                   "Janeiro, Rio Grande do Norte, Rio Grande do Sul, Rondônia, Roraima, "
                                                   "Santa Catarina, São Paulo, Sergipe e Tocantins."));
    std::size_t total = 0;
    for (int e = 0; e < kNumEstados; ++e) total += bd_->Stations(e).size();
    EXPECT_EQ(total, 1846u - 14u);  // the inventory without its Bolivian gauges
}

TEST_F(BancoEntregue, ParametrosPlausiveisEmTodaEstacao) {
    for (int e = 0; e < kNumEstados; ++e)
        for (const StationRecord& s : bd_->Stations(e)) {
            SCOPED_TRACE(s.Name);
            EXPECT_GT(s.K, 0);
            EXPECT_GT(s.A, 0);
            EXPECT_LT(s.A, 1);
            EXPECT_GE(s.B, 0);
            EXPECT_GT(s.C, 0.5);
            EXPECT_LT(s.C, 2);
            const double i = Intensidade(s, 10, 60);
            EXPECT_GT(i, 20);
            EXPECT_LT(i, 250);
            // Shorter storms are more intense; rarer storms too.
            EXPECT_GT(Intensidade(s, 10, 10), i);
            EXPECT_GT(Intensidade(s, 100, 60), i);
            EXPECT_EQ(s.Source, "GRIDF-BR (2025)");
            EXPECT_FALSE(s.Name.empty());
        }
}

TEST_F(BancoEntregue, CoordenadasEOrdemDoInventario) {
    const auto inv = Csv(Fontes("estacoes_ANA_inventario.csv"));
    ASSERT_EQ(inv[0][1], "Name");
    std::array<std::size_t, kNumEstados> pos{};
    std::size_t conferidas = 0;
    for (std::size_t i = 1; i < inv.size(); ++i) {
        const int e = TEstado::IndiceDoNome(inv[i][4]);
        if (e < 0) continue;
        ASSERT_LT(pos[e], bd_->Stations(e).size());
        const StationRecord& s = bd_->Stations(e)[pos[e]++];
        std::string nome = inv[i][1];
        while (!nome.empty() && nome.back() == ' ') nome.pop_back();
        for (std::size_t p; (p = nome.find("\xC2\x81")) != std::string::npos;) nome.erase(p, 2);
        EXPECT_EQ(s.Name.rfind(nome, 0), 0u) << s.Name << " / " << nome;
        const double lat = -std::atof(inv[i][6].c_str()), lon = -std::atof(inv[i][7].c_str());
        EXPECT_LT(std::fabs(CoordenadaParaGraus(s.Latitude) - lat), 1 / 3600.0 + 1e-9) << s.Name;
        EXPECT_LT(std::fabs(CoordenadaParaGraus(s.Longitude) - lon), 1 / 3600.0 + 1e-9) << s.Name;
        ++conferidas;
    }
    EXPECT_EQ(conferidas, 1832u);
    // Repeated names in one state are told apart by the gauge code.
    for (int e = 0; e < kNumEstados; ++e) {
        std::map<std::string, int> n;
        for (const StationRecord& s : bd_->Stations(e)) EXPECT_EQ(++n[s.Name], 1) << s.Name;
    }
}

TEST_F(BancoEntregue, LocalidadesDeCadaEstado) {
    std::size_t total = 0;
    for (int e = 0; e < kNumEstados; ++e) {
        bd_->LoadLocalities(e);
        EXPECT_FALSE(bd_->Localities().empty()) << e;
        total += bd_->Localities().size();
    }
    EXPECT_EQ(total, 5571u);
    bd_->LoadLocalities(6);
    ASSERT_EQ(bd_->Localities().size(), 1u);
    EXPECT_EQ(bd_->Localities()[0].Name, "Brasília");
    // Northern seats keep their hemisphere.
    bd_->LoadLocalities(22);
    bool boaVista = false;
    for (const LocalityRecord& l : bd_->Localities())
        if (l.Name == "Boa Vista") {
            boaVista = true;
            EXPECT_NEAR(CoordenadaParaGraus(l.Latitude), -2.82, 0.01);
        }
    EXPECT_TRUE(boaVista);
}

TEST_F(BancoEntregue, CapitaisInterpoladasPertoDaGrade) {
    const GradeAsc k = LerGrade(Fontes("IDF_k.asc")), a = LerGrade(Fontes("IDF_a.asc")),
                   b = LerGrade(Fontes("IDF_b.asc")), c = LerGrade(Fontes("IDF_c.asc"));
    const auto mun = Csv(Fontes("municipios.csv"));
    int conferidas = 0;
    for (const char* capital : {"Belo Horizonte", "São Paulo", "Curitiba", "Goiânia", "Palmas", "Vitória", "Salvador",
                                "Porto Alegre", "Cuiabá", "Manaus"}) {
        for (std::size_t i = 1; i < mun.size(); ++i) {
            if (mun[i][1] != capital || mun[i][4] != "1") continue;
            const double lat = std::atof(mun[i][2].c_str()), lon = std::atof(mun[i][3].c_str());
            StationRecord g;
            g.K = k.Em(lat, lon);
            g.A = a.Em(lat, lon);
            g.B = b.Em(lat, lon);
            g.C = c.Em(lat, lon);
            ASSERT_TRUE(std::isfinite(g.K + g.A + g.B + g.C)) << capital;
            const StationRecord r = bd_->InterpolateEquation(GrausParaCoordenada(-lat), GrausParaCoordenada(-lon));
            EXPECT_EQ(r.Source, "Interpolação") << capital;
            const double ig = Intensidade(g, 10, 60), ir = Intensidade(r, 10, 60);
            EXPECT_NEAR(ir / ig, 1.0, 0.15) << capital << ": " << ir << " x " << ig;
            ++conferidas;
        }
    }
    EXPECT_EQ(conferidas, 10);
}

TEST_F(BancoEntregue, PortoAlegreSegueASuaEstacao) {
    // The city's own station lies a few kilometres off; Paraná's are hundreds away.
    const StationRecord* estacao = nullptr;
    for (const StationRecord& s : bd_->Stations(20))
        if (s.Name.rfind("PORTO ALEGRE", 0) == 0 && !estacao) estacao = &s;
    ASSERT_NE(estacao, nullptr);
    const StationRecord r = bd_->InterpolateEquation(GrausParaCoordenada(30.0318), GrausParaCoordenada(51.2065));
    EXPECT_EQ(r.Source, "Interpolação");
    EXPECT_NEAR(Intensidade(r, 10, 60) / Intensidade(*estacao, 10, 60), 1.0, 0.05)
        << Intensidade(r, 10, 60) << " x " << Intensidade(*estacao, 10, 60);
}

TEST_F(BancoEntregue, LocalidadesInterpoladasSeguemAsEstacoesVizinhas) {
    // At every seat of every state the interpolated storm stays near the weighted mean
    // of the stations' own intensities (Tr 10 years, 60 min), within the stations' range.
    struct P {
        double phi, lambda, i;
    };
    std::vector<P> estacoes;
    for (int f = 0; f < kNumEstados; ++f)
        for (const StationRecord& s : bd_->Stations(f))
            estacoes.push_back({CoordenadaParaGraus(s.Latitude), CoordenadaParaGraus(s.Longitude), Intensidade(s, 10, 60)});
    double pior = 0;
    std::string onde;
    for (int e = 0; e < kNumEstados; ++e) {
        bd_->LoadLocalities(e);
        for (const LocalityRecord& l : bd_->Localities()) {
            const double phi = CoordenadaParaGraus(l.Latitude), lambda = CoordenadaParaGraus(l.Longitude);
            double W = 0, soma = 0, menor = 1e9, maior = 0;
            bool naEstacao = false;
            for (const P& s : estacoes) {
                const double d = std::hypot(s.phi - phi, s.lambda - lambda);
                if (d == 0) naEstacao = true;
                const double w = 1 / std::pow(std::max(d, 1e-9), 5);
                W += w;
                soma += w * s.i;
                menor = std::min(menor, s.i);
                maior = std::max(maior, s.i);
            }
            if (naEstacao) continue;
            const double i = Intensidade(bd_->InterpolateEquation(l.Latitude, l.Longitude), 10, 60);
            const double desvio = std::fabs(i / (soma / W) - 1);
            if (desvio > pior) {
                pior = desvio;
                onde = l.Name;
            }
            EXPECT_GE(i, menor) << l.Name;
            EXPECT_LE(i, maior) << l.Name;
        }
    }
    EXPECT_LT(pior, 0.10) << onde;
}

TEST_F(BancoEntregue, TabelaDeReferencias) {
    TReferencia ref;
    ASSERT_TRUE(LerReferencia(PastaEntregue(), "GRIDF-BR (2025)   ", ref));
    EXPECT_EQ(ref.Autores, "Marcus N. Gomes Jr.");
    EXPECT_EQ(ref.Titulo.rfind("Gridded Bias-Corrected Intensity–Duration–Frequency Curves for Brazil", 0), 0u);
    EXPECT_NE(ref.Publicacao.find("GRIDF"), std::string::npos);
    EXPECT_FALSE(LerReferencia(PastaEntregue(), "Outro (1990)", ref));
    EXPECT_FALSE(LerReferencia(PastaEntregue(), "Interpolação", ref));
    PastaTemporaria tmp;
    EXPECT_FALSE(LerReferencia(tmp.Caminho(), "GRIDF-BR (2025)", ref));
}

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/common/Win1252.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"

namespace {

// An IDF storm of the kind the rainfall database gives: i = K·Tr^a/(t + b)^c.
TPrecipitacaoExponencialNegativa ChuvaProjeto() {
    TPrecipitacaoExponencialNegativa s;
    s.SetK(1000);
    s.SetTr(10);
    s.SetA(0.15);
    s.SetB(10);
    s.SetC(0.75);
    s.SetDuracao(0);
    return s;
}

// Row crop on contour lines, good condition; CN 92 for VIB up to 40 mm/h.
TNumeroDaCurva Lavoura(double vib, double st = 0.06) {
    TNumeroDaCurva cn;
    cn.UsoDoSolo().SetIndex(1);
    cn.Tratamento().SetIndex(2);
    cn.CondicaoHidrologica().SetIndex(3);
    cn.SetVIB(vib);
    cn.SetSt(st);
    cn.nt().SetValue(0.1);
    return cn;
}

// What the sizing window sets before sizing: triangular section, Sm, B = 0, Z = 0.
void CanalJanela(TSistemaConservacao& s, double sm, double eh) {
    s.Secao().SetIndex(1);
    s.Sm().SetValue(sm);
    s.SetB(0);
    s.Z().SetValue(0);
    s.Espacamento().Metodologia().SetIndex(3);
    s.Espacamento().SetEH(eh);
}

void Graduado(TTerracosGradiente& g, double eh = 25, int comp = 600, double sc = 0.005, double nc = 0.03) {
    CanalJanela(g, 1, eh);
    g.SetComprimento(comp);
    g.SetSc(sc);
    g.nc().SetValue(nc);
}

// Manning discharge (m³/s) of a V-channel whose walls rise with slopes sm and st.
double VazaoManningV(double y, double sm, double st, double sc, double nc) {
    const double A = y * y * (sm + st) / (2 * sm * st);
    const double P = y * (1 / std::sin(std::atan(sm)) + 1 / std::sin(std::atan(st)));
    return A * std::pow(A / P, 2.0 / 3.0) * std::sqrt(sc) / nc;
}

}  // namespace

// ------------------------------------------------------------------ type names, selection

TEST(TipoSistema, NomesEArquivo) {
    EXPECT_EQ(TTipoSistemaConservacao::Name(0), "Terraços em Nível (sem drenagem)");
    EXPECT_EQ(TTipoSistemaConservacao::Name(1), "Terraços com Gradiente (com drenagem)");
    EXPECT_EQ(TTipoSistemaConservacao::Name(5), "Bacia Acumulação");
    EXPECT_EQ(TTipoSistemaConservacao::Name(6), "");

    PastaTemporaria pasta;
    const std::string f = pasta.Arquivo("p.kzp");
    TTipoSistemaConservacao t;
    EXPECT_EQ(t.Index(), 0);
    t.SetIndex(5);
    ASSERT_TRUE(t.SaveToProject(f));
    EXPECT_EQ(LerArquivo(f), "[TipoSistema]\r\nVersao=1\r\nTipo=5\r\n");
    TTipoSistemaConservacao lido;
    ASSERT_TRUE(lido.LoadFromProject(f));
    EXPECT_EQ(lido.Index(), 5);

    GravarArquivo(f, "[TipoSistema]\r\nVersao=1\r\nTipo=6\r\n");
    EXPECT_FALSE(lido.LoadFromProject(f));
    EXPECT_EQ(lido.Index(), 5);
    GravarArquivo(f, "[TipoSistema]\r\nTipo=1\r\n");  // no version
    EXPECT_FALSE(lido.LoadFromProject(f));
}

TEST(SelecaoTipoTerraco, LimitesDeCadaMetodo) {
    TSelecaoTipoTerraco s;
    auto texto = [&](int metodo, double S) {
        s.SetMetodoSelecao(std::int8_t(metodo));
        s.Recommend(S);
        return s.TipoRecomendado();
    };
    const std::string larga = "Terraços de Base Larga";
    // Paraná: closed ranges from 2 to 50 %.
    EXPECT_EQ(texto(0, 1.5), "");
    EXPECT_EQ(texto(0, 2), larga);
    EXPECT_EQ(texto(0, 8), larga);
    EXPECT_EQ(texto(0, 8.01), "Terraço com lado posterior do dique íngreme e Terraços de base média");
    EXPECT_EQ(texto(0, 12), "Terraço com lado posterior do dique íngreme e Terraços de base média");
    EXPECT_EQ(texto(0, 12.5), "Terraços de Base Estreita");
    EXPECT_EQ(texto(0, 18), "Terraços de Base Estreita");
    EXPECT_EQ(texto(0, 18.5), "Terraços em Patamar");
    EXPECT_EQ(texto(0, 50), "Terraços em Patamar");
    EXPECT_EQ(texto(0, 50.01), "");
    // Emater/RS: half-open ranges.
    EXPECT_EQ(texto(1, 0.5), "Terraços de base larga sem captação de água externa à propriedade");
    EXPECT_EQ(texto(1, 9), "Dois terraços de base larga e um terraço Tipo murundum (intercalados)");
    EXPECT_EQ(texto(1, 10), "Um terraço de base larga e um terraço Tipo murundum (intercalados)");
    EXPECT_EQ(texto(1, 11.99), "Um terraço de base larga e um terraço Tipo murundum (intercalados)");
    EXPECT_EQ(texto(1, 12), "Terraços Tipo Murundum");
    // Lombardi Neto.
    EXPECT_EQ(texto(2, 7.99), larga);
    EXPECT_EQ(texto(2, 8), "Terraços de Base Média");
    EXPECT_EQ(texto(2, 12), "Terraços de Base Estreita (incluindo terraço Tipo embutido, leirão ou murundum)");
    EXPECT_EQ(texto(2, 18), "Terraços em Patamar");
    EXPECT_EQ(texto(2, 90), "Terraços em Patamar");
    // Arbitrary type keeps its own text whatever the slope; no method gives nothing.
    s.SetArbitraryType(3);
    EXPECT_EQ(s.TipoRecomendado(), "Terraço do Tipo murundum");
    EXPECT_EQ(texto(3, 5), "Terraço do Tipo murundum");
    EXPECT_EQ(texto(-1, 5), "");
    s.SetArbitraryType(0);
    EXPECT_EQ(s.TipoRecomendado(), "Terraço de base estreita");
    s.SetArbitraryType(4);
    EXPECT_EQ(s.TipoRecomendado(), "Terraço em patamar");
    s.SetArbitraryType(5);
    EXPECT_EQ(s.TipoRecomendado(), "");
    s.SetArbitraryType(-2);
    EXPECT_EQ(s.TipoArbitradoIndex(), -2);
    EXPECT_EQ(s.TipoRecomendado(), "");
}

// ------------------------------------------------------------------------- level sizing

TEST(TerracosNivel, AlturaDasSecoes) {
    TTerracosNivel n;
    EXPECT_DOUBLE_EQ(n.CapacidadeArmazenamento(), 1.5);
    EXPECT_EQ(n.TipoSistema().Index(), 0);

    // V-channel: the area y²·(St + Sm)/(2·St·Sm) holds LES/1000·EH per metre.
    CanalJanela(n, 1, 25);
    n.SizeForRunoff(20, 0.08);
    EXPECT_NEAR(n.H(), 0.2722, 1e-4);
    EXPECT_NEAR(n.H() * n.H() * 1.08 / (2 * 0.08), 0.020 * 25, 1e-12);

    // Rectangle 0.5 m wide: 10 mm over 20 m is 0.2 m² per metre, 0.4 m deep.
    n.Secao().SetIndex(0);
    n.SetB(0.5);
    n.Espacamento().SetEH(20);
    n.SizeForRunoff(10, 0.08);
    EXPECT_NEAR(n.H(), 0.4, 1e-12);

    // Trapezoid B = 0.5, Z = 1: y·(0.5 + y) = 0.2.
    n.Z().SetValue(1);
    n.SizeForRunoff(10, 0.08);
    EXPECT_NEAR(n.H(), (std::sqrt(1.05) - 0.5) / 2, 1e-12);
    EXPECT_NEAR(n.H() * (0.5 + n.H()), 0.2, 1e-12);

    // A rectangle without width cannot hold anything; the height stays as it was.
    n.Z().SetValue(0);
    n.SetB(0);
    const double antes = n.H();
    EXPECT_EQ(MensagemDe([&] { n.SizeForRunoff(10, 0.08); }), "Erro no dimensinamento de canal");
    EXPECT_DOUBLE_EQ(n.H(), antes);
    // Both walls flat: no V-channel.
    n.Secao().SetIndex(1);
    n.Sm().SetValue(0);
    EXPECT_EQ(MensagemDe([&] { n.SizeForRunoff(10, 0); }), "Erro no dimensinamento de canal");
}

TEST(TerracosNivel, TempestadeDeProjetoEAlturaParaOutroEspacamento) {
    auto chuva = ChuvaProjeto();
    TNumeroDaCurva cn = Lavoura(20, 0.08);
    const double les = cn.RunoffDepth(chuva);
    ASSERT_GT(les, 5);
    ASSERT_LT(les, 200);

    TTerracosNivel n;
    CanalJanela(n, 1, 25);
    n.SizeChannel(cn, chuva);
    EXPECT_NEAR(n.H() * n.H() * 1.08 / (2 * 0.08), les / 1000 * 25, 1e-12);
    const double h25 = n.H();

    // HeightFor answers for another spacing without touching the design.
    const double h50 = n.HeightFor(cn, chuva, 50);
    EXPECT_NEAR(h50, h25 * std::sqrt(2.0), 1e-12);
    EXPECT_DOUBLE_EQ(n.Espacamento().EH(), 25);
    EXPECT_DOUBLE_EQ(n.H(), h25);
    TTerracosNivel direto;
    CanalJanela(direto, 1, 50);
    direto.SizeChannel(cn, chuva);
    EXPECT_DOUBLE_EQ(direto.H(), h50);

    // A failing evaluation leaves the design too.
    n.Secao().SetIndex(0);
    EXPECT_EQ(MensagemDe([&] { n.HeightFor(cn, chuva, 50); }), "Erro no dimensinamento de canal");
    EXPECT_DOUBLE_EQ(n.H(), h25);
    EXPECT_DOUBLE_EQ(n.Espacamento().EH(), 25);

    // No runoff, no height.
    n.Secao().SetIndex(1);
    TNumeroDaCurva seco = Lavoura(400, 0.08);
    n.SizeChannel(seco, chuva);
    EXPECT_EQ(n.H(), 0);
}

// ------------------------------------------------------------------------ graded sizing

TEST(TerracosGradiente, VazaoEAlturaFisicas) {
    auto chuva = ChuvaProjeto();
    const TNumeroDaCurva cn = Lavoura(20);
    TTerracosGradiente g;
    EXPECT_EQ(g.TipoSistema().Index(), 1);
    Graduado(g);
    g.SizeChannel(cn, chuva);
    const double q = g.Q(), h = g.H();
    EXPECT_GT(q, 1);  // L/s
    EXPECT_LT(q, 2000);
    // H is the Manning depth of Q in the V-channel of walls Sm = 1 and St.
    EXPECT_NEAR(VazaoManningV(h, 1, cn.St(), 0.005, 0.03), q / 1000, 1e-9 * q);

    // A peak flow cannot exceed the whole strip receiving the peak excess rain.
    const double i0 = 1000 * std::pow(10, 0.15) / std::pow(10, 0.75);
    EXPECT_LT(q / 1000, (i0 - 20) / 3.6e6 * 25 * 600);

    // More channel and a wider strip collect more water.
    const auto longo = g.HeightAndFlowFor(cn, chuva, 25, 0.005, 0.03, 1000);
    const auto largo = g.HeightAndFlowFor(cn, chuva, 50, 0.005, 0.03, 600);
    const auto curto = g.HeightAndFlowFor(cn, chuva, 25, 0.005, 0.03, 200);
    EXPECT_GT(longo.Q, q);
    EXPECT_GT(largo.Q, q);
    EXPECT_LT(curto.Q, q);
    EXPECT_GT(longo.H, h);
    // A rougher channel flows deeper; infiltration takes water away.
    EXPECT_GT(g.HeightAndFlowFor(cn, chuva, 25, 0.005, 0.06, 600).H, h);
    TTerracosGradiente g60;
    Graduado(g60);
    g60.SizeChannel(Lavoura(60), chuva);
    EXPECT_LT(g60.Q(), q);
}

TEST(TerracosGradiente, AvaliacaoNaoMudaOSistema) {
    auto chuva = ChuvaProjeto();
    const TNumeroDaCurva cn = Lavoura(20);
    TTerracosGradiente g;
    Graduado(g);
    g.SizeChannel(cn, chuva);
    const double q = g.Q(), h = g.H();

    const auto r = g.HeightAndFlowFor(cn, chuva, 40, 0.004, 0.025, 800);
    TTerracosGradiente direto;
    Graduado(direto, 40, 800, 0.004, 0.025);
    direto.SizeChannel(cn, chuva);
    EXPECT_DOUBLE_EQ(r.Q, direto.Q());
    EXPECT_DOUBLE_EQ(r.H, direto.H());

    auto inalterado = [&] {
        EXPECT_DOUBLE_EQ(g.Q(), q);
        EXPECT_DOUBLE_EQ(g.H(), h);
        EXPECT_DOUBLE_EQ(g.Espacamento().EH(), 25);
        EXPECT_DOUBLE_EQ(g.Sc(), 0.005);
        EXPECT_DOUBLE_EQ(g.nc().Value(), 0.03);
        EXPECT_EQ(g.Comprimento(), 600);
    };
    inalterado();
    // A channel without roughness cannot be routed; the design stays.
    EXPECT_EQ(MensagemDe([&] { g.HeightAndFlowFor(cn, chuva, 40, 0.004, 0, 800); }),
              "Erro no dimensinamento dos canais");
    inalterado();
    // Lengths no terrace has are refused at once instead of running for minutes.
    EXPECT_EQ(MensagemDe([&] { g.HeightAndFlowFor(cn, chuva, 10001, 0.004, 0.03, 800); }),
              "Erro no dimensinamento dos canais");
    EXPECT_EQ(MensagemDe([&] { g.HeightAndFlowFor(cn, chuva, 25, 0.004, 0.03, 10001); }),
              "Erro no dimensinamento dos canais");
    inalterado();
    // The same through the stored values.
    g.SetSc(0);
    EXPECT_EQ(MensagemDe([&] { g.SizeChannel(cn, chuva); }), "Erro no dimensinamento dos canais");
}

TEST(TerracosGradiente, SemEscoamentoDaZero) {
    auto chuva = ChuvaProjeto();
    TTerracosGradiente g;
    Graduado(g);
    g.SetQ(55);
    g.SetH(0.3);
    // The soil takes in more than the storm's heaviest rain.
    g.SizeChannel(Lavoura(400), chuva);
    EXPECT_EQ(g.Q(), 0);
    EXPECT_EQ(g.H(), 0);
    // A spacing below half a metre leaves no strip to drain.
    Graduado(g, 0.4);
    g.SizeChannel(Lavoura(20), chuva);
    EXPECT_EQ(g.Q(), 0);
    EXPECT_EQ(g.H(), 0);
}

// --------------------------------------------------------------------------- project file

class SistemaArquivo : public ::testing::TestWithParam<bool> {};

TEST_P(SistemaArquivo, IdaEVolta) {
    RegionalFixo fixo(GetParam() ? Regional::PtBR() : Regional::EnUS());
    PastaTemporaria pasta;
    const std::string f = pasta.Arquivo("p.kzp");

    TTerracosNivel n("_X");
    CanalJanela(n, 0.75, 23.5);
    n.SetH(0.315);
    n.SetHr(45.2);
    n.SetCDu(1.25);
    n.Sm().SetIndex(2);
    n.SetCapacidadeArmazenamento(2.75);
    n.Espacamento().Metodologia().SetIndex(2);
    n.Espacamento().Solo().SetFamilia(TSolo::FamiliaParana);
    n.Espacamento().Solo().SetIndex(2);
    n.Espacamento().SetEV(1.88);
    n.Selecao().SetMetodoSelecao(TSelecaoTipoTerraco::LombardiNeto);
    n.Selecao().SetArbitraryType(2);
    ASSERT_TRUE(n.SaveToProject(f));

    // Channel sections, then "Terracos" around the spacing, then the level keys.
    const std::string texto = Win1252ToUtf8(LerArquivo(f));
    const auto canal = texto.find("[Canal_X]"), grad = texto.find("[CanalGradiente_X]"),
               terr = texto.find("[Terracos_X]\r\nVersao=1\r\nTipoSistema=0\r\nCapacidadeArmazenamento=2" +
                                 std::string(GetParam() ? "," : ".") + "75\r\n"),
               esp = texto.find("[ESPAÇAMENTO_X]"), niv = texto.find("[TerracosNivel_X]\r\nVersao=1\r\n"
                                                                    "MetTipoTerraco=2\r\nTipoArbitrado=2\r\n");
    ASSERT_NE(terr, std::string::npos);
    ASSERT_NE(niv, std::string::npos);
    EXPECT_LT(canal, grad);
    EXPECT_LT(grad, terr);
    EXPECT_LT(terr, esp);
    EXPECT_LT(esp, niv);

    TTerracosNivel lido("_X");
    ASSERT_TRUE(lido.LoadFromProject(f));
    EXPECT_DOUBLE_EQ(lido.H(), 0.315);
    EXPECT_DOUBLE_EQ(lido.Hr(), 45.2);
    EXPECT_DOUBLE_EQ(lido.CDu(), 1.25);
    EXPECT_DOUBLE_EQ(lido.Sm().Value(), 0.75);
    EXPECT_EQ(lido.Sm().Index(), 2);
    EXPECT_DOUBLE_EQ(lido.CapacidadeArmazenamento(), 2.75);
    EXPECT_DOUBLE_EQ(lido.Espacamento().EH(), 23.5);
    EXPECT_DOUBLE_EQ(lido.Espacamento().EV(), 1.88);
    EXPECT_EQ(lido.Espacamento().Metodologia().Index(), 2);
    EXPECT_EQ(lido.Espacamento().Solo().Index(), 2);
    EXPECT_EQ(lido.TipoSistema().Index(), 0);
    EXPECT_EQ(lido.Selecao().MetodoSelecao(), 2);
    EXPECT_EQ(lido.Selecao().TipoArbitradoIndex(), 2);
    EXPECT_EQ(lido.Selecao().TipoRecomendado(), "Terraço de base larga");

    TTerracosGradiente g;
    Graduado(g, 31.25, 740, 0.0035, 0.0175);
    g.SetQ(123.456);
    g.SetH(0.1875);
    ASSERT_TRUE(g.SaveToProject(f));
    TTerracosGradiente gl;
    ASSERT_TRUE(gl.LoadFromProject(f));
    EXPECT_DOUBLE_EQ(gl.Q(), 123.456);
    EXPECT_DOUBLE_EQ(gl.H(), 0.1875);
    EXPECT_DOUBLE_EQ(gl.Sc(), 0.0035);
    EXPECT_DOUBLE_EQ(gl.nc().Value(), 0.0175);
    EXPECT_EQ(gl.Comprimento(), 740);
    EXPECT_DOUBLE_EQ(gl.Espacamento().EH(), 31.25);
    EXPECT_EQ(gl.TipoSistema().Index(), 1);
    // The graded system writes no level section.
    EXPECT_TRUE(IniFile(f).SectionExists("TerracosNivel_X"));
    EXPECT_FALSE(IniFile(f).SectionExists("TerracosNivel"));
}

INSTANTIATE_TEST_SUITE_P(Regionais, SistemaArquivo, ::testing::Values(true, false),
                         [](const auto& i) { return std::string(i.param ? "ptBR" : "enUS"); });

TEST(SistemaArquivo, VerificacoesDaLeitura) {
    RegionalFixo fixo(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string f = pasta.Arquivo("p.kzp");
    TTerracosNivel base;
    CanalJanela(base, 1, 20);
    base.SetCapacidadeArmazenamento(3);
    base.Selecao().SetMetodoSelecao(1);
    ASSERT_TRUE(base.SaveToProject(f));

    auto com = [&](const std::string& sec, const std::string& chave, const std::string& valor) {
        ASSERT_TRUE(base.SaveToProject(f));
        IniFile ini(f);
        ini.WriteString(sec, chave, valor);
        ini.UpdateFile();
    };

    // A system type beyond 0..3 fails after channel and spacing were read; the capacity and
    // the level section are left alone.
    for (const char* tipo : {"7", "5", "-1"}) {
        com("Terracos", "TipoSistema", tipo);
        {
            IniFile ini(f);
            ini.WriteFloat("ESPAÇAMENTO", "EH", 44);
            ini.WriteString("TerracosNivel", "MetTipoTerraco", "3");
        }
        TTerracosNivel n;
        n.SetCapacidadeArmazenamento(9);
        EXPECT_FALSE(n.LoadFromProject(f)) << tipo;
        EXPECT_DOUBLE_EQ(n.Sm().Value(), 1) << tipo;
        EXPECT_DOUBLE_EQ(n.Espacamento().EH(), 44) << tipo;
        EXPECT_DOUBLE_EQ(n.CapacidadeArmazenamento(), 9) << tipo;
        EXPECT_EQ(n.Selecao().MetodoSelecao(), 0) << tipo;
    }
    // 2 and 3 are accepted and kept by the system's own type object.
    com("Terracos", "TipoSistema", "3");
    TTerracosNivel n;
    ASSERT_TRUE(n.LoadFromProject(f));
    EXPECT_EQ(n.TipoSistema().Index(), 3);
    n.Clear();
    EXPECT_EQ(n.TipoSistema().Index(), 0);

    // Another "Terracos" version skips its keys only.
    com("Terracos", "Versao", "2");
    n.SetCapacidadeArmazenamento(9);
    ASSERT_TRUE(n.LoadFromProject(f));
    EXPECT_DOUBLE_EQ(n.CapacidadeArmazenamento(), 9);
    EXPECT_EQ(n.Selecao().MetodoSelecao(), 1);

    // A capacity of zero or less reads as 1.
    com("Terracos", "CapacidadeArmazenamento", "0");
    ASSERT_TRUE(n.LoadFromProject(f));
    EXPECT_DOUBLE_EQ(n.CapacidadeArmazenamento(), 1.0);

    // Failing parts.
    com("ESPAÇAMENTO", "IndSolo", "3");  // the soil table has three rows
    EXPECT_FALSE(n.LoadFromProject(f));
    com("Canal", "Versao", "0");
    EXPECT_FALSE(n.LoadFromProject(f));
    com("TerracosNivel", "Versao", "2");
    EXPECT_FALSE(n.LoadFromProject(f));
    com("TerracosNivel", "MetTipoTerraco", "4");
    EXPECT_FALSE(n.LoadFromProject(f));
    com("TerracosNivel", "TipoArbitrado", "-3");
    EXPECT_FALSE(n.LoadFromProject(f));
    // The graded system does not need the level section.
    {
        ASSERT_TRUE(base.SaveToProject(f));
        IniFile ini(f);
        ini.EraseSection("TerracosNivel");
        ini.UpdateFile();
    }
    TTerracosGradiente g;
    EXPECT_TRUE(g.LoadFromProject(f));
    EXPECT_FALSE(n.LoadFromProject(f));
    EXPECT_FALSE(n.LoadFromProject(pasta.Arquivo("nao/existe.kzp")));
}

TEST(TerracosNivel, ClearEAssign) {
    TTerracosNivel a;
    CanalJanela(a, 0.5, 30);
    a.SetH(0.4);
    a.SetCapacidadeArmazenamento(4);
    a.TipoSistema().SetIndex(2);
    a.Selecao().SetMetodoSelecao(2);
    a.Selecao().Recommend(10);
    TTerracosNivel b;
    b.Assign(a);
    EXPECT_DOUBLE_EQ(b.H(), 0.4);
    EXPECT_DOUBLE_EQ(b.Sm().Value(), 0.5);
    EXPECT_DOUBLE_EQ(b.Espacamento().EH(), 30);
    EXPECT_DOUBLE_EQ(b.CapacidadeArmazenamento(), 4);
    EXPECT_EQ(b.TipoSistema().Index(), 2);
    EXPECT_EQ(b.Selecao().TipoRecomendado(), "Terraços de Base Média");
    a.Clear();
    EXPECT_EQ(a.H(), 0);
    EXPECT_EQ(a.Espacamento().EH(), 0);
    EXPECT_EQ(a.Espacamento().Metodologia().Index(), 1);
    EXPECT_DOUBLE_EQ(a.CapacidadeArmazenamento(), 1.5);
    EXPECT_EQ(a.Selecao().TipoRecomendado(), "");
    EXPECT_EQ(a.Selecao().MetodoSelecao(), 0);
    EXPECT_EQ(a.Secao().Index(), 1);
}

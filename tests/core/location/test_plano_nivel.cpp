#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "GradesSinteticas.h"
#include "ModeloLocacao.h"
#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"

TEST(PlanoNivel, RoundTripsThroughTheProjectAndOldOrDamagedValuesReadAsTheDefaults) {
    PastaTemporaria pasta;
    const std::string projeto = pasta.Arquivo("p.kzp");
    TLocacaoNivel a;
    a.SetPlano(TPlanoNivel{7, 80.5, 20, 2.5});
    ASSERT_TRUE(a.Save(projeto));
    TLocacaoNivel b;
    ASSERT_TRUE(b.Load(projeto));
    EXPECT_EQ(b.Plano().maxTerracos, 7);
    EXPECT_EQ(b.Plano().comprimentoMinimo, 80.5);
    EXPECT_EQ(b.Plano().raioMinimo, 20);
    EXPECT_EQ(b.Plano().toleranciaCm, 2.5);
    // The longest graded channel is written only when set: a level project's file is as it was.
    EXPECT_EQ(b.Plano().comprimentoMaximoCanal, 1500);
    EXPECT_EQ(LerArquivo(projeto).find("ComprimentoMaximoCanal"), std::string::npos);
    a.SetPlano(TPlanoNivel{7, 80.5, 20, 2.5, 800});
    ASSERT_TRUE(a.Save(projeto));
    ASSERT_TRUE(b.Load(projeto));
    EXPECT_EQ(b.Plano().comprimentoMaximoCanal, 800);
    // A project written before the plan existed, and one whose count would wrap an int.
    for (const char* texto : {"[LOCACAONIVEL]\r\nfnImgElev=e.asc\r\n",
                              "[LOCACAONIVEL]\r\nMaxTerracos=4294967299\r\nRaioMinimo=20\r\n"}) {
        std::ofstream(projeto, std::ios::binary | std::ios::trunc) << texto;
        TLocacaoNivel c;
        c.SetPlano(TPlanoNivel{3, 1, 1, 1});
        ASSERT_TRUE(c.Load(projeto));
        EXPECT_EQ(c.Plano().maxTerracos, 0) << texto;
        EXPECT_EQ(c.Plano().comprimentoMinimo, 50) << texto;
        EXPECT_EQ(c.Plano().raioMinimo, 15) << texto;
        EXPECT_EQ(c.Plano().toleranciaCm, 5) << texto;
    }
}

TEST(PlanoNivel, EachValueHasItsLimitsAndACountNeverWraps) {
    EXPECT_EQ(MaxTerracosDe(0), 0);
    EXPECT_EQ(MaxTerracosDe(32767), 32767);
    EXPECT_EQ(MaxTerracosDe(4294967299.0), 32768);
    EXPECT_EQ(MaxTerracosDe(2.5), -1);
    EXPECT_EQ(MaxTerracosDe(-1), -1);
    std::string m;
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{}, m), -1);
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{32768, 50, 15, 5}, m), 0);
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, -1, 15, 5}, m), 1);
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, 50, 500.5, 5}, m), 2);
    EXPECT_EQ(m, "Raio mínimo de curva inválido: use um valor de 0 a 500 m (0 mantém as linhas traçadas).");
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, 0, 0, 100}, m), -1);  // traced lines, no minimum
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, 50, 15, 0}, m), 3);
    EXPECT_ERRO(EVandoro, "Tolerância de nível inválida: use um valor maior que 0 e até 100 cm.",
                ChecaPlanoNivel(TPlanoNivel{0, 50, 15, 100.5}));
    // No graded channel longer than its sizing takes.
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, 50, 15, 5, 1500}, m), -1);
    EXPECT_EQ(CampoForaDoPlano(TPlanoNivel{0, 50, 15, 5, 1500.5}, m), 4);
    EXPECT_ERRO(EVandoro, "Comprimento máximo do canal inválido: use um valor maior que 0 e até 1500 m.",
                ChecaPlanoNivel(TPlanoNivel{0, 50, 15, 5, 0}));
}

TEST(PlanoNivel, AModelSteppedCoarserThanAThirdOfTheIntervalIsCaughtBeforeTheRun) {
    PastaTemporaria pasta;
    // A cone in whole metres (as a 16-bit integer survey gives it) and the same cone unrounded.
    const auto cone = [](double x, double y) { return 30 - 0.1 * std::hypot(x - 40.5, y - 40.5); };
    const auto degraus = [&](double x, double y) { return std::round(cone(x, y)); };
    TArquivosLocacao inteiro, continuo;
    inteiro.elevacao = pasta.Arquivo("i.asc");
    inteiro.declividade = pasta.Arquivo("i_decl.asc");
    continuo.elevacao = pasta.Arquivo("c.asc");
    continuo.declividade = pasta.Arquivo("c_decl.asc");
    GravarAsc(inteiro.elevacao, 80, 80, 1.0, degraus);
    GravarDeclividade(inteiro.declividade, 80, 80, 1.0, cone);
    GravarAsc(continuo.elevacao, 80, 80, 1.0, cone);
    GravarDeclividade(continuo.declividade, 80, 80, 1.0, cone);
    EXPECT_EQ(PassoDeElevacao(LerGradesLocacao(inteiro.elevacao, inteiro.declividade).elev), 1.0);
    EXPECT_LT(PassoDeElevacao(LerGradesLocacao(continuo.elevacao, continuo.declividade).elev), 0.01);
    // Past a million cells every third cell in reading order is looked at (3 000 499 cells):
    // those in whole metres, the others a quarter off, with rows that do not start on one.
    TMatrixSingle grande;
    grande.SetRowCount(1501);
    grande.SetColCount(1999);
    for (long long i = 0; i < 1999LL * 1501; ++i)
        grande.SetCell(int(i / 1999) + 1, int(i % 1999) + 1,
                       i % 3 == 0 ? static_cast<float>(100 + i / 3 % 50) : 100.25f + static_cast<float>(i % 7) / 8);
    EXPECT_EQ(PassoDeElevacao(grande), 1.0);
    // A given interval of 2 m: a 1 m step is half of it.
    ModeloLocacao m(3, 2.0);
    const auto aviso = [](const TArquivosLocacao& a, ModeloLocacao& m) {
        return AvisoModeloEmDegraus(LerGradesLocacao(a.elevacao, a.declividade), m.terracos, m.cn, m.chuva);
    };
    EXPECT_EQ(aviso(inteiro, m),
              "O modelo de elevação tem valores em degraus de 1,00 m, mais que um terço do espaçamento vertical "
              "entre terraços (2,00 m): as curvas de nível seguirão os degraus, não o terreno. Suavize o modelo com "
              "o Filtro ou use um levantamento mais fino.");
    EXPECT_EQ(aviso(continuo, m), "");
    // At 4 m the step is a quarter of the interval: no warning.
    ModeloLocacao largo(3, 4.0);
    EXPECT_EQ(aviso(inteiro, largo), "");
    // A model that cannot be read gives no warning: the run reads it and says why.
    TArquivosLocacao ruim = inteiro;
    ruim.elevacao = pasta.Arquivo("ruim.asc");
    std::ofstream(ruim.elevacao) << "ncols x\n";
    EXPECT_EQ(aviso(ruim, m), "");
}

TEST(PlanoNivel, TheTablesCompanionRoundTripsAndRefusesWhatIsNotOne) {
    PastaTemporaria pasta;
    TComplementoBDT c;
    c.plano = {40, 60.5, 12.5, 7};
    c.terracos[1] = {0, "Terraços em Patamar"};
    c.terracos[2] = {1, "Terraços de Base Estreita (incluindo terraço Tipo embutido, leirão ou murundum)"};
    c.terracos[7] = {2, ""};
    c.travessias = {{2, 10.25, 6.5, 7.75, 0}, {7, 0, 3, 0, 12.5}};
    c.pecasUnidas = 3;
    c.areaSemReceptor = 0.125;
    c.comprimentoRaioMenor = 18.5;
    c.limiteTerracos = true;
    const std::string arquivo = ComplementoDaTabela(pasta.Arquivo("t.bdt"));
    EXPECT_EQ(arquivo, pasta.Arquivo("t.bdc"));
    {
        RegionalFixo pt(Regional::PtBR());
        c.Gravar(arquivo);
    }
    // Read where the decimal point differs: the same values.
    RegionalFixo en(Regional::EnUS());
    TComplementoBDT l;
    l.Ler(arquivo);
    EXPECT_EQ(l.plano.maxTerracos, 40);
    EXPECT_EQ(l.plano.comprimentoMinimo, 60.5);
    EXPECT_EQ(l.plano.raioMinimo, 12.5);
    EXPECT_EQ(l.plano.toleranciaCm, 7);
    ASSERT_EQ(l.terracos.size(), 3u);
    for (const auto& [id, t] : c.terracos) {
        ASSERT_NE(l.De(id), nullptr) << id;
        EXPECT_EQ(l.De(id)->acima, t.acima) << id;
        EXPECT_EQ(l.De(id)->tipo, t.tipo) << id;
    }
    EXPECT_EQ(l.De(3), nullptr);
    ASSERT_EQ(l.travessias.size(), 2u);
    EXPECT_EQ(l.travessias[1].terraco, 7);
    EXPECT_EQ(l.travessias[0].inicio, 10.25);
    EXPECT_EQ(l.travessias[1].corteCm, 12.5);
    EXPECT_EQ(l.pecasUnidas, 3);
    EXPECT_EQ(l.areaSemReceptor, 0.125);
    EXPECT_EQ(l.comprimentoRaioMenor, 18.5);
    EXPECT_TRUE(l.limiteTerracos);
    // Written again over a longer one, nothing of the old stays.
    TComplementoBDT curto;
    curto.terracos[1] = {0, "x"};
    curto.Gravar(arquivo);
    l.Ler(arquivo);
    EXPECT_EQ(l.terracos.size(), 1u);
    EXPECT_TRUE(l.travessias.empty());

    // What is not a companion is refused by name, and leaves what was read before.
    const std::string prefixo = "Não foi possível ler o complemento da tabela de terraços ";
    EXPECT_ERRO(EVandoro, prefixo + pasta.Arquivo("falta.bdc") + ": o arquivo não existe.",
                l.Ler(pasta.Arquivo("falta.bdc")));
    std::ofstream(pasta.Arquivo("outro.bdc")) << "[Projeto]\r\nNome=x\r\n";
    EXPECT_ERRO(EVandoro, prefixo + pasta.Arquivo("outro.bdc") + ": não é um complemento desta versão do programa.",
                l.Ler(pasta.Arquivo("outro.bdc")));
    std::ofstream(pasta.Arquivo("ruim.bdc")) << "[Plano]\r\nVersao=1\r\n[Terraco 4]\r\nAcima=quatro\r\n";
    EXPECT_ERRO(EVandoro, prefixo + pasta.Arquivo("ruim.bdc") + ": a seção [Terraco 4] tem um valor inválido em Acima.",
                l.Ler(pasta.Arquivo("ruim.bdc")));
    EXPECT_EQ(l.terracos.size(), 1u);
}

TEST(PlanoNivel, StripsTheCriterionHasNoTypeForAreNamedInTheWarnings) {
    // A plane at 1 % under Paraná's table, which starts at 2 %: no row has a type.
    PastaTemporaria pasta;
    TArquivosLocacao a;
    a.elevacao = pasta.Arquivo("e.asc");
    a.declividade = pasta.Arquivo("d.asc");
    a.saida = pasta.Arquivo("s.vet");
    const auto plano = [](double, double y) { return 20 - 0.01 * y; };
    GravarAsc(a.elevacao, 100, 60, 1.0, plano);
    GravarDeclividade(a.declividade, 100, 60, 1.0, plano);
    ModeloLocacao m(3, 0.2);
    m.terracos.Selecao().SetMetodoSelecao(TSelecaoTipoTerraco::Parana);
    TLocacaoNivel loc;
    loc.SetPlano(PlanoTracado());
    a.tabela = TabelaDaSaida(a.saida);
    const TResultadoLocacao r = Locar(loc, a, m.chuva, m.cn, m.terracos);
    ASSERT_GE(r.terracos.size(), 2u);
    std::string lista;
    for (const TRegTerr& t : r.terracos) lista += (lista.empty() ? "" : ", ") + std::to_string(t.id);
    EXPECT_EQ(std::count(r.avisos.begin(), r.avisos.end(),
                         "Terraços sem tipo recomendado pelo critério Paraná (declividade da faixa fora das classes "
                         "da tabela): " + lista + "."),
              1);
    // The same plane at 5 %: every row has Paraná's broad-base type, and no warning.
    const auto ingreme = [](double, double y) { return 20 - 0.05 * y; };
    GravarAsc(a.elevacao, 100, 60, 1.0, ingreme);
    GravarDeclividade(a.declividade, 100, 60, 1.0, ingreme);
    const TResultadoLocacao s = Locar(loc, a, m.chuva, m.cn, m.terracos);
    ASSERT_FALSE(s.info.empty());
    for (const TInfoTerraco& t : s.info) EXPECT_EQ(t.tipo, "Terraços de Base Larga");
    for (const std::string& w : s.avisos) EXPECT_EQ(w.find("sem tipo"), std::string::npos) << w;
}

TEST(PlanoNivel, ASavedPlanKeepsItsLinesAtFullPrecisionAtUtmMagnitudes) {
    // At northing 7 465 000 a 32-bit real steps by half a metre: the .vet alone would move a
    // line by up to 25 cm; its companion keeps the vertices to a tenth of a millimetre.
    PastaTemporaria pasta;
    const TLinhaMapa a{3, 700, {288001.23456, 288011.5, 288020.75}, {7465001.3333, 7465002.6667, 7465004.1}};
    const TLinhaMapa b{5, 698.5, {288100.1, 288130.9}, {7465100.45, 7465100.05}};
    TVET v("m");
    for (const TLinhaMapa& l : {a, b}) {
        TVetorRecPonto p;
        p.SetLineId(l.id);
        for (size_t i = 0; i < l.x.size(); ++i) p.Add(float(l.x[i]), float(l.y[i]), float(l.level));
        v.AppendLine(p);
    }
    TComplementoBDT c;
    c.linhas = {a, b};
    {
        RegionalFixo pt(Regional::PtBR());
        c.Gravar(pasta.Arquivo("p.bdc"));
    }
    TComplementoBDT l;
    l.Ler(pasta.Arquivo("p.bdc"));
    ASSERT_EQ(l.linhas.size(), 2u);
    std::vector<TLinhaMapa> r = LinhasDoVet(v, l);
    ASSERT_EQ(r.size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
        const TLinhaMapa& e = k ? b : a;
        EXPECT_EQ(r[k].id, e.id);
        EXPECT_EQ(r[k].level, e.level);
        ASSERT_EQ(r[k].x.size(), e.x.size());
        for (size_t i = 0; i < e.x.size(); ++i) {
            EXPECT_NEAR(r[k].x[i], e.x[i], 5e-5);
            EXPECT_NEAR(r[k].y[i], e.y[i], 5e-5);
        }
    }
    // Whatever a damaged header puts the lines at is written whole: the largest doubles take
    // hundreds of digits. A coordinate that rounds to zero loses its sign.
    TComplementoBDT longe;
    longe.linhas = {TLinhaMapa{7, 1, {1e300, -1.5e299, -0.00001}, {-1e300, 2.5e-5, 7465001.3333}}};
    longe.Gravar(pasta.Arquivo("longe.bdc"));
    TComplementoBDT lidoLonge;
    lidoLonge.Ler(pasta.Arquivo("longe.bdc"));
    ASSERT_EQ(lidoLonge.linhas.size(), 1u);
    EXPECT_EQ(lidoLonge.linhas[0].x, (std::vector<double>{1e300, -1.5e299, 0}));
    EXPECT_EQ(lidoLonge.linhas[0].y, (std::vector<double>{-1e300, 0, 7465001.3333}));
    EXPECT_FALSE(std::signbit(lidoLonge.linhas[0].x[2]));

    // The vector alone is off by the rounding the full precision avoids.
    const std::vector<TLinhaMapa> so = LinhasDoVet(v, TComplementoBDT{});
    EXPECT_GT(std::fabs(so[0].y[0] - a.y[0]), 0.1);

    // A companion of another vector moves nothing: another line's number, another count, a
    // vertex far off.
    TComplementoBDT outro = l;
    outro.linhas[1].id = 6;
    EXPECT_EQ(LinhasDoVet(v, outro)[0].y[0], so[0].y[0]);
    outro = l;
    outro.linhas.pop_back();
    EXPECT_EQ(LinhasDoVet(v, outro)[0].y[0], so[0].y[0]);
    outro = l;
    outro.linhas[0].x[1] += 5;
    EXPECT_EQ(LinhasDoVet(v, outro)[0].y[0], so[0].y[0]);

    // A damaged vertex list is refused by its key.
    std::ofstream(pasta.Arquivo("ruim.bdc")) << "[Plano]\r\nVersao=1\r\n[Linhas]\r\nLinha1=3 288001,5 7465001,3\r\n";
    EXPECT_ERRO(EVandoro,
                "Não foi possível ler o complemento da tabela de terraços " + pasta.Arquivo("ruim.bdc") +
                    ": a seção [Linhas] tem um valor inválido em Linha1.",
                l.Ler(pasta.Arquivo("ruim.bdc")));
}

TEST(PlanoNivel, TheReportSaysWhyLandLiesInNoStrip) {
    RegionalFixo pt(Regional::PtBR());
    EXPECT_EQ(TextoAreaDescobertaComMotivos(0.00004, true, 0, 3), "");
    EXPECT_EQ(TextoAreaDescobertaComMotivos(0.25, false, 0, 0),
              "Área acima do terraço mais baixo fora de qualquer faixa: 0,2500 ha. Motivos: bordas e cantos do campo "
              "que nenhuma faixa alcança.");
    EXPECT_EQ(TextoAreaDescobertaComMotivos(1.5, true, 0.125, 1),
              "Área acima do terraço mais baixo fora de qualquer faixa: 1,5000 ha. Motivos: a locação parou no número "
              "máximo de terraços; linhas curtas sem terraço abaixo que receba o escoamento (0,1250 ha); 1 trecho de "
              "curva ou faixa pequeno demais para um terraço.");
    EXPECT_NE(TextoAreaDescobertaComMotivos(0.5, false, 0, 4).find("Motivos: 4 trechos de curva ou faixas pequenos"),
              std::string::npos);
}

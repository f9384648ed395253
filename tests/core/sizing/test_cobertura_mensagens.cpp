// Land cover choices the curve-number table lacks, fields that are typed but not above zero,
// basins without runoff and the soil rows of the design report: each says what is wrong
// and where, in the words the window and the command line both show.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/Dimensionamento.h"
#include "core/sizing/EntradaDimensionamento.h"
#include "core/sizing/RelatorioDimensionamento.h"
#include "core/sizing/Simulacao.h"

namespace {

std::string Exemplo(const char* nome) { return std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/" + nome; }

bool Contem(const std::string& texto, const std::string& trecho) { return texto.find(trecho) != std::string::npos; }

TEST(Cobertura, TheTablesHolesAreRefusedAndItsRowsAccepted) {
    // Holes: row crops and legumes in "Regular" or "-", pasture with terraces, any crop
    // without treatment.
    EXPECT_FALSE(TNumeroDaCurva::CoberturaNaTabela(1, 1, 2));
    EXPECT_FALSE(TNumeroDaCurva::CoberturaNaTabela(3, 2, 0));
    EXPECT_FALSE(TNumeroDaCurva::CoberturaNaTabela(4, 3, 1));
    EXPECT_FALSE(TNumeroDaCurva::CoberturaNaTabela(1, 0, 1));
    EXPECT_FALSE(TNumeroDaCurva::CoberturaNaTabela(5, 1, 0));  // forest needs a condition
    // Rows, the "any" ones included.
    EXPECT_TRUE(TNumeroDaCurva::CoberturaNaTabela(0, 0, 0));
    EXPECT_TRUE(TNumeroDaCurva::CoberturaNaTabela(2, 2, 0));
    EXPECT_TRUE(TNumeroDaCurva::CoberturaNaTabela(5, 0, 3));
    EXPECT_TRUE(TNumeroDaCurva::CoberturaNaTabela(4, 2, 2));
    // A new and a cleared object are bare soil: accepted.
    TNumeroDaCurva novo;
    EXPECT_NO_THROW(novo.VerificarCobertura());
    novo.Clear();
    EXPECT_NO_THROW(novo.VerificarCobertura());

    EXPECT_EQ(TNumeroDaCurva::MensagemCobertura(0, 2, 1), "");
    EXPECT_EQ(TNumeroDaCurva::MensagemCobertura(3, 2, 2),
              "A tabela do número da curva não tem valor para o uso do solo \"Leguminosas em fileiras estreitas\" "
              "com o tratamento \"Com curvas de nível\" e a condição hidrológica \"Regular\". Escolha a condição "
              "\"Má\" ou \"Boa\".");
    EXPECT_EQ(TNumeroDaCurva::MensagemCobertura(2, 0, 3),
              "A tabela do número da curva não tem valor para o uso do solo \"Cultivo em fileiras estreitas\" sem "
              "tratamento e a condição hidrológica \"Boa\". Escolha o tratamento \"Fileiras retas\", \"Com curvas "
              "de nível\" ou \"Curvas de nível e terraço\".");
    TNumeroDaCurva cn;
    cn.UsoDoSolo().SetIndex(5);
    cn.CondicaoHidrologica().SetIndex(0);
    // Forest without a condition is refused.
    EXPECT_ERRO(EVandoro,
                "A tabela do número da curva não tem valor para o uso do solo \"Floresta\" com o tratamento "
                "\"Fileiras retas\" e a condição hidrológica \"-\". Escolha a condição \"Má\", \"Regular\" ou "
                "\"Boa\".",
                cn.VerificarCobertura());
}

TEST(Cobertura, SizingRefusesAHoleInTheWindowsOrderAndByItsList) {
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));
    TCamposDimensionamento f = LoadInputs(m);
    EXPECT_EQ(f.cbUsoDoSolo, 1);
    EXPECT_EQ(f.cbTratamento, 2);
    EXPECT_EQ(f.cbCondicaoHidrologica, 3);
    f.cbCondicaoHidrologica = 2;
    const TCampoEntrada c = PrimeiroCampoVazio(f);
    EXPECT_EQ(c.Controle, "cbUsoDoSolo");
    EXPECT_EQ(c.Grupo, "Solo");
    EXPECT_EQ(c.Mensagem, TNumeroDaCurva::MensagemCobertura(1, 2, 2));
    // An empty field still comes first.
    f.edtTr.clear();
    EXPECT_EQ(PrimeiroCampoVazio(f).Controle, "edtTr");

    // The choices travel through the fields into the model, and the computation refuses them
    // for a caller that skipped the check (the command line sizes the project as saved).
    f = LoadInputs(m);
    f.cbCondicaoHidrologica = 2;
    StoreInputs(f, m);
    EXPECT_EQ(m.NumeroDaCurva().CondicaoHidrologica().Index(), 2);
    EXPECT_ERRO(EVandoro, TNumeroDaCurva::MensagemCobertura(1, 2, 2), Dimensionar(m));
}

TEST(CamposNaoPositivos, AZeroIsNamedWithWhatItMustBe) {
    RegionalFixo pt(Regional::PtBR());
    struct Caso {
        const char* exemplo;
        std::string TCamposDimensionamento::*campo;
        const char* controle;
        const char* grupo;
        const char* mensagem;
    };
    const Caso casos[] = {
        {"Terraco em nivel.kzp", &TCamposDimensionamento::edtTr, "edtTr", "Precipitação",
         "O valor do tempo de retorno (Tr) deve ser maior que zero."},
        {"Terraco em nivel.kzp", &TCamposDimensionamento::edtK, "edtK", "Precipitação",
         "O valor do parâmetro \"K\" deve ser maior que zero."},
        {"Terraco em nivel.kzp", &TCamposDimensionamento::edt_a, "edt_a", "Precipitação",
         "O valor do parâmetro \"a\" deve ser maior que zero."},
        {"Terraco em gradiente.kzp", &TCamposDimensionamento::edt_b, "edt_b", "Precipitação",
         "O valor do parâmetro \"b\" deve ser maior que zero."},
        {"Terraco em gradiente.kzp", &TCamposDimensionamento::edt_c, "edt_c", "Precipitação",
         "O valor do parâmetro \"c\" deve ser maior que zero."},
        // The slope typed in "Terreno" is mirrored in "St": the first of the two is named.
        {"Terraco em nivel.kzp", &TCamposDimensionamento::edtSt, "edtSt", "Canal",
         "O valor da declividade do terreno deve ser maior que zero."},
        {"Bacia de acumulacao.kzp", &TCamposDimensionamento::edtAreaContribuicao, "edtAreaContribuicao",
         "Barraginha", "O valor da área de contribuição da barraginha deve ser maior que zero."},
    };
    for (const Caso& c : casos) {
        TModeloProjeto m;
        m.AbrirProjetoSemAlterar(Exemplo(c.exemplo));
        TCamposDimensionamento f = LoadInputs(m);
        ASSERT_TRUE(PrimeiroCampoVazio(f).Vazio()) << c.exemplo;
        f.*c.campo = "0";
        if (c.campo == &TCamposDimensionamento::edtSt) f.edtDecTerreno = "0,0";
        const TCampoEntrada e = PrimeiroCampoVazio(f);
        EXPECT_EQ(e.Controle, c.controle);
        EXPECT_EQ(e.Grupo, c.grupo);
        EXPECT_EQ(e.Mensagem, c.mensagem);
        // Storing never raises: a Tr or K of 0 is left for the check to name.
        EXPECT_NO_THROW(StoreInputs(f, m)) << c.controle;
        EXPECT_GT(m.Precipitacao().Tr(), 0);
        EXPECT_GT(m.Precipitacao().K(), 0);
        EXPECT_EQ(ValidateInputs(f), c.mensagem);
    }
}

TEST(BaciaSemEscoamento, ResultAndRunoffChartsSayWhy) {
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(Exemplo("Bacia de acumulacao.kzp"));
    TResultadoDimensionamento r = Dimensionar(m);
    ASSERT_FALSE(r.SemEscoamento);
    EXPECT_EQ(AvisoResultado(r), "");
    EXPECT_EQ(PlotBasinSimulation(m, 0).Aviso, "");

    // A soil that takes in every storm: no runoff, no volume.
    m.NumeroDaCurva().SetVIB(5000);
    r = Calcular(m);
    EXPECT_EQ(r.LES, 0);
    EXPECT_EQ(r.Volume, 0);
    EXPECT_TRUE(r.SemEscoamento);
    EXPECT_EQ(AvisoResultado(r),
              "Não há escoamento superficial para esta chuva e este solo: a lâmina escoada é zero e as "
              "barraginhas não têm volume a armazenar.");
    EXPECT_EQ(PlotBasinSimulation(m, 0).Aviso,
              "Não há escoamento superficial para esta chuva e este solo: o volume é zero para qualquer área de "
              "contribuição.");
    // The shape charts do not depend on the runoff; the infiltration sweep starts at 5 mm/h
    // and has runoff there.
    EXPECT_EQ(PlotBasinSimulation(m, 3).Aviso, "");
    EXPECT_EQ(PlotBasinSimulation(m, 1).Aviso, "");
}

TEST(RelatorioSolo, CoverCurveNumberAbstractionAndStormDepthBesideTheInfiltrationRate) {
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));
    const TResultadoDimensionamento r = Dimensionar(m);
    TOpcoesRelatorio o;
    o.PastaPrograma = "/opt/vandoro/bin/";
    const std::string t = RelatorioDimensionamento(m, o);
    // Row crop on the contour, good condition, 20 mm/h (class I2): CN 92, Ia = (100/92 - 1)·50.8.
    EXPECT_TRUE(Contem(t, "<B>Uso do solo: </B>Cultivo em fileiras</TD>")) << t;
    EXPECT_TRUE(Contem(t, "<B>Tratamento: </B>Com curvas de nível</TD>"));
    EXPECT_TRUE(Contem(t, "<B>Condição hidrológica: </B>Boa</TD>"));
    EXPECT_TRUE(Contem(t, "<B>Número da curva (CN): </B>92</TD>"));
    EXPECT_TRUE(Contem(t, "<B>Abstração inicial (Ia): </B>4,42 mm</TD>"));
    // Mass balance of the depth printed: rain = runoff + Ia + infiltration from ta to te.
    auto& storm = m.Precipitacao();
    const double P = storm.PrecipitacaoTotal();
    const double te = RunoffEndTime(storm, 20), ta = m.NumeroDaCurva().AbstractionTime(storm);
    EXPECT_NEAR(P, r.LES + (100.0 / 92 - 1) * 50.8 + (te - ta) * 20 / 60, 1e-6);
    EXPECT_TRUE(Contem(t, "<B>Precipitação de projeto: </B>" + FormatFloat("0.00", P) + " mm</TD>"));
    // The rate comes first, the cover after it.
    EXPECT_LT(t.find("Taxa de infiltração estável (Tie)"), t.find("Uso do solo: "));

    // The basin report, in its own row layout.
    TModeloProjeto b;
    b.AbrirProjetoSemAlterar(Exemplo("Bacia de acumulacao.kzp"));
    Dimensionar(b);
    const std::string tb = RelatorioDimensionamento(b, o);
    EXPECT_TRUE(Contem(tb, "<B>Número da curva (CN): </B>92</TD>")) << tb;
}

TEST(RelatorioSolo, AnErosionGroupAcceptedAsProposedIsPrintedByItsRow) {
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));  // Lombardi Neto
    Dimensionar(m);
    TEspacamento& e = m.TerracosNivel().Espacamento();
    e.ResistenciaErosao().SetGrupo("");
    e.ResistenciaErosao().SetIndice(2);
    e.PreparoDoSolo().SetGrupo("");
    e.PreparoDoSolo().SetIndice(0);
    const std::string t = RelatorioNivel(m, {});
    EXPECT_TRUE(Contem(t, "<B>Resistência à erosão: </B> Grupo C - Baixa</TD>")) << t;
    EXPECT_TRUE(Contem(t, "<B>Preparo do solo: </B> Grupo 1</TD>"));
}

}  // namespace

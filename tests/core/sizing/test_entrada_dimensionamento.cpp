// Entry-page rules of the sizing window that live in the core: the required-field order
// with the control and group to show, unreadable fields, the recommended height, the EV
// shown while typing, coordinates and the assistants' tables.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/project/ModeloProjeto.h"
#include "core/rainfall/Quenda21.h"
#include "core/sizing/EntradaDimensionamento.h"
#include "core/sizing/TabelasAssistentes.h"

namespace {

std::string Exemplo(const char* nome) { return std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/" + nome; }

TCamposDimensionamento CamposDe(const char* exemplo) {
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(Exemplo(exemplo));
    return LoadInputs(m);
}

// Controls named, in order, when the required fields are emptied from the last back.
std::vector<std::string> OrdemAoEsvaziar(TCamposDimensionamento& f, const std::vector<std::string*>& campos) {
    std::vector<std::string> nomes;
    for (auto it = campos.rbegin(); it != campos.rend(); ++it) {
        **it = "";
        const TCampoEntrada c = PrimeiroCampoVazio(f);
        EXPECT_EQ(c.Mensagem, ValidateInputs(f));  // the string form says the same
        nomes.push_back(c.Controle + "/" + c.Grupo);
    }
    return nomes;
}

}  // namespace

TEST(EntradaDimensionamento, GradedFieldsEmptiedFromTheLastBackAreNamedWithTheirGroups) {
    RegionalFixo pt(Regional::PtBR());
    TCamposDimensionamento f = CamposDe("Terraco em gradiente.kzp");
    ASSERT_TRUE(PrimeiroCampoVazio(f).Vazio());
    const auto nomes = OrdemAoEsvaziar(
        f, {&f.edtTr, &f.edtK, &f.edt_a, &f.edt_b, &f.edt_c, &f.edtTIE, &f.edtSm, &f.edtSt, &f.edtRugTerreno,
            &f.edtDecCanal, &f.edtCompCanal, &f.edtRugCanal, &f.edtDecTerreno, &f.edtVertical, &f.edtHorizontal});
    const std::vector<std::string> esperado = {
        "edtHorizontal/Espaçamento", "edtVertical/Espaçamento", "edtDecTerreno/Terreno", "edtRugCanal/Canal",
        "edtCompCanal/Canal",        "edtDecCanal/Canal",       "edtRugTerreno/Terreno", "edtSt/Canal",
        "edtSm/Canal",               "edtTIE/Solo",             "edt_c/Precipitação",    "edt_b/Precipitação",
        "edt_a/Precipitação",        "edtK/Precipitação",       "edtTr/Precipitação"};
    EXPECT_EQ(nomes, esperado);
}

TEST(EntradaDimensionamento, StAndTerrainSlopeShareTheMessageButNotTheControl) {
    RegionalFixo pt(Regional::PtBR());
    TCamposDimensionamento f = CamposDe("Terraco em nivel.kzp");
    TCamposDimensionamento soSt = f, soTerreno = f;
    soSt.edtSt.clear();
    soTerreno.edtDecTerreno.clear();
    const TCampoEntrada a = PrimeiroCampoVazio(soSt), b = PrimeiroCampoVazio(soTerreno);
    EXPECT_EQ(a.Mensagem, "Valor da declividade do terreno inconsistente.");
    EXPECT_EQ(a.Mensagem, b.Mensagem);
    EXPECT_EQ(a.Controle + a.Grupo, "edtStCanal");
    EXPECT_EQ(b.Controle + b.Grupo, "edtDecTerrenoTerreno");
    // Level terraces never ask for the graded-only fields.
    TCamposDimensionamento semCanal = f;
    semCanal.edtRugCanal.clear();
    semCanal.edtDecCanal.clear();
    semCanal.edtRugTerreno.clear();
    EXPECT_TRUE(PrimeiroCampoVazio(semCanal).Vazio());
}

TEST(EntradaDimensionamento, BasinsStopAfterTheirShapesFields) {
    RegionalFixo pt(Regional::PtBR());
    TCamposDimensionamento f = CamposDe("Bacia de acumulacao.kzp");
    ASSERT_EQ(f.cbSistema, 2);
    f.edtSm.clear();
    f.edtHorizontal.clear();
    EXPECT_TRUE(PrimeiroCampoVazio(f).Vazio());  // terrace fields are not asked
    f.edtM1.clear();
    f.cbFormatoBarraginha = 1;
    EXPECT_TRUE(PrimeiroCampoVazio(f).Vazio());  // semi-circular: no m1, m2
    f.cbFormatoBarraginha = 0;
    EXPECT_EQ(PrimeiroCampoVazio(f).Mensagem, "Valor do parâmetro \"m1\" da barraginha inconsistente.");
    f.edtProfundidade.clear();
    const TCampoEntrada c = PrimeiroCampoVazio(f);
    EXPECT_EQ(c.Controle + "/" + c.Grupo, "edtProfundidade/Barraginha");
    EXPECT_EQ(c.Mensagem, "Valor da profundidade da barraginha inconsistente.");
}

TEST(EntradaDimensionamento, AFieldThatIsOnlyASeparatorIsNamedBeforeAnythingIsStored) {
    RegionalFixo pt(Regional::PtBR());
    TCamposDimensionamento f = CamposDe("Terraco em nivel.kzp");
    EXPECT_TRUE(PrimeiroCampoInvalido(f).Vazio());
    f.edtSm = ",";
    f.edtHorizontal = "1x";
    TCampoEntrada c = PrimeiroCampoInvalido(f);
    EXPECT_EQ(c.Controle, "edtSm");
    EXPECT_EQ(c.Grupo, "Canal");
    EXPECT_EQ(c.Mensagem, "',' não é um valor numérico válido.");
    f.edtSm = "0.5";  // either separator is a number
    c = PrimeiroCampoInvalido(f);
    EXPECT_EQ(c.Controle, "edtHorizontal");
    EXPECT_EQ(c.Mensagem, "'1x' não é um valor numérico válido.");
}

TEST(EntradaDimensionamento, RecommendedHeightIsTheRootOfCDuTimesHPlusTenCentimetres) {
    EXPECT_DOUBLE_EQ(AlturaRecomendada(1, 0.335), 43.5);
    EXPECT_NEAR(AlturaRecomendada(1.44, 0.5), 1.2 * 50 + 10, 1e-12);
    RegionalFixo pt(Regional::PtBR());
    TModeloProjeto m;
    m.AbrirProjetoSemAlterar(Exemplo("Terraco em nivel.kzp"));
    const TResultadoDimensionamento r = Dimensionar(m);
    TSistemaConservacao& s = m.TerracosNivel();
    // A coefficient below 1 is taken as 1: Hr = H + 10 cm.
    EXPECT_DOUBLE_EQ(DefinirAlturaRecomendada(s, 0.5), r.H * 100 + 10);
    EXPECT_DOUBLE_EQ(s.CDu(), 1);
    EXPECT_DOUBLE_EQ(s.Hr(), r.H * 100 + 10);
}

TEST(EntradaDimensionamento, LiveVerticalSpacingFollowsTheSlopeUnit) {
    RegionalFixo pt(Regional::PtBR());
    EXPECT_EQ(EVAoVivo("25", "0,08", 1, "0.0#"), "2,0");
    EXPECT_EQ(EVAoVivo("25", "8", 100, "0.0#"), "2,0");
    EXPECT_EQ(EVAoVivo("23.58", "8", 100, "0.0#"), "1,89");
    EXPECT_EQ(EVAoVivo("", "8", 100, "0.0#"), "");
    EXPECT_EQ(EVAoVivo("25", ",", 100, "0.0#"), "");
    EXPECT_EQ(EVAoVivo("25", "0", 1, "0.0#"), "");
}

TEST(EntradaDimensionamento, SlopeForTheMethodDialogsIsRoundedHalfToEven) {
    EXPECT_EQ(DeclividadeInteira(0.12), 12);
    EXPECT_EQ(DeclividadeInteira(0.125), 12);
    EXPECT_EQ(DeclividadeInteira(0.135), 14);
    EXPECT_EQ(DeclividadeInteira(0.004), 0);  // the spins' minimum 1 then applies
}

TEST(EntradaDimensionamento, CoordinatesUntouchedCompleteOrPartlyFilled) {
    EXPECT_EQ(CoordenadaDoCampo(TQuenda21::kMascaraVazia, "latitude"), "");
    EXPECT_EQ(CoordenadaDoCampo("", "latitude"), "");
    EXPECT_EQ(CoordenadaDoCampo("22°54'13\"", "latitude"), "22°54'13\"");
    EXPECT_EQ(MensagemDe([] { CoordenadaDoCampo("22°5 '  \"", "longitude"); }),
              "A longitude \"22°5 '  \"\" está incompleta: preencha graus, minutos e segundos.");
}

TEST(TabelasAssistentes, SmRowsInTheUsersSlopeUnit) {
    RegionalFixo pt(Regional::PtBR());
    EXPECT_EQ(TextoSm(1, "%", 100), " 72,1");
    EXPECT_EQ(TextoSm(7, "%", 100), " 18,6 a 22,1");
    EXPECT_EQ(TextoSm(1, "m/m", 1), " 0,721");
    EXPECT_EQ(TextoSm(7, "m/m", 1), " 0,186 a 0,221");
    EXPECT_EQ(MensagemFaixaSm(100), "Valor de Sm inconsistente. Forneça um valor compreendido entre:[18,6 .. 22,1].");
    EXPECT_EQ(ErroUnidadeSm("cm", 1), "É necessário entrar com uma unidade de declividade (% ou m/m)");
    EXPECT_EQ(ErroUnidadeSm("%", 10), "É necessário entrar com um multiplicador de unidade de declividade (1 ou 100)");
    EXPECT_EQ(ErroUnidadeSm("%", 100), "");
    ASSERT_EQ(TabelaSm().size(), 8u);
    EXPECT_EQ(TextoZ(1), " 0,25");
    EXPECT_EQ(TextoZ(kLinhaOutrosZ), "---");
    EXPECT_EQ(TabelaRugCan().size(), 9u);
    EXPECT_EQ(TabelaRugTer().size(), 19u);
    // Every Normal value lies within its own range.
    for (const auto& l : TabelaRugCan()) {
        EXPECT_LE(l.Minimo, l.Normal);
        EXPECT_LE(l.Normal, l.Maximo);
    }
}

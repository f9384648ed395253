// Opening a project that cannot be opened: the reason given, the current project left as it
// was, the recent list kept clean; a new project that carries nothing over; and a project
// whose numbers cannot all be read.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"

namespace fs = std::filesystem;

namespace {

const std::string kExemplos = std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/";

class DialogosTeste : public IDialogosProjeto {
public:
    std::string abrir, salvar;
    std::vector<std::string> erros;
    TResposta PerguntarSimNaoCancelar(const std::string&) override { return TResposta::Nao; }
    bool PerguntarSimNao(const std::string&) override { return true; }
    bool EscolherArquivoAbrir(const TDialogoArquivo&, std::string& c) override {
        c = abrir;
        return !c.empty();
    }
    bool EscolherArquivoSalvar(const TDialogoArquivo&, std::string& c) override {
        c = salvar;
        return !c.empty();
    }
    void MostrarErro(const std::string& t) override { erros.push_back(t); }
    void MostrarInformacao(const std::string&) override {}
};

std::string Copia(const PastaTemporaria& p, const std::string& exemplo, const std::string& nome) {
    const std::string c = p.Arquivo(nome);
    fs::copy_file(kExemplos + exemplo, c);
    return c;
}

void Trocar(const std::string& arq, const std::string& secao, const std::string& chave, const std::string& valor) {
    IniFile ini(arq);
    ini.WriteString(secao, chave, valor);
    ini.UpdateFile();
}

TEST(AberturaProjeto, EachFailureSaysWhy) {
    PastaTemporaria p;
    TModeloProjeto m;
    const std::string vazio = p.Arquivo("vazio.kzp"), brancos = p.Arquivo("brancos.kzp"),
                      lixo = p.Arquivo("lixo.kzp"), futuro = p.Arquivo("futuro.kzp"), velho = p.Arquivo("velho.kzp"),
                      danificado = p.Arquivo("danificado.kzp");
    GravarArquivo(vazio, "");
    GravarArquivo(brancos, " \r\n\r\n");
    GravarArquivo(lixo, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    GravarArquivo(futuro, "[VANDORO4]\r\nVersao=5.0\r\n");
    GravarArquivo(velho, "[VANDORO4]\r\nVersao=2.0\r\n");
    const std::string bom = Copia(p, "Terraco em nivel.kzp", "bom.kzp");
    fs::copy_file(bom, danificado);
    Trocar(danificado, "TipoSistema", "Versao", "9");
    fs::create_directory(p.Arquivo("pasta.kzp"));

    const std::pair<std::string, std::string> casos[] = {
        {p.Arquivo("sumiu.kzp"), "O arquivo não existe."},
        {p.Arquivo("pasta.kzp"), "O caminho não é um arquivo."},
        {vazio, "O arquivo está vazio."},
        {brancos, "O arquivo está vazio."},
        {lixo, "O arquivo não é um projeto do Vandoro."},
        {futuro, "O arquivo foi gravado por uma versão mais nova do Vandoro (versão 5.0)."},
        {velho, "O arquivo tem a versão 2.0, que este programa não lê."},
        {danificado, "O arquivo está danificado: não foi possível ler o tipo de sistema."},
    };
    for (const auto& [arquivo, motivo] : casos) {
        EXPECT_EQ(m.MotivoNaoAbre(arquivo), motivo) << arquivo;
        // The command line reads through the same rule and says the same.
        EXPECT_EQ(MensagemDe([&] { m.AbrirProjetoSemAlterar(arquivo); }),
                  "Não foi possível abrir o arquivo " + arquivo + ". " + motivo);
    }
    EXPECT_EQ(m.MotivoNaoAbre(bom), "");
}

TEST(AberturaProjeto, TheTrialReadTouchesNeitherTheModelNorTheFile) {
    PastaTemporaria p;
    const std::string nivel = Copia(p, "Terraco em nivel.kzp", "nivel.kzp");
    // An old storm section is upgraded by a read: the trial must do that in its own copy.
    const std::string antigo = Copia(p, "Terraco em gradiente.kzp", "antigo.kzp");
    {
        IniFile ini(antigo);
        ini.WriteString("PREC_EXPONENCIAL_NEGATIVA", "Versao", "QUENDA");
        ini.WriteString("QUENDA", "Tr", "25");
        ini.WriteString("QUENDA", "K", "999");
        ini.UpdateFile();
    }
    const std::string antes = LerArquivo(antigo);
    TModeloProjeto m;
    ASSERT_TRUE(m.LerProjeto(nivel));
    const std::string nome = m.Identificacao().Nome();
    EXPECT_EQ(m.MotivoNaoAbre(antigo), "");
    EXPECT_EQ(LerArquivo(antigo), antes);
    EXPECT_EQ(m.Identificacao().Nome(), nome);
    EXPECT_EQ(m.TipoSistema().Index(), 0);
}

TEST(AberturaProjeto, AFailedOpenLeavesTheOpenProjectAndDropsTheDeadRecentEntry) {
    PastaTemporaria p;
    const std::string bom = Copia(p, "Bacia de acumulacao.kzp", "bacia.kzp");
    const std::string sumiu = p.Arquivo("sumiu.kzp"), vazio = p.Arquivo("vazio.kzp");
    GravarArquivo(vazio, "");
    DialogosTeste dlg;
    TGerenteSis g;
    g.SetDialogos(&dlg);
    TModeloProjeto m;
    m.LigarGerente(g);
    int limpezas = 0;
    g.OnLimparCamposDados = [&] { ++limpezas; };
    g.SetRecentes({sumiu, bom, vazio, ""});
    ASSERT_TRUE(g.OpenFile(bom));
    limpezas = 0;
    g.SetAlterado(true);
    const double profundidade = m.BaciaAcumulacao().Profundidade();
    ASSERT_GT(profundidade, 0);

    // From the recent list: the entry goes, the project stays open and modified.
    EXPECT_FALSE(g.OpenFile(sumiu));
    ASSERT_EQ(dlg.erros.size(), 1u);
    EXPECT_EQ(dlg.erros[0], "Não foi possível abrir o arquivo " + sumiu + ". O arquivo não existe.");
    // Through the dialog, the same.
    dlg.abrir = vazio;
    EXPECT_FALSE(g.Open());
    ASSERT_EQ(dlg.erros.size(), 2u);
    EXPECT_EQ(dlg.erros[1], "Não foi possível abrir o arquivo " + vazio + ". O arquivo está vazio.");

    EXPECT_EQ(limpezas, 0);
    EXPECT_TRUE(g.ProjetoAberto());
    EXPECT_TRUE(g.Alterado());
    EXPECT_EQ(g.PathProjeto(), bom);
    EXPECT_EQ(g.NomeProjeto(), "bacia.kzp");
    EXPECT_DOUBLE_EQ(m.BaciaAcumulacao().Profundidade(), profundidade);
    EXPECT_EQ(g.Recentes(), (std::array<std::string, 4>{bom, "", "", ""}));
}

TEST(AberturaProjeto, NewClearsTheBasinAndEverythingElse) {
    PastaTemporaria p;
    const std::string bacia = Copia(p, "Bacia de acumulacao.kzp", "bacia.kzp");
    DialogosTeste dlg;
    TGerenteSis g;
    g.SetDialogos(&dlg);
    g.SetPastaPrograma(p.Caminho());
    TModeloProjeto m;
    m.LigarGerente(g);
    ASSERT_TRUE(g.OpenFile(bacia));
    ASSERT_NE(m.BaciaAcumulacao().Profundidade(), 0);

    ASSERT_TRUE(g.New());
    dlg.salvar = p.Arquivo("novo.kzp");
    ASSERT_TRUE(g.Save());
    // The same bytes as a model that never held a project, started as a new one.
    TModeloProjeto limpo;
    limpo.Novo();
    limpo.EscreverProjeto(p.Arquivo("limpo.kzp"));
    EXPECT_EQ(LerArquivo(p.Arquivo("novo.kzp")), LerArquivo(p.Arquivo("limpo.kzp")));
    IniFile ini(p.Arquivo("novo.kzp"));
    EXPECT_EQ(ini.ReadString("BaciaAcumulacao", "Profundidade", "?"), "0");
    EXPECT_EQ(ini.ReadString("VANDORO4", "AreaContribBacia", "?"), "0");
    EXPECT_EQ(ini.ReadString("VANDORO4", "MODULO", "?"), "");
}

TEST(AberturaProjeto, UnreadableNumbersAreNamed) {
    PastaTemporaria p;
    const std::string arq = Copia(p, "Terraco em nivel.kzp", "nivel.kzp");
    TModeloProjeto m;
    ASSERT_TRUE(m.LerProjeto(arq));
    EXPECT_TRUE(m.CamposIlegiveis().empty());
    EXPECT_EQ(TModeloProjeto::AvisoCamposIlegiveis({}), "");

    Trocar(arq, "PREC_EXPONENCIAL_NEGATIVA", "K", "abc");
    ASSERT_TRUE(m.LerProjeto(arq));
    EXPECT_EQ(m.CamposIlegiveis(), std::vector<std::string>{"K"});
    EXPECT_EQ(TModeloProjeto::AvisoCamposIlegiveis(m.CamposIlegiveis()),
              "O projeto foi aberto, mas o valor deste campo não pôde ser lido e ficou em branco: K.");

    // -1 is the file's own "not given"; an empty value is not given either; -5 is neither.
    Trocar(arq, "PREC_EXPONENCIAL_NEGATIVA", "Tr", "-5");
    Trocar(arq, "Terreno", "VIB", "-1");
    Trocar(arq, "Terreno", "St", "");
    Trocar(arq, "PRECIPITACAO", "B", "1e999");
    ASSERT_TRUE(m.LerProjeto(arq));
    EXPECT_EQ(m.CamposIlegiveis(), (std::vector<std::string>{"Tr", "K", "b"}));
    EXPECT_EQ(TModeloProjeto::AvisoCamposIlegiveis(m.CamposIlegiveis()),
              "O projeto foi aberto, mas os valores destes campos não puderam ser lidos e ficaram em branco: Tr, K, "
              "b.");
    EXPECT_LT(m.Precipitacao().Tr(), 0);  // read as not given

    // A good file read afterwards forgets the old list.
    ASSERT_TRUE(m.LerProjeto(kExemplos + "Terraco em nivel.kzp"));
    EXPECT_TRUE(m.CamposIlegiveis().empty());

    // The command line says the same.
    Trocar(arq, "PREC_EXPONENCIAL_NEGATIVA", "Tr", "10");
    const ResultadoCli r = RodarCli({"dimensionar", arq});
    EXPECT_NE(r.erro.find("Aviso: O projeto foi aberto, mas os valores destes campos não puderam ser lidos e ficaram "
                          "em branco: K, b."),
              std::string::npos)
        << r.erro;
}

TEST(AberturaProjeto, RecentListHoldsEachFileOnceAndTellsSameNamesApart) {
    PastaTemporaria p;
    fs::create_directories(p.Arquivo("A"));
    fs::create_directories(p.Arquivo("B"));
    const std::string a = Copia(p, "Terraco em nivel.kzp", "A/nivel.kzp");
    const std::string b = Copia(p, "Terraco em nivel.kzp", "B/nivel.kzp");
    const std::string outro = Copia(p, "Terraco em nivel.kzp", "outro.kzp");
    DialogosTeste dlg;
    TGerenteSis g;
    g.SetDialogos(&dlg);
    TModeloProjeto m;
    m.LigarGerente(g);

    // A list written by hand with one file twice keeps it once.
    g.SetRecentes({a, p.Arquivo("B/../A/nivel.kzp"), outro, a});
    EXPECT_EQ(g.Recentes(), (std::array<std::string, 4>{a, outro, "", ""}));
    EXPECT_EQ(g.RotuloRecente(1), "&1/ nivel.kzp");

    ASSERT_TRUE(g.OpenFile(p.Arquivo("A/./../A/nivel.kzp")));
    EXPECT_EQ(g.Recentes()[0], a);
    ASSERT_TRUE(g.OpenFile(b));
    ASSERT_TRUE(g.OpenFile(p.Arquivo("B/../A/nivel.kzp")));
    EXPECT_EQ(g.Recentes(), (std::array<std::string, 4>{a, b, outro, ""}));
    EXPECT_EQ(g.RotuloRecente(1), "&1/ nivel.kzp (" + p.Arquivo("A") + ")");
    EXPECT_EQ(g.RotuloRecente(2), "&2/ nivel.kzp (" + p.Arquivo("B") + ")");
    EXPECT_EQ(g.RotuloRecente(3), "&3/ outro.kzp");

    // A link is the file it points to.
    fs::create_symlink(p.Arquivo("B"), p.Arquivo("C"));
    ASSERT_TRUE(g.OpenFile(p.Arquivo("C/nivel.kzp")));
    EXPECT_EQ(g.Recentes(), (std::array<std::string, 4>{b, a, outro, ""}));
}

}  // namespace

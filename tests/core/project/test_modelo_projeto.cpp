// Project file: every shared object written and read back, the read chain and its
// versions, atomic saves, hostile files, and the shipped examples.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "core/rainfall/Estado.h"

namespace fs = std::filesystem;

namespace {

// Values away from every default, so a key that is not written or not read shows.
void Preencher(TModeloProjeto& m, int tipo) {
    m.Reset();
    TIDProjeto& id = m.Identificacao();
    id.SetNome("Fazenda São José");
    id.SetEmpresa("Coop. Água Limpa");
    id.SetLocal("Piracicaba");
    id.SetEstado("SP");
    id.SetTecnico("Ana Conceição");
    id.SetData("03/04/2025");
    m.TipoSistema().SetIndex(static_cast<std::uint8_t>(tipo));
    TQuenda21& q = m.Quenda();
    q.SetLatitude("22°43'31\"");
    q.SetLongitude("47°38'57\"");
    q.SetIndEstacao(3);
    q.SetIndLocalidade(17);
    q.SetStrCidade("Piracicaba");
    q.SetIndEstado(25);
    q.SetStrEstado("São Paulo");
    auto& p = m.Precipitacao();
    p.SetTr(15);
    p.SetK(2345.678);
    p.SetA(0.1733);
    p.SetB(21.5);
    p.SetC(0.9012);
    p.SetData(45750.25);
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    cn.UsoDoSolo().SetIndex(4);
    cn.Tratamento().SetIndex(3);
    cn.CondicaoHidrologica().SetIndex(2);
    cn.SetVIB(12.5);
    cn.SetSt(0.0875);
    cn.nt().SetValue(0.13);
    cn.nt().SetIndex(2);
    TBaciaAcumulacao& b = m.BaciaAcumulacao();
    b.SetProfundidade(1.75);
    b.Setm1(2.5);
    b.Setm2(1.5);
    b.SetFormato(TBaciaAcumulacao::Retangular);
    b.SetCalcularVolume(false);
    b.Canal().SetSc(0.004);
    TSistemaConservacao& s = tipo == 0 ? static_cast<TSistemaConservacao&>(m.TerracosNivel())
                                       : static_cast<TSistemaConservacao&>(m.TerracosGradiente());
    s.Secao().SetIndex(1);  // the file keeps no trapezoidal section: 0 reads back as 1
    s.SetB(0.35);
    s.SetH(0.41);
    s.SetHr(55.5);
    s.SetCDu(1.25);
    s.Sm().SetValue(0.75);
    s.Sm().SetIndex(1);
    s.Z().SetValue(1.5);
    s.Z().SetIndex(2);
    s.SetCapacidadeArmazenamento(2.25);
    TEspacamento& e = s.Espacamento();
    e.Metodologia().SetIndex(TMetodologiaEspacamento::LombardiNeto);
    e.Cultura().SelectFromTable(25);
    e.ResistenciaErosao().SelectFromTable(1);
    e.PreparoDoSolo().SelectFromTable(3);
    e.SetEH(31.25);
    e.SetEV(2.734375);
    e.SetCapArmaz(0.8);
    e.SetAlturaTer(0.45);
    e.SetLES(27.5);
    if (tipo == 0) {
        m.TerracosNivel().Selecao().SetMetodoSelecao(TSelecaoTipoTerraco::Parana);
        m.TerracosNivel().Selecao().SetArbitraryType(2);
    } else {
        TTerracosGradiente& g = m.TerracosGradiente();
        g.SetComprimento(640);
        g.SetSc(0.0035);
        g.SetQ(123.45);
        g.nc().SetValue(0.028);
        g.nc().SetIndex(4);
    }
    m.SetModulo("Locacao");
    m.LocacaoNivel().SetfnImgElev("/dados/mde ção.asc");
    m.LocacaoNivel().SetfnImgDecli("/dados/decl.img");
    m.LocacaoNivel().SetfnVetSaida("/dados/saida.vet");
    m.SetAreaContribBacia(12500.5);
    m.SetTipoPrec(7);
    m.Configuracao().UDecli = "%";
    m.Configuracao().KDecli = 100;
    m.Configuracao().UVIB = "m/dia";
    m.Configuracao().KVIB = 0.024;
}

TEST(ModeloProjeto, EveryValueSurvivesAWriteAndReadUnderBothSettings) {
    for (int tipo : {0, 1}) {
        for (const Regional& r : {Regional::PtBR(), Regional::EnUS()}) {
            RegionalFixo fixo(r);
            PastaTemporaria pasta;
            TModeloProjeto a;
            Preencher(a, tipo);
            a.EscreverProjeto(pasta.Arquivo("a.kzp"));
            TModeloProjeto b;
            ASSERT_TRUE(b.LerProjeto(pasta.Arquivo("a.kzp")));
            // Everything b writes comes from what it read.
            b.EscreverProjeto(pasta.Arquivo("b.kzp"));
            EXPECT_EQ(LerArquivo(pasta.Arquivo("a.kzp")), LerArquivo(pasta.Arquivo("b.kzp"))) << "tipo " << tipo;
            EXPECT_EQ(b.Identificacao().Nome(), "Fazenda São José");
            EXPECT_DOUBLE_EQ(b.Precipitacao().K(), 2345.678);
            EXPECT_DOUBLE_EQ(b.NumeroDaCurva().St(), 0.0875);
            EXPECT_DOUBLE_EQ(b.BaciaAcumulacao().Profundidade(), 1.75);
            EXPECT_DOUBLE_EQ(b.SistemaAtual().Espacamento().EH(), 31.25);
            EXPECT_EQ(b.LocacaoNivel().fnImgElev(), "/dados/mde ção.asc");
            EXPECT_DOUBLE_EQ(b.AreaContribBacia(), 12500.5);
            EXPECT_EQ(b.TipoPrec(), 7);
            EXPECT_EQ(b.Configuracao().UDecli, "%");
            EXPECT_EQ(b.Modulo(), "Locacao");
            if (tipo == 1) {
                EXPECT_DOUBLE_EQ(b.TerracosGradiente().Q(), 123.45);
            }
        }
    }
}

TEST(ModeloProjeto, AFileFromAPortugueseMachineReadsOnAnEnglishOne) {
    PastaTemporaria pasta;
    TModeloProjeto a;
    {
        RegionalFixo pt(Regional::PtBR());
        Preencher(a, 1);
        a.EscreverProjeto(pasta.Arquivo("pt.kzp"));
    }
    ASSERT_NE(LerArquivo(pasta.Arquivo("pt.kzp")).find("K=2345,678\r\n"), std::string::npos);
    TModeloProjeto b;
    {
        RegionalFixo en(Regional::EnUS());
        ASSERT_TRUE(b.LerProjeto(pasta.Arquivo("pt.kzp")));
    }
    EXPECT_DOUBLE_EQ(b.Precipitacao().K(), 2345.678);
    EXPECT_DOUBLE_EQ(b.TerracosGradiente().Sc(), 0.0035);
    EXPECT_DOUBLE_EQ(b.Configuracao().KVIB, 0.024);
    EXPECT_DOUBLE_EQ(b.NumeroDaCurva().nt().Value(), 0.13);
    EXPECT_DOUBLE_EQ(b.TerracosGradiente().Espacamento().EV(), 2.734375);
    EXPECT_DOUBLE_EQ(b.AreaContribBacia(), 12500.5);
}

TEST(ModeloProjeto, SectionsComeInTheFixedOrder) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    TModeloProjeto a;
    Preencher(a, 0);
    a.EscreverProjeto(pasta.Arquivo("a.kzp"));
    IniFile ini(pasta.Arquivo("a.kzp"));
    const std::vector<std::string> ordem{
        "IDENTIFICACAO", "TipoSistema", "QUENDA", "PRECIPITACAO", "PREC_EXPONENCIAL_NEGATIVA",
        "Cobertura", "Terreno", "BaciaAcumulacao", "Canal_BaciaAcumulacao", "CanalGradiente_BaciaAcumulacao",
        "Canal", "CanalGradiente", "Terracos", "ESPAÇAMENTO", "TerracosNivel", "LOCACAONIVEL", "VANDORO4"};
    EXPECT_EQ(ini.ReadSections(), ordem);
    const std::vector<std::string> chaves{"Versao", "UDecli", "KDecli", "UVIB", "KVIB", "MODULO",
                                          "AreaContribBacia", "TipoPrec"};
    EXPECT_EQ(ini.ReadSection("VANDORO4"), chaves);
    EXPECT_NE(LerArquivo(pasta.Arquivo("a.kzp")).find("[ESPA\xC7" "AMENTO]\r\n"), std::string::npos);
}

// Rewrites one key of a written project.
void Trocar(const std::string& arq, const std::string& secao, const std::string& chave, const std::string& valor) {
    IniFile ini(arq);
    ini.WriteString(secao, chave, valor);
    ini.UpdateFile();
}

TEST(ModeloProjeto, OlderAndDamagedFilesFollowTheReadChain) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    TModeloProjeto a;
    Preencher(a, 0);

    // Version 3.0: the basin and its area are not read; the previous values stay.
    a.EscreverProjeto(arq);
    Trocar(arq, "VANDORO4", "Versao", "3.0");
    Trocar(arq, "BaciaAcumulacao", "Versao", "9");
    TModeloProjeto b;
    b.BaciaAcumulacao().SetProfundidade(0.6);
    b.SetAreaContribBacia(777);
    ASSERT_TRUE(b.LerProjeto(arq));
    EXPECT_DOUBLE_EQ(b.BaciaAcumulacao().Profundidade(), 0.6);
    EXPECT_DOUBLE_EQ(b.AreaContribBacia(), 777);
    EXPECT_DOUBLE_EQ(b.TerracosNivel().Espacamento().EH(), 31.25);

    // Version 4.0 with a bad basin section fails, but area and TipoPrec are read anyway.
    Trocar(arq, "VANDORO4", "Versao", "4.0");
    TModeloProjeto c;
    EXPECT_FALSE(c.LerProjeto(arq));
    EXPECT_DOUBLE_EQ(c.AreaContribBacia(), 12500.5);
    EXPECT_EQ(c.TipoPrec(), 7);
    EXPECT_ERRO(EVandoro,
                "Não foi possível abrir o arquivo " + arq +
                    ". O arquivo está danificado: não foi possível ler a bacia de acumulação.",
                c.AbrirProjeto(arq));

    // Any other program version fails.
    a.EscreverProjeto(arq);
    Trocar(arq, "VANDORO4", "Versao", "5.0");
    EXPECT_FALSE(TModeloProjeto().LerProjeto(arq));

    // System type 6 fails the whole read.
    a.EscreverProjeto(arq);
    Trocar(arq, "TipoSistema", "Tipo", "6");
    EXPECT_FALSE(TModeloProjeto().LerProjeto(arq));

    // "TipoSistema"=5 in "Terracos" only skips the storage capacity and the level section.
    a.EscreverProjeto(arq);
    Trocar(arq, "Terracos", "TipoSistema", "5");
    TModeloProjeto d;
    ASSERT_TRUE(d.LerProjeto(arq));
    EXPECT_DOUBLE_EQ(d.TerracosNivel().Espacamento().EH(), 31.25);
    EXPECT_DOUBLE_EQ(d.TerracosNivel().CapacidadeArmazenamento(), 1.5);
    EXPECT_EQ(d.TerracosNivel().Selecao().MetodoSelecao(), 0);
    EXPECT_EQ(d.TerracosNivel().Selecao().TipoArbitradoIndex(), 0);

    // "TipoCanal"=0 reads back as the triangular section.
    a.EscreverProjeto(arq);
    Trocar(arq, "Canal", "TipoCanal", "0");
    TModeloProjeto e;
    ASSERT_TRUE(e.LerProjeto(arq));
    EXPECT_EQ(e.TerracosNivel().Secao().Index(), 1);

    // The location paths are read only for the "Locacao" module.
    a.EscreverProjeto(arq);
    Trocar(arq, "VANDORO4", "MODULO", "Dimensionamento");
    TModeloProjeto f;
    ASSERT_TRUE(f.LerProjeto(arq));
    EXPECT_EQ(f.LocacaoNivel().fnImgElev(), "");
}

TEST(ModeloProjeto, HostileFilesAreRefusedWithoutHarm) {
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("x.kzp");
    TModeloProjeto m;
    EXPECT_FALSE(m.LerProjeto(pasta.Arquivo("nao-existe.kzp")));
    EXPECT_FALSE(m.LerProjeto(pasta.Caminho()));  // a folder

    std::string lixo;
    for (int i = 0; i < 4096; ++i) lixo += static_cast<char>((i * 7919) & 0xFF);
    GravarArquivo(arq, lixo);
    EXPECT_FALSE(m.LerProjeto(arq));

    GravarArquivo(arq, "[VANDORO4]\r\nVersao=4.0\r\n[IDENTIFICACAO]\r\nVersao=1\r\n[TipoSistema]\r\nVersao=1\r\nTipo=1e400\r\n");
    EXPECT_FALSE(m.LerProjeto(arq));

    // Far larger than any project: refused before it is read.
    GravarArquivo(arq, "[VANDORO4]\r\nVersao=4.0\r\n" + std::string(TModeloProjeto::kTamanhoMaximo, ';'));
    EXPECT_FALSE(m.LerProjeto(arq));
}

TEST(ModeloProjeto, AFailedSaveKeepsThePreviousFile) {
    RegionalFixo pt(Regional::PtBR());
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    TModeloProjeto a;
    Preencher(a, 0);
    a.EscreverProjeto(arq);
    const std::string antes = LerArquivo(arq);

    // Something in the way of the scratch file makes the save fail half-way.
    fs::create_directories(NomeTemporario(arq) + "/ocupado");
    a.Identificacao().SetNome("Outro nome");
    EXPECT_ERRO(EVandoro,
                "Não foi possível gravar o arquivo " + arq + ": uma pasta ocupa o nome do arquivo temporário " +
                    NomeSemCaminho(NomeTemporario(arq)) + ".",
                a.EscreverProjeto(arq));
    EXPECT_EQ(LerArquivo(arq), antes);

    // Sections of other programs in the file survive a save.
    fs::remove_all(NomeTemporario(arq));
    {
        IniFile ini(arq);
        ini.WriteString("OutroPrograma", "Chave", "valor");
        ini.UpdateFile();
    }
    a.EscreverProjeto(arq);
    IniFile ini(arq);
    EXPECT_EQ(ini.ReadString("OutroPrograma", "Chave", ""), "valor");
    EXPECT_EQ(ini.ReadString("IDENTIFICACAO", "Nome", ""), "Outro nome");
}

TEST(ModeloProjeto, ManagerReadFailureSaysWhyAndOpensNothing) {
    class Dialogos : public IDialogosProjeto {
    public:
        std::string abrir;
        std::vector<std::string> erros;
        TResposta PerguntarSimNaoCancelar(const std::string&) override { return TResposta::Nao; }
        bool PerguntarSimNao(const std::string&) override { return true; }
        bool EscolherArquivoAbrir(const TDialogoArquivo&, std::string& c) override {
            c = abrir;
            return true;
        }
        bool EscolherArquivoSalvar(const TDialogoArquivo&, std::string&) override { return false; }
        void MostrarErro(const std::string& t) override { erros.push_back(t); }
        void MostrarInformacao(const std::string&) override {}
    };
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("ruim.kzp");
    GravarArquivo(arq, "[VANDORO4]\r\nVersao=2.0\r\n");
    Dialogos dlg;
    dlg.abrir = arq;
    TGerenteSis g;
    g.SetDialogos(&dlg);
    TModeloProjeto m;
    m.LigarGerente(g);
    EXPECT_FALSE(g.Open());
    ASSERT_FALSE(dlg.erros.empty());
    EXPECT_EQ(dlg.erros.back(), "Não foi possível abrir o arquivo " + arq + ". O arquivo tem a versão 2.0, que este programa não lê.");
    EXPECT_FALSE(g.ProjetoAberto());
}

// The examples are what the program's own save writes, byte for byte.
TEST(ModeloProjeto, ShippedExamplesAreTheProgramsOwnSave) {
    PastaTemporaria pasta;
    const std::string cmd = std::string("\"") + VANDORO_TOOLS_DIR + "/gerar_exemplos\" \"" + pasta.Caminho() + "\"";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (const char* nome :
         {"Terraco em nivel.kzp", "Terraco em gradiente.kzp", "Bacia de acumulacao.kzp", "Locacao em nivel.kzp",
          "Locacao com gradiente.kzp"}) {
        const std::string esperado = LerArquivo(std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/" + nome);
        EXPECT_EQ(LerArquivo(pasta.Arquivo(nome)), esperado) << nome;
        TModeloProjeto m;
        EXPECT_TRUE(m.LerProjeto(pasta.Arquivo(nome))) << nome;
        // The stored state index is the state the example names, in the state table.
        EXPECT_EQ(TEstado::Nome(m.Quenda().IndEstado()), m.Quenda().StrEstado()) << nome;
        EXPECT_EQ(m.Quenda().StrEstado(), m.Identificacao().Estado()) << nome;
    }
}

}  // namespace

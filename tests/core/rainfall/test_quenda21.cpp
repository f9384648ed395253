// Design-storm holder: database checks before the window opens, what the window receives
// and gives back, and the "QUENDA" keys of the project.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/rainfall/Quenda21.h"

namespace fs = std::filesystem;

namespace {

// Records what the component hands over and answers as the user would.
class JanelaFalsa : public IJanelaConsulta {
public:
    bool fechar = true;
    int helpContext = -99, indEstado = -99, indEstacao = -99, indLocalidade = -99;
    bool showAbout = false, mostrada = false;
    int parametrosRecebidos = 0;
    std::string latRecebida = "<nada>", lonRecebida = "<nada>";
    std::string k, a, b, c;  // parameter boxes
    // What the user types into the boxes while the window is open (nullptr = leaves it).
    const char *digitaK = nullptr, *digitaA = nullptr, *digitaB = nullptr, *digitaC = nullptr;
    std::string autoria = "GRIDF-BR (2025)", lat = "22°54'10\"", lon = "47°03'39\"";
    std::string estado = "São Paulo", cidade = "Campinas";

    void SetHelpContext(int t) override { helpContext = t; }
    void SetIndEstado(int i) override { indEstado = i; }
    void SetIndEstacao(int i) override { indEstacao = i; }
    void SetIndLocalidade(int i) override { indLocalidade = i; }
    void SetShowAbout(bool m) override { showAbout = m; }
    void SetK(double) override { ++parametrosRecebidos; }
    void SetA(double) override { ++parametrosRecebidos; }
    void SetB(double) override { ++parametrosRecebidos; }
    void SetC(double) override { ++parametrosRecebidos; }
    void SetLatitude(const std::string& t) override { latRecebida = t; }
    void SetLongitude(const std::string& t) override { lonRecebida = t; }
    void SetTextosParametros(const std::string& k_, const std::string& a_, const std::string& b_,
                             const std::string& c_) override {
        k = k_, a = a_, b = b_, c = c_;
    }
    bool ExecutarModal() override {
        mostrada = true;
        if (digitaK) k = digitaK;
        if (digitaA) a = digitaA;
        if (digitaB) b = digitaB;
        if (digitaC) c = digitaC;
        return fechar;
    }
    int IndEstado() const override { return 25; }
    std::string StrEstado() const override { return estado; }
    std::string TextoK() const override { return k; }
    std::string TextoA() const override { return a; }
    std::string TextoB() const override { return b; }
    std::string TextoC() const override { return c; }
    std::string Autoria() const override { return autoria; }
    std::string Latitude() const override { return lat; }
    std::string Longitude() const override { return lon; }
    int IndEstacao() const override { return 7; }
    int IndLocalidade() const override { return -1; }
    std::string StrCidade() const override { return cidade; }
};

// A program folder whose "../Arquivos Comuns/Quenda" holds the files asked for.
struct Instalacao {
    PastaTemporaria raiz;
    std::string bin = raiz.Arquivo("bin");
    std::string banco = raiz.Arquivo("Arquivos Comuns/Quenda");
    explicit Instalacao(bool pasta = true, bool estados = true, bool localidades = true) {
        fs::create_directories(bin);
        if (pasta) fs::create_directories(banco);
        if (estados) GravarArquivo(banco + "/Estados_Qnd21.bin", "x");
        if (localidades) GravarArquivo(banco + "/Localidades_Qnd21.bin", "x");
    }
};

std::string MensagemDe(TQuenda21& q, IJanelaConsulta& j) {
    try {
        q.Execute(j);
    } catch (const EVandoro& e) {
        return e.what();
    }
    return "";
}

TEST(Quenda21, DatabaseIsCheckedBeforeTheWindowOpens) {
    JanelaFalsa j;
    TQuenda21 q;
    q.SetIndEstado(25);
    {
        Instalacao inst(false, false, false);
        q.SetPastaPrograma(inst.bin);
        EXPECT_EQ(MensagemDe(q, j), "Erro. Não foi possível localizar a pasta contendo o banco de dados.");
    }
    {
        Instalacao inst(true, false, true);
        q.SetPastaPrograma(inst.bin);
        EXPECT_EQ(MensagemDe(q, j), "Erro. Não foi possível localizar o banco de dados contendo os estados.");
    }
    {
        Instalacao inst(true, true, false);
        q.SetPastaPrograma(inst.bin + "/");
        EXPECT_EQ(MensagemDe(q, j), "Erro. Não foi possível localizar o banco de dados contendo as localidades.");
    }
    EXPECT_FALSE(j.mostrada);
}

TEST(Quenda21, StateIndexIsRequired) {
    Instalacao inst;
    JanelaFalsa j;
    TQuenda21 q;
    q.SetPastaPrograma(inst.bin);
    q.SetHelpContext(140);
    ASSERT_EQ(q.IndEstado(), -1);
    EXPECT_EQ(MensagemDe(q, j), "É necessário entrar com um índice para o estado");
    EXPECT_EQ(j.helpContext, 140);
    EXPECT_EQ(j.indEstado, -99);
    EXPECT_FALSE(j.mostrada);
}

TEST(Quenda21, CloseTakesTheChoiceCancelKeepsEverything) {
    RegionalFixo pt(Regional::PtBR());
    Instalacao inst;
    TQuenda21 q;
    q.SetPastaPrograma(inst.bin);
    q.SetIndEstado(25);
    q.SetLatitude(TQuenda21::kMascaraVazia);
    q.SetLongitude("47°03'39\"");
    q.Precipitacao().SetK(1000.5);

    JanelaFalsa cancelar;
    cancelar.fechar = false;
    EXPECT_FALSE(q.Execute(cancelar));
    EXPECT_TRUE(cancelar.mostrada);
    EXPECT_EQ(cancelar.indEstado, 25);
    EXPECT_EQ(cancelar.latRecebida, "<nada>");  // the untouched mask is not passed on
    EXPECT_EQ(cancelar.lonRecebida, "47°03'39\"");
    // A cleared storm holds -1 in a, b, c: non-zero, so all four go to the window.
    EXPECT_EQ(cancelar.parametrosRecebidos, 4);
    EXPECT_EQ(cancelar.k, "1000,500");
    EXPECT_DOUBLE_EQ(q.Precipitacao().K(), 1000.5);
    EXPECT_EQ(q.StrEstado(), "");

    JanelaFalsa fechar;
    fechar.digitaK = "2164,6";
    fechar.digitaA = "0,1602";
    fechar.digitaB = "20,000";
    fechar.digitaC = "0,8650";
    EXPECT_TRUE(q.Execute(fechar));
    EXPECT_DOUBLE_EQ(q.Precipitacao().K(), 2164.6);
    EXPECT_DOUBLE_EQ(q.Precipitacao().A(), 0.1602);
    EXPECT_DOUBLE_EQ(q.Precipitacao().B(), 20);
    EXPECT_DOUBLE_EQ(q.Precipitacao().C(), 0.865);
    EXPECT_EQ(q.IndEstado(), 25);
    EXPECT_EQ(q.StrEstado(), "São Paulo");
    EXPECT_EQ(q.Autoria(), "GRIDF-BR (2025)");
    EXPECT_EQ(q.Latitude(), "22°54'10\"");
    EXPECT_EQ(q.IndEstacao(), 7);
    EXPECT_EQ(q.IndLocalidade(), -1);
    EXPECT_EQ(q.StrCidade(), "Campinas");
}

TEST(Quenda21, EmptyParameterBoxChangesNothing) {
    RegionalFixo pt(Regional::PtBR());
    Instalacao inst;
    TQuenda21 q;
    q.SetPastaPrograma(inst.bin);
    q.SetIndEstado(3);
    q.Precipitacao().SetK(900);
    q.Precipitacao().SetA(0.2);
    JanelaFalsa j;
    j.digitaK = "1200";
    j.digitaA = "";
    j.digitaB = "10";
    j.digitaC = "0,8";
    EXPECT_THROW(q.Execute(j), EVandoro);
    EXPECT_EQ(q.IndEstado(), 3);
    EXPECT_EQ(q.StrEstado(), "");
    EXPECT_DOUBLE_EQ(q.Precipitacao().K(), 900);
    EXPECT_DOUBLE_EQ(q.Precipitacao().A(), 0.2);
    EXPECT_EQ(q.Autoria(), "");
}

TEST(Quenda21, ResetKeepsTheSourceText) {
    TQuenda21 q;
    q.SetAutoria("Interpolação");
    q.SetIndEstado(12);
    q.SetIndEstacao(4);
    q.SetStrCidade("Recife");
    q.SetSecao("_2");
    q.Precipitacao().SetK(700);
    q.Reset();
    EXPECT_EQ(q.Autoria(), "Interpolação");
    EXPECT_EQ(q.IndEstado(), -1);
    EXPECT_EQ(q.IndEstacao(), 0);
    EXPECT_EQ(q.IndLocalidade(), 0);
    EXPECT_EQ(q.StrCidade(), "");
    EXPECT_EQ(q.Secao(), "");
    EXPECT_NE(q.Precipitacao().K(), 700);
}

void Preencher(TQuenda21& q) {
    q.SetLatitude("22°54'10\"");
    q.SetLongitude("47°03'39\"");
    q.SetIndEstacao(12);
    q.SetIndLocalidade(-1);
    q.SetStrCidade("São João del-Rei");
    q.SetIndEstado(13);
    q.SetStrEstado("Minas Gerais");
    q.Precipitacao().SetTr(10);
    q.Precipitacao().SetK(1234.56);
    q.Precipitacao().SetA(0.1875);
    q.Precipitacao().SetB(12.5);
    q.Precipitacao().SetC(0.8123);
}

TEST(Quenda21, ProjectKeysRoundTripUnderBothSettings) {
    for (const Regional& r : {Regional::PtBR(), Regional::EnUS()}) {
        RegionalFixo fixo(r);
        PastaTemporaria pasta;
        const std::string arq = pasta.Arquivo("p.kzp");
        TQuenda21 a;
        a.SetSecao("_X");
        Preencher(a);
        ASSERT_TRUE(a.Save(arq));
        {
            IniFile ini(arq);
            EXPECT_EQ(ini.ReadString("QUENDA", "Versao", ""), "1");
            EXPECT_EQ(ini.ReadString("QUENDA_X", "StrCidade", ""), "São João del-Rei");
            const auto chaves = ini.ReadSection("QUENDA_X");
            const std::vector<std::string> ordem{"Latitude",  "Longitude", "IndEstacao", "IndLocalidade",
                                                 "StrCidade", "IndEstado", "StrEstado"};
            EXPECT_EQ(chaves, ordem);
        }
        TQuenda21 b;
        b.SetSecao("_X");
        ASSERT_TRUE(b.Load(arq));
        EXPECT_EQ(b.Latitude(), a.Latitude());
        EXPECT_EQ(b.Longitude(), a.Longitude());
        EXPECT_EQ(b.IndEstacao(), 12);
        EXPECT_EQ(b.IndLocalidade(), -1);
        EXPECT_EQ(b.StrCidade(), a.StrCidade());
        EXPECT_EQ(b.IndEstado(), 13);
        EXPECT_EQ(b.StrEstado(), "Minas Gerais");
        EXPECT_DOUBLE_EQ(b.Precipitacao().K(), 1234.56);
        EXPECT_DOUBLE_EQ(b.Precipitacao().Tr(), 10);
        EXPECT_DOUBLE_EQ(b.Precipitacao().A(), 0.1875);
        EXPECT_DOUBLE_EQ(b.Precipitacao().B(), 12.5);
        EXPECT_DOUBLE_EQ(b.Precipitacao().C(), 0.8123);
    }
}

TEST(Quenda21, LoadRefusesOtherVersionsAndSanitisesIndices) {
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    GravarArquivo(arq, "[QUENDA]\r\nVersao=2\r\nIndEstado=4\r\n");
    TQuenda21 q;
    EXPECT_FALSE(q.Load(arq));
    EXPECT_EQ(q.IndEstado(), -1);

    GravarArquivo(arq, "[QUENDA]\r\nVersao=1\r\nIndEstado=99\r\nIndEstacao=abc\r\nIndLocalidade=3\r\n");
    EXPECT_TRUE(q.Load(arq));
    EXPECT_EQ(q.IndEstado(), -1);  // no such state: none chosen
    EXPECT_EQ(q.IndEstacao(), -1);
    EXPECT_EQ(q.IndLocalidade(), 3);

    EXPECT_FALSE(q.Load(pasta.Arquivo("nao-existe.kzp")));
}

TEST(Quenda21, DamagedStormSectionFailsTheLoad) {
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    TQuenda21 a;
    Preencher(a);
    ASSERT_TRUE(a.Save(arq));
    const std::string bom = LerArquivo(arq);
    TQuenda21 b;
    ASSERT_TRUE(b.Load(arq));
    // A storm version this program never wrote, in either storm section.
    for (const char* secao : {"PRECIPITACAO", "PREC_EXPONENCIAL_NEGATIVA"}) {
        GravarArquivo(arq, bom);
        {
            IniFile ini(arq);
            ini.WriteString(secao, "Versao", "9");
            ini.UpdateFile();
        }
        EXPECT_FALSE(b.Load(arq)) << secao;
    }
    // An older section whose equation cannot be taken (a negative exponent).
    GravarArquivo(arq, bom);
    {
        IniFile ini(arq);
        ini.WriteString("PREC_EXPONENCIAL_NEGATIVA", "Versao", "2");
        ini.WriteString("PREC_EXPONENCIAL_NEGATIVA", "C", "-0.8");
        ini.UpdateFile();
    }
    EXPECT_FALSE(b.Load(arq));

    // A storm never chosen is saved with Tr and K at -1: that reads back as not chosen.
    TQuenda21 novo;
    ASSERT_TRUE(novo.Save(arq));
    ASSERT_TRUE(b.Load(arq));
    EXPECT_EQ(b.Precipitacao().Tr(), -1);
    EXPECT_EQ(b.Precipitacao().K(), -1);
}

}  // namespace

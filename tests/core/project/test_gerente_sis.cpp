// Project manager: the questions, captions, flags, events and recent list a user meets.
#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>

#include "TestSupport.h"
#include "core/common/Erros.h"
#include "core/project/GerenteSis.h"

namespace {

// Answers the manager's questions from a script and records what was asked.
class DialogosRoteiro : public IDialogosProjeto {
public:
    std::deque<TResposta> respostas;
    std::deque<bool> simNao;
    std::deque<std::string> abrir;   // "" = cancel
    std::deque<std::string> salvar;  // "" = cancel
    std::vector<std::string> perguntas, erros, titulosSalvar;

    TResposta PerguntarSimNaoCancelar(const std::string& t) override {
        perguntas.push_back(t);
        if (respostas.empty()) throw std::logic_error("pergunta inesperada: " + t);
        auto r = respostas.front();
        respostas.pop_front();
        return r;
    }
    bool PerguntarSimNao(const std::string& t) override {
        perguntas.push_back(t);
        if (simNao.empty()) throw std::logic_error("pergunta inesperada: " + t);
        bool r = simNao.front();
        simNao.pop_front();
        return r;
    }
    bool EscolherArquivoAbrir(const TDialogoArquivo& d, std::string& c) override {
        EXPECT_EQ(d.Titulo, "Abrir Projeto");
        EXPECT_EQ(d.Filtro, "*.kzp|*.kzp");
        if (abrir.empty()) throw std::logic_error("diálogo de abrir inesperado");
        c = abrir.front();
        abrir.pop_front();
        return !c.empty();
    }
    bool EscolherArquivoSalvar(const TDialogoArquivo& d, std::string& c) override {
        titulosSalvar.push_back(d.Titulo);
        if (salvar.empty()) throw std::logic_error("diálogo de salvar inesperado");
        c = salvar.front();
        salvar.pop_front();
        return !c.empty();
    }
    void MostrarErro(const std::string& t) override { erros.push_back(t); }
    void MostrarInformacao(const std::string&) override {}
};

struct Ambiente {
    PastaTemporaria pasta;
    DialogosRoteiro dlg;
    TGerenteSis g;
    std::vector<std::string> eventos;
    std::string titulo;
    bool lerDevolve = true;
    bool escritaFalha = false;

    Ambiente() {
        g.SetDialogos(&dlg);
        g.SetPastaPrograma(pasta.Caminho());
        g.DefinirTitulo = [this](const std::string& t) { titulo = t; };
        g.OnZerarVariaveis = [this] { eventos.push_back("Zerar"); };
        g.OnAbilitarCampos = [this] { eventos.push_back("Abilitar"); };
        g.OnDesabilitarCampos = [this] { eventos.push_back("Desabilitar"); };
        g.OnLerCamposDados = [this] { eventos.push_back("LerCampos"); };
        g.OnPreencherCamposDados = [this] { eventos.push_back("Preencher"); };
        g.OnLimparCamposDados = [this] { eventos.push_back("Limpar"); };
        g.OnLerArquivo = [this](TGerenteSis& gs, bool& ok) {
            eventos.push_back("Ler " + TGerenteSis::NomeArquivo(gs.PathProjeto()));
            ok = lerDevolve;
        };
        g.OnEscreverArquivo = [this] {
            eventos.push_back("Escrever " + TGerenteSis::NomeArquivo(g.PathProjeto()));
            if (escritaFalha) throw EVandoro("Não foi possível gravar o arquivo " + g.PathProjeto() + ".");
            GravarArquivo(g.PathProjeto(), "x");
        };
    }
    std::string Arq(const std::string& n) { return pasta.Arquivo(n); }
};

using Eventos = std::vector<std::string>;

}  // namespace

TEST(GerenteSis, NovoProjetoSemNomeProprio) {
    Ambiente a;
    EXPECT_TRUE(a.g.New());
    EXPECT_EQ(a.eventos, (Eventos{"Zerar", "Abilitar", "Limpar"}));
    EXPECT_EQ(a.titulo, "Vandoro 4.1 (\"PROJETO1.kzp\")");
    EXPECT_EQ(a.g.NomeProjeto(), "\"PROJETO1.kzp\"");
    EXPECT_EQ(a.g.PathProjeto(), a.Arq("PROJETO1.kzp"));
    EXPECT_TRUE(a.g.ProjetoAberto());
    EXPECT_FALSE(a.g.Alterado());

    // Changes in an open project are offered for saving; New spells the question its own way.
    a.g.SetAlterado(true);
    a.dlg.respostas = {TResposta::Cancelar};
    a.eventos.clear();
    EXPECT_FALSE(a.g.New());
    EXPECT_EQ(a.dlg.perguntas.back(), "Deseja Salvar as Alterações em \"PROJETO1.kzp\"");
    EXPECT_TRUE(a.eventos.empty());
    EXPECT_TRUE(a.g.Alterado());

    a.dlg.respostas = {TResposta::Nao};
    EXPECT_TRUE(a.g.New());
    EXPECT_FALSE(a.g.Alterado());
}

TEST(GerenteSis, SalvarProjetoNovoPassaPorSalvarComo) {
    Ambiente a;
    a.g.New();
    a.eventos.clear();
    a.dlg.salvar = {a.Arq("terraco")};  // no extension typed
    EXPECT_TRUE(a.g.Save());
    EXPECT_EQ(a.dlg.titulosSalvar, (std::vector<std::string>{"Salvar Como"}));
    EXPECT_EQ(a.g.PathProjeto(), a.Arq("terraco.kzp"));
    EXPECT_EQ(a.g.NomeProjeto(), "terraco.kzp");
    EXPECT_EQ(a.eventos, (Eventos{"LerCampos", "Escrever terraco.kzp"}));
    EXPECT_EQ(a.titulo, "Vandoro 4.1 ('terraco.kzp')");
    EXPECT_EQ(a.g.Recentes()[0], a.Arq("terraco.kzp"));
    EXPECT_EQ(a.g.RotuloRecente(1), "&1/ terraco.kzp");

    // Named now: Save writes straight away, no dialog.
    a.eventos.clear();
    a.g.SetAlterado(true);
    EXPECT_TRUE(a.g.Save());
    EXPECT_EQ(a.eventos, (Eventos{"LerCampos", "Escrever terraco.kzp"}));
    EXPECT_FALSE(a.g.Alterado());
    EXPECT_EQ(a.dlg.titulosSalvar.size(), 1u);
}

TEST(GerenteSis, RecusarSubstituicaoMostraODialogoDeNovo) {
    Ambiente a;
    GravarArquivo(a.Arq("existente.kzp"), "antigo");
    a.g.New();
    a.eventos.clear();
    a.dlg.salvar = {a.Arq("existente.kzp"), a.Arq("existente.kzp"), ""};
    a.dlg.simNao = {false, false};
    EXPECT_FALSE(a.g.SaveAs());
    EXPECT_EQ(a.dlg.titulosSalvar.size(), 3u);
    EXPECT_EQ(a.dlg.perguntas, (std::vector<std::string>{"Arquivo já existente. Deseja substituir?",
                                                         "Arquivo já existente. Deseja substituir?"}));
    EXPECT_TRUE(a.eventos.empty());
    EXPECT_EQ(LerArquivo(a.Arq("existente.kzp")), "antigo");
    EXPECT_EQ(a.g.NomeProjeto(), "\"PROJETO1.kzp\"");

    a.dlg.salvar = {a.Arq("existente.kzp")};
    a.dlg.simNao = {true};
    EXPECT_TRUE(a.g.SaveAs());
    EXPECT_EQ(a.eventos, (Eventos{"LerCampos", "LerCampos", "Escrever existente.kzp"}));
    EXPECT_EQ(LerArquivo(a.Arq("existente.kzp")), "x");
}

TEST(GerenteSis, AbrirComDialogoCanceladoNaoMexeNoProjeto) {
    Ambiente a;
    a.g.New();
    a.g.SetAlterado(true);
    a.eventos.clear();
    a.dlg.respostas = {TResposta::Nao};
    a.dlg.abrir = {""};
    EXPECT_FALSE(a.g.Open());
    EXPECT_EQ(a.dlg.perguntas, (std::vector<std::string>{"Deseja salvar as alterações em \"PROJETO1.kzp\""}));
    EXPECT_TRUE(a.eventos.empty());
    EXPECT_TRUE(a.g.ProjetoAberto());
    EXPECT_TRUE(a.g.Alterado());
}

TEST(GerenteSis, AbrirLeOArquivoEscolhido) {
    Ambiente a;
    a.dlg.abrir = {a.Arq("Bacia.kzp")};
    EXPECT_TRUE(a.g.Open());
    EXPECT_EQ(a.eventos, (Eventos{"Limpar", "Zerar", "Ler Bacia.kzp", "Abilitar", "Preencher"}));
    EXPECT_EQ(a.titulo, "Vandoro 4.1 ('Bacia.kzp')");
    EXPECT_EQ(a.g.SaveDialog().NomeArquivo, "Bacia.kzp");
    EXPECT_TRUE(a.g.ProjetoAberto());
    EXPECT_TRUE(a.g.NomeProprio());
    EXPECT_FALSE(a.g.Alterado());

    // A failed read keeps the previous path and reports false.
    a.lerDevolve = false;
    a.dlg.abrir = {a.Arq("ruim.kzp")};
    EXPECT_FALSE(a.g.Open());
    EXPECT_EQ(a.g.PathProjeto(), a.Arq("Bacia.kzp"));
    EXPECT_EQ(a.g.Recentes()[0], a.Arq("Bacia.kzp"));
}

TEST(GerenteSis, AbrirRecenteComLeituraQueLancaMostraAMensagem) {
    Ambiente a;
    a.g.OnLerArquivo = [](TGerenteSis& g, bool&) {
        throw EVandoro("Não foi possível abrir o arquivo " + g.PathProjeto() + ".");
    };
    a.g.SetPathProjeto("/anterior.kzp");
    a.g.SetNomeProjeto("anterior.kzp");
    EXPECT_FALSE(a.g.OpenFile("/sumiu/x.kzp"));
    EXPECT_EQ(a.dlg.erros, (std::vector<std::string>{"Não foi possível abrir o arquivo /sumiu/x.kzp."}));
    EXPECT_EQ(a.g.PathProjeto(), "/anterior.kzp");
    EXPECT_EQ(a.g.NomeProjeto(), "anterior.kzp");
}

TEST(GerenteSis, AbrirRecenteOrdemDosEventos) {
    Ambiente a;
    std::vector<std::string> ordem;
    a.g.OnAbilitarCampos = [&] { ordem.push_back("Abilitar aberto=" + std::to_string(a.g.ProjetoAberto())); };
    a.g.DefinirTitulo = [&](const std::string& t) { ordem.push_back(t); };
    a.g.OnPreencherCamposDados = [&] { ordem.push_back("Preencher " + a.g.Recentes()[0]); };
    EXPECT_TRUE(a.g.OpenFile("/p/Nivel.kzp"));
    EXPECT_EQ(ordem, (Eventos{"Abilitar aberto=0", "Vandoro 4.1 ('Nivel.kzp')", "Preencher /p/Nivel.kzp"}));
}

TEST(GerenteSis, FecharComCancelarMantemOProjeto) {
    Ambiente a;
    a.g.New();
    a.g.SetAlterado(true);
    a.eventos.clear();
    a.dlg.respostas = {TResposta::Cancelar};
    EXPECT_FALSE(a.g.Close());
    EXPECT_TRUE(a.g.ProjetoAberto());
    EXPECT_TRUE(a.g.Alterado());
    EXPECT_TRUE(a.eventos.empty());

    a.dlg.respostas = {TResposta::Nao};
    EXPECT_TRUE(a.g.Close());
    EXPECT_EQ(a.dlg.perguntas.back(), "Deseja salvar as alterações em \"PROJETO1.kzp\"");
    EXPECT_EQ(a.eventos, (Eventos{"Limpar", "Zerar", "Desabilitar"}));
    EXPECT_EQ(a.titulo, "Vandoro 4.1");
    EXPECT_FALSE(a.g.ProjetoAberto());
}

TEST(GerenteSis, FecharComSimEGravacaoFalhaNaoFecha) {
    Ambiente a;
    a.dlg.abrir = {a.Arq("a.kzp")};
    a.g.Open();
    a.g.SetAlterado(true);
    a.escritaFalha = true;
    a.dlg.respostas = {TResposta::Sim};
    EXPECT_FALSE(a.g.Close());
    EXPECT_EQ(a.dlg.erros, (std::vector<std::string>{"Não foi possível gravar o arquivo " + a.Arq("a.kzp") + "."}));
    EXPECT_TRUE(a.g.ProjetoAberto());
    // The changes were not written: they still count as unsaved.
    EXPECT_TRUE(a.g.Alterado());
}

TEST(GerenteSis, SimComSalvarCanceladoNaoDescartaAlteracoes) {
    Ambiente a;
    a.g.New();
    a.g.SetAlterado(true);
    a.eventos.clear();
    a.dlg.respostas = {TResposta::Sim};
    a.dlg.salvar = {""};
    EXPECT_FALSE(a.g.New());
    EXPECT_TRUE(a.eventos.empty());
    EXPECT_TRUE(a.g.Alterado());
}

TEST(GerenteSis, SalvarComoQueFalhaMantemONomeAnterior) {
    Ambiente a;
    a.dlg.abrir = {a.Arq("original.kzp")};
    a.g.Open();
    a.escritaFalha = true;
    a.dlg.salvar = {a.Arq("novo.kzp")};
    EXPECT_FALSE(a.g.SaveAs());
    EXPECT_EQ(a.g.NomeProjeto(), "original.kzp");
    EXPECT_EQ(a.g.PathProjeto(), a.Arq("original.kzp"));
    EXPECT_EQ(a.titulo, "Vandoro 4.1 ('original.kzp')");
    EXPECT_EQ(a.dlg.erros.size(), 1u);
}

TEST(GerenteSis, ListaDeRecentes) {
    TGerenteSis g;
    g.SetRecentes({"/a/Um.kzp", "/a/Dois.kzp", "/a/Tres.kzp", "/a/Quatro.kzp"});
    g.SetPathProjeto("/A/TRES.KZP");  // matched ignoring case, moved to the front, not duplicated
    g.UpdateRecentList();
    EXPECT_EQ(g.Recentes(), (std::array<std::string, 4>{"/A/TRES.KZP", "/a/Um.kzp", "/a/Dois.kzp", "/a/Quatro.kzp"}));
    g.SetPathProjeto("/a/Um.kzp");
    g.UpdateRecentList();
    EXPECT_EQ(g.Recentes(), (std::array<std::string, 4>{"/a/Um.kzp", "/A/TRES.KZP", "/a/Dois.kzp", "/a/Quatro.kzp"}));
    g.UpdateRecentList();  // already first
    EXPECT_EQ(g.Recentes()[1], "/A/TRES.KZP");
    g.SetPathProjeto("/a/Quatro.kzp");
    g.UpdateRecentList();
    EXPECT_EQ(g.Recentes(), (std::array<std::string, 4>{"/a/Quatro.kzp", "/a/Um.kzp", "/A/TRES.KZP", "/a/Dois.kzp"}));
    g.SetPathProjeto("/a/Cinco.kzp");  // a fifth file drops the oldest
    g.UpdateRecentList();
    EXPECT_EQ(g.Recentes(), (std::array<std::string, 4>{"/a/Cinco.kzp", "/a/Quatro.kzp", "/a/Um.kzp", "/A/TRES.KZP"}));
    g.SetPathProjeto("/a/ÁREA.kzp");
    g.UpdateRecentList();
    g.SetPathProjeto("/a/área.kzp");  // same file: the entry is not duplicated
    g.UpdateRecentList();
    EXPECT_EQ(g.Recentes()[0], "/a/ÁREA.kzp");
    EXPECT_EQ(g.Recentes()[1], "/a/Cinco.kzp");
}

TEST(GerenteSis, CaminhoParaAbrirTrocaOArquivoAbertoPorDialogoOuPorNome) {
    Ambiente a;
    a.g.CaminhoParaAbrir = [](const std::string& c) { return "/copias/" + TGerenteSis::NomeArquivo(c); };
    a.dlg.abrir = {"/instalado/Exemplos/Nivel.kzp"};
    EXPECT_TRUE(a.g.Open());
    EXPECT_EQ(a.g.PathProjeto(), "/copias/Nivel.kzp");
    EXPECT_EQ(a.g.Recentes()[0], "/copias/Nivel.kzp");
    EXPECT_TRUE(a.g.OpenFile("/instalado/Exemplos/Bacia.kzp"));
    EXPECT_EQ(a.g.PathProjeto(), "/copias/Bacia.kzp");
    EXPECT_EQ(a.titulo, "Vandoro 4.1 ('Bacia.kzp')");

    // A copy that cannot be made is reported and nothing is read.
    a.g.CaminhoParaAbrir = [](const std::string&) -> std::string {
        throw EVandoro("Não foi possível criar a pasta /copias.");
    };
    a.eventos.clear();
    EXPECT_FALSE(a.g.OpenFile("/instalado/Exemplos/Gradiente.kzp"));
    a.dlg.abrir = {"/instalado/Exemplos/Gradiente.kzp"};
    EXPECT_FALSE(a.g.Open());
    EXPECT_TRUE(a.eventos.empty());
    EXPECT_EQ(a.dlg.erros, (std::vector<std::string>(2, "Não foi possível criar a pasta /copias.")));
    EXPECT_EQ(a.g.PathProjeto(), "/copias/Bacia.kzp");
}

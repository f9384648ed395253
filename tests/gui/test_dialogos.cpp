#include <gtest/gtest.h>

#include "DialogosRoteiro.h"

TEST(Dialogos, OsPedidosDoGerenteDeProjetosPassamPeloServico) {
    TDialogosRoteiro roteiro;
    roteiro.respostas = {TResposta::Nao};
    roteiro.arquivos = {"/tmp/x.kzp"};
    TDialogosProjetoQt d(nullptr);
    EXPECT_EQ(d.PerguntarSimNaoCancelar("Salvar?"), TResposta::Nao);
    std::string caminho;
    TDialogoArquivo dlg;
    dlg.Titulo = "Abrir Projeto";
    EXPECT_TRUE(d.EscolherArquivoAbrir(dlg, caminho));
    EXPECT_EQ(caminho, "/tmp/x.kzp");
    EXPECT_FALSE(d.EscolherArquivoSalvar(dlg, caminho));  // nothing scripted: cancelled
    d.MostrarErro("Não foi possível abrir o arquivo x.");
    EXPECT_EQ(roteiro.registro, QStringList({"pergunta: Salvar?", "abrir: Abrir Projeto", "salvar: Abrir Projeto",
                                             "erro: Não foi possível abrir o arquivo x."}));
}

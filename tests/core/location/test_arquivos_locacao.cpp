#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"

TEST(ArquivosLocacao, ProjectPathsAreReadFromTheProjectFolderAndTheCallerOverrides) {
    PastaTemporaria pasta;
    const std::string projeto = pasta.Arquivo("p.kzp");
    TLocacaoNivel loc;
    loc.SetfnImgElev("dados\\elev.asc");  // written on Windows
    loc.SetfnImgDecli("/abs/decl.rst");
    loc.SetfnVetSaida("saida.vet");
    GravarArquivo(pasta.Arquivo("saida.vet"), "x");
    TArquivosLocacao a = ArquivosDaLocacao(loc, projeto, {});
    EXPECT_EQ(a.elevacao, pasta.Caminho() + "/dados/elev.asc");
    EXPECT_EQ(a.declividade, "/abs/decl.rst");
    EXPECT_EQ(a.saida, pasta.Caminho() + "/saida.vet");
    EXPECT_EQ(a.tabela, pasta.Caminho() + "/saida.bdt");
    EXPECT_TRUE(a.saidaExiste);

    TArquivosLocacao pedido;
    pedido.saida = "x.d/OUTRA.VET";  // the extension in any case; a dot in the folder is not one
    pedido.relatorio = "r.html";
    a = ArquivosDaLocacao(loc, projeto, pedido);
    EXPECT_EQ(a.saida, "x.d/OUTRA.VET");
    EXPECT_EQ(a.tabela, "x.d/OUTRA.bdt");
    EXPECT_EQ(a.relatorio, "r.html");
    EXPECT_FALSE(a.saidaExiste);

    pedido.saida = "x.d/sem";
    EXPECT_EQ(MensagemDe([&] { ArquivosDaLocacao(loc, projeto, pedido); }),
              "O arquivo vetorial de saída precisa ter a extensão .vet (a tabela dos terraços é gravada ao lado "
              "dele, com a extensão .bdt): x.d/sem.");

    // A name neither side gives says which.
    loc.SetfnImgDecli("");
    try {
        ArquivosDaLocacao(loc, projeto, {});
        ADD_FAILURE() << "sem exceção";
    } catch (const EArquivoLocacaoAusente& e) {
        EXPECT_EQ(e.qual, EArquivoLocacaoAusente::Declividade);
        EXPECT_STREQ(e.what(), "O projeto não indica a imagem de declividade.");
    }
}

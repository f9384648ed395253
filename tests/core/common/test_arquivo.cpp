#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "TestSupport.h"
#include "core/common/Arquivo.h"

namespace fs = std::filesystem;

TEST(Arquivo, AWriteThatFailsLeavesTheOldFileByteForByte) {
    PastaTemporaria p;
    const std::string alvo = p.Arquivo("dados.bin"), tmp = NomeTemporario(alvo);
    const std::string antigo("antigo\0\r\n", 9);
    GravarArquivo(alvo, antigo);

    // The writer gets halfway and fails: its message passes through, other failures get the
    // unit's.
    const auto metade = [&](const std::string& t) {
        std::ofstream(t, std::ios::binary) << "metade do novo";
    };
    EXPECT_EQ(MensagemDe([&] {
                  SubstituirArquivo(alvo, [&](const std::string& t) { metade(t); throw EVandoro("parou"); });
              }),
              "parou");
    EXPECT_EQ(MensagemDe([&] {
                  SubstituirArquivo(alvo, [&](const std::string& t) { metade(t); throw std::runtime_error("x"); });
              }),
              "Não foi possível gravar o arquivo " + alvo + ": erro de gravação.");
    EXPECT_EQ(LerArquivo(alvo), antigo);
    EXPECT_FALSE(fs::exists(tmp));

    // A folder where the temporary goes (root writes through read-only folders, not this).
    fs::create_directory(tmp);
    EXPECT_EQ(MensagemDe([&] { GravarArquivoInteiro(alvo, "novo", "falhou"); }),
              "falhou: uma pasta ocupa o nome do arquivo temporário " + NomeSemCaminho(tmp));
    EXPECT_EQ(LerArquivo(alvo), antigo);
    EXPECT_TRUE(fs::is_directory(tmp));  // not someone's to remove
    fs::remove(tmp);

    // A path that runs through a regular file.
    EXPECT_EQ(MensagemDe([&] { GravarArquivoInteiro(alvo + "/filho.txt", "novo"); }),
              "Não foi possível gravar o arquivo " + alvo + "/filho.txt: pasta inexistente.");
    EXPECT_EQ(LerArquivo(alvo), antigo);

    // A temporary left by an interrupted write does not stop the next one, nor stay.
    GravarArquivo(tmp, "resto");
    GravarArquivoInteiro(alvo, "novo");
    EXPECT_EQ(LerArquivo(alvo), "novo");
    EXPECT_FALSE(fs::exists(tmp));
}

TEST(Arquivo, SameFileUnderAnotherSpellingALinkOrNotYetWritten) {
    PastaTemporaria p;
    const std::string a = p.Arquivo("a.asc");
    GravarArquivo(a, "1");
    GravarArquivo(p.Arquivo("b.asc"), "1");  // same bytes, another file
    fs::create_directory(p.Arquivo("dir"));
    EXPECT_TRUE(MesmoArquivo(a, p.Caminho() + "/./a.asc"));
    EXPECT_TRUE(MesmoArquivo(a, p.Arquivo("dir/../a.asc")));
    EXPECT_FALSE(MesmoArquivo(a, p.Arquivo("b.asc")));
    fs::create_symlink(a, p.Arquivo("sim.vet"));
    fs::create_hard_link(a, p.Arquivo("duro.vet"));
    EXPECT_TRUE(MesmoArquivo(p.Arquivo("sim.vet"), a));
    EXPECT_TRUE(MesmoArquivo(a, p.Arquivo("duro.vet")));
    // Relative to the working folder.
    const fs::path antes = fs::current_path();
    fs::current_path(p.Caminho());
    EXPECT_TRUE(MesmoArquivo("./a.asc", a));
    EXPECT_TRUE(MesmoArquivo("dir/../a.asc", "a.asc"));
    fs::current_path(antes);

    // Files not written yet: by their normalised absolute names, through a linked folder too.
    fs::create_directory_symlink(p.Arquivo("dir"), p.Arquivo("ldir"));
    EXPECT_TRUE(MesmoArquivo(p.Arquivo("novo.vet"), p.Arquivo("dir/../novo.vet")));
    EXPECT_TRUE(MesmoArquivo(p.Arquivo("ldir/novo.vet"), p.Arquivo("dir/novo.vet")));
    EXPECT_FALSE(MesmoArquivo(p.Arquivo("novo.vet"), p.Arquivo("novo.bdt")));
    EXPECT_FALSE(MesmoArquivo(p.Arquivo("novo.vet"), a));
    EXPECT_FALSE(MesmoArquivo("", ""));
}

TEST(Arquivo, ReadWholeUpToTheLimit) {
    PastaTemporaria p;
    const std::string f = p.Arquivo("dez.bin");
    GravarArquivo(f, std::string("0123456789"));
    EXPECT_EQ(LerArquivoInteiro(f, 10), "0123456789");
    try {
        LerArquivoInteiro(f, 9);
        ADD_FAILURE() << "sem exceção";
    } catch (const EArquivoGrandeDemais& e) {
        EXPECT_EQ(e.tamanho, 10);
        EXPECT_STREQ(e.what(), "O arquivo dez.bin é grande demais para ser lido.");
    }
    EXPECT_EQ(MensagemDe([&] { LerArquivoInteiro(p.Arquivo("nada.txt")); }), "Erro ao abrir o arquivo nada.txt.");
    EXPECT_EQ(MensagemDe([&] { LerArquivoInteiro(p.Caminho() + "/"); }), "Erro ao abrir o arquivo .");
}

TEST(Arquivo, ExtensionsIgnoreDotsInFoldersAndLeadingDots) {
    EXPECT_EQ(ExtensaoDe("a.b/c.ASC"), ".asc");
    EXPECT_EQ(TrocaExtensao("a.b/c.ASC", ".doc"), "a.b/c.doc");
    EXPECT_EQ(ExtensaoDe("a.b/c"), "");
    EXPECT_EQ(TrocaExtensao("a.b/c", ".bdt"), "a.b/c.bdt");
    EXPECT_EQ(ExtensaoDe("d:\\x.y\\z"), "");
    EXPECT_EQ(TrocaExtensao("d:\\x.y\\z", ".bdt"), "d:\\x.y\\z.bdt");
    EXPECT_EQ(ExtensaoDe("mapa.tar.gz"), ".gz");
    EXPECT_EQ(TrocaExtensao("mapa.tar.gz", ".vet"), "mapa.tar.vet");
    // A leading dot names the file.
    EXPECT_EQ(ExtensaoDe(".vet"), "");
    EXPECT_EQ(TrocaExtensao(".vet", ".bdt"), ".vet.bdt");
    EXPECT_EQ(TrocaExtensao("d/.vet", ".bdt"), "d/.vet.bdt");
}

// The user's copies of the shipped examples: when they are made, what they hold, what is kept.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/project/Exemplos.h"

namespace fs = std::filesystem;

namespace {

// A program folder with three shipped files, one in a sub-folder, and a documents folder.
struct Instalacao {
    PastaTemporaria t;
    std::string programa = t.Arquivo("opt/vandoro/bin");
    std::string exemplos = programa + "/Exemplos";
    std::string documentos = t.Arquivo("casa/Documentos");
    std::string copias = t.Arquivo("casa/Documentos/Vandoro/Exemplos");
    Instalacao() {
        fs::create_directories(exemplos + "/rasters");
        GravarArquivo(exemplos + "/Terraco em nivel.kzp", "[IDENTIFICACAO]\r\nNome=nivel\r\n");
        GravarArquivo(exemplos + "/LEIA-ME.txt", "leia");
        GravarArquivo(exemplos + "/rasters/mde.asc", "ncols 1\r\n");
    }
    std::string Editavel(const std::string& caminho, bool gravavel = false) const {
        return CaminhoEditavel(caminho, programa, documentos, [gravavel](const std::string&) { return gravavel; });
    }
};

}  // namespace

TEST(Exemplos, PastaDoProgramaGravavelAbreOProprioArquivo) {
    Instalacao i;
    const std::string kzp = i.exemplos + "/Terraco em nivel.kzp";
    EXPECT_EQ(i.Editavel(kzp, true), kzp);
    EXPECT_FALSE(fs::exists(i.documentos));
}

TEST(Exemplos, PrimeiroUsoCopiaAPastaInteiraEAbreACopia) {
    Instalacao i;
    // Another spelling of the same file still counts as a shipped example.
    const std::string aberto = i.Editavel(i.programa + "/../bin/Exemplos/Terraco em nivel.kzp");
    EXPECT_EQ(aberto, i.copias + "/Terraco em nivel.kzp");
    EXPECT_EQ(LerArquivo(aberto), "[IDENTIFICACAO]\r\nNome=nivel\r\n");
    EXPECT_EQ(LerArquivo(i.copias + "/LEIA-ME.txt"), "leia");
    EXPECT_EQ(LerArquivo(i.copias + "/rasters/mde.asc"), "ncols 1\r\n");
    // A file in a sub-folder maps to the same place in the copies.
    EXPECT_EQ(i.Editavel(i.exemplos + "/rasters/mde.asc"), i.copias + "/rasters/mde.asc");
}

TEST(Exemplos, CopiaDoUsuarioNuncaESubstituidaEOQueFaltaVoltaASerCopiado) {
    Instalacao i;
    const std::string kzp = i.exemplos + "/Terraco em nivel.kzp";
    const std::string copia = i.Editavel(kzp);
    GravarArquivo(copia, "editado pelo usuario");
    fs::remove(i.copias + "/rasters/mde.asc");
    EXPECT_EQ(i.Editavel(kzp), copia);
    EXPECT_EQ(LerArquivo(copia), "editado pelo usuario");
    EXPECT_EQ(LerArquivo(i.copias + "/rasters/mde.asc"), "ncols 1\r\n");
    // The shipped file is untouched.
    EXPECT_EQ(LerArquivo(kzp), "[IDENTIFICACAO]\r\nNome=nivel\r\n");
}

TEST(Exemplos, ArquivosForaDosExemplosOuInexistentesFicamComoEstao) {
    Instalacao i;
    // A sibling whose name starts with "Exemplos" is not the examples folder.
    fs::create_directories(i.programa + "/Exemplos antigos");
    GravarArquivo(i.programa + "/Exemplos antigos/a.kzp", "x");
    GravarArquivo(i.t.Arquivo("projeto.kzp"), "x");
    for (const std::string& c : {i.programa + "/Exemplos antigos/a.kzp", i.t.Arquivo("projeto.kzp"),
                                i.exemplos + "/Nao existe.kzp", i.exemplos + "/../Exemplos antigos/a.kzp"})
        EXPECT_EQ(i.Editavel(c), c) << c;
    EXPECT_FALSE(fs::exists(i.documentos));
}

TEST(Exemplos, PastaDeCopiasImpossivelDaMensagemClara) {
    Instalacao i;
    fs::create_directories(i.t.Arquivo("casa"));
    GravarArquivo(i.documentos, "um arquivo no lugar da pasta");
    EXPECT_EQ(MensagemDe([&] { i.Editavel(i.exemplos + "/LEIA-ME.txt"); }),
              "Não foi possível criar a pasta " + i.copias + ".");
}

TEST(Exemplos, PastaGravavel) {
    PastaTemporaria t;
    EXPECT_TRUE(PastaGravavel(t.Caminho()));
    EXPECT_FALSE(PastaGravavel(t.Arquivo("nao-existe")));
    EXPECT_EQ(PastaExemplosUsuario("/home/ana/Documentos"), "/home/ana/Documentos/Vandoro/Exemplos");
}

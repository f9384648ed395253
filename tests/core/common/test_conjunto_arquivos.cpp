// A set of files replaced as one: whole, not at all after a failure, and after a "crash" (the
// folder state a killed run leaves, written here by hand) rolled forward or back by the next
// run, never touching a live writer's staging folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/common/ConjuntoArquivos.h"

namespace fs = std::filesystem;

namespace {

void ConjuntoAntigo(const PastaTemporaria& p) {
    GravarArquivo(p.Arquivo("a.vet"), "vet antigo");
    GravarArquivo(p.Arquivo("a.bdt"), "bdt antigo");
    GravarArquivo(p.Arquivo("a.prj"), "prj de outra zona");
}

// The id of a process that has ended.
long PidMorto() {
    const pid_t f = fork();
    if (f == 0) _exit(0);
    waitpid(f, nullptr, 0);
    return f;
}

unsigned long long Inode(const std::string& p) {
    struct stat st {};
    stat(p.c_str(), &st);
    return st.st_ino;
}

std::string Nome(const std::string& s) { return std::to_string(s.size()) + ":" + s; }

}  // namespace

TEST(ConjuntoArquivos, TheNewSetReplacesTheOldOneWhole) {
    PastaTemporaria p;
    ConjuntoAntigo(p);
    TConjuntoArquivos c;
    c.Membro(p.Arquivo("a.vet"), [](const std::string& t) { GravarArquivoInteiro(t, "vet novo"); });
    // A writer may leave companions beside its member: they belong to the set.
    c.Membro(p.Arquivo("a.bdt"), [](const std::string& t) {
        GravarArquivoInteiro(t, "bdt novo");
        GravarArquivoInteiro(TrocaExtensao(t, ".csv"), "csv novo");
    });
    c.Remover(p.Arquivo("a.prj"));  // the new model has no system
    c.Remover(p.Arquivo("a.csv"));  // written anew: kept
    c.Gravar();
    const std::map<std::string, std::string> esperado = {
        {"a.vet", "vet novo"}, {"a.bdt", "bdt novo"}, {"a.csv", "csv novo"}};
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()), esperado);
}

TEST(ConjuntoArquivos, AFailureMidSetLeavesTheOldSetByteForByte) {
    PastaTemporaria p;
    ConjuntoAntigo(p);
    const auto antes = ConteudoDaPasta(p.Caminho());
    {
        TConjuntoArquivos c;
        c.Membro(p.Arquivo("a.vet"), [](const std::string& t) { GravarArquivoInteiro(t, "vet novo"); });
        c.Membro(p.Arquivo("a.bdt"), [](const std::string&) { throw EVandoro("Disco cheio."); });
        c.Remover(p.Arquivo("a.prj"));
        EXPECT_EQ(MensagemDe([&] { c.Gravar(); }), "Disco cheio.");
    }
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()), antes);

    // A member in a place that cannot be written: its folder runs through a regular file.
    GravarArquivo(p.Arquivo("arquivo.txt"), "x");
    const auto antes2 = ConteudoDaPasta(p.Caminho());
    TConjuntoArquivos c;
    c.Membro(p.Arquivo("a.vet"), [](const std::string& t) { GravarArquivoInteiro(t, "vet novo"); });
    c.Membro(p.Arquivo("arquivo.txt/f.asc"), [](const std::string& t) { GravarArquivoInteiro(t, "faixas"); });
    EXPECT_EQ(MensagemDe([&] { c.Gravar(); }),
              "Não foi possível gravar o arquivo " + p.Arquivo("arquivo.txt/f.asc") + ": pasta inexistente.");
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()), antes2);
}

TEST(ConjuntoArquivos, ACrashBeforeTheJournalIsRolledBackByTheNextRunInTheFolder) {
    PastaTemporaria p;
    ConjuntoAntigo(p);
    const auto antes = ConteudoDaPasta(p.Caminho());
    // Killed while writing: new members staged, the journal not (or only half) written.
    const std::string s1 = p.Arquivo("conjunto-" + std::to_string(PidMorto()) + "-1.gravando");
    fs::create_directory(s1);
    GravarArquivo(s1 + "/a.vet", "vet novo");
    GravarArquivo(s1 + "/a.bdt.gravando", "bdt pela met");
    const std::string s2 = p.Arquivo("conjunto-" + std::to_string(PidMorto()) + "-2.gravando");
    fs::create_directory(s2);
    GravarArquivo(s2 + "/a.vet", "vet novo");
    GravarArquivo(s2 + "/diario", "VANDORO-CONJUNTO 1\nM " + Nome(s2 + "/a.vet") + " " + Nome(p.Arquivo("a.vet")) +
                                      " " + std::to_string(Inode(s2 + "/a.vet")) + "\n");  // no "FIM"
    RecuperarPasta(p.Caminho());
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()), antes);

    // A run writing other names in that folder cleans up the same way.
    const std::string s3 = p.Arquivo("conjunto-" + std::to_string(PidMorto()) + "-3.gravando");
    fs::create_directory(s3);
    GravarArquivo(s3 + "/a.vet", "vet novo");
    TConjuntoArquivos c;
    c.Membro(p.Arquivo("b.txt"), [](const std::string& t) { GravarArquivoInteiro(t, "b"); });
    c.Gravar();
    auto depois = antes;
    depois["b.txt"] = "b";
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()), depois);
}

TEST(ConjuntoArquivos, ACrashDuringTheRenamesIsRolledForward) {
    PastaTemporaria p;
    ConjuntoAntigo(p);
    // Killed after the journal and the first rename: a.vet is new, a.bdt still staged, the old
    // a.prj not yet removed. The journal's name carries a newline, which it must survive.
    const std::string s = p.Arquivo("conjunto-" + std::to_string(PidMorto()) + "-1.gravando");
    fs::create_directory(s);
    GravarArquivo(s + "/a.vet", "vet novo");
    GravarArquivo(s + "/a\nb.bdt", "bdt novo");
    const std::string diario = "VANDORO-CONJUNTO 1\nP " + Nome(s) + "\nM " + Nome(s + "/a.vet") + " " +
                               Nome(p.Arquivo("a.vet")) + " " + std::to_string(Inode(s + "/a.vet")) + "\nM " +
                               Nome(s + "/a\nb.bdt") + " " + Nome(p.Arquivo("a\nb.bdt")) + " " +
                               std::to_string(Inode(s + "/a\nb.bdt")) + "\nR " + Nome(p.Arquivo("a.prj")) +
                               "\nFIM\n";
    GravarArquivo(s + "/diario", diario);
    fs::rename(s + "/a.vet", p.Arquivo("a.vet"));
    RecuperarPasta(p.Caminho());
    const std::map<std::string, std::string> esperado = {
        {"a.vet", "vet novo"}, {"a.bdt", "bdt antigo"}, {"a\nb.bdt", "bdt novo"}};
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()), esperado);

    // A complete journal whose member is gone from the staging folder (its other half was
    // rolled back first) cannot go forward: rolled back.
    ConjuntoAntigo(p);
    const auto antes = ConteudoDaPasta(p.Caminho());
    const std::string t = p.Arquivo("conjunto-" + std::to_string(PidMorto()) + "-2.gravando");
    fs::create_directory(t);
    GravarArquivo(t + "/a.vet", "vet novo");
    GravarArquivo(t + "/diario", "VANDORO-CONJUNTO 1\nP " + Nome(t) + "\nM " + Nome(t + "/a.vet") + " " +
                                     Nome(p.Arquivo("a.vet")) + " " + std::to_string(Inode(t + "/a.vet")) + "\nM " +
                                     Nome("/nao/existe/f.asc") + " " + Nome(p.Arquivo("f.asc")) + " 12345\nFIM\n");
    RecuperarPasta(p.Caminho());
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()), antes);
}

TEST(ConjuntoArquivos, ALiveWritersStagingFolderIsNeverRemoved) {
    PastaTemporaria p;
    const pid_t vivo = fork();
    if (vivo == 0) {
        pause();
        _exit(0);
    }
    const std::string s = p.Arquivo("conjunto-" + std::to_string(vivo) + "-1.gravando");
    fs::create_directory(s);
    GravarArquivo(s + "/a.vet", "sendo gravado");
    TConjuntoArquivos c;
    c.Membro(p.Arquivo("b.txt"), [](const std::string& t) { GravarArquivoInteiro(t, "b"); });
    c.Gravar();
    EXPECT_EQ(LerArquivo(s + "/a.vet"), "sendo gravado");
    // Once its writer is gone, the next run removes it.
    kill(vivo, SIGKILL);
    waitpid(vivo, nullptr, 0);
    RecuperarPasta(p.Caminho());
    EXPECT_FALSE(fs::exists(s));
    EXPECT_EQ(LerArquivo(p.Arquivo("b.txt")), "b");
}

TEST(ConjuntoArquivos, ASingleFileWriteSweepsTheTemporariesOfDeadRunsOnly) {
    PastaTemporaria p;
    // Left by killed writes of other names, by this (live) process, and a user's own file.
    const std::string morto = p.Arquivo("grande.flt." + std::to_string(PidMorto()) + ".gravando");
    const std::string vivo = NomeTemporario(p.Arquivo("outro.flt"));
    GravarArquivo(morto, std::string(1 << 16, 'x'));
    GravarArquivo(vivo, "sendo gravado");
    GravarArquivo(p.Arquivo("notas.gravando"), "do usuário");
    GravarArquivoInteiro(p.Arquivo("r.html"), "novo");
    EXPECT_FALSE(fs::exists(morto));
    EXPECT_EQ(LerArquivo(vivo), "sendo gravado");
    EXPECT_EQ(LerArquivo(p.Arquivo("notas.gravando")), "do usuário");
    EXPECT_EQ(LerArquivo(p.Arquivo("r.html")), "novo");
}

TEST(ConjuntoArquivos, AMemberMarkedReadOnlyStopsTheWholeSet) {
    PastaTemporaria p;
    ConjuntoAntigo(p);
    fs::permissions(p.Arquivo("a.bdt"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    TConjuntoArquivos c;
    c.Membro(p.Arquivo("a.vet"), [](const std::string& t) { GravarArquivoInteiro(t, "vet novo"); });
    c.Membro(p.Arquivo("a.bdt"), [](const std::string& t) { GravarArquivoInteiro(t, "bdt novo"); });
    EXPECT_EQ(MensagemDe([&] { c.Gravar(); }),
              "Não foi possível gravar o arquivo " + p.Arquivo("a.bdt") + ": o arquivo está marcado como somente leitura.");
    fs::permissions(p.Arquivo("a.bdt"), fs::perms::owner_write, fs::perm_options::add);
    const std::map<std::string, std::string> antigo{
        {"a.vet", "vet antigo"}, {"a.bdt", "bdt antigo"}, {"a.prj", "prj de outra zona"}};
    EXPECT_EQ(ConteudoDaPasta(p.Caminho()), antigo);
}

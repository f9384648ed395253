// Why a write failed, files marked read-only, and outputs that would land on an input.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "TestSupport.h"
#include "core/common/Arquivo.h"

namespace fs = std::filesystem;

namespace {

// The message of 'f' run in a child process whose files may not grow past 'bytes' (a full
// disk without mounting one): the write fails with EFBIG instead of the signal.
std::string MensagemComLimite(long long bytes, const std::function<void()>& f) {
    int tubo[2];
    if (pipe(tubo) != 0) return "(sem tubo)";
    const pid_t filho = fork();
    if (filho == 0) {
        close(tubo[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        setrlimit(RLIMIT_FSIZE, &lim);
        const std::string m = MensagemDe(f);
        const ssize_t n = write(tubo[1], m.data(), m.size());
        _exit(n == static_cast<ssize_t>(m.size()) ? 0 : 1);
    }
    close(tubo[1]);
    std::string m;
    char buf[512];
    for (ssize_t n; (n = read(tubo[0], buf, sizeof buf)) > 0;) m.append(buf, static_cast<size_t>(n));
    close(tubo[0]);
    int st = 0;
    waitpid(filho, &st, 0);
    return m;
}

}  // namespace

TEST(Gravacao, TheCauseOfAFailedWriteInTheUsersWords) {
    PastaTemporaria p;
    const std::string alvo = p.Arquivo("a.txt");
    EXPECT_EQ(CausaFalhaGravacao(alvo, ENOSPC), "disco cheio");
    EXPECT_EQ(CausaFalhaGravacao(alvo, EFBIG), "disco cheio (o arquivo passa do tamanho permitido)");
    EXPECT_EQ(CausaFalhaGravacao(alvo, EACCES), "sem permissão");
    EXPECT_EQ(CausaFalhaGravacao(alvo, EROFS), "sem permissão (o disco é somente para leitura)");
    // Without a telling errno, what is there now: a missing folder, a path through a file,
    // a folder under the name or under the temporary's.
    EXPECT_EQ(CausaFalhaGravacao(p.Arquivo("nao/a.txt"), ENOENT), "pasta inexistente");
    GravarArquivo(alvo, "x");
    EXPECT_EQ(CausaFalhaGravacao(alvo + "/b.txt", 0), "pasta inexistente");
    fs::create_directory(p.Arquivo("d"));
    EXPECT_EQ(CausaFalhaGravacao(p.Arquivo("d"), EISDIR), "já existe uma pasta com esse nome");
    fs::create_directory(NomeTemporario(p.Arquivo("b.txt")));
    EXPECT_EQ(CausaFalhaGravacao(p.Arquivo("b.txt"), EISDIR),
              "uma pasta ocupa o nome do arquivo temporário b.txt." + std::to_string(::getpid()) + ".gravando");
    EXPECT_EQ(CausaFalhaGravacao(alvo, EIO), "erro de gravação");

    EXPECT_EQ(ComCausa("Não foi possível gravar o arquivo a.txt.", "disco cheio"),
              "Não foi possível gravar o arquivo a.txt: disco cheio.");
    EXPECT_EQ(ComCausa("falhou", "sem permissão"), "falhou: sem permissão");
}

TEST(Gravacao, AFullDiskKeepsTheOldFileAndSaysSo) {
    PastaTemporaria p;
    const std::string alvo = p.Arquivo("r.html");
    GravarArquivo(alvo, "antigo");
    const std::string novo(64 * 1024, 'n');
    EXPECT_EQ(MensagemComLimite(4096, [&] { GravarArquivoInteiro(alvo, novo); }),
              "Não foi possível gravar o arquivo " + alvo + ": disco cheio (o arquivo passa do tamanho permitido).");
    EXPECT_EQ(LerArquivo(alvo), "antigo");
    EXPECT_FALSE(fs::exists(NomeTemporario(alvo)));
    // Under the limit the same write goes through.
    EXPECT_EQ(MensagemComLimite(128 * 1024, [&] { GravarArquivoInteiro(alvo, novo); }), "(sem erro)");
    EXPECT_EQ(LerArquivo(alvo), novo);
}

TEST(Gravacao, AFileMarkedReadOnlyIsNotReplaced) {
    PastaTemporaria p;
    const std::string alvo = p.Arquivo("VANDORO4.ini");
    GravarArquivo(alvo, "[Sistema]\r\n");
    fs::permissions(alvo, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(SomenteLeitura(alvo));
    // Root could rename over it; the mode bits are what the user set.
    EXPECT_EQ(MensagemDe([&] { GravarArquivoInteiro(alvo, "novo"); }),
              "Não foi possível gravar o arquivo " + alvo + ": o arquivo está marcado como somente leitura.");
    EXPECT_EQ(LerArquivo(alvo), "[Sistema]\r\n");
    fs::permissions(alvo, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(SomenteLeitura(alvo));
    GravarArquivoInteiro(alvo, "novo");
    EXPECT_EQ(LerArquivo(alvo), "novo");
    EXPECT_FALSE(SomenteLeitura(p.Arquivo("nao.ini")));
}

TEST(Gravacao, AnOutputOverAnInputOrOneOfItsFilesIsRefused) {
    PastaTemporaria p;
    const std::string kzp = p.Arquivo("P.kzp");
    GravarArquivo(kzp, "[IDENTIFICACAO]\r\n");
    fs::create_directory(p.Arquivo("sub"));
    EXPECT_EQ(MensagemDe([&] {
                  RecusaSaidaSobreEntradas({p.Arquivo("sub/../P.kzp"), "O relatório "}, {{kzp, "o projeto "}});
              }),
              "O relatório " + p.Arquivo("sub/../P.kzp") + " substituiria o projeto " + kzp +
                  ": escolha outro nome. Nada foi gravado.");
    // A companion: named, and whose it is.
    const std::string hdr = p.Arquivo("g.hdr"), prj = p.Arquivo("g.prj");
    EXPECT_EQ(MensagemDe([&] {
                  RecusaSaidaSobreEntradas({p.Arquivo("g.asc"), "A imagem de saída ", {p.Arquivo("g.asc"), prj}},
                                           {{kzp, "o projeto "}, {hdr, "a imagem de entrada ", {hdr, prj}}});
              }),
              "A imagem de saída " + p.Arquivo("g.asc") + " substituiria g.prj, que pertence à imagem de entrada " +
                  hdr + ": escolha outro nome. Nada foi gravado.");
    // Other names, and names not given, pass.
    EXPECT_EQ(MensagemDe([&] {
                  RecusaSaidaSobreEntradas({p.Arquivo("P.html"), "O relatório "}, {{kzp, "o projeto "}, {"", "x"}});
                  RecusaSaidaSobreEntradas({"", "O relatório "}, {{kzp, "o projeto "}});
              }),
              "(sem erro)");
}

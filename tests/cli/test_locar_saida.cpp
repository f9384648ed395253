// locar never writes over its own inputs, nor one output over the other, and a run that
// places no terrace fails with why.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;

const std::string kExemplos = std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/";

// The example project and elevation, and a slope raster as an Idrisi .doc/.img pair, in a
// scratch folder.
struct Entradas {
    PastaTemporaria tmp;
    std::string projeto = tmp.Arquivo("p.kzp"), elev = tmp.Arquivo("dem.asc"), decl = tmp.Arquivo("decl.doc");
    std::vector<std::pair<std::string, std::string>> antes;
    Entradas() {
        fs::copy_file(kExemplos + "Terraco em nivel.kzp", projeto);
        fs::copy_file(kExemplos + "hugo_site.asc", elev);
        EXPECT_EQ(RodarCli({"declividade", elev, decl}).codigo, 0);
        for (const std::string& f : {projeto, elev, decl, tmp.Arquivo("decl.img")})
            antes.emplace_back(f, LerArquivo(f));
    }
    ResultadoCli Locar(const std::string& saida, const std::string& relatorio = "") const {
        std::vector<std::string> args{"locar", projeto, "--elevacao", elev, "--declividade", decl, "--saida", saida};
        if (!relatorio.empty()) args.insert(args.end(), {"--relatorio", relatorio});
        return RodarCli(args);
    }
    void Intactas() const {
        for (const auto& [f, bytes] : antes) EXPECT_EQ(LerArquivo(f), bytes) << f;
    }
};

void Recusa(const ResultadoCli& r, const std::string& mensagem) {
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.saida, "");
    EXPECT_EQ(r.erro, "vandoro-cli: " + mensagem + "\n");
}

TEST(CliLocarSaida, AnOutputNamingAnInputIsRefusedBeforeAnythingIsWritten) {
    Entradas e;
    const std::string t = e.tmp.Arquivo("t.vet");
    const std::string sobre = ": escolha outro nome. Nada foi gravado.";
    const std::string extensao = "O arquivo vetorial de saída precisa ter a extensão .vet (a tabela dos terraços "
                                 "é gravada ao lado dele, com a extensão .bdt): ";

    // The elevation model itself, and x.bdt (the vector and the table would be one file).
    Recusa(e.Locar(e.elev), extensao + e.elev + ".");
    Recusa(e.Locar(e.tmp.Arquivo("x.bdt")), extensao + e.tmp.Arquivo("x.bdt") + ".");

    // A link to the elevation, a hard link to the project.
    const std::string ligacao = e.tmp.Arquivo("ligacao.vet"), dura = e.tmp.Arquivo("dura.vet");
    fs::create_symlink(e.elev, ligacao);
    fs::create_hard_link(e.projeto, dura);
    Recusa(e.Locar(ligacao), "O arquivo vetorial de saída " + ligacao + " substituiria a imagem de elevação " +
                                 e.elev + sobre);
    Recusa(e.Locar(dura), "O arquivo vetorial de saída " + dura + " substituiria o projeto " + e.projeto + sobre);

    // The table beside the output, through a link, onto the elevation and onto the vector.
    fs::create_symlink(e.elev, e.tmp.Arquivo("t.bdt"));
    Recusa(e.Locar(t), "A tabela dos terraços (ao lado do arquivo vetorial de saída) " + e.tmp.Arquivo("t.bdt") +
                           " substituiria a imagem de elevação " + e.elev + sobre);
    fs::remove(e.tmp.Arquivo("t.bdt"));
    GravarArquivo(t, "vetor anterior");
    fs::create_symlink(t, e.tmp.Arquivo("t.bdt"));
    Recusa(e.Locar(t), "A tabela dos terraços (ao lado do arquivo vetorial de saída) " + e.tmp.Arquivo("t.bdt") +
                           " substituiria o arquivo vetorial de saída " + t + sobre);
    EXPECT_EQ(LerArquivo(t), "vetor anterior");
    fs::remove(e.tmp.Arquivo("t.bdt"));
    fs::remove(t);

    // The report: the data half of the slope pair, the elevation by another spelling, the
    // project, either output.
    const std::string img = e.tmp.Arquivo("decl.img");
    Recusa(e.Locar(t, img), "O relatório " + img + " substituiria a imagem de declividade " + e.decl + sobre);
    const std::string outra = e.tmp.Caminho() + "/./sub/../dem.asc";
    Recusa(e.Locar(t, outra), "O relatório " + outra + " substituiria a imagem de elevação " + e.elev + sobre);
    Recusa(e.Locar(t, e.projeto), "O relatório " + e.projeto + " substituiria o projeto " + e.projeto + sobre);
    Recusa(e.Locar(t, t), "O relatório " + t + " substituiria o arquivo vetorial de saída " + t + sobre);
    const std::string tb = e.tmp.Arquivo("t.bdt");
    Recusa(e.Locar(t, tb), "O relatório " + tb + " substituiria a tabela dos terraços " + tb + sobre);

    e.Intactas();
    EXPECT_FALSE(fs::exists(t));
    EXPECT_FALSE(fs::exists(tb));
}

TEST(CliLocarSaida, ARunThatPlacesNoTerraceFailsWithItsReason) {
    // A 3 x 3 knoll of 4 m relief, under the example's spacing of several metres.
    PastaTemporaria tmp;
    const std::string elev = tmp.Arquivo("m.asc"), decl = tmp.Arquivo("md.asc"), vet = tmp.Arquivo("m.vet");
    GravarArquivo(elev, "ncols 3\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n"
                        "1 2 1\n2 5 2\n1 2 1\n");
    ASSERT_EQ(RodarCli({"declividade", elev, decl}).codigo, 0);
    const ResultadoCli r = RodarCli({"locar", kExemplos + "Terraco em nivel.kzp", "--elevacao", elev,
                                     "--declividade", decl, "--saida", vet});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.saida, "");
    const std::string inicio = "vandoro-cli: Nenhum terraço foi locado: o desnível da área (4.00 m) não passa do "
                               "espaçamento vertical entre terraços (";
    EXPECT_EQ(r.erro.rfind(inicio, 0), 0u) << r.erro;
    const std::string fim = " m). Use um espaçamento menor ou uma área maior.\n";
    ASSERT_GE(r.erro.size(), fim.size());
    EXPECT_EQ(r.erro.substr(r.erro.size() - fim.size()), fim) << r.erro;
    EXPECT_FALSE(fs::exists(vet));
    EXPECT_FALSE(fs::exists(tmp.Arquivo("m.bdt")));
}

}  // namespace

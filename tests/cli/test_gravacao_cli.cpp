// Writes that fail on a full disk, and outputs that would land on an input.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/gdal/Gdal.h"

namespace fs = std::filesystem;

namespace {

std::string Exemplo(const char* nome) { return std::string(VANDORO_BIN_DIR) + "/Exemplos/" + nome; }
bool Contem(const std::string& t, const std::string& s) { return t.find(s) != std::string::npos; }

std::string Aspas(const std::string& s) {
    std::string r = "'";
    for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

// The command with every file it writes capped at 'kib' KiB: past that a write fails as on
// a full disk (EFBIG; SIGXFSZ ignored, so the program sees the error instead of dying).
ResultadoCli RodarComDiscoCheio(long long kib, const std::vector<std::string>& args) {
    PastaTemporaria tmp;
    std::string cmd = "trap '' XFSZ\nulimit -f " + std::to_string(kib) + "\nexec " +
                      Aspas(std::string(VANDORO_BIN_DIR) + "/vandoro-cli");
    for (const auto& a : args) cmd += " " + Aspas(a);
    GravarArquivo(tmp.Arquivo("s.sh"), cmd + " >" + Aspas(tmp.Arquivo("out")) + " 2>" + Aspas(tmp.Arquivo("err")) +
                                           "\n");
    const int st = std::system(("bash " + Aspas(tmp.Arquivo("s.sh"))).c_str());
    ResultadoCli r;
    r.codigo = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.saida = LerArquivo(tmp.Arquivo("out"));
    r.erro = LerArquivo(tmp.Arquivo("err"));
    return r;
}

// A grid that does not compress: a GeoTIFF of it is as large as its cells.
void GradeGrande(const std::string& nome) {
    std::string s = "ncols 200\r\nnrows 150\r\nxllcorner 500000\r\nyllcorner 7500000\r\ncellsize 10\r\n"
                    "NODATA_value -9999\r\n";
    unsigned x = 12345;
    for (int r = 0; r < 150; ++r) {
        for (int c = 0; c < 200; ++c) {
            x = x * 1103515245u + 12345u;
            s += std::to_string(500 + static_cast<int>((x >> 8) % 100000) / 1000.0) + " ";
        }
        s += "\r\n";
    }
    GravarArquivo(nome, s);
}

// A vector of 40 lines of 100 points, in SIRGAS 2000 / UTM 23S.
void VetorGrande(const std::string& pasta) {
    std::string t = "\"X\" \"Y\" \"Z\"\r\n";
    for (int l = 0; l < 40; ++l)
        for (int p = 0; p < 100; ++p)
            t += std::to_string(500000 + p * 3.5) + " " + std::to_string(7500000 + l * 20 + p * 0.1) + " " +
                 std::to_string(600 + l) + "\r\n";
    GravarArquivo(pasta + "/curvas.txt", t);
    ASSERT_EQ(RodarCli({"vetor-importar", pasta + "/curvas.txt", pasta + "/v.vet"}).codigo, 0);
    GravarArquivo(pasta + "/v.prj", CrsEsri(CrsDeEpsg(31983)));
}

}  // namespace

// Each output kind written once, then again over itself on a disk too small for it: the
// command fails, says the disk is full, and the first file (all its parts) is as it was.
TEST(CliGravacao, AFullDiskLeavesEveryOutputKindAsItWas) {
    PastaTemporaria tmp;
    const std::string entrada = tmp.Caminho() + "/entrada";
    fs::create_directory(entrada);
    VetorGrande(entrada);
    GradeGrande(entrada + "/dem.asc");
    const std::string saidas = tmp.Caminho() + "/saidas";
    fs::create_directory(saidas);
    const std::string s = saidas + "/";

    const std::vector<std::vector<std::string>> comandos = {
        {"vetor-exportar", entrada + "/v.vet", s + "v.geojson"},
        {"vetor-exportar", entrada + "/v.vet", s + "v.kml"},
        {"vetor-exportar", entrada + "/v.vet", s + "v.gpkg"},
        {"vetor-exportar", entrada + "/v.vet", s + "v.shp"},
        {"vetor-exportar", entrada + "/v.vet", s + "v.vec"},
        {"raster-converter", entrada + "/dem.asc", s + "g.asc"},
        {"raster-converter", entrada + "/dem.asc", s + "g.flt"},
        {"raster-converter", entrada + "/dem.asc", s + "g.grd"},
        {"raster-converter", entrada + "/dem.asc", s + "g.img"},
        {"raster-converter", entrada + "/dem.asc", s + "g.tif"},
        {"filtro", entrada + "/dem.asc", s + "f.asc"},
        {"declividade", entrada + "/dem.asc", s + "d.flt"},
        {"dimensionar", Exemplo("Terraco em nivel.kzp"), "--relatorio", s + "r.html"},
        {"simular", Exemplo("Terraco em gradiente.kzp"), "--csv", s + "t.csv"},
    };
    for (const auto& c : comandos) {
        const std::string rotulo = c[0] + " " + c.back();
        const ResultadoCli primeiro = RodarCli(c);
        ASSERT_EQ(primeiro.codigo, 0) << rotulo << ": " << primeiro.erro;
        const auto antes = ConteudoDaPasta(saidas);
        // Half the named file (written before its small companions): its write hits the limit.
        const long long menor = static_cast<long long>(antes.at(fs::path(c.back()).filename().string()).size());
        // At least 2 KiB: the project copy a sizing run reads from must still fit.
        const long long kib = std::max(2LL, menor / 2048);
        ASSERT_GT(menor, kib * 1024) << rotulo;
        const ResultadoCli r = RodarComDiscoCheio(kib, c);
        EXPECT_NE(r.codigo, 0) << rotulo << ": " << r.saida;
        EXPECT_TRUE(Contem(r.erro, "disco cheio")) << rotulo << ": " << r.erro;
        EXPECT_FALSE(Contem(r.erro, kSufixoTemporario)) << rotulo << ": " << r.erro;
        EXPECT_FALSE(Contem(r.saida, "sucesso")) << rotulo << ": " << r.saida;
        EXPECT_EQ(ConteudoDaPasta(saidas), antes) << rotulo;
    }
}

// A report or a table over the project, under any of its names, is refused before the
// project is read, with the words the location run uses.
TEST(CliGravacao, NoCommandWritesOverItsProject) {
    PastaTemporaria tmp;
    const std::string p = tmp.Arquivo("P.kzp");
    fs::copy_file(Exemplo("Terraco em nivel.kzp"), p);
    fs::create_directory(tmp.Arquivo("sub"));
    fs::create_symlink(p, tmp.Arquivo("elo.html"));
    const std::string projeto = LerArquivo(p);
    for (const std::string& alvo : {p, tmp.Arquivo("sub/../P.kzp"), tmp.Arquivo("elo.html")}) {
        ResultadoCli r = RodarCli({"dimensionar", p, "--relatorio", alvo});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.erro, "vandoro-cli: O relatório " + alvo + " substituiria o projeto " + p +
                              ": escolha outro nome. Nada foi gravado.\n");
        r = RodarCli({"simular", p, "--csv", alvo});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.erro, "vandoro-cli: A tabela CSV " + alvo + " substituiria o projeto " + p +
                              ": escolha outro nome. Nada foi gravado.\n");
        EXPECT_EQ(LerArquivo(p), projeto);
    }
    // The project given to a GIS export is an input too: a Shapefile's parts and its table.
    ASSERT_EQ(RodarCli({"vetor-importar", DadosTeste("vetor/rio.vec"), tmp.Arquivo("rio.vet")}).codigo, 0);
    fs::copy_file(p, tmp.Arquivo("P.csv"));
    const ResultadoCli r =
        RodarCli({"vetor-exportar", tmp.Arquivo("rio.vet"), tmp.Arquivo("P.shp"), "--projeto", tmp.Arquivo("P.csv")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: O arquivo SIG de saída " + tmp.Arquivo("P.shp") + " substituiria o projeto " +
                          tmp.Arquivo("P.csv") + ": escolha outro nome. Nada foi gravado.\n");
    EXPECT_FALSE(fs::exists(tmp.Arquivo("P.shp")));
}

// A companion file belongs to its image: an output that would replace the input's ".prj"
// with another system, or an Idrisi vector's ".dvc", is refused, and the input stays whole.
TEST(CliGravacao, CompanionFilesOfAnInputAreNeverWritten) {
    PastaTemporaria tmp;
    // geo.hdr/geo.flt in degrees, with its system in geo.prj.
    const std::string hdr = tmp.Arquivo("geo.hdr");
    GravarArquivo(tmp.Arquivo("geo.asc.orig"), "ncols 2\nnrows 2\nxllcorner -47.5\nyllcorner -22.5\n"
                                               "cellsize 0.001\nNODATA_value -9999\n1 2\n3 4\n");
    fs::rename(tmp.Arquivo("geo.asc.orig"), tmp.Arquivo("fonte.asc"));
    GravarArquivo(tmp.Arquivo("fonte.prj"), CrsEsri(CrsDeEpsg(4674)));
    ASSERT_EQ(RodarCli({"raster-converter", tmp.Arquivo("fonte.asc"), tmp.Arquivo("geo.flt")}).codigo, 0);
    const std::string prj = LerArquivo(tmp.Arquivo("geo.prj"));
    ResultadoCli r = RodarCli({"raster-converter", hdr, tmp.Arquivo("geo.asc"), "--utm"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: A imagem de saída " + tmp.Arquivo("geo.asc") + " substituiria geo.prj, que "
                      "pertence à imagem de entrada " + hdr + ": escolha outro nome. Nada foi gravado.\n");
    EXPECT_EQ(LerArquivo(tmp.Arquivo("geo.prj")), prj);
    EXPECT_FALSE(fs::exists(tmp.Arquivo("geo.asc")));
    // Under another name the reprojection goes ahead, with its own .prj.
    r = RodarCli({"raster-converter", hdr, tmp.Arquivo("utm.asc"), "--utm"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_FALSE(MesmoCrs(CrsDeTexto(LerArquivo(tmp.Arquivo("utm.prj"))), CrsDeTexto(prj)));

    // vetor-importar x.vec x.vet reads x.dvc; vetor-exportar x.vet y.vec writes y.dvc.
    fs::copy_file(DadosTeste("vetor/rio.vec"), tmp.Arquivo("rio.vec"));
    fs::copy_file(DadosTeste("vetor/rio.dvc"), tmp.Arquivo("rio.dvc"));
    ASSERT_EQ(RodarCli({"vetor-importar", tmp.Arquivo("rio.vec"), tmp.Arquivo("rio.vet")}).codigo, 0);
    fs::copy_file(tmp.Arquivo("rio.vet"), tmp.Arquivo("rio.dvc"), fs::copy_options::overwrite_existing);
    const std::string dvc = LerArquivo(tmp.Arquivo("rio.dvc"));
    r = RodarCli({"vetor-exportar", tmp.Arquivo("rio.dvc"), tmp.Arquivo("rio.vec")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: O vetor de saída " + tmp.Arquivo("rio.vec") + " substituiria o vetor de entrada " +
                          tmp.Arquivo("rio.dvc") + ": escolha outro nome. Nada foi gravado.\n");
    EXPECT_EQ(LerArquivo(tmp.Arquivo("rio.dvc")), dvc);
}

// A failed write says why, names the user's file, and keeps GDAL's words to a detail line.
TEST(CliGravacao, AFailedWriteNamesTheFileAndTheCause) {
    PastaTemporaria tmp;
    ResultadoCli r;
    for (const char* saida : {"nao/o.flt", "nao/o.tif"}) {
        r = RodarCli({"raster-converter", DadosTeste("raster/plano.hdr"), tmp.Arquivo(saida)});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.erro, "vandoro-cli: Não foi possível gravar o arquivo " + tmp.Arquivo(saida) +
                              ": pasta inexistente.\n");
    }
    // An output of no known format is an output, not a bad input.
    r = RodarCli({"raster-converter", DadosTeste("raster/plano.hdr"), tmp.Arquivo("o.xyz")});
    EXPECT_EQ(r.erro, "vandoro-cli: Formato de saída desconhecido: " + tmp.Arquivo("o.xyz") +
                          " (use .asc ou .hdr/.flt do ArcView, .doc/.img do Idrisi, .grd do Surfer ou .tif).\n");
    // A data file that is a folder.
    fs::create_directory(tmp.Arquivo("pasta.flt"));
    fs::copy_file(DadosTeste("raster/plano.hdr"), tmp.Arquivo("pasta.hdr"));
    r = RodarCli({"raster-info", tmp.Arquivo("pasta.hdr")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contem(r.erro, "pasta.flt: é uma pasta, não um arquivo de dados.")) << r.erro;
}

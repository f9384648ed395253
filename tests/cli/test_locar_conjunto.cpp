// locar replaces its outputs as one set: a run that fails, at its input checks or while
// writing, leaves every old output byte for byte; the project's field boundary is used.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/common/IniFile.h"
#include "GeoTeste.h"

using namespace geoteste;
namespace fs = std::filesystem;

namespace {

const std::string kExemplos = std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/";

// The example project with its location paths (relative to its folder), the example model
// and its slope.
struct Projeto {
    PastaTemporaria tmp;
    std::string kzp = tmp.Arquivo("p.kzp");
    Projeto() {
        fs::copy_file(kExemplos + "Terraco em nivel.kzp", kzp);
        fs::copy_file(kExemplos + "hugo_site.asc", tmp.Arquivo("dem.asc"));
        EXPECT_EQ(RodarCli({"declividade", tmp.Arquivo("dem.asc"), tmp.Arquivo("decl.asc")}).codigo, 0);
        Chave("VANDORO4", "MODULO", "Locacao");
        Chave("LOCACAONIVEL", "fnImgElev", "dem.asc");
        Chave("LOCACAONIVEL", "fnImgDecli", "decl.asc");
        Chave("LOCACAONIVEL", "fnVetSaida", "t.vet");
    }
    void Chave(const std::string& secao, const std::string& chave, const std::string& valor) const {
        IniFile ini(kzp);
        ini.WriteString(secao, chave, valor);
        ini.UpdateFile();
    }
};

}  // namespace

TEST(CliLocarConjunto, AFailedRunReplacesNoneOfTheOldOutputs) {
    Projeto p;
    ResultadoCli r = RodarCli({"locar", p.kzp, "--faixas", p.tmp.Arquivo("f.asc")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    // An old system of another zone beside the vector: the model has none, so the new set
    // has none either.
    GravarArquivo(p.tmp.Arquivo("t.prj"), "PROJCS[\"outra zona\"]");
    GravarArquivo(p.tmp.Arquivo("arquivo.txt"), "x");
    const auto antes = ConteudoDaPasta(p.tmp.Caminho());

    // The strip map in a place that cannot be written.
    r = RodarCli({"locar", p.kzp, "--faixas", p.tmp.Arquivo("arquivo.txt/f.asc")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Não foi possível gravar o arquivo " + p.tmp.Arquivo("arquivo.txt/f.asc") + ": pasta inexistente.\n");
    EXPECT_EQ(ConteudoDaPasta(p.tmp.Caminho()), antes);

    // A KML of a model without a coordinate system: refused before the run.
    r = RodarCli({"locar", p.kzp, "--faixas", p.tmp.Arquivo("f.asc"), "--sig", p.tmp.Arquivo("s.kml")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("GPX e KML exigem um"), std::string::npos) << r.erro;
    EXPECT_EQ(ConteudoDaPasta(p.tmp.Caminho()), antes);

    // An arbitrated spacing without its EV: refused before anything is written.
    p.Chave("ESPAÇAMENTO", "IndMetodologia", "3");
    p.Chave("ESPAÇAMENTO", "EV", "0");
    r = RodarCli({"locar", p.kzp, "--faixas", p.tmp.Arquivo("f.asc")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: Valor do espaçamento vertical inconsistente.\n");
    auto semProjeto = ConteudoDaPasta(p.tmp.Caminho());
    auto antesSemProjeto = antes;
    semProjeto.erase("p.kzp");
    antesSemProjeto.erase("p.kzp");
    EXPECT_EQ(semProjeto, antesSemProjeto);

    // A good run replaces the whole set, and the other zone's system goes with the old one.
    // (This model is stepped in whole metres, coarse for a 2 m interval: the user insists.)
    p.Chave("ESPAÇAMENTO", "EV", "2");
    r = RodarCli({"locar", p.kzp, "--faixas", p.tmp.Arquivo("f.asc"), "--insistir"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_FALSE(ArquivoExiste(p.tmp.Arquivo("t.prj")));
    EXPECT_NE(LerArquivo(p.tmp.Arquivo("t.bdt")), antes.at("t.bdt"));
    for (const auto& [nome, bytes] : ConteudoDaPasta(p.tmp.Caminho()))
        EXPECT_EQ(nome.find(".gravando"), std::string::npos) << nome;
}

TEST(CliLocarConjunto, TheProjectsFieldBoundaryIsUsed) {
    Projeto p;
    // The example as a survey GeoTIFF in UTM 23S, 76 x 55 cells of 10 m from (300000, 7500000).
    GravarArquivo(p.tmp.Arquivo("dem.asc"), LerArquivo(kExemplos + "hugo_site.asc"));
    ResultadoCli r = RodarCli({"raster-converter", p.tmp.Arquivo("dem.asc"), p.tmp.Arquivo("dem.tif")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    {
        IniciaGdal();
        std::unique_ptr<GDALDataset> ds(GDALDataset::Open(p.tmp.Arquivo("dem.tif").c_str(), GDAL_OF_UPDATE));
        ASSERT_TRUE(ds);
        double gt[6] = {300000, 10, 0, 7500550, 0, -10};
        ds->SetGeoTransform(gt);
        OGRSpatialReference s = Srs(31983);
        ds->SetSpatialRef(&s);
    }
    ASSERT_EQ(RodarCli({"declividade", p.tmp.Arquivo("dem.tif"), p.tmp.Arquivo("decl.tif")}).codigo, 0);
    p.Chave("LOCACAONIVEL", "fnImgElev", "dem.tif");
    p.Chave("LOCACAONIVEL", "fnImgDecli", "decl.tif");
    r = RodarCli({"locar", p.kzp});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida.find("Limite do talhão"), std::string::npos);
    const std::string inteira = r.saida;

    // The west half of the model, 380 m x 550 m: at most 20.9 ha of cells wholly inside.
    GravaPoligono(p.tmp.Arquivo("talhao.gpkg"), "GPKG", 31983,
                  {{{300000, 7500000}, {300380, 7500000}, {300380, 7500550}, {300000, 7500550}}});
    p.Chave("LOCACAONIVEL", "fnLimite", "talhao.gpkg");
    r = RodarCli({"locar", p.kzp});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Limite do talhão: " + p.tmp.Arquivo("talhao.gpkg") + "\n"), std::string::npos) << r.saida;
    const auto area = [](const std::string& s) {
        const std::string rotulo = "Área da imagem (ha): ";
        const size_t i = s.find(rotulo);
        if (i == std::string::npos) return -1.0;
        std::string n = s.substr(i + rotulo.size(), s.find('\n', i) - i - rotulo.size());
        for (char& c : n)
            if (c == ',') c = '.';
        return std::stod(n);
    };
    EXPECT_GT(area(r.saida), 0);
    EXPECT_LE(area(r.saida), 20.9);
    EXPECT_LT(area(r.saida), area(inteira));
}

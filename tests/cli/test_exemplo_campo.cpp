// The README's walk-through on the shipped 2 m field, which lies near Campinas in SIRGAS 2000 /
// UTM 23S: what goes to the GPS receiver and to CAD is read back through OGR, as those tools
// would read it, and lands where the field is.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "GeoTeste.h"
#include "TestSupport.h"
#include "core/location/BDT.h"

namespace {

struct Feicoes {
    int n = 0;
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    std::set<std::string> nomes, camadas;
};

// Every feature of the layer named 'camada' ("" the first), its extent and the values of 'campo'.
Feicoes Ler(const std::string& arquivo, const std::string& camada, const char* campo, const char* campoCamada = nullptr) {
    geoteste::IniciaGdal();
    Feicoes r;
    std::unique_ptr<GDALDataset> ds(GDALDataset::Open(arquivo.c_str(), GDAL_OF_VECTOR));
    if (!ds) return r;
    OGRLayer* l = camada.empty() ? ds->GetLayer(0) : ds->GetLayerByName(camada.c_str());
    if (!l) return r;
    for (auto& f : *l) {
        ++r.n;
        if (const OGRGeometry* g = f->GetGeometryRef()) {
            OGREnvelope e;
            g->getEnvelope(&e);
            r.minX = std::min(r.minX, e.MinX);
            r.maxX = std::max(r.maxX, e.MaxX);
            r.minY = std::min(r.minY, e.MinY);
            r.maxY = std::max(r.maxY, e.MaxY);
        }
        if (campo && f->GetFieldIndex(campo) >= 0) r.nomes.insert(f->GetFieldAsString(campo));
        if (campoCamada && f->GetFieldIndex(campoCamada) >= 0) r.camadas.insert(f->GetFieldAsString(campoCamada));
    }
    return r;
}

}  // namespace

TEST(CliExemploCampo, GpsAndCadFilesOfTheShippedFieldLandNearCampinas) {
    PastaTemporaria tmp;
    CopiarExemploLocacao(tmp);
    const std::string kzp = tmp.Arquivo("Locacao em nivel.kzp");
    ResultadoCli r = RodarCli({"locar", kzp, "--saida", tmp.Arquivo("p.vet"), "--sig", tmp.Arquivo("p.gpx"),
                               "--estacas", tmp.Arquivo("e.gpx")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    TBDT tabela;
    ASSERT_TRUE(tabela.LoadFromFile(tmp.Arquivo("p.bdt")));
    const int n = tabela.Count();
    ASSERT_GT(n, 10);

    // GPX: a track a terrace, in degrees, on the field 760 m by 550 m west of Campinas' centre.
    const Feicoes gpx = Ler(tmp.Arquivo("p.gpx"), "tracks", "name");
    EXPECT_EQ(gpx.n, n);
    EXPECT_GT(gpx.minX, -47.09);
    EXPECT_LT(gpx.maxX, -47.05);
    EXPECT_GT(gpx.minY, -22.92);
    EXPECT_LT(gpx.maxY, -22.89);
    EXPECT_EQ(gpx.nomes.count("Terraço 1"), 1u);
    EXPECT_EQ(gpx.nomes.count("Terraço " + std::to_string(tabela.Item(n)->id)), 1u);
    // The stakes: a route a terrace, named points.
    const Feicoes rotas = Ler(tmp.Arquivo("e.gpx"), "routes", "name");
    EXPECT_EQ(rotas.n, n);
    const Feicoes pontos = Ler(tmp.Arquivo("e.gpx"), "route_points", "name");
    EXPECT_GT(pontos.n, 3 * n);
    EXPECT_EQ(pontos.nomes.count("T1-1"), 1u);
    EXPECT_GT(pontos.minX, -47.09);
    EXPECT_LT(pontos.maxY, -22.89);

    // DXF in the model's own metres: the magnitudes of a UTM survey, a layer per terrace type, a
    // label per terrace beside its line.
    r = RodarCli({"locar", kzp, "--saida", tmp.Arquivo("d.vet"), "--sig", tmp.Arquivo("p.dxf")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const Feicoes dxf = Ler(tmp.Arquivo("p.dxf"), "", "Text", "Layer");
    EXPECT_EQ(dxf.n, 2 * n);  // the lines and their labels
    EXPECT_GE(dxf.minX, 288000);
    EXPECT_LE(dxf.maxX, 288760);
    EXPECT_GE(dxf.minY, 7465000);
    EXPECT_LE(dxf.maxY, 7465550);
    EXPECT_EQ(dxf.nomes.count("1"), 1u);
    EXPECT_GE(dxf.camadas.size(), 2u);
}

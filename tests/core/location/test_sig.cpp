// The GIS export of the terrace lines and the field boundary, read back through OGR.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "GeoTeste.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/location/BDT.h"
#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/location/Sig.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/raster/Declividade.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"

using namespace geoteste;
using namespace geoteste::utm;

// Lines of a run at a northing of 7 500 000 m to every GIS format and back through OGR.
TEST(Sig, ExportacaoSigIdaEVolta) {
    PastaTemporaria p;
    GravaGeoTiff(p.Arquivo("m.tif"), GradeMorro(), 31983);
    Modelo m;
    TLocacaoNivel loc;
    // A machine of 50 m³/h at R$ 200/h: hours V/50 and cost 4·V.
    TConfigConstrucao obra;
    obra.maquinas[2] = {"Trator de esteiras", 50, 200};
    obra.maquina = 2;
    loc.SetConstrucao(obra, m.terracos.Selecao());
    Locar(loc, m, p.Arquivo("m.tif"), p.Arquivo("d.tif"), p.Arquivo("t.vet"));
    const auto& linhas = loc.LinhasMapa();
    ASSERT_GT(linhas.size(), 3u);
    ASSERT_EQ(loc.Construcao().terracos.size(), linhas.size());
    TBDT bdt;
    ASSERT_TRUE(bdt.LoadFromFile(loc.ArquivoBDT()));
    ASSERT_EQ(bdt.Count(), static_cast<int>(linhas.size()));

    // The 32-bit ".vet" cannot hold these vertices.
    double perdido = 0;
    for (const TLinhaMapa& l : linhas)
        for (double y : l.y) perdido = std::max(perdido, std::fabs(static_cast<float>(y) - y));
    EXPECT_GT(perdido, 0.01);

    for (const char* ext : {".gpkg", ".shp", ".geojson", ".kml"}) {
        SCOPED_TRACE(ext);
        const std::string saida = p.Arquivo(std::string("t") + ext);
        const TResumoSig r = ExportarLocacaoSig(loc, saida, Regional::PtBR());
        EXPECT_EQ(r.feicoes, static_cast<int>(linhas.size()));
        EXPECT_TRUE(r.avisos.empty());
        auto ds = AbreVetor(saida);
        ASSERT_TRUE(ds);
        OGRLayer* l = ds->GetLayer(0);
        ASSERT_EQ(l->GetFeatureCount(), static_cast<long long>(linhas.size()));
        const bool kml = std::string(ext) == ".kml";
        EXPECT_TRUE(MesmoSistema(l->GetSpatialRef(), kml ? 4326 : 31983));
        size_t i = 0;
        for (auto& f : *l) {
            const TLinhaMapa& esperada = linhas[i];
            const TRegTerr& reg = *bdt.Item(static_cast<int>(i) + 1);
            ++i;
            const OGRLineString* ls = f->GetGeometryRef()->toLineString();
            ASSERT_EQ(ls->getNumPoints(), static_cast<int>(esperada.x.size()));
            std::vector<double> x = esperada.x, y = esperada.y;
            if (kml) Transforma(31983, 4326, x, y);
            const double tol = kml ? 1e-7 : 1e-6;
            for (int k = 0; k < ls->getNumPoints(); ++k) {
                ASSERT_NEAR(ls->getX(k), x[k], tol);
                ASSERT_NEAR(ls->getY(k), y[k], tol);
            }
            EXPECT_EQ(f->GetFieldAsInteger("terraco"), reg.id);
            // The line above (empty under none, a summit) and the type, as the table gives them.
            const TInfoTerraco& info = loc.Info()[i - 1];
            const int iAcima = f->GetFieldIndex("acima");
            ASSERT_GE(iAcima, 0);
            EXPECT_EQ(f->IsFieldSetAndNotNull(iAcima), info.acima > 0);
            if (info.acima > 0) {
                EXPECT_EQ(f->GetFieldAsInteger(iAcima), info.acima);
            }
            EXPECT_EQ(std::string(f->GetFieldAsString("tipo")), info.tipo);
            EXPECT_FALSE(info.tipo.empty());
            EXPECT_NEAR(f->GetFieldAsDouble("cota_m"), reg.level, 1e-9);
            EXPECT_NEAR(f->GetFieldAsDouble("ev_m"), reg.EV, 1e-9);
            EXPECT_NEAR(f->GetFieldAsDouble("decliv_pct"), reg.slope, 1e-9);
            EXPECT_NEAR(f->GetFieldAsDouble("compr_m"), reg.length, 1e-8);
            EXPECT_NEAR(f->GetFieldAsDouble("area_m2"), reg.area, 1e-8);
            if (reg.slope > 0) {
                EXPECT_NEAR(f->GetFieldAsDouble("eh_m"), reg.EV / (reg.slope / 100), 1e-8);
            }
            // The table's figures, from the run's own reckoning.
            const double volume = loc.Construcao().terracos[i - 1].volume;
            ASSERT_GT(volume, 0);
            EXPECT_NEAR(f->GetFieldAsDouble("volume_m3"), volume, 1e-9 * volume);
            EXPECT_NEAR(f->GetFieldAsDouble("horas"), volume / 50, 1e-9 * volume);
            EXPECT_NEAR(f->GetFieldAsDouble("custo_rs"), 4 * volume, 1e-9 * volume);
            if (reg.height > 0) {
                // Hr is the engine's height; H the channel depth under it (√CDu × H + 0.1 m).
                EXPECT_NEAR(f->GetFieldAsDouble("hr_cm"), reg.height * 100, 1e-8);
                EXPECT_NEAR(std::sqrt(1.2) * f->GetFieldAsDouble("h_cm") / 100 + 0.1, reg.height, 1e-9);
            }
        }
        // The table beside: a header line and one line per terrace, in the regional convention.
        const std::string csv = LerArquivo(r.tabela);
        EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), bdt.Count() + 1);
        EXPECT_EQ(csv.substr(0, 8), std::string("Terra\xe7o;"));
        EXPECT_NE(csv.find(";Tipo de terra\xe7o;Volume (m\xb3);Horas (h);Custo (R$)\r\n"), std::string::npos);
    }
    // A Shapefile is whole: its parts and nothing left of the write.
    for (const char* e : {".shp", ".shx", ".dbf", ".prj"}) EXPECT_TRUE(ArquivoExiste(p.Arquivo(std::string("t") + e)));
    for (const auto& a : std::filesystem::directory_iterator(p.Caminho()))
        EXPECT_EQ(a.path().string().find(kSufixoTemporario), std::string::npos) << a.path();
}

// A boundary drawn in WGS 84 over the UTM model: the field is the polygon's.
TEST(Sig, LimiteKmlRecortaOCampo) {
    PastaTemporaria p;
    GravaGeoTiff(p.Arquivo("m.tif"), GradeMorro(), 31983);
    // A convex octagon of about 90 m radius off the hill's centre, drawn in degrees.
    std::vector<double> x, y;
    for (int k = 0; k < 8; ++k) {
        x.push_back(kCx + 20 + 90 * std::cos(k * M_PI / 4 + 0.3));
        y.push_back(kCy - 10 + 80 * std::sin(k * M_PI / 4 + 0.3));
    }
    std::vector<double> lon = x, lat = y;
    Transforma(31983, 4326, lon, lat);
    std::vector<std::pair<double, double>> anel;
    for (size_t k = 0; k < lon.size(); ++k) anel.push_back({lon[k], lat[k]});
    GravaPoligono(p.Arquivo("talhao.kml"), "KML", 4326, {anel});

    // The polygon back in UTM, as the test sees it.
    OGRPolygon pol;
    auto* r = new OGRLinearRing;
    for (size_t k = 0; k < x.size(); ++k) r->addPoint(x[k], y[k]);
    r->closeRings();
    pol.addRingDirectly(r);
    const double area = pol.get_Area(), perimetro = pol.getExteriorRing()->get_Length();

    Modelo m;
    TLocacaoNivel loc;
    DefinirLimiteCampo(loc, p.Arquivo("talhao.kml"));
    Locar(loc, m, p.Arquivo("m.tif"), p.Arquivo("d.tif"), p.Arquivo("t.vet"));
    EXPECT_NEAR(loc.FieldAreaM2(), area, perimetro * kCel);
    ASSERT_GT(loc.Registros().Count(), 0);
    // Only cells wholly inside are field, so a line ending on the edge of the last one is
    // still inside (to rounding).
    std::unique_ptr<OGRGeometry> folga(pol.Buffer(1e-6));
    for (const TLinhaMapa& l : loc.LinhasMapa())
        for (size_t k = 0; k < l.x.size(); ++k) {
            OGRPoint pt(l.x[k], l.y[k]);
            ASSERT_TRUE(folga->Contains(&pt)) << l.id << ": " << l.x[k] << ", " << l.y[k];
        }
    const TMapaFaixas& mapa = loc.MapaFaixas();
    for (int rr = 0; rr < mapa.linhas; ++rr)
        for (int c = 0; c < mapa.colunas; ++c)
            if (mapa.terraco[static_cast<size_t>(rr) * mapa.colunas + c] > 0) {
                const double x0 = kMinX + c * kCel, y0 = kMaxY - (rr + 1) * kCel;
                OGRLinearRing anel;
                anel.addPoint(x0, y0);
                anel.addPoint(x0 + kCel, y0);
                anel.addPoint(x0 + kCel, y0 + kCel);
                anel.addPoint(x0, y0 + kCel);
                anel.closeRings();
                OGRPolygon celula;
                celula.addRing(&anel);
                ASSERT_TRUE(folga->Contains(&celula)) << c << ", " << rr;
            }
    // The model file is untouched.
    TImagem img;
    ASSERT_TRUE(img.LoadFromFile(p.Arquivo("m.tif")));
    EXPECT_EQ(img.ValidCount(), TImagem(p.Arquivo("m.tif")).ValidCount());
    const GradeSintetica g = GradeMorro();
    EXPECT_EQ(img.ValidCount(), std::count_if(g.z.begin(), g.z.end(), [](float v) { return v != -9999.0f; }));

    // Without a boundary the next run takes the whole model again.
    DefinirLimiteCampo(loc, "");
    ProcessarLocacao(loc, p.Arquivo("m.tif"), p.Arquivo("d.tif"), m.chuva, m.cn, m.terracos, p.Arquivo("t.vet"));
    EXPECT_GT(loc.FieldAreaM2(), area * 2);
}

TEST(Sig, LimitesRecusados) {
    PastaTemporaria p;
    GravaGeoTiff(p.Arquivo("m.tif"), GradeMorro(), 31983);
    CalculaDeclividade(p.Arquivo("m.tif"), p.Arquivo("d.tif"), "d");
    Modelo m;
    auto roda = [&](const std::string& elev, const std::string& decl, const std::string& limite) {
        TLocacaoNivel loc;
        DefinirLimiteCampo(loc, limite);
        return MensagemDe([&] { ProcessarLocacao(loc, elev, decl, m.chuva, m.cn, m.terracos, p.Arquivo("t.vet")); });
    };
    // Far from the model (another farm, 50 km east).
    GravaPoligono(p.Arquivo("longe.gpkg"), "GPKG", 31983,
                  {{{360000, 7500000}, {360100, 7500000}, {360100, 7500100}, {360000, 7500100}}});
    EXPECT_EQ(roda(p.Arquivo("m.tif"), p.Arquivo("d.tif"), p.Arquivo("longe.gpkg")),
              "O limite do talhão longe.gpkg não se sobrepõe ao modelo de elevação.");
    EXPECT_FALSE(ArquivoExiste(p.Arquivo("t.vet")));
    // A model without a system cannot take a boundary in degrees.
    GravaAsc(p.Arquivo("m.asc"), GradeMorro());
    CalculaDeclividade(p.Arquivo("m.asc"), p.Arquivo("d.asc"), "d");
    GravaPoligono(p.Arquivo("graus.kml"), "KML", 4326, {{{-46.9, -22.6}, {-46.8, -22.6}, {-46.8, -22.5}}});
    EXPECT_EQ(roda(p.Arquivo("m.asc"), p.Arquivo("d.asc"), p.Arquivo("graus.kml")),
              "O limite do talhão graus.kml tem sistema de coordenadas, mas o modelo de elevação não declara o "
              "seu: o limite não pode ser transformado para o modelo.");
    // Not a vector; no polygon.
    GravarArquivo(p.Arquivo("lixo.kml"), "isto não é KML");
    EXPECT_EQ(roda(p.Arquivo("m.tif"), p.Arquivo("d.tif"), p.Arquivo("lixo.kml"))
                  .rfind("Não foi possível abrir o limite do talhão lixo.kml: o arquivo não é um vetor que o GDAL/OGR "
                         "leia", 0),
              0u);
    // A damaged vertex far beyond any system would vanish from the area in rounding while
    // its polygon still marked cells as field.
    GravaPoligono(p.Arquivo("absurdo.gpkg"), "GPKG", 31983,
                  {{{310000, 7500000}, {310100, 7500000}, {-1e115, 7500050}, {310000, 7500100}}});
    EXPECT_EQ(roda(p.Arquivo("m.tif"), p.Arquivo("d.tif"), p.Arquivo("absurdo.gpkg")),
              "O limite do talhão absurdo.gpkg tem vértices com coordenadas impossíveis: confira o arquivo.");
    TLocacaoNivel loc;
    EXPECT_EQ(MensagemDe([&] { DefinirLimiteCampo(loc, p.Arquivo("nenhum.kml")); }),
              "O arquivo do limite do talhão " + p.Arquivo("nenhum.kml") + " não existe.");
    EXPECT_FALSE(ArquivoExiste(p.Arquivo("t.vet")));
}

TEST(Sig, ExportacaoDoVetRecusasEAvisos) {
    PastaTemporaria p;
    GravaAsc(p.Arquivo("m.asc"), GradeMorro());
    Modelo m;
    TLocacaoNivel loc;
    Locar(loc, m, p.Arquivo("m.asc"), p.Arquivo("d.asc"), p.Arquivo("t.vet"));
    // No system: plain metres, said so; KML refused, nothing written.
    const TResumoSig r = ExportarVetSig(p.Arquivo("t.vet"), p.Arquivo("t.gpkg"), &m.terracos);
    ASSERT_EQ(r.avisos.size(), 1u);
    EXPECT_EQ(r.avisos[0],
              "O vetor não tem sistema de coordenadas (nenhum .prj ao lado dele): as coordenadas foram gravadas como "
              "estão, em metros, e o arquivo gravado não tem sistema de coordenadas.");
    auto ds = AbreVetor(p.Arquivo("t.gpkg"));
    ASSERT_TRUE(ds);
    const OGRSpatialReference* srs = ds->GetLayer(0)->GetSpatialRef();
    EXPECT_TRUE(!srs || (!srs->IsProjected() && !srs->IsGeographic()));
    EXPECT_EQ(ds->GetLayer(0)->GetFeatureCount(), loc.Registros().Count());
    // The table's companion gives each line its line above, type and soil as the run had them;
    // the settings give this machine no output, so hours and cost are empty, not 0.
    const auto construcao = [&](const std::string& arquivo, bool comVolume) {
        SCOPED_TRACE(arquivo);
        auto d = AbreVetor(arquivo);
        ASSERT_TRUE(d);
        int i = 0;
        for (auto& f : *d->GetLayer(0)) {
            const TInfoTerraco& info = loc.Info()[size_t(i)];
            EXPECT_EQ(f->GetFieldAsInteger("acima"), info.acima);
            EXPECT_EQ(std::string(f->GetFieldAsString("tipo")), info.tipo);
            // GeoJSON leaves a field no feature has out of the file: unset either way.
            const bool esquema = ExtensaoDe(arquivo) != ".geojson";
            const int v = f->GetFieldIndex("volume_m3");
            if (comVolume || esquema) {
                ASSERT_GE(v, 0);
            }
            EXPECT_EQ(v >= 0 && f->IsFieldSetAndNotNull(v), comVolume);
            if (comVolume) {
                EXPECT_NEAR(f->GetFieldAsDouble(v), loc.Construcao().terracos[size_t(i)].volume, 1e-6);
            }
            for (const char* campo : {"horas", "custo_rs"}) {
                const int k = f->GetFieldIndex(campo);
                if (esquema) {
                    ASSERT_GE(k, 0) << campo;
                }
                EXPECT_FALSE(k >= 0 && f->IsFieldSetAndNotNull(k)) << campo;
            }
            ++i;
        }
        EXPECT_EQ(i, loc.Registros().Count());
    };
    construcao(p.Arquivo("t.gpkg"), true);
    ExportarVetSig(p.Arquivo("t.vet"), p.Arquivo("v.shp"), &m.terracos);
    construcao(p.Arquivo("v.shp"), true);
    // A companion written before the figures: the fields are there, empty.
    std::string antigo = LerArquivo(p.Arquivo("t.bdc"));
    for (const char* chave : {"Volume=", "Horas=", "Custo="})
        for (size_t k; (k = antigo.find(chave)) != std::string::npos;) antigo.erase(k, antigo.find('\n', k) + 1 - k);
    GravarArquivo(p.Arquivo("t.bdc"), antigo);
    ExportarVetSig(p.Arquivo("t.vet"), p.Arquivo("antigo.geojson"), &m.terracos);
    construcao(p.Arquivo("antigo.geojson"), false);
    EXPECT_EQ(MensagemDe([&] { ExportarVetSig(p.Arquivo("t.vet"), p.Arquivo("t.kml")); }),
              "O vetor não tem sistema de coordenadas (nenhum .prj ao lado dele): GPX e KML exigem um; use .gpkg, "
              ".shp, .geojson ou .dxf.");
    EXPECT_FALSE(ArquivoExiste(p.Arquivo("t.kml")));
    EXPECT_EQ(MensagemDe([&] { ExportarVetSig(p.Arquivo("t.vet"), p.Arquivo("t.gpx")); }),
              "O vetor não tem sistema de coordenadas (nenhum .prj ao lado dele): GPX e KML exigem um; use .gpkg, "
              ".shp, .geojson ou .dxf.");
    EXPECT_FALSE(ArquivoExiste(p.Arquivo("t.gpx")));
    EXPECT_FALSE(ArquivoExiste(NomeTemporario(p.Arquivo("t.csv"))));

    // With the system beside the .vet, a Shapefile named like it would replace its .prj.
    GravarArquivo(p.Arquivo("t.prj"), CrsEsri(CrsDeEpsg(31983)));
    EXPECT_EQ(MensagemDe([&] { ExportarVetSig(p.Arquivo("t.vet"), p.Arquivo("t.shp")); }),
              "O arquivo SIG de saída " + p.Arquivo("t.shp") + " substituiria " + p.Arquivo("t.prj") +
                  ": escolha outro nome. Nada foi gravado.");
    EXPECT_FALSE(ArquivoExiste(p.Arquivo("t.shp")));
    // A folder that does not exist: nothing half-written.
    const std::string fora = p.Arquivo("nao/existe/t.gpkg");
    EXPECT_EQ(MensagemDe([&] { ExportarVetSig(p.Arquivo("t.vet"), fora); }),
              "Não foi possível gravar o arquivo " + fora + ": pasta inexistente.");
    EXPECT_EQ(MensagemDe([&] { ExportarVetSig(p.Arquivo("t.vet"), p.Arquivo("t.dwg")); }),
              "Formato de saída desconhecido: use .gpkg (GeoPackage), .shp (Shapefile), .geojson (GeoJSON), .kml "
              "(KML), .gpx (GPX) ou .dxf (DXF).");
    // Without the table only the number and the level go.
    std::filesystem::remove(p.Arquivo("t.bdt"));
    const TResumoSig s = ExportarVetSig(p.Arquivo("t.vet"), p.Arquivo("s.kml"));
    EXPECT_EQ(s.crs, "WGS 84 (longitude, latitude)");
    ASSERT_EQ(s.avisos.size(), 1u);
    EXPECT_EQ(s.avisos[0], "Sem a tabela dos terraços (t.bdt) ao lado do vetor: só o número e a cota de cada "
                           "terraço foram gravados.");
}


namespace {

// KML writes a colour as alpha, blue, green, red.
std::string CorKml(const std::string& rgb) {
    return "FF" + rgb.substr(5, 2) + rgb.substr(3, 2) + rgb.substr(1, 2);
}

}  // namespace

// The drawing layer and the colour come from the type the criterion's text builds.
TEST(Sig, EstiloPorTipoDeTerraco) {
    const std::pair<const char*, const char*> casos[] = {
        {"Terraço de base larga", "BASE_LARGA"},
        {"Terraço de base média", "BASE_MEDIA"},
        {"Base estreita (cordão de contorno, leirão ou murundum)", "BASE_ESTREITA"},
        {"Tipo murundum", "MURUNDUM"},
        {"Terraço tipo patamar", "PATAMAR"},
        {"Dois terraços de base larga e um terraço Tipo murundum (intercalados)", "MISTO"},
        {"", "SEM_TIPO"},
        {"Cultivo em faixas", "SEM_TIPO"}};
    std::vector<std::string> cores;
    for (const auto& [tipo, camada] : casos) {
        SCOPED_TRACE(tipo);
        const TEstiloTipo e = EstiloDoTipo(tipo);
        EXPECT_EQ(e.camada, camada);
        ASSERT_EQ(e.cor.size(), 7u);
        EXPECT_EQ(e.cor[0], '#');
        cores.push_back(e.cor);
    }
    // Each type its own colour (the last two name none).
    std::sort(cores.begin(), cores.end());
    EXPECT_EQ(std::unique(cores.begin(), cores.end()) - cores.begin(), 7);
}

// GPX tracks in degrees, DXF lines in the model's metres by type with their numbers, and KML
// lines named and coloured by type, each read back through OGR.
TEST(Sig, GpxDxfEKmlComEstilo) {
    PastaTemporaria p;
    GravaGeoTiff(p.Arquivo("m.tif"), GradeMorro(), 31983);
    Modelo m;
    TLocacaoNivel loc;
    Locar(loc, m, p.Arquivo("m.tif"), p.Arquivo("d.tif"), p.Arquivo("t.vet"));
    const auto& linhas = loc.LinhasMapa();
    ASSERT_GT(linhas.size(), 3u);
    ASSERT_EQ(loc.Info().size(), linhas.size());
    const auto tipoDe = [&](int id) { return loc.Info()[size_t(id - 1)].tipo; };

    {
        SCOPED_TRACE("gpx");
        const TResumoSig r = ExportarLocacaoSig(loc, p.Arquivo("t.gpx"), Regional::PtBR());
        EXPECT_EQ(r.feicoes, static_cast<int>(linhas.size()));
        EXPECT_EQ(r.crs, "WGS 84 (longitude, latitude)");
        EXPECT_TRUE(r.avisos.empty());
        EXPECT_TRUE(ArquivoExiste(p.Arquivo("t.csv")));
        // The reader gives the <ele> of each point only when asked (a configuration option
        // in the GDAL of this build, an open option in later ones).
        CPLSetConfigOption("GPX_ELE_AS_25D", "YES");
        auto ds = AbreVetor(p.Arquivo("t.gpx"));
        CPLSetConfigOption("GPX_ELE_AS_25D", nullptr);
        ASSERT_TRUE(ds);
        // Tracks, no routes nor waypoints.
        for (const char* vazia : {"routes", "waypoints"})
            if (OGRLayer* v = ds->GetLayerByName(vazia)) {
                EXPECT_EQ(v->GetFeatureCount(), 0) << vazia;
            }
        OGRLayer* l = ds->GetLayerByName("tracks");
        ASSERT_TRUE(l);
        ASSERT_EQ(l->GetFeatureCount(), static_cast<long long>(linhas.size()));
        size_t i = 0;
        for (auto& f : *l) {
            const TLinhaMapa& esperada = linhas[i++];
            EXPECT_EQ(std::string(f->GetFieldAsString("name")), "Terraço " + std::to_string(esperada.id));
            const OGRMultiLineString* ml = f->GetGeometryRef()->toMultiLineString();
            ASSERT_EQ(ml->getNumGeometries(), 1);
            const OGRLineString* ls = ml->getGeometryRef(0);
            ASSERT_EQ(ls->getNumPoints(), static_cast<int>(esperada.x.size()));
            std::vector<double> x = esperada.x, y = esperada.y;
            Transforma(31983, 4326, x, y);
            for (int k = 0; k < ls->getNumPoints(); ++k) {
                ASSERT_LE(std::fabs(ls->getY(k)), 90);
                ASSERT_LE(std::fabs(ls->getX(k)), 180);
                ASSERT_NEAR(ls->getX(k), x[k], 1e-7);
                ASSERT_NEAR(ls->getY(k), y[k], 1e-7);
                // The design level as the point's elevation.
                ASSERT_NEAR(ls->getZ(k), esperada.level, 1e-6);
            }
        }
    }
    {
        SCOPED_TRACE("dxf");
        const TResumoSig r = ExportarLocacaoSig(loc, p.Arquivo("t.dxf"), Regional::PtBR());
        EXPECT_EQ(r.feicoes, static_cast<int>(linhas.size()));
        EXPECT_EQ(r.crs, DescreveCrs(CrsDeEpsg(31983)).nome);
        ASSERT_EQ(r.avisos.size(), 1u);
        EXPECT_EQ(r.avisos[0], "O DXF não guarda o sistema de coordenadas: as coordenadas gravadas estão em " +
                                   r.crs + ".");
        auto ds = AbreVetor(p.Arquivo("t.dxf"));
        ASSERT_TRUE(ds);
        ASSERT_EQ(ds->GetLayerCount(), 1);
        OGRLayer* l = ds->GetLayer(0);
        // A line and its number's text per terrace.
        ASSERT_EQ(l->GetFeatureCount(), static_cast<long long>(2 * linhas.size()));
        size_t nLinhas = 0;
        std::vector<int> rotulos;
        for (auto& f : *l) {
            const OGRGeometry* g = f->GetGeometryRef();
            ASSERT_TRUE(g);
            const std::string camada = f->GetFieldAsString("Layer");
            if (wkbFlatten(g->getGeometryType()) == wkbLineString) {
                ASSERT_LT(nLinhas, linhas.size());
                const TLinhaMapa& esperada = linhas[nLinhas++];
                EXPECT_EQ(camada, EstiloDoTipo(tipoDe(esperada.id)).camada);
                const OGRLineString* ls = g->toLineString();
                ASSERT_EQ(ls->getNumPoints(), static_cast<int>(esperada.x.size()));
                // In the model's own metres.
                for (int k = 0; k < ls->getNumPoints(); ++k) {
                    ASSERT_NEAR(ls->getX(k), esperada.x[k], 1e-6);
                    ASSERT_NEAR(ls->getY(k), esperada.y[k], 1e-6);
                }
                continue;
            }
            ASSERT_EQ(wkbFlatten(g->getGeometryType()), wkbPoint);
            const std::string texto = f->GetFieldAsString("Text");
            const int id = std::stoi(texto);
            ASSERT_GE(id, 1);
            ASSERT_LE(id, static_cast<int>(linhas.size()));
            rotulos.push_back(id);
            EXPECT_EQ(camada, EstiloDoTipo(tipoDe(id)).camada);
            EXPECT_NE(std::string(f->GetStyleString()).find("LABEL("), std::string::npos);
            // On its line.
            const TLinhaMapa& sua = linhas[size_t(id - 1)];
            const OGRPoint* pt = g->toPoint();
            const size_t meio = sua.x.size() / 2;
            EXPECT_NEAR(pt->getX(), sua.x[meio], 1e-6);
            EXPECT_NEAR(pt->getY(), sua.y[meio], 1e-6);
        }
        EXPECT_EQ(nLinhas, linhas.size());
        std::vector<int> todos(linhas.size());
        for (size_t k = 0; k < todos.size(); ++k) todos[k] = linhas[k].id;
        std::sort(rotulos.begin(), rotulos.end());
        std::sort(todos.begin(), todos.end());
        EXPECT_EQ(rotulos, todos);
        // The drawing declares each layer it uses.
        const std::string texto = LerArquivo(p.Arquivo("t.dxf"));
        for (const TInfoTerraco& info : loc.Info())
            EXPECT_NE(texto.find("AcDbLayerTableRecord\n  2\n" + EstiloDoTipo(info.tipo).camada + "\n"),
                      std::string::npos)
                << info.tipo;
    }
    {
        SCOPED_TRACE("kml");
        ExportarLocacaoSig(loc, p.Arquivo("t.kml"), Regional::PtBR());
        auto ds = AbreVetor(p.Arquivo("t.kml"));
        ASSERT_TRUE(ds);
        ASSERT_EQ(ds->GetLayer(0)->GetFeatureCount(), static_cast<long long>(linhas.size()));
        size_t i = 0;
        for (auto& f : *ds->GetLayer(0)) {
            const TLinhaMapa& esperada = linhas[i++];
            EXPECT_EQ(std::string(f->GetFieldAsString("Name")), "Terraço " + std::to_string(esperada.id));
            const std::string estilo = f->GetStyleString() ? f->GetStyleString() : "";
            EXPECT_NE(estilo.find("PEN(c:" + EstiloDoTipo(tipoDe(esperada.id)).cor), std::string::npos) << estilo;
        }
        // In the file: each placemark's name and then its line style, in KML's colour order.
        const std::string texto = LerArquivo(p.Arquivo("t.kml"));
        size_t desde = 0;
        for (const TLinhaMapa& l : linhas) {
            const size_t nome = texto.find("<name>Terraço " + std::to_string(l.id) + "</name>", desde);
            ASSERT_NE(nome, std::string::npos) << l.id;
            const std::string estilo = "<Style><LineStyle><color>" + CorKml(EstiloDoTipo(tipoDe(l.id)).cor) +
                                       "</color><width>4</width></LineStyle>";
            const size_t e = texto.find(estilo, nome);
            ASSERT_NE(e, std::string::npos) << estilo;
            EXPECT_LT(e, texto.find("</Placemark>", nome));
            desde = e;
        }
    }
    // Each file is one part: a name over an input is refused as for the other formats.
    for (const char* ext : {".gpx", ".dxf"}) {
        const std::string saida = p.Arquivo(std::string("m") + ext);
        EXPECT_EQ(ArquivosSig(saida), std::vector<std::string>{saida});
        EXPECT_EQ(MensagemDe([&] { ChecaSaidaSig(saida, {saida}); }),
                  "O arquivo SIG de saída " + saida + " substituiria " + saida +
                      ": escolha outro nome. Nada foi gravado.");
    }
    EXPECT_EQ(MensagemDe([&] { ChecaSaidaSig(p.Arquivo("t.csv"), {}); }),
              "Formato de saída desconhecido: use .gpkg (GeoPackage), .shp (Shapefile), .geojson (GeoJSON), .kml "
              "(KML), .gpx (GPX) ou .dxf (DXF).");
    for (const auto& a : std::filesystem::directory_iterator(p.Caminho()))
        EXPECT_EQ(a.path().string().find(kSufixoTemporario), std::string::npos) << a.path();
}

// A model without a coordinate system: GPX and KML refused alike, before the run and at the
// export, with nothing written; DXF takes the model's metres.
TEST(Sig, GpxEKmlSemSistemaDeCoordenadas) {
    PastaTemporaria p;
    GravaAsc(p.Arquivo("m.asc"), GradeMorro());
    Modelo m;
    TLocacaoNivel loc;
    Locar(loc, m, p.Arquivo("m.asc"), p.Arquivo("d.asc"), p.Arquivo("t.vet"));
    ASSERT_GT(loc.LinhasMapa().size(), 0u);
    const std::string recusa =
        "O modelo de elevação não tem sistema de coordenadas: GPX e KML exigem um; use .gpkg, .shp, .geojson ou .dxf.";
    EXPECT_EQ(std::string(kSigExigeCrs), recusa);
    TArquivosLocacao arquivos;
    arquivos.elevacao = p.Arquivo("m.asc");
    arquivos.declividade = p.Arquivo("d.asc");
    arquivos.saida = p.Arquivo("t.vet");
    const auto antes = ConteudoDaPasta(p.Caminho());
    for (const char* ext : {".gpx", ".kml"}) {
        SCOPED_TRACE(ext);
        const std::string saida = p.Arquivo(std::string("s") + ext);
        EXPECT_EQ(MensagemDe([&] { ChecaSaidaSigLocacao(saida, arquivos, "", ""); }), recusa);
        EXPECT_EQ(MensagemDe([&] { ExportarLocacaoSig(loc, saida); }), recusa);
        EXPECT_EQ(ConteudoDaPasta(p.Caminho()), antes);
    }
    ChecaSaidaSigLocacao(p.Arquivo("s.dxf"), arquivos, "", "");
    const TResumoSig r = ExportarLocacaoSig(loc, p.Arquivo("s.dxf"));
    EXPECT_EQ(r.crs, "");
    ASSERT_EQ(r.avisos.size(), 1u);
    EXPECT_EQ(r.avisos[0].rfind("O vetor não tem sistema de coordenadas", 0), 0u);
    auto ds = AbreVetor(p.Arquivo("s.dxf"));
    ASSERT_TRUE(ds);
    EXPECT_EQ(ds->GetLayer(0)->GetFeatureCount(), static_cast<long long>(2 * loc.LinhasMapa().size()));
}

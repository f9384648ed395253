#include "core/gdal/Gdal.h"

#include <gdal_alg.h>
#include <gdal_priv.h>
#include <gdal_utils.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <memory>
#include <mutex>
#include <new>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Memoria.h"
#include "core/common/Threads.h"

namespace fs = std::filesystem;

namespace {

// Largest grid read (cells), as for the program's own formats.
constexpr long long kMaxCelulas = 1LL << 30;
constexpr long long kCacheGdal = 8LL << 20;
// Rows written at a time: the height of a GeoTIFF tile, so each band of tiles is
// compressed once, when it is complete.
constexpr int kLinhasFaixaTiff = 256;

void Inicia() {
    static std::once_flag uma;
    std::call_once(uma, [] {
        // No ".aux.xml" beside what the program writes or reads.
        CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
        GDALAllRegister();
        // Rasters are read whole into the program's own grid and written a band of rows at
        // a time: GDAL's block cache (5% of the memory by default) would only keep a second
        // copy of the grid. The user's GDAL_CACHEMAX still wins.
        if (!CPLGetConfigOption("GDAL_CACHEMAX", nullptr)) GDALSetCacheMax64(kCacheGdal);
    });
}

// The errno of the first failure GDAL reported, taken when it reports it: the writers
// make further calls before they return, and those calls change errno.
thread_local int errnoDaFalha = 0;

void GuardaErrno(CPLErr classe, CPLErrorNum, const char*) {
    if (classe >= CE_Failure && errno != 0 && errnoDaFalha == 0) errnoDaFalha = errno;
}

// GDAL reports through its error handler: kept quiet, the last message goes into ours.
struct Silencio {
    Silencio() {
        Inicia();
        CPLPushErrorHandler(GuardaErrno);
        CPLErrorReset();
        errnoDaFalha = 0;
    }
    ~Silencio() { CPLPopErrorHandler(); }
    Silencio(const Silencio&) = delete;
    Silencio& operator=(const Silencio&) = delete;
};

std::string UltimoErro() {
    const char* m = CPLGetLastErrorMsg();
    return m && *m ? std::string(" (") + m + ")" : std::string();
}

// GDAL's writers report a failed write() only through their error state (and some of them
// only when the file is closed): the state is looked at after every call, and the errno of
// the failure kept for the user's message. GDAL's own text goes to the detail.
[[noreturn]] void FalhaGravacao(const std::string& erro, int e = errno) {
    if (errnoDaFalha != 0) e = errnoDaFalha;
    const char* m = CPLGetLastErrorMsg();
    throw EFalhaGravacao(erro, e, m ? m : "");
}

void ChecaGravacao(const std::string& erro) {
    if (CPLGetLastErrorType() >= CE_Failure) FalhaGravacao(erro);
}

struct FechaDataset {
    void operator()(GDALDataset* d) const {
        if (d) GDALClose(d);
    }
};
using Dataset = std::unique_ptr<GDALDataset, FechaDataset>;

struct LiberaCpl {
    void operator()(char* p) const { CPLFree(p); }
};

bool LeCrs(const std::string& texto, OGRSpatialReference& srs) {
    if (texto.empty()) return false;
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs.SetFromUserInput(texto.c_str(), OGRSpatialReference::SET_FROM_USER_INPUT_LIMITATIONS_get()) ==
           OGRERR_NONE;
}

std::string Wkt(const OGRSpatialReference& srs, const char* formato = nullptr) {
    char* w = nullptr;
    const char* const opcoes[] = {formato, nullptr};
    if ((formato ? srs.exportToWkt(&w, opcoes) : srs.exportToWkt(&w)) != OGRERR_NONE) {
        CPLFree(w);
        return {};
    }
    std::string s = w ? w : "";
    CPLFree(w);
    return s;
}

// Bounds, coordinate system and no-data value of 'g' on a new one-band dataset; its band.
GDALRasterBand* Georreferenciar(GDALDataset& ds, const TGradeGdal& g) {
    double gt[6] = {g.minX, (g.maxX - g.minX) / g.colunas, 0, g.maxY, 0, -(g.maxY - g.minY) / g.linhas};
    ds.SetGeoTransform(gt);
    OGRSpatialReference srs;
    if (LeCrs(g.crs, srs)) ds.SetSpatialRef(&srs);
    GDALRasterBand* b = ds.GetRasterBand(1);
    if (g.temSemDado) b->SetNoDataValue(g.semDado);
    return b;
}

Dataset GradeEmMemoria(const TGradeGdal& g) {
    GDALDriver* mem = GetGDALDriverManager()->GetDriverByName("MEM");
    if (!mem) throw EVandoro("O GDAL instalado não tem o formato MEM.");
    Dataset ds(mem->Create("", g.colunas, g.linhas, 1, GDT_Float32, nullptr));
    if (!ds) throw EVandoro("Memória insuficiente para a imagem" + UltimoErro() + ".");
    GDALRasterBand* b = Georreferenciar(*ds, g);
    if (b->RasterIO(GF_Write, 0, 0, g.colunas, g.linhas, const_cast<float*>(g.celulas.data()), g.colunas,
                    g.linhas, GDT_Float32, 0, 0) != CE_None)
        throw EVandoro("Erro ao preparar a imagem" + UltimoErro() + ".");
    return ds;
}

// A GDAL option set for this thread while it lives, unless the user set it.
struct OpcaoLocal {
    const char* nome;
    bool definida = false;
    OpcaoLocal(const char* n, const std::string& valor) : nome(n) {
        if (CPLGetConfigOption(nome, nullptr)) return;
        CPLSetThreadLocalConfigOption(nome, valor.c_str());
        definida = true;
    }
    ~OpcaoLocal() {
        if (definida) CPLSetThreadLocalConfigOption(nome, nullptr);
    }
    OpcaoLocal(const OpcaoLocal&) = delete;
    OpcaoLocal& operator=(const OpcaoLocal&) = delete;
};

bool Compactado(GDALDataset& ds) {
    const char* c = ds.GetMetadataItem("COMPRESSION", "IMAGE_STRUCTURE");
    return c && !EQUAL(c, "NONE");
}

// Band 1 and the georeference of an open dataset.
TGradeGdal DaDataset(GDALDataset& ds, const std::string& nome) {
    const std::string arq = NomeSemCaminho(nome);
    TGradeGdal g;
    g.bandas = ds.GetRasterCount();
    g.compactada = Compactado(ds);
    if (g.bandas < 1) throw EVandoro("O arquivo " + arq + " não tem nenhuma banda de imagem.");
    g.colunas = ds.GetRasterXSize();
    g.linhas = ds.GetRasterYSize();
    if (g.colunas < 1 || g.linhas < 1) throw EVandoro("O arquivo " + arq + " não tem células.");
    if (static_cast<long long>(g.colunas) * g.linhas > kMaxCelulas)
        throw EVandoro("A imagem " + arq + " é grande demais para ser carregada.");
    double gt[6] = {0, 1, 0, 0, 0, 1};
    const bool georref = ds.GetGeoTransform(gt) == CE_None;
    if (georref && (gt[2] != 0 || gt[4] != 0))
        throw EVandoro("A imagem " + arq +
                       " está girada em relação aos eixos de coordenadas: reamostre-a para uma grade "
                       "alinhada (por exemplo com gdalwarp) antes de usá-la.");
    if (gt[1] == 0 || gt[5] == 0) throw EVandoro("O tamanho da célula da imagem " + arq + " é inválido.");
    if (!georref) {
        // No georeference: cells of one unit from the origin, north row first.
        gt[0] = 0;
        gt[1] = 1;
        gt[3] = g.linhas;
        gt[5] = -1;
    }
    GDALRasterBand* b = ds.GetRasterBand(1);
    try {
        const size_t n = static_cast<size_t>(g.colunas) * g.linhas;
        g.celulas.reserve(n);
        PaginasGrandes(g.celulas.data(), n * 4);
        g.celulas.resize(n);
    } catch (const std::bad_alloc&) {
        throw EVandoro("Memória insuficiente para carregar a imagem " + arq + ".");
    }
    if (b->RasterIO(GF_Read, 0, 0, g.colunas, g.linhas, g.celulas.data(), g.colunas, g.linhas, GDT_Float32, 0,
                    0) != CE_None)
        throw EVandoro("Erro de leitura na imagem " + arq + UltimoErro() + ".");
    int tem = 0;
    const double nd = b->GetNoDataValue(&tem);
    g.temSemDado = tem != 0;
    g.semDado = nd;
    const double x0 = gt[0], x1 = gt[0] + g.colunas * gt[1];
    const double y0 = gt[3], y1 = gt[3] + g.linhas * gt[5];
    g.minX = std::min(x0, x1);
    g.maxX = std::max(x0, x1);
    g.minY = std::min(y0, y1);
    g.maxY = std::max(y0, y1);
    // The program keeps the north row first and columns from west to east.
    if (gt[5] > 0)
        for (int r = 0; r < g.linhas / 2; ++r)
            std::swap_ranges(g.celulas.begin() + static_cast<long long>(r) * g.colunas,
                             g.celulas.begin() + static_cast<long long>(r + 1) * g.colunas,
                             g.celulas.begin() + static_cast<long long>(g.linhas - 1 - r) * g.colunas);
    if (gt[1] < 0)
        for (int r = 0; r < g.linhas; ++r)
            std::reverse(g.celulas.begin() + static_cast<long long>(r) * g.colunas,
                         g.celulas.begin() + static_cast<long long>(r + 1) * g.colunas);
    if (const OGRSpatialReference* s = ds.GetSpatialRef()) g.crs = Wkt(*s);
    if (GDALDriver* d = ds.GetDriver()) g.driver = d->GetDescription();
    return g;
}

const char* DriverSig(const std::string& nome) {
    const std::string e = ExtensaoDe(nome);
    if (e == ".gpkg") return "GPKG";
    if (e == ".shp") return "ESRI Shapefile";
    if (e == ".geojson" || e == ".json") return "GeoJSON";
    if (e == ".kml") return "KML";
    if (e == ".gpx") return "GPX";
    if (e == ".dxf") return "DXF";
    return nullptr;
}

std::unique_ptr<OGRCoordinateTransformation> Transformacao(const OGRSpatialReference& de,
                                                           const OGRSpatialReference& para) {
    std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&de, &para));
    if (!t) throw EVandoro("Não é possível transformar as coordenadas entre os dois sistemas" + UltimoErro() + ".");
    return t;
}

void Transforma(OGRCoordinateTransformation& t, std::vector<double>& x, std::vector<double>& y) {
    if (x.empty()) return;
    std::vector<int> ok(x.size(), 0);
    if (!t.Transform(x.size(), x.data(), y.data(), nullptr, ok.data()) ||
        std::find(ok.begin(), ok.end(), 0) != ok.end())
        throw EVandoro("Não foi possível transformar todas as coordenadas entre os dois sistemas" + UltimoErro() +
                       ".");
}

void TransformaComSrs(const OGRSpatialReference& de, const OGRSpatialReference& para, std::vector<double>& x,
                      std::vector<double>& y) {
    Transforma(*Transformacao(de, para), x, y);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Rasters

bool GdalAbreRaster(const std::string& nome) {
    Silencio s;
    Dataset ds(GDALDataset::Open(nome.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    return ds != nullptr;
}

TGradeGdal LerRasterGdal(const std::string& nome) {
    Silencio s;
    const auto abrir = [&] {
        Dataset ds(GDALDataset::Open(nome.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
        if (!ds)
            throw EVandoro("Erro. O arquivo " + NomeSemCaminho(nome) +
                           " não corresponde a um arquivo válido de imagem" + UltimoErro() + ".");
        return ds;
    };
    Dataset ds = abrir();
    if (!Compactado(*ds)) return DaDataset(*ds, nome);
    // Compressed blocks are decoded on the program's threads (the cells do not depend on how
    // many); plain ones are not, where threads only cost. GDAL takes the count when it opens
    // the file, hence the second opening.
    OpcaoLocal threads("GDAL_NUM_THREADS", std::to_string(NumeroThreads()));
    ds.reset();
    ds = abrir();
    return DaDataset(*ds, nome);
}

int BandasRasterGdal(const std::string& nome) {
    Silencio s;
    Dataset ds(GDALDataset::Open(nome.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    return ds ? ds->GetRasterCount() : 0;
}

std::string CrsRasterGdal(const std::string& nome) {
    Silencio s;
    Dataset ds(GDALDataset::Open(nome.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    if (!ds) return {};
    const OGRSpatialReference* srs = ds->GetSpatialRef();
    return srs ? Wkt(*srs) : std::string();
}

void GravarGeoTiff(const std::string& nome, const TGradeGdal& g) {
    if (g.celulas.size() != static_cast<size_t>(g.colunas) * static_cast<size_t>(g.linhas))
        throw EVandoro("Erro ao preparar a imagem: o número de células não confere.");
    GravarGeoTiff(nome, g, [&g](int r, float* buf) {
        std::copy_n(g.celulas.data() + static_cast<size_t>(r) * g.colunas, g.colunas, buf);
    });
}

void GravarGeoTiff(const std::string& nome, const TGradeGdal& g, const std::function<void(int, float*)>& linha) {
    Silencio s;
    const std::string erro = "Não foi possível gravar o arquivo " + nome + ".";
    if (g.colunas < 1 || g.linhas < 1) throw EVandoro("Erro ao preparar a imagem: ela não tem células.");
    SubstituirArquivo(
        nome,
        [&](const std::string& tmp) {
            GDALDriver* drv = GetGDALDriverManager()->GetDriverByName("GTiff");
            if (!drv) throw EVandoro("O GDAL instalado não grava GeoTIFF.");
            std::vector<float> faixa;
            const int alturaFaixa = std::min(g.linhas, kLinhasFaixaTiff);
            try {
                faixa.resize(static_cast<size_t>(g.colunas) * static_cast<size_t>(alturaFaixa));
            } catch (const std::bad_alloc&) {
                throw EVandoro("Memória insuficiente para gravar o arquivo " + NomeSemCaminho(nome) + ".");
            }
            CPLErrorReset();
            errnoDaFalha = 0;
            errno = 0;
            // Compressed only as the input was, as GDAL's own tools do: compression costs
            // more than the slope itself. Tiles are compressed apart, so more threads give
            // the same cells. Level 1: the default level 6 takes several times as long for a
            // file some 4% smaller.
            const std::string threads = "NUM_THREADS=" + std::to_string(NumeroThreads());
            const char* const compactada[] = {"COMPRESS=DEFLATE", "PREDICTOR=3", "ZLEVEL=1", "TILED=YES",
                                              threads.c_str(), nullptr};
            const char* const simples[] = {"COMPRESS=NONE", nullptr};
            Dataset out(drv->Create(tmp.c_str(), g.colunas, g.linhas, 1, GDT_Float32,
                                    const_cast<char**>(g.compactada ? compactada : simples)));
            if (!out) FalhaGravacao(erro);
            ChecaGravacao(erro);
            GDALRasterBand* b = Georreferenciar(*out, g);
            if (!g.titulo.empty()) out->SetMetadataItem("TIFFTAG_DOCUMENTNAME", g.titulo.c_str());
            ChecaGravacao(erro);
            for (int r0 = 0; r0 < g.linhas; r0 += alturaFaixa) {
                const int n = std::min(alturaFaixa, g.linhas - r0);
                for (int k = 0; k < n; ++k) linha(r0 + k, faixa.data() + static_cast<size_t>(k) * g.colunas);
                errno = 0;
                if (b->RasterIO(GF_Write, 0, r0, g.colunas, n, faixa.data(), g.colunas, n, GDT_Float32, 0, 0) !=
                    CE_None)
                    FalhaGravacao(erro);
                // A tile written on the way may have failed without failing the call.
                ChecaGravacao(erro);
            }
            ChecaGravacao(erro);
            GDALClose(out.release());  // the file is complete only once closed
            // What the failed write() left, before the read-back sets errno for its own reasons.
            const int erroEscrita = errno;
            ChecaGravacao(erro);
            // Read back: a writer that lost its error still leaves a file that does not open
            // or has other cells.
            Dataset volta(GDALDataset::Open(tmp.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
            if (!volta || volta->GetRasterXSize() != g.colunas || volta->GetRasterYSize() != g.linhas)
                FalhaGravacao(erro, erroEscrita);
            std::vector<float> ultima(static_cast<size_t>(g.colunas));
            if (volta->GetRasterBand(1)->RasterIO(GF_Read, 0, g.linhas - 1, g.colunas, 1, ultima.data(), g.colunas,
                                                  1, GDT_Float32, 0, 0) != CE_None)
                FalhaGravacao(erro, erroEscrita);
        },
        erro);
}

// ---------------------------------------------------------------------------------------
// Coordinate systems

TInfoCrs DescreveCrs(const std::string& wkt) {
    Silencio s;
    TInfoCrs i;
    OGRSpatialReference srs;
    if (!LeCrs(wkt, srs)) return i;
    i.valido = true;
    i.geografico = srs.IsGeographic() != 0;
    i.projetado = srs.IsProjected() != 0;
    if (i.projetado) i.metrosPorUnidade = srs.GetLinearUnits(nullptr);
    if (const char* n = srs.GetName()) i.nome = n;
    OGRSpatialReference id(srs);
    const char* auth = srs.GetAuthorityName(nullptr);
    if (!auth) {
        id.AutoIdentifyEPSG();
        auth = id.GetAuthorityName(nullptr);
    }
    if (auth && std::string(auth) == "EPSG") {
        const char* c = (srs.GetAuthorityName(nullptr) ? srs : id).GetAuthorityCode(nullptr);
        if (c) i.epsg = std::atoi(c);
    }
    return i;
}

std::string CrsEsri(const std::string& wkt) {
    Silencio s;
    OGRSpatialReference srs;
    if (!LeCrs(wkt, srs)) return {};
    return Wkt(srs, "FORMAT=WKT1_ESRI");
}

std::string CrsDeTexto(const std::string& texto) {
    Silencio s;
    std::string t = texto;
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' ' || t.back() == '\0')) t.pop_back();
    OGRSpatialReference srs;
    if (!LeCrs(t, srs)) return {};
    // An ESRI ".prj" names no authority; the EPSG match lets GeoJSON and others name it.
    if (!srs.GetAuthorityName(nullptr))
        if (OGRSpatialReference* m = srs.FindBestMatch(90, "EPSG")) {
            std::string w = Wkt(*m);
            m->Release();
            if (!w.empty()) return w;
        }
    return Wkt(srs);
}

std::string CrsDeEpsg(int epsg) {
    Silencio s;
    OGRSpatialReference srs;
    if (srs.importFromEPSG(epsg) != OGRERR_NONE)
        throw EVandoro("O sistema de coordenadas EPSG:" + std::to_string(epsg) + " não é conhecido.");
    return Wkt(srs);
}

bool MesmoCrs(const std::string& a, const std::string& b) {
    Silencio s;
    OGRSpatialReference sa, sb;
    if (!LeCrs(a, sa) || !LeCrs(b, sb)) return false;
    return sa.IsSame(&sb) != 0;
}

int EpsgSirgasUtm(double lon, double lat) {
    const int zona = static_cast<int>(std::floor((lon + 180.0) / 6.0)) + 1;
    const bool sul = lat < 0;
    int epsg = 0;
    if (sul && zona >= 17 && zona <= 25) epsg = 31960 + zona;
    else if (sul && zona == 26) epsg = 5396;
    else if (!sul && zona >= 11 && zona <= 22) epsg = 31954 + zona;
    else if (!sul && (zona == 23 || zona == 24)) epsg = 6210 + zona - 23;
    if (epsg == 0)
        throw EVandoro("O centro da imagem (longitude " + std::to_string(lon) + "°, latitude " + std::to_string(lat) +
                       "°) fica no fuso UTM " + std::to_string(zona) + (sul ? "S" : "N") +
                       ", que não tem um sistema SIRGAS 2000 / UTM; reprojete-a com gdalwarp -t_srs.");
    return epsg;
}

void TransformaPontos(const std::string& de, const std::string& para, std::vector<double>& x,
                      std::vector<double>& y) {
    Silencio s;
    OGRSpatialReference a, b;
    if (!LeCrs(de, a) || !LeCrs(para, b))
        throw EVandoro("Sistema de coordenadas inválido para a transformação.");
    TransformaComSrs(a, b, x, y);
}

TGradeGdal ReprojetaGrade(const TGradeGdal& g, const std::string& crs, double celula) {
    Silencio s;
    Dataset src = GradeEmMemoria(g);
    const std::string tr = std::to_string(celula);
    const std::string nd = std::to_string(g.temSemDado ? g.semDado : -9999.0);
    std::vector<std::string> args = {"-of", "MEM", "-t_srs", crs, "-tr", tr, tr, "-tap", "-r", "bilinear",
                                     "-dstnodata", nd};
    if (g.temSemDado) {
        args.push_back("-srcnodata");
        args.push_back(nd);
    }
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    GDALWarpAppOptions* op = GDALWarpAppOptionsNew(argv.data(), nullptr);
    if (!op) throw EVandoro("Opções de reprojeção inválidas" + UltimoErro() + ".");
    GDALDatasetH fontes[] = {GDALDataset::ToHandle(src.get())};
    int uso = 0;
    Dataset out(GDALDataset::FromHandle(GDALWarp("", nullptr, 1, fontes, op, &uso)));
    GDALWarpAppOptionsFree(op);
    if (!out) throw EVandoro("Não foi possível reprojetar a imagem" + UltimoErro() + ".");
    TGradeGdal r = DaDataset(*out, "reprojetada");
    r.temSemDado = true;
    r.semDado = std::stod(nd);
    r.titulo = g.titulo;
    r.driver = g.driver;
    return r;
}

// ---------------------------------------------------------------------------------------
// Vectors

bool FormatoSigConhecido(const std::string& nome) { return DriverSig(nome) != nullptr; }

std::vector<std::string> ArquivosSig(const std::string& nome) {
    if (ExtensaoDe(nome) != ".shp") return {nome};
    std::vector<std::string> r;
    for (const char* e : {".shp", ".shx", ".dbf", ".prj", ".cpg"}) r.push_back(TrocaExtensao(nome, e));
    return r;
}

namespace {

// A line as wide in an earth viewer as a road, so it reads over the imagery.
constexpr const char* kLarguraKml = "4px";
// The label's height in the drawing's units (metres): readable at a field's scale.
constexpr const char* kAlturaRotuloDxf = "3g";

// A text inside an OGR style string's quotes.
std::string TextoDeEstilo(const std::string& t) {
    std::string r;
    for (char c : t) {
        if (c == '"' || c == '\\') r += '\\';
        r += c;
    }
    return r;
}

// Returns how many features it wrote (DXF adds a text per labelled line).
size_t EscreveCamada(GDALDataset& ds, const std::string& camada, const std::vector<TCampoSig>& campos,
                     const std::vector<TFeicaoLinha>& feicoes, const OGRSpatialReference* srs, const char* driver,
                     const std::string& erro) {
    const std::string d = driver;
    const bool gpx = d == "GPX", dxf = d == "DXF";
    std::vector<const char*> op;
    if (d == "GeoJSON") op = {"RFC7946=NO", "WRITE_BBOX=YES"};
    if (d == "ESRI Shapefile") op = {"ENCODING=UTF-8"};
    // Tracks, not routes: a receiver draws a track as the line itself, to walk along while
    // marking it; a route is for turn-by-turn navigation between a few points, and many
    // receivers cap a route's points far below a terrace's.
    if (gpx) op = {"FORCE_GPX_TRACK=YES"};
    op.push_back(nullptr);
    // A drawing holds the lines and their labels in its one layer.
    OGRLayer* l = ds.CreateLayer(camada.c_str(), const_cast<OGRSpatialReference*>(srs),
                                 dxf ? wkbUnknown : wkbLineString25D, const_cast<char**>(op.data()));
    if (!l) FalhaGravacao(erro);
    // KML's writer takes its name and description from these two fields, the first two of
    // the layer; it may have made them itself, and a second pair would shift the data.
    const bool kml = std::string(driver) == "KML";
    if (kml)
        for (const char* n : {"Name", "Description"}) {
            if (l->GetLayerDefn()->GetFieldIndex(n) >= 0) continue;
            OGRFieldDefn f(n, OFTString);
            if (l->CreateField(&f) != OGRERR_NONE) FalhaGravacao(erro);
        }
    const int primeiro = l->GetLayerDefn()->GetFieldCount();
    const int iNome = kml ? l->GetLayerDefn()->GetFieldIndex("Name") : gpx ? l->GetLayerDefn()->GetFieldIndex("name") : -1;
    const int iDescricao =
        kml ? l->GetLayerDefn()->GetFieldIndex("Description") : gpx ? l->GetLayerDefn()->GetFieldIndex("desc") : -1;
    const int iCamadaCad = dxf ? l->GetLayerDefn()->GetFieldIndex("Layer") : -1;
    // GPX and DXF have fixed schemas: the attributes go to the table beside.
    const std::vector<TCampoSig> semCampos;
    const std::vector<TCampoSig>& comCampos = gpx || dxf ? semCampos : campos;
    for (const TCampoSig& c : comCampos) {
        OGRFieldDefn f(c.nome.c_str(), c.texto ? OFTString : c.inteiro ? OFTInteger : OFTReal);
        if (c.texto) {
            f.SetWidth(254);  // a Shapefile's longest text
        } else if (!c.inteiro) {
            f.SetWidth(24);
            f.SetPrecision(12);
        }
        if (l->CreateField(&f) != OGRERR_NONE) FalhaGravacao(erro);
    }
    ChecaGravacao(erro);
    const bool transacao = l->TestCapability(OLCTransactions) && ds.StartTransaction() == OGRERR_NONE;
    size_t escritas = 0;
    for (const TFeicaoLinha& fl : feicoes) {
        OGRFeature f(l->GetLayerDefn());
        if (iNome >= 0) f.SetField(iNome, fl.nome.c_str());
        if (iDescricao >= 0) f.SetField(iDescricao, fl.descricao.c_str());
        if (iCamadaCad >= 0 && !fl.camadaCad.empty()) f.SetField(iCamadaCad, fl.camadaCad.c_str());
        // The KML writer turns the feature's style into the placemark's own LineStyle.
        if (kml && !fl.cor.empty())
            f.SetStyleString(("PEN(c:" + fl.cor + ",w:" + kLarguraKml + ")").c_str());
        for (size_t i = 0; i < comCampos.size(); ++i) {
            const int k = primeiro + static_cast<int>(i);
            if (comCampos[i].texto) {
                if (i < fl.textos.size() && !fl.textos[i].empty()) f.SetField(k, fl.textos[i].c_str());
                continue;
            }
            if (i >= fl.valores.size()) continue;
            const double v = fl.valores[i];
            if (std::isnan(v)) continue;
            if (comCampos[i].inteiro) f.SetField(k, static_cast<int>(std::llround(v)));
            else f.SetField(k, v);
        }
        OGRLineString ls;
        for (size_t k = 0; k < fl.x.size(); ++k) ls.addPoint(fl.x[k], fl.y[k], fl.z);
        f.SetGeometry(&ls);
        if (l->CreateFeature(&f) != OGRERR_NONE) FalhaGravacao(erro);
        ChecaGravacao(erro);
        ++escritas;
        if (!dxf || fl.rotulo.empty() || fl.x.empty()) continue;
        // The DXF writer makes a TEXT of a point whose style is a LABEL.
        OGRFeature t(l->GetLayerDefn());
        if (iCamadaCad >= 0 && !fl.camadaCad.empty()) t.SetField(iCamadaCad, fl.camadaCad.c_str());
        t.SetStyleString(("LABEL(f:\"Arial\",t:\"" + TextoDeEstilo(fl.rotulo) + "\",s:" + kAlturaRotuloDxf + ")").c_str());
        const size_t meio = fl.x.size() / 2;
        OGRPoint p(fl.x[meio], fl.y[meio], fl.z);
        t.SetGeometry(&p);
        if (l->CreateFeature(&t) != OGRERR_NONE) FalhaGravacao(erro);
        ChecaGravacao(erro);
        ++escritas;
    }
    if (transacao && ds.CommitTransaction() != OGRERR_NONE) FalhaGravacao(erro);
    ChecaGravacao(erro);
    return escritas;
}

}  // namespace

void EscreverLinhasSig(const std::string& nome, const std::string& camada, const std::vector<TCampoSig>& campos,
                       const std::vector<TFeicaoLinha>& feicoesDadas, const std::string& crs) {
    Silencio s;
    const char* driver = DriverSig(nome);
    if (!driver)
        throw EVandoro("Formato de saída desconhecido: use .gpkg (GeoPackage), .shp (Shapefile), .geojson (GeoJSON), "
                       ".kml (KML), .gpx (GPX) ou .dxf (DXF).");
    // Both hold longitude and latitude only.
    const bool wgs = std::string(driver) == "KML" || std::string(driver) == "GPX";
    // OGR's own KML writer writes each placemark as it comes; libkml's builds the whole
    // document in memory at the close, in time that grows far faster than the points.
    GDALDriver* drv = GetGDALDriverManager()->GetDriverByName(driver);
    if (!drv) throw EVandoro(std::string("O GDAL instalado não grava o formato ") + driver + ".");
    const std::string erro = "Não foi possível gravar o arquivo " + nome + ".";

    OGRSpatialReference srs;
    const bool temCrs = LeCrs(crs, srs);
    if (!crs.empty() && !temCrs) throw EVandoro("O sistema de coordenadas do vetor não pôde ser lido.");
    std::vector<TFeicaoLinha> emGraus;
    OGRSpatialReference wgs84;
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    wgs84.importFromEPSG(4326);
    const std::vector<TFeicaoLinha>* feicoes = &feicoesDadas;
    if (wgs) {
        if (!temCrs)
            throw EVandoro("O vetor não tem sistema de coordenadas: GPX e KML exigem um; use .gpkg, .shp, .geojson "
                           "ou .dxf.");
        emGraus = feicoesDadas;
        // One transformation for every line: setting one up costs far more than a line.
        const auto t = Transformacao(srs, wgs84);
        for (TFeicaoLinha& f : emGraus) Transforma(*t, f.x, f.y);
        feicoes = &emGraus;
    }
    // DXF has no place for a coordinate system.
    const bool dxf = std::string(driver) == "DXF";
    const OGRSpatialReference* srsCamada = wgs ? &wgs84 : (temCrs && !dxf ? &srs : nullptr);
    // A GeoPackage without a system would mark the layer "undefined geographic": plain
    // metres are a Cartesian system of no name.
    OGRSpatialReference cartesiano;
    if (!srsCamada && std::string(driver) == "GPKG" &&
        cartesiano.importFromWkt("LOCAL_CS[\"Undefined cartesian SRS\",UNIT[\"metre\",1]]") == OGRERR_NONE)
        srsCamada = &cartesiano;

    CPLErrorReset();
    errnoDaFalha = 0;
    errno = 0;
    Dataset ds(drv->Create(nome.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!ds) FalhaGravacao(erro);
    const size_t escritas = EscreveCamada(*ds, camada, campos, *feicoes, srsCamada, driver, erro);
    GDALClose(ds.release());
    const int erroEscrita = errno;
    ChecaGravacao(erro);
    // Read back: the layer must hold every feature written (GPX reads its tracks as a layer
    // beside the empty waypoints and routes).
    const char* const so[] = {driver, nullptr};
    Dataset volta(GDALDataset::Open(nome.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, so));
    OGRLayer* l = !volta                               ? nullptr
                  : std::string(driver) == "GPX"       ? volta->GetLayerByName("tracks")
                  : volta->GetLayerCount() == 1        ? volta->GetLayer(0)
                                                       : nullptr;
    if (!l || l->GetFeatureCount(TRUE) != static_cast<GIntBig>(escritas)) FalhaGravacao(erro, erroEscrita);
}

namespace {

// What a vector drawn over the model says when its system cannot reach the model's, in its own
// words (a boundary, the waterways).
struct TMensagensCrs {
    std::string semCrsNoModelo, intransformavel, falhou, impossiveis;
};

// The transformation from a layer's system to the grid's; null when the layer has none (its
// coordinates are taken as the grid's).
std::unique_ptr<OGRCoordinateTransformation> ParaOModelo(const OGRSpatialReference* srsCamada, bool gradeTemCrs,
                                                         const OGRSpatialReference& grade, const TMensagensCrs& m) {
    if (!srsCamada) return nullptr;
    if (!gradeTemCrs) throw EVandoro(m.semCrsNoModelo);
    OGRSpatialReference de(*srsCamada);
    de.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&de, &grade));
    if (!t) throw EVandoro(m.intransformavel);
    return t;
}

// A geometry in the grid's system, in 2D. No system has coordinates beyond 1e8 (a hundred
// thousand kilometres); a vertex out there is a damaged file, and the geometry operations
// would lose the field in rounding.
void NoModelo(OGRGeometry& g, OGRCoordinateTransformation* t, const TMensagensCrs& m) {
    g.flattenTo2D();
    if (t && g.transform(t) != OGRERR_NONE) throw EVandoro(m.falhou);
    OGREnvelope e;
    g.getEnvelope(&e);
    const double maior = std::max({std::fabs(e.MinX), std::fabs(e.MaxX), std::fabs(e.MinY), std::fabs(e.MaxY)});
    if (!(maior <= 1e8)) throw EVandoro(m.impossiveis);
}

// Every part of type 'tipo' (curves made linear, taken out of its multi-part type 'multi' and
// of collections) of every layer of 'ds', in the model's system, handed to 'f' as it is read.
template <class F>
void ParaCadaParte(GDALDataset& ds, OGRwkbGeometryType tipo, OGRwkbGeometryType multi, bool gradeTemCrs,
                   const OGRSpatialReference& grade, const TMensagensCrs& m, F f) {
    for (OGRLayer* l : ds.GetLayers()) {
        std::unique_ptr<OGRCoordinateTransformation> t;
        bool camadaTemParte = false;
        l->ResetReading();
        for (auto& feicao : *l) {
            const OGRGeometry* g = feicao->GetGeometryRef();
            if (!g) continue;
            std::unique_ptr<OGRGeometry> lin(g->hasCurveGeometry() ? g->getLinearGeometry() : g->clone());
            std::vector<std::unique_ptr<OGRGeometry>> partes;
            const auto tg = wkbFlatten(lin->getGeometryType());
            if (tg == tipo) partes.push_back(std::move(lin));
            else if (tg == multi || tg == wkbGeometryCollection) {
                auto* c = lin->toGeometryCollection();
                for (int i = 0; i < c->getNumGeometries(); ++i)
                    if (wkbFlatten(c->getGeometryRef(i)->getGeometryType()) == tipo)
                        partes.emplace_back(c->getGeometryRef(i)->clone());
            }
            if (partes.empty()) continue;
            if (!camadaTemParte) t = ParaOModelo(l->GetSpatialRef(), gradeTemCrs, grade, m);
            camadaTemParte = true;
            for (auto& p : partes) {
                NoModelo(*p, t.get(), m);
                f(std::move(p));
            }
        }
    }
}

}  // namespace

namespace {

Dataset AbreLimite(const std::string& nome) {
    Dataset ds(GDALDataset::Open(nome.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!ds)
        throw EVandoro("Não foi possível abrir o limite do talhão " + NomeSemCaminho(nome) +
                       ": o arquivo não é um vetor que o GDAL/OGR leia" + UltimoErro() + ".");
    return ds;
}

TMensagensCrs MensagensLimite(const std::string& arq) {
    return {"O limite do talhão " + arq +
                " tem sistema de coordenadas, mas o modelo de elevação não declara o seu: o limite não pode ser "
                "transformado para o modelo.",
            "O limite do talhão " + arq +
                " está em um sistema de coordenadas que não pode ser transformado para o do modelo de elevação.",
            "O limite do talhão " + arq +
                " não pôde ser transformado para o sistema de coordenadas do modelo de elevação.",
            "O limite do talhão " + arq + " tem vértices com coordenadas impossíveis: confira o arquivo."};
}

}  // namespace

std::vector<unsigned char> RasterizaPoligonos(const std::string& nome, const std::string& crsGrade, int colunas,
                                              int linhas, double minX, double maxY, double largura,
                                              double altura, double* areaPoligonos) {
    Silencio s;
    const std::string arq = NomeSemCaminho(nome);
    Dataset ds = AbreLimite(nome);
    OGRSpatialReference grade;
    const bool gradeTemCrs = LeCrs(crsGrade, grade);
    const TMensagensCrs mensagens = MensagensLimite(arq);
    OGRMultiPolygon todos;
    ParaCadaParte(*ds, wkbPolygon, wkbMultiPolygon, gradeTemCrs, grade, mensagens, [&](std::unique_ptr<OGRGeometry> p) {
        if (p->IsValid()) {
            todos.addGeometryDirectly(p.release());
            return;
        }
        // Boundaries drawn by hand or downloaded from registries cross themselves or
        // hold holes outside their rings; rasterised as they are, cells outside the
        // polygon would count as field. They are repaired as a GIS "fix geometries".
        std::unique_ptr<OGRGeometry> valido(p->MakeValid());
        if (!valido)
            throw EVandoro("O limite do talhão " + arq +
                           " tem um polígono inválido (contorno que se cruza ou buraco fora do contorno) "
                           "que não pôde ser corrigido: corrija-o no SIG.");
        const auto tv = wkbFlatten(valido->getGeometryType());
        if (tv == wkbPolygon) {
            todos.addGeometryDirectly(valido.release());
        } else if (tv == wkbMultiPolygon || tv == wkbGeometryCollection) {
            auto* c = valido->toGeometryCollection();
            for (int i = 0; i < c->getNumGeometries(); ++i)
                if (wkbFlatten(c->getGeometryRef(i)->getGeometryType()) == wkbPolygon)
                    todos.addGeometry(c->getGeometryRef(i));
        }
    });
    if (todos.getNumGeometries() == 0)
        throw EVandoro("O limite do talhão " + arq + " não contém nenhum polígono.");
    std::unique_ptr<OGRGeometry> uniao(todos.UnionCascaded());
    const OGRGeometry* campo = uniao ? uniao.get() : &todos;
    if (areaPoligonos) {
        const auto tipo = wkbFlatten(campo->getGeometryType());
        *areaPoligonos = tipo == wkbPolygon ? campo->toPolygon()->get_Area()
                         : tipo == wkbMultiPolygon ? campo->toMultiPolygon()->get_Area()
                                                   : todos.get_Area();
    }
    const std::string fora = "O limite do talhão " + arq + " não se sobrepõe ao modelo de elevação.";
    OGREnvelope env;
    campo->getEnvelope(&env);
    const double minY = maxY - linhas * altura, maxX = minX + colunas * largura;
    if (env.MaxX < minX || env.MinX > maxX || env.MaxY < minY || env.MinY > maxY) throw EVandoro(fora);

    GDALDriver* mem = GetGDALDriverManager()->GetDriverByName("MEM");
    Dataset grid(mem ? mem->Create("", colunas, linhas, 1, GDT_Byte, nullptr) : nullptr);
    if (!grid) throw EVandoro("Memória insuficiente para o limite do talhão.");
    double gt[6] = {minX, largura, 0, maxY, 0, -altura};
    grid->SetGeoTransform(gt);
    OGRGeometryH geoms[] = {OGRGeometry::ToHandle(const_cast<OGRGeometry*>(campo))};
    const int banda = 1;
    const double um = 1;
    if (GDALRasterizeGeometries(GDALDataset::ToHandle(grid.get()), 1, &banda, 1, geoms, nullptr, nullptr, &um,
                                nullptr, nullptr, nullptr) != CE_None)
        throw EVandoro("Não foi possível aplicar o limite do talhão " + arq + UltimoErro() + ".");
    // Cells the boundary passes through go too: a terrace line may end on the edge of the
    // field's last cell, and that edge must still lie inside the polygon.
    std::unique_ptr<OGRGeometry> borda(campo->Boundary());
    if (borda) {
        OGRGeometryH bordas[] = {OGRGeometry::ToHandle(borda.get())};
        const double zero = 0;
        char todasTocadas[] = "ALL_TOUCHED=TRUE";
        char* opcoes[] = {todasTocadas, nullptr};
        if (GDALRasterizeGeometries(GDALDataset::ToHandle(grid.get()), 1, &banda, 1, bordas, nullptr, nullptr, &zero,
                                    opcoes, nullptr, nullptr) != CE_None)
            throw EVandoro("Não foi possível aplicar o limite do talhão " + arq + UltimoErro() + ".");
    }
    std::vector<unsigned char> dentro(static_cast<size_t>(colunas) * linhas);
    if (grid->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, colunas, linhas, dentro.data(), colunas, linhas, GDT_Byte,
                                         0, 0) != CE_None)
        throw EVandoro("Não foi possível aplicar o limite do talhão " + arq + UltimoErro() + ".");
    if (std::find(dentro.begin(), dentro.end(), 1) == dentro.end()) throw EVandoro(fora);
    return dentro;
}

std::vector<TPolilinha> LerLinhasNoModelo(const std::string& nome, const std::string& crsGrade) {
    Silencio s;
    const std::string arq = NomeSemCaminho(nome);
    Dataset ds(GDALDataset::Open(nome.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!ds)
        throw EVandoro("Não foi possível abrir os canais escoadouros " + arq +
                       ": o arquivo não é um vetor que o GDAL/OGR leia" + UltimoErro() + ".");
    OGRSpatialReference grade;
    const bool gradeTemCrs = LeCrs(crsGrade, grade);
    const TMensagensCrs mensagens{
        "Os canais escoadouros " + arq +
            " têm sistema de coordenadas, mas o modelo de elevação não declara o seu: os canais não podem ser "
            "transformados para o modelo.",
        "Os canais escoadouros " + arq +
            " estão em um sistema de coordenadas que não pode ser transformado para o do modelo de elevação.",
        "Os canais escoadouros " + arq +
            " não puderam ser transformados para o sistema de coordenadas do modelo de elevação.",
        "Os canais escoadouros " + arq + " têm vértices com coordenadas impossíveis: confira o arquivo."};
    std::vector<TPolilinha> linhas;
    ParaCadaParte(*ds, wkbLineString, wkbMultiLineString, gradeTemCrs, grade, mensagens,
                  [&](std::unique_ptr<OGRGeometry> p) {
                      const OGRLineString* ls = p->toLineString();
                      TPolilinha pl;
                      for (int k = 0; k < ls->getNumPoints(); ++k) {
                          // A vertex drawn twice on the same spot says nothing of the way.
                          if (!pl.x.empty() && pl.x.back() == ls->getX(k) && pl.y.back() == ls->getY(k)) continue;
                          pl.x.push_back(ls->getX(k));
                          pl.y.push_back(ls->getY(k));
                      }
                      if (pl.x.size() >= 2) linhas.push_back(std::move(pl));
                  });
    return linhas;
}

std::vector<TPolilinha> LerPoligonosNoModelo(const std::string& nome, const std::string& crsGrade) {
    Silencio s;
    Dataset ds = AbreLimite(nome);
    OGRSpatialReference grade;
    const bool gradeTemCrs = LeCrs(crsGrade, grade);
    std::vector<TPolilinha> aneis;
    ParaCadaParte(*ds, wkbPolygon, wkbMultiPolygon, gradeTemCrs, grade, MensagensLimite(NomeSemCaminho(nome)),
                  [&](std::unique_ptr<OGRGeometry> p) {
                      const OGRPolygon* pol = p->toPolygon();
                      for (const OGRLinearRing* anel : *pol) {
                          TPolilinha pl;
                          for (int k = 0; k < anel->getNumPoints(); ++k) {
                              pl.x.push_back(anel->getX(k));
                              pl.y.push_back(anel->getY(k));
                          }
                          if (pl.x.size() >= 3) aneis.push_back(std::move(pl));
                      }
                  });
    return aneis;
}

#pragma once
// Terrace lines to GIS files and the field boundary of a location run: the operations the
// location window and the command line call, one each.
#include <string>
#include <vector>

#include "core/common/Regional.h"
#include "core/gdal/Gdal.h"
#include "core/location/BDT.h"
#include "core/location/ConstrucaoLocacao.h"
#include "core/location/LocNivel.h"

class TConjuntoArquivos;
class TLocacaoNivel;
class TTerracosNivel;
struct TArquivosLocacao;

// File-dialog filters: GIS files the terrace lines go to; polygon files of a boundary.
extern const char* const kFiltroSigLinhas;
extern const char* const kFiltroSigLimite;
extern const char* const kFiltroSigEscoadouros;  // the waterways a graded layout drains to

// How a terrace type is drawn: its DXF layer ("BASE_LARGA", "BASE_MEDIA", "BASE_ESTREITA",
// "MURUNDUM", "PATAMAR", "MISTO" for an alternating row, "SEM_TIPO" for a text that names no
// type) and its KML colour ("#RRGGBB").
struct TEstiloTipo {
    std::string camada;
    std::string cor;
};
TEstiloTipo EstiloDoTipo(const std::string& tipo);

// What GPX and KML say on a model without a coordinate system.
extern const char* const kSigExigeCrs;

// One terrace as the GIS files and the table beside them hold it.
struct TTerracoSig {
    TRegTerr registro;
    double eh = 0;    // horizontal spacing, m (NaN for a flat strip)
    double hCm = 0;   // theoretical height H, cm (NaN when unknown)
    double hrCm = 0;  // recommended height Hr, cm (NaN when unknown)
    bool temInfo = false;  // the line above and the type are known
    TInfoTerraco info;
    bool temCanal = false;  // a graded channel: its outlet, far end, grade, flow and waterway
    TCanalLocado canal;
    bool temObra = false;  // the soil it moves, and the machine's hours and cost (-1 unknown)
    TObraTerraco obra;
};

// Attribute fields, in order: terraco, cota_m, ev_m, eh_m, decliv_pct, compr_m, area_m2,
// h_cm, hr_cm, acima (empty under no line, a summit), tipo (at most 10 characters, for
// Shapefile).
const std::vector<TCampoSig>& CamposTerraco();
// Then what building it takes: volume_m3, horas, custo_rs (empty where unknown).
const std::vector<TCampoSig>& CamposConstrucao();
// The fields a graded layout adds after them: cota_saida_m, cota_inicio_m, decliv_canal,
// vazao_ls, escoadouro.
const std::vector<TCampoSig>& CamposCanal();

// H and Hr of a record. The engine's height is the recommended one (√CDu × d + 0.1 m, d the
// channel depth) except with an arbitrated height, where it is H itself. Without the level
// system H is not known and Hr is the table's height. 'info' (may be null) gives the line
// above and the type.
TTerracoSig TerracoSig(const TRegTerr& r, const TTerracosNivel* sistema, const TInfoTerraco* info = nullptr);

// The terrace table as CSV (the GIS fields' columns) in the regional convention (';' between fields where the decimal
// separator is ',', else ','), CR LF, Windows-1252.
std::string CsvTerracos(const std::vector<TTerracoSig>& terracos, const Regional& r = Regional::Current());

// What an export wrote.
struct TResumoSig {
    std::string arquivo;  // the GIS file
    std::string tabela;   // the ".csv" beside it
    int feicoes = 0;
    std::string crs;      // name of the coordinate system written ("" when none)
    std::vector<std::string> avisos;
};

// The table written beside a GIS output.
std::string TabelaSig(const std::string& saida);

// Refuses a GIS output (any of its files, or its table) that would replace one of
// 'entradas' or is not a format the program writes: "O arquivo SIG de saída X substituiria
// Y: escolha outro nome. Nada foi gravado.". The formats: .gpkg, .shp, .geojson, .kml (WGS 84,
// each line styled by its type, named "Terraço N"), .gpx (WGS 84, a track "Terraço N" per
// terrace) and .dxf (the model's coordinates, a layer per type, the number as a text).
void ChecaSaidaSig(const std::string& saida, const std::vector<std::string>& entradas);

// The same for the GIS output of a location: it may replace no file the run read (elevation,
// slope, field boundary, project) nor any it wrote (vector, table, .prj, report, strip map),
// and GPX and KML need an elevation model with a coordinate system (kSigExigeCrs).
// The window's export and the command line ask this one rule.
void ChecaSaidaSigLocacao(const std::string& saida, const TArquivosLocacao& arquivos, const std::string& limite,
                          const std::string& projeto);

// The lines of the last run of 'loc' at the engine's precision, one feature per line with
// its terrace's attributes, in the elevation model's coordinate system; the table beside.
// The GIS file (all its parts) and the table replace the old ones as one set. GPX and KML on
// a model without a coordinate system are refused before anything is written (kSigExigeCrs).
TResumoSig ExportarLocacaoSig(const TLocacaoNivel& loc, const std::string& saida,
                              const Regional& r = Regional::Current());
// The same as members of a set being written (a run's own outputs).
TResumoSig AdicionarLocacaoSig(TConjuntoArquivos& c, const TLocacaoNivel& loc, const std::string& saida,
                               const Regional& r = Regional::Current());

// A ".vet" (its ".prj" and ".bdt" beside it when there) to a GIS file and its table.
// 'sistema' gives H; null leaves it empty.
TResumoSig ExportarVetSig(const std::string& vet, const std::string& saida, const TTerracosNivel* sistema = nullptr,
                          const Regional& r = Regional::Current());

// The ".prj" (ESRI WKT) beside the ".vet" of the last run when the elevation model has a
// coordinate system; returns its name, or "" when none was written.
std::string GravarPrjDaLocacao(const TLocacaoNivel& loc);

// The field boundary for the next runs of 'loc' (any polygon layer OGR reads; several
// polygons are one field): cells of the elevation model not wholly inside it, after
// reprojection to the model's system (so no terrace line leaves it), are taken out of the run as cells without data; the model file is
// untouched. An empty name removes it. The polygon is read at each run, whose load raises
// the boundary's refusals.
void DefinirLimiteCampo(TLocacaoNivel& loc, const std::string& limite);

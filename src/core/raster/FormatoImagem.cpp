#include "core/raster/FormatoImagem.h"

#include "core/raster/Imagem.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "core/common/ConjuntoArquivos.h"
#include "core/gdal/Gdal.h"
#include "core/raster/FormatoComum.h"

using namespace raster_interno;

std::vector<std::string> ArquivosDaImagem(const std::string& name) {
    const std::string e = Ext3(name);
    if (e == "DOC" || e == "IMG") return {Parceiro(name, "doc"), Parceiro(name, "img")};
    if (e == "HDR" || e == "FLT") return {Parceiro(name, "hdr"), Parceiro(name, "flt")};
    return {name};
}

bool ImagensCompartilhamArquivo(const std::string& a, const std::string& b) {
    for (const std::string& x : ArquivosDaImagem(a))
        for (const std::string& y : ArquivosDaImagem(b))
            if (MesmoArquivo(x, y)) return true;
    return false;
}

// ---------------------------------------------------------------------------------------
// Dispatch

namespace {

// The formats by name, in the order the open dialogs list them.
struct TDescricaoFormato {
    TFormatoImagem formato;
    const char* rotulo;         // the dialogs' entry
    const char* oferecidas[2];  // what the dialogs list: the data half of a pair
    const char* nomes[2];       // every extension that names the format
    bool porFinal;              // the program's own formats: the name's last three characters
};

constexpr TDescricaoFormato kFormatos[] = {
    {TFormatoImagem::Idrisi, "Imagens do Idrisi 16 bits", {"img", nullptr}, {"doc", "img"}, true},
    {TFormatoImagem::Idrisi32, "Imagens do Idrisi 32 bits", {"rst", nullptr}, {"rst", "rdc"}, true},
    {TFormatoImagem::ArcViewBinario, "Imagens do ArcView", {"flt", nullptr}, {"hdr", "flt"}, true},
    {TFormatoImagem::ArcViewAscii, "Imagens do ArcView", {"asc", nullptr}, {"asc", nullptr}, true},
    {TFormatoImagem::Surfer, "Imagens do Surfer", {"grd", nullptr}, {"grd", nullptr}, true},
    {TFormatoImagem::GeoTiff, "GeoTIFF", {"tif", "tiff"}, {"tif", "tiff"}, false},
};

}  // namespace

TFormatoImagem FormatoDe(const std::string& nome) {
    const std::string x = ExtensaoDe(nome), e = Ext3(nome);
    for (const TDescricaoFormato& d : kFormatos)
        for (const char* n : d.nomes)
            if (n && (d.porFinal ? e == Maiusculas(n) : x == "." + std::string(n))) return d.formato;
    return TFormatoImagem::Desconhecido;
}

std::string FiltroImagens() {
    std::string todas, cada;
    for (const TDescricaoFormato& d : kFormatos) {
        std::string padroes;
        for (const char* o : d.oferecidas)
            if (o) padroes += (padroes.empty() ? "*." : " *.") + std::string(o);
        todas += (todas.empty() ? "" : " ") + padroes;
        cada += ";;" + std::string(d.rotulo) + " (" + padroes + ")";
    }
    return "Imagens válidas (" + todas + ")" + cada;
}

TCodigoFormato CodigoFormato(TFormatoImagem f) {
    switch (f) {
        case TFormatoImagem::ArcViewAscii:
        case TFormatoImagem::ArcViewBinario: return TCodigoFormato::ArcView;
        case TFormatoImagem::Idrisi: return TCodigoFormato::Idrisi16;
        case TFormatoImagem::Idrisi32: return TCodigoFormato::Idrisi32;
        case TFormatoImagem::Surfer: return TCodigoFormato::Surfer;
        case TFormatoImagem::GeoTiff: return TCodigoFormato::Gdal;
        default: return TCodigoFormato::Desconhecido;
    }
}

std::string NomeFormato(TFormatoImagem f) {
    switch (f) {
        case TFormatoImagem::ArcViewAscii: return "ArcView ASCII (.asc)";
        case TFormatoImagem::ArcViewBinario: return "ArcView binário (.hdr + .flt)";
        case TFormatoImagem::Idrisi: return "Idrisi (.doc + .img)";
        case TFormatoImagem::Idrisi32: return "Idrisi 32 bits";
        case TFormatoImagem::Surfer: return "Surfer ASCII (.grd)";
        case TFormatoImagem::GeoTiff: return "GeoTIFF (.tif)";
        default: return "desconhecido";
    }
}

std::string NomeTipoCelula(TTipoCelula tipo) {
    switch (tipo) {
        case TTipoCelula::Byte: return "byte (B)";
        case TTipoCelula::Inteiro: return "inteiro de 16 bits (I)";
        default: return "real de 32 bits (R)";
    }
}

bool UnidadeDistanciaValida(const std::string& unidade) {
    const std::string u = Maiusculas(unidade);
    return u == "M" || u == "KM";
}


namespace {

// Units that mean degrees, as a file or a user may write them.
bool UnidadeEmGraus(const std::string& u) {
    const std::string m = Maiusculas(u);
    return m == "GRAUS" || m == "GRAU" || m == "DEG" || m == "DEGREE" || m == "DEGREES" || m == "DECIMAL DEGREES";
}

// No system and no unit declared: a grid that fits the globe with cells of a fraction of a
// degree is one in degrees; a grid in metres that small is a laboratory one.
bool PareceGraus(const TImagem& img) {
    if (img.Columns() < 1 || img.Rows() < 1) return false;
    const double w = img.CellWidth(), h = img.CellHeight();
    // The system last: reading it is what costs.
    return img.MinX() >= -180.0 && img.MaxX() <= 180.0 && img.MinY() >= -90.0 && img.MaxY() <= 90.0 && w > 0 &&
           h > 0 && w < 0.01 && h < 0.01 && !img.UnitDeclared();
}

}  // namespace

bool ImagemEmGraus(const TImagem& img) {
    // A projected ".prj" answers without being read; an unreadable one would leave the unit
    // to the file, and the grid was looked at for degrees when it was loaded.
    if (img.Sistema().ProjetadoPeloTexto() && !UnidadeEmGraus(img.RefUnits())) return false;
    if (!img.Crs().empty()) return DescreveCrs(img.Crs()).geografico;
    return UnidadeEmGraus(img.RefUnits()) || PareceGraus(img);
}

std::string MensagemSemUnidade(const TImagem& img) {
    if (ImagemEmGraus(img)) {
        const std::string arq = NomeSemCaminho(img.FileName());
        const bool presumido = img.Crs().empty() && !img.UnitDeclared();
        std::string m = "O modelo de elevação " + arq;
        m += presumido ? " não declara sistema de coordenadas nem unidade, e seus limites e células parecem estar "
                         "em graus"
                       : " está em coordenadas geográficas (graus)";
        m += ": a declividade sairia em graus por metro. Reprojete-o para um sistema em metros com vandoro-cli "
             "raster-converter ENTRADA SAIDA --utm (SIRGAS 2000 / UTM do fuso do centro da imagem) ou com "
             "gdalwarp -t_srs.";
        if (presumido)
            m += " Se as coordenadas estiverem mesmo em metros, declare a unidade com vandoro-cli raster-converter "
                 "ENTRADA SAIDA.doc --unidade m.";
        return m;
    }
    if (img.FormatCode() != TCodigoFormato::Surfer || UnidadeDistanciaValida(img.RefUnits())) return {};
    return "O arquivo " + NomeSemCaminho(img.FileName()) +
           " é uma grade do Surfer, que não guarda a unidade de distância: converta-o para "
           "\".asc\" ou \".doc\" com a unidade de distância (m ou km).";
}

void RecusaImagemEmGraus(const TImagem& img) {
    if (ImagemEmGraus(img)) throw EVandoro(MensagemSemUnidade(img));
}

std::string NotaBandas(const TImagem& img) {
    if (img.BandCount() <= 1) return {};
    return "A imagem " + NomeSemCaminho(img.FileName()) + " tem " + IntToStr(img.BandCount()) +
           " bandas; foi usada a banda 1.";
}

namespace {
bool FormatoProprio(TFormatoImagem f) {
    return f != TFormatoImagem::GeoTiff && f != TFormatoImagem::Desconhecido;
}

// The ".prj" of an image of the program's own formats: beside its data file, or beside its
// header.
std::string PrjDe(const std::string& name) {
    for (const std::string& a : ArquivosDaImagem(name)) {
        const std::string p = TrocaExtensao(a, ".prj");
        if (ArquivoExiste(p)) return p;
    }
    return {};
}
}  // namespace

std::string NotaBandasArquivo(const std::string& nome) {
    if (FormatoProprio(FormatoDe(nome)) || !ArquivoExiste(nome)) return {};
    // Only the header: the cells were read by the command already.
    const int bandas = BandasRasterGdal(nome);
    if (bandas <= 1) return {};
    return "A imagem " + NomeSemCaminho(nome) + " tem " + IntToStr(bandas) + " bandas; foi usada a banda 1.";
}

std::string CrsDoArquivoImagem(const std::string& nome) {
    if (!FormatoProprio(FormatoDe(nome))) return CrsRasterGdal(nome);
    const std::string prj = PrjDe(nome);
    if (prj.empty()) return {};
    try {
        return CrsDeTexto(LerArquivoInteiro(prj, 1 << 20));
    } catch (const EVandoro&) {
        return {};
    }
}

void TImagem::ReadGdal(const std::string& name, TGradeGdal& g) {
    storageMode_ = TModoArmazenamento::Memoria;
    FreeStore();
    SetCellType(TTipoCelula::Real);
    columns_ = g.colunas;
    rows_ = g.linhas;
    minX_ = g.minX;
    maxX_ = g.maxX;
    minY_ = g.minY;
    maxY_ = g.maxY;
    ChecaLimites(minX_, maxX_, minY_, maxY_, NomeSemCaminho(name));
    flagValue_ = g.temSemDado ? F32(g.semDado) : std::numeric_limits<float>::quiet_NaN();
    title_ = g.titulo;
    crs_ = TSistemaGrade::DeWkt(g.crs);
    compressed_ = g.compactada;
    bandCount_ = g.bandas;
    formatCode_ = TCodigoFormato::Gdal;
    if (g.crs.empty()) refUnits_ = "m";
    else {
        const TInfoCrs i = DescreveCrs(g.crs);
        if (i.geografico) refUnits_ = "graus";
        else if (i.metrosPorUnidade == 1.0) refUnits_ = "m";
        else if (i.metrosPorUnidade == 1000.0) refUnits_ = "km";
        else refUnits_ = "unidade de " + FloatToStr(i.metrosPorUnidade) + " m";
    }
    // The cells GDAL read become the store as they are.
    mem_.swap(g.celulas);
    memBytes_ = static_cast<long long>(mem_.size()) * 4;
    std::vector<float>().swap(g.celulas);
    ResetRanges();
    float mn = minR_, mx = maxR_;
    const float* c = mem_.data();
    const long long n = static_cast<long long>(columns_) * rows_;
    const float flag = flagValue_;
    for (long long i = 0; i < n; ++i) {
        const float v = c[i];
        if (v != flag && !std::isnan(v)) {
            if (v < mn) mn = v;
            if (v > mx) mx = v;
        }
    }
    minR_ = mn;
    maxR_ = mx;
    CountValid();
}

namespace {

// The grid as GDAL takes it, cells left out.
TGradeGdal CabecalhoGdal(const TImagem& img) {
    TGradeGdal g;
    g.colunas = img.Columns();
    g.linhas = img.Rows();
    g.minX = img.MinX();
    g.maxX = img.MaxX();
    g.minY = img.MinY();
    g.maxY = img.MaxY();
    g.crs = img.Crs();
    g.compactada = img.Compressed();
    g.titulo = img.Title();
    g.temSemDado = !std::isnan(img.FlagValue());
    g.semDado = img.FlagValue();
    return g;
}

TGradeGdal GradeGdalDe(const TImagem& img) {
    TGradeGdal g = CabecalhoGdal(img);
    g.celulas.resize(static_cast<size_t>(g.colunas) * g.linhas);
    for (int r = 0; r < g.linhas; ++r) img.RawRow(r, g.celulas.data() + static_cast<size_t>(r) * g.colunas);
    return g;
}

}  // namespace

void TImagem::WriteGeoTiff(const std::string& name) {
    // Rows go to GDAL as they are read from the store, never as a second whole grid.
    GravarGeoTiff(name, CabecalhoGdal(*this), [this](int linha, float* buf) { RawRow(linha, buf); });
}

void TImagem::ReadPrj(const std::string& name) {
    const std::string prj = PrjDe(name);
    if (prj.empty()) return;
    crs_ = TSistemaGrade::DePrj(LerArquivoInteiro(prj, 1 << 20));
}

void TImagem::WritePrj(const std::string& name, const std::string& preparado) const {
    const std::string prj = TrocaExtensao(ArquivosDaImagem(name).back(), ".prj");
    const std::string novo = TrocaExtensao(ArquivosDaImagem(preparado).back(), ".prj");
    // The input's WKT ".prj" goes out as it came in, never read into WKT on the way.
    if (const std::string& texto = crs_.PrjWkt1(); !texto.empty()) {
        if (!ArquivoExiste(prj) || LerArquivoInteiro(prj, 1 << 20) != texto) GravarArquivoInteiro(novo, texto);
        return;
    }
    if (crs_.Vazio()) return;
    // Beside an input with the same system (x.asc read, x.flt written) the file stays as it is.
    if (ArquivoExiste(prj) && MesmoCrs(CrsDoArquivoImagem(name), crs_.Wkt())) return;
    GravarArquivoInteiro(novo, CrsEsri(crs_.Wkt()));
}

void ChecaSaidaDiferente(const std::string& entrada, const std::string& saida) {
    if (ImagensCompartilhamArquivo(entrada, saida))
        throw EVandoro("A entrada e a saída são o mesmo arquivo.");
}

std::unique_ptr<TImagem> CarregaImagem(const std::string& nome, IProgresso* progresso) {
    auto img = std::make_unique<TImagem>();
    img->SetProgresso(progresso);
    if (!img->LoadFromFile(nome)) throw EVandoro("O arquivo " + nome + " não existe.");
    img->ComputeMinMax(true);
    img->SetProgresso(nullptr);
    return img;
}

std::unique_ptr<TImagem> ConverteImagem(const std::string& entrada, const std::string& saida,
                                        const std::string& unidade, IProgresso* progresso, bool utm) {
    ChecaSaidaDiferente(entrada, saida);
    if (!unidade.empty() && !UnidadeDistanciaValida(unidade))
        throw EVandoro("Unidade de distância inválida: '" + unidade + "' (use m ou km).");
    if (utm && !unidade.empty())
        throw EVandoro("A reprojeção para UTM já dá a imagem em metros: não use --unidade com --utm.");
    if (utm) {
        // The output declares another system: its ".prj" must not be the one the input is read with.
        std::vector<std::string> escritos = ArquivosDaImagem(saida);
        if (FormatoProprio(FormatoDe(saida))) escritos.push_back(TrocaExtensao(escritos.back(), ".prj"));
        std::vector<std::string> lidos = ArquivosDaImagem(entrada);
        for (const std::string& a : ArquivosDaImagem(entrada))
            if (ArquivoExiste(TrocaExtensao(a, ".prj"))) lidos.push_back(TrocaExtensao(a, ".prj"));
        RecusaSaidaSobreEntradas({saida, "A imagem de saída ", escritos},
                                 {{entrada, "a imagem de entrada ", lidos}});
    }
    auto img = std::make_unique<TImagem>();
    img->SetProgresso(progresso);
    if (!img->LoadFromFile(entrada)) throw EVandoro("O arquivo " + entrada + " não existe.");
    if (!unidade.empty()) img->SetRefUnits(Minusculas(unidade));
    if (utm) {
        if (progresso) progresso->SetStatus("Reprojetando a imagem para SIRGAS 2000 / UTM ...");
        auto r = ReprojetaUtm(*img);
        r->SetProgresso(progresso);
        r->SaveToFile(saida);
        r->SetProgresso(nullptr);
        return r;
    }
    img->ExportAs(saida, CodigoFormato(FormatoDe(saida)));
    img->SetProgresso(nullptr);
    return img;
}

std::unique_ptr<TImagem> ReprojetaUtm(const TImagem& img, int* epsgUsado) {
    if (img.Columns() < 1 || img.Rows() < 1) throw EVandoro("A imagem não tem células para reprojetar.");
    // SRTM tiles and the national models derived from them come without a system: SIRGAS
    // 2000 and WGS 84 agree to centimetres.
    const std::string crs = img.Crs().empty() ? CrsDeEpsg(4674) : img.Crs();
    const TInfoCrs info = DescreveCrs(crs);
    if (!info.valido) throw EVandoro("O sistema de coordenadas da imagem não pôde ser lido.");
    const double w = img.CellWidth(), h = img.CellHeight();
    const double cx = (static_cast<double>(img.MinX()) + img.MaxX()) / 2;
    const double cy = (static_cast<double>(img.MinY()) + img.MaxY()) / 2;
    std::vector<double> lon{cx}, lat{cy};
    TransformaPontos(crs, CrsDeEpsg(4674), lon, lat);
    const int epsg = EpsgSirgasUtm(lon[0], lat[0]);
    const std::string utm = CrsDeEpsg(epsg);
    // Ground size of the centre cell.
    std::vector<double> x{cx, cx + w, cx}, y{cy, cy, cy + h};
    TransformaPontos(crs, utm, x, y);
    const double gw = std::hypot(x[1] - x[0], y[1] - y[0]), gh = std::hypot(x[2] - x[0], y[2] - y[0]);
    const double celula = std::max(1.0, std::round(std::sqrt(gw * gh)));

    TGradeGdal g = GradeGdalDe(img);
    g.crs = crs;
    TGradeGdal p = ReprojetaGrade(g, utm, celula);
    std::vector<float>().swap(g.celulas);

    auto out = std::make_unique<TImagem>();
    out->SetCellType(TTipoCelula::Real);
    out->SetColumns(p.colunas);
    out->SetRows(p.linhas);
    out->SetMinX(p.minX);
    out->SetMaxX(p.maxX);
    out->SetMinY(p.minY);
    out->SetMaxY(p.maxY);
    out->SetFlagValue(F32(p.semDado));
    out->SetCrs(utm);
    out->SetCompressed(img.Compressed());
    out->SetRefUnits("m");
    out->SetTitle(img.Title());
    out->SetFormatCode(TCodigoFormato::Gdal);
    out->Allocate();
    std::memcpy(out->RealCells(), p.celulas.data(), p.celulas.size() * sizeof(float));
    out->ComputeMinMax(false);
    if (epsgUsado) *epsgUsado = epsg;
    return out;
}

namespace {

[[noreturn]] void ImagemInvalida(const std::string& name) {
    throw EVandoro("Erro. O arquivo " + NomeSemCaminho(name) +
                   " não corresponde a um arquivo válido de imagem.");
}

// Clears the status however the operation ends.
struct LimpaStatus {
    TImagem& img;
    ~LimpaStatus() {
        try {
            img.SetStatus("");
        } catch (...) {
        }
    }
};
}  // namespace

void TImagem::ChecaCelulasFinitas(const std::string& arq, bool binario) const {
    if (cellType_ != TTipoCelula::Real) return;
    auto celula = [&](int c, int r) {
        return "Erro no arquivo " + arq + ": a célula da coluna " + IntToStr(c + 1) + ", linha " + IntToStr(r + 1);
    };
    const float* todas = CelulasInteiras();
    std::vector<float> row(todas ? 0 : static_cast<size_t>(std::max(columns_, 0)));
    for (int r = 0; r < rows_; ++r) {
        const float* v = todas ? todas + static_cast<size_t>(r) * columns_ : row.data();
        if (!todas) RawRow(r, row.data());
        // Only a row with a suspect cell is looked at cell by cell.
        bool suspeita = false;
        for (int c = 0; c < columns_; ++c) {
            const float a = std::fabs(v[c]);
            suspeita |= (a == std::numeric_limits<float>::infinity()) | (binario & (a < std::numeric_limits<float>::min()) & (a != 0.0f));
        }
        if (!suspeita) continue;
        for (int c = 0; c < columns_; ++c) {
            if (std::isinf(v[c]))
                throw EVandoro(celula(c, r) + " tem valor infinito (" + (v[c] > 0 ? "+" : "-") + "INF).");
            if (binario && std::fpclassify(v[c]) == FP_SUBNORMAL)
                throw EVandoro(celula(c, r) + " tem o valor " + FloatToStr(v[c]) +
                               ", próprio de células lidas na ordem de bytes errada (confira o byteorder).");
        }
    }
}

bool TImagem::LoadFromFile(const std::string& name) {
    if (!ArquivoExiste(name)) return false;
    const TFormatoImagem f = FormatoDe(name);
    if (f == TFormatoImagem::Idrisi32) throw ENaoImplementado("Ainda não implementado.");
    // Read first, so a file GDAL refuses leaves the image as it was.
    TGradeGdal gdal;
    if (!FormatoProprio(f)) gdal = LerRasterGdal(name);
    SetStatus("Carregando a imagem ...");
    LimpaStatus limpa{*this};
    flagValue_ = -99.0f;
    meanValue_ = -99.0;
    // Surfer grids carry neither: they must not keep those of the file loaded before.
    title_.clear();
    refUnits_.clear();
    crs_ = {};
    compressed_ = false;
    bandCount_ = 1;
    Reset();
    FreeStore();
    fileName_ = name;
    try {
        switch (f) {
            case TFormatoImagem::ArcViewAscii: ReadAsc(name); break;
            case TFormatoImagem::ArcViewBinario: ReadHdrFlt(name); break;
            case TFormatoImagem::Idrisi: ReadIdrisi(name); break;
            case TFormatoImagem::Surfer: ReadSurfer(name); break;
            default: ReadGdal(name, gdal); break;
        }
        // The cells of a pair format live in its data file: that is the one to name.
        ChecaCelulasFinitas(NomeSemCaminho(f == TFormatoImagem::ArcViewBinario ? Parceiro(name, "flt")
                                           : f == TFormatoImagem::Idrisi        ? Parceiro(name, "img")
                                                                                : name),
                            f == TFormatoImagem::ArcViewBinario || f == TFormatoImagem::Idrisi);
        if (FormatoProprio(f)) ReadPrj(name);
        unitDeclared_ = f == TFormatoImagem::Idrisi;
        // The unit the reader assumed would let a grid in degrees pass for metres.
        if (PareceGraus(*this)) refUnits_ = "graus";
    } catch (...) {
        // Never leave a header that does not match its cells.
        FreeStore();
        columns_ = rows_ = 0;
        validCount_ = -1;
        throw;
    }
    return true;
}

void ChecaFormatoGravavel(const std::string& nome) {
    const TFormatoImagem f = FormatoDe(nome);
    if (f == TFormatoImagem::Desconhecido) ImagemInvalida(nome);
    if (f == TFormatoImagem::Idrisi32) throw ENaoImplementado("Não implementado.");
}

void TImagem::SaveToFile(const std::string& name) {
    ChecaFormatoGravavel(name);
    const TFormatoImagem f = FormatoDe(name);
    SetStatus("Gravando a imagem no disco rígido ...");
    LimpaStatus limpa{*this};
    // Header, cells and .prj replace the old ones as one set: never a new .hdr beside an old
    // .flt, nor a new grid with the .prj of another.
    TConjuntoArquivos conjunto;
    conjunto.Membro(name, [&](const std::string& preparado) {
        switch (f) {
            case TFormatoImagem::ArcViewAscii:
            case TFormatoImagem::ArcViewBinario: WriteArcView(preparado); break;
            case TFormatoImagem::Idrisi: WriteIdrisi(preparado); break;
            case TFormatoImagem::GeoTiff: WriteGeoTiff(preparado); break;
            default: WriteSurfer(preparado); break;
        }
        if (f != TFormatoImagem::GeoTiff) WritePrj(name, preparado);
    });
    // A grid without a system must not inherit the .prj an older grid of that name left.
    if (f != TFormatoImagem::GeoTiff && crs_.PrjWkt1().empty() && crs_.Vazio())
        conjunto.Remover(TrocaExtensao(ArquivosDaImagem(name).back(), ".prj"));
    conjunto.Gravar();
    SegueArquivoNovo(name);
}

void TImagem::ExportAs(const std::string& name, TCodigoFormato code) {
    static const char* const origem[] = {"do ArcView", "do Idrisi 16 bits", "do Idrisi 32 bits",
                                         "do Surfer", "do GDAL"};
    static const char* const destino[] = {"ArcView.", "Idrisi 16 bits.", "Idrisi 32 bits.",
                                          "Surfer.", "GeoTIFF."};
    auto texto = [](const char* const* t, TCodigoFormato f) {
        const int c = static_cast<int>(f);
        return (c >= 0 && c <= 4) ? t[c] : "";
    };
    SetStatus(std::string("Exportando a imagem ") + texto(origem, formatCode_) + " para " +
              texto(destino, code));
    TImagem tmp;
    tmp.CopyHeaderFrom(*this);
    tmp.SetStorageMode(TModoArmazenamento::Memoria);
    tmp.formatCode_ = code;
    tmp.meanValue_ = meanValue_;
    tmp.SetProgresso(progresso_);
    if (!file_) {
        // Cells held in memory are lent to the copy and taken back however the save ends:
        // a large grid is not held twice.
        struct Devolve {
            TImagem& dono;
            TImagem& copia;
            ~Devolve() { dono.mem_.swap(copia.mem_); }
        } devolve{*this, tmp};
        tmp.mem_.swap(mem_);
        tmp.memBytes_ = memBytes_;
        tmp.SaveToFile(name);
        return;
    }
    std::vector<uint8_t> b = StoreBytes();
    tmp.ResizeMem(static_cast<long long>(b.size()));
    if (!b.empty()) std::memcpy(tmp.MemBytes(), b.data(), b.size());
    tmp.SaveToFile(name);
    SegueArquivoNovo(name);
}

// Written over its own data file (storage mode 1): the file was replaced whole, so the
// store leaves the old one it still holds open and follows the new file.
void TImagem::SegueArquivoNovo(const std::string& gravado) {
    if (!file_) return;
    for (const std::string& a : ArquivosDaImagem(gravado))
        if (MesmoArquivo(a, fileName_)) {
            OpenStore(fileName_);
            return;
        }
}

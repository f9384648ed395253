// ArcView grids: ASCII (.asc) and header + 32-bit float cells (.hdr + .flt).
#include "core/raster/Imagem.h"

#include <cstring>
#include <new>
#include <set>

#include "core/raster/FormatoComum.h"

using namespace raster_interno;

namespace {
// No-data value of an ArcView ASCII grid whose header has no NODATA_value line.
constexpr double kSemDadoAsc = -9999;
}  // namespace


// The six keywords are taken by name, in any order and case, each once. NODATA_value may be
// missing: an ".asc" then has the format's default -9999, an ".hdr" no no-data value. In an
// ".asc" the header ends at the first line that starts with a number; in an ".hdr" every
// line is a key and unknown keys are skipped. An ".hdr" may also be in the form GDAL writes
// (EHdr: ULXMAP/ULYMAP at the upper-left cell's centre, XDIM/YDIM), as long as it describes
// one band of 32-bit reals, row after row.
void TImagem::ReadArcViewHeader(const std::string& text, size_t& pos, bool hdr,
                                const std::string& arq) {
    bool temCols = false, temRows = false, temX = false, temY = false, temS = false;
    bool xCentro = false, yCentro = false, temDx = false, temDy = false, temUlx = false, temUly = false;
    double cols = 0, rows = 0, x = 0, y = 0, s = 0, dx = 0, dy = 0, ulx = 0, uly = 0, bytesLinha = -1;
    double flag = hdr ? std::numeric_limits<double>::quiet_NaN() : kSemDadoAsc;
    msbFirst_ = false;
    std::set<std::string> vistas;
    for (int linhas = 0; pos < text.size(); ++linhas) {
        size_t fim = text.find('\n', pos);
        if (fim == std::string::npos) fim = text.size();
        std::string linha = Trim(std::string_view(text).substr(pos, fim - pos));
        if (linha.empty()) {
            pos = std::min(text.size(), fim + 1);
            continue;
        }
        char c0 = linha[0];
        bool numero = (c0 >= '0' && c0 <= '9') || c0 == '-' || c0 == '+' || c0 == '.';
        if (!hdr && numero) break;
        if (linhas > 200)
            throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": cabeçalho longo demais.");
        size_t sp = linha.find_first_of(" \t");
        std::string chave = Minusculas(linha.substr(0, sp));
        std::string valor = sp == std::string::npos ? std::string() : Trim(linha.substr(sp));
        pos = std::min(text.size(), fim + 1);
        // A repeated key would silently win over the first one and shift the cells.
        std::string unica = chave == "xllcenter" ? "xllcorner" : chave == "yllcenter" ? "yllcorner"
                          : chave == "nodata" ? "nodata_value" : chave;
        static const std::set<std::string> kConhecidas = {"ncols", "nrows", "xllcorner", "yllcorner",
            "cellsize", "dx", "dy", "nodata_value", "byteorder", "nbits", "ulxmap", "ulymap", "xdim", "ydim",
            "nbands", "pixeltype", "skipbytes", "bandrowbytes", "totalrowbytes"};
        if (kConhecidas.count(unica) && !vistas.insert(unica).second)
            throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": a chave " +
                           Win1252ToUtf8(chave.substr(0, 40)) + " aparece mais de uma vez.");
        auto numeroDe = [&](const std::string& k) {
            double v;
            try {
                v = TextToReal(valor);
            } catch (const EVandoro&) {
                throw EConversao("Erro no cabeçalho do arquivo " + arq + ": valor inválido '" +
                                 Win1252ToUtf8(valor.substr(0, 40)) + "' para " + k + ".");
            }
            if (!std::isfinite(v))
                throw EConversao("Erro no cabeçalho do arquivo " + arq + ": valor inválido '" +
                                 Win1252ToUtf8(valor.substr(0, 40)) + "' para " + k + ".");
            return v;
        };
        if (chave == "ncols") { cols = numeroDe("ncols"); temCols = true; }
        else if (chave == "nrows") { rows = numeroDe("nrows"); temRows = true; }
        else if (chave == "xllcorner" || chave == "xllcenter") {
            x = numeroDe(chave); temX = true; xCentro = chave == "xllcenter";
        } else if (chave == "yllcorner" || chave == "yllcenter") {
            y = numeroDe(chave); temY = true; yCentro = chave == "yllcenter";
        } else if (chave == "cellsize") { s = numeroDe("cellsize"); temS = true; }
        else if (chave == "dx") { dx = numeroDe("dx"); temDx = true; }
        else if (chave == "dy") { dy = numeroDe("dy"); temDy = true; }
        else if (chave == "nodata_value" || chave == "nodata") flag = numeroDe("NODATA_value");
        else if (chave == "byteorder") {
            std::string v = Maiusculas(valor);
            if (v == "MSBFIRST" || v == "M") msbFirst_ = true;
            else if (v != "LSBFIRST" && v != "I" && v != "L")
                throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": ordem de bytes '" +
                               Win1252ToUtf8(valor.substr(0, 40)) + "' desconhecida (use LSBFIRST ou MSBFIRST).");
        } else if (chave == "nbits") {
            if (numeroDe("nbits") != 32)
                throw EVandoro("Erro no cabeçalho do arquivo " + arq +
                               ": só são aceitas células de 32 bits (nbits " + valor + ").");
        } else if (hdr && chave == "ulxmap") {
            ulx = numeroDe("ULXMAP");
            temUlx = true;
        } else if (hdr && chave == "ulymap") {
            uly = numeroDe("ULYMAP");
            temUly = true;
        } else if (hdr && chave == "xdim") {
            dx = numeroDe("XDIM");
            temDx = true;
        } else if (hdr && chave == "ydim") {
            dy = numeroDe("YDIM");
            temDy = true;
        } else if (hdr && chave == "nbands") {
            if (numeroDe("NBANDS") != 1)
                throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": só são aceitas grades de uma banda (nbands " +
                               Win1252ToUtf8(valor.substr(0, 40)) + ").");
        } else if (hdr && chave == "pixeltype") {
            if (Maiusculas(valor) != "FLOAT")
                throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": só são aceitas células reais (pixeltype " +
                               Win1252ToUtf8(valor.substr(0, 40)) + ").");
        } else if (hdr && chave == "skipbytes") {
            if (numeroDe("SKIPBYTES") != 0)
                throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": o arquivo de células deve começar pela "
                               "primeira célula (skipbytes " + Win1252ToUtf8(valor.substr(0, 40)) + ").");
        } else if (hdr && (chave == "bandrowbytes" || chave == "totalrowbytes")) {
            const double b = numeroDe(chave == "bandrowbytes" ? "BANDROWBYTES" : "TOTALROWBYTES");
            if (bytesLinha >= 0 && b != bytesLinha)
                throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": BANDROWBYTES e TOTALROWBYTES diferem.");
            bytesLinha = b;
        } else if (!hdr) {
            throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": chave desconhecida '" +
                           Win1252ToUtf8(chave.substr(0, 40)) + "'.");
        }
    }
    if (temS && !temDx) dx = s;
    if (temS && !temDy) dy = s;
    // GDAL's form: the upper-left cell's centre; the grid's edges lie half a cell out.
    if (temUlx && !temX) {
        x = ulx - dx / 2;
        temX = true;
    }
    if (temUly && !temY) {
        y = uly + dy / 2 - rows * dy;
        temY = true;
    }
    if (bytesLinha >= 0 && bytesLinha != cols * 4)
        throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": cada linha deve ter as " + IntToStr((long long)cols) +
                       " células de 4 bytes, sem nada entre elas (rowbytes " + IntToStr((long long)bytesLinha) + ").");
    const char* falta = !temCols ? "ncols" : !temRows ? "nrows" : !temX ? "xllcorner" :
                        !temY ? "yllcorner" : (!temS && !(temDx && temDy)) ? "cellsize" : nullptr;
    if (falta)
        throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": falta a chave " + falta + ".");
    if (!(dx > 0) || !(dy > 0))
        throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": tamanho de célula inválido.");
    columns_ = TamanhoGrade(cols, "ncols", arq);
    rows_ = TamanhoGrade(rows, "nrows", arq);
    minX_ = x;
    minY_ = y;
    flagValue_ = F32(flag);
    SetCellType(TTipoCelula::Real);
    // A cell-centre reference moves the edges down by half a cell.
    if (xCentro) minX_ -= dx / 2;
    if (yCentro) minY_ -= dy / 2;
    maxX_ = columns_ * dx + minX_;
    maxY_ = rows_ * dy + minY_;
    ChecaLimites(minX_, maxX_, minY_, maxY_, arq);
    ResetRanges();
    title_ = "Arquivo importado do ArcView - " + NomeSemCaminho(fileName_);
    refUnits_ = "m";
    formatCode_ = TCodigoFormato::ArcView;
}

void TImagem::ReadAsc(const std::string& name) {
    std::string arq = NomeSemCaminho(name);
    std::string text = LerArquivoInteiro(name);
    ChecaTextoLegivel(text, arq);
    size_t pos = 0;
    ReadArcViewHeader(text, pos, false, arq);
    storageMode_ = TModoArmazenamento::Memoria;
    FreeStore();
    long long total = (long long)columns_ * rows_;
    ChecaTexto(total, text.size() - pos, arq, columns_, rows_);
    ChecaCelulas(columns_, rows_);
    ResizeMem(total * 4);
    float* cel = mem_.data();
    Leitor le(text, pos, arq);
    if (progresso_) progresso_->SetMax(rows_);
    long long lidos = 0, validos = 0;
    float mn = minR_, mx = maxR_;
    const float flag = flagValue_;
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < columns_; ++c) {
            double d;
            if (!le.Proximo(d)) FimInesperado(arq, total, lidos);
            float v = F32(d);
            cel[lidos++] = v;
            if (v != flag) {
                ++validos;
                if (v < mn) mn = v;
                if (v > mx) mx = v;
            }
        }
        le.PulaLinha();
        Progress(r + 1);
    }
    ChecaSobra(le, arq, total);
    minR_ = mn;
    maxR_ = mx;
    CountValid();
}

void TImagem::ReadHdrFlt(const std::string& name) {
    std::string hdr = Parceiro(name, "hdr");
    std::string flt = Parceiro(name, "flt");
    if (std::error_code ec; !fs::exists(hdr, ec)) throw EVandoro("O arquivo " + NomeSemCaminho(hdr) + " não existe.");
    if (std::error_code ec; !fs::exists(flt, ec)) throw EVandoro("O arquivo " + NomeSemCaminho(flt) + " não existe.");
    std::string text = LerArquivoInteiro(hdr);
    ChecaTextoLegivel(text, NomeSemCaminho(hdr));
    size_t pos = 0;
    ReadArcViewHeader(text, pos, true, NomeSemCaminho(hdr));
    CheckSize(TamanhoArquivo(flt), flt);
    ChecaCelulas(columns_, rows_);
    bool msb = msbFirst_;
    OpenStore(flt);
    if (msb) {
        if (!file_) SwapCells(MemBytes(), memBytes_, 4);
        else msbFirst_ = true;
    }
    ComputeMinMax(false);
}

std::string TImagem::ArcViewHeader(bool hdr) const {
    std::string s;
    s += "ncols         " + IntToStr(columns_) + kCRLF;
    s += "nrows         " + IntToStr(rows_) + kCRLF;
    s += "xllcorner     " + FormatR(minX_) + kCRLF;
    s += "yllcorner     " + FormatR(minY_) + kCRLF;
    double dx = columns_ > 0 ? (static_cast<double>(maxX_) - minX_) / columns_ : 0.0;
    double dy = rows_ > 0 ? (static_cast<double>(maxY_) - minY_) / rows_ : 0.0;
    // Non-square cells would lose the north edge with a single cell size; they get the
    // dx/dy pair that the reader (and GDAL) accept.
    if (std::fabs(dx - dy) <= 1e-6 * std::max(std::fabs(dx), std::fabs(dy))) {
        s += "cellsize      " + FormatR(dx) + kCRLF;
    } else {
        s += "dx            " + FormatR(dx) + kCRLF;
        s += "dy            " + FormatR(dy) + kCRLF;
    }
    if (!std::isnan(flagValue_)) s += "NODATA_value  " + FormatR(flagValue_) + kCRLF;
    if (hdr) s += std::string("byteorder     LSBFIRST") + kCRLF;
    return s;
}

void TImagem::WriteArcView(const std::string& name) {
    std::vector<float> row(static_cast<size_t>(std::max(columns_, 0)));
    if (Ext3(name) == "ASC") {
        std::string s = ArcViewHeader(false);
        const Regional ponto = PontoDecimal();
        s.reserve(s.size() + static_cast<size_t>((long long)columns_ * rows_ * 8));
        char buf[32];
        for (int r = 0; r < rows_; ++r) {
            ReadRow(r, row.data());
            for (float v : row) {
                if (cellType_ == TTipoCelula::Real) {
                    s += ComPonto(FloatToStrG(v, 15, ponto));
                } else {
                    auto res = std::to_chars(buf, buf + sizeof buf, static_cast<long>(v));
                    s.append(buf, res.ptr);
                }
                s += '\t';
            }
            s += '\n';
            Progress(r + 1);
        }
        GravarArquivoInteiro(name, s, ErroAoGravar(name));
    } else {
        std::string hdr = Parceiro(name, "hdr");
        std::string flt = Parceiro(name, "flt");
        const long long bytes = (long long)columns_ * rows_ * 4;
        // Real cells held in memory are already the file's bytes: no second copy of the grid.
        if (!file_ && cellType_ == TTipoCelula::Real && memBytes_ >= bytes) {
            GravaPar(hdr, ArcViewHeader(true), flt,
                     std::string_view(reinterpret_cast<const char*>(MemBytes()), static_cast<size_t>(bytes)));
        } else {
            std::string dados;
            dados.resize(static_cast<size_t>(bytes));
            for (int r = 0; r < rows_; ++r) {
                RawRow(r, row.data());
                std::memcpy(dados.data() + (size_t)r * columns_ * 4, row.data(), (size_t)columns_ * 4);
            }
            GravaPar(hdr, ArcViewHeader(true), flt, dados);
        }
    }
    formatCode_ = TCodigoFormato::ArcView;
}

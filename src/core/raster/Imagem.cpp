// The grid itself: cell store (memory or file), typed cell access, header and statistics.
// The file formats are in the Formato*.cpp units.
#include "core/raster/Imagem.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include "core/raster/FormatoComum.h"
#include "core/raster/Vetoriza.h"

using namespace raster_interno;

// ---------------------------------------------------------------------------------------
// Construction and store

TImagem::TImagem() : TImagem(TModoArmazenamento::Memoria) {}

TImagem::TImagem(TModoArmazenamento storageMode) {
    Reset();
    SetStorageMode(storageMode);
}

TImagem::TImagem(const std::string& fileName) {
    Reset();
    SetStorageMode(TModoArmazenamento::Memoria);
    fileName_ = fileName;
    if (ArquivoExiste(fileName)) LoadFromFile(fileName);
}

TImagem::~TImagem() {
    try {
        FreeStore();
    } catch (...) {
    }
}

TTipoCelula TipoCelulaDeLetra(char letra) {
    switch (std::toupper(static_cast<unsigned char>(letra))) {
        case 'B': return TTipoCelula::Byte;
        case 'I': return TTipoCelula::Inteiro;
        case 'R': return TTipoCelula::Real;
        default:
            throw EVandoro(std::string("Erro durante a definição do tipo do arquivo raster: real, "
                                       "inteiro ou byte.\nTentativa de atribuir novo tipo: ") +
                           letra);
    }
}

void TImagem::SetCellType(TTipoCelula tipo) {
    switch (tipo) {
        case TTipoCelula::Byte: cellSize_ = 1; break;
        case TTipoCelula::Inteiro: cellSize_ = 2; break;
        case TTipoCelula::Real: cellSize_ = 4; break;
    }
    cellType_ = tipo;
}

void TImagem::Reset() {
    validCount_ = -1;
    if (!file_) ResizeMem(0);
}

void TImagem::ResizeMem(long long bytes) {
    try {
        // No 2 MB pages here: on a virtual machine, commands that read a grid file this way
        // and then wrote their result often stalled for up to a second with them, never without.
        const size_t n = static_cast<size_t>((bytes + 3) / 4);
        mem_.resize(n);
        if (bytes == 0) mem_.shrink_to_fit();
    } catch (const std::bad_alloc&) {
        GrandeDemais(columns_, rows_);
    }
    memBytes_ = bytes;
}

void TImagem::FreeStore() {
    if (file_) {
        file_->close();
        file_.reset();
    }
    somenteLeitura_ = false;
    fileSize_ = 0;
    msbFirst_ = false;
    ResizeMem(0);
}

void TImagem::SetStorageMode(TModoArmazenamento mode) {
    storageMode_ = mode;
    OpenStore(fileName_);
}

void TImagem::OpenStore(const std::string& name) {
    SetStatus("Criando a stream ...");
    FreeStore();
    fileName_ = name;
    if (storageMode_ == TModoArmazenamento::Memoria) {
        if (ArquivoExiste(name))
            LerArquivoInteiro(
                name,
                [this](long long n) {
                    ResizeMem(n);
                    return reinterpret_cast<char*>(MemBytes());
                },
                std::numeric_limits<long long>::max());
    } else if (!name.empty()) {
        auto f = std::make_unique<std::fstream>();
        if (ArquivoExiste(name)) {
            f->open(name, std::ios::in | std::ios::out | std::ios::binary);
            // A grid the user may only read is still shown; a write to it fails then, naming it.
            if (!f->is_open()) {
                f->open(name, std::ios::in | std::ios::binary);
                somenteLeitura_ = f->is_open();
            }
        } else {
            f->open(name, std::ios::out | std::ios::binary);
            if (f->is_open()) {
                f->close();
                f->open(name, std::ios::in | std::ios::out | std::ios::binary);
            }
        }
        if (!f->is_open()) throw EVandoro("Erro ao tentar criar o arquivo " + NomeSemCaminho(name));
        fileSize_ = std::max(0LL, TamanhoArquivo(name));
        file_ = std::move(f);
    }
    SetStatus("");
}

long long TImagem::StoreSize() const { return file_ ? fileSize_ : memBytes_; }

void TImagem::ReadAt(long long offset, void* dst, long long n) const {
    auto* d = static_cast<uint8_t*>(dst);
    long long size = StoreSize();
    long long disponivel = (offset < 0 || offset >= size) ? 0 : std::min(n, size - offset);
    if (disponivel < n) std::memset(d + std::max(0LL, disponivel), 0, static_cast<size_t>(n - std::max(0LL, disponivel)));
    if (disponivel <= 0) return;
    if (!file_) {
        std::memcpy(d, MemBytes() + offset, static_cast<size_t>(disponivel));
        return;
    }
    file_->clear();
    file_->seekg(offset);
    file_->read(reinterpret_cast<char*>(d), disponivel);
    if (!*file_) {
        file_->clear();
        throw EVandoro("Erro de leitura no arquivo " + NomeSemCaminho(fileName_) + ".");
    }
    if (msbFirst_) SwapCells(d, disponivel, cellSize_);
}

void TImagem::WriteAt(long long offset, const void* src, long long n) {
    if (offset < 0 || n <= 0) return;
    if (!file_) {
        if (offset + n > memBytes_) {
            if ((offset + n) / cellSize_ > kMaxCelulasImagem) GrandeDemais(columns_, rows_);
            // Grow geometrically so a sequential fill stays linear.
            long long alvo = offset + n;
            if (alvo > static_cast<long long>(mem_.capacity()) * 4) {
                try {
                    mem_.reserve(static_cast<size_t>(std::max<long long>((alvo + 3) / 4, mem_.capacity() * 2)));
                } catch (const std::bad_alloc&) {
                    GrandeDemais(columns_, rows_);
                }
            }
            ResizeMem(alvo);
        }
        std::memcpy(MemBytes() + offset, src, static_cast<size_t>(n));
        return;
    }
    if (somenteLeitura_)
        throw EFalhaGravacao(ComCausa("Erro ao gravar o arquivo " + NomeSemCaminho(fileName_) + ".", "sem permissão"),
                             EACCES);
    std::vector<uint8_t> tmp;
    const char* p = static_cast<const char*>(src);
    if (msbFirst_) {
        tmp.assign(static_cast<const uint8_t*>(src), static_cast<const uint8_t*>(src) + n);
        SwapCells(tmp.data(), n, cellSize_);
        p = reinterpret_cast<const char*>(tmp.data());
    }
    file_->clear();
    file_->seekp(offset);
    file_->write(p, n);
    file_->flush();
    if (!*file_) {
        const int erro = errno;
        file_->clear();
        throw EFalhaGravacao(ComCausa("Erro ao gravar o arquivo " + NomeSemCaminho(fileName_) + ".",
                                      CausaFalhaGravacao(fileName_, erro)),
                             erro);
    }
    fileSize_ = std::max(fileSize_, offset + n);
}

std::vector<uint8_t> TImagem::StoreBytes() const {
    std::vector<uint8_t> b;
    long long n = StoreSize();
    try {
        b.resize(static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
        GrandeDemais(columns_, rows_);
    }
    if (n > 0) ReadAt(0, b.data(), n);
    return b;
}

void TImagem::Allocate() {
    ChecaCelulas(columns_, rows_);
    long long bytes = (long long)columns_ * rows_ * cellSize_;
    if (!file_) {
        if (memBytes_ != bytes) ResizeMem(bytes);
    } else if (fileSize_ < bytes) {
        std::vector<uint8_t> zeros(static_cast<size_t>(std::min<long long>(bytes - fileSize_, 1 << 20)));
        while (fileSize_ < bytes) {
            long long n = std::min<long long>(bytes - fileSize_, static_cast<long long>(zeros.size()));
            WriteAt(fileSize_, zeros.data(), n);
        }
    }
}

float* TImagem::RealCells() {
    return (!file_ && cellType_ == TTipoCelula::Real) ? mem_.data() : nullptr;
}

const float* TImagem::RealCells() const {
    return (!file_ && cellType_ == TTipoCelula::Real) ? mem_.data() : nullptr;
}

const float* TImagem::CelulasInteiras() const {
    return memBytes_ >= static_cast<long long>(columns_) * rows_ * 4 ? RealCells() : nullptr;
}

void TImagem::CheckSize(long long bytesAvailable, const std::string& name) const {
    // Each size is below 2^31, so the product fits in 64 bits unsigned.
    unsigned long long precisa = static_cast<unsigned long long>(columns_) *
                                 static_cast<unsigned long long>(rows_) * cellSize_;
    // No size at all: a folder under the data file's name, or no file there.
    if (bytesAvailable < 0) {
        std::error_code ec;
        throw EVandoro("Erro no arquivo " + NomeSemCaminho(name) +
                       (std::filesystem::is_directory(name, ec) ? ": é uma pasta, não um arquivo de dados."
                                                                : ": o arquivo não existe ou não pode ser lido."));
    }
    // More bytes than the header declares mean a header that does not belong to these cells.
    if (static_cast<unsigned long long>(bytesAvailable) != precisa)
        throw EVandoro("Erro no arquivo " + NomeSemCaminho(name) + ": o arquivo tem " +
                       IntToStr(std::max(0LL, bytesAvailable)) + " bytes, mas a grade de " +
                       Tamanho(columns_, rows_) + " precisa de " + std::to_string(precisa) +
                       " bytes.");
}

// ---------------------------------------------------------------------------------------
// Cells

uint8_t TImagem::GetByte(long long index) const {
    if (cellType_ == TTipoCelula::Byte) {
        uint8_t v = 0;
        if (!file_) {
            if (index >= 0 && index < memBytes_) v = MemBytes()[index];
        } else {
            ReadAt(index, &v, 1);
        }
        return v;
    }
    return ToByte(GetValue(index));
}

void TImagem::SetByte(long long index, uint8_t v) {
    if (cellType_ == TTipoCelula::Byte) WriteAt(index, &v, 1);
    else if (cellType_ == TTipoCelula::Inteiro) SetInt(index, static_cast<int16_t>(v));
    else SetReal(index, static_cast<float>(v));
}

int16_t TImagem::GetInt(long long index) const {
    if (cellType_ == TTipoCelula::Inteiro) {
        int16_t v = 0;
        ReadAt(index * 2, &v, 2);
        return v;
    }
    return ToInt16(GetValue(index));
}

void TImagem::SetInt(long long index, int16_t v) {
    if (cellType_ == TTipoCelula::Inteiro) WriteAt(index * 2, &v, 2);
    else if (cellType_ == TTipoCelula::Byte) SetByte(index, ToByte(v));
    else SetReal(index, static_cast<float>(v));
}

void TImagem::SetInt(TCelula c, int16_t v) {
    SetInt(Index(c), v);
    if (v != 0 && progresso_) progresso_->ProcessEvents();
}

float TImagem::GetRealRaw(long long index) const {
    if (cellType_ == TTipoCelula::Real) {
        float v = 0;
        if (!file_ && index >= 0 && (index + 1) * 4 <= memBytes_) return mem_[static_cast<size_t>(index)];
        ReadAt(index * 4, &v, 4);
        return v;
    }
    return static_cast<float>(GetValue(index));
}

float TImagem::GetReal(long long index) const {
    float v = GetRealRaw(index);
    return std::isnan(v) ? 0.0f : v;
}

void TImagem::SetReal(long long index, float v) {
    if (cellType_ == TTipoCelula::Real) {
        if (!file_ && index >= 0 && (index + 1) * 4 <= memBytes_) {
            mem_[static_cast<size_t>(index)] = v;
            return;
        }
        WriteAt(index * 4, &v, 4);
    } else if (cellType_ == TTipoCelula::Inteiro) {
        SetInt(index, ToInt16(v));
    } else {
        SetByte(index, ToByte(v));
    }
}

double TImagem::GetValue(long long index) const {
    switch (cellType_) {
        case TTipoCelula::Byte: {
            uint8_t v = 0;
            ReadAt(index, &v, 1);
            return v;
        }
        case TTipoCelula::Inteiro: {
            int16_t v = 0;
            ReadAt(index * 2, &v, 2);
            return v;
        }
        default: {
            float v = 0;
            ReadAt(index * 4, &v, 4);
            return v;
        }
    }
}

namespace {
// Range and count of the cells of a row other than 'flag', a NaN cell taken as 0 (as ReadRow
// gives it), so the cells held in memory are read in place. Eight running ranges, one per
// lane, so that the loop becomes vector code without giving up NaN handling.
VANDORO_VETORIZA void FaixaLinha(const float* v, long long n, float flag, float& mn, float& mx, long long& conta) {
    constexpr int kL = 8;
    float a[kL], b[kL];
    int32_t k[kL] = {};
    for (int j = 0; j < kL; ++j) {
        a[j] = mn;
        b[j] = mx;
    }
    const auto passo = [flag](float c, float& lo, float& hi, int32_t& q) {
        const float x = c != c ? 0.0f : c;
        const bool ok = x != flag;
        const float l = x < lo ? x : lo;
        const float h = x > hi ? x : hi;
        lo = ok ? l : lo;
        hi = ok ? h : hi;
        q += ok;
    };
    long long i = 0;
    for (; i + kL <= n; i += kL)
        for (int j = 0; j < kL; ++j) passo(v[i + j], a[j], b[j], k[j]);
    for (; i < n; ++i) passo(v[i], a[0], b[0], k[0]);
    long long total = 0;
    for (int j = 0; j < kL; ++j) {
        mn = a[j] < mn ? a[j] : mn;
        mx = b[j] > mx ? b[j] : mx;
        total += k[j];
    }
    conta += total;
}

VANDORO_VETORIZA void NaNZero(float* v, long long n) {
    for (long long i = 0; i < n; ++i) v[i] = v[i] != v[i] ? 0.0f : v[i];
}
}  // namespace

void TImagem::RawRow(int row, float* buf) const {
    long long n = columns_;
    if (n <= 0) return;
    long long off = (long long)row * n * cellSize_;
    if (cellType_ == TTipoCelula::Real) {
        ReadAt(off, buf, n * 4);
        return;
    }
    std::vector<uint8_t> b(static_cast<size_t>(n * cellSize_));
    ReadAt(off, b.data(), n * cellSize_);
    if (cellType_ == TTipoCelula::Byte) {
        for (long long i = 0; i < n; ++i) buf[i] = b[static_cast<size_t>(i)];
    } else {
        for (long long i = 0; i < n; ++i) {
            int16_t v;
            std::memcpy(&v, b.data() + i * 2, 2);
            buf[i] = v;
        }
    }
}

void TImagem::ReadRow(int row, float* buf) const {
    RawRow(row, buf);
    if (cellType_ == TTipoCelula::Real) NaNZero(buf, columns_);
}

void TImagem::WriteRow(int row, const float* buf) {
    long long n = columns_;
    if (n <= 0) return;
    long long off = (long long)row * n * cellSize_;
    if (cellType_ == TTipoCelula::Real) {
        WriteAt(off, buf, n * 4);
        return;
    }
    std::vector<uint8_t> b(static_cast<size_t>(n * cellSize_));
    for (long long i = 0; i < n; ++i) {
        if (cellType_ == TTipoCelula::Byte) {
            b[static_cast<size_t>(i)] = ToByte(buf[i]);
        } else {
            int16_t v = ToInt16(buf[i]);
            std::memcpy(b.data() + i * 2, &v, 2);
        }
    }
    WriteAt(off, b.data(), n * cellSize_);
}

void TImagem::FillWithFlag() {
    Allocate();
    std::vector<float> row(static_cast<size_t>(std::max(columns_, 0)), flagValue_);
    for (int r = 0; r < rows_; ++r) WriteRow(r, row.data());
}

// ---------------------------------------------------------------------------------------
// Header and statistics

void TImagem::SetStatus(const std::string& text) {
    status_ = text;
    if (progresso_) {
        progresso_->SetStatus(text);
        progresso_->ProcessEvents();
    }
}

void TImagem::Progress(int pos) {
    if (progresso_) {
        progresso_->SetPosition(pos);
        progresso_->ProcessEvents();
    }
}

void TImagem::SetTitle(const std::string& t) { title_ = t.substr(0, 255); }
void TImagem::SetRefUnits(const std::string& u) {
    refUnits_ = u.substr(0, 255);
    unitDeclared_ = true;
}

double TImagem::MinValue() const {
    return cellType_ == TTipoCelula::Byte ? minB_ : cellType_ == TTipoCelula::Inteiro ? minI_ : static_cast<double>(minR_);
}

double TImagem::MaxValue() const {
    return cellType_ == TTipoCelula::Byte ? maxB_ : cellType_ == TTipoCelula::Inteiro ? maxI_ : static_cast<double>(maxR_);
}

void TImagem::ResetRanges() {
    minR_ = 1.0e10f;
    maxR_ = -1.0e10f;
    minI_ = 32767;
    maxI_ = -32768;
    minB_ = 255;
    maxB_ = 0;
}

bool TImagem::TakeRealCells(TImagem& other) {
    if (file_ || cellType_ != TTipoCelula::Real || columns_ != other.columns_ || rows_ != other.rows_) return false;
    std::vector<float> c = other.GiveRealCells();
    if (c.empty()) return false;
    mem_ = std::move(c);
    memBytes_ = static_cast<long long>(columns_) * rows_ * 4;
    return true;
}

std::vector<float> TImagem::GiveRealCells() {
    std::vector<float> c;
    if (file_ || cellType_ != TTipoCelula::Real || memBytes_ != static_cast<long long>(columns_) * rows_ * 4) return c;
    c.swap(mem_);
    memBytes_ = 0;
    validCount_ = -1;
    return c;
}

void TImagem::CopyHeaderFrom(const TImagem& other) {
    flagValue_ = other.flagValue_;
    columns_ = other.columns_;
    rows_ = other.rows_;
    minX_ = other.minX_;
    maxX_ = other.maxX_;
    minY_ = other.minY_;
    maxY_ = other.maxY_;
    title_ = other.title_;
    refUnits_ = other.refUnits_;
    crs_ = other.crs_;
    compressed_ = other.compressed_;
    bandCount_ = other.bandCount_;
    unitDeclared_ = other.unitDeclared_;
    SetStorageMode(other.storageMode_);
    formatCode_ = other.formatCode_;
    SetCellType(other.cellType_);
    validCount_ = other.validCount_;
    switch (cellType_) {
        case TTipoCelula::Byte: minB_ = other.minB_; maxB_ = other.maxB_; break;
        case TTipoCelula::Inteiro: minI_ = other.minI_; maxI_ = other.maxI_; break;
        default: minR_ = other.minR_; maxR_ = other.maxR_; break;
    }
}


void TImagem::CountValid() {
    validCount_ = 0;
    const float* todas = CelulasInteiras();
    std::vector<float> row(todas ? 0 : static_cast<size_t>(std::max(columns_, 0)));
    long long n = 0;
    float mn = 0, mx = 0;
    for (int r = 0; r < rows_; ++r) {
        const float* v = todas ? todas + static_cast<size_t>(r) * columns_ : row.data();
        if (!todas) ReadRow(r, row.data());
        FaixaLinha(v, columns_, flagValue_, mn, mx, n);
    }
    validCount_ = n;
}

void TImagem::AjustaFaixaAsCelulas() {
    validCount_ = 0;
    std::vector<float> row(static_cast<size_t>(std::max(columns_, 0)));
    long long n = 0;
    float mn = std::numeric_limits<float>::infinity(), mx = -mn;
    for (int r = 0; r < rows_; ++r) {
        ReadRow(r, row.data());
        for (float v : row) {
            if (IsFlag(v)) continue;
            ++n;
            if (v < mn) mn = v;
            if (v > mx) mx = v;
        }
    }
    validCount_ = n;
    if (n > 0 && (mn < MinValue() || mx > MaxValue())) {
        switch (cellType_) {
            case TTipoCelula::Byte: minB_ = ToByte(mn); maxB_ = ToByte(mx); break;
            case TTipoCelula::Inteiro: minI_ = ToInt16(mn); maxI_ = ToInt16(mx); break;
            default: minR_ = mn; maxR_ = mx; break;
        }
    }
}

bool TImagem::FlagCabeNoTipo() const {
    const double f = flagValue_;
    if (!std::isfinite(f)) return false;
    if (cellType_ == TTipoCelula::Real) return true;
    if (f != std::nearbyint(f)) return false;
    return cellType_ == TTipoCelula::Byte ? (f >= 0 && f <= 255) : (f >= -32768 && f <= 32767);
}

double TImagem::CellWidth() const {
    return columns_ > 0 ? (static_cast<double>(maxX_) - minX_) / columns_ : 0.0;
}

double TImagem::CellHeight() const {
    return rows_ > 0 ? (static_cast<double>(maxY_) - minY_) / rows_ : 0.0;
}

void TImagem::ComputeMinMax(bool withMean) {
    ResetRanges();
    const float* todas = CelulasInteiras();
    std::vector<float> row(todas ? 0 : static_cast<size_t>(std::max(columns_, 0)));
    if (progresso_) progresso_->SetMax(rows_);
    float mn = std::numeric_limits<float>::infinity(), mx = -mn;
    long long validas = 0;
    for (int r = 0; r < rows_; ++r) {
        const float* v = todas ? todas + static_cast<size_t>(r) * columns_ : row.data();
        if (!todas) ReadRow(r, row.data());
        FaixaLinha(v, columns_, flagValue_, mn, mx, validas);
        Progress(r + 1);
    }
    // The count comes with the range: no second pass for it.
    validCount_ = validas;
    const bool algum = validas > 0;
    if (algum) {
        switch (cellType_) {
            case TTipoCelula::Byte: minB_ = ToByte(mn); maxB_ = ToByte(mx); break;
            case TTipoCelula::Inteiro: minI_ = ToInt16(mn); maxI_ = ToInt16(mx); break;
            default: minR_ = mn; maxR_ = mx; break;
        }
    }
    if (withMean) meanValue_ = ComputeMean();
}

double TImagem::ComputeMean() {
    SetStatus("Calculando valor médio dos valores da imagem");
    if (progresso_) progresso_->SetMax(rows_);
    if (validCount_ == -1) CountValid();
    std::vector<float> row(static_cast<size_t>(std::max(columns_, 0)));
    double soma = 0;
    for (int r = 0; r < rows_; ++r) {
        ReadRow(r, row.data());
        for (float v : row)
            if (!IsFlag(v)) soma += v;
        Progress(r + 1);
    }
    meanValue_ = validCount_ > 0 ? soma / static_cast<double>(validCount_) : 0.0;
    return meanValue_;
}

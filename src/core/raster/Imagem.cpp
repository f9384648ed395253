#include "raster/Imagem.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <new>

#include "common/Arquivo.h"
#include "common/Numeros.h"
#include "common/Win1252.h"

namespace fs = std::filesystem;

namespace {

const char* const kCRLF = "\r\n";

std::string Upper(std::string s) {
    for (auto& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

std::string Lower(std::string s) {
    for (auto& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

std::string Trim(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r' || s[a] == '\n')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r' || s[b - 1] == '\n')) --b;
    return std::string(s.substr(a, b - a));
}

std::string Ext3(const std::string& name) {
    return Upper(name.size() >= 3 ? name.substr(name.size() - 3) : name);
}

bool Exists(const std::string& name) {
    std::error_code ec;
    return !name.empty() && fs::exists(name, ec);
}

long long FileSize(const std::string& name) {
    std::error_code ec;
    auto n = fs::file_size(name, ec);
    return ec ? -1 : static_cast<long long>(n);
}

std::string ReadWhole(const std::string& name) { return LerArquivoInteiro(name); }

void WriteWhole(const std::string& name, const std::string& bytes) {
    GravarArquivoInteiro(name, bytes, "Erro ao gravar o arquivo " + NomeSemCaminho(name) + ".");
}

Regional PontoDecimal() {
    Regional r = Regional::EnUS();
    r.DecimalSeparator = '.';
    r.ThousandSeparator = ',';
    return r;
}

// '.' as decimal point in every formatted number of the text formats.
std::string ComPonto(std::string s) {
    for (auto& ch : s)
        if (ch == ',') ch = '.';
    return s;
}

// Out-of-range doubles become infinities instead of an undefined conversion.
float F32(double v) {
    if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

uint8_t ToByte(double v) {
    if (std::isnan(v)) return 0;
    v = std::nearbyint(v);
    return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}

int16_t ToInt16(double v) {
    if (std::isnan(v)) return 0;
    v = std::nearbyint(v);
    return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
}

void SwapCells(uint8_t* p, long long n, int size) {
    if (size < 2) return;
    for (long long i = 0; i + size <= n; i += size) std::reverse(p + i, p + i + size);
}

std::string Tamanho(long long cols, long long rows) {
    return IntToStr(cols) + " colunas × " + IntToStr(rows) + " linhas";
}

[[noreturn]] void GrandeDemais(long long cols, long long rows) {
    throw EVandoro("A imagem de " + Tamanho(cols, rows) +
                   " é grande demais para a memória disponível.");
}

// Grid size read from a header: whole, positive, and within the cell limit.
int TamanhoGrade(double v, const std::string& chave, const std::string& arq) {
    if (!std::isfinite(v) || v < 0.5 || v > 2147483647.0)
        throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": valor inválido para " + chave +
                       ".");
    return static_cast<int>(std::lround(v));
}

void ChecaCelulas(long long cols, long long rows) {
    if (cols <= 0 || rows <= 0 || cols * rows > kMaxCelulasImagem) GrandeDemais(cols, rows);
}

// Blank-separated numbers of the text formats, read from a whole-file buffer.
class Leitor {
public:
    Leitor(const std::string& text, size_t pos, std::string arq)
        : s_(text), p_(pos), arq_(std::move(arq)) {
        for (size_t i = 0; i < pos && i < s_.size(); ++i)
            if (s_[i] == '\n') ++linha_;
    }
    size_t Pos() const { return p_; }
    size_t Restante() const { return s_.size() - p_; }
    // False at the end of the text.
    bool Proximo(double& v) {
        while (p_ < s_.size()) {
            char ch = s_[p_];
            if (ch == '\n') ++linha_;
            else if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\f' && ch != '\v') break;
            ++p_;
        }
        if (p_ >= s_.size()) return false;
        const char* a = s_.data() + p_;
        const char* fim = s_.data() + s_.size();
        const char* b = a;
        if (*b == '+' && b + 1 < fim && *(b + 1) != '-') ++b;
        auto r = std::from_chars(b, fim, v);
        const char* e = r.ptr;
        bool separado = e == fim || *e == ' ' || *e == '\t' || *e == '\r' || *e == '\n' ||
                        *e == '\f' || *e == '\v';
        if (r.ec == std::errc::result_out_of_range && separado) {
            // Beyond double range: keep the sign as an infinity, like a 32-bit read would.
            v = (*b == '-') ? -HUGE_VAL : HUGE_VAL;
        } else if (r.ec != std::errc() || !separado) {
            const char* t = a;
            while (t < fim && t - a < 40 && *t != ' ' && *t != '\t' && *t != '\r' && *t != '\n') ++t;
            throw EConversao("Erro no arquivo " + arq_ + ": valor inválido '" +
                             Win1252ToUtf8(std::string(a, t)) + "' na linha " +
                             IntToStr(linha_) + ".");
        }
        p_ = static_cast<size_t>(e - s_.data());
        return true;
    }
    void PulaLinha() {
        while (p_ < s_.size() && s_[p_] != '\n') ++p_;
        if (p_ < s_.size()) {
            ++p_;
            ++linha_;
        }
    }

private:
    const std::string& s_;
    size_t p_;
    std::string arq_;
    long long linha_ = 1;
};

void ChecaLimites(float a, float b, float c, float d, const std::string& arq) {
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d))
        throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": coordenadas fora da faixa.");
}

[[noreturn]] void FimInesperado(const std::string& arq, long long esperados, long long lidos) {
    throw EVandoro("Erro no arquivo " + arq + ": fim inesperado dos dados (esperados " +
                   IntToStr(esperados) + " valores, lidos " + IntToStr(lidos) + ").");
}

// Text formats need at least two characters per value (digit and separator).
void ChecaTexto(long long cells, size_t restante, const std::string& arq, long long cols,
                long long rows) {
    if (cells > static_cast<long long>(restante / 2) + 1)
        throw EVandoro("Erro no arquivo " + arq + ": o arquivo é pequeno demais para uma grade de " +
                       Tamanho(cols, rows) + ".");
}

// The partner file of a pair format: the name itself when it already has that extension;
// otherwise the lower-case extension, or the upper-case one when only that file exists.
std::string Parceiro(const std::string& name, const std::string& ext) {
    if (Ext3(name) == Upper(ext)) return name;
    std::string p = TrocaExtensao3(name, ext);
    if (!Exists(p)) {
        std::string u = TrocaExtensao3(name, Upper(ext));
        if (Exists(u)) return u;
    }
    return p;
}

}  // namespace

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

std::string TrocaExtensao3(const std::string& name, const std::string& ext) {
    if (name.size() < 3) return name;
    return name.substr(0, name.size() - 3) + ext;
}

// ---------------------------------------------------------------------------------------
// Construction and store

TImagem::TImagem() : TImagem(0) {}

TImagem::TImagem(int storageMode) {
    Reset();
    SetStorageMode(storageMode);
}

TImagem::TImagem(const std::string& fileName) {
    Reset();
    SetStorageMode(0);
    fileName_ = fileName;
    if (Exists(fileName)) LoadFromFile(fileName);
}

TImagem::~TImagem() {
    try {
        FreeStore();
    } catch (...) {
    }
}

void TImagem::SetCellType(char letter) {
    char u = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    switch (u) {
        case 'B': cellSize_ = 1; break;
        case 'I': cellSize_ = 2; break;
        case 'R': cellSize_ = 4; break;
        default:
            throw EVandoro(std::string("Erro durante a definição do tipo do arquivo raster: real, "
                                       "inteiro ou byte.\nTentativa de atribuir novo tipo: ") +
                           letter);
    }
    cellType_ = u;
}

void TImagem::Reset() {
    validCount_ = -1;
    if (!file_) ResizeMem(0);
}

void TImagem::ResizeMem(long long bytes) {
    try {
        mem_.resize(static_cast<size_t>((bytes + 3) / 4));
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
    fileSize_ = 0;
    msbFirst_ = false;
    ResizeMem(0);
}

void TImagem::SetStorageMode(int mode) {
    storageMode_ = mode;
    OpenStore(fileName_);
}

void TImagem::OpenStore(const std::string& name) {
    SetStatus("Criando a stream ...");
    FreeStore();
    fileName_ = name;
    if (storageMode_ == 0) {
        if (Exists(name)) {
            std::ifstream f(name, std::ios::binary);
            if (!f) throw EVandoro("Erro ao abrir o arquivo " + NomeSemCaminho(name) + ".");
            ResizeMem(std::max(0LL, FileSize(name)));
            f.read(reinterpret_cast<char*>(MemBytes()), memBytes_);
            if (f.gcount() != memBytes_)
                throw EVandoro("Erro de leitura no arquivo " + NomeSemCaminho(name) + ".");
        }
    } else if (!name.empty()) {
        auto f = std::make_unique<std::fstream>();
        if (Exists(name)) {
            f->open(name, std::ios::in | std::ios::out | std::ios::binary);
        } else {
            f->open(name, std::ios::out | std::ios::binary);
            if (f->is_open()) {
                f->close();
                f->open(name, std::ios::in | std::ios::out | std::ios::binary);
            }
        }
        if (!f->is_open()) throw EVandoro("Erro ao tentar criar o arquivo " + NomeSemCaminho(name));
        fileSize_ = std::max(0LL, FileSize(name));
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
        file_->clear();
        throw EVandoro("Erro ao gravar o arquivo " + NomeSemCaminho(fileName_) + ".");
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
    return (!file_ && cellType_ == 'R') ? mem_.data() : nullptr;
}

const float* TImagem::RealCells() const {
    return (!file_ && cellType_ == 'R') ? mem_.data() : nullptr;
}

// ---------------------------------------------------------------------------------------
// Cells

uint8_t TImagem::GetByte(long long index) const {
    if (cellType_ == 'B') {
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
    if (cellType_ == 'B') WriteAt(index, &v, 1);
    else if (cellType_ == 'I') SetInt(index, static_cast<int16_t>(v));
    else SetReal(index, static_cast<float>(v));
}

int16_t TImagem::GetInt(long long index) const {
    if (cellType_ == 'I') {
        int16_t v = 0;
        ReadAt(index * 2, &v, 2);
        return v;
    }
    return ToInt16(GetValue(index));
}

void TImagem::SetInt(long long index, int16_t v) {
    if (cellType_ == 'I') WriteAt(index * 2, &v, 2);
    else if (cellType_ == 'B') SetByte(index, ToByte(v));
    else SetReal(index, static_cast<float>(v));
}

void TImagem::SetInt(int col, int row, int16_t v) {
    SetInt(Index(col, row), v);
    if (v != 0 && progresso_) progresso_->ProcessEvents();
}

float TImagem::GetRealRaw(long long index) const {
    if (cellType_ == 'R') {
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
    if (cellType_ == 'R') {
        if (!file_ && index >= 0 && (index + 1) * 4 <= memBytes_) {
            mem_[static_cast<size_t>(index)] = v;
            return;
        }
        WriteAt(index * 4, &v, 4);
    } else if (cellType_ == 'I') {
        SetInt(index, ToInt16(v));
    } else {
        SetByte(index, ToByte(v));
    }
}

double TImagem::GetValue(long long index) const {
    switch (cellType_) {
        case 'B': {
            uint8_t v = 0;
            ReadAt(index, &v, 1);
            return v;
        }
        case 'I': {
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

void TImagem::RawRow(int row, float* buf) const {
    long long n = columns_;
    if (n <= 0) return;
    long long off = (long long)row * n * cellSize_;
    if (cellType_ == 'R') {
        ReadAt(off, buf, n * 4);
        return;
    }
    std::vector<uint8_t> b(static_cast<size_t>(n * cellSize_));
    ReadAt(off, b.data(), n * cellSize_);
    if (cellType_ == 'B') {
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
    if (cellType_ == 'R')
        for (int i = 0; i < columns_; ++i)
            if (std::isnan(buf[i])) buf[i] = 0;
}

void TImagem::WriteRow(int row, const float* buf) {
    long long n = columns_;
    if (n <= 0) return;
    long long off = (long long)row * n * cellSize_;
    if (cellType_ == 'R') {
        WriteAt(off, buf, n * 4);
        return;
    }
    std::vector<uint8_t> b(static_cast<size_t>(n * cellSize_));
    for (long long i = 0; i < n; ++i) {
        if (cellType_ == 'B') {
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
void TImagem::SetRefUnits(const std::string& u) { refUnits_ = u.substr(0, 255); }

double TImagem::MinValue() const {
    return cellType_ == 'B' ? minB_ : cellType_ == 'I' ? minI_ : static_cast<double>(minR_);
}

double TImagem::MaxValue() const {
    return cellType_ == 'B' ? maxB_ : cellType_ == 'I' ? maxI_ : static_cast<double>(maxR_);
}

void TImagem::ResetRanges() {
    minR_ = 1.0e10f;
    maxR_ = -1.0e10f;
    minI_ = 32767;
    maxI_ = -32768;
    minB_ = 255;
    maxB_ = 0;
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
    SetStorageMode(other.storageMode_);
    formatCode_ = other.formatCode_;
    SetCellType(other.cellType_);
    validCount_ = other.validCount_;
    switch (cellType_) {
        case 'B': minB_ = other.minB_; maxB_ = other.maxB_; break;
        case 'I': minI_ = other.minI_; maxI_ = other.maxI_; break;
        default: minR_ = other.minR_; maxR_ = other.maxR_; break;
    }
}

void TImagem::CountValid() {
    validCount_ = 0;
    std::vector<float> row(static_cast<size_t>(std::max(columns_, 0)));
    long long n = 0;
    for (int r = 0; r < rows_; ++r) {
        ReadRow(r, row.data());
        for (float v : row)
            if (!IsFlag(v)) ++n;
    }
    validCount_ = n;
}

void TImagem::ComputeMinMax(bool withMean) {
    ResetRanges();
    std::vector<float> row(static_cast<size_t>(std::max(columns_, 0)));
    if (progresso_) progresso_->SetMax(rows_);
    float mn = std::numeric_limits<float>::infinity(), mx = -mn;
    bool algum = false;
    for (int r = 0; r < rows_; ++r) {
        ReadRow(r, row.data());
        for (float v : row) {
            if (IsFlag(v)) continue;
            algum = true;
            if (v < mn) mn = v;
            if (v > mx) mx = v;
        }
        Progress(r + 1);
    }
    if (algum) {
        switch (cellType_) {
            case 'B': minB_ = ToByte(mn); maxB_ = ToByte(mx); break;
            case 'I': minI_ = ToInt16(mn); maxI_ = ToInt16(mx); break;
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

// ---------------------------------------------------------------------------------------
// Dispatch

namespace {
enum class Formato { ArcView, Idrisi, Idrisi32, Surfer, Desconhecido };

Formato FormatoDe(const std::string& name) {
    std::string e = Ext3(name);
    if (e == "HDR" || e == "ASC" || e == "FLT") return Formato::ArcView;
    if (e == "DOC" || e == "IMG") return Formato::Idrisi;
    if (e == "RST" || e == "RDC") return Formato::Idrisi32;
    if (e == "GRD") return Formato::Surfer;
    return Formato::Desconhecido;
}

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

bool TImagem::LoadFromFile(const std::string& name) {
    if (!Exists(name)) return false;
    Formato f = FormatoDe(name);
    if (f == Formato::Desconhecido) ImagemInvalida(name);
    if (f == Formato::Idrisi32) throw ENaoImplementado("Ainda não implementado.");
    SetStatus("Carregando a imagem ...");
    LimpaStatus limpa{*this};
    flagValue_ = -99.0f;
    meanValue_ = -99.0;
    Reset();
    FreeStore();
    fileName_ = name;
    try {
        switch (f) {
            case Formato::ArcView:
                if (Ext3(name) == "ASC") ReadAsc(name);
                else ReadHdrFlt(name);
                break;
            case Formato::Idrisi: ReadIdrisi(name); break;
            default: ReadSurfer(name); break;
        }
    } catch (...) {
        // Never leave a header that does not match its cells.
        FreeStore();
        columns_ = rows_ = 0;
        validCount_ = -1;
        throw;
    }
    return true;
}

void TImagem::SaveToFile(const std::string& name) {
    Formato f = FormatoDe(name);
    if (f == Formato::Desconhecido) ImagemInvalida(name);
    if (f == Formato::Idrisi32) throw ENaoImplementado("Não implementado.");
    SetStatus("Gravando a imagem no disco rígido ...");
    LimpaStatus limpa{*this};
    switch (f) {
        case Formato::ArcView: WriteArcView(name); break;
        case Formato::Idrisi: WriteIdrisi(name); break;
        default: WriteSurfer(name); break;
    }
}

void TImagem::ExportAs(const std::string& name, int code) {
    static const char* const origem[] = {"do ArcView", "do Idrisi 16 bits", "do Idrisi 32 bits",
                                         "do Surfer"};
    static const char* const destino[] = {"ArcView.", "Idrisi 16 bits.", "Idrisi 32 bits.",
                                          "Surfer."};
    auto texto = [](const char* const* t, int c) { return (c >= 0 && c <= 3) ? t[c] : ""; };
    SetStatus(std::string("Exportando a imagem ") + texto(origem, formatCode_) + " para " +
              texto(destino, code));
    TImagem tmp;
    tmp.CopyHeaderFrom(*this);
    tmp.SetStorageMode(0);
    tmp.formatCode_ = code;
    tmp.meanValue_ = meanValue_;
    std::vector<uint8_t> b = StoreBytes();
    tmp.ResizeMem(static_cast<long long>(b.size()));
    if (!b.empty()) std::memcpy(tmp.MemBytes(), b.data(), b.size());
    tmp.SetProgresso(progresso_);
    tmp.SaveToFile(name);
}

// ---------------------------------------------------------------------------------------
// ArcView

// The six keywords are taken by name, in any order and case; NODATA_value may be missing
// (then there is no no-data value). In an ".asc" the header ends at the first line that
// starts with a number; in an ".hdr" every line is a key and unknown keys are skipped.
void TImagem::ReadArcViewHeader(const std::string& text, size_t& pos, bool hdr,
                                const std::string& arq) {
    bool temCols = false, temRows = false, temX = false, temY = false, temS = false;
    bool xCentro = false, yCentro = false, temDx = false, temDy = false;
    double cols = 0, rows = 0, x = 0, y = 0, s = 0, dx = 0, dy = 0;
    double flag = std::numeric_limits<double>::quiet_NaN();
    msbFirst_ = false;
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
        std::string chave = Lower(linha.substr(0, sp));
        std::string valor = sp == std::string::npos ? std::string() : Trim(linha.substr(sp));
        pos = std::min(text.size(), fim + 1);
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
            std::string v = Upper(valor);
            if (v == "MSBFIRST" || v == "M") msbFirst_ = true;
        } else if (chave == "nbits") {
            if (numeroDe("nbits") != 32)
                throw EVandoro("Erro no cabeçalho do arquivo " + arq +
                               ": só são aceitas células de 32 bits (nbits " + valor + ").");
        } else if (!hdr) {
            throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": chave desconhecida '" +
                           Win1252ToUtf8(chave.substr(0, 40)) + "'.");
        }
    }
    if (temS && !temDx) dx = s;
    if (temS && !temDy) dy = s;
    const char* falta = !temCols ? "ncols" : !temRows ? "nrows" : !temX ? "xllcorner" :
                        !temY ? "yllcorner" : (!temS && !(temDx && temDy)) ? "cellsize" : nullptr;
    if (falta)
        throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": falta a chave " + falta + ".");
    if (!(dx > 0) || !(dy > 0))
        throw EVandoro("Erro no cabeçalho do arquivo " + arq + ": tamanho de célula inválido.");
    columns_ = TamanhoGrade(cols, "ncols", arq);
    rows_ = TamanhoGrade(rows, "nrows", arq);
    minX_ = F32(x);
    minY_ = F32(y);
    flagValue_ = F32(flag);
    SetCellType('R');
    // A cell-centre reference moves the edges down by half a cell.
    if (xCentro) minX_ = F32(minX_ - dx / 2);
    if (yCentro) minY_ = F32(minY_ - dy / 2);
    maxX_ = F32(columns_ * dx + minX_);
    maxY_ = F32(rows_ * dy + minY_);
    ChecaLimites(minX_, maxX_, minY_, maxY_, arq);
    ResetRanges();
    title_ = "Arquivo importado do ArcView - " + NomeSemCaminho(fileName_);
    refUnits_ = "m";
    formatCode_ = 0;
}

void TImagem::ReadAsc(const std::string& name) {
    std::string arq = NomeSemCaminho(name);
    std::string text = ReadWhole(name);
    size_t pos = 0;
    ReadArcViewHeader(text, pos, false, arq);
    storageMode_ = 0;
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
    minR_ = mn;
    maxR_ = mx;
    CountValid();
}

void TImagem::ReadHdrFlt(const std::string& name) {
    std::string hdr = Parceiro(name, "hdr");
    std::string flt = Parceiro(name, "flt");
    if (!Exists(hdr)) throw EVandoro("O arquivo " + NomeSemCaminho(hdr) + " não existe.");
    if (!Exists(flt)) throw EVandoro("O arquivo " + NomeSemCaminho(flt) + " não existe.");
    std::string text = ReadWhole(hdr);
    size_t pos = 0;
    ReadArcViewHeader(text, pos, true, NomeSemCaminho(hdr));
    CheckSize(FileSize(flt), flt);
    ChecaCelulas(columns_, rows_);
    bool msb = msbFirst_;
    OpenStore(flt);
    if (msb) {
        if (!file_) SwapCells(MemBytes(), memBytes_, 4);
        else msbFirst_ = true;
    }
    CountValid();
    ComputeMinMax(false);
}

void TImagem::CheckSize(long long bytesAvailable, const std::string& name) const {
    // Each size is below 2^31, so the product fits in 64 bits unsigned.
    unsigned long long precisa = static_cast<unsigned long long>(columns_) *
                                 static_cast<unsigned long long>(rows_) * cellSize_;
    if (bytesAvailable < 0 || static_cast<unsigned long long>(bytesAvailable) < precisa)
        throw EVandoro("Erro no arquivo " + NomeSemCaminho(name) + ": o arquivo tem " +
                       IntToStr(std::max(0LL, bytesAvailable)) + " bytes, mas a grade de " +
                       Tamanho(columns_, rows_) + " precisa de " + std::to_string(precisa) +
                       " bytes.");
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
                if (cellType_ == 'R') {
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
        WriteWhole(name, s);
    } else {
        std::string hdr = Parceiro(name, "hdr");
        std::string flt = Parceiro(name, "flt");
        std::string dados;
        dados.resize(static_cast<size_t>((long long)columns_ * rows_ * 4));
        for (int r = 0; r < rows_; ++r) {
            RawRow(r, row.data());
            std::memcpy(dados.data() + (size_t)r * columns_ * 4, row.data(), (size_t)columns_ * 4);
        }
        WriteWhole(hdr, ArcViewHeader(true));
        WriteWhole(flt, dados);
        // Saved over its own big-endian cell file: the file is little-endian now.
        std::error_code ec;
        if (file_ && fs::equivalent(flt, fileName_, ec)) msbFirst_ = false;
    }
    formatCode_ = 0;
}

// ---------------------------------------------------------------------------------------
// Idrisi

void TImagem::ReadIdrisi(const std::string& name) {
    std::string doc = Parceiro(name, "doc");
    std::string img = Parceiro(name, "img");
    std::string arq = NomeSemCaminho(doc);
    if (!Exists(doc)) throw EVandoro("O arquivo " + arq + " não existe.");
    if (!Exists(img)) throw EVandoro("O arquivo " + NomeSemCaminho(img) + " não existe.");
    formatCode_ = 1;
    flagValue_ = 0;
    std::string text = ReadWhole(doc);
    std::vector<std::string> linhas;
    size_t pos = 0;
    while (pos < text.size() && linhas.size() < 16) {
        size_t fim = text.find('\n', pos);
        if (fim == std::string::npos) fim = text.size();
        std::string l = text.substr(pos, fim - pos);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        linhas.push_back(l);
        pos = fim + 1;
    }
    if (linhas.size() < 16)
        throw EVandoro("Erro no arquivo " + arq + ": cabeçalho Idrisi incompleto.");
    auto valor = [&](int n) { return linhas[n - 1].size() > 14 ? linhas[n - 1].substr(14) : std::string(); };
    auto numero = [&](int n) {
        double v;
        try {
            v = TextToReal(valor(n));
        } catch (const EVandoro&) {
            throw EConversao("Erro no arquivo " + arq + ": valor inválido '" +
                             Win1252ToUtf8(Trim(valor(n)).substr(0, 40)) + "' na linha " +
                             IntToStr(n) + ".");
        }
        if (!std::isfinite(v))
            throw EConversao("Erro no arquivo " + arq + ": valor inválido na linha " + IntToStr(n) + ".");
        return v;
    };
    auto semFinal = [](std::string t) {
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
        return t;
    };
    title_ = Win1252ToUtf8(semFinal(valor(1))).substr(0, 255);
    std::string tipo = Trim(valor(2));
    SetCellType(tipo.empty() ? ' ' : tipo[0]);
    if (Lower(Trim(valor(3))).find("ascii") != std::string::npos)
        throw EVandoro("Erro no arquivo " + arq + ": imagens Idrisi em texto (ASCII) não são aceitas.");
    columns_ = TamanhoGrade(numero(4), "columns", arq);
    rows_ = TamanhoGrade(numero(5), "rows", arq);
    refUnits_ = Win1252ToUtf8(semFinal(valor(7))).substr(0, 255);
    minX_ = F32(numero(9));
    maxX_ = F32(numero(10));
    minY_ = F32(numero(11));
    maxY_ = F32(numero(12));
    ChecaLimites(minX_, maxX_, minY_, maxY_, arq);
    ResetRanges();
    double mn = numero(15), mx = numero(16);
    switch (cellType_) {
        case 'B': minB_ = ToByte(mn); maxB_ = ToByte(mx); break;
        case 'I': minI_ = ToInt16(mn); maxI_ = ToInt16(mx); break;
        default: minR_ = F32(mn); maxR_ = F32(mx); break;
    }
    CheckSize(FileSize(img), img);
    ChecaCelulas(columns_, rows_);
    OpenStore(img);
    CountValid();
}

void TImagem::WriteIdrisi(const std::string& name) {
    std::string doc = Parceiro(name, "doc");
    std::string img = Parceiro(name, "img");
    auto faixa = [&](bool max) -> std::string {
        switch (cellType_) {
            case 'B': return IntToStr(max ? maxB_ : minB_);
            case 'I': return IntToStr(max ? maxI_ : minI_);
            default: return FormatR(max ? maxR_ : minR_);
        }
    };
    const char* tipo = cellType_ == 'B' ? "byte" : cellType_ == 'I' ? "integer" : "real";
    std::string s;
    auto linha = [&](const std::string& t) { s += t + kCRLF; };
    linha("file title  : " + Utf8ToWin1252(title_));
    linha(std::string("data type   : ") + tipo);
    linha("file type   : binary");
    linha("columns     : " + IntToStr(columns_));
    linha("rows        : " + IntToStr(rows_));
    linha("ref. system : plane");
    linha("ref. units  : " + Utf8ToWin1252(refUnits_));
    linha("unit dist.  :  1.00000000000000E+0000");
    linha("min. X      : " + FormatR(minX_));
    linha("max. X      : " + FormatR(maxX_));
    linha("min. Y      : " + FormatR(minY_));
    linha("max. Y      : " + FormatR(maxY_));
    linha("pos n error : unknown");
    linha("resolution  : unknown");
    linha("min. value  : " + faixa(false));
    linha("max. value  : " + faixa(true));
    linha("value units : unspecified");
    linha("value error : unknown");
    linha("flag value  : none");
    linha("flag def n  : none");
    linha("legend cats : 0");
    // The cell file always holds exactly Rows x Columns cells.
    std::vector<uint8_t> b = StoreBytes();
    b.resize(static_cast<size_t>((long long)columns_ * rows_ * cellSize_), 0);
    WriteWhole(doc, s);
    WriteWhole(img, std::string(b.begin(), b.end()));
    formatCode_ = 1;
}

// ---------------------------------------------------------------------------------------
// Surfer

void TImagem::ReadSurfer(const std::string& name) {
    std::string arq = NomeSemCaminho(name);
    storageMode_ = 0;
    FreeStore();
    formatCode_ = 3;
    std::string text = ReadWhole(name);
    size_t pos = text.find('\n');
    pos = pos == std::string::npos ? text.size() : pos + 1;
    Leitor le(text, pos, arq);
    double h[8];
    for (int i = 0; i < 8; ++i)
        if (!le.Proximo(h[i]))
            throw EVandoro("Erro no arquivo " + arq + ": cabeçalho Surfer incompleto.");
    for (double v : h)
        if (!std::isfinite(v))
            throw EVandoro("Erro no arquivo " + arq + ": valor inválido no cabeçalho Surfer.");
    columns_ = TamanhoGrade(h[0], "colunas", arq);
    rows_ = TamanhoGrade(h[1], "linhas", arq);
    minX_ = F32(h[2]);
    maxX_ = F32(h[3]);
    minY_ = F32(h[4]);
    maxY_ = F32(h[5]);
    ChecaLimites(minX_, maxX_, minY_, maxY_, arq);
    minR_ = F32(h[6]);
    maxR_ = F32(h[7]);
    SetCellType('R');
    long long total = (long long)columns_ * rows_;
    ChecaTexto(total, le.Restante(), arq, columns_, rows_);
    ChecaCelulas(columns_, rows_);
    ResizeMem(total * 4);
    float* cel = mem_.data();
    if (progresso_) progresso_->SetMax(rows_);
    long long lidos = 0;
    // The file runs from south to north.
    for (int k = 0; k < rows_; ++k) {
        float* linha = cel + (long long)(rows_ - 1 - k) * columns_;
        for (int c = 0; c < columns_; ++c) {
            double d;
            if (!le.Proximo(d)) FimInesperado(arq, total, lidos);
            linha[c] = F32(d);
            ++lidos;
        }
        Progress(k + 1);
    }
    CountValid();
}

void TImagem::WriteSurfer(const std::string& name) {
    formatCode_ = 3;
    std::string s;
    s += "DSAA";
    s += kCRLF;
    s += IntToStr(columns_) + "  " + IntToStr(rows_) + kCRLF;
    s += FormatR(minX_) + "  " + FormatR(maxX_) + kCRLF;
    s += FormatR(minY_) + "  " + FormatR(maxY_) + kCRLF;
    s += FormatR(MinValue()) + "  " + FormatR(MaxValue()) + kCRLF;
    const Regional ponto = PontoDecimal();
    std::vector<float> row(static_cast<size_t>(std::max(columns_, 0)));
    for (int r = rows_ - 1; r >= 0; --r) {
        ReadRow(r, row.data());
        for (float v : row) {
            s += ComPonto(FloatToStrFixed(v, 5, ponto));
            s += ' ';
        }
    }
    WriteWhole(name, s);
}

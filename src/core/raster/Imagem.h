#pragma once
// TImagem: the one raster class. A georeferenced grid of byte ('B'), signed 16-bit ('I') or
// 32-bit real ('R') cells with its header, read from and written to the grid formats the
// program knows (Idrisi .doc+.img, ArcView .asc and .hdr+.flt, Surfer ASCII .grd). The file
// extension alone chooses the format.
//
// Cells are row-major, row 0 = northern edge, little-endian, at byte offset
// (row * Columns + col) * CellSize.
//
// Storage modes:
//   0  cells held in memory (the file is read whole);
//   1  cells kept in the data file, opened for reading and writing; every Set* goes to the
//      file at once (positioned I/O). With no file name yet the cells live in memory until
//      OpenStore names a file.
//
// Fast access for whole-grid passes (slope, filters): avoid the per-cell getters, which
// check bounds and convert types. Use either
//   * RealCells(): a contiguous float array of Rows*Columns cells (row-major), valid for an
//     'R' image in memory (mode 0 or file-less); nullptr otherwise. Call Allocate() first on
//     a fresh output image so the array has its full size. The pointer is invalidated by
//     anything that replaces or resizes the store (LoadFromFile, OpenStore, SetStorageMode,
//     Allocate, Reset, a Set* beyond the current end).
//   * ReadRow(row, buf) / WriteRow(row, buf): one whole row as floats, in any storage mode
//     and for any cell type (one positioned read/write per row in mode 1). ReadRow gives NaN
//     cells as 0, like GetReal; RawRow keeps them.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Progresso.h"
#include "core/raster/FormatoImagem.h"
#include "core/raster/SistemaGrade.h"
#include "core/raster/TipoCelula.h"

struct TGradeGdal;

// A cell of a TImagem: 0-based column and row from the north-west corner. The matrices of
// raster/Matriz.h count 1-based (row, column) with plain ints; a TImagem cell is always named,
// so the two orders cannot be passed one for the other.
struct TCelula {
    int coluna = 0, linha = 0;
};

// A file type the program recognises but does not handle (Idrisi 32-bit RST/RDC).
class ENaoImplementado : public EVandoro {
public:
    using EVandoro::EVandoro;
};

// Largest grid accepted (cells). Beyond it, or when memory runs out, loading and
// allocating fail with a clear message instead of trying a huge allocation.
inline constexpr long long kMaxCelulasImagem = 1LL << 30;

// Where the cells are kept: in memory, or in the image's data file, read and written in place.
enum class TModoArmazenamento { Memoria, Arquivo };

// The format an image was read from or is exported to; -1 for none known.
enum class TCodigoFormato : int { Desconhecido = -1, ArcView = 0, Idrisi16 = 1, Idrisi32 = 2, Surfer = 3, Gdal = 4 };

class TImagem {
public:
    TImagem();                                     // memory store, no file
    explicit TImagem(const std::string& fileName); // memory store; loads the file if it exists
    explicit TImagem(TModoArmazenamento storageMode);  // no file
    virtual ~TImagem();
    TImagem(const TImagem&) = delete;
    TImagem& operator=(const TImagem&) = delete;

    void SetCellType(TTipoCelula tipo);
    virtual void Reset();
    virtual void ExportArcView(const std::string& name) { ExportAs(name, TCodigoFormato::ArcView); }
    virtual void ExportIdrisi16(const std::string& name) { ExportAs(name, TCodigoFormato::Idrisi16); }
    virtual void ExportIdrisi32(const std::string& name) { ExportAs(name, TCodigoFormato::Idrisi32); }
    virtual void ExportSurfer(const std::string& name) { ExportAs(name, TCodigoFormato::Surfer); }
    // False only when the file does not exist; format errors throw EVandoro (RST/RDC throw
    // ENaoImplementado "Ainda não implementado.").
    virtual bool LoadFromFile(const std::string& name);
    // Format by extension; RST/RDC throw ENaoImplementado "Não implementado.".
    virtual void SaveToFile(const std::string& name);

    // Typed cell access. Each getter reads the cell as the image's CellType and converts
    // (setters round and clamp into 'B'/'I'). Out-of-range reads give 0; writes beyond the
    // end grow the store.
    virtual uint8_t GetByte(long long index) const;
    virtual uint8_t GetByte(TCelula c) const { return GetByte(Index(c)); }
    virtual void SetByte(long long index, uint8_t v);
    virtual void SetByte(TCelula c, uint8_t v) { SetByte(Index(c), v); }
    virtual int16_t GetInt(long long index) const;
    virtual int16_t GetInt(TCelula c) const { return GetInt(Index(c)); }
    virtual void SetInt(long long index, int16_t v);
    virtual void SetInt(TCelula c, int16_t v);  // lets the interface breathe when v != 0
    // A NaN cell reads as 0.
    virtual float GetReal(long long index) const;
    virtual float GetReal(TCelula c) const { return GetReal(Index(c)); }
    virtual void SetReal(long long index, float v);
    virtual void SetReal(TCelula c, float v) { SetReal(Index(c), v); }
    // Every cell := FlagValue (rounded and clamped into the cell type for 'B' and 'I').
    virtual void FillWithFlag();

    // The raw 32-bit real of an 'R' cell (NaN kept); other types give their value as float.
    float GetRealRaw(long long index) const;
    // Cell value as a real whatever the cell type (GetByte/GetInt/GetReal).
    double GetValue(long long index) const;

    // Whole rows as floats (see the top of the file). buf holds Columns values.
    void ReadRow(int row, float* buf) const;
    void RawRow(int row, float* buf) const;
    void WriteRow(int row, const float* buf);  // 'B'/'I' cells are rounded and clamped
    float* RealCells();
    const float* RealCells() const;
    // Sizes the store to Rows*Columns cells (new cells zero). Throws when it cannot.
    void Allocate();

    void SetStorageMode(TModoArmazenamento mode);
    void OpenStore(const std::string& name);
    void CopyHeaderFrom(const TImagem& other);
    // Takes over the cells of 'other' when both are 'R' images held in memory and 'other'
    // holds them all; 'other' is left without cells. False, and nothing done, otherwise.
    bool TakeRealCells(TImagem& other);
    // The cells of an 'R' image held whole in memory, Rows*Columns floats row by row, handed
    // over: the image keeps its header and is left without cells. Empty otherwise.
    std::vector<float> GiveRealCells();
    void ComputeMinMax(bool withMean = false);
    double ComputeMean();  // no valid cell: MeanValue 0
    void CountValid();
    void ExportAs(const std::string& name, TCodigoFormato code);

    // Header.
    const std::string& FileName() const { return fileName_; }
    int CellSize() const { return cellSize_; }
    TTipoCelula CellType() const { return cellType_; }
    TModoArmazenamento StorageMode() const { return storageMode_; }
    TCodigoFormato FormatCode() const { return formatCode_; }
    void SetFormatCode(TCodigoFormato code) { formatCode_ = code; }
    const std::string& Status() const { return status_; }
    void SetStatus(const std::string& text);
    double MeanValue() const { return meanValue_; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t);     // cut at 255 characters
    const std::string& RefUnits() const { return refUnits_; }
    void SetRefUnits(const std::string& u);  // cut at 255 characters
    float MinValueReal() const { return minR_; }
    float MaxValueReal() const { return maxR_; }
    void SetMinValueReal(float v) { minR_ = v; }
    void SetMaxValueReal(float v) { maxR_ = v; }
    int16_t MinValueInt() const { return minI_; }
    int16_t MaxValueInt() const { return maxI_; }
    void SetMinValueInt(int16_t v) { minI_ = v; }
    void SetMaxValueInt(int16_t v) { maxI_ = v; }
    uint8_t MinValueByte() const { return minB_; }
    uint8_t MaxValueByte() const { return maxB_; }
    void SetMinValueByte(uint8_t v) { minB_ = v; }
    void SetMaxValueByte(uint8_t v) { maxB_ = v; }
    // The range of the current cell type, as reals.
    double MinValue() const;
    double MaxValue() const;
    // No-data value. NaN when the file declared none (then no cell is excluded).
    float FlagValue() const { return flagValue_; }
    void SetFlagValue(float v) { flagValue_ = v; }
    long long ValidCount() const { return validCount_; }
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    void SetColumns(int c) { columns_ = c; }
    void SetRows(int r) { rows_ = r; }
    // Bounds are held in doubles: a 32-bit real keeps only half-metre steps at a UTM
    // northing of 7 500 000 m. The file layouts keep their own precision.
    double MinX() const { return minX_; }
    double MaxX() const { return maxX_; }
    double MinY() const { return minY_; }
    double MaxY() const { return maxY_; }
    void SetMinX(double v) { minX_ = v; }
    void SetMaxX(double v) { maxX_ = v; }
    void SetMinY(double v) { minY_ = v; }
    void SetMaxY(double v) { maxY_ = v; }

    // Coordinate system (WKT; empty when the file declares none). Read from the file itself
    // (GDAL formats) or from the ".prj" beside it; written beside every file saved.
    const std::string& Crs() const { return crs_.Wkt(); }
    void SetCrs(const std::string& wkt) { crs_ = TSistemaGrade::DeWkt(wkt); }
    // The same, carried from one grid to another without reading a ".prj" into WKT.
    const TSistemaGrade& Sistema() const { return crs_; }
    void SetSistema(const TSistemaGrade& s) { crs_ = s; }
    // A GeoTIFF is written compressed only when the grid came from a compressed file.
    bool Compressed() const { return compressed_; }
    void SetCompressed(bool c) { compressed_ = c; }
    // Bands of the file loaded (only band 1 is read).
    int BandCount() const { return bandCount_; }
    // Whether the file (or the user, through SetRefUnits) declared the distance unit:
    // ArcView and GDAL files without a coordinate system do not.
    bool UnitDeclared() const { return unitDeclared_ || !Crs().empty(); }

    // Progress and status receiver (not owned; may be null).
    void SetProgresso(IProgresso* p) { progresso_ = p; }
    IProgresso* Progresso() const { return progresso_; }

    // Cell width and height in the image's units ((MaxX - MinX) / Columns, ...); 0 without cells.
    double CellWidth() const;
    double CellHeight() const;

    long long Index(TCelula c) const { return (long long)c.linha * columns_ + c.coluna; }
    long long StoreSize() const;  // bytes
    bool IsFlag(double v) const { return v == (double)flagValue_; }

    // Empty-range starting values.
    void ResetRanges();

private:
    // Store primitives: positioned reads and writes, memory or file.
    void ReadAt(long long offset, void* dst, long long n) const;
    void WriteAt(long long offset, const void* src, long long n);
    void FreeStore();
    std::vector<uint8_t> StoreBytes() const;  // a copy of every byte of the store
    // Every cell of an 'R' image held whole in memory, for passes that read without copying;
    // nullptr otherwise.
    const float* CelulasInteiras() const;

    void ReadArcViewHeader(const std::string& text, size_t& pos, bool hdr, const std::string& arq);
    void ReadAsc(const std::string& name);
    void ReadHdrFlt(const std::string& name);
    void ReadIdrisi(const std::string& name);
    void ReadSurfer(const std::string& name);
    void ReadGdal(const std::string& name, TGradeGdal& g);
    void WriteGeoTiff(const std::string& name);
    void ReadPrj(const std::string& name);
    // The .prj of the grid "name", written beside its staged copy "preparado" when needed.
    void WritePrj(const std::string& name, const std::string& preparado) const;
    void WriteArcView(const std::string& name);
    void WriteIdrisi(const std::string& name);
    void WriteSurfer(const std::string& name);
    std::string ArcViewHeader(bool hdr) const;
    void CheckSize(long long bytesAvailable, const std::string& name) const;
    // CountValid, and the range taken from the cells when the one the header gave cannot
    // hold them (min above max, or cells outside it, as in a header left at 0 and 0).
    void AjustaFaixaAsCelulas();
    // Refuses infinite cells; in a binary file also subnormal ones, the mark of cells read
    // in the wrong byte order (no measured value is below 1E-38).
    void ChecaCelulasFinitas(const std::string& arq, bool binario) const;
    // FlagValue is a value of the cell type ('B' 0..255, 'I' 16-bit, whole; 'R' finite).
    bool FlagCabeNoTipo() const;
    void SegueArquivoNovo(const std::string& gravado);
    void Progress(int pos);

    uint8_t* MemBytes() { return reinterpret_cast<uint8_t*>(mem_.data()); }
    const uint8_t* MemBytes() const { return reinterpret_cast<const uint8_t*>(mem_.data()); }
    void ResizeMem(long long bytes);

    std::string fileName_;
    // Memory store: kept as floats so RealCells() is a true float array; the byte view
    // serves the other cell types. memBytes_ is the logical size.
    std::vector<float> mem_;
    long long memBytes_ = 0;
    mutable std::unique_ptr<std::fstream> file_;
    bool somenteLeitura_ = false;  // file_ is open for reading only
    long long fileSize_ = 0;
    bool msbFirst_ = false;
    int cellSize_ = 4;
    std::string status_;
    TTipoCelula cellType_ = TTipoCelula::Real;
    TModoArmazenamento storageMode_ = TModoArmazenamento::Memoria;
    TCodigoFormato formatCode_ = TCodigoFormato::ArcView;
    double meanValue_ = -99.0;
    IProgresso* progresso_ = nullptr;
    std::string title_;
    std::string refUnits_;
    float minR_ = 1.0e10f, maxR_ = -1.0e10f;
    int16_t minI_ = 32767, maxI_ = -32768;
    uint8_t minB_ = 255, maxB_ = 0;
    float flagValue_ = -99.0f;
    long long validCount_ = -1;
    int columns_ = 0, rows_ = 0;
    double minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
    TSistemaGrade crs_;
    int bandCount_ = 1;
    bool compressed_ = false;
    bool unitDeclared_ = false;
};

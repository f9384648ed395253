#pragma once
// In-memory grids with 1-based (row, column) access, row 1 at the northern edge. Cell access
// is unchecked and inline; Row(r) is a plain array of Columns() cells for hot loops.
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/Erros.h"

// Distance unit other than "M" or "KM".
class EUnitDist : public EVandoro {
public:
    EUnitDist() : EVandoro("Unidade de distância inválida.") {}
    explicit EUnitDist(const std::string& mensagem) : EVandoro(mensagem) {}
};

class TMatrix {
public:
    TMatrix() = default;
    virtual ~TMatrix() = default;
    // A whole farm's grid is hundreds of megabytes: handing one on must not copy it.
    TMatrix(const TMatrix&) = default;
    TMatrix(TMatrix&&) = default;
    TMatrix& operator=(const TMatrix&) = default;
    TMatrix& operator=(TMatrix&&) = default;

    virtual void SetRowCount(int n) = 0;
    virtual void SetColCount(int n) = 0;
    // Only the real matrix has a file form; the base raises ENaoImplementado.
    virtual void SaveToFile(const std::string& name);

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    uint8_t Version() const { return version_; }
    // The upper-cased text must be "M" or "KM" (else EUnitDist); stored as given.
    void SetUnitDist(const std::string& u);
    const std::string& UnitDist() const { return unitDist_; }
    // In doubles, as the image's bounds (the file form keeps 32-bit reals).
    double MinX() const { return minX_; }
    double MinY() const { return minY_; }
    double CellWidth() const { return cellWidth_; }
    double CellHeight() const { return cellHeight_; }
    void SetMinX(double v) { minX_ = v; }
    void SetMinY(double v) { minY_ = v; }
    void SetCellWidth(double v) { cellWidth_ = v; }
    void SetCellHeight(double v) { cellHeight_ = v; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t);  // cut at 255 characters
    // Coordinate system of the image loaded (WKT; empty when none). Not in the file form.
    const std::string& Crs() const { return crs_; }
    void SetCrs(const std::string& wkt) { crs_ = wkt; }

protected:
    int rows_ = 0;
    int columns_ = 0;

private:
    uint8_t version_ = 1;
    std::string unitDist_ = "m";
    double minX_ = 0, minY_ = 0;
    double cellWidth_ = 0, cellHeight_ = 0;
    std::string title_;
    std::string crs_;
};

class TMatrixSingle : public TMatrix {
public:
    void SetRowCount(int n) override;
    void SetColCount(int n) override;

    float Cell(int row, int col) const { return Row(row)[col - 1]; }
    void SetCell(int row, int col, float v) { Row(row)[col - 1] = v; }
    float* Row(int row) { return cells_.data() + static_cast<size_t>(row - 1) * columns_; }
    const float* Row(int row) const { return cells_.data() + static_cast<size_t>(row - 1) * columns_; }

    // Loads a raster file of any grid format: NaN (and infinite) cells become 0 and set
    // HadInvalid; negative cells (no-data included) become 0. Units must be m or km
    // (EUnitDist). A missing file raises EVandoro.
    void LoadFromImage(const std::string& fileName);

    // Binary layout: version 1, 'R', title (length byte + 254), columns and rows (16-bit),
    // MinX, MaxX, MinY, MaxY (32-bit reals), unit (length byte + 254), smallest and largest
    // value, then the cells row 1 first with NaN and negative cells as 0. Little-endian.
    void SaveToFile(const std::string& name) override;

    // Largest and smallest value of the source image.
    float MaxValue() const { return maxValue_; }
    float MinValue() const { return minValue_; }
    void SetMaxValue(float v) { maxValue_ = v; }
    void SetMinValue(float v) { minValue_ = v; }
    bool HadInvalid() const { return hadInvalid_; }

private:
    // Row after row in one block: a model read from a file takes over the block it was read
    // into, rather than copying hundreds of megabytes into fresh pages.
    std::vector<float> cells_;
    float maxValue_ = 0;
    float minValue_ = 0;
    bool hadInvalid_ = false;
};

class TMatrixByte : public TMatrix {
public:
    void SetRowCount(int n) override;
    void SetColCount(int n) override;

    uint8_t Cell(int row, int col) const { return cells_[row - 1][col - 1]; }
    void SetCell(int row, int col, uint8_t v) { cells_[row - 1][col - 1] = v; }
    uint8_t* Row(int row) { return cells_[row - 1].data(); }
    const uint8_t* Row(int row) const { return cells_[row - 1].data(); }

private:
    std::vector<std::vector<uint8_t>> cells_;
};

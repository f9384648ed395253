#pragma once
// Cell positions on the in-memory grids: 1-based column and row, (-1, -1) = not found.
#include <cstdint>

// Plain values with no virtual destructor: the location holds millions of them at once, and
// a hidden pointer in each doubled its lists.
class TPixel {
public:
    TPixel() = default;
    TPixel(int32_t col, int32_t row) : col_(col), row_(row) {}
    int32_t Col() const { return col_; }
    int32_t Row() const { return row_; }
    void SetCol(int32_t c) { col_ = c; }
    void SetRow(int32_t r) { row_ = r; }

private:
    int32_t col_ = 0;
    int32_t row_ = 0;
};

// A position with a value (an elevation, a slope).
class TPixelS : public TPixel {
public:
    TPixelS() = default;
    TPixelS(int32_t col, int32_t row, float value) : TPixel(col, row), value_(value) {}
    float Value() const { return value_; }
    void SetValue(float v) { value_ = v; }
    // Copies Col, Row and Value.
    void Assign(const TPixelS& other) { *this = other; }

private:
    float value_ = 0;
};

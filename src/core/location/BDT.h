#pragma once
// The terrace table (.bdt): one record per located terrace, in a little-endian binary file:
// version byte (1), record count (int32), then per record the id (int32) and six doubles.
#include <cstdint>
#include <string>

#include "core/raster/Lista.h"

// Result record of one terrace, fields in file order.
struct TRegTerr {
    int32_t id = 0;       // terrace number (line id of the vector file)
    double level = 0;     // elevation of the line, m
    double slope = 0;     // mean slope of the strip, %
    double length = 0;    // length of the line, m
    double area = 0;      // area of the strip, m²
    double EV = 0;        // vertical interval, m
    double height = 0;    // required terrace height, m
};

class TBDT : public TLista<TRegTerr> {
public:
    uint8_t Version() const { return version_; }
    // Write errors raise EVandoro.
    void SaveToFile(const std::string& name) const;
    // Appends the file's records. A missing, short, damaged or foreign file (version other
    // than 1) raises EVandoro naming the file and the fault, and leaves the list unchanged.
    void Load(const std::string& name);
    // As Load, false instead of the error.
    bool LoadFromFile(const std::string& name);

private:
    uint8_t version_ = 1;
};

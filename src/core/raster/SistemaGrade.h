#pragma once
// The coordinate system a grid carries: WKT, or the text of the ".prj" it was read from,
// read into WKT only when first asked. Reading a ".prj" opens PROJ's database, most of the
// time of a short command that only carries the system from its input to its output.
#include <memory>
#include <mutex>
#include <string>

class TSistemaGrade {
public:
    TSistemaGrade() = default;
    static TSistemaGrade DeWkt(std::string wkt);
    static TSistemaGrade DePrj(std::string texto);

    // WKT; empty when none was declared or the ".prj" could not be read.
    const std::string& Wkt() const;
    bool Vazio() const { return Wkt().empty(); }
    // The ".prj" text as read, when it is OGC or ESRI WKT 1 (the ".prj" other programs read):
    // it is written beside an output as it stands. Empty otherwise.
    const std::string& PrjWkt1() const;
    // Whether the system is known to be projected without reading it: a WKT 1 ".prj" whose
    // root is PROJCS. False says nothing.
    bool ProjetadoPeloTexto() const;

private:
    struct Dados {
        std::string texto;  // of the ".prj"
        std::string wkt;
        std::once_flag lido;
    };
    std::shared_ptr<Dados> d_;  // null: none; shared between copies, never changed once read
};

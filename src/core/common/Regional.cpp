#include "core/common/Regional.h"

#include <cctype>

namespace {
Regional& Atual() {
    static Regional r = Regional::PtBR();
    return r;
}
}  // namespace

Regional Regional::PtBR() { return Regional{',', '.', "dd/mm/yyyy", "hh:nn:ss"}; }
Regional Regional::EnUS() { return Regional{'.', ',', "m/d/yyyy", "h:nn:ss AMPM"}; }
const Regional& Regional::Current() { return Atual(); }
void Regional::SetCurrent(const Regional& r) { Atual() = r; }

Regional Regional::FromLocaleName(const std::string& name) {
    std::string n;
    for (char c : name) n += char(std::tolower((unsigned char)c));
    if (n.rfind("pt", 0) == 0) return PtBR();
    if (n.rfind("en", 0) == 0) return EnUS();
    // No regional settings at all (containers, services): numbers keep the point that
    // scripts read, but dates and times are the Brazilian ones the projects are written in.
    if (n == "c" || n.rfind("c.", 0) == 0 || n == "posix") return Regional{'.', ',', "dd/mm/yyyy", "hh:nn:ss"};
    return PtBR();
}

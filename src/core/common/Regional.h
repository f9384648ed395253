#pragma once
// The user's regional number and date settings. Core never reads the process locale: the
// front ends call Regional::SetCurrent once at start-up; tests pin PtBR() or EnUS().
#include <string>

struct Regional {
    char DecimalSeparator = ',';
    char ThousandSeparator = '.';
    std::string ShortDateFormat = "dd/mm/yyyy";  // Delphi-style tokens: d dd m mm yy yyyy
    std::string LongTimeFormat = "hh:nn:ss";     // h hh n nn s ss (n = minutes)

    static Regional PtBR();
    static Regional EnUS();  // '.' ',' "m/d/yyyy" "h:nn:ss AMPM"

    static const Regional& Current();
    static void SetCurrent(const Regional& r);
    // From a POSIX locale name such as "pt_BR.UTF-8" or "en_US"; unknown names give PtBR().
    // "C" and "POSIX" give the point as decimal separator with pt-BR's dates and times.
    static Regional FromLocaleName(const std::string& name);
};

#include "core/common/DataHora.h"

#include <cctype>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

namespace {
// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yy + (m <= 2));
}

const long long kEpoch = DaysFromCivil(1899, 12, 30);

std::string Pad(int v, int w) {
    std::string s = std::to_string(v);
    while ((int)s.size() < w) s = "0" + s;
    return s;
}
}  // namespace

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    double days = double(DaysFromCivil(year, unsigned(month), unsigned(day)) - kEpoch);
    double frac = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
    return days + frac;
}

void DecodeDateTime(double dt, int& year, int& month, int& day, int& hour, int& minute, int& second,
                    int& msec) {
    if (!std::isfinite(dt) || std::fabs(dt) > 3e6) dt = 0;
    long long totalMs = std::llround(dt * 86400000.0);
    long long days = totalMs >= 0 ? totalMs / 86400000 : -((-totalMs + 86399999) / 86400000);
    long long ms = totalMs - days * 86400000;
    CivilFromDays(days + kEpoch, year, month, day);
    hour = int(ms / 3600000);
    minute = int(ms / 60000 % 60);
    second = int(ms / 1000 % 60);
    msec = int(ms % 1000);
}

double Now() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

double Date() { return std::floor(Now()); }

std::string FormatDateTime(const std::string& f, double dt) {
    int y, mo, d, h, mi, s, ms;
    DecodeDateTime(dt, y, mo, d, h, mi, s, ms);
    bool ampm = f.find("AMPM") != std::string::npos || f.find("AM/PM") != std::string::npos;
    int h12 = h % 12 == 0 ? 12 : h % 12;
    std::string out;
    for (size_t i = 0; i < f.size();) {
        auto run = [&](char c) {
            size_t j = i;
            while (j < f.size() && std::tolower((unsigned char)f[j]) == c) ++j;
            return j - i;
        };
        char c = char(std::tolower((unsigned char)f[i]));
        if (f[i] == '"' || f[i] == '\'') {
            size_t j = f.find(f[i], i + 1);
            if (j == std::string::npos) j = f.size();
            out += f.substr(i + 1, j - i - 1);
            i = j + 1;
        } else if (f.compare(i, 4, "AMPM") == 0) {
            out += h < 12 ? "AM" : "PM";
            i += 4;
        } else if (f.compare(i, 5, "AM/PM") == 0) {
            out += h < 12 ? "AM" : "PM";
            i += 5;
        } else if (c == 'y') {
            size_t n = run('y');
            out += n <= 2 ? Pad(y % 100, 2) : Pad(y, 4);
            i += n;
        } else if (c == 'm') {
            size_t n = run('m');
            out += n >= 2 ? Pad(mo, 2) : std::to_string(mo);
            i += n;
        } else if (c == 'd') {
            size_t n = run('d');
            out += n >= 2 ? Pad(d, 2) : std::to_string(d);
            i += n;
        } else if (c == 'h') {
            size_t n = run('h');
            int hv = ampm ? h12 : h;
            out += n >= 2 ? Pad(hv, 2) : std::to_string(hv);
            i += n;
        } else if (c == 'n') {
            size_t n = run('n');
            out += n >= 2 ? Pad(mi, 2) : std::to_string(mi);
            i += n;
        } else if (c == 's') {
            size_t n = run('s');
            out += n >= 2 ? Pad(s, 2) : std::to_string(s);
            i += n;
        } else {
            out += f[i++];
        }
    }
    return out;
}

std::string FormatDDMMYYYY(double dt) { return FormatDateTime("dd/mm/yyyy", dt); }

std::string DateToStr(double dt, const Regional& r) { return FormatDateTime(r.ShortDateFormat, dt); }

std::string DateTimeToStr(double dt, const Regional& r) {
    std::string s = DateToStr(dt, r);
    int y, mo, d, h, mi, sec, ms;
    DecodeDateTime(dt, y, mo, d, h, mi, sec, ms);
    if (h || mi || sec) s += " " + FormatDateTime(r.LongTimeFormat, dt);
    return s;
}

bool TryStrToDateTime(const std::string& text, double& out, const Regional& r) {
    // Numbers in the order of the short date format, then an optional time.
    std::vector<int> nums;
    std::string rest;
    size_t i = 0;
    while (i < text.size() && nums.size() < 6) {
        if (std::isdigit((unsigned char)text[i])) {
            long long v = 0;
            size_t j = i;
            while (j < text.size() && std::isdigit((unsigned char)text[j]) && j - i < 6) v = v * 10 + (text[j++] - '0');
            if (j < text.size() && std::isdigit((unsigned char)text[j])) return false;
            nums.push_back(int(v));
            i = j;
        } else if (text[i] == '/' || text[i] == ':' || text[i] == ' ' || text[i] == '-' || text[i] == '.') {
            ++i;
        } else {
            break;
        }
    }
    rest = text.substr(i);
    while (!rest.empty() && rest.front() == ' ') rest.erase(rest.begin());
    bool pm = false, am = false;
    if (rest == "PM" || rest == "pm") pm = true;
    else if (rest == "AM" || rest == "am") am = true;
    else if (!rest.empty()) return false;
    if (nums.size() < 3) return false;
    // Order of d, m, y in the format.
    std::string order;
    for (char c : r.ShortDateFormat) {
        char l = char(std::tolower((unsigned char)c));
        if ((l == 'd' || l == 'm' || l == 'y') && order.find(l) == std::string::npos) order += l;
    }
    if (order.size() != 3) order = "dmy";
    int d = 0, m = 0, y = 0;
    for (int k = 0; k < 3; ++k) {
        if (order[k] == 'd') d = nums[k];
        else if (order[k] == 'm') m = nums[k];
        else y = nums[k];
    }
    if (y < 100) y += y < 50 ? 2000 : 1900;
    int h = nums.size() > 3 ? nums[3] : 0, mi = nums.size() > 4 ? nums[4] : 0, s = nums.size() > 5 ? nums[5] : 0;
    if (pm && h < 12) h += 12;
    if (am && h == 12) h = 0;
    static const int dim[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1 || d > dim[m - 1] || y < 1 || y > 9999 || h > 23 || mi > 59 || s > 59)
        return false;
    if (m == 2 && d == 29 && !((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return false;
    out = EncodeDateTime(y, m, d, h, mi, s);
    return true;
}

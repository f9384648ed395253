#include "core/common/Win1252.h"

#include <cstdint>
#include <cstring>

namespace {
// Code points of bytes 0x80..0x9F; the five undefined bytes keep their C1 control value.
const char32_t kAlto[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void PutUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

int ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
    for (int i = 0; i < 32; ++i)
        if (kAlto[i] == cp) return 0x80 + i;
    return -1;
}
}  // namespace

size_t FimAscii(std::string_view s, size_t j) {
    // Eight bytes at a time while none has its high bit set.
    for (uint64_t w; j + 8 <= s.size(); j += 8) {
        std::memcpy(&w, s.data() + j, 8);
        if (w & 0x8080808080808080ull) break;
    }
    while (j < s.size() && static_cast<unsigned char>(s[j]) < 0x80) ++j;
    return j;
}

std::string Win1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char c = bytes[i];
        if (c < 0x80) {
            // Runs of ASCII, most of a file of numbers, go across whole.
            const size_t j = FimAscii(bytes, i + 1);
            out.append(bytes, i, j - i);
            i = j;
            continue;
        }
        PutUtf8(out, c < 0xA0 ? kAlto[c - 0x80] : char32_t(c));
        ++i;
    }
    return out;
}

void Utf8ToWin1252EmLugar(std::string& s) {
    // No character takes more bytes in Windows-1252 than in UTF-8: the text written so far
    // never reaches the bytes still to be read.
    size_t i = FimAscii(s, 0), o = i;
    while (i < s.size()) {
        unsigned char c = s[i];
        if (c < 0x80) {
            // Runs of ASCII, most of a file of numbers, go across whole.
            const size_t j = FimAscii(s, i + 1);
            std::memmove(&s[o], &s[i], j - i);
            o += j - i;
            i = j;
            continue;
        }
        int len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        char32_t cp = 0;
        bool ok = len > 0 && i + len <= s.size();
        if (ok) {
            cp = c & (0x7F >> len);
            for (int k = 1; k < len; ++k) {
                unsigned char cc = s[i + k];
                if ((cc & 0xC0) != 0x80) {
                    ok = false;
                    break;
                }
                cp = (cp << 6) | (cc & 0x3F);
            }
        }
        if (!ok) {
            // Not UTF-8: the byte is taken as Windows-1252 already.
            s[o++] = char(c);
            ++i;
            continue;
        }
        int b = ByteOf(cp);
        s[o++] = b < 0 ? '?' : char(b);
        i += len;
    }
    s.resize(o);
}

std::string Utf8ToWin1252(std::string_view utf8) {
    std::string s(utf8);
    Utf8ToWin1252EmLugar(s);
    return s;
}

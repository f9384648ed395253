#pragma once
// Windows-1252 <-> UTF-8. Text files on disk are Windows-1252; strings in memory are UTF-8.
#include <string>
#include <string_view>

// Every byte maps to a character (the five undefined bytes map to U+0081.. controls).
std::string Win1252ToUtf8(std::string_view bytes);
// Characters with no Windows-1252 byte become '?'. Invalid UTF-8 bytes are taken as
// Windows-1252 already (so text that was never converted survives a round trip).
std::string Utf8ToWin1252(std::string_view utf8);
// The same in place, for a text of tens of megabytes that should be held once.
void Utf8ToWin1252EmLugar(std::string& utf8);
// Where the run of ASCII bytes from 'inicio' ends: the first byte at or after it with the high
// bit set, or the size. A file of numbers is one such run.
size_t FimAscii(std::string_view s, size_t inicio);

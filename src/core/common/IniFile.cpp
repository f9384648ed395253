#include "core/common/IniFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "core/common/Arquivo.h"
#include "core/common/DataHora.h"
#include "core/common/Erros.h"
#include "core/common/Texto.h"
#include "core/common/Numeros.h"
#include "core/common/Win1252.h"

namespace {
// Case folding of Windows-1252 bytes, so "ESPAÇAMENTO" matches "espaçamento".
unsigned char Fold(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 16;
    if (c == 0x9F) return 0xFF;
    return c;
}

bool IgualDobrado(std::string_view x, std::string_view y) {
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i)
        if (Fold(static_cast<unsigned char>(x[i])) != Fold(static_cast<unsigned char>(y[i]))) return false;
    return true;
}

bool IgualSemCaixa(const std::string& a, const std::string& b) {
    // Names in plain ASCII, nearly all of them, are the same in both encodings: compared as
    // they are. A plan's complement looks up hundreds of sections and keys for every value.
    const auto ascii = [](const std::string& t) {
        return std::all_of(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if (ascii(a) && ascii(b)) return IgualDobrado(a, b);
    return IgualDobrado(Utf8ToWin1252(a), Utf8ToWin1252(b));
}
}  // namespace

IniFile::IniFile(std::string path, const Regional& r) : path_(std::move(path)), regional_(r) {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) return;
    std::string text;
    try {
        text = Win1252ToUtf8(LerArquivoInteiro(path_));
    } catch (const EVandoro&) {
        loaded_ = false;
        return;
    }
    sections_.push_back(Section{"", false, {}});
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        std::string raw = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? text.size() : nl + 1;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string t = Trim(raw);
        if (!t.empty() && t.front() == '[') {
            size_t close = t.find(']');
            if (close != std::string::npos) {
                sections_.push_back(Section{Trim(t.substr(1, close - 1)), true, {}});
                continue;
            }
        }
        Line line;
        line.text = raw;
        size_t eq = t.find('=');
        if (!t.empty() && t[0] != ';' && eq != std::string::npos && eq > 0) {
            line.isKey = true;
            line.key = Trim(t.substr(0, eq));
            line.value = Trim(t.substr(eq + 1));
            if (line.value.size() >= 2 && (line.value.front() == '"' || line.value.front() == '\'') &&
                line.value.back() == line.value.front())
                line.value = line.value.substr(1, line.value.size() - 2);
        }
        sections_.back().lines.push_back(std::move(line));
    }
}

IniFile::~IniFile() {
    try {
        UpdateFile();
    } catch (...) {
    }
}

IniFile::Section* IniFile::FindSection(const std::string& name) {
    // Writes come a section at a time: hundreds of keys into one of hundreds of sections.
    if (ultima_ < sections_.size() && sections_[ultima_].hasHeader && IgualSemCaixa(sections_[ultima_].name, name))
        return &sections_[ultima_];
    for (size_t i = 0; i < sections_.size(); ++i)
        if (sections_[i].hasHeader && IgualSemCaixa(sections_[i].name, name)) {
            ultima_ = i;
            return &sections_[i];
        }
    return nullptr;
}

const IniFile::Section* IniFile::FindSection(const std::string& name) const {
    for (auto& s : sections_)
        if (s.hasHeader && IgualSemCaixa(s.name, name)) return &s;
    return nullptr;
}

const IniFile::Line* IniFile::FindKey(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    for (auto& l : s->lines)
        if (l.isKey && IgualSemCaixa(l.key, key)) return &l;
    return nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    const Line* l = FindKey(section, key);
    return l ? l->value : def;
}

long long IniFile::ReadInteger(const std::string& section, const std::string& key, long long def) const {
    const Line* l = FindKey(section, key);
    if (!l) return def;
    std::string v = l->value;
    long long r = 0;
    if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
        try {
            size_t used = 0;
            r = std::stoll(v.substr(2), &used, 16);
            return used == v.size() - 2 ? r : def;
        } catch (...) {
            return def;
        }
    }
    return TryStrToInt(v, r) ? r : def;
}

double IniFile::ReadFloat(const std::string& section, const std::string& key, double def) const {
    const Line* l = FindKey(section, key);
    double r = 0;
    return l && TryStrToFloat(l->value, r, regional_) ? r : def;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadDateTime(const std::string& section, const std::string& key, double def) const {
    const Line* l = FindKey(section, key);
    double r = 0;
    return l && TryStrToDateTime(l->value, r, regional_) ? r : def;
}

void IniFile::WriteString(const std::string& section, const std::string& key, std::string value) {
    Section* s = FindSection(section);
    if (!s) {
        sections_.push_back(Section{section, true, {}});
        s = &sections_.back();
        ultima_ = sections_.size() - 1;
    }
    for (auto& l : s->lines) {
        if (l.isKey && IgualSemCaixa(l.key, key)) {
            if (l.value != value || l.text.empty()) {
                l.value = std::move(value);
                l.text.clear();  // rewritten as key=value
                dirty_ = true;
            }
            return;
        }
    }
    // After the last non-blank line of the section.
    size_t at = s->lines.size();
    while (at > 0 && Trim(s->lines[at - 1].text).empty() && !s->lines[at - 1].isKey) --at;
    Line l;
    l.isKey = true;
    l.key = key;
    l.value = std::move(value);
    s->lines.insert(s->lines.begin() + long(at), std::move(l));
    dirty_ = true;
}

void IniFile::WriteInteger(const std::string& s, const std::string& k, long long v) { WriteString(s, k, IntToStr(v)); }
void IniFile::WriteFloat(const std::string& s, const std::string& k, double v) { WriteString(s, k, FloatToStr(v, regional_)); }
void IniFile::WriteBool(const std::string& s, const std::string& k, bool v) { WriteString(s, k, v ? "1" : "0"); }
void IniFile::WriteDateTime(const std::string& s, const std::string& k, double v) {
    WriteString(s, k, DateTimeToStr(v, regional_));
}

bool IniFile::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }
bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
    return FindKey(section, key) != nullptr;
}

void IniFile::DeleteKey(const std::string& section, const std::string& key) {
    Section* s = FindSection(section);
    if (!s) return;
    for (size_t i = 0; i < s->lines.size(); ++i) {
        if (s->lines[i].isKey && IgualSemCaixa(s->lines[i].key, key)) {
            s->lines.erase(s->lines.begin() + long(i));
            dirty_ = true;
            return;
        }
    }
}

void IniFile::EraseSection(const std::string& section) {
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i].hasHeader && IgualSemCaixa(sections_[i].name, section)) {
            sections_.erase(sections_.begin() + long(i));
            ultima_ = size_t(-1);
            dirty_ = true;
            return;
        }
    }
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (auto& l : s->lines)
            if (l.isKey) keys.push_back(l.key);
    return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
    std::vector<std::string> names;
    for (auto& s : sections_)
        if (s.hasHeader) names.push_back(s.name);
    return names;
}

void IniFile::UpdateFile() {
    if (!dirty_) return;
    // Sized first and converted only when it is not plain ASCII: a plan's lines make a file of
    // tens of megabytes, which should be held once, not three times.
    const auto comoTexto = [](const Line& l) { return l.isKey && l.text.empty(); };
    size_t tamanho = 0;
    for (const auto& s : sections_) {
        if (s.hasHeader) tamanho += s.name.size() + 4;
        for (const auto& l : s.lines) tamanho += (comoTexto(l) ? l.key.size() + 1 + l.value.size() : l.text.size()) + 2;
    }
    std::string out;
    out.reserve(tamanho);
    for (const auto& s : sections_) {
        if (s.hasHeader) out.append("[").append(s.name).append("]\r\n");
        for (const auto& l : s.lines) {
            if (comoTexto(l)) out.append(l.key).append("=").append(l.value);
            else out.append(l.text);
            out.append("\r\n");
        }
    }
    if (FimAscii(out, 0) == out.size())
        GravarArquivoInteiro(path_, out);
    else
        GravarArquivoInteiro(path_, Utf8ToWin1252(out));
    dirty_ = false;
}

bool LerIni(const std::string& path, const std::function<bool(IniFile&)>& ler) {
    try {
        IniFile ini(path);
        if (!ini.Loaded()) return false;
        bool ok = ler(ini);
        ini.UpdateFile();  // a reader may upgrade old sections in place
        return ok;
    } catch (const std::exception&) {
        return false;
    }
}

bool GravarIni(const std::string& path, const std::function<void(IniFile&)>& gravar) {
    try {
        IniFile ini(path);
        if (!ini.Loaded()) return false;
        gravar(ini);
        ini.UpdateFile();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

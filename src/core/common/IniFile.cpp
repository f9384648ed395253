#include "core/common/IniFile.h"

#include <filesystem>
#include <string_view>
#include <utility>

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

// The form names are compared in: Windows-1252 bytes, case folded.
std::string Dobrado(std::string_view t) {
    std::string r = Utf8ToWin1252(t);
    for (char& c : r) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    return r;
}
}  // namespace

IniFile::IniFile(std::string path, const Regional& r) : path_(std::move(path)), regional_(r) {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) return;
    std::string text;
    try {
        // A file of plain ASCII, a plan's tens of megabytes of numbers, is already UTF-8.
        text = LerArquivoInteiro(path_);
        if (FimAscii(text, 0) != text.size()) text = Win1252ToUtf8(text);
    } catch (const EVandoro&) {
        loaded_ = false;
        return;
    }
    sections_.push_back(Section("", false));
    const std::string_view todo(text);
    size_t pos = 0;
    while (pos < todo.size()) {
        const size_t nl = todo.find('\n', pos);
        std::string_view raw = todo.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? todo.size() : nl + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const std::string_view t = Aparar(raw);
        if (!t.empty() && t.front() == '[') {
            size_t close = t.find(']');
            if (close != std::string_view::npos) {
                sections_.push_back(Section(Trim(t.substr(1, close - 1)), true));
                continue;
            }
        }
        Line line;
        size_t eq = t.find('=');
        if (!t.empty() && t[0] != ';' && eq != std::string_view::npos && eq > 0) {
            line.isKey = true;
            line.key = Trim(t.substr(0, eq));
            std::string_view v = Aparar(t.substr(eq + 1));
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            line.value = v;
        }
        // A line that reads exactly key=value is written back from them: a plan's lines are
        // megabytes each, not to be held twice.
        const bool comoChave = line.isKey && raw.size() == line.key.size() + 1 + line.value.size() &&
                               raw.substr(0, line.key.size()) == line.key && raw[line.key.size()] == '=' &&
                               raw.substr(line.key.size() + 1) == line.value;
        if (!comoChave) line.text = raw;
        sections_.back().lines.push_back(std::move(line));
    }
}

IniFile::~IniFile() {
    try {
        UpdateFile();
    } catch (...) {
    }
}

const IniFile::Section* IniFile::FindSection(const std::string& name) const {
    if (!secoesIndexadas_) {
        secoes_.clear();
        for (size_t i = 0; i < sections_.size(); ++i)
            if (sections_[i].hasHeader) secoes_.emplace(Dobrado(sections_[i].name), i);  // the first keeps it
        secoesIndexadas_ = true;
    }
    const auto it = secoes_.find(Dobrado(name));
    return it == secoes_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section* IniFile::FindSection(const std::string& name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

size_t IniFile::Section::Chave(const std::string& key) const {
    if (!indexada) {
        chaves.clear();
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].isKey) chaves.emplace(Dobrado(lines[i].key), i);
        indexada = true;
    }
    const auto it = chaves.find(Dobrado(key));
    return it == chaves.end() ? lines.size() : it->second;
}

const IniFile::Line* IniFile::FindKey(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    const size_t i = s->Chave(key);
    return i < s->lines.size() ? &s->lines[i] : nullptr;
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
        sections_.push_back(Section(section, true));
        s = &sections_.back();
        secoesIndexadas_ = false;
    }
    if (const size_t i = s->Chave(key); i < s->lines.size()) {
        Line& l = s->lines[i];
        if (l.value != value) {
            l.value = std::move(value);
            l.text.clear();  // rewritten as key=value
            dirty_ = true;
        }
        return;
    }
    // After the last non-blank line of the section.
    size_t at = s->lines.size();
    while (at > 0 && Trim(s->lines[at - 1].text).empty() && !s->lines[at - 1].isKey) --at;
    Line l;
    l.isKey = true;
    l.key = key;
    l.value = std::move(value);
    s->lines.insert(s->lines.begin() + long(at), std::move(l));
    s->indexada = false;
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
    if (const size_t i = s->Chave(key); i < s->lines.size()) {
        s->lines.erase(s->lines.begin() + long(i));
        s->indexada = false;
        dirty_ = true;
    }
}

void IniFile::EraseSection(const std::string& section) {
    if (const Section* s = FindSection(section)) {
        sections_.erase(sections_.begin() + (s - sections_.data()));
        secoesIndexadas_ = false;
        dirty_ = true;
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
    // Sized first and converted in place: a plan's lines make a file of tens of megabytes,
    // which should be held once, not three times.
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
    Utf8ToWin1252EmLugar(out);
    GravarArquivoInteiro(path_, out);
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

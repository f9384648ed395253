#pragma once
// Classic Windows profile-file semantics (see DESIGN 5). Windows-1252 on disk, UTF-8 in
// memory, section and key names matched case-insensitively, unrelated lines kept, CR LF.
// The file is read once when the object is made; writes change the memory copy and reach
// the disk with UpdateFile() (also called by the destructor, which swallows errors), always
// by writing a temporary file beside the target and renaming it over the target.
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/common/Regional.h"

class IniFile {
public:
    explicit IniFile(std::string path, const Regional& r = Regional::Current());
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const std::string& FileName() const { return path_; }
    // False when the file existed but could not be read (missing file = empty, true).
    bool Loaded() const { return loaded_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    long long ReadInteger(const std::string& section, const std::string& key, long long def) const;
    double ReadFloat(const std::string& section, const std::string& key, double def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    double ReadDateTime(const std::string& section, const std::string& key, double def) const;

    // By value: a plan's lines are megabytes each, handed over rather than copied.
    void WriteString(const std::string& section, const std::string& key, std::string value);
    void WriteInteger(const std::string& section, const std::string& key, long long value);
    void WriteFloat(const std::string& section, const std::string& key, double value);  // FloatToStr
    void WriteBool(const std::string& section, const std::string& key, bool value);     // "1"/"0"
    void WriteDateTime(const std::string& section, const std::string& key, double value);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    void DeleteKey(const std::string& section, const std::string& key);
    void EraseSection(const std::string& section);
    std::vector<std::string> ReadSection(const std::string& section) const;  // key names
    std::vector<std::string> ReadSections() const;

    // Writes the whole file atomically if anything changed; throws EVandoro on failure
    // ("Não foi possível gravar o arquivo " + path + ".").
    void UpdateFile();
    bool Modified() const { return dirty_; }

private:
    struct Line {
        std::string text;     // the raw line (UTF-8) for comments/blank/unparsed lines
        std::string key;      // key name as written (empty for non key lines)
        std::string value;
        bool isKey = false;
    };
    struct Section {
        Section(std::string n, bool cabecalho) : name(std::move(n)), hasHeader(cabecalho) {}
        std::string name;     // as written
        bool hasHeader = true;
        std::vector<Line> lines;
        // The first line of a key, or lines.size(). A plan's complement looks up each of
        // thousands of keys: the folded names are indexed on the first look-up, again after a
        // line comes or goes.
        size_t Chave(const std::string& key) const;
        mutable std::unordered_map<std::string, size_t> chaves;
        mutable bool indexada = false;
    };
    Section* FindSection(const std::string& name);
    const Section* FindSection(const std::string& name) const;
    const Line* FindKey(const std::string& section, const std::string& key) const;

    std::string path_;
    Regional regional_;
    std::vector<Section> sections_;
    // Folded name -> the first section of that name, as for the keys; so one object is not
    // read from two threads at once.
    mutable std::unordered_map<std::string, size_t> secoes_;
    mutable bool secoesIndexadas_ = false;
    bool loaded_ = true;
    bool dirty_ = false;
};

#include <functional>

// The model-object protocol around a project file: open it, let the object read or write its
// sections, and turn any failure into false. GravarIni flushes the file before returning.
bool LerIni(const std::string& path, const std::function<bool(IniFile&)>& ler);
bool GravarIni(const std::string& path, const std::function<void(IniFile&)>& gravar);

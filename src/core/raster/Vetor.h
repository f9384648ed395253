#pragma once
// Line vectors: points, lines, the growable point array the terrace tracer fills, the
// program's own binary vector file (.vet) and the Idrisi vector documentation file (.dvc),
// plus the conversions between .vet and Idrisi (.vec + .dvc) or Surfer (.txt) vectors.
//
// .vet layout (little-endian): version byte (1); title and units, each a length byte and up
// to 254 Windows-1252 characters in 255 bytes; MinX, MaxX, MinY, MaxY as 32-bit reals; then
// 14-byte records from offset 527: line id (int16), X, Y, Z (32-bit reals). A line is a run
// of consecutive records with the same id.
//
// Building a file in memory:
//   TVET vet("m");
//   vet.SetTitle("Terraços");
//   TVetorRecPonto p;  p.SetLineId(1);  p.Add(x, y, z); ...
//   vet.AppendLine(p);
//   vet.SaveToFile("saida.vet");         // false on failure; Save() throws instead
// Reading one back:
//   TVET vet;  vet.Load("saida.vet");     // or LoadFromFile (false on failure)
//   for (const TVetorRecPonto& linha : vet.Lines()) ...
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/raster/Lista.h"

class EVersaoVET : public EVandoro {
public:
    EVersaoVET() : EVandoro("A Versao deste arquivo é inválida") {}
    explicit EVersaoVET(const std::string& msg) : EVandoro(msg) {}
};
// Load and save errors: the message begins with the program's text ("Erro ao carregar
// arquivo." / "Erro ao salvar arquivo.") followed by the reason, when there is one.
class ELoadVet : public EVandoro {
public:
    explicit ELoadVet(const std::string& motivo = "");
};
class ESaveVet : public EVandoro {
public:
    explicit ESaveVet(const std::string& motivo = "");
};

class TPonto {
public:
    TPonto() = default;
    TPonto(float x, float y, float z) : X(x), Y(y), Z(z) {}
    virtual ~TPonto() = default;
    float X = 0, Y = 0, Z = 0;
};

// One line: an owning, 1-based list of points.
class TLinha : public TLista<TPonto> {
public:
    int Tag() const { return tag_; }
    void SetTag(int t) { tag_ = t; }

private:
    int tag_ = 1;
};

struct TRecPonto {
    float X = 0, Y = 0, Z = 0;
};

// Growable point array with a line identifier; the tracer fills one per terrace line.
class TVetorRecPonto {
public:
    int Count() const { return static_cast<int>(pontos_.size()); }
    void Clear() { pontos_.clear(); }
    void SetCount(int n) { pontos_.resize(n < 0 ? 0 : static_cast<size_t>(n)); }
    void Add(float x, float y, float z) { pontos_.push_back({x, y, z}); }
    void Reverse();
    std::unique_ptr<TVetorRecPonto> Clone() const;
    // Point i, 0-based, unchecked.
    TRecPonto& Ponto(int i) { return pontos_[static_cast<size_t>(i)]; }
    const TRecPonto& Ponto(int i) const { return pontos_[static_cast<size_t>(i)]; }
    const std::vector<TRecPonto>& Pontos() const { return pontos_; }
    int LineId() const { return lineId_; }
    void SetLineId(int id) { lineId_ = id; }

private:
    std::vector<TRecPonto> pontos_;
    int lineId_ = 0;
};

class TVetor {
public:
    virtual ~TVetor() = default;
    virtual bool LoadFromFile(const std::string& name) = 0;
    virtual bool SaveToFile(const std::string& name) = 0;

    float MinX() const { return minX_; }
    float MaxX() const { return maxX_; }
    float MinY() const { return minY_; }
    float MaxY() const { return maxY_; }
    void SetMinX(float v) { minX_ = v; }
    void SetMaxX(float v) { maxX_ = v; }
    void SetMinY(float v) { minY_ = v; }
    void SetMaxY(float v) { maxY_ = v; }

protected:
    float minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
};

// One record as read back.
struct TRegistroVet {
    int16_t Id = 0;
    float X = 0, Y = 0, Z = 0;
};

class TVET : public TVetor {
public:
    static constexpr int kTamCabecalho = 527;
    static constexpr int kTamRegistro = 14;

    TVET();
    explicit TVET(const std::string& units);  // a new file with this distance unit

    // False on any failure (missing file, damaged header, bad version).
    bool LoadFromFile(const std::string& name) override;
    // Recomputes the bounds, rewrites the header and writes the file; false on failure.
    bool SaveToFile(const std::string& name) override;
    // The same, throwing ELoadVet / EVersaoVET / ESaveVet with the reason.
    void Load(const std::string& name);
    void Save(const std::string& name);

    int Version() const { return version_; }
    void SetVersion(int v);  // only 1 is valid: EVersaoVET otherwise
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t);  // UTF-8; cut to 254 characters
    const std::string& Units() const { return units_; }
    void SetUnits(const std::string& u);  // same; any text is kept
    // The units are one the program knows ("M", "KM" or "PLANE", any case).
    bool UnitsKnown() const;

    // Record cursor over the in-memory file image.
    int RecordCount() const;
    void First();
    bool Eof() const;
    int RecNo() const;
    void GoTo(int i);  // 0-based; clamped to [0, RecordCount]
    // Writes at the cursor (overwriting or appending) and advances.
    void WriteRecord(int16_t id, float x, float y, float z);
    // False at the end; otherwise the record at the cursor, and advances.
    bool ReadRecord(TRegistroVet& r);
    TRegistroVet Record(int i) const;  // 0-based, unchecked beyond RecordCount

    // Appends one record per point with the array's line id (which must fit in 16 bits).
    void AppendLine(const TVetorRecPonto& linha);
    // Points of the first run of 'id'; null when the id does not occur.
    std::unique_ptr<TLinha> GetLine(int id) const;
    // Planar length of the first run of 'id' (0 when absent or a single point).
    double LineLength(int id) const;
    void ComputeBounds();
    // Every run of equal ids in file order, each with its id.
    std::vector<TVetorRecPonto> Lines() const;
    int LineCount() const;  // number of those runs
    // Whole file image (header + records), as written by Save.
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    void WriteHeader();

    int version_ = 1;
    std::string title_, units_;
    std::vector<uint8_t> bytes_;
    size_t pos_ = kTamCabecalho;
};

// Idrisi vector documentation file (.dvc): 13 lines "label (14 characters)" + value.
class TInfArqDocVet {
public:
    TInfArqDocVet();

    // Names and the default values of every field.
    void SetDefaults(const std::string& docName);
    // False when the name is empty, the file is missing or its content is damaged; the
    // reason is in LastError() ("Nenhum nome de arquivo fornecido.", "Arquivo X nao existe.").
    bool Load(const std::string& docName);
    void Save() const;  // writes to DocName(); throws EVandoro on failure
    void Save(const std::string& docName);

    const std::string& DocName() const { return docName_; }
    const std::string& DocNameNoPath() const { return docNameNoPath_; }
    const std::string& DataName() const { return dataName_; }
    const std::string& DataNameNoPath() const { return dataNameNoPath_; }
    bool Valid() const { return valid_; }
    const std::string& LastError() const { return lastError_; }

    std::string Title, IdType, FileType, ObjectType, RefSystem, RefUnits;
    double UnitDist = 1, MinX = 0, MaxX = 1, MinY = 0, MaxY = 1;
    std::string PosError, Resolution;

    // The attributes a .vec import accepts (binary lines or polygons, plane, m or km).
    bool AttributesAccepted() const;

private:
    void SetNames(const std::string& docName);

    std::string docName_, docNameNoPath_, dataName_, dataNameNoPath_;
    bool valid_ = false;
    std::string lastError_;
};

// The data-file name of a documentation file: last four characters replaced by ".VEC".
std::string NomeDadosDoc(const std::string& docName);
// The .dvc partner of a .vec (same case as its extension; an existing variant wins).
std::string NomeDocDeVec(const std::string& vecName);

// Conversions. Each throws EVandoro with a Portuguese message on a missing or damaged file.
// Idrisi .vec (its .dvc partner is read and checked) -> vet; one line per block.
void ImportarIdrisi(const std::string& vecName, const std::string& titulo, TVET& vet);
// Surfer text -> vet; a change of Z starts a new line. units: "m" or "km".
void ImportarSurfer(const std::string& txtName, const std::string& titulo,
                    const std::string& units, TVET& vet);
// vet -> Idrisi .vec and its .dvc partner (title as given, object type "line").
void ExportarIdrisi(const TVET& vet, const std::string& vecName, const std::string& titulo);
// vet -> Surfer text.
void ExportarSurfer(const TVET& vet, const std::string& txtName);

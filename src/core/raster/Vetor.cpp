#include "core/raster/Vetor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include "core/common/Arquivo.h"
#include "core/common/Binario.h"
#include "core/common/ConjuntoArquivos.h"
#include "core/common/Numeros.h"
#include "core/common/Regional.h"
#include "core/common/Texto.h"
#include "core/common/Win1252.h"
#include "core/raster/FormatoComum.h"

namespace fs = std::filesystem;

namespace {

// Larger vector files than this are refused rather than read into memory.
constexpr long long kMaxBytesVetor = 256LL << 20;
constexpr int kMaxTexto = 254;

// The whole file, refusing anything beyond kMaxBytesVetor; false (with the reason) otherwise.
bool LerTudo(const std::string& nome, std::string& out, std::string& erro) {
    if (!ArquivoExiste(nome)) {
        erro = "O arquivo '" + NomeSemCaminho(nome) + "' não existe.";
        return false;
    }
    try {
        out = LerArquivoInteiro(nome, kMaxBytesVetor);
    } catch (const EArquivoGrandeDemais& e) {
        erro = "O arquivo '" + NomeSemCaminho(nome) + "' é grande demais (" + IntToStr(e.tamanho) + " bytes).";
        return false;
    } catch (const EVandoro&) {
        erro = "Não foi possível ler o arquivo '" + NomeSemCaminho(nome) + "'.";
        return false;
    }
    return true;
}

// Writes through a temporary file so a failed write never leaves half a file behind.
void GravarTudo(const std::string& nome, const void* dados, size_t n) {
    GravarArquivoInteiro(nome, std::string_view(static_cast<const char*>(dados), n),
                         "Não foi possível gravar o arquivo '" + NomeSemCaminho(nome) + "'.");
}

// UTF-8 text cut to at most 254 Windows-1252 characters.
std::string Cortar(const std::string& t) {
    std::string b = Utf8ToWin1252(t);
    if (b.size() <= static_cast<size_t>(kMaxTexto)) return t;
    return Win1252ToUtf8(b.substr(0, kMaxTexto));
}

void PutTexto(uint8_t* p, const std::string& utf8) {
    std::string b = Utf8ToWin1252(utf8);
    if (b.size() > static_cast<size_t>(kMaxTexto)) b.resize(kMaxTexto);
    std::memset(p, 0, 255);
    p[0] = static_cast<uint8_t>(b.size());
    std::memcpy(p + 1, b.data(), b.size());
}
std::string GetTexto(const uint8_t* p) {
    // A length byte of 255 cannot fit beside itself; keep what the field holds.
    size_t n = std::min<size_t>(p[0], kMaxTexto);
    return Win1252ToUtf8(std::string(reinterpret_cast<const char*>(p + 1), n));
}

int16_t IdLinha(long long id) {
    if (id < std::numeric_limits<int16_t>::min() || id > std::numeric_limits<int16_t>::max())
        throw ESaveVet("Identificador de linha fora da faixa de -32768 a 32767: " + IntToStr(id) + ".");
    return static_cast<int16_t>(id);
}

}  // namespace

ELoadVet::ELoadVet(const std::string& motivo)
    : EVandoro(motivo.empty() ? "Erro ao carregar arquivo." : "Erro ao carregar arquivo. " + motivo) {}
ESaveVet::ESaveVet(const std::string& motivo)
    : EVandoro(motivo.empty() ? "Erro ao salvar arquivo." : "Erro ao salvar arquivo. " + motivo) {}

// ---------------------------------------------------------------- TVetorRecPonto

void TVetorRecPonto::Reverse() { std::reverse(pontos_.begin(), pontos_.end()); }

std::unique_ptr<TVetorRecPonto> TVetorRecPonto::Clone() const {
    auto c = std::make_unique<TVetorRecPonto>();
    c->pontos_ = pontos_;
    c->lineId_ = lineId_;
    return c;
}

// ---------------------------------------------------------------- TVET

TVET::TVET() : bytes_(kTamCabecalho, 0) { WriteHeader(); }

TVET::TVET(const std::string& units) : TVET() {
    SetUnits(units);
    WriteHeader();
}

void TVET::SetVersion(int v) {
    if (v != 1) throw EVersaoVET();
    version_ = v;
}

void TVET::SetTitle(const std::string& t) { title_ = Cortar(t); }
void TVET::SetUnits(const std::string& u) { units_ = Cortar(u); }

bool TVET::UnitsKnown() const {
    std::string u = Maiusculas(Trim(units_));
    return u == "M" || u == "KM" || u == "PLANE";
}

void TVET::WriteHeader() {
    uint8_t* p = bytes_.data();
    p[0] = static_cast<uint8_t>(version_);
    PutTexto(p + 1, title_);
    PutTexto(p + 256, units_);
    GravarLE<float>(p + 511, minX_);
    GravarLE<float>(p + 515, maxX_);
    GravarLE<float>(p + 519, minY_);
    GravarLE<float>(p + 523, maxY_);
}

int TVET::RecordCount() const {
    return static_cast<int>((bytes_.size() - kTamCabecalho) / kTamRegistro);
}
void TVET::First() { pos_ = kTamCabecalho; }
bool TVET::Eof() const { return pos_ + kTamRegistro > bytes_.size(); }
int TVET::RecNo() const { return static_cast<int>((pos_ - kTamCabecalho) / kTamRegistro); }
void TVET::GoTo(int i) {
    i = std::clamp(i, 0, RecordCount());
    pos_ = kTamCabecalho + static_cast<size_t>(i) * kTamRegistro;
}

void TVET::WriteRecord(int16_t id, float x, float y, float z) {
    if (pos_ + kTamRegistro > bytes_.size()) bytes_.resize(pos_ + kTamRegistro);
    uint8_t* p = bytes_.data() + pos_;
    GravarLE<int16_t>(p, id);
    GravarLE<float>(p + 2, x);
    GravarLE<float>(p + 6, y);
    GravarLE<float>(p + 10, z);
    pos_ += kTamRegistro;
}

bool TVET::ReadRecord(TRegistroVet& r) {
    if (Eof()) return false;
    r = Record(RecNo());
    pos_ += kTamRegistro;
    return true;
}

TRegistroVet TVET::Record(int i) const {
    const uint8_t* p = bytes_.data() + kTamCabecalho + static_cast<size_t>(i) * kTamRegistro;
    return {LerLE<int16_t>(p), LerLE<float>(p + 2), LerLE<float>(p + 6), LerLE<float>(p + 10)};
}

void TVET::AppendLine(const TVetorRecPonto& linha) {
    int16_t id = IdLinha(linha.LineId());
    GoTo(RecordCount());
    // Grown by doubling: an exact reserve for each line copied the whole file so far once a
    // line, which a plan of hundreds of long lines felt.
    const size_t precisa = bytes_.size() + static_cast<size_t>(linha.Count()) * kTamRegistro;
    if (precisa > bytes_.capacity()) bytes_.reserve(std::max(precisa, 2 * bytes_.capacity()));
    for (const auto& p : linha.Pontos()) WriteRecord(id, p.X, p.Y, p.Z);
}

std::unique_ptr<TLinha> TVET::GetLine(int id) const {
    int n = RecordCount(), i = 0;
    while (i < n && Record(i).Id != id) ++i;
    if (i == n) return nullptr;
    auto l = std::make_unique<TLinha>();
    for (; i < n; ++i) {
        TRegistroVet r = Record(i);
        if (r.Id != id) break;
        l->Add(std::make_unique<TPonto>(r.X, r.Y, r.Z));
    }
    return l;
}

double TVET::LineLength(int id) const {
    auto l = GetLine(id);
    if (!l) return 0;
    double soma = 0;
    for (int i = 2; i <= l->Count(); ++i) {
        double dx = (double)l->Item(i)->X - l->Item(i - 1)->X;
        double dy = (double)l->Item(i)->Y - l->Item(i - 1)->Y;
        soma += std::sqrt(dx * dx + dy * dy);
    }
    return soma;
}

void TVET::ComputeBounds() {
    int n = RecordCount();
    for (int i = 0; i < n; ++i) {
        TRegistroVet r = Record(i);
        if (i == 0) {
            minX_ = maxX_ = r.X;
            minY_ = maxY_ = r.Y;
        } else {
            minX_ = std::min(minX_, r.X);
            maxX_ = std::max(maxX_, r.X);
            minY_ = std::min(minY_, r.Y);
            maxY_ = std::max(maxY_, r.Y);
        }
    }
}

std::vector<TVetorRecPonto> TVET::Lines() const {
    std::vector<TVetorRecPonto> linhas;
    int n = RecordCount();
    for (int i = 0; i < n; ++i) {
        TRegistroVet r = Record(i);
        if (linhas.empty() || linhas.back().LineId() != r.Id) {
            linhas.emplace_back();
            linhas.back().SetLineId(r.Id);
        }
        linhas.back().Add(r.X, r.Y, r.Z);
    }
    return linhas;
}

int TVET::LineCount() const {
    int n = RecordCount(), linhas = 0;
    for (int i = 0; i < n; ++i)
        if (i == 0 || Record(i).Id != Record(i - 1).Id) ++linhas;
    return linhas;
}

void TVET::Load(const std::string& name) {
    std::string dados, erro;
    if (!LerTudo(name, dados, erro)) throw ELoadVet(erro);
    if (dados.size() < static_cast<size_t>(kTamCabecalho))
        throw ELoadVet("O cabeçalho de '" + NomeSemCaminho(name) + "' está incompleto (" +
                       IntToStr((long long)dados.size()) + " de 527 bytes).");
    const auto* p = reinterpret_cast<const uint8_t*>(dados.data());
    // A file read names itself: the setter's text cannot say which file.
    if (p[0] != 1)
        throw EVersaoVET("A versão do arquivo " + NomeSemCaminho(name) + " é inválida (" + IntToStr(p[0]) +
                         "; só a versão 1 é lida).");
    // A partial last record means a file cut short.
    const size_t sobra = (dados.size() - kTamCabecalho) % kTamRegistro;
    if (sobra != 0)
        throw ELoadVet("O arquivo '" + NomeSemCaminho(name) + "' está incompleto: o último registro tem " +
                       IntToStr((long long)sobra) + " de 14 bytes.");
    TVET lido;
    lido.bytes_.assign(p, p + dados.size());
    lido.ComputeBounds();
    // Every save writes the bounds of its records: other bounds mean records lost or damaged.
    const float cab[4] = {LerLE<float>(p + 511), LerLE<float>(p + 515), LerLE<float>(p + 519), LerLE<float>(p + 523)};
    const float reg[4] = {lido.minX_, lido.maxX_, lido.minY_, lido.maxY_};
    if (lido.RecordCount() > 0 && std::memcmp(cab, reg, sizeof cab) != 0)
        throw ELoadVet("O arquivo '" + NomeSemCaminho(name) + "' está incompleto ou danificado: os limites do "
                       "cabeçalho não correspondem aos " + IntToStr(lido.RecordCount()) + " registros.");
    bytes_ = std::move(lido.bytes_);
    title_ = GetTexto(p + 1);
    units_ = GetTexto(p + 256);
    minX_ = cab[0];
    maxX_ = cab[1];
    minY_ = cab[2];
    maxY_ = cab[3];
    pos_ = kTamCabecalho;
}

bool TVET::LoadFromFile(const std::string& name) {
    try {
        Load(name);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TVET::Save(const std::string& name) {
    if (name.empty()) throw ESaveVet("Nenhum nome de arquivo fornecido.");
    ComputeBounds();
    WriteHeader();
    try {
        GravarTudo(name, bytes_.data(), bytes_.size());
    } catch (const ESaveVet&) {
        throw;
    } catch (const std::exception& e) {
        throw ESaveVet(e.what());
    }
}

bool TVET::SaveToFile(const std::string& name) {
    try {
        Save(name);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// ---------------------------------------------------------------- TInfArqDocVet

namespace {
const char* const kRotulos[13] = {
    "file title  : ", "id type     : ", "file type   : ", "object type : ", "ref. system : ",
    "ref. units  : ", "unit dist.  : ", "min. X      : ", "max. X      : ", "min. Y      : ",
    "max. Y      : ", "pos n error : ", "resolution  : ",
};

// Bounds are written with '.' whatever the user's locale: other programs read this file.
std::string Fixo8(double v) { return FloatToStrFixed(v, 8, Regional::EnUS()); }
}  // namespace

std::string NomeDadosDoc(const std::string& docName) {
    if (docName.size() < 4) return docName + ".VEC";
    return docName.substr(0, docName.size() - 4) + ".VEC";
}

std::string NomeDocDeVec(const std::string& vecName) {
    auto ponto = vecName.find_last_of('.');
    auto barra = vecName.find_last_of("/\\");
    bool maius = false;
    if (ponto != std::string::npos && (barra == std::string::npos || ponto > barra)) {
        std::string ext = vecName.substr(ponto + 1);
        maius = ext == Maiusculas(ext) &&
                std::any_of(ext.begin(), ext.end(), [](char c) { return std::isalpha((unsigned char)c); });
    }
    std::string a = TrocaExtensao(vecName, maius ? ".DVC" : ".dvc");
    std::string b = TrocaExtensao(vecName, maius ? ".dvc" : ".DVC");
    return !ArquivoExiste(a) && ArquivoExiste(b) ? b : a;
}

TInfArqDocVet::TInfArqDocVet() = default;

void TInfArqDocVet::SetNames(const std::string& docName) {
    docName_ = docName;
    docNameNoPath_ = NomeSemCaminho(docName);
    dataName_ = NomeDadosDoc(docName);
    dataNameNoPath_ = NomeSemCaminho(dataName_);
}

void TInfArqDocVet::SetDefaults(const std::string& docName) {
    SetNames(docName);
    Title = "Sem titulo.";
    IdType = "real";
    FileType = "binary";
    ObjectType = "line";
    RefSystem = "plane";
    RefUnits = "m";
    UnitDist = 1;
    MinX = 0;
    MaxX = 1;
    MinY = 0;
    MaxY = 1;
    PosError = "unknown";
    Resolution = "unknown";
}

bool TInfArqDocVet::Load(const std::string& docName) {
    valid_ = true;
    lastError_.clear();
    SetNames(docName);
    if (docName.empty()) {
        lastError_ = "Nenhum nome de arquivo fornecido.";
        valid_ = false;
        return false;
    }
    std::string dados, erro;
    if (!ArquivoExiste(docName)) {
        lastError_ = "O arquivo " + docName + " não existe.";
        valid_ = false;
        return false;
    }
    if (!LerTudo(docName, dados, erro)) {
        lastError_ = erro;
        valid_ = false;
        return false;
    }
    try {
        raster_interno::ChecaTextoLegivel(dados, NomeSemCaminho(docName));
    } catch (const EVandoro& e) {
        lastError_ = e.what();
        valid_ = false;
        return false;
    }
    std::vector<std::string> linhas;
    size_t i = 0;
    while (i < dados.size() && linhas.size() < 13) {
        size_t f = dados.find('\n', i);
        if (f == std::string::npos) f = dados.size();
        std::string l = dados.substr(i, f - i);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        linhas.push_back(Win1252ToUtf8(l));
        i = f + 1;
    }
    if (linhas.size() < 13) {
        lastError_ = "O arquivo de documentação '" + NomeSemCaminho(docName) + "' está incompleto (" +
                     IntToStr((long long)linhas.size()) + " de 13 linhas).";
        valid_ = false;
        return false;
    }
    auto valor = [&](int k) { return linhas[k].size() > 14 ? linhas[k].substr(14) : std::string(); };
    double reais[5];
    for (int k = 0; k < 5; ++k) {
        std::string v = Trim(valor(6 + k));
        double d = 0;
        if (v.empty() || !TryStrToFloat(v, d) || !std::isfinite(d)) {
            lastError_ = "O arquivo de documentação '" + NomeSemCaminho(docName) + "' tem um valor inválido na linha " +
                         IntToStr(7 + k) + " (" + Trim(std::string(kRotulos[6 + k]).substr(0, 12)) + "): '" + v + "'.";
            valid_ = false;
            return false;
        }
        reais[k] = d;
    }
    Title = valor(0);
    IdType = valor(1);
    FileType = valor(2);
    ObjectType = valor(3);
    RefSystem = valor(4);
    RefUnits = valor(5);
    UnitDist = reais[0];
    MinX = reais[1];
    MaxX = reais[2];
    MinY = reais[3];
    MaxY = reais[4];
    PosError = valor(11);
    Resolution = valor(12);
    return true;
}

void TInfArqDocVet::Save() const {
    std::string t;
    const std::string textos[13] = {Title,     IdType,     FileType,   ObjectType, RefSystem,
                                    RefUnits,  FormatR(UnitDist), Fixo8(MinX), Fixo8(MaxX),
                                    Fixo8(MinY), Fixo8(MaxY), PosError, Resolution};
    for (int k = 0; k < 13; ++k) t += std::string(kRotulos[k]) + Utf8ToWin1252(textos[k]) + "\r\n";
    GravarTudo(docName_, t.data(), t.size());
}

void TInfArqDocVet::Save(const std::string& docName) {
    SetNames(docName);
    Save();
}

bool TInfArqDocVet::AttributesAccepted() const {
    std::string id = Maiusculas(Trim(IdType)), ft = Maiusculas(Trim(FileType));
    std::string ob = Maiusculas(Trim(ObjectType)), rs = Maiusculas(Trim(RefSystem));
    std::string ru = Maiusculas(Trim(RefUnits));
    return ft == "BINARY" && (id == "REAL" || id == "INTEGER") && (ob == "LINE" || ob == "POLYGON") &&
           rs == "PLANE" && (ru == "M" || ru == "KM");
}

// ---------------------------------------------------------------- conversions

void ImportarIdrisi(const std::string& vecName, const std::string& titulo, TVET& vet) {
    TInfArqDocVet doc;
    if (!doc.Load(NomeDocDeVec(vecName))) throw EVandoro(doc.LastError());
    if (!doc.AttributesAccepted())
        throw EVandoro("Atributo do arquivo '" + NomeSemCaminho(vecName) + "' inválido.");
    std::string dados, erro;
    if (!LerTudo(vecName, dados, erro)) throw EVandoro(erro);

    TVET novo(Trim(doc.RefUnits));
    novo.SetTitle(titulo);
    novo.SetMinX(static_cast<float>(doc.MinX * doc.UnitDist));
    novo.SetMaxX(static_cast<float>(doc.MaxX * doc.UnitDist));
    novo.SetMinY(static_cast<float>(doc.MinY * doc.UnitDist));
    novo.SetMaxY(static_cast<float>(doc.MaxY * doc.UnitDist));

    const auto* p = reinterpret_cast<const uint8_t*>(dados.data());
    const size_t n = dados.size();
    const std::string nome = NomeSemCaminho(vecName);
    size_t pos = 0;
    long long bloco = 0;
    // A file that ends right after a whole block (no end marker) still gives every line.
    while (pos < n) {
        if (n - pos < 8)
            throw EVandoro("O arquivo '" + nome + "' está truncado: o bloco " + IntToStr(bloco + 1) +
                           " não tem identificador e número de pontos completos.");
        float valor = LerLE<float>(p + pos), cont = LerLE<float>(p + pos + 4);
        pos += 8;
        if (valor == 0 || std::nearbyint(cont) == 0) {
            // The end block closes the file; bytes after it belong to something else.
            if (pos != n)
                throw EVandoro("O arquivo '" + nome + "' está danificado: há " + IntToStr((long long)(n - pos)) +
                               " bytes depois da marca de fim dos dados.");
            break;
        }
        ++bloco;
        size_t resta = (n - pos) / 8;
        if (!std::isfinite(cont) || cont < 0 || std::nearbyint(cont) > (double)resta)
            throw EVandoro("O arquivo '" + nome + "' está truncado ou danificado: o bloco " + IntToStr(bloco) +
                           " anuncia " + FloatToStr(cont) + " pontos e só há dados para " +
                           IntToStr((long long)resta) + ".");
        if (!std::isfinite(valor))
            throw EVandoro("O arquivo '" + nome + "' está danificado: o bloco " + IntToStr(bloco) +
                           " não tem identificador numérico.");
        if (bloco > std::numeric_limits<int16_t>::max())
            throw EVandoro("O arquivo '" + nome + "' tem mais de 32767 linhas.");
        auto k = static_cast<size_t>(std::nearbyint(cont));
        TVetorRecPonto linha;
        linha.SetLineId(static_cast<int>(bloco));
        for (size_t j = 0; j < k; ++j, pos += 8) {
            const float x = LerLE<float>(p + pos), y = LerLE<float>(p + pos + 4);
            if (!std::isfinite(x) || !std::isfinite(y))
                throw EVandoro("O arquivo '" + nome + "' está danificado: o ponto " + IntToStr((long long)j + 1) +
                               " do bloco " + IntToStr(bloco) + " não tem coordenadas numéricas.");
            linha.Add(x, y, valor);
        }
        novo.AppendLine(linha);
    }
    if (bloco == 0) throw EVandoro("O arquivo '" + nome + "' não tem nenhuma linha.");
    vet = std::move(novo);
}

namespace {
// Blank-separated numbers of one line. Values written back to back ("...E+0000-1.5...")
// are split at a sign that follows a digit.
bool NumerosDaLinha(const std::string& l, std::vector<double>& out) {
    out.clear();
    size_t i = 0;
    while (i < l.size()) {
        while (i < l.size() && (l[i] == ' ' || l[i] == '\t' || l[i] == '\r')) ++i;
        if (i >= l.size()) break;
        size_t j = i + 1;
        while (j < l.size() && l[j] != ' ' && l[j] != '\t' && l[j] != '\r' &&
               !((l[j] == '-' || l[j] == '+') && std::isdigit((unsigned char)l[j - 1])))
            ++j;
        double v = 0;
        // Records hold 32-bit reals: a value beyond their range would turn into infinity.
        if (!TryStrToFloat(std::string_view(l).substr(i, j - i), v) || !std::isfinite(v) ||
            std::fabs(v) > std::numeric_limits<float>::max())
            return false;
        out.push_back(v);
        i = j;
    }
    return true;
}
}  // namespace

void ImportarSurfer(const std::string& txtName, const std::string& titulo, const std::string& units,
                    TVET& vet) {
    std::string dados, erro;
    if (!LerTudo(txtName, dados, erro)) throw EVandoro(erro);
    TVET novo(units);
    novo.SetTitle(titulo);
    const std::string nome = NomeSemCaminho(txtName);
    size_t i = 0;
    long long numLinha = 0, idAtual = 0;
    float zAnterior = 0;
    TVetorRecPonto linha;
    std::vector<double> v;
    while (i < dados.size()) {
        size_t f = dados.find('\n', i);
        if (f == std::string::npos) f = dados.size();
        std::string l = dados.substr(i, f - i);
        i = f + 1;
        if (++numLinha == 1) continue;  // column titles
        if (!NumerosDaLinha(l, v) || (!v.empty() && v.size() < 3))
            throw EVandoro("O arquivo '" + nome + "' tem uma linha inválida (" + IntToStr(numLinha) +
                           "): esperados três valores numéricos X Y Z.");
        if (v.empty()) continue;
        float x = static_cast<float>(v[0]), y = static_cast<float>(v[1]), z = static_cast<float>(v[2]);
        if (idAtual == 0 || z != zAnterior) {
            if (idAtual > 0) novo.AppendLine(linha);
            if (++idAtual > std::numeric_limits<int16_t>::max())
                throw EVandoro("O arquivo '" + nome + "' tem mais de 32767 linhas.");
            linha.Clear();
            linha.SetLineId(static_cast<int>(idAtual));
        }
        linha.Add(x, y, z);
        zAnterior = z;
    }
    if (idAtual > 0) novo.AppendLine(linha);
    novo.ComputeBounds();
    vet = std::move(novo);
}

void ExportarIdrisi(const TVET& vet, const std::string& vecName, const std::string& titulo) {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(vet.RecordCount()) * 8 + 64);
    auto f32 = [&](float x) {
        uint8_t b[4];
        GravarLE<float>(b, x);
        out.insert(out.end(), b, b + 4);
    };
    // Lines in file order, one block per run of equal ids, whatever the ids are. The count
    // goes back into the block header once the run is known.
    const int n = vet.RecordCount();
    long long linha = 0;
    for (int i = 0; i < n;) {
        const TRegistroVet primeiro = vet.Record(i);
        ++linha;
        if (primeiro.Z == 0)  // a zero identifier ends an Idrisi file
            throw EVandoro("A linha " + IntToStr(linha) +
                           " tem cota 0, que o formato do Idrisi lê como fim do arquivo; o arquivo não foi "
                           "exportado.");
        f32(primeiro.Z);
        const size_t posContagem = out.size();
        f32(0);
        int j = i;
        for (; j < n; ++j) {
            TRegistroVet r = vet.Record(j);
            if (r.Id != primeiro.Id) break;
            f32(r.X);
            f32(r.Y);
        }
        // Beyond 2^24 a 32-bit real no longer holds every whole count.
        if (j - i > (1 << 24))
            throw EVandoro("A linha " + IntToStr(linha) + " tem pontos demais para o formato do Idrisi.");
        GravarLE<float>(out.data() + posContagem, static_cast<float>(j - i));
        i = j;
    }
    f32(0);
    f32(0);

    const std::string docAlvo = NomeDocDeVec(vecName);
    TInfArqDocVet doc;
    doc.SetDefaults(docAlvo);
    doc.Title = titulo;
    doc.ObjectType = "line";
    doc.UnitDist = 1;
    // The bounds of the records themselves, so a file built in memory and never saved
    // still gets true bounds; the unit must follow the file, or a km file would come back in m.
    doc.MinX = vet.MinX();
    doc.MaxX = vet.MaxX();
    doc.MinY = vet.MinY();
    doc.MaxY = vet.MaxY();
    for (int i = 0; i < vet.RecordCount(); ++i) {
        TRegistroVet r = vet.Record(i);
        if (i == 0) {
            doc.MinX = doc.MaxX = r.X;
            doc.MinY = doc.MaxY = r.Y;
        }
        doc.MinX = std::min(doc.MinX, (double)r.X);
        doc.MaxX = std::max(doc.MaxX, (double)r.X);
        doc.MinY = std::min(doc.MinY, (double)r.Y);
        doc.MaxY = std::max(doc.MaxY, (double)r.Y);
    }
    std::string u = Maiusculas(Trim(vet.Units()));
    if (u == "M" || u == "KM") doc.RefUnits = Trim(vet.Units());
    // The .vec and its .dvc replace the old pair together.
    TConjuntoArquivos par;
    par.Membro(vecName, [&](const std::string& preparado) {
        GravarTudo(preparado, out.data(), out.size());
        doc.Save((std::filesystem::path(preparado).parent_path() / std::filesystem::path(docAlvo).filename()).string());
    });
    par.Gravar();
}

void ExportarSurfer(const TVET& vet, const std::string& txtName) {
    std::string t = "\"X\" \"Y\" \"Z\"\r\n";
    t.reserve(t.size() + static_cast<size_t>(vet.RecordCount()) * 71);
    // A negative value has no blank of its own before it; one is added so every reader
    // can split the values.
    auto valor = [&](float v, bool primeiro) {
        std::string s = FormatR(v);
        if (!primeiro && s[0] == '-') t += ' ';
        t += s;
    };
    for (int i = 0; i < vet.RecordCount(); ++i) {
        TRegistroVet r = vet.Record(i);
        valor(r.X, true);
        valor(r.Y, false);
        valor(r.Z, false);
        t += "\r\n";
    }
    GravarTudo(txtName, t.data(), t.size());
}

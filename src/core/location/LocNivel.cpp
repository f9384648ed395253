#include "core/location/LocNivel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "core/common/Arquivo.h"
#include "core/common/ConjuntoArquivos.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/common/Numeros.h"
#include "core/common/Progresso.h"
#include "core/common/Texto.h"
#include "core/location/ImgElev.h"
#include "core/location/Locacao.h"
#include "core/location/TracadoNivel.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/raster/ImgDeclive.h"
#include "core/raster/Vetor.h"

namespace {
const char* const kSecao = "LOCACAONIVEL";
}

bool TLocacaoNivel::Load(const std::string& projectPath) {
    try {
        IniFile ini(projectPath);
        if (!ini.Loaded()) return false;
        fnImgElev_ = ini.ReadString(kSecao, "fnImgElev", "");
        fnImgDecli_ = ini.ReadString(kSecao, "fnImgDecli", "");
        fnVetSaida_ = ini.ReadString(kSecao, "fnVetSaida", "");
        // Older projects have no boundary: the whole model.
        fnLimite_ = ini.ReadString(kSecao, "fnLimite", "");
        return true;
    } catch (...) {
        return false;
    }
}

bool TLocacaoNivel::Save(const std::string& projectPath) const {
    try {
        IniFile ini(projectPath);
        ini.WriteString(kSecao, "fnImgElev", fnImgElev_);
        ini.WriteString(kSecao, "fnImgDecli", fnImgDecli_);
        ini.WriteString(kSecao, "fnVetSaida", fnVetSaida_);
        // Only a field that has one: a project without stays as older versions wrote it.
        if (fnLimite_.empty()) ini.DeleteKey(kSecao, "fnLimite");
        else ini.WriteString(kSecao, "fnLimite", fnLimite_);
        ini.UpdateFile();
        return true;
    } catch (...) {
        return false;
    }
}

void TLocacaoNivel::Reset() {
    progress_.store(0);
    std::lock_guard<std::mutex> lock(statusMutex_);
    statusText_.clear();
}

std::string TLocacaoNivel::StatusText() const {
    std::lock_guard<std::mutex> lock(statusMutex_);
    return statusText_;
}

void TLocacaoNivel::SetStatusText(const std::string& text) {
    {
        std::lock_guard<std::mutex> lock(statusMutex_);
        if (statusText_ == text) return;
        statusText_ = text;
    }
    if (progresso_) progresso_->SetStatus(text);
}

// ---------------------------------------------------------------- the location run

namespace {
// Line ids are 16-bit in the vector file.
constexpr int kMaxIdLinha = 32767;
// Nesting of pocket handling (strip -> pocket -> its terraces -> their pockets ...).
constexpr int kMaxProfundidade = 64;
// Pockets handled in one run, and per strip.
constexpr long long kMaxBolsoes = 20000;
constexpr int kMaxBolsoesFaixa = 2000;
// Terraces one uphill procedure may place (bounded by the line ids anyway).
constexpr int kMaxSubida = kMaxIdLinha;

// Lines closer than two cells share pixels and stop against each other.
std::string AvisoDeResolucao(double espacamentoHorizontal, double celula) {
    if (!(espacamentoHorizontal < 2 * celula)) return "";
    return "O espaçamento horizontal entre terraços (" + FloatToStrFixed(espacamentoHorizontal, 1) +
           " m) é menor que duas células da imagem de elevação (" + FloatToStrFixed(2 * celula, 1) +
           " m): terraços vizinhos se tocam e a locação pode ficar incompleta. "
           "Use uma imagem de elevação de resolução maior.";
}

}  // namespace

TLocacaoNivel::TLocacaoNivel() : registros_(std::make_unique<TBDT>()) {}
TLocacaoNivel::~TLocacaoNivel() = default;

void TLocacaoNivel::SetModelo(TPrecipitacao* rainfall, TNumeroDaCurva* runoff, TTerracosNivel* terracos) {
    rainfall_ = rainfall;
    runoff_ = runoff;
    terracos_ = terracos;
}

bool TLocacaoNivel::Parar() {
    if (progresso_ && progresso_->StopRequested()) stopRequested_.store(true);
    return stopRequested_.load() || fim_;
}

void TLocacaoNivel::Respirar() {
    if (progresso_) {
        progresso_->SetPosition(static_cast<int>(std::lround(progress_.load())));
        progresso_->ProcessEvents();
    }
}

void TLocacaoNivel::Encerrar(const std::string& motivo) {
    fim_ = true;
    SetStatusText(motivo);
}

int TLocacaoNivel::MetodoEspacamento() const { return terracos_->Espacamento().Metodologia().Index(); }
double TLocacaoNivel::EV() const { return terracos_->Espacamento().EV(); }

// Spacing for a strip slope s (m/m); runoff St already holds s. A strip without slope
// (flat ground, common on integer-valued elevations) gives no spacing: the one in force is
// kept and false returned; the run goes on to the next strip.
bool TLocacaoNivel::RecomputeSpacing(double s) {
    if (!(s > 0) || !std::isfinite(s)) return false;
    TEspacamento& esp = terracos_->Espacamento();
    switch (MetodoEspacamento()) {
        case TMetodologiaEspacamento::EspacamentoArbitrado:
            esp.SetEH(esp.EV() / s);
            break;
        case TMetodologiaEspacamento::AlturaArbitrada:
            esp.SpacingFromCapacity(0, runoff_->RunoffDepth(*rainfall_), terracos_->Sm().Value(),
                                    terracos_->CDu(), terracos_->H(), s);
            break;
        default:
            esp.ComputeSpacing(s);
            break;
    }
    return true;
}

// Horizontal spacing and required height of a record whose EV, slope and area are set.
void TLocacaoNivel::CompleteRecord(TRegTerr& r) {
    if (!(r.slope > 0)) {
        // A flat or empty strip has no horizontal spacing (EV / 0): left unsized.
        r.height = 0;
        return;
    }
    if (MetodoEspacamento() == TMetodologiaEspacamento::AlturaArbitrada) {
        r.height = terracos_->H();
        return;
    }
    // A trial that found no line leaves St at -1/100; the channel needs a real slope.
    if (!(runoff_->St() > 0)) runoff_->SetSt(r.slope / 100);
    const double E = r.EV / (r.slope / 100);
    const double d = terracos_->HeightFor(*runoff_, *rainfall_, E);
    r.height = std::sqrt(terracos_->CDu()) * d + 0.1;
}

void TLocacaoNivel::AddProgress(double area) {
    processedArea_ += area;
    if (fieldAreaM2_ > 0) progress_.store(std::round(processedArea_ / fieldAreaM2_ * 100));
    Respirar();
}

// ---------------------------------------------------------------- lines and strips
//
// A strip is bounded by its lines' levels, not by the pixels a line was burnt into: the
// strip of a line at level lo under the line at hi is the free land with lo <= z < hi
// reached from the line's upper side. A line cut short where it meets assigned land then
// leaves no opening, and no pixel is lost under a burnt line.

namespace {
const int kVizC[4] = {0, 0, 1, -1};  // north, south, east, west
const int kVizR[4] = {-1, 1, 0, 0};
constexpr double kSemTeto = std::numeric_limits<double>::infinity();
// Free land under a placed line: open to the strips, closed to the tracer.
constexpr uint8_t kSobLinha = 10;
bool Livre(uint8_t code) { return code == TImgApoio::kLivre || code == kSobLinha; }
}  // namespace

bool TLocacaoNivel::TraceLine(TPixelS& P, double L, TLinhaPixel& line) {
    TTracadoNivel tracador(*elev_, *apoio_);
    if (!tracador.TraceLevelLine(P, L, line) || line.size() < 2) {
        line.clear();
        return false;
    }
    return true;
}

double TLocacaoNivel::LengthInCells(const TLinhaPixel& line) const {
    double s = 0;
    for (size_t i = 1; i < line.size(); ++i) s += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    return s;
}

// Each vertex lies on the segment between two neighbouring pixel centres (the cell edge
// the line crosses) or on a pixel centre; both are remembered for the line's level.
void TLocacaoNivel::MarkLine(const TLinhaPixel& line, double level) {
    auto& m = marcas_[level];
    const int64_t w = elev_->Columns();
    for (const TPontoPixel& v : line) {
        const double xi = std::nearbyint(v.x), yi = std::nearbyint(v.y);
        const bool xInt = std::fabs(v.x - xi) < 1e-9, yInt = std::fabs(v.y - yi) < 1e-9;
        int64_t c, r, tipo;
        if (xInt && yInt) {
            c = int64_t(xi), r = int64_t(yi), tipo = 2;
        } else if (xInt) {
            c = int64_t(xi), r = int64_t(std::floor(v.y)), tipo = 1;
        } else {
            c = int64_t(std::floor(v.x)), r = int64_t(yi), tipo = 0;
        }
        m.insert(((r - 1) * w + (c - 1)) * 4 + tipo);
    }
}

bool TLocacaoNivel::OnLine(int c1, int r1, int c2, int r2, double level) const {
    const auto it = marcas_.find(level);
    if (it == marcas_.end()) return false;
    const int64_t w = elev_->Columns();
    const auto idx = [w](int c, int r) { return (int64_t(r) - 1) * w + (c - 1); };
    const auto& m = it->second;
    // Where the level equals stored elevations the line runs through pixel centres and
    // steps diagonally; a pixel beside such a vertex is on the same contour.
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc)
            for (const auto& [c, r] : {std::pair{c1 + dc, r1 + dr}, std::pair{c2 + dc, r2 + dr}})
                if (elev_->Inside(c, r) && m.count(idx(c, r) * 4 + 2)) return true;
    const int c = std::min(c1, c2), r = std::min(r1, r2);
    return m.count(idx(c, r) * 4 + (r1 == r2 ? 0 : 1)) != 0;
}

// The free pixels at or above the level beside the line's vertices.
std::vector<TPixel> TLocacaoNivel::SeedsAbove(const TLinhaPixel& line, double level) const {
    std::vector<TPixel> s;
    const auto tenta = [&](int c, int r) {
        if (!apoio_->Inside(c, r) || !Livre(apoio_->Cell(r, c))) return;
        const float z = elev_->Cell(r, c);
        if (z != 0 && z >= level) s.emplace_back(c, r);
    };
    for (const TPontoPixel& v : line) {
        const double xi = std::nearbyint(v.x), yi = std::nearbyint(v.y);
        const bool xInt = std::fabs(v.x - xi) < 1e-9, yInt = std::fabs(v.y - yi) < 1e-9;
        if (xInt && yInt) {
            tenta(int(xi), int(yi));
        } else if (xInt) {
            tenta(int(xi), int(std::floor(v.y)));
            tenta(int(xi), int(std::floor(v.y)) + 1);
        } else {
            tenta(int(std::floor(v.x)), int(yi));
            tenta(int(std::floor(v.x)) + 1, int(yi));
        }
    }
    return s;
}

// Free land with lo <= z < hi reached from the seeds (4-neighbour steps) becomes the strip.
void TLocacaoNivel::FloodBand(const std::vector<TPixel>& seeds, double lo, double hi) {
    std::vector<TPixel> pilha;
    const auto entra = [&](int c, int r) {
        if (!apoio_->Inside(c, r)) return;
        uint8_t& v = apoio_->Row(r)[c - 1];
        if (v != TImgApoio::kLivre && v != kSobLinha) return;
        const float z = elev_->Row(r)[c - 1];
        if (z == 0 || !(z >= lo) || !(z < hi)) return;
        faixaCodigo_.push_back(v);
        v = TImgApoio::kFaixa;
        faixa_.emplace_back(c, r);
        pilha.emplace_back(c, r);
    };
    for (const TPixel& s : seeds) entra(s.Col(), s.Row());
    while (!pilha.empty()) {
        const TPixel p = pilha.back();
        pilha.pop_back();
        for (int k = 0; k < 4; ++k) entra(p.Col() + kVizC[k], p.Row() + kVizR[k]);
    }
}

void TLocacaoNivel::ReleaseStrip() {
    for (size_t i = 0; i < faixa_.size(); ++i) apoio_->Row(faixa_[i].Row())[faixa_[i].Col() - 1] = faixaCodigo_[i];
    faixa_.clear();
    faixaCodigo_.clear();
}

// A placed line's pixels stay open to the strips but no later line may pass through them,
// so lines never cross.
void TLocacaoNivel::BurnPlaced(const TLinhaPixel& line) {
    std::vector<TPixel> px;
    for (size_t i = 0; i < line.size(); ++i) {
        const TPontoPixel& v = line[i];
        px.emplace_back(int(std::nearbyint(v.x)), int(std::nearbyint(v.y)));
        // A diagonal step between pixel centres (level equal to stored elevations) would let
        // another line cross through the other two pixels of the block.
        if (i > 0 && std::fabs(v.x - line[i - 1].x) == 1 && std::fabs(v.y - line[i - 1].y) == 1 &&
            v.x == std::nearbyint(v.x) && v.y == std::nearbyint(v.y)) {
            px.emplace_back(int(v.x), int(line[i - 1].y));
            px.emplace_back(int(line[i - 1].x), int(v.y));
        }
    }
    for (const TPixel& p : px) {
        const int c = p.Col(), r = p.Row();
        if (!apoio_->Inside(c, r)) continue;
        uint8_t& code = apoio_->Row(r)[c - 1];
        // A strip pixel (31) under the line is committed with its strip: it is never
        // released, since lines are burnt once placed.
        if (code == TImgApoio::kLivre) code = kSobLinha;
    }
}

// Mean slope (%) under the pixels; a flat cell (slope without data) counts as 0, as it does
// in the field's mean.
double TLocacaoNivel::StripSlope(const std::vector<TPixel>& px) const {
    if (px.empty()) return 0;
    double soma = 0;
    for (const TPixel& p : px) soma += decl_->Row(p.Row())[p.Col() - 1];
    return soma / static_cast<double>(px.size());
}

// Mean slope of a trial strip. Where consecutive lines fall on neighbouring pixels (coarse
// pixels on steep ground) the strip between them is empty and says nothing about the slope:
// the last strip's slope stands in for it.
double TLocacaoNivel::TrialSlope() {
    if (faixa_.empty()) return lastSlope_;
    lastSlope_ = StripSlope(faixa_);
    return lastSlope_;
}

TRegTerr* TLocacaoNivel::AddRecord(int id, double level, double slope, double length) {
    auto r = std::make_unique<TRegTerr>();
    r->id = id;
    r->level = level;
    r->slope = slope;
    r->length = length;
    r->EV = EV();
    return registros_->Add(std::move(r));
}

// A new record for a line placed with the interval in force; the line goes to the vector
// file when the run is saved. Returns the record's position.
int TLocacaoNivel::Emit(int id, const TLinhaPixel& line, double level, double slope, int sentido, double origem) {
    double comprimento = 0;
    const double w = elev_->CellWidth(), h = elev_->CellHeight();
    for (size_t i = 1; i < line.size(); ++i)
        comprimento += std::hypot((line[i].x - line[i - 1].x) * w, (line[i].y - line[i - 1].y) * h);
    AddRecord(id, level, slope, comprimento * metresPerUnit_);
    linhas_.push_back(line);
    origens_.push_back(TOrigemTerraco{id, sentido, origem});
    tetos_.push_back(kSemTeto);
    return registros_->Count();
}

// The position equals the terrace number when every number got its line; search otherwise.
TRegTerr* TLocacaoNivel::RecordById(int id) {
    if (id >= 1 && id <= registros_->Count() && registros_->Item(id) && registros_->Item(id)->id == id)
        return registros_->Item(id);
    for (int i = 1; i <= registros_->Count(); ++i)
        if (registros_->Item(i) && registros_->Item(i)->id == id) return registros_->Item(i);
    return nullptr;
}

// After the downhill procedure numbered a line: past the limit the number is given back and
// the run remembers why it ended.
bool TLocacaoNivel::PassouLimiteDescida() {
    if (TerraceCount() <= kMaxTerracosDescida) return false;
    terraceCount_.fetch_sub(1);
    limiteDescida_ = true;
    return true;
}

// TerraceCount += 1, unless the vector file cannot number another line.
bool TLocacaoNivel::NextTerrace() {
    if (TerraceCount() >= kMaxIdLinha) {
        Encerrar("Locação encerrada: limite de " + std::to_string(kMaxIdLinha) + " linhas atingido.");
        return false;
    }
    terraceCount_.fetch_add(1);
    return true;
}

// One level down from P: a start pixel below 'nivel' searched from P's lowest neighbour, the
// line through it, and the strip above the line up to 'teto'. When that start gives no
// line (its contour is a speck, or runs into assigned land) the level is looked for in the
// free land below the line above ('acima', null for the summit): the first pixel pair that
// straddles it there, in the order the land is reached, starts the line.
bool TLocacaoNivel::PlaceDown(TPixelS& P, double nivel, double teto, TLinhaPixel& linha, const TLinhaPixel* acima) {
    TPixelS Q = P;
    apoio_->ExtremeNeighbour(*elev_, Q, 1);
    TPixelS inicio = apoio_->FindLevelStart(Q.Col(), Q.Row(), 1, nivel, *elev_);
    bool ok = inicio.Col() >= 0;
    if (ok) {
        inicio.SetValue(static_cast<float>(nivel));
        ok = TraceLine(inicio, nivel, linha) && LengthInCells(linha) >= 2;
    }
    if (!ok) {
        linha.clear();
        const int w = elev_->Columns();
        const auto idx = [w](int c, int r) { return static_cast<size_t>(r - 1) * w + (c - 1); };
        std::vector<char> visto(static_cast<size_t>(w) * elev_->Rows(), 0);
        std::vector<TPixel> fila;
        const auto entra = [&](int c, int r) {
            if (!apoio_->Inside(c, r) || visto[idx(c, r)] || !Livre(apoio_->Cell(r, c))) return;
            const float z = elev_->Cell(r, c);
            if (z == 0 || !(z >= nivel) || !(z < teto)) return;
            visto[idx(c, r)] = 1;
            fila.emplace_back(c, r);
        };
        if (acima) {
            for (const TPontoPixel& v : *acima)
                for (int c = int(std::floor(v.x)) - 1; c <= int(std::ceil(v.x)) + 1; ++c)
                    for (int r = int(std::floor(v.y)) - 1; r <= int(std::ceil(v.y)) + 1; ++r) entra(c, r);
        } else {
            entra(P.Col(), P.Row());
        }
        int tentativas = 0;
        for (size_t k = 0; k < fila.size() && !ok && tentativas < 64; ++k) {
            const TPixel p = fila[k];
            for (int d = 0; d < 4 && !ok; ++d) {
                const int c = p.Col() + kVizC[d], r = p.Row() + kVizR[d];
                if (!apoio_->Inside(c, r) || !Livre(apoio_->Cell(r, c))) continue;
                const float z = elev_->Cell(r, c);
                if (z != 0 && z < nivel) {
                    ++tentativas;
                    inicio = TPixelS(p.Col(), p.Row(), static_cast<float>(nivel));
                    ok = TraceLine(inicio, nivel, linha) && LengthInCells(linha) >= 2;
                    if (!ok) linha.clear();
                } else {
                    entra(c, r);
                }
            }
        }
        if (!ok) return false;
    }
    P = inicio;
    FloodBand(SeedsAbove(linha, nivel), nivel, teto);
    return true;
}

// One level up from P (on the line at 'abaixo'): a start pixel above 'nivel' searched from
// P's highest neighbour, the line through it and the strip between the two lines. Without
// a line the strip is the whole cap above the lower line.
bool TLocacaoNivel::PlaceUp(TPixelS& P, double nivel, double abaixo, const TLinhaPixel& linhaAbaixo,
                            TLinhaPixel& linha) {
    TPixelS Q = P;
    apoio_->ExtremeNeighbour(*elev_, Q, 0);
    TPixelS inicio = apoio_->FindLevelStart(Q.Col(), Q.Row(), 0, nivel, *elev_);
    if (inicio.Col() >= 0) {
        inicio.SetValue(static_cast<float>(nivel));
        if (TraceLine(inicio, nivel, linha) && LengthInCells(linha) >= 2) {
            P = inicio;
            FloodBand(SeedsAbove(linhaAbaixo, abaixo), abaixo, nivel);
            return true;
        }
    }
    linha.clear();
    FloodBand(SeedsAbove(linhaAbaixo, abaixo), abaixo, kSemTeto);
    return false;
}

void TLocacaoNivel::LocateDownhill(TPixelS P, double acima, int depth, const TLinhaPixel* linhaAcima) {
    const bool arbitrado = MetodoEspacamento() == TMetodologiaEspacamento::EspacamentoArbitrado;
    // The summit's cap has no line above it.
    double teto = depth == 0 ? kSemTeto : acima;
    TLinhaPixel anterior;
    const TLinhaPixel* acimaLinha = linhaAcima;
    for (bool primeira = true;; primeira = false) {
        if (Parar()) return;
        if (TerraceCount() >= kMaxTerracosDescida + 1) {
            limiteDescida_ = true;
            return;
        }
        double nivel = acima - ev0_;
        if (nivel <= minElev_) return;
        Respirar();
        TPixelS inicio = P;
        TLinhaPixel linha;
        bool achou = PlaceDown(inicio, nivel, teto, linha, acimaLinha);
        Respirar();
        const double s = achou ? TrialSlope() : -1;
        if (!achou) return;
        if (!arbitrado) {
            // The line again, at the interval the trial strip's slope gives.
            runoff_->SetSt(s / 100);
            RecomputeSpacing(s / 100);
            ReleaseStrip();
            if (Parar()) return;
            nivel = acima - EV();
            inicio = P;
            if (!PlaceDown(inicio, nivel, teto, linha, acimaLinha)) return;
        }
        if (!NextTerrace()) {
            ReleaseStrip();
            return;
        }
        if (PassouLimiteDescida()) {
            if (primeira && depth == 0) stopRequested_.store(true);
            ReleaseStrip();
            return;
        }
        if (arbitrado) {
            TEspacamento& esp = terracos_->Espacamento();
            if (runoff_->St() > 0) esp.SetEH(esp.EV() / runoff_->St());
        }
        const int id = TerraceCount();
        Emit(id, linha, nivel, s, TOrigemTerraco::Descida, acima);
        tetos_.back() = teto;
        MarkLine(linha, nivel);
        BurnPlaced(linha);
        CompleteStrip(id, nivel, teto, linha, depth);
        if (Parar()) return;
        if (depth == 0) FindAllPieces(nivel, depth);
        if (Parar()) return;
        acima = teto = nivel;
        P = inicio;
        anterior = std::move(linha);
        acimaLinha = &anterior;
    }
}

void TLocacaoNivel::LocateUphill(TPeca L, int depth) {
    if (Parar() || !NextTerrace()) return;
    const bool arbitrado = MetodoEspacamento() == TMetodologiaEspacamento::EspacamentoArbitrado;
    int idL = TerraceCount();
    bool base = true;
    for (int volta = 0; volta < kMaxSubida; ++volta) {
        const double x = L.nivel;
        TPixelS t = L.inicio;
        TLinhaPixel tentativa;
        bool achou = PlaceUp(t, x + ev0_, x, L.linha, tentativa);
        const double q = TrialSlope();
        runoff_->SetSt(q / 100);
        RecomputeSpacing(q / 100);
        if (base) {
            // The pocket's own line, at the level it was found at.
            Emit(idL, L.linha, x, q, TOrigemTerraco::Peca, x);
            base = false;
        }
        if (!achou) {
            CompleteStrip(idL, x, kSemTeto, L.linha, depth);
            return;
        }
        TPeca N;
        if (arbitrado) {
            N.linha = std::move(tentativa);
            N.inicio = t;
            N.nivel = x + ev0_;
        } else {
            ReleaseStrip();
            if (Parar()) return;
            N.nivel = x + EV();
            N.inicio = L.inicio;
            if (!PlaceUp(N.inicio, N.nivel, x, L.linha, N.linha)) {
                CompleteStrip(idL, x, kSemTeto, L.linha, depth);
                return;
            }
        }
        if (!NextTerrace()) {
            ReleaseStrip();
            return;
        }
        const int id = TerraceCount();
        Emit(id, N.linha, N.nivel, q, TOrigemTerraco::Subida, x);
        MarkLine(N.linha, N.nivel);
        BurnPlaced(N.linha);
        CompleteStrip(idL, x, N.nivel, L.linha, depth);
        if (Parar()) return;
        L = std::move(N);
        idL = id;
    }
}

// A piece of the level through the pair (c, r) - (cq, rq), traced from (c, r), the pixel on
// the level's upper side. The pair is remembered either way, so it is tried once; a line
// under two cells is dropped.
bool TLocacaoNivel::TracePiece(int c, int r, int cq, int rq, double nivel, TPeca& p) {
    p.nivel = nivel;
    p.inicio = TPixelS(c, r, static_cast<float>(nivel));
    const bool ok = TraceLine(p.inicio, nivel, p.linha);
    auto& m = marcas_[nivel];
    const int64_t w = elev_->Columns();
    const int cc = std::min(c, cq), rr = std::min(r, rq);
    m.insert(((int64_t(rr) - 1) * w + (cc - 1)) * 4 + (r == rq ? 0 : 1));
    if (!ok) return false;
    MarkLine(p.linha, nivel);
    if (LengthInCells(p.linha) < 2) {
        ++pecasDescartadas_;
        return false;
    }
    ++pockets_;
    BurnPlaced(p.linha);
    return true;
}

// Pieces of the level anywhere in the unassigned land: hills or rises whose land above the
// level touches no strip. Each is terraced uphill from its line.
void TLocacaoNivel::FindAllPieces(double nivel, int depth) {
    if (depth >= kMaxProfundidade || pockets_ >= kMaxBolsoes) return;
    std::vector<TPeca> pecas;
    for (int r = 1; r <= elev_->Rows(); ++r) {
        const float* z = elev_->Row(r);
        const uint8_t* a = apoio_->Row(r);
        for (int c = 1; c <= elev_->Columns(); ++c) {
            if (!Livre(a[c - 1]) || z[c - 1] == 0 || !(z[c - 1] >= nivel)) continue;
            for (int k = 0; k < 4; ++k) {
                const int cq = c + kVizC[k], rq = r + kVizR[k];
                if (!apoio_->Inside(cq, rq) || !Livre(apoio_->Cell(rq, cq))) continue;
                const float zq = elev_->Cell(rq, cq);
                if (zq == 0 || !(zq < nivel) || OnLine(c, r, cq, rq, nivel)) continue;
                TPeca p;
                if (TracePiece(c, r, cq, rq, nivel, p)) pecas.push_back(std::move(p));
            }
        }
    }
    for (TPeca& p : pecas) {
        if (Parar()) return;
        LocateUphill(std::move(p), depth + 1);
    }
}

// The strip just flooded belongs to the line 'id' at 'lo' (under 'hi'). Other pieces of the
// two levels at its edges, found by pixel pairs that straddle a level in open land, are
// traced: those at 'lo' share the strip (each pixel goes to the nearest line) and go on
// downhill; those at 'hi' are hills rising out of it and are terraced uphill. Lines under
// two cells are dropped and their land stays with the strip.
void TLocacaoNivel::CompleteStrip(int id, double lo, double hi, const TLinhaPixel& linha, int depth) {
    std::vector<TPixel> C;
    C.swap(faixa_);
    faixaCodigo_.clear();
    std::sort(C.begin(), C.end(), [](const TPixel& a, const TPixel& b) {
        return a.Row() != b.Row() ? a.Row() < b.Row() : a.Col() < b.Col();
    });
    std::vector<TPeca> baixo, cima;
    const bool procura = depth < kMaxProfundidade && pockets_ < kMaxBolsoes;
    const bool temTeto = std::isfinite(hi);
    const auto pecaEm = [&](int c, int r, int cq, int rq, double nivel, std::vector<TPeca>& lista) {
        TPeca p;
        if (TracePiece(c, r, cq, rq, nivel, p)) lista.push_back(std::move(p));
    };
    if (procura)
        for (const TPixel& p : C) {
            const int c = p.Col(), r = p.Row();
            for (int k = 0; k < 4; ++k) {
                const int cq = c + kVizC[k], rq = r + kVizR[k];
                if (!apoio_->Inside(cq, rq) || !Livre(apoio_->Cell(rq, cq))) continue;
                const float zq = elev_->Cell(rq, cq);
                if (zq == 0) continue;
                if (zq < lo) {
                    if (!OnLine(c, r, cq, rq, lo)) pecaEm(c, r, cq, rq, lo, baixo);
                } else if (temTeto && zq >= hi) {
                    if (!OnLine(c, r, cq, rq, hi)) pecaEm(cq, rq, c, r, hi, cima);
                }
            }
            if (pockets_ >= kMaxBolsoes) break;
        }

    // Pieces at the strip's own level are terraces of that level sharing the strip.
    std::vector<int> ids;
    for (TPeca& p : baixo) {
        if (!NextTerrace()) break;
        ids.push_back(TerraceCount());
        Emit(ids.back(), p.linha, lo, 0, TOrigemTerraco::Peca, lo);
        tetos_.back() = hi;
    }
    baixo.resize(ids.size());

    // Each pixel to the nearest line (4-neighbour steps inside the strip).
    std::vector<int32_t>& dono = mapaFaixas_.terraco;
    const int w = elev_->Columns();
    const auto idx = [w](int c, int r) { return static_cast<size_t>(r - 1) * w + (c - 1); };
    std::vector<TPixel> fila;
    const auto semeia = [&](const TLinhaPixel& l, int quem) {
        for (const TPontoPixel& v : l) {
            const int cs[2] = {int(std::floor(v.x)), int(std::ceil(v.x))};
            const int rs[2] = {int(std::floor(v.y)), int(std::ceil(v.y))};
            for (int a = 0; a < 2; ++a)
                for (int b = 0; b < 2; ++b) {
                    const int c = cs[a], r = rs[b];
                    if (!apoio_->Inside(c, r) || apoio_->Cell(r, c) != TImgApoio::kFaixa || dono[idx(c, r)] != 0) continue;
                    dono[idx(c, r)] = quem;
                    fila.emplace_back(c, r);
                }
        }
    };
    if (!baixo.empty()) {
        semeia(linha, id);
        for (size_t i = 0; i < baixo.size(); ++i) semeia(baixo[i].linha, ids[i]);
        for (size_t k = 0; k < fila.size(); ++k) {
            const TPixel p = fila[k];
            for (int d = 0; d < 4; ++d) {
                const int c = p.Col() + kVizC[d], r = p.Row() + kVizR[d];
                if (!apoio_->Inside(c, r) || apoio_->Cell(r, c) != TImgApoio::kFaixa || dono[idx(c, r)] != 0) continue;
                dono[idx(c, r)] = dono[idx(p.Col(), p.Row())];
                fila.push_back(TPixel(c, r));
            }
        }
    }
    std::map<int, std::vector<TPixel>> partes;
    for (const TPixel& p : C) {
        int32_t& d = dono[idx(p.Col(), p.Row())];
        if (d == 0) d = id;
        partes[d].push_back(p);
        apoio_->Row(p.Row())[p.Col() - 1] = TImgApoio::kFechado;
    }
    committedArea_ += static_cast<double>(C.size()) * pixelArea_;
    const bool arbitrado = MetodoEspacamento() == TMetodologiaEspacamento::EspacamentoArbitrado;
    if (TRegTerr* r = RecordById(id)) {
        r->area += static_cast<double>(partes[id].size()) * pixelArea_;
        if (!arbitrado && r->slope > 0) runoff_->SetSt(r->slope / 100);
        CompleteRecord(*r);
    }
    for (size_t i = 0; i < baixo.size(); ++i) {
        TRegTerr* r = RecordById(ids[i]);
        if (!r) continue;
        const std::vector<TPixel>& parte = partes[ids[i]];
        r->area = static_cast<double>(parte.size()) * pixelArea_;
        const double S = StripSlope(parte);
        r->slope = S;
        if (S > 0) {
            runoff_->SetSt(S / 100);
            RecomputeSpacing(S / 100);
            r->EV = EV();
        }
        CompleteRecord(*r);
    }
    AddProgress(static_cast<double>(C.size()) * pixelArea_);

    for (TPeca& p : cima) {
        if (Parar()) return;
        LocateUphill(std::move(p), depth + 1);
    }
    for (TPeca& p : baixo) {
        if (Parar()) return;
        LocateDownhill(p.inicio, lo, depth + 1, &p.linha);
    }
}

bool TLocacaoNivel::HasRoom(const TImgApoio& apoio, double pixelArea, int col, int row) {
    const double n0 = std::trunc(5 / pixelArea);
    const int limite = std::max(apoio.Rows(), apoio.Columns()) + 1;
    const int n = n0 > limite ? limite : static_cast<int>(n0);
    // North, south, east, west, north-west, north-east, south-west, south-east.
    static const int kDc[8] = {0, 0, 1, -1, -1, 1, -1, 1};
    static const int kDr[8] = {-1, 1, 0, 0, -1, -1, 1, 1};
    for (int k = 0; k < 8; ++k)
        for (int i = 1; i <= n; ++i) {
            const int c = col + i * kDc[k], r = row + i * kDr[k];
            if (!apoio.Inside(c, r) || apoio.TensAt(c, r) == 0) return false;
        }
    return true;
}

// Land the strips did not reach but that lies within a neighbour strip's band (up to the
// elevation step to that strip) joins it: a line that stopped against assigned land, or a
// piece too short to be a terrace, leaves such pixels.
void TLocacaoNivel::JoinRemainder() {
    std::vector<int32_t>& dono = mapaFaixas_.terraco;
    const int w = elev_->Columns(), h = elev_->Rows();
    std::vector<double> lo(static_cast<size_t>(TerraceCount()) + 1, kSemTeto), hi(lo.size(), kSemTeto);
    std::vector<int> pos(lo.size(), 0);
    for (int i = 1; i <= registros_->Count(); ++i) {
        const int id = registros_->Item(i)->id;
        if (id < 0 || id >= int(lo.size())) continue;
        lo[id] = registros_->Item(i)->level;
        hi[id] = tetos_[size_t(i - 1)];
        pos[id] = i;
    }
    std::vector<TPixel> fila;
    for (int r = 1; r <= h; ++r)
        for (int c = 1; c <= w; ++c)
            if (dono[size_t(r - 1) * w + (c - 1)] > 0) fila.emplace_back(c, r);
    std::vector<long long> ganho(lo.size(), 0);
    long long total = 0;
    for (size_t k = 0; k < fila.size(); ++k) {
        const TPixel p = fila[k];
        const int id = dono[size_t(p.Row() - 1) * w + (p.Col() - 1)];
        if (id <= 0 || id >= int(lo.size())) continue;
        for (int d = 0; d < 4; ++d) {
            const int c = p.Col() + kVizC[d], r = p.Row() + kVizR[d];
            if (!apoio_->Inside(c, r) || !Livre(apoio_->Cell(r, c))) continue;
            const double z = elev_->Cell(r, c);
            if (z == 0) continue;
            // The steps to the cell's lowest and highest neighbours (a line may pass
            // through the cell and leave it on either side of the level).
            double baixo = 0, alto = 0;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc) {
                    const double v = elev_->ElevationAt(c + dc, r + dr);
                    if (v == 0) continue;
                    baixo = std::max(baixo, z - v);
                    alto = std::max(alto, v - z);
                }
            if (!(z + baixo >= lo[id] && z - alto <= hi[id])) continue;
            apoio_->Row(r)[c - 1] = TImgApoio::kFechado;
            dono[size_t(r - 1) * w + (c - 1)] = id;
            ++ganho[id];
            ++total;
            fila.emplace_back(c, r);
        }
    }
    for (size_t id = 1; id < ganho.size(); ++id)
        if (ganho[id] && pos[id]) registros_->Item(pos[id])->area += static_cast<double>(ganho[id]) * pixelArea_;
    committedArea_ += static_cast<double>(total) * pixelArea_;
    if (total) AddProgress(static_cast<double>(total) * pixelArea_);
}

// A record whose strip has no area is no terrace.
void TLocacaoNivel::DropEmptyRecords() {
    auto novos = std::make_unique<TBDT>();
    std::vector<TLinhaPixel> linhas;
    std::vector<TOrigemTerraco> origens;
    std::vector<double> tetos;
    for (int i = 1; i <= registros_->Count(); ++i) {
        const TRegTerr& r = *registros_->Item(i);
        if (!(r.area > 0)) {
            ++pecasDescartadas_;
            continue;
        }
        novos->Add(std::make_unique<TRegTerr>(r));
        linhas.push_back(std::move(linhas_[size_t(i - 1)]));
        origens.push_back(origens_[size_t(i - 1)]);
        origens.back().teto = tetos_[size_t(i - 1)];
        tetos.push_back(tetos_[size_t(i - 1)]);
    }
    registros_ = std::move(novos);
    linhas_ = std::move(linhas);
    origens_ = std::move(origens);
    tetos_ = std::move(tetos);
}

// Field above the lowest line's level in no strip.
void TLocacaoNivel::Measure() {
    areaDescoberta_ = 0;
    if (registros_->Count() == 0) return;
    double minimo = kSemTeto;
    for (int i = 1; i <= registros_->Count(); ++i) minimo = std::min(minimo, registros_->Item(i)->level);
    long long n = 0;
    const int w = elev_->Columns();
    for (int r = 1; r <= elev_->Rows(); ++r)
        for (int c = 1; c <= w; ++c) {
            const float z = elev_->Cell(r, c);
            if (z != 0 && z >= minimo && mapaFaixas_.terraco[size_t(r - 1) * w + (c - 1)] == 0) ++n;
        }
    areaDescoberta_ = static_cast<double>(n) * pixelArea_ / 10000;
}

// Why a run from the highest point 'topo' placed no line: the relief is within the vertical
// interval (the one set for the field or the one the first strip gave), or no level line
// could be traced on what is left of the field.
std::string TLocacaoNivel::MotivoSemTerracos(double topo) const {
    const double desnivel = topo - minElev_;
    for (double ev : {ev0_, EV()})
        if (!(desnivel > ev))
            return "Nenhum terraço foi locado: o desnível da área (" + FloatToStrFixed(desnivel, 2) +
                   " m) não passa do espaçamento vertical entre terraços (" + FloatToStrFixed(ev, 2) +
                   " m). Use um espaçamento menor ou uma área maior.";
    return "Nenhum terraço foi locado: nenhuma curva de nível com o espaçamento vertical de " +
           FloatToStrFixed(EV(), 2) + " m pôde ser traçada a partir do ponto mais alto (" +
           FloatToStrFixed(topo, 2) + " m); a área é pequena ou recortada demais para esse espaçamento.";
}

void TLocacaoNivel::SaveOutputs(const TSaidasExtras& extras) {
    if (elev_ && vet_) {
        for (int i = 1; i <= registros_->Count(); ++i) {
            TVetorRecPonto p;
            TLinhaMapa& m = linhasMapa_.emplace_back();
            m.id = registros_->Item(i)->id;
            m.level = registros_->Item(i)->level;
            p.SetLineId(m.id);
            // Pixel coordinates are 1-based with centres at whole numbers.
            for (const TPontoPixel& v : linhas_[size_t(i - 1)]) {
                m.x.push_back(grade_.XDoCentro(v.x - 1));
                m.y.push_back(grade_.YDoCentro(v.y - 1));
                p.Add(static_cast<float>(m.x.back()), static_cast<float>(m.y.back()), static_cast<float>(m.level));
            }
            vet_->AppendLine(p);
        }
    }
    elev_.reset();
    decl_.reset();
    apoio_.reset();
    // The vector, the table and whatever the caller adds replace the old ones as one set.
    TConjuntoArquivos conjunto;
    if (vet_) conjunto.Membro(runOutput_, [this](const std::string& tmp) { vet_->Save(tmp); });
    conjunto.Membro(arquivoBDT_, [this](const std::string& tmp) { registros_->SaveToFile(tmp); });
    if (extras) extras(conjunto);
    try {
        conjunto.Gravar();
    } catch (...) {
        vet_.reset();
        throw;
    }
    vet_.reset();
}

void TLocacaoNivel::Processar(const std::string& elevPath, const std::string& slopePath, TPrecipitacao& rainfall,
                              TNumeroDaCurva& runoff, TTerracosNivel& terracos, const std::string& outputPath,
                              const TSaidasExtras& extras) {
    terraceCount_.store(0);
    ev0_ = pixelArea_ = processedArea_ = committedArea_ = fieldArea_ = fieldAreaM2_ = 0;
    metresPerUnit_ = 0;
    fim_ = false;
    limiteDescida_ = false;
    avisoResolucao_.clear();
    pockets_ = 0;
    pecasDescartadas_ = 0;
    areaDescoberta_ = 0;
    celulasCampo_ = 0;
    linhas_.clear();
    origens_.clear();
    tetos_.clear();
    faixa_.clear();
    faixaCodigo_.clear();
    marcas_.clear();
    mapaFaixas_ = TMapaFaixas{};
    runElev_ = elevPath;
    runSlope_ = slopePath;
    runOutput_ = outputPath;
    SetModelo(&rainfall, &runoff, &terracos);
    registros_ = std::make_unique<TBDT>();
    linhasMapa_.clear();
    vet_.reset();
    arquivoBDT_ = TabelaDaSaida(outputPath);

    progress_.store(0);
    SetStatusText("");
    SetStatusText("Carregando Imagens");
    if (progresso_) {
        progresso_->SetMax(100);
        Respirar();
    }
    try {
        elev_ = std::make_unique<TImgElevacao>();
        elev_->Load(elevPath);
        if (elev_->HadInvalid()) elev_->SaveToFile(elevPath + "t1.ras");
        progress_.store(30);
        Respirar();
        decl_ = std::make_unique<TImgDeclive>();
        decl_->LoadFromImage(slopePath);
        if (decl_->Rows() != elev_->Rows() || decl_->Columns() != elev_->Columns())
            throw EVandoro("As imagens de elevação e de declividade não têm o mesmo número de linhas e colunas.");
        if (mascara_) mascara_(*elev_, *decl_);
        // One field for every measure: the cells with an elevation. A cell the mask (or the
        // load) left without elevation has no slope either; a slope without data is a flat
        // cell, slope 0.
        for (int r = 1; r <= elev_->Rows(); ++r) {
            float* z = elev_->Row(r);
            float* d = decl_->Row(r);
            for (int c = 0; c < elev_->Columns(); ++c) {
                if (!(z[c] > 0) || !std::isfinite(z[c])) z[c] = 0;
                if (z[c] == 0 || !(d[c] > 0) || !std::isfinite(d[c])) d[c] = 0;
            }
        }
        if (mascara_) {
            // The top and bottom of what the boundary left.
            float mn = 0, mx = 0;
            bool algum = false;
            for (int r = 1; r <= elev_->Rows(); ++r) {
                const float* z = elev_->Row(r);
                for (int c = 0; c < elev_->Columns(); ++c)
                    if (z[c] != 0) {
                        mn = algum ? std::min(mn, z[c]) : z[c];
                        mx = algum ? std::max(mx, z[c]) : z[c];
                        algum = true;
                    }
            }
            elev_->SetMinValue(mn);
            elev_->SetMaxValue(mx);
        }
        progress_.store(60);
        Respirar();
        if (outputPath.empty()) throw EVandoro("Nenhum nome de arquivo de saída fornecido.");
    } catch (...) {
        elev_.reset();
        decl_.reset();
        throw;
    }

    std::string semTerracos;
    try {
        vet_ = std::make_unique<TVET>(elev_->UnitDist());
        progress_.store(72);
        Respirar();
        apoio_ = std::make_unique<TImgApoio>(*elev_);
        grade_ = TGradeMapa{elev_->MinX(), static_cast<double>(elev_->MinY()) + elev_->Rows() * static_cast<double>(elev_->CellHeight()),
                            elev_->CellWidth(), elev_->CellHeight(), elev_->Columns(), elev_->Rows()};
        mapaFaixas_.colunas = elev_->Columns();
        mapaFaixas_.linhas = elev_->Rows();
        mapaFaixas_.grade = grade_;
        mapaFaixas_.unidade = elev_->UnitDist();
        mapaFaixas_.terraco.assign(static_cast<size_t>(elev_->Columns()) * elev_->Rows(), 0);
        for (int r = 1; r <= elev_->Rows(); ++r)
            for (int c = 1; c <= elev_->Columns(); ++c)
                if (elev_->Cell(r, c) == 0)
                    mapaFaixas_.terraco[static_cast<size_t>(r - 1) * elev_->Columns() + (c - 1)] = TMapaFaixas::kSemDado;
        progress_.store(100);
        Respirar();

        metresPerUnit_ = Maiusculas(elev_->UnitDist()) == "KM" ? 1000 : 1;
        progress_.store(0);
        pixelArea_ = (static_cast<double>(metresPerUnit_) * elev_->CellWidth()) *
                     (static_cast<double>(metresPerUnit_) * elev_->CellHeight());
        minElev_ = elev_->MinValue();

        long long n = 0, comDeclive = 0;
        double soma = 0;
        for (int r = 1; r <= elev_->Rows(); ++r) {
            const float* z = elev_->Row(r);
            const float* d = decl_->Row(r);
            for (int c = 0; c < elev_->Columns(); ++c)
                if (z[c] != 0) {
                    ++n;
                    soma += d[c];
                    comDeclive += d[c] > 0;
                }
        }
        if (comDeclive == 0) throw EVandoro("A imagem de declividade não tem nenhum valor diferente de zero.");
        celulasCampo_ = n;
        slopeMean_ = soma / static_cast<double>(n);
        runoff_->SetSt(slopeMean_ / 100);
        lastSlope_ = slopeMean_;
        fieldArea_ = static_cast<double>(n) * pixelArea_ / 10000;
        fieldAreaM2_ = fieldArea_ * 10000;

        if (!RecomputeSpacing(runoff_->St()))
            throw EVandoro("A declividade média da área não é positiva.");
        ev0_ = EV();
        if (!(ev0_ > 0) || !std::isfinite(ev0_))
            throw EVandoro("Espaçamento vertical inválido: o valor deve ser maior que zero.");
        avisoResolucao_ = AvisoDeResolucao(ev0_ / (slopeMean_ / 100),
                                           metresPerUnit_ * std::max<double>(elev_->CellWidth(), elev_->CellHeight()));

        const TPixelS P0 = TImgApoio::FindHighestPixel(*elev_);
        if (P0.Col() < 0 || elev_->Cell(P0.Row(), P0.Col()) == 0)
            throw EVandoro("A imagem de elevação não tem nenhum valor de elevação.");
        terracos_->Selecao().Recommend(runoff_->St() * 100);
        SetStatusText("Número de terraços locados: ");
        Respirar();

        LocateDownhill(P0, P0.Value(), 0);
        if (!StopRequested()) JoinRemainder();
        DropEmptyRecords();
        Measure();

        runoff_->SetSt(slopeMean_);
        // A run that places nothing is a failure, and leaves any earlier output as it was;
        // a cancel keeps its (empty) files.
        if (registros_->Count() == 0 && !StopRequested()) semTerracos = MotivoSemTerracos(P0.Value());
        else SaveOutputs(extras);
    } catch (...) {
        // A failed run replaces nothing: the previous outputs stay as they were.
        if (runoff_ && slopeMean_ != 0) runoff_->SetSt(slopeMean_);
        elev_.reset();
        decl_.reset();
        apoio_.reset();
        vet_.reset();
        throw;
    }
    if (!semTerracos.empty()) {
        elev_.reset();
        decl_.reset();
        apoio_.reset();
        vet_.reset();
        throw EVandoro(semTerracos);
    }
    Respirar();
}

#include "location/LocNivel.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "common/Arquivo.h"
#include "common/Erros.h"
#include "common/IniFile.h"
#include "common/Numeros.h"
#include "common/Progresso.h"
#include "location/ImgElev.h"
#include "location/Locacao.h"
#include "location/TracadoNivel.h"
#include "model/NumeroDaCurva.h"
#include "model/Precipitacao.h"
#include "model/SistemaConservacao.h"
#include "raster/ImgDeclive.h"
#include "raster/Vetor.h"

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

double TLocacaoNivel::StripArea() const { return static_cast<double>(apoio_->StripPixelCount()) * pixelArea_; }

void TLocacaoNivel::CommitStrip() {
    committedArea_ += StripArea();
    apoio_->CommitStrip();
}

// A trace that yields no segment is no line: it would not bound a strip.
bool TLocacaoNivel::Trace(TPixelS& P, double L, TLinhaPixel& line) {
    TTracadoNivel tracador(*elev_, *apoio_);
    if (!tracador.TraceLevelLine(P, L, line) || line.size() < 2) {
        line.clear();
        return false;
    }
    return true;
}

// Appends the line in map units; returns its length in metres.
double TLocacaoNivel::EmitLine(const TLinhaPixel& line, int id, double level) {
    TVetorRecPonto p;
    p.SetLineId(id);
    const double cw = elev_->CellWidth(), ch = elev_->CellHeight();
    const double topo = elev_->Rows() * ch + elev_->MinY();
    TLinhaMapa& m = linhasMapa_.emplace_back();
    m.id = id;
    m.level = level;
    for (const TPontoPixel& v : line) {
        m.x.push_back(elev_->MinX() + v.x * cw);
        m.y.push_back(topo - v.y * ch);
        p.Add(static_cast<float>(m.x.back()), static_cast<float>(m.y.back()), static_cast<float>(level));
    }
    vet_->AppendLine(p);
    return vet_->LineLength(id) * metresPerUnit_;
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

// Mean slope of a trial strip. Where consecutive lines fall on neighbouring pixels (coarse
// pixels on steep ground) the strip between them is empty and says nothing about the slope:
// the last strip's slope stands in for it.
double TLocacaoNivel::TrialSlope() {
    long long n = 0;
    const double s = apoio_->StripMeanSlope(*decl_, &n);
    if (n == 0) return lastSlope_;
    lastSlope_ = s;
    return s;
}

// One level down from P: finds a start pixel below 'level', traces and burns the line and
// floods the strip above it. Returns the strip's mean slope, or -1 when no line was found.
double TLocacaoNivel::PlaceStrip(TPixelS& P, double level, TLinhaPixel& line, bool& found) {
    found = false;
    TPixelS Q = P;
    apoio_->ExtremeNeighbour(*elev_, Q, 1);
    TPixelS inicio = apoio_->FindLevelStart(Q.Col(), Q.Row(), 1, level, *elev_);
    if (inicio.Col() < 0) return -1;
    inicio.SetValue(static_cast<float>(level));
    if (!Trace(inicio, level, line)) return -1;
    P = inicio;
    found = true;
    apoio_->BurnLine(line, 1);
    Q = StripSeed(P, 0, level);
    apoio_->FloodStrip(Q.Col(), Q.Row());
    return TrialSlope();
}

// The highest (mode 0) or lowest (mode 1) neighbour of a line's start pixel, where the strip
// beside the line is flooded from. On ground of equal elevations (integer-valued models)
// no neighbour is strictly higher or lower and the flood would start on the line itself,
// giving an empty strip; then the first open neighbour on the strip's side of the level
// is taken, in the same neighbour order.
TPixelS TLocacaoNivel::StripSeed(const TPixelS& P, int mode, double level) const {
    TPixelS Q = P;
    apoio_->ExtremeNeighbour(*elev_, Q, mode);
    if (Q.Col() != P.Col() || Q.Row() != P.Row()) return Q;
    static const int kDr[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
    static const int kDc[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
    for (int k = 0; k < 8; ++k) {
        const int c = P.Col() + kDc[k], r = P.Row() + kDr[k];
        if (!apoio_->Walkable(c, r)) continue;
        const float z = elev_->Cell(r, c);
        if (z != 0 && (mode == 0 ? z >= level : z <= level)) return TPixelS(c, r, z);
    }
    return Q;
}

// Floods the land above a line at 'level'. A line with a gap (one the tracer could not
// close against the lines around it) lets the flood run down over the whole unassigned
// field; such a flood, reaching a whole interval below the line, is taken back and the strip
// counts as empty.
void TLocacaoNivel::FloodAbove(const TPixelS& Q, double level) {
    apoio_->FloodStrip(Q.Col(), Q.Row());
    if (apoio_->StripMinElevation(*elev_) < level - ev0_) apoio_->ClearStrip();
}

// One level up from P: the line above 'level' and the strip below it; when there is none,
// the land above P's line (the hill's cap) is flooded instead.
double TLocacaoNivel::PlaceStripUphill(TPixelS& P, double level, TLinhaPixel& line, bool& found) {
    found = false;
    TPixelS Q = P;
    apoio_->ExtremeNeighbour(*elev_, Q, 0);
    TPixelS inicio = apoio_->FindLevelStart(Q.Col(), Q.Row(), 0, level, *elev_);
    if (inicio.Col() >= 0) {
        inicio.SetValue(static_cast<float>(level));
        found = Trace(inicio, level, line);
    }
    if (!found) {
        FloodAbove(Q, P.Value());
        return apoio_->StripMeanSlope(*decl_);
    }
    P = inicio;
    apoio_->BurnLine(line, 1);
    Q = StripSeed(P, 1, level);
    apoio_->FloodStrip(Q.Col(), Q.Row());
    return TrialSlope();
}

void TLocacaoNivel::LocateDownhill(TPixelS P0, int depth) {
    const int metodo = MetodoEspacamento();
    const bool arbitrado = metodo == TMetodologiaEspacamento::EspacamentoArbitrado;
    TPixelS P = P0, Pc = P0;
    double nivel = P.Value() - ev0_;
    TLinhaPixel linha;
    bool achou = false;
    double s = PlaceStrip(P, nivel, linha, achou);

    // Places the line again from Pc with the interval the trial strip gave; false when there
    // is no line or the limit is passed (the count then goes back to the last line placed).
    const auto placeAgain = [&](bool first) {
        P = Pc;
        nivel = Pc.Value() - EV();
        apoio_->ReleaseMarks();
        if (Parar()) return false;
        TPixelS Q = P;
        apoio_->ExtremeNeighbour(*elev_, Q, 1);
        TPixelS inicio = apoio_->FindLevelStart(Q.Col(), Q.Row(), 1, nivel, *elev_);
        if (inicio.Col() < 0) return false;
        if (!NextTerrace()) return false;
        if (PassouLimiteDescida()) {
            if (first) stopRequested_.store(true);
            return false;
        }
        inicio.SetValue(static_cast<float>(nivel));
        if (!Trace(inicio, nivel, linha)) {
            terraceCount_.fetch_sub(1);
            return false;
        }
        P = inicio;
        apoio_->BurnLine(linha, 1);
        Q = StripSeed(P, 0, nivel);
        apoio_->FloodStrip(Q.Col(), Q.Row());
        return true;
    };

    if (arbitrado) {
        if (!achou || Parar()) return;
        if (!NextTerrace()) return;
        if (PassouLimiteDescida()) {
            stopRequested_.store(true);
            return;
        }
        TEspacamento& esp = terracos_->Espacamento();
        if (runoff_->St() > 0) esp.SetEH(esp.EV() / runoff_->St());
    } else {
        if (!achou || Parar()) return;
        runoff_->SetSt(s / 100);
        RecomputeSpacing(s / 100);
        if (!placeAgain(true)) return;
    }

    {
        const int id = TerraceCount();
        const double comprimento = EmitLine(linha, id, nivel);
        TRegTerr* r = AddRecord(id, nivel, s, comprimento);
        r->area = StripArea();
        CompleteRecord(*r);
        AddProgress(r->area);
        CommitStrip();
    }

    Pc = P;
    TLinhaPixel linhaAcima;
    for (int volta = 0; volta <= kMaxTerracosDescida; ++volta) {
        const double nivelAnterior = nivel;
        linhaAcima = linha;
        nivel = P.Value() - ev0_;
        if (TerraceCount() >= kMaxTerracosDescida + 1) limiteDescida_ = true;
        if (nivel <= minElev_ || limiteDescida_ || Parar()) return;
        Respirar();
        s = PlaceStrip(P, nivel, linha, achou);
        Respirar();
        if (arbitrado) {
            if (!achou) return;
            if (!NextTerrace()) return;
            if (PassouLimiteDescida()) return;
            TEspacamento& esp = terracos_->Espacamento();
            if (runoff_->St() > 0) esp.SetEH(esp.EV() / runoff_->St());
        } else {
            runoff_->SetSt(s / 100);
            if (!achou) return;
            RecomputeSpacing(s / 100);
            if (!placeAgain(false)) return;
        }
        const int id = TerraceCount();
        const double comprimento = EmitLine(linha, id, nivel);
        AddRecord(id, nivel, s, comprimento);
        if (Parar()) return;
        const double area = CompleteStrip(linha, P, nivelAnterior, depth, linhaAcima, linha);
        if (Parar()) return;
        if (TRegTerr* r = RecordById(id)) {
            r->area = area;
            CompleteRecord(*r);
        }
        AddProgress(area);
        CommitStrip();
        if (Parar()) return;
        Pc = P;
    }
}

double TLocacaoNivel::CompleteStrip(const TLinhaPixel& line, const TPixelS& P, double levelPrev, int depth,
                                    const TLinhaPixel& upper, const TLinhaPixel& lower) {
    double A = StripArea();
    const auto reflood = [&]() {
        apoio_->ReleaseMarks();
        apoio_->BurnLine(line, 1);
        const TPixelS Q = StripSeed(P, 0, P.Value());
        apoio_->FloodStrip(Q.Col(), Q.Row());
    };
    // Pixels already taken as pockets of this strip are not taken again: the strip can
    // still hold them after their lines were placed.
    std::vector<TPixel> usados;
    int bolsao = 0;
    if (FindSameLevelPocket(0, levelPrev, reflood, usados, depth, bolsao, &upper)) {
        for (int i = 0; i < kMaxBolsoesFaixa; ++i) {
            if (Parar()) return A;
            reflood();
            A = StripArea();
            if (Parar()) return A;
            if (!FindSameLevelPocket(0, levelPrev, reflood, usados, depth, bolsao, &upper)) break;
        }
    }
    if (Parar()) return A;
    if (FindSameLevelPocket(1, P.Value(), reflood, usados, depth, bolsao, &lower)) {
        for (int i = 0; i < kMaxBolsoesFaixa; ++i) {
            if (Parar()) return A;
            reflood();
            A = StripArea();
            // The pocket's line is another piece of the same level as 'line' and bounds the
            // same strip. The strip's area goes to 'line' alone (the caller assigns the
            // returned A); the pocket's record takes the strip's slope and interval only.
            // An empty strip leaves the pocket's record unsized; the run goes on.
            if (A > 0) {
                const double S = apoio_->StripMeanSlope(*decl_);
                runoff_->SetSt(S / 100);
                RecomputeSpacing(S / 100);
                if (TRegTerr* r = RecordById(bolsao)) {
                    r->area = 0;
                    r->EV = EV();
                    r->slope = S;
                    CompleteRecord(*r);
                }
            }
            if (Parar()) return A;
            if (!FindSameLevelPocket(1, P.Value(), reflood, usados, depth, bolsao, &lower)) break;
        }
    }
    return A;
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

// Strip pixels at the level (to the centimetre) that touch 'line' or reach it through such
// pixels (8-neighbour steps). On whole-metre ground they are the line's own contour, not a
// pocket: tracing from them gives the same line again and the strip above is lost. Indexed
// over the box, row by row.
std::vector<char> TLocacaoNivel::SameContourMask(const TLinhaPixel& line, double target) const {
    const int r0 = apoio_->BoxRow0(), r1 = apoio_->BoxRow1(), c0 = apoio_->BoxCol0(), c1 = apoio_->BoxCol1();
    if (r0 > r1 || c0 > c1) return {};
    const int w = c1 - c0 + 1;
    std::vector<char> mask(static_cast<size_t>(w) * (r1 - r0 + 1), 0);
    std::vector<TPixel> pilha;
    const auto visit = [&](int c, int r) {
        if (r < r0 || r > r1 || c < c0 || c > c1) return;
        char& m = mask[static_cast<size_t>(r - r0) * w + (c - c0)];
        if (m || apoio_->TensAt(c, r) != 3) return;
        if (std::nearbyint(static_cast<double>(elev_->Cell(r, c)) * 100) != target) return;
        m = 1;
        pilha.emplace_back(c, r);
    };
    for (const TPontoPixel& v : line) {
        const int vc = static_cast<int>(std::nearbyint(v.x)), vr = static_cast<int>(std::nearbyint(v.y));
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) visit(vc + dc, vr + dr);
    }
    while (!pilha.empty()) {
        const TPixel p = pilha.back();
        pilha.pop_back();
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) visit(p.Col() + dc, p.Row() + dr);
    }
    return mask;
}

bool TLocacaoNivel::FindSameLevelPocket(int mode, double level, const std::function<void()>& restore,
                                        std::vector<TPixel>& used, int depth, int& pocketId,
                                        const TLinhaPixel* line) {
    if (depth >= kMaxProfundidade || pockets_ >= kMaxBolsoes || Parar()) return false;
    const double alvo = std::nearbyint(level * 100);
    std::vector<char> mesmaCurva;
    if (line) mesmaCurva = SameContourMask(*line, alvo);
    // The box may grow while candidates are tried; the mask keeps the one it was built on.
    const int mr0 = apoio_->BoxRow0(), mr1 = apoio_->BoxRow1(), mc0 = apoio_->BoxCol0(), mc1 = apoio_->BoxCol1();
    const auto naMesmaCurva = [&](int c, int r) {
        if (mesmaCurva.empty() || r < mr0 || r > mr1 || c < mc0 || c > mc1) return false;
        return mesmaCurva[static_cast<size_t>(r - mr0) * (mc1 - mc0 + 1) + (c - mc0)] != 0;
    };
    for (int r = apoio_->BoxRow0(); r <= apoio_->BoxRow1(); ++r)
        for (int c = apoio_->BoxCol0(); c <= apoio_->BoxCol1(); ++c) {
            if (apoio_->TensAt(c, r) != 3) continue;
            if (std::nearbyint(static_cast<double>(elev_->Cell(r, c)) * 100) != alvo) continue;
            if (std::any_of(used.begin(), used.end(),
                            [c, r](const TPixel& u) { return u.Col() == c && u.Row() == r; }))
                continue;
            if (naMesmaCurva(c, r)) continue;
            if (!HasRoom(*apoio_, pixelArea_, c, r)) continue;
            used.emplace_back(c, r);
            ++pockets_;
            apoio_->ReleaseMarks();
            TPixelS px(c, r, static_cast<float>(level));
            TLinhaPixel linha;
            if (!Trace(px, level, linha)) {
                // No line through it after all: put the strip back and look further.
                restore();
                continue;
            }
            if (!NextTerrace()) return false;
            pocketId = TerraceCount();
            apoio_->BurnLine(linha, 0);
            if (mode == 0) {
                LocateUphill(px, linha, level, depth + 1);
            } else {
                const double comprimento = EmitLine(linha, pocketId, level);
                AddRecord(pocketId, level, 0, comprimento);
                LocateDownhill(px, depth + 1);
            }
            return true;
        }
    return false;
}

void TLocacaoNivel::LocateUphill(TPixelS Pl, const TLinhaPixel& L, double x, int depth) {
    if (Parar()) return;
    const bool arbitrado = MetodoEspacamento() == TMetodologiaEspacamento::EspacamentoArbitrado;
    const int idL = TerraceCount();
    TPixelS a = Pl;
    double nivel = a.Value() + ev0_;
    TLinhaPixel tentativa;
    bool achou = false;
    TPixelS t = a;
    double nivelTentativa = nivel;
    const double q = PlaceStripUphill(t, nivel, tentativa, achou);
    runoff_->SetSt(q / 100);

    // L with its strip complete: the land flooded above it.
    const auto closeL = [&](double slope) {
        TRegTerr* r = AddRecord(idL, x, slope, EmitLine(L, idL, x));
        r->area = StripArea();
        CompleteRecord(*r);
        AddProgress(r->area);
        CommitStrip();
    };

    if (!achou) {
        if (q > 0) {
            RecomputeSpacing(q / 100);
            closeL(q);
        } else {
            closeL(0);  // nothing above the pocket's line
        }
        return;
    }
    RecomputeSpacing(q / 100);
    AddRecord(idL, x, q, EmitLine(L, idL, x));
    apoio_->ReleaseMarks();

    // The line above 'a' at its own interval, or the cap above a's line when there is none.
    TLinhaPixel atual;
    double nivelLinha = x;  // level of a's line
    const auto nextLine = [&](int idAbaixo) {
        if (arbitrado) {
            a = t;
            atual = tentativa;
            nivel = nivelTentativa;
            return true;
        }
        nivel = a.Value() + EV();
        TPixelS Q = a;
        apoio_->ExtremeNeighbour(*elev_, Q, 0);
        TPixelS inicio = apoio_->FindLevelStart(Q.Col(), Q.Row(), 0, nivel, *elev_);
        if (inicio.Col() >= 0) {
            inicio.SetValue(static_cast<float>(nivel));
            if (Trace(inicio, nivel, atual)) {
                a = inicio;
                return true;
            }
        }
        FloodAbove(Q, nivelLinha);
        if (TRegTerr* r = RecordById(idAbaixo)) {
            r->area = StripArea();
            CompleteRecord(*r);
            AddProgress(r->area);
        }
        CommitStrip();
        return false;
    };
    if (!nextLine(idL)) return;

    TPixelS C = Pl;
    C.SetValue(static_cast<float>(x));
    TLinhaPixel abaixo = L;  // the line below the strip being completed
    double l = nivel;
    int idAbaixo = idL;
    for (int volta = 0; volta < kMaxSubida; ++volta) {
        apoio_->BurnLine(atual, 1);
        t = a;
        nivelTentativa = a.Value() + ev0_;
        const double m = PlaceStripUphill(t, nivelTentativa, tentativa, achou);
        runoff_->SetSt(m / 100);
        int idAtual = 0;
        if (achou) {
            RecomputeSpacing(m / 100);
            if (!NextTerrace()) return;
            idAtual = TerraceCount();
            AddRecord(idAtual, l, m, EmitLine(atual, idAtual, l));
            apoio_->ReleaseMarks();
        } else if (m > 0) {
            // The hill's top: the current line takes the cap.
            RecomputeSpacing(m / 100);
            if (!NextTerrace()) return;
            idAtual = TerraceCount();
            TRegTerr* r = AddRecord(idAtual, l, m, EmitLine(atual, idAtual, l));
            r->area = StripArea();
            CompleteRecord(*r);
            CommitStrip();
            AddProgress(r->area);
        } else {
            apoio_->ReleaseMarks();
        }
        if (achou) apoio_->BurnLine(atual, 1);
        FloodAbove(StripSeed(C, 0, C.Value()), C.Value());
        if (Parar()) return;
        const double A = CompleteStrip(atual, C, l, depth, atual, abaixo);
        if (Parar()) return;
        if (TRegTerr* r = RecordById(idAbaixo)) {
            r->area = A;
            CompleteRecord(*r);
        }
        AddProgress(A);
        CommitStrip();
        if (!achou || Parar()) return;
        abaixo = atual;
        C = a;
        C.SetValue(static_cast<float>(l));
        nivelLinha = l;
        idAbaixo = idAtual;
        if (!nextLine(idAbaixo)) return;
        l = nivel;
        if (!(l >= minElev_)) return;
    }
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

void TLocacaoNivel::SaveOutputs() {
    elev_.reset();
    decl_.reset();
    apoio_.reset();
    if (vet_) {
        vet_->Save(runOutput_);
        vet_.reset();
    }
    registros_->SaveToFile(arquivoBDT_);
}

void TLocacaoNivel::Processar(const std::string& elevPath, const std::string& slopePath, TPrecipitacao& rainfall,
                              TNumeroDaCurva& runoff, TTerracosNivel& terracos, const std::string& outputPath) {
    terraceCount_.store(0);
    ev0_ = pixelArea_ = processedArea_ = committedArea_ = fieldArea_ = fieldAreaM2_ = 0;
    metresPerUnit_ = 0;
    fim_ = false;
    limiteDescida_ = false;
    avisoResolucao_.clear();
    pockets_ = 0;
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
        progress_.store(100);
        Respirar();

        metresPerUnit_ = Maiusculas(elev_->UnitDist()) == "KM" ? 1000 : 1;
        progress_.store(0);
        pixelArea_ = (static_cast<double>(metresPerUnit_) * elev_->CellWidth()) *
                     (static_cast<double>(metresPerUnit_) * elev_->CellHeight());
        minElev_ = elev_->MinValue();

        long long n = 0;
        slopeMean_ = decl_->MeanSlope(n);
        if (n == 0) throw EVandoro("A imagem de declividade não tem nenhum valor diferente de zero.");
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

        LocateDownhill(P0, 0);

        runoff_->SetSt(slopeMean_);
        // A run that places nothing is a failure, and leaves any earlier output as it was;
        // a cancel keeps its (empty) files.
        if (registros_->Count() == 0 && !StopRequested()) semTerracos = MotivoSemTerracos(P0.Value());
        else SaveOutputs();
    } catch (...) {
        // What was located so far is still written; the error then reaches the caller.
        try {
            if (runoff_ && slopeMean_ != 0) runoff_->SetSt(slopeMean_);
            SaveOutputs();
        } catch (...) {
        }
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

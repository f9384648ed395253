#include "core/location/CorridaNivel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Progresso.h"
#include "core/common/Texto.h"
#include "core/location/ImgElev.h"
#include "core/location/TracadoNivel.h"
#include "core/model/Canal.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/raster/ImgDeclive.h"

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

// Row by row, and along each row by column: two stable counting passes (by column, then by
// row) over the cells' span, where a comparison sort of a strip of millions of cells was a
// good part of the run.
void OrdenarPorLinha(std::vector<TPixel>& v) {
    if (v.size() < 256) {
        std::sort(v.begin(), v.end(), [](const TPixel& a, const TPixel& b) {
            return a.Row() != b.Row() ? a.Row() < b.Row() : a.Col() < b.Col();
        });
        return;
    }
    int c0 = v[0].Col(), c1 = c0, r0 = v[0].Row(), r1 = r0;
    for (const TPixel& p : v) {
        c0 = std::min(c0, p.Col());
        c1 = std::max(c1, p.Col());
        r0 = std::min(r0, p.Row());
        r1 = std::max(r1, p.Row());
    }
    std::vector<TPixel> t(v.size());
    std::vector<uint32_t> conta;
    const auto passada = [&conta](const std::vector<TPixel>& de, std::vector<TPixel>& para, auto chave, int menor,
                                  int maior) {
        conta.assign(static_cast<size_t>(maior - menor) + 1, 0);
        for (const TPixel& p : de) ++conta[static_cast<size_t>(chave(p) - menor)];
        uint32_t antes = 0;
        for (uint32_t& q : conta) antes += std::exchange(q, antes);
        for (const TPixel& p : de) para[conta[static_cast<size_t>(chave(p) - menor)]++] = p;
    };
    passada(v, t, [](const TPixel& p) { return p.Col(); }, c0, c1);
    passada(t, v, [](const TPixel& p) { return p.Row(); }, r0, r1);
}

}  // namespace

void TConjuntoCodigos::Inserir(int64_t codigo) {
    // Half full at most, so that a look ends after a few slots.
    if (2 * (n_ + 1) > tabela_.size()) {
        std::vector<int64_t> velha = std::move(tabela_);
        bits_ = std::max(bits_ + 1, 4);
        tabela_.assign(size_t{1} << bits_, -1);
        n_ = 0;
        for (int64_t v : velha)
            if (v >= 0) Inserir(v);
    }
    const size_t mascara = tabela_.size() - 1;
    for (size_t i = Lugar(codigo);; i = (i + 1) & mascara) {
        if (tabela_[i] == codigo) return;
        if (tabela_[i] < 0) {
            tabela_[i] = codigo;
            ++n_;
            return;
        }
    }
}

bool TConjuntoCodigos::Contem(int64_t codigo) const {
    if (tabela_.empty()) return false;
    const size_t mascara = tabela_.size() - 1;
    for (size_t i = Lugar(codigo);; i = (i + 1) & mascara) {
        if (tabela_[i] == codigo) return true;
        if (tabela_[i] < 0) return false;
    }
}

TCorridaNivel::TCorridaNivel(TResultadoNivel& resultado, TPrecipitacao& rainfall, TNumeroDaCurva& runoff,
                             TTerracosNivel& terracos, IProgresso* progresso)
    : res_(resultado), rainfall_(&rainfall), runoff_(&runoff), terracos_(&terracos), progresso_(progresso) {}

TCorridaNivel::~TCorridaNivel() = default;

void TCorridaNivel::SetStatusText(const std::string& text) {
    if (res_.status == text) return;
    res_.status = text;
    if (progresso_) progresso_->SetStatus(text);
}

void TCorridaNivel::Inicio() {
    SetStatusText("Carregando Imagens");
    if (progresso_) {
        progresso_->SetMax(100);
        Respirar();
    }
}

void TCorridaNivel::Etapa(double percentual) {
    res_.progresso = percentual;
    Respirar();
}

bool TCorridaNivel::Parar() {
    if (progresso_ && progresso_->StopRequested()) res_.parada = true;
    return res_.parada || res_.fim || res_.limiteDescida;
}

void TCorridaNivel::Respirar() {
    if (progresso_) {
        progresso_->SetPosition(static_cast<int>(std::lround(res_.progresso)));
        progresso_->ProcessEvents();
    }
}

void TCorridaNivel::Encerrar(const std::string& motivo) {
    res_.fim = true;
    SetStatusText(motivo);
}

int TCorridaNivel::MetodoEspacamento() const { return terracos_->Espacamento().Metodologia().Index(); }
double TCorridaNivel::EV() const { return terracos_->Espacamento().EV(); }

// Spacing for a strip slope s (m/m); runoff St already holds s. A strip without slope
// (flat ground, common on integer-valued elevations) gives no spacing: the one in force is
// kept and false returned; the run goes on to the next strip.
bool TCorridaNivel::RecomputeSpacing(double s) {
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
void TCorridaNivel::CompleteRecord(TRegTerr& r, double largura) {
    if (!(r.slope > 0)) {
        // A flat or empty strip has no horizontal spacing (EV / 0): left unsized.
        r.height = 0;
        return;
    }
    if (MetodoEspacamento() == TMetodologiaEspacamento::AlturaArbitrada) {
        r.height = terracos_->H();
        return;
    }
    // The channel's walls rise with the strip's own slope; the run's St is left as it was.
    struct TRestauraSt {
        TNumeroDaCurva* cn;
        double st;
        ~TRestauraSt() { cn->SetSt(st); }
    } restaura{runoff_, runoff_->St()};
    runoff_->SetSt(r.slope / 100);
    const double E = r.EV / (r.slope / 100) * largura;
    const double d = terracos_->HeightFor(*runoff_, *rainfall_, E);
    r.height = AlturaRecomendadaM(terracos_->CDu(), d);
}

void TCorridaNivel::AddProgress(double area) {
    res_.processedArea += area;
    if (res_.fieldAreaM2 > 0) res_.progresso = std::round(res_.processedArea / res_.fieldAreaM2 * 100);
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
}  // namespace

bool TCorridaNivel::TraceLine(TPixelS& P, double L, TLinhaPixel& line) {
    TTracadoNivel tracador(*elev_, *apoio_);
    if (!tracador.TraceLevelLine(P, L, line) || line.size() < 2) {
        line.clear();
        return false;
    }
    return true;
}

double TCorridaNivel::LengthInCells(const TLinhaPixel& line) const {
    double s = 0;
    for (size_t i = 1; i < line.size(); ++i) s += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    return s;
}

// Each vertex lies on the segment between two neighbouring pixel centres (the cell edge
// the line crosses) or on a pixel centre; both are remembered for the line's level.
void TCorridaNivel::MarkLine(const TLinhaPixel& line, double level) {
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
        m.Inserir(((r - 1) * w + (c - 1)) * 4 + tipo);
    }
}

bool TCorridaNivel::OnLine(int c1, int r1, int c2, int r2, double level) const {
    const auto it = marcas_.find(level);
    if (it == marcas_.end()) return false;
    const int64_t w = elev_->Columns();
    const auto idx = [w](int c, int r) { return (int64_t(r) - 1) * w + (c - 1); };
    const auto& m = it->second;
    // The edge between the two crossed: the usual answer, so looked up first.
    if (m.Contem(idx(std::min(c1, c2), std::min(r1, r2)) * 4 + (r1 == r2 ? 0 : 1))) return true;
    // Where the level equals stored elevations the line runs through pixel centres and
    // steps diagonally; a pixel beside such a vertex is on the same contour.
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc)
            for (const auto& [c, r] : {std::pair{c1 + dc, r1 + dr}, std::pair{c2 + dc, r2 + dr}})
                if (elev_->Inside(c, r) && m.Contem(idx(c, r) * 4 + 2)) return true;
    return false;
}

// Mean slope of a trial strip. Where consecutive lines fall on neighbouring pixels (coarse
// pixels on steep ground) the strip between them is empty and says nothing about the slope:
// the last strip's slope stands in for it.
double TCorridaNivel::TrialSlope() {
    if (apoio_->Strip().empty()) return lastSlope_;
    lastSlope_ = TImgApoio::MeanSlope(*decl_, apoio_->Strip());
    return lastSlope_;
}

TRegTerr* TCorridaNivel::AddRecord(int id, double level, double slope, double length) {
    auto r = std::make_unique<TRegTerr>();
    r->id = id;
    r->level = level;
    r->slope = slope;
    r->length = length;
    r->EV = EV();
    return res_.registros.Add(std::move(r));
}

// A new record for a line placed with the interval in force; the line goes to the vector
// file when the run is saved. Returns the record's position.
int TCorridaNivel::Emit(int id, const TLinhaPixel& line, double level, double slope, int sentido, double origem) {
    double comprimento = 0;
    const double w = elev_->CellWidth(), h = elev_->CellHeight();
    for (size_t i = 1; i < line.size(); ++i)
        comprimento += std::hypot((line[i].x - line[i - 1].x) * w, (line[i].y - line[i - 1].y) * h);
    AddRecord(id, level, slope, comprimento * res_.metresPerUnit);
    linhas_.push_back(line);
    if (tracada_) tracada_(LinhaNoMapa(id, level, line));
    res_.origens.push_back(TOrigemTerraco{id, sentido, origem});
    tetos_.push_back(kSemTeto);
    return res_.registros.Count();
}

// The position equals the terrace number when every number got its line; search otherwise.
TRegTerr* TCorridaNivel::RecordById(int id) {
    if (id >= 1 && id <= res_.registros.Count() && res_.registros.Item(id) && res_.registros.Item(id)->id == id)
        return res_.registros.Item(id);
    for (int i = 1; i <= res_.registros.Count(); ++i)
        if (res_.registros.Item(i) && res_.registros.Item(i)->id == id) return res_.registros.Item(i);
    return nullptr;
}

// TerraceCount += 1, unless the plan's maximum is reached (the run then stops where it is)
// or the vector file cannot number another line.
bool TCorridaNivel::NextTerrace() {
    if (res_.plano.maxTerracos > 0 && res_.terraceCount >= res_.plano.maxTerracos) {
        res_.limiteDescida = true;
        return false;
    }
    if (res_.terraceCount >= kMaxIdLinha) {
        Encerrar("Locação encerrada: limite de " + std::to_string(kMaxIdLinha) + " linhas atingido.");
        return false;
    }
    ++res_.terraceCount;
    if (progresso_) progresso_->SetCount(res_.terraceCount);
    return true;
}

// One level down from P: a start pixel below 'nivel' searched from P's lowest neighbour, the
// line through it, and the strip above the line up to 'teto'. When that start gives no
// line (its contour is a speck, or runs into assigned land) the level is looked for in the
// free land below the line above ('acima', null for the summit): the first pixel pair that
// straddles it there, in the order the land is reached, starts the line.
bool TCorridaNivel::PlaceDown(TPixelS& P, double nivel, double teto, TLinhaPixel& linha, const TLinhaPixel* acima) {
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
        const auto idx = [w](int c, int r) { return static_cast<int64_t>(r - 1) * w + (c - 1); };
        // The cells reached are few beside the field's: a set of them, not a flag for each cell.
        TConjuntoCodigos visto;
        std::vector<TPixel> fila;
        const auto entra = [&](int c, int r) {
            if (!apoio_->Inside(c, r) || visto.Contem(idx(c, r)) || !TImgApoio::Livre(apoio_->Cell(r, c))) return;
            const float z = elev_->Cell(r, c);
            if (z == 0 || !(z >= nivel) || !(z < teto)) return;
            visto.Inserir(idx(c, r));
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
                if (!apoio_->Inside(c, r) || !TImgApoio::Livre(apoio_->Cell(r, c))) continue;
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
    apoio_->FloodStrip(*elev_, apoio_->SeedsAbove(*elev_, linha, nivel), nivel, teto);
    return true;
}

// One level up from P (on the line at 'abaixo'): a start pixel above 'nivel' searched from
// P's highest neighbour, the line through it and the strip between the two lines. Without
// a line the strip is the whole cap above the lower line.
bool TCorridaNivel::PlaceUp(TPixelS& P, double nivel, double abaixo, const TLinhaPixel& linhaAbaixo,
                            TLinhaPixel& linha) {
    TPixelS Q = P;
    apoio_->ExtremeNeighbour(*elev_, Q, 0);
    TPixelS inicio = apoio_->FindLevelStart(Q.Col(), Q.Row(), 0, nivel, *elev_);
    if (inicio.Col() >= 0) {
        inicio.SetValue(static_cast<float>(nivel));
        if (TraceLine(inicio, nivel, linha) && LengthInCells(linha) >= 2) {
            P = inicio;
            apoio_->FloodStrip(*elev_, apoio_->SeedsAbove(*elev_, linhaAbaixo, abaixo), abaixo, nivel);
            return true;
        }
    }
    linha.clear();
    apoio_->FloodStrip(*elev_, apoio_->SeedsAbove(*elev_, linhaAbaixo, abaixo), abaixo, kSemTeto);
    return false;
}

void TCorridaNivel::LocateDownhill(TPixelS P, double acima, int depth, const TLinhaPixel* linhaAcima, int idAcima) {
    const bool arbitrado = MetodoEspacamento() == TMetodologiaEspacamento::EspacamentoArbitrado;
    // The summit's cap has no line above it.
    double teto = depth == 0 ? kSemTeto : acima;
    TLinhaPixel anterior;
    const TLinhaPixel* acimaLinha = linhaAcima;
    for (;;) {
        if (Parar()) return;
        double nivel = acima - res_.ev0;
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
            apoio_->ReleaseStrip();
            if (Parar()) return;
            nivel = acima - EV();
            inicio = P;
            if (!PlaceDown(inicio, nivel, teto, linha, acimaLinha)) return;
        }
        if (!NextTerrace()) {
            apoio_->ReleaseStrip();
            return;
        }
        if (arbitrado) {
            TEspacamento& esp = terracos_->Espacamento();
            if (runoff_->St() > 0) esp.SetEH(esp.EV() / runoff_->St());
        }
        const int id = res_.terraceCount;
        Emit(id, linha, nivel, s, TOrigemTerraco::Descida, acima);
        tetos_.back() = teto;
        MarkLine(linha, nivel);
        apoio_->BurnLine(linha);
        CompleteStrip(id, nivel, teto, linha, depth, idAcima);
        if (Parar()) return;
        if (depth == 0) FindAllPieces(nivel, depth);
        if (Parar()) return;
        acima = teto = nivel;
        idAcima = id;
        P = inicio;
        anterior = std::move(linha);
        acimaLinha = &anterior;
    }
}

void TCorridaNivel::LocateUphill(TPeca L, int depth) {
    if (Parar() || !NextTerrace()) return;
    const bool arbitrado = MetodoEspacamento() == TMetodologiaEspacamento::EspacamentoArbitrado;
    int idL = res_.terraceCount;
    bool base = true;
    for (int volta = 0; volta < kMaxSubida; ++volta) {
        const double x = L.nivel;
        TPixelS t = L.inicio;
        TLinhaPixel tentativa;
        bool achou = PlaceUp(t, x + res_.ev0, x, L.linha, tentativa);
        const double q = TrialSlope();
        runoff_->SetSt(q / 100);
        RecomputeSpacing(q / 100);
        if (base) {
            // The pocket's own line, at the level it was found at.
            Emit(idL, L.linha, x, q, TOrigemTerraco::Peca, x);
            base = false;
        } else if (TRegTerr* r = RecordById(idL)) {
            // A line placed from below was given the slope of the strip under it; its own
            // strip's is this trial's, and so is the interval to the line above it.
            r->slope = q;
            r->EV = EV();
        }
        if (!achou) {
            CompleteStrip(idL, x, kSemTeto, L.linha, depth, 0);
            return;
        }
        TPeca N;
        if (arbitrado) {
            N.linha = std::move(tentativa);
            N.inicio = t;
            N.nivel = x + res_.ev0;
        } else {
            apoio_->ReleaseStrip();
            if (Parar()) return;
            N.nivel = x + EV();
            N.inicio = L.inicio;
            if (!PlaceUp(N.inicio, N.nivel, x, L.linha, N.linha)) {
                CompleteStrip(idL, x, kSemTeto, L.linha, depth, 0);
                return;
            }
        }
        if (!NextTerrace()) {
            apoio_->ReleaseStrip();
            return;
        }
        const int id = res_.terraceCount;
        Emit(id, N.linha, N.nivel, q, TOrigemTerraco::Subida, x);
        MarkLine(N.linha, N.nivel);
        apoio_->BurnLine(N.linha);
        CompleteStrip(idL, x, N.nivel, L.linha, depth, id);
        if (Parar()) return;
        L = std::move(N);
        idL = id;
    }
}

// A piece of the level through the pair (c, r) - (cq, rq), traced from (c, r), the pixel on
// the level's upper side. The pair is remembered either way, so it is tried once; a line
// under two cells is dropped.
bool TCorridaNivel::TracePiece(int c, int r, int cq, int rq, double nivel, TPeca& p) {
    p.nivel = nivel;
    p.inicio = TPixelS(c, r, static_cast<float>(nivel));
    const bool ok = TraceLine(p.inicio, nivel, p.linha);
    auto& m = marcas_[nivel];
    const int64_t w = elev_->Columns();
    const int cc = std::min(c, cq), rr = std::min(r, rq);
    m.Inserir(((int64_t(rr) - 1) * w + (cc - 1)) * 4 + (r == rq ? 0 : 1));
    if (!ok) return false;
    MarkLine(p.linha, nivel);
    if (LengthInCells(p.linha) < 2) {
        ++res_.pecasDescartadas;
        return false;
    }
    ++pockets_;
    apoio_->BurnLine(p.linha);
    return true;
}

// Pieces of the level anywhere in the unassigned land: hills or rises whose land above the
// level touches no strip. Each is terraced uphill from its line.
void TCorridaNivel::FindAllPieces(double nivel, int depth) {
    if (depth >= kMaxProfundidade || pockets_ >= kMaxBolsoes) return;
    std::vector<TPeca> pecas;
    const int w = elev_->Columns();
    constexpr int kBloco = 32;
    // Compared in floats, so the look at a block runs in vector lanes. The level rounded to
    // the nearest float lets through every cell at or above it (and perhaps one just below,
    // which the full test then turns away).
    const float piso = static_cast<float>(nivel);
    // The highest cell of each block, once a run: the levels go down from the summit, and the
    // blocks wholly below one need no look at all.
    const int blocosLinha = (w + kBloco - 1) / kBloco;
    if (maiorDoBloco_.empty()) {
        maiorDoBloco_.assign(static_cast<size_t>(blocosLinha) * elev_->Rows(), -std::numeric_limits<float>::infinity());
        for (int r = 1; r <= elev_->Rows(); ++r) {
            const float* z = elev_->Row(r);
            float* m = &maiorDoBloco_[static_cast<size_t>(r - 1) * blocosLinha];
            for (int c = 0; c < w; ++c) m[c / kBloco] = std::max(m[c / kBloco], z[c]);
        }
    }
    for (int r = 1; r <= elev_->Rows(); ++r) {
        const float* z = elev_->Row(r);
        const uint8_t* a = apoio_->Row(r);
        const float* maior = &maiorDoBloco_[static_cast<size_t>(r - 1) * blocosLinha];
        for (int c = 1; c <= w; ++c) {
            // Once the strips cover most of the field, whole blocks of a row have no free cell
            // at or above the level: they are passed over in one branch-free look.
            if ((c - 1) % kBloco == 0) {
                const int fim = std::min(w, c - 1 + kBloco);
                // A block with no cell as high, or no free cell, needs no look at its elevations.
                int livre = 0, algum = 0;
                if (maior[(c - 1) / kBloco] >= piso)
                    for (int k = c - 1; k < fim; ++k) livre |= TImgApoio::Livre(a[k]);
                if (livre)
                    for (int k = c - 1; k < fim; ++k) algum |= TImgApoio::Livre(a[k]) & (z[k] != 0) & (z[k] >= piso);
                if (!algum) {
                    c = fim;
                    continue;
                }
            }
            if (!TImgApoio::Livre(a[c - 1]) || z[c - 1] == 0 || !(z[c - 1] >= nivel)) continue;
            for (int k = 0; k < 4; ++k) {
                const int cq = c + kVizC[k], rq = r + kVizR[k];
                if (!apoio_->Inside(cq, rq) || !TImgApoio::Livre(apoio_->Cell(rq, cq))) continue;
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
void TCorridaNivel::CompleteStrip(int id, double lo, double hi, const TLinhaPixel& linha, int depth, int acima) {
    SetAcima(id, acima);
    std::vector<TPixel> C = apoio_->TakeStrip();
    OrdenarPorLinha(C);
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
                if (!apoio_->Inside(cq, rq) || !TImgApoio::Livre(apoio_->Cell(rq, cq))) continue;
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
        ids.push_back(res_.terraceCount);
        Emit(ids.back(), p.linha, lo, 0, TOrigemTerraco::Peca, lo);
        tetos_.back() = hi;
        SetAcima(ids.back(), acima);
    }
    baixo.resize(ids.size());

    // Each pixel to the nearest line (4-neighbour steps inside the strip).
    std::vector<int32_t>& dono = res_.mapaFaixas.terraco;
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
    // The strip's own line needs only how many cells it got; each piece sharing the strip its
    // cells too, for its slope.
    size_t proprias = 0;
    std::vector<std::vector<TPixel>> partes(ids.size());
    for (const TPixel& p : C) {
        int32_t& d = dono[idx(p.Col(), p.Row())];
        if (d == 0) d = id;
        if (d == id) {
            ++proprias;
        } else if (const auto it = std::find(ids.begin(), ids.end(), d); it != ids.end()) {
            partes[size_t(it - ids.begin())].push_back(p);
        }
    }
    apoio_->CommitStrip(C);
    res_.committedArea += static_cast<double>(C.size()) * res_.pixelArea;
    const bool arbitrado = MetodoEspacamento() == TMetodologiaEspacamento::EspacamentoArbitrado;
    if (TRegTerr* r = RecordById(id)) {
        r->area += static_cast<double>(proprias) * res_.pixelArea;
        if (!arbitrado && r->slope > 0) runoff_->SetSt(r->slope / 100);
        CompleteRecord(*r);
    }
    for (size_t i = 0; i < baixo.size(); ++i) {
        TRegTerr* r = RecordById(ids[i]);
        if (!r) continue;
        const std::vector<TPixel>& parte = partes[i];
        r->area = static_cast<double>(parte.size()) * res_.pixelArea;
        const double S = TImgApoio::MeanSlope(*decl_, parte);
        r->slope = S;
        if (S > 0) {
            runoff_->SetSt(S / 100);
            RecomputeSpacing(S / 100);
            r->EV = EV();
        }
        CompleteRecord(*r);
    }
    AddProgress(static_cast<double>(C.size()) * res_.pixelArea);
    // Done with this strip's cells: the terraces below and the hills above recurse, and one
    // list per level of depth held the whole field again.
    std::vector<TPixel>().swap(C);
    std::vector<TPixel>().swap(fila);
    partes.clear();

    for (TPeca& p : cima) {
        if (Parar()) return;
        LocateUphill(std::move(p), depth + 1);
    }
    for (size_t i = 0; i < baixo.size(); ++i) {
        if (Parar()) return;
        LocateDownhill(baixo[i].inicio, lo, depth + 1, &baixo[i].linha, ids[i]);
    }
}

// Land the strips did not reach but that lies within a neighbour strip's band (up to the
// elevation step to that strip) joins it: a line that stopped against assigned land, or a
// piece too short to be a terrace, leaves such pixels.
void TCorridaNivel::JoinRemainder() {
    std::vector<int32_t>& dono = res_.mapaFaixas.terraco;
    const int w = elev_->Columns(), h = elev_->Rows();
    std::vector<double> lo(static_cast<size_t>(res_.terraceCount) + 1, kSemTeto), hi(lo.size(), kSemTeto);
    std::vector<int> pos(lo.size(), 0);
    for (int i = 1; i <= res_.registros.Count(); ++i) {
        const int id = res_.registros.Item(i)->id;
        if (id < 0 || id >= int(lo.size())) continue;
        lo[id] = res_.registros.Item(i)->level;
        hi[id] = tetos_[size_t(i - 1)];
        pos[id] = i;
    }
    // Only strip cells beside a free cell can grow, and cells only ever leave the free
    // state: the others would never add anything. Queuing every strip cell of a large field
    // cost more memory than the grids themselves.
    const auto podeCrescer = [&](int c, int r) {
        for (int d = 0; d < 4; ++d) {
            const int cv = c + kVizC[d], rv = r + kVizR[d];
            if (apoio_->Inside(cv, rv) && TImgApoio::Livre(apoio_->Cell(rv, cv)) && elev_->Cell(rv, cv) != 0)
                return true;
        }
        return false;
    };
    std::vector<TPixel> fila;
    for (int r = 1; r <= h; ++r)
        for (int c = 1; c <= w; ++c)
            if (dono[size_t(r - 1) * w + (c - 1)] > 0 && podeCrescer(c, r)) fila.emplace_back(c, r);
    std::vector<long long> ganho(lo.size(), 0);
    long long total = 0;
    for (size_t k = 0; k < fila.size(); ++k) {
        const TPixel p = fila[k];
        const int id = dono[size_t(p.Row() - 1) * w + (p.Col() - 1)];
        if (id <= 0 || id >= int(lo.size())) continue;
        for (int d = 0; d < 4; ++d) {
            const int c = p.Col() + kVizC[d], r = p.Row() + kVizR[d];
            if (!apoio_->Inside(c, r) || !TImgApoio::Livre(apoio_->Cell(r, c))) continue;
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
        if (ganho[id] && pos[id]) res_.registros.Item(pos[id])->area += static_cast<double>(ganho[id]) * res_.pixelArea;
    res_.committedArea += static_cast<double>(total) * res_.pixelArea;
    if (total) AddProgress(static_cast<double>(total) * res_.pixelArea);
}

// A record whose strip has no area is no terrace.
void TCorridaNivel::DropEmptyRecords() {
    TBDT novos;
    std::vector<TLinhaPixel> linhas;
    std::vector<TOrigemTerraco> origens;
    std::vector<double> tetos;
    for (int i = 1; i <= res_.registros.Count(); ++i) {
        const TRegTerr& r = *res_.registros.Item(i);
        if (!(r.area > 0)) {
            ++res_.pecasDescartadas;
            continue;
        }
        novos.Add(std::make_unique<TRegTerr>(r));
        linhas.push_back(std::move(linhas_[size_t(i - 1)]));
        origens.push_back(res_.origens[size_t(i - 1)]);
        origens.back().teto = tetos_[size_t(i - 1)];
        tetos.push_back(tetos_[size_t(i - 1)]);
    }
    res_.registros = std::move(novos);
    linhas_ = std::move(linhas);
    res_.origens = std::move(origens);
    tetos_ = std::move(tetos);
}

void TCorridaNivel::SetAcima(int id, int acima) {
    if (id < 0) return;
    if (size_t(id) >= acimaDe_.size()) acimaDe_.resize(size_t(id) + 1, 0);
    acimaDe_[size_t(id)] = acima;
}

// The rows once the strips are final: each record's EV is the drop from the line above (pieces
// of one level share their EV), its height sized again when that changed it, and its type the
// criterion's at its slope. A line above that is no longer a terrace hands on its own.
void TCorridaNivel::FecharFaixas() {
    const int n = res_.registros.Count();
    std::map<int, int> pos;
    for (int i = 1; i <= n; ++i) pos[res_.registros.Item(i)->id] = i;
    const auto acimaDe = [&](int id) { return id > 0 && size_t(id) < acimaDe_.size() ? acimaDe_[size_t(id)] : 0; };
    res_.info.assign(size_t(n), TInfoTerraco{});
    for (int i = 1; i <= n; ++i) {
        TRegTerr& r = *res_.registros.Item(i);
        int a = acimaDe(r.id);
        for (int passos = 0; a > 0 && !pos.count(a) && passos <= n; ++passos) a = acimaDe(a);
        if (a > 0 && !pos.count(a)) a = 0;
        TInfoTerraco& info = res_.info[size_t(i - 1)];
        info.acima = a;
        const double ev = a > 0 ? res_.registros.Item(pos[a])->level - r.level : 0;
        if (ev > 0 && ev != r.EV) {
            r.EV = ev;
            CompleteRecord(r);
        }
        info.tipo = terracos_->Selecao().TipoPara(r.slope);
    }
}

// A line shorter than the plan's minimum is no terrace: its strip joins the strip below that
// receives its runoff (the one its cells touch most going downhill, followed down through
// other short pieces), whose area grows and whose height is sized again for the wider strip
// it drains; with none below, the land is left uncovered. Runs on the exported lines' lengths.
void TCorridaNivel::UnirPecasCurtas() {
    const double minimo = res_.plano.comprimentoMinimo;
    if (!(minimo > 0) || !elev_) return;
    std::map<int, int> pos;  // id -> record position
    for (int i = 1; i <= res_.registros.Count(); ++i) pos[res_.registros.Item(i)->id] = i;
    // Short or not by id: a look-up for every strip cell, so an array rather than a map.
    const int maiorId = pos.empty() ? 0 : pos.rbegin()->first;
    std::vector<char> curtas(static_cast<size_t>(maiorId) + 1, 0);
    for (const auto& [id, i] : pos) curtas[size_t(id)] = res_.registros.Item(i)->length < minimo;
    const auto curta = [&](int id) { return id > 0 && id <= maiorId && curtas[size_t(id)]; };
    if (std::none_of(curtas.begin(), curtas.end(), [](char c) { return c != 0; })) return;
    // Downhill contacts of every short strip with the strips around it.
    TMapaFaixas& mapa = res_.mapaFaixas;
    std::map<int, std::map<int, long long>> contatos;
    static const int kDc[4] = {1, -1, 0, 0}, kDr[4] = {0, 0, 1, -1};
    for (int r = 0; r < mapa.linhas; ++r)
        for (int c = 0; c < mapa.colunas; ++c) {
            const int k = mapa.Em(c, r);
            if (!curta(k)) continue;
            const float z = elev_->Cell(r + 1, c + 1);
            for (int d = 0; d < 4; ++d) {
                const int c2 = c + kDc[d], r2 = r + kDr[d];
                if (c2 < 0 || r2 < 0 || c2 >= mapa.colunas || r2 >= mapa.linhas) continue;
                const int j = mapa.Em(c2, r2);
                if (j > 0 && j != k && elev_->Cell(r2 + 1, c2 + 1) < z) ++contatos[k][j];
            }
        }
    const auto receptor = [&](int k) {
        int melhor = 0;
        long long n = 0;
        for (const auto& [j, m] : contatos[k])
            if (m > n) melhor = j, n = m;
        return melhor;
    };
    // Each short piece's final receiver: down the chain of short pieces to a terrace, or 0.
    std::vector<int> destino(curtas.size(), 0);
    for (int k = 1; k <= maiorId; ++k) {
        if (!curta(k)) continue;
        int j = receptor(k);
        for (size_t passos = 0; curta(j) && passos <= pos.size(); ++passos) j = receptor(j);
        destino[size_t(k)] = j > 0 && !curta(j) ? j : 0;
    }
    std::map<int, double> ganho;
    for (int32_t& t : mapa.terraco) {
        if (!curta(t)) continue;
        const int j = destino[size_t(t)];
        ganho[j] += res_.pixelArea;
        t = j;
    }
    for (const auto& [j, a] : ganho) {
        if (j == 0) {
            res_.areaSemReceptor += a / 10000;
            continue;
        }
        TRegTerr& r = *res_.registros.Item(pos[j]);
        const double antes = r.area;
        r.area += a;
        if (antes > 0) CompleteRecord(r, r.area / antes);
    }
    // The short pieces leave the table, the lines and the passages; a row under one of them
    // is measured from the line above it.
    const auto acimaDe = [&](int id) {
        const auto it = pos.find(id);
        return it == pos.end() || size_t(it->second) > res_.info.size() ? 0 : res_.info[size_t(it->second - 1)].acima;
    };
    TBDT novos;
    std::vector<TLinhaMapa> linhas;
    std::vector<TOrigemTerraco> origens;
    std::vector<TInfoTerraco> info;
    for (int i = 1; i <= res_.registros.Count(); ++i) {
        const TRegTerr& r = *res_.registros.Item(i);
        if (curta(r.id)) {
            ++res_.pecasUnidas;
            continue;
        }
        novos.Add(std::make_unique<TRegTerr>(r));
        linhas.push_back(std::move(res_.linhasMapa[size_t(i - 1)]));
        origens.push_back(res_.origens[size_t(i - 1)]);
        if (size_t(i) > res_.info.size()) continue;
        info.push_back(res_.info[size_t(i - 1)]);
        int a = info.back().acima;
        for (size_t passos = 0; curta(a) && passos <= pos.size(); ++passos) a = acimaDe(a);
        if (curta(a)) a = 0;
        if (a != info.back().acima && a > 0) {
            const double ev = res_.registros.Item(pos[a])->level - r.level;
            if (ev > 0) novos.Item(novos.Count())->EV = ev;
        }
        info.back().acima = a;
    }
    res_.registros = std::move(novos);
    res_.linhasMapa = std::move(linhas);
    res_.origens = std::move(origens);
    res_.info = std::move(info);
    std::erase_if(res_.travessias, [&](const TTravessiaNivel& t) { return curta(t.terraco); });
    Measure();
    if (res_.registros.Count() == 0 && !res_.parada)
        throw EVandoro("Nenhum terraço foi locado: todas as linhas têm menos que o comprimento mínimo do terraço (" +
                       FloatToStrFixed(minimo, 1) + " m). Use um comprimento mínimo menor.");
}

void TCorridaNivel::Numerar() {
    const int n = res_.registros.Count();
    if (n == 0 || res_.info.size() != size_t(n) || res_.linhasMapa.size() != size_t(n)) return;
    std::map<int, int> pos;
    for (int i = 1; i <= n; ++i) pos[res_.registros.Item(i)->id] = i - 1;
    // Rows under each row (by position); rows under no line start a chain.
    std::vector<std::vector<int>> abaixo(static_cast<size_t>(n));
    std::vector<int> topos;
    for (int i = 0; i < n; ++i) {
        const auto it = pos.find(res_.info[size_t(i)].acima);
        if (res_.info[size_t(i)].acima > 0 && it != pos.end() && it->second != i) abaixo[size_t(it->second)].push_back(i);
        else topos.push_back(i);
    }
    // Higher lines first; pieces of one level in the order they were found.
    const auto antes = [&](int a, int b) {
        const TRegTerr& ra = *res_.registros.Item(a + 1);
        const TRegTerr& rb = *res_.registros.Item(b + 1);
        return ra.level != rb.level ? ra.level > rb.level : ra.id < rb.id;
    };
    std::sort(topos.begin(), topos.end(), antes);
    for (auto& v : abaixo) std::sort(v.begin(), v.end(), antes);
    std::vector<int> ordem;
    std::vector<char> visto(size_t(n), 0);
    const auto desce = [&](int raiz) {
        std::vector<int> pilha{raiz};
        while (!pilha.empty()) {
            const int i = pilha.back();
            pilha.pop_back();
            if (visto[size_t(i)]) continue;
            visto[size_t(i)] = 1;
            ordem.push_back(i);
            for (auto it = abaixo[size_t(i)].rbegin(); it != abaixo[size_t(i)].rend(); ++it) pilha.push_back(*it);
        }
    };
    for (int t : topos) desce(t);
    for (int i = 0; i < n; ++i) desce(i);  // a loop of rows (never made) would still be numbered

    int maior = 0;
    for (const auto& [id, i] : pos) maior = std::max(maior, id);
    for (const int32_t k : res_.mapaFaixas.terraco) maior = std::max<int>(maior, k);
    std::vector<int32_t> novo(size_t(maior) + 1, 0);
    for (int k = 0; k < n; ++k) novo[size_t(res_.registros.Item(ordem[size_t(k)] + 1)->id)] = k + 1;
    const auto numero = [&](int id) { return id > 0 && id <= maior ? novo[size_t(id)] : 0; };

    TBDT registros;
    std::vector<TLinhaMapa> linhas;
    std::vector<TOrigemTerraco> origens;
    std::vector<TInfoTerraco> info;
    for (int k = 0; k < n; ++k) {
        const size_t i = size_t(ordem[size_t(k)]);
        auto r = std::make_unique<TRegTerr>(*res_.registros.Item(int(i) + 1));
        r->id = k + 1;
        registros.Add(std::move(r));
        linhas.push_back(std::move(res_.linhasMapa[i]));
        linhas.back().id = k + 1;
        origens.push_back(res_.origens[i]);
        origens.back().id = k + 1;
        info.push_back(std::move(res_.info[i]));
        info.back().acima = numero(info.back().acima);
    }
    res_.registros = std::move(registros);
    res_.linhasMapa = std::move(linhas);
    res_.origens = std::move(origens);
    res_.info = std::move(info);
    for (int32_t& t : res_.mapaFaixas.terraco)
        if (t > 0) t = numero(t);
    for (TTravessiaNivel& t : res_.travessias) t.terraco = numero(t.terraco);
    std::stable_sort(res_.travessias.begin(), res_.travessias.end(),
                     [](const TTravessiaNivel& a, const TTravessiaNivel& b) { return a.terraco < b.terraco; });
    res_.terraceCount = n;
}

// Field above the lowest line's level in no strip.
void TCorridaNivel::Measure() {
    res_.areaDescoberta = 0;
    if (res_.registros.Count() == 0) return;
    double minimo = kSemTeto;
    for (int i = 1; i <= res_.registros.Count(); ++i) minimo = std::min(minimo, res_.registros.Item(i)->level);
    long long n = 0;
    const int w = elev_->Columns();
    for (int r = 1; r <= elev_->Rows(); ++r)
        for (int c = 1; c <= w; ++c) {
            const float z = elev_->Cell(r, c);
            if (z != 0 && z >= minimo && res_.mapaFaixas.terraco[size_t(r - 1) * w + (c - 1)] == 0) ++n;
        }
    res_.areaDescoberta = static_cast<double>(n) * res_.pixelArea / 10000;
}

// Why a run from the highest point 'topo' placed no line: the relief is within the vertical
// interval (the one set for the field or the one the first strip gave), or no level line
// could be traced on what is left of the field.
std::string TCorridaNivel::MotivoSemTerracos(double topo) const {
    const double desnivel = topo - minElev_;
    for (double ev : {res_.ev0, EV()})
        if (!(desnivel > ev))
            return "Nenhum terraço foi locado: o desnível da área (" + FloatToStrFixed(desnivel, 2) +
                   " m) não passa do espaçamento vertical entre terraços (" + FloatToStrFixed(ev, 2) +
                   " m). Use um espaçamento menor ou uma área maior.";
    return "Nenhum terraço foi locado: nenhuma curva de nível com o espaçamento vertical de " +
           FloatToStrFixed(EV(), 2) + " m pôde ser traçada a partir do ponto mais alto (" +
           FloatToStrFixed(topo, 2) + " m); a área é pequena ou recortada demais para esse espaçamento.";
}

// The lines of the records in map units: pixel coordinates are 1-based with centres at whole
// numbers.
TLinhaMapa TCorridaNivel::LinhaNoMapa(int id, double level, const TLinhaPixel& linha) const {
    TLinhaMapa m;
    m.id = id;
    m.level = level;
    m.x.reserve(linha.size());
    m.y.reserve(linha.size());
    for (const TPontoPixel& v : linha) {
        m.x.push_back(grade_.XDoCentro(v.x - 1));
        m.y.push_back(grade_.YDoCentro(v.y - 1));
    }
    return m;
}

void TCorridaNivel::MapLines() {
    for (int i = 1; i <= res_.registros.Count(); ++i)
        res_.linhasMapa.push_back(
            LinhaNoMapa(res_.registros.Item(i)->id, res_.registros.Item(i)->level, linhas_[size_t(i - 1)]));
}

void TCorridaNivel::Executar(const TImgElevacao& elev, const TImgDeclive& decl,
                             std::function<void(TLinhaMapa)> tracada) {
    elev_ = &elev;
    decl_ = &decl;
    tracada_ = std::move(tracada);
    try {
        Localizar();
    } catch (...) {
        // A failed run leaves the runoff as a finished one would.
        if (slopeMean_ != 0) runoff_->SetSt(slopeMean_);
        tracada_ = nullptr;
        apoio_.reset();
        throw;
    }
    // The working state is not needed while the files are written.
    tracada_ = nullptr;
    apoio_.reset();
    marcas_.clear();
    std::vector<float>().swap(maiorDoBloco_);
    linhas_.clear();
}

void TCorridaNivel::Localizar() {
    Etapa(72);
    apoio_ = std::make_unique<TImgApoio>(*elev_);
    grade_ = TGradeMapa{elev_->MinX(), static_cast<double>(elev_->MinY()) + elev_->Rows() * static_cast<double>(elev_->CellHeight()),
                        elev_->CellWidth(), elev_->CellHeight(), elev_->Columns(), elev_->Rows()};
    TMapaFaixas& mapa = res_.mapaFaixas;
    mapa.colunas = elev_->Columns();
    mapa.linhas = elev_->Rows();
    mapa.grade = grade_;
    mapa.unidade = elev_->UnitDist();
    mapa.terraco.assign(static_cast<size_t>(elev_->Columns()) * elev_->Rows(), 0);
    for (int r = 1; r <= elev_->Rows(); ++r)
        for (int c = 1; c <= elev_->Columns(); ++c)
            if (elev_->Cell(r, c) == 0)
                mapa.terraco[static_cast<size_t>(r - 1) * elev_->Columns() + (c - 1)] = TMapaFaixas::kSemDado;
    Etapa(100);

    res_.metresPerUnit = Maiusculas(elev_->UnitDist()) == "KM" ? 1000 : 1;
    res_.progresso = 0;
    res_.pixelArea = (static_cast<double>(res_.metresPerUnit) * elev_->CellWidth()) *
                     (static_cast<double>(res_.metresPerUnit) * elev_->CellHeight());
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
    res_.celulasCampo = n;
    slopeMean_ = soma / static_cast<double>(n);
    runoff_->SetSt(slopeMean_ / 100);
    lastSlope_ = slopeMean_;
    res_.fieldArea = static_cast<double>(n) * res_.pixelArea / 10000;
    res_.fieldAreaM2 = res_.fieldArea * 10000;

    if (!RecomputeSpacing(runoff_->St())) throw EVandoro("A declividade média da área não é positiva.");
    res_.ev0 = EV();
    if (!(res_.ev0 > 0) || !std::isfinite(res_.ev0))
        throw EVandoro("Espaçamento vertical inválido: o valor deve ser maior que zero.");
    res_.avisoResolucao =
        AvisoDeResolucao(res_.ev0 / (slopeMean_ / 100),
                         res_.metresPerUnit * std::max<double>(elev_->CellWidth(), elev_->CellHeight()));

    const TPixelS P0 = TImgApoio::FindHighestPixel(*elev_);
    if (P0.Col() < 0 || elev_->Cell(P0.Row(), P0.Col()) == 0)
        throw EVandoro("A imagem de elevação não tem nenhum valor de elevação.");
    terracos_->Selecao().Recommend(runoff_->St() * 100);
    SetStatusText("Número de terraços locados: ");
    Respirar();

    LocateDownhill(P0, P0.Value(), 0);
    if (!res_.parada) JoinRemainder();
    DropEmptyRecords();
    FecharFaixas();
    Measure();

    runoff_->SetSt(slopeMean_);
    // A run that places nothing is a failure (the caller then replaces no file); a cancel
    // keeps its (empty) result.
    if (res_.registros.Count() == 0 && !res_.parada) throw EVandoro(MotivoSemTerracos(P0.Value()));
    MapLines();
}

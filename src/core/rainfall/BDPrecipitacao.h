#pragma once
// The rainfall-equation database: a station file (fitted IDF equation of each station) and a
// locality file (name and coordinates only), both grouped in 27 state blocks, and the
// inverse-distance interpolation of the equation at any place.
//
// Both files: one header byte, then per state an unsigned 16-bit count n and n fixed-size
// records. Texts are one length byte and a fixed capacity of Windows-1252 characters;
// numbers are little-endian. In memory the texts are UTF-8.
//
// Coordinates are texts DD°MM'SS" holding degrees south and west without sign. A place north
// of the equator (Brazil reaches 5°16' N) is written with a minus sign in the place of the
// first degree digit, "-4°30'00\"" = 4.5° N = -4.5; the value is then negative as a whole.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/rainfall/Estado.h"

// A database file is missing.
class EArquivoNaoExiste : public EVandoro {
public:
    using EVandoro::EVandoro;
};

constexpr const char* kArquivoEstacoes = "Estados_Qnd21.bin";
constexpr const char* kArquivoLocalidades = "Localidades_Qnd21.bin";
// Authors, title and publication of each source cited in the station file.
constexpr const char* kArquivoReferencias = "Referencias_Qnd21.ini";
// The database folder relative to the program's folder.
constexpr const char* kPastaQuenda = "../Arquivos Comuns/Quenda/";

constexpr std::size_t kCapNome = 68;
constexpr std::size_t kCapFonte = 30;
constexpr std::size_t kCapCoordenada = 9;
constexpr std::size_t kTamRegistroEstacao = 152;
constexpr std::size_t kTamRegistroLocalidade = 89;

constexpr const char* kFonteInterpolacao = "Interpolação";

struct StationRecord {
    std::string Name;
    double K = 0, A = 0, B = 0, C = 0;
    std::string Source;  // short citation, or "Interpolação"
    std::string Latitude, Longitude;
};

struct LocalityRecord {
    std::string Name;
    std::string Latitude, Longitude;
};

using TEstacoesPorEstado = std::array<std::vector<StationRecord>, kNumEstados>;
using TLocalidadesPorEstado = std::array<std::vector<LocalityRecord>, kNumEstados>;

// Coordinate text to decimal degrees (south/west positive). Blanks before a number are
// allowed; anything else malformed raises EConversao.
double CoordenadaParaGraus(const std::string& texto);
// Decimal degrees to the text, minutes and seconds truncated. Values that cannot be written
// in nine characters (100° or more, 10° or more north/east) raise EVandoro.
std::string GrausParaCoordenada(double graus);
// The first n characters of a UTF-8 text.
std::string CortarTexto(const std::string& utf8, std::size_t n);

// programa: the program's folder ('/'-terminated); gives the folder of the database files.
std::string PastaBancoChuva(const std::string& programa);

class TBDPrecipitacao {
public:
    // pasta: the folder holding the database files.
    explicit TBDPrecipitacao(std::string pasta);

    std::string CaminhoEstacoes() const;
    std::string CaminhoLocalidades() const;

    // Missing file: EArquivoNaoExiste. Damaged or short file: EVandoro. Either way the data
    // loaded before stays as it was.
    void LoadStations();
    void LoadLocalities(int i);
    // Inverse fifth power of the distance over every station of the database, state by state
    // in index order. A station at the place itself (same texts, or same value) gives its own record.
    // The weighted mean of K, a, b, c is the answer while its curve stays within 1 % of the
    // weighted mean of the stations' intensities; stations whose equations trade K, b and c
    // off against each other make that mean meaningless (several times the intensity of every
    // station around), and then the equation is fitted to the weighted mean intensities.
    StationRecord InterpolateEquation(const std::string& lat, const std::string& lon) const;

    // What the user is told about an interpolated equation: the method and the states whose
    // stations entered it (those with stations in the loaded file).
    std::string TextoInterpolacao() const;

    const std::vector<StationRecord>& Stations(int i) const;
    const std::vector<LocalityRecord>& Localities() const { return localities_; }
    // State of the localities held; -1 before the first load.
    int LocalitiesState() const { return localitiesState_; }

private:
    std::string pasta_;
    TEstacoesPorEstado stations_;
    // Per station of the interpolation: its place in degrees (NaN when its text is unreadable)
    // and its intensities at the design points, worked out once per load.
    struct TCurva {
        double phi = 0, lambda = 0;
        std::vector<double> i;
    };
    std::array<std::vector<TCurva>, kNumEstados> curvas_;
    std::vector<LocalityRecord> localities_;
    int localitiesState_ = -1;
};

// Least-squares fit of K, a, b, c (in logarithms) to intensities i[j] at (tr[j], t[j]); b is
// searched over 0..400 min. False when the points cannot determine an equation.
bool AjustarEquacao(const std::vector<double>& tr, const std::vector<double>& t, const std::vector<double>& i,
                    double& K, double& a, double& b, double& c);

// Writers of both files (header byte 1). A text longer than its capacity, or more than 65535
// records in a state, raises EVandoro; nothing is cut silently. The file is replaced whole.
void GravarEstacoes(const std::string& path, const TEstacoesPorEstado& estados);
void GravarLocalidades(const std::string& path, const TLocalidadesPorEstado& estados);

// One entry of the citation table, keyed by the short citation of the station file.
struct TReferencia {
    std::string Autores, Titulo, Publicacao;
};
// False when the table or the entry is missing (trailing blanks of the citation ignored).
bool LerReferencia(const std::string& pasta, const std::string& citacao, TReferencia& ref);

#pragma once
// Published tables behind the parameter assistants (channel and terrain roughness, the
// upstream wall slope Sm of typical sections, the side slope Z) and the terrace types
// recommended by slope. Rows are in display order; the row number is index + 1.
#include <string>
#include <vector>

struct TLinhaRugCan {
    const char* Grupo;  // empty: same group as the row above
    const char* Opcao;  // radio caption with its '&' accelerator
    double Minimo, Normal, Maximo;
};
const std::vector<TLinhaRugCan>& TabelaRugCan();

struct TLinhaRugTer {
    const char* Cobertura;  // empty: as above
    const char* Pratica;    // empty: as above (or none)
    const char* Opcao;
    const char* Intervalo;
    double Valor;
};
const std::vector<TLinhaRugTer>& TabelaRugTer();

struct TLinhaSm {
    const char* Opcao;   // first line, with its accelerator
    const char* Linha2;  // the construction machine
    double Valor;        // m/m; for the range row the lower bound
    double Maximo;       // upper bound of the range row, 0 elsewhere
};
const std::vector<TLinhaSm>& TabelaSm();
constexpr int kLinhaFaixaSm = 7;  // the row whose value is a range
// Row text as the Sm dialog shows it in the user's slope unit: " 0.000" for "m/m",
// " 0.0" for "%"; the range row joins its bounds with " a ".
std::string TextoSm(int linha, const std::string& unidade, int fator);
// The warning of the range row when its value was not replaced by one number.
std::string MensagemFaixaSm(int fator);
// Messages of a unit the Sm assistant cannot work in; empty when the unit is valid.
std::string ErroUnidadeSm(const std::string& unidade, int fator);

struct TLinhaZ {
    const char* Opcao;
    double Valor;  // 0 for "Outros": the user types the value
};
const std::vector<TLinhaZ>& TabelaZ();
constexpr int kLinhaOutrosZ = 6;
const char* const kTextoOutrosZ = "---";
std::string TextoZ(int linha);  // " 0.00", or "---" for "Outros"

// Terrace types recommended by slope, for the three read-only reference tables.
struct TLinhaTipoTerraco {
    const char* Declividade;
    const char* Tipos;
};
const std::vector<TLinhaTipoTerraco>& TiposParana();
const std::vector<TLinhaTipoTerraco>& TiposEmaterRS();
const std::vector<TLinhaTipoTerraco>& TiposLombardiNeto();

#include "core/sizing/EntradaDimensionamento.h"

#include <cmath>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/SistemaConservacao.h"
#include "core/project/ModeloProjeto.h"
#include "core/rainfall/BDPrecipitacao.h"

namespace {

struct Regra {
    const std::string TCamposDimensionamento::*campo;
    const char* controle;
    const char* grupo;
    const char* mensagem;  // the field left empty
    const char* valor;     // "do parâmetro "b"": the field as its not-positive message names it
};

// Every required field in the checking order, with the systems it applies to.
enum Aplica { Todos, Bacias, Retangulares, Terracos, Gradiente };
struct RegraAplicada {
    Regra r;
    Aplica a;
};

const RegraAplicada kRegras[] = {
    {{&TCamposDimensionamento::edtTr, "edtTr", "Precipitação", "Valor do periodo de retorno inconsistente.", "do tempo de retorno (Tr)"}, Todos},
    {{&TCamposDimensionamento::edtK, "edtK", "Precipitação", "Valor do parâmetro \"K\" inconsistente.", "do parâmetro \"K\""}, Todos},
    {{&TCamposDimensionamento::edt_a, "edt_a", "Precipitação", "Valor do parâmetro \"a\" inconsistente.", "do parâmetro \"a\""}, Todos},
    {{&TCamposDimensionamento::edt_b, "edt_b", "Precipitação", "Valor do parâmetro \"b\" inconsistente.", "do parâmetro \"b\""}, Todos},
    {{&TCamposDimensionamento::edt_c, "edt_c", "Precipitação", "Valor do parâmetro \"c\" inconsistente.", "do parâmetro \"c\""}, Todos},
    {{&TCamposDimensionamento::edtTIE, "edtTIE", "Solo", "Valor da taxa de infiltração estável inconsistente.", "da taxa de infiltração estável"}, Todos},
    {{&TCamposDimensionamento::edtProfundidade, "edtProfundidade", "Barraginha",
      "Valor da profundidade da barraginha inconsistente.", "da profundidade da barraginha"},
     Bacias},
    {{&TCamposDimensionamento::edtAreaContribuicao, "edtAreaContribuicao", "Barraginha",
      "Valor da área de contribuição da barraginha inconsistente.", "da área de contribuição da barraginha"},
     Bacias},
    {{&TCamposDimensionamento::edtM1, "edtM1", "Barraginha", "Valor do parâmetro \"m1\" da barraginha inconsistente.", "do parâmetro \"m1\" da barraginha"},
     Retangulares},
    {{&TCamposDimensionamento::edtM2, "edtM2", "Barraginha", "Valor do parâmetro \"m2\" da barraginha inconsistente.", "do parâmetro \"m2\" da barraginha"},
     Retangulares},
    {{&TCamposDimensionamento::edtSm, "edtSm", "Canal", "Valor da inclinação do murundum inconsistente.", "da inclinação do murundum"}, Terracos},
    {{&TCamposDimensionamento::edtSt, "edtSt", "Canal", "Valor da declividade do terreno inconsistente.", "da declividade do terreno"}, Terracos},
    {{&TCamposDimensionamento::edtRugTerreno, "edtRugTerreno", "Terreno",
      "Valor da rugosidade do terreno inconsistente.", "da rugosidade do terreno"},
     Gradiente},
    {{&TCamposDimensionamento::edtDecCanal, "edtDecCanal", "Canal", "Valor da declividade do canal inconsistente.", "da declividade do canal"},
     Gradiente},
    {{&TCamposDimensionamento::edtCompCanal, "edtCompCanal", "Canal", "Valor do comprimento do canal inconsistente.", "do comprimento do canal"},
     Gradiente},
    {{&TCamposDimensionamento::edtRugCanal, "edtRugCanal", "Canal", "Valor da rugosidade do canal inconsistente.", "da rugosidade do canal"},
     Gradiente},
    {{&TCamposDimensionamento::edtDecTerreno, "edtDecTerreno", "Terreno",
      "Valor da declividade do terreno inconsistente.", "da declividade do terreno"},
     Terracos},
    {{&TCamposDimensionamento::edtVertical, "edtVertical", "Espaçamento", "Valor do espaçamento vertical inconsistente.", "do espaçamento vertical"},
     Terracos},
    {{&TCamposDimensionamento::edtHorizontal, "edtHorizontal", "Espaçamento",
      "Valor do espaçamento horizontal inconsistente.", "do espaçamento horizontal"},
     Terracos},
};

bool Aplicavel(Aplica a, const TCamposDimensionamento& f) {
    const bool bacia = f.cbSistema == 2;
    switch (a) {
        case Todos: return true;
        case Bacias: return bacia;
        case Retangulares: return bacia && f.cbFormatoBarraginha == 0;
        case Terracos: return !bacia;
        case Gradiente: return f.cbSistema == 1;
    }
    return false;
}

TCampoEntrada Campo(const Regra& r, std::string mensagem) { return {r.controle, r.grupo, std::move(mensagem)}; }

}  // namespace

TCampoEntrada PrimeiroCampoVazio(const TCamposDimensionamento& f) {
    for (const auto& ra : kRegras) {
        if (!Aplicavel(ra.a, f)) continue;
        const std::string& texto = f.*ra.r.campo;
        if (texto.empty()) return Campo(ra.r, ra.r.mensagem);
        // A typed 0 is what an empty field reads as: no storm, slope or size can be 0.
        double v = 0;
        if (TryStrToFloat(texto, v) && !(v > 0)) return Campo(ra.r, MensagemNaoPositivo(ra.r.valor));
    }
    const std::string cobertura =
        TNumeroDaCurva::MensagemCobertura(f.cbUsoDoSolo, f.cbTratamento, f.cbCondicaoHidrologica);
    if (!cobertura.empty()) return {"cbUsoDoSolo", "Solo", cobertura};
    return {};
}

std::string MensagemNaoPositivo(const std::string& campo) {
    return "O valor " + campo + " deve ser maior que zero.";
}

TCampoEntrada PrimeiroCampoInvalido(const TCamposDimensionamento& f) {
    // Every number field that StoreInputs reads, whether the system uses it or not.
    for (const auto& ra : kRegras) {
        const std::string& texto = f.*ra.r.campo;
        double v = 0;
        if (!texto.empty() && !TryStrToFloat(texto, v)) {
            try {
                StrToFloat(texto);
            } catch (const EVandoro& e) {
                return Campo(ra.r, e.what());
            }
        }
    }
    return {};
}

bool LimitarComprimentoCanal(std::string& comprimento) {
    double v = 0;
    if (!TryStrToFloat(comprimento, v) || !(v > kComprimentoMaximoCanal)) return false;
    comprimento = FloatToStr(kComprimentoMaximoCanal);
    return true;
}

double DefinirAlturaRecomendada(TSistemaConservacao& s, double cdu) {
    s.SetCDu(cdu);
    s.SetHr(AlturaRecomendada(s.CDu(), s.H()));
    return s.Hr();
}

std::string EVAoVivo(const std::string& eh, const std::string& declive, int kdecli, const char* formato) {
    double h = 0, d = 0;
    if (eh.empty() || declive.empty() || kdecli == 0) return {};
    if (!TryStrToFloat(eh, h) || !TryStrToFloat(declive, d)) return {};
    const double ev = EspacamentoVertical(h, d) / kdecli;
    return ev > 0 ? FormatFloat(formato, ev) : std::string();
}

TDeclividadeDigitada DeclividadeDigitada(TModeloProjeto& m, const std::string& declive, const std::string& eh) {
    TDeclividadeDigitada r;
    double d = 0;
    if (declive.empty() || !TryStrToFloat(declive, d) || d == 0) return r;
    r.valida = true;
    const int kd = m.Configuracao().KDecli;
    m.NumeroDaCurva().SetSt(d / kd);
    double h = 0;
    if (eh.empty() || !TryStrToFloat(eh, h)) return r;
    m.SistemaAtual().Espacamento().SetEH(h);
    r.ev = FormatFloat("0.0##", EspacamentoVertical(h, d) / kd);
    return r;
}

double VIBDoCampo(const std::string& texto, double kvib) {
    double v = 0;
    return !texto.empty() && TryStrToFloat(texto, v) && kvib != 0 ? v / kvib : -1;
}

int DeclividadeInteira(double declive) { return static_cast<int>(std::nearbyint(declive * 100.0)); }

std::string CoordenadaDoCampo(const std::string& texto, const std::string& nome) {
    int digitos = 0, brancos = 0;
    for (char c : texto) {
        if (c >= '0' && c <= '9') ++digitos;
        else if (c == ' ') ++brancos;
    }
    if (digitos == 0) return {};
    if (digitos != 6 || brancos != 0)
        throw EVandoro("A " + nome + " \"" + texto + "\" está incompleta: preencha graus, minutos e segundos.");
    CoordenadaParaGraus(texto);  // raises on anything else malformed
    return texto;
}

#include "core/location/EntradaLocacao.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/location/Locacao.h"
#include "core/project/ModeloProjeto.h"

namespace {

const char* const kFmt = "0.0######";

std::string Positivo(const char* fmt, double v) { return v > 0 ? FormatFloat(fmt, v) : std::string(); }

struct Regra {
    const std::string TCamposLocacao::*campo;
    const char* controle;
    const char* grupo;
    const char* mensagem;
};

const Regra kObrigatorios[] = {
    {&TCamposLocacao::edtTr, "edtTr", "Precipitação", "Valor do periodo de retorno inconsistente."},
    {&TCamposLocacao::edtK, "edtK", "Precipitação", "Valor do parâmetro \"K\" inconsistente."},
    {&TCamposLocacao::edt_a, "edt_a", "Precipitação", "Valor do parâmetro \"a\" inconsistente."},
    {&TCamposLocacao::edt_b, "edt_b", "Precipitação", "Valor do parâmetro \"b\" inconsistente."},
    {&TCamposLocacao::edt_c, "edt_c", "Precipitação", "Valor do parâmetro \"c\" inconsistente."},
    {&TCamposLocacao::edtSm, "edtSm", "Canal", "Valor da inclinação do murundum inconsistente."},
    {&TCamposLocacao::edtTIE, "edtTIE", "Solo", "Valor da taxa de infiltração estável inconsistente."},
};

// Every number the collection reads, for the conversion check.
const Regra kNumeros[] = {
    kObrigatorios[0], kObrigatorios[1], kObrigatorios[2], kObrigatorios[3], kObrigatorios[4], kObrigatorios[5],
    {&TCamposLocacao::edtCoefDesinf, "edtCoefDesinf", "Canal", ""},
    {&TCamposLocacao::edtEV, "edtEV", "Espaçamento", ""},
    {&TCamposLocacao::edtAlturaTerraco, "edtAlturaTerraco", "Espaçamento", ""},
    kObrigatorios[6],
    {&TCamposLocacao::edtMaxTerracos, "edtMaxTerracos", "Plano de terraços", ""},
    {&TCamposLocacao::edtComprimentoMinimo, "edtComprimentoMinimo", "Plano de terraços", ""},
    {&TCamposLocacao::edtRaioMinimo, "edtRaioMinimo", "Plano de terraços", ""},
    {&TCamposLocacao::edtTolerancia, "edtTolerancia", "Plano de terraços", ""},
};

void PlanoNosCampos(const TPlanoNivel& p, TCamposLocacao& f) {
    f.edtMaxTerracos = p.maxTerracos > 0 ? std::to_string(p.maxTerracos) : std::string();
    f.edtComprimentoMinimo = FormatFloat("0.##", p.comprimentoMinimo);
    f.edtRaioMinimo = FormatFloat("0.##", p.raioMinimo);
    f.edtTolerancia = FormatFloat("0.##", p.toleranciaCm);
}

}  // namespace

TCamposLocacao CamposLocacaoVazios() {
    TCamposLocacao f;
    f.edtCoefDesinf.assign(1, '1');  // (not = "1": GCC 12 warns falsely on that)
    PlanoNosCampos(TPlanoNivel{}, f);
    return f;
}

TCamposLocacao LoadInputsLocacao(TModeloProjeto& m) {
    TCamposLocacao f;
    const TConfiguracao& cfg = m.Configuracao();
    const auto& p = m.Precipitacao();
    f.edtTr = Positivo(kFmt, p.Tr());
    f.edtK = Positivo(kFmt, p.K());
    f.edt_a = Positivo(kFmt, p.A());
    f.edt_b = Positivo(kFmt, p.B());
    f.edt_c = Positivo(kFmt, p.C());
    f.meLatitude = m.Quenda().Latitude();
    f.meLongitude = m.Quenda().Longitude();
    const TTerracosNivel& t = m.TerracosNivel();
    f.edtSm = Positivo(kFmt, cfg.KDecli * t.Sm().Value());
    f.edtCoefDesinf = Positivo(kFmt, t.CDu());
    const int metodo = t.Espacamento().Metodologia().Index();
    f.cbMetodo = metodo <= TMetodologiaEspacamento::AlturaArbitrada ? metodo : 0;
    f.edtEV = Positivo("0.0##", t.Espacamento().EV());
    f.edtAlturaTerraco = Positivo("0.0##", t.H());
    const int criterio = t.Selecao().MetodoSelecao();
    f.rgTipoTerraco = criterio >= 0 && criterio <= 3 ? criterio : 0;
    f.tipoArbitrado = t.Selecao().TipoArbitradoIndex() >= 0 && t.Selecao().TipoArbitradoIndex() <= 4
                          ? t.Selecao().TipoArbitradoIndex()
                          : 0;
    f.edtTIE = Positivo(kFmt, cfg.KVIB * m.NumeroDaCurva().VIB());
    const TLocacaoNivel& loc = m.LocacaoNivel();
    f.edtImagemElevacao = loc.fnImgElev();
    f.edtImagemDec = loc.fnImgDecli();
    f.edtVetorSaida = loc.fnVetSaida();
    f.edtLimite = loc.fnLimite();
    PlanoNosCampos(loc.Plano(), f);
    return f;
}

void StoreInputsLocacao(const TCamposLocacao& f, TModeloProjeto& m) {
    const TConfiguracao& cfg = m.Configuracao();
    TTerracosNivel& t = m.TerracosNivel();
    TEspacamento& e = t.Espacamento();
    if (f.cbMetodo >= 0 && f.cbMetodo <= TMetodologiaEspacamento::AlturaArbitrada) e.Metodologia().SetIndex(f.cbMetodo);
    if (f.cbMetodo == TMetodologiaEspacamento::EspacamentoArbitrado) e.SetEV(NumeroDoCampo(f.edtEV));
    if (f.cbMetodo == TMetodologiaEspacamento::AlturaArbitrada) t.SetH(NumeroDoCampo(f.edtAlturaTerraco));

    auto& p = m.Precipitacao();
    if (NumeroDoCampo(f.edtTr) > 0) p.SetTr(NumeroDoCampo(f.edtTr));
    if (NumeroDoCampo(f.edtK) > 0) p.SetK(NumeroDoCampo(f.edtK));
    p.SetA(NumeroDoCampo(f.edt_a));
    p.SetB(NumeroDoCampo(f.edt_b));
    p.SetC(NumeroDoCampo(f.edt_c));
    if (!f.meLatitude.empty()) m.Quenda().SetLatitude(f.meLatitude);
    if (!f.meLongitude.empty()) m.Quenda().SetLongitude(f.meLongitude);

    if (f.rgTipoTerraco >= 0 && f.rgTipoTerraco <= 3) {
        t.Selecao().SetMetodoSelecao(static_cast<std::int8_t>(f.rgTipoTerraco));
        if (f.rgTipoTerraco == TSelecaoTipoTerraco::TipoArbitrado) t.Selecao().SetArbitraryType(f.tipoArbitrado);
    }
    t.SetCDu(NumeroDoCampo(f.edtCoefDesinf));
    t.Secao().SetTipo(TTipoSecao::Triangular);
    t.Sm().SetValue(NumeroDoCampo(f.edtSm) / cfg.KDecli);
    m.NumeroDaCurva().SetVIB(NumeroDoCampo(f.edtTIE) / cfg.KVIB);

    TLocacaoNivel& loc = m.LocacaoNivel();
    loc.SetfnImgElev(f.edtImagemElevacao);
    loc.SetfnImgDecli(f.edtImagemDec);
    loc.SetfnVetSaida(f.edtVetorSaida);
    loc.SetfnLimite(f.edtLimite);
    const TPlanoNivel plano = PlanoDosCampos(f);
    ChecaPlanoNivel(plano);
    loc.SetPlano(plano);
}

TPlanoNivel PlanoDosCampos(const TCamposLocacao& f) {
    TPlanoNivel p;
    p.maxTerracos = MaxTerracosDe(NumeroDoCampo(f.edtMaxTerracos));
    p.comprimentoMinimo = NumeroDoCampo(f.edtComprimentoMinimo);
    p.raioMinimo = NumeroDoCampo(f.edtRaioMinimo);
    p.toleranciaCm = NumeroDoCampo(f.edtTolerancia);
    return p;
}

TCampoEntrada CampoInvalidoDoPlano(const TCamposLocacao& f) {
    static const char* const kControles[] = {"edtMaxTerracos", "edtComprimentoMinimo", "edtRaioMinimo", "edtTolerancia"};
    std::string mensagem;
    const int i = CampoForaDoPlano(PlanoDosCampos(f), mensagem);
    if (i < 0) return {};
    return {kControles[i], "Plano de terraços", mensagem};
}

TCampoEntrada PrimeiroCampoVazioLocacao(const TCamposLocacao& f) {
    const Regra ev = {&TCamposLocacao::edtEV, "edtEV", "Espaçamento", kMensagemEV};
    const Regra altura = {&TCamposLocacao::edtAlturaTerraco, "edtAlturaTerraco", "Espaçamento", kMensagemAltura};
    std::vector<Regra> regras(std::begin(kObrigatorios), std::end(kObrigatorios));
    // The arbitrated value of the method chosen, before the soil.
    if (f.cbMetodo == TMetodologiaEspacamento::EspacamentoArbitrado) regras.insert(regras.end() - 1, ev);
    if (f.cbMetodo == TMetodologiaEspacamento::AlturaArbitrada) regras.insert(regras.end() - 1, altura);
    for (const Regra& r : regras) {
        const std::string& texto = f.*r.campo;
        double v = 0;
        // A typed 0 shows empty in the model's eyes: the same message.
        if (texto.empty() || (TryStrToFloat(texto, v) && !(v > 0))) return {r.controle, r.grupo, r.mensagem};
    }
    return {};
}

TCampoEntrada PrimeiroCampoInvalidoLocacao(const TCamposLocacao& f) {
    for (const Regra& r : kNumeros) {
        const std::string& texto = f.*r.campo;
        double v = 0;
        if (texto.empty() || TryStrToFloat(texto, v)) continue;
        try {
            StrToFloat(texto);
        } catch (const EVandoro& e) {
            return {r.controle, r.grupo, e.what()};
        }
    }
    return CampoInvalidoDoPlano(f);
}

std::string VetorDaElevacao(const std::string& elevacao) {
    if (elevacao.empty()) return {};
    return std::filesystem::path(elevacao).replace_extension(kExtensaoVetor).string();
}

#include "core/location/EntradaLocacao.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/location/CorridaGradiente.h"
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
    {&TCamposLocacao::edtComprimentoMaximo, "edtComprimentoMaximo", "Plano de terraços", ""},
    {&TCamposLocacao::edtDecCanal, "edtDecCanal", "Canal", ""},
    {&TCamposLocacao::edtRugCanal, "edtRugCanal", "Canal", ""},
    {&TCamposLocacao::edtRugTerreno, "edtRugTerreno", "Solo", ""},
};

// What a graded system needs besides, in the checking order (before the soil).
const Regra kGradiente[] = {
    {&TCamposLocacao::edtDecCanal, "edtDecCanal", "Canal", "Valor da declividade do canal inconsistente."},
    {&TCamposLocacao::edtRugCanal, "edtRugCanal", "Canal", "Valor da rugosidade do canal inconsistente."},
    {&TCamposLocacao::edtRugTerreno, "edtRugTerreno", "Solo", "Valor da rugosidade do terreno inconsistente."},
};

void PlanoNosCampos(const TPlanoNivel& p, TCamposLocacao& f) {
    f.edtMaxTerracos = p.maxTerracos > 0 ? std::to_string(p.maxTerracos) : std::string();
    f.edtComprimentoMinimo = FormatFloat("0.##", p.comprimentoMinimo);
    f.edtRaioMinimo = FormatFloat("0.##", p.raioMinimo);
    f.edtTolerancia = FormatFloat("0.##", p.toleranciaCm);
    f.edtComprimentoMaximo = FormatFloat("0.##", p.comprimentoMaximoCanal);
}

}  // namespace

TCamposLocacao CamposLocacaoVazios() {
    TCamposLocacao f;
    f.edtCoefDesinf.assign(1, '1');  // (not = "1": GCC 12 warns falsely on that)
    PlanoNosCampos(TPlanoNivel{}, f);
    return f;
}

TSistemaConservacao& SistemaDaLocacao(TModeloProjeto& m) {
    if (m.TipoSistema().Tipo() == TTipoSistema::Gradiente) return m.TerracosGradiente();
    return m.TerracosNivel();
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
    f.gradiente = m.TipoSistema().Tipo() == TTipoSistema::Gradiente;
    const TSistemaConservacao& s = SistemaDaLocacao(m);
    f.edtSm = Positivo(kFmt, cfg.KDecli * s.Sm().Value());
    f.edtCoefDesinf = Positivo(kFmt, s.CDu());
    const int metodo = s.Espacamento().Metodologia().Index();
    f.cbMetodo = metodo <= TMetodologiaEspacamento::AlturaArbitrada ? metodo : 0;
    f.edtEV = Positivo("0.0##", s.Espacamento().EV());
    f.edtAlturaTerraco = Positivo("0.0##", m.TerracosNivel().H());
    if (f.gradiente) {
        const TTerracosGradiente& g = m.TerracosGradiente();
        f.edtDecCanal = Positivo(kFmt, cfg.KDecli * g.Sc());
        f.edtRugCanal = Positivo(kFmt, g.nc().Value());
        f.edtRugTerreno = Positivo(kFmt, m.NumeroDaCurva().nt().Value());
    }
    const TTerracosNivel& t = m.TerracosNivel();
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
    f.edtEscoadouro = loc.fnEscoadouro();
    PlanoNosCampos(loc.Plano(), f);
    const TConfigConstrucao& k = cfg.Construcao;
    f.cbMaquina = k.maquinas.empty() ? -1 : k.IndiceMaquina(m.Maquina());
    return f;
}

void StoreInputsLocacao(const TCamposLocacao& f, TModeloProjeto& m) {
    const TConfiguracao& cfg = m.Configuracao();
    // Another system of the project (basins) stays as it is unless graded is asked for.
    if (f.gradiente) m.TipoSistema().SetTipo(TTipoSistema::Gradiente);
    else if (m.TipoSistema().Tipo() == TTipoSistema::Gradiente) m.TipoSistema().SetTipo(TTipoSistema::Nivel);
    TSistemaConservacao& s = SistemaDaLocacao(m);
    TTerracosNivel& t = m.TerracosNivel();
    TEspacamento& e = s.Espacamento();
    // A graded system has no height-given spacing: its own method stays.
    const int metodos = f.gradiente ? TMetodologiaEspacamento::AlturaArbitrada : TMetodologiaEspacamento::AlturaArbitrada + 1;
    if (f.cbMetodo >= 0 && f.cbMetodo < metodos) e.Metodologia().SetIndex(f.cbMetodo);
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
    s.SetCDu(NumeroDoCampo(f.edtCoefDesinf));
    s.Secao().SetTipo(TTipoSecao::Triangular);
    s.Sm().SetValue(NumeroDoCampo(f.edtSm) / cfg.KDecli);
    m.NumeroDaCurva().SetVIB(NumeroDoCampo(f.edtTIE) / cfg.KVIB);
    if (f.gradiente) {
        TTerracosGradiente& g = m.TerracosGradiente();
        g.SetSc(NumeroDoCampo(f.edtDecCanal) / cfg.KDecli);
        g.nc().SetValue(NumeroDoCampo(f.edtRugCanal));
        m.NumeroDaCurva().nt().SetValue(NumeroDoCampo(f.edtRugTerreno));
    }

    TLocacaoNivel& loc = m.LocacaoNivel();
    loc.SetfnImgElev(f.edtImagemElevacao);
    loc.SetfnImgDecli(f.edtImagemDec);
    loc.SetfnVetSaida(f.edtVetorSaida);
    loc.SetfnLimite(f.edtLimite);
    loc.SetfnEscoadouro(f.edtEscoadouro);
    const TPlanoNivel plano = PlanoDosCampos(f);
    ChecaPlanoNivel(plano);
    loc.SetPlano(plano);
    // The machine the project names stays named; the default stays the settings' default.
    const TConfigConstrucao& k = cfg.Construcao;
    if (f.cbMaquina >= 0 && f.cbMaquina < static_cast<int>(k.maquinas.size()) &&
        f.cbMaquina != k.IndiceMaquina(m.Maquina()))
        m.SetMaquina(k.maquinas[static_cast<size_t>(f.cbMaquina)].nome);
}

TPlanoNivel PlanoDosCampos(const TCamposLocacao& f) {
    TPlanoNivel p;
    p.maxTerracos = MaxTerracosDe(NumeroDoCampo(f.edtMaxTerracos));
    p.comprimentoMinimo = NumeroDoCampo(f.edtComprimentoMinimo);
    p.raioMinimo = NumeroDoCampo(f.edtRaioMinimo);
    p.toleranciaCm = NumeroDoCampo(f.edtTolerancia);
    // Kept as it was while the field is not shown (level layouts).
    if (!f.edtComprimentoMaximo.empty()) p.comprimentoMaximoCanal = NumeroDoCampo(f.edtComprimentoMaximo);
    return p;
}

TCampoEntrada CampoInvalidoDoPlano(const TCamposLocacao& f) {
    static const char* const kControles[] = {"edtMaxTerracos", "edtComprimentoMinimo", "edtRaioMinimo", "edtTolerancia",
                                             "edtComprimentoMaximo"};
    std::string mensagem;
    const int i = CampoForaDoPlano(PlanoDosCampos(f), mensagem);
    if (i < 0) return {};
    return {kControles[i], "Plano de terraços", mensagem};
}

TCampoEntrada PrimeiroCampoVazioLocacao(const TCamposLocacao& f) {
    const Regra ev = {&TCamposLocacao::edtEV, "edtEV", "Espaçamento", kMensagemEV};
    const Regra altura = {&TCamposLocacao::edtAlturaTerraco, "edtAlturaTerraco", "Espaçamento", kMensagemAltura};
    if (f.gradiente && f.cbMetodo == TMetodologiaEspacamento::AlturaArbitrada)
        return {"cbMetodo", "Espaçamento", kMensagemAlturaNoGradiente};
    // Storm and Sm; the graded channel; the arbitrated value of the method chosen; the
    // terrain's roughness; the soil.
    std::vector<Regra> regras(std::begin(kObrigatorios), std::end(kObrigatorios) - 1);
    if (f.gradiente) regras.insert(regras.end(), std::begin(kGradiente), std::end(kGradiente) - 1);
    if (f.cbMetodo == TMetodologiaEspacamento::EspacamentoArbitrado) regras.push_back(ev);
    if (f.cbMetodo == TMetodologiaEspacamento::AlturaArbitrada) regras.push_back(altura);
    if (f.gradiente) regras.push_back(std::end(kGradiente)[-1]);
    regras.push_back(std::end(kObrigatorios)[-1]);
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

#include "core/sizing/Dimensionamento.h"

#include <cmath>
#include <exception>

#include "core/common/Numeros.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/EntradaDimensionamento.h"

namespace {

const char* const kFmt = "0.0######";

// A value not above 0 shows as an empty field.
std::string ShowPositive(const char* fmt, double v) { return v > 0 ? FormatFloat(fmt, v) : std::string(); }

TSistemaConservacao& SistemaDoCodigo(TModeloProjeto& m, TTipoSistema codigo) {
    if (codigo == TTipoSistema::Nivel) return m.TerracosNivel();
    return m.TerracosGradiente();
}

}  // namespace

const char* const kTextoSemEscoamento =
    "Não há escoamento superficial para esta chuva e este solo: a altura recomendada é apenas a folga "
    "de 10 cm, sem canal dimensionado.";

bool SemEscoamentoSuperficial(double escoamento) { return !(escoamento > 0); }

const char* const kTextoBaciaSemEscoamento =
    "Não há escoamento superficial para esta chuva e este solo: a lâmina escoada é zero e as "
    "barraginhas não têm volume a armazenar.";

std::string AvisoResultado(const TResultadoDimensionamento& r) {
    if (!r.SemEscoamento) return "";
    return r.TipoSistema == TTipoSistema::BaciaAcumulacao ? kTextoBaciaSemEscoamento : kTextoSemEscoamento;
}

TTipoSistema CodigoSistema(int indiceLista) {
    return indiceLista == 0 ? TTipoSistema::Nivel : indiceLista == 1 ? TTipoSistema::Gradiente : TTipoSistema::BaciaAcumulacao;
}
int IndiceSistema(TTipoSistema codigo) { return codigo == TTipoSistema::Nivel ? 0 : codigo == TTipoSistema::Gradiente ? 1 : 2; }

TCamposDimensionamento LoadInputs(TModeloProjeto& m) {
    TCamposDimensionamento f;
    const TConfiguracao& cfg = m.Configuracao();
    const double kd = cfg.KDecli, kv = cfg.KVIB;
    f.cbSistema = IndiceSistema(m.TipoSistema().Tipo());
    TSistemaConservacao& sis = SistemaDoCodigo(m, m.TipoSistema().Tipo());
    const auto& p = m.Precipitacao();
    f.edtTr = ShowPositive(kFmt, p.Tr());
    f.edtK = ShowPositive(kFmt, p.K());
    f.edt_a = ShowPositive(kFmt, p.A());
    f.edt_b = ShowPositive(kFmt, p.B());
    f.edt_c = ShowPositive(kFmt, p.C());
    f.meLatitude = m.Quenda().Latitude();
    f.meLongitude = m.Quenda().Longitude();
    const TNumeroDaCurva& cn = m.NumeroDaCurva();
    f.cbUsoDoSolo = cn.UsoDoSolo().Index();
    f.cbTratamento = cn.Tratamento().Index();
    f.cbCondicaoHidrologica = cn.CondicaoHidrologica().Index();
    f.edtTIE = ShowPositive(kFmt, kv * cn.VIB());
    f.edtDecTerreno = ShowPositive(kFmt, kd * cn.St());
    f.edtSt = f.edtDecTerreno;
    f.edtSm = ShowPositive(kFmt, kd * sis.Sm().Value());
    f.cbMetodo = sis.Espacamento().Metodologia().Index();
    if (CodigoSistema(f.cbSistema) == TTipoSistema::Gradiente) {
        const TTerracosGradiente& g = m.TerracosGradiente();
        f.edtRugTerreno = ShowPositive(kFmt, cn.nt().Value());
        f.edtDecCanal = ShowPositive(kFmt, kd * g.Sc());
        f.edtRugCanal = ShowPositive(kFmt, g.nc().Value());
        f.edtCompCanal = ShowPositive(kFmt, g.Comprimento());
    }
    f.edtHorizontal = ShowPositive("0.0#", sis.Espacamento().EH());
    f.edtVertical = ShowPositive("0.0#", sis.Espacamento().EV());
    const TBaciaAcumulacao& b = m.BaciaAcumulacao();
    f.cbFormatoBarraginha = b.Formato() == TBaciaAcumulacao::SemiCircular ? 1 : 0;
    f.edtProfundidade = ShowPositive("0.0#", b.Profundidade());
    f.edtM1 = ShowPositive("0.00##", b.m1());
    f.edtM2 = ShowPositive("0.00##", b.m2());
    f.edtAreaContribuicao = ShowPositive("0.00##", m.AreaContribBacia());
    return f;
}

void StoreInputs(const TCamposDimensionamento& f, TModeloProjeto& m) {
    const TConfiguracao& cfg = m.Configuracao();
    const double kd = cfg.KDecli, kv = cfg.KVIB;
    const TTipoSistema codigo = CodigoSistema(f.cbSistema);
    m.TipoSistema().SetTipo(codigo);

    auto& p = m.Precipitacao();
    // The storm holds only a Tr and K above zero: an empty or zero field is left to the
    // required-field check, which names it.
    if (const double tr = NumeroDoCampo(f.edtTr); tr > 0) p.SetTr(tr);
    if (const double k = NumeroDoCampo(f.edtK); k > 0) p.SetK(k);
    p.SetA(NumeroDoCampo(f.edt_a));
    p.SetB(NumeroDoCampo(f.edt_b));
    p.SetC(NumeroDoCampo(f.edt_c));
    if (!f.meLatitude.empty()) m.Quenda().SetLatitude(f.meLatitude);
    if (!f.meLongitude.empty()) m.Quenda().SetLongitude(f.meLongitude);

    TNumeroDaCurva& cn = m.NumeroDaCurva();
    // Indices outside the lists keep what the model holds.
    if (f.cbUsoDoSolo >= 0 && f.cbUsoDoSolo <= 5) cn.UsoDoSolo().SetIndex(static_cast<std::uint8_t>(f.cbUsoDoSolo));
    if (f.cbTratamento >= 0 && f.cbTratamento <= 3) cn.Tratamento().SetIndex(static_cast<std::uint8_t>(f.cbTratamento));
    if (f.cbCondicaoHidrologica >= 0 && f.cbCondicaoHidrologica <= 3)
        cn.CondicaoHidrologica().SetIndex(static_cast<std::uint8_t>(f.cbCondicaoHidrologica));
    cn.SetVIB(NumeroDoCampo(f.edtTIE) / kv);
    cn.SetSt(NumeroDoCampo(f.edtDecTerreno) / kd);

    TSistemaConservacao& s = SistemaDoCodigo(m, codigo);
    s.Secao().SetTipo(TTipoSecao::Triangular);
    s.Sm().SetValue(NumeroDoCampo(f.edtSm) / kd);
    s.SetB(0);
    s.Z().SetValue(0);
    if (codigo == TTipoSistema::Gradiente) {
        TTerracosGradiente& g = m.TerracosGradiente();
        cn.nt().SetValue(NumeroDoCampo(f.edtRugTerreno));
        g.nc().SetValue(NumeroDoCampo(f.edtRugCanal));
        g.SetComprimento(static_cast<int32_t>(std::nearbyint(NumeroDoCampo(f.edtCompCanal))));
        g.SetSc(NumeroDoCampo(f.edtDecCanal) / kd);
    }
    // The list holds the codes 0..4 (4 only for level terraces); a code it cannot show
    // (a project's "Nenhuma") is left as it is.
    const int itens = codigo == TTipoSistema::Nivel ? 5 : 4;
    if (f.cbMetodo >= 0 && f.cbMetodo < itens) s.Espacamento().Metodologia().SetIndex(f.cbMetodo);
    s.Espacamento().SetEH(NumeroDoCampo(f.edtHorizontal));
    s.Espacamento().SetEV(EspacamentoVertical(s.Espacamento().EH(), cn.St()));

    TBaciaAcumulacao& b = m.BaciaAcumulacao();
    b.SetFormato(static_cast<std::uint8_t>(f.cbFormatoBarraginha));
    b.SetProfundidade(NumeroDoCampo(f.edtProfundidade));
    b.Setm1(NumeroDoCampo(f.edtM1));
    b.Setm2(NumeroDoCampo(f.edtM2));
    m.SetAreaContribBacia(NumeroDoCampo(f.edtAreaContribuicao));
    // The basin's channel works with unit values and one volume.
    b.SetMultiplicadorVolume(1);
    TCanalGradienteCustom& c = b.Canal();
    c.Z().SetValue(1);
    c.SetB(1);
    c.nc().SetValue(1);
    c.SetSc(1);
    c.Sm().SetValue(1);
}

std::string ValidateInputs(const TCamposDimensionamento& f) { return PrimeiroCampoVazio(f).Mensagem; }

TResultadoDimensionamento Calcular(TModeloProjeto& m) {
    TResultadoDimensionamento r;
    const TTipoSistema codigo = m.TipoSistema().Tipo();
    r.TipoSistema = CodigoSistema(IndiceSistema(codigo));
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    auto& storm = m.Precipitacao();
    cn.VerificarCobertura();
    try {
        if (r.TipoSistema == TTipoSistema::BaciaAcumulacao) {
            TBaciaAcumulacao& b = m.BaciaAcumulacao();
            r.LES = cn.RunoffDepth(storm);
            r.Volume = r.LES * m.AreaContribBacia() / 1000.0;
            b.SetVolume(r.Volume);
            b.ComputeBasin(1);
            r.Formato = b.Formato();
            r.ComprimentoOuRaio = r.Formato == TBaciaAcumulacao::SemiCircular ? b.Raio() : b.Comprimento();
            r.Largura = b.Largura();
            r.SemEscoamento = SemEscoamentoSuperficial(r.LES);
            return r;
        }
        TSistemaConservacao& s = SistemaDoCodigo(m, codigo);
        s.SizeChannel(cn, storm);
        s.Espacamento().SetEV(EspacamentoVertical(s.Espacamento().EH(), cn.St()));
        if (r.TipoSistema == TTipoSistema::Gradiente) {
            r.Q = m.TerracosGradiente().Q();
            m.SetVazaoSalva(r.Q);
        } else {
            r.LES = cn.RunoffDepth(storm);
        }
        r.EV = s.Espacamento().EV();
        r.EH = s.Espacamento().EH();
        r.H = s.H();
        // The recommended height reads the coefficient back from its field ("0.00").
        r.Hr = DefinirAlturaRecomendada(s, NumeroDoCampo(ShowPositive("0.00", s.CDu())));
        r.CDu = s.CDu();
        r.SemEscoamento = SemEscoamentoSuperficial(r.TipoSistema == TTipoSistema::Gradiente ? r.Q : r.LES);
    } catch (const std::exception& e) {
        throw EErroCalculo(e.what());
    }
    return r;
}

TResultadoDimensionamento Dimensionar(TModeloProjeto& m) {
    TCamposDimensionamento f = LoadInputs(m);
    const bool limitado = CodigoSistema(f.cbSistema) == TTipoSistema::Gradiente &&
                          LimitarComprimentoCanal(f.edtCompCanal);
    StoreInputs(f, m);
    const std::string falta = ValidateInputs(f);
    if (!falta.empty()) throw EVandoro(falta);
    TResultadoDimensionamento r = Calcular(m);
    r.ComprimentoLimitado = limitado;
    return r;
}

std::string NomeSistema(TTipoSistema tipoSistema) {
    if (tipoSistema == TTipoSistema::Nivel) return "Terraços em Nível(sem drenagem)";
    if (tipoSistema == TTipoSistema::Gradiente) return "Terraços com Gradiente(com drenagem)";
    return "Barragens de Contenção(Barraginhas)";
}

std::vector<TLinhaResultado> LinhasResultado(const TResultadoDimensionamento& r) {
    std::vector<TLinhaResultado> l;
    if (r.TipoSistema == TTipoSistema::BaciaAcumulacao) {
        const bool semi = r.Formato == TBaciaAcumulacao::SemiCircular;
        l.push_back({semi ? "Raio:" : "Comprimento:", FormatFloat("0.0", r.ComprimentoOuRaio), "m"});
        if (!semi) l.push_back({"Largura:", FormatFloat("0.0", r.Largura), "m"});
        l.push_back({"LES:", FormatFloat("0.0", r.LES), "mm"});
        l.push_back({"Volume:", FormatFloat("0.0", r.Volume), "m3"});
        return l;
    }
    if (r.TipoSistema == TTipoSistema::Gradiente)
        l.push_back({"Vazão:", FormatFloat("0.00", r.Q), "L/s"});
    else
        l.push_back({"LES:", FormatFloat("0.0", r.LES), "mm"});
    l.push_back({"Espaçamento vertical:", FormatFloat("0.00", r.EV), "m"});
    l.push_back({"Espaçamento horizontal:", FormatFloat("0.00", r.EH), "m"});
    l.push_back({"Altura teórica (H):", FormatFloat("0.0", r.H * 100.0), "cm"});
    l.push_back({"Coef. de desuniformidade:", FormatFloat("0.00", r.CDu), ""});
    l.push_back({"Altura recomendada (Hr):", FormatFloat("0.0", r.Hr), "cm"});
    return l;
}

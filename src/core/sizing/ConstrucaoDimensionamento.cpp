#include "core/sizing/ConstrucaoDimensionamento.h"

#include "core/common/Numeros.h"
#include "core/project/ModeloProjeto.h"

TConstrucaoDimensionamento ConstrucaoDoDimensionamento(const TModeloProjeto& m, const TResultadoDimensionamento& r,
                                                       const TConfigConstrucao& config) {
    const TConfigConstrucao c = config.ParaODesign(m.Maquina());
    TConstrucaoDimensionamento res;
    if (r.TipoSistema != TTipoSistema::Nivel && r.TipoSistema != TTipoSistema::Gradiente) return res;
    const TSistemaConservacao& s = r.TipoSistema == TTipoSistema::Nivel
                                       ? static_cast<const TSistemaConservacao&>(m.TerracosNivel())
                                       : static_cast<const TSistemaConservacao&>(m.TerracosGradiente());
    const double st = m.NumeroDaCurva().St();
    TDadosSecao d;
    d.triangular = s.Secao().Triangular();
    d.hr = r.Hr / 100;
    d.sm = s.Sm().Value();
    d.st = st;
    d.b = s.B();
    d.z = s.Z().Value();
    d.eh = r.EH;
    res.terraco = ConstrucaoDoTerraco(m.TerracosNivel().Selecao().TipoPara(st * 100), d, c);
    res.volume100 = res.terraco.areaCorte * 100;
    // A hectare holds 10 000 / EH metres of terrace at the design's spacing.
    const double metrosHa = r.EH > 0 ? 10000 / r.EH : 0;
    res.volumeHa = res.terraco.areaCorte * metrosHa;
    res.servico100 = ServicoMaquina(res.volume100, 100, c);
    res.servicoHa = ServicoMaquina(res.volumeHa, metrosHa, c);
    if (c.maquina >= 0 && c.maquina < static_cast<int>(c.maquinas.size()))
        res.maquina = c.maquinas[static_cast<size_t>(c.maquina)].nome;
    return res;
}

std::vector<TLinhaResultado> LinhasConstrucao(const TConstrucaoDimensionamento& c) {
    return {{kRotuloVolume100, FloatToStrFixed(c.volume100, 1), ""},
            {kRotuloHoras100, c.servico100.TextoHoras(2), ""},
            {"Custo (R$/100 m):", c.servico100.TextoCusto(2), ""},
            {"Volume de solo movimentado (m³/ha):", FloatToStrFixed(c.volumeHa, 1), ""},
            {"Custo (R$/ha):", c.servicoHa.TextoCusto(2), ""}};
}

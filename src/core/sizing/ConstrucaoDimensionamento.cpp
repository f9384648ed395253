#include "core/sizing/ConstrucaoDimensionamento.h"

#include "core/common/Numeros.h"
#include "core/project/ModeloProjeto.h"

TConstrucaoDimensionamento ConstrucaoDoDimensionamento(const TModeloProjeto& m, TTipoSistema sistema,
                                                       const TConfigConstrucao& config) {
    const TConfigConstrucao c = config.ParaODesign(m.Maquina());
    TConstrucaoDimensionamento res;
    res.sistema = sistema;
    if (c.maquina >= 0 && c.maquina < static_cast<int>(c.maquinas.size()))
        res.maquina = c.maquinas[static_cast<size_t>(c.maquina)].nome;
    if (sistema == TTipoSistema::BaciaAcumulacao) {
        res.volumeBacia = m.BaciaAcumulacao().Volume();
        if (!res.maquina.empty() && c.maquinas[static_cast<size_t>(c.maquina)].unidade == TUnidadeRendimento::Metros)
            res.nota = "O rendimento desta máquina é em metros de terraço: para as barraginhas, escolha uma máquina "
                       "com rendimento em m³/h.";
        else res.servicoBacia = ServicoMaquina(res.volumeBacia, 0, c);
        return res;
    }
    const TSistemaConservacao& s = sistema == TTipoSistema::Gradiente
                                       ? static_cast<const TSistemaConservacao&>(m.TerracosGradiente())
                                       : static_cast<const TSistemaConservacao&>(m.TerracosNivel());
    const double st = m.NumeroDaCurva().St();
    const double eh = s.Espacamento().EH();
    TDadosSecao d;
    d.triangular = s.Secao().Triangular();
    d.hr = s.Hr() / 100;
    d.sm = s.Sm().Value();
    d.st = st;
    d.b = s.B();
    d.z = s.Z().Value();
    d.eh = eh;
    res.terraco = ConstrucaoDoTerraco(m.TerracosNivel().Selecao().TipoPara(st * 100), d, c);
    res.volume100 = res.terraco.areaCorte * 100;
    // A hectare holds 10 000 / EH metres of terrace at the design's spacing.
    const double metrosHa = eh > 0 ? 10000 / eh : 0;
    res.volumeHa = res.terraco.areaCorte * metrosHa;
    res.servico100 = ServicoMaquina(res.volume100, 100, c);
    res.servicoHa = ServicoMaquina(res.volumeHa, metrosHa, c);
    return res;
}

std::vector<TLinhaResultado> LinhasConstrucao(const TConstrucaoDimensionamento& c) {
    if (c.sistema == TTipoSistema::BaciaAcumulacao) {
        const std::string falta = c.nota.empty() ? "" : "—";
        return {{"Volume de solo escavado (m³/barraginha):", FloatToStrFixed(c.volumeBacia, 1), ""},
                {"Horas de máquina (h/barraginha):", falta.empty() ? c.servicoBacia.TextoHoras(2) : falta, ""},
                {"Custo (R$/barraginha):", falta.empty() ? c.servicoBacia.TextoCusto(2) : falta, ""}};
    }
    return {{kRotuloVolume100, FloatToStrFixed(c.volume100, 1), ""},
            {kRotuloHoras100, c.servico100.TextoHoras(2), ""},
            {"Custo (R$/100 m):", c.servico100.TextoCusto(2), ""},
            {"Volume de solo movimentado (m³/ha):", FloatToStrFixed(c.volumeHa, 1), ""},
            {"Custo (R$/ha):", c.servicoHa.TextoCusto(2), ""}};
}

std::vector<std::string> AvisosConstrucao(const TConstrucaoDimensionamento& c) {
    std::vector<std::string> a;
    if (!c.nota.empty()) a.push_back(c.nota);
    if (c.sistema == TTipoSistema::BaciaAcumulacao) return a;
    if (!c.terraco.problema.empty()) a.push_back(c.terraco.problema);
    // The volume stands without the width; only where the cut lies is unknown.
    for (const TDadosSecao& d : c.terraco.dados)
        if (!(d.largura > 0) && d.tipo != TTipoConstrutivo::Patamar)
            a.push_back("Sem a largura do terraço de " + NomeTipoConstrutivo(d.tipo) +
                        ", o corte não é desenhado nem conferido: " + kInformeLargura + ".");
    const std::string mix = TextoComposicao(c.terraco.composicao);
    if (!mix.empty()) a.push_back(mix);
    return a;
}

TDesenhoSecao DesenhoDaConstrucao(const TConstrucaoDimensionamento& c) {
    if (c.terraco.secoes.empty()) return {};
    return DesenhoSecao(c.terraco.dados.front(), c.terraco.secoes.front());
}

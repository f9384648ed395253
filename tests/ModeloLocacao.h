#pragma once
// The project objects of the level-terrace location runs the tests and benchmarks make: the
// storm K 1000, Tr 10 years, a 0.15, b 10, c 0.75; soil use 5, treatment 3, condition 1 at
// VIB 10 mm/h; a ridge slope of 1; the spacing method, EV and CDu of the run.
#include "core/location/LocNivel.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/project/ModeloProjeto.h"

// The engine's own lines: no cap, no smoothing, no minimum length.
inline TPlanoNivel PlanoTracado() {
    TPlanoNivel p;
    p.comprimentoMinimo = 0;
    p.raioMinimo = 0;
    return p;
}

struct ModeloLocacao {
    TPrecipitacaoExponencialNegativa chuva;
    TNumeroDaCurva cn;
    TTerracosNivel terracos;
    explicit ModeloLocacao(int metodo, double ev = 0, double cdu = 1) {
        chuva.SetK(1000);
        chuva.SetTr(10);
        chuva.SetA(0.15);
        chuva.SetB(10);
        chuva.SetC(0.75);
        cn.SetVIB(10);
        cn.UsoDoSolo().SetIndex(5);
        cn.Tratamento().SetIndex(3);
        cn.CondicaoHidrologica().SetIndex(1);
        terracos.Espacamento().Metodologia().SetIndex(metodo);
        terracos.Espacamento().SetEV(ev);
        terracos.Sm().SetValue(1);
        terracos.SetCDu(cdu);
    }
};

// The same storm, infiltration rate and level system on a whole project, as the windows and
// the reports take them; the land cover is left as the project has it.
inline void PrepararProjetoLocacao(TModeloProjeto& m, int metodo, double ev, double cdu = 1) {
    auto& p = m.Precipitacao();
    p.SetTr(10);
    p.SetK(1000);
    p.SetA(0.15);
    p.SetB(10);
    p.SetC(0.75);
    m.NumeroDaCurva().SetVIB(10);
    TTerracosNivel& t = m.TerracosNivel();
    t.Espacamento().Metodologia().SetIndex(metodo);
    t.Espacamento().SetEV(ev);
    t.Sm().SetValue(1);
    t.SetCDu(cdu);
}

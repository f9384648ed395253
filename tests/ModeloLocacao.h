#pragma once
// The project objects of the level-terrace location runs the tests and benchmarks make: the
// storm K 1000, Tr 10 years, a 0.15, b 10, c 0.75; soil use 5, treatment 3, condition 1 at
// VIB 10 mm/h; a ridge slope of 1; the spacing method, EV and CDu of the run.
#include "core/location/LocNivel.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"

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

// Writes the example projects shipped in Exemplos/ through the program's own project save,
// so they always match what the program writes. Usage: gerar_exemplos PASTA
#include <cstdio>
#include <exception>
#include <string>

#include "common/Regional.h"
#include "project/ModeloProjeto.h"
#include "rainfall/Estado.h"

namespace {

// 08/12/2026 09:30, so a regenerated file is byte-identical.
constexpr double kDataExemplos = 46364.0 + 9.5 / 24.0;

void Comum(TModeloProjeto& m, const std::string& nome, const std::string& local) {
    m.Reset();
    TIDProjeto& id = m.Identificacao();
    id.SetNome(nome);
    id.SetEmpresa("Exemplo do Vandoro 4.1");
    id.SetLocal(local);
    id.SetEstado("São Paulo");
    id.SetTecnico("Responsável técnico");
    id.SetData("08/12/2026");
    m.SetModulo("Dimensionamento");

    // An IDF equation of the order found in the interior of São Paulo state.
    TQuenda21& q = m.Quenda();
    q.SetIndEstado(TEstado::IndiceDoNome("São Paulo"));
    q.SetStrEstado("São Paulo");
    q.SetStrCidade("Campinas");
    q.SetIndEstacao(-1);
    q.SetIndLocalidade(-1);
    q.SetLatitude("22°54'20\"");
    q.SetLongitude("47°03'39\"");
    q.SetAutoria("Interpolação");
    auto& p = m.Precipitacao();
    p.SetTr(10);
    p.SetK(1932.5);
    p.SetA(0.162);
    p.SetB(17.3);
    p.SetC(0.872);
    p.SetData(kDataExemplos);

    TNumeroDaCurva& cn = m.NumeroDaCurva();
    cn.UsoDoSolo().SetIndex(1);             // row crops
    cn.Tratamento().SetIndex(2);            // on the contour
    cn.CondicaoHidrologica().SetIndex(3);   // good
}

void Nivel(TModeloProjeto& m) {
    Comum(m, "Fazenda Boa Vista - talhão 3 (soja)", "Campinas");
    m.TipoSistema().SetIndex(0);
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    cn.SetVIB(20);
    cn.SetSt(0.08);
    TTerracosNivel& t = m.TerracosNivel();
    t.Secao().SetIndex(1);
    t.Sm().SetValue(1.0);
    t.SetCDu(1.2);
    TEspacamento& e = t.Espacamento();
    e.Metodologia().SetIndex(TMetodologiaEspacamento::LombardiNeto);
    e.Cultura().SelectFromTable(30);           // soybean
    e.ResistenciaErosao().SelectFromTable(0);  // group A
    e.PreparoDoSolo().SelectFromTable(2);      // light disk harrow
    e.ComputeSpacing(cn.St());
    t.Selecao().SetMetodoSelecao(TSelecaoTipoTerraco::LombardiNeto);
    t.Selecao().Recommend(cn.St() * 100);
}

void Gradiente(TModeloProjeto& m) {
    Comum(m, "Sítio Santa Clara - gleba do café", "Amparo");
    m.TipoSistema().SetIndex(1);
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    cn.SetVIB(10);
    cn.SetSt(0.12);
    cn.nt().SetValue(0.1);
    cn.nt().SetIndex(-1);
    TTerracosGradiente& t = m.TerracosGradiente();
    t.Secao().SetIndex(1);
    t.Sm().SetValue(1.0);
    t.SetComprimento(400);
    t.SetSc(0.005);
    t.nc().SetValue(0.035);
    t.nc().SetIndex(-1);
    TEspacamento& e = t.Espacamento();
    e.Metodologia().SetIndex(TMetodologiaEspacamento::EspacamentoArbitrado);
    e.SetEH(25);
    e.SetEV(25 * cn.St());
}

void Bacia(TModeloProjeto& m) {
    Comum(m, "Estrada vicinal da Fazenda Boa Vista", "Campinas");
    m.TipoSistema().SetIndex(5);
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    cn.SetVIB(15);
    cn.SetSt(0.06);
    TBaciaAcumulacao& b = m.BaciaAcumulacao();
    b.SetFormato(TBaciaAcumulacao::SemiCircular);
    b.SetProfundidade(1.5);
    b.Setm1(0);
    b.Setm2(0);
    m.SetAreaContribBacia(5000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Uso: gerar_exemplos PASTA\n");
        return 2;
    }
    Regional::SetCurrent(Regional::PtBR());
    const std::string pasta = argv[1];
    try {
        struct Exemplo {
            const char* arquivo;
            void (*montar)(TModeloProjeto&);
        };
        for (const Exemplo& ex : {Exemplo{"Terraco em nivel.kzp", Nivel}, Exemplo{"Terraco em gradiente.kzp", Gradiente},
                                  Exemplo{"Bacia de acumulacao.kzp", Bacia}}) {
            TModeloProjeto m;
            ex.montar(m);
            const std::string caminho = pasta + "/" + ex.arquivo;
            std::remove(caminho.c_str());
            m.EscreverProjeto(caminho);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gerar_exemplos: %s\n", e.what());
        return 1;
    }
    return 0;
}

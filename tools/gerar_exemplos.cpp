// Writes the example projects shipped in Exemplos/ through the program's own project save,
// so they always match what the program writes. When PASTA holds hugo_site.asc it also writes
// the location example's rasters beside it: that model smoothed three times, resampled to
// 2 m cells (bilinear) and its slope, and the waterway along its main thalweg that the graded
// example drains to. Usage: gerar_exemplos PASTA
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "core/common/Regional.h"
#include "core/gdal/Gdal.h"
#include "core/location/ImgElev.h"
#include "core/project/ModeloProjeto.h"
#include "core/rainfall/Estado.h"
#include "core/raster/Declividade.h"
#include "core/raster/Filtro.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"

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
    m.TipoSistema().SetTipo(TTipoSistema::Nivel);
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    cn.SetVIB(20);
    cn.SetSt(0.08);
    TTerracosNivel& t = m.TerracosNivel();
    t.Secao().SetTipo(TTipoSecao::Triangular);
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
    m.TipoSistema().SetTipo(TTipoSistema::Gradiente);
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    cn.SetVIB(10);
    cn.SetSt(0.12);
    cn.nt().SetValue(0.1);
    cn.nt().SetIndex(-1);
    TTerracosGradiente& t = m.TerracosGradiente();
    t.Secao().SetTipo(TTipoSecao::Triangular);
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
    m.TipoSistema().SetTipo(TTipoSistema::BaciaAcumulacao);
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

// Relative paths: the project finds its rasters in its own folder.
const char* const kElevacaoLocacao = "hugo_site_2m.flt";
const char* const kDeclividadeLocacao = "hugo_site_2m_declividade.flt";
const char* const kSaidaLocacao = "hugo_site_2m.vet";

void Locacao(TModeloProjeto& m) {
    Comum(m, "Microbacia do exemplo - locação em nível", "Campinas");
    m.SetModulo("Locacao");
    m.TipoSistema().SetTipo(TTipoSistema::Nivel);
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    cn.SetVIB(20);
    TTerracosNivel& t = m.TerracosNivel();
    t.Secao().SetTipo(TTipoSecao::Triangular);
    t.Sm().SetValue(1.0);
    t.SetCDu(1.2);
    TEspacamento& e = t.Espacamento();
    e.Metodologia().SetIndex(TMetodologiaEspacamento::Bentley);
    e.Solo().SetFamilia(TSolo::FamiliaBentley);
    e.Solo().SetIndex(1);  // medium texture
    t.Selecao().SetMetodoSelecao(TSelecaoTipoTerraco::LombardiNeto);
    TLocacaoNivel& loc = m.LocacaoNivel();
    loc.SetfnImgElev(kElevacaoLocacao);
    loc.SetfnImgDecli(kDeclividadeLocacao);
    loc.SetfnVetSaida(kSaidaLocacao);
}

const char* const kEscoadouroLocacao = "hugo_site_2m_escoadouro.vet";

void LocacaoGradiente(TModeloProjeto& m) {
    Comum(m, "Microbacia do exemplo - locação com gradiente", "Campinas");
    m.SetModulo("Locacao");
    m.TipoSistema().SetTipo(TTipoSistema::Gradiente);
    TNumeroDaCurva& cn = m.NumeroDaCurva();
    cn.SetVIB(10);
    cn.nt().SetValue(0.1);
    cn.nt().SetIndex(-1);
    TTerracosGradiente& t = m.TerracosGradiente();
    t.Secao().SetTipo(TTipoSecao::Triangular);
    t.Sm().SetValue(1.0);
    t.SetCDu(1.2);
    t.SetComprimento(400);
    t.SetSc(0.005);
    t.nc().SetValue(0.035);
    t.nc().SetIndex(-1);
    TEspacamento& e = t.Espacamento();
    e.Metodologia().SetIndex(TMetodologiaEspacamento::Bentley);
    e.Solo().SetFamilia(TSolo::FamiliaBentley);
    e.Solo().SetIndex(1);  // medium texture
    TLocacaoNivel& loc = m.LocacaoNivel();
    loc.SetfnImgElev(kElevacaoLocacao);
    loc.SetfnImgDecli(kDeclividadeLocacao);
    loc.SetfnVetSaida("hugo_site_2m_gradiente.vet");
    loc.SetfnEscoadouro(kEscoadouroLocacao);
}

// The grassed waterway a technician would draw: the main thalweg of the 2 m model, from the
// point where 0,1 ha drains to it down to the outlet, by steepest descent (D8) and flow
// accumulation; written as a .vet in the model's own coordinates (the model has no system), a
// vertex every 10 cells.
void EscoadouroLocacao(const std::string& pasta) {
    const std::string elevacao = pasta + "/" + kElevacaoLocacao;
    if (!std::filesystem::exists(elevacao)) return;
    TImgElevacao g;
    g.Load(elevacao);
    const int W = g.Columns(), H = g.Rows();
    const auto z = [&](int i) { return g.Cell(i / W + 1, i % W + 1); };
    std::vector<int> abaixo(size_t(W) * H, -1);
    for (int i = 0; i < W * H; ++i) {
        if (!(z(i) > 0)) continue;
        const int r = i / W, c = i % W;
        double melhor = 0;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const int rr = r + dr, cc = c + dc;
                if ((dr == 0 && dc == 0) || rr < 0 || cc < 0 || rr >= H || cc >= W || !(z(rr * W + cc) > 0)) continue;
                const double queda = (z(i) - z(rr * W + cc)) / std::hypot(dr, dc);
                if (queda > melhor) melhor = queda, abaixo[size_t(i)] = rr * W + cc;
            }
    }
    std::vector<int> ordem(size_t(W) * H);
    std::iota(ordem.begin(), ordem.end(), 0);
    std::sort(ordem.begin(), ordem.end(), [&](int a, int b) { return z(a) > z(b); });
    std::vector<double> area(size_t(W) * H, 1);
    for (int i : ordem)
        if (z(i) > 0 && abaixo[size_t(i)] >= 0) area[size_t(abaixo[size_t(i)])] += area[size_t(i)];
    // Up from the outlet (the cell most land drains to) along the larger branch.
    int i = int(std::max_element(area.begin(), area.end()) - area.begin());
    const double minimo = 1000 / (g.CellWidth() * g.CellHeight());
    std::vector<int> caminho{i};
    for (;;) {
        int acima = -1;
        for (int j = 0; j < W * H; ++j)
            if (abaixo[size_t(j)] == i && (acima < 0 || area[size_t(j)] > area[size_t(acima)])) acima = j;
        if (acima < 0 || area[size_t(acima)] < minimo) break;
        caminho.push_back(i = acima);
    }
    const double topo = g.MinY() + H * g.CellHeight();
    TVET vet("m");
    vet.SetTitle("Escoadouro principal");
    TVetorRecPonto linha;
    linha.SetLineId(1);
    for (size_t k = caminho.size(); k-- > 0;) {
        if (k % 10 != 0 && k != caminho.size() - 1) continue;
        const int r = caminho[k] / W, c = caminho[k] % W;
        linha.Add(float(g.MinX() + (c + 0.5) * g.CellWidth()), float(topo - (r + 0.5) * g.CellHeight()), z(caminho[k]));
    }
    vet.AppendLine(linha);
    vet.Save(pasta + "/" + kEscoadouroLocacao);
}

// The example's field lies near Campinas, in SIRGAS 2000 / UTM zone 23S, at the magnitudes a
// surveyed model has there: GPS and earth-viewer files of the walk-through land on the map.
constexpr int kEpsgExemplo = 31983;
constexpr double kLesteExemplo = 288000, kNorteExemplo = 7465000;

// hugo_site (10 m cells) smoothed three times and resampled to 2 m, a resolution at which
// neighbouring terraces lie several cells apart, placed in its coordinate system; then its
// slope in percent, which keeps the system.
void RelevoLocacao(const std::string& pasta) {
    namespace fs = std::filesystem;
    const std::string hugo = pasta + "/hugo_site.asc";
    if (!fs::exists(hugo)) return;
    const std::string suave = (fs::temp_directory_path() / "vandoro_hugo_suave.asc").string();
    TFiltroTipoSingle().Compute(hugo, suave, 3);
    TImgElevacao g;
    g.Load(suave);
    fs::remove(suave);
    constexpr int k = 5;
    const int linhas = g.Rows() * k, colunas = g.Columns() * k;
    TImagem fina;
    fina.SetCellType(TTipoCelula::Real);
    fina.SetColumns(colunas);
    fina.SetRows(linhas);
    fina.SetMinX(kLesteExemplo + g.MinX());
    fina.SetMaxX(kLesteExemplo + g.MinX() + g.CellWidth() * g.Columns());
    fina.SetMinY(kNorteExemplo + g.MinY());
    fina.SetMaxY(kNorteExemplo + g.MinY() + g.CellHeight() * g.Rows());
    fina.SetRefUnits("m");
    fina.SetCrs(CrsDeEpsg(kEpsgExemplo));
    fina.SetFlagValue(-9999);
    fina.Allocate();
    std::vector<float> linha(static_cast<size_t>(colunas));
    for (int r = 1; r <= linhas; ++r) {
        for (int c = 1; c <= colunas; ++c) {
            // Fine cell centres in coarse 1-based cell coordinates.
            const double u = (c - 0.5) / k + 0.5, v = (r - 0.5) / k + 0.5;
            const int c0 = std::clamp(int(std::floor(u)), 1, g.Columns() - 1);
            const int r0 = std::clamp(int(std::floor(v)), 1, g.Rows() - 1);
            const double fu = std::clamp(u - c0, 0.0, 1.0), fv = std::clamp(v - r0, 0.0, 1.0);
            const double z00 = g.Cell(r0, c0), z01 = g.Cell(r0, c0 + 1), z10 = g.Cell(r0 + 1, c0),
                         z11 = g.Cell(r0 + 1, c0 + 1);
            const bool dado = z00 > 0 && z01 > 0 && z10 > 0 && z11 > 0;
            linha[size_t(c - 1)] =
                dado ? float((z00 * (1 - fu) + z01 * fu) * (1 - fv) + (z10 * (1 - fu) + z11 * fu) * fv) : -9999.0f;
        }
        fina.WriteRow(r - 1, linha.data());
    }
    const std::string elevacao = pasta + "/" + kElevacaoLocacao;
    fina.SaveToFile(elevacao);
    TDecliTipoSingle().Compute(elevacao, pasta + "/" + kDeclividadeLocacao, "Declividade (%)");
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
                                  Exemplo{"Bacia de acumulacao.kzp", Bacia},
                                  Exemplo{"Locacao em nivel.kzp", Locacao},
                                  Exemplo{"Locacao com gradiente.kzp", LocacaoGradiente}}) {
            TModeloProjeto m;
            ex.montar(m);
            const std::string caminho = pasta + "/" + ex.arquivo;
            std::remove(caminho.c_str());
            m.EscreverProjeto(caminho);
        }
        RelevoLocacao(pasta);
        EscoadouroLocacao(pasta);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gerar_exemplos: %s\n", e.what());
        return 1;
    }
    return 0;
}

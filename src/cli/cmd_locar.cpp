// locar: places level terraces on a project's elevation raster, as "Processar" of the
// location window does, and prints the terrace table.
#include <filesystem>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

#include "cli/Comando.h"
#include "cli/ModuloPdf.h"
#include "cli/ProgressoTerminal.h"
#include "core/common/Arquivo.h"
#include "core/common/ConjuntoArquivos.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/ConstrucaoLocacao.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/location/RelatorioLocacao.h"
#include "core/location/Estacas.h"
#include "core/location/PerfisTerracos.h"
#include "core/location/Sig.h"
#include "core/project/ModeloProjeto.h"

namespace {

// The report in the format its name asks for: HTML, or the PDF with the plan and the profiles.
// 'projeto' resolves what the project names by relative paths.
void GravarRelatorioDaLocacao(TModeloProjeto& m, const TLocacaoNivel& loc, const std::string& projeto,
                              const std::string& arquivo, bool gradiente) {
    TOpcoesRelatorio o;
    o.PastaPrograma = PastaPrograma();
    const auto texto = [&] { return gradiente ? RelatorioLocacaoGradiente(m, loc, o) : RelatorioLocacao(m, loc, o); };
    if (!RelatorioEmPdf(arquivo)) return GravarRelatorio(texto(), arquivo);
    const auto figuras = std::make_shared<const TFigurasLocacao>(FigurasDaLocacao(loc, projeto));
    o.Locacao = figuras;
    TPedidoPdf pedido;
    pedido.html = texto();
    pedido.saida = arquivo;
    pedido.locacao = &loc;
    pedido.figurasLocacao = figuras.get();
    pedido.projeto = projeto;
    GravarPdfPeloModulo(pedido);
}

const char* const kAjuda =
    "Uso: vandoro-cli locar PROJETO.kzp [--elevacao ARQ] [--declividade ARQ] [--saida ARQ.vet]\n"
    "                         [--relatorio ARQ.html] [--faixas ARQ] [--sig ARQ] [--limite TALHAO]\n"
    "                         [--max-terracos N] [--comprimento-minimo M] [--raio-minimo M]\n"
    "                         [--tolerancia CM] [--insistir] [--escoadouro ARQ]\n"
    "                         [--comprimento-maximo M] [--estacas ARQ] [--espacamento-estacas M]\n"
    "                         [--threads N]\n\n"
    "Abre o projeto e loca terraços em nível sobre a imagem de elevação, do ponto mais alto\n"
    "para baixo, com o método de espaçamento, a chuva de projeto, o solo e o canal do\n"
    "projeto. Grava as linhas dos terraços no arquivo vetorial (.vet) e a tabela dos\n"
    "terraços ao lado dele, com extensão .bdt, e mostra a tabela. O projeto não é alterado.\n"
    "A tabela e os totais trazem o que cada terraço pede para ser construído: o volume de solo\n"
    "movimentado, com as larguras e o empolamento das configurações, e as horas e o custo da\n"
    "máquina do projeto (a padrão das configurações, quando o projeto não escolhe uma).\n\n"
    "  --elevacao ARQ     imagem de elevação (padrão: a do projeto)\n"
    "  --declividade ARQ  imagem de declividade em % (padrão: a do projeto)\n"
    "  --saida ARQ.vet    arquivo vetorial de saída (padrão: o do projeto)\n"
    "  --relatorio ARQ.html  grava também o relatório da locação; com a extensão .pdf, o PDF\n"
    "                     que a janela do relatório exporta (A4), com a planta dos terraços e o\n"
    "                     perfil de cada um; não precisa de tela\n"
    "  --faixas ARQ       grava o mapa das faixas: uma imagem na grade da elevação, no formato\n"
    "                     da extensão (.asc, .flt, .doc, .grd), com o número do terraço de cada\n"
    "                     célula (0 fora das faixas)\n"
    "  --sig ARQ          grava também as linhas dos terraços, em precisão total, para SIG:\n"
    "                     .gpkg (GeoPackage), .shp (Shapefile) ou .geojson, no sistema de\n"
    "                     coordenadas do modelo, com os atributos de cada terraço; .kml (WGS 84,\n"
    "                     cada linha com a cor do tipo de terraço e o nome \"Terraço N\"); .gpx\n"
    "                     (WGS 84, uma trilha \"Terraço N\" por terraço, para o GPS); ou .dxf\n"
    "                     (coordenadas do modelo, uma camada por tipo de terraço e o número de\n"
    "                     cada um como texto). GPX e KML exigem que o modelo tenha sistema de\n"
    "                     coordenadas. A tabela dos terraços vai ao lado, com extensão .csv\n"
    "  --limite TALHAO    polígono do talhão (qualquer camada de polígonos que o GDAL/OGR leia:\n"
    "                     .shp do CAR, .kml, .gpkg, .geojson; vários polígonos são um talhão):\n"
    "                     as células que não estão inteiras dentro dele ficam sem dado nesta\n"
    "                     locação (padrão: o limite do talhão do projeto)\n"
    "  --max-terracos N   número máximo de terraços (padrão: o do projeto; 0 = sem limite, a área\n"
    "                     toda); ao atingi-lo, a locação para e diz que parou\n"
    "  --comprimento-minimo M  comprimento mínimo do terraço, m (padrão: o do projeto, 50)\n"
    "  --raio-minimo M    raio mínimo de curva das linhas, m, para as máquinas (padrão: o do\n"
    "                     projeto, 15; 0 = as linhas como traçadas sobre as células)\n"
    "  --tolerancia CM    tolerância de nível das linhas suavizadas, cm (padrão: o do projeto, 5);\n"
    "                     onde uma curva fechada não pode ser feita dentro dela, o raio vale e a\n"
    "                     travessia fora de nível é listada com o aterro ou corte que pede\n"
    "  --insistir         loca mesmo num modelo de elevação em degraus (valores inteiros, ou\n"
    "                     degraus maiores que um terço do espaçamento vertical), que sem esta\n"
    "                     opção é recusado com o aviso e a cura (o filtro, ou um levantamento\n"
    "                     mais fino)\n"
    "  --escoadouro ARQ   canais escoadouros (qualquer camada de linhas que o GDAL/OGR leia, ou\n"
    "                     um .vet; padrão: os do projeto). Num projeto de terraços com gradiente,\n"
    "                     cada terraço parte de um escoadouro e sobe pela encosta com a\n"
    "                     declividade do canal; cada canal é dimensionado com o seu comprimento,\n"
    "                     a sua faixa e a sua declividade. Num projeto em nível, são ignorados.\n"
    "  --estacas ARQ      grava também as estacas para a marcação no campo: o início de cada\n"
    "                     terraço, um ponto a cada --espacamento-estacas metros (padrão 20) e o\n"
    "                     fim, com a distância, E, N, a cota de projeto e a do terreno; em .csv\n"
    "                     (coordenadas do modelo), .gpx ou .kml (WGS 84: o modelo precisa de\n"
    "                     sistema de coordenadas)\n"
    "  --comprimento-maximo M  comprimento máximo do canal com gradiente, m (padrão: o do\n"
    "                     projeto, 1500; no máximo 1500); o canal que o atinge termina ali e é\n"
    "                     marcado como precisando de outra saída\n"
    "  --threads N        número de processadores usados, de 1 a 64 (padrão: os da máquina,\n"
    "                     ou VANDORO_THREADS); as linhas e a tabela saem as mesmas com qualquer\n"
    "                     número\n\n"
    "Quando o modelo de elevação tem sistema de coordenadas, o arquivo .prj dele é gravado\n"
    "ao lado do vetor de saída.\n\n"
    "Caminhos relativos guardados no projeto valem a partir da pasta do projeto. Nenhum arquivo\n"
    "gravado (vetor, tabela, relatório, faixas, SIG) pode ser uma das imagens, o limite, o projeto ou\n"
    "outro arquivo gravado; um nome assim é recusado antes de qualquer gravação. Uma locação que\n"
    "falha não substitui nenhum arquivo; o vetor, a tabela, o .prj, as faixas e o arquivo SIG são\n"
    "substituídos juntos.\n";

std::string Num(double v, int casas) { return FloatToStrFixed(v, casas); }

// The construction's columns, after the run's own.
std::string TitulosConstrucao() {
    std::string t;
    for (const std::string& c : ColunasConstrucao()) t += ';' + c;
    return t;
}
std::string CelulasDaObra(const TConstrucaoLocacao& c, size_t i) {
    std::string t;
    if (i < c.terracos.size())
        for (const std::string& celula : CelulasConstrucao(c.terracos[i], false)) t += ';' + celula;
    return t;
}

// The totals' last lines: the machine, its hours and cost, then the soil moved.
void TotaisConstrucao(std::ostream& o, const TConstrucaoLocacao& c) {
    o << kRotuloMaquina << NomeMaquina(c.maquina) << "\n";
    o << kRotuloHorasMaquina << c.servicoTotal.TextoHoras(2) << "\n";
    o << kRotuloCustoTotal << c.servicoTotal.TextoCusto(2) << "\n";
    o << kRotuloVolumeTotal << Num(c.volumeTotal, 1) << "\n";
}

// A run with its progress on the terminal, which is closed however the run ends.
TResultadoLocacao ComProgresso(TLocacaoNivel& loc, const std::function<TResultadoLocacao()>& locar) {
    ProgressoTerminal progresso;
    loc.SetProgresso(&progresso);
    TResultadoLocacao res;
    try {
        res = locar();
    } catch (...) {
        loc.SetProgresso(nullptr);
        progresso.Concluir();
        throw;
    }
    loc.SetProgresso(nullptr);
    progresso.Concluir();
    return res;
}

// The stake-out file asked for, and its spacing.
struct TPedidoEstacas {
    std::string arquivo;
    double espacamento = kEspacamentoEstacas;
};

// The run's lines, then its stakes: the stakes are written from the lines just placed.
int Concluir(const std::ostringstream& o, const TLocacaoNivel& loc, const TPedidoEstacas& estacas) {
    std::cout << o.str() << std::flush;
    if (estacas.arquivo.empty()) return 0;
    const TEstacasLocacao e = EstacasDaLocacao(loc, estacas.espacamento);
    GravarEstacas(estacas.arquivo, e.estacas, e.crs);
    std::cout << "Estacas: " << e.estacas.size() << " pontos a cada " << Num(estacas.espacamento, 1) << " m em "
              << estacas.arquivo << "\n";
    return 0;
}

// A graded project: the terraces start on the waterways and are sized channel by channel.
int ExecutarGradiente(TModeloProjeto& modelo, TLocacaoNivel& loc, const TArquivosLocacao& arquivos,
                      const std::string& escoadouro, const std::string& sig, const std::string& limite,
                      const TPedidoEstacas& estacas, const std::string& projeto) {
    if (escoadouro.empty())
        throw EVandoro("O projeto é de terraços com gradiente: indique os canais escoadouros para onde os terraços "
                       "drenam (use --escoadouro).");
    if (!sig.empty()) ChecaSaidaSig(sig, {escoadouro});
    TResumoSig resumoSig;
    const TResultadoLocacao res = ComProgresso(loc, [&] {
        return LocarComGradiente(loc, arquivos, escoadouro, modelo.Precipitacao(), modelo.NumeroDaCurva(),
                                 modelo.TerracosGradiente(), [&](TConjuntoArquivos& c) {
                                     if (!sig.empty()) resumoSig = AdicionarLocacaoSig(c, loc, sig);
                                 });
    });
    std::ostringstream o;
    o << "Terraço;Escoadouro;Acima;Cota da saída (m);Cota do início (m);Comprimento (m);Área (m2);"
         "Declividade média (%);Espaçamento horizontal (m);Vazão (L/s);Altura (m)"
      << TitulosConstrucao() << "\n";
    for (size_t i = 0; i < res.terracos.size(); ++i) {
        const TRegTerr& r = res.terracos[i];
        const TCanalLocado k = i < loc.Canais().size() ? loc.Canais()[i] : TCanalLocado{};
        const int acima = i < res.info.size() ? res.info[i].acima : 0;
        o << r.id << ';' << k.escoadouro << ';' << (acima > 0 ? std::to_string(acima) : std::string()) << ';'
          << Num(r.level, 2) << ';' << Num(k.cotaInicio, 2) << ';' << Num(r.length, 1) << ';' << Num(r.area, 0) << ';'
          << Num(r.slope, 2) << ';' << Num(r.length > 0 ? r.area / r.length : 0, 2) << ';' << Num(k.vazao, 1) << ';'
          << Num(r.height, 2) << CelulasDaObra(res.construcao, i) << '\n';
    }
    o << "Total de terraços: " << res.terracos.size() << "\n";
    o << "Comprimento total (m): " << Num(res.comprimentoTotal, 1) << "\n";
    o << "Área total (m2): " << Num(res.areaTotal, 0) << "\n";
    o << "Área da imagem (ha): " << Num(res.areaImagem, 4) << "\n";
    o << kRotuloAreaDireta << Num(res.areaDireta, 4) << "\n";
    o << kRotuloAreaSemEscoadouro << Num(res.areaDescoberta, 4) << "\n";
    for (const auto& [k, q] : VazaoPorEscoadouro(loc.Canais()))
        o << "Vazão recebida pelo escoadouro " << k << " (L/s): " << Num(q, 1) << "\n";
    const TConstrucaoLocacao& construcao = res.construcao;
    TotaisConstrucao(o, construcao);
    o << "Arquivos: " << arquivos.saida << ", " << arquivos.tabela << " e " << arquivos.complemento << "\n";
    if (!arquivos.faixas.empty()) o << "Mapa das faixas: " << arquivos.faixas << "\n";
    if (!limite.empty()) o << "Limite do talhão: " << limite << "\n";
    o << "Canais escoadouros: " << escoadouro << "\n";
    if (!res.prj.empty()) o << "Sistema de coordenadas: " << res.prj << "\n";
    if (!sig.empty())
        o << "SIG: " << resumoSig.arquivo << " (" << resumoSig.feicoes << " linhas) e " << resumoSig.tabela << "\n";
    for (const std::string& t : res.travessias) o << t << "\n";
    for (const std::string& n : res.notas) o << n << "\n";
    for (const std::string& w : res.avisos) o << "Aviso: " << w << "\n";
    for (const std::string& w : construcao.avisos) o << "Aviso: " << w << "\n";
    if (!arquivos.relatorio.empty()) {
        loc.SetfnEscoadouro(std::filesystem::absolute(escoadouro).string());
        GravarRelatorioDaLocacao(modelo, loc, projeto, arquivos.relatorio, true);
        o << "Relatório: " << arquivos.relatorio << "\n";
    }
    return Concluir(o, loc, estacas);
}

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--elevacao", "--declividade", "--saida", "--relatorio", "--sig", "--limite", "--faixas",
                        "--max-terracos", "--comprimento-minimo", "--raio-minimo", "--tolerancia", "--escoadouro",
                        "--comprimento-maximo", "--estacas", "--espacamento-estacas", "--threads"},
                 {"--insistir"});
    if (a.Posicionais().size() != 1)
        throw EVandoro("Uso: vandoro-cli locar PROJETO.kzp [--elevacao ARQ] [--declividade ARQ] [--saida ARQ.vet]");
    const std::string& arquivo = a.Posicionais()[0];
    AplicaThreads(a);
    for (const char* op : {"--elevacao", "--declividade", "--saida", "--relatorio", "--sig", "--limite", "--faixas",
                           "--escoadouro", "--estacas"})
        if (a.Tem(op) && a.Valor(op).empty()) throw EVandoro(std::string("Falta o valor da opção ") + op + ".");

    TModeloProjeto modelo;
    AbrirProjeto(modelo, arquivo);
    TLocacaoNivel& loc = modelo.LocacaoNivel();
    TPlanoNivel plano = loc.Plano();
    if (a.Tem("--max-terracos")) plano.maxTerracos = MaxTerracosDe(double(a.Inteiro("--max-terracos")));
    plano.comprimentoMinimo = a.Numero("--comprimento-minimo", plano.comprimentoMinimo);
    plano.raioMinimo = a.Numero("--raio-minimo", plano.raioMinimo);
    plano.toleranciaCm = a.Numero("--tolerancia", plano.toleranciaCm);
    plano.comprimentoMaximoCanal = a.Numero("--comprimento-maximo", plano.comprimentoMaximoCanal);
    ChecaPlanoNivel(plano);
    loc.SetPlano(plano);
    TArquivosLocacao pedidos;
    pedidos.elevacao = a.Valor("--elevacao");
    pedidos.declividade = a.Valor("--declividade");
    pedidos.saida = a.Valor("--saida");
    pedidos.relatorio = a.Valor("--relatorio");
    pedidos.faixas = a.Valor("--faixas");
    TArquivosLocacao arquivos;
    try {
        arquivos = ArquivosDaLocacao(loc, arquivo, pedidos);
    } catch (const EArquivoLocacaoAusente& e) {
        static const char* const kOpcao[] = {"--elevacao", "--declividade", "--saida"};
        std::string m = e.what();
        m.pop_back();  // the final full stop goes after the hint
        throw EVandoro(m + " (use " + kOpcao[e.qual] + ").");
    }

    // The project's field boundary unless the caller names one.
    const std::string limite = a.Tem("--limite") ? a.Valor("--limite") : CaminhoDoProjeto(loc.fnLimite(), arquivo);
    const std::string sig = a.Valor("--sig");
    if (!sig.empty()) ChecaSaidaSigLocacao(sig, arquivos, limite, arquivo);
    DefinirLimiteCampo(loc, limite);
    // The report's plan draws the boundary the run used (the project in memory only).
    loc.SetfnLimite(limite.empty() ? limite : std::filesystem::absolute(limite).string());

    const std::string escoadouro =
        a.Tem("--escoadouro") ? a.Valor("--escoadouro") : CaminhoDoProjeto(loc.fnEscoadouro(), arquivo);
    TPedidoEstacas estacas;
    estacas.arquivo = a.Valor("--estacas");
    estacas.espacamento = a.Numero("--espacamento-estacas", kEspacamentoEstacas);
    ChecaEspacamentoEstacas(estacas.espacamento);
    if (!estacas.arquivo.empty())
        ChecaSaidaEstacas(estacas.arquivo, arquivos.elevacao,
                          {arquivo, arquivos.declividade, arquivos.saida, arquivos.tabela, arquivos.complemento,
                           arquivos.relatorio, arquivos.faixas, limite, escoadouro, sig});
    // The settings' construction data with the project's machine, for the table and its files.
    PrepararConstrucao(modelo, ConstrucaoConfigurada());
    if (modelo.TipoSistema().Index() == 1) return ExecutarGradiente(modelo, loc, arquivos, escoadouro, sig, limite, estacas, arquivo);

    // A model stepped coarser than the interval gives contours that follow its steps. The run
    // goes on from the grids the check read.
    TGradesLocacao grades = LerGradesLocacao(arquivos.elevacao, arquivos.declividade);
    if (const std::string aviso =
            AvisoModeloEmDegraus(grades, modelo.TerracosNivel(), modelo.NumeroDaCurva(), modelo.Precipitacao());
        !aviso.empty()) {
        if (!a.Tem("--insistir")) throw EVandoro(aviso + " Para locar assim mesmo, use --insistir.");
        std::cerr << "Aviso: " << aviso << "\n";
    }

    TResumoSig resumoSig;
    // The GIS file and its table join the run's own set: all of them or none.
    const TResultadoLocacao res = ComProgresso(loc, [&] {
        return Locar(loc, arquivos, modelo.Precipitacao(), modelo.NumeroDaCurva(), modelo.TerracosNivel(),
                     [&](TConjuntoArquivos& c) {
                         if (!sig.empty()) resumoSig = AdicionarLocacaoSig(c, loc, sig);
                     },
                     &grades);
    });

    std::ostringstream o;
    o << "Terraço;Cota (m);Espaçamento vertical (m);Declividade média (%);Comprimento (m);"
         "Área (m2);Altura (m);Acima;Tipo de terraço"
      << TitulosConstrucao() << "\n";
    for (size_t i = 0; i < res.terracos.size(); ++i) {
        const TRegTerr& r = res.terracos[i];
        const TInfoTerraco info = i < res.info.size() ? res.info[i] : TInfoTerraco{};
        o << r.id << ';' << Num(r.level, 2) << ';' << Num(r.EV, 2) << ';' << Num(r.slope, 2) << ';'
          << Num(r.length, 1) << ';' << Num(r.area, 0) << ';' << Num(r.height, 2) << ';' << TextoAcima(info.acima)
          << ';' << info.tipo << CelulasDaObra(res.construcao, i) << '\n';
    }
    o << "Total de terraços: " << res.terracos.size() << "\n";
    o << "Comprimento total (m): " << Num(res.comprimentoTotal, 1) << "\n";
    o << "Área total (m2): " << Num(res.areaTotal, 0) << "\n";
    o << "Área da imagem (ha): " << Num(res.areaImagem, 4) << "\n";
    o << "Declividade média da área (%): " << Num(res.declividadeMedia, 2) << "\n";
    o << TextoAreaDescoberta(res.areaDescoberta) << "\n";
    o << TextoPecasDescartadas(res.pecasDescartadas) << "\n";
    const TConstrucaoLocacao& construcao = res.construcao;
    TotaisConstrucao(o, construcao);
    o << "Arquivos: " << arquivos.saida << ", " << arquivos.tabela << " e " << arquivos.complemento << "\n";
    if (!arquivos.faixas.empty()) o << "Mapa das faixas: " << arquivos.faixas << "\n";
    if (!limite.empty()) o << "Limite do talhão: " << limite << "\n";
    if (!res.prj.empty()) o << "Sistema de coordenadas: " << res.prj << "\n";
    if (!sig.empty()) {
        const TResumoSig& r = resumoSig;
        o << "SIG: " << r.arquivo << " (" << r.feicoes << " linhas"
          << (r.crs.empty() ? std::string() : ", " + r.crs) << ") e " << r.tabela << "\n";
        for (const std::string& w : r.avisos) o << "Aviso: " << w << "\n";
    }
    for (const std::string& t : res.travessias) o << t << "\n";
    for (const std::string& n : res.notas) o << n << "\n";
    for (const std::string& w : res.avisos) o << "Aviso: " << w << "\n";
    for (const std::string& w : construcao.avisos) o << "Aviso: " << w << "\n";
    if (!escoadouro.empty()) o << "Aviso: O projeto é de terraços em nível: os canais escoadouros foram ignorados.\n";
    if (!arquivos.relatorio.empty()) {
        GravarRelatorioDaLocacao(modelo, loc, arquivo, arquivos.relatorio, false);
        o << "Relatório: " << arquivos.relatorio << "\n";
    }
    return Concluir(o, loc, estacas);
}

RegistroComando reg{"locar", "loca terraços em nível sobre a imagem de elevação do projeto", kAjuda, Executar};

}  // namespace

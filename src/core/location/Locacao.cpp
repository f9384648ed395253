#include "core/location/Locacao.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

#include "core/common/Arquivo.h"
#include "core/common/ConjuntoArquivos.h"
#include "core/common/Memoria.h"
#include "core/common/Numeros.h"
#include "core/common/Threads.h"
#include "core/common/Texto.h"
#include "core/gdal/Gdal.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/CorridaGradiente.h"
#include "core/location/CorridaNivel.h"
#include "core/location/Escoadouros.h"
#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/location/Suavizacao.h"
#include "core/model/NumeroDaCurva.h"
#include "core/model/Precipitacao.h"
#include "core/model/SistemaConservacao.h"
#include "core/raster/FormatoImagem.h"
#include "core/raster/ImgDeclive.h"
#include "core/raster/Imagem.h"
#include "core/raster/Vetor.h"

std::string CaminhoDoProjeto(const std::string& caminho, const std::string& projeto) {
    if (caminho.empty()) return caminho;
    std::string c = caminho;
    for (char& ch : c)
        if (ch == '\\') ch = '/';
    const std::filesystem::path p(c);
    if (p.is_absolute()) return c;
    return (std::filesystem::path(projeto).parent_path() / p).string();
}

std::string TabelaDaSaida(const std::string& saida) { return TrocaExtensao(saida, kExtensaoTabela); }

TArquivosLocacao ArquivosDaLocacao(const TLocacaoNivel& loc, const std::string& projeto,
                                   const TArquivosLocacao& escolhidos) {
    const auto nome = [&](const std::string& dado, const std::string& doProjeto) {
        return !dado.empty() ? dado : CaminhoDoProjeto(doProjeto, projeto);
    };
    TArquivosLocacao a;
    a.elevacao = nome(escolhidos.elevacao, loc.fnImgElev());
    a.declividade = nome(escolhidos.declividade, loc.fnImgDecli());
    a.saida = nome(escolhidos.saida, loc.fnVetSaida());
    a.relatorio = escolhidos.relatorio;
    a.faixas = escolhidos.faixas;
    if (a.elevacao.empty())
        throw EArquivoLocacaoAusente(EArquivoLocacaoAusente::Elevacao, "O projeto não indica a imagem de elevação.");
    if (a.declividade.empty())
        throw EArquivoLocacaoAusente(EArquivoLocacaoAusente::Declividade,
                                     "O projeto não indica a imagem de declividade.");
    if (a.saida.empty())
        throw EArquivoLocacaoAusente(EArquivoLocacaoAusente::Saida, "O projeto não indica o arquivo de saída.");
    // The table takes the output's name with its own extension: any other output extension
    // could be the table's (x.bdt would be written twice) or some other file's.
    if (ExtensaoDe(a.saida) != kExtensaoVetor)
        throw EVandoro("O arquivo vetorial de saída precisa ter a extensão .vet (a tabela dos terraços é gravada "
                       "ao lado dele, com a extensão .bdt): " + a.saida + ".");
    if (!a.faixas.empty()) {
        const TFormatoImagem f = FormatoDe(a.faixas);
        if (f == TFormatoImagem::Desconhecido || f == TFormatoImagem::Idrisi32)
            throw EVandoro("O mapa das faixas precisa ter a extensão de uma imagem (.asc, .flt, .doc ou .grd): " +
                           a.faixas + ".");
    }
    a.tabela = TabelaDaSaida(a.saida);
    a.complemento = ComplementoDaTabela(a.tabela);
    a.saidaExiste = ArquivoExiste(a.saida);

    struct Papel {
        std::string nome;
        const char* oQue;
    };
    const Papel saidas[] = {{a.saida, "O arquivo vetorial de saída "},
                            {a.tabela, "A tabela dos terraços (ao lado do arquivo vetorial de saída) "},
                            {a.complemento, "O complemento da tabela dos terraços (ao lado do arquivo vetorial de saída) "},
                            {a.relatorio, "O relatório "},
                            {a.faixas, "O mapa das faixas "}};
    const Papel alvos[] = {{a.elevacao, "a imagem de elevação "},
                           {a.declividade, "a imagem de declividade "},
                           {projeto, "o projeto "},
                           {a.saida, "o arquivo vetorial de saída "},
                           {a.tabela, "a tabela dos terraços "},
                           {a.complemento, "o complemento da tabela dos terraços "},
                           {a.relatorio, "o relatório "}};
    for (size_t i = 0; i < std::size(saidas); ++i)
        for (size_t j = 0; j < std::size(alvos); ++j) {
            if (j == 3 + i) break;  // an output is only checked against the inputs and the outputs before it
            const Papel& s = saidas[i];
            const Papel& e = alvos[j];
            if (s.nome.empty() || e.nome.empty()) continue;
            // Images count with both halves of a header/data pair.
            if (ImagensCompartilhamArquivo(s.nome, e.nome))
                throw EVandoro(s.oQue + s.nome + " substituiria " + e.oQue + e.nome +
                               ": escolha outro nome. Nada foi gravado.");
        }
    return a;
}

std::string TextoSemTipo(const std::vector<TRegTerr>& terracos, const std::vector<TInfoTerraco>& info,
                         const TTerracosNivel* sistema) {
    std::string lista;
    for (size_t i = 0; i < terracos.size() && i < info.size(); ++i)
        if (info[i].tipo.empty()) lista += (lista.empty() ? "" : ", ") + IntToStr(terracos[i].id);
    if (lista.empty()) return {};
    const std::string criterio = sistema ? TSelecaoTipoTerraco::NomeMetodo(sistema->Selecao().MetodoSelecao()) : "";
    return "Terraços sem tipo recomendado" + (criterio.empty() ? std::string() : " pelo critério " + criterio) +
           " (declividade da faixa fora das classes da tabela): " + lista + ".";
}

TResultadoLocacao ResultadoDaLocacao(const TLocacaoNivel& loc, const TArquivosLocacao& arquivos) {
    TResultadoLocacao r;
    r.arquivos = arquivos;
    const TBDT& b = loc.Registros();
    for (int i = 1; i <= b.Count(); ++i) {
        const TRegTerr& t = *b.Item(i);
        r.terracos.push_back(t);
        r.info.push_back(size_t(i) <= loc.Info().size() ? loc.Info()[size_t(i - 1)] : TInfoTerraco{});
        r.comprimentoTotal += t.length;
        r.areaTotal += t.area;
    }
    r.areaImagem = loc.FieldArea();
    // The engine leaves the field's mean slope (%) in the runoff's St.
    r.declividadeMedia = loc.NumeroDaCurva() ? loc.NumeroDaCurva()->St() : 0;
    if (loc.EncerradaNoLimite()) r.notas.push_back(loc.StatusText());
    if (loc.ParouNoLimiteDeTerracos())
        r.notas.push_back(TextoLimiteTerracos(loc.Plano().maxTerracos));
    if (!loc.AvisoResolucao().empty()) r.avisos.push_back(loc.AvisoResolucao());
    for (const TTravessiaNivel& t : loc.Resultado().travessias) r.travessias.push_back(TextoTravessia(t));
    if (loc.Resultado().comprimentoRaioMenor > 0)
        r.avisos.push_back("Trechos com raio de curva menor que o mínimo (anéis pequenos demais ou trechos mantidos "
                           "como traçados para não cruzar outra linha): " +
                           FloatToStrFixed(loc.Resultado().comprimentoRaioMenor, 1) + " m.");
    // Only a level system chooses a type for each strip.
    if (loc.Canais().empty())
        if (const std::string s = TextoSemTipo(r.terracos, r.info, loc.TerracosNivel()); !s.empty()) r.avisos.push_back(s);
    r.areaDescoberta = loc.AreaDescoberta();
    r.areaDireta = loc.AreaDireta();
    r.construcao = loc.Construcao();
    r.pecasDescartadas = loc.PecasDescartadas();
    r.pecasUnidas = loc.Resultado().pecasUnidas;
    if (r.pecasUnidas > 0)
        r.notas.push_back(loc.Canais().empty() ? TextoPecasUnidas(r.pecasUnidas, loc.Plano().comprimentoMinimo,
                                                                  loc.Resultado().areaSemReceptor)
                                               : TextoLinhasCurtasGradiente(r.pecasUnidas, loc.Plano().comprimentoMinimo));
    return r;
}

TGradesLocacao LerGradesLocacao(const std::string& elevacao, const std::string& declividade) {
    TGradesLocacao g;
    g.elevacao = elevacao;
    g.declividade = declividade;
    // Both at once: on a whole farm each is hundreds of megabytes of fresh pages.
    ParaCada(2, NumeroThreads(), [&](int i) {
        try {
            if (i == 0) g.elev.Load(elevacao);
            else g.decl.LoadFromImage(declividade);
        } catch (...) {
            g.falha[i] = std::current_exception();
        }
    });
    return g;
}

double PassoDeElevacao(const TMatrixSingle& elev) {
    std::vector<float> v;
    const long long n = static_cast<long long>(elev.Rows()) * elev.Columns();
    // A million cells show a model's step: a whole-metre model has neighbours 1 m apart in any
    // sample, a continuous one values far closer than that.
    const long long passo = std::max<long long>(1, n / 1000000);
    for (int r = 1; r <= elev.Rows(); ++r) {
        const float* linha = elev.Row(r);
        // Every passo-th cell of the grid read row by row: the first of this row, then on.
        const long long inicio = static_cast<long long>(r - 1) * elev.Columns();
        for (long long c = (passo - inicio % passo) % passo; c < elev.Columns(); c += passo)
            if (linha[c] > 0 && std::isfinite(linha[c])) v.push_back(linha[c]);
    }
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    double menor = 0;
    for (size_t i = 1; i < v.size(); ++i)
        if (menor == 0 || v[i] - v[i - 1] < menor) menor = double(v[i]) - v[i - 1];
    return menor;
}

std::string AvisoModeloEmDegraus(const TGradesLocacao& grades, const TSistemaConservacao& terracos,
                                 TNumeroDaCurva& escoamento, TPrecipitacao& chuva) {
    if (grades.falha[0] || grades.falha[1]) return {};  // the run says what is wrong
    const TImgElevacao& elev = grades.elev;
    const TImgDeclive& decl = grades.decl;
    const double degrau = PassoDeElevacao(elev);
    if (!(degrau > 0)) return {};
    // The field's mean slope (cells with an elevation), as the run measures it.
    double soma = 0;
    long long n = 0;
    if (elev.Columns() == decl.Columns())
        for (int r = 1; r <= elev.Rows() && r <= decl.Rows(); ++r) {
            const float* z = elev.Row(r);
            const float* d = decl.Row(r);
            for (int c = 0; c < elev.Columns(); ++c)
                if (z[c] > 0) {
                    ++n;
                    soma += d[c] > 0 ? d[c] : 0;
                }
        }
    if (n == 0 || !(soma > 0)) return {};
    const double s = soma / double(n) / 100;
    // The EV in force: the one given, or the one the method gives at that slope.
    TEspacamento e;
    e.Assign(terracos.Espacamento());
    const int metodo = e.Metodologia().Index();
    if (metodo == TMetodologiaEspacamento::AlturaArbitrada) {
        const double st = escoamento.St();
        escoamento.SetSt(s);
        e.SpacingFromCapacity(0, escoamento.RunoffDepth(chuva), terracos.Sm().Value(), terracos.CDu(), terracos.H(), s);
        escoamento.SetSt(st);
    } else if (metodo != TMetodologiaEspacamento::EspacamentoArbitrado) {
        e.ComputeSpacing(s);
    }
    const double ev = e.EV();
    if (!(ev > 0) || !(degrau > ev / 3)) return {};
    return "O modelo de elevação tem valores em degraus de " + FloatToStrFixed(degrau, 2) +
           " m, mais que um terço do espaçamento vertical entre terraços (" + FloatToStrFixed(ev, 2) +
           " m): as curvas de nível seguirão os degraus, não o terreno. Suavize o modelo com o Filtro ou use um "
           "levantamento mais fino.";
}

std::string TextoTravessia(const TTravessiaNivel& t) {
    const bool aterro = t.aterroCm >= t.corteCm;
    return "Travessia fora de nível: terraço " + std::to_string(t.terraco) + ", a " + FloatToStrFixed(t.inicio, 1) +
           " m do início, " + FloatToStrFixed(t.comprimento, 1) + " m, " + (aterro ? "aterro" : "corte") +
           " de até " + FloatToStrFixed(aterro ? t.aterroCm : t.corteCm, 0) + " cm";
}

std::string TextoResumoTravessias(size_t n) {
    return n == 1 ? std::string("1 travessia fora de nível (listada no relatório).")
                  : std::to_string(n) + " travessias fora de nível (listadas no relatório).";
}

std::string TextoLimiteTerracos(int maximo) {
    return "Locação interrompida ao atingir o número máximo de " + std::to_string(maximo) +
           " terraços; o restante da área não foi locado.";
}

std::string TextoAreaDescoberta(double hectares) {
    return kRotuloAreaDescoberta + FloatToStrFixed(hectares, 4);
}

std::string TextoAreaDescobertaComMotivos(double hectares, bool limiteAtingido, double hectaresSemReceptor,
                                          int pecasDescartadas) {
    if (!(hectares >= 0.00005)) return {};
    std::vector<std::string> motivos;
    if (limiteAtingido) motivos.push_back("a locação parou no número máximo de terraços");
    if (hectaresSemReceptor >= 0.00005)
        motivos.push_back("linhas curtas sem terraço abaixo que receba o escoamento (" +
                          FloatToStrFixed(hectaresSemReceptor, 4) + " ha)");
    if (pecasDescartadas > 0)
        motivos.push_back(std::to_string(pecasDescartadas) +
                          (pecasDescartadas == 1 ? " trecho de curva ou faixa pequeno demais para um terraço"
                                                 : " trechos de curva ou faixas pequenos demais para um terraço"));
    if (motivos.empty()) motivos.push_back("bordas e cantos do campo que nenhuma faixa alcança");
    std::string t = "Área acima do terraço mais baixo fora de qualquer faixa: " + FloatToStrFixed(hectares, 4) +
                    " ha. Motivos: ";
    for (size_t k = 0; k < motivos.size(); ++k) t += (k ? "; " : "") + motivos[k];
    return t + ".";
}

std::string TextoLinhasCurtasGradiente(int linhas, double comprimentoMinimo) {
    return "Linhas com menos de " + FloatToStrFixed(comprimentoMinimo, 1) + " m deixadas de fora: " +
           std::to_string(linhas) + ".";
}

std::string TextoPecasUnidas(int pecas, double comprimentoMinimo, double hectaresSemReceptor) {
    std::string t = "Linhas com menos de " + FloatToStrFixed(comprimentoMinimo, 1) + " m unidas à faixa do terraço abaixo: " +
                    std::to_string(pecas) + ".";
    if (hectaresSemReceptor > 0)
        t += " Sem terraço abaixo que receba o escoamento, ficaram descobertos (ha): " +
             FloatToStrFixed(hectaresSemReceptor, 4) + ".";
    return t;
}

std::string TextoPecasDescartadas(int pecas) {
    return kRotuloPecasDescartadas + std::to_string(pecas);
}

void GravarMapaFaixas(const TLocacaoNivel& loc, const std::string& saida) {
    const TMapaFaixas& m = loc.MapaFaixas();
    if (m.terraco.empty() || loc.RunElevPath().empty())
        throw EVandoro("Não há mapa das faixas: nenhuma locação foi feita.");
    // The grid, unit and no-data value of the elevation model the run read.
    TImagem elev;
    if (!elev.LoadFromFile(loc.RunElevPath()))
        throw EVandoro("O arquivo " + NomeSemCaminho(loc.RunElevPath()) + " não existe.");
    if (elev.Columns() != m.colunas || elev.Rows() != m.linhas)
        throw EVandoro("A imagem de elevação mudou desde a locação; o mapa das faixas não foi gravado.");
    TImagem img;
    img.CopyHeaderFrom(elev);
    img.SetCellType(TTipoCelula::Real);
    img.SetTitle("Faixas dos terraços");
    img.Reset();
    img.Allocate();
    const float semDado = elev.FlagValue();
    std::vector<float> linha(static_cast<size_t>(m.colunas));
    for (int r = 0; r < m.linhas; ++r) {
        for (int c = 0; c < m.colunas; ++c) {
            const int32_t t = m.Em(c, r);
            linha[static_cast<size_t>(c)] = t == TMapaFaixas::kSemDado ? semDado : static_cast<float>(t);
        }
        img.WriteRow(r, linha.data());
    }
    img.SetFlagValue(semDado);
    img.ComputeMinMax();
    img.SaveToFile(saida);
}

void ChecaEntradasLocacao(const TPrecipitacao& chuva, const TNumeroDaCurva& escoamento,
                          const TSistemaConservacao& terracos) {
    const auto positivo = [](double v) { return v > 0 && std::isfinite(v); };
    if (const auto* p = dynamic_cast<const TPrecipitacaoExponencialNegativa*>(&chuva)) {
        if (!positivo(p->Tr())) throw EVandoro("Valor do periodo de retorno inconsistente.");
        if (!positivo(p->K())) throw EVandoro("Valor do parâmetro \"K\" inconsistente.");
    }
    if (!positivo(chuva.A())) throw EVandoro("Valor do parâmetro \"a\" inconsistente.");
    if (!positivo(chuva.B())) throw EVandoro("Valor do parâmetro \"b\" inconsistente.");
    if (!positivo(chuva.C())) throw EVandoro("Valor do parâmetro \"c\" inconsistente.");
    if (!positivo(terracos.Sm().Value())) throw EVandoro("Valor da inclinação do murundum inconsistente.");
    const int metodo = terracos.Espacamento().Metodologia().Index();
    if (metodo == TMetodologiaEspacamento::EspacamentoArbitrado && !positivo(terracos.Espacamento().EV()))
        throw EVandoro(kMensagemEV);
    const auto* gradiente = dynamic_cast<const TTerracosGradiente*>(&terracos);
    if (gradiente) {
        if (!positivo(gradiente->Sc())) throw EVandoro("Valor da declividade do canal inconsistente.");
        if (!positivo(gradiente->nc().Value())) throw EVandoro("Valor da rugosidade do canal inconsistente.");
        if (metodo == TMetodologiaEspacamento::AlturaArbitrada) throw EVandoro(kMensagemAlturaNoGradiente);
    } else if (metodo == TMetodologiaEspacamento::AlturaArbitrada && !positivo(terracos.H())) {
        throw EVandoro(kMensagemAltura);
    }
    if (gradiente && !positivo(escoamento.nt().Value())) throw EVandoro("Valor da rugosidade do terreno inconsistente.");
    if (!positivo(escoamento.VIB())) throw EVandoro("Valor da taxa de infiltração estável inconsistente.");
    escoamento.VerificarCobertura();  // every terrace's height comes from the curve number
}

TPrjLocacao PrjDaLocacao(const TArquivosLocacao& arquivos) {
    TPrjLocacao r;
    r.arquivo = TrocaExtensao(arquivos.saida, ".prj");
    const std::string crs = CrsDoArquivoImagem(arquivos.elevacao);
    if (!crs.empty()) r.conteudo = CrsEsri(crs);
    // An input's own system is never rewritten nor removed.
    for (const std::string& e : {arquivos.elevacao, arquivos.declividade})
        for (const std::string& parte : ArquivosDaImagem(e))
            if (MesmoArquivo(TrocaExtensao(parte, ".prj"), r.arquivo)) {
                r.daEntrada = true;
                if (!crs.empty() && ArquivoExiste(r.arquivo) &&
                    !MesmoCrs(CrsDeTexto(LerArquivoInteiro(r.arquivo, 1 << 20)), crs))
                    throw EVandoro("O arquivo " + r.arquivo + " substituiria o sistema de coordenadas de " + e +
                                   ": escolha outro nome para o vetor. Nada foi gravado.");
            }
    return r;
}

namespace {

// Both rasters as the run sees them: the boundary applied, and one field for every measure,
// the cells with an elevation. A cell the boundary (or the load) left without elevation has
// no slope either; a slope without data is a flat cell, slope 0.
void CarregarGrades(const TLocacaoNivel& loc, const std::string& elevPath, const std::string& slopePath,
                    TImgElevacao& elev, TImgDeclive& decl, const std::function<void(double)>& etapa,
                    TGradesLocacao* lidas) {
    TGradesLocacao g = lidas && lidas->elevacao == elevPath && lidas->declividade == slopePath
                           ? std::exchange(*lidas, TGradesLocacao{})
                           : LerGradesLocacao(elevPath, slopePath);
    // What follows each read happens in the order it always did, its failure included.
    elev = std::move(g.elev);
    decl = std::move(g.decl);
    if (g.falha[0]) std::rethrow_exception(g.falha[0]);
    if (elev.HadInvalid()) elev.SaveToFile(elevPath + "t1.ras");
    etapa(30);
    if (g.falha[1]) std::rethrow_exception(g.falha[1]);
    if (decl.Rows() != elev.Rows() || decl.Columns() != elev.Columns())
        throw EVandoro("As imagens de elevação e de declividade não têm o mesmo número de linhas e colunas.");
    if (loc.MascaraCampo()) loc.MascaraCampo()(elev, decl);
    for (int r = 1; r <= elev.Rows(); ++r) {
        float* z = elev.Row(r);
        float* d = decl.Row(r);
        for (int c = 0; c < elev.Columns(); ++c) {
            if (!(z[c] > 0) || !std::isfinite(z[c])) z[c] = 0;
            if (z[c] == 0 || !(d[c] > 0) || !std::isfinite(d[c])) d[c] = 0;
        }
    }
    if (loc.MascaraCampo()) {
        // The top and bottom of what the boundary left.
        float mn = 0, mx = 0;
        bool algum = false;
        for (int r = 1; r <= elev.Rows(); ++r) {
            const float* z = elev.Row(r);
            for (int c = 0; c < elev.Columns(); ++c)
                if (z[c] != 0) {
                    mn = algum ? std::min(mn, z[c]) : z[c];
                    mx = algum ? std::max(mx, z[c]) : z[c];
                    algum = true;
                }
        }
        elev.SetMinValue(mn);
        elev.SetMaxValue(mx);
    }
    etapa(60);
}

// The smoothing works in metres; a grid in kilometres is scaled there and back.
double MetrosDaCorrida(const TResultadoNivel& res) { return res.metresPerUnit > 0 ? res.metresPerUnit : 1; }

void EmMetros(TLinhaMapa& l, double m) {
    for (double& x : l.x) x *= m;
    for (double& y : l.y) y *= m;
}

// The run's lines smoothed for machinery (the plan's radius and tolerance), in place: the
// records' lengths become the smoothed lines', and the off-level passages are kept.
// 'antecipada', when the run handed it its lines as it went, has smoothed some already.
void SuavizarPlano(TResultadoNivel& res, const TImgElevacao& elev, TSuavizacaoAntecipada* antecipada) {
    if (!(res.plano.raioMinimo > 0) || res.linhasMapa.empty()) return;
    const TGradeMapa& g = res.mapaFaixas.grade;
    const double m = MetrosDaCorrida(res);
    // A copy in metres only when the grid is not in metres: a whole farm's lines are tens of MB.
    std::vector<TLinhaMapa> emMetros;
    if (m != 1) {
        emMetros = res.linhasMapa;
        for (TLinhaMapa& l : emMetros) EmMetros(l, m);
    }
    const std::vector<TLinhaMapa>& tracadas = m != 1 ? emMetros : res.linhasMapa;
    std::vector<TLinhaSuavizada> suaves =
        antecipada ? antecipada->Concluir(tracadas, DentroDaGrade(elev, g, m))
                   : SuavizarLinhas(tracadas, CotaNaGrade(elev, g, m), DentroDaGrade(elev, g, m),
                                    TParametrosSuavizacao::DoPlano(res.plano));
    res.comprimentoRaioMenor = 0;
    for (size_t i = 0; i < suaves.size(); ++i) {
        TLinhaSuavizada& sv = suaves[i];
        for (double& x : sv.linha.x) x /= m;
        for (double& y : sv.linha.y) y /= m;
        res.linhasMapa[i] = std::move(sv.linha);
        const int id = res.linhasMapa[i].id;
        for (int k = 1; k <= res.registros.Count(); ++k)
            if (res.registros.Item(k)->id == id) res.registros.Item(k)->length = sv.comprimento;
        for (const TTravessia& t : sv.travessias)
            res.travessias.push_back({id, t.inicio, t.comprimento, t.maiorAterro * 100, t.maiorCorte * 100});
        res.comprimentoRaioMenor += sv.comprimentoRaioMenor;
    }
}

// What building the run's terraces takes, as its files and every front end give it.
void CalcularConstrucao(TResultadoNivel& res, const TSistemaConservacao& sistema, const TSelecaoTipoTerraco& selecao,
                      const TConfigConstrucao& c) {
    std::vector<TRegTerr> terracos;
    for (int i = 1; i <= res.registros.Count(); ++i) terracos.push_back(*res.registros.Item(i));
    res.construcao = ConstrucaoDaLocacao(terracos, res.info, sistema, selecao, c);
}

// The lines of a run (.vet, each vertex at its elevation: the level, or a graded channel's
// design elevation), its table and the table's companion, with whatever the caller adds, as one
// set.
void GravarLocacao(const TResultadoNivel& res, const std::string& unidade, const TLocacaoNivel::TSaidasExtras& extras) {
    TVET vet(unidade);
    const double m = res.metresPerUnit > 0 ? res.metresPerUnit : 1;
    for (size_t k = 0; k < res.linhasMapa.size(); ++k) {
        const TLinhaMapa& l = res.linhasMapa[k];
        const double grade = k < res.canais.size() ? res.canais[k].declividade : 0;
        TVetorRecPonto p;
        p.SetLineId(l.id);
        double s = 0;
        for (size_t i = 0; i < l.x.size(); ++i) {
            if (i) s += std::hypot(l.x[i] - l.x[i - 1], l.y[i] - l.y[i - 1]) * m;
            p.Add(static_cast<float>(l.x[i]), static_cast<float>(l.y[i]), static_cast<float>(l.level + grade * s));
        }
        vet.AppendLine(p);
    }
    // The vector, the table and whatever the caller adds replace the old ones as one set.
    TConjuntoArquivos conjunto;
    conjunto.Membro(res.saida, [&vet](const std::string& tmp) { vet.Save(tmp); });
    conjunto.Membro(res.tabela, [&res](const std::string& tmp) { res.registros.SaveToFile(tmp); });
    conjunto.Membro(ComplementoDaTabela(res.tabela),
                    [c = TComplementoBDT::DoResultado(res)](const std::string& tmp) { c.Gravar(tmp); });
    if (extras) extras(conjunto);
    conjunto.Gravar();
}

}  // namespace

void ProcessarLocacao(TLocacaoNivel& loc, const std::string& elevPath, const std::string& slopePath,
                      TPrecipitacao& rainfall, TNumeroDaCurva& runoff, TTerracosNivel& terracos,
                      const std::string& outputPath, const TLocacaoNivel::TSaidasExtras& extras,
                      TGradesLocacao* lidas) {
    TResultadoNivel& res = loc.NovaCorrida();
    res.elevacao = elevPath;
    res.declividade = slopePath;
    res.saida = outputPath;
    res.tabela = TabelaDaSaida(outputPath);
    res.chuva = &rainfall;
    res.escoamento = &runoff;
    res.terracos = &terracos;
    res.plano = loc.Plano();
    TCorridaNivel corrida(res, rainfall, runoff, terracos, loc.Progresso());
    corrida.Inicio();
    std::string unidade;
    {
        TImgElevacao elev;
        TImgDeclive decl;
        CarregarGrades(loc, elevPath, slopePath, elev, decl, [&](double p) { corrida.Etapa(p); }, lidas);
        if (outputPath.empty()) throw EVandoro("Nenhum nome de arquivo de saída fornecido.");
        // The run places its lines on one thread: the others smooth them as they come. Made
        // on the first line, once the run knows its grid and units.
        std::optional<TSuavizacaoAntecipada> antecipada;
        const auto tracada = [&](TLinhaMapa l) {
            const double m = MetrosDaCorrida(res);
            if (!antecipada)
                antecipada.emplace(CotaNaGrade(elev, res.mapaFaixas.grade, m), TParametrosSuavizacao::DoPlano(res.plano),
                                   NumeroThreads());
            if (m != 1) EmMetros(l, m);
            antecipada->Antecipar(std::move(l));
        };
        const bool antecipar = res.plano.raioMinimo > 0 && NumeroThreads() > 1;
        corrida.Executar(elev, decl, antecipar ? std::function<void(TLinhaMapa)>(tracada) : nullptr);
        // Only the run reads the slope: on a large model its grid is memory the smoothing needs.
        decl.SetRowCount(0);
        DevolverMemoriaLivre();
        SuavizarPlano(res, elev, antecipada ? &*antecipada : nullptr);
        DevolverMemoriaLivre();
        corrida.UnirPecasCurtas();
        corrida.Numerar();
        unidade = elev.UnitDist();
    }
    CalcularConstrucao(res, terracos, terracos.Selecao(), loc.ConfigConstrucao());
    GravarLocacao(res, unidade, extras);
    corrida.Respirar();
}

namespace {

// What every run writes beside its lines: the ".prj" (or the removal of an old one), the strip
// map when named, and what the caller adds. 'prjGravado' receives the ".prj" in force.
TLocacaoNivel::TSaidasExtras SaidasDaLocacao(const TLocacaoNivel& loc, const TArquivosLocacao& arquivos,
                                              const TLocacaoNivel::TSaidasExtras& extras, std::string& prjGravado) {
    const TPrjLocacao prj = PrjDaLocacao(arquivos);
    std::vector<std::string> prjsEntrada;
    for (const std::string& e : {arquivos.elevacao, arquivos.declividade})
        for (const std::string& parte : ArquivosDaImagem(e)) prjsEntrada.push_back(TrocaExtensao(parte, ".prj"));
    return [&loc, arquivos, extras, prj, prjsEntrada, &prjGravado](TConjuntoArquivos& c) {
        const auto daEntrada = [&](const std::string& nome) {
            for (const std::string& p : prjsEntrada)
                if (MesmoArquivo(p, nome)) return true;
            return false;
        };
        if (!prj.daEntrada) {
            if (!prj.conteudo.empty()) {
                c.Membro(prj.arquivo, [conteudo = prj.conteudo](const std::string& tmp) { GravarArquivoInteiro(tmp, conteudo); });
                prjGravado = prj.arquivo;
            } else {
                // An old system of another model must not stay beside the new vector.
                c.Remover(prj.arquivo);
            }
        } else if (!prj.conteudo.empty()) {
            prjGravado = prj.arquivo;
        }
        if (!arquivos.faixas.empty()) {
            c.Membro(arquivos.faixas, [&loc](const std::string& tmp) { GravarMapaFaixas(loc, tmp); });
            for (const std::string& parte : ArquivosDaImagem(arquivos.faixas)) {
                const std::string p = TrocaExtensao(parte, ".prj");
                if (!daEntrada(p) && !MesmoArquivo(p, prj.arquivo)) c.Remover(p);
            }
        }
        if (extras) extras(c);
    };
}

}  // namespace

TResultadoLocacao Locar(TLocacaoNivel& loc, const TArquivosLocacao& arquivos, TPrecipitacao& chuva,
                        TNumeroDaCurva& escoamento, TTerracosNivel& terracos,
                        const TLocacaoNivel::TSaidasExtras& extras, TGradesLocacao* lidas) {
    // Every input is checked before the run: a refused one leaves every old output as it was.
    ChecaEntradasLocacao(chuva, escoamento, terracos);
    std::string prjGravado;
    const auto saidas = SaidasDaLocacao(loc, arquivos, extras, prjGravado);
    ProcessarLocacao(loc, arquivos.elevacao, arquivos.declividade, chuva, escoamento, terracos, arquivos.saida, saidas,
                     lidas);
    TResultadoLocacao r = ResultadoDaLocacao(loc, arquivos);
    r.prj = prjGravado;
    return r;
}

TResultadoLocacao LocarComGradiente(TLocacaoNivel& loc, const TArquivosLocacao& arquivos, const std::string& escoadouros,
                                    TPrecipitacao& chuva, TNumeroDaCurva& escoamento, const TTerracosGradiente& sistema,
                                    const TLocacaoNivel::TSaidasExtras& extras, TGradesLocacao* lidas) {
    if (escoadouros.empty())
        throw EVandoro("O projeto é de terraços com gradiente: indique os canais escoadouros para onde os terraços "
                       "drenam.");
    ChecaEntradasLocacao(chuva, escoamento, sistema);
    // The waterways are an input too: no file the run writes may replace one of their parts.
    for (const std::string& saida : {arquivos.saida, TabelaDaSaida(arquivos.saida),
                                     ComplementoDaTabela(TabelaDaSaida(arquivos.saida)), arquivos.relatorio,
                                     arquivos.faixas})
        for (const std::string& parte : ArquivosSig(escoadouros))
            if (!saida.empty() && ImagensCompartilhamArquivo(saida, parte))
                throw EVandoro("O arquivo " + saida + " substituiria os canais escoadouros " + escoadouros +
                               ": escolha outro nome. Nada foi gravado.");
    std::string prjGravado;
    const auto saidas = SaidasDaLocacao(loc, arquivos, extras, prjGravado);
    TResultadoNivel& res = loc.NovaCorrida();
    res.elevacao = arquivos.elevacao;
    res.declividade = arquivos.declividade;
    res.saida = arquivos.saida;
    res.tabela = TabelaDaSaida(arquivos.saida);
    res.chuva = &chuva;
    res.escoamento = &escoamento;
    res.plano = loc.Plano();
    TImgElevacao elev;
    TImgDeclive decl;
    CarregarGrades(loc, arquivos.elevacao, arquivos.declividade, elev, decl, [](double) {}, lidas);
    const TGradeMapa grade{elev.MinX(), double(elev.MinY()) + elev.Rows() * double(elev.CellHeight()), elev.CellWidth(),
                           elev.CellHeight(), elev.Columns(), elev.Rows()};
    const std::vector<TPolilinha> linhas = LerEscoadouros(escoadouros, CrsDoArquivoImagem(arquivos.elevacao), grade);
    TParametrosGradiente2 p;
    p.plano = loc.Plano();
    p.progresso = loc.Progresso();
    const TResultadoGradiente g = LocarGradiente(elev, decl, linhas, sistema, escoamento, chuva, p);
    for (size_t k = 0; k < linhas.size(); ++k) res.escoadouros.push_back({int(k + 1), 0, linhas[k].x, linhas[k].y});
    res.metresPerUnit = Maiusculas(elev.UnitDist()) == "KM" ? 1000 : 1;
    res.pixelArea = double(res.metresPerUnit) * elev.CellWidth() * double(res.metresPerUnit) * elev.CellHeight();
    res.fieldAreaM2 = g.areaCampo;
    res.fieldArea = g.areaCampo / 10000;
    res.celulasCampo = res.pixelArea > 0 ? static_cast<long long>(std::llround(g.areaCampo / res.pixelArea)) : 0;
    res.areaDescoberta = g.areaDescoberta / 10000;
    res.areaDireta = g.areaDireta / 10000;
    res.pecasUnidas = g.linhasCurtas;
    res.parada = g.parada;
    res.travessias = g.travessias;
    res.comprimentoRaioMenor = g.comprimentoRaioMenor;
    res.mapaFaixas = g.mapaFaixas;
    for (const TTerracoGradiente& t : g.terracos) {
        res.registros.Add(std::make_unique<TRegTerr>(
            TRegTerr{t.id, t.cotaSaida, t.declividade, t.comprimento, t.area, t.ev, t.hr}));
        res.committedArea += t.area;
        res.linhasMapa.push_back(t.linha);
        res.origens.push_back(TOrigemTerraco{t.id, TOrigemTerraco::Peca, t.cotaSaida});
        res.info.push_back(TInfoTerraco{t.acima, std::string()});  // graded systems choose no type
        res.canais.push_back({t.escoadouro, t.cotaInicio, sistema.Sc(), t.vazao, t.aviso});
    }
    res.terraceCount = int32_t(g.terracos.size());
    res.progresso = 100;
    CalcularConstrucao(res, sistema, loc.SelecaoConstrucao(), loc.ConfigConstrucao());
    GravarLocacao(res, elev.UnitDist(), saidas);
    TResultadoLocacao r = ResultadoDaLocacao(loc, arquivos);
    r.prj = prjGravado;
    for (const TTerracoGradiente& t : g.terracos)
        if (!t.aviso.empty()) r.avisos.push_back("Terraço " + std::to_string(t.id) + ": " + t.aviso);
    if (g.parada)
        r.notas.push_back("Locação cancelada: foram gravados os " + std::to_string(g.terracos.size()) +
                          " terraços locados até então.");
    return r;
}

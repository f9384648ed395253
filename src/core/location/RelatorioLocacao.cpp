#include "core/location/RelatorioLocacao.h"

#include <filesystem>
#include <map>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/location/BDT.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/ConstrucaoLocacao.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/location/PerfisTerracos.h"
#include "core/model/SistemaConservacao.h"
#include "core/project/ModeloProjeto.h"

const char* const kTituloRelatorioLocacao = "Locação de Sistemas de Terraceamento em Nível";

namespace {

const char* const kTD3 = "<TD colspan=3>";
const char* const kFmtGrande = "###,###,###,###,###,###.0#";

void Linha(TRelatorio& r, std::initializer_list<std::string> celulas, const char* abertura = "<TR>") {
    r.Add(abertura);
    for (const auto& c : celulas) r.Add(c);
    r.Add("</TR>");
}

// The inputs every location report opens with: the storm and the spacing method.
void EntradasDaLocacao(TRelatorio& r, TModeloProjeto& m, const TEspacamento& e) {
    r.Add("<FONT SIZE=2 FACE=\"Arial\"><B>DADOS DE ENTRADA</B></FONT>");
    r.Add("<FONT FACE = \"Arial\"><TABLE COLS=3 WIDTH=\"100%\">");
    r.WriteStorm(m.Quenda());
    Linha(r, {std::string(kTD3) + TRelatorio::Indent(4) +
              "<U><B>Método para cálculo de espaçamento entre terraços:</B></U> " + e.Metodologia().Name() + "</TD>"});
    const int metodo = e.Metodologia().Index();
    if (metodo == TMetodologiaEspacamento::Bentley || metodo == TMetodologiaEspacamento::Parana) {
        Linha(r, {TRelatorio::Cell(kTD3, 8, "Tipo de solo: ", e.SoloDoMetodo().Nome())}, "<TR colspan=3> ");
    } else if (metodo == TMetodologiaEspacamento::LombardiNeto) {
        Linha(r, {TRelatorio::Cell("<TD>", 8, "Cultura: ", EscaparHtml(e.Cultura().Nome())),
                  TRelatorio::Cell("<TD>", 0, "Resistência à erosão: ", EscaparHtml(e.ResistenciaErosao().Grupo()))});
        Linha(r, {TRelatorio::Cell(kTD3, 8, "Preparo do solo: ", EscaparHtml(e.PreparoDoSolo().Grupo()))});
    }
}

// The plan on a page of its own: the front end draws it under the name the text gives.
void PaginaDoMapa(TRelatorio& r, const TOpcoesRelatorio& o) {
    if (!o.Locacao || o.Locacao->perfis.empty()) return;
    r.Add("<P STYLE=\"page-break-before: always\"><FONT SIZE=2 FACE=\"Arial\"><B>PLANTA DOS TERRAÇOS</B></FONT></P>");
    r.Add(std::string("<P ALIGN=CENTER STYLE=\"page-break-after: always\"><IMG SRC=\"") + TFigurasLocacao::kMapa +
          "\" WIDTH=" + std::to_string(TFigurasLocacao::kLargura) + " HEIGHT=" +
          std::to_string(TFigurasLocacao::kAltura) + "></P>");
}

// The profiles, so many to a picture and a picture to a page, after everything else.
void PaginasDosPerfis(TRelatorio& r, const TOpcoesRelatorio& o) {
    if (!o.Locacao || o.Locacao->perfis.empty()) return;
    r.Add("<P STYLE=\"page-break-before: always\"><FONT SIZE=2 FACE=\"Arial\"><B>PERFIS DOS TERRAÇOS</B></FONT><BR>"
          "<FONT SIZE=1 FACE=\"Arial\">" + std::string(kLegendaPerfis) + "</FONT></P>");
    for (int k = 1; k <= o.Locacao->PaginasPerfis(); ++k)
        r.Add("<P ALIGN=CENTER><IMG SRC=\"" + TFigurasLocacao::NomePerfis(k) + "\" WIDTH=" +
              std::to_string(TFigurasLocacao::kLargura) + " HEIGHT=" +
              std::to_string(TFigurasLocacao::kAlturaPerfis) + "></P>");
}

void ArquivosNoRelatorio(TRelatorio& r, const std::string& elev, const std::string& decl, const std::string& vet) {
    Linha(r, {TRelatorio::Heading(kTD3, 4, "Arquivos das imagens de entrada")});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Imagem de elevação: ", EscaparHtml(elev))});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Imagem de declividade: ", EscaparHtml(decl))});
    Linha(r, {std::string(kTD3) + TRelatorio::Indent(4) + "<U><B>Arquivo do vetor de saída: </B></U></TD>"});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Vetor de saída: ", EscaparHtml(vet))});
}

// The files of the last run (before any run, the ones the project names) and its table, read
// first: a report without it is refused before anything is built.
struct TArquivosDoRelatorio {
    bool rodou = false;
    std::string elev, decl, vet, bdt;
    TBDT tabela;
};
TArquivosDoRelatorio ArquivosDoRelatorio(const TLocacaoNivel& loc) {
    TArquivosDoRelatorio a;
    a.rodou = !loc.RunOutputPath().empty();
    a.elev = a.rodou ? loc.RunElevPath() : loc.fnImgElev();
    a.decl = a.rodou ? loc.RunSlopePath() : loc.fnImgDecli();
    a.vet = a.rodou ? loc.RunOutputPath() : loc.fnVetSaida();
    a.bdt = ArquivoTabelaTerracos(a.vet);
    if (a.vet.empty() || !a.tabela.LoadFromFile(a.bdt))
        throw EVandoro("Não foi possível ler a tabela de terraços " + a.bdt + ".");
    return a;
}

}  // namespace

const std::vector<std::string>& ColunasTabelaTerracos() {
    static const std::vector<std::string> c = {"Terraço", "Acima", "Cota", "Espaçamento vertical(m)",
                                               "Declividade média(%)", "Comprimento do terraço(m)",
                                               "Área de influência(m2)", "Altura do terraço(m)", "Tipo de terraço"};
    return c;
}

const char* const kLegendaAcima =
    "Acima: o terraço cuja linha limita a faixa por cima (topo: a faixa sobe até o alto do terreno). O espaçamento "
    "vertical de cada terraço é medido a partir dessa linha; trechos de um mesmo nível têm o mesmo espaçamento.";

namespace {
const std::string kLinhaInteira = "STYLE=\"page-break-inside: avoid\" ";
const std::string kCelulaNumero = "<TD NOWRAP STYLE=\"white-space: nowrap\">";

// The section of its own, after the terrace table (which has no room for three more columns on
// paper): the machine, each terrace's length, soil, hours and cost, the totals, the one note on
// what the settings lack, and the sections that cannot be built as reckoned. The run's figures,
// which the table's companion keeps: a table saved before them has none.
void SecaoConstrucao(TRelatorio& r, const TConstrucaoLocacao& c, const TBDT& tabela) {
    if (c.terracos.empty() || c.terracos.size() != size_t(tabela.Count())) return;
    r.Paragraph();
    r.Add("<FONT SIZE=2 FACE = \"Arial\"><B>CONSTRUÇÃO DOS TERRAÇOS</B></FONT>");
    r.Add(std::string("<BR><FONT SIZE=2 FACE = \"Arial\"><B>") + kRotuloMaquina + "</B>" +
          EscaparHtml(NomeMaquina(c.maquina)) + "</FONT>");
    std::vector<std::string> colunas = {"Terraço", "Comprimento do terraço(m)"};
    colunas.insert(colunas.end(), ColunasConstrucao().begin(), ColunasConstrucao().end());
    r.Add("<CENTER>");
    r.Add("<FONT FACE = \"Arial\"><TABLE CELLPADDING=4>");
    r.Add("<THEAD>");
    r.Add("<TR  ALIGN=CENTER VALIGN=CENTER BGCOLOR = \"#AAAAAA\">");
    for (std::string t : colunas) {
        for (size_t p; (p = t.find(' ')) != std::string::npos;) t.replace(p, 1, "<BR>");
        r.Add(kCelulaNumero + "<FONT SIZE=2><B>" + t + "</B></FONT></TD>");
    }
    r.Add("</TR>");
    r.Add("</THEAD>");
    double comprimento = 0;
    for (int i = 1; i <= tabela.Count(); ++i) {
        if (!tabela[i]) return;
        const TRegTerr& t = *tabela[i];
        const std::string cor = i % 2 == 1 ? "\"#EEEEEE\" " : "\"#CCCCCC\" ";
        r.Add("<TR ALIGN=CENTER VALIGN=CENTER BGCOLOR = " + cor + kLinhaInteira + ">");
        r.Add(kCelulaNumero + IntToStr(t.id) + "</TD>");
        r.Add(kCelulaNumero + FormatFloat(kFmtGrande, t.length) + "</TD>");
        for (const std::string& celula : CelulasConstrucao(c.terracos[size_t(i - 1)])) r.Add(kCelulaNumero + celula + "</TD>");
        r.Add("</TR>");
        comprimento += t.length;
    }
    r.Add("<TR ALIGN=CENTER VALIGN=CENTER " + kLinhaInteira + ">");
    r.Add(kCelulaNumero + "<B>Total</B></TD>");
    r.Add(kCelulaNumero + "<B>" + FormatFloat(kFmtGrande, comprimento) + "</B></TD>");
    for (const std::string& celula : CelulasConstrucao(TObraTerraco{c.volumeTotal, c.servicoTotal}))
        r.Add(kCelulaNumero + "<B>" + celula + "</B></TD>");
    r.Add("</TR>");
    r.Add("</TABLE></FONT>");
    r.Add("</CENTER>");
    if (const std::string nota = NotaConstrucao(c.servicoTotal); !nota.empty())
        r.Add("<FONT SIZE=2 FACE = \"Arial\">" + EscaparHtml(nota) + "</FONT>");
    for (const std::string& a : c.avisos) r.Add("<BR><FONT SIZE=2 FACE = \"Arial\">" + EscaparHtml(a) + "</FONT>");
}

}  // namespace

const std::vector<std::string>& ColunasTabelaCanais() {
    static const std::vector<std::string> c = {"Terraço", "Escoadouro", "Cota da saída(m)", "Comprimento do terraço(m)",
                                               "Área de influência(m2)", "Declividade média(%)",
                                               "Espaçamento horizontal(m)", "Vazão (L/s)", "Altura do terraço(m)"};
    return c;
}

std::vector<std::string> CelulasCanal(const TRegTerr& t, const TCanalLocado& k) {
    return {IntToStr(t.id), IntToStr(k.escoadouro), FormatFloat("0.00", t.level), FormatFloat(kFmtGrande, t.length),
            FormatFloat(kFmtGrande, t.area), FormatFloat("0.0#", t.slope),
            FormatFloat("0.00", t.length > 0 ? t.area / t.length : 0), FormatFloat("0.0", k.vazao),
            FormatFloat("0.00", t.height)};
}

std::map<int, double> VazaoPorEscoadouro(const std::vector<TCanalLocado>& canais) {
    std::map<int, double> q;
    for (const TCanalLocado& k : canais) q[k.escoadouro] += k.vazao;
    return q;
}

std::string TextoFimDoCanal(const TCanalLocado& k) {
    return "Cota do início: " + FormatFloat("0.00", k.cotaInicio) + " m" + (k.aviso.empty() ? std::string() : ". " + k.aviso);
}

std::vector<std::string> CelulasTerraco(const TRegTerr& t, const TInfoTerraco* info) {
    return {IntToStr(t.id),
            info ? TextoAcima(info->acima) : std::string(),
            FormatFloat("0.00", t.level),
            FormatFloat("0.00", t.EV),
            FormatFloat("0.0#", t.slope),
            FormatFloat(kFmtGrande, t.length),
            FormatFloat(kFmtGrande, t.area),
            FormatFloat("0.00", t.height),
            info ? info->tipo : std::string()};
}

std::vector<std::string> ColunasResultadoLocacao(bool gradiente) {
    std::vector<std::string> c = gradiente ? ColunasTabelaCanais() : ColunasTabelaTerracos();
    c.insert(gradiente ? c.end() : c.end() - 1, ColunasConstrucao().begin(), ColunasConstrucao().end());
    return c;
}

std::vector<std::string> CelulasResultadoLocacao(const TResultadoLocacao& r, size_t i, const TCanalLocado* canal) {
    std::vector<std::string> c =
        canal ? CelulasCanal(r.terracos[i], *canal) : CelulasTerraco(r.terracos[i], i < r.info.size() ? &r.info[i] : nullptr);
    const std::vector<std::string> obra = i < r.construcao.terracos.size()
                                              ? CelulasConstrucao(r.construcao.terracos[i])
                                              : std::vector<std::string>(ColunasConstrucao().size(), kSemValor);
    c.insert(canal ? c.end() : c.end() - 1, obra.begin(), obra.end());
    return c;
}

std::string ComprimentoTotalFormatado(double total) { return FormatFloat(kFmtGrande, total) + " m"; }

std::string ArquivoTabelaTerracos(const std::string& vetorSaida) {
    return std::filesystem::path(vetorSaida).replace_extension(".bdt").string();
}

std::string RelatorioLocacao(TModeloProjeto& m, const TLocacaoNivel& loc, const TOpcoesRelatorio& opcoes) {
    TOpcoesRelatorio o = opcoes;
    if (o.PastaPrograma.empty()) o.PastaPrograma = m.Quenda().PastaPrograma();
    o.Simulacao.reset();
    const TConfiguracao& cfg = m.Configuracao();
    TTerracosNivel& s = loc.TerracosNivel() ? *loc.TerracosNivel() : m.TerracosNivel();
    TNumeroDaCurva& cn = loc.NumeroDaCurva() ? *loc.NumeroDaCurva() : m.NumeroDaCurva();
    TPrecipitacao& storm = loc.Precipitacao() ? *loc.Precipitacao() : m.Precipitacao();
    const TEspacamento& e = s.Espacamento();

    const TArquivosDoRelatorio a = ArquivosDoRelatorio(loc);
    const bool rodou = a.rodou;
    const std::string &elev = a.elev, &decl = a.decl, &vet = a.vet, &bdt = a.bdt;
    const TBDT& tabela = a.tabela;
    // Its companion gives each row its line above and type; a table written without one
    // (or with one that cannot be read) prints those columns empty.
    TComplementoBDT complemento;
    try {
        if (ArquivoExiste(ComplementoDaTabela(bdt))) complemento.Ler(ComplementoDaTabela(bdt));
    } catch (const EVandoro&) {
        complemento = TComplementoBDT{};
    }

    TRelatorio r(o);
    r.BeginReport(kTituloRelatorioLocacao);
    r.Add("<FONT SIZE=2 FACE=\"Arial\"><B>IDENTIFICAÇÃO DO PROJETO</B></FONT>");
    r.WriteProjectIdentification(m.Identificacao());
    r.Paragraph();
    PaginaDoMapa(r, o);
    EntradasDaLocacao(r, m, e);
    Linha(r, {TRelatorio::Heading(kTD3, 4, "Canal")});
    Linha(r, {TRelatorio::Cell("<TD>", 8, "Coeficiente de desuniformidade: ", FloatToStr(s.CDu()))});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Declividade da parede do canal: ", FloatToStr(cfg.KDecli * s.Sm().Value()),
                               " " + cfg.UDecli)});
    Linha(r, {TRelatorio::Heading(kTD3, 4, "Solo")});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Taxa de infiltração estável (Tie): ", FloatToStr(cfg.KVIB * cn.VIB()),
                               " " + cfg.UVIB)});
    ArquivosNoRelatorio(r, elev, decl, vet);
    const TPlanoNivel& plano = loc.Plano();
    Linha(r, {TRelatorio::Heading(kTD3, 4, "Plano de terraços")});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Número máximo de terraços: ",
                               plano.maxTerracos > 0 ? IntToStr(plano.maxTerracos) : std::string("sem limite"))});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Comprimento mínimo do terraço: ", FloatToStr(plano.comprimentoMinimo), " m")});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Raio mínimo de curva: ", FloatToStr(plano.raioMinimo), " m")});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Tolerância de nível: ", FloatToStr(plano.toleranciaCm), " cm")});
    r.Add("</TABLE></FONT>");
    r.Paragraph();

    // A run leaves the field's mean slope in the runoff object, already in per cent.
    r.Add("<FONT SIZE=2 FACE = \"Arial\"><B>RESULTADOS</B></FONT>");
    r.Add("<FONT FACE = \"Arial\"><TABLE CELLPADDING=3>");
    Linha(r, {TRelatorio::Cell("<TD colspan=1>", 4, "Área (ha): ", FormatFloat("#0.00", loc.FieldArea())),
              TRelatorio::Cell("<TD>", 0, "Declividade média da área (%): ", FormatFloat("#0.00", cn.St()))});
    Linha(r, {TRelatorio::Cell("<TD  colspan=1>", 4, "Lâmina de escoamento superficial (mm): ",
                               FormatFloat("#0.0", cn.RunoffDepth(storm))),
              TRelatorio::Cell("<TD>", 0, "Tipo de terraço: ", s.Selecao().TipoRecomendado())});
    if (rodou) {
        Linha(r, {TRelatorio::Cell("<TD colspan=1>", 4, kRotuloAreaDescoberta, FormatFloat("#0.00", loc.AreaDescoberta())),
                  TRelatorio::Cell("<TD>", 0, kRotuloPecasDescartadas, IntToStr(loc.PecasDescartadas()))});
    }
    r.Add("</FONT></TABLE>");
    r.Paragraph();

    // On paper the table takes the page's width, its header repeats on every page, a number
    // never breaks inside its cell and a row never splits between two pages. The type, a
    // phrase, goes on a line of its own under its row's numbers: as a column it would leave
    // them no room.
    const std::vector<std::string>& colunas = ColunasTabelaTerracos();
    const size_t numericas = colunas.size() - 1;
    r.Add("<CENTER>");
    r.Add("<FONT FACE = \"Arial\"><TABLE CELLPADDING=4 WIDTH=\"100%\">");
    r.Add("<THEAD>");
    r.Add("<TR  ALIGN=CENTER VALIGN=CENTER BGCOLOR = \"#AAAAAA\">");
    // Header words break between themselves only, never inside ("Espaçame/nto").
    for (size_t k = 0; k < numericas; ++k) {
        std::string c = colunas[k];
        for (size_t p; (p = c.find(' ')) != std::string::npos;) c.replace(p, 1, "<BR>");
        r.Add(kCelulaNumero + "<FONT SIZE=2><B>" + c + "</B></FONT></TD>");
    }
    r.Add("</TR>");
    r.Add("</THEAD>");
    double total = 0;
    for (int i = 1; i <= tabela.Count(); ++i) {
        const TRegTerr* t = tabela[i];
        if (!t) continue;
        const std::string cor = i % 2 == 1 ? "\"#EEEEEE\" " : "\"#CCCCCC\" ";
        r.Add("<TR ALIGN=CENTER VALIGN=CENTER BGCOLOR = " + cor + kLinhaInteira + ">");
        const std::vector<std::string> celulas = CelulasTerraco(*t, complemento.De(t->id));
        for (size_t k = 0; k < numericas; ++k) r.Add(kCelulaNumero + celulas[k] + "</TD>");
        r.Add("</TR>");
        if (!celulas.back().empty())
            r.Add("<TR BGCOLOR = " + cor + kLinhaInteira + "><TD></TD><TD colspan=" + std::to_string(numericas - 1) +
                  "><FONT SIZE=2>" + colunas.back() + ": " + EscaparHtml(celulas.back()) + "</FONT></TD></TR>");
        total += t->length;
    }
    Linha(r, {"<TD colspan=" + std::to_string(numericas) +
              " NOWRAP STYLE=\"white-space: nowrap\"><B>Comprimento total de terraços: </B>" +
              ComprimentoTotalFormatado(total) + "</TD>"});
    r.Add("</TABLE></FONT>");
    r.Add("</CENTER>");
    r.Add("<FONT SIZE=1 FACE=\"Arial\">" + EscaparHtml(kLegendaAcima) + "</FONT>");
    SecaoConstrucao(r, complemento.ConstrucaoDe(tabela), tabela);
    // How the run ended and what the smoothing could not keep on level: the run's own words,
    // or, for a table saved earlier, what its companion kept.
    std::vector<std::string> obs;
    if (rodou) {
        const TResultadoLocacao res = ResultadoDaLocacao(loc, TArquivosLocacao{});
        obs = res.notas;
        obs.insert(obs.end(), res.avisos.begin(), res.avisos.end());
        obs.insert(obs.end(), res.travessias.begin(), res.travessias.end());
        if (const std::string d = TextoAreaDescobertaComMotivos(res.areaDescoberta, loc.ParouNoLimiteDeTerracos(),
                                                                loc.Resultado().areaSemReceptor, res.pecasDescartadas);
            !d.empty())
            obs.push_back(d);
    } else {
        if (complemento.limiteTerracos) obs.push_back(TextoLimiteTerracos(complemento.plano.maxTerracos));
        if (complemento.pecasUnidas > 0)
            obs.push_back(TextoPecasUnidas(complemento.pecasUnidas, complemento.plano.comprimentoMinimo,
                                           complemento.areaSemReceptor));
        for (const TTravessiaNivel& t : complemento.travessias) obs.push_back(TextoTravessia(t));
    }
    if (!obs.empty()) {
        r.Paragraph();
        r.Add("<FONT SIZE=2 FACE = \"Arial\"><B>OBSERVAÇÕES</B></FONT>");
        for (const std::string& o : obs) r.Add("<BR><FONT SIZE=2 FACE = \"Arial\">" + EscaparHtml(o) + "</FONT>");
    }
    PaginasDosPerfis(r, o);
    r.EndReport();
    return r.Text();
}

std::string RelatorioLocacao(TModeloProjeto& m, const TOpcoesRelatorio& opcoes) {
    return RelatorioLocacao(m, m.LocacaoNivel(), opcoes);
}

void GravarRelatorioLocacao(TModeloProjeto& m, const TLocacaoNivel& loc, const std::string& saida,
                            const TOpcoesRelatorio& opcoes) {
    GravarRelatorio(RelatorioLocacao(m, loc, opcoes), saida);
}

const char* const kTituloRelatorioLocacaoGradiente = "Locação de Sistemas de Terraceamento com Gradiente";

std::string RelatorioLocacaoGradiente(TModeloProjeto& m, const TLocacaoNivel& loc, const TOpcoesRelatorio& opcoes) {
    TOpcoesRelatorio o = opcoes;
    if (o.PastaPrograma.empty()) o.PastaPrograma = m.Quenda().PastaPrograma();
    o.Simulacao.reset();
    const TConfiguracao& cfg = m.Configuracao();
    const TTerracosGradiente& s = m.TerracosGradiente();
    const TNumeroDaCurva& cn = loc.NumeroDaCurva() ? *loc.NumeroDaCurva() : m.NumeroDaCurva();
    const TArquivosDoRelatorio a = ArquivosDoRelatorio(loc);
    const bool rodou = a.rodou;
    const std::string &elev = a.elev, &decl = a.decl, &vet = a.vet, &bdt = a.bdt;
    const TBDT& tabela = a.tabela;
    // A table of another kind of run is refused.
    TComplementoBDT complemento;
    complemento.Ler(ComplementoDaTabela(bdt));
    if (complemento.canais.empty())
        throw EVandoro("A tabela de terraços " + bdt + " não é de uma locação de terraços com gradiente.");

    TRelatorio r(o);
    r.BeginReport(kTituloRelatorioLocacaoGradiente);
    r.Add("<FONT SIZE=2 FACE=\"Arial\"><B>IDENTIFICAÇÃO DO PROJETO</B></FONT>");
    r.WriteProjectIdentification(m.Identificacao());
    r.Paragraph();
    PaginaDoMapa(r, o);
    EntradasDaLocacao(r, m, s.Espacamento());
    Linha(r, {TRelatorio::Heading(kTD3, 4, "Canal")});
    Linha(r, {TRelatorio::Cell("<TD>", 8, "Coeficiente de desuniformidade: ", FloatToStr(s.CDu()))});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Declividade do canal: ", FloatToStr(s.Sc()), " m/m")});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Coeficiente de rugosidade do canal: ", FloatToStr(s.nc().Value()))});
    if (s.Secao().Triangular())
        Linha(r, {TRelatorio::Cell(kTD3, 8, "Declividade da parede do canal: ", FloatToStr(cfg.KDecli * s.Sm().Value()),
                                   " " + cfg.UDecli)});
    Linha(r, {TRelatorio::Heading(kTD3, 4, "Solo")});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Taxa de infiltração estável (Tie): ", FloatToStr(cfg.KVIB * cn.VIB()),
                               " " + cfg.UVIB)});
    Linha(r, {TRelatorio::Cell(kTD3, 8, "Coeficiente de rugosidade do terreno: ", FloatToStr(cn.nt().Value()))});
    ArquivosNoRelatorio(r, elev, decl, vet);
    if (!loc.fnEscoadouro().empty())
        Linha(r, {TRelatorio::Cell(kTD3, 8, "Canais escoadouros: ", EscaparHtml(loc.fnEscoadouro()))});
    r.Add("</TABLE></FONT>");
    r.Paragraph();

    r.Add("<FONT SIZE=2 FACE = \"Arial\"><B>RESULTADOS</B></FONT>");
    r.Add("<FONT FACE = \"Arial\"><TABLE CELLPADDING=3>");
    if (rodou)
        Linha(r, {TRelatorio::Cell("<TD colspan=1>", 4, "Área (ha): ", FormatFloat("#0.00", loc.FieldArea())),
                  TRelatorio::Cell("<TD>", 0, kRotuloAreaDireta, FormatFloat("#0.00", loc.AreaDireta()))});
    if (rodou)
        Linha(r, {TRelatorio::Cell("<TD colspan=2>", 0, kRotuloAreaSemEscoadouro,
                                   FormatFloat("#0.00", loc.AreaDescoberta()))});
    r.Add("</FONT></TABLE>");
    r.Paragraph();

    // The table as the level one: numbers that never break, a row never split; the waterway,
    // the far end's elevation and what to see to on a line under each row (nine columns would
    // not fit the page's width).
    constexpr size_t kEscoadouro = 1;
    std::vector<std::string> colunas = ColunasTabelaCanais();
    colunas.erase(colunas.begin() + kEscoadouro);
    r.Add("<CENTER>");
    r.Add("<FONT FACE = \"Arial\"><TABLE CELLPADDING=4 WIDTH=\"100%\">");
    r.Add("<THEAD>");
    r.Add("<TR  ALIGN=CENTER VALIGN=CENTER BGCOLOR = \"#AAAAAA\">");
    for (std::string c : colunas) {
        for (size_t p; (p = c.find(' ')) != std::string::npos;) c.replace(p, 1, "<BR>");
        r.Add(kCelulaNumero + "<FONT SIZE=2><B>" + c + "</B></FONT></TD>");
    }
    r.Add("</TR>");
    r.Add("</THEAD>");
    double total = 0;
    std::vector<std::string> obs;
    std::vector<TCanalLocado> canaisDaTabela;
    for (int i = 1; i <= tabela.Count(); ++i) {
        const TRegTerr* t = tabela[i];
        if (!t) continue;
        const TCanalLocado k = complemento.CanalDe(t->id) ? *complemento.CanalDe(t->id) : TCanalLocado{};
        canaisDaTabela.push_back(k);
        const std::string cor = i % 2 == 1 ? "\"#EEEEEE\" " : "\"#CCCCCC\" ";
        r.Add("<TR ALIGN=CENTER VALIGN=CENTER BGCOLOR = " + cor + kLinhaInteira + ">");
        std::vector<std::string> celulas = CelulasCanal(*t, k);
        const std::string escoadouro = ColunasTabelaCanais()[kEscoadouro] + ": " + celulas[kEscoadouro] + ". ";
        celulas.erase(celulas.begin() + kEscoadouro);
        for (const std::string& c : celulas) r.Add(kCelulaNumero + c + "</TD>");
        r.Add("</TR>");
        r.Add("<TR BGCOLOR = " + cor + kLinhaInteira + "><TD></TD><TD colspan=" + std::to_string(colunas.size() - 1) +
              "><FONT SIZE=2>" + EscaparHtml(escoadouro + TextoFimDoCanal(k)) + "</FONT></TD></TR>");
        if (!k.aviso.empty()) obs.push_back("Terraço " + IntToStr(t->id) + ": " + k.aviso);
        total += t->length;
    }
    Linha(r, {"<TD colspan=" + std::to_string(colunas.size()) +
              " NOWRAP STYLE=\"white-space: nowrap\"><B>Comprimento total de terraços: </B>" +
              ComprimentoTotalFormatado(total) + "</TD>"});
    for (const auto& [e, q] : VazaoPorEscoadouro(canaisDaTabela))
        Linha(r, {"<TD colspan=" + std::to_string(colunas.size()) + "><B>Vazão recebida pelo escoadouro " +
                  IntToStr(e) + ": </B>" + FormatFloat("0.0", q) + " L/s</TD>"});
    r.Add("</TABLE></FONT>");
    r.Add("</CENTER>");
    SecaoConstrucao(r, complemento.ConstrucaoDe(tabela), tabela);
    // The smoothed channels' passages off their grade, with the fill or cut each asks for.
    for (const TTravessiaNivel& t : complemento.travessias) obs.push_back(TextoTravessia(t));
    if (!obs.empty()) {
        r.Paragraph();
        r.Add("<FONT SIZE=2 FACE = \"Arial\"><B>OBSERVAÇÕES</B></FONT>");
        for (const std::string& t : obs) r.Add("<BR><FONT SIZE=2 FACE = \"Arial\">" + t + "</FONT>");
    }
    PaginasDosPerfis(r, o);
    r.EndReport();
    return r.Text();
}

bool LocacaoComGradiente(const TLocacaoNivel& loc) {
    const std::string vet = loc.RunOutputPath().empty() ? loc.fnVetSaida() : loc.RunOutputPath();
    if (vet.empty()) return false;
    const std::string complemento = ComplementoDaTabela(ArquivoTabelaTerracos(vet));
    TComplementoBDT c;
    try {
        if (ArquivoExiste(complemento)) c.Ler(complemento);
    } catch (const EVandoro&) {
        return false;
    }
    return !c.canais.empty();
}

std::string RelatorioDaLocacao(TModeloProjeto& m, const TLocacaoNivel& loc, const TOpcoesRelatorio& opcoes,
                               bool* gradiente) {
    const bool g = LocacaoComGradiente(loc);
    if (gradiente) *gradiente = g;
    return g ? RelatorioLocacaoGradiente(m, loc, opcoes) : RelatorioLocacao(m, loc, opcoes);
}

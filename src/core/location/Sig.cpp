#include "core/location/Sig.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "core/common/Arquivo.h"
#include "core/common/ConjuntoArquivos.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Win1252.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/ImgElev.h"
#include "core/location/LocNivel.h"
#include "core/location/Locacao.h"
#include "core/model/SecaoConstruida.h"
#include "core/model/SistemaConservacao.h"
#include "core/raster/FormatoImagem.h"
#include "core/raster/ImgDeclive.h"
#include "core/raster/Vetor.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string NomeCrs(const std::string& crs) { return crs.empty() ? std::string() : DescreveCrs(crs).nome; }

const char* const kSemCrs =
    "O vetor não tem sistema de coordenadas (nenhum .prj ao lado dele): as coordenadas foram gravadas como estão, "
    "em metros, e o arquivo gravado não tem sistema de coordenadas.";

const char* const kVetorSemCrsGps =
    "O vetor não tem sistema de coordenadas (nenhum .prj ao lado dele): GPX e KML exigem um; use .gpkg, .shp, "
    ".geojson ou .dxf.";

// Longitude and latitude only: a coordinate system is needed to reach them.
bool ExigeCrs(const std::string& saida) {
    const std::string e = ExtensaoDe(saida);
    return e == ".gpx" || e == ".kml";
}

constexpr size_t kCampoTipo = 10;  // the text field among CamposTerraco
constexpr size_t kPrimeiroCanal = 14;  // after CamposTerraco and CamposConstrucao

std::vector<double> Valores(const TTerracoSig& t) {
    const TRegTerr& r = t.registro;
    const double acima = t.temInfo && t.info.acima > 0 ? t.info.acima : kNaN;
    // Hours and cost the settings cannot give are left empty, never 0.
    const auto conhecido = [&](double v) { return t.temObra && v >= 0 ? v : kNaN; };
    const double horas = conhecido(t.obra.servico.horas);
    std::vector<double> v = {static_cast<double>(r.id), r.level, r.EV, t.eh, r.slope, r.length, r.area, t.hCm,
                             t.hrCm, acima, kNaN, conhecido(t.obra.volume), horas,
                             std::isnan(horas) ? kNaN : conhecido(t.obra.servico.custo)};
    if (t.temCanal)
        v.insert(v.end(), {r.level, t.canal.cotaInicio, t.canal.declividade, t.canal.vazao,
                           static_cast<double>(t.canal.escoadouro)});
    return v;
}

// A feature's attributes: its terrace's, or only its number and level when the table lacks it.
void Atributos(TFeicaoLinha& f, int id, const std::map<int, TTerracoSig>& porId) {
    const auto it = porId.find(id);
    if (it != porId.end()) {
        f.valores = Valores(it->second);
        f.textos.assign(f.valores.size(), std::string());
        f.textos[kCampoTipo] = it->second.info.tipo;
        return;
    }
    f.valores.assign(CamposTerraco().size(), kNaN);
    f.valores[0] = id;
    f.valores[1] = f.z;
}

// The GIS file and its table as members of a set; the parts of an older file that the new
// one lacks (a Shapefile's .prj, .cpg) go with the set.
TResumoSig Grava(TConjuntoArquivos& c, const std::string& saida, const std::string& camada,
                 const std::vector<TFeicaoLinha>& feicoes, const std::vector<TTerracoSig>& tabela,
                 const std::string& crs, const Regional& r) {
    TResumoSig res;
    res.arquivo = saida;
    std::vector<TFeicaoLinha> comNomes = feicoes;
    for (TFeicaoLinha& f : comNomes) {
        f.nome = "Terraço " + IntToStr(static_cast<long long>(f.valores.empty() ? 0 : f.valores[0]));
        f.descricao = "Cota " + FloatToStrFixed(f.z, 2, r) + " m";
    }
    res.tabela = TabelaSig(saida);
    res.feicoes = static_cast<int>(feicoes.size());
    for (TFeicaoLinha& f : comNomes) {
        const TEstiloTipo e = EstiloDoTipo(f.textos.size() > kCampoTipo ? f.textos[kCampoTipo] : std::string());
        f.cor = e.cor;
        f.camadaCad = e.camada;
        f.rotulo = IntToStr(static_cast<long long>(f.valores.empty() ? 0 : f.valores[0]));
    }
    res.crs = ExigeCrs(saida) ? std::string("WGS 84 (longitude, latitude)") : NomeCrs(crs);
    if (ExtensaoDe(saida) == ".dxf" && !crs.empty())
        res.avisos.push_back("O DXF não guarda o sistema de coordenadas: as coordenadas gravadas estão em " +
                             res.crs + ".");
    std::vector<TCampoSig> campos = CamposTerraco();
    campos.insert(campos.end(), CamposConstrucao().begin(), CamposConstrucao().end());
    if (std::any_of(tabela.begin(), tabela.end(), [](const TTerracoSig& t) { return t.temCanal; }))
        campos.insert(campos.end(), CamposCanal().begin(), CamposCanal().end());
    c.Membro(saida, [camada, campos, comNomes = std::move(comNomes), crs](const std::string& tmp) {
        EscreverLinhasSig(tmp, camada, campos, comNomes, crs);
    });
    for (const std::string& parte : ArquivosSig(saida))
        if (parte != saida) c.Remover(parte);
    c.Membro(res.tabela, [csv = CsvTerracos(tabela, r)](const std::string& tmp) { GravarArquivoInteiro(tmp, csv); });
    return res;
}

std::string Camada(const std::string& saida) {
    std::string b = NomeSemCaminho(saida);
    const size_t p = b.find_last_of('.');
    return p == std::string::npos || p == 0 ? b : b.substr(0, p);
}

}  // namespace

const char* const kFiltroSigLinhas =
    "GeoPackage (*.gpkg);;Shapefile (*.shp);;GeoJSON (*.geojson);;KML (*.kml);;GPX (*.gpx);;DXF (*.dxf)";
const char* const kSigExigeCrs =
    "O modelo de elevação não tem sistema de coordenadas: GPX e KML exigem um; use .gpkg, .shp, .geojson ou .dxf.";

TEstiloTipo EstiloDoTipo(const std::string& tipo) {
    const TComposicaoTerraco c = ComposicaoDoTipo(tipo);
    // Colours apart on satellite imagery: warm for the bases, from broad to narrow.
    if (c.partes.empty()) return {"SEM_TIPO", "#FFFFFF"};
    if (c.Misto()) return {"MISTO", "#C040FF"};
    switch (c.partes[0].first) {
        case TTipoConstrutivo::BaseLarga: return {"BASE_LARGA", "#FF2020"};
        case TTipoConstrutivo::BaseMedia: return {"BASE_MEDIA", "#FF9900"};
        case TTipoConstrutivo::BaseEstreita: return {"BASE_ESTREITA", "#FFFF00"};
        case TTipoConstrutivo::Murundum: return {"MURUNDUM", "#00C8FF"};
        case TTipoConstrutivo::Patamar: return {"PATAMAR", "#40FF40"};
    }
    return {"SEM_TIPO", "#FFFFFF"};
}
const char* const kFiltroSigEscoadouros =
    "Linhas (*.gpkg *.shp *.geojson *.json *.kml *.kmz *.gml *.vet);;Todos os arquivos (*)";
const char* const kFiltroSigLimite =
    "Polígonos (*.gpkg *.shp *.geojson *.json *.kml *.kmz *.gml);;Todos os arquivos (*)";

const std::vector<TCampoSig>& CamposCanal() {
    static const std::vector<TCampoSig> c = {{"cota_saida_m", false}, {"cota_inicio_m", false}, {"decliv_canal", false},
                                             {"vazao_ls", false},     {"escoadouro", true}};
    return c;
}

const std::vector<TCampoSig>& CamposConstrucao() {
    static const std::vector<TCampoSig> c = {{"volume_m3", false}, {"horas", false}, {"custo_rs", false}};
    return c;
}

const std::vector<TCampoSig>& CamposTerraco() {
    static const std::vector<TCampoSig> c = {{"terraco", true},   {"cota_m", false},     {"ev_m", false},
                                             {"eh_m", false},     {"decliv_pct", false}, {"compr_m", false},
                                             {"area_m2", false},  {"h_cm", false},       {"hr_cm", false},
                                             {"acima", true},     {"tipo", false, true}};
    return c;
}

TTerracoSig TerracoSig(const TRegTerr& r, const TTerracosNivel* sistema, const TInfoTerraco* info) {
    TTerracoSig t;
    t.registro = r;
    t.temInfo = info != nullptr;
    if (info) t.info = *info;
    t.eh = r.slope > 0 ? r.EV / (r.slope / 100) : kNaN;
    t.hCm = t.hrCm = kNaN;
    // A flat strip is left unsized by the engine (height 0).
    if (!(r.height > 0)) return t;
    if (!sistema) {
        t.hrCm = r.height * 100;
        return t;
    }
    const double cdu = sistema->CDu();
    if (sistema->Espacamento().Metodologia().Index() == TMetodologiaEspacamento::AlturaArbitrada) {
        t.hCm = r.height * 100;
        t.hrCm = AlturaRecomendada(cdu, r.height);
    } else {
        t.hrCm = r.height * 100;
        if (cdu > 0) t.hCm = AlturaTeoricaM(cdu, r.height) * 100;
    }
    return t;
}

std::string CsvTerracos(const std::vector<TTerracoSig>& terracos, const Regional& r) {
    const char sep = r.DecimalSeparator == ',' ? ';' : ',';
    std::string o;
    const char* const titulos[] = {"Terraço",
                                   "Cota (m)",
                                   "Espaçamento vertical (m)",
                                   "Espaçamento horizontal (m)",
                                   "Declividade média (%)",
                                   "Comprimento (m)",
                                   "Área de influência (m2)",
                                   "Altura H (cm)",
                                   "Altura recomendada Hr (cm)",
                                   "Acima",
                                   "Tipo de terraço"};
    for (size_t i = 0; i < std::size(titulos); ++i) {
        if (i) o += sep;
        o += titulos[i];
    }
    for (const std::string& t : ColunasConstrucao()) o += sep + t;
    const bool canais = std::any_of(terracos.begin(), terracos.end(), [](const TTerracoSig& t) { return t.temCanal; });
    if (canais)
        for (const char* t : {"Cota da saída (m)", "Cota do início (m)", "Declividade do canal (m/m)", "Vazão (L/s)",
                              "Escoadouro"})
            o += sep + std::string(t);
    o += "\r\n";
    for (const TTerracoSig& t : terracos) {
        const std::vector<double> v = Valores(t);
        for (size_t i = 0; i + 1 < kCampoTipo; ++i) {
            if (i) o += sep;
            if (i == 0) o += IntToStr(t.registro.id);
            else if (!std::isnan(v[i])) o += FloatToStr(v[i], r);
        }
        o += sep;
        if (t.temInfo) o += TextoAcima(t.info.acima);
        o += sep;
        // Quoted: a type may hold the separator ("embutido, leirão ou murundum").
        if (!t.info.tipo.empty()) o += '"' + t.info.tipo + '"';
        for (size_t i = kCampoTipo + 1; i < kPrimeiroCanal; ++i) {
            o += sep;
            if (!std::isnan(v[i])) o += FloatToStr(v[i], r);
        }
        if (canais) {
            for (size_t i = kPrimeiroCanal; i < v.size(); ++i) {
                o += sep;
                if (i + 1 == v.size()) o += IntToStr(t.canal.escoadouro);
                else o += FloatToStr(v[i], r);
            }
            if (!t.temCanal) o += std::string(CamposCanal().size(), sep);
        }
        o += "\r\n";
    }
    return Utf8ToWin1252(o);
}

std::string TabelaSig(const std::string& saida) { return TrocaExtensao(saida, ".csv"); }

void ChecaSaidaSig(const std::string& saida, const std::vector<std::string>& entradas) {
    if (!FormatoSigConhecido(saida))
        throw EVandoro("Formato de saída desconhecido: use .gpkg (GeoPackage), .shp (Shapefile), .geojson (GeoJSON), "
                       ".kml (KML), .gpx (GPX) ou .dxf (DXF).");
    std::vector<std::string> escritos = ArquivosSig(saida);
    escritos.push_back(TabelaSig(saida));
    for (const std::string& e : entradas) {
        if (e.empty()) continue;
        for (const std::string& parte : ArquivosDaImagem(e))
            for (const std::string& s : escritos)
                if (MesmoArquivo(s, parte))
                    throw EVandoro("O arquivo SIG de saída " + saida + " substituiria " + e +
                                   ": escolha outro nome. Nada foi gravado.");
    }
}

void ChecaSaidaSigLocacao(const std::string& saida, const TArquivosLocacao& arquivos, const std::string& limite,
                          const std::string& projeto) {
    ChecaSaidaSig(saida, {arquivos.elevacao, arquivos.declividade, limite, projeto, arquivos.saida,
                          arquivos.tabela.empty() && !arquivos.saida.empty() ? TabelaDaSaida(arquivos.saida)
                                                                             : arquivos.tabela,
                          arquivos.saida.empty() ? std::string() : TrocaExtensao(arquivos.saida, ".prj"),
                          arquivos.relatorio, arquivos.faixas});
    // Before the run, so none is spent on a file that would be refused.
    if (ExigeCrs(saida) && !arquivos.elevacao.empty() && ArquivoExiste(arquivos.elevacao) &&
        CrsDoArquivoImagem(arquivos.elevacao).empty())
        throw EVandoro(kSigExigeCrs);
}

TResumoSig ExportarLocacaoSig(const TLocacaoNivel& loc, const std::string& saida, const Regional& r) {
    TConjuntoArquivos c;
    TResumoSig res = AdicionarLocacaoSig(c, loc, saida, r);
    c.Gravar();
    return res;
}

TResumoSig AdicionarLocacaoSig(TConjuntoArquivos& c, const TLocacaoNivel& loc, const std::string& saida,
                               const Regional& r) {
    if (loc.Registros().Count() == 0 || loc.LinhasMapa().empty())
        throw EVandoro("Nenhuma locação com terraços para exportar: loque os terraços primeiro.");
    ChecaSaidaSig(saida, {loc.RunElevPath(), loc.RunSlopePath(), loc.RunOutputPath(), loc.ArquivoBDT()});
    const std::string crs = CrsDoArquivoImagem(loc.RunElevPath());
    if (crs.empty() && ExigeCrs(saida)) throw EVandoro(kSigExigeCrs);
    std::map<int, TTerracoSig> porId;
    std::vector<TTerracoSig> tabela;
    const TBDT& b = loc.Registros();
    for (int i = 1; i <= b.Count(); ++i) {
        const TInfoTerraco* info = size_t(i) <= loc.Info().size() ? &loc.Info()[size_t(i - 1)] : nullptr;
        tabela.push_back(TerracoSig(*b.Item(i), loc.TerracosNivel(), info));
        if (size_t(i) <= loc.Canais().size()) {
            tabela.back().temCanal = true;
            tabela.back().canal = loc.Canais()[size_t(i - 1)];
        }
        // The figures the run's table shows, from the same reckoning.
        if (loc.Construcao().terracos.size() == size_t(b.Count())) {
            tabela.back().temObra = true;
            tabela.back().obra = loc.Construcao().terracos[size_t(i - 1)];
        }
        porId.emplace(b.Item(i)->id, tabela.back());
    }
    std::vector<TFeicaoLinha> feicoes;
    for (const TLinhaMapa& l : loc.LinhasMapa()) {
        TFeicaoLinha f;
        f.x = l.x;
        f.y = l.y;
        f.z = l.level;
        Atributos(f, l.id, porId);
        feicoes.push_back(std::move(f));
    }
    TResumoSig res = Grava(c, saida, Camada(saida), feicoes, tabela, crs, r);
    if (crs.empty()) res.avisos.push_back(kSemCrs);
    return res;
}

TResumoSig ExportarVetSig(const std::string& vet, const std::string& saida, const TTerracosNivel* sistema,
                          const Regional& r) {
    const std::string bdt = TabelaDaSaida(vet);
    const std::string prj = TrocaExtensao(vet, ".prj");
    ChecaSaidaSig(saida, {vet, bdt, prj});
    TVET v;
    v.Load(vet);
    std::string crs;
    if (ArquivoExiste(prj)) {
        crs = CrsDeTexto(LerArquivoInteiro(prj, 1 << 20));
        if (crs.empty()) throw EVandoro("O arquivo " + NomeSemCaminho(prj) + " não descreve um sistema de coordenadas.");
    }
    if (crs.empty() && ExigeCrs(saida)) throw EVandoro(kVetorSemCrsGps);
    TBDT registros;
    std::string tabelaDanificada;
    if (ArquivoExiste(bdt)) {
        try {
            registros.Load(bdt);
        } catch (const EVandoro& e) {
            tabelaDanificada = e.what();
        }
    }
    const bool temTabela = ArquivoExiste(bdt) && tabelaDanificada.empty();
    // The companion beside the table gives the line above, the type and what building each
    // takes; without it (an older table) those fields stay empty.
    TComplementoBDT complemento;
    bool temComplemento = false;
    if (temTabela && ArquivoExiste(ComplementoDaTabela(bdt))) {
        try {
            complemento.Ler(ComplementoDaTabela(bdt));
            temComplemento = true;
        } catch (const EVandoro&) {
        }
    }
    std::map<int, TTerracoSig> porId;
    std::vector<TTerracoSig> tabela;
    for (int i = 1; i <= registros.Count(); ++i) {
        const int id = registros.Item(i)->id;
        tabela.push_back(TerracoSig(*registros.Item(i), sistema, temComplemento ? complemento.De(id) : nullptr));
        if (const TCanalLocado* k = temComplemento ? complemento.CanalDe(id) : nullptr) {
            tabela.back().temCanal = true;
            tabela.back().canal = *k;
        }
        if (const TObraTerraco* o = temComplemento ? complemento.ObraDe(id) : nullptr) {
            tabela.back().temObra = true;
            tabela.back().obra = *o;
        }
        porId.emplace(id, tabela.back());
    }
    std::vector<TFeicaoLinha> feicoes;
    for (TLinhaMapa& l : LinhasDoVet(v, complemento)) {
        TFeicaoLinha f;
        f.x = std::move(l.x);
        f.y = std::move(l.y);
        f.z = l.level;
        Atributos(f, l.id, porId);
        feicoes.push_back(std::move(f));
    }
    if (!temTabela)
        for (const TFeicaoLinha& f : feicoes) {
            TTerracoSig t;
            t.registro.id = static_cast<int32_t>(f.valores[0]);
            t.registro.level = f.z;
            t.eh = t.hCm = t.hrCm = kNaN;
            t.registro.EV = t.registro.slope = t.registro.length = t.registro.area = kNaN;
            tabela.push_back(t);
        }
    TConjuntoArquivos c;
    TResumoSig res = Grava(c, saida, Camada(saida), feicoes, tabela, crs, r);
    c.Gravar();
    if (crs.empty()) res.avisos.push_back(kSemCrs);
    if (!tabelaDanificada.empty())
        res.avisos.push_back(tabelaDanificada + " A tabela foi ignorada: só o número e a cota de cada terraço "
                             "foram gravados.");
    else if (!temTabela)
        res.avisos.push_back("Sem a tabela dos terraços (" + NomeSemCaminho(bdt) +
                             ") ao lado do vetor: só o número e a cota de cada terraço foram gravados.");
    else if (!sistema)
        res.avisos.push_back("Sem o projeto, a altura teórica H não é conhecida: foi gravada só a altura da tabela "
                             "dos terraços (Hr).");
    return res;
}

std::string GravarPrjDaLocacao(const TLocacaoNivel& loc) {
    if (loc.RunOutputPath().empty() || !ArquivoExiste(loc.RunOutputPath())) return {};
    TArquivosLocacao arquivos;
    arquivos.elevacao = loc.RunElevPath();
    arquivos.declividade = loc.RunSlopePath();
    arquivos.saida = loc.RunOutputPath();
    // The same rule as a run's: an input's own ".prj" already says the same.
    const TPrjLocacao prj = PrjDaLocacao(arquivos);
    if (prj.conteudo.empty()) return {};
    if (!prj.daEntrada) GravarArquivoInteiro(prj.arquivo, prj.conteudo);
    return prj.arquivo;
}

void DefinirLimiteCampo(TLocacaoNivel& loc, const std::string& limite) {
    if (limite.empty()) {
        loc.SetMascaraCampo(nullptr);
        return;
    }
    if (!ArquivoExiste(limite)) throw EVandoro("O arquivo do limite do talhão " + limite + " não existe.");
    loc.SetMascaraCampo([limite](TImgElevacao& elev, TImgDeclive& decl) {
        const int cols = elev.Columns(), rows = elev.Rows();
        const double cw = elev.CellWidth(), ch = elev.CellHeight();
        const double maxY = static_cast<double>(elev.MinY()) + rows * ch;
        const std::vector<unsigned char> dentro =
            RasterizaPoligonos(limite, elev.Crs(), cols, rows, elev.MinX(), maxY, cw, ch);
        // Outside the field a cell is one without data: elevation and slope 0.
        long long restam = 0;
        for (int r = 1; r <= rows; ++r) {
            float* e = elev.Row(r);
            float* d = decl.Row(r);
            const unsigned char* m = dentro.data() + static_cast<size_t>(r - 1) * cols;
            for (int c = 0; c < cols; ++c)
                if (!m[c]) e[c] = d[c] = 0;
                else if (e[c] != 0) ++restam;
        }
        if (restam == 0)
            throw EVandoro("O limite do talhão " + NomeSemCaminho(limite) +
                           " não se sobrepõe a nenhuma célula com dado do modelo de elevação.");
    });
}

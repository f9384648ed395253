#include "core/rainfall/ConsultaLocal.h"

#include <algorithm>
#include <utility>

#include "core/rainfall/Estado.h"

namespace {

std::string SemBrancosFinais(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string SemCodigo(const std::string& chave) {
    const std::size_t p = chave.rfind(" (");
    return p != std::string::npos && !chave.empty() && chave.back() == ')' ? chave.substr(0, p) : chave;
}

struct Achado {
    int estado;
    std::size_t indice;
    const std::string* nome;
};

// Words of the messages: "Estação"/"estação"/"estações".
struct Termos {
    const char* titulo;
    const char* singular;
    const char* plural;
};

void Decidir(const std::vector<Achado>& achados, const Termos& t, const std::string& nome) {
    if (achados.empty()) throw EVandoro(std::string(t.titulo) + " não encontrada: " + nome + ".");
    std::vector<int> estados;
    for (const Achado& a : achados)
        if (std::find(estados.begin(), estados.end(), a.estado) == estados.end()) estados.push_back(a.estado);
    if (estados.size() > 1) {
        std::string siglas;
        for (int e : estados) siglas += (siglas.empty() ? "" : ", ") + TEstado::Sigla(e);
        throw ENomeEmVariosEstados(std::string("Há ") + t.plural + " com o nome " + nome +
                                       " em mais de um estado (" + siglas + ")",
                                   std::move(estados));
    }
    if (achados.size() > 1) {
        std::string nomes;
        for (const Achado& a : achados) nomes += (nomes.empty() ? "" : ", ") + SemBrancosFinais(*a.nome);
        throw EVandoro(std::string("Há mais de uma ") + t.singular + " com o nome " + nome + " em " +
                       TEstado::Nome(estados.front()) + ": " + nomes + ".");
    }
}

template <class R>
std::vector<std::size_t> Ordem(const std::vector<R>& v) {
    std::vector<std::string> chaves;
    chaves.reserve(v.size());
    for (const R& r : v) chaves.push_back(ChaveDeBusca(r.Name));
    std::vector<std::size_t> ordem(v.size());
    for (std::size_t i = 0; i < ordem.size(); ++i) ordem[i] = i;
    std::stable_sort(ordem.begin(), ordem.end(), [&](std::size_t a, std::size_t b) {
        return chaves[a] != chaves[b] ? chaves[a] < chaves[b] : v[a].Name < v[b].Name;
    });
    return ordem;
}

}  // namespace

ENomeEmVariosEstados::ENomeEmVariosEstados(const std::string& descricao, std::vector<int> estados)
    : EVandoro(descricao + "; escolha o estado."), descricao_(descricao), estados_(std::move(estados)) {}

TEstacaoEncontrada AcharEstacao(const TBDPrecipitacao& bd, const std::string& nome, int estado) {
    const std::string chave = ChaveDeBusca(nome);
    std::vector<Achado> achados;
    for (bool semCodigo : {false, true}) {
        for (int e = 0; e < kNumEstados; ++e) {
            if (estado >= 0 && e != estado) continue;
            const auto& lista = bd.Stations(e);
            for (std::size_t i = 0; i < lista.size(); ++i) {
                const std::string k = ChaveDeBusca(lista[i].Name);
                if ((semCodigo ? SemCodigo(k) : k) == chave) achados.push_back({e, i, &lista[i].Name});
            }
        }
        if (!achados.empty()) break;
    }
    Decidir(achados, {"Estação", "estação", "estações"}, nome);
    const Achado& a = achados.front();
    return {a.estado, a.indice, bd.Stations(a.estado)[a.indice]};
}

TLocalidadeEncontrada AcharLocalidade(TBDPrecipitacao& bd, const std::string& nome, int estado) {
    const std::string chave = ChaveDeBusca(nome);
    // The database holds one state's localities at a time: keep what matched.
    std::vector<TLocalidadeEncontrada> encontradas;
    for (int e = 0; e < kNumEstados; ++e) {
        if (estado >= 0 && e != estado) continue;
        bd.LoadLocalities(e);
        const auto& lista = bd.Localities();
        for (std::size_t i = 0; i < lista.size(); ++i)
            if (ChaveDeBusca(lista[i].Name) == chave) encontradas.push_back({e, i, lista[i]});
    }
    std::vector<Achado> achados;
    for (const auto& l : encontradas) achados.push_back({l.Estado, l.Indice, &l.Localidade.Name});
    Decidir(achados, {"Localidade", "localidade", "localidades"}, nome);
    return encontradas.front();
}

std::vector<std::size_t> OrdemPorNome(const std::vector<StationRecord>& estacoes) { return Ordem(estacoes); }
std::vector<std::size_t> OrdemPorNome(const std::vector<LocalityRecord>& localidades) { return Ordem(localidades); }

std::string TextoReferencia(const TReferencia& ref) {
    std::string texto;
    for (const std::string* parte : {&ref.Autores, &ref.Titulo, &ref.Publicacao}) {
        if (parte->empty()) continue;
        if (!texto.empty()) texto += texto.back() == '.' ? " " : ". ";
        texto += *parte;
    }
    return texto;
}

bool ReferenciaDaFonte(const std::string& pasta, const std::string& fonte, std::string& texto) {
    if (SemBrancosFinais(fonte) == kFonteInterpolacao) return false;
    TReferencia ref;
    if (!LerReferencia(pasta, fonte, ref)) return false;
    texto = TextoReferencia(ref);
    return true;
}

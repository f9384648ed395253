#include "core/model/Espacamento.h"

#include <climits>
#include <iterator>
#include <cmath>
#include <memory>
#include <string_view>

#include "core/common/Aritmetica.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/model/Canal.h"

namespace {

const char* const kSecao = "ESPAÇAMENTO";

}  // namespace

// ---------------------------------------------------------------- TMetodologiaEspacamento

std::string TMetodologiaEspacamento::Name(int i) {
    static const char* const nomes[] = {"Bentley", "Lombardi Neto", "Paraná",
                                        "Espaçamento arbitrado", "Altura do terraço arbitrada", ""};
    return i >= 0 && i < Count ? nomes[i] : "";
}

void TMetodologiaEspacamento::SetIndex(int i) {
    if (i < 0 || i >= Count)
        throw EVandoro("Erro. Valor inválido do índice da metodologia de espaçamento. "
                       "Valores válidos: 0 a 5.");
    index_ = static_cast<std::uint8_t>(i);
}

// ---------------------------------------------------------------- Lombardi Neto tables

const std::vector<TCultura::Linha>& TCultura::Tabela() {
    static const std::vector<Linha> t = {
        {"Abóbora", 1.0},
        {"Algodão", 0.75},
        {"Alho", 0.75},
        {"Amendoim", 0.75},
        {"Arroz", 0.75},
        {"Aveia", 1.25},
        {"Banana", 1.5},
        {"Batatinha", 1.0},
        {"Cacau", 2.0},
        {"Café", 1.5},
        {"Cana-de-açúcar", 1.25},
        {"Cebola", 0.75},
        {"Centeio", 1.25},
        {"Cevada", 1.25},
        {"Citros", 1.5},
        {"Feijão", 0.5},
        {"Frutíferas de ciclo curto", 1.25},
        {"Frutíferas permanentes", 1.5},
        {"Fumo", 0.75},
        {"Girassol", 0.75},
        {"Leguminosas p/ adub. verde", 1.0},
        {"Mamona", 0.5},
        {"Mandioca", 0.5},
        {"Melancia", 1.0},
        {"Melão", 1.0},
        {"Milho", 1.25},
        {"Outras culturas de inverno", 1.25},
        {"Pastagens e/ou capineiras", 1.75},
        {"Reflorestamento", 2.0},
        {"Seringueira", 2.0},
        {"Soja", 1.0},
        {"Sorgo", 1.25},
        {"Trigo", 1.25},
    };
    return t;
}

void TCultura::SelectFromTable(int i) {
    const auto& t = Tabela();
    if (i < 0 || i >= static_cast<int>(t.size()))
        throw EVandoro("Erro. Valor inválido do índice da cultura.");
    nome_ = t[i].nome;
    indice_ = i;
    indiceU_ = t[i].u;
}

const std::vector<TResistenciaErosao::Linha>& TResistenciaErosao::Tabela() {
    static const std::vector<Linha> t = {
        {" Grupo A - Alta", "LR, LE, LV, LVr, LVt, LH, LEa e LVa", 1.25},
        {" Grupo B - Moderada", "Lj, LVP, PV, PVL, PIn, TE, PVIs, R, RPV-RLV, LEa e LVa", 1.1},
        {" Grupo C - Baixa", "PmI, PVp, PVIs, Pc e M", 0.9},
        {" Grupo D - Muito Baixa", "Li-b, Li-ag, gr, Li-fi, Li-ac e PVp (rasos)", 0.75},
    };
    return t;
}

void TResistenciaErosao::SelectFromTable(int i) {
    const auto& t = Tabela();
    if (i < 0 || i >= static_cast<int>(t.size()))
        throw EVandoro("Erro. Valor inválido do índice do grupo de resistência à erosão.");
    grupo_ = t[i].grupo;
    indice_ = i;
    indiceK_ = t[i].k;
}

const std::vector<TPreparoDoSolo::Linha>& TPreparoDoSolo::Tabela() {
    static const std::vector<Linha> t = {
        {" Grupo 1", "Grade aradora ( ou pesada ) ou enxada rotativa", "Grade niveladora",
         "Incorporados ou queimados", 0.5},
        {" Grupo 2", "Arado de disco ou aiveca", "Grade niveladora", "Incorporados ou queimados",
         0.75},
        {" Grupo 3", "Grade leve", "Grade niveladora",
         "Parcialmente incorporados com ou sem rotação de culturas", 1.0},
        {" Grupo 4", "Arado escarificador", "Grade niveladora",
         "Parcialmente incorporados com ou sem rotação de culturas", 1.5},
        {" Grupo 5", "Não tem",
         "Plantio sem revolvimento do solo, roçadeira rolo-faca, herbicidas  ( plantio direto )",
         "Superfície do terreno", 2.0},
    };
    return t;
}

void TPreparoDoSolo::SelectFromTable(int i) {
    const auto& t = Tabela();
    if (i < 0 || i >= static_cast<int>(t.size()))
        throw EVandoro("Erro. Valor inválido do índice do grupo de preparo do solo.");
    grupo_ = t[i].grupo;
    primario_ = t[i].primario;
    secundario_ = t[i].secundario;
    residuos_ = t[i].residuos;
    indice_ = i;
    indiceM_ = t[i].m;
}

// ---------------------------------------------------------------- TSolo

TSolo::TSolo() { SetIndex(0); }

void TSolo::Consultar(int familia, int i, std::string& nome, double& indice) {
    struct Linha {
        const char* nome;
        double indice;
    };
    static const Linha bentley[] = {
        {"Solos argilosos", 2.5}, {"Solos de textura média", 3.0}, {"Solos de textura grossa", 3.5}};
    static const Linha parana[] = {
        {"Terra arenosa", 0.835}, {"Terra argilosa", 0.954}, {"Terra roxa", 1.212}};
    if (i < 0 || i > 2)
        throw EVandoro("Erro. Valor inválido do índice do solo. Valores válidos: 0, 1 ou 2.");
    const Linha* t = familia == FamiliaBentley ? bentley : familia == FamiliaParana ? parana : nullptr;
    if (!t) throw EVandoro("Erro. Metodologia de espaçamento não definida.");
    nome = t[i].nome;
    indice = t[i].indice;
}

std::uint8_t TSolo::FamiliaDoMetodo(int metodo) {
    return metodo == TMetodologiaEspacamento::Parana ? FamiliaParana : FamiliaBentley;
}

void TSolo::SetIndex(int i) {
    std::string nome;
    double indice = 0;
    Consultar(familia_, i, nome, indice);
    nome_ = nome;
    indiceSolo_ = indice;
    index_ = static_cast<std::uint8_t>(i);
}

// ---------------------------------------------------------------- TEspacamento

TEspacamento::TEspacamento() { Clear(); }

TSolo TEspacamento::SoloDoMetodo() const {
    TSolo s = solo_;
    const std::uint8_t familia = TSolo::FamiliaDoMetodo(metodologia_.Index());
    if (s.Familia() != familia) {
        s.SetFamilia(familia);
        s.SetIndex(s.Index());
    }
    return s;
}

void TEspacamento::SetEH(double x) { eh_ = x >= 0 ? x : 0; }
void TEspacamento::SetEV(double x) { ev_ = x >= 0 ? x : 0; }

double EspacamentoVertical(double EH, double S) { return EH * S; }

void TEspacamento::Clear() {
    eh_ = ev_ = 0;
    metodologia_ = TMetodologiaEspacamento();
    cultura_ = TCultura();
    erosao_ = TResistenciaErosao();
    preparo_ = TPreparoDoSolo();
    solo_ = TSolo();
    capArmaz_ = alturaTer_ = les_ = 0;
    usarCapArmaz_ = secaoTriangular_ = true;
}

void TEspacamento::Assign(const TEspacamento& src) {
    if (&src == this) return;
    metodologia_ = src.metodologia_;
    cultura_ = src.cultura_;
    erosao_ = src.erosao_;
    preparo_ = src.preparo_;
    solo_ = src.solo_;
    capArmaz_ = src.capArmaz_;
    alturaTer_ = src.alturaTer_;
    les_ = src.les_;
    eh_ = src.eh_;
    ev_ = src.ev_;
    usarCapArmaz_ = src.usarCapArmaz_;
    secaoTriangular_ = src.secaoTriangular_;
}

void TEspacamento::ComputeSpacing(double s) {
    using namespace aritmetica;
    const int metodo = metodologia_.Index();
    if (metodo <= TMetodologiaEspacamento::Parana) {
        static const char* const erros[] = {
            "Erro no cálculo do espaçamento. Medotologia Bentley.",
            "Erro no cálculo do espaçamento. Medotologia Lombardi Neto.",
            "Erro no cálculo do espaçamento. Medotologia Paraná."};
        const char* erro = erros[metodo];
        Finite(s, erro);
        const double S = 100 * s;
        double ev = 0;
        if (metodo == TMetodologiaEspacamento::LombardiNeto) {
            const double K = erosao_.IndiceK(), U = cultura_.IndiceU(), M = preparo_.IndiceM();
            ev = 0.4518 * K * Exp(0.58 * Ln(S, erro), erro) * (U + M) / 2;
        } else {
            // The soil factor must be the one of this method's family, whatever family the
            // soil object was last set to (a freshly loaded project holds Bentley soils).
            const std::uint8_t familia =
                metodo == TMetodologiaEspacamento::Bentley ? TSolo::FamiliaBentley : TSolo::FamiliaParana;
            if (solo_.Familia() != familia) {
                solo_.SetFamilia(familia);
                solo_.SetIndex(solo_.Index());
            }
            const double X = solo_.IndiceSolo();
            if (metodo == TMetodologiaEspacamento::Bentley)
                ev = 0.305 * (Div(S, X, erro) + 2);
            else
                ev = 0.4518 * X * Exp(0.58 * Ln(S, erro), erro);
        }
        ev = Finite(ev, erro);
        const double eh = Div(ev >= 0 ? ev : 0, s, erro);
        SetEV(ev);
        SetEH(eh);
    } else if (metodo == TMetodologiaEspacamento::AlturaArbitrada ||
               metodo == TMetodologiaEspacamento::Nenhuma) {
        // EH comes from the channel capacity; EV follows from the new EH.
        if (les_ > 0 && s > 0 && std::isfinite(s)) {
            const double eh = Finite(1000 * capArmaz_ / les_, "Erro no cálculo do espaçamento.");
            SetEH(eh);
            SetEV(EspacamentoVertical(eh_, s));
        }
    }
}

void TEspacamento::SpacingFromCapacity(double B, double les, double w, double cdu, double H, double s) {
    using namespace aritmetica;
    const char* erro = "Erro no cálculo do espaçamento.";
    // A terrace no higher than its freeboard stores nothing.
    double g = Finite(AlturaTeoricaM(Finite(cdu, erro), H), erro);
    if (g < 0) g = 0;
    double eh;
    if (secaoTriangular_) {
        eh = Div(500 * g * g * (s + w), les * s * w, erro);
    } else {
        // 1000·g·(B + Z·g)/LES also holds for a rectangular channel (Z = 0).
        eh = Div(1000 * g * (B + w * g), les, erro);
    }
    const double ev = Finite(EspacamentoVertical(eh, s), erro);
    SetEH(eh);
    SetEV(ev);
}

// ---------------------------------------------------------------- slope limits

namespace {

bool EmMetroPorMetro(const std::string& unidade) { return unidade == "m/m"; }

}  // namespace

void VerificarDeclividadeParana(double s, const std::string& unidade) {
    if (s > kDeclividadeMaximaBentleyParana)
        throw EVandoro(std::string("Para o método de Paraná, a declividade máxima permitida é de ") +
                       (EmMetroPorMetro(unidade) ? "0,20 m/m" : "20 %"));
}

std::string AvisoDeclividadeBentley(double s, const std::string& unidade) {
    if (!(s > kDeclividadeMaximaBentleyParana)) return "";
    return std::string("Para o metódo de Bentley, a declividade máxima recomendada é de ") +
           (EmMetroPorMetro(unidade) ? "0,20 m/m" : "20 %");
}

namespace {

struct LimiteLombardi {
    double maximo;
    const char* solo;   // "A (alta resistência à erosão)"
    const char* mm;     // "0,16 m/m"
    const char* porcento;
};

const LimiteLombardi& Limite(int grupo) {
    static const LimiteLombardi t[] = {
        {0.16, "A (alta resistência à erosão)", "0,16 m/m", "16%"},
        {0.14, "B (moderada resistência à erosão)", "0,14 m/m", "14%"},
        {0.12, "C (baixa resistência à erosão)", "0,12 m/m", "12%"},
        {0.12, "D (resistência muito baixa à erosão)", "0,12 m/m", "12%"},
    };
    if (grupo < 0 || grupo >= static_cast<int>(std::size(t)))
        throw EVandoro("Erro. Valor inválido do índice do grupo de resistência à erosão.");
    return t[grupo];
}

}  // namespace

double DeclividadeMaximaLombardi(int grupo) { return Limite(grupo).maximo; }

std::string AvisoDeclividadeLombardi(int grupo, double s, const std::string& unidade) {
    const LimiteLombardi& l = Limite(grupo);
    if (!(s > l.maximo)) return "";
    return std::string("Para o método de Lombardi Neto, a declividade máxima recomendada para o tipo de solo ") +
           l.solo + " é de " + (EmMetroPorMetro(unidade) ? l.mm : l.porcento);
}

std::string RecusaGrupoLombardiEmNivel(int grupo) {
    Limite(grupo);
    if (grupo < 2) return "";
    return std::string("Conforme recomendação de Lombardi Neto, no solo do tipo ") + (grupo == 2 ? "C" : "D") +
           " não deve ser implantado o sistema de terraceamento em nível. Neste caso, deve ser utilizado "
           " o terraceamento com gradiente.";
}

std::string AvisoDeclividade(const TEspacamento& e, double s, const std::string& unidade) {
    switch (e.Metodologia().Index()) {
        case TMetodologiaEspacamento::Bentley:
            return AvisoDeclividadeBentley(s, unidade);
        case TMetodologiaEspacamento::LombardiNeto:
            return AvisoDeclividadeLombardi(e.ResistenciaErosao().Indice(), s, unidade);
        default:
            return "";
    }
}

std::string TEspacamento::Section() const { return kSecao + SectionSuffix; }

void TEspacamento::SaveToIni(IniFile& ini) const {
    const std::string sec = Section();
    ini.WriteString(sec, "Versao", "1");
    ini.WriteFloat(sec, "EH", eh_);
    ini.WriteFloat(sec, "EV", ev_);
    ini.WriteInteger(sec, "IndMetodologia", metodologia_.Index());
    ini.WriteInteger(sec, "IndCultura", cultura_.Indice());
    ini.WriteString(sec, "Cultura", cultura_.Nome());
    ini.WriteFloat(sec, "IndiceU", cultura_.IndiceU());
    ini.WriteInteger(sec, "IndErosao", erosao_.Indice());
    ini.WriteString(sec, "GrupoSolo", erosao_.Grupo());
    ini.WriteFloat(sec, "IndiceK", erosao_.IndiceK());
    ini.WriteInteger(sec, "IndPreparo", preparo_.Indice());
    ini.WriteString(sec, "GrupoPreparo", preparo_.Grupo());
    ini.WriteFloat(sec, "IndiceM", preparo_.IndiceM());
    const TSolo solo = SoloDoMetodo();
    ini.WriteInteger(sec, "IndSolo", solo.Index());
    ini.WriteString(sec, "TipoSolo", solo.Nome());
    ini.WriteFloat(sec, "IndiceSolo", solo.IndiceSolo());
    ini.WriteFloat(sec, "CapArmaz", capArmaz_);
    ini.WriteFloat(sec, "AlturaTer", alturaTer_);
    ini.WriteFloat(sec, "LES", les_);
    ini.WriteBool(sec, "SecaoTriangular", secaoTriangular_);
    ini.WriteBool(sec, "UsarCapArmaz", usarCapArmaz_);
}

bool TEspacamento::SaveToProject(const std::string& fileName) const {
    try {
        IniFile ini(fileName);
        if (!ini.Loaded()) return false;
        SaveToIni(ini);
        ini.UpdateFile();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

namespace {

double LerReal(const IniFile& ini, const std::string& sec, const char* chave, double def) {
    const double v = ini.ReadFloat(sec, chave, def);
    return std::isfinite(v) ? v : def;
}

// Index keys: missing, negative or beyond 32 bits fails the load.
bool LerIndice(const IniFile& ini, const std::string& sec, const char* chave, std::int32_t& out) {
    const long long v = ini.ReadInteger(sec, chave, -1);
    if (v < 0 || v > INT_MAX) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

// The group names begin with a blank, which the INI reader trims; the table gives it back.
template <class Linha>
std::string ComBrancoDaTabela(const std::string& lido, std::int32_t indice,
                              const std::vector<Linha>& tabela) {
    if (indice < 0 || indice >= static_cast<std::int32_t>(tabela.size())) return lido;
    std::string_view t = tabela[indice].grupo;
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    return lido == t ? std::string(tabela[indice].grupo) : lido;
}

}  // namespace

bool TEspacamento::LoadFromIni(const IniFile& ini) {
    const std::string sec = Section();
    if (ini.ReadString(sec, "Versao", "0") != "1") return false;
    const long long metodo = ini.ReadInteger(sec, "IndMetodologia", -1);
    if (metodo < 0 || metodo >= TMetodologiaEspacamento::Count) return false;
    std::int32_t indCultura, indErosao, indPreparo, indSolo;
    if (!LerIndice(ini, sec, "IndCultura", indCultura) || !LerIndice(ini, sec, "IndErosao", indErosao) ||
        !LerIndice(ini, sec, "IndPreparo", indPreparo) || !LerIndice(ini, sec, "IndSolo", indSolo))
        return false;

    // Built aside so that a failing load leaves the object as it was.
    TEspacamento e;
    e.Assign(*this);
    e.SetEH(LerReal(ini, sec, "EH", 0));
    e.SetEV(LerReal(ini, sec, "EV", 0));
    e.metodologia_.SetIndex(static_cast<int>(metodo));
    e.cultura_.SetIndice(indCultura);
    e.cultura_.SetNome(ini.ReadString(sec, "Cultura", ""));
    e.cultura_.SetIndiceU(LerReal(ini, sec, "IndiceU", 0));
    e.erosao_.SetIndice(indErosao);
    e.erosao_.SetGrupo(ComBrancoDaTabela(ini.ReadString(sec, "GrupoSolo", ""), indErosao,
                                         TResistenciaErosao::Tabela()));
    e.erosao_.SetIndiceK(LerReal(ini, sec, "IndiceK", 0));
    e.preparo_.SetIndice(indPreparo);
    e.preparo_.SetGrupo(ComBrancoDaTabela(ini.ReadString(sec, "GrupoPreparo", ""), indPreparo,
                                          TPreparoDoSolo::Tabela()));
    e.preparo_.SetIndiceM(LerReal(ini, sec, "IndiceM", 0));
    // The tillage operations are not stored; they follow from the group.
    const auto& preparos = TPreparoDoSolo::Tabela();
    if (indPreparo < static_cast<std::int32_t>(preparos.size())) {
        e.preparo_.SetPreparoPrimario(preparos[indPreparo].primario);
        e.preparo_.SetPreparoSecundario(preparos[indPreparo].secundario);
        e.preparo_.SetResiduos(preparos[indPreparo].residuos);
    } else {
        e.preparo_.SetPreparoPrimario("");
        e.preparo_.SetPreparoSecundario("");
        e.preparo_.SetResiduos("");
    }
    // A soil index above 2 raises the soil error to the caller, as the soil object does.
    e.solo_.SetFamilia(TSolo::FamiliaDoMetodo(static_cast<int>(metodo)));
    e.solo_.SetIndex(indSolo);
    e.capArmaz_ = LerReal(ini, sec, "CapArmaz", 0);
    e.alturaTer_ = LerReal(ini, sec, "AlturaTer", 0);
    e.les_ = LerReal(ini, sec, "LES", 0);
    e.secaoTriangular_ = ini.ReadBool(sec, "SecaoTriangular", true);
    e.usarCapArmaz_ = ini.ReadBool(sec, "UsarCapArmaz", true);
    Assign(e);
    return true;
}

bool TEspacamento::LoadFromProject(const std::string& fileName) {
    std::unique_ptr<IniFile> ini;
    try {
        ini = std::make_unique<IniFile>(fileName);
    } catch (const std::exception&) {
        return false;
    }
    if (!ini->Loaded()) return false;
    return LoadFromIni(*ini);
}

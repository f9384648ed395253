#include "core/project/ModeloProjeto.h"

#include <cerrno>
#include <cmath>
#include <exception>
#include <filesystem>
#include <functional>
#include <system_error>

#include <unistd.h>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/IniFile.h"
#include "core/common/Numeros.h"
#include "core/project/GerenteSis.h"

namespace fs = std::filesystem;

namespace {

const char* const kSecao = "VANDORO4";

std::string MensagemGravar(const std::string& arquivo) { return "Não foi possível gravar o arquivo " + arquivo + "."; }

// Numbers a user types and the project keeps. Each must read as a number that is not
// negative; -1 is the file's own mark for "not given".
struct TCampoNumerico {
    const char* secao;
    const char* chave;
    const char* nome;  // as the windows label it
};
const TCampoNumerico kCamposNumericos[] = {
    {"PREC_EXPONENCIAL_NEGATIVA", "Tr", "Tr"},
    {"PREC_EXPONENCIAL_NEGATIVA", "K", "K"},
    {"PRECIPITACAO", "A", "a"},
    {"PRECIPITACAO", "B", "b"},
    {"PRECIPITACAO", "C", "c"},
    {"Terreno", "VIB", "VIB"},
    {"Terreno", "St", "St"},
    {"Canal", "CDu", "CDu"},
    {"CanalGradiente", "Comprimento", "Comprimento do canal"},
    {"CanalGradiente", "Sc", "Sc"},
    {"BaciaAcumulacao", "Profundidade", "Profundidade"},
    {"BaciaAcumulacao", "m1", "m1"},
    {"BaciaAcumulacao", "m2", "m2"},
    {kSecao, "AreaContribBacia", "Área de contribuição"},
};

std::vector<std::string> Ilegiveis(const IniFile& ini) {
    std::vector<std::string> r;
    for (const TCampoNumerico& c : kCamposNumericos) {
        if (!ini.ValueExists(c.secao, c.chave)) continue;
        const std::string texto = ini.ReadString(c.secao, c.chave, "");
        if (texto.find_first_not_of(" \t") == std::string::npos) continue;  // empty: not given
        double v = 0;
        if (!TryStrToFloat(texto, v) || !std::isfinite(v) || (v < 0 && v != -1)) r.push_back(c.nome);
    }
    return r;
}

bool SoEspacos(const std::string& arquivo) {
    const std::string texto = LerArquivoInteiro(arquivo);
    return texto.find_first_not_of(" \t\r\n") == std::string::npos;
}


}  // namespace

TModeloProjeto::TModeloProjeto()
    : precipitacaoDupla_(std::make_unique<TPrecipitacaoDuplaExponencial>()),
      nivel_(std::make_unique<TTerracosNivel>()),
      gradiente_(std::make_unique<TTerracosGradiente>()),
      bacia_(std::make_unique<TBaciaAcumulacao>()),
      numeroDaCurva_(std::make_unique<TNumeroDaCurva>()),
      tipoSistema_(std::make_unique<TTipoSistemaConservacao>()),
      locacao_(std::make_unique<TLocacaoNivel>()) {
    quenda_.SetIndEstado(IndiceEstadoBanco(configuracao_.IndEstado));
}

TModeloProjeto::~TModeloProjeto() = default;

TSistemaConservacao& TModeloProjeto::SistemaAtual() {
    if (tipoSistema_->Tipo() == TTipoSistema::Nivel) return *nivel_;
    return *gradiente_;
}

void TModeloProjeto::Reset() {
    identificacao_.Clear();
    nivel_->Clear();
    gradiente_->Clear();
    locacao_->Reset();
    numeroDaCurva_->Clear();
    quenda_.Reset();
    quenda_.SetIndEstado(IndiceEstadoBanco(configuracao_.IndEstado));
    tipoSistema_->SetTipo(TTipoSistema::Nivel);
    maquina_.clear();
}

void TModeloProjeto::Novo() {
    Reset();
    Precipitacao().SetData(0);  // the storm's date is not cleared by its reset
    bacia_->Clear();
    precipitacaoDupla_->Clear();
    areaContribBacia_ = 0;
    modulo_.clear();
    tipoPrec_ = 0;
    vazaoSalva_ = 0;
}

void TModeloProjeto::EscreverProjeto(const std::string& arquivo) {
    // Everything goes into a scratch copy first; the project is replaced only when every
    // object has written its part, so a failure never leaves half a project behind.
    // Other programs' sections in the old file are kept: the scratch copy starts from it.
    SubstituirArquivo(
        arquivo,
        [&](const std::string& tmp) {
            try {
                EscreverObjetos(tmp);
            } catch (const std::exception&) {
                // The objects report only false: the cause is what the system said last.
                throw EFalhaGravacao(MensagemGravar(arquivo), errno);
            }
        },
        MensagemGravar(arquivo), true);
}

void TModeloProjeto::EscreverObjetos(const std::string& tmp) {
    auto falhar = [&]() { throw EVandoro("gravação incompleta"); };
    {
        if (!identificacao_.SaveToProject(tmp)) falhar();
        if (!tipoSistema_->SaveToProject(tmp)) falhar();
        if (!quenda_.Save(tmp)) falhar();
        if (!numeroDaCurva_->SaveToProject(tmp)) falhar();
        if (!bacia_->SaveToProject(tmp)) falhar();
        const bool sistemaOk = tipoSistema_->Tipo() == TTipoSistema::Nivel ? nivel_->SaveToProject(tmp) : gradiente_->SaveToProject(tmp);
        if (!sistemaOk) falhar();
        if (modulo_ == "Locacao" && !locacao_->Save(tmp)) falhar();
        {
            IniFile ini(tmp);
            if (!ini.Loaded()) falhar();
            ini.WriteString(kSecao, "Versao", "4.0");
            ini.WriteString(kSecao, "UDecli", configuracao_.UDecli);
            ini.WriteInteger(kSecao, "KDecli", configuracao_.KDecli);
            ini.WriteString(kSecao, "UVIB", configuracao_.UVIB);
            ini.WriteFloat(kSecao, "KVIB", configuracao_.KVIB);
            ini.WriteString(kSecao, "MODULO", modulo_);
            ini.WriteFloat(kSecao, "AreaContribBacia", areaContribBacia_);
            ini.WriteInteger(kSecao, "TipoPrec", tipoPrec_);
            if (maquina_.empty()) ini.DeleteKey(kSecao, "Maquina");
            else ini.WriteString(kSecao, "Maquina", maquina_);
            ini.UpdateFile();
        }
    }
}

std::string TModeloProjeto::LerCadeia(const std::string& arquivo) {
    if (!identificacao_.LoadFromProject(arquivo)) return "a identificação do projeto";
    if (!tipoSistema_->LoadFromProject(arquivo)) return "o tipo de sistema";
    if (!quenda_.Load(arquivo)) return "a chuva de projeto";
    if (!numeroDaCurva_->LoadFromProject(arquivo)) return "a cobertura e o terreno";
    return {};
}

std::string TModeloProjeto::Ler(const std::string& arquivo) {
    camposIlegiveis_.clear();
    try {
        std::error_code ec;
        if (!fs::exists(arquivo, ec)) return "O arquivo não existe.";
        if (!fs::is_regular_file(arquivo, ec)) return "O caminho não é um arquivo.";
        const auto tamanho = fs::file_size(arquivo, ec);
        if (ec) return "O arquivo não pôde ser lido.";
        if (tamanho > kTamanhoMaximo) return "O arquivo é grande demais para ser um projeto do Vandoro.";
        if (tamanho == 0 || SoEspacos(arquivo)) return "O arquivo está vazio.";

        std::string versao;
        {
            IniFile ini(arquivo);
            if (!ini.Loaded()) return "O arquivo não pôde ser lido.";
            versao = ini.ReadString(kSecao, "Versao", "");
        }
        if (versao.empty()) return "O arquivo não é um projeto do Vandoro.";
        std::string parte;
        if (versao == "3.0") {
            parte = LerCadeia(arquivo);
        } else if (versao == "4.0") {
            parte = LerCadeia(arquivo);
            if (parte.empty() && !bacia_->LoadFromProject(arquivo)) parte = "a bacia de acumulação";
            IniFile ini(arquivo);
            const double area = ini.ReadFloat(kSecao, "AreaContribBacia", 0);
            areaContribBacia_ = std::isfinite(area) ? area : 0;
            // An 8-bit value: only its low byte is kept, as it always was.
            tipoPrec_ = static_cast<std::uint8_t>(ini.ReadInteger(kSecao, "TipoPrec", 0) & 0xFF);
        } else {
            double v = 0;
            if (TryStrToFloat(versao, v) && v > 4.0)
                return "O arquivo foi gravado por uma versão mais nova do Vandoro (versão " + versao + ").";
            return "O arquivo tem a versão " + versao + ", que este programa não lê.";
        }
        if (!parte.empty()) return "O arquivo está danificado: não foi possível ler " + parte + ".";

        // The terrace system's own result does not decide the read.
        if (tipoSistema_->Tipo() == TTipoSistema::Nivel) nivel_->LoadFromProject(arquivo);
        else gradiente_->LoadFromProject(arquivo);

        IniFile ini(arquivo);
        configuracao_.UDecli = ini.ReadString(kSecao, "UDecli", "m/m");
        configuracao_.KDecli = static_cast<int>(ini.ReadInteger(kSecao, "KDecli", 1));
        configuracao_.UVIB = ini.ReadString(kSecao, "UVIB", "mm/h");
        configuracao_.KVIB = ini.ReadFloat(kSecao, "KVIB", 1.0);
        configuracao_.Normalizar();
        modulo_ = ini.ReadString(kSecao, "MODULO", "");
        maquina_ = ini.ReadString(kSecao, "Maquina", "");
        if (modulo_ == "Locacao") locacao_->Load(arquivo);
        camposIlegiveis_ = Ilegiveis(ini);
        return {};
    } catch (const std::exception&) {
        return "O arquivo não pôde ser lido.";
    }
}

bool TModeloProjeto::LerProjeto(const std::string& arquivo) { return Ler(arquivo).empty(); }

std::string TModeloProjeto::MensagemNaoAbre(const std::string& arquivo, const std::string& motivo) {
    std::string m = "Não foi possível abrir o arquivo " + arquivo + ".";
    if (!motivo.empty()) m += " " + motivo;
    return m;
}

std::string TModeloProjeto::AvisoCamposIlegiveis(const std::vector<std::string>& campos) {
    if (campos.empty()) return {};
    std::string lista;
    for (const std::string& c : campos) lista += (lista.empty() ? "" : ", ") + c;
    return (campos.size() == 1 ? "O projeto foi aberto, mas o valor deste campo não pôde ser lido e ficou em branco: "
                               : "O projeto foi aberto, mas os valores destes campos não puderam ser lidos e "
                                 "ficaram em branco: ") +
           lista + ".";
}

void TModeloProjeto::AbrirProjeto(const std::string& arquivo) {
    const std::string motivo = Ler(arquivo);
    if (!motivo.empty()) throw EVandoro(MensagemNaoAbre(arquivo, motivo));
}

// Reads a scratch copy, so that an old storm section upgraded by the read is upgraded there.
static std::string LerCopia(const std::string& arquivo, const std::function<std::string(const std::string&)>& ler) {
    std::error_code ec;
    if (!fs::is_regular_file(arquivo, ec)) return ler(arquivo);  // says what is wrong with it
    const fs::path copia = fs::temp_directory_path(ec) /
                           ("vandoro-" + std::to_string(::getpid()) + "-" + fs::path(arquivo).filename().string());
    if (ec || !fs::copy_file(arquivo, copia, fs::copy_options::overwrite_existing, ec) || ec) {
        fs::remove(copia, ec);
        return "O arquivo não pôde ser lido.";
    }
    const std::string motivo = ler(copia.string());
    fs::remove(copia, ec);
    return motivo;
}

void TModeloProjeto::AbrirProjetoSemAlterar(const std::string& arquivo) {
    const std::string motivo = LerCopia(arquivo, [this](const std::string& c) { return Ler(c); });
    if (!motivo.empty()) throw EVandoro(MensagemNaoAbre(arquivo, motivo));
}

std::string TModeloProjeto::MotivoNaoAbre(const std::string& arquivo) const {
    TModeloProjeto rascunho;
    rascunho.Quenda().SetPastaPrograma(quenda_.PastaPrograma());
    rascunho.configuracao_ = configuracao_;
    return LerCopia(arquivo, [&rascunho](const std::string& c) { return rascunho.Ler(c); });
}

void TModeloProjeto::LigarGerente(TGerenteSis& g) {
    g.OnZerarVariaveis = [this] { Reset(); };
    g.OnLerArquivo = [this](TGerenteSis& gs, bool& leuCerto) {
        const std::string arquivo = gs.PathProjeto();
        const std::string motivo = Ler(arquivo);
        leuCerto = motivo.empty();
        if (!leuCerto) {
            gs.Close();
            throw EVandoro(MensagemNaoAbre(arquivo, motivo));
        }
    };
    // Checked before anything is cleared: a file that cannot be opened leaves the current
    // project as it was.
    g.VerificarArquivo = [this](const std::string& arquivo) {
        const std::string motivo = MotivoNaoAbre(arquivo);
        return motivo.empty() ? std::string() : MensagemNaoAbre(arquivo, motivo);
    };
    g.OnNovoProjeto = [this] { Novo(); };
    g.OnEscreverArquivo = [this, &g] { EscreverProjeto(g.PathProjeto()); };
}

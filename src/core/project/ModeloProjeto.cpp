#include "project/ModeloProjeto.h"

#include <cerrno>
#include <cmath>
#include <exception>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "common/Arquivo.h"
#include "common/Erros.h"
#include "common/IniFile.h"
#include "project/GerenteSis.h"

namespace fs = std::filesystem;

namespace {

const char* const kSecao = "VANDORO4";

std::string MensagemGravar(const std::string& arquivo) { return "Não foi possível gravar o arquivo " + arquivo + "."; }
std::string MensagemAbrir(const std::string& arquivo) { return "Não foi possível abrir o arquivo " + arquivo + "."; }

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
    if (tipoSistema_->Index() == TTipoSistemaConservacao::Nivel) return *nivel_;
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
    tipoSistema_->SetIndex(0);
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
        const bool sistemaOk = tipoSistema_->Index() == 0 ? nivel_->SaveToProject(tmp) : gradiente_->SaveToProject(tmp);
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
            ini.UpdateFile();
        }
    }
}

bool TModeloProjeto::LerCadeia(const std::string& arquivo) {
    return identificacao_.LoadFromProject(arquivo) && tipoSistema_->LoadFromProject(arquivo) &&
           quenda_.Load(arquivo) && numeroDaCurva_->LoadFromProject(arquivo);
}

bool TModeloProjeto::LerProjeto(const std::string& arquivo) {
    try {
        std::error_code ec;
        if (!fs::is_regular_file(arquivo, ec)) return false;
        const auto tamanho = fs::file_size(arquivo, ec);
        if (ec || tamanho > kTamanhoMaximo) return false;

        std::string versao;
        {
            IniFile ini(arquivo);
            if (!ini.Loaded()) return false;
            versao = ini.ReadString(kSecao, "Versao", "0.0");
        }
        bool cadeia = false;
        if (versao == "3.0") {
            cadeia = LerCadeia(arquivo);
        } else if (versao == "4.0") {
            cadeia = LerCadeia(arquivo) && bacia_->LoadFromProject(arquivo);
            IniFile ini(arquivo);
            const double area = ini.ReadFloat(kSecao, "AreaContribBacia", 0);
            areaContribBacia_ = std::isfinite(area) ? area : 0;
            // An 8-bit value: only its low byte is kept, as it always was.
            tipoPrec_ = static_cast<std::uint8_t>(ini.ReadInteger(kSecao, "TipoPrec", 0) & 0xFF);
        } else {
            return false;
        }
        if (!cadeia) return false;

        // The terrace system's own result does not decide the read.
        if (tipoSistema_->Index() == TTipoSistemaConservacao::Nivel) nivel_->LoadFromProject(arquivo);
        else gradiente_->LoadFromProject(arquivo);

        IniFile ini(arquivo);
        configuracao_.UDecli = ini.ReadString(kSecao, "UDecli", "m/m");
        configuracao_.KDecli = static_cast<int>(ini.ReadInteger(kSecao, "KDecli", 1));
        configuracao_.UVIB = ini.ReadString(kSecao, "UVIB", "mm/h");
        configuracao_.KVIB = ini.ReadFloat(kSecao, "KVIB", 1.0);
        configuracao_.Normalizar();
        modulo_ = ini.ReadString(kSecao, "MODULO", "");
        if (modulo_ == "Locacao") locacao_->Load(arquivo);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TModeloProjeto::AbrirProjeto(const std::string& arquivo) {
    if (!LerProjeto(arquivo)) throw EVandoro(MensagemAbrir(arquivo));
}

void TModeloProjeto::AbrirProjetoSemAlterar(const std::string& arquivo) {
    std::error_code ec;
    bool ok = false;
    if (fs::is_regular_file(arquivo, ec)) {
        const fs::path copia = fs::temp_directory_path(ec) /
                               ("vandoro-" + std::to_string(::getpid()) + "-" + fs::path(arquivo).filename().string());
        if (!ec && fs::copy_file(arquivo, copia, fs::copy_options::overwrite_existing, ec) && !ec) {
            ok = LerProjeto(copia.string());
            fs::remove(copia, ec);
        }
    }
    if (!ok) throw EVandoro(MensagemAbrir(arquivo));
}

void TModeloProjeto::LigarGerente(TGerenteSis& g) {
    g.OnZerarVariaveis = [this] { Reset(); };
    g.OnLerArquivo = [this](TGerenteSis& gs, bool& leuCerto) {
        const std::string arquivo = gs.PathProjeto();
        leuCerto = LerProjeto(arquivo);
        if (!leuCerto) {
            gs.Close();
            throw EVandoro(MensagemAbrir(arquivo));
        }
    };
    g.OnEscreverArquivo = [this, &g] { EscreverProjeto(g.PathProjeto()); };
}

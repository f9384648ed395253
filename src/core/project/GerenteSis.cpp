#include "core/project/GerenteSis.h"

#include <exception>
#include <filesystem>
#include <system_error>

namespace {

const char* const kPergunta = "Deseja salvar as alterações em ";
const char* const kPerguntaNovo = "Deseja Salvar as Alterações em ";
const char* const kSubstituir = "Arquivo já existente. Deseja substituir?";

// Lower case for ASCII and for the accented capitals of Latin-1 (UTF-8 C3 80..C3 9E), so
// "C:/Projetos/ÁREA.kzp" and "c:/projetos/área.KZP" name the same recent entry.
// Lower case of ASCII and of the accented capitals of Latin-1 in UTF-8 (À..Þ but ×).
std::string MinusculasLatinas(const std::string& s) {
    std::string r = s;
    for (size_t i = 0; i < r.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(r[i]);
        if (c >= 'A' && c <= 'Z') {
            r[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < r.size()) {
            unsigned char d = static_cast<unsigned char>(r[i + 1]);
            if (d >= 0x80 && d <= 0x9E && d != 0x97) r[i + 1] = static_cast<char>(d + 0x20);
            ++i;
        }
    }
    return r;
}

bool MesmoCaminho(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return a == b;
    return MinusculasLatinas(TGerenteSis::CaminhoNormal(a)) == MinusculasLatinas(TGerenteSis::CaminhoNormal(b));
}

bool Existe(const std::string& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

}  // namespace

TGerenteSis::TGerenteSis() {
    openDialog_.Titulo = "Abrir Projeto";
    saveDialog_.Titulo = "Salvar Projeto";
}

void TGerenteSis::SetPastaPrograma(const std::string& s) {
    pastaPrograma_ = s;
    if (!pastaPrograma_.empty() && pastaPrograma_.back() != '/') pastaPrograma_ += '/';
}

std::string TGerenteSis::NomeArquivo(const std::string& caminho) {
    const auto p = caminho.find_last_of("/\\");
    return p == std::string::npos ? caminho : caminho.substr(p + 1);
}

std::string TGerenteSis::CaminhoNormal(const std::string& caminho) {
    const std::filesystem::path p = caminho;
    if (caminho.empty() || !p.is_absolute()) return caminho;  // a relative name has no one spelling
    std::error_code ec;
    const std::filesystem::path canonico = std::filesystem::weakly_canonical(p, ec);
    return (ec ? p.lexically_normal() : canonico).string();
}

std::string TGerenteSis::RotuloRecente(int n) const {
    if (n < 1 || n > 4) return std::string();
    const std::string& c = recentes_[n - 1];
    std::string r = "&" + std::to_string(n) + "/ " + NomeArquivo(c);
    for (int i = 0; i < 4; ++i) {
        if (i == n - 1 || recentes_[i].empty()) continue;
        if (MinusculasLatinas(NomeArquivo(recentes_[i])) == MinusculasLatinas(NomeArquivo(c))) {
            const auto p = c.find_last_of("/\\");
            if (p != std::string::npos) r += " (" + (p == 0 ? c.substr(0, 1) : c.substr(0, p)) + ")";
            break;
        }
    }
    return r;
}

void TGerenteSis::SetRecentes(const std::array<std::string, 4>& r) {
    recentes_ = {};
    int n = 0;
    for (const std::string& c : r) {
        if (c.empty()) continue;
        bool repetido = false;
        for (int i = 0; i < n; ++i) repetido = repetido || MesmoCaminho(recentes_[i], c);
        if (!repetido) recentes_[n++] = c;
    }
}

void TGerenteSis::RemoverRecente(const std::string& caminho) {
    std::array<std::string, 4> r;
    int n = 0;
    for (const std::string& c : recentes_)
        if (!c.empty() && !MesmoCaminho(c, caminho)) r[n++] = c;
    recentes_ = r;
}

void TGerenteSis::Disparar(const Evento& e) const {
    if (e) e();
}

void TGerenteSis::Titulo(const std::string& t) const {
    if (DefinirTitulo) DefinirTitulo(t);
}

void TGerenteSis::Erro(const std::string& texto) const {
    if (dialogos_) dialogos_->MostrarErro(texto);
}

std::string TGerenteSis::ComExtensao(const std::string& caminho, const TDialogoArquivo& dlg) const {
    const std::string nome = NomeArquivo(caminho);
    if (nome.empty() || nome.find('.') != std::string::npos || dlg.ExtensaoPadrao.empty()) return caminho;
    return caminho + dlg.ExtensaoPadrao;
}

// Asks whether to save the changes. False means stop: the user cancelled, or chose to save
// and the save did not happen (going on would throw the changes away).
bool TGerenteSis::Perguntar(const std::string& inicio, bool& continuar) {
    continuar = true;
    if (!dialogos_) return true;
    switch (dialogos_->PerguntarSimNaoCancelar(inicio + nomeProjeto_)) {
        case TResposta::Cancelar:
            continuar = false;
            return false;
        case TResposta::Sim:
            if (!Save()) continuar = false;
            return continuar;
        case TResposta::Nao:
            return true;
    }
    return true;
}

bool TGerenteSis::New() {
    bool continuar = true;
    if (alterado_ && aberto_) Perguntar(kPerguntaNovo, continuar);
    if (!continuar) return false;
    try {
        Reset();
        Disparar(OnNovoProjeto);
        Disparar(OnAbilitarCampos);
        Disparar(OnLimparCamposDados);
    } catch (const std::exception& e) {
        Erro(e.what());
        return false;
    }
    aberto_ = true;
    nomeProprio_ = true;
    alterado_ = false;
    nomeProjeto_ = NomeDefaultEntreAspas();
    pathProjeto_ = pastaPrograma_ + nomeDefault_;
    Titulo(tituloPrograma_ + " (" + nomeProjeto_ + ")");
    return true;
}

// Shared tail of Open and OpenFile: clear, reset, read; on failure the previous path stays.
bool TGerenteSis::LerProjeto(const std::string& caminho, const std::string& pathAnterior) {
    leuCerto_ = false;
    try {
        Disparar(OnLimparCamposDados);
        Reset();
        pathProjeto_ = caminho;
        if (OnLerArquivo) OnLerArquivo(*this, leuCerto_);
    } catch (const std::exception& e) {
        leuCerto_ = false;
        pathProjeto_ = pathAnterior;
        Erro(e.what());
        return false;
    }
    if (!leuCerto_) {
        pathProjeto_ = pathAnterior;
        return false;
    }
    return true;
}

bool TGerenteSis::Redirecionar(std::string& caminho) const {
    if (!CaminhoParaAbrir) return true;
    try {
        caminho = CaminhoParaAbrir(caminho);
    } catch (const std::exception& e) {
        Erro(e.what());
        return false;
    }
    return true;
}

bool TGerenteSis::Verificar(const std::string& caminho) {
    if (!VerificarArquivo) return true;
    std::string erro;
    try {
        erro = VerificarArquivo(caminho);
    } catch (const std::exception& e) {
        erro = e.what();
    }
    if (erro.empty()) return true;
    RemoverRecente(caminho);  // a file that cannot be opened is no use in the list
    Erro(erro);
    return false;
}

bool TGerenteSis::Open() {
    bool continuar = true;
    if (alterado_ && aberto_) Perguntar(kPergunta, continuar);
    if (!continuar) return false;

    std::string escolhido;
    if (!dialogos_ || !dialogos_->EscolherArquivoAbrir(openDialog_, escolhido)) return false;
    escolhido = ComExtensao(escolhido, openDialog_);
    if (!Verificar(escolhido) || !Redirecionar(escolhido)) return false;

    const std::string anterior = pathProjeto_;
    if (!LerProjeto(escolhido, anterior)) return false;

    nomeProjeto_ = NomeArquivo(escolhido);
    Titulo(tituloPrograma_ + " ('" + nomeProjeto_ + "')");
    saveDialog_.NomeArquivo = nomeProjeto_;
    UpdateRecentList();
    nomeProprio_ = true;
    try {
        Disparar(OnAbilitarCampos);
        aberto_ = true;
        alterado_ = false;
        Disparar(OnPreencherCamposDados);
    } catch (const std::exception& e) {
        Erro(e.what());
    }
    return true;
}

bool TGerenteSis::OpenFile(const std::string& escolhido) {
    bool continuar = true;
    if (alterado_ && aberto_) Perguntar(kPergunta, continuar);
    if (!continuar) return false;
    std::string caminho = escolhido;
    if (!Verificar(caminho) || !Redirecionar(caminho)) return false;

    const std::string anterior = pathProjeto_;
    const std::string nomeAnterior = nomeProjeto_;
    nomeProjeto_ = NomeArquivo(caminho);
    if (!LerProjeto(caminho, anterior)) {
        nomeProjeto_ = nomeAnterior;
        return false;
    }
    saveDialog_.NomeArquivo = nomeProjeto_;
    try {
        Disparar(OnAbilitarCampos);
        nomeProprio_ = true;
        aberto_ = true;
        alterado_ = false;
        Titulo(tituloPrograma_ + " ('" + nomeProjeto_ + "')");
        UpdateRecentList();
        Disparar(OnPreencherCamposDados);
    } catch (const std::exception& e) {
        Erro(e.what());
    }
    return true;
}

// Pulls the typed values and writes the file. A failed write keeps the project marked as
// modified, so closing afterwards still offers to save it.
bool TGerenteSis::Gravar() {
    aberto_ = true;
    alterado_ = false;
    try {
        Disparar(OnLerCamposDados);
        Disparar(OnEscreverArquivo);
    } catch (const std::exception& e) {
        alterado_ = true;
        Erro(e.what());
        return false;
    }
    return true;
}

bool TGerenteSis::Save() {
    if (nomeProjeto_ == NomeDefaultEntreAspas()) return SaveAs();
    bool ok = false;
    if (nomeProprio_) {
        ok = Gravar();
        if (!ok) return false;
    }
    UpdateRecentList();
    return ok;
}

bool TGerenteSis::SaveAs() {
    for (;;) {
        saveDialog_.Titulo = "Salvar Como";
        std::string escolhido;
        if (!dialogos_ || !dialogos_->EscolherArquivoSalvar(saveDialog_, escolhido)) return false;
        escolhido = ComExtensao(escolhido, saveDialog_);

        if (Existe(escolhido)) {
            if (!dialogos_->PerguntarSimNao(kSubstituir)) continue;
            try {
                Disparar(OnLerCamposDados);
            } catch (const std::exception& e) {
                Erro(e.what());
                return false;
            }
        }
        const std::string nomeAnterior = nomeProjeto_, pathAnterior = pathProjeto_;
        const bool proprioAnterior = nomeProprio_;
        nomeProjeto_ = NomeArquivo(escolhido);
        pathProjeto_ = escolhido;
        nomeProprio_ = true;
        if (!Save()) {
            // Not written under the new name: the project keeps the name it really has.
            nomeProjeto_ = nomeAnterior;
            pathProjeto_ = pathAnterior;
            nomeProprio_ = proprioAnterior;
            return false;
        }
        saveDialog_.NomeArquivo = nomeProjeto_;
        Titulo(tituloPrograma_ + " ('" + nomeProjeto_ + "')");
        UpdateRecentList();
        return true;
    }
}

bool TGerenteSis::Close() {
    if (alterado_) {
        TResposta r = dialogos_ ? dialogos_->PerguntarSimNaoCancelar(kPergunta + nomeProjeto_) : TResposta::Nao;
        if (r == TResposta::Cancelar) return false;
        if (r == TResposta::Sim) {
            if (!Save()) return false;
            UpdateRecentList();
            try {
                Disparar(OnLerCamposDados);
            } catch (const std::exception& e) {
                Erro(e.what());
            }
        } else {
            Titulo(tituloPrograma_);
        }
    }
    try {
        Disparar(OnLimparCamposDados);
        Reset();
        Disparar(OnDesabilitarCampos);
    } catch (const std::exception& e) {
        Erro(e.what());
    }
    Titulo(tituloPrograma_);
    alterado_ = false;
    aberto_ = false;
    return true;
}

void TGerenteSis::UpdateRecentList() {
    const std::string p = CaminhoNormal(pathProjeto_);
    if (p.empty()) return;
    auto& r = recentes_;
    if (MesmoCaminho(p, r[0])) return;
    if (MesmoCaminho(p, r[1])) {
        r[1] = r[0];
    } else if (MesmoCaminho(p, r[2])) {
        r[2] = r[1];
        r[1] = r[0];
    } else {
        r[3] = r[2];
        r[2] = r[1];
        r[1] = r[0];
    }
    r[0] = p;
}

void TGerenteSis::Reset() {
    alterado_ = false;
    aberto_ = false;
    nomeProprio_ = false;
    Disparar(OnZerarVariaveis);
}

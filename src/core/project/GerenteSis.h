#pragma once
// The project's life: new, open, save, save as, close, the modified flag, the questions to
// the user, the main window's caption and the recent-project list. It knows no model data:
// every step that touches data is an event the owner handles.
#include <array>
#include <functional>
#include <string>

enum class TResposta { Sim, Nao, Cancelar };

// Settings of one file dialog as the manager wants it shown.
struct TDialogoArquivo {
    std::string Titulo;
    std::string Filtro = "*.kzp|*.kzp";
    std::string ExtensaoPadrao = ".kzp";
    std::string NomeArquivo;
    std::string PastaInicial;
};

// Everything the manager asks of the user.
class IDialogosProjeto {
public:
    virtual ~IDialogosProjeto() = default;
    virtual TResposta PerguntarSimNaoCancelar(const std::string& texto) = 0;
    virtual bool PerguntarSimNao(const std::string& texto) = 0;  // true = Yes
    // True with the chosen path, false when the user cancelled.
    virtual bool EscolherArquivoAbrir(const TDialogoArquivo& dlg, std::string& caminho) = 0;
    virtual bool EscolherArquivoSalvar(const TDialogoArquivo& dlg, std::string& caminho) = 0;
    virtual void MostrarErro(const std::string& texto) = 0;
    virtual void MostrarInformacao(const std::string& texto) = 0;
};

class TGerenteSis {
public:
    using Evento = std::function<void()>;

    TGerenteSis();

    void SetDialogos(IDialogosProjeto* d) { dialogos_ = d; }
    // Sets the main window's caption.
    std::function<void(const std::string&)> DefinirTitulo;

    Evento OnZerarVariaveis;
    // After the reset of a new project (not of an open): what only a new project clears.
    Evento OnNovoProjeto;
    std::function<void(TGerenteSis&, bool& leuCerto)> OnLerArquivo;
    Evento OnEscreverArquivo;
    Evento OnAbilitarCampos;
    Evento OnDesabilitarCampos;
    Evento OnLerCamposDados;
    Evento OnPreencherCamposDados;
    Evento OnLimparCamposDados;
    // The file actually opened for a chosen one (a shipped example becomes the user's copy);
    // an EVandoro it raises is shown and the open stops.
    std::function<std::string(const std::string&)> CaminhoParaAbrir;
    // The message why a chosen file cannot be opened, or "" when it can. Asked before
    // anything is cleared, so a file that fails leaves the current project as it was.
    std::function<std::string(const std::string&)> VerificarArquivo;

    bool New();
    bool Open();
    bool OpenFile(const std::string& caminho);
    bool Save();
    bool SaveAs();
    bool Close();
    void UpdateRecentList();
    void Reset();

    TDialogoArquivo& OpenDialog() { return openDialog_; }
    TDialogoArquivo& SaveDialog() { return saveDialog_; }

    bool Alterado() const { return alterado_; }
    void SetAlterado(bool v) { alterado_ = v; }
    const std::string& TituloPrograma() const { return tituloPrograma_; }
    void SetTituloPrograma(const std::string& s) { tituloPrograma_ = s; }
    const std::string& PathProjeto() const { return pathProjeto_; }
    void SetPathProjeto(const std::string& s) { pathProjeto_ = s; }
    const std::string& NomeProjeto() const { return nomeProjeto_; }
    void SetNomeProjeto(const std::string& s) { nomeProjeto_ = s; }
    const std::string& NomeDefault() const { return nomeDefault_; }
    void SetNomeDefault(const std::string& s) { nomeDefault_ = s; }
    // Folder where a new unnamed project is placed (the program's folder), '/'-terminated.
    const std::string& PastaPrograma() const { return pastaPrograma_; }
    void SetPastaPrograma(const std::string& s);

    bool ProjetoAberto() const { return aberto_; }
    bool NomeProprio() const { return nomeProprio_; }
    bool LeuCerto() const { return leuCerto_; }

    const std::array<std::string, 4>& Recentes() const { return recentes_; }
    // Takes a list as the settings file holds it: each file once, in one spelling.
    void SetRecentes(const std::array<std::string, 4>& r);
    // Takes 'caminho' out of the list (in any spelling); the entries below move up.
    void RemoverRecente(const std::string& caminho);

    // The recent-menu caption of entry n (1..4): "&n/ " + file name part, and the folder in
    // parentheses when another entry has the same file name.
    std::string RotuloRecente(int n) const;
    // One spelling for one file: absolute, without "." and "..", links resolved.
    static std::string CaminhoNormal(const std::string& caminho);

    static std::string NomeArquivo(const std::string& caminho);

private:
    bool Perguntar(const std::string& inicio, bool& continuar);
    bool LerProjeto(const std::string& caminho, const std::string& pathAnterior);
    bool Redirecionar(std::string& caminho) const;
    bool Verificar(const std::string& caminho);
    bool Gravar();
    void Disparar(const Evento& e) const;
    void Titulo(const std::string& t) const;
    void Erro(const std::string& texto) const;
    std::string ComExtensao(const std::string& caminho, const TDialogoArquivo& dlg) const;
    std::string NomeDefaultEntreAspas() const { return "\"" + nomeDefault_ + "\""; }

    IDialogosProjeto* dialogos_ = nullptr;
    TDialogoArquivo openDialog_, saveDialog_;
    bool alterado_ = false;
    std::string tituloPrograma_ = "Vandoro 4.1";
    std::string pathProjeto_;
    std::string nomeProjeto_;
    std::string nomeDefault_ = "PROJETO1.kzp";
    std::string pastaPrograma_;
    bool aberto_ = false;
    bool nomeProprio_ = false;
    bool leuCerto_ = false;
    std::array<std::string, 4> recentes_;
};

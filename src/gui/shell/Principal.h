#pragma once
// The main frame: menus, tool bar, status bar and the MDI area in which every other window
// opens. It owns the shared model and the project manager and wires them together; the
// rules themselves live in the core.
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

#include "core/project/GerenteSis.h"
#include "core/project/ModeloProjeto.h"
#include "gui/common/Dialogos.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QProgressBar;
class QTimer;
class IJanelaDados;
struct TAssistentes;
struct TRugCan;
struct TRugTer;
struct TSm;
struct TZ;

class TFPrincipal : public QMainWindow {
    Q_OBJECT
public:
    // 'pastaPrograma': the folder of the executable (data folders beside it); empty = the
    // application's. 'arquivoConfiguracao': the settings file; empty = beside the program
    // when that folder is writable, otherwise the user's configuration folder.
    explicit TFPrincipal(const QString& pastaPrograma = {}, const QString& arquivoConfiguracao = {},
                         QWidget* pai = nullptr);
    ~TFPrincipal() override;

    TModeloProjeto& Modelo() { return *modelo_; }
    TGerenteSis& GerenteSis1() { return gerente_; }
    QMdiArea* Area() const { return area_; }
    QProgressBar* BarraProgresso() const { return barra_; }
    QLabel* Relogio() const { return relogio_; }
    const QString& PastaPrograma() const { return pasta_; }  // '/'-terminated
    const QString& ArquivoConfiguracao() const { return arquivoConfiguracao_; }
    bool CarregarImagensNaMemoria() const;
    // The parameter assistants RugCan1, RugTer1, Sm1 and Z1: they keep the row last chosen.
    TAssistentes Assistentes() const;

    // Makes the data-entry windows; the sizing and location windows replace the stand-ins
    // here. The widget returned must implement IJanelaDados.
    std::function<QWidget*(TFPrincipal&)> CriarDimensionamento;
    std::function<QWidget*(TFPrincipal&)> CriarLocacao;

    // Boxes held back at start-up (settings file, missing data folders), shown once the
    // window is up. The start screen 'inicial' stays on top of everything: it goes away
    // before the first box, or the box would open hidden under it.
    void MostrarAvisosIniciais(QWidget* inicial = nullptr);

    // The menu commands.
    void Novo();
    void Abrir();
    bool AbrirArquivo(const QString& caminho);
    void AbrirRecente(int n);
    void Salvar();
    void SalvarComo();
    bool Fechar();
    void Identificacao();
    void Dimensionamento();
    void Locacao();
    void DescricaoPraticas();
    void ConfiguracaoSistema();
    void ConfiguracaoConstrucao();
    void ConfigurarImpressora();
    void Cascata();
    void LadoALado();
    void Minimizadas();
    void ArranjarIcones();
    void Sobre();

    // The open data-entry window of a module, or null.
    IJanelaDados* JanelaModulo(const QString& modulo) const;
    QMdiSubWindow* SubJanelaModulo(const QString& modulo) const;
    // Every open data-entry window copies its fields into the model (last opened first).
    void LerCamposDados();

    // Every child window wholly inside the MDI area (as far as its minimum size allows), so
    // its buttons can be reached without moving it.
    void Encaixar(QMdiSubWindow* s) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void CriarAcoes();
    void CriarMenus();
    void CriarBarras();
    void LigarGerente();
    void CarregarConfiguracaoInicial();
    bool GravarConfiguracao();
    void HabilitarCampos(bool sim);
    void RotularRecentes();
    void FecharModulos();
    // Closes the data-entry windows without taking what they hold into the model: the
    // project they belong to is being dropped (after the question to save it).
    void DescartarModulos();
    void FecharModulo(const QString& modulo);
    void AbrirModulo(const QString& modulo);
    void AtualizarRelogio();
    void AvisarCamposIlegiveis();
    QAction* Acao(const char* nome, const QString& texto, const QString& dica, std::function<void()> f,
                  const QKeySequence& atalho = {});
    // Runs a command; an error it raises becomes a box and the program goes on.
    void Proteger(const std::function<void()>& f);

    QString pasta_;
    QString arquivoConfiguracao_;
    std::unique_ptr<TRugCan> rugCan1_;
    std::unique_ptr<TRugTer> rugTer1_;
    std::unique_ptr<TSm> sm1_;
    std::unique_ptr<TZ> z1_;
    std::unique_ptr<TModeloProjeto> modelo_;
    TGerenteSis gerente_;
    TDialogosProjetoQt dialogosProjeto_;
    QMdiArea* area_ = nullptr;
    QProgressBar* barra_ = nullptr;
    QLabel* relogio_ = nullptr;
    QTimer* timer_ = nullptr;
    QStringList avisos_;
    bool encerrado_ = false;

    QAction *actNovo_, *actAbrir_, *actSalvar_, *actSalvarComo_, *actFechar_, *actIdentificacao_, *actSair_;
    std::array<QAction*, 4> actRecente_{};
    QAction *actDimensionamento_, *actLocacao_, *actPraticas_;
    QAction *actVisualizar_, *actImportacao_, *actExportacao_, *actDeclividade_, *actFiltro_;
    QAction *actConfiguracao_, *actConstrucao_, *actImpressora_, *actCarregarImagens_;
    QAction *actCascata_, *actLadoALado_, *actMinimizadas_, *actArranjarIcones_;
    QAction *actConteudo_, *actComoUsar_, *actSobre_;
};

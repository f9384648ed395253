#pragma once
// The location window: storm, channel, spacing, terrace type, soil and the three files in
// six sections; "Processar" runs the location engine on a worker thread behind the progress
// window, then shows the lines and strips over the elevation, the terrace table and the
// run's warnings, and opens the location report. The window owns no design data.
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "core/location/EntradaLocacao.h"
#include "core/location/Locacao.h"
#include "gui/common/Assistentes.h"
#include "gui/common/CamposJanela.h"
#include "gui/common/Formulario.h"
#include "gui/common/JanelaDados.h"

class QComboBox;
class QGroupBox;
class QLayout;
class QRadioButton;
class QButtonGroup;
class QTabWidget;
class QTableWidget;
class TFiguraMapa;
class TMapaLocacao;
class TJanelaProgresso;
class TLocacaoNivel;
class TGerenteSis;
class TGrupoCobertura;
class TGrupoPrecipitacao;
class TModeloProjeto;
class IJanelaConsulta;

class TfrmLocacao : public QWidget, public IJanelaDados {
    Q_OBJECT
public:
    TfrmLocacao(TModeloProjeto& modelo, TGerenteSis& gerente, QWidget* pai = nullptr, TAssistentes assistentes = {});
    ~TfrmLocacao() override;

    QString Modulo() const override { return QStringLiteral("Locacao"); }
    void OnLerCamposDados() override { Coletar(); }
    void PreencherCampos() override;  // Fill, then "Precipitação"
    void AtualizarUnidades() override;
    // The machine list follows the settings; a run's figures stay those of the files it wrote.
    void AtualizarConstrucao() override { PreencherMaquinas(-1); }
    void MostrarInicio() override;

    // Fields <-> model. Coletar returns false (after its message, with the field focused)
    // when a field does not convert; nothing is stored then.
    void Limpar();
    bool Coletar();
    bool Validar();
    TCamposLocacao Campos() const;

    // The buttons, callable by the shell and the tests.
    void btnProcessarClick();
    void btnRelatorioClick();
    void btnDefinirClick();
    void btnConsultaClick();
    void btnConsultaTipoTerracoClick();
    void btnValoresSmClick();
    void EscolherElevacao();
    void EscolherDeclividade();
    void EscolherSaida();
    void EscolherLimite();
    void EscolherEscoadouro();
    void btnExportarSigClick();
    // The stake-out points of the last run: spacing, file, then CSV, GPX or KML by its extension.
    void btnExportarEstacasClick();

    // Opens a section by its button caption; unknown captions are ignored.
    void AbrirSecao(const QString& secao);
    QString SecaoAberta() const;

    void SetJanelaConsulta(std::function<IJanelaConsulta*()> fabrica);
    // Starts another instance of the program (blue on the picture); tests replace it.
    std::function<void()> Lancador;
    // Called with the progress window once the run has started, and with the one of the read
    // of the grids before it (tests press "&Cancelar").
    std::function<void(TJanelaProgresso&)> AoIniciarExecucao, AoIniciarLeitura;
    void SetPastaFiguras(const QString& pasta);

    TFiguraMapa* Figura() const { return figura_; }
    TMapaLocacao* Mapa() const { return mapa_; }
    QTableWidget* Tabela() const { return tabela_; }
    QTabWidget* Abas() const { return abas_; }
    const TResultadoLocacao& Resultado() const { return resultado_; }
    // What the last run ended with: empty, or the core's message.
    const QString& ErroExecucao() const { return erro_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool fechada_ = false;  // closed with its fields collected
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    struct Secao;

    void Montar();
    // A section: its button and its panel ('painel', or a new one), whose grid comes back.
    QGridLayout* NovaSecao(const QString& nome, const char* botao, QGroupBox* painel = nullptr);
    void MontarCanal();
    void MontarEspacamento();
    void MontarTipoTerraco();
    void MontarSolo();
    void MontarTerreno();
    void MontarPlano();
    // The settings' machines in the plan's list, 'indice' chosen (-1: the one chosen before, by
    // its name, when the list still has it).
    void PreencherMaquinas(int indice);
    // The open dialog of the elevation and slope images: .ras by default, kept folder.
    QString AbrirImagem(const QString& titulo);
    // A file's row of the "Terreno" section: its label above, the path and its "..." choice.
    QLineEdit* NovoCaminho(QGridLayout* g, const char* nome, const QString& rotulo, const char* botao,
                           void (TfrmLocacao::*escolher)(), void (TLocacaoNivel::*definir)(const std::string&),
                           TLinhaFormulario* linha = nullptr);
    QPushButton* BotaoAjuda(const char* nome, int topico);
    QTabWidget* MontarAbas();
    QWidget* MontarResultados();
    QLayout* MontarRodape();
    void Arrumar();
    void TitulosDaTabela(bool gradiente);
    void Alterou();
    void Preencher(const TCamposLocacao& f);
    TMostrarCampo MostrarCampo();
    void MetodoMudou(int indice, bool daLista, bool gravar = true);
    // Level or graded terraces: the fields shown are kept in the system left, then the other's
    // are shown.
    void SistemaMudou(int indice);
    void MostrarSistema(bool gradiente);
    void CriterioMudou(int indice);
    void Focar(QWidget* campo, const QString& secao);
    void ExecutarMapa(unsigned cor);
    // Runs on the grids the check read (taken by the run).
    void Executar(const TArquivosLocacao& arquivos, TGradesLocacao& grades);
    void MostrarResultado();
    void Unidades();

    TModeloProjeto& m_;
    TGerenteSis& gerente_;
    TAssistentes assist_;
    TAssistentesProprios proprios_;
    TEstiloFormulario estilo_;
    TCamposJanela<TCamposLocacao> campos_;
    QString pastaFiguras_, pastaImagens_, arquivoSaida_;
    std::string limiteExecucao_;  // the boundary of the last run, an input the GIS export must keep
    std::string escoadouroExecucao_;  // the waterways of the last graded run, another such input
    bool gradiente_ = false;          // the fields shown are the graded system's
    bool carregando_ = false;
    int tipoArbitrado_ = 0;  // the arbitrary-type dialog's list
    TResultadoLocacao resultado_;
    QString erro_;

    QWidget* esquerda_ = nullptr;
    std::vector<std::unique_ptr<Secao>> secoes_;
    int aberta_ = 0;
    TFiguraMapa* figura_ = nullptr;
    TMapaLocacao* mapa_ = nullptr;
    QTabWidget* abas_ = nullptr;
    QTableWidget* tabela_ = nullptr;
    QLabel* lblTotal_ = nullptr;
    QLabel* lblNotas_ = nullptr;

    TGrupoPrecipitacao* precipitacao_ = nullptr;
    QLineEdit *edtSm_, *edtCoefDesinf_, *edtEV_, *edtAlturaTerraco_, *edtTIE_;
    TGrupoCobertura* cobertura_ = nullptr;  // land cover, in the soil section
    QLineEdit *edtImagemElevacao_, *edtImagemDec_, *edtVetorSaida_;
    QLineEdit* edtLimite_;  // the field's boundary polygon, saved with the other paths
    QComboBox* cbSistema_ = nullptr;
    QLineEdit *edtDecCanal_, *edtRugCanal_, *edtRugTerreno_, *edtEscoadouro_;
    QLabel* lblUnSc_ = nullptr;
    std::vector<TLinhaFormulario> linhasGradiente_;  // shown for graded terraces only
    QLabel *lblUnSm_, *lblUnTIE_, *lblEV_, *lblUnEV_;
    QComboBox* cbMetodo_ = nullptr;
    QComboBox* cbMaquina_ = nullptr;  // the plan's machine
    QWidget *pnlMetodo_ = nullptr, *pnlEV_ = nullptr;
    QButtonGroup* rgTipoTerraco_ = nullptr;
    QPushButton *btnDefinir_, *btnProcessar_, *btnRelatorio_, *btnExportarSig_, *btnExportarEstacas_;
};

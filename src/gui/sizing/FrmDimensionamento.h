#pragma once
// The sizing window: one entry page for storm, channel, terrain, spacing, soil and basin
// data, "Calcular", and the result pages of terraces and basins. It owns no design data:
// every value lives in the project's model, which the core's sizing reads and writes.
#include <QImage>
#include <QMap>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "core/sizing/Dimensionamento.h"
#include "core/sizing/Simulacao.h"
#include "gui/common/Assistentes.h"
#include "gui/common/CamposJanela.h"
#include "gui/common/Formulario.h"
#include "gui/common/JanelaDados.h"

class QComboBox;
class QGroupBox;
class QLayout;
class QListWidget;
class QStackedWidget;
class QVBoxLayout;
class TFiguraMapa;
class TGrupoConstrucao;
struct TConstrucaoDimensionamento;
struct TDesenhoSecao;
class TGrafico;
class TGrupoCobertura;
class TGrupoPrecipitacao;
class TfrmPaginaSimulacao;
class TGerenteSis;
class TModeloProjeto;
class IJanelaConsulta;

class TfrmDimensionamento : public QWidget, public IJanelaDados {
    Q_OBJECT
public:
    TfrmDimensionamento(TModeloProjeto& modelo, TGerenteSis& gerente, QWidget* pai = nullptr,
                        TAssistentes assistentes = {});
    ~TfrmDimensionamento() override;

    // The data-window operations the main window calls.
    QString Modulo() const override { return QStringLiteral("Dimensionamento"); }
    void OnLerCamposDados() override;  // StoreInputs; false-free: a bad field is reported
    void PreencherCampos() override;   // LoadInputs, then the "Precipitação" group
    void AtualizarUnidades() override;
    void AtualizarConstrucao() override;
    void MostrarInicio() override;

    // Fields <-> model. StoreInputs returns false (after its message, with the field
    // focused) when a field does not convert; nothing is stored then.
    void LoadInputs();
    bool StoreInputs();
    bool ValidateInputs();
    TCamposDimensionamento Campos() const;

    // The window's buttons, callable by the main window and the tests.
    void btnCalcularClick();
    void btnDefinirClick();
    void btnConsultaClick();
    void BtnCDuClick();
    // "Relatório" of the result pages (false) or of the simulation page (true, with its chart).
    void Relatorio(bool comSimulacao);
    // The report as "Relatório" shows it, with the pictures it names (the built section, and
    // the chart when 'comSimulacao'). Raises EVandoro as the report does.
    QString TextoRelatorio(bool comSimulacao, QMap<QString, QImage>& imagens);
    void BtnSimulaClick();
    void VoltarSimulacao();
    void rgSimulaBarraginhaClick(int item);
    TfrmPaginaSimulacao* PaginaSimulacao() const { return simulacao_; }
    TGrafico* GraficoBacia() const { return graficoBacia_; }
    const TGraficoBacia& GraficoBaciaAtual() const { return graficoBaciaAtual_; }

    // Opens a group by its button caption ("Canal"); unknown or hidden groups are ignored.
    void AbrirGrupo(const QString& grupo);
    QString GrupoAberto() const;
    enum Pagina { Entrada = 0, ResultadoTerracos = 1, ResultadoBacia = 2, Simulacao = 3 };
    int PaginaAtual() const;

    // The rainfall consultation window; "Consulta" stays disabled without it.
    void SetJanelaConsulta(std::function<IJanelaConsulta*()> fabrica);
    // Starts another instance of the program (blue on the figures); tests replace it.
    std::function<void()> Lancador;
    // The folder of the pictures ("nivel.bmp", the figures); the program folder by default.
    void SetPastaFiguras(const QString& pasta);

    TFiguraMapa* Figura() const { return figura_; }
    const TResultadoDimensionamento& Resultado() const { return resultado_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool fechada_ = false;  // closed with its fields collected
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    struct Grupo;

    void Montar();
    QWidget* MontarEntrada();
    // A group of the entry page: its button and its box ('caixa', or a new one), whose grid
    // comes back.
    QGridLayout* NovoGrupo(const QString& nome, const char* botao, QGroupBox* caixa = nullptr);
    void MontarCanal();
    void MontarTerreno();
    void MontarEspacamento();
    void MontarSolo();
    void MontarBarraginha();
    TFiguraMapa* MontarFigura();
    QLayout* MontarRodapeEntrada();
    QWidget* MontarResultadoTerracos();
    QWidget* MontarSecaoReal();
    QWidget* MontarResultadoBacia();
    QWidget* MontarGraficoBacia();

    void Alterou();
    void Titulo(const QString& t);
    void Redimensionar(int largura, int altura);
    void AplicarSistema(int indice);
    void MetodoMudou(int indice);
    void HorizontalEditado();
    void DeclividadeEditada(bool pelaSt);
    void FormatoMudou(int indice);
    void AtualizarFigura();
    void VerificarComprimento();
    bool VerificarCoefUni();
    void Voltar();
    void ExecutarMapa(unsigned cor);
    void MostrarResultado();
    void MostrarAlturaRecomendada();
    TConstrucaoDimensionamento Construcao() const;
    void MostrarConstrucao();
    void EscolherMaquina(const QString& nome);
    void AbrirAjudaEntrada();
    void AssistenteRugCanal();
    void AssistenteRugTerreno();
    void AssistenteSm();
    void Focar(const std::string& controle, const std::string& grupo);
    double Numero(const QLineEdit* campo) const;  // ReadNumber: empty 0
    void Unidades();
    void VIBCobertura();

    TModeloProjeto& m_;
    TGerenteSis& gerente_;
    TAssistentes assist_;
    TAssistentesProprios proprios_;
    TEstiloFormulario estilo_;
    TCamposJanela<TCamposDimensionamento> campos_;
    QString pastaFiguras_;
    bool carregando_ = false;
    bool bacia_ = false;
    TResultadoDimensionamento resultado_;

    QStackedWidget* paginas_ = nullptr;
    QStackedWidget* grupos_ = nullptr;
    TFiguraMapa* figura_ = nullptr;
    QComboBox *cbSistema_ = nullptr, *cbMetodo_ = nullptr, *cbFormato_ = nullptr;
    QPushButton* btnDefinir_ = nullptr;
    QVBoxLayout* botoesGrupos_ = nullptr;
    std::vector<std::unique_ptr<Grupo>> listaGrupos_;
    std::vector<TLinhaFormulario> soGradiente_, soRetangular_;
    // Entry fields, by their control names.
    TGrupoPrecipitacao* precipitacao_ = nullptr;
    QLineEdit *edtDecCanal_, *edtCompCanal_, *edtRugCanal_, *edtSt_, *edtSm_;
    QLineEdit *edtDecTerreno_, *edtRugTerreno_, *edtHorizontal_, *edtVertical_, *edtTIE_;
    QLineEdit *edtProfundidade_, *edtAreaContribuicao_, *edtM1_, *edtM2_;
    QLabel *lblUnDecCanal_, *lblUnSt_, *lblUnSm_, *lblUnDecTerreno_, *lblUnTIE_;
    TGrupoCobertura* cobertura_ = nullptr;
    // Terrace results.
    QLabel *lblLQ_, *lblUnLQ_, *imgResultado_, *imgSecao_, *lblAviso_;
    QPixmap secaoHidraulica_;  // the channel's sketch the simulation page shows
    TGrupoConstrucao *construcao_ = nullptr, *construcaoBacia_ = nullptr;
    static constexpr QSize kTamanhoSecao{330, 140};
    static constexpr int kLarguraResultado = 660, kAlturaResultado = 640;
    // Wide enough for the machine's whole name beside a chart whose labels are not cut.
    static constexpr int kLarguraResultadoBacia = 800, kAlturaResultadoBacia = 520;
    QLineEdit *LQ_, *edtResultEV_, *edtResultEH_, *HUni_, *CoefUni_, *HR_;
    // Basin results.
    QLabel *lblRaioComp_, *lblLargura_, *lblUnLargura_, *lblAvisoBacia_;
    QLineEdit *edtRaioCompBarraginha_, *edtResultLargBarraginha_, *edtLESBarraginha_, *edtVolumeBarraginha_;
    QListWidget* rgSimulaBarraginha_ = nullptr;
    TGrafico* graficoBacia_ = nullptr;
    TGraficoBacia graficoBaciaAtual_;
    TfrmPaginaSimulacao* simulacao_ = nullptr;
};

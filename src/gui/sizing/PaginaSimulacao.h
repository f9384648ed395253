#pragma once
// The sizing window's simulation page: the chart groups (graded tabs "Q", "H", "Hr"; level
// group), the chart, the four linked value lists and the coefficient for Hr. The sequence of
// selections is the core's TPaginaSimulacao; this page only shows what it draws.
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "core/sizing/Simulacao.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class TGrafico;
class TModeloProjeto;

class TfrmPaginaSimulacao : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPaginaSimulacao(TModeloProjeto& m, QWidget* pai = nullptr);
    ~TfrmPaginaSimulacao() override;

    // Opening with the result page's coefficient text; the section picture shown beside it.
    void Abrir(const QString& cdu, const QPixmap& secao);
    void Escolher(int grupo, int item);
    void CalculaHRClick();
    // Leaving: CDu := the page's coefficient, series cleared; returns the coefficient text.
    QString Voltar();

    const TGraficoSimulacao& Atual() const { return atual_; }
    TPaginaSimulacao& Pagina() { return *pagina_; }
    TGrafico* Grafico() const { return grafico_; }
    std::string Csv() const;  // the chart shown, as "vandoro-cli simular --csv" writes it

    std::function<void()> AoVoltar, AoRelatorio;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Mostrar(const TGraficoSimulacao& g);
    void Sincronizar();
    void Desenhar(const std::function<TGraficoSimulacao()>& f);
    void SelecionarLinha(int linha);
    bool VerificarCDu();
    double CDu() const;

    TModeloProjeto& m_;
    std::unique_ptr<TPaginaSimulacao> pagina_;
    TGraficoSimulacao atual_;
    bool sincronizando_ = false;
    QTabWidget* abas_ = nullptr;
    QGroupBox* grupoNivel_ = nullptr;
    QButtonGroup* grupos_[4] = {};
    TGrafico* grafico_ = nullptr;
    QComboBox *SimulaQ_, *SimulaH_, *SimulaHr_, *SimulaTudo_;
    QLabel *lblQ_, *lblUnQ_, *lblH_, *lblUnH_, *lblHr_, *lblUnHr_, *lblTudo_, *lblUnTudo_, *imgSecao_;
    QLineEdit* SimulaCDu_;
};

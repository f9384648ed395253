#pragma once
// The rainfall consultation window: a state from the list or the map of Brazil, then a
// station, a locality or a point of the state map; the equation and its source. The rules
// live in TConsultaQuenda; this window shows its state and passes the user's actions on.
#include <QDialog>
#include <QImage>
#include <functional>
#include <string>

#include "core/rainfall/ConsultaQuenda.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QChartView;
class TEditCoordenada;

// A map picture: shows the crosshair, reports where the mouse is released and asks which
// pointer goes over a pixel.
class TMapaQuenda : public QWidget {
    Q_OBJECT
public:
    explicit TMapaQuenda(QWidget* pai = nullptr);
    void SetImagem(const TBitmapRGB& b);
    const TBitmapRGB& Bitmap() const { return bitmap_; }
    void SetMira(const TMiraMapa& m);
    std::function<TPonteiroMapa(int x, int y)> Ponteiro;
    QSize sizeHint() const override;

signals:
    void Soltou(int x, int y);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    TBitmapRGB bitmap_;
    QImage imagem_;
    TMiraMapa mira_;
};

class TfrmFoConsulta : public QDialog, public IJanelaConsulta {
    Q_OBJECT
public:
    // pastaPrograma: the program folder; the database is "../Arquivos Comuns/Quenda" from it.
    explicit TfrmFoConsulta(const std::string& pastaPrograma, QWidget* pai = nullptr);

    void SetHelpContext(int t) override { c_.SetHelpContext(t); }
    void SetIndEstado(int i) override { c_.SetIndEstado(i); }
    void SetIndEstacao(int i) override { c_.SetIndEstacao(i); }
    void SetIndLocalidade(int i) override { c_.SetIndLocalidade(i); }
    void SetShowAbout(bool m) override { c_.SetShowAbout(m); }
    void SetK(double v) override { c_.SetK(v); }
    void SetA(double v) override { c_.SetA(v); }
    void SetB(double v) override { c_.SetB(v); }
    void SetC(double v) override { c_.SetC(v); }
    void SetLatitude(const std::string& t) override { c_.SetLatitude(t); }
    void SetLongitude(const std::string& t) override { c_.SetLongitude(t); }
    void SetTextosParametros(const std::string& k, const std::string& a, const std::string& b,
                             const std::string& c) override;
    // Activation (with the information box when asked for), then the modal loop through the
    // dialog service.
    bool ExecutarModal() override;
    int IndEstado() const override { return c_.IndEstado(); }
    std::string StrEstado() const override { return c_.StrEstado(); }
    std::string TextoK() const override { return c_.TextoK(); }
    std::string TextoA() const override { return c_.TextoA(); }
    std::string TextoB() const override { return c_.TextoB(); }
    std::string TextoC() const override { return c_.TextoC(); }
    std::string Autoria() const override { return c_.Autoria(); }
    std::string Latitude() const override { return c_.Latitude(); }
    std::string Longitude() const override { return c_.Longitude(); }
    int IndEstacao() const override { return c_.IndEstacao(); }
    int IndLocalidade() const override { return c_.IndLocalidade(); }
    std::string StrCidade() const override { return c_.StrCidade(); }

    TConsultaQuenda& Consulta() { return c_; }
    // Runs the activation now (once); errors go to the message service.
    void Ativar();

private:
    void Montar();
    void Atualizar();
    void AtualizarListas();
    void AtualizarEquacao();
    // Runs one user action; an EVandoro goes to the message service and the window shows
    // what core kept.
    void Acao(const std::function<void()>& f);
    void Ajuda();
    void Fonte();
    void Relatorio();
    void Fechar();

    std::string pastaPrograma_;
    TConsultaQuenda c_;
    bool sincronizando_ = false;

    QComboBox* cbEstados_ = nullptr;
    QLineEdit* edtBusca_ = nullptr;
    QListWidget* lbEstacoes_ = nullptr;
    QListWidget* lbLocalidades_ = nullptr;
    QLabel* lblLocalidades_ = nullptr;
    QLabel* lblCidade_ = nullptr;
    QTabWidget* pcPaginas_ = nullptr;
    QStackedWidget* pilhaMapas_ = nullptr;
    TMapaQuenda* imgBrasil_ = nullptr;
    TMapaQuenda* imgEstado_ = nullptr;
    QLabel* lblLatitude_ = nullptr;
    QLabel* lblLongitude_ = nullptr;
    QLabel* lblNomeBrasil_ = nullptr;
    QLabel* lblLatBrasil_ = nullptr;
    QLabel* lblLonBrasil_ = nullptr;
    TEditCoordenada* edtLatitude_ = nullptr;
    TEditCoordenada* edtLongitude_ = nullptr;
    QPushButton* btnCalcular_ = nullptr;
    QLineEdit* edtK_ = nullptr;
    QLineEdit* edtA_ = nullptr;
    QLineEdit* edtB_ = nullptr;
    QLineEdit* edtC_ = nullptr;
    QPushButton* btnAutor_ = nullptr;
    QLabel* lblAviso_ = nullptr;
    QLabel* lblEquacao_ = nullptr;
    QTableWidget* tabIntensidades_ = nullptr;
    QChartView* grafico_ = nullptr;
};

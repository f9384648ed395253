#pragma once
// A chart of the program: one line series with point markers on two value axes ranged to
// the data, the core filling it through ISerieGrafico. A click on a point shows its hint;
// the chart can be copied, saved as PNG and its table exported as CSV.
#include <QChartView>
#include <QLineSeries>
#include <QPointer>
#include <string>

#include "core/common/SerieGrafico.h"

class QLabel;
class QValueAxis;

// The core's series over a Qt series.
class TSerieQt : public ISerieGrafico {
public:
    explicit TSerieQt(QLineSeries* s) : s_(s) {}
    void Clear() override { s_->clear(); }
    void AddXY(double x, double y) override { s_->append(x, y); }
    void SetTitle(const std::string& t) override { s_->setName(QString::fromStdString(t)); }

private:
    QLineSeries* s_;
};

class TGrafico : public QChartView {
    Q_OBJECT
public:
    explicit TGrafico(QWidget* pai = nullptr);

    ISerieGrafico& Serie() { return serie_; }
    QLineSeries* SerieQt() const { return linha_; }
    QValueAxis* EixoX() const { return eixoX_; }
    QValueAxis* EixoY() const { return eixoY_; }
    // Titles, then the axes ranged to cover every point (a flat or empty series too).
    void Ajustar(const QString& tituloX, const QString& tituloY);
    void Limpar();

    QString Dica() const;  // the point hint shown, empty when none
    void LimparDica();
    // The point nearest to 'pos' (view coordinates) within a few pixels; false when none.
    bool PontoEm(const QPoint& pos, QPointF& ponto) const;
    QPoint PosicaoDe(const QPointF& ponto) const;

    QImage Imagem();  // the view as it is drawn
    void Copiar();    // image to the clipboard
    // PNG of the view / the CSV bytes, to a path chosen through the dialog service.
    void SalvarPng();
    void ExportarCsv(const std::string& csv, const QString& nome);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QLineSeries* linha_;
    QValueAxis *eixoX_, *eixoY_;
    TSerieQt serie_;
    QLabel* dica_;
};

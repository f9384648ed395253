#include "gui/common/Grafico.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Regional.h"
#include "core/project/Relatorio.h"
#include "core/sizing/Simulacao.h"
#include "gui/common/Dialogos.h"

namespace {
constexpr int kRaioDica = 6;  // pixels around a point that still hit it
}

// Given its chart at construction: QChartView(pai) would make a default one that setChart() lets go of.
TGrafico::TGrafico(QWidget* pai) : QChartView(new QChart, pai), linha_(new QLineSeries), eixoX_(new QValueAxis), eixoY_(new QValueAxis), serie_(linha_) {
    setObjectName(QStringLiteral("Grafico"));
    QChart* c = chart();
    c->legend()->hide();
    c->addSeries(linha_);
    c->addAxis(eixoX_, Qt::AlignBottom);
    c->addAxis(eixoY_, Qt::AlignLeft);
    linha_->attachAxis(eixoX_);
    linha_->attachAxis(eixoY_);
    linha_->setPointsVisible(true);
    linha_->setMarkerSize(6);
    c->setMargins(QMargins(4, 4, 4, 4));
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    dica_ = new QLabel(this);
    dica_->setObjectName(QStringLiteral("lblDica"));
    dica_->setStyleSheet(QStringLiteral("background: #FFFFE1; color: black; border: 1px solid black; padding: 1px"));
    dica_->hide();
}

void TGrafico::Limpar() {
    linha_->clear();
    LimparDica();
}

void TGrafico::Ajustar(const QString& tituloX, const QString& tituloY) {
    eixoX_->setTitleText(tituloX);
    eixoY_->setTitleText(tituloY);
    const QList<QPointF> p = linha_->points();
    auto faixa = [&](QValueAxis* eixo, auto coord) {
        double lo = 0, hi = 1;
        if (!p.isEmpty()) {
            lo = hi = coord(p.first());
            for (const QPointF& q : p) {
                lo = std::min(lo, coord(q));
                hi = std::max(hi, coord(q));
            }
        }
        // A flat series still needs an axis of some length.
        if (!(hi > lo)) {
            const double folga = std::abs(lo) > 0 ? std::abs(lo) * 0.1 : 1.0;
            lo -= folga;
            hi += folga;
        }
        // The nice numbers are worked out on fixed ticks, whatever the last series left.
        eixo->setTickType(QValueAxis::TicksFixed);
        eixo->setRange(lo, hi);
        eixo->applyNiceNumbers();
        const double passo = (eixo->max() - eixo->min()) / std::max(1, eixo->tickCount() - 1);
        // A point at the top of the axis would have its marker cut in half by the plot's edge:
        // the axis runs a little past it, its ticks and labels where they were.
        if (!p.isEmpty() && hi >= eixo->max()) {
            eixo->setTickType(QValueAxis::TicksDynamic);
            eixo->setTickAnchor(eixo->min());
            eixo->setTickInterval(passo);
            eixo->setMax(eixo->max() + 0.03 * (eixo->max() - eixo->min()));
        }
        // As many decimals as the tick step needs, no more: long labels are cut at the edge.
        const int casas = passo >= 1 ? 0 : std::min(6, int(std::ceil(-std::log10(passo) - 1e-9)));
        eixo->setLabelFormat(QStringLiteral("%.") + QString::number(casas) + QStringLiteral("f"));
    };
    // Labels with the regional decimal separator.
    chart()->setLocalizeNumbers(true);
    chart()->setLocale(Regional::Current().DecimalSeparator == ',' ? QLocale(QLocale::Portuguese, QLocale::Brazil) : QLocale::c());
    faixa(eixoX_, [](const QPointF& q) { return q.x(); });
    faixa(eixoY_, [](const QPointF& q) { return q.y(); });
}

QString TGrafico::Dica() const { return dica_->isVisible() ? dica_->text() : QString(); }

void TGrafico::LimparDica() { dica_->hide(); }

QPoint TGrafico::PosicaoDe(const QPointF& ponto) const {
    return mapFromScene(chart()->mapToPosition(ponto, linha_));
}

bool TGrafico::PontoEm(const QPoint& pos, QPointF& ponto) const {
    double melhor = kRaioDica * kRaioDica + 1;
    bool achou = false;
    for (const QPointF& q : linha_->points()) {
        const QPoint d = PosicaoDe(q) - pos;
        const double d2 = double(d.x()) * d.x() + double(d.y()) * d.y();
        if (d2 < melhor) {
            melhor = d2;
            ponto = q;
            achou = true;
        }
    }
    return achou;
}

void TGrafico::mousePressEvent(QMouseEvent* e) {
    QPointF p;
    if (e->button() == Qt::LeftButton && PontoEm(e->pos(), p)) {
        dica_->setText(Q(DicaPonto(p.x(), p.y())));
        dica_->adjustSize();
        QPoint onde = PosicaoDe(p) + QPoint(8, -dica_->height() - 4);
        onde.setX(std::clamp(onde.x(), 0, std::max(0, width() - dica_->width())));
        onde.setY(std::clamp(onde.y(), 0, std::max(0, height() - dica_->height())));
        dica_->move(onde);
        dica_->show();
        dica_->raise();
        return;
    }
    LimparDica();
    QChartView::mousePressEvent(e);
}

void TGrafico::mouseMoveEvent(QMouseEvent* e) {
    LimparDica();
    QChartView::mouseMoveEvent(e);
}

QImage TGrafico::Imagem() {
    const bool dica = dica_->isVisible();
    dica_->hide();
    QImage img = grab().toImage();
    dica_->setVisible(dica);
    return img;
}

void TGrafico::Copiar() { QApplication::clipboard()->setImage(Imagem()); }

namespace {
QString Destino(QWidget* pai, const QString& titulo, const QString& nome, const QString& extensao, const QString& filtro) {
    QString base = nome;
    base.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    QString caminho = Dialogos().ArquivoSalvar(pai, titulo, QDir::homePath() + '/' + base + extensao, filtro);
    if (caminho.isEmpty()) return {};
    if (QFileInfo(caminho).suffix().isEmpty()) caminho += extensao;
    if (QFileInfo::exists(caminho) &&
        !Dialogos().SimNao(pai, QStringLiteral("O arquivo '") + QFileInfo(caminho).fileName() +
                                    QStringLiteral("' já existe. Deseja substituir o arquivo existente ?")))
        return {};
    return caminho;
}
}  // namespace

void TGrafico::SalvarPng() {
    const QString caminho = Destino(this, QStringLiteral("Salvar gráfico"), QStringLiteral("grafico"), QStringLiteral(".png"),
                                    QStringLiteral("Imagens PNG (*.png)"));
    if (caminho.isEmpty()) return;
    const QImage img = Imagem();
    try {
        SubstituirArquivo(S(caminho), [&](const std::string& temporario) {
            if (!img.save(Q(temporario), "PNG")) throw EVandoro("Não foi possível gravar o arquivo " + S(caminho) + ".");
        });
    } catch (const EVandoro&) {
        Dialogos().Erro(this, Q("Não foi possível gravar o arquivo " + S(caminho) + "."));
    }
}

void TGrafico::ExportarCsv(const std::string& csv, const QString& nome) {
    const QString caminho = Destino(this, QStringLiteral("Exportar CSV"), nome, QStringLiteral(".csv"), QStringLiteral("Tabelas CSV (*.csv)"));
    if (caminho.isEmpty()) return;
    try {
        GravarRelatorio(csv, S(caminho));
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
    }
}

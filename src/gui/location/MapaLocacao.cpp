#include "gui/location/MapaLocacao.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "gui/common/Aplicacao.h"
#include "gui/common/Dialogos.h"
#include "gui/common/ExtensaoPadrao.h"
#include "render/MapaPlano.h"

namespace {

constexpr double kPassoZoom = 1.25;
// The hover catches a line this many pixels away.
constexpr double kToleranciaPixels = 6;
// A4 at 200 dpi: fine enough for a printed plan, small enough to mail.
constexpr int kA4Curto = 1654, kA4Longo = 2339;
constexpr double kDpi = 200;

}  // namespace

// The canvas: hands its events to the map widget.
class TVistaMapa : public QWidget {
public:
    explicit TVistaMapa(TMapaLocacao& m) : m_(m) {
        setObjectName(QStringLiteral("vistaMapa"));
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(200, 150);
        setCursor(Qt::OpenHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        m_.Pintar(p);
    }
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (m_.ajustado_ || m_.escala_ <= 0) m_.Ajustar();
    }
    void wheelEvent(QWheelEvent* e) override {
        const double passos = e->angleDelta().y() / 120.0;
        if (passos != 0) m_.Zoom(std::pow(kPassoZoom, passos), e->position());
        e->accept();
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) {
            arrastando_ = true;
            ultimo_ = e->position();
            setCursor(Qt::ClosedHandCursor);
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (arrastando_) {
            m_.Mover(e->position() - ultimo_);
            ultimo_ = e->position();
        }
        m_.Apontar(e->position());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) {
            arrastando_ = false;
            setCursor(Qt::OpenHandCursor);
        }
    }
    void leaveEvent(QEvent* e) override {
        QWidget::leaveEvent(e);
        m_.Apontar(QPointF(-1, -1));
    }
    void keyPressEvent(QKeyEvent* e) override {
        const QPointF meio(width() / 2.0, height() / 2.0);
        const double passo = std::min(width(), height()) / 8.0;
        switch (e->key()) {
            case Qt::Key_Plus:
            case Qt::Key_Equal: m_.Zoom(kPassoZoom, meio); break;
            case Qt::Key_Minus: m_.Zoom(1 / kPassoZoom, meio); break;
            case Qt::Key_0:
            case Qt::Key_Home: m_.Ajustar(); break;
            case Qt::Key_Left: m_.Mover({passo, 0}); break;
            case Qt::Key_Right: m_.Mover({-passo, 0}); break;
            case Qt::Key_Up: m_.Mover({0, passo}); break;
            case Qt::Key_Down: m_.Mover({0, -passo}); break;
            default: QWidget::keyPressEvent(e); return;
        }
        e->accept();
    }

private:
    TMapaLocacao& m_;
    bool arrastando_ = false;
    QPointF ultimo_;
};

TMapaLocacao::TMapaLocacao(QWidget* pai) : QWidget(pai) {
    setObjectName(QStringLiteral("mapaLocacao"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    vista_ = new TVistaMapa(*this);
    v->addWidget(vista_, 1);
    auto* barra = new QHBoxLayout;
    const auto botao = [&](const QString& texto, const char* nome, const QString& dica) {
        auto* b = new QToolButton;
        b->setText(texto);
        b->setObjectName(QLatin1String(nome));
        b->setToolTip(dica);
        b->setAutoRaise(true);
        barra->addWidget(b);
        return b;
    };
    btnMais_ = botao(QStringLiteral("+"), "btnAproximar", QStringLiteral("Aproximar (roda do mouse ou tecla +)"));
    btnMenos_ = botao(QStringLiteral("−"), "btnAfastar", QStringLiteral("Afastar (roda do mouse ou tecla -)"));
    btnAjustar_ = botao(QStringLiteral("Ajustar"), "btnAjustarMapa", QStringLiteral("O talhão inteiro na vista (tecla 0)"));
    lblEstado_ = new QLabel;
    lblEstado_->setObjectName(QStringLiteral("lblMapa"));
    lblEstado_->setMinimumWidth(80);
    barra->addWidget(lblEstado_, 1);
    btnExportar_ = new QPushButton(QStringLiteral("Exportar mapa"));
    btnExportar_->setObjectName(QStringLiteral("btnExportarMapa"));
    btnExportar_->setToolTip(QStringLiteral("Grava a planta da locação numa folha A4 em PNG"));
    barra->addWidget(btnExportar_);
    v->addLayout(barra);
    const auto meio = [this] { return QPointF(vista_->width() / 2.0, vista_->height() / 2.0); };
    connect(btnMais_, &QToolButton::clicked, this, [this, meio] { Zoom(kPassoZoom, meio()); });
    connect(btnMenos_, &QToolButton::clicked, this, [this, meio] { Zoom(1 / kPassoZoom, meio()); });
    connect(btnAjustar_, &QToolButton::clicked, this, &TMapaLocacao::Ajustar);
    connect(btnExportar_, &QPushButton::clicked, this, &TMapaLocacao::ExportarMapa);
    Limpar();
}

TMapaLocacao::~TMapaLocacao() = default;

void TMapaLocacao::Limpar() {
    mapa_.reset();
    escala_ = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{btnMais_, btnMenos_, btnAjustar_, btnExportar_})
        w->setEnabled(false);
    Apontar(QPointF(-1, -1));
    vista_->update();
}

void TMapaLocacao::Carregar(const TPlanoMapa& plano) {
    Limpar();
    auto m = std::make_unique<TMapaPlano>(plano);
    if (m->Vazio()) return;
    mapa_ = std::move(m);
    for (QWidget* w : std::initializer_list<QWidget*>{btnMais_, btnMenos_, btnAjustar_, btnExportar_})
        w->setEnabled(true);
    Ajustar();
    Apontar(QPointF(-1, -1));
}

bool TMapaLocacao::TemFaixas() const {
    if (!mapa_) return false;
    const TMapaFaixas& f = mapa_->Plano().faixas;
    return std::any_of(f.terraco.begin(), f.terraco.end(), [](int32_t t) { return t > 0; });
}

QRectF TMapaLocacao::Visivel() const {
    if (!mapa_ || escala_ <= 0) return {};
    const QSizeF s(vista_->width() * escala_, vista_->height() * escala_);
    return QRectF(centro_ - QPointF(s.width() / 2, s.height() / 2), s);
}

QPointF TMapaLocacao::MundoDe(QPointF pixel) const {
    return centro_ + QPointF(pixel.x() - vista_->width() / 2.0, vista_->height() / 2.0 - pixel.y()) * escala_;
}

QPointF TMapaLocacao::PixelDe(QPointF mundo) const {
    if (escala_ <= 0) return {};
    const QPointF d = (mundo - centro_) / escala_;
    return {vista_->width() / 2.0 + d.x(), vista_->height() / 2.0 - d.y()};
}

void TMapaLocacao::Ajustar() {
    ajustado_ = true;
    if (!mapa_) return;
    const QRectF m = mapa_->Mundo();
    const double w = std::max(1, vista_->width() - 8), h = std::max(1, vista_->height() - 8);
    centro_ = m.center();
    escala_ = std::max(m.width() / w, m.height() / h);
    if (!(escala_ > 0)) escala_ = 1;
    vista_->update();
}

void TMapaLocacao::Zoom(double fator, QPointF pixel) {
    if (!mapa_ || escala_ <= 0 || !(fator > 0)) return;
    const QPointF fixo = MundoDe(pixel);
    escala_ /= fator;
    Limites();
    // The point under the cursor stays there.
    centro_ = fixo - QPointF(pixel.x() - vista_->width() / 2.0, vista_->height() / 2.0 - pixel.y()) * escala_;
    ajustado_ = false;
    vista_->update();
}

void TMapaLocacao::Mover(QPointF d) {
    if (!mapa_ || escala_ <= 0) return;
    centro_ -= QPointF(d.x(), -d.y()) * escala_;
    // Never so far that the field leaves the view.
    const QRectF m = mapa_->Mundo();
    centro_.setX(std::clamp(centro_.x(), m.left(), m.right()));
    centro_.setY(std::clamp(centro_.y(), m.top(), m.bottom()));
    ajustado_ = false;
    vista_->update();
}

// From a tenth of a metre a pixel (a cell of a fine model is big by then) to the field four
// times smaller than the view.
void TMapaLocacao::Limites() {
    const QRectF m = mapa_->Mundo();
    const double ajuste = std::max(m.width() / std::max(1, vista_->width()), m.height() / std::max(1, vista_->height()));
    const double mpu = mapa_->Plano().metrosPorUnidade > 0 ? mapa_->Plano().metrosPorUnidade : 1;
    escala_ = std::clamp(escala_, std::min(0.1 / mpu, ajuste), std::max(4 * ajuste, 0.1 / mpu));
}

void TMapaLocacao::Pintar(QPainter& p) {
    const QRectF r = vista_->rect();
    p.fillRect(r, palette().base());
    if (!mapa_ || escala_ <= 0) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(r, Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("O mapa aparece aqui depois de processar a locação."));
        return;
    }
    const QRectF vis = Visivel();
    mapa_->Desenhar(p, r, vis);
    mapa_->DesenharEscala(p, r, vis);
}

void TMapaLocacao::Apontar(QPointF pixel) {
    QString texto;
    int sob = 0;
    if (mapa_ && escala_ > 0 && vista_->rect().contains(pixel.toPoint())) {
        const QPointF w = MundoDe(pixel);
        sob = mapa_->TerracoEm(w, kToleranciaPixels * escala_);
        if (const int t = sob) {
            texto = QStringLiteral("Terraço %1").arg(t);
            if (const QString tipo = mapa_->TipoDe(t); !tipo.isEmpty()) texto += QStringLiteral(" — ") + tipo;
        } else {
            texto = QStringLiteral("E %1   N %2").arg(Q(FormatFloat("#,##0.0", w.x())), Q(FormatFloat("#,##0.0", w.y())));
        }
        vista_->setToolTip(texto.startsWith(QStringLiteral("Terraço")) ? texto : QString());
    } else if (mapa_) {
        texto = QStringLiteral("Roda do mouse: aproximar e afastar; arrastar: mover.");
        vista_->setToolTip(QString());
    }
    lblEstado_->setText(texto);
    lblEstado_->setToolTip(texto);
    if (mapa_ && mapa_->Destaque() != sob) {
        mapa_->SetDestaque(sob);
        vista_->update();
    }
}

QString TMapaLocacao::Estado() const { return lblEstado_->text(); }

QImage TMapaLocacao::FolhaA4() const {
    if (!mapa_) return {};
    QImage folha = mapa_->Folha(mapa_->Paisagem() ? QSize(kA4Longo, kA4Curto) : QSize(kA4Curto, kA4Longo));
    const int pontosPorMetro = int(std::lround(kDpi / 0.0254));
    folha.setDotsPerMeterX(pontosPorMetro);
    folha.setDotsPerMeterY(pontosPorMetro);
    return folha;
}

void TMapaLocacao::ExportarMapa() {
    Protegido(this, [&] {
        if (!mapa_) {
            Dialogos().Erro(this, QStringLiteral("Não há mapa para exportar: processe a locação primeiro."));
            return;
        }
        const QString filtro = QStringLiteral("Imagem PNG (*.png)");
        const QString c = ComExtensaoPadrao(
            Dialogos().ArquivoSalvar(this, QStringLiteral("Exportar mapa"), NomeProposto, filtro), QStringLiteral(".png"));
        if (c.isEmpty()) return;
        if (QFileInfo(c).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) != 0) {
            Dialogos().Erro(this, QStringLiteral("O mapa é gravado como imagem PNG: use a extensão .png."));
            return;
        }
        // A model read by GDAL may itself be a PNG.
        if (MesmoArquivo(S(c), mapa_->Plano().elevacao)) {
            Dialogos().Erro(this, QStringLiteral("O mapa substituiria o modelo de elevação: escolha outro nome."));
            return;
        }
        if (QFileInfo::exists(c) &&
            !Dialogos().SimNao(this, QStringLiteral("O arquivo ") + c + QStringLiteral(" já existe. Deseja substituí-lo?")))
            return;
        const QImage folha = FolhaA4();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!folha.save(&buffer, "PNG")) throw EVandoro("Não foi possível gerar a imagem do mapa.");
        GravarArquivoInteiro(S(c), std::string_view(bytes.constData(), size_t(bytes.size())));
        Dialogos().Informacao(this, QStringLiteral("Mapa gravado em ") + c + QStringLiteral("."));
    });
}

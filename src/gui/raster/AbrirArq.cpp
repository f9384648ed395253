#include "gui/raster/AbrirArq.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/common/Erros.h"
#include "core/raster/FormatoImagem.h"
#include "core/raster/Paleta.h"
#include "gui/common/BotoesDialogo.h"
#include "gui/common/Dialogos.h"
#include "gui/raster/Visualizar.h"

namespace {
// Help topic of the viewer and its dialogs.
constexpr int kTopicoVisualizar = 26;

// The palette's colours as a ramp, for its combo entry.
QIcon Rampa(const QString& arquivo) {
    TPaleta p;
    try {
        p.LoadFromFile(S(arquivo));
    } catch (const EVandoro&) {
        return {};
    }
    QImage img(256, 14, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < 256; ++x) img.setPixel(x, y, p.Argb(x));
    return QIcon(QPixmap::fromImage(img.scaled(128, 14)));
}
}  // namespace

QString PastaPaletas(const QString& pastaPrograma) {
    return QDir::cleanPath(pastaPrograma + "../Arquivos Comuns/Paletas") + "/";
}

TFAbrirArq::TFAbrirArq(const QString& pastaPaletas, const QString& pastaInicial, QWidget* pai)
    : QDialog(pai), pastaPaletas_(pastaPaletas), pastaInicial_(pastaInicial) {
    setObjectName("FAbrirArq");
    setWindowTitle("Abrir imagem");
    auto* v = new QVBoxLayout(this);
    auto* g = new QGridLayout;
    auto* lblImagem = new QLabel("&Imagem:", this);
    g->addWidget(lblImagem, 0, 0);
    edtImagem_ = new QLineEdit(this);
    edtImagem_->setObjectName("edtImagem");
    edtImagem_->setMinimumWidth(320);
    g->addWidget(edtImagem_, 0, 1);
    btnImagem_ = new QPushButton("...", this);
    btnImagem_->setObjectName("btnImagem");
    btnImagem_->setFixedWidth(32);
    g->addWidget(btnImagem_, 0, 2);

    auto* lblZoom = new QLabel("&Zoom:", this);
    g->addWidget(lblZoom, 1, 0);
    cbZoom_ = new QComboBox(this);
    cbZoom_->setObjectName("cbZoom");
    for (const char* z : {"25%", "50%", "75%", "100%", "150%", "200%", "250%", "300%", "350%", "400%"})
        cbZoom_->addItem(z);
    cbZoom_->setCurrentText("100%");
    g->addWidget(cbZoom_, 1, 1, Qt::AlignLeft);

    auto* lblPaleta = new QLabel("&Paleta:", this);
    g->addWidget(lblPaleta, 2, 0);
    cbPaleta_ = new QComboBox(this);
    cbPaleta_->setObjectName("cbPaleta");
    cbPaleta_->setIconSize(QSize(128, 14));
    for (const char* n : kPaletasPadrao) AcrescentarPaleta(pastaPaletas_ + n);
    cbPaleta_->setCurrentIndex(0);
    g->addWidget(cbPaleta_, 2, 1);
    btnPaleta_ = new QPushButton("Carregar pale&ta", this);
    btnPaleta_->setObjectName("btnCarregarPaleta");
    g->addWidget(btnPaleta_, 3, 1, Qt::AlignLeft);
    lblImagem->setBuddy(edtImagem_);
    lblZoom->setBuddy(cbZoom_);
    lblPaleta->setBuddy(cbPaleta_);
    v->addLayout(g);

    gbVetor_ = new QGroupBox(" Arquivo &vetor (opcional) ", this);
    gbVetor_->setObjectName("gbVetor");
    auto* h = new QHBoxLayout(gbVetor_);
    edtVetor_ = new QLineEdit(gbVetor_);
    edtVetor_->setObjectName("edtVetor");
    h->addWidget(edtVetor_);
    btnVetor_ = new QPushButton("...", gbVetor_);
    btnVetor_->setObjectName("btnVetor");
    btnVetor_->setFixedWidth(32);
    h->addWidget(btnVetor_);
    v->addWidget(gbVetor_);

    const TBotoesDialogo botoes = BotoesOkCancelarAjuda(*this, kTopicoVisualizar);
    connect(botoes.ok, &QPushButton::clicked, this, &QDialog::accept);
    v->addWidget(botoes.caixa);

    connect(btnImagem_, &QPushButton::clicked, this, &TFAbrirArq::EscolherImagem);
    connect(btnVetor_, &QPushButton::clicked, this, &TFAbrirArq::EscolherVetor);
    connect(btnPaleta_, &QPushButton::clicked, this, &TFAbrirArq::CarregarPaleta);
}

int TFAbrirArq::AcrescentarPaleta(const QString& arquivo) {
    cbPaleta_->addItem(Rampa(arquivo), QFileInfo(arquivo).fileName(), arquivo);
    return cbPaleta_->count() - 1;
}

void TFAbrirArq::SelecionarPaleta(const QString& arquivo) {
    for (int i = 0; i < cbPaleta_->count(); ++i)
        if (QFileInfo(cbPaleta_->itemData(i).toString()) == QFileInfo(arquivo)) {
            cbPaleta_->setCurrentIndex(i);
            return;
        }
    cbPaleta_->setCurrentIndex(AcrescentarPaleta(arquivo));
}

void TFAbrirArq::ModoPaleta(const QString& raster, const QString& paletaAtual) {
    setWindowTitle("Paleta");
    edtImagem_->setText(raster);
    for (QWidget* w : std::initializer_list<QWidget*>{edtImagem_, btnImagem_, cbZoom_}) w->setEnabled(false);
    gbVetor_->hide();
    SelecionarPaleta(paletaAtual);
}

QString TFAbrirArq::Imagem() const { return edtImagem_->text().trimmed(); }

int TFAbrirArq::Zoom() const {
    QString t = cbZoom_->currentText();
    t.remove('%');
    bool ok = false;
    const int z = t.trimmed().toInt(&ok);
    return ok && z > 0 ? z : 100;
}

QString TFAbrirArq::Paleta() const { return cbPaleta_->currentData().toString(); }

QString TFAbrirArq::Vetor() const { return edtVetor_->text().trimmed(); }

void TFAbrirArq::EscolherImagem() {
    const QString inicio = edtImagem_->text().isEmpty() ? pastaInicial_ : edtImagem_->text();
    const QString n = Dialogos().ArquivoAbrir(this, "Abrir imagem", inicio, Q(FiltroImagens()));
    if (!n.isEmpty()) edtImagem_->setText(n);
}

void TFAbrirArq::EscolherVetor() {
    const QString inicio = edtVetor_->text().isEmpty()
                               ? (Imagem().isEmpty() ? pastaInicial_ : QFileInfo(Imagem()).absolutePath())
                               : edtVetor_->text();
    QString n = Dialogos().ArquivoAbrir(this, "Arquivo vetor", inicio, "*.vet (*.vet)");
    if (n.isEmpty()) return;
    if (QFileInfo(n).suffix().isEmpty()) n += ".vet";
    edtVetor_->setText(n);
}

void TFAbrirArq::CarregarPaleta() {
    const QString n = Dialogos().ArquivoAbrir(this, "Carregar paleta", pastaPaletas_, "Arquivo de paleta (*.pal)");
    if (n.isEmpty()) return;
    TPaleta p;
    try {
        p.LoadFromFile(S(n));
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    SelecionarPaleta(n);
}

// ---------------------------------------------------------------------------------------

TFVisualizar* AbrirVisualizador(const TContextoVisualizar& ctx, const QString& raster, const QString& paleta,
                                int zoom, const QString& vetor) {
    const TModoArmazenamento modo = ctx.carregarNaMemoria ? TModoArmazenamento::Memoria : TModoArmazenamento::Arquivo;
    auto* v = new TFVisualizar(PastaPaletas(ctx.pastaPrograma), modo, ctx.progresso);
    try {
        v->Abrir(raster, paleta, zoom);
    } catch (const std::exception& e) {
        delete v;
        Dialogos().Erro(ctx.area, QString::fromUtf8(e.what()));
        return nullptr;
    }
    if (ctx.barraStatus) {
        QStatusBar* barra = ctx.barraStatus;
        QObject::connect(v, &TFVisualizar::Leitura, barra, [barra](const QString& d) { barra->showMessage(d); });
    }
    if (!ctx.area) {
        v->resize(v->TamanhoIdeal());
        v->show();
    } else {
        QMdiSubWindow* s = ctx.area->addSubWindow(v);
        // The whole image when it fits, otherwise what the area leaves.
        const QSize ideal = v->TamanhoIdeal() + QSize(12, 34);
        const QSize livre = ctx.area->viewport()->size();
        s->resize(std::min(ideal.width(), std::max(livre.width(), 460)), std::min(ideal.height(), livre.height()));
        s->show();
    }
    if (!vetor.isEmpty()) v->SobreporVetor(vetor);
    return v;
}

TFVisualizar* AbrirVisualizador(const TContextoVisualizar& ctx) {
    // Rasters next to the program when there is such a folder; otherwise where the shell says.
    const QString rasters = QDir::cleanPath(ctx.pastaPrograma + "../Rasters");
    TFAbrirArq dlg(PastaPaletas(ctx.pastaPrograma), QFileInfo(rasters).isDir() ? rasters : ctx.pastaInicial,
                   ctx.area);
    if (Dialogos().Executar(dlg) != QDialog::Accepted) return nullptr;
    return AbrirVisualizador(ctx, dlg.Imagem(), dlg.Paleta(), dlg.Zoom(), dlg.Vetor());
}

#include "gui/raster/Visualizar.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/common/Progresso.h"
#include "core/raster/Imagem.h"
#include "core/raster/RenderImagem.h"
#include "core/raster/Vetor.h"
#include "gui/common/CursorEspera.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Impressora.h"
#include "gui/raster/AbrirArq.h"
#include "gui/raster/ImagemRaster.h"
#include "gui/raster/PropRaster.h"

const char* const kPaletasPadrao[5] = {"idris256.pal", "qual256.pal", "bimod256.pal", "cinza1.pal", "paleta6.pal"};

namespace {

QList<TFVisualizar*>& Registro() {
    static QList<TFVisualizar*> r;
    return r;
}

// The shared progress bar follows a pass; the window is not let process events in the
// middle of a render (a close then would pull the image from under it).
class TProgressoBarra : public IProgresso {
public:
    explicit TProgressoBarra(QProgressBar* b) : b_(b) {}
    ~TProgressoBarra() override {
        if (b_) b_->setValue(0);
    }
    void SetMax(int m) override {
        if (b_) b_->setMaximum(m);
    }
    void SetPosition(int p) override {
        if (b_ && (p & 63) == 0) b_->setValue(p);
    }

private:
    QProgressBar* b_;
};

// Digits, the decimal and thousands separators and the editing keys; no minus sign.
class TFiltroAtributo : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return QObject::eventFilter(o, e);
        const auto* k = static_cast<QKeyEvent*>(e);
        switch (k->key()) {
            case Qt::Key_Backspace:
            case Qt::Key_Delete:
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Home:
            case Qt::Key_End:
            case Qt::Key_Tab:
                return false;
            default:
                break;
        }
        const QString t = k->text();
        if (t.size() == 1 && (t[0].isDigit() || t[0] == ',' || t[0] == '.')) return false;
        return true;  // dropped
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------

TLegendaRaster::TLegendaRaster(QWidget* pai) : QWidget(pai) {
    setObjectName("Legenda");
    auto* g = new QGridLayout(this);
    g->setContentsMargins(4, 4, 4, 4);
    g->setVerticalSpacing(0);
    strip_ = new QLabel(this);
    strip_->setFixedSize(kLarguraLegenda, kAlturaLegenda);
    max_ = new QLabel("max", this);
    media_ = new QLabel("media", this);
    min_ = new QLabel("min", this);
    max_->setObjectName("lblMax");
    media_->setObjectName("lblMedia");
    min_->setObjectName("lblMin");
    g->addWidget(strip_, 0, 0, 3, 1, Qt::AlignTop);
    g->addWidget(max_, 0, 1, Qt::AlignTop);
    g->addWidget(media_, 1, 1, Qt::AlignVCenter);
    g->addWidget(min_, 2, 1, Qt::AlignBottom);
    g->setRowStretch(3, 1);
    for (QLabel* l : {max_, media_, min_}) l->setFixedHeight(kAlturaLegenda / 3);
    // As wide as its labels: long coordinates or decimals are never cut.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void TLegendaRaster::Definir(const TPaleta& paleta, const TFaixaCores& faixa) {
    faixa_ = QImage(kLarguraLegenda, kAlturaLegenda, QImage::Format_RGB32);
    for (int k = 0; k < kAlturaLegenda; ++k) {
        auto* px = reinterpret_cast<uint32_t*>(faixa_.scanLine(k));
        const uint32_t c = paleta.Argb(EntradaLegenda(k));
        for (int i = 0; i < kLarguraLegenda; ++i) px[i] = c;
    }
    strip_->setPixmap(QPixmap::fromImage(faixa_));
    const auto r = RotulosLegenda(faixa);
    max_->setText("max " + Q(r[0]));
    media_->setText("media " + Q(r[1]));
    min_->setText("min " + Q(r[2]));
}

// ---------------------------------------------------------------------------------------

TFVisualizar::TFVisualizar(const QString& pastaPaletas, TModoArmazenamento modoArmazenamento, QProgressBar* barra,
                           QWidget* pai)
    : QWidget(pai), pastaPaletas_(pastaPaletas), modo_(modoArmazenamento), barraProgresso_(barra),
      imagem_(std::make_unique<TImagem>()) {
    setObjectName("FVisualizar");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    CriarMenu();

    auto* meio = new QHBoxLayout;
    rolagem_ = new QScrollArea(this);
    rolagem_->setObjectName("Rolagem");
    rolagem_->setBackgroundRole(QPalette::Dark);
    vista_ = new TImagemRaster;
    vista_->setObjectName("Imagem");
    rolagem_->setWidget(vista_);
    meio->addWidget(rolagem_, 1);
    legenda_ = new TLegendaRaster(this);
    meio->addWidget(legenda_, 0, Qt::AlignTop);
    v->addLayout(meio, 1);

    pnlAtributo_ = new QWidget(this);
    pnlAtributo_->setObjectName("pnlAtributo");
    auto* h = new QHBoxLayout(pnlAtributo_);
    h->setContentsMargins(6, 2, 6, 2);
    h->addWidget(new QLabel("Novo atributo:", pnlAtributo_));
    edtAtributo_ = new QLineEdit(pnlAtributo_);
    edtAtributo_->setObjectName("edtAtributo");
    edtAtributo_->installEventFilter(new TFiltroAtributo(edtAtributo_));
    h->addWidget(edtAtributo_);
    btnAlterar_ = new QPushButton("Alterar atributo", pnlAtributo_);
    btnAlterar_->setObjectName("btnAlterarAtributo");
    btnOutro_ = new QPushButton("Selecionar outro ponto", pnlAtributo_);
    btnOutro_->setObjectName("btnOutroPonto");
    h->addWidget(btnAlterar_);
    h->addWidget(btnOutro_);
    h->addStretch(1);
    pnlAtributo_->hide();
    v->addWidget(pnlAtributo_);

    status_ = new QStatusBar(this);
    status_->setObjectName("StatusBar1");
    status_->setSizeGripEnabled(false);
    auto painel = [this](const char* nome, int largura) {
        auto* l = new QLabel(this);
        l->setObjectName(nome);
        l->setMinimumWidth(largura);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        status_->addWidget(l);
        return l;
    };
    lblColuna_ = painel("lblColuna", 50);
    lblLinha_ = painel("lblLinha", 50);
    lblX_ = painel("lblX", 90);
    lblY_ = painel("lblY", 90);
    lblValor_ = painel("lblValor", 90);
    v->addWidget(status_);
    Ler(false, 0, 0);

    connect(vista_, &TImagemRaster::Leitura, this,
            [this](bool dentro, int c, int r, double, double) { Ler(dentro, c, r); });
    connect(vista_, &TImagemRaster::CelulaClicada, this, &TFVisualizar::SelecionarCelula);
    connect(edtAtributo_, &QLineEdit::textEdited, this, [this](const QString& t) {
        btnAlterar_->setEnabled(!t.isEmpty());
        btnOutro_->setEnabled(true);
    });
    connect(edtAtributo_, &QLineEdit::returnPressed, this, [this] { AplicarAtributo(); });
    connect(btnAlterar_, &QPushButton::clicked, this, [this] { AplicarAtributo(); });
    connect(btnOutro_, &QPushButton::clicked, this, &TFVisualizar::SelecionarOutroPonto);

    Registro().append(this);
}

TFVisualizar::~TFVisualizar() {
    Registro().removeAll(this);
    TFPropRaster::Remover(this);
}

QList<TFVisualizar*> TFVisualizar::Abertos() { return Registro(); }

bool FecharVisualizadores() {
    for (TFVisualizar* v : TFVisualizar::Abertos()) {
        QWidget* alvo = qobject_cast<QMdiSubWindow*>(v->parentWidget());
        if (!(alvo ? alvo : v)->close()) return false;
    }
    return true;
}

void TFVisualizar::CriarMenu() {
    auto* menu = new QMenuBar(this);
    menu->setObjectName("MenuVisualizar");
    menu->setNativeMenuBar(false);
    layout()->setMenuBar(menu);
    auto acao = [this, menu](const char* nome, const QString& texto, auto f) {
        auto* a = new QAction(texto, this);
        a->setObjectName(nome);
        connect(a, &QAction::triggered, this, [this, f] {
            try {
                f();
            } catch (const std::exception& e) {
                QApplication::restoreOverrideCursor();
                Dialogos().Erro(this, QString::fromUtf8(e.what()));
            }
        });
        menu->addAction(a);
        return a;
    };
    actZoomMais_ = acao("actZoomMais", "Zoom +", [this] { ZoomMais(); });
    actZoomMenos_ = acao("actZoomMenos", "Zoom -", [this] { ZoomMenos(); });
    actPropriedades_ = acao("actPropriedades", "Proprie&dades", [this] { Propriedades(); });
    actPaleta_ = acao("actPaleta", "Pa&leta", [this] { Paleta(); });
    // The rest in three short menus, so the bar fits the narrowest window.
    auto submenu = [menu](const char* nome, const QString& texto) {
        QMenu* m = menu->addMenu(texto);
        m->setObjectName(nome);
        return m;
    };
    auto mover = [menu](QMenu* m, QAction* a) {
        menu->removeAction(a);
        m->addAction(a);
    };
    QMenu* arquivo = submenu("mnuArquivo", "&Arquivo");
    actSalvarFigura_ = acao("actSalvarFigura", "Salvar &figura como ...", [this] { SalvarFigura(); });
    actSalvar_ = acao("actSalvar", "&Salvar imagem raster", [this] { SalvarRaster(); });
    actSalvarComo_ = acao("actSalvarComo", "Salvar imagem raster &como ...", [this] { SalvarRasterComo(); });
    actImprimir_ = acao("actImprimir", "Im&primir", [this] { Imprimir(); });
    for (QAction* a : {actSalvarFigura_, actSalvar_, actSalvarComo_}) mover(arquivo, a);
    arquivo->addSeparator();
    mover(arquivo, actImprimir_);
    QMenu* vetor = submenu("mnuVetor", "V&etor");
    actSobrepor_ = acao("actSobrepor", "S&obrepor arquivo vetor", [this] { SobreporVetor(); });
    actRemover_ = acao("actRemover", "&Remover arquivo vetor", [this] { RemoverVetor(); });
    actPropVetor_ = acao("actPropVetor", "Propriedades do &vetor", [this] { PropriedadesVetor(); });
    for (QAction* a : {actSobrepor_, actRemover_, actPropVetor_}) mover(vetor, a);
    QMenu* exibir = submenu("mnuExibir", "E&xibir");
    actAtributo_ = acao("actAtributo", "Alterar a&tributo", [this] { AlterarAtributo(); });
    actLegenda_ = acao("actLegenda", "Ocultar &legenda", [this] { AlternarLegenda(); });
    for (QAction* a : {actAtributo_, actLegenda_}) mover(exibir, a);
    actRemover_->setEnabled(false);
    actPropVetor_->setEnabled(false);
}

int TFVisualizar::Zoom() const { return vista_->Zoom(); }

void TFVisualizar::Abrir(const QString& raster, const QString& paleta) { Abrir(raster, paleta, Zoom()); }

void TFVisualizar::Abrir(const QString& raster, int paleta) { Abrir(raster, paleta, Zoom()); }

void TFVisualizar::Abrir(const QString& raster, int paleta, int zoom) {
    if (paleta < 0 || paleta > 4) paleta = 0;
    Abrir(raster, pastaPaletas_ + kPaletasPadrao[paleta], zoom);
}

void TFVisualizar::Abrir(const QString& raster, const QString& paleta, int zoom) {
    if (!ArquivoExiste(S(raster))) throw EVandoro("Erro. A imagem " + S(raster) + " não existe.");
    if (!ArquivoExiste(S(paleta))) throw EVandoro("Erro. O arquivo de paleta " + S(paleta) + " não existe.");
    TPaleta pal;
    pal.LoadFromFile(S(paleta));
    const TCursorEspera espera;
    auto img = std::make_unique<TImagem>(modo_);
    TProgressoBarra prog(barraProgresso_);
    img->SetProgresso(&prog);
    if (!img->LoadFromFile(S(raster))) throw EVandoro("Erro. A imagem " + S(raster) + " não existe.");
    img->SetProgresso(nullptr);
    imagem_ = std::move(img);
    paleta_ = pal;
    arquivo_ = raster;
    arquivoPaleta_ = paleta;
    edicoes_.Limpa();
    DefinirModificado(false);
    setWindowTitle(QFileInfo(raster).fileName());
    vista_->DefinirZoom(zoom > 0 ? zoom : 100);
    Renderizar();
    AtualizarZoom();
    if (vetor_) {
        // A new grid: the lines are mapped onto it again.
        vista_->DefinirLinhas(TImagemRaster::LinhasDe(*vetor_, TGradeMapa::De(*imagem_)), vista_->Rotulos());
    }
    TFPropRaster::Acrescentar(this);
}

void TFVisualizar::Renderizar() {
    TProgressoBarra prog(barraProgresso_);
    faixa_ = CalculaFaixa(*imagem_, &edicoes_, &prog);
    if (faixa_.algumValido) {
        // The window shows the range it colours, typed values included.
        switch (imagem_->CellType()) {
            case TTipoCelula::Byte:
                imagem_->SetMinValueByte(static_cast<uint8_t>(faixa_.min));
                imagem_->SetMaxValueByte(static_cast<uint8_t>(faixa_.max));
                break;
            case TTipoCelula::Inteiro:
                imagem_->SetMinValueInt(static_cast<int16_t>(faixa_.min));
                imagem_->SetMaxValueInt(static_cast<int16_t>(faixa_.max));
                break;
            default:
                imagem_->SetMinValueReal(static_cast<float>(faixa_.min));
                imagem_->SetMaxValueReal(static_cast<float>(faixa_.max));
                break;
        }
    }
    QImage figura(std::max(imagem_->Columns(), 1), std::max(imagem_->Rows(), 1), QImage::Format_RGB32);
    figura.fill(Qt::white);
    RenderizaImagem(*imagem_, paleta_, faixa_, reinterpret_cast<uint32_t*>(figura.bits()),
                    static_cast<int>(figura.bytesPerLine() / 4), &edicoes_, &prog);
    vista_->DefinirImagem(figura, TGradeMapa::De(*imagem_));
    legenda_->Definir(paleta_, faixa_);
}

void TFVisualizar::AtualizarZoom() {
    actZoomMais_->setEnabled(Zoom() < kZoomMaximo);
    actZoomMenos_->setEnabled(Zoom() > kZoomMinimo);
}

void TFVisualizar::ZoomMais() {
    if (Zoom() >= kZoomMaximo) return;
    QScrollBar *hb = rolagem_->horizontalScrollBar(), *vb = rolagem_->verticalScrollBar();
    // The point in the middle of the view stays there.
    const double cx = (hb->value() + rolagem_->viewport()->width() / 2.0) / std::max(1, vista_->width());
    const double cy = (vb->value() + rolagem_->viewport()->height() / 2.0) / std::max(1, vista_->height());
    vista_->DefinirZoom(::ZoomMais(Zoom()));
    hb->setValue(static_cast<int>(cx * vista_->width() - rolagem_->viewport()->width() / 2.0));
    vb->setValue(static_cast<int>(cy * vista_->height() - rolagem_->viewport()->height() / 2.0));
    AtualizarZoom();
}

void TFVisualizar::ZoomMenos() {
    if (Zoom() <= kZoomMinimo) return;
    QScrollBar *hb = rolagem_->horizontalScrollBar(), *vb = rolagem_->verticalScrollBar();
    const double cx = (hb->value() + rolagem_->viewport()->width() / 2.0) / std::max(1, vista_->width());
    const double cy = (vb->value() + rolagem_->viewport()->height() / 2.0) / std::max(1, vista_->height());
    vista_->DefinirZoom(::ZoomMenos(Zoom()));
    hb->setValue(static_cast<int>(cx * vista_->width() - rolagem_->viewport()->width() / 2.0));
    vb->setValue(static_cast<int>(cy * vista_->height() - rolagem_->viewport()->height() / 2.0));
    AtualizarZoom();
}

QSize TFVisualizar::TamanhoIdeal() const {
    const int w = TamanhoExibido(imagem_->Columns(), Zoom()) + 120;
    const int h = TamanhoExibido(imagem_->Rows(), Zoom()) + 70 + pnlAtributo_->sizeHint().height();
    return {std::max(w, 460), h};
}

QString TFVisualizar::TextoValor(int coluna, int linha) const {
    const long long i = imagem_->Index({coluna, linha});
    float v = 0;
    if (!edicoes_.Valor(i, v)) v = static_cast<float>(imagem_->GetValue(i));
    if (imagem_->IsFlag(v)) return {};
    return Q(FloatToStrG(v, 7));
}

void TFVisualizar::Ler(bool dentro, int coluna, int linha) {
    if (!dentro || coluna >= imagem_->Columns() || linha >= imagem_->Rows()) {
        lblColuna_->setText("0");
        lblLinha_->setText("0");
        lblX_->clear();
        lblY_->clear();
        lblValor_->clear();
        vista_->setToolTip({});
        emit Leitura({});
        return;
    }
    const TGradeMapa g = TGradeMapa::De(*imagem_);
    lblColuna_->setText(QString::number(coluna));
    lblLinha_->setText(QString::number(linha));
    lblX_->setText(Q(FormatFloat("0.###", g.XDoCentro(coluna))));
    lblY_->setText(Q(FormatFloat("0.###", g.YDoCentro(linha))));
    lblValor_->setText(TextoValor(coluna, linha));
    const QString dica = QString("Coluna: %1; Linha: %2; ").arg(coluna).arg(linha) + lblValor_->text();
    vista_->setToolTip(dica);
    emit Leitura(dica);
}

void TFVisualizar::DefinirModificado(bool m) {
    modificado_ = m;
    setWindowModified(m);
}

// ---- menu commands ----------------------------------------------------------------------

void TFVisualizar::Propriedades() { TFPropRaster::Mostrar(this); }

void TFVisualizar::PropriedadesVetor() {
    if (!vetor_) return;
    TFPropVetor dlg(*vetor_, QFileInfo(arquivoVetor_).fileName(), this);
    Dialogos().Executar(dlg);
}

void TFVisualizar::Paleta() {
    TFAbrirArq dlg(pastaPaletas_, {}, this);
    dlg.ModoPaleta(arquivo_, arquivoPaleta_);
    if (Dialogos().Executar(dlg) != QDialog::Accepted) return;
    TrocarPaleta(dlg.Paleta());
}

void TFVisualizar::TrocarPaleta(const QString& arquivoPaleta) {
    TPaleta nova;
    nova.LoadFromFile(S(arquivoPaleta));  // a damaged file leaves the palette shown
    paleta_ = nova;
    arquivoPaleta_ = arquivoPaleta;
    QImage figura = vista_->Imagem();
    RenderizaImagem(*imagem_, paleta_, faixa_, reinterpret_cast<uint32_t*>(figura.bits()),
                    static_cast<int>(figura.bytesPerLine() / 4), &edicoes_);
    vista_->DefinirImagem(figura, TGradeMapa::De(*imagem_));
    legenda_->Definir(paleta_, faixa_);
}

void TFVisualizar::Imprimir() {
    QPrinter& impressora = ImpressoraPrograma();
    if (!Dialogos().Imprimir(this, impressora)) return;
    impressora.setDocName(QFileInfo(arquivo_).fileName());
    const QImage figura = vista_->Figura();
    QPainter p;
    if (!p.begin(&impressora)) throw EVandoro("Não foi possível imprimir: a impressora não está disponível.");
    const QRect pagina = impressora.pageLayout().paintRectPixels(impressora.resolution());
    QSize s = figura.size();
    if (s.width() >= s.height())
        s = QSize(pagina.width() - 50, static_cast<int>(double(s.height()) * (pagina.width() - 50) / s.width()));
    else
        s = QSize(static_cast<int>(double(s.width()) * (pagina.height() - 50) / s.height()), pagina.height() - 50);
    const QRect alvo((pagina.width() - s.width()) / 2, (pagina.height() - s.height()) / 2, s.width(), s.height());
    p.drawImage(alvo, figura);
    p.end();
}

void TFVisualizar::AlterarAtributo() {
    editando_ = !editando_;
    celulaEscolhida_ = false;
    actAtributo_->setText(editando_ ? "Parar altereção de a&tributos" : "Alterar a&tributo");
    if (editando_) {
        vista_->setCursor(Qt::CrossCursor);
    } else {
        vista_->unsetCursor();
        pnlAtributo_->hide();
    }
}

void TFVisualizar::SelecionarCelula(int coluna, int linha) {
    if (!editando_ || celulaEscolhida_) return;
    celulaEscolhida_ = true;
    colEdit_ = coluna;
    linEdit_ = linha;
    lblColuna_->setText(QString::number(coluna));
    lblLinha_->setText(QString::number(linha));
    edtAtributo_->clear();
    btnAlterar_->setEnabled(false);
    btnOutro_->setEnabled(false);
    pnlAtributo_->show();
    edtAtributo_->setFocus();
    // Waiting for the value: clicks on the image do nothing until another point is asked for.
    vista_->setCursor(Qt::ForbiddenCursor);
}

bool TFVisualizar::AplicarAtributo() {
    if (!celulaEscolhida_) return false;
    float v = 0;
    try {
        v = ValorAtributo(*imagem_, S(edtAtributo_->text()));
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return false;
    }
    edicoes_.Define(imagem_->Index({colEdit_, linEdit_}), v);
    DefinirModificado(true);
    Renderizar();
    return true;
}

void TFVisualizar::SelecionarOutroPonto() {
    celulaEscolhida_ = false;
    edtAtributo_->clear();
    btnAlterar_->setEnabled(false);
    btnOutro_->setEnabled(false);
    if (editando_) vista_->setCursor(Qt::CrossCursor);
}

bool TFVisualizar::Gravar(const QString& nome) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        GravaComEdicoes(*imagem_, edicoes_, S(nome));
        // The viewer goes on with what was written.
        auto img = std::make_unique<TImagem>(modo_);
        if (!img->LoadFromFile(S(nome))) throw EVandoro("O arquivo " + S(nome) + " não existe.");
        imagem_ = std::move(img);
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        Dialogos().Erro(this, QString::fromUtf8(e.what()));
        return false;
    }
    arquivo_ = nome;
    edicoes_.Limpa();
    DefinirModificado(false);
    Renderizar();
    QApplication::restoreOverrideCursor();
    return true;
}

bool TFVisualizar::SalvarRaster() { return Gravar(arquivo_); }

bool TFVisualizar::SalvarRasterComo() {
    QString nome = Dialogos().ArquivoSalvar(this, "Salvar imagem raster como...", QFileInfo(arquivo_).absolutePath(),
                                            "Imagens do Idrisi 16 bits (*.img);;Imagens do ArcView (*.flt);;"
                                            "Imagens do ArcView (*.asc);;Imagens do Surfer (*.grd)");
    if (nome.isEmpty()) return false;
    if (QFileInfo(nome).suffix().isEmpty()) nome += ".img";
    if (!Gravar(nome)) return false;
    setWindowTitle(QFileInfo(nome).fileName());
    emit Renomeado(this);
    TFPropRaster::Atualizar(this);
    return true;
}

void TFVisualizar::SalvarFigura() {
    QString nome = Dialogos().ArquivoSalvar(this, "Salvar Imagem como ...", QFileInfo(arquivo_).absolutePath(),
                                            "Bitmap (*.bmp);;JPEG (*.jpg)");
    if (nome.isEmpty()) return;
    if (QFileInfo(nome).suffix().isEmpty()) nome += ".bmp";
    const bool jpeg = nome.endsWith(".JPG", Qt::CaseInsensitive);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter w(&buffer, jpeg ? "JPG" : "BMP");
    if (jpeg) w.setQuality(90);
    if (!w.write(vista_->Figura()))
        throw EVandoro("Não foi possível gravar a figura " + S(QFileInfo(nome).fileName()) + ": " +
                       S(w.errorString()) + ".");
    GravarArquivoInteiro(S(nome), std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

bool TFVisualizar::SobreporVetor(const QString& arquivo) {
    QString nome = arquivo;
    if (nome.isEmpty())
        nome = Dialogos().ArquivoAbrir(this, "Sobrepor arquivo vetor", QFileInfo(arquivo_).absolutePath(),
                                       "*.vet (*.vet)");
    if (nome.isEmpty()) return false;
    auto vet = std::make_unique<TVET>();
    try {
        vet->Load(S(nome));
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return false;
    }
    const bool rotulos = ArquivoExiste(TrocaExtensao(S(nome), ".bdt"));
    vista_->DefinirLinhas(TImagemRaster::LinhasDe(*vet, TGradeMapa::De(*imagem_)), rotulos);
    vetor_ = std::move(vet);
    arquivoVetor_ = nome;
    actSobrepor_->setEnabled(false);
    actRemover_->setEnabled(true);
    actPropVetor_->setEnabled(true);
    return true;
}

void TFVisualizar::RemoverVetor() {
    vista_->RemoverLinhas();
    vetor_.reset();
    arquivoVetor_.clear();
    actSobrepor_->setEnabled(true);
    actRemover_->setEnabled(false);
    actPropVetor_->setEnabled(false);
}

void TFVisualizar::AlternarLegenda() {
    const bool mostrar = legenda_->isHidden();
    legenda_->setVisible(mostrar);
    actLegenda_->setText(mostrar ? "Ocultar &legenda" : "Visualizar legenda");
}

void TFVisualizar::closeEvent(QCloseEvent* e) {
    if (modificado_) {
        switch (Dialogos().SimNaoCancelar(this, "Deseja salvar alterações em " + windowTitle())) {
            case TResposta::Sim:
                if (!SalvarRaster()) {
                    e->ignore();
                    return;
                }
                break;
            case TResposta::Nao:
                DefinirModificado(false);  // asked once: the edits are given up
                break;
            default:
                e->ignore();
                return;
        }
    }
    e->accept();
}

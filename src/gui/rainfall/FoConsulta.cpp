#include "gui/rainfall/FoConsulta.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>
#include <exception>

#include "core/common/Numeros.h"
#include "core/rainfall/RelatorioQuenda.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Dialogos.h"
#include "gui/common/EditCoordenada.h"
#include "gui/rainfall/FoAutor.h"
#include "gui/rainfall/FoRelatQuenda.h"

namespace {

QLabel* RotuloMapa(QWidget* pai, const char* nome) {
    auto* l = new QLabel(pai);
    l->setObjectName(nome);
    l->setStyleSheet("QLabel { color: black; background: rgba(255,255,255,200); padding: 0 2px; }");
    l->hide();
    return l;
}

void Posicionar(QLabel* l, const TRotuloMapa& r) {
    l->setVisible(r.Visivel);
    if (!r.Visivel) return;
    l->setText(Q(r.Texto));
    l->adjustSize();
    l->move(r.AncoraDireita ? r.X - l->width() : r.X, r.Y);
}

QLineEdit* Caixa(const char* nome, bool leitura) {
    auto* e = new QLineEdit;
    e->setObjectName(nome);
    e->setReadOnly(leitura);
    return e;
}

}  // namespace

// ---------------------------------------------------------------- TMapaQuenda

TMapaQuenda::TMapaQuenda(QWidget* pai) : QWidget(pai) {
    setMouseTracking(true);
    setFixedSize(LarguraBitmapEstado, AlturaBitmapEstado);
}

void TMapaQuenda::SetImagem(const TBitmapRGB& b) {
    bitmap_ = b;
    imagem_ = ImagemDe(b);
    if (!imagem_.isNull()) setFixedSize(imagem_.size());
    update();
}

void TMapaQuenda::SetMira(const TMiraMapa& m) {
    mira_ = m;
    update();
}

QSize TMapaQuenda::sizeHint() const { return imagem_.isNull() ? QSize(LarguraBitmapEstado, AlturaBitmapEstado) : imagem_.size(); }

void TMapaQuenda::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!imagem_.isNull()) p.drawImage(0, 0, imagem_);
    if (mira_.Visivel) {
        p.setPen(QPen(Qt::red, 1));
        p.drawLine(mira_.X, 0, mira_.X, height());
        p.drawLine(0, mira_.Y, width(), mira_.Y);
    }
}

void TMapaQuenda::mouseMoveEvent(QMouseEvent* e) {
    const QPoint q = e->position().toPoint();
    const TPonteiroMapa t = Ponteiro ? Ponteiro(q.x(), q.y()) : TPonteiroMapa::Seta;
    setCursor(t == TPonteiroMapa::Mao ? Qt::PointingHandCursor : t == TPonteiroMapa::Cruz ? Qt::CrossCursor : Qt::ArrowCursor);
}

void TMapaQuenda::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint q = e->position().toPoint();
    emit Soltou(q.x(), q.y());
}

// ---------------------------------------------------------------- TfrmFoConsulta

TfrmFoConsulta::TfrmFoConsulta(const std::string& pastaPrograma, QWidget* pai)
    : QDialog(pai),
      pastaPrograma_(pastaPrograma.empty() || pastaPrograma.back() == '/' ? pastaPrograma : pastaPrograma + "/"),
      c_(PastaBancoChuva(pastaPrograma)) {
    setObjectName("frmFoConsulta");
    setWindowTitle(kLegendaConsulta);
    Montar();
}

void TfrmFoConsulta::Montar() {
    auto* raiz = new QHBoxLayout(this);

    // Left: state, search and the two lists.
    auto* esquerda = new QVBoxLayout;
    auto* lblEstados = new QLabel("&Estados :");
    cbEstados_ = new QComboBox;
    cbEstados_->setObjectName("cbEstados");
    for (int i = 0; i < kNumEstados; ++i) cbEstados_->addItem(Q(TEstado::Nome(i)));
    cbEstados_->setMaxVisibleItems(kNumEstados);
    lblEstados->setBuddy(cbEstados_);
    edtBusca_ = new QLineEdit;
    edtBusca_->setObjectName("edtBusca");
    edtBusca_->setPlaceholderText("Procurar estação ou localidade");
    edtBusca_->setClearButtonEnabled(true);
    auto* lblBusca = new QLabel("Pr&ocurar :");
    lblBusca->setBuddy(edtBusca_);
    lbEstacoes_ = new QListWidget;
    lbEstacoes_->setObjectName("lbEstacoes");
    auto* lblEstacoes = new QLabel("E&stações :");
    lblEstacoes->setBuddy(lbEstacoes_);
    lbLocalidades_ = new QListWidget;
    lbLocalidades_->setObjectName("lbLocalidades");
    lblLocalidades_ = new QLabel("&Localidades :");
    lblLocalidades_->setBuddy(lbLocalidades_);
    for (QWidget* w : std::initializer_list<QWidget*>{lblEstados, cbEstados_, lblBusca, edtBusca_, lblEstacoes,
                                                      lbEstacoes_, lblLocalidades_, lbLocalidades_})
        esquerda->addWidget(w);
    auto* painelEsquerdo = new QWidget;
    painelEsquerdo->setLayout(esquerda);
    painelEsquerdo->setFixedWidth(260);
    esquerda->setContentsMargins(0, 0, 0, 0);
    raiz->addWidget(painelEsquerdo);

    // Centre: the map pages and the equation page.
    pcPaginas_ = new QTabWidget;
    pcPaginas_->setObjectName("pcPaginas");
    pilhaMapas_ = new QStackedWidget;
    pilhaMapas_->setObjectName("pilhaMapas");
    imgBrasil_ = new TMapaQuenda;
    imgBrasil_->setObjectName("imgBrasil");
    imgBrasil_->setFixedSize(LarguraBitmapBrasil, AlturaBitmapBrasil);
    imgEstado_ = new TMapaQuenda;
    imgEstado_->setObjectName("imgEstado");
    for (TMapaQuenda* m : {imgBrasil_, imgEstado_}) {
        auto* pagina = new QWidget;
        auto* l = new QVBoxLayout(pagina);
        l->addWidget(m, 0, Qt::AlignCenter);
        pilhaMapas_->addWidget(pagina);
    }
    lblLatitude_ = RotuloMapa(imgEstado_, "lblLatitude");
    lblLongitude_ = RotuloMapa(imgEstado_, "lblLongitude");
    lblNomeBrasil_ = RotuloMapa(imgBrasil_, "lblNomeBrasil");
    lblLatBrasil_ = RotuloMapa(imgBrasil_, "lblLatBrasil");
    lblLonBrasil_ = RotuloMapa(imgBrasil_, "lblLonBrasil");
    imgBrasil_->Ponteiro = [this](int x, int y) {
        const TBitmapRGB& b = imgBrasil_->Bitmap();
        return b.Dentro(x, y) ? c_.PonteiroBrasil(b.Pixel(x, y)) : TPonteiroMapa::Seta;
    };
    imgEstado_->Ponteiro = [this](int x, int y) { return c_.PonteiroEstado(x, y); };
    connect(imgBrasil_, &TMapaQuenda::Soltou, this, [this](int x, int y) {
        const TBitmapRGB& b = imgBrasil_->Bitmap();
        const TCor cor = b.Dentro(x, y) ? b.Pixel(x, y) : 0xFFFFFF;
        Acao([&] { c_.CliqueBrasil(cor); });
    });
    connect(imgEstado_, &TMapaQuenda::Soltou, this, [this](int x, int y) {
        if (c_.PonteiroEstado(x, y) == TPonteiroMapa::Cruz) Acao([&] { c_.PontoNoMapa(x, y); });
    });
    pcPaginas_->addTab(pilhaMapas_, "&Mapa");

    auto* equacao = new QWidget;
    equacao->setObjectName("tsEquacao");
    auto* le = new QVBoxLayout(equacao);
    lblEquacao_ = new QLabel;
    lblEquacao_->setObjectName("lblEquacao");
    lblEquacao_->setTextFormat(Qt::RichText);
    tabIntensidades_ = new QTableWidget;
    tabIntensidades_->setObjectName("tabIntensidades");
    tabIntensidades_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabIntensidades_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tabIntensidades_->verticalHeader()->setDefaultSectionSize(20);
    tabIntensidades_->setFixedHeight(9 * 20 + 28);
    grafico_ = new QChartView;
    grafico_->setObjectName("grafico");
    grafico_->setRenderHint(QPainter::Antialiasing);
    le->addWidget(lblEquacao_);
    le->addWidget(tabIntensidades_);
    le->addWidget(grafico_, 1);
    pcPaginas_->addTab(equacao, "E&quação");
    pcPaginas_->setMinimumSize(LarguraBitmapBrasil + 24, AlturaBitmapBrasil + 48);
    raiz->addWidget(pcPaginas_, 1);

    // Right: the place, coordinates, parameters, source and the window's buttons.
    auto* direita = new QVBoxLayout;
    lblCidade_ = new QLabel;
    lblCidade_->setObjectName("lblCidade");
    lblCidade_->setWordWrap(true);
    lblCidade_->setStyleSheet("font-weight: bold");
    direita->addWidget(lblCidade_);

    auto* grpCoord = new QGroupBox("Coordenadas");
    auto* fc = new QFormLayout(grpCoord);
    edtLatitude_ = new TEditCoordenada;
    edtLatitude_->setObjectName("edtLatitude");
    edtLongitude_ = new TEditCoordenada;
    edtLongitude_->setObjectName("edtLongitude");
    fc->addRow("Lat&itude (S) :", edtLatitude_);
    fc->addRow("Lon&gitude (O) :", edtLongitude_);
    btnCalcular_ = new QPushButton("Calc&ular");
    btnCalcular_->setObjectName("btnCalcular");
    fc->addRow(btnCalcular_);
    connect(btnCalcular_, &QPushButton::clicked, this, [this] {
        const std::string lat = S(edtLatitude_->Texto()), lon = S(edtLongitude_->Texto());
        Acao([&] { c_.Calcular(lat, lon); });
    });
    direita->addWidget(grpCoord);

    auto* grpPar = new QGroupBox("Parâmetros da equação");
    auto* fp = new QFormLayout(grpPar);
    edtK_ = Caixa("edtK", true);
    edtA_ = Caixa("edtA", true);
    edtB_ = Caixa("edtB", true);
    edtC_ = Caixa("edtC", true);
    fp->addRow("K :", edtK_);
    fp->addRow("a :", edtA_);
    fp->addRow("b :", edtB_);
    fp->addRow("c :", edtC_);
    direita->addWidget(grpPar);

    auto* lblFonte = new QLabel("Fonte :");
    btnAutor_ = new QPushButton(kFonteSemCitacao);
    btnAutor_->setObjectName("btnAutor");
    connect(btnAutor_, &QPushButton::clicked, this, [this] { Fonte(); });
    direita->addWidget(lblFonte);
    direita->addWidget(btnAutor_);
    lblAviso_ = new QLabel(kAvisoGoias);
    lblAviso_->setObjectName("lblAviso");
    lblAviso_->setWordWrap(true);
    lblAviso_->setStyleSheet("color: #990000");
    lblAviso_->hide();
    direita->addWidget(lblAviso_);
    direita->addStretch(1);

    auto botao = [&](const char* texto, const char* nome) {
        auto* b = new QPushButton(texto);
        b->setObjectName(nome);
        b->setAutoDefault(false);
        direita->addWidget(b);
        return b;
    };
    connect(botao("&Relatório", "btnRelatorio"), &QPushButton::clicked, this, [this] { Relatorio(); });
    connect(botao("Aju&da", "btnAjuda"), &QPushButton::clicked, this, [this] { Ajuda(); });
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] { Ajuda(); });
    connect(botao("Ca&ncelar", "btnCancelar"), &QPushButton::clicked, this, &QDialog::reject);
    connect(botao("Fec&har", "btnFechar"), &QPushButton::clicked, this, [this] { Fechar(); });
    auto* painelDireito = new QWidget;
    painelDireito->setLayout(direita);
    direita->setContentsMargins(0, 0, 0, 0);
    painelDireito->setFixedWidth(220);
    raiz->addWidget(painelDireito);

    connect(cbEstados_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!sincronizando_ && i >= 0) Acao([&] { c_.MudarEstado(i); });
    });
    connect(edtBusca_, &QLineEdit::textChanged, this, [this](const QString& t) {
        c_.SetFiltro(S(t));
        Atualizar();
    });
    connect(lbEstacoes_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* it) {
        if (!sincronizando_ && it) Acao([&] { c_.EscolherEstacao(it->data(Qt::UserRole).toInt()); });
    });
    connect(lbLocalidades_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* it) {
        if (!sincronizando_ && it) Acao([&] { c_.EscolherLocalidade(it->data(Qt::UserRole).toInt()); });
    });
}

void TfrmFoConsulta::SetTextosParametros(const std::string& k, const std::string& a, const std::string& b,
                                         const std::string& c) {
    c_.SetTextosParametros(k, a, b, c);
    Atualizar();
}

void TfrmFoConsulta::Acao(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        Dialogos().Erro(this, Q(e.what()));
    }
    Atualizar();
}

void TfrmFoConsulta::Ativar() {
    if (c_.Ativado()) return;
    try {
        c_.Carregar();
        imgBrasil_->SetImagem(LerBMP(c_.PastaBanco() + "Mapas/" + ArquivoMapaBrasil));
    } catch (const std::exception& e) {
        Dialogos().Erro(this, Q(e.what()));
    }
    if (c_.ShowAbout()) Dialogos().Informacao(this, kTextoSobreQuenda);
    Acao([this] { c_.Ativar(); });
}

bool TfrmFoConsulta::ExecutarModal() {
    c_.Carregar();
    Ativar();
    return Dialogos().Executar(*this) == QDialog::Accepted;
}

void TfrmFoConsulta::AtualizarListas() {
    auto encher = [&](QListWidget* lista, const std::vector<TLinhaConsulta>& linhas, int escolhido) {
        const bool refazer = lista->count() != static_cast<int>(linhas.size()) ||
                             [&] {
                                 for (int i = 0; i < lista->count(); ++i)
                                     if (lista->item(i)->data(Qt::UserRole).toInt() != linhas[i].Indice ||
                                         S(lista->item(i)->text()) != linhas[i].Nome)
                                         return true;
                                 return false;
                             }();
        if (refazer) {
            lista->clear();
            for (const auto& l : linhas) {
                auto* it = new QListWidgetItem(Q(l.Nome));
                it->setData(Qt::UserRole, l.Indice);
                lista->addItem(it);
            }
        }
        lista->setCurrentRow(-1);
        for (int i = 0; i < lista->count(); ++i)
            if (lista->item(i)->data(Qt::UserRole).toInt() == escolhido) {
                lista->setCurrentRow(i);
                lista->scrollToItem(lista->item(i));
                break;
            }
    };
    encher(lbEstacoes_, c_.LinhasEstacoes(), c_.IndEstacao());
    encher(lbLocalidades_, c_.LinhasLocalidades(), c_.IndLocalidade());
    lbLocalidades_->setVisible(c_.TemLocalidades());
    lblLocalidades_->setVisible(c_.TemLocalidades());
}

void TfrmFoConsulta::Atualizar() {
    sincronizando_ = true;
    setWindowTitle(Q(c_.Legenda()));
    const int e = c_.IndEstado();
    cbEstados_->setCurrentIndex(e >= 0 && e < kNumEstados && !c_.StrEstado().empty() ? e : -1);
    AtualizarListas();

    const bool estado = c_.Pagina() == TPaginaConsulta::Estado;
    pilhaMapas_->setCurrentIndex(estado ? 1 : 0);
    if (estado && (imgEstado_->Bitmap().Largura() != c_.BitmapEstado().Largura() ||
                   imgEstado_->property("sigla").toString() != c_.Mapa()->Sigla)) {
        imgEstado_->SetImagem(c_.BitmapEstado());
        imgEstado_->setProperty("sigla", QString(c_.Mapa()->Sigla));
    }
    imgEstado_->SetMira(estado ? c_.Mira() : TMiraMapa{});
    Posicionar(lblLatitude_, estado ? c_.RotuloLatitude() : TRotuloMapa{});
    Posicionar(lblLongitude_, estado ? c_.RotuloLongitude() : TRotuloMapa{});
    Posicionar(lblNomeBrasil_, estado ? TRotuloMapa{} : c_.RotuloNome());
    Posicionar(lblLatBrasil_, estado ? TRotuloMapa{} : c_.RotuloLatitude());
    Posicionar(lblLonBrasil_, estado ? TRotuloMapa{} : c_.RotuloLongitude());

    edtLatitude_->SetTexto(Q(c_.CaixaLatitude().empty() ? kCoordenadaZero : c_.CaixaLatitude()));
    edtLongitude_->SetTexto(Q(c_.CaixaLongitude().empty() ? kCoordenadaZero : c_.CaixaLongitude()));
    edtLatitude_->setEnabled(c_.CoordenadasHabilitadas());
    edtLongitude_->setEnabled(c_.CoordenadasHabilitadas());
    btnCalcular_->setEnabled(c_.CoordenadasHabilitadas());
    edtK_->setText(Q(c_.TextoK()));
    edtA_->setText(Q(c_.TextoA()));
    edtB_->setText(Q(c_.TextoB()));
    edtC_->setText(Q(c_.TextoC()));
    // A citation such as "Silva & Souza" is text, not an accelerator.
    btnAutor_->setText(Q(c_.Fonte()).replace(QLatin1Char('&'), QStringLiteral("&&")));
    btnAutor_->setEnabled(c_.FonteHabilitada());
    lblAviso_->setVisible(c_.AvisoGoiasVisivel());
    lblCidade_->setText(Q(c_.StrCidade()));
    AtualizarEquacao();
    sincronizando_ = false;
}

void TfrmFoConsulta::AtualizarEquacao() {
    TTabelaIntensidades t;
    const bool tem = c_.Intensidades(t);
    lblEquacao_->setText(tem ? Q("i = K·Tr<sup>a</sup> / (t + b)<sup>c</sup> &nbsp;&nbsp; K = " + c_.TextoK() +
                                 ", a = " + c_.TextoA() + ", b = " + c_.TextoB() + ", c = " + c_.TextoC())
                             : QString("i = K·Tr<sup>a</sup> / (t + b)<sup>c</sup>"));
    tabIntensidades_->clear();
    tabIntensidades_->setRowCount(tem ? static_cast<int>(t.Duracao.size()) : 0);
    tabIntensidades_->setColumnCount(tem ? static_cast<int>(t.Tr.size()) : 0);
    QChart* grafico = new QChart;
    grafico->legend()->setAlignment(Qt::AlignRight);
    grafico->setMargins(QMargins(4, 4, 4, 4));
    if (tem) {
        QStringList colunas, linhas;
        for (double tr : t.Tr) colunas << Q("Tr " + FloatToStr(tr) + " anos");
        for (double d : t.Duracao) linhas << Q(FloatToStr(d) + " min");
        tabIntensidades_->setHorizontalHeaderLabels(colunas);
        tabIntensidades_->setVerticalHeaderLabels(linhas);
        auto* eixoX = new QLogValueAxis;
        eixoX->setBase(10);
        eixoX->setLabelFormat("%g");
        eixoX->setTitleText("Duração (min)");
        eixoX->setRange(t.Duracao.front(), t.Duracao.back());
        eixoX->setMinorTickCount(8);
        auto* eixoY = new QValueAxis;
        eixoY->setTitleText("i (mm/h)");
        eixoY->setLabelFormat("%.0f");
        grafico->addAxis(eixoX, Qt::AlignBottom);
        grafico->addAxis(eixoY, Qt::AlignLeft);
        double maior = 0;
        for (size_t r = 0; r < t.Tr.size(); ++r) {
            auto* s = new QLineSeries;
            s->setName(Q("Tr " + FloatToStr(t.Tr[r]) + " anos"));
            static const QColor cores[] = {QColor(QRgb(0x1f77b4)), QColor(QRgb(0x2ca02c)), QColor(QRgb(0xff7f0e)),
                                           QColor(QRgb(0x9467bd)), QColor(QRgb(0xd62728)), QColor(QRgb(0x000000))};
            s->setPen(QPen(cores[r % 6], 2));
            for (size_t d = 0; d < t.Duracao.size(); ++d) {
                auto* it = new QTableWidgetItem(Q(FormatFloat("0.0", t.I[r][d])));
                it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                it->setData(Qt::UserRole, t.I[r][d]);
                tabIntensidades_->setItem(static_cast<int>(d), static_cast<int>(r), it);
                s->append(t.Duracao[d], t.I[r][d]);
                maior = std::max(maior, t.I[r][d]);
            }
            grafico->addSeries(s);
            s->attachAxis(eixoX);
            s->attachAxis(eixoY);
        }
        eixoY->setRange(0, maior > 0 ? maior * 1.05 : 1);
        eixoY->applyNiceNumbers();
    }
    QChart* velho = grafico_->chart();
    grafico_->setChart(grafico);
    delete velho;
}

void TfrmFoConsulta::Ajuda() { AbrirAjuda(this, c_.HelpContext() > 0 ? c_.HelpContext() : 7); }

void TfrmFoConsulta::Fonte() {
    const std::string f = c_.Fonte();
    if (f == kFonteInterpolacao) {
        Dialogos().Informacao(this, Q(c_.Banco().TextoInterpolacao()));
        return;
    }
    TReferencia ref;
    if (!LerReferencia(c_.PastaBanco(), f, ref)) return;
    TfrmFoAutor autor(f, ref, this);
    Dialogos().Executar(autor);
}

void TfrmFoConsulta::Relatorio() {
    try {
        TOpcoesRelatorio o;
        o.PastaPrograma = pastaPrograma_;
        const std::string html = RelatorioQuenda(DadosRelatorioQuenda(c_), o);
        TBitmapRGB b;
        const QImage mapa = c_.MapaRelatorio(b) ? ImagemDe(b) : QImage();
        TfrmFoRelatQuenda r(Q(html), mapa, this);
        Dialogos().Executar(r);
    } catch (const std::exception& e) {
        Dialogos().Erro(this, Q(e.what()));
    }
}

void TfrmFoConsulta::Fechar() {
    try {
        c_.Fechar();
    } catch (const std::exception& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    accept();
}

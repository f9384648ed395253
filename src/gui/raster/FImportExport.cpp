#include "gui/raster/FImportExport.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <exception>

#include "core/raster/ConversaoVetor.h"
#include "core/raster/Declividade.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Dialogos.h"
#include "gui/common/ExtensaoPadrao.h"
#include "gui/raster/FerramentaRaster.h"

namespace {
const char* const kFiltroIdrisi = "Arquivo vetor do Idrisi (*.vec)|*.vec";
const char* const kFiltroSurfer = "Arquivo vetor do Surfer (*.txt)|*.txt";
const char* const kFiltroSurferSaida = "Arquivo vetor do surfer (*.txt)|*.txt";
const char* const kFiltroVet = "Arquivo vetor do Vandoro 2.0 (*.vet)|*.vet";
}  // namespace

TFImportExport::TFImportExport(QWidget* pai, TDirecao direcao) : QDialog(pai) {
    setObjectName("FImportExport");
    SetDirecao(direcao);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto radio = [this](const char* nome, const QString& texto) {
        auto* r = new QRadioButton(texto, this);
        r->setObjectName(nome);
        return r;
    };
    auto botao = [this](const char* nome, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(nome);
        b->setAutoDefault(false);
        return b;
    };
    auto campo = [this](const char* nome) {
        auto* e = new QLineEdit(this);
        e->setObjectName(nome);
        e->setMinimumWidth(300);
        return e;
    };

    gbFormato_ = new QGroupBox(QStringLiteral(" Importar arquivo vetor do "), this);
    gbFormato_->setObjectName("gbFormato");
    RadioButtonIdrisi_ = radio("RadioButtonIdrisi", QStringLiteral("Idrisi"));
    RadioButtonSurfer_ = radio("RadioButtonSurfer", QStringLiteral("Surfer"));
    RadioButtonIdrisi_->setChecked(true);
    auto* hf = new QHBoxLayout(gbFormato_);
    hf->addWidget(RadioButtonIdrisi_);
    hf->addWidget(RadioButtonSurfer_);
    hf->addStretch();

    gbUnidade_ = new QGroupBox(QStringLiteral(" Unidade de distância "), this);
    gbUnidade_->setObjectName("gbUnidade");
    RadioButtonMetro_ = radio("RadioButtonMetro", QStringLiteral("Metro"));
    RadioButtonKilom_ = radio("RadioButtonKilom", QStringLiteral("Quilômetro"));
    RadioButtonMetro_->setChecked(true);
    auto* hu = new QHBoxLayout(gbUnidade_);
    hu->addWidget(RadioButtonMetro_);
    hu->addWidget(RadioButtonKilom_);
    hu->addStretch();
    gbUnidade_->setVisible(false);

    gbTitulo_ = new QGroupBox(QStringLiteral(" Título do arquivo "), this);
    gbTitulo_->setObjectName("gbTitulo");
    edtTituloArq_ = campo("edtTituloArq");
    auto* ht = new QHBoxLayout(gbTitulo_);
    ht->addWidget(edtTituloArq_);

    // The fields show names without their folder; the full names are kept apart.
    edtArqEntrada_ = campo("edtArqEntrada");
    edtArqSaida_ = campo("edtArqSaida");
    for (QLineEdit* e : {edtArqEntrada_, edtArqSaida_}) e->setReadOnly(true);
    BitBtnAbrir_ = botao("BitBtnAbrir", QStringLiteral("..."));
    BitBtnSalvar_ = botao("BitBtnSalvar", QStringLiteral("..."));
    BitBtnAbrir_->setToolTip(QStringLiteral("Escolher o arquivo de entrada"));
    BitBtnSalvar_->setToolTip(QStringLiteral("Escolher o arquivo de saída"));
    for (QPushButton* b : {BitBtnAbrir_, BitBtnSalvar_}) b->setFixedWidth(32);
    auto* arquivos = new QGridLayout;
    arquivos->addWidget(new QLabel(QStringLiteral("Arquivo de entrada:"), this), 0, 0);
    arquivos->addWidget(edtArqEntrada_, 0, 1);
    arquivos->addWidget(BitBtnAbrir_, 0, 2);
    arquivos->addWidget(new QLabel(QStringLiteral("Arquivo de saída:"), this), 1, 0);
    arquivos->addWidget(edtArqSaida_, 1, 1);
    arquivos->addWidget(BitBtnSalvar_, 1, 2);

    BitBtnImport_ = botao("BitBtnImport", QStringLiteral("&Importar"));
    BitBtnExport_ = botao("BitBtnExport", QStringLiteral("&Exportar"));
    QPushButton* fechar = botao("btnFechar", QStringLiteral("&Fechar"));
    QPushButton* ajuda = botao("btnAjuda", QStringLiteral("Aj&uda"));
    BitBtnExport_->setVisible(false);

    connect(RadioButtonIdrisi_, &QRadioButton::clicked, this, &TFImportExport::RadioButtonIdrisiClick);
    connect(RadioButtonSurfer_, &QRadioButton::clicked, this, &TFImportExport::RadioButtonSurferClick);
    connect(BitBtnAbrir_, &QPushButton::clicked, this, &TFImportExport::BitBtnAbrirClick);
    connect(BitBtnSalvar_, &QPushButton::clicked, this, &TFImportExport::BitBtnSalvarClick);
    connect(BitBtnImport_, &QPushButton::clicked, this, &TFImportExport::BitBtnImportClick);
    connect(BitBtnExport_, &QPushButton::clicked, this, &TFImportExport::BitBtnExportClick);
    connect(fechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(ajuda, &QPushButton::clicked, this, &TFImportExport::btnAjudaClick);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, ajuda, &QPushButton::click);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {BitBtnImport_, BitBtnExport_, fechar, ajuda}) botoes->addWidget(b);
    auto* v = new QVBoxLayout(this);
    auto* topo = new QHBoxLayout;
    topo->addWidget(gbFormato_, 1);
    topo->addWidget(gbUnidade_, 1);
    v->addLayout(topo);
    v->addWidget(gbTitulo_);
    v->addLayout(arquivos);
    v->addSpacing(10);
    v->addLayout(botoes);
}

void TFImportExport::SetDirecao(TDirecao direcao) {
    direcao_ = direcao;
    setWindowTitle(QString::fromUtf8(direcao == TDirecao::Importacao ? kLegendaImportacao : kLegendaExportacao));
}

bool TFImportExport::Importacao() const { return direcao_ == TDirecao::Importacao; }

void TFImportExport::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

void TFImportExport::FormShow() {
    RadioButtonIdrisi_->setChecked(true);
    RadioButtonMetro_->setChecked(true);
    const bool imp = Importacao();
    BitBtnImport_->setVisible(imp);
    BitBtnExport_->setVisible(!imp);
    gbFormato_->setTitle(imp ? QStringLiteral(" Importar arquivo vetor do ")
                             : QStringLiteral(" Exportar arquivo vetor para "));
    // What Idrisi chosen means: no distance unit to ask, a title to give.
    gbUnidade_->setVisible(false);
    gbTitulo_->setEnabled(true);
}

void TFImportExport::LimparCampos() {
    edtTituloArq_->clear();
    edtArqEntrada_->clear();
    edtArqSaida_->clear();
    entrada_.clear();
    saida_.clear();
}

void TFImportExport::RadioButtonIdrisiClick() {
    if (Importacao()) gbUnidade_->setVisible(false);
    gbTitulo_->setEnabled(true);
    LimparCampos();
}

void TFImportExport::RadioButtonSurferClick() {
    // A Surfer text file keeps no title; a Surfer import needs the unit it leaves out.
    if (Importacao()) gbUnidade_->setVisible(true);
    else gbTitulo_->setEnabled(false);
    LimparCampos();
}

void TFImportExport::done(int r) {
    LimparCampos();
    gbUnidade_->setVisible(false);
    QDialog::done(r);
}

void TFImportExport::btnAjudaClick() { AbrirAjuda(this, kTopicoAjuda); }

void TFImportExport::BitBtnAbrirClick() {
    const bool imp = Importacao();
    const bool idrisi = RadioButtonIdrisi_->isChecked();
    QString titulo, filtro;
    if (!imp) {
        titulo = QStringLiteral("Abrir arquivo vetor do Vandoro");
        filtro = QString::fromUtf8(kFiltroVet);
    } else if (idrisi) {
        titulo = QStringLiteral("Abrir arquivo vetor do Idrisi");
        filtro = QString::fromUtf8(kFiltroIdrisi);
    } else {
        titulo = QStringLiteral("Abrir arquivo vetor do Surfer");
        filtro = QString::fromUtf8(kFiltroSurfer);
    }
    QString nome = Dialogos().ArquivoAbrir(this, titulo, PastaDoArquivo(entrada_, pasta_), FiltroArquivos(filtro));
    if (nome.isEmpty()) return;
    // The Surfer open dialog has no default extension.
    if (imp && idrisi) nome = ComExtensaoPadrao(nome, QStringLiteral(".vec"));
    else if (!imp) nome = ComExtensaoPadrao(nome, QStringLiteral(".vet"));
    entrada_ = nome;
    edtArqEntrada_->setText(QFileInfo(nome).fileName());
    edtTituloArq_->setText(Q(imp ? TituloImportacao(S(nome)) : TituloExportacao(S(nome))));
}

void TFImportExport::BitBtnSalvarClick() {
    const bool imp = Importacao();
    const bool idrisi = RadioButtonIdrisi_->isChecked();
    QString titulo, filtro, extensao;
    if (imp) {
        titulo = QStringLiteral("Salvar arquivo vetor do Vandoro");
        filtro = QString::fromUtf8(kFiltroVet);
        extensao = QStringLiteral(".vet");
    } else if (idrisi) {
        titulo = QStringLiteral("Salvar arquivo vetor do Idrisi");
        filtro = QString::fromUtf8(kFiltroIdrisi);
        extensao = QStringLiteral(".vec");
    } else {
        titulo = QStringLiteral("Salvar arquivo vetor do Surfer");
        filtro = QString::fromUtf8(kFiltroSurferSaida);
        extensao = QStringLiteral(".txt");
    }
    QString nome = Dialogos().ArquivoSalvar(this, titulo, PastaDoArquivo(saida_, pasta_), FiltroArquivos(filtro));
    if (nome.isEmpty()) return;
    nome = ComExtensaoPadrao(nome, extensao);
    if (!PodeSubstituir(this, nome)) return;
    saida_ = nome;
    edtArqSaida_->setText(QFileInfo(nome).fileName());
}

bool TFImportExport::Verificar(bool comDocumentacao) {
    try {
        ChecaConversaoVetor(S(entrada_), S(saida_), comDocumentacao);
        return true;
    } catch (const EArquivoEntrada& e) {
        Dialogos().Erro(this, QString::fromStdString(e.what()));
        BitBtnAbrir_->setFocus();
    } catch (const std::exception& e) {
        // The output name is the one at fault (missing, or the input's own file).
        Dialogos().Erro(this, QString::fromStdString(e.what()));
        BitBtnSalvar_->setFocus();
    }
    return false;
}

void TFImportExport::Executar(const std::function<void()>& conversao, const QString& sucesso) {
    const QString legenda = windowTitle();
    struct Restaura {
        TFImportExport* d;
        QString legenda;
        ~Restaura() {
            QApplication::restoreOverrideCursor();
            d->setWindowTitle(legenda);
        }
    };
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Restaura restaura{this, legenda};
        setWindowTitle(legenda + " - Trabalhando");
        conversao();
    } catch (const std::exception& e) {
        Dialogos().Erro(this, QString::fromStdString(e.what()));
        return;
    }
    Dialogos().Informacao(this, sucesso);
}

void TFImportExport::BitBtnImportClick() {
    if (!Verificar(false)) return;
    const TFormatoVetor f = RadioButtonIdrisi_->isChecked() ? TFormatoVetor::Idrisi : TFormatoVetor::Surfer;
    const std::string titulo = S(edtTituloArq_->text());
    const std::string unidade = RadioButtonKilom_->isChecked() ? "km" : "m";
    // An Idrisi ".dvc" that does not load, or whose attributes are refused, ends the import
    // with the importer's message before anything is written.
    Executar([&] { ImportaVetor(f, S(entrada_), S(saida_), titulo, unidade); },
             QStringLiteral("Importação finalizada com sucesso."));
}

void TFImportExport::BitBtnExportClick() {
    const bool idrisi = RadioButtonIdrisi_->isChecked();
    if (!Verificar(idrisi)) return;
    const std::string titulo = S(edtTituloArq_->text());
    Executar([&] { ExportaVetor(idrisi ? TFormatoVetor::Idrisi : TFormatoVetor::Surfer, S(entrada_), S(saida_), titulo); },
             QStringLiteral("Exportação finalizada com sucesso."));
}

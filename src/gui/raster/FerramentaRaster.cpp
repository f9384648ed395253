#include "gui/raster/FerramentaRaster.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QVBoxLayout>

#include <exception>

#include "core/raster/Declividade.h"
#include "core/raster/FormatoImagem.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Dialogos.h"
#include "gui/common/ExtensaoPadrao.h"
#include "gui/common/TrabalhoComProgresso.h"

QString FiltroArquivos(const QString& filtro) {
    const QStringList partes = filtro.split('|');
    QStringList linhas;
    for (int i = 0; i + 1 < partes.size(); i += 2) {
        QString padroes = partes[i + 1];
        padroes.replace(';', ' ');
        // "Imagens do ArcView (*.asc)" already names its pattern.
        linhas << (partes[i].endsWith(')') ? partes[i] : partes[i] + " (" + padroes + ")");
    }
    return linhas.join(";;");
}

QString PastaDoArquivo(const QString& nome, const QString& padrao) {
    if (!nome.trimmed().isEmpty()) {
        const QFileInfo f(nome.trimmed());
        if (f.absoluteDir().exists()) return f.absolutePath();
    }
    return padrao;
}

bool PodeSubstituir(QWidget* pai, const QString& nome) {
    if (!QFileInfo::exists(nome)) return true;
    return Dialogos().SimNao(pai, "O arquivo '" + QFileInfo(nome).fileName() +
                                      "' já existe. Deseja substituir o arquivo existente ?");
}

TFFerramentaRaster::TFFerramentaRaster(const TDescricaoFerramenta& descricao, QWidget* pai)
    : QDialog(pai), descricao_(descricao) {
    setObjectName(descricao_.objeto);
    setWindowTitle(descricao_.legenda);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto campo = [this](const char* nome) {
        auto* e = new QLineEdit(this);
        e->setObjectName(nome);
        e->setMinimumWidth(560);
        return e;
    };
    auto botao = [this](const char* nome, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(nome);
        b->setAutoDefault(false);
        return b;
    };
    edtArqEntrada_ = campo("edtArqEntrada");
    edtArqSaida_ = campo("edtArqSaida");
    edtTitulo_ = campo("edtTitulo");
    btnAbrir_ = botao("BitBtnAbrir", QStringLiteral("..."));
    btnSalvar_ = botao("BitBtn2", QStringLiteral("..."));
    btnAbrir_->setToolTip(QStringLiteral("Escolher o arquivo de entrada"));
    btnSalvar_->setToolTip(QStringLiteral("Escolher o arquivo de saída"));
    for (QPushButton* b : {btnAbrir_, btnSalvar_}) b->setFixedWidth(32);

    grade_ = new QGridLayout;
    auto rotulo = [this](const QString& texto, QWidget* amigo) {
        auto* l = new QLabel(texto, this);
        l->setBuddy(amigo);
        return l;
    };
    grade_->addWidget(rotulo(QStringLiteral("Arquivo de &entrada:"), edtArqEntrada_), 0, 0);
    grade_->addWidget(edtArqEntrada_, 0, 1);
    grade_->addWidget(btnAbrir_, 0, 2);
    grade_->addWidget(rotulo(QStringLiteral("Arquivo de &saída:"), edtArqSaida_), 1, 0);
    grade_->addWidget(edtArqSaida_, 1, 1);
    grade_->addWidget(btnSalvar_, 1, 2);
    grade_->addWidget(rotulo(QStringLiteral("&Título:"), edtTitulo_), 2, 0);
    grade_->addWidget(edtTitulo_, 2, 1, 1, 2);

    btnCalcular_ = botao("BitBtnCalcular", QStringLiteral("&Processar"));
    btnCalcular_->setDefault(true);
    QPushButton* fechar = botao("BitBtn4", QStringLiteral("&Fechar"));
    QPushButton* ajuda = botao("BitBtn5", QStringLiteral("Aj&uda"));
    connect(btnAbrir_, &QPushButton::clicked, this, &TFFerramentaRaster::BitBtnAbrirClick);
    connect(btnSalvar_, &QPushButton::clicked, this, &TFFerramentaRaster::BitBtn2Click);
    connect(btnCalcular_, &QPushButton::clicked, this, &TFFerramentaRaster::BitBtnCalcularClick);
    connect(fechar, &QPushButton::clicked, this, &TFFerramentaRaster::BitBtn4Click);
    connect(ajuda, &QPushButton::clicked, this, &TFFerramentaRaster::BitBtn5Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, ajuda, &QPushButton::click);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnCalcular_);
    botoes->addWidget(fechar);
    botoes->addWidget(ajuda);
    auto* v = new QVBoxLayout(this);
    v->addLayout(grade_);
    v->addSpacing(10);
    v->addLayout(botoes);
}

void TFFerramentaRaster::BitBtnAbrirClick() {
    const QString nome =
        Dialogos().ArquivoAbrir(this, QStringLiteral("Abrir"), PastaDoArquivo(edtArqEntrada_->text(), pasta_),
                                Q(FiltroImagens()));
    if (nome.isEmpty() || !QFileInfo::exists(nome)) return;
    edtArqEntrada_->setText(nome);
    edtTitulo_->setText(Q(descricao_.tituloPadrao(S(nome))));
    edtTitulo_->setCursorPosition(0);  // a long title shows from its start
}

void TFFerramentaRaster::BitBtn2Click() {
    QString nome = Dialogos().ArquivoSalvar(this, QStringLiteral("Salvar"), PastaDoArquivo(edtArqSaida_->text(), pasta_),
                                            Q(FiltroImagens()));
    if (nome.isEmpty()) return;
    // ".asc": the ArcView grid every reader of the program takes.
    nome = ComExtensaoPadrao(nome, QStringLiteral(".asc"));
    if (!PodeSubstituir(this, nome)) return;
    edtArqSaida_->setText(nome);
}

void TFFerramentaRaster::BitBtn5Click() { AbrirAjuda(this, descricao_.topicoAjuda); }

void TFFerramentaRaster::done(int r) {
    edtTitulo_->clear();
    edtArqEntrada_->clear();
    edtArqSaida_->clear();
    QDialog::done(r);
}

void TFFerramentaRaster::BitBtnCalcularClick() {
    const std::string entrada = S(edtArqEntrada_->text().trimmed());
    const std::string saida = S(edtArqSaida_->text().trimmed());
    const std::string titulo = S(edtTitulo_->text());
    // Nothing is loaded before the names are right; every error but the input's is about the
    // output name, so the focus goes to its button.
    try {
        ChecaNomesEntradaSaida(entrada, saida);
        TomarParametros();
    } catch (const EArquivoEntrada& e) {
        Dialogos().Erro(this, QString::fromStdString(e.what()));
        btnAbrir_->setFocus();
        return;
    } catch (const std::exception& e) {
        Dialogos().Erro(this, QString::fromStdString(e.what()));
        btnSalvar_->setFocus();
        return;
    }

    const QString legenda = windowTitle();
    // Caption and cursor come back however the run ends.
    struct Restaura {
        TFFerramentaRaster* d;
        QString legenda;
        ~Restaura() {
            QApplication::restoreOverrideCursor();
            d->setWindowTitle(legenda);
        }
    };
    QApplication::setOverrideCursor(Qt::BusyCursor);
    try {
        Restaura restaura{this, legenda};
        TProgressoCompartilhado progresso;
        TJanelaProgresso janela(this, legenda, progresso);
        // The pass number the work puts in the caption shows on this window too.
        connect(&janela, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
        janela.Executar([&] { Calcular(entrada, saida, titulo, S(legenda), progresso); });
    } catch (const EArquivoEntrada& e) {
        Dialogos().Erro(this, QString::fromStdString(e.what()));
        btnAbrir_->setFocus();
        return;
    } catch (const EArquivoSaida& e) {
        Dialogos().Erro(this, QString::fromStdString(e.what()));
        btnSalvar_->setFocus();
        return;
    } catch (const EArquivoByte& e) {
        if (descricao_.byteEhErro)
            Dialogos().Erro(this, QString::fromStdString(e.what()));
        else
            Dialogos().Aviso(this, QString::fromStdString(e.what()));
        return;
    } catch (const ECalculoInterrompido& e) {
        Dialogos().Informacao(this, QString::fromStdString(e.what()));
        return;
    } catch (const std::exception& e) {
        Dialogos().Erro(this, QString::fromStdString(e.what()));
        return;
    }
    Dialogos().Informacao(this, descricao_.mensagemSucesso);
}

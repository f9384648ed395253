#include "gui/common/TrabalhoComProgresso.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <exception>
#include <thread>

#include "gui/common/Dialogos.h"

void TProgressoCompartilhado::SetMax(int max) {
    std::lock_guard<std::mutex> l(mutex_);
    estado_.max = max;
}

void TProgressoCompartilhado::SetPosition(int pos) {
    std::lock_guard<std::mutex> l(mutex_);
    estado_.posicao = pos;
}

void TProgressoCompartilhado::SetStatus(const std::string& text) {
    std::lock_guard<std::mutex> l(mutex_);
    estado_.status = text;
}

void TProgressoCompartilhado::SetCaption(const std::string& text) {
    std::lock_guard<std::mutex> l(mutex_);
    estado_.legenda = text;
}

void TProgressoCompartilhado::SetCount(int n) {
    std::lock_guard<std::mutex> l(mutex_);
    estado_.contagem = n;
}

TProgressoCompartilhado::TEstado TProgressoCompartilhado::Estado() const {
    std::lock_guard<std::mutex> l(mutex_);
    return estado_;
}

TJanelaProgresso::TJanelaProgresso(QWidget* pai, const QString& legenda, std::function<TLeituraProgresso()> ler,
                                   std::function<void()> cancelar)
    : QDialog(pai), ler_(std::move(ler)), aoCancelar_(std::move(cancelar)) {
    setWindowTitle(legenda);
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    rotulo_ = new QLabel(this);
    rotulo_->setMinimumWidth(360);
    barra_ = new QProgressBar(this);
    barra_->setRange(0, 100);
    cancelar_ = new QPushButton("&Cancelar", this);
    cancelar_->setObjectName("btnCancelar");
    auto* coluna = new QVBoxLayout(this);
    coluna->addWidget(rotulo_);
    coluna->addWidget(barra_);
    auto* linha = new QHBoxLayout;
    linha->addStretch();
    linha->addWidget(cancelar_);
    coluna->addLayout(linha);
    connect(cancelar_, &QPushButton::clicked, this, [this] { reject(); });
    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, [this] {
        Atualizar();
        if (terminou_.load()) accept();
    });
}

TJanelaProgresso::TJanelaProgresso(QWidget* pai, const QString& legenda, TProgressoCompartilhado& p)
    : TJanelaProgresso(
          pai, legenda,
          [&p] {
              const auto e = p.Estado();
              TLeituraProgresso l;
              l.percentual = e.max > 0 ? 100.0 * e.posicao / e.max : 0;
              l.texto = Q(e.status);
              if (!e.legenda.empty()) l.legenda = Q(e.legenda);
              return l;
          },
          [&p] { p.Parar(); }) {}

void TJanelaProgresso::Atualizar() {
    const TLeituraProgresso l = ler_();
    barra_->setValue(static_cast<int>(std::lround(std::clamp(l.percentual, 0.0, 100.0))));
    rotulo_->setText(l.texto);
    if (!l.legenda.isEmpty()) setWindowTitle(l.legenda);
}

void TJanelaProgresso::reject() {
    if (terminou_.load()) {
        QDialog::reject();
        return;
    }
    cancelado_ = true;
    cancelar_->setEnabled(false);
    if (aoCancelar_) aoCancelar_();
}

void TJanelaProgresso::Executar(const std::function<void()>& trabalho) {
    terminou_.store(false);
    cancelado_ = false;
    cancelar_->setEnabled(true);
    std::exception_ptr erro;
    std::thread worker([&] {
        try {
            trabalho();
        } catch (...) {
            erro = std::current_exception();
        }
        terminou_.store(true);
    });
    Atualizar();
    timer_->start();
    exec();
    timer_->stop();
    worker.join();
    Atualizar();
    barra_->setValue(0);
    if (erro) std::rethrow_exception(erro);
}

#pragma once
// Long work (slope, filter, terrace location) runs on a worker thread while a modal window
// on the interface thread shows its progress and offers "&Cancelar". The worker never touches
// a widget: it reports through TProgressoCompartilhado (or fields of its own that the window
// polls), and the window closes only once the worker has returned.
#include <QDialog>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "core/common/Progresso.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// An IProgresso a worker thread writes and the interface thread reads. ProcessEvents does
// nothing: the interface thread keeps its own event loop.
class TProgressoCompartilhado : public IProgresso {
public:
    struct TEstado {
        int max = 100, posicao = 0;
        std::string status, legenda;
        int contagem = 0;
    };
    void SetMax(int max) override;
    void SetPosition(int pos) override;
    void SetStatus(const std::string& text) override;
    void SetCaption(const std::string& text) override;
    void SetCount(int n) override;
    bool StopRequested() const override { return parar_.load(); }
    void Parar() { parar_.store(true); }
    TEstado Estado() const;

private:
    mutable std::mutex mutex_;
    TEstado estado_;
    std::atomic<bool> parar_{false};
};

// What the window shows on each tick.
struct TLeituraProgresso {
    double percentual = 0;  // 0-100
    QString texto;          // the label
    QString legenda;        // empty: caption unchanged
};

class TJanelaProgresso : public QDialog {
    Q_OBJECT
public:
    // 'ler' is called on every tick of the timer; 'cancelar' when the user asks to stop
    // ("&Cancelar", the close box or Esc): the window stays until the work has returned.
    TJanelaProgresso(QWidget* pai, const QString& legenda, std::function<TLeituraProgresso()> ler,
                     std::function<void()> cancelar);
    // Window for work reporting through 'p': bar = position / max, label = status.
    TJanelaProgresso(QWidget* pai, const QString& legenda, TProgressoCompartilhado& p);

    // Runs 'trabalho' on a worker thread and the window modally until it returns; an exception
    // thrown by the work is thrown again here, on the interface thread.
    void Executar(const std::function<void()>& trabalho);

    QLabel* Rotulo() const { return rotulo_; }
    QProgressBar* Barra() const { return barra_; }
    QPushButton* BotaoCancelar() const { return cancelar_; }
    bool CancelamentoPedido() const { return cancelado_; }

protected:
    void reject() override;  // Esc and the close box ask to cancel

private:
    void Atualizar();

    std::function<TLeituraProgresso()> ler_;
    std::function<void()> aoCancelar_;
    QLabel* rotulo_;
    QProgressBar* barra_;
    QPushButton* cancelar_;
    QTimer* timer_;
    std::atomic<bool> terminou_{false};
    bool cancelado_ = false;
};

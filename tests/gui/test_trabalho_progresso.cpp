// Work on a worker thread behind the progress window: the window follows the work, closes
// when it returns, passes its error on, and "&Cancelar" reaches the work.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "gui/common/TrabalhoComProgresso.h"

namespace {

TEST(TrabalhoComProgresso, ShowsTheWorkAndClosesWhenItReturns) {
    TProgressoCompartilhado p;
    TJanelaProgresso janela(nullptr, "Declividade", p);
    QString visto;
    int barraVista = -1;
    janela.Executar([&] {
        p.SetMax(4);
        p.SetPosition(3);
        p.SetStatus("Calculando declividade");
        p.SetCaption("Declividade - Processando filtro número 1");
        // Long enough for a few ticks of the timer.
        std::this_thread::sleep_for(std::chrono::milliseconds(350));
    });
    visto = janela.Rotulo()->text();
    barraVista = janela.Barra()->value();
    EXPECT_EQ(visto, "Calculando declividade");
    EXPECT_EQ(janela.windowTitle(), "Declividade - Processando filtro número 1");
    EXPECT_EQ(barraVista, 0);  // reset on closing
    EXPECT_FALSE(janela.isVisible());
    EXPECT_FALSE(janela.CancelamentoPedido());
}

TEST(TrabalhoComProgresso, AnErrorOfTheWorkIsRaisedOnTheInterfaceThread) {
    TProgressoCompartilhado p;
    TJanelaProgresso janela(nullptr, "x", p);
    EXPECT_THROW(janela.Executar([] { throw std::runtime_error("falhou"); }), std::runtime_error);
    EXPECT_FALSE(janela.isVisible());
}

TEST(TrabalhoComProgresso, CancelReachesTheWorkAndTheWindowWaitsForIt) {
    TProgressoCompartilhado p;
    TJanelaProgresso janela(nullptr, "x", p);
    std::atomic<bool> viuParar{false}, voltou{false};
    QTimer::singleShot(200, &janela, [&] {
        EXPECT_TRUE(janela.isVisible());
        QTest::mouseClick(janela.BotaoCancelar(), Qt::LeftButton);
        // Still open: the work has not returned yet.
        EXPECT_TRUE(janela.isVisible());
        EXPECT_FALSE(janela.BotaoCancelar()->isEnabled());
    });
    janela.Executar([&] {
        while (!p.StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        viuParar = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        voltou = true;
    });
    EXPECT_TRUE(viuParar);
    EXPECT_TRUE(voltou);
    EXPECT_TRUE(janela.CancelamentoPedido());
}

}  // namespace

#pragma once
// The program's application object. Its one job beyond QApplication: no error that reaches
// the event loop ends the program. An EVandoro or any other exception thrown by a slot or
// an event handler becomes the error box of the dialog service and the program goes on.
#include <QApplication>

#include <functional>

class TAplicacao : public QApplication {
public:
    TAplicacao(int& argc, char** argv);
    bool notify(QObject* destino, QEvent* evento) override;
};

// Loads Qt's own Brazilian Portuguese texts (file and print dialogs, "Sim"/"Não" buttons)
// from Qt's translations folder. False when they are not installed: Qt then speaks English.
bool CarregarTraducoesQt(QApplication& app);

// What the program and its screenshot tool set up alike before the first window: Qt's
// Portuguese texts, the application's name and version, and the user's separators and date
// formats taken from the locale.
void PrepararPrograma(QApplication& app);

// Runs a user's action called directly (a button's handler, a page's callback): whatever it
// raises ends in the same error box as the application's net, over 'janela', and the window
// goes on.
void Protegido(QWidget* janela, const std::function<void()>& trabalho);

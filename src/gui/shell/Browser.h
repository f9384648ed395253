#pragma once
// The document browser component: shows an HTML page of the program in its own modal window.
#include <QString>

class QWidget;

class TBrowser {
public:
    explicit TBrowser(QWidget* pai = nullptr) : pai_(pai) {}
    int HelpContext = 0;     // help topic of the window
    bool ShowAbout = false;  // whether "Sobre" is offered
    // Opens 'caminho' modally; true when the window closed with OK.
    bool show(const QString& caminho);

private:
    QWidget* pai_;
};

#include "gui/common/Aplicacao.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

#include <cstdlib>
#include <exception>
#include <new>

#include "core/common/Regional.h"
#include "core/common/Versao.h"
#include "gui/common/Dialogos.h"

namespace {

// The box belongs to what the user is looking at: a modal dialog, else the active window.
QWidget* PaiDaCaixa() {
    if (QWidget* m = QApplication::activeModalWidget()) return m;
    return QApplication::activeWindow();
}

// The exception being handled, as the user reads it; called inside a catch block.
QString TextoDoErroAtual() {
    try {
        throw;
    } catch (const std::bad_alloc&) {  // its own text is English and says nothing to the user
        return QStringLiteral("Memória insuficiente para esta operação. A operação foi interrompida.");
    } catch (const std::exception& e) {  // EVandoro among them: its text is the message
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Ocorreu um erro inesperado. A operação foi interrompida.");
    }
}

void MostrarErroAtual(QWidget* pai) {
    const QString texto = TextoDoErroAtual();
    // A box that fails itself must not take the program with it.
    try {
        Dialogos().Erro(pai, texto);
    } catch (...) {
    }
}

}  // namespace

TAplicacao::TAplicacao(int& argc, char** argv) : QApplication(argc, argv) {}

bool TAplicacao::notify(QObject* destino, QEvent* evento) {
    try {
        return QApplication::notify(destino, evento);
    } catch (...) {
        MostrarErroAtual(PaiDaCaixa());
    }
    return false;
}

void Protegido(QWidget* janela, const std::function<void()>& trabalho) {
    try {
        trabalho();
    } catch (...) {
        MostrarErroAtual(janela);
    }
}

bool CarregarTraducoesQt(QApplication& app) {
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qtbase holds every dialog the program shows (file, print, page set-up, message boxes);
    // qt_pt_BR would only load it again with modules the program does not use.
    auto* t = new QTranslator(&app);
    if (!t->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"), pasta)) {
        delete t;
        return false;
    }
    app.installTranslator(t);
    return true;
}

void PrepararPrograma(QApplication& app) {
    CarregarTraducoesQt(app);
    // The application's name, not its display name: Qt appends a display name to every
    // window caption, and the captions already carry the title.
    QApplication::setApplicationName(QStringLiteral("Vandoro 4.1"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVersao));

    const char* lc = std::getenv("LC_ALL");
    if (!lc || !*lc) lc = std::getenv("LC_NUMERIC");
    if (!lc || !*lc) lc = std::getenv("LANG");
    Regional::SetCurrent(Regional::FromLocaleName(lc ? lc : ""));
}

#include "shell/Browser.h"

#include <QDialog>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "common/Dialogos.h"

bool TBrowser::show(const QString& caminho) {
    QDialog d(pai_);
    auto* v = new QVBoxLayout(&d);
    auto* html = new QTextBrowser(&d);
    html->setSource(QUrl::fromLocalFile(caminho));
    v->addWidget(html);
    d.setWindowTitle(html->documentTitle());
    return Dialogos().Executar(d) == QDialog::Accepted;
}

#include "telas/TelasPdf.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// The command line as a user runs it where there is no desktop: no display of any kind.
bool RodarSemTela(const QString& cli, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(v));
    p.setProcessEnvironment(env);
    p.start(cli, args);
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok) std::fprintf(stderr, "vandoro-telas: %s\n", p.readAllStandardError().constData());
    return ok;
}

void Paginas(const QString& pdf, const QString& prefixo) {
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
                                                    pdf, prefixo});
}

}  // namespace

void TelasPdf(const QString& pastaPrograma, const QString& pastaSaida) {
    const QString cli = pastaPrograma + QStringLiteral("vandoro-cli");
    const QString exemplos = pastaPrograma + QStringLiteral("Exemplos/");
    const QDir saida(pastaSaida);
    QTemporaryDir temp;
    if (!temp.isValid()) return;
    for (const char* f : {"Locacao em nivel.kzp", "Locacao com gradiente.kzp", "hugo_site_2m.flt", "hugo_site_2m.hdr",
                          "hugo_site_2m.prj", "hugo_site_2m_declividade.flt", "hugo_site_2m_declividade.hdr",
                          "hugo_site_2m_declividade.prj", "hugo_site_2m_escoadouro.vet"})
        QFile::copy(exemplos + QString::fromLatin1(f), temp.filePath(QString::fromLatin1(f)));
    const struct {
        const char* projeto;
        const char* nome;
    } locacoes[] = {{"Locacao em nivel.kzp", "locar-pdf"}, {"Locacao com gradiente.kzp", "locar-gradiente-pdf"}};
    for (const auto& l : locacoes) {
        const QString pdf = saida.absoluteFilePath(QString::fromLatin1(l.nome) + QStringLiteral(".pdf"));
        if (RodarSemTela(cli, {QStringLiteral("locar"), temp.filePath(QString::fromLatin1(l.projeto)),
                               QStringLiteral("--saida"), temp.filePath(QString::fromLatin1(l.nome) + QStringLiteral(".vet")),
                               QStringLiteral("--relatorio"), pdf}))
            Paginas(pdf, saida.absoluteFilePath(QString::fromLatin1(l.nome)));
    }
    const QString pdf = saida.absoluteFilePath(QStringLiteral("dimensionar-pdf.pdf"));
    if (RodarSemTela(cli, {QStringLiteral("dimensionar"), exemplos + QStringLiteral("Terraco em nivel.kzp"),
                           QStringLiteral("--relatorio"), pdf}))
        Paginas(pdf, saida.absoluteFilePath(QStringLiteral("dimensionar-pdf")));
}

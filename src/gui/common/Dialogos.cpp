#include "gui/common/Dialogos.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QString Titulo() {
    const QString t = QApplication::applicationDisplayName();
    return t.isEmpty() ? QStringLiteral("Vandoro 4.1") : t;
}

class TDialogosReais : public TServicoDialogos {
public:
    TResposta SimNaoCancelar(QWidget* pai, const QString& texto) override {
        const auto r = QMessageBox::question(pai, Titulo(), texto,
                                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        return r == QMessageBox::Yes ? TResposta::Sim : r == QMessageBox::No ? TResposta::Nao : TResposta::Cancelar;
    }
    bool SimNao(QWidget* pai, const QString& texto) override {
        return QMessageBox::question(pai, Titulo(), texto, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
               QMessageBox::Yes;
    }
    void Erro(QWidget* pai, const QString& texto) override { QMessageBox::critical(pai, Titulo(), texto); }
    void ErroDetalhado(QWidget* pai, const QString& texto, const QString& detalhe) override {
        QMessageBox caixa(QMessageBox::Critical, Titulo(), texto, QMessageBox::Ok, pai);
        caixa.setDetailedText(detalhe);
        caixa.exec();
    }
    void Aviso(QWidget* pai, const QString& texto) override { QMessageBox::warning(pai, Titulo(), texto); }
    void Informacao(QWidget* pai, const QString& texto) override { QMessageBox::information(pai, Titulo(), texto); }
    QString ArquivoAbrir(QWidget* pai, const QString& titulo, const QString& inicial, const QString& filtro) override {
        const QString r = QFileDialog::getOpenFileName(pai, titulo, InicioDialogoArquivo(filtro, inicial), filtro);
        LembrarPastaDialogo(filtro, r);
        return r;
    }
    QString ArquivoSalvar(QWidget* pai, const QString& titulo, const QString& inicial, const QString& filtro) override {
        // The program asks before writing over a file itself, with its own words.
        const QString r = QFileDialog::getSaveFileName(pai, titulo, InicioDialogoArquivo(filtro, inicial), filtro,
                                                       nullptr, QFileDialog::DontConfirmOverwrite);
        LembrarPastaDialogo(filtro, r);
        return r;
    }
    bool Imprimir(QWidget* pai, QPrinter& impressora) override {
        QPrintDialog d(&impressora, pai);
        return d.exec() == QDialog::Accepted;
    }
    bool ConfigurarImpressora(QWidget* pai, QPrinter& impressora) override {
        QPageSetupDialog d(&impressora, pai);
        return d.exec() == QDialog::Accepted;
    }
    int Executar(QDialog& dialogo) override { return dialogo.exec(); }
};

QHash<QString, QString>& PastasPorTipo() {
    static QHash<QString, QString> pastas;
    return pastas;
}

TDialogosReais reais;
TServicoDialogos* atual = &reais;

// Core filters come as "*.kzp|*.kzp" pairs; Qt wants "Name (*.kzp)" lines.
QString FiltroQt(const std::string& filtro) {
    if (filtro == "*.kzp|*.kzp" || filtro.empty()) return QStringLiteral("Projetos do Vandoro (*.kzp)");
    const QStringList partes = Q(filtro).split('|');
    QStringList linhas;
    for (int i = 0; i + 1 < partes.size(); i += 2) linhas << partes[i] + " (" + partes[i + 1] + ")";
    return linhas.join(";;");
}

QString Inicial(const TDialogoArquivo& dlg) {
    if (dlg.NomeArquivo.empty()) return Q(dlg.PastaInicial);
    if (dlg.PastaInicial.empty() || dlg.NomeArquivo.find('/') != std::string::npos) return Q(dlg.NomeArquivo);
    return Q(dlg.PastaInicial + "/" + dlg.NomeArquivo);
}

}  // namespace

QString InicioDialogoArquivo(const QString& filtro, const QString& inicial) {
    const QString pasta = PastasPorTipo().value(filtro);
    if (pasta.isEmpty()) return inicial;
    if (inicial.isEmpty() || QFileInfo(inicial).isDir()) return pasta;
    if (!inicial.contains('/')) return pasta + '/' + inicial;
    return inicial;
}

void LembrarPastaDialogo(const QString& filtro, const QString& escolhido) {
    if (escolhido.isEmpty()) return;
    PastasPorTipo().insert(filtro, QFileInfo(escolhido).absolutePath());
}

TServicoDialogos& Dialogos() { return *atual; }
void InstalarDialogos(TServicoDialogos* s) { atual = s ? s : &reais; }

TResposta TDialogosProjetoQt::PerguntarSimNaoCancelar(const std::string& texto) {
    return Dialogos().SimNaoCancelar(pai_, Q(texto));
}
bool TDialogosProjetoQt::PerguntarSimNao(const std::string& texto) { return Dialogos().SimNao(pai_, Q(texto)); }
bool TDialogosProjetoQt::EscolherArquivoAbrir(const TDialogoArquivo& dlg, std::string& caminho) {
    const QString r = Dialogos().ArquivoAbrir(pai_, Q(dlg.Titulo), Inicial(dlg), FiltroQt(dlg.Filtro));
    if (r.isEmpty()) return false;
    caminho = S(r);
    return true;
}
bool TDialogosProjetoQt::EscolherArquivoSalvar(const TDialogoArquivo& dlg, std::string& caminho) {
    const QString r = Dialogos().ArquivoSalvar(pai_, Q(dlg.Titulo), Inicial(dlg), FiltroQt(dlg.Filtro));
    if (r.isEmpty()) return false;
    caminho = S(r);
    return true;
}
void TDialogosProjetoQt::MostrarErro(const std::string& texto) { Dialogos().Erro(pai_, Q(texto)); }
void TDialogosProjetoQt::MostrarInformacao(const std::string& texto) { Dialogos().Informacao(pai_, Q(texto)); }

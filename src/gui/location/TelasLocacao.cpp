#include "location/TelasLocacao.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "common/TrabalhoComProgresso.h"
#include "location/FrmLocacao.h"
#include "shell/Principal.h"
#include "shell/Telas.h"

void TelasLocacao(TFPrincipal& w, const std::function<void(QWidget&, const QString&)>& gravar,
                  const std::function<void(const QString&)>& proximo) {
    // A copy of the example in a scratch folder: the run writes beside the project, and the
    // shipped example stays as it is.
    QTemporaryDir temp;
    const QString exemplos = w.PastaPrograma() + "Exemplos/";
    for (const char* f : {"Locacao em nivel.kzp", "hugo_site_2m.flt", "hugo_site_2m.hdr", "hugo_site_2m_declividade.flt",
                          "hugo_site_2m_declividade.hdr"})
        QFile::copy(exemplos + f, temp.filePath(QString::fromUtf8(f)));
    if (!w.AbrirArquivo(temp.filePath(QStringLiteral("Locacao em nivel.kzp")))) return;
    w.Locacao();
    auto* j = dynamic_cast<TfrmLocacao*>(w.JanelaModulo(QStringLiteral("Locacao")));
    if (!j) return;
    Esperar(300);
    gravar(w, QStringLiteral("locacao_precipitacao"));
    j->AbrirSecao(QStringLiteral("Terreno"));
    Esperar(200);
    gravar(w, QStringLiteral("locacao_terreno"));
    bool fotografado = false;
    j->AoIniciarExecucao = [&](TJanelaProgresso& p) {
        QTimer::singleShot(0, &p, [&] {
            if (fotografado) return;
            fotografado = true;
            gravar(p, QStringLiteral("locacao_progresso"));
            proximo(QStringLiteral("locacao_relatorio"));
        });
    };
    j->btnProcessarClick();
    j->AoIniciarExecucao = nullptr;
    Esperar(300);
    gravar(w, QStringLiteral("locacao_resultados"));
    w.GerenteSis1().SetAlterado(false);
}
